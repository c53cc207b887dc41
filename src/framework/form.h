// A top-level window built from a form definition: its frame, font, controls and menus, laid
// out at the DPI of the monitor it shows on.
#pragma once

#include "framework/custom_window.h"
#include "framework/form_builder.h"
#include "framework/form_def.h"
#include "framework/handles.h"

#include <windows.h>

#include <functional>
#include <vector>

class DialogPresenter;
class PopupMenu;
class WindowlessControl;

class Form : public CustomWindow {
public:
    // Creates the window hidden, owned by the application window, with the definition's
    // controls and menus at the window's DPI. The first form created becomes the
    // application's main form. The
    // events the definition gives commands run nothing until the form binds them
    // (CommandForm::BindCommands).
    template <typename Command>
    Form(Component* owner, const FormDef<Command>& definition)
        : Form(owner, static_cast<const WindowDef&>(definition))
    {
        Adopt(BuildForm(*this, definition, font_.Get()));
    }
    ~Form() override;

    // Shows the form, laid out again first when its window's DPI changed while it was hidden.
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
    // Sizes the window so that its client area takes these pixels, whatever its frame.
    void SetClientSize(int width, int height);
    void SetClientHeight(int height);
    void CenterOnScreen();

    // The DPI the form is laid out at: its monitor's (for a program aware of each monitor's
    // scale). The definition's rectangles and font heights are at 96 DPI; the form's windows
    // take them scaled to this DPI.
    int Dpi() const { return dpi_; }
    // A length of the definition (96 DPI) at the form's DPI.
    int Scaled(int length) const;

    HFONT Font() const { return font_.Get(); }
    const WindowDef& Definition() const { return definition_; }

    // The windowless controls the form paints, in the order they were made.
    void AddWindowlessControl(WindowlessControl* control);
    void RemoveWindowlessControl(WindowlessControl* control);

    void Notification(Component* component, Operation operation) override;

protected:
    // The close handler; by default the main form ends the program.
    virtual void DoClose();
    // Sizes the window as the form's DPI asks: by default the definition's client area at it.
    virtual void FitFrame();
    // The form has laid itself out at a new DPI (its fonts, controls and frame): what a
    // derived form keeps of its own at the DPI (pictures, sizes) follows here.
    virtual void DpiChanged() {}

    // From now on the events the definition gives commands run what `handlerOf` gives for
    // each command. The commands of menu items that open a dialog wait for the menu's end in
    // `dialogs`, which a form with such items must give. Derived constructors call it (through
    // CommandForm) once their handlers can run.
    void BindEvents(const std::function<NotifyEvent(int command)>& handlerOf, DialogPresenter* dialogs);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Form(Component* owner, const WindowDef& definition);
    // Takes what building made: the controls' fonts, the default button, the events to bind.
    void Adopt(BuiltForm built);
    // Lays the form out at `dpi`: fonts, controls, frame. `suggested` is the window rectangle
    // the system suggests for that DPI, if any.
    void LayOut(int dpi, const RECT* suggested);
    // Dispatches the thread's messages, dialog keys included, until the modal result is set.
    void RunModalLoop();
    void PaintWindowlessControls();
    // Gives the focus back to the control that had it, or to the first in tab order; false
    // when the form has no control to take it.
    bool FocusFirstControl();

    const WindowDef& definition_;
    int dpi_;
    int windowDpi_;                          // what the system said the window's DPI was at the last layout
    UniqueFont font_;                        // owned
    std::vector<UniqueFont> controlFonts_;   // owned: the fonts of controls with one of their own
    std::vector<WindowlessControl*> windowless_;   // not owned: components of the form
    std::vector<PlacedControl> placed_;            // the controls made from the definition
    int defaultButtonId_ = 0;
    std::vector<UnboundEvent> unbound_;   // the events of owned components not bound yet
    HWND lastFocus_ = nullptr;            // the control that had the focus when the form was left
    bool modal_ = false;
    int modalResult_ = 0;
};
