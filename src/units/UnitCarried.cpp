// A unit's side of riding in personnel carriers: the tests the menus, the
// orders and the capabilities ask, and the operations that change a
// carrier's list and the mount state of both capabilities. Each changes
// them in one fixed way that the units component's pairing and the ramp
// cycle's events rely on (KDRUnitsMount.cpp, UCapCarrier.cpp).
//
// In the deployment phase every step happens at once and the carrier stays
// closed; afterwards a carrier opens, lets one team in or its teams out one
// at a time, and closes, each on its vehicle type's times.

#include "units/Unit.h"

#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "units/CarriedUnit.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/UnitMoveSupport.h"

#include <cmath>

using unit_move::IsDeployment;

namespace
{
// The full turn over which the teams leaving one dismount are spread, a
// hair short of 2 pi as the placements have always used.
constexpr float kPlaceTurn = 6.281385f;
// Released teams stand this far from their carrier.
constexpr float kPlaceRadius = 30.0f;

CUCapDismount* DismountOf(const CUnit& unit)
{
    return dynamic_cast<CUCapDismount*>(unit.FindCapability(VCAP_DISMOUNT));
}

CUCapPersonnelCarrier* CarrierOf(const CUnit& unit)
{
    return dynamic_cast<CUCapPersonnelCarrier*>(unit.FindCapability(VCAP_PERSONNEL_CARRIER));
}

CVCapPersonnelCarrier* CarrierTypeOf(const CUnit& unit, CKDRDatabase* pDatabase)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(unit.m_nVehicle) : nullptr;
    return pVehicle != nullptr ? dynamic_cast<CVCapPersonnelCarrier*>(pVehicle->FindCapability(VCAP_PERSONNEL_CARRIER))
                               : nullptr;
}

// The ramp of an idle carrier, and its boarding team, as nothing is going on.
void SetIdle(CUCapPersonnelCarrier& carrier)
{
    carrier.m_bOpen = FALSE;
    carrier.m_bMounting = FALSE;
    carrier.m_bDismounting = FALSE;
    carrier.m_nMountLeft = 0;
    carrier.m_nRampLeft = 0;
    carrier.m_nMountingUnit = kUnset;
}

// The teams of nAboard are to be spread from north, clockwise.
void StartPlacing(CUCapPersonnelCarrier& carrier, int nAboard)
{
    carrier.m_fPlaceStep = kPlaceTurn / static_cast<float>(nAboard);
    carrier.m_fPlaceAngle = -carrier.m_fPlaceStep;
}
}  // namespace

BOOL CUnit::IsCarried() const
{
    const CUCapDismount* pDismount = DismountOf(*this);
    return pDismount != nullptr && pDismount->m_nCarrierUnit != kUnset && !pDismount->m_bDismounted;
}

BOOL CUnit::IsMounting() const
{
    const CUCapDismount* pDismount = DismountOf(*this);
    if (pDismount != nullptr && pDismount->m_nCarrierUnit != kUnset && pDismount->m_bDismounted)
        return TRUE;
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    return pCarrier != nullptr && pCarrier->m_bMounting;
}

BOOL CUnit::IsDisembarking() const
{
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    return pCarrier != nullptr && pCarrier->m_bDismounting;
}

BOOL CUnit::HasDismounted() const
{
    const CUCapDismount* pDismount = DismountOf(*this);
    if (pDismount != nullptr && pDismount->m_nCarrierUnit != kUnset && pDismount->m_bDismounted)
        return TRUE;
    return IsDisembarking();
}

BOOL CUnit::HasPassengers() const
{
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    return (GetCapabilityMask() & VCAP_PERSONNEL_CARRIER) != 0 && pCarrier != nullptr &&
           pCarrier->m_pPassengers->GetSize() > 0;
}

BOOL CUnit::CanCarry(CKDRDatabase* pDatabase, BOOL bEmptyOnly) const
{
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(*this, pDatabase);
    if ((GetCapabilityMask() & VCAP_PERSONNEL_CARRIER) == 0 || pCarrier == nullptr || pType == nullptr)
        return FALSE;
    const int nAboard = pCarrier->m_pPassengers->GetSize();
    return nAboard < pType->m_nNumberOfDismounts && (!bEmptyOnly || nAboard == 0);
}

BOOL CUnit::CanMountOrDismount(CKDRDatabase* pDatabase, int nMode, BOOL bIgnoreBusy)
{
    if (!IsDeployment())
    {
        if (!IsStoppedByOrder())
            return FALSE;
        // A boarding in progress, or the teams getting out, keep the
        // carrier busy.
        if (!bIgnoreBusy && (IsMounting() || IsDisembarking()))
            return FALSE;
    }
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    if ((GetCapabilityMask() & VCAP_PERSONNEL_CARRIER) == 0 || pCarrier == nullptr)
        return FALSE;
    if (nMode == 0)
        return pCarrier->m_pPassengers->GetSize() > 0;
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(*this, pDatabase);
    return pType != nullptr && pCarrier->m_pPassengers->GetSize() < pType->m_nNumberOfDismounts;
}

BOOL CUnit::CanBoard(BOOL bIgnoreBusy)
{
    if (!IsDeployment() && !IsStoppedByOrder())
        return FALSE;
    const CUCapDismount* pDismount = DismountOf(*this);
    if ((GetCapabilityMask() & VCAP_DISMOUNT) == 0 || pDismount == nullptr)
        return FALSE;
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    if (!bIgnoreBusy && (IsMounting() || (pCarrier != nullptr && pCarrier->m_bMounting)))
        return FALSE;
    if (pDismount->m_nCarrierUnit == kUnset)
        return TRUE;
    return pDismount->m_bDismounted;
}

BOOL CUnit::IsAvailableToMount() const
{
    const CUCapDismount* pDismount = DismountOf(*this);
    return pDismount != nullptr && !IsCarried() && !m_bDestroyed && pDismount->m_nCarrierUnit == kUnset;
}

int CUnit::GetRoomInCarrier(CKDRDatabase* pDatabase) const
{
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(*this, pDatabase);
    if (m_bDestroyed || pCarrier == nullptr || pType == nullptr)
        return 0;
    const int nTaken = pCarrier->m_pPassengers->GetSize() + (pCarrier->m_bMounting ? 1 : 0);
    return nTaken < pType->m_nNumberOfDismounts ? pType->m_nNumberOfDismounts - nTaken : 0;
}

BOOL CUnit::IsDismountOnContact() const
{
    const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    return pCarrier != nullptr && pCarrier->m_bDismountOnContact;
}

BOOL CUnit::AssignToCarrier(int nCarrierUnit, int nCarrierArray, int nCarrierKind, BOOL bImmediate)
{
    CUCapDismount* pDismount = DismountOf(*this);
    if (pDismount == nullptr)
        return FALSE;
    pDismount->m_nCarrierUnit = nCarrierUnit;
    pDismount->m_nCarrierArray = nCarrierArray;
    pDismount->m_nCarrierKind = nCarrierKind;
    const BOOL bDeployment = IsDeployment();
    pDismount->m_bDismounted = bDeployment || bImmediate ? FALSE : TRUE;
    // A mount time already gone would put a team that boards during play
    // out again on the next second: it no longer comes. A time still to
    // come, as a file gives it, keeps its meaning.
    if (!bDeployment && pDismount->m_timeMount <= unit_move::GameElapsed())
        pDismount->m_timeMount = CTimeSpan(START_TIME_NEVER);
    return TRUE;
}

BOOL CUnit::LoadPassenger(int nTeamUnit, int nTeamArray, int nTeamKind, CKDRDatabase* pDatabase, BOOL bComplete)
{
    CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(*this, pDatabase);
    if (pCarrier == nullptr || pType == nullptr)
        return FALSE;
    if (IsDeployment())
    {
        pCarrier->m_pPassengers->Add(new CCarriedUnit(nTeamUnit, nTeamArray, nTeamKind));
        SetIdle(*pCarrier);
        return TRUE;
    }
    if (bComplete)
    {
        // The team that was boarding goes aboard; without one nobody does.
        if (!pCarrier->m_bMounting || pCarrier->m_nMountingUnit == kUnset)
            return FALSE;
        pCarrier->m_pPassengers->Add(
            new CCarriedUnit(pCarrier->m_nMountingUnit, pCarrier->m_nMountingArray, pCarrier->m_nMountingKind));
        pCarrier->m_bOpen = TRUE;
        pCarrier->m_bMounting = FALSE;
        pCarrier->m_bDismounting = FALSE;
        pCarrier->m_nMountLeft = 0;
        pCarrier->m_nRampLeft = pType->m_nTimeToClose;
        pCarrier->m_nMountingUnit = kUnset;
        return TRUE;
    }
    if (!pCarrier->m_bMounting)
        pCarrier->m_nMountLeft = pType->m_nTimeToMount;
    if (!pCarrier->m_bOpen)
        pCarrier->m_nRampLeft = pType->m_nTimeToOpen;
    pCarrier->m_nMountingUnit = nTeamUnit;
    pCarrier->m_nMountingArray = nTeamArray;
    pCarrier->m_nMountingKind = nTeamKind;
    pCarrier->m_bDismounting = FALSE;
    pCarrier->m_bOpen = TRUE;
    pCarrier->m_bMounting = TRUE;
    return TRUE;
}

BOOL CUnit::UnloadPassengers(CKDRDatabase* pDatabase, TypedObArray<CCarriedUnit>* pReleased, BOOL bOneOnly)
{
    CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(*this, pDatabase);
    if (pCarrier == nullptr || pType == nullptr)
        return FALSE;
    TypedObArray<CCarriedUnit>& aboard = *pCarrier->m_pPassengers;
    const int nAboard = aboard.GetSize();
    if (nAboard == 0)
        return TRUE;
    if (IsDeployment())
    {
        for (int i = 0; i < nAboard; ++i)
        {
            if (const CCarriedUnit* pRecord = aboard.GetAt(i); pRecord != nullptr && pReleased != nullptr)
                pReleased->Add(new CCarriedUnit(*pRecord));
        }
        aboard.RemoveAll();
        SetIdle(*pCarrier);
        StartPlacing(*pCarrier, nAboard);
        return TRUE;
    }
    if (bOneOnly)
    {
        // The team that boarded last is the first out.
        if (const CCarriedUnit* pLast = aboard.GetAt(nAboard - 1); pLast != nullptr && pReleased != nullptr)
            pReleased->Add(new CCarriedUnit(*pLast));
        aboard.RemoveAt(nAboard - 1);
        pCarrier->m_bOpen = TRUE;
        pCarrier->m_bMounting = FALSE;
        pCarrier->m_nMountLeft = 0;
        pCarrier->m_nMountingUnit = kUnset;
        const BOOL bEmpty = aboard.GetSize() == 0;
        pCarrier->m_bDismounting = bEmpty ? FALSE : TRUE;
        pCarrier->m_nDismountLeft = bEmpty ? 0 : pType->m_nTimeToDismount;
        pCarrier->m_nRampLeft = bEmpty ? pType->m_nTimeToClose : 0;
        return TRUE;
    }
    if (!pCarrier->m_bDismounting)
        pCarrier->m_nDismountLeft = pType->m_nTimeToDismount;
    if (!pCarrier->m_bOpen)
        pCarrier->m_nRampLeft = pType->m_nTimeToOpen;
    pCarrier->m_bOpen = TRUE;
    pCarrier->m_bMounting = FALSE;
    pCarrier->m_bDismounting = TRUE;
    StartPlacing(*pCarrier, nAboard);
    return TRUE;
}

BOOL CUnit::PlaceAfterDismount(CUnit* pCarrierUnit, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    CUCapDismount* pDismount = DismountOf(*this);
    CUCapPersonnelCarrier* pCarrier = pCarrierUnit != nullptr ? CarrierOf(*pCarrierUnit) : nullptr;
    if (pDismount == nullptr || pCarrier == nullptr)
        return FALSE;
    pDismount->DetachFromCarrier();
    const float fAngle = pCarrier->m_fPlaceAngle + pCarrier->m_fPlaceStep;
    float x = pCarrierUnit->m_fX + kPlaceRadius * std::sin(fAngle);
    float y = pCarrierUnit->m_fY + kPlaceRadius * std::cos(fAngle);
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    if (CNodeArray::GetMapSize(pMap, fWidth, fHeight))
    {
        x = x > fWidth ? fWidth : x;
        y = y > fHeight ? fHeight : y;
    }
    x = x < 0.0f ? 0.0f : x;
    y = y < 0.0f ? 0.0f : y;
    MoveTo(x, y, pDatabase, pMap, FALSE, 0);
    pCarrier->m_fPlaceAngle = fAngle;
    return TRUE;
}

void CUnit::CancelCarrierCycle()
{
    if (CUCapPersonnelCarrier* pCarrier = CarrierOf(*this))
        pCarrier->ClearCycle();
}

int CUnit::CompleteMount(CKDRDatabase* pDatabase)
{
    CUCapPersonnelCarrier* pCarrier = CarrierOf(*this);
    return pCarrier != nullptr ? pCarrier->FinishMountStep(pDatabase, m_nVehicle) : kUnset;
}

CString CUnit::GetCarrierStatusText(CKDRDatabase* pDatabase, CKDRUnits* pUnits)
{
    CString strText;
    if (const CUCapPersonnelCarrier* pCarrier = CarrierOf(*this))
        pCarrier->GetStatusText(strText, m_nVehicle, pDatabase, pUnits);
    return strText;
}
