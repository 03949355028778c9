// Setting up the game's board and settings from plain data, for the tests of the board, the snakes, the
// knurf blocks and the game loop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/SnakeProcedures.h"
#include "support/StandardLib.h"
#include "support/gamemode.h"
#include "wimdows/Wimdows.h"

namespace GameBoard {

using namespace SnakeProcedures;

using GameMode::Mode;

// The settings as the game-mode and difficulty menus set them.
inline void SetMode(Mode mode, int32_t diff) {
    GameMode::Set(mode);
    Diff = diff;
}

// An empty board of ordinary kinds, with or without the wall all round.
inline void EmptyBoard(bool border) {
    VensterInBlokken();
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            Veld[r][k].soortblokje = NORMAAL;
            if (border && (r == 1 || r == RIJEN || k == 1 || k == KOLOMMEN)) Veld[r][k].bezet = MUUR;
        }
}

inline std::string Cell(uint32_t r, uint32_t k) { return std::to_string(r) + "," + std::to_string(k); }

// The cells that hold bezet (and, for BLOKJE, the kind soort unless soort is -1), in reading order.
inline std::vector<std::string> Cells(BezetEn bezet, int soort = -1) {
    std::vector<std::string> cells;
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++)
            if (Veld[r][k].bezet == bezet && (soort < 0 || Veld[r][k].soortblokje == soort))
                cells.push_back(Cell(r, k));
    return cells;
}
inline int Count(BezetEn bezet, int soort = -1) { return (int)Cells(bezet, soort).size(); }

inline void PutKnurf(uint32_t r, uint32_t k, SoortBlokjeEn soort) {
    Veld[r][k].bezet = BLOKJE;
    Veld[r][k].soortblokje = soort;
}

// Walls on every free cell except the listed ones.
inline void WallAllBut(const std::vector<RijEnKolomRec> &keep) {
    for (uint32_t r = 1; r <= RIJEN; r++)
        for (uint32_t k = 1; k <= KOLOMMEN; k++) {
            bool kept = false;
            for (const RijEnKolomRec &c : keep) kept = kept || (c.rij == r && c.kolom == k);
            if (!kept && Veld[r][k].bezet == ONBEZET) Veld[r][k].bezet = MUUR;
        }
}

// Walls on the neighbours of (r, k) in the listed directions.
inline void WallAround(uint32_t r, uint32_t k, std::initializer_list<PijlEn> sides) {
    for (PijlEn d : sides) {
        uint32_t rr = r, kk = k;
        VeranderRijKolom(rr, kk, d);
        Veld[rr][kk].bezet = MUUR;
    }
}

// One snake's game state as the game loop keeps it.
struct SnakeState {
    uint32_t rij, kolom;
    PijlEn richting;
    uint32_t grootte;
};

// The keys of the shipped controls file: arrows for player 1, D A W S for player 2.
inline BesturingRec Keys(uint32_t player) {
    return player == 1 ? BesturingRec{39, 37, 38, 40} : BesturingRec{68, 65, 87, 83};
}

// Lays out the snakes in play as a game starts; state p holds snake p's head.
inline std::vector<SnakeState> LaySnakes(const std::vector<RijEnKolomRec> &start, const std::vector<uint32_t> &lengths,
                                         const BitmapsRec &bitmaps = BitmapsRec{}) {
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

// One step of snake s with player s's keys.
inline bool Step(uint32_t s, SnakeState &st, const BitmapsRec &bitmaps = BitmapsRec{}) {
    SpelerAanDeBeurt = s;
    BesturingRec keys = Keys(s);
    return TekenSlang(st.rij, st.kolom, st.richting, Slang[s], st.grootte, keys, bitmaps);
}

inline void ReleaseAllKeys() {
    for (uint32_t k = 1; k < 256; k++) Wimdows::SimulateKeyUp(k);
    Wimdows::FlushKeys();
}

inline void Tap(uint32_t key) {
    Wimdows::SimulateKeyDown(key);
    Wimdows::SimulateKeyUp(key);
}

// The start of every test of the game core: no key held or typed, the repeatable random generator on one
// seed, one player at medium difficulty, both scores 0 and no waiting turns.
inline void StartTest() {
    Wimdows::InitWimdows();
    ReleaseAllKeys();
    StandardLib::gPseudoRandom = true;
    StandardLib::SetPseudoSeed(94);
    SetMode(Mode::ONE_PLAYER, 2);
    Score[1] = Score[2] = 0;
    const PijlEn rechts[3] = {RECHTS, RECHTS, RECHTS};
    ClearTurns(rechts);
}

// Leaves no key held, the clock-seeded generator back and both scores 0 for the next test.
inline void EndTest() {
    ReleaseAllKeys();
    StandardLib::gPseudoRandom = false;
    Score[1] = Score[2] = 0;
}

}  // namespace GameBoard
