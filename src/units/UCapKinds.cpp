#include "units/UCapKinds.h"

#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeOrder.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"
#include "units/CarriedUnit.h"
#include "units/Unit.h"

#include <cmath>

IMPLEMENT_SERIAL(CUCapDismount, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapPersonnelCarrier, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapEmplace, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapBreacher, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapEngineer, CUCapBreacher, 1)
IMPLEMENT_SERIAL(CUCapObserver, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapFDC, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapSmoker, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapFixedWing, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapRotaryWing, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapMineLayer, CUnitCapability, 1)

using record::SerializeFlag;
using record::SerializeValue;
using record::SerializeWord;

namespace
{
const char* const DISMOUNT_MARKER = "Dismount Mounting Grey";
// A carrier shows its mounting marker only while a team boards.
const char* const CARRIER_MARKER = "Carrier Dismounting Grey";
const char* const BREACHER_MARKER = "Breaching Grey";
const char* const SMOKER_MARKER = "Smoke Grey";
const char* const MINE_LAYER_MARKER = "Deploy Mines Green";
}  // namespace

CUCapMarked::CUCapMarked(const char* markerName)
    : m_pMarker(LoadCatalogueSprite(markerName)), m_bMarkerLoaded(m_pMarker != nullptr)
{
}

CUCapMarked::~CUCapMarked() { delete m_pMarker; }

// ---------------------------------------------------------------------------

CUCapDismount::CUCapDismount() : CUCapMarked(DISMOUNT_MARKER) {}

void CUCapDismount::Serialize(CArchive& ar)
{
    SerializeValue(ar, m_timeMount);
    SerializeWord(ar, m_nCarrierUnit);
    SerializeWord(ar, m_nCarrierArray);
    SerializeWord(ar, m_nCarrierKind);
    SerializeFlag(ar, m_bDismounted);
}

// ---------------------------------------------------------------------------

CUCapPersonnelCarrier::CUCapPersonnelCarrier()
    : CUCapMarked(CARRIER_MARKER), m_pPassengers(new TypedObArray<CCarriedUnit>)
{
}

CUCapPersonnelCarrier::~CUCapPersonnelCarrier() { delete m_pPassengers; }

void CUCapPersonnelCarrier::Serialize(CArchive& ar)
{
    m_pPassengers->Serialize(ar);
    SerializeFlag(ar, m_bDismounting);
    SerializeFlag(ar, m_bMounting);
    SerializeFlag(ar, m_bOpen);
    SerializeWord(ar, m_nDismountLeft);
    SerializeWord(ar, m_nMountLeft);
    SerializeWord(ar, m_nRampLeft);
    SerializeWord(ar, m_nMountingUnit);
    SerializeWord(ar, m_nMountingArray);
    SerializeWord(ar, m_nMountingKind);
    SerializeValue(ar, m_fPlaceAngle);
    SerializeValue(ar, m_fPlaceStep);
    SerializeFlag(ar, m_bDismountOnContact);
}

// ---------------------------------------------------------------------------

void CUCapEmplace::Serialize(CArchive& ar)
{
    SerializeFlag(ar, m_bEmplaced);
    SerializeWord(ar, m_nEmplaceLeft);
    SerializeFlag(ar, m_bEmplacing);
    SerializeWord(ar, m_nDisplaceLeft);
    SerializeFlag(ar, m_bDisplacing);
    SerializeFlag(ar, m_bDoNotEmplace);
}

// ---------------------------------------------------------------------------

CUCapBreacher::CUCapBreacher() : CUCapMarked(BREACHER_MARKER) {}

void CUCapBreacher::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nLane);
    SerializeWord(ar, m_nObstacle);
    SerializeWord(ar, m_nObstacleSide);
    SerializeValue(ar, m_fBreachDirection);
    SerializeFlag(ar, m_bBreaching);
}

CUCapEngineer::CUCapEngineer(const CVCapEngineer* pVehicleCap)
{
    if (pVehicleCap != nullptr)
        m_nBreachesLeft = pVehicleCap->m_nNumberOfBreaches;
}

void CUCapEngineer::Serialize(CArchive& ar)
{
    CUCapBreacher::Serialize(ar);
    SerializeFlag(ar, m_bWholeObstacle);
    SerializeWord(ar, m_nBreachesLeft);
    SerializeWord(ar, m_nBreachLeft);
}

// ---------------------------------------------------------------------------

void CUCapObserver::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nTargetUnit);
    SerializeWord(ar, m_nTargetArray);
    SerializeWord(ar, m_nTargetKind);
    SerializeValue(ar, m_dwTargetX);
    SerializeValue(ar, m_dwTargetY);
    SerializeFlag(ar, m_bObserving);
    SerializeFlag(ar, m_bPointTarget);
    SerializeFlag(ar, m_bStoredFlag);
    SerializeWord(ar, m_nStoredValue);
}

// ---------------------------------------------------------------------------

CUCapSmoker::CUCapSmoker() : CUCapMarked(SMOKER_MARKER) {}

CUCapSmoker::CUCapSmoker(const CVCapSmoker* pVehicleCap) : CUCapSmoker()
{
    if (pVehicleCap != nullptr)
        m_nSmokeLeft = pVehicleCap->m_nNumberOfSmoke;
}

void CUCapSmoker::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nReleaseLeft);
    SerializeWord(ar, m_nSmokeLeft);
    SerializeFlag(ar, m_bSmoking);
}

// ---------------------------------------------------------------------------

void CUCapFixedWing::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nAltitude);
    SerializeWord(ar, m_nHeight);
    SerializeValue(ar, m_fStationX);
    SerializeValue(ar, m_fStationY);
}

// ---------------------------------------------------------------------------

CUCapRotaryWing::~CUCapRotaryWing() { delete m_pRotor; }

void CUCapRotaryWing::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nAltitude);
    SerializeWord(ar, m_nHeight);
    SerializeWord(ar, m_nRotorFrame);
}

// ---------------------------------------------------------------------------

CUCapMineLayer::CUCapMineLayer() : CUCapMarked(MINE_LAYER_MARKER) {}

CUCapMineLayer::CUCapMineLayer(const CVCapMineLayer* pVehicleCap) : CUCapMineLayer()
{
    if (pVehicleCap != nullptr)
        m_nMinefieldsLeft = pVehicleCap->m_nNumberOfMines;
}

void CUCapMineLayer::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nDeployLeft);
    SerializeWord(ar, m_nMinefieldsLeft);
    SerializeValue(ar, m_fTargetX);
    SerializeValue(ar, m_fTargetY);
    SerializeFlag(ar, m_bDeploying);
    SerializeValue(ar, m_timeDeploy);
}

// ---------------------------------------------------------------------------
// What the unit's order toggles ask of the kinds

void CUCapEmplace::StartTransition(BOOL bToEmplace, const CVCapEmplace* pVehicleCap)
{
    if (pVehicleCap == nullptr)
        return;
    if (bToEmplace)
    {
        m_bDisplacing = FALSE;
        m_bEmplacing = TRUE;
        m_nEmplaceLeft = pVehicleCap->m_nTimeToEmplace;
    }
    else
    {
        m_bEmplaced = FALSE;
        m_bEmplacing = FALSE;
        m_bDisplacing = TRUE;
        m_nDisplaceLeft = pVehicleCap->m_nTimeToDisplace;
    }
}

void CUCapEmplace::SetEmplacedAtOnce(BOOL bEmplaced)
{
    m_bEmplaced = bEmplaced;
    m_bEmplacing = FALSE;
    m_bDisplacing = FALSE;
    m_nEmplaceLeft = 0;
    m_nDisplaceLeft = 0;
}

void CUCapSmoker::StartSmoking(const CVCapSmoker* pVehicleCap)
{
    if (pVehicleCap != nullptr && m_nSmokeLeft != 0)
        m_bSmoking = TRUE;
}

void CUCapSmoker::StopSmoking(const CVCapSmoker*) { m_bSmoking = FALSE; }

BOOL CUCapMineLayer::SetTarget(CKDRDatabase* pDatabase, const CUnit* pUnit, BOOL bStart, float x, float y)
{
    if (!bStart)
        m_bDeploying = FALSE;
    if (!(x >= 0.0f && y >= 0.0f))
    {
        m_bDeploying = FALSE;
        return FALSE;
    }
    CVehicle* pVehicle = pDatabase != nullptr && pUnit != nullptr ? pDatabase->GetVehicle(pUnit->m_nVehicle) : nullptr;
    CVehicleCapArray* pCaps = pVehicle != nullptr ? pVehicle->GetCapabilities() : nullptr;
    const auto* pVehicleCap =
        pCaps != nullptr ? dynamic_cast<const CVCapMineLayer*>(pCaps->FindByType(VCAP_MINE_LAYER)) : nullptr;
    if (pVehicleCap == nullptr)
        return FALSE;
    if (x != m_fTargetX || y != m_fTargetY)
    {
        const double dDistance = std::hypot(x - pUnit->m_fX, y - pUnit->m_fY);
        if (dDistance > pVehicleCap->m_nMaxRange * 10.0)
            return FALSE;
        m_fTargetX = x;
        m_fTargetY = y;
    }
    if (!bStart)
        return FALSE;
    m_bDeploying = TRUE;
    m_nDeployLeft = pVehicleCap->m_nTimeToDeploy;
    return TRUE;
}
