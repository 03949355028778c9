// Wimdows, the drawing surface's insides, shared by its files: the back buffer and the picture table
// (Drawing.cpp), the pictures and their budget (Pictures.cpp), and the record of drawing calls, the change of
// factor and the window thread's side (Showing.cpp). Nothing outside wimdows/ includes this header.
//
// Sections: types; state; areas and colours; what each file asks of the others.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- types -------------------------------------------------------------------------------------------

// A rectangle with inclusive corners; empty when x0 > x1 or y0 > y1.
struct Area {
    int32_t x0, y0, x1, y1;
};

static const Area kNoArea = {1, 1, 0, 0};

// A picture file loaded at one size (game units), shared by every load of that file at that size. Its
// pixels are held at the factor they were read for; a change of factor or the budget lets them go, and
// they are read again from the file when the picture is next drawn.
struct Picture {
    std::string file;          // as the layer reads it (DataPath)
    uint32_t width, height;    // game units
    uint32_t factor = 0;       // of px; 0 while no pixels are held
    std::vector<uint32_t> px;  // (width * factor) by (height * factor), 0x00RRGGBB
    uint64_t lastDrawn = 0;    // the drawing count at its last use
};

struct BitStruct {
    std::shared_ptr<Picture> pic;  // null marks an empty entry
};

struct FontStruct {
    uint32_t style;
    uint32_t color;  // 0x00BBGGRR
};

struct FontFace {
    FontName name;
    int pixels;  // em size in pixels at factor 1
};

// One drawing call as the game made it, in game units, so that the picture can be painted again at
// another factor. The area is what the call may paint (text: its box), for leaving out hidden calls.
enum OpKind : uint8_t { OP_FILL, OP_FRAME, OP_PICTURE, OP_MASKED, OP_TEXT, OP_KEEP, OP_RESTORE };
struct DrawOp {
    OpKind kind;
    int32_t x0, y0, x1, y1;  // the call's corners (sorted), or its position in x0, y0
    uint32_t a, b;           // pixel colour; picture and mask; font style and colour
    std::string text;
    Area area;  // clipped
};

// ---- state -------------------------------------------------------------------------------------------

// How far back each opaque call looks for calls it paints over entirely (a menu's buttons drawn every poll,
// a game's cells), so that the record stays short without the full search.
static const size_t kLookBack = 16;

struct DrawRec {
    std::mutex lock;
    bool live = false;  // a window is up and the buffers exist
    bool buffering = false;
    uint32_t xlen = 0, ylen = 0;  // game units
    uint32_t k = 1;               // buffer pixels per game unit
    uint32_t bw = 0, bh = 0;      // the back buffer's pixels: xlen * k by ylen * k
    std::vector<uint32_t> back;   // 0x00RRGGBB
    // Drawn since the last UpdateWindow (buffer pixels): the rows as a whole, and per row its first and
    // last column (first > last: nothing), so that showing compares only what was drawn.
    Area dirty = kNoArea;
    std::vector<int32_t> rowFirst, rowLast;
    std::vector<BitStruct> bit;
    std::map<std::tuple<std::string, uint32_t, uint32_t>, std::shared_ptr<Picture>> shared;
    size_t held = 0;         // bytes of picture pixels held
    uint64_t drawCount = 0;  // counts picture uses, for the budget
    FontStruct font = {0, 0};
    // KeepArea's copy of part of the back buffer, for RestoreArea: the area in game units and its pixels.
    Area kept = kNoArea;
    std::vector<uint32_t> keptPixels;
    // Every drawing call since the buffer was last painted whole (complete: replaying them from black gives
    // the back buffer), or nothing once that could not be kept.
    std::vector<DrawOp> ops;
    bool opsComplete = true;
    bool replaying = false;  // the window thread paints the record again: nothing reaches the front
};

struct FrontRec {
    std::mutex lock;
    std::vector<uint32_t> front;  // what the window shows, or is about to, at the back buffer's size
    uint32_t xlen = 0, ylen = 0;
    Area pending = kNoArea;  // part of front not yet on the screen
    // The view: the game's size, the window's, where the picture stands in it and how large, and how the
    // front picture maps onto it. showW 0: no view.
    uint32_t gameW = 0, gameH = 0, winW = 0, winH = 0, showW = 0, showH = 0;
    int32_t offX = 0, offY = 0;
    LineMap across, down;
    bool fresh = false;  // the view changed: the bars still need painting
    // ShowNote's note over the front picture until noteUntil: its area (front pixels) and, in turns, the
    // note's pixels (while off) or the front's pixels under it (while on).
    bool noteOn = false;
    Area noteArea = kNoArea;
    std::vector<uint32_t> notePx;
    std::chrono::steady_clock::time_point noteUntil;
};

// The records are made once and never destroyed (Drawing.cpp), so that a window thread still running when the
// program exits never meets a destroyed lock.
extern DrawRec &gDraw;
extern FrontRec &gFront;

// ---- areas and colours ----------------------------------------------------------------------

inline bool Empty(const Area &a) { return a.x0 > a.x1 || a.y0 > a.y1; }

inline Area Union(const Area &a, const Area &b) {
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return Area{a.x0 < b.x0 ? a.x0 : b.x0, a.y0 < b.y0 ? a.y0 : b.y0, a.x1 > b.x1 ? a.x1 : b.x1,
                a.y1 > b.y1 ? a.y1 : b.y1};
}

// Clips to a w by h picture; works in 64 bits so that corners near the integer limits cannot wrap.
inline Area Clip(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t w, uint32_t h) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > (int64_t)w - 1) x1 = (int64_t)w - 1;
    if (y1 > (int64_t)h - 1) y1 = (int64_t)h - 1;
    if (x0 > x1 || y0 > y1) return kNoArea;
    return Area{(int32_t)x0, (int32_t)y0, (int32_t)x1, (int32_t)y1};
}

// A clipped area of game units as the back buffer's pixels.
inline Area ToBuffer(const Area &a) {
    if (Empty(a)) return kNoArea;
    int32_t k = (int32_t)gDraw.k;
    return Area{a.x0 * k, a.y0 * k, a.x1 * k + k - 1, a.y1 * k + k - 1};
}

// 0x00BBGGRR (top byte ignored) to the buffer's 0x00RRGGBB, and back.
inline uint32_t ToPixel(uint32_t color) { return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF); }
inline uint32_t FromPixel(uint32_t p) { return ToPixel(p); }

// Rounded division towards minus infinity.
inline int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// ---- pictures and their budget (Pictures.cpp; gDraw.lock held) -------------------------------------------

// Lets a picture's pixels go.
void Release(Picture &p);
// Makes the picture's pixels ready at the buffer's factor, reading them again if need be; marks it used.
// FALSE when the file cannot be read (any more).
bool Hold(Picture &p, uint64_t keepFrom);
// The loaded picture behind a handle; null for none.
Picture *Entry(PictureHandle bitmap);

// ---- drawing (Drawing.cpp; gDraw.lock held; game units in) ------------------------------------------------

// Forgets the note, taking it off the front picture first (gFront.lock held).
void DropNote();
// The whole back buffer counts as drawn: the next UpdateWindow compares all of it.
void AllDrawn();
// Corners sorted.
void DoRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel, bool fill);
void DoPicture(PictureHandle bitmap, int32_t x, int32_t y);
void DoMasked(PictureHandle bitmap, PictureHandle maskbitmap, int32_t x, int32_t y);
// Draws the text in the font and colour given; its box in game units (clipped, empty when nothing shows).
Area DoText(const std::string &text, int32_t x, int32_t y, uint32_t style, uint32_t color);
// Corners sorted; the kept area is remembered in game units.
void DoKeep(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void DoRestore();

// ---- the record of drawing calls (Showing.cpp; gDraw.lock held) ---------------------------------------------

// Adds a call to the record; a call that paints the whole picture over starts it anew.
void Record(DrawOp op);

}  // namespace Wimdows
