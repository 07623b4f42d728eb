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
//
// The features with a height are indexed over the elevation grid the map
// gives (SetGrid): per 10 m cell, a bit "a tall feature may stand here" and
// a list of the tall features whose boxes reach into the cell, each box
// clipped to the grid (the edge cells stand for everything beyond the edge,
// so a point off the map finds its features too). The index costs a few
// bytes per grid cell whatever the file claims: its list entries are capped
// at kTallEntriesPerCell per cell (plus a small reserve), and a feature that
// no longer fits goes to a short list of wide features that every query in
// a marked cell checks by its box. Queries see the features in list order
// either way, so their answers do not depend on the index.
//
// Where no edge of the features listed for a cell comes into it (away from
// the grid's edges, within a budget of work per cell), every point of the
// cell lies inside the same features: the cell's mark is taken back when
// that is none of them, and a cell wholly inside its one listed feature is
// marked as such, so that the queries there need no search.

#include "battlefield/Terrain.h"
#include "battlefield/TerrainType.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Rounding.h"

#include <cstddef>
#include <cstdint>
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
    // Both at once, each exactly as the query of its own gives it, for the
    // sight line that asks them at every sample in a wood.
    void GetFeatureHeightAndObscurationAt(float x, float y, int* height, float* obscuration) const;
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

    // The elevation grid the tall-feature index is built over (columns x
    // rows cells of 10 m, cell (c, r) the whole metres that round to
    // (10c, 10r)); 0 x 0 leaves every tall feature to the wide list. The
    // elevation map sets it whenever its grid changes and before its
    // terrain is read.
    void SetGrid(int columns, int rows);

    // Cheap pre-tests for the sight line. Both answer false only when no
    // feature with a height can contain the point (the box): its feature
    // height is then surely 0 and its obscuration 1.
    bool MayHaveFeatureHeightAt(float x, float y) const
    {
        const int xi = RoundHalfUpTrunc(x);
        const int yi = RoundHalfUpTrunc(y);
        if (m_tallHere.empty())
            return xi >= m_tallBounds.left && xi <= m_tallBounds.right && yi >= m_tallBounds.top &&
                   yi <= m_tallBounds.bottom;
        const size_t cell = CellAt(xi, yi);
        return ((m_tallHere[cell >> 6] >> (cell & 63)) & 1u) != 0;
    }
    // The marks MayHaveFeatureHeightAt reads, one bit per grid cell, cells
    // column after column (cell c * rows + r in bit (c * rows + r) % 64 of
    // word (c * rows + r) / 64); null unless the index lies over a grid of
    // exactly this size.
    const std::uint64_t* GetTallMarks(int columns, int rows) const
    {
        return !m_tallHere.empty() && columns == m_nGridColumns && rows == m_nGridRows ? m_tallHere.data() : nullptr;
    }
    // Tells whoever keeps a copy of the marks (the elevation map, for the
    // sight line) after every rebuild of the index; null for nobody.
    using MarksChanged = void (*)(void* context);
    void SetMarksChanged(MarksChanged callback, void* context)
    {
        m_pfnMarksChanged = callback;
        m_pMarksContext = context;
    }
    // Whether grid cell `cell` (column * rows + row, of the grid GetTallMarks
    // was asked for) lies wholly inside its one feature, with what
    // GetFeatureHeightAndObscurationAt answers anywhere in it.
    bool GetWholeCell(size_t cell, int* height, float* obscuration) const
    {
        if (m_tallWhole.empty() || ((m_tallWhole[cell >> 6] >> (cell & 63)) & 1u) == 0)
            return false;
        const size_t feature = static_cast<size_t>(m_tallItems[m_tallStart[cell]]);
        *height = m_wholeHeight[feature];
        *obscuration = m_wholeObscuration[feature];
        return true;
    }
    // The one feature cell `cell` lies wholly inside (as GetWholeCell), or -1.
    int GetWholeFeature(size_t cell) const
    {
        if (m_tallWhole.empty() || ((m_tallWhole[cell >> 6] >> (cell & 63)) & 1u) == 0)
            return -1;
        return m_tallItems[m_tallStart[cell]];
    }
    bool HasTallFeatures() const { return m_tallBounds.left <= m_tallBounds.right; }
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
    // What every point query leaves behind, for a caller that knows the
    // query's answer without asking.
    void ForgetSearch() const { m_nSearchCursor = -1; }

    // The bytes the tall-feature index holds (its bits, cell starts and
    // list entries), and the features that went to the wide list.
    size_t GetTallIndexBytes() const;
    int GetWideTallCount() const { return static_cast<int>(m_wideTall.size()); }

    // List entries the index may hold per grid cell, and the reserve that
    // lets a small grid index its features all the same.
    static constexpr size_t kTallEntriesPerCell = 1;
    static constexpr size_t kTallEntriesReserve = 4096;

private:
    // The search behind every query: the first feature from index `first`
    // on that passes the filter and contains the point, or kUnset.
    int FindFrom(int first, float x, float y, int filter) const;
    const CTerrainType* TypeOf(const CTerrain* pFeature) const;
    // Rebuilds what is derived from the types and features, and tells the
    // keeper of the marks.
    void UpdateDerived();
    void RebuildIndex();
    // Takes back the marks of cells no tall feature reaches into and marks
    // the cells wholly inside their one feature (see the header).
    void SettleWholeCells();
    // The grid cell of a whole metre; the edge cells take everything beyond.
    static int CellCoord(int metre, int count)
    {
        const long long c = (static_cast<long long>(metre) + 5) >= 0 ? (static_cast<long long>(metre) + 5) / 10 : -1;
        return c < 0 ? 0 : (c >= count ? count - 1 : static_cast<int>(c));
    }
    size_t CellAt(int xi, int yi) const
    {
        return static_cast<size_t>(CellCoord(xi, m_nGridColumns)) * static_cast<size_t>(m_nGridRows) +
               static_cast<size_t>(CellCoord(yi, m_nGridRows));
    }
    // Calls visit(index) for every feature with a height that may contain
    // the whole metre (xi, yi), in list order.
    template <class Visit>
    void ForEachTallAt(int xi, int yi, Visit&& visit) const
    {
        if (xi < m_tallBounds.left || xi > m_tallBounds.right || yi < m_tallBounds.top || yi > m_tallBounds.bottom)
            return;
        const int* listed = nullptr;
        const int* listedEnd = nullptr;
        if (!m_tallHere.empty())
        {
            const size_t cell = CellAt(xi, yi);
            if (((m_tallHere[cell >> 6] >> (cell & 63)) & 1u) == 0)
                return;
            listed = m_tallItems.data() + m_tallStart[cell];
            listedEnd = m_tallItems.data() + m_tallStart[cell + 1];
        }
        const int* wide = m_wideTall.data();
        const int* wideEnd = wide + m_wideTall.size();
        // Both lists ascend: merge them so the features come in list order.
        while (listed != listedEnd || wide != wideEnd)
        {
            if (wide == wideEnd || (listed != listedEnd && *listed < *wide))
                visit(*listed++);
            else
                visit(*wide++);
        }
    }

    TypedObArray<CTerrainType> m_types;
    TypedObArray<CTerrain> m_features;
    mutable int m_nSearchCursor = -1;
    // Derived: the box around every feature whose type has a height
    // (inclusive; empty when left > right) and the index over the grid.
    CRect m_tallBounds = CRect(1, 1, 0, 0);
    int m_nGridColumns = 0;
    int m_nGridRows = 0;
    std::vector<std::uint64_t> m_tallHere;   // one bit per cell, cells column after column
    std::vector<std::uint64_t> m_tallWhole;  // the cells wholly inside their one listed feature
    // The cells an edge of their one listed feature crosses: which of their
    // 10 x 10 whole metres lie inside it (bit 10 * (column metre) + row
    // metre, from the cell's first metre each way), two words a cell, the
    // cells in grid order; the rank of each word's first cell among them.
    std::vector<std::uint64_t> m_tallBorder;
    std::vector<std::uint32_t> m_borderRank;
    std::vector<std::uint64_t> m_borderInside;
    // Per feature, what a point wholly inside it alone answers: its height,
    // and its obscuration as the product over it gives it.
    std::vector<int> m_wholeHeight;
    std::vector<float> m_wholeObscuration;
    std::vector<std::uint32_t> m_tallStart;  // per cell, its first entry in m_tallItems; one more at the end
    std::vector<int> m_tallItems;
    std::vector<int> m_wideTall;  // tall features beyond the entry budget, in list order
    MarksChanged m_pfnMarksChanged = nullptr;
    void* m_pMarksContext = nullptr;
};
