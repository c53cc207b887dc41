# What every end-to-end scenario shares. A scenario script starts with
#   . "$(dirname "${BASH_SOURCE[0]}")/common.sh" "$@"
# and is called as SCENARIO.sh BINDIR WINTOOL.exe OUTDIR: BINDIR holds Mivtra.exe and HOOK.DLL,
# OUTDIR receives the screenshots and logs. The scenario gets a scratch prefix, its own Xvfb
# display and a Wine desktop with taskbar, all gone again when the script ends.
set -euo pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 BINDIR WINTOOL.exe OUTDIR" >&2
    exit 2
fi
e2e_bindir=$1
e2e_wintool=$2
e2e_out=$3

. "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/desktop.sh"

# The registry key of the general settings, as reg.exe takes it.
e2e_key='HKCU\SOFTWARE\Bramwelt\Mivtra'
e2e_general="$e2e_key\\General"

e2e_started=$(date +%s.%N)
mivtra_pid=

step() { printf '\n== %s\n' "$*"; }
pass() { printf '   ok: %s\n' "$*"; }
note() { printf '   %s\n' "$*"; }
fail() {
    printf '   FAIL: %s\n' "$*"
    if [ -n "${desktop_work:-}" ] && [ -n "${DISPLAY:-}" ]; then
        desktop_screenshot "$e2e_out/failure.png" 2>/dev/null &&
            printf '   (screen at failure: %s)\n' "$e2e_out/failure.png"
        printf '   windows at failure:\n'
        desktop_wintool list 2>/dev/null | grep -v -e ' IME ' -e WineDde | sed 's/^/     /' || true
    fi
    exit 1
}

# Seconds since START (a date +%s.%N value), to a tenth.
seconds_since() { awk -v start="$1" -v now="$(date +%s.%N)" 'BEGIN { printf "%.1f", now - start }'; }
e2e_elapsed() { printf '%s s' "$(seconds_since "$e2e_started")"; }

# A fresh prefix and display with the desktop running and the program copied in (options: desktop_init's).
e2e_begin() {
    rm -rf "$e2e_out"
    mkdir -p "$e2e_out"
    desktop_init "$e2e_out" --wintool "$e2e_wintool" "$@"
    desktop_start_x
    desktop_start
    desktop_install_app "$e2e_bindir"
    local acp
    acp=$(desktop_wintool acp | tr -d '\r')
    [ "$acp" = 932 ] || fail "Wine's ANSI code page is $acp, not 932 (is the ja_JP.UTF-8 locale generated?)"
    note "desktop ready on $DISPLAY after $(e2e_elapsed)"
}

e2e_end() {
    printf '\nall checks passed (%s)\n' "$(e2e_elapsed)"
}

# wintool's answer for a window, split: win_hwnd win_visible win_left win_top win_right
# win_bottom win_pid win_class win_title.
win_split() {
    read -r win_hwnd win_visible win_left win_top win_right win_bottom win_pid win_class win_title <<<"$1"
}

# Starts Mivtra in the background and waits until its main window exists. With FOLDER, Mivtra
# starts with that (Unix) folder as its current folder, as a shortcut or a Run key may set it.
mivtra_start() {
    local folder=${1:-}
    if [ -n "$folder" ]; then
        (cd "$folder" && desktop_wine "$desktop_app") &
    else
        desktop_wine "$desktop_app" &
    fi
    mivtra_pid=$!
    local line
    line=$(desktop_wintool waitexists TTASKM 20000 | tr -d '\r') ||
        fail "no TTASKM window within 20 s of starting Mivtra.exe"
    win_split "$line"
    mivtra_winpid=$win_pid
}

# Waits up to SECONDS for the Mivtra process started last to end; sets mivtra_exit.
mivtra_wait_exit() {
    local seconds=$1 i
    for i in $(seq $((seconds * 10))); do
        kill -0 "$mivtra_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$mivtra_pid" 2>/dev/null; then
        return 1
    fi
    mivtra_exit=0
    wait "$mivtra_pid" || mivtra_exit=$?
    mivtra_pid=
    return 0
}

# The values under a key as "NAME TYPE DATA" lines (UTF-8); fails when the key is missing.
reg_values() {
    local out
    out=$(desktop_wine reg query "$1" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r') || return 1
    printf '%s\n' "$out" | sed -n 's/^    \([^ ].*[^ ]\) \{4\}\(REG_[A-Z_]*\) \{4\}\(.*\)$/\1 \2 \3/p;s/^    \([^ ].*[^ ]\) \{4\}\(REG_[A-Z_]*\)$/\1 \2 /p'
}

reg_key_exists() { desktop_wine reg query "$1" >/dev/null 2>&1; }

reg_set() { desktop_wine reg add "$e2e_general" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }

# Checks that the settings under General are exactly the five values, each REG_SZ with the
# given data. Value names are compared without regard to case, as the registry does.
expect_settings() {
    local values
    values=$(reg_values "$e2e_general") || fail "no key $e2e_general after closing"
    note "registry now:"
    printf '%s\n' "$values" | sed 's/^/     /'
    local name expected line type data
    for pair in "$@"; do
        name=${pair%%=*} expected=${pair#*=}
        line=$(printf '%s\n' "$values" | awk -v n="$name" 'tolower($1) == tolower(n)')
        [ -n "$line" ] || fail "value $name missing"
        read -r _ type data <<<"$line"
        [ "$type" = REG_SZ ] || fail "value $name has type $type, not REG_SZ"
        [ "$data" = "$expected" ] || fail "value $name is \"$data\", expected \"$expected\""
    done
    local count
    count=$(printf '%s\n' "$values" | grep -c .)
    [ "$count" = $# ] || fail "$count values under General, expected $#"
    pass "General holds exactly: $*"
}

# How many menu windows are on screen: the menu and its open submenus.
open_menus() { desktop_wintool list | tr -d '\r' | awk '$8 == "#32768" && $2 == 1' | wc -l; }

# Runs COMMAND... every 0.1 s until it succeeds, for at most SECONDS; fails when it never does.
wait_until() {
    local seconds=$1 i
    shift
    for i in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

menus_open() { [ "$(open_menus)" = "$1" ]; }

# Waits up to 3 s until WANT menu windows are open.
wait_menus() { wait_until 3 menus_open "$1"; }

# Moves the pointer to (X, Y) and waits until Wine has it there.
pointer_to() {
    xdotool mousemove "$1" "$2"
    desktop_wintool waitcursor "$1" "$2" 3000 || fail "the pointer did not arrive at ($1,$2)"
}

# Types keys into the open pop-up menu: Escape Return Up Down Left Right, letters, digits.
# Keys sent through X reach only the program whose X window holds the keyboard focus, and a
# program activated by a press on its window takes that focus, even when the menu that opens
# next belongs to another program: the keys then never reach the menu. So they go in with
# SendInput from inside the desktop, which delivers them to the foreground thread as Windows
# does, and only once that thread shows a menu. Fails when none shows within 3 s.
menu_keys() {
    desktop_wintool menukeys 3000 "$@"
}

# Waits up to 10 s for the tray icon: the taskbar strip changes against $e2e_out/before.png,
# taken before Mivtra started. Sets tray_x tray_y tray_w tray_h, and icon_x icon_y (its centre).
wait_tray_icon() {
    local change= i
    for i in $(seq 50); do
        desktop_screenshot "$e2e_out/tray.png"
        change=$(desktop_tray_change "$e2e_out/before.png" "$e2e_out/tray.png")
        [ -n "$change" ] && break
        sleep 0.2
    done
    [ -n "$change" ] || fail "the taskbar strip did not change within 10 s: no tray icon"
    read -r tray_x tray_y tray_w tray_h <<<"$change"
    icon_x=$((tray_x + tray_w / 2))
    icon_y=$((tray_y + tray_h / 2))
}

# Closes the open pop-up menu with one Escape for each of its windows (an Escape closes one
# submenu at a time). Fails when no menu is open, or when it is still open 3 s later.
close_menu() {
    local menus escapes=()
    menus=$(open_menus)
    [ "$menus" -gt 0 ] || {
        note "no pop-up menu is open to close"
        return 1
    }
    while [ ${#escapes[@]} -lt "$menus" ]; do escapes+=(Escape); done
    menu_keys "${escapes[@]}" || return 1
    desktop_wintool waitgone '#32768' 3000
}

# Does the point lie on the rectangle, or within SLACK pixels of it?
point_near_rect() {
    local x=$1 y=$2 left=$3 top=$4 right=$5 bottom=$6 slack=$7
    [ "$x" -ge $((left - slack)) ] && [ "$x" -le $((right + slack)) ] &&
        [ "$y" -ge $((top - slack)) ] && [ "$y" -le $((bottom + slack)) ]
}

# A press on the tray icon (found by wait_tray_icon) opens the menu. Two presses within the
# double-click time would arrive as one double click: the next one waits until that time is over.
last_press=0
tray_menu() {
    local line
    while awk -v s="$(seconds_since "$last_press")" 'BEGIN { exit !(s < 0.6) }'; do sleep 0.1; done
    pointer_to "$icon_x" "$icon_y"
    xdotool click 1
    last_press=$(date +%s.%N)
    line=$(desktop_wintool wait '#32768' 5000 | tr -d '\r') || fail "no pop-up menu within 5 s of the press"
    win_split "$line"
    [ "$win_pid" = "$mivtra_winpid" ] || fail "the menu belongs to process $win_pid, not to Mivtra"
}

keys() { menu_keys "$@" || fail "no menu took the keys $*"; }

# "ランチャの設定(&S)" from the tray menu: waits for the dialog and checks its caption; sets
# the win_ variables to its window.
open_launcher_dialog() {
    local line
    tray_menu
    keys s
    line=$(desktop_wintool wait TCONF 5000 | tr -d '\r') || fail "the launcher settings dialog did not show"
    win_split "$line"
    [ "$win_title" = ランチャ設定 ] || fail "the dialog is captioned \"$win_title\""
}

# The last step of a scenario: Mivtra ends on WM_CLOSE with exit code 0.
expect_normal_end() {
    step "Mivtra ends normally"
    desktop_wintool close TTASKM || fail "could not post WM_CLOSE to TTASKM"
    mivtra_wait_exit 15 || fail "Mivtra still runs 15 s after WM_CLOSE"
    [ "$mivtra_exit" = 0 ] || fail "Mivtra ended with code $mivtra_exit"
    pass "exit code 0"
}

# Waits until a record file of the recording program (tests/win32/record_args.cpp, which writes
# its command line and working directory beside itself) holds its two lines, and prints them in
# UTF-8, CRs removed.
record_complete() { [ "$(tr -cd '\n' <"$1" 2>/dev/null | wc -c)" -ge 2 ]; }
record_of() {
    wait_until 10 record_complete "$1" || return 1
    iconv -f CP932 -t UTF-8 <"$1" | tr -d '\r'
}

# The recording program's file must show that it started with a command line ending in ARGS
# (the options exactly as stored, unquoted) in the directory DIR.
expect_started() {
    local file=$1 args=$2 dir=$3 record line
    record=$(record_of "$file") || fail "the program did not start (no $file)"
    line=$(sed -n 1p <<<"$record")
    note "command line: $line"
    note "directory:    $(sed -n 2p <<<"$record")"
    case $line in
        *"$args") ;;
        *) fail "the program started with \"$line\", not with the options $args as one unquoted text" ;;
    esac
    case $(sed -n 2p <<<"$record") in
        "$dir" | "$dir\\") ;;
        *) fail "the program did not start in $dir" ;;
    esac
}

# The rows of a menu window on a screenshot that show a picture, as "FIRST LAST" lines: rows
# whose image column (left of the text, COLUMN pixels wide: 34 at 96 DPI) differs from the
# row's background at the frame's edge.
picture_rows() {
    local shot=$1 left=$2 top=$3 right=$4 bottom=$5 column=${6:-34}
    convert "$shot" -crop "${column}x$((bottom - top - 6))+$left+$((top + 3))" +repage txt:- |
        awk -F'[ ,:]+' -v column="$column" 'NR > 1 { for (i = 3; i <= NF; i++) if (substr($i, 1, 1) == "#") colour[$2, $1] = $i }
            END {
                run = -1
                for (y = 0; (y, 3) in colour; y++) {
                    n = 0
                    for (x = 4; x < column; x++) n += colour[y, x] != colour[y, 3]
                    if (n >= 4 && run < 0) run = y
                    if (n < 4 && run >= 0) { if (y - run >= 6) print run, y - 1; run = -1 }
                }
                if (run >= 0 && y - run >= 6) print run, y - 1
            }'
}

# A left click (or another button) at the point.
click_at() {
    pointer_to "$1" "$2"
    xdotool click "${3:-1}"
}

# Clicks the middle of the window of a wintool line.
click_window() {
    win_split "$1"
    click_at $(((win_left + win_right) / 2)) $(((win_top + win_bottom) / 2))
}
