// Kwibbel: the program's start, the main menu and the end of the run.
//
// Thread rules: main thread only. Closing: when the player closes the window, every screen returns to the
// main menu, which then ends the run as its quit choice does.
#pragma once

#include <string>

namespace Kwibbel {

// Starts every module once: window layer, random numbers, menus, the game.
void StartModules();
// The game settings a run starts with: medium difficulty, one player, three automatic knurf blocks, no
// computer player.
void SetDefaults();
// Runs the main menu (buffered drawing, menu music) until the player quits or closes the window; then the
// farewell line has been written and the sound system is shut down.
void StartMenu();
// The whole program: modules, defaults, window, loading screen, main menu, window closed. The exit status:
// 0 after the player quit, 1 when the window could not be opened (the window layer has said why).
int Run();
// The program from its command line: --help or --version answer and give 0, anything else but no
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

}  // namespace Kwibbel
