// The main window: hidden owner of the tray icon, the pop-up menu and the mouse hook, and,
// while drag-and-drop registration is on, the small drop window.
#pragma once

#include "framework/form.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

// shellapi.h maps ShellExecute to ShellExecuteA; the main window's own operation keeps its
// name in every file that includes this one.
#undef ShellExecute

class ImageList;
class Label;
class MenuItem;
class PopupMenu;
class TCONF;
class TTaskTray;

// Where the general settings live, under HKEY_CURRENT_USER.
inline constexpr char kSettingsKey[] = "SOFTWARE\\Bramwelt\\Mivtra";
inline constexpr char kSettingsSection[] = "General";

class TTASKM : public Form {
public:
    // Runs FormCreate. The settings key is a parameter so that tests use a scratch key.
    explicit TTASKM(Component* owner, std::string settingsKey = kSettingsKey);
    ~TTASKM() override;

    PopupMenu* GetPopupMenu() const { return popupMenu_; }
    // The pop-up menu's 16 x 16 pictures, rebuilt at every opening.
    ::ImageList* ImageList() const { return imageList_; }
    MenuItem* Launch() const { return launch_; }
    MenuItem* TaskList() const { return taskList_; }
    MenuItem* K6() const { return k6_; }
    MenuItem* K7() const { return k7_; }
    MenuItem* K8() const { return k8_; }
    TTaskTray* TaskTray() const { return taskTray_; }
    Label* Label3() const { return label3_; }
    bool ChordReady() const { return chordReady_; }
    bool HookActive() const { return hookActive_; }

    void K7Click(Component* sender);
    void KMIVTRA2Click(Component* sender);

    // The launcher settings dialog, whose tree is the one launcher list; set once at start.
    TCONF* Launcher() const { return launcher_; }
    void SetLauncher(TCONF* launcher) { launcher_ = launcher; }

    // Opens a file, folder, program or link through the shell; returns the started
    // process's handle, which the caller closes, or null.
    static HANDLE ShellExecute(const std::string& file, const std::string& parameters, const std::string& verb,
                               const std::string& directory, int show);

protected:
    void DoClose() override;
    NotifyEvent FindHandler(const char* name) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormClose();
    void ReadSettings();
    // The part of closing that must also happen when Windows ends the session.
    void SaveSettingsAndRelease();
    void WMMouseChord(WPARAM wParam);
    MenuItem* Item(const char* name) const;

    std::string settingsKey_;
    PopupMenu* popupMenu_ = nullptr;    // owned by the form, as all components below
    ::ImageList* imageList_ = nullptr;
    MenuItem* launch_ = nullptr;
    MenuItem* taskList_ = nullptr;
    MenuItem* k6_ = nullptr;
    MenuItem* k7_ = nullptr;
    MenuItem* k8_ = nullptr;
    Label* label3_ = nullptr;
    TTaskTray* taskTray_ = nullptr;     // destroyed by FormClose
    TCONF* launcher_ = nullptr;         // not owned: the application owns the dialog
    bool chordReady_ = false;
    bool hookActive_ = false;
    bool released_ = false;             // settings written, hook and tray icon gone
};
