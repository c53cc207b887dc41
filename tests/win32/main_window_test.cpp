#include "shell/main_window.h"

#include "components/task_tray.h"
#include "file_test_support.h"
#include "framework/application.h"
#include "framework/display_dpi.h"
#include "framework/label.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "hook_test_support.h"
#include "launcher/launch_list.h"
#include "launcher/launcher_dialog.h"
#include "menu_test_support.h"
#include "shell/about_box.h"
#include "shell/program_windows.h"
#include "triggers/drop_message_filter.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// The message filter as the tests answer it: what it was asked to admit to which window, one
// Admitted() each, WM_COPYDATA refused on request.
std::string g_admitted;
bool g_refuseCopyData = false;

std::string Admitted(HWND window, UINT message, DWORD action = 1)
{
    return std::to_string(reinterpret_cast<std::uintptr_t>(window)) + ":" + std::to_string(message) +
           (action == 1 ? " " : "? ");
}

BOOL WINAPI RecordFilter(HWND window, UINT message, DWORD action, void*)
{
    g_admitted += Admitted(window, message, action);
    return !(g_refuseCopyData && message == WM_COPYDATA);
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { TakeShownBoxes(); }
    void TearDown() override
    {
        form_.reset();
        DrainQuitMessages();
    }

    MainWindow& Start()
    {
        form_ = std::make_unique<MainWindow>(application, scratch_.Path());
        return *form_;
    }

    std::string Stored(const char* name) const { return scratch_.Stored(kSettingsSection, name); }

    FakeHook hook_;
    FakeShell shell_;
    ScratchKey scratch_;
    std::unique_ptr<MainWindow> form_;
};

TEST_F(MainWindowTest, WithoutStoredSettingsStartsWithTheDesignStateAndWritesAllFiveAtClose)
{
    MainWindow& form = Start();
    EXPECT_TRUE(form.ChordItem()->Checked());
    EXPECT_FALSE(form.DropWindowItem()->Checked());
    EXPECT_TRUE(form.TrayIconItem()->Checked());
    EXPECT_TRUE(form.HookActive());
    EXPECT_TRUE(form.ChordReady());
    EXPECT_FALSE(form.Visible());
    RECT r = form.BoundsRect();
    EXPECT_EQ(130, r.left);
    EXPECT_EQ(76, r.top);
    EXPECT_EQ(0, r.right - r.left);
    EXPECT_EQ(0, r.bottom - r.top);
    EXPECT_EQ(1, shell_.Count(NIM_ADD));
    EXPECT_TRUE(scratch_.Exists());
    EXPECT_FALSE(scratch_.Exists(kSettingsSection));
    EXPECT_TRUE(TakeShownBoxes().empty());

    form.Close();
    EXPECT_EQ("1", Stored("HOOK"));
    EXPECT_EQ("0", Stored("DragDrop"));
    EXPECT_EQ("1", Stored("DispIcon"));
    EXPECT_EQ("76", Stored("TOP"));
    EXPECT_EQ("130", Stored("LEFT"));
    EXPECT_EQ(1, shell_.Count(NIM_DELETE));
    EXPECT_EQ(nullptr, form.TrayIcon());
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "closing did not end the program";
}

TEST_F(MainWindowTest, StoredValuesAreReadLooselyAndWrittenBackNormalised)
{
    scratch_.SetString(kSettingsSection, "HOOK", "7");
    scratch_.SetString(kSettingsSection, "DispIcon", "0");
    scratch_.SetString(kSettingsSection, "Top", "abc");
    scratch_.SetString(kSettingsSection, "LEFT", "-300");   // off screen stays off screen
    MainWindow& form = Start();
    EXPECT_TRUE(form.ChordItem()->Checked());
    EXPECT_FALSE(form.TrayIconItem()->Checked());
    EXPECT_EQ(0, shell_.Count(NIM_ADD));
    EXPECT_EQ(76, form.Top());
    EXPECT_EQ(-300, form.Left());

    form.Close();
    EXPECT_EQ("1", Stored("HOOK"));
    EXPECT_EQ("0", Stored("DispIcon"));
    EXPECT_EQ("76", Stored("TOP"));
    EXPECT_EQ("-300", Stored("LEFT"));
}

// At 96 and 144 DPI: made at the system's, laid out at the other on the system's message.
class DropWindowTest : public MainWindowTest, public testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Dpi, DropWindowTest, testing::Values(96, 144));

TEST_P(DropWindowTest, DragDropOnShowsTheDropWindowAtTheStoredPlace)
{
    const int dpi = GetParam();
    scratch_.SetString(kSettingsSection, "HOOK", "0");
    scratch_.SetString(kSettingsSection, "DragDrop", "1");
    scratch_.SetString(kSettingsSection, "Left", "300");
    scratch_.SetString(kSettingsSection, "Top", "200");
    const ChangeWindowMessageFilterExFunction system = SetChangeWindowMessageFilterEx(RecordFilter);
    g_admitted.clear();
    MainWindow& form = Start();
    ChangeDpi(form, dpi);
    // An elevated Mivtra admits the shell's drop messages from an Explorer that is not.
    const std::string admitted = Admitted(form.Handle(), WM_DROPFILES) +
                                 Admitted(form.Handle(), WM_COPYDATA) + Admitted(form.Handle(), 0x0049);
    EXPECT_EQ(admitted, g_admitted);
    EXPECT_FALSE(form.HookActive());
    EXPECT_TRUE(form.DropWindowItem()->Checked());
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(application->ShowMainForm());
    RECT r = form.BoundsRect();
    EXPECT_EQ(300, r.left);
    EXPECT_EQ(200, r.top);
    if (dpi == 96 && SystemDpi() == 96) {
        EXPECT_EQ(500, r.right);
        EXPECT_EQ(273, r.bottom);
    }
    // Elsewhere the client area 200 x 73 leaves in the frame of 96 DPI, scaled, and the labels.
    const RECT frame =
        FrameForDpi(GetWindowLongA(form.Handle(), GWL_STYLE), GetWindowLongA(form.Handle(), GWL_EXSTYLE), 96);
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_NEAR(ScaleFromDesign(200 - frame.left - frame.right, dpi), client.right, dpi == 96 ? 0 : 1);
    EXPECT_NEAR(ScaleFromDesign(73 - frame.top - frame.bottom, dpi), client.bottom, dpi == 96 ? 0 : 1);
    ExpectPlaced(form.Owned<Label>("DropPromptLine1"), {8, 0, 145, 12}, dpi);
    ExpectPlaced(form.Owned<Label>("DropPromptLine2"), {8, 16, 136, 12}, dpi);
    ExpectPlaced(*form.DropMessage(), {8, 32, 186, 12}, dpi);
    const RECT shown = r;
    EXPECT_TRUE(GetWindowLongA(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    form.ToggleDropWindow();   // off: hidden, no size, no drops, same place
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(application->ShowMainForm());
    EXPECT_FALSE(GetWindowLongA(form.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    r = form.BoundsRect();
    EXPECT_EQ(300, r.left);
    EXPECT_EQ(0, r.right - r.left);

    form.ToggleDropWindow();   // and on again: back at its place with its size
    r = form.BoundsRect();
    EXPECT_EQ(300, r.left);
    EXPECT_EQ(200, r.top);
    EXPECT_EQ(shown.right, r.right);
    EXPECT_EQ(shown.bottom, r.bottom);
    EXPECT_EQ(admitted + admitted, g_admitted);

    // A refusal is reported and the other messages are still admitted; Windows without the
    // function (before 7) needs nothing; Wine has it.
    g_refuseCopyData = true;
    EXPECT_FALSE(AdmitDroppedFiles(form.Handle()));
    g_refuseCopyData = false;
    EXPECT_EQ(admitted + admitted + admitted, g_admitted);
    SetChangeWindowMessageFilterEx(nullptr);
    EXPECT_TRUE(AdmitDroppedFiles(form.Handle()));
    SetChangeWindowMessageFilterEx(system);
    EXPECT_TRUE(AdmitDroppedFiles(form.Handle()));
}

TEST_F(MainWindowTest, AValueOfTheWrongTypeIsReportedAndStartUpStillFinishes)
{
    DWORD one = 1;
    scratch_.SetString(kSettingsSection, "HOOK", "0");
    scratch_.Set(kSettingsSection, "DragDrop", REG_DWORD, &one, sizeof one);
    MainWindow& form = Start();
    std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("'DragDrop' のデータ型が不正です.", boxes[0].text);
    EXPECT_EQ("Mivtra", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    // The value counts as absent, and the rest of start-up ran.
    EXPECT_FALSE(form.DropWindowItem()->Checked());
    EXPECT_TRUE(form.TrayIconItem()->Checked());
    EXPECT_EQ(1, shell_.Count(NIM_ADD));
    EXPECT_TRUE(form.ChordReady());
}

TEST_F(MainWindowTest, AStartWhoseWindowsCannotBeMadeEndsWithOneAfterTheErrorBoxAndLeavesNoWindow)
{
    // A window class of the about box's name that is not ours: the about box cannot be made.
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA("TAboutBox", instance);
    WNDCLASSA foreign{};
    foreign.lpfnWndProc = DefWindowProcA;
    foreign.hInstance = instance;
    foreign.lpszClassName = "TAboutBox";
    ASSERT_TRUE(RegisterClassA(&foreign));
    const ScratchFolder noList;
    EXPECT_EQ(1, RunProgram(*application, scratch_.Path(), noList.Path() + "LAUNCH.INI"));
    const std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    EXPECT_EQ(nullptr, application->MainForm());
    EXPECT_EQ(nullptr, FindWindowA("TTASKM", nullptr));

    while (HWND stray = FindWindowA("TAboutBox", nullptr)) {
        DestroyWindow(stray);
    }
    UnregisterClassA("TAboutBox", instance);
    DrainQuitMessages();
}

TEST_F(MainWindowTest, AShellThatRefusesTheIconDoesNotStopStartUpAndTheIconComesWithTheTaskbar)
{
    scratch_.SetString(kSettingsSection, "DragDrop", "1");
    shell_.Refuse({NIM_ADD});
    const ScratchFolder noList;
    form_.reset(CreateProgramWindows(*application, scratch_.Path(), noList.Path() + "LAUNCH.INI"));
    MainWindow& form = *form_;
    std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("タスクトレイに登録できません.", boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), boxes[0].type & MB_ICONMASK);
    // Start-up went on to its end: all three windows, the hook, the drop window, the chord.
    EXPECT_EQ(form_.get(), application->MainForm());
    EXPECT_NE(nullptr, form.AboutBox());
    EXPECT_NE(nullptr, form.LauncherDialog());
    EXPECT_NE(nullptr, form.LaunchList());
    EXPECT_EQ(1, FakeHook::installs);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.ChordReady());
    // The icon is still wanted and comes with the taskbar.
    EXPECT_TRUE(form.TrayIcon()->Registered());
    shell_.Refuse({});
    SendMessageA(application->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_EQ(2, shell_.Count(NIM_ADD));
    EXPECT_TRUE(TakeShownBoxes().empty());
    delete form.LauncherDialog();
    delete form.LaunchList();
    delete form.AboutBox();
}

TEST_F(MainWindowTest, CloseRequestsToEitherWindowAndTheEndOfTheSessionKeepTheSettings)
{
    scratch_.SetString(kSettingsSection, "HOOK", "0");
    {
        MainWindow& form = Start();
        form.TrayIconItem()->SetChecked(false);   // as if toggled during the run
        SendMessageA(application->Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ("0", Stored("DispIcon"));
        EXPECT_EQ(1, shell_.Count(NIM_DELETE));
        form_.reset();
        DrainQuitMessages();
    }
    {
        scratch_.SetString(kSettingsSection, "DispIcon", "1");
        shell_.Clear();
        MainWindow& form = Start();
        form.DropWindowItem()->SetChecked(true);
        EXPECT_NE(0, SendMessageA(form.Handle(), WM_QUERYENDSESSION, 0, 0));
        SendMessageA(form.Handle(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ("1", Stored("DragDrop"));
        EXPECT_EQ(1, shell_.Count(NIM_DELETE));
        // A close that follows does not write or remove a second time.
        scratch_.SetString(kSettingsSection, "DragDrop", "x");
        SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ("x", Stored("DragDrop"));
        EXPECT_EQ(1, shell_.Count(NIM_DELETE));
    }
}

TEST_F(MainWindowTest, ASecondStartBringsTheTrayIconBackOnlyWhenNothingElseReachesTheProgram)
{
    // HOOK, DispIcon. The icon shows afterwards, added once in all, exactly when the chord is off.
    for (const char* c : {"00", "10", "01"}) {
        SCOPED_TRACE(c);
        scratch_.SetString(kSettingsSection, "HOOK", std::string(1, c[0]));
        scratch_.SetString(kSettingsSection, "DispIcon", std::string(1, c[1]));
        shell_.Clear();
        MainWindow& form = Start();
        SendMessageA(form.Handle(), RegisterWindowMessageA(kSecondStartMessage), 0, 0);
        EXPECT_EQ(c[0] == '0' ? 1 : 0, shell_.Count(NIM_ADD));
        EXPECT_EQ(c[0] == '0', form.TrayIconItem()->Checked());
        form_.reset();
        DrainQuitMessages();
    }
}

TEST_F(MainWindowTest, TheChordOpensTheMenuOnlyWhenReadyAndWithANonZeroWParam)
{
    scratch_.SetString(kSettingsSection, "HOOK", "0");
    MainWindow& form = Start();
    int openings = 0;
    bool readyWhileOpen = true;
    form.Menu()->OnPopup = [&](Component*) {
        ++openings;
        readyWhileOpen = form.ChordReady();
        // A second chord while the menu is open is ignored.
        SendMessageA(form.Handle(), WM_MOUSECHORD, 1, 0);
        CloseMenuWhenOpen();
    };
    SendMessageA(form.Handle(), WM_MOUSECHORD, 0, 0);
    EXPECT_EQ(0, openings);

    SendMessageA(form.Handle(), WM_MOUSECHORD, 1, 0);
    EXPECT_EQ(1, openings);
    EXPECT_FALSE(readyWhileOpen);
    EXPECT_TRUE(form.ChordReady());
}

// The window the chord is made over, at (200, 150), 400 x 300. Made once: without a window
// manager, destroying a window that was active makes Wine wait for a state change that never
// comes.
HWND ChordTarget()
{
    static HWND window = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ChordTarget";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "ChordTarget", "chord target", WS_POPUP | WS_VISIBLE, 200, 150, 400, 300,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }();
    return window;
}

TEST_F(MainWindowTest, TheChordMenuOpensAtTheChordsPointWhereverTheForegroundWindowIs)
{
    HookLibrary().getMessage = hook_.Real().getMessage;   // the real record; no hook is installed
    scratch_.SetString(kSettingsSection, "HOOK", "0");
    MainWindow& form = Start();
    POINT opened{-1000, -1000};
    form.Menu()->OnPopup = [&](Component*) {
        opened = POINT{-1000, -1000};
        CloseMenuWhenOpen([&](HWND menu) {
            RECT r{};
            if (menu && GetWindowRect(menu, &r)) {
                opened = POINT{r.left, r.top};
            }
        });
    };
    // For a chord it does not know, the hook library records the pointer's position: the pointer
    // stands where the chord would be.
    const struct {
        POINT pointer;
        POINT menu;
    } cases[] = {
        {{250, 250}, {250, 250}},   // over the foreground window
        {{120, 350}, {120, 350}},   // left of and below its corner: an offset lParam cannot carry
    };
    for (const auto& c : cases) {
        SetForegroundWindow(ChordTarget());
        ASSERT_EQ(ChordTarget(), GetForegroundWindow());
        ASSERT_TRUE(SetCursorPos(c.pointer.x, c.pointer.y));
        SendMessageA(form.Handle(), WM_MOUSECHORD, 0x7FFF0000, 0);
        EXPECT_EQ(c.menu.x, opened.x) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(c.menu.y, opened.y) << c.pointer.x << "," << c.pointer.y;
        EXPECT_TRUE(form.ChordReady());
    }
}

TEST_F(MainWindowTest, AFailedHookIsReportedEndsTheProgramAndTurnsTheChordOffForTheNextStart)
{
    FakeHook::installResult = FALSE;
    MainWindow& form = Start();
    EXPECT_EQ(1, FakeHook::installs);
    std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("フック出来ませんでした", boxes[0].text);
    EXPECT_EQ("Mivtra", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), boxes[0].type);
    EXPECT_EQ("0", Stored("HOOK"));
    EXPECT_FALSE(form.HookActive());
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the program goes on after a failed hook";
    // The rest of start-up still ran; the icon leaves with the program.
    EXPECT_EQ(1, shell_.Count(NIM_ADD));
    EXPECT_TRUE(form.ChordReady());
    form_.reset();
    EXPECT_EQ(0, FakeHook::removals);
    EXPECT_EQ(1, shell_.Count(NIM_DELETE));
}

TEST_F(MainWindowTest, TheHookInstalledAtStartIsRemovedAtCloseWhateverK6SaysThen)
{
    FakeHook::installResult = TRUE;
    MainWindow& form = Start();
    EXPECT_EQ(1, FakeHook::installs);
    EXPECT_TRUE(form.HookActive());
    SendMessageA(form.Handle(), WM_MOUSECHORD, 0, 0);   // fetched, though no menu opens
    EXPECT_EQ(1, FakeHook::fetches);
    form.ChordItem()->SetChecked(false);
    form.Close();
    EXPECT_EQ(1, FakeHook::removals);
    EXPECT_EQ("0", Stored("HOOK"));

    // The next start installs nothing and so removes nothing.
    form_.reset();
    DrainQuitMessages();
    MainWindow& next = Start();
    EXPECT_EQ(1, FakeHook::installs);
    EXPECT_FALSE(next.HookActive());
    next.Close();
    EXPECT_EQ(1, FakeHook::removals);
}

}   // namespace
