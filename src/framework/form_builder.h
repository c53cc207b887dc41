// Building a form from its definition: its menus, its controls in their parents with their
// fonts, properties and tab order, and the binding of handler names to the form's methods.
// Running the built form as a window is Form's part.
#pragma once

#include "framework/component.h"
#include "framework/form_def.h"
#include "framework/handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class DialogPresenter;

// One entry of a form's handler table: the name a definition binds, the form's method.
// Tables write FORM_HANDLER(TTASKM, K1Click), so that the name is the method's own.
template <typename F>
struct HandlerDef {
    const char* name;
    void (F::*method)(Component* sender);
};

#define FORM_HANDLER(FormClass, Method) (HandlerDef<FormClass>{#Method, &FormClass::Method})

// What building leaves the form to keep.
struct BuiltForm {
    std::vector<UniqueFont> fonts;   // owned: the fonts of controls with one of their own
    int defaultButtonId = 0;         // the button Enter presses, 0 for none
};

// The font a definition describes; owned by the caller.
UniqueFont MakeFont(const FontDef& def);

// Makes the definition's menus and controls as components of `form`, whose window exists,
// and puts the controls into tab order. A control or menu the definition refers to but does
// not have, or a property the kind lacks, is an error naming the form and the component.
BuiltForm BuildForm(Form& form, const FormDef& definition, HFONT formFont);

// Connects every handler name of the definition to what `resolve` gives for it. The commands
// of menu items that open a dialog wait for the menu's end in `dialogs`, which a form with
// such items must give. A name resolving to nothing, or an event the control's kind does not
// have, is an error naming both.
void BindFormHandlers(Form& form, const FormDef& definition,
                      const std::function<NotifyEvent(std::string_view name)>& resolve,
                      DialogPresenter* dialogs);

// Every handler name the definition binds, controls' events and menu items alike.
std::vector<std::string> HandlerNames(const FormDef& definition);

// The handler names a form's definition uses that its table lacks.
template <typename F>
std::vector<std::string> MissingHandlers(const FormDef& definition, Span<HandlerDef<F>> handlers)
{
    std::vector<std::string> missing;
    for (const std::string& name : HandlerNames(definition)) {
        bool found = false;
        for (const HandlerDef<F>& entry : handlers) {
            found = found || name == entry.name;
        }
        if (!found) {
            missing.push_back(name);
        }
    }
    return missing;
}
