// The main window: hidden owner of the tray icon, the pop-up menu and the mouse hook, and,
// while drag-and-drop registration is on, the small drop window.
#pragma once

#include "framework/form.h"
#include "framework/icon_pictures.h"
#include "shell/file_icons.h"
#include "shell/launch_pictures.h"

#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// shellapi.h maps ShellExecute to ShellExecuteA; the main window's own operation keeps its
// name in every file that includes this one.
#undef ShellExecute

class ImageList;
class Label;
class MenuItem;
class PopupMenu;
class TAboutBox;
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
    // The launcher submenu's pictures, kept from opening to opening.
    ::ImageList* LaunchImages() const { return launchImages_; }
    MenuItem* Launch() const { return launch_; }
    MenuItem* TaskList() const { return taskList_; }
    MenuItem* K6() const { return k6_; }
    MenuItem* K7() const { return k7_; }
    MenuItem* K8() const { return k8_; }
    TTaskTray* TaskTray() const { return taskTray_; }
    Label* Label3() const { return label3_; }
    bool ChordReady() const { return chordReady_; }
    bool HookActive() const { return hookActive_; }

    // The pop-up menu's opening handler, whoever opens it: a fresh task submenu and fresh
    // pictures.
    void PopupMenuPopup(Component* sender);
    // Has every launcher file looked at again in the background (at most every few seconds),
    // so that a changed file gets its new picture; the pictures themselves (the shell's icon
    // of the entry's file, a folder's item the folder picture) come in between openings.
    void GetLaunchIcon();
    // The launcher list was built anew: its items get the pictures known, and the rest are
    // looked up in the background.
    void LauncherChanged();
    // Whether the background look-up of the launcher's pictures has nothing left to do.
    bool LaunchPicturesSettled() { return launchPictures_->Settled(); }
    // Where the launcher's file icons come from (the shell unless a test or benchmark says),
    // and how often an opening has the files looked at again.
    void SetLaunchIconSource(FileIcons::IconSource source,
                             DWORD recheckPause = LaunchPictures::kRecheckPause);
    // Fills the task submenu (expected empty) from the children of parent, the desktop
    // window for the real menu, and rebuilds the pictures.
    void SearchWindows(HWND parent);
    void AddToTask(const std::string& caption, const std::string& hint, int imageIndex);
    // The click of every task item: brings back the window the item names.
    void TaskClick(Component* sender);

    void K1Click(Component* sender);
    void K2Click(Component* sender);
    void K6Click(Component* sender);
    void K7Click(Component* sender);
    void K8Click(Component* sender);
    void N4Click(Component* sender);
    void N5Click(Component* sender);
    void KMIVTRA1Click(Component* sender);
    void KMIVTRA2Click(Component* sender);

    // The launcher settings dialog, whose tree is the one launcher list; set once at start.
    TCONF* Launcher() const { return launcher_; }
    void SetLauncher(TCONF* launcher);
    // The about box, shown modally from the menu; set once at start.
    TAboutBox* AboutBox() const { return aboutBox_; }
    void SetAboutBox(TAboutBox* aboutBox);

    void Notification(Component* component, Operation operation) override;

    // The handlers the form's definition binds by name.
    static Span<HandlerDef<TTASKM>> Handlers();

    // Shows one of the program's dialogs modally. While it shows, a press on the tray icon
    // brings it to the front and opens no menu, however the dialog was opened.
    void ShowDialog(Form& dialog);

    // Opens a file, folder, program or link through the shell; returns the started
    // process's handle, which the caller closes, or null.
    static HANDLE ShellExecute(const std::string& file, const std::string& parameters,
                               const std::string& verb, const std::string& directory, int show);

protected:
    void DoClose() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormClose();
    void ReadSettings();
    // Puts the icon into the tray at start-up; a shell that refuses it does not stop start-up.
    void RegisterTrayIcon();
    // The part of closing that must also happen when Windows ends the session.
    void SaveSettingsAndRelease();
    void WMMouseChord(WPARAM wParam);
    // Posted when the launcher pictures' worker has answers, and after a change of the list:
    // the pictures found, into the kept launcher submenu.
    static constexpr UINT kLaunchPicturesMessage = WM_APP + 2;
    void TakeLaunchPictures();
    // Posted at an opening: the launcher's files are looked at again once the menu shows.
    static constexpr UINT kLaunchRecheckMessage = WM_APP + 3;
    // Runs a menu command once the menu has closed and whatever opened it has returned. The
    // tray icon drops its presses while it handles one, the press that opened the menu
    // included; a dialog shown from within that press could not be found from the tray again.
    void RunAfterMenu(const NotifyEvent& command, Component* sender);
    void RunCommandAfterMenu();
    // The tray icon's press: it brings the dialog on top of the shown ones forward.
    void TrayMouseDown();
    // The tray icon opens the menu while no dialog shows, and nothing while one does.
    void UpdateTrayMenus();
    // Registers the dropped paths as launcher items; releases the drop handle.
    void WMDropFiles(HDROP drop);
    MenuItem* Item(const char* name) const;
    // N4Click and N5Click: at most one of the two is checked, and either brings the tray
    // icon back.
    void ToggleOpenOnly(MenuItem* clicked, MenuItem* other);
    // The windows the task submenu never lists: this one, the application window and the
    // launcher settings dialog.
    std::vector<HWND> OwnWindows() const;

    std::string settingsKey_;
    PopupMenu* popupMenu_ = nullptr;   // owned by the form, as all components below
    ::ImageList* imageList_ = nullptr;
    MenuItem* launch_ = nullptr;
    MenuItem* taskList_ = nullptr;
    MenuItem* k6_ = nullptr;
    MenuItem* k7_ = nullptr;
    MenuItem* k8_ = nullptr;
    MenuItem* n4_ = nullptr;
    MenuItem* n5_ = nullptr;
    Label* label3_ = nullptr;
    TTaskTray* taskTray_ = nullptr;   // destroyed by FormClose
    TCONF* launcher_ = nullptr;       // not owned: the application's; cleared when it goes
    TAboutBox* aboutBox_ = nullptr;   // not owned, as the launcher dialog
    bool chordReady_ = false;
    bool hookActive_ = false;
    bool released_ = false;                         // settings written, hook and tray icon gone
    std::deque<std::function<void()>> afterMenu_;   // menu commands waiting for the menu's end
    IconPictures classIcons_;                       // the window walk's pictures, from opening to opening
    ::ImageList* launchImages_ = nullptr;
    std::unique_ptr<LaunchPictures> launchPictures_;   // the launcher files' pictures
    std::vector<Form*> shownDialogs_;                  // not owned: the modal dialogs up, the last on top
};
