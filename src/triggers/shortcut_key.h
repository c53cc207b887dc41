// The keyboard shortcut that opens the pop-up menu: a key with its modifiers, the number the
// settings keep it as, its name for the user, and the keys the program refuses to take.
#pragma once

#include <string>

// The modifier bits of RegisterHotKey (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
enum ShortcutModifier : unsigned {
    kShortcutAlt = 1,
    kShortcutControl = 2,
    kShortcutShift = 4,
    kShortcutWin = 8,
};

struct ShortcutKey {
    unsigned key = 0;         // a virtual-key code; 0: no shortcut
    unsigned modifiers = 0;   // ShortcutModifier bits

    bool None() const { return key == 0; }
    friend bool operator==(const ShortcutKey& a, const ShortcutKey& b)
    {
        return a.key == b.key && a.modifiers == b.modifiers;
    }
    friend bool operator!=(const ShortcutKey& a, const ShortcutKey& b) { return !(a == b); }
};

// The setting's number: the modifiers times 256 plus the key; 0 for no shortcut.
int StoredShortcut(ShortcutKey shortcut);
// The shortcut a stored number holds. A number no shortcut is made of (negative, unknown
// bits, a key the program refuses) is none: the value was not written by the program.
ShortcutKey ShortcutFromStored(int stored);

enum class ShortcutRefusal {
    None,
    NoControlOrAlt,   // it would take the key, or Shift and the key, from every program
    ReservedKey,      // F12, which the system keeps for debuggers
};
ShortcutRefusal RefusalOf(ShortcutKey shortcut);

// The name of a key that reads the same on every keyboard (letters, digits, function,
// navigation and number-pad keys), or empty for another (punctuation differs from one
// keyboard to the next: its name is the keyboard's).
std::string CommonKeyName(unsigned key);

// "Ctrl+Shift+Alt+M": the modifiers in this order, then the key's name.
std::string ShortcutText(ShortcutKey shortcut, const std::string& keyName);
