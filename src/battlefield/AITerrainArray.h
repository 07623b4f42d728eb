#pragma once
// CAITerrainArray: the AI help map of a game map, read from its "*.aim" file:
// an owning collection of regions, routes and support-by-fire items
// (AITerrain.h), with the file name it was opened under. A region holds a
// nested array of the same kind.
//
// The game map creates, loads and deletes it and forwards the queries:
// whether a point is blocked for a class of mover, where a straight move
// first meets a blocking region (or an obstacle), which route a mover can
// join near it in its direction of travel, and which support-by-fire items
// suit a firing element. Queries read the help map and change nothing;
// null items are skipped.
//
// File form ("*.aim"): the item count (an archive count), each item as a
// class-tagged object, then the array's name, which LoadFromFile replaces
// with the name the file was opened under. Reading is all or nothing: a bad
// file raises the archive exception and leaves the array as it was. Besides
// the item's own checks (AITerrain.h), reading refuses an object stored
// twice (an item must have one owner) and regions nested more than
// kMaxNesting deep.
//
// A search result (FindSBFPositionsNear, FindSBFPositionsFacing, the game
// map's support-by-fire searches) is an array that borrows the help map's
// items: it lists them without owning them, and neither emptying nor
// deleting it deletes them.

#include "battlefield/AITerrain.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"

class CKDRGameMap;
class CKDRObstacles;
class CObstacle;

class CAITerrainArray : public TypedObArray<CAITerrain>
{
    DECLARE_SERIAL(CAITerrainArray)
public:
    // The deepest nesting of regions a file may hold.
    static constexpr int kMaxNesting = 16;

    // The largest distance of a route entry, and of the wide search.
    static constexpr float kRouteEntryRange = 200.0f;
    static constexpr float kRouteEntryWideRange = 1200.0f;
    // The largest difference between a support-by-fire item's facing and the
    // bearing it is asked for (60 degrees).
    static constexpr float kSBFFacingTolerance = 1.0471976f;

    CAITerrainArray();
    // A deep copy of every item; the file name is not copied.
    CAITerrainArray(const CAITerrainArray& other);
    CAITerrainArray& operator=(const CAITerrainArray&) = delete;
    ~CAITerrainArray() override;

    void Serialize(CArchive& ar) override;

    // Reads the named file from the data directory, which it makes current.
    // While the file does not open a file dialog offers another; Cancel
    // fails the load (FALSE) and leaves the array as it was. A malformed
    // file raises the archive exception.
    BOOL LoadFromFile(CString name, const CString& strDataDir);

    const CString& GetFileName() const { return m_strFileName; }
    void SetFileName(const CString& name) { m_strFileName = name; }
    // "Region", "Route", "SBF".
    const CStringArray& GetKindNames() const { return m_astrKindNames; }

    // A result array: it lists items it does not own.
    void SetBorrowsItems(BOOL borrows) { m_bBorrowsItems = borrows; }
    BOOL BorrowsItems() const { return m_bBorrowsItems; }

    // --- Queries ------------------------------------------------------------------
    // Whether a point is blocked for a mover of these class bits, and the
    // blocking region (the last one in array order). A route holding all
    // four mover bits clears every region for a mover holding all four.
    BOOL IsBlockedAt(float x, float y, CAITerrainRegion** ppItem, int moverFlags) const;

    // Walks from the start toward the end in 10 m steps and reports the
    // first step point inside a blocking region (with the region and its
    // marker), or the first half-step or step point where the obstacles
    // block (with the obstacle). pMap, moverSide and abilityMask go
    // unchanged to the obstacle test. Movers of class 0x4 or 0x8 and moves
    // shorter than 10 m on both axes are never blocked and leave the
    // outputs untouched.
    BOOL FindSegmentBlock(float startX, float startY, float endX, float endY, float* hitX, float* hitY,
                          CKDRObstacles* pObstacles, const CKDRGameMap* pMap, int moverFlags, int moverSide,
                          CAITerrainRegion** ppItem, CObstacle** ppObstacle, int* pMarker, int abilityMask) const;

    // The nearest point of a route that a mover at (x, y) heading `heading`
    // can join: routes within 45 degrees of the heading are joined forward,
    // within 45 degrees of the opposite backward (60 degrees for marked
    // routes); with bWide both ways are tried and the range is 1200 m
    // instead of 200 m. The entry and the route's far end must be free for
    // the mover (the game map's point test with the obstacles and the side).
    // FALSE with the entry at -99.0 and no route when none qualifies.
    BOOL FindRouteEntry(float x, float y, float heading, int moverFlags, int moverSide, const CKDRGameMap* pMap,
                        CKDRObstacles* pObstacles, float* entryX, float* entryY, int* pReverse, int* pEntryIndex,
                        CAITerrainRoute** ppRoute, BOOL bWide) const;

    // Appends the support-by-fire items whose centre lies within maxDistance
    // of (x, y), that face the target within 60 degrees and whose range
    // (when set) covers 0.75 of their distance to it.
    void FindSBFPositionsNear(CAITerrainArray* pResult, float x, float y, float maxDistance, float targetX,
                              float targetY) const;
    // Inserts the support-by-fire items within maxDistance of (x, y) that
    // face the bearing within 60 degrees and whose positions share a bit
    // with the mask (any item when either is 0), nearest first, each once.
    void FindSBFPositionsFacing(CAITerrainArray* pResult, float x, float y, float maxDistance, float bearing,
                                int mask) const;
    // Appends the support-by-fire items with indirect-fire positions (flag
    // 0x2) whose centre lies between nearDistance and farDistance from
    // (x, y) and whose bearing from it lies in the window from lo to hi
    // (radians; when lo > hi after folding into -pi..pi the window runs
    // through south).
    void FindIFPositions(CAITerrainArray* pResult, float x, float y, float lo, float hi, float nearDistance,
                         float farDistance) const;

private:
    CString m_strFileName;
    CStringArray m_astrKindNames;
    BOOL m_bBorrowsItems = FALSE;
};
