#!/usr/bin/env bash
# With the tray icon hidden and the chord off nothing reaches a running Mivtra: starting it a
# second time brings the first copy's tray icon back, and the second copy leaves at once.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

step "Mivtra starts with the tray icon hidden and the chord off"
reg_set HOOK 0
reg_set DispIcon 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start
# The launcher dialog comes after the main window's start-up, which would have added the icon.
desktop_wintool waitexists TCONF 10000 >/dev/null || fail "start-up did not finish"
desktop_screenshot "$e2e_out/hidden.png"
[ -z "$(desktop_tray_change "$e2e_out/before.png" "$e2e_out/hidden.png")" ] ||
    fail "the taskbar strip changed although DispIcon is 0; see $e2e_out/hidden.png"
pass "running (Windows pid $mivtra_winpid), no tray icon"

step "a second start brings the icon back and ends with code 0"
second_exit=0
timeout 30 wine "$desktop_app" 2>>"$desktop_work/wine.log" || second_exit=$?
[ "$second_exit" = 0 ] || fail "the second copy ended with code $second_exit"
wait_tray_icon
tray_menu
desktop_screenshot "$e2e_out/icon-back.png"
close_menu || fail "the menu did not close on Escape"
pass "the first copy shows its icon at ($icon_x,$icon_y) and its menu opens; screenshot $e2e_out/icon-back.png"

expect_normal_end
expect_settings HOOK=0 DragDrop=0 DispIcon=1 TOP=76 LEFT=130 HotKey=0

e2e_end
