#!/usr/bin/env bash
# Files and a folder dropped on the drop window from another process become items at the end
# of the launcher list: LAUNCH.INI holds them at once, the drop window says so in red, and the
# last of them starts from the end of the launcher submenu.
#
# Wine's drag and drop delivers nothing to a window that only accepts files (it has no OLE drop
# target), so a real drag cannot reach the drop window here: droptool hooks Mivtra's thread
# with drop_hook.dll, which builds the drop inside Mivtra's process and posts WM_DROPFILES,
# as the shell of Windows does for such a window.
. "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"

droptool=$(dirname "$e2e_wintool")/droptool.exe
[ -f "$droptool" ] || fail "no droptool.exe beside wintool.exe (build first)"

e2e_begin

drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/Drop" "$drive_c/Tools/Bin"
: >"$drive_c/Drop/メモ.txt"
: >"$drive_c/Drop/リンク.lnk"
cp "$e2e_bindir/record_args.exe" "$drive_c/Drop/rec.exe"
launch_ini=$drive_c/Mivtra/LAUNCH.INI
# Written as the save writes, so that the file after the drop is known byte for byte.
list_before=(
    '[PARENT]' 'NODE0=-2' 'NODE1=-1' 'NODE2=-2'
    '[FOLDER]' 'ITEM0=1' 'ITEM1=0' 'ITEM2=0'
    '[ExecInfo0]' 'NAME=ツール'
    '[ExecInfo1]' 'NAME=メモ帳' 'FILE=C:\windows\notepad.exe' 'OPTION=' 'DIR='
    '[ExecInfo2]' 'NAME=電卓' 'FILE=C:\windows\system32\calc.exe' 'OPTION=' 'DIR='
)
printf '%s\r\n' "${list_before[@]}" | iconv -f UTF-8 -t CP932 >"$launch_ini"

step "Mivtra starts with the drop window on"
reg_set HOOK 0
reg_set DragDrop 1
reg_set Left 300
reg_set Top 200
desktop_screenshot "$e2e_out/before.png"
mivtra_start
line=$(desktop_wintool wait TTASKM 10000 | tr -d '\r') || fail "the drop window did not show"
win_split "$line"
drop_left=$win_left drop_top=$win_top
labels=$(desktop_wintool children TTASKM | tr -d '\r' | awk '$8 == "Static"')
note "labels: $(printf '%s\n' "$labels" | awk '{print $3-'"$drop_left"'","$4-'"$drop_top"'" \""$9"\""}' | paste -sd ' ')"
grep -q ' Mivtraに登録するファイルを$' <<<"$labels" || fail "Label1 is missing"
grep -q ' ここへドロップしてください。$' <<<"$labels" || fail "Label2 is missing"
[ "$(printf '%s\n' "$labels" | wc -l)" = 3 ] || fail "the drop window has not three labels"
wait_tray_icon
pass "drop window at ($drop_left,$drop_top) with its three labels"

step "four paths dropped from another process"
out=$(desktop_wine "$droptool" TTASKM 40 20 'C:\Drop\メモ.txt' 'C:\tools\bin' 'C:\Drop\リンク.lnk' 'C:\Drop\rec.exe' |
    tr -d '\r') || fail "droptool failed: $out"
note "$out"
list_after=(
    '[PARENT]' 'NODE0=-2' 'NODE1=-1' 'NODE2=-2' 'NODE3=-2' 'NODE4=-2' 'NODE5=-2' 'NODE6=-2'
    '[FOLDER]' 'ITEM0=1' 'ITEM1=0' 'ITEM2=0' 'ITEM3=0' 'ITEM4=0' 'ITEM5=0' 'ITEM6=0'
    '[ExecInfo0]' 'NAME=ツール'
    '[ExecInfo1]' 'NAME=メモ帳' 'FILE=C:\windows\notepad.exe' 'OPTION=' 'DIR='
    '[ExecInfo2]' 'NAME=電卓' 'FILE=C:\windows\system32\calc.exe' 'OPTION=' 'DIR='
    '[ExecInfo3]' 'NAME=メモ.txt' 'FILE=C:\Drop\メモ.txt' 'OPTION=' 'DIR=C:\Drop\'
    '[ExecInfo4]' 'NAME=Bin' 'FILE=C:\tools\bin' 'OPTION=' 'DIR=C:\tools\'
    '[ExecInfo5]' 'NAME=リンク.lnk' 'FILE=C:\Drop\リンク.lnk' 'OPTION=' 'DIR=C:\Drop\'
    '[ExecInfo6]' 'NAME=rec.exe' 'FILE=C:\Drop\rec.exe' 'OPTION=' 'DIR=C:\Drop\'
)
printf '%s\r\n' "${list_after[@]}" | iconv -f UTF-8 -t CP932 >"$e2e_out/expected.ini"
for i in $(seq 50); do
    cmp -s "$e2e_out/expected.ini" "$launch_ini" && break
    sleep 0.1
done
cmp -s "$e2e_out/expected.ini" "$launch_ini" ||
    fail "LAUNCH.INI after the drop differs from $e2e_out/expected.ini: $(diff <(iconv -f CP932 -t UTF-8 "$launch_ini") <(iconv -f CP932 -t UTF-8 "$e2e_out/expected.ini") | head -5)"
pass "LAUNCH.INI holds the four at the end of the top level, the folder as Bin in C:\\tools\\"

step "the drop window says so in red"
win_split "$(desktop_wintool children TTASKM | tr -d '\r' | awk '$8 == "Static" && $4 - '"$drop_top"' > 40')"
message=$win_title
[ "$message" = "rec.exeを登録しました" ] || fail "Label3 reads \"$message\""
desktop_screenshot "$e2e_out/dropped.png"
convert "$e2e_out/dropped.png" -crop 200x73+"$drop_left"+"$drop_top" +repage -scale 300% "$e2e_out/dropped-zoom.png"
red=$(convert "$e2e_out/dropped.png" -crop 200x73+"$drop_left"+"$drop_top" +repage \
    -fuzz 25% -fill black +opaque red -fill white -opaque red -format '%[fx:round(mean*w*h)]' info:)
note "red pixels in the drop window: $red"
[ "$red" -ge 40 ] || fail "hardly any red text in the drop window ($red pixels); see $e2e_out/dropped.png"
pass "Label3 reads \"$message\" in red; screenshot $e2e_out/dropped-zoom.png"

step "a path that Shift-JIS cannot spell and that has no short path is left out, and said so"
out=$(desktop_wine "$droptool" TTASKM 40 20 'C:\Drop\없음.txt' | tr -d '\r') || fail "droptool failed: $out"
for i in $(seq 50); do
    win_split "$(desktop_wintool children TTASKM | tr -d '\r' | awk '$8 == "Static" && $4 - '"$drop_top"' > 40')"
    [ "$win_title" = 登録できない文字を含む名前です ] && break
    sleep 0.1
done
[ "$win_title" = 登録できない文字を含む名前です ] || fail "Label3 reads \"$win_title\""
cmp -s "$e2e_out/expected.ini" "$launch_ini" || fail "LAUNCH.INI changed"
desktop_screenshot "$e2e_out/unregistrable.png"
convert "$e2e_out/unregistrable.png" -crop 200x73+"$drop_left"+"$drop_top" +repage -scale 300% \
    "$e2e_out/unregistrable-zoom.png"
pass "Label3 reads \"$win_title\"; LAUNCH.INI unchanged; screenshot $e2e_out/unregistrable-zoom.png"

step "the last dropped file starts from the end of the launcher submenu"
tray_menu
keys Down Right
wait_menus 2 || fail "the launcher submenu did not open ($(open_menus) menu windows)"
desktop_screenshot "$e2e_out/submenu.png"
# Up from the first item wraps round to the last one.
keys Up Return
desktop_wintool waitgone '#32768' 3000 || fail "the menu stayed open after choosing the item"
record=$(record_of "$drive_c/Drop/rec.txt") || fail "the dropped program did not start"
note "started: $(sed -n 1p <<<"$record")"
case $(sed -n 2p <<<"$record") in
    'C:\Drop' | 'C:\Drop\') ;;
    *) fail "it started in $(sed -n 2p <<<"$record"), not in C:\\Drop" ;;
esac
pass "C:\\Drop\\rec.exe started in C:\\Drop; screenshot $e2e_out/submenu.png"

expect_normal_end

e2e_end
