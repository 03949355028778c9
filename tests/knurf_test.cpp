// Knurf blocks: the first blocks of a game, the points and milestones of eaten ones, boards with few or no
// free cells; the sweep's order, walled-in blocks and the random numbers they draw, the knurf edge rule,
// the hand-steered block, and the pictures a move draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/StandardLib.h"
#include "support/gameboard.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"

using namespace GameBoard;

namespace {

class Knurf : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    BitmapsRec bitmaps{};
    uint32_t rij = 0, kolom = 0;  // the hand-steered block
    PijlEn richting = RECHTS;

    void SetUp() override {
        StartTest();
        EmptyBoard(true);
    }
    void TearDown() override { EndTest(); }
    // The knurf blocks' part of step teller, the hand-steered block held by player 2's keys; painted.
    void Move(uint32_t teller) {
        SyncSettings();
        Spel.teller = teller;
        Spel.positie[2] = RijEnKolomRec{rij, kolom};
        Spel.richting[2] = richting;
        BesturingRec keys[3];
        AllKeys(keys);
        InvoerRec in{};
        HeldKeys(Spel, in, keys);
        Events().aantal = 0;
        BeweegBlokje(Spel, 2, in, &Events());
        TekenGebeurtenissen(Spel, Events(), bitmaps);
        rij = Spel.positie[2].rij;
        kolom = Spel.positie[2].kolom;
        richting = Spel.richting[2];
    }
    // New knurf blocks: the first ones of a game (begin), or those for an ordinary one player speler ate.
    void Place(bool begin, uint32_t speler = 1) {
        SyncSettings();
        TekenNieuwBlokje(Spel, begin, speler, nullptr);
    }
    void PlaceHandSteered(uint32_t r, uint32_t k, PijlEn d) {
        SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
        rij = r;
        kolom = k;
        richting = d;
        Veld[r][k].bezet = MANUEEL_BLOKJE;
    }
};

// ---- placement ------------------------------------------------------------------------------------------------

TEST_F(Knurf, GameStartPlacesOrdinaryBlocksOffTheOuterRingWithoutPoints) {
    for (Mode mode : {Mode::ONE_PLAYER, Mode::TWO_SNAKES}) {
        EmptyBoard(false);
        for (uint32_t r = 1; r <= RIJEN; r++)
            for (uint32_t k = 1; k <= KOLOMMEN; k++) Veld[r][k].soortblokje = GIFTIG;  // left over from an earlier game
        SetMode(mode, 3);
        Place(true);
        EXPECT_EQ(Count(BLOKJE, NORMAAL), (int)AantalBlokjesAutomatisch);
        EXPECT_EQ(Count(BLOKJE), (int)AantalBlokjesAutomatisch);
        for (const std::string &c : Cells(BLOKJE)) {
            uint32_t r = std::stoul(c), k = std::stoul(c.substr(c.find(',') + 1));
            EXPECT_TRUE(r >= 2 && r <= 29 && k >= 2 && k <= 39) << c;
        }
    }
    EXPECT_EQ(Score[1], 0);
}

TEST_F(Knurf, MilestonesAddAFasterThenAPoisonousBlock) {
    for (int32_t diff = 1; diff <= 3; diff++) {
        EmptyBoard(true);
        Score[1] = Score[2] = 0;
        Diff = diff;
        const uint32_t speler = diff == 2 ? 2 : 1;
        std::vector<int> faster, poison;
        for (int eaten = 1; eaten <= 15; eaten++) {
            Place(false, speler);
            faster.push_back(Count(BLOKJE, SNELLER));
            poison.push_back(Count(BLOKJE, GIFTIG));
        }
        EXPECT_EQ(Score[speler], diff * 1500) << "Diff " << diff;
        EXPECT_EQ(Score[3 - speler], 0);
        EXPECT_EQ(faster, (std::vector<int>{0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2})) << "Diff " << diff;
        EXPECT_EQ(poison, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1})) << "Diff " << diff;
        EXPECT_EQ(Count(BLOKJE, NORMAAL), 15);
    }
}

TEST_F(Knurf, PointsOfAFasterBlockAreNoMilestone) {
    Score[1] = 800;
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    PutKnurf(10, 10, SNELLER);
    PutKnurf(10, 11, NORMAAL);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Score[1], 1000);
    EXPECT_EQ(Count(BLOKJE), 1) << "the faster block lifts the score onto 1000 but places nothing";
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Score[1], 1200);
    EXPECT_EQ(Count(BLOKJE, SNELLER), 0) << "and the next ordinary block moves past it";
}

TEST_F(Knurf, FewOrNoFreeCellsNeverHangThePlacement) {
    Score[1] = 800;  // the next block brings 1000, when a faster block is due
    WallAllBut({{12, 12}});
    Veld[12][12].soortblokje = GIFTIG;
    Place(false);
    EXPECT_EQ(Cells(BLOKJE, NORMAAL), (std::vector<std::string>{"12,12"})) << "both cells coincide: one ordinary block";
    EXPECT_EQ(Count(BLOKJE), 1);

    Place(false);
    EXPECT_EQ(Score[1], 1200) << "no free cell left: the points count, nothing is placed";
    EXPECT_EQ(Count(BLOKJE), 1);

    // From seed 94 the repeatable generator's (row, column) pairs never give (13,13).
    EmptyBoard(true);
    WallAllBut({{13, 13}});
    Spel.random.pseudoSeed = 94;
    Place(true);
    EXPECT_EQ(Cells(BLOKJE), (std::vector<std::string>{"13,13"}));
}

// ---- movement -----------------------------------------------------------------------------------------------

TEST_F(Knurf, SweepMovesEachBlockOnceInReadingOrder) {
    for (uint32_t seed : {94u, 1u, 200u, 777u}) {
        EmptyBoard(true);
        Spel.random.pseudoSeed = seed;
        // Two neighbours: the left one is visited while the right one still stands, so it can only go up.
        PutKnurf(10, 10, NORMAAL);
        PutKnurf(10, 11, NORMAAL);
        WallAround(10, 10, {LINKS, ONDER});
        WallAround(10, 11, {BOVEN, ONDER});
        // A block that can only go down, where it could go on down: it moves once.
        PutKnurf(20, 10, NORMAAL);
        WallAround(20, 10, {LINKS, RECHTS, BOVEN});
        WallAround(21, 10, {LINKS, RECHTS});
        Move(0);
        EXPECT_EQ(Veld[9][10].bezet, BLOKJE) << "seed " << seed;
        EXPECT_NE(Veld[10][11].bezet, BLOKJE) << "seed " << seed;
        EXPECT_EQ(Veld[21][10].bezet, BLOKJE) << "seed " << seed;
        EXPECT_EQ(Count(BLOKJE), 3);
        EXPECT_EQ(Count(ALBEWOGEN_BLOKJE), 0);
    }
}

TEST_F(Knurf, WalledInBlocksDrawNoNumbersAndOthersDrawUntilTheirWayComesUp) {
    PutKnurf(10, 10, GIFTIG);
    WallAround(10, 10, {LINKS, RECHTS, BOVEN, ONDER});
    PutKnurf(20, 10, NORMAAL);
    WallAround(20, 10, {LINKS, RECHTS, ONDER});
    // The directions the generator gives from seed 94 up to the first BOVEN, and its state after them.
    Spel.random.pseudoSeed = 94;
    StandardLib::RandomRec g = Spel.random;
    while (StandardLib::RandomCard(g, 0, 3) != BOVEN) {}

    Move(0);
    EXPECT_EQ(Cells(BLOKJE), (std::vector<std::string>{"10,10", "19,10"}));
    EXPECT_EQ(Veld[10][10].soortblokje, GIFTIG);
    EXPECT_EQ(Spel.random.pseudoSeed, g.pseudoSeed) << "the walled-in block drew no number";
}

TEST_F(Knurf, BlocksCrossTheEdgeOnlyOntoAFreeCell) {
    EmptyBoard(false);
    PutKnurf(15, 1, SNELLER);
    WallAround(15, 1, {RECHTS, BOVEN, ONDER});
    Move(0);
    EXPECT_EQ(Cells(BLOKJE, SNELLER), (std::vector<std::string>{"15,40"})) << "keeping its kind";
    WallAround(15, 40, {LINKS, BOVEN, ONDER});
    Veld[15][1].bezet = SLANG;
    Move(0);
    EXPECT_EQ(Cells(BLOKJE), (std::vector<std::string>{"15,40"}));

    EmptyBoard(false);
    PlaceHandSteered(30, 7, RECHTS);
    Veld[1][7].bezet = BLOKJE;
    Wimdows::SimulateKeyDown(Keys(2).onder);
    Move(1);
    EXPECT_EQ(Cell(rij, kolom), "30,7") << "row 1 taken: the hand-steered block stays";
    EXPECT_EQ(richting, ONDER) << "and keeps its new direction";
    Veld[1][7].bezet = ONBEZET;
    Move(2);
    EXPECT_EQ(Cell(rij, kolom), "1,7");
    EXPECT_EQ(Cells(MANUEEL_BLOKJE), (std::vector<std::string>{"1,7"}));
}

TEST_F(Knurf, HandSteeredBlockMovesEveryStepAndTurnsAtOnce) {
    PlaceHandSteered(10, 10, RECHTS);
    Move(1);
    Move(2);
    EXPECT_EQ(Cell(rij, kolom), "10,12") << "no key: it keeps going";
    Wimdows::SimulateKeyDown(Keys(2).links);
    Move(3);
    EXPECT_EQ(Cell(rij, kolom), "10,11") << "the opposite key turns it back at once";
    ReleaseAllKeys();
    InvoerRec in{};
    QueueTurn(Spel, in, 2, BOVEN, true);
    JoinTurns(in);
    Move(4);
    EXPECT_EQ(Cell(rij, kolom), "9,11") << "a waiting turn";
    EXPECT_EQ(Count(MANUEEL_BLOKJE), 1);

    // A snake came in across the edge onto the block's cell: the block leaves the snake its cell.
    Veld[9][11].bezet = SLANG;
    Move(5);
    EXPECT_EQ(Veld[9][11].bezet, SLANG);
    EXPECT_EQ(Cells(MANUEEL_BLOKJE), (std::vector<std::string>{"8,11"}));
}

TEST_F(Knurf, MovesKeepTheBlocksPictures) {
    const uint32_t COLOUR[4] = {0x00A0A0, 0x00E0E0, 0xE00000, 0x00E000};
    ASSERT_TRUE(GameWindow::Open());
    for (int i = 0; i < 4; i++) {
        std::string file = "bitmap/knurf" + std::to_string(i) + ".bmp";
        PlayFolder::WriteBmp(file, 20, 20, COLOUR[i]);
        bitmaps.blokjes[i] = Wimdows::LoadBitmap(file.c_str(), 20, 20);
    }
    auto centre = [](uint32_t r, uint32_t k) { return Wimdows::BufferPixel(20 * (int)k - 10, 20 * (int)r - 10); };
    const SoortBlokjeEn kinds[3] = {NORMAAL, SNELLER, GIFTIG};
    for (uint32_t i = 0; i < 3; i++) {
        PutKnurf(10 + 5 * i, 10, kinds[i]);
        WallAround(10 + 5 * i, 10, {LINKS, BOVEN, ONDER});
    }
    Wimdows::Rectangle(0, 0, 799, 599, 0xFFFFFF, true);
    Move(0);
    EXPECT_EQ((std::vector<uint32_t>{centre(10, 11), centre(15, 11), centre(20, 11), centre(10, 10)}),
              (std::vector<uint32_t>{COLOUR[0], COLOUR[1], COLOUR[2], 0}));
    PlaceHandSteered(25, 10, RECHTS);
    Move(1);
    EXPECT_EQ(centre(25, 11), COLOUR[3]);
    Wimdows::KillWindow();
}

}  // namespace
