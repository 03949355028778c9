// The parts of the window layer and what each asks of the others: the window thread (Wimdows.cpp) opens,
// shows and closes the drawing surface (Drawing.cpp), which wakes the window thread when there is something to
// show; the window thread also serves the pads (Pads.cpp), which press and release keys. Nothing outside
// wimdows/ includes this header.
#pragma once

#include <cstdint>
#include <string>

#include "wimdows/Wimdows.h"

struct SDL_Window;

namespace Wimdows {

// ---- the drawing surface, for the window thread ----------------------------------------------------------

// Makes the back buffer and the front picture for a game of w by h units in a window of winW by winH
// pixels, black, and lets drawing in (window thread).
void SurfaceOpen(uint32_t w, uint32_t h, uint32_t winW, uint32_t winH);
// The window is now winW by winH: the view follows, and the back buffer changes its factor when the scale
// asks for it (painted again, so the picture stays). FALSE when nothing changed (window thread).
bool SurfaceResize(uint32_t winW, uint32_t winH);
// Frees both pictures, every loaded picture and the kept area; drawing does nothing afterwards.
void SurfaceClose();
// Puts the part of the front picture not yet on the screen (with whole: all of it, and the bars) on `window`;
// a note whose time is up goes first.
void ShowFront(SDL_Window *window, bool whole);
// Milliseconds until the note shown now is due to go (0: now), or -1 when none shows (window thread).
int NoteWaitMs();
// A position in the window's pixels to game units (the bars lie outside 0..w-1 by 0..h-1); unchanged while
// no window is open. Any thread, no lock of the layer held but gWin's or gWake's.
void MapPointer(int32_t &x, int32_t &y);
// A picture file name as the layer reads it: relative names inside the data folder.
std::string DataPath(const char *file);

// ---- the window thread, for the drawing surface ---------------------------------------------------------

// Asks the window thread to show what is pending; any thread, with no lock held but gDraw's or gFront's.
void WakeWindowThread();
// TRUE while a window is up and usable.
bool WindowLive();
// A key pressed or let go by a pad, as a keyboard key is (window thread).
void PadKeyDown(KeyCode key);
void PadKeyUp(KeyCode key);

// ---- the pads, for the window thread ------------------------------------------------------------------

// Starts and stops SDL's game controllers with the window (window thread).
void PadsStart();
void PadsStop();
// How long the window thread may sleep before it must look at the pads again, in ms; -1: no limit.
int PadsPollMs();
// Looks at the pads: plugged in or out, and what they hold, turned into key presses (window thread).
void PadsLook();
// TRUE, with the pad (1..MAX_PADS) and the menu direction, for a key that is a pad's direction key.
bool IsPadDirectionKey(KeyCode key, uint32_t &pad, MenuKey &direction);

}  // namespace Wimdows
