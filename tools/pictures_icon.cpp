// The application icon: the red snake's head and a piece of its body on a rounded night-blue tile, drawn
// for every size the desktop asks for, and once more as the picture the window shows in its title bar.
#include "pictures.h"

using namespace Paint;

namespace Pictures {

// ---- internal ---------------------------------------------------------------------------------------

// The icon on an n by n canvas; the tile's shape goes white on black into `shape` (the icon's opacity).
static void DrawIcon(Canvas &cv, Canvas &shape, float n) {
    const float r = n * 0.22f, edge = std::max(1.0f, n / 32);
    FillRoundRectV(cv, 0, 0, n, n, r, Hex(0x26346A), Pal::Night);
    StrokeRoundRect(cv, 0, 0, n, n, r, edge, Pal::Amber, 0.9f);
    FillRoundRect(shape, 0, 0, n, n, r, Hex(0xFFFFFF));
    // A fat snake curling up from the bottom left, its head top right: a shape that still reads at 16 pixels.
    std::vector<float> path;
    for (int i = 0; i <= 24; ++i) {
        float a = 3.9f - 3.3f * (i / 24.0f);
        path.push_back(n * (0.44f + 0.25f * std::cos(a)));
        path.push_back(n * (0.58f - 0.25f * std::sin(a)));
    }
    DrawBigSnake(cv, 1, path, n * (n <= 32 ? 0.3f : 0.24f));
    if (n <= 32) {
        // At the smallest sizes the head's own eyes are lost: two big ones instead, across the head.
        float ex = path[path.size() - 2], ey = path.back(), dx = 0.565f, dy = 0.825f;
        for (int side : {-1, 1}) {
            float cx = ex + dx * n * 0.02f - dy * side * n * 0.1f, cy = ey + dy * n * 0.02f + dx * side * n * 0.1f;
            FillCircle(cv, cx, cy, n * 0.085f, Hex(0xFFFFFF));
            FillCircle(cv, cx + dx * n * 0.03f, cy + dy * n * 0.03f, n * 0.045f, Hex(0x101010));
        }
    }
}

// ---- exported ---------------------------------------------------------------------------------------

void MakeIcons(const std::string &bitmapDir, const std::string &iconDir) {
    for (int n : {16, 32, 48, 64, 128, 256}) {
        int ss = std::max(2, 512 / n);
        Canvas cv = MakeCanvas(n, n, ss, Pal::Night), shape = MakeCanvas(n, n, ss, Pal::Black);
        DrawIcon(cv, shape, (float)n);
        if (!iconDir.empty()) SavePngIcon(cv, shape, iconDir, "kwibbel-" + std::to_string(n) + ".png");
        if (n == 64) Save(cv, bitmapDir, "kwibbel-icon.bmp");
    }
}

}  // namespace Pictures
