#include "components/about_box.h"

#include "forms/about_box_form.h"

#include <string_view>

TAboutBox::TAboutBox(Component* owner) : Form(owner, about_box_form::kForm)
{
    RECT bounds = BoundsRect();
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    SetLeft((GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    SetTop((GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    BindHandlers();
}

NotifyEvent TAboutBox::FindHandler(const char* name)
{
    if (std::string_view(name) == "Button1Click")
        return [this](Component* sender) { Button1Click(sender); };
    return {};
}

void TAboutBox::Button1Click(Component*)
{
    Close();
}

LRESULT TAboutBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Escape arrives from the dialog keys as IDCANCEL with no control behind it.
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && lParam == 0) {
        Close();
        return 0;
    }
    return Form::WndProc(message, wParam, lParam);
}
