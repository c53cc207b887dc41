// The about box: the program's name and version in a sunk panel, the author's addresses, and
// buttons that close it, write a mail and open the home page.
#pragma once

#include "components/big_bevel.h"
#include "components/url_label.h"
#include "contact.h"
#include "framework/button.h"
#include "framework/form_def.h"
#include "framework/label.h"

#include <cstddef>

namespace about_box_form {

// Two texts joined at compile time, so that the table stays plain data.
template <std::size_t N, std::size_t M>
struct JoinedText {
    char text[N + M - 1];
};

template <std::size_t N, std::size_t M>
constexpr JoinedText<N, M> Join(const char (&first)[N], const char (&second)[M])
{
    JoinedText<N, M> joined{};
    for (std::size_t i = 0; i + 1 < N; ++i) {
        joined.text[i] = first[i];
    }
    for (std::size_t i = 0; i < M; ++i) {
        joined.text[N - 1 + i] = second[i];
    }
    return joined;
}

inline constexpr auto kMailLine = Join("e-mail : ", kAuthorMail);

inline constexpr FontDef kTitleFont = {"Times New Roman", 32, DEFAULT_CHARSET, FW_BOLD};

inline constexpr ControlDef kControls[] = {
    ControlDef{TBigBevel::Create, "BigBevel", {0, 0, 297, 121}}.Set("Style", bsLowered).Set("BevelWidth", 2),
    ControlDef{Label::Create, "Label1", {16, 8, 100, 36}, "Mivtra"}.Font(kTitleFont).Color(RGB(255, 0, 0)),
    {Label::Create, "Label2", {136, 24, 61, 12}, "version 2.02"},
    ControlDef{Button::Create, "Button1", {16, 128, 75, 25}, "閉じる(&C)"}.Tab(0).Default().On(
        "OnClick", "Button1Click"),
    {Label::Create, "Label4", {16, 88, 142, 12}, kMailLine.text},
    {Label::Create, "Label5", {16, 104, 50, 12}, "webpage :"},
    ControlDef{Label::Create, "Label6", {16, 72, 132, 12}, "== Support Information =="}
        .Set("Alignment", taCenter)
        .Color(RGB(0, 0, 255)),
    ControlDef{Button::Create, "Button2", {112, 128, 75, 25}, "メール送信"}.Tab(1).On("OnClick",
                                                                                      "Button2Click"),
    ControlDef{Button::Create, "Button3", {208, 128, 75, 25}, "webを開く"}.Tab(2).On("OnClick",
                                                                                     "Button3Click"),
    ControlDef{TURLLabel::Create, "URLLabel1", {72, 104, 168, 12}, kAuthorHomePage}
        .Set("Executable", 1)
        .Set("HotColor", RGB(255, 0, 0)),
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
