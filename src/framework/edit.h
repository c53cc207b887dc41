// A single-line text field; OnChange runs on every change of its text, typed or set.
#pragma once

#include "framework/control.h"

#include <string>

class Edit : public Control {
public:
    static Component* Create(const ControlContext& context);

    Edit(Component* owner, const ControlCreation& creation);

    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    NotifyEvent OnChange;

    bool OnCommand(WORD code) override;
};
