// Writes small BMP files for tests and probe programs, without any picture library.
// Colours are the game's 0x00BBGGRR; pixels run row by row from the top-left corner.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace TestBmp {

inline void PutLe(std::vector<uint8_t> &out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back((uint8_t)(v >> (8 * i)));
}

inline bool WriteFile(const char *path, const std::vector<uint8_t> &bytes) {
    std::FILE *f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline void PutHeaders(std::vector<uint8_t> &out, uint32_t w, uint32_t h, uint16_t bits, uint32_t paletteSize,
                       uint32_t imageSize) {
    uint32_t offset = 14 + 40 + paletteSize * 4;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, offset + imageSize, 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 40, 4);
    PutLe(out, w, 4);
    PutLe(out, h, 4);  // positive: rows bottom-up
    PutLe(out, 1, 2);
    PutLe(out, bits, 2);
    PutLe(out, 0, 4);  // no compression
    PutLe(out, imageSize, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, paletteSize, 4);
    PutLe(out, 0, 4);
}

// A 24-bit picture.
inline bool WriteBmp24(const char *path, uint32_t w, uint32_t h, const std::vector<uint32_t> &pixels) {
    if (pixels.size() != (size_t)w * h) return false;
    uint32_t stride = (w * 3 + 3) & ~3u;
    std::vector<uint8_t> out;
    PutHeaders(out, w, h, 24, 0, stride * h);
    for (uint32_t row = 0; row < h; ++row) {
        uint32_t y = h - 1 - row;
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t c = pixels[(size_t)y * w + x];
            out.push_back((uint8_t)(c >> 16));  // blue
            out.push_back((uint8_t)(c >> 8));   // green
            out.push_back((uint8_t)c);          // red
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return WriteFile(path, out);
}

// A one-bit black-and-white picture, as masks are usually kept: `white[i]` TRUE for a white pixel.
inline bool WriteBmp1(const char *path, uint32_t w, uint32_t h, const std::vector<bool> &white) {
    if (white.size() != (size_t)w * h) return false;
    uint32_t stride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> out;
    PutHeaders(out, w, h, 1, 2, stride * h);
    PutLe(out, 0x00000000, 4);  // palette 0: black
    PutLe(out, 0x00FFFFFF, 4);  // palette 1: white
    for (uint32_t row = 0; row < h; ++row) {
        uint32_t y = h - 1 - row;
        std::vector<uint8_t> line(stride, 0);
        for (uint32_t x = 0; x < w; ++x)
            if (white[(size_t)y * w + x]) line[x / 8] |= (uint8_t)(0x80 >> (x % 8));
        out.insert(out.end(), line.begin(), line.end());
    }
    return WriteFile(path, out);
}

// A picture of one colour.
inline bool WriteSolidBmp(const char *path, uint32_t w, uint32_t h, uint32_t color) {
    return WriteBmp24(path, w, h, std::vector<uint32_t>((size_t)w * h, color));
}

}  // namespace TestBmp
