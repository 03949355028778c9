// The board's small operations that every rule uses: the cells and their pixel rectangles, the one-cell
// step, the snakes' edge crossing, and the table of game modes.
#include "game/rules/Rules.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const uint32_t CEL = Layout::CELL;  // a cell is CEL by CEL pixels

// The modes as the game-mode menu offers them, in the order of GameModeEn.
static const ModeRec MODES[MODE_COUNT] = {
    {1, false, 0, 3, 0},  // one player
    {2, false, 0, 4, 0},  // snake against snake
    {2, true, 1, 3, 0},   // snake against knurf: player 2 steers a knurf block
    {2, false, 0, 4, 2},  // snake against the computer, which steers snake 2
};

// ---- exported ----------------------------------------------------------------------------------------------

const ModeRec &ModeSettings(GameModeEn mode) { return MODES[mode < MODE_COUNT ? mode : 0]; }

uint32_t SlangenIn(const ModeRec &mode) {
    uint32_t spelers = mode.spelers > MAX_SPELERS ? MAX_SPELERS : mode.spelers;
    return mode.manueel >= spelers ? 0 : spelers - mode.manueel;
}

void VensterInBlokken(BlokRec veld[RIJEN + 1][KOLOMMEN + 1]) {
    for (uint32_t rij = 1; rij <= RIJEN; rij++) {
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++) {
            BlokRec &cel = veld[rij][kolom];
            cel.x1 = CEL * (kolom - 1);
            cel.x2 = cel.x1 + CEL;
            cel.y1 = CEL * (rij - 1);
            cel.y2 = cel.y1 + CEL;
            cel.bezet = ONBEZET;
            cel.BeginPosSlang = false;
            cel.BeginPosSlang2 = false;
        }
    }
}

void VeranderRijKolom(uint32_t &rij, uint32_t &kolom, PijlEn volgend) {
    switch (volgend) {
    case LINKS: kolom--; break;
    case RECHTS: kolom++; break;
    case BOVEN: rij--; break;
    case ONDER: rij++; break;
    }
}

bool DoorMuur(PijlEn volgend, uint32_t &rij, uint32_t &kolom) {
    if (rij == RIJEN && volgend == ONDER) {
        rij = 0;
        return true;
    }
    if (rij == 1 && volgend == BOVEN) {
        rij = RIJEN + 1;
        return true;
    }
    if (kolom == KOLOMMEN && volgend == RECHTS) {
        kolom = 0;
        return true;
    }
    if (kolom == 1 && volgend == LINKS) {
        kolom = KOLOMMEN + 1;
        return true;
    }
    return false;
}

bool CelVanRechthoek(const ToestandRec &t, const BlokRec &blok, RijEnKolomRec &cel) {
    if (blok.x1 % CEL != 0 || blok.y1 % CEL != 0) return false;
    uint32_t r = blok.y1 / CEL + 1;
    uint32_t k = blok.x1 / CEL + 1;
    if (r > RIJEN || k > KOLOMMEN) return false;
    // The rectangle identifies the cell only on a board that has been built.
    if (t.Veld[r][k].x1 != blok.x1 || t.Veld[r][k].y1 != blok.y1) return false;
    cel = RijEnKolomRec{r, k};
    return true;
}

}  // namespace SnakeProcedures
