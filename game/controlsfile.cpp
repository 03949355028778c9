// Reading the players' control keys from "savefiles/controleslang.txt" at the start of a game; each reading
// also gives pad 1 player 1's keys and pad 2 player 2's, so a pad steers like its player's keys.
#include <cstdio>

#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// The keys as shipped, in the file's order: player 1 the arrows, player 2 D, A, W, S (right, left, up, down).
static const Wimdows::KeyCode SHIPPED_KEYS[8] = {
    Wimdows::KEY_RIGHT, Wimdows::KEY_LEFT, Wimdows::KEY_UP, Wimdows::KEY_DOWN, 'D', 'A', 'W', 'S'};

void LeesAlleBesturingen(BesturingRec besturing[3]) {
    SaveFile *file = OpenRead("savefiles/controleslang.txt");
    // Line ends and empty lines are separators to RdCard, so only the order of the numbers counts.
    Wimdows::KeyCode keys[8];
    for (Wimdows::KeyCode &key : keys) key = RdCard(file);
    Close(file);
    // A damaged file (a number that is no key, a reserved key, a key taken already) would leave a snake
    // that no key steers: that direction gets its key as shipped.
    uint32_t replaced = 0;
    for (uint32_t n = 0; n < 8; n++) {
        bool taken = false;
        for (uint32_t m = 0; m < n; m++) taken = taken || keys[m] == keys[n];
        if (taken || !Wimdows::IsKey(keys[n]) || Wimdows::IsReservedKey(keys[n])) {
            keys[n] = SHIPPED_KEYS[n];
            replaced++;
        }
    }
    if (replaced > 0)
        std::fprintf(stderr,
                     "savefiles/controleslang.txt is damaged: %u of its keys are no keys to steer with, the "
                     "keys as shipped stand in for them.\n",
                     (unsigned)replaced);
    for (uint32_t i = 1; i <= 2; i++) {
        besturing[i] = BesturingRec{keys[4 * i - 4], keys[4 * i - 3], keys[4 * i - 2], keys[4 * i - 1]};
        Wimdows::SetPadKeys(i, besturing[i].rechts, besturing[i].links, besturing[i].boven, besturing[i].onder);
    }
}

void LeesBesturing(BesturingRec besturing[3]) {
    BesturingRec gelezen[3] = {};
    LeesAlleBesturingen(gelezen);
    for (uint32_t i = 1; i <= AantalSpelers && i <= 2; i++) besturing[i] = gelezen[i];
}

}  // namespace SnakeProcedures
