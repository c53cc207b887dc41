#include "shell/TTASKM.h"

#include "base/error.h"
#include "components/task_tray.h"
#include "forms/ttaskm_form.h"
#include "framework/application.h"
#include "framework/icon.h"
#include "framework/image_list.h"
#include "framework/label.h"
#include "framework/popup_menu.h"
#include "hook/hook_library.h"
#include "shell/settings.h"
#include "triggers/chord_offset.h"

#include <shellapi.h>

namespace {

// The drop window's outer size while drag-and-drop registration is on.
constexpr int kDropWindowWidth = 200;
constexpr int kDropWindowHeight = 73;

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

} // namespace

TTASKM::TTASKM(Component* owner, std::string settingsKey)
    : Form(owner, ttaskm_form::kForm), settingsKey_(std::move(settingsKey))
{
    popupMenu_ = dynamic_cast<PopupMenu*>(FindComponent("PopupMenu"));
    launch_ = Item("Launch");
    taskList_ = Item("TaskList");
    k6_ = Item("K6");
    k7_ = Item("K7");
    k8_ = Item("K8");
    label3_ = dynamic_cast<Label*>(FindComponent("Label3"));
    imageList_ = new ::ImageList(this);
    imageList_->SetName("ImageList");
    popupMenu_->SetImages(imageList_);

    taskTray_ = new TTaskTray(this);
    taskTray_->SetName("TaskTray");
    taskTray_->SetTipString("Mivtra");
    Icon trayIcon;
    trayIcon.SetHandle(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), 0)));
    taskTray_->SetIcon(&trayIcon);
    taskTray_->SetIconID(1);
    taskTray_->SetPopupMenuL(popupMenu_);
    taskTray_->SetPopupMenuR(popupMenu_);
    taskTray_->Loaded();

    BindHandlers();
    FormCreate();
}

TTASKM::~TTASKM() = default;

MenuItem* TTASKM::Item(const char* name) const
{
    return dynamic_cast<MenuItem*>(FindComponent(name));
}

NotifyEvent TTASKM::FindHandler(const char* name)
{
    using Handler = void (TTASKM::*)(Component*);
    static const struct {
        const char* name;
        Handler handler;
    } kHandlers[] = {
        {"K7Click", &TTASKM::K7Click},
        {"KMIVTRA2Click", &TTASKM::KMIVTRA2Click},
    };
    for (const auto& entry : kHandlers)
        if (std::string_view(entry.name) == name)
            return [this, handler = entry.handler](Component* sender) { (this->*handler)(sender); };
    return {};
}

void TTASKM::FormCreate()
{
    SetClientHeight(30);
    ReadSettings();

    if (hookActive_ && !InstallHook(Handle())) {
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
        taskTray_->SetRegistered(true);
    K7Click(this);
    chordReady_ = true;
}

void TTASKM::ReadSettings()
{
    SettingsKey settings(settingsKey_);
    // A value of the wrong type is reported and then treated as absent, so that start-up
    // finishes: otherwise the program would hold the mutex with nothing to reach it by.
    auto readBool = [&](const char* name, bool current) {
        try {
            return settings.ReadBool(kSettingsSection, name, current);
        } catch (const Error&) {
            application->HandleException();
            return current;
        }
    };
    auto readInteger = [&](const char* name, int current) {
        try {
            return settings.ReadInteger(kSettingsSection, name, current);
        } catch (const Error&) {
            application->HandleException();
            return current;
        }
    };
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
        RemoveHook();
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
    GetHookMessage(&record, wParam);
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
