// The base of windowless controls: a rectangle on a form that the form paints.
#pragma once

#include "framework/component.h"

#include <windows.h>

class Form;

class WindowlessControl : public Component {
public:
    // Sits on `form` (whose window paints it) at `bounds`, in the form's client coordinates.
    WindowlessControl(Form& form, const RECT& bounds);
    ~WindowlessControl() override;

    const RECT& BoundsRect() const { return bounds_; }
    // Moves the control, repainting where it was and where it goes.
    void SetBounds(const RECT& bounds);
    // The DPI its form is laid out at.
    int Dpi() const;
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Draws the control into `dc`, whose origin is the control's top-left corner and whose
    // clipping keeps the drawing inside it.
    virtual void Paint(HDC dc) = 0;

protected:
    // Asks the form to paint the control again.
    void Invalidate();

private:
    Form* form_;   // not owned: the form owns the control
    RECT bounds_;
    bool visible_ = true;
};
