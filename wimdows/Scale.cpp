// The picture scaler: pictures are stretched to the size the game asks for when they are loaded, and the
// finished picture to the window's size when it is shown. Separable: one pass along the rows, one along the
// columns, each with a table of source taps for the whole line, so a part of a picture comes out exactly as
// the same part of the whole.
#include <algorithm>
#include <cmath>
#include <vector>

#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- internal ----------------------------------------------------------------------------------------

static void AddTap(LineMap &t, uint32_t index, double weight) {
    if (weight <= 0.0) return;
    t.taps.push_back(Tap{index, (uint32_t)std::lround(weight * 65536.0)});
}

// Makes the taps of destination pixel `i` sum to exactly 65536 by giving the rounding rest to the largest.
static void CloseTaps(LineMap &t) {
    uint32_t begin = t.first.back();
    uint32_t end = (uint32_t)t.taps.size();
    uint32_t sum = 0, largest = begin;
    for (uint32_t k = begin; k < end; ++k) {
        sum += t.taps[k].weight;
        if (t.taps[k].weight > t.taps[largest].weight) largest = k;
    }
    if (end > begin) t.taps[largest].weight += 65536u - sum;
    t.first.push_back(end);
}

static LineMap BuildTaps(uint32_t srcLen, uint32_t dstLen) {
    LineMap t;
    t.first.push_back(0);
    double scale = (double)srcLen / (double)dstLen;
    for (uint32_t i = 0; i < dstLen; ++i) {
        if (srcLen == dstLen || (dstLen > srcLen && dstLen % srcLen == 0)) {
            // Same size or a whole-number enlargement: every pixel stays crisp.
            AddTap(t, (uint32_t)((uint64_t)i * srcLen / dstLen), 1.0);
        } else if (dstLen > srcLen) {
            double centre = (i + 0.5) * scale - 0.5;
            double base = std::floor(centre);
            double frac = centre - base;
            long i0 = (long)base, i1 = i0 + 1;
            if (i0 < 0) i0 = 0;
            if (i1 > (long)srcLen - 1) i1 = (long)srcLen - 1;
            if (i0 == i1) {
                AddTap(t, (uint32_t)i0, 1.0);
            } else {
                AddTap(t, (uint32_t)i0, 1.0 - frac);
                AddTap(t, (uint32_t)i1, frac);
            }
        } else {
            // Reduction: the average of the source span this pixel covers, partial pixels by their share.
            double from = i * scale, to = (i + 1) * scale;
            uint32_t k0 = (uint32_t)std::floor(from);
            uint32_t k1 = (uint32_t)std::ceil(to);
            if (k1 > srcLen) k1 = srcLen;
            for (uint32_t k = k0; k < k1; ++k) {
                double lo = k < from ? from : (double)k;
                double hi = k + 1.0 > to ? to : k + 1.0;
                AddTap(t, k, (hi - lo) / scale);
            }
        }
        CloseTaps(t);
    }
    return t;
}

// One pass over the destination pixels i0..i1 of one line: source pixel `base` + n at s[n * srcStep],
// destination pixels `dstStep` apart starting with pixel i0.
static void ResampleSpan(const uint32_t *s, uint32_t base, size_t srcStep, const LineMap &t, uint32_t i0, uint32_t i1,
                         uint32_t *d, size_t dstStep) {
    for (uint32_t i = i0; i <= i1; ++i, d += dstStep) {
        uint32_t r = 32768, g = 32768, b = 32768;
        for (uint32_t k = t.first[i]; k < t.first[i + 1]; ++k) {
            uint32_t p = s[(size_t)(t.taps[k].index - base) * srcStep];
            uint32_t w = t.taps[k].weight;
            r += ((p >> 16) & 0xFF) * w;
            g += ((p >> 8) & 0xFF) * w;
            b += (p & 0xFF) * w;
        }
        r >>= 16, g >>= 16, b >>= 16;
        if (r > 255) r = 255;
        if (g > 255) g = 255;
        if (b > 255) b = 255;
        *d = (r << 16) | (g << 8) | b;
    }
}

// ---- exported within the module ----------------------------------------------------------------------

LineMap MapLine(uint32_t srcLen, uint32_t dstLen) {
    LineMap t = BuildTaps(srcLen, dstLen);
    t.reachFirst.assign(srcLen, dstLen);
    t.reachLast.assign(srcLen, 0);
    for (uint32_t i = 0; i < dstLen; ++i)
        for (uint32_t k = t.first[i]; k < t.first[i + 1]; ++k) {
            uint32_t s = t.taps[k].index;
            if (i < t.reachFirst[s]) t.reachFirst[s] = i;
            if (i > t.reachLast[s]) t.reachLast[s] = i;
        }
    return t;
}

void ScaleRect(const uint32_t *src, size_t srcPitch, const LineMap &across, const LineMap &down, uint32_t dx0,
               uint32_t dy0, uint32_t dx1, uint32_t dy1, uint32_t *dst, size_t dstPitch) {
    if (dx0 > dx1 || dy0 > dy1) return;
    // The source rows that the destination rows take taps from, resampled along the row first.
    uint32_t sy0 = down.taps[down.first[dy0]].index, sy1 = sy0;
    for (uint32_t k = down.first[dy0]; k < down.first[dy1 + 1]; ++k) {
        uint32_t s = down.taps[k].index;
        if (s < sy0) sy0 = s;
        if (s > sy1) sy1 = s;
    }
    const size_t w = (size_t)(dx1 - dx0 + 1);
    std::vector<uint32_t> rows(w * (sy1 - sy0 + 1));
    for (uint32_t sy = sy0; sy <= sy1; ++sy)
        ResampleSpan(src + (size_t)sy * srcPitch, 0, 1, across, dx0, dx1, &rows[(size_t)(sy - sy0) * w], 1);
    for (uint32_t x = 0; x < w; ++x) ResampleSpan(rows.data() + x, sy0, w, down, dy0, dy1, dst + x, dstPitch);
}

void ScalePixels(const uint32_t *src, uint32_t sw, uint32_t sh, uint32_t *dst, uint32_t dw, uint32_t dh) {
    ScaleRect(src, sw, BuildTaps(sw, dw), BuildTaps(sh, dh), 0, 0, dw - 1, dh - 1, dst, dw);
}

double FirstScale(uint32_t usableW, uint32_t usableH, uint32_t w, uint32_t h) {
    if (w == 0 || h == 0) return 1;
    double s = std::min(0.85 * usableW / w, 0.85 * usableH / h);
    if (s >= 2) s = std::floor(s);
    return s < 1 ? 1 : s;
}

}  // namespace Wimdows
