// Snake movement: the direction from held keys and from presses between steps, the cell rules for the
// cell ahead, eating with its points, growth and speed-up, the edge crossing, the slot limit, and the
// pictures a step draws (in a window under the dummy video driver).
#include <gtest/gtest.h>

#include <cstring>
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

const uint32_t LEFT = 37, UP = 38, RIGHT = 39, DOWN = 40;

class Movement : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;

    void SetUp() override
    {
        Wimdows::InitWimdows();
        ReleaseAllKeys();
        StandardLib::gPseudoRandom = true;
        StandardLib::SetPseudoSeed(94);
        SetMode(Mode::ONE_PLAYER, 2);
        Score[1] = Score[2] = 0;
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

    static void Tap(uint32_t key)
    {
        Wimdows::SimulateKeyDown(key);
        Wimdows::SimulateKeyUp(key);
    }

    // The typed-key queue taken into the waiting turns, as a step of the game does before its wait.
    static void EndOfBatch(const std::vector<SnakeState> &st)
    {
        BesturingRec keys[3] = {BesturingRec{}, Keys(1), Keys(2)};
        PijlEn richting[3] = {RECHTS, st[1].richting, st.size() > 2 ? st[2].richting : RECHTS};
        QueueTypedKeys(keys, richting);
    }
};

// ---- direction from held keys ------------------------------------------------------------------------------

TEST_F(Movement, HeldKeysPickByPriorityThenTheReversalIsUndone)
{
    BesturingRec keys = Keys(1);
    PijlEn d = RECHTS;
    Wimdows::SimulateKeyDown(LEFT);
    Wimdows::SimulateKeyDown(DOWN);
    RichtingBepalen(d, keys, false);
    EXPECT_EQ(d, RECHTS) << "left wins over down, and is then undone as a reversal";

    d = BOVEN;
    RichtingBepalen(d, keys, false);
    EXPECT_EQ(d, LINKS) << "left beats down";

    ReleaseAllKeys();
    Wimdows::SimulateKeyDown(UP);
    Wimdows::SimulateKeyDown(RIGHT);
    d = ONDER;
    RichtingBepalen(d, keys, false);
    EXPECT_EQ(d, RECHTS) << "right beats up";

    Wimdows::SimulateKeyUp(RIGHT);
    RichtingBepalen(d, keys, false);
    EXPECT_EQ(d, BOVEN);

    ReleaseAllKeys();
    RichtingBepalen(d, keys, false);
    EXPECT_EQ(d, BOVEN) << "no key held: the direction stays";
}

TEST_F(Movement, AKnurfBlockMayReverse)
{
    BesturingRec keys = Keys(2);
    PijlEn d = RECHTS;
    Wimdows::SimulateKeyDown(keys.links);
    RichtingBepalen(d, keys, true);
    EXPECT_EQ(d, LINKS);
    Wimdows::SimulateKeyUp(keys.links);
    Wimdows::SimulateKeyDown(keys.rechts);
    RichtingBepalen(d, keys, true);
    EXPECT_EQ(d, RECHTS);
}

// ---- the cell ahead ----------------------------------------------------------------------------------------

TEST_F(Movement, BlockedCellsStopTheSnakeAndChangeNothing)
{
    struct Case {
        const char *what;
        BezetEn bezet;
        SoortBlokjeEn soort;
    };
    for (Case c : {Case{"wall", MUUR, NORMAAL}, Case{"snake", SLANG, NORMAAL},
                   Case{"hand-steered knurf block", MANUEEL_BLOKJE, NORMAAL},
                   Case{"poisonous knurf block", BLOKJE, GIFTIG}}) {
        EmptyBoard(true);
        std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
        ASSERT_EQ(st[1].kolom, 9u);
        Veld[10][10].bezet = c.bezet;
        Veld[10][10].soortblokje = c.soort;
        BlokRec before[1201];
        std::copy(Slang[1], Slang[1] + 1201, before);
        SnakeState was = st[1];

        EXPECT_FALSE(Step(1, st[1])) << c.what;
        EXPECT_EQ(st[1].rij, was.rij) << c.what;
        EXPECT_EQ(st[1].kolom, was.kolom) << c.what;
        EXPECT_EQ(st[1].grootte, was.grootte) << c.what;
        EXPECT_EQ(Veld[10][10].bezet, c.bezet) << c.what << " stays";
        EXPECT_EQ(Veld[10][10].soortblokje, c.soort) << c.what;
        std::vector<std::string> cells{"10,6", "10,7", "10,8", "10,9"};
        if (c.bezet == SLANG)
            cells.push_back("10,10");
        EXPECT_EQ(SnakeCells(), cells) << c.what;
        EXPECT_EQ(0, memcmp(before, Slang[1], sizeof before)) << c.what << ": the slots stay as they were";
        EXPECT_EQ(Score[1], 0) << c.what;
    }
}

TEST_F(Movement, CrashKeepsTheNewDirection)
{
    std::vector<SnakeState> st = LaySnakes({{2, 5}}, {4});
    Wimdows::SimulateKeyDown(UP);
    EXPECT_FALSE(Step(1, st[1])) << "row 1 is wall";
    EXPECT_EQ(st[1].richting, BOVEN);
}

TEST_F(Movement, FreeCellMovesHeadAndDropsTail)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    // The first step adds the head without dropping a tail.
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].kolom, 10u);
    EXPECT_EQ(SnakeCells(), (std::vector<std::string>{"10,6", "10,7", "10,8", "10,9", "10,10"}));
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(SnakeCells(), (std::vector<std::string>{"10,7", "10,8", "10,9", "10,10", "10,11"}));
    Wimdows::SimulateKeyDown(DOWN);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(SnakeCells(), (std::vector<std::string>{"10,8", "10,9", "10,10", "10,11", "11,11"}));
    EXPECT_EQ(st[1].rij, 11u);
    EXPECT_EQ(st[1].kolom, 11u);
    EXPECT_EQ(st[1].richting, ONDER);
    EXPECT_EQ(Slang[1][st[1].grootte].y1, 200u) << "slot grootte holds the head";
    EXPECT_EQ(Slang[1][st[1].grootte + 1].y1, 200u) << "and slot grootte + 1 a copy of it";
    EXPECT_EQ(Slang[1][0].x1, 140u) << "slot 0 holds the tail (10,8)";
}

TEST_F(Movement, TheSnakeCannotEnterTheCellItsTailIsLeaving)
{
    // A snake of four cells bent into a square: the head's next cell is its own tail.
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {3});  // (10,6) (10,7) (10,8)
    ASSERT_TRUE(Step(1, st[1]));                            // head (10,9), four cells, tail (10,6)
    Wimdows::SimulateKeyDown(DOWN);
    ASSERT_TRUE(Step(1, st[1]));  // (11,9)
    Wimdows::SimulateKeyUp(DOWN);
    Wimdows::SimulateKeyDown(LEFT);
    ASSERT_TRUE(Step(1, st[1]));  // (11,8)
    Wimdows::SimulateKeyUp(LEFT);
    Wimdows::SimulateKeyDown(UP);
    EXPECT_FALSE(Step(1, st[1])) << "(10,8) is the tail, which this step would free";
}

TEST_F(Movement, OrdinaryKnurfGivesPointsGrowthAndANewBlock)
{
    Diff = 3;
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    PutKnurf(10, 10, NORMAAL);
    PutKnurf(20, 20, NORMAAL);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Score[1], 300);
    EXPECT_EQ(st[1].grootte, 5u);
    EXPECT_EQ(Veld[10][10].bezet, SLANG) << "the head stands on the eaten cell";
    EXPECT_EQ(CountKnurfs(NORMAAL), 2) << "the eaten block was replaced";
    EXPECT_EQ(Count(BLOKJE), 2);
    EXPECT_EQ(DelaySnake, 150) << "no speed-up for an ordinary block";
}

TEST_F(Movement, FasterKnurfGivesPointsAndSpeedButNoNewBlock)
{
    Diff = 1;
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    PutKnurf(10, 10, SNELLER);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Score[1], 100);
    EXPECT_EQ(st[1].grootte, 5u);
    EXPECT_EQ(DelaySnake, 140);
    EXPECT_EQ(Count(BLOKJE), 0);
}

TEST_F(Movement, SpeedUpTableAndItsFloor)
{
    struct Case {
        int32_t diff, before, after;
    };
    for (Case c : {Case{2, 150, 130}, Case{2, 90, 70}, Case{2, 80, 65}, Case{3, 81, 51}, Case{1, 210, 200},
                   Case{1, 65, 50}, Case{2, 50, 40}, Case{2, 41, 40}, Case{3, 40, 40}}) {
        EmptyBoard(true);
        Diff = c.diff;
        DelaySnake = c.before;
        std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
        PutKnurf(10, 10, SNELLER);
        ASSERT_TRUE(Step(1, st[1]));
        EXPECT_EQ(DelaySnake, c.after) << "Diff " << c.diff << " from " << c.before;
    }
}

TEST_F(Movement, GrowthShowsWhenTheDoubledCellReachesTheTail)
{
    // grootte 3: after the first step four cells; eating in step n keeps four cells up to step n + 3 and
    // five from step n + 4 on, where the tail stays put.
    std::vector<SnakeState> st = LaySnakes({{10, 2}}, {3});
    ASSERT_TRUE(Step(1, st[1]));  // step 1: head (10,6)
    ASSERT_EQ(SnakeCells().size(), 4u);
    ASSERT_TRUE(Step(1, st[1]));  // step 2
    PutKnurf(10, 8, NORMAAL);
    ASSERT_TRUE(Step(1, st[1]));  // step n = 3: eats at (10,8)
    EXPECT_EQ(st[1].grootte, 4u);
    std::vector<size_t> cells;
    std::vector<std::string> tails;
    for (int i = 1; i <= 5; i++) {
        ASSERT_TRUE(Step(1, st[1]));
        cells.push_back(SnakeCells().size());
        tails.push_back(SnakeCells().front());
    }
    // After the eating step itself the snake still covers four cells.
    EXPECT_EQ(cells, (std::vector<size_t>{4, 4, 4, 5, 5})) << "steps n+1 .. n+5";
    EXPECT_EQ(tails, (std::vector<std::string>{"10,6", "10,7", "10,8", "10,8", "10,9"}))
        << "the tail stays put in step n + 4 only";
}

TEST_F(Movement, SnakesAlwaysCrossTheEdgeWhateverStandsThere)
{
    EmptyBoard(false);
    std::vector<SnakeState> st = LaySnakes({{7, 35}}, {4});  // (7,36)..(7,39)
    ASSERT_TRUE(Step(1, st[1]));                            // head (7,40)
    PutKnurf(7, 1, NORMAAL);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].kolom, 1u);
    EXPECT_EQ(Veld[7][1].bezet, SLANG);
    EXPECT_EQ(Score[1], 0) << "crossing onto a knurf block does not eat it";
    EXPECT_EQ(st[1].grootte, 4u);

    // Onto a snake segment at the opposite edge: allowed, the cell shows the head.
    EmptyBoard(false);
    st = LaySnakes({{7, 35}}, {4});
    ASSERT_TRUE(Step(1, st[1]));
    Veld[7][1].bezet = SLANG;
    EXPECT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].kolom, 1u);
}

TEST_F(Movement, HeadComingInOnItsOwnTailKeepsItsCell)
{
    EmptyBoard(false);
    // A snake filling row 5 from its tail (5,1) to its head (5,40), moving right.
    const uint32_t g = 39;
    for (uint32_t i = 0; i <= g; i++) {
        Slang[1][i] = Veld[5][i + 1];
        Veld[5][i + 1].bezet = SLANG;
    }
    Slang[1][g + 1] = Slang[1][g];
    SnakeState st{5, 40, RECHTS, g};
    ASSERT_TRUE(Step(1, st));
    EXPECT_EQ(st.kolom, 1u);
    EXPECT_EQ(Veld[5][1].bezet, SLANG) << "the head's cell must not be freed by the tail leaving it";
    EXPECT_EQ(SnakeCells().size(), 40u);
}

TEST_F(Movement, SecondSnakeMayEnterTheCellTheFirstJustLeft)
{
    SetMode(Mode::TWO_SNAKES, 2);
    std::vector<SnakeState> st = LaySnakes({{10, 5}, {11, 2}}, {3, 3});  // 1: (10,6..8), 2: (11,3..5)
    ASSERT_TRUE(Step(1, st[1]));                                        // 1 covers (10,6..9)
    ASSERT_TRUE(Step(2, st[2]));                                        // 2's head at (11,6)
    ASSERT_EQ(Veld[10][6].bezet, SLANG);
    ASSERT_TRUE(Step(1, st[1]));  // snake 1 moves first and leaves (10,6)...
    Wimdows::SimulateKeyDown(87);  // W: player 2 up
    EXPECT_TRUE(Step(2, st[2])) << "...so snake 2 may go up into it in the same step";
    EXPECT_EQ(st[2].rij, 10u);
    EXPECT_EQ(st[2].kolom, 6u);
    EXPECT_EQ(Veld[10][6].bezet, SLANG);
}

TEST_F(Movement, NoSnakeWritesPastItsLastSlot)
{
    EmptyBoard(true);
    BlokRec sentinel{};
    sentinel.x1 = 12345;
    Slang[2][0] = sentinel;  // the slot right behind snake 1's last slot in memory
    for (uint32_t g : {1198u, 1199u}) {
        EmptyBoard(true);
        Slang[1][0] = Veld[5][2];
        for (uint32_t i = 1; i <= g + 1; i++)
            Slang[1][i] = Veld[5][3];
        Veld[5][2].bezet = SLANG;
        Veld[5][3].bezet = SLANG;
        PutKnurf(5, 4, NORMAAL);
        SnakeState st{5, 3, RECHTS, g};
        ASSERT_TRUE(Step(1, st)) << "grootte " << g;
        EXPECT_EQ(st.grootte, 1199u) << "grows up to 1199 (head in slot 1200), no further";
        EXPECT_EQ(Slang[1][1200].x1, Veld[5][4].x1);
        EXPECT_EQ(Slang[1][1199].x1, Veld[5][4].x1);
        EXPECT_EQ(Slang[2][0].x1, 12345u) << "grootte " << g << " wrote past slot 1200";
    }
}

// ---- turns pressed between steps ------------------------------------------------------------------------------

TEST_F(Movement, ATapReleasedBeforeTheStepStillTurns)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    ASSERT_TRUE(Step(1, st[1]));
    Tap(UP);
    EndOfBatch(st);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, BOVEN);
    EXPECT_EQ(st[1].rij, 9u);
    EXPECT_EQ(Wimdows::PollKey(), 0u) << "the typed-key queue is emptied";
}

TEST_F(Movement, TwoPressesWithinOneStepTurnOnePerStep)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    ASSERT_TRUE(Step(1, st[1]));
    Tap(UP);
    Tap(LEFT);
    EndOfBatch(st);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, BOVEN);
    EndOfBatch(st);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, LINKS) << "the second press turns in the next step";
    EndOfBatch(st);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, LINKS);
}

TEST_F(Movement, WaitingReversalsAndRepeatsAreDropped)
{
    PijlEn d = RECHTS;
    QueueTurn(1, LINKS, false);  // reversal of the direction seen
    EXPECT_FALSE(TakeTurn(1, d, false));
    EXPECT_EQ(d, RECHTS);

    QueueTurn(1, BOVEN, false);
    QueueTurn(1, BOVEN, false);  // auto-repeat
    QueueTurn(1, ONDER, false);  // reverses the waiting turn
    QueueTurn(1, LINKS, false);
    QueueTurn(1, ONDER, false);  // a third turn does not wait
    EXPECT_TRUE(TakeTurn(1, d, false));
    EXPECT_EQ(d, BOVEN);
    EXPECT_TRUE(TakeTurn(1, d, false));
    EXPECT_EQ(d, LINKS);
    EXPECT_FALSE(TakeTurn(1, d, false));
    EXPECT_EQ(d, LINKS);
}

TEST_F(Movement, ATurnTheHeldKeyAlreadyMadeIsSpent)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    ASSERT_TRUE(Step(1, st[1]));
    // Up pressed during the wait and still held at the step: the held key turns the snake.
    Wimdows::SimulateKeyDown(UP);
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_EQ(st[1].richting, BOVEN);
    // The press reaches the waiting turns only at the next batch; released, then right held.
    EndOfBatch(st);
    Wimdows::SimulateKeyUp(UP);
    Wimdows::SimulateKeyDown(RIGHT);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, RECHTS) << "the spent up turn gives way to the held key";
}

TEST_F(Movement, PressesAreJudgedByTheDirectionSeenWhenPressed)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    Wimdows::SimulateKeyDown(DOWN);
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_EQ(st[1].richting, ONDER);
    EndOfBatch(st);  // the down press; the snake goes down from here
    Wimdows::SimulateKeyUp(DOWN);
    // While going down the player brushes up (a reversal) and then holds left.
    Tap(UP);
    Wimdows::SimulateKeyDown(LEFT);
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_EQ(st[1].richting, LINKS) << "the held key";
    EndOfBatch(st);
    Wimdows::SimulateKeyUp(LEFT);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, LINKS) << "up was a reversal when pressed and must not turn the snake now";
}

TEST_F(Movement, WithoutWaitingTurnsTheHeldKeysRuleAsBefore)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    ASSERT_TRUE(Step(1, st[1]));
    EndOfBatch(st);
    Wimdows::SimulateKeyDown(LEFT);
    Wimdows::SimulateKeyDown(DOWN);
    Wimdows::FlushKeys();  // held since before the batch
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, RECHTS) << "links + onder held while going right";
}

TEST_F(Movement, EachPlayersPressesGoToTheirOwnTurns)
{
    SetMode(Mode::TWO_SNAKES, 2);
    std::vector<SnakeState> st = LaySnakes({{10, 5}, {20, 5}}, {4, 4});
    Tap(87);    // W: player 2 up
    Tap(UP);    // player 1 up
    Tap(DOWN);  // player 1 down: reverses its waiting turn, dropped
    Tap(65);    // A: player 2 left, after its up
    Tap(90);    // Z: nobody's key
    EndOfBatch(st);
    PijlEn d1 = RECHTS, d2 = RECHTS;
    EXPECT_TRUE(TakeTurn(1, d1, false));
    EXPECT_EQ(d1, BOVEN);
    EXPECT_FALSE(TakeTurn(1, d1, false));
    EXPECT_TRUE(TakeTurn(2, d2, false));
    EXPECT_EQ(d2, BOVEN);
    EXPECT_TRUE(TakeTurn(2, d2, false));
    EXPECT_EQ(d2, LINKS);
}

TEST_F(Movement, TheKnurfPlayersWaitingReversalStands)
{
    SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    Tap(65);  // A: left, the reverse of the block's start direction
    Tap(68);  // D: right again
    EndOfBatch(st);
    PijlEn d = RECHTS;
    EXPECT_TRUE(TakeTurn(2, d, true));
    EXPECT_EQ(d, LINKS);
    EXPECT_TRUE(TakeTurn(2, d, true));
    EXPECT_EQ(d, RECHTS);
    EXPECT_FALSE(TakeTurn(2, d, true));
}

// ---- what a step draws ---------------------------------------------------------------------------------------

// Ten colours, one per picture index of a snake's set, and a second set for player 2.
uint32_t PieceColour(int player, int index)
{
    return (uint32_t)(0x101010 * (index + 1)) + (player == 2 ? 0x000005 : 0x050000);
}

class SnakeDrawing : public Movement {
protected:
    BitmapsRec bitmaps{};

    void SetUp() override
    {
        Movement::SetUp();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE);
        Wimdows::SetBuffering(true);
        Wimdows::ClearScreen();
        for (int p = 1; p <= 2; p++)
            for (int i = 0; i < 10; i++) {
                std::string file = "bitmap/piece" + std::to_string(p) + "_" + std::to_string(i) + ".bmp";
                PlayFolder::WriteBmp(file, 20, 20, PieceColour(p, i));
                (p == 1 ? bitmaps.speler1 : bitmaps.speler2)[i] = Wimdows::LoadBitmap(file.c_str(), 20, 20);
            }
    }
    void TearDown() override
    {
        Wimdows::KillWindow();
        Movement::TearDown();
    }

    // The picture index drawn on cell (r, k) for player p, or -1 for black, -2 for something else.
    static int PieceOn(int p, uint32_t r, uint32_t k)
    {
        uint32_t c = Wimdows::BufferPixel((int)Veld[r][k].x1 + 10, (int)Veld[r][k].y1 + 10);
        if (c == 0)
            return -1;
        for (int i = 0; i < 10; i++)
            if (c == PieceColour(p, i))
                return i;
        return -2;
    }
};

TEST_F(SnakeDrawing, PictureForEachPairOfDirections)
{
    // entered, left, expected picture (-1: nothing drawn)
    struct Case {
        PijlEn in, out;
        bool kop;
        int picture;
    };
    const Case cases[] = {
        {RECHTS, RECHTS, false, 0}, {LINKS, LINKS, false, 0},  {BOVEN, BOVEN, false, 9},  {ONDER, ONDER, false, 9},
        {BOVEN, BOVEN, true, 3},    {RECHTS, RECHTS, true, 4}, {LINKS, LINKS, true, 5},   {ONDER, ONDER, true, 6},
        {RECHTS, ONDER, false, 1},  {BOVEN, LINKS, false, 1},  {LINKS, ONDER, false, 2},  {BOVEN, RECHTS, false, 2},
        {RECHTS, BOVEN, false, 7},  {ONDER, LINKS, false, 7},  {LINKS, BOVEN, false, 8},  {ONDER, RECHTS, false, 8},
        {RECHTS, BOVEN, true, 7},   {LINKS, RECHTS, false, -1}, {BOVEN, ONDER, true, -1},
    };
    BlokRec slang[3] = {};
    for (const Case &c : cases) {
        Wimdows::ClearScreen();
        slang[1] = Veld[6][6];
        TekenBitmapSlang(c.in, c.out, 1, slang, bitmaps.speler1, c.kop);
        EXPECT_EQ(PieceOn(1, 6, 6), c.picture) << "entered " << (int)c.in << ", left " << (int)c.out;
    }
}

TEST_F(SnakeDrawing, GameStartLaysSnakesRightOfTheirFirstStartCell)
{
    SetMode(Mode::ONE_PLAYER, 2);
    Veld[5][10].bezet = MUUR;  // the first start cell stays as the level left it
    BlokRec untouched{};
    untouched.x1 = 777;
    for (uint32_t i = 0; i < SLANGSLOTS; i++)
        Slang[2][i] = untouched;
    std::vector<SnakeState> st = LaySnakes({{5, 10}, {8, 3}}, {4, 4}, bitmaps);
    EXPECT_EQ(SnakeCells(), (std::vector<std::string>{"5,11", "5,12", "5,13", "5,14"}));
    EXPECT_EQ(Veld[5][10].bezet, MUUR);
    EXPECT_EQ(PieceOn(1, 5, 11), 0);
    EXPECT_EQ(PieceOn(1, 5, 13), 0);
    EXPECT_EQ(PieceOn(1, 5, 14), 4);
    EXPECT_EQ(PieceOn(1, 5, 10), -1);
    EXPECT_EQ(Slang[1][1].x1, 200u);
    EXPECT_EQ(Slang[1][4].x1, 260u);
    EXPECT_EQ(Slang[1][5].x1, 260u) << "slot grootte + 1 holds a copy of the head";
    EXPECT_EQ(PieceOn(2, 8, 4), -1) << "one player: snake 2 is not laid";
    for (uint32_t i = 0; i < SLANGSLOTS; i++)
        ASSERT_EQ(Slang[2][i].x1, 777u) << "slot " << i << " of snake 2 touched";

    SetMode(Mode::TWO_SNAKES, 2);
    EmptyBoard(true);
    LaySnakes({{5, 10}, {8, 3}}, {4, 2}, bitmaps);
    EXPECT_EQ(PieceOn(2, 8, 4), 0);
    EXPECT_EQ(PieceOn(2, 8, 5), 4);
    EXPECT_EQ(Count(SLANG), 6);
}

TEST_F(SnakeDrawing, AStepRedrawsThePreviousHeadAndPaintsTheTailBlack)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4}, bitmaps);
    ASSERT_TRUE(Step(1, st[1], bitmaps));  // head (10,10); the first step drops nothing
    EXPECT_EQ(PieceOn(1, 10, 6), 0);
    EXPECT_EQ(PieceOn(1, 10, 9), 0) << "the previous head is a straight piece now";
    EXPECT_EQ(PieceOn(1, 10, 10), 4);
    Wimdows::SimulateKeyDown(UP);
    ASSERT_TRUE(Step(1, st[1], bitmaps));
    EXPECT_EQ(PieceOn(1, 10, 6), -1) << "the tail cell is painted black";
    EXPECT_EQ(PieceOn(1, 10, 10), 7) << "entered right, left up";
    EXPECT_EQ(PieceOn(1, 9, 10), 3) << "head moving up";
}

TEST_F(SnakeDrawing, PlayerTwoDrawsWithTheSecondSet)
{
    SetMode(Mode::TWO_SNAKES, 2);
    std::vector<SnakeState> st = LaySnakes({{10, 5}, {20, 5}}, {4, 4}, bitmaps);
    ASSERT_TRUE(Step(2, st[2], bitmaps));
    EXPECT_EQ(PieceOn(2, 20, 10), 4);
    EXPECT_EQ(PieceOn(2, 20, 9), 0);
    EXPECT_EQ(PieceOn(1, 10, 9), 4) << "snake 1 untouched";
}

TEST_F(SnakeDrawing, EatingPaintsTheBlockAwayBeforeTheHeadGoesOn)
{
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4}, bitmaps);
    PutKnurf(10, 10, SNELLER);
    PlayFolder::WriteBmp("bitmap/knurf.bmp", 20, 20, 0x00FFFF);
    Wimdows::DrawBitmap(Wimdows::LoadBitmap("bitmap/knurf.bmp", 20, 20), 180, 180);
    ASSERT_TRUE(Step(1, st[1], bitmaps));
    EXPECT_EQ(PieceOn(1, 10, 10), 4);
}

}  // namespace
