// Knurf movement: every few steps each knurf block that moves by itself takes one random step to a free
// neighbouring cell (one sweep over the board, each block at most once), and the hand-steered knurf
// block moves one cell in every step. Knurf blocks cross the edge of the board only onto a free cell.
#include "game/SnakeProcedures.h"
#include "support/StandardLib.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

// A block draws directions until it finds a free neighbour, and gives up after this many draws...
static const uint32_t OPGEEF_TREKKINGEN = 1000000;
// ...and moves only when it found one within this many.
static const uint32_t ZET_TREKKINGEN = 100000;

static const uint32_t PLAATJE_NORMAAL = 0, PLAATJE_SNELLER = 1, PLAATJE_GIFTIG = 2, PLAATJE_MANUEEL = 3;

// ---- internal --------------------------------------------------------------------------------------------

// The automatic knurf blocks move in every deler-th step: the harder the game, the more often.
static uint32_t Deler()
{
    switch (Diff) {
    case 1:
        return 4;
    case 3:
        return 2;
    default:
        return 3;
    }
}

// The knurf blocks' edge rule for a target one step from a board cell in direction volgend: across the
// edge it comes in at the opposite edge (written back); TRUE exactly when the target cell is free.
static bool CheckVolgendePlaats(uint32_t &rij, uint32_t &kolom, PijlEn volgend)
{
    if (rij == RIJEN + 1 && volgend == ONDER)
        rij = 1;
    else if (rij == 0 && volgend == BOVEN)
        rij = RIJEN;
    else if (kolom == KOLOMMEN + 1 && volgend == RECHTS)
        kolom = 1;
    else if (kolom == 0 && volgend == LINKS)
        kolom = KOLOMMEN;
    if (rij < 1 || rij > RIJEN || kolom < 1 || kolom > KOLOMMEN)
        return false;
    return Veld[rij][kolom].bezet == ONBEZET;
}

// Whether any of the four neighbours of (rij, kolom) would take a knurf block.
static bool VrijeBuur(uint32_t rij, uint32_t kolom)
{
    for (uint32_t d = 0; d < 4; d++) {
        uint32_t r = rij, k = kolom;
        PijlEn richting = (PijlEn)d;
        VeranderRijKolom(r, k, richting);
        if (CheckVolgendePlaats(r, k, richting))
            return true;
    }
    return false;
}

// One move of a knurf block from (rij_vorig, kolom_vorig) to the free cell (rij, kolom), on the board and
// on the screen; the block keeps its kind and its picture.
static void TekenBlokje(uint32_t rij_vorig, uint32_t kolom_vorig, uint32_t rij, uint32_t kolom, bool manueel,
                        const Wimdows::PictureHandle bitmaps[4])
{
    BlokRec &oud = Veld[rij_vorig][kolom_vorig];
    BlokRec &nieuw = Veld[rij][kolom];
    // The hand-steered block's cell may have been taken by a snake that came in across the edge (or the
    // block never stood on its start cell): that cell is not the block's, and the block leaves it as it is.
    bool oudeCelVanBlok = !manueel || oud.bezet == MANUEEL_BLOKJE;
    if (oudeCelVanBlok)
        oud.bezet = ONBEZET;
    nieuw.soortblokje = oudeCelVanBlok ? oud.soortblokje : NORMAAL;
    if (manueel) {
        nieuw.bezet = MANUEEL_BLOKJE;
        Wimdows::DrawBitmap(bitmaps[PLAATJE_MANUEEL], (int32_t)nieuw.x1, (int32_t)nieuw.y1);
    } else {
        nieuw.bezet = ALBEWOGEN_BLOKJE;
        Wimdows::DrawBitmap(bitmaps[PLAATJE_NORMAAL], (int32_t)nieuw.x1, (int32_t)nieuw.y1);
    }
    if (oudeCelVanBlok)
        EraseCell(oud);
    if (nieuw.soortblokje == GIFTIG)
        Wimdows::DrawBitmap(bitmaps[PLAATJE_GIFTIG], (int32_t)nieuw.x1, (int32_t)nieuw.y1);
    else if (nieuw.soortblokje == SNELLER)
        Wimdows::DrawBitmap(bitmaps[PLAATJE_SNELLER], (int32_t)nieuw.x1, (int32_t)nieuw.y1);
}

// One sweep, row by row and left to right: every knurf block that moves by itself steps once to a random
// free neighbour. A moved block is marked until the sweep ends, so it is not moved again further on.
static void BlokjeAutomatischBewegen(const Wimdows::PictureHandle bitmaps[4])
{
    for (uint32_t rij = 1; rij <= RIJEN; rij++) {
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++) {
            if (Veld[rij][kolom].bezet != BLOKJE)
                continue;
            // A walled-in block could never find a way out; it stays without drawing a single number.
            if (!VrijeBuur(rij, kolom))
                continue;
            uint32_t keer = 0;
            uint32_t r, k;
            bool vrij;
            do {
                keer++;
                PijlEn volgend = (PijlEn)StandardLib::RandomCard(0, 3);
                r = rij;
                k = kolom;
                VeranderRijKolom(r, k, volgend);
                vrij = CheckVolgendePlaats(r, k, volgend);
            } while (!vrij && keer <= OPGEEF_TREKKINGEN);
            if (keer <= ZET_TREKKINGEN)
                TekenBlokje(rij, kolom, r, k, false, bitmaps);
        }
    }
    for (uint32_t rij = 1; rij <= RIJEN; rij++)
        for (uint32_t kolom = 1; kolom <= KOLOMMEN; kolom++)
            if (Veld[rij][kolom].bezet == ALBEWOGEN_BLOKJE)
                Veld[rij][kolom].bezet = BLOKJE;
}

// ---- exported ----------------------------------------------------------------------------------------------

void BeweegBlokje(uint32_t teller, uint32_t &rij_vorig, uint32_t &kolom_vorig, const BesturingRec &besturing,
                  PijlEn &volgend, const Wimdows::PictureHandle bitmaps[4])
{
    if (teller % Deler() == 0)
        BlokjeAutomatischBewegen(bitmaps);
    if (!BlokjeManueel)
        return;
    if (!TakeTurn(SpelerAanDeBeurt, volgend, true))
        RichtingBepalen(volgend, besturing, true);
    uint32_t rij = rij_vorig, kolom = kolom_vorig;
    VeranderRijKolom(rij, kolom, volgend);
    if (CheckVolgendePlaats(rij, kolom, volgend)) {
        TekenBlokje(rij_vorig, kolom_vorig, rij, kolom, true, bitmaps);
        rij_vorig = rij;
        kolom_vorig = kolom;
    }
}

}  // namespace SnakeProcedures
