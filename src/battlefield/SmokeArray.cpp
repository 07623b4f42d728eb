// Smoke and illumination clouds. Three rules here differ from the first
// design, each because it gave a plainly wrong answer: a step in which no
// real millisecond passed (-99) drifts nothing rather than backwards; the
// illumination handed to detection is a light level (strength x 0.01) to
// compare with daylight 1.0, not a percentage; and the angle between a
// cloud and a line of sight is folded into -pi..pi, so a cloud across due
// south screens both sides of it, while an observer standing inside a cloud
// sees nothing through it on any bearing.
#include "battlefield/SmokeArray.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/FireMission.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/Obstacle.h"
#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/KDRDatabase.h"
#include "database/PieceArray.h"
#include "platform/core/Unset.h"
#include "shell/PlayService.h"
#include "platform/ui/Display.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

IMPLEMENT_SERIAL(CSmoke, CObject, 1)
IMPLEMENT_SERIAL(CIllum, CSmoke, 1)
IMPLEMENT_SERIAL(CSmokeArray, CObArray, 1)

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
// A cloud drifts wind speed x this many metres per game second.
constexpr double kDriftPerSpeed = 0.1;
constexpr double kMsPerSecond = 0.001;
constexpr double kLightPerPercent = 0.01;
// A time left beyond a word's range is no real cloud.
constexpr int kMaxTimeLeft = 32767;
// The half-width that marks an observer inside a cloud.
constexpr float kInsideCloud = -1.0f;

// A cloud's bearing and half-width seen from a point.
struct SCloudSight
{
    float fBearing;    // radians, clockwise from north
    float fHalfWidth;  // radians; negative: the point is inside
    int nStrength;
};

// The cloud's bearing and half-width seen from the point; the same
// arithmetic serves the per-observer sight and the per-line query.
SCloudSight SightOf(const CSmoke& cloud, float fX, float fY)
{
    const double dx = static_cast<double>(cloud.m_fX) - fX;
    const double dy = static_cast<double>(cloud.m_fY) - fY;
    const double d = std::sqrt(dy * dy + dx * dx);
    SCloudSight sight{};
    sight.nStrength = cloud.m_nStrength;
    sight.fBearing = static_cast<float>(std::atan2(dx, dy));
    sight.fHalfWidth = d <= cloud.m_fRadius ? kInsideCloud : static_cast<float>(cloud.m_fRadius / d);
    return sight;
}

// Whether the bearing passes through the cloud.
bool Crosses(const SCloudSight& sight, float fBearing)
{
    if (sight.fHalfWidth < 0.0f)
        return true;
    const double dAngle = std::remainder(static_cast<double>(sight.fBearing) - fBearing, kTwoPi);
    return std::fabs(dAngle) <= sight.fHalfWidth;
}

BOOL IsUsableMap(const CKDRGameMap* pMap)
{
    return pMap != nullptr && pMap->HasElevationMap() && pMap->GetMapPicture() != nullptr;
}

// The round's munition's first capability of the kind, or null when the
// round, its munition or the capability is missing.
CIFCapSmoke* CloudCapability(const CFireMission* pRound, CKDRDatabase* pDatabase, const CKDRGameMap* pMap,
                             int nKind)
{
    if (pRound == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList() || !IsUsableMap(pMap))
        return nullptr;
    const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(pRound->m_nMunitionIndex);
    if (pAmmo == nullptr || pAmmo->GetCapabilities() == nullptr || pAmmo->GetCapabilities()->IsEmpty())
        return nullptr;
    return dynamic_cast<CIFCapSmoke*>(pAmmo->GetCapabilities()->FindByType(nKind));
}
}  // namespace

// ---------------------------------------------------------------------------
// CSmoke

CSmoke::CSmoke(float fX, float fY, float fRadius, int nTimeLeft, int nStrength)
    : m_fX(fX), m_fY(fY), m_fRadius(fRadius), m_nTimeLeft(nTimeLeft), m_nStrength(nStrength)
{
}

CSmoke::~CSmoke() { FreeDrawing(); }

void CSmoke::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fX << m_fY << m_fRadius << static_cast<WORD>(m_nTimeLeft) << static_cast<WORD>(m_nStrength);
        return;
    }
    float x = 0.0f, y = 0.0f, radius = 0.0f;
    short timeLeft = 0, strength = 0;
    ar >> x >> y >> radius >> timeLeft >> strength;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius))
        ar.ThrowArchiveException(CArchiveException::generic, "a cloud's place or radius is no number");
    m_fX = x;
    m_fY = y;
    m_fRadius = radius;
    m_nTimeLeft = timeLeft;
    m_nStrength = strength;
}

void CSmoke::FreeDrawing()
{
    delete m_pSprite;
    m_pSprite = nullptr;
    delete m_pSurface;
    m_pSurface = nullptr;
    m_nDrawnSide = 0;
}

const char* CSmoke::GetPictureName() const { return GetKind() == CLOUD_KIND_ILLUM ? "Illum Yellow" : "Smoke Grey"; }

void CSmoke::PrepareDrawing(CKDRGameMap* pMap)
{
    FreeDrawing();
    if (pMap == nullptr || pMap->GetDisplay() == nullptr)
        return;
    int nFrame = 0;
    CFrameSurface* pPiece = FindSymbolSheet(pMap->GetSymbolCatalogue(), GetPictureName(), &nFrame);
    if (pPiece == nullptr || !pPiece->IsLoaded())
        return;
    const double dSide = std::floor(static_cast<double>(pMap->GetZoom()) * m_fRadius + 0.5);
    if (!(dSide >= 1.0))
        return;
    const int nSide = dSide > CSmoke::kMaxPictureSide ? CSmoke::kMaxPictureSide : static_cast<int>(dSide);

    auto pSurface = std::make_unique<CFrameSurface>();
    if (!pSurface->CreateBlank(pMap->GetDisplay(), nSide, nSide))
        return;
    const CRect rcWhole(0, 0, nSide, nSide);
    pPiece->Blt(rcWhole, pSurface.get(), pPiece->GetFrameRect(nFrame), FALSE);
    // Only the disc inscribed in the square stays; the corners take the
    // colour key, row by row.
    const DWORD dwKey = DDColorMatch(pSurface.get(), SPRITE_COLOR_KEY);
    const double dHalf = nSide * 0.5;
    for (int y = 0; y < nSide; ++y)
    {
        const double dy = y + 0.5 - dHalf;
        const double dSpan = dHalf * dHalf - dy * dy;
        const int nInside = dSpan > 0.0 ? static_cast<int>(std::floor(std::sqrt(dSpan) + 0.5)) : 0;
        const int nLeft = std::max(0, static_cast<int>(std::floor(dHalf)) - nInside);
        const int nRight = std::min(nSide, static_cast<int>(std::ceil(dHalf)) + nInside);
        if (nLeft > 0)
            pSurface->ColorFill(CRect(0, y, nLeft, y + 1), dwKey);
        if (nRight < nSide)
            pSurface->ColorFill(CRect(nRight, y, nSide, y + 1), dwKey);
    }
    pSurface->SetColorKey(dwKey);
    m_pSurface = pSurface.release();
    m_pSprite = new CSprite(m_pSurface, FALSE);
    m_pSprite->SetFrame(0);
    m_nDrawnSide = static_cast<int>(std::min(dSide, 1e6));
    m_pSprite->SetScale(static_cast<float>(m_nDrawnSide) / static_cast<float>(nSide));
}

void CSmoke::Draw(CKDRGameMap* pMap)
{
    if (pMap == nullptr || !pMap->HasElevationMap() || pMap->GetMapPicture() == nullptr || !HasPicture())
        return;
    CDisplay* pDisplay = pMap->GetDisplay();
    if (pDisplay == nullptr)
        return;
    int vx = 0, vy = 0;
    pMap->MapToView(m_fX, m_fY, &vx, &vy);
    const int nHalf = m_nDrawnSide / 2;
    const CRect onView(vx - nHalf, vy - nHalf, vx - nHalf + m_nDrawnSide, vy - nHalf + m_nDrawnSide);
    CRect shown;
    if (!shown.IntersectRect(onView, CRect(0, 0, pDisplay->GetWidth(), pDisplay->GetHeight())))
        return;
    if (m_pSurface->IsLost())
    {
        PrepareDrawing(pMap);
        if (!HasPicture())
            return;
    }
    m_pSprite->SetPosition(onView.left, onView.top);
    m_pSprite->Draw(pDisplay->GetBackSurface());
}

// ---------------------------------------------------------------------------
// CSmokeSight

void CSmokeSight::Take(const CSmokeArray* pSmoke, float fX, float fY)
{
    m_bearings.clear();
    m_halfWidths.clear();
    m_strengths.clear();
    long long nMagnitude = 0;
    for (int i = 0; pSmoke != nullptr && i < pSmoke->GetSize(); ++i)
    {
        const CSmoke* pCloud = pSmoke->GetAt(i);
        if (pCloud == nullptr || pCloud->GetKind() == CLOUD_KIND_ILLUM)
            continue;
        const SCloudSight sight = SightOf(*pCloud, fX, fY);
        m_bearings.push_back(sight.fBearing);
        m_halfWidths.push_back(sight.fHalfWidth < 0.0f ? std::numeric_limits<float>::infinity() : sight.fHalfWidth);
        m_strengths.push_back(sight.nStrength);
        nMagnitude += sight.nStrength < 0 ? -static_cast<long long>(sight.nStrength) : sight.nStrength;
    }
    m_bWholeSums = nMagnitude < (1LL << 24);
}

float CSmokeSight::GetObscuration(float fBearing) const
{
    const size_t n = m_bearings.size();
    // Bearings within a turn of the clouds' (every arc tangent's are) fold
    // by one exact subtraction each way, as std::remainder would; others,
    // and sums a float cannot hold whole, take the general rule.
    if (!(std::fabs(fBearing) <= kPi + 1.0) || !m_bWholeSums)
    {
        float fSum = 0.0f;
        for (size_t i = 0; i < n; ++i)
        {
            const double dAngle = std::remainder(m_bearings[i] - fBearing, kTwoPi);
            if (std::fabs(dAngle) <= m_halfWidths[i])
                fSum += static_cast<float>(m_strengths[i]);
        }
        return fSum;
    }
    // A whole-number sum, so that no cloud waits on the one before.
    long long nSum = 0;
    for (size_t i = 0; i < n; ++i)
    {
        double dAngle = m_bearings[i] - fBearing;
        dAngle = dAngle > kPi ? dAngle - kTwoPi : dAngle;
        dAngle = dAngle < -kPi ? dAngle + kTwoPi : dAngle;
        nSum += std::fabs(dAngle) <= m_halfWidths[i] ? m_strengths[i] : 0;
    }
    return static_cast<float>(nSum);
}

// ---------------------------------------------------------------------------
// CSmokeArray

BOOL CSmokeArray::Step(float fWindDirection, float fWindSpeed)
{
    CPlayService* pPlay = GetPlayService();
    if (pPlay == nullptr)
        return FALSE;
    CTimeSpan tsElapsed;
    int nGameMs = 0;
    int nSeconds = 0;
    pPlay->AdvanceClock(tsElapsed, nGameMs, m_nRemainder, m_dwStamp, nSeconds);
    // -99 says no real millisecond passed: nothing drifts.
    const double t = nGameMs > 0 ? nGameMs * kMsPerSecond : 0.0;
    const double dDrift = t * fWindSpeed * kDriftPerSpeed;
    const float fEast = static_cast<float>(std::sin(static_cast<double>(fWindDirection)) * dDrift);
    const float fNorth = static_cast<float>(std::cos(static_cast<double>(fWindDirection)) * dDrift);

    BOOL bChanged = FALSE;
    for (int i = 0; i < GetSize();)
    {
        CSmoke* pCloud = GetAt(i);
        const long long nLeft = pCloud != nullptr ? static_cast<long long>(pCloud->m_nTimeLeft) - nSeconds : 0;
        if (pCloud == nullptr || nLeft < 1 || nLeft > kMaxTimeLeft)
        {
            RemoveAt(i);
            bChanged = TRUE;
            continue;
        }
        if (nSeconds != 0 || fEast != 0.0f || fNorth != 0.0f)
            bChanged = TRUE;
        pCloud->m_nTimeLeft = static_cast<int>(nLeft);
        pCloud->m_fX += fEast;
        pCloud->m_fY += fNorth;
        ++i;
    }
    return bChanged;
}

int CSmokeArray::AddSmoke(float fX, float fY, float fRadius, int nTimeLeft, int nStrength, CKDRGameMap* pMap)
{
    auto* pCloud = new CSmoke(fX, fY, fRadius, nTimeLeft, nStrength);
    pCloud->PrepareDrawing(pMap);
    Add(pCloud);
    return 1;
}

int CSmokeArray::AddIllum(float fX, float fY, float fRadius, int nTimeLeft, int nStrength, CKDRGameMap* pMap)
{
    auto* pCloud = new CIllum(fX, fY, fRadius, nTimeLeft, nStrength);
    pCloud->PrepareDrawing(pMap);
    Add(pCloud);
    return 1;
}

int CSmokeArray::AddSmokeFromImpact(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    const CIFCapSmoke* pCap = CloudCapability(pRound, pDatabase, pMap, IFCAP_SMOKE);
    if (pCap == nullptr)
        return 0;
    return AddSmoke(pRound->m_fX, pRound->m_fY, pCap->m_fRadius, pCap->m_nDuration, pCap->m_nPercentIR, pMap);
}

int CSmokeArray::AddIllumFromImpact(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    const CIFCapSmoke* pCap = CloudCapability(pRound, pDatabase, pMap, IFCAP_ILLUM);
    if (pCap == nullptr)
        return 0;
    return AddIllum(pRound->m_fX, pRound->m_fY, pCap->m_fRadius, pCap->m_nDuration, pCap->m_nPercentIR, pMap);
}

void CSmokeArray::DrawAll(CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CSmoke* pCloud = GetAt(i))
            pCloud->Draw(pMap);
    }
}

void CSmokeArray::PrepareAll(CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CSmoke* pCloud = GetAt(i))
            pCloud->PrepareDrawing(pMap);
    }
}

int CSmokeArray::FindIllumAt(float fX, float fY, float& fLight) const
{
    fLight = kUnsetFloat;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CSmoke* pCloud = GetAt(i);
        if (pCloud == nullptr || pCloud->GetKind() != CLOUD_KIND_ILLUM)
            continue;
        const double dx = static_cast<double>(pCloud->m_fX) - fX;
        const double dy = static_cast<double>(pCloud->m_fY) - fY;
        if (std::sqrt(dx * dx + dy * dy) <= pCloud->m_fRadius)
        {
            fLight = static_cast<float>(pCloud->m_nStrength * kLightPerPercent);
            return i;
        }
    }
    return kUnset;
}

float CSmokeArray::GetObscurationOnBearing(float fX, float fY, float fBearing, float /*fRange*/) const
{
    float fSum = 0.0f;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CSmoke* pCloud = GetAt(i);
        if (pCloud != nullptr && pCloud->GetKind() != CLOUD_KIND_ILLUM &&
            Crosses(SightOf(*pCloud, fX, fY), fBearing))
            fSum += static_cast<float>(pCloud->m_nStrength);
    }
    return fSum;
}
