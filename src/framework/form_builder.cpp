#include "framework/form_builder.h"

#include "base/error.h"
#include "framework/control.h"
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

}   // namespace

void DefinitionError(const WindowDef& def, const char* component, const std::string& what)
{
    throw Error(std::string(def.className) + "." + (component ? component : "?") + ": " + what);
}

UniqueFont MakeFont(const FontDef& def, int dpi)
{
    return UniqueFont(CreateFontA(-ScaleFromDesign(def.height, dpi), 0, 0, 0, def.weight, FALSE, FALSE, FALSE,
                                  def.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, def.face));
}

FormBuilder::FormBuilder(Form& form, const WindowDef& window, HFONT formFont)
    : form_(form), window_(window), formFont_(formFont)
{
}

MenuItem* FormBuilder::AddMenu(const char* name, std::optional<int> onPopup)
{
    auto* menu = new PopupMenu(&form_);
    menu->SetName(name);
    if (onPopup) {
        AddEvent(&menu->OnPopup, *onPopup, name);
    }
    return menu->Items();
}

MenuItem* FormBuilder::AddMenuItem(MenuItem* parent, const char* name, const char* caption, unsigned flags,
                                   bool submenu, std::optional<int> onClick)
{
    // Items are owned by the form, so that the form finds each by name.
    auto* item = new MenuItem(&form_);
    item->SetName(name ? name : "");
    item->SetCaption(caption);
    item->SetChecked(flags & kMenuChecked);
    item->SetVisible(!(flags & kMenuHidden));
    item->SetEnabled(!(flags & kMenuDisabled));
    item->SetSubmenu(submenu);
    parent->Add(item);
    if (onClick) {
        built_.events.push_back({&item->OnClick, *onClick, (flags & kMenuOpensDialog) != 0, name});
    }
    return item;
}

HFONT FormBuilder::FontFor(const ControlLayout& control)
{
    if (!control.font) {
        return formFont_;
    }
    built_.fonts.push_back(MakeFont(*control.font, form_.Dpi()));
    return built_.fonts.back().Get();
}

Component& FormBuilder::AddControl(const ControlLayout& def)
{
    HWND parent = form_.Handle();
    if (def.parent) {
        auto* container = dynamic_cast<Control*>(form_.FindComponent(def.parent));
        if (!container) {
            DefinitionError(window_, def.name, std::string("no control ") + def.parent + " to sit in");
        }
        parent = container->Handle();
    }
    const int id = kFirstControlId + static_cast<int>(built_.placed.size());
    const RectDef bounds = ScaleEdges(def.bounds, form_.Dpi());
    Component* created = def.create({form_, parent, def, id, FontFor(def), bounds, form_.Dpi()});
    created->SetName(def.name);
    built_.placed.push_back({&def, created});

    auto* control = dynamic_cast<Control*>(created);
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
                DefinitionError(window_, def.name, std::string("no menu ") + def.popupMenu);
            }
            control->SetPopupMenu(menu);
        }
    } else if (auto* windowless = dynamic_cast<WindowlessControl*>(created)) {
        if (def.parent) {
            DefinitionError(window_, def.name, "a windowless control sits on the form itself");
        }
        windowless->SetBounds(
            {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height});
    }
    for (const PropertyDef& property : def.properties) {
        if (property.apply) {
            property.apply(*created, property.value);
        }
    }
    return *created;
}

void FormBuilder::AddEvent(NotifyEvent* event, int command, const char* component)
{
    built_.events.push_back({event, command, false, component});
}

BuiltForm FormBuilder::Finish()
{
    // Dialog keys walk a parent's children in Z order, and a new child goes to the bottom of
    // it: bring every parent's controls into tab order, those without one after, as defined.
    struct Entry {
        HWND parent;
        int tabOrder;
        HWND window;
    };
    std::vector<Entry> entries;
    for (const PlacedControl& placed : built_.placed) {
        if (auto* control = dynamic_cast<Control*>(placed.control)) {
            entries.push_back({GetParent(control->Handle()),
                               placed.def->tabOrder == kNoTabOrder ? INT_MAX : placed.def->tabOrder,
                               control->Handle()});
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
    return std::move(built_);
}
