// A top-level window built from a form definition: its frame, font, controls and menus.
#pragma once

#include "framework/custom_window.h"
#include "framework/form_builder.h"
#include "framework/form_def.h"
#include "framework/handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class DialogPresenter;
class PopupMenu;
class WindowlessControl;

class Form : public CustomWindow {
public:
    // Creates the window hidden, owned by the application window, with the definition's
    // controls and menus. The first form created becomes the application's main form.
    Form(Component* owner, const FormDef& definition);
    ~Form() override;

    void Show();
    void Hide();
    bool Visible() const;
    // Runs the close handler; closing the main form ends the program. A modal form
    // ends its modal loop instead.
    void Close();

    // Shows the form modally: the application's other windows are disabled until the
    // form sets a modal result or is closed. Returns the result.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    RECT BoundsRect() const;
    int Left() const { return BoundsRect().left; }
    int Top() const { return BoundsRect().top; }
    void SetLeft(int left);
    void SetTop(int top);
    void SetSize(int width, int height);
    void SetClientHeight(int height);
    void CenterOnScreen();

    HFONT Font() const { return font_.Get(); }
    const FormDef& Definition() const { return definition_; }

    // The windowless controls the form paints, in the order they were made.
    void AddWindowlessControl(WindowlessControl* control);
    void RemoveWindowlessControl(WindowlessControl* control);

protected:
    // The close handler (FormClose); by default the main form ends the program.
    virtual void DoClose();

    // Connects every handler name of the definition to the derived form's method of that name
    // in its table. Derived constructors call it once their handlers can run. A name with no
    // method, or an event the control's kind does not have, is an error naming both. The
    // commands of menu items that open a dialog wait for the menu's end in `dialogs`, which
    // a form with such items must give.
    template <typename F>
    void BindHandlers(F* form, Span<HandlerDef<F>> handlers, DialogPresenter* dialogs = nullptr)
    {
        BindHandlers(
            [form, handlers](std::string_view name) -> NotifyEvent {
                for (const HandlerDef<F>& entry : handlers) {
                    if (name == entry.name) {
                        return [form, method = entry.method](Component* sender) { (form->*method)(sender); };
                    }
                }
                return {};
            },
            dialogs);
    }
    void BindHandlers(const std::function<NotifyEvent(std::string_view name)>& resolve,
                      DialogPresenter* dialogs)
    {
        BindFormHandlers(*this, definition_, resolve, dialogs);
    }

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Dispatches the thread's messages, dialog keys included, until the modal result is set.
    void RunModalLoop();
    void PaintWindowlessControls();
    // Gives the focus back to the control that had it, or to the first in tab order; false
    // when the form has no control to take it.
    bool FocusFirstControl();

    const FormDef& definition_;
    UniqueFont font_;                              // owned
    std::vector<UniqueFont> controlFonts_;         // owned: the fonts of controls with one of their own
    std::vector<WindowlessControl*> windowless_;   // not owned: components of the form
    int defaultButtonId_ = 0;
    HWND lastFocus_ = nullptr;   // the control that had the focus when the form was left
    bool modal_ = false;
    int modalResult_ = 0;
};
