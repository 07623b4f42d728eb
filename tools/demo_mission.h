#pragma once
// The demo mission's events. Victory: the enemy worn down to two vehicles
// or teams. Loss: the company team down to half its units, or an hour gone
// by without the victory.

#include "demo_units.h"
#include "mission/ConditionKinds.h"
#include "mission/EventArray.h"
#include "mission/Mission.h"

#include <iterator>

namespace demo_mission
{
constexpr int kEnemyLeftForVictory = 2;
constexpr int kFriendlyLeftForLoss = static_cast<int>(std::size(demo_units::kFriendly)) / 2;
constexpr LONG kTimeLimitSeconds = 3600;

// Replaces the mission's events with the demo's.
inline void BuildEvents(CMission& mission)
{
    auto* pEvents = new CEventArray;
    auto* pVictory = new CEventPlayerVictory;
    auto* pEnemy = new CConditionEnemyNumbers;
    pEnemy->m_nThreshold = kEnemyLeftForVictory;
    pVictory->GetConditions()->Add(pEnemy);
    pEvents->Add(pVictory);

    auto* pLoss = new CEventPlayerLoss;
    auto* pFriendly = new CConditionFriendlyNumbers;
    pFriendly->m_nThreshold = kFriendlyLeftForLoss;
    pLoss->GetConditions()->Add(pFriendly);
    auto* pTime = new CConditionTimeLimit;
    pTime->m_tsLimit = CTimeSpan(kTimeLimitSeconds);
    pLoss->GetConditions()->Add(pTime);
    pEvents->Add(pLoss);

    delete mission.m_pEvents;
    mission.m_pEvents = pEvents;
}
// The events the demo file carries: won when the enemy is worn down, lost
// with half the company team or after an hour.
inline void WriteDemoEvents(CMission& mission) { BuildEvents(mission); }
}  // namespace demo_mission
