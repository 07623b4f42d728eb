#pragma once
// CTerrainArray: the terrain of one map, a list of terrain types and a list
// of terrain features in drawing and search order. It travels inside the
// elevation file and is reached through the elevation map.
//
// The point queries (speed factor, obscuration, feature height, name,
// blocking feature) each look at every feature at the point, from the first
// one, whatever an earlier search left behind, and leave the search cursor
// at the start, so a caller that walks FindFeatureAt right after a query
// also begins with the first feature. They allocate nothing: line of sight
// asks them at every sample.
//
// Loading rejects a feature whose type index lies outside the type list
// (CArchiveException badIndex); AddFeature refuses one the same way.

#include "battlefield/Terrain.h"
#include "battlefield/TerrainType.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Rounding.h"

#include <vector>

class CDC;
class CKDRGameMap;

// The filters of the feature search: which types' features are looked at.
constexpr int kTerrainFilterAll = 1;
constexpr int kTerrainFilterHeight = 2;     // feature height != 0
constexpr int kTerrainFilterAuxCode = 4;    // auxiliary code set
constexpr int kTerrainFilterObscuring = 8;  // obscuration != 1.0 and height != 0
constexpr int kTerrainFilterSpeed = 16;     // speed factor != 1.0

// The mover class bits that the blocking tests look at.
constexpr int kMoverSlowTerrainBlocks = 0x1;  // terrain of speed factor <= 0 blocks
constexpr int kMoverClimbs = 0x2;             // no slope limit; only speed factor < 0 blocks
constexpr int kMoverIgnoresTerrain = 0x4 | 0x8;

class CTerrainArray : public CObject
{
    DECLARE_SERIAL(CTerrainArray)
public:
    CTerrainArray() = default;
    CTerrainArray(const CTerrainArray&) = delete;
    CTerrainArray& operator=(const CTerrainArray&) = delete;

    // The type list, then the feature list, each as an object array.
    void Serialize(CArchive& ar) override;

    // Index of the next feature after the search cursor that contains the
    // point and passes the filter, kUnset at the end (the cursor
    // then goes back to the start).
    int FindFeatureAt(float x, float y, int filter);

    float GetSpeedFactor(float x, float y, int ignoreBreaches) const;
    float GetObscurationAt(float x, float y) const;
    int GetFeatureHeightAt(float x, float y) const;
    CString GetTerrainNameAt(float x, float y) const;
    int FindBlockingFeature(float x, float y, CTerrain** feature, int moverFlags) const;

    // Mode 0 (the colour map) uses colour set 1, any other mode set 2.
    void SetColourSet(int mapDisplayMode);

    // Draws every feature in list order on the device context lent by the
    // caller (the game map's back surface).
    void Draw(CDC* pDC, const CKDRGameMap* pMap) const;

    // Building terrain in code (the demo mission, tests). Both take
    // ownership; AddFeature deletes and refuses (-1) a feature whose type
    // index is not in the type list.
    int AddType(CTerrainType* pType);
    int AddFeature(CTerrain* pFeature);

    // Cheap pre-tests for the sight line. Both answer false only when no
    // feature with a height can contain the point (the box): its feature
    // height is then surely 0 and its obscuration 1.
    bool MayHaveFeatureHeightAt(float x, float y) const
    {
        int count = 0;
        TallFeaturesAt(RoundHalfUpTrunc(x), RoundHalfUpTrunc(y), &count);
        return count > 0;
    }
    bool MayHaveFeatureHeightWithin(double minX, double minY, double maxX, double maxY) const
    {
        // A point rounds to at most one metre beyond the box.
        return m_tallBounds.left <= m_tallBounds.right && maxX + 1.0 >= m_tallBounds.left &&
               minX - 1.0 <= m_tallBounds.right && maxY + 1.0 >= m_tallBounds.top && minY - 1.0 <= m_tallBounds.bottom;
    }

    int GetTypeCount() const { return m_types.GetSize(); }
    int GetFeatureCount() const { return m_features.GetSize(); }
    CTerrainType* GetType(int index) const { return m_types.GetAt(index); }
    CTerrain* GetFeature(int index) const { return m_features.GetAt(index); }
    int GetSearchCursor() const { return m_nSearchCursor; }

private:
    // The search behind every query: the first feature from index `first`
    // on that passes the filter and contains the point, or kUnset.
    int FindFrom(int first, float x, float y, int filter) const;
    const CTerrainType* TypeOf(const CTerrain* pFeature) const;
    // Rebuilds what is derived from the types and features.
    void UpdateDerived();
    // The features with a height whose box holds the whole metre (xi, yi),
    // in list order; null with *count 0 when there are none.
    const int* TallFeaturesAt(int xi, int yi, int* count) const
    {
        *count = 0;
        if (xi < m_tallBounds.left || xi > m_tallBounds.right || yi < m_tallBounds.top || yi > m_tallBounds.bottom)
            return nullptr;
        const size_t cell = static_cast<size_t>((yi - m_tallBounds.top) / m_nTallSquare) * m_nTallColumns +
                            static_cast<size_t>((xi - m_tallBounds.left) / m_nTallSquare);
        *count = m_tallStart[cell + 1] - m_tallStart[cell];
        return m_tallItems.data() + m_tallStart[cell];
    }

    TypedObArray<CTerrainType> m_types;
    TypedObArray<CTerrain> m_features;
    mutable int m_nSearchCursor = -1;
    // Derived: the box around every feature whose type has a height
    // (inclusive; empty when left > right), cut into squares that list the
    // features with a height whose boxes reach into them, so a point query
    // looks only at the few that can contain the point.
    CRect m_tallBounds = CRect(1, 1, 0, 0);
    int m_nTallSquare = 1;
    int m_nTallColumns = 0;
    std::vector<int> m_tallStart;  // per square, its first entry in m_tallItems; one more at the end
    std::vector<int> m_tallItems;
};
