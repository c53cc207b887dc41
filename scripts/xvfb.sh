# Sourced: start_xvfb [LOG] starts a private Xvfb the size of the Wine desktop, on a display
# that Xvfb picks itself, exports DISPLAY and sets XVFB_PID; stop_xvfb ends it.
start_xvfb() {
    local log=${1:-/dev/null} fdfile
    fdfile=$(mktemp)
    # Its own session: a Ctrl-C in the terminal reaches the scripts, not the display.
    setsid -w Xvfb -displayfd 5 -screen 0 1024x700x24 -nolisten tcp -noreset 5>"$fdfile" >"$log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -s "$fdfile" ]; then
        rm -f "$fdfile"
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    rm -f "$fdfile"
}

stop_xvfb() {
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
