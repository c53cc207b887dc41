// The about box: names the program and its version; shown modally from the pop-up menu.
#pragma once

#include "framework/form.h"

class TAboutBox : public Form {
public:
    // Created hidden and centred on the screen.
    explicit TAboutBox(Component* owner);

    void Button1Click(Component* sender);

    // The handlers the form's definition binds by name.
    static Span<HandlerDef<TAboutBox>> Handlers();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
