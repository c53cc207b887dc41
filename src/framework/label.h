// A static text on a form, in its own colour on the form's background.
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

private:
    COLORREF textColor_;
    int backgroundIndex_;   // the system colour behind the text: the form's
    TextAlignment alignment_ = taLeftJustify;
};
