// The launcher settings dialog: the launcher list, the buttons that make and delete its
// nodes, the fields of the selected item and the button that saves the list.
#pragma once

#include "framework/button.h"
#include "framework/edit.h"
#include "framework/form_def.h"
#include "framework/group_box.h"
#include "framework/label.h"
#include "framework/tree_view.h"

namespace tconf_form {

// The tree's context menu.
inline constexpr MenuItemDef kPopupMenu1[] = {
    {"R1", "名前を変更(&R)", 0, "R1Click", {}},
};

inline constexpr MenuDef kMenus[] = {
    {"PopupMenu1", kPopupMenu1},
};

// The file dialog's choices (OpenDialog, made by the form), the first shown first.
inline constexpr char kOpenDialogFilter[] = "全てのファイル|*.*|"
                                            "実行ファイル|*.exe;*.com|"
                                            "音声ファイル|*.wav;*.mp?;*.aif;*.au|"
                                            "画像ファイル|*.bmp;*.gif;*.jpg|"
                                            "動画ファイル|*.avi;*.mpg;*.mpeg|"
                                            "文書ファイル|*.txt;*.doc;*.htm?";

inline constexpr ControlDef kControls[] = {
    {Label::Create, "Label4", {16, 8, 69, 12}, "ランチャリスト"},
    ControlDef{TreeView::Create, "TreeView", {8, 24, 401, 185}}
        .Tab(0)
        .Set("Indent", 19)
        .Menu("PopupMenu1")
        .On("OnChange", "TreeViewChange")
        .On("OnDragOver", "TreeViewDragOver")
        .On("OnDragDrop", "TreeViewDragDrop")
        .On("OnKeyDown", "TreeViewKeyDown"),

    ControlDef{GroupBox::Create, "GroupBox1", {416, 32, 121, 177}, "項目作成"}.Tab(1),
    ControlDef{Button::Create, "Button1", {16, 16, 89, 25}, "新規フォルダ"}
        .In("GroupBox1")
        .On("OnClick", "Button1Click"),
    ControlDef{Button::Create, "Button2", {16, 48, 89, 25}, "新規項目"}
        .In("GroupBox1")
        .On("OnClick", "Button2Click"),
    ControlDef{Button::Create, "Button3", {16, 80, 89, 25}, "セパレータ"}
        .In("GroupBox1")
        .On("OnClick", "Button3Click"),
    ControlDef{Button::Create, "Button7", {16, 112, 89, 25}, "選択解除"}
        .In("GroupBox1")
        .On("OnClick", "Button7Click"),
    ControlDef{Button::Create, "Button8", {16, 144, 89, 25}, "項目削除"}
        .In("GroupBox1")
        .On("OnClick", "Button8Click"),

    ControlDef{GroupBox::Create, "GroupBox2", {8, 216, 537, 97}, "項目設定"}.Tab(2).Disabled(),
    ControlDef{Label::Create, "Label1", {8, 24, 53, 12}, "ファイル名"}.In("GroupBox2"),
    ControlDef{Edit::Create, "Edit1", {72, 20, 409, 20}}.In("GroupBox2").Tab(0).On("OnChange", "Edit1Change"),
    ControlDef{Button::Create, "Button4", {488, 18, 43, 25}, "参照"}
        .In("GroupBox2")
        .Tab(1)
        .On("OnClick", "Button4Click"),
    ControlDef{Label::Create, "Label2", {8, 48, 51, 12}, "オプション"}.In("GroupBox2"),
    ControlDef{Edit::Create, "Edit2", {72, 44, 409, 20}}.In("GroupBox2").Tab(2).On("OnChange", "Edit1Change"),
    ControlDef{Label::Create, "Label3", {8, 72, 57, 12}, "ディレクトリ"}.In("GroupBox2"),
    ControlDef{Edit::Create, "Edit3", {72, 68, 409, 20}}.In("GroupBox2").Tab(3).On("OnChange", "Edit1Change"),
    ControlDef{Button::Create, "Button5", {488, 64, 41, 25}, "参照"}
        .In("GroupBox2")
        .Tab(4)
        .On("OnClick", "Button5Click"),

    ControlDef{Button::Create, "Button6", {232, 320, 75, 25}, "決定"}.Tab(3).On("OnClick", "Button6Click"),
};

inline constexpr FormDef kForm = {
    "TCONF",   "ランチャ設定", BorderStyle::Dialog,
    false,   // no border icons: only "決定" closes the dialog
    0,       // centred on the screen when created
    0,
    546,   // client area
    350,       COLOR_BTNFACE,  {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    kControls, kMenus,
};

}   // namespace tconf_form
