// A static text on a form.
#pragma once

#include "framework/component.h"

#include <windows.h>

#include <string>

class Label : public Component {
public:
    Label(Component* owner, HWND parent, int left, int top, int width, int height, const std::string& caption,
          HFONT font, COLORREF textColor);
    ~Label() override;

    HWND Handle() const { return handle_; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The text colour, or kDefaultColor for the window-text colour.
    COLORREF TextColor() const { return textColor_; }

private:
    HWND handle_;   // owned by the parent window, destroyed with it
    COLORREF textColor_;
};
