#include "units/SightCache.h"

#include "battlefield/ElevationMap.h"

#include <cstring>

namespace
{
BOOL g_bSightCacheUsed = TRUE;

// Bit for bit, so that -0 and 0, or two NaNs, are told apart exactly as
// the sight line could tell them apart.
inline bool Same(float a, float b) { return std::memcmp(&a, &b, sizeof(float)) == 0; }
}  // namespace

void SetSightCacheUsed(BOOL bUsed) { g_bSightCacheUsed = bUsed; }

BOOL IsSightCacheUsed() { return g_bSightCacheUsed; }

int SightLineOf(const CElevationMap& map, SSightEntry* pEntry, float x1, float y1, int nGround1, float x2, float y2,
                int nGround2, float fHeight1, float fHeight2, float* pBearing, float* pSlantRange, float* pVisibility)
{
    if (pEntry == nullptr)
        return map.HasLineOfSightEx(x1, y1, nGround1, x2, y2, nGround2, fHeight1, fHeight2, pBearing, pSlantRange,
                                    pVisibility);
    SSightEntry& e = *pEntry;
    const std::uint64_t nGeneration = map.GetSightGeneration();
    if (e.nGeneration != nGeneration || !Same(e.fX1, x1) || !Same(e.fY1, y1) || !Same(e.fX2, x2) ||
        !Same(e.fY2, y2) || !Same(e.fHeight1, fHeight1) || !Same(e.fHeight2, fHeight2) || e.nGround1 != nGround1 ||
        e.nGround2 != nGround2)
    {
        e.fX1 = x1;
        e.fY1 = y1;
        e.fX2 = x2;
        e.fY2 = y2;
        e.fHeight1 = fHeight1;
        e.fHeight2 = fHeight2;
        e.nGround1 = nGround1;
        e.nGround2 = nGround2;
        e.nGeneration = nGeneration;
        // The outputs the sight line leaves alone on some paths keep the
        // values the caller would have had.
        e.fBearing = *pBearing;
        e.fSlantRange = *pSlantRange;
        e.fVisibility = *pVisibility;
        e.bVisible = map.HasLineOfSightEx(x1, y1, nGround1, x2, y2, nGround2, fHeight1, fHeight2, &e.fBearing,
                                          &e.fSlantRange, &e.fVisibility);
    }
    *pBearing = e.fBearing;
    *pSlantRange = e.fSlantRange;
    *pVisibility = e.fVisibility;
    return e.bVisible;
}

SSightEntry* CSightCache::Row(int nTargetKind, int nTargetArray, int nObserver, int nTargets)
{
    if (!g_bSightCacheUsed || nObserver < 0 || nTargets <= 0)
        return nullptr;
    STable* pTable = nullptr;
    for (STable& table : m_tables)
    {
        if (table.nTargetKind == nTargetKind && table.nTargetArray == nTargetArray)
        {
            pTable = &table;
            break;
        }
    }
    if (pTable == nullptr)
        pTable = &m_tables.emplace_back(STable{nTargetKind, nTargetArray, {}});
    auto& rows = pTable->rows;
    if (rows.size() <= static_cast<size_t>(nObserver))
        rows.resize(static_cast<size_t>(nObserver) + 1);
    auto& row = rows[static_cast<size_t>(nObserver)];
    if (row.size() < static_cast<size_t>(nTargets))
        row.resize(static_cast<size_t>(nTargets));
    return row.data();
}
