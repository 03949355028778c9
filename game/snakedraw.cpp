// Snake drawing: the picture of one segment from the directions in which the snake entered and left its
// cell (straight pieces, corners, heads), and the snakes laid out and drawn when a game starts.
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

// Picture indices of a player's set (ArrayCard).
enum : uint32_t {
    HORIZONTAAL = 0,
    LINKS_ONDER = 1,
    RECHTS_ONDER = 2,
    KOP_BOVEN = 3,
    KOP_RECHTS = 4,
    KOP_LINKS = 5,
    KOP_ONDER = 6,
    LINKS_BOVEN = 7,
    RECHTS_BOVEN = 8,
    VERTICAAL = 9,
    NIETS = 10,
};

// The corner for a turn, by [entered][left]; NIETS for a straight run or a reversal.
static const uint32_t HOEKEN[4][4] = {
    /* LINKS  */ {NIETS, NIETS, RECHTS_BOVEN, RECHTS_ONDER},
    /* RECHTS */ {NIETS, NIETS, LINKS_BOVEN, LINKS_ONDER},
    /* BOVEN  */ {LINKS_ONDER, RECHTS_ONDER, NIETS, NIETS},
    /* ONDER  */ {LINKS_BOVEN, RECHTS_BOVEN, NIETS, NIETS},
};

static const uint32_t KOPPEN[4] = {KOP_LINKS, KOP_RECHTS, KOP_BOVEN, KOP_ONDER};


// ---- exported ----------------------------------------------------------------------------------------------

void TekenBitmapSlang(PijlEn volgend_vorig, PijlEn volgend, uint32_t indexslang, const BlokRec *slang,
                      const ArrayCard bitmaps, bool kop)
{
    uint32_t plaatje;
    if (volgend == volgend_vorig) {
        if (kop)
            plaatje = KOPPEN[volgend & 3];
        else
            plaatje = (volgend == LINKS || volgend == RECHTS) ? HORIZONTAAL : VERTICAAL;
    } else {
        plaatje = HOEKEN[volgend_vorig & 3][volgend & 3];
    }
    if (plaatje == NIETS)
        return;
    const BlokRec &segment = slang[indexslang];
    Wimdows::DrawBitmap(bitmaps[plaatje], (int32_t)segment.x1, (int32_t)segment.y1);
}

void TekenBeginSlangen(const RijEnKolomRec beginpositie[3], const uint32_t grootte[3], const PijlEn richting[3],
                       const BitmapsRec &bitmaps)
{
    uint32_t slangen = AantalSlangen();
    for (uint32_t s = 1; s <= slangen; s++) {
        const uint32_t *bitmapsarr = s == 1 ? bitmaps.speler1 : bitmaps.speler2;
        uint32_t r = beginpositie[s].rij;
        uint32_t k = beginpositie[s].kolom;
        if (r < 1 || r > RIJEN)
            continue;
        // The level loader refuses runs that pass column 40; a run is still never laid beyond the board.
        uint32_t lengte = grootte[s];
        if (k >= KOLOMMEN)
            lengte = 0;
        else if (lengte > KOLOMMEN - k)
            lengte = KOLOMMEN - k;
        for (uint32_t j = 1; j <= lengte; j++) {
            Slang[s][j] = Veld[r][k + j];
            TekenBitmapSlang(richting[s], richting[s], j, Slang[s], bitmapsarr, j == lengte);
            Veld[r][k + j].bezet = SLANG;
        }

        // Slot 0 stands for no cell, so the first step frees and paints nothing.
        BlokRec &staart = Slang[s][0];
        staart = Veld[r][k];
        staart.x1 = BUITEN_HET_VENSTER;
        staart.x2 = BUITEN_HET_VENSTER + 20;
        staart.y1 = BUITEN_HET_VENSTER;
        staart.y2 = BUITEN_HET_VENSTER + 20;
        // The first step draws slot grootte + 1 as the previous head when it eats.
        if (lengte > 0 && lengte + 1 < SLANGSLOTS)
            Slang[s][lengte + 1] = Slang[s][lengte];
    }
}

}  // namespace SnakeProcedures
