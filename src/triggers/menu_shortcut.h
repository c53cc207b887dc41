// The keyboard shortcut that opens the pop-up menu, registered with the system for the main
// window, and what its press does.
#pragma once

#include "triggers/shortcut_key.h"

#include <windows.h>

#include <functional>
#include <string>

// The name the user reads for a shortcut: "Ctrl+Alt+M", a punctuation key named as the
// keyboard names it.
std::string ShortcutName(ShortcutKey shortcut);

class MenuShortcut {
public:
    // The identifier WM_HOTKEY carries for the shortcut.
    static constexpr int kId = 1;

    explicit MenuShortcut(HWND window) : window_(window) {}
    ~MenuShortcut() { Suspend(); }
    MenuShortcut(const MenuShortcut&) = delete;
    MenuShortcut& operator=(const MenuShortcut&) = delete;

    // The setting: the key the user chose, whether the system gave it or not.
    ShortcutKey Key() const { return key_; }
    // Whether the key works now: registered for the window.
    bool InEffect() const { return registered_; }

    // Makes the stored key the setting, not yet in effect (Resume registers it).
    void Set(ShortcutKey key);
    // Makes `key` (none: no shortcut) the setting if the system gives it; false, with the
    // setting as it was, when another program holds it. The setting's key stops working first,
    // as for Suspend: after a refusal, Resume brings it back.
    bool Choose(ShortcutKey key);
    // The key stops working, so that pressing it reaches the program in front (a field that
    // takes a key); the setting stays.
    void Suspend();
    // The setting works (again), where the system gives it: a key another program holds
    // stays the setting, not in effect.
    void Resume();

private:
    bool Register(ShortcutKey key) const;

    HWND window_;   // not owned
    ShortcutKey key_;
    bool registered_ = false;
};

// What a press of the shortcut does: nothing while a menu of this thread is open; brings
// `dialog` to the front while one of the program's dialogs shows (null: none); otherwise, when
// `ready` (no menu of the chord or the shortcut is on its way), opens the menu at the pointer
// with `owner` in front, so that the keys go to the menu at once, and with `ready` false until
// the menu has closed.
void ShortcutPressed(bool& ready, HWND owner, HWND dialog, const std::function<void(POINT)>& openMenu);
