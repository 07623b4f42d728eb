#pragma once

// The bearing of a sight line from the north, clockwise, in radians:
// static_cast<float>(std::atan2(dx, dy)) to the last bit, at a fraction of
// the arc tangent's cost and latency.
float SightBearing(double dx, double dy);
