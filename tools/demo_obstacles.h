#pragma once
// The demo mission's obstacles, laid on the demo ground of demo_terrain.h:
// - "Demo.fob", the own side's (side 0): a mine field across the open
//   ground north of the lake with one breach lane cut through it from south
//   to north, and a belt of wire south of it;
// - "Demo.eob", the enemy's (side 1, enemy objects): a road crater on the
//   road at the ridge's saddle that fires half an hour into the mission,
//   and a chemical area west of the saddle, where Carrier 33's route ends,
//   that lasts the first hour.
// Both files are written through the obstacle array's own Serialize.

#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "platform/core/Core.h"

#include <memory>

namespace demo_obstacles
{
const char* const kFriendlyFile = "Demo.fob";
const char* const kEnemyFile = "Demo.eob";

constexpr int kAlongEastWest = 1600;  // mils

// The mine field and its lane, running north through its middle.
constexpr float kMineFieldX = 1800.0f;
constexpr float kMineFieldY = 1300.0f;
constexpr int kMineFieldLength = 300;
constexpr int kMineFieldWidth = 60;
constexpr int kMineFieldDensity = 70;
constexpr float kLaneHalfLength = 40.0f;
constexpr float kLaneWidth = 8.0f;

// The wire, 150 m south of the mine field.
constexpr float kWireX = 1800.0f;
constexpr float kWireY = 1150.0f;
constexpr int kWireLength = 250;
constexpr int kWireWidth = 10;
constexpr int kWireDensity = 100;

// The crater on the road at the saddle, and when it fires.
constexpr float kCraterX = 2900.0f;
constexpr float kCraterY = 1800.0f;
constexpr int kCraterLength = 20;
constexpr int kCraterWidth = 12;
constexpr int kCraterDensity = 100;
constexpr LONG kCraterFiresAt = 1800;  // game seconds

// The chemical area, on the way of the southern carriers, and when it ends.
constexpr float kChemX = 1320.0f;
constexpr float kChemY = 1580.0f;
constexpr int kChemRadius = 100;
constexpr int kChemDensity = 400;
constexpr LONG kChemEndsAt = 3600;  // game seconds

inline void Place(CObstacle& obstacle, float x, float y, int attitude, int length, int width, int density, int type)
{
    obstacle.m_fX = x;
    obstacle.m_fY = y;
    obstacle.m_nAttitude = attitude;
    obstacle.m_nLength = length;
    obstacle.m_nWidth = width;
    obstacle.m_nDensity = density;
    obstacle.m_nType = type;
}

inline std::unique_ptr<CObstacleArray> BuildFriendlyObstacles()
{
    auto pArray = std::make_unique<CObstacleArray>();
    pArray->m_strName = kFriendlyFile;

    auto* pMineField = new CObstacle;
    Place(*pMineField, kMineFieldX, kMineFieldY, kAlongEastWest, kMineFieldLength, kMineFieldWidth, kMineFieldDensity,
          CObstacle::kMineField);
    pMineField->m_lanes.Add(new CBreach(kMineFieldX, kMineFieldY - kLaneHalfLength, kMineFieldX,
                                        kMineFieldY + kLaneHalfLength, kLaneWidth, 0.0f, FALSE));
    pArray->Add(pMineField);

    auto* pWire = new CObstacle;
    Place(*pWire, kWireX, kWireY, kAlongEastWest, kWireLength, kWireWidth, kWireDensity, CObstacle::kWire);
    pArray->Add(pWire);
    return pArray;
}

inline std::unique_ptr<CObstacleArray> BuildEnemyObstacles()
{
    auto pArray = std::make_unique<CObstacleArray>();
    pArray->m_strName = kEnemyFile;

    auto* pCrater = new CEnemyObstacle;
    Place(*pCrater, kCraterX, kCraterY, kAlongEastWest, kCraterLength, kCraterWidth, kCraterDensity,
          CObstacle::kRoadCrater);
    pCrater->m_tsTime = CTimeSpan(kCraterFiresAt);
    pArray->Add(pCrater);

    auto* pChem = new CEnemyChem;
    pChem->m_fX = kChemX;
    pChem->m_fY = kChemY;
    pChem->m_nWidth = kChemRadius;
    pChem->m_nDensity = kChemDensity;
    pChem->m_tsTime = CTimeSpan(kChemEndsAt);
    pArray->Add(pChem);
    return pArray;
}
}  // namespace demo_obstacles
