# What every X-server test needs, sourced by lib.sh and program_lib.sh after they have set $WORK: the log
# and check helpers, an X server of the test's own, finding a program's window, the exit trap and the verdict.
# The trap kills $PROBE_PID and $GAME_PID when still running, stops the server and removes $WORK.

FAILURES=0
XVFB_PID=""
PROBE_PID=""
GAME_PID=""

log() { echo "[$(date +%T.%N | cut -c1-12)] $*"; }
fail() {
    log "FAIL: $*"
    FAILURES=$((FAILURES + 1))
}
check() {  # check <description> <command...>: logs the outcome; the command's success is the status
    local what="$1"
    shift
    if "$@"; then
        log "ok: $what"
        return 0
    fi
    fail "$what"
    return 1
}

xvfb_cleanup() {
    local pid
    for pid in "$PROBE_PID" "$GAME_PID"; do
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null; fi
    done
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
    rm -rf "$WORK"
}
trap xvfb_cleanup EXIT

# Starts Xvfb on the first free display number and exports DISPLAY; its screen is $XVFB_SCREEN (1024x768x24
# unless set).
xvfb_start() {
    local fdfile="$WORK/display"
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$fdfile" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || { echo "Xvfb did not start"; cat "$WORK/xvfb.log"; exit 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
    log "X server on $DISPLAY"
}

# window_of <name> <pid>: the id of the window with exactly that name that process <pid> made, waiting up
# to 10 s or until the process ends. By process, because a window of a program that just ended can outlive
# it for a moment.
window_of() {
    local i id
    for i in $(seq 200); do
        id="$(xdotool search --all --pid "$2" --name "^$1\$" 2>/dev/null | head -n1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

finish() {
    if [ "$FAILURES" -eq 0 ]; then
        log "all checks passed"
        exit 0
    fi
    log "$FAILURES check(s) failed"
    exit 1
}
