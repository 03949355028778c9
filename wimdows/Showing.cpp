// Wimdows, the drawing surface's other side: the record of drawing calls, which paints the back buffer again
// when the factor changes, and the window thread's side (opening, resizing and closing the surface, showing
// the front picture, the pointer's position in game units). Drawing itself is Drawing.cpp's.
//
// Sections: state; internal: the record of drawing calls and the change of factor (gDraw.lock held); the
// window thread's side.
//
// Locks (see Wimdows.cpp for the whole order): the record is gDraw.lock's; gFront.lock guards the front
// picture, its part still to be shown and the view, and is taken inside gDraw.lock.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

// Drawing calls recorded at most; past it the hidden ones are left out, and when that does not halve the
// record the record stops until a call paints the whole picture again.
static const size_t kMaxOps = 8192;

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
void Record(DrawOp op) {
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
}  // namespace Wimdows
