// The main window: hidden owner of the tray icon, the pop-up menu and the mouse hook, and,
// while drag-and-drop registration is on, the small drop window.
#pragma once

#include "framework/command_form.h"
#include "framework/dialog_presenter.h"
#include "framework/icon_pictures.h"
#include "framework/watched.h"
#include "shell/file_icons.h"
#include "shell/launch_pictures.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class ImageList;
class Label;
class LaunchList;
class MenuItem;
class PopupMenu;
class AboutBox;
class LauncherDialog;
class TaskTray;
enum class MainCommand;

// Where the general settings live, under HKEY_CURRENT_USER.
inline constexpr char kSettingsKey[] = "SOFTWARE\\Bramwelt\\Mivtra";
inline constexpr char kSettingsSection[] = "General";

// The registered message that a second start broadcasts before it ends: the running copy
// shows its tray icon again when nothing else could reach it (icon hidden, no chord).
inline constexpr char kSecondStartMessage[] = "Mivtra.SecondStart";

class MainWindow : public CommandForm<MainCommand> {
public:
    // Posted by the launcher list's folder watch: the list follows its file.
    static constexpr UINT kLaunchFileChangedMessage = WM_APP + 2;

    // Runs StartUp. The settings key is a parameter so that tests use a scratch key.
    explicit MainWindow(Component* owner, std::string settingsKey = kSettingsKey);
    ~MainWindow() override;

    PopupMenu* Menu() const { return menu_; }
    // The pop-up menu's pictures, rebuilt at every opening, at the small-icon size of the
    // menu's DPI (16 x 16 at 96 DPI).
    ImageList* MenuImages() const { return menuImages_; }
    // The launcher submenu's pictures, kept from opening to opening.
    ImageList* LaunchImages() const { return launchImages_; }
    MenuItem* LauncherSubmenu() const { return launcherSubmenu_; }
    MenuItem* TaskSubmenu() const { return taskSubmenu_; }
    // The general settings' items, whose check marks are the settings while the program runs.
    MenuItem* ChordItem() const { return chordItem_; }
    MenuItem* DropWindowItem() const { return dropWindowItem_; }
    MenuItem* TrayIconItem() const { return trayIconItem_; }
    TaskTray* TrayIcon() const { return trayIcon_; }
    // The drop window's line that says what the last drop did.
    Label* DropMessage() const { return dropMessage_; }
    bool ChordReady() const { return chordReady_; }
    bool HookActive() const { return hookActive_; }

    // The pop-up menu's opening handler, whoever opens it: pictures of the size its DPI asks
    // for, a fresh task submenu and fresh pictures.
    void PrepareMenu();
    // The menu's pictures take this size from now on: the launcher's are looked up again at
    // it, and show their kinds' pictures meanwhile.
    void UsePictureSize(int size);
    // Has every launcher file looked at again in the background (at most every few seconds),
    // so that a changed file gets its new picture; the pictures themselves (the shell's icon
    // of the entry's file, a folder's item the folder picture) come in between openings.
    void RecheckLaunchPictures();
    // The launcher list built its submenu anew (the list's OnMenuBuilt: load, save, drop,
    // reload): its items get the pictures known, the rest are looked up in the background,
    // answers about the list before are dropped, and the kept submenu is prepared again.
    void LauncherChanged();
    // Whether the background look-up of the launcher's pictures has nothing left to do.
    bool LaunchPicturesSettled() { return launchPictures_->Settled(); }
    // Where the launcher's file icons come from (the shell unless a test or benchmark says),
    // and how often an opening has the files looked at again.
    void SetLaunchIconSource(FileIcons::IconSource source,
                             DWORD recheckPause = LaunchPictures::kRecheckPause);
    // Fills the task submenu (expected empty) from the children of parent, the desktop
    // window for the real menu, and rebuilds the pictures.
    void FillTaskSubmenu(HWND parent);
    void AddTaskItem(const std::string& caption, const std::string& hint, int imageIndex);
    // The click of every task item: brings back the window the item names.
    void SwitchToTask(Component* item);

    // "ランチャの設定(&S)": the launcher settings dialog, modally; the chord and drops wait for it.
    void OpenLauncherSettings();
    // "ヘルプ表示": the help's contents, in the viewer that reads it, else as a page.
    void ShowHelp();
    // "右クリック＋左クリックで起動": the chord, from the next start on.
    void ToggleChord();
    // "ドラッグ＆ドロップ登録": the drop window shows and takes files, or goes.
    void ToggleDropWindow();
    // "タスクトレイにアイコン表示": the tray icon comes or goes.
    void ToggleTrayIcon();
    // "ランチャのみを開く" and "タスクマネージャーのみを開く": at most one of the two is checked,
    // and either brings the tray icon back.
    void ToggleLauncherOnly();
    void ToggleTasksOnly();
    // "Mivtraについて(&A)": the about box, modally.
    void ShowAbout();

    // The launcher list, whose submenu the menu shows and whose files dropped paths join; set
    // once at start.
    ::LaunchList* LaunchList() const;
    void SetLaunchList(::LaunchList* list);
    // The launcher settings dialog, shown modally from the menu; set once at start.
    ::LauncherDialog* LauncherDialog() const;
    void SetLauncherDialog(::LauncherDialog* dialog);
    // The about box, shown modally from the menu; set once at start.
    ::AboutBox* AboutBox() const;
    void SetAboutBox(::AboutBox* aboutBox);

    // The program's modal dialogs. While one shows, a press on the tray icon brings it to the
    // front and opens no menu, however the dialog was opened.
    DialogPresenter& Dialogs() { return dialogs_; }

protected:
    void Run(MainCommand command, Component* sender) override;
    void DoClose() override;
    // The drop window's size while it is on, none while it is off.
    void FitFrame() override;
    void DpiChanged() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Reads the settings, puts the hook in when the chord is on, the icon into the tray when
    // it is wanted, and shows the drop window when it is on.
    void StartUp();
    // Closing: an unsaved launcher list to its rescue copy, the settings written, the hook
    // and the tray icon gone, and the program ends.
    void ShutDown();
    void ReadSettings();
    // Puts the icon into the tray at start-up; a shell that refuses it does not stop start-up.
    void RegisterTrayIcon();
    // A second start of the program: with the tray icon hidden and no chord, nothing else
    // reaches this copy, so the icon comes back; otherwise nothing happens.
    void SecondStart();
    // The part of closing that must also happen when Windows ends the session.
    void SaveSettingsAndRelease();
    // Posted when the launcher pictures' worker has answers, and after a change of the list:
    // the pictures found, into the kept launcher submenu.
    static constexpr UINT kLaunchPicturesMessage = WM_APP + 3;
    void TakeLaunchPictures();
    // Posted at an opening: the launcher's files are looked at again once the menu shows.
    static constexpr UINT kLaunchRecheckMessage = WM_APP + 4;
    // The tray icon's press: it brings the dialog on top of the shown ones forward.
    void BringDialogForward();
    // The tray icon opens the menu while no dialog shows, and nothing while one does.
    void UpdateTrayMenus();
    MenuItem* Item(const char* name) const;
    // The drop window's outer size of 200 x 73 at 96 DPI, at the window's DPI.
    void SizeDropWindow();
    // The tray icon at the small-icon size of the notification area's DPI, whenever that
    // changes: the display's settings, the main window's DPI, a taskbar started again.
    void FitTrayIcon();
    void ToggleOpenOnly(MenuItem* clicked, MenuItem* other);
    // The windows the task submenu never lists: this one, the application window and the
    // launcher settings dialog.
    std::vector<HWND> OwnWindows() const;

    std::string settingsKey_;
    UINT secondStartMessage_ = RegisterWindowMessageA(kSecondStartMessage);
    UINT taskbarCreatedMessage_ = RegisterWindowMessageA("TaskbarCreated");
    int trayIconSize_ = 0;        // of the picture the tray icon has
    PopupMenu* menu_ = nullptr;   // owned by the form, as all components below
    ImageList* menuImages_ = nullptr;
    MenuItem* launcherSubmenu_ = nullptr;
    MenuItem* taskSubmenu_ = nullptr;
    MenuItem* chordItem_ = nullptr;
    MenuItem* dropWindowItem_ = nullptr;
    MenuItem* trayIconItem_ = nullptr;
    MenuItem* launcherOnlyItem_ = nullptr;
    MenuItem* tasksOnlyItem_ = nullptr;
    Label* dropMessage_ = nullptr;
    TaskTray* trayIcon_ = nullptr;                      // destroyed by ShutDown
    Watched<::LaunchList> launchList_{*this};           // the application's
    Watched<::LauncherDialog> launcherDialog_{*this};   // the application's
    Watched<::AboutBox> aboutBox_{*this};
    bool chordReady_ = false;
    bool hookActive_ = false;
    bool released_ = false;     // settings written, hook and tray icon gone
    IconPictures classIcons_;   // the window walk's pictures, from opening to opening
    ImageList* launchImages_ = nullptr;
    std::unique_ptr<LaunchPictures> launchPictures_;   // the launcher files' pictures
    DialogPresenter dialogs_;
};
