// The behaviour of the two riding kinds: a dismounted team's link to its
// carrier and a personnel carrier's ramp cycle, its passengers' fate, its
// information-sheet lines and its menu commands.
//
// The ramp timer serves opening and closing alike: while it runs nothing
// else counts down. A carrier that stops being halted in the middle of a
// cycle freezes its timers until it halts again. The carrier's Update only
// says that a step is due; the units component moves the teams
// (CKDRUnits::HandleMoveEvents) and the unit's own operations change the
// state (UnitCarried.cpp).

#include "units/UCapKinds.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeOrder.h"
#include "platform/ui/Command.h"
#include "platform/ui/Display.h"
#include "units/CarriedUnit.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitMarkers.h"

#include <algorithm>
#include <vector>

namespace
{
const char* const CARRIER_MOUNTING_MARKER = "Carrier Mounting Grey";
const char* const CARRIER_DISMOUNTING_MARKER = "Carrier Dismounting Grey";

CVCapPersonnelCarrier* CarrierTypeOf(int nVehicle, CKDRDatabase* pDatabase)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(nVehicle) : nullptr;
    return pVehicle != nullptr ? dynamic_cast<CVCapPersonnelCarrier*>(pVehicle->FindCapability(VCAP_PERSONNEL_CARRIER))
                               : nullptr;
}

// Counts down by dt, never below 0; TRUE when it reached 0.
BOOL CountDown(int& nLeft, int nElapsed)
{
    nLeft = std::max(0, nLeft - nElapsed);
    return nLeft == 0;
}

// The record's unit index after a unit of its array was deleted: kUnset
// when the record's own unit (or its whole array) went, one less when a
// unit before it went.
int Renumbered(int nIndex, int nDeleted)
{
    if (nDeleted == kUnset || nDeleted == nIndex)
        return kUnset;
    return nDeleted < nIndex ? nIndex - 1 : nIndex;
}

BOOL SameArray(int nKind, int nArray, int nOtherKind, int nOtherArray)
{
    return nKind == nOtherKind && (nKind == UNIT_KIND_OWN || nArray == nOtherArray);
}
}  // namespace

// ---------------------------------------------------------------------------
// The team

DWORD CUCapDismount::Update(int, int, CTimeSpan timeNow, CKDRGameMap*, CKDRDatabase*, int, int, CUnit*, int, int, int)
{
    return HasCarrier() && timeNow > m_timeMount ? UCAP_EVENT_MOUNT_TIME : 0;
}

BOOL CUCapDismount::OnPathAssigned(float, float, CKDRDatabase*, CKDRGameMap*, int nKeepCarrier)
{
    if (!nKeepCarrier)
        DetachFromCarrier();
    return TRUE;
}

int CUCapDismount::OnSideChanged(int nSide)
{
    if (nSide != m_nCarrierKind)
        DetachFromCarrier();
    return 1;
}

void CUCapDismount::OnUnitDeleted(int, int nKind, int nArray, int nUnit)
{
    if (!HasCarrier() || !SameArray(nKind, nArray, m_nCarrierKind, m_nCarrierArray))
        return;
    m_nCarrierUnit = Renumbered(m_nCarrierUnit, nUnit);
    if (m_nCarrierUnit == kUnset)
        DetachFromCarrier();
}

void CUCapDismount::Reset(float, int, int) { ResetMountState(); }

void CUCapDismount::ResetMountState()
{
    m_timeMount = CTimeSpan(0);
    DetachFromCarrier();
}

int CUCapDismount::DetachFromCarrier()
{
    m_bDismounted = FALSE;
    m_nCarrierUnit = kUnset;
    m_nCarrierArray = kUnset;
    m_nCarrierKind = kUnset;
    return kUnset;
}

void CUCapDismount::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float, float fZoom)
{
    PlaceMarker(pMap, x, y, fZoom);
}

BOOL CUCapDismount::HitTest(int x, int y)
{
    return HasCarrier() && m_bDismounted && m_pMarker != nullptr && m_pMarker->HitTest(x, y);
}

void CUCapDismount::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                         BOOL bVisible, BOOL, float fHeading)
{
    if (!bVisible || !HasCarrier() || !m_bDismounted || !m_bMarkerLoaded)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    BlitMarker(pMap);
}

// ---------------------------------------------------------------------------
// The carrier

DWORD CUCapPersonnelCarrier::Update(int, int nElapsed, CTimeSpan, CKDRGameMap*, CKDRDatabase*, int, int,
                                    CUnit* pUnit, int, int, int)
{
    if (m_bFreeBoarding)
        return UCAP_EVENT_FREE_BOARDING;
    if (pUnit == nullptr || !pUnit->IsEmplaced(FALSE) || !pUnit->m_bStopped || !m_bOpen)
        return 0;
    if (m_nRampLeft > 0)
    {
        if (CountDown(m_nRampLeft, nElapsed) && !m_bMounting && !m_bDismounting)
            m_bOpen = FALSE;
        return 0;
    }
    if (m_bDismounting && CountDown(m_nDismountLeft, nElapsed))
        return UCAP_EVENT_PASSENGER_OUT;
    if (m_bMounting && CountDown(m_nMountLeft, nElapsed))
        return UCAP_EVENT_TEAM_IN;
    return 0;
}

void CUCapPersonnelCarrier::AddMenuItems(CMenu* pMenu)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(UNIT_MENU_POPUP) : nullptr;
    CMenu* pActions = pPopup != nullptr ? pPopup->GetSubMenu(UNIT_MENU_ACTIONS) : nullptr;
    if (pActions == nullptr)
        return;
    pActions->AppendMenu(MF_STRING, ID_UNIT_MOUNT, "&Mount");
    pActions->AppendMenu(MF_STRING, ID_UNIT_DISMOUNT, "&Dismount");
    CMenu* pSOP = pPopup->GetSubMenu(UNIT_MENU_SOP);
    (pSOP != nullptr ? pSOP : pActions)->AppendMenu(MF_STRING, ID_UNIT_DISMOUNT_ON_CONTACT, "&Dismount On Contact");
}

BOOL CUCapPersonnelCarrier::OnPathAssigned(float, float, CKDRDatabase*, CKDRGameMap*, int nKeepState)
{
    if (nKeepState)
        return TRUE;
    // The team that was on its way in is left on foot, free: the units
    // component frees it on the next step (UCAP_EVENT_FREE_BOARDING).
    if (m_bMounting && m_nMountingUnit != kUnset)
        m_bFreeBoarding = TRUE;
    ClearCycle();
    return TRUE;
}

void CUCapPersonnelCarrier::OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int, int, int)
{
    if (pUnits == nullptr)
        return;
    // Copied first: a passenger's death may reach back into this list.
    std::vector<CCarriedUnit> aboard;
    for (int i = 0; i < m_pPassengers->GetSize(); ++i)
    {
        if (const CCarriedUnit* pRecord = m_pPassengers->GetAt(i))
            aboard.push_back(*pRecord);
    }
    for (const CCarriedUnit& record : aboard)
    {
        CUnit* pPassenger = pUnits->GetUnit(record.m_nUnit, record.m_nArray, record.m_nKind);
        // A passenger already dead is passed over, so carriers that list
        // each other cannot go round for ever.
        if (pPassenger != nullptr && !pPassenger->m_bDestroyed)
            pPassenger->Destroy(record.m_nUnit, record.m_nArray, pUnits, pDatabase);
    }
}

void CUCapPersonnelCarrier::OnUnitDeleted(int, int nKind, int nArray, int nUnit)
{
    if (m_bMounting && m_nMountingUnit != kUnset && SameArray(nKind, nArray, m_nMountingKind, m_nMountingArray))
    {
        m_nMountingUnit = Renumbered(m_nMountingUnit, nUnit);
        if (m_nMountingUnit == kUnset)
            m_bMounting = FALSE;
    }
    for (int i = m_pPassengers->GetSize() - 1; i >= 0; --i)
    {
        CCarriedUnit* pRecord = m_pPassengers->GetAt(i);
        if (pRecord == nullptr || !SameArray(nKind, nArray, pRecord->m_nKind, pRecord->m_nArray))
            continue;
        pRecord->m_nUnit = Renumbered(pRecord->m_nUnit, nUnit);
        if (pRecord->m_nUnit == kUnset)
            m_pPassengers->RemoveAt(i);
    }
}

void CUCapPersonnelCarrier::Reset(float, int, int) { ResetMountState(); }

void CUCapPersonnelCarrier::ResetMountState()
{
    delete m_pPassengers;
    m_pPassengers = new TypedObArray<CCarriedUnit>;
    m_bDismounting = m_bMounting = m_bOpen = FALSE;
    m_nDismountLeft = m_nMountLeft = m_nRampLeft = 0;
    m_nMountingUnit = m_nMountingArray = m_nMountingKind = 0;
    m_fPlaceAngle = m_fPlaceStep = 0.0f;
    m_bDismountOnContact = FALSE;
    m_bFreeBoarding = FALSE;
}

void CUCapPersonnelCarrier::DrawStateMarker()
{
    delete m_pMarker;
    m_pMarker = LoadCatalogueSprite(m_bMounting ? CARRIER_MOUNTING_MARKER : CARRIER_DISMOUNTING_MARKER);
    m_bMarkerLoaded = m_pMarker != nullptr;
}

void CUCapPersonnelCarrier::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float,
                                         float fZoom)
{
    PlaceMarker(pMap, x, y, fZoom);
}

BOOL CUCapPersonnelCarrier::HitTest(int x, int y)
{
    return (m_bMounting || m_bDismounting) && m_pMarker != nullptr && m_pMarker->HitTest(x, y);
}

void CUCapPersonnelCarrier::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y,
                                 float fScale, BOOL bVisible, BOOL, float fHeading)
{
    if (!bVisible || (!m_bMounting && !m_bDismounting))
        return;
    DrawStateMarker();
    if (!m_bMarkerLoaded)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    BlitMarker(pMap);
}

int CUCapPersonnelCarrier::FinishMountStep(CKDRDatabase* pDatabase, int nVehicle)
{
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(nVehicle, pDatabase);
    if (!m_bOpen || (!m_bMounting && !m_bDismounting) || pType == nullptr)
        return kUnset;
    int nBoarded = kUnset;
    if (m_bMounting)
    {
        nBoarded = m_nMountingUnit;
        m_nMountingUnit = kUnset;
        m_bMounting = FALSE;
    }
    m_bDismounting = FALSE;
    m_nRampLeft = pType->m_nTimeToClose;
    return nBoarded;
}

void CUCapPersonnelCarrier::ClearCycle() { m_bDismounting = m_bMounting = m_bOpen = FALSE; }

void CUCapPersonnelCarrier::GetPassengerNames(CStringList& names, CKDRUnits* pUnits) const
{
    if (pUnits == nullptr)
        return;
    for (int i = 0; i < m_pPassengers->GetSize(); ++i)
    {
        const CCarriedUnit* pRecord = m_pPassengers->GetAt(i);
        const CUnit* pUnit = pRecord != nullptr ? pUnits->GetUnit(pRecord->m_nUnit, pRecord->m_nArray, pRecord->m_nKind)
                                                : nullptr;
        if (pUnit != nullptr)
            names.AddTail(pUnit->m_strName);
    }
}

void CUCapPersonnelCarrier::GetStatusText(CString& strText, int nVehicle, CKDRDatabase* pDatabase,
                                          CKDRUnits* pUnits) const
{
    strText.Empty();
    const CVCapPersonnelCarrier* pType = CarrierTypeOf(nVehicle, pDatabase);
    if (pType == nullptr)
        return;
    const int nAboard = m_pPassengers->GetSize();
    if (nAboard == 0)
        strText += "- Carrier empty\r\n";
    else if (nAboard == pType->m_nNumberOfDismounts)
        strText += "- Carrier full\r\n";
    else
        strText += "- Carrier contains personnel\r\n";
    if (!m_bOpen)
    {
        strText += "- Carrier is closed\r\n";
        return;
    }
    if (m_nRampLeft > 0)
    {
        if (m_bMounting)
            strText += "- Carrier is opening to mount personnel\r\n";
        else if (m_bDismounting)
            strText += "- Carrier is opening to allow personnel to disembark\r\n";
        else
            strText += "- Carrier is closing\r\n";
        return;
    }
    if (m_bMounting)
    {
        const CUnit* pTeam =
            pUnits != nullptr ? pUnits->GetUnit(m_nMountingUnit, m_nMountingArray, m_nMountingKind) : nullptr;
        if (pTeam != nullptr)
            strText += "- " + pTeam->m_strName + " is mounting on this carrier\r\n";
    }
    else if (m_bDismounting)
    {
        strText += "- All personnel are dismembarking from this carrier\r\n";
    }
}
