// Setting up the game's board and settings from plain data for the tests of the board, the snakes, the
// knurf blocks and the game loop: the three game modes, boards with or without the border wall, counting
// cells, and the snakes laid out as a game starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace GameBoard {

using namespace SnakeProcedures;

enum class Mode { ONE_PLAYER, TWO_SNAKES, SNAKE_AGAINST_KNURF };

// The settings as the game-mode menu sets them, and the difficulty.
inline void SetMode(Mode mode, int32_t diff)
{
    AantalSpelers = mode == Mode::ONE_PLAYER ? 1 : 2;
    BlokjeManueel = mode == Mode::SNAKE_AGAINST_KNURF;
    AantalBlokjesManueel = mode == Mode::SNAKE_AGAINST_KNURF ? 1 : 0;
    AantalBlokjesAutomatisch = mode == Mode::TWO_SNAKES ? 4 : 3;
    Diff = diff;
}

// An empty board (every cell free and of kind NORMAAL), with or without the wall all round.
inline void EmptyBoard(bool border)
{
    VensterInBlokken();
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            Veld[r][k].soortblokje = NORMAAL;
            if (border && (r == 1 || r == RIJEN || k == 1 || k == KOLOMMEN))
                Veld[r][k].bezet = MUUR;
        }
}

inline int Count(BezetEn bezet)
{
    int n = 0;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            n += Veld[r][k].bezet == bezet;
    return n;
}

inline int CountKnurfs(SoortBlokjeEn soort)
{
    int n = 0;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            n += Veld[r][k].bezet == BLOKJE && Veld[r][k].soortblokje == soort;
    return n;
}

inline void PutKnurf(uint32_t r, uint32_t k, SoortBlokjeEn soort)
{
    Veld[r][k].bezet = BLOKJE;
    Veld[r][k].soortblokje = soort;
}

// Fills every free cell with a wall, except the listed ones.
inline void FillFreeCellsExcept(const std::vector<RijEnKolomRec> &keep)
{
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            bool kept = false;
            for (const RijEnKolomRec &c : keep)
                kept = kept || (c.rij == r && c.kolom == k);
            if (!kept && Veld[r][k].bezet == ONBEZET)
                Veld[r][k].bezet = MUUR;
        }
}

// One snake's game state as the game loop keeps it.
struct SnakeState {
    uint32_t rij, kolom;
    PijlEn richting;
    uint32_t grootte;
};

// The default keys of the shipped controls file: arrows for player 1, D A W S for player 2.
inline BesturingRec Keys(uint32_t player)
{
    return player == 1 ? BesturingRec{39, 37, 38, 40} : BesturingRec{68, 65, 87, 83};
}

// Lays out the snakes in play as the game start does: snake s on the grootte cells right of its first
// start cell (rij, kolom); the returned states have the head position.
inline std::vector<SnakeState> LaySnakes(const std::vector<RijEnKolomRec> &start, const std::vector<uint32_t> &lengths,
                                         const BitmapsRec &bitmaps = BitmapsRec{})
{
    RijEnKolomRec positie[3] = {};
    uint32_t grootte[3] = {};
    PijlEn richting[3] = {RECHTS, RECHTS, RECHTS};
    for (size_t i = 0; i < start.size() && i < 2; i++) {
        positie[i + 1] = start[i];
        grootte[i + 1] = lengths[i];
    }
    TekenBeginSlangen(positie, grootte, richting, bitmaps);
    std::vector<SnakeState> states(3);
    for (uint32_t p = 1; p <= 2; p++)
        states[p] = SnakeState{positie[p].rij, positie[p].kolom + grootte[p], RECHTS, grootte[p]};
    return states;
}

// One step of snake s with player s's keys, as the game loop makes it.
inline bool Step(uint32_t s, SnakeState &st, const BitmapsRec &bitmaps = BitmapsRec{})
{
    SpelerAanDeBeurt = s;
    BesturingRec keys = Keys(s);
    return TekenSlang(st.rij, st.kolom, st.richting, Slang[s], st.grootte, keys, bitmaps);
}

// Every key released and the typed-key queue empty.
inline void ReleaseAllKeys()
{
    for (uint32_t k = 1; k < 256; k++)
        Wimdows::SimulateKeyUp(k);
    Wimdows::FlushKeys();
}

// The cells (row, column) that hold SLANG, in reading order, as "r,k" text.
inline std::vector<std::string> SnakeCells()
{
    std::vector<std::string> cells;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            if (Veld[r][k].bezet == SLANG)
                cells.push_back(std::to_string(r) + "," + std::to_string(k));
    return cells;
}

}  // namespace GameBoard
