// A push button; its parent hands its clicks back to it.
#pragma once

#include "framework/control.h"

class Button : public Control {
public:
    static Component* Create(const ControlContext& context);

    Button(Component* owner, const ControlCreation& creation);

    NotifyEvent OnClick;
    // Runs OnClick with this button as sender.
    void Click();

    bool OnCommand(WORD code) override;
};
