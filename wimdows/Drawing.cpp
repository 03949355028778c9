// Wimdows, the drawing surface: the back buffer every drawing call paints into, the table of loaded pictures,
// text in the game's fonts, and the front picture that the window thread puts on the screen.
//
// Sections: types; state; internal: areas and colours, drawing (gDraw.lock held), fonts; the window thread's
// side (opening and closing the surface, showing the front picture); exported: drawing, pictures, inspection.
//
// Locks (see Wimdows.cpp for the whole order): gDraw.lock guards the back buffer, the picture table,
// buffering and the font, and every drawing call and the freeing take it; gFront.lock guards the front
// picture and its part still to be shown, and is taken inside gDraw.lock.
#include <SDL.h>
#include <SDL_ttf.h>

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

// A pixel rectangle with inclusive corners; empty when x0 > x1 or y0 > y1.
struct Area {
    int32_t x0, y0, x1, y1;
};

static const Area kNoArea = {1, 1, 0, 0};

// Pixels of a loaded picture as 0x00RRGGBB, shared by every load of the same file at the same size.
struct Picture {
    uint32_t width, height;
    std::vector<uint32_t> px;
};

struct BitStruct {
    std::shared_ptr<const Picture> pic;  // null marks an empty entry
    uint32_t width, height;
};

struct FontStruct {
    uint32_t style;
    uint32_t color;  // 0x00BBGGRR
};

struct FontFace {
    const char *file;
    int pixels;  // em size in pixels
};

// ---- state -------------------------------------------------------------------------------------------

struct DrawRec {
    std::mutex lock;
    bool live = false;  // a window is up and the buffers exist
    bool buffering = false;
    uint32_t xlen = 0, ylen = 0;
    std::vector<uint32_t> back;  // 0x00RRGGBB
    // Drawn since the last UpdateWindow: the rows as a whole, and per row its first and last column
    // (first > last: nothing), so that showing compares only what was drawn.
    Area dirty = kNoArea;
    std::vector<int32_t> rowFirst, rowLast;
    std::vector<BitStruct> bit;
    std::map<std::tuple<std::string, uint32_t, uint32_t>, std::shared_ptr<const Picture>> shared;
    FontStruct font = {0, 0};
    // KeepArea's copy of part of the back buffer, for RestoreArea.
    Area kept = kNoArea;
    std::vector<uint32_t> keptPixels;
};

struct FrontRec {
    std::mutex lock;
    std::vector<uint32_t> front;  // what the window shows, or is about to
    uint32_t xlen = 0, ylen = 0;
    Area pending = kNoArea;       // part of front not yet on the screen
};

// The records are made once and never destroyed, so that a window thread still running when the program
// exits never meets a destroyed lock.
static DrawRec &gDraw = *new DrawRec;
static FrontRec &gFront = *new FrontRec;

static const char *kFontDir = "/usr/share/fonts/truetype/dejavu/";
// The stock font numbers: 0 the score panel, 1 the highscore table, the rest for anything else.
static const FontFace kFaces[6] = {
    {"DejaVuSans-Bold.ttf", 22},      // 0: the general font
    {"DejaVuSans-Bold.ttf", 30},      // 1: large headings and tables
    {"DejaVuSansMono-Bold.ttf", 16},  // 2: fixed width, bold
    {"DejaVuSans.ttf", 14},           // 3: small proportional
    {"DejaVuSansMono.ttf", 14},       // 4: small fixed width
    {"DejaVuSansMono.ttf", 12},       // 5: console-like
};
static TTF_Font *gFonts[6];  // main thread only; opened on first use, kept for the run
static bool gFontFailed[6];
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

// 0x00BBGGRR (top byte ignored) to the buffer's 0x00RRGGBB, and back.
static uint32_t ToPixel(uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
static uint32_t FromPixel(uint32_t p) { return ToPixel(p); }

// ---- internal: drawing (main thread, gDraw.lock held) ----------------------------------------------------

// Notes an area drawn into the back buffer; in direct mode also puts it on the screen at once.
static void Drawn(const Area &a) {
    if (Empty(a)) return;
    gDraw.dirty = Union(gDraw.dirty, a);
    for (int32_t y = a.y0; y <= a.y1; ++y) {
        if (a.x0 < gDraw.rowFirst[y]) gDraw.rowFirst[y] = a.x0;
        if (a.x1 > gDraw.rowLast[y]) gDraw.rowLast[y] = a.x1;
    }
    if (gDraw.buffering) return;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        for (int32_t y = a.y0; y <= a.y1; ++y) {
            size_t at = (size_t)y * gDraw.xlen + a.x0;
            std::memcpy(&gFront.front[at], &gDraw.back[at], (size_t)(a.x1 - a.x0 + 1) * 4);
        }
        gFront.pending = Union(gFront.pending, a);
    }
    WakeWindowThread();
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
        for (int32_t y = d.y0; y <= d.y1; ++y) {
            int32_t x0 = gDraw.rowFirst[y], x1 = gDraw.rowLast[y];
            gDraw.rowFirst[y] = (int32_t)gDraw.xlen;
            gDraw.rowLast[y] = -1;
            if (x0 > x1) continue;
            size_t at = (size_t)y * gDraw.xlen + x0, span = (size_t)(x1 - x0 + 1) * 4;
            if (std::memcmp(&gFront.front[at], &gDraw.back[at], span) == 0) continue;
            std::memcpy(&gFront.front[at], &gDraw.back[at], span);
            changed = Union(changed, Area{x0, y, x1, y});
        }
        if (Empty(changed)) return;
        gFront.pending = Union(gFront.pending, changed);
    }
    WakeWindowThread();
}

// The first row is filled pixel by pixel, the others copied from it (a block copy is many times faster).
static void FillArea(const Area &a, uint32_t pixel) {
    if (Empty(a)) return;
    uint32_t *first = &gDraw.back[(size_t)a.y0 * gDraw.xlen + a.x0];
    size_t n = (size_t)(a.x1 - a.x0 + 1);
    for (size_t x = 0; x < n; ++x) first[x] = pixel;
    for (int32_t y = a.y0 + 1; y <= a.y1; ++y) std::memcpy(&gDraw.back[(size_t)y * gDraw.xlen + a.x0], first, n * 4);
}

static TTF_Font *FontFor(uint32_t style) {
    if (style > 5) style = 0;
    if (gFonts[style] || gFontFailed[style]) return gFonts[style];
    if (!TTF_WasInit() && TTF_Init() != 0) {
        std::fprintf(stderr, "Can't start the font renderer: %s\n", TTF_GetError());
        for (bool &f : gFontFailed) f = true;
        return nullptr;
    }
    std::string path = std::string(kFontDir) + kFaces[style].file;
    gFonts[style] = TTF_OpenFont(path.c_str(), kFaces[style].pixels);
    if (!gFonts[style]) {
        std::fprintf(stderr, "Can't open font %s.\n", path.c_str());
        gFontFailed[style] = true;
    }
    return gFonts[style];
}

static bool Live() { return WindowLive(); }

// ---- internal: the window thread's side ------------------------------------------------------------------

void SurfaceOpen(uint32_t w, uint32_t h) {
    // The first picture is black.
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.xlen = w;
    gDraw.ylen = h;
    gDraw.back.assign((size_t)w * h, 0);
    gDraw.dirty = kNoArea;
    gDraw.rowFirst.assign((size_t)h, (int32_t)w);
    gDraw.rowLast.assign((size_t)h, -1);
    gDraw.buffering = false;
    gDraw.live = true;
    std::lock_guard<std::mutex> gf(gFront.lock);
    gFront.xlen = w;
    gFront.ylen = h;
    gFront.front.assign((size_t)w * h, 0);
    gFront.pending = kNoArea;
}

void SurfaceClose() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.live = false;
    std::vector<uint32_t>().swap(gDraw.back);
    gDraw.xlen = gDraw.ylen = 0;
    gDraw.buffering = false;
    gDraw.dirty = kNoArea;
    std::vector<int32_t>().swap(gDraw.rowFirst);
    std::vector<int32_t>().swap(gDraw.rowLast);
    std::vector<BitStruct>().swap(gDraw.bit);
    gDraw.shared.clear();
    gDraw.kept = kNoArea;
    std::vector<uint32_t>().swap(gDraw.keptPixels);
    std::lock_guard<std::mutex> gf(gFront.lock);
    std::vector<uint32_t>().swap(gFront.front);
    gFront.xlen = gFront.ylen = 0;
    gFront.pending = kNoArea;
}

void ShowFront(SDL_Window *window, bool whole) {
    SDL_Rect r;
    {
        std::lock_guard<std::mutex> g(gFront.lock);
        if (whole) gFront.pending = Area{0, 0, (int32_t)gFront.xlen - 1, (int32_t)gFront.ylen - 1};
        SDL_Surface *s = SDL_GetWindowSurface(window);
        if (!s || gFront.front.empty()) return;
        Area a = gFront.pending;
        gFront.pending = kNoArea;
        uint32_t w = gFront.xlen < (uint32_t)s->w ? gFront.xlen : (uint32_t)s->w;
        uint32_t h = gFront.ylen < (uint32_t)s->h ? gFront.ylen : (uint32_t)s->h;
        a = Clip(a.x0, a.y0, a.x1, a.y1, w, h);
        if (Empty(a)) return;
        r = SDL_Rect{a.x0, a.y0, a.x1 - a.x0 + 1, a.y1 - a.y0 + 1};
        if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
        const uint32_t *from = gFront.front.data() + (size_t)a.y0 * gFront.xlen + a.x0;
        uint8_t *to = (uint8_t *)s->pixels + (size_t)a.y0 * s->pitch + (size_t)a.x0 * s->format->BytesPerPixel;
        SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888, from, (int)(gFront.xlen * 4), s->format->format, to,
                          s->pitch);
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    }
    SDL_UpdateWindowSurfaceRects(window, &r, 1);
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

void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Colour color, bool fill) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    uint32_t pixel = ToPixel(color);
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    Area whole = Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen);
    if (Empty(whole)) return;
    if (fill) {
        FillArea(whole, pixel);
    } else {
        // Each edge clipped on its own: an edge outside the buffer paints nothing.
        FillArea(Clip(x0, y0, x1, y0, gDraw.xlen, gDraw.ylen), pixel);
        FillArea(Clip(x0, y1, x1, y1, gDraw.xlen, gDraw.ylen), pixel);
        FillArea(Clip(x0, y0, x0, y1, gDraw.xlen, gDraw.ylen), pixel);
        FillArea(Clip(x1, y0, x1, y1, gDraw.xlen, gDraw.ylen), pixel);
    }
    Drawn(whole);
}

void KeepArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.kept = kNoArea;
    gDraw.keptPixels.clear();
    if (!gDraw.live) return;
    Area a = Clip(x0, y0, x1, y1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    size_t w = (size_t)(a.x1 - a.x0 + 1);
    gDraw.keptPixels.resize(w * (size_t)(a.y1 - a.y0 + 1));
    for (int32_t y = a.y0; y <= a.y1; ++y)
        std::memcpy(&gDraw.keptPixels[(size_t)(y - a.y0) * w], &gDraw.back[(size_t)y * gDraw.xlen + a.x0], w * 4);
    gDraw.kept = a;
}

void RestoreArea() {
    std::lock_guard<std::mutex> g(gDraw.lock);
    Area a = gDraw.kept;
    gDraw.kept = kNoArea;
    if (!gDraw.live || Empty(a)) return;
    size_t w = (size_t)(a.x1 - a.x0 + 1);
    for (int32_t y = a.y0; y <= a.y1; ++y)
        std::memcpy(&gDraw.back[(size_t)y * gDraw.xlen + a.x0], &gDraw.keptPixels[(size_t)(y - a.y0) * w], w * 4);
    std::vector<uint32_t>().swap(gDraw.keptPixels);
    Drawn(a);
}

void SetFont(uint32_t style, Colour color) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.font = FontStruct{style, color & 0xFFFFFF};
}

void Text(const char *text, int32_t x, int32_t y) {
    if (!text || !*text || !Live()) return;
    FontStruct f;
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        f = gDraw.font;
    }
    TTF_Font *font = FontFor(f.style);
    if (!font) return;
    SDL_Color fg = {(Uint8)(f.color & 0xFF), (Uint8)((f.color >> 8) & 0xFF), (Uint8)((f.color >> 16) & 0xFF), 255};
    SDL_Surface *glyphs = TTF_RenderText_Blended(font, text, fg);
    if (!glyphs) return;
    if (glyphs->format->format != SDL_PIXELFORMAT_ARGB8888) {
        SDL_Surface *c = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(glyphs);
        glyphs = c;
        if (!glyphs) return;
    }
    uint32_t ink = ToPixel(f.color);
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (gDraw.live) {
        Area a = Clip(x, y, (int64_t)x + glyphs->w - 1, (int64_t)y + glyphs->h - 1, gDraw.xlen, gDraw.ylen);
        if (!Empty(a)) {
            if (SDL_MUSTLOCK(glyphs)) SDL_LockSurface(glyphs);
            for (int32_t py = a.y0; py <= a.y1; ++py) {
                const uint32_t *src = (const uint32_t *)((const uint8_t *)glyphs->pixels +
                                                         (size_t)(py - y) * glyphs->pitch);
                uint32_t *dst = &gDraw.back[(size_t)py * gDraw.xlen];
                for (int32_t px = a.x0; px <= a.x1; ++px) {
                    uint32_t alpha = src[px - x] >> 24;
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
    }
    SDL_FreeSurface(glyphs);
}

void TextInt(int32_t number, int32_t x, int32_t y) {
    char text[40];
    Int2Char(text, number);
    Text(text, x, y);
}

void GetTextSize(const char *text, uint32_t style, uint32_t &width, uint32_t &height) {
    width = height = 0;
    if (!text || !Live()) return;
    TTF_Font *font = FontFor(style);
    if (!font) return;
    int w = 0, h = 0;
    if (*text == 0) {
        h = TTF_FontHeight(font);
    } else if (TTF_SizeText(font, text, &w, &h) != 0) {
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

// Reads a BMP and brings it to width by height (0 keeps the file's own size); null when it fails.
static std::shared_ptr<Picture> ReadPicture(const char *file, uint32_t width, uint32_t height) {
    SDL_Surface *raw = SDL_LoadBMP(file);
    if (!raw) return nullptr;
    SDL_Surface *s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(raw);
    if (!s) return nullptr;
    uint32_t sw = (uint32_t)s->w, sh = (uint32_t)s->h;
    if (width == 0) width = sw;
    if (height == 0) height = sh;
    std::shared_ptr<Picture> p;
    // Bounded so that a wrong size cannot take all memory: 64 million pixels at most.
    if (sw > 0 && sh > 0 && (uint64_t)width * height <= (64u << 20)) {
        std::vector<uint32_t> pixels((size_t)sw * sh);
        if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
        for (uint32_t y = 0; y < sh; ++y)
            std::memcpy(&pixels[(size_t)y * sw], (const uint8_t *)s->pixels + (size_t)y * s->pitch, (size_t)sw * 4);
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        for (uint32_t &px : pixels) px &= 0xFFFFFF;
        p = std::make_shared<Picture>();
        p->width = width;
        p->height = height;
        if (width == sw && height == sh) {
            p->px.swap(pixels);
        } else {
            p->px.resize((size_t)width * height);
            ScalePixels(pixels.data(), sw, sh, p->px.data(), width, height);
        }
    }
    SDL_FreeSurface(s);
    return p;
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
    const std::string path = DataPath(name);
    const char *file = path.c_str();
    // A picture already loaded from the same file at the same size shares its pixels; the file must still
    // be there, so that a load never succeeds for a file that is gone.
    std::FILE *f = std::fopen(file, "rb");
    if (!f) return 0;
    std::fclose(f);
    auto key = std::make_tuple(path, width, height);
    std::shared_ptr<const Picture> pic;
    {
        std::lock_guard<std::mutex> g(gDraw.lock);
        auto it = gDraw.shared.find(key);
        if (it != gDraw.shared.end()) pic = it->second;
    }
    if (!pic) {
        pic = ReadPicture(file, width, height);
        if (!pic) return 0;
    }
    std::lock_guard<std::mutex> g(gDraw.lock);
    gDraw.shared.emplace(key, pic);
    BitStruct entry = {pic, pic->width, pic->height};
    for (size_t i = 0; i < gDraw.bit.size(); ++i) {
        if (!gDraw.bit[i].pic) {
            gDraw.bit[i] = entry;
            return (uint32_t)i + 1;
        }
    }
    gDraw.bit.push_back(entry);
    return (uint32_t)gDraw.bit.size();
}

static const BitStruct *Entry(PictureHandle bitmap) {
    if (bitmap == 0 || bitmap > gDraw.bit.size() || !gDraw.bit[bitmap - 1].pic) return nullptr;
    return &gDraw.bit[bitmap - 1];
}

void DrawBitmap(PictureHandle bitmap, int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const BitStruct *b = Entry(bitmap);
    if (!b) return;
    Area a = Clip(x, y, (int64_t)x + b->width - 1, (int64_t)y + b->height - 1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    const Picture &p = *b->pic;
    for (int32_t py = a.y0; py <= a.y1; ++py)
        std::memcpy(&gDraw.back[(size_t)py * gDraw.xlen + a.x0],
                    &p.px[(size_t)(py - y) * p.width + (a.x0 - x)], (size_t)(a.x1 - a.x0 + 1) * 4);
    Drawn(a);
}

// A mask pixel lets the picture through when it is light: at least half brightness on average, so that a
// mask softened by scaling still cuts cleanly. Outside the mask nothing gets through.
static bool MaskOpen(const Picture &m, int32_t mx, int32_t my) {
    if (mx < 0 || my < 0 || (uint32_t)mx >= m.width || (uint32_t)my >= m.height) return false;
    uint32_t p = m.px[(size_t)my * m.width + mx];
    return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) >= 384;
}

void DrawMaskBitmap(PictureHandle bitmap, PictureHandle maskbitmap, int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live) return;
    const BitStruct *b = Entry(bitmap);
    const BitStruct *m = Entry(maskbitmap);
    if (!b || !m) return;
    Area a = Clip(x, y, (int64_t)x + b->width - 1, (int64_t)y + b->height - 1, gDraw.xlen, gDraw.ylen);
    if (Empty(a)) return;
    const Picture &p = *b->pic;
    const Picture &mask = *m->pic;
    for (int32_t py = a.y0; py <= a.y1; ++py) {
        uint32_t *dst = &gDraw.back[(size_t)py * gDraw.xlen];
        const uint32_t *src = &p.px[(size_t)(py - y) * p.width];
        for (int32_t px = a.x0; px <= a.x1; ++px)
            if (MaskOpen(mask, px - x, py - y)) dst[px] = src[px - x];
    }
    Drawn(a);
}

// ---- exported: inspection ------------------------------------------------------------------------------------------

Colour BufferPixel(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gDraw.lock);
    if (!gDraw.live || x < 0 || y < 0 || (uint32_t)x >= gDraw.xlen || (uint32_t)y >= gDraw.ylen) return 0;
    return FromPixel(gDraw.back[(size_t)y * gDraw.xlen + x]);
}

Colour ScreenPixel(int32_t x, int32_t y) {
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.front.empty() || x < 0 || y < 0 || (uint32_t)x >= gFront.xlen || (uint32_t)y >= gFront.ylen)
        return 0;
    return FromPixel(gFront.front[(size_t)y * gFront.xlen + x]);
}

bool SaveScreen(const char *file) {
    if (!file) return false;
    std::lock_guard<std::mutex> g(gFront.lock);
    if (gFront.front.empty()) return false;
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormatFrom(gFront.front.data(), (int)gFront.xlen, (int)gFront.ylen,
                                                        32, (int)(gFront.xlen * 4), SDL_PIXELFORMAT_RGB888);
    if (!s) return false;
    bool ok = SDL_SaveBMP(s, file) == 0;
    SDL_FreeSurface(s);
    return ok;
}

}  // namespace Wimdows
