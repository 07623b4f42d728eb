#pragma once
// The demo's saved game "Fire at dawn": the demo mission in its deployment
// phase with the friendly mortars' fire already on the way. Two HE rounds
// and a smoke round fly toward the enemy on the ridge's saddle, a smoke
// screen lies across the road between the two forces and a flare burns
// over the ridge. Started, the rounds splash with their pictures and
// sounds, the breeze carries the screen off to the east-north-east and the
// enemy behind it shows again once it has cleared.
//
// Written by opening the scenario into a document without a window, as the
// tests do, and saving it through the document's own saved-game routine.
// The first mortar also holds a mission in its queue.

#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/SmokeArray.h"
#include "database/IFAmmo.h"
#include "units/UCapIndirectFire.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "demo_equipment.h"
#include "demo_terrain.h"

namespace demo_fire
{
inline const char* const SAVED_GAME = "Fire at dawn.asg";

// The screen: clouds 60 m across every 100 m, half way between the company
// and the saddle, from the engineers' ground in the north to south of the
// road, so that no friendly vehicle sees round it.
constexpr float kScreenX = 1900.0f;
constexpr float kScreenRadius = 60.0f;
constexpr int kScreenSeconds = 100;
constexpr int kScreenStrength = 90;
// The flare over the ridge.
constexpr float kFlareRadius = 400.0f;
constexpr int kFlareSeconds = 60;
constexpr int kFlareStrength = 80;

// A friendly round in flight that lands at the point after the seconds.
inline CFireMission* Round(float x, float y, int nMunitionIndex, int nMunitionType, CTime tImpact)
{
    auto* pRound = new CFireMission;
    pRound->m_fX = x;
    pRound->m_fY = y;
    pRound->m_nMunitionIndex = nMunitionIndex;
    pRound->m_nMunitionType = nMunitionType;
    pRound->m_tImpactTime = tImpact;
    pRound->m_nAttitude = 1600;
    pRound->m_nSheaf = 0;  // the friendly side
    return pRound;
}

// Adds the rounds and the clouds to a mission opened at its start time.
inline void AddFire(CFireMissionArray& rounds, CSmokeArray& clouds, CTime tStart)
{
    const float fSaddleY = static_cast<float>(demo_terrain::kSaddleY);
    rounds.Add(Round(2960.0f, fSaddleY - 40.0f, demo_equipment::kMortarHE, MUNITION_HE, tStart + CTimeSpan(6)));
    rounds.Add(Round(2990.0f, fSaddleY + 50.0f, demo_equipment::kMortarHE, MUNITION_HE, tStart + CTimeSpan(9)));
    rounds.Add(Round(2850.0f, fSaddleY, demo_equipment::kMortarSmoke, MUNITION_SMOKE, tStart + CTimeSpan(12)));
    for (float fY = 1000.0f; fY <= 2200.0f; fY += 100.0f)
        clouds.Add(new CSmoke(kScreenX, fY, kScreenRadius, kScreenSeconds, kScreenStrength));
    clouds.Add(new CIllum(static_cast<float>(demo_terrain::RidgeCrestX(demo_terrain::kSaddleY)), fSaddleY,
                          kFlareRadius, kFlareSeconds, kFlareStrength));
}
// A second volley pair waits in the first mortar's queue, ordered When
// Ready on the saddle, so the saved game carries a queued mission too.
inline void QueueMission(CUnitArray& own)
{
    for (int i = 0; i < own.GetSize(); ++i)
    {
        CUnit* pUnit = own.GetAt(i);
        auto* pBattery = pUnit != nullptr ? dynamic_cast<CUCapIndirectFire*>(pUnit->FindCapability(VCAP_INDIRECT_FIRE))
                                          : nullptr;
        if (pBattery == nullptr)
            continue;
        pBattery->m_pMissions->AddMission(new CFireMission(2970.0f, static_cast<float>(demo_terrain::kSaddleY),
                                                           MUNITION_HE, demo_equipment::kMortarHE, CTime(0), CTime(0),
                                                           2, 0, 1600, FIRE_WHEN_READY, 0, "AA0000"));
        return;
    }
}
}  // namespace demo_fire
