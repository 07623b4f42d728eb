#pragma once
// CKDRHoles: the document's dug-position component. It owns one array of
// dug positions (HoleArray.h) per side, each with a presence flag: side 0
// the local player's own, 1 the opposing side, 2 neutral; the file each
// side was loaded from; and an index map (CGlobalMap, entries (index,
// side, side)) that names every position to the other player of a
// multiplayer game while positions change sides.
//
// Almost every operation picks one side's array by its side argument and
// forwards to the array; a side that is absent (flag clear or no array) or
// any other side value, or an index outside the array, gives the none
// answer (0, null, kUnset) and changes nothing. Searches run over sides 1,
// 0, 2; their in/out side is -1 for any side or names the one side to
// search, and is set to the side where the answer was found.
//
// Scenario part (the base's): the file pattern "*.hol" and the files of
// sides 2, 1 and 0. Saved-game part (SerializeState): the same four texts,
// three words for the presence of sides 0, 1 and 2, then each present
// side's array as its file holds it. Reading a saved-game part is all or
// nothing: a part that fails leaves the component as it was.
//
// Loading a side's array is all or nothing too: a file that cannot be had
// or read leaves the side's old array, flag and name in place (the reason
// is shown in a message box).

#include "battlefield/SideArrayComponent.h"

class CGlobalMap;
class CHole;
class CHoleArray;
class CKDRGameMap;
class CKDRUnits;
class CTaskOrgArray;

class CKDRHoles : public CSideArrayComponent<CHoleArray>
{
    DECLARE_SERIAL(CKDRHoles)
public:
    CKDRHoles();
    ~CKDRHoles() override;
    CKDRHoles(const CKDRHoles&) = delete;
    CKDRHoles& operator=(const CKDRHoles&) = delete;

    // ---- Sides ----
    // Sets the flag and makes an empty array when the side has none; null
    // for a side out of range.
    CHoleArray* EnsureSideArray(int nSide);
    CGlobalMap* GetIndexMap() const { return m_pIndexMap; }
    CHole* GetHole(int nIndex, int nSide) const;

    // ---- Loading and the saved game ----
    // Loads the named arrays of sides 1, 0 and 2 from the data directory;
    // 0 on the first failure. Each side's name becomes the one that opened.
    BOOL LoadByName(CKDRGameMap* pMap, const CString& strDataDir);
    // Loads one side's array from a file; 1 on success.
    BOOL LoadHoleArray(int nSide, const CString& strName, CKDRGameMap* pMap, const CString& strDataDir);
    // Turns the sides round once after a scenario is opened for a side
    // chosen in the multiplayer set-up: with bPlayEnemySide the own and the
    // opposing arrays swap; the neutral positions join the local player's
    // side; with bOwnSideToNeutral (no session started and no enemy side
    // chosen) the own positions become neutral. Every side's markers are
    // made again.
    void FixUpAfterLoad(CKDRGameMap* pMap, BOOL bPlayEnemySide, BOOL bOwnSideToNeutral);
    // A new index map: every present side's positions as (index, side, side).
    void ResetIndexMap();
    // The dug positions' part of a saved game, both ways.
    void SerializeState(CArchive& ar);

    // ---- Occupation, drawing and edits ----
    // The units standing on positions take them again: side 0 from the own
    // unit array; outside a linked multiplayer game also side 1 from the
    // opposing arrays and side 2 from the neutral ones.
    virtual void AssignOccupants(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawHoles(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawSelected(CTaskOrgArray* pList, CKDRGameMap* pMap, int nState);
    void PrepareAll(CKDRGameMap* pMap);
    int FindHoleAtViewPoint(float fX, float fY, CKDRGameMap* pMap, int& nSide);
    int MoveHole(int nIndex, int nSide, float fX, float fY, CKDRGameMap* pMap);
    // A new selection list of side 0's positions inside (empty when none).
    CTaskOrgArray* SelectHolesInRect(float fX1, float fY1, float fX2, float fY2);
    int PlaceHolesOfSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY,
                              CKDRGameMap* pMap);
    int EditSelectedHole(CTaskOrgArray* pList);
    // The Hole Properties dialog for one position; on OK its markers are
    // made again. 1 on OK.
    int EditHole(int nIndex, int nSide, CKDRGameMap* pMap);

    // ---- Positions that change sides ----
    // Moves every position of pSource to the end of the side's array (made
    // when absent); with bRegister each one's index-map entry, found by its
    // current (position, nSourceGroup, nSourceGroup), follows it. pSource is
    // left empty.
    void TakeHoles(int nSide, CHoleArray* pSource, int nSourceGroup, BOOL bRegister);
    // Takes in positions passed by a team-mate (strSender) or, with bQuiet,
    // handed to the neutral side: each entry names a position by its first
    // index-map triple (index, group, the list's side). Those found on
    // another side than the target are copied to the target's end (side 0,
    // or 2 when quiet) and removed from their own side; the rest are
    // dropped from the list.
    void ReceiveHoles(CTaskOrgArray* pList, const CString& strSender, BOOL bQuiet, CKDRGameMap* pMap);
    // The message shown to the player who received positions.
    static CString PassedHolesText(const CString& strSender);

    // ---- The other player ----
    int ApplyHoleRecord(const BYTE* pData, int nLength);
    void SendAllHoles();
    int SendHolesToPlayer(int nPlayer, CTaskOrgArray* pList);
    int UnpackPassedHoles(const BYTE* pData, int nLength);

private:
    CGlobalMap* m_pIndexMap;
};
