#pragma once
// CTerrain: one terrain feature, a polygon on the map of one terrain type.
//
// The vertices are whole map metres. Containment follows the even-odd rule
// of a polygon region built from them: a point, rounded to whole metres,
// is taken as the unit square east and north of it, and belongs to the
// feature when that square's centre lies inside the polygon, so features that
// share an edge do not both claim the points along it. The bounding box and
// the doubled vertices for the exact integer test are derived from the
// points; they are rebuilt whenever the points are set or loaded.

#include "battlefield/Breach.h"
#include "battlefield/TerrainCapability.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include <vector>

class CDC;
class CKDRGameMap;
class CTerrainType;

class CTerrain : public CObject
{
    DECLARE_SERIAL(CTerrain)
public:
    CTerrain() = default;
    CTerrain(int typeIndex, const std::vector<CPoint>& points);
    CTerrain(const CTerrain&) = delete;
    CTerrain& operator=(const CTerrain&) = delete;

    // File order: breach lanes, capabilities, type index, point count, then
    // x and y of each point (signed words). A point count that is zero,
    // negative or larger than the bytes left raises the archive exception.
    // The type index is checked by the owning terrain array.
    void Serialize(CArchive& ar) override;

    BOOL ContainsPoint(float x, float y) const;

    // Draws the feature in its type's active colour set on the device
    // context lent by the caller, then its breach lanes.
    void Draw(CDC* pDC, const CKDRGameMap* pMap, const CTerrainType* pType) const;

    int GetTypeIndex() const { return m_nTypeIndex; }
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    const std::vector<CPoint>& GetPoints() const { return m_points; }
    const CRect& GetBounds() const { return m_bounds; }  // inclusive on every side
    CBreachArray& GetBreaches() { return m_breaches; }
    const CBreachArray& GetBreaches() const { return m_breaches; }
    const CTerrainCapArray& GetCapabilities() const { return m_capabilities; }
    CTerrainCapArray& GetCapabilities() { return m_capabilities; }

private:
    void BuildRegion();

    int m_nTypeIndex = 0;
    std::vector<CPoint> m_points;
    CBreachArray m_breaches;
    CTerrainCapArray m_capabilities;
    // Derived from the points.
    CRect m_bounds;
};
