// The playing field: the empty board, the snakes' edge crossing, the border wall and the score panel
// (pixels in a window under the dummy video driver).
#include <gtest/gtest.h>

#include "support/gameboard.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"

using namespace GameBoard;

namespace {

class Field : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    void SetUp() override { SetMode(Mode::ONE_PLAYER, 2); }
};

TEST_F(Field, EmptyBoardSetsRectanglesAndFreesEveryCellButKeepsKinds) {
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            Veld[r][k] = BlokRec{1, 2, 3, 4, 0, MUUR, (r + k) % 2 ? GIFTIG : SNELLER, true, true};
    VensterInBlokken();
    const BlokRec &last = Veld[30][40];
    EXPECT_EQ((std::vector<uint32_t>{last.x1, last.x2, last.y1, last.y2}), (std::vector<uint32_t>{780, 800, 580, 600}));
    EXPECT_EQ(Veld[12][7].x1, 120u);
    EXPECT_EQ(Veld[12][7].y1, 220u);
    EXPECT_EQ(Count(ONBEZET), 1200);
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            ASSERT_FALSE(Veld[r][k].BeginPosSlang || Veld[r][k].BeginPosSlang2);
            ASSERT_EQ(Veld[r][k].soortblokje, (r + k) % 2 ? GIFTIG : SNELLER) << "only the level loader resets kinds";
        }
}

TEST_F(Field, SnakesCrossOnlyTheEdgeTheyLeave) {
    struct Case {
        uint32_t r, k;
        PijlEn d;
        bool crosses;
        uint32_t r2, k2;  // after DoorMuur and the step
    };
    for (Case c : {Case{12, 1, LINKS, true, 12, 40}, Case{1, 7, BOVEN, true, 30, 7}, Case{30, 9, ONDER, true, 1, 9},
                   Case{3, 40, RECHTS, true, 3, 1}, Case{12, 40, BOVEN, false, 11, 40},
                   Case{30, 5, LINKS, false, 30, 4}, Case{1, 1, BOVEN, true, 30, 1}, Case{1, 1, LINKS, true, 1, 40}}) {
        uint32_t r = c.r, k = c.k;
        EXPECT_EQ(DoorMuur(c.d, r, k), c.crosses) << c.r << "," << c.k << " going " << (int)c.d;
        VeranderRijKolom(r, k, c.d);
        EXPECT_EQ(Cell(r, k), Cell(c.r2, c.k2)) << c.r << "," << c.k << " going " << (int)c.d;
    }
}

TEST_F(Field, BorderWallAndScorePanelAsDrawn) {
    const uint32_t HOR = 0x0000C8, VER = 0x00C800, HUD = 0x402010;
    PlayFolder::WriteBmp("bitmap/muurhor.bmp", 20, 20, HOR);
    PlayFolder::WriteBmp("bitmap/muurver.bmp", 20, 20, VER);
    PlayFolder::WriteBmp("bitmap/hud.bmp", 800, 80, HUD);
    ASSERT_TRUE(GameWindow::Open());

    VensterInBlokken();
    Veld[5][5].bezet = SLANG;
    Muur();
    EXPECT_EQ(Count(MUUR), 136);
    EXPECT_EQ(Veld[5][5].bezet, SLANG) << "the inside is left as it was";
    EXPECT_EQ(Wimdows::BufferPixel(0, 0), HOR) << "corners take the horizontal piece";
    EXPECT_EQ(Wimdows::BufferPixel(790, 590), HOR);
    EXPECT_EQ(Wimdows::BufferPixel(410, 10), HOR);
    EXPECT_EQ(Wimdows::BufferPixel(10, 310), VER);
    EXPECT_EQ(Wimdows::BufferPixel(795, 25), VER);
    EXPECT_EQ(Wimdows::BufferPixel(25, 25), 0u);
    // A cell painted over leaves the walls beside it whole.
    EraseCell(Veld[29][39]);
    EXPECT_EQ(Wimdows::BufferPixel(780, 570), VER);
    EXPECT_EQ(Wimdows::BufferPixel(770, 580), HOR);

    auto anyText = [&](int x0, int x1) {
        for (int y = 602; y < 680; y++)
            for (int x = x0; x <= x1; x++)
                if (Wimdows::BufferPixel(x, y) != HUD) return true;
        return false;
    };
    BitmapsRec bitmaps{};
    bitmaps.hud = Wimdows::LoadBitmap("bitmap/hud.bmp", 800, 80);
    Score[1] = 1200;
    Score[2] = 800;
    SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
    TekenScorebord(Spel, bitmaps);
    EXPECT_EQ(Wimdows::BufferPixel(0, Layout::PANEL_Y - 1), 0u) << "the panel starts at row Layout::PANEL_Y";
    const int32_t x1 = Layout::ScoreX(1), x2 = Layout::ScoreX(2);
    EXPECT_TRUE(anyText(x1, x1 + 47)) << "player 1's score at x = " << x1;
    EXPECT_FALSE(anyText(100, x1 - 1));
    EXPECT_FALSE(anyText(250, Layout::KNURF_SCORE_X - 1)) << "the knurf player's score is beside its knurf";
    EXPECT_TRUE(anyText(Layout::KNURF_SCORE_X, Layout::KNURF_SCORE_X + 30));
    SetMode(Mode::TWO_SNAKES, 2);
    TekenScorebord(Spel, bitmaps);
    EXPECT_TRUE(anyText(x2, x2 + 54)) << "player 2's score at x = " << x2;
    EXPECT_FALSE(anyText(250, x2 - 1));

    // The plates of the players in play only: the second is the knurf player's in snake against knurf, the
    // computer's in snake against the computer.
    const uint32_t PLATES[4] = {0x305060, 0x306050, 0x603050, 0x506030};
    const char *files[4] = {"bitmap/plate1.bmp", "bitmap/plate2.bmp", "bitmap/plateknurf.bmp",
                            "bitmap/platecomputer.bmp"};
    for (int i = 0; i < 4; i++) {
        PlayFolder::WriteBmp(files[i], 128, 66, PLATES[i]);
        bitmaps.platen[i] = Wimdows::LoadBitmap(files[i], 128, 66);
    }
    const struct {
        Mode mode;
        uint32_t players, first, second;
    } cases[] = {{Mode::ONE_PLAYER, 1, PLATES[0], HUD},
                 {Mode::TWO_SNAKES, 2, PLATES[0], PLATES[1]},
                 {Mode::SNAKE_AGAINST_KNURF, 2, PLATES[0], PLATES[2]},
                 {Mode::SNAKE_AGAINST_COMPUTER, 2, PLATES[0], PLATES[3]}};
    for (const auto &c : cases) {
        SetMode(c.mode, 2);
        TekenScorebord(Spel, bitmaps);
        EXPECT_EQ(Wimdows::BufferPixel(126, 611), c.first) << "players " << c.players;
        EXPECT_EQ(Wimdows::BufferPixel(259, 611), c.second) << "players " << c.players;
        EXPECT_EQ(Wimdows::BufferPixel(123, 611), HUD);
        EXPECT_EQ(Wimdows::BufferPixel(385, 611), HUD);
    }
    Score[1] = Score[2] = 0;
    Wimdows::KillWindow();
}

}  // namespace
