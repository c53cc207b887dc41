#!/usr/bin/env bash
# Mivtra at 150 % display scaling (a system DPI of 144): the tray icon, the drop window, the menu
# with its launcher submenu, the launcher settings dialog and the about box at their new sizes,
# pictures 24 pixels high instead of 16; each step saves a screenshot.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin --dpi 144
# アクセサリ with メモ帳 and 電卓 (no picture under Wine), a separator, the Windows folder.
cp "$(dirname "${BASH_SOURCE[0]}")/../../scripts/sample-LAUNCH.INI" "$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI"

# Saves the window of class CLASS as FILE and checks its children: each SPEC is "TEXT|W H".
expect_window() {
    local line spec
    line=$(desktop_wintool wait "$1" 5000 | tr -d '\r') || fail "no $1 window"
    win_split "$line"
    desktop_screenshot "$e2e_out/screen.png"
    convert "$e2e_out/screen.png" -crop $((win_right - win_left))x$((win_bottom - win_top))+$win_left+$win_top +repage "$2"
    for spec in "${@:3}"; do
        desktop_wintool children "$1" | tr -d '\r' |
            awk '{ s = $0; for (i = 0; i < 8; i++) sub(/^[^ ]+ /, "", s); print s "|" $5 - $3 " " $6 - $4 }' |
            grep -xF "$spec" >/dev/null || fail "$1 has no \"${spec%|*}\" of ${spec#*|} pixels; see $2"
    done
}

step "at the start, the tray icon at the tray's size and the drop window at 150 %"
reg_set HOOK 0 && reg_set DragDrop 1
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
# The 16-pixel rocket covers at most 16 x 16 pixels, the 24-pixel one more.
[ $((tray_w > 16 && tray_w <= 24 && tray_h > 16 && tray_h <= 24)) = 1 ] ||
    fail "the tray icon's picture covers $tray_w x $tray_h pixels, not those of a 24-pixel icon"
expect_window TTASKM "$e2e_out/drop-window.png" "Mivtraに登録するファイルを|218 18" "ここへドロップしてください。|205 18"
pass "tray icon $tray_w x $tray_h ($e2e_out/tray.png); labels 18 high ($e2e_out/drop-window.png)"

step "the menu's launcher submenu and its folder show pictures 24 pixels high"
tray_menu
keys Down Right Right
wait_menus 3 || fail "the launcher folder did not open ($(open_menus) menu windows)"
desktop_screenshot "$e2e_out/menu.png"
# The rows of pictures in the two submenus, which open left of the menu at the screen's edge.
heights=$(desktop_wintool list | tr -d '\r' | awk -v w="$desktop_width" '$8 == "#32768" && $2 == 1 && $5 < w' |
    while read -r line; do
        win_split "$line"
        picture_rows "$e2e_out/menu.png" "$win_left" "$win_top" "$win_right" "$win_bottom" 56
    done | awk '{ printf "%d ", $2 - $1 + 1 }')
[ "$heights" = "24 24 24 " ] ||
    fail "pictures [$heights] rows high, not three of 24 (アクセサリ, Windows フォルダ, メモ帳); see $e2e_out/menu.png"
pass "3 pictures 24 rows high; screenshot $e2e_out/menu.png"
close_menu || fail "the menus did not close on Escape"

step "the launcher settings dialog and the about box at 150 %"
open_launcher_dialog
expect_window TCONF "$e2e_out/dialog.png" "ランチャリスト|104 18" "新規フォルダ|134 38" "決定|113 38"
desktop_wintool close TCONF && desktop_wintool waitgone TCONF 3000 || fail "the dialog stayed open"
tray_menu
keys a
expect_window TAboutBox "$e2e_out/about.png" "Mivtra|150 54" "version 2.02|104 18" "閉じる(&C)|113 38"
desktop_wintool close TAboutBox && desktop_wintool waitgone TAboutBox 3000 || fail "the about box stayed open"
pass "screenshots $e2e_out/dialog.png, $e2e_out/about.png"

expect_normal_end
e2e_end
