// The game modes as the game-mode menu sets them, for tests that play or score in a given mode.
#pragma once

#include "game/SnakeProcedures.h"

namespace GameMode {

enum class Mode { ONE_PLAYER, TWO_SNAKES, SNAKE_AGAINST_KNURF, SNAKE_AGAINST_COMPUTER };

inline void Set(Mode mode) {
    using namespace SnakeProcedures;
    AantalSpelers = mode == Mode::ONE_PLAYER ? 1 : 2;
    BlokjeManueel = mode == Mode::SNAKE_AGAINST_KNURF;
    AantalBlokjesManueel = BlokjeManueel ? 1 : 0;
    AantalBlokjesAutomatisch = mode == Mode::TWO_SNAKES || mode == Mode::SNAKE_AGAINST_COMPUTER ? 4 : 3;
    ComputerSpeler = mode == Mode::SNAKE_AGAINST_COMPUTER ? 2 : 0;
}

}  // namespace GameMode
