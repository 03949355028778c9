// How the generated pictures look in use: a sample game screen composed through the window layer and the
// game's own snake drawing (saved as build/screenshots/sample-game.png for a person to look at), and the
// properties the screens rely on: seamless snake joins, eyes that look ahead, players and knurfs told apart,
// plain dark areas where the game writes numbers, and button columns left free.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_image.h>

#include "game/SnakePieces.h"
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

const std::string BITMAPS = std::string(KWIBBEL_DATA_DIR) + "/bitmap/";

// ---- reading our pictures and writing a PNG ------------------------------------------------------------

struct Picture {
    int w = 0, h = 0;
    std::vector<uint32_t> px;  // 0x00RRGGBB, row by row from the top
    uint32_t At(int x, int y) const { return px[(size_t)y * w + x]; }
};

// Reads a generated picture (named as the game asks for it, "x.bmp") from the PNG it is stored as.
Picture ReadPicture(const std::string &name) {
    Picture p;
    SDL_Surface *s = IMG_Load((BITMAPS + name.substr(0, name.size() - 4) + ".png").c_str());
    SDL_Surface *c = s ? SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
    SDL_FreeSurface(s);
    if (!c) return p;
    p.w = c->w;
    p.h = c->h;
    p.px.resize((size_t)p.w * p.h);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x)
            p.px[(size_t)y * p.w + x] =
                ((const uint32_t *)((const uint8_t *)c->pixels + (size_t)y * c->pitch))[x] & 0xFFFFFF;
    SDL_FreeSurface(c);
    return p;
}

int R(uint32_t c) { return (c >> 16) & 255; }
int G(uint32_t c) { return (c >> 8) & 255; }
int B(uint32_t c) { return c & 255; }
int Diff(uint32_t a, uint32_t b) { return std::abs(R(a) - R(b)) + std::abs(G(a) - G(b)) + std::abs(B(a) - B(b)); }
int Luma(uint32_t c) { return (R(c) * 3 + G(c) * 6 + B(c)) / 10; }

uint32_t Crc(const uint8_t *d, size_t n, uint32_t c = 0xFFFFFFFFu) {
    for (size_t i = 0; i < n; ++i) {
        c ^= d[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return c;
}

// A PNG of stored (uncompressed) deflate blocks: big, but needs no library.
bool WritePng(const std::string &path, int w, int h, const std::vector<uint32_t> &rgb) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            uint32_t c = rgb[(size_t)y * w + x];
            raw.push_back((uint8_t)R(c));
            raw.push_back((uint8_t)G(c));
            raw.push_back((uint8_t)B(c));
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    uint32_t a = 1, bsum = 0;
    for (uint8_t v : raw) {
        a = (a + v) % 65521;
        bsum = (bsum + a) % 65521;
    }
    for (size_t at = 0; at < raw.size(); at += 65535) {
        size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n == raw.size() ? 1 : 0);
        z.push_back(n & 255);
        z.push_back(n >> 8);
        z.push_back(~n & 255);
        z.push_back((~n >> 8) & 255);
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    }
    uint32_t adler = bsum << 16 | a;
    for (int k = 3; k >= 0; --k) z.push_back((adler >> (8 * k)) & 255);
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    auto chunk = [&](const char *type, const std::vector<uint8_t> &data) {
        uint32_t n = (uint32_t)data.size();
        for (int k = 3; k >= 0; --k) out.push_back((n >> (8 * k)) & 255);
        std::vector<uint8_t> td(type, type + 4);
        td.insert(td.end(), data.begin(), data.end());
        out.insert(out.end(), td.begin(), td.end());
        uint32_t crc = ~Crc(td.data(), td.size());
        for (int k = 3; k >= 0; --k) out.push_back((crc >> (8 * k)) & 255);
    };
    std::vector<uint8_t> ihdr;
    for (uint32_t v : {(uint32_t)w, (uint32_t)h})
        for (int k = 3; k >= 0; --k) ihdr.push_back((v >> (8 * k)) & 255);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk("IHDR", ihdr);
    chunk("IDAT", z);
    chunk("IEND", {});
    std::ofstream f(path, std::ios::binary);
    f.write((const char *)out.data(), (std::streamsize)out.size());
    return (bool)f;
}

// ---- the sample game screen --------------------------------------------------------------------------------

struct Cell {
    int rij, kolom;
};

// A snake as cells from its tail to its head, each a neighbour of the one before.
std::vector<Cell> Path(Cell start, const std::vector<std::pair<PijlEn, int>> &runs) {
    std::vector<Cell> cells = {start};
    for (auto [dir, n] : runs)
        for (int i = 0; i < n; ++i) {
            Cell c = cells.back();
            if (dir == RECHTS) c.kolom++;
            if (dir == LINKS) c.kolom--;
            if (dir == BOVEN) c.rij--;
            if (dir == ONDER) c.rij++;
            cells.push_back(c);
        }
    return cells;
}

PijlEn StepDir(Cell a, Cell b) {
    if (b.kolom > a.kolom) return RECHTS;
    if (b.kolom < a.kolom) return LINKS;
    return b.rij < a.rij ? BOVEN : ONDER;
}

class SampleScreen : public ::testing::Test {
protected:
    BitmapsRec bitmaps{};

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        Wimdows::InitWimdows();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE);
        Wimdows::SetBuffering(true);
        for (uint32_t i = 0; i < SnakePieces::COUNT; ++i) {
            bitmaps.speler1[i] = Wimdows::LoadBitmap((BITMAPS + SnakePieces::FileName(1, i)).c_str(), 20, 20);
            bitmaps.speler2[i] = Wimdows::LoadBitmap((BITMAPS + SnakePieces::FileName(2, i)).c_str(), 20, 20);
        }
        const char *knurfs[4] = {"knurfs.bmp", "knurfsgeel.bmp", "knurfsblauw.bmp", "knurfsgroen.bmp"};
        for (int i = 0; i < 4; ++i) bitmaps.blokjes[i] = Wimdows::LoadBitmap((BITMAPS + knurfs[i]).c_str(), 20, 20);
        bitmaps.hud = Wimdows::LoadBitmap((BITMAPS + "hud.bmp").c_str(), 800, 80);
        const char *plates[3] = {"plate1.bmp", "plate2.bmp", "plateknurf.bmp"};
        for (int i = 0; i < 3; ++i) bitmaps.platen[i] = Wimdows::LoadBitmap((BITMAPS + plates[i]).c_str(), 128, 66);
        bitmaps.muur[0] = Wimdows::LoadBitmap((BITMAPS + "muurhor.bmp").c_str(), 20, 20);
        bitmaps.muur[1] = Wimdows::LoadBitmap((BITMAPS + "muurver.bmp").c_str(), 20, 20);
    }

    void TearDown() override { Wimdows::KillWindow(); }

    // Draws the snake with the game's own piece choice, the head facing its last step.
    void DrawSnake(const std::vector<Cell> &cells, const ArrayCard set) {
        for (size_t i = 0; i < cells.size(); ++i) {
            bool head = i + 1 == cells.size();
            PijlEn left = head ? StepDir(cells[i - 1], cells[i]) : StepDir(cells[i], cells[i + 1]);
            PijlEn entered = (i == 0 || head) ? left : StepDir(cells[i - 1], cells[i]);
            uint32_t piece = SnakePieces::For(entered, left, head);
            if (piece != SnakePieces::NONE)
                Wimdows::DrawBitmap(set[piece], 20 * ((int32_t)cells[i].kolom - 1), 20 * ((int32_t)cells[i].rij - 1));
        }
    }

    // The largest colour step across the edge shared by two neighbouring snake cells, along the tube.
    static int SeamStep(const std::vector<uint32_t> &screen, Cell a, Cell b) {
        int worst = 0;
        int ax = 20 * (a.kolom - 1), ay = 20 * (a.rij - 1);
        for (int k = 4; k < 16; ++k) {
            uint32_t p, q;
            PijlEn d = StepDir(a, b);
            if (d == RECHTS) {
                p = screen[(ay + k) * 800 + ax + 19];
                q = screen[(ay + k) * 800 + ax + 20];
            } else if (d == LINKS) {
                p = screen[(ay + k) * 800 + ax];
                q = screen[(ay + k) * 800 + ax - 1];
            } else if (d == ONDER) {
                p = screen[(ay + 19) * 800 + ax + k];
                q = screen[(ay + 20) * 800 + ax + k];
            } else {
                p = screen[ay * 800 + ax + k];
                q = screen[(ay - 1) * 800 + ax + k];
            }
            worst = std::max(worst, Diff(p, q));
        }
        return worst;
    }
};

TEST_F(SampleScreen, AGameScreenWithBothSnakesAllKnurfsAndThePanel) {
    for (uint32_t h : bitmaps.speler1) ASSERT_NE(h, 0u);
    for (uint32_t h : bitmaps.speler2) ASSERT_NE(h, 0u);
    for (uint32_t h : bitmaps.blokjes) ASSERT_NE(h, 0u);
    ASSERT_NE(bitmaps.hud, 0u);

    Wimdows::ClearScreen();
    for (int r = 1; r <= 30; ++r)
        for (int c = 1; c <= 40; ++c) {
            bool edgeRow = r == 1 || r == 30, edgeCol = c == 1 || c == 40;
            if (edgeRow || edgeCol) Wimdows::DrawBitmap(bitmaps.muur[edgeRow ? 0 : 1], 20 * (c - 1), 20 * (r - 1));
        }
    // Player 1 turns every one of the eight ways the game knows; player 2 comes the other way.
    std::vector<Cell> one = Path({5, 3}, {{RECHTS, 9},
                                          {ONDER, 4},
                                          {LINKS, 6},
                                          {ONDER, 3},
                                          {RECHTS, 8},
                                          {BOVEN, 5},
                                          {LINKS, 1},
                                          {BOVEN, 1},
                                          {RECHTS, 3}});
    std::vector<Cell> two = Path({24, 36}, {{LINKS, 8}, {BOVEN, 5}, {LINKS, 4}, {ONDER, 2}, {LINKS, 3}});
    DrawSnake(one, bitmaps.speler1);
    DrawSnake(two, bitmaps.speler2);
    const Cell knurfs[4] = {{6, 20}, {15, 24}, {9, 30}, {22, 10}};
    for (int i = 0; i < 4; ++i)
        Wimdows::DrawBitmap(bitmaps.blokjes[i], 20 * (knurfs[i].kolom - 1), 20 * (knurfs[i].rij - 1));
    Wimdows::DrawBitmap(bitmaps.hud, 0, Layout::PANEL_Y);
    Wimdows::DrawBitmap(bitmaps.platen[0], Layout::PLATE_X[0], Layout::PLATE_Y);
    Wimdows::DrawBitmap(bitmaps.platen[1], Layout::PLATE_X[1], Layout::PLATE_Y);
    Wimdows::SetFont(0, 0xC0C0C0);
    Wimdows::TextInt(1200, Layout::ScoreX(1), Layout::SCORE_Y);
    Wimdows::TextInt(800, Layout::ScoreX(2), Layout::SCORE_Y);
    Wimdows::UpdateWindow();

    std::vector<uint32_t> screen(800 * 680);
    for (int y = 0; y < 680; ++y)
        for (int x = 0; x < 800; ++x) {
            uint32_t c = Wimdows::ScreenPixel(x, y);  // 0x00BBGGRR
            screen[(size_t)y * 800 + x] = (c & 255) << 16 | (c & 0xFF00) | ((c >> 16) & 255);
        }
    std::string dir = std::string(KWIBBEL_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);
    ASSERT_TRUE(WritePng(dir + "/sample-game.png", 800, 680, screen));

    // Every joint of both snakes is seamless: no colour step across the shared edge larger than the
    // shading inside a piece.
    for (const std::vector<Cell> *snake : {&one, &two})
        for (size_t i = 1; i < snake->size(); ++i)
            EXPECT_LE(SeamStep(screen, (*snake)[i - 1], (*snake)[i]), 90)
                << "seam between cells " << (*snake)[i - 1].rij << "," << (*snake)[i - 1].kolom << " and "
                << (*snake)[i].rij << "," << (*snake)[i].kolom;
    // The scores stand out on the panel.
    int bright = 0;
    for (int y = Layout::SCORE_Y; y < Layout::SCORE_Y + 26; ++y)
        for (int x = Layout::ScoreX(1); x < Layout::ScoreX(1) + 47; ++x)
            bright += Luma(screen[(size_t)y * 800 + x]) > 150;
    EXPECT_GT(bright, 40) << "the score 1200 is not legible on the panel";
}

TEST_F(SampleScreen, TheHighscoreNumbersSitOnTheirRows) {
    uint32_t table = Wimdows::LoadBitmap((BITMAPS + "highscoretable.bmp").c_str(), 800, 680);
    ASSERT_NE(table, 0u);
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(table, 0, 0);
    // As the game writes them, with one new score of each player and a shared one.
    const uint32_t colours[10] = {0xC0C0C0, 0xB0,     0xC0C0C0, 0xB000,   0xB00000,
                                  0xB00000, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0};
    const int32_t scores[10] = {5000, 4200, 4000, 3000, 2500, 2500, 2000, 1500, 1000, 600};
    for (int i = 1; i <= 10; ++i) {
        Wimdows::SetFont(1, colours[i - 1]);
        Wimdows::TextInt(scores[i - 1], Layout::HIGHSCORE_X, Layout::HighscoreY(i));
    }
    Wimdows::UpdateWindow();
    std::vector<uint32_t> screen(800 * 680);
    for (int y = 0; y < 680; ++y)
        for (int x = 0; x < 800; ++x) {
            uint32_t c = Wimdows::ScreenPixel(x, y);
            screen[(size_t)y * 800 + x] = (c & 255) << 16 | (c & 0xFF00) | ((c >> 16) & 255);
        }
    std::string dir = std::string(KWIBBEL_BINARY_DIR) + "/screenshots";
    mkdir(dir.c_str(), 0755);
    ASSERT_TRUE(WritePng(dir + "/highscores.png", 800, 680, screen));
    // Each number (what differs from the bare table) lies inside the black plate of its row, which runs
    // from 2 above the number's top to 36 below it.
    Picture bare = ReadPicture("highscoretable.bmp");
    ASSERT_EQ(bare.w, 800);
    for (int i = 1; i <= 10; ++i) {
        int top = 1000, bottom = -1;
        for (int y = Layout::HighscoreY(i) - 12; y < Layout::HighscoreY(i) + 52 && y < 680; ++y)
            for (int x = 200; x < 320; ++x)
                if (Diff(screen[(size_t)y * 800 + x], bare.At(x, y)) > 60) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(bottom, 0) << "rank " << i << ": no number to be seen";
        EXPECT_GE(top, 52 * i + 70) << "rank " << i;
        EXPECT_LE(bottom, 52 * i + 108) << "rank " << i;
    }
}

// ---- the pictures' own properties -----------------------------------------------------------------------

Picture Piece(int player, int i) { return ReadPicture(SnakePieces::FileName((uint32_t)player, (uint32_t)i)); }

TEST(GeneratedPictures, EverySnakePieceJoinsEveryPieceItCanMeet) {
    // The sides each piece opens to: right, left, up, down.
    const bool opens[10][4] = {{1, 1, 0, 0}, {0, 1, 0, 1}, {1, 0, 0, 1}, {0, 0, 0, 1}, {0, 1, 0, 0},
                               {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 1, 1, 0}, {1, 0, 1, 0}, {0, 0, 1, 1}};
    for (int player = 1; player <= 2; ++player) {
        Picture p[10];
        for (int i = 0; i < 10; ++i) {
            p[i] = Piece(player, i);
            ASSERT_EQ(p[i].w, 20);
        }
        for (int a = 0; a < 10; ++a)
            for (int b = 0; b < 10; ++b) {
                int worst = -1;
                if (opens[a][0] && opens[b][1]) {  // a on the left of b
                    worst = 0;
                    for (int y = 0; y < 20; ++y) worst = std::max(worst, Diff(p[a].At(19, y), p[b].At(0, y)));
                } else if (opens[a][3] && opens[b][2]) {  // a above b
                    worst = 0;
                    for (int x = 0; x < 20; ++x) worst = std::max(worst, Diff(p[a].At(x, 19), p[b].At(x, 0)));
                }
                // A mismatch of width or colour shows as a step of 200 and more; the smoothed rim stays well under 80.
                if (worst >= 0) {
                    EXPECT_LE(worst, 80) << "player " << player << ": " << SnakePieces::NAMES[a] << " next to "
                                         << SnakePieces::NAMES[b];
                }
            }
    }
}

TEST(GeneratedPictures, HeadsLookTheWayTheyGo) {
    // Index 3 moves up, 4 right, 5 left, 6 down; the eyes (near-white pixels) sit in the front half.
    for (int player = 1; player <= 2; ++player)
        for (int i = 3; i <= 6; ++i) {
            Picture p = Piece(player, i);
            double sx = 0, sy = 0;
            int n = 0;
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 20; ++x)
                    if (R(p.At(x, y)) > 200 && G(p.At(x, y)) > 200 && B(p.At(x, y)) > 180) {
                        sx += x;
                        sy += y;
                        ++n;
                    }
            ASSERT_GT(n, 2) << SnakePieces::NAMES[i] << ": no eyes";
            sx /= n;
            sy /= n;
            if (i == 3) {
                EXPECT_LT(sy, 9.5) << "player " << player << " head going up";
            } else if (i == 4) {
                EXPECT_GT(sx, 9.5) << "player " << player << " head going right";
            } else if (i == 5) {
                EXPECT_LT(sx, 9.5) << "player " << player << " head going left";
            } else {
                EXPECT_GT(sy, 9.5) << "player " << player << " head going down";
            }
        }
}

// Mean colour of the pixels that are not background black.
void MeanColour(const Picture &p, double &r, double &g, double &b) {
    r = g = b = 0;
    int n = 0;
    for (uint32_t c : p.px)
        if (Luma(c) > 30) {
            r += R(c);
            g += G(c);
            b += B(c);
            ++n;
        }
    if (n) {
        r /= n;
        g /= n;
        b /= n;
    }
}

TEST(GeneratedPictures, PlayersAndKnurfsAreToldApartAtAGlance) {
    double r1, g1, b1, r2, g2, b2;
    MeanColour(Piece(1, 0), r1, g1, b1);
    MeanColour(Piece(2, 0), r2, g2, b2);
    EXPECT_GT(r1, g1 + 60) << "player 1's snake is red";
    EXPECT_GT(g2, r2 + 60) << "player 2's snake is green";
    const char *knurfs[4] = {"knurfs.bmp", "knurfsgeel.bmp", "knurfsblauw.bmp", "knurfsgroen.bmp"};
    double m[4][3];
    for (int i = 0; i < 4; ++i) MeanColour(ReadPicture(knurfs[i]), m[i][0], m[i][1], m[i][2]);
    EXPECT_GT(m[1][0] + m[1][1], 2.5 * m[1][2]) << "the faster knurf is yellow";
    EXPECT_GT(m[2][2], m[2][0] + 60) << "the poisonous knurf is blue";
    EXPECT_GT(m[3][1], m[3][0] + 40) << "the steered knurf is green";
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            double d = std::fabs(m[i][0] - m[j][0]) + std::fabs(m[i][1] - m[j][1]) + std::fabs(m[i][2] - m[j][2]);
            EXPECT_GT(d, 90) << knurfs[i] << " and " << knurfs[j] << " look alike";
        }
}

TEST(GeneratedPictures, NumbersAreWrittenOnPlainDarkAreas) {
    // Highscore rank i: where the game writes it, about Layout::HIGHSCORE_TEXT_HEIGHT pixels high.
    Picture table = ReadPicture("highscoretable.bmp");
    ASSERT_EQ(table.w, 800);
    for (int i = 1; i <= 10; ++i)
        for (int y = Layout::HighscoreY(i); y < Layout::HighscoreY(i) + Layout::HIGHSCORE_TEXT_HEIGHT; ++y)
            for (int x = Layout::HIGHSCORE_X - 2; x < 500; ++x)
                ASSERT_LT(Luma(table.At(x, y)), 20) << "rank " << i << " at " << x << "," << y;
    // The score plates, drawn at (Layout::PLATE_X[p], Layout::PLATE_Y): numbers at (Layout::ScoreX(p),
    // Layout::SCORE_Y) on the window (9 and 31 on a plate), 22 pixels bold.
    for (const char *plate : {"plate1.bmp", "plate2.bmp", "platecomputer.bmp"}) {
        Picture p = ReadPicture(plate);
        ASSERT_EQ(p.w, Layout::PLATE_WIDTH) << plate;
        ASSERT_EQ(p.h, Layout::PLATE_HEIGHT) << plate;
        for (int y = 30; y < 58; ++y)
            for (int x = 9; x < 119; ++x) ASSERT_LT(Luma(p.At(x, y)), 20) << plate << " at " << x << "," << y;
    }
    // The knurf player's: its points under its job, in the small font; the job ends inside the frame.
    Picture k = ReadPicture("plateknurf.bmp");
    const int kx = Layout::KNURF_SCORE_X - Layout::PLATE_X[1], ky = Layout::KNURF_SCORE_Y - Layout::PLATE_Y;
    for (int y = 20; y < ky + 17; ++y)
        for (int x = y < ky ? 120 : kx; x < 124; ++x) ASSERT_LT(Luma(k.At(x, y)), 20) << "at " << x << "," << y;
}

TEST(GeneratedPictures, BackgroundsLeaveTheButtonColumnToTheButtons) {
    // Buttons stand at x = 100 with tops at 75 .. 500; the widest is 280 and the lowest ends at 560. The
    // button pictures' corners carry the colour of the panel behind them.
    Picture button = ReadPicture("play1.bmp");
    ASSERT_GT(button.w, 0);
    uint32_t panel = button.At(0, 0);
    for (const char *bg : {"backgroundmenu.bmp", "slotmenubackground.bmp"}) {
        Picture p = ReadPicture(bg);
        ASSERT_EQ(p.w, 800) << bg;
        for (int y = 75; y < 560; ++y)
            for (int x = 100; x < 380; ++x) ASSERT_LE(Diff(p.At(x, y), panel), 3) << bg << " at " << x << "," << y;
    }
    for (const char *b : {"slot1.bmp", "previous1.bmp", "diff1.bmp", "sp1.bmp"})
        EXPECT_LE(Diff(ReadPicture(b).At(0, 0), panel), 3) << b;
}

TEST(GeneratedPictures, MouseOverPicturesAreClearlyDifferent) {
    const char *pairs[][2] = {
        {"play1.bmp", "play2.bmp"},  {"quit1.bmp", "quit2.bmp"},  {"slot1.bmp", "slot12.bmp"},
        {"slot4.bmp", "slot42.bmp"}, {"slot5.bmp", "slot52.bmp"}, {"previous1.bmp", "previous2.bmp"},
        {"easy1.bmp", "easy2.bmp"},  {"sp1.bmp", "sp2.bmp"},      {"controls1.bmp", "controls2.bmp"}};
    for (auto &pr : pairs) {
        Picture a = ReadPicture(pr[0]), b = ReadPicture(pr[1]);
        ASSERT_EQ(a.px.size(), b.px.size()) << pr[0];
        double sum = 0;
        for (size_t i = 0; i < a.px.size(); ++i) sum += Diff(a.px[i], b.px[i]);
        EXPECT_GT(sum / a.px.size(), 100) << pr[0] << " and " << pr[1] << " look alike";
    }
}

}  // namespace
