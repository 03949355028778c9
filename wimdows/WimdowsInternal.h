// Wimdows internals shared by the module's own files: the key table, the picture scaler and the first scale.
// Pure functions without module state; nothing outside wimdows/ includes this header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Surface;

namespace Wimdows {

// A font face by the names fontconfig knows it by, and its file name in Debian's fallback folder.
struct FontName {
    const char *family, *style, *file;
};
// The file of each of the n faces: fontconfig's, read afresh from the environment (FONTCONFIG_FILE
// included), when it has exactly that face; else fallbackFolder + its file name when that exists; else "".
void FindFontFiles(const FontName *faces, int n, const char *fallbackFolder, std::string *files);

// The virtual-key code (1..255) for an SDL key: by the key's label (SDL keycode) first, then by its
// position (SDL scancode) for keys whose label the table does not know; 0 for keys the game never sees
// (Alt, F10, unknown keys).
uint32_t VirtualKeyFor(int32_t keycode, int32_t scancode);

// Resamples a picture of 0x00RRGGBB pixels from sw by sh to dw by dh (all above 0): whole-number
// enlargements repeat pixels, other enlargements interpolate linearly, reductions average the covered area.
void ScalePixels(const uint32_t *src, uint32_t sw, uint32_t sh, uint32_t *dst, uint32_t dw, uint32_t dh);

// One source pixel and its weight in 1/65536; the taps of one destination pixel sum to 65536.
struct Tap {
    uint32_t index;
    uint32_t weight;
};

// How a line of srcLen pixels maps onto a line of dstLen pixels, as ScalePixels maps it: the taps of every
// destination pixel, and for every source pixel the destination pixels it reaches (first > last: none).
struct LineMap {
    std::vector<uint32_t> first;  // dstLen + 1 offsets into taps
    std::vector<Tap> taps;
    std::vector<uint32_t> reachFirst, reachLast;
};
LineMap MapLine(uint32_t srcLen, uint32_t dstLen);

// Resamples the destination rectangle dx0..dx1 by dy0..dy1 (inclusive) of picture `src` (srcPitch pixels a
// row) mapped through `across` and `down` into dst (dstPitch pixels a row; dst is the rectangle's top-left).
// A pixel comes out the same whatever rectangle it is made in, so parts shown one by one match the whole.
void ScaleRect(const uint32_t *src, size_t srcPitch, const LineMap &across, const LineMap &down, uint32_t dx0,
               uint32_t dy0, uint32_t dx1, uint32_t dy1, uint32_t *dst, size_t dstPitch);

// The scale of the first window: the largest at which a w by h picture fits in 85 % of a usable display
// area of usableW by usableH, rounded down to a whole number from 2 on, never below 1.
double FirstScale(uint32_t usableW, uint32_t usableH, uint32_t w, uint32_t h);

// FALSE, after one console line naming it (once per file), for a BMP file whose header claims more pixels
// than its file holds, or a BMP or PNG file that claims more than any picture of the game has; TRUE for any
// other file, which the loader judges.
bool PictureFileFits(const std::string &file);
// The file that stands for picture file `file`: the file itself when it is there, else the PNG of the same
// name ("x.png" for "x.bmp"), which is how the game's own pictures are stored; "" when neither is there.
std::string PictureFileFor(const std::string &file);
// A picture file (BMP, or PNG by its name) read into a new surface; null when it is refused or unreadable.
SDL_Surface *ReadPictureFile(const std::string &file);
// One console line (once per file): a picture file is missing.
void TellMissingPicture(const std::string &file);

// The file descriptor of the X server connection behind the window; -1 when it is not an X11 window.
// Window thread only.
int X11ConnectionFd(SDL_Window *window);

}  // namespace Wimdows
