// The help map's support-by-fire item: a group of firing positions.
#include "battlefield/AITerrain.h"

#include "battlefield/AITerrainInternal.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CAITerrainSBF, CAITerrain, 1)

namespace
{
constexpr double kMilsPerRadian = 1018.5916;
constexpr int kMilsPerCircle = 6400;
// The mean facing in mils is kept a quarter circle back.
constexpr int kFacingMilsOffset = 1600;
// Bytes of one stored position: three floats and a word.
constexpr ULONGLONG kStoredPositionBytes = 14;
}  // namespace

CAITerrainSBF::CAITerrainSBF(const CAITerrainSBF& other) : CAITerrain(other), m_positions(other.m_positions)
{
    Rebuild();
}

void CAITerrainSBF::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StorePointCount(ar, m_positions.size());
        for (const AISBFPosition& p : m_positions)
            ar << p.x << p.y << p.facing << static_cast<WORD>(p.flags);
        return;
    }

    NoteLoading();
    const short count = LoadPointCount(ar);
    ar.EnsureBytesLeft(static_cast<ULONGLONG>(count) * kStoredPositionBytes);
    std::vector<AISBFPosition> positions(static_cast<size_t>(count));
    for (AISBFPosition& p : positions)
    {
        short flags = 0;
        ar >> p.x >> p.y >> p.facing >> flags;
        p.flags = flags;
    }
    m_positions.swap(positions);
    Rebuild();
}

BOOL CAITerrainSBF::Rebuild()
{
    if (m_positions.empty())
        return FALSE;
    const AISBFPosition& first = m_positions.front();
    m_fCenterX = first.x;
    m_fCenterY = first.y;
    m_fSize = 1.0f;
    m_nFacingMils = 0;
    m_rectBounds = CRect(TruncToInt(first.x), TruncToInt(first.y), TruncToInt(first.x), TruncToInt(first.y));
    if (m_positions.size() == 1)
        return TRUE;

    double sumX = 0.0;
    double sumY = 0.0;
    double sumFacing = 0.0;
    for (const AISBFPosition& p : m_positions)
    {
        // Left and right hold the x range, bottom and top the y range.
        if (p.x < m_rectBounds.left)
            m_rectBounds.left = TruncToInt(p.x);
        if (p.x > m_rectBounds.right)
            m_rectBounds.right = TruncToInt(p.x);
        if (p.y < m_rectBounds.bottom)
            m_rectBounds.bottom = TruncToInt(p.y);
        if (p.y > m_rectBounds.top)
            m_rectBounds.top = TruncToInt(p.y);
        sumX += p.x;
        sumY += p.y;
        sumFacing += p.facing;
    }
    const double n = static_cast<double>(m_positions.size());
    m_fCenterX = static_cast<float>(sumX / n);
    m_fCenterY = static_cast<float>(sumY / n);
    m_fFacing = static_cast<float>(sumFacing / n);
    double largest = 0.0;
    for (const AISBFPosition& p : m_positions)
        largest =
            std::max(largest, std::hypot(static_cast<double>(p.x) - m_fCenterX, static_cast<double>(p.y) - m_fCenterY));
    m_fSize = static_cast<float>(2.0 * largest);
    // Whole turns are added while the mils are negative. A facing read from
    // a file may be wild (not a number, or beyond any int of mils): the sum
    // is taken wide and the turns added at once.
    long long mils =
        static_cast<long long>(TruncToInt(static_cast<double>(m_fFacing) * kMilsPerRadian + 0.5)) - kFacingMilsOffset;
    if (mils < 0)
        mils += (-mils + kMilsPerCircle - 1) / kMilsPerCircle * kMilsPerCircle;
    m_nFacingMils = static_cast<int>(mils);
    return TRUE;
}

BOOL CAITerrainSBF::HitTest(float x, float y) const
{
    for (size_t i = 1; i < m_positions.size(); ++i)
    {
        const AISBFPosition& a = m_positions[i - 1];
        const AISBFPosition& b = m_positions[i];
        if (PointNearSegment(a.x, a.y, b.x, b.y, x, y))
            return TRUE;
    }
    return FALSE;
}

BOOL CAITerrainSBF::AddPoint(float x, float y)
{
    const AISBFPosition added{x, y, m_fNewFacing, m_nNewFlags};
    if (m_positions.empty())
    {
        m_positions.assign(2, added);
        return TRUE;
    }
    m_positions.back() = added;
    m_positions.push_back(added);
    return TRUE;
}

BOOL CAITerrainSBF::MoveLastPoint(float x, float y)
{
    if (m_positions.empty())
        return FALSE;
    m_positions.back() = AISBFPosition{x, y, m_fNewFacing, m_nNewFlags};
    return TRUE;
}

BOOL CAITerrainSBF::FinishEdit()
{
    if (!m_positions.empty())
        m_positions.pop_back();
    Rebuild();
    return TRUE;
}

void CAITerrainSBF::MoveTo(float x, float y)
{
    if (m_positions.empty())
        return;
    double sumX = 0.0;
    double sumY = 0.0;
    for (const AISBFPosition& p : m_positions)
    {
        sumX += p.x;
        sumY += p.y;
    }
    const double n = static_cast<double>(m_positions.size());
    const float dx = x - static_cast<float>(sumX / n);
    const float dy = y - static_cast<float>(sumY / n);
    for (AISBFPosition& p : m_positions)
    {
        p.x += dx;
        p.y += dy;
    }
}

void CAITerrainSBF::GrowPointList(int n)
{
    if (n > 0)
        m_positions.resize(m_positions.size() + static_cast<size_t>(n));
}

CAITerrain* CAITerrainSBF::Clone() const { return new CAITerrainSBF(*this); }

int CAITerrainSBF::GetCombinedFlags() const
{
    int flags = 0;
    for (const AISBFPosition& p : m_positions)
        flags |= p.flags;
    return flags;
}

BOOL CAITerrainSBF::HasNoPositionFor(int mask) const
{
    for (const AISBFPosition& p : m_positions)
    {
        const BOOL serves = p.flags <= 0 || mask <= 0 || (p.flags & mask) != 0;
        if (serves && p.x > 0.0f && p.y > 0.0f)
            return FALSE;
    }
    return TRUE;
}
