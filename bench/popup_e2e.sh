#!/usr/bin/env bash
# The real Mivtra.exe in a Wine desktop: how long from a press on the tray icon until its
# menu is on screen, for an empty launcher list, 200 files of their own and 10,000 files that
# do not exist. Cold is the first press right after the tray icon shows (the pictures still
# being looked up); first is the first press after a start whose look-up has ended; later is
# the median of five presses after it. Prints figures; fails nothing.
#
#   bench/popup_e2e.sh BINDIR WINTOOL.exe OUTDIR
#   e.g. bench/popup_e2e.sh build/win32/bin build/win32/tests/e2e/wintool.exe build/popup_e2e
. "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/common.sh" "$@"

e2e_begin
launch_ini=$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI
documents=$WINEPREFIX/drive_c/popup_e2e

# A list of COUNT top-level items; KIND "own" names a document of its own for each, "missing"
# a path that does not exist.
write_list() {
    local count=$1 kind=$2
    mkdir -p "$documents"
    {
        printf '[FOLDER]\r\n'
        for ((i = 0; i < count; i++)); do printf 'ITEM%d=0\r\n' $i; done
        printf '[PARENT]\r\n'
        for ((i = 0; i < count; i++)); do printf 'NODE%d=-2\r\n' $i; done
        for ((i = 0; i < count; i++)); do
            if [ "$kind" = own ]; then
                : >"$documents/doc$i.txt"
                printf '[ExecInfo%d]\r\nNAME=item %d\r\nFILE=C:\\popup_e2e\\doc%d.txt\r\nOPTION=\r\nDIR=\r\n' $i $i $i
            else
                printf '[ExecInfo%d]\r\nNAME=item %d\r\nFILE=C:\\nowhere\\item%d.txt\r\nOPTION=\r\nDIR=\r\n' $i $i $i
            fi
        done
    } >"$launch_ini"
}

# Milliseconds from a press on the tray icon until the menu shows; the menu is closed again.
press_ms() {
    local start out waiter
    while awk -v s="$(seconds_since "$last_press")" 'BEGIN { exit !(s < 0.6) }'; do sleep 0.1; done
    pointer_to "$icon_x" "$icon_y"
    # The waiting tool runs before the press, so that its own start is not counted.
    desktop_wintool waitgone '#32768' 3000 >/dev/null
    out=$e2e_out/wait.$RANDOM
    (desktop_wintool wait '#32768' 60000 >/dev/null; date +%s.%N >"$out") &
    waiter=$!
    sleep 1
    start=$(date +%s.%N)
    xdotool click 1
    last_press=$start
    wait "$waiter"
    awk -v a="$start" -v b="$(cat "$out")" 'BEGIN { printf "%.0f", (b - a) * 1000 }'
    rm -f "$out"
    close_menu >/dev/null || fail "the menu did not close"
}

start_and_wait_icon() {
    mivtra_start
    wait_tray_icon
}

stop_mivtra() {
    desktop_wintool close TTASKM >/dev/null || true
    mivtra_wait_exit 30 || fail "Mivtra did not end"
}

# The look-up has ended once Mivtra runs its main thread, the hook's and the folder watch's alone.
rest() { desktop_wintool waitthreads "$mivtra_winpid" 3 600000 >/dev/null || fail "the look-up did not end"; }

reg_set DispIcon 1
desktop_screenshot "$e2e_out/before.png"
printf '\n%-34s %8s %8s %8s\n' "launcher list" "cold" "first" "later"
for list in "0 missing empty" "200 own 200-own-files" "10000 missing 10000-missing-files"; do
    read -r count kind name <<<"$list"
    write_list "$count" "$kind"
    start_and_wait_icon
    cold=$(press_ms)
    rest
    stop_mivtra
    start_and_wait_icon
    rest
    first=$(press_ms)
    later=$(for i in 1 2 3 4 5; do press_ms; echo; done | sort -n | sed -n 3p)
    stop_mivtra
    printf '%-34s %6s ms %6s ms %6s ms\n' "$name" "$cold" "$first" "$later"
done
e2e_end
