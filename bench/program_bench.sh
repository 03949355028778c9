#!/usr/bin/env bash
# The whole program measured in one run under an X server of its own, driven by xdotool like a player:
# time from start to the first picture in the window; CPU (the game's process and the X server's) in an idle
# main menu and during a game at each difficulty; resident memory after the first menu, after 200 menu visits
# and after 20 games. Prints the figures; checks nothing.
#
#   bench/program_bench.sh <build dir> <source dir>      (or: cmake --build build --target program_bench)
set -u
. "$2/tests/xvfb/program_lib.sh" "$1" "$2"
FIRST="$BUILD/bench/xfirstpicture"
[ -x "$FIRST" ] || { echo "missing $FIRST (build the target program_bench)"; exit 1; }
TICKS=$(getconf CLK_TCK)

# cpu_ticks <pid>: user + system time of a process in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f MB", kb / 1024 }'; }

# cpu_over <seconds>: "game% xserver%" of one core over that many seconds.
cpu_over() {
    local g0 x0 g1 x1
    g0=$(cpu_ticks "$GAME_PID")
    x0=$(cpu_ticks "$XVFB_PID")
    sleep "$1"
    g1=$(cpu_ticks "$GAME_PID")
    x1=$(cpu_ticks "$XVFB_PID")
    awk -v g=$((g1 - g0)) -v x=$((x1 - x0)) -v s="$1" -v t="$TICKS" \
        'BEGIN { printf "%.2f %.2f", 100 * g / (s * t), 100 * x / (s * t) }'
}

start_x
new_play_folder

# ---- start: the first picture ------------------------------------------------------------------------------
"$FIRST" Kwibbel 20000 >"$WORK/first.txt" &
watcher=$!
sleep 0.3
t0=$(date +%s%N)
(cd "$PLAY" && SDL_AUDIODRIVER=dummy exec "$KWIBBEL" >"$PLAY/stdout" 2>"$PLAY/stderr") &
GAME_PID=$!
wait "$watcher"
window_ms=$(awk -v t0="$t0" '/^window/ { printf "%.1f", ($2 - t0) / 1e6 }' "$WORK/first.txt")
picture_ms=$(awk -v t0="$t0" '/^picture/ { printf "%.1f", ($2 - t0) / 1e6 }' "$WORK/first.txt")
WID="$(xdotool search --name '^Kwibbel$' | head -n1)"
xdotool windowfocus "$WID" 2>/dev/null
xdotool mousemove --window "$WID" 700 650
wait_menu || { echo "the main menu did not show"; exit 1; }

# ---- the idle main menu ------------------------------------------------------------------------------------------
sleep 2
rss_menu=$(rss_kb "$GAME_PID")
read -r idle_game idle_x <<<"$(cpu_over 10)"

# ---- a game at each difficulty ----------------------------------------------------------------------------------
choose_difficulty() {
    click_button 1 && wait_for 5 "${OPTIONS_MENU[@]}" && click_button 0 && wait_for 5 "${DIFF_MENU[@]}" &&
        click_button "$1" && wait_menu
}
# back_from_game: Escape, or (when the game has ended by itself meanwhile) a key on the highscore table.
back_from_game() {
    hold Escape 0.4
    local i
    for i in 1 2 3 4 5 6; do
        wait_any 10 MAIN_MENU HIGHSCORE_TABLE || return 1
        [ "$SEEN" = MAIN_MENU ] && return 0
        key space
    done
    return 1
}

# game_cpu <difficulty button>: CPU over 8 s of a one-player game on the level without walls (the snake
# runs straight and wraps round); tried again when the game ended early (a poisonous knurf in its way).
game_cpu() {
    local try figures
    choose_difficulty "$1"
    for try in 1 2 3; do
        click_button 0
        wait_for 5 "${SLOT_MENU[@]}"
        click_button 1
        wait_for 10 "${GAME_PANEL[@]}" || continue
        sleep 1
        figures="$(cpu_over 8)"
        # Still playing: the panel shows and the board changes from one moment to the next.
        import -window "$WID" "$WORK/a.png" 2>/dev/null
        sleep 0.5
        import -window "$WID" "$WORK/b.png" 2>/dev/null
        if shows "${GAME_PANEL[@]}" && ! compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>/dev/null; then
            back_from_game
            echo "$figures"
            return
        fi
        back_from_game
    done
    echo "- -"
}
read -r easy_game easy_x <<<"$(game_cpu 0)"
read -r medium_game medium_x <<<"$(game_cpu 1)"
read -r hard_game hard_x <<<"$(game_cpu 2)"

# ---- every screen once: the pictures each screen loads the first time stay for the run ----------------------
click_button 1; wait_for 5 "${OPTIONS_MENU[@]}"; click_button 2; wait_for 5 "${MODE_MENU[@]}"
click 120 $((75 + 3 * 85 + 27)); wait_menu
click_button 4; wait_for 5 "${HELP_SCREEN[@]}"; key space; wait_menu
click_button 3; wait_for 5 "${HIGHSCORE_TABLE[@]}"; key space; wait_menu
for slot in 0 3; do  # a game over for each player's end picture: the walled level, then the maze
    click_button 0; wait_for 5 "${SLOT_MENU[@]}"; click_button "$slot"
    wait_any 60 GAME_OVER_1 GAME_OVER_2; wait_for 10 "${HIGHSCORE_TABLE[@]}" && key space; wait_menu
done
click_button 2; wait_for 5 "${EDITOR_HELP[@]}"; key space; wait_for 10 "${EDITOR_PANEL[@]}"
hold Return 0.35; sleep 0.3; hold m 0.3; sleep 0.3; hold Escape 0.4; wait_menu
sleep 1
rss_warm=$(rss_kb "$GAME_PID")

# ---- 200 menu visits -------------------------------------------------------------------------------------------
# Each round shows a menu behind the main menu and comes back to a rebuilt main menu.
for i in $(seq 0 199); do
    case $((i % 4)) in
    0) click_button 1; sleep 0.08; click 120 $((75 + 3 * 85 + 30)) ;;  # options, back
    1) click_button 0; sleep 0.08; click 120 $((75 + 5 * 85 + 30)) ;;  # slots, back
    2) click_button 4; sleep 0.08; key space ;;                        # help
    3) click_button 3; sleep 0.08; key space ;;                        # highscores
    esac
    sleep 0.08
done
wait_menu || echo "warning: the main menu did not come back after the menu visits"
sleep 1
rss_visits=$(rss_kb "$GAME_PID")

# ---- 20 games -------------------------------------------------------------------------------------------------
choose_difficulty 2
for i in $(seq 0 19); do
    click_button 0
    wait_for 5 "${SLOT_MENU[@]}"
    click_button $((i % 5))
    wait_for 10 "${GAME_PANEL[@]}"
    if [ $((i % 5)) -eq 0 ]; then
        # Every fifth game, on the walled level, runs into a wall: game over and the table.
        wait_any 60 GAME_OVER_1 GAME_OVER_2
        wait_for 10 "${HIGHSCORE_TABLE[@]}" && key space
        wait_menu || { echo "warning: game $i did not return to the menu"; break; }
    else
        sleep 0.5
        back_from_game || { echo "warning: game $i did not return to the menu"; break; }
    fi
done
sleep 1
rss_games=$(rss_kb "$GAME_PID")

CLOSED_AT="$(date +%s%3N)"
click_button 5
wait_exit 10

# ---- the figures -----------------------------------------------------------------------------------------------
echo
echo "Kwibbel program benchmark: one run under Xvfb, $(nproc) cores, $(date -u +'%Y-%m-%d %H:%M UTC')"
printf '  %-44s %s\n' \
    "window on the screen after start" "$window_ms ms" \
    "first picture in the window after start" "$picture_ms ms (aim: within 100 ms)" \
    "idle main menu, CPU of one core" "game $idle_game %, X server $idle_x % (aim: under 1 %)" \
    "game on easy, CPU of one core" "game $easy_game %, X server $easy_x % (aim: under 2 %)" \
    "game on medium, CPU of one core" "game $medium_game %, X server $medium_x %" \
    "game on hard, CPU of one core" "game $hard_game %, X server $hard_x %" \
    "resident memory after the first menu" "$(mb "$rss_menu")" \
    "... after every screen once" "$(mb "$rss_warm") (+$(mb $((rss_warm - rss_menu))): each screen's pictures, kept)" \
    "... after 200 more menu visits" "$(mb "$rss_visits") (+$(mb $((rss_visits - rss_warm))) over every screen once)" \
    "... and after 20 more games" "$(mb "$rss_games") (+$(mb $((rss_games - rss_warm))) over every screen once," \
    "" "+$(mb $((rss_games - rss_menu))) over the first menu; aim: within 5 MB)"
echo "  program ended with status ${EXIT_STATUS:-?}"
