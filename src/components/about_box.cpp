#include "components/about_box.h"

#include "forms/about_box_form.h"

TAboutBox::TAboutBox(Component* owner) : Form(owner, about_box_form::kForm)
{
    CenterOnScreen();
    BindHandlers(this, Handlers());
}

Span<HandlerDef<TAboutBox>> TAboutBox::Handlers()
{
    static constexpr HandlerDef<TAboutBox> kHandlers[] = {
        {"Button1Click", &TAboutBox::Button1Click},
    };
    return kHandlers;
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
