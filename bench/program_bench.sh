#!/usr/bin/env bash
# The whole program measured under an X server of its own, driven by xdotool like a player, once with the
# window at the game's size (1x) and once at twice its size (2x, 1600 by 1360): time from start to the first
# picture in the window; CPU (the game's process and the X server's) in an idle main menu and during a game at
# each difficulty; resident memory after the first menu, after every screen once, after 200 menu visits and
# after 20 games. Then, with a window manager, how long a resize and a switch to fullscreen take to show the
# new picture. Prints the figures side by side; checks nothing.
#
#   bench/program_bench.sh <build dir> <source dir>      (or: cmake --build build --target program_bench)
set -u
XVFB_SCREEN=1920x1600x24
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
        wait_play || continue
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

# measure <scale 1 or 2>: one whole run with the window at that scale; the figures go into R[<scale>,name].
declare -A R
measure() {
    local k="$1" w=$((800 * $1)) h=$((680 * $1))
    new_play_folder
    printf 'window-width=%d\nwindow-height=%d\nwindow-x=40\nwindow-y=40\n' "$w" "$h" >"$PLAY/settings.txt"
    view_for "$w" "$h"

    # ---- start: the first picture --------------------------------------------------------------------------
    "$FIRST" Kwibbel 20000 >"$WORK/first.txt" &
    local watcher=$!
    sleep 0.3
    local t0
    t0=$(date +%s%N)
    (cd "$PLAY" && SDL_AUDIODRIVER=dummy exec "$KWIBBEL" >"$PLAY/stdout" 2>"$PLAY/stderr") &
    GAME_PID=$!
    wait "$watcher"
    R[$k,window]=$(awk -v t0="$t0" '/^window/ { printf "%.1f", ($2 - t0) / 1e6 }' "$WORK/first.txt")
    R[$k,picture]=$(awk -v t0="$t0" '/^picture/ { printf "%.1f", ($2 - t0) / 1e6 }' "$WORK/first.txt")
    WID="$(window_of Kwibbel "$GAME_PID")"
    xdotool windowfocus "$WID" 2>/dev/null
    pointer 700 650
    wait_menu || { echo "the main menu did not show at ${k}x"; return 1; }

    # ---- the idle main menu ------------------------------------------------------------------------------------
    sleep 2
    R[$k,rss_menu]=$(rss_kb "$GAME_PID")
    read -r R[$k,idle_game] R[$k,idle_x] <<<"$(cpu_over 10)"

    # ---- a game at each difficulty -----------------------------------------------------------------------------
    read -r R[$k,easy_game] R[$k,easy_x] <<<"$(game_cpu 0)"
    read -r R[$k,medium_game] R[$k,medium_x] <<<"$(game_cpu 1)"
    read -r R[$k,hard_game] R[$k,hard_x] <<<"$(game_cpu 2)"

    # ---- every screen once ---------------------------------------------------------------------------------------
    click_button 1; wait_for 5 "${OPTIONS_MENU[@]}"; click_button 2; wait_for 5 "${MODE_MENU[@]}"
    click 120 $((75 + 3 * 85 + 27)); wait_menu
    click_button 4; wait_for 5 "${HELP_SCREEN[@]}"; key space; wait_menu
    click_button 3; wait_for 5 "${HIGHSCORE_TABLE[@]}"; key space; wait_menu
    local slot i
    for slot in 0 3; do  # a game over for each player's end picture: the walled level, then the maze
        click_button 0; wait_for 5 "${SLOT_MENU[@]}"; click_button "$slot"
        wait_any 60 GAME_OVER_1 GAME_OVER_2; wait_for 10 "${HIGHSCORE_TABLE[@]}" && key space; wait_menu
    done
    click_button 2; wait_for 5 "${EDITOR_HELP[@]}"; key space; wait_for 10 "${EDITOR_PANEL[@]}"
    hold Return 0.35; sleep 0.3; hold m 0.3; sleep 0.3; hold Escape 0.4; wait_menu
    sleep 1
    R[$k,rss_warm]=$(rss_kb "$GAME_PID")

    # ---- 200 menu visits ------------------------------------------------------------------------------------------
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
    wait_menu || echo "warning: the main menu did not come back after the menu visits at ${k}x"
    sleep 1
    R[$k,rss_visits]=$(rss_kb "$GAME_PID")

    # ---- 20 games ---------------------------------------------------------------------------------------------------
    choose_difficulty 2
    for i in $(seq 0 19); do
        click_button 0
        wait_for 5 "${SLOT_MENU[@]}"
        click_button $((i % 5))
        wait_play
        if [ $((i % 5)) -eq 0 ]; then
            # Every fifth game, on the walled level, runs into a wall: game over and the table.
            wait_any 60 GAME_OVER_1 GAME_OVER_2
            wait_for 10 "${HIGHSCORE_TABLE[@]}" && key space
            wait_menu || { echo "warning: game $i did not return to the menu at ${k}x"; break; }
        else
            sleep 0.5
            back_from_game || { echo "warning: game $i did not return to the menu at ${k}x"; break; }
        fi
    done
    sleep 1
    R[$k,rss_games]=$(rss_kb "$GAME_PID")

    CLOSED_AT="$(date +%s%3N)"
    click_button 5
    wait_exit 10
    R[$k,status]="${EXIT_STATUS:-?}"
}

# shown_after <x> <y> <command...>: ms from the command until the window's pixel (x, y) shows the picture.
shown_after() {
    local x="$1" y="$2" t0
    shift 2
    "$FIRST" --window "$WID" 5000 "$x" "$y" >"$WORK/shown.txt" &
    local watcher=$!
    sleep 0.3
    t0=$(date +%s%N)
    "$@"
    wait "$watcher"
    awk -v t0="$t0" '/^picture/ { printf "%.1f", ($2 - t0) / 1e6 }' "$WORK/shown.txt"
}

# ---- the window's own changes, with a window manager: a resize from 1x to 2x, fullscreen from there ----------------
switch_times() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    local i
    for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
    new_play_folder
    printf 'window-width=800\nwindow-height=680\n' >"$PLAY/settings.txt"
    view_for 800 680
    start_game
    wait_menu
    sleep 1
    # The new parts of the window are black until the game's picture reaches them.
    RESIZE_MS="$(shown_after 1590 1350 xdotool windowsize "$WID" 1600 1360)"
    view_for 1600 1360
    sleep 1
    xdotool windowactivate --sync "$WID" 2>/dev/null
    FULLSCREEN_MS="$(shown_after 960 1590 xdotool key F11)"
    sleep 0.5
    key F11
    sleep 0.5
    close_window
    wait_exit 10
}

start_x
measure 1
measure 2
switch_times

# ---- the figures -----------------------------------------------------------------------------------------------
row() { printf '  %-40s %-26s %s\n' "$1" "$2" "$3"; }
cpu() { echo "game ${R[$1,${2}_game]} %, X ${R[$1,${2}_x]} %"; }
echo
echo "Kwibbel program benchmark: under Xvfb (1920x1600), $(nproc) cores, $(date -u +'%Y-%m-%d %H:%M UTC')"
row "" "1x (800 by 680)" "2x (1600 by 1360)"
row "window on the screen after start" "${R[1,window]} ms" "${R[2,window]} ms"
row "first picture in the window after start" "${R[1,picture]} ms" "${R[2,picture]} ms (aim: within 100 ms)"
row "idle main menu, CPU of one core" "$(cpu 1 idle)" "$(cpu 2 idle) (aim: under 1 %)"
row "game on easy, CPU of one core" "$(cpu 1 easy)" "$(cpu 2 easy)"
row "game on medium, CPU of one core" "$(cpu 1 medium)" "$(cpu 2 medium) (aim: under 2 %)"
row "game on hard, CPU of one core" "$(cpu 1 hard)" "$(cpu 2 hard)"
for k in 1 2; do
    R[$k,d_warm]=$(mb $((${R[$k,rss_warm]} - ${R[$k,rss_menu]})))
    R[$k,d_visits]=$(mb $((${R[$k,rss_visits]} - ${R[$k,rss_warm]})))
    R[$k,d_games]=$(mb $((${R[$k,rss_games]} - ${R[$k,rss_warm]})))
done
row "resident memory after the first menu" "$(mb "${R[1,rss_menu]}")" "$(mb "${R[2,rss_menu]}")"
row "... after every screen once" "$(mb "${R[1,rss_warm]}") (+${R[1,d_warm]})" \
    "$(mb "${R[2,rss_warm]}") (+${R[2,d_warm]}; 2x-1x: $(mb $((${R[2,rss_warm]} - ${R[1,rss_warm]}))), aim: within 40 MB)"
row "... after 200 more menu visits" "$(mb "${R[1,rss_visits]}") (+${R[1,d_visits]})" \
    "$(mb "${R[2,rss_visits]}") (+${R[2,d_visits]})"
row "... and after 20 more games" "$(mb "${R[1,rss_games]}") (+${R[1,d_games]})" \
    "$(mb "${R[2,rss_games]}") (+${R[2,d_games]}; 2x-1x: $(mb $((${R[2,rss_games]} - ${R[1,rss_games]}))))"
row "program ended with status" "${R[1,status]}" "${R[2,status]}"
echo "  with openbox: a resize from 1x to 2x shows the new picture after ${RESIZE_MS:-?} ms, a switch to"
echo "  fullscreen (1920 by 1600) after ${FULLSCREEN_MS:-?} ms (aim: within 100 ms)"
