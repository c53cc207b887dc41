#!/usr/bin/env bash
# The launcher settings dialog, driven as a user drives it: opened from the tray menu, new
# nodes made with its buttons, an item's file chosen in the file dialog and its directory in
# the folder dialog, its option typed, renamed from the context menu, dragged into a folder
# with the mouse, a folder deleted after answering No and then Yes; "決定" writes exactly the
# new list, and the rebuilt launcher submenu starts the item as it was set up.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

# The recording program under a Japanese name in a Japanese folder, and a Japanese folder to
# work in: every text of the entry is Japanese.
tools=$WINEPREFIX/drive_c/ツール
mkdir -p "$tools" "$WINEPREFIX/drive_c/作業"
cp "$e2e_bindir/record_args.exe" "$tools/記録.exe"
launch_ini=$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI
printf '%s\r\n' \
    '[FOLDER]' 'ITEM0=1' 'ITEM1=0' \
    '[PARENT]' 'NODE0=-2' 'NODE1=-1' \
    '[ExecInfo0]' 'NAME=古いフォルダ' \
    '[ExecInfo1]' 'NAME=古い項目' 'FILE=C:\x.exe' 'OPTION=' 'DIR=' |
    iconv -f UTF-8 -t CP932 >"$launch_ini"

step "Mivtra starts with a list of one folder holding one item"
reg_set HOOK 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
pass "tray icon at ($icon_x,$icon_y)"

# The dialog's controls: a line of wintool's for the child of that class and caption.
control() {
    desktop_wintool children TCONF | tr -d '\r' | awk -v class="$1" -v caption="$2" \
        '$8 == class && $9 == caption' | sed -n "${3:-1}p"
}

# Clicks the dialog's button with that caption (the Nth of that caption).
press() {
    local line
    line=$(control Button "$1" "${2:-1}")
    [ -n "$line" ] || fail "the dialog has no button \"$1\""
    click_window "$line"
}

tree_items() { desktop_wintool treeitems "$tree" | tr -d '\r'; }
same_tree() { [ "$(tree_items)" = "$1" ]; }

# Waits until the tree shows exactly these lines (DEPTH FLAGS NAME, see wintool).
expect_tree() {
    wait_until 5 same_tree "$1" || {
        note "tree now:"
        tree_items | sed 's/^/     /'
        fail "the tree did not become: $(tr '\n' '|' <<<"$1")"
    }
}

# The screen point on the name of the node, for the mouse.
label_of() {
    desktop_wintool treelabel "$tree" "$1" | tr -d '\r' || fail "the node \"$1\" does not show"
}

click_label() {
    local point
    point=$(label_of "$1")
    click_at $point "${2:-1}"
}

text_of() { desktop_wintool gettext "$1" | tr -d '\r'; }
has_text() { [ "$(text_of "$1")" = "$2" ]; }

expect_text() {
    wait_until 5 has_text "$1" "$2" || fail "$3 shows \"$(text_of "$1")\", not \"$2\""
}

step "\"ランチャの設定(&S)\" in the tray menu opens the dialog"
open_launcher_dialog
tree=$(control SysTreeView32 '' | awk '{print $1}')
[ -n "$tree" ] || fail "the dialog has no tree"
edits=($(desktop_wintool children TCONF | tr -d '\r' | awk '$8 == "Edit" {print $1}'))
[ ${#edits[@]} = 3 ] || fail "the dialog has ${#edits[@]} edits, not 3"
file_edit=${edits[0]} option_edit=${edits[1]} dir_edit=${edits[2]}
# The tree took the focus and with it its first node, as a tree does.
expect_tree "$(printf '%s\n' '0 s 古いフォルダ' '1 - 古い項目')"
pass "dialog open, the list in its tree"

step "with nothing selected, the three buttons add a folder, an item and a separator at the end"
press 選択解除
press 新規フォルダ
press 新規項目
press セパレータ
expect_tree "$(printf '%s\n' '0 - 古いフォルダ' '1 - 古い項目' '0 - 新規フォルダ' '0 - 新規項目' '0 - --------')"
click_label 新規項目
expect_tree "$(printf '%s\n' '0 - 古いフォルダ' '1 - 古い項目' '0 - 新規フォルダ' '0 s 新規項目' '0 - --------')"
pass "new nodes at the end of the top level; the item selected with the mouse"

step "the file dialog from the first \"参照\" fills the file, the directory and the name"
press 参照 1
line=$(desktop_wintool wait '#32770' 10000 | tr -d '\r') || fail "no file dialog"
win_split "$line"
open_dialog=$win_hwnd
# Japanese cannot be typed through X: the name goes into the dialog's field directly.
name_field=$(desktop_wintool children '#32770' | tr -d '\r' | awk '$8 == "Edit" && $2 == 1 {print $1}' | head -1)
[ -n "$name_field" ] || fail "the file dialog has no name field"
desktop_wintool settext "$name_field" 'C:\ツール\記録.exe' || fail "could not fill the file dialog"
desktop_screenshot "$e2e_out/file-dialog.png"
open_button=$(desktop_wintool children '#32770' | tr -d '\r' | awk '$8 == "Button" && $9 ~ /^開く/' | head -1)
[ -n "$open_button" ] || fail "the file dialog has no button 開く"
click_window "$open_button"
desktop_wintool waitgone '#32770' 5000 || fail "the file dialog stayed open"
expect_text "$file_edit" 'C:\ツール\記録.exe' "the file"
expect_text "$dir_edit" 'C:\ツール\' "the directory"
expect_tree "$(printf '%s\n' '0 - 古いフォルダ' '1 - 古い項目' '0 - 新規フォルダ' '0 s 記録.exe' '0 - --------')"
pass "file C:\\ツール\\記録.exe, directory C:\\ツール\\, name 記録.exe"

step "the folder dialog from the second \"参照\" fills the directory"
press 参照 2
desktop_wintool wait '#32770' 10000 >/dev/null || fail "no folder dialog"
folder_tree=$(desktop_wintool children '#32770' | tr -d '\r' | awk '$8 == "SysTreeView32" {print $1}' | head -1)
[ -n "$folder_tree" ] || fail "the folder dialog has no tree"
# The shell's tree fills a folder when it opens: down to C: by opening, then the mouse.
desktop_wintool treeexpand "$folder_tree" 'マイ コンピューター' || fail "no マイ コンピューター in the folder dialog"
desktop_wintool treeexpand "$folder_tree" '(C:)' || fail "no drive C: in the folder dialog"
point=$(desktop_wintool treelabel "$folder_tree" 作業 | tr -d '\r') || fail "no folder 作業 on C:"
click_at $point
desktop_screenshot "$e2e_out/folder-dialog.png"
click_window "$(desktop_wintool children '#32770' | tr -d '\r' | awk '$8 == "Button" && $9 == "OK"')"
desktop_wintool waitgone '#32770' 5000 || fail "the folder dialog stayed open"
expect_text "$dir_edit" 'C:\作業' "the directory"
pass "directory C:\\作業; screenshot $e2e_out/folder-dialog.png"

step "an option with blanks and quotes, typed"
desktop_wintool settext "$option_edit" '"C:\My Docs\メモ.txt"' || fail "could not type the option"
expect_text "$option_edit" '"C:\My Docs\メモ.txt"' "the option"
pass "option \"C:\\My Docs\\メモ.txt\" with its quotes"

step "\"名前を変更(&R)\" in the tree's context menu renames the node in place"
click_label 記録.exe 3
line=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "no context menu on the tree"
win_split "$line"
# The menu has one item: its middle.
click_at $(((win_left + win_right) / 2)) $(((win_top + win_bottom) / 2))
line=$(wait_until 5 desktop_wintool treeedit "$tree" | tr -d '\r') || fail "no name editing after the command"
win_split "$line"
desktop_wintool settext "$win_hwnd" 記録する || fail "could not type the name"
xdotool key Return
expect_tree "$(printf '%s\n' '0 - 古いフォルダ' '1 - 古い項目' '0 - 新規フォルダ' '0 s 記録する' '0 - --------')"
pass "renamed to 記録する"

step "the item dragged onto the folder with the mouse goes into it"
from=$(label_of 記録する)
to=$(label_of 新規フォルダ)
read -r from_x from_y <<<"$from"
read -r to_x to_y <<<"$to"
xdotool mousemove "$from_x" "$from_y"
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $((from_x + 6)) $((from_y + 6))
sleep 0.2
xdotool mousemove $((to_x + 8)) $((to_y + 2))
sleep 0.2
xdotool mousemove "$to_x" "$to_y"
expect_tree "$(printf '%s\n' '0 - 古いフォルダ' '1 - 古い項目' '0 d 新規フォルダ' '0 s 記録する' '0 - --------')"
desktop_screenshot "$e2e_out/drag.png"
xdotool mouseup 1
expect_tree "$(printf '%s\n' '0 - 古いフォルダ' '1 - 古い項目' '0 e 新規フォルダ' '1 s 記録する' '0 - --------')"
expect_text "$option_edit" '"C:\My Docs\メモ.txt"' "the option after the move"
pass "the folder showed as the drop target (screenshot $e2e_out/drag.png); the item is its child, the folder open"
desktop_screenshot "$e2e_out/dialog.png"

# Answers the delete box with the button of that caption.
answer_delete() {
    local line box_text button
    line=$(desktop_wintool wait '#32770' 5000 | tr -d '\r') || fail "no question before deleting a folder"
    win_split "$line"
    [ "$win_title" = 削除 ] || fail "the box is captioned \"$win_title\""
    box_text=$(desktop_wintool children '#32770' | tr -d '\r' | awk '$8 == "Static" && $9 != "" {print $9}')
    [ "$box_text" = 'フォルダを削除しようとしています。よろしいですか？' ] || fail "the box asks \"$box_text\""
    button=$(desktop_wintool children '#32770' | tr -d '\r' | awk -v c="$1" '$8 == "Button" && index($9, c) == 1')
    [ -n "$button" ] || fail "the box has no button $1"
    click_window "$button"
    desktop_wintool waitgone '#32770' 5000 || fail "the box stayed"
}

step "deleting a folder asks first: No keeps it, Yes takes it with its item"
click_label 古いフォルダ
expect_tree "$(printf '%s\n' '0 s 古いフォルダ' '1 - 古い項目' '0 e 新規フォルダ' '1 - 記録する' '0 - --------')"
press 項目削除
answer_delete いいえ
expect_tree "$(printf '%s\n' '0 s 古いフォルダ' '1 - 古い項目' '0 e 新規フォルダ' '1 - 記録する' '0 - --------')"
press 項目削除
answer_delete はい
expect_tree "$(printf '%s\n' '0 se 新規フォルダ' '1 - 記録する' '0 - --------')"
pass "No kept the folder; Yes deleted it and its item"

step "\"決定\" writes exactly the new list and closes the dialog"
press 決定
desktop_wintool waitgone TCONF 5000 || fail "the dialog stayed open after \"決定\""
printf '%s\r\n' \
    '[PARENT]' 'NODE0=-2' 'NODE1=-1' 'NODE2=-2' \
    '[FOLDER]' 'ITEM0=1' 'ITEM1=0' 'ITEM2=0' \
    '[ExecInfo0]' 'NAME=新規フォルダ' \
    '[ExecInfo1]' 'NAME=記録する' 'FILE=C:\ツール\記録.exe' 'OPTION=""C:\My Docs\メモ.txt""' 'DIR=C:\作業' \
    '[ExecInfo2]' 'NAME=--------' 'FILE=' 'OPTION=' 'DIR=' |
    iconv -f UTF-8 -t CP932 >"$e2e_out/expected.ini"
cmp -s "$e2e_out/expected.ini" "$launch_ini" || {
    note "LAUNCH.INI now:"
    iconv -f CP932 -t UTF-8 <"$launch_ini" | sed 's/^/     /'
    fail "LAUNCH.INI differs from $e2e_out/expected.ini"
}
pass "LAUNCH.INI holds the three nodes; the quoted option inside one more pair of quotes"

step "the rebuilt launcher submenu holds the folder with the item, which starts as set up"
tray_menu
keys Down Right
wait_menus 2 || fail "the launcher submenu did not open ($(open_menus) menu windows)"
keys Right
wait_menus 3 || fail "the folder's submenu did not open ($(open_menus) menu windows)"
desktop_screenshot "$e2e_out/submenu.png"
keys Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the item"
expect_started "$tools/記録.txt" ' "C:\My Docs\メモ.txt"' 'C:\作業'
pass "記録.exe started with the option as typed, in C:\\作業; screenshot $e2e_out/submenu.png"

expect_normal_end

e2e_end
