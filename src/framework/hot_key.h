// The system's hot-key control: a field that shows the key combination typed into it. Its value
// is given in RegisterHotKey's terms, which are not the control's own.
#pragma once

#include "framework/control.h"

// The control's modifier bits (HOTKEYF_*) as RegisterHotKey's (MOD_*): Shift and Alt swap
// places, and the extended-key bit, which only tells apart two keys of one scan code (Insert
// and the number pad's 0), has no counterpart.
UINT RegisterModifiersOf(BYTE hotKeyModifiers);
// And back for `key`: with the extended-key bit where the key is one of the extended keys, so
// that the control names it as the keyboard does (Insert, not Num 0).
BYTE HotKeyModifiersOf(UINT registerModifiers, UINT key);

class HotKey : public Control {
public:
    static Component* Create(const ControlContext& context);

    HotKey(Component* owner, const ControlCreation& creation);

    // The key typed, a virtual-key code; 0 while the field is empty.
    UINT Key() const;
    // Its modifiers, as RegisterHotKey takes them.
    UINT Modifiers() const;
    // Shows the key (0 for none) with its modifiers (RegisterHotKey's bits).
    void SetKey(UINT key, UINT modifiers);
};
