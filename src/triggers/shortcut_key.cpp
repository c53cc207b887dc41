#include "triggers/shortcut_key.h"

namespace {

constexpr unsigned kF12 = 0x7B;
constexpr unsigned kAllModifiers = kShortcutAlt | kShortcutControl | kShortcutShift | kShortcutWin;

}   // namespace

int StoredShortcut(ShortcutKey shortcut)
{
    return shortcut.None() ? 0 : static_cast<int>(shortcut.modifiers * 256 + shortcut.key);
}

ShortcutKey ShortcutFromStored(int stored)
{
    if (stored <= 0) {
        return {};
    }
    const ShortcutKey shortcut{static_cast<unsigned>(stored) % 256, static_cast<unsigned>(stored) / 256};
    if (shortcut.modifiers & ~kAllModifiers || RefusalOf(shortcut) != ShortcutRefusal::None) {
        return {};
    }
    return shortcut;
}

ShortcutRefusal RefusalOf(ShortcutKey shortcut)
{
    if (shortcut.None()) {
        return ShortcutRefusal::None;
    }
    if (!(shortcut.modifiers & (kShortcutControl | kShortcutAlt))) {
        return ShortcutRefusal::NoControlOrAlt;
    }
    return shortcut.key == kF12 ? ShortcutRefusal::ReservedKey : ShortcutRefusal::None;
}

std::string CommonKeyName(unsigned key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= 0x70 && key <= 0x87) {   // F1 to F24
        return "F" + std::to_string(key - 0x70 + 1);
    }
    if (key >= 0x60 && key <= 0x69) {   // the number pad's digits
        return "Num " + std::to_string(key - 0x60);
    }
    static const struct {
        unsigned key;
        const char* name;
    } kNames[] = {
        {0x08, "Backspace"}, {0x09, "Tab"},    {0x0D, "Enter"},    {0x13, "Pause"}, {0x1B, "Esc"},
        {0x20, "Space"},     {0x21, "PageUp"}, {0x22, "PageDown"}, {0x23, "End"},   {0x24, "Home"},
        {0x25, "Left"},      {0x26, "Up"},     {0x27, "Right"},    {0x28, "Down"},  {0x2D, "Insert"},
        {0x2E, "Delete"},    {0x6A, "Num *"},  {0x6B, "Num +"},    {0x6D, "Num -"}, {0x6E, "Num ."},
        {0x6F, "Num /"},
    };
    for (const auto& named : kNames) {
        if (named.key == key) {
            return named.name;
        }
    }
    return {};
}

std::string ShortcutText(ShortcutKey shortcut, const std::string& keyName)
{
    std::string text;
    static const struct {
        unsigned bit;
        const char* name;
    } kModifiers[] = {{kShortcutWin, "Win+"},
                      {kShortcutControl, "Ctrl+"},
                      {kShortcutShift, "Shift+"},
                      {kShortcutAlt, "Alt+"}};
    for (const auto& modifier : kModifiers) {
        if (shortcut.modifiers & modifier.bit) {
            text += modifier.name;
        }
    }
    return text + keyName;
}
