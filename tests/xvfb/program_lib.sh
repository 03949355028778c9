# Helpers for the whole-program tests: an X server of our own, a play folder per run, the game driven with
# xdotool like a player, and screen checks that compare what the window shows with the game's own pictures.
# Positions are the game's units (800 by 680); `view` tells the helpers where and how large the window shows
# the picture when it is not the window's whole client area at scale 1.
#
# Source it with the build folder and the source folder:  . program_lib.sh <build dir> <source dir>
# Every helper that waits has a limit, so a broken program fails the test instead of hanging it.

BUILD="$(cd "$1" && pwd)"
SRC="$(cd "$2" && pwd)"
KWIBBEL="$BUILD/kwibbel"
XCLOSE="$BUILD/tests/xclosewindow"
DATA="$BUILD/data"
WORK="$(mktemp -d /tmp/kwibbel-program-XXXXXX)"
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"
WID=""

for tool in Xvfb xdotool import compare identify; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
[ -x "$KWIBBEL" ] || { echo "missing $KWIBBEL"; exit 1; }
[ -x "$XCLOSE" ] || { echo "missing $XCLOSE"; exit 1; }
# picture_file <folder> <name.bmp>: the file the game reads for a picture: the BMP when it is there, else the
# PNG of the same name, which the game's own pictures are stored as; fails when neither is there.
picture_file() {
    if [ -f "$1/$2" ]; then echo "$1/$2"; elif [ -f "$1/${2%.bmp}.png" ]; then echo "$1/${2%.bmp}.png"; else return 1; fi
}
picture_file "$DATA/bitmap" play1.bmp >/dev/null || { echo "missing the generated pictures in $DATA"; exit 1; }

# Our own X server on the first free display number.
start_x() { xvfb_start; }

# A fresh play folder with the built pictures (both sets), sounds and shipped save files: $PLAY.
new_play_folder() {
    PLAY="$(mktemp -d "$WORK/play-XXXXXX")"
    cp -r "$DATA/bitmap" "$DATA/audio" "$DATA/savefiles" "$PLAY/"
    [ -d "$DATA/bitmap2x" ] && cp -r "$DATA/bitmap2x" "$PLAY/"
    cp -r "$PLAY/savefiles" "$PLAY/savefiles.before"
}

# The view: the picture's scale in the window, its top-left there ($VIEW_X, $VIEW_Y) and its size.
VIEW_SCALE=1 VIEW_X=0 VIEW_Y=0 VIEW_W=800 VIEW_H=680
# view_for <width> <height>: the view of a window's client area of that size, as the game lays it out: as
# large as fits, centred.
view_for() {
    read -r VIEW_SCALE VIEW_X VIEW_Y VIEW_W VIEW_H < <(awk -v w="$1" -v h="$2" 'BEGIN {
        s = w / 800; if (h / 680 < s) s = h / 680
        sw = int(800 * s + 0.5); sh = int(680 * s + 0.5)
        printf "%s %d %d %d %d\n", s, int((w - sw) / 2), int((h - sh) / 2), sw, sh }')
}
# at <x> <y>: the window's pixel where game unit (x, y) begins.
at() { awk -v s="$VIEW_SCALE" -v x="$1" -v y="$2" -v ox="$VIEW_X" -v oy="$VIEW_Y" \
    'BEGIN { printf "%d %d\n", ox + int(x * s + 0.999999), oy + int(y * s + 0.999999) }'; }
# pointer <x> <y>: the pointer to game unit (x, y), in the middle of that unit on the screen.
pointer() {
    local wx wy
    read -r wx wy < <(awk -v s="$VIEW_SCALE" -v x="$1" -v y="$2" -v ox="$VIEW_X" -v oy="$VIEW_Y" \
        'BEGIN { printf "%d %d\n", ox + int((x + 0.5) * s), oy + int((y + 0.5) * s) }')
    xdotool mousemove --window "$WID" "$wx" "$wy"
}

# Starts the game in $PLAY without sound hardware and finds its window: $GAME_PID, $WID.
start_game() {
    (cd "$PLAY" && SDL_AUDIODRIVER=dummy exec "$KWIBBEL" >"$PLAY/stdout" 2>"$PLAY/stderr") &
    GAME_PID=$!
    WID="$(window_of Kwibbel "$GAME_PID")"
    if [ -z "$WID" ]; then
        fail "the game window did not appear"
        return 1
    fi
    xdotool windowfocus "$WID" 2>/dev/null
    # Keep the pointer off the buttons, so they show their normal pictures.
    pointer 700 650
    return 0
}

# The window's picture now, as $WORK/screen.png.
grab() { import -window "$WID" "$WORK/screen.png" 2>/dev/null; }

# shows <picture> <x> <y> [max differing pixels] [part WxH]: TRUE when the window shows the picture (a file
# under bitmap/, at its own size, or only its top-left part) at (x, y). Text drawn over a picture is allowed
# for by the limit, or left out of the part compared. At scale 2 the window is compared with the picture of
# bitmap2x/ pixel for pixel; at other scales the window's picture is brought back to the game's size, and
# its part and the picture are both brought to a quarter of their size and compared there (the limit a
# sixteenth, and a few pixels more for the scaling).
shows() {
    local file x="$2" y="$3" limit="${4:-0}" part="${5:-}" twice
    local size="$part" fuzz=6% quarter=
    file="$(picture_file "$PLAY/bitmap" "$1")" || return 1
    [ -n "$size" ] || size="$(identify -format '%wx%h' "$file" 2>/dev/null)" || return 1
    if [ "$VIEW_SCALE" = 1 ] && [ "$VIEW_X$VIEW_Y" = 00 ]; then
        import -window "$WID" -crop "${size}+${x}+${y}" +repage "$WORK/crop.png" 2>/dev/null || return 1
    elif [ "$VIEW_SCALE" = 2 ] && twice="$(picture_file "$PLAY/bitmap2x" "$1")"; then
        local w="${size%x*}" h="${size#*x}" wx wy
        read -r wx wy < <(at "$x" "$y")
        size="$((2 * w))x$((2 * h))"
        [ -n "$part" ] && part="$size"
        file="$twice"
        limit=$((4 * limit))
        import -window "$WID" -crop "${size}+${wx}+${wy}" +repage "$WORK/crop.png" 2>/dev/null || return 1
    else
        local w="${size%x*}" h="${size#*x}"
        quarter="$(((w + 3) / 4))x$(((h + 3) / 4))"
        import -window "$WID" -crop "${VIEW_W}x${VIEW_H}+${VIEW_X}+${VIEW_Y}" +repage -resize '800x680!' \
            -crop "${size}+${x}+${y}" +repage -resize "${quarter}!" "$WORK/crop.png" 2>/dev/null || return 1
        limit=$((limit / 16 + w * h / 3200))
        fuzz=8%
    fi
    if [ -n "$part" ]; then
        convert "$file" -crop "${part}+0+0" +repage "$WORK/part.png" 2>/dev/null || return 1
        file="$WORK/part.png"
    fi
    if [ -n "$quarter" ]; then
        convert "$file" -resize "${quarter}!" "$WORK/quarter.png" 2>/dev/null || return 1
        file="$WORK/quarter.png"
    fi
    local diff
    diff="$(compare -metric AE -fuzz "$fuzz" "$WORK/crop.png" "$file" null: 2>&1)"
    # The count as a whole number (large counts come as 1.3e+06).
    diff="$(awk '$1 ~ /^[0-9.e+]+$/ { printf "%d", $1 }' <<<"${diff%% *}")"
    [ -n "$diff" ] && [ "$diff" -le "$limit" ] 2>/dev/null
}

# wait_for <seconds> <picture> <x> <y> [limit]: polls the window until it shows the picture.
wait_for() {
    local limit_s="$1"
    shift
    local end=$((SECONDS + limit_s))
    while [ $SECONDS -le $end ]; do
        shows "$@" && return 0
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

# wait_any <seconds> <screen>...: polls until the window shows one of the screens (names of the arrays
# below); $SEEN is the one it showed.
wait_any() {
    local limit_s="$1"
    shift
    local end=$((SECONDS + limit_s)) name
    while [ $SECONDS -le $end ]; do
        for name in "$@"; do
            local -n screen="$name"
            if shows "${screen[@]}"; then
                SEEN="$name"
                return 0
            fi
        done
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Where things stand on the screen, read from the game's own layout header.
layout() { sed -n "s/.*\b$1 = \([0-9]*\).*/\1/p" "$SRC/game/Layout.h" | head -n1; }
PANEL_Y="$(layout PANEL_Y)"
PLATE_Y=$((PANEL_Y + $(layout PLATE_TOP)))
PLATE2_X="$(sed -n 's/.*PLATE_X\[2\] = {[0-9]*, \([0-9]*\)}.*/\1/p' "$SRC/game/Layout.h")"
MENU_Y="$(layout MENU_Y)"
MENU_GAP="$(layout MENU_GAP)"
[ -n "$PANEL_Y" ] && [ -n "$MENU_Y" ] && [ -n "$MENU_GAP" ] && [ -n "$PLATE2_X" ] ||
    { echo "cannot read game/Layout.h"; exit 1; }

# The screens, recognised by a picture that only they show.
MAIN_MENU=(play1.bmp 100 75)
SLOT_MENU=(slot1.bmp 100 75)
OPTIONS_MENU=(diff1.bmp 100 75)
DIFF_MENU=(easy1.bmp 100 75)
MODE_MENU=(sp1.bmp 100 75)
HELP_SCREEN=(helptext.bmp 0 0)
LOADING_SCREEN=(loadscreen1.bmp 0 0)
COUNTDOWN_3=(3.bmp 360 310)
COUNTDOWN_2=(2.bmp 360 310)
COUNTDOWN_1=(1.bmp 360 310)
# The game writes its words over the band y 430..590 of the game-over pictures: the art above it tells them apart.
GAME_OVER_1=(gameover.bmp 0 0 0 800x420)
GAME_OVER_2=(gameover2.bmp 0 0 0 800x420)
GAME_OVER_BOTH=(gameoverboth.bmp 0 0 0 800x420)
GAME_OVER_KNURF=(gameoverknurf.bmp 0 0 0 800x420)
REFUSED_LEVEL=(refusedlevel.bmp 0 0 0 800x300)
# The key screens and the editor panel carry a line of the game's words over their pictures.
KEY_SCREEN_LEFT=(arrowleft.bmp 0 0 3000)
KEY_REFUSED=(fail.bmp 0 0)
HIGHSCORE_TABLE=(highscoretable.bmp 0 0 30000)
# The panel with the plates of the players in play and their scores over it.
GAME_PANEL=(hud.bmp 0 "$PANEL_Y" 24000)
KEY_SCREEN=(arrowright.bmp 0 0 3000)
EDITOR_HELP=(levelmakerhelp.bmp 0 0)
EDITOR_PANEL=(editorhud.bmp 0 "$PANEL_Y" 3000)

wait_menu() { wait_for 30 "${MAIN_MENU[@]}"; }
# wait_play: a game is under way: its panel shows, and the countdown over its board has ended.
wait_play() {
    wait_for 10 "${GAME_PANEL[@]}" || return 1
    local end=$((SECONDS + 5))
    while shows "${COUNTDOWN_3[@]}" || shows "${COUNTDOWN_2[@]}" || shows "${COUNTDOWN_1[@]}"; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

# click <x> <y>: a left click at window position (x, y); the pointer then leaves the buttons. A click within
# 0.6 s of the one before could be its double click, which a menu drops when the first click chose the
# screen before it, so clicks come at least that far apart, as a player's next choice does.
LAST_CLICK_MS=0
click() {
    local gap=$(($(date +%s%3N) - LAST_CLICK_MS))
    [ "$gap" -lt 600 ] && sleep "$(printf '0.%03d' $((600 - gap)))"
    pointer "$1" "$2"
    xdotool click 1
    LAST_CLICK_MS=$(date +%s%3N)
    sleep 0.05
    # The window is gone after a click on quit.
    pointer 700 650 2>/dev/null
}
# Buttons of a menu column: button k spans y = MENU_Y + MENU_GAP k .. +height.
button_y() { echo $((MENU_Y + MENU_GAP * $1 + 25)); }
click_button() { click 150 "$(button_y "$1")"; }
key() { xdotool key "$@"; }
# hold <key> <seconds>: the key held down, as the game reads held keys between its steps.
hold() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

# Asks the window to close as the title bar's close button does; $CLOSED_AT is the time in ms.
close_window() {
    CLOSED_AT="$(date +%s%3N)"
    "$XCLOSE" "$WID"
}

# wait_exit <seconds>: waits for the game to end; $EXIT_STATUS and $EXIT_MS (ms since close_window).
wait_exit() {
    local end=$((SECONDS + $1))
    while kill -0 "$GAME_PID" 2>/dev/null && [ $SECONDS -le $end ]; do sleep 0.02; done
    if kill -0 "$GAME_PID" 2>/dev/null; then
        EXIT_STATUS=timeout
        kill -9 "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
        return 1
    fi
    wait "$GAME_PID"
    EXIT_STATUS=$?
    EXIT_MS=$(($(date +%s%3N) - ${CLOSED_AT:-0}))
    GAME_PID=""
    return 0
}

# The console ends with the farewell: a line end, the words, a line end.
said_farewell() {
    [ "$(tail -c 32 "$PLAY/stdout" | od -An -c | tr -s ' ')" = "$(printf '\nThank you for playing Kwibbel!\n' | od -An -c | tr -s ' ')" ]
}

# save_files_unchanged [file...]: every save file is as it was, except the ones named.
save_files_unchanged() {
    local f name ok=0
    for f in "$PLAY/savefiles.before"/*; do
        name="$(basename "$f")"
        case " $* " in *" $name "*) continue ;; esac
        cmp -s "$f" "$PLAY/savefiles/$name" || { log "changed: $name"; ok=1; }
    done
    # No temporary file of a save may be left behind.
    [ "$(ls "$PLAY/savefiles" | wc -l)" -eq "$(ls "$PLAY/savefiles.before" | wc -l)" ] || { log "extra files: $(ls "$PLAY/savefiles")"; ok=1; }
    return $ok
}

# close_and_check <screen> [save file allowed to change...]: closes the window like a player and checks that
# the program ended promptly and cleanly: status 0, the farewell, no save file touched but the ones named.
close_and_check() {
    local what="$1"
    shift
    close_window
    if ! wait_exit 10; then
        fail "$what: the program did not end within 10 s after its window was closed"
        return
    fi
    log "$what: ended ${EXIT_MS} ms after the close, status $EXIT_STATUS"
    check "$what: exit status 0" [ "$EXIT_STATUS" = 0 ] || sed 's/^/    stderr: /' "$PLAY/stderr" | tail -n 8
    check "$what: ended within 1.5 s (aim 0.5 s)" [ "$EXIT_MS" -lt 1500 ]
    check "$what: farewell line last" said_farewell
    check "$what: save files unchanged" save_files_unchanged "$@"
}
