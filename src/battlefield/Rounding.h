#pragma once
// The conversion of a coordinate to a whole number that every map routine
// uses: toward zero, as a float-to-int cast does. Values beyond the int range
// (and NaN) saturate instead of being undefined, so a wild position simply
// lands off the map.

#include <climits>

inline int TruncToInt(double value)
{
    if (!(value > static_cast<double>(INT_MIN) - 1.0))
        return INT_MIN;
    if (value >= static_cast<double>(INT_MAX) + 1.0)
        return INT_MAX;
    return static_cast<int>(value);
}

// trunc(v + 0.5): the nearest whole number for positive values.
inline int RoundHalfUp(double value) { return TruncToInt(value + 0.5); }
