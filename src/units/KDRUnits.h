#pragma once
// The units component of a mission: the own side's units, the enemy and
// neutral unit arrays, their hierarchies, formation templates, standing
// orders and contact lists, and the per-tick passes of movement, detection
// and fire.
//
// Least form: a component that holds no unit. Loading succeeds with nothing
// loaded, every pass does nothing, every query answers "none". The units
// subsystem replaces it; the interface is the one the shell, the database
// and the battlefield call.

#include "platform/CString.h"
#include "platform/Collections.h"
#include "platform/Object.h"
#include "platform/Time.h"
#include "platform/Types.h"

class CArchive;
class CFireMission;
class CFireMissionArray;
class CFormationTemplateArray;
class CHierarchyArray;
class CHierarchyElement;
class CKDRDatabase;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CNodeArray;
class CSmokeArray;
class CTaskOrgArray;
class CTaskOrgArrayArray;
class CUnit;
class CUnitOrderArray;
class CUnitRefArray;

class CKDRUnits : public CObject
{
    DECLARE_SERIAL(CKDRUnits)
public:
    CKDRUnits();
    ~CKDRUnits() override;
    CKDRUnits(const CKDRUnits&) = delete;
    CKDRUnits& operator=(const CKDRUnits&) = delete;

    void Serialize(CArchive& ar) override;

    // Per-tick passes.
    int MoveAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                int nUnit, int nArray, int nKind, CFireMissionArray* pFireMissions);
    void PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond);
    void DetectAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor);
    void DirectFire(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    void ProcessIndirectFire(CKDRDatabase* pDatabase);

    // Queries.
    CUnit* GetUnit(int nUnit, int nArray, int nKind) const;
    CNodeArray* GetUnitPath(int nUnit, int nArray, int nKind) const;
    BOOL OwnUnitsHavePieces(CKDRDatabase* pDatabase) const;
    BOOL HasUnitsOfKind(int nKind) const;
    int IsOrderItemChecked(int nItem, int& nValue) const;
    CHierarchyElement* FindElementByName(const CString& strName) const;

    // Elements selected in the hierarchy tree.
    BOOL DetachElement(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    BOOL RecallDetached(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    BOOL CanDetachElement() const;
    BOOL CanRecallDetached() const;

    // Windows.
    void FillHierarchyTree(int nSide, const CString& strDatabaseName);
    void ShowFireMissionLog(int nSide, CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight);
    void RefreshFireMissionLog();
    void FillFireMissionLog(int nSide, CKDRGameMap* pMap, CFireMissionArray* pRoundsInFlight);

    // Loading and set-up.
    int LoadUnitFiles();
    void ResolveUnitTypes(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    void SetArrayNames(CKDRDatabase* pDatabase);
    void UpdateAllHeadings(CKDRDatabase* pDatabase);
    void AfterOpenUnits(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    void FixUpAfterOpen(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // Counts a side's units by vehicle type into a new zeroed block of two
    // integers per vehicle type (the caller deletes it with delete[]).
    int CountUnits(int nSide, CKDRDatabase* pDatabase, int& nTotalA, int& nTotalB, int*& pBlock);
    int MergeUnitFile(const CString& strFile);
    void SerializeState(CArchive& ar);
    void ValidateTaskOrgs(CTaskOrgArrayArray* pGroups);
    void ValidateTaskOrg(CTaskOrgArray* pList);

    // Fire effects.
    void ApplyArtilleryImpact(CFireMission* pRound, CKDRDatabase* pDatabase, int nPass1, int nPass2, int nPass3,
                              CTimeSpan tsGameTime);
    void ApplyFireMissionToUnits(CFireMission* pRound, CKDRDatabase* pDatabase, int nPass1, int nPass2,
                                 int nPass3, CTimeSpan tsGameTime);

    // The scenario part: the file names the units are loaded from.
    CString m_strName;
    CStringList* m_pNeutralFileNames;    // kind 2 unit files
    CStringList* m_pOpposingFileNames;   // kind 1 unit files
    CString m_strUnitFile;               // kind 0 unit file
    CString m_strFormationFile;
    CString m_strSOPFile;
    CString m_strHierarchyFile[3];       // sides 0, 1, 2

    // Contents (none in the least form).
    CFormationTemplateArray* m_pFormationTemplates;
    BOOL m_bFormationTemplates;
    CUnitOrderArray* m_pStandingOrders;
    BOOL m_bStandingOrders;
    CHierarchyArray* m_apHierarchies[3];   // one per side 0, 1, 2
    BOOL m_abHierarchies[3];
    CTaskOrgArrayArray* m_pTaskOrgs;
    CUnitRefArray* m_pContactsSide1;
    CUnitRefArray* m_pContactsSide2;
};
