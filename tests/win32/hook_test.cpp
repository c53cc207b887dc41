// HOOK.DLL: its ordinal-only exports and imports, and the installed hook driven by injected
// mouse input. The chord filter itself is tested natively (tests/unit).
#include "hook/chord_offset.h"
#include "hook/hook_library.h"
#include "win32_test_support.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <future>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// The program's own reading of the record's lParam: the two sides must agree.
static std::pair<int, int> Split(std::int32_t v)
{
    ChordOffset offset = SplitChordOffset(v);
    return {offset.x, offset.y};
}

static std::pair<int, int> Offset(long x, long y)
{
    return {static_cast<int>(x), static_cast<int>(y)};
}

// --- Export and import tables ------------------------------------------------------------

struct LoadedLibrary {
    HMODULE handle = LoadLibraryA("HOOK.DLL");
    ~LoadedLibrary()
    {
        if (handle != nullptr) {
            FreeLibrary(handle);
        }
    }
};

template <typename T>
static const T* At(HMODULE module, DWORD rva)
{
    return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module) + rva);
}

static const IMAGE_DATA_DIRECTORY& Directory(HMODULE module, int entry)
{
    const auto* dos = At<IMAGE_DOS_HEADER>(module, 0);
    const auto* nt = At<IMAGE_NT_HEADERS32>(module, dos->e_lfanew);
    return nt->OptionalHeader.DataDirectory[entry];
}

TEST(HookExportsTest, OnlyOrdinalsTwoToFourAndNoNames)
{
    LoadedLibrary library;
    ASSERT_NE(library.handle, nullptr) << "LoadLibraryA error " << GetLastError();

    for (WORD ordinal : {2, 3, 4}) {
        EXPECT_NE(GetProcAddress(library.handle, MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
    }
    for (WORD ordinal : {1, 5}) {
        EXPECT_EQ(GetProcAddress(library.handle, MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
    }
    for (const char* name :
         {"InstallHook", "RemoveHook", "GetHookMessage", "InstallHook@4", "_InstallHook@4", "DllMain"}) {
        EXPECT_EQ(GetProcAddress(library.handle, name), nullptr) << name;
    }

    const IMAGE_DATA_DIRECTORY& entry = Directory(library.handle, IMAGE_DIRECTORY_ENTRY_EXPORT);
    ASSERT_NE(entry.VirtualAddress, 0u);
    const auto* exports = At<IMAGE_EXPORT_DIRECTORY>(library.handle, entry.VirtualAddress);
    EXPECT_EQ(exports->NumberOfNames, 0u);
    EXPECT_EQ(exports->Base, 2u);
    EXPECT_EQ(exports->NumberOfFunctions, 3u);
    EXPECT_STREQ(At<char>(library.handle, exports->Name), "HOOK.DLL");
}

// What the program links (hook_import) must import ordinals 2, 3 and 4 from "HOOK.DLL" and
// no names; this test program links it the same way.
TEST(HookExportsTest, ProgramImportsByOrdinalFromHookDll)
{
    const HMODULE self = GetModuleHandleA(nullptr);
    const IMAGE_DATA_DIRECTORY& entry = Directory(self, IMAGE_DIRECTORY_ENTRY_IMPORT);
    ASSERT_NE(entry.VirtualAddress, 0u);

    std::set<WORD> ordinals;
    bool found = false;
    for (const auto* import = At<IMAGE_IMPORT_DESCRIPTOR>(self, entry.VirtualAddress); import->Name != 0;
         ++import) {
        if (std::strcmp(At<char>(self, import->Name), "HOOK.DLL") != 0) {
            continue;
        }
        found = true;
        const DWORD lookup =
            import->OriginalFirstThunk != 0 ? import->OriginalFirstThunk : import->FirstThunk;
        for (const auto* thunk = At<IMAGE_THUNK_DATA32>(self, lookup); thunk->u1.Ordinal != 0; ++thunk) {
            EXPECT_TRUE(IMAGE_SNAP_BY_ORDINAL32(thunk->u1.Ordinal)) << "an import by name";
            ordinals.insert(static_cast<WORD>(IMAGE_ORDINAL32(thunk->u1.Ordinal)));
        }
    }
    ASSERT_TRUE(found) << "no import descriptor named exactly HOOK.DLL";
    EXPECT_EQ(ordinals, (std::set<WORD>{2, 3, 4}));
}

// --- The installed hook --------------------------------------------------------------------

// What a window saw: a mouse message at its screen point, or a WM_MOUSECHORD with its wParam.
struct Seen {
    UINT message;
    WPARAM wParam;
    POINT point;
};

// The button messages a window saw, as message and screen point (and which X button, or the
// wheel's turn), in order.
struct ButtonAt {
    UINT message;
    LONG x, y;
    int data = 0;
    bool operator==(const ButtonAt& other) const
    {
        return message == other.message && x == other.x && y == other.y && data == other.data;
    }
};

static std::ostream& operator<<(std::ostream& out, const ButtonAt& b)
{
    out << "0x" << std::hex << b.message << std::dec << "@" << b.x << "," << b.y;
    return b.data ? out << "/" << b.data : out;
}

// A top-level window that records the mouse messages and WM_MOUSECHORD it receives.
class RecordingWindow {
public:
    RecordingWindow(int x, int y, int width, int height, bool visible)
    {
        static const ATOM windowClass = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
            wc.lpszClassName = "HookTestWindow";
            return RegisterClassA(&wc);
        }();
        handle_ = CreateWindowExA(WS_EX_TOPMOST, MAKEINTATOM(windowClass), "hook test",
                                  WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, width, height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), this);
    }
    ~RecordingWindow()
    {
        if (handle_ != nullptr) {
            DestroyWindow(handle_);
        }
    }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return handle_; }
    void Forget() { seen_.clear(); }
    const std::vector<Seen>& All() const { return seen_; }

    int Count(UINT message) const
    {
        int n = 0;
        for (const Seen& s : seen_) {
            n += s.message == message ? 1 : 0;
        }
        return n;
    }
    std::vector<WPARAM> ChordSerials() const
    {
        std::vector<WPARAM> serials;
        for (const Seen& s : seen_) {
            if (s.message == WM_MOUSECHORD) {
                serials.push_back(s.wParam);
            }
        }
        return serials;
    }
    // The left and right button messages.
    // Every button and the wheel too with `all`.
    std::vector<ButtonAt> Buttons(bool all = false) const
    {
        std::vector<ButtonAt> buttons;
        for (const Seen& s : seen_) {
            if (s.message >= WM_LBUTTONDOWN && s.message <= WM_RBUTTONUP && s.message != WM_LBUTTONDBLCLK) {
                buttons.push_back({s.message, s.point.x, s.point.y});
            } else if (all && s.message > WM_MOUSEMOVE && s.message != WM_MOUSECHORD) {
                const bool x = s.message == WM_XBUTTONDOWN || s.message == WM_XBUTTONUP;
                buttons.push_back({s.message, s.point.x, s.point.y,
                                   x ? HIWORD(s.wParam) : GET_WHEEL_DELTA_WPARAM(s.wParam)});
            }
        }
        return buttons;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self == nullptr) {
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
        if (message == WM_MOUSECHORD) {
            self->seen_.push_back({message, wParam, {0, 0}});
            return 0;
        }
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSEHWHEEL) {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL) {
                ClientToScreen(hwnd, &point);
            }
            self->seen_.push_back({message, wParam, point});
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND handle_ = nullptr;
    std::vector<Seen> seen_;
};

static void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static INPUT Mouse(DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    input.mi.dy = dy;
    return input;
}

// A relative move. The system may accelerate it: the tests read where it ended with
// GetCursorPos.
static INPUT MoveBy(LONG dx, LONG dy)
{
    return Mouse(MOUSEEVENTF_MOVE, dx, dy);
}

// An absolute move: where a relative one ends depends on how soon a withheld replay lands.
static INPUT MoveTo(POINT p)
{
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
                 ((p.x - left) * 65536 + width - 1) / width, ((p.y - top) * 65536 + height - 1) / height);
}

static void Inject(std::initializer_list<INPUT> inputs)
{
    std::vector<INPUT> all(inputs);
    ASSERT_EQ(SendInput(static_cast<UINT>(all.size()), all.data(), sizeof(INPUT)), all.size())
        << "SendInput error " << GetLastError();
}

static const INPUT kRightDown = Mouse(MOUSEEVENTF_RIGHTDOWN);
static const INPUT kRightUp = Mouse(MOUSEEVENTF_RIGHTUP);
static const INPUT kLeftDown = Mouse(MOUSEEVENTF_LEFTDOWN);
static const INPUT kLeftUp = Mouse(MOUSEEVENTF_LEFTUP);

// The window the chords are made over spans (100, 100)-(400, 300); chords are made at
// (150, 180). All the tests share it: without a window manager, destroying a window that was
// activated makes Wine wait two seconds for a state change that never comes.
class HookTest : public testing::Test {
protected:
    static constexpr int kLeft = 100;
    static constexpr int kTop = 100;
    static constexpr POINT kChordPoint{150, 180};

    static void SetUpTestSuite() { shared_ = std::make_unique<RecordingWindow>(kLeft, kTop, 300, 200, true); }
    static void TearDownTestSuite() { shared_.reset(); }

    void SetUp() override
    {
        ASSERT_NE(window_.Handle(), nullptr);
        SetWindowPos(window_.Handle(), nullptr, kLeft, kTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetForegroundWindow(window_.Handle());
        ASSERT_TRUE(SetCursorPos(kChordPoint.x, kChordPoint.y));
        PumpPending();
        window_.Forget();
    }

    void TearDown() override { RemoveHook(); }

    // Ends what was injected with a middle click and waits until the window has seen it and
    // `chords` chord messages: every hook call before it has then run, and whatever the hook
    // replayed or posted has arrived (a replay or a chord still on its way holds the click
    // back behind it).
    // `middleClicks`: how many middle releases the window sees in all with the closing one, when
    // what was injected has middle clicks of its own that may still be on their way.
    ::testing::AssertionResult Settle(RecordingWindow& window, size_t chords = 0, int middleClicks = 0)
    {
        const int clicks = middleClicks > 0 ? middleClicks : window.Count(WM_MBUTTONUP) + 1;
        Inject({Mouse(MOUSEEVENTF_MIDDLEDOWN), Mouse(MOUSEEVENTF_MIDDLEUP)});
        if (PumpUntil(
                [&] {
                    return window.Count(WM_MBUTTONUP) >= clicks && window.ChordSerials().size() >= chords;
                },
                10000)) {   // long only when something is lost; a busy machine is slow
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "the closing middle click or a chord never reached the window";
    }

    inline static std::unique_ptr<RecordingWindow> shared_;
    RecordingWindow& window_ = *shared_;
};

TEST_F(HookTest, InstallNeedsAWindow)
{
    EXPECT_EQ(InstallHook(nullptr), 0);
    HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(InstallHook(gone), 0);
}

TEST_F(HookTest, RightThenLeftReachesNothingAndPostsOneChordWithItsRecord)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_, 1));

    const std::vector<WPARAM> serials = window_.ChordSerials();
    ASSERT_EQ(serials.size(), 1u);
    EXPECT_NE(serials[0], 0u);
    EXPECT_EQ(window_.Buttons(), std::vector<ButtonAt>{}) << "neither press nor release reached the window";

    // The record: the chord's screen point, and that point relative to the foreground window.
    const HWND foreground = GetForegroundWindow();
    EXPECT_EQ(foreground, window_.Handle());
    RECT frame{0, 0, 0, 0};
    ASSERT_TRUE(GetWindowRect(foreground, &frame));
    MSG record{};
    GetHookMessage(&record, serials[0]);
    EXPECT_EQ(record.hwnd, window_.Handle());
    EXPECT_EQ(record.message, WM_MOUSECHORD);
    EXPECT_EQ(record.wParam, serials[0]);
    EXPECT_EQ(record.pt.x, kChordPoint.x);
    EXPECT_EQ(record.pt.y, kChordPoint.y);
    EXPECT_EQ(Split(static_cast<std::int32_t>(record.lParam)),
              Offset(kChordPoint.x - frame.left, kChordPoint.y - frame.top));
    EXPECT_EQ(Split(static_cast<std::int32_t>(record.lParam)),
              Offset(kChordPoint.x - kLeft, kChordPoint.y - kTop));
}

TEST_F(HookTest, TheChordIsPostedOnlyWhenBothButtonsAreUp)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kLeftDown, kLeftUp});
    ASSERT_TRUE(Settle(window_));
    EXPECT_TRUE(window_.ChordSerials().empty()) << "posted while the right button is still down";
    Inject({kRightUp});
    ASSERT_TRUE(Settle(window_, 1));
    EXPECT_EQ(window_.Buttons(), std::vector<ButtonAt>{});
}

TEST_F(HookTest, LeftThenRightPassesTheLeftClickAndPostsOneChord)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kLeftDown, kRightDown, kRightUp, kLeftUp});
    ASSERT_TRUE(Settle(window_, 1));

    EXPECT_EQ(window_.ChordSerials().size(), 1u);
    const LONG x = kChordPoint.x, y = kChordPoint.y;
    EXPECT_EQ(window_.Buttons(), (std::vector<ButtonAt>{{WM_LBUTTONDOWN, x, y}, {WM_LBUTTONUP, x, y}}));
}

// Wine never delivers the release of a click that closed a menu. A right click made elsewhere
// afterwards is a right click, not the second half of a chord (which swallowed it), and the
// left press that follows is an ordinary press too.
TEST_F(HookTest, ALeftReleaseThatNeverCameMakesNoChordOfTheNextRightClick)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    const LONG x = kChordPoint.x, y = kChordPoint.y;
    Inject({kLeftDown});
    Inject({MoveTo({x + 60, y + 40}), kRightDown, kRightUp});
    Inject({kLeftDown, kLeftUp});
    ASSERT_TRUE(Settle(window_));
    EXPECT_EQ(window_.Buttons(), (std::vector<ButtonAt>{{WM_LBUTTONDOWN, x, y},
                                                        {WM_RBUTTONDOWN, x + 60, y + 40},
                                                        {WM_RBUTTONUP, x + 60, y + 40},
                                                        {WM_LBUTTONDOWN, x + 60, y + 40},
                                                        {WM_LBUTTONUP, x + 60, y + 40}}));
    EXPECT_TRUE(window_.ChordSerials().empty());
}

// Clicks and drags that make no chord reach the window as they were made, in their order,
// even when they come faster than the replay of a held press.
TEST_F(HookTest, RightClicksAndRightDragsStillReachTheWindowInOrder)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    const LONG x = kChordPoint.x, y = kChordPoint.y;
    Inject({kRightDown, kRightUp, kLeftDown, kLeftUp});
    ASSERT_TRUE(Settle(window_));
    EXPECT_EQ(
        window_.Buttons(),
        (std::vector<ButtonAt>{
            {WM_RBUTTONDOWN, x, y}, {WM_RBUTTONUP, x, y}, {WM_LBUTTONDOWN, x, y}, {WM_LBUTTONUP, x, y}}));
    EXPECT_TRUE(window_.ChordSerials().empty());

    // A drag: a small move stays within the drag distance, the next one leaves it.
    window_.Forget();
    Inject(
        {kRightDown, MoveTo({x + 1, y + 1}), MoveTo({x + 41, y + 31}), MoveTo({x + 46, y + 36}), kRightUp});
    ASSERT_TRUE(Settle(window_));
    EXPECT_EQ(window_.Buttons(),
              (std::vector<ButtonAt>{{WM_RBUTTONDOWN, x, y}, {WM_RBUTTONUP, x + 46, y + 36}}));
    bool draggedWithTheButtonDown = false;
    for (const Seen& s : window_.All()) {
        draggedWithTheButtonDown |=
            s.message == WM_MOUSEMOVE && (s.wParam & MK_RBUTTON) && s.point.x > x + 30;
    }
    EXPECT_TRUE(draggedWithTheButtonDown) << "no move with the right button down reached the window";
    EXPECT_TRUE(window_.ChordSerials().empty());
}

TEST_F(HookTest, ARightPressHeldStillGoesOnWhenNoLeftPressJoinsIt)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown});
    ASSERT_TRUE(PumpUntil([&] { return window_.Count(WM_RBUTTONDOWN) == 1; }, 3000))
        << "the held press never went on by itself";
    EXPECT_EQ(window_.Count(WM_RBUTTONUP), 0);
    Inject({kRightUp});
    ASSERT_TRUE(Settle(window_));
    const LONG x = kChordPoint.x, y = kChordPoint.y;
    EXPECT_EQ(window_.Buttons(), (std::vector<ButtonAt>{{WM_RBUTTONDOWN, x, y}, {WM_RBUTTONUP, x, y}}));
    EXPECT_TRUE(window_.ChordSerials().empty());
}

// The program's thread may be busy for seconds (shell calls, a modal loop that is slow to
// pump): the mouse does not wait for it, and a chord made meanwhile is delivered after.
TEST_F(HookTest, TheMouseDoesNotWaitForABlockedProgramThread)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    struct Mover {
        POINT before{};
        POINT after{};
        static DWORD WINAPI Run(void* parameter)
        {
            auto* self = static_cast<Mover*>(parameter);
            GetCursorPos(&self->before);
            INPUT move = MoveBy(60, 40);
            SendInput(1, &move, sizeof move);
            GetCursorPos(&self->after);
            INPUT chord[] = {kRightDown, kLeftDown, kLeftUp, kRightUp};
            SendInput(4, chord, sizeof(INPUT));
            return 0;
        }
    } mover;
    HANDLE thread = CreateThread(nullptr, 0, Mover::Run, &mover, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    // This thread owns the window the chord goes to, and it neither pumps nor waits for
    // messages while it is blocked here.
    const DWORD blocked = WaitForSingleObject(thread, 2000);
    CloseHandle(thread);
    ASSERT_EQ(blocked, WAIT_OBJECT_0) << "the injected move waited for the blocked thread";
    EXPECT_GT(mover.after.x, mover.before.x) << "the pointer did not move";
    EXPECT_GT(mover.after.y, mover.before.y);

    ASSERT_TRUE(Settle(window_, 1));
    const std::vector<WPARAM> serials = window_.ChordSerials();
    ASSERT_EQ(serials.size(), 1u);
    MSG record{};
    GetHookMessage(&record, serials[0]);
    EXPECT_EQ(record.pt.x, mover.after.x);
    EXPECT_EQ(record.pt.y, mover.after.y);
}

TEST_F(HookTest, EachChordPostsOnceWithItsOwnRecord)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    // First chord with an extra left click inside it, then a second chord elsewhere; both are
    // made before any message is handled.
    Inject({kRightDown, kLeftDown, kLeftUp, kLeftDown, kLeftUp, kRightUp});
    const POINT second{320, 260};
    ASSERT_TRUE(SetCursorPos(second.x, second.y));
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_, 2));

    const std::vector<WPARAM> serials = window_.ChordSerials();
    ASSERT_EQ(serials.size(), 2u);
    EXPECT_NE(serials[0], serials[1]);
    EXPECT_EQ(window_.Buttons(), std::vector<ButtonAt>{});

    MSG record{};
    GetHookMessage(&record, serials[0]);
    EXPECT_EQ(record.pt.x, kChordPoint.x);
    EXPECT_EQ(record.pt.y, kChordPoint.y);
    GetHookMessage(&record, serials[1]);
    EXPECT_EQ(record.pt.x, second.x);
    EXPECT_EQ(record.pt.y, second.y);
    EXPECT_EQ(Split(static_cast<std::int32_t>(record.lParam)), Offset(second.x - kLeft, second.y - kTop));
}

TEST_F(HookTest, OffsetIsFromTheForegroundWindowWhereItIsNow)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_, 1));
    ASSERT_EQ(window_.ChordSerials().size(), 1u);
    const WPARAM serial = window_.ChordSerials()[0];
    ASSERT_EQ(GetForegroundWindow(), window_.Handle());

    struct Case {
        int left, top;
        std::pair<int, int> offset;
    } cases[] = {
        {40, 60, {110, 120}},
        {200, 50, {0, 130}},   // (-50, 130) cannot be packed: x, the nearer to zero, goes to 0
        {10, 300, {140, 0}},   // (140, -120): y goes to 0
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(SetWindowPos(window_.Handle(), nullptr, c.left, c.top, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        MSG record{};
        GetHookMessage(&record, serial);
        EXPECT_EQ(Split(static_cast<std::int32_t>(record.lParam)), c.offset) << c.left << "," << c.top;
        EXPECT_EQ(record.pt.x, kChordPoint.x);
        EXPECT_EQ(record.pt.y, kChordPoint.y);
    }
}

TEST_F(HookTest, AfterRemoveTheChordIsOrdinaryInput)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    RemoveHook();
    RemoveHook();
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_));

    EXPECT_EQ(window_.Count(WM_RBUTTONDOWN), 1) << "nothing holds the right press back any more";
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(window_.Count(WM_LBUTTONUP), 1);
    EXPECT_TRUE(window_.ChordSerials().empty());
}

TEST_F(HookTest, RemovingTheHookWhileARightPressIsHeldLetsThePressGoOn)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown});
    RemoveHook();
    Inject({kRightUp});
    ASSERT_TRUE(Settle(window_));
    const LONG x = kChordPoint.x, y = kChordPoint.y;
    EXPECT_EQ(window_.Buttons(), (std::vector<ButtonAt>{{WM_RBUTTONDOWN, x, y}, {WM_RBUTTONUP, x, y}}));
}

TEST_F(HookTest, InstallingAgainReplacesTheWindowAndKeepsOneHook)
{
    RecordingWindow other(500, 100, 100, 100, false);
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_NE(InstallHook(other.Handle()), 0);
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_, 1));

    EXPECT_EQ(window_.ChordSerials().size(), 1u);
    EXPECT_TRUE(other.ChordSerials().empty());
    EXPECT_EQ(window_.Buttons(), std::vector<ButtonAt>{});

    // No hook is left behind by the first installation.
    RemoveHook();
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_, 1));
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(window_.ChordSerials().size(), 1u);
}

// A program that unloads the library with the hook still running must not pull the code from
// under it; the library goes once the hook is removed (by a caller that loaded it again). A copy
// under its own name can be unloaded, unlike the HOOK.DLL this program imports.
TEST_F(HookTest, UnloadingTheLibraryWhileTheHookRunsKeepsItUntilRemoved)
{
    char path[MAX_PATH];
    ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("HOOK.DLL"), path, MAX_PATH), 0u);
    std::string copy(path);
    copy.replace(copy.rfind('\\') + 1, std::string::npos, "HOOKCOPY.DLL");
    ASSERT_TRUE(CopyFileA(path, copy.c_str(), FALSE)) << GetLastError();
    auto entry = [](HMODULE library, WORD ordinal) {
        return reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal)));
    };
    HMODULE library = LoadLibraryA(copy.c_str());
    ASSERT_NE(library, nullptr);
    ASSERT_NE(reinterpret_cast<decltype(&InstallHook)>(entry(library, 2))(window_.Handle()), 0);
    FreeLibrary(library);
    ASSERT_EQ(GetModuleHandleA("HOOKCOPY.DLL"), library) << "unloaded under the running hook";

    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_, 1)) << "the hook stopped working";

    ASSERT_EQ(LoadLibraryA(copy.c_str()), library);
    reinterpret_cast<decltype(&RemoveHook)>(entry(library, 3))();
    FreeLibrary(library);
    EXPECT_EQ(GetModuleHandleA("HOOKCOPY.DLL"), nullptr) << "still loaded after the hook ended";
    DeleteFileA(copy.c_str());
}

TEST_F(HookTest, UnknownSerialGetsThePointerPositionNow)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    RECT frame{0, 0, 0, 0};
    ASSERT_TRUE(GetWindowRect(GetForegroundWindow(), &frame));

    for (WPARAM wParam : {WPARAM{0}, WPARAM{12345}}) {
        MSG record{};
        GetHookMessage(&record, wParam);
        EXPECT_EQ(record.hwnd, window_.Handle());
        EXPECT_EQ(record.message, WM_MOUSECHORD);
        EXPECT_EQ(record.wParam, wParam);
        EXPECT_EQ(record.pt.x, cursor.x);
        EXPECT_EQ(record.pt.y, cursor.y);
        EXPECT_EQ(Split(static_cast<std::int32_t>(record.lParam)),
                  Offset(cursor.x - frame.left, cursor.y - frame.top));
    }
}

// The threads of this process.
static std::set<DWORD> OwnThreads()
{
    std::set<DWORD> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) {
            threads.insert(entry.th32ThreadID);
        }
    }
    CloseHandle(snapshot);
    return threads;
}

// The system removes a hook whose call overran its timeout without telling anyone; the hook
// thread sees the pointer move with no call of its hook and puts the hook in again.
TEST_F(HookTest, AHookTheSystemRemovedComesBackBySelfWithinSeconds)
{
    const std::set<DWORD> before = OwnThreads();
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    const std::set<DWORD> after = OwnThreads();
    std::vector<DWORD> started;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(started));
    ASSERT_EQ(started.size(), 1u) << "which thread runs the hook?";
    ASSERT_TRUE(PostThreadMessageA(
        started[0], RegisterWindowMessageA("HOOK.DLL drops its hook as the system would"), 0, 0));
    // A chord's buttons, and whether the window saw them, known once Settle's click has come
    // after them: with the hook gone it sees them; with the hook in place it sees none.
    auto windowSawTheButtons = [&]() -> std::optional<bool> {
        window_.Forget();
        Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
        if (!Settle(window_)) {
            return std::nullopt;
        }
        return !window_.Buttons().empty();
    };
    bool removed = false;
    for (int i = 0; i < 20 && !removed; ++i) {
        removed = windowSawTheButtons() == true;
    }
    ASSERT_TRUE(removed) << "the hook was not removed: the window never saw a chord's buttons";

    // The user moves the mouse on; within a few seconds the chord works again.
    const DWORD start = GetTickCount();
    bool back = false;
    while (!back && GetTickCount() - start < 8000) {
        Inject({MoveBy(3, 0)});
        Sleep(400);
        back = windowSawTheButtons() == false;
    }
    ASSERT_TRUE(back) << "the window still saw a chord's buttons 8 s after the hook's removal";
    EXPECT_TRUE(PumpUntil([&] { return window_.ChordSerials().size() == 1; }, 5000))
        << "the chord the hook withheld was not posted";
}

// --- Replay fuzzer -------------------------------------------------------------------------
//
// Random sequences of clicks, drags, long presses, wheel turns and chords of every button, with
// random pauses, injected with the hook on. Everything that is not part of a chord must reach
// the window under the pointer exactly once, in order, at its point; each chord must arrive as
// one WM_MOUSECHORD whose record holds the point of the press that made it. Every other
// sequence starts with a hidden window of another thread in front, as the program's main
// window is after its menu has closed. MIVTRA_REPLAY_SEQUENCES sets how many
// (scripts/hook-soak.sh runs many), MIVTRA_REPLAY_SEED the first seed.

// A hidden window of a thread of its own.
static HWND HiddenFront()
{
    static const HWND window = [] {
        std::promise<HWND> made;
        std::future<HWND> handle = made.get_future();
        std::thread([&made] {
            made.set_value(
                CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                DispatchMessageA(&msg);
            }
        }).detach();
        return handle.get();
    }();
    return window;
}

// The gestures: a button (Left Right Middle X1 Y=X2) down "v" or up "^" that the window sees
// ("+") or not ("-"); "~" a pause much shorter than the hook holds a right press, "=" a longer one;
// ">" a move elsewhere; "W" a wheel turn; "*" a chord made here.
static const char* const kGestures[] = {
    "Rv+~R^+",
    "Lv+~L^+",
    "Mv+~M^+",
    "Xv+~X^+",
    "Yv+~Y^+",
    "Rv+~>>R^+",
    "Lv+>>L^+",
    "W",
    "Rv+=R^+",
    "Rv-~Lv-*~L^-~R^-",
    "Rv-~Lv-*L^-Lv-R^-~L^-",
    "Lv+~Rv-*~R^-L^+",
    "Lv+~Rv-*L^+~R^-",
    "Rv+=Lv+L^+R^+",
};

class ReplayFuzz {
public:
    explicit ReplayFuzz(unsigned seed) : random_(seed) {}

    // Injects a right click and a few random gestures with pauses and moves between them.
    void Run()
    {
        PointerTo(RandomPoint());
        Gesture(kGestures[0]);
        for (int i = Between(2, 8); i > 0; --i) {
            Gesture(Between(0, 1) ? ">" : "~");
            Gesture(kGestures[Between(0, std::size(kGestures) - 1)]);
        }
        expected.push_back({WM_MBUTTONDOWN, at_.x, at_.y});   // Settle's closing click
        expected.push_back({WM_MBUTTONUP, at_.x, at_.y});
    }

    std::vector<ButtonAt> expected;
    std::vector<ButtonAt> chords;   // each as its WM_MOUSECHORD record should hold it
    std::ostringstream log;         // what was injected, for a failure's message

private:
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    // Inside the shared window, (100, 100)-(400, 300).
    POINT RandomPoint() { return {Between(110, 390), Between(110, 290)}; }

    void PointerTo(POINT p)
    {
        Inject({MoveTo(p)});
        at_ = p;
        log << " ->" << p.x << "," << p.y;
    }

    void Gesture(const char* gesture)
    {
        log << " " << gesture;
        for (const char* c = gesture; *c; ++c) {
            if (*c == '~' || *c == '=') {
                // The hook holds for 300 ms: both pauses stay well clear of it, a loaded machine
                // stretching a short one included.
                Sleep(*c == '~' ? Between(0, 80) : Between(600, 900));
            } else if (*c == '>') {
                PointerTo(RandomPoint());
            } else if (*c == '*') {
                chords.push_back({WM_MOUSECHORD, at_.x, at_.y});
            } else if (*c == 'W') {
                INPUT wheel = Mouse(MOUSEEVENTF_WHEEL);
                const int delta = Between(0, 1) ? WHEEL_DELTA : -WHEEL_DELTA;
                wheel.mi.mouseData = static_cast<DWORD>(delta);
                Inject({wheel});
                expected.push_back({WM_MOUSEWHEEL, at_.x, at_.y, delta});
            } else {
                const int button = static_cast<int>(std::strchr("LRMXY", *c) - "LRMXY");
                const bool down = c[1] == 'v';
                static const DWORD kDown[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN,
                                              MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_XDOWN, MOUSEEVENTF_XDOWN};
                static const UINT kMessage[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                                                WM_XBUTTONDOWN, WM_XBUTTONDOWN};
                // Each up flag is its down flag doubled, and each up message its down message + 1.
                INPUT input = Mouse(down ? kDown[button] : kDown[button] * 2);
                const int x = button == 3 ? XBUTTON1 : button == 4 ? XBUTTON2 : 0;
                input.mi.mouseData = static_cast<DWORD>(x);
                Inject({input});
                if (c[2] == '+') {
                    expected.push_back({kMessage[button] + (down ? 0 : 1), at_.x, at_.y, x});
                }
                c += 2;
            }
        }
    }

    std::mt19937 random_;
    POINT at_{};
};

static unsigned EnvironmentNumber(const char* name, unsigned otherwise)
{
    const char* value = std::getenv(name);
    return value && *value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : otherwise;
}

TEST_F(HookTest, ReplayFuzzEverythingButChordsArrivesOnceInOrderAtItsPoint)
{
    const unsigned sequences = EnvironmentNumber("MIVTRA_REPLAY_SEQUENCES", 6);
    // The same sequences at every run; scripts/hook-soak.sh gives seeds of its own.
    const unsigned firstSeed = EnvironmentNumber("MIVTRA_REPLAY_SEED", 1402560);
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    unsigned failed = 0;
    for (unsigned seed = firstSeed; seed < firstSeed + sequences && failed < 3; ++seed) {
        SetForegroundWindow(seed % 2 ? HiddenFront() : window_.Handle());
        PumpPending();
        window_.Forget();
        ReplayFuzz fuzz(seed);
        fuzz.Run();
        const auto middleUps = std::count_if(fuzz.expected.begin(), fuzz.expected.end(),
                                             [](const ButtonAt& b) { return b.message == WM_MBUTTONUP; });
        const bool settled = Settle(window_, fuzz.chords.size(), static_cast<int>(middleUps));
        std::vector<ButtonAt> arrived = window_.Buttons(true);
        for (WPARAM serial : window_.ChordSerials()) {
            MSG record{};
            GetHookMessage(&record, serial);
            arrived.push_back({WM_MOUSECHORD, record.pt.x, record.pt.y});
        }
        fuzz.expected.insert(fuzz.expected.end(), fuzz.chords.begin(), fuzz.chords.end());
        const bool same = settled && arrived == fuzz.expected;
        EXPECT_TRUE(same) << "seed " << seed << (seed % 2 ? ", hidden window in front" : "")
                          << (settled ? "" : ", Settle's click never came") << "\ninjected:" << fuzz.log.str()
                          << "\narrived:  " << testing::PrintToString(arrived)
                          << "\nexpected: " << testing::PrintToString(fuzz.expected);
        failed += same ? 0 : 1;
    }
    std::printf("replay fuzzer: %u sequences from seed %u, %u failed\n", sequences, firstSeed, failed);
}
