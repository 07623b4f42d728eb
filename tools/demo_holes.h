#pragma once
// The demo mission's dug positions, "Demo.fho", the own side's (side 0):
// vehicle positions under the first tanks of both tank platoons, north and
// south of the road, and dismount positions for the rifle teams in front of
// the carriers, every one facing east towards the crossing. Written through
// the position array's own Serialize.

#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"

#include <memory>

namespace demo_holes
{
const char* const kFriendlyFile = "Demo.fho";

constexpr float kFacingCrossing = 1.5707964f;  // east

struct Position
{
    float x;
    float y;
    int kind;
};

// Tanks 11, 13, 21 and 23 stand on the vehicle positions and hold there,
// so they take them when the clock first starts; the dismount positions
// lie 40 m ahead of carriers 31 and 33.
const Position kPositions[] = {
    {760.0f, 1730.0f, CHole::kVehicle},  {760.0f, 1830.0f, CHole::kVehicle}, {760.0f, 1520.0f, CHole::kVehicle},
    {760.0f, 1420.0f, CHole::kVehicle},  {680.0f, 1740.0f, CHole::kDismount}, {680.0f, 1510.0f, CHole::kDismount},
};

inline std::unique_ptr<CHoleArray> BuildFriendlyHoles()
{
    auto pArray = std::make_unique<CHoleArray>();
    pArray->m_strName = kFriendlyFile;
    for (const Position& position : kPositions)
    {
        auto* pHole = new CHole;
        pHole->m_fX = position.x;
        pHole->m_fY = position.y;
        pHole->m_nKind = position.kind;
        pHole->m_fFacing = kFacingCrossing;
        pArray->Add(pHole);
    }
    return pArray;
}
}  // namespace demo_holes
