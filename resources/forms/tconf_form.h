// The launcher settings dialog: the launcher list and the button that saves it.
#pragma once

#include "framework/form_def.h"

namespace tconf_form {

inline constexpr ControlDef kControls[] = {
    {ControlKind::Label, "Label4", 16, 8, 69, 12, "ランチャリスト"},
    {ControlKind::Button, "Button6", 232, 320, 75, 25, "決定", kDefaultColor, "Button6Click"},
};

// The tree view, which the control table has no kind for; the dialog makes it itself.
struct TreeViewDef {
    const char* name;
    int left, top, width, height;
    int indent;
};
inline constexpr TreeViewDef kTreeView = {"TreeView", 8, 24, 401, 185, 19};

inline constexpr FormDef kForm = {
    "TCONF",
    "ランチャ設定",
    BorderStyle::Dialog,
    false,   // no border icons: only "決定" closes the dialog
    0,
    0,   // centred on the screen when created
    546,
    350,   // client area
    COLOR_BTNFACE,
    {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    kControls,
    {},
};

}   // namespace tconf_form
