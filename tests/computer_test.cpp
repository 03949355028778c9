// The computer's snake, headless: the direction it chooses on boards laid out by hand, at each difficulty.
#include <gtest/gtest.h>

#include <cstring>

#include <functional>
#include <string>
#include <vector>

#include "support/gameboard.h"

using namespace GameBoard;

namespace {

const char *NAMES[4] = {"left", "right", "up", "down"};

// Asks the computer to steer snake s (states indexed by player) on the board as it stands; the game's
// random numbers are checked to be left alone.
PijlEn Ask(uint32_t s, const std::vector<SnakeState> &st, int32_t diff) {
    RijEnKolomRec positie[3] = {};
    PijlEn richting[3] = {RECHTS, RECHTS, RECHTS};
    uint32_t grootte[3] = {};
    for (uint32_t p = 1; p < st.size() && p <= 2; p++) {
        positie[p] = RijEnKolomRec{st[p].rij, st[p].kolom};
        richting[p] = st[p].richting;
        grootte[p] = st[p].grootte;
    }
    ComputerNieuwSpel(7);
    SyncSettings();
    Spel.Diff = diff;
    for (uint32_t p = 1; p <= 2; p++) {
        Spel.positie[p] = positie[p];
        Spel.richting[p] = richting[p];
        Spel.grootte[p] = grootte[p];
    }
    Spel.random.pseudoSeed = 94;
    const ToestandRec before = Spel;
    PijlEn d = ComputerRichting(Spel, s);
    EXPECT_EQ(0, std::memcmp(&before, &Spel, sizeof before)) << "the computer changed the game";
    return d;
}

// Snake 1 laid at the game start along row r from column k + 1, its head at k + length, going right.
std::vector<SnakeState> Lay(uint32_t r, uint32_t k, uint32_t length) { return LaySnakes({{r, k}}, {length}); }

// Head (10,9) going right, the cells ahead and above closed by what, a knurf block up and ahead as bait.
std::vector<SnakeState> ClosedAheadAndAbove(BezetEn what, SoortBlokjeEn soort) {
    EmptyBoard(true);
    std::vector<SnakeState> st = Lay(10, 5, 4);
    for (RijEnKolomRec c : {RijEnKolomRec{10, 10}, RijEnKolomRec{9, 9}}) {
        Veld[c.rij][c.kolom].bezet = what;
        Veld[c.rij][c.kolom].soortblokje = soort;
    }
    PutKnurf(8, 12, NORMAAL);
    return st;
}

// Head (15,8) facing a wall; on one side a dead end of two cells with a knurf block in it, on the other
// the open board.
std::vector<SnakeState> Fork(bool deadEndAbove) {
    EmptyBoard(true);
    std::vector<SnakeState> st = Lay(15, 2, 6);
    int side = deadEndAbove ? -1 : 1;
    uint32_t r1 = (uint32_t)(15 + side), r2 = (uint32_t)(15 + 2 * side), r3 = (uint32_t)(15 + 3 * side);
    Veld[15][9].bezet = MUUR;
    for (RijEnKolomRec c :
         {RijEnKolomRec{r1, 7}, RijEnKolomRec{r1, 9}, RijEnKolomRec{r2, 7}, RijEnKolomRec{r2, 9}, RijEnKolomRec{r3, 8}})
        Veld[c.rij][c.kolom].bezet = MUUR;
    PutKnurf(r2, 8, NORMAAL);
    return st;
}

class Computer : public ::testing::Test {
protected:
    void SetUp() override { StartTest(); }
    void TearDown() override { EndTest(); }
};

TEST_F(Computer, ChoosesAMoveThatAPlayerWouldCallRight) {
    struct Case {
        std::string what;
        std::function<std::vector<SnakeState>()> board;
        std::vector<int32_t> diffs;
        std::vector<PijlEn> allowed;
        uint32_t snake = 1;  // the computer's
    };
    const std::vector<Case> cases = {
        {"never reverses, not even towards a knurf block right behind it",
         [] {
             EmptyBoard(true);
             std::vector<SnakeState> st = Lay(10, 5, 1);  // one cell: the cell behind the head is free
             PutKnurf(10, 5, NORMAAL);
             return st;
         },
         {1, 2, 3},
         {RECHTS, BOVEN, ONDER}},
        {"a wall ahead and above", [] { return ClosedAheadAndAbove(MUUR, NORMAAL); }, {1, 2, 3}, {ONDER}},
        {"a snake ahead and above", [] { return ClosedAheadAndAbove(SLANG, NORMAAL); }, {1, 2, 3}, {ONDER}},
        {"a blue knurf block ahead and above", [] { return ClosedAheadAndAbove(BLOKJE, GIFTIG); }, {1, 2, 3}, {ONDER}},
        {"its own tail is still there in this step",
         [] {
             // Tail (10,10), (10,11), (11,11), head (11,10) going left, a wall to its left.
             EmptyBoard(true);
             const RijEnKolomRec cells[5] = {{10, 10}, {10, 11}, {11, 11}, {11, 10}, {11, 10}};
             for (int i = 0; i < 5; i++) {
                 Slang[1][i] = Veld[cells[i].rij][cells[i].kolom];
                 Veld[cells[i].rij][cells[i].kolom].bezet = SLANG;
             }
             Veld[11][9].bezet = MUUR;
             PutKnurf(9, 10, NORMAAL);
             return std::vector<SnakeState>{{}, {11, 10, LINKS, 3}};
         },
         {1, 2, 3},
         {ONDER}},
        {"the shorter way to a knurf block is across the open edge",
         [] {
             EmptyBoard(false);
             std::vector<SnakeState> st = Lay(2, 17, 3);  // head (2,20)
             PutKnurf(29, 20, NORMAAL);                   // 3 steps up across the edge, 27 down
             return st;
         },
         {2, 3},
         {BOVEN}},
        {"a fork: the open board below, not the dead end above", [] { return Fork(true); }, {2, 3}, {ONDER}},
        {"a fork: the open board above, not the dead end below", [] { return Fork(false); }, {2, 3}, {BOVEN}},
        {"snake 2 leaves the nearest knurf block to snake 1, which gets there first",
         [] {
             SetMode(Mode::TWO_SNAKES, 2);
             EmptyBoard(true);
             std::vector<SnakeState> st = LaySnakes({{10, 2}, {16, 2}}, {3, 3});  // heads (10,5), (16,5)
             PutKnurf(12, 5, NORMAAL);                                            // 2 steps for snake 1, 4 for snake 2
             PutKnurf(24, 5, NORMAAL);                                            // 8 steps for snake 2
             return st;
         },
         {2, 3},
         {ONDER},
         2},
    };
    for (const Case &c : cases) {
        for (int32_t diff : c.diffs) {
            SetMode(Mode::ONE_PLAYER, 2);
            std::vector<SnakeState> st = c.board();
            PijlEn d = Ask(c.snake, st, diff);
            bool ok = false;
            for (PijlEn a : c.allowed) ok = ok || d == a;
            EXPECT_TRUE(ok) << c.what << " (difficulty " << diff << "): went " << NAMES[d];
        }
    }
}

}  // namespace
