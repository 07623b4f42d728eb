#include "battlefield/TerrainArray.h"

#include "platform/core/Archive.h"

#include <algorithm>

IMPLEMENT_SERIAL(CTerrainArray, CObject, 1)

namespace
{
BOOL PassesFilter(const CTerrainType& type, int filter)
{
    switch (filter)
    {
    case kTerrainFilterHeight: return type.GetHeight() != 0;
    case kTerrainFilterAuxCode: return type.GetAuxCode() != kUnset;
    case kTerrainFilterObscuring: return type.GetObscuration() != 1.0f && type.GetHeight() != 0;
    case kTerrainFilterSpeed: return type.GetSpeedFactor() != 1.0f;
    default: return TRUE;
    }
}

// The bits set in a word, in a few instructions: on the base x86-64 level
// std::popcount is a library call, and the sight line asks at every
// border cell it meets.
inline int CountBits(std::uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ULL);
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}
}  // namespace

void CTerrainArray::Serialize(CArchive& ar)
{
    m_types.Serialize(ar);
    m_features.Serialize(ar);
    if (ar.IsLoading())
    {
        m_nSearchCursor = -1;
        for (const CObject* pObject : m_types)
            if (pObject == nullptr)
                ar.ThrowArchiveException(CArchiveException::badIndex, "a terrain type is missing");
        for (const CObject* pObject : m_features)
        {
            const CTerrain* pFeature = static_cast<const CTerrain*>(pObject);
            if (pFeature == nullptr)
                ar.ThrowArchiveException(CArchiveException::badIndex, "a terrain feature is missing");
            if (TypeOf(pFeature) == nullptr)
                ar.ThrowArchiveException(CArchiveException::badIndex,
                                         "a terrain feature names a terrain type that is not there");
        }
        UpdateDerived();
    }
}

void CTerrainArray::SetGrid(int columns, int rows)
{
    // An elevation file gives at most 3276 x 3276 cells; anything beyond
    // that from code is not a map, and its features go to the wide list.
    constexpr long long kMaxCells = 1LL << 26;
    if (columns <= 0 || rows <= 0 || static_cast<long long>(columns) * rows > kMaxCells)
        columns = rows = 0;
    m_nGridColumns = columns;
    m_nGridRows = rows;
    UpdateDerived();
}

size_t CTerrainArray::GetTallIndexBytes() const
{
    return (m_tallHere.size() + m_tallWhole.size() + m_tallBorder.size() + m_borderInside.size()) *
               sizeof(std::uint64_t) +
           m_borderRank.size() * sizeof(std::uint32_t) + m_wholeHeight.size() * sizeof(int) +
           m_wholeObscuration.size() * sizeof(float) + m_tallStart.size() * sizeof(std::uint32_t) +
           m_tallItems.size() * sizeof(int) + m_wideTall.size() * sizeof(int);
}

void CTerrainArray::UpdateDerived()
{
    RebuildIndex();
    if (m_pfnMarksChanged != nullptr)
        m_pfnMarksChanged(m_pMarksContext);
}

void CTerrainArray::RebuildIndex()
{
    m_tallBounds = CRect(1, 1, 0, 0);
    std::vector<std::uint64_t>().swap(m_tallHere);
    std::vector<std::uint64_t>().swap(m_tallWhole);
    std::vector<std::uint64_t>().swap(m_tallBorder);
    std::vector<std::uint32_t>().swap(m_borderRank);
    std::vector<std::uint64_t>().swap(m_borderInside);
    std::vector<int>().swap(m_wholeHeight);
    std::vector<float>().swap(m_wholeObscuration);
    std::vector<std::uint32_t>().swap(m_tallStart);
    std::vector<int>().swap(m_tallItems);
    std::vector<int>().swap(m_wideTall);

    std::vector<int> tall;
    for (int i = 0; i < m_features.GetSize(); ++i)
    {
        const CTerrain* pFeature = m_features.GetAt(i);
        const CTerrainType* pType = pFeature != nullptr ? TypeOf(pFeature) : nullptr;
        if (pType == nullptr || pType->GetHeight() == 0 || pFeature->GetPointCount() == 0)
            continue;
        const CRect& b = pFeature->GetBounds();
        if (tall.empty())
            m_tallBounds = b;
        else
        {
            m_tallBounds.left = std::min(m_tallBounds.left, b.left);
            m_tallBounds.top = std::min(m_tallBounds.top, b.top);
            m_tallBounds.right = std::max(m_tallBounds.right, b.right);
            m_tallBounds.bottom = std::max(m_tallBounds.bottom, b.bottom);
        }
        tall.push_back(i);
    }
    if (tall.empty())
        return;
    if (m_nGridColumns <= 0 || m_nGridRows <= 0)
    {
        m_wideTall.swap(tall);
        return;
    }

    // Every size below is bounded by the grid, never by what the features claim.
    const size_t columns = static_cast<size_t>(m_nGridColumns);
    const size_t rows = static_cast<size_t>(m_nGridRows);
    const size_t cells = columns * rows;  // at most kMaxCells
    struct Span
    {
        size_t c0, c1, r0, r1;
    };
    auto spanOf = [this](const CRect& b)
    {
        return Span{static_cast<size_t>(CellCoord(b.left, m_nGridColumns)),
                    static_cast<size_t>(CellCoord(b.right, m_nGridColumns)),
                    static_cast<size_t>(CellCoord(b.top, m_nGridRows)),
                    static_cast<size_t>(CellCoord(b.bottom, m_nGridRows))};
    };

    // The bits: every tall feature marks its clipped box, summed over a
    // difference grid so that the cost does not grow with the boxes.
    {
        std::vector<std::int32_t> marks((columns + 1) * (rows + 1), 0);
        auto at = [rows](size_t c, size_t r) { return c * (rows + 1) + r; };
        for (int i : tall)
        {
            const Span s = spanOf(m_features.GetAt(i)->GetBounds());
            ++marks[at(s.c0, s.r0)];
            --marks[at(s.c1 + 1, s.r0)];
            --marks[at(s.c0, s.r1 + 1)];
            ++marks[at(s.c1 + 1, s.r1 + 1)];
        }
        m_tallHere.assign((cells + 63) / 64, 0);
        // Prefix sums along each column, then across the columns; a count
        // never exceeds the number of features, so int32 holds it.
        for (size_t c = 0; c <= columns; ++c)
            for (size_t r = 1; r <= rows; ++r)
                marks[at(c, r)] += marks[at(c, r - 1)];
        for (size_t c = 1; c <= columns; ++c)
            for (size_t r = 0; r <= rows; ++r)
                marks[at(c, r)] += marks[at(c - 1, r)];
        for (size_t c = 0; c < columns; ++c)
            for (size_t r = 0; r < rows; ++r)
                if (marks[at(c, r)] > 0)
                {
                    const size_t cell = c * rows + r;
                    m_tallHere[cell >> 6] |= std::uint64_t(1) << (cell & 63);
                }
    }

    // The lists: features in list order while the entry budget lasts; a
    // feature whose clipped box would overrun it goes to the wide list.
    const size_t budget = cells * kTallEntriesPerCell + kTallEntriesReserve;
    size_t used = 0;
    std::vector<int> listed;
    for (int i : tall)
    {
        const Span s = spanOf(m_features.GetAt(i)->GetBounds());
        const size_t area = (s.c1 - s.c0 + 1) * (s.r1 - s.r0 + 1);  // at most cells
        if (area <= budget - used)
        {
            used += area;
            listed.push_back(i);
        }
        else
        {
            m_wideTall.push_back(i);
        }
    }
    // Two passes, counting and then filling, so each cell lists its
    // features in list order. The entries stay within the budget, which a
    // 32-bit start holds.
    auto forEachCell = [rows](const Span& s, auto&& visit)
    {
        for (size_t c = s.c0; c <= s.c1; ++c)
            for (size_t r = s.r0; r <= s.r1; ++r)
                visit(c * rows + r);
    };
    m_tallStart.assign(cells + 1, 0);
    for (int i : listed)
        forEachCell(spanOf(m_features.GetAt(i)->GetBounds()), [this](size_t cell) { ++m_tallStart[cell + 1]; });
    for (size_t k = 0; k < cells; ++k)
        m_tallStart[k + 1] += m_tallStart[k];
    m_tallItems.resize(used);
    std::vector<std::uint32_t> next(m_tallStart.begin(), m_tallStart.end() - 1);
    for (int i : listed)
        forEachCell(spanOf(m_features.GetAt(i)->GetBounds()),
                    [this, &next, i](size_t cell) { m_tallItems[next[cell]++] = i; });
    SettleWholeCells();
}

namespace
{
// Whether the segment from a to b meets the closed rectangle, all in
// doubled whole metres (small enough that the products stay exact).
bool SegmentMeetsRect(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, std::int64_t left,
                      std::int64_t bottom, std::int64_t right, std::int64_t top)
{
    if (std::max(ax, bx) < left || std::min(ax, bx) > right || std::max(ay, by) < bottom || std::min(ay, by) > top)
        return false;
    const std::int64_t dx = bx - ax;
    const std::int64_t dy = by - ay;
    int above = 0;
    int below = 0;
    for (const std::int64_t x : {left, right})
        for (const std::int64_t y : {bottom, top})
        {
            const std::int64_t side = dx * (y - ay) - dy * (x - ax);
            above += side > 0 ? 1 : 0;
            below += side < 0 ? 1 : 0;
        }
    return above != 4 && below != 4;
}
}  // namespace

void CTerrainArray::SettleWholeCells()
{
    m_tallWhole.assign(m_tallHere.size(), 0);
    m_tallBorder.assign(m_tallHere.size(), 0);
    // A wide feature may reach any cell; features far off the map are left
    // alone rather than risk the products.
    if (m_tallHere.empty() || !m_wideTall.empty())
        return;
    m_wholeHeight.assign(static_cast<size_t>(m_features.GetSize()), 0);
    m_wholeObscuration.assign(static_cast<size_t>(m_features.GetSize()), 1.0f);
    for (int i = 0; i < m_features.GetSize(); ++i)
    {
        const CTerrainType* pType = TypeOf(m_features.GetAt(i));
        m_wholeHeight[static_cast<size_t>(i)] = pType->GetHeight();
        // The product starts from 1.
        m_wholeObscuration[static_cast<size_t>(i)] =
            PassesFilter(*pType, kTerrainFilterObscuring) ? 1.0f * pType->GetObscuration() : 1.0f;
    }
    constexpr int kReach = 1 << 20;
    const size_t rows = static_cast<size_t>(m_nGridRows);
    // Edges and points looked at in all, so that hostile terrain costs no
    // more than a few passes over the grid.
    const size_t cells = static_cast<size_t>(m_nGridColumns) * rows;
    long long budget = 64LL * static_cast<long long>(cells) + (1LL << 22);
    for (int c = 1; c + 1 < m_nGridColumns && budget > 0; ++c)
        for (int r = 1; r + 1 < m_nGridRows && budget > 0; ++r)
        {
            const size_t cell = static_cast<size_t>(c) * rows + static_cast<size_t>(r);
            const std::uint64_t bit = std::uint64_t(1) << (cell & 63);
            if ((m_tallHere[cell >> 6] & bit) == 0)
                continue;
            // The whole metres of the cell, (10c - 5 .. 10c + 4) each way;
            // the centres of their squares, doubled.
            const std::int64_t left = 20LL * c - 9;
            const std::int64_t right = 20LL * c + 9;
            const std::int64_t bottom = 20LL * r - 9;
            const std::int64_t top = 20LL * r + 9;
            const int* first = m_tallItems.data() + m_tallStart[cell];
            const int* end = m_tallItems.data() + m_tallStart[cell + 1];
            bool crossed = false;
            for (const int* item = first; item != end && !crossed; ++item)
            {
                const CTerrain* pFeature = m_features.GetAt(*item);
                const CRect& b = pFeature->GetBounds();
                if (b.left < -kReach || b.right > kReach || b.top < -kReach || b.bottom > kReach)
                {
                    crossed = true;
                    break;
                }
                const std::vector<CPoint>& points = pFeature->GetPoints();
                budget -= static_cast<long long>(points.size());
                for (size_t i = 0, j = points.size() - 1; i < points.size() && !crossed; j = i++)
                    crossed = SegmentMeetsRect(2LL * points[j].x, 2LL * points[j].y, 2LL * points[i].x,
                                               2LL * points[i].y, left, bottom, right, top);
            }
            if (crossed)
            {
                // A cell of one feature answers per whole metre, from which
                // of its metres lie inside; records for a few cells in a
                // hundred at most, so the table stays small.
                if (end - first != 1 || m_borderInside.size() >= cells / 32)
                    continue;
                const CTerrain* pFeature = m_features.GetAt(*first);
                budget -= 100LL * pFeature->GetPointCount();
                std::uint64_t inside[2] = {0, 0};
                for (int k = 0; k < 100; ++k)
                    if (pFeature->ContainsPoint(static_cast<float>(10 * c - 5 + k / 10),
                                                static_cast<float>(10 * r - 5 + k % 10)))
                        inside[k >> 6] |= std::uint64_t(1) << (k & 63);
                if (inside[0] == 0 && inside[1] == 0)
                    m_tallHere[cell >> 6] &= ~bit;
                else if (inside[0] == ~std::uint64_t(0) && inside[1] == (std::uint64_t(1) << 36) - 1)
                    m_tallWhole[cell >> 6] |= bit;
                else
                {
                    m_tallBorder[cell >> 6] |= bit;
                    m_borderInside.push_back(inside[0]);
                    m_borderInside.push_back(inside[1]);
                }
                continue;
            }
            int inside = 0;
            for (const int* item = first; item != end; ++item)
            {
                budget -= m_features.GetAt(*item)->GetPointCount();
                inside += m_features.GetAt(*item)->ContainsPoint(10.0f * c, 10.0f * r) ? 1 : 0;
            }
            if (inside == 0)
                m_tallHere[cell >> 6] &= ~bit;
            else if (inside == 1 && end - first == 1)
                m_tallWhole[cell >> 6] |= bit;
        }
    m_borderRank.resize(m_tallBorder.size());
    std::uint32_t rank = 0;
    for (size_t w = 0; w < m_tallBorder.size(); ++w)
    {
        m_borderRank[w] = rank;
        rank += static_cast<std::uint32_t>(CountBits(m_tallBorder[w]));
    }
}

const CTerrainType* CTerrainArray::TypeOf(const CTerrain* pFeature) const
{
    return m_types.GetAt(pFeature->GetTypeIndex());
}

int CTerrainArray::AddType(CTerrainType* pType)
{
    const int index = m_types.Add(pType);
    UpdateDerived();
    return index;
}

int CTerrainArray::AddFeature(CTerrain* pFeature)
{
    if (pFeature == nullptr)
        return -1;
    if (TypeOf(pFeature) == nullptr)
    {
        delete pFeature;
        return -1;
    }
    const int index = m_features.Add(pFeature);
    UpdateDerived();
    return index;
}

int CTerrainArray::FindFrom(int first, float x, float y, int filter) const
{
    const int count = m_features.GetSize();
    for (int i = first < 0 ? 0 : first; i < count; ++i)
    {
        const CTerrain* pFeature = m_features.GetAt(i);
        const CTerrainType* pType = TypeOf(pFeature);
        if (PassesFilter(*pType, filter) && pFeature->ContainsPoint(x, y))
            return i;
    }
    return kUnset;
}

int CTerrainArray::FindFeatureAt(float x, float y, int filter)
{
    if (m_nSearchCursor < -1)
        m_nSearchCursor = -1;
    const int found = FindFrom(m_nSearchCursor + 1, x, y, filter);
    m_nSearchCursor = found == kUnset ? -1 : found;
    return found;
}

float CTerrainArray::GetSpeedFactor(float x, float y, int ignoreBreaches) const
{
    m_nSearchCursor = -1;
    float factor = 1.0f;
    for (int i = FindFrom(0, x, y, kTerrainFilterSpeed); i != kUnset; i = FindFrom(i + 1, x, y, kTerrainFilterSpeed))
    {
        const CTerrain* pFeature = m_features.GetAt(i);
        const float f = TypeOf(pFeature)->GetSpeedFactor();
        // The first road wins outright; a lane clears the feature entirely.
        if (f > 1.0f)
            return f;
        if (!ignoreBreaches && pFeature->GetBreaches().FindBreachAt(x, y) != kUnset)
            return 1.0f;
        factor *= f;
    }
    return factor;
}

// Obscuration and height concern only features with a height, which the
// index gives in list order: the same features in the same order as a walk
// over the whole list, so the same product and the same maximum.
float CTerrainArray::GetObscurationAt(float x, float y) const
{
    m_nSearchCursor = -1;
    float product = 1.0f;
    ForEachTallAt(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y),
                  [&](int index)
                  {
                      const CTerrain* pFeature = m_features.GetAt(index);
                      const CTerrainType* pType = TypeOf(pFeature);
                      if (PassesFilter(*pType, kTerrainFilterObscuring) && pFeature->ContainsPoint(x, y))
                          product *= pType->GetObscuration();
                  });
    return product;
}

void CTerrainArray::GetFeatureHeightAndObscurationAt(float x, float y, int* height, float* obscuration) const
{
    m_nSearchCursor = -1;
    const int xi = RoundHalfUpTrunc(x);
    const int yi = RoundHalfUpTrunc(y);
    if (!m_tallWhole.empty())
    {
        const size_t cell = CellAt(xi, yi);
        if (((m_tallWhole[cell >> 6] >> (cell & 63)) & 1u) != 0)
        {
            // The one feature of the cell holds the point.
            const size_t feature = static_cast<size_t>(m_tallItems[m_tallStart[cell]]);
            *height = m_wholeHeight[feature];
            *obscuration = m_wholeObscuration[feature];
            return;
        }
        const std::uint64_t word = m_tallBorder[cell >> 6];
        const std::uint64_t bit = std::uint64_t(1) << (cell & 63);
        if ((word & bit) != 0)
        {
            // Border cells lie clear of the grid's edges: the metre is one of the cell's own.
            const size_t record = m_borderRank[cell >> 6] + static_cast<size_t>(CountBits(word & (bit - 1)));
            const int k = (xi - (CellCoord(xi, m_nGridColumns) * 10 - 5)) * 10 +
                          (yi - (CellCoord(yi, m_nGridRows) * 10 - 5));
            if (((m_borderInside[2 * record + static_cast<size_t>(k >> 6)] >> (k & 63)) & 1u) != 0)
            {
                const size_t feature = static_cast<size_t>(m_tallItems[m_tallStart[cell]]);
                *height = m_wholeHeight[feature];
                *obscuration = m_wholeObscuration[feature];
            }
            else
            {
                *height = 0;
                *obscuration = 1.0f;
            }
            return;
        }
    }
    BOOL found = FALSE;
    int tallest = 0;
    float product = 1.0f;
    ForEachTallAt(xi, yi,
                  [&](int index)
                  {
                      const CTerrain* pFeature = m_features.GetAt(index);
                      if (!pFeature->ContainsPoint(x, y))
                          return;
                      const CTerrainType* pType = TypeOf(pFeature);
                      const int h = pType->GetHeight();
                      if (!found || h > tallest)
                          tallest = h;
                      found = TRUE;
                      if (PassesFilter(*pType, kTerrainFilterObscuring))
                          product *= pType->GetObscuration();
                  });
    *height = tallest;
    *obscuration = product;
}

int CTerrainArray::GetFeatureHeightAt(float x, float y) const
{
    m_nSearchCursor = -1;
    BOOL found = FALSE;
    int height = 0;
    ForEachTallAt(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y),
                  [&](int index)
                  {
                      const CTerrain* pFeature = m_features.GetAt(index);
                      if (!pFeature->ContainsPoint(x, y))
                          return;
                      const int h = TypeOf(pFeature)->GetHeight();
                      if (!found || h > height)
                          height = h;
                      found = TRUE;
                  });
    return height;
}

CString CTerrainArray::GetTerrainNameAt(float x, float y) const
{
    m_nSearchCursor = -1;
    const CTerrainType* pBest = nullptr;
    for (int i = FindFrom(0, x, y, kTerrainFilterAll); i != kUnset; i = FindFrom(i + 1, x, y, kTerrainFilterAll))
    {
        const CTerrainType* pType = TypeOf(m_features.GetAt(i));
        if (pBest == nullptr || pType->GetHeight() > pBest->GetHeight())
            pBest = pType;
    }
    return pBest != nullptr ? pBest->GetName() : CString();
}

int CTerrainArray::FindBlockingFeature(float x, float y, CTerrain** feature, int moverFlags) const
{
    const int flags = moverFlags & 0xFF;
    if ((flags & (kMoverSlowTerrainBlocks | kMoverClimbs)) == 0)
        return 0;
    const int count = m_features.GetSize();
    for (int i = 0; i < count; ++i)
    {
        CTerrain* pFeature = m_features.GetAt(i);
        const float f = TypeOf(pFeature)->GetSpeedFactor();
        if (f > 0.0f)
            continue;
        const BOOL blocks = (flags & kMoverSlowTerrainBlocks) || ((flags & kMoverClimbs) && f < 0.0f);
        if (blocks && pFeature->ContainsPoint(x, y))
        {
            if (feature != nullptr)
                *feature = pFeature;
            return 1;
        }
    }
    return 0;
}

void CTerrainArray::SetColourSet(int mapDisplayMode)
{
    const BOOL useSet1 = mapDisplayMode == 0 ? TRUE : FALSE;
    for (int i = 0; i < m_types.GetSize(); ++i)
    {
        CTerrainType* pType = m_types.GetAt(i);
        if (pType->IsSet1Active() != useSet1)
            pType->SetColourSet(useSet1);
    }
}

void CTerrainArray::Draw(CDC* pDC, const CKDRGameMap* pMap) const
{
    for (int i = 0; i < m_features.GetSize(); ++i)
    {
        const CTerrain* pFeature = m_features.GetAt(i);
        pFeature->Draw(pDC, pMap, TypeOf(pFeature));
    }
}
