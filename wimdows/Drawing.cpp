// Wimdows, the drawing surface: the back buffer every drawing call paints into, the table of loaded pictures,
// text in the game's fonts, and the front picture that the window thread puts on the screen.
//
// Game units and buffer pixels: every call takes positions and sizes in the game's units (the size Window
// was given, 800 by 680 for the game). The back buffer holds k by k pixels per unit, k the buffer factor: 1
// while the window shows the game at less than 1.5 times its size, 2 from there on, so that pictures (from
// the set at twice the size), text (at twice the pixel size), rectangles and masks come out sharp. Only
// this file and the window thread know k, the window's size and the bars around the picture.
//
// Sections: types; state; internal: areas and colours, pictures and their budget, drawing (gDraw.lock
// held), the record of drawing calls and the change of factor; the window thread's side (opening, resizing
// and closing the surface, showing the front picture, the pointer's position in game units); exported:
// drawing, pictures, inspection.
//
// Locks (see Wimdows.cpp for the whole order): gDraw.lock guards the back buffer, the picture table, the
// fonts, buffering and the record of drawing calls, and every drawing call and the freeing take it;
// gFront.lock guards the front picture, its part still to be shown and the view, and is taken inside
// gDraw.lock.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "wimdows/Surface.h"
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

// Picture pixels kept at factor 2, beyond which the least recently drawn are let go (at factor 1 they
// all stay for the run: the whole set fits).
static const size_t kPictureBudget2x = 32u << 20;
// Drawing calls recorded at most; past it the hidden ones are left out, and when that does not halve the
// record the record stops until a call paints the whole picture again.
static const size_t kMaxOps = 8192;
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

// The records are made once and never destroyed, so that a window thread still running when the program
// exits never meets a destroyed lock.
static DrawRec &gDraw = *new DrawRec;
static FrontRec &gFront = *new FrontRec;

// Where Debian keeps the DejaVu fonts: used when fontconfig does not know a face.
static const char *kFontDir = "/usr/share/fonts/truetype/dejavu/";
// The stock font numbers: 0 the score panel, 1 the highscore table, the rest for anything else.
static const FontFace kFaces[6] = {
    {{"DejaVu Sans", "Bold", "DejaVuSans-Bold.ttf"}, 22},           // 0: the general font
    {{"DejaVu Sans", "Bold", "DejaVuSans-Bold.ttf"}, 30},           // 1: large headings and tables
    {{"DejaVu Sans Mono", "Bold", "DejaVuSansMono-Bold.ttf"}, 16},  // 2: fixed width, bold
    {{"DejaVu Sans", "Book", "DejaVuSans.ttf"}, 14},                // 3: small proportional
    {{"DejaVu Sans Mono", "Book", "DejaVuSansMono.ttf"}, 14},       // 4: small fixed width
    {{"DejaVu Sans Mono", "Book", "DejaVuSansMono.ttf"}, 12},       // 5: console-like
};
// Per factor (1, 2) and font number; opened on first use, kept for the run; gDraw.lock held.
static TTF_Font *gFonts[2][6];
static bool gFontFailed[2][6];
// Each face's file, looked up once on first use ("" when none was found).
static std::string gFontFiles[6];
static bool gFontFilesFound = false;
static std::string gDataFolder;  // relative picture names are read from here; set before the window opens

// ---- internal: areas and colours ----------------------------------------------------------------------

static bool Empty(const Area &a) { return a.x0 > a.x1 || a.y0 > a.y1; }

static Area Union(const Area &a, const Area &b) {
    if (Empty(a)) return b;
    if (Empty(b)) return a;
    return Area{a.x0 < b.x0 ? a.x0 : b.x0, a.y0 < b.y0 ? a.y0 : b.y0, a.x1 > b.x1 ? a.x1 : b.x1,
                a.y1 > b.y1 ? a.y1 : b.y1};
}

// Clips to a w by h picture; works in 64 bits so that corners near the integer limits cannot wrap.
static Area Clip(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t w, uint32_t h) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > (int64_t)w - 1) x1 = (int64_t)w - 1;
    if (y1 > (int64_t)h - 1) y1 = (int64_t)h - 1;
    if (x0 > x1 || y0 > y1) return kNoArea;
    return Area{(int32_t)x0, (int32_t)y0, (int32_t)x1, (int32_t)y1};
}

// A clipped area of game units as the back buffer's pixels.
static Area ToBuffer(const Area &a) {
    if (Empty(a)) return kNoArea;
    int32_t k = (int32_t)gDraw.k;
    return Area{a.x0 * k, a.y0 * k, a.x1 * k + k - 1, a.y1 * k + k - 1};
}

// 0x00BBGGRR (top byte ignored) to the buffer's 0x00RRGGBB, and back.
static uint32_t ToPixel(uint32_t color) { return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF); }
static uint32_t FromPixel(uint32_t p) { return ToPixel(p); }

// Rounded division towards minus infinity.
static int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// ---- internal: pictures and their budget ---------------------------------------------------------------

// Reads a picture file and brings it to width by height (0 keeps the file's own size); FALSE when it fails.
static bool ReadPixels(const std::string &file, uint32_t width, uint32_t height, std::vector<uint32_t> &out) {
    SDL_Surface *s = ReadPictureFile(file);
    if (!s) return false;
    uint32_t sw = (uint32_t)s->w, sh = (uint32_t)s->h;
    if (width == 0) width = sw;
    if (height == 0) height = sh;
    bool ok = false;
    // Bounded so that a wrong size cannot take all memory: 64 million pixels at most.
    if (sw > 0 && sh > 0 && (uint64_t)width * height <= (64u << 20)) {
        std::vector<uint32_t> pixels((size_t)sw * sh);
        // Straight into our pixels in one pass where SDL can (no palette), else through a converted surface.
        if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
        bool direct = !s->format->palette && SDL_ConvertPixels((int)sw, (int)sh, s->format->format, s->pixels, s->pitch,
                                                               SDL_PIXELFORMAT_RGB888, pixels.data(), (int)sw * 4) == 0;
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        if (!direct) {
            SDL_Surface *c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0);
            SDL_FreeSurface(s);
            s = c;
            if (!s) return false;
            if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
            for (uint32_t y = 0; y < sh; ++y)
                std::memcpy(&pixels[(size_t)y * sw], (const uint8_t *)s->pixels + (size_t)y * s->pitch, (size_t)sw * 4);
            if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        }
        for (uint32_t &px : pixels) px &= 0xFFFFFF;
        if (width == sw && height == sh) {
            out.swap(pixels);
        } else {
            std::vector<uint32_t>((size_t)width * height).swap(out);
            ScalePixels(pixels.data(), sw, sh, out.data(), width, height);
        }
        ok = true;
    }
    SDL_FreeSurface(s);
    return ok;
}

// The same picture in the set at twice the size, in the bitmap2x folder beside the bitmap folder (as a BMP
// when one is there, else as the PNG it is stored as); "" when the file is in no bitmap folder or the set
// lacks it.
static std::string TwiceSizeFile(const std::string &file) {
    size_t at = file.rfind("/bitmap/");
    if (at != std::string::npos) return PictureFileFor(file.substr(0, at) + "/bitmap2x/" + file.substr(at + 8));
    if (file.compare(0, 7, "bitmap/") == 0) return PictureFileFor("bitmap2x/" + file.substr(7));
    return "";
}

static void Release(Picture &p) {
    gDraw.held -= p.px.size() * 4;
    std::vector<uint32_t>().swap(p.px);
    p.factor = 0;
}

// Lets the least recently drawn pictures go until the held pixels fit the budget; pictures used since
// `keepFrom` (the call under way) stay.
static void KeepBudget(uint64_t keepFrom) {
    if (gDraw.k == 1) return;
    while (gDraw.held > kPictureBudget2x) {
        Picture *oldest = nullptr;
        for (auto &entry : gDraw.shared) {
            Picture &p = *entry.second;
            if (p.factor != 0 && p.lastDrawn < keepFrom && (!oldest || p.lastDrawn < oldest->lastDrawn)) oldest = &p;
        }
        if (!oldest) return;
        Release(*oldest);
    }
}

// Makes the picture's pixels ready at the buffer's factor, reading them again if need be; marks it used.
// At factor 2 a picture of a bitmap folder comes from the set at twice the size when that has it, else
// from its own file enlarged. FALSE when the file cannot be read (any more).
static bool Hold(Picture &p, uint64_t keepFrom) {
    p.lastDrawn = ++gDraw.drawCount;
    uint32_t k = gDraw.k;
    if (p.factor == k) return true;
    if (p.factor != 0) Release(p);
    std::vector<uint32_t> px;
    bool ok = false;
    if (k == 2) {
        std::string twice = TwiceSizeFile(p.file);
        ok = !twice.empty() && ReadPixels(twice, p.width * 2, p.height * 2, px);
    }
    if (!ok) ok = ReadPixels(p.file, p.width * k, p.height * k, px);
    if (!ok) return false;
    p.px.swap(px);
    p.factor = k;
    gDraw.held += p.px.size() * 4;
    KeepBudget(keepFrom);
    return true;
}

static Picture *Entry(PictureHandle bitmap) {
    if (bitmap == 0 || bitmap > gDraw.bit.size() || !gDraw.bit[bitmap - 1].pic) return nullptr;
    return gDraw.bit[bitmap - 1].pic.get();
}

// ---- internal: drawing (gDraw.lock held; game units in) ---------------------------------------------------

// Puts the note on the front picture, or takes it off again (gFront.lock held).
static void NoteSwap() {
    const Area &a = gFront.noteArea;
    const size_t w = (size_t)(a.x1 - a.x0 + 1);
    for (int32_t y = a.y0; y <= a.y1; ++y)
        std::swap_ranges(&gFront.front[(size_t)y * gFront.xlen + a.x0],
                         &gFront.front[(size_t)y * gFront.xlen + a.x1 + 1], &gFront.notePx[(size_t)(y - a.y0) * w]);
    gFront.noteOn = !gFront.noteOn;
}

// Forgets the note, taking it off the front picture first (gFront.lock held).
static void DropNote() {
    if (gFront.noteOn) {
        NoteSwap();
        gFront.pending = Union(gFront.pending, gFront.noteArea);
    }
    gFront.noteOn = false;
    gFront.noteArea = kNoArea;
    std::vector<uint32_t>().swap(gFront.notePx);
}

// Notes an area of buffer pixels drawn into the back buffer; in direct mode also puts it on the screen at once.
static void Drawn(const Area &a) {
    if (Empty(a)) return;
    gDraw.dirty = Union(gDraw.dirty, a);
    for (int32_t y = a.y0; y <= a.y1; ++y) {
        if (a.x0 < gDraw.rowFirst[y]) gDraw.rowFirst[y] = a.x0;
        if (a.x1 > gDraw.rowLast[y]) gDraw.rowLast[y] = a.x1;
    }
    if (gDraw.buffering || gDraw.replaying) return;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        // A note stays over what is drawn under it.
        const bool note = gFront.noteOn;
        if (note) NoteSwap();
        for (int32_t y = a.y0; y <= a.y1; ++y) {
            size_t at = (size_t)y * gDraw.bw + a.x0;
            std::memcpy(&gFront.front[at], &gDraw.back[at], (size_t)(a.x1 - a.x0 + 1) * 4);
        }
        if (note) NoteSwap();
        gFront.pending = Union(gFront.pending, a);
    }
    WakeWindowThread();
}

// The whole back buffer counts as drawn: the next UpdateWindow compares all of it.
static void AllDrawn() {
    gDraw.dirty = Area{0, 0, (int32_t)gDraw.bw - 1, (int32_t)gDraw.bh - 1};
    gDraw.rowFirst.assign(gDraw.bh, 0);
    gDraw.rowLast.assign(gDraw.bh, (int32_t)gDraw.bw - 1);
}

// Copies what changed in the back buffer since the last time to the front picture and has it shown.
// An unchanged picture costs one comparison of the parts of rows drawn since then, and nothing more.
static void UpdateLocked() {
    Area d = gDraw.dirty;
    gDraw.dirty = kNoArea;
    if (Empty(d)) return;
    Area changed = kNoArea;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        const bool note = gFront.noteOn;
        if (note) NoteSwap();
        for (int32_t y = d.y0; y <= d.y1; ++y) {
            int32_t x0 = gDraw.rowFirst[y], x1 = gDraw.rowLast[y];
            gDraw.rowFirst[y] = (int32_t)gDraw.bw;
            gDraw.rowLast[y] = -1;
            if (x0 > x1) continue;
            size_t at = (size_t)y * gDraw.bw + x0, span = (size_t)(x1 - x0 + 1) * 4;
            if (std::memcmp(&gFront.front[at], &gDraw.back[at], span) == 0) continue;
            std::memcpy(&gFront.front[at], &gDraw.back[at], span);
            changed = Union(changed, Area{x0, y, x1, y});
        }
        if (note) NoteSwap();
        if (Empty(changed)) return;
        gFront.pending = Union(gFront.pending, changed);
    }
    WakeWindowThread();
}

// The first row is filled pixel by pixel, the others copied from it (a block copy is many times faster).
static void FillArea(const Area &a, uint32_t pixel) {
    if (Empty(a)) return;
    uint32_t *first = &gDraw.back[(size_t)a.y0 * gDraw.bw + a.x0];
    size_t n = (size_t)(a.x1 - a.x0 + 1);
    for (size_t x = 0; x < n; ++x) first[x] = pixel;
    for (int32_t y = a.y0 + 1; y <= a.y1; ++y) std::memcpy(&gDraw.back[(size_t)y * gDraw.bw + a.x0], first, n * 4);
}

static TTF_Font *FontFor(uint32_t style, uint32_t k) {
    if (style > 5) style = 0;
    uint32_t f = k == 2 ? 1 : 0;
    if (gFonts[f][style] || gFontFailed[f][style]) return gFonts[f][style];
    if (!TTF_WasInit() && TTF_Init() != 0) {
        std::fprintf(stderr, "Can't start the font renderer: %s\n", TTF_GetError());
        for (auto &row : gFontFailed)
            for (bool &failed : row) failed = true;
        return nullptr;
    }
    if (!gFontFilesFound) {
        FontName names[6];
        for (int i = 0; i < 6; i++) names[i] = kFaces[i].name;
        FindFontFiles(names, 6, kFontDir, gFontFiles);
        gFontFilesFound = true;
    }
    const std::string &path = gFontFiles[style];
    gFonts[f][style] = path.empty() ? nullptr : TTF_OpenFont(path.c_str(), kFaces[style].pixels * (int)(f + 1));
    if (!gFonts[f][style]) {
        // Once per face: the text of both factors is skipped alike.
        if (!gFontFailed[1 - f][style])
            std::fprintf(stderr, "Can't find the font %s %s (nor %s%s); its text is left out.\n",
                         kFaces[style].name.family, kFaces[style].name.style, kFontDir, kFaces[style].name.file);
        gFontFailed[0][style] = gFontFailed[1][style] = true;
    }
    return gFonts[f][style];
}

// Corners sorted.
static void DoRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel, bool fill) {
    Area whole = Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen);
    if (Empty(whole)) return;
    if (fill) {
        FillArea(ToBuffer(whole), pixel);
    } else {
        // Each edge clipped on its own: an edge outside the buffer paints nothing.
        FillArea(ToBuffer(Clip(x0, y0, x1, y0, gDraw.xlen, gDraw.ylen)), pixel);
        FillArea(ToBuffer(Clip(x0, y1, x1, y1, gDraw.xlen, gDraw.ylen)), pixel);
        FillArea(ToBuffer(Clip(x0, y0, x0, y1, gDraw.xlen, gDraw.ylen)), pixel);
        FillArea(ToBuffer(Clip(x1, y0, x1, y1, gDraw.xlen, gDraw.ylen)), pixel);
    }
    Drawn(ToBuffer(whole));
}

static void DoPicture(PictureHandle bitmap, int32_t x, int32_t y) {
    Picture *p = Entry(bitmap);
    if (!p) return;
    uint64_t from = gDraw.drawCount + 1;
    Area a = Clip(x, y, (int64_t)x + p->width - 1, (int64_t)y + p->height - 1, gDraw.xlen, gDraw.ylen);
    if (Empty(a) || !Hold(*p, from)) return;
    Area b = ToBuffer(a);
    const int64_t k = gDraw.k, pw = (int64_t)p->width * k;
    for (int32_t py = b.y0; py <= b.y1; ++py)
        std::memcpy(&gDraw.back[(size_t)py * gDraw.bw + b.x0], &p->px[(size_t)((py - y * k) * pw + (b.x0 - x * k))],
                    (size_t)(b.x1 - b.x0 + 1) * 4);
    Drawn(b);
}

// A mask pixel lets the picture through when it is light: at least half brightness on average, so that a
// mask softened by scaling still cuts cleanly. Outside the mask nothing gets through.
static bool MaskOpen(const Picture &m, int64_t mx, int64_t my) {
    int64_t mw = (int64_t)m.width * m.factor, mh = (int64_t)m.height * m.factor;
    if (mx < 0 || my < 0 || mx >= mw || my >= mh) return false;
    uint32_t p = m.px[(size_t)(my * mw + mx)];
    return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) >= 384;
}

static void DoMasked(PictureHandle bitmap, PictureHandle maskbitmap, int32_t x, int32_t y) {
    Picture *p = Entry(bitmap);
    Picture *m = Entry(maskbitmap);
    if (!p || !m) return;
    uint64_t from = gDraw.drawCount + 1;
    Area a = Clip(x, y, (int64_t)x + p->width - 1, (int64_t)y + p->height - 1, gDraw.xlen, gDraw.ylen);
    if (Empty(a) || !Hold(*p, from) || !Hold(*m, from)) return;
    Area b = ToBuffer(a);
    const int64_t k = gDraw.k, pw = (int64_t)p->width * k;
    for (int32_t py = b.y0; py <= b.y1; ++py) {
        uint32_t *dst = &gDraw.back[(size_t)py * gDraw.bw];
        const uint32_t *src = &p->px[(size_t)((py - y * k) * pw)];
        for (int32_t px = b.x0; px <= b.x1; ++px)
            if (MaskOpen(*m, px - x * k, py - y * k)) dst[px] = src[px - x * k];
    }
    Drawn(b);
}

// Draws the text in the font and colour given; its box in game units (clipped, empty when nothing shows).
static Area DoText(const std::string &text, int32_t x, int32_t y, uint32_t style, uint32_t color) {
    TTF_Font *font = FontFor(style, gDraw.k);
    if (!font || text.empty()) return kNoArea;
    SDL_Color fg = {(Uint8)(color & 0xFF), (Uint8)((color >> 8) & 0xFF), (Uint8)((color >> 16) & 0xFF), 255};
    SDL_Surface *glyphs = TTF_RenderUTF8_Blended(font, text.c_str(), fg);
    if (!glyphs) return kNoArea;
    if (glyphs->format->format != SDL_PIXELFORMAT_ARGB8888) {
        SDL_Surface *c = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(glyphs);
        glyphs = c;
        if (!glyphs) return kNoArea;
    }
    const int64_t k = gDraw.k, bx = x * k, by = y * k;
    Area box = Clip(x, y, (int64_t)x + (glyphs->w + k - 1) / k - 1, (int64_t)y + (glyphs->h + k - 1) / k - 1,
                    gDraw.xlen, gDraw.ylen);
    Area a = Clip(bx, by, bx + glyphs->w - 1, by + glyphs->h - 1, gDraw.bw, gDraw.bh);
    uint32_t ink = ToPixel(color);
    if (!Empty(a)) {
        if (SDL_MUSTLOCK(glyphs)) SDL_LockSurface(glyphs);
        for (int32_t py = a.y0; py <= a.y1; ++py) {
            const uint32_t *src =
                (const uint32_t *)((const uint8_t *)glyphs->pixels + (size_t)(py - by) * glyphs->pitch);
            uint32_t *dst = &gDraw.back[(size_t)py * gDraw.bw];
            for (int32_t px = a.x0; px <= a.x1; ++px) {
                uint32_t alpha = src[px - bx] >> 24;
                if (alpha == 0) continue;
                if (alpha == 255) {
                    dst[px] = ink;
                    continue;
                }
                uint32_t d = dst[px], out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    uint32_t dc = (d >> shift) & 0xFF, ic = (ink >> shift) & 0xFF;
                    out |= ((dc * (255 - alpha) + ic * alpha + 127) / 255) << shift;
                }
                dst[px] = out;
            }
        }
        if (SDL_MUSTLOCK(glyphs)) SDL_UnlockSurface(glyphs);
        Drawn(a);
    }
    SDL_FreeSurface(glyphs);
    return box;
}

// Corners sorted; the kept area is remembered in game units.
static void DoKeep(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    gDraw.kept = kNoArea;
    gDraw.keptPixels.clear();
    Area a = Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    Area b = ToBuffer(a);
    size_t w = (size_t)(b.x1 - b.x0 + 1);
    gDraw.keptPixels.resize(w * (size_t)(b.y1 - b.y0 + 1));
    for (int32_t y = b.y0; y <= b.y1; ++y)
        std::memcpy(&gDraw.keptPixels[(size_t)(y - b.y0) * w], &gDraw.back[(size_t)y * gDraw.bw + b.x0], w * 4);
    gDraw.kept = a;
}

static void DoRestore() {
    Area a = gDraw.kept;
    gDraw.kept = kNoArea;
    if (Empty(a)) return;
    Area b = ToBuffer(a);
    size_t w = (size_t)(b.x1 - b.x0 + 1);
    for (int32_t y = b.y0; y <= b.y1; ++y)
        std::memcpy(&gDraw.back[(size_t)y * gDraw.bw + b.x0], &gDraw.keptPixels[(size_t)(y - b.y0) * w], w * 4);
    std::vector<uint32_t>().swap(gDraw.keptPixels);
    Drawn(b);
}

// ---- internal: the record of drawing calls and the change of factor (gDraw.lock held) -------------------

// TRUE when a lies within b (an empty area lies within every area).
static bool Inside(const Area &a, const Area &b) {
    return Empty(a) || (a.x0 >= b.x0 && a.y0 >= b.y0 && a.x1 <= b.x1 && a.y1 <= b.y1);
}

static bool Opaque(const DrawOp &op) { return op.kind == OP_FILL || op.kind == OP_PICTURE || op.kind == OP_RESTORE; }

// Leaves out the calls whose every unit a later opaque call paints over before anything reads it (KeepArea
// reads its area).
static void Compact() {
    const uint32_t w = gDraw.xlen;
    std::vector<uint8_t> covered((size_t)w * gDraw.ylen, 0);
    auto hidden = [&](const Area &a) {
        for (int32_t y = a.y0; y <= a.y1; ++y)
            for (int32_t x = a.x0; x <= a.x1; ++x)
                if (!covered[(size_t)y * w + x]) return false;
        return true;
    };
    auto mark = [&](const Area &a, uint8_t v) {
        for (int32_t y = a.y0; y <= a.y1; ++y)
            std::memset(&covered[(size_t)y * w + a.x0], v, (size_t)(a.x1 - a.x0 + 1));
    };
    std::vector<DrawOp> kept;
    for (size_t i = gDraw.ops.size(); i-- > 0;) {
        DrawOp &op = gDraw.ops[i];
        bool always = op.kind == OP_KEEP || op.kind == OP_RESTORE;
        if (!always && (Empty(op.area) || hidden(op.area))) continue;
        if (!Empty(op.area)) {
            if (op.kind == OP_KEEP)
                mark(op.area, 0);
            else if (Opaque(op))
                mark(op.area, 1);
        }
        kept.push_back(std::move(op));
    }
    std::reverse(kept.begin(), kept.end());
    gDraw.ops.swap(kept);
}

// Adds a call to the record; a call that paints the whole picture over starts it anew, complete unless a
// kept area (whose pixels the calls before made) is still to be restored.
static void Record(DrawOp op) {
    if (gDraw.replaying) return;
    if ((op.kind == OP_FILL || op.kind == OP_PICTURE) && op.area.x0 == 0 && op.area.y0 == 0 &&
        op.area.x1 == (int32_t)gDraw.xlen - 1 && op.area.y1 == (int32_t)gDraw.ylen - 1) {
        gDraw.ops.clear();
        gDraw.opsComplete = Empty(gDraw.kept);
    }
    if (!gDraw.opsComplete) return;
    if (Opaque(op)) {
        // A recent call inside this one's area is hidden by it, unless a KeepArea in between read it.
        size_t stop = gDraw.ops.size() > kLookBack ? gDraw.ops.size() - kLookBack : 0;
        for (size_t i = gDraw.ops.size(); i-- > stop;) {
            const DrawOp &old = gDraw.ops[i];
            if (old.kind == OP_KEEP) break;
            if (old.kind != OP_RESTORE && Inside(old.area, op.area)) gDraw.ops.erase(gDraw.ops.begin() + (long)i);
        }
    }
    gDraw.ops.push_back(std::move(op));
    if (gDraw.ops.size() < kMaxOps) return;
    Compact();
    if (gDraw.ops.size() > kMaxOps / 2) {
        std::vector<DrawOp>().swap(gDraw.ops);
        gDraw.opsComplete = false;
    }
}

static void Replay(const DrawOp &op) {
    switch (op.kind) {
    case OP_FILL:
    case OP_FRAME: DoRectangle(op.x0, op.y0, op.x1, op.y1, op.a, op.kind == OP_FILL); break;
    case OP_PICTURE: DoPicture(op.a, op.x0, op.y0); break;
    case OP_MASKED: DoMasked(op.a, op.b, op.x0, op.y0); break;
    case OP_TEXT: DoText(op.text, op.x0, op.y0, op.a, op.b); break;
    case OP_KEEP: DoKeep(op.x0, op.y0, op.x1, op.y1); break;
    case OP_RESTORE: DoRestore(); break;
    }
}

// Sets the buffer factor to k (gFront.lock not held): the back buffer is painted again from the record of
// drawing calls when it is complete, else scaled, like the kept area. Every picture's pixels are let go, to
// be read at the new factor when next drawn.
static void RepaintAt(uint32_t k) {
    const uint32_t oldK = gDraw.k, oldW = gDraw.bw, oldH = gDraw.bh;
    for (auto &entry : gDraw.shared) Release(*entry.second);
    gDraw.k = k;
    gDraw.bw = gDraw.xlen * k;
    gDraw.bh = gDraw.ylen * k;
    std::vector<uint32_t> back((size_t)gDraw.bw * gDraw.bh, 0);
    gDraw.rowFirst.assign(gDraw.bh, (int32_t)gDraw.bw);
    gDraw.rowLast.assign(gDraw.bh, -1);
    gDraw.dirty = kNoArea;
    if (gDraw.opsComplete) {
        gDraw.back.swap(back);
        gDraw.replaying = true;
        gDraw.kept = kNoArea;
        gDraw.keptPixels.clear();
        for (const DrawOp &op : gDraw.ops) Replay(op);
        gDraw.replaying = false;
        return;
    }
    ScalePixels(gDraw.back.data(), oldW, oldH, back.data(), gDraw.bw, gDraw.bh);
    gDraw.back.swap(back);
    if (!Empty(gDraw.kept)) {
        uint32_t w = (uint32_t)(gDraw.kept.x1 - gDraw.kept.x0 + 1), h = (uint32_t)(gDraw.kept.y1 - gDraw.kept.y0 + 1);
        std::vector<uint32_t> kept((size_t)w * k * h * k);
        ScalePixels(gDraw.keptPixels.data(), w * oldK, h * oldK, kept.data(), w * k, h * k);
        gDraw.keptPixels.swap(kept);
    }
}

// The front picture at the new factor (both locks held): the new back buffer when everything drawn had been
// shown, else the old front picture scaled, with the whole back buffer to be compared at the next update.
static void FrontAtFactor(bool waiting) {
    // A note made at the old factor does not fit the new picture.
    DropNote();
    std::vector<uint32_t> front((size_t)gDraw.bw * gDraw.bh);
    if (waiting)
        ScalePixels(gFront.front.data(), gFront.xlen, gFront.ylen, front.data(), gDraw.bw, gDraw.bh);
    else
        front = gDraw.back;
    gFront.front.swap(front);
    gFront.xlen = gDraw.bw;
    gFront.ylen = gDraw.bh;
    gFront.pending = kNoArea;
    if (waiting) AllDrawn();
}

// ---- internal: the window thread's side ------------------------------------------------------------------

// The view for a window of winW by winH (gFront.lock held): the picture as large as fits, centred; the
// factor it asks for.
static uint32_t SetView(uint32_t winW, uint32_t winH) {
    gFront.winW = winW;
    gFront.winH = winH;
    double s = std::min((double)winW / gFront.gameW, (double)winH / gFront.gameH);
    gFront.showW = std::max(1u, std::min(winW, (uint32_t)std::lround(gFront.gameW * s)));
    gFront.showH = std::max(1u, std::min(winH, (uint32_t)std::lround(gFront.gameH * s)));
    gFront.offX = (int32_t)(winW - gFront.showW) / 2;
    gFront.offY = (int32_t)(winH - gFront.showH) / 2;
    gFront.fresh = true;
    return s >= 1.5 ? 2 : 1;
}

// The maps from the front picture onto the view (gFront.lock held); none when it is shown pixel for pixel.
static void MapView() {
    bool same = gFront.showW == gFront.xlen && gFront.showH == gFront.ylen;
    gFront.across = same ? LineMap() : MapLine(gFront.xlen, gFront.showW);
    gFront.down = same ? LineMap() : MapLine(gFront.ylen, gFront.showH);
}

void SurfaceOpen(uint32_t w, uint32_t h, uint32_t winW, uint32_t winH) {
    // The first picture is black.
    std::lock_guard<std::mutex> g(gDraw.lock);
    std::lock_guard<std::mutex> gf(gFront.lock);
    DropNote();
    gFront.gameW = w;
    gFront.gameH = h;
    uint32_t k = SetView(winW, winH);
    for (auto &entry : gDraw.shared) Release(*entry.second);
    gDraw.xlen = w;
    gDraw.ylen = h;
    gDraw.k = k;
    gDraw.bw = w * k;
    gDraw.bh = h * k;
    gDraw.back.assign((size_t)gDraw.bw * gDraw.bh, 0);
    gDraw.dirty = kNoArea;
    gDraw.rowFirst.assign(gDraw.bh, (int32_t)gDraw.bw);
    gDraw.rowLast.assign(gDraw.bh, -1);
    gDraw.buffering = false;
    gDraw.ops.clear();
    gDraw.opsComplete = true;
    gDraw.live = true;
    gFront.xlen = gDraw.bw;
    gFront.ylen = gDraw.bh;
    gFront.front.assign((size_t)gDraw.bw * gDraw.bh, 0);
    gFront.pending = kNoArea;
    MapView();
}

bool SurfaceResize(uint32_t winW, uint32_t winH) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return false;
    uint32_t k;
    {
        std::lock_guard<std::mutex> gf(gFront.lock);
        if (winW == gFront.winW && winH == gFront.winH) return false;
        k = SetView(winW, winH);
    }
    // The back buffer is painted again without gFront.lock (drawing in direct mode would take it); the front
    // picture changes only under gDraw.lock, which this thread holds throughout.
    if (k != gDraw.k) {
        bool waiting = gDraw.buffering && !Empty(gDraw.dirty);
        RepaintAt(k);
        std::lock_guard<std::mutex> gf(gFront.lock);
        FrontAtFactor(waiting);
    }
    std::lock_guard<std::mutex> gf(gFront.lock);
    MapView();
    return true;
}

void SurfaceClose() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.live = false;
    std::vector<uint32_t>().swap(gDraw.back);
    gDraw.xlen = gDraw.ylen = gDraw.bw = gDraw.bh = 0;
    gDraw.k = 1;
    gDraw.buffering = false;
    gDraw.dirty = kNoArea;
    std::vector<int32_t>().swap(gDraw.rowFirst);
    std::vector<int32_t>().swap(gDraw.rowLast);
    std::vector<BitStruct>().swap(gDraw.bit);
    gDraw.shared.clear();
    gDraw.held = 0;
    gDraw.kept = kNoArea;
    std::vector<uint32_t>().swap(gDraw.keptPixels);
    std::vector<DrawOp>().swap(gDraw.ops);
    gDraw.opsComplete = true;
    std::lock_guard<std::mutex> gf(gFront.lock);
    DropNote();
    std::vector<uint32_t>().swap(gFront.front);
    gFront.xlen = gFront.ylen = 0;
    gFront.pending = kNoArea;
    gFront.gameW = gFront.gameH = gFront.winW = gFront.winH = gFront.showW = gFront.showH = 0;
    gFront.offX = gFront.offY = 0;
    gFront.across = LineMap();
    gFront.down = LineMap();
    gFront.fresh = false;
}

int NoteWaitMs() {
    std::lock_guard<std::mutex> g(gFront.lock);
    if (!gFront.noteOn) return -1;
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(gFront.noteUntil - std::chrono::steady_clock::now());
    return left.count() > 0 ? (int)left.count() : 0;
}

void ShowFront(SDL_Window *window, bool whole) {
    SDL_Rect rects[5];
    int count = 0;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        if (gFront.noteOn && std::chrono::steady_clock::now() >= gFront.noteUntil) DropNote();
        SDL_Surface *s = SDL_GetWindowSurface(window);
        if (!s || gFront.front.empty() || gFront.showW == 0) return;
        if (whole || gFront.fresh) {
            gFront.pending = Area{0, 0, (int32_t)gFront.xlen - 1, (int32_t)gFront.ylen - 1};
            // The bars: above, below, left and right of the picture.
            const int ox = gFront.offX, oy = gFront.offY, sw = (int)gFront.showW, sh = (int)gFront.showH;
            const SDL_Rect bars[4] = {{0, 0, s->w, oy},
                                      {0, oy + sh, s->w, s->h - oy - sh},
                                      {0, oy, ox, sh},
                                      {ox + sw, oy, s->w - ox - sw, sh}};
            for (const SDL_Rect &bar : bars) {
                if (bar.w <= 0 || bar.h <= 0) continue;
                SDL_FillRect(s, &bar, SDL_MapRGB(s->format, 0, 0, 0));
                rects[count++] = bar;
            }
            gFront.fresh = false;
        }
        Area a = gFront.pending;
        gFront.pending = kNoArea;
        a = Clip(a.x0, a.y0, a.x1, a.y1, gFront.xlen, gFront.ylen);
        if (!Empty(a)) {
            // The part of the view that the changed part of the front picture reaches, within the surface.
            Area d = a;
            const bool same = gFront.showW == gFront.xlen && gFront.showH == gFront.ylen;
            if (!same) {
                d = Area{(int32_t)gFront.showW, (int32_t)gFront.showH, -1, -1};
                for (int32_t x = a.x0; x <= a.x1; ++x) {
                    d.x0 = std::min(d.x0, (int32_t)gFront.across.reachFirst[x]);
                    d.x1 = std::max(d.x1, (int32_t)gFront.across.reachLast[x]);
                }
                for (int32_t y = a.y0; y <= a.y1; ++y) {
                    d.y0 = std::min(d.y0, (int32_t)gFront.down.reachFirst[y]);
                    d.y1 = std::max(d.y1, (int32_t)gFront.down.reachLast[y]);
                }
            }
            d = Clip(d.x0, d.y0, d.x1, d.y1, (uint32_t)std::max(0, s->w - gFront.offX),
                     (uint32_t)std::max(0, s->h - gFront.offY));
            if (!Empty(d) && !(SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0)) {
                const int w = d.x1 - d.x0 + 1, h = d.y1 - d.y0 + 1;
                uint8_t *to = (uint8_t *)s->pixels + (size_t)(gFront.offY + d.y0) * s->pitch +
                              (size_t)(gFront.offX + d.x0) * s->format->BytesPerPixel;
                if (same) {
                    const uint32_t *from = gFront.front.data() + (size_t)d.y0 * gFront.xlen + d.x0;
                    SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, from, (int)(gFront.xlen * 4), s->format->format, to,
                                      s->pitch);
                } else {
                    std::vector<uint32_t> scaled((size_t)w * h);
                    ScaleRect(gFront.front.data(), gFront.xlen, gFront.across, gFront.down, (uint32_t)d.x0,
                              (uint32_t)d.y0, (uint32_t)d.x1, (uint32_t)d.y1, scaled.data(), (size_t)w);
                    SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_RGB888, scaled.data(), w * 4, s->format->format, to,
                                      s->pitch);
                }
                if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
                rects[count++] = SDL_Rect{gFront.offX + d.x0, gFront.offY + d.y0, w, h};
            }
        }
    }
    if (count > 0) SDL_UpdateWindowSurfaceRects(window, rects, count);
}

void MapPointer(int32_t &x, int32_t &y) {
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.showW == 0 || gFront.showH == 0) return;
    x = (int32_t)FloorDiv(((int64_t)x - gFront.offX) * gFront.gameW, gFront.showW);
    y = (int32_t)FloorDiv(((int64_t)y - gFront.offY) * gFront.gameH, gFront.showH);
}

// A picture file name as the layer reads it: relative names inside the data folder.
std::string DataPath(const char *file) {
    if (!file || file[0] == '/' || gDataFolder.empty()) return file ? file : "";
    return gDataFolder + "/" + file;
}

// ---- exported: drawing and pictures ----------------------------------------------------------------------------

void SetBuffering(bool state) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    if (gDraw.buffering && !state) UpdateLocked();
    gDraw.buffering = state;
}

void UpdateWindow() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (gDraw.live) UpdateLocked();
}

void ClearScreen() {
    uint32_t w, h;
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        w = gDraw.xlen, h = gDraw.ylen;
    }
    Rectangle(0, 0, (int32_t)w, (int32_t)h, 0, true);
}

void ShowNote(const Note &note, uint32_t ms) {
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        if (!gDraw.live) return;
        const Area a = ToBuffer(Clip(note.x0, note.y0, note.x1, note.y1, gDraw.xlen, gDraw.ylen));
        if (Empty(a)) return;
        // Painted into the back buffer with the internal calls (nothing recorded, nothing shown), taken out,
        // and the back buffer's pixels put back as they were.
        const size_t w = (size_t)(a.x1 - a.x0 + 1);
        std::vector<uint32_t> saved(w * (size_t)(a.y1 - a.y0 + 1)), px(saved.size());
        for (int32_t y = a.y0; y <= a.y1; ++y)
            std::memcpy(&saved[(size_t)(y - a.y0) * w], &gDraw.back[(size_t)y * gDraw.bw + a.x0], w * 4);
        const bool replaying = gDraw.replaying;
        gDraw.replaying = true;
        DoRectangle(note.x0, note.y0, note.x1, note.y1, ToPixel(note.ground), true);
        DoRectangle(note.x0, note.y0, note.x1, note.y1, ToPixel(note.line), false);
        DoRectangle(note.x0 + 1, note.y0 + 1, note.x1 - 1, note.y1 - 1, ToPixel(note.line), false);
        if (note.text) DoText(note.text, note.textX, note.textY, note.style, note.letters);
        gDraw.replaying = replaying;
        for (int32_t y = a.y0; y <= a.y1; ++y) {
            uint32_t *row = &gDraw.back[(size_t)y * gDraw.bw + a.x0];
            std::memcpy(&px[(size_t)(y - a.y0) * w], row, w * 4);
            std::memcpy(row, &saved[(size_t)(y - a.y0) * w], w * 4);
        }
        std::lock_guard<std::mutex> gf(gFront.lock);
        DropNote();
        gFront.noteArea = a;
        gFront.notePx.swap(px);
        gFront.noteUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        NoteSwap();
        gFront.pending = Union(gFront.pending, a);
    }
    WakeWindowThread();
}

void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Colour color, bool fill) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    uint32_t pixel = ToPixel(color);
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    DoRectangle(x0, y0, x1, y1, pixel, fill);
    Record(DrawOp{fill ? OP_FILL : OP_FRAME, x0, y0, x1, y1, pixel, 0, std::string(),
                  Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen)});
}

void KeepArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.kept = kNoArea;
    gDraw.keptPixels.clear();
    if (!gDraw.live) return;
    DoKeep(x0, y0, x1, y1);
    Record(DrawOp{OP_KEEP, x0, y0, x1, y1, 0, 0, std::string(), gDraw.kept});
}

void RestoreArea() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) {
        gDraw.kept = kNoArea;
        return;
    }
    Area a = gDraw.kept;
    DoRestore();
    Record(DrawOp{OP_RESTORE, 0, 0, 0, 0, 0, 0, std::string(), a});
}

void SetFont(uint32_t style, Colour color) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.font = FontStruct{style, color & 0xFFFFFF};
}

void Text(const char *text, int32_t x, int32_t y) {
    if (!text || !*text) return;
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const FontStruct f = gDraw.font;
    Area box = DoText(text, x, y, f.style, f.color);
    Record(DrawOp{OP_TEXT, x, y, x, y, f.style, f.color, text, box});
}

void TextInt(int32_t number, int32_t x, int32_t y) {
    char text[40];
    Int2Char(text, number);
    Text(text, x, y);
}

void GetTextSize(const char *text, uint32_t style, uint32_t &width, uint32_t &height) {
    width = height = 0;
    if (!text) return;
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    // Measured in the factor-1 font: sizes are game units whatever the buffer's factor.
    TTF_Font *font = FontFor(style, 1);
    if (!font) return;
    int w = 0, h = 0;
    if (*text == 0) {
        h = TTF_FontHeight(font);
    } else if (TTF_SizeUTF8(font, text, &w, &h) != 0) {
        return;
    }
    width = (uint32_t)(w > 0 ? w : 0);
    height = (uint32_t)(h > 0 ? h : 0);
}

void Int2Char(char *chp, int32_t nr) {
    // Worked in 64 bits, so that the most negative number prints in full like every other.
    int64_t n = nr;
    int len = 1;
    if (n < 0) ++len, n = -n;
    for (int64_t rest = n; rest > 9; rest /= 10) ++len;
    if (nr < 0) chp[0] = '-';
    chp[len] = 0;
    int stop = nr < 0 ? 1 : 0;
    for (int i = len - 1; i >= stop; --i) {
        chp[i] = (char)('0' + n % 10);
        n /= 10;
    }
}

void SetDataFolder(const char *folder) { gDataFolder = folder ? folder : ""; }

const char *ProgramFolder() {
    static std::string folder;
    static bool asked = false;
    if (!asked) {
        asked = true;
        if (char *base = SDL_GetBasePath()) {
            folder = base;
            SDL_free(base);
        }
    }
    return folder.c_str();
}

PictureHandle LoadBitmap(const char *name, uint32_t width, uint32_t height) {
    if (!name) return 0;
    // A picture already loaded from the same file at the same size shares its pixels; the file must still
    // be there, so that a load never succeeds for a file that is gone.
    const std::string path = PictureFileFor(DataPath(name));
    if (path.empty()) {
        TellMissingPicture(DataPath(name));
        return 0;
    }
    auto key = std::make_tuple(path, width, height);
    std::lock_guard<std::mutex> g(gDraw.lock);
    std::shared_ptr<Picture> pic;
    auto it = gDraw.shared.find(key);
    if (it != gDraw.shared.end()) {
        pic = it->second;
    } else {
        // Read now, so that a file that is no picture gives 0; at the factor drawing is at.
        pic = std::make_shared<Picture>();
        pic->file = path;
        if (width == 0 || height == 0) {
            SDL_Surface *probe = ReadPictureFile(path);
            if (!probe) return 0;
            width = width ? width : (uint32_t)probe->w;
            height = height ? height : (uint32_t)probe->h;
            SDL_FreeSurface(probe);
        }
        pic->width = width;
        pic->height = height;
        if (!Hold(*pic, gDraw.drawCount + 1)) return 0;
        gDraw.shared.emplace(key, pic);
    }
    for (size_t i = 0; i < gDraw.bit.size(); ++i) {
        if (!gDraw.bit[i].pic) {
            gDraw.bit[i].pic = pic;
            return (uint32_t)i + 1;
        }
    }
    gDraw.bit.push_back(BitStruct{pic});
    return (uint32_t)gDraw.bit.size();
}

// TRUE when the buffer holds the picture at (x, y) already: a recent call drew it there and nothing drawn
// since touches its area (a menu draws its buttons again at every poll).
static bool AlreadyThere(PictureHandle bitmap, int32_t x, int32_t y, const Area &a) {
    if (!gDraw.opsComplete) return false;
    size_t stop = gDraw.ops.size() > kLookBack ? gDraw.ops.size() - kLookBack : 0;
    for (size_t i = gDraw.ops.size(); i-- > stop;) {
        const DrawOp &old = gDraw.ops[i];
        if (old.kind == OP_PICTURE && old.a == bitmap && old.x0 == x && old.y0 == y) return true;
        const Area &o = old.area;
        if (old.kind != OP_KEEP && !Empty(o) && o.x0 <= a.x1 && a.x0 <= o.x1 && o.y0 <= a.y1 && a.y0 <= o.y1)
            return false;
    }
    return false;
}

void DrawBitmap(PictureHandle bitmap, int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const Picture *p = Entry(bitmap);
    if (!p) return;
    Area a = Clip(x, y, (int64_t)x + p->width - 1, (int64_t)y + p->height - 1, gDraw.xlen, gDraw.ylen);
    if (AlreadyThere(bitmap, x, y, a)) return;
    DoPicture(bitmap, x, y);
    Record(DrawOp{OP_PICTURE, x, y, x, y, bitmap, 0, std::string(), a});
}

void DrawMaskBitmap(PictureHandle bitmap, PictureHandle maskbitmap, int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const Picture *p = Entry(bitmap);
    if (!p || !Entry(maskbitmap)) return;
    Area a = Clip(x, y, (int64_t)x + p->width - 1, (int64_t)y + p->height - 1, gDraw.xlen, gDraw.ylen);
    DoMasked(bitmap, maskbitmap, x, y);
    Record(DrawOp{OP_MASKED, x, y, x, y, bitmap, maskbitmap, std::string(), a});
}

// ---- exported: inspection ------------------------------------------------------------------------------------------

uint32_t BufferFactor() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    return gDraw.live ? gDraw.k : 1;
}

Colour BufferPixel(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live || x < 0 || y < 0 || (uint32_t)x >= gDraw.xlen || (uint32_t)y >= gDraw.ylen) return 0;
    return FromPixel(gDraw.back[(size_t)y * gDraw.k * gDraw.bw + (size_t)x * gDraw.k]);
}

uint64_t BufferHash() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    uint64_t h = 14695981039346656037ull;  // FNV-1a over the pixels, a 32-bit word at a time
    if (!gDraw.live) return h;
    for (uint32_t p : gDraw.back) h = (h ^ p) * 1099511628211ull;
    return h;
}

Colour ScreenPixel(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.front.empty() || x < 0 || y < 0 || (uint32_t)x >= gFront.gameW || (uint32_t)y >= gFront.gameH) return 0;
    uint32_t k = gFront.xlen / gFront.gameW;
    return FromPixel(gFront.front[(size_t)y * k * gFront.xlen + (size_t)x * k]);
}

bool SaveScreen(const char *file) {
    if (!file) return false;
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.front.empty()) return false;
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormatFrom(gFront.front.data(), (int)gFront.xlen, (int)gFront.ylen, 32,
                                                        (int)(gFront.xlen * 4), SDL_PIXELFORMAT_RGB888);
    if (!s) return false;
    bool ok = SDL_SaveBMP(s, file) == 0;
    SDL_FreeSurface(s);
    return ok;
}

}  // namespace Wimdows
