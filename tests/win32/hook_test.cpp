// HOOK.DLL: its ordinal-only exports and imports, the chord logic, and the installed hook
// driven by injected mouse input.
#include "hook/chord_detector.h"
#include "hook/chord_log.h"
#include "hook/chord_offset.h"
#include "hook/hook_library.h"
#include "triggers/chord_offset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
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

// --- The chord offset ----------------------------------------------------------------------

TEST(ChordOffsetTest, SameSignOffsetsSurviveTheTruncatingSplit)
{
    const int values[] = {0, 1, 2, 50, 100, 255, 256, 1023, 32766, 32767};
    for (int ax : values) {
        for (int ay : values) {
            for (int sign : {1, -1}) {
                const int dx = sign * ax;
                const int dy = sign * ay;
                EXPECT_EQ(Split(PackChordOffset(dx, dy)), std::make_pair(dx, dy)) << dx << "," << dy;
            }
        }
    }
}

TEST(ChordOffsetTest, NonNegativeOffsetIsLowAndHighHalf)
{
    EXPECT_EQ(PackChordOffset(50, 100), 100 * 65536 + 50);
    EXPECT_EQ(PackChordOffset(0, 0), 0);
    EXPECT_EQ(PackChordOffset(65, 0), 65);
}

TEST(ChordOffsetTest, ClampsToSixteenBits)
{
    EXPECT_EQ(Split(PackChordOffset(40000, 5)), std::make_pair(32767, 5));
    EXPECT_EQ(Split(PackChordOffset(7, 1LL << 40)), std::make_pair(7, 32767));
    EXPECT_EQ(Split(PackChordOffset(-40000, -5)), std::make_pair(-32767, -5));
    EXPECT_EQ(Split(PackChordOffset(-(1LL << 40), -(1LL << 40))), std::make_pair(-32767, -32767));
    // Both at the negative end: -32768 would push y * 65536 + x below the int32 range.
    EXPECT_EQ(Split(PackChordOffset(-32768, -32768)), std::make_pair(-32767, -32767));
}

TEST(ChordOffsetTest, OppositeSignsMoveToTheNearestDecodablePoint)
{
    EXPECT_EQ(Split(PackChordOffset(-3, 200)), std::make_pair(0, 200));
    EXPECT_EQ(Split(PackChordOffset(-300, 200)), std::make_pair(-300, 0));
    EXPECT_EQ(Split(PackChordOffset(300, -2)), std::make_pair(300, 0));
    EXPECT_EQ(Split(PackChordOffset(3, -200)), std::make_pair(0, -200));
    EXPECT_EQ(Split(PackChordOffset(-5, 5)), std::make_pair(0, 5));
    EXPECT_EQ(Split(PackChordOffset(5, -5)), std::make_pair(5, 0));
    EXPECT_EQ(Split(PackChordOffset(-1, 1)), std::make_pair(0, 1));
    EXPECT_EQ(Split(PackChordOffset(-40000, 20)), std::make_pair(-32767, 0));

    // Whatever the pair, the split gives a point with no opposite signs that packs to itself.
    const int values[] = {-70000, -32768, -1000, -1, 0, 1, 999, 32767, 70000};
    for (int dx : values) {
        for (int dy : values) {
            const auto [x, y] = Split(PackChordOffset(dx, dy));
            EXPECT_FALSE((x < 0 && y > 0) || (x > 0 && y < 0)) << dx << "," << dy;
            EXPECT_EQ(Split(PackChordOffset(x, y)), std::make_pair(x, y)) << dx << "," << dy;
        }
    }
}

// --- Chord detection -----------------------------------------------------------------------

static void ExpectStep(ChordStep step, bool swallow, bool chord, const char* what)
{
    EXPECT_EQ(step.swallow, swallow) << what;
    EXPECT_EQ(step.chord, chord) << what;
}

TEST(ChordDetectorTest, SecondPressMakesTheChordInEitherOrder)
{
    for (MouseButton first : {MouseButton::kRight, MouseButton::kLeft}) {
        const MouseButton second = first == MouseButton::kRight ? MouseButton::kLeft : MouseButton::kRight;
        ChordDetector detector;
        ExpectStep(detector.Press(first), false, false, "first press passes");
        ExpectStep(detector.Press(second), true, true, "second press is the chord, withheld");
        ExpectStep(detector.Release(second), true, false, "its release is withheld too");
        ExpectStep(detector.Release(first), false, false, "first release passes");
    }
}

TEST(ChordDetectorTest, FirstButtonReleasedFirstStillPasses)
{
    ChordDetector detector;
    detector.Press(MouseButton::kLeft);
    ExpectStep(detector.Press(MouseButton::kRight), true, true, "chord");
    ExpectStep(detector.Release(MouseButton::kLeft), false, false, "delivered press, delivered release");
    ExpectStep(detector.Release(MouseButton::kRight), true, false, "withheld press, withheld release");
}

TEST(ChordDetectorTest, CountsOncePerChordUntilBothButtonsAreUp)
{
    ChordDetector detector;
    detector.Press(MouseButton::kRight);
    ExpectStep(detector.Press(MouseButton::kLeft), true, true, "chord");
    detector.Release(MouseButton::kLeft);
    ExpectStep(detector.Press(MouseButton::kLeft), true, false, "left again: same chord");
    ExpectStep(detector.Release(MouseButton::kLeft), true, false, "its release");
    ExpectStep(detector.Release(MouseButton::kRight), false, false, "right up passes");

    // Both up: the next chord counts again.
    detector.Press(MouseButton::kRight);
    ExpectStep(detector.Press(MouseButton::kLeft), true, true, "next chord");
}

TEST(ChordDetectorTest, RepressOfTheFirstButtonDuringTheChordIsWithheldAsAPair)
{
    ChordDetector detector;
    detector.Press(MouseButton::kRight);
    ExpectStep(detector.Press(MouseButton::kLeft), true, true, "chord");
    ExpectStep(detector.Release(MouseButton::kRight), false, false, "first button up passes");
    ExpectStep(detector.Press(MouseButton::kRight), true, false, "pressed again while left is held");
    ExpectStep(detector.Release(MouseButton::kRight), true, false, "and released");
    ExpectStep(detector.Release(MouseButton::kLeft), true, false, "chord's left up");
    ExpectStep(detector.Press(MouseButton::kLeft), false, false, "all up: a plain click again");
}

TEST(ChordDetectorTest, ReleaseWithoutAKnownPressPasses)
{
    ChordDetector detector;
    ExpectStep(detector.Release(MouseButton::kLeft), false, false, "left up");
    ExpectStep(detector.Release(MouseButton::kRight), false, false, "right up");
}

// --- The chord log -------------------------------------------------------------------------

TEST(ChordLogTest, KeepsTheRecentChordsUnderTheirSerials)
{
    ChordLog log;
    std::vector<std::uint32_t> serials;
    for (int i = 0; i < 12; ++i) {
        serials.push_back(log.Add(i, -i, 1000u + i));
    }
    EXPECT_EQ(serials.front(), 1u);
    EXPECT_EQ(std::set<std::uint32_t>(serials.begin(), serials.end()).size(), serials.size());
    for (int i = 4; i < 12; ++i) {
        const ChordRecord* chord = log.Find(serials[i]);
        ASSERT_NE(chord, nullptr) << i;
        EXPECT_EQ(chord->x, i);
        EXPECT_EQ(chord->y, -i);
        EXPECT_EQ(chord->time, 1000u + i);
    }
    EXPECT_EQ(log.Find(serials[0]), nullptr) << "overwritten long ago";
    EXPECT_EQ(log.Find(0), nullptr);
    EXPECT_EQ(log.Find(999), nullptr);
}

TEST(ChordLogTest, SerialSkipsZeroWhenItWraps)
{
    ChordLog log(0xFFFFFFFEu);
    EXPECT_EQ(log.Add(1, 1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(log.Add(2, 2, 0), 1u);
    EXPECT_EQ(log.Find(0), nullptr);
}

// --- The installed hook --------------------------------------------------------------------

// A top-level window that records the mouse-button messages and WM_MOUSECHORD it receives.
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
    void Forget() { messages_.clear(); }

    int Count(UINT message) const
    {
        int n = 0;
        for (const auto& m : messages_) {
            n += m.first == message ? 1 : 0;
        }
        return n;
    }
    std::vector<WPARAM> ChordSerials() const
    {
        std::vector<WPARAM> serials;
        for (const auto& m : messages_) {
            if (m.first == WM_MOUSECHORD) {
                serials.push_back(m.second);
            }
        }
        return serials;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSECHORD:
            if (self != nullptr) {
                self->messages_.emplace_back(message, wParam);
            }
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
    }

    HWND handle_ = nullptr;
    std::vector<std::pair<UINT, WPARAM>> messages_;
};

static void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Dispatches messages (low-level hook calls among them) until done() holds; false when that
// does not happen within a generous bound, so a lost event fails the test instead of hanging.
template <typename Done>
static bool PumpUntil(Done done)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (done()) {
            return true;
        }
        if (GetTickCount() - start > 2000) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

static void Inject(std::initializer_list<DWORD> buttonFlags)
{
    std::vector<INPUT> inputs;
    for (DWORD flags : buttonFlags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        inputs.push_back(input);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size())
        << "SendInput error " << GetLastError();
}

constexpr DWORD kRightDown = MOUSEEVENTF_RIGHTDOWN;
constexpr DWORD kRightUp = MOUSEEVENTF_RIGHTUP;
constexpr DWORD kLeftDown = MOUSEEVENTF_LEFTDOWN;
constexpr DWORD kLeftUp = MOUSEEVENTF_LEFTUP;

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
        window_.Forget();
        SetWindowPos(window_.Handle(), nullptr, kLeft, kTop, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetForegroundWindow(window_.Handle());
        ASSERT_TRUE(SetCursorPos(kChordPoint.x, kChordPoint.y));
        PumpPending();
    }

    void TearDown() override { RemoveHook(); }

    // Waits until the window has seen the release that ends the injected sequence: every
    // hook call for that sequence has then run, and anything it posted has been delivered.
    ::testing::AssertionResult WaitForRelease(const RecordingWindow& window, UINT release, int count)
    {
        if (PumpUntil([&] { return window.Count(release) >= count; })) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "the injected release never reached the window";
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

TEST_F(HookTest, RightThenLeftPostsOneChordAndWithholdsTheLeftClick)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(WaitForRelease(window_, WM_RBUTTONUP, 1));

    const std::vector<WPARAM> serials = window_.ChordSerials();
    ASSERT_EQ(serials.size(), 1u);
    EXPECT_NE(serials[0], 0u);
    EXPECT_EQ(window_.Count(WM_RBUTTONDOWN), 1);
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(window_.Count(WM_LBUTTONUP), 0);

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

TEST_F(HookTest, LeftThenRightPostsOneChordAndWithholdsTheRightClick)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kLeftDown, kRightDown, kRightUp, kLeftUp});
    ASSERT_TRUE(WaitForRelease(window_, WM_LBUTTONUP, 1));

    EXPECT_EQ(window_.ChordSerials().size(), 1u);
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(window_.Count(WM_RBUTTONDOWN), 0);
    EXPECT_EQ(window_.Count(WM_RBUTTONUP), 0);
}

TEST_F(HookTest, PlainClicksPassAndPostNothing)
{
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kRightUp, kLeftDown, kLeftUp});
    ASSERT_TRUE(WaitForRelease(window_, WM_LBUTTONUP, 1));

    EXPECT_EQ(window_.Count(WM_RBUTTONDOWN), 1);
    EXPECT_EQ(window_.Count(WM_RBUTTONUP), 1);
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 1);
    EXPECT_TRUE(window_.ChordSerials().empty());
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
    ASSERT_TRUE(WaitForRelease(window_, WM_RBUTTONUP, 2));

    const std::vector<WPARAM> serials = window_.ChordSerials();
    ASSERT_EQ(serials.size(), 2u);
    EXPECT_NE(serials[0], serials[1]);
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 0);

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
    ASSERT_TRUE(WaitForRelease(window_, WM_RBUTTONUP, 1));
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
    ASSERT_TRUE(WaitForRelease(window_, WM_RBUTTONUP, 1));

    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 1) << "nothing withholds the left click any more";
    EXPECT_EQ(window_.Count(WM_LBUTTONUP), 1);
    EXPECT_TRUE(window_.ChordSerials().empty());
}

TEST_F(HookTest, InstallingAgainReplacesTheWindowAndKeepsOneHook)
{
    RecordingWindow other(500, 100, 100, 100, false);
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_NE(InstallHook(other.Handle()), 0);
    ASSERT_NE(InstallHook(window_.Handle()), 0);
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(WaitForRelease(window_, WM_RBUTTONUP, 1));

    EXPECT_EQ(window_.ChordSerials().size(), 1u);
    EXPECT_TRUE(other.ChordSerials().empty());
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 0);

    // No hook is left behind by the first installation.
    RemoveHook();
    Inject({kRightDown, kLeftDown, kLeftUp, kRightUp});
    ASSERT_TRUE(WaitForRelease(window_, WM_RBUTTONUP, 2));
    EXPECT_EQ(window_.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(window_.ChordSerials().size(), 1u);
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
