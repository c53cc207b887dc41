#include "framework/graphic_control.h"

#include "framework/form.h"

GraphicControl::GraphicControl(Form& form, const RECT& bounds)
    : Component(&form), form_(&form), bounds_(bounds)
{
    form_->AddGraphicControl(this);
}

GraphicControl::~GraphicControl()
{
    form_->RemoveGraphicControl(this);
    Invalidate();
}

void GraphicControl::SetVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    Invalidate();
}

bool GraphicControl::SetProperty(std::string_view, int)
{
    return false;
}

void GraphicControl::Invalidate()
{
    if (form_->HandleAllocated())
        InvalidateRect(form_->Handle(), &bounds_, TRUE);
}
