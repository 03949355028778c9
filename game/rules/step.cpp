// One step of a game and the start it steps from: the order of a step (turns in, knurf blocks, each snake,
// the end), the snakes laid on the board at the start, and the points a finished game keeps.
#include "game/SnakePieces.h"
#include "game/rules/Rules.h"
#include "game/rules/events.h"

namespace SnakeProcedures {

// ---- internal --------------------------------------------------------------------------------------------

// The wait per step a game starts with: the harder, the shorter.
static int32_t WachttijdVoorMoeilijkheid(int32_t diff) {
    switch (diff) {
    case 1: return 210;
    case 3: return 80;
    default: return 150;
    }
}

// Whether a hand-steered knurf block stands right beside snake 1's head (no wrapping across the edge).
static bool BlokjeNaastKop(const ToestandRec &t, const RijEnKolomRec &kop) {
    uint32_t r = kop.rij, k = kop.kolom;
    if (r < 1 || r > RIJEN || k < 1 || k > KOLOMMEN) return false;
    auto manueel = [&t](uint32_t rr, uint32_t kk) { return t.Veld[rr][kk].bezet == MANUEEL_BLOKJE; };
    // Above, below, left, right; a neighbour off the board does not count.
    return (r > 1 && manueel(r - 1, k)) || (r < RIJEN && manueel(r + 1, k)) || (k > 1 && manueel(r, k - 1)) ||
           (k < KOLOMMEN && manueel(r, k + 1));
}

// Snake s laid from the cell right of beginpositie, lengte cells going right, its head last.
static void LegBeginSlang(ToestandRec &t, uint32_t s, RijEnKolomRec begin, uint32_t grootte, GebeurtenissenRec *uit) {
    uint32_t r = begin.rij, k = begin.kolom;
    if (r < 1 || r > RIJEN) return;
    // The level loader refuses runs that pass column 40; a run is still never laid beyond the board.
    uint32_t lengte = grootte;
    if (k >= KOLOMMEN)
        lengte = 0;
    else if (lengte > KOLOMMEN - k)
        lengte = KOLOMMEN - k;
    BlokRec *slang = t.Slang[s];
    for (uint32_t j = 1; j <= lengte; j++) {
        slang[j] = t.Veld[r][k + j];
        GebeurtenisRec &g = Meld(uit, G_SLANG_STUK);
        g.speler = (uint8_t)s;
        g.stuk = (uint8_t)SnakePieces::For(t.richting[s], t.richting[s], j == lengte);
        g.cel = RijEnKolomRec{r, k + j};
        t.Veld[r][k + j].bezet = SLANG;
    }
    // Slot 0 stands for no cell, so the first step frees and paints nothing.
    BlokRec &staart = slang[0];
    staart = t.Veld[r][k];
    staart.x1 = staart.y1 = BUITEN_HET_VENSTER;
    staart.x2 = staart.y2 = BUITEN_HET_VENSTER + 20;
    // The first step draws slot grootte + 1 as the previous head when it eats.
    if (lengte > 0 && lengte + 1 < SLANGSLOTS) slang[lengte + 1] = slang[lengte];
}

// ---- exported ----------------------------------------------------------------------------------------------

void NieuwSpel(ToestandRec &t, const ModeRec &mode, int32_t diff, const StandardLib::RandomRec &random,
               const uint32_t grootte[3], const RijEnKolomRec positie[3], GebeurtenissenRec *uit) {
    t.mode = mode;
    t.slangen = SlangenIn(mode);
    t.Diff = diff;
    t.random = random;
    t.teller = 0;
    t.DelaySnake = WachttijdVoorMoeilijkheid(diff);
    for (uint32_t p = 0; p <= MAX_SPELERS; p++) {
        t.grootte[p] = p == 0 ? 0 : grootte[p];
        t.positie[p] = p == 0 ? RijEnKolomRec{0, 0} : positie[p];
        t.richting[p] = RECHTS;
        t.beurten[p] = BeurtenRec{};
        t.Score[p] = 0;
    }
    uint32_t spelers = mode.spelers > MAX_SPELERS ? MAX_SPELERS : mode.spelers;
    for (uint32_t s = 1; s <= t.slangen; s++) LegBeginSlang(t, s, t.positie[s], t.grootte[s], uit);
    for (uint32_t p = 1; p <= spelers; p++) t.positie[p].kolom += t.grootte[p];
    // The hand-steered block stands on its start cell from the first picture on, so no knurf block is
    // placed under it and no snake runs over it unseen before its first move. (A start cell that a snake
    // was laid on stays the snake's; the block then shows from its first move.)
    for (uint32_t p = t.slangen + 1; p <= spelers && mode.blokjeManueel; p++) {
        const RijEnKolomRec &plek = t.positie[p];
        BlokRec &cel = t.Veld[plek.rij][plek.kolom];
        if (cel.bezet != ONBEZET) continue;
        cel.bezet = MANUEEL_BLOKJE;
        cel.soortblokje = NORMAAL;
        GebeurtenisRec &g = Meld(uit, G_BLOKJE_GEZET);
        g.cel = plek;
        g.manueel = true;
    }
    TekenNieuwBlokje(t, true, 1, uit);
}

bool Stap(ToestandRec &t, const InvoerRec &invoer, GameEndRec &end, GebeurtenissenRec *uit) {
    end = GameEndRec{};
    uint32_t spelers = t.mode.spelers > MAX_SPELERS ? MAX_SPELERS : t.mode.spelers;
    // The typed turns join those still waiting; an input from elsewhere (a file, the network) is held to
    // the same bounds.
    InvoerRec in = invoer;
    for (uint32_t p = 1; p <= MAX_SPELERS; p++) {
        BeurtenRec &b = t.beurten[p];
        for (uint32_t i = 0; i < in.beurten[p].aantal && i < 2 && b.aantal < 2; i++)
            b.beurt[b.aantal++] = (PijlEn)(in.beurten[p].beurt[i] & 3);
        in.vastRichting[p] = (PijlEn)(in.vastRichting[p] & 3);
    }

    if (t.mode.blokjeManueel) {
        for (uint32_t p = t.slangen + 1; p <= spelers; p++) BeweegBlokje(t, p, in, uit);
    } else {
        BeweegBlokje(t, 2, in, uit);
    }

    bool gecrasht = false;
    for (uint32_t s = 1; s <= t.slangen; s++) {
        if (!TekenSlang(t, s, in, end.oorzaak[s], uit)) {
            end.crashed[s] = true;
            gecrasht = true;
            GebeurtenisRec &g = Meld(uit, G_GECRASHT);
            g.speler = (uint8_t)s;
            g.oorzaak = end.oorzaak[s];
        }
    }
    t.teller++;
    if (!gecrasht) return true;
    // The hand-steered block beside the snake's head has caught it, wherever the snake crashed.
    end.caught = t.mode.blokjeManueel && BlokjeNaastKop(t, t.positie[1]);
    if (end.caught) Meld(uit, G_GEVANGEN);
    return false;
}

void EindPunten(const ToestandRec &t, const GameEndRec &end, int32_t punten[3]) {
    for (uint32_t p = 0; p <= MAX_SPELERS; p++) punten[p] = t.Score[p];
    if (t.mode.blokjeManueel && !end.caught) {
        // The snake crashed by itself: its points go to the knurf player.
        punten[2] = punten[1];
        punten[1] = 0;
    }
}

}  // namespace SnakeProcedures
