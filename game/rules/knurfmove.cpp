// Knurf movement: every few steps each knurf block that moves by itself takes one random step to a free
// neighbouring cell (one sweep over the board, each block at most once), and the hand-steered knurf
// block moves one cell in every step. Knurf blocks cross the edge of the board only onto a free cell.
#include "game/rules/Rules.h"
#include "game/rules/events.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

// A block draws directions until it finds a free neighbour, and gives up after this many draws...
static const uint32_t OPGEEF_TREKKINGEN = 1000000;
// ...and moves only when it found one within this many.
static const uint32_t ZET_TREKKINGEN = 100000;

// ---- internal --------------------------------------------------------------------------------------------

// The automatic knurf blocks move in every deler-th step: the harder the game, the more often.
static uint32_t Deler(int32_t diff) {
    switch (diff) {
    case 1: return 4;
    case 3: return 2;
    default: return 3;
    }
}

// The knurf blocks' edge rule for a target one step from a board cell in direction volgend: across the
// edge it comes in at the opposite edge (written back); TRUE exactly when the target cell is free.
static bool CheckVolgendePlaats(const ToestandRec &t, uint32_t &rij, uint32_t &kolom, PijlEn volgend) {
    if (rij == RIJEN + 1 && volgend == ONDER)
        rij = 1;
    else if (rij == 0 && volgend == BOVEN)
        rij = RIJEN;
    else if (kolom == KOLOMMEN + 1 && volgend == RECHTS)
        kolom = 1;
    else if (kolom == 0 && volgend == LINKS)
        kolom = KOLOMMEN;
    if (rij < 1 || rij > RIJEN || kolom < 1 || kolom > KOLOMMEN) return false;
    return t.Veld[rij][kolom].bezet == ONBEZET;
}

// Whether any of the four neighbours of (rij, kolom) would take a knurf block.
static bool VrijeBuur(const ToestandRec &t, uint32_t rij, uint32_t kolom) {
    for (uint32_t d = 0; d < 4; d++) {
        uint32_t r = rij, k = kolom;
        PijlEn richting = (PijlEn)d;
        VeranderRijKolom(r, k, richting);
        if (CheckVolgendePlaats(t, r, k, richting)) return true;
    }
    return false;
}

// One move of a knurf block from (rij_vorig, kolom_vorig) to the free cell (rij, kolom); the block keeps
// its kind.
static void TekenBlokje(ToestandRec &t, uint32_t rij_vorig, uint32_t kolom_vorig, uint32_t rij, uint32_t kolom,
                        bool manueel, GebeurtenissenRec *uit) {
    BlokRec &oud = t.Veld[rij_vorig][kolom_vorig];
    BlokRec &nieuw = t.Veld[rij][kolom];
    // The hand-steered block's cell may have been taken by a snake that came in across the edge (or the
    // block never stood on its start cell): that cell is not the block's, and the block leaves it as it is.
    bool oudeCelVanBlok = !manueel || oud.bezet == MANUEEL_BLOKJE;
    if (oudeCelVanBlok) oud.bezet = ONBEZET;
    nieuw.soortblokje = oudeCelVanBlok ? oud.soortblokje : NORMAAL;
    nieuw.bezet = manueel ? MANUEEL_BLOKJE : ALBEWOGEN_BLOKJE;
    GebeurtenisRec &g = Meld(uit, G_BLOKJE_BEWOGEN);
    g.cel = RijEnKolomRec{rij_vorig, kolom_vorig};
    g.naar = RijEnKolomRec{rij, kolom};
    g.blok = nieuw.soortblokje;
    g.manueel = manueel;
    g.vanVrij = oudeCelVanBlok;
}

// One sweep, row by row and left to right: every knurf block that moves by itself steps once to a random
// free neighbour. A moved block is marked until the sweep ends, so it is not moved again further on.
static void BlokjeAutomatischBewegen(ToestandRec &t, GebeurtenissenRec *uit) {
    for (uint32_t rij = 1; rij <= RIJEN; rij++) {
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++) {
            if (t.Veld[rij][kolom].bezet != BLOKJE) continue;
            // A walled-in block could never find a way out; it stays without drawing a single number.
            if (!VrijeBuur(t, rij, kolom)) continue;
            uint32_t keer = 0;
            uint32_t r, k;
            bool vrij;
            do {
                keer++;
                PijlEn volgend = (PijlEn)StandardLib::RandomCard(t.random, 0, 3);
                r = rij;
                k = kolom;
                VeranderRijKolom(r, k, volgend);
                vrij = CheckVolgendePlaats(t, r, k, volgend);
            } while (!vrij && keer <= OPGEEF_TREKKINGEN);
            if (keer <= ZET_TREKKINGEN) TekenBlokje(t, rij, kolom, r, k, false, uit);
        }
    }
    for (uint32_t rij = 1; rij <= RIJEN; rij++)
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++)
            if (t.Veld[rij][kolom].bezet == ALBEWOGEN_BLOKJE) t.Veld[rij][kolom].bezet = BLOKJE;
}

// ---- exported ----------------------------------------------------------------------------------------------

void BeweegBlokje(ToestandRec &t, uint32_t speler, const InvoerRec &invoer, GebeurtenissenRec *uit) {
    if (t.teller % Deler(t.Diff) == 0) BlokjeAutomatischBewegen(t, uit);
    if (!t.mode.blokjeManueel) return;
    PijlEn &volgend = t.richting[speler];
    if (!TakeTurn(t, speler, volgend, true)) RichtingBepalen(volgend, invoer, speler, true);
    RijEnKolomRec &plek = t.positie[speler];
    uint32_t rij = plek.rij, kolom = plek.kolom;
    VeranderRijKolom(rij, kolom, volgend);
    if (CheckVolgendePlaats(t, rij, kolom, volgend)) {
        TekenBlokje(t, plek.rij, plek.kolom, rij, kolom, true, uit);
        plek = RijEnKolomRec{rij, kolom};
    }
}

}  // namespace SnakeProcedures
