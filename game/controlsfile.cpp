// Reading the players' control keys from "savefiles/controleslang.txt" at the start of a game; each reading
// also gives pad 1 player 1's keys and pad 2 player 2's, so a pad steers like its player's keys.
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

void LeesAlleBesturingen(BesturingRec besturing[3])
{
    SaveFile *file = OpenRead("savefiles/controleslang.txt");
    // Line ends and empty lines are separators to RdCard, so only the order of the numbers counts.
    for (uint32_t i = 1; i <= 2; i++) {
        besturing[i].rechts = RdCard(file);
        besturing[i].links = RdCard(file);
        besturing[i].boven = RdCard(file);
        besturing[i].onder = RdCard(file);
        Wimdows::SetPadKeys(i, besturing[i].rechts, besturing[i].links, besturing[i].boven, besturing[i].onder);
    }
    Close(file);
}

void LeesBesturing(BesturingRec besturing[3])
{
    BesturingRec gelezen[3] = {};
    LeesAlleBesturingen(gelezen);
    for (uint32_t i = 1; i <= AantalSpelers && i <= 2; i++)
        besturing[i] = gelezen[i];
}

}  // namespace SnakeProcedures
