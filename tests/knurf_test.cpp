// Knurf blocks: placing the first blocks and the new ones with their points and milestones, a full
// board, and the movement: the sweep's pace and order, walled-in blocks, the knurf edge rule, the
// hand-steered block, and the pictures a move draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "support/StandardLib.h"
#include "support/gameboard.h"
#include "support/playfolder.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;
using namespace GameBoard;

namespace {

class Knurf : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    BitmapsRec bitmaps{};

    void SetUp() override
    {
        Wimdows::InitWimdows();
        ReleaseAllKeys();
        StandardLib::gPseudoRandom = true;
        StandardLib::SetPseudoSeed(94);
        SetMode(Mode::ONE_PLAYER, 2);
        Score[1] = Score[2] = 0;
        SpelerAanDeBeurt = 1;
        DelaySnake = 150;
        PijlEn rechts[3] = {RECHTS, RECHTS, RECHTS};
        ClearTurns(rechts);
        EmptyBoard(true);
    }
    void TearDown() override
    {
        ReleaseAllKeys();
        StandardLib::gPseudoRandom = false;
        Score[1] = Score[2] = 0;
    }

    // Where the knurf blocks (BLOKJE) stand, as "r,k" in reading order.
    static std::vector<std::string> KnurfCells()
    {
        std::vector<std::string> cells;
        for (uint32_t r = 1; r <= RIJEN; r++)
            for (uint32_t k = 1; k <= KOLOMMEN; k++)
                if (Veld[r][k].bezet == BLOKJE)
                    cells.push_back(std::to_string(r) + "," + std::to_string(k));
        return cells;
    }

    // One call of the knurf movement without a hand-steered block.
    void Sweep(uint32_t teller)
    {
        uint32_t r = 0, k = 0;
        PijlEn d = RECHTS;
        BesturingRec keys = Keys(1);
        BeweegBlokje(teller, r, k, keys, d, bitmaps.blokjes);
    }

    // Walls round (r, k) on the listed sides.
    static void WallAround(uint32_t r, uint32_t k, std::initializer_list<PijlEn> sides)
    {
        for (PijlEn d : sides) {
            uint32_t rr = r, kk = k;
            VeranderRijKolom(rr, kk, d);
            Veld[rr][kk].bezet = MUUR;
        }
    }
};

// ---- placement ------------------------------------------------------------------------------------------------

TEST_F(Knurf, GameStartPlacesOrdinaryBlocksOffTheOuterRingWithoutPoints)
{
    for (Mode mode : {Mode::ONE_PLAYER, Mode::TWO_SNAKES, Mode::SNAKE_AGAINST_KNURF}) {
        EmptyBoard(false);
        for (uint32_t r = 1; r <= RIJEN; r++)
            for (uint32_t k = 1; k <= KOLOMMEN; k++)
                Veld[r][k].soortblokje = GIFTIG;  // left over from an earlier game
        SetMode(mode, 3);
        TekenNieuwBlokje(true, bitmaps);
        EXPECT_EQ(CountKnurfs(NORMAAL), (int)AantalBlokjesAutomatisch) << "every block ordinary";
        EXPECT_EQ(Count(BLOKJE), (int)AantalBlokjesAutomatisch);
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            EXPECT_TRUE(Veld[1][k].bezet == ONBEZET && Veld[30][k].bezet == ONBEZET);
        for (uint32_t r = 1; r <= RIJEN; r++)
            EXPECT_TRUE(Veld[r][1].bezet == ONBEZET && Veld[r][40].bezet == ONBEZET);
    }
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Score[2], 0);
}

TEST_F(Knurf, MilestonesAddFasterAndPoisonousBlocks)
{
    struct Case {
        int32_t diff;
        int eatenForFaster, eatenForPoison;
    };
    for (Case c : {Case{1, 5, 10}, Case{2, 5, 10}, Case{3, 5, 10}}) {
        EmptyBoard(true);
        Score[1] = 0;
        Diff = c.diff;
        for (int eaten = 1; eaten <= 15; eaten++) {
            TekenNieuwBlokje(false, bitmaps);
            EXPECT_EQ(Score[1], c.diff * 100 * eaten);
            int faster = eaten >= 15 ? 2 : eaten >= c.eatenForFaster ? 1 : 0;
            int poison = eaten >= c.eatenForPoison ? 1 : 0;
            EXPECT_EQ(CountKnurfs(SNELLER), faster) << "Diff " << c.diff << ", after " << eaten << " blocks";
            EXPECT_EQ(CountKnurfs(GIFTIG), poison) << "Diff " << c.diff << ", after " << eaten << " blocks";
            EXPECT_EQ(CountKnurfs(NORMAAL), eaten) << "one new ordinary block per eaten one";
        }
    }
}

TEST_F(Knurf, PointsGoToThePlayerWhoseTurnItIs)
{
    SetMode(Mode::TWO_SNAKES, 2);
    SpelerAanDeBeurt = 2;
    TekenNieuwBlokje(false, bitmaps);
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Score[2], 200);
}

TEST_F(Knurf, NoMilestoneTestForPointsOfAFasterBlock)
{
    Diff = 2;
    Score[1] = 800;
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    PutKnurf(10, 10, SNELLER);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Score[1], 1000) << "eating a faster block lifts the score onto the milestone";
    EXPECT_EQ(Count(BLOKJE), 0) << "but places nothing";
    PutKnurf(10, 11, NORMAAL);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Score[1], 1200);
    EXPECT_EQ(CountKnurfs(SNELLER), 0) << "the next ordinary block moves the score past it";
    EXPECT_EQ(CountKnurfs(NORMAAL), 1);
}

TEST_F(Knurf, BothCellsTheSameEndAsOneOrdinaryBlock)
{
    Diff = 2;
    Score[1] = 800;  // the next block brings 1000: a faster block would be due
    FillFreeCellsExcept({{12, 12}});
    Veld[12][12].soortblokje = GIFTIG;
    TekenNieuwBlokje(false, bitmaps);
    EXPECT_EQ(Score[1], 1000);
    EXPECT_EQ(Veld[12][12].bezet, BLOKJE);
    EXPECT_EQ(Veld[12][12].soortblokje, NORMAAL);
    EXPECT_EQ(Count(BLOKJE), 1) << "the special block is not placed elsewhere";
}

TEST_F(Knurf, AFreeCellTheGeneratorNeverDrawsIsStillFound)
{
    // From seed 94 the repeatable generator's (row, column) pairs never give (13,13).
    FillFreeCellsExcept({{13, 13}});
    StandardLib::SetPseudoSeed(94);
    TekenNieuwBlokje(true, bitmaps);
    EXPECT_EQ(Veld[13][13].bezet, BLOKJE);
    EXPECT_EQ(Count(BLOKJE), 1) << "the other two placements find no free cell";
}

TEST_F(Knurf, AFullBoardSkipsThePlacementInsteadOfHanging)
{
    Diff = 2;
    // Only the outer ring has free cells, where new blocks never go.
    EmptyBoard(false);
    FillFreeCellsExcept({});
    for (uint32_t k = 1; k <= KOLOMMEN; k++)
        Veld[1][k].bezet = ONBEZET;
    TekenNieuwBlokje(true, bitmaps);
    EXPECT_EQ(Count(BLOKJE), 0);
    Score[1] = 800;
    TekenNieuwBlokje(false, bitmaps);
    EXPECT_EQ(Score[1], 1000) << "the points still count";
    EXPECT_EQ(Count(BLOKJE), 0);
    EXPECT_EQ(Count(ONBEZET), 40);
}

// ---- movement -----------------------------------------------------------------------------------------------

TEST_F(Knurf, AutomaticBlocksMoveEveryDelerthStep)
{
    struct Case {
        int32_t diff;
        std::vector<uint32_t> moving;
    };
    for (const Case &c : {Case{1, {0, 4, 8}}, Case{2, {0, 3, 6, 9}}, Case{3, {0, 2, 4, 6, 8}}}) {
        EmptyBoard(true);
        Diff = c.diff;
        PutKnurf(15, 20, NORMAAL);
        std::vector<uint32_t> moved;
        for (uint32_t teller = 0; teller <= 9; teller++) {
            std::vector<std::string> before = KnurfCells();
            Sweep(teller);
            if (KnurfCells() != before)
                moved.push_back(teller);
        }
        EXPECT_EQ(moved, c.moving) << "Diff " << c.diff;
        EXPECT_EQ(Count(BLOKJE), 1);
        EXPECT_EQ(Count(ALBEWOGEN_BLOKJE), 0) << "no block stays marked after the sweep";
    }
}

TEST_F(Knurf, TheLeftOfTwoNeighboursCannotStepIntoTheRightOne)
{
    for (uint32_t seed : {94u, 1u, 200u, 509u, 777u, 1000u}) {
        EmptyBoard(true);
        StandardLib::SetPseudoSeed(seed);
        PutKnurf(10, 10, NORMAAL);
        PutKnurf(10, 11, NORMAAL);
        WallAround(10, 10, {LINKS, ONDER});  // free: up; right is the other block
        WallAround(10, 11, {BOVEN, ONDER});  // free: right, and left once the left block has gone
        Sweep(0);
        // The left block is visited first, while its right neighbour still stands: it can only go up.
        EXPECT_EQ(Veld[9][10].bezet, BLOKJE) << "seed " << seed;
        EXPECT_NE(Veld[10][11].bezet, BLOKJE) << "seed " << seed << ": the right block moved on afterwards";
        EXPECT_EQ(Count(BLOKJE), 2);
    }
}

TEST_F(Knurf, ABlockThatMovedDownIsNotMovedAgainInTheSameSweep)
{
    for (uint32_t seed : {94u, 3u, 400u, 888u}) {
        EmptyBoard(true);
        StandardLib::SetPseudoSeed(seed);
        PutKnurf(10, 10, NORMAAL);
        WallAround(10, 10, {LINKS, RECHTS, BOVEN});  // only down is free
        WallAround(11, 10, {LINKS, RECHTS});         // from there up and down would be free
        Sweep(0);
        EXPECT_EQ(KnurfCells(), (std::vector<std::string>{"11,10"})) << "seed " << seed;
    }
}

TEST_F(Knurf, AWalledInBlockStaysAndDrawsNoNumbers)
{
    PutKnurf(10, 10, GIFTIG);
    PutKnurf(10, 11, NORMAAL);
    WallAround(10, 10, {LINKS, BOVEN, ONDER});
    WallAround(10, 11, {RECHTS, BOVEN, ONDER});
    StandardLib::SetPseudoSeed(94);
    Sweep(0);
    EXPECT_EQ(KnurfCells(), (std::vector<std::string>{"10,10", "10,11"}));
    EXPECT_EQ(Veld[10][10].soortblokje, GIFTIG);
    uint32_t next = StandardLib::PseudoRandomCardGenerator();
    StandardLib::SetPseudoSeed(94);
    EXPECT_EQ(next, StandardLib::PseudoRandomCardGenerator()) << "no random number was drawn";
}

TEST_F(Knurf, ABlockWithOneWayOutDrawsUntilThatDirectionComesUp)
{
    PutKnurf(10, 10, NORMAAL);
    WallAround(10, 10, {LINKS, RECHTS, ONDER});
    // The directions the generator gives from seed 94, up to the first BOVEN (2).
    StandardLib::SetPseudoSeed(94);
    int draws = 0;
    uint32_t d;
    do {
        d = StandardLib::RandomCard(0, 3);
        draws++;
    } while (d != BOVEN);
    uint32_t after = StandardLib::PseudoRandomCardGenerator();

    StandardLib::SetPseudoSeed(94);
    Sweep(0);
    EXPECT_EQ(KnurfCells(), (std::vector<std::string>{"9,10"}));
    EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), after) << "expected " << draws << " draws";
}

TEST_F(Knurf, AutomaticBlocksCrossTheEdgeOnlyOntoAFreeCell)
{
    EmptyBoard(false);
    PutKnurf(15, 1, SNELLER);
    WallAround(15, 1, {RECHTS, BOVEN, ONDER});
    Sweep(0);
    EXPECT_EQ(KnurfCells(), (std::vector<std::string>{"15,40"}));
    EXPECT_EQ(Veld[15][40].soortblokje, SNELLER) << "a block keeps its kind";

    EmptyBoard(false);
    PutKnurf(15, 1, NORMAAL);
    WallAround(15, 1, {RECHTS, BOVEN, ONDER});
    Veld[15][40].bezet = SLANG;
    Sweep(0);
    EXPECT_EQ(KnurfCells(), (std::vector<std::string>{"15,1"}));
    EXPECT_EQ(Veld[15][40].bezet, SLANG);
}

class HandSteered : public Knurf {
protected:
    uint32_t rij = 0, kolom = 0;
    PijlEn richting = RECHTS;

    void SetUp() override
    {
        Knurf::SetUp();
        SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
        SpelerAanDeBeurt = 2;
    }
    void Place(uint32_t r, uint32_t k, PijlEn d)
    {
        rij = r;
        kolom = k;
        richting = d;
        Veld[r][k].bezet = MANUEEL_BLOKJE;
        Veld[r][k].soortblokje = NORMAAL;
    }
    void Move(uint32_t teller = 1)
    {
        BesturingRec keys = Keys(2);
        BeweegBlokje(teller, rij, kolom, keys, richting, bitmaps.blokjes);
    }
    std::string Where() const { return std::to_string(rij) + "," + std::to_string(kolom); }
};

TEST_F(HandSteered, MovesEveryStepAndKeepsGoingWithoutKeys)
{
    Place(10, 10, RECHTS);
    for (uint32_t teller = 1; teller <= 5; teller++)
        Move(teller);
    EXPECT_EQ(Where(), "10,15");
    EXPECT_EQ(Veld[10][15].bezet, MANUEEL_BLOKJE);
    EXPECT_EQ(Veld[10][10].bezet, ONBEZET);
    EXPECT_EQ(Count(MANUEEL_BLOKJE), 1);
}

TEST_F(HandSteered, HeldOppositeKeyTurnsItBackAtOnce)
{
    Place(10, 10, RECHTS);
    Wimdows::SimulateKeyDown(Keys(2).links);
    Move();
    EXPECT_EQ(richting, LINKS);
    EXPECT_EQ(Where(), "10,9");
}

TEST_F(HandSteered, CrossesTheEdgeOnlyOntoAFreeCellAndKeepsItsNewDirection)
{
    EmptyBoard(false);
    Place(30, 7, RECHTS);
    Wimdows::SimulateKeyDown(Keys(2).onder);
    Move();
    EXPECT_EQ(Where(), "1,7") << "row 30 down comes in at row 1";

    EmptyBoard(false);
    Place(30, 7, RECHTS);
    Veld[1][7].bezet = BLOKJE;
    Move();
    EXPECT_EQ(Where(), "30,7") << "row 1 taken: stays";
    EXPECT_EQ(richting, ONDER) << "and keeps the new direction";
    EXPECT_EQ(Veld[30][7].bezet, MANUEEL_BLOKJE);
}

TEST_F(HandSteered, BlockedByWallsSnakesAndOtherBlocks)
{
    for (BezetEn bezet : {MUUR, SLANG, BLOKJE}) {
        EmptyBoard(true);
        Place(10, 10, RECHTS);
        Veld[10][11].bezet = bezet;
        Move();
        EXPECT_EQ(Where(), "10,10") << "blocked by " << (int)bezet;
    }
}

TEST_F(HandSteered, TakesItsWaitingTurns)
{
    Place(10, 10, RECHTS);
    QueueTurn(2, BOVEN, true);
    QueueTurn(2, LINKS, true);
    Move();
    EXPECT_EQ(Where(), "9,10");
    Move();
    EXPECT_EQ(Where(), "9,9");
}

TEST_F(HandSteered, LeavesACellASnakeHasTakenAcrossTheEdge)
{
    EmptyBoard(false);
    Place(10, 1, ONDER);
    // A snake came in across the edge onto the block's cell.
    Veld[10][1].bezet = SLANG;
    Move();
    EXPECT_EQ(Where(), "11,1");
    EXPECT_EQ(Veld[10][1].bezet, SLANG) << "the snake keeps its cell";
    EXPECT_EQ(Veld[11][1].bezet, MANUEEL_BLOKJE);
}

TEST_F(HandSteered, OnlyInTheKnurfModeDoesTheHandSteeredPartRun)
{
    SetMode(Mode::TWO_SNAKES, 2);
    Place(10, 10, RECHTS);
    Wimdows::SimulateKeyDown(Keys(1).boven);
    Move(1);
    EXPECT_EQ(Where(), "10,10");
    EXPECT_EQ(richting, RECHTS) << "the direction is left alone too";
}

// ---- what a move draws ------------------------------------------------------------------------------------

const uint32_t KNURF_COLOUR[4] = {0x00A0A0, 0x00E0E0, 0xE00000, 0x00E000};

class KnurfDrawing : public HandSteered {
protected:
    void SetUp() override
    {
        HandSteered::SetUp();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE);
        Wimdows::SetBuffering(true);
        Wimdows::ClearScreen();
        for (int i = 0; i < 4; i++) {
            std::string file = "bitmap/knurf" + std::to_string(i) + ".bmp";
            PlayFolder::WriteBmp(file, 20, 20, KNURF_COLOUR[i]);
            bitmaps.blokjes[i] = Wimdows::LoadBitmap(file.c_str(), 20, 20);
        }
        PlayFolder::WriteBmp("bitmap/hud.bmp", 800, 80, 0x303030);
        bitmaps.hud = Wimdows::LoadBitmap("bitmap/hud.bmp", 800, 80);
    }
    void TearDown() override
    {
        Wimdows::KillWindow();
        HandSteered::TearDown();
    }
    static uint32_t Centre(uint32_t r, uint32_t k)
    {
        return Wimdows::BufferPixel((int)Veld[r][k].x1 + 10, (int)Veld[r][k].y1 + 10);
    }
};

TEST_F(KnurfDrawing, SpecialBlocksKeepTheirPictureAsTheyWander)
{
    SetMode(Mode::ONE_PLAYER, 2);
    PutKnurf(10, 10, GIFTIG);
    WallAround(10, 10, {LINKS, BOVEN, ONDER});
    PutKnurf(20, 10, SNELLER);
    WallAround(20, 10, {LINKS, BOVEN, ONDER});
    PutKnurf(25, 10, NORMAAL);
    WallAround(25, 10, {LINKS, BOVEN, ONDER});
    Wimdows::Rectangle(0, 0, 799, 599, 0xFFFFFF, true);
    Sweep(0);
    EXPECT_EQ(Centre(10, 11), KNURF_COLOUR[2]);
    EXPECT_EQ(Centre(20, 11), KNURF_COLOUR[1]);
    EXPECT_EQ(Centre(25, 11), KNURF_COLOUR[0]);
    EXPECT_EQ(Centre(10, 10), 0u) << "the old cell is painted black";
}

TEST_F(KnurfDrawing, AWalledInBlockIsNeverRedrawn)
{
    SetMode(Mode::ONE_PLAYER, 2);
    PutKnurf(10, 10, NORMAAL);
    WallAround(10, 10, {LINKS, RECHTS, BOVEN, ONDER});
    Wimdows::Rectangle(180, 180, 199, 199, 0x123456, true);
    Sweep(0);
    EXPECT_EQ(Centre(10, 10), 0x123456u);
}

TEST_F(KnurfDrawing, TheHandSteeredBlockShowsItsOwnPicture)
{
    Place(10, 10, RECHTS);
    Move();
    EXPECT_EQ(Centre(10, 11), KNURF_COLOUR[3]);
    EXPECT_EQ(Centre(10, 10), 0u);
}

TEST_F(KnurfDrawing, PlacementDrawsTheBlocksAndThePanel)
{
    SetMode(Mode::ONE_PLAYER, 2);
    std::vector<RijEnKolomRec> row12;
    for (uint32_t k = 2; k <= 39; k++)
        row12.push_back({12, k});
    FillFreeCellsExcept(row12);
    SpelerAanDeBeurt = 1;
    Score[1] = 800;
    TekenNieuwBlokje(false, bitmaps);
    EXPECT_EQ(Wimdows::BufferPixel(5, 650), 0x303030u) << "panel redrawn";
    ASSERT_EQ(CountKnurfs(SNELLER), 1) << "a faster block beside the ordinary one";
    ASSERT_EQ(CountKnurfs(NORMAAL), 1);
    for (uint32_t k = 2; k <= 39; k++) {
        if (Veld[12][k].bezet == BLOKJE)
            EXPECT_EQ(Centre(12, k), KNURF_COLOUR[Veld[12][k].soortblokje == SNELLER ? 1 : 0]) << "column " << k;
        else
            EXPECT_EQ(Centre(12, k), 0u) << "column " << k;
    }
}

}  // namespace
