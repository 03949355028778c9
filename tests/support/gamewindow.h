// The game's window under SDL's dummy video driver, drawn into through the back buffer as a game does.
#pragma once

#include "wimdows/Wimdows.h"

namespace GameWindow {

// Opens the 800 by 680 window and switches to buffered drawing; FALSE when no window came up.
inline bool Open() {
    Wimdows::Window("Kwibbel", 800, 680);
    if (Wimdows::State() != Wimdows::STATE_ACTIVE) return false;
    Wimdows::SetBuffering(true);
    return true;
}

}  // namespace GameWindow
