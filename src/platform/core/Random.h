#pragma once
// The program's one random sequence, the C runtime generator the game was
// balanced with: state = state * 214013 + 2531011, each value is bits 16..30
// of the state (0..32767). The state starts at 1 as if SRand(1) had been
// called. Simulation code draws only from here so a seeded run repeats.

int Rand();
void SRand(unsigned int seed);

constexpr int RAND_MAXIMUM = 32767;

// A percentile roll: the integer nearest to Rand() / 32767 * 100 (0..100).
// An event of probability p percent happens when the roll is at most p.
int PercentileRoll();
