// A framed group with a caption that holds other controls. Its children's notifications
// reach it rather than the form, so it hands them back to the children as the form does.
#pragma once

#include "framework/control.h"

class GroupBox : public Control {
public:
    static Component* Create(const ControlContext& context);

    GroupBox(Component* owner, const ControlCreation& creation, int backgroundIndex);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int backgroundIndex_;   // the system colour inside the frame: the form's
};
