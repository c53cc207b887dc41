#!/usr/bin/env bash
# The launcher submenu, opened from the tray icon and driven by the keyboard: an item starts
# its program with the entry's options and working directory, a folder opens as a nested
# submenu whose item starts too, and an entry whose file is gone brings the shell's own
# message while Mivtra goes on.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

# Two copies of a program that writes its command line and working directory into the file
# beside it named like it with ".txt".
tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools" "$WINEPREFIX/drive_c/Work" "$WINEPREFIX/drive_c/Work2"
cp "$e2e_bindir/record_args.exe" "$tools/rec.exe"
cp "$e2e_bindir/record_args.exe" "$tools/rec2.exe"
launch_ini=$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI
printf '%s\r\n' \
    '[FOLDER]' 'ITEM0=0' 'ITEM1=1' 'ITEM2=0' 'ITEM3=0' 'ITEM4=0' 'ITEM5=0' \
    '[PARENT]' 'NODE0=-2' 'NODE1=-2' 'NODE2=0' 'NODE3=-2' 'NODE4=-2' 'NODE5=-2' \
    '[ExecInfo0]' 'NAME=記録する' 'FILE=C:\Tools\rec.exe' 'OPTION=C:\MEMO FILE.TXT -x "q r"' 'DIR=C:\Work\' \
    '[ExecInfo1]' 'NAME=フォルダ' \
    '[ExecInfo2]' 'NAME=入れ子の記録' 'FILE=C:\Tools\rec2.exe' 'OPTION=nested' 'DIR=' \
    '[ExecInfo3]' 'NAME=--------' 'FILE=' 'OPTION=' 'DIR=' \
    '[ExecInfo4]' 'NAME=消えたファイル' 'FILE=C:\nowhere\gone.exe' 'OPTION=' 'DIR=' \
    '[ExecInfo5]' 'NAME=メモ帳' 'FILE=C:\windows\notepad.exe' 'OPTION=' 'DIR=' |
    iconv -f UTF-8 -t CP932 >"$launch_ini"
launch_before=$(md5sum <"$launch_ini")

step "Mivtra starts with the list and puts its icon into the tray"
reg_set HOOK 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start "$WINEPREFIX/drive_c/Work2"
wait_tray_icon
desktop_wintool find '#32770' >/dev/null && fail "a message box came up at start-up"
pass "tray icon at ($icon_x,$icon_y), no message"

step "the first launcher item starts its program with the entry's option and directory"
tray_menu
keys Down Right
wait_menus 2 || fail "the launcher submenu did not open ($(open_menus) menu windows)"
keys Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the item"
expect_started "$tools/rec.txt" ' C:\MEMO FILE.TXT -x "q r"' 'C:\Work'
pass "started as C:\\Tools\\rec.exe with the options as stored, in C:\\Work"

step "a folder opens as a nested submenu, and its item starts in turn"
tray_menu
keys Down Right Down Right
wait_menus 3 || fail "the folder's submenu did not open ($(open_menus) menu windows)"
desktop_screenshot "$e2e_out/launcher-nested.png"
pass "menu, launcher submenu and folder open; screenshot $e2e_out/launcher-nested.png"
keys Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the nested item"
expect_started "$tools/rec2.txt" ' nested' 'C:\Tools'
pass "C:\\Tools\\rec2.exe started with \"nested\" in C:\\Tools, not in C:\\Work2 where Mivtra started"

step "an entry whose file is gone: the shell says so in its own box, and Mivtra goes on"
tray_menu
# Down over the separator, which the keyboard skips.
keys Down Right Down Down
desktop_screenshot "$e2e_out/launcher-submenu.png"
keys Return
line=$(desktop_wintool wait '#32770' 10000 | tr -d '\r') || fail "no message box after choosing the missing file"
win_split "$line"
note "message box \"$win_title\" of process $win_pid"
[ "$win_pid" = "$mivtra_winpid" ] || fail "the box belongs to process $win_pid, not to Mivtra"
desktop_screenshot "$e2e_out/missing-file.png"
desktop_wintool close '#32770' || fail "could not close the shell's box"
desktop_wintool waitgone '#32770' 3000 || fail "the shell's box did not close"
kill -0 "$mivtra_pid" 2>/dev/null || fail "Mivtra ended"
tray_menu
keys Down Right
wait_menus 2 || fail "the launcher submenu did not open again"
close_menu || fail "the menu did not close on Escape"
pass "box shown and closed; the menu still works; screenshot $e2e_out/missing-file.png"

[ "$(md5sum <"$launch_ini")" = "$launch_before" ] || fail "LAUNCH.INI changed without a save"
pass "LAUNCH.INI untouched so far"

step "the launcher settings dialog shows the list, and \"決定\" writes it back and closes it"
open_launcher_dialog
desktop_wintool children TCONF | tr -d '\r' | grep -q ' SysTreeView32 ' || fail "the dialog has no tree view"
desktop_screenshot "$e2e_out/dialog.png"
button=$(desktop_wintool children TCONF | tr -d '\r' | awk '$8 == "Button" && $9 == "決定"' | head -1)
[ -n "$button" ] || fail "the dialog has no button \"決定\""
click_window "$button"
desktop_wintool waitgone TCONF 5000 || fail "the dialog stayed open after \"決定\""
printf '%s\r\n' \
    '[PARENT]' 'NODE0=-2' 'NODE1=-2' 'NODE2=0' 'NODE3=-2' 'NODE4=-2' 'NODE5=-2' \
    '[FOLDER]' 'ITEM0=0' 'ITEM1=1' 'ITEM2=0' 'ITEM3=0' 'ITEM4=0' 'ITEM5=0' \
    '[ExecInfo0]' 'NAME=記録する' 'FILE=C:\Tools\rec.exe' 'OPTION=C:\MEMO FILE.TXT -x "q r"' 'DIR=C:\Work\' \
    '[ExecInfo1]' 'NAME=フォルダ' \
    '[ExecInfo2]' 'NAME=入れ子の記録' 'FILE=C:\Tools\rec2.exe' 'OPTION=nested' 'DIR=' \
    '[ExecInfo3]' 'NAME=--------' 'FILE=' 'OPTION=' 'DIR=' \
    '[ExecInfo4]' 'NAME=消えたファイル' 'FILE=C:\nowhere\gone.exe' 'OPTION=' 'DIR=' \
    '[ExecInfo5]' 'NAME=メモ帳' 'FILE=C:\windows\notepad.exe' 'OPTION=' 'DIR=' |
    iconv -f UTF-8 -t CP932 >"$e2e_out/expected.ini"
cmp -s "$e2e_out/expected.ini" "$launch_ini" || fail "LAUNCH.INI after the save differs from $e2e_out/expected.ini"
tray_menu
keys Down Right
wait_menus 2 || fail "the launcher submenu did not open after the save"
close_menu || fail "the menu did not close on Escape"
pass "the file holds the list as the save writes it; the rebuilt submenu opens; screenshot $e2e_out/dialog.png"

expect_normal_end

e2e_end
