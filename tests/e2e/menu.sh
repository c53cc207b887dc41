#!/usr/bin/env bash
# The pop-up menu opened by the chord: it opens at the foreground window's corner plus the
# chord's offset, its task submenu lists a window made for the purpose and choosing that item
# (by keyboard) brings the window back from maximised into the foreground, its launcher
# submenu shows the entries' pictures from the first opening on, and its exit item ends Mivtra
# with the settings written.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

# A launcher list with a folder holding a program, a folder entry and an entry whose file is
# gone: folder picture, shell icons and no picture, side by side.
launch_ini=$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI
printf '%s\r\n' \
    '[FOLDER]' 'ITEM0=1' 'ITEM1=0' 'ITEM2=0' 'ITEM3=0' \
    '[PARENT]' 'NODE0=-2' 'NODE1=-1' 'NODE2=-2' 'NODE3=-2' \
    '[ExecInfo0]' 'NAME=ツール' \
    '[ExecInfo1]' 'NAME=メモ帳' 'FILE=C:\windows\notepad.exe' 'OPTION=' 'DIR=' \
    '[ExecInfo2]' 'NAME=Windows フォルダ' 'FILE=C:\windows' 'OPTION=' 'DIR=' \
    '[ExecInfo3]' 'NAME=消えたファイル' 'FILE=C:\nowhere\gone.exe' 'OPTION=' 'DIR=' |
    iconv -f UTF-8 -t CP932 >"$launch_ini"

step "Mivtra runs with the chord on and a launcher list"
mivtra_start
pass "TTASKM window exists (Windows pid $mivtra_winpid)"

# The window the task submenu is to bring back. Its title carries a mnemonic, so that the
# keyboard can choose its item wherever the window's place in the Z order puts it. Its class
# has an icon, yet under Wine its item shows none: Wine does not hand one process the class
# icon of another's window (GetClassLongPtr answers 0), which Windows does.
target_title='試験窓(&Q)'
target_left=300 target_top=200 target_width=320 target_height=200

step "a window to switch to, maximised, and an ordinary window in front of it"
desktop_wintool iconwindow "$target_title" $target_left $target_top $target_width $target_height >/dev/null &
desktop_wintool wait WintoolIconWindow 10000 >/dev/null || fail "the target window did not show"
desktop_wintool show WintoolIconWindow "$target_title" 3 || fail "could not maximise the target window"
target_maximised() {
    line=$(desktop_wintool find WintoolIconWindow | tr -d '\r')
    win_split "$line"
    [ $((win_right - win_left)) -gt $target_width ]
}
wait_until 5 target_maximised || fail "the target window is not maximised: $line"
note "target maximised: ($win_left,$win_top)-($win_right,$win_bottom)"
desktop_wintool testwindow "chord target" 120 100 400 300 >/dev/null &
line=$(desktop_wintool wait WintoolTestWindow 10000 | tr -d '\r') || fail "the chord window did not show"
win_split "$line"
front_left=$win_left front_top=$win_top
pass "chord window shown at ($front_left,$front_top)"

# Makes the chord at (X, Y) over the window of class CLASS and waits for Mivtra's menu, which
# opens once both buttons are up; sets menu_left and menu_top. The window is made the
# foreground first, as the window a user works in is.
chord_menu() {
    local x=$1 y=$2 class=$3 line
    desktop_wintool setfg "$class" || fail "could not make the $class window the foreground"
    desktop_wintool waitfg "$class" 3000 >/dev/null || fail "the $class window did not become the foreground"
    pointer_to "$x" "$y"
    xdotool mousedown 3 sleep 0.05 mousedown 1 sleep 0.05 mouseup 1 sleep 0.05 mouseup 3
    line=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "no pop-up menu (#32768) within 5 s of the chord"
    win_split "$line"
    [ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra ($mivtra_winpid)"
    menu_left=$win_left menu_top=$win_top
}

# The open launcher submenu shows pictures on ツール and "Windows フォルダ", none on the entry
# whose file is gone (its last third), and its folder ツール one, メモ帳's.
expect_launcher_pictures() {
    local shot=$1 menus launch folder rows
    menus=$(desktop_wintool list | tr -d '\r' | awk '$8 == "#32768" && $2 == 1' | sort -k3,3n)
    [ "$(printf '%s\n' "$menus" | wc -l)" = 3 ] || fail "not three menus open: $menus"
    launch=$(printf '%s\n' "$menus" | sed -n 2p)
    folder=$(printf '%s\n' "$menus" | sed -n 3p)
    win_split "$launch"
    rows=$(picture_rows "$shot" "$win_left" "$win_top" "$win_right" "$win_bottom")
    [ "$(printf '%s' "$rows" | grep -c .)" = 2 ] ||
        fail "the launcher submenu shows pictures in rows [$rows], not in its first two items; see $shot"
    [ "$(printf '%s\n' "$rows" | awk 'END { print $1 }')" -lt $(((win_bottom - win_top - 6) * 2 / 3)) ] ||
        fail "the entry whose file is gone shows a picture (rows [$rows]); see $shot"
    win_split "$folder"
    rows=$(picture_rows "$shot" "$win_left" "$win_top" "$win_right" "$win_bottom")
    [ "$(printf '%s' "$rows" | grep -c .)" = 1 ] || fail "the folder ツール shows pictures in rows [$rows]; see $shot"
}

# Opens the launcher folder from the menu the chord opens at (X, Y) over WINDOW_CLASS and reads
# its pictures from the screenshot SHOT; the menus are closed again.
check_launcher_pictures() {
    chord_menu "$1" "$2" "$3"
    # The first Right opens the launcher submenu on its first entry, the folder; the second opens it.
    menu_keys Down Right Right || fail "no menu took the keys"
    wait_menus 3 || fail "the launcher folder did not open ($(open_menus) menu windows)"
    desktop_screenshot "$4"
    expect_launcher_pictures "$4"
}

step "the first opening after the start shows every launcher picture once the look-up is done"
# Mivtra's own threads are the main one, the hook's and the launcher file's folder watch; the
# look-up's end once it is done.
desktop_wintool waitthreads "$mivtra_winpid" 3 20000 >/dev/null ||
    fail "the launcher pictures' threads still run 20 s after the start"
check_launcher_pictures $((front_left + 40)) $((front_top + 60)) WintoolTestWindow "$e2e_out/launcher-first.png"
pass "folder picture, folder icon, none for the gone file, メモ帳's icon; screenshot $e2e_out/launcher-first.png"
close_menu || fail "the menus did not close on Escape"

step "the chord over the window opens the menu at the chord's point"
offset_x=150 offset_y=100
chord_menu $((front_left + offset_x)) $((front_top + offset_y)) WintoolTestWindow
[ "$menu_left" = $((front_left + offset_x)) ] && [ "$menu_top" = $((front_top + offset_y)) ] ||
    fail "the menu opened at ($menu_left,$menu_top), not at ($((front_left + offset_x)),$((front_top + offset_y)))"
pass "menu at ($menu_left,$menu_top), where the chord was made"

step "the keyboard opens the task submenu, which lists the window"
menu_keys Down Down Right || fail "no menu took the keys"
wait_menus 2 || fail "the task submenu did not open ($(open_menus) menu windows)"
desktop_screenshot "$e2e_out/task-submenu.png"
pass "task submenu open; screenshot $e2e_out/task-submenu.png"

step "choosing the window's item restores it and brings it to the front"
menu_keys q || fail "no menu took the key"
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the item"
target_restored() {
    line=$(desktop_wintool find WintoolIconWindow | tr -d '\r')
    win_split "$line"
    [ "$win_left,$win_top" = $target_left,$target_top ] &&
        [ $((win_right - win_left)),$((win_bottom - win_top)) = $target_width,$target_height ]
}
wait_until 3 target_restored || fail "the target window is not back at its normal place and size: $line"
fg=$(desktop_wintool waitfg WintoolIconWindow 3000 | tr -d '\r') ||
    fail "the foreground window is not the chosen one: $fg"
desktop_screenshot "$e2e_out/task-chosen.png"
pass "the window is back at ($target_left,$target_top) ${target_width}x${target_height} and in front"

step "a later opening shows the launcher pictures as well"
check_launcher_pictures $((target_left + 40)) $((target_top + 60)) WintoolIconWindow "$e2e_out/launcher-submenu.png"
pass "the same pictures; screenshot $e2e_out/launcher-submenu.png"
close_menu || fail "the menus did not close on Escape"

step "the exit item ends Mivtra, which writes its settings"
chord_menu $((target_left + 40)) $((target_top + 60)) WintoolIconWindow
menu_keys c || fail "no menu took the exit item's key"
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after its exit item's key"
mivtra_wait_exit 10 || fail "Mivtra still runs 10 s after its exit item"
[ "$mivtra_exit" = 0 ] || fail "Mivtra ended with code $mivtra_exit"
pass "Mivtra ended with code 0"
expect_settings HOOK=1 DragDrop=0 DispIcon=1 TOP=76 LEFT=130

e2e_end
