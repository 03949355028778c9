#!/usr/bin/env bash
# The whole program played like a player under an X server of its own: every menu path, a game in each mode to
# its game over and the highscore table, a game left with Escape, the key screen, the level editor and then
# its custom level, the help screen, and quit. Also: without a display the program ends at once with an error.
set -u
. "$(dirname "$0")/program_lib.sh" "$1" "$2"

# ---- no display: the window cannot open --------------------------------------------------------------------
new_play_folder
log "---- start without a display"
( cd "$PLAY" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy timeout 10 "$KWIBBEL" >"$PLAY/stdout" 2>"$PLAY/stderr" )
status=$?
check "no display: a non-zero exit status at once (got $status; 124 is the time limit)" \
    test "$status" -ne 0 -a "$status" -ne 124
check "no display: says it cannot create the window" grep -q "Can't create window." "$PLAY/stderr" "$PLAY/stdout"
check "no display: no save file touched" save_files_unchanged

check "--help into a full disk: exit status 1" sh -c '"$0" --help >/dev/full 2>/dev/null; [ $? -eq 1 ]' "$KWIBBEL"

start_x
# ---- hostile files: a pipe for settings.txt, pictures (BMP, PNG) that claim 30000 by 30000 pixels in 1 KB ------
new_play_folder
log "---- a pipe for the settings, a damaged picture"
mkfifo "$PLAY/settings.txt"
printf 'BM\0\0\0\0\0\0\0\0\066\0\0\0\050\0\0\0\060\165\0\0\060\165\0\0\001\0\030\0' >"$PLAY/bitmap/helptext.bmp"
head -c 1024 /dev/zero >>"$PLAY/bitmap/helptext.bmp"
printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\0u0\0\0u0\010\002\0\0\0' >"$PLAY/bitmap/quit2.png"
head -c 1024 /dev/zero >>"$PLAY/bitmap/quit2.png"
start_game || finish
check "hostile files: the main menu shows all the same" wait_menu
check "hostile files: one line for the pipe" grep -qx "Cannot read settings.txt: the default settings are used." "$PLAY/stderr"
check "hostile files: one line for the picture" grep -q "^Picture bitmap/helptext.bmp is refused" "$PLAY/stderr"
check "hostile files: one line for the PNG" grep -q "^Picture bitmap/quit2.png is refused" "$PLAY/stderr"
check "hostile files: the game is small (RSS $(ps -o rss= -p "$GAME_PID") KB)" [ "$(ps -o rss= -p "$GAME_PID")" -lt 400000 ]
kill "$GAME_PID"
wait "$GAME_PID" 2>/dev/null

new_play_folder
log "---- a whole session"
export KWIBBEL_LAST_PICTURE="$WORK/last"
start_game || finish

# ---- start: loading screen, banner, main menu ----------------------------------------------------------------
check "the loading screen shows first" wait_for 5 "${LOADING_SCREEN[@]}"
# A key once everything is loaded goes on to the menu at once (nobody pressing, it takes 8 s).
key space
check "a key on the loading screen leads to the main menu at once" wait_for 1 "${MAIN_MENU[@]}"
banner="$(printf '\n *****************  Kwibbel *****************\nMusic system initialized.\n')"
check "the console starts with the banner" [ "$(head -c ${#banner} "$PLAY/stdout")" = "$banner" ]
if [ -f "$PLAY/audio/laser.mp3" ]; then
    check "every sound loaded: nothing after the banner" [ "$(cat "$PLAY/stdout")" = "$banner" ]
fi

# back_to_menu <what>: the main menu shows again.
back_to_menu() { check "$1, then the main menu again" wait_menu; }

# ---- help and highscores -----------------------------------------------------------------------------------
click_button 4
check "help: the help screen shows" wait_for 5 "${HELP_SCREEN[@]}"
key space
back_to_menu "help closed by a key"

click_button 3
check "highscores: the table shows" wait_for 5 "${HIGHSCORE_TABLE[@]}"
key space
back_to_menu "highscore table closed by a key"

# ---- double clicks: the second click does not choose in the menu that the first one opened ---------------------
double_click_button() {
    xdotool mousemove --window "$WID" 150 "$(button_y "$1")" click --repeat 2 --delay 120 1
    sleep 0.05
    xdotool mousemove --window "$WID" 700 650
    LAST_CLICK_MS=$(date +%s%3N)
}
double_click_button 1
check "double-clicked options: the options menu shows" wait_for 5 "${OPTIONS_MENU[@]}"
sleep 1.5
check "double-clicked options: still the options menu, not the key screen" shows "${OPTIONS_MENU[@]}"
click 120 "$(button_y 3)"
back_to_menu "options after a double click, back"
double_click_button 0
check "double-clicked play: the slot menu shows" wait_for 5 "${SLOT_MENU[@]}"
sleep 1.5
check "double-clicked play: still the slot menu, no game started" shows "${SLOT_MENU[@]}"
click 120 "$(button_y 5)"
back_to_menu "slots after a double click, back"

# ---- option menus ------------------------------------------------------------------------------------------
# choose_mode <button>: options, game mode, the button.
choose_mode() {
    click_button 1 && wait_for 5 "${OPTIONS_MENU[@]}" && click_button 2 && wait_for 5 "${MODE_MENU[@]}" &&
        click_button "$1"
}
# choose_difficulty <button>: options, difficulty, the button.
choose_difficulty() {
    click_button 1 && wait_for 5 "${OPTIONS_MENU[@]}" && click_button 0 && wait_for 5 "${DIFF_MENU[@]}" &&
        click_button "$1"
}
# Back from each option menu leads to the main menu.
click_button 1
check "options: the options menu shows" wait_for 5 "${OPTIONS_MENU[@]}"
click 120 "$(button_y 3)"
back_to_menu "options, back"
choose_difficulty 3
back_to_menu "difficulty, back"
choose_mode 5
back_to_menu "game mode, back"
click_button 0
check "slots: the slot menu shows" wait_for 5 "${SLOT_MENU[@]}"
click 120 "$(button_y 5)"
back_to_menu "slots, back"

# ---- games ---------------------------------------------------------------------------------------------------
# play_to_game_over <slot button> <what> [held key] [check]: a game that nobody steers (or that only holds a key
# down) runs into a wall; game over, the table. A key held through the crash does not close the table. The check,
# a command, runs once the game shows.
play_to_game_over() {
    local slot="$1" what="$2" held="${3:-}" during="${4:-}"
    click_button 0
    wait_for 5 "${SLOT_MENU[@]}" || { fail "$what: no slot menu"; return; }
    click_button "$slot"
    check "$what: the countdown shows" wait_any 5 COUNTDOWN_3 COUNTDOWN_2 COUNTDOWN_1
    check "$what: over the game's panel and board, before the first step" shows "${GAME_PANEL[@]}"
    check "$what: the game shows its score panel, the countdown over" wait_play
    [ -n "$during" ] && "$during" "$what"
    [ -n "$held" ] && xdotool keydown "$held"
    check "$what: the game ends with a game-over picture" \
        wait_any 60 GAME_OVER_KNURF GAME_OVER_BOTH GAME_OVER_1 GAME_OVER_2 && log "$what: $SEEN"
    check "$what: then the highscore table" wait_for 10 "${HIGHSCORE_TABLE[@]}"
    if [ -n "$held" ]; then
        # The X server repeats a held key (the window probe test shows it): the repeats are no new press.
        sleep 2
        check "$what: $held held through the crash, the table still shows 2 s later" shows "${HIGHSCORE_TABLE[@]}"
        xdotool keyup "$held"
    fi
    key space
    back_to_menu "$what: the table closed by a key"
}

saved_before=$(grep -c "Highscore has been saved." "$PLAY/stdout")
choose_mode 1
back_to_menu "snake against snake chosen"
play_to_game_over 0 "snake against snake on the walled level"

choose_mode 2
back_to_menu "snake against knurf chosen"
play_to_game_over 2 "snake against knurf on the smiley level"

# green_snake_moves <what>: the board's green pixels (the green snake's, no other picture on the board is green)
# change within a second, though nobody touches a key.
green_mask() { convert "$1" -crop 800x600+0+0 +repage -fx 'g > 0.45 && g > 1.4 * max(r, b)' "$2"; }
green_snake_moves() {
    check "$1: the computer's plate in the panel" shows platecomputer.bmp "$PLATE2_X" "$PLATE_Y" 0 128x28
    { import -window "$WID" "$WORK/board1.png" && sleep 1 && import -window "$WID" "$WORK/board2.png" &&
        green_mask "$WORK/board1.png" "$WORK/green1.png" && green_mask "$WORK/board2.png" "$WORK/green2.png"; } \
        2>/dev/null || { fail "$1: no screenshots"; return; }
    local seen moved
    seen="$(convert "$WORK/green1.png" -format '%[fx:round(mean * w * h)]' info:)"
    moved="$(compare -metric AE "$WORK/green1.png" "$WORK/green2.png" null: 2>&1)"
    log "$1: $seen green pixels, $moved pixels green in one picture only"
    check "$1: the green snake is on the board" [ "${seen:-0}" -gt 500 ]
    check "$1: the green snake moved with no key pressed" [ "${moved%% *}" -gt 500 ]
}
choose_mode 3
back_to_menu "snake against the computer chosen"
play_to_game_over 0 "snake against the computer on the walled level" "" green_snake_moves
# Unsteered, both snakes would reach the right wall in the same step.
check "snake against the computer: only the red snake crashed" [ "$SEEN" = GAME_OVER_1 ]

choose_mode 0
back_to_menu "one player chosen"
choose_difficulty 2
back_to_menu "hard chosen"
play_to_game_over 3 "one player, hard, on the insane level" Up
saved_after=$(grep -c "Highscore has been saved." "$PLAY/stdout")
check "four games over, four highscore saves" [ $((saved_after - saved_before)) -eq 4 ]

# A game on the level without walls, left with Escape: no game-over picture, straight back to the menus.
choose_difficulty 0
back_to_menu "easy chosen"
click_button 0
wait_for 5 "${SLOT_MENU[@]}"
click_button 1
check "Escape game: the game shows" wait_play
sleep 1
hold Escape 0.4
back_to_menu "Escape during a game"
check "Escape game: no highscore save" [ "$(grep -c "Highscore has been saved." "$PLAY/stdout")" -eq "$saved_after" ]

# ---- the key screen --------------------------------------------------------------------------------------------
click_button 1
wait_for 5 "${OPTIONS_MENU[@]}"
click_button 1
check "keys: the key screen asks for player 1's right" wait_for 5 "${KEY_SCREEN[@]}"
key l
check "keys: then for left" wait_for 5 "${KEY_SCREEN_LEFT[@]}"
key l
check "keys: a key taken already is refused" wait_for 3 "${KEY_REFUSED[@]}"
check "keys: and left is asked again" wait_for 5 "${KEY_SCREEN_LEFT[@]}"
for k in j i k Right Left Up Down; do
    key "$k"
    sleep 0.3
done
back_to_menu "all eight keys chosen"
check "keys: the controls file holds the new keys" [ "$(od -An -c "$PLAY/savefiles/controleslang.txt" | tr -s ' \n' ' ')" = \
    "$(printf '76\r\n74\r\n73\r\n75\r\n\r\n39\r\n37\r\n38\r\n40\r\n\r\n' | od -An -c | tr -s ' \n' ' ')" ]

# ---- the level editor and its level --------------------------------------------------------------------------
# Opened by mistake, it is left with Escape on its help, or on its board before anything is placed.
click_button 2
check "editor: its help shows" wait_for 5 "${EDITOR_HELP[@]}"
key Escape
back_to_menu "editor: Escape on its help"
click_button 2
wait_for 5 "${EDITOR_HELP[@]}"
key space
check "editor: the board with its panel" wait_for 10 "${EDITOR_PANEL[@]}"
key Escape
back_to_menu "editor: Escape with nothing placed"
check "editor: left without saving" save_files_unchanged controleslang.txt highscores.txt
click_button 2
wait_for 5 "${EDITOR_HELP[@]}"
key space
wait_for 10 "${EDITOR_PANEL[@]}"
# Enter held: snake 1's start only; pressed again, snake 2's start next along the row; again, a wall or two;
# M: the wall all round.
hold Return 0.35
sleep 0.3
hold Return 0.3
sleep 0.3
hold Return 0.3
sleep 0.3
hold m 0.3
sleep 0.3
hold Escape 0.4
back_to_menu "editor left with Escape"
check "editor: saved the level" grep -q "Level has been saved." "$PLAY/stdout"
custom="$PLAY/savefiles/custom.txt"
check "editor: the custom level has 30 lines of 40 cells" \
    [ "$(tr -d '\r' <"$custom" | awk 'length($0) == 40' | wc -l)" -eq 30 ]
check "editor: four S and four T" [ "$(tr -cd S <"$custom" | wc -c) $(tr -cd T <"$custom" | wc -c)" = "4 4" ]
check "editor: the wall all round" [ "$(head -n1 "$custom" | tr -d '\r')" = "$(printf 'M%.0s' $(seq 40))" ]
# L brings the saved level back to be mended; saved again untouched, it is the same level.
cp "$custom" "$WORK/custom.before"
click_button 2
wait_for 5 "${EDITOR_HELP[@]}"
key space
wait_for 10 "${EDITOR_PANEL[@]}"
key l
sleep 0.5
hold Escape 0.4
back_to_menu "editor: a mended level saved"
check "editor: the level loaded and saved again is the same" cmp -s "$custom" "$WORK/custom.before"

# The one-player snake starts on row 2 heading right and meets the wall laid after snake 2's start.
play_to_game_over 4 "one player on the custom level"

# ---- a level that cannot be played in the mode chosen ----------------------------------------------------------
# A custom level with a start for snake 1 only, chosen in snake against snake: a screen says why.
for r in $(seq 30); do
    if [ "$r" = 2 ]; then printf -- '-SSSS%s\r\n' "$(printf -- '-%.0s' $(seq 35))"; else printf -- '-%.0s' $(seq 40); printf '\r\n'; fi
done >"$PLAY/savefiles/custom.txt"
choose_mode 1
back_to_menu "snake against snake chosen again"
click_button 0
wait_for 5 "${SLOT_MENU[@]}"
click_button 4
check "refused level: the screen says why" wait_for 5 "${REFUSED_LEVEL[@]}"
check "refused level: its console line stands on a line of its own" \
    grep -qx "Level savefiles/custom.txt cannot be played: it has no start for snake 2." "$PLAY/stdout"
sleep 1
check "refused level: the screen stays until a key" shows "${REFUSED_LEVEL[@]}"
key space
back_to_menu "refused level, a key"

# ---- the menus with the keyboard alone, and quit ---------------------------------------------------------------
# The mouse stays where it is: the arrows move a highlight (a button's mouse-over picture), Enter picks, Escape
# goes back; a menu left with the keyboard lights the first button of the next (a settings menu its current one).
lit() { wait_for 3 "$1" 100 "$(($(button_y "$2") - 25))"; }
key Down
check "keyboard: Down lights Play" lit play2.bmp 0
key Down
check "keyboard: Down again lights Options" lit options2.bmp 1
key Return
check "keyboard: Enter opens the options, first button lit" lit diff2.bmp 0
key Escape
check "keyboard: Escape goes back to the main menu" lit play2.bmp 0
key Up Up Return
check "keyboard: Up twice and Enter, the help screen" wait_for 5 "${HELP_SCREEN[@]}"
key Return
check "keyboard: back from help, Help is still lit" lit help2.bmp 4
key Down Down
check "keyboard: Down twice goes round to Play" lit play2.bmp 0
key Down Return
check "keyboard: the options again" lit diff2.bmp 0
key Down Down Return
check "keyboard: the game modes, the mode chosen now lit" lit snakevssnake2.bmp 1
key Up
check "keyboard: Up lights one player" lit sp2.bmp 0
key Return
check "keyboard: one player chosen, back in the main menu" lit play2.bmp 0
key Return
check "keyboard: the slot menu" lit slot12.bmp 0
# A table of noughts: the next game makes it, and its row keeps the game's replay.
for r in $(seq 10); do printf '0\r\n'; done >"$PLAY/savefiles/highscores.txt"
key Return
check "keyboard: the walled arena's game" wait_play
check "keyboard: its game over" wait_any 60 GAME_OVER_1 GAME_OVER_2
check "keyboard: the highscore table" wait_for 10 "${HIGHSCORE_TABLE[@]}"
# ---- the game watched again from its row, at 8 times its pace -------------------------------------------------
check "replay: the row keeps the game's replay" ls "$PLAY"/replays/row-0-*.replay
key Down Return
check "replay: it starts with the countdown" wait_any 5 COUNTDOWN_3 COUNTDOWN_2 COUNTDOWN_1
key 4
check "replay: it ends with the game's game-over picture" wait_any 60 GAME_OVER_1 GAME_OVER_2
board() {
    local w h
    read -r w h <<<"$(identify -format '%w %h' "$1")" && convert "$1" -crop "${w}x$((h * 600 / 680))+0+0" +repage "$2"
}
board "$WORK/last-game.bmp" "$WORK/board-game.png" && board "$WORK/last-replay.bmp" "$WORK/board-replay.png"
differ="$(compare -metric AE "$WORK/board-game.png" "$WORK/board-replay.png" null: 2>&1)"
check "replay: its last board is the game's, pixel for pixel ($differ pixels differ)" [ "$differ" = 0 ]
[ "$differ" = 0 ] || cp "$WORK"/last-*.bmp /tmp/ 2>/dev/null
check "replay: then the table again" wait_for 10 "${HIGHSCORE_TABLE[@]}"
check "replay: the file verifies" "$KWIBBEL" --verify "$PLAY/replays/last.replay"
key Escape
check "keyboard: the main menu again" lit play2.bmp 0
key Up
check "keyboard: Up goes round to Quit" lit quit2.bmp 5
CLOSED_AT="$(date +%s%3N)"
key Return
if wait_exit 10; then
    check "quit: exit status 0" [ "$EXIT_STATUS" = 0 ]
    check "quit: the farewell line last" said_farewell
    log "quit: ended ${EXIT_MS} ms after Enter"
else
    fail "quit: the program did not end"
fi
check "quit: no temporary save files left" [ "$(ls "$PLAY/savefiles" | wc -l)" -eq "$(ls "$PLAY/savefiles.before" | wc -l)" ]
finish
