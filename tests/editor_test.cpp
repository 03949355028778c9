// The level editor, driven like a player: held keys change only between cursor steps, through a wait
// procedure that stands in for the editor's waits (no real time passes). Checked: the saved custom level
// byte for byte, the cursor's moves after a fill, the refusals that keep every saved level playable, and
// the manual on the console.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <SDL.h>

#include "game/SnakePieces.h"
#include "game/SnakeProcedures.h"
#include "support/gamemode.h"
#include "support/playfolder.h"
#include "wimdows/Wimdows.h"

using namespace SnakeProcedures;

namespace {

const uint32_t BACKSPACE = Wimdows::KEY_BACKSPACE, ENTER = Wimdows::KEY_ENTER, ESCAPE = Wimdows::KEY_ESCAPE,
               SPACE = Wimdows::KEY_SPACE, LEFT = Wimdows::KEY_LEFT, UP = Wimdows::KEY_UP, RIGHT = Wimdows::KEY_RIGHT,
               DOWN = Wimdows::KEY_DOWN, KEY_D = Wimdows::KEY_D, KEY_M = Wimdows::KEY_M, KEY_L = 'L';
const uint32_t ALL_KEYS[] = {BACKSPACE, ENTER, ESCAPE, SPACE, LEFT, UP, RIGHT, DOWN, KEY_D, KEY_M, KEY_L};

typedef std::vector<uint32_t> Keys;
// In a turn: the keys before it are held, the keys after it tapped (pressed and let go at once).
const uint32_t TAP = 0x10000;

// ---- the player's script ---------------------------------------------------------------------------
//
// The editor reads held keys at fixed points of a cursor step: Space, D, Escape and M before the cursor
// moves, Backspace at the start of the move, the arrows and Enter after the blink. A "turn" is the set of
// keys held from the end of one step's pause to the end of the next one's, so turn k drives the arrows and
// Enter of step k and the Space, D, Escape, M and Backspace checks of step k + 1. Turn 0 is held when the
// editor starts. A step's pause is two blink waits of 50 ms, or one 20 ms wait where the cursor does not
// blink; the countdown's waits before the first step are passed over.

struct Script {
    std::vector<Keys> turns;
    size_t next = 0;
    int blinkHalves = 0;
    Keys held;
    std::vector<uint32_t> stepPauses;         // per cursor step: 100 (a blink) or 20
    std::function<void(size_t)> observe;      // called at the end of step k's pause, before turn k is held
    std::function<void(uint32_t)> everyWait;  // called at each of the editor's waits, with its length
    std::function<void()> firstWait;          // called at the editor's first wait, then dropped
    size_t spareTurns = 0;
};

Script *script = nullptr;

void Hold(const Keys &keys) {
    for (uint32_t k : script->held)
        if (std::find(keys.begin(), keys.end(), k) == keys.end()) Wimdows::SimulateKeyUp(k);
    for (uint32_t k : keys)
        if (std::find(script->held.begin(), script->held.end(), k) == script->held.end()) Wimdows::SimulateKeyDown(k);
    script->held = keys;
}

void EndOfPause(uint32_t pause) {
    script->stepPauses.push_back(pause);
    if (script->observe) script->observe(script->next);
    if (script->next < script->turns.size()) {
        const Keys &turn = script->turns[script->next++];
        auto tap = std::find(turn.begin(), turn.end(), TAP);
        Hold(Keys(turn.begin(), tap));
        for (auto k = tap; k != turn.end(); ++k)
            if (*k != TAP) {
                Wimdows::SimulateKeyDown(*k);
                Wimdows::SimulateKeyUp(*k);
            }
        return;
    }
    Hold({});
    // The script ends with the editor: a few idle steps after Escape are expected, an endless run is not.
    if (++script->spareTurns > 4) {
        std::fprintf(stderr, "The editor was still running after the script ended.\n");
        std::abort();
    }
}

void ScriptedWait(uint32_t ms) {
    if (!script) return;
    if (script->firstWait) {
        script->firstWait();
        script->firstWait = nullptr;
        // Turn 0 is held from the start of the editor on.
        Hold(script->turns.empty() ? Keys{} : script->turns[0]);
    }
    if (script->everyWait && (ms == 50 || ms == 20)) script->everyWait(ms);
    if (ms == 50) {
        if (++script->blinkHalves == 2) {
            script->blinkHalves = 0;
            EndOfPause(100);
        }
    } else if (ms == 20) {
        EndOfPause(20);
    }
}

// ---- the expected level ----------------------------------------------------------------------------

struct Level {
    std::vector<std::string> rows = std::vector<std::string>(30, std::string(40, '-'));

    Level &Run(int row, int col, int count, char c) {
        for (int k = 0; k < count; k++) rows[row - 1][col - 1 + k] = c;
        return *this;
    }
    Level &Border() {
        rows[0] = rows[29] = std::string(40, 'M');
        for (int r = 1; r < 29; r++) rows[r][0] = rows[r][39] = 'M';
        return *this;
    }
    std::string Bytes() const { return PlayFolder::CrLfLines(rows); }
};

// What was in the custom level before: one row more than a level, so the old tail shows.
std::string OldCustomLevel() { return PlayFolder::CrLfLines(std::vector<std::string>(31, std::string(40, 'x'))); }

// The old file's bytes past a saved level's 30 rows stay, as with every save file rewritten in place.
std::string SavedAs(const Level &level) { return level.Bytes() + OldCustomLevel().substr(30 * 42); }

class Editor : public ::testing::Test {
protected:
    PlayFolder::Scoped folder;
    Script run;
    std::string console;  // what the editor wrote to the console

    void SetUp() override {
        PlayFolder::WriteBytes("savefiles/custom.txt", OldCustomLevel());
        for (uint32_t k : ALL_KEYS) Wimdows::SimulateKeyUp(k);
        Wimdows::FlushKeys();
        script = &run;
        Wimdows::SetWaitProc(ScriptedWait);
    }
    void TearDown() override {
        Hold({});
        Wimdows::FlushKeys();
        Wimdows::SetWaitProc(nullptr);
        script = nullptr;
    }

    // Runs the editor from its help screen (left with Space) through the turns; the custom level after it.
    std::string Play(const std::vector<Keys> &turns) {
        run.turns = turns;
        run.next = 1;
        // The help screen takes only a key pressed while it shows: Space is tapped until the editor waits
        // for the first time (its countdown), so before any turn is held.
        std::atomic<bool> helpLeft{false}, handDone{false};
        run.firstWait = [&] {
            helpLeft = true;
            while (!handDone) std::this_thread::yield();
        };
        std::thread hand([&] {
            while (!helpLeft) {
                Wimdows::SimulateKeyDown(SPACE);
                Wimdows::SimulateKeyUp(SPACE);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            handDone = true;
        });
        testing::internal::CaptureStdout();
        LevelMaker();
        console = testing::internal::GetCapturedStdout();
        helpLeft = true;
        hand.join();
        return PlayFolder::ReadBytes("savefiles/custom.txt");
    }
};

std::vector<Keys> Repeat(const Keys &keys, int n) { return std::vector<Keys>(n, keys); }
// n quick taps of key, one per cursor step.
std::vector<Keys> Taps(uint32_t key, int n) { return Repeat({TAP, key}, n); }

std::vector<Keys> Then(std::vector<Keys> a, const std::vector<Keys> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// ---- where the cursor goes after a fill --------------------------------------------------------------

class CursorAfterFill : public ::testing::Test {
protected:
    void SetUp() override { VensterInBlokken(); }
    static RijEnKolomRec At(uint32_t rij, uint32_t kolom) { return AfterMoveCell({rij, kolom}); }
    static void Wall(uint32_t rij, uint32_t kolom) { Veld[rij][kolom].bezet = MUUR; }
};

#define EXPECT_CELL(cell, r, k)                                                                                        \
    do {                                                                                                               \
        RijEnKolomRec got_ = (cell);                                                                                   \
        EXPECT_EQ(got_.rij, (uint32_t)(r)) << "row";                                                                   \
        EXPECT_EQ(got_.kolom, (uint32_t)(k)) << "column";                                                              \
    } while (0)

TEST_F(CursorAfterFill, RunsClockwiseRoundTheEdge) {
    EXPECT_CELL(At(30, 40), 30, 39);  // bottom-right corner: left
    EXPECT_CELL(At(1, 40), 2, 40);    // top-right corner is on the right edge: down
    EXPECT_CELL(At(15, 40), 16, 40);  // right edge: down
    EXPECT_CELL(At(1, 1), 1, 2);      // top-left corner: right
    EXPECT_CELL(At(30, 20), 30, 19);  // bottom edge: left
    EXPECT_CELL(At(30, 1), 29, 1);    // bottom-left corner: up
    EXPECT_CELL(At(15, 1), 14, 1);    // left edge: up
    EXPECT_CELL(At(1, 20), 1, 21);    // top edge: right
    Veld[16][40].bezet = MUUR;        // walls do not matter on the edge
    EXPECT_CELL(At(15, 40), 16, 40);
}

TEST_F(CursorAfterFill, InsideMovesAwayFromTheWallFound) {
    struct Case {
        int dr, dk;  // where the wall stands, relative to the cursor
        int wantR, wantK;
    } cases[] = {
        {0, -1, 0, +1},    // left: right
        {0, +1, 0, -1},    // right: left
        {-1, 0, +1, 0},    // above: down
        {+1, 0, -1, 0},    // below: up
        {-1, -1, +1, +1},  // above-left: down and right
        {+1, -1, -1, +1},  // below-left: up and right
        {-1, +1, +1, -1},  // above-right: down and left, continuing the line
        {+1, +1, 0, +1},   // below-right is not looked at: right
        {0, 0, 0, +1},     // a wall on the cursor cell itself changes nothing: right
    };
    for (const Case &c : cases) {
        VensterInBlokken();
        Wall(10 + c.dr, 20 + c.dk);
        SCOPED_TRACE(testing::Message() << "wall at (" << c.dr << ", " << c.dk << ")");
        EXPECT_CELL(At(10, 20), 10 + c.wantR, 20 + c.wantK);
    }
    VensterInBlokken();
    Veld[10][19].BeginPosSlang = true;  // start cells are no walls
    EXPECT_CELL(At(10, 20), 10, 21);    // no wall around: right
    EXPECT_CELL(At(2, 39), 2, 40);      // next to the edge, inside: right onto the edge
}

TEST_F(CursorAfterFill, FirstWallInTheOrderWins) {
    Wall(10, 19);  // left
    Wall(10, 21);  // right
    EXPECT_CELL(At(10, 20), 10, 21);
    VensterInBlokken();
    Wall(11, 20);  // below
    Wall(9, 19);   // above-left
    EXPECT_CELL(At(10, 20), 9, 20);
    VensterInBlokken();
    Wall(11, 19);  // below-left
    Wall(9, 21);   // above-right
    EXPECT_CELL(At(10, 20), 9, 21);
}

// ---- whole editor runs -----------------------------------------------------------------------------

TEST_F(Editor, SavesTheDrawingInTheLevelFormatWithKeysHeldOrTapped) {
    const std::vector<Keys> turns = {
        {},       {RIGHT},  // cursor (2, 3)
        {ENTER},            // snake 1 on (2, 3..6); the cursor passes (2, 7) and moves on right to (2, 8)
        {DOWN},             // (3, 8)
        {ENTER},            // snake 2 on (3, 8..11); cursor (3, 13)
        {},       {ENTER},  // wall (3, 13), then right
        {},       {ENTER},  // wall (3, 14), then right
        {},       {KEY_M},  // the wall round the board
        {ESCAPE},
    };
    // The game lays a snake from the cell after its first letter: each run of letters starts one cell
    // left of its snake.
    Level want;
    want.Border().Run(2, 2, 4, 'S').Run(3, 7, 4, 'T').Run(3, 13, 2, 'M');
    EXPECT_EQ(Play(turns), SavedAs(want));

    // A key tapped between two of the editor's looks acts as one held there.
    std::vector<Keys> taps = turns;
    for (Keys &turn : taps) turn.insert(turn.begin(), TAP);
    run = Script();
    PlayFolder::WriteBytes("savefiles/custom.txt", OldCustomLevel());
    EXPECT_EQ(Play(taps), SavedAs(want));
}

TEST_F(Editor, EnterLaysOneStartPerPressAndHeldDrawsWalls) {
    // Held for four steps, Enter lays snake 1's start only; pressed again, snake 2's; then held for four
    // steps, walls: one when pressed, none in the step after, then one per step (a keyboard's repeat delay).
    std::string saved =
        Play(Then(Then({{}}, Repeat({ENTER}, 4)), Then({{}, {ENTER}, {}}, Then(Repeat({ENTER}, 4), {{ESCAPE}}))));
    Level want;
    want.Run(2, 1, 4, 'S').Run(2, 6, 4, 'T').Run(2, 12, 3, 'M');
    EXPECT_EQ(saved, SavedAs(want));
}

TEST_F(Editor, NoWallGoesOnAStartSnakeOrTheCellBeforeIt) {
    std::string saved = Play({
        {},           {ENTER},  // snake 1 on (2, 2..5), cursor (2, 7)
        {LEFT},       {ENTER},  // refused: snake 2's tail would stand in front of snake 1's head
        {RIGHT},      {ENTER},  // snake 2 on (2, 7..10), cursor (2, 12)
        {LEFT},       {ENTER},  // refused: (2, 11) is ahead of snake 2's head
        {SPACE},                // cursor back to (2, 2)
        {ENTER},                // refused: snake 1 lies there
        {LEFT},                 // (2, 1), before snake 1
        {ENTER},                // refused
        {TAP, RIGHT}, {TAP, RIGHT}, {TAP, RIGHT}, {TAP, RIGHT}, {TAP, RIGHT},  // (2, 6), before snake 2
        {ENTER},                                                               // refused
        {DOWN},       {ENTER},                                                 // an ordinary wall on (3, 6)
        {ESCAPE},
    });
    Level want;
    want.Run(2, 1, 4, 'S').Run(2, 6, 4, 'T').Run(3, 6, 1, 'M');
    EXPECT_EQ(saved, SavedAs(want));
    for (uint32_t k : {1, 2, 6, 7, 11}) EXPECT_EQ(Veld[2][k].bezet, ONBEZET) << "column " << k;
}

TEST_F(Editor, BackspaceRemovesWallsButLeavesStarts) {
    std::string saved = Play(Then(
        {
            {},
            {ENTER},  // snake 1 on (2, 2..5)
            {},
            {ENTER},  // snake 2 on (2, 7..10), cursor (2, 12)
            {},
            {ENTER},       // wall (2, 12)
            {TAP, ENTER},  // wall (2, 13), cursor (2, 14)
            {DOWN},
            {ENTER},      // wall (3, 14), left alone below
            {SPACE},      // cursor (2, 2)
            {BACKSPACE},  // over a start cell: nothing
        },
        Then(Repeat({BACKSPACE, TAP, RIGHT}, 11),  // along row 2 up to (2, 13)
             {{}, {ESCAPE}})));
    Level want;
    want.Run(2, 1, 4, 'S').Run(2, 6, 4, 'T').Run(3, 14, 1, 'M');
    EXPECT_EQ(saved, SavedAs(want));
    EXPECT_EQ(Veld[2][12].bezet, ONBEZET);
    EXPECT_EQ(Veld[2][13].bezet, ONBEZET);
    EXPECT_EQ(Veld[2][12].x1, 220u);
    EXPECT_EQ(Veld[2][12].y2, 40u);
}

TEST_F(Editor, DStartsOverFromSnake2sStartButNotBeforeIt) {
    bool laidInRow3 = false;
    run.observe = [&](size_t) { laidInRow3 = laidInRow3 || Veld[3][2].BeginPosSlang; };
    std::string saved = Play({
        {},
        {DOWN},   // (3, 2)
        {KEY_D},  // while choosing snake 1's start D does nothing: the cursor stays
        {ENTER},  // snake 1 on (3, 2..5)
        {KEY_D},  // start over: empty board, cursor (2, 2), snake 1's start again
        {},
        {RIGHT},   // (2, 3)
        {ENTER},   // snake 1 on (2, 3..6)
        {ESCAPE},  // saved while choosing snake 2's start
    });
    EXPECT_TRUE(laidInRow3) << "snake 1's start was never laid where the cursor stood before D";
    Level want;
    want.Run(2, 2, 4, 'S');
    EXPECT_EQ(saved, SavedAs(want));
}

TEST_F(Editor, DWhileDrawingWallsClearsEverythingAndEscapeThenLeavesUnsaved) {
    std::string saved = Play({
        {},
        {ENTER},  // snake 1 on (2, 2..5)
        {},
        {ENTER},  // snake 2 on (2, 7..10)
        {},
        {ENTER},   // wall (2, 12)
        {KEY_M},   // the wall round the board
        {KEY_D},   // everything gone; snake 1's start asked again
        {ESCAPE},  // nothing placed: the editor leaves and saves nothing
    });
    EXPECT_EQ(saved, OldCustomLevel());
    EXPECT_EQ(console.find("Level has been saved."), std::string::npos);
    for (uint32_t k = 1; k <= 40; k++) EXPECT_EQ(Veld[1][k].bezet, ONBEZET) << "the wall round is gone";
}

TEST_F(Editor, LLoadsTheSavedLevelToMendIt) {
    Level before;
    before.Run(5, 1, 4, 'S').Run(7, 11, 4, 'T').Run(10, 10, 1, 'M').Run(2, 3, 1, 'M');
    PlayFolder::WriteBytes("savefiles/custom.txt", before.Bytes());
    std::string saved = Play({
        {},
        {TAP, KEY_L},  // both starts and the walls back: walls are drawn next
        {ENTER},       // a wall on (2, 2), the cursor's home
        {ESCAPE},
    });
    Level want = before;
    want.Run(2, 2, 1, 'M');
    EXPECT_EQ(saved, want.Bytes());
    EXPECT_NE(console.find("\nLevel savefiles/custom.txt is loaded to be mended."), std::string::npos);

    // A start the editor would refuse is dropped and asked for again: snake 2's tail ahead of snake 1's head.
    Level blocked;
    blocked.Run(5, 1, 4, 'S').Run(5, 5, 4, 'T');
    PlayFolder::WriteBytes("savefiles/custom.txt", blocked.Bytes());
    run = Script();
    saved = Play({{}, {TAP, KEY_L}, {ESCAPE}});  // snake 2's start to lay: Escape saves snake 1's
    Level only1;
    only1.Run(5, 1, 4, 'S');
    EXPECT_EQ(saved, only1.Bytes());
    EXPECT_NE(console.find("The start of snake 2 in savefiles/custom.txt cannot be kept"), std::string::npos);
}

TEST_F(Editor, DAndEscapeTogetherNeverSaveAnEmptyBoard) {
    std::string saved = Play({
        {},
        {DOWN},
        {ENTER},          // snake 1 on (3, 2..5)
        {KEY_D, ESCAPE},  // starts over; Escape no longer applies
        {},
        {ENTER},  // snake 1 on (2, 2..5)
        {ESCAPE},
    });
    Level want;
    want.Run(2, 1, 4, 'S');
    EXPECT_EQ(saved, SavedAs(want));
}

TEST_F(Editor, StartSnakesStayOnTheBoardOffEachOtherWhereTheGameLaysThem) {
    // Every press moves one cell, five pressed in one cursor step too.
    std::vector<Keys> turns = Then({{}}, Repeat({TAP, RIGHT, RIGHT, RIGHT, RIGHT, RIGHT}, 7));  // cursor (2, 37)
    turns = Then(turns, {
                            {ENTER},  // refused: the run would end beyond column 40
                            {LEFT},   // (2, 36)
                            {ENTER},  // snake 1 on (2, 36..39); cursor (2, 40), then down the edge to (3, 40)
                            {},
                            {ENTER},  // refused in column 40
                            {SPACE},  // (2, 2)
                            {LEFT},   // (2, 1)
                            {ENTER},  // refused: no cell before the run for its first letter
                        });
    turns = Then(turns, Taps(RIGHT, 31));  // (2, 32)
    turns = Then(turns, {
                            {ENTER},  // refused: (2, 32..35) would head into snake 1's tail
                            {TAP, RIGHT, RIGHT},
                            {ENTER},  // refused: (2, 34..37) would cover snake 1's start
                            {DOWN},   // (3, 34)
                            {ENTER},  // snake 2 on (3, 34..37)
                            {ESCAPE},
                        });
    std::string saved = Play(turns);
    Level want;
    want.Run(2, 35, 4, 'S').Run(3, 33, 4, 'T');
    EXPECT_EQ(saved, SavedAs(want));

    // The game lays each snake on the four cells right of its first start letter: where the editor showed it.
    uint32_t grootte[3] = {}, custom = 4;
    PijlEn richting[3] = {};
    RijEnKolomRec positie[3] = {};
    GameMode::Set(GameMode::Mode::TWO_SNAKES);
    ASSERT_TRUE(LoadLevel(grootte, richting, positie, Bitmaps, custom));
    EXPECT_EQ(positie[1].kolom + 1, 36u);
    EXPECT_EQ(positie[2].kolom + 1, 34u);
    EXPECT_EQ(grootte[1], 4u);
    EXPECT_EQ(grootte[2], 4u);
}

TEST_F(Editor, AStepWithoutBlinkStillPauses) {
    Play({
        {},
        {ENTER},  // snake 1 on (2, 2..5)
        {SPACE},  // onto a start cell: no blink from here on
        {},
        {},
        {},
        {},
        {ESCAPE},
    });
    std::vector<uint32_t> want = {100, 100, 20, 20, 20, 20, 20, 20};
    EXPECT_EQ(run.stepPauses, want) << "each cursor step pauses: a blink of 2 x 50 ms, or 20 ms without one";
}

TEST_F(Editor, WritesTheManualAndTheSaveLineToTheConsole) {
    Play({{}, {ENTER}, {ESCAPE}});
    std::string manual = "\n --*--Levelmaker Manual--*--\n\n"
                         "First you have to choose your begin position of both snakes.\n"
                         "The default starting direction of the snakes is RIGHT.\n"
                         "The snake length is 4.\n"
                         "Move with the ARROW KEYS and press ENTER to choose your location.\n"
                         "You will now be able to create wall.\n"
                         "Building a wall in front of you or on you may have negative consequences ingame :)\n"
                         "Press ENTER to create wall.\n"
                         "Press M to draw a wall closing in the playfield.\n"
                         "If you mess up your outer wall, just press M again.\n"
                         "In case you lose your cursor press SPACE to reset it.\n"
                         "Hold BACKSPACE to enter the delete modus and remove unwanted wall.\n"
                         "Press D to clear your screen and start all over again.\n"
                         "Press ESCAPE to save your level and return to the mainmenu.\n"
                         "The difficulty is set to the one you chose in the options menu.\n"
                         "You can load your level from the slotsmenu by loading the custom level.\n";
    EXPECT_EQ(console, manual + "\nLevel has been saved.");
}

// ---- on a window: what the player sees, and closing the window ------------------------------------

const uint32_t HUD = 0x203040, EDITOR_HUD = 0x304020, SNAKE1_BODY = 0x00A000, SNAKE1_HEAD = 0x00F000,
               SNAKE2_BODY = 0xA00000, SNAKE2_HEAD = 0xF00000, WALL_VER = 0x0060C0, WALL_HOR = 0x0080E0,
               GREY = 0xC0C0C0;

class EditorOnScreen : public Editor {
protected:
    void SetUp() override {
        if (Wimdows::WindowClosed())
            GTEST_SKIP() << "an earlier test in this process closed the window for good; run this one alone";
        Editor::SetUp();
        PlayFolder::WriteBmp("bitmap/levelmakerhelp.bmp", 8, 8, 0x808080);
        PlayFolder::WriteBmp("bitmap/hud.bmp", 8, 8, HUD);
        PlayFolder::WriteBmp("bitmap/editorhud.bmp", 8, 8, EDITOR_HUD);
        using namespace SnakePieces;
        PlayFolder::WriteBmp("bitmap/" + FileName(1, HORIZONTAL), 4, 4, SNAKE1_BODY);
        PlayFolder::WriteBmp("bitmap/" + FileName(1, HEAD_RIGHT), 4, 4, SNAKE1_HEAD);
        PlayFolder::WriteBmp("bitmap/" + FileName(2, HORIZONTAL), 4, 4, SNAKE2_BODY);
        PlayFolder::WriteBmp("bitmap/" + FileName(2, HEAD_RIGHT), 4, 4, SNAKE2_HEAD);
        PlayFolder::WriteBmp("bitmap/muurver.bmp", 4, 4, WALL_VER);
        PlayFolder::WriteBmp("bitmap/muurhor.bmp", 4, 4, WALL_HOR);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        Wimdows::InitWimdows();
        Wimdows::Window("Kwibbel", 800, 680);
        ASSERT_EQ(Wimdows::State(), Wimdows::STATE_ACTIVE) << "no window under the dummy video driver";
        Wimdows::SetBuffering(true);
    }
    void TearDown() override {
        Editor::TearDown();
        Wimdows::KillWindow();
    }
    // The colour in the middle of cell (rij, kolom).
    static uint32_t CellColour(uint32_t rij, uint32_t kolom) {
        return Wimdows::BufferPixel(20 * kolom - 10, 20 * rij - 10);
    }
};

TEST_F(EditorOnScreen, DrawsTheCursorStartsAndWalls) {
    std::vector<uint32_t> frame, inside, beyond;              // during each blink wait, at cell (2, 2)
    std::vector<std::vector<uint32_t>> enterWords, escWords;  // the panel's words on Enter and Esc, steps 1, 3, 5
    auto words = [](int32_t left, int32_t top, int32_t width) {
        std::vector<uint32_t> band;
        for (int32_t x = left; x < left + width; x++)
            for (int32_t y = 0; y < 14; y++) band.push_back(Wimdows::BufferPixel(x, Layout::PANEL_Y + top + y));
        return band;
    };
    run.everyWait = [&](uint32_t) {
        if (frame.size() < 2) {
            frame.push_back(Wimdows::BufferPixel(20, 20));
            inside.push_back(Wimdows::BufferPixel(30, 30));
            beyond.push_back(Wimdows::BufferPixel(40, 40));
            EXPECT_EQ(Wimdows::BufferPixel(400, 640), EDITOR_HUD) << "the editor's own bar below the board";
            EXPECT_EQ(Wimdows::BufferPixel(39, 39), frame.size() == 1 ? GREY : 0u) << "the frame's far corner";
        }
    };
    run.observe = [&](size_t step) {
        if (step == 1 || step == 3 || step == 5) {
            enterWords.push_back(words(Layout::EDITOR_ENTER_WORDS_X, Layout::EDITOR_ENTER_WORDS_TOP, 200));
            escWords.push_back(words(Layout::EDITOR_ESC_WORDS_X, Layout::EDITOR_ESC_WORDS_TOP, 110));
        }
        if (step == 6) {
            for (uint32_t k = 2; k <= 4; k++) EXPECT_EQ(CellColour(2, k), SNAKE1_BODY) << "column " << k;
            EXPECT_EQ(CellColour(2, 5), SNAKE1_HEAD);
            for (uint32_t k = 7; k <= 9; k++) EXPECT_EQ(CellColour(2, k), SNAKE2_BODY) << "column " << k;
            EXPECT_EQ(CellColour(2, 10), SNAKE2_HEAD);
            EXPECT_EQ(CellColour(2, 12), WALL_VER);
        }
        if (step == 8) {
            EXPECT_EQ(CellColour(2, 12), 0u) << "a wall removed with Backspace is painted black";
        }
        if (step == 10) {
            EXPECT_EQ(CellColour(1, 20), WALL_HOR);
            EXPECT_EQ(CellColour(6, 1), WALL_VER);
            EXPECT_EQ(CellColour(2, 1), 0u) << "the cell before snake 1 stays free";
            EXPECT_EQ(CellColour(2, 2), SNAKE1_BODY) << "the start cells stay visible";
        }
    };
    std::string saved = Play({
        {},
        {ENTER},  // snake 1 on (2, 2..5)
        {},
        {ENTER},  // snake 2 on (2, 7..10)
        {},
        {ENTER},      // wall (2, 12), cursor (2, 13)
        {LEFT},       // back onto the wall
        {BACKSPACE},  // removed
        {KEY_M},      // the wall round the board, but not before snake 1 in (2, 1)
        {ESCAPE},
    });
    std::vector<uint32_t> grey = {GREY, 0}, black = {0, 0};
    EXPECT_EQ(frame, grey) << "the cursor blinks: a light grey frame, then the black cell";
    EXPECT_EQ(inside, black) << "the frame leaves the cell's inside alone";
    EXPECT_EQ(beyond, black) << "the blink stays within its cell";
    int signed_ = 0;  // the sign saying the level was saved, left over the middle of the board
    for (int32_t x = 150; x < 650; x++) signed_ += Wimdows::BufferPixel(x, 300) != 0;
    EXPECT_GT(signed_, 0) << "no sign of the save on the board";
    ASSERT_EQ(enterWords.size(), 3u);
    EXPECT_TRUE(enterWords[0] != enterWords[1] && enterWords[1] != enterWords[2] && enterWords[0] != enterWords[2])
        << "the panel says what Enter does in each of the three states";
    EXPECT_TRUE(escWords[0] != escWords[1] && escWords[1] == escWords[2])
        << "the panel says that Escape saves only once snake 1's start is laid";
    Level want;
    want.Border().Run(2, 1, 4, 'S').Run(2, 6, 4, 'T');
    EXPECT_EQ(saved, SavedAs(want));
}

// Closing the window is for good in a run, so this comes last; under CTest every test runs on its own.
TEST_F(EditorOnScreen, ClosingTheWindowEndsTheEditorWithoutSaving) {
    run.observe = [&](size_t step) {
        if (step != 4) return;
        SDL_Event quit = {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        while (!Wimdows::WindowClosed()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    std::string saved = Play({
        {},
        {ENTER},   // snake 1
        {ENTER},   // snake 2
        {ENTER},   // a wall; the window closes after the next step
        {ESCAPE},  // never seen: the window is gone
    });
    EXPECT_EQ(saved, OldCustomLevel()) << "a half-made level was written over the last saved one";
    EXPECT_EQ(console.find("Level has been saved."), std::string::npos);

    // Opened after the window is gone, the editor returns at once from its help screen.
    std::string again = Play({{}, {ENTER}, {ENTER}, {ESCAPE}});
    EXPECT_EQ(again, OldCustomLevel());
    EXPECT_EQ(console, "");
}

}  // namespace
