// StandardLib: whole random numbers from a closed interval, from a clock-seeded additive generator or,
// when gPseudoRandom is TRUE, from the module's own small deterministic generator. A game draws from a
// generator record of its own (RandomRec), so that its numbers depend on its start and nothing else.
//
// Thread rules: main thread only. Errors: min > max writes one console line and returns min.
#pragma once

#include <cstdint>

namespace StandardLib {

// A whole generator: both sources and which one is drawn from. Plain data: copied, it draws the same.
struct RandomRec {
    uint32_t words[55];   // the additive generator: word i is replaced by word i + word j (i, j 31 apart)
    uint32_t i, j;        // both 0: never seeded
    uint32_t pseudoSeed;  // the own generator's state, 0..1012
    bool pseudo;          // draw from the own generator
};

// FALSE: the clock-seeded generator; TRUE: the module's own generator (tests). FALSE after start-up.
extern bool gPseudoRandom;

// Module start-up: seeds the general generator from the clock, gPseudoRandom FALSE, own seed 94.
// A second call does nothing.
void InitStandardLib();
// A number in min..max, both included.
uint32_t RandomCard(uint32_t min, uint32_t max);
// The next value (0..1012) of the module's own generator.
uint32_t PseudoRandomCardGenerator();
// Seeds the general generator from the local clock.
void RANDOMIZE();
// The general generator: a number in 0..n-1, or the raw 32-bit word for n = 0.
uint32_t RANDOM(uint32_t n);
// Seeds the general generator with x (tests: a repeatable game).
void SeedRandom(uint32_t x);
// Sets the own generator's state (tests; 94 is its start).
void SetPseudoSeed(uint32_t seed);

// A number in min..max from generator g, as RandomCard does from the module's.
uint32_t RandomCard(RandomRec &g, uint32_t min, uint32_t max);
// The module's generator as it stands (a game takes it at its start)...
RandomRec TakeGenerator();
// ...and where the game left it, so the next game goes on from there.
void PutGenerator(const RandomRec &g);

}  // namespace StandardLib
