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
                throw CArchiveException(CArchiveException::badIndex);
        for (const CObject* pObject : m_features)
        {
            const CTerrain* pFeature = static_cast<const CTerrain*>(pObject);
            if (pFeature == nullptr || TypeOf(pFeature) == nullptr)
                throw CArchiveException(CArchiveException::badIndex);
        }
        UpdateDerived();
    }
}

void CTerrainArray::UpdateDerived()
{
    m_tallBounds = CRect(1, 1, 0, 0);
    m_tallStart.clear();
    m_tallItems.clear();
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

    // Squares of at least 64 m, no more than 256 along either side.
    const long long extent = std::max(static_cast<long long>(m_tallBounds.right) - m_tallBounds.left,
                                      static_cast<long long>(m_tallBounds.bottom) - m_tallBounds.top) +
                             1;
    m_nTallSquare = static_cast<int>(std::max(64LL, (extent + 255) / 256));
    m_nTallColumns = (m_tallBounds.right - m_tallBounds.left) / m_nTallSquare + 1;
    const int rows = (m_tallBounds.bottom - m_tallBounds.top) / m_nTallSquare + 1;
    const size_t squares = static_cast<size_t>(m_nTallColumns) * static_cast<size_t>(rows);

    // Two passes, counting and then filling, so each square lists its
    // features in list order.
    auto forEachSquare = [this](const CRect& b, auto&& visit)
    {
        const int c0 = (b.left - m_tallBounds.left) / m_nTallSquare;
        const int c1 = (b.right - m_tallBounds.left) / m_nTallSquare;
        const int r0 = (b.top - m_tallBounds.top) / m_nTallSquare;
        const int r1 = (b.bottom - m_tallBounds.top) / m_nTallSquare;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                visit(static_cast<size_t>(r) * static_cast<size_t>(m_nTallColumns) + static_cast<size_t>(c));
    };
    m_tallStart.assign(squares + 1, 0);
    for (int i : tall)
        forEachSquare(m_features.GetAt(i)->GetBounds(), [this](size_t square) { ++m_tallStart[square + 1]; });
    for (size_t k = 0; k < squares; ++k)
        m_tallStart[k + 1] += m_tallStart[k];
    m_tallItems.resize(static_cast<size_t>(m_tallStart[squares]));
    std::vector<int> next(m_tallStart.begin(), m_tallStart.end() - 1);
    for (int i : tall)
        forEachSquare(m_features.GetAt(i)->GetBounds(),
                      [this, &next, i](size_t square) { m_tallItems[static_cast<size_t>(next[square]++)] = i; });
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
// squares list in list order: the same features in the same order as a walk
// over the whole list, so the same product and the same maximum.
float CTerrainArray::GetObscurationAt(float x, float y) const
{
    m_nSearchCursor = -1;
    int count = 0;
    const int* tall = TallFeaturesAt(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y), &count);
    float product = 1.0f;
    for (int k = 0; k < count; ++k)
    {
        const CTerrain* pFeature = m_features.GetAt(tall[k]);
        const CTerrainType* pType = TypeOf(pFeature);
        if (PassesFilter(*pType, kTerrainFilterObscuring) && pFeature->ContainsPoint(x, y))
            product *= pType->GetObscuration();
    }
    return product;
}

int CTerrainArray::GetFeatureHeightAt(float x, float y) const
{
    m_nSearchCursor = -1;
    int count = 0;
    const int* tall = TallFeaturesAt(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y), &count);
    BOOL found = FALSE;
    int height = 0;
    for (int k = 0; k < count; ++k)
    {
        const CTerrain* pFeature = m_features.GetAt(tall[k]);
        if (!pFeature->ContainsPoint(x, y))
            continue;
        const int h = TypeOf(pFeature)->GetHeight();
        if (!found || h > height)
            height = h;
        found = TRUE;
    }
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
