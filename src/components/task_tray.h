// A non-visual component that keeps one icon in the taskbar's notification area in step
// with its properties, and turns the shell's mouse notifications for it into events and
// pop-up menus. Every tray component of the process shares one message window, one table
// of icon identifiers and one dispatch guard.
#pragma once

#include "framework/component.h"
#include "framework/icon.h"
#include "framework/mouse.h"
#include "framework/watched.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Application;
class PopupMenu;
class NotifyWindow;

// The message the shell sends to the message window for each mouse event on an icon:
// wParam the icon's ID, lParam the mouse message.
constexpr UINT kTrayCallbackMessage = WM_USER + 102;   // 1126

using DoubleClickEvent = std::function<void(Component* sender, MouseButton button)>;

class TaskTray : public Component {
public:
    using ShellNotifyIconFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);

    // Takes the ID after the last one handed out (1 for the first component).
    explicit TaskTray(Component* owner);
    ~TaskTray() override;

    void Loaded() override;

    // Takes the icon out of the tray; Registered ends false.
    virtual void RemoveIcon();
    // Adds the icon to the tray, or modifies it there, when it is registered.
    virtual void UpdateIcon();
    virtual void DblClick(MouseButton button);
    // Pops the left or right menu up at (x, y), screen coordinates.
    virtual void MouseDown(MouseButton button, ShiftState shift, int x, int y);
    virtual void MouseMove(int x, int y);
    virtual void MouseUp(MouseButton button, ShiftState shift, int x, int y);

    void IconChanged();

    PopupMenu* PopupMenuL() const;
    void SetPopupMenuL(PopupMenu* menu);
    PopupMenu* PopupMenuR() const;
    void SetPopupMenuR(PopupMenu* menu);

    // The full text; the shell gets at most 63 bytes of it, cut between characters.
    const std::string& TipString() const { return tipString_; }
    void SetTipString(std::string tip);

    // The component's own image; setting copies the other's image, none empties it and
    // takes the icon out of the tray.
    ::Icon* Icon() { return &icon_; }
    const ::Icon* Icon() const { return &icon_; }
    void SetIcon(const ::Icon* icon);

    std::int32_t IconID() const { return iconId_; }
    void SetIconID(std::int32_t id);

    // Whether the icon is wanted in the tray.
    bool Registered() const { return registered_; }
    void SetRegistered(bool registered);

    DoubleClickEvent OnDblClick;
    MouseMoveEvent OnMouseMove;
    MouseButtonEvent OnMouseDown;
    MouseButtonEvent OnMouseUp;

    // Replaces the function every request to the shell goes through (Shell_NotifyIconA by
    // default, also when given null); returns the previous one.
    static ShellNotifyIconFunction SetShellNotifyIcon(ShellNotifyIconFunction function);

private:
    friend class NotifyWindow;
    // The message window's handler for kTrayCallbackMessage.
    static void Dispatch(WPARAM id, LPARAM mouseMessage);
    // The message window is going: icons it carried are moved to its successor.
    static void MessageWindowDestroyed(NotifyWindow* window);

    bool MainWindowMessage(UINT message);
    void AddAgain();
    void WriteTip();

    std::string tipString_;
    ::Icon icon_;   // owned
    std::int32_t iconId_;
    Watched<PopupMenu> popupMenuL_{*this};
    Watched<PopupMenu> popupMenuR_{*this};
    // Kept for the component's whole life, so that a modification reuses the window and
    // callback message written when the icon was added.
    NOTIFYICONDATAA record_{};
    bool registered_ = false;
    bool added_ = false;   // the shell accepted NIM_ADD and no NIM_DELETE since

    // False once destruction has begun: handlers and menus run nested message loops.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    Application* hookedApplication_ = nullptr;   // not owned
    int hookId_ = 0;
};
