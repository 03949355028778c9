#!/usr/bin/env bash
# Closing the window like a player on the loading screen and on every menu screen ends the program at once:
# status 0, the farewell line, and no save file touched.
set -u
. "$(dirname "$0")/program_lib.sh" "$1" "$2"
start_x

run() {  # run <screen> <steps that bring the game there>
    local what="$1"
    shift
    log "---- close on: $what"
    new_play_folder
    start_game || return
    if "$@"; then
        close_and_check "$what"
    else
        fail "$what: the screen did not show"
    fi
    [ -n "$GAME_PID" ] && { kill -9 "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; GAME_PID=""; }
}

to_loading() { wait_for 5 "${LOADING_SCREEN[@]}"; }
to_main() { wait_menu; }
to_slots() { wait_menu && click_button 0 && wait_for 5 "${SLOT_MENU[@]}"; }
to_options() { wait_menu && click_button 1 && wait_for 5 "${OPTIONS_MENU[@]}"; }
to_difficulty() { to_options && click_button 0 && wait_for 5 "${DIFF_MENU[@]}"; }
to_modes() { to_options && click_button 2 && wait_for 5 "${MODE_MENU[@]}"; }
to_help() { wait_menu && click_button 4 && wait_for 5 "${HELP_SCREEN[@]}"; }
to_highscores() { wait_menu && click_button 3 && wait_for 5 "${HIGHSCORE_TABLE[@]}"; }

run "loading screen" to_loading
run "main menu" to_main
run "slot menu" to_slots
run "options menu" to_options
run "difficulty menu" to_difficulty
run "game-mode menu" to_modes
run "help screen" to_help
run "highscore table" to_highscores
finish
