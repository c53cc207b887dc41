// A label that changes colour under the mouse and, when asked, opens its own text (a web or
// mail address) through the shell on a press. The pointer is a hand over it.
#pragma once

#include "framework/form_def.h"
#include "framework/label.h"

#include <windows.h>

// The number of the hand in the application's cursor table.
inline constexpr int crHandPoint = 32761;

class UrlLabel : public Label {
public:
    using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                                    LPCSTR directory, INT show);

    static Component* Create(const ControlContext& context);

    // Installs the "HANDPOINT" cursor of the program's own file as crHandPoint, at the size
    // of cursors at the label's DPI.
    UrlLabel(Component* owner, const ControlCreation& creation, COLORREF textColor, int backgroundIndex);

    // The hand at the new DPI's cursor size becomes crHandPoint.
    void SetDpi(int dpi) override;

    // A press opens the text through the shell.
    bool Executable() const { return executable_; }
    void SetExecutable(bool executable) { executable_ = executable; }
    // The text colour follows the mouse.
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool hotTrack);
    COLORREF HotColor() const { return hotColor_; }
    void SetHotColor(COLORREF color);
    COLORREF PushedColor() const { return pushedColor_; }
    void SetPushedColor(COLORREF color);
    // The number of the pointer over the label in the application's cursor table.
    int Cursor() const { return cursor_; }
    void SetCursor(int cursor) { cursor_ = cursor; }

    // Replaces the shell's ShellExecuteA (tests); returns the one used before.
    static ShellExecuteFunction SetShellExecute(ShellExecuteFunction function);

protected:
    // Any button: the pushed colour, and the text opened when Executable.
    virtual void MouseDown();
    // The hot colour when released over the label, the colour from before the mouse came
    // otherwise.
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Follows the pointer: entering and leaving, also while a press holds the mouse.
    void TrackPointer(POINT client);
    bool Contains(POINT client) const;
    void InstallHand();

    bool executable_ = false;
    bool hotTrack_ = true;
    COLORREF savedColor_ = kDefaultColor;   // the text colour from before the mouse entered
    COLORREF hotColor_ = RGB(0, 255, 255);
    COLORREF pushedColor_ = RGB(255, 0, 0);
    int cursor_ = crHandPoint;
    bool over_ = false;   // the pointer is over the label
};
