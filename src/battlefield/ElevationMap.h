#pragma once
// CElevationMap: the elevation grid of a mission's map, its grid-reference
// system and the terrain laid over it, read from the map's "*.emp" file.
// The game map owns the one elevation map of a mission; every routine that
// turns a map position into a picture pixel or asks how high, how steep or
// how visible the ground is goes through it.
//
// Coordinates: map metres as floats, origin at the lower-left corner, x east,
// y north. The picture has 2 m per pixel, origin upper left, y down.
// Heights are in tenths of a metre. One signed 16-bit sample per 10 m
// square: cell (c, r) holds the ground at (10c, 10r) and stands for the
// square 5 m around it; samples lie column after column. A position off the
// map reads kUnset.
//
// Points within 5 m of the east or north edge round into the cell past the
// last column or row; they read the edge cell, so no look-up leaves the
// grid. Loading checks the width and height (at least one cell each way,
// and no more samples than the bytes left) before anything is allocated,
// and keeps the old contents when the file turns out bad.
//
// Line of sight and the movement tests allocate nothing; detection asks the
// sight line for every observer and target on every pass.

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class CPen;
class CTerrain;
class CTerrainArray;

// A ground elevation argument of the sight line that asks for the look-up.
constexpr int kElevationLookUp = -99;

class CElevationMap : public CObject
{
    DECLARE_SERIAL(CElevationMap)
public:
    // The pens of the sight-area drawings, in this order.
    enum SightPen
    {
        kPenRays = 0,         // yellow, width 3
        kPenRangeOuter = 1,   // RGB(128,0,128), width 5
        kPenRangeMiddle = 2,  // RGB(255,0,255), width 3
        kPenRangeInner = 3,   // RGB(255,128,255), width 1
        kPenCount = 4
    };

    CElevationMap();
    ~CElevationMap() override;
    CElevationMap(const CElevationMap&) = delete;
    CElevationMap& operator=(const CElevationMap&) = delete;

    // --- The grid -------------------------------------------------------
    short GetElevation(float x, float y) const;
    // Stores one sample; a cell outside the grid is ignored.
    void SetElevation(int column, int row, short value);
    // A zeroed grid of (W/10) x (H/10) samples for the current size.
    void AllocateGrid();

    // --- Conversions ----------------------------------------------------
    // Both write their outputs in every case and answer 1 when the result
    // lies on the picture (on the map), else 0.
    int MapToPixel(float x, float y, int* px, int* py) const;
    int PixelToMap(int px, int py, float* x, float* y) const;
    // Designator and four-digit easting and northing, or "Off of map".
    CString GetGridReference(float x, float y) const;
    void ComputeGridLines();

    // The "*.emp" form: five names, seven header words, the samples, the terrain.
    void Serialize(CArchive& ar) override;

    // --- Line of sight and movement ---------------------------------------
    int HasLineOfSight(float x1, float y1, float x2, float y2, float observerHeight, float targetHeight, float* bearing,
                       float* slantRange, float* visibility) const;
    // The same with the ground elevations given; kElevationLookUp asks for
    // the look-up (and for the concealment of a feature at that end).
    int HasLineOfSightEx(float x1, float y1, int observerGround, float x2, float y2, int targetGround,
                         float observerHeight, float targetHeight, float* bearing, float* slantRange,
                         float* visibility) const;
    // Changes whenever anything the sight line reads may have changed (a
    // sample, the grid, the tall features over it); never the same for two
    // maps, so a remembered answer that carries it is an answer of this map
    // as it stands.
    std::uint64_t GetSightGeneration() const { return m_nSightGeneration; }
    float GetSlopeFactor(float x1, float y1, float x2, float y2, int* terrainZero, int ignoreTerrain) const;
    int FindBlockedPoint(int x1, int y1, int x2, int y2, int* blockedX, int* blockedY) const;
    int FindSegmentBlock(float x1, float y1, float x2, float y2, float* blockedX, float* blockedY, CTerrain** feature,
                         int moverFlags) const;
    int IsImpassable(float x, float y, int moverFlags) const;

    // --- Building a map in code (the demo mission, tests) -----------------
    // Sets the size, the offsets and the map type, allocates a zeroed grid
    // and computes the grid lines.
    void SetGeometry(int width, int height, int eastingOffset, int northingOffset, int mapType);
    void SetSquareDesignators(const CString& base, const CString& northingWrapped, const CString& eastingWrapped,
                              const CString& bothWrapped);
    void SetFileName(const CString& name) { m_strFileName = name; }
    // Sets the lowest and highest elevation from the samples.
    void UpdateElevationRange();

    // --- Fields ----------------------------------------------------------------
    const CString& GetFileName() const { return m_strFileName; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetColumns() const { return m_nColumns; }
    int GetRows() const { return m_nRows; }
    int GetEastingOffset() const { return m_nEastingOffset; }
    int GetNorthingOffset() const { return m_nNorthingOffset; }
    int GetMapType() const { return m_nMapType; }
    short GetMinElevation() const { return m_nMinElevation; }
    short GetMaxElevation() const { return m_nMaxElevation; }
    int GetKmLineIndexX() const { return m_nKmLineIndexX; }
    int GetKmLineIndexY() const { return m_nKmLineIndexY; }
    float GetFirstLineOffsetX() const { return m_fFirstLineOffsetX; }
    float GetFirstLineOffsetY() const { return m_fFirstLineOffsetY; }
    CTerrainArray* GetTerrain() const { return m_pTerrain; }
    CPen* GetPen(int which) const;
    // The samples, column after column (empty before loading).
    const std::vector<short>& GetSamples() const { return m_grid; }

private:
    // The grid as the look-up needs it, copied into locals by the sight
    // line so its loop keeps them in registers. An empty grid has a negative
    // size, so every point is off it.
    struct GridView
    {
        const short* samples;
        double width;
        double height;
        int rows;
        int lastColumn;
        int lastRow;
    };
    GridView View() const
    {
        if (m_grid.empty())
            return GridView{nullptr, -2.0, -2.0, 0, 0, 0};
        return GridView{
            m_grid.data(), static_cast<double>(m_nWidth), static_cast<double>(m_nHeight), m_nRows, m_nColumns - 1,
            m_nRows - 1};
    }
    // Whether a point, given as (x + 0.5, y + 0.5) in double precision,
    // lies on the map: trunc(v) < 0 exactly when v <= -1; NaN fails every
    // test and is off.
    static bool Inside(const GridView& grid, double vx, double vy)
    {
        return vx > -1.0 && vy > -1.0 && vx < grid.width && vy < grid.height;
    }
    // The offset of the cell such a point on the map falls in.
    static size_t CellOffset(const GridView& grid, double vx, double vy)
    {
        // Both whole metres are at least 0 on the map.
        const int c =
            std::min(static_cast<int>((static_cast<unsigned>(static_cast<int>(vx)) + 5u) / 10u), grid.lastColumn);
        const int r =
            std::min(static_cast<int>((static_cast<unsigned>(static_cast<int>(vy)) + 5u) / 10u), grid.lastRow);
        return static_cast<size_t>(c) * static_cast<size_t>(grid.rows) + static_cast<size_t>(r);
    }
    // The sample of the cell a point (already in double precision) falls
    // in, null off the map.
    static const short* CellIn(const GridView& grid, double x, double y)
    {
        const double vx = x + 0.5;
        const double vy = y + 0.5;
        return Inside(grid, vx, vy) ? grid.samples + CellOffset(grid, vx, vy) : nullptr;
    }
    static short ElevationIn(const GridView& grid, double x, double y)
    {
        const short* cell = CellIn(grid, x, y);
        return cell != nullptr ? *cell : kUnset;
    }

    // The ground as the sight line's march reads it, a word per cell: in
    // the low half the sample, or kTallGround where the terrain marks that
    // a tall feature may stand, so that one load tells both; in a cell
    // wholly inside one tall feature instead the sample, and in the high
    // half the feature's class (its index plus one), whose top and
    // obscuration the tables below give. Rebuilt whenever the marks change
    // (the terrain tells), kept with every sample set.
    void RebuildSightGround();
    static void OnTallMarksChanged(void* map);
    std::int32_t SightWord(size_t cell, short value) const;
    // A generation no map has had yet.
    static std::uint64_t NewSightGeneration();

    std::vector<short> m_grid;
    std::uint64_t m_nSightGeneration = NewSightGeneration();
    std::vector<std::int32_t> m_sightGround;
    // Per tile of the march's tiles, column after column: nonzero where a
    // marked cell lies in it or in a tile next to it; and the tiles per
    // column. Rebuilt with m_sightGround.
    std::vector<std::uint8_t> m_sightNearTall;
    int m_nSightTileRows = 0;
    // Per class: one more than twice the feature's height (0 for class 0),
    // the feature's obscuration, and the largest top addend.
    std::vector<int> m_sightClassTop;
    std::vector<float> m_sightClassObscuration;
    int m_nSightClassTopMax = 0;
    // Whether m_sightGround holds the current marks (a terrain without an
    // index over this grid gives none).
    bool m_bSightGroundMarked = false;
    CString m_strFileName;
    CString m_strSquareNorthingWrapped;
    CString m_strSquareBase;
    CString m_strSquareBothWrapped;
    CString m_strSquareEastingWrapped;
    int m_nEastingOffset = 0;
    int m_nNorthingOffset = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nMapType = 0;
    CTerrainArray* m_pTerrain = nullptr;
    short m_nMaxElevation = 0;
    short m_nMinElevation = 0;
    CPen* m_pens[kPenCount] = {};
    int m_nKmLineIndexY = 0;
    int m_nKmLineIndexX = 0;
    float m_fFirstLineOffsetY = 0.0f;
    float m_fFirstLineOffsetX = 0.0f;
    // Derived from the width and height.
    int m_nColumns = 0;
    int m_nRows = 0;
};
