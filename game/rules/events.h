// Reporting a step's events: the rules' files append to the caller's list, or to nothing when the caller
// asked for none (the computer's look-ahead).
#pragma once

#include "game/rules/Rules.h"

namespace SnakeProcedures {

// A new event of kind soort at the end of uit, its other fields zero; a scratch record when uit is null or full.
inline GebeurtenisRec &Meld(GebeurtenissenRec *uit, GebeurtenisEn soort) {
    static GebeurtenisRec weg;
    GebeurtenisRec &g = (uit && uit->aantal < MAX_GEBEURTENISSEN) ? uit->lijst[uit->aantal++] : weg;
    g = GebeurtenisRec{};
    g.soort = soort;
    return g;
}

inline void MeldPunten(GebeurtenissenRec *uit, uint32_t speler, int32_t punten) {
    GebeurtenisRec &g = Meld(uit, G_PUNTEN);
    g.speler = (uint8_t)speler;
    g.punten = punten;
}

}  // namespace SnakeProcedures
