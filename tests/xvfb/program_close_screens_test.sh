#!/usr/bin/env bash
# Closing the window like a player on the screens behind the menus (key screen, countdown, game, pause, game
# over, the level editor) ends the program at once: status 0, the farewell line, and no save file written
# that the player did not ask for.
set -u
. "$(dirname "$0")/program_lib.sh" "$1" "$2"
start_x

run() {  # run <screen> <steps that bring the game there> [save file allowed to change...]
    local what="$1" steps="$2"
    shift 2
    log "---- close on: $what"
    new_play_folder
    start_game || return
    if "$steps"; then
        close_and_check "$what" "$@"
    else
        fail "$what: the screen did not show"
    fi
    [ -n "$GAME_PID" ] && { kill -9 "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; GAME_PID=""; }
}

to_keys() { wait_menu && click_button 1 && wait_for 5 "${OPTIONS_MENU[@]}" && click_button 1 &&
    wait_for 5 "${KEY_SCREEN[@]}"; }
# Three of the eight keys chosen: the controls file must keep the old keys.
to_keys_halfway() { to_keys && key l && wait_for 5 "${KEY_SCREEN_LEFT[@]}" && key j && sleep 0.3 && key i &&
    sleep 0.3; }
to_countdown() { wait_menu && click_button 0 && wait_for 5 "${SLOT_MENU[@]}" && click_button 0 &&
    wait_any 3 COUNTDOWN_3 COUNTDOWN_2; }
to_game() { wait_menu && click_button 0 && wait_for 5 "${SLOT_MENU[@]}" && click_button 0 &&
    wait_play && sleep 0.5; }
to_pause() { to_game && hold p 0.4 && sleep 1.5; }
# Level 0 has walls all round: a snake that nobody steers runs into one within seconds.
to_game_over() { to_game && wait_any 20 GAME_OVER_1 GAME_OVER_2; }
to_table_after_game() { to_game_over && wait_for 10 "${HIGHSCORE_TABLE[@]}"; }
to_editor_help() { wait_menu && click_button 2 && wait_for 5 "${EDITOR_HELP[@]}"; }
# Snake 1's start laid on the editor's board: a half-made level must not overwrite the custom level.
to_editor() { to_editor_help && key space && wait_for 10 "${EDITOR_PANEL[@]}" && hold Return 0.25 && sleep 0.3; }

run "key screen" to_keys
run "key screen after three keys" to_keys_halfway
run "countdown" to_countdown
run "game" to_game
run "pause" to_pause
run "game-over picture" to_game_over highscores.txt
run "highscore table after a game" to_table_after_game highscores.txt
run "level editor help" to_editor_help
run "level editor" to_editor
finish
