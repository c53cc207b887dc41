#!/usr/bin/env bash
# LAUNCH.INI edited by another program while Mivtra runs: the launcher submenu follows the file
# without a restart, and its new item starts its program.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools"
cp "$e2e_bindir/record_args.exe" "$tools/new.exe"
launch_ini=$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI
printf '%s\r\n' '[FOLDER]' 'ITEM0=0' '[ExecInfo0]' 'NAME=古い項目' 'FILE=C:\Tools\old.exe' 'OPTION=old' 'DIR=C:\Tools\' |
    iconv -f UTF-8 -t CP932 >"$launch_ini"

step "Mivtra runs with a list of one item"
reg_set HOOK 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
pass "tray icon at ($icon_x,$icon_y)"

step "another program rewrites LAUNCH.INI: the submenu's first item is the new one"
printf '%s\r\n' '[FOLDER]' 'ITEM0=0' 'ITEM1=1' \
    '[ExecInfo0]' 'NAME=外で足した項目' 'FILE=C:\Tools\new.exe' 'OPTION=outside' 'DIR=C:\Tools\' \
    '[ExecInfo1]' 'NAME=外で足したフォルダ' |
    iconv -f UTF-8 -t CP932 >"$launch_ini.new"
mv "$launch_ini.new" "$launch_ini"
# The program takes the change in once the folder has been quiet for a moment (at most about
# a second after the write); the check below is what must hold, this wait only lets it happen.
sleep 3
tray_menu
keys Down Right
wait_menus 2 || fail "the launcher submenu did not open"
desktop_screenshot "$e2e_out/followed.png"
keys Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the item"
expect_started "$tools/new.txt" ' outside' 'C:\Tools'
pass "the new item started C:\\Tools\\new.exe with \"outside\"; screenshot $e2e_out/followed.png"

expect_normal_end

e2e_end
