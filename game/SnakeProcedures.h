// SnakeProcedures: the board, the snakes and knurf blocks, the game loop, the save files (levels,
// highscores, keys), the level editor, the key-choosing screen, the menu screens and the asset tables, as
// the game's own files use them. What the program's start and main menu (main/) use is in game/Game.h,
// which this header includes.
//
// Sections: board and game types (the rules'); module state; game modes and how a game ended; playing
// field and the view of a game; the turns players type; game loop; replays; save files; levels,
// highscores, keys; front end; a game over the network.
//
// Thread rules: main thread only; nothing here is touched by the window thread.
// Numbering: players, snakes, rows and columns count from 1 (index 0 of a per-player array is unused);
// menu choices, level numbers and table indices count from 0.
// Closing: when the player closes the window (Wimdows::WindowClosed()), every screen returns to its
// caller at once and nothing is saved that the player did not ask for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Layout.h"
#include "game/rules/Replay.h"
#include "game/rules/Rules.h"
#include "music/Music.h"
#include "support/StandardMenu.h"
#include "wimdows/Wimdows.h"

namespace Network {
struct Session;
}

namespace SnakeProcedures {

// ---- board and game types: the rules' (game/rules/Rules.h) ----------------------------------------


typedef Wimdows::PictureHandle ArrayCard[10];

// The knurf pictures in BitmapsRec.blokjes: ordinary, faster (yellow), poisonous (blue), hand-steered (green).
enum BlokjePlaatjeEn : uint8_t { PLAATJE_NORMAAL = 0, PLAATJE_SNELLER = 1, PLAATJE_GIFTIG = 2, PLAATJE_MANUEEL = 3 };

// Picture handles of the game screen.
struct BitmapsRec {
    ArrayCard speler1;
    ArrayCard speler2;
    Wimdows::PictureHandle blokjes[4];  // by BlokjePlaatjeEn
    Wimdows::PictureHandle hud;
    Wimdows::PictureHandle platen[4];  // score plates: player 1, player 2, the knurf player, the computer
    Wimdows::PictureHandle muur[2];
    Wimdows::PictureHandle laden[3];
};


// ---- module state (main thread) ------------------------------------------------------------------

// The game in play (the loop's), whose board the level loader fills and the editor draws on; tests and
// benchmarks look at it between steps.
extern ToestandRec Spel;
// Its board, snakes and scores by the names the level loader, the editor and the tests use.
extern BlokRec (&Veld)[RIJEN + 1][KOLOMMEN + 1];
extern BlokRec (&Slang)[3][SLANGSLOTS];
extern int32_t (&Score)[3];
// The settings of the next game, as the menus set them (SetGameMode, the difficulty menu).
extern uint32_t AantalSpelers;
extern bool BlokjeManueel;
extern uint32_t AantalBlokjesManueel;
extern uint32_t AantalBlokjesAutomatisch;
// The player whose snake the computer steers (no key steers it, and its score never enters the highscore
// table): 0 none, 1 or 2.
extern uint32_t ComputerSpeler;
extern BitmapsRec Bitmaps;

// The number of snakes in play: AantalSpelers - AantalBlokjesManueel (0..2).
uint32_t AantalSlangen();
// The settings as a row of the mode table (what the next game copies).
ModeRec ModeNu();

// ---- game modes and how a game ended ----------------------------------------------------------------

// The mode the settings (AantalSpelers, AantalBlokjesManueel, ComputerSpeler) make.
GameModeEn GameMode();
// The mode's name as the player knows it ("snake against snake").
const char *GameModeName(GameModeEn mode);

// What the game-over screen shows: the picture under the words, a headline in a colour, up to two lines
// (what happened, and why), and the points of each player in play.
struct GameOverWordsRec {
    const char *picture;
    const char *headline;
    uint32_t colour;
    char lines[2][96];  // "": no line
    char points[96];
};
// The picture and words for a game of `mode` that ended as `end` says, with the points it keeps.
GameOverWordsRec GameOverWords(GameModeEn mode, const GameEndRec &end, const int32_t punten[3]);

// Text in font `style` and `colour`, centred on the window's middle column, its top at y.
void CentredText(const char *text, uint32_t style, uint32_t colour, int32_t y);
// A sign with text over the middle of the board, shown at once; what it covers is kept (KeepArea), so
// Wimdows::RestoreArea takes it away without a trace.
void ShowSign(const char *text);

// ---- playing field and the view of a game ------------------------------------------------------------

// Every cell of Veld free with its pixel rectangle, start markers cleared; soortblokje kept; draws nothing.
void VensterInBlokken();
// Paints the cell black: exactly its 20 by 20 pixels (x1..x2-1, y1..y2-1), so a neighbour's picture keeps
// its edge.
void EraseCell(const BlokRec &cel);
// Puts a wall round the whole board Veld and draws it.
void Muur();
// Draws every wall cell of the board Veld with the picture bitmaps.muur[0].
void TekenMuren(const BitmapsRec &bitmaps);
// The score panel of game t: hud, the plates of the players in play and their scores, where Layout says.
void TekenScorebord(const ToestandRec &t, const BitmapsRec &bitmaps);
// Paints what a step (or a game's start) reported, in its order, and plays its sounds: the pictures
// exactly as the game has always drawn them.
void TekenGebeurtenissen(const ToestandRec &t, const GebeurtenissenRec &uit, const BitmapsRec &bitmaps);

// ---- the turns players type -------------------------------------------------------------------------

// Moves the typed-key queue into the step's input as turns of players 1..2 (keys besturing[p]), judged by
// what the players see in game t, and empties the queue. The keys stops[0..count-1] are no turns: bit i of
// the result says that stops[i] was typed, and the presses typed after the first of them are dropped with
// the rest of the queue.
uint32_t QueueTypedKeys(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3],
                        const uint32_t *stops = nullptr, uint32_t count = 0);
// One key typed while nothing moves (the pause) as a turn for after it.
void QueueTypedKey(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3], uint32_t toets);
// The held keys of players 1..2 into the input (priority left, right, up, down).
void HeldKeys(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3]);

// ---- game loop ----------------------------------------------------------------------------------------

// Runs one game on level levelchoice (0..4) up to its end, the snake of ComputerSpeler steered by the
// computer; returns to the caller (the slot menu).
void StartGame(uint32_t &levelchoice);
// The number StartGame seeds the computer's generator with at every game start; 0 (the start value): a new one
// from the clock for each game. Tests and benchmarks fix it to replay games.
extern uint32_t ComputerZaad;
// How the last game that ended by a crash ended, as the loop handed it to GameOver.
extern GameEndRec GameEnd;
// The number every game's knurf draws follow from (tests fix it); 0: a fresh one from the clock for each game.
// Tests fix it to play a known game.
extern uint32_t SpelZaad;
// Benchmarks only (nullptr in the game): called once per step right after the typed and held keys went
// into the step's input and before the computer chooses; a scripted player queues its turn from here with
// QueueTurn.
extern void (*StapHaak)(const ToestandRec &t, InvoerRec &invoer);

// ---- replays ------------------------------------------------------------------------------------------
// Keeps the game that just ended (or was left) as the last game's replay, and for its highscore rows.
void BewaarOpname(const OpnameRec &o);
// After the table was saved (its rows 1..10 now table[]): the last game's replay for each of its scores
// scores[1..n] that made the table, and no replay of a row that dropped out. Under the play folder's lock.
void BewaarRijOpnames(const uint32_t table[11], const int32_t scores[3], uint32_t n);
// The replay file of each row 1..10 of table ("": none).
void RijOpnames(const uint32_t table[11], std::string namen[11]);
// Plays recording o on the screen with the game's pictures and sounds, the watcher choosing the pace;
// at its end the game-over screen of that game (nothing saved). FALSE when the watcher left it.
bool KijkOpname(const OpnameRec &o);
// The game that just ended, watched again; FALSE when there is none or the watcher left.
bool KijkLaatste();
// Tests: with KWIBBEL_LAST_PICTURE set, the picture of a game's (soort "game") or a watched replay's
// ("replay") last step is shown and written to $KWIBBEL_LAST_PICTURE-soort.bmp.
void BewaarLaatsteBeeld(const char *soort);

// ---- save files ---------------------------------------------------------------------------------------

// An open save file; reads and writes share one position.
struct SaveFile;
// Opens an existing file for reading and writing; a missing or unwritable file, or one that is no regular
// file, stops the program. Never waits.
SaveFile *Open(const char *name);
// Opens an existing file for reading; a missing file stops the program.
SaveFile *OpenRead(const char *name);
// Writes out everything and closes; a rewritten file is replaced whole or not at all, or, where its folder
// takes no new files, rewritten in place and synced. A file that cannot be written stops the program.
void Close(SaveFile *file);
// While the program runs: as Open (writable) or OpenRead, but a file that cannot be opened gives 0 after
// the console line, and the program goes on (LastSaveFailure says why).
SaveFile *TryOpen(const char *name, bool writable);
// As Close, but FALSE after the console line when the file could not be written; the file on disk is then
// as it was (LastSaveFailure says why).
bool TryClose(SaveFile *file);
// The last failure of TryOpen or TryClose: the file's name, what went wrong in a player's words ("the
// disk is full"), and whether it was being written. Valid until the next failure.
struct SaveFailureRec {
    const char *file;
    const char *problem;
    bool writing;
};
SaveFailureRec LastSaveFailure();
// The screen after a save file failed while the program runs: the file, what went wrong and that the
// file on disk is as it was, until a key is pressed anew; the caller then goes back to the menu.
void ShowSaveFailure();
// Moves the shared position back to the first byte: the next read or write starts there (nothing reaches
// the disk before Close).
void Flush(SaveFile *file);
// Reads an unsigned decimal number; 0 at the end of the file.
uint32_t RdCard(SaveFile *file);
// Reads a count: as RdCard, but a negative number gives 0 and one above `largest` gives `largest`.
uint32_t RdCount(SaveFile *file, uint32_t largest);
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
// The level as read goes to gelezen when it is not null.
bool LoadLevel(uint32_t Grootte[3], PijlEn Richting[3], RijEnKolomRec Positie[3], const BitmapsRec &Bitmaps,
               uint32_t &levelchoice, LevelRec *gelezen = nullptr);
// Reads level levelchoice (0..4) onto an empty board (walls only) and draws nothing; per snake 1..2 the
// number of its start cells and the first of them (left as it was when it has none).
void ReadLevel(uint32_t levelchoice, uint32_t Grootte[3], RijEnKolomRec Positie[3], LevelRec *gelezen = nullptr);
// Why the level of the last LoadLevel cannot be played, shown until a key is pressed anew.
void LevelRefused(uint32_t levelchoice);
// The end of a crashed game that ended as `end` with the points punten[1..2] the game keeps: end picture
// and words, sound, the scores that may enter it into the highscore file, the table.
void GameOver(const GameEndRec &end, const int32_t punten[3]);
// The game-over screen of a game of mode that ended as end, with its points, until a key or 4 s: nothing
// saved (a watched replay's end).
void GameOverScreen(GameModeEn mode, const GameEndRec &end, const int32_t punten[3]);
// Enters scores[1..players] into the table (entries 1..10, best first) in front of the first entry not
// larger; the tenth entry drops out; a score below all ten is not entered.
void EnterScores(uint32_t table[11], const int32_t scores[3], uint32_t players);
// The text colour of each table row 1..10 for this game's scores (-1: none); each score is set to -1 once
// shown, so it lights one row.
void HighlightRows(const uint32_t table[11], int32_t scores[3], uint32_t colours[11]);
// As LeesBesturing, for both players whatever the mode.
void LeesAlleBesturingen(BesturingRec besturing[3]);
// The cell (on the board) the editor's cursor moves to after filling cell `cursor`, by the walls of Veld.
RijEnKolomRec AfterMoveCell(RijEnKolomRec cursor);

// ---- front end ----------------------------------------------------------------------------------------

// Every sound into Songs, with its volume.
void LoadSongs();
// The game's pictures into bitmaps (the count pictures into laden).
void LoadBitmaps(BitmapsRec &bitmaps);
// Three, two, one, each seen and heard in turn over the middle of the picture drawn so far (the board the
// game starts on), which is then shown whole; FALSE, with the count left on it, once the window is closed
// or Escape was pressed (the keys typed meanwhile are dropped).
bool Countdown(const BitmapsRec &bitmaps);
void Difficulty();
void LaadSlots(StandardMenu::ButtonRc SlotButton[6]);
void LaadOptions(StandardMenu::ButtonRc OptionButton[4]);
void LaadDiff(StandardMenu::ButtonRc DiffButton[4]);
void LaadSettings(StandardMenu::ButtonRc SettingButton[6]);
void LaadNetwork(StandardMenu::ButtonRc NetworkButton[4]);
// The network menu (from the game-mode menu): host a game of snake against snake or against the knurf
// (then the level), or join one.
void NetworkMenu();

// ---- a game over the network (netgame.cpp) -------------------------------------------------------------

// While a network game is played (null otherwise): its session; the player whose score this machine does
// not enter (the other machine's, 0: none); the level the host sent, played instead of the slot's file.
extern Network::Session *NetwerkSessie;
extern uint32_t GastSpeler;
extern const LevelRec *LevelVanBuiten;
// The game loop's part of a network game. This machine's player steers with the player-1 keys.
void NetwerkBesturing(BesturingRec besturing[3]);
// Before a step: this machine's input for a later step sent (with a pause when P was typed or held, or the
// window lost the focus), the step waited for until both inputs are there (a sign after 0.3 s), and invoer
// set to both; a pause that either asked for is held here (gepauzeerd set). getypt: the bits of P (1) and
// Escape (2) typed in the last wait. FALSE when the game is to end: Escape, the window closed, the other
// player left, the connection broke or the games differ (then the reason is shown after the game).
bool NetwerkStap(const ToestandRec &t, InvoerRec &invoer, uint32_t getypt, bool &gepauzeerd);

}  // namespace SnakeProcedures
