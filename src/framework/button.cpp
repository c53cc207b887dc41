#include "framework/button.h"

#include "framework/form.h"

Component* Button::Create(const ControlContext& context)
{
    const DWORD kind = context.def.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    return new Button(&context.form, CreationFor(context, "BUTTON", WS_TABSTOP | kind));
}

Button::Button(Component* owner, const ControlCreation& creation) : Control(owner)
{
    CreateHandle(creation);
}

void Button::Click()
{
    if (OnClick) {
        OnClick(this);
    }
}

bool Button::OnCommand(WORD code)
{
    if (code != BN_CLICKED) {
        return false;
    }
    Click();
    return true;
}
