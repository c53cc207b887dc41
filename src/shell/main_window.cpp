#include "shell/main_window.h"

#include "base/error.h"
#include "base/scope_exit.h"
#include "components/task_tray.h"
#include "forms/main_window_form.h"
#include "framework/application.h"
#include "framework/display_dpi.h"
#include "framework/icon.h"
#include "framework/image_list.h"
#include "framework/label.h"
#include "framework/popup_menu.h"
#include "hook/hook_library.h"
#include "launcher/launch_list.h"
#include "launcher/launcher_dialog.h"
#include "shell/about_box.h"
#include "shell/help_viewer.h"
#include "shell/settings.h"
#include "triggers/drop_handler.h"
#include "triggers/drop_message_filter.h"
#include "triggers/hook_functions.h"
#include "triggers/mouse_chord.h"
#include "windowlist/task_switch.h"
#include "windowlist/window_walk.h"

#include <shellapi.h>

#include <algorithm>

namespace {

// The drop window's outer size at 96 DPI while drag-and-drop registration is on.
constexpr int kDropWindowWidth = 200;
constexpr int kDropWindowHeight = 73;

// Posted to the main window for each menu command that waits for the menu's end.
constexpr UINT kRunAfterMenuMessage = WM_APP + 1;
// Posted when the taskbar came back: the tray icon is looked at once the tray component has
// put it back.
constexpr UINT kFitTrayIconMessage = WM_APP + 5;

}   // namespace

MainWindow::MainWindow(Component* owner, std::string settingsKey)
    : CommandForm(owner, main_window_form::kForm), settingsKey_(std::move(settingsKey)),
      dialogs_(Handle(), kRunAfterMenuMessage)
{
    menu_ = &Owned<PopupMenu>("PopupMenu");
    launcherSubmenu_ = Item("LauncherSubmenu");
    taskSubmenu_ = Item("TaskSubmenu");
    chordItem_ = Item("ChordItem");
    dropWindowItem_ = Item("DropWindowItem");
    trayIconItem_ = Item("TrayIconItem");
    launcherOnlyItem_ = Item("LauncherOnlyItem");
    tasksOnlyItem_ = Item("TasksOnlyItem");
    dropMessage_ = &Owned<Label>("DropMessage");
    const int pictureSize = SmallIconSize(menu_->Dpi());
    menuImages_ = new ImageList(this, pictureSize, pictureSize);
    menuImages_->SetName("MenuImages");
    menu_->SetImages(menuImages_);
    launchImages_ = new ImageList(this, pictureSize, pictureSize);
    launchImages_->SetName("LaunchImages");
    launcherSubmenu_->SetSubMenuImages(launchImages_);
    launcherSubmenu_->SetKeepHandle(true);
    SetLaunchIconSource(FileIcons::ShellIcon);

    trayIcon_ = new TaskTray(this);
    trayIcon_->SetName("TrayIcon");
    trayIcon_->SetTipString("Mivtra");
    FitTrayIcon();
    trayIcon_->SetIconID(1);
    trayIcon_->SetPopupMenuL(menu_);
    trayIcon_->SetPopupMenuR(menu_);
    trayIcon_->OnMouseDown = HandlerOf(MainCommand::BringDialogForward);
    trayIcon_->Loaded();

    dialogs_.OnShownChange = HandlerOf(MainCommand::UpdateTrayMenus);
    BindCommands(&dialogs_);
    StartUp();
}

MainWindow::~MainWindow()
{
    // The list may outlive this window: its builds no longer reach here.
    if (launchList_) {
        launchList_->OnMenuBuilt = nullptr;
    }
}

MenuItem* MainWindow::Item(const char* name) const
{
    return &Owned<MenuItem>(name);
}

void MainWindow::Run(MainCommand command, Component* sender)
{
    switch (command) {
    case MainCommand::OpenLauncherSettings:
        return OpenLauncherSettings();
    case MainCommand::ShowHelp:
        return ShowHelp();
    case MainCommand::ToggleChord:
        return ToggleChord();
    case MainCommand::ToggleDropWindow:
        return ToggleDropWindow();
    case MainCommand::ToggleTrayIcon:
        return ToggleTrayIcon();
    case MainCommand::ToggleLauncherOnly:
        return ToggleLauncherOnly();
    case MainCommand::ToggleTasksOnly:
        return ToggleTasksOnly();
    case MainCommand::ShowAbout:
        return ShowAbout();
    case MainCommand::Exit:
        return Close();
    case MainCommand::PrepareMenu:
        return PrepareMenu();
    case MainCommand::SwitchToTask:
        return SwitchToTask(sender);
    case MainCommand::BringDialogForward:
        return BringDialogForward();
    case MainCommand::UpdateTrayMenus:
        return UpdateTrayMenus();
    case MainCommand::LauncherChanged:
        return LauncherChanged();
    }
}

void MainWindow::StartUp()
{
    SetClientHeight(Scaled(30));
    ReadSettings();

    if (hookActive_ && !HookLibrary().install(Handle())) {
        hookActive_ = false;
        application->MessageBox("フック出来ませんでした");
        // The next start would fail the same way: it starts without the chord instead.
        try {
            SettingsKey(settingsKey_).WriteBool(kSettingsSection, "HOOK", false);
        } catch (const Error&) {
            application->HandleException();
        }
        application->Terminate();
    }
    if (trayIconItem_->Checked()) {
        RegisterTrayIcon();
    }
    ToggleDropWindow();
    chordReady_ = true;
}

void MainWindow::RegisterTrayIcon()
{
    try {
        trayIcon_->SetRegistered(true);
    } catch (const Error&) {
        // At log-on the taskbar often does not exist yet. The refusal is reported and start-up
        // goes on: the icon stays wanted and comes with the taskbar ("TaskbarCreated"). Any
        // other error left the icon unregistered, and the main window is not made.
        if (!trayIcon_->Registered()) {
            throw;
        }
        application->HandleException();
    }
}

void MainWindow::ReadSettings()
{
    SettingsKey settings(settingsKey_);
    // A value of the wrong type is reported and then treated as absent, so that start-up
    // finishes: otherwise the program would hold the mutex with nothing to reach it by.
    auto readInteger = [&](const char* name, int current) {
        try {
            return settings.ReadInteger(kSettingsSection, name, current);
        } catch (const Error&) {
            application->HandleException();
            return current;
        }
    };
    auto readBool = [&](const char* name, bool current) { return readInteger(name, current ? 1 : 0) != 0; };
    chordItem_->SetChecked(readBool("HOOK", chordItem_->Checked()));
    // Inverted here, toggled back by the ToggleDropWindow at the end of StartUp.
    dropWindowItem_->SetChecked(!readBool("DragDrop", dropWindowItem_->Checked()));
    trayIconItem_->SetChecked(readBool("DispIcon", trayIconItem_->Checked()));
    SetTop(readInteger("Top", Top()));
    SetLeft(readInteger("Left", Left()));
    hookActive_ = chordItem_->Checked();
}

void MainWindow::ToggleDropWindow()
{
    dropWindowItem_->SetChecked(!dropWindowItem_->Checked());
    if (dropWindowItem_->Checked()) {
        application->SetShowMainForm(true);
        Show();
        AdmitDroppedFiles(Handle());
        DragAcceptFiles(Handle(), TRUE);
        SizeDropWindow();
    } else {
        application->SetShowMainForm(false);
        Hide();
        DragAcceptFiles(Handle(), FALSE);
        SetSize(0, 0);
    }
}

void MainWindow::SizeDropWindow()
{
    // Its outer size is given at 96 DPI: the client area it leaves there is what scales, and
    // the frame is the one the system draws now.
    const RECT frame = FrameForDpi(static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)),
                                   static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE)), kDesignDpi);
    SetClientSize(Scaled(kDropWindowWidth - frame.left - frame.right),
                  Scaled(kDropWindowHeight - frame.top - frame.bottom));
}

void MainWindow::FitFrame()
{
    if (dropWindowItem_ && dropWindowItem_->Checked()) {
        SizeDropWindow();
    } else {
        SetSize(0, 0);
    }
}

void MainWindow::DpiChanged()
{
    // The taskbar shares the monitor with the main window as often as not.
    FitTrayIcon();
}

void MainWindow::FitTrayIcon()
{
    const int size = SmallIconSize(TrayDpi());
    if (!trayIcon_ || size == trayIconSize_) {
        return;
    }
    Icon picture;
    picture.SetHandle(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, size, size, 0)));
    trayIconSize_ = size;
    try {
        trayIcon_->SetIcon(&picture);
    } catch (const Error&) {
        // A shell that refuses the new picture now is starting again: the tray component puts
        // the icon back, with this picture, when the taskbar comes.
    }
}

::LaunchList* MainWindow::LaunchList() const
{
    return launchList_.Get();
}

void MainWindow::SetLaunchList(::LaunchList* list)
{
    if (launchList_) {
        launchList_->OnMenuBuilt = nullptr;
    }
    launchList_.Set(list);
    if (launchList_) {
        // Every build of its submenu (load, save, drop, reload) gives the kept submenu and its
        // pictures a new list.
        launchList_->OnMenuBuilt = HandlerOf(MainCommand::LauncherChanged);
        LauncherChanged();
    }
}

::LauncherDialog* MainWindow::LauncherDialog() const
{
    return launcherDialog_.Get();
}

void MainWindow::SetLauncherDialog(::LauncherDialog* dialog)
{
    launcherDialog_.Set(dialog);
}

::AboutBox* MainWindow::AboutBox() const
{
    return aboutBox_.Get();
}

void MainWindow::SetAboutBox(::AboutBox* aboutBox)
{
    aboutBox_.Set(aboutBox);
}

void MainWindow::UpdateTrayMenus()
{
    if (!trayIcon_) {
        return;
    }
    // Behind a modal dialog the menu's commands would act behind the dialog's back.
    PopupMenu* menu = dialogs_.Topmost() ? nullptr : menu_;
    trayIcon_->SetPopupMenuL(menu);
    trayIcon_->SetPopupMenuR(menu);
}

void MainWindow::BringDialogForward()
{
    if (Form* dialog = dialogs_.Topmost()) {
        SetForegroundWindow(dialog->Handle());
    }
}

void MainWindow::UsePictureSize(int size)
{
    menuImages_->SetSize(size, size);
    if (launchPictures_->SetPictureSize(size)) {
        LauncherChanged();
    }
}

void MainWindow::PrepareMenu()
{
    UsePictureSize(SmallIconSize(menu_->Dpi()));
    while (taskSubmenu_->Count() > 0) {
        MenuItem* item = taskSubmenu_->Items(0);
        taskSubmenu_->Delete(0);
        delete item;
    }
    FillTaskSubmenu(GetDesktopWindow());
    RecheckLaunchPictures();
}

void MainWindow::RecheckLaunchPictures()
{
    // Asking costs a moment for a long list: not on the way from the press to the menu.
    if (launchList_ && launcherSubmenu_) {
        PostMessageA(Handle(), kLaunchRecheckMessage, 0, 0);
    }
}

void MainWindow::SetLaunchIconSource(FileIcons::IconSource source, DWORD recheckPause)
{
    launchPictures_ = std::make_unique<LaunchPictures>(*launchImages_, Handle(), kLaunchPicturesMessage,
                                                       source, recheckPause);
    LauncherChanged();
}

void MainWindow::FillTaskSubmenu(HWND parent)
{
    ResetTaskPictures(*menuImages_);
    WalkWindows(parent, *menuImages_, classIcons_, OwnWindows(), [this](const TaskWindow& window) {
        AddTaskItem(window.title, window.className, window.imageIndex);
    });
}

std::vector<HWND> MainWindow::OwnWindows() const
{
    std::vector<HWND> own{Handle()};
    if (application) {
        own.push_back(application->Handle());
    }
    if (launcherDialog_) {
        own.push_back(launcherDialog_->Handle());
    }
    return own;
}

void MainWindow::AddTaskItem(const std::string& caption, const std::string& hint, int imageIndex)
{
    auto* item = new MenuItem(taskSubmenu_);
    item->SetCaption(caption);
    item->SetHint(hint);
    item->SetImageIndex(imageIndex);
    item->OnClick = HandlerOf(MainCommand::SwitchToTask);
    taskSubmenu_->Add(item);
}

void MainWindow::SwitchToTask(Component* taskItem)
{
    // The item keeps no handle: a window that went away since the menu opened is not found,
    // and choosing its item does nothing.
    if (auto* item = dynamic_cast<MenuItem*>(taskItem)) {
        SwitchToWindow(item->Hint(), item->Caption());
    }
}

void MainWindow::OpenLauncherSettings()
{
    if (!launcherDialog_ || DialogPresenter::BringBackIfShown(*launcherDialog_)) {
        return;
    }
    // However the dialog ends, the chord works again and the main window takes drops again.
    chordReady_ = false;
    DragAcceptFiles(Handle(), FALSE);
    const ScopeExit restore([this] {
        DragAcceptFiles(Handle(), TRUE);
        chordReady_ = true;
    });
    dialogs_.ShowModal(*launcherDialog_);
}

void MainWindow::ShowHelp()
{
    ShowHelpContents(Handle(), application->HelpFile(), ChooseHelpForm(CurrentHelpPlatform()));
}

void MainWindow::ToggleChord()
{
    // The hook stays as start-up left it: the new state is saved at close and used next time.
    chordItem_->SetChecked(!chordItem_->Checked());
    application->MessageBox("設定を有効にするために Mivtra を再起動してください。");
}

void MainWindow::ToggleTrayIcon()
{
    bool on = !trayIconItem_->Checked();
    trayIconItem_->SetChecked(on);
    if (trayIcon_) {
        trayIcon_->SetRegistered(on);
    }
    // Whatever the drop window setting says: the window keeps its size and place, 0 x 0 while
    // the drop window is off.
    ShowWindow(Handle(), on ? SW_SHOW : SW_HIDE);
}

void MainWindow::ToggleLauncherOnly()
{
    ToggleOpenOnly(launcherOnlyItem_, tasksOnlyItem_);
}

void MainWindow::ToggleTasksOnly()
{
    ToggleOpenOnly(tasksOnlyItem_, launcherOnlyItem_);
}

void MainWindow::ToggleOpenOnly(MenuItem* clicked, MenuItem* other)
{
    clicked->SetChecked(!clicked->Checked());
    if (clicked->Checked() && other->Checked()) {
        other->SetChecked(false);
    }
    if (!trayIconItem_->Checked()) {
        ToggleTrayIcon();
    }
}

void MainWindow::ShowAbout()
{
    if (aboutBox_ && !DialogPresenter::BringBackIfShown(*aboutBox_)) {
        dialogs_.ShowModal(*aboutBox_);
    }
}

void MainWindow::DoClose()
{
    ShutDown();
}

void MainWindow::ShutDown()
{
    if (launchList_) {
        launchList_->RescueUnsaved(true);
    }
    SaveSettingsAndRelease();
    application->Terminate();
}

void MainWindow::SaveSettingsAndRelease()
{
    if (released_) {
        return;
    }
    SettingsKey settings(settingsKey_);
    settings.WriteBool(kSettingsSection, "HOOK", chordItem_->Checked());
    settings.WriteBool(kSettingsSection, "DragDrop", dropWindowItem_->Checked());
    settings.WriteBool(kSettingsSection, "DispIcon", trayIconItem_->Checked());
    settings.WriteInteger(kSettingsSection, "TOP", Top());
    settings.WriteInteger(kSettingsSection, "LEFT", Left());
    if (hookActive_) {
        HookLibrary().remove();
    }
    if (trayIcon_) {
        trayIcon_->SetRegistered(false);
        delete trayIcon_;
        trayIcon_ = nullptr;
    }
    released_ = true;
}

void MainWindow::SecondStart()
{
    if (!trayIconItem_->Checked() && !hookActive_) {
        ToggleTrayIcon();
    }
}

LRESULT MainWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == secondStartMessage_ && message != 0) {
        SecondStart();
        return 0;
    }
    if (message == taskbarCreatedMessage_ && message != 0) {
        PostMessageA(Handle(), kFitTrayIconMessage, 0, 0);
    }
    switch (message) {
    case kFitTrayIconMessage:
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        FitTrayIcon();
        break;
    case WM_MOUSECHORD:
        MouseChord(wParam, chordReady_, {Handle(), [this](POINT at) { menu_->Popup(at.x, at.y); }});
        return 0;
    case kRunAfterMenuMessage:
        dialogs_.RunQueued();
        return 0;
    case kLaunchFileChangedMessage:
        if (launchList_) {
            launchList_->FollowFile();
        }
        return 0;
    case kLaunchPicturesMessage:
        TakeLaunchPictures();
        return 0;
    case kLaunchRecheckMessage:
        launchPictures_->Refresh();
        return 0;
    case WM_DROPFILES:
        HandleDroppedFiles(reinterpret_cast<HDROP>(wParam), launchList_.Get(), dropMessage_);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process after this message: keep the run's settings and take
        // the icon out of the tray now.
        if (wParam) {
            // No box can be answered now: the rescue copy is written without a word.
            if (launchList_) {
                launchList_->RescueUnsaved(false);
            }
            SaveSettingsAndRelease();
        }
        return 0;
    }
    return Form::WndProc(message, wParam, lParam);
}
