#!/usr/bin/env bash
# The tray icon: it appears when Mivtra starts, a left and a right press on it open the pop-up
# menu at the pointer, and a second copy started meanwhile leaves without a trace.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

step "Mivtra starts and puts its icon into the tray"
desktop_screenshot "$e2e_out/before.png"
mivtra_start
pass "TTASKM window exists (Windows pid $mivtra_winpid)"
wait_tray_icon
note "changed taskbar region: ${tray_w}x${tray_h} at ($tray_x,$tray_y)"
[ "$tray_x" -ge $((desktop_width * 3 / 4)) ] ||
    fail "the change is not at the tray's place (right end of the taskbar): x=$tray_x"
[ "$tray_w" -le 40 ] && [ "$tray_h" -le 24 ] ||
    fail "the change (${tray_w}x${tray_h}) is larger than one tray icon"
convert "$e2e_out/tray.png" -crop "240x40+$((desktop_width - 240))+$((desktop_height - 40))" +repage \
    -scale 300% "$e2e_out/tray-zoom.png"
pass "tray icon at ($icon_x,$icon_y); screenshot $e2e_out/tray.png"

step "the application window and the main window are hidden"
app=$(desktop_wintool find TApplication Mivtra | tr -d '\r') || fail "no TApplication window captioned Mivtra"
win_split "$app"
[ "$win_visible" = 0 ] || fail "the TApplication window is visible"
main=$(desktop_wintool find TTASKM Mivtra | tr -d '\r') || fail "no TTASKM window captioned Mivtra"
win_split "$main"
[ "$win_visible" = 0 ] || fail "the TTASKM window is visible although DragDrop is off"
pass "TApplication and TTASKM exist, captioned Mivtra, both hidden"

step "a second copy exits at once with code 0 and changes nothing"
second_exit=0
second_start=$(date +%s.%N)
timeout 30 wine "$desktop_app" 2>>"$desktop_work/wine.log" || second_exit=$?
note "the second copy ran for $(seconds_since "$second_start") s"
[ "$second_exit" = 0 ] || fail "the second copy ended with code $second_exit (124 means it kept running)"
count=$(desktop_wintool count TTASKM | tr -d '\r')
[ "$count" = 1 ] || fail "$count TTASKM windows after the second copy"
kill -0 "$mivtra_pid" 2>/dev/null || fail "the first copy ended"
desktop_screenshot "$e2e_out/after-second.png"
[ -z "$(desktop_tray_change "$e2e_out/tray.png" "$e2e_out/after-second.png")" ] ||
    fail "the taskbar strip changed after the second copy (a second icon?); see $e2e_out/after-second.png"
pass "exit code 0, one TTASKM window, the first copy still runs, tray unchanged"

# Asserts that a visible menu of Mivtra's opened at the press point; shows it in a screenshot.
expect_menu_at() {
    local x=$1 y=$2 shot=$3 line
    line=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "no pop-up menu (#32768) within 5 s"
    win_split "$line"
    note "menu window ($win_left,$win_top)-($win_right,$win_bottom), Windows pid $win_pid"
    [ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra ($mivtra_winpid)"
    # The press point is on the taskbar, and Wine keeps a menu off the taskbar: the menu
    # ends at the taskbar's top edge, straight above the point.
    point_near_rect "$x" "$y" "$win_left" "$win_top" "$win_right" "$win_bottom" $((desktop_taskbar_height + 2)) ||
        fail "the menu does not open at the press point ($x,$y)"
    # Off the icon, so that its tool tip does not cover the menu in the screenshot.
    pointer_to $((win_left + 2)) $((win_top + 2))
    desktop_screenshot "$shot"
    pass "Mivtra's pop-up menu is open at the press point; screenshot $shot"
}

step "a left press on the icon opens the pop-up menu"
pointer_to "$icon_x" "$icon_y"
xdotool click 1
expect_menu_at "$icon_x" "$icon_y" "$e2e_out/menu-left.png"
close_menu || fail "the menu did not close on Escape"
pass "Escape closed it"

step "after more than 500 ms a right press opens it too"
# Two presses within the double-click time would arrive as one double click.
sleep 0.6
pointer_to "$icon_x" "$icon_y"
xdotool click 3
expect_menu_at "$icon_x" "$icon_y" "$e2e_out/menu-right.png"
close_menu || fail "the menu did not close on Escape"
pass "Escape closed it"
kill -0 "$mivtra_pid" 2>/dev/null || fail "Mivtra ended"

e2e_end
