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
PijlEn Ask(uint32_t s, const std::vector<SnakeState> &st, int32_t diff, uint32_t zaad = 207) {
    RijEnKolomRec positie[3] = {};
    PijlEn richting[3] = {RECHTS, RECHTS, RECHTS};
    uint32_t grootte[3] = {};
    for (uint32_t p = 1; p < st.size() && p <= 2; p++) {
        positie[p] = RijEnKolomRec{st[p].rij, st[p].kolom};
        richting[p] = st[p].richting;
        grootte[p] = st[p].grootte;
    }
    ComputerNieuwSpel(zaad);  // 207: neither snake's first draws take a chance, the cases are about the decision
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

// Snake 1 laid slot by slot on the cells listed, tail first; its head the cell of slot grootte.
std::vector<SnakeState> LayCells(const std::vector<RijEnKolomRec> &cells, uint32_t grootte, PijlEn richting) {
    for (size_t i = 0; i < cells.size(); i++) {
        Slang[1][i] = Veld[cells[i].rij][cells[i].kolom];
        Veld[cells[i].rij][cells[i].kolom].bezet = SLANG;
    }
    return {{}, {cells[grootte].rij, cells[grootte].kolom, richting, grootte}};
}

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

// Snake 2 (the computer, moving second, length 4) heads right at (10,9) towards a corridor along row 10
// (walls on rows 9 and 11, columns 10..eind) with a knurf block in it as bait at column knurf; snake 1,
// length 10, comes down it from the east, head (10,kop) going left, and closes it behind the bait.
std::vector<SnakeState> Corridor(uint32_t eind, uint32_t knurf, uint32_t kop) {
    SetMode(Mode::SNAKE_AGAINST_COMPUTER, 3);
    EmptyBoard(true);
    std::vector<SnakeState> st = LaySnakes({{20, 2}, {10, 5}}, {10, 4});
    for (uint32_t k = 10; k <= eind; k++) Veld[9][k].bezet = Veld[11][k].bezet = MUUR;
    // Snake 1 laid again along row 10, going left.
    for (uint32_t i = 0; i <= 10; i++) {
        Veld[20][3 + i].bezet = ONBEZET;
        Slang[1][i] = Veld[10][kop + 10 - i];
        Veld[10][kop + 10 - i].bezet = SLANG;
    }
    st[1] = SnakeState{10, kop, LINKS, 10};
    PutKnurf(10, knurf, NORMAAL);
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
             std::vector<SnakeState> st = LayCells({{10, 10}, {10, 11}, {11, 11}, {11, 10}, {11, 10}}, 3, LINKS);
             Veld[11][9].bezet = MUUR;
             PutKnurf(9, 10, NORMAAL);
             return st;
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
        {"a fork: the open board below, not the dead end above", [] { return Fork(true); }, {1, 2, 3}, {ONDER}},
        {"a fork: the open board above, not the dead end below", [] { return Fork(false); }, {1, 2, 3}, {BOVEN}},
        // The faults of earlier versions, each a board it must survive.
        {"a blue block that wandered beside its way earlier is still kept at a distance",
         [] {
             EmptyBoard(true);
             std::vector<SnakeState> st = Lay(10, 5, 4);  // head (10,9)
             PutKnurf(9, 10, GIFTIG);
             PutKnurf(10, 14, NORMAAL);
             return st;
         },
         {3},
         {BOVEN, ONDER}},
        {"boxed in by its own body, it follows its tail out, not into the larger pocket",
         [] {
             // Head (10,9) going right in a pen of rows 10..12, columns 2..9, its body filling row 10;
             // ahead through (10,10) a pocket of 12 cells, below a way along its own tail.
             EmptyBoard(true);
             std::vector<SnakeState> st = Lay(10, 1, 8);
             WallAllBut({{10, 1},  {10, 2}, {10, 3}, {10, 4}, {10, 5}, {10, 6}, {10, 7}, {10, 8},  {10, 9},  {11, 2},
                         {11, 3},  {11, 4}, {11, 5}, {11, 6}, {11, 7}, {11, 8}, {11, 9}, {10, 10}, {10, 11}, {10, 12},
                         {10, 13}, {9, 10}, {9, 11}, {9, 12}, {9, 13}, {8, 10}, {8, 11}, {8, 12},  {8, 13}});
             return st;
         },
         {2, 3},
         {ONDER}},
        {"boxed in, it waits in the pocket beside its tail end for its body to clear, not the larger dead end",
         [] {
             // Head (10,21) going right against a wall, its body along row 10 from column 10; below a pocket
             // of 8 cells beside the body's last cells, above a closed pocket of 10.
             EmptyBoard(true);
             std::vector<SnakeState> st = Lay(10, 9, 12);
             std::vector<RijEnKolomRec> open;
             for (uint32_t k = 18; k <= 21; k++) open.insert(open.end(), {{11, k}, {12, k}});
             for (uint32_t r = 5; r <= 9; r++) open.insert(open.end(), {{r, 21}, {r, 22}});
             WallAllBut(open);
             return st;
         },
         {1, 2, 3},
         {ONDER}},
        {"its tail stands still ahead in the tube it would follow it into: it takes the open board",
         [] {
             // Tail (10,13) along row 10 to (10,20), standing still for a step at (10,15) (a knurf block
             // eaten), back along row 8 to its head (10,11) going down; the open board below.
             EmptyBoard(true);
             std::vector<RijEnKolomRec> body = {{10, 13}, {10, 14}, {10, 15}, {10, 15}, {10, 16},
                                                {10, 17}, {10, 18}, {10, 19}, {10, 20}, {9, 20}};
             for (uint32_t k = 20; k >= 11; k--) body.push_back({8, k});
             body.insert(body.end(), {{9, 11}, {10, 11}});
             std::vector<SnakeState> st = LayCells(body, (uint32_t)body.size() - 1, ONDER);
             std::vector<RijEnKolomRec> open = {{10, 12}};
             for (uint32_t r = 11; r <= 20; r++)
                 for (uint32_t k = 2; k <= (r == 11 ? 11u : 30u); k++) open.push_back({r, k});
             WallAllBut(open);
             return st;
         },
         {1, 2, 3},
         {ONDER}},
        {"moving second, it does not race the other snake's head to a knurf block beside both",
         [] {
             SetMode(Mode::SNAKE_AGAINST_COMPUTER, 2);
             EmptyBoard(true);
             // Snake 1's head (9,6) and snake 2's (10,5) both one step from the knurf block at (10,6).
             std::vector<SnakeState> st = LaySnakes({{9, 2}, {10, 1}}, {4, 4});
             PutKnurf(10, 6, NORMAAL);
             return st;
         },
         {1, 2, 3},
         {ONDER},
         2},
        {"against another snake it leaves a nearer faster knurf block for an ordinary one",
         [] {
             SetMode(Mode::SNAKE_AGAINST_COMPUTER, 2);
             EmptyBoard(true);
             std::vector<SnakeState> st = LaySnakes({{25, 2}, {10, 1}}, {3, 4});  // snake 2's head (10,5)
             PutKnurf(10, 8, SNELLER);
             PutKnurf(15, 5, NORMAAL);
             return st;
         },
         {2, 3},
         {ONDER},
         2},
        {"it stays out of a corridor that the other snake closes",
         [] { return Corridor(20, 15, 22); },
         {3},
         {BOVEN, ONDER},
         2},
        {"it stays out of a short corridor that the other head comes down",
         [] { return Corridor(13, 12, 15); },
         {2, 3},
         {BOVEN, ONDER},
         2},
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

// Easy, a beginner, now and then turns the wrong way or a step late, but only into a cell it can enter;
// in the narrow corridors of a maze it turns the wrong way more often, and there only medium does too.
TEST_F(Computer, MistakesItsWayMostInAMazeButNeverIntoAWall) {
    int wrong[2][3] = {};  // [in a maze][difficulty]
    for (uint32_t zaad = 1; zaad <= 40; zaad++) {
        EXPECT_EQ(ONDER, Ask(1, ClosedAheadAndAbove(MUUR, NORMAAL), 1, zaad)) << "seed " << zaad;
        for (int maze = 0; maze < 2; maze++)
            for (int32_t diff = 1; diff <= 2; diff++) {
                EmptyBoard(true);
                std::vector<SnakeState> st = Lay(10, 5, 4);  // head (10,9) going right, a knurf block straight above
                PutKnurf(5, 9, NORMAAL);
                // A crossing of corridors: walls in the four corners around the head; up, down and on open.
                if (maze)
                    for (uint32_t r : {8u, 9u, 11u, 12u})
                        for (uint32_t k : {7u, 8u, 10u, 11u})
                            if (r == 8 || r == 12 || k == 7 || k == 11) Veld[r][k].bezet = MUUR;
                wrong[maze][diff] += Ask(1, st, diff, zaad) == ONDER ? 1 : 0;
            }
    }
    EXPECT_TRUE(wrong[0][1] > 0 && wrong[0][1] < 20) << wrong[0][1] << " wrong turns in 40 on open ground";
    EXPECT_GT(wrong[1][1], 2 * wrong[0][1]) << "easy in a maze";
    EXPECT_TRUE(wrong[0][2] == 0 && wrong[1][2] > 0 && wrong[1][2] < wrong[1][1]) << "medium " << wrong[1][2];
}

}  // namespace
