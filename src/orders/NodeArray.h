#pragma once
// A path: the ordered nodes (map points in metres, x east, y north) that a
// unit or a hierarchy element moves along, each with its own node orders.
// Node 0 is the point the mover last reached; it heads for node 1. A path of
// one node means the mover stays where it is; the last node is never
// removed by editing.
//
// Record: the node count, then each node as a tagged "CNode": its order
// list in place (count, tagged orders), then x and y as floats. The icons,
// the order names and a node's start-time copy are never stored; the path's
// adding and moving flags neither.
//
// Drawing (NodeArrayDraw.cpp) reads the path and changes nothing but the
// sprites' screen positions, which the hit test then uses.

#include "orders/NodeOrder.h"
#include "platform/core/Collections.h"
#include "platform/core/Time.h"

class CAITerrainRegion;
class CAITerrainRoute;
class CKDRDatabase;
class CKDRGameMap;
class CKDRObstacles;
class CKDRUnits;
class CRouteQueries;
class CSprite;
class CTaskOrgArray;
class CTerrain;
class CUnit;

class CNode : public CObject
{
    DECLARE_SERIAL(CNode)
public:
    CNode();
    // A node at (x, y) with a deep copy of the orders (none when null).
    CNode(float x, float y, const CNodeOrderArray* pOrders = nullptr);
    CNode(const CNode& other);
    CNode& operator=(const CNode&) = delete;
    ~CNode() override;

    void Serialize(CArchive& ar) override;

    BOOL HasStop() const;
    void AddOrder(UINT nType);
    // For start times the first one's time is kept in the start-time copy.
    void RemoveOrdersOfType(UINT nType);
    void ClearStopAndStartTime();
    // Ensures a stop and a start time, and sets the time; answers 1.
    BOOL SetStartTimeValue(CTimeSpan tsStart);
    // Ensures a stop; with bWithStartTime also a start time of tsStart, where
    // START_TIME_HOLD_REQUEST is stored as START_TIME_HOLD. (Some callers
    // describe the first argument as a side word: it is this flag.)
    void SetStartTime(BOOL bWithStartTime, CTimeSpan tsStart);
    void SetFormationOrder(const CString& formationName, const CString& iconName);
    // Appends copies of the other node's orders when all four are given;
    // the three context pointers are only tested.
    void MergeOrders(const CNode* pOther, const void* pContextA, const void* pContextB, const void* pContextC);
    // The node icon in the colour of the path's table row (NodeArrayDraw.cpp).
    void Draw(CKDRGameMap* pMap, BOOL bSelected, BOOL bForElement, int nLevel);

    CSprite* GetIcon() const { return m_pIcon; }

    float m_fX = 0.0f;
    float m_fY = 0.0f;
    CNodeOrderArray* m_pOrders = nullptr;  // never null after construction
    CTimeSpan m_tsStartCopy;               // the last start time removed

private:
    void LoadNodeIcon();

    CSprite* m_pIcon = nullptr;
    BOOL m_bIconLoaded = FALSE;
};

class CNodeArray : public TypedObArray<CNode>
{
    DECLARE_SERIAL(CNodeArray)
public:
    CNodeArray() = default;
    // Deep copy of every node; both flags 0.
    CNodeArray(const CNodeArray& other);
    CNodeArray& operator=(const CNodeArray&) = delete;

    virtual void ShiftStartTimesEarlier(LONG nSeconds);
    virtual void ShiftStartTimesLater(LONG nSeconds);

    // Appends a node at (x, y) without orders; its index.
    int AddNode(float x, float y) { return Add(new CNode(x, y)); }

    // Radians, 0 north and pi/2 east; kUnsetFloat with fewer than two nodes.
    double GetFirstLegHeading() const;
    // The node at a map point, the highest index first; kUnset.
    int HitTest(float x, float y, CKDRGameMap* pMap) const;
    BOOL RemoveNode(int nIndex);
    // The mover reached node 1: node 0 goes. A last remaining node gets a
    // stop and, with bWithStartTime, the start time START_TIME_NEVER.
    // Answers whether the new node 0 has a stop.
    BOOL RemoveFirstNode(BOOL bWithStartTime);
    void ResetToPoint(float x, float y, BOOL bWithStartTime);
    // A copy of source moved so that its node 0 lands on (x, y), clamped into the map.
    BOOL CopyOffset(const CNodeArray& source, float x, float y, CKDRGameMap* pMap);
    // A copy of source whose node 0 is put at (x, y).
    BOOL CopyWithStart(const CNodeArray& source, float x, float y, CKDRGameMap* pMap);
    void Offset(float dx, float dy, CKDRGameMap* pMap);
    float GetFirstLegLength() const;
    // Cuts the path after the node nearest (x, y); writes the last node's point.
    void TruncateAtNearest(float x, float y, float& outX, float& outY);
    // Appends copies of source's nodes 1 .. count-1.
    void AppendFrom(const CNodeArray& source);
    void EnableStartTimes(BOOL bEnabled);
    // Makes the mover face fHeading when it halts at its first stop.
    BOOL OrientAtStop(double dHeading, CKDRGameMap* pMap, BOOL bWithStartTime);
    // The per-pass start-time test; TRUE when node 0's stop was released
    // (not for any other order that fired: toggles and formations answer 0).
    BOOL ApplyNodeOrders(CTimeSpan tsNow, CObject* pContext);
    // level: the owner's hierarchy level, -1 for a unit (NodeArrayDraw.cpp).
    // The drawing context is the game map's display, not an argument.
    void Draw(CKDRGameMap* pMap, BOOL bCheckBlocked, BOOL bSelected, BOOL bForElement, int nLevel);

    // A follower's path from its leader's: the leader's nodes shifted by the
    // follower's offset (unless bKeepPositions), with the leader's orders and
    // the follower's Do Not Emplace toggle kept off while it must still move.
    int BuildFormationPath(const CNodeArray* pLeaderPath, CUnit* pFollower, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                           CKDRGameMap* pMap, BOOL bKeepPositions);

    // ---- Path builders (RouteBuild.cpp, PolygonDetour.cpp) ----
    // Makes the path drivable in place: blocked leg ends moved sideways,
    // blocked legs walked round with a fan of headings, crossings and help-
    // map routes followed, a leg that stays blocked led round its polygon.
    // pElement gives the side (null: -1); pFormationNames the formation kept
    // (element 0) and the narrow one (the last); bKeepLast leaves the leg
    // into the last node alone. A node that lies at no finite place leaves
    // its legs unchanged. Always answers 1; the outs get the last node.
    // pQueries: the terrain questions, null to ask pMap itself.
    int BuildRoute(int nLevel, float fFrontage, float fStandoff, float* pOutX, float* pOutY, CKDRUnits* pUnits,
                   CKDRObstacles* pObstacles, CTaskOrgArray* pElement, void* pContext, CKDRGameMap* pMap,
                   const CStringArray* pFormationNames, const CString& formationName, int nMoverKinds, int nIgnoreId,
                   BOOL bStripStops, float fSpacing, BOOL bKeepLast, const CRouteQueries* pQueries = nullptr);
    // A new path from the start to the end point built by the same rules,
    // facing the face point at its end (-99.0: unset). Nothing without a
    // map or an element.
    void BuildRouteTo(int nLevel, float fFrontage, float fStandoff, float fStartX, float fStartY, float fEndX,
                      float fEndY, float fFaceX, float fFaceY, CKDRGameMap* pMap, CKDRUnits* pUnits,
                      CKDRObstacles* pObstacles, CTaskOrgArray* pElement, const CStringArray* pFormationNames,
                      const CString& formationName, int nMoverKinds, const CRouteQueries* pQueries = nullptr);
    // On an empty path: the way round one polygon (a help-map region or a
    // terrain feature, exactly one given) from the start to the end point,
    // node 0 at the start. 0 and an empty path when the polygon is unusable.
    int BuildPolygonDetour(CAITerrainRegion* pRegion, CTerrain* pFeature, float fFrontage, float fStandoff,
                           float fStartX, float fStartY, float fEndX, float fEndY, int nSide, CKDRUnits* pUnits,
                           CKDRObstacles* pObstacles, CTaskOrgArray* pElement, void* pContext, CKDRGameMap* pMap,
                           const CString& name0, const CString& marker0, int nMoverKinds, int nIgnoreId,
                           const CRouteQueries* pQueries = nullptr);
    // Inserts the route's vertices after the node at nIndex, from
    // nStartIndex on (backward: down to vertex 0), narrowing the formation
    // where the route is not wider than nFrontage; then thins the nodes that
    // lead away from the last one. The outs get the last vertex, the index
    // of the last inserted node and the new count.
    void InsertAIRoute(const CStringArray* pFormationNames, CKDRUnits* pUnits, int nFrontage, BOOL bBackward,
                       int nStartIndex, const CAITerrainRoute* pRoute, CKDRGameMap* pMap, int nMoverKinds,
                       float* pOutX, float* pOutY, int nIndex, int nCount, int* pNewIndex, int* pNewCount);

    // The map's extent in metres: the elevation map's, else twice the
    // picture's pixels; FALSE (and 0) when neither is known.
    static BOOL GetMapSize(const CKDRGameMap* pMap, float& width, float& height);

    BOOL m_bAdding = FALSE;  // the last node follows the mouse: not drawn
    BOOL m_bMoving = FALSE;

private:
    void CopyFrom(const CNodeArray& source);
    void ShiftStartTimes(LONG nSeconds);
};
