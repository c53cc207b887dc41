#include "shell/TTASKM.h"

#include "base/error.h"
#include "components/about_box.h"
#include "components/task_tray.h"
#include "forms/ttaskm_form.h"
#include "framework/application.h"
#include "framework/icon.h"
#include "framework/image_list.h"
#include "framework/label.h"
#include "framework/popup_menu.h"
#include "hook/chord_offset.h"
#include "hook/hook_library.h"
#include "launcher/TCONF.h"
#include "shell/settings.h"
#include "triggers/hook_functions.h"
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

// Sets a flag back however the scope is left: a chord must never stay locked out
// because a handler behind the menu raised an error.
class FlagRestorer {
public:
    explicit FlagRestorer(bool& flag) : flag_(flag) {}
    ~FlagRestorer() { flag_ = true; }
    FlagRestorer(const FlagRestorer&) = delete;
    FlagRestorer& operator=(const FlagRestorer&) = delete;

private:
    bool& flag_;
};

// Gives the main window back its drop target however the settings dialog ends.
class DropRestorer {
public:
    explicit DropRestorer(HWND window) : window_(window) {}
    ~DropRestorer() { DragAcceptFiles(window_, TRUE); }
    DropRestorer(const DropRestorer&) = delete;
    DropRestorer& operator=(const DropRestorer&) = delete;

private:
    HWND window_;
};

// The chord still opens the menu while the about box is up, so a dialog may be asked for
// again while it shows: it comes to the front instead.
bool BringBackIfShown(Form* dialog)
{
    if (!dialog->Visible())
        return false;
    SetForegroundWindow(dialog->Handle());
    return true;
}

}   // namespace

TTASKM::TTASKM(Component* owner, std::string settingsKey)
    : Form(owner, ttaskm_form::kForm), settingsKey_(std::move(settingsKey))
{
    popupMenu_ = dynamic_cast<PopupMenu*>(FindComponent("PopupMenu"));
    launch_ = Item("Launch");
    taskList_ = Item("TaskList");
    k6_ = Item("K6");
    k7_ = Item("K7");
    k8_ = Item("K8");
    n4_ = Item("N4");
    n5_ = Item("N5");
    label3_ = dynamic_cast<Label*>(FindComponent("Label3"));
    imageList_ = new ::ImageList(this);
    imageList_->SetName("ImageList");
    popupMenu_->SetImages(imageList_);
    popupMenu_->OnPopup = [this](Component* sender) { PopupMenuPopup(sender); };
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
    taskTray_->OnMouseDown = [this](Component*, TMouseButton, TShiftState, int, int) { TrayMouseDown(); };
    taskTray_->Loaded();

    BindHandlers(this, Handlers());
    // The items that show a modal dialog run their command once the menu, and the press or
    // chord that opened it, have been handled.
    for (MenuItem* item : {Item("K1"), Item("KMIVTRA1")})
        item->OnClick = [this, command = item->OnClick](Component* sender) { RunAfterMenu(command, sender); };
    FormCreate();
}

TTASKM::~TTASKM() = default;

MenuItem* TTASKM::Item(const char* name) const
{
    return dynamic_cast<MenuItem*>(FindComponent(name));
}

Span<HandlerDef<TTASKM>> TTASKM::Handlers()
{
    static constexpr HandlerDef<TTASKM> kHandlers[] = {
        {"K1Click", &TTASKM::K1Click},
        {"K2Click", &TTASKM::K2Click},
        {"K6Click", &TTASKM::K6Click},
        {"K7Click", &TTASKM::K7Click},
        {"K8Click", &TTASKM::K8Click},
        {"N4Click", &TTASKM::N4Click},
        {"N5Click", &TTASKM::N5Click},
        {"KMIVTRA1Click", &TTASKM::KMIVTRA1Click},
        {"KMIVTRA2Click", &TTASKM::KMIVTRA2Click},
    };
    return kHandlers;
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
    if (k8_->Checked())
        RegisterTrayIcon();
    K7Click(this);
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
        if (!taskTray_->Registered())
            throw;
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
    // Inverted here, toggled back by the K7Click at the end of FormCreate.
    k7_->SetChecked(!readBool("DragDrop", k7_->Checked()));
    k8_->SetChecked(readBool("DispIcon", k8_->Checked()));
    SetTop(readInteger("Top", Top()));
    SetLeft(readInteger("Left", Left()));
    hookActive_ = k6_->Checked();
}

void TTASKM::K7Click(Component*)
{
    k7_->SetChecked(!k7_->Checked());
    if (k7_->Checked()) {
        application->SetShowMainForm(true);
        ShowWindow(Handle(), SW_SHOWNORMAL);
        DragAcceptFiles(Handle(), TRUE);
        SetSize(kDropWindowWidth, kDropWindowHeight);
    } else {
        application->SetShowMainForm(false);
        Hide();
        DragAcceptFiles(Handle(), FALSE);
        SetSize(0, 0);
    }
}

void TTASKM::SetLauncher(TCONF* launcher)
{
    if (launcher_) {
        launcher_->RemoveFreeNotification(this);
        launcher_->OnMenuBuilt = nullptr;
    }
    launcher_ = launcher;
    if (launcher_) {
        launcher_->FreeNotification(this);
        launcher_->OnMenuBuilt = [this](Component*) { LauncherChanged(); };
        // The list was loaded and its submenu built before it came here.
        LauncherChanged();
    }
}

void TTASKM::SetAboutBox(TAboutBox* aboutBox)
{
    if (aboutBox_)
        aboutBox_->RemoveFreeNotification(this);
    aboutBox_ = aboutBox;
    if (aboutBox_)
        aboutBox_->FreeNotification(this);
}

void TTASKM::Notification(Component* component, Operation operation)
{
    Form::Notification(component, operation);
    if (operation != Operation::Remove)
        return;
    if (component == launcher_)
        launcher_ = nullptr;
    if (component == aboutBox_)
        aboutBox_ = nullptr;
}

void TTASKM::RunAfterMenu(const NotifyEvent& command, Component* sender)
{
    afterMenu_.push_back([command, sender] { command(sender); });
    if (!PostMessageA(Handle(), kRunAfterMenuMessage, 0, 0)) {
        // A full queue: better the command now than never.
        afterMenu_.pop_back();
        command(sender);
    }
}

void TTASKM::RunCommandAfterMenu()
{
    if (afterMenu_.empty())
        return;
    std::function<void()> command = std::move(afterMenu_.front());
    afterMenu_.pop_front();
    command();
}

void TTASKM::ShowDialog(Form& dialog)
{
    shownDialogs_.push_back(&dialog);
    UpdateTrayMenus();
    struct Shown {
        TTASKM& self;
        Form* dialog;
        ~Shown()
        {
            auto& shown = self.shownDialogs_;
            shown.erase(std::remove(shown.begin(), shown.end(), dialog), shown.end());
            self.UpdateTrayMenus();
        }
    } shown{*this, &dialog};
    dialog.ShowModal();
}

void TTASKM::UpdateTrayMenus()
{
    if (!taskTray_)
        return;
    // Behind a modal dialog the menu's commands would act behind the dialog's back.
    PopupMenu* menu = shownDialogs_.empty() ? popupMenu_ : nullptr;
    taskTray_->SetPopupMenuL(menu);
    taskTray_->SetPopupMenuR(menu);
}

void TTASKM::TrayMouseDown()
{
    if (!shownDialogs_.empty())
        SetForegroundWindow(shownDialogs_.back()->Handle());
}

void TTASKM::PopupMenuPopup(Component*)
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
    if (launcher_ && launch_)
        PostMessageA(Handle(), kLaunchRecheckMessage, 0, 0);
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
    if (application)
        own.push_back(application->Handle());
    if (launcher_)
        own.push_back(launcher_->Handle());
    return own;
}

void TTASKM::AddToTask(const std::string& caption, const std::string& hint, int imageIndex)
{
    auto* item = new MenuItem(taskList_);
    item->SetCaption(caption);
    item->SetHint(hint);
    item->SetImageIndex(imageIndex);
    item->OnClick = [this](Component* sender) { TaskClick(sender); };
    taskList_->Add(item);
}

void TTASKM::TaskClick(Component* sender)
{
    // The item keeps no handle: a window that went away since the menu opened is not found,
    // and choosing its item does nothing.
    if (auto* item = dynamic_cast<MenuItem*>(sender))
        SwitchToWindow(item->Hint(), item->Caption());
}

void TTASKM::K1Click(Component*)
{
    if (!launcher_ || BringBackIfShown(launcher_))
        return;
    chordReady_ = false;
    FlagRestorer ready(chordReady_);
    DragAcceptFiles(Handle(), FALSE);
    DropRestorer drops(Handle());
    ShowDialog(*launcher_);
}

void TTASKM::K2Click(Component*)
{
    WinHelpA(Handle(), application->HelpFile().c_str(), HELP_FINDER, 0);
}

void TTASKM::K6Click(Component*)
{
    // The hook stays as start-up left it: the new state is saved at close and used next time.
    k6_->SetChecked(!k6_->Checked());
    application->MessageBox("設定を有効にするために Mivtra を再起動してください。");
}

void TTASKM::K8Click(Component*)
{
    bool on = !k8_->Checked();
    k8_->SetChecked(on);
    if (taskTray_)
        taskTray_->SetRegistered(on);
    // Whatever K7 says: the window keeps its size and place, 0 x 0 while the drop window is off.
    ShowWindow(Handle(), on ? SW_SHOW : SW_HIDE);
}

void TTASKM::N4Click(Component*)
{
    ToggleOpenOnly(n4_, n5_);
}

void TTASKM::N5Click(Component*)
{
    ToggleOpenOnly(n5_, n4_);
}

void TTASKM::ToggleOpenOnly(MenuItem* clicked, MenuItem* other)
{
    clicked->SetChecked(!clicked->Checked());
    if (clicked->Checked() && other->Checked())
        other->SetChecked(false);
    if (!k8_->Checked())
        K8Click(k8_);
}

void TTASKM::KMIVTRA1Click(Component*)
{
    if (aboutBox_ && !BringBackIfShown(aboutBox_))
        ShowDialog(*aboutBox_);
}

void TTASKM::KMIVTRA2Click(Component*)
{
    Close();
}

void TTASKM::DoClose()
{
    FormClose();
}

void TTASKM::FormClose()
{
    SaveSettingsAndRelease();
    application->Terminate();
}

void TTASKM::SaveSettingsAndRelease()
{
    if (released_)
        return;
    SettingsKey settings(settingsKey_);
    settings.WriteBool(kSettingsSection, "HOOK", k6_->Checked());
    settings.WriteBool(kSettingsSection, "DragDrop", k7_->Checked());
    settings.WriteBool(kSettingsSection, "DispIcon", k8_->Checked());
    settings.WriteInteger(kSettingsSection, "TOP", Top());
    settings.WriteInteger(kSettingsSection, "LEFT", Left());
    if (hookActive_)
        HookLibrary().remove();
    if (taskTray_) {
        taskTray_->SetRegistered(false);
        delete taskTray_;
        taskTray_ = nullptr;
    }
    released_ = true;
}

void TTASKM::WMMouseChord(WPARAM wParam)
{
    MSG record{};
    HookLibrary().getMessage(&record, wParam);
    if (!chordReady_ || wParam == 0)
        return;
    chordReady_ = false;
    FlagRestorer ready(chordReady_);

    ChordOffset offset = SplitChordOffset(static_cast<std::int32_t>(record.lParam));
    RECT foreground{};
    HWND window = GetForegroundWindow();
    if (!window || !GetWindowRect(window, &foreground))
        foreground = RECT{};
    SetForegroundWindow(Handle());
    popupMenu_->Popup(foreground.left + offset.x, foreground.top + offset.y);
}

LRESULT TTASKM::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSECHORD:
        WMMouseChord(wParam);
        return 0;
    case kRunAfterMenuMessage:
        RunCommandAfterMenu();
        return 0;
    case kLaunchPicturesMessage:
        TakeLaunchPictures();
        return 0;
    case kLaunchRecheckMessage:
        launchPictures_->Refresh();
        return 0;
    case WM_DROPFILES:
        WMDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process after this message: keep the run's settings and take
        // the icon out of the tray now.
        if (wParam)
            SaveSettingsAndRelease();
        return 0;
    }
    return Form::WndProc(message, wParam, lParam);
}
