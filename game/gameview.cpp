// The view of a game: what a step reported, painted and heard. Each event becomes the drawing calls the
// game has always made for it (a snake's piece, a knurf block set, moved or eaten, a freed cell, the score
// panel), in the order the step reported them, so the picture after a step is exactly the old one.
#include "game/SnakeProcedures.h"
#include "music/Music.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- state ---------------------------------------------------------------------------------------------

static const uint32_t SCORE_KLEUR = 0xC0C0C0;               // light grey
static const uint32_t PLAAT_KNURF = 2, PLAAT_COMPUTER = 3;  // in BitmapsRec.platen, after the players'

// ---- internal --------------------------------------------------------------------------------------------

static BlokjePlaatjeEn PlaatjeVan(SoortBlokjeEn soort) {
    switch (soort) {
    case GIFTIG: return PLAATJE_GIFTIG;
    case SNELLER: return PLAATJE_SNELLER;
    default: return PLAATJE_NORMAAL;
    }
}

static void Teken(const ToestandRec &t, Wimdows::PictureHandle plaatje, const RijEnKolomRec &cel) {
    const BlokRec &b = t.Veld[cel.rij][cel.kolom];
    Wimdows::DrawBitmap(plaatje, (int32_t)b.x1, (int32_t)b.y1);
}

// ---- exported ----------------------------------------------------------------------------------------------

void TekenScorebord(const ToestandRec &t, const BitmapsRec &bitmaps) {
    Wimdows::DrawBitmap(bitmaps.hud, 0, Layout::PANEL_Y);
    uint32_t slangen = t.slangen;
    // Only the plates of the players in play: a snake's (the computer's is its own), and the hand-steered
    // knurf block's player's.
    for (uint32_t i = 1; i <= slangen; i++)
        Wimdows::DrawBitmap(bitmaps.platen[i == t.mode.computer ? PLAAT_COMPUTER : i - 1], Layout::PLATE_X[i - 1],
                            Layout::PLATE_Y);
    bool knurfspeler = t.mode.blokjeManueel && slangen == 1 && t.mode.spelers >= 2;
    if (knurfspeler) Wimdows::DrawBitmap(bitmaps.platen[PLAAT_KNURF], Layout::PLATE_X[1], Layout::PLATE_Y);
    Wimdows::SetFont(0, SCORE_KLEUR);
    for (uint32_t i = 1; i <= slangen; i++) Wimdows::TextInt(t.Score[i], Layout::ScoreX(i), Layout::SCORE_Y);
    if (knurfspeler) {
        Wimdows::SetFont(3, SCORE_KLEUR);
        Wimdows::TextInt(t.Score[2], Layout::KNURF_SCORE_X, Layout::KNURF_SCORE_Y);
    }
}

void TekenGebeurtenissen(const ToestandRec &t, const GebeurtenissenRec &uit, const BitmapsRec &bitmaps) {
    for (uint32_t i = 0; i < uit.aantal && i < MAX_GEBEURTENISSEN; i++) {
        const GebeurtenisRec &g = uit.lijst[i];
        switch (g.soort) {
        case G_CEL_VRIJ: EraseCell(t.Veld[g.cel.rij][g.cel.kolom]); break;
        case G_SLANG_STUK:
            if (g.stuk < 10) Teken(t, (g.speler == 2 ? bitmaps.speler2 : bitmaps.speler1)[g.stuk], g.cel);
            break;
        case G_BLOKJE_GEZET: Teken(t, bitmaps.blokjes[g.manueel ? PLAATJE_MANUEEL : PlaatjeVan(g.blok)], g.cel); break;
        case G_BLOKJE_BEWOGEN:
            // The block's ground first, then the old cell cleared, then the mark of its kind.
            Teken(t, bitmaps.blokjes[g.manueel ? PLAATJE_MANUEEL : PLAATJE_NORMAAL], g.naar);
            if (g.vanVrij) EraseCell(t.Veld[g.cel.rij][g.cel.kolom]);
            if (g.blok != NORMAAL) Teken(t, bitmaps.blokjes[PlaatjeVan(g.blok)], g.naar);
            break;
        case G_BLOKJE_GEGETEN:
            EraseCell(t.Veld[g.cel.rij][g.cel.kolom]);
            Music::PlaySound(Songs.beep, false);
            break;
        case G_PUNTEN: TekenScorebord(t, bitmaps); break;
        default: break;
        }
    }
}

}  // namespace SnakeProcedures
