#pragma once
// CSightCache: the sight line's answers for the observer and target pairs
// of one observing unit array, kept from pass to pass of the detection
// sweep. Most units stand still most of the time, and the sight line
// (the walk over the elevation samples) is nearly the whole cost of a
// sweep; a pair whose ends have not moved gets the answer it had.
//
// Exact by construction: an entry keeps every argument of the sight line
// (both positions, heights and ground words) bit for bit, with the
// elevation map's sight generation, which changes with anything the line
// reads from the map (samples, tall features). The answer is used only
// when all of them match, so it is the one the sight line would give now.
// Everything else detection weighs (light, flares, smoke on the bearing,
// defilade, dug positions, motion, firing) lies outside the line and is
// worked out afresh each pass. A slot that now holds another unit (arrays
// changed) simply misses.
//
// Owned by the observing CUnitArray; derived only, never saved. Storage
// grows with the arrays and is then kept, so a sweep allocates nothing
// once the first has run. Brute force (the sight line every time) is kept
// as the reference path: SetSightCacheUsed(FALSE) turns the cache off for
// the whole program, and tests compare the two.

#include "platform/core/Types.h"

#include <cstdint>
#include <vector>

class CElevationMap;

// One pair's remembered sight line.
struct SSightEntry
{
    // The arguments, bit for bit; generation 0 (no map has it) is empty.
    float fX1 = 0.0f;
    float fY1 = 0.0f;
    float fX2 = 0.0f;
    float fY2 = 0.0f;
    float fHeight1 = 0.0f;
    float fHeight2 = 0.0f;
    int nGround1 = 0;
    int nGround2 = 0;
    std::uint64_t nGeneration = 0;
    // The answer.
    int bVisible = 0;
    float fBearing = 0.0f;
    float fSlantRange = 0.0f;
    float fVisibility = 0.0f;
};

// The sight line (CElevationMap::HasLineOfSightEx) from (x1, y1) to
// (x2, y2), answered from the entry when its arguments are the same and
// worked out (and kept in it) when not; a null entry always works it out.
int SightLineOf(const CElevationMap& map, SSightEntry* pEntry, float x1, float y1, int nGround1, float x2, float y2,
                int nGround2, float fHeight1, float fHeight2, float* pBearing, float* pSlantRange,
                float* pVisibility);

class CSightCache
{
public:
    // The entries of observer nObserver against the nTargets units of the
    // target array (nTargetKind, nTargetArray), one per target index; null
    // while the cache is turned off.
    SSightEntry* Row(int nTargetKind, int nTargetArray, int nObserver, int nTargets);

private:
    struct STable
    {
        int nTargetKind;
        int nTargetArray;
        std::vector<std::vector<SSightEntry>> rows;
    };
    std::vector<STable> m_tables;
};

// Whether detection uses the kept answers (the default) or works out every
// sight line afresh (the reference path).
void SetSightCacheUsed(BOOL bUsed);
BOOL IsSightCacheUsed();
