#include "platform/core/Random.h"

#include <cstdint>

namespace
{
std::uint32_t g_randState = 1;
}

int Rand()
{
    g_randState = g_randState * 214013u + 2531011u;
    return static_cast<int>((g_randState >> 16) & 0x7FFF);
}

void SRand(unsigned int seed) { g_randState = seed; }

int PercentileRoll()
{
    // Nearest integer to r / 32767 * 100 in exact arithmetic; the quotient
    // never lies exactly half-way because 32767 is odd.
    int r = Rand();
    return (r * 200 + RAND_MAXIMUM) / (2 * RAND_MAXIMUM);
}
