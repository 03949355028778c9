// The highscore table: entering a game's scores, the highlighted rows, the rewritten file and the
// game-over sequence around them.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "support/gamemode.h"
#include "support/gamewindow.h"
#include "support/playfolder.h"
#include "support/waits.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

const uint32_t BLUE = 0xFFA86F, RED = 0x5A6AFF, GREEN = 0xB000, GREY = 0xC0C0C0;

std::vector<uint32_t> Entered(std::vector<uint32_t> table, int32_t score1, int32_t score2, uint32_t players) {
    uint32_t t[11] = {};
    for (int i = 0; i < 10; i++) t[i + 1] = table[i];
    int32_t scores[3] = {0, score1, score2};
    EnterScores(t, scores, players);
    return std::vector<uint32_t>(t + 1, t + 11);
}

// The colours of rows 1..10, and the scores as they stand afterwards.
std::vector<uint32_t> Colours(std::vector<uint32_t> table, int32_t &score1, int32_t &score2) {
    uint32_t t[11] = {}, c[11] = {};
    for (int i = 0; i < 10; i++) t[i + 1] = table[i];
    int32_t scores[3] = {0, score1, score2};
    HighlightRows(t, scores, c);
    score1 = scores[1];
    score2 = scores[2];
    return std::vector<uint32_t>(c + 1, c + 11);
}

const std::vector<uint32_t> DOWN_FROM_900 = {900, 800, 700, 600, 500, 400, 300, 200, 100, 0};

TEST(HighscoreMerge, OneScoreGoesAboveItsEqualAndTheTenthDropsOut) {
    EXPECT_EQ(Entered(DOWN_FROM_900, 500, 0, 1),
              (std::vector<uint32_t>{900, 800, 700, 600, 500, 500, 400, 300, 200, 100}));
    EXPECT_EQ(Entered(DOWN_FROM_900, 1000, 0, 1),
              (std::vector<uint32_t>{1000, 900, 800, 700, 600, 500, 400, 300, 200, 100}));
    EXPECT_EQ(Entered(DOWN_FROM_900, 0, 0, 1), (std::vector<uint32_t>{900, 800, 700, 600, 500, 400, 300, 200, 100, 0}));
}

TEST(HighscoreMerge, AScoreBelowAllIsNotEntered) {
    std::vector<uint32_t> table = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    EXPECT_EQ(Entered(table, 49, 0, 1), table);
    EXPECT_EQ(Entered(table, 50, 0, 1), (std::vector<uint32_t>{900, 800, 700, 600, 500, 400, 300, 200, 100, 50}));
    EXPECT_EQ(Entered(table, 20, 10, 2), table);
}

TEST(HighscoreMerge, BothPlayersAreEnteredInTurn) {
    EXPECT_EQ(Entered(DOWN_FROM_900, 500, 500, 2),
              (std::vector<uint32_t>{900, 800, 700, 600, 500, 500, 500, 400, 300, 200}));
    EXPECT_EQ(Entered(DOWN_FROM_900, 250, 950, 2),
              (std::vector<uint32_t>{950, 900, 800, 700, 600, 500, 400, 300, 250, 200}));
    EXPECT_EQ(Entered(DOWN_FROM_900, 250, 950, 1),
              (std::vector<uint32_t>{900, 800, 700, 600, 500, 400, 300, 250, 200, 100}))
        << "with one player, player 2's score is not entered";
}

TEST(HighscoreMerge, ATableOutOfOrderTakesTheScoreBeforeTheFirstEntryNotLarger) {
    std::vector<uint32_t> table = {100, 900, 50, 800, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Entered(table, 200, 0, 1), (std::vector<uint32_t>{200, 100, 900, 50, 800, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Entered(table, 60, 0, 1), (std::vector<uint32_t>{100, 900, 60, 50, 800, 0, 0, 0, 0, 0}));
}

TEST(HighscoreColours, TheNewRowOfOnePlayerIsRedAndItsOlderEqualGrey) {
    int32_t s1 = 500, s2 = 0;
    std::vector<uint32_t> table = {900, 800, 700, 600, 500, 500, 400, 300, 200, 100};
    EXPECT_EQ(Colours(table, s1, s2),
              (std::vector<uint32_t>{GREY, GREY, GREY, GREY, RED, GREY, GREY, GREY, GREY, GREY}));
    EXPECT_EQ(s1, -1) << "a shown score lights no second row";
    EXPECT_EQ(s2, 0);
}

TEST(HighscoreColours, EachPlayerHasItsOwnColour) {
    int32_t s1 = 300, s2 = 800;
    std::vector<uint32_t> table = {900, 800, 700, 600, 500, 400, 300, 300, 200, 100};
    EXPECT_EQ(Colours(table, s1, s2),
              (std::vector<uint32_t>{GREY, GREEN, GREY, GREY, GREY, GREY, RED, GREY, GREY, GREY}));
}

TEST(HighscoreColours, EqualScoresMakeTheFirstTwoRowsBlue) {
    int32_t s1 = 500, s2 = 500;
    std::vector<uint32_t> table = {900, 800, 700, 600, 500, 500, 500, 400, 300, 200};
    EXPECT_EQ(Colours(table, s1, s2),
              (std::vector<uint32_t>{GREY, GREY, GREY, GREY, BLUE, BLUE, GREY, GREY, GREY, GREY}));
    EXPECT_EQ(s1, -1);
    EXPECT_EQ(s2, -1);
}

TEST(HighscoreColours, ScoresOfZeroLightOneRowEachAndNoneLightsNothing) {
    int32_t s1 = 0, s2 = 0;
    std::vector<uint32_t> table = {500, 400, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Colours(table, s1, s2),
              (std::vector<uint32_t>{GREY, GREY, BLUE, BLUE, GREY, GREY, GREY, GREY, GREY, GREY}));
    s1 = 300;
    s2 = 0;
    table = {900, 300, 0, 0, 100, 0, 0, 0, 0, 0};
    EXPECT_EQ(Colours(table, s1, s2),
              (std::vector<uint32_t>{GREY, RED, GREEN, GREY, GREY, GREY, GREY, GREY, GREY, GREY}));
    s1 = s2 = -1;  // the table from the main menu
    EXPECT_EQ(Colours(table, s1, s2), std::vector<uint32_t>(10, GREY));
}

// ---- the file and the sequence, in a play folder with instant waits ----

std::string fileDuringWait;  // the highscore file as it was at the last wait

class GameOverSequence : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;

    void SetUp() override {
        fileDuringWait.clear();
        Waits::Start().run = [](int, uint32_t) { fileDuringWait = PlayFolder::ReadBytes("savefiles/highscores.txt"); };
        GameMode::Set(GameMode::Mode::ONE_PLAYER);
        Score[1] = Score[2] = 0;
        end = GameEndRec{};
        end.crashed[1] = true;
    }
    void TearDown() override {
        Waits::Stop();
        Score[1] = Score[2] = 0;
    }

    void WriteTable(const std::vector<uint32_t> &table, const std::string &tail = "") {
        std::vector<std::string> lines;
        for (uint32_t v : table) lines.push_back(std::to_string(v));
        PlayFolder::WriteBytes("savefiles/highscores.txt", PlayFolder::CrLfLines(lines) + tail);
    }
    std::string TableBytes(const std::vector<uint32_t> &table) {
        std::vector<std::string> lines;
        for (uint32_t v : table) lines.push_back(std::to_string(v));
        return PlayFolder::CrLfLines(lines);
    }
    // How the game ended, and the points it keeps (as the game loop decides them from the scores).
    GameEndRec end{};
    int32_t kept[3] = {0, 0, 0};
    std::string RunGameOver() {
        Spel.mode = ModeNu();
        EindPunten(Spel, end, kept);
        testing::internal::CaptureStdout();
        GameOver(end, kept);
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(GameOverSequence, SavesBeforeTheWaitAndSaysSo) {
    WriteTable(DOWN_FROM_900);
    Score[1] = 500;
    EXPECT_EQ(RunGameOver(), "\nHighscore has been saved.");
    const std::string expected = TableBytes({900, 800, 700, 600, 500, 500, 400, 300, 200, 100});
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"), expected);
    ASSERT_EQ(Waits::Current().lengths, std::vector<uint32_t>{4000});
    EXPECT_EQ(fileDuringWait, expected) << "the scores are saved before the end picture's wait";
}

TEST_F(GameOverSequence, TheFileIsRewrittenEvenWhenNothingIsEnteredAndKeepsItsOldTail) {
    // Padded numbers and a trailing note: the rewrite is shorter, so the old bytes beyond it remain.
    std::string old = PlayFolder::CrLfLines({"0009000", "0008000", "0007000", "0006000", "0005000", "0004000",
                                             "0003000", "0002000", "0001000", "0000900"}) +
                      "kept\r\n";
    PlayFolder::WriteBytes("savefiles/highscores.txt", old);
    Score[1] = 10;
    EXPECT_EQ(RunGameOver(), "\nHighscore has been saved.");
    std::string fresh = TableBytes({9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 900});
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"), fresh + old.substr(fresh.size()));
}

TEST_F(GameOverSequence, TwoPlayersWithEqualScoresAreBothEntered) {
    GameMode::Set(GameMode::Mode::TWO_SNAKES);
    end = GameEndRec{{false, false, true}, false, {}};
    WriteTable(DOWN_FROM_900);
    Score[1] = Score[2] = 500;
    RunGameOver();
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"),
              TableBytes({900, 800, 700, 600, 500, 500, 500, 400, 300, 200}));
}

TEST_F(GameOverSequence, TheKnurfPlayerWinsTheSnakesPoints) {
    GameMode::Set(GameMode::Mode::SNAKE_AGAINST_KNURF);
    WriteTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 50});
    Score[1] = 650;
    RunGameOver();
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"),
              TableBytes({900, 800, 700, 650, 600, 500, 400, 300, 200, 100}))
        << "the snake's 650 goes in as player 2's, and player 1's 0 finds no place";

    // A score that is not entered is not shown either, so it stays where the game over put it.
    WriteTable({9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 1000});
    Score[1] = 650;
    Score[2] = 0;
    RunGameOver();
    EXPECT_EQ(kept[1], 0);
    EXPECT_EQ(kept[2], 650);
}

TEST_F(GameOverSequence, TheSnakeKeepsItsPointsWhenTheKnurfBlockIsCaught) {
    GameMode::Set(GameMode::Mode::SNAKE_AGAINST_KNURF);
    WriteTable({900, 800, 700, 600, 500, 400, 300, 200, 100, 0});
    Score[1] = 650;
    end.caught = true;
    RunGameOver();
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"),
              TableBytes({900, 800, 700, 650, 600, 500, 400, 300, 200, 100}));

    WriteTable({9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 1000});
    Score[1] = 650;
    Score[2] = 0;
    RunGameOver();
    EXPECT_EQ(kept[1], 650);
    EXPECT_EQ(kept[2], 0);
}

TEST_F(GameOverSequence, TwoSnakesKeepTheirOwnScores) {
    GameMode::Set(GameMode::Mode::TWO_SNAKES);
    WriteTable({9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 1000});
    Score[1] = 650;
    Score[2] = 300;
    RunGameOver();
    EXPECT_EQ(kept[1], 650);
    EXPECT_EQ(kept[2], 300);
}

TEST_F(GameOverSequence, AnEntryBeyondTheLargestScoreIsReadAsTheLargest) {
    // 99999999999 does not fit in 32 bits, and no score is below 0.
    const std::string old =
        PlayFolder::CrLfLines({"2147483648", "4294967295", "99999999999", "2147483647", "5", "4", "3", "-2", "1", "0"});
    PlayFolder::WriteBytes("savefiles/highscores.txt", old);
    Score[1] = 3;
    RunGameOver();
    const std::string fresh = TableBytes({2147483647, 2147483647, 2147483647, 2147483647, 5, 4, 3, 3, 0, 1});
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"), fresh + old.substr(fresh.size()));
}

// ---- what the player sees and hears, in a window under SDL's dummy drivers ----

const uint32_t GAMEOVER1 = 0x203040, GAMEOVER2 = 0x405020, GAMEOVERBOTH = 0x302050, GAMEOVERKNURF = 0x205030,
               TABLE = 0x102030;

// The span of the text a band of rows shows over a one-coloured picture: first and last column with ink.
struct Ink {
    int32_t x0 = -1, x1 = -1;
};

struct Seen {
    uint32_t ms, screen;
    bool music, gameoverSound;
    Ink bands[4];  // the headline, the two lines of the game-over words and the points
};
std::vector<Seen> seenAtWait;

Ink InkIn(int32_t y0, int32_t y1, uint32_t ground) {
    Ink ink;
    for (int32_t y = y0; y < y1; y++)
        for (int32_t x = 0; x < 800; x++)
            if (Wimdows::ScreenPixel(x, y) != ground) {
                if (ink.x0 < 0 || x < ink.x0) ink.x0 = x;
                if (x > ink.x1) ink.x1 = x;
            }
    return ink;
}

void WatchWait(int, uint32_t ms) {
    uint32_t ground = Wimdows::ScreenPixel(5, 5);
    const int32_t top = Layout::GAME_OVER_WORDS_TOP;  // the headline, two lines of words and the points below it
    seenAtWait.push_back(Seen{ms,
                              ground,
                              Music::SoundMarkedPlaying(Songs.game),
                              Music::SoundMarkedPlaying(Songs.gameover),
                              {InkIn(top + 10, top + 46, ground), InkIn(top + 66, top + 93, ground),
                               InkIn(top + 96, top + 123, ground), InkIn(top + 130, top + 158, ground)}});
}

class HighscoreScreen : public GameOverSequence {
protected:
    std::atomic<bool> done{false};
    std::thread presser;

    void SetUp() override {
        GameOverSequence::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        seenAtWait.clear();
        Waits::Current().run = WatchWait;
        Wimdows::InitWimdows();
        ASSERT_TRUE(GameWindow::Open());
        PlayFolder::WriteBmp("bitmap/gameover.bmp", 800, 680, GAMEOVER1);
        PlayFolder::WriteBmp("bitmap/gameover2.bmp", 800, 680, GAMEOVER2);
        PlayFolder::WriteBmp("bitmap/gameoverboth.bmp", 800, 680, GAMEOVERBOTH);
        PlayFolder::WriteBmp("bitmap/gameoverknurf.bmp", 800, 680, GAMEOVERKNURF);
        PlayFolder::WriteBmp("bitmap/highscoretable.bmp", 800, 680, TABLE);
        ASSERT_TRUE(Music::InitMusic());
        PlayFolder::WriteWav("audio/ingamemusic.mp3", 200, 1000);
        PlayFolder::WriteWav("audio/gameover.mp3", 200, 1000);
        Songs.game = Music::LoadSound("audio/ingamemusic.mp3");
        Songs.gameover = Music::LoadSound("audio/gameover.mp3");
        ASSERT_NE(Songs.gameover, 0u);
        // The table waits for a key that comes after it has dropped the earlier ones: keep pressing.
        presser = std::thread([this] {
            while (!done.load()) {
                Wimdows::SimulateKeyDown(32);
                Wimdows::SimulateKeyUp(32);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
    }
    void TearDown() override {
        done.store(true);
        if (presser.joinable()) presser.join();
        Music::StopMusic();
        Songs = SongsRec{};
        Wimdows::KillWindow();
        GameOverSequence::TearDown();
    }

    // The highlight colour that row i (1..10) of the table shows, or 0 when its text is not found.
    static uint32_t RowColour(uint32_t i) {
        const uint32_t candidates[4] = {BLUE, RED, GREEN, GREY};
        uint32_t found = 0;
        for (int32_t y = Layout::HighscoreY((int32_t)i); y < Layout::HighscoreY((int32_t)i) + 52; y++)
            for (int32_t x = Layout::HIGHSCORE_X; x < 500; x++) {
                uint32_t p = Wimdows::ScreenPixel(x, y);
                for (uint32_t c : candidates)
                    if (p == c) {
                        if (found && found != c) return 1;  // two colours in one row
                        found = c;
                    }
            }
        return found;
    }
};

TEST_F(HighscoreScreen, PlayerOnesEndPictureWithTheSoundThenTheTable) {
    WriteTable(DOWN_FROM_900);
    Score[1] = 500;
    Music::PlaySound(Songs.game, true);
    RunGameOver();
    ASSERT_GE(seenAtWait.size(), 1u);  // the end shows for one wait (longer with keys pressed)
    EXPECT_EQ(seenAtWait[0].ms, 4000u);
    EXPECT_EQ(seenAtWait[0].screen, GAMEOVER1);
    EXPECT_FALSE(seenAtWait[0].music) << "the game music stops";
    EXPECT_TRUE(seenAtWait[0].gameoverSound);

    EXPECT_EQ(Wimdows::ScreenPixel(5, 5), TABLE);
    const uint32_t expected[11] = {0, GREY, GREY, GREY, GREY, RED, GREY, GREY, GREY, GREY, GREY};
    for (uint32_t i = 1; i <= 10; i++) EXPECT_EQ(RowColour(i), expected[i]) << "row " << i;
}

// Player 2's crash shows its own picture; both scores are entered, but never the computer's, nor over the
// network the other machine's player's, whose row is then not highlighted either.
TEST_F(HighscoreScreen, PlayerTwosEndPictureAndTheComputersScore) {
    const struct {
        uint32_t computer, guest;
        std::vector<uint32_t> table;
        uint32_t lastRow;
    } cases[] = {{0, 0, {900, 850, 800, 700, 600, 500, 400, 300, 200, 150}, GREEN},
                 {2, 0, {900, 850, 800, 700, 600, 500, 400, 300, 200, 100}, GREY},
                 {0, 2, {900, 850, 800, 700, 600, 500, 400, 300, 200, 100}, GREY}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.computer);
        AantalSpelers = 2;
        ComputerSpeler = c.computer;
        GastSpeler = c.guest;
        end = GameEndRec{{false, false, true}, false, {}};
        WriteTable(DOWN_FROM_900);
        Score[1] = 850;
        Score[2] = c.computer || c.guest ? 500 : 150;
        seenAtWait.clear();
        RunGameOver();
        ASSERT_GE(seenAtWait.size(), 1u);  // the end shows for one wait (longer with keys pressed)
        EXPECT_EQ(seenAtWait[0].screen, GAMEOVER2);
        EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"), TableBytes(c.table));
        const uint32_t expected[11] = {0, GREY, RED, GREY, GREY, GREY, GREY, GREY, GREY, GREY, c.lastRow};
        for (uint32_t i = 1; i <= 10; i++) EXPECT_EQ(RowColour(i), expected[i]) << "row " << i;
    }
    GastSpeler = 0;
}

// The words of each end in each mode: drawn centred, in the band of their row; none where there is none. They
// say why each crashed snake could not move, and the points each player in play keeps (300 for player 1's
// snake, 200 for player 2; a snake that crashed by itself in snake against knurf gives its points away).
TEST_F(HighscoreScreen, TheGameOverWordsSayWhatHappenedInThisMode) {
    struct Case {
        uint32_t players, manual;
        GameEndRec end;
        uint32_t picture;
        const char *headline, *line1, *line2, *points;
        uint32_t computer = 0;
    };
    const OorzaakEn W = OORZAAK_MUUR, B = OORZAAK_EIGEN_LIJF, S = OORZAAK_ANDERE_SLANG, K = OORZAAK_GIFTIG;
    const Case cases[] = {
        {1,
         0,
         {{false, true, false}, false, {{}, B}},
         GAMEOVER1,
         "Player 1",
         "Your snake hit its own body.",
         "",
         "Score: 300"},
        {2,
         0,
         {{false, true, false}, false, {{}, W}},
         GAMEOVER1,
         "Player 1",
         "The red snake hit a wall.",
         "That ends the game for both.",
         "Player 1: 300     Player 2: 200"},
        {2,
         0,
         {{false, false, true}, false, {{}, {}, S}},
         GAMEOVER2,
         "Player 2",
         "The green snake hit the other snake.",
         "That ends the game for both.",
         "Player 1: 300     Player 2: 200"},
        {2,
         0,
         {{false, true, true}, false, {{}, S, K}},
         GAMEOVERBOTH,
         "Player 1 and player 2",
         "Both snakes crashed in the same step:",
         "red hit the other snake, green ate a blue knurf.",
         "Player 1: 300     Player 2: 200"},
        {2,
         1,
         {{false, true, false}, false, {{}, W}},
         GAMEOVER1,
         "Player 1",
         "The red snake hit a wall.",
         "Its points go to the knurf player.",
         "Player 1 (snake): 0     Player 2 (knurf): 300"},
        {2,
         1,
         {{false, true, false}, true, {{}, OORZAAK_KNURFSPELER}},
         GAMEOVERKNURF,
         "Player 2",
         "The green knurf has caught the red snake!",
         "The snake's points stay with player 1.",
         "Player 1 (snake): 300     Player 2 (knurf): 0"},
        {2,
         0,
         {{false, true, false}, false, {{}, K}},
         GAMEOVER1,
         "Player 1",
         "Your red snake ate a blue knurf: the computer wins.",
         "Only your score goes into the table.",
         "You: 300     Computer: 200",
         2},
        {2,
         0,
         {{false, false, true}, false, {{}, {}, W}},
         GAMEOVER2,
         "The computer",
         "The computer's green snake hit a wall: you win!",
         "Only your score goes into the table.",
         "You: 300     Computer: 200",
         2},
        {2,
         0,
         {{false, true, true}, false, {{}, W, B}},
         GAMEOVERBOTH,
         "Player 1 and the computer",
         "Both snakes crashed in the same step:",
         "you hit a wall, the computer hit its own body.",
         "You: 300     Computer: 200",
         2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line1);
        AantalSpelers = c.players;
        BlokjeManueel = c.manual == 1;
        AantalBlokjesManueel = c.manual;
        ComputerSpeler = c.computer;
        end = c.end;
        Score[1] = 300;
        Score[2] = c.players == 2 && c.manual == 0 ? 200 : 0;
        WriteTable(DOWN_FROM_900);
        seenAtWait.clear();
        RunGameOver();
        ASSERT_GE(seenAtWait.size(), 1u);  // the end shows for one wait (longer with keys pressed)
        EXPECT_EQ(seenAtWait[0].screen, c.picture);
        const char *texts[4] = {c.headline, c.line1, c.line2, c.points};
        for (int band = 0; band < 4; band++) {
            const Ink &ink = seenAtWait[0].bands[band];
            uint32_t w = 0, h = 0;
            Wimdows::GetTextSize(texts[band], band == 0 ? 1 : 0, w, h);
            if (!*texts[band]) {
                EXPECT_EQ(ink.x0, -1) << "band " << band << " holds no words";
                continue;
            }
            EXPECT_NEAR(ink.x0 + ink.x1, 800, 6) << "band " << band << " centred";
            EXPECT_NEAR(ink.x1 - ink.x0 + 1, (int32_t)w, 6) << "band " << band << ": " << texts[band];
        }
    }
}

// Every colour of the table's numbers reads on the pixels under them in the generated picture: a contrast
// ratio of at least 4.5 (the brighter colour's luminance plus 0.05 over the darker one's plus 0.05).
TEST_F(HighscoreScreen, EveryRowColourReadsOnTheTable) {
    const std::string generated = std::string(KWIBBEL_DATA_DIR) + "/bitmap/highscoretable.bmp";
    uint32_t picture = Wimdows::LoadBitmap(generated.c_str(), 800, 680);
    if (picture == 0) GTEST_SKIP() << "the pictures are not generated in " << KWIBBEL_DATA_DIR;
    auto luminance = [](uint32_t c) {
        double sum = 0, weight[3] = {0.2126, 0.7152, 0.0722};
        for (int k = 0; k < 3; k++) {
            double v = ((c >> (8 * k)) & 0xFF) / 255.0;
            sum += weight[k] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    Wimdows::DrawBitmap(picture, 0, 0);
    uint32_t w = 0, h = 0;
    Wimdows::GetTextSize("2147483647", 1, w, h);
    for (uint32_t colour : {BLUE, RED, GREEN, GREY})
        for (int32_t i = 1; i <= 10; i++) {
            double worst = 100;
            for (int32_t y = 52 * i + 72; y < 52 * i + 72 + (int32_t)h; y++)
                for (int32_t x = 200; x < 200 + (int32_t)w; x++) {
                    double a = luminance(colour), b = luminance(Wimdows::BufferPixel(x, y));
                    worst = std::min(worst, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
                }
            EXPECT_GE(worst, 4.5) << "colour " << std::hex << colour << std::dec << " in row " << i;
        }
}

TEST_F(HighscoreScreen, FromTheMainMenuNoRowIsHighlighted) {
    WriteTable({500, 400, 0, 0, 0, 0, 0, 0, 0, 0});
    testing::internal::CaptureStdout();
    LeesHighscore();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "looking at the table saves nothing";
    EXPECT_TRUE(seenAtWait.empty());
    for (uint32_t i = 1; i <= 10; i++) EXPECT_EQ(RowColour(i), GREY) << "row " << i;
}

TEST_F(HighscoreScreen, ATableThatCannotBeSavedOrReadIsShownAndTheGameGoesOn) {
    const uint32_t FAILED = 0x503010;
    PlayFolder::WriteBmp("bitmap/savefailed.bmp", 800, 680, FAILED);
    std::remove("savefiles/highscores.txt");
    ASSERT_EQ(mkdir("savefiles/highscores.txt", 0755), 0);
    Score[1] = 500;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGameOver(), "") << "nothing was saved";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open save file savefiles/highscores.txt.\n");
    ASSERT_GE(seenAtWait.size(), 1u);  // the end shows for one wait (longer with keys pressed)
    EXPECT_EQ(seenAtWait[0].screen, GAMEOVER1) << "the end picture first, as always";
    EXPECT_EQ(Wimdows::ScreenPixel(5, 5), FAILED) << "then the failure instead of the table";
    Wimdows::ClearScreen();
    Wimdows::UpdateWindow();
    testing::internal::CaptureStderr();
    LeesHighscore();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Wimdows::ScreenPixel(5, 5), FAILED) << "the menu's table cannot be read either";
    rmdir("savefiles/highscores.txt");
}

// Two copies of the game ending games at the same moments: the lock keeps every score of both.
TEST_F(GameOverSequence, TwoCopiesSavingAtOnceLoseNoScore) {
    WriteTable({0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    const int GAMES = 60;
    pid_t copies[2];
    for (int c = 0; c < 2; c++) {
        copies[c] = fork();
        if (copies[c] == 0) {
            std::freopen("/dev/null", "w", stdout);
            for (int g = 0; g < GAMES; g++) {
                const int32_t punten[3] = {0, 1000 + 2 * g + c, 0};
                GameOver(GameEndRec{{false, true, false}, false, {}}, punten);
            }
            std::_Exit(0);
        }
    }
    for (pid_t copy : copies) {
        int status = 0;
        ASSERT_EQ(waitpid(copy, &status, 0), copy);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<uint32_t> best;
    for (int k = 1; k <= 10; k++) best.push_back(1000 + 2 * GAMES - k);
    EXPECT_EQ(PlayFolder::ReadBytes("savefiles/highscores.txt"), TableBytes(best));
}

}  // namespace
