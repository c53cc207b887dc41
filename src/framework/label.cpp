#include "framework/label.h"

#include "base/error.h"
#include "framework/control_link.h"

Label::Label(Component* owner, HWND parent, int left, int top, int width, int height,
             const std::string& caption, HFONT font, COLORREF textColor)
    : Component(owner), textColor_(textColor)
{
    handle_ = CreateWindowExA(0, "STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                              left, top, width, height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!handle_)
        throw Error("CreateWindowEx failed for a label");
    LinkControl(handle_, this);
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

std::string Label::Caption() const
{
    int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), length + 1)));
    return text;
}

void Label::SetCaption(const std::string& caption)
{
    SetWindowTextA(handle_, caption.c_str());
}

Label::~Label()
{
    UnlinkControl(handle_);
}
