#include "components/big_bevel.h"

#include "base/display_scale.h"
#include "framework/form.h"
#include "framework/handles.h"

namespace {

using UniquePen = UniqueHandle<HPEN, NullInvalidTraits<HPEN, ::DeleteObject>>;

}   // namespace

Component* BigBevel::Create(const ControlContext& context)
{
    const RectDef& r = context.bounds;
    return new BigBevel(context.form, RECT{r.left, r.top, r.left + r.width, r.top + r.height});
}

BigBevel::BigBevel(Form& form, const RECT& bounds) : WindowlessControl(form, bounds) {}

void BigBevel::SetStyle(BevelStyle style)
{
    if (style_ == style) {
        return;
    }
    style_ = style;
    Invalidate();
}

void BigBevel::SetBevelWidth(std::int16_t width)
{
    if (bevelWidth_ == width) {
        return;
    }
    bevelWidth_ = width;
    Invalidate();
}

void BigBevel::Paint(HDC dc)
{
    if (bevelWidth_ <= 0) {
        return;
    }
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    UniquePen first(CreatePen(PS_SOLID, 1, style_ == bsLowered ? shadow : highlight));
    UniquePen second(CreatePen(PS_SOLID, 1, style_ == bsLowered ? highlight : shadow));
    // The pens leave the DC before they are deleted.
    const SelectedObject pen(dc, first.Get());
    const int w = Width();
    const int h = Height();
    // A line includes its first pixel and leaves out its last, so the top-right corner of each
    // frame takes the first colour and the bottom-left corner the second.
    const int lines = ScaleFromDesign(bevelWidth_, Dpi());
    for (int i = 0; i < lines; ++i) {
        SelectObject(dc, first.Get());
        MoveToEx(dc, w - i - 1, i, nullptr);
        LineTo(dc, i, i);
        LineTo(dc, i, h - i - 1);
        SelectObject(dc, second.Get());
        LineTo(dc, w - i - 1, h - i - 1);
        LineTo(dc, w - i - 1, i);
    }
}
