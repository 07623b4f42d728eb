// A battery's side of its fire missions: the gates the player's orders and
// the fire-mission step pass through, the computer's choice of a target
// from its contacts, and the forwarders to the indirect-fire capability.
// Every gate refuses silently: the menus grey the command out before the
// player can give it.
#include "units/Unit.h"

#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "database/VehicleCapability.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyElement.h"
#include "shell/PlayService.h"
#include "units/KDRUnits.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"

namespace
{
// Contacts closer than this (tens of metres) are too close to shell.
constexpr int kMinIndirectRange = 30;
// Targets below this value are not worth a mission; the list is sorted by
// value, so the first one ends the search.
constexpr int kMinIndirectTargetValue = 55;
// The contact list the own side keeps of the opposing side.
constexpr int kOwnSeesOpposing = 0;

CUCapIndirectFire* BatteryOf(const CUnit& unit)
{
    return dynamic_cast<CUCapIndirectFire*>(unit.FindCapability(VCAP_INDIRECT_FIRE));
}

CVehicle* VehicleOfUnit(const CUnit& unit, CKDRDatabase* pDatabase)
{
    return pDatabase != nullptr ? pDatabase->GetVehicle(unit.m_nVehicle) : nullptr;
}

// Halted by order, or held where it is by digging in or out or its move
// delay: where a player's mission may be laid from.
BOOL IsReadyAtPosition(const CUnit& unit)
{
    if (unit.IsStoppedAtStopNode() || unit.m_nMoveDelay != 0)
        return TRUE;
    return (unit.GetCapabilityMask() & VCAP_EMPLACE) != 0 && unit.IsEmplaced(TRUE);
}

// A target on the move: free of a stop with no move delay left.
BOOL IsMoving(const CUnit& target)
{
    return target.m_nMoveDelay == 0 && !target.IsStoppedAtStopNode();
}
}  // namespace

BOOL CUnit::AssignFireMissionTarget(float fX, float fY, CKDRDatabase* pDatabase)
{
    CUCapIndirectFire* pBattery = BatteryOf(*this);
    if ((GetCapabilityMask() & VCAP_INDIRECT_FIRE) == 0 || pBattery == nullptr)
        return FALSE;
    if (!IsReadyAtPosition(*this) || IsDisembarking() || IsCarried() || IsMounting() || m_bDestroyed)
        return FALSE;
    return pBattery->AddFireMission(fX, fY, this, pDatabase);
}

BOOL CUnit::CancelFireMission(float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    CUCapIndirectFire* pBattery = BatteryOf(*this);
    if ((GetCapabilityMask() & VCAP_INDIRECT_FIRE) == 0 || pBattery == nullptr)
        return FALSE;
    return pBattery->CancelFireMission(fX, fY, pMap, pDatabase, m_nVehicle);
}

int CUnit::CanFireMission(CKDRDatabase* pDatabase)
{
    const CPlayService* pPlay = GetPlayService();
    const int nMunition = pPlay != nullptr ? pPlay->GetFireOrder().nMunition : SFireOrder().nMunition;
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    return IsStoppedAtStopNode() && (GetCapabilityMask() & VCAP_INDIRECT_FIRE) != 0 && pBattery != nullptr &&
                   pBattery->GetRoundsOfType(nMunition, pDatabase) > 0
               ? 1
               : 0;
}

BOOL CUnit::CanTakeFireMission(int nArrayIndex, int nUnitIndex, int nMunitionType, CKDRDatabase* pDatabase,
                               CKDRUnits* pUnits)
{
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    if ((GetCapabilityMask() & VCAP_INDIRECT_FIRE) == 0 || pBattery == nullptr ||
        pBattery->GetRoundsOfType(nMunitionType, pDatabase) <= 0)
        return FALSE;
    if (!IsStoppedAtStopNode() || IsCarried() || m_bDestroyed)
        return FALSE;
    // The mission's own step asks without the units component: the unit's
    // place in its hierarchy is then not asked.
    if (pUnits == nullptr)
        return TRUE;
    CHierarchyArray* pHierarchy = pUnits->GetPresentHierarchy(m_nSide);
    if (pHierarchy == nullptr)
        return TRUE;
    int nLevel = 0;
    const CHierarchyElement* pElement = pHierarchy->FindElementOfUnit(nUnitIndex, nArrayIndex, m_nSide, nLevel);
    return pElement == nullptr || (!pElement->m_bDestroyed && !pElement->m_bDetached);
}

BOOL CUnit::CanFireMunition(int nUnit, int nArray, int, int nMunitionType, CKDRDatabase* pDatabase,
                            CKDRUnits* pUnits)
{
    return CanTakeFireMission(nArray, nUnit, nMunitionType, pDatabase, pUnits);
}

BOOL CUnit::IsReadyForFireMission(CKDRDatabase*) const
{
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    return pBattery != nullptr && pBattery->IsIdle() && IsEmplaced(FALSE) && IsStoppedAtStopNode();
}

BOOL CUnit::GetFireMissionPoint(int nIndex, float& fX, float& fY) const
{
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    const CFireMission* pMission = pBattery != nullptr ? pBattery->m_pMissions->GetAt(nIndex) : nullptr;
    if (pMission == nullptr)
        return FALSE;
    fX = pMission->m_fX;
    fY = pMission->m_fY;
    return TRUE;
}

void CUnit::GetFireMissionRows(CStringList& lines, int, CKDRGameMap* pMap)
{
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    if (m_bDestroyed || pBattery == nullptr)
        return;
    pBattery->GetMissionRows(lines, pMap, m_strName);
}

float CUnit::GetIndirectFireRange(CKDRDatabase* pDatabase, float& fEffect) const
{
    fEffect = 0.0f;
    CVehicle* pVehicle = VehicleOfUnit(*this, pDatabase);
    const CUCapIndirectFire* pBattery = BatteryOf(*this);
    if (pVehicle == nullptr || !pDatabase->HasVehicleList() || (GetCapabilityMask() & VCAP_INDIRECT_FIRE) == 0 ||
        pBattery == nullptr || pVehicle->FindCapability(VCAP_INDIRECT_FIRE) == nullptr)
        return kUnsetFloat;
    return pBattery->GetAverageEffect(pDatabase, pVehicle, fEffect);
}

int CUnit::PickIndirectFireTarget(const CUnitRef& contact, CUnit* pTarget, CKDRDatabase* pDatabase,
                                  CKDRUnits* pUnits, int nKind)
{
    if ((GetCapabilityMask() & VCAP_EMPLACE) != 0 && !IsEmplaced(FALSE))
        return 0;
    CVehicle* pTargetVehicle = pTarget != nullptr ? VehicleOfUnit(*pTarget, pDatabase) : nullptr;
    if (pTargetVehicle == nullptr || pTargetVehicle->m_nTargetValue < kMinIndirectTargetValue)
        return 0;
    if (contact.m_nRange < kMinIndirectRange)
        return 1;
    if (nKind == 2 && pUnits != nullptr)
    {
        // The neutral side also keeps clear of what the player's units see
        // that close: its rounds would land among them.
        const CUnitRef* pSeen =
            pUnits->m_pContacts[kOwnSeesOpposing]->Get(contact.m_nUnit, contact.m_nArray, contact.m_nSide);
        if (pSeen != nullptr && pSeen->m_nRange < kMinIndirectRange)
            return 1;
    }
    if (IsMoving(*pTarget))
        return 1;
    // Aircraft are shelled only landed: a troop carrier halted at its stop.
    const DWORD dwTarget = pTarget->GetCapabilityMask();
    if ((dwTarget & (VCAP_FIXED_WING | VCAP_ROTARY_WING)) != 0 &&
        !((dwTarget & VCAP_PERSONNEL_CARRIER) != 0 && pTarget->IsStoppedAtStopNode()))
        return 0;
    CUCapIndirectFire* pBattery = BatteryOf(*this);
    if (pBattery == nullptr)
        return 1;
    return pBattery->AddAIFireMission(m_fX, m_fY, pTarget->m_fX, pTarget->m_fY, pTargetVehicle, pDatabase) ? 0 : 1;
}
