#!/usr/bin/env bash
# The keyboard shortcut and starting with Windows, from the user's side: the shortcut is typed
# into its dialog; pressed over another program with the pointer elsewhere it opens the menu at
# the pointer, which keeps the keys once the modifiers are let go, and starts a launcher item;
# pressed while the launcher dialog shows, it brings the dialog to the front. The start item
# writes and removes the Run value that names the program.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools"
cp "$e2e_bindir/record_args.exe" "$tools/rec.exe"
printf '%s\r\n' '[FOLDER]' 'ITEM0=0' '[PARENT]' 'NODE0=-2' \
    '[ExecInfo0]' 'NAME=記録する' 'FILE=C:\Tools\rec.exe' 'OPTION=by-shortcut' 'DIR=C:\Tools\' |
    iconv -f UTF-8 -t CP932 >"$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

step "Mivtra starts without a shortcut and without a Run value"
reg_set HOOK 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
reg_values "$run_key" | grep -q '^Mivtra ' && fail "a Run value Mivtra exists at the first start"
pass "tray icon at ($icon_x,$icon_y), no Run value"

# The general settings' submenu from the tray menu, its first item selected.
general_menu() {
    tray_menu
    keys Down Down Down Down Right
    wait_menus 2 || fail "the general settings did not open ($(open_menus) menu windows)"
}

step "the shortcut is typed into its dialog and kept with \"決定\""
general_menu
keys Down Down Down Return
line=$(desktop_wintool wait MivtraShortcutDialog 5000 | tr -d '\r') || fail "the shortcut dialog did not show"
win_split "$line"
[ "$win_title" = ショートカットキー ] || fail "the dialog is captioned \"$win_title\""
desktop_wintool waitfg MivtraShortcutDialog 3000 >/dev/null || fail "the dialog is not in front"
desktop_wintool presskeys ctrl+alt+M || fail "could not type the shortcut"
desktop_screenshot "$e2e_out/shortcut-dialog.png"
button=$(desktop_wintool children MivtraShortcutDialog | tr -d '\r' | awk '$8 == "Button" && $9 == "決定"')
[ -n "$button" ] || fail "the dialog has no button \"決定\""
click_window "$button"
desktop_wintool waitgone MivtraShortcutDialog 5000 || fail "the dialog stayed open after \"決定\""
pass "Ctrl+Alt+M typed and kept; screenshot $e2e_out/shortcut-dialog.png"

step "over another program, with the pointer elsewhere, the shortcut opens the menu at the pointer"
desktop_wintool testwindow "in front" 100 100 400 300 >/dev/null &
desktop_wintool waitfg WintoolTestWindow 10000 >/dev/null || fail "the other program did not come to the front"
pointer_to 640 260
desktop_wintool shortcutmenu 5000 ctrl+alt+M || fail "no menu in front after the shortcut"
line=$(desktop_wintool wait '#32768' 3000 | tr -d '\r') || fail "no pop-up menu on screen"
win_split "$line"
[ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra"
[ "$win_left,$win_top" = 640,260 ] || fail "the menu opened at ($win_left,$win_top), not at the pointer (640,260)"
pass "Mivtra's menu at the pointer; the modifiers are up again"

step "Down and Enter choose the launcher item, which starts"
keys Down Return Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the item"
expect_started "$tools/rec.txt" ' by-shortcut' 'C:\Tools'
pass "C:\\Tools\\rec.exe started"

step "while the launcher dialog shows, the shortcut brings it to the front"
open_launcher_dialog
desktop_wintool setfg WintoolTestWindow || fail "could not bring the other program to the front"
desktop_wintool waitfg WintoolTestWindow 3000 >/dev/null || fail "the other program is not in front"
desktop_wintool presskeys ctrl+alt+M || fail "could not press the shortcut"
desktop_wintool waitfg TCONF 3000 >/dev/null || fail "the launcher dialog did not come to the front"
[ "$(open_menus)" = 0 ] || fail "a menu opened over the dialog"
desktop_wintool close TCONF && desktop_wintool waitgone TCONF 3000 || fail "the launcher dialog did not close"
pass "TCONF in front, no menu"

step "the start item writes the Run value that names the program, and shows checked"
general_menu
keys Down Down Down Down Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after the start item"
value=$(reg_values "$run_key" | awk '$1 == "Mivtra"') || true
[ "$value" = 'Mivtra REG_SZ "C:\Mivtra\Mivtra.exe"' ] || fail "the Run value is [$value]"
general_menu
desktop_screenshot "$e2e_out/general-settings.png"
pass "$value; screenshot $e2e_out/general-settings.png"

step "chosen again, the start item removes the value"
keys Down Down Down Down Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after the start item"
reg_values "$run_key" | grep -q '^Mivtra ' && fail "the Run value is still there"
pass "no Run value Mivtra"

expect_normal_end
expect_settings HOOK=0 DragDrop=0 DispIcon=1 TOP=76 LEFT=130 HotKey=845

e2e_end
