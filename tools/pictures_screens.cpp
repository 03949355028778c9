// The full screens: help, the level maker's help, the art of each end of a game, the highscore table, the
// key-choosing screen with its prompts and refusal, and the refused level.
#include <cmath>

#include "pictures.h"

#include "game/Layout.h"

using namespace Paint;

namespace Pictures {

// ---- internal ------------------------------------------------------------------------------------------

static TextStyle Body(float size = 15) { return Style(SANS, size, Pal::Ink); }

static TextStyle Bold(float size, Rgb colour) { return Style(SANS_BOLD, size, colour); }

static void SectionTitle(Canvas &cv, const std::string &text, float x, float y, float w) {
    Text(cv, Bold(17, Pal::Amber), text, x, y);
    FillRect(cv, x, y + 24, x + w, y + 25.2f, Pal::Line);
}

static void Footer(Canvas &cv, const std::string &text, float y) {
    TextStyle st = Bold(16, Pal::Ink);
    st.align = CENTER;
    float w, h;
    MeasureText(st, text, w, h);
    FillRoundRect(cv, 400 - w / 2 - 18, y - 6, 400 + w / 2 + 18, y + h + 6, (h + 12) / 2, Hex(0x2C3D78));
    StrokeRoundRect(cv, 400 - w / 2 - 18, y - 6, 400 + w / 2 + 18, y + h + 6, (h + 12) / 2, 1.2f, Hex(0x5E78D6));
    Text(cv, st, text, 400, y);
}

// An arrow key cap with a drawn arrow (0 right, 1 left, 2 up, 3 down).
static void ArrowCap(Canvas &cv, int dir, float x, float y, float s) {
    DrawKeyCap(cv, "", x, y, s, s);
    float cx = x + s / 2, cy = y + (s - 2) / 2, k = s * 0.22f;
    std::vector<float> p;
    switch (dir) {
    case 0: p = {cx - k, cy - k, cx + k, cy, cx - k, cy + k}; break;
    case 1: p = {cx + k, cy - k, cx - k, cy, cx + k, cy + k}; break;
    case 2: p = {cx - k, cy + k, cx, cy - k, cx + k, cy + k}; break;
    default: p = {cx - k, cy - k, cx, cy + k, cx + k, cy - k}; break;
    }
    FillPolygon(cv, p, Hex(0x1A2040));
}

// A big arrow pointing in direction dir (0 right, 1 left, 2 up, 3 down), centred on (cx, cy).
static void BigArrow(Canvas &cv, int dir, float cx, float cy, float len) {
    float a = len / 2, w = len * 0.2f, head = len * 0.42f, hw = len * 0.38f;
    std::vector<float> p = {-a, -w, a - head, -w, a - head, -hw, a, 0, a - head, hw, a - head, w, -a, w};
    for (size_t i = 0; i < p.size(); i += 2) {
        float x = p[i], y = p[i + 1], rx, ry;
        switch (dir) {
        case 0:
            rx = x;
            ry = y;
            break;
        case 1:
            rx = -x;
            ry = y;
            break;
        case 2:
            rx = y;
            ry = -x;
            break;
        default:
            rx = y;
            ry = x;
            break;
        }
        p[i] = cx + rx;
        p[i + 1] = cy + ry;
    }
    int n = (int)p.size() / 2;
    Glow(
        cv, cx - len, cy - len, cx + len, cy + len, [&](float x, float y) { return SdPolygon(x, y, p.data(), n); },
        Pal::Orange, 14.0f, 0.45f);
    Fill(
        cv, cx - len, cy - len, cx + len, cy + len,
        [&](float x, float y) { return SdPolygon(x, y, p.data(), n) - 5.0f; },
        [&](float, float) { return Solid(Pal::Brown); });
    Fill(
        cv, cx - len, cy - len, cx + len, cy + len, [&](float x, float y) { return SdPolygon(x, y, p.data(), n); },
        [&](float, float y) { return Solid(Mix(Hex(0xFFE27A), Pal::Orange, Clamp01((y - cy + len / 2) / len))); });
}

// ---- help ------------------------------------------------------------------------------------------------

static void MakeHelp(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    DrawHeading(cv, "How to play Kwibbel", 400, 14, 38);
    const float L = 32, R = 418, W = 350, lh = 19.5f;
    TextStyle body = Body(14.5f);

    float y = 78;
    SectionTitle(cv, "The goal", L, y, W);
    y = Paragraph(cv, body,
                  "Eat the knurfs: each one makes your snake longer and earns points. The game is over "
                  "when a snake runs into a wall, a snake (its own tail too) or a blue knurf. Where a "
                  "level has no wall at the edge, a snake comes back in on the other side. Easy, medium "
                  "or hard (Options, Difficulty) sets the speed and how well the computer plays.",
                  L, y + 32, W, lh);

    y += 10;
    SectionTitle(cv, "Keys (as shipped)", L, y, W);
    y += 34;
    // Player 1's cluster on the left, player 2's on the right, each with its caption below.
    ArrowCap(cv, 2, L + 30, y, 26);
    ArrowCap(cv, 1, L + 2, y + 28, 26);
    ArrowCap(cv, 3, L + 30, y + 28, 26);
    ArrowCap(cv, 0, L + 58, y + 28, 26);
    Text(cv, Bold(14.5f, Hex(0xFF8A7A)), "Player 1", L + 94, y + 8);
    Text(cv, body, "red snake", L + 94, y + 28);
    const float P2 = L + 174;
    DrawKeyCap(cv, "W", P2 + 30, y, 26, 26);
    DrawKeyCap(cv, "A", P2 + 2, y + 28, 26, 26);
    DrawKeyCap(cv, "S", P2 + 30, y + 28, 26, 26);
    DrawKeyCap(cv, "D", P2 + 58, y + 28, 26, 26);
    // Clear of the D key's cap.
    Text(cv, Bold(14.5f, Hex(0x8FE39A)), "Player 2", P2 + 96, y + 8);
    Text(cv, body, "green snake", P2 + 96, y + 28);
    y += 62;
    y = Paragraph(cv, body, "Choose other keys under Options, Controls.", L, y, W, lh);
    y += 6;
    DrawKeyCap(cv, "P", L, y, 26, 24);
    y = Paragraph(cv, body, "pauses the game, and P again goes on.", L + 34, y + 3, W - 34, lh);
    y += 4;
    DrawKeyCap(cv, "Esc", L, y, 40, 24);
    y = Paragraph(cv, body, "leaves the game without saving scores.", L + 48, y + 3, W - 48, lh);
    // The window's own keys, good on every screen.
    y += 4;
    DrawKeyCap(cv, "F11", L, y, 36, 24);
    Text(cv, body, "fullscreen", L + 42, y + 3);
    DrawKeyCap(cv, "F2", L + 128, y, 30, 24);
    Text(cv, body, "music", L + 164, y + 3);
    DrawKeyCap(cv, "F3", L + 222, y, 30, 24);
    Text(cv, body, "sounds", L + 258, y + 3);
    y += 24;

    y += 10;
    SectionTitle(cv, "Menus and gamepads", L, y, W);
    y = Paragraph(cv, body,
                  "In the menus the arrow keys move the light, Enter picks, Esc goes back. Pad 1 "
                  "steers player 1, pad 2 player 2 (d-pad or stick); Start pauses, Back leaves a game, "
                  "A picks and B goes back.",
                  L, y + 32, W, lh);

    // Right column.
    y = 78;
    SectionTitle(cv, "Knurfs", R, y, W);
    y += 34;
    const struct {
        KnurfKind k;
        const char *name;
        const char *text;
        uint32_t colour;
    } kinds[4] = {
        {KNURF_NORMAL, "Pink knurf:", "food. Eat it for points; a new one appears at once.", 0xFF8FC4},
        {KNURF_FASTER, "Yellow knurf:", "food that also makes the whole game faster.", 0xFFD23A},
        {KNURF_POISON, "Blue knurf:", "poisonous! A snake that bites it is dead.", 0x6FAAFF},
        {KNURF_STEERED, "Green knurf:", "steered by player 2 in snake against knurf.", 0x7FE36F},
    };
    for (const auto &k : kinds) {
        FillRoundRect(cv, R, y - 2, R + 36, y + 34, 6, Pal::Black);
        DrawKnurf(cv, k.k, R + 2, y, 32);
        float w = Text(cv, Bold(14.5f, Hex(k.colour)), k.name, R + 46, y);
        float yy = Paragraph(cv, body, k.text, R + 46, y + lh, W - 46, lh);
        (void)w;
        y = std::max(y + 42, yy + 4);
    }
    y = Paragraph(cv, body,
                  "Knurfs wander about by themselves every few steps. Each one eaten is worth 100, 200 "
                  "or 300 points on easy, medium or hard.",
                  R, y, W, lh);

    y += 10;
    SectionTitle(cv, "Game modes (Options, Game mode)", R, y, W);
    y += 32;
    y = Paragraph(cv, body, "One player: your snake and three knurfs.", R, y, W, lh);
    y = Paragraph(cv, body, "Snake vs snake: two snakes and four knurfs, both moving at once.", R, y + 3, W, lh);
    y = Paragraph(cv, body, "Snake vs knurf: player 2 steers the green knurf into the snake's way.", R, y + 3, W, lh);
    y = Paragraph(cv, body,
                  "Snake vs computer: player 1 against the green snake, which the computer steers. "
                  "Only player 1's score goes into the table.",
                  R, y + 3, W, lh);

    Footer(cv, "Press any key to go back to the menu.", 640);
    Save(cv, dir, "helptext.bmp");
}

static void MakeLevelMakerHelp(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    DrawHeading(cv, "The Level maker", 400, 14, 38);
    TextStyle body = Body(15);
    const float lh = 20.5f;
    TextStyle intro = body;
    intro.align = CENTER;
    Text(cv, intro, "Build your own level on the real board. You save it as the custom level,", 400, 70);
    Text(cv, intro, "which you can play from Play like any other level.", 400, 91);

    // The three steps, each in a card with a picture.
    const char *titles[3] = {"1. Player 1's start", "2. Player 2's start", "3. Walls"};
    const char *texts[3] = {
        "Move the blinking cursor with the arrow keys and press Enter. The red snake starts there, four cells "
        "long, heading right.",
        "Do the same for the green snake. In snake against knurf this is where player 2's knurf starts.",
        "Enter puts a wall under the cursor, which then moves on to the next cell of the line. M builds a wall "
        "all round the board."};
    for (int i = 0; i < 3; ++i) {
        float x = 30 + i * 250, y = 126;
        FillRoundRect(cv, x, y, x + 236, y + 202, 14, Pal::Panel);
        StrokeRoundRect(cv, x, y, x + 236, y + 202, 14, 1.2f, Pal::Line);
        Text(cv, Bold(16, Pal::Amber), titles[i], x + 14, y + 10);
        FillRect(cv, x + 14, y + 38, x + 222, y + 88, Pal::Black);
        if (i < 2) {
            int p = i + 1;
            for (int k = 0; k < 3; ++k) DrawSnakePiece(cv, p, 0, x + 40 + k * 24, y + 51, 24);
            DrawSnakePiece(cv, p, 4, x + 40 + 72, y + 51, 24);
            StrokeRoundRect(cv, x + 40 + 96, y + 51, x + 40 + 120, y + 75, 0, 1.5f, Hex(0xC0C0C0));
        } else {
            for (int k = 0; k < 8; ++k) DrawWall(cv, 0, x + 22 + k * 24, y + 40, 24);
            for (int k = 0; k < 1; ++k) DrawWall(cv, 1, x + 22, y + 64, 24);
            DrawWall(cv, 1, x + 94, y + 64, 24);
            StrokeRoundRect(cv, x + 118, y + 64, x + 142, y + 88, 0, 1.5f, Hex(0xC0C0C0));
        }
        Paragraph(cv, body, texts[i], x + 14, y + 98, 210, lh);
    }

    // The keys.
    float y = 342;
    Text(cv, Bold(17, Pal::Amber), "All the keys", 30, y);
    FillRect(cv, 30, y + 24, 770, y + 25.2f, Pal::Line);
    y += 36;
    struct Row {
        const char *cap;
        float w;
        const char *text;
    };
    const Row left[4] = {{"", 0, "Arrow keys: move the cursor; held, it runs."},
                         {"Enter", 56, "Place a snake's start, later a wall."},
                         {"M", 30, "A wall all round the board (press again to repair it)."},
                         {"Space", 60, "Cursor back to its start, top left."}};
    const Row right[4] = {{"Backspace", 90, "Hold it while moving to wipe out walls."},
                          {"D", 30, "Clear everything and start again."},
                          {"L", 30, "Load your saved level to mend it."},
                          {"Esc", 44, "Save and go back to the menu; with no snake placed, go back unsaved."}};
    float ly = y;
    for (const Row &r : left) {
        if (r.w == 0) {
            ArrowCap(cv, 1, 30, ly, 26);
            ArrowCap(cv, 2, 58, ly, 26);
            ArrowCap(cv, 3, 86, ly, 26);
            ArrowCap(cv, 0, 114, ly, 26);
        } else {
            DrawKeyCap(cv, r.cap, 30, ly, r.w, 26);
        }
        float yy = Paragraph(cv, body, r.text, 150, ly + 3, 235, lh);
        ly = std::max(ly + 36, yy + 8);
    }
    float ry = y;
    for (const Row &r : right) {
        DrawKeyCap(cv, r.cap, 410, ry, r.w, 26);
        float yy = Paragraph(cv, body, r.text, 515, ry + 3, 255, lh);
        ry = std::max(ry + 36, yy + 8);
    }
    float ty = std::max(ly, ry) + 4;
    TextStyle note = Body(14.5f);
    note.color = Pal::Muted;
    ty = Paragraph(cv, note,
                   "Leave free cells to the right of each start: the snakes set off to the right. Where an "
                   "edge has no wall, the snakes wrap round to the other side.",
                   30, ty, 740, 19);
    Footer(cv, "Press any key to start building, Esc to go back.", 640);
    Save(cv, dir, "levelmakerhelp.bmp");
}

// ---- game over and the highscore table --------------------------------------------------------------

// The art of one end of a game: the snakes of `snakes` (bit 1 red, bit 2 green) crashed into a wall, or
// the red one caught by the green knurf. The words are the game's: it writes what happened over the
// empty band below the art (Layout::GAME_OVER_WORDS_TOP to _BOTTOM).
static void MakeGameOver(const std::string &dir, const std::string &name, int snakes, bool knurf) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Night);
    DrawBackdrop(cv);
    Rgb pc = snakes == 2 ? Pal::Green : (snakes == 3 ? Pal::Orange : Pal::Red);
    Fill(
        cv, 0, 0, 800, 680, [](float, float) { return -1.0f; },
        [&](float x, float y) {
            float d = std::hypot((x - 400) / 800, (y - 330) / 680);
            return Solid(pc, 0.22f * (1 - Smooth(0.0f, 0.6f, d)));
        });
    TextStyle go = Style(SANS_BOLD, 110);
    go.gradient = true;
    go.color = Hex(0xFFE27A);
    go.color2 = Pal::Orange;
    go.outline = 5;
    go.outlineColor = Pal::Brown;
    go.shadow = 7;
    go.shadowAlpha = 0.8f;
    go.align = CENTER;
    Text(cv, go, "GAME OVER", 400, 70);

    // Each snake with stars round its head, in front of a wall (or of the knurf that caught it).
    const bool both = snakes == 3;
    const float bases[2] = {both ? 268.0f : 326.0f, both ? 372.0f : 326.0f};
    std::vector<float> heads;
    for (int player = 1; player <= 2; ++player) {
        if (!(snakes & player)) continue;
        float base = bases[player - 1];
        std::vector<float> path;
        for (float x = 240; x <= 528; x += 6) {
            path.push_back(x);
            path.push_back(base + 24 * std::sin((x - 240) / 46.0f) * (1 - (x - 240) / 420.0f));
        }
        DrawBigSnake(cv, player, path, 30);
        heads.push_back(path.back());
    }
    if (!knurf) {
        int tiles = both ? 10 : 6;
        float top = both ? 200 : 250;
        for (int k = 0; k < tiles; ++k) DrawWall(cv, 1, 570, top + k * 24, 24);
    }
    for (float hy : heads) {
        for (int k = 0; k < 4; ++k) {
            float a = -2.3f + k * 1.15f, cx = 548 + 50 * std::cos(a), cy = hy + 50 * std::sin(a);
            std::vector<float> star;
            for (int i = 0; i < 10; ++i) {
                float b = i * 3.14159265f / 5, rr = i % 2 ? 4.0f : 10.0f;
                star.push_back(cx + rr * std::cos(b));
                star.push_back(cy + rr * std::sin(b));
            }
            FillPolygon(cv, star, Pal::Amber);
        }
    }
    if (knurf) DrawKnurf(cv, KNURF_STEERED, 552, heads[0] - 40, 80);

    TextStyle note = Body(16);
    note.color = Pal::Muted;
    note.align = CENTER;
    Text(cv, note, "The scores are going into the highscore table...", 400, 610);
    Save(cv, dir, name);
}

static void MakeHighscoreTable(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    DrawHeading(cv, "Highscores", 335, 22, 52);
    // The game writes rank i's number at x = Layout::HIGHSCORE_X, top y = Layout::HighscoreY(i), about
    // Layout::HIGHSCORE_TEXT_HEIGHT pixels high.
    const Rgb medals[3] = {Hex(0xFFC93C), Hex(0xC9D2E3), Hex(0xD98A4A)};
    for (int i = 1; i <= 10; ++i) {
        float top = (float)Layout::HighscoreY(i);
        float y0 = top - 6, y1 = top + 40, cy = (y0 + y1) / 2;
        FillRoundRect(cv, 100, y0, 570, y1, 12, (i % 2) ? Hex(0x1B2650) : Hex(0x17204A));
        StrokeRoundRect(cv, 100, y0, 570, y1, 12, 1.0f, Pal::Line, 0.8f);
        // Plain black behind the number, so every colour of the game's lettering reads on it.
        FillRoundRect(cv, 190, y0 + 4, 562, y1 - 4, 8, Hex(0x020308));
        if (i <= 3) {
            FillCircle(cv, 150, cy, 19, Scale(medals[i - 1], 0.55f));
            FillCircle(cv, 150, cy, 16.5f, medals[i - 1]);
            TextStyle m = Bold(20, Hex(0x2A1606));
            m.align = CENTER;
            float w, h;
            MeasureText(m, std::to_string(i), w, h);
            Text(cv, m, std::to_string(i), 150, cy - h / 2);
        } else {
            TextStyle m = Bold(22, Pal::Muted);
            m.align = RIGHT;
            float w, h;
            MeasureText(m, std::to_string(i) + ".", w, h);
            Text(cv, m, std::to_string(i) + ".", 172, cy - h / 2);
        }
    }
    // Right: what the colours mean.
    float x = 600, y = 150;
    Text(cv, Bold(18, Pal::Amber), "New scores", x, y);
    FillRect(cv, x, y + 26, x + 180, y + 27.2f, Pal::Line);
    y += 40;
    const struct {
        uint32_t colour;
        const char *text;
    } keys[3] = {{0xFF6A5A, "player 1"}, {0x00B000, "player 2"}, {0x6FA8FF, "a score both players shared"}};
    for (const auto &k : keys) {
        // The very colours the game writes the new scores in.
        FillRoundRect(cv, x - 1, y + 1, x + 17, y + 19, 5, Hex(0xC0C0C0));
        FillRoundRect(cv, x, y + 2, x + 16, y + 18, 4, Hex(k.colour));
        y = Paragraph(cv, Body(15), k.text, x + 26, y, 160, 20) + 12;
    }
    y += 10;
    TextStyle hint = Body(15);
    hint.color = Pal::Muted;
    y = Paragraph(cv, hint, "Only the ten best scores stay. Can you beat them?", x, y, 180, 20);
    // A trophy: a bowl under its rim, two handles, a stem and a base.
    float tx = 690, ty = 470, rim = ty - 40;
    auto trophy = [&](float px, float py) {
        float bowl = std::max(SdEllipse(px, py, tx, rim, 40, 58), rim - py);
        float lip = SdRoundRect(px, py, tx - 46, rim - 8, tx + 46, rim + 4, 4);
        float h1 = std::max(std::fabs(SdCircle(px, py, tx - 40, rim + 20, 16)) - 4, px - (tx - 36));
        float h2 = std::max(std::fabs(SdCircle(px, py, tx + 40, rim + 20, 16)) - 4, (tx + 36) - px);
        float stem = SdRoundRect(px, py, tx - 8, rim + 50, tx + 8, ty + 58, 3);
        float base = SdRoundRect(px, py, tx - 36, ty + 56, tx + 36, ty + 72, 5);
        return std::min(std::min(std::min(bowl, lip), std::min(h1, h2)), std::min(stem, base));
    };
    Fill(cv, tx - 70, rim - 20, tx + 70, ty + 80, trophy,
         [&](float px, float) { return Solid(Mix(Hex(0xFFE27A), Hex(0xC07A08), Clamp01((px - tx + 45) / 95))); });
    Fill(
        cv, tx - 70, rim - 20, tx + 70, ty + 80,
        [&](float px, float py) {
            float d = trophy(px, py);
            return std::max(d, -d - 1.5f);
        },
        [&](float, float) { return Solid(Hex(0x5A3000)); });
    ty = rim + 34;  // the "1" below sits on the bowl
    TextStyle one = Bold(34, Hex(0x7A4A00));
    one.align = CENTER;
    Text(cv, one, "1", tx, ty - 26);
    Footer(cv, "Press any key to go back to the menu.", 646);
    Save(cv, dir, "highscoretable.bmp");
}

// ---- choosing keys -----------------------------------------------------------------------------------

static void MakeChooseKeyBar(const std::string &dir, int player) {
    Canvas cv = MakeCanvas(800, 80, 3, Pal::Night);
    GradientV(cv, Hex(0x1A2448), Pal::Night);
    Rgb pc = player == 1 ? Pal::Red : Pal::Green;
    FillRect(cv, 0, 0, 800, 3, pc);
    FillRoundRect(cv, 14, 12, 190, 68, 12, Hex(0x05070F));
    StrokeRoundRect(cv, 14, 12, 190, 68, 12, 2, pc);
    DrawSnakePiece(cv, player, 0, 26, 28, 24);
    DrawSnakePiece(cv, player, 4, 50, 28, 24);
    Text(cv, Bold(22, player == 1 ? Hex(0xFF8A7A) : Hex(0x8FE39A)), player == 1 ? "Player 1" : "Player 2", 82, 26);
    Text(cv, Bold(20, Pal::Ink), "Press the key you want for the direction shown.", 210, 14);
    TextStyle sub = Body(15);
    sub.color = Pal::Muted;
    Text(cv, sub,
         player == 1 ? "Four keys for your snake: right, left, up and down. Player 2 chooses next."
                     : "Four keys of your own: right, left, up and down. None of player 1's keys.",
         210, 44);
    Save(cv, dir, player == 1 ? "choosekey1.bmp" : "choosekey2.bmp");
}

static void MakeArrowScreens(const std::string &dir) {
    const char *names[4] = {"arrowright.bmp", "arrowleft.bmp", "arrowup.bmp", "arrowdown.bmp"};
    const char *words[4] = {"RIGHT", "LEFT", "UP", "DOWN"};
    const char *lines[4] = {"Press the key that will steer you to the right.",
                            "Press the key that will steer you to the left.", "Press the key that will steer you up.",
                            "Press the key that will steer you down."};
    for (int d = 0; d < 4; ++d) {
        Canvas cv = MakeCanvas(800, 600, 2, Pal::Navy);
        DrawBackdrop(cv);
        DrawHeading(cv, "Choose your keys", 400, 24, 40);
        TextStyle step = Body(17);
        step.color = Pal::Muted;
        step.align = CENTER;
        Text(cv, step, "Direction " + std::to_string(d + 1) + " of 4", 400, 84);
        FillCircle(cv, 400, 290, 150, Hex(0x05070F), 0.6f);
        Fill(
            cv, 240, 130, 560, 450,
            [](float x, float y) {
                float dd = SdCircle(x, y, 400, 290, 150);
                return std::max(dd, -dd - 3.0f);
            },
            [](float, float) { return Solid(Pal::Line); });
        BigArrow(cv, d, 400, 290, 210);
        TextStyle word = Bold(54, Pal::Ink);
        word.align = CENTER;
        word.outline = 3;
        word.outlineColor = Hex(0x05070F);
        word.shadow = 3;
        Text(cv, word, words[d], 400, 452);
        TextStyle line = Body(19);
        line.align = CENTER;
        Text(cv, line, lines[d], 400, 530);
        TextStyle leave = Body(14);
        leave.color = Pal::Muted;
        leave.align = CENTER;
        Text(cv, leave, "Esc leaves and keeps the keys you had.", 400, 566);
        Save(cv, dir, names[d]);
    }
}

static void MakeFail(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 600, 2, Pal::Navy);
    DrawBackdrop(cv);
    Fill(
        cv, 0, 0, 800, 600, [](float, float) { return -1.0f; },
        [](float x, float y) {
            float d = std::hypot((x - 400) / 800, (y - 250) / 600);
            return Solid(Pal::Red, 0.25f * (1 - Smooth(0.0f, 0.55f, d)));
        });
    DrawKeyCap(cv, "", 320, 130, 160, 150);
    // A red ring with a bar across the key: taken.
    Fill(
        cv, 280, 90, 520, 330,
        [](float x, float y) {
            float ring = std::fabs(SdCircle(x, y, 400, 205, 105)) - 9;
            float bar = SdSegment(x, y, 330, 135, 470, 275, 9);
            return std::min(ring, bar);
        },
        [](float, float) { return Solid(Hex(0xE8302A)); });
    TextStyle big = Bold(44, Hex(0xFF8A7A));
    big.align = CENTER;
    big.outline = 2.5f;
    big.outlineColor = Hex(0x05070F);
    big.shadow = 3;
    Text(cv, big, "You can't steer with that key!", 400, 360);
    TextStyle line = Body(20);
    line.align = CENTER;
    Text(cv, line, "Every direction of both players needs a key of its own,", 400, 440);
    Text(cv, line, "and P (pause) is kept for the game. Choose another key,", 400, 472);
    Text(cv, line, "or press Esc to keep the keys you had.", 400, 504);
    Save(cv, dir, "fail.bmp");
}

// ---- a level that cannot be played ------------------------------------------------------------------------

// The game writes which level, what it lacks and in which mode over the empty band
// (Layout::REFUSED_WORDS_TOP to _BOTTOM).
static void MakeRefusedLevel(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    DrawHeading(cv, "This level can't be played", 400, 28, 44);
    // A small board with walls round it and an empty, crossed-out start for a snake.
    const float x0 = 250, y0 = 104, cell = 20;
    FillRect(cv, x0, y0, x0 + 15 * cell, y0 + 9 * cell, Pal::Black);
    for (int k = 0; k < 15; ++k) {
        DrawWall(cv, 0, x0 + k * cell, y0, cell);
        DrawWall(cv, 0, x0 + k * cell, y0 + 8 * cell, cell);
    }
    for (int k = 1; k < 8; ++k) {
        DrawWall(cv, 1, x0, y0 + k * cell, cell);
        DrawWall(cv, 1, x0 + 14 * cell, y0 + k * cell, cell);
    }
    for (int k = 0; k < 4; ++k) DrawSnakePiece(cv, 1, k == 3 ? 4 : 0, x0 + (2 + k) * cell, y0 + 2 * cell, cell);
    for (int k = 0; k < 4; ++k)
        StrokeRoundRect(cv, x0 + (8 + k) * cell + 2, y0 + 6 * cell + 2, x0 + (9 + k) * cell - 2, y0 + 7 * cell - 2, 3,
                        1.5f, Pal::Muted);
    Fill(
        cv, x0 + 7 * cell, y0 + 3 * cell, x0 + 13 * cell, y0 + 10 * cell,
        [&](float x, float y) {
            float cx = x0 + 10 * cell, cy = y0 + 6.5f * cell;
            float ring = std::fabs(SdCircle(x, y, cx, cy, 48)) - 5;
            float bar = SdSegment(x, y, cx - 34, cy - 34, cx + 34, cy + 34, 5);
            return std::min(ring, bar);
        },
        [](float, float) { return Solid(Hex(0xE8302A)); });
    TextStyle hint = Body(16);
    hint.color = Pal::Muted;
    hint.align = CENTER;
    Text(cv, hint, "The Level maker draws the starts: it can mend your custom level.", 400, 590);
    Footer(cv, "Press any key to go back to the menu.", 630);
    Save(cv, dir, "refusedlevel.bmp");
}

// ---- a save file that failed while the game ran -----------------------------------------------------------

// The game writes the file, what went wrong and that the file is as it was over the empty band
// (Layout::REFUSED_WORDS_TOP to _BOTTOM), as on the refused level.
static void MakeSaveFailed(const std::string &dir) {
    Canvas cv = MakeCanvas(800, 680, 2, Pal::Navy);
    DrawBackdrop(cv);
    DrawHeading(cv, "A save file could not be used", 400, 28, 40);
    // A sheet of paper with a folded corner and lines of writing, crossed out.
    const float x0 = 330, y0 = 110, w = 140, h = 180;
    Fill(
        cv, x0, y0, x0 + w, y0 + h,
        [&](float x, float y) {
            float sheet = SdRoundRect(x, y, x0 + 4, y0 + 4, x0 + w - 4, y0 + h - 4, 6);
            float corner = ((x - (x0 + w - 40)) - (y - y0 - 4)) * 0.7071f;  // the folded corner cut off
            return std::max(sheet, corner);
        },
        [](float, float) { return Solid(Hex(0xE8ECF4)); });
    for (int k = 0; k < 6; ++k)
        FillRect(cv, x0 + 20, y0 + 56 + k * 18, x0 + w - 24 - (k % 3) * 14, y0 + 60 + k * 18, Pal::Muted);
    Fill(
        cv, x0 - 30, y0 + 20, x0 + w + 30, y0 + h + 10,
        [&](float x, float y) {
            float cx = x0 + w / 2, cy = y0 + h / 2 + 10;
            float ring = std::fabs(SdCircle(x, y, cx, cy, 70)) - 6;
            float bar = SdSegment(x, y, cx - 50, cy - 50, cx + 50, cy + 50, 6);
            return std::min(ring, bar);
        },
        [](float, float) { return Solid(Hex(0xE8302A)); });
    Footer(cv, "Press any key to go back to the menu.", 630);
    Save(cv, dir, "savefailed.bmp");
}

// ---- the set -------------------------------------------------------------------------------------------

void MakeScreenPictures(const std::string &dir) {
    MakeHelp(dir);
    MakeLevelMakerHelp(dir);
    MakeGameOver(dir, "gameover.bmp", 1, false);
    MakeGameOver(dir, "gameover2.bmp", 2, false);
    MakeGameOver(dir, "gameoverboth.bmp", 3, false);
    MakeGameOver(dir, "gameoverknurf.bmp", 1, true);
    MakeHighscoreTable(dir);
    MakeChooseKeyBar(dir, 1);
    MakeChooseKeyBar(dir, 2);
    MakeArrowScreens(dir);
    MakeFail(dir);
    MakeRefusedLevel(dir);
    MakeSaveFailed(dir);
}

}  // namespace Pictures
