// A throw-away play folder for one test (savefiles/, bitmap/, audio/ as the game expects them, made the
// working directory while the test runs), and small writers of the files that go in it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace PlayFolder {

// Makes a fresh folder under the system's temporary folder and works in it until destroyed.
class Scoped {
public:
    Scoped() {
        char pattern[] = "/tmp/kwibbel-test-XXXXXX";
        const char *made = mkdtemp(pattern);
        path_ = made ? made : "";
        old_ = std::filesystem::current_path();
        for (const char *sub : {"savefiles", "bitmap", "audio"}) std::filesystem::create_directories(path_ + "/" + sub);
        std::filesystem::current_path(path_);
    }
    ~Scoped() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    Scoped(const Scoped &) = delete;
    Scoped &operator=(const Scoped &) = delete;
    const std::string &Path() const { return path_; }

private:
    std::string path_;
    std::filesystem::path old_;
};

inline void WriteBytes(const std::string &file, const std::string &bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

inline std::string ReadBytes(const std::string &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines joined with CR LF after each, as the game writes its save files.
inline std::string CrLfLines(const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines) text += line + "\r\n";
    return text;
}

inline void PutLe(std::string &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++) out += (char)((value >> (8 * i)) & 0xFF);
}

// A 24-bit BMP of w by h pixels in one colour (0x00BBGGRR, as the game's colours).
inline void WriteBmp(const std::string &file, uint32_t w, uint32_t h, uint32_t colour) {
    uint32_t rowBytes = (w * 3 + 3) & ~3u;
    std::string bmp = "BM";
    PutLe(bmp, 54 + rowBytes * h, 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, 54, 4);
    PutLe(bmp, 40, 4);
    PutLe(bmp, w, 4);
    PutLe(bmp, h, 4);
    PutLe(bmp, 1, 2);
    PutLe(bmp, 24, 2);
    PutLe(bmp, 0, 4);
    PutLe(bmp, rowBytes * h, 4);
    PutLe(bmp, 2835, 4);
    PutLe(bmp, 2835, 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, 0, 4);
    std::string row;
    for (uint32_t x = 0; x < w; x++) {
        row += (char)((colour >> 16) & 0xFF);  // BMP pixels are blue, green, red
        row += (char)((colour >> 8) & 0xFF);
        row += (char)(colour & 0xFF);
    }
    row.resize(rowBytes, '\0');
    for (uint32_t y = 0; y < h; y++) bmp += row;
    WriteBytes(file, bmp);
}

// A 16-bit stereo WAV at 32000 Hz: a square wave of the given amplitude lasting ms milliseconds.
inline void WriteWav(const std::string &file, uint32_t ms, int16_t amplitude) {
    uint32_t frames = 32000 * ms / 1000;
    std::string data;
    for (uint32_t i = 0; i < frames; i++) {
        int16_t v = (i / 40) % 2 ? amplitude : (int16_t)-amplitude;  // 400 Hz
        PutLe(data, (uint16_t)v, 2);
        PutLe(data, (uint16_t)v, 2);
    }
    std::string wav = "RIFF";
    PutLe(wav, 36 + (uint32_t)data.size(), 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2);
    PutLe(wav, 2, 2);
    PutLe(wav, 32000, 4);
    PutLe(wav, 32000 * 4, 4);
    PutLe(wav, 4, 2);
    PutLe(wav, 16, 2);
    wav += "data";
    PutLe(wav, (uint32_t)data.size(), 4);
    WriteBytes(file, wav + data);
}

}  // namespace PlayFolder
