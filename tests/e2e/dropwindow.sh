#!/usr/bin/env bash
# The drop window: with DragDrop on, the main window stands at the stored position, 200 x 73,
# showing its two Japanese labels, and the position is written back at close.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_begin

step "start with DragDrop=\"1\", Left=\"300\", Top=\"200\""
reg_set DragDrop 1
reg_set Left 300
reg_set Top 200
mivtra_start
line=$(desktop_wintool wait TTASKM 10000 | tr -d '\r') || fail "the TTASKM window did not become visible"
win_split "$line"
note "TTASKM: visible=$win_visible rect ($win_left,$win_top)-($win_right,$win_bottom) \"$win_title\""
[ "$win_title" = Mivtra ] || fail "TTASKM is captioned \"$win_title\", not \"Mivtra\""
[ "$win_left,$win_top,$win_right,$win_bottom" = 300,200,500,273 ] ||
    fail "the drop window is at ($win_left,$win_top)-($win_right,$win_bottom), expected (300,200)-(500,273)"
pass "the drop window is visible at (300,200), outer size 200x73"

step "the drop window shows its labels"
desktop_screenshot "$e2e_out/dropwindow.png"
convert "$e2e_out/dropwindow.png" -crop 200x73+300+200 +repage "$e2e_out/dropwindow-crop.png"
convert "$e2e_out/dropwindow-crop.png" -scale 300% "$e2e_out/dropwindow-zoom.png"
# The client area below the caption: text is the dark pixels on the button face.
dark=$(convert "$e2e_out/dropwindow.png" -crop 190x44+305+223 +repage -colorspace gray \
    -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:)
note "dark (text) pixels in the client area: $dark"
[ "$dark" -ge 150 ] || fail "hardly any text drawn in the drop window ($dark dark pixels); see $e2e_out/dropwindow.png"
pass "text is drawn; screenshot $e2e_out/dropwindow.png (crop: dropwindow-zoom.png)"

step "dragged by its caption to (350,260), the drop window is saved there"
pointer_to 400 211
xdotool mousedown 1
for offset in 10 20 30 40 50; do
    pointer_to $((400 + offset)) $((211 + offset * 6 / 5))
done
xdotool mouseup 1
moved() {
    line=$(desktop_wintool find TTASKM | tr -d '\r')
    win_split "$line"
    [ "$win_left,$win_top,$win_right,$win_bottom" = 350,260,550,333 ]
}
wait_until 3 moved ||
    fail "after the drag the drop window is at ($win_left,$win_top)-($win_right,$win_bottom), expected (350,260)-(550,333)"
pass "moved to (350,260)"
desktop_wintool close TTASKM || fail "could not post WM_CLOSE to TTASKM"
mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE"
[ "$mivtra_exit" = 0 ] || fail "Mivtra ended with exit code $mivtra_exit"
expect_settings HOOK=1 DragDrop=1 DispIcon=1 TOP=260 LEFT=350 HotKey=0

step "the next start shows the drop window where it was left"
mivtra_start
line=$(desktop_wintool wait TTASKM 10000 | tr -d '\r') || fail "the TTASKM window did not become visible"
win_split "$line"
[ "$win_left,$win_top,$win_right,$win_bottom" = 350,260,550,333 ] ||
    fail "the drop window is at ($win_left,$win_top)-($win_right,$win_bottom), expected (350,260)-(550,333)"
pass "visible at (350,260), 200x73"
desktop_wintool close TApplication || fail "could not post WM_CLOSE to TApplication"
mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE to TApplication"
expect_settings HOOK=1 DragDrop=1 DispIcon=1 TOP=260 LEFT=350 HotKey=0

e2e_end
