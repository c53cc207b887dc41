// A push button on a form; the form hands its clicks back to it.
#pragma once

#include "framework/component.h"

#include <windows.h>

#include <string>

class Button : public Component {
public:
    Button(Component* owner, HWND parent, int left, int top, int width, int height,
           const std::string& caption, HFONT font, bool isDefault);
    ~Button() override;

    HWND Handle() const { return handle_; }
    NotifyEvent OnClick;
    void Click();

private:
    HWND handle_;   // owned by the parent window, destroyed with it
};
