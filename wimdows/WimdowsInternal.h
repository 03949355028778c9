// Wimdows internals shared by the module's own files: the key table and the picture scaler.
// Pure functions without module state; nothing outside wimdows/ includes this header.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace Wimdows {

// The virtual-key code (1..255) for an SDL key: by the key's label (SDL keycode) first, then by its
// position (SDL scancode) for keys whose label the table does not know; 0 for keys the game never sees
// (Alt, F10, unknown keys).
uint32_t VirtualKeyFor(int32_t keycode, int32_t scancode);

// Resamples a picture of 0x00RRGGBB pixels from sw by sh to dw by dh (all above 0): whole-number
// enlargements repeat pixels, other enlargements interpolate linearly, reductions average the covered area.
void ScalePixels(const uint32_t *src, uint32_t sw, uint32_t sh, uint32_t *dst, uint32_t dw, uint32_t dh);

// The file descriptor of the X server connection behind the window; -1 when it is not an X11 window.
// Window thread only.
int X11ConnectionFd(SDL_Window *window);

}  // namespace Wimdows
