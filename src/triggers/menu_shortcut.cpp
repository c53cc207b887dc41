#include "triggers/menu_shortcut.h"

#include "base/scope_exit.h"

static_assert(kShortcutAlt == MOD_ALT && kShortcutControl == MOD_CONTROL && kShortcutShift == MOD_SHIFT &&
                  kShortcutWin == MOD_WIN,
              "a shortcut's modifiers are RegisterHotKey's");

namespace {

// Holding the keys down sends one WM_HOTKEY, not one per repeat (Windows 7 on).
constexpr UINT kNoRepeat = 0x4000;

}   // namespace

std::string ShortcutName(ShortcutKey shortcut)
{
    std::string name = CommonKeyName(shortcut.key);
    if (name.empty()) {
        char text[64] = "";
        const LONG scanCode = static_cast<LONG>(MapVirtualKeyA(shortcut.key, MAPVK_VK_TO_VSC));
        if (GetKeyNameTextA(scanCode << 16, text, sizeof text) > 0) {
            name = text;
        } else {
            name = "#" + std::to_string(shortcut.key);
        }
    }
    return ShortcutText(shortcut, name);
}

bool MenuShortcut::Register(ShortcutKey key) const
{
    return RegisterHotKey(window_, kId, key.modifiers | kNoRepeat, key.key) != FALSE;
}

void MenuShortcut::Set(ShortcutKey key)
{
    Suspend();
    key_ = key;
}

bool MenuShortcut::Choose(ShortcutKey key)
{
    Suspend();
    if (!key.None() && !Register(key)) {
        return false;
    }
    key_ = key;
    registered_ = !key.None();
    return true;
}

void MenuShortcut::Suspend()
{
    if (registered_) {
        UnregisterHotKey(window_, kId);
        registered_ = false;
    }
}

void MenuShortcut::Resume()
{
    if (!registered_ && !key_.None()) {
        registered_ = Register(key_);
    }
}

void ShortcutPressed(bool& ready, HWND owner, HWND dialog, const std::function<void(POINT)>& openMenu)
{
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE)) {
        return;
    }
    if (dialog) {
        SetForegroundWindow(dialog);
        return;
    }
    // The thread enters the menu's loop only once the menu shows.
    if (!ready) {
        return;
    }
    ready = false;
    const ScopeExit readyAgain([&ready] { ready = true; });
    POINT at{};
    GetCursorPos(&at);
    // The press gives this program the right to come to the front: the menu's owner in front
    // takes the keys, and an outside click closes the menu.
    SetForegroundWindow(owner);
    openMenu(at);
}
