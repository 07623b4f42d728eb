#pragma once
// CKDRObstacles: the document's obstacle component. One obstacle array per
// side (0 friendly, 1 enemy, 2 neutral), each named in the scenario by the
// file it is loaded from when the mission opens.
//
// The obstacle arrays are not held here yet: the loads keep the names and
// load nothing, so every side stays absent. The scenario part, complete,
// is the base's.

#include "battlefield/SideFilesComponent.h"

class CKDRGameMap;
class CObstacle;
class CTaskOrgArray;

class CKDRObstacles : public CSideFilesComponent
{
    DECLARE_SERIAL(CKDRObstacles)
public:
    CKDRObstacles();
    ~CKDRObstacles() override;

    // Loads the named arrays of sides 1, 0 and 2; 0 on the first failure.
    BOOL LoadByName(CKDRGameMap* pMap);
    // Loads one side's array from a file; 1 on success.
    BOOL LoadObstacleArray(int nSide, const CString& strName, CKDRGameMap* pMap);
    // Turns the sides round for the side the local player plays, once after
    // a scenario is opened.
    void FixUpAfterLoad(CKDRGameMap* pMap);

    // One step of every obstacle with the game clock; once per pass of the
    // game loop.
    virtual void Step();

    // Operations the document forwards to. Least form: no side array is
    // held, so nothing is drawn or found (-99, null, an empty text) and
    // every change answers 0.
    void DrawAllOnMapSurface(CKDRGameMap* pMap);
    void DrawSelected(CTaskOrgArray* pList, CKDRGameMap* pMap, int nHighlight);
    // Searches sides 1, 0, 2 (nSide -1) or the one side named; on a hit
    // sets nSide and answers the index.
    int FindObstacleAt(float fX, float fY, int& nSide, CKDRGameMap* pMap, int bIgnoreSprite);
    // Whether an obstacle blocks a mover of these class bits at the point,
    // searching sides 1, 0, 2; sets pObstacle to the blocking one (null when
    // none).
    int IsBlocked(float fX, float fY, const CKDRGameMap* pMap, int nMoverMask, CObstacle*& pObstacle, int nMoverSide,
                  int nAbilityMask) const;
    int MoveObstacle(int nIndex, int nSide, float fX, float fY, CKDRGameMap* pMap);
    // A new selection list of side 0's obstacles inside (empty when none).
    CTaskOrgArray* SelectObstaclesInRect(float fLeft, float fTop, float fRight, float fBottom);
    int MoveSelected(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY, CKDRGameMap* pMap);
    int EditSelectedObstacle(CTaskOrgArray* pList, CKDRGameMap* pMap);
    int EditObstacle(int nIndex, int nSide, CKDRGameMap* pMap);
    virtual CString GetObstacleName(float fX, float fY, CKDRGameMap* pMap);
    void UpdateOwnSide(CKDRGameMap* pMap);
    void UpdateOtherSides(CKDRGameMap* pMap);
    int PlaceObstacle(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude, int nSide,
                      CKDRGameMap* pMap, int& nIndex, int& nSideOut);
    int PlaceChemArea(float fRadius, int nDensity, int nDuration, float fX, float fY, int nSide, CKDRGameMap* pMap);
    int ApplyObstacleRecord(const BYTE* pData, int nLength);
    virtual int ApplyStateRecord(const BYTE* pData, int nLength);
    virtual int ApplyBreachRecord(const BYTE* pData, int nLength);
    void SendAllObstacles();
    int SendObstaclesToPlayer(int nPlayer, CTaskOrgArray* pList);
    int UnpackPassedObstacles(const BYTE* pData, int nLength);
};
