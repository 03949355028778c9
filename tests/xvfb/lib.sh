# Helpers for the window-layer tests under an X server of their own: start and stop Xvfb, wait for a
# program's log lines, read pixels of a screenshot. Every helper that waits has a limit.
#
# Source it, then call xvfb_start; the EXIT trap stops the server and removes $WORK.

WORK="$(mktemp -d /tmp/kwibbel-window-XXXXXX)"
FAILURES=0
XVFB_PID=""
PROBE_PID=""

log() { echo "[$(date +%T.%N | cut -c1-12)] $*"; }
fail() {
    log "FAIL: $*"
    FAILURES=$((FAILURES + 1))
}
check() {  # check <description> <command...>
    local what="$1"
    shift
    if "$@"; then log "ok: $what"; else fail "$what"; fi
}

xvfb_cleanup() {
    if [ -n "$PROBE_PID" ] && kill -0 "$PROBE_PID" 2>/dev/null; then kill -9 "$PROBE_PID" 2>/dev/null; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
    rm -rf "$WORK"
}
trap xvfb_cleanup EXIT

# Starts Xvfb on the first free display number and exports DISPLAY.
xvfb_start() {
    local fdfile="$WORK/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>"$WORK/xvfb.log" &
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

# wait_line <seconds> <file> <exact line>: TRUE once the file holds the line.
wait_line() {
    local end=$((SECONDS + $1))
    while [ $SECONDS -le "$end" ]; do
        grep -qxF "$3" "$2" 2>/dev/null && return 0
        sleep 0.05
    done
    return 1
}

# wait_count <seconds> <file> <exact line> <n>: TRUE once the line occurs at least n times.
wait_count() {
    local end=$((SECONDS + $1))
    while [ $SECONDS -le "$end" ]; do
        [ "$(grep -cxF "$3" "$2" 2>/dev/null)" -ge "$4" ] && return 0
        sleep 0.05
    done
    return 1
}

# window_of <name> <pid>: the id of the window with exactly that name that process <pid> made, waiting up
# to 10 s. By process, because a window of a program that just ended can outlive it for a moment.
window_of() {
    local i id
    for i in $(seq 200); do
        id="$(xdotool search --pid "$2" --name "^$1\$" 2>/dev/null | head -n1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

# pixel <png> <x> <y>: the colour there as #RRGGBB.
pixel() {
    convert "$1" -crop "1x1+$2+$3" +repage -depth 8 txt:- 2>/dev/null | tail -n1 | grep -o '#[0-9A-Fa-f]\{6\}' | head -n1
}

# pixel_is <png> <x> <y> <#RRGGBB>
pixel_is() {
    local got
    got="$(pixel "$1" "$2" "$3")"
    [ "$got" = "$4" ] || { log "pixel ($2, $3) is $got, expected $4"; return 1; }
}

finish() {
    if [ "$FAILURES" -eq 0 ]; then
        log "all checks passed"
        exit 0
    fi
    log "$FAILURES check(s) failed"
    exit 1
}
