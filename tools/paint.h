// Paint: a small software painter for the asset generators. Pictures are drawn on a supersampled canvas
// (every call takes target-pixel coordinates as floats) and boxed down to their real size when saved, so
// every edge comes out smooth. Shapes are signed distance functions: negative inside, in target pixels.
// Text comes from SDL2_ttf with the DejaVu fonts.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace Paint {

struct Rgb {
    float r, g, b;
};
struct Rgba {
    Rgb c;
    float a;
};

// 0xRRGGBB to a colour of 0..1 channels.
Rgb Hex(uint32_t rrggbb);
// a when t = 0, b when t = 1.
Rgb Mix(Rgb a, Rgb b, float t);
// Every channel times k, clamped to 0..1.
Rgb Scale(Rgb a, float k);

inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float Smooth(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// A picture being drawn: w by h target pixels, each made of ss by ss samples. It is saved at `out` pixels
// per target pixel (each boxing ss/out by ss/out samples): a canvas made at output scale 2 keeps its units
// and has twice the samples, so every painter draws the same picture at twice the size.
struct Canvas {
    int w = 0, h = 0, ss = 1;
    int out = 1;
    std::vector<Rgb> px;  // (w*ss) by (h*ss) samples, row by row
};

// The output scale of the canvases made from now on: 1 (the game's pictures, the start) or 2 (twice the size).
void SetOutputScale(int k);
// A w by h canvas of ss by ss samples per target pixel at output scale 1, ss times the output scale at 2.
Canvas MakeCanvas(int w, int h, int ss, Rgb fill);
// The w by h target pixels of cv with their top-left at (x, y); black where it reaches outside cv.
Canvas Crop(const Canvas &cv, int x, int y, int w, int h);
// Blends colour c with opacity a into the sample (i, j) (sample coordinates).
inline void BlendSample(Canvas &cv, int i, int j, Rgb c, float a) {
    Rgb &d = cv.px[(size_t)j * cv.w * cv.ss + i];
    d.r += (c.r - d.r) * a;
    d.g += (c.g - d.g) * a;
    d.b += (c.b - d.b) * a;
}

// Fills the shape `sdf(x, y)` (target pixels, < 0 inside) inside the box x0..x1, y0..y1 with the colour
// `paint(x, y)` (an Rgba), edges smoothed over one sample.
template <class Sdf, class PaintFn>
void Fill(Canvas &cv, float x0, float y0, float x1, float y1, Sdf sdf, PaintFn paint, float opacity = 1.0f) {
    const int ss = cv.ss;
    int i0 = (int)std::floor(x0 * ss), i1 = (int)std::ceil(x1 * ss);
    int j0 = (int)std::floor(y0 * ss), j1 = (int)std::ceil(y1 * ss);
    if (i0 < 0) i0 = 0;
    if (j0 < 0) j0 = 0;
    if (i1 > cv.w * ss) i1 = cv.w * ss;
    if (j1 > cv.h * ss) j1 = cv.h * ss;
    for (int j = j0; j < j1; ++j) {
        float y = (j + 0.5f) / ss;
        for (int i = i0; i < i1; ++i) {
            float x = (i + 0.5f) / ss;
            float d = sdf(x, y);
            float cov = Clamp01(0.5f - d * ss);
            if (cov <= 0) continue;
            Rgba p = paint(x, y);
            float a = cov * p.a * opacity;
            if (a > 0) BlendSample(cv, i, j, p.c, a);
        }
    }
}

// A soft glow around the shape: opacity strength at its edge falling off with `radius`.
template <class Sdf>
void Glow(Canvas &cv, float x0, float y0, float x1, float y1, Sdf sdf, Rgb color, float radius, float strength) {
    Fill(
        cv, x0, y0, x1, y1, [&](float x, float y) { return sdf(x, y) > 0 ? -1.0f : 1.0f; },
        [&](float x, float y) {
            float d = sdf(x, y);
            return Rgba{color, strength * std::exp(-d / radius)};
        });
}

inline Rgba Solid(Rgb c, float a = 1.0f) { return Rgba{c, a}; }

// ---- distance functions (target pixels) --------------------------------------------------------------

inline float SdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }
inline float SdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    // Not exact, but exact enough at the edge for smoothing.
    float dx = (x - cx) / rx, dy = (y - cy) / ry;
    float k = std::sqrt(dx * dx + dy * dy);
    return (k - 1) * std::min(rx, ry);
}
inline float SdRoundRect(float x, float y, float x0, float y0, float x1, float y1, float r) {
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
    float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - r;
}
inline float SdSegment(float x, float y, float ax, float ay, float bx, float by, float r) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float h = len2 > 0 ? Clamp01((px * dx + py * dy) / len2) : 0;
    return std::hypot(px - dx * h, py - dy * h) - r;
}
// Distance to a closed polygon of n points (xs, ys interleaved), negative inside.
float SdPolygon(float x, float y, const float *pts, int n);

// ---- shapes ready to use ------------------------------------------------------------------------------

void FillRect(Canvas &cv, float x0, float y0, float x1, float y1, Rgb c, float a = 1.0f);
void FillCircle(Canvas &cv, float cx, float cy, float r, Rgb c, float a = 1.0f);
void FillRoundRect(Canvas &cv, float x0, float y0, float x1, float y1, float r, Rgb c, float a = 1.0f);
// A rounded rectangle with a vertical gradient from top to bottom.
void FillRoundRectV(Canvas &cv, float x0, float y0, float x1, float y1, float r, Rgb top, Rgb bottom, float a = 1.0f);
// A frame of width `w` just inside the rounded rectangle.
void StrokeRoundRect(Canvas &cv, float x0, float y0, float x1, float y1, float r, float w, Rgb c, float a = 1.0f);
void Line(Canvas &cv, float ax, float ay, float bx, float by, float width, Rgb c, float a = 1.0f);
void FillPolygon(Canvas &cv, const std::vector<float> &pts, Rgb c, float a = 1.0f);
// The whole canvas: a vertical gradient.
void GradientV(Canvas &cv, Rgb top, Rgb bottom);

// ---- text ------------------------------------------------------------------------------------------

enum Face { SANS, SANS_BOLD, SANS_CONDENSED_BOLD, SERIF_BOLD, MONO_BOLD };
enum Align { LEFT, CENTER, RIGHT };

struct TextStyle {
    Face face = SANS_BOLD;
    float size = 20;  // pixel size of the font
    Rgb color{1, 1, 1};
    Rgb color2{1, 1, 1};  // bottom colour when gradient is set
    bool gradient = false;
    float outline = 0;  // width of a dark outline, pixels
    Rgb outlineColor{0, 0, 0};
    float shadow = 0;  // offset of a soft drop shadow, pixels
    float shadowAlpha = 0.6f;
    Align align = LEFT;
};

// A text style of the given face, size, colour and alignment; the other settings as TextStyle has them.
inline TextStyle Style(Face face, float size, Rgb color = Rgb{1, 1, 1}, Align align = LEFT) {
    TextStyle st;
    st.face = face;
    st.size = size;
    st.color = color;
    st.align = align;
    return st;
}

// Opens the fonts; FALSE (and a line on stderr) when a font file is missing.
bool InitText();
// Width and height in target pixels of one line of text.
void MeasureText(const TextStyle &st, const std::string &text, float &w, float &h);
// Draws one line; (x, y) is the top of the line box, x as the alignment says. Returns the width.
float Text(Canvas &cv, const TextStyle &st, const std::string &text, float x, float y);
// Draws text wrapped to `width`, lines `lineHeight` apart; returns the y below the last line.
float Paragraph(Canvas &cv, const TextStyle &st, const std::string &text, float x, float y, float width,
                float lineHeight);
// TRUE when the face has a glyph for the code point.
bool HasGlyph(Face face, uint32_t codepoint);

// ---- output ---------------------------------------------------------------------------------------

// Boxes the samples down to w by h (times the canvas's output scale) and writes a 24-bit BMP; FALSE when the
// file cannot be written.
bool SaveBmp(const Canvas &cv, const std::string &path);
// Boxes the samples down and writes an 8-bit RGBA PNG whose opacity is the brightness of `alpha` (a
// canvas of the same size: white opaque, black clear); FALSE when the file cannot be written.
bool SavePng(const Canvas &cv, const Canvas &alpha, const std::string &path);

}  // namespace Paint
