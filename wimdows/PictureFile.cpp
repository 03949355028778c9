// Wimdows, picture files: which file stands for a picture, and each judged before it is read. The game
// names its pictures as BMP files; its own are stored as PNG files of the same name (a tenth of the size,
// the same pixels), and a BMP that is there is read first, so a picture of the player's own still counts.
// A BMP whose header claims more pixels than its file can hold, or a BMP or PNG that claims more than any
// picture of the game has, is refused before a byte of pixels is allocated (a damaged or hostile file
// would otherwise take gigabytes). A refused or missing picture is one console line, once per file, and the game goes on
// without it.
#include <SDL.h>
#include <SDL_image.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- state -------------------------------------------------------------------------------------------

// No picture of the game is larger than 1600 by 1360 (the set at twice the size); this leaves room.
static const int64_t kPictureSideMax = 4096;

// The files told about already.
static std::mutex gToldLock;
static std::set<std::string> gTold;

// ---- internal ----------------------------------------------------------------------------------------

static int64_t Little(const unsigned char *p, int bytes) {
    int64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v * 256 + p[i];
    return v;
}

// One console line about `file`, the first time only.
static void TellOnce(const std::string &file, const std::string &line) {
    std::lock_guard<std::mutex> g(gToldLock);
    if (!gTold.insert(file).second) return;
    std::fprintf(stderr, "%s\n", line.c_str());
}

static void TellRefused(const std::string &file, int64_t width, int64_t height, int64_t bytes) {
    TellOnce(file, "Picture " + file + " is refused: it claims " + std::to_string(width) + " by " +
                       std::to_string(height) + " pixels in a file of " + std::to_string((long long)bytes) +
                       " bytes; the game goes on without it.");
}

static int64_t Big(const unsigned char *p, int bytes) {
    int64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v * 256 + p[i];
    return v;
}

static bool Exists(const std::string &file) {
    struct stat st;
    return stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The PNG form of a file name: "<stem>.png" for "<stem>.bmp" (or for a name without an ending).
static std::string PngName(const std::string &file) {
    size_t dot = file.rfind('.'), slash = file.rfind('/');
    bool ending = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (ending ? file.substr(0, dot) : file) + ".png";
}

static bool IsPng(const std::string &file) { return file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0; }

// ---- exported within the module ----------------------------------------------------------------------

std::string PictureFileFor(const std::string &file) {
    if (Exists(file)) return file;
    if (!IsPng(file)) {
        std::string png = PngName(file);
        if (Exists(png)) return png;
    }
    return "";
}

SDL_Surface *ReadPictureFile(const std::string &file) {
    if (!PictureFileFits(file)) return nullptr;
    return IsPng(file) ? IMG_Load(file.c_str()) : SDL_LoadBMP(file.c_str());
}

bool PictureFileFits(const std::string &file) {
    std::FILE *f = std::fopen(file.c_str(), "rb");
    if (!f) return true;  // the loader finds it missing
    unsigned char h[34] = {};
    size_t got = std::fread(h, 1, sizeof h, f);
    std::fclose(f);
    struct stat st;
    if (stat(file.c_str(), &st) != 0) return true;
    if (got >= 24 && std::memcmp(h, "\x89PNG\r\n\x1a\n", 8) == 0 && std::memcmp(h + 12, "IHDR", 4) == 0) {
        // Compressed rows: the bound alone.
        const int64_t width = Big(h + 16, 4), height = Big(h + 20, 4);
        bool fits = width >= 1 && height >= 1 && width <= kPictureSideMax && height <= kPictureSideMax;
        if (!fits) TellRefused(file, width, height, st.st_size);
        return fits;
    }
    if (got < 26 || h[0] != 'B' || h[1] != 'M') return true;  // no BMP: the loader's
    const int64_t pixelsAt = Little(h + 10, 4), header = Little(h + 14, 4);
    const bool core = header == 12;  // the old header with 16-bit sizes; every later one 32-bit
    int64_t width = core ? Little(h + 18, 2) : (int32_t)Little(h + 18, 4);
    int64_t height = core ? Little(h + 20, 2) : (int32_t)Little(h + 22, 4);
    const int64_t bits = core ? Little(h + 24, 2) : Little(h + 28, 2);
    // Rows are uncompressed but for the run-length kinds (1, 2, 4), which are held to the bound alone.
    const int64_t compression = core || got < 34 ? 0 : Little(h + 30, 4);
    const bool raw = compression != 1 && compression != 2 && compression != 4;
    if (height < 0) height = -height;  // top-down rows
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    bool fits = width >= 1 && height >= 1 && width <= kPictureSideMax && height <= kPictureSideMax;
    if (fits && raw) fits = pixelsAt + rowBytes * height <= (int64_t)st.st_size;
    if (!fits) TellRefused(file, width, height, st.st_size);
    return fits;
}

void TellMissingPicture(const std::string &file) {
    TellOnce(file, "Picture " + file + " is missing; the game goes on without it.");
}

}  // namespace Wimdows
