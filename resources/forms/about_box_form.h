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

// What the about box's buttons run; the box maps each to its handler.
enum class AboutCommand {
    Close,
    WriteMail,
    OpenHomePage,
};

namespace about_box_form {

template <typename Kind>
using Row = ControlRow<Kind, AboutCommand>;

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

inline constexpr ControlDef<AboutCommand> kControls[] = {
    Row<BigBevel>{"TitlePanel", {0, 0, 297, 121}}
        .Set<&BigBevel::SetStyle>(bsLowered)
        .Set<&BigBevel::SetBevelWidth>(2),
    Row<Label>{"TitleLabel", {16, 8, 100, 36}, "Mivtra"}.Font(kTitleFont).Color(RGB(255, 0, 0)),
    Row<Label>{"VersionLabel", {136, 24, 61, 12}, "version 2.02"},
    Row<Button>{"CloseButton", {16, 128, 75, 25}, "閉じる(&C)"}.Tab(0).Default().On<&Button::OnClick>(
        AboutCommand::Close),
    Row<Label>{"MailLabel", {16, 88, 142, 12}, kMailLine.text},
    Row<Label>{"HomePageLabel", {16, 104, 50, 12}, "webpage :"},
    Row<Label>{"SupportLabel", {16, 72, 132, 12}, "== Support Information =="}
        .Set<&Label::SetAlignment>(taCenter)
        .Color(RGB(0, 0, 255)),
    Row<Button>{"MailButton", {112, 128, 75, 25}, "メール送信"}.Tab(1).On<&Button::OnClick>(
        AboutCommand::WriteMail),
    Row<Button>{"HomePageButton", {208, 128, 75, 25}, "webを開く"}.Tab(2).On<&Button::OnClick>(
        AboutCommand::OpenHomePage),
    Row<UrlLabel>{"HomePageLink", {72, 104, 168, 12}, kAuthorHomePage}
        .Set<&UrlLabel::SetExecutable>(true)
        .Set<&UrlLabel::SetHotColor>(RGB(255, 0, 0)),
};

inline constexpr FormDef<AboutCommand> kForm = {
    {
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
    },
    kControls,
    {},
};

}   // namespace about_box_form
