// The units component's mounting and dismounting: which team boards which
// carrier, letting a carrier's teams out onto the ground, the events of the
// ramp cycle after a unit's move step, and keeping each side's hierarchy
// told (an element is marked mounted while its unit rides).
//
// Two rules mend what the pairing and the unloading were once written to
// do. A released team that cannot be found or placed no longer ends the
// walk: the teams after it would have stayed aboard a carrier that no
// longer lists them, unseen and unable to move. And a carrier's teams die
// with it each under its own address, so their elements are marked.

#include "units/KDRUnits.h"

#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyElement.h"
#include "orders/UnitOrderKinds.h"
#include "hierarchy/TaskOrg.h"
#include "units/CarriedUnit.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitMoveSupport.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using unit_move::IsDeployment;

namespace
{
// A carrier takes a team no farther than this (metres) after the
// deployment phase.
constexpr double kBoardingDistance = 60.0;

// The working lists of the pairing: the selections' own entries, in the
// order they are offered.
using EntryList = std::vector<CTaskOrg*>;

CUnit* EntryUnit(const CKDRUnits& units, const CTaskOrg* pEntry, int nSide)
{
    return pEntry != nullptr && pEntry->GetType() == TASKORG_KIND_UNIT
               ? units.GetUnit(pEntry->m_nUnit, pEntry->m_nArray, nSide)
               : nullptr;
}

// The entry goes before the first one whose unit's value is smaller than
// its own, so that equal values keep their order; entries whose unit or
// vehicle type is missing are passed over in that search.
void InsertByValue(EntryList& list, CTaskOrg* pEntry, const CKDRUnits& units, int nSide, CKDRDatabase* pDatabase,
                   int CVehicle::*pValue)
{
    CVehicle* pOwn = pDatabase->GetVehicle(EntryUnit(units, pEntry, nSide)->m_nVehicle);
    if (pOwn != nullptr)
    {
        for (size_t i = 0; i < list.size(); ++i)
        {
            const CUnit* pOther = EntryUnit(units, list[i], nSide);
            CVehicle* pVehicle = pOther != nullptr ? pDatabase->GetVehicle(pOther->m_nVehicle) : nullptr;
            if (pVehicle != nullptr && pVehicle->*pValue < pOwn->*pValue)
            {
                list.insert(list.begin() + static_cast<std::ptrdiff_t>(i), pEntry);
                return;
            }
        }
    }
    list.push_back(pEntry);
}

// The pass's carrier tests: room for one more; after the deployment phase
// halted at a stop node, not busy boarding (unless bImmediate), not
// letting teams out, and within reach of the team.
BOOL CarrierTakes(CUnit& carrier, const CUnit& team, CKDRDatabase* pDatabase, BOOL bImmediate)
{
    if (!carrier.CanMountOrDismount(pDatabase, 1, bImmediate))
        return FALSE;
    if (IsDeployment())
        return TRUE;
    if (!carrier.IsStoppedByOrder() || (!bImmediate && carrier.IsMounting()) || carrier.IsDisembarking())
        return FALSE;
    const double dx = static_cast<double>(carrier.m_fX) - team.m_fX;
    const double dy = static_cast<double>(carrier.m_fY) - team.m_fY;
    return std::sqrt(dx * dx + dy * dy) <= kBoardingDistance;
}

// The platoon, company or battalion that holds the unit's element itself.
CHierarchyPlatoon* DirectContainerOf(CHierarchyPlatoon* pLevel, int nUnit, int nArray)
{
    for (int i = 0; i < pLevel->GetSize(); ++i)
    {
        const CHierarchyElement* pElement = pLevel->GetElement(i);
        if (pElement != nullptr && pElement->m_nUnit == nUnit &&
            (pLevel->m_nSide == UNIT_KIND_OWN || pElement->m_nArray == nArray))
            return pLevel;
    }
    for (int i = 0; i < pLevel->GetSize(); ++i)
    {
        auto* pChild = dynamic_cast<CHierarchyPlatoon*>(pLevel->GetChild(i));
        if (CHierarchyPlatoon* pFound = pChild != nullptr ? DirectContainerOf(pChild, nUnit, nArray) : nullptr)
            return pFound;
    }
    return nullptr;
}

// What a refused boarding gives back to the team.
struct SRidingState
{
    int nUnit;
    int nArray;
    int nKind;
    BOOL bDismounted;
    CTimeSpan timeMount;
};
}  // namespace

int CKDRUnits::DismountUnits(int nCarrierUnit, int nCarrierArray, int nKind, CKDRDatabase* pDatabase,
                             CKDRGameMap* pMap, BOOL bOneOnly)
{
    CUnit* pCarrier = GetUnit(nCarrierUnit, nCarrierArray, nKind);
    if (pCarrier == nullptr)
        return 0;
    CHierarchyArray* pHierarchy = GetPresentHierarchy(nKind);
    TypedObArray<CCarriedUnit> released;
    if (!pCarrier->UnloadPassengers(pDatabase, &released, bOneOnly))
        return 0;
    int nResult = 1;
    for (int i = 0; i < released.GetSize(); ++i)
    {
        const CCarriedUnit* pRecord = released.GetAt(i);
        CUnit* pTeam = pRecord != nullptr ? GetUnit(pRecord->m_nUnit, pRecord->m_nArray, pRecord->m_nKind) : nullptr;
        if (pTeam == nullptr)
        {
            nResult = 0;
            continue;
        }
        if (!pTeam->PlaceAfterDismount(pCarrier, pDatabase, pMap))
        {
            // It cannot stand on the ring: it is let go where it is.
            if (auto* pDismount = dynamic_cast<CUCapDismount*>(pTeam->FindCapability(VCAP_DISMOUNT)))
                pDismount->DetachFromCarrier();
            nResult = 0;
        }
        if (pHierarchy != nullptr)
            pHierarchy->ClearElementMounted(pRecord->m_nUnit, pRecord->m_nArray, pRecord->m_nKind);
    }
    return nResult;
}

int CKDRUnits::MountUnits(int nTeamUnit, int nTeamArray, CTaskOrgArray* pTeamSelection, int nCarrierUnit,
                          int nCarrierArray, int nKind, CTaskOrgArray* pCarrierSelection, BOOL bUseSelections,
                          CKDRDatabase* pDatabase, CKDRGameMap* pMap, CObject*, CObject*, BOOL bImmediate)
{
    if (pDatabase == nullptr)
        return 0;
    CUnit* pGivenCarrier = GetUnit(nCarrierUnit, nCarrierArray, nKind);
    CUnit* pGivenTeam = GetUnit(nTeamUnit, nTeamArray, nKind);

    EntryList carriers;
    int nCarrierSide = nKind;
    if (pGivenCarrier == nullptr)
    {
        if (!bUseSelections || pCarrierSelection == nullptr)
            return 0;
        nCarrierSide = pCarrierSelection->m_nSide;
        for (int i = 0; i < pCarrierSelection->GetSize(); ++i)
        {
            CTaskOrg* pEntry = pCarrierSelection->GetAt(i);
            CUnit* pUnit = EntryUnit(*this, pEntry, nCarrierSide);
            if (pUnit != nullptr && pUnit->CanMountOrDismount(pDatabase, 1, bImmediate))
                InsertByValue(carriers, pEntry, *this, nCarrierSide, pDatabase, &CVehicle::m_nProtectionValue);
        }
    }
    EntryList teams;
    int nTeamSide = nKind;
    if (pGivenTeam == nullptr)
    {
        if (pTeamSelection == nullptr)
            return 0;
        nTeamSide = pTeamSelection->m_nSide;
        for (int i = 0; i < pTeamSelection->GetSize(); ++i)
        {
            CTaskOrg* pEntry = pTeamSelection->GetAt(i);
            CUnit* pUnit = EntryUnit(*this, pEntry, nTeamSide);
            if (pUnit != nullptr && pUnit->CanBoard(FALSE))
                InsertByValue(teams, pEntry, *this, nTeamSide, pDatabase, &CVehicle::m_nTargetValue);
        }
    }

    const BOOL bDeployment = IsDeployment();
    const size_t nPasses = pGivenTeam != nullptr ? 1 : teams.size();
    size_t nCursor = 0;
    for (size_t pass = 0; pass < nPasses; ++pass)
    {
        int nUnit = nTeamUnit;
        int nArray = nTeamArray;
        CUnit* pTeam = pGivenTeam;
        if (pTeam == nullptr)
        {
            nUnit = teams[pass]->m_nUnit;
            nArray = teams[pass]->m_nArray;
            pTeam = EntryUnit(*this, teams[pass], nTeamSide);
        }
        if (pTeam == nullptr || !pTeam->CanBoard(bImmediate))
            continue;
        if (!bDeployment && (!pTeam->IsStoppedByOrder() || (!bImmediate && pTeam->IsMounting())))
            continue;

        // The carriers are offered in turn, each pass going on from the
        // one after the carrier the last team took.
        CUnit* pCarrier = nullptr;
        int nChosenUnit = nCarrierUnit;
        int nChosenArray = nCarrierArray;
        if (pGivenCarrier != nullptr)
        {
            if (CarrierTakes(*pGivenCarrier, *pTeam, pDatabase, bImmediate))
                pCarrier = pGivenCarrier;
        }
        else
        {
            int nWraps = 0;
            while (pCarrier == nullptr && !carriers.empty())
            {
                if (nCursor >= carriers.size())
                {
                    nCursor = 0;
                    if (++nWraps == 2)
                        break;
                }
                CTaskOrg* pEntry = carriers[nCursor];
                CUnit* pCandidate = EntryUnit(*this, pEntry, nCarrierSide);
                ++nCursor;
                if (pCandidate != nullptr && CarrierTakes(*pCandidate, *pTeam, pDatabase, bImmediate))
                {
                    pCarrier = pCandidate;
                    nChosenUnit = pEntry->m_nUnit;
                    nChosenArray = pEntry->m_nArray;
                    if (nCursor >= carriers.size())
                        nCursor = 0;
                }
            }
        }
        if (pCarrier == nullptr)
            continue;

        auto* pDismount = dynamic_cast<CUCapDismount*>(pTeam->FindCapability(VCAP_DISMOUNT));
        const SRidingState before = pDismount != nullptr
                                        ? SRidingState{pDismount->m_nCarrierUnit, pDismount->m_nCarrierArray,
                                                       pDismount->m_nCarrierKind, pDismount->m_bDismounted,
                                                       pDismount->m_timeMount}
                                        : SRidingState{kUnset, kUnset, kUnset, FALSE, CTimeSpan(0)};
        const int nCarrierKind = pGivenCarrier != nullptr ? nKind : nCarrierSide;
        if (!pTeam->AssignToCarrier(nChosenUnit, nChosenArray, nCarrierKind, bImmediate))
            continue;
        if (!pCarrier->LoadPassenger(nUnit, nArray, nTeamSide, pDatabase, bImmediate))
        {
            pDismount->m_nCarrierUnit = before.nUnit;
            pDismount->m_nCarrierArray = before.nArray;
            pDismount->m_nCarrierKind = before.nKind;
            pDismount->m_bDismounted = before.bDismounted;
            pDismount->m_timeMount = before.timeMount;
            continue;
        }
        if (CHierarchyArray* pHierarchy = GetPresentHierarchy(nTeamSide))
        {
            pHierarchy->SetElementMounted(nUnit, nArray, nTeamSide);
            pHierarchy->CheckConditionalStarts(UCAP_EVENT_TEAM_IN, static_cast<DWORD>(nUnit),
                                               static_cast<DWORD>(nArray), static_cast<DWORD>(nTeamSide), 0, 0, 0,
                                               this, pMap, pDatabase);
        }
    }
    return 1;
}

int CKDRUnits::DismountUnits(CTaskOrgArray* pSelection, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pSelection == nullptr)
        return 0;
    int nChanged = 0;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        CUnit* pCarrier = EntryUnit(*this, pEntry, pSelection->m_nSide);
        if (pCarrier == nullptr || !pCarrier->HasPassengers())
            continue;
        // Told again while its teams get out, a carrier stops its cycle.
        if (pCarrier->IsDisembarking())
        {
            pCarrier->CancelCarrierCycle();
            nChanged = 1;
            continue;
        }
        if (!pCarrier->CanMountOrDismount(pDatabase, 0, FALSE))
            continue;
        DismountUnits(pEntry->m_nUnit, pEntry->m_nArray, pSelection->m_nSide, pDatabase, pMap, FALSE);
        nChanged = 1;
    }
    return nChanged;
}

int CKDRUnits::MountUnits(CTaskOrgArray* pCarried, CTaskOrgArray* pCarrier, CKDRGameMap* pMap,
                          CKDRDatabase* pDatabase)
{
    if (pCarried == nullptr || pCarrier == nullptr)
        return 0;
    return MountUnits(kUnset, kUnset, pCarried, kUnset, kUnset, kUnset, pCarrier, TRUE, pDatabase, pMap, nullptr,
                      nullptr, FALSE);
}

void CKDRUnits::HandleMoveEvents(DWORD dwMask, int nUnit, int nArray, int nKind, CKDRGameMap* pMap,
                                 CKDRDatabase* pDatabase)
{
    CUnit* pUnit = GetUnit(nUnit, nArray, nKind);
    if (pUnit == nullptr)
        return;
    auto* pDismount = dynamic_cast<CUCapDismount*>(pUnit->FindCapability(VCAP_DISMOUNT));
    auto* pCarrier = dynamic_cast<CUCapPersonnelCarrier*>(pUnit->FindCapability(VCAP_PERSONNEL_CARRIER));
    if ((dwMask & UCAP_EVENT_BOARDED) && pDismount != nullptr && pUnit->IsMounting())
    {
        if (CUnit* pBoarded =
                GetUnit(pDismount->m_nCarrierUnit, pDismount->m_nCarrierArray, pDismount->m_nCarrierKind))
            pBoarded->CompleteMount(pDatabase);
        pDismount->DetachFromCarrier();
    }
    if (dwMask & UCAP_EVENT_PASSENGER_OUT)
        DismountUnits(nUnit, nArray, nKind, pDatabase, pMap, TRUE);
    if ((dwMask & UCAP_EVENT_TEAM_IN) && pCarrier != nullptr)
    {
        const int nTeam = pCarrier->m_nMountingUnit;
        const int nTeamArray = pCarrier->m_nMountingArray;
        MountUnits(nTeam, nTeamArray, nullptr, nUnit, nArray, nKind, nullptr, FALSE, pDatabase, pMap, nullptr,
                   nullptr, TRUE);
        // The team did not get in (it went, or moved off): the boarding
        // ends without it.
        if (pCarrier->m_bMounting)
            dwMask |= UCAP_EVENT_FREE_BOARDING;
    }
    // Only a team aboard gets out when its mount time comes; the computer's
    // sides alone keep such times.
    if ((dwMask & UCAP_EVENT_MOUNT_TIME) && (nKind == UNIT_KIND_OPPOSING || nKind == UNIT_KIND_NEUTRAL) &&
        pDismount != nullptr && pUnit->IsCarried())
    {
        CUnit* pRide = GetUnit(pDismount->m_nCarrierUnit, pDismount->m_nCarrierArray, pDismount->m_nCarrierKind);
        if (pRide != nullptr && !pRide->IsDisembarking())
            pRide->UnloadPassengers(pDatabase, nullptr, FALSE);
    }
    if ((dwMask & UCAP_EVENT_FREE_BOARDING) && pCarrier != nullptr)
    {
        CUnit* pTeam = GetUnit(pCarrier->m_nMountingUnit, pCarrier->m_nMountingArray, pCarrier->m_nMountingKind);
        auto* pTeamDismount =
            pTeam != nullptr ? dynamic_cast<CUCapDismount*>(pTeam->FindCapability(VCAP_DISMOUNT)) : nullptr;
        if (pTeamDismount != nullptr && pTeam->IsMounting() && pTeamDismount->m_nCarrierUnit == nUnit &&
            pTeamDismount->m_nCarrierKind == nKind)
        {
            pTeamDismount->DetachFromCarrier();
            if (CHierarchyArray* pHierarchy = GetPresentHierarchy(pCarrier->m_nMountingKind))
                pHierarchy->ClearElementMounted(pCarrier->m_nMountingUnit, pCarrier->m_nMountingArray,
                                                pCarrier->m_nMountingKind);
        }
        pCarrier->FinishMountStep(pDatabase, pUnit->m_nVehicle);
        pCarrier->m_bMounting = FALSE;
        pCarrier->m_nMountingUnit = kUnset;
        pCarrier->m_bFreeBoarding = FALSE;
    }
    if ((dwMask & MOVE_EVENT_FIRE_MISSION_LOG) && IsFireMissionLogOpen())
        RefreshFireMissionLog(pMap);
}

int CKDRUnits::IssueMountOrder(CHierarchyArray* pCarried, CHierarchyArray* pCarrier, CUOrdMount* pOrder,
                               CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pCarried == nullptr || pCarrier == nullptr || pOrder == nullptr)
        return 0;
    // The chosen teams are the force the order mounts.
    if (pOrder->m_bOwnsForce)
        delete pOrder->m_pForce;
    pOrder->m_pForce = new CHierarchyArray(*pCarried, TRUE);
    pOrder->m_bOwnsForce = TRUE;
    const BOOL bDeployment = IsDeployment();
    if (!pOrder->Plan(pCarrier, this, nullptr, nullptr, pDatabase, pMap))
        return 0;
    if (bDeployment)
        return 1;
    CHierarchyArray* pSide = GetPresentHierarchy(pCarrier->m_nSide);
    if (pSide == nullptr)
        return 0;
    CTaskOrgArray carriers;
    pCarrier->FillUnitList(&carriers, FALSE);
    std::vector<CHierarchyPlatoon*> given;
    for (int i = 0; i < carriers.GetSize(); ++i)
    {
        const CTaskOrg* pEntry = carriers.GetAt(i);
        CHierarchyPlatoon* pContainer =
            pEntry != nullptr ? DirectContainerOf(pSide, pEntry->m_nUnit, pEntry->m_nArray) : nullptr;
        if (pContainer == nullptr || std::find(given.begin(), given.end(), pContainer) != given.end())
            continue;
        pOrder->ReplaceMountOrders(pContainer);
        given.push_back(pContainer);
    }
    return given.empty() ? 0 : 1;
}
