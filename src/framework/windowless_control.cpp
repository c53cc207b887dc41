#include "framework/windowless_control.h"

#include "framework/form.h"

WindowlessControl::WindowlessControl(Form& form, const RECT& bounds)
    : Component(&form), form_(&form), bounds_(bounds)
{
    form_->AddWindowlessControl(this);
}

WindowlessControl::~WindowlessControl()
{
    form_->RemoveWindowlessControl(this);
    Invalidate();
}

void WindowlessControl::SetVisible(bool visible)
{
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    Invalidate();
}

void WindowlessControl::SetBounds(const RECT& bounds)
{
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

int WindowlessControl::Dpi() const
{
    return form_->Dpi();
}

void WindowlessControl::Invalidate()
{
    if (form_->HandleAllocated()) {
        InvalidateRect(form_->Handle(), &bounds_, TRUE);
    }
}
