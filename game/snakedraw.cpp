// Snake drawing: the picture of one segment from the directions in which the snake entered and left its
// cell (straight pieces, corners, heads), and the snakes laid out and drawn when a game starts.
#include "game/SnakePieces.h"
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// The piece table lists directions in the game's own order.
static_assert((uint32_t)SnakePieces::LEFT == LINKS && (uint32_t)SnakePieces::RIGHT == RECHTS &&
                  (uint32_t)SnakePieces::UP == BOVEN && (uint32_t)SnakePieces::DOWN == ONDER,
              "the snake-piece table and PijlEn must agree on the directions");

// ---- exported ----------------------------------------------------------------------------------------------

void TekenBitmapSlang(PijlEn volgend_vorig, PijlEn volgend, uint32_t indexslang, const BlokRec *slang,
                      const ArrayCard bitmaps, bool kop)
{
    uint32_t plaatje = SnakePieces::For(volgend_vorig, volgend, kop);
    if (plaatje == SnakePieces::NONE)
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
