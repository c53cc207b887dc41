// The about box: names the program and its version; shown modally from the pop-up menu.
#pragma once

#include "framework/form.h"

class TAboutBox : public Form {
public:
    // Created hidden and centred on the screen.
    explicit TAboutBox(Component* owner);

    void Button1Click(Component* sender);

protected:
    NotifyEvent FindHandler(const char* name) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
