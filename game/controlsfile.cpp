// Reading the players' control keys from "savefiles/controleslang.txt" at the start of a game; each reading
// also gives pad 1 player 1's keys and pad 2 player 2's, so a pad steers like its player's keys.
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

void LeesBesturing(BesturingRec besturing[3])
{
    SaveFile *file = OpenRead("savefiles/controleslang.txt");
    // Line ends and empty lines are separators to RdCard, so only the order of the numbers counts.
    BesturingRec gelezen[3] = {};
    for (uint32_t i = 1; i <= 2; i++) {
        gelezen[i].rechts = RdCard(file);
        gelezen[i].links = RdCard(file);
        gelezen[i].boven = RdCard(file);
        gelezen[i].onder = RdCard(file);
        Wimdows::SetPadKeys(i, gelezen[i].rechts, gelezen[i].links, gelezen[i].boven, gelezen[i].onder);
    }
    Close(file);
    for (uint32_t i = 1; i <= AantalSpelers && i <= 2; i++)
        besturing[i] = gelezen[i];
}

}  // namespace SnakeProcedures
