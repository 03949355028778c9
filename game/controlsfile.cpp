// Reading the players' control keys from "savefiles/controleslang.txt" at the start of a game.
#include "game/SnakeProcedures.h"

namespace SnakeProcedures {

void LeesBesturing(BesturingRec besturing[3])
{
    SaveFile *file = OpenRead("savefiles/controleslang.txt");
    // Line ends and empty lines are separators to RdCard, so only the order of the numbers counts.
    for (uint32_t i = 1; i <= AantalSpelers && i <= 2; i++) {
        besturing[i].rechts = RdCard(file);
        besturing[i].links = RdCard(file);
        besturing[i].boven = RdCard(file);
        besturing[i].onder = RdCard(file);
    }
    Close(file);
}

}  // namespace SnakeProcedures
