#!/usr/bin/env bash
# Closing: a close request to the main window or to the application window ends Mivtra after
# it has written the general settings; defaults apply to what is absent or unreadable.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

step "first start with no settings key: the key is made, General is not"
reg_key_exists "$e2e_key" && fail "$e2e_key exists before the first start"
mivtra_start
main=$(desktop_wintool find TTASKM | tr -d '\r')
win_split "$main"
[ "$win_visible" = 0 ] || fail "TTASKM is visible with DragDrop off"
[ "$win_left,$win_top" = 130,76 ] || fail "TTASKM is at ($win_left,$win_top), expected the default (130,76)"
pass "TTASKM hidden at the default position (130,76)"
reg_key_exists "$e2e_key" || fail "start-up did not create $e2e_key"
reg_key_exists "$e2e_general" && fail "start-up created $e2e_general; only closing writes it"
pass "$e2e_key exists, General does not yet"

step "close TTASKM: the process ends and the defaults are written"
desktop_wintool close TTASKM || fail "could not post WM_CLOSE to TTASKM"
mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE to TTASKM"
[ "$mivtra_exit" = 0 ] || fail "Mivtra ended with exit code $mivtra_exit"
desktop_wintool waitnone TTASKM 3000 || fail "a TTASKM window outlived the process"
pass "Mivtra ended with code 0"
expect_settings HOOK=1 DragDrop=0 DispIcon=1 TOP=76 LEFT=130 HotKey=0
names=$(reg_values "$e2e_general" | cut -d' ' -f1 | LC_ALL=C sort | tr '\n' ' ')
[ "$names" = "DispIcon DragDrop HOOK HotKey LEFT TOP " ] || fail "the values are named $names"
pass "written under the names HOOK DragDrop DispIcon TOP LEFT HotKey"

step "start with HOOK=\"7\" and Top=\"abc\", then close TApplication"
desktop_wine reg delete "$e2e_general" /f >/dev/null 2>&1 || true
reg_set HOOK 7
reg_set Top abc
mivtra_start
main=$(desktop_wintool find TTASKM | tr -d '\r')
win_split "$main"
[ "$win_top" = 76 ] || fail "TTASKM top is $win_top with Top=\"abc\", expected the default 76"
pass "\"abc\" is not a number: the top edge stays 76"
desktop_wintool close TApplication || fail "could not post WM_CLOSE to TApplication"
mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE to TApplication"
[ "$mivtra_exit" = 0 ] || fail "Mivtra ended with exit code $mivtra_exit"
pass "Mivtra ended with code 0"
expect_settings HOOK=1 DragDrop=0 DispIcon=1 TOP=76 LEFT=130 HotKey=0

step "start with HOOK=\"0\" and DispIcon=\"0\": no tray icon, and both written back as 0"
reg_set HOOK 0
reg_set DispIcon 0
desktop_screenshot "$e2e_out/before-noicon.png"
mivtra_start
# Start-up adds the icon before the program first waits for input.
desktop_wintool waitidle TTASKM 10000 || fail "Mivtra did not finish its start-up within 10 s"
desktop_screenshot "$e2e_out/noicon.png"
[ -z "$(desktop_tray_change "$e2e_out/before-noicon.png" "$e2e_out/noicon.png")" ] ||
    fail "the taskbar strip changed although DispIcon is 0; see $e2e_out/noicon.png"
pass "no tray icon"
desktop_wintool close TTASKM
mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE"
expect_settings HOOK=0 DragDrop=0 DispIcon=0 TOP=76 LEFT=130 HotKey=0

e2e_end
