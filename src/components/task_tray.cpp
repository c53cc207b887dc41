#include "components/task_tray.h"

#include "base/error.h"
#include "base/integer.h"
#include "base/scope_exit.h"
#include "base/sjis.h"
#include "components/notify_window.h"
#include "framework/application.h"
#include "framework/form.h"
#include "framework/popup_menu.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The record's first form: the shell reads no further than the tip, whatever the headers
// say the structure holds today.
constexpr DWORD kRecordSize = 88;
constexpr std::size_t kTipBytes = 64;
static_assert(offsetof(NOTIFYICONDATAA, szTip) + kTipBytes == kRecordSize,
              "the first form of NOTIFYICONDATAA ends with a 64-byte tip");
static_assert(sizeof(NOTIFYICONDATAA{}.szTip) >= kTipBytes, "the tip field holds 64 bytes");

struct RegistryEntry {
    std::string idText;    // the decimal text of the icon ID
    TaskTray* component;   // not owned
};

// Maps the ID in a shell notification to its component, in the order the entries came.
std::vector<RegistryEntry>& Registry()
{
    static std::vector<RegistryEntry> registry;
    return registry;
}

bool HasEntry(const std::string& idText)
{
    const auto& registry = Registry();
    return std::any_of(registry.begin(), registry.end(),
                       [&](const RegistryEntry& entry) { return entry.idText == idText; });
}

TaskTray* ComponentHolding(const std::string& idText)
{
    for (const RegistryEntry& entry : Registry()) {
        if (entry.idText == idText) {
            return entry.component;
        }
    }
    return nullptr;
}

RegistryEntry* EntryOf(const TaskTray* component)
{
    for (RegistryEntry& entry : Registry()) {
        if (entry.component == component) {
            return &entry;
        }
    }
    return nullptr;
}

// The ID after the last entry's. An ID changed by hand may already hold it, and two
// components with one ID would fight over one icon, so the search goes on to a free one.
std::int32_t NextIconId()
{
    const auto& registry = Registry();
    if (registry.empty()) {
        return 1;
    }
    std::int64_t id = std::int64_t{ParseIntegerOr(registry.back().idText, 0)} + 1;
    for (;; ++id) {
        if (id > std::numeric_limits<std::int32_t>::max()) {
            id = 1;
        }
        if (!HasEntry(IntegerText(id))) {
            return static_cast<std::int32_t>(id);
        }
    }
}

NotifyWindow* g_messageWindow = nullptr;   // owned by the owner it was made for
bool g_dispatching = false;
TaskTray::ShellNotifyIconFunction g_shellNotifyIcon = ::Shell_NotifyIconA;

// Broadcast to top-level windows when the shell's taskbar starts again: its icons are gone.
UINT TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

// Posted to the application window when icons lost their message window, so that they
// are added again once the destruction in progress has ended.
UINT AddAgainMessage()
{
    static const UINT message = RegisterWindowMessageA("TTaskTray.AddAgain");
    return message;
}

}   // namespace

TaskTray::TaskTray(Component* owner) : Component(owner), iconId_(NextIconId())
{
    Registry().push_back({IntegerText(iconId_), this});
    icon_.OnChange = [this] { IconChanged(); };
    if (application) {
        hookedApplication_ = application;
        hookId_ = application->HookMainWindow(
            [this](UINT message, WPARAM, LPARAM, LRESULT&) { return MainWindowMessage(message); });
    }
}

TaskTray::~TaskTray()
{
    *alive_ = false;
    if (hookId_ != 0 && application == hookedApplication_) {
        application->UnhookMainWindow(hookId_);
    }
    RemoveIcon();
    auto& registry = Registry();
    registry.erase(std::remove_if(registry.begin(), registry.end(),
                                  [this](const RegistryEntry& entry) { return entry.component == this; }),
                   registry.end());
}

TaskTray::ShellNotifyIconFunction TaskTray::SetShellNotifyIcon(ShellNotifyIconFunction function)
{
    ShellNotifyIconFunction previous = g_shellNotifyIcon;
    g_shellNotifyIcon = function ? function : ::Shell_NotifyIconA;
    return previous;
}

void TaskTray::Loaded()
{
    if (!Designing()) {
        UpdateIcon();
    }
    Component::Loaded();
}

void TaskTray::RemoveIcon()
{
    if (added_) {
        g_shellNotifyIcon(NIM_DELETE, &record_);   // a refused delete leaves nothing to do
    }
    added_ = false;
    registered_ = false;
}

void TaskTray::WriteTip()
{
    std::string_view tip = CutAtCharBoundary(tipString_, kTipBytes - 1);
    std::memset(record_.szTip, 0, kTipBytes);
    std::memcpy(record_.szTip, tip.data(), tip.size());
}

void TaskTray::UpdateIcon()
{
    if (Designing() || !registered_) {
        return;
    }
    if (!g_messageWindow) {
        g_messageWindow = new NotifyWindow(Owner() ? Owner() : application);
    }
    if (!added_) {
        record_.cbSize = kRecordSize;
        record_.hWnd = g_messageWindow->Handle();
        record_.uCallbackMessage = kTrayCallbackMessage;
    }
    record_.uID = static_cast<UINT>(iconId_);
    record_.uFlags = NIF_MESSAGE | NIF_ICON | (tipString_.empty() ? 0u : NIF_TIP);
    record_.hIcon = icon_.Handle();   // not given away: the shell copies it
    WriteTip();
    if (!g_shellNotifyIcon(added_ ? NIM_MODIFY : NIM_ADD, &record_)) {
        throw InvalidOperation("タスクトレイに登録できません");
    }
    added_ = true;
}

void TaskTray::IconChanged()
{
    UpdateIcon();
}

PopupMenu* TaskTray::PopupMenuL() const
{
    return popupMenuL_.Get();
}

void TaskTray::SetPopupMenuL(PopupMenu* menu)
{
    popupMenuL_.Set(menu);
}

PopupMenu* TaskTray::PopupMenuR() const
{
    return popupMenuR_.Get();
}

void TaskTray::SetPopupMenuR(PopupMenu* menu)
{
    popupMenuR_.Set(menu);
}

void TaskTray::SetTipString(std::string tip)
{
    if (tip == tipString_) {
        return;
    }
    tipString_ = std::move(tip);
    UpdateIcon();
}

void TaskTray::SetIcon(const ::Icon* icon)
{
    if (icon == &icon_) {
        return;
    }
    if (icon) {
        icon_.Assign(*icon);
        UpdateIcon();
        return;
    }
    // Emptying the image modifies a shown icon on the way; the icon leaves the tray even
    // when the shell refuses that modification.
    try {
        icon_.Clear();
    } catch (...) {
        RemoveIcon();
        throw;
    }
    RemoveIcon();
}

void TaskTray::SetIconID(std::int32_t id)
{
    if (id < 1) {
        throw InvalidOperation("0以下は指定できません");
    }
    if (id == iconId_) {
        return;
    }
    const std::string idText = IntegerText(id);
    if (HasEntry(idText)) {
        throw InvalidOperation("同じアイコン識別子が有ります");
    }
    if (registered_) {
        RemoveIcon();   // the icon leaves the tray under its old ID
        registered_ = true;
    }
    iconId_ = id;
    if (RegistryEntry* entry = EntryOf(this)) {
        entry->idText = idText;
    }
    UpdateIcon();
}

void TaskTray::SetRegistered(bool registered)
{
    if (registered == registered_) {
        return;
    }
    if (registered) {
        if (icon_.Empty()) {
            throw InvalidOperation("アイコンが指定されていません");
        }
        registered_ = true;
        UpdateIcon();
    } else {
        RemoveIcon();
    }
    registered_ = registered;
}

void TaskTray::DblClick(MouseButton button)
{
    // A copy: the handler may destroy this component, and the handler with it.
    if (DoubleClickEvent handler = OnDblClick) {
        handler(this, button);
    }
}

void TaskTray::MouseDown(MouseButton button, ShiftState shift, int x, int y)
{
    std::shared_ptr<bool> alive = alive_;
    if (auto* form = dynamic_cast<Form*>(Owner())) {
        // A menu tracked for a window that is not in the foreground does not close when the
        // user clicks elsewhere.
        SetForegroundWindow(form->Handle());
        if (application) {
            application->ProcessMessages();
        }
        if (!*alive) {
            return;
        }
    }
    if (MouseButtonEvent handler = OnMouseDown) {
        handler(this, button, shift, x, y);
        if (!*alive) {
            return;
        }
    }
    if (button == mbLeft && popupMenuL_) {
        popupMenuL_->Popup(x, y);
        if (!*alive) {
            return;
        }
    }
    if (button == mbRight && popupMenuR_) {
        popupMenuR_->Popup(x, y);
    }
}

void TaskTray::MouseMove(int x, int y)
{
    if (MouseMoveEvent handler = OnMouseMove) {
        handler(this, 0, x, y);
    }
}

void TaskTray::MouseUp(MouseButton button, ShiftState shift, int x, int y)
{
    if (MouseButtonEvent handler = OnMouseUp) {
        handler(this, button, shift, x, y);
    }
}

void TaskTray::Dispatch(WPARAM id, LPARAM mouseMessage)
{
    POINT cursor{};
    GetCursorPos(&cursor);
    TaskTray* tray = ComponentHolding(IntegerText(static_cast<UINT>(id)));
    if (!tray) {
        return;
    }
    // Menus and the message processing before them re-enter the message loop; whatever
    // the shell reports meanwhile is dropped, not queued.
    if (g_dispatching) {
        return;
    }
    g_dispatching = true;
    const ScopeExit dispatched([] { g_dispatching = false; });
    const int x = cursor.x;
    const int y = cursor.y;
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        tray->MouseMove(x, y);
        break;
    case WM_LBUTTONDOWN:
        tray->MouseDown(mbLeft, ssLeft, x, y);
        break;
    case WM_LBUTTONUP:
        tray->MouseUp(mbLeft, ssLeft, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        tray->DblClick(mbLeft);
        break;
    case WM_RBUTTONDOWN:
        tray->MouseDown(mbRight, ssRight, x, y);
        break;
    case WM_RBUTTONUP:
        tray->MouseUp(mbRight, ssRight, x, y);
        break;
    case WM_RBUTTONDBLCLK:
        tray->DblClick(mbRight);
        break;
    case WM_MBUTTONDOWN:
        tray->MouseDown(mbMiddle, ssMiddle, x, y);
        break;
    case WM_MBUTTONUP:
        tray->MouseUp(mbMiddle, ssMiddle, x, y);
        break;
    default:   // the middle button's double click included
        break;
    }
}

void TaskTray::MessageWindowDestroyed(NotifyWindow* window)
{
    if (window != g_messageWindow) {
        return;
    }
    g_messageWindow = nullptr;
    // Icons added through this window would no longer reach any component. Components that
    // outlive it get their icons back, under a new window, once the destruction in progress
    // is over; those that go with it find nothing left to remove.
    bool moved = false;
    for (const RegistryEntry& entry : Registry()) {
        TaskTray* tray = entry.component;
        if (tray->added_) {
            g_shellNotifyIcon(NIM_DELETE, &tray->record_);
            tray->added_ = false;
            moved = true;
        }
    }
    if (moved && application && application->Handle()) {
        PostMessageA(application->Handle(), AddAgainMessage(), 0, 0);
    }
}

bool TaskTray::MainWindowMessage(UINT message)
{
    if (message == TaskbarCreatedMessage()) {
        // The shell started again without the icons it had.
        if (registered_) {
            added_ = false;
            AddAgain();
        }
    } else if (message == AddAgainMessage()) {
        if (registered_ && !added_) {
            AddAgain();
        }
    }
    return false;   // every component, and whoever else watches, sees these messages
}

void TaskTray::AddAgain()
{
    // One component's refusal must not keep the others out of the tray.
    try {
        UpdateIcon();
    } catch (...) {
        application->HandleException();
    }
}
