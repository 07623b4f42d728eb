#pragma once
// The elevation samples a sight line looks at before it decides: all of
// them when the target is seen, up to the masking one when it is not. A
// plain walk of the sight line's own rule, run before the timed loops so
// that they time the real query and nothing else. Heights in tenths of a
// metre, as the sight line takes them.
#include "battlefield/ElevationMap.h"
#include "platform/core/Rounding.h"

#include <cmath>

inline long long SamplesExamined(const CElevationMap& map, float x1, float y1, float x2, float y2,
                                 float observerHeight, float targetHeight)
{
    const long long eye = map.GetElevation(x1, y1) + RoundHalfUpTrunc(observerHeight);
    const long long dh = RoundHalfUpTrunc(targetHeight) + map.GetElevation(x2, y2) - eye + 1;
    const double dx = (static_cast<double>(x2) - x1) * 10.0;
    const double dy = (static_cast<double>(y2) - y1) * 10.0;
    const double b = std::atan2(dx, dy);
    const double d = std::sqrt(dy * dy + dx * dx);
    const double a = std::atan2(static_cast<double>(dh), d);
    const int n = TruncToInt(d * 0.01);
    for (int i = 1; i < n; ++i)
    {
        const double r = i * 100.0;
        const float sx = static_cast<float>((std::sin(b) * r + 10.0 * x1) * 0.1);
        const float sy = static_cast<float>((std::cos(b) * r + 10.0 * y1) * 0.1);
        if (std::atan2(static_cast<double>(map.GetElevation(sx, sy) - eye - 1), r) > a)
            return i;
    }
    return n > 1 ? n - 1 : 0;
}
