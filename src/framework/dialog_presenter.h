// How a window's menu commands show the program's modal dialogs: one at a time each, brought
// back to the front when asked for again, and started only after the menu that asked for
// them has closed.
#pragma once

#include "framework/component.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <vector>

class Form;

class DialogPresenter {
public:
    // Commands that wait for the menu's end are posted to `window` as `message`, which the
    // window hands to RunQueued.
    DialogPresenter(HWND window, UINT message) : window_(window), message_(message) {}
    DialogPresenter(const DialogPresenter&) = delete;
    DialogPresenter& operator=(const DialogPresenter&) = delete;

    // A menu command that waits until the menu, and whatever opened it, have returned. A
    // modal dialog started from within the tray icon's press or the chord would run inside
    // that handler, which drops the presses that should bring the dialog back.
    NotifyEvent AfterMenu(NotifyEvent command);
    // Runs the oldest waiting command; the window calls it for each `message`.
    void RunQueued();

    // Shows `dialog` modally and returns its result. While it shows it counts as shown.
    int ShowModal(Form& dialog);
    // A dialog that is on screen already comes to the front instead of being shown again
    // (the chord opens the menu while a dialog is up). True when it was on screen.
    static bool BringBackIfShown(Form& dialog);
    // The dialog on top of the shown ones, or null while none shows.
    Form* Topmost() const { return shown_.empty() ? nullptr : shown_.back(); }

    // Told when a dialog starts or stops showing.
    std::function<void()> OnShownChange;

private:
    void ShownChanged() const;

    HWND window_;   // not owned
    UINT message_;
    std::deque<std::function<void()>> queue_;   // menu commands waiting for the menu's end
    std::vector<Form*> shown_;                  // not owned: the modal dialogs up, the last on top
};
