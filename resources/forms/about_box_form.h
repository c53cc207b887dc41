// The about box: the program's name and version and a button that closes it.
#pragma once

#include "framework/form_def.h"

namespace about_box_form {

inline constexpr ControlDef kControls[] = {
    {ControlKind::Label, "Label1", 16, 8, 100, 36, "Mivtra"},
    {ControlKind::Label, "Label2", 136, 24, 61, 12, "version 2.02"},
    {ControlKind::Button, "Button1", 16, 128, 75, 25, "閉じる(&C)", kDefaultColor, "Button1Click", true},
};

inline constexpr FormDef kForm = {
    "TAboutBox",
    "Mivtra について",
    BorderStyle::Dialog,
    true,   // the close box closes it like the button
    0,
    0,   // centred on the screen when created
    296,
    155,   // client area
    COLOR_BTNFACE,
    {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    kControls,
    {},
};

}   // namespace about_box_form
