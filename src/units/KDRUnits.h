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

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CArchive;
class CFireMission;
class CFireMissionArray;
class CFormationTemplateArray;
class CHierarchyArray;
class CHierarchyElement;
class CHierarchyPlatoon;
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
class CUOrdMount;

class CKDRUnits : public CObject
{
    DECLARE_SERIAL(CKDRUnits)
public:
    CKDRUnits();
    ~CKDRUnits() override;
    CKDRUnits(const CKDRUnits&) = delete;
    CKDRUnits& operator=(const CKDRUnits&) = delete;

    void Serialize(CArchive& ar) override;

    // Per-tick passes, called once per pass of the game loop. Movement and
    // detection serve one waiting window message after each unit and each
    // observer (CKDRApp::ServeWaitingMessage).
    virtual int MoveAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                        int nUnit, int nArray, int nKind, CFireMissionArray* pFireMissions);
    virtual void PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    virtual void ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond);
    virtual void DetectAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor);
    virtual void DirectFire(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    virtual void ProcessIndirectFire(CKDRDatabase* pDatabase);
    // Whether anything the map shows of the units changed since the last
    // call (a unit moved or turned, fired, was hit, destroyed, seen or lost
    // from sight, a round was fired), and clears it; the game loop redraws
    // the map only after passes that changed it. Least form: nothing
    // changes.
    virtual BOOL TakeMapChanged();

    // Queries.
    virtual CUnit* GetUnit(int nUnit, int nArray, int nKind) const;
    virtual CNodeArray* GetUnitPath(int nUnit, int nArray, int nKind) const;
    BOOL OwnUnitsHavePieces(CKDRDatabase* pDatabase) const;
    BOOL HasUnitsOfKind(int nKind) const;
    int IsOrderItemChecked(int nItem, int& nValue) const;
    // The platoon or company of that name in the hierarchy of side 0, 1 or
    // 2, asked in that order; null when none.
    CHierarchyPlatoon* FindElementByName(const CString& strName) const;
    // The element holding the unit in the hierarchy of its kind; null when
    // that hierarchy is absent or holds no element of the unit.
    virtual CHierarchyElement* FindUnitElement(int nUnit, int nArray, int nKind) const;
    // A unit's element was detached or its unit destroyed. Least form: 0.
    int NotifyElementOfUnit(int nUnit, int nArray, int nKind, BOOL bNewlyDetached);
    // Whether a unit of the selection can do one of the actions the option
    // bits ask. Least form: FALSE.
    BOOL CanSelectionDoAction(DWORD dwOptions, const CTaskOrgArray* pSelection, CKDRDatabase* pDatabase) const;

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
    // The units' own files, from the data directory; 0 when one does not load.
    int LoadUnitFiles(const CString& strDataDir);
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
    virtual void ValidateTaskOrg(CTaskOrgArray* pList);

    // Fire effects.
    void ApplyArtilleryImpact(CFireMission* pRound, CKDRDatabase* pDatabase, int nPass1, int nPass2, int nPass3,
                              CTimeSpan tsGameTime);
    void ApplyFireMissionToUnits(CFireMission* pRound, CKDRDatabase* pDatabase, int nPass1, int nPass2, int nPass3,
                                 CTimeSpan tsGameTime);

    // ---- Operations the document forwards to ----
    // Least form: nothing is drawn, every look-up finds nothing (-99, null
    // or an empty text) and every order or network operation answers 0.
    void DrawUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawFieldsOfFire(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawHierarchySymbols(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawPaths(CKDRGameMap* pMap);
    void DrawUnitLabels(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawFunctionUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawCarriedUnits(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawSelectionOverlays(CTaskOrgArray* pSelection, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawAIOrderGraphics(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Nonzero when the named element is a ground vehicle or an element.
    int IsGroundVehicleOrElement(const CString& strElement) const;

    // Look-ups at a view point.
    int HitTestElements(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    CHierarchyArray* GetElementsAtPoint(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    CTaskOrgArray* GetUnitsAtPoint(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int HitTestUnitValue(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    CString GetHoverText(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    CString GetHoverUnitText(int nX, int nY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The own units inside a rectangle of map metres; a new list or null.
    CTaskOrgArray* SelectUnitsInRect(float fLeft, float fTop, float fRight, float fBottom, CKDRGameMap* pMap);

    // Menu states.
    BOOL HasUnitSelection() const;
    BOOL IsFireMissionLogOpen() const;
    BOOL IsHierarchyTreeOpen() const;
    int GetSelectionActions() const;
    CString GetSelectedInfo() const;
    CString GetSelectedSOP() const;
    CString GetMissionNames() const;
    CString GetCompanyFormationNames() const;
    CString GetPlatoonFormation() const;
    BOOL IsSOPSetForPlatoon(int nItem) const;
    BOOL IsSOPSetForCompany(int nItem) const;

    // Orders of the selection or of an element; nonzero on success.
    virtual int SetSelectionTACSOP(int nItem, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int SetSelectionMission(int nMission, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int SetCompanyFormation(int nFormation, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int SetPlatoonFormation(int nFormation, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyOrderToPlatoon(int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyOrderToCompany(int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int IssueElementOrder(CHierarchyPlatoon* pElement, int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                          CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int IssueElementOrderB(CHierarchyPlatoon* pElement, int nOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                           CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int ApplyOrderToElement(CTaskOrgArray* pList, DWORD dwOrder, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                            CKDRObstacles* pObstacles, CKDRHoles* pHoles, float fX, float fY, float fZ);
    // Applies one order bit (the order-side encoding) to an element's units,
    // on or off; the list receives the units it reached. Least form: 0.
    virtual int ApplyOrderBitToElement(DWORD dwBit, CTaskOrgArray* pList, CHierarchyPlatoon* pElement,
                                       CKDRDatabase* pDatabase, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                                       CKDRHoles* pHoles, int nApplyState, int nOn, float fX, float fY, float fZ);
    // 1 when every unit of a non-empty list has the unit toggle set. Least form: 0.
    virtual int AllUnitsHaveToggle(const CTaskOrgArray* pList, int nToggle) const;
    // Sets or clears one order bit for the units of a list.
    int ToggleOrderForSelection(const CTaskOrgArray* pList, DWORD dwBit, float fX, float fY, CKDRGameMap* pMap,
                                CKDRDatabase* pDatabase);
    int FollowUpOrderToggle(const CTaskOrgArray* pList, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Deployment drags: one unit to the point (brought onto the map; a
    // carrier whose passenger is gone forgets it), FALSE when it refuses;
    // every live, uncarried unit of a selection by the difference of two
    // points, and the paths of the platoons and companies it names.
    virtual BOOL DragUnit(int nUnit, int nArray, int nKind, float fX, float fY, CKDRGameMap* pMap,
                          CKDRDatabase* pDatabase);
    int MoveSelectionBy(CTaskOrgArray* pSelection, float fFromX, float fFromY, float fToX, float fToY,
                        CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int PasteUnits(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                   CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int PasteOrdersToUnit(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int DismountUnits(CTaskOrgArray* pSelection, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyOrderToSelection(CTaskOrgArray* pSelection, DWORD dwOrder, float fX, float fY, CKDRGameMap* pMap,
                              CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int SetUnitPathFromClick(int nUnit, int nArray, int nKind, float fX, float fY, CKDRGameMap* pMap,
                             CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    int AssignUnitRoute(int nUnit, int nArray, int nKind, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ToggleUnitOverlay(int nUnit, int nArray, int nKind, int nOverlay, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyElementPathEdit(const CString& strElement, float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Mounts the carried units on the carriers at once (deployment phase).
    int MountUnits(CTaskOrgArray* pCarried, CTaskOrgArray* pCarrier, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Gives the carried units an order to mount (after the deployment phase).
    int IssueMountOrder(CHierarchyArray* pCarried, CHierarchyArray* pCarrier, CUOrdMount* pOrder, CKDRGameMap* pMap,
                        CKDRDatabase* pDatabase);
    int DeployMinesAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int UploadAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int AssignFireMissionAtPoint(CTaskOrgArray* pSelection, float fX, float fY, CKDRGameMap* pMap,
                                 CKDRDatabase* pDatabase);
    // A unit laid mines: obstacle nObstacle of side nSide now exists.
    int OnMinesLaid(int nUnit, int nArray, int nObstacle, int nSide);
    int PassUnits(CTaskOrgArray* pSelection, int nPlayer, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The hierarchy tree window of the own side was closed.
    void ClearHierarchyTreeShown();

    // Network records and the AI-order editor.
    int SendUnitsUpdate();
    int CaptureUnitsUpdate(const BYTE* pData, int nLength, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ReceiveShotsFired(const BYTE* pData, int nLength, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ReceiveUnitDestroyed(const BYTE* pData, int nLength, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int ApplyAIOrderSheet();
    int ApplyAIOrder();
    int ResetAIOrderEdit();
    int OnMessageBoxClosed();

    // After a change of the view settings: the units take the new symbol
    // style, then the new icon size for their sprites.
    void ApplyIconStyle(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void ApplyIconSize(CKDRGameMap* pMap, CKDRDatabase* pDatabase);

    // The scenario part: the file names the units are loaded from.
    CString m_strName;
    CStringList* m_pNeutralFileNames;   // kind 2 unit files
    CStringList* m_pOpposingFileNames;  // kind 1 unit files
    CString m_strUnitFile;              // kind 0 unit file
    CString m_strFormationFile;
    CString m_strSOPFile;
    CString m_strHierarchyFile[3];  // sides 0, 1, 2

    // Contents (none in the least form).
    CFormationTemplateArray* m_pFormationTemplates;
    BOOL m_bFormationTemplates;
    CUnitOrderArray* m_pStandingOrders;
    BOOL m_bStandingOrders;
    CHierarchyArray* m_apHierarchies[3];  // one per side 0, 1, 2
    BOOL m_abHierarchies[3];
    CTaskOrgArrayArray* m_pTaskOrgs;
    CUnitRefArray* m_pContactsSide1;
    CUnitRefArray* m_pContactsSide2;
};
