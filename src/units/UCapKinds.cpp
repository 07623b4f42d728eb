#include "units/UCapKinds.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeOrder.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"
#include "units/CarriedUnit.h"
#include "units/Unit.h"
#include "units/UnitMarkers.h"

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
}  // namespace

CUCapMarked::CUCapMarked(const char* markerName)
    : m_pMarker(LoadCatalogueSprite(markerName)), m_bMarkerLoaded(m_pMarker != nullptr)
{
}

CUCapMarked::~CUCapMarked() { delete m_pMarker; }

void CUCapMarked::PlaceMarker(CKDRGameMap* pMap, float x, float y, float fZoom)
{
    if (m_pMarker == nullptr || pMap == nullptr)
        return;
    const CFrameSurface* pSheet = m_pMarker->GetSheet();
    const int nWidth = pSheet != nullptr ? pSheet->GetFrameWidth() : 0;
    m_pMarker->SetScale(
        unit_markers::FunctionCircleScale(static_cast<float>(nWidth) * unit_markers::PIECE_WIDTH_SCALE * fZoom));
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    m_pMarker->SetMapPosition(px, py, pMap->GetMapPicture());
}

void CUCapMarked::BlitMarker(CKDRGameMap* pMap) const
{
    CDisplay* pDisplay = pMap != nullptr ? pMap->GetDisplay() : nullptr;
    if (m_pMarker != nullptr && pDisplay != nullptr && pDisplay->GetBackSurface() != nullptr)
        m_pMarker->Draw(pDisplay->GetBackSurface());
}

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

void CUCapBreacher::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nLane);
    SerializeWord(ar, m_nObstacle);
    SerializeWord(ar, m_nObstacleSide);
    SerializeValue(ar, m_fBreachDirection);
    SerializeFlag(ar, m_bBreaching);
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

void CUCapObserver::Observe(int nUnit, int nArray, int nKind)
{
    m_nTargetUnit = nUnit;
    m_nTargetArray = nArray;
    m_nTargetKind = nKind;
    m_bObserving = TRUE;
    m_bPointTarget = FALSE;
}

void CUCapObserver::DropTarget()
{
    m_nTargetUnit = kUnset;
    m_nTargetArray = kUnset;
    m_nTargetKind = kUnset;
    m_dwTargetX = 0;
    m_dwTargetY = 0;
    m_bObserving = FALSE;
    m_bPointTarget = FALSE;
    m_bStoredFlag = FALSE;
    m_nStoredValue = 0;
}

BOOL CUCapObserver::OnPathAssigned(float, float, CKDRDatabase*, CKDRGameMap*, int)
{
    DropTarget();
    return TRUE;
}

void CUCapObserver::OnMove(CKDRDatabase*, int) { DropTarget(); }

void CUCapObserver::Reset(float, int, int) { DropTarget(); }

int CUCapObserver::OnSideChanged(int nSide)
{
    if ((m_nTargetUnit != kUnset || m_bPointTarget) && nSide == m_nTargetKind)
        DropTarget();
    return 1;
}

void CUCapObserver::OnUnitDeleted(int, int nKind, int nArray, int nUnit)
{
    if (m_nTargetUnit == kUnset || nKind != m_nTargetKind || (nKind != 0 && nArray != m_nTargetArray))
        return;
    if (nUnit == kUnset || nUnit == m_nTargetUnit)
        DropTarget();
    else if (nUnit < m_nTargetUnit)
        --m_nTargetUnit;
}

// ---------------------------------------------------------------------------

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

void CUCapMineLayer::Serialize(CArchive& ar)
{
    SerializeWord(ar, m_nDeployLeft);
    SerializeWord(ar, m_nMinefieldsLeft);
    SerializeValue(ar, m_fTargetX);
    SerializeValue(ar, m_fTargetY);
    SerializeFlag(ar, m_bDeploying);
    SerializeValue(ar, m_timeDeploy);
}

