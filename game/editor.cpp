// The level editor: the player lays the start of snake 1, then of snake 2, then draws walls with a
// blinking cursor on the real board; Escape writes the board to "savefiles/custom.txt", the custom level.
//
// What the editor shows is what the game plays. The game lays a snake on the four cells to the right of
// its first start letter, so a start snake shown on columns j..j+3 is saved as the letters of columns
// j-1..j+2: the cell left of the snake holds its first letter and stays free in the game, so the editor
// keeps it free too (no wall goes there, nor on the snake itself, which the game lays over any wall).
// Every level it saves can be played: a start snake is only laid where its four cells, the cell before
// it and the cell ahead of its head lie on the board (columns 2..36 for its first cell), never over a
// wall or the other start snake, and never where either snake's first step would meet the other; the
// cell ahead of a head stays free of walls as the cell before it does.
// A press of Enter that lays a start is used up by it: the next state acts on Enter only once it has been
// let go. Escape on the help page, or while snake 1's start is still to be laid, leaves without saving;
// L loads the saved custom level to mend it. Closing the window ends the editor at once and writes nothing.

#include <cstdio>
#include <initializer_list>

#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- constants ---------------------------------------------------------------------------------------

using Wimdows::KEY_BACKSPACE;
using Wimdows::KEY_D;
using Wimdows::KEY_DOWN;
using Wimdows::KEY_ENTER;
using Wimdows::KEY_ESCAPE;
using Wimdows::KEY_LEFT;
using Wimdows::KEY_M;
using Wimdows::KEY_RIGHT;
using Wimdows::KEY_SPACE;
using Wimdows::KEY_UP;
static const Wimdows::KeyCode KEY_L = 'L';

static const uint32_t CELL = Layout::CELL;
static const uint32_t LAST_X = CELL * (KOLOMMEN - 1);  // 780
static const uint32_t LAST_Y = CELL * (RIJEN - 1);     // 580

// Each half of the cursor's blink: the frame shows this long, then the black cell.
static const uint32_t BLINK_MS = 50;
// A cursor step without a blink (over a wall or a start cell) still pauses this long, so the editor
// never spins the processor; a held arrow then crosses walls at 50 cells a second.
static const uint32_t STILL_STEP_MS = 20;
// A held arrow, or a held Enter drawing walls, acts when pressed and again once held this long, then at
// every cursor step, as a keyboard repeats: a quick tap moves the cursor one cell.
static const uint32_t REPEAT_DELAY_MS = 300;
static const uint32_t CURSOR_COLOUR = 0xC0C0C0;

static const char *const CUSTOM_LEVEL = "savefiles/custom.txt";
static const char *const HELP_PICTURE = "bitmap/levelmakerhelp.bmp";
static const char *const EDITOR_PANEL = "bitmap/editorhud.bmp";
static const char *const SAVED_SIGN = "Saved: play it as the Custom level";
static const uint32_t SAVED_SIGN_MS = 1200;
// What Enter does in each state (1 snake 1's start, 2 snake 2's, 3 walls), written on the panel; the small
// proportional font in the panel's pale blue-grey (0x00BBGGRR).
static const char *const ENTER_WORDS[4] = {"", "lays player 1's snake here", "lays player 2's snake here",
                                           "builds a wall here; the cursor moves on"};
static const uint32_t WORDS_FONT = 3, WORDS_COLOUR = 0xCCA69A;
// What Escape does: before snake 1's start is laid nothing is saved.
static const char *const ESC_WORDS[4] = {"", "leave unsaved", "save and leave", "save and leave"};
static const uint32_t CUSTOM_LEVEL_NUMBER = 4;

static const char *const MANUAL[15] = {
    "First you have to choose your begin position of both snakes.",
    "The default starting direction of the snakes is RIGHT.",
    "The snake length is 4.",
    "Move with the ARROW KEYS and press ENTER to choose your location.",
    "You will now be able to create wall.",
    "Building a wall in front of you or on you may have negative consequences ingame :)",
    "Press ENTER to create wall.",
    "Press M to draw a wall closing in the playfield.",
    "If you mess up your outer wall, just press M again.",
    "In case you lose your cursor press SPACE to reset it.",
    "Hold BACKSPACE to enter the delete modus and remove unwanted wall.",
    "Press D to clear your screen and start all over again.",
    "Press ESCAPE to save your level and return to the mainmenu.",
    "The difficulty is set to the one you chose in the options menu.",
    "You can load your level from the slotsmenu by loading the custom level.",
};

// ---- state -------------------------------------------------------------------------------------------

// The editor's own state; always x = 20 * (j - 1) and y = 20 * (i - 1).
static struct {
    uint32_t x, y;                 // pixel position of the cursor cell's top-left corner
    uint32_t i, j;                 // row and column of the cursor cell
    uint32_t hulpvariable;         // 1 snake 1's start, 2 snake 2's start, 3 walls, 0 finished
    bool Backspacepressed;         // delete mode in this cursor step
    uint32_t GrootteSlang;         // length of a start snake
    RijEnKolomRec start[3];        // first cell of start snake 1..2 as shown; rij 0 while not laid
    bool enterUsedUp;              // the Enter held now has laid a start and acts again only once let go
    Wimdows::PictureHandle panel;  // the panel under the board, with the editor's keys
    bool typed[256];               // keys pressed during the last cursor step's wait, held or let go since
    uint32_t heldMs[256];          // how long each key has been held, in the editor's own waits
    Wimdows::KeyCode arrows[16];   // the arrows pressed anew during that wait, in order (at most 16)
    uint32_t arrowCount;           // how many of them
} editor;

// ---- internal ----------------------------------------------------------------------------------------

static BlokRec &CursorCell() { return Veld[editor.i][editor.j]; }

static bool IsStartCell(const BlokRec &cell) { return cell.BeginPosSlang || cell.BeginPosSlang2; }

// A key held now, or pressed during the last cursor step's wait: a quick tap acts as a held key does.
static bool Pressed(Wimdows::KeyCode key) { return Wimdows::KeyDown(key) || (key <= 255 && editor.typed[key]); }

// A key that repeats while held (the arrows, Enter on walls): it acts in the step it was pressed in, then
// once it has been held REPEAT_DELAY_MS, at every step.
static bool Repeats(Wimdows::KeyCode key) {
    return editor.typed[key] || (Wimdows::KeyDown(key) && editor.heldMs[key] >= REPEAT_DELAY_MS);
}

// Takes the keys pressed during the step's wait (of stepMs) from the queue; each counts for this one step.
// Auto-repeats are no presses: a held key acts by being held, and its repeats must not outlast it.
static void TakeTypedKeys(uint32_t stepMs) {
    for (uint32_t key = 0; key < 256; key++) {
        editor.typed[key] = false;
        editor.heldMs[key] = Wimdows::KeyDown(key) ? editor.heldMs[key] + stepMs : 0;
    }
    editor.arrowCount = 0;
    for (Wimdows::KeyCode key = Wimdows::PollFreshKey(); key != 0; key = Wimdows::PollFreshKey()) {
        if (key > 255) continue;
        editor.typed[key] = true;
        bool arrow = key == KEY_LEFT || key == KEY_RIGHT || key == KEY_UP || key == KEY_DOWN;
        if (arrow && editor.arrowCount < sizeof editor.arrows / sizeof editor.arrows[0])
            editor.arrows[editor.arrowCount++] = key;
    }
    Wimdows::FlushKeys();
}

// The cell left of a start snake, which holds its first start letter in the level file, or the cell ahead
// of its head, its first step: both stay free of walls.
static bool IsKeptFree(uint32_t i, uint32_t j) {
    for (uint32_t s = 1; s <= 2; s++)
        if (editor.start[s].rij == i &&
            (editor.start[s].kolom == j + 1 || editor.start[s].kolom + editor.GrootteSlang == j))
            return true;
    return false;
}

// Whether start snake s may lie on row i from column j on: its letter cell, four cells and the cell ahead
// on the board and free of walls; neither it nor the cell ahead on the other start snake, and it not on
// the cell ahead of the other's head.
static bool StartFits(uint32_t s, uint32_t i, uint32_t j) {
    const uint32_t n = editor.GrootteSlang;
    if (i < 1 || i > RIJEN || j < 2 || j + n > KOLOMMEN) return false;
    for (uint32_t k = j - 1; k <= j + n; k++)
        if (Veld[i][k].bezet == MUUR) return false;
    const RijEnKolomRec &other = editor.start[3 - s];
    if (other.rij != i) return true;
    bool meets = j + n >= other.kolom && j <= other.kolom + n - 1;       // its cells or the cell ahead on the other
    bool blocks = other.kolom + n >= j && other.kolom + n <= j + n - 1;  // on the cell ahead of the other
    return !meets && !blocks;
}

// The letter a cell is saved as: a start letter where the game lays that snake from the next cell on.
static char LevelLetter(uint32_t rij, uint32_t kolom) {
    const char letters[3] = {0, 'S', 'T'};
    for (uint32_t s = 1; s <= 2; s++) {
        const RijEnKolomRec &first = editor.start[s];
        if (first.rij == rij && kolom + 1 >= first.kolom && kolom + 1 < first.kolom + editor.GrootteSlang)
            return letters[s];
    }
    return Veld[rij][kolom].bezet == MUUR ? 'M' : '-';
}

// Enter pressed (or held long enough to repeat), and not the press that laid the last start; or Enter
// tapped during the step.
static bool EnterPressed() {
    if (!Wimdows::KeyDown(KEY_ENTER)) {
        editor.enterUsedUp = false;
        return editor.typed[KEY_ENTER];
    }
    return !editor.enterUsedUp && Repeats(KEY_ENTER);
}

static void ResetCursor() {
    editor.x = CELL;
    editor.y = CELL;
    editor.i = 2;
    editor.j = 2;
}

static void SetCursor(uint32_t i, uint32_t j) {
    editor.i = i;
    editor.j = j;
    editor.x = CELL * (j - 1);
    editor.y = CELL * (i - 1);
}

// Gives the cursor cell its rectangle again (a cell is known by its rectangle).
static void SetCursorRectangle() {
    BlokRec &cell = CursorCell();
    cell.x1 = editor.x;
    cell.y1 = editor.y;
    cell.x2 = editor.x + CELL;
    cell.y2 = editor.y + CELL;
}

// One blink over exactly the cursor cell (its neighbours' pictures stay whole): frame, then black.
static void Blink() {
    int32_t x0 = (int32_t)editor.x, y0 = (int32_t)editor.y;
    int32_t x1 = x0 + (int32_t)CELL - 1, y1 = y0 + (int32_t)CELL - 1;
    Wimdows::Rectangle(x0, y0, x1, y1, CURSOR_COLOUR, false);
    Wimdows::UpdateWindow();
    Wimdows::Wait(BLINK_MS);
    Wimdows::Rectangle(x0, y0, x1, y1, 0, true);
    Wimdows::UpdateWindow();
    Wimdows::Wait(BLINK_MS);
}

// One cursor step: delete mode, the blink (or a short pause), then at most one arrow.
static void CursorMove() {
    editor.Backspacepressed = Wimdows::KeyDown(KEY_BACKSPACE);
    if (editor.Backspacepressed) Wimdows::FlushKeys();

    BlokRec &cell = CursorCell();
    bool blink = false;
    if (editor.Backspacepressed && !IsStartCell(cell)) {
        cell.bezet = ONBEZET;
        cell.BeginPosSlang = false;
        cell.BeginPosSlang2 = false;
        SetCursorRectangle();
        blink = true;
    } else if (!editor.Backspacepressed && !IsStartCell(cell) && cell.bezet != MUUR) {
        SetCursorRectangle();
        blink = true;
    }
    if (blink)
        Blink();
    else
        Wimdows::Wait(STILL_STEP_MS);
    TakeTypedKeys(blink ? 2 * BLINK_MS : STILL_STEP_MS);

    // Every press moves one cell, however quick the presses came; else a held arrow repeats.
    Wimdows::KeyCode held = 0;
    for (Wimdows::KeyCode key : {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN})
        if (held == 0 && Wimdows::KeyDown(key) && editor.heldMs[key] >= REPEAT_DELAY_MS) held = key;
    for (uint32_t n = 0; n < (editor.arrowCount > 0 ? editor.arrowCount : held != 0 ? 1 : 0); n++) {
        Wimdows::KeyCode key = editor.arrowCount > 0 ? editor.arrows[n] : held;
        if (key == KEY_LEFT && editor.x != 0)
            SetCursor(editor.i, editor.j - 1);
        else if (key == KEY_RIGHT && editor.x != LAST_X)
            SetCursor(editor.i, editor.j + 1);
        else if (key == KEY_UP && editor.y != 0)
            SetCursor(editor.i - 1, editor.j);
        else if (key == KEY_DOWN && editor.y != LAST_Y)
            SetCursor(editor.i + 1, editor.j);
    }
}

static void AfterMove() {
    RijEnKolomRec next = AfterMoveCell({editor.i, editor.j});
    SetCursor(next.rij, next.kolom);
}

// Draws start snake s on its cells (body pieces, the head facing right on the last cell).
static void DrawStartSnake(uint32_t s) {
    const uint32_t *pictures = s == 1 ? Bitmaps.speler1 : Bitmaps.speler2;
    const RijEnKolomRec &first = editor.start[s];
    if (first.rij == 0) return;
    for (uint32_t k = 0; k < editor.GrootteSlang; k++) {
        const BlokRec &cell = Veld[first.rij][first.kolom + k];
        Wimdows::DrawBitmap(pictures[k + 1 < editor.GrootteSlang ? 0 : 4], (int32_t)cell.x1, (int32_t)cell.y1);
    }
}

// Lays a start snake from the cursor to the right and leaves the cursor on the cell after it; FALSE,
// with nothing changed, where the start does not fit (StartFits).
static bool LayStartSnake(const ArrayCard pictures, bool snake2) {
    if (!StartFits(snake2 ? 2 : 1, editor.i, editor.j)) return false;
    editor.start[snake2 ? 2 : 1] = RijEnKolomRec{editor.i, editor.j};
    for (uint32_t k = 1; k <= editor.GrootteSlang; k++) {
        BlokRec &cell = CursorCell();
        // Body pieces, and the head facing right on the last cell.
        Wimdows::DrawBitmap(pictures[k < editor.GrootteSlang ? 0 : 4], (int32_t)cell.x1, (int32_t)cell.y1);
        Wimdows::UpdateWindow();
        if (snake2)
            cell.BeginPosSlang2 = true;
        else
            cell.BeginPosSlang = true;
        SetCursor(editor.i, editor.j + 1);
    }
    return true;
}

// The panel under the board, with what Enter does now.
static void DrawPanel() {
    Wimdows::DrawBitmap(editor.panel, 0, Layout::PANEL_Y);
    if (editor.hulpvariable >= 1 && editor.hulpvariable <= 3) {
        Wimdows::SetFont(WORDS_FONT, WORDS_COLOUR);
        Wimdows::Text(ENTER_WORDS[editor.hulpvariable], Layout::EDITOR_ENTER_WORDS_X,
                      Layout::PANEL_Y + Layout::EDITOR_ENTER_WORDS_TOP);
        Wimdows::Text(ESC_WORDS[editor.hulpvariable], Layout::EDITOR_ESC_WORDS_X,
                      Layout::PANEL_Y + Layout::EDITOR_ESC_WORDS_TOP);
    }
}

// The board emptied and the editor back at snake 1's start.
static void StartOver() {
    Wimdows::ClearScreen();
    VensterInBlokken();
    ResetCursor();
    editor.hulpvariable = 1;
    editor.start[1] = editor.start[2] = RijEnKolomRec{0, 0};
    DrawPanel();
}

// The wall round the board, except on the start snakes and the cells before them, which the game keeps
// free of walls.
static void WallRound() {
    Muur();
    for (uint32_t s = 1; s <= 2; s++) {
        const RijEnKolomRec &first = editor.start[s];
        if (first.rij == 0) continue;
        for (uint32_t k = first.kolom - 1; k <= first.kolom + editor.GrootteSlang; k++) {
            BlokRec &cell = Veld[first.rij][k];
            if (cell.bezet == MUUR && !IsStartCell(cell))
                Wimdows::Rectangle((int32_t)cell.x1, (int32_t)cell.y1, (int32_t)cell.x2 - 1, (int32_t)cell.y2 - 1, 0,
                                   true);
            cell.bezet = ONBEZET;
        }
        DrawStartSnake(s);
    }
    Wimdows::UpdateWindow();
}

// The saved custom level on the board to be mended: its walls, and each start the editor could have laid
// (one it could not is dropped with a console line, and asked for again).
static void MendSavedLevel() {
    uint32_t grootte[3];
    RijEnKolomRec letter[3] = {};
    ReadLevel(CUSTOM_LEVEL_NUMBER, grootte, letter);
    Wimdows::ClearScreen();
    TekenMuren(Bitmaps);
    editor.start[1] = editor.start[2] = RijEnKolomRec{0, 0};
    editor.hulpvariable = 1;
    for (uint32_t s = 1; s <= 2; s++) {
        if (grootte[s] == 0 || (s == 2 && editor.start[1].rij == 0)) continue;
        // The game lays the snake from the cell after its first letter.
        if (grootte[s] != editor.GrootteSlang || !StartFits(s, letter[s].rij, letter[s].kolom + 1)) {
            std::printf("\nThe start of snake %u in %s cannot be kept: lay it again.", (unsigned)s, CUSTOM_LEVEL);
            continue;
        }
        editor.start[s] = RijEnKolomRec{letter[s].rij, letter[s].kolom + 1};
        for (uint32_t k = 0; k < editor.GrootteSlang; k++) {
            BlokRec &cell = Veld[letter[s].rij][letter[s].kolom + 1 + k];
            (s == 1 ? cell.BeginPosSlang : cell.BeginPosSlang2) = true;
        }
        DrawStartSnake(s);
        editor.hulpvariable = s + 1;
    }
    std::printf("\nLevel %s is loaded to be mended.", CUSTOM_LEVEL);
    std::fflush(stdout);
    ResetCursor();
    editor.enterUsedUp = Wimdows::KeyDown(KEY_ENTER);
    DrawPanel();
    Wimdows::UpdateWindow();
}

static void SaveLevel() {
    // Escape still held as the window closed is no request to save.
    if (Wimdows::WindowClosed()) return;
    // A level that cannot be saved leaves the file as it was, and the player is told so.
    SaveFile *file = TryOpen(CUSTOM_LEVEL, true);
    for (uint32_t rij = 1; file && rij <= RIJEN; rij++) {
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++) WrChar(file, LevelLetter(rij, kolom));
        WrLn(file);
    }
    if (!file || !TryClose(file)) {
        ShowSaveFailure();
        return;
    }
    std::printf("\nLevel has been saved.");
    std::fflush(stdout);
    // The player sees it too, before the menu comes back.
    ShowSign(SAVED_SIGN);
    Wimdows::Wait(SAVED_SIGN_MS);
}

// A step that changes the board or the state acts only while the editor is still in the state this
// iteration began in, so keys held together (D with Escape or Enter) can neither save an emptied board
// nor lay snake 2's start on a board without snake 1's.

static void StateChooseSnake1() {
    // Nothing is placed yet: Escape leaves, and the saved level stays as it was.
    if (Pressed(KEY_ESCAPE)) {
        editor.hulpvariable = 0;
        return;
    }
    if (Pressed(KEY_SPACE)) {
        ResetCursor();
        Wimdows::FlushKeys();
    }
    CursorMove();
    if (EnterPressed() && LayStartSnake(Bitmaps.speler1, false)) {
        AfterMove();
        // A mended level may have snake 2's start already.
        editor.hulpvariable = editor.start[2].rij != 0 ? 3 : 2;
        editor.enterUsedUp = true;
        DrawPanel();
        Wimdows::FlushKeys();
    }
}

static void StateChooseSnake2() {
    if (Pressed(KEY_D)) {
        StartOver();
        Wimdows::FlushKeys();
    }
    if (editor.hulpvariable == 2 && Pressed(KEY_ESCAPE)) {
        SaveLevel();
        editor.hulpvariable = 0;
        Wimdows::FlushKeys();
    }
    if (Pressed(KEY_SPACE)) {
        ResetCursor();
        Wimdows::FlushKeys();
    }
    CursorMove();
    if (editor.hulpvariable == 2 && EnterPressed() && LayStartSnake(Bitmaps.speler2, true)) {
        AfterMove();
        editor.hulpvariable = 3;
        editor.enterUsedUp = true;
        DrawPanel();
        Wimdows::FlushKeys();
    }
}

static void StateWalls() {
    if (Pressed(KEY_ESCAPE)) {
        SaveLevel();
        editor.hulpvariable = 0;
    }
    if (editor.hulpvariable == 3 && Pressed(KEY_M)) {
        WallRound();
        AfterMove();
    }
    if (Pressed(KEY_SPACE)) ResetCursor();
    if (editor.hulpvariable == 3 && Pressed(KEY_D)) StartOver();
    CursorMove();
    // No wall on a start snake or the cell before it (the game would not have it there), nor on its first step.
    if (editor.hulpvariable == 3 && EnterPressed() && !IsStartCell(CursorCell()) && !IsKeptFree(editor.i, editor.j)) {
        BlokRec &cell = CursorCell();
        cell.bezet = MUUR;
        Wimdows::DrawBitmap(Bitmaps.muur[1], (int32_t)cell.x1, (int32_t)cell.y1);
        Wimdows::UpdateWindow();
        AfterMove();
        Wimdows::FlushKeys();
    }
}

// The editor loop, until the level is saved or the window is closed.
static void Create() {
    editor.hulpvariable = 1;
    editor.GrootteSlang = 4;
    editor.start[1] = editor.start[2] = RijEnKolomRec{0, 0};
    editor.enterUsedUp = Wimdows::KeyDown(KEY_ENTER);  // an Enter still held from the help screen lays nothing
    LoadBitmaps(Bitmaps);
    Wimdows::ClearScreen();
    if (!Countdown(Bitmaps)) return;
    // The editor's own panel names its keys; the game's (which names the game's) stands in without it.
    editor.panel = Wimdows::LoadBitmap(EDITOR_PANEL, 800, 80);
    if (editor.panel == 0) editor.panel = Bitmaps.hud;
    DrawPanel();
    Wimdows::UpdateWindow();
    // Keys typed during the countdown are no moves, and a key held since acts as newly pressed only.
    Wimdows::FlushKeys();
    for (uint32_t key = 0; key < 256; key++) {
        editor.typed[key] = false;
        editor.heldMs[key] = 0;
    }
    editor.arrowCount = 0;

    while (editor.hulpvariable != 0 && !Wimdows::WindowClosed()) {
        if (editor.typed[KEY_L]) {
            editor.typed[KEY_L] = false;
            MendSavedLevel();
        }
        switch (editor.hulpvariable) {
        case 1: StateChooseSnake1(); break;
        case 2: StateChooseSnake2(); break;
        default: StateWalls(); break;
        }
    }
}

// ---- exported ----------------------------------------------------------------------------------------

RijEnKolomRec AfterMoveCell(RijEnKolomRec cursor) {
    uint32_t i = cursor.rij, j = cursor.kolom;
    if (i < 1 || i > RIJEN || j < 1 || j > KOLOMMEN) return cursor;
    auto wall = [](uint32_t r, uint32_t k) { return Veld[r][k].bezet == MUUR; };

    // On the edge the cursor runs round the board clockwise.
    if (j == KOLOMMEN && i == RIJEN)
        j--;
    else if (j == KOLOMMEN)
        i++;
    else if (j == 1 && i == 1)
        j++;
    else if (i == RIJEN && j != 1)
        j--;
    else if (i == RIJEN)
        i--;
    else if (j == 1)
        i--;
    else if (i == 1)
        j++;
    // Inside it moves to the cell opposite the first wall found next to it, continuing a line.
    else if (wall(i, j - 1))
        j++;
    else if (wall(i, j + 1))
        j--;
    else if (wall(i - 1, j))
        i++;
    else if (wall(i + 1, j))
        i--;
    else if (wall(i - 1, j - 1)) {
        i++;
        j++;
    } else if (wall(i + 1, j - 1)) {
        i--;
        j++;
    } else if (wall(i - 1, j + 1)) {
        i++;
        j--;
    } else
        j++;
    return {i, j};
}

void LevelMaker() {
    Wimdows::ClearScreen();
    Wimdows::DrawBitmap(Wimdows::LoadBitmap(HELP_PICTURE, 800, 680), 0, 0);
    Wimdows::UpdateWindow();
    // A key typed before the help showed, or one still held from the menu, does not close it. Escape goes
    // back to the menu.
    Wimdows::FlushKeys();
    if (Wimdows::GetFreshKey() == KEY_ESCAPE || Wimdows::WindowClosed()) return;

    std::printf("\n --*--Levelmaker Manual--*--\n\n");
    for (const char *line : MANUAL) std::printf("%s\n", line);
    std::fflush(stdout);

    Wimdows::ClearScreen();
    VensterInBlokken();
    ResetCursor();
    Create();
}

}  // namespace SnakeProcedures
