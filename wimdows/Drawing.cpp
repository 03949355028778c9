// Wimdows, drawing: the back buffer every drawing call paints into, text in the game's fonts, the front
// picture that UpdateWindow fills for the window thread, and inspection. Pictures are read in Pictures.cpp; the
// record of drawing calls and the window thread's side are in Showing.cpp; their shared state in
// DrawingInternal.h.
//
// Game units and buffer pixels: every call takes positions and sizes in the game's units (the size Window
// was given, 800 by 680 for the game). The back buffer holds k by k pixels per unit, k the buffer factor: 1
// while the window shows the game at less than 1.5 times its size, 2 from there on, so that pictures (from
// the set at twice the size), text (at twice the pixel size), rectangles and masks come out sharp. Only
// the drawing files and the window thread know k, the window's size and the bars around the picture.
//
// Sections: state (the fonts); internal: drawing (gDraw.lock held); exported: drawing and text, inspection.
//
// Locks (see Wimdows.cpp for the whole order): gDraw.lock guards the back buffer, the picture table, the
// fonts, buffering and the record of drawing calls, and every drawing call and the freeing take it;
// gFront.lock guards the front picture, its part still to be shown and the view, and is taken inside
// gDraw.lock.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "wimdows/DrawingInternal.h"
#include "wimdows/Surface.h"
#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- state -------------------------------------------------------------------------------------------

// The records are made once and never destroyed, so that a window thread still running when the program
// exits never meets a destroyed lock.
DrawRec &gDraw = *new DrawRec;
FrontRec &gFront = *new FrontRec;

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
void DropNote() {
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
void AllDrawn() {
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
void DoRectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t pixel, bool fill) {
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

void DoPicture(PictureHandle bitmap, int32_t x, int32_t y) {
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

void DoMasked(PictureHandle bitmap, PictureHandle maskbitmap, int32_t x, int32_t y) {
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
Area DoText(const std::string &text, int32_t x, int32_t y, uint32_t style, uint32_t color) {
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
void DoKeep(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
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

void DoRestore() {
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
// ---- exported: drawing and text ----------------------------------------------------------------------------

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
