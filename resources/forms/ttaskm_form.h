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

namespace ttaskm_form {

template <typename Kind>
using Row = ControlRow<Kind, MainCommand>;

inline constexpr MenuItemDef<MainCommand> kLaunchItems[] = {
    {"K3", "(なし)", kMenuDisabled, {}, {}},
};

inline constexpr MenuItemDef<MainCommand> kGeneralItems[] = {
    {"K6", "右クリック＋左クリックで起動", kMenuChecked, MainCommand::ToggleChord, {}},
    {"K7", "ドラッグ＆ドロップ登録", 0, MainCommand::ToggleDropWindow, {}},
    {"K8", "タスクトレイにアイコン表示", kMenuChecked, MainCommand::ToggleTrayIcon, {}},
    {"N6", "-", kMenuHidden, {}, {}},
    {"N4", "ランチャのみを開く", kMenuHidden, MainCommand::ToggleLauncherOnly, {}},
    {"N5", "タスクマネージャーのみを開く", kMenuHidden, MainCommand::ToggleTasksOnly, {}},
};

inline constexpr MenuItemDef<MainCommand> kPopupMenu[] = {
    {"Launch", "ランチャ", 0, {}, kLaunchItems},
    {"TaskList", "タスクマネージャー", 0, {}, {}, true},
    {"N1", "-", 0, {}, {}},
    {"K1", "ランチャの設定(&S)", kMenuOpensDialog, MainCommand::OpenLauncherSettings, {}},
    {"K5", "総合設定", 0, {}, kGeneralItems},
    {"K2", "ヘルプ表示", 0, MainCommand::ShowHelp, {}},
    {"N2", "-", 0, {}, {}},
    {"K4", "メニューを閉じる", 0, {}, {}},
    {"N3", "-", 0, {}, {}},
    {"KMIVTRA1", "Mivtraについて(&A)", kMenuOpensDialog, MainCommand::ShowAbout, {}},
    {"KMIVTRA2", "Mivtraを終了する(&C)", 0, MainCommand::Exit, {}},
};

inline constexpr MenuDef<MainCommand> kMenus[] = {
    {"PopupMenu", kPopupMenu, MainCommand::PrepareMenu},
};

inline constexpr ControlDef<MainCommand> kControls[] = {
    Row<Label>{"Label1", {8, 0, 145, 12}, "Mivtraに登録するファイルを"},
    Row<Label>{"Label2", {8, 16, 136, 12}, "ここへドロップしてください。"},
    // As wide as the drop window: the messages name the dropped file and may be long.
    Row<Label>{"Label3", {8, 32, 186, 12}, ""}.Color(RGB(255, 0, 0)),
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

}   // namespace ttaskm_form
