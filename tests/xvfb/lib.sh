# Helpers for the window-layer tests under an X server of their own (common.sh: the server, checks, the
# verdict): wait for a program's log lines, read pixels of a screenshot. Every helper that waits has a limit.
#
# Source it, then call xvfb_start; the EXIT trap stops the server and removes $WORK.

WORK="$(mktemp -d /tmp/kwibbel-window-XXXXXX)"
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

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
