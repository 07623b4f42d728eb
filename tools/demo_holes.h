#pragma once
// The demo mission's dug positions, "Demo.fho", the own side's (side 0):
// vehicle positions under the first tanks of both tank platoons, north and
// south of the road, and dismount positions for the rifle teams in front of
// the carriers, every one facing east towards the crossing. Written through
// the position array's own Serialize.
//
// The enemy's (side 1), "Demo.eho": vehicle positions across the saddle
// where the road crosses the ridge, facing west down the road, so that an
// enemy platoon told ".SBF/Defense." there fills them first.

#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"

#include "demo_terrain.h"

#include <memory>

namespace demo_holes
{
const char* const kFriendlyFile = "Demo.fho";
const char* const kEnemyFile = "Demo.eho";

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
constexpr float kFacingWest = -1.5707964f;
// Across the saddle, 10 m below the crest on its west side.
constexpr double kSaddlePositionYs[] = {1740.0, 1790.0, 1860.0};
constexpr double kBelowCrest = 10.0;

inline std::unique_ptr<CHoleArray> BuildEnemyHoles()
{
    auto pArray = std::make_unique<CHoleArray>();
    pArray->m_strName = kEnemyFile;
    for (double y : kSaddlePositionYs)
    {
        auto* pHole = new CHole;
        pHole->m_fX = static_cast<float>(demo_terrain::RidgeCrestX(y) - kBelowCrest);
        pHole->m_fY = static_cast<float>(y);
        pHole->m_nKind = CHole::kVehicle;
        pHole->m_fFacing = kFacingWest;
        pArray->Add(pHole);
    }
    return pArray;
}
}  // namespace demo_holes
