#!/usr/bin/env bash
# The about box from the pop-up menu: the pointer over the home page address turns it red and
# shows the hand; a press on the address, "webを開く" and "メール送信" start the programs
# the prefix associates with the links' schemes (copies of the recording program here);
# "閉じる(&C)" closes the box and Mivtra goes on.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# The addresses as the program has them.
contact() { sed -n "s/^inline constexpr char $1\[\] = \"\(.*\)\";$/\1/p" "$e2e_root/resources/contact.h"; }
home_page=$(contact kAuthorHomePage)
mail_link=$(contact kAuthorMailLink)
[ -n "$home_page" ] && [ -n "$mail_link" ] || fail "no addresses in resources/contact.h"

e2e_begin

step "the prefix opens https: and mailto: links with recording programs"
tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools"
cp "$e2e_bindir/record_args.exe" "$tools/web.exe"
cp "$e2e_bindir/record_args.exe" "$tools/mail.exe"
desktop_wine reg add 'HKCR\https\shell\open\command' /ve /d '"C:\Tools\web.exe" "%1"' /f >/dev/null 2>&1 ||
    fail "could not register the https handler"
desktop_wine reg add 'HKCR\mailto\shell\open\command' /ve /d '"C:\Tools\mail.exe" "%1"' /f >/dev/null 2>&1 ||
    fail "could not register the mailto handler"
pass "C:\\Tools\\web.exe for https:, C:\\Tools\\mail.exe for mailto:"

# The recording program must have been started with the link as its argument.
expect_opened() {
    local record=$1 link=$2 what=$3 line
    line=$(record_of "$record" | sed -n 1p) || fail "$what started nothing (no $record)"
    note "command line: $line"
    case $line in
        *"$link"*) ;;
        *) fail "$what started the handler without $link" ;;
    esac
    rm -f "$record"
}

# Centre of the about box's child whose text is exactly TEXT; sets cx cy and the win_ fields.
child_centre() {
    local line
    line=$(desktop_wintool children TAboutBox | tr -d '\r' | awk -v t="$1" '{ s = $0; for (i = 0; i < 8; i++) sub(/^[^ ]+ /, "", s) } s == t' |
        head -1)
    [ -n "$line" ] || fail "the about box has no control \"$1\""
    win_split "$line"
    cx=$(((win_left + win_right) / 2)) cy=$(((win_top + win_bottom) / 2))
}

# Red pixels within the window rectangle of the last child_centre.
red_pixels() {
    desktop_screenshot "$e2e_out/shot.png"
    convert "$e2e_out/shot.png" -crop $((win_right - win_left))x$((win_bottom - win_top))+$win_left+$win_top +repage \
        -fuzz 25% -fill black +opaque red -fill white -opaque red -format '%[fx:round(mean*w*h)]' info:
}

step "the about box opens from the menu"
reg_set HOOK 0
desktop_screenshot "$e2e_out/before.png"
mivtra_start
wait_tray_icon
tray_menu
keys a
line=$(desktop_wintool wait TAboutBox 5000 | tr -d '\r') || fail "the about box did not show"
win_split "$line"
[ "$win_title" = "Mivtra について" ] || fail "the about box is captioned \"$win_title\""
box_left=$win_left box_top=$win_top box_width=$((win_right - win_left)) box_height=$((win_bottom - win_top))
desktop_screenshot "$e2e_out/about.png"
convert "$e2e_out/about.png" -crop ${box_width}x${box_height}+$box_left+$box_top +repage -scale 200% \
    "$e2e_out/about-zoom.png"
pass "shown at ($box_left,$box_top); screenshot $e2e_out/about-zoom.png"

step "the pointer over the home page address turns it red and shows the hand"
python3 "$e2e_root/tests/e2e/xcursor.py" "$e2e_root/resources/art/handpoint.cur" >"$e2e_out/hand.txt"
child_centre "$home_page"
address_x=$cx address_y=$cy
before=$(red_pixels)
[ "$before" -lt 10 ] || fail "the address is red before the pointer came ($before red pixels)"
xdotool mousemove $address_x $address_y
for i in $(seq 30); do
    red=$(red_pixels)
    [ "$red" -ge 40 ] && break
    sleep 0.1
done
[ "$red" -ge 40 ] || fail "the address did not turn red under the pointer ($red red pixels); see $e2e_out/shot.png"
convert "$e2e_out/shot.png" -crop ${box_width}x${box_height}+$box_left+$box_top +repage -scale 200% \
    "$e2e_out/hover-zoom.png"
for i in $(seq 20); do
    python3 "$e2e_root/tests/e2e/xcursor.py" >"$e2e_out/pointer.txt"
    cmp -s "$e2e_out/hand.txt" "$e2e_out/pointer.txt" && break
    sleep 0.1
done
cmp -s "$e2e_out/hand.txt" "$e2e_out/pointer.txt" ||
    fail "the pointer over the address is not the hand: $(head -1 "$e2e_out/pointer.txt"), see $e2e_out/pointer.txt"
pass "$red red pixels; the pointer is the HANDPOINT cursor (hot spot $(head -1 "$e2e_out/hand.txt" | cut -d' ' -f3-)); screenshot $e2e_out/hover-zoom.png"

step "on to the plain label beside it: the address is plain again, and the pointer no hand"
child_centre "webpage :"
xdotool mousemove $cx $cy
child_centre "$home_page"
# The address going back to its colour shows that the move has arrived; only then does the
# pointer's shape say anything.
for i in $(seq 30); do
    red=$(red_pixels)
    [ "$red" -lt 10 ] && break
    sleep 0.1
done
[ "$red" -lt 10 ] || fail "the address stayed red after the pointer left it ($red red pixels)"
for i in $(seq 20); do
    python3 "$e2e_root/tests/e2e/xcursor.py" >"$e2e_out/pointer.txt"
    cmp -s "$e2e_out/hand.txt" "$e2e_out/pointer.txt" || break
    sleep 0.1
done
cmp -s "$e2e_out/hand.txt" "$e2e_out/pointer.txt" && fail "the hand shows over a plain label"
pass "plain address, pointer $(head -1 "$e2e_out/pointer.txt")"

step "a press on the address opens it with the https: handler"
xdotool mousemove $address_x $address_y click 1
expect_opened "$tools/web.txt" "$home_page" "the press on the address"
pass "C:\\Tools\\web.exe received $home_page"

step "\"webを開く\" opens the home page, \"メール送信\" the mail link"
child_centre "webを開く"
xdotool mousemove $cx $cy click 1
expect_opened "$tools/web.txt" "$home_page" "\"webを開く\""
child_centre "メール送信"
xdotool mousemove $cx $cy click 1
expect_opened "$tools/mail.txt" "$mail_link" "\"メール送信\""
pass "C:\\Tools\\web.exe received $home_page, C:\\Tools\\mail.exe $mail_link"

step "\"閉じる(&C)\" closes the box; Mivtra goes on and ends normally"
child_centre "閉じる(&C)"
xdotool mousemove $cx $cy click 1
desktop_wintool waitgone TAboutBox 3000 || fail "the about box stayed open"
desktop_wintool find '#32770' >/dev/null && fail "a message box came up"
desktop_wintool close TTASKM || fail "could not post WM_CLOSE to TTASKM"
mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE"
[ "$mivtra_exit" = 0 ] || fail "Mivtra ended with code $mivtra_exit"
pass "closed; exit code 0"

e2e_end
