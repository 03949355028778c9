// SnakeProcedures: the board, the snakes and knurf blocks, the game loop, the save files (levels,
// highscores, keys), the level editor, the key-choosing screen, the menu screens and the asset tables.
//
// Thread rules: main thread only; nothing here is touched by the window thread.
// Numbering: players, snakes, rows and columns count from 1 (index 0 of a per-player array is unused);
// menu choices, level numbers and table indices count from 0.
// Closing: when the player closes the window (Wimdows::WindowClosed()), every screen returns to its
// caller at once and nothing is saved that the player did not ask for.
#pragma once

#include <cstdint>

#include "game/Layout.h"
#include "music/Music.h"
#include "support/StandardMenu.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- board and game types ------------------------------------------------------------------------

enum BezetEn : uint8_t { MUUR = 0, SLANG = 1, BLOKJE = 2, ONBEZET = 3, ALBEWOGEN_BLOKJE = 4, MANUEEL_BLOKJE = 5 };
enum SoortBlokjeEn : uint8_t { NORMAAL = 0, GIFTIG = 1, SNELLER = 2 };
enum PijlEn : uint8_t { LINKS = 0, RECHTS = 1, BOVEN = 2, ONDER = 3 };

struct BlokRec {
    uint32_t x1, x2, y1, y2;
    uint32_t kleur;
    BezetEn bezet;
    SoortBlokjeEn soortblokje;
    bool BeginPosSlang;
    bool BeginPosSlang2;
};

struct RijEnKolomRec {
    uint32_t rij, kolom;
};

const uint32_t RIJEN = Layout::ROWS;
const uint32_t KOLOMMEN = Layout::COLUMNS;
const uint32_t SLANGSLOTS = 1201;  // slots 0..1200 per snake
// The pixel position of a slot that stands for no cell of the board: painting it paints nothing and
// freeing it frees nothing.
const uint32_t BUITEN_HET_VENSTER = 2000;

// A player's four control keys (key codes), in the controls file's order.
struct BesturingRec {
    Wimdows::KeyCode rechts, links, boven, onder;
};

typedef Wimdows::PictureHandle ArrayCard[10];

// Picture handles of the game screen.
struct BitmapsRec {
    ArrayCard speler1;
    ArrayCard speler2;
    Wimdows::PictureHandle blokjes[4];
    Wimdows::PictureHandle hud;
    Wimdows::PictureHandle platen[4];  // score plates: player 1, player 2, the knurf player, the computer
    Wimdows::PictureHandle muur[2];
    Wimdows::PictureHandle laden[3];
};

// Sound handles.
struct SongsRec {
    Music::SoundHandle easy, medium, hard, click, menu, game, lvlmaker, gameover, beep;
    Music::SoundHandle laden[4];
};

// ---- module state (main thread) ------------------------------------------------------------------

extern BlokRec Veld[RIJEN + 1][KOLOMMEN + 1];  // Veld[rij][kolom], rows 1..30, columns 1..40
extern BlokRec Slang[3][SLANGSLOTS];           // Slang[snake 1..2][slot 0..1200]
extern int32_t Score[3];                       // Score[player 1..2]
extern uint32_t AantalSpelers;
extern bool BlokjeManueel;
extern uint32_t AantalBlokjesManueel;
extern uint32_t AantalBlokjesAutomatisch;
// The player whose snake the computer steers (no key steers it, and its score never enters the highscore
// table): 0 none, 1 or 2.
extern uint32_t ComputerSpeler;
extern int32_t Diff;
extern int32_t DelaySnake;
extern uint32_t SpelerAanDeBeurt;
extern SongsRec Songs;
extern BitmapsRec Bitmaps;

// Module start-up: starts the modules it uses, once; sets no globals.
void InitSnakeProcedures();
// The number of snakes in play: AantalSpelers - AantalBlokjesManueel (0..2).
uint32_t AantalSlangen();

// ---- game modes and how a game ended ----------------------------------------------------------------

// The modes of the game-mode menu; a new mode adds a value here, its name and its game-over words.
enum GameModeEn : uint8_t {
    MODE_ONE_PLAYER,
    MODE_SNAKE_VS_SNAKE,
    MODE_SNAKE_VS_KNURF,
    MODE_SNAKE_VS_COMPUTER,
    MODE_COUNT
};
// The mode the settings (AantalSpelers, AantalBlokjesManueel, ComputerSpeler) make.
GameModeEn GameMode();
// The mode's name as the player knows it ("snake against snake").
const char *GameModeName(GameModeEn mode);

// What happened in the last step of a game, filled by the game loop before it calls GameOver.
struct GameEndRec {
    bool crashed[3];  // snake 1..2 could not move
    bool caught;      // the hand-steered knurf block stood beside snake 1's head
};
extern GameEndRec GameEnd;

// What the game-over screen shows: the picture under the words, a headline in a colour, up to two lines.
struct GameOverWordsRec {
    const char *picture;
    const char *headline;
    uint32_t colour;
    const char *lines[2];  // null: no line
};
// The picture and words for a game of `mode` that ended as `end` says.
GameOverWordsRec GameOverWords(GameModeEn mode, const GameEndRec &end);

// Text in font `style` and `colour`, centred on the window's middle column, its top at y.
void CentredText(const char *text, uint32_t style, uint32_t colour, int32_t y);
// A sign with text over the middle of the board, shown at once; what it covers is kept (KeepArea), so
// Wimdows::RestoreArea takes it away without a trace.
void ShowSign(const char *text);
// The same sign over whatever the window shows, for ms milliseconds; the screen under it is left alone.
void FlashSign(const char *text, uint32_t ms);

// ---- playing field --------------------------------------------------------------------------------

// Every cell free with its pixel rectangle, start markers cleared; soortblokje kept; draws nothing.
void VensterInBlokken();
// One step in direction volgend, no bounds checked.
void VeranderRijKolom(uint32_t &rij, uint32_t &kolom, PijlEn volgend);
// The snakes' edge crossing: TRUE (and the position set one beyond the opposite edge) on leaving the board.
bool DoorMuur(PijlEn volgend, uint32_t &rij, uint32_t &kolom);
// Frees the board cell under slot 0 of the snake.
void ZetOnbezet(const BlokRec *slang);
// Paints the cell black: exactly its 20 by 20 pixels (x1..x2-1, y1..y2-1), so a neighbour's picture keeps
// its edge.
void EraseCell(const BlokRec &cel);
// Puts a wall round the whole board and draws it.
void Muur();
// Draws every wall cell of the board with the picture bitmaps.muur[0].
void TekenMuren(const BitmapsRec &bitmaps);
// The score panel: hud, the plates of the players in play and each snake's score, where Layout says.
void TekenScorebord(const BitmapsRec &bitmaps);

// ---- snakes -----------------------------------------------------------------------------------------

// Reads the held control keys into volgend (priority left, right, up, down); a snake cannot reverse.
void RichtingBepalen(PijlEn &volgend, const BesturingRec &besturing, bool blokje);
// Waiting turns: direction presses made between two steps, kept per player 1..2 so that a tap released
// before the step, or a second press within one step, still counts (at most two wait per player).
// Forgets every waiting turn; richting[1..2] are the players' directions now.
void ClearTurns(const PijlEn richting[3]);
// Records one press of player speler; dropped when it changes nothing, when two already wait, or, for a
// snake (blokje FALSE), when it reverses the turn before it (or the direction of the last batch).
void QueueTurn(uint32_t speler, PijlEn richting, bool blokje);
// Moves the typed-key queue into the waiting turns of players 1..AantalSpelers (keys besturing[p]) and
// empties it; richting[p] is each player's direction as shown while the keys were typed (the game reads
// them after a step's wait, before its moves), which the presses are judged by.
// The keys stops[0..count-1] are no turns: bit i of the result says that stops[i] was typed, and the
// presses typed after the first of them are dropped with the rest of the queue.
uint32_t QueueTypedKeys(const BesturingRec besturing[3], const PijlEn richting[3], const uint32_t *stops = nullptr,
                        uint32_t count = 0);
// One key typed while nothing moves (the pause) as a turn for after it, judged by the directions richting.
void QueueTypedKey(const BesturingRec besturing[3], const PijlEn richting[3], uint32_t toets);
// Takes the oldest waiting turn of player speler that still turns volgend (a snake never reverses);
// FALSE, volgend unchanged, when none waits.
bool TakeTurn(uint32_t speler, PijlEn &volgend, bool blokje);
// One whole step of the snake of SpelerAanDeBeurt; FALSE when it could not move (crash).
bool TekenSlang(uint32_t &rij, uint32_t &kolom, PijlEn &volgend, BlokRec *slang, uint32_t &grootte,
                const BesturingRec &besturing, const BitmapsRec &bitmaps);
// Moves the head one cell if the cell ahead may be entered, and draws the two changed segments.
bool BepalenVolgendBlokjeSlang(uint32_t &rij, uint32_t &kolom, PijlEn volgend_vorig, PijlEn volgend, BlokRec *slang,
                               uint32_t &grootte, const BitmapsRec &bitmaps);
// Draws one segment picture for the directions it was entered and left (kop: a head).
void TekenBitmapSlang(PijlEn volgend_vorig, PijlEn volgend, uint32_t indexslang, const BlokRec *slang,
                      const ArrayCard bitmaps, bool kop);
// Lays out and draws every snake in play at game start (arrays indexed by player 1..2).
void TekenBeginSlangen(const RijEnKolomRec beginpositie[3], const uint32_t grootte[3], const PijlEn richting[3],
                       const BitmapsRec &bitmaps);

// ---- knurf blocks -----------------------------------------------------------------------------------

// Places the first knurf blocks (beginspel) or the points and blocks for an eaten ordinary one.
void TekenNieuwBlokje(bool beginspel, const BitmapsRec &bitmaps);
// Moves the knurf blocks of this step (automatic ones every few steps, the hand-steered one always);
// the hand-steered block takes the waiting turns of player SpelerAanDeBeurt.
void BeweegBlokje(uint32_t teller, uint32_t &rij_vorig, uint32_t &kolom_vorig, const BesturingRec &besturing,
                  PijlEn &volgend, const Wimdows::PictureHandle bitmaps[4]);

// ---- game loop ----------------------------------------------------------------------------------------

// Runs one game on level levelchoice (0..4) up to its end, the snake of ComputerSpeler steered by the
// computer; returns to the caller (the slot menu).
void StartGame(uint32_t &levelchoice);

// ---- computer player ----------------------------------------------------------------------------------

// The computer steers a snake from what a player sees: the board, both snakes and the knurf blocks. It
// draws nothing, reads no keys, and draws none of the game's random numbers (it has a generator of its own).
// Starts the computer afresh for a new game (what it learnt of the last one is forgotten); zaad seeds its
// own generator.
void ComputerNieuwSpel(uint32_t zaad);
// The number StartGame seeds the computer's generator with at every game start; 0 (the start value): a new one
// from the clock for each game. Tests and benchmarks fix it to replay games.
extern uint32_t ComputerZaad;
// The direction for snake s's next step, asked once per step before the step's knurf blocks and snakes
// move. Arrays indexed by player 1..2 as the game loop keeps them (head cell, direction of the last step,
// length counter); with two snakes in play the other one is read from them too. diff 1..3 sets how well it
// plays. Never the reverse of richting[s]; richting[s] when no cell ahead can be entered.
PijlEn ComputerRichting(uint32_t s, const RijEnKolomRec positie[3], const PijlEn richting[3], const uint32_t grootte[3],
                        int32_t diff);

// ---- save files ---------------------------------------------------------------------------------------

// An open save file; reads and writes share one position.
struct SaveFile;
// Opens an existing file for reading and writing; a missing or unwritable file, or one that is no regular
// file, stops the program. Never waits.
SaveFile *Open(const char *name);
// Opens an existing file for reading; a missing file stops the program.
SaveFile *OpenRead(const char *name);
// Writes out everything and closes; a rewritten file is replaced whole or not at all, or, where its folder
// takes no new files, rewritten in place and synced.
void Close(SaveFile *file);
// Writes out pending output, drops what was read ahead; the next write goes to the first byte.
void Flush(SaveFile *file);
// Reads an unsigned decimal number; 0 at the end of the file.
uint32_t RdCard(SaveFile *file);
// Writes value in decimal, right-aligned to width with spaces (width 0: just the digits).
void WrCard(SaveFile *file, uint32_t value, uint32_t width);
// Reads one byte; 0 at the end of the file.
char RdChar(SaveFile *file);
// Writes one byte.
void WrChar(SaveFile *file, char c);
// Reads one line into buffer (capacity bytes, no terminator when full); see the file conventions.
void RdStr(SaveFile *file, char *buffer, uint32_t capacity);
// Writes CR LF.
void WrLn(SaveFile *file);

// ---- levels, highscores, keys ---------------------------------------------------------------------------

// Loads level levelchoice (0..4) onto an empty board and draws its walls; arrays indexed by player 1..2.
// FALSE (one console line) when the level cannot be played in the chosen mode.
bool LoadLevel(uint32_t Grootte[3], PijlEn Richting[3], RijEnKolomRec Positie[3], const BitmapsRec &Bitmaps,
               uint32_t &levelchoice);
// Reads level levelchoice (0..4) onto an empty board (walls only) and draws nothing; per snake 1..2 the
// number of its start cells and the first of them (left as it was when it has none).
void ReadLevel(uint32_t levelchoice, uint32_t Grootte[3], RijEnKolomRec Positie[3]);
// Why the level of the last LoadLevel cannot be played, shown until a key is pressed anew.
void LevelRefused(uint32_t levelchoice);
// The end of a crashed game: end picture and words, sound, scores into the highscore file, the table.
void GameOver();
// Shows the highscore table (this game's scores highlighted) until a key is pressed.
void LeesHighscore();
// Enters scores[1..players] into the table (entries 1..10, best first) in front of the first entry not
// larger; the tenth entry drops out; a score below all ten is not entered.
void EnterScores(uint32_t table[11], const int32_t scores[3], uint32_t players);
// The text colour of each table row 1..10 for this game's scores; each score is set to 0 once shown.
void HighlightRows(const uint32_t table[11], int32_t scores[3], uint32_t colours[11]);
// Reads the keys of players 1..AantalSpelers from the controls file, and gives both players' keys to pads 1
// and 2.
void LeesBesturing(BesturingRec besturing[3]);
// As LeesBesturing, for both players whatever the mode.
void LeesAlleBesturingen(BesturingRec besturing[3]);
// The key-choosing screen: all eight keys anew, then the controls file rewritten.
void Controls();
// The level editor; saves the custom level on Escape.
void LevelMaker();
// The cell (on the board) the editor's cursor moves to after filling cell `cursor`, by the walls of Veld.
RijEnKolomRec AfterMoveCell(RijEnKolomRec cursor);

// ---- front end ----------------------------------------------------------------------------------------

// Loading screen, console banner, sound system, every sound into Songs.
void Load();
// Every sound into Songs, with its volume.
void LoadSongs();
// The game's pictures into bitmaps behind a three-two-one countdown.
void LoadBitmaps(BitmapsRec &bitmaps);
// The six buttons of the main menu.
void LaadHoofdMenu(StandardMenu::ButtonRc HoofdMenuButton[6]);
// The farewell line.
void Quit();
// The slot menu: one level chosen and played, or back.
void Slots();
// The options menu: difficulty, keys or game mode.
void Options();
void Difficulty();
void Settings();
void LaadSlots(StandardMenu::ButtonRc SlotButton[6]);
void LaadOptions(StandardMenu::ButtonRc OptionButton[4]);
void LaadDiff(StandardMenu::ButtonRc DiffButton[4]);
void LaadSettings(StandardMenu::ButtonRc SettingButton[5]);

}  // namespace SnakeProcedures
