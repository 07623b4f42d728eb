#pragma once
// What the crossing searches need to know of a mover that looks for a way
// past an obstacle or through a breach lane: where it stands and which way
// it heads, its class bits (Terrain/AI help map rules: 0x1 and 0x2 are
// stopped by obstacles, 0x4 and 0x8 ignore the ground), its side, the
// obstacle types it can cross itself, and the obstacles that may stand in
// the way of the passage it is offered.

#include "platform/core/Unset.h"

class CKDRObstacles;

struct MoverInfo
{
    float x = 0.0f;  // map metres
    float y = 0.0f;
    float heading = 0.0f;  // radians, clockwise from north
    int nFlags = 0;
    int nSide = kUnset;       // 0, 1, 2; kUnset for none
    int nAbilities = kUnset;  // obstacle type bits it crosses; not positive: none
    CKDRObstacles* pObstacles = nullptr;
};
