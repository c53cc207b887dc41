// The base of every child control with a window of its own: one creation record, the link
// from the window back to its component, and the notifications the parent hands back.
#pragma once

#include "framework/component.h"
#include "framework/watched.h"

#include <windows.h>

#include <string>

class Form;
class PopupMenu;
struct ControlContext;

// Everything a child window is created from.
struct ControlCreation {
    HWND parent;
    const char* className;
    DWORD style;   // WS_CHILD and WS_VISIBLE are always added
    DWORD exStyle;
    int left, top, width, height;   // pixels, relative to the parent's client area
    const char* caption;
    HFONT font;   // not owned
    int id;       // unique within the form
    int dpi;      // the DPI the rectangle and the font are for
};

class Control : public Component {
public:
    explicit Control(Component* owner) : Component(owner) {}
    // Destroys the window unless its parent took it along already.
    ~Control() override;

    // The control behind a window, or null for a window that is not one of ours.
    static Control* FromHandle(HWND window);

    HWND Handle() const { return handle_; }
    int Id() const { return GetDlgCtrlID(handle_); }
    bool Enabled() const { return IsWindowEnabled(handle_) != FALSE; }
    void SetEnabled(bool enabled) { EnableWindow(handle_, enabled); }
    bool Visible() const { return IsWindowVisible(handle_) != FALSE; }
    std::string Caption() const;
    void SetCaption(const std::string& caption) { SetWindowTextA(handle_, caption.c_str()); }
    // The window's rectangle in its parent's client coordinates.
    RECT BoundsRect() const;
    void SetBounds(const RECT& bounds);
    void SetFocus() { ::SetFocus(handle_); }
    HFONT Font() const;

    // The DPI the control is laid out at: its form's. A form laying itself out at another DPI
    // places the control, gives it its font, then tells it the DPI; a kind with lengths of its
    // own (an indent, a picture) brings them to the DPI here.
    int Dpi() const { return dpi_; }
    virtual void SetDpi(int dpi) { dpi_ = dpi; }

    // The menu a right click on the control (or the menu key) opens; not owned.
    ::PopupMenu* PopupMenu() const;
    void SetPopupMenu(::PopupMenu* menu);

    // The parent's notifications about this control, handed back to it. Each returns whether
    // it answered; `result` is the parent's answer then.
    virtual bool OnCommand(WORD code);
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    // The brush to paint the control's background with, after setting the DC's colours, or
    // null for the parent's default.
    virtual HBRUSH OnCtlColor(UINT message, HDC dc);
    // A right click or the menu key on the control; `screen` is (-1, -1) for the key.
    virtual bool OnContextMenu(POINT screen);

protected:
    void CreateHandle(const ControlCreation& creation);
    // Lets WndProc see the window's messages before the window class does.
    void Subclass();
    // The messages of a subclassed window; pass on what is not handled.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;   // owned: destroyed with the control or its parent
    int dpi_ = 96;
    Watched<::PopupMenu> popupMenu_{*this};
    bool subclassed_ = false;
    WNDPROC original_ = nullptr;   // the window class's procedure, while subclassed
};

// For a window that holds controls (a form, a group box): hands a notification about a child
// control back to that control. True when the control answered; `result` is the answer.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The creation record of a control made from a form definition: its parent, place and font at
// the form's DPI, caption and ID from the context, its window class and styles from its kind.
ControlCreation CreationFor(const ControlContext& context, const char* className, DWORD style,
                            DWORD exStyle = 0);
