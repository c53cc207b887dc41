#!/usr/bin/env bash
# "ヘルプ表示" from the tray menu opens the help viewer on the contents topic, also when Mivtra
# was started with another current folder (as a shortcut or a Run key may start it): Mivtra
# hands the viewer the full path of the Mivtra.hlp beside Mivtra.exe.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
contents_title=$(python3 -B "$root/tools/mkhelp/mkhelp.py" title "$root/help/mivtra.help") ||
    fail "could not read the contents topic's title from the help source"

e2e_begin
[ -f "$WINEPREFIX/drive_c/Mivtra/Mivtra.hlp" ] || fail "no Mivtra.hlp beside Mivtra.exe (is it built?)"

step "Mivtra starts with C:\\elsewhere as its current folder"
elsewhere=$WINEPREFIX/drive_c/elsewhere
mkdir -p "$elsewhere"
desktop_screenshot "$e2e_out/before.png"
mivtra_start "$elsewhere"
wait_tray_icon
pass "Mivtra runs (Windows pid $mivtra_winpid); tray icon at ($icon_x,$icon_y)"

step "\"ヘルプ表示\" from the tray menu"
pointer_to "$icon_x" "$icon_y"
xdotool click 1
line=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "no pop-up menu within 5 s of the click"
win_split "$line"
[ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra"
# From no selection, the fifth item (separators are skipped): ランチャ, タスクマネージャー,
# ランチャの設定, 総合設定, ヘルプ表示.
menu_keys Down Down Down Down Down || fail "no menu took the keys"
desktop_screenshot "$e2e_out/menu.png"
menu_keys Return || fail "no menu took the key"
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after Return"

step "the viewer shows the contents topic"
viewer=$(desktop_wintool wait MS_WINHELP 15000 | tr -d '\r') || fail "no help viewer window within 15 s"
win_split "$viewer"
note "viewer window \"$win_title\", Windows pid $win_pid"
# The topic's text is in the viewer's rich edit control; its first line is the topic's title.
shown=
for _ in $(seq 50); do
    text=$(desktop_wintool children MS_WINHELP | tr -d '\r' | awk '$8 ~ /^RichEdit/' | head -1)
    win_split "$text"
    shown=$win_title
    [ "$shown" = "$contents_title" ] && break
    sleep 0.1
done
[ "$shown" = "$contents_title" ] || fail "the viewer shows \"$shown\", not the contents topic \"$contents_title\""
[ "$(desktop_wintool list | tr -d '\r' | awk '$8 == "#32770" && $2 == 1' | wc -l)" = 0 ] ||
    fail "a dialog is open beside the viewer (the help file not found?)"
desktop_screenshot "$e2e_out/help.png"
pass "the viewer shows \"$contents_title\"; screenshot $e2e_out/help.png"

step "the viewer closes and Mivtra still answers"
desktop_wintool close MS_WINHELP || fail "could not close the viewer"
desktop_wintool waitgone MS_WINHELP 5000 || fail "the viewer is still open 5 s after WM_CLOSE"
desktop_wintool close TTASKM || fail "could not close Mivtra"
mivtra_wait_exit 10 || fail "Mivtra still runs 10 s after WM_CLOSE"
[ "$mivtra_exit" = 0 ] || fail "Mivtra ended with code $mivtra_exit"
pass "viewer closed; Mivtra ended with code 0"

e2e_end
