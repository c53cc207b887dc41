#!/usr/bin/env bash
# Starts Mivtra in a Wine desktop with taskbar and tray.
#   scripts/run.sh [--once] [BUILDDIR]          (BUILDDIR defaults to build/win32)
# With an X display ($DISPLAY) the desktop opens there as a window; without one, on an Xvfb
# display of its own, where a screenshot shows what it looks like once the tray icon is up.
# Runs until Mivtra is ended from its menu or until Ctrl-C, which closes Mivtra properly so
# that its settings are saved; --once stops right after the screenshot.
# The prefix (with the registry settings and LAUNCH.INI) is build/run/prefix and is kept
# from one run to the next. When it has no LAUNCH.INI yet, it gets scripts/sample-LAUNCH.INI.
set -euo pipefail

once=
builddir=
for arg in "$@"; do
    case $arg in
        --once) once=1 ;;
        -h | --help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "run.sh: unknown option $arg" >&2; exit 2 ;;
        *) builddir=$arg ;;
    esac
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
builddir=${builddir:-$root/build/win32}
[ -d "$builddir" ] || { echo "run.sh: no build directory $builddir (build first)" >&2; exit 1; }
builddir=$(cd "$builddir" && pwd)
wintool=$builddir/tests/e2e/wintool.exe
[ -f "$wintool" ] || { echo "run.sh: no $wintool (build first)" >&2; exit 1; }

. "$here/desktop.sh"

rundir=$root/build/run
mivtra_pid=

# Ends Mivtra the way a user would, so that it writes its settings, before everything stops.
desktop_before_stop() {
    if [ -n "$mivtra_pid" ] && kill -0 "$mivtra_pid" 2>/dev/null; then
        echo "closing Mivtra (its settings are saved)..."
        desktop_wintool close TTASKM 2>/dev/null || true
        local i
        for i in $(seq 100); do
            kill -0 "$mivtra_pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
}

desktop_init "$rundir" --prefix "$rundir/prefix" --wintool "$wintool"
headless=
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    desktop_start_x
fi
desktop_start
desktop_install_app "$builddir/bin"
# A first menu with something to start: a small sample list when the prefix has none yet
# (Mivtra itself starts with an empty list when the file is missing).
if ! ls "$WINEPREFIX/drive_c/Mivtra" | grep -qix 'launch\.ini'; then
    cp "$here/sample-LAUNCH.INI" "$WINEPREFIX/drive_c/Mivtra/LAUNCH.INI"
    echo "put the sample LAUNCH.INI beside Mivtra.exe (C:\\Mivtra); its first menu lists it"
fi

if desktop_wintool find TTASKM >/dev/null 2>&1; then
    echo "run.sh: Mivtra already runs in $WINEPREFIX" >&2
    exit 1
fi

if [ -n "$headless" ]; then
    desktop_screenshot "$rundir/before.png"
fi
desktop_wine "$desktop_app" &
mivtra_pid=$!
desktop_wintool waitexists TTASKM 20000 >/dev/null ||
    { echo "run.sh: Mivtra did not start (see $rundir/wine.log)" >&2; exit 1; }
echo "Mivtra runs (prefix $WINEPREFIX)"

if [ -n "$headless" ]; then
    shot=$rundir/screenshot.png
    tray=
    for i in $(seq 50); do
        desktop_screenshot "$shot"
        tray=$(desktop_tray_change "$rundir/before.png" "$shot")
        [ -n "$tray" ] && break
        # The tray icon can be turned off; a visible drop window is as good a sign of life.
        desktop_wintool wait TTASKM 0 >/dev/null 2>&1 && [ "$i" -ge 10 ] && break
        sleep 0.2
    done
    rm -f "$rundir/before.png"
    if [ -n "$tray" ]; then
        read -r x y w h <<<"$tray"
        echo "tray icon at ($((x + w / 2)),$((y + h / 2))) on display $DISPLAY"
    else
        echo "no tray icon showed (is \"DispIcon\" off?)"
    fi
    echo "screenshot: $shot"
    [ -n "$once" ] && exit 0
    echo "display $DISPLAY; Ctrl-C ends Mivtra and the desktop"
else
    [ -n "$once" ] && exit 0
    echo "Ctrl-C ends Mivtra and the desktop"
fi

status=0
wait "$mivtra_pid" || status=$?
mivtra_pid=
echo "Mivtra ended (exit code $status)"
