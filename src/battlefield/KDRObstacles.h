#pragma once
// CKDRObstacles: the document's obstacle component. It owns one obstacle
// array (ObstacleArray.h) per side, each with a presence flag: side 0 the
// local player's own (plain objects), side 1 the opposing side and side 2
// neutral (both enemy objects); the file each side was loaded from; and an
// index map (CGlobalMap, entries (index, group 0, side)) that keeps the
// obstacles identifiable across the players of a multiplayer game while
// they change sides and positions.
//
// Almost every operation picks one side's array by its side argument and
// forwards to the array's operation of the same job; a side that is absent
// (flag clear or no array) or any other side value gives the none answer
// (0, null, kUnset or an empty text) and changes nothing. Searches run over
// sides 1, 0, 2; their in/out side is -1 for any side or names the one side
// to search, and is set to the side where the answer was found.
//
// Scenario part (the base's): the file pattern "*.obs" and the files of
// sides 2, 1 and 0. Saved-game part (SerializeState): the same four texts,
// three words for the presence of sides 0, 1 and 2, then each present
// side's array as its file holds it. Reading a saved-game part is all or
// nothing: a part that fails leaves the component as it was.
//
// Loading a side's array is all or nothing too: an array file that cannot
// be had or read leaves the side's old array, flag and name in place (the
// reason is shown in a message box).

#include "battlefield/SideArrayComponent.h"
#include "platform/core/Time.h"

class CAITerrainRoute;
class CChem;
class CGlobalMap;
class CKDRGameMap;
class CObstacle;
class CObstacleArray;
class CTaskOrgArray;
struct MoverInfo;

class CKDRObstacles : public CSideArrayComponent<CObstacleArray>
{
    DECLARE_SERIAL(CKDRObstacles)
public:
    CKDRObstacles();
    ~CKDRObstacles() override;
    CKDRObstacles(const CKDRObstacles&) = delete;
    CKDRObstacles& operator=(const CKDRObstacles&) = delete;

    // ---- Sides ----
    // Sets the flag, makes an empty array (replacing any old one) and clears
    // the side's name; null for a side out of range.
    CObstacleArray* CreateSideArray(int nSide);
    CGlobalMap* GetIndexMap() const { return m_pIndexMap; }

    // ---- Loading and the saved game ----
    // Loads the named arrays of sides 1, 0 and 2 from the data directory;
    // 0 on the first failure.
    BOOL LoadByName(CKDRGameMap* pMap, const CString& strDataDir);
    // Loads one side's array from a file; 1 on success.
    BOOL LoadObstacleArray(int nSide, const CString& strName, CKDRGameMap* pMap, const CString& strDataDir);
    // The obstacles' part of a saved game, both ways.
    void SerializeState(CArchive& ar);
    // Turns the sides round once after a scenario is opened for a side
    // chosen in the multiplayer set-up: with bPlayEnemySide the own and the
    // opposing arrays change class and swap; the neutral obstacles join the
    // local player's side; with bOwnSideToNeutral (no session started and
    // no enemy side chosen) the own obstacles become neutral enemy objects.
    // Every side is drawn again.
    void FixUpAfterLoad(CKDRGameMap* pMap, BOOL bPlayEnemySide, BOOL bOwnSideToNeutral);
    // A new index map: one entry per obstacle of sides 0, 1, 2, each
    // (index, 0, side).
    void ResetIndexMap();

    // ---- Time and drawing ----
    // One step of every obstacle with the game time since the mission's
    // start; once per pass of the game loop. TRUE when an obstacle changed
    // what the map shows of it (a crater fired, a chemical area ended).
    virtual BOOL Step(CTimeSpan tsNow);
    void DrawAllOnMapSurface(CKDRGameMap* pMap);
    void DrawSelected(CTaskOrgArray* pList, CKDRGameMap* pMap, int nHighlight);
    void UpdateOwnSide(CKDRGameMap* pMap);
    void UpdateOtherSides(CKDRGameMap* pMap);

    // ---- Look-ups ----
    CObstacle* GetObstacle(int nIndex, int nSide) const;
    CChem* GetChemArea(int nIndex, int nSide) const;
    int FindObstacleAt(float fX, float fY, int& nSide, CKDRGameMap* pMap, int bIgnoreSprite);
    int FindChemAt(float fX, float fY, int& nSide);
    // The type name of the obstacle at the point, with " Breach Lane" when
    // the point lies in one of its lanes; empty when none is there or the
    // one found is not the own side's.
    virtual CString GetObstacleName(float fX, float fY, CKDRGameMap* pMap);
    // Whether an obstacle stops a mover of these class bits at the point,
    // asking sides 1, 0, 2 (each as another side's when the mover's side
    // differs from it); pObstacle names the one that does (null when none).
    int IsBlocked(float fX, float fY, const CKDRGameMap* pMap, int nMoverMask, CObstacle*& pObstacle, int nMoverSide,
                  int nAbilityMask) const;
    // A passage for the mover past the obstacle it is dealing with (when
    // given), else past any obstacle of sides 1, 0, 2, the first side with
    // one deciding. 1 with the entry and a new route the caller owns; 0 with
    // (-99.0, -99.0) and no route.
    int FindCrossing(const MoverInfo& mover, const CKDRGameMap* pMap, CObstacle* pCurrent, float& fX, float& fY,
                     CAITerrainRoute*& pRoute) const;

    // ---- Edits ----
    int MoveObstacle(int nIndex, int nSide, float fX, float fY, CKDRGameMap* pMap);
    // A new selection list of side 0's obstacles inside (empty when none).
    CTaskOrgArray* SelectObstaclesInRect(float fLeft, float fTop, float fRight, float fBottom);
    int MoveSelected(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY, CKDRGameMap* pMap);
    int EditSelectedObstacle(CTaskOrgArray* pList, CKDRGameMap* pMap);
    // The Obstacle dialog for one obstacle; on OK it is drawn again.
    int EditObstacle(int nIndex, int nSide, CKDRGameMap* pMap);
    // A scatterable-mine strike: the obstacle at the point, on any side, is
    // strengthened (its index and side come back); else a new mine field is
    // laid on the named side (made when absent) and both stay kUnset.
    // Answers 1 when an obstacle was laid or strengthened.
    int PlaceObstacle(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude, int nSide,
                      CKDRGameMap* pMap, int& nIndex, int& nSideOut);
    // A chemical impact: the active chemical area at the point is
    // strengthened, else a new one ending nDuration seconds after tsNow is
    // laid on the named side (made when absent). 1 when done.
    int PlaceChemArea(float fRadius, int nDensity, int nDuration, float fX, float fY, int nSide, CTimeSpan tsNow,
                      CKDRGameMap* pMap);
    // Removes obstacle i of a side (deleting it unless bKeep) and closes the
    // gap it leaves in the index map.
    BOOL RemoveObstacle(int nIndex, int nSide, BOOL bKeep);
    // Moves every obstacle of pArray that is not a chemical area to the end
    // of the target side (made when absent), re-pointing its index-map
    // entry, found by its (position, 0, source side) as current triple when
    // bByCurrent or as first triple otherwise, to its new place. pArray is
    // left empty; the chemical areas it held are deleted.
    void MergeArray(int nTargetSide, CObstacleArray* pArray, int nSourceSide, BOOL bByCurrent);

    // ---- The other player ----
    int ApplyObstacleRecord(const BYTE* pData, int nLength);
    virtual int ApplyStateRecord(const BYTE* pData, int nLength);
    virtual int ApplyBreachRecord(const BYTE* pData, int nLength);
    void SendAllObstacles();
    // Sends the own side's obstacles and hands the selected ones to a
    // team-mate; the caller checks that a multiplayer game with a session
    // runs.
    int SendObstaclesToPlayer(int nPlayer, CTaskOrgArray* pList);
    int UnpackPassedObstacles(const BYTE* pData, int nLength);
    // Takes in obstacles passed by a team-mate (strGiver) or, with
    // bToNeutral, handed to the neutral side: each entry of the list names
    // an obstacle by its first index-map triple. Those found on another
    // side than the target are copied to the target side's end (side 0, or
    // 2 with bToNeutral) and removed from their own side; the rest are
    // dropped from the list.
    void ReceiveObstacles(const CString& strGiver, CTaskOrgArray* pList, BOOL bToNeutral, CKDRGameMap* pMap);
    // The message shown to the player who received obstacles.
    static CString PassedObstaclesText(const CString& strGiver);

private:
    CGlobalMap* m_pIndexMap;
};
