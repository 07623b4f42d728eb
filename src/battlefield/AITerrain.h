#pragma once
// The items of the AI help map: hand-drawn regions that block classes of
// movers, routes that movers can follow (and that clear the blocking of
// regions), and groups of support-by-fire positions where AI orders place
// their firing elements. The game map owns them through its help map
// (CAITerrainArray, AITerrainArray.h); movement, path building and the AI
// orders ask them through the help map's queries.
//
// Coordinates are map metres, x east, y north. Regions and routes keep whole
// metres as ints; support-by-fire positions keep floats. Angles in radians
// follow the heading convention (0 north, clockwise, atan2(east, north));
// angles in mils have 6400 to the circle.
//
// Saved fields, derived fields, editing fields: each item's Serialize lists
// only the saved ones (a help-map file never stores item names, and a
// region's nested items come before its own fields). Everything derived
// (region polygon and bounds, route direction, support-by-fire centre, size,
// bounds and mean facing) is rebuilt by Rebuild, which every item runs after
// it is read or copied. Moving an item leaves the derived data stale until
// the next Rebuild.
//
// Reading never trusts the file: a point count that is negative or larger
// than the bytes left raises the archive exception before anything is
// allocated; a count of 0 is a valid, empty item that draws nothing.
//
// Editing follows the floating-point scheme of the map editor: the first
// AddPoint lays two equal points, the last one follows the mouse
// (MoveLastPoint), each further AddPoint fixes it and lays a new one, and
// FinishEdit drops the floating point. New points start from zero in every
// field they do not set.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"
#include "platform/ui/DC.h"

#include <vector>

class CAITerrainArray;
class CDC;
class CKDRGameMap;

class CAITerrain : public CObject
{
    DECLARE_SERIAL(CAITerrain)
public:
    // Kind codes, single bits so that a search may take a mask of kinds.
    static constexpr int kKindRegion = 1;
    static constexpr int kKindRoute = 2;
    static constexpr int kKindSBF = 4;

    // Mover class bits (the moving unit's kind, given by the caller).
    static constexpr int kMoverAll = 0xF;
    // Bits that free a mover from terrain, slope and help-map blocking.
    static constexpr int kMoverUnblockable = 0x4 | 0x8;

    // The help map's colour on the map: pure blue.
    static constexpr COLORREF kColor = RGB(0, 0, 255);

    CAITerrain() = default;
    CAITerrain(const CAITerrain& other) : CObject(other), m_strName(other.m_strName) {}
    CAITerrain& operator=(const CAITerrain&) = delete;
    ~CAITerrain() override = default;

    // The base's own part: its name. No item kind calls it.
    void Serialize(CArchive& ar) override;

    // Recomputes the derived fields; FALSE when there is too little to
    // derive them from (the fields keep their values then).
    virtual BOOL Rebuild() { return TRUE; }
    // Whether the map point lies on the item.
    virtual BOOL HitTest(float x, float y) const;
    virtual int GetKind() const { return 0; }
    // A region's blocking bits; 0 for every other kind.
    virtual int GetFlags() const { return 0; }
    virtual BOOL MoveLastPoint(float x, float y);
    virtual BOOL Validate() const { return TRUE; }
    virtual BOOL AddPoint(float x, float y);
    virtual COLORREF GetColor() const { return kColor; }
    // Draws in the given colour as it is being edited.
    virtual void Draw(COLORREF color, CKDRGameMap* pMap) const;
    // Moves the whole item so that its mean point lies at (x, y).
    virtual void MoveTo(float x, float y);
    // Adds room for n more points, each zero.
    virtual void GrowPointList(int n);
    // Draws as the map shows it, only where the view shows it.
    virtual void DrawOnMap(CKDRGameMap* pMap) const;
    // A deep copy made with new.
    virtual CAITerrain* Clone() const;
    virtual CString GetKindName() const { return CString(); }
    virtual BOOL FinishEdit();

    const CString& GetName() const { return m_strName; }
    void SetName(const CString& name) { m_strName = name; }

protected:
    // For the item kinds: registers an item being read with the help map's
    // reading, which refuses an object stored twice.
    void NoteLoading();

    CString m_strName;
};

// A closed polygon with blocking bits, holding nested items of its own.
class CAITerrainRegion : public CAITerrain
{
    DECLARE_SERIAL(CAITerrainRegion)
public:
    // Blocking bits: 0x1 and 0x10 block movers of class bit 0x1, 0x2 class
    // 0x2, 0x4 class 0x4, 0x8 class 0x8.
    static constexpr int kBlocksClass1Alt = 0x10;

    CAITerrainRegion();
    CAITerrainRegion(const CAITerrainRegion& other);
    ~CAITerrainRegion() override;

    // Nested items (a whole help-map part), flags, vertex count, marker,
    // the vertices as signed words.
    void Serialize(CArchive& ar) override;

    BOOL Rebuild() override;
    // Inside the bounds (the largest x and y edges excluded) and inside the
    // polygon (alternate filling).
    BOOL HitTest(float x, float y) const override;
    int GetKind() const override { return kKindRegion; }
    int GetFlags() const override { return m_nFlags; }
    BOOL MoveLastPoint(float x, float y) override;
    BOOL AddPoint(float x, float y) override;
    void Draw(COLORREF color, CKDRGameMap* pMap) const override;
    void MoveTo(float x, float y) override;
    void GrowPointList(int n) override;
    void DrawOnMap(CKDRGameMap* pMap) const override;
    CAITerrain* Clone() const override;
    CString GetKindName() const override { return "Region"; }
    BOOL FinishEdit() override;

    // The polygon as a region and the bounds: left = smallest x, top =
    // largest y, right = largest x, bottom = smallest y. A region with no
    // vertices has empty bounds and an empty polygon.
    void BuildRegion();

    // Whether this region blocks a mover of these class bits.
    BOOL Blocks(int moverFlags) const;

    // Appends an item to the nested items and hands the editing operations
    // to it until it finishes (or fails and is removed).
    void BeginChildEdit(CAITerrain* pChild);
    BOOL IsEditingChild() const { return m_bEditingChild; }

    void SetFlags(int flags) { m_nFlags = flags; }
    BOOL IsMarked() const { return m_bMarked; }
    void SetMarked(BOOL marked) { m_bMarked = marked; }
    BOOL IsFinished() const { return m_bFinished; }
    const std::vector<CPoint>& GetPoints() const { return m_points; }
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    void SetPoints(const std::vector<CPoint>& points) { m_points = points; }
    CAITerrainArray* GetChildren() const { return m_pChildren; }
    const CRect& GetBounds() const { return m_rectBounds; }

private:
    // The last nested item, which an editing region hands its edits to.
    CAITerrain* EditedChild() const;

    int m_nFlags = 0;
    std::vector<CPoint> m_points;
    CAITerrainArray* m_pChildren;  // owned, never null
    BOOL m_bMarked = FALSE;
    BOOL m_bFinished = FALSE;
    CRgn m_rgn;
    CRect m_rectBounds;
    BOOL m_bEditingChild = FALSE;
};

// One point of a route: whole metres, the route's width in metres there
// (which the path builders read) and a fourth value kept for the map makers.
struct AIRoutePoint
{
    int x = 0;
    int y = 0;
    int value = 0;
    int extra = 0;
};

// A polyline that movers can follow. A route whose flags hold all four mover
// bits clears the blocking of any region for a mover holding all four.
class CAITerrainRoute : public CAITerrain
{
    DECLARE_SERIAL(CAITerrainRoute)
public:
    CAITerrainRoute() = default;
    CAITerrainRoute(const CAITerrainRoute& other);

    // Flags, point count, marker, then x, y, value, extra of each point, all
    // signed words.
    void Serialize(CArchive& ar) override;

    // The direction from the first to the last point in mils.
    BOOL Rebuild() override;
    // Within 2 m of a segment (the ends widened by 2 m along the segment).
    BOOL HitTest(float x, float y) const override;
    int GetKind() const override { return kKindRoute; }
    BOOL MoveLastPoint(float x, float y) override;
    BOOL AddPoint(float x, float y) override;
    void Draw(COLORREF color, CKDRGameMap* pMap) const override;
    void MoveTo(float x, float y) override;
    void GrowPointList(int n) override;
    void DrawOnMap(CKDRGameMap* pMap) const override;
    CAITerrain* Clone() const override;
    CString GetKindName() const override { return "Route"; }
    BOOL FinishEdit() override;

    // Moves every point by whole metres (a region moving its nested routes).
    void Offset(int dx, int dy);

    int GetRouteFlags() const { return m_nFlags; }
    void SetRouteFlags(int flags) { m_nFlags = flags; }
    BOOL IsMarked() const { return m_bMarked; }
    void SetMarked(BOOL marked) { m_bMarked = marked; }
    const std::vector<AIRoutePoint>& GetPoints() const { return m_points; }
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    void SetPoints(const std::vector<AIRoutePoint>& points) { m_points = points; }
    void SetNewPointValue(int value) { m_nNewPointValue = value; }
    // Mils 0 to 6399; kUnset while the route has fewer than two points.
    int GetDirection() const { return m_nDirection; }

private:
    // The blocked markers at the first blocked point of each segment.
    void DrawBlockedMarkers(CKDRGameMap* pMap) const;
    void DrawLine(CPen* pPen, CKDRGameMap* pMap, BOOL visibleOnly) const;

    int m_nFlags = 0;
    std::vector<AIRoutePoint> m_points;
    BOOL m_bMarked = FALSE;
    int m_nNewPointValue = 0;
    int m_nDirection = kUnset;
};

// One support-by-fire position: where, which way it fires (radians) and the
// unit-type bits it suits.
struct AISBFPosition
{
    float x = 0.0f;
    float y = 0.0f;
    float facing = 0.0f;
    int flags = 0;
};

// A group of support-by-fire positions.
class CAITerrainSBF : public CAITerrain
{
    DECLARE_SERIAL(CAITerrainSBF)
public:
    CAITerrainSBF() = default;
    CAITerrainSBF(const CAITerrainSBF& other);

    // Position count, then x, y, facing (floats) and flags (signed word).
    void Serialize(CArchive& ar) override;

    // Centre, size, bounds and mean facing.
    BOOL Rebuild() override;
    // Within 2 m of the line through the positions.
    BOOL HitTest(float x, float y) const override;
    int GetKind() const override { return kKindSBF; }
    BOOL MoveLastPoint(float x, float y) override;
    BOOL AddPoint(float x, float y) override;
    void Draw(COLORREF color, CKDRGameMap* pMap) const override;
    void MoveTo(float x, float y) override;
    void GrowPointList(int n) override;
    void DrawOnMap(CKDRGameMap* pMap) const override;
    CAITerrain* Clone() const override;
    CString GetKindName() const override { return "SBF"; }
    BOOL FinishEdit() override;

    // The OR of the flags of every position; 0 without positions.
    int GetCombinedFlags() const;
    // FALSE when a position at x > 0 and y > 0 serves the mask (its flags or
    // the mask not positive, or a shared bit); TRUE otherwise.
    BOOL HasNoPositionFor(int mask) const;

    const std::vector<AISBFPosition>& GetPositions() const { return m_positions; }
    int GetPositionCount() const { return static_cast<int>(m_positions.size()); }
    void SetPositions(const std::vector<AISBFPosition>& positions) { m_positions = positions; }
    // Largest useful distance to a target; 0 for no limit. Not stored.
    float GetRange() const { return m_fRange; }
    void SetRange(float range) { m_fRange = range; }
    void SetNewFlags(int flags) { m_nNewFlags = flags; }
    void SetNewFacing(float facing) { m_fNewFacing = facing; }
    float GetCenterX() const { return m_fCenterX; }
    float GetCenterY() const { return m_fCenterY; }
    float GetSize() const { return m_fSize; }
    int GetFacingMils() const { return m_nFacingMils; }
    const CRect& GetBounds() const { return m_rectBounds; }
    float GetFacing() const { return m_fFacing; }

    // Draws the symbols of one position's flag bits at view point (x, y).
    static void DrawPositionSymbols(CDC* pDC, int x, int y, int flags, CBrush* pSolid, CBrush* pHollow);

private:
    std::vector<AISBFPosition> m_positions;
    float m_fRange = 0.0f;
    int m_nNewFlags = 0;
    float m_fNewFacing = 0.0f;
    float m_fCenterX = 0.0f;
    float m_fCenterY = 0.0f;
    float m_fSize = 0.0f;
    int m_nFacingMils = 0;
    CRect m_rectBounds;
    float m_fFacing = 0.0f;
};
