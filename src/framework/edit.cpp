#include "framework/edit.h"

#include "framework/form.h"

Component* Edit::Create(const ControlContext& context)
{
    return new Edit(&context.form,
                    CreationFor(context, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE));
}

Edit::Edit(Component* owner, const ControlCreation& creation) : Control(owner)
{
    CreateHandle(creation);
    // No limit but memory: the default of 30,000 characters would cut a long option.
    SendMessageA(Handle(), EM_SETLIMITTEXT, 0, 0);
}

bool Edit::OnCommand(WORD code)
{
    if (code != EN_CHANGE) {
        return false;
    }
    if (OnChange) {
        OnChange(this);
    }
    return true;
}
