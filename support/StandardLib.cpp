// StandardLib: random whole numbers from a closed interval.
//
// Two sources: an additive generator over 32-bit words (lags 55 and 24), seeded from the clock at
// start-up, and a tiny multiplicative generator modulo 1013 whose sequence is fixed, for repeatable runs.
// Both live in one RandomRec: the module's own, or a game's.

#include "support/StandardLib.h"

#include <cstdio>
#include <ctime>
#include <sys/time.h>

namespace StandardLib {

// ---- state -------------------------------------------------------------------------------------------

bool gPseudoRandom = false;

// The module's generator; gPseudoRandom chooses its source at every draw.
static RandomRec gRandom = {{0}, 0, 0, 94, false};
static bool gStarted = false;

// ---- internal ----------------------------------------------------------------------------------------

static void SeedAdditive(RandomRec &g, uint32_t x) {
    for (uint32_t k = 0; k < 55; k++) {
        x = x * 3141592621u + 17u;
        g.words[k] = x >> 16;
    }
    g.i = 54;
    g.j = 23;
}

static uint32_t Additive(RandomRec &g, uint32_t n) {
    if (g.i == 0 && g.j == 0) {
        SeedAdditive(g, 12345);
    } else {
        g.i = g.i == 0 ? 54 : g.i - 1;
        g.j = g.j == 0 ? 54 : g.j - 1;
    }
    g.words[g.i] += g.words[g.j];
    uint32_t w = g.words[g.i];
    return n == 0 ? w : w % n;
}

static uint32_t Pseudo(RandomRec &g) {
    uint32_t next = (g.pseudoSeed * 351u + 138u) % 1013u;
    // 509 maps onto itself; stepping past it keeps a seed of 509 from sticking.
    if (next == g.pseudoSeed) next = next + 1;
    g.pseudoSeed = next;
    return next;
}

// ---- exported ----------------------------------------------------------------------------------------

void InitStandardLib() {
    if (gStarted) return;
    gStarted = true;
    RANDOMIZE();
    gPseudoRandom = false;
    gRandom.pseudoSeed = 94;
}

uint32_t RandomCard(RandomRec &g, uint32_t min, uint32_t max) {
    if (max < min) {
        std::printf("ERROR calling RandomCardFromInterval: min %u is bigger than max %u\n", (unsigned)min,
                    (unsigned)max);
        std::fflush(stdout);
        return min;
    }
    if (!g.pseudo) return min + Additive(g, max - min + 1);
    // 0.99999 as a single-precision constant (bit pattern 3F7FFF58): s = 1012 lands exactly on max.
    const float almostOne = 0.99999f;
    long double scale = ((long double)(max - min) + (long double)almostOne) / 1012.0L;
    uint32_t s = Pseudo(g);
    return min + (uint32_t)(scale * (long double)s);
}

uint32_t RandomCard(uint32_t min, uint32_t max) {
    gRandom.pseudo = gPseudoRandom;
    return RandomCard(gRandom, min, max);
}

uint32_t PseudoRandomCardGenerator() { return Pseudo(gRandom); }

void RANDOMIZE() {
    struct timeval now;
    gettimeofday(&now, nullptr);
    time_t secs = now.tv_sec;
    struct tm local;
    localtime_r(&secs, &local);
    uint32_t seconds = (uint32_t)local.tm_sec % 60u;  // a leap second (60) counts as 0
    uint32_t hundredths = (uint32_t)(now.tv_usec / 10000);
    SeedAdditive(gRandom, seconds * hundredths);
}

uint32_t RANDOM(uint32_t n) { return Additive(gRandom, n); }

void SeedRandom(uint32_t x) { SeedAdditive(gRandom, x); }

void SetPseudoSeed(uint32_t seed) { gRandom.pseudoSeed = seed; }

RandomRec TakeGenerator() {
    gRandom.pseudo = gPseudoRandom;
    return gRandom;
}

void PutGenerator(const RandomRec &g) {
    gRandom = g;
    gRandom.pseudo = false;
}

}  // namespace StandardLib
