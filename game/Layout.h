// Layout: where things stand on the game's screen, in its own units: pixels of the 800 by 680 picture
// (the window layer scales that picture to the window). The game's code, the picture generators in tools/
// and the tests all take these numbers from here, so a picture and the text the game writes over it agree.
#pragma once

#include <cstdint>

namespace Layout {

// ---- the screen and the board ------------------------------------------------------------------------------

const int32_t SCREEN_WIDTH = 800, SCREEN_HEIGHT = 680;
const int32_t CELL = 20;                   // a board cell is CELL by CELL pixels
const int32_t ROWS = 30, COLUMNS = 40;     // the board fills rows 1..30, columns 1..40 from the top left
const int32_t BOARD_HEIGHT = ROWS * CELL;  // 600; the score panel lies below

// ---- the score panel ---------------------------------------------------------------------------------------

const int32_t PANEL_Y = 601;  // top of the panel picture (hud.bmp, 800 by 80)
const int32_t PANEL_HEIGHT = 80;
// Each player's plate is cut from the panel picture: its place there (y relative to the panel), its size.
const int32_t PLATE_X[2] = {124, 257}, PLATE_TOP = 8, PLATE_WIDTH = 128, PLATE_HEIGHT = 66;
const int32_t PLATE_Y = PANEL_Y + PLATE_TOP;
// Player p's score (p = 1, 2) is written with its top-left at (ScoreX(p), SCORE_Y).
inline int32_t ScoreX(uint32_t player) { return (int32_t)player * SCREEN_WIDTH / 6; }  // 133, 266
const int32_t SCORE_Y = 640;
// The knurf player's plate (snake against knurf) shows the knurf and its task, and under the task the
// player's points, in the small font, with their top-left at (KNURF_SCORE_X, KNURF_SCORE_Y).
const int32_t KNURF_SCORE_X = PLATE_X[1] + 36, KNURF_SCORE_Y = PLATE_Y + 42;

// ---- other screens -------------------------------------------------------------------------------------------

// The highscore table writes rank i's number (i = 1..10) with its top-left at (HIGHSCORE_X, HighscoreY(i)).
const int32_t HIGHSCORE_X = 200;
inline int32_t HighscoreY(int32_t rank) { return 52 * rank + 72; }  // 124, 176, ..., 592
const int32_t HIGHSCORE_TEXT_HEIGHT = 30;
// The game-over pictures leave the band below their art for the words the game writes there.
const int32_t GAME_OVER_WORDS_TOP = 430, GAME_OVER_WORDS_BOTTOM = 590;
// The refused-level picture leaves a band for which level, what it lacks and the mode.
const int32_t REFUSED_WORDS_TOP = 320, REFUSED_WORDS_BOTTOM = 580;
// The countdown before a game: 100 by 100 pictures with their top-left here.
const int32_t COUNT_X = 360, COUNT_Y = 310, COUNT_SIZE = 100;
// The key screen names the key a direction has now, centred, with its top at KEY_NOW_Y (between the
// direction's number and its arrow).
const int32_t KEY_NOW_Y = 110;
// The level maker's panel ends its first row with the Enter key's cap; the editor writes what Enter does
// now after it, with its top-left at (EDITOR_ENTER_WORDS_X, PANEL_Y + EDITOR_ENTER_WORDS_TOP); the second
// row ends with the Escape key's cap, and what Escape does stands after it, at the ESC_WORDS place.
const int32_t EDITOR_ENTER_WORDS_X = 292, EDITOR_ENTER_WORDS_TOP = 17;
const int32_t EDITOR_ESC_WORDS_X = 680, EDITOR_ESC_WORDS_TOP = 49;
// Every menu is a column of buttons: the first one's top-left, and the distance from one top to the next.
const int32_t MENU_X = 100, MENU_Y = 75, MENU_GAP = 85;
// The menu column stands on a panel (x 84..396, y 58..578 of the menu background); a menu with room below
// its buttons writes what is chosen now centred on MENU_NOTE_X, with its top at MENU_NOTE_Y.
const int32_t MENU_PANEL_LEFT = 84, MENU_PANEL_TOP = 58, MENU_PANEL_RIGHT = 396, MENU_PANEL_BOTTOM = 578;
const int32_t MENU_NOTE_X = (MENU_PANEL_LEFT + MENU_PANEL_RIGHT) / 2, MENU_NOTE_Y = 520;

}  // namespace Layout
