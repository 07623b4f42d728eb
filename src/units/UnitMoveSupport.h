#pragma once
// What the unit's movement, path and order operations ask of the game
// around them: the phase of the game, whether it is played over the
// network, and the stop on a path's first node. Without a play service
// there is no clock: no deployment phase and no network game.

#include "database/KDRDatabase.h"
#include "database/VehicleCapability.h"
#include "mission/GameTime.h"
#include "orders/NodeArray.h"
#include "shell/PlayService.h"
#include "units/Unit.h"

namespace unit_move
{
inline BOOL IsDeployment()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->GetGameClock() != nullptr && pPlay->IsDeploymentPhase();
}

// No game second has passed yet: the battle has not begun, even while the
// clock that starts it is already switched on.
inline BOOL IsBeforeBattle()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->GetGameClock() != nullptr &&
           pPlay->GetGameClock()->m_tsElapsed.GetTotalSeconds() == 0;
}

// The game time gone since the mission started (0 without a clock): what
// the capabilities' Update compares their due times with.
inline CTimeSpan GameElapsed()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->GetGameClock() != nullptr ? pPlay->GetGameClock()->m_tsElapsed : CTimeSpan(0);
}

inline BOOL IsNetworkGame()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsNetworkGame();
}

// The unit's vehicle type; null without a database or one that lists it.
inline CVehicle* VehicleOf(const CUnit& unit, CKDRDatabase* pDatabase)
{
    return pDatabase != nullptr ? pDatabase->GetVehicle(unit.m_nVehicle) : nullptr;
}

inline BOOL IsAircraft(DWORD dwAbilities) { return (dwAbilities & (VCAP_FIXED_WING | VCAP_ROTARY_WING)) != 0; }

inline CNode* FirstNode(const CNodeArray* pPath)
{
    return pPath != nullptr && pPath->GetSize() > 0 ? pPath->GetAt(0) : nullptr;
}

inline BOOL FirstNodeHasStop(const CNodeArray* pPath)
{
    const CNode* pNode = FirstNode(pPath);
    return pNode != nullptr && pNode->HasStop();
}
}  // namespace unit_move
