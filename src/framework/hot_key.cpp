#include "framework/hot_key.h"

#include "framework/form.h"

#include <commctrl.h>

namespace {

// Each of the control's bits and RegisterHotKey's bit for it.
constexpr struct {
    BYTE hotKey;
    UINT registered;
} kModifierBits[] = {{HOTKEYF_SHIFT, MOD_SHIFT}, {HOTKEYF_CONTROL, MOD_CONTROL}, {HOTKEYF_ALT, MOD_ALT}};

bool IsExtendedKey(UINT key)
{
    return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE || key == VK_DIVIDE ||
           key == VK_NUMLOCK;
}

}   // namespace

UINT RegisterModifiersOf(BYTE hotKeyModifiers)
{
    UINT modifiers = 0;
    for (const auto& bit : kModifierBits) {
        if (hotKeyModifiers & bit.hotKey) {
            modifiers |= bit.registered;
        }
    }
    return modifiers;
}

BYTE HotKeyModifiersOf(UINT registerModifiers, UINT key)
{
    BYTE modifiers = IsExtendedKey(key) ? HOTKEYF_EXT : 0;
    for (const auto& bit : kModifierBits) {
        if (registerModifiers & bit.registered) {
            modifiers |= bit.hotKey;
        }
    }
    return modifiers;
}

Component* HotKey::Create(const ControlContext& context)
{
    return new HotKey(&context.form, CreationFor(context, HOTKEY_CLASSA, WS_TABSTOP, WS_EX_CLIENTEDGE));
}

HotKey::HotKey(Component* owner, const ControlCreation& creation) : Control(owner)
{
    CreateHandle(creation);
}

UINT HotKey::Key() const
{
    return LOBYTE(LOWORD(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0)));
}

UINT HotKey::Modifiers() const
{
    return RegisterModifiersOf(HIBYTE(LOWORD(SendMessageA(Handle(), HKM_GETHOTKEY, 0, 0))));
}

void HotKey::SetKey(UINT key, UINT modifiers)
{
    const BYTE shown = key ? HotKeyModifiersOf(modifiers, key) : 0;
    SendMessageA(Handle(), HKM_SETHOTKEY, MAKEWORD(static_cast<BYTE>(key), shown), 0);
}
