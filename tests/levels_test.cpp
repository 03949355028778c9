// Loading levels: the cells and start runs read from the file, lines of odd lengths, the levels refused for
// the chosen mode, and the wall pictures drawn.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "support/gamemode.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

const char *const LEVEL_FILES[5] = {"savefiles/muur.txt", "savefiles/geenmuur.txt", "savefiles/smiley.txt",
                                    "savefiles/insane.txt", "savefiles/custom.txt"};

// 30 rows of 40 cells, free inside, with or without the wall all round.
std::vector<std::string> Grid(bool border) {
    std::vector<std::string> rows(30, std::string(40, '-'));
    if (border) {
        rows[0] = rows[29] = std::string(40, 'M');
        for (int r = 1; r < 29; r++) rows[r][0] = rows[r][39] = 'M';
    }
    return rows;
}

// Writes text into the grid from (row, column), both counted from 1.
void Put(std::vector<std::string> &rows, int row, int col, const std::string &text) {
    rows[row - 1].replace(col - 1, text.size(), text);
}

using GameMode::Mode;
inline void SetMode(Mode mode) { GameMode::Set(mode); }

int CountCells(BezetEn bezet) {
    int n = 0;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) n += Veld[r][k].bezet == bezet;
    return n;
}

class LevelLoad : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    uint32_t grootte[3] = {99, 99, 99};
    PijlEn richting[3] = {LINKS, LINKS, LINKS};
    RijEnKolomRec positie[3] = {{7, 7}, {7, 7}, {7, 7}};
    BitmapsRec bitmaps{};
    std::string console;

    void SetUp() override { SetMode(Mode::ONE_PLAYER); }

    void WriteLevel(uint32_t choice, const std::string &bytes) { PlayFolder::WriteBytes(LEVEL_FILES[choice], bytes); }
    void WriteLevel(uint32_t choice, const std::vector<std::string> &rows) {
        WriteLevel(choice, PlayFolder::CrLfLines(rows));
    }

    bool Load(uint32_t choice) {
        testing::internal::CaptureStdout();
        bool ok = LoadLevel(grootte, richting, positie, bitmaps, choice);
        console = testing::internal::GetCapturedStdout();
        return ok;
    }
};

TEST_F(LevelLoad, BorderLevelWithOneStartRun) {
    std::vector<std::string> rows = Grid(true);
    Put(rows, 10, 5, "SSSS");
    WriteLevel(0, rows);

    ASSERT_TRUE(Load(0));
    EXPECT_EQ(console, "\nLevel is loaded!");
    EXPECT_EQ(grootte[1], 4u);
    EXPECT_EQ(positie[1].rij, 10u);
    EXPECT_EQ(positie[1].kolom, 5u);
    EXPECT_EQ(grootte[2], 0u);
    EXPECT_EQ(positie[2].rij, 7u) << "a snake without start cells keeps its old position";
    EXPECT_EQ(positie[2].kolom, 7u);
    EXPECT_EQ(richting[1], RECHTS);
    EXPECT_EQ(richting[2], RECHTS);

    EXPECT_EQ(CountCells(MUUR), 136);
    EXPECT_EQ(CountCells(ONBEZET), 1200 - 136);
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            bool edge = r == 1 || r == 30 || k == 1 || k == 40;
            EXPECT_EQ(Veld[r][k].bezet, edge ? MUUR : ONBEZET) << "cell " << r << "," << k;
            EXPECT_EQ(Veld[r][k].x1, 20 * (k - 1));
            EXPECT_EQ(Veld[r][k].y1, 20 * (r - 1));
        }
}

TEST_F(LevelLoad, StartCellsCountWhereverTheyStand) {
    std::vector<std::string> rows = Grid(false);
    Put(rows, 3, 12, "SS");
    Put(rows, 20, 2, "S");
    Put(rows, 25, 30, "T");
    Put(rows, 6, 33, "T");
    Put(rows, 6, 35, "T");
    WriteLevel(2, rows);
    SetMode(Mode::TWO_SNAKES);

    ASSERT_TRUE(Load(2)) << console;
    EXPECT_EQ(grootte[1], 3u);
    EXPECT_EQ(positie[1].rij, 3u);
    EXPECT_EQ(positie[1].kolom, 12u);
    EXPECT_EQ(grootte[2], 3u);
    EXPECT_EQ(positie[2].rij, 6u) << "the first T in reading order is the topmost one";
    EXPECT_EQ(positie[2].kolom, 33u);
    EXPECT_EQ(Veld[3][12].bezet, ONBEZET) << "start cells stay free";
    EXPECT_EQ(Veld[25][30].bezet, ONBEZET);
    EXPECT_EQ(CountCells(MUUR), 0);
}

TEST_F(LevelLoad, OtherCharactersLeaveTheCellFreeAndOrdinary) {
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            Veld[r][k].bezet = SLANG;
            Veld[r][k].soortblokje = GIFTIG;
            Veld[r][k].BeginPosSlang = true;
            Veld[r][k].BeginPosSlang2 = true;
        }
    std::vector<std::string> rows = Grid(false);
    Put(rows, 2, 2, " mx\tsM");
    Put(rows, 12, 5, "SSSS");
    WriteLevel(1, rows);

    ASSERT_TRUE(Load(1)) << console;
    for (uint32_t k = 2; k <= 6; k++) {
        EXPECT_EQ(Veld[2][k].bezet, ONBEZET) << "column " << k;
        EXPECT_EQ(Veld[2][k].soortblokje, NORMAAL) << "column " << k << ": read as a free cell";
    }
    EXPECT_EQ(Veld[2][7].bezet, MUUR);
    EXPECT_EQ(Veld[2][7].soortblokje, GIFTIG);
    EXPECT_EQ(Veld[12][5].soortblokje, GIFTIG) << "a start cell keeps the knurf kind";
    EXPECT_EQ(Veld[2][1].soortblokje, NORMAAL);
    EXPECT_EQ(Veld[30][40].soortblokje, NORMAAL);
    EXPECT_EQ(CountCells(ONBEZET), 1199);
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            ASSERT_FALSE(Veld[r][k].BeginPosSlang || Veld[r][k].BeginPosSlang2) << "markers cleared";
    EXPECT_EQ(grootte[1], 4u);
}

TEST_F(LevelLoad, ShortAndLongLinesAreReadLineByLine) {
    std::vector<std::string> rows = Grid(false);
    rows[0] = std::string(40, 'M');
    rows[1] = "M";                                             // short: the rest of the row is free
    rows[2] = "M" + std::string(38, '-') + "M" + "SSSSSTTTT";  // long: the extra cells are ignored
    rows[3] = "";                                              // empty
    Put(rows, 5, 3, "SSSS");
    rows[6] = "-M-";
    WriteLevel(4, rows);

    ASSERT_TRUE(Load(4)) << console;
    EXPECT_EQ(Veld[2][1].bezet, MUUR);
    for (uint32_t k = 2; k <= KOLOMMEN; k++)
        ASSERT_EQ(Veld[2][k].bezet, ONBEZET) << "row 2, column " << k << " must not take row 1's wall";
    EXPECT_EQ(Veld[3][1].bezet, MUUR);
    EXPECT_EQ(Veld[3][40].bezet, MUUR);
    for (uint32_t k = 1; k <= KOLOMMEN; k++) {
        ASSERT_EQ(Veld[4][k].bezet, ONBEZET) << "row 4, column " << k;
        ASSERT_EQ(Veld[7][k].bezet, k == 2 ? MUUR : ONBEZET) << "row 7, column " << k;
    }
    EXPECT_EQ(grootte[1], 4u) << "the S beyond column 40 of row 3 does not count";
    EXPECT_EQ(grootte[2], 0u);
    EXPECT_EQ(positie[1].rij, 5u) << "the row after a long line is the next row";
    EXPECT_EQ(positie[1].kolom, 3u);
    EXPECT_EQ(CountCells(MUUR), 40 + 1 + 2 + 1);
}

TEST_F(LevelLoad, AnOverlongLineDoesNotShiftTheRowsAfterIt) {
    std::vector<std::string> rows = Grid(false);
    rows[1] = std::string(10000, 'M');
    Put(rows, 3, 6, "SSSS");
    rows[29] = std::string(40, 'M');
    WriteLevel(0, rows);

    ASSERT_TRUE(Load(0)) << console;
    for (uint32_t k = 1; k <= KOLOMMEN; k++) {
        ASSERT_EQ(Veld[2][k].bezet, MUUR);
        ASSERT_EQ(Veld[30][k].bezet, MUUR);
    }
    EXPECT_EQ(CountCells(MUUR), 80);
    EXPECT_EQ(positie[1].rij, 3u);
    EXPECT_EQ(positie[1].kolom, 6u);
}

TEST_F(LevelLoad, FewerLinesLeaveTheMissingRowsFreeAndBareLineFeedsReadAlike) {
    std::vector<std::string> rows(10, std::string(40, 'M'));
    rows[4] = "M---SSSS---M";
    std::string text;
    for (const std::string &row : rows) text += row + "\n";
    text.pop_back();  // no line end after the last line
    WriteLevel(3, text);

    ASSERT_TRUE(Load(3)) << console;
    EXPECT_EQ(CountCells(MUUR), 9 * 40 + 2);
    for (uint32_t r = 11; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) ASSERT_EQ(Veld[r][k].bezet, ONBEZET) << "cell " << r << "," << k;
    EXPECT_EQ(Veld[10][40].bezet, MUUR) << "the last line without a line end is read whole";
    EXPECT_EQ(positie[1].rij, 5u);
    EXPECT_EQ(positie[1].kolom, 5u);
    EXPECT_EQ(grootte[1], 4u);
}

TEST_F(LevelLoad, EachLevelNumberReadsItsOwnFile) {
    for (uint32_t choice = 0; choice < 5; choice++) {
        std::vector<std::string> rows = Grid(true);
        Put(rows, 2 + choice, 2 + choice, "SSS");
        WriteLevel(choice, rows);
    }
    for (uint32_t choice = 0; choice < 5; choice++) {
        uint32_t asked = choice;
        ASSERT_TRUE(Load(asked)) << console;
        EXPECT_EQ(asked, choice) << "the level number is left as it was";
        EXPECT_EQ(positie[1].rij, 2 + choice);
        EXPECT_EQ(positie[1].kolom, 2 + choice);
        EXPECT_EQ(grootte[1], 3u);
    }
}

// The levels that cannot be played in the chosen mode, each with its one console line.
TEST_F(LevelLoad, UnplayableLevelsAreRefusedWithOneLine) {
    struct Case {
        Mode mode;
        const char *s;  // row 10: the S run from column 2 on (empty: none)
        const char *t;  // row 20: the T run
        int sColumn, tColumn;
        const char *expected;  // null: playable
    };
    const Case cases[] = {
        {Mode::ONE_PLAYER, "", "TTTT", 2, 2,
         "\nLevel savefiles/custom.txt cannot be played: it has no start for snake 1.\n"},
        {Mode::ONE_PLAYER, "SSSS", "", 2, 2, nullptr},
        {Mode::ONE_PLAYER, "SSSS", "TTTT", 36, 2, nullptr},
        {Mode::ONE_PLAYER, "SSSS", "TTTT", 37, 2,
         "\nLevel savefiles/custom.txt cannot be played: snake 1 would reach beyond column 40.\n"},
        {Mode::ONE_PLAYER, "SSSS", "TTTT", 2, 38, nullptr},
        {Mode::TWO_SNAKES, "SSSS", "", 2, 2,
         "\nLevel savefiles/custom.txt cannot be played: it has no start for snake 2.\n"},
        {Mode::TWO_SNAKES, "", "", 2, 2,
         "\nLevel savefiles/custom.txt cannot be played: it has no start for snake 1.\n"},
        {Mode::TWO_SNAKES, "SSSS", "TTTT", 2, 36, nullptr},
        {Mode::TWO_SNAKES, "SSSS", "TTT", 2, 38,
         "\nLevel savefiles/custom.txt cannot be played: snake 2 would reach beyond column 40.\n"},
        {Mode::SNAKE_AGAINST_KNURF, "SSSS", "", 2, 2,
         "\nLevel savefiles/custom.txt cannot be played: it has no start for the knurf block of player 2.\n"},
        {Mode::SNAKE_AGAINST_KNURF, "SSSS", "T", 2, 39, nullptr},
        {Mode::SNAKE_AGAINST_KNURF, "SSSS", "T", 2, 40,
         "\nLevel savefiles/custom.txt cannot be played: the knurf block of player 2 would start beyond column 40.\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("S ") + c.s + " at " + std::to_string(c.sColumn) + ", T " + c.t + " at " +
                     std::to_string(c.tColumn) + ", players " + std::to_string(c.mode == Mode::ONE_PLAYER ? 1 : 2));
        std::vector<std::string> rows = Grid(false);
        Put(rows, 10, c.sColumn, c.s);
        Put(rows, 20, c.tColumn, c.t);
        WriteLevel(4, rows);
        SetMode(c.mode);
        positie[1] = positie[2] = RijEnKolomRec{7, 7};

        bool ok = Load(4);
        if (c.expected) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(console, c.expected);
        } else {
            EXPECT_TRUE(ok);
            EXPECT_EQ(console, "\nLevel is loaded!");
        }
        if (!*c.s) {
            EXPECT_EQ(grootte[1], 0u);
            EXPECT_EQ(positie[1].rij, 7u) << "no S leaves the start position as it was";
        }
    }
}

TEST_F(LevelLoad, StartCellsSpreadOverTheBoardCountTowardsTheRun) {
    // One T near the right edge and more elsewhere: laid out from the first one, the run would leave the board.
    std::vector<std::string> rows = Grid(false);
    Put(rows, 10, 2, "SSSS");
    Put(rows, 5, 30, "T");
    for (int r = 6; r < 17; r++) Put(rows, r, 3, "T");
    WriteLevel(4, rows);
    SetMode(Mode::TWO_SNAKES);
    EXPECT_FALSE(Load(4));
    EXPECT_EQ(grootte[2], 12u);
    EXPECT_EQ(console, "\nLevel savefiles/custom.txt cannot be played: snake 2 would reach beyond column 40.\n");
}

TEST_F(LevelLoad, UnknownLevelNumberIsRefused) {
    uint32_t choice = 5;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(LoadLevel(grootte, richting, positie, bitmaps, choice));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nLevel 5 does not exist.\n");
}

TEST_F(LevelLoad, ShippedLevelsArePlayableInEveryMode) {
    for (const char *name : LEVEL_FILES)
        std::filesystem::copy_file(std::string(KWIBBEL_SOURCE_DIR) + "/data/" + name, name);
    for (Mode mode : {Mode::ONE_PLAYER, Mode::TWO_SNAKES, Mode::SNAKE_AGAINST_KNURF}) {
        SetMode(mode);
        for (uint32_t choice = 0; choice < 5; choice++) {
            ASSERT_TRUE(Load(choice)) << LEVEL_FILES[choice] << ": " << console;
            EXPECT_GE(grootte[1], 1u);
            EXPECT_LE(positie[1].kolom + grootte[1], 40u);
            if (mode != Mode::ONE_PLAYER) {
                EXPECT_GE(grootte[2], 1u);
                EXPECT_LE(positie[2].kolom + grootte[2], 40u);
            }
        }
    }
}

// ---- the walls as drawn, in a window under SDL's dummy video driver ----

class LevelWalls : public LevelLoad {
protected:
    const uint32_t WALL = 0x3060C0;
    const uint32_t OTHER_WALL = 0x20A020;

    void SetUp() override {
        LevelLoad::SetUp();
        Wimdows::InitWimdows();
        ASSERT_TRUE(GameWindow::Open());
        PlayFolder::WriteBmp("bitmap/muurhor.bmp", 20, 20, WALL);
        PlayFolder::WriteBmp("bitmap/muurver.bmp", 20, 20, OTHER_WALL);
        bitmaps.muur[0] = Wimdows::LoadBitmap("bitmap/muurhor.bmp", 20, 20);
        bitmaps.muur[1] = Wimdows::LoadBitmap("bitmap/muurver.bmp", 20, 20);
        ASSERT_NE(bitmaps.muur[0], 0u);
        Wimdows::ClearScreen();
    }
    void TearDown() override { Wimdows::KillWindow(); }

    // Counts the cells whose whole square shows the colour (corners and centre looked at).
    int CellsShowing(uint32_t colour, bool *elsewhere = nullptr) {
        int n = 0;
        for (uint32_t r = 1; r <= RIJEN; r++)
            for (uint32_t k = 1; k <= KOLOMMEN; k++) {
                int32_t x = 20 * (int32_t)(k - 1), y = 20 * (int32_t)(r - 1);
                bool all = Wimdows::BufferPixel(x, y) == colour && Wimdows::BufferPixel(x + 19, y + 19) == colour &&
                           Wimdows::BufferPixel(x + 10, y + 10) == colour;
                n += all;
                if (elsewhere && all != (Veld[r][k].bezet == MUUR)) *elsewhere = true;
            }
        return n;
    }
};

TEST_F(LevelWalls, EveryWallCellShowsTheFirstWallPicture) {
    std::vector<std::string> rows = Grid(true);
    Put(rows, 10, 5, "SSSS");
    Put(rows, 15, 20, "MMM");
    WriteLevel(0, rows);
    ASSERT_TRUE(Load(0));
    bool misplaced = false;
    EXPECT_EQ(CellsShowing(WALL, &misplaced), 139);
    EXPECT_FALSE(misplaced) << "a wall picture stands where there is no wall, or a wall lacks it";
    EXPECT_EQ(CellsShowing(OTHER_WALL), 0) << "levels draw only the first wall picture";
    EXPECT_EQ(Wimdows::BufferPixel(400, 640), 0u) << "nothing drawn below the board";
}

TEST_F(LevelWalls, ARefusedLevelDrawsNothing) {
    std::vector<std::string> rows = Grid(true);
    WriteLevel(0, rows);
    ASSERT_FALSE(Load(0));
    EXPECT_EQ(CellsShowing(0), 1200) << "the screen stays black";
}

}  // namespace
