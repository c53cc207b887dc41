// A static text on a form, in its own colour on the form's background, on one line.
#pragma once

#include "framework/control.h"
#include "framework/form_def.h"

#include <windows.h>

// Where a label puts its text (SetAlignment).
enum TextAlignment { taLeftJustify, taRightJustify, taCenter };

class Label : public Control {
public:
    static Component* Create(const ControlContext& context);

    Label(Component* owner, const ControlCreation& creation, COLORREF textColor, int backgroundIndex);

    // The text colour, or kDefaultColor for the window-text colour.
    COLORREF TextColor() const { return textColor_; }
    void SetTextColor(COLORREF color);
    TextAlignment Alignment() const { return alignment_; }
    void SetAlignment(TextAlignment alignment);

    HBRUSH OnCtlColor(UINT message, HDC dc) override;
    // Widens the label to its text in its font at the new DPI.
    void SetDpi(int dpi) override;

private:
    // A label grows to its text rather than cut it off: the layouts were drawn with labels
    // sized by their texts in the fonts of a Japanese Windows at 96 DPI, and another font, a
    // longer text or the rounding at another DPI may want a pixel or more. It keeps its place
    // and never shrinks.
    void WidenToText();

    COLORREF textColor_;
    int backgroundIndex_;   // the system colour behind the text: the form's
    TextAlignment alignment_ = taLeftJustify;
};
