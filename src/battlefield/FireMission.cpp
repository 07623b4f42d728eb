// A fire mission's step for its battery, and a round's flight and splash.
// Two rules differ from the first design because it gave plainly wrong
// answers: a munition whose range is 0 or less ends its mission as out of
// range before the time of flight would divide by it, and the traverse
// shifts count an azimuth inside an arc that runs across north as inside
// (see CVCapIndirectFire::GetShiftCount). The battery's laying state is
// reset with its own ClearCycle, which leaves the shot flag to run out so
// that the last round's flash still shows.
#include "battlefield/FireMission.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/Obstacle.h"
#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VCapIndirectFire.h"
#include "net/MultiplayerSession.h"
#include "net/NetUpdate.h"
#include "platform/core/Random.h"
#include "platform/core/Unset.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "platform/ui/GdiObject.h"
#include "shell/PlayService.h"
#include "shell/SoundService.h"
#include "units/KDRUnits.h"
#include "units/UCapIndirectFire.h"
#include "units/Unit.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CFireMission, CObject, 1)

namespace
{
constexpr double kMilsPerRadian = 1018.5916;
constexpr double kRadiansPerMil = 0.0009817477;
constexpr int kMilsPerCircle = 6400;
// A round's spread: up to this many metres east, and this many or none north.
constexpr double kSpreadMetres = 5.0;
// Splash counter values: in the air, the splash, the last frame shown.
constexpr int kInTheAir = 0;
constexpr int kSplash = 1;
constexpr int kLastFrame = 3;
// Munition bits whose blast strikes units.
constexpr int kBlastMunitions = MUNITION_HE | MUNITION_HERAP | MUNITION_DPICM | MUNITION_BBDPICM | MUNITION_NUCLEAR;
// Log lines: the state column's width.
constexpr int kStateColumn = 20;
constexpr LONG kSecondsPerDay = 86400;

// "%D, %H:%M:%S": whole days since 1 January 1970, then the time of day.
CString FormatGameTime(CTime t)
{
    const long long nSeconds = t.GetTime();
    long long nDays = nSeconds / kSecondsPerDay;
    long long nRest = nSeconds % kSecondsPerDay;
    if (nRest < 0)
    {
        nRest += kSecondsPerDay;
        --nDays;
    }
    CString text;
    text.Format("%lld, %02lld:%02lld:%02lld", nDays, nRest / 3600, nRest / 60 % 60, nRest % 60);
    return text;
}
// A metre position rounded for the log's records, kept inside an int.
int RoundForRecord(float f)
{
    const double d = std::trunc(static_cast<double>(f) + 0.5);
    return static_cast<int>(std::clamp(d, -2147483648.0, 2147483647.0));
}
}  // namespace

CFireMission::CFireMission(float fX, float fY, int nMunitionType, int nMunitionIndex, CTime tFire, CTime tImpact,
                           int nVolleys, int nSheaf, int nAttitude, int nMethod, int nOption,
                           const CString& strLabel)
    : m_fX(fX),
      m_fY(fY),
      m_nMunitionType(nMunitionType),
      m_nMunitionIndex(nMunitionIndex),
      m_tFireTime(tFire),
      m_tImpactTime(tImpact),
      m_nVolleys(nVolleys),
      m_nSheaf(nSheaf),
      m_nAttitude(nAttitude),
      m_nOption(nOption),
      m_nMethod(nMethod),
      m_strLabel(strLabel)
{
}

CFireMission::~CFireMission() { FreeSprite(); }

CFireMission* CFireMission::NewInFlight(float fAimX, float fAimY, int nAttitude, int nMunitionIndex,
                                        int nMunitionType, CTime tImpact, int nSide)
{
    auto* pRound = new CFireMission;
    // Both offsets are drawn in this order from the seeded generator: the
    // east one spreads evenly, the north one is all or nothing.
    const double dEast = static_cast<double>(Rand()) / RAND_MAXIMUM * kSpreadMetres;
    const double dNorth = std::trunc(static_cast<double>(Rand()) / RAND_MAXIMUM + 0.5) * kSpreadMetres;
    pRound->m_fX = static_cast<float>(fAimX + dEast);
    pRound->m_fY = static_cast<float>(fAimY + dNorth);
    pRound->m_nAttitude = nAttitude;
    pRound->m_nMunitionIndex = nMunitionIndex;
    pRound->m_nMunitionType = nMunitionType;
    pRound->m_tImpactTime = tImpact;
    pRound->m_nVolleys = kInTheAir;
    pRound->m_nSheaf = nSide;
    return pRound;
}

void CFireMission::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fX << m_fY << static_cast<WORD>(m_nMunitionType) << static_cast<WORD>(m_nMunitionIndex);
        ar << m_tFireTime << m_tImpactTime;
        ar << static_cast<WORD>(m_nVolleys) << static_cast<WORD>(m_nSheaf) << static_cast<WORD>(m_nAttitude)
           << static_cast<WORD>(m_nOption) << static_cast<WORD>(m_nMethod);
        ar << m_strLabel;
        return;
    }
    float x = 0.0f, y = 0.0f;
    short type = 0, index = 0, volleys = 0, sheaf = 0, attitude = 0, option = 0, method = 0;
    CTime tFire, tImpact;
    CString label;
    ar >> x >> y >> type >> index >> tFire >> tImpact >> volleys >> sheaf >> attitude >> option >> method;
    ar >> label;
    if (!std::isfinite(x) || !std::isfinite(y))
        ar.ThrowArchiveException(CArchiveException::generic, "a fire mission's target is no number");
    m_fX = x;
    m_fY = y;
    m_nMunitionType = type;
    m_nMunitionIndex = index;
    m_tFireTime = tFire;
    m_tImpactTime = tImpact;
    m_nVolleys = volleys;
    m_nSheaf = sheaf;
    m_nAttitude = attitude;
    m_nOption = option;
    m_nMethod = method;
    m_strLabel = label;
}

// ---------------------------------------------------------------------------
// Geometry

void CFireMission::GetRangeAndAzimuth(float fFromX, float fFromY, double& dDistance, int& nAzimuth) const
{
    const double dx = static_cast<double>(m_fX) - fFromX;
    const double dy = static_cast<double>(m_fY) - fFromY;
    dDistance = std::sqrt(dy * dy + dx * dx);
    double dMils = std::atan2(dx, dy) * kMilsPerRadian;
    if (!std::isfinite(dMils))
        dMils = 0.0;
    while (dMils > kMilsPerCircle)
        dMils -= kMilsPerCircle;
    while (dMils < 0.0)
        dMils += kMilsPerCircle;
    nAzimuth = static_cast<int>(dMils + 0.5);
}

int CFireMission::TimeOfFlight(double dDistance, int nRange, int nGunTimeOfFlight)
{
    if (nRange <= 0 || !std::isfinite(dDistance))
        return 0;
    const double dSeconds = ((dDistance / nRange) * 0.5 + 0.5) * nGunTimeOfFlight + 0.5;
    return dSeconds < 2147483647.0 ? static_cast<int>(dSeconds) : 2147483647;
}

// ---------------------------------------------------------------------------
// The battery's step

int CFireMission::Step(CTime tNow, float fHeading, float fUnitX, float fUnitY, CUCapIndirectFire* pUnitCap,
                       CVCapIndirectFire* pVehicleCap, CKDRDatabase* pDatabase, BOOL bReady, float& fAzimuth,
                       int nSide, CUnit* pUnit, int nPass1, int nPass2, int nPass3)
{
    if (pUnitCap == nullptr || pVehicleCap == nullptr)
        return FIRE_STEP_DONE;
    const int nPosition = pUnitCap->GetPositionOfType(m_nMunitionType, pDatabase);
    const CIFAmmo* pAmmo = pDatabase != nullptr ? pDatabase->GetIFAmmo(m_nMunitionIndex) : nullptr;
    // No munition, or one that reaches nowhere: the mission cannot be fired.
    if (pAmmo == nullptr || pAmmo->m_nRange <= 0)
        return pUnitCap->ClearCycle();

    double dDistance = 0.0;
    int nAzimuth = 0;
    GetRangeAndAzimuth(fUnitX, fUnitY, dDistance, nAzimuth);
    const int nFlight = TimeOfFlight(dDistance, pAmmo->m_nRange, pVehicleCap->m_nTimeOfFlight);

    if (pUnitCap->m_bTraversing || pUnitCap->m_bComputing || pUnitCap->m_bLoading)
        return FIRE_STEP_BUSY;

    BOOL bFirstVolley = TRUE;
    if (pUnitCap->m_bShot && pUnitCap->m_nShotStage == 1)
    {
        CFireMission* pRound = NewInFlight(m_fX, m_fY, m_nAttitude, m_nMunitionIndex, m_nMunitionType,
                                           tNow + CTimeSpan(nFlight), nSide);
        pUnitCap->FireRound(m_nMunitionIndex, pVehicleCap);
        CPlayService* pPlay = GetPlayService();
        CFireMissionArray* pRounds = pPlay != nullptr ? pPlay->GetRoundsInFlight() : nullptr;
        if (pRounds != nullptr)
        {
            pRounds->AddRoundInFlight(pRound, pDatabase);
            // The other player sees the round fly only while the link is up.
            if (pPlay->IsNetworkGame() && pPlay->GetSession()->m_bStarted)
            {
                CNetUpdateFireMission record;
                record.m_strFiringSound = pVehicleCap->m_strShotSound;
                record.Send(pRound, kUnset, kUnset, kUnset, 0);
            }
        }
        else
            delete pRound;
        --m_nVolleys;
        if (m_nVolleys <= 0)
        {
            m_nVolleys = 0;
            return pUnitCap->ClearCycle();
        }
        m_nMethod = FIRE_WHEN_READY;
        bFirstVolley = FALSE;
    }
    else if (m_nMethod == FIRE_TOT)
    {
        if (m_tFireTime == CTime(0))
        {
            const long long nLead = static_cast<long long>(pVehicleCap->m_nShotTime) + pVehicleCap->m_nComputeTime +
                                    nFlight +
                                    static_cast<long long>(pVehicleCap->m_nTraverseTime) *
                                        pVehicleCap->GetShiftCount(fHeading, nAzimuth);
            const long long nFire = static_cast<long long>(m_tImpactTime.GetTime()) - nLead;
            // The time on target cannot be met.
            if (nFire < tNow.GetTime())
                return pUnitCap->ClearCycle();
            m_tFireTime = CTime(static_cast<LONG>(nFire));
            return FIRE_STEP_WAITING;
        }
        if (tNow < m_tFireTime)
            return FIRE_STEP_WAITING;
    }

    if (std::trunc(dDistance) > pAmmo->m_nRange)
        return pUnitCap->ClearCycle();
    if (pUnitCap->GetRoundsAt(nPosition) <= 0)
        return pUnitCap->ClearCycle();
    if (bFirstVolley &&
        (pUnit == nullptr || !pUnit->CanFireMunition(nPass1, nPass2, nPass3, m_nMunitionType, pDatabase, nullptr)))
        return FIRE_STEP_DONE;
    if (!bReady)
        return FIRE_STEP_WAITING;

    int nFlags = 0;
    long long nExtra = 0;
    if (bFirstVolley)
    {
        const int nShifts = pVehicleCap->GetShiftCount(fHeading, nAzimuth);
        if (nShifts > 0)
        {
            pUnitCap->m_bTraversing = TRUE;
            pUnitCap->m_nTraverseLeft = pVehicleCap->m_nTraverseTime * nShifts;
            pUnitCap->m_bComputing = FALSE;
            nExtra += pVehicleCap->m_nTraverseTime;
        }
        else
        {
            pUnitCap->m_bTraversing = FALSE;
            pUnitCap->m_nTraverseLeft = 0;
            pUnitCap->m_bComputing = TRUE;
        }
        pUnitCap->m_nComputeLeft = pVehicleCap->m_nComputeTime;
        pUnitCap->m_bLoading = FALSE;
        nExtra += pVehicleCap->m_nComputeTime;
        nFlags = FIRE_STEP_AZIMUTH;
        fAzimuth = static_cast<float>(nAzimuth * kRadiansPerMil);
    }
    else
    {
        pUnitCap->m_bTraversing = FALSE;
        pUnitCap->m_nTraverseLeft = 0;
        pUnitCap->m_bComputing = FALSE;
        pUnitCap->m_nComputeLeft = 0;
        pUnitCap->m_bLoading = TRUE;
    }
    pUnitCap->m_nLoadLeft = pVehicleCap->m_nShotTime;
    nExtra += pVehicleCap->m_nShotTime;
    m_tFireTime = CTime(0);
    m_tImpactTime = tNow + CTimeSpan(static_cast<LONG>(nFlight + nExtra));
    return nFlags | FIRE_STEP_LAID;
}

// ---------------------------------------------------------------------------
// The round's flight

int CFireMission::AdvanceInFlight(int nPass1, int nPass2, int nPass3, CKDRDatabase* pDatabase, CKDRUnits* pUnits,
                                  CTime tNow, BOOL& bSplashed, CTimeSpan tsElapsed)
{
    bSplashed = FALSE;
    if (pDatabase == nullptr || pUnits == nullptr || !pDatabase->HasVehicleList())
        return 0;
    if (tNow < m_tImpactTime)
        return 1;
    ++m_nVolleys;
    if (m_nVolleys > kLastFrame)
    {
        bSplashed = TRUE;
        return 0;
    }
    if (m_nVolleys != kSplash)
        return 1;

    bSplashed = TRUE;
    const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(m_nMunitionIndex);
    if (pAmmo == nullptr)
        return 0;
    if (CSoundService* pSound = GetSoundService(); pSound != nullptr && !pAmmo->m_strSplashSound.IsEmpty())
        pSound->PlayArtillerySound(pAmmo->m_strSplashSound);
    if (m_nMunitionType & kBlastMunitions)
        pUnits->ApplyArtilleryImpact(this, pDatabase, nPass1, nPass2, nPass3, tsElapsed);
    if (m_nMunitionType & MUNITION_PGM)
        pUnits->ApplyFireMissionToUnits(this, pDatabase, nPass1, nPass2, nPass3, tsElapsed);
    // What the splash leaves lies in the mission's own collections.
    if (CPlayService* pPlay = GetPlayService())
    {
        for (const int nMunition : {MUNITION_SMOKE, MUNITION_ILLUM, MUNITION_FASCAM, MUNITION_CHEMICAL})
        {
            if (m_nMunitionType & nMunition)
                pPlay->LeaveSplashEffect(nMunition, this);
        }
    }
    return 1;
}

int CFireMission::GetFASCAMParameters(CKDRDatabase* pDatabase, float& fWidth, float& fLength, int& nDensity,
                                      int& bLimited, int& nDuration) const
{
    fWidth = 0.0f;
    fLength = 0.0f;
    nDensity = 0;
    bLimited = 0;
    nDuration = 0;
    const CIFAmmo* pAmmo = pDatabase != nullptr && pDatabase->HasVehicleList() ? pDatabase->GetIFAmmo(m_nMunitionIndex)
                                                                               : nullptr;
    const CIFAmmoCapArray* pCaps = pAmmo != nullptr ? pAmmo->GetCapabilities() : nullptr;
    const auto* pField = pCaps != nullptr ? dynamic_cast<const CIFCapFASCAM*>(pCaps->FindByType(IFCAP_FASCAM)) : nullptr;
    if (pField == nullptr)
        return 0;
    fWidth = static_cast<float>(pField->m_nWidth);
    fLength = static_cast<float>(pField->m_nLength);
    nDensity = pField->m_nDensity;
    bLimited = pField->m_bLimitedDuration ? 1 : 0;
    nDuration = pField->m_nDuration;
    return 1;
}

int CFireMission::GetChemParameters(CKDRDatabase* pDatabase, float& fRadius, int& nDensity, int& nDuration) const
{
    fRadius = 0.0f;
    nDensity = 0;
    nDuration = 0;
    const CIFAmmo* pAmmo = pDatabase != nullptr && pDatabase->HasVehicleList() ? pDatabase->GetIFAmmo(m_nMunitionIndex)
                                                                               : nullptr;
    const CIFAmmoCapArray* pCaps = pAmmo != nullptr ? pAmmo->GetCapabilities() : nullptr;
    const auto* pAgent = pCaps != nullptr ? dynamic_cast<const CIFCapChem*>(pCaps->FindByType(IFCAP_CHEM)) : nullptr;
    if (pAgent == nullptr)
        return 0;
    fRadius = static_cast<float>(pAgent->m_nRadius);
    nDensity = pAgent->m_nDensity;
    nDuration = pAgent->m_nDuration;
    return 1;
}

// ---------------------------------------------------------------------------
// Pictures and log lines

void CFireMission::FreeSprite()
{
    delete m_pSprite;
    m_pSprite = nullptr;
    m_bSpriteReady = FALSE;
}

int CFireMission::PrepareSprite(CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nKind)
{
    FreeSprite();
    if (pDatabase == nullptr || pDatabase->GetIFAmmo(m_nMunitionIndex) == nullptr)
        return 0;
    CFrameSurface* pSheet = nullptr;
    int nFrame = 0;
    if (nKind == FIRE_SPRITE_IMPACT)
    {
        const CPieceArray* pPieces = pDatabase->GetPieceArray();
        const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(m_nMunitionIndex);
        // The frame of the splash counter; none before the splash or past
        // the sheet's last frame.
        const CPiece* pList =
            pPieces != nullptr ? pPieces->FindListFrame(pAmmo->m_strBurstGraphic, m_nVolleys - 1, &nFrame) : nullptr;
        pSheet = pList != nullptr ? pList->GetSurface() : nullptr;
        if (pSheet != nullptr && !pSheet->HasColorKey())
            pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    }
    else if (pMap != nullptr)
    {
        pSheet = FindSymbolSheet(pMap->GetSymbolCatalogue(),
                                 nKind == FIRE_SPRITE_MARKER ? "Fire Mission Red" : "Fire Mission Grey", &nFrame);
    }
    if (pSheet == nullptr)
        return 0;
    m_pSprite = new CSprite(pSheet, FALSE);
    m_pSprite->SetFrame(nFrame);
    m_bSpriteReady = TRUE;
    return 1;
}

void CFireMission::DrawMarker(float fUnitX, float fUnitY, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                              BOOL bHighlighted)
{
    if (pMap == nullptr || !pMap->HasElevationMap() || pMap->GetDisplay() == nullptr)
        return;
    CDisplay* pDisplay = pMap->GetDisplay();
    const CRect rcDisplay(0, 0, pDisplay->GetWidth(), pDisplay->GetHeight());
    int ux = 0, uy = 0, tx = 0, ty = 0;
    pMap->MapToView(fUnitX, fUnitY, &ux, &uy);
    pMap->MapToView(m_fX, m_fY, &tx, &ty);
    CRect rcSpan(std::min(ux, tx), std::min(uy, ty), std::max(ux, tx) + 1, std::max(uy, ty) + 1);
    CRect rcShown;
    if (rcShown.IntersectRect(rcSpan, rcDisplay))
    {
        if (CDC* pDC = pMap->LendDC())
        {
            // A wide pale line with a narrow dark one over it.
            CPen under(PS_SOLID, 3, bHighlighted ? RGB(0xFF, 0x80, 0x80) : RGB(0xC4, 0xC4, 0xC4));
            CPen over(PS_SOLID, 1, bHighlighted ? RGB(0x80, 0x00, 0x00) : RGB(0x40, 0x40, 0x40));
            CPen* pOld = pDC->SelectObject(&under);
            pDC->MoveTo(ux, uy);
            pDC->LineTo(tx, ty);
            pDC->SelectObject(&over);
            pDC->MoveTo(ux, uy);
            pDC->LineTo(tx, ty);
            pDC->SelectObject(pOld);
            pMap->ReturnDC();
        }
    }
    if (!PrepareSprite(pDatabase, pMap, bHighlighted ? FIRE_SPRITE_MARKER : FIRE_SPRITE_MARKER_GREY))
        return;
    m_pSprite->SetPosition(tx - m_pSprite->GetWidth() / 2, ty - m_pSprite->GetHeight() / 2);
    const CRect rcSprite(m_pSprite->GetX(), m_pSprite->GetY(), m_pSprite->GetX() + m_pSprite->GetWidth(),
                         m_pSprite->GetY() + m_pSprite->GetHeight());
    if (rcShown.IntersectRect(rcSprite, rcDisplay))
        m_pSprite->Draw(pDisplay->GetBackSurface());
}

void CFireMission::DrawImpact(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (m_nVolleys == kInTheAir || pMap == nullptr || !pMap->HasElevationMap() || pMap->GetDisplay() == nullptr)
        return;
    // Prepared again on every draw: the splash counter picks the frame.
    if (!PrepareSprite(pDatabase, pMap, FIRE_SPRITE_IMPACT))
        return;
    CDisplay* pDisplay = pMap->GetDisplay();
    int vx = 0, vy = 0;
    pMap->MapToView(m_fX, m_fY, &vx, &vy);
    m_pSprite->SetPosition(vx - m_pSprite->GetWidth() / 2, vy - m_pSprite->GetHeight() / 2);
    const CRect rcSprite(m_pSprite->GetX(), m_pSprite->GetY(), m_pSprite->GetX() + m_pSprite->GetWidth(),
                         m_pSprite->GetY() + m_pSprite->GetHeight());
    CRect rcShown;
    if (rcShown.IntersectRect(rcSprite, CRect(0, 0, pDisplay->GetWidth(), pDisplay->GetHeight())))
        m_pSprite->Draw(pDisplay->GetBackSurface());
}

CString CFireMission::FormatTime(CTime t) { return FormatGameTime(t); }

CString CFireMission::GetMunitionName(int nMunitionType)
{
    switch (nMunitionType)
    {
    case MUNITION_HE: return "HE      ";
    case MUNITION_HERAP: return "HERAP   ";
    case MUNITION_DPICM: return "DPICM   ";
    case MUNITION_BBDPICM: return "BBDPICM ";
    case MUNITION_SMOKE: return "Smoke   ";
    case MUNITION_CHEMICAL: return "Chemical";
    case MUNITION_NUCLEAR: return "Nuclear ";
    case MUNITION_ILLUM: return "Illum   ";
    case MUNITION_FASCAM: return "FASCAM  ";
    case MUNITION_PGM: return "PGM     ";
    default: return CString();
    }
}

void CFireMission::FormatLogLine(int nSide, CKDRGameMap* pMap, CStringList& lines,
                                 std::vector<SFireLogRecord>& records) const
{
    if (GetSide() != nSide)
        return;
    CString line = m_nVolleys > kInTheAir ? "Splash!" : "In the air...";
    while (line.GetLength() < kStateColumn)
        line += ' ';
    line += '\t';
    if (const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr)
        line += pElevation->GetGridReference(m_fX, m_fY);
    line += '\t';
    const CString strName = GetMunitionName(m_nMunitionType);
    line += strName;
    line += '\t';
    // The short name needs one more tab to reach the time column.
    if (strName.Left(3) == "HE ")
        line += '\t';
    line += FormatGameTime(m_tImpactTime);
    lines.AddTail(line);
    SFireLogRecord record;
    record.nX = RoundForRecord(m_fX);
    record.nY = RoundForRecord(m_fY);
    records.push_back(record);
}
