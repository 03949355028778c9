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

// The game state Spel takes the settings, as a game does at its start.
inline void SyncSettings() {
    Spel.mode = ModeNu();
    Spel.slangen = AantalSlangen();
    Spel.Diff = Diff;
}

// The settings as the game-mode and difficulty menus set them.
inline void SetMode(Mode mode, int32_t diff) {
    GameMode::Set(mode);
    Diff = diff;
    SyncSettings();
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

// What the last call below reported.
inline GebeurtenissenRec &Events() {
    static GebeurtenissenRec events;
    return events;
}

// Lays out the snakes in play as a game starts (no knurf block placed, the pace kept); state p holds snake
// p's head. The start is painted with bitmaps.
inline std::vector<SnakeState> LaySnakes(const std::vector<RijEnKolomRec> &start, const std::vector<uint32_t> &lengths,
                                         const BitmapsRec &bitmaps = BitmapsRec{}) {
    RijEnKolomRec positie[3] = {};
    uint32_t grootte[3] = {};
    for (size_t i = 0; i < start.size() && i < 2; i++) {
        positie[i + 1] = start[i];
        grootte[i + 1] = lengths[i];
    }
    SyncSettings();
    ModeRec zonderBlokjes = Spel.mode;
    zonderBlokjes.automatisch = 0;
    int32_t delay = Spel.DelaySnake, score[3] = {Score[0], Score[1], Score[2]};
    Events().aantal = 0;
    NieuwSpel(Spel, zonderBlokjes, Diff, Spel.random, grootte, positie, &Events());
    TekenGebeurtenissen(Spel, Events(), bitmaps);
    Spel.mode = ModeNu();
    Spel.DelaySnake = delay;
    for (int p = 0; p < 3; p++) Score[p] = score[p];
    std::vector<SnakeState> states(3);
    for (uint32_t p = 1; p <= 2; p++)
        states[p] = SnakeState{Spel.positie[p].rij, Spel.positie[p].kolom, RECHTS, grootte[p]};
    return states;
}

// The keys of both players, as the game reads them.
inline void AllKeys(BesturingRec keys[3]) {
    keys[0] = BesturingRec{};
    keys[1] = Keys(1);
    keys[2] = Keys(2);
}

// The turns of an input joined to those waiting, as a step begins.
inline void JoinTurns(const InvoerRec &in) {
    for (uint32_t p = 1; p <= 2; p++)
        for (uint32_t i = 0; i < in.beurten[p].aantal && Spel.beurten[p].aantal < 2; i++)
            Spel.beurten[p].beurt[Spel.beurten[p].aantal++] = in.beurten[p].beurt[i];
}

// One step of snake s with player s's held keys and the turns waiting; painted with bitmaps.
inline bool Step(uint32_t s, SnakeState &st, const BitmapsRec &bitmaps = BitmapsRec{}) {
    Spel.Diff = Diff;
    Spel.positie[s] = RijEnKolomRec{st.rij, st.kolom};
    Spel.richting[s] = st.richting;
    Spel.grootte[s] = st.grootte;
    BesturingRec keys[3];
    AllKeys(keys);
    InvoerRec in{};
    HeldKeys(Spel, in, keys);
    OorzaakEn oorzaak = OORZAAK_GEEN;
    Events().aantal = 0;
    bool moved = TekenSlang(Spel, s, in, oorzaak, &Events());
    TekenGebeurtenissen(Spel, Events(), bitmaps);
    st = SnakeState{Spel.positie[s].rij, Spel.positie[s].kolom, Spel.richting[s], Spel.grootte[s]};
    return moved;
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
    SpelZaad = 94;      // every game places the same knurf blocks
    ComputerZaad = 94;  // and the computer takes the same chances
    SetMode(Mode::ONE_PLAYER, 2);
    Spel.random = StandardLib::TakeGenerator();
    Score[1] = Score[2] = 0;
    for (uint32_t p = 0; p < 3; p++) {
        Spel.richting[p] = RECHTS;
        Spel.beurten[p] = BeurtenRec{};
    }
}

// Leaves no key held, the clock-seeded generator back and both scores 0 for the next test.
inline void EndTest() {
    ReleaseAllKeys();
    StandardLib::gPseudoRandom = false;
    SpelZaad = ComputerZaad = 0;
    Score[1] = Score[2] = 0;
}

}  // namespace GameBoard
