#!/usr/bin/env bash
# Two programs on one X server play a game over the network on 127.0.0.1: one started with --host, the other
# with --join. Keys pressed on both (the focus moving between them pauses both, and P goes on), then the
# joiner leaves with Escape: the host says "The other player left" and goes back to its menu; both keep the
# same replay, and it verifies. First the host's screen reached through the menus, and the joiner's line when
# nobody answers.
set -u
. "$(dirname "$0")/program_lib.sh" "$1" "$2"

SHOTS="${KWIBBEL_SHOTS:-}"  # a folder to keep the screens in (for a look at them), when set
shot() { [ -n "$SHOTS" ] && import -window "$WID" "$SHOTS/$1.png" 2>/dev/null; return 0; }
NETWORK_SCREEN=(networkscreen.bmp 0 0 0 800x110)
PORT=$((20000 + RANDOM % 20000))
# udp_open <port>: something listens on that UDP port.
udp_open() { grep -qi ":$(printf '%04X' "$1") " /proc/net/udp /proc/net/udp6 2>/dev/null; }
# words_at <y>: the window shows words on the network screen's band y..y+30 (its picture has none there).
words_at() {
    import -window "$WID" -crop "700x30+50+$1" +repage "$WORK/band.png" 2>/dev/null
    convert "$(picture_file "$PLAY/bitmap" networkscreen.bmp)" -crop "700x30+50+$1" +repage "$WORK/bandpic.png"
    [ "$(compare -metric AE -fuzz 6% "$WORK/band.png" "$WORK/bandpic.png" null: 2>&1 | cut -d' ' -f1)" -gt 100 ]
}

# start_as <name> <args...>: the program in a fresh play folder of its own: ${name}_PLAY, _PID, _WID.
start_as() {
    local name="$1"
    shift
    new_play_folder
    (cd "$PLAY" && SDL_AUDIODRIVER=dummy exec "$KWIBBEL" "$@" >"$PLAY/stdout" 2>"$PLAY/stderr") &
    local pid=$!
    local wid
    wid="$(window_of Kwibbel "$pid")" || { fail "$name: no window"; finish; }
    printf -v "${name}_PLAY" %s "$PLAY"
    printf -v "${name}_PID" %s "$pid"
    printf -v "${name}_WID" %s "$wid"
}
# as <name>: the helpers act on that program (and the exit trap ends both).
as() {
    local p="${1}_PLAY" i="${1}_PID" w="${1}_WID" o
    [ "$1" = HOST ] && o=JOIN_PID || o=HOST_PID
    PLAY="${!p}" GAME_PID="${!i}" WID="${!w}" PROBE_PID="${!o:-}"
    # Both windows stand in the same place: the one played on comes on top, with the focus.
    xdotool windowraise "$WID" windowfocus "$WID" 2>/dev/null
    sleep 0.3
}

start_x

# ---- the menus: options, game mode, network game, host against a snake, the first level ---------------------
log "---- the host's screen from the menus"
start_as HOST
as HOST
key space
wait_menu || { fail "no main menu"; finish; }
click_button 1
wait_for 5 "${OPTIONS_MENU[@]}" && click_button 2
wait_for 5 "${MODE_MENU[@]}" && click_button 4
check "menus: the network menu" wait_for 5 hostsnake1.bmp 100 75
shot network-menu
click_button 0
wait_for 5 "${SLOT_MENU[@]}" && click_button 0
check "menus: the host's screen" wait_for 5 "${NETWORK_SCREEN[@]}"
shot host-waiting
check "menus: it listens on the port it shows" udp_open 24893
key Escape
check "menus: Escape goes back to the main menu" wait_menu
check "menus: and the port is closed" bash -c "! grep -qi ':613D ' /proc/net/udp /proc/net/udp6"
kill "$HOST_PID"
wait "$HOST_PID" 2>/dev/null

# ---- nobody answers -----------------------------------------------------------------------------------------
log "---- join where nobody listens"
start_as JOIN --join "127.0.0.1:$PORT"
as JOIN
key space
check "join: the joiner's screen" wait_for 15 "${NETWORK_SCREEN[@]}"
# The third line of the screen: nothing while connecting, then the answer that did not come.
sleep 4
no_words_at() { ! words_at "$1"; }
check "join: no line before 5 s" no_words_at 280
said() { local end=$((SECONDS + 8)); until words_at 280; do [ $SECONDS -le $end ] || return 1; sleep 0.2; done; }
check "join: after 5 s a line says nobody answered" said
shot join-no-answer
key Escape
check "join: Escape goes back to the main menu" wait_menu
kill "$JOIN_PID"
wait "$JOIN_PID" 2>/dev/null

# ---- a game -------------------------------------------------------------------------------------------------
log "---- host and join"
start_as HOST --host "$PORT"
as HOST
key space
check "host: waiting for a player" wait_for 15 "${NETWORK_SCREEN[@]}"
start_as JOIN --join "127.0.0.1:$PORT"
as JOIN
key space
check "join: the game begins" wait_for 20 "${GAME_PANEL[@]}"
as HOST
check "host: the game begins" wait_for 20 "${GAME_PANEL[@]}"
# The focus came to the host: the joiner's window lost it, so both pause.
sleep 1.5
shot host-paused
key p
sleep 0.3
key Down
sleep 0.4
key Right
as JOIN
sleep 1.2
shot join-paused
key p
sleep 0.3
key Up
sleep 0.4
key Left
sleep 0.5
shot join-playing
key Escape
check "join: back to the main menu after Escape" wait_menu
as HOST
check "host: the network screen says why" wait_for 10 "${NETWORK_SCREEN[@]}"
check "host: \"The other player left.\"" grep -q "Network game: The other player left." "$HOST_PLAY/stdout"
shot host-left
key space
check "host: back to the main menu" wait_menu

# ---- the replays ----------------------------------------------------------------------------------------------
replay() { ls "$1"/replays/last.replay 2>/dev/null; }
h="$(replay "$HOST_PLAY")" j="$(replay "$JOIN_PLAY")"
check "both keep a replay" test -n "$h" -a -n "$j"
check "both replays are the same" cmp -s "$h" "$j"
check "the host's replay verifies" "$KWIBBEL" --verify "$h"
finish
