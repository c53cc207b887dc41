// The main window: its frame, the drop window's labels and the pop-up menu.
#pragma once

#include "framework/form_def.h"
#include "framework/label.h"

namespace ttaskm_form {

inline constexpr MenuItemDef kLaunchItems[] = {
    {"K3", "(なし)", kMenuDisabled, nullptr, {}},
};

inline constexpr MenuItemDef kGeneralItems[] = {
    {"K6", "右クリック＋左クリックで起動", kMenuChecked, "K6Click", {}},
    {"K7", "ドラッグ＆ドロップ登録", 0, "K7Click", {}},
    {"K8", "タスクトレイにアイコン表示", kMenuChecked, "K8Click", {}},
    {"N6", "-", kMenuHidden, nullptr, {}},
    {"N4", "ランチャのみを開く", kMenuHidden, "N4Click", {}},
    {"N5", "タスクマネージャーのみを開く", kMenuHidden, "N5Click", {}},
};

inline constexpr MenuItemDef kPopupMenu[] = {
    {"Launch", "ランチャ", 0, nullptr, kLaunchItems},
    {"TaskList", "タスクマネージャー", 0, nullptr, {}, true},
    {"N1", "-", 0, nullptr, {}},
    {"K1", "ランチャの設定(&S)", kMenuOpensDialog, "K1Click", {}},
    {"K5", "総合設定", 0, nullptr, kGeneralItems},
    {"K2", "ヘルプ表示", 0, "K2Click", {}},
    {"N2", "-", 0, nullptr, {}},
    {"K4", "メニューを閉じる", 0, nullptr, {}},
    {"N3", "-", 0, nullptr, {}},
    {"KMIVTRA1", "Mivtraについて(&A)", kMenuOpensDialog, "KMIVTRA1Click", {}},
    {"KMIVTRA2", "Mivtraを終了する(&C)", 0, "KMIVTRA2Click", {}},
};

inline constexpr MenuDef kMenus[] = {
    {"PopupMenu", kPopupMenu},
};

inline constexpr ControlDef kControls[] = {
    {Label::Create, "Label1", {8, 0, 145, 12}, "Mivtraに登録するファイルを"},
    {Label::Create, "Label2", {8, 16, 136, 12}, "ここへドロップしてください。"},
    // As wide as the drop window: the messages name the dropped file and may be long.
    ControlDef{Label::Create, "Label3", {8, 32, 186, 12}, ""}.Color(RGB(255, 0, 0)),
};

inline constexpr FormDef kForm = {
    "TTASKM",  "Mivtra",      BorderStyle::Dialog,
    false,   // no border icons at all
    130,     // left and top: also the defaults when no position is stored
    76,
    160,   // client area
    29,        COLOR_BTNFACE, {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    kControls, kMenus,
};

}   // namespace ttaskm_form
