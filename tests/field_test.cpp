// The playing field: the empty board, the one-cell step and the snakes' edge crossing, freeing a tail
// cell, the border wall, and the score panel (pixels in a window under the dummy video driver).
#include <gtest/gtest.h>

#include "game/SnakeProcedures.h"
#include "support/gameboard.h"
#include "support/playfolder.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;
using namespace GameBoard;

namespace {

class Field : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    void SetUp() override { SetMode(Mode::ONE_PLAYER, 2); }
};

TEST_F(Field, EmptyBoardGivesEveryCellItsRectangleAndFreesIt)
{
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            Veld[r][k].bezet = MUUR;
            Veld[r][k].BeginPosSlang = true;
            Veld[r][k].BeginPosSlang2 = true;
            Veld[r][k].soortblokje = (r + k) % 2 ? GIFTIG : SNELLER;
        }
    VensterInBlokken();

    EXPECT_EQ(Veld[30][40].x1, 780u);
    EXPECT_EQ(Veld[30][40].x2, 800u);
    EXPECT_EQ(Veld[30][40].y1, 580u);
    EXPECT_EQ(Veld[30][40].y2, 600u);
    EXPECT_EQ(Veld[1][1].x1, 0u);
    EXPECT_EQ(Veld[1][1].y1, 0u);
    EXPECT_EQ(Veld[12][7].x1, 120u);
    EXPECT_EQ(Veld[12][7].y1, 220u);
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            const BlokRec &c = Veld[r][k];
            ASSERT_EQ(c.bezet, ONBEZET) << "cell " << r << "," << k;
            ASSERT_FALSE(c.BeginPosSlang);
            ASSERT_FALSE(c.BeginPosSlang2);
            ASSERT_EQ(c.x2, c.x1 + 20);
            ASSERT_EQ(c.y2, c.y1 + 20);
            // The kind of knurf block is the level loader's to reset, not the empty board's.
            ASSERT_EQ(c.soortblokje, (r + k) % 2 ? GIFTIG : SNELLER) << "cell " << r << "," << k;
        }
}

TEST_F(Field, OneCellStepChecksNoBounds)
{
    uint32_t r = 5, k = 5;
    VeranderRijKolom(r, k, LINKS);
    EXPECT_EQ(k, 4u);
    VeranderRijKolom(r, k, RECHTS);
    VeranderRijKolom(r, k, RECHTS);
    EXPECT_EQ(k, 6u);
    VeranderRijKolom(r, k, BOVEN);
    EXPECT_EQ(r, 4u);
    VeranderRijKolom(r, k, ONDER);
    VeranderRijKolom(r, k, ONDER);
    EXPECT_EQ(r, 6u);
    r = 30;
    VeranderRijKolom(r, k, ONDER);
    EXPECT_EQ(r, 31u);
}

// DoorMuur followed by the step in the same direction, as a snake moves.
RijEnKolomRec MoveAcross(uint32_t r, uint32_t k, PijlEn d, bool &crossed)
{
    crossed = DoorMuur(d, r, k);
    VeranderRijKolom(r, k, d);
    return RijEnKolomRec{r, k};
}

TEST_F(Field, SnakesCrossTheEdgeToTheOppositeEdge)
{
    bool crossed;
    RijEnKolomRec p = MoveAcross(12, 1, LINKS, crossed);
    EXPECT_TRUE(crossed);
    EXPECT_EQ(p.rij, 12u);
    EXPECT_EQ(p.kolom, 40u);

    p = MoveAcross(1, 7, BOVEN, crossed);
    EXPECT_TRUE(crossed);
    EXPECT_EQ(p.rij, 30u);
    EXPECT_EQ(p.kolom, 7u);

    p = MoveAcross(30, 9, ONDER, crossed);
    EXPECT_TRUE(crossed);
    EXPECT_EQ(p.rij, 1u);

    p = MoveAcross(3, 40, RECHTS, crossed);
    EXPECT_TRUE(crossed);
    EXPECT_EQ(p.kolom, 1u);

    p = MoveAcross(12, 40, BOVEN, crossed);
    EXPECT_FALSE(crossed);
    EXPECT_EQ(p.rij, 11u);
    EXPECT_EQ(p.kolom, 40u);
}

TEST_F(Field, OnlyAStepThatLeavesTheBoardCrosses)
{
    uint32_t r = 30, k = 5;
    EXPECT_FALSE(DoorMuur(LINKS, r, k));
    EXPECT_EQ(r, 30u);
    EXPECT_EQ(k, 5u);
    r = 15, k = 1;
    EXPECT_FALSE(DoorMuur(BOVEN, r, k));
    EXPECT_FALSE(DoorMuur(RECHTS, r, k));
    EXPECT_EQ(r, 15u);
    EXPECT_EQ(k, 1u);

    // At a corner the direction decides which coordinate crosses.
    r = 1, k = 1;
    EXPECT_TRUE(DoorMuur(BOVEN, r, k));
    EXPECT_EQ(r, 31u);
    EXPECT_EQ(k, 1u);
    r = 1, k = 1;
    EXPECT_TRUE(DoorMuur(LINKS, r, k));
    EXPECT_EQ(r, 1u);
    EXPECT_EQ(k, 41u);
    r = 30, k = 40;
    EXPECT_TRUE(DoorMuur(ONDER, r, k));
    EXPECT_EQ(r, 0u);
    EXPECT_EQ(k, 40u);
}

TEST_F(Field, FreeingATailCellFreesWhateverStandsThereAndNothingElse)
{
    EmptyBoard(true);
    BlokRec slang[3] = {};
    for (BezetEn before : {SLANG, MUUR, BLOKJE, MANUEEL_BLOKJE}) {
        Veld[8][9].bezet = before;
        Veld[8][9].soortblokje = GIFTIG;
        slang[0] = Veld[8][9];
        ZetOnbezet(slang);
        EXPECT_EQ(Veld[8][9].bezet, ONBEZET) << "cell held " << (int)before;
        EXPECT_EQ(Veld[8][9].soortblokje, GIFTIG);
    }
    EXPECT_EQ(Count(MUUR), 136);
    EXPECT_EQ(Count(ONBEZET), 1200 - 136);

    // A slot that stands for no cell frees nothing.
    Veld[1][1].bezet = MUUR;
    slang[0].x1 = 2000;
    slang[0].y1 = 2000;
    ZetOnbezet(slang);
    slang[0].x1 = 3;
    slang[0].y1 = 0;
    ZetOnbezet(slang);
    EXPECT_EQ(Count(MUUR), 136);
}

TEST_F(Field, BorderWallMarksTheRingAndLeavesTheInside)
{
    VensterInBlokken();
    Veld[5][5].bezet = SLANG;
    Veld[2][2].bezet = BLOKJE;
    Muur();
    EXPECT_EQ(Count(MUUR), 136);
    for (uint32_t k = 1; k <= KOLOMMEN; k++) {
        EXPECT_EQ(Veld[1][k].bezet, MUUR);
        EXPECT_EQ(Veld[30][k].bezet, MUUR);
    }
    for (uint32_t r = 1; r <= RIJEN; r++) {
        EXPECT_EQ(Veld[r][1].bezet, MUUR);
        EXPECT_EQ(Veld[r][40].bezet, MUUR);
    }
    EXPECT_EQ(Veld[5][5].bezet, SLANG);
    EXPECT_EQ(Veld[2][2].bezet, BLOKJE);
    EXPECT_EQ(Count(ONBEZET), 28 * 38 - 2);
}

TEST_F(Field, SnakesInPlayFollowTheMode)
{
    SetMode(Mode::ONE_PLAYER, 2);
    EXPECT_EQ(AantalSlangen(), 1u);
    SetMode(Mode::TWO_SNAKES, 2);
    EXPECT_EQ(AantalSlangen(), 2u);
    SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
    EXPECT_EQ(AantalSlangen(), 1u);
    AantalSpelers = 0;
    EXPECT_EQ(AantalSlangen(), 0u);
}

// ---- with a window: what is drawn ---------------------------------------------------------------------------

const uint32_t HOR = 0x0000C8;   // red
const uint32_t VER = 0x00C800;   // green
const uint32_t HUD = 0x402010;   // dark blue-grey

class FieldDrawing : public Field {
protected:
    void SetUp() override
    {
        Field::SetUp();
        PlayFolder::WriteBmp("bitmap/muurhor.bmp", 20, 20, HOR);
        PlayFolder::WriteBmp("bitmap/muurver.bmp", 20, 20, VER);
        PlayFolder::WriteBmp("bitmap/hud.bmp", 800, 80, HUD);
        Wimdows::InitWimdows();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE);
        Wimdows::SetBuffering(true);
        Wimdows::ClearScreen();
    }
    void TearDown() override { Wimdows::KillWindow(); }

    // Whether any pixel of the area x0..x1, y0..y1 has a colour other than background.
    static bool AnyPixelOtherThan(int x0, int y0, int x1, int y1, uint32_t background)
    {
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++)
                if (Wimdows::BufferPixel(x, y) != background)
                    return true;
        return false;
    }
};

TEST_F(FieldDrawing, BorderWallDrawsHorizontalPiecesOnTopAndBottomRowsAndCorners)
{
    VensterInBlokken();
    Muur();
    EXPECT_EQ(Wimdows::BufferPixel(0, 0), HOR) << "corner (1,1)";
    EXPECT_EQ(Wimdows::BufferPixel(790, 590), HOR) << "corner (30,40)";
    EXPECT_EQ(Wimdows::BufferPixel(410, 10), HOR) << "row 1";
    EXPECT_EQ(Wimdows::BufferPixel(410, 590), HOR) << "row 30";
    EXPECT_EQ(Wimdows::BufferPixel(10, 310), VER) << "column 1";
    EXPECT_EQ(Wimdows::BufferPixel(795, 25), VER) << "column 40, row 2";
    EXPECT_EQ(Wimdows::BufferPixel(25, 25), 0u) << "inside stays black";
    EXPECT_EQ(Wimdows::BufferPixel(400, 610), 0u) << "below the board stays black";
}

TEST_F(FieldDrawing, ScorePanelShowsTheScoresOfTheSnakesInPlay)
{
    BitmapsRec bitmaps{};
    bitmaps.hud = Wimdows::LoadBitmap("bitmap/hud.bmp", 800, 80);
    Score[1] = 1200;
    Score[2] = 800;

    SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
    TekenScorebord(bitmaps);
    EXPECT_EQ(Wimdows::BufferPixel(0, 600), 0u) << "the panel starts at row 601";
    EXPECT_EQ(Wimdows::BufferPixel(0, 601), HUD);
    EXPECT_EQ(Wimdows::BufferPixel(799, 679), HUD);
    EXPECT_TRUE(AnyPixelOtherThan(133, 640, 180, 670, HUD)) << "player 1's score at x = 133";
    EXPECT_FALSE(AnyPixelOtherThan(120, 602, 132, 679, HUD)) << "nothing left of x = 133";
    EXPECT_FALSE(AnyPixelOtherThan(260, 602, 330, 679, HUD)) << "no score for the knurf player";

    SetMode(Mode::TWO_SNAKES, 2);
    TekenScorebord(bitmaps);
    EXPECT_TRUE(AnyPixelOtherThan(133, 640, 180, 670, HUD));
    EXPECT_TRUE(AnyPixelOtherThan(266, 640, 320, 670, HUD)) << "player 2's score at x = 266";
    EXPECT_FALSE(AnyPixelOtherThan(250, 602, 265, 679, HUD));
    Score[1] = Score[2] = 0;
}

}  // namespace
