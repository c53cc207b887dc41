// The chord's menu opens at the chord's own screen point, on any monitor: turned into the
// program's coordinates where the system can do that for a program aware of the system DPI
// only, taken as it is by one aware of each monitor's, which counts in the hook's pixels.
#include "triggers/mouse_chord.h"

#include "hook/hook_library.h"
#include "hook_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace {

// A display scaled to 125 %: physical pixels are 5/4 of the program's.
BOOL WINAPI ScaledBy125(HWND, POINT* point)
{
    point->x = point->x * 4 / 5;
    point->y = point->y * 4 / 5;
    return TRUE;
}

BOOL WINAPI Refuses(HWND, POINT* point)
{
    point->x = point->y = 12345;   // what it leaves behind is not to be used
    return FALSE;
}

// And a menu that ends in an error leaves the chord ready too.
TEST(MouseChordTest, TheMenuOpensAtTheChordsPointInTheProgramsCoordinates)
{
    FakeHook hook;
    const HWND owner =
        CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const struct {
        POINT chord;
        PhysicalToLogicalPointFunction toLogical;
        POINT menu;
        bool perMonitorAware = false;
    } cases[] = {
        {{300, 200}, nullptr, {300, 200}},         // a Windows without the conversion
        {{-1500, -200}, nullptr, {-1500, -200}},   // a monitor left of and above the primary one
        {{-40, 900}, nullptr, {-40, 900}},         // left of and below: x and y of opposite signs
        {{1500, 750}, ScaledBy125, {1200, 600}},
        {{-1250, -250}, ScaledBy125, {-1000, -200}},
        {{640, 480}, Refuses, {640, 480}},
        {{1500, 750}, ScaledBy125, {1500, 750}, true},
        {{-1250, -250}, ScaledBy125, {-1250, -250}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chord.x << "," << c.chord.y);
        FakeHook::record = MSG{};
        FakeHook::record.pt = c.chord;
        FakeHook::record.lParam = MAKELPARAM(5, 5);   // an offset from the foreground window: not used
        bool ready = true, readyWhileOpen = true;
        POINT opened{-1, -1};
        HWND foregroundWhileOpen = nullptr;
        MouseChord(7, ready,
                   {owner,
                    [&](POINT at) {
                        opened = at;
                        readyWhileOpen = ready;
                        foregroundWhileOpen = GetForegroundWindow();
                    },
                    c.toLogical, c.perMonitorAware});
        EXPECT_EQ(std::make_pair(c.menu.x, c.menu.y), std::make_pair(opened.x, opened.y));
        EXPECT_FALSE(readyWhileOpen);
        EXPECT_EQ(owner, foregroundWhileOpen);
        EXPECT_TRUE(ready);
    }

    FakeHook::fetches = 0;
    bool ready = true;
    EXPECT_THROW(MouseChord(7, ready, {owner, [](POINT) { throw std::runtime_error("menu"); }, nullptr}),
                 std::runtime_error);
    EXPECT_TRUE(ready);
    EXPECT_EQ(1, FakeHook::fetches);
    DestroyWindow(owner);
}

}   // namespace
