#pragma once
// The conversions of a real number to a whole one, each named by its rule.
// All saturate instead of being undefined (NaN goes to the lower bound), so
// a wild position simply lands off the map or off the surface.

#include <climits>
#include <cmath>

// Toward zero, as a float-to-int cast does; saturates at the int range.
inline int TruncToInt(double value)
{
    if (!(value > static_cast<double>(INT_MIN) - 1.0))
        return INT_MIN;
    if (value >= static_cast<double>(INT_MAX) + 1.0)
        return INT_MAX;
    return static_cast<int>(value);
}

// trunc(v + 0.5): the cast of v + 0.5 that the map's coordinate rules are
// written with. The nearest whole number, halves up, for values above -0.5;
// below that it lands one too high (-1.7 gives -1), which the map relies on
// only where positions are never negative.
inline int RoundHalfUpTrunc(double value) { return TruncToInt(value + 0.5); }

// floor(v + 0.5): the nearest whole number with halves toward +infinity, for
// every sign. Saturates at +/-1e9 so that pixel sums stay in range.
inline int RoundHalfUp(double value)
{
    value = std::floor(value + 0.5);
    if (!(value > -1e9))
        return -1000000000;
    if (value > 1e9)
        return 1000000000;
    return static_cast<int>(value);
}
