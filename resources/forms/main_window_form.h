// The main window: its frame, the drop window's labels, the pop-up menu and the commands its
// items run.
#pragma once

#include "framework/form_def.h"
#include "framework/label.h"

// What the main window's menu items and components run; the main window maps each to its
// handler.
enum class MainCommand {
    OpenLauncherSettings,
    ShowHelp,
    ToggleChord,
    ToggleDropWindow,
    ToggleTrayIcon,
    ToggleLauncherOnly,
    ToggleTasksOnly,
    ShowAbout,
    Exit,
    PrepareMenu,          // the pop-up menu is about to show, whoever opens it
    SwitchToTask,         // a task item: its window comes to the front
    BringDialogForward,   // a press on the tray icon while a dialog shows
    UpdateTrayMenus,      // a dialog started or stopped showing
    LauncherChanged,      // the launcher list built its submenu anew
};

namespace main_window_form {

template <typename Kind>
using Row = ControlRow<Kind, MainCommand>;

inline constexpr MenuItemDef<MainCommand> kLauncherItems[] = {
    {"LauncherPlaceholder", "(なし)", kMenuDisabled, {}, {}},
};

inline constexpr MenuItemDef<MainCommand> kGeneralItems[] = {
    {"ChordItem", "右クリック＋左クリックで起動", kMenuChecked, MainCommand::ToggleChord, {}},
    {"DropWindowItem", "ドラッグ＆ドロップ登録", 0, MainCommand::ToggleDropWindow, {}},
    {"TrayIconItem", "タスクトレイにアイコン表示", kMenuChecked, MainCommand::ToggleTrayIcon, {}},
    {"OpenOnlySeparator", "-", kMenuHidden, {}, {}},
    {"LauncherOnlyItem", "ランチャのみを開く", kMenuHidden, MainCommand::ToggleLauncherOnly, {}},
    {"TasksOnlyItem", "タスクマネージャーのみを開く", kMenuHidden, MainCommand::ToggleTasksOnly, {}},
};

inline constexpr MenuItemDef<MainCommand> kPopupMenu[] = {
    {"LauncherSubmenu", "ランチャ", 0, {}, kLauncherItems},
    {"TaskSubmenu", "タスクマネージャー", 0, {}, {}, true},
    {nullptr, "-", 0, {}, {}},
    {"LauncherSettingsItem", "ランチャの設定(&S)", kMenuOpensDialog, MainCommand::OpenLauncherSettings, {}},
    {"GeneralSubmenu", "総合設定", 0, {}, kGeneralItems},
    {"HelpItem", "ヘルプ表示", 0, MainCommand::ShowHelp, {}},
    {nullptr, "-", 0, {}, {}},
    {"CloseMenuItem", "メニューを閉じる", 0, {}, {}},
    {nullptr, "-", 0, {}, {}},
    {"AboutItem", "Mivtraについて(&A)", kMenuOpensDialog, MainCommand::ShowAbout, {}},
    {"ExitItem", "Mivtraを終了する(&C)", 0, MainCommand::Exit, {}},
};

inline constexpr MenuDef<MainCommand> kMenus[] = {
    {"PopupMenu", kPopupMenu, MainCommand::PrepareMenu},
};

inline constexpr ControlDef<MainCommand> kControls[] = {
    Row<Label>{"DropPromptLine1", {8, 0, 145, 12}, "Mivtraに登録するファイルを"},
    Row<Label>{"DropPromptLine2", {8, 16, 136, 12}, "ここへドロップしてください。"},
    // As wide as the drop window: the messages name the dropped file and may be long.
    Row<Label>{"DropMessage", {8, 32, 186, 12}, ""}.Color(RGB(255, 0, 0)),
};

inline constexpr FormDef<MainCommand> kForm = {
    {
        "TTASKM",
        "Mivtra",
        BorderStyle::Dialog,
        false,   // no border icons at all
        130,     // left and top: also the defaults when no position is stored
        76,
        160,   // client area
        29,
        COLOR_BTNFACE,
        {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    },
    kControls,
    kMenus,
};

}   // namespace main_window_form
