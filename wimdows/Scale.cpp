// The picture scaler: pictures are stretched to the size the game asks for when they are loaded.
// Separable: one pass along the rows, one along the columns, each with a table of source taps.
#include <cmath>
#include <vector>

#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- types -------------------------------------------------------------------------------------------

// One source pixel and its weight in 1/65536; the taps of one destination pixel sum to 65536.
struct Tap {
    uint32_t index;
    uint32_t weight;
};

struct TapTable {
    std::vector<uint32_t> first;  // dstLen + 1 offsets into taps
    std::vector<Tap> taps;
};

// ---- internal ----------------------------------------------------------------------------------------

static void AddTap(TapTable &t, uint32_t index, double weight) {
    if (weight <= 0.0) return;
    t.taps.push_back(Tap{index, (uint32_t)std::lround(weight * 65536.0)});
}

// Makes the taps of destination pixel `i` sum to exactly 65536 by giving the rounding rest to the largest.
static void CloseTaps(TapTable &t) {
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

static TapTable BuildTaps(uint32_t srcLen, uint32_t dstLen) {
    TapTable t;
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

// One pass: `count` lines of `srcLen` pixels, `srcStep` apart within a line and `srcLine` between lines,
// into lines of the taps' length with the destination's own steps.
static void ResampleLines(const uint32_t *src, uint32_t srcStep, uint32_t srcLine, uint32_t *dst,
                          uint32_t dstStep, uint32_t dstLine, uint32_t count, const TapTable &t) {
    uint32_t dstLen = (uint32_t)t.first.size() - 1;
    for (uint32_t line = 0; line < count; ++line) {
        const uint32_t *s = src + (size_t)line * srcLine;
        uint32_t *d = dst + (size_t)line * dstLine;
        for (uint32_t i = 0; i < dstLen; ++i) {
            uint32_t r = 32768, g = 32768, b = 32768;
            for (uint32_t k = t.first[i]; k < t.first[i + 1]; ++k) {
                uint32_t p = s[(size_t)t.taps[k].index * srcStep];
                uint32_t w = t.taps[k].weight;
                r += ((p >> 16) & 0xFF) * w;
                g += ((p >> 8) & 0xFF) * w;
                b += (p & 0xFF) * w;
            }
            r >>= 16, g >>= 16, b >>= 16;
            if (r > 255) r = 255;
            if (g > 255) g = 255;
            if (b > 255) b = 255;
            d[(size_t)i * dstStep] = (r << 16) | (g << 8) | b;
        }
    }
}

// ---- exported within the module ----------------------------------------------------------------------

void ScalePixels(const uint32_t *src, uint32_t sw, uint32_t sh, uint32_t *dst, uint32_t dw, uint32_t dh) {
    TapTable across = BuildTaps(sw, dw);
    TapTable down = BuildTaps(sh, dh);
    std::vector<uint32_t> rows((size_t)dw * sh);
    ResampleLines(src, 1, sw, rows.data(), 1, dw, sh, across);
    ResampleLines(rows.data(), dw, 1, dst, dw, 1, dw, down);
}

}  // namespace Wimdows
