// The pictures of the board: snake pieces of both players, the four knurfs, the wall tiles, the score
// panel and the countdown digits.
#include <cmath>
#include <cstdio>

#include "pictures.h"

#include "game/Layout.h"
#include "game/SnakePieces.h"

using namespace Paint;

namespace Pictures {

// ---- types ---------------------------------------------------------------------------------------------

struct SnakeLook {
    Rgb base, dark, light, mark;
    bool stripe;  // a back stripe all along (player 1) or one diamond per cell (player 2)
};

// ---- state -------------------------------------------------------------------------------------------

static const float kPi = 3.14159265f;


// ---- internal: snakes ----------------------------------------------------------------------------------

static SnakeLook Look(int player) {
    if (player == 1) return SnakeLook{Pal::Red, Hex(0x7A130E), Hex(0xFF9A7A), Hex(0xFFC845), true};
    return SnakeLook{Pal::Green, Hex(0x0F5A1E), Hex(0xA8F58A), Hex(0xE9FF9A), false};
}

// Colour of a tube at `along` (0..1 through the cell, or pixels for big snakes) and `t` (-1..1 across).
// It depends on `t` symmetrically and on `along` only through the cell joint, so every piece meets every
// other at the cell edge with the same colours.
static Rgb TubeColour(const SnakeLook &lk, float along, float t, float cellAlong) {
    float at = std::fabs(t);
    float round = std::sqrt(std::max(0.0f, 1 - at * at));
    Rgb c = Mix(lk.dark, lk.base, Smooth(0.0f, 0.75f, round));
    c = Mix(c, lk.light, 0.35f * Smooth(0.55f, 1.0f, round) * (1 - Smooth(0.0f, 0.45f, at)));
    if (lk.stripe) {
        c = Mix(c, lk.mark, 0.9f * (1 - Smooth(0.18f, 0.3f, at)));
    } else {
        // A faint spine shows the bends; a pale diamond marks each cell.
        c = Mix(c, lk.light, 0.35f * (1 - Smooth(0.08f, 0.18f, at)));
        float dq = std::fabs(cellAlong - 0.5f) / 0.24f + at / 0.5f;
        c = Mix(c, lk.dark, 0.8f * (1 - Smooth(0.95f, 1.12f, dq)) * Smooth(0.82f, 0.95f, dq));
        c = Mix(c, lk.mark, 0.9f * (1 - Smooth(0.75f, 0.85f, dq)));
    }
    float joint = std::min(cellAlong, 1 - cellAlong);
    c = Scale(c, 0.72f + 0.28f * Smooth(0.0f, 0.14f, joint));
    (void)along;
    return c;
}

// Maps a point of a cell (0..20) onto the piece's canonical frame: along the snake (0..1 for body
// pieces, 0..20 pixels for heads) and across it (pixels from the middle line).
static void PieceFrame(int piece, float x, float y, float &along, float &across) {
    using namespace SnakePieces;
    switch (piece) {
    case HORIZONTAL:
        along = x / 20;
        across = y - 10;
        return;
    case VERTICAL:
        along = y / 20;
        across = x - 10;
        return;
    case HEAD_RIGHT:
        along = x;
        across = y - 10;
        return;  // joined on the left
    case HEAD_LEFT:
        along = 20 - x;
        across = y - 10;
        return;
    case HEAD_UP:
        along = 20 - y;
        across = x - 10;
        return;  // joined below
    case HEAD_DOWN:
        along = y;
        across = x - 10;
        return;  // joined above
    default: break;
    }
    // Corners, as the one that joins the left and the lower neighbour.
    if (piece == RIGHT_DOWN || piece == TOP_RIGHT) x = 20 - x;
    if (piece == TOP_LEFT || piece == TOP_RIGHT) y = 20 - y;
    float r = std::hypot(x, 20 - y);
    float a = std::atan2(x, 20 - y);
    along = Clamp01(a / (kPi / 2));
    across = r - 10;
}


static float BodyHalfWidth(float along) { return 6.0f + 1.0f * std::sin(kPi * along); }

// Signed distance of the head outline in its canonical frame (along 0..20, across), pixels.
static float HeadSdf(float along, float across) {
    float neck = std::max(std::fabs(across) - 6.0f, along - 10.0f);
    float skull = SdEllipse(along, across, 10.8f, 0, 8.4f, 7.6f);
    return std::min(neck, skull);
}

static float PieceSdf(int piece, float x, float y) {
    float along, across;
    PieceFrame(piece, x, y, along, across);
    if (SnakePieces::IsHead((uint32_t)piece)) return HeadSdf(along, across);
    return std::fabs(across) - BodyHalfWidth(along);
}

static Rgba PieceColour(const SnakeLook &lk, int piece, float x, float y) {
    float along, across;
    PieceFrame(piece, x, y, along, across);
    Rgb c;
    float d;
    if (!SnakePieces::IsHead((uint32_t)piece)) {
        float hw = BodyHalfWidth(along);
        c = TubeColour(lk, along, across / hw, along);
        d = std::fabs(across) - hw;
    } else {
        float hw = along < 10 ? 6.0f + 1.6f * Smooth(2.0f, 10.0f, along) : 7.6f;
        float t = Clamp01(std::fabs(across) / hw) * (across < 0 ? -1 : 1);
        // The stripe or diamonds end on the neck; the skull is plain with a lighter snout.
        SnakeLook plain = lk;
        if (along > 7) plain.mark = Mix(lk.mark, lk.base, Smooth(7.0f, 10.0f, along));
        c = TubeColour(plain, along, t, along < 10 ? along / 20 : 0.5f);
        if (!lk.stripe && along > 4)
            c = TubeColour(SnakeLook{lk.base, lk.dark, lk.light, lk.base, true}, along, t, 0.5f);
        c = Mix(c, lk.light, 0.25f * Smooth(14.0f, 19.0f, along));
        d = HeadSdf(along, across);
        // Eyes towards the front, pupils looking ahead.
        for (int side = -1; side <= 1; side += 2) {
            float ex = 13.4f, ey = 3.9f * side;
            float de = std::hypot(along - ex, across - ey);
            if (de < 2.75f) c = Mix(c, Hex(0x1A0A06), Clamp01((2.75f - de) * 3));
            if (de < 2.25f) c = Mix(c, Hex(0xFFFBEA), Clamp01((2.25f - de) * 3));
            float dp = std::hypot(along - (ex + 0.9f), across - ey);
            if (dp < 1.25f) c = Mix(c, Hex(0x0B0B14), Clamp01((1.25f - dp) * 3));
            float dg = std::hypot(along - (ex + 0.4f), across - (ey - 0.8f));
            if (dg < 0.5f) c = Mix(c, Hex(0xFFFFFF), Clamp01((0.5f - dg) * 3));
        }
        for (int side = -1; side <= 1; side += 2) {
            float dn = std::hypot(along - 17.6f, across - 1.6f * side);
            if (dn < 0.6f) c = Mix(c, lk.dark, Clamp01((0.6f - dn) * 3));
        }
    }
    // A thin dark rim along the sides keeps the snake crisp on black.
    c = Mix(c, Scale(lk.dark, 0.6f), 0.8f * Smooth(-1.1f, -0.2f, d));
    return Solid(c);
}

// ---- internal: knurfs ---------------------------------------------------------------------------------

struct KnurfLook {
    Rgb body, dark, light;
};

static KnurfLook KnurfColours(KnurfKind k) {
    switch (k) {
    case KNURF_FASTER: return KnurfLook{Pal::Yellow, Hex(0x9A6A00), Hex(0xFFF7C2)};
    case KNURF_POISON: return KnurfLook{Pal::Blue, Hex(0x0F2C7A), Hex(0xBFE0FF)};
    case KNURF_STEERED: return KnurfLook{Pal::Lime, Hex(0x13621A), Hex(0xDDFFC8)};
    default: return KnurfLook{Pal::Pink, Hex(0x8E1F5A), Hex(0xFFD3EA)};
    }
}

// The body outline in knurf units (a 20 by 20 cell, centre 10, 10.5).
static float KnurfSdf(KnurfKind k, float u, float v) {
    float dx = u - 10, dy = v - 10.8f;
    float ang = std::atan2(dy, dx);
    float r = std::hypot(dx, dy);
    switch (k) {
    case KNURF_POISON: {
        // Spikes all round: danger at a glance.
        float s = std::pow(std::fabs(std::cos(ang * 4.5f)), 6.0f);
        return r - (6.4f + 2.6f * s);
    }
    case KNURF_FASTER: return SdEllipse(u, v, 10.8f, 11.0f, 7.6f, 7.0f);
    case KNURF_STEERED: {
        float body = SdEllipse(u, v, 10, 12.0f, 7.8f, 6.9f);
        float a1 = SdSegment(u, v, 7.2f, 6.5f, 5.2f, 2.6f, 0.75f);
        float a2 = SdSegment(u, v, 12.8f, 6.5f, 14.8f, 2.6f, 0.75f);
        float b1 = SdCircle(u, v, 5.0f, 2.3f, 1.6f);
        float b2 = SdCircle(u, v, 15.0f, 2.3f, 1.6f);
        return std::min(std::min(body, std::min(a1, a2)), std::min(b1, b2));
    }
    default: {
        // A soft, fluffy ball.
        return r - (8.0f + 0.45f * std::sin(ang * 11.0f));
    }
    }
}

static Rgba KnurfColour(KnurfKind k, float u, float v) {
    KnurfLook lk = KnurfColours(k);
    float d = KnurfSdf(k, u, v);
    // Lit from the top left.
    float lx = u - 7.5f, ly = v - 7.5f;
    float lit = 1 - Clamp01(std::hypot(lx, ly) / 11.0f);
    Rgb c = Mix(lk.dark, lk.body, Smooth(0.0f, 0.55f, lit + 0.25f));
    c = Mix(c, lk.light, 0.55f * Smooth(0.6f, 0.95f, lit));
    if (k == KNURF_STEERED && v < 8.0f) c = Mix(lk.body, lk.dark, 0.3f);  // the antennae
    c = Mix(c, Scale(lk.dark, 0.55f), 0.85f * Smooth(-1.0f, -0.15f, d));
    // Eyes.
    float ey = (k == KNURF_STEERED) ? 10.6f : 9.4f;
    float exL = (k == KNURF_FASTER) ? 9.0f : 7.4f, exR = (k == KNURF_FASTER) ? 13.8f : 12.6f;
    float px = (k == KNURF_FASTER) ? 0.9f : 0.0f, py = (k == KNURF_POISON) ? 0.5f : 0.35f;
    for (float ex : {exL, exR}) {
        float de = std::hypot((u - ex) / 1.0f, (v - ey) / 1.15f);
        if (de < 2.6f) c = Mix(c, Scale(lk.dark, 0.5f), Clamp01((2.6f - de) * 3));
        if (de < 2.15f) c = Mix(c, Hex(0xFFFFFF), Clamp01((2.15f - de) * 3));
        float dp = std::hypot(u - ex - px, v - ey - py);
        if (dp < 1.15f) c = Mix(c, Hex(0x101018), Clamp01((1.15f - dp) * 3));
    }
    if (k == KNURF_POISON) {
        // Angry brows and a frown.
        float b1 = SdSegment(u, v, 5.2f, 6.0f, 9.0f, 7.6f, 0.55f);
        float b2 = SdSegment(u, v, 14.8f, 6.0f, 11.0f, 7.6f, 0.55f);
        c = Mix(c, Hex(0x06102E), Clamp01(0.5f - std::min(b1, b2) * 3));
        float m = std::fabs(std::hypot(u - 10, v - 17.2f) - 2.8f) - 0.5f;
        if (v < 15.4f) c = Mix(c, Hex(0x06102E), Clamp01(0.5f - m * 3));
    } else {
        float mx = (k == KNURF_FASTER) ? 11.4f : 10.0f;
        float m = std::fabs(std::hypot(u - mx, v - 11.6f) - 3.2f) - 0.5f;
        if (v > 13.4f) c = Mix(c, Scale(lk.dark, 0.5f), Clamp01(0.5f - m * 3));
    }
    return Solid(c);
}

// ---- internal: walls -----------------------------------------------------------------------------------

// Brick pattern in tile units (0..20 both ways), running bond along `u`.
static Rgb BrickColour(float u, float v) {
    int row = v < 10 ? 0 : 1;
    float vv = v - row * 10;
    float uu = std::fmod(u + (row ? 10.0f : 0.0f), 20.0f);
    float edge = std::min(std::min(uu, 20 - uu), std::min(vv, 10 - vv));
    if (edge < 0.9f) return Pal::Mortar;
    // A little grain that repeats with the tile.
    float grain = 0.05f * std::sin(u * 2.1f + v * 1.3f + row * 2.0f) + 0.04f * std::sin(u * 0.7f - v * 2.9f);
    Rgb c = Scale(Pal::Brick, 0.94f + grain + (row ? -0.05f : 0.03f));
    if (vv < 2.2f) c = Mix(c, Hex(0x8A9BC6), 0.45f * (1 - Smooth(0.9f, 2.2f, vv)));
    if (vv > 8.0f) c = Mix(c, Hex(0x2E3858), 0.5f * Smooth(8.0f, 9.1f, vv));
    return c;
}

// ---- shared painters -----------------------------------------------------------------------------------

void DrawSnakePiece(Canvas &cv, int player, int piece, float x, float y, float size) {
    SnakeLook lk = Look(player);
    float k = 20.0f / size;
    Fill(
        cv, x, y, x + size, y + size,
        [&](float px, float py) {
            float u = (px - x) * k, v = (py - y) * k;
            // Pieces end exactly at the cell edge so neighbours join.
            if (u < 0 || v < 0 || u > 20 || v > 20) return 1.0f;
            return PieceSdf(piece, u, v) / k;
        },
        [&](float px, float py) { return PieceColour(lk, piece, (px - x) * k, (py - y) * k); });
}

void DrawKnurf(Canvas &cv, KnurfKind kind, float x, float y, float size) {
    float k = 20.0f / size;
    if (kind == KNURF_FASTER) {
        // Speed streaks behind it.
        for (int i = 0; i < 3; ++i) {
            float yy = y + (7.5f + i * 3.0f) / k;
            Line(cv, x + (0.6f + (i == 1 ? 0 : 1.0f)) / k, yy, x + (3.6f) / k, yy, 1.0f / k, Hex(0xFFE98A), 0.9f);
        }
    }
    Fill(
        cv, x, y, x + size, y + size,
        [&](float px, float py) { return KnurfSdf(kind, (px - x) * k, (py - y) * k) / k; },
        [&](float px, float py) { return KnurfColour(kind, (px - x) * k, (py - y) * k); });
}

void DrawWall(Canvas &cv, int vertical, float x, float y, float size) {
    float k = 20.0f / size;
    Fill(
        cv, x, y, x + size, y + size, [&](float, float) { return -1.0f; },
        [&](float px, float py) {
            float u = (px - x) * k, v = (py - y) * k;
            return Solid(vertical ? BrickColour(v, u) : BrickColour(u, v));
        });
}

void DrawBigSnake(Canvas &cv, int player, const std::vector<float> &path, float width) {
    SnakeLook lk = Look(player);
    int n = (int)path.size() / 2;
    if (n < 2) return;
    std::vector<float> cum(n, 0);
    for (int i = 1; i < n; ++i)
        cum[i] = cum[i - 1] + std::hypot(path[2 * i] - path[2 * i - 2], path[2 * i + 1] - path[2 * i - 1]);
    float total = cum[n - 1];
    float hw = width / 2;
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int i = 0; i < n; ++i) {
        x0 = std::min(x0, path[2 * i]);
        x1 = std::max(x1, path[2 * i]);
        y0 = std::min(y0, path[2 * i + 1]);
        y1 = std::max(y1, path[2 * i + 1]);
    }
    // Nearest point on the path: distance, arc length there.
    auto nearest = [&](float x, float y, float &dist, float &s) {
        dist = 1e9f;
        s = 0;
        for (int i = 1; i < n; ++i) {
            float ax = path[2 * i - 2], ay = path[2 * i - 1], bx = path[2 * i], by = path[2 * i + 1];
            float ex = bx - ax, ey = by - ay, wx = x - ax, wy = y - ay;
            float len2 = ex * ex + ey * ey;
            float h = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
            float d = std::hypot(wx - ex * h, wy - ey * h);
            if (d < dist) {
                dist = d;
                s = cum[i - 1] + h * (cum[i] - cum[i - 1]);
            }
        }
    };
    auto halfWidth = [&](float s) {
        float tail = Smooth(0.0f, 0.35f, s / total);
        return hw * (0.25f + 0.75f * tail);
    };
    float segment = width * 1.05f;
    Fill(
        cv, x0 - width, y0 - width, x1 + width, y1 + width,
        [&](float x, float y) {
            float d, s;
            nearest(x, y, d, s);
            return d - halfWidth(s);
        },
        [&](float x, float y) {
            float d, s;
            nearest(x, y, d, s);
            float h = halfWidth(s);
            float cell = std::fmod(s, segment) / segment;
            Rgb c = TubeColour(lk, s, d / h, cell);
            c = Mix(c, Scale(lk.dark, 0.6f), 0.8f * Smooth(-2.0f, -0.3f, d - h));
            return Solid(c);
        });
    // The head: a rounded skull at the front end with eyes looking ahead.
    float hx = path[2 * n - 2], hy = path[2 * n - 1];
    float dx = hx - path[2 * n - 4], dy = hy - path[2 * n - 3];
    float len = std::hypot(dx, dy);
    dx /= len;
    dy /= len;
    float headLen = width * 1.45f, headW = width * 0.62f;
    float cx = hx + dx * headLen * 0.35f, cy = hy + dy * headLen * 0.35f;
    auto local = [&](float x, float y, float &a, float &b) {
        a = (x - cx) * dx + (y - cy) * dy;
        b = -(x - cx) * dy + (y - cy) * dx;
    };
    Fill(
        cv, cx - headLen, cy - headLen, cx + headLen, cy + headLen,
        [&](float x, float y) {
            float a, b;
            local(x, y, a, b);
            return SdEllipse(a, b, 0, 0, headLen * 0.55f, headW);
        },
        [&](float x, float y) {
            float a, b;
            local(x, y, a, b);
            SnakeLook plain{lk.base, lk.dark, lk.light, lk.base, true};
            Rgb c = TubeColour(plain, 0, Clamp01(std::fabs(b) / headW), 0.5f);
            c = Mix(c, lk.light, 0.25f * Smooth(0.0f, headLen * 0.5f, a));
            float d = SdEllipse(a, b, 0, 0, headLen * 0.55f, headW);
            c = Mix(c, Scale(lk.dark, 0.6f), 0.8f * Smooth(-2.0f, -0.3f, d));
            for (int side = -1; side <= 1; side += 2) {
                float ex = headLen * 0.18f, ey = side * headW * 0.5f, r = width * 0.16f;
                float de = std::hypot(a - ex, b - ey);
                if (de < r * 1.22f) c = Mix(c, Hex(0x1A0A06), Clamp01((r * 1.22f - de)));
                if (de < r) c = Mix(c, Hex(0xFFFBEA), Clamp01(r - de));
                float dp = std::hypot(a - ex - r * 0.4f, b - ey);
                if (dp < r * 0.55f) c = Mix(c, Hex(0x0B0B14), Clamp01(r * 0.55f - dp));
                float dg = std::hypot(a - ex + r * 0.1f, b - ey - r * 0.35f);
                if (dg < r * 0.2f) c = Mix(c, Hex(0xFFFFFF), Clamp01(r * 0.2f - dg));
            }
            return Solid(c);
        });
    // A forked tongue.
    float tx = cx + dx * headLen * 0.55f, ty = cy + dy * headLen * 0.55f;
    float ex = tx + dx * width * 0.5f, ey = ty + dy * width * 0.5f;
    Line(cv, tx, ty, ex, ey, width * 0.09f, Hex(0xD0104A));
    Line(cv, ex, ey, ex + (dx - dy) * width * 0.18f, ey + (dy + dx) * width * 0.18f, width * 0.08f, Hex(0xD0104A));
    Line(cv, ex, ey, ex + (dx + dy) * width * 0.18f, ey + (dy - dx) * width * 0.18f, width * 0.08f, Hex(0xD0104A));
}

// ---- the set -------------------------------------------------------------------------------------------

// The panel under the board, as the game and the level maker share it: its ground and the logo square.
static Canvas PanelGround() {
    Canvas cv = MakeCanvas(800, 80, 3, Pal::Night);
    GradientV(cv, Hex(0x1A2448), Pal::Night);
    FillRect(cv, 0, 0, 800, 2, Pal::Line);
    FillRect(cv, 0, 2, 800, 3, Hex(0x5C74C8), 0.5f);
    // Logo square: the game's initial with a snake head.
    FillRoundRectV(cv, 14, 12, 110, 70, 10, Hex(0x2C3D78), Hex(0x18224A));
    StrokeRoundRect(cv, 14, 12, 110, 70, 10, 1.5f, Hex(0x5E78D6), 0.8f);
    DrawSnakePiece(cv, 1, 0, 24, 31, 20);
    DrawSnakePiece(cv, 1, 4, 44, 31, 20);
    DrawKnurf(cv, KNURF_NORMAL, 78, 31, 20);
    TextStyle small = Style(SANS_BOLD, 11, Pal::Muted, CENTER);
    Text(cv, small, "KWIBBEL", 62, 14);
    return cv;
}

static TextStyle PanelTitle() {
    TextStyle title = Style(SANS_BOLD, 30);
    title.gradient = true;
    title.color = Pal::Amber;
    title.color2 = Pal::Orange;
    title.outline = 1.5f;
    title.outlineColor = Pal::Brown;
    title.align = RIGHT;
    return title;
}

// The level maker's panel: its name and its keys, in the order a level is made.
static void MakeEditorHud(const std::string &dir) {
    Canvas cv = PanelGround();
    Text(cv, PanelTitle(), "Level maker", 784, 6);
    TextStyle hint = Style(SANS, 13, Pal::Muted);
    // Two rows from the logo on; each key cap with its words, the next one a gap further.
    const struct {
        const char *cap, *text;
        float w;
    } rows[2][6] = {{{"Arrows", "move", 56}},
                    {{"M", "wall round", 24},
                     {"Bksp", "erase", 40},
                     {"D", "clear", 24},
                     {"L", "load saved", 24},
                     {"Space", "home", 48}}};
    for (int r = 0; r < 2; ++r) {
        float x = 130, y = r == 0 ? 14 : 46;
        for (const auto &k : rows[r]) {
            if (!k.cap) break;
            DrawKeyCap(cv, k.cap, x, y, k.w, 22);
            x += k.w + 6 + Text(cv, hint, k.text, x + k.w + 6, y + 3) + 16;
        }
    }
    // Enter ends the first row and Esc the second: what they do changes as the level is made, so the editor
    // writes that.
    const float enterW = 46, escW = 38;
    DrawKeyCap(cv, "Enter", Layout::EDITOR_ENTER_WORDS_X - 6 - enterW, 14, enterW, 22);
    DrawKeyCap(cv, "Esc", Layout::EDITOR_ESC_WORDS_X - 6 - escW, 46, escW, 22);
    Save(cv, dir, "editorhud.bmp");
}

static void MakeHud(const std::string &dir) {
    Canvas cv = PanelGround();
    // The score plates are pictures of their own, cut from this panel: the game shows only the ones in play
    // (player 2's is the knurf player's in snake against knurf, the computer's in snake against the
    // computer). The game writes player p's number at (Layout::ScoreX(p), Layout::SCORE_Y), inside the plate.
    const struct {
        const char *file, *label;
        int place;  // 0 player 1's place, 1 player 2's
        Rgb frame, ink;
        bool knurf;
    } plates[4] = {{"plate1.bmp", "PLAYER 1", 0, Pal::Red, Hex(0xFF8A7A), false},
                   {"plate2.bmp", "PLAYER 2", 1, Pal::Green, Hex(0x8FE39A), false},
                   {"plateknurf.bmp", "PLAYER 2", 1, Pal::Lime, Hex(0x9CEB8E), true},
                   {"platecomputer.bmp", "COMPUTER", 1, Pal::Green, Hex(0x8FE39A), false}};
    for (const auto &pl : plates) {
        Canvas plate = cv;
        float x = (float)Layout::PLATE_X[pl.place] + 1;
        FillRoundRect(plate, x, 10, x + 125, 72, 8, Hex(0x05070F));
        StrokeRoundRect(plate, x, 10, x + 125, 72, 8, 1.2f, pl.frame, 0.7f);
        Text(plate, Style(SANS_BOLD, 12, pl.ink), pl.label, x + 8, 15);
        FillCircle(plate, x + 113, 22, 4, pl.frame);
        if (pl.knurf) {
            // The knurf and its job; the game writes the player's points under the job (the knurf player
            // scores only when the snake crashes by itself). The job stays inside the frame at every size.
            DrawKnurf(plate, KNURF_STEERED, x + 6, 38, 26);
            const float jobX = (float)Layout::KNURF_SCORE_X, room = x + 117 - jobX;
            TextStyle job = Style(SANS_BOLD, 11, pl.ink);
            float w = 0, h = 0;
            for (MeasureText(job, "block the snake", w, h); w > room && job.size > 7;
                 MeasureText(job, "block the snake", w, h))
                job.size -= 0.5f;
            Text(plate, job, "block the snake", jobX, (float)(Layout::KNURF_SCORE_Y - Layout::PANEL_Y - 17));
        }
        Save(Crop(plate, Layout::PLATE_X[pl.place], Layout::PLATE_TOP, Layout::PLATE_WIDTH, Layout::PLATE_HEIGHT), dir,
             pl.file);
    }
    // Right side: the game's name and the keys that matter during play.
    Text(cv, PanelTitle(), "Kwibbel", 784, 6);
    DrawKeyCap(cv, "P", 430, 46, 24, 22);
    TextStyle hint = Style(SANS, 13, Pal::Muted);
    Text(cv, hint, "pause", 460, 49);
    DrawKeyCap(cv, "Esc", 520, 46, 38, 22);
    Text(cv, hint, "back to the menu", 564, 49);
    TextStyle sm = hint;
    sm.size = 12;
    Text(cv, sm, "Eat knurfs, dodge the blue ones!", 430, 22);
    Save(cv, dir, "hud.bmp");
}

static void MakeCountdown(const std::string &dir) {
    const Rgb colours[3] = {Hex(0xFF5A4A), Pal::Amber, Hex(0x5EDB4E)};
    const char *digits[3] = {"3", "2", "1"};
    for (int i = 0; i < 3; ++i) {
        Canvas cv = MakeCanvas(100, 100, 4, Pal::Black);
        Rgb c = colours[i];
        Glow(
            cv, 0, 0, 100, 100, [](float x, float y) { return SdCircle(x, y, 50, 50, 40); }, c, 5.0f, 0.5f);
        Fill(
            cv, 0, 0, 100, 100, [](float x, float y) { return SdCircle(x, y, 50, 50, 41); },
            [&](float, float y) { return Solid(Mix(Hex(0x1E2A55), Hex(0x0C1128), y / 100)); });
        Fill(
            cv, 0, 0, 100, 100,
            [](float x, float y) {
                float d = SdCircle(x, y, 50, 50, 41);
                return std::max(d, -d - 4.0f);
            },
            [&](float, float) { return Solid(c); });
        TextStyle st = Style(SANS_BOLD, 66, Mix(c, Hex(0xFFFFFF), 0.55f));
        st.color2 = c;
        st.gradient = true;
        st.outline = 2.5f;
        st.outlineColor = Hex(0x0A0E1C);
        st.shadow = 2;
        st.align = CENTER;
        float w, h;
        MeasureText(st, digits[i], w, h);
        Text(cv, st, digits[i], 50, 50 - h / 2);
        Save(cv, dir, std::string(digits[i]) + ".bmp");
    }
}

void MakeGamePictures(const std::string &dir) {
    for (int player = 1; player <= 2; ++player) {
        for (int piece = 0; piece < 10; ++piece) {
            Canvas cv = MakeCanvas(20, 20, 6, Pal::Black);
            DrawSnakePiece(cv, player, piece, 0, 0, 20);
            // Player 1's snake is loaded from the names with "_player2", player 2's from the plain ones.
            std::string name = SnakePieces::FileName(player, piece);
            Save(cv, dir, name);
        }
    }
    const struct {
        KnurfKind kind;
        const char *name;
    } knurfs[4] = {{KNURF_NORMAL, "knurfs.bmp"},
                   {KNURF_FASTER, "knurfsgeel.bmp"},
                   {KNURF_POISON, "knurfsblauw.bmp"},
                   {KNURF_STEERED, "knurfsgroen.bmp"}};
    for (const auto &k : knurfs) {
        Canvas cv = MakeCanvas(20, 20, 6, Pal::Black);
        DrawKnurf(cv, k.kind, 0, 0, 20);
        Save(cv, dir, k.name);
    }
    for (int v = 0; v < 2; ++v) {
        Canvas cv = MakeCanvas(20, 20, 6, Pal::Black);
        DrawWall(cv, v, 0, 0, 20);
        Save(cv, dir, v ? "muurver.bmp" : "muurhor.bmp");
    }
    MakeHud(dir);
    MakeEditorHud(dir);
    MakeCountdown(dir);
}

}  // namespace Pictures

namespace Pictures {

// Direction from cell a to its neighbour b, in the game's order.
static uint32_t StepDir(int ac, int ar, int bc, int br) {
    if (bc > ac) return SnakePieces::RIGHT;
    if (bc < ac) return SnakePieces::LEFT;
    return br < ar ? SnakePieces::UP : SnakePieces::DOWN;
}

void DrawCellSnake(Canvas &cv, int player, const std::vector<int> &cells, float x, float y, float cell) {
    int n = (int)cells.size() / 2;
    for (int i = 0; i < n; ++i) {
        int c = cells[2 * i], r = cells[2 * i + 1];
        uint32_t in, out;
        if (i == n - 1) {
            in = out = StepDir(cells[2 * i - 2], cells[2 * i - 1], c, r);
        } else {
            out = StepDir(c, r, cells[2 * i + 2], cells[2 * i + 3]);
            in = i == 0 ? out : StepDir(cells[2 * i - 2], cells[2 * i - 1], c, r);
        }
        uint32_t piece = SnakePieces::For(in, out, i == n - 1);
        if (piece != SnakePieces::NONE) DrawSnakePiece(cv, player, (int)piece, x + c * cell, y + r * cell, cell);
    }
}

}  // namespace Pictures
