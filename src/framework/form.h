// A top-level window built from a form definition: its frame, font, labels and pop-up menu.
#pragma once

#include "framework/form_def.h"
#include "framework/handles.h"
#include "framework/win_control.h"

#include <windows.h>

class Label;
class MenuItem;
class PopupMenu;

class Form : public WinControl {
public:
    // Creates the window hidden, owned by the application window, with the definition's
    // controls and menu. The first form created becomes the application's main form.
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

    HFONT Font() const { return font_.Get(); }
    const FormDef& Definition() const { return definition_; }

protected:
    // The close handler (FormClose); by default the main form ends the program.
    virtual void DoClose();
    // The handler that a definition names, or an empty event.
    virtual NotifyEvent FindHandler(const char* name);
    // Connects the definition's handler names to the derived form's handlers. Derived
    // constructors call it once their handlers can run.
    void BindHandlers();

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateMenu(PopupMenu* menu);

    const FormDef& definition_;
    UniqueFont font_;   // owned
    bool modal_ = false;
    int modalResult_ = 0;
};
