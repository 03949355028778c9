#!/usr/bin/env bash
# The window layer in a real X window: the probe's demonstration picture as the X server shows it (kept at
# <build>/screenshots/window-demo.png), keys typed and mouse clicks and drags made with xdotool as the probe
# logs them, the start without a display, and the figures of an idle window (memory, CPU).
# Arguments: <build dir> <source dir>.
set -uo pipefail
BUILD="$(cd "$1" && pwd)"
SRC="$(cd "$2" && pwd)"
. "$SRC/tests/xvfb/lib.sh"
PROBE="$BUILD/tests/windowprobe"
XCLOSE="$BUILD/tests/xclosewindow"
for tool in Xvfb xdotool import convert compare xwininfo; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
[ -x "$PROBE" ] || { echo "missing $PROBE"; exit 1; }

# ---- no display: the line, a failing status, no hang ----------------------------------------------------
mkdir -p "$WORK/runtime"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$WORK/runtime" \
    timeout 30 "$PROBE" nodisplay >"$WORK/nodisplay.out" 2>"$WORK/nodisplay.err"
status=$?
check "without a display the probe ends with status 1 (got $status)" [ "$status" -eq 1 ]
check "without a display the line \"Can't create window.\" is written" grep -qxF "Can't create window." "$WORK/nodisplay.err"

xvfb_start

# ---- the demonstration picture -----------------------------------------------------------------------------
LOG="$WORK/probe.log"
"$PROBE" window "$LOG" "$WORK" >"$WORK/probe.out" 2>&1 &
PROBE_PID=$!
check "the probe's window is ready" wait_line 20 "$LOG" "ready 800 680"
WID="$(window_of 'Kwibbel probe' "$PROBE_PID")" || { fail "no window named 'Kwibbel probe'"; finish; }
read -r WX WY WW WH < <(xwininfo -id "$WID" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
log "window $WID at ($WX, $WY), $WW by $WH"
check "the client area is 800 by 680" [ "$WW" = 800 -a "$WH" = 680 ]

sleep 0.3
mkdir -p "$BUILD/screenshots"
SHOT="$BUILD/screenshots/window-demo.png"
import -window root "$SHOT"
check "a screenshot was taken" [ -s "$SHOT" ]
at() { pixel_is "$SHOT" $((WX + $1)) $((WY + $2)) "$3"; }
check "the red block" at 140 90 "#FF0000"
check "the red block's corners are included" at 239 139 "#FF0000"
check "the green frame's edge" at 260 90 "#00FF00"
check "the frame's inside shows the background" at 300 90 "#0000B0"
check "the picture, stretched twice: yellow" at 45 205 "#FFFF00"
check "the picture's black middle" at 90 250 "#000000"
check "the picture ends at its loaded size" at 141 250 "#0000B0"
check "the masked picture: white inside the round mask" at 350 250 "#FFFFFF"
check "the masked picture: background where the mask is black" at 302 202 "#0000B0"
check "the score bar" at 700 650 "#C0C0C0"
colours="$(convert "$SHOT" -crop "330x36+$((WX + 40))+$((WY + 450))" +repage -format '%k' info:)"
check "the heading text is drawn with antialiased edges ($colours colours)" [ "${colours:-0}" -gt 4 ]
colours="$(convert "$SHOT" -crop "80x30+$((WX + 20))+$((WY + 640))" +repage -format '%k' info:)"
check "the score is drawn in the bar ($colours colours)" [ "${colours:-0}" -gt 4 ]
# What the X server shows is exactly what the layer says the window shows.
convert "$SHOT" -crop "800x680+$WX+$WY" +repage "$WORK/window.png"
diff="$(compare -metric AE "$WORK/window.png" "$WORK/probe-screen.bmp" null: 2>&1)"
check "the X window matches the layer's SaveScreen pixel for pixel (differing: $diff)" [ "${diff%% *}" = 0 ]

# ---- keys ------------------------------------------------------------------------------------------------
xdotool windowfocus --sync "$WID" 2>/dev/null
xdotool key --delay 40 k w i b shift+b Left Return space F10 alt+x ctrl+c
check "typed keys arrive" wait_line 10 "$LOG" "key 67"
typed="$(grep '^key ' "$LOG" | cut -d' ' -f2 | tr '\n' ' ')"
check "keys come in the order typed, letters upper case, Shift and Ctrl their own, Alt+X and F10 nothing ($typed)" \
    [ "$typed" = "75 87 73 66 16 66 37 13 32 17 67 " ]
xdotool keydown Right
sleep 1.5
xdotool keyup Right
check "a held key repeats" wait_count 10 "$LOG" "key 39" 3
log "Right held 1.5 s gave $(grep -cxF 'key 39' "$LOG") presses"

# ---- mouse -----------------------------------------------------------------------------------------------
xdotool mousemove --window "$WID" 100 120 click 1
check "a click calls the release handler with its position" wait_line 10 "$LOG" "up 100 120"
xdotool click --repeat 2 --delay 80 1
check "a double click gives two more releases" wait_count 10 "$LOG" "up 100 120" 3
# Each drag starts well after the last press, so that it is no second click of a double click (which
# would not capture the pointer).
sleep 0.8
xdotool mousemove --window "$WID" 50 50 mousedown 1
sleep 0.1
xdotool mousemove --window "$WID" 20 -30
sleep 0.1
xdotool mouseup 1
check "a drag ending above the window: y read as 65506" wait_line 10 "$LOG" "up 20 65506"
xdotool key m
check "the pointer position above the window reads the same" wait_line 10 "$LOG" "mouse 20 65506"
sleep 0.8
xdotool mousemove --window "$WID" 60 300 mousedown 1
sleep 0.1
xdotool mousemove --window "$WID" -- -40 60
sleep 0.1
xdotool mouseup 1
check "a drag ending left of the window: x read as 65496" wait_line 10 "$LOG" "up 65496 60"
# Both buttons held: releasing the right one keeps the pointer captured for the left one.
sleep 0.8
xdotool mousemove --window "$WID" 200 300 mousedown 1
sleep 0.1
xdotool mousedown 3
sleep 0.1
xdotool mouseup 3
sleep 0.1
xdotool mousemove --window "$WID" 200 -20
sleep 0.1
xdotool mouseup 1
check "releasing the right button keeps the capture for the left one" wait_line 10 "$LOG" "up 200 65516"
xdotool key Escape
check "Escape ends the probe" wait_line 10 "$LOG" "bye 0"
wait "$PROBE_PID"
check "the probe ended with status 0" [ $? -eq 0 ]
PROBE_PID=""

# ---- the player closes the window while the probe waits for a key ------------------------------------------
if [ -x "$XCLOSE" ]; then
    LOG2="$WORK/probe2.log"
    "$PROBE" window "$LOG2" "$WORK" >"$WORK/probe2.out" 2>&1 &
    PROBE_PID=$!
    check "the second window is ready" wait_line 20 "$LOG2" "ready 800 680"
    WID="$(window_of 'Kwibbel probe' "$PROBE_PID")"
    "$XCLOSE" "$WID"
    check "closing the window wakes the waiting GetKey with 0" wait_line 10 "$LOG2" "closed 1"
    check "and the probe ends" wait_line 10 "$LOG2" "bye 0"
    wait "$PROBE_PID"
    check "with status 0" [ $? -eq 0 ]
    PROBE_PID=""
else
    log "no $XCLOSE: the close by the window manager is left out"
fi

# ---- figures of an idle window ------------------------------------------------------------------------------
xvfb_ticks() { awk '{print $14 + $15}' "/proc/$XVFB_PID/stat"; }
hz="$(getconf CLK_TCK)"
before="$(xvfb_ticks)"
"$PROBE" idle 5 >"$WORK/idle.out" 2>&1
status=$?
after="$(xvfb_ticks)"
check "the idle loop ran" [ "$status" -eq 0 ]
log "idle menu loop, unchanged picture every 25 ms for 5 s:"
sed 's/^/    /' "$WORK/idle.out"
log "    X server CPU: $(awk -v t=$((after - before)) -v hz="$hz" 'BEGIN {printf "%.2f", 100 * t / hz / 5}') percent"
log "screenshot kept at $SHOT"
finish
