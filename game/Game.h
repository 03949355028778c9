// The game as the program's start and its main menu use it (main/): the module's start-up, the settings of
// the next game, the screens the main menu opens, replays and network games from the command line, and the
// play folder's whole-file saves and lock. Everything else of the game is in game/SnakeProcedures.h, which
// only the game's own files (and its tests and benchmarks) include.
//
// Sections: types; the next game's settings; start and end; screens; replays; play folder files.
// Thread rules: main thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/rules/Rules.h"
#include "music/Music.h"
#include "support/StandardMenu.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- types -----------------------------------------------------------------------------------------------

// A player's four control keys (key codes), in the controls file's order.
struct BesturingRec {
    Wimdows::KeyCode rechts, links, boven, onder;
};
// Sound handles.
struct SongsRec {
    Music::SoundHandle easy, medium, hard, click, menu, game, lvlmaker, gameover, beep;
    Music::SoundHandle laden[4];
};

// ---- the next game's settings -----------------------------------------------------------------------------

// The difficulty of the next game: 1 easy, 2 medium, 3 hard.
extern int32_t Diff;
// The game's sounds.
extern SongsRec Songs;
// Sets the mode settings from the mode table.
void SetGameMode(GameModeEn mode);

// ---- start and end ----------------------------------------------------------------------------------------

// Module start-up: starts the modules it uses, once; sets no globals.
void InitSnakeProcedures();
// Loading screen, console banner, sound system, every sound into Songs.
void Load();
// The farewell line.
void Quit();
// Reads the keys of players 1..AantalSpelers from the controls file, and gives both players' keys to pads 1
// and 2.
void LeesBesturing(BesturingRec besturing[3]);

// ---- screens ------------------------------------------------------------------------------------------------

// The six buttons of the main menu.
void LaadHoofdMenu(StandardMenu::ButtonRc HoofdMenuButton[6]);
// The slot menu: one level chosen and played, or back.
void Slots();
// The options menu: difficulty, keys or game mode.
void Options();
// The settings menu.
void Settings();
// The key-choosing screen: all eight keys anew, then the controls file rewritten.
void Controls();
// The level editor; saves the custom level on Escape.
void LevelMaker();
// Shows the highscore table until a key is pressed, this game's scores nieuw[1..2] highlighted (null: none).
void LeesHighscore(const int32_t nieuw[3] = nullptr);
// A sign as ShowSign's over whatever the window shows, for ms milliseconds; the screen under it is left alone.
void FlashSign(const char *text, uint32_t ms);
// A game over the network, from the menus or the command line: the host's screen for mode (snake against
// snake or against the knurf) on level (0..4) at UDP port `port`, or the joiner's screen (address "" asks
// for one; one given connects at once). The menu music stops meanwhile; back when the game is over.
void PlayOverTheNetwork(bool host, GameModeEn mode, uint32_t level, const char *address, uint16_t port);

// ---- replays ------------------------------------------------------------------------------------------------

// Reads replay file naam for KijkGeladen; FALSE (one console line, fout saying why) when it cannot be read
// or is no replay this game can play.
bool LaadReplay(const char *naam, char *fout, size_t lengte);
// Plays the replay LaadReplay read last, as KijkOpname.
bool KijkGeladen();
// Plays replay file naam at full speed with no window: 0 when it ends in the recorded state, 1 (one line
// saying where it first differs) when not, 2 when the file cannot be read or is no replay (one line).
int VerifyReplay(const char *naam);

// ---- play folder files --------------------------------------------------------------------------------------

// Reads a whole regular file (never waits on a pipe or device); FALSE, errno set, for anything else (EFBIG:
// longer than largest bytes).
bool ReadWholeFile(const char *name, std::vector<unsigned char> &bytes, size_t largest = SIZE_MAX);
// Replaces (or makes) a file with `bytes` as Close replaces a save file, with the same temporary files and
// their cleanup; FALSE, errno set and the old file as it was, when that fails.
bool ReplaceFile(const char *name, const std::vector<unsigned char> &bytes);
// Holds the play folder's lock (an advisory lock on "kwibbel.lock" in the working folder) so that two
// copies of the game never read and replace the same file at once; waits up to 2 s for another copy,
// then goes on without it (-1, one console line). The result goes to UnlockPlayFolder.
int LockPlayFolder();
void UnlockPlayFolder(int lock);

}  // namespace SnakeProcedures
