#!/usr/bin/env bash
# "ヘルプ表示" from the tray menu opens the help viewer on the contents topic, also when Mivtra
# was started with another current folder (as a shortcut or a Run key may start it): Mivtra
# hands the viewer the full path of the Mivtra.hlp beside Mivtra.exe. With the viewer taken out
# of the prefix, as on Windows 10 and 11, the same command opens Mivtra.html through the shell.
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

# "ヘルプ表示" from the tray menu: from no selection the fifth item (separators are skipped):
# ランチャ, タスクマネージャー, ランチャの設定, 総合設定, ヘルプ表示.
help_from_tray_menu() {
    tray_menu
    keys Down Down Down Down Down
    desktop_screenshot "$e2e_out/menu.png"
    keys Return
    desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after Return"
}

step "\"ヘルプ表示\" from the tray menu"
help_from_tray_menu

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

step "the viewer closes"
desktop_wintool close MS_WINHELP || fail "could not close the viewer"
desktop_wintool waitgone MS_WINHELP 5000 || fail "the viewer is still open 5 s after WM_CLOSE"
pass "viewer closed"

step "the viewer is taken out of the prefix; the shell opens .html files with a recording program"
rm -f "$WINEPREFIX/drive_c/windows/winhlp32.exe" "$WINEPREFIX/drive_c/windows/system32/winhlp32.exe"
[ ! -e "$WINEPREFIX/drive_c/windows/winhlp32.exe" ] || fail "winhlp32.exe is still in C:\\windows"
[ -f "$WINEPREFIX/drive_c/Mivtra/Mivtra.html" ] || fail "no Mivtra.html beside Mivtra.exe (is it built?)"
tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools"
cp "$e2e_bindir/record_args.exe" "$tools/page.exe"
desktop_wine reg add 'HKCR\.html' /ve /d MivtraTestPage /f >/dev/null 2>&1 &&
    desktop_wine reg add 'HKCR\MivtraTestPage\shell\open\command' /ve /d '"C:\Tools\page.exe" "%1"' /f \
        >/dev/null 2>&1 || fail "could not register the .html handler"
pass "no winhlp32.exe; C:\\Tools\\page.exe opens .html files"

step "\"ヘルプ表示\" now opens Mivtra.html"
help_from_tray_menu
record=$(record_of "$tools/page.txt") || fail "nothing opened Mivtra.html (no record of C:\\Tools\\page.exe)"
line=$(sed -n 1p <<<"$record")
note "command line: $line"
case $line in
    *'"C:\Mivtra\Mivtra.html"') ;;
    *) fail "the page program did not get C:\\Mivtra\\Mivtra.html" ;;
esac
! desktop_wintool find MS_WINHELP >/dev/null 2>&1 || fail "a help viewer window is open as well"
pass "the shell opened C:\\Mivtra\\Mivtra.html"

expect_normal_end

e2e_end
