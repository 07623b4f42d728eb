// The base item of the help map and the region.
#include "battlefield/AITerrain.h"

#include "battlefield/AITerrainArray.h"
#include "battlefield/AITerrainInternal.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CAITerrain, CObject, 1)
IMPLEMENT_SERIAL(CAITerrainRegion, CAITerrain, 1)

BOOL PointNearSegment(float x1, float y1, float x2, float y2, float x, float y)
{
    if (x1 != x2)
    {
        const float mid = (x1 + x2) * 0.5f;
        const float half = std::fabs(x2 - x1) * 0.5f;
        if (x < mid - half - kLineTolerance || x > mid + half + kLineTolerance)
            return FALSE;
        const float yOn = (y2 - y1) / (x2 - x1) * (x - x1) + y1;
        return std::fabs(y - yOn) <= kLineTolerance;
    }
    const float mid = (y1 + y2) * 0.5f;
    const float half = std::fabs(y2 - y1) * 0.5f;
    return y >= mid - half - kLineTolerance && y <= mid + half + kLineTolerance && x >= x1 - kLineTolerance &&
           x <= x1 + kLineTolerance;
}

void StorePointCount(CArchive& ar, size_t count)
{
    // A count the word cannot hold would be read back negative: refuse to
    // write a file that cannot be read.
    if (count > kMaxStoredPoints)
    {
        CString reason;
        reason.Format("an item has %zu points, more than the %zu a help-map file can hold", count, kMaxStoredPoints);
        ar.ThrowArchiveException(CArchiveException::generic, reason);
    }
    ar << static_cast<WORD>(count);
}

short LoadPointCount(CArchive& ar)
{
    short count = 0;
    ar >> count;
    if (count < 0)
        ThrowBadFile(ar, "an item has a negative number of points");
    return count;
}

// ---------------------------------------------------------------------------
// CAITerrain

void CAITerrain::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strName;
    }
    else
    {
        NoteLoading();
        ar >> m_strName;
    }
}

void CAITerrain::NoteLoading() { NoteHelpMapItemLoading(this); }

BOOL CAITerrain::HitTest(float /*x*/, float /*y*/) const { return FALSE; }

BOOL CAITerrain::MoveLastPoint(float /*x*/, float /*y*/) { return TRUE; }

BOOL CAITerrain::AddPoint(float /*x*/, float /*y*/) { return TRUE; }

void CAITerrain::Draw(COLORREF /*color*/, CKDRGameMap* /*pMap*/) const {}

void CAITerrain::MoveTo(float /*x*/, float /*y*/) {}

void CAITerrain::GrowPointList(int /*n*/) {}

void CAITerrain::DrawOnMap(CKDRGameMap* /*pMap*/) const {}

CAITerrain* CAITerrain::Clone() const { return new CAITerrain(*this); }

BOOL CAITerrain::FinishEdit() { return TRUE; }

// ---------------------------------------------------------------------------
// CAITerrainRegion

CAITerrainRegion::CAITerrainRegion() : m_pChildren(new CAITerrainArray) { BuildRegion(); }

CAITerrainRegion::CAITerrainRegion(const CAITerrainRegion& other)
    : CAITerrain(other),
      m_nFlags(other.m_nFlags),
      m_points(other.m_points),
      m_pChildren(new CAITerrainArray(*other.m_pChildren)),
      m_bMarked(other.m_bMarked)
{
    BuildRegion();
}

CAITerrainRegion::~CAITerrainRegion() { delete m_pChildren; }

void CAITerrainRegion::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        m_pChildren->Serialize(ar);
        ar << static_cast<WORD>(m_nFlags);
        StorePointCount(ar, m_points.size());
        ar << static_cast<WORD>(m_bMarked ? 1 : 0);
        for (const CPoint& p : m_points)
            ar << static_cast<WORD>(p.x) << static_cast<WORD>(p.y);
        return;
    }

    NoteLoading();
    m_pChildren->Serialize(ar);
    short flags = 0;
    ar >> flags;
    const short count = LoadPointCount(ar);
    WORD marked = 0;
    ar >> marked;
    ar.EnsureBytesLeft(static_cast<ULONGLONG>(count) * 4);
    std::vector<CPoint> points(static_cast<size_t>(count));
    for (CPoint& p : points)
    {
        short x = 0;
        short y = 0;
        ar >> x >> y;
        p = CPoint(x, y);
    }
    m_nFlags = flags;
    m_bMarked = marked != 0;
    m_points.swap(points);
    Rebuild();
}

BOOL CAITerrainRegion::Rebuild()
{
    BuildRegion();
    return TRUE;
}

void CAITerrainRegion::BuildRegion()
{
    if (m_points.empty())
    {
        m_rectBounds.SetRectEmpty();
        m_rgn.CreateRectRgn(0, 0, 0, 0);
        return;
    }
    m_rectBounds = CRect(m_points[0].x, m_points[0].y, m_points[0].x, m_points[0].y);
    for (const CPoint& p : m_points)
    {
        m_rectBounds.left = std::min<LONG>(m_rectBounds.left, p.x);
        m_rectBounds.right = std::max<LONG>(m_rectBounds.right, p.x);
        m_rectBounds.top = std::max<LONG>(m_rectBounds.top, p.y);
        m_rectBounds.bottom = std::min<LONG>(m_rectBounds.bottom, p.y);
    }
    // One point makes no polygon: it holds nothing.
    if (m_points.size() < 2 || !m_rgn.CreatePolygonRgn(m_points.data(), static_cast<int>(m_points.size()), ALTERNATE))
        m_rgn.CreateRectRgn(0, 0, 0, 0);
}

BOOL CAITerrainRegion::HitTest(float x, float y) const
{
    const int px = RoundHalfUpTrunc(x);
    const int py = RoundHalfUpTrunc(y);
    // The bounds keep the larger y on top; the test wants it the other way.
    CRect bounds = m_rectBounds;
    bounds.NormalizeRect();
    if (px < bounds.left || px >= bounds.right || py < bounds.top || py >= bounds.bottom)
        return FALSE;
    return m_rgn.PtInRegion(px, py);
}

BOOL CAITerrainRegion::Blocks(int moverFlags) const
{
    const int f = m_nFlags;
    return ((f & (0x1 | kBlocksClass1Alt)) != 0 && (moverFlags & 0x1) != 0) || (f & moverFlags & 0x2) != 0 ||
           (f & moverFlags & 0x4) != 0 || (f & moverFlags & 0x8) != 0;
}

CAITerrain* CAITerrainRegion::EditedChild() const { return m_pChildren->GetAt(m_pChildren->GetUpperBound()); }

void CAITerrainRegion::BeginChildEdit(CAITerrain* pChild)
{
    if (pChild == nullptr)
        return;
    m_pChildren->Add(pChild);
    m_bEditingChild = TRUE;
}

BOOL CAITerrainRegion::AddPoint(float x, float y)
{
    if (m_bEditingChild)
    {
        CAITerrain* pChild = EditedChild();
        return pChild != nullptr ? pChild->AddPoint(x, y) : FALSE;
    }
    const CPoint p(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y));
    if (m_points.empty())
    {
        m_points.assign(2, p);
        return TRUE;
    }
    m_points.back() = p;
    m_points.push_back(p);
    return TRUE;
}

BOOL CAITerrainRegion::MoveLastPoint(float x, float y)
{
    if (m_bEditingChild)
    {
        CAITerrain* pChild = EditedChild();
        return pChild != nullptr ? pChild->MoveLastPoint(x, y) : FALSE;
    }
    if (m_points.empty())
        return FALSE;
    m_points.back() = CPoint(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y));
    return TRUE;
}

BOOL CAITerrainRegion::FinishEdit()
{
    if (m_bEditingChild)
    {
        // The nested item ends its edit either way: kept when it finishes,
        // dropped when it cannot.
        m_bEditingChild = FALSE;
        CAITerrain* pChild = EditedChild();
        if (pChild == nullptr)
            return FALSE;
        if (pChild->FinishEdit())
            return TRUE;
        m_pChildren->RemoveAt(m_pChildren->GetUpperBound());
        return FALSE;
    }
    if (m_bFinished)
        return TRUE;
    // Three corners and the floating point.
    if (m_points.size() < 4)
        return FALSE;
    m_points.pop_back();
    BuildRegion();
    m_bFinished = TRUE;
    return TRUE;
}

void CAITerrainRegion::MoveTo(float x, float y)
{
    if (m_points.empty())
        return;
    long long sumX = 0;
    long long sumY = 0;
    for (const CPoint& p : m_points)
    {
        sumX += p.x;
        sumY += p.y;
    }
    const long long n = static_cast<long long>(m_points.size());
    const int dx = TruncToInt(x) - static_cast<int>(sumX / n);
    const int dy = TruncToInt(y) - static_cast<int>(sumY / n);
    for (CPoint& p : m_points)
    {
        p.x += dx;
        p.y += dy;
    }
    // Routes drawn inside the region go with it; other nested items stay.
    for (CObject* pObject : *m_pChildren)
    {
        auto* pItem = static_cast<CAITerrain*>(pObject);
        if (pItem != nullptr && pItem->GetKind() == kKindRoute)
            static_cast<CAITerrainRoute*>(pItem)->Offset(dx, dy);
    }
}

void CAITerrainRegion::GrowPointList(int n)
{
    if (n > 0)
        m_points.resize(m_points.size() + static_cast<size_t>(n));
}

CAITerrain* CAITerrainRegion::Clone() const { return new CAITerrainRegion(*this); }
