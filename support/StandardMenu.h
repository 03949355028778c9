// StandardMenu: picture buttons in vertical columns, and a menu that waits for a click on one of them.
//
// Thread rules: main thread, except the click handler, which the window layer runs on its thread; the
// one pending click is shared under a lock. Errors: a picture that fails to load keeps handle 0, draws
// nothing and its button stays clickable.
#pragma once

#include <cstdint>

#include "wimdows/Wimdows.h"

namespace StandardMenu {

// A picture file name of at most 30 characters.
struct BitmapName {
    char name[31];
};
// The first 30 characters of file, NUL-terminated.
BitmapName MakeBitmapName(const char *file);

struct ButtonType {
    bool withMouseOver;
    bool withMask;
};

struct ButtonStrings {
    BitmapName normal, mouseOver, normalMask, mouseOverMask;
};

struct ButtonRc {
    int32_t x0, y0;
    int32_t width, height;
    bool visible;
    ButtonType type;
    Wimdows::PictureHandle bitmap[2];  // 0 normal, 1 mouse-over
    Wimdows::PictureHandle mask[2];
};

struct ClickRc {
    int32_t x, y;
};

// Module start-up; a second call does nothing.
void InitStandardMenu();
// A button of w by h with a normal and a mouse-over picture, no masks; loads two pictures.
ButtonRc CreateButton(int32_t w, int32_t h, BitmapName normal, BitmapName mouseOver);
// A button as `flags` asks; a mouse-over mask name starting with "=" shares the normal mask.
ButtonRc CreateButtonX(int32_t w, int32_t h, ButtonType flags, ButtonStrings bitmaps);
// Places n buttons in a column: the first at (x0, y0), each next one yGap lower.
void SetVerticalMenu(int32_t x0, int32_t y0, int32_t yGap, ButtonRc *buttons, int n);
// TRUE when (x, y) lies strictly inside the button's rectangle.
bool InButton(const ButtonRc &button, int32_t x, int32_t y);
// Draws the button, with its mouse-over picture while the pointer is inside it.
void DrawButton(const ButtonRc &button);
// TRUE when the pending click lies in the (visible) button; the click is then consumed.
bool ButtonSelected(const ButtonRc &button);
// Runs the menu until a button is clicked, or picked with the keyboard (the arrows move a highlight, the
// button's mouse-over picture, in the menu's order and round; Enter picks it; Escape picks button `back`
// when there is one); its index. -1 once the player has closed the window (or for an empty menu). Polls
// every 25 ms through Wimdows::Wait. A click released or a key pressed before the menu's buttons were
// shown, or the second click of a double click made on an earlier screen, does not count. A menu entered with
// the keyboard starts with button `start` lit (a settings menu's current choice), or else its first.
int32_t MenuSelection(ButtonRc *menu, int n, int32_t back = -1, int32_t start = -1);

}  // namespace StandardMenu
