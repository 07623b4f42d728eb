// The obstacles' records, geometry, time steps and crossings; their drawing
// is in ObstacleDraw.cpp.
#include "battlefield/Obstacle.h"

#include "battlefield/AITerrain.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MoverInfo.h"
#include "platform/core/Archive.h"
#include "platform/core/Random.h"
#include "platform/ui/Display.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CObstacle, CObject, 1)
IMPLEMENT_SERIAL(CEnemyObstacle, CObstacle, 1)
IMPLEMENT_SERIAL(CChem, CObstacle, 1)
IMPLEMENT_SERIAL(CEnemyChem, CChem, 1)

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kMilsPerCircle = 6400.0;
constexpr float kNoBest = 99999.0f;
// The crossing: a mover within 45 degrees of the long axis passes along it;
// the passage must run within 60 degrees of the mover's heading.
constexpr double kAlongWindow = kPi / 4.0;
constexpr double kHeadingWindow = 1.0471976;
// Beside an obstacle known only by its contacts the mover keeps this far
// from their mean and passes this far either side of the side point.
constexpr double kContactOffset = 80.0;
constexpr double kContactHalfLength = 20.0;
// The side point keeps clear of the edge, and the passage runs past the ends.
constexpr double kSideClearance = 2.5;
constexpr double kPassageOverrun = 10.0;
constexpr float kCrossingRange = 200.0f;

// An angle in mils as radians in -pi..pi.
double MilsToRadians(int mils) { return std::remainder(mils * kTwoPi / kMilsPerCircle, kTwoPi); }

// The angle between two directions, 0 to pi.
double AngleBetween(double a, double b)
{
    const double d = std::fabs(std::remainder(a - b, kTwoPi));
    return std::isfinite(d) ? d : kPi;
}

// A coordinate clamped to 0..extent; a value that is no number lands on 0.
float ClampToExtent(float value, int extent)
{
    if (!(value > 0.0f))
        return 0.0f;
    return std::min(value, static_cast<float>(extent));
}

BOOL IsFreeFor(const MoverInfo& mover, const CKDRGameMap* pMap, double x, double y)
{
    return !pMap->IsPointBlocked(static_cast<float>(x), static_cast<float>(y), mover.pObstacles, mover.nFlags,
                                 mover.nSide, mover.nAbilities);
}

BOOL IsSegmentFreeFor(const MoverInfo& mover, const CKDRGameMap* pMap, double x1, double y1, double x2, double y2)
{
    float bx = 0, by = 0;
    return !pMap->FindSegmentBlock(mover.pObstacles, static_cast<float>(x1), static_cast<float>(y1),
                                   static_cast<float>(x2), static_cast<float>(y2), &bx, &by, 0.0f, 0.0f, mover.nFlags,
                                   mover.nSide, nullptr, nullptr, nullptr, nullptr, mover.nAbilities);
}
}  // namespace

// ---------------------------------------------------------------------------
// CObstacle: record and state

CObstacle::CObstacle() = default;

CObstacle::~CObstacle() = default;

void CObstacle::SerializeRecord(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fX << m_fY;
        ar << static_cast<WORD>(m_nAttitude) << static_cast<WORD>(m_nWidth) << static_cast<WORD>(m_nLength)
           << static_cast<WORD>(m_nDensity) << static_cast<WORD>(m_nType);
        ar << m_tsTime;
        ar << static_cast<WORD>(m_bFired ? 1 : 0);
    }
    else
    {
        short attitude = 0, width = 0, length = 0, density = 0, type = 0;
        WORD fired = 0;
        ar >> m_fX >> m_fY;
        ar >> attitude >> width >> length >> density >> type;
        ar >> m_tsTime;
        ar >> fired;
        // A negative size would make no rectangle (and a huge picture).
        if (width < 0 || length < 0)
            ar.ThrowArchiveException(CArchiveException::generic, "an obstacle has a negative width or length");
        m_nAttitude = attitude;
        m_nWidth = width;
        m_nLength = length;
        m_nDensity = density;
        m_nType = type;
        m_bFired = fired != 0;
    }
    m_lanes.Serialize(ar);
}

void CObstacle::Serialize(CArchive& ar) { SerializeRecord(ar); }

void CObstacle::Reset()
{
    m_nAttitude = kDefaultAttitude;
    m_lanes.RemoveAll();
    m_tsTime = CTimeSpan(0);
    m_bFired = FALSE;
}

void CObstacle::GetPosition(float& x, float& y, BOOL /*useContacts*/) const
{
    x = m_fX;
    y = m_fY;
}

BOOL CObstacle::ContainsInRectangle(float x, float y) const
{
    const double phi = MilsToRadians(m_nAttitude);
    const double dx = static_cast<double>(x) - m_fX;
    const double dy = static_cast<double>(y) - m_fY;
    const double along = dx * std::sin(phi) + dy * std::cos(phi);
    const double across = dy * std::sin(phi) - dx * std::cos(phi);
    return std::fabs(along) <= m_nLength / 2.0 && std::fabs(across) <= m_nWidth / 2.0;
}

BOOL CObstacle::IsBlockingAt(float x, float y, const CKDRGameMap* pMap, BOOL /*otherSide*/) const
{
    // A lane through the obstacle is free even where the picture shows it:
    // the picture only widens the obstacle beyond its rectangle.
    if (ContainsInRectangle(x, y))
        return m_lanes.FindBreachAt(x, y) == kUnset;
    return IsOnSprite(x, y, pMap);
}

int CObstacle::HitTest(float x, float y, const CKDRGameMap* pMap, BOOL ignoreSprite) const
{
    if (ContainsInRectangle(x, y))
    {
        const int lane = m_lanes.FindBreachAt(x, y);
        return lane != kUnset ? lane : kHitNoLane;
    }
    if (!ignoreSprite && IsOnSprite(x, y, pMap))
        return kHitNoLane;
    return kUnset;
}

void CObstacle::ClampToMap(const CKDRGameMap* pMap)
{
    // Without an elevation map the map's extent is unknown: only the
    // lower edge holds.
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    const int width = pElevation != nullptr ? pElevation->GetWidth() : INT_MAX;
    const int height = pElevation != nullptr ? pElevation->GetHeight() : INT_MAX;
    m_fX = ClampToExtent(m_fX, width);
    m_fY = ClampToExtent(m_fY, height);
}

void CObstacle::SetPosition(float x, float y, const CKDRGameMap* pMap)
{
    m_fX = x;
    m_fY = y;
    ClampToMap(pMap);
    m_lanes.RemoveAll();
    // The picture was made at the old place: the next draw makes it again
    // where the obstacle now lies, or a dragged one would stay drawn behind.
    FreeSprite();
}

BOOL CObstacle::Step(CTimeSpan tsNow)
{
    if (m_nType != kRoadCrater)
        return FALSE;
    const BOOL bWasFired = m_bFired;
    if (tsNow >= m_tsTime)
    {
        m_tsTime = CTimeSpan(0);
        m_bFired = TRUE;
    }
    else
    {
        m_bFired = FALSE;
    }
    return m_bFired != bWasFired;
}

void CObstacle::AddContact(float, float, CKDRGameMap*) {}

CObstacle* CObstacle::CopyAs(BOOL toEnemy) const
{
    CObstacle* pCopy = nullptr;
    if (IsChemArea())
        pCopy = toEnemy ? new CEnemyChem : new CChem;
    else
        pCopy = toEnemy ? static_cast<CObstacle*>(new CEnemyObstacle) : new CObstacle;
    pCopy->m_fX = m_fX;
    pCopy->m_fY = m_fY;
    pCopy->m_nAttitude = m_nAttitude;
    pCopy->m_nWidth = m_nWidth;
    pCopy->m_nLength = m_nLength;
    pCopy->m_nDensity = m_nDensity;
    pCopy->m_nType = m_nType;
    pCopy->m_tsTime = m_tsTime;
    return pCopy;
}

void CObstacle::Strengthen(int nAttitude, int nWidth, int nLength, int nDensity, CKDRGameMap* pMap)
{
    if (m_nType == kRoadCrater)
        m_nAttitude = nAttitude;
    m_nWidth = nWidth;
    m_nLength = nLength;
    if (m_nType != kMineField && !m_lanes.IsEmpty())
        m_nDensity /= 2;
    m_nDensity = std::min(m_nDensity + nDensity, static_cast<int>(kMaxDensity));
    m_nType = kMineField;
    m_tsTime = CTimeSpan(0);
    m_lanes.RemoveAll();
    DrawOnMapSurface(pMap, m_bHighlight);
}

// ---------------------------------------------------------------------------
// Crossing

int CObstacle::FindCrossing(const MoverInfo& mover, BOOL useContacts, const CKDRGameMap* pMap, float* entryX,
                            float* entryY, CAITerrainRoute** ppRoute) const
{
    float bestX = kUnsetFloat;
    float bestY = kUnsetFloat;
    CAITerrainRoute* pRoute = nullptr;
    auto answer = [&](BOOL found)
    {
        if (!found)
        {
            delete pRoute;
            pRoute = nullptr;
            bestX = bestY = kUnsetFloat;
        }
        if (entryX != nullptr)
            *entryX = bestX;
        if (entryY != nullptr)
            *entryY = bestY;
        if (ppRoute != nullptr)
            *ppRoute = pRoute;
        else
            delete pRoute;
        return found ? 1 : 0;
    };
    if (pMap == nullptr)
        return answer(FALSE);

    // A lane within reach is the way through.
    if (m_lanes.FindLaneEntry(mover, pMap, &bestX, &bestY, &pRoute))
        return answer(TRUE);

    const double phi = MilsToRadians(m_nAttitude);
    const double delta = AngleBetween(phi, mover.heading);
    const BOOL bAlongAxis = delta <= kAlongWindow || delta >= kPi - kAlongWindow;
    double offsetDirection = bAlongAxis ? phi + kPi / 2.0 : phi;
    double passDirection = bAlongAxis ? phi : phi + kPi / 2.0;
    double offset = (bAlongAxis ? m_nWidth : m_nLength) / 2.0;
    double halfLength = (bAlongAxis ? m_nLength : m_nWidth) / 2.0;
    if (useContacts)
    {
        offset = kContactOffset;
        halfLength = kContactHalfLength;
    }
    offset += kSideClearance;
    halfLength += kPassageOverrun;

    float cx = 0, cy = 0;
    GetPosition(cx, cy, useContacts);
    if (!(cx >= 0.0f && cy >= 0.0f))
        return answer(FALSE);

    float best = kNoBest;
    for (int side : {1, -1})
    {
        const double px = cx + side * offset * std::sin(offsetDirection);
        const double py = cy + side * offset * std::cos(offsetDirection);
        const double q1x = px + halfLength * std::sin(passDirection);
        const double q1y = py + halfLength * std::cos(passDirection);
        const double q2x = px - halfLength * std::sin(passDirection);
        const double q2y = py - halfLength * std::cos(passDirection);
        if (!IsFreeFor(mover, pMap, px, py) || !IsFreeFor(mover, pMap, q1x, q1y) || !IsFreeFor(mover, pMap, q2x, q2y) ||
            !IsSegmentFreeFor(mover, pMap, q1x, q1y, q2x, q2y))
            continue;
        const double d1 = std::hypot(q1x - mover.x, q1y - mover.y);
        const double d2 = std::hypot(q2x - mover.x, q2y - mover.y);
        const BOOL bEntryIsQ1 = d1 < d2;
        const double ex = bEntryIsQ1 ? q1x : q2x;
        const double ey = bEntryIsQ1 ? q1y : q2y;
        const float d = static_cast<float>(bEntryIsQ1 ? d1 : d2);
        if (!(d < best && d < kCrossingRange))
            continue;
        best = d;
        const double travel = bEntryIsQ1 ? passDirection + kPi : passDirection;
        if (AngleBetween(travel, mover.heading) > kHeadingWindow)
            continue;
        bestX = static_cast<float>(ex);
        bestY = static_cast<float>(ey);
        delete pRoute;
        pRoute = MakePassageRoute(bestX, bestY, static_cast<float>(bEntryIsQ1 ? q2x : q1x),
                                  static_cast<float>(bEntryIsQ1 ? q2y : q1y));
    }
    return answer(bestX >= 0.0f && bestY >= 0.0f && pRoute != nullptr);
}

// ---------------------------------------------------------------------------
// CEnemyObstacle

void CEnemyObstacle::Serialize(CArchive& ar)
{
    SerializeRecord(ar);
    m_contacts.Serialize(ar);
}

void CEnemyObstacle::Reset()
{
    CObstacle::Reset();
    m_contacts.RemoveAll();
}

void CEnemyObstacle::GetPosition(float& x, float& y, BOOL useContacts) const
{
    if (!useContacts)
    {
        CObstacle::GetPosition(x, y, useContacts);
        return;
    }
    m_contacts.GetMeanPosition(x, y);
}

BOOL CEnemyObstacle::IsBlockingAt(float x, float y, const CKDRGameMap*, BOOL otherSide) const
{
    if (!ContainsInRectangle(x, y) || m_lanes.FindBreachAt(x, y) != kUnset)
        return FALSE;
    return !otherSide || m_contacts.HasContactWithin(x, y, kContactReach);
}

void CEnemyObstacle::SetPosition(float x, float y, const CKDRGameMap* pMap)
{
    CObstacle::SetPosition(x, y, pMap);
    m_contacts.RemoveAll();
}

// ---------------------------------------------------------------------------
// CChem

CChem::CChem() { m_nType = kChemArea; }

BOOL CChem::ContainsInCircle(float x, float y) const
{
    return std::hypot(static_cast<double>(x) - m_fX, static_cast<double>(y) - m_fY) < m_nWidth;
}

BOOL CChem::IsBlockingAt(float x, float y, const CKDRGameMap*, BOOL) const { return ContainsInCircle(x, y); }

BOOL CChem::Step(CTimeSpan tsNow)
{
    if (!IsActive() || tsNow < m_tsTime)
        return FALSE;
    m_tsTime = CTimeSpan(0);
    return TRUE;
}

int CChem::GetDensityPercent() const { return static_cast<int>(std::lround(m_nDensity * 0.01)); }

void CChem::Strengthen(int nDensity, CTimeSpan tsExpiry, CKDRGameMap* pMap)
{
    m_nDensity = std::min(m_nDensity + nDensity, static_cast<int>(kMaxChemDensity));
    if (tsExpiry > m_tsTime)
        m_tsTime = tsExpiry;
    DrawOnMapSurface(pMap, m_bHighlight);
}

BOOL CChem::DetectionRoll(int nSeconds, float fNBCDetect) const
{
    constexpr int kMaxRolls = 60;
    if (!(fNBCDetect > 0.0f))
        return FALSE;
    const double dChance = std::min(1.0, static_cast<double>(fNBCDetect)) * 100.0;
    for (int i = 0; i < std::min(nSeconds, kMaxRolls); ++i)
    {
        if (PercentileRoll() <= dChance)
            return TRUE;
    }
    return FALSE;
}

void CChem::OnUnitInside(float, float) {}

// ---------------------------------------------------------------------------
// CEnemyChem

void CEnemyChem::Serialize(CArchive& ar)
{
    SerializeRecord(ar);
    m_contacts.Serialize(ar);
}

void CEnemyChem::Reset()
{
    CChem::Reset();
    m_contacts.RemoveAll();
}

BOOL CEnemyChem::IsBlockingAt(float x, float y, const CKDRGameMap*, BOOL otherSide) const
{
    if (!otherSide)
        return ContainsInCircle(x, y);
    return m_contacts.HasContactWithin(x, y, kContactReach);
}

void CEnemyChem::SetPosition(float x, float y, const CKDRGameMap* pMap)
{
    CChem::SetPosition(x, y, pMap);
    m_contacts.RemoveAll();
}

void CEnemyChem::AddContact(float x, float y, CKDRGameMap* pMap)
{
    m_contacts.Add(new CContact(x, y));
    DrawOnMapSurface(pMap, m_bHighlight);
}
