#!/usr/bin/env bash
# The shortcut, typed into its dialog, opens the menu at the pointer over another program and
# brings the launcher dialog forward; the start item writes and removes the Run value.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin
mkdir -p "$WINEPREFIX/drive_c/Tools" && cp "$e2e_bindir/record_args.exe" "$WINEPREFIX/drive_c/Tools/rec.exe"
printf '%s\r\n' '[FOLDER]' 'ITEM0=0' '[PARENT]' 'NODE0=-2' '[ExecInfo0]' 'NAME=記録する' \
    'FILE=C:\Tools\rec.exe' 'OPTION=by-shortcut' 'DIR=C:\Tools\' | iconv -t CP932 >"$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI"
reg_set HOOK 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
general_menu() { tray_menu && keys Down Down Down Down Right && wait_menus 2 || fail "no 総合設定"; }

step "the shortcut is typed into its dialog and kept with \"決定\""
general_menu
keys Down Down Down Return
desktop_wintool waitfg MivtraShortcutDialog 5000 >/dev/null || fail "the shortcut dialog is not in front"
desktop_wintool keys ctrl+ alt+ M alt- ctrl- || fail "could not type the shortcut"
desktop_screenshot "$e2e_out/shortcut-dialog.png"
click_window "$(desktop_wintool children MivtraShortcutDialog | tr -d '\r' | awk '$9 == "決定"')"
desktop_wintool waitgone MivtraShortcutDialog 5000 || fail "the dialog stayed open after \"決定\""
pass "screenshot $e2e_out/shortcut-dialog.png"

step "over another program, with the pointer elsewhere, it opens the menu at the pointer"
desktop_wintool testwindow "in front" 100 100 400 300 >/dev/null &
desktop_wintool waitfg WintoolTestWindow 10000 >/dev/null || fail "the other program is not in front"
pointer_to 640 260
desktop_wintool keys ctrl+ alt+ M || fail "could not press the shortcut"
win_split "$(desktop_wintool wait '#32768' 5000 | tr -d '\r')"
desktop_wintool keys alt- ctrl- || fail "could not let the modifiers go"
[ "$win_pid,$win_left,$win_top" = "$mivtra_winpid,640,260" ] || fail "menu of $win_pid at ($win_left,$win_top)"
keys Down Return Return
expect_started "$WINEPREFIX/drive_c/Tools/rec.txt" ' by-shortcut' 'C:\Tools'
pass "Mivtra's menu at the pointer; with the modifiers up, Down and Enter started the item"

step "over the launcher dialog, the shortcut brings the dialog forward"
open_launcher_dialog
desktop_wintool setfg WintoolTestWindow && desktop_wintool waitfg WintoolTestWindow 3000 >/dev/null &&
    desktop_wintool keys ctrl+ alt+ M alt- ctrl- || fail "could not press the shortcut over the other program"
desktop_wintool waitfg TCONF 3000 >/dev/null && [ "$(open_menus)" = 0 ] || fail "TCONF not in front, or a menu"
desktop_wintool close TCONF && desktop_wintool waitgone TCONF 3000 || fail "the dialog did not close"
pass "TCONF in front, no menu"

step "the start item writes the Run value naming the program, and removes it when chosen again"
general_menu
keys Down Down Down Down Return
run_value() { reg_values 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' | awk '$1 == "Mivtra"'; }
wait_until 3 eval '[ "$(run_value)" = "Mivtra REG_SZ \"C:\Mivtra\Mivtra.exe\"" ]' || fail "the Run value is [$(run_value)]"
general_menu
desktop_screenshot "$e2e_out/general-settings.png"
keys Down Down Down Down Return
wait_until 3 eval '[ -z "$(run_value)" ]' || fail "the Run value is still there"
pass "written and removed; screenshot $e2e_out/general-settings.png"

expect_normal_end
expect_settings HOOK=0 DragDrop=0 DispIcon=1 TOP=76 LEFT=130 HotKey=845
e2e_end
