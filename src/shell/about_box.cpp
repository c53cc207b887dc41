#include "shell/about_box.h"

#include "forms/about_box_form.h"
#include "framework/handles.h"
#include "framework/label.h"

namespace {

// The layout was drawn with the labels sized by their texts in the fonts of a Japanese
// Windows: where the fonts at hand are wider, or an address is longer, a label grows to its
// text rather than cut it off. It keeps its place and never shrinks.
void WidenToText(Label& label)
{
    const WindowDC dc(label.Handle());
    const SelectedObject font(dc.Get(),
                              reinterpret_cast<HFONT>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0)));
    const std::string text = label.Caption();
    SIZE extent{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const RECT r = label.BoundsRect();
    if (extent.cx > r.right - r.left) {
        SetWindowPos(label.Handle(), nullptr, 0, 0, extent.cx, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}   // namespace

AboutBox::AboutBox(Component* owner, ShellOpenFunction open)
    : CommandForm(owner, about_box_form::kForm), open_(std::move(open))
{
    for (int i = 0; i < ComponentCount(); ++i) {
        if (auto* label = dynamic_cast<Label*>(Components(i))) {
            WidenToText(*label);
        }
    }
    CenterOnScreen();
    BindCommands();
}

void AboutBox::Run(AboutCommand command, Component*)
{
    switch (command) {
    case AboutCommand::Close:
        return Close();
    case AboutCommand::WriteMail:
        return WriteMail();
    case AboutCommand::OpenHomePage:
        return OpenHomePage();
    }
}

void AboutBox::WriteMail()
{
    Open(kAuthorMailLink);
}

void AboutBox::OpenHomePage()
{
    Open(kAuthorHomePage);
}

void AboutBox::Open(const char* link)
{
    if (open_) {
        // Nothing waits for the mail program or the browser.
        UniqueKernelHandle process(open_(link, "", "open", "", SW_SHOW));
    }
}
