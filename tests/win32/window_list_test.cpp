// The window walk and the switch to a listed window, on windows the tests make themselves.
// The walk runs over the children of a private parent window, so that the windows of other
// programs on the desktop cannot change what it finds.
#include "framework/handles.h"
#include "framework/icon_pictures.h"
#include "framework/image_list.h"
#include "solid_icon.h"
#include "win32_test_support.h"
#include "windowlist/task_switch.h"
#include "windowlist/window_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The colour most pixels of the list's image have, for telling the test icons apart.
COLORREF MainColor(const ImageList& images, int index)
{
    UniqueBitmap bitmap(images.CreateBitmap(index));
    if (!bitmap) {
        return CLR_INVALID;
    }
    DIBSECTION dib{};
    GetObjectA(bitmap.Get(), sizeof dib, &dib);
    const auto* pixels = static_cast<const DWORD*>(dib.dsBm.bmBits);
    DWORD centre = pixels[images.Height() / 2 * images.Width() + images.Width() / 2];
    return RGB((centre >> 16) & 0xFF, (centre >> 8) & 0xFF, centre & 0xFF);
}

int OpaquePixels(const ImageList& images, int index)
{
    UniqueBitmap bitmap(images.CreateBitmap(index));
    DIBSECTION dib{};
    GetObjectA(bitmap.Get(), sizeof dib, &dib);
    const auto* pixels = static_cast<const DWORD*>(dib.dsBm.bmBits);
    int n = 0;
    for (int i = 0; i < images.Width() * images.Height(); ++i) {
        n += (pixels[i] >> 24) != 0;
    }
    return n;
}

// One window class per icon colour, and one without an icon.
struct TestClass {
    const char* name;
    HICON icon;   // owned by the class for the whole test program
};

const TestClass& RedClass()
{
    static const TestClass c{"WindowListRed", SolidIcon(kRed)};
    return c;
}
const TestClass& BlueClass()
{
    static const TestClass c{"WindowListBlue", SolidIcon(kBlue)};
    return c;
}
const TestClass& PlainClass()
{
    static const TestClass c{"WindowListPlain", nullptr};
    return c;
}

void Register(const TestClass& c)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = c.icon;
    wc.lpszClassName = c.name;
    RegisterClassA(&wc);
}

class WindowWalkTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Register(RedClass());
        Register(BlueClass());
        Register(PlainClass());
    }

    void SetUp() override
    {
        // Shown, so that shown children count as visible, but far off the screen.
        parent_.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, PlainClass().name, "parent", WS_POPUP, -4000, -4000,
                                      100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(parent_);
        ShowWindow(parent_.Get(), SW_SHOWNOACTIVATE);
    }

    // A child at the bottom of the Z order, so that the walk meets them in creation order.
    HWND Child(const TestClass& c, const std::string& title, bool visible)
    {
        DWORD style = WS_CHILD | (visible ? WS_VISIBLE : 0);
        HWND child = CreateWindowExA(0, c.name, title.c_str(), style, 0, 0, 10, 10, parent_.Get(), nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(nullptr, child);
        SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return child;
    }

    std::vector<TaskWindow> Walk(const std::vector<HWND>& own = {})
    {
        std::vector<TaskWindow> listed;
        ResetTaskPictures(images_);
        WalkWindows(parent_.Get(), images_, pictures_, own,
                    [&](const TaskWindow& w) { listed.push_back(w); });
        return listed;
    }

    UniqueWindow parent_;
    ImageList images_{nullptr};
    IconPictures pictures_;
};

TEST_F(WindowWalkTest, EveryVisitedWindowWithAClassIconTakesAnEntryWhetherListedOrNot)
{
    Child(RedClass(), "Alpha", true);             // 2, listed
    Child(RedClass(), "hidden", false);           // 3
    Child(BlueClass(), "", true);                 // 4: no title
    Child(BlueClass(), "Beta", true);             // 5, listed
    HWND own = Child(RedClass(), "ours", true);   // 6: one of the program's own
    for (int i = 0; i < 4; ++i) {
        Child(RedClass(), "hidden " + std::to_string(i), false);   // 7 to 10
    }
    Child(BlueClass(), "Gamma", true);    // 11, listed
    Child(PlainClass(), "Plain", true);   // no icon: listed without a picture

    std::vector<TaskWindow> listed = Walk({own});

    ASSERT_EQ(4u, listed.size());
    EXPECT_EQ("Alpha", listed[0].title);
    EXPECT_EQ("WindowListRed", listed[0].className);
    EXPECT_EQ(2, listed[0].imageIndex);
    EXPECT_EQ("Beta", listed[1].title);
    EXPECT_EQ("WindowListBlue", listed[1].className);
    EXPECT_EQ(5, listed[1].imageIndex);
    EXPECT_EQ("Gamma", listed[2].title);
    EXPECT_EQ(11, listed[2].imageIndex);
    EXPECT_EQ("Plain", listed[3].title);
    EXPECT_EQ("WindowListPlain", listed[3].className);
    EXPECT_EQ(-1, listed[3].imageIndex);
    // Whatever is appended next, the launcher's icons, starts at 12.
    EXPECT_EQ(12, images_.Count());

    // The entries are the classes' icons, copied.
    EXPECT_EQ(kRed, MainColor(images_, 2));
    EXPECT_EQ(kBlue, MainColor(images_, 5));
    EXPECT_EQ(kBlue, MainColor(images_, 11));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(RedClass().icon, &info)) << "the class's own icon was destroyed";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(WindowWalkTest, EveryWalkStartsAgainFromTheProgramsTwoPictures)
{
    Child(RedClass(), "Alpha", true);
    Walk();
    ASSERT_EQ(3, images_.Count());
    UniqueIcon extra(SolidIcon(kBlue));
    images_.AddIcon(extra.Get());

    Walk();
    EXPECT_EQ(3, images_.Count());
    EXPECT_EQ(kRed, MainColor(images_, 2));
    // The folder and the window pictures, small images from the program's own icons.
    EXPECT_GT(OpaquePixels(images_, kFolderPicture), 16 * 16 / 4);
    EXPECT_GT(OpaquePixels(images_, kWindowPicture), 16 * 16 / 4);
    EXPECT_NE(MainColor(images_, kFolderPicture), MainColor(images_, kWindowPicture));

    // A list of another size (DPI) gets every picture at its size, none kept from walks before.
    images_.SetSize(24, 24);
    Walk();
    for (int index : {kFolderPicture, kWindowPicture, 2}) {
        EXPECT_GT(OpaquePixels(images_, index), 24 * 24 / 4) << index;
    }
}

TEST_F(WindowWalkTest, AClassThatTakesAnotherIconShowsItAtTheNextWalk)
{
    HWND window = Child(RedClass(), "Alpha", true);
    Walk();
    ASSERT_EQ(kRed, MainColor(images_, 2));
    UniqueIcon green(SolidIcon(RGB(0, 255, 0)));
    SetClassLongPtrA(window, GCL_HICON, reinterpret_cast<LONG_PTR>(green.Get()));
    Walk();
    EXPECT_EQ(RGB(0, 255, 0), MainColor(images_, 2));
    SetClassLongPtrA(window, GCL_HICON, reinterpret_cast<LONG_PTR>(RedClass().icon));
    Walk();
    EXPECT_EQ(kRed, MainColor(images_, 2));
}

TEST_F(WindowWalkTest, AWindowWithAChildOfItsOwnIsListedOnce)
{
    HWND outer = Child(RedClass(), "Outer", true);
    CreateWindowExA(0, BlueClass().name, "Inner", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, outer, nullptr,
                    GetModuleHandleA(nullptr), nullptr);
    std::vector<TaskWindow> listed = Walk();
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ("Outer", listed[0].title);
    EXPECT_EQ(3, images_.Count());
}

TEST_F(WindowWalkTest, LongTitlesArriveCutTo255Bytes)
{
    std::string title(300, 'x');
    title.replace(250, 10, "0123456789");
    Child(PlainClass(), title, true);
    std::vector<TaskWindow> listed = Walk();
    ASSERT_EQ(1u, listed.size());
    EXPECT_EQ(title.substr(0, 255), listed[0].title);
}

// A 16 x 16 icon of one colour and alpha whose mask clears its three left columns.
HICON MaskedIcon(DWORD argb)
{
    const std::vector<DWORD> colour(16 * 16, argb);
    BYTE mask[16][2];
    for (auto& row : mask) {
        row[0] = 0xE0, row[1] = 0;
    }
    return CreateIcon(nullptr, 16, 16, 1, 32, &mask[0][0], reinterpret_cast<const BYTE*>(colour.data()));
}

TEST(ImagePicturesTest, PicturesAddedAtOnceShowAsTheIconsAddedOneByOne)
{
    const auto drawn = [](const ImageList& images, int index) {
        UniqueBitmap bitmap(images.CreateBitmap(index));
        DIBSECTION dib{};
        GetObjectA(bitmap.Get(), sizeof dib, &dib);
        const auto* pixels = static_cast<const DWORD*>(dib.dsBm.bmBits);
        return pixels ? std::vector<DWORD>(pixels, pixels + 16 * 16) : std::vector<DWORD>();
    };
    // Opaque; without alpha, so that the mask decides; half transparent; drawn smaller.
    const UniqueIcon icons[] = {UniqueIcon(SolidIcon(kRed)), UniqueIcon(MaskedIcon(0x000000FF)),
                                UniqueIcon(MaskedIcon(0x80FF8000)), UniqueIcon(SolidIcon(kBlue, 32))};
    ImageList direct(nullptr);
    ImageList pictured(nullptr);
    std::vector<Picture> pictures;
    for (const UniqueIcon& icon : icons) {
        direct.AddIcon(icon.Get());
        pictures.push_back(pictured.ReadPicture(icon.Get()).value_or(Picture{}));
    }
    EXPECT_EQ(0, pictured.AddPictures({&pictures[0], &pictures[1], &pictures[2], &pictures[3]}));
    ASSERT_EQ(4, pictured.Count());
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(drawn(pictured, i).empty()) << i;
        EXPECT_EQ(drawn(direct, i), drawn(pictured, i)) << i;
    }
    EXPECT_EQ(0u, drawn(pictured, 1)[16 * 8 + 2] >> 24) << "the masked columns stay clear";
    EXPECT_FALSE(pictured.ReadPicture(nullptr));
    EXPECT_EQ(-1, pictured.AddPictures({}));
}

// Top-level windows of their own class, so that the search by class and title finds them and
// nothing else on the desktop.
class TaskSwitchTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TaskSwitchTarget";
        RegisterClassA(&wc);
        // Shared by the tests: without a window manager, destroying a window that was active
        // makes Wine wait for a state change that never comes.
        target_ = CreateWindowExA(0, "TaskSwitchTarget", "switch target", WS_OVERLAPPEDWINDOW, 100, 80, 300,
                                  200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        other_ = CreateWindowExA(0, "TaskSwitchTarget", "other window", WS_OVERLAPPEDWINDOW, 150, 120, 300,
                                 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(target_);
        DestroyWindow(other_);
    }

    inline static HWND target_ = nullptr;
    inline static HWND other_ = nullptr;
};

TEST_F(TaskSwitchTest, AMaximisedWindowComesBackAtItsNormalSizeInFront)
{
    ShowWindow(target_, SW_SHOWMAXIMIZED);
    ShowWindow(other_, SW_SHOWNORMAL);
    SetForegroundWindow(other_);
    ASSERT_TRUE(IsZoomed(target_));
    ASSERT_EQ(other_, GetForegroundWindow());

    EXPECT_TRUE(SwitchToWindow("TaskSwitchTarget", "switch target"));
    EXPECT_FALSE(IsZoomed(target_));
    EXPECT_FALSE(IsIconic(target_));
    RECT r{};
    GetWindowRect(target_, &r);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(80, r.top);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_EQ(target_, GetForegroundWindow());
}

TEST_F(TaskSwitchTest, AMinimisedWindowIsRestored)
{
    ShowWindow(target_, SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(target_));
    EXPECT_TRUE(SwitchToWindow("TaskSwitchTarget", "switch target"));
    EXPECT_FALSE(IsIconic(target_));
    EXPECT_TRUE(IsWindowVisible(target_));
}

TEST_F(TaskSwitchTest, AWindowThatIsGoneOrRenamedIsNotFound)
{
    ShowWindow(other_, SW_SHOWNORMAL);
    SetForegroundWindow(other_);
    EXPECT_FALSE(SwitchToWindow("TaskSwitchTarget", "switch targe"));
    EXPECT_FALSE(SwitchToWindow("NoSuchClassHere", "switch target"));
    EXPECT_EQ(other_, GetForegroundWindow());
}

}   // namespace
