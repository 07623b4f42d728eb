#pragma once
// CKDRHoles: the document's dug-position component. One array of dug
// positions per side (0 the local player's own, 1 the opposing, 2 neutral),
// each named in the scenario by the file it is loaded from when the mission
// opens.
//
// The position arrays are not held here yet: the loads keep the names and
// load nothing, so every side stays absent. The scenario part, complete,
// is the base's.

#include "battlefield/SideFilesComponent.h"

class CKDRGameMap;
class CKDRUnits;
class CTaskOrgArray;

class CKDRHoles : public CSideFilesComponent
{
    DECLARE_SERIAL(CKDRHoles)
public:
    CKDRHoles();
    ~CKDRHoles() override;

    // Loads the named arrays of sides 1, 0 and 2; 0 on the first failure.
    BOOL LoadByName(CKDRGameMap* pMap);
    // Loads one side's array from a file; 1 on success.
    BOOL LoadHoleArray(int nSide, const CString& strName, CKDRGameMap* pMap);
    // Turns the sides round for the side the local player plays, once after
    // a scenario is opened.
    void FixUpAfterLoad(CKDRGameMap* pMap);
    // Puts the units standing on dug positions into them; run again after
    // every step of the game loop and after every change that moves units.
    virtual void AssignOccupants(CKDRUnits* pUnits, CKDRGameMap* pMap);

    // Operations the document forwards to. Least form: no side array is
    // held, so nothing is drawn or found (-99, null) and every change
    // answers 0.
    void DrawHoles(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawSelected(CTaskOrgArray* pList, CKDRGameMap* pMap, int nState);
    // Searches sides 1, 0, 2 (nSide -1) or the one side named; on a hit
    // sets nSide and answers the index.
    int FindHoleAtViewPoint(int nX, int nY, CKDRGameMap* pMap, int& nSide);
    int MoveHole(int nIndex, int nSide, float fX, float fY, CKDRGameMap* pMap);
    // A new selection list of side 0's positions inside (empty when none).
    CTaskOrgArray* SelectHolesInRect(float fX1, float fY1, float fX2, float fY2);
    int PlaceHolesOfSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY,
                              CKDRGameMap* pMap);
    int EditSelectedHole(CTaskOrgArray* pList);
    int EditHole(int nIndex, int nSide, CKDRGameMap* pMap);
    int ApplyHoleRecord(const BYTE* pData, int nLength);
    void SendAllHoles();
    int SendHolesToPlayer(int nPlayer, CTaskOrgArray* pList);
    int UnpackPassedHoles(const BYTE* pData, int nLength);
};
