// Kwibbel: the program's start, the main menu and the end of the run.
//
// Thread rules: main thread only. Closing: when the player closes the window, every screen returns to the
// main menu, which then ends the run as its quit choice does.
#pragma once

#include <cstdint>
#include <string>

#include "wimdows/Wimdows.h"

namespace Kwibbel {

// Starts every module once: window layer, random numbers, menus, the game.
void StartModules();
// The game settings a run starts with: medium difficulty, one player, three automatic knurf blocks, no
// computer player.
void SetDefaults();
// Runs the main menu (buffered drawing, menu music) until the player quits or closes the window; then the
// farewell line has been written and the sound system is shut down.
void StartMenu();
// The whole program: modules, defaults, settings, window, loading screen, main menu, settings saved, window
// closed. The exit status: 0 after the player quit, 1 when the window could not be opened (the window
// layer has said why). With replay, the replay LaadReplay read is played instead of the menu.
int Run(bool replay = false);
// The program from its command line: --help or --version answer and give 0; --verify FILE gives what
// VerifyReplay gives; --replay FILE plays the file (2 when it cannot be read); --host [PORT] and --join
// ADDRESS[:PORT] run the program with that network game's screen before the menu; anything else but no
// argument gives 2 with the usage; otherwise the play folder is made ready (1 when it cannot be) and Run.
int Main(int argc, char **argv);

// ---- files (playfolder.cpp) ------------------------------------------------------------------------

// The player's play folder: $XDG_DATA_HOME/kwibbel, else ~/.local/share/kwibbel; "" without a home.
std::string PlayFolderPath();
// Makes the working folder the play folder: the working folder itself when it holds bitmap/, audio/ and
// savefiles/; otherwise the player's play folder, made on the first run, with every shipped save file that
// is missing there copied in (never over the player's), and pictures and sounds read from the install tree
// found beside the program. FALSE, after one console line naming the folder, when that cannot be done.
bool PreparePlayFolder();

// ---- settings (settings.cpp) -------------------------------------------------------------------------

// What lasts from one run to the next: the window's placement (a size of 0: the first size that suits the
// display), music on, sound effects on.
struct Settings {
    Wimdows::Placement placement;
    bool music, effects;
};
// The settings file in the play folder: "settings.txt".
extern const char *const SETTINGS_FILE;
// Reads the settings file without ever waiting on it; when it is missing or no regular file, the defaults
// (first size, music and effects on), and a value that makes no sense its default, with one line on
// stderr. *fine (when given) tells whether the file was read as it is.
Settings ReadSettings(const char *file, bool *fine = nullptr);
// Replaces the settings file whole as a save file is (SnakeProcedures::ReplaceFile), leaving out a value
// the reader would refuse. FALSE (the file as it was) when that fails.
bool WriteSettings(const char *file, const Settings &s);
// Before the window opens: reads SETTINGS_FILE, hands the placement to the window layer and the switches to
// the sound layer, and installs HandleRequests for the player's requests.
void LoadSettings();
// Writes SETTINGS_FILE when the window's placement or the sound switches differ from what it holds: under
// the play folder's lock, the file read again and only the values this run changed written over it; a
// failure is told once per run on stderr.
void SaveSettings();
// The player's requests from the window (Wimdows::OnRequests, main thread): F2 switches the music, F3 the
// sound effects; every request saves the settings.
void HandleRequests(uint32_t requests);

}  // namespace Kwibbel
