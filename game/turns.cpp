// The turns players type and the keys they hold, read from the window layer into a step's input. A press
// counts for every player whose key it is; whether it is a turn (no repeat, no reversal, at most two
// waiting) the rules judge by what the player sees.
#include "game/SnakeProcedures.h"
#include "wimdows/Wimdows.h"

namespace SnakeProcedures {

// ---- internal --------------------------------------------------------------------------------------------

// The direction that key stands for in besturing, with the priority of the held keys; FALSE for others.
static bool RichtingVanToets(const BesturingRec &besturing, uint32_t toets, PijlEn &richting) {
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

// One typed key as a turn of every player in game t whose key it is (players above the snakes steer a
// knurf block).
static void QueueKey(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3], uint32_t toets) {
    uint32_t spelers = t.mode.spelers > MAX_SPELERS ? MAX_SPELERS : t.mode.spelers;
    for (uint32_t p = 1; p <= spelers; p++) {
        PijlEn gedrukt;
        if (RichtingVanToets(besturing[p], toets, gedrukt)) QueueTurn(t, invoer, p, gedrukt, p > t.slangen);
    }
}

// ---- exported ----------------------------------------------------------------------------------------------

uint32_t QueueTypedKeys(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3], const uint32_t *stops,
                        uint32_t count) {
    uint32_t getypt = 0;  // bit i: stops[i] was typed
    for (uint32_t toets = Wimdows::PollKey(); toets != 0; toets = Wimdows::PollKey()) {
        bool stop = false;
        for (uint32_t i = 0; i < count && i < 32; i++) {
            if (toets == stops[i]) {
                getypt |= 1u << i;
                stop = true;
            }
        }
        if (stop || getypt != 0) continue;
        QueueKey(t, invoer, besturing, toets);
    }
    Wimdows::FlushKeys();
    return getypt;
}

void QueueTypedKey(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3], uint32_t toets) {
    QueueKey(t, invoer, besturing, toets);
}

void HeldKeys(const ToestandRec &t, InvoerRec &invoer, const BesturingRec besturing[3]) {
    uint32_t spelers = t.mode.spelers > MAX_SPELERS ? MAX_SPELERS : t.mode.spelers;
    for (uint32_t p = 1; p <= spelers; p++) {
        const BesturingRec &b = besturing[p];
        const Wimdows::KeyCode keys[4] = {b.links, b.rechts, b.boven, b.onder};
        const PijlEn richtingen[4] = {LINKS, RECHTS, BOVEN, ONDER};
        invoer.vast[p] = false;
        for (int i = 0; i < 4 && !invoer.vast[p]; i++) {
            if (keys[i] != 0 && Wimdows::KeyDown(keys[i])) {
                invoer.vast[p] = true;
                invoer.vastRichting[p] = richtingen[i];
            }
        }
    }
}

}  // namespace SnakeProcedures
