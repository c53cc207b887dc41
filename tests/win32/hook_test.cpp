// HOOK.DLL: its ordinal-only exports and imports, and the installed hook driven by injected
// mouse input. The chord filter itself is tested natively (tests/unit).
#include "hook/chord_offset.h"
#include "hook/hook_library.h"
#include "win32_test_support.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
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

// The button messages a window saw, as message and screen point, in order.
struct ButtonAt {
    UINT message;
    LONG x, y;
    bool operator==(const ButtonAt& other) const
    {
        return message == other.message && x == other.x && y == other.y;
    }
};

static std::ostream& operator<<(std::ostream& out, const ButtonAt& b)
{
    return out << "0x" << std::hex << b.message << std::dec << "@" << b.x << "," << b.y;
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
    std::vector<ButtonAt> Buttons() const
    {
        std::vector<ButtonAt> buttons;
        for (const Seen& s : seen_) {
            if (s.message >= WM_LBUTTONDOWN && s.message <= WM_RBUTTONUP && s.message != WM_LBUTTONDBLCLK) {
                buttons.push_back({s.message, s.point.x, s.point.y});
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

// An absolute move, as a tablet or a remote desktop makes it. (A relative move that the hook
// withholds behind a replay is measured by the system from where the pointer still stands, so
// where it ends depends on how soon the replay lands.)
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
    ::testing::AssertionResult Settle(RecordingWindow& window, size_t chords = 0)
    {
        const int clicks = window.Count(WM_MBUTTONUP) + 1;
        Inject({Mouse(MOUSEEVENTF_MIDDLEDOWN), Mouse(MOUSEEVENTF_MIDDLEUP)});
        if (PumpUntil(
                [&] {
                    return window.Count(WM_MBUTTONUP) >= clicks && window.ChordSerials().size() >= chords;
                },
                3000)) {
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
    std::vector<DWORD> started;
    for (DWORD thread : OwnThreads()) {
        if (!before.count(thread)) {
            started.push_back(thread);
        }
    }
    ASSERT_EQ(started.size(), 1u) << "which thread runs the hook?";
    ASSERT_TRUE(PostThreadMessageA(
        started[0], RegisterWindowMessageA("HOOK.DLL drops its hook as the system would"), 0, 0));
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(Settle(window_));
    ASSERT_EQ(window_.Count(WM_LBUTTONDOWN), 1) << "the hook was not removed";
    EXPECT_TRUE(window_.ChordSerials().empty());

    // The user moves the mouse on; within a few seconds the chord works again.
    const DWORD start = GetTickCount();
    bool back = false;
    for (int step = 0; !back && GetTickCount() - start < 8000; ++step) {
        window_.Forget();
        Inject({MoveBy(step % 2 ? 3 : -3, 0)});
        Sleep(400);
        Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
        ASSERT_TRUE(Settle(window_));
        back =
            window_.Buttons().empty() && PumpUntil([&] { return window_.ChordSerials().size() == 1; }, 300);
    }
    EXPECT_TRUE(back) << "no chord within 8 s of the hook's removal";
}

// --- Replay fuzzer -------------------------------------------------------------------------
//
// Random sequences of clicks, drags, long presses, wheel turns and chords of every button, with
// random pauses, injected with the hook on. Everything that is not part of a chord must reach
// the window under the pointer exactly once, in order, at its point; each chord must arrive as
// one WM_MOUSECHORD whose record holds the point of the press that made it. Half the sequences
// start with a hidden window of another thread in front, as Mivtra's main window is after its
// menu has closed. MIVTRA_REPLAY_SEQUENCES sets how many (scripts/hook-soak.sh runs many),
// MIVTRA_REPLAY_SEED the first seed.

// A button or wheel message as the window must see it: message, point, and the X button or
// the wheel's turn.
struct Arrival {
    UINT message;
    LONG x, y;
    int data;
    bool operator==(const Arrival& other) const
    {
        return message == other.message && x == other.x && y == other.y && data == other.data;
    }
};

static std::ostream& operator<<(std::ostream& out, const Arrival& a)
{
    out << "0x" << std::hex << a.message << std::dec << "@" << a.x << "," << a.y;
    return a.data ? out << "/" << a.data : out;
}

static std::vector<Arrival> Arrivals(const RecordingWindow& window)
{
    std::vector<Arrival> arrivals;
    for (const Seen& s : window.All()) {
        const bool x = s.message == WM_XBUTTONDOWN || s.message == WM_XBUTTONUP;
        const bool wheel = s.message == WM_MOUSEWHEEL || s.message == WM_MOUSEHWHEEL;
        if (s.message != WM_MOUSEMOVE && s.message != WM_MOUSECHORD) {
            const int data = x ? HIWORD(s.wParam) : wheel ? static_cast<short>(HIWORD(s.wParam)) : 0;
            arrivals.push_back({s.message, s.point.x, s.point.y, data});
        }
    }
    return arrivals;
}

// A hidden window of a thread of its own, the way the main window of the program is.
class HiddenFront {
public:
    HiddenFront()
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        WaitForSingleObject(ready_, 5000);
    }
    ~HiddenFront()
    {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    HiddenFront(const HiddenFront&) = delete;
    HiddenFront& operator=(const HiddenFront&) = delete;
    HWND Handle() const { return window_; }

private:
    static DWORD WINAPI Run(void* parameter)
    {
        auto* self = static_cast<HiddenFront*>(parameter);
        self->window_ = CreateWindowExA(0, "STATIC", "hidden front", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        nullptr, nullptr);
        SetEvent(self->ready_);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageA(&msg);
        }
        DestroyWindow(self->window_);
        return 0;
    }

    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND window_ = nullptr;
};

class ReplayFuzz {
public:
    explicit ReplayFuzz(unsigned seed) : random_(seed) {}

    // Injects one sequence; fills what the window must see and the chords' points.
    void Run()
    {
        PointerTo(RandomPoint());
        const int gestures = Between(3, 9);
        for (int i = 0; i < gestures; ++i) {
            // Before the first button press the window may not have the focus: no wheel yet.
            Gesture(i == 0 ? 0 : Between(0, 9));
            Pause(Between(0, 60));
            if (Between(0, 2) == 0) {
                PointerTo(RandomPoint());
            }
        }
    }

    std::vector<Arrival> expected;
    std::vector<POINT> chords;
    std::ostringstream log;   // what was injected, for a failure's message

private:
    static constexpr int kHoldMs = 300;   // how long the hook holds a right press

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    // Inside the shared window, (100, 100)-(400, 300).
    POINT RandomPoint() { return {Between(110, 390), Between(110, 290)}; }

    void Pause(int ms)
    {
        if (ms > 0) {
            log << " ~" << ms;
            Sleep(static_cast<DWORD>(ms));
        }
    }

    void PointerTo(POINT p)
    {
        Inject({MoveTo(p)});
        at_ = p;
        log << " ->" << p.x << "," << p.y;
    }

    // Presses or releases a button (0 left, 1 right, 2 middle, 3 and 4 the X buttons) at the
    // pointer; `arrives`: the window must see it.
    void Button(int button, bool down, bool arrives)
    {
        static const DWORD kFlags[5][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                           {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN},
                                           {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN},
                                           {MOUSEEVENTF_XUP, MOUSEEVENTF_XDOWN},
                                           {MOUSEEVENTF_XUP, MOUSEEVENTF_XDOWN}};
        static const UINT kMessages[5][2] = {{WM_LBUTTONUP, WM_LBUTTONDOWN},
                                             {WM_RBUTTONUP, WM_RBUTTONDOWN},
                                             {WM_MBUTTONUP, WM_MBUTTONDOWN},
                                             {WM_XBUTTONUP, WM_XBUTTONDOWN},
                                             {WM_XBUTTONUP, WM_XBUTTONDOWN}};
        INPUT input = Mouse(kFlags[button][down]);
        const int x = button == 3 ? XBUTTON1 : button == 4 ? XBUTTON2 : 0;
        input.mi.mouseData = static_cast<DWORD>(x);
        Inject({input});
        log << " "
            << "LRMXY"[button] << (down ? "v" : "^");
        if (arrives) {
            expected.push_back({kMessages[button][down], at_.x, at_.y, x});
        }
    }

    void Gesture(int kind)
    {
        const POINT start = at_;
        switch (kind) {
        case 0:   // a click of any button: the right one is held back and replayed
        case 1:
        case 2: {
            const int button = kind == 0 ? 1 : Between(0, 4);
            Button(button, true, true);
            Pause(Between(0, kHoldMs - 100));
            Button(button, false, true);
            break;
        }
        case 3: {   // a drag, beyond any drag distance
            const int button = Between(0, 2);
            Button(button, true, true);
            Pause(Between(0, 40));
            PointerTo({start.x < 250 ? start.x + 40 : start.x - 40, start.y});
            PointerTo(RandomPoint());
            Button(button, false, true);
            break;
        }
        case 4: {   // a wheel turn, up or down
            const int delta = Between(0, 1) ? WHEEL_DELTA : -WHEEL_DELTA;
            INPUT input = Mouse(MOUSEEVENTF_WHEEL);
            input.mi.mouseData = static_cast<DWORD>(delta);
            Inject({input});
            log << " W" << delta;
            expected.push_back({WM_MOUSEWHEEL, at_.x, at_.y, delta});
            break;
        }
        case 5: {   // a right press held still for longer than the hook holds it
            Button(1, true, true);
            Pause(kHoldMs + Between(200, 700));
            Button(1, false, true);
            break;
        }
        case 6:   // chord, right first: the window sees nothing of it
        case 7: {
            Button(1, true, false);
            Pause(Between(0, 100));
            Button(0, true, false);
            chords.push_back(at_);
            Pause(Between(0, 60));
            if (Between(0, 1)) {
                Button(0, false, false);
                Button(0, true, false);
            }
            const bool leftFirst = Between(0, 1);
            Button(leftFirst ? 0 : 1, false, false);
            Pause(Between(0, 60));
            Button(leftFirst ? 1 : 0, false, false);
            break;
        }
        case 8: {   // chord, left first: the left click goes on, the right one does not
            Button(0, true, true);
            Pause(Between(0, 100));
            Button(1, true, false);
            chords.push_back(at_);
            Pause(Between(0, 60));
            const bool leftFirst = Between(0, 1);
            Button(leftFirst ? 0 : 1, false, leftFirst);
            Button(leftFirst ? 1 : 0, false, !leftFirst);
            break;
        }
        default: {   // a right press that has gone on by itself, then the left press: a chord
            Button(1, true, true);
            Pause(kHoldMs + Between(200, 400));
            Button(0, true, false);
            chords.push_back(at_);
            Button(0, false, false);
            Button(1, false, true);
            break;
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
    const unsigned firstSeed = EnvironmentNumber("MIVTRA_REPLAY_SEED", GetTickCount());
    HiddenFront front;
    ASSERT_NE(front.Handle(), nullptr);
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    unsigned failed = 0;
    for (unsigned i = 0; i < sequences && failed < 3; ++i) {
        const unsigned seed = firstSeed + i;
        SetForegroundWindow(seed % 2 ? front.Handle() : window_.Handle());
        PumpPending();
        window_.Forget();
        ReplayFuzz fuzz(seed);
        fuzz.Run();
        POINT end{};
        GetCursorPos(&end);
        fuzz.expected.push_back({WM_MBUTTONDOWN, end.x, end.y, 0});
        fuzz.expected.push_back({WM_MBUTTONUP, end.x, end.y, 0});
        const bool settled = Settle(window_, fuzz.chords.size());

        std::vector<POINT> chordPoints;
        for (WPARAM serial : window_.ChordSerials()) {
            MSG record{};
            GetHookMessage(&record, serial);
            chordPoints.push_back(record.pt);
        }
        std::ostringstream points, want;
        for (const POINT& p : chordPoints) {
            points << p.x << "," << p.y << " ";
        }
        for (const POINT& p : fuzz.chords) {
            want << p.x << "," << p.y << " ";
        }
        const bool same = settled && Arrivals(window_) == fuzz.expected && points.str() == want.str();
        EXPECT_TRUE(same) << "seed " << seed << (seed % 2 ? ", hidden window in front" : "")
                          << "\ninjected:" << fuzz.log.str() << "\nchords " << points.str() << "expected "
                          << want.str() << "\narrived:  " << testing::PrintToString(Arrivals(window_))
                          << "\nexpected: " << testing::PrintToString(fuzz.expected);
        failed += same ? 0 : 1;
    }
    std::printf("replay fuzzer: %u sequences from seed %u, %u failed\n", sequences, firstSeed, failed);
}
