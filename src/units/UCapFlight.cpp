// The kinds that act on the battlefield or on the unit's height: the smoke
// generator, fixed- and rotary-wing flight, and the mine layer.
//
// The clouds and minefields they make belong to the mission and are laid
// through the mission service, which also sends them to the other player.
// Two rules mend what would otherwise never end: a pass whose dt overshoots
// the release timer counts at most the smokes left, and a time to release
// of 0 or less releases one cloud a pass. Distances of the vehicle
// capabilities are read as metres.

#include "units/UCapKinds.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeOrder.h"
#include "platform/ui/Command.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"
#include "shell/MissionService.h"
#include "units/Unit.h"
#include "units/UnitMoveSupport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
const char* const SMOKER_MARKER = "Smoke Grey";
const char* const MINE_LAYER_MARKER = "Deploy Mines Green";
constexpr int kMilsInCircle = 6400;
constexpr int kQuarterCircleMils = 1600;
constexpr COLORREF kSpriteColorKey = RGB(255, 0, 255);

template <class T> T* VehicleCap(CKDRDatabase* pDatabase, int nVehicle, DWORD dwType)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(nVehicle) : nullptr;
    return pVehicle != nullptr ? dynamic_cast<T*>(pVehicle->FindCapability(dwType)) : nullptr;
}

// The ground under the point in whole metres; 0 without an elevation map.
int GroundAt(CKDRGameMap* pMap, float x, float y)
{
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    return pElevation != nullptr ? static_cast<int>(std::lround(pElevation->GetElevation(x, y) * 0.1)) : 0;
}

BOOL IsAwayFrom(const CUnit& unit, float x, float y) { return unit.m_fX != x || unit.m_fY != y; }
}  // namespace

// ---------------------------------------------------------------------------
// Smoker

CUCapSmoker::CUCapSmoker() : CUCapMarked(SMOKER_MARKER) {}

CUCapSmoker::CUCapSmoker(const CVCapSmoker* pVehicleCap) : CUCapSmoker()
{
    if (pVehicleCap != nullptr)
        m_nSmokeLeft = pVehicleCap->m_nNumberOfSmoke;
}

void CUCapSmoker::AddMenuItems(CMenu* pMenu)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(UNIT_MENU_POPUP) : nullptr;
    CMenu* pOrders = pPopup != nullptr ? pPopup->GetSubMenu(UNIT_MENU_ORDERS) : nullptr;
    if (pOrders != nullptr)
        pOrders->AppendMenu(MF_STRING, ID_UNIT_SMOKE, "S&moke");
}

void CUCapSmoker::SetSmoke(BOOL bOn, const CVCapSmoker* pVehicleCap)
{
    if (bOn && pVehicleCap != nullptr)
    {
        m_bSmoking = TRUE;
        m_nReleaseLeft = pVehicleCap->m_bBurstRelease ? 0 : pVehicleCap->m_nTimeToRelease;
        return;
    }
    m_bSmoking = FALSE;
    m_nReleaseLeft = 0;
}

int CUCapSmoker::CountReleases(int nRemainder, int nPeriod, int nCap)
{
    if (nCap <= 0)
        return 0;
    int nCount = 1;
    if (nPeriod <= 0)
        return nCount;
    int r = nRemainder;
    while (r < 0 && nCount < nCap)
    {
        int nTimer = nPeriod;
        while (nTimer > 0)
            nTimer += r;
        ++nCount;
        r = nTimer;
    }
    return nCount;
}

DWORD CUCapSmoker::Update(int nVehicle, int nElapsed, CTimeSpan, CKDRGameMap*, CKDRDatabase* pDatabase, int, int,
                          CUnit* pUnit, int, int, int)
{
    if (!m_bSmoking)
        return 0;
    const auto* pKit = VehicleCap<CVCapSmoker>(pDatabase, nVehicle, VCAP_SMOKER);
    if (pKit == nullptr || pUnit == nullptr)
    {
        m_bSmoking = FALSE;
        return 0;
    }
    int nReleases = 0;
    if (pKit->m_bBurstRelease)
    {
        nReleases = 1;
        m_bSmoking = FALSE;
    }
    else
    {
        m_nReleaseLeft -= std::max(0, nElapsed);
        if (m_nReleaseLeft <= 0)
        {
            nReleases = CountReleases(m_nReleaseLeft, pKit->m_nTimeToRelease, std::max(1, m_nSmokeLeft));
            m_nReleaseLeft = pKit->m_nTimeToRelease;
        }
    }
    CMissionService* pMission = GetMissionService();
    for (int i = 0; i < nReleases && m_nSmokeLeft > 0; ++i)
    {
        if (pMission != nullptr)
            pMission->AddSmokeAndSend(pUnit->m_fX, pUnit->m_fY, pKit->m_fRadius, pKit->m_nTimeToLive,
                                      pKit->m_nPercentIR);
        --m_nSmokeLeft;
    }
    if (m_nSmokeLeft <= 0)
        m_bSmoking = FALSE;
    return 0;
}

void CUCapSmoker::Reset(float, int, int)
{
    m_nReleaseLeft = 0;
    m_bSmoking = FALSE;
}

void CUCapSmoker::GetStatusText(CString& strText, CKDRDatabase* pDatabase, int nVehicle) const
{
    strText.Empty();
    const auto* pKit = VehicleCap<CVCapSmoker>(pDatabase, nVehicle, VCAP_SMOKER);
    if (pKit == nullptr)
        return;
    if (pKit->m_bBurstRelease)
        strText.Format("Smoke bursts remaining: %d", m_nSmokeLeft);
    else
        strText.Format("Smoke remaining: %ld min",
                       std::lround(static_cast<double>(pKit->m_nTimeToRelease) * m_nSmokeLeft / 60.0));
}

void CUCapSmoker::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float, float fZoom)
{
    PlaceMarker(pMap, x, y, fZoom);
}

BOOL CUCapSmoker::HitTest(int x, int y) { return m_bSmoking && m_pMarker != nullptr && m_pMarker->HitTest(x, y); }

void CUCapSmoker::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                       BOOL bVisible, BOOL, float fHeading)
{
    if (!bVisible || !m_bSmoking || !m_bMarkerLoaded)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    BlitMarker(pMap);
}

// ---------------------------------------------------------------------------
// Fixed wing

BOOL CUCapFixedWing::OnPathAssigned(float x, float y, CKDRDatabase*, CKDRGameMap*, int)
{
    m_fStationX = x;
    m_fStationY = y;
    return TRUE;
}

void CUCapFixedWing::ResetForDeployment(int, CKDRDatabase* pDatabase, CUnit* pUnit)
{
    if (pUnit == nullptr)
        return;
    if (unit_move::IsDeployment() || m_fStationX < 0.0f || m_fStationY < 0.0f)
    {
        m_fStationX = pUnit->m_fX;
        m_fStationY = pUnit->m_fY;
    }
    UpdateHeights(pUnit, nullptr, pDatabase);
}

void CUCapFixedWing::UpdateHeights(CUnit* pUnit, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    const auto* pKit = VehicleCap<CVCapFixedWing>(pDatabase, pUnit->m_nVehicle, VCAP_FIXED_WING);
    if (pKit == nullptr)
        return;
    int nHeight = pUnit->m_bSprint ? pKit->m_nSprintAltitude : pKit->m_nAltitude;
    if (pUnit->IsStoppedAtStopNode() && !IsAwayFrom(*pUnit, m_fStationX, m_fStationY))
        nHeight = 0;
    m_nAltitude = m_nHeight + GroundAt(pMap, pUnit->m_fX, pUnit->m_fY);
    m_nHeight = nHeight;
}

DWORD CUCapFixedWing::Update(int, int, CTimeSpan, CKDRGameMap* pMap, CKDRDatabase* pDatabase, int, int, CUnit* pUnit,
                             int, int, int)
{
    if (pUnit == nullptr || pUnit->m_pPath == nullptr)
        return 0;
    CNodeArray* pPath = pUnit->m_pPath;
    if (pPath->GetSize() == 0)
        pPath->AddNode(pUnit->m_fX, pUnit->m_fY);
    const auto* pKit = VehicleCap<CVCapFixedWing>(pDatabase, pUnit->m_nVehicle, VCAP_FIXED_WING);
    const BOOL bAway = m_fStationX >= 0.0f && m_fStationY >= 0.0f && IsAwayFrom(*pUnit, m_fStationX, m_fStationY);
    if (pKit != nullptr && bAway)
    {
        if (pPath->GetSize() < 2)
            pUnit->RouteTo(m_fStationX, m_fStationY, pDatabase, pMap, TRUE, FALSE);
        if (!pKit->m_bVTOL && (pUnit->IsStoppedAtStopNode() || pUnit->m_bStopped))
            pUnit->ClearStop(pDatabase, TRUE);
    }
    UpdateHeights(pUnit, pMap, pDatabase);
    return 0;
}

void CUCapFixedWing::Reset(float, int, int)
{
    m_fStationX = NO_STATION;
    m_fStationY = NO_STATION;
}

// ---------------------------------------------------------------------------
// Rotary wing

BOOL CUCapRotaryWing::AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase, CVehicle*)
{
    const auto* pKit = dynamic_cast<const CVCapRotaryWing*>(pVehicleCap);
    if (pKit == nullptr)
        return TRUE;
    const float fScale = m_pRotor != nullptr ? m_pRotor->GetScale() : 1.0f;
    delete m_pRotor;
    m_pRotor = nullptr;
    m_bRotorLoaded = FALSE;
    // The rotor is a vehicle picture: the database's pieces first, then
    // the symbol catalogue.
    int nFrame = 0;
    CPiece* pPiece = nullptr;
    if (pDatabase != nullptr && pDatabase->GetPieceArray() != nullptr)
        pPiece = pDatabase->GetPieceArray()->FindNamedPicture(pKit->m_strName, &nFrame);
    if (pPiece == nullptr)
    {
        const CDrawService* pDraw = GetDrawService();
        CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
        pPiece = pCatalogue != nullptr ? pCatalogue->FindNamedPicture(pKit->m_strName, &nFrame) : nullptr;
    }
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return TRUE;
    m_pRotor = new CSprite(pSheet);
    m_pRotor->SetScale(fScale);
    pSheet->SetColorKey(DDColorMatch(pSheet, kSpriteColorKey));
    m_bRotorLoaded = TRUE;
    return TRUE;
}

DWORD CUCapRotaryWing::Update(int, int, CTimeSpan, CKDRGameMap* pMap, CKDRDatabase* pDatabase, int, int,
                              CUnit* pUnit, int, int, int)
{
    if (m_pRotor != nullptr && m_pRotor->GetSheet() != nullptr)
    {
        m_nRotorFrame += ROTOR_FRAMES_PER_PASS;
        if (m_nRotorFrame >= m_pRotor->GetSheet()->GetFrameCount())
            m_nRotorFrame = 0;
    }
    const auto* pKit =
        pUnit != nullptr ? VehicleCap<CVCapRotaryWing>(pDatabase, pUnit->m_nVehicle, VCAP_ROTARY_WING) : nullptr;
    if (pKit == nullptr)
        return 0;
    const BOOL bAtStop = pUnit->IsStoppedAtStopNode();
    int nHeight = pUnit->m_bSprint ? pKit->m_nSprintAltitude : pKit->m_nAltitude;
    if (bAtStop && pKit->m_bLandWhenStopped)
        nHeight = 0;
    else if (bAtStop && pUnit->m_bDefilade && pUnit->m_nDefiladeTime > 0 && pKit->m_bDefiladePopup)
        nHeight = pKit->m_nDefiladeAltitude;
    m_nAltitude = m_nHeight + GroundAt(pMap, pUnit->m_fX, pUnit->m_fY);
    m_nHeight = nHeight;
    return 0;
}

void CUCapRotaryWing::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float, float fZoom)
{
    if (m_pRotor == nullptr || pMap == nullptr)
        return;
    const CFrameSurface* pSheet = m_pRotor->GetSheet();
    const int nFrames = pSheet != nullptr ? pSheet->GetFrameCount() : 0;
    m_pRotor->SetFrame(m_nRotorFrame < nFrames ? m_nRotorFrame : std::max(0, nFrames - 1));
    m_pRotor->SetScale(fZoom);
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    m_pRotor->SetMapPosition(px, py, pMap->GetMapPicture());
}

BOOL CUCapRotaryWing::HitTest(int x, int y) { return m_bRotorLoaded && m_pRotor != nullptr && m_pRotor->HitTest(x, y); }

void CUCapRotaryWing::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                           BOOL, BOOL bSecondPicture, float fHeading)
{
    if (!m_bRotorLoaded || bSecondPicture)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    CDisplay* pDisplay = pMap != nullptr ? pMap->GetDisplay() : nullptr;
    if (pDisplay != nullptr && pDisplay->GetBackSurface() != nullptr)
        m_pRotor->Draw(pDisplay->GetBackSurface());
}

// ---------------------------------------------------------------------------
// Mine layer

CUCapMineLayer::CUCapMineLayer() : CUCapMarked(MINE_LAYER_MARKER) {}

CUCapMineLayer::CUCapMineLayer(const CVCapMineLayer* pVehicleCap) : CUCapMineLayer()
{
    if (pVehicleCap != nullptr)
        m_nMinefieldsLeft = pVehicleCap->m_nNumberOfMines;
}

void CUCapMineLayer::AddMenuItems(CMenu* pMenu)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(UNIT_MENU_POPUP) : nullptr;
    CMenu* pActions = pPopup != nullptr ? pPopup->GetSubMenu(UNIT_MENU_ACTIONS) : nullptr;
    if (pActions != nullptr)
        pActions->AppendMenu(MF_STRING, ID_UNIT_DEPLOY_MINES, "D&eploy Mines");
}

namespace
{
// Whether the point lies within the layer's ranges from the unit: at most
// the maximum range, and with the minimum-range flag at least the minimum
// (the kit's spare value).
BOOL InLayingRange(const CVCapMineLayer& kit, const CUnit& unit, float x, float y)
{
    const double dDistance = std::hypot(x - unit.m_fX, y - unit.m_fY);
    return dDistance <= kit.m_nMaxRange && !(kit.m_bUseMinRange && dDistance < kit.m_nSpare);
}
}  // namespace

BOOL CUCapMineLayer::SetTarget(CKDRDatabase* pDatabase, const CUnit* pUnit, BOOL bStart, float x, float y)
{
    if (!bStart)
        m_bDeploying = FALSE;
    if (!(x >= 0.0f && y >= 0.0f))
    {
        m_bDeploying = FALSE;
        return FALSE;
    }
    const auto* pKit =
        pUnit != nullptr ? VehicleCap<CVCapMineLayer>(pDatabase, pUnit->m_nVehicle, VCAP_MINE_LAYER) : nullptr;
    if (pKit == nullptr)
        return FALSE;
    if (x != m_fTargetX || y != m_fTargetY)
    {
        if (!InLayingRange(*pKit, *pUnit, x, y))
            return FALSE;
        m_fTargetX = x;
        m_fTargetY = y;
    }
    if (!bStart)
        return FALSE;
    m_bDeploying = TRUE;
    m_nDeployLeft = pKit->m_nTimeToDeploy;
    return TRUE;
}

DWORD CUCapMineLayer::Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap*, CKDRDatabase* pDatabase,
                             int nUnit, int nArray, CUnit* pUnit, int, int, int)
{
    if (pUnit == nullptr)
        return 0;
    const auto* pEmplace = dynamic_cast<const CUCapEmplace*>(pUnit->FindCapability(VCAP_EMPLACE));
    if ((pEmplace != nullptr && !pEmplace->m_bEmplaced) || !pUnit->IsStoppedAtStopNode())
    {
        m_bDeploying = FALSE;
        return 0;
    }
    if (pUnit->m_nSide != 0 && !m_bDeploying && timeNow >= m_timeDeploy &&
        !SetTarget(pDatabase, pUnit, TRUE, m_fTargetX, m_fTargetY))
        m_timeDeploy = CTimeSpan(START_TIME_NEVER);
    if (!m_bDeploying)
        return 0;
    const auto* pKit = VehicleCap<CVCapMineLayer>(pDatabase, nVehicle, VCAP_MINE_LAYER);
    if (pKit == nullptr)
        return 0;
    if (!InLayingRange(*pKit, *pUnit, m_fTargetX, m_fTargetY))
    {
        m_bDeploying = FALSE;
        m_timeDeploy = CTimeSpan(START_TIME_NEVER);
        return 0;
    }
    m_nDeployLeft = std::max(0, m_nDeployLeft - std::max(0, nElapsed));
    if (m_nDeployLeft > 0)
        return 0;
    m_bDeploying = FALSE;
    // Across the line from the layer to the point.
    const double dBearing = std::atan2(m_fTargetX - pUnit->m_fX, m_fTargetY - pUnit->m_fY);
    long nFacing = std::lround(dBearing * kMilsInCircle / (2.0 * std::numbers::pi)) + kQuarterCircleMils;
    nFacing = ((nFacing % kMilsInCircle) + kMilsInCircle) % kMilsInCircle;
    CMissionService* pMission = GetMissionService();
    while (m_nMinefieldsLeft > 0)
    {
        if (pMission != nullptr)
            pMission->PlaceObstacleAndSend(static_cast<float>(pKit->m_nWidth), static_cast<float>(pKit->m_nLength),
                                           pKit->m_nDensity, m_fTargetX, m_fTargetY, static_cast<float>(nFacing),
                                           pUnit->m_nSide, nUnit, nArray);
        --m_nMinefieldsLeft;
        m_timeDeploy = CTimeSpan(START_TIME_NEVER);
    }
    return 0;
}

void CUCapMineLayer::Reset(float, int, int)
{
    m_nDeployLeft = 0;
    m_fTargetX = 0.0f;
    m_fTargetY = 0.0f;
    m_bDeploying = FALSE;
    m_timeDeploy = CTimeSpan(0);
}

void CUCapMineLayer::GetStatusText(CString& strText) const
{
    strText.Empty();
    if (m_bDeploying)
    {
        strText = "- Deploying mines\r\n";
        if (m_nDeployLeft > 0)
        {
            CString strTime;
            strTime.Format("- Time to deploy: %d s\r\n", m_nDeployLeft);
            strText += strTime;
        }
    }
    else if (m_nMinefieldsLeft <= 0)
    {
        strText = "- Cannot deploy.  No minefields remaining\r\n";
    }
}

void CUCapMineLayer::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float, float fZoom)
{
    PlaceMarker(pMap, x, y, fZoom);
}

BOOL CUCapMineLayer::HitTest(int x, int y)
{
    return m_bDeploying && m_pMarker != nullptr && m_pMarker->HitTest(x, y);
}

void CUCapMineLayer::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                          BOOL bVisible, BOOL, float fHeading)
{
    if (!bVisible || !m_bDeploying || !m_bMarkerLoaded)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    BlitMarker(pMap);
}
