// The battery's firing cycle, its missions and what it shows. The queue's
// own step (CFireMissionArray::ProcessFirst) lays each volley and fires
// the round once the shot is up; Update counts the phases down between
// those steps, one phase per pass, and freezes while the unit is
// suppressed. A battery the computer commands picks its munition by what
// hurts the target most surely: it takes a type only while rounds of it
// are left, so a battery out of its first choice still fires the others.
#include "units/UCapIndirectFire.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDRGameMap.h"
#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/Vehicle.h"
#include "mission/GameTime.h"
#include "platform/ui/Command.h"
#include "platform/ui/Display.h"
#include "shell/PlayService.h"
#include "units/Unit.h"
#include "units/UnitMoveSupport.h"

#include <cmath>

namespace
{
// The order in which the computer's battery tries its munitions.
constexpr int kAIMunitionOrder[] = {MUNITION_DPICM, MUNITION_BBDPICM, MUNITION_HE, MUNITION_HERAP, MUNITION_PGM};
// The types GetAverageEffect counts, in order.
constexpr int kEffectMunitions[] = {MUNITION_HE, MUNITION_DPICM, MUNITION_SMOKE};
// ProcessFirst's flags this capability reads.
constexpr int kStepFired = 0x4;
// Passes a shot's flash lasts: stages 1 to 3 show a picture each.
constexpr int kLastShotStage = 4;
// Metres ahead of the unit along its heading where the flash shows.
constexpr float kFlashOffset = 8.0f;
// A mission name longer than the column is cut to this and "..." follows.
constexpr int kNameColumn = 20;
constexpr int kNameCut = 17;

CVCapIndirectFire* VehicleGun(CKDRDatabase* pDatabase, int nVehicle)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(nVehicle) : nullptr;
    return pVehicle != nullptr ? dynamic_cast<CVCapIndirectFire*>(pVehicle->FindCapability(VCAP_INDIRECT_FIRE))
                               : nullptr;
}

// The calendar time of the game now: the clock's start plus what passed.
CTime GameTimeNow(CTimeSpan tsFallback)
{
    const CPlayService* pPlay = GetPlayService();
    const CGameTime* pClock = pPlay != nullptr ? pPlay->GetGameClock() : nullptr;
    if (pClock == nullptr)
        return CTime(0) + tsFallback;
    return pClock->m_tStart + pClock->m_tsElapsed;
}

CString JoinLines(const CStringArray& lines)
{
    CString text;
    for (int i = 0; i < lines.GetSize(); ++i)
    {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}
}  // namespace

BOOL CUCapIndirectFire::IsBatteryReady(CUnit* pUnit)
{
    return pUnit != nullptr && pUnit->IsStoppedAtStopNode() && pUnit->IsEmplaced(FALSE) && !pUnit->HasPassengers() &&
           !pUnit->IsCarried() && !pUnit->HasDismounted() && !pUnit->m_bDestroyed;
}

DWORD CUCapIndirectFire::Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap*, CKDRDatabase* pDatabase,
                                int nPass1, int nPass2, CUnit* pUnit, int nPass3, int, int)
{
    if (pUnit == nullptr || pUnit->m_nSuppression != 0)
        return 0;
    CVCapIndirectFire* pGun = VehicleGun(pDatabase, nVehicle);
    if (pGun == nullptr)
        return 0;

    const BOOL bReady = IsBatteryReady(pUnit);
    float fAzimuth = m_fAzimuth;
    const int nStep =
        m_pMissions->ProcessFirst(nElapsed, GameTimeNow(timeNow), pUnit->m_fHeading, pUnit->m_fX, pUnit->m_fY, this,
                                  pGun, pDatabase, bReady, fAzimuth, pUnit->m_nSide, pUnit, nPass1, nPass2, nPass3);
    DWORD dwResult = 0;
    if (nStep & kStepFired)
        dwResult |= UCAP_EVENT_VOLLEY_LAID;
    if (!pGun->m_bAllRound)
    {
        if (nStep & FIRE_STEP_AZIMUTH)
        {
            dwResult |= UCAP_EVENT_FIRING_DIRECTION;
            m_fAzimuth = fAzimuth;
        }
        if (nStep & FIRE_STEP_QUEUE_EMPTY)
            dwResult |= UCAP_EVENT_REAIM;
    }

    if (!bReady)
    {
        ClearCycle();
        dwResult |= UCAP_EVENT_REAIM;
    }
    else
    {
        if (m_bTraversing)
        {
            m_nTraverseLeft -= nElapsed;
            if (m_nTraverseLeft < 1)
            {
                m_bTraversing = FALSE;
                m_bComputing = TRUE;
            }
        }
        else if (m_bComputing)
        {
            m_nComputeLeft -= nElapsed;
            if (m_nComputeLeft < 1)
            {
                m_bComputing = FALSE;
                m_bLoading = TRUE;
            }
        }
        else if (m_bLoading)
        {
            m_nLoadLeft -= nElapsed;
            if (m_nLoadLeft < 1)
            {
                m_bLoading = FALSE;
                m_bShot = TRUE;
                m_nShotStage = 0;
                ++m_nVolleyCount;
                if (m_nVolleyCount == m_nVolleySize)
                {
                    m_nVolleyCount = 0;
                    if (m_bVolleyReport)
                        dwResult = UCAP_EVENT_VOLLEY_DONE;
                }
            }
        }
        if (m_bUnloading)
        {
            m_nLoadLeft -= nElapsed;
            if (m_nLoadLeft < 1)
            {
                ClearCycle();
                dwResult |= UCAP_EVENT_REAIM;
            }
        }
    }

    if (m_bShot)
    {
        if (nElapsed != 0)
            ++m_nShotStage;
        if (m_nShotStage >= kLastShotStage)
        {
            m_bShot = FALSE;
            m_nShotStage = 0;
        }
    }
    return dwResult;
}

void CUCapIndirectFire::AddMenuItems(CMenu* pMenu)
{
    CMenu* pPopup = pMenu != nullptr ? pMenu->GetSubMenu(UNIT_MENU_POPUP) : nullptr;
    CMenu* pActions = pPopup != nullptr ? pPopup->GetSubMenu(UNIT_MENU_ACTIONS) : nullptr;
    if (pActions != nullptr)
        pActions->AppendMenu(MF_STRING, ID_UNIT_FIRE_MISSION, "&Fire Mission");
}

BOOL CUCapIndirectFire::OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap*, int)
{
    if (unit_move::IsDeployment() || (!m_bTraversing && !m_bComputing && !m_bLoading))
        return TRUE;
    if (m_pMissions->IsFirstOutOfRange(x, y, pDatabase))
        ClearCycle();
    return TRUE;
}

BOOL CUCapIndirectFire::AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase, CVehicle*)
{
    const float fScale = m_pFlashSprite != nullptr ? m_pFlashSprite->GetScale() : 1.0f;
    delete m_pFlashSprite;
    m_pFlashSprite = new CSprite;
    m_pFlashSprite->SetScale(fScale);
    m_bFlashLoaded = FALSE;
    const auto* pGun = dynamic_cast<const CVCapIndirectFire*>(pVehicleCap);
    CPieceArray* pPieces = pDatabase != nullptr ? pDatabase->GetPieceArray() : nullptr;
    if (pGun == nullptr || pPieces == nullptr)
        return TRUE;
    const int nPiece = pPieces->FindPiece(pGun->m_strMuzzleFlash[0]);
    CPiece* pPiece = nPiece >= 0 ? pPieces->GetPiece(nPiece) : nullptr;
    if (CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr)
    {
        pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
        delete m_pFlashSprite;
        m_pFlashSprite = new CSprite(pSheet);
        m_pFlashSprite->SetScale(fScale);
        m_bFlashLoaded = TRUE;
    }
    return TRUE;
}

void CUCapIndirectFire::UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y,
                                     float fHeading, float)
{
    if (!m_bShot || m_nShotStage < 1 || m_nShotStage >= kLastShotStage || pMap == nullptr)
        return;
    const CVCapIndirectFire* pGun = VehicleGun(pDatabase, nVehicle);
    CPieceArray* pPieces = pDatabase != nullptr ? pDatabase->GetPieceArray() : nullptr;
    if (pGun == nullptr || pPieces == nullptr)
        return;
    const int nPiece = pPieces->FindPiece(pGun->m_strMuzzleFlash[m_nShotStage - 1]);
    CPiece* pPiece = nPiece >= 0 ? pPieces->GetPiece(nPiece) : nullptr;
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
    {
        m_bFlashLoaded = FALSE;
        return;
    }
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    const float fScale = m_pFlashSprite != nullptr ? m_pFlashSprite->GetScale() : 1.0f;
    delete m_pFlashSprite;
    m_pFlashSprite = new CSprite(pSheet);
    m_pFlashSprite->SetScale(fScale);
    m_bFlashLoaded = TRUE;
    const float fX = x + kFlashOffset * std::sin(fHeading);
    const float fY = y + kFlashOffset * std::cos(fHeading);
    int px = static_cast<int>(fX);
    int py = static_cast<int>(fY);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(fX, fY, &px, &py);
    m_pFlashSprite->SetMapPosition(px, py, pMap->GetMapPicture());
    m_pFlashSprite->SetFrame(CUnit::FrameForHeading(fHeading, pSheet->GetFrameCount()));
}

void CUCapIndirectFire::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y,
                             float fScale, BOOL, BOOL, float fHeading)
{
    if (!m_bShot || m_nShotStage < 1 || m_nShotStage >= kLastShotStage || pMap == nullptr)
        return;
    UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
    CDisplay* pDisplay = pMap->GetDisplay();
    if (!m_bFlashLoaded || pDisplay == nullptr || pDisplay->GetBackSurface() == nullptr)
        return;
    const CRect rcSprite(m_pFlashSprite->GetX(), m_pFlashSprite->GetY(),
                         m_pFlashSprite->GetX() + m_pFlashSprite->GetWidth(),
                         m_pFlashSprite->GetY() + m_pFlashSprite->GetHeight());
    CRect rcShown;
    if (rcShown.IntersectRect(rcSprite, CRect(0, 0, pDisplay->GetWidth(), pDisplay->GetHeight())))
        m_pFlashSprite->Draw(pDisplay->GetBackSurface());
}

void CUCapIndirectFire::Reset(float, int, int)
{
    delete m_pMissions;
    m_pMissions = new CFireMissionArray;
    ClearCycle();
    m_bShot = FALSE;
    m_nShotStage = 0;
    m_bVolleyReport = FALSE;
    m_nVolleySize = 0;
    m_nVolleyCount = 0;
    m_nStoredValue1 = 0;
    m_nStoredValue2 = kUnset;
    m_nStoredValue3 = kUnset;
    m_bStoredFlag1 = FALSE;
    m_bStoredFlag2 = FALSE;
}

BOOL CUCapIndirectFire::AddFireMission(float fX, float fY, const CUnit* pUnit, CKDRDatabase* pDatabase)
{
    const CPlayService* pPlay = GetPlayService();
    if (pUnit == nullptr || pDatabase == nullptr || pPlay == nullptr)
        return FALSE;
    const SFireOrder order = pPlay->GetFireOrder();
    if (GetRoundsOfType(order.nMunition, pDatabase) == 0)
        return FALSE;
    const int nMunition = GetMunitionOfType(order.nMunition, pDatabase);
    const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(nMunition);
    if (pAmmo == nullptr || std::hypot(fX - pUnit->m_fX, fY - pUnit->m_fY) > pAmmo->m_nRange)
        return FALSE;
    const CTime tImpact = order.nMethod == FIRE_TOT ? CTime(order.nTOT) : CTime(0);
    auto* pMission = new CFireMission(fX, fY, order.nMunition, nMunition, CTime(0), tImpact, order.nVolleys,
                                      order.nSheaf, order.nAttitude, order.nMethod, order.nOption, order.strLabel);
    if (m_pMissions->AddMission(pMission) == kUnset)
    {
        delete pMission;
        return FALSE;
    }
    return TRUE;
}

BOOL CUCapIndirectFire::AddAIFireMission(float fFromX, float fFromY, float fTargetX, float fTargetY,
                                         CVehicle* pTargetVehicle, CKDRDatabase* pDatabase)
{
    if (!m_pMissions->IsEmpty() || pTargetVehicle == nullptr || pDatabase == nullptr)
        return FALSE;
    const double dDistance = std::hypot(static_cast<double>(fTargetX) - fFromX, static_cast<double>(fTargetY) - fFromY);
    for (const int nType : kAIMunitionOrder)
    {
        const int nPosition = GetPositionOfType(nType, pDatabase);
        if (nPosition < 0 || GetRoundsAt(nPosition) <= 0)
            continue;
        const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(m_ammo[static_cast<size_t>(nPosition)].m_nIndex);
        if (pAmmo == nullptr || dDistance > pAmmo->m_nRange)
            continue;
        const double dEffect = pTargetVehicle->GetMunitionValue(nType) * static_cast<double>(pAmmo->m_fLethality);
        if (std::trunc(dEffect + 0.5) < 1.0)
            continue;
        auto* pMission = new CFireMission(fTargetX, fTargetY, nType, m_ammo[static_cast<size_t>(nPosition)].m_nIndex,
                                          CTime(0), CTime(0), 1, 0, 0, FIRE_WHEN_READY, 0, CString());
        if (m_pMissions->AddMission(pMission) == kUnset)
        {
            delete pMission;
            return FALSE;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL CUCapIndirectFire::CancelFireMission(float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                                          int nVehicle)
{
    const CVCapIndirectFire* pGun = VehicleGun(pDatabase, nVehicle);
    if (pGun == nullptr)
        return FALSE;
    const int nIndex = m_pMissions->CancelMission(fX, fY, pMap);
    if (nIndex == kUnset)
        return FALSE;
    if (nIndex != 0)
        return TRUE;
    if (m_bLoading && !unit_move::IsDeployment())
    {
        m_bLoading = FALSE;
        m_bUnloading = TRUE;
        m_nLoadLeft = 2 * pGun->m_nShotTime;
    }
    else
        ClearCycle();
    return TRUE;
}

int CUCapIndirectFire::GetRoundsOfType(int nMunitionType, CKDRDatabase* pDatabase) const
{
    return GetRoundsAt(GetPositionOfType(nMunitionType, pDatabase));
}

int CUCapIndirectFire::GetMunitionOfType(int nMunitionType, CKDRDatabase* pDatabase) const
{
    const int nPosition = GetPositionOfType(nMunitionType, pDatabase);
    return nPosition >= 0 ? m_ammo[static_cast<size_t>(nPosition)].m_nIndex : -1;
}

void CUCapIndirectFire::GetStatusText(CString& strText, const CUnit* pUnit, CKDRDatabase*) const
{
    CStringArray lines;
    const BOOL bReady = IsBatteryReady(const_cast<CUnit*>(pUnit));
    if (!bReady)
        lines.Add("- Unit unable to fire missions due to current unit status");
    else if (m_bShot)
        lines.Add("- " + (pUnit != nullptr ? pUnit->m_strName : CString()) + ", SHOT!");
    else if (m_bTraversing)
        lines.Add("- Unit is traversing to fire next mission");
    else if (m_bComputing)
        lines.Add("- Unit is computing data to fire next mission");
    else
    {
        if (m_bLoading)
            lines.Add("- Unit is loading a round and preparing to fire mission");
        if (m_bUnloading)
            lines.Add("- Unit is unloading a round from canceld fire mission");
    }
    const int nMissions = m_pMissions->GetSize();
    if (nMissions > 0)
    {
        int nPending = nMissions;
        if (bReady)
        {
            lines.Add("- Unit is processing a fire mission");
            nPending = nMissions - 1;
        }
        if (nPending == 1)
            lines.Add(CString("- Unit has ") + " 1 pending fire mission queued");
        else if (nPending > 1)
        {
            CString line;
            line.Format("- Unit has %d pending fire missions queued", nPending);
            lines.Add(line);
        }
    }
    else
        lines.Add("- Unit has no fire missions pending");
    strText = JoinLines(lines);
}

float CUCapIndirectFire::GetAverageEffect(CKDRDatabase* pDatabase, CVehicle* pVehicle, float& fEffect) const
{
    fEffect = 0.0f;
    if (pDatabase == nullptr || pVehicle == nullptr)
        return kUnsetFloat;
    double dRange = 0.0;
    double dEffect = 0.0;
    int nCounted = 0;
    for (const int nType : kEffectMunitions)
    {
        const CIFAmmo* pAmmo = nullptr;
        for (const CAmmoEntry& entry : m_ammo)
        {
            const CIFAmmo* pCandidate = pDatabase->GetIFAmmo(entry.m_nIndex);
            if (pCandidate != nullptr && (pCandidate->m_nMunitionType & nType) != 0 && entry.m_nNumber > 0)
            {
                pAmmo = pCandidate;
                break;
            }
        }
        if (pAmmo == nullptr)
            continue;
        if (nType == MUNITION_SMOKE)
        {
            const auto* pSmoke = dynamic_cast<const CIFCapSmoke*>(pAmmo->GetCapabilities()->FindByType(IFCAP_SMOKE));
            if (pSmoke == nullptr)
                continue;
            dEffect += pSmoke->m_fRadius;
        }
        else
            dEffect += pAmmo->m_nBlastRadius;
        dRange += pAmmo->m_nRange;
        ++nCounted;
    }
    if (nCounted == 0)
        return 0.0f;
    fEffect = static_cast<float>(dEffect / nCounted);
    return static_cast<float>(dRange / nCounted);
}

void CUCapIndirectFire::GetMissionRows(CStringList& lines, CKDRGameMap* pMap, const CString& strUnitName) const
{
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    for (int i = 0; i < m_pMissions->GetSize(); ++i)
    {
        const CFireMission* pMission = m_pMissions->GetAt(i);
        if (pMission == nullptr)
            continue;
        CString row = pMission->m_strLabel.IsEmpty() ? strUnitName : pMission->m_strLabel;
        if (row.GetLength() > kNameColumn)
            row = row.Left(kNameCut) + "...";
        while (row.GetLength() < kNameColumn)
            row += ' ';
        row += '\t';
        if (pElevation != nullptr)
            row += pElevation->GetGridReference(pMission->m_fX, pMission->m_fY);
        row += '\t';
        CString rounds;
        rounds.Format("%2d ", pMission->m_nVolleys);
        row += rounds + CFireMission::GetMunitionName(pMission->m_nMunitionType) + '\t';
        if (pMission->m_tImpactTime == CTime(0))
        {
            if (pMission->m_nMethod == FIRE_WHEN_READY)
                row += "When Ready";
            else if (pMission->m_nMethod == FIRE_IMMEDIATE)
                row += "Immediate";
        }
        else
            row += CFireMission::FormatTime(pMission->m_tImpactTime);
        lines.AddTail(row);
    }
}
