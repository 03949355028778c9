// Whole games, headless: StartGame on level files of our own and the shipped ones, in a play folder, with
// every wait made instant by a wait procedure that counts the steps and plays a script of keys, on the
// repeatable random generator. Checked: the board, who the game-over screen is about, the scores, the
// console lines and the highscore file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/eventually.h"
#include "support/gameboard.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"
#include "support/virtualpad.h"

using namespace GameBoard;

namespace {

using Wimdows::KEY_ESCAPE;
using Wimdows::KEY_P;
using Wimdows::KEY_RIGHT;
using Wimdows::KEY_UP;
const uint32_t KEY_X = 0x58, P2_UP = 87, P2_DOWN = 83;  // X is no key of the game's
const uint32_t COUNTDOWN_WAIT = 800, PAUSE_WAIT = 1000, GAME_OVER_WAIT = 4000;
const std::string LOADED = "\nLevel is loaded!", SAVED = "\nHighscore has been saved.";

typedef std::vector<std::string> Level;

// The knurf blocks live in a walled pen (rows 3..28, columns 3..38); the outer ring, where new blocks are
// never placed, is a track on which the snakes meet none.
Level PenLevel(const std::vector<std::pair<RijEnKolomRec, std::string>> &marks) {
    Level rows(30, std::string(40, '-'));
    for (int k = 2; k <= 39; k++) rows[1][k - 1] = rows[28][k - 1] = 'M';
    for (int r = 2; r <= 29; r++) rows[r - 1][1] = rows[r - 1][38] = 'M';
    for (const auto &m : marks) rows[m.first.rij - 1].replace(m.first.kolom - 1, m.second.size(), m.second);
    return rows;
}

struct Script {
    std::vector<uint32_t> waits;
    int steps = 0;
    std::function<void(int step)> onStep;
    std::function<void()> onPause;
};
Script *script = nullptr;

void OnWait(uint32_t ms) {
    script->waits.push_back(ms);
    if (ms == PAUSE_WAIT && script->onPause) script->onPause();
    if (ms == COUNTDOWN_WAIT || ms == PAUSE_WAIT || ms == GAME_OVER_WAIT) return;
    if (++script->steps > 3000)  // a game that does not end fails instead of hanging
        Wimdows::SimulateKeyDown(KEY_ESCAPE);
    else if (script->onStep)
        script->onStep(script->steps);
}

class Game : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    Script s;
    std::string console, shippedHighscores;

    void SetUp() override {
        namespace fs = std::filesystem;
        for (const auto &f : fs::directory_iterator(std::string(KWIBBEL_SOURCE_DIR) + "/data/savefiles"))
            fs::copy_file(f.path(), fs::path("savefiles") / f.path().filename(), fs::copy_options::overwrite_existing);
        shippedHighscores = Highscores();
        StartTest();
        script = &s;
        Wimdows::SetWaitProc(OnWait);
        Songs = SongsRec{};
    }
    void TearDown() override {
        Wimdows::SetWaitProc(nullptr);
        EndTest();
    }
    void Play(const Level &level) {
        PlayFolder::WriteBytes("savefiles/custom.txt", PlayFolder::CrLfLines(level));
        Play(4u);
    }
    void Play(uint32_t levelchoice) {
        testing::internal::CaptureStdout();
        StartGame(levelchoice);
        console = testing::internal::GetCapturedStdout();
        EXPECT_LE(s.steps, 3000) << "the game did not end by itself";
    }
    int Waits(uint32_t ms) const { return (int)std::count(s.waits.begin(), s.waits.end(), ms); }
    static std::string Highscores() { return PlayFolder::ReadBytes("savefiles/highscores.txt"); }
};

TEST_F(Game, OnePlayerCrashIntoAWall) {
    // The snake lies on (1,3)..(1,6) going right; 23 moves take it to (1,29), the 24th runs into the wall.
    std::vector<std::string> heads;
    s.onStep = [&](int) { heads.push_back(Cells(SLANG).back()); };
    Play(PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}}));
    EXPECT_EQ(console, LOADED + SAVED);
    EXPECT_EQ(Waits(COUNTDOWN_WAIT), 3);
    EXPECT_EQ(Waits(GAME_OVER_WAIT), 1);
    EXPECT_EQ(s.steps, 24);
    EXPECT_EQ(std::vector<std::string>(heads.begin(), heads.begin() + 2), (std::vector<std::string>{"1,6", "1,7"}))
        << "each wait comes before its step's moves";
    EXPECT_FALSE(GameEnd.caught) << "the head on row 1 has no neighbour above, which is skipped";
    EXPECT_EQ(Cells(SLANG), (std::vector<std::string>{"1,25", "1,26", "1,27", "1,28", "1,29"}));
    EXPECT_EQ(Count(BLOKJE, NORMAAL), 3);
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Highscores(), shippedHighscores) << "a score of 0 enters nothing";
}

TEST_F(Game, EachDifficultySetsThePaceAndTheKnurfRhythm) {
    struct Case {
        int32_t diff;
        uint32_t wait;
        std::vector<int> knurfsMoveInStep;
    };
    for (const Case &c : {Case{1, 210, {1, 5, 9}}, Case{2, 150, {1, 4, 7, 10}}, Case{3, 80, {1, 3, 5, 7, 9, 11}}}) {
        s = Script();
        Diff = c.diff;
        std::vector<std::vector<std::string>> knurfs;  // at the wait of step i + 1: after step i
        s.onStep = [&](int) { knurfs.push_back(Cells(BLOKJE)); };
        Play(PenLevel({{{1, 2}, "SSSS"}, {{1, 18}, "M"}}));  // 12 steps
        ASSERT_EQ(knurfs.size(), 12u);
        std::vector<int> moved;
        for (int step = 1; step < 12; step++)
            if (knurfs[step] != knurfs[step - 1]) moved.push_back(step);
        EXPECT_EQ(moved, c.knurfsMoveInStep) << "Diff " << c.diff;
        EXPECT_EQ(s.waits[3], c.wait) << "Diff " << c.diff << ": the first step's wait";
    }
}

TEST_F(Game, EscapeLeavesWithoutGameOverAndClearsTheScores) {
    SetMode(Mode::TWO_SNAKES, 2);
    Score[1] = 500;
    Score[2] = 300;
    s.onStep = [&](int step) {
        if (step == 5) Wimdows::SimulateKeyDown(KEY_ESCAPE);
    };
    Play(PenLevel({{{1, 2}, "SSSS"}, {{30, 2}, "TTTT"}}));
    EXPECT_EQ(s.steps, 5) << "Escape is seen at the start of the next step";
    EXPECT_EQ(console, LOADED) << "no game-over screen";
    EXPECT_EQ(Waits(GAME_OVER_WAIT), 0);
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Score[2], 0);
    EXPECT_EQ(Highscores(), shippedHighscores);
    EXPECT_EQ(Cells(SLANG).size(), 10u);
}

TEST_F(Game, TwoSnakesEndingInOneStepEndOnPlayerTwo) {
    SetMode(Mode::TWO_SNAKES, 2);
    // Both run into a wall in step 24.
    Play(PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}, {{30, 2}, "TTTT"}, {{30, 30}, "M"}}));
    EXPECT_EQ(s.steps, 24);
    EXPECT_TRUE(GameEnd.crashed[1] && GameEnd.crashed[2] && !GameEnd.caught) << "the game over names both";
    EXPECT_EQ(console, LOADED + SAVED);

    // Both head for (1,40) in step 31: snake 1 along row 1, snake 2 up column 40. Snake 1 moves first.
    // Player 2 taps up, or holds up, during step 3's wait: either turns the snake in step 3.
    for (bool hold : {false, true}) {
        s = Script();
        s.onStep = [&](int step) {
            if (step == 3 && hold)
                Wimdows::SimulateKeyDown(P2_UP);
            else if (step == 3)
                Tap(P2_UP);
        };
        Play(PenLevel({{{1, 5}, "SSSS"}, {{30, 34}, "TTTT"}}));
        Wimdows::SimulateKeyUp(P2_UP);
        EXPECT_EQ(s.steps, 31) << (hold ? "held" : "tapped");
        EXPECT_EQ(Veld[1][40].bezet, SLANG);
        EXPECT_EQ(Veld[2][40].bezet, SLANG) << "snake 2's head stopped below it";
        EXPECT_TRUE(!GameEnd.crashed[1] && GameEnd.crashed[2]) << "only snake 2 crashed";
    }
}

TEST_F(Game, OnLevelsWithoutEdgeWallsEverySnakeCellStaysTaken) {
    // Snakes steered at random, across the open edges again and again. After every step each cell a snake
    // covers (by its own slots) is a snake cell of the board, and the screen agrees with the board: free
    // cells black, taken ones not.
    ASSERT_TRUE(GameWindow::Open());
    namespace fs = std::filesystem;
    fs::remove_all("bitmap");
    fs::copy(std::string(KWIBBEL_DATA_DIR) + "/bitmap", "bitmap", fs::copy_options::recursive);
    // With a window the highscore table waits for a key: another hand keeps tapping one (X is no game key).
    std::atomic<bool> done{false};
    std::thread hand([&] {
        while (!done) {
            Tap(KEY_X);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const uint32_t UNUSED = 5000, keys[2][4] = {{37, 38, 39, 40}, {65, 87, 68, 83}};
    uint32_t dice = 12345;
    int steps = 0;
    std::string faults;  // reported after the games: the console is captured while they run
    auto fault = [&](const std::string &what) {
        if (faults.size() < 300) faults += what + "\n";
    };
    // Game 0 is played by hand: up to row 1, right along it, then up over the edge, left, and down over the
    // edge again onto its own body in row 1 (a crash). The others are random.
    for (int game = 0; game < 13; game++) {
        const Mode mode = game % 3 == 0   ? Mode::ONE_PLAYER
                          : game % 3 == 1 ? Mode::TWO_SNAKES
                                          : Mode::SNAKE_AGAINST_KNURF;
        const std::vector<uint32_t> byHand = {0, 38, 0, 0, 0, 0, 0, 0, 39, 0, 0, 38, 37, 40};
        s = Script();
        SetMode(mode, 3);
        for (auto &slots : Slang)
            for (BlokRec &slot : slots) slot.x1 = slot.y1 = UNUSED;  // slots the game has not written stay UNUSED
        s.onStep = [&](int step) {
            steps++;
            for (uint32_t sn = 1; sn <= AantalSlangen(); sn++) {
                // Slots 0..g hold the snake from tail to head; slot g + 1 the head once more.
                uint32_t used = 0;
                while (used < SLANGSLOTS && Slang[sn][used].x1 != UNUSED) used++;
                for (uint32_t i = 0; i + 1 < used; i++) {
                    const BlokRec &slot = Slang[sn][i];
                    if (slot.x1 >= 800) continue;  // a slot that stands for no cell
                    uint32_t r = slot.y1 / 20 + 1, k = slot.x1 / 20 + 1;
                    if (Veld[r][k].bezet != SLANG)
                        fault("snake " + std::to_string(sn) + " covers " + Cell(r, k) + ", a free cell");
                }
            }
            for (uint32_t r = 1; r <= RIJEN; r++)
                for (uint32_t k = 1; k <= KOLOMMEN; k++) {
                    uint32_t centre = Wimdows::BufferPixel(20 * (int32_t)k - 10, 20 * (int32_t)r - 10);
                    if ((Veld[r][k].bezet == ONBEZET) != (centre == 0))
                        fault("cell " + Cell(r, k) + " holds " + std::to_string(Veld[r][k].bezet) + " but shows " +
                              std::to_string(centre));
                }
            if (game == 0 && step < (int)byHand.size() && byHand[step] != 0) Tap(byHand[step]);
            for (const auto &player : keys) {
                dice = dice * 1103515245u + 12345u;
                if (game > 0 && (dice >> 16) % 3 != 0) Tap(player[(dice >> 20) % 4]);
            }
            if (step == 1000) Tap(KEY_ESCAPE);
        };
        Play(1u + game % 2);  // no walls; the smiley's open edges
    }
    done = true;
    hand.join();
    EXPECT_EQ(faults, "");
    EXPECT_GT(steps, 500) << "the games were too short to cross the edges";
    Wimdows::KillWindow();
}

TEST_F(Game, TheComputerSteersTheGreenSnakeWhateverPlayerTwosKeysDo) {
    // Snake 1, unsteered, runs along row 1 into the wall at (1,30) in step 24. The green snake, on row 30,
    // meets a wall at (30,20) in step 14 unless it turns up through the gap at (29,19) into the pen; with
    // player 2's "up" steering it, it would run into the pen's wall in step 1.
    Level level = PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}, {{30, 2}, "TTTT"}, {{30, 20}, "M"}});
    level[28][18] = '-';
    std::vector<std::vector<std::string>> boards[2];  // the snakes' cells at every step's wait
    for (int keys = 0; keys < 2; keys++) {
        s = Script();
        StartTest();  // the same knurf blocks in both games
        SetMode(Mode::SNAKE_AGAINST_COMPUTER, 2);
        s.onStep = [&](int step) {
            boards[keys].push_back(Cells(SLANG));
            if (keys && step == 1) Wimdows::SimulateKeyDown(P2_UP);
            if (keys) Tap(step % 2 ? P2_DOWN : 65);
        };
        Play(level);
        Wimdows::SimulateKeyUp(P2_UP);
        EXPECT_EQ(s.steps, 24) << "keys " << keys;
        EXPECT_TRUE(GameEnd.crashed[1] && !GameEnd.crashed[2]) << "keys " << keys << ": only the red snake crashed";
    }
    EXPECT_EQ(boards[0], boards[1]) << "player 2's keys did not steer the green snake";
}

class KnurfGame : public Game {
protected:
    void SetUp() override {
        Game::SetUp();
        SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
    }
    // The snake's head starts at (1,6); the hand-steered block on (30,20) cannot go right.
    Level KnurfLevel(bool wallInRowOne) const {
        Level level = PenLevel({{{1, 2}, "SSSS"}, {{30, 19}, "T"}, {{30, 21}, "M"}});
        if (wallInRowOne) level[0][29] = 'M';
        return level;
    }
};

TEST_F(KnurfGame, TheBlockStepsInFrontOfTheSnakeAndCatchesIt) {
    bool blockShownAtStart = false;
    s.onStep = [&](int step) {
        if (step == 1) blockShownAtStart = Veld[30][20].bezet == MANUEEL_BLOKJE;
        if (step == 14)  // the head is at (1,19); the block moves first, down across the edge to (1,20)
            Wimdows::SimulateKeyDown(P2_DOWN);
    };
    Play(KnurfLevel(false));
    EXPECT_TRUE(blockShownAtStart) << "the block stands on its start cell before its first move";
    EXPECT_EQ(s.steps, 14);
    EXPECT_EQ(Veld[1][20].bezet, MANUEEL_BLOKJE);
    EXPECT_EQ(Cells(SLANG).back(), "1,19");
    EXPECT_TRUE(GameEnd.caught && GameEnd.crashed[1]);
    EXPECT_EQ(Count(BLOKJE, NORMAAL), 3);
}

TEST_F(KnurfGame, ASnakeCrashingAloneLosesItsPointsToTheKnurfPlayer) {
    s.onStep = [&](int step) {
        if (step == 1) Score[1] = 2600;  // as if the snake had eaten thirteen blocks
    };
    Play(KnurfLevel(true));
    EXPECT_EQ(s.steps, 24);
    EXPECT_FALSE(GameEnd.caught);
    EXPECT_EQ(Highscores(),
              PlayFolder::CrLfLines({"5000", "4000", "3000", "2600", "2500", "2000", "1500", "1000", "600", "300"}));
    EXPECT_EQ(Score[1] + Score[2], 0);
}

TEST_F(Game, PauseWaitsASecondThenForATypedP) {
    std::vector<std::string> heads;
    s.onStep = [&](int step) {
        heads.push_back(Cells(SLANG).back());
        if (step == 5) Wimdows::SimulateKeyDown(KEY_P);
    };
    s.onPause = [&] {
        heads.push_back(Cells(SLANG).back());
        Wimdows::SimulateKeyUp(KEY_P);
        Tap(KEY_X);   // any other key goes on waiting
        Tap(KEY_UP);  // turns typed during the pause are the first ones after it
        Tap(KEY_RIGHT);
        Tap(KEY_P);
    };
    Play(PenLevel({{{1, 2}, "SSSS"}, {{30, 30}, "M"}}));
    EXPECT_EQ(Waits(PAUSE_WAIT), 1);
    ASSERT_GE(heads.size(), 9u);
    EXPECT_EQ(heads[5], "1,11") << "at the pause";
    EXPECT_EQ(heads[6], "1,11") << "nothing moves between the pause and the next step";
    EXPECT_EQ(heads[7], "30,11");
    EXPECT_EQ(heads[8], "30,12");
    EXPECT_EQ(s.steps, 25) << "the game goes on to its crash";
    EXPECT_EQ(console, LOADED + SAVED);

    // P and Escape held together pause; the P typed before the pause is emptied from the queue, and with
    // no window no other key can come, so the pause ends the game as Escape does.
    s = Script();
    s.onStep = [&](int step) {
        if (step == 5) {
            Wimdows::SimulateKeyDown(KEY_P);
            Wimdows::SimulateKeyDown(KEY_ESCAPE);
        }
    };
    s.onPause = [&] {
        Wimdows::SimulateKeyUp(KEY_P);
        Wimdows::SimulateKeyUp(KEY_ESCAPE);
    };
    Play(PenLevel({{{1, 2}, "SSSS"}}));
    EXPECT_EQ(Waits(PAUSE_WAIT), 1);
    EXPECT_EQ(s.steps, 5);
    EXPECT_EQ(console, LOADED);

    // Escape typed while paused leaves the game as in play: no game over, nothing saved.
    s = Script();
    s.onStep = [&](int step) {
        if (step == 5) Tap(KEY_P);
    };
    s.onPause = [&] { Tap(KEY_ESCAPE); };
    Play(PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}}));
    EXPECT_EQ(Waits(PAUSE_WAIT), 1);
    EXPECT_EQ(s.steps, 5) << "Escape in the pause left the game";
    EXPECT_EQ(Waits(GAME_OVER_WAIT), 0);
    EXPECT_EQ(console, LOADED);
}

TEST_F(Game, APOrEscapeTappedBetweenStepsCountsAtTheNextStep) {
    // Pressed and released within step 5's wait, before the next step looks at the held keys.
    const Level level = PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}});
    std::vector<std::string> heads;
    s.onStep = [&](int step) {
        heads.push_back(Cells(SLANG).back());
        if (step == 5) Tap(KEY_P);
    };
    s.onPause = [&] {
        heads.push_back(Cells(SLANG).back());
        Tap(KEY_P);
    };
    Play(level);
    EXPECT_EQ(Waits(PAUSE_WAIT), 1) << "a tapped P pauses";
    ASSERT_GE(heads.size(), 7u);
    EXPECT_EQ(heads[5], "1,11") << "the pause comes at the start of step 6";
    EXPECT_EQ(s.steps, 24);
    EXPECT_EQ(console, LOADED + SAVED);

    s = Script();
    s.onStep = [&](int step) {
        if (step == 5) Tap(KEY_ESCAPE);
    };
    Play(level);
    EXPECT_EQ(s.steps, 5) << "a tapped Escape leaves";
    EXPECT_EQ(Waits(PAUSE_WAIT), 0);
    EXPECT_EQ(Waits(GAME_OVER_WAIT), 0);
    EXPECT_EQ(console, LOADED);

    // Both tapped, Escape first: P comes first as with held keys, and the pause empties the queue.
    s = Script();
    s.onStep = [&](int step) {
        if (step == 5) {
            Tap(KEY_ESCAPE);
            Tap(KEY_P);
        }
    };
    s.onPause = [&] { Tap(KEY_P); };
    Play(level);
    EXPECT_EQ(Waits(PAUSE_WAIT), 1);
    EXPECT_EQ(s.steps, 24) << "the Escape typed before the pause was emptied with the queue";
    EXPECT_EQ(console, LOADED + SAVED);
}

TEST_F(Game, APadSteersSnakeOneWithPlayerOnesKeys) {
    // Pads are the window thread's: a window is open. The game gives pad 1 player 1's keys (the arrows) as
    // it reads the controls file; the pad's d-pad held during step 3's wait turns the snake up in step 3.
    ASSERT_TRUE(GameWindow::Open());
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    std::vector<std::string> heads;
    s.onStep = [&](int step) {
        heads.push_back(Cells(SLANG).front());
        if (step == 3) {
            pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
            EXPECT_TRUE(Eventually([] { return Wimdows::KeyDown(Wimdows::KEY_UP); }));
        }
        if (step == 4) {
            pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
            EXPECT_TRUE(Eventually([] { return !Wimdows::KeyDown(Wimdows::KEY_UP); }));
        }
        if (step == 6) Tap(KEY_ESCAPE);
    };
    Play(PenLevel({{{15, 2}, "SSSS"}}));  // laid on (15,3)..(15,6), heading right
    ASSERT_EQ(heads.size(), 6u);
    // The topmost snake cell after each step: row 15 until the turn, then the head going up.
    EXPECT_EQ(std::vector<std::string>(heads.begin() + 3, heads.end()),
              (std::vector<std::string>{"14,8", "13,8", "12,8"}));
    Wimdows::KillWindow();
}

TEST_F(Game, ARefusedLevelSaysWhyUntilAKeyIsPressedAnew) {
    const uint32_t REFUSED = 0x335577;
    PlayFolder::WriteBmp("bitmap/refusedlevel.bmp", 800, 680, REFUSED);
    ASSERT_TRUE(GameWindow::Open());
    SetMode(Mode::TWO_SNAKES, 2);
    Score[1] = 700;
    // Up held from before the screen: its repeats do not close it; a new press does.
    Wimdows::SimulateKeyDown(38);
    std::atomic<bool> stillShownAfterRepeats{false};
    std::vector<int> inkRows;
    std::thread player([&] {
        for (int i = 0; i < 5000 && Wimdows::ScreenPixel(5, 5) != REFUSED; i++)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        for (int32_t y : {330, 400, 450, 500})  // the level, what it lacks, the mode, and nothing more
            for (int32_t x = 100; x < 700; x++)
                if (Wimdows::ScreenPixel(x, y + 12) != REFUSED) {
                    inkRows.push_back(y);
                    break;
                }
        for (int i = 0; i < 3; i++) Wimdows::SimulateKeyDown(38);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stillShownAfterRepeats = Wimdows::ScreenPixel(5, 5) == REFUSED;
        Wimdows::SimulateKeyUp(38);
        Tap(32);
    });
    Play(PenLevel({{{1, 2}, "SSSS"}}));  // no start for snake 2
    player.join();
    EXPECT_TRUE(stillShownAfterRepeats) << "a key held from before does not close it";
    EXPECT_EQ(inkRows, (std::vector<int>{330, 400, 450}));
    EXPECT_TRUE(s.waits.empty()) << "no countdown, no step";
    EXPECT_EQ(console, "\nLevel savefiles/custom.txt cannot be played: it has no start for snake 2.\n")
        << "on a line of its own";
    EXPECT_EQ(Score[1], 700);
    Wimdows::KillWindow();
}

TEST_F(Game, ThePauseSignGoesWithoutATrace) {
    // The same game twice on the repeatable generator, once paused in step 5: the board shown after the
    // pause is the one shown without it.
    ASSERT_TRUE(GameWindow::Open());
    auto board = [] {
        std::vector<uint32_t> px;
        for (int32_t y = 0; y < 600; y += 2)
            for (int32_t x = 0; x < 800; x++) px.push_back(Wimdows::ScreenPixel(x, y));
        return px;
    };
    std::vector<uint32_t> plain, resumed, paused;
    // Both games are left with Escape in step 8, before the table could wait for a key.
    s.onStep = [&](int step) {
        if (step == 7) plain = board();
        if (step == 8) Tap(KEY_ESCAPE);
    };
    StartTest();
    Play(PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}}));
    s = Script();
    s.onStep = [&](int step) {
        if (step == 6) Tap(KEY_P);
        if (step == 7) resumed = board();
        if (step == 8) Tap(KEY_ESCAPE);
    };
    s.onPause = [&] {
        paused = board();
        Tap(KEY_P);
    };
    StartTest();
    Play(PenLevel({{{1, 2}, "SSSS"}, {{1, 30}, "M"}}));
    ASSERT_EQ(Waits(PAUSE_WAIT), 1);
    ASSERT_FALSE(plain.empty());
    EXPECT_TRUE(resumed == plain) << "the board after the pause is the board without one";
    size_t signPixels = 0;
    for (size_t i = 0; i < paused.size(); i++) signPixels += paused[i] == 0x381C14u;  // the sign's ground
    EXPECT_GT(signPixels, 400u * 30u) << "the sign shows while paused";
    Wimdows::KillWindow();
}

}  // namespace
