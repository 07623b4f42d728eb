#pragma once
// CUnitArray: one force's units, as read from one unit file ("*.unt"). The
// units component holds one for the player's own units and lists of them
// for the opposing and neutral kinds; a unit's unit index is its place in
// the array. The array owns its units and runs the per-array loops the
// component asks for: detection against another array, hit tests and
// selections, drawing, counting, and the rebuilding of units whose vehicle
// type no longer fits the equipment database.
//
// Unit file: exactly one stored array and nothing else. The unit list (a
// count word, then each unit class-tagged: the first "CUnit" with the new
// class tag, later ones by back reference, an empty slot as the null tag,
// each followed by the unit's record), then the text, the file name and the
// name as archive strings, then the number and the side as 16-bit words
// (sign-extended when read). A saved game holds the same bytes per array.
//
// Slots may be empty (a file can say so); every loop passes over them.
// Loading a file that turns out short, corrupt or naming a class other than
// CUnit changes nothing and says which file failed.

#include "battlefield/FireMission.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "units/SightCache.h"
#include "units/Unit.h"

class CFireMission;
class CKDRDatabase;
class CKDRGameMap;
class CKDRUnits;
class CSmokeArray;
class CTaskOrgArray;
class CUnitRefArray;

// The functions in progress that DrawFunctionUnits marks units for (the
// units component's bit set); tested in this order, smoke last.
constexpr DWORD UNIT_FUNCTION_DISMOUNT = 0x1;
constexpr DWORD UNIT_FUNCTION_MOUNT = 0x2;
constexpr DWORD UNIT_FUNCTION_BOARD = 0x4;
constexpr DWORD UNIT_FUNCTION_FIRE_MISSION = 0x8;
constexpr DWORD UNIT_FUNCTION_UPLOAD = 0x20;
constexpr DWORD UNIT_FUNCTION_LAY_MINES = 0x80;
constexpr DWORD UNIT_FUNCTION_SMOKE = 0x40;

// The catalogue picture of a unit able to do the function in progress.
extern const char* const UNIT_FUNCTION_MARKER;

class CUnitArray : public CObject
{
    DECLARE_SERIAL(CUnitArray)
public:
    CUnitArray();
    ~CUnitArray() override;
    CUnitArray(const CUnitArray&) = delete;
    CUnitArray& operator=(const CUnitArray&) = delete;

    void Serialize(CArchive& ar) override;

    // Reads the array from a unit file named relative to the data
    // directory. While the name does not open, a file dialog offers another;
    // Cancel ends the load at once (0). A file that opens but cannot be read
    // is reported with its name and fails the load (0) without changing the
    // array (a new one stays empty). On success the array holds the file's
    // contents and m_strFileName the name that opened.
    BOOL LoadUnitFile(const CString& fileName, const CString& strDataDir);

    // Checks every unit against the database and rebuilds each one that no
    // longer fits from its vehicle type, keeping its name, path, position
    // and standing settings; one report line per rebuilt unit. With a
    // database that lacks vehicles, weapons or pieces no unit is touched and
    // the report gets one line saying so. Answers 0.
    int RebuildFromDatabase(CKDRDatabase* pDatabase, CString& report);

    // ---- The units ----
    int GetSize() const { return m_pUnits->GetSize(); }
    // The unit at i, or null out of range (or for an empty slot).
    CUnit* GetAt(int i) const { return m_pUnits->GetAt(i); }
    // Appends the unit (the array takes it); its unit index.
    int Add(CUnit* pUnit) { return m_pUnits->Add(pUnit); }
    // Deletes every unit.
    void RemoveAll() { m_pUnits->RemoveAll(); }

    // ---- Per-unit loops (index order, empty slots passed over) ----
    // The kind (0 own, 1 opposing, 2 neutral) for the array and every unit.
    void SetSide(int nKind);
    // Every unit takes the tick as its own clock stamp before a run.
    void PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Every unit points along its path; answers 1.
    int UpdateHeadings(CKDRDatabase* pDatabase);
    // Every unit's picture and capabilities from its vehicle type, scale 1.
    void AttachVehicles(CKDRDatabase* pDatabase);
    // Every unit's pictures and capabilities take the view's icon scale.
    void SetSpriteValue(float fScale);
    // Every unit's picture again in the symbol style (or the plain one),
    // labelled with the name of its hierarchy element when it has one.
    // nArrayIndex is the array's place in its kind's list (0 for kind 0).
    void RebuildSymbols(BOOL bSymbolStyle, int nArrayIndex, CKDRDatabase* pDatabase, CKDRUnits* pUnits);
    // Every unit drawn, labelled likewise.
    void DrawUnits(int nArrayIndex, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nOrder,
                   int nFlags);
    // The marks of the plain entries of the list whose array word equals
    // nGroup (every entry for -1); stops at the first entry past the array.
    void DrawTaskOrgMarks(CKDRGameMap* pMap, CKDRDatabase* pDatabase, const CTaskOrgArray* pList, int nGroup);
    // Marks every live, uncarried unit that can do one of the functions set
    // in dwFunctions with the catalogue's function marker. Every set bit's
    // test runs, in the order of the constants above; a unit that can take
    // the fire mission (of the current fire order's munition type) first
    // gets that munition's range circle. Nothing without the marker.
    void DrawFunctionUnits(int nArrayIndex, DWORD dwFunctions, int nMunitionType, CKDRGameMap* pMap,
                           CKDRDatabase* pDatabase, CKDRUnits* pUnits);
    // Nothing without a game map ready to draw.
    void DrawShotLines(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawDestroyedUnits(int nSide, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawPaths(CKDRGameMap* pMap);
    // 0 for an index out of range; otherwise the unit's route and 1.
    BOOL AssignRoute(int nUnit, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Every unit's share of a burst; TRUE when any unit was affected.
    BOOL ApplyArtilleryImpact(int nArrayIndex, CFireMission* pImpact, CKDRDatabase* pDatabase, CKDRUnits* pUnits,
                              CTimeSpan tsGameTime);
    // Each unit not destroyed adds 1 to both counters and, when its vehicle
    // index lies in 0..nTypes-1, to pPerType at that index.
    void CountUnits(int& nAlive, int& nTotal, int* pPerType, int nTypes) const;
    // With a loaded game map: positions beyond its width or height are
    // brought back to the edge; lower bounds are not touched.
    void ClampToMap(CKDRGameMap* pMap);
    // Remote units in a network game: each live shot line counts down one;
    // below 1 the shot target is forgotten.
    void CountDownShotLines();
    void AfterOpen(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // An obstacle of a side was deleted: every unit's capabilities hear it.
    void ForEachCapability(int nObstacleSide, int nObstacleIndex);
    // A unit (or, with -99, a whole array) of a kind was deleted: every
    // unit's capabilities hear it with the unit's own side.
    void ForEachCapabilityOfSide(int nKind, int nArray, int nUnit);
    // Every unit with capabilities adds its fire-mission lines.
    void FillFireMissionList(CStringList& lines, std::vector<SFireLogRecord>& records, int nKind, int nArray,
                             CKDRGameMap* pMap);
    // Every unit's own contact list starts again empty (emptied in place).
    void ResetContacts();
    // TRUE when more than half of the units have a loaded map piece.
    BOOL IsMostlyPictured(CKDRDatabase* pDatabase) const;

    // ---- Hit tests and selections (screen points; map metres for rects) ----
    // From the last unit down: the first uncarried unit under the point that
    // is alive (or destroyed, with bIncludeDestroyed); kUnset when none. A
    // unit drawn at the point goes before one whose symbol box only holds
    // it, so that in a crowd the press takes the unit the player sees.
    int HitTest(int x, int y, BOOL bIncludeDestroyed);
    // From the last unit down: the first under the point that accepts the
    // action in progress, drawn units first as above; kUnset when none.
    int HitTestForAction(int x, int y, DWORD dwAction, CKDRDatabase* pDatabase);
    // New lists (the caller owns them) of id nListId and this array's side:
    // one entry (unit index, nGroup) per live, uncarried unit under the
    // point, or standing inside the rectangle (edges included, corners in
    // either order), in index order.
    CTaskOrgArray* GetUnitsAtPoint(int x, int y, int nListId, int nGroup);
    CTaskOrgArray* SelectInRect(float x1, float y1, float x2, float y2, int nListId, int nGroup);

    // Detection of every unit of the target array by every unit of this
    // one; each observer's contacts of the target kind are merged into the
    // pair list, and while the clock runs one window message is served
    // after each observer.
    void DetectAgainst(int nTargetArrayIndex, CUnitArray* pTargetArray, CUnitRefArray* pPairList, CKDRGameMap* pMap,
                       CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor, int nTargetKind);

    // ---- The record ----
    CString m_strText;              // stored and saved with the array
    CString m_strFileName;          // the file the array was read from
    CString m_strName;              // "Name" until set
    int m_nNumber = 0;              // stored and saved (16 bits)
    int m_nSide = 0;                // the kind (16 bits)
    TypedObArray<CUnit>* m_pUnits;  // owned; by unit index

private:
    // The sight lines of this array's observers from the last sweep;
    // derived only, never saved.
    CSightCache m_sightCache;
};
