#include "framework/form_builder.h"

#include "base/error.h"
#include "framework/control.h"
#include "framework/dialog_presenter.h"
#include "framework/form.h"
#include "framework/menu_item.h"
#include "framework/popup_menu.h"
#include "framework/windowless_control.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Control IDs start above the ones dialog keys send (IDOK, IDCANCEL, ...), so that Escape
// never "clicks" a control that happens to carry ID 2.
constexpr int kFirstControlId = 100;

[[noreturn]] void DefinitionError(const FormDef& def, const char* component, const std::string& what)
{
    throw Error(std::string(def.className) + "." + (component ? component : "?") + ": " + what);
}

// Calls visit(item definition) for every item of every menu, submenus included.
template <typename Visit>
void ForEachMenuItem(const FormDef& def, Visit&& visit)
{
    std::vector<Span<MenuItemDef>> stack;
    for (const MenuDef& menu : def.menus) {
        stack.push_back(menu.items);
    }
    while (!stack.empty()) {
        const Span<MenuItemDef> items = stack.back();
        stack.pop_back();
        for (const MenuItemDef& item : items) {
            visit(item);
            if (!item.items.empty()) {
                stack.push_back(item.items);
            }
        }
    }
}

class FormBuilder {
public:
    FormBuilder(Form& form, const FormDef& def, HFONT formFont) : form_(form), def_(def), formFont_(formFont)
    {
    }

    BuiltForm Build()
    {
        CreateMenus();
        CreateControls();
        ApplyTabOrder();
        return std::move(built_);
    }

private:
    void CreateMenus();
    void CreateControls();
    void ApplyTabOrder();
    HFONT FontFor(const ControlDef& control);

    Form& form_;
    const FormDef& def_;
    HFONT formFont_;   // not owned: the form's
    BuiltForm built_;
};

void FormBuilder::CreateMenus()
{
    for (const MenuDef& menuDef : def_.menus) {
        auto* menu = new PopupMenu(&form_);
        menu->SetName(menuDef.name);
        // Items are owned by the form, so that the form finds each by name.
        struct Pending {
            MenuItem* parent;
            Span<MenuItemDef> items;
        };
        std::vector<Pending> stack{{menu->Items(), menuDef.items}};
        while (!stack.empty()) {
            const Pending pending = stack.back();
            stack.pop_back();
            for (const MenuItemDef& def : pending.items) {
                auto* item = new MenuItem(&form_);
                item->SetName(def.name);
                item->SetCaption(def.caption);
                item->SetChecked(def.flags & kMenuChecked);
                item->SetVisible(!(def.flags & kMenuHidden));
                item->SetEnabled(!(def.flags & kMenuDisabled));
                item->SetSubmenu(def.submenu || !def.items.empty());
                pending.parent->Add(item);
                if (!def.items.empty()) {
                    stack.push_back({item, def.items});
                }
            }
        }
    }
}

HFONT FormBuilder::FontFor(const ControlDef& control)
{
    if (!control.font) {
        return formFont_;
    }
    built_.fonts.push_back(MakeFont(*control.font));
    return built_.fonts.back().Get();
}

void FormBuilder::CreateControls()
{
    int id = kFirstControlId;
    for (const ControlDef& def : def_.controls) {
        HWND parent = form_.Handle();
        if (def.parent) {
            auto* container = dynamic_cast<Control*>(form_.FindComponent(def.parent));
            if (!container) {
                DefinitionError(def_, def.name, std::string("no control ") + def.parent + " to sit in");
            }
            parent = container->Handle();
        }
        Component* created = def.create({form_, parent, def, id++, FontFor(def)});
        created->SetName(def.name);

        auto* control = dynamic_cast<Control*>(created);
        auto* windowless = dynamic_cast<WindowlessControl*>(created);
        if (control) {
            if (!def.enabled) {
                control->SetEnabled(false);
            }
            if (def.isDefault) {
                built_.defaultButtonId = control->Id();
            }
            if (def.popupMenu) {
                auto* menu = dynamic_cast<PopupMenu*>(form_.FindComponent(def.popupMenu));
                if (!menu) {
                    DefinitionError(def_, def.name, std::string("no menu ") + def.popupMenu);
                }
                control->SetPopupMenu(menu);
            }
        } else if (windowless && def.parent) {
            DefinitionError(def_, def.name, "a windowless control sits on the form itself");
        }
        for (const PropertyDef& property : def.properties) {
            if (!property.name) {
                break;
            }
            const bool set = control      ? control->SetProperty(property.name, property.value)
                             : windowless ? windowless->SetProperty(property.name, property.value)
                                          : false;
            if (!set) {
                DefinitionError(def_, def.name, std::string("no property ") + property.name);
            }
        }
    }
}

void FormBuilder::ApplyTabOrder()
{
    // Dialog keys walk a parent's children in Z order, and a new child goes to the bottom of
    // it: bring every parent's controls into tab order, those without one after, as defined.
    struct Entry {
        HWND parent;
        int tabOrder;
        HWND window;
    };
    std::vector<Entry> entries;
    for (const ControlDef& def : def_.controls) {
        if (auto* control = dynamic_cast<Control*>(form_.FindComponent(def.name))) {
            entries.push_back({GetParent(control->Handle()),
                               def.tabOrder == kNoTabOrder ? INT_MAX : def.tabOrder, control->Handle()});
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.parent != b.parent ? a.parent < b.parent : a.tabOrder < b.tabOrder;
    });
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool first = i == 0 || entries[i - 1].parent != entries[i].parent;
        SetWindowPos(entries[i].window, first ? HWND_TOP : entries[i - 1].window, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}   // namespace

UniqueFont MakeFont(const FontDef& def)
{
    return UniqueFont(CreateFontA(-def.height, 0, 0, 0, def.weight, FALSE, FALSE, FALSE, def.charset,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, def.face));
}

BuiltForm BuildForm(Form& form, const FormDef& definition, HFONT formFont)
{
    return FormBuilder(form, definition, formFont).Build();
}

std::vector<std::string> HandlerNames(const FormDef& definition)
{
    std::vector<std::string> names;
    for (const ControlDef& control : definition.controls) {
        for (const EventDef& event : control.events) {
            if (event.handler) {
                names.emplace_back(event.handler);
            }
        }
    }
    ForEachMenuItem(definition, [&](const MenuItemDef& item) {
        if (item.onClick) {
            names.emplace_back(item.onClick);
        }
    });
    return names;
}

void BindFormHandlers(Form& form, const FormDef& definition,
                      const std::function<NotifyEvent(std::string_view name)>& resolve,
                      DialogPresenter* dialogs)
{
    auto handler = [&](const char* component, const char* name) {
        NotifyEvent bound = resolve(name);
        if (!bound) {
            DefinitionError(definition, component, std::string("no handler ") + name);
        }
        return bound;
    };
    for (const ControlDef& def : definition.controls) {
        for (const EventDef& event : def.events) {
            if (!event.event) {
                break;
            }
            auto* control = dynamic_cast<Control*>(form.FindComponent(def.name));
            NotifyEvent* slot = control ? control->Event(event.event) : nullptr;
            if (!slot) {
                DefinitionError(definition, def.name, std::string("no event ") + event.event);
            }
            *slot = handler(def.name, event.handler);
        }
    }
    ForEachMenuItem(definition, [&](const MenuItemDef& def) {
        if (!def.onClick) {
            return;
        }
        auto* item = dynamic_cast<MenuItem*>(form.FindComponent(def.name));
        if (!item) {
            DefinitionError(definition, def.name, "no menu item");
        }
        NotifyEvent command = handler(def.name, def.onClick);
        if (def.flags & kMenuOpensDialog) {
            if (!dialogs) {
                DefinitionError(definition, def.name, "opens a dialog, but the form presents none");
            }
            command = dialogs->AfterMenu(std::move(command));
        }
        item->OnClick = std::move(command);
    });
}
