// The main window's pop-up menu: its items, what every opening rebuilds, and the commands.
#include "shell/main_window.h"

#include "components/task_tray.h"
#include "framework/application.h"
#include "framework/button.h"
#include "framework/display_dpi.h"
#include "framework/handles.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "handle_test_support.h"
#include "hook_test_support.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_list.h"
#include "launcher/launcher_dialog.h"
#include "menu_test_support.h"
#include "shell/about_box.h"
#include "solid_icon.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <exception>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// A launcher list file that does not exist: the dialog starts with an empty list.
std::string MissingLaunchFile()
{
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "menu_tests_" + std::to_string(GetCurrentProcessId()) + "_LAUNCH.INI";
}

// A shown top-level window of a class with a solid red icon, off the screen and never
// activated, for the task submenu to find.
class TaskTarget {
public:
    explicit TaskTarget(const std::string& title, bool withIcon = true)
    {
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "MenuTestTarget";
            wc.hIcon = SolidIcon(RGB(255, 0, 0));
            RegisterClassA(&wc);
            wc.lpszClassName = "MenuTestPlain";
            wc.hIcon = nullptr;
            RegisterClassA(&wc);
            return true;
        }();
        (void)registered;
        window_.Reset(CreateWindowExA(WS_EX_TOOLWINDOW, withIcon ? "MenuTestTarget" : "MenuTestPlain",
                                      title.c_str(), WS_POPUP, -3000, -3000, 50, 50, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
        ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
    }
    HWND Handle() const { return window_.Get(); }

private:
    UniqueWindow window_;
};

// A title no other window on the desktop has.
std::string UniqueTitle(const char* what)
{
    return std::string(what) + " " + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount());
}

// How many top-level windows have a class icon: each takes a picture at an opening.
int WindowsWithClassIcons()
{
    int n = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        n += GetClassLongPtrA(w, GCL_HICON) != 0;
    }
    return n;
}

std::vector<MenuItem*> TaskItemsTitled(MainWindow& form, const std::string& title)
{
    std::vector<MenuItem*> found;
    for (int i = 0; i < form.TaskSubmenu()->Count(); ++i) {
        if (form.TaskSubmenu()->Items(i)->Caption() == title) {
            found.push_back(form.TaskSubmenu()->Items(i));
        }
    }
    return found;
}

// One entry of a built menu handle, as the platform reports it.
struct BuiltItem {
    std::string text;
    UINT type;
    UINT state;
    HMENU submenu;
    HBITMAP bitmap;
};

std::vector<BuiltItem> Entries(HMENU menu)
{
    std::vector<BuiltItem> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[300] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP;
        info.dwTypeData = text;
        info.cch = sizeof text;
        EXPECT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        entries.push_back({text, info.fType, info.fState, info.hSubMenu, info.hbmpItem});
    }
    return entries;
}

COLORREF CentreColour(HBITMAP bitmap)
{
    DIBSECTION dib{};
    if (GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 32) {
        return CLR_INVALID;
    }
    DWORD pixel = static_cast<const DWORD*>(dib.dsBm.bmBits)[8 * 16 + 8];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

class MenuCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        TakeShownBoxes();
        // No mouse hook for these tests unless one asks for it.
        scratch_.SetString(kSettingsSection, "HOOK", "0");
    }
    void TearDown() override
    {
        launcher_.reset();
        list_.reset();
        aboutBox_.reset();
        form_.reset();
        DrainQuitMessages();
    }

    MainWindow& Start()
    {
        form_ = std::make_unique<MainWindow>(application, scratch_.Path());
        return *form_;
    }

    MenuItem* Item(const char* name) { return dynamic_cast<MenuItem*>(form_->FindComponent(name)); }

    // The launcher settings dialog, made as the program makes it: after the main window.
    LauncherDialog& StartLauncher()
    {
        list_ = std::make_unique<LaunchList>(nullptr, form_->LauncherSubmenu(), nullptr, MissingLaunchFile());
        form_->SetLaunchList(list_.get());
        launcher_ = std::make_unique<LauncherDialog>(application, list_.get());
        form_->SetLauncherDialog(launcher_.get());
        return *launcher_;
    }

    std::string Stored(const char* name) const { return scratch_.Stored(kSettingsSection, name); }

    bool AcceptsDrops() { return GetWindowLongA(form_->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES; }

    FakeHook hook_;
    // A press of the tray icon's left button, as the shell reports it.
    void PressTrayIcon()
    {
        HWND notify = FindWindowExA(form_->Handle(), nullptr, "TNotifyWindow", nullptr);
        ASSERT_NE(nullptr, notify);
        SendMessageA(notify, kTrayCallbackMessage, form_->TrayIcon()->IconID(), WM_LBUTTONDOWN);
    }

    FakeShell shell_;
    ScratchKey scratch_;
    std::unique_ptr<MainWindow> form_;
    std::unique_ptr<LaunchList> list_;
    std::unique_ptr<LauncherDialog> launcher_;
    std::unique_ptr<AboutBox> aboutBox_;
};

TEST_F(MenuCommandsTest, TheMenuShowsItsItemsWithTheirCaptionsAndStates)
{
    MainWindow& form = Start();
    BuiltMenu menu = form.Menu()->BuildHandle();
    std::vector<BuiltItem> top = Entries(menu.Get());
    const char* const kTop[] = {"ランチャ",
                                "タスクマネージャー",
                                "",
                                "ランチャの設定(&S)",
                                "総合設定",
                                "ヘルプ表示",
                                "",
                                "メニューを閉じる",
                                "",
                                "Mivtraについて(&A)",
                                "Mivtraを終了する(&C)"};
    ASSERT_EQ(std::size(kTop), top.size());
    for (size_t i = 0; i < top.size(); ++i) {
        EXPECT_EQ(kTop[i], top[i].text) << i;
        // Real strings, readable by screen readers: no item is drawn by its owner.
        EXPECT_FALSE(top[i].type & MFT_OWNERDRAW) << i;
        EXPECT_EQ(*kTop[i] == '\0', (top[i].type & MFT_SEPARATOR) != 0) << i;
        EXPECT_EQ(i == 0 || i == 1 || i == 4, top[i].submenu != nullptr) << i;
    }

    std::vector<BuiltItem> launch = Entries(top[0].submenu);
    ASSERT_EQ(1u, launch.size());
    EXPECT_EQ("(なし)", launch[0].text);
    EXPECT_TRUE(launch[0].state & MFS_DISABLED);
    EXPECT_EQ(0, GetMenuItemCount(top[1].submenu)) << "the task submenu is filled only when the menu opens";

    // The hidden items of the general settings never show.
    std::vector<BuiltItem> general = Entries(top[4].submenu);
    ASSERT_EQ(3u, general.size());
    EXPECT_EQ("右クリック＋左クリックで起動", general[0].text);
    EXPECT_EQ("ドラッグ＆ドロップ登録", general[1].text);
    EXPECT_EQ("タスクトレイにアイコン表示", general[2].text);
    // The check marks are the settings (the fixture stores "HOOK" off).
    EXPECT_FALSE(general[0].state & MFS_CHECKED);
    EXPECT_FALSE(general[1].state & MFS_CHECKED);
    EXPECT_TRUE(general[2].state & MFS_CHECKED);
    for (const char* hidden : {"LauncherOnlyItem", "TasksOnlyItem", "OpenOnlySeparator"}) {
        ASSERT_NE(nullptr, Item(hidden)) << hidden;
        EXPECT_FALSE(Item(hidden)->Visible()) << hidden;
        EXPECT_FALSE(Item(hidden)->Checked()) << hidden;
    }
    EXPECT_EQ("ランチャのみを開く", Item("LauncherOnlyItem")->Caption());
    EXPECT_EQ("タスクマネージャーのみを開く", Item("TasksOnlyItem")->Caption());
}

TEST_F(MenuCommandsTest, OpeningListsTheWindowsWithTheirClassIconsAsItemBitmaps)
{
    MainWindow& form = Start();
    std::string titled = UniqueTitle("menu target");
    std::string plainTitle = UniqueTitle("plain target");
    TaskTarget target(titled);
    TaskTarget plain(plainTitle, false);
    std::string hiddenTitle = UniqueTitle("hidden target");
    TaskTarget hidden(hiddenTitle);
    ShowWindow(hidden.Handle(), SW_HIDE);

    form.PrepareMenu();

    std::vector<MenuItem*> items = TaskItemsTitled(form, titled);
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ("MenuTestTarget", items[0]->Hint());
    EXPECT_GE(items[0]->ImageIndex(), 2);
    EXPECT_EQ(form.TaskSubmenu(), items[0]->Owner());
    std::vector<MenuItem*> plainItems = TaskItemsTitled(form, plainTitle);
    ASSERT_EQ(1u, plainItems.size());
    EXPECT_EQ(-1, plainItems[0]->ImageIndex());
    EXPECT_TRUE(TaskItemsTitled(form, hiddenTitle).empty());
    EXPECT_TRUE(TaskItemsTitled(form, "").empty());

    // In the menu handle the caption stays the item's text and the icon is its bitmap.
    BuiltMenu menu = form.Menu()->BuildHandle();
    HMENU tasks = GetSubMenu(menu.Get(), 1);
    int found = 0;
    for (const BuiltItem& entry : Entries(tasks)) {
        EXPECT_FALSE(entry.type & MFT_OWNERDRAW);
        if (entry.text == titled) {
            ++found;
            ASSERT_NE(nullptr, entry.bitmap);
            EXPECT_EQ(RGB(255, 0, 0), CentreColour(entry.bitmap));
            // The small-icon size of the menu's DPI: 16 at 96, 24 at 144.
            BITMAP picture{};
            GetObjectA(entry.bitmap, sizeof picture, &picture);
            EXPECT_EQ(SmallIconSize(form.Menu()->Dpi()), picture.bmWidth);
            EXPECT_EQ(SmallIconSize(form.Menu()->Dpi()), picture.bmHeight);
        } else if (entry.text == plainTitle) {
            ++found;
            EXPECT_EQ(nullptr, entry.bitmap);
        }
    }
    EXPECT_EQ(2, found);
    // The folder picture is entry 0 for the launcher's folders.
    UniqueBitmap folder(form.MenuImages()->CreateBitmap(0));
    EXPECT_NE(nullptr, folder.Get());
}

TEST_F(MenuCommandsTest, EachOpeningReplacesTheTaskItemsAndPicturesOfTheOneBefore)
{
    MainWindow& form = Start();
    // Three launcher entries whose file has an icon.
    StartLauncher();
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    for (int i = 0; i < 3; ++i) {
        EntryOf(list_->AddItemNode(-2, "entry " + std::to_string(i)))->File = program;
    }
    std::string title = UniqueTitle("ten openings");
    std::vector<std::unique_ptr<TaskTarget>> targets;
    for (int i = 0; i < 5; ++i) {
        targets.push_back(std::make_unique<TaskTarget>(title + " " + std::to_string(i)));
    }

    int firstItems = -1;
    for (int opening = 1; opening <= 10; ++opening) {
        CloseMenuWhenOpen();
        form.Menu()->Popup(10, 10);
        // The program's two pictures and one per window with a class icon, whatever the
        // openings before left; the launcher's pictures are kept in a list of their own.
        EXPECT_EQ(2 + WindowsWithClassIcons(), form.MenuImages()->Count()) << "opening " << opening;
        if (opening == 1) {
            firstItems = form.TaskSubmenu()->Count();
        }
        EXPECT_EQ(firstItems, form.TaskSubmenu()->Count()) << "opening " << opening;
    }
    ASSERT_GE(firstItems, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(1u, TaskItemsTitled(form, title + " " + std::to_string(i)).size()) << i;
    }
    for (int i = 0; i < form.TaskSubmenu()->Count(); ++i) {
        EXPECT_LT(form.TaskSubmenu()->Items(i)->ImageIndex(), form.MenuImages()->Count());
    }
}

// A minimised window whose thread stops answering, as a program that hangs, until released
// (or, should the test itself hang, after 30 s); then it handles its messages until the end.
class HungWindow {
public:
    explicit HungWindow(const std::string& title)
    {
        thread_ = std::thread([this, title] {
            TaskTarget target(title);
            ShowWindow(target.Handle(), SW_SHOWMINNOACTIVE);
            window_ = target.Handle();
            released_ = WaitForSingleObject(release_, 30000) == WAIT_OBJECT_0;
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                DispatchMessageA(&msg);
            }
        });
        while (!window_) {
            Sleep(10);
        }
    }
    ~HungWindow()
    {
        SetEvent(release_);
        PostMessageA(window_, WM_QUIT, 0, 0);   // to the window's thread, which then ends
        thread_.join();
        CloseHandle(release_);
    }
    HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);   // owned
    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> released_{false};   // by the test, not by the timeout
    std::thread thread_;
};

TEST_F(MenuCommandsTest, AProgramThatHangsHoldsUpNeitherTheChoiceOfItsWindowNorTheNextOpening)
{
    MainWindow& form = Start();
    const std::string title = UniqueTitle("hung");
    HungWindow hung(title);
    CloseMenuWhenOpen();
    form.Menu()->Popup(10, 10);
    std::vector<MenuItem*> items = TaskItemsTitled(form, title);
    ASSERT_EQ(1u, items.size());
    form.SwitchToTask(items[0]);
    CloseMenuWhenOpen();
    form.Menu()->Popup(10, 10);
    // Everything above returned while the window's thread was still stuck.
    SetEvent(hung.release_);
    EXPECT_TRUE(PumpUntil([&] { return hung.released_ && !IsIconic(hung.window_); }, 10000))
        << "restored once its program answers again";
}

TEST(HandleCountTest, SeesEachBitmapMenuAndIconLeftBehind)
{
    // The openings below compare two counts: each kind of handle they leak must move one.
    const HandleCounts start = CountHandles();
    UniqueBitmap bitmap(CreateBitmap(8, 8, 1, 1, nullptr));
    const HandleCounts withBitmap = CountHandles();
    EXPECT_EQ(start.gdiProbed + 1, withBitmap.gdiProbed);
    UniqueMenu menu(CreatePopupMenu());
    const HandleCounts withMenu = CountHandles();
    EXPECT_EQ(withBitmap.menusProbed + 1, withMenu.menusProbed);
    UniqueIcon icon(SolidIcon(RGB(1, 2, 3)));
    EXPECT_EQ(withMenu.iconsProbed + 1, CountHandles().iconsProbed);
    bitmap.Reset();
    menu.Reset();
    icon.Reset();
    EXPECT_EQ(start, CountHandles());
}

TEST_F(MenuCommandsTest, AThousandOpeningsLeaveNoHandleBehind)
{
    MainWindow& form = Start();
    StartLauncher();
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    EntryOf(list_->AddItemNode(-2, "entry"))->File = program;
    std::string title = UniqueTitle("thousand openings");
    std::vector<std::unique_ptr<TaskTarget>> targets;
    for (int i = 0; i < 5; ++i) {
        targets.push_back(std::make_unique<TaskTarget>(title + " " + std::to_string(i)));
    }
    // The first opening makes what lives on: window classes, the shell's caches.
    CloseMenuWhenOpen();
    form.Menu()->Popup(10, 10);

    const HandleCounts before = CountHandles();
    for (int opening = 0; opening < 1000 && !HasFailure(); ++opening) {
        CloseMenuWhenOpen();
        form.Menu()->Popup(10, 10);
    }
    EXPECT_EQ(before, CountHandles());
}

TEST_F(MenuCommandsTest, TheProgramsOwnWindowsAreNeverListed)
{
    scratch_.SetString(kSettingsSection, "DragDrop", "1");
    MainWindow& form = Start();
    StartLauncher();
    std::string mainTitle = UniqueTitle("main window");
    std::string applicationTitle = UniqueTitle("application window");
    std::string launcherTitle = UniqueTitle("launcher dialog");
    std::string otherTitle = UniqueTitle("not ours");
    SetWindowTextA(form.Handle(), mainTitle.c_str());
    SetWindowTextA(application->Handle(), applicationTitle.c_str());
    SetWindowTextA(launcher_->Handle(), launcherTitle.c_str());
    ShowWindow(application->Handle(), SW_SHOWNA);
    ShowWindow(launcher_->Handle(), SW_SHOWNA);
    TaskTarget other(otherTitle);
    ASSERT_TRUE(form.Visible());
    ASSERT_TRUE(IsWindowVisible(application->Handle()));

    form.PrepareMenu();
    ShowWindow(application->Handle(), SW_HIDE);
    SetWindowTextA(application->Handle(), "Mivtra");

    EXPECT_TRUE(TaskItemsTitled(form, mainTitle).empty());
    EXPECT_TRUE(TaskItemsTitled(form, applicationTitle).empty());
    EXPECT_TRUE(TaskItemsTitled(form, launcherTitle).empty());
    EXPECT_EQ(1u, TaskItemsTitled(form, otherTitle).size());
}

TEST_F(MenuCommandsTest, ChoosingATaskRestoresAMaximisedWindowInFront)
{
    MainWindow& form = Start();
    std::string title = UniqueTitle("maximised");
    TaskTarget target(title);
    SetWindowLongA(target.Handle(), GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetWindowPos(target.Handle(), nullptr, 120, 90, 300, 200,
                 SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    ShowWindow(target.Handle(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(target.Handle()));
    SetForegroundWindow(form.Handle());

    form.PrepareMenu();
    std::vector<MenuItem*> items = TaskItemsTitled(form, title);
    ASSERT_EQ(1u, items.size());
    items[0]->Click();

    EXPECT_FALSE(IsZoomed(target.Handle()));
    RECT r{};
    GetWindowRect(target.Handle(), &r);
    EXPECT_EQ(120, r.left);
    EXPECT_EQ(300, r.right - r.left);
    EXPECT_EQ(target.Handle(), GetForegroundWindow());
}

TEST_F(MenuCommandsTest, CheckMarksGoToTheRegistryAtExitAndComeBackAtTheNextStart)
{
    {
        MainWindow& form = Start();
        Item("ChordItem")->Click();   // on: the hook comes only with the next start
        EXPECT_FALSE(form.HookActive());
        Item("TrayIconItem")->Click();   // off
        Item("ExitItem")->Click();
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
    EXPECT_EQ("1", Stored("HOOK"));
    EXPECT_EQ("0", Stored("DragDrop"));
    EXPECT_EQ("0", Stored("DispIcon"));
    form_.reset();
    DrainQuitMessages();
    shell_.Clear();

    MainWindow& again = Start();
    EXPECT_TRUE(again.ChordItem()->Checked());
    EXPECT_TRUE(again.HookActive());
    EXPECT_FALSE(again.TrayIconItem()->Checked());
    EXPECT_EQ(0, shell_.Count(NIM_ADD));
    again.Close();   // takes the hook away again
}

TEST_F(MenuCommandsTest, ChordSettingToggledTwiceAsksForARestartEachTimeAndEndsAsItWas)
{
    MainWindow& form = Start();
    Item("ChordItem")->Click();
    Item("ChordItem")->Click();
    std::vector<ShownBox> boxes = TakeShownBoxes();
    ASSERT_EQ(2u, boxes.size());
    for (const ShownBox& box : boxes) {
        EXPECT_EQ("設定を有効にするために Mivtra を再起動してください。", box.text);
        EXPECT_EQ("Mivtra", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), box.type & (MB_TYPEMASK | MB_ICONMASK));
    }
    EXPECT_FALSE(form.ChordItem()->Checked());
    EXPECT_FALSE(form.HookActive());
    form.Close();
    EXPECT_EQ("0", Stored("HOOK"));
}

TEST_F(MenuCommandsTest, TrayIconOffHidesTheDropWindowAndOnShowsTheMainWindowWhateverK7Says)
{
    scratch_.SetString(kSettingsSection, "DragDrop", "1");
    MainWindow& form = Start();
    ASSERT_TRUE(form.Visible());
    ASSERT_EQ(1, shell_.Count(NIM_ADD));

    Item("TrayIconItem")->Click();
    EXPECT_FALSE(form.TrayIconItem()->Checked());
    EXPECT_FALSE(form.TrayIcon()->Registered());
    EXPECT_EQ(1, shell_.Count(NIM_DELETE));
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.DropWindowItem()->Checked());

    form.ToggleDropWindow();   // drop window off
    ASSERT_FALSE(form.DropWindowItem()->Checked());
    Item("TrayIconItem")->Click();
    EXPECT_TRUE(form.TrayIconItem()->Checked());
    EXPECT_EQ(2, shell_.Count(NIM_ADD));
    EXPECT_TRUE(form.Visible());
}

TEST_F(MenuCommandsTest, OpenOnlyItemsExcludeEachOtherAndBringTheTrayIconBack)
{
    scratch_.SetString(kSettingsSection, "DispIcon", "0");
    MainWindow& form = Start();
    MenuItem* launcherOnly = Item("LauncherOnlyItem");
    MenuItem* tasksOnly = Item("TasksOnlyItem");

    launcherOnly->Click();
    EXPECT_TRUE(launcherOnly->Checked());
    EXPECT_TRUE(form.TrayIconItem()->Checked());
    EXPECT_EQ(1, shell_.Count(NIM_ADD));
    EXPECT_TRUE(form.Visible());

    tasksOnly->Click();
    EXPECT_TRUE(tasksOnly->Checked());
    EXPECT_FALSE(launcherOnly->Checked());
    EXPECT_TRUE(form.TrayIconItem()->Checked()) << "an icon already shown stays";
    EXPECT_EQ(1, shell_.Count(NIM_ADD));

    tasksOnly->Click();
    EXPECT_FALSE(tasksOnly->Checked());
    EXPECT_FALSE(launcherOnly->Checked());
}

TEST_F(MenuCommandsTest, TheLauncherDialogHoldsBackChordsAndDropsWhileItIsOpen)
{
    scratch_.SetString(kSettingsSection, "DragDrop", "1");
    MainWindow& form = Start();
    StartLauncher();
    int openings = 0;
    form.Menu()->OnPopup = [&](Component*) {
        ++openings;
        CloseMenuWhenOpen();
    };
    ASSERT_TRUE(AcceptsDrops());

    bool readyWhileOpen = true;
    bool dropsWhileOpen = true;
    {
        ModalAction inDialog(*launcher_, [&] {
            SendMessageA(form.Handle(), WM_MOUSECHORD, 1, 0);
            // Asked for again while it shows: no second modal loop.
            try {
                form.OpenLauncherSettings();
            } catch (const std::exception& e) {
                ADD_FAILURE() << "asked for again, it raised: " << e.what();
            }
            readyWhileOpen = form.ChordReady();
            dropsWhileOpen = AcceptsDrops();
            PostMessageA(launcher_->Handle(), WM_CLOSE, 0, 0);
        });
        form.OpenLauncherSettings();
    }

    EXPECT_FALSE(readyWhileOpen);
    EXPECT_FALSE(dropsWhileOpen);
    EXPECT_EQ(0, openings) << "a chord opened the menu over the dialog";
    EXPECT_TRUE(TakeShownBoxes().empty());
    EXPECT_FALSE(launcher_->Visible());
    EXPECT_TRUE(form.ChordReady());
    EXPECT_TRUE(AcceptsDrops());

    // The activation that follows the dialog's end first: arriving while the menu opens, it
    // would cancel the menu before it shows.
    application->ProcessMessages();
    SendMessageA(form.Handle(), WM_MOUSECHORD, 1, 0);
    EXPECT_EQ(1, openings);
}

TEST_F(MenuCommandsTest, ATrayPressBringsBackADialogOpenedFromEitherMenuAndOpensNoMenuOverIt)
{
    MainWindow& form = Start();
    StartLauncher();
    aboutBox_ = std::make_unique<AboutBox>(application, nullptr);
    form.SetAboutBox(aboutBox_.get());
    int openings = 0;
    form.Menu()->OnPopup = [&](Component*) {
        ++openings;
        if (launcher_->Visible() || aboutBox_->Visible()) {
            CloseMenuWhenOpen();   // opened over a dialog: counted, and out of the way
        }
        form.PrepareMenu();
    };
    const struct {
        bool fromTray;
        char key;
        Form* dialog;
    } cases[] = {{true, 'S', launcher_.get()},
                 {false, 'S', launcher_.get()},
                 {true, 'A', aboutBox_.get()},
                 {false, 'A', aboutBox_.get()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fromTray ? "tray" : "chord") + " menu, item " + c.key);
        openings = 0;
        bool inOpener = false;
        bool shownInOpener = false;
        HWND frontBefore = nullptr;
        HWND frontAfter = nullptr;
        ModalAction inDialog(*c.dialog, [&] {
            shownInOpener = inOpener;
            // The dialog went behind another program's window.
            TaskTarget other(UniqueTitle("in front"));
            SetForegroundWindow(other.Handle());
            frontBefore = GetForegroundWindow();
            PressTrayIcon();
            frontAfter = GetForegroundWindow();
            PostMessageA(c.dialog->Handle(), WM_CLOSE, 0, 0);
        });
        {
            // The item with that access key, chosen from the menu the press or chord opens.
            ModalAction choose(
                "the menu to choose from", [] { return OpenMenuWindow() != nullptr; },
                [key = c.key] {
                    PostMessageA(OpenMenuWindow(), WM_CHAR, static_cast<unsigned char>(key), 0);
                },
                [] { EndMenu(); });
            inOpener = true;
            if (c.fromTray) {
                PressTrayIcon();
            } else {
                SendMessageA(form.Handle(), WM_MOUSECHORD, 1, 0);
            }
            inOpener = false;
        }
        application->ProcessMessages();   // the chosen command: its dialog, until closed
        EXPECT_EQ(1, openings) << "a menu opened over the dialog";
        EXPECT_FALSE(shownInOpener) << "the dialog showed while the press or chord was being handled";
        EXPECT_NE(c.dialog->Handle(), frontBefore);
        EXPECT_EQ(c.dialog->Handle(), frontAfter);
        EXPECT_FALSE(c.dialog->Visible());
    }
    // With the dialogs gone, the press opens the menu again.
    openings = 0;
    CloseMenuWhenOpen();
    PressTrayIcon();
    EXPECT_EQ(1, openings);
    EXPECT_TRUE(TakeShownBoxes().empty());
}

TEST_F(MenuCommandsTest, TheAboutBoxShowsModallyAndItsButtonOrEscapeClosesIt)
{
    MainWindow& form = Start();
    aboutBox_ = std::make_unique<AboutBox>(application, nullptr);
    form.SetAboutBox(aboutBox_.get());

    std::string caption;
    std::string buttonText;
    {
        ModalAction byButton(*aboutBox_, [&] {
            try {
                form.ShowAbout();   // again while it shows: nothing new
            } catch (const std::exception& e) {
                ADD_FAILURE() << "asked for again, it raised: " << e.what();
            }
            char text[64] = "";
            GetWindowTextA(aboutBox_->Handle(), text, sizeof text);
            caption = text;
            auto* button = dynamic_cast<Button*>(aboutBox_->FindComponent("CloseButton"));
            GetWindowTextA(button->Handle(), text, sizeof text);
            buttonText = text;
            SendMessageA(button->Handle(), BM_CLICK, 0, 0);
        });
        form.ShowAbout();
    }
    EXPECT_TRUE(TakeShownBoxes().empty());
    EXPECT_EQ("Mivtra について", caption);
    EXPECT_EQ("閉じる(&C)", buttonText);
    EXPECT_FALSE(aboutBox_->Visible());

    {
        // Should Escape not close it, the action fails the test and closes it.
        ModalAction byEscape(*aboutBox_,
                             [&] { PostMessageA(aboutBox_->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
        form.ShowAbout();
    }
    EXPECT_FALSE(aboutBox_->Visible());
}

}   // namespace
