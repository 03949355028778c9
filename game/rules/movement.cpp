// Snake movement: the turns the players typed and the keys they hold, the cell rules for the cell ahead
// (walls, snakes, knurf blocks of every kind), eating, growth, speed-up and points, and the one-cell step
// that moves the head and drops the tail.
#include "game/SnakePieces.h"
#include "game/rules/Rules.h"
#include "game/rules/events.h"

namespace SnakeProcedures {

// The piece table lists directions in the game's own order.
static_assert((uint32_t)SnakePieces::LEFT == LINKS && (uint32_t)SnakePieces::RIGHT == RECHTS &&
                  (uint32_t)SnakePieces::UP == BOVEN && (uint32_t)SnakePieces::DOWN == ONDER,
              "the snake-piece table and PijlEn must agree on the directions");

// ---- state ---------------------------------------------------------------------------------------------

// The game stays playable at 25 steps a second; faster knurf blocks take the wait no lower.
static const int32_t KORTSTE_WACHTTIJD = 40;
// Above this wait a faster knurf block takes Diff * 10 ms off it, at or below it 15 ms.
static const int32_t SNELLE_GRENS = 80;
static const int32_t SNELLE_STAP = 15;
// The head of a snake of grootte g goes into slot g + 1, which may be 1200 at most.
static const uint32_t LAATSTE_SLOT = SLANGSLOTS - 1;

// ---- internal --------------------------------------------------------------------------------------------

static bool ZelfdeCel(const BlokRec &a, const BlokRec &b) { return a.x1 == b.x1 && a.y1 == b.y1; }

// A faster knurf block: the wait per step goes down, never below KORTSTE_WACHTTIJD.
static void Versnellen(ToestandRec &t) {
    if (t.DelaySnake > SNELLE_GRENS)
        t.DelaySnake -= t.Diff * 10;
    else
        t.DelaySnake -= SNELLE_STAP;
    if (t.DelaySnake < KORTSTE_WACHTTIJD) t.DelaySnake = KORTSTE_WACHTTIJD;
}

// Whose snake fills the cell: its own (any of its slots) or the other one.
static OorzaakEn SlangOorzaak(const ToestandRec &t, uint32_t s, const BlokRec &cel) {
    for (uint32_t i = 0; i <= t.grootte[s] + 1 && i < SLANGSLOTS; i++)
        if (ZelfdeCel(t.Slang[s][i], cel)) return OORZAAK_EIGEN_LIJF;
    return OORZAAK_ANDERE_SLANG;
}

// Whether the cell one step from (rij, kolom) in direction volgend may be entered by snake s; eats the
// knurf block standing there (points, growth, a new or a faster pace). The position itself is not changed.
static bool Bezet(ToestandRec &t, uint32_t s, uint32_t rij, uint32_t kolom, PijlEn volgend, OorzaakEn &oorzaak,
                  GebeurtenissenRec *uit) {
    VeranderRijKolom(rij, kolom, volgend);
    BlokRec &cel = t.Veld[rij][kolom];
    switch (cel.bezet) {
    case MUUR: oorzaak = OORZAAK_MUUR; return false;
    case SLANG: oorzaak = SlangOorzaak(t, s, cel); return false;
    case MANUEEL_BLOKJE: oorzaak = OORZAAK_KNURFSPELER; return false;
    case BLOKJE: break;
    default: return true;
    }

    SoortBlokjeEn soort = cel.soortblokje;
    switch (soort) {
    case GIFTIG: oorzaak = OORZAAK_GIFTIG; return false;
    case SNELLER:
        Versnellen(t);
        Meld(uit, G_SNELLER).punten = t.DelaySnake;
        t.Score[s] += t.Diff * 100;
        MeldPunten(uit, s, t.Score[s]);
        break;
    default:
        // The eaten cell still counts as taken, so the new knurf block cannot land on it.
        TekenNieuwBlokje(t, false, s, uit);
        break;
    }

    GebeurtenisRec &g = Meld(uit, G_BLOKJE_GEGETEN);
    g.speler = (uint8_t)s;
    g.cel = RijEnKolomRec{rij, kolom};
    g.blok = soort;
    cel.bezet = ONBEZET;
    // A snake that already needs its last slot eats without growing, so it never writes past slot 1200.
    if (t.grootte[s] + 2 <= LAATSTE_SLOT) t.grootte[s]++;
    return true;
}

// Snake s shows picture `stuk` in the cell of slot i.
static void MeldStuk(const ToestandRec &t, GebeurtenissenRec *uit, uint32_t s, uint32_t i, uint32_t stuk) {
    RijEnKolomRec cel;
    if (!uit || stuk == SnakePieces::NONE || !CelVanRechthoek(t, t.Slang[s][i], cel)) return;
    GebeurtenisRec &g = Meld(uit, G_SLANG_STUK);
    g.speler = (uint8_t)s;
    g.stuk = (uint8_t)stuk;
    g.cel = cel;
}

// ---- exported ----------------------------------------------------------------------------------------------

PijlEn Tegengesteld(PijlEn richting) {
    static const PijlEn tegengesteld[4] = {RECHTS, LINKS, ONDER, BOVEN};
    return tegengesteld[richting & 3];
}

void RichtingBepalen(PijlEn &volgend, const InvoerRec &invoer, uint32_t speler, bool blokje) {
    if (speler < 1 || speler > MAX_SPELERS || !invoer.vast[speler]) return;
    PijlEn vorig = volgend;
    volgend = invoer.vastRichting[speler];
    if (!blokje && volgend == Tegengesteld(vorig)) volgend = vorig;
}

void QueueTurn(const ToestandRec &t, InvoerRec &invoer, uint32_t speler, PijlEn richting, bool blokje) {
    if (speler < 1 || speler > MAX_SPELERS) return;
    const BeurtenRec &wacht = t.beurten[speler];
    BeurtenRec &nieuw = invoer.beurten[speler];
    PijlEn vorige = nieuw.aantal > 0   ? nieuw.beurt[nieuw.aantal - 1]
                    : wacht.aantal > 0 ? wacht.beurt[wacht.aantal - 1]
                                       : t.richting[speler];
    if (richting == vorige) return;  // an auto-repeat of a held key, or a key pressed twice
    if (!blokje && richting == Tegengesteld(vorige)) return;
    if (wacht.aantal + nieuw.aantal >= 2) return;
    nieuw.beurt[nieuw.aantal++] = richting;
}

bool TakeTurn(ToestandRec &t, uint32_t speler, PijlEn &volgend, bool blokje) {
    if (speler < 1 || speler > MAX_SPELERS) return false;
    BeurtenRec &b = t.beurten[speler];
    while (b.aantal > 0) {
        PijlEn beurt = b.beurt[0];
        b.beurt[0] = b.beurt[1];
        b.aantal--;
        // A turn the held keys already made, or one that has become a reversal, is spent.
        if (beurt == volgend || (!blokje && beurt == Tegengesteld(volgend))) continue;
        volgend = beurt;
        return true;
    }
    return false;
}

bool BepalenVolgendBlokjeSlang(ToestandRec &t, uint32_t s, PijlEn volgend_vorig, PijlEn volgend, OorzaakEn &oorzaak,
                               GebeurtenissenRec *uit) {
    uint32_t &rij = t.positie[s].rij, &kolom = t.positie[s].kolom;
    uint32_t &grootte = t.grootte[s];
    // Across an open edge the head comes in at the opposite edge, and the cell it arrives on has the same
    // rules as any other: a wall, a snake or a poisonous block stops it there, a knurf block is eaten.
    const uint32_t rijVoor = rij, kolomVoor = kolom;
    DoorMuur(volgend, rij, kolom);
    if (!Bezet(t, s, rij, kolom, volgend, oorzaak, uit)) {
        rij = rijVoor;
        kolom = kolomVoor;
        return false;
    }
    VeranderRijKolom(rij, kolom, volgend);
    t.Slang[s][grootte + 1] = t.Veld[rij][kolom];
    t.Veld[rij][kolom].bezet = SLANG;
    MeldStuk(t, uit, s, grootte, SnakePieces::For(volgend_vorig, volgend, false));
    MeldStuk(t, uit, s, grootte + 1, SnakePieces::For(volgend, volgend, true));
    return true;
}

bool TekenSlang(ToestandRec &t, uint32_t s, const InvoerRec &invoer, OorzaakEn &oorzaak, GebeurtenissenRec *uit) {
    PijlEn &volgend = t.richting[s];
    PijlEn volgend_vorig = volgend;
    if (!TakeTurn(t, s, volgend, false)) RichtingBepalen(volgend, invoer, s, false);
    if (!BepalenVolgendBlokjeSlang(t, s, volgend_vorig, volgend, oorzaak, uit)) return false;

    // The tail leaves its cell. A head never enters the cell its tail is leaving (that cell still counts as
    // the snake's), but should it ever stand there, the cell stays the head's: freeing it would leave a live
    // head on a free, black cell.
    BlokRec *slang = t.Slang[s];
    uint32_t grootte = t.grootte[s];
    const BlokRec &staart = slang[0];
    RijEnKolomRec cel;
    if (!ZelfdeCel(staart, slang[grootte + 1]) && CelVanRechthoek(t, staart, cel)) {
        Meld(uit, G_CEL_VRIJ).cel = cel;
        t.Veld[cel.rij][cel.kolom].bezet = ONBEZET;
    }
    const BlokRec losgelaten = staart;
    for (uint32_t i = 1; i <= grootte + 1; i++) slang[i - 1] = slang[i];
    // After a growth the cell just left stands twice in a row; its second drop, one step later, keeps the
    // tail in place and must not free or blacken that cell again: by then it may hold a new knurf block or
    // the other snake.
    if (ZelfdeCel(slang[0], losgelaten)) {
        slang[0].x1 = slang[0].y1 = BUITEN_HET_VENSTER;
        slang[0].x2 = slang[0].y2 = BUITEN_HET_VENSTER + 20;
    }
    return true;
}

}  // namespace SnakeProcedures
