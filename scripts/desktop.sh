# A Wine desktop for running Mivtra by hand and in the end-to-end tests. Source it from bash:
#
#   . scripts/desktop.sh
#   desktop_init WORKDIR [--prefix PREFIX] [--wintool WINTOOL.exe] [--dpi DPI]
#   desktop_start_x              # an Xvfb display of our own (skip to use $DISPLAY)
#   desktop_start                # explorer's desktop with taskbar and tray, and a keeper process
#   desktop_install_app BINDIR   # copies Mivtra.exe and HOOK.DLL (and the help) into the prefix
#   desktop_wine PROGRAM ARGS    # runs a program in the prefix (foreground; add & yourself)
#   desktop_wintool ARGS         # runs the window helper
#   desktop_screenshot FILE      # a settled PNG of the whole screen
#   desktop_stop                 # also runs on exit: ends every process, removes scratch files
#   desktop_tray_change A B      # where the tray changed between two screenshots
#
# Without --prefix, WORKDIR/prefix is a scratch copy of the template prefix build/wine/template
# (made by scripts/wine-prefix when missing), removed again by desktop_stop (set DESKTOP_KEEP=1
# to keep it). With --prefix, that prefix is copied from the template once and kept. With
# --dpi (96 when not given), the template is build/wine/template-dpiDPI, whose system DPI that
# is (144: Windows' display scaling of 150 %).
# Everything else the desktop writes (logs, the display number) is in WORKDIR.

desktop_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
desktop_root=$(dirname "$desktop_scripts")

# The size of both the X screen and the Wine desktop, so that their coordinates agree.
desktop_width=1024
desktop_height=700

desktop_work=
desktop_scratch=
desktop_xvfb_pid=
desktop_explorer_pid=
desktop_keeper_pid=
desktop_wintool=
desktop_app=

desktop_log() { printf '[desktop] %s\n' "$*" >&2; }
desktop_die() { printf '[desktop] ERROR: %s\n' "$*" >&2; exit 1; }

desktop_env() {
    WINEDEBUG=${DESKTOP_WINEDEBUG:--all}
    . "$desktop_scripts/wine-env.sh"
}

desktop_init() {
    local work=$1 prefix= dpi=96
    shift
    while [ $# -gt 0 ]; do
        case $1 in
            --prefix) prefix=$2; shift 2 ;;
            --wintool) desktop_wintool=$2; shift 2 ;;
            --dpi) dpi=$2; shift 2 ;;
            *) desktop_die "desktop_init: unknown option $1" ;;
        esac
    done
    mkdir -p "$work"
    desktop_work=$(cd "$work" && pwd)
    desktop_env
    trap desktop_stop EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    : >"$desktop_work/wine.log"
    # Copying the template takes a second or two; making a prefix from nothing takes 10-20.
    # The template is made once and never run in, so every copy starts from the same state
    # (the prefix of the Win32 tests is live and collects whatever they leave behind).
    local template=${MIVTRA_TEMPLATE_PREFIX:-$desktop_root/build/wine/template}
    [ "$dpi" = 96 ] || template=$template-dpi$dpi
    if [ -n "$prefix" ]; then
        if [ ! -f "$prefix/.mivtra-prefix-3" ]; then
            "$desktop_scripts/wine-prefix" "$template" "$dpi"
            rm -rf "$prefix"
            mkdir -p "$(dirname "$prefix")"
            cp -a --reflink=auto "$template" "$prefix"
        fi
        WINEPREFIX=$(cd "$prefix" && pwd)
    else
        "$desktop_scripts/wine-prefix" "$template" "$dpi"
        desktop_scratch=$desktop_work/prefix
        rm -rf "$desktop_scratch"
        cp -a --reflink=auto "$template" "$desktop_scratch"
        WINEPREFIX=$desktop_scratch
    fi
    export WINEPREFIX
    desktop_join_shell_desktop
}

# Every process of the prefix joins the desktop "shell" (the one with taskbar and tray)
# instead of making its own. Written into user.reg while no wineserver holds the prefix.
desktop_join_shell_desktop() {
    local reg=$WINEPREFIX/user.reg
    if grep -q '^\[Software\\\\Wine\\\\Explorer\]' "$reg" &&
        grep -A3 '^\[Software\\\\Wine\\\\Explorer\]' "$reg" | grep -q '^"Desktop"="shell"'; then
        return
    fi
    wineserver -w 2>/dev/null || true
    printf '\n[Software\\\\Wine\\\\Explorer] %s\n"Desktop"="shell"\n' "$(date +%s)" >>"$reg"
}

desktop_start_x() {
    . "$desktop_scripts/xvfb.sh"
    start_xvfb "$desktop_work/xvfb.log" || desktop_die "Xvfb did not start: $(cat "$desktop_work/xvfb.log")"
    desktop_xvfb_pid=$XVFB_PID
    desktop_log "Xvfb on display $DISPLAY"
}

# Runs a Windows program in the prefix; its output goes to the caller, Wine's noise to the log.
# Everything runs in a session of its own (setsid): a Ctrl-C in the terminal then reaches only
# the script, which can still close the program properly instead of losing it to the signal.
desktop_wine() {
    setsid -w wine "$@" 2>>"$desktop_work/wine.log"
}

desktop_wintool() {
    [ -n "$desktop_wintool" ] || desktop_die "desktop_init was not given --wintool"
    setsid -w wine "$desktop_wintool" "$@" 2>>"$desktop_work/wine.log"
}

desktop_start() {
    [ -n "${DISPLAY:-}" ] || desktop_die "no X display: call desktop_start_x first"
    # Explorer's desktop must come first: a process that touched the desktop before it would
    # make one without taskbar and tray.
    setsid -w wine explorer "/desktop=shell,${desktop_width}x${desktop_height}" \
        >>"$desktop_work/wine.log" 2>&1 &
    desktop_explorer_pid=$!
    local i
    for i in $(seq 300); do
        xdotool search --name 'Wine desktop' >/dev/null 2>&1 && break
        kill -0 "$desktop_explorer_pid" 2>/dev/null || desktop_die "the Wine desktop ended at once (see $desktop_work/wine.log)"
        sleep 0.1
    done
    xdotool search --name 'Wine desktop' >/dev/null 2>&1 || desktop_die "no Wine desktop window after 30 s"
    if [ -n "$desktop_wintool" ]; then
        local taskbar taskbar_top
        taskbar=$(desktop_wintool wait Shell_TrayWnd 20000) || desktop_die "the desktop has no taskbar"
        read -r _ _ _ taskbar_top _ <<<"$taskbar"
        desktop_taskbar_height=$((desktop_height - taskbar_top))
        # The desktop closes about a second after its last client: the keeper stays while
        # the programs under test come and go.
        desktop_wintool keeper >/dev/null &
        desktop_keeper_pid=$!
        desktop_wintool waitexists WintoolKeeper 10000 >/dev/null || desktop_die "the keeper did not start"
    fi
    desktop_log "Wine desktop up (prefix $WINEPREFIX)"
}

# Copies the program into C:\Mivtra of the prefix, so that its LAUNCH.INI lives there too,
# with the help files that the build made.
desktop_install_app() {
    local bindir=$1 dir=$WINEPREFIX/drive_c/Mivtra help
    [ -f "$bindir/Mivtra.exe" ] || desktop_die "no Mivtra.exe in $bindir (build it first)"
    [ -f "$bindir/HOOK.DLL" ] || desktop_die "no HOOK.DLL in $bindir (build it first)"
    mkdir -p "$dir"
    cp "$bindir/Mivtra.exe" "$bindir/HOOK.DLL" "$dir/"
    for help in Mivtra.hlp Mivtra.cnt Mivtra.html; do
        if [ -f "$bindir/$help" ]; then
            cp "$bindir/$help" "$dir/"
        fi
    done
    desktop_app=$dir/Mivtra.exe
}

# A screenshot of the root window, taken until two in a row are equal so that nothing is
# caught half drawn.
desktop_screenshot() {
    local file=$1 tries
    local a=$desktop_work/shot-a.png b=$desktop_work/shot-b.png
    import -silent -window root -depth 8 "png:$a"
    for tries in $(seq 20); do
        sleep 0.1
        import -silent -window root -depth 8 "png:$b"
        if [ "$(compare -metric AE "$a" "$b" null: 2>&1)" = 0 ]; then
            mv "$b" "$file"
            rm -f "$a"
            return 0
        fi
        mv "$b" "$a"
    done
    mv "$a" "$file"
    desktop_log "screen still changing; kept the last screenshot in $file"
}

# The taskbar strip along the bottom of the screen, the part of a screenshot that the tray is
# in; desktop_start measures it.
desktop_taskbar_height=20

# Prints the box "X Y W H" of what changed in the right half of the taskbar strip between two
# screenshots (the tray grows to the left from the bottom-right corner); prints nothing when
# nothing changed there.
desktop_tray_change() {
    local before=$1 after=$2
    local top=$((desktop_height - desktop_taskbar_height)) left=$((desktop_width / 2))
    local crop=$((desktop_width - left))x${desktop_taskbar_height}+${left}+${top}
    local box
    box=$(convert \( "$before" -crop "$crop" +repage \) \( "$after" -crop "$crop" +repage \) \
        -compose difference -composite -colorspace gray -threshold 0 -format '%@' info: 2>/dev/null)
    # An unchanged strip trims to nothing, which ImageMagick reports as a 0x0 box.
    case $box in '' | 0x0*) return 0 ;; esac
    local w=${box%%x*} rest=${box#*x}
    local h=${rest%%+*} rest2=${rest#*+}
    local x=${rest2%%+*} y=${rest2#*+}
    echo "$((x + left)) $((y + top)) $w $h"
}

# A script may define desktop_before_stop to end its programs gently first (wineserver -k
# kills them without their shutdown code).
desktop_stop() {
    set +e
    trap - EXIT
    if declare -F desktop_before_stop >/dev/null && [ -n "${DISPLAY:-}" ]; then
        desktop_before_stop
    fi
    if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX:-}" ]; then
        wineserver -k 2>/dev/null
        wineserver -w 2>/dev/null
    fi
    local pid
    for pid in $desktop_keeper_pid $desktop_explorer_pid; do
        wait "$pid" 2>/dev/null
    done
    if [ -n "$desktop_xvfb_pid" ]; then
        kill "$desktop_xvfb_pid" 2>/dev/null
        wait "$desktop_xvfb_pid" 2>/dev/null
        desktop_xvfb_pid=
    fi
    if [ -n "$desktop_scratch" ] && [ -z "${DESKTOP_KEEP:-}" ]; then
        rm -rf "$desktop_scratch"
    fi
    desktop_scratch=
}
