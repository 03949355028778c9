// The menus: buttons with their mouse-over pictures, the menu backgrounds and the loading screens.
#include <cmath>
#include <functional>

#include "game/Layout.h"
#include "pictures.h"

using namespace Paint;

namespace Pictures {

// ---- types ---------------------------------------------------------------------------------------------

// Paints a button's icon in the circle at (cx, cy) of radius r; `hover` for the mouse-over picture.
typedef std::function<void(Canvas &, float cx, float cy, float r, bool hover)> IconFn;

// ---- internal: icons --------------------------------------------------------------------------------------

static Rgb IconInk(bool hover) { return hover ? Hex(0x2A1200) : Pal::Amber; }

static void IconPlay(Canvas &cv, float cx, float cy, float r, bool hover) {
    FillPolygon(cv, {cx - r * 0.38f, cy - r * 0.55f, cx + r * 0.6f, cy, cx - r * 0.38f, cy + r * 0.55f},
                IconInk(hover));
}

static void IconGear(Canvas &cv, float cx, float cy, float r, bool hover) {
    Rgb ink = IconInk(hover);
    Fill(
        cv, cx - r, cy - r, cx + r, cy + r,
        [&](float x, float y) {
            float a = std::atan2(y - cy, x - cx), d = std::hypot(x - cx, y - cy);
            float teeth = Smooth(0.2f, 0.5f, std::cos(a * 8.0f)) * r * 0.17f;
            float outer = d - (r * 0.52f + teeth);
            return std::max(outer, -(d - r * 0.22f));
        },
        [&](float, float) { return Solid(ink); });
}

static void IconStar(Canvas &cv, float cx, float cy, float r, bool hover) {
    std::vector<float> pts;
    for (int i = 0; i < 10; ++i) {
        float a = -3.14159265f / 2 + i * 3.14159265f / 5;
        float rr = (i % 2 == 0) ? r * 0.68f : r * 0.28f;
        pts.push_back(cx + rr * std::cos(a));
        pts.push_back(cy + rr * std::sin(a));
    }
    FillPolygon(cv, pts, IconInk(hover));
}

static void IconQuestion(Canvas &cv, float cx, float cy, float r, bool hover) {
    TextStyle st = Style(SANS_BOLD, r * 1.35f, IconInk(hover), CENTER);
    float w, h;
    MeasureText(st, "?", w, h);
    Text(cv, st, "?", cx, cy - h / 2);
}

static void IconCross(Canvas &cv, float cx, float cy, float r, bool hover) {
    float k = r * 0.42f;
    Line(cv, cx - k, cy - k, cx + k, cy + k, r * 0.24f, IconInk(hover));
    Line(cv, cx - k, cy + k, cx + k, cy - k, r * 0.24f, IconInk(hover));
}

static void IconBricks(Canvas &cv, float cx, float cy, float r, bool) {
    float s = r * 0.62f;
    DrawWall(cv, 0, cx - s, cy - s, s);
    DrawWall(cv, 0, cx, cy - s, s);
    DrawWall(cv, 0, cx - s, cy, s);
    DrawSnakePiece(cv, 1, 4, cx, cy, s);
}

static void IconBars(Canvas &cv, float cx, float cy, float r, bool hover) {
    for (int i = 0; i < 3; ++i) {
        float x = cx - r * 0.5f + i * r * 0.36f;
        float top = cy + r * 0.45f - (i + 1) * r * 0.3f;
        FillRoundRect(cv, x, top, x + r * 0.26f, cy + r * 0.45f, 1.5f, IconInk(hover));
    }
}

static void IconKey(Canvas &cv, float cx, float cy, float r, bool hover) {
    float s = r * 1.2f;
    FillRoundRect(cv, cx - s / 2, cy - s / 2, cx + s / 2, cy + s / 2, 4, IconInk(hover));
    Rgb bg = hover ? Pal::Amber : Hex(0x1E2A5A);
    FillPolygon(cv, {cx - s * 0.22f, cy - s * 0.25f, cx + s * 0.28f, cy, cx - s * 0.22f, cy + s * 0.25f}, bg);
}

static void IconPlayers(Canvas &cv, float cx, float cy, float r, bool) {
    float s = r * 0.8f;
    DrawSnakePiece(cv, 1, 4, cx - s, cy - s * 0.5f, s);
    DrawSnakePiece(cv, 2, 5, cx, cy - s * 0.5f, s);
}

static void IconChevrons(int n, Canvas &cv, float cx, float cy, float r, bool hover) {
    float w = r * 0.34f;
    float x0 = cx - (n * w) / 2 - w * 0.2f;
    for (int i = 0; i < n; ++i) {
        float x = x0 + i * w;
        std::vector<float> pts = {x,
                                  cy - r * 0.45f,
                                  x + w * 0.55f,
                                  cy - r * 0.45f,
                                  x + w * 1.25f,
                                  cy,
                                  x + w * 0.55f,
                                  cy + r * 0.45f,
                                  x,
                                  cy + r * 0.45f,
                                  x + w * 0.7f,
                                  cy};
        FillPolygon(cv, pts, IconInk(hover));
    }
}

static void IconOneSnake(Canvas &cv, float cx, float cy, float r, bool) {
    float s = r * 0.72f;
    DrawSnakePiece(cv, 1, 0, cx - s * 1.2f, cy - s / 2, s);
    DrawSnakePiece(cv, 1, 4, cx - s * 0.2f, cy - s / 2, s);
}

static void IconSnakeVsSnake(Canvas &cv, float cx, float cy, float r, bool) {
    float s = r * 0.72f;
    DrawSnakePiece(cv, 1, 4, cx - s * 1.1f, cy - s / 2, s);
    DrawSnakePiece(cv, 2, 5, cx + s * 0.1f, cy - s / 2, s);
}

// Two little screens joined by a line: a game on two machines.
static void IconNetwork(Canvas &cv, float cx, float cy, float r, bool hover) {
    Rgb ink = IconInk(hover);
    FillRect(cv, cx - r * 0.5f, cy + r * 0.05f, cx + r * 0.5f, cy + r * 0.17f, ink);
    for (int side = -1; side <= 1; side += 2) {
        float x = cx + side * r * 0.52f, w = r * 0.42f, h = r * 0.62f;
        FillRect(cv, x - w / 2, cy - h / 2, x + w / 2, cy + h / 2, ink);
        FillRect(cv, x - w / 2 + r * 0.08f, cy - h / 2 + r * 0.08f, x + w / 2 - r * 0.08f, cy + h / 6,
                 side < 0 ? Pal::Red : Pal::Green);
    }
}

static void IconSnakeVsKnurf(Canvas &cv, float cx, float cy, float r, bool) {
    float s = r * 0.72f;
    DrawSnakePiece(cv, 1, 4, cx - s * 1.1f, cy - s / 2, s);
    DrawKnurf(cv, KNURF_STEERED, cx + s * 0.1f, cy - s / 2, s);
}

// The red snake against a little screen that shows the green snake: the computer plays green.
static void IconSnakeVsComputer(Canvas &cv, float cx, float cy, float r, bool hover) {
    float s = r * 0.72f;
    DrawSnakePiece(cv, 1, 4, cx - s * 1.2f, cy - s / 2, s);
    float x0 = cx + s * 0.02f, x1 = x0 + s * 1.22f, y0 = cy - s * 0.78f, y1 = y0 + s * 1.08f;
    FillRoundRect(cv, x0, y0, x1, y1, 2.5f, IconInk(hover));
    FillRect(cv, x0 + 1.6f, y0 + 1.6f, x1 - 1.6f, y1 - 1.6f, Pal::Black);
    DrawSnakePiece(cv, 2, 5, x0 + 1.6f, y0 + 1.6f, x1 - x0 - 3.2f);
    float mid = (x0 + x1) / 2;
    FillRect(cv, mid - s * 0.1f, y1, mid + s * 0.1f, y1 + s * 0.22f, IconInk(hover));
    FillRoundRect(cv, mid - s * 0.42f, y1 + s * 0.2f, mid + s * 0.42f, y1 + s * 0.36f, 1.0f, IconInk(hover));
}

// ---- internal: buttons --------------------------------------------------------------------------------

// Paints the button's plate on the flat panel colour; returns the plate's inner left edge for content.
static void ButtonPlate(Canvas &cv, bool hover) {
    float w = (float)cv.w, h = (float)cv.h;
    if (hover) {
        FillRoundRect(cv, 1, 1, w - 1, h - 1, 11, Hex(0xFFB020), 0.35f);
        FillRoundRectV(cv, 3, 3, w - 3, h - 3, 10, Hex(0xFFE06A), Hex(0xFF8A1A));
        StrokeRoundRect(cv, 3, 3, w - 3, h - 3, 10, 2.0f, Hex(0xFFF5CF));
        FillRoundRect(cv, 7, 5, w - 7, h * 0.42f, 7, Hex(0xFFFFFF), 0.18f);
    } else {
        FillRoundRectV(cv, 3, 3, w - 3, h - 3, 10, Hex(0x2C3D78), Hex(0x17214A));
        StrokeRoundRect(cv, 3, 3, w - 3, h - 3, 10, 1.6f, Hex(0x5E78D6), 0.9f);
        FillRoundRect(cv, 7, 5, w - 7, h * 0.42f, 7, Hex(0xFFFFFF), 0.06f);
    }
}

static void ButtonLabel(Canvas &cv, const std::string &label, float x, float cy, float size, bool hover, Align align,
                        float maxWidth) {
    TextStyle st = Style(SANS_BOLD, size, hover ? Hex(0x2A1200) : Pal::Ink);
    st.shadow = hover ? 0 : 1.2f;
    st.align = align;
    float w, h;
    MeasureText(st, label, w, h);
    if (w > maxWidth) {
        st.size *= maxWidth / w;
        MeasureText(st, label, w, h);
    }
    Text(cv, st, label, x, cy - h / 2);
}

// Where a button's label goes: right of its icon, up to 10 units from its right edge.
static float LabelLeft(int h) { return 12 + (h - 18) + 6.0f; }

// The label size at which every one of `labels` fits a w by h button (a menu's buttons set alike).
static float CommonLabelSize(const std::vector<std::string> &labels, int w, int h) {
    float size = h >= 58 ? 21 : 20, fit = size;
    for (const std::string &label : labels) {
        float tw, th;
        MeasureText(Style(SANS_BOLD, size), label, tw, th);
        if (tw > w - 10 - LabelLeft(h)) fit = std::min(fit, size * (w - 10 - LabelLeft(h)) / tw);
    }
    return fit;
}

// A button with an icon and a label; `size` 0 sets the label as large as the button allows.
static void MakeButton(const std::string &dir, const std::string &normal, const std::string &mouseOver, int w, int h,
                       const std::string &label, IconFn icon, float size = 0) {
    for (int hover = 0; hover <= 1; ++hover) {
        Canvas cv = MakeCanvas(w, h, 3, Pal::Panel);
        ButtonPlate(cv, hover);
        float r = (h - 18) / 2.0f;
        float cx = 12 + r, cy = h / 2.0f;
        FillCircle(cv, cx, cy, r, hover ? Hex(0x3A1606) : Hex(0x0E1533), hover ? 0.85f : 1.0f);
        icon(cv, cx, cy, r, hover);
        float left = LabelLeft(h);
        if (size == 0) size = h >= 58 ? 21 : 20;
        ButtonLabel(cv, label, (left + w - 10) / 2, cy, size, hover, CENTER, w - 10 - left);
        Save(cv, dir, hover ? mouseOver : normal);
    }
}

// The rim of a level's little picture: dark, so that a wall round the board stands out against it and an
// open edge reads as open.
static const Rgb THUMB_RIM = Hex(0x070A16);

// A little picture of a level: walls, free cells and the two start runs.
static void LevelThumb(Canvas &cv, const std::vector<std::string> &rows, float x, float y, float cell) {
    FillRect(cv, x - 2, y - 2, x + 40 * cell + 2, y + 30 * cell + 2, THUMB_RIM);
    FillRect(cv, x, y, x + 40 * cell, y + 30 * cell, Pal::Black);
    for (int r = 0; r < (int)rows.size(); ++r)
        for (int c = 0; c < 40; ++c) {
            char ch = rows[r][c];
            Rgb col;
            if (ch == 'M')
                col = Hex(0xB8C6EC);
            else if (ch == 'S')
                col = Pal::Red;
            else if (ch == 'T')
                col = Pal::Green;
            else
                continue;
            FillRect(cv, x + c * cell, y + r * cell, x + (c + 1) * cell, y + (r + 1) * cell, col);
        }
}

static void MakeSlotButton(const std::string &dir, const std::string &normal, const std::string &mouseOver,
                           const std::string &label, const std::string &sub, const std::string &levelFile) {
    std::vector<std::string> rows = ReadLevel(levelFile);
    for (int hover = 0; hover <= 1; ++hover) {
        Canvas cv = MakeCanvas(280, 60, 3, Pal::Panel);
        ButtonPlate(cv, hover);
        const float cell = 1.3f, tx = 12, ty = 30 - 15 * cell;
        if (!rows.empty()) {
            LevelThumb(cv, rows, tx, ty, cell);
        } else {
            // The custom level changes with every save: a drawing board instead of a picture of it.
            FillRect(cv, tx - 2, ty - 2, tx + 40 * cell + 2, ty + 30 * cell + 2, THUMB_RIM);
            FillRect(cv, tx, ty, tx + 40 * cell, ty + 30 * cell, Pal::Black);
            for (int i = 0; i < 4; ++i) DrawWall(cv, 0, tx + 4 + i * 9, ty + 4, 9);
            DrawWall(cv, 1, tx + 4, ty + 13, 9);
            DrawSnakePiece(cv, 1, 0, tx + 19, ty + 19, 8);
            DrawSnakePiece(cv, 1, 4, tx + 27, ty + 19, 8);
        }
        TextStyle st = Style(SANS_BOLD, 20, hover ? Hex(0x2A1200) : Pal::Ink);
        st.shadow = hover ? 0 : 1.2f;
        Text(cv, st, label, 78, 9);
        TextStyle sm = Style(SANS, 13, hover ? Hex(0x4A2406) : Pal::Muted);
        Text(cv, sm, sub, 79, 35);
        Save(cv, dir, hover ? mouseOver : normal);
    }
}

static void MakePrevious(const std::string &dir) {
    // One picture for three sizes (93x60, 66x60, 66x54): an arrow and no lettering, so squeezing it reads.
    for (int hover = 0; hover <= 1; ++hover) {
        Canvas cv = MakeCanvas(93, 60, 4, Pal::Panel);
        ButtonPlate(cv, hover);
        Rgb ink = hover ? Hex(0x2A1200) : Pal::Amber;
        float cx = 46.5f, cy = 30;
        std::vector<float> arrow = {cx - 24, cy,      cx - 4, cy - 17, cx - 4, cy - 7, cx + 24,
                                    cy - 7,  cx + 24, cy + 7, cx - 4,  cy + 7, cx - 4, cy + 17};
        if (!hover) {
            std::vector<float> sh = arrow;
            for (size_t i = 0; i < sh.size(); ++i) sh[i] += 1.5f;
            FillPolygon(cv, sh, Hex(0x000000), 0.5f);
        }
        FillPolygon(cv, arrow, ink);
        Save(cv, dir, hover ? "previous2.bmp" : "previous1.bmp");
    }
}

// ---- internal: backgrounds ----------------------------------------------------------------------------

// The flat panel behind the button column (the buttons' own corners are painted in its colour).
static void ButtonPanel(Canvas &cv, float x0, float y0, float x1, float y1) {
    FillRoundRect(cv, x0 - 4, y0 - 4, x1 + 4, y1 + 4, 22, Hex(0x000000), 0.35f);
    FillRoundRect(cv, x0, y0, x1, y1, 18, Pal::Panel);
    StrokeRoundRect(cv, x0, y0, x1, y1, 18, 1.5f, Pal::Line);
}

// A corner of a real board: walls, both snakes with their corners and all four knurfs, on cells of `cell`
// pixels, top-left at (x, y); 9 by 7 cells.
static void BoardScene(Canvas &cv, float x, float y, float cell) {
    float w = 9 * cell, h = 7 * cell;
    FillRoundRect(cv, x - 10, y - 10, x + w + 10, y + h + 10, 14, Hex(0x000000), 0.45f);
    FillRect(cv, x - 3, y - 3, x + w + 3, y + h + 3, Pal::Line);
    FillRect(cv, x, y, x + w, y + h, Pal::Black);
    for (int c = 0; c < 9; ++c) DrawWall(cv, 0, x + c * cell, y, cell);
    for (int r = 1; r < 7; ++r) DrawWall(cv, 1, x, y + r * cell, cell);
    DrawCellSnake(cv, 1, {1, 5, 2, 5, 3, 5, 4, 5, 4, 4, 4, 3, 4, 2, 5, 2, 6, 2}, x, y, cell);
    DrawCellSnake(cv, 2, {8, 6, 7, 6, 6, 6, 5, 6, 5, 5}, x, y, cell);
    DrawKnurf(cv, KNURF_NORMAL, x + 7 * cell, y + 2 * cell, cell);
    DrawKnurf(cv, KNURF_FASTER, x + 2 * cell, y + 3 * cell, cell);
    DrawKnurf(cv, KNURF_POISON, x + 7 * cell, y + 4 * cell, cell);
    DrawKnurf(cv, KNURF_STEERED, x + 2 * cell, y + 1 * cell, cell);
}

static void MakeMenuBackground(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    ButtonPanel(cv, Layout::MENU_PANEL_LEFT, Layout::MENU_PANEL_TOP, Layout::MENU_PANEL_RIGHT,
                Layout::MENU_PANEL_BOTTOM);
    DrawTitle(cv, 600, 50, 92, 360);
    TextStyle tag = Style(SANS, 17, Pal::Muted, CENTER);
    Text(cv, tag, "the snake game for one or two players", 600, 150);
    BoardScene(cv, 600 - 4.5f * 38, 215, 38);
    TextStyle foot = Style(SANS, 14, Pal::Muted, CENTER);
    Text(cv, foot, "Click, or use the arrow keys and Enter.", 240, 596);
    Text(cv, foot, "Eat the knurfs, grow long, and never", 600, 520);
    Text(cv, foot, "bite a wall, a snake or a blue knurf.", 600, 540);
    Text(cv, foot, "Help explains the keys and the game modes.", 600, 575);
    Save(cv, dir, "backgroundmenu.bmp");
}

static void MakeSlotBackground(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    ButtonPanel(cv, Layout::MENU_PANEL_LEFT, Layout::MENU_PANEL_TOP, Layout::MENU_PANEL_RIGHT,
                Layout::MENU_PANEL_BOTTOM);
    DrawHeading(cv, "Choose a level", 600, 62, 40);
    TextStyle body = Style(SANS, 16, Pal::Ink);
    float y = 140;
    y = Paragraph(cv, body,
                  "Every level can be played in the game mode chosen under Options: one player, "
                  "snake against snake, snake against knurf, or snake against the computer.",
                  430, y, 340, 23);
    y += 12;
    y = Paragraph(cv, body,
                  "Where a level has no wall at its edge, a snake that leaves the board comes back in "
                  "on the other side.",
                  430, y, 340, 23);
    y += 12;
    y = Paragraph(cv, body, "The custom level is the one you build in the Level maker.", 430, y, 340, 23);
    y += 12;
    // The two snakes as they start: red for player 1, green for player 2, both heading right.
    float sx = 470;
    for (int p = 1; p <= 2; ++p) {
        float sy = y + (p - 1) * 40;
        for (int i = 0; i < 3; ++i) DrawSnakePiece(cv, p, 0, sx + i * 28, sy, 28);
        DrawSnakePiece(cv, p, 4, sx + 3 * 28, sy, 28);
        TextStyle lab = Style(SANS_BOLD, 16, p == 1 ? Hex(0xFF8A7A) : Hex(0x8FE39A));
        Text(cv, lab, p == 1 ? "player 1" : "player 2", sx + 128, sy + 4);
    }
    BoardScene(cv, 600 - 4.5f * 26, y + 90, 26);
    TextStyle foot = Style(SANS, 14, Pal::Muted, CENTER);
    Text(cv, foot, "The arrow takes you back to the main menu.", 240, 596);
    Save(cv, dir, "slotmenubackground.bmp");
}

// The host's and the joiner's screens: a heading and one wide panel that the game writes its lines in.
static void MakeNetworkScreen(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    DrawHeading(cv, "Play over the network", 400, 40, 40);
    ButtonPanel(cv, 50, 120, 750, 530);
    BoardScene(cv, 400 - 4.5f * 14, 420, 14);
    Save(cv, dir, "networkscreen.bmp");
}

static void MakeLoadScreens(const std::string &dir) {
    const char *tips[3] = {"Pink knurfs are food: every one makes your snake longer.",
                           "Yellow knurfs are food too, and they make the game faster.",
                           "Blue knurfs are poisonous. Never bite one!"};
    for (int i = 0; i < 3; ++i) {
        Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
        DrawBackdrop(cv);
        Fill(
            cv, 0, 0, 800, 680, [](float, float) { return -1.0f; },
            [](float x, float y) {
                float d = std::hypot((x - 400) / 800, (y - 210) / 680);
                return Solid(Hex(0xFF9A3A), 0.16f * (1 - Smooth(0.0f, 0.45f, d)));
            });
        DrawTitle(cv, 400, 110, 150);
        TextStyle tag = Style(SANS, 20, Pal::Muted, CENTER);
        Text(cv, tag, "the snake game for one or two players", 400, 290);
        // The snake crawls along the progress bar as loading goes on.
        float x0 = 150, x1 = 650, y = 520;
        FillRoundRect(cv, x0 - 6, y - 20, x1 + 6, y + 20, 20, Hex(0x05070F));
        StrokeRoundRect(cv, x0 - 6, y - 20, x1 + 6, y + 20, 20, 1.5f, Pal::Line);
        float reach = x0 + (x1 - x0) * (i + 1) / 3.0f;
        std::vector<float> path;
        for (float x = x0 + 8; x <= reach - 44; x += 6) {
            path.push_back(x);
            path.push_back(y + 5 * std::sin((x - x0) / 26.0f));
        }
        if (path.size() >= 4) DrawBigSnake(cv, 1, path, 22);
        for (int k = 0; k < 3; ++k) {
            float kx = x0 + (x1 - x0) * (k + 1) / 3.0f - 8;
            if (kx > reach) DrawKnurf(cv, KNURF_NORMAL, kx - 12, y - 12, 24);
        }
        TextStyle load = Style(SANS_BOLD, 22, Pal::Ink, CENTER);
        const char *steps[3] = {"Loading.", "Loading..", "Loading..."};
        Text(cv, load, steps[i], 400, 560);
        TextStyle tip = Style(SANS, 18, Pal::Amber, CENTER);
        Text(cv, tip, std::string("Tip: ") + tips[i], 400, 620);
        BoardScene(cv, 400 - 4.5f * 20, 340 - 1, 20);
        Save(cv, dir, "loadscreen" + std::to_string(i + 1) + ".bmp");
    }
}

// ---- the set -------------------------------------------------------------------------------------------

void MakeMenuPictures(const std::string &dir, const std::string &levelDir) {
    MakeButton(dir, "play1.bmp", "play2.bmp", 200, 50, "Play", IconPlay);
    MakeButton(dir, "options1.bmp", "options2.bmp", 200, 50, "Options", IconGear);
    MakeButton(dir, "lvlmaker1.bmp", "lvlmaker2.bmp", 200, 50, "Level maker", IconBricks);
    MakeButton(dir, "highscore1.bmp", "highscore2.bmp", 200, 50, "Highscores", IconStar);
    MakeButton(dir, "help1.bmp", "help2.bmp", 200, 50, "Help", IconQuestion);
    MakeButton(dir, "quit1.bmp", "quit2.bmp", 200, 50, "Quit", IconCross);

    MakeSlotButton(dir, "slot1.bmp", "slot12.bmp", "Walled arena", "a wall all round", levelDir + "/muur.txt");
    MakeSlotButton(dir, "slot2.bmp", "slot22.bmp", "No walls", "snakes wrap round the edges",
                   levelDir + "/geenmuur.txt");
    MakeSlotButton(dir, "slot3.bmp", "slot32.bmp", "Smiley", "a big face of walls", levelDir + "/smiley.txt");
    MakeSlotButton(dir, "slot5.bmp", "slot52.bmp", "Insane", "a maze of narrow halls", levelDir + "/insane.txt");
    MakeSlotButton(dir, "slot4.bmp", "slot42.bmp", "Custom level", "made in the Level maker", "");
    MakePrevious(dir);

    MakeButton(dir, "diff1.bmp", "diff2.bmp", 200, 60, "Difficulty", IconBars);
    MakeButton(dir, "controls1.bmp", "controls2.bmp", 200, 60, "Controls", IconKey);
    MakeButton(dir, "settings1.bmp", "settings2.bmp", 200, 60, "Game mode", IconPlayers);

    MakeButton(dir, "easy1.bmp", "easy2.bmp", 200, 60, "Easy",
               [](Canvas &cv, float cx, float cy, float r, bool h) { IconChevrons(1, cv, cx, cy, r, h); });
    MakeButton(dir, "medium1.bmp", "medium2.bmp", 200, 60, "Medium",
               [](Canvas &cv, float cx, float cy, float r, bool h) { IconChevrons(2, cv, cx, cy, r, h); });
    MakeButton(dir, "hard1.bmp", "hard2.bmp", 200, 60, "Hard",
               [](Canvas &cv, float cx, float cy, float r, bool h) { IconChevrons(3, cv, cx, cy, r, h); });

    // The game modes side by side: their labels in one size.
    const float mode = CommonLabelSize(
        {"One player", "Snake vs snake", "Snake vs knurf", "Snake vs computer", "Network game"}, 200, 54);
    MakeButton(dir, "sp1.bmp", "sp2.bmp", 200, 54, "One player", IconOneSnake, mode);
    MakeButton(dir, "snakevssnake1.bmp", "snakevssnake2.bmp", 200, 54, "Snake vs snake", IconSnakeVsSnake, mode);
    MakeButton(dir, "snakevsknurf1.bmp", "snakevsknurf2.bmp", 200, 54, "Snake vs knurf", IconSnakeVsKnurf, mode);
    MakeButton(dir, "snakevscomputer1.bmp", "snakevscomputer2.bmp", 200, 54, "Snake vs computer", IconSnakeVsComputer,
               mode);

    MakeButton(dir, "network1.bmp", "network2.bmp", 200, 54, "Network game", IconNetwork, mode);
    MakeButton(dir, "hostsnake1.bmp", "hostsnake2.bmp", 200, 60, "Host: vs snake", IconSnakeVsSnake);
    MakeButton(dir, "hostknurf1.bmp", "hostknurf2.bmp", 200, 60, "Host: vs knurf", IconSnakeVsKnurf);
    MakeButton(dir, "join1.bmp", "join2.bmp", 200, 60, "Join a game", IconNetwork);

    MakeMenuBackground(dir);
    MakeNetworkScreen(dir);
    MakeSlotBackground(dir);
    MakeLoadScreens(dir);
}

}  // namespace Pictures
