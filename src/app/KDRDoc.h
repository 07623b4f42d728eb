#pragma once
// CKDRDoc: the single document. It holds one mission at a time: the eight
// optional components a scenario names (see CKDRScenario), and the state
// that belongs to no component: smoke and illumination clouds, rounds in
// flight, the stored task-organisation groups, the force variants drawn for
// the mission and the force counts kept for the results.
//
// Opening a scenario reads the "*.asc" file (a short or malformed file is
// reported and leaves the document empty), then loads each present
// component from its own files in a fixed order: game map, database,
// units, obstacles, dug positions, operations order, light conditions,
// missions. A step runs only when every earlier one succeeded; the units
// need the game map and the database, the obstacles and dug positions the
// game map, and a missing prerequisite counts as a failed load. On a fresh
// open the side fix-ups follow and the game clock is set to the scenario's
// start time with no game second elapsed: the deployment phase.
//
// Closing, reopening or a new document deletes every component and every
// run-time array (DeleteContents).

#include "app/KDRScenario.h"
#include "platform/ui/Document.h"
#include "shell/MissionService.h"

class CDisplay;
class CFireMission;
class CFireMissionArray;
class CHierarchyArray;
class CHierarchyElement;
class CHierarchyPlatoon;
class CKDRApp;
class CMessageBoxDlg;
class CNetUpdate;
class CNodeArray;
class CSmokeArray;
class CTaskOrgArray;
class CTaskOrgArrayArray;
class CUnit;
class CUnitRefArray;

// What changed, as the document tells its views through UpdateAllViews.
// Hint 0 is the framework's own: the map's size may have changed. The
// document never writes a view's state itself, so a mission opens, runs and
// saves with no view at all.
// The mission is gone (its components were deleted).
constexpr LPARAM KDR_HINT_CONTENTS_DELETED = 1;
// A new, empty document: no mission and no game time.
constexpr LPARAM KDR_HINT_DOCUMENT_EMPTIED = 2;
// A mission starts to open; until KDR_HINT_OPEN_ENDED its parts may be half
// read, so nothing of it is drawn.
constexpr LPARAM KDR_HINT_OPENING = 3;
// The scenario was read; the components load next.
constexpr LPARAM KDR_HINT_LOADING_COMPONENTS = 4;
// Objects an interaction in progress may refer to were replaced.
constexpr LPARAM KDR_HINT_OBJECTS_REPLACED = 5;
// A mission was opened, afresh (in its deployment phase) or from a saved
// game (as it stood when saved).
constexpr LPARAM KDR_HINT_MISSION_OPENED = 6;
// The open is over, whatever its result.
constexpr LPARAM KDR_HINT_OPEN_ENDED = 7;
// The units' hierarchy tree window was closed.
constexpr LPARAM KDR_HINT_HIERARCHY_TREE_CLOSED = 8;
// State received from the other player changed the mission.
constexpr LPARAM KDR_HINT_STATE_RECEIVED = 9;

// The icon styles the view passes to the unit drawing: pictures, or NATO
// (framed symbols for the units, echelon symbols for platoons and companies).
constexpr int ICON_STYLE_PICTURES = 0;
constexpr int ICON_STYLE_NATO = 1;

// A view-side object that wants the units component (popup menus are built
// this way without the view reaching into the mission).
class CUnitsCallback
{
public:
    virtual ~CUnitsCallback() = default;
    virtual int CallWithUnits(CKDRUnits* pUnits, int nArg) = 0;
};

class CKDRDoc : public CDocument, public CKDRScenario, public CMissionService
{
public:
    CKDRDoc();
    ~CKDRDoc() override;

    // ---- Framework steps ----
    BOOL OnNewDocument() override;
    void DeleteContents() override;
    // The scenario file, both ways.
    void Serialize(CArchive& ar) override;
    BOOL OnOpenDocument(const char* path) override;
    // Asks "Save Game?" before a modified single-player mission is left.
    BOOL SaveModified() override;
    // Writes a saved game of that name (relative to the saved-game
    // directory) into a new file and puts it in place of any old one only
    // when complete; a failure is shown ("The game could not be saved.")
    // and answers FALSE, the old file untouched.
    BOOL OnSaveDocument(const char* path) override;
    // File/Save Game...: asks for a name with the save dialog and saves;
    // both arguments are ignored.
    BOOL DoSave(const char* path, BOOL replace = TRUE) override;

    // ---- What the document is handed ----
    // The data directory, made current while a mission's files are read,
    // and the saved-game directory, where generated pages go; the
    // application hands both over once it knows them.
    void SetDirectories(const CString& strDataDir, const CString& strSavegameDir)
    {
        m_strDataDir = strDataDir;
        m_strSavegameDir = strSavegameDir;
    }
    const CString& GetDataDir() const { return m_strDataDir; }
    const CString& GetSavegameDir() const { return m_strSavegameDir; }
    // The display the map's pictures are made for; without one (no window)
    // they are read all the same and only never shown.
    void SetDisplay(CDisplay* pDisplay) { m_pDisplay = pDisplay; }

    // ---- Mission operations ----
    // Recounts the force totals and per-type counts (keepOpposing 1 keeps
    // the opposing side's counts, as taken when the mission began).
    void CountForces(int keepOpposing);
    // Merges the randomly drawn force variant of mission side 1 or 2.
    void MergeForceVariant(int nSide);
    // Replace one side's stored task-organisation groups by copies of the
    // other's; nothing without a units component.
    void CopyTaskOrgGroupsFromUnits();
    void CopyTaskOrgGroupsToUnits();

    // Reads only the missions slot of a scenario from a loading archive and
    // hands it over (null when the scenario has none). Archive exceptions
    // pass to the caller.
    static CKDRMissions* ReadScenarioMissions(CArchive& ar);
    // The main mission's name and description of a scenario file in the
    // data directory, without opening the scenario; FALSE on any failure.
    static BOOL ReadMissionInfo(const CString& strDataDir, const CString& strPath, CString& strName, CString& strText);

    // The main mission's name; without one the operations order's name;
    // else empty. The document's title.
    CString GetMissionTitle() const;

    // Opens a saved game or set-up (named relative to the saved-game
    // directory); 1 on success. A file that does not open answers 0 and
    // leaves the document untouched; one that cannot be read, or whose
    // scenario does not load, leaves a new, empty document (with a message
    // naming the file) and answers 0. The mission stands as saved: in the
    // deployment phase when no game second had passed, else with the clock
    // stopped at the saved time.
    BOOL OpenSavedGame(const char* path);
    // The saved game's archive, both ways: smoke, fire missions, the
    // scenario's file name, the presence of units, obstacles, dug positions
    // and light, the force-variant files, totals, elapsed time and type
    // counts, then each present component's state. Reading creates the
    // present components empty; a short or corrupt archive raises the
    // archive exception.
    void SerializeSavedGame(CArchive& ar);
    // Reads the scenario named by the path name again under the state the
    // saved game just loaded, which replaces the scenario's own; 1 on
    // success. A failure leaves a new, empty document.
    BOOL ResetForSavedGame();

    // ---- The document's own menu commands (KDRDocCommands.cpp) ----
    // File/Restart Mission: the scenario opened afresh, after "Save Game?"
    // for a modified game (Cancel changes nothing); a scenario that no
    // longer opens leaves an empty document and the start menu. Enabled
    // for a game opened from a saved game or modified, with the clock
    // stopped, in single play before any enemy-side choice.
    void OnFileRestartMission();
    void OnUpdateFileRestartMission(CCmdUI* pCmdUI);
    // View/Order: opens or closes the operations order's window; enabled
    // while the mission has an order the player's side may read and its
    // window can be shown, checked while the window is open.
    void OnViewOrder();
    void OnUpdateViewOrder(CCmdUI* pCmdUI);
    // View/Hierarchy Tree (H): shows or hides the own side's hierarchy
    // tree and records it in the zoom level; enabled when the view allows
    // it and the tree's window can be shown, checked while it is open.
    void OnViewHierarchyTree();
    void OnUpdateViewHierarchyTree(CCmdUI* pCmdUI);
    // Detach and Recall Detached: the element selected in the hierarchy
    // tree; on success the dug positions take their occupants again, the
    // pick sounds, the map is redrawn and the document is modified.
    // Enabled when the units can do it for the selected element.
    void OnDetach();
    void OnUpdateDetach(CCmdUI* pCmdUI);
    void OnRecallDetached();
    void OnUpdateRecallDetached(CCmdUI* pCmdUI);
    // TACSOP1 to TACSOP20 of the tree's menu (the view serves the
    // commands): item k is enabled when the units give the selected
    // element a non-zero value for item k-1.
    void OnUpdateTacSop(CCmdUI* pCmdUI);

    // Help/Vehicle Specs...: the equipment pages' index in the Vehicle Specs
    // window; enabled while a vehicle list is loaded, checked while the
    // window is open.
    void OnHelpVehicleSpecs();
    void OnUpdateHelpVehicleSpecs(CCmdUI* pCmdUI);
    // File/Save Game...: enabled while the clock is stopped, its window
    // open, the mission changed and no multiplayer game runs.
    void OnUpdateFileSaveGame(CCmdUI* pCmdUI);
    // Actions/FM Log... (L): opens or closes the own side's fire-mission
    // log when the view allows the command and units, map and rounds in
    // flight are there, and records in the zoom level whether it is open;
    // checked while the log is open.
    void OnFireMissionLog();
    void OnUpdateFireMissionLog(CCmdUI* pCmdUI);
    // Opens or closes the own side's fire-mission log; FALSE without units,
    // map or rounds in flight.
    BOOL ToggleFireMissionLog();

    // Opens the modeless message box at a map point (centred without a map
    // picture or for a point off the view's upper left), replacing one
    // still open; 0 without a map.
    int ShowMessageBoxDlg(const CString& strTitle, const CString& strText, float fX, float fY);

    // ---- Mission end ----
    // Offers the results page of the main mission (the game loop at the end
    // of a mission passes bFinished 1; leaving an unfinished mission passes
    // 0 and asks first). 1 when the results were shown. Nothing is offered
    // without missions, units and database, or in the deployment phase.
    int OfferResults(CTimeSpan tsElapsed, int bFinished);
    // The six force totals a saved game keeps, in its order: own, third,
    // opposing, two each. The mission-end test and the results page get them.
    void GetForceTotals(int anTotals[6]) const;

    // ---- Game-loop steps (the map view's Time/Start runs them) ----
    // Each returns at once, doing nothing, when a component it needs is not
    // present ("present": its flag set and its pointer not null).
    // Before the first pass of a run: the units, rounds in flight and smoke
    // take the tick as their time stamp.
    void PrepareRun(DWORD dwTick);
    BOOL UpdateLightCondition();
    // Obstacles, units, rounds in flight, smoke, dug-position occupants, in
    // that order; the units' movement result (non-zero when the selected
    // unit's path changed), 0 when something needed is missing.
    int StepSimulation(int nUnit, int nArray, int nKind);
    // Both outputs are set to null first.
    BOOL UpdateContacts(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond);
    BOOL DetectAll();
    BOOL DirectFire();
    BOOL ProcessIndirectFire();
    // Non-zero when the main mission has ended; bWon tells the outcome.
    BOOL TestMissionEnd(CTimeSpan tsElapsed, int& bWon);
    // Whether what the map shows changed since the last call, and clears
    // it: the steps above note every change their components report (a
    // unit moved, fired, was hit or seen, a round flew or landed, a cloud
    // drifted, an obstacle changed), and anything else that changes the map
    // between two paints may note one too. The game loop redraws the map
    // only after passes that changed it.
    BOOL TakeMapChanged();
    void NoteMapChanged() { m_bMapChanged = TRUE; }

    // ---- The document facade ----
    // One-line operations through which the view, the application and the
    // network layer reach the mission. Each checks that the components it
    // needs are present and otherwise does nothing and answers its nothing
    // value: 0 (FALSE), null, an empty text, or -99 for look-ups by point.
    // Obstacles and dug positions are passed as null when absent. Editing
    // operations mark the document modified when they succeed; those that
    // move units then let the dug positions take their occupants again.
    // Drawing operations answer TRUE when they drew through a component.

    // Units: drawing. dwMode is the view's interaction mode (the order whose
    // icon own units and symbols show), nArrowFlags 1 hull arrows | 2
    // turret arrows; the echelon flags say what the view shows (vehicles
    // and teams, platoon markers, company markers). An icon style of 1
    // (NATO) draws framed symbols, 0 pictures.
    BOOL DrawUnits(DWORD dwMode, int nArrowFlags, BOOL bVehicles);
    BOOL DrawDestroyedUnits(int nIconStyle, float fIconSize);
    BOOL DrawFieldsOfFire();
    BOOL DrawHierarchySymbols(BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies, int nIconStyle, float fIconSize,
                              DWORD dwMode, int nArrowFlags);
    BOOL DrawPaths(BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies);
    BOOL DrawUnitLabels(const CTaskOrgArray* pSelection, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies);
    // Marks the units, or the platoons and companies, able to do a function
    // of the highlight code (the own side's).
    BOOL DrawFunctionUnits(DWORD dwCode, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies);
    BOOL DrawCarriedUnits();
    // The unit found by index, or the units of the named element when
    // strElement is not empty.
    BOOL DrawFunctionCircles(int nUnit, int nArray, int nKind, const CString& strElement);
    BOOL DrawFireMissionLinks(int nUnit, int nArray, int nKind, const CString& strElement);
    BOOL DrawFunctionCircle(int nUnit, int nArray, int nKind);
    BOOL DrawCarrierLinks(CUnit* pUnit);
    // The selection's overlays (when given), then the range circles of the
    // unit found by index; dwBits the highlight code of what is chosen.
    BOOL DrawSelectionOverlays(DWORD dwBits, CTaskOrgArray* pSelection, int nUnit, int nArray, int nKind);
    // The function circles of every unit the list names.
    BOOL DrawFunctionCirclesOfList(const CTaskOrgArray* pList);
    BOOL DrawFireMissionLinksOfList(const CTaskOrgArray* pList);
    // nSide -99: the sight rays from the point; else the field of view of
    // that unit.
    BOOL DrawSightOfUnit(float fX, float fY, int nSide, int nArray, int nUnit);
    // Whether the named element is a ground vehicle or an element; 1
    // without units.
    int DrawUnitLinks(const CString& strElement);
    BOOL DrawAIOrderGraphics();

    // Units: look-ups at a picture point (converted to view pixels first).
    // The platoon or company whose symbol is at the point; nSide in: -1
    // any side, out: the side found.
    CHierarchyPlatoon* HitTestElements(int nX, int nY, int& nSide, BOOL bPlatoons, BOOL bCompanies);
    // New, owned by the caller.
    CHierarchyArray* GetElementsAtPoint(int nX, int nY, BOOL bPlatoons, BOOL bCompanies);
    CTaskOrgArray* GetUnitsAtPoint(int nX, int nY);  // new, owned by the caller
    int HitTestUnitValue(int nX, int nY);
    // The hover texts with their tip colour (the tool-tip background when
    // the text says nothing of a side).
    CString GetHoverText(int nX, int nY, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies, COLORREF& crBack);
    CString GetHoverUnitText(int nX, int nY, COLORREF& crBack);
    // The own units (with bVehicles) and platoons and companies inside a
    // rectangle of picture pixels; new, owned by the caller.
    CTaskOrgArray* SelectUnitsInRect(const CRect& rcPicture, BOOL bVehicles, BOOL bPlatoons, BOOL bCompanies);

    // Units: queries.
    CUnit* GetUnitForPopup(int nUnit, int nArray, int nKind);
    BOOL CanUnitFireMission(int nUnit, int nArray, int nKind);
    BOOL CanSelectionFireMission(const CTaskOrgArray* pSelection);
    CNodeArray* GetUnitPath(int nUnit, int nArray, int nKind);
    BOOL HasUnitSelection();
    BOOL IsFireMissionLogOpen();
    BOOL IsHierarchyTreeOpen();
    BOOL HasUnitsOfKind(int nKind);
    int GetSelectionActions();
    CString GetSelectedInfo();
    CString GetSelectedSOP();
    CString GetMissionNames();
    CString GetCompanyFormationNames();
    // The element selected in the shown hierarchy window: whether it stands
    // in formation nIndex (negative: a special one), whether it holds the
    // toggle; TRUE when it could be asked.
    BOOL GetPlatoonFormation(int nIndex, int& nItem);
    BOOL IsSOPSetForPlatoon(int nItem, int& nState);
    BOOL IsSOPSetForCompany(int nItem);
    int IsOrderItemChecked(int nItem, int& nValue);

    // Units: orders (non-zero on success).
    int SetSelectionTACSOP(int nItem);
    int SetSelectionMission(int nMission);
    int SetCompanyFormation(int nFormation);
    int SetPlatoonFormation(int nFormation);
    int ApplyOrderToPlatoon(int nOrder);
    int ApplyOrderToCompany(int nOrder);
    int IssueElementOrder(CHierarchyPlatoon* pElement, int nOrder);
    int IssueElementOrderB(CHierarchyPlatoon* pElement, int nOrder);
    int ApplyCompanyOrderFromElement(CHierarchyPlatoon* pElement);
    // Sets one order bit for a list (bits 128 and 256 fire controls, 512
    // march speed, 32768 dismount, 65536 suppress area at fX, fY), or
    // clears it when every unit the list reaches has it: the platoons and
    // companies the list names take it through their standing orders
    // (found by name), its other units directly.
    int ToggleOrderBitForList(const CTaskOrgArray* pList, DWORD dwBit, float fX, float fY);
    int ToggleDismountForList(const CTaskOrgArray* pList);
    int ToggleSuppressForElement(CHierarchyPlatoon* pElement);
    int ToggleFireControlForElement(CHierarchyPlatoon* pElement, BOOL bSecond);
    // The path for a selection: its platoons and companies and each of its
    // units take it (bInColumn: the units in column).
    int PasteUnits(const CNodeArray* pPath, CTaskOrgArray* pSelection, BOOL bInColumn);
    int DismountUnits(CTaskOrgArray* pSelection);
    int AssignUnitRoute(int nUnit, int nArray, int nKind);
    // Deployment phase: mounts at once; later: gives a mount order.
    int MountSelectionOnCarrier(CTaskOrgArray* pCarried, CTaskOrgArray* pCarrier);
    int DeployMinesAtPoint(CTaskOrgArray* pSelection, float fX, float fY);
    int UploadAtPoint(CTaskOrgArray* pSelection, float fX, float fY);
    int AssignFireMissionAtPoint(CTaskOrgArray* pSelection, float fX, float fY);
    int AssignFireMissionTarget(int nUnit, int nArray, int nKind, float fX, float fY);
    int DeleteFireControl(int nUnit, int nArray, int nKind);
    int DeleteFireControlOfSelection(const CTaskOrgArray* pSelection);
    int PasteFireControlToSelection(const CTaskOrgArray* pSelection);
    BOOL RefreshFireMissionLog();

    // Units: the one-unit operations of the map's clicks and drags. A unit
    // is named by its (unit, array, side) triple; each needs units,
    // database and game map, answers 0 for a unit that does not exist or
    // refuses, and marks the document modified when it took effect.
    // Sets the order bit on the unit, or clears it when the unit has it.
    BOOL ApplyOrderToSelection(int nUnit, int nArray, int nKind, DWORD dwBit);
    // TRUE when every unit entry of a non-empty list holds the order bit
    // (CUnit::HasOrder): the menus tick what the selection has.
    BOOL SelectionHasOrder(const CTaskOrgArray* pList, DWORD dwBit);
    // Deployment: one unit to the point, brought onto the map; a loaded
    // carrier takes its passengers along. bMoving while the mouse still
    // drags it; on release (0) the dug positions take their occupants.
    int DragUnit(int nUnit, int nArray, int nKind, float fX, float fY, BOOL bMoving);
    // Deployment: every live, uncarried unit of the selection (and the
    // paths of the whole platoons and companies it names) moves by the
    // difference of the two points.
    int EndUnitDrag(CTaskOrgArray* pSelection, float fFromX, float fFromY, float fToX, float fToY, BOOL bFinal);
    // The unit's maximum-range (nControl 1) or field-of-fire (0) control
    // toward the point, and its clearing.
    int SetUnitPathFromClick(float fX, float fY, int nUnit, int nArray, int nKind, int nControl);
    int ResetUnitPath(int nUnit, int nArray, int nKind, int nControl);
    int SetSuppressAreaAt(float fX, float fY, int nUnit, int nArray, int nKind);
    int ClearSuppressArea(int nUnit, int nArray, int nKind);
    // Clears the unit's march-speed order; nonzero when the unit exists.
    // (The menus' older name for it is GetUnitForPopup, which here looks
    // the unit up.)
    int ClearUnitMarchSpeed(int nUnit, int nArray, int nKind);
    // The edited path becomes the unit's route (a path edit ended, or a
    // node changed while the clock runs); PasteOrdersToUnit also brings the
    // orders of the unit's element up to date when asked.
    int CancelPathEdit(int nUnit, int nArray, int nKind, const CNodeArray* pPath);
    int PasteOrdersToUnit(const CNodeArray* pPath, int nUnit, int nArray, int nKind, BOOL bUpdateOrders);
    // The named platoon or company plans the edited path and hands it on.
    int ToggleUnitOverlay(const CString& strElement, const CNodeArray* pPath);
    int ApplyElementPathEdit(const CString& strElement, const CNodeArray* pPath, BOOL bUpdateOrders);
    // Edit/Paste: the unit takes a copied path from where it stands, the
    // path moved onto it, or (bInColumn) from the unit to the path's
    // nodes as they lie.
    int PastePathToUnit(int nUnit, int nArray, int nKind, const CNodeArray& path, BOOL bInColumn);
    // The fire-control measures as FC Copy took them from another unit.
    int PasteFireControl(int nUnit, int nArray, int nKind, BOOL bMaxRangeSet, int nMaxRange, BOOL bFieldOfFireSet,
                         int nRightLimit, int nLeftLimit);

    // Units: hierarchy elements by name. ResetElementPath answers the
    // element's path after resetting it to the element's position (when its
    // path flag is set); GetElementPoint gives -99.0 when not found.
    CNodeArray* ResetElementPath(const CString& strName);
    BOOL GetElementPoint(const CString& strName, float& fX, float& fY);
    CHierarchyPlatoon* GetSelectedElement(const CString& strName);
    // The view's symbol style (1 NATO: framed symbols) and icon size for
    // every unit.
    BOOL ApplyIconStyle(int nIconStyle);
    BOOL ApplyIconSize(float fIconSize);

    // Units: network records, the AI-order editor and windows.
    int SendUnitsUpdate();
    int CaptureUnitsUpdate(const BYTE* pData, int nLength);
    int ReceiveShotsFired(const BYTE* pData, int nLength);
    int ReceiveUnitDestroyed(const BYTE* pData, int nLength);
    int ApplyAIOrderSheet();
    int ApplyAIOrder();
    int ResetAIOrderEdit();
    int OnMessageBoxClosed();
    int PassSelectionToPlayer(CTaskOrgArray* pSelection, int nPlayer);
    BOOL OnHierarchyTreeClosed();
    int CallWithUnits(CUnitsCallback* pObject, int nArg);
    // Group n (0 to 9) becomes a copy of the list; 0 for any other n.
    int StoreTaskOrgGroup(int n, const CTaskOrgArray* pList);
    // A copy of group n after the units dropped what is gone (1); a group
    // left empty is deleted (0).
    int RecallTaskOrgGroup(int n, CTaskOrgArray*& pList);

    // Dug positions and obstacles. The look-ups and moves marked deployment
    // only answer their nothing value once the clock has run.
    BOOL DrawHoles();
    BOOL DrawSelectedHoles(CTaskOrgArray* pList);
    BOOL HighlightSelectedHoles(CTaskOrgArray* pList);
    BOOL DrawObstacles();
    BOOL DrawSelectedObstacles(CTaskOrgArray* pList);
    BOOL HighlightSelectedObstacles(CTaskOrgArray* pList);
    int FindHoleAt(float fX, float fY, int& nSide);                  // deployment only; -99 none
    int FindObstacleAt(float fX, float fY, int& nSide);            // deployment only; -99 none
    int MoveHole(int nIndex, int nSide, float fX, float fY);       // deployment only
    int MoveObstacle(int nIndex, int nSide, float fX, float fY);   // deployment only
    CTaskOrgArray* SelectHolesInRect(const CRect& rcPicture);      // deployment only
    CTaskOrgArray* SelectObstaclesInRect(const CRect& rcPicture);  // deployment only
    int PlaceHolesOfSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY);
    int EditSelectedHole(CTaskOrgArray* pList);
    int EditHole(int nIndex, int nSide);
    int EditSelectedObstacle(CTaskOrgArray* pList);
    int EditObstacle(int nIndex, int nSide);
    int HandleObstacleSelection(CTaskOrgArray* pList, float fFromX, float fFromY, float fToX, float fToY);
    CString GetObstacleName(float fX, float fY);
    BOOL UpdateOwnSideObstacles();
    BOOL UpdateOtherSideObstacles();
    int PlaceObstacleAndSend(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude, int nSide,
                             int nUnit, int nArray) override;
    int ApplyFASCAMImpact(CFireMission* pMission);
    int ApplyChemicalImpact(CFireMission* pMission);
    int ReceiveObstacles(const BYTE* pData, int nLength);
    int ReceiveHoles(const BYTE* pData, int nLength);
    // A state record whose second double word is 0 goes to the smoke, a
    // breach record whose second double word is 0 to the game map; other
    // records to the obstacles. Records shorter than two double words are
    // ignored.
    int ReceiveStateRecord(const BYTE* pData, int nLength);
    int ReceiveBreach(const BYTE* pData, int nLength);
    // Passed obstacles and dug positions (message types 21 to 25).
    int ReceivePassedObjects(const BYTE* pData, int nLength, int nType);
    int ApplyReceivedState(CNetUpdate* pRecord);

    // Game map, smoke, fire missions, light and others.
    BOOL GetMapPictureRect(CRect& rc);
    int PictureToView(int nPX, int nPY, int* pVX, int* pVY);
    BOOL HasMapPicture();
    BOOL DrawSmoke();
    BOOL PrepareSmoke();
    int AddSmokeFromImpact(CFireMission* pImpact);
    int AddIllumFromImpact(CFireMission* pImpact);
    int AddSmokeAndSend(float fX, float fY, float fRadius, int nDuration, int nStrength) override;
    // The capabilities' way to the obstacles (CMissionService).
    CKDRObstacles* GetMissionObstacles() override { return GetObstacles(); }
    BOOL DrawFireMissionImpacts();
    int ReceiveFireMission(const BYTE* pData, int nLength);
    // The page of the vehicle type at the index (-1: the index page) in the
    // Vehicle Specs window, while a vehicle list is loaded.
    BOOL ShowVehicleSpecs(int nVehicle = -1);
    BOOL DrawOpordGraphics(int nLayer);
    CString GetMainMissionName();
    BOOL IsOrderWindowOpen();
    int ShowAIOrderMessageBox(const CString& strTitle, const CString& strText, float fX, float fY);

    // When dug positions, units and database are present, the dug positions
    // take their occupants again.
    void ReassignOccupants();

    // ---- Run-time state ----
    CSmokeArray* GetSmoke() const { return m_pSmoke; }
    CFireMissionArray* GetFireMissions() const { return m_bFireMissions ? m_pFireMissions : nullptr; }
    CTaskOrgArrayArray* GetTaskOrgGroups() const { return m_pTaskOrgGroups; }

    CSmokeArray* m_pSmoke;
    CString m_strVariantUnits1;
    CString m_strVariantUnits2;
    CString m_strVariantHoles1;
    CString m_strVariantHoles2;
    CString m_strVariantObstacles1;
    CString m_strVariantObstacles2;
    int m_nOwnTotalA;
    int m_nOwnTotalB;
    int m_nThirdTotalA;
    int m_nThirdTotalB;
    int m_nOpposingTotalA;
    int m_nOpposingTotalB;
    CTimeSpan m_tsElapsed;  // copied from the clock when a game is saved
    int* m_pOwnCounts;      // two integers per vehicle type, the first half used
    int* m_pOpposingCounts;
    int* m_pThirdCounts;
    int m_bOwnCounts;
    int m_bOpposingCounts;
    int m_bThirdCounts;
    int m_nVehicleTypeCount;  // length of the count blocks
    int m_bOpenedFromSavedGame;
    int m_bFireMissions;
    CFireMissionArray* m_pFireMissions;    // rounds in flight
    CTaskOrgArrayArray* m_pTaskOrgGroups;  // the ten stored selections
    CMessageBoxDlg* m_pMessageBox;
    // 1 except while a saved game re-reads its scenario: tells the open
    // whether to create the run-time arrays and run the side fix-ups.
    int m_bFreshOpen;

protected:
    // Maps the commands of KDRDocCommands.cpp (the constructor calls it).
    void RegisterDocumentCommands();
    // The conditions of View/Order and View/Hierarchy Tree, command and
    // menu alike.
    BOOL CanShowOrder();
    BOOL CanShowHierarchyTree();
    // Detach (TRUE) or Recall Detached (FALSE) on the tree's selection.
    void ApplyTreeElementCommand(BOOL bDetach);

    // OnOpenDocument's work between the two hints around it.
    BOOL OpenScenario(const char* path);
    // Loads the present components in their fixed order; FALSE at the first
    // failure, which skips the rest.
    BOOL LoadComponents();
    // One step of LoadComponents, prerequisites already checked.
    virtual BOOL LoadComponent(int nComponent);

private:
    void CreateRunTimeArrays();
    void DeleteRunTimeArrays();
    void FreeCountBlocks();
    void ApplySideFixUps(CKDRApp* pApp);
    // The units' formation templates and standing orders of a saved game.
    void LoadUnitOrderFiles(CKDRUnits* pUnits);

    CString m_strDataDir;
    CString m_strSavegameDir;
    CDisplay* m_pDisplay = nullptr;  // not owned
    BOOL m_bMapChanged = FALSE;
    // The mission service installed before this document took its place.
    CMissionService* m_pPreviousMission = nullptr;
};
