// StandardLib: whole random numbers from a closed interval, from a clock-seeded additive generator or,
// when gPseudoRandom is TRUE, from the module's own small deterministic generator.
//
// Thread rules: main thread only. Errors: min > max writes one console line and returns min.
#pragma once

#include <cstdint>

namespace StandardLib {

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

}  // namespace StandardLib
