#pragma once
// CObstacleArray: the obstacles and chemical areas of one side (Obstacle.h),
// owned, in the order they were loaded or laid; the obstacle component
// (KDRObstacles.h) keeps one per side and forwards its jobs here. Every
// index is a position in the array; kUnset means none. An index outside
// the array, or a chemical area where an obstacle is asked for, gives the
// none answer and changes nothing.
//
// File form ("*.fob" for the own side, "*.eob" for the others): the object
// array (a count, then each element with its class tag: CObstacle,
// CEnemyObstacle, CChem or CEnemyChem) and the array's name. LoadFromFile
// takes the name the file opened under as the array's name, clamps every
// position to the map and draws every element.

#include "battlefield/Obstacle.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Time.h"

class CAITerrainRoute;
class CKDRGameMap;
class CTaskOrgArray;
struct MoverInfo;

class CObstacleArray : public TypedObArray<CObstacle>
{
    DECLARE_SERIAL(CObstacleArray)
public:
    CObstacleArray();

    // The elements, then the name.
    void Serialize(CArchive& ar) override;

    // Reads the named file from the data directory, which it makes current;
    // while the file does not open a file dialog offers another, and Cancel
    // fails the load (FALSE). A malformed file raises the archive exception;
    // the caller discards the array then.
    BOOL LoadFromFile(CString name, CKDRGameMap* pMap, const CString& strDataDir);

    // The obstacle (not a chemical area) at i, else null.
    CObstacle* GetObstacle(int i) const;
    // The chemical area at i, else null.
    CChem* GetChemArea(int i) const;

    // The last element, not a chemical area, whose HitTest finds the point.
    int FindObstacleAt(float x, float y, const CKDRGameMap* pMap, BOOL ignoreSprite) const;
    // The last active chemical area holding the point.
    int FindChemAt(float x, float y) const;
    // A new selection list of the obstacles (not chemical areas) whose
    // centres lie in the rectangle of the two corners, bounds included.
    CTaskOrgArray* SelectInRect(float x1, float y1, float x2, float y2) const;
    // Lays every sprite in view on the back surface; an ended chemical area
    // is left out.
    void UpdateAll(CKDRGameMap* pMap);
    // One step of every element with the game time since the mission's
    // start; TRUE when one changed what the map shows.
    BOOL StepAll(CTimeSpan tsNow);
    void DrawAllOnMapSurface(CKDRGameMap* pMap);
    // "Mine Field", "Tank Ditch", "Road Crater", "Wire"; empty for any other
    // type and for a chemical area.
    static CString GetTypeName(const CObstacle* pObstacle);
    // Each selected obstacle takes the highlight and is drawn again.
    void DrawSelected(const CTaskOrgArray* pList, CKDRGameMap* pMap, BOOL highlight);
    // The Obstacle dialog for a selection (read-only but for the attitude,
    // which every selected obstacle takes on OK) or for one obstacle (its
    // attitude and time to fire). TRUE when confirmed.
    BOOL EditSelected(const CTaskOrgArray* pList, CKDRGameMap* pMap);
    BOOL EditObstacle(CObstacle* pObstacle);
    // Moves every selected obstacle by the offset between the two points,
    // clamped to the map.
    void MoveSelected(const CTaskOrgArray* pList, float fromX, float fromY, float toX, float toY,
                      const CKDRGameMap* pMap);
    // 1 with the first element that stops the mover at the point. Movers
    // without class bit 0x1 or 0x2 are never stopped; an element whose type
    // the (positive) ability mask holds is passed.
    int IsBlocked(float x, float y, const CKDRGameMap* pMap, int moverMask, CObstacle** ppObstacle, BOOL otherSide,
                  int abilityMask) const;
    // The passage past any element whose entry lies nearest the mover.
    int FindCrossing(const MoverInfo& mover, BOOL useContacts, const CKDRGameMap* pMap, float* entryX, float* entryY,
                     CAITerrainRoute** ppRoute) const;
    // Appends a new mine field (an enemy one for sides 1 and 2), drawn.
    CObstacle* AddObstacle(float x, float y, int attitude, int width, int length, int density, int side,
                           CKDRGameMap* pMap);
    // Appends a new chemical area ending `duration` seconds after tsNow, drawn.
    CChem* AddChemArea(float x, float y, int radius, int density, int duration, int side, CTimeSpan tsNow,
                       CKDRGameMap* pMap);
    // A new array named "*.fob" with a copy of every element in the other
    // class family (Obstacle.h CopyAs), drawn.
    CObstacleArray* ConvertClass(BOOL toEnemy, CKDRGameMap* pMap) const;

    CString m_strName;
};
