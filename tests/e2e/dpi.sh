#!/usr/bin/env bash
# Mivtra on a display scaled to 150 % (a system DPI of 144): the tray icon, the drop window, the
# pop-up menu with its launcher submenu, the launcher settings dialog and the about box, each
# at its new size with its text whole and its pictures 24 pixels high instead of 16. Every step
# leaves a screenshot of what it checked in the output folder.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin --dpi 144

# The list `make run` starts with: a folder アクセサリ with メモ帳 and 電卓 (which shows no
# picture under Wine), a separator and the Windows folder.
e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cp "$e2e_root/scripts/sample-LAUNCH.INI" "$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI"

# Saves the part of the screenshot SHOT that the window of the last win_split covers as FILE.
crop_window() {
    convert "$1" -crop $((win_right - win_left))x$((win_bottom - win_top))+$win_left+$win_top +repage "$2"
}

# The child of the window of class PARENT whose class is CLASS and text TEXT is W x H pixels.
expect_child() {
    local parent=$1 class=$2 text=$3 width=$4 height=$5 line
    line=$(desktop_wintool children "$parent" | tr -d '\r' |
        awk -v c="$class" -v t="$text" '{ s = $0; for (i = 0; i < 8; i++) sub(/^[^ ]+ /, "", s) } $8 == c && s == t' | head -1)
    [ -n "$line" ] || fail "$parent has no $class \"$text\""
    win_split "$line"
    [ $((win_right - win_left)) = "$width" ] && [ $((win_bottom - win_top)) = "$height" ] ||
        fail "$class \"$text\" is $((win_right - win_left)) x $((win_bottom - win_top)), not $width x $height"
}

# The width and height of the box that our folders' yellow takes within the rectangle LEFT TOP
# WIDTH HEIGHT of the screenshot SHOT.
yellow_box() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
        awk -F'[ ,:()]+' 'NR > 1 && $3 >= 200 && $4 >= 140 && $5 <= 120 {
                if (!n++ || $1 < l) l = $1; if ($1 > r) r = $1; if (n == 1 || $2 < t) t = $2; if ($2 > b) b = $2 }
            END { if (n) print r - l + 1, b - t + 1 }'
}

step "Mivtra starts with the drop window on and its icon in the tray, at the tray's size"
reg_set HOOK 0
reg_set DragDrop 1
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
# The 16-pixel rocket takes at most 16 x 16, the 24-pixel one more.
[ "$tray_w" -gt 16 ] && [ "$tray_w" -le 24 ] && [ "$tray_h" -gt 16 ] && [ "$tray_h" -le 24 ] ||
    fail "the tray icon's picture takes $tray_w x $tray_h, not that of a 24-pixel icon"
line=$(desktop_wintool find TTASKM | tr -d '\r')
win_split "$line"
desktop_screenshot "$e2e_out/start.png"
crop_window "$e2e_out/start.png" "$e2e_out/drop-window.png"
# Its labels 18 pixels high (12 at 100 %) and as wide as their texts want.
expect_child TTASKM Static "Mivtraに登録するファイルを" 218 18
expect_child TTASKM Static "ここへドロップしてください。" 205 18
pass "tray icon $tray_w x $tray_h; drop window and its labels at 150 %; screenshots $e2e_out/tray.png, $e2e_out/drop-window.png"

step "the pop-up menu's launcher submenu and its folder show 24-pixel pictures"
tray_menu
keys Down Right Right
wait_menus 3 || fail "the launcher folder did not open ($(open_menus) menu windows)"
desktop_screenshot "$e2e_out/menu.png"
menus=$(desktop_wintool list | tr -d '\r' | awk '$8 == "#32768" && $2 == 1')
pictures=0
while read -r line; do
    win_split "$line"
    # The launcher submenu and its folder open left of the menu, which reaches the screen's edge.
    [ "$win_right" -lt "$desktop_width" ] || continue
    while read -r first last; do
        [ -n "$first" ] || continue
        pictures=$((pictures + 1))
        [ $((last - first + 1)) -ge 20 ] && [ $((last - first + 1)) -le 24 ] ||
            fail "a picture of the menu at ($win_left,$win_top) is $((last - first + 1)) rows high, not 24; see $e2e_out/menu.png"
    done <<<"$(picture_rows "$e2e_out/menu.png" "$win_left" "$win_top" "$win_right" "$win_bottom" 56)"
done <<<"$menus"
# アクセサリ, Windows フォルダ and メモ帳.
[ "$pictures" = 3 ] || fail "$pictures pictures in the launcher submenus, not 3; see $e2e_out/menu.png"
pass "3 pictures 24 rows high; screenshot $e2e_out/menu.png"
close_menu || fail "the menus did not close on Escape"

step "the launcher settings dialog at 150 %, its tree's pictures 24 pixels"
open_launcher_dialog
dialog_left=$win_left dialog_top=$win_top
desktop_screenshot "$e2e_out/dialog-screen.png"
crop_window "$e2e_out/dialog-screen.png" "$e2e_out/dialog.png"
expect_child TCONF Static "ランチャリスト" 104 18
expect_child TCONF Button "新規フォルダ" 134 38
expect_child TCONF Button "決定" 113 38
expect_child TCONF SysTreeView32 "" 602 278
# The folder's picture in the tree: more than the 16-pixel folder's yellow can take.
read -r yellow_w yellow_h <<<"$(yellow_box "$e2e_out/dialog-screen.png" "$win_left" "$win_top" 60 60)"
[ "${yellow_w:-0}" -ge 18 ] || fail "the tree's folder picture is ${yellow_w:-0} pixels wide; see $e2e_out/dialog.png"
desktop_wintool close TCONF
desktop_wintool waitgone TCONF 3000 || fail "the dialog stayed open"
pass "controls scaled, folder picture ${yellow_w} x ${yellow_h}; screenshot $e2e_out/dialog.png"

step "the about box at 150 %"
tray_menu
keys a
line=$(desktop_wintool wait TAboutBox 5000 | tr -d '\r') || fail "the about box did not show"
win_split "$line"
desktop_screenshot "$e2e_out/about-screen.png"
crop_window "$e2e_out/about-screen.png" "$e2e_out/about.png"
expect_child TAboutBox Static "Mivtra" 150 54
expect_child TAboutBox Static "version 2.02" 104 18
expect_child TAboutBox Button "閉じる(&C)" 113 38
desktop_wintool close TAboutBox
desktop_wintool waitgone TAboutBox 3000 || fail "the about box stayed open"
pass "screenshot $e2e_out/about.png"

expect_normal_end
e2e_end
