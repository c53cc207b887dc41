// Building a form from its definition: its menus, its controls in their parents with their
// fonts, properties and tab order, and the events that are to run the form's commands. Running
// the built form as a window, and binding those events, is Form's part.
#pragma once

#include "framework/component.h"
#include "framework/form_def.h"
#include "framework/handles.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class Control;
class MenuItem;

// An event of a built component that is to run a command of the form, once the form binds it.
struct UnboundEvent {
    NotifyEvent* event;   // a member of a component the form owns
    int command;          // the value of the form's command enumeration
    bool afterMenu;       // the command opens a dialog: it waits for the menu's end
    const char* component;
};

// A control made from a definition, which the form places again at another DPI.
struct PlacedControl {
    const ControlLayout* def;
    Component* control;   // not owned: a component of the form, windowed or windowless
};

// What building leaves the form to keep.
struct BuiltForm {
    std::vector<UniqueFont> fonts;   // owned: the fonts of controls with one of their own
    int defaultButtonId = 0;         // the button Enter presses, 0 for none
    std::vector<UnboundEvent> events;
    std::vector<PlacedControl> placed;   // in the order they were made
};

// An error in a definition, naming the form and the component.
[[noreturn]] void DefinitionError(const WindowDef& def, const char* component, const std::string& what);

// The font a definition describes, at `dpi`; owned by the caller.
UniqueFont MakeFont(const FontDef& def, int dpi);

// Makes the components of a definition, one at a time, as components of `form`, whose window
// exists, at the form's DPI. A control or menu a definition refers to but the form does not
// have yet is an error naming the form and the component.
class FormBuilder {
public:
    FormBuilder(Form& form, const WindowDef& window, HFONT formFont);

    // A pop-up menu; its items go under the returned root.
    MenuItem* AddMenu(const char* name, std::optional<int> onPopup);
    MenuItem* AddMenuItem(MenuItem* parent, const char* name, const char* caption, unsigned flags,
                          bool submenu, std::optional<int> onClick);
    // A control, in its parent, with its state, context menu and properties.
    Component& AddControl(const ControlLayout& def);
    void AddEvent(NotifyEvent* event, int command, const char* component);
    // Puts the controls into tab order.
    BuiltForm Finish();

private:
    HFONT FontFor(const ControlLayout& control);

    Form& form_;
    const WindowDef& window_;
    HFONT formFont_;   // not owned: the form's
    BuiltForm built_;
};

// Makes the definition's menus (first: controls name them) and controls.
template <typename Command>
BuiltForm BuildForm(Form& form, const FormDef<Command>& definition, HFONT formFont)
{
    auto number = [](const std::optional<Command>& command) {
        return command ? std::optional<int>(static_cast<int>(*command)) : std::nullopt;
    };
    FormBuilder builder(form, definition, formFont);
    for (const MenuDef<Command>& menu : definition.menus) {
        struct Pending {
            MenuItem* parent;
            Span<MenuItemDef<Command>> items;
        };
        std::vector<Pending> stack{{builder.AddMenu(menu.name, number(menu.onPopup)), menu.items}};
        while (!stack.empty()) {
            const Pending pending = stack.back();
            stack.pop_back();
            for (const MenuItemDef<Command>& def : pending.items) {
                MenuItem* item = builder.AddMenuItem(pending.parent, def.name, def.caption, def.flags,
                                                     def.submenu || !def.items.empty(), number(def.onClick));
                if (!def.items.empty()) {
                    stack.push_back({item, def.items});
                }
            }
        }
    }
    for (const ControlDef<Command>& def : definition.controls) {
        Component& control = builder.AddControl(def);
        for (const EventDef<Command>& event : def.events) {
            if (event.event) {
                builder.AddEvent(event.event(control), static_cast<int>(event.command), def.name);
            }
        }
    }
    return builder.Finish();
}
