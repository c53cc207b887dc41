#!/usr/bin/env bash
# The mouse chord: right button down, then left, over an ordinary window opens Mivtra's pop-up
# menu under the pointer and nothing else: the window sees no click of it and opens no menu of
# its own, while a plain right click still reaches it. The chord's menu takes the keyboard and
# closes on a click outside it.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

step "Mivtra runs with the chord on (no settings: HOOK defaults to 1)"
desktop_screenshot "$e2e_out/before.png"
mivtra_start
pass "TTASKM window exists (Windows pid $mivtra_winpid)"

step "a test window is the foreground, with the pointer over it"
# Its output: a line for the window, then "MESSAGE X Y" for every button message it gets.
target_log=$e2e_out/testwindow.log
desktop_wintool testwindow "chord target" 200 150 400 300 >"$target_log" &
line=$(desktop_wintool wait WintoolTestWindow 10000 | tr -d '\r') || fail "the test window did not show"
win_split "$line"
target_left=$win_left target_top=$win_top target_right=$win_right target_bottom=$win_bottom target_pid=$win_pid
pointer_x=$((target_left + 150)) pointer_y=$((target_top + 100))

# The test window's title counts the button messages it got: "[ld=0 lu=0 rd=1 ru=1]".
target_counts() {
    desktop_wintool find WintoolTestWindow | tr -d '\r' | sed -n 's/.*\[\(.*\)\]$/\1/p'
}

# Makes the test window the foreground window (as a click into it would) and puts the pointer
# over it. The X keyboard focus stays with the test window's X window, as it does for a user;
# menu_keys types with SendInput, which goes where Windows would send it.
prepare_target() {
    desktop_wintool setfg WintoolTestWindow || fail "could not make the test window the foreground"
    local fg
    fg=$(desktop_wintool foreground | tr -d '\r') || fail "no foreground window"
    win_split "$fg"
    [ "$win_class" = WintoolTestWindow ] || fail "the foreground window is $win_class, not the test window"
    xdotool mousemove "$pointer_x" "$pointer_y"
    sleep 0.2
}
prepare_target
pass "test window at ($target_left,$target_top) is the foreground, pointer at ($pointer_x,$pointer_y)"

step "a plain right click still reaches the test window, which opens its own menu"
xdotool click 3
menu=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "the right click opened no menu"
win_split "$menu"
[ "$win_pid" = "$target_pid" ] || fail "the menu belongs to process $win_pid, not to the test window ($target_pid)"
counts=$(target_counts)
[ "$counts" = "ld=0 lu=0 rd=1 ru=1" ] || fail "the test window counted [$counts] for one right click"
menu_keys Escape || fail "no menu took Escape"
desktop_wintool waitgone '#32768' 3000 || fail "the test window's menu did not close on Escape"
pass "its own menu opened and closed; counts [$counts]"

# Makes the chord at the pointer, in one xdotool run so that the presses come 50 ms apart
# however busy the machine is: right down, left down, left up, right up. The menu opens once
# both are up; sets menu to its wintool line.
chord() {
    xdotool mousedown 3 sleep 0.05 mousedown 1 sleep 0.05 mouseup 1 sleep 0.05 mouseup 3
    menu=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "no pop-up menu (#32768) within 5 s of the chord"
    win_split "$menu"
    [ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra ($mivtra_winpid)"
}

step "the chord opens exactly one menu, Mivtra's, under the pointer; the test window sees nothing of it"
desktop_wintool wait '#32768' 0 >/dev/null && fail "a menu is open before the chord"
chord
note "menu window ($win_left,$win_top)-($win_right,$win_bottom)"
[ "$win_left,$win_top" = "$pointer_x,$pointer_y" ] ||
    fail "the menu's corner ($win_left,$win_top) is not at the pointer ($pointer_x,$pointer_y)"
desktop_screenshot "$e2e_out/chord-menu.png"
pass "Mivtra's menu at the pointer; screenshot $e2e_out/chord-menu.png (the last step shows the test window saw nothing)"

step "the keyboard chooses in the chord's menu: Up, Up, Return opens the about box"
menu_keys Up Up Return || fail "no menu took the keys"
desktop_wintool wait TAboutBox 5000 >/dev/null || fail "no about box: the keys did not reach the menu"
desktop_wintool waitgone '#32768' 0 || fail "the menu stayed open after Return"
desktop_wintool close TAboutBox
desktop_wintool waitgone TAboutBox 5000 || fail "the about box did not close"
pass "the about box opened from the keyboard and closed again"

step "a click outside closes the chord's menu"
prepare_target
chord
sleep 0.3
xdotool mousemove 80 560 click 1
desktop_wintool waitgone '#32768' 3000 || fail "the menu is still open after a click outside it"
pass "gone after a click on the desktop"

step "Escape closes the chord's menu, and the chord opens it again afterwards"
prepare_target
chord
menu_keys Escape || fail "no menu took Escape"
desktop_wintool waitgone '#32768' 3000 || fail "the menu did not close on Escape"
prepare_target
chord
menu_keys Escape || fail "no menu took Escape"
desktop_wintool waitgone '#32768' 3000 || fail "the menu did not close on Escape"
# A plain right click after all the chords: once it has arrived, anything of the chords that
# leaked to the test window (input keeps its order) would have arrived before it.
prepare_target
xdotool click 3
desktop_wintool wait '#32768' 5000 >/dev/null || fail "the right click opened no menu"
counts_are() { [ "$(target_counts)" = "$1" ]; }
wait_until 5 counts_are "ld=0 lu=0 rd=2 ru=2" || fail "the test window counted [$(target_counts)], not its two right clicks alone"
[ "$(open_menus)" = 1 ] || fail "$(open_menus) menus are open, not just the test window's"
close_menu || fail "the test window's menu did not close"
pass "closed on Escape and opened again; after its second right click the test window counts [$(target_counts)]"
kill -0 "$mivtra_pid" 2>/dev/null || fail "Mivtra ended"

step "twenty right clicks on the test window, each after a tray menu or a chord beside it, each open its menu"
wait_tray_icon
# The chords go left, right, above and below the window in front; their menu's corner is at the pointer.
beside=("$((target_left - 150)) $((target_top + 60))" "$((target_right + 100)) $((target_top + 20))"
    "$((target_left + 80)) $((target_top - 100))" "$((target_left + 40)) $((target_bottom + 40))")
for i in $(seq 20); do
    if [ $((i % 2)) = 1 ]; then
        tray_menu
    else
        read -r px py <<<"${beside[$(((i / 2 - 1) % 4))]}"
        desktop_wintool setfg WintoolTestWindow || fail "could not bring the test window to the front"
        pointer_to "$px" "$py"
        chord
        [ "$i" = 2 ] && desktop_screenshot "$e2e_out/chord-left.png"
        [ "$win_left,$win_top" = "$px,$py" ] ||
            fail "chord at ($px,$py) beside ($target_left,$target_top)-($target_right,$target_bottom): menu at ($win_left,$win_top)"
    fi
    close_menu || fail "round $i: Mivtra's menu did not close"
    # Mivtra's hidden main window holds the foreground now, the state users are in.
    fg=$(desktop_wintool foreground | tr -d '\r') && win_split "$fg"
    [ "$win_class" = TTASKM ] || fail "round $i: $win_class is in front after Mivtra's menu, not TTASKM"
    cx=$((target_left + 30 + i * 10)) cy=$((target_top + 60 + i * 4))
    lines=$(wc -l <"$target_log")
    pointer_to "$cx" "$cy"
    xdotool click 3
    menu=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "round $i: the right click at ($cx,$cy) opened no menu"
    win_split "$menu"
    [ "$win_pid" = "$target_pid" ] || fail "round $i: the menu belongs to process $win_pid, not to the test window"
    got=$(tail -n +$((lines + 1)) "$target_log" | tr -d '\r' | paste -sd' ')
    [ "$got" = "0x204 $cx $cy 0x205 $cx $cy" ] || fail "round $i: the test window got [$got] for one right click at ($cx,$cy)"
    [ "$i" = 20 ] && desktop_screenshot "$e2e_out/right-click-menu.png"
    close_menu || fail "round $i: the test window's menu did not close"
done
pass "chords beside the window: menu corner at the pointer (screenshot $e2e_out/chord-left.png); twenty right clicks each reached the test window once at their point and opened its menu; screenshot $e2e_out/right-click-menu.png"

e2e_end
