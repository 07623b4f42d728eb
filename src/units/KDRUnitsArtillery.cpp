// Where the rounds land among the units: a blast strikes every unit of
// every side near it, and a guided round looks for a target near its aim
// point that one of the firing side's observers holds in its laser, then
// strikes that target alone. The player hears of enemy rounds only: a
// round of the player's own side is no "enemy artillery impact". Uploads of
// ammunition from a carrier to the units standing by it live here too.
//
// A guided round's hit is applied at the target's own address, so the
// target's element in its hierarchy is the one marked destroyed, never the
// observer's.
#include "units/KDRUnits.h"

#include "battlefield/FireMission.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "shell/ReportService.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

#include <cmath>
#include <memory>
#include <vector>

namespace
{
// A carrier reaches units standing this close (metres).
constexpr double kUploadReach = 60.0;
// The contact lists a side's observers fill: side 0 list 0, side 1 lists 2
// and 3, side 2 list 4.
constexpr int kNoList = -1;
constexpr int kSideLists[3][2] = {{0, kNoList}, {2, 3}, {4, kNoList}};

BOOL IsEnemyRound(const CFireMission* pRound) { return pRound->GetSide() == 1 || pRound->GetSide() == 2; }

void ReportImpact(CFireMission* pRound)
{
    if (CReportService* pReports = GetReportService(); pReports != nullptr && IsEnemyRound(pRound))
        pReports->ReportArtilleryImpact(pRound);
}

// Halted at a stop with its move delay run out: what a laser tracks best.
BOOL IsHalted(const CUnit& unit) { return unit.IsStoppedAtStopNode() && unit.m_nMoveDelay < 1; }
}  // namespace

void CKDRUnits::ApplyArtilleryImpact(CFireMission* pRound, CKDRDatabase* pDatabase, int, int, int,
                                     CTimeSpan tsGameTime)
{
    if (pRound == nullptr || pDatabase == nullptr)
        return;
    for (const int nKind : {0, 1, 2})
    {
        for (int i = 0; i < GetArrayCount(nKind); ++i)
        {
            int nArray = i;
            if (CUnitArray* pArray = GetArrayOfKind(nKind, nArray))
                pArray->ApplyArtilleryImpact(nKind == 0 ? 0 : i, pRound, pDatabase, this, tsGameTime);
        }
    }
    ReportImpact(pRound);
}

void CKDRUnits::ApplyFireMissionToUnits(CFireMission* pRound, CKDRDatabase* pDatabase, int, int, int,
                                        CTimeSpan tsGameTime)
{
    if (pRound == nullptr || pDatabase == nullptr)
        return;
    const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(pRound->m_nMunitionIndex);
    int nFootPrint = kUnset;
    if (pAmmo == nullptr || !pAmmo->GetPGMFootPrint(&nFootPrint) || nFootPrint < 0)
        return;
    const int nSide = pRound->GetSide();
    CUnitRefArray candidates;
    if (nSide >= 0 && nSide < 3)
    {
        for (const int nList : kSideLists[nSide])
        {
            if (nList == kNoList)
                continue;
            CUnitRefArray inReach;
            m_pContacts[nList]->CollectInRange(&inReach, pRound->m_fX, pRound->m_fY, static_cast<float>(nFootPrint),
                                               this, TRUE);
            candidates.Merge(&inReach);
        }
    }
    OrderPGMTargets(&candidates, pDatabase);
    if (!FindDesignatedTarget(pRound, &candidates, pDatabase, tsGameTime))
        ReportImpact(pRound);
}

CTaskOrgArray* CKDRUnits::CollectUnitsOfKind(CKDRDatabase* pDatabase, int nSide, int nKindMask, int nCapabilityMask)
{
    auto* pList = new CTaskOrgArray;
    if (nSide >= 0)
        pList->m_nSide = nSide;
    if (nSide < 0 || nSide > 2)
        return pList;
    for (int i = 0; i < GetArrayCount(nSide); ++i)
    {
        int nArray = i;
        CUnitArray* pArray = GetArrayOfKind(nSide, nArray);
        for (int j = 0; pArray != nullptr && j < pArray->GetSize(); ++j)
        {
            const CUnit* pUnit = pArray->GetAt(j);
            if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried())
                continue;
            if (nCapabilityMask > 0 && (pUnit->GetCapabilityMask() & static_cast<DWORD>(nCapabilityMask)) == 0)
                continue;
            CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(pUnit->m_nVehicle) : nullptr;
            if (nKindMask > 0 && (pVehicle == nullptr || (pVehicle->GetKindCode() & nKindMask) == 0))
                continue;
            pList->Add(new CTaskOrg(j, nSide == 0 ? 0 : i));
        }
    }
    return pList;
}

void CKDRUnits::OrderPGMTargets(CUnitRefArray* pCandidates, CKDRDatabase* pDatabase)
{
    if (pCandidates == nullptr || pDatabase == nullptr)
        return;
    std::vector<CUnitRef> working;
    working.reserve(static_cast<size_t>(pCandidates->GetSize()));
    for (int i = 0; i < pCandidates->GetSize(); ++i)
        working.push_back(*pCandidates->GetAt(i));
    pCandidates->RemoveAll();

    // Each candidate goes once, before the first that threatens less than
    // it is worth: the most valuable targets are tried first.
    std::vector<CUnitRef> ordered;
    std::vector<int> threats;
    for (const CUnitRef& ref : working)
    {
        const CUnit* pUnit = GetUnit(ref.m_nUnit, ref.m_nArray, ref.m_nSide);
        CVehicle* pVehicle = pUnit != nullptr ? pDatabase->GetVehicle(pUnit->m_nVehicle) : nullptr;
        if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried() || pVehicle == nullptr ||
            pVehicle->m_nPGMValue == 0)
            continue;
        size_t nAt = 0;
        while (nAt < ordered.size() && threats[nAt] >= pVehicle->m_nTargetValue)
            ++nAt;
        ordered.insert(ordered.begin() + static_cast<std::ptrdiff_t>(nAt), ref);
        threats.insert(threats.begin() + static_cast<std::ptrdiff_t>(nAt), pVehicle->m_nThreatValue);
    }
    for (const CUnitRef& ref : ordered)
        pCandidates->Add(ref);
}

int CKDRUnits::FindDesignatedTarget(CFireMission* pRound, CUnitRefArray* pCandidates, CKDRDatabase* pDatabase,
                                    CTimeSpan tsGameTime)
{
    if (pRound == nullptr || pCandidates == nullptr || pDatabase == nullptr)
        return 0;
    const int nSide = pRound->GetSide();
    const std::unique_ptr<CTaskOrgArray> pDesignators(CollectUnitsOfKind(pDatabase, nSide, 0, VCAP_OBSERVER));
    if (pDesignators->GetSize() == 0)
        return 0;
    for (int c = 0; c < pCandidates->GetSize(); ++c)
    {
        const CUnitRef* pRef = pCandidates->GetAt(c);
        CUnit* pTarget = GetUnit(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
        if (pTarget == nullptr)
            continue;
        const BOOL bHalted = IsHalted(*pTarget);
        for (int d = 0; d < pDesignators->GetSize(); ++d)
        {
            const CTaskOrg* pEntry = pDesignators->GetAt(d);
            CUnit* pObserver = pEntry != nullptr ? GetUnit(pEntry->m_nUnit, pEntry->m_nArray, nSide) : nullptr;
            if (pObserver == nullptr || pObserver->m_bDestroyed || pObserver->IsCarried())
                continue;
            BOOL bUnidentified = TRUE;
            if (!pObserver->m_pContacts->Find(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide, &bUnidentified) ||
                bUnidentified)
                continue;
            // The observer lays its laser on what it holds.
            if (auto* pLaser = dynamic_cast<CUCapObserver*>(pObserver->FindCapability(VCAP_OBSERVER)))
                pLaser->Observe(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
            CVehicle* pVehicle = pDatabase->GetVehicle(pObserver->m_nVehicle);
            const auto* pSight =
                pVehicle != nullptr ? dynamic_cast<const CVCapObserver*>(pVehicle->FindCapability(VCAP_OBSERVER))
                                    : nullptr;
            if (pSight == nullptr)
                continue;
            const int nReach = bHalted ? pSight->m_nMovingRange : pSight->m_nRange;
            const double dDistance = std::hypot(static_cast<double>(pObserver->m_fX) - pTarget->m_fX,
                                                static_cast<double>(pObserver->m_fY) - pTarget->m_fY);
            if (std::trunc(dDistance + 0.5) > nReach)
                continue;
            pTarget->TakeArtilleryHit(pRound, pDatabase, this, pRef->m_nUnit, pRef->m_nArray, tsGameTime);
            pRound->m_fX = pTarget->m_fX;
            pRound->m_fY = pTarget->m_fY;
            return 1;
        }
    }
    return 0;
}

int CKDRUnits::UploadAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap*, CKDRDatabase* pDatabase)
{
    if (pSelection == nullptr || pDatabase == nullptr)
        return 0;
    const int nSide = pSelection->m_nSide;
    int nUploads = 0;
    for (int i = 0; i < pSelection->GetSize(); ++i)
    {
        const CTaskOrg* pEntry = pSelection->GetAt(i);
        if (pEntry == nullptr || pEntry->GetType() != TASKORG_KIND_UNIT)
            continue;
        CUnit* pCarrier = GetUnit(pEntry->m_nUnit, pEntry->m_nArray, nSide);
        if (pCarrier == nullptr || !pCarrier->CanUpload())
            continue;
        // The receivers are the side's units standing on the point picked,
        // within the carrier's reach.
        for (int a = 0; a < GetArrayCount(nSide); ++a)
        {
            int nArray = a;
            CUnitArray* pArray = GetArrayOfKind(nSide, nArray);
            for (int j = 0; pArray != nullptr && j < pArray->GetSize(); ++j)
            {
                CUnit* pReceiver = pArray->GetAt(j);
                if (pReceiver == nullptr || pReceiver == pCarrier || pReceiver->m_bDestroyed ||
                    pReceiver->IsCarried() || pReceiver->m_fX != fX || pReceiver->m_fY != fY)
                    continue;
                const double dDistance = std::hypot(static_cast<double>(pReceiver->m_fX) - pCarrier->m_fX,
                                                    static_cast<double>(pReceiver->m_fY) - pCarrier->m_fY);
                if (dDistance <= kUploadReach && pCarrier->Upload(pReceiver, pDatabase))
                    ++nUploads;
            }
        }
    }
    return nUploads;
}
