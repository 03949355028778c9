// Snake movement: the direction from the player's keys (held now, or pressed since the last step), the
// cell rules for the cell ahead (walls, snakes, knurf blocks of every kind), eating, growth, speed-up
// and points, and the one-cell step that moves the head and drops the tail.
#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- types ---------------------------------------------------------------------------------------------

// The turns one player pressed since the last steps, oldest first.
struct BeurtenRec {
    PijlEn beurt[2];
    uint32_t aantal;
    PijlEn gezien;  // the direction the player saw while making the presses of the current batch
};

// ---- state ---------------------------------------------------------------------------------------------

static BeurtenRec Beurten[3];  // players 1..2

// The game stays playable at 25 steps a second; faster knurf blocks take the wait no lower.
static const int32_t KORTSTE_WACHTTIJD = 40;
// Above this wait a faster knurf block takes Diff * 10 ms off it, at or below it 15 ms.
static const int32_t SNELLE_GRENS = 80;
static const int32_t SNELLE_STAP = 15;
// The head of a snake of grootte g goes into slot g + 1, which may be 1200 at most.
static const uint32_t LAATSTE_SLOT = SLANGSLOTS - 1;

// ---- internal --------------------------------------------------------------------------------------------

static PijlEn Tegengesteld(PijlEn richting)
{
    switch (richting) {
    case LINKS:
        return RECHTS;
    case RECHTS:
        return LINKS;
    case BOVEN:
        return ONDER;
    default:
        return BOVEN;
    }
}

static bool ZelfdeCel(const BlokRec &a, const BlokRec &b) { return a.x1 == b.x1 && a.y1 == b.y1; }

// The direction that key stands for in besturing, with the priority of the held keys; FALSE for others.
static bool RichtingVanToets(const BesturingRec &besturing, uint32_t toets, PijlEn &richting)
{
    if (toets == besturing.links)
        richting = LINKS;
    else if (toets == besturing.rechts)
        richting = RECHTS;
    else if (toets == besturing.boven)
        richting = BOVEN;
    else if (toets == besturing.onder)
        richting = ONDER;
    else
        return false;
    return true;
}

// A faster knurf block: the wait per step goes down, never below KORTSTE_WACHTTIJD.
static void Versnellen()
{
    if (DelaySnake > SNELLE_GRENS)
        DelaySnake -= Diff * 10;
    else
        DelaySnake -= SNELLE_STAP;
    if (DelaySnake < KORTSTE_WACHTTIJD)
        DelaySnake = KORTSTE_WACHTTIJD;
}

// Whether the cell one step from (rij, kolom) in direction volgend may be entered; eats the knurf block
// standing there (points, growth, a new or a faster pace). The position itself is not changed.
static bool Bezet(uint32_t rij, uint32_t kolom, uint32_t &grootte, PijlEn volgend, const BitmapsRec &bitmaps)
{
    VeranderRijKolom(rij, kolom, volgend);
    BlokRec &cel = Veld[rij][kolom];
    switch (cel.bezet) {
    case MUUR:
    case SLANG:
    case MANUEEL_BLOKJE:
        return false;
    case BLOKJE:
        break;
    default:
        return true;
    }

    switch (cel.soortblokje) {
    case GIFTIG:
        return false;
    case SNELLER:
        Versnellen();
        Score[SpelerAanDeBeurt] += Diff * 100;
        TekenScorebord(bitmaps);
        break;
    default:
        // The eaten cell still counts as taken, so the new knurf block cannot land on it.
        TekenNieuwBlokje(false, bitmaps);
        break;
    }

    EraseCell(cel);
    cel.bezet = ONBEZET;
    // A snake that already needs its last slot eats without growing, so it never writes past slot 1200.
    if (grootte + 2 <= LAATSTE_SLOT)
        grootte++;
    Music::PlaySound(Songs.beep, false);
    return true;
}

// ---- exported ----------------------------------------------------------------------------------------------

void RichtingBepalen(PijlEn &volgend, const BesturingRec &besturing, bool blokje)
{
    PijlEn vorig = volgend;
    if (Wimdows::KeyDown(besturing.links))
        volgend = LINKS;
    else if (Wimdows::KeyDown(besturing.rechts))
        volgend = RECHTS;
    else if (Wimdows::KeyDown(besturing.boven))
        volgend = BOVEN;
    else if (Wimdows::KeyDown(besturing.onder))
        volgend = ONDER;
    if (!blokje && volgend == Tegengesteld(vorig))
        volgend = vorig;
}

// One typed key as a turn of every player whose key it is (players 1..spelers; those above slangen steer a
// knurf block).
static void QueueKey(const BesturingRec besturing[3], uint32_t toets, uint32_t spelers, uint32_t slangen)
{
    for (uint32_t p = 1; p <= spelers; p++) {
        PijlEn gedrukt;
        if (RichtingVanToets(besturing[p], toets, gedrukt))
            QueueTurn(p, gedrukt, p > slangen);
    }
}

void ClearTurns(const PijlEn richting[3])
{
    for (uint32_t p = 1; p <= 2; p++) {
        Beurten[p].aantal = 0;
        Beurten[p].gezien = richting[p];
    }
}

void QueueTurn(uint32_t speler, PijlEn richting, bool blokje)
{
    if (speler < 1 || speler > 2)
        return;
    BeurtenRec &b = Beurten[speler];
    PijlEn vorige = b.aantal > 0 ? b.beurt[b.aantal - 1] : b.gezien;
    if (richting == vorige)
        return;  // an auto-repeat of a held key, or a key pressed twice
    if (!blokje && richting == Tegengesteld(vorige))
        return;
    if (b.aantal >= 2)
        return;
    b.beurt[b.aantal++] = richting;
}

uint32_t QueueTypedKeys(const BesturingRec besturing[3], const PijlEn richting[3], const uint32_t *stops,
                        uint32_t count)
{
    uint32_t spelers = AantalSpelers > 2 ? 2 : AantalSpelers;
    uint32_t slangen = AantalSlangen();
    uint32_t getypt = 0;  // bit i: stops[i] was typed
    // The presses were made while the players saw these directions.
    for (uint32_t p = 1; p <= 2; p++)
        Beurten[p].gezien = richting[p];
    for (uint32_t toets = Wimdows::PollKey(); toets != 0; toets = Wimdows::PollKey()) {
        bool stop = false;
        for (uint32_t i = 0; i < count && i < 32; i++) {
            if (toets == stops[i]) {
                getypt |= 1u << i;
                stop = true;
            }
        }
        if (stop || getypt != 0)
            continue;
        QueueKey(besturing, toets, spelers, slangen);
    }
    Wimdows::FlushKeys();
    return getypt;
}

void QueueTypedKey(const BesturingRec besturing[3], const PijlEn richting[3], uint32_t toets)
{
    for (uint32_t p = 1; p <= 2; p++)
        Beurten[p].gezien = richting[p];
    QueueKey(besturing, toets, AantalSpelers > 2 ? 2 : AantalSpelers, AantalSlangen());
}

bool TakeTurn(uint32_t speler, PijlEn &volgend, bool blokje)
{
    if (speler < 1 || speler > 2)
        return false;
    BeurtenRec &b = Beurten[speler];
    while (b.aantal > 0) {
        PijlEn beurt = b.beurt[0];
        b.beurt[0] = b.beurt[1];
        b.aantal--;
        // A turn the held keys already made, or one that has become a reversal, is spent.
        if (beurt == volgend || (!blokje && beurt == Tegengesteld(volgend)))
            continue;
        volgend = beurt;
        return true;
    }
    return false;
}

bool BepalenVolgendBlokjeSlang(uint32_t &rij, uint32_t &kolom, PijlEn volgend_vorig, PijlEn volgend, BlokRec *slang,
                               uint32_t &grootte, const BitmapsRec &bitmaps)
{
    const uint32_t *bitmapsslang = SpelerAanDeBeurt == 2 ? bitmaps.speler2 : bitmaps.speler1;
    // Across an open edge the head comes in at the opposite edge, and the cell it arrives on has the same
    // rules as any other: a wall, a snake or a poisonous block stops it there, a knurf block is eaten.
    const uint32_t rijVoor = rij, kolomVoor = kolom;
    DoorMuur(volgend, rij, kolom);
    if (!Bezet(rij, kolom, grootte, volgend, bitmaps)) {
        rij = rijVoor;
        kolom = kolomVoor;
        return false;
    }
    VeranderRijKolom(rij, kolom, volgend);
    slang[grootte + 1] = Veld[rij][kolom];
    Veld[rij][kolom].bezet = SLANG;
    TekenBitmapSlang(volgend_vorig, volgend, grootte, slang, bitmapsslang, false);
    TekenBitmapSlang(volgend, volgend, grootte + 1, slang, bitmapsslang, true);
    return true;
}

bool TekenSlang(uint32_t &rij, uint32_t &kolom, PijlEn &volgend, BlokRec *slang, uint32_t &grootte,
                const BesturingRec &besturing, const BitmapsRec &bitmaps)
{
    PijlEn volgend_vorig = volgend;
    if (!TakeTurn(SpelerAanDeBeurt, volgend, false))
        RichtingBepalen(volgend, besturing, false);
    if (!BepalenVolgendBlokjeSlang(rij, kolom, volgend_vorig, volgend, slang, grootte, bitmaps))
        return false;

    // The tail leaves its cell. A head never enters the cell its tail is leaving (that cell still counts as
    // the snake's), but should it ever stand there, the cell stays the head's: freeing it would leave a live
    // head on a free, black cell.
    const BlokRec &staart = slang[0];
    if (!ZelfdeCel(staart, slang[grootte + 1])) {
        EraseCell(staart);
        ZetOnbezet(slang);
    }
    const BlokRec losgelaten = staart;
    for (uint32_t i = 1; i <= grootte + 1; i++)
        slang[i - 1] = slang[i];
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
