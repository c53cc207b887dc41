#include "framework/label.h"

#include "framework/form.h"
#include "framework/handles.h"

Component* Label::Create(const ControlContext& context)
{
    return new Label(&context.form, CreationFor(context, "STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX),
                     context.def.textColor, context.form.Definition().colorIndex);
}

Label::Label(Component* owner, const ControlCreation& creation, COLORREF textColor, int backgroundIndex)
    : Control(owner), textColor_(textColor), backgroundIndex_(backgroundIndex)
{
    CreateHandle(creation);
    WidenToText();
}

void Label::SetDpi(int dpi)
{
    Control::SetDpi(dpi);
    WidenToText();
}

void Label::WidenToText()
{
    const WindowDC dc(Handle());
    const SelectedObject font(dc.Get(), Font());
    const std::string text = Caption();
    SIZE extent{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const RECT r = BoundsRect();
    if (extent.cx > r.right - r.left) {
        SetWindowPos(Handle(), nullptr, 0, 0, extent.cx, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Label::SetTextColor(COLORREF color)
{
    if (textColor_ == color) {
        return;
    }
    textColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::SetAlignment(TextAlignment alignment)
{
    if (alignment_ == alignment) {
        return;
    }
    alignment_ = alignment;
    // Left-aligned text is cut at the right edge rather than wrapped, as a label of one line.
    static constexpr DWORD kStyles[] = {SS_LEFTNOWORDWRAP, SS_RIGHT, SS_CENTER};
    const DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>((style & ~SS_TYPEMASK) | kStyles[alignment]));
    InvalidateRect(Handle(), nullptr, TRUE);
}

HBRUSH Label::OnCtlColor(UINT, HDC dc)
{
    ::SetTextColor(dc, !Enabled()                    ? GetSysColor(COLOR_GRAYTEXT)
                       : textColor_ != kDefaultColor ? textColor_
                                                     : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(backgroundIndex_));
    return GetSysColorBrush(backgroundIndex_);
}
