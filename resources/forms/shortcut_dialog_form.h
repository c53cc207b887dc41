// The shortcut dialog: the field that takes the key that opens the pop-up menu, and the buttons
// that keep it, leave it as it was, or take the shortcut away.
#pragma once

#include "framework/button.h"
#include "framework/form_def.h"
#include "framework/hot_key.h"
#include "framework/label.h"

// What the dialog's buttons run; the dialog maps each to its handler.
enum class ShortcutCommand {
    Accept,
    Cancel,
    Clear,
};

namespace shortcut_dialog_form {

template <typename Kind>
using Row = ControlRow<Kind, ShortcutCommand>;

inline constexpr ControlDef<ShortcutCommand> kControls[] = {
    Row<Label>{"Prompt", {8, 8, 224, 12}, "メニューを開くキーを押してください。"},
    Row<HotKey>{"KeyField", {8, 24, 224, 20}}.Tab(0),
    Row<Label>{"Rule", {8, 50, 224, 12}, "Ctrl か Alt を含めてください。"},
    Row<Button>{"AcceptButton", {8, 72, 72, 24}, "決定"}.Tab(1).Default().On<&Button::OnClick>(
        ShortcutCommand::Accept),
    Row<Button>{"CancelButton", {84, 72, 72, 24}, "キャンセル"}.Tab(2).On<&Button::OnClick>(
        ShortcutCommand::Cancel),
    Row<Button>{"ClearButton", {160, 72, 72, 24}, "解除"}.Tab(3).On<&Button::OnClick>(ShortcutCommand::Clear),
};

inline constexpr FormDef<ShortcutCommand> kForm = {
    {
        "MivtraShortcutDialog",
        "ショートカットキー",
        BorderStyle::Dialog,
        true,   // the close box cancels like the button
        0,      // centred on the screen when created
        0,
        240,   // client area
        104,
        COLOR_BTNFACE,
        {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    },
    kControls,
    {},
};

}   // namespace shortcut_dialog_form
