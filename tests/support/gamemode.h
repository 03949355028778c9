// The game modes as the game-mode menu sets them, for tests that play or score in a given mode.
#pragma once

#include "game/SnakeProcedures.h"

namespace GameMode {

enum class Mode { ONE_PLAYER, TWO_SNAKES, SNAKE_AGAINST_KNURF, SNAKE_AGAINST_COMPUTER };

inline void Set(Mode mode) { SnakeProcedures::SetGameMode((SnakeProcedures::GameModeEn)mode); }

}  // namespace GameMode
