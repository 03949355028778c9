#!/usr/bin/env bash
# Kwibbel installed as a player gets it: installed into a prefix of its own and made read-only, started by its
# path from an unrelated folder with a new home folder. It makes the play folder in the home folder, copies the
# shipped save files there, plays a game whose highscore lands there, keeps a player's changed files on the next
# start and writes nothing into the install tree. Also: the command line, the desktop files, a missing data
# folder, and the Debian package.
set -u
. "$(dirname "$0")/program_lib.sh" "$1" "$2"

PREFIX="$WORK/prefix"
HOME_DIR="$WORK/home"
ELSEWHERE="$WORK/elsewhere"
mkdir -p "$HOME_DIR" "$ELSEWHERE"
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 || { cat "$WORK/install.log"; exit 1; }
SHARE="$PREFIX/share/kwibbel"
APP=org.kwibbel.Kwibbel
INSTALLED="$PREFIX/bin/kwibbel"

# ---- the installed tree ------------------------------------------------------------------------------------
check "install: the program in bin/" [ -x "$INSTALLED" ]
check "install: pictures, sounds and save files in share/kwibbel/" \
    [ -f "$SHARE/bitmap/play1.png" -a -f "$SHARE/audio/menumusic.mp3" -a -f "$SHARE/savefiles/highscores.txt" ]
for size in 16 32 48 64 128 256; do
    check "install: the ${size} px icon" [ "$(identify -format '%wx%h' "$PREFIX/share/icons/hicolor/${size}x${size}/apps/$APP.png" 2>/dev/null)" = "${size}x${size}" ]
done
# Both picture sets are stored as PNG: 9 MB where their BMPs took 150 MB.
installed_kb="$(du -sk --apparent-size "$PREFIX" | cut -f1)"
log "installed: $((installed_kb / 1024)) MB"
check "install: at most 25 MB installed" [ "$installed_kb" -le $((25 * 1024)) ]
check "install: the pictures as PNG, no BMP" [ -f "$SHARE/bitmap2x/play1.png" -a -z "$(find "$SHARE" -name '*.bmp')" ]
check "the desktop entry is valid" desktop-file-validate "$PREFIX/share/applications/$APP.desktop"
check "the AppStream metainfo is valid" appstreamcli validate --no-net "$PREFIX/share/metainfo/$APP.metainfo.xml"
chmod -R a-w "$PREFIX"
snapshot() { (cd "$PREFIX" && find . -printf '%p %s %T@ %m\n' | sort); }
snapshot >"$WORK/tree.before"

# ---- the command line --------------------------------------------------------------------------------------
run_installed() { (cd "$ELSEWHERE" && HOME="$HOME_DIR" env -u XDG_DATA_HOME "$@" >"$WORK/out" 2>"$WORK/err"); }
run_installed "$INSTALLED" --help
check "--help: exit status 0" [ $? -eq 0 ]
check "--help: says where the save files are" grep -q "$HOME_DIR/.local/share/kwibbel/savefiles" "$WORK/out"
run_installed "$INSTALLED" --version
check "--version: the version" [ $? -eq 0 -a "$(cat "$WORK/out")" = "Kwibbel $(sed -n 's/^project(Kwibbel VERSION \([0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")" ]
run_installed "$INSTALLED" --no-such-option
check "an unknown argument: status 2, one error line and the usage" \
    [ $? -eq 2 -a "$(wc -l <"$WORK/err")" -eq 2 -a "$(head -n1 "$WORK/err")" = "kwibbel: unexpected argument '--no-such-option'" ]
check "the command line makes no play folder" [ ! -e "$HOME_DIR/.local" ]

# A program without its data: one line naming where it looked, status 1.
mkdir -p "$WORK/lonely/bin"
cp "$BUILD/kwibbel" "$WORK/lonely/bin/"
run_installed "$WORK/lonely/bin/kwibbel"
status=$?
check "no data folder: exit status 1 (got $status)" [ "$status" -eq 1 ]
check "no data folder: one line naming the folder it looked in" \
    [ "$(cat "$WORK/err" "$WORK/out" | wc -l)" -eq 1 ] && grep -q "$WORK/lonely/bin/../share/kwibbel" "$WORK/err"

# ---- playing the installed game ---------------------------------------------------------------------------------
start_x
# The screen checks compare with the installed pictures; the console goes to $PLAY.
PLAY="$WORK/look"
mkdir -p "$PLAY"
ln -s "$SHARE/bitmap" "$PLAY/bitmap"
MINE="$HOME_DIR/.local/share/kwibbel"

start_installed() {
    (cd "$ELSEWHERE" && HOME="$HOME_DIR" SDL_AUDIODRIVER=dummy exec env -u XDG_DATA_HOME "$INSTALLED" \
        >"$PLAY/stdout" 2>"$PLAY/stderr") &
    GAME_PID=$!
    WID="$(window_of Kwibbel "$GAME_PID")"
    [ -n "$WID" ] || { fail "the installed game's window did not appear"; return 1; }
    xdotool windowfocus "$WID" 2>/dev/null
    xdotool mousemove --window "$WID" 700 650
}
quit_installed() {
    close_window
    check "$1: ended with status 0" wait_exit 10
}

log "---- first start with a new home folder"
start_installed && check "first start: the main menu" wait_menu
# Docks match the window to its desktop entry by the window's class.
wm_class="$(xprop -id "$WID" WM_CLASS | sed 's/.*= //; s/.*, "\(.*\)"/\1/')"
check "the window's class ($wm_class) is the desktop entry's StartupWMClass" \
    grep -qx "StartupWMClass=$wm_class" "$PREFIX/share/applications/$APP.desktop"
quit_installed "first start"
for f in "$SHARE"/savefiles/*; do
    check "first start: $(basename "$f") copied into the play folder" cmp -s "$f" "$MINE/savefiles/$(basename "$f")"
done
check "first start: no pictures or sounds copied" [ ! -e "$MINE/bitmap" -a ! -e "$MINE/audio" ]

# A custom level of the player's own in which every knurf lands in the snake's way: row 15 is the only free row.
{
    for r in $(seq 30); do
        if [ "$r" -eq 15 ]; then printf 'MSSSS'; printf -- '-%.0s' $(seq 34); printf 'M\r\n'
        else printf 'M%.0s' $(seq 40); printf '\r\n'; fi
    done
} >"$MINE/savefiles/custom.txt"

log "---- a game on the player's custom level"
start_installed && wait_menu
click_button 0
wait_for 5 "${SLOT_MENU[@]}"
click_button 4
check "game: the game over picture" wait_any 60 GAME_OVER_1 GAME_OVER_2
check "game: the highscore table" wait_for 10 "${HIGHSCORE_TABLE[@]}"
key space
wait_menu
quit_installed "after the game"
check "game: the new highscore is in the player's highscore file" \
    bash -c "! cmp -s '$SHARE/savefiles/highscores.txt' '$MINE/savefiles/highscores.txt'"
log "highscores now: $(tr -d '\r' <"$MINE/savefiles/highscores.txt" | tr '\n' ' ')"

log "---- a later start keeps the player's files"
cp -r "$MINE/savefiles" "$WORK/mine.before"
start_installed && check "later start: the main menu" wait_menu
quit_installed "later start"
check "later start: the highscores byte for byte" cmp -s "$WORK/mine.before/highscores.txt" "$MINE/savefiles/highscores.txt"
check "later start: the custom level byte for byte" cmp -s "$WORK/mine.before/custom.txt" "$MINE/savefiles/custom.txt"

snapshot >"$WORK/tree.after"
check "nothing was written into the install tree" cmp -s "$WORK/tree.before" "$WORK/tree.after"
chmod -R u+w "$PREFIX"

# ---- the Debian package ----------------------------------------------------------------------------------------
log "---- cpack -G DEB"
if (cd "$BUILD" && cpack -G DEB -B "$WORK/package" >"$WORK/cpack.log" 2>&1); then
    deb="$(ls "$WORK"/package/kwibbel_*.deb 2>/dev/null | head -n1)"
    check "package: named kwibbel_<version>_<arch>.deb" [ -n "$deb" ]
    dpkg-deb -c "$deb" | awk '{print $6}' >"$WORK/contents"
    for f in ./usr/bin/kwibbel ./usr/share/kwibbel/bitmap/play1.png ./usr/share/kwibbel/audio/menumusic.mp3 \
        ./usr/share/kwibbel/savefiles/highscores.txt ./usr/share/applications/$APP.desktop \
        ./usr/share/metainfo/$APP.metainfo.xml ./usr/share/icons/hicolor/256x256/apps/$APP.png; do
        check "package: holds $f" grep -qx "$f" "$WORK/contents"
    done
    depends="$(dpkg-deb -f "$deb" Depends)"
    log "package: $(dpkg-deb -f "$deb" Installed-Size) KB installed"
    log "package depends on: $depends"
    for dep in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libsdl2-image-2.0-0 fonts-dejavu-core libenet7; do
        check "package: depends on $dep" grep -q "$dep" <<<"$depends"
    done
else
    fail "cpack could not make the package"
    tail -n 20 "$WORK/cpack.log"
fi
finish
