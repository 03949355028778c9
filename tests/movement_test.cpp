// Snake movement: held keys and presses between steps, the cell rules, eating with points, growth and
// speed-up, the edge crossing, the slot limit, and the pictures a snake is drawn with.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/SnakePieces.h"
#include "support/gameboard.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"

using namespace GameBoard;

namespace {

const uint32_t LEFT = Wimdows::KEY_LEFT, UP = Wimdows::KEY_UP, RIGHT = Wimdows::KEY_RIGHT, DOWN = Wimdows::KEY_DOWN;

class Movement : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;

    void SetUp() override {
        StartTest();
        Spel.DelaySnake = 150;
        EmptyBoard(true);
    }
    void TearDown() override { EndTest(); }
    // The typed keys taken into the waiting turns, as the game does after a step's wait; p1 and p2 are the
    // directions shown during the wait.
    static void Batch(PijlEn p1, PijlEn p2 = RECHTS) {
        BesturingRec keys[3];
        AllKeys(keys);
        Spel.richting[1] = p1;
        Spel.richting[2] = p2;
        InvoerRec in{};
        QueueTypedKeys(Spel, in, keys);
        JoinTurns(in);
    }
};

TEST_F(Movement, HeldKeysPickByPriorityThenASnakeCannotReverse) {
    BesturingRec keys[3];
    AllKeys(keys);
    struct Case {
        std::vector<uint32_t> held;
        PijlEn before;
        bool blokje;
        PijlEn after;
    };
    for (const Case &c :
         {Case{{LEFT, DOWN}, RECHTS, false, RECHTS},  // left wins, then is undone
          Case{{LEFT, DOWN}, BOVEN, false, LINKS}, Case{{UP, RIGHT}, ONDER, false, RECHTS},
          Case{{UP, DOWN}, LINKS, false, BOVEN}, Case{{}, BOVEN, false, BOVEN}, Case{{LEFT}, RECHTS, true, LINKS}}) {
        ReleaseAllKeys();
        for (uint32_t k : c.held) Wimdows::SimulateKeyDown(k);
        PijlEn d = c.before;
        InvoerRec in{};
        HeldKeys(Spel, in, keys);
        RichtingBepalen(d, in, 1, c.blokje);
        EXPECT_EQ(d, c.after) << "from " << (int)c.before << " with " << c.held.size() << " keys";
    }
}

TEST_F(Movement, CellAheadDecidesBetweenMovingEatingAndCrashing) {
    struct Case {
        BezetEn bezet;
        SoortBlokjeEn soort;
        bool moves;
        int32_t points, delay;
        uint32_t grootte;
        int knurfs;  // BLOKJE cells afterwards, besides the one at (20,20)
    };
    Diff = 3;
    // Inside the board, and across an edge without a wall: the cell the head comes in on has the same rules.
    for (bool edge : {false, true}) {
        for (Case c : {Case{MUUR, NORMAAL, false, 0, 150, 4, 0}, Case{SLANG, NORMAAL, false, 0, 150, 4, 0},
                       Case{MANUEEL_BLOKJE, NORMAAL, false, 0, 150, 4, 0}, Case{BLOKJE, GIFTIG, false, 0, 150, 4, 1},
                       Case{ONBEZET, NORMAAL, true, 0, 150, 4, 0}, Case{BLOKJE, NORMAAL, true, 300, 150, 5, 1},
                       Case{BLOKJE, SNELLER, true, 300, 120, 5, 0}}) {
            EmptyBoard(!edge);
            Score[1] = 0;
            Spel.DelaySnake = 150;
            // (10,6)..(10,9) heading for (10,10); at the edge (10,37)..(10,40) heading for (10,1).
            const uint32_t from = edge ? 40 : 9, to = edge ? 1 : 10;
            std::vector<SnakeState> st = LaySnakes({{10, from - 4}}, {4});
            PutKnurf(20, 20, NORMAAL);
            Veld[10][to].bezet = c.bezet;
            Veld[10][to].soortblokje = c.soort;
            BlokRec before[SLANGSLOTS];
            std::memcpy(before, Slang[1], sizeof before);
            std::string what = std::string(edge ? "across the edge, " : "") + "cell holds " + std::to_string(c.bezet) +
                               "/" + std::to_string(c.soort);

            EXPECT_EQ(Step(1, st[1]), c.moves) << what;
            EXPECT_EQ(st[1].kolom, c.moves ? to : from) << what;
            EXPECT_EQ(st[1].rij, 10u) << what;
            EXPECT_EQ(Score[1], c.points) << what;
            EXPECT_EQ(Spel.DelaySnake, c.delay) << what;
            EXPECT_EQ(st[1].grootte, c.grootte) << what;
            EXPECT_EQ(Count(BLOKJE), c.knurfs + 1) << what << ": an eaten ordinary block is replaced";
            if (c.moves)
                EXPECT_EQ(Veld[10][to].bezet, SLANG) << what;
            else
                EXPECT_EQ(0, std::memcmp(before, Slang[1], sizeof before)) << what << ": a crash changes no slot";
        }
    }
}

TEST_F(Movement, FasterBlocksSpeedUpByTheTableDownToAFloor) {
    struct Case {
        int32_t diff, before, after;
    };
    for (Case c : {Case{2, 150, 130}, Case{2, 90, 70}, Case{2, 80, 65}, Case{1, 210, 200}, Case{3, 81, 51},
                   Case{2, 50, 40}, Case{3, 40, 40}}) {
        EmptyBoard(true);
        Diff = c.diff;
        Spel.DelaySnake = c.before;
        std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
        PutKnurf(10, 10, SNELLER);
        ASSERT_TRUE(Step(1, st[1]));
        EXPECT_EQ(Spel.DelaySnake, c.after) << "Diff " << c.diff << " from " << c.before;
        EXPECT_EQ(Score[1], c.diff * 100);
        Score[1] = 0;
    }
}

TEST_F(Movement, GrowthShowsWhenTheDoubledCellReachesTheTail) {
    // grootte 3 covers four cells after the first step; eating in step n = 3 keeps four cells up to step
    // n + 3, and in step n + 4 the tail stays put.
    std::vector<SnakeState> st = LaySnakes({{10, 2}}, {3});
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Cells(SLANG), (std::vector<std::string>{"10,4", "10,5", "10,6", "10,7"}));
    PutKnurf(10, 8, NORMAAL);
    ASSERT_TRUE(Step(1, st[1]));
    std::vector<std::string> tails;
    std::vector<size_t> lengths;
    for (int i = 1; i <= 5; i++) {
        ASSERT_TRUE(Step(1, st[1]));
        tails.push_back(Cells(SLANG).front());
        lengths.push_back(Cells(SLANG).size());
    }
    EXPECT_EQ(tails, (std::vector<std::string>{"10,6", "10,7", "10,8", "10,8", "10,9"}));
    EXPECT_EQ(lengths, (std::vector<size_t>{4, 4, 4, 5, 5}));
}

TEST_F(Movement, TheSecondDropOfAGrownCellLeavesWhatCameThereAlone) {
    // The doubled cell (10, 7) is freed when it first reaches the tail; a knurf block placed there in that
    // step must survive the step in which the tail stays put.
    std::vector<SnakeState> st = LaySnakes({{10, 2}}, {3});
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_TRUE(Step(1, st[1]));
    PutKnurf(10, 8, NORMAAL);
    for (int i = 0; i < 4; i++) ASSERT_TRUE(Step(1, st[1]));
    ASSERT_EQ(Veld[10][7].bezet, ONBEZET);
    PutKnurf(10, 7, GIFTIG);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Veld[10][7].bezet, BLOKJE) << "the knurf block on the grown cell was wiped out";
    EXPECT_EQ(Cells(SLANG).front(), "10,8") << "the tail stays in place in this step";
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(Cells(SLANG).front(), "10,9");
    EXPECT_EQ(Veld[10][7].bezet, BLOKJE);
}

TEST_F(Movement, TheTailCellThisStepWouldFreeStillBlocks) {
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {3});  // four cells after the first step
    ASSERT_TRUE(Step(1, st[1]));
    for (uint32_t key : {DOWN, LEFT}) {
        Wimdows::SimulateKeyDown(key);
        ASSERT_TRUE(Step(1, st[1]));
        Wimdows::SimulateKeyUp(key);
    }
    Wimdows::SimulateKeyDown(UP);
    EXPECT_FALSE(Step(1, st[1])) << "(10,8) is the tail";
    EXPECT_EQ(st[1].richting, BOVEN) << "a crashed snake keeps its new direction";
}

TEST_F(Movement, AcrossTheEdgeASnakeMeetsItsBodyAndTheOtherHead) {
    // Up, left, down near row 1: out over the top, along row 30, and back in over the bottom onto its own
    // body at (1,7).
    EmptyBoard(false);
    std::vector<SnakeState> st = LaySnakes({{1, 4}}, {4});  // (1,5)..(1,8)
    ASSERT_TRUE(Step(1, st[1]));                            // head (1,9)
    for (uint32_t key : {UP, LEFT}) {
        Wimdows::SimulateKeyDown(key);
        ASSERT_TRUE(Step(1, st[1]));
        Wimdows::SimulateKeyUp(key);
    }
    Wimdows::SimulateKeyDown(DOWN);
    EXPECT_FALSE(Step(1, st[1])) << "(1,8) is the snake's own body";
    Wimdows::SimulateKeyUp(DOWN);
    EXPECT_EQ(st[1].rij, 30u) << "a crashed head stays where it was";

    // Head on across the edge: snake 1 comes in on snake 2's head and crashes, snake 2 on snake 1's, in the
    // same step.
    EmptyBoard(false);
    SetMode(Mode::TWO_SNAKES, 2);
    st = LaySnakes({{5, 36}, {6, 2}}, {4, 4});  // heads (5,40) and (6,6)
    st[2] = SnakeState{5, 1, LINKS, 4};
    Veld[5][1].bezet = SLANG;
    Slang[2][4] = Slang[2][5] = Veld[5][1];
    EXPECT_FALSE(Step(1, st[1]));
    EXPECT_FALSE(Step(2, st[2]));
}

TEST_F(Movement, NoSnakeWritesPastItsLastSlot) {
    for (uint32_t g : {1198u, 1199u}) {
        EmptyBoard(true);
        Slang[2][0] = BlokRec{12345, 0, 0, 0, 0, MUUR, NORMAAL, false, false};  // right behind slot 1200
        Slang[1][0] = Veld[5][2];
        for (uint32_t i = 1; i <= g + 1; i++) Slang[1][i] = Veld[5][3];
        Veld[5][2].bezet = Veld[5][3].bezet = SLANG;
        PutKnurf(5, 4, NORMAAL);
        SnakeState st{5, 3, RECHTS, g};
        ASSERT_TRUE(Step(1, st)) << "grootte " << g;
        EXPECT_EQ(st.grootte, 1199u) << "grows to 1199 (head in slot 1200) and no further";
        EXPECT_EQ(Slang[1][1200].x1, Veld[5][4].x1);
        EXPECT_EQ(Slang[2][0].x1, 12345u) << "grootte " << g << " wrote past slot 1200";
    }
}

// ---- presses between steps ---------------------------------------------------------------------------------

TEST_F(Movement, TapsBetweenStepsTurnTheSnakeOnePerStepInOrder) {
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    ASSERT_TRUE(Step(1, st[1]));
    Tap(UP);  // released long before the step
    Tap(LEFT);
    Batch(st[1].richting);
    EXPECT_EQ(Wimdows::PollKey(), 0u) << "the typed-key queue is emptied";
    std::vector<PijlEn> taken;
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(Step(1, st[1]));
        taken.push_back(st[1].richting);
        Batch(st[1].richting);
    }
    EXPECT_EQ(taken, (std::vector<PijlEn>{BOVEN, LINKS, LINKS}));
}

TEST_F(Movement, StopKeysAreNoTurnsAndEndTheBatch) {
    using Wimdows::KEY_ESCAPE;
    using Wimdows::KEY_P;
    const uint32_t stops[2] = {KEY_P, KEY_ESCAPE};
    BesturingRec keys[3];
    AllKeys(keys);
    InvoerRec in{};
    Tap(UP);
    Tap(KEY_ESCAPE);
    Tap(LEFT);
    Tap(KEY_ESCAPE);
    EXPECT_EQ(QueueTypedKeys(Spel, in, keys, stops, 2), 2u) << "only Escape was typed";
    EXPECT_EQ(Wimdows::PollKey(), 0u) << "the whole queue is emptied";
    JoinTurns(in);
    PijlEn d = RECHTS;
    std::vector<PijlEn> taken;
    while (TakeTurn(Spel, 1, d, false)) taken.push_back(d);
    EXPECT_EQ(taken, (std::vector<PijlEn>{BOVEN})) << "the press after the stop key is dropped";

    Tap(KEY_P);
    Tap(KEY_ESCAPE);
    EXPECT_EQ(QueueTypedKeys(Spel, in, keys, stops, 2), 3u);
    Tap(KEY_P);
    EXPECT_EQ(QueueTypedKeys(Spel, in, keys), 0u) << "without stop keys P is just another key";
}

TEST_F(Movement, WaitingTurnsDropRepeatsReversalsAndAThirdTurn) {
    PijlEn d = RECHTS;
    InvoerRec in{};
    for (PijlEn p : {LINKS, BOVEN, BOVEN, ONDER, LINKS, ONDER}) QueueTurn(Spel, in, 1, p, false);
    // The knurf block may reverse: both its presses wait.
    QueueTurn(Spel, in, 2, LINKS, true);
    QueueTurn(Spel, in, 2, RECHTS, true);
    JoinTurns(in);
    std::vector<PijlEn> taken;
    while (TakeTurn(Spel, 1, d, false)) taken.push_back(d);
    EXPECT_EQ(taken, (std::vector<PijlEn>{BOVEN, LINKS}));

    d = RECHTS;
    ASSERT_TRUE(TakeTurn(Spel, 2, d, true));
    EXPECT_EQ(d, LINKS);
    ASSERT_TRUE(TakeTurn(Spel, 2, d, true));
    EXPECT_EQ(d, RECHTS);
}

TEST_F(Movement, PressesAreJudgedByTheDirectionShownWhenTheyWereMade) {
    // As the game does: the presses of a wait are taken in after it, before the step's move.
    std::vector<SnakeState> st = LaySnakes({{10, 5}}, {4});
    Wimdows::SimulateKeyDown(DOWN);  // pressed and held through the wait
    Batch(st[1].richting);
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_EQ(st[1].richting, ONDER);
    Wimdows::SimulateKeyUp(DOWN);
    Tap(UP);  // a reversal while going down
    Tap(LEFT);
    Batch(st[1].richting);
    ASSERT_TRUE(Step(1, st[1]));
    ASSERT_EQ(st[1].richting, LINKS);
    Batch(st[1].richting);
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, LINKS) << "up was a reversal when pressed and must not turn the snake now";

    Wimdows::SimulateKeyDown(RIGHT);  // held since before the batch, so no waiting turn
    Wimdows::SimulateKeyDown(DOWN);
    Wimdows::FlushKeys();
    ASSERT_TRUE(Step(1, st[1]));
    EXPECT_EQ(st[1].richting, LINKS) << "right beats down and is undone as a reversal";
}

// ---- drawing ----------------------------------------------------------------------------------------------

uint32_t PieceColour(int player, int index) {
    return (uint32_t)(0x101010 * (index + 1)) + (player == 2 ? 5 : 0x050000);
}

class SnakeDrawing : public Movement {
protected:
    BitmapsRec bitmaps{};
    void SetUp() override {
        Movement::SetUp();
        ASSERT_TRUE(GameWindow::Open());
        for (int p = 1; p <= 2; p++)
            for (int i = 0; i < 10; i++) {
                std::string file = "bitmap/piece" + std::to_string(p) + std::to_string(i) + ".bmp";
                PlayFolder::WriteBmp(file, 20, 20, PieceColour(p, i));
                (p == 1 ? bitmaps.speler1 : bitmaps.speler2)[i] = Wimdows::LoadBitmap(file.c_str(), 20, 20);
            }
    }
    void TearDown() override {
        Wimdows::KillWindow();
        Movement::TearDown();
    }
    // The picture index on cell (r, k) in player p's set; -1 black, -2 anything else.
    static int PieceOn(int p, uint32_t r, uint32_t k) {
        uint32_t c = Wimdows::BufferPixel((int)Veld[r][k].x1 + 10, (int)Veld[r][k].y1 + 10);
        for (int i = 0; i < 10; i++)
            if (c == PieceColour(p, i)) return i;
        return c == 0 ? -1 : -2;
    }
};

TEST_F(SnakeDrawing, PictureForEachPairOfDirections) {
    struct Case {
        PijlEn in, out;
        bool kop;
        int picture;
    };
    using namespace SnakePieces;
    for (Case c : {Case{RECHTS, RECHTS, false, HORIZONTAL}, Case{BOVEN, BOVEN, false, VERTICAL},
                   Case{BOVEN, BOVEN, true, HEAD_UP}, Case{RECHTS, RECHTS, true, HEAD_RIGHT},
                   Case{LINKS, LINKS, true, HEAD_LEFT}, Case{ONDER, ONDER, true, HEAD_DOWN},
                   Case{RECHTS, ONDER, false, LEFT_DOWN}, Case{BOVEN, LINKS, false, LEFT_DOWN},
                   Case{LINKS, ONDER, false, RIGHT_DOWN}, Case{BOVEN, RECHTS, false, RIGHT_DOWN},
                   Case{RECHTS, BOVEN, true, TOP_LEFT}, Case{ONDER, LINKS, false, TOP_LEFT},
                   Case{LINKS, BOVEN, false, TOP_RIGHT}, Case{ONDER, RECHTS, false, TOP_RIGHT},
                   Case{LINKS, RECHTS, false, -1}}) {
        Wimdows::ClearScreen();
        GebeurtenissenRec &events = Events();
        events.aantal = 1;
        events.lijst[0] = GebeurtenisRec{
            G_SLANG_STUK, 1, (uint8_t)For(c.in, c.out, c.kop), NORMAAL, OORZAAK_GEEN, false, false, {6, 6}, {0, 0}, 0};
        TekenGebeurtenissen(Spel, events, bitmaps);
        EXPECT_EQ(PieceOn(1, 6, 6), c.picture) << "entered " << (int)c.in << ", left " << (int)c.out;
    }
}

TEST_F(SnakeDrawing, GameStartLayoutAndTheStepsAfterIt) {
    Veld[5][10].bezet = MUUR;  // the first start cell stays as the level left it
    Slang[2][7].x1 = 777;
    std::vector<SnakeState> st = LaySnakes({{5, 10}, {8, 3}}, {4, 4}, bitmaps);
    EXPECT_EQ(Cells(SLANG), (std::vector<std::string>{"5,11", "5,12", "5,13", "5,14"}));
    EXPECT_EQ(Veld[5][10].bezet, MUUR);
    EXPECT_EQ((std::vector<int>{PieceOn(1, 5, 10), PieceOn(1, 5, 11), PieceOn(1, 5, 13), PieceOn(1, 5, 14)}),
              (std::vector<int>{-1, 0, 0, 4}));
    EXPECT_EQ(Slang[1][5].x1, Slang[1][4].x1) << "slot grootte + 1 holds a copy of the head";
    EXPECT_EQ(Slang[2][7].x1, 777u) << "one player: snake 2 is not laid";

    ASSERT_TRUE(Step(1, st[1], bitmaps));  // the first step drops no tail
    EXPECT_EQ((std::vector<int>{PieceOn(1, 5, 11), PieceOn(1, 5, 14), PieceOn(1, 5, 15)}), (std::vector<int>{0, 0, 4}));
    Wimdows::SimulateKeyDown(UP);
    ASSERT_TRUE(Step(1, st[1], bitmaps));
    EXPECT_EQ((std::vector<int>{PieceOn(1, 5, 11), PieceOn(1, 5, 15), PieceOn(1, 4, 15)}), (std::vector<int>{-1, 7, 3}))
        << "tail painted black, corner entered right and left up, head going up";

    SetMode(Mode::TWO_SNAKES, 2);
    EmptyBoard(true);
    LaySnakes({{5, 10}, {8, 3}}, {4, 2}, bitmaps);
    EXPECT_EQ((std::vector<int>{PieceOn(2, 8, 4), PieceOn(2, 8, 5)}), (std::vector<int>{0, 4})) << "snake 2, own set";
}

}  // namespace
