// The about box: the program's name and version and a button that closes it.
#pragma once

#include "framework/button.h"
#include "framework/form_def.h"
#include "framework/label.h"

namespace about_box_form {

inline constexpr FontDef kTitleFont = {"Times New Roman", 32, DEFAULT_CHARSET, FW_BOLD};

inline constexpr ControlDef kControls[] = {
    ControlDef{Label::Create, "Label1", {16, 8, 100, 36}, "Mivtra"}.Font(kTitleFont).Color(RGB(255, 0, 0)),
    {Label::Create, "Label2", {136, 24, 61, 12}, "version 2.02"},
    ControlDef{Button::Create, "Button1", {16, 128, 75, 25}, "閉じる(&C)"}.Tab(0).Default().On(
        "OnClick", "Button1Click"),
};

inline constexpr FormDef kForm = {
    "TAboutBox",
    "Mivtra について",
    BorderStyle::Dialog,
    true,   // the close box closes it like the button
    0,      // centred on the screen when created
    0,
    296,   // client area
    155,
    COLOR_BTNFACE,
    {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    kControls,
    {},
};

}   // namespace about_box_form
