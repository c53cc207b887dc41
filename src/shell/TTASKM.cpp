#include "shell/TTASKM.h"

#include "base/error.h"
#include "base/scope_exit.h"
#include "components/task_tray.h"
#include "forms/ttaskm_form.h"
#include "framework/application.h"
#include "framework/icon.h"
#include "framework/image_list.h"
#include "framework/label.h"
#include "framework/popup_menu.h"
#include "hook/hook_library.h"
#include "launcher/TCONF.h"
#include "launcher/launch_list.h"
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

// The drop window's outer size while drag-and-drop registration is on.
constexpr int kDropWindowWidth = 200;
constexpr int kDropWindowHeight = 73;

// Posted to the main window for each menu command that waits for the menu's end.
constexpr UINT kRunAfterMenuMessage = WM_APP + 1;

}   // namespace

TTASKM::TTASKM(Component* owner, std::string settingsKey)
    : CommandForm(owner, ttaskm_form::kForm), settingsKey_(std::move(settingsKey)),
      dialogs_(Handle(), kRunAfterMenuMessage)
{
    popupMenu_ = &Owned<PopupMenu>("PopupMenu");
    launch_ = Item("Launch");
    taskList_ = Item("TaskList");
    k6_ = Item("K6");
    k7_ = Item("K7");
    k8_ = Item("K8");
    n4_ = Item("N4");
    n5_ = Item("N5");
    label3_ = &Owned<Label>("Label3");
    imageList_ = new ::ImageList(this);
    imageList_->SetName("ImageList");
    popupMenu_->SetImages(imageList_);
    launchImages_ = new ::ImageList(this);
    launchImages_->SetName("LaunchImages");
    launch_->SetSubMenuImages(launchImages_);
    launch_->SetKeepHandle(true);
    SetLaunchIconSource(FileIcons::ShellIcon);

    taskTray_ = new TTaskTray(this);
    taskTray_->SetName("TaskTray");
    taskTray_->SetTipString("Mivtra");
    Icon trayIcon;
    trayIcon.SetHandle(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    taskTray_->SetIcon(&trayIcon);
    taskTray_->SetIconID(1);
    taskTray_->SetPopupMenuL(popupMenu_);
    taskTray_->SetPopupMenuR(popupMenu_);
    taskTray_->OnMouseDown = HandlerOf(MainCommand::BringDialogForward);
    taskTray_->Loaded();

    dialogs_.OnShownChange = HandlerOf(MainCommand::UpdateTrayMenus);
    BindCommands(&dialogs_);
    FormCreate();
}

TTASKM::~TTASKM()
{
    // The list may outlive this window: its builds no longer reach here.
    if (launchList_) {
        launchList_->OnMenuBuilt = nullptr;
    }
}

MenuItem* TTASKM::Item(const char* name) const
{
    return &Owned<MenuItem>(name);
}

void TTASKM::Run(MainCommand command, Component* sender)
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

void TTASKM::FormCreate()
{
    SetClientHeight(30);
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
    if (k8_->Checked()) {
        RegisterTrayIcon();
    }
    ToggleDropWindow();
    chordReady_ = true;
}

void TTASKM::RegisterTrayIcon()
{
    try {
        taskTray_->SetRegistered(true);
    } catch (const Error&) {
        // At log-on the taskbar often does not exist yet. The refusal is reported and start-up
        // goes on: the icon stays wanted and comes with the taskbar ("TaskbarCreated"). Any
        // other error left the icon unregistered, and the main window is not made.
        if (!taskTray_->Registered()) {
            throw;
        }
        application->HandleException();
    }
}

void TTASKM::ReadSettings()
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
    k6_->SetChecked(readBool("HOOK", k6_->Checked()));
    // Inverted here, toggled back by the ToggleDropWindow at the end of FormCreate.
    k7_->SetChecked(!readBool("DragDrop", k7_->Checked()));
    k8_->SetChecked(readBool("DispIcon", k8_->Checked()));
    SetTop(readInteger("Top", Top()));
    SetLeft(readInteger("Left", Left()));
    hookActive_ = k6_->Checked();
}

void TTASKM::ToggleDropWindow()
{
    k7_->SetChecked(!k7_->Checked());
    if (k7_->Checked()) {
        application->SetShowMainForm(true);
        ShowWindow(Handle(), SW_SHOWNORMAL);
        AdmitDroppedFiles(Handle());
        DragAcceptFiles(Handle(), TRUE);
        SetSize(kDropWindowWidth, kDropWindowHeight);
    } else {
        application->SetShowMainForm(false);
        Hide();
        DragAcceptFiles(Handle(), FALSE);
        SetSize(0, 0);
    }
}

::LaunchList* TTASKM::LaunchList() const
{
    return launchList_.Get();
}

void TTASKM::SetLaunchList(::LaunchList* list)
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

TCONF* TTASKM::LauncherDialog() const
{
    return launcherDialog_.Get();
}

void TTASKM::SetLauncherDialog(TCONF* dialog)
{
    launcherDialog_.Set(dialog);
}

TAboutBox* TTASKM::AboutBox() const
{
    return aboutBox_.Get();
}

void TTASKM::SetAboutBox(TAboutBox* aboutBox)
{
    aboutBox_.Set(aboutBox);
}

void TTASKM::UpdateTrayMenus()
{
    if (!taskTray_) {
        return;
    }
    // Behind a modal dialog the menu's commands would act behind the dialog's back.
    PopupMenu* menu = dialogs_.Topmost() ? nullptr : popupMenu_;
    taskTray_->SetPopupMenuL(menu);
    taskTray_->SetPopupMenuR(menu);
}

void TTASKM::BringDialogForward()
{
    if (Form* dialog = dialogs_.Topmost()) {
        SetForegroundWindow(dialog->Handle());
    }
}

void TTASKM::PrepareMenu()
{
    while (taskList_->Count() > 0) {
        MenuItem* item = taskList_->Items(0);
        taskList_->Delete(0);
        delete item;
    }
    SearchWindows(GetDesktopWindow());
    GetLaunchIcon();
}

void TTASKM::GetLaunchIcon()
{
    // Asking costs a moment for a long list: not on the way from the press to the menu.
    if (launchList_ && launch_) {
        PostMessageA(Handle(), kLaunchRecheckMessage, 0, 0);
    }
}

void TTASKM::SetLaunchIconSource(FileIcons::IconSource source, DWORD recheckPause)
{
    launchPictures_ = std::make_unique<LaunchPictures>(*launchImages_, Handle(), kLaunchPicturesMessage,
                                                       source, recheckPause);
    LauncherChanged();
}

void TTASKM::SearchWindows(HWND parent)
{
    ResetTaskPictures(*imageList_);
    WalkWindows(parent, *imageList_, classIcons_, OwnWindows(), [this](const TaskWindow& window) {
        AddToTask(window.title, window.className, window.imageIndex);
    });
}

std::vector<HWND> TTASKM::OwnWindows() const
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

void TTASKM::AddToTask(const std::string& caption, const std::string& hint, int imageIndex)
{
    auto* item = new MenuItem(taskList_);
    item->SetCaption(caption);
    item->SetHint(hint);
    item->SetImageIndex(imageIndex);
    item->OnClick = HandlerOf(MainCommand::SwitchToTask);
    taskList_->Add(item);
}

void TTASKM::SwitchToTask(Component* taskItem)
{
    // The item keeps no handle: a window that went away since the menu opened is not found,
    // and choosing its item does nothing.
    if (auto* item = dynamic_cast<MenuItem*>(taskItem)) {
        SwitchToWindow(item->Hint(), item->Caption());
    }
}

void TTASKM::OpenLauncherSettings()
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

void TTASKM::ShowHelp()
{
    ShowHelpContents(Handle(), application->HelpFile(), ChooseHelpForm(CurrentHelpPlatform()));
}

void TTASKM::ToggleChord()
{
    // The hook stays as start-up left it: the new state is saved at close and used next time.
    k6_->SetChecked(!k6_->Checked());
    application->MessageBox("設定を有効にするために Mivtra を再起動してください。");
}

void TTASKM::ToggleTrayIcon()
{
    bool on = !k8_->Checked();
    k8_->SetChecked(on);
    if (taskTray_) {
        taskTray_->SetRegistered(on);
    }
    // Whatever the drop window setting says: the window keeps its size and place, 0 x 0 while
    // the drop window is off.
    ShowWindow(Handle(), on ? SW_SHOW : SW_HIDE);
}

void TTASKM::ToggleLauncherOnly()
{
    ToggleOpenOnly(n4_, n5_);
}

void TTASKM::ToggleTasksOnly()
{
    ToggleOpenOnly(n5_, n4_);
}

void TTASKM::ToggleOpenOnly(MenuItem* clicked, MenuItem* other)
{
    clicked->SetChecked(!clicked->Checked());
    if (clicked->Checked() && other->Checked()) {
        other->SetChecked(false);
    }
    if (!k8_->Checked()) {
        ToggleTrayIcon();
    }
}

void TTASKM::ShowAbout()
{
    if (aboutBox_ && !DialogPresenter::BringBackIfShown(*aboutBox_)) {
        dialogs_.ShowModal(*aboutBox_);
    }
}

void TTASKM::DoClose()
{
    FormClose();
}

void TTASKM::FormClose()
{
    if (launchList_) {
        launchList_->RescueUnsaved(true);
    }
    SaveSettingsAndRelease();
    application->Terminate();
}

void TTASKM::SaveSettingsAndRelease()
{
    if (released_) {
        return;
    }
    SettingsKey settings(settingsKey_);
    settings.WriteBool(kSettingsSection, "HOOK", k6_->Checked());
    settings.WriteBool(kSettingsSection, "DragDrop", k7_->Checked());
    settings.WriteBool(kSettingsSection, "DispIcon", k8_->Checked());
    settings.WriteInteger(kSettingsSection, "TOP", Top());
    settings.WriteInteger(kSettingsSection, "LEFT", Left());
    if (hookActive_) {
        HookLibrary().remove();
    }
    if (taskTray_) {
        taskTray_->SetRegistered(false);
        delete taskTray_;
        taskTray_ = nullptr;
    }
    released_ = true;
}

void TTASKM::SecondStart()
{
    if (!k8_->Checked() && !hookActive_) {
        ToggleTrayIcon();
    }
}

LRESULT TTASKM::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == secondStartMessage_ && message != 0) {
        SecondStart();
        return 0;
    }
    switch (message) {
    case WM_MOUSECHORD:
        MouseChord(wParam, chordReady_, {Handle(), [this](POINT at) { popupMenu_->Popup(at.x, at.y); }});
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
        HandleDroppedFiles(reinterpret_cast<HDROP>(wParam), launchList_.Get(), label3_);
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
