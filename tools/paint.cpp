// Paint: the canvas, shapes, text through SDL2_ttf and the BMP writer of the asset generators.
#include "paint.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <map>
#include <utility>

namespace Paint {

// ---- state --------------------------------------------------------------------------------------------

static const char *const kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
};
static std::map<std::pair<int, int>, TTF_Font *> fonts;  // (face, pixel size) -> open font
static bool textReady = false;
static int outputScale = 1;  // of the canvases MakeCanvas makes

// ---- colours and canvas -------------------------------------------------------------------------------

Rgb Hex(uint32_t v) { return Rgb{((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f}; }
Rgb Mix(Rgb a, Rgb b, float t) { return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb Scale(Rgb a, float k) { return Rgb{Clamp01(a.r * k), Clamp01(a.g * k), Clamp01(a.b * k)}; }

void SetOutputScale(int k) { outputScale = k == 2 ? 2 : 1; }

// A canvas of exactly ss samples per target pixel, saved at `out` pixels per target pixel.
static Canvas NewCanvas(int w, int h, int ss, int out, Rgb fill) {
    Canvas cv;
    cv.w = w;
    cv.h = h;
    cv.ss = ss;
    cv.out = out;
    cv.px.assign((size_t)w * ss * h * ss, fill);
    return cv;
}

Canvas MakeCanvas(int w, int h, int ss, Rgb fill) { return NewCanvas(w, h, ss * outputScale, outputScale, fill); }

Canvas Crop(const Canvas &cv, int x, int y, int w, int h) {
    Canvas out = NewCanvas(w, h, cv.ss, cv.out, Rgb{0, 0, 0});
    const int ss = cv.ss, W = cv.w * ss;
    for (int j = 0; j < h * ss; ++j)
        for (int i = 0; i < w * ss; ++i) {
            int si = x * ss + i, sj = y * ss + j;
            if (si >= 0 && sj >= 0 && si < W && sj < cv.h * ss)
                out.px[(size_t)j * w * ss + i] = cv.px[(size_t)sj * W + si];
        }
    return out;
}

float SdPolygon(float x, float y, const float *p, int n) {
    float d = 1e30f;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        float ax = p[2 * j], ay = p[2 * j + 1], bx = p[2 * i], by = p[2 * i + 1];
        float ex = bx - ax, ey = by - ay, wx = x - ax, wy = y - ay;
        float len2 = ex * ex + ey * ey;
        float h = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
        d = std::min(d, std::hypot(wx - ex * h, wy - ey * h));
        if (((ay > y) != (by > y)) && (x < (bx - ax) * (y - ay) / (by - ay) + ax)) inside = !inside;
    }
    return inside ? -d : d;
}

void FillRect(Canvas &cv, float x0, float y0, float x1, float y1, Rgb c, float a) {
    Fill(
        cv, x0, y0, x1, y1,
        [&](float x, float y) { return std::max(std::max(x0 - x, x - x1), std::max(y0 - y, y - y1)); },
        [&](float, float) { return Solid(c, a); });
}

void FillCircle(Canvas &cv, float cx, float cy, float r, Rgb c, float a) {
    Fill(
        cv, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, [&](float x, float y) { return SdCircle(x, y, cx, cy, r); },
        [&](float, float) { return Solid(c, a); });
}

void FillRoundRect(Canvas &cv, float x0, float y0, float x1, float y1, float r, Rgb c, float a) {
    Fill(
        cv, x0 - 1, y0 - 1, x1 + 1, y1 + 1, [&](float x, float y) { return SdRoundRect(x, y, x0, y0, x1, y1, r); },
        [&](float, float) { return Solid(c, a); });
}

void FillRoundRectV(Canvas &cv, float x0, float y0, float x1, float y1, float r, Rgb top, Rgb bottom, float a) {
    Fill(
        cv, x0 - 1, y0 - 1, x1 + 1, y1 + 1, [&](float x, float y) { return SdRoundRect(x, y, x0, y0, x1, y1, r); },
        [&](float, float y) { return Solid(Mix(top, bottom, Clamp01((y - y0) / (y1 - y0))), a); });
}

void StrokeRoundRect(Canvas &cv, float x0, float y0, float x1, float y1, float r, float w, Rgb c, float a) {
    Fill(
        cv, x0 - 1, y0 - 1, x1 + 1, y1 + 1,
        [&](float x, float y) {
            float d = SdRoundRect(x, y, x0, y0, x1, y1, r);
            return std::max(d, -d - w);
        },
        [&](float, float) { return Solid(c, a); });
}

void Line(Canvas &cv, float ax, float ay, float bx, float by, float width, Rgb c, float a) {
    float r = width / 2;
    Fill(
        cv, std::min(ax, bx) - r - 1, std::min(ay, by) - r - 1, std::max(ax, bx) + r + 1, std::max(ay, by) + r + 1,
        [&](float x, float y) { return SdSegment(x, y, ax, ay, bx, by, r); },
        [&](float, float) { return Solid(c, a); });
}

void FillPolygon(Canvas &cv, const std::vector<float> &pts, Rgb c, float a) {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < pts.size(); i += 2) {
        x0 = std::min(x0, pts[i]);
        x1 = std::max(x1, pts[i]);
        y0 = std::min(y0, pts[i + 1]);
        y1 = std::max(y1, pts[i + 1]);
    }
    int n = (int)pts.size() / 2;
    Fill(
        cv, x0 - 1, y0 - 1, x1 + 1, y1 + 1, [&](float x, float y) { return SdPolygon(x, y, pts.data(), n); },
        [&](float, float) { return Solid(c, a); });
}

void GradientV(Canvas &cv, Rgb top, Rgb bottom) {
    int W = cv.w * cv.ss, H = cv.h * cv.ss;
    for (int j = 0; j < H; ++j) {
        Rgb c = Mix(top, bottom, (float)j / (H - 1));
        for (int i = 0; i < W; ++i) cv.px[(size_t)j * W + i] = c;
    }
}

// ---- text -------------------------------------------------------------------------------------------

bool InitText() {
    if (textReady) return true;
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "paint: SDL_ttf does not start: %s\n", TTF_GetError());
        return false;
    }
    for (const char *f : kFontFiles) {
        if (FILE *fp = std::fopen(f, "rb")) {
            std::fclose(fp);
        } else {
            std::fprintf(stderr, "paint: font missing: %s (Debian package fonts-dejavu-core)\n", f);
            return false;
        }
    }
    textReady = true;
    return true;
}

static TTF_Font *FontAt(Face face, int px) {
    auto key = std::make_pair((int)face, px);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    TTF_Font *f = TTF_OpenFont(kFontFiles[face], px);
    if (!f) std::fprintf(stderr, "paint: cannot open %s: %s\n", kFontFiles[face], TTF_GetError());
    fonts[key] = f;
    return f;
}

bool HasGlyph(Face face, uint32_t cp) {
    TTF_Font *f = FontAt(face, 20);
    return f && TTF_GlyphIsProvided32(f, cp);
}

void MeasureText(const TextStyle &st, const std::string &text, float &w, float &h) {
    TTF_Font *f = FontAt(st.face, (int)std::lround(st.size * 4));
    int iw = 0, ih = 0;
    if (f && !text.empty()) TTF_SizeUTF8(f, text.c_str(), &iw, &ih);
    if (f && text.empty()) ih = TTF_FontHeight(f);
    w = iw / 4.0f;
    h = ih / 4.0f;
}

// Blends the coverage of a rendered text surface into the canvas at sample position (si, sj).
template <class PaintFn>
static void BlendSurface(Canvas &cv, SDL_Surface *s, int si, int sj, PaintFn paint, float opacity) {
    SDL_LockSurface(s);
    int W = cv.w * cv.ss, H = cv.h * cv.ss;
    for (int y = 0; y < s->h; ++y) {
        int j = sj + y;
        if (j < 0 || j >= H) continue;
        const uint32_t *row = (const uint32_t *)((const uint8_t *)s->pixels + (size_t)y * s->pitch);
        for (int x = 0; x < s->w; ++x) {
            int i = si + x;
            if (i < 0 || i >= W) continue;
            float a = ((row[x] >> 24) & 255) / 255.0f;
            if (a <= 0) continue;
            Rgba p = paint((i + 0.5f) / cv.ss, (j + 0.5f) / cv.ss);
            BlendSample(cv, i, j, p.c, a * p.a * opacity);
        }
    }
    SDL_UnlockSurface(s);
}

float Text(Canvas &cv, const TextStyle &st, const std::string &text, float x, float y) {
    if (text.empty()) return 0;
    const int ss = cv.ss;
    TTF_Font *f = FontAt(st.face, (int)std::lround(st.size * ss));
    if (!f) return 0;
    SDL_Color white{255, 255, 255, 255};
    SDL_Surface *s0 = TTF_RenderUTF8_Blended(f, text.c_str(), white);
    if (!s0) return 0;
    SDL_Surface *s = SDL_ConvertSurfaceFormat(s0, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(s0);
    float w = (float)s->w / ss;
    float left = st.align == LEFT ? x : (st.align == CENTER ? x - w / 2 : x - w);
    int si = (int)std::lround(left * ss), sj = (int)std::lround(y * ss);
    float top = y, bottom = y + (float)s->h / ss;
    if (st.shadow > 0) {
        // A soft shadow: the text drawn a few times around the offset, faint each time.
        int o = (int)std::lround(st.shadow * ss);
        for (int k = -1; k <= 1; ++k)
            for (int l = -1; l <= 1; ++l)
                BlendSurface(
                    cv, s, si + o + k * ss / 2, sj + o + l * ss / 2,
                    [](float, float) {
                        return Solid(Rgb{0, 0, 0});
                    },
                    st.shadowAlpha / 4.0f);
    }
    if (st.outline > 0) {
        int ow = std::max(1, (int)std::lround(st.outline * ss));
        TTF_SetFontOutline(f, ow);
        SDL_Surface *o0 = TTF_RenderUTF8_Blended(f, text.c_str(), white);
        TTF_SetFontOutline(f, 0);
        if (o0) {
            SDL_Surface *os = SDL_ConvertSurfaceFormat(o0, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(o0);
            Rgb oc = st.outlineColor;
            BlendSurface(
                cv, os, si - ow, sj - ow, [&](float, float) { return Solid(oc); }, 1.0f);
            SDL_FreeSurface(os);
        }
    }
    BlendSurface(
        cv, s, si, sj,
        [&](float, float py) {
            if (!st.gradient) return Solid(st.color);
            return Solid(Mix(st.color, st.color2, Clamp01((py - top) / (bottom - top))));
        },
        1.0f);
    SDL_FreeSurface(s);
    return w;
}

float Paragraph(Canvas &cv, const TextStyle &st, const std::string &text, float x, float y, float width,
                float lineHeight) {
    std::vector<std::string> words;
    std::string cur;
    for (char ch : text) {
        if (ch == ' ') {
            if (!cur.empty()) words.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    if (!cur.empty()) words.push_back(cur);
    std::string line;
    for (size_t k = 0; k < words.size(); ++k) {
        std::string trial = line.empty() ? words[k] : line + " " + words[k];
        float w, h;
        MeasureText(st, trial, w, h);
        if (w > width && !line.empty()) {
            Text(cv, st, line, x, y);
            y += lineHeight;
            line = words[k];
        } else {
            line = trial;
        }
    }
    if (!line.empty()) {
        Text(cv, st, line, x, y);
        y += lineHeight;
    }
    return y;
}

// ---- output -------------------------------------------------------------------------------------------

bool SaveBmp(const Canvas &cv, const std::string &path) {
    // Output pixels, each boxing ss by ss samples (ss here per output pixel).
    const int w = cv.w * cv.out, h = cv.h * cv.out, ss = cv.ss / cv.out, W = cv.w * cv.ss;
    const int rowBytes = (w * 3 + 3) & ~3;
    const uint32_t dataSize = (uint32_t)rowBytes * h, fileSize = 54 + dataSize;
    std::vector<uint8_t> out(fileSize, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        out[at] = v & 255;
        out[at + 1] = (v >> 8) & 255;
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, fileSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)w);
    put32(22, (uint32_t)h);  // positive: rows bottom-up
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    const float n = (float)(ss * ss);
    for (int y = 0; y < h; ++y) {
        uint8_t *row = &out[54 + (size_t)(h - 1 - y) * rowBytes];
        for (int x = 0; x < w; ++x) {
            float r = 0, g = 0, b = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    const Rgb &p = cv.px[(size_t)(y * ss + j) * W + x * ss + i];
                    r += p.r;
                    g += p.g;
                    b += p.b;
                }
            auto q = [&](float v) { return (uint8_t)std::lround(Clamp01(v / n) * 255.0f); };
            row[x * 3 + 0] = q(b);
            row[x * 3 + 1] = q(g);
            row[x * 3 + 2] = q(r);
        }
    }
    FILE *fp = std::fopen(path.c_str(), "wb");
    if (!fp) {
        std::fprintf(stderr, "paint: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(out.data(), 1, out.size(), fp) == out.size();
    ok = std::fclose(fp) == 0 && ok;
    if (!ok) std::fprintf(stderr, "paint: cannot write %s\n", path.c_str());
    return ok;
}

// ---- PNG -------------------------------------------------------------------------------------------------

static uint32_t Crc32(const uint8_t *data, size_t n, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// One chunk: length, type, data, CRC of type and data.
static void PngChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    auto be32 = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back((uint8_t)(v >> s));
    };
    be32((uint32_t)data.size());
    size_t from = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    be32(Crc32(&out[from], out.size() - from));
}

bool SavePng(const Canvas &cv, const Canvas &alpha, const std::string &path) {
    const int w = cv.w * cv.out, h = cv.h * cv.out;
    if (alpha.w != cv.w || alpha.h != cv.h || alpha.ss != cv.ss || alpha.out != cv.out) return false;
    // The rows, each after its filter byte 0, boxed down like the BMPs.
    std::vector<uint8_t> raw;
    raw.reserve((size_t)h * (w * 4 + 1));
    auto box = [](const Canvas &c, int x, int y) {
        Rgb sum{0, 0, 0};
        const int ss = c.ss / c.out;
        for (int j = 0; j < ss; ++j)
            for (int i = 0; i < ss; ++i) {
                const Rgb &p = c.px[(size_t)(y * ss + j) * c.w * c.ss + x * ss + i];
                sum.r += p.r;
                sum.g += p.g;
                sum.b += p.b;
            }
        float n = (float)(ss * ss);
        return Rgb{sum.r / n, sum.g / n, sum.b / n};
    };
    auto q = [](float v) { return (uint8_t)std::lround(Clamp01(v) * 255.0f); };
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            Rgb c = box(cv, x, y), a = box(alpha, x, y);
            raw.push_back(q(c.r));
            raw.push_back(q(c.g));
            raw.push_back(q(c.b));
            raw.push_back(q((a.r + a.g + a.b) / 3));
        }
    }
    // A zlib stream of stored (uncompressed) blocks: the icons are small, and no library is needed.
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0;) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        bool last = at + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back((uint8_t)(n & 255));
        z.push_back((uint8_t)(n >> 8));
        z.push_back((uint8_t)(~n & 255));
        z.push_back((uint8_t)((~n >> 8) & 255));
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
        if (last) break;
    }
    uint32_t s1 = 1, s2 = 0;
    for (uint8_t b : raw) {
        s1 = (s1 + b) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    uint32_t adler = (s2 << 16) | s1;
    for (int s = 24; s >= 0; s -= 8) z.push_back((uint8_t)(adler >> s));

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    for (uint32_t v : {(uint32_t)w, (uint32_t)h})
        for (int s = 24; s >= 0; s -= 8) ihdr.push_back((uint8_t)(v >> s));
    for (uint8_t b : {8, 6, 0, 0, 0}) ihdr.push_back(b);  // 8 bits, RGBA, deflate, no filter choice, no interlace
    PngChunk(out, "IHDR", ihdr);
    PngChunk(out, "IDAT", z);
    PngChunk(out, "IEND", {});
    FILE *fp = std::fopen(path.c_str(), "wb");
    bool ok = fp && std::fwrite(out.data(), 1, out.size(), fp) == out.size();
    if (fp) ok = std::fclose(fp) == 0 && ok;
    if (!ok) std::fprintf(stderr, "paint: cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace Paint
