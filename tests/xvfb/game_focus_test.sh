#!/usr/bin/env bash
# A game pauses when its window loses the keyboard focus, and goes on only when P is typed after the window
# has it back; Escape in a pause leaves the game. The whole program under an X server of its own, the focus
# taken away with xdotool.
set -u
. "$(dirname "$0")/program_lib.sh" "$1" "$2"

# The board part of the window (the panel below it holds nothing that moves while paused).
board_picture() { import -window "$WID" -crop 800x600+0+0 +repage "$WORK/$1.png" 2>/dev/null; }
same_board() { [ "$(compare -metric AE "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1)" = 0 ]; }

start_x
new_play_folder
ROOT="$(xwininfo -root | awk '/Window id:/ {print $4}')"
start_game || finish
wait_menu || { fail "no main menu"; finish; }

# Level 0 ("muur"): the snake needs about 30 steps to reach the wall on its right.
click_button 0
wait_for 5 "${SLOT_MENU[@]}" || { fail "no slot menu"; finish; }
click_button 0
check "the game shows its panel" wait_play || finish

# The focus goes to the root window, as when the player clicks another program.
xdotool windowfocus "$ROOT" 2>/dev/null
sleep 0.6
board_picture paused1
sleep 1.2
board_picture paused2
check "without the focus nothing moves (the game paused)" same_board paused1 paused2
# The sign "Paused: press P to go on" stands over the middle of the board, on the navy of the game's screens.
sign_shows() { [ "$(convert "$WORK/$1.png" -crop 1x1+400+265 -format '%[hex:p{0,0}]' info: 2>/dev/null)" = 141C38 ]; }
sign_gone() { ! sign_shows "$1"; }
check "the pause sign shows" sign_shows paused2

# Back to the game: still paused until P is typed.
xdotool windowfocus "$WID"
sleep 1.2
board_picture refocused
check "the focus alone does not resume the game" same_board paused2 refocused
key p
sleep 0.6
board_picture resumed1
sleep 0.4
board_picture resumed2
check "P resumes the game: the sign is gone" sign_gone resumed1
check "P resumes the game: the board moves again" bash -c "! [ \"\$(compare -metric AE '$WORK/resumed1.png' '$WORK/resumed2.png' null: 2>&1 | cut -d' ' -f1)\" = 0 ]"

# Paused with P, Escape leaves the game for the menus, as it does in play: no game over, no highscore.
key p
sleep 1.2
key Escape
check "Escape in a pause leads back to the main menu" wait_menu
close_and_check "menu after Escape in a pause"
finish
