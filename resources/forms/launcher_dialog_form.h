// The launcher settings dialog: the launcher list, the buttons that make and delete its
// nodes, the fields of the selected item, the button that saves the list, and the commands
// they run.
#pragma once

#include "framework/button.h"
#include "framework/edit.h"
#include "framework/form_def.h"
#include "framework/group_box.h"
#include "framework/label.h"
#include "framework/tree_view.h"

// What the dialog's controls run; the dialog maps each to its handler.
enum class LauncherCommand {
    AddFolder,
    AddItem,
    AddSeparator,
    ClearSelection,
    DeleteSelected,
    ChooseFile,
    ChooseDirectory,
    SaveAndClose,
    RenameSelected,
    ShowSelected,   // the tree's selection changed
    FileEdited,     // the texts of the item settings changed
    OptionEdited,
    DirectoryEdited,
    CheckDrag,         // a node is dragged over the tree
    MoveDraggedNode,   // and dropped there
    TreeKeyPressed,
};

namespace launcher_dialog_form {

template <typename Kind>
using Row = ControlRow<Kind, LauncherCommand>;

// The tree's context menu.
inline constexpr MenuItemDef<LauncherCommand> kTreeMenu[] = {
    {"RenameItem", "名前を変更(&R)", 0, LauncherCommand::RenameSelected, {}},
};

inline constexpr MenuDef<LauncherCommand> kMenus[] = {
    {"TreeMenu", kTreeMenu},
};

// The file dialog's choices (OpenDialog, made by the form), the first shown first.
inline constexpr char kOpenDialogFilter[] = "全てのファイル|*.*|"
                                            "実行ファイル|*.exe;*.com|"
                                            "音声ファイル|*.wav;*.mp?;*.aif;*.au|"
                                            "画像ファイル|*.bmp;*.gif;*.jpg|"
                                            "動画ファイル|*.avi;*.mpg;*.mpeg|"
                                            "文書ファイル|*.txt;*.doc;*.htm?";

inline constexpr ControlDef<LauncherCommand> kControls[] = {
    Row<Label>{"ListLabel", {16, 8, 69, 12}, "ランチャリスト"},
    Row<TreeView>{"TreeView", {8, 24, 401, 185}}
        .Tab(0)
        .Set<&TreeView::SetIndent>(19)
        .Menu("TreeMenu")
        .On<&TreeView::OnChange>(LauncherCommand::ShowSelected)
        .On<&TreeView::OnDragOver>(LauncherCommand::CheckDrag)
        .On<&TreeView::OnDragDrop>(LauncherCommand::MoveDraggedNode)
        .On<&TreeView::OnKeyDown>(LauncherCommand::TreeKeyPressed),

    Row<GroupBox>{"NewNodeGroup", {416, 32, 121, 177}, "項目作成"}.Tab(1),
    Row<Button>{"NewFolderButton", {16, 16, 89, 25}, "新規フォルダ"}
        .In("NewNodeGroup")
        .On<&Button::OnClick>(LauncherCommand::AddFolder),
    Row<Button>{"NewItemButton", {16, 48, 89, 25}, "新規項目"}
        .In("NewNodeGroup")
        .On<&Button::OnClick>(LauncherCommand::AddItem),
    Row<Button>{"SeparatorButton", {16, 80, 89, 25}, "セパレータ"}
        .In("NewNodeGroup")
        .On<&Button::OnClick>(LauncherCommand::AddSeparator),
    Row<Button>{"DeselectButton", {16, 112, 89, 25}, "選択解除"}
        .In("NewNodeGroup")
        .On<&Button::OnClick>(LauncherCommand::ClearSelection),
    Row<Button>{"DeleteButton", {16, 144, 89, 25}, "項目削除"}
        .In("NewNodeGroup")
        .On<&Button::OnClick>(LauncherCommand::DeleteSelected),

    Row<GroupBox>{"EntryGroup", {8, 216, 537, 97}, "項目設定"}.Tab(2).Disabled(),
    Row<Label>{"FileLabel", {8, 24, 53, 12}, "ファイル名"}.In("EntryGroup"),
    Row<Edit>{"FileEdit", {72, 20, 409, 20}}
        .In("EntryGroup")
        .Tab(0)
        .On<&Edit::OnChange>(LauncherCommand::FileEdited),
    Row<Button>{"FileBrowseButton", {488, 18, 43, 25}, "参照"}
        .In("EntryGroup")
        .Tab(1)
        .On<&Button::OnClick>(LauncherCommand::ChooseFile),
    Row<Label>{"OptionLabel", {8, 48, 51, 12}, "オプション"}.In("EntryGroup"),
    Row<Edit>{"OptionEdit", {72, 44, 409, 20}}
        .In("EntryGroup")
        .Tab(2)
        .On<&Edit::OnChange>(LauncherCommand::OptionEdited),
    Row<Label>{"DirectoryLabel", {8, 72, 57, 12}, "ディレクトリ"}.In("EntryGroup"),
    Row<Edit>{"DirectoryEdit", {72, 68, 409, 20}}
        .In("EntryGroup")
        .Tab(3)
        .On<&Edit::OnChange>(LauncherCommand::DirectoryEdited),
    Row<Button>{"DirectoryBrowseButton", {488, 64, 41, 25}, "参照"}
        .In("EntryGroup")
        .Tab(4)
        .On<&Button::OnClick>(LauncherCommand::ChooseDirectory),

    Row<Button>{"OkButton", {232, 320, 75, 25}, "決定"}.Tab(3).On<&Button::OnClick>(
        LauncherCommand::SaveAndClose),
};

inline constexpr FormDef<LauncherCommand> kForm = {
    {
        "TCONF",
        "ランチャ設定",
        BorderStyle::Dialog,
        false,   // no border icons: only "決定" closes the dialog
        0,       // centred on the screen when created
        0,
        546,   // client area
        350,
        COLOR_BTNFACE,
        {"ＭＳ Ｐゴシック", 12, SHIFTJIS_CHARSET},
    },
    kControls,
    kMenus,
};

}   // namespace launcher_dialog_form
