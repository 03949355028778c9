// make_pictures: paints every picture of the game into a bitmap folder.
// Usage: make_pictures <bitmap folder> <folder with the shipped level files> [<icon folder>]
//        make_pictures --double <bitmap2x folder> <folder with the shipped level files>
// The second form paints the same pictures at twice their size (no icons): the window layer draws from that
// set when the window shows the game at 1.5 times or more. Every picture is stored as a PNG of the name the
// game asks for ("play1.png" for "play1.bmp"), pixel for pixel the BMP it is made from.
// Exit status 0 when every picture was written.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <fstream>

#include "pictures.h"

using namespace Paint;

namespace Pictures {

// ---- state ---------------------------------------------------------------------------------------------

static int failures = 0;

// ---- writing ---------------------------------------------------------------------------------------------

void Save(const Canvas &cv, const std::string &dir, const std::string &name) {
    const std::string bmp = dir + "/" + name;
    if (!SaveBmp(cv, bmp)) {
        ++failures;
        return;
    }
    // The BMP's pixels, compressed without loss.
    const std::string png = bmp.substr(0, bmp.size() - 4) + ".png";
    SDL_Surface *s = SDL_LoadBMP(bmp.c_str());
    if (!s || IMG_SavePNG(s, png.c_str()) != 0) {
        std::fprintf(stderr, "make_pictures: cannot write %s: %s\n", png.c_str(), SDL_GetError());
        ++failures;
    }
    SDL_FreeSurface(s);
    std::remove(bmp.c_str());
}

void SavePngIcon(const Canvas &cv, const Canvas &shape, const std::string &dir, const std::string &name) {
    if (!SavePng(cv, shape, dir + "/" + name)) ++failures;
}

int SaveFailures() { return failures; }

// ---- shared painters ---------------------------------------------------------------------------------

void DrawTitle(Canvas &cv, float x, float y, float size, float maxWidth) {
    TextStyle st = Style(SANS_BOLD, size);
    float w, h;
    MeasureText(st, "Kwibbel", w, h);
    if (w > maxWidth) size *= maxWidth / w;
    st.face = SANS_BOLD;
    st.size = size;
    st.gradient = true;
    st.color = Hex(0xFFE27A);
    st.color2 = Pal::Orange;
    st.outline = size * 0.045f;
    st.outlineColor = Pal::Brown;
    st.shadow = size * 0.06f;
    st.shadowAlpha = 0.8f;
    st.align = CENTER;
    Text(cv, st, "Kwibbel", x, y);
}

void DrawHeading(Canvas &cv, const std::string &text, float x, float y, float size, Align align) {
    TextStyle st = Style(SANS_BOLD, size);
    st.gradient = true;
    st.color = Hex(0xFFE27A);
    st.color2 = Pal::Orange;
    st.outline = std::max(1.0f, size * 0.05f);
    st.outlineColor = Pal::Brown;
    st.shadow = std::max(1.0f, size * 0.06f);
    st.align = align;
    Text(cv, st, text, x, y);
}

void DrawKeyCap(Canvas &cv, const std::string &label, float x, float y, float w, float h) {
    FillRoundRect(cv, x, y + 2, x + w, y + h, 5, Hex(0x05070F));
    FillRoundRectV(cv, x, y, x + w, y + h - 2, 5, Hex(0xE9EDF8), Hex(0xB4BCD6));
    StrokeRoundRect(cv, x, y, x + w, y + h - 2, 5, 1.0f, Hex(0x6A7498));
    TextStyle st = Style(SANS_BOLD, h * 0.5f, Hex(0x1A2040), CENTER);
    float tw, th;
    MeasureText(st, label, tw, th);
    if (tw > w - 6) {
        st.size *= (w - 6) / tw;
        MeasureText(st, label, tw, th);
    }
    Text(cv, st, label, x + w / 2, y + (h - 2) / 2 - th / 2);
}

void DrawBackdrop(Canvas &cv) {
    GradientV(cv, Pal::Navy, Pal::Night);
    // A faint board grid of 20-pixel cells.
    for (int x = 0; x <= cv.w; x += 20) FillRect(cv, x - 0.5f, 0, x + 0.5f, (float)cv.h, Hex(0x2A3566), 0.18f);
    for (int y = 0; y <= cv.h; y += 20) FillRect(cv, 0, y - 0.5f, (float)cv.w, y + 0.5f, Hex(0x2A3566), 0.18f);
    // A soft light from the top.
    Fill(
        cv, 0, 0, (float)cv.w, (float)cv.h, [](float, float) { return -1.0f; },
        [&](float x, float y) {
            float d = std::hypot((x - cv.w * 0.6f) / cv.w, (y + 60) / cv.h);
            return Solid(Hex(0x3A4C9A), 0.28f * (1 - Smooth(0.0f, 0.8f, d)));
        });
}

std::vector<std::string> ReadLevel(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> rows;
    std::string line;
    while (rows.size() < 30 && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line.resize(40, '-');
        rows.push_back(line);
    }
    if (rows.size() != 30) rows.clear();
    return rows;
}

}  // namespace Pictures

int main(int argc, char **argv) {
    bool twice = argc > 1 && std::string(argv[1]) == "--double";
    if (twice) {
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_pictures [--double] <bitmap folder> <level folder> [<icon folder>]\n");
        return 2;
    }
    if (SDL_Init(0) != 0 || !InitText()) return 1;
    if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0) {
        std::fprintf(stderr, "make_pictures: no PNG writer: %s\n", IMG_GetError());
        return 1;
    }
    std::string dir = argv[1], levels = argv[2];
    SetOutputScale(twice ? 2 : 1);
    Pictures::MakeGamePictures(dir);
    Pictures::MakeMenuPictures(dir, levels);
    Pictures::MakeScreenPictures(dir);
    if (!twice) Pictures::MakeIcons(dir, argc > 3 ? argv[3] : "");
    int bad = Pictures::SaveFailures();
    if (bad) std::fprintf(stderr, "make_pictures: %d pictures were not written\n", bad);
    IMG_Quit();
    SDL_Quit();
    return bad ? 1 : 0;
}
