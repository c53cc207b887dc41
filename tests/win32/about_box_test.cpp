// The about box and its two controls: the bevel's frame lines read back pixel by pixel, the
// URL label under real mouse input, and the box's layout read back from its windows.
#include "shell/about_box.h"

#include "components/big_bevel.h"
#include "components/url_label.h"
#include "contact.h"
#include "framework/application.h"
#include "framework/button.h"
#include "framework/display_dpi.h"
#include "framework/form.h"
#include "framework/handles.h"
#include "framework/label.h"
#include "win32_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

template <typename Kind>
using Row = ControlRow<Kind, NoCommand>;

constexpr ControlDef<NoCommand> kControls[] = {
    Row<BigBevel>{"Bevel", {4, 4, 50, 30}}.Set<&BigBevel::SetStyle>(bsRaised).Set<&BigBevel::SetBevelWidth>(
        3),
    Row<UrlLabel>{"Link", {60, 40, 120, 16}, "https://example.org/"}
        .Set<&UrlLabel::SetHotColor>(kGreen)
        .Set<&UrlLabel::SetPushedColor>(kBlue),
};

constexpr FormDef<NoCommand> kForm = {{"AboutBoxTestForm",
                                       "テスト",
                                       BorderStyle::Dialog,
                                       false,
                                       200,
                                       200,
                                       240,
                                       100,
                                       COLOR_BTNFACE,
                                       {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET}},
                                      kControls,
                                      {}};

class TestForm : public Form {
public:
    TestForm() : Form(nullptr, kForm) {}
    template <typename T>
    T* Get(const char* name) const
    {
        return dynamic_cast<T*>(FindComponent(name));
    }
};

// The bevel painted into a memory bitmap that starts out in a colour of its own: one letter
// per pixel, S for the button shadow, H for the highlight and "." for untouched.
std::vector<std::string> Painted(BigBevel& bevel)
{
    HDC screen = GetDC(nullptr);
    UniqueDC dc(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, bevel.Width(), bevel.Height()));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ saved = SelectObject(dc.Get(), bitmap.Get());
    RECT all{0, 0, bevel.Width(), bevel.Height()};
    constexpr COLORREF kUntouched = RGB(1, 2, 3);
    UniqueBrush untouched(CreateSolidBrush(kUntouched));
    FillRect(dc.Get(), &all, untouched.Get());
    bevel.Paint(dc.Get());
    std::vector<std::string> rows(bevel.Height());
    for (int y = 0; y < bevel.Height(); ++y) {
        for (int x = 0; x < bevel.Width(); ++x) {
            const COLORREF c = GetPixel(dc.Get(), x, y);
            rows[y] += c == GetSysColor(COLOR_BTNSHADOW)      ? 'S'
                       : c == GetSysColor(COLOR_BTNHIGHLIGHT) ? 'H'
                       : c == kUntouched                      ? '.'
                                                              : '?';
        }
    }
    SelectObject(dc.Get(), saved);
    return rows;
}

TEST(BigBevelTest, DrawsNestedFramesWithTheFirstColourOnTopRightAndTheSecondBottomLeft)
{
    TestForm form;
    BigBevel bevel(form, {0, 0, 6, 5});
    EXPECT_EQ(bsLowered, bevel.Style());
    EXPECT_EQ(2, bevel.BevelWidth());
    EXPECT_EQ((std::vector<std::string>{"SSSSSS", "SSSSSH", "SS..HH", "SHHHHH", "HHHHHH"}), Painted(bevel));
    bevel.SetStyle(bsRaised);
    EXPECT_EQ((std::vector<std::string>{"HHHHHH", "HHHHHS", "HH..SS", "HSSSSS", "SSSSSS"}), Painted(bevel));
    bevel.SetBevelWidth(1);
    EXPECT_EQ((std::vector<std::string>{"HHHHHH", "H....S", "H....S", "H....S", "SSSSSS"}), Painted(bevel));
    for (std::int16_t none : {0, -3}) {
        bevel.SetBevelWidth(none);
        EXPECT_EQ((std::vector<std::string>{"......", "......", "......", "......", "......"}),
                  Painted(bevel));
    }
}

TEST(BigBevelTest, TakesItsPropertiesFromTheDefinitionAndRepaintsOnlyForANewValue)
{
    TestForm form;
    BigBevel* bevel = form.Get<BigBevel>("Bevel");
    EXPECT_EQ(bsRaised, bevel->Style());
    EXPECT_EQ(3, bevel->BevelWidth());
    form.Show();
    UpdateWindow(form.Handle());
    bevel->SetStyle(bsRaised);
    bevel->SetBevelWidth(3);
    EXPECT_FALSE(GetUpdateRect(form.Handle(), nullptr, FALSE));
    bevel->SetStyle(bsLowered);
    EXPECT_TRUE(GetUpdateRect(form.Handle(), nullptr, FALSE));
    UpdateWindow(form.Handle());
    bevel->SetBevelWidth(4);
    EXPECT_TRUE(GetUpdateRect(form.Handle(), nullptr, FALSE));
    form.Hide();
}

struct ShellCall {
    HWND owner;
    std::string verb, file, parameters, directory;
    int show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show)
{
    g_shellCalls.push_back({owner, verb, file, parameters, directory, show});
    return reinterpret_cast<HINSTANCE>(42);
}

// Real input through the system, as a user's mouse makes it: it moves the one pointer of the
// test display, so these tests run alone.
class UrlLabelTest : public testing::Test {
protected:
    void SetUp() override
    {
        previous_ = UrlLabel::SetShellExecute(RecordShellExecute);
        g_shellCalls.clear();
        form_.Show();
        SetForegroundWindow(form_.Handle());
        label_ = form_.Get<UrlLabel>("Link");
        ASSERT_NE(nullptr, label_);
        RECT r{};
        GetWindowRect(label_->Handle(), &r);
        inside_ = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        outside_ = {r.right + 30, r.bottom + 20};
        MoveTo(outside_);
    }
    void TearDown() override
    {
        UrlLabel::SetShellExecute(previous_);
        form_.Hide();
    }

    void MoveTo(POINT screen)
    {
        SetCursorPos(screen.x, screen.y);
        Inject(MOUSEEVENTF_MOVE);
    }
    static void Inject(DWORD flags)
    {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        ASSERT_EQ(1u, SendInput(1, &input, sizeof input));
    }
    // The label's text colour once it has become `want`, or what it is after two seconds.
    COLORREF ColorBecomes(COLORREF want)
    {
        PumpUntil([&] { return label_->TextColor() == want; });
        return label_->TextColor();
    }

    UrlLabel::ShellExecuteFunction previous_ = nullptr;
    TestForm form_;
    UrlLabel* label_ = nullptr;
    POINT inside_{}, outside_{};
};

TEST_F(UrlLabelTest, ColourFollowsThePointerThroughEnterPressReleaseAndLeave)
{
    EXPECT_EQ(kDefaultColor, label_->TextColor());
    MoveTo(inside_);
    EXPECT_EQ(kGreen, ColorBecomes(kGreen));
    EXPECT_EQ(application->Cursors(crHandPoint), GetCursor());
    Inject(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(kBlue, ColorBecomes(kBlue));
    Inject(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(kGreen, ColorBecomes(kGreen));   // released inside
    MoveTo(outside_);
    EXPECT_EQ(kDefaultColor, ColorBecomes(kDefaultColor));

    label_->SetTextColor(kRed);   // the colour from before the visit comes back
    MoveTo(inside_);
    EXPECT_EQ(kGreen, ColorBecomes(kGreen));
    Inject(MOUSEEVENTF_RIGHTDOWN);
    EXPECT_EQ(kBlue, ColorBecomes(kBlue));
    MoveTo(outside_);
    Inject(MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(kRed, ColorBecomes(kRed));   // released outside
    EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
    EXPECT_TRUE(g_shellCalls.empty()) << "not executable, yet it opened its text";

    label_->SetHotTrack(false);
    MoveTo(inside_);
    Inject(MOUSEEVENTF_LEFTDOWN);
    Inject(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(PumpUntil([&] { return label_->TextColor() != kRed; }));
}

TEST_F(UrlLabelTest, AnExecutableLabelOpensItsTextOnThePressOfAnyButton)
{
    label_->SetExecutable(true);
    MoveTo(inside_);
    for (DWORD down : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN}) {
        const size_t before = g_shellCalls.size();
        Inject(down);
        EXPECT_TRUE(PumpUntil([&] { return g_shellCalls.size() == before + 1; })) << down;
        Inject(down << 1);   // the matching release
        EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
        EXPECT_EQ(before + 1, g_shellCalls.size()) << "the release opened it again";
    }
    ASSERT_EQ(3u, g_shellCalls.size());
    for (const ShellCall& call : g_shellCalls) {
        EXPECT_EQ(form_.Handle(), call.owner);
        EXPECT_EQ("OPEN", call.verb);
        EXPECT_EQ("https://example.org/", call.file);
        EXPECT_EQ("", call.parameters);
        EXPECT_EQ("", call.directory);
        EXPECT_EQ(SW_SHOW, call.show);
    }
}

struct Place {
    const char* name;
    RECT bounds;   // left, top, right, bottom in the client area
    const char* text;
};

struct LaunchCall {
    std::string file, parameters, verb, directory;
    int show;
    HANDLE process;
};

// At 96 and 144 DPI: made at the system's, laid out at the other on the system's message. The
// test fonts are the IPA ones.
class AboutBoxTest : public testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Dpi, AboutBoxTest, testing::Values(96, 144));

TEST_P(AboutBoxTest, EveryComponentSitsInItsPlaceWithItsTextFontAndColour)
{
    const int dpi = GetParam(), slack = dpi == 96 ? 0 : 1;
    const auto at = [dpi](LONG length) { return ScaleFromDesign(length, dpi); };
    std::vector<LaunchCall> calls;
    AboutBox box(application, [&](const std::string& file, const std::string& parameters,
                                  const std::string& verb, const std::string& directory, int show) {
        HANDLE process = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &process, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        calls.push_back({file, parameters, verb, directory, show, process});
        return process;
    });
    ChangeDpi(box, dpi);
    RECT client{};
    GetClientRect(box.Handle(), &client);
    EXPECT_NEAR(at(296), client.right, slack);
    EXPECT_NEAR(at(155), client.bottom, slack);
    EXPECT_FALSE(GetWindowLongA(box.Handle(), GWL_STYLE) & WS_THICKFRAME);
    char caption[64] = "";
    GetWindowTextA(box.Handle(), caption, sizeof caption);
    EXPECT_STREQ("Mivtra について", caption);

    const std::string mailLine = std::string("e-mail : ") + kAuthorMail;
    const Place places[] = {
        {"TitleLabel", {16, 8, 116, 44}, "Mivtra"},
        {"VersionLabel", {136, 24, 197, 36}, "version 2.02"},
        {"SupportLabel", {16, 72, 148, 84}, "== Support Information =="},
        {"MailLabel", {16, 88, 158, 100}, mailLine.c_str()},
        {"HomePageLabel", {16, 104, 66, 116}, "webpage :"},
        {"HomePageLink", {72, 104, 240, 116}, kAuthorHomePage},
        {"CloseButton", {16, 128, 91, 153}, "閉じる(&C)"},
        {"MailButton", {112, 128, 187, 153}, "メール送信"},
        {"HomePageButton", {208, 128, 283, 153}, "webを開く"},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        auto* control = dynamic_cast<Control*>(box.FindComponent(place.name));
        ASSERT_NE(nullptr, control);
        const RECT r = control->BoundsRect();
        EXPECT_NEAR(at(place.bounds.left), r.left, slack);
        EXPECT_NEAR(at(place.bounds.top), r.top, slack);
        EXPECT_NEAR(at(place.bounds.bottom), r.bottom, slack);
        EXPECT_EQ(place.text, control->Caption());
        // Labels grow to their texts where the fonts at hand are wider; they never shrink.
        EXPECT_GE(r.right, at(place.bounds.right) - slack);
        EXPECT_GE(r.right - r.left, TextWidth(control->Handle(), place.text));
    }

    auto* bevel = dynamic_cast<BigBevel*>(box.FindComponent("TitlePanel"));
    EXPECT_EQ(at(297), bevel->Width());
    EXPECT_EQ(at(121), bevel->Height());

    LOGFONTA titleFont{};
    auto* title = dynamic_cast<Label*>(box.FindComponent("TitleLabel"));
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(title->Handle(), WM_GETFONT, 0, 0)), sizeof titleFont,
               &titleFont);
    EXPECT_STREQ("Times New Roman", titleFont.lfFaceName);
    EXPECT_EQ(-at(32), titleFont.lfHeight);
    EXPECT_EQ(FW_BOLD, titleFont.lfWeight);
    EXPECT_EQ(kRed, title->TextColor());
    auto* support = dynamic_cast<Label*>(box.FindComponent("SupportLabel"));
    EXPECT_EQ(kBlue, support->TextColor());
    EXPECT_EQ(taCenter, support->Alignment());
    auto* url = dynamic_cast<UrlLabel*>(box.FindComponent("HomePageLink"));
    EXPECT_TRUE(url->Executable());
    EXPECT_EQ(kRed, url->HotColor());
    // The hand at the DPI's cursor size.
    ICONINFO hand{};
    BITMAP mask{};
    ASSERT_TRUE(GetIconInfo(application->Cursors(url->Cursor()), &hand));
    GetObjectA(hand.hbmMask, sizeof mask, &mask);
    DeleteObject(hand.hbmMask);
    EXPECT_EQ(SystemMetricForDpi(SM_CXCURSOR, dpi), mask.bmWidth);

    // The tab order starts at "閉じる(&C)", and the form paints the sunk bevel under the labels,
    // with one frame line more at 144 DPI.
    box.Show();
    UpdateWindow(box.Handle());
    std::vector<std::string> order;
    for (HWND w = GetNextDlgTabItem(box.Handle(), nullptr, FALSE); order.size() < 4;
         w = GetNextDlgTabItem(box.Handle(), w, FALSE)) {
        order.push_back(Control::FromHandle(w) ? Control::FromHandle(w)->Name() : "?");
    }
    EXPECT_EQ((std::vector<std::string>{"CloseButton", "MailButton", "HomePageButton", "CloseButton"}),
              order);
    HDC dc = GetDC(box.Handle());
    const int inner = at(2) - 1;
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(dc, inner, inner));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), GetPixel(dc, inner, at(121) - inner - 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, inner + 1, inner + 1));
    ReleaseDC(box.Handle(), dc);

    // The two buttons open the addresses through the main window's shell call and close the
    // process handle it returns at once.
    for (const char* button : {"MailButton", "HomePageButton"}) {
        SendMessageA(dynamic_cast<Button*>(box.FindComponent(button))->Handle(), BM_CLICK, 0, 0);
    }
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(std::string("mailto:") + kAuthorMail, calls[0].file);
    EXPECT_EQ(kAuthorHomePage, calls[1].file);
    for (const LaunchCall& call : calls) {
        EXPECT_EQ("", call.parameters);
        EXPECT_EQ("open", call.verb);
        EXPECT_EQ("", call.directory);
        EXPECT_EQ(SW_SHOW, call.show);
        DWORD flags = 0;
        EXPECT_FALSE(GetHandleInformation(call.process, &flags)) << "the process handle was left open";
    }
    box.Hide();
}

}   // namespace
