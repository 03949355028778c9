// Knurf placement: the ordinary knurf blocks of a new game, and for every eaten ordinary block its points,
// a new ordinary block and, at score milestones, an extra poisonous or faster one. Only the cells are
// random; the kind of a new block follows from the score.
#include "game/rules/Rules.h"
#include "game/rules/events.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

// New knurf blocks stay off the outermost ring of the board.
static const uint32_t EERSTE_RIJ = 2, LAATSTE_RIJ = RIJEN - 1;
static const uint32_t EERSTE_KOLOM = 2, LAATSTE_KOLOM = KOLOMMEN - 1;
// Draws for a free cell before the search goes on in reading order.
static const uint32_t ZOEK_TREKKINGEN = 100000;

// ---- internal --------------------------------------------------------------------------------------------

static bool VrijeCelOver(const ToestandRec &t) {
    for (uint32_t rij = EERSTE_RIJ; rij <= LAATSTE_RIJ; rij++)
        for (uint32_t kolom = EERSTE_KOLOM; kolom <= LAATSTE_KOLOM; kolom++)
            if (t.Veld[rij][kolom].bezet == ONBEZET) return true;
    return false;
}

// The first free cell off the outer ring from (rij, kolom) on, in reading order and round to the start.
static void VolgendeVrijeCel(const ToestandRec &t, uint32_t &rij, uint32_t &kolom) {
    const uint32_t breedte = LAATSTE_KOLOM - EERSTE_KOLOM + 1;
    const uint32_t cellen = (LAATSTE_RIJ - EERSTE_RIJ + 1) * breedte;
    uint32_t start = (rij - EERSTE_RIJ) * breedte + (kolom - EERSTE_KOLOM);
    for (uint32_t i = 0; i < cellen; i++) {
        uint32_t n = (start + i) % cellen;
        uint32_t r = EERSTE_RIJ + n / breedte, k = EERSTE_KOLOM + n % breedte;
        if (t.Veld[r][k].bezet == ONBEZET) {
            rij = r;
            kolom = k;
            return;
        }
    }
}

// A random free cell off the outer ring; FALSE (and no number drawn) when the board has none left, so a
// full board skips the placement instead of drawing for ever. The repeatable generator of the tests
// reaches fewer than half of the cells from any one point of its cycle, so after ZOEK_TREKKINGEN draws
// without a free cell the next free cell in reading order is taken; with the clock-seeded generator
// that many misses while a cell is free do not happen.
static bool RijEnKolom(ToestandRec &t, uint32_t &rij, uint32_t &kolom) {
    if (!VrijeCelOver(t)) return false;
    for (uint32_t keer = 0;; keer++) {
        rij = StandardLib::RandomCard(t.random, EERSTE_RIJ, LAATSTE_RIJ);
        kolom = StandardLib::RandomCard(t.random, EERSTE_KOLOM, LAATSTE_KOLOM);
        if (t.Veld[rij][kolom].bezet == ONBEZET) return true;
        if (keer >= ZOEK_TREKKINGEN) {
            VolgendeVrijeCel(t, rij, kolom);
            return true;
        }
    }
}

static void ZetBlokje(ToestandRec &t, uint32_t rij, uint32_t kolom, SoortBlokjeEn soort, GebeurtenissenRec *uit) {
    BlokRec &cel = t.Veld[rij][kolom];
    cel.soortblokje = soort;
    cel.bezet = BLOKJE;
    GebeurtenisRec &g = Meld(uit, G_BLOKJE_GEZET);
    g.cel = RijEnKolomRec{rij, kolom};
    g.blok = soort;
}

// Whether score is a positive multiple of stap (a stap of 0, an unset difficulty, has no milestones).
static bool Mijlpaal(int32_t score, int32_t stap) { return score != 0 && stap > 0 && score % stap == 0; }

// One placement: both cells are chosen before either is taken, so they may be the same cell, which then
// ends with the ordinary block.
static void BlokjeTekenen(ToestandRec &t, bool beginspel, uint32_t speler, GebeurtenissenRec *uit) {
    uint32_t rij1 = 0, kolom1 = 0, rij2 = 0, kolom2 = 0;
    bool eerste = RijEnKolom(t, rij1, kolom1);
    bool tweede = RijEnKolom(t, rij2, kolom2);

    if (!beginspel) {
        t.Score[speler] += t.Diff * 100;
        int32_t s = t.alleenGewoneBlokjes ? 0 : t.Score[speler];  // 0: no milestone
        if (Mijlpaal(s, t.Diff * 1000)) {
            if (tweede) ZetBlokje(t, rij2, kolom2, GIFTIG, uit);
        } else if (Mijlpaal(s, t.Diff * 500)) {
            if (tweede) ZetBlokje(t, rij2, kolom2, SNELLER, uit);
        }
    }

    MeldPunten(uit, speler, t.Score[speler]);

    if (eerste) ZetBlokje(t, rij1, kolom1, NORMAAL, uit);
}

// ---- exported ----------------------------------------------------------------------------------------------

void TekenNieuwBlokje(ToestandRec &t, bool beginspel, uint32_t speler, GebeurtenissenRec *uit) {
    if (beginspel) {
        for (uint32_t i = 0; i < t.mode.automatisch; i++) BlokjeTekenen(t, true, speler, uit);
    } else {
        BlokjeTekenen(t, false, speler, uit);
    }
}

}  // namespace SnakeProcedures
