// Pictures: every picture of the game, painted by code. One palette and one lettering style for all of
// them; the painters here are shared by the game pieces, the menus and the full screens.
#pragma once

#include <string>
#include <vector>

#include "paint.h"

namespace Pictures {

// ---- palette ------------------------------------------------------------------------------------------

namespace Pal {
const Paint::Rgb Night = Paint::Hex(0x0A0E1C);   // deepest background
const Paint::Rgb Navy = Paint::Hex(0x141C38);    // screen background
const Paint::Rgb Panel = Paint::Hex(0x10172E);   // flat panel behind the button column
const Paint::Rgb Ink = Paint::Hex(0xEEF2FF);     // light lettering
const Paint::Rgb Muted = Paint::Hex(0x9AA6CC);   // secondary lettering
const Paint::Rgb Line = Paint::Hex(0x3A4A86);    // frames and rules
const Paint::Rgb Amber = Paint::Hex(0xFFC93C);   // title and highlights, top
const Paint::Rgb Orange = Paint::Hex(0xFF7A1A);  // title and highlights, bottom
const Paint::Rgb Brown = Paint::Hex(0x3A1606);   // outline of amber lettering
const Paint::Rgb Red = Paint::Hex(0xE8463A);     // player 1
const Paint::Rgb Green = Paint::Hex(0x3DBE4A);   // player 2
const Paint::Rgb Pink = Paint::Hex(0xFF6FB1);    // ordinary knurf
const Paint::Rgb Yellow = Paint::Hex(0xFFD23A);  // faster knurf
const Paint::Rgb Blue = Paint::Hex(0x3C8DFF);    // poisonous knurf
const Paint::Rgb Lime = Paint::Hex(0x5EDB4E);    // the knurf player 2 steers
const Paint::Rgb Brick = Paint::Hex(0x5A6A92);   // walls
const Paint::Rgb Mortar = Paint::Hex(0x222A44);
const Paint::Rgb Black = Paint::Hex(0x000000);  // the board
}  // namespace Pal

enum KnurfKind { KNURF_NORMAL, KNURF_FASTER, KNURF_POISON, KNURF_STEERED };

// ---- writing ------------------------------------------------------------------------------------------

// Saves the canvas as the picture dir/name (a .bmp name), stored as the PNG of that name ("x.png" for
// "x.bmp") with the BMP's pixels; counts failures for the exit status.
void Save(const Paint::Canvas &cv, const std::string &dir, const std::string &name);
// Saves the canvas as dir/name (a .png) with the opacity of `shape`; counts failures the same way.
void SavePngIcon(const Paint::Canvas &cv, const Paint::Canvas &shape, const std::string &dir, const std::string &name);
int SaveFailures();

// ---- shared painters ------------------------------------------------------------------------------

// One snake piece (index 0..9 of a player's set) into the square at (x, y) of `size` pixels.
// player 1 is red with a golden back stripe, player 2 green with pale diamonds.
void DrawSnakePiece(Paint::Canvas &cv, int player, int piece, float x, float y, float size);
// A knurf creature centred in the square at (x, y) of `size` pixels.
void DrawKnurf(Paint::Canvas &cv, KnurfKind kind, float x, float y, float size);
// Wall tiles: the horizontal (0) or vertical (1) brick pattern over the square at (x, y) of `size`.
void DrawWall(Paint::Canvas &cv, int vertical, float x, float y, float size);
// A snake on a grid of `cell`-pixel squares with its top-left at (x, y): cells as column, row pairs from
// the tail to the head, each a neighbour of the one before.
void DrawCellSnake(Paint::Canvas &cv, int player, const std::vector<int> &cells, float x, float y, float cell);
// A smooth snake along a path (points from tail to head) for the big illustrations.
void DrawBigSnake(Paint::Canvas &cv, int player, const std::vector<float> &path, float width);
// The game's name in its lettering, centred on x with its top at y, no wider than maxWidth.
void DrawTitle(Paint::Canvas &cv, float x, float y, float size, float maxWidth = 10000);
// A heading in the amber lettering.
void DrawHeading(Paint::Canvas &cv, const std::string &text, float x, float y, float size,
                 Paint::Align align = Paint::CENTER);
// A key cap with a label, top-left at (x, y).
void DrawKeyCap(Paint::Canvas &cv, const std::string &label, float x, float y, float w, float h);
// The common screen backdrop: a night-blue gradient with a faint board grid.
void DrawBackdrop(Paint::Canvas &cv);
// Reads a level file into 30 strings of 40 characters; empty when it cannot be read.
std::vector<std::string> ReadLevel(const std::string &path);

// ---- the sets ------------------------------------------------------------------------------------------

// Snake pieces, knurfs, walls, the score panel and the countdown digits.
void MakeGamePictures(const std::string &dir);
// Menu buttons, menu backgrounds and the loading screens; levels are read from levelDir for the slot buttons.
void MakeMenuPictures(const std::string &dir, const std::string &levelDir);
// Help screens, game over, highscore table and the key-choosing screen.
void MakeScreenPictures(const std::string &dir);
// The window's icon into the bitmap folder, and the desktop's PNG icons (16 to 256 pixels) into iconDir
// (none when it is empty).
void MakeIcons(const std::string &bitmapDir, const std::string &iconDir);

}  // namespace Pictures
