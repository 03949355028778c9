// Wimdows, picture files judged before they are read: a BMP whose header claims more pixels than its file
// can hold, or more than any picture of the game has, is refused before a byte of pixels is allocated (a
// damaged or hostile file would otherwise take gigabytes). A refused or missing picture is one console
// line, once per file, and the game goes on without it.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// ---- exported within the module ----------------------------------------------------------------------

bool PictureFileFits(const std::string &file) {
    std::FILE *f = std::fopen(file.c_str(), "rb");
    if (!f) return true;  // the loader finds it missing
    unsigned char h[34] = {};
    size_t got = std::fread(h, 1, sizeof h, f);
    std::fclose(f);
    struct stat st;
    if (got < 26 || h[0] != 'B' || h[1] != 'M' || stat(file.c_str(), &st) != 0) return true;  // no BMP: the loader's
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
    if (!fits)
        TellOnce(file, "Picture " + file + " is refused: it claims " + std::to_string(width) + " by " +
                           std::to_string(height) + " pixels in a file of " + std::to_string((long long)st.st_size) +
                           " bytes; the game goes on without it.");
    return fits;
}

void TellMissingPicture(const std::string &file) {
    TellOnce(file, "Picture " + file + " is missing; the game goes on without it.");
}

}  // namespace Wimdows
