// Wimdows, the pictures: reading picture files into pixels at the buffer's factor, the set at twice the size,
// the budget of pixels held at factor 2, the data folder and LoadBitmap. Drawing them is Drawing.cpp's.
//
// Sections: state; internal: pictures and their budget; exported: pictures.
//
// Locks (see Wimdows.cpp for the whole order): the picture table and the pixels held are gDraw.lock's.
#include <SDL.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "wimdows/DrawingInternal.h"
#include "wimdows/Surface.h"
#include "wimdows/Wimdows.h"
#include "wimdows/WimdowsInternal.h"

namespace Wimdows {

// ---- state -------------------------------------------------------------------------------------------

// Picture pixels kept at factor 2, beyond which the least recently drawn are let go (at factor 1 they
// all stay for the run: the whole set fits).
static const size_t kPictureBudget2x = 32u << 20;
static std::string gDataFolder;  // relative picture names are read from here; set before the window opens

// ---- internal: pictures and their budget ---------------------------------------------------------------

// Reads a picture file and brings it to width by height (0 keeps the file's own size); FALSE when it fails.
static bool ReadPixels(const std::string &file, uint32_t width, uint32_t height, std::vector<uint32_t> &out) {
    SDL_Surface *s = ReadPictureFile(file);
    if (!s) return false;
    uint32_t sw = (uint32_t)s->w, sh = (uint32_t)s->h;
    if (width == 0) width = sw;
    if (height == 0) height = sh;
    bool ok = false;
    // Bounded so that a wrong size cannot take all memory: 64 million pixels at most.
    if (sw > 0 && sh > 0 && (uint64_t)width * height <= (64u << 20)) {
        std::vector<uint32_t> pixels((size_t)sw * sh);
        // Straight into our pixels in one pass where SDL can (no palette), else through a converted surface.
        if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
        bool direct = !s->format->palette && SDL_ConvertPixels((int)sw, (int)sh, s->format->format, s->pixels, s->pitch,
                                                               SDL_PIXELFORMAT_RGB888, pixels.data(), (int)sw * 4) == 0;
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        if (!direct) {
            SDL_Surface *c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0);
            SDL_FreeSurface(s);
            s = c;
            if (!s) return false;
            if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
            for (uint32_t y = 0; y < sh; ++y)
                std::memcpy(&pixels[(size_t)y * sw], (const uint8_t *)s->pixels + (size_t)y * s->pitch, (size_t)sw * 4);
            if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        }
        for (uint32_t &px : pixels) px &= 0xFFFFFF;
        if (width == sw && height == sh) {
            out.swap(pixels);
        } else {
            std::vector<uint32_t>((size_t)width * height).swap(out);
            ScalePixels(pixels.data(), sw, sh, out.data(), width, height);
        }
        ok = true;
    }
    SDL_FreeSurface(s);
    return ok;
}

// The same picture in the set at twice the size, in the bitmap2x folder beside the bitmap folder (as a BMP
// when one is there, else as the PNG it is stored as); "" when the file is in no bitmap folder or the set
// lacks it.
static std::string TwiceSizeFile(const std::string &file) {
    size_t at = file.rfind("/bitmap/");
    if (at != std::string::npos) return PictureFileFor(file.substr(0, at) + "/bitmap2x/" + file.substr(at + 8));
    if (file.compare(0, 7, "bitmap/") == 0) return PictureFileFor("bitmap2x/" + file.substr(7));
    return "";
}

void Release(Picture &p) {
    gDraw.held -= p.px.size() * 4;
    std::vector<uint32_t>().swap(p.px);
    p.factor = 0;
}

// Lets the least recently drawn pictures go until the held pixels fit the budget; pictures used since
// `keepFrom` (the call under way) stay.
static void KeepBudget(uint64_t keepFrom) {
    if (gDraw.k == 1) return;
    while (gDraw.held > kPictureBudget2x) {
        Picture *oldest = nullptr;
        for (auto &entry : gDraw.shared) {
            Picture &p = *entry.second;
            if (p.factor != 0 && p.lastDrawn < keepFrom && (!oldest || p.lastDrawn < oldest->lastDrawn)) oldest = &p;
        }
        if (!oldest) return;
        Release(*oldest);
    }
}

// Makes the picture's pixels ready at the buffer's factor, reading them again if need be; marks it used.
// At factor 2 a picture of a bitmap folder comes from the set at twice the size when that has it, else
// from its own file enlarged. FALSE when the file cannot be read (any more).
bool Hold(Picture &p, uint64_t keepFrom) {
    p.lastDrawn = ++gDraw.drawCount;
    uint32_t k = gDraw.k;
    if (p.factor == k) return true;
    if (p.factor != 0) Release(p);
    std::vector<uint32_t> px;
    bool ok = false;
    if (k == 2) {
        std::string twice = TwiceSizeFile(p.file);
        ok = !twice.empty() && ReadPixels(twice, p.width * 2, p.height * 2, px);
    }
    if (!ok) ok = ReadPixels(p.file, p.width * k, p.height * k, px);
    if (!ok) return false;
    p.px.swap(px);
    p.factor = k;
    gDraw.held += p.px.size() * 4;
    KeepBudget(keepFrom);
    return true;
}

Picture *Entry(PictureHandle bitmap) {
    if (bitmap == 0 || bitmap > gDraw.bit.size() || !gDraw.bit[bitmap - 1].pic) return nullptr;
    return gDraw.bit[bitmap - 1].pic.get();
}

// ---- exported: pictures ------------------------------------------------------------------------------------

// A picture file name as the layer reads it: relative names inside the data folder.
std::string DataPath(const char *file) {
    if (!file || file[0] == '/' || gDataFolder.empty()) return file ? file : "";
    return gDataFolder + "/" + file;
}

void SetDataFolder(const char *folder) { gDataFolder = folder ? folder : ""; }

const char *ProgramFolder() {
    static std::string folder;
    static bool asked = false;
    if (!asked) {
        asked = true;
        if (char *base = SDL_GetBasePath()) {
            folder = base;
            SDL_free(base);
        }
    }
    return folder.c_str();
}

PictureHandle LoadBitmap(const char *name, uint32_t width, uint32_t height) {
    if (!name) return 0;
    // A picture already loaded from the same file at the same size shares its pixels; the file must still
    // be there, so that a load never succeeds for a file that is gone.
    const std::string path = PictureFileFor(DataPath(name));
    if (path.empty()) {
        TellMissingPicture(DataPath(name));
        return 0;
    }
    auto key = std::make_tuple(path, width, height);
    std::lock_guard<std::mutex> g(gDraw.lock);
    std::shared_ptr<Picture> pic;
    auto it = gDraw.shared.find(key);
    if (it != gDraw.shared.end()) {
        pic = it->second;
    } else {
        // Read now, so that a file that is no picture gives 0; at the factor drawing is at.
        pic = std::make_shared<Picture>();
        pic->file = path;
        if (width == 0 || height == 0) {
            SDL_Surface *probe = ReadPictureFile(path);
            if (!probe) return 0;
            width = width ? width : (uint32_t)probe->w;
            height = height ? height : (uint32_t)probe->h;
            SDL_FreeSurface(probe);
        }
        pic->width = width;
        pic->height = height;
        if (!Hold(*pic, gDraw.drawCount + 1)) return 0;
        gDraw.shared.emplace(key, pic);
    }
    for (size_t i = 0; i < gDraw.bit.size(); ++i) {
        if (!gDraw.bit[i].pic) {
            gDraw.bit[i].pic = pic;
            return (uint32_t)i + 1;
        }
    }
    gDraw.bit.push_back(BitStruct{pic});
    return (uint32_t)gDraw.bit.size();
}
}  // namespace Wimdows
