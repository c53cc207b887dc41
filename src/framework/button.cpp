#include "framework/button.h"

#include "base/error.h"
#include "framework/control_link.h"

Button::Button(Component* owner, HWND parent, int left, int top, int width, int height,
               const std::string& caption, HFONT font, bool isDefault)
    : Component(owner)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    handle_ = CreateWindowExA(0, "BUTTON", caption.c_str(), style, left, top, width, height, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (!handle_)
        throw Error("CreateWindowEx failed for a button");
    LinkControl(handle_, this);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Button::Click()
{
    if (OnClick)
        OnClick(this);
}

Button::~Button()
{
    UnlinkControl(handle_);
}
