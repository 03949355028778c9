// The two halves of the window layer and what each asks of the other: the window thread (Wimdows.cpp)
// opens, shows and closes the drawing surface (Drawing.cpp), and the surface wakes the window thread when
// there is something to show. Nothing outside wimdows/ includes this header.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;

namespace Wimdows {

// ---- the drawing surface, for the window thread ----------------------------------------------------------

// Makes the back buffer and the front picture, w by h and black, and lets drawing in (window thread).
void SurfaceOpen(uint32_t w, uint32_t h);
// Frees both pictures, every loaded picture and the kept area; drawing does nothing afterwards.
void SurfaceClose();
// Puts the part of the front picture not yet on the screen (with whole: all of it) on `window`.
void ShowFront(SDL_Window *window, bool whole);
// A picture file name as the layer reads it: relative names inside the data folder.
std::string DataPath(const char *file);

// ---- the window thread, for the drawing surface ---------------------------------------------------------

// Asks the window thread to show what is pending; any thread, with no lock held but gDraw's or gFront's.
void WakeWindowThread();
// TRUE while a window is up and usable.
bool WindowLive();

}  // namespace Wimdows
