// StandardLib: random whole numbers from a closed interval.
//
// Two sources: an additive generator over 32-bit words (lags 55 and 24), seeded from the clock at
// start-up, and a tiny multiplicative generator modulo 1013 whose sequence is fixed, for repeatable runs.

#include "support/StandardLib.h"

#include <cstdio>
#include <ctime>
#include <sys/time.h>

namespace StandardLib {

// ---- types -------------------------------------------------------------------------------------------

// The additive generator: word i is replaced by word i + word j; i and j stay 31 apart (mod 55).
struct AdditiveRec {
    uint32_t words[55];
    uint32_t i, j;  // both 0 means "never seeded"
};

// ---- state -------------------------------------------------------------------------------------------

bool gPseudoRandom = false;

static uint32_t gSeed = 94;  // the own generator's state, 0..1012
static AdditiveRec gAdditive;
static bool gStarted = false;

// ---- internal ----------------------------------------------------------------------------------------

static void SeedAdditive(uint32_t x) {
    for (uint32_t k = 0; k < 55; k++) {
        x = x * 3141592621u + 17u;
        gAdditive.words[k] = x >> 16;
    }
    gAdditive.i = 54;
    gAdditive.j = 23;
}

// ---- exported ----------------------------------------------------------------------------------------

void InitStandardLib() {
    if (gStarted) return;
    gStarted = true;
    RANDOMIZE();
    gPseudoRandom = false;
    gSeed = 94;
}

uint32_t RandomCard(uint32_t min, uint32_t max) {
    if (max < min) {
        std::printf("ERROR calling RandomCardFromInterval: min %u is bigger than max %u\n", (unsigned)min,
                    (unsigned)max);
        std::fflush(stdout);
        return min;
    }
    if (!gPseudoRandom) return min + RANDOM(max - min + 1);
    // 0.99999 as a single-precision constant (bit pattern 3F7FFF58): s = 1012 lands exactly on max.
    const float almostOne = 0.99999f;
    long double scale = ((long double)(max - min) + (long double)almostOne) / 1012.0L;
    uint32_t s = PseudoRandomCardGenerator();
    return min + (uint32_t)(scale * (long double)s);
}

uint32_t PseudoRandomCardGenerator() {
    uint32_t next = (gSeed * 351u + 138u) % 1013u;
    // 509 maps onto itself; stepping past it keeps a seed of 509 from sticking.
    if (next == gSeed) next = next + 1;
    gSeed = next;
    return next;
}

void RANDOMIZE() {
    struct timeval now;
    gettimeofday(&now, nullptr);
    time_t secs = now.tv_sec;
    struct tm local;
    localtime_r(&secs, &local);
    uint32_t seconds = (uint32_t)local.tm_sec % 60u;  // a leap second (60) counts as 0
    uint32_t hundredths = (uint32_t)(now.tv_usec / 10000);
    SeedAdditive(seconds * hundredths);
}

uint32_t RANDOM(uint32_t n) {
    if (gAdditive.i == 0 && gAdditive.j == 0) {
        SeedAdditive(12345);
    } else {
        gAdditive.i = gAdditive.i == 0 ? 54 : gAdditive.i - 1;
        gAdditive.j = gAdditive.j == 0 ? 54 : gAdditive.j - 1;
    }
    gAdditive.words[gAdditive.i] += gAdditive.words[gAdditive.j];
    uint32_t w = gAdditive.words[gAdditive.i];
    return n == 0 ? w : w % n;
}

void SeedRandom(uint32_t x) { SeedAdditive(x); }

void SetPseudoSeed(uint32_t seed) { gSeed = seed; }

}  // namespace StandardLib
