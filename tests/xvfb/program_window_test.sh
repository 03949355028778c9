#!/usr/bin/env bash
# The game's window on a large screen with a window manager (openbox, started here, so that resizing and
# fullscreen are real): the first size, the picture scaled to the window at 2 and at a scale that is no whole
# number with clicks at the scaled places, fullscreen with F11 and back, music and effects switched with F2
# and F3, and the settings file that keeps all that for the next start. Screenshots at 2 times (main menu and
# a game) and at the odd scale are kept in <build>/screenshots/.
# Arguments: <build dir> <source dir>.
set -uo pipefail
XVFB_SCREEN=1920x1600x24
. "$(dirname "$0")/program_lib.sh" "$1" "$2"
command -v openbox >/dev/null || { echo "missing openbox (setup.sh installs it)"; exit 1; }

start_x
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
new_play_folder
SHOTS="$BUILD/screenshots"
mkdir -p "$SHOTS"

# client_size: the window's client area as "W H X Y" (X, Y its place on the screen).
client_size() {
    xwininfo -id "$WID" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
        /Width:/ {w=$NF} /Height:/ {h=$NF} END {print w, h, x, y}'
}
# resize <w> <h>: the window's client area to that size, as a player's dragging would; the view follows.
resize() {
    xdotool windowsize "$WID" "$1" "$2"
    local i
    for i in $(seq 50); do
        [ "$(client_size | cut -d' ' -f1-2)" = "$1 $2" ] && break
        sleep 0.1
    done
    view_for "$1" "$2"
    sleep 0.3
}
# setting <line>: the settings file holds the line within 3 s.
setting() {
    local end=$((SECONDS + 3))
    while [ $SECONDS -le "$end" ]; do
        grep -qxF "$1" "$PLAY/settings.txt" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# ---- the first start: no settings, the largest whole scale that fits, 2 on this screen ----------------------
start_game || finish
grep -q "^No settings.txt yet" "$PLAY/stderr"
check "no settings file: one line says so" [ $? -eq 0 ]
read -r W H _ < <(client_size)
check "the first window is twice the game's size on a 1920 by 1600 screen (got $W by $H)" [ "$W $H" = "1600 1360" ]
view_for "$W" "$H"
check "the main menu shows, from the pictures at twice the size" wait_menu
pointer 700 650
sleep 0.3
import -window "$WID" "$SHOTS/menu-2x.png"
log "screenshot: $SHOTS/menu-2x.png"
click_button 4
check "2x: Help clicked at its scaled place shows the help screen" wait_for 5 "${HELP_SCREEN[@]}"
key space
check "2x: back in the main menu" wait_menu

# ---- a scale that is no whole number ----------------------------------------------------------------------
resize 1100 900
log "view at 1100 by 900: scale $VIEW_SCALE, picture at ($VIEW_X, $VIEW_Y)"
check "1.32x: the main menu is shown scaled into the window" wait_menu
click_button 4
check "1.32x: Help clicked at its scaled place shows the help screen" wait_for 5 "${HELP_SCREEN[@]}"
import -window "$WID" "$SHOTS/help-1.32x.png"
log "screenshot: $SHOTS/help-1.32x.png"
bar="$(convert "$SHOTS/help-1.32x.png" -crop 1x1+3+450 +repage -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n1)"
check "1.32x: the bars beside the picture are black (got $bar)" [ "$bar" = "#000000" ]
key space
check "1.32x: back in the main menu" wait_menu
click 150 10
sleep 0.7
check "1.32x: a click beside the buttons chooses nothing" shows "${MAIN_MENU[@]}"

# ---- a game at twice the size ---------------------------------------------------------------------------------
resize 1600 1360
check "2x again: the main menu" wait_menu
click_button 0
wait_for 5 "${SLOT_MENU[@]}"
click_button 1
check "2x: a game starts on the level without walls" wait_play
sleep 1.5
import -window "$WID" "$SHOTS/game-2x.png"
log "screenshot: $SHOTS/game-2x.png"

# ---- fullscreen, in the middle of the game ------------------------------------------------------------------------
key F11
sleep 1
read -r W H X Y < <(client_size)
check "F11: the window covers the screen (got $W by $H at $X, $Y)" [ "$W $H $X $Y" = "1920 1600 0 0" ]
check "F11: the settings say fullscreen" setting "fullscreen=1"
key F11
sleep 1
read -r W H _ < <(client_size)
check "F11 again: the window has its size back (got $W by $H)" [ "$W $H" = "1600 1360" ]
view_for "$W" "$H"
check "F11 again: the settings say windowed" setting "fullscreen=0"
# Escape, or (when the game has ended by itself meanwhile) a key on the highscore table.
hold Escape 0.4
for i in 1 2 3 4 5 6; do
    wait_any 10 MAIN_MENU HIGHSCORE_TABLE || break
    [ "$SEEN" = MAIN_MENU ] && break
    key space
done
check "back in the main menu after the game" wait_menu

# ---- music and effects, and the settings for the next start --------------------------------------------------
# Each switch shows a sign over the middle of the screen (the pause sign's navy) that goes by itself.
sign_shows() {
    local sx sy
    read -r sx sy < <(at 400 265)
    import -window "$WID" -crop "1x1+$sx+$sy" +repage "$WORK/px.png" 2>/dev/null &&
        [ "$(convert "$WORK/px.png" -format '%[hex:p{0,0}]' info: 2>/dev/null)" = 141C38 ]
}
no_sign() { ! sign_shows; }
key F2
check "F2: a sign says so" sign_shows
sleep 2
check "F2: the sign has gone by itself" no_sign
check "F2: music off in the settings" setting "music=0"
key F3
check "F3: effects off in the settings" setting "effects=0"
key F2
check "F2 again: music on" setting "music=1"
resize 1200 1020
check "the new size is in the settings" setting "window-width=1200"
click_button 5
wait_exit 10
check "quit: the program ended with status 0" [ "${EXIT_STATUS:-}" = 0 ]
log "settings: $(tr '\n' ' ' <"$PLAY/settings.txt")"

start_game || finish
read -r W H _ < <(client_size)
check "restart: the window has the size it was left at (got $W by $H)" [ "$W $H" = "1200 1020" ]
check "restart: no line about the settings" bash -c "! grep -q settings '$PLAY/stderr'"
view_for "$W" "$H"
check "restart: the main menu at 1.5 times" wait_menu
click_button 5
wait_exit 10
check "restart: effects still off, music on" grep -qx "effects=0" "$PLAY/settings.txt"

# ---- a size larger than the screen: the window fits the screen, and what is saved reads back -------------------
sed -i 's/^window-width=.*/window-width=16384/; s/^window-height=.*/window-height=16384/' "$PLAY/settings.txt"
start_game || finish
read -r W H _ < <(client_size)
check "16384 by 16384 asked: the window fits the 1920 by 1600 screen (got $W by $H)" [ "$W" -le 1920 -a "$H" -le 1600 ]
view_for "$W" "$H"
wait_menu
click_button 5
wait_exit 10
check "the size saved is the window's (got $(grep window-width "$PLAY/settings.txt"))" setting "window-width=$W"
finish
