#!/usr/bin/env bash
# A LAUNCH.INI that a hard power-off left with no bytes, beside its backups: Mivtra starts
# while the user works in another program, loads the newest backup, says so in one box in
# front of that program, and the next "決定" writes the list back, keeping the damaged file
# under a name of its own and the backups as they were.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

launch_ini=$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI
list() {
    printf '%s\r\n' '[FOLDER]' 'ITEM0=1' 'ITEM1=0' '[PARENT]' 'NODE0=-2' 'NODE1=-1' \
        '[ExecInfo0]' "NAME=$1" '[ExecInfo1]' "NAME=$2" 'FILE=C:\windows\notepad.exe' 'OPTION=' 'DIR=' |
        iconv -f UTF-8 -t CP932
}
list 道具 メモ帳 >"$launch_ini.1"
list 古い道具 古いメモ帳 >"$launch_ini.2"
: >"$launch_ini"
backups_before=$(cat "$launch_ini.1" "$launch_ini.2" | md5sum)

step "Mivtra starts while another program is in front, over a LAUNCH.INI of no bytes"
reg_set HOOK 0
desktop_wintool testwindow "作業中のプログラム" 120 100 500 350 >/dev/null &
desktop_wintool waitexists WintoolTestWindow 10000 >/dev/null || fail "the other program's window did not show"
desktop_screenshot "$e2e_out/before.png"
mivtra_start
line=$(desktop_wintool wait '#32770' 10000 | tr -d '\r') || fail "no message box at start-up"
win_split "$line"
[ "$win_pid" = "$mivtra_winpid" ] || fail "the box belongs to process $win_pid, not to Mivtra"
[ "$win_title" = Mivtra ] || fail "the box is captioned \"$win_title\""
# The text's lines come out as lines of their own.
text=$(desktop_wintool children '#32770' | tr -d '\r' | tr '\n' ' ')
note "text: $text"
for part in 'C:\Mivtra\LAUNCH.INI を読み込めません（ファイルが空です）' \
    'バックアップ C:\Mivtra\LAUNCH.INI.1 から一覧を読み込みました' 'C:\Mivtra\LAUNCH.INI.damaged という名前で残します'; do
    [[ $text == *"$part"* ]] || fail "the box does not say \"$part\""
done
# Activation follows the showing: wait for it.
fg=$(desktop_wintool waitfg '#32770' 3000 | tr -d '\r') || fail "the box is not in front: $fg is"
desktop_screenshot "$e2e_out/recovered.png"
pass "one box in front names the damaged file and the backup; screenshot $e2e_out/recovered.png"
[ "$(stat -c %s "$launch_ini")" = 0 ] && [ ! -e "$launch_ini.damaged" ] || fail "the start changed a file"

step "OK closes the box; the list is the backup's"
button=$(desktop_wintool children '#32770' | tr -d '\r' | awk '$8 == "Button"' | head -1)
[ -n "$button" ] || fail "the box has no button"
click_window "$button"
# Hidden first and destroyed a moment later: no box of any kind may be left.
desktop_wintool waitnone '#32770' 5000 || fail "a box is still there after OK"
wait_tray_icon
open_launcher_dialog
tree=$(desktop_wintool children TCONF | tr -d '\r' | awk '$8 == "SysTreeView32" {print $1}')
items=$(desktop_wintool treeitems "$tree" | tr -d '\r' | awk '{print $NF}' | tr '\n' ' ')
[ "$items" = "道具 メモ帳 " ] || fail "the dialog shows \"$items\", not the backup's list"
pass "the dialog shows the list of LAUNCH.INI.1"

step "\"決定\" writes the list; the damaged file is kept aside, the backups stay as they were"
click_window "$(desktop_wintool children TCONF | tr -d '\r' | awk '$8 == "Button" && $9 == "決定"' | head -1)"
desktop_wintool waitgone TCONF 5000 || fail "the dialog stayed open after \"決定\""
iconv -f CP932 -t UTF-8 <"$launch_ini" | grep -q '^NAME=メモ帳' || fail "LAUNCH.INI does not hold the list"
[ -f "$launch_ini.damaged" ] && [ "$(stat -c %s "$launch_ini.damaged")" = 0 ] ||
    fail "LAUNCH.INI.damaged is not the file of no bytes"
[ "$(cat "$launch_ini.1" "$launch_ini.2" | md5sum)" = "$backups_before" ] || fail "the backups changed"
[ ! -e "$launch_ini.3" ] || fail "the damaged file became a generation"
pass "LAUNCH.INI holds the list, LAUNCH.INI.damaged the empty file, LAUNCH.INI.1 and .2 unchanged"

expect_normal_end

e2e_end
