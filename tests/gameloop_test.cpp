// Whole games, headless: StartGame on level files of our own (and the shipped ones) in a play folder,
// with every wait made instant by a wait procedure that counts the steps and plays the keys of a script,
// on the repeatable random generator. Checked: the board, who the game-over screen is about, the scores,
// the console lines and the highscore file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "support/StandardLib.h"
#include "support/gameboard.h"
#include "support/playfolder.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;
using namespace GameBoard;

namespace {

const uint32_t KEY_P = 0x50, KEY_ESCAPE = 0x1B, KEY_X = 0x58;
const uint32_t P2_UP = 87, P2_DOWN = 83;  // W and S in the shipped controls file
const uint32_t P1_DOWN = 40;

// ---- levels ----------------------------------------------------------------------------------------------

typedef std::vector<std::string> Level;  // 30 rows of 40 characters

// The knurf blocks are kept in a pen (rows 3..28, columns 3..38, walled round), so the outer ring, where
// new blocks never go, is a track the snakes run on without meeting one.
Level PenLevel()
{
    Level rows(30, std::string(40, '-'));
    for (int k = 2; k <= 39; k++)
        rows[2 - 1][k - 1] = rows[29 - 1][k - 1] = 'M';
    for (int r = 2; r <= 29; r++)
        rows[r - 1][2 - 1] = rows[r - 1][39 - 1] = 'M';
    return rows;
}

Level BorderLevel()
{
    Level rows(30, std::string(40, '-'));
    rows[0] = rows[29] = std::string(40, 'M');
    for (int r = 1; r < 29; r++)
        rows[r][0] = rows[r][39] = 'M';
    return rows;
}

void Put(Level &rows, int r, int k, const std::string &text) { rows[r - 1].replace(k - 1, text.size(), text); }

// ---- the wait procedure ------------------------------------------------------------------------------------

const uint32_t COUNTDOWN_WAIT = 800, PAUSE_WAIT = 1000, GAME_OVER_WAIT = 4000;

struct GameRun {
    std::vector<uint32_t> waits;  // every wait, in milliseconds
    int steps = 0;                // step waits so far
    std::function<void(int step)> onStep;
    std::function<void()> onPause;
    std::function<void()> onGameOver;
    bool runaway = false;
};
GameRun *run = nullptr;

void OnWait(uint32_t ms)
{
    run->waits.push_back(ms);
    if (ms == COUNTDOWN_WAIT)
        return;
    if (ms == PAUSE_WAIT) {
        if (run->onPause)
            run->onPause();
        return;
    }
    if (ms == GAME_OVER_WAIT) {
        if (run->onGameOver)
            run->onGameOver();
        return;
    }
    run->steps++;
    if (run->steps > 3000) {  // a game that does not end is a failure, not a hang
        run->runaway = true;
        Wimdows::SimulateKeyDown(KEY_ESCAPE);
        return;
    }
    if (run->onStep)
        run->onStep(run->steps);
}

std::string HeadOf(const std::vector<std::string> &cells, const std::string &fallback = "") { return cells.empty() ? fallback : cells.back(); }

class Game : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    GameRun r;
    std::string console;
    std::string shippedHighscores;

    void SetUp() override
    {
        namespace fs = std::filesystem;
        for (const auto &entry : fs::directory_iterator(std::string(KWIBBEL_SOURCE_DIR) + "/data/savefiles"))
            fs::copy_file(entry.path(), fs::path("savefiles") / entry.path().filename(),
                          fs::copy_options::overwrite_existing);
        shippedHighscores = PlayFolder::ReadBytes("savefiles/highscores.txt");
        Wimdows::InitWimdows();
        ReleaseAllKeys();
        run = &r;
        Wimdows::SetWaitProc(OnWait);
        StandardLib::gPseudoRandom = true;
        StandardLib::SetPseudoSeed(94);
        Songs = SongsRec{};
        Score[1] = Score[2] = 0;
        SpelerAanDeBeurt = 0;
        SetMode(Mode::ONE_PLAYER, 2);
    }
    void TearDown() override
    {
        Wimdows::SetWaitProc(nullptr);
        run = nullptr;
        ReleaseAllKeys();
        StandardLib::gPseudoRandom = false;
        Score[1] = Score[2] = 0;
    }

    void Play(const Level &level)
    {
        PlayFolder::WriteBytes("savefiles/custom.txt", PlayFolder::CrLfLines(level));
        Play(4);
    }
    void Play(uint32_t levelchoice)
    {
        testing::internal::CaptureStdout();
        StartGame(levelchoice);
        console = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(r.runaway) << "the game did not end by itself";
    }
    int Waits(uint32_t ms) const
    {
        int n = 0;
        for (uint32_t w : r.waits)
            n += w == ms;
        return n;
    }
    std::string Highscores() const { return PlayFolder::ReadBytes("savefiles/highscores.txt"); }
};

const char *const LOADED = "\nLevel is loaded!";
const char *const SAVED = "\nHighscore has been saved.";

// ---- the end of a game --------------------------------------------------------------------------------------

TEST_F(Game, OnePlayerCrashIntoAWall)
{
    Level level = PenLevel();
    Put(level, 1, 2, "SSSS");  // the snake lies on (1,3)..(1,6), head (1,6), going right
    Put(level, 1, 30, "M");
    std::vector<std::string> headAtStep;
    r.onStep = [&](int) { headAtStep.push_back(HeadOf(SnakeCells())); };
    Play(level);

    EXPECT_EQ(console, std::string(LOADED) + SAVED);
    EXPECT_EQ(Waits(COUNTDOWN_WAIT), 3);
    EXPECT_EQ(r.steps, 24) << "23 moves to (1,29), the 24th runs into the wall";
    ASSERT_GE(headAtStep.size(), 2u);
    EXPECT_EQ(headAtStep[0], "1,6") << "the first wait comes before the first move";
    EXPECT_EQ(headAtStep[1], "1,7");
    EXPECT_EQ(SpelerAanDeBeurt, 1u) << "the head on row 1 has no neighbour above, which is skipped";
    EXPECT_EQ(SnakeCells(), (std::vector<std::string>{"1,25", "1,26", "1,27", "1,28", "1,29"}));
    EXPECT_EQ(CountKnurfs(NORMAAL), 3);
    EXPECT_EQ(Waits(GAME_OVER_WAIT), 1);
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Highscores(), shippedHighscores) << "a score of 0 enters nothing";
}

TEST_F(Game, EachDifficultySetsThePaceAndTheKnurfRhythm)
{
    struct Case {
        int32_t diff;
        uint32_t wait;
        std::vector<int> knurfsMovedInStep;
    };
    for (const Case &c : {Case{1, 210, {1, 5, 9}}, Case{2, 150, {1, 4, 7, 10}}, Case{3, 80, {1, 3, 5, 7, 9, 11}}}) {
        GameRun fresh;
        r = fresh;
        Diff = c.diff;
        Level level = PenLevel();
        Put(level, 1, 2, "SSSS");
        Put(level, 1, 18, "M");  // the snake dies in step 12
        std::vector<std::vector<std::string>> knurfs;
        r.onStep = [&](int) {
            std::vector<std::string> cells;
            for (uint32_t rr = 1; rr <= RIJEN; rr++)
                for (uint32_t k = 1; k <= KOLOMMEN; k++)
                    if (Veld[rr][k].bezet == BLOKJE)
                        cells.push_back(std::to_string(rr) + "," + std::to_string(k));
            knurfs.push_back(cells);
        };
        Play(level);
        ASSERT_EQ(r.steps, 12);
        // knurfs[i] is the board at the wait of step i + 1, after step i.
        std::vector<int> moved;
        for (int step = 1; step < 12; step++)
            if (knurfs[step] != knurfs[step - 1])
                moved.push_back(step);
        EXPECT_EQ(moved, c.knurfsMovedInStep) << "Diff " << c.diff;
        EXPECT_EQ(r.waits[3], c.wait) << "Diff " << c.diff << ": the first step's wait";
    }
}

TEST_F(Game, EscapeLeavesWithoutGameOverAndClearsTheScores)
{
    SetMode(Mode::TWO_SNAKES, 2);
    Level level = PenLevel();
    Put(level, 1, 2, "SSSS");
    Put(level, 30, 2, "TTTT");
    Score[1] = 500;
    Score[2] = 300;
    r.onStep = [&](int step) {
        if (step == 5)
            Wimdows::SimulateKeyDown(KEY_ESCAPE);
    };
    Play(level);
    EXPECT_EQ(r.steps, 5) << "Escape is seen at the start of the next step";
    EXPECT_EQ(console, LOADED) << "no game-over screen, nothing saved";
    EXPECT_EQ(Waits(GAME_OVER_WAIT), 0);
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Score[2], 0);
    EXPECT_EQ(Highscores(), shippedHighscores);
    EXPECT_EQ(Veld[1][11].bezet, SLANG);
    EXPECT_EQ(Veld[1][12].bezet, ONBEZET) << "snake 1's head after five steps is (1,11)";
}

TEST_F(Game, BothSnakesCrashInTheSameStep)
{
    SetMode(Mode::TWO_SNAKES, 2);
    Level level = PenLevel();
    Put(level, 1, 2, "SSSS");
    Put(level, 1, 30, "M");
    Put(level, 30, 2, "TTTT");
    Put(level, 30, 30, "M");
    Play(level);
    EXPECT_EQ(r.steps, 24);
    EXPECT_EQ(SpelerAanDeBeurt, 2u) << "the last snake of the step that crashed";
    EXPECT_EQ(console, std::string(LOADED) + SAVED);
    EXPECT_EQ(CountKnurfs(NORMAAL), 4);
}

TEST_F(Game, BothSnakesHeadForTheSameCell)
{
    SetMode(Mode::TWO_SNAKES, 2);
    Level level = PenLevel();
    Put(level, 1, 5, "SSSS");     // snake 1: (1,6)..(1,9), along row 1 to (1,40) in step 31
    Put(level, 30, 34, "TTTT");  // snake 2: (30,35)..(30,38), right to (30,40), then up column 40
    r.onStep = [&](int step) {
        if (step == 3)
            Wimdows::SimulateKeyDown(P2_UP);
    };
    Play(level);
    EXPECT_EQ(r.steps, 31);
    EXPECT_EQ(Veld[1][40].bezet, SLANG);
    EXPECT_EQ(SpelerAanDeBeurt, 2u) << "snake 1 moves first and takes the cell; snake 2 crashes";
    EXPECT_EQ(console, std::string(LOADED) + SAVED);
}

class KnurfGame : public Game {
protected:
    Level level;
    void SetUp() override
    {
        Game::SetUp();
        SetMode(Mode::SNAKE_AGAINST_KNURF, 2);
        level = PenLevel();
        Put(level, 1, 2, "SSSS");  // snake head (1,6)
        Put(level, 30, 19, "T");   // the hand-steered block starts on (30,20)
        Put(level, 30, 21, "M");   // and cannot go right
    }
};

TEST_F(KnurfGame, TheBlockIsOnTheBoardFromTheStart)
{
    bool seen = false;
    r.onStep = [&](int step) {
        if (step == 1) {
            seen = Veld[30][20].bezet == MANUEEL_BLOKJE;
            Wimdows::SimulateKeyDown(KEY_ESCAPE);
        }
    };
    Play(level);
    EXPECT_TRUE(seen);
    EXPECT_EQ(Count(MANUEEL_BLOKJE), 1);
    EXPECT_EQ(CountKnurfs(NORMAAL), 3);
}

TEST_F(KnurfGame, TheBlockStepsInFrontOfTheSnakeAndCatchesIt)
{
    // In step 14 the snake's head is at (1,19); the block moves first, down across the edge to (1,20).
    r.onStep = [&](int step) {
        if (step == 14)
            Wimdows::SimulateKeyDown(P2_DOWN);
    };
    Score[1] = 0;
    Play(level);
    EXPECT_EQ(r.steps, 14);
    EXPECT_EQ(Veld[1][20].bezet, MANUEEL_BLOKJE);
    EXPECT_EQ(HeadOf(SnakeCells()), "1,19");
    EXPECT_EQ(SpelerAanDeBeurt, 2u) << "the hand-steered block beside the head caught the snake";
}

TEST_F(KnurfGame, SnakeCrashingAloneGivesItsPointsToTheKnurfPlayer)
{
    Put(level, 1, 30, "M");
    Score[1] = 2600;  // as if the snake had eaten thirteen blocks
    Play(level);
    EXPECT_EQ(r.steps, 24);
    EXPECT_EQ(SpelerAanDeBeurt, 1u);
    EXPECT_EQ(Highscores(), PlayFolder::CrLfLines({"5000", "4000", "3000", "2600", "2500", "2000", "1500", "1000",
                                                   "600", "300"}));
    EXPECT_EQ(Score[1], 0);
    EXPECT_EQ(Score[2], 0);
}

// ---- pause -----------------------------------------------------------------------------------------------

TEST_F(Game, PauseEndsOnATypedPAfterASecondAndNothingMovesMeanwhile)
{
    Level level = PenLevel();
    Put(level, 1, 2, "SSSS");
    Put(level, 1, 30, "M");
    std::string headAtPause, headAfterPause;
    r.onStep = [&](int step) {
        if (step == 5)
            Wimdows::SimulateKeyDown(KEY_P);
        if (step == 6)
            headAfterPause = HeadOf(SnakeCells());
    };
    r.onPause = [&] {
        headAtPause = HeadOf(SnakeCells());
        Wimdows::SimulateKeyUp(KEY_P);
        Wimdows::SimulateKeyDown(KEY_X);  // any other key goes on waiting
        Wimdows::SimulateKeyUp(KEY_X);
        Wimdows::SimulateKeyDown(KEY_P);
        Wimdows::SimulateKeyUp(KEY_P);
    };
    Play(level);
    EXPECT_EQ(Waits(PAUSE_WAIT), 1);
    EXPECT_EQ(headAtPause, "1,11");
    EXPECT_EQ(headAfterPause, "1,11");
    EXPECT_EQ(r.steps, 24) << "the game goes on to its crash after the pause";
    EXPECT_EQ(console, std::string(LOADED) + SAVED);
}

TEST_F(Game, ThePressThatStartedThePauseDoesNotEndIt)
{
    Level level = PenLevel();
    Put(level, 1, 2, "SSSS");
    r.onStep = [&](int step) {
        if (step == 5) {
            Wimdows::SimulateKeyDown(KEY_P);
            Wimdows::SimulateKeyDown(KEY_ESCAPE);  // P is looked at first
        }
    };
    r.onPause = [&] { ReleaseAllKeys(); };
    Play(level);
    // The P typed before the pause was emptied from the queue; with no window no other key can come,
    // so the pause ends the game as Escape would.
    EXPECT_EQ(Waits(PAUSE_WAIT), 1);
    EXPECT_EQ(r.steps, 5);
    EXPECT_EQ(console, LOADED);
    EXPECT_EQ(Score[1], 0);
}

// ---- turns and the shipped levels --------------------------------------------------------------------------

TEST_F(Game, ATapBetweenStepsTurnsTheSnakeInTheNextStep)
{
    Level level = BorderLevel();
    Put(level, 15, 5, "SSSS");  // head (15,9)
    std::vector<std::string> heads;
    r.onStep = [&](int step) {
        heads.push_back(HeadOf(SnakeCells()));
        if (step == 3) {
            Wimdows::SimulateKeyDown(P1_DOWN);
            Wimdows::SimulateKeyUp(P1_DOWN);
        }
        if (step == 6)
            Wimdows::SimulateKeyDown(KEY_ESCAPE);
    };
    Play(level);
    ASSERT_EQ(heads.size(), 6u);
    // Waits see the board before the step's moves: step 3 still goes right, step 4 turns down.
    EXPECT_EQ(heads[3], "15,12");
    EXPECT_EQ(Veld[16][12].bezet, SLANG) << "the head went down in step 4";
    EXPECT_EQ(Veld[15][13].bezet, ONBEZET);
}

TEST_F(Game, ShippedLevelsPlayInEveryMode)
{
    for (Mode mode : {Mode::ONE_PLAYER, Mode::TWO_SNAKES, Mode::SNAKE_AGAINST_KNURF}) {
        for (uint32_t choice = 0; choice <= 4; choice++) {
            GameRun fresh;
            r = fresh;
            SetMode(mode, 2);
            uint32_t snakeCells = 0;
            r.onStep = [&](int step) {
                if (step == 1)
                    snakeCells = (uint32_t)Count(SLANG);
                if (step == 20)
                    Wimdows::SimulateKeyDown(KEY_ESCAPE);
            };
            Play(choice);
            Wimdows::SimulateKeyUp(KEY_ESCAPE);
            EXPECT_EQ(console.rfind(LOADED, 0), 0u) << "level " << choice << ": " << console;
            EXPECT_GT(snakeCells, 0u) << "level " << choice;
            EXPECT_EQ(Count(MANUEEL_BLOKJE), mode == Mode::SNAKE_AGAINST_KNURF ? 1 : 0) << "level " << choice;
            EXPECT_GE(r.steps, 1) << "level " << choice;
            EXPECT_EQ(Score[1], 0);
            EXPECT_EQ(Score[2], 0);
        }
    }
}

// ---- a level that cannot be played --------------------------------------------------------------------------

TEST_F(Game, ARefusedLevelReturnsAtOnceDrawingNothing)
{
    Wimdows::Window("Kwibbel", 800, 680);
    ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE);
    Wimdows::SetBuffering(true);
    Wimdows::Rectangle(0, 0, 799, 679, 0x335577, true);
    Score[1] = 700;
    Level level = PenLevel();  // no start for snake 1
    Play(level);
    EXPECT_TRUE(r.waits.empty()) << "no countdown, no step";
    EXPECT_EQ(console.find(LOADED), std::string::npos);
    EXPECT_NE(console.find("cannot be played"), std::string::npos) << console;
    EXPECT_EQ(Score[1], 700);
    EXPECT_EQ(Wimdows::BufferPixel(400, 340), 0x335577u);
    EXPECT_EQ(Wimdows::BufferPixel(5, 5), 0x335577u);
    Wimdows::KillWindow();
}

TEST_F(Game, GameMusicPlaysDuringTheStepsOnly)
{
    ASSERT_TRUE(Music::InitMusic());
    PlayFolder::WriteWav("audio/game.wav", 200, 2000);
    Songs.game = Music::LoadSound("audio/game.wav");
    ASSERT_NE(Songs.game, 0u);
    Level level = PenLevel();
    Put(level, 1, 2, "SSSS");
    bool playingInSteps = true;
    r.onStep = [&](int step) {
        playingInSteps = playingInSteps && Music::SoundMarkedPlaying(Songs.game);
        if (step == 3)
            Wimdows::SimulateKeyDown(KEY_ESCAPE);
    };
    Play(level);
    EXPECT_TRUE(playingInSteps);
    EXPECT_FALSE(Music::SoundMarkedPlaying(Songs.game)) << "stopped when the game ends";
    Music::StopMusic();
    Songs = SongsRec{};
}

}  // namespace
