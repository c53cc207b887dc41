#!/usr/bin/env bash
# The mouse chord: right button down, then left, over an ordinary window opens Mivtra's pop-up
# menu under the pointer, and the chord's second click does not reach that window.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

step "Mivtra runs with the chord on (no settings: HOOK defaults to 1)"
mivtra_start
pass "TTASKM window exists (Windows pid $mivtra_winpid)"

step "a test window is the foreground, with the pointer over it"
desktop_wintool testwindow "chord target" 200 150 400 300 >/dev/null &
line=$(desktop_wintool wait WintoolTestWindow 10000 | tr -d '\r') || fail "the test window did not show"
win_split "$line"
target_left=$win_left target_top=$win_top
pointer_x=$((target_left + 150)) pointer_y=$((target_top + 100))

# Makes the test window the foreground window and puts the pointer over it. Wine gives the X
# keyboard focus to the X window of an activated window, and keys arriving there stay with
# that program even after another one has become the foreground (as Mivtra does to show its
# menu), so Escape would not reach the menu. The X focus goes back to the desktop's X window,
# from where keys follow Wine's foreground window as on Windows.
prepare_target() {
    desktop_wintool setfg WintoolTestWindow || fail "could not make the test window the foreground"
    xdotool windowfocus "$(xdotool search --name 'Wine desktop' | head -1)"
    sleep 0.2
    local fg
    fg=$(desktop_wintool foreground | tr -d '\r') || fail "no foreground window"
    win_split "$fg"
    [ "$win_class" = WintoolTestWindow ] || fail "the foreground window is $win_class, not the test window"
    xdotool mousemove "$pointer_x" "$pointer_y"
    sleep 0.2
}
prepare_target
pass "test window at ($target_left,$target_top) is the foreground, pointer at ($pointer_x,$pointer_y)"

# Makes the chord at the pointer and waits for the menu: right down, left down, then both up.
chord() {
    xdotool mousedown 3
    sleep 0.05
    xdotool mousedown 1
    menu=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || {
        xdotool mouseup 1 mouseup 3
        fail "no pop-up menu (#32768) within 5 s of the chord"
    }
    xdotool mouseup 1
    sleep 0.05
    xdotool mouseup 3
}

step "the chord opens Mivtra's menu under the pointer"
desktop_wintool wait '#32768' 0 >/dev/null && fail "a menu is open before the chord"
chord
win_split "$menu"
note "menu window ($win_left,$win_top)-($win_right,$win_bottom), Windows pid $win_pid"
[ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra ($mivtra_winpid)"
# The menu's top-left corner is the foreground window's corner plus the chord point's offset
# in it, which is the pointer.
[ $((win_left - pointer_x)) -ge -2 ] && [ $((win_left - pointer_x)) -le 2 ] &&
    [ $((win_top - pointer_y)) -ge -2 ] && [ $((win_top - pointer_y)) -le 2 ] ||
    fail "the menu's corner ($win_left,$win_top) is not at the pointer ($pointer_x,$pointer_y)"
sleep 0.3
desktop_wintool wait '#32768' 0 >/dev/null || fail "the menu closed when the buttons were released"
desktop_screenshot "$e2e_out/chord-menu.png"
pass "the menu's corner is at the pointer and it stays open after the release; screenshot $e2e_out/chord-menu.png"

step "the chord's left click did not reach the test window"
target=$(desktop_wintool find WintoolTestWindow | tr -d '\r')
win_split "$target"
note "test window title: $win_title"
case $win_title in *ld=0*) ;; *) fail "the test window got the chord's left press: $win_title" ;; esac
case $win_title in *lu=0*) ;; *) fail "the test window got the chord's left release: $win_title" ;; esac
case $win_title in *rd=1*) ;; *) fail "the test window did not get the chord's first (right) press: $win_title" ;; esac
pass "the first press (right) reached it, the left press and release did not"

step "Escape closes the menu"
close_menu || fail "the menu did not close on Escape"
pass "closed"

step "a second chord opens the menu again"
prepare_target
chord
win_split "$menu"
[ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra"
[ "$win_left,$win_top" = "$pointer_x,$pointer_y" ] ||
    fail "the menu's corner ($win_left,$win_top) is not at the pointer ($pointer_x,$pointer_y)"
close_menu || fail "the menu did not close on Escape"
pass "the menu opened again and closed"
kill -0 "$mivtra_pid" 2>/dev/null || fail "Mivtra ended"

e2e_end
