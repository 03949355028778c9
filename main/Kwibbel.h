// Kwibbel: the program's start, the main menu and the end of the run.
//
// Thread rules: main thread only. Closing: when the player closes the window, every screen returns to the
// main menu, which then ends the run as its quit choice does.
#pragma once

namespace Kwibbel {

// Starts every module once: window layer, random numbers, menus, the game.
void StartModules();
// The game settings a run starts with: medium difficulty, one player, three automatic knurf blocks.
void SetDefaults();
// Runs the main menu (buffered drawing, menu music) until the player quits or closes the window; then the
// farewell line has been written and the sound system is shut down.
void StartMenu();
// The whole program: modules, defaults, window, loading screen, main menu, window closed. The exit status:
// 0 after the player quit, 1 when the window could not be opened (the window layer has said why).
int Run();

}  // namespace Kwibbel
