#pragma once
// The map view: the one view of the main window, a scroll view over the
// mission's map on whose window the display is created.
//
// Every paint puts all layers of the mission in one fixed order onto the
// display's back surface and presents it once; each layer is a document
// operation that draws only when its component is loaded, and a paint reads
// the mission's state without changing it. The static layers under the rest
// (picture, terrain, contour overlay, grid) are kept from the paint before
// and copied while nothing they show has changed (StaticLayers.h); the
// pixels are those of drawing them again. Redraw requests are coalesced:
// several before the next paint cost one paint.
//
// The view owns the display state: the zoom level (six scales from 0.25 to
// 8.0, changed around the window's centre), the scroll position (kept by
// the map picture in picture pixels and mirrored in client pixels on the
// scroll bars), which echelons and overlays are shown, and the per-level
// view properties that remember them. The back surface is made again at the
// client size whenever the window is resized, so client and back-surface
// pixels normally agree; the conversions still carry the factor between
// them, consistent with the present step.
//
// Without a game map every conversion yields -99 and zoom, scroll and
// centring do nothing.

#include "app/GamePass.h"
#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/core/Unset.h"
#include "platform/ui/View.h"

#include <memory>

class CDC;
class CDisplay;
class CKDRDoc;
class CKDRGameMap;
class CMapPicture;
class CHierarchyArray;
class CHierarchyPlatoon;
class CNodeArray;
class CSpotReport;
class CStaticLayers;
class CTaskOrgArray;
class CViewProperties;
class CFireOrderDlg;

class CKDRView : public CScrollView, private CGamePassObserver
{
public:
    CKDRView();
    ~CKDRView() override;

    CKDRDoc* GetDocument() const;

    // The result of a conversion without a map.

    void OnDraw(CDC* pDC) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnInitialUpdate() override;
    // Hint 0: new scroll sizes from the map at the current zoom. The
    // document's own hints (KDR_HINT_..., KDRDoc.h) say what changed in the
    // mission; the view follows with what it shows.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // Makes the back surface again at the new client size.
    void OnSize(UINT nType, int cx, int cy) override;
    // Stores the current level's settings and saves them to disk.
    void OnDestroy() override;
    void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;

    // ---- Zoom, centring and conversions ----
    // The codes of CKDRGameMap::ChangeZoom: 1 or more doubles, any other
    // halves, and the three jumps to the least, greatest and normal scale.
    // 1 when the zoom changed; 0 without a map. The window's centre stays on
    // the same map point. Unless bKeepProperties is set the settings of the
    // old level are stored first; those of the new level are applied.
    BOOL SetZoom(int nCode, BOOL bKeepProperties);
    // The map's scale (1.0 without a map).
    float GetZoom() const;
    // Scrolls so that the map-picture point lies in the window's centre;
    // 0 without a map.
    BOOL CenterOnMapPoint(int x, int y);
    // Client pixels to an offset in map-picture pixels from the scroll
    // position, and back; kUnset (nothing written, for PictureToClient)
    // without a map.
    void ClientToPicture(int x, int y, int* px, int* py) const;
    void PictureToClient(int px, int py, int* x, int* y) const;
    CViewProperties* GetViewProperties() const { return m_pViewProperties; }
    CFireOrderDlg* GetFireOrderDlg() const { return m_pFireOrderDlg; }

    virtual void SetScrollClamped(int x, int y);
    virtual void RedrawMap(BOOL bErase);
    // The next paint draws the map's static layers (picture, terrain,
    // contour overlay, grid) again instead of copying the kept ones; a
    // change of zoom, scroll, size, grid lines or of the map's look is seen
    // without it.
    void DropStaticLayers();

    // Per-zoom-level view properties. InitViewProperties reads "view.vpl"
    // at start-up: 1 when read, or when the data directory is missing (the
    // defaults stay); 0 when the file could not be read and the defaults
    // replace it.
    int InitViewProperties();
    void ApplyViewProperties();
    void StoreViewProperties(BOOL bSave);
    void ApplyStoredZoom();

    void SetHierarchyTreeShown(BOOL bShown);
    void StoreFMLogShown();
    void SetFMLogShown(BOOL bShown);
    void SetSpotReportLogShown(BOOL bShown);
    void RefreshOverviewMap();
    // Closes the overview map window when it is open; with bStore the
    // level's settings remember it closed (not saved).
    void CloseOverviewMap(BOOL bStore = FALSE);
    void UpdateOverviewMap();
    void OnOverviewMapClosed();
    // A map is loaded with its pictures, and one of its two picture names is
    // not empty.
    BOOL HasMapPictures() const;
    // A titled modeless message at a map point (-99, -99: no particular
    // point); 0 without a map. The second form ends any interaction first
    // and uses the document's other message box (the AI-order pages').
    int ShowMessageAtPoint(const CString& strTitle, const CString& strText, float fX, float fY);
    int ShowOrderMessageAtPoint(const CString& strTitle, const CString& strText, float fX, float fY);
    // The spot-report log's and the last report's way to the map: any
    // interaction ends; an own, living, uncarried reported unit becomes the
    // selection; the view centres on the report (or its unit).
    void ShowSpotReport(const CSpotReport* pReport);
    // An element drag of the named element ends (the element went away).
    void CancelDragOfUnit(const CString& strName);
    void HandleKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;

    // ---- Commands and interaction modes (KDRViewCommands.cpp) ----
    // The menus' commands either act at once or leave a mode pending that
    // the next clicks on the map complete. The pending order and SOP
    // commands each have one bit; GetInteractionMode gives the first one
    // set, in rising order of the bits (0 when none). The bits are the
    // orders' own: the click hands the bit to the unit.
    static constexpr DWORD kModeStop = 0x1;
    static constexpr DWORD kModeHoldFire = 0x2;
    static constexpr DWORD kModeDefilade = 0x4;
    static constexpr DWORD kModeSprint = 0x8;
    static constexpr DWORD kModeSmoke = 0x20;
    static constexpr DWORD kModeMaxRange = 0x80;
    static constexpr DWORD kModeFieldOfFire = 0x100;
    static constexpr DWORD kModeMarchSpeed = 0x200;
    static constexpr DWORD kModeHideOnContact = 0x400;
    static constexpr DWORD kModeEngageOnContact = 0x800;
    static constexpr DWORD kModeBypassObstacles = 0x1000;
    static constexpr DWORD kModeDismountOnContact = 0x2000;
    static constexpr DWORD kModeDoNotEmplace = 0x4000;
    static constexpr DWORD kModeDismount = 0x8000;
    static constexpr DWORD kModeSuppress = 0x10000;
    // The toolbar's button sets (CMainFrame::SetToolbarForMode).
    static constexpr int kToolbarNormal = 0;
    static constexpr int kToolbarPathEdit = 1;
    static constexpr int kToolbarFireMission = 2;
    static constexpr int kToolbarOrders = 4;

    DWORD GetInteractionMode() const;
    // 1 when the command may run now. A command not allowed during a drag is
    // refused while any drag or placement is in progress; without a map
    // every command that needs one is refused; unknown commands are refused.
    virtual BOOL IsCommandAllowed(UINT nCommand);
    // Ends whatever interaction is in progress: the selection (with the
    // document's highlights), the toolbar's mode, path editing, drags (the
    // dragged object goes back where it started), every pending mode and
    // what it chose; then redraws.
    virtual void CancelInteraction();
    // The list (taken over) becomes the selection of units; the mode pending
    // before is written to dwMode. Unless bNoApply, the pending two-step
    // modes take the selection; with bCentre the view centres on the
    // element's leader. 0 for no list.
    int IssueOrderToSelection(CHierarchyPlatoon* pElement, CTaskOrgArray* pList, DWORD& dwMode, BOOL bCentre,
                              BOOL bNoApply);
    // The pending two-step modes (dismount, fire mission, mount, upload,
    // deploy mines) take the current selection.
    void SetInteractionMode(CHierarchyPlatoon* pElement);
    // Grow the selection by an element's units or one unit of the
    // selection's side; 1 when something was added.
    BOOL AddElementToSelection(CHierarchyPlatoon* pElement);
    BOOL AddUnitToSelection(int nUnit, int nArray, int nSide);
    // A drag or placement is in progress, or the AI-order editor drags.
    BOOL IsDragInProgress() const;
    // Any pending mode, path edit or placement, or AI-order editing. The
    // multiple selection does not count: it is what a drag moves.
    BOOL IsInteractionActive() const;
    // Clears the selection: the document drops its highlights, the list goes.
    void ClearSelection();

    // ---- Mouse and keyboard (KDRViewMouse.cpp) ----
    // Each handler tries its cases in a fixed order; the first that applies
    // acts and ends the handling. Without a map, outside the client area or
    // without a map picture they do nothing.
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnRButtonUp(UINT nFlags, CPoint point) override;
    void OnRButtonDblClk(UINT nFlags, CPoint point) override;
    // The main menu's shortcut keys work while the map has the focus.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Display state ----
    BOOL m_bOverviewMapOpen;
    int m_nIconStyle;     // 0 picture icons, 1 NATO symbols
    float m_fIconSize;    // fraction of the full symbol size
    float m_fStoredZoom;  // scale of the level last stored in the view properties
    // Overlays, copied from the view properties of the current level.
    BOOL m_bShowDestroyed;
    BOOL m_bDirectionArrows;
    BOOL m_bEnemySitTemp;
    BOOL m_bFCExclude;
    BOOL m_bGridLines;
    BOOL m_bManeuverGraphics;
    BOOL m_bRangeArcs;
    BOOL m_bShowFireControls;
    BOOL m_bSpotReportLog;
    BOOL m_bUnitToolTips;
    BOOL m_bTurretArrows;
    BOOL m_bShowAllPaths;
    // Echelons shown.
    BOOL m_bShowCompanies;
    BOOL m_bShowPlatoons;
    BOOL m_bShowVehicles;
    // Set by SetZoom from the game map's answer, cleared at every change.
    BOOL m_bAtMaxZoomOut;
    BOOL m_bAtMaxZoomIn;
    BOOL m_bGroupLOS;

    // ---- Selection and interaction state ----
    // Set by the map's commands and mouse handling; all off at construction
    // and after CancelInteraction. Unit references are (unit, array, side)
    // triples as CKDRUnits::GetUnit takes them, -99 in the unit for none;
    // points are map metres, -99.0 for none.
    DWORD m_dwPendingModes = 0;             // the pending order and SOP bits but the three below
    int m_nSuppressMode = 0;                // SOP/Suppress pending while above 0
    BOOL m_bSelectUnits = FALSE;            // a multiple selection of units ...
    BOOL m_bSelectHoles = FALSE;            // ... of dug positions ...
    BOOL m_bSelectObstacles = FALSE;        // ... or of obstacles, in m_pSelection
    CTaskOrgArray* m_pSelection = nullptr;  // owned
    BOOL m_bFireMissionPlanning = FALSE;
    int m_nFireUnit = kUnset;  // the firing unit, -99 while none is chosen
    int m_nFireArray = kUnset;
    int m_nFireKind = kUnset;
    BOOL m_bRubberBand = FALSE;
    CPoint m_ptRubberStart;  // picture pixels
    CPoint m_ptRubberEnd;
    BOOL m_bLOSFan = FALSE;       // the line-of-sight fan is shown ...
    float m_fLOSX = kUnsetFloat;  // ... from this point (-99.0: none)
    float m_fLOSY = kUnsetFloat;
    int m_nLOSUnit = kUnset;  // ... or from this unit
    int m_nLOSArray = kUnset;
    int m_nLOSKind = kUnset;
    BOOL m_bMaxRangeMode = FALSE;      // SOP/Fire Control/Max Range pending, placing toward ...
    float m_fMaxRangeX = kUnsetFloat;  // ... this point (-99.0: none)
    float m_fMaxRangeY = kUnsetFloat;
    BOOL m_bFieldOfFireMode = FALSE;      // SOP/Fire Control/Field of Fire pending, from ...
    float m_fFieldOfFireX = kUnsetFloat;  // ... this first point (-99.0: none)
    float m_fFieldOfFireY = kUnsetFloat;
    int m_nModeUnit = kUnset;  // the unit chosen in Max Range, Field of Fire or Suppress
    int m_nModeArray = kUnset;
    int m_nModeKind = kUnset;
    // Path editing (Edit/Show Path): the mode, the delete-nodes sub-mode.
    // The edited unit or element and the view's copy of its path are the
    // selected path's fields below.
    BOOL m_bPathEdit = FALSE;
    BOOL m_bDeleteNodes = FALSE;
    BOOL m_bPathCopied = FALSE;           // Edit/Copy took ...
    CNodeArray* m_pCopiedPath = nullptr;  // ... this copy (owned)
    // Drags from button-down to button-up. A single drag remembers where
    // the object started, so that cancelling puts it back; a selection drag
    // moves the selection by each step from the last drag point.
    BOOL m_bDragUnit = FALSE;
    int m_nDragUnit = kUnset;
    int m_nDragArray = kUnset;
    int m_nDragSide = kUnset;
    BOOL m_bDragObstacle = FALSE;
    BOOL m_bDragHole = FALSE;
    int m_nDragIndex = kUnset;  // the dragged obstacle or dug position
    float m_fDragStartX = kUnsetFloat;
    float m_fDragStartY = kUnsetFloat;
    float m_fDragLastX = kUnsetFloat;   // the selection drags' last point; y keeps its fraction
    float m_fDragLastY = kUnsetFloat;   // like x, or the selection would drift from the cursor
    float m_fDragFirstX = kUnsetFloat;  // where the selection drag began
    float m_fDragFirstY = kUnsetFloat;
    CString m_strDragElement;  // an element drag, by name (empty: none)
    // Two-step modes: the first click chooses a unit, the next ones act.
    BOOL m_bMountMode = FALSE;
    BOOL m_bMountAwaitCarrier = FALSE;
    int m_nMountCarrier = kUnset;  // -99: not chosen
    int m_nMountArray = kUnset;
    int m_nMountSide = kUnset;
    CTaskOrgArray* m_pMountCarriers = nullptr;  // owned: the selection taken as carriers
    BOOL m_bUploadMode = FALSE;
    BOOL m_bUploadAwaitCarrier = FALSE;
    int m_nUploadCarrier = kUnset;  // -99: not chosen
    int m_nUploadArray = kUnset;
    int m_nUploadSide = kUnset;
    CTaskOrgArray* m_pUploadList = nullptr;  // owned
    BOOL m_bMinesMode = FALSE;
    BOOL m_bMinesAwaitLayer = FALSE;
    int m_nMinesLayer = kUnset;  // -99: not chosen
    int m_nMinesArray = kUnset;
    int m_nMinesSide = kUnset;
    CTaskOrgArray* m_pMinesList = nullptr;  // owned: the selection taken as layers
    // SOP/Fire Control/FC Copy's copy.
    BOOL m_bFCValid = FALSE;
    BOOL m_bFCMaxRangeSet = FALSE;
    int m_nFCMaxRange = kUnset;
    BOOL m_bFCFieldOfFireSet = FALSE;
    int m_nFCRightLimit = kUnset;
    int m_nFCLeftLimit = kUnset;
    // A right button-down that did something: its button-up opens no menu.
    BOOL m_bRightConsumed = FALSE;

    // ---- The game loop (KDRViewLoop.cpp) ----
    // Time/Start runs the game loop in place: it returns only once the clock
    // has stopped (Time/Stop, the end of the mission, or the loss of the
    // other player). Menus, dialogs and Time/Stop keep working while it runs
    // because each pass serves the waiting window messages.
    void OnTimeStart();
    // Stops the clock; the running loop ends at the end of its pass.
    void OnTimeStop();
    void OnUpdateTimeStart(CCmdUI* pCmdUI);
    void OnUpdateTimeStop(CCmdUI* pCmdUI);
    // One pass of the loop; FALSE when the loop must end at once.
    BOOL RunGamePass();
    // Maps the Time commands to the handlers above (the constructor calls it).
    void RegisterLoopCommands();
    // Drops the shown copy of the selected path and the selection it belongs to.
    void DiscardShownPath();

protected:
    // Time/Start in a multiplayer game: sends the start request and serves
    // messages until every player has answered; FALSE when the command ends.
    BOOL WaitForStartAnswers();
    // The selected path display, refreshed once per pass.
    void RefreshSelectedPath(int nChanged);
    // The view's part of a pass (CGamePassObserver).
    void GetSelectedUnit(int& nUnit, int& nArray, int& nKind) const override;
    void OnSimulationStepped(int nChanged) override;
    void OnContactsUpdated(CUnitRefArray* pFirst, CUnitRefArray* pSecond) override;
    // A shown path whose unit was destroyed or mounted goes, with the selection.
    void OnDirectFireDone() override;
    CWnd* GetPromptOwner() override;
    // After the loop: the clock window, a redraw and, for a finished
    // mission, the results and the way back to the start menu.
    void FinishGameLoop();

public:
    // Game-loop state.
    BOOL m_bInTimeStart = FALSE;  // Time/Start is running (waiting for the start answers or looping)
    DWORD m_dwLoopTick;
    int m_nLoopRemainder;
    // Real time of the loop's last redraw: passes come far faster than a
    // screen can show them, so the loop repaints at most once a frame.
    DWORD m_dwLoopLastRedraw;
    // A pass changed what the map shows and the redraw waits for its frame.
    BOOL m_bLoopRedrawDue = FALSE;
    int m_nEndTestCountdown;
    BOOL m_bMissionOver;
    BOOL m_bLoading;  // a mission is opening (the document's hints); drawing suppressed
    // Selection drags: the selection of units, obstacles or dug positions
    // follows the mouse.
    BOOL m_bDragUnits;
    BOOL m_bDragObstacles;
    BOOL m_bDragHoles;
    // The selected path: the unit (or the element by name) whose path the
    // view shows and edits, and the view's copy of it. While the clock runs
    // every edit goes to the unit at once and each pass copies the unit's
    // path again; while it is stopped the copy goes to the unit when the
    // edit ends.
    int m_nSelUnit;  // -99: none
    int m_nSelArray;
    int m_nSelKind;
    CNodeArray* m_pShownPath;  // owned
    BOOL m_bPathShown;         // a unit is selected
    CString m_strElementPath;
    BOOL m_bNodeMark1;  // a node is being dragged ...
    int m_nNodeMark1;   // ... this one (-99: none)
    BOOL m_bNodeMark2;  // a node is being added at the end ...
    int m_nNodeMark2;   // ... this one
    // The contact display's two values from the units' contact lists.
    void* m_pContacts1;
    void* m_pContacts2;

private:
    void OnDocumentHint(LPARAM lHint);
    // A fresh mission: the Clock window, the loop's fields, the overview
    // map, the stored zoom and view properties, and the written order.
    void OnMissionOpened();
    CKDRGameMap* GetGameMap() const;
    CMapPicture* GetMapPicture() const;
    CDisplay* GetDisplay() const;
    // Client pixels per back-surface pixel, across and down.
    double GetClientFactorX() const;
    double GetClientFactorY() const;
    // The layers over the map picture (everything between the picture and
    // the present).
    void DrawLayers(CKDRDoc* pDoc, CKDRGameMap* pMap);
    void DrawPathBlock(CKDRDoc* pDoc);
    void DrawSelection(CKDRDoc* pDoc);
    void DrawRubberBand(CKDRGameMap* pMap);
    void DrawLOSOverlay(int nSelector);
    // The scroll bar handlers' work for one direction.
    void ScrollPicture(BOOL bHorizontal, UINT nSBCode, UINT nPos);
    // The back surface follows the client size.
    void ResizeBackSurface(int cx, int cy);
    void OpenOverviewMap();

    // ---- Interaction helpers (KDRViewCommands.cpp, KDRViewMouse.cpp) ----
    void RegisterViewCommands();
    BOOL IsModePending(DWORD dwBit) const;
    void SetModePending(DWORD dwBit, BOOL bOn);
    void SetToolbarMode(int nMode);
    void PlayPick();
    // A drag or placement of the view's own (the gate's "not during a drag").
    BOOL IsViewDragging() const;
    // Toggles one pending order or SOP mode (the second choice leaves it).
    void ToggleOrderMode(DWORD dwBit);
    // The edited path goes to its unit or element; EndPathEdit also ends
    // the edit.
    void HandOverEditedPath();
    void EndPathEdit();
    // CancelInteraction's work without its redraw. For Time/Start
    // (bForStart) path editing goes on, its edits handed over first.
    void ResetInteraction(BOOL bForStart);
    // Hands the edited path to its unit or element while the clock runs;
    // FALSE when a hand-over failed.
    BOOL ApplyEditedPath();
    // The prologue of the button and move handlers: the picture pixel and
    // the map point of the client point. FALSE when the handler must do
    // nothing more; without a map or outside the client area the default
    // handler has then run.
    enum class MouseEvent
    {
        kLeftDown,
        kLeftUp,
        kLeftDouble,
        kMove,
        kRightDown,
        kRightUp
    };
    BOOL PrepareMousePoint(UINT nFlags, CPoint point, MouseEvent eEvent, CPoint& ptPicture, float& fX, float& fY);
    // The framework's own handling of the event.
    void DefaultMouse(MouseEvent eEvent, UINT nFlags, CPoint point);
    // A selection drag moves its selection from the last drag point to the
    // point (bFinal: the release); FALSE when none is in progress.
    BOOL StepSelectionDrag(float fX, float fY, BOOL bFinal);
    // Hit tests at a point.
    int HitTestUnit(CPoint ptPicture, int& nArray, int& nSide);
    CHierarchyPlatoon* HitTestElement(CPoint ptPicture, int& nSide);
    int HitTestNode(float fX, float fY);
    // The free-for-dragging test of the deployment phase.
    BOOL IsFreeForDragging();
    void ShowStatusText(const CString& strText);
    // A path is being edited: the view holds its copy and its unit or element.
    BOOL IsPathEdited() const;
    // The map point lies on the map (rounded to whole metres).
    BOOL IsOnMap(float fX, float fY) const;
    BOOL GetObstaclePoint(int nIndex, int nSide, float& fX, float& fY);
    // A selection drag starts at the map point.
    void StartSelectionDrag(BOOL CKDRView::*pFlag, float fX, float fY);
    // The context menus of a right click (not built yet: they show nothing
    // and answer FALSE).
    BOOL ShowLevelPopup(CHierarchyArray* pElements, CPoint ptPicture);
    BOOL ShowUnitPopup(CHierarchyPlatoon* pElement, CPoint ptPicture);
    BOOL ShowUnitPickPopup(CTaskOrgArray* pUnits, CPoint ptPicture);
    BOOL ShowVehiclePopup(int nUnit, int nArray, int nSide, CPoint ptClient);
    // Digits of the main keyboard and the keypad: 0 to 9, else -1.
    static int DigitOfKey(UINT nChar);
    // Shift stores the selection as the digit's group, the digit alone
    // recalls it; FALSE when the key did nothing.
    BOOL OnDigitKey(int nDigit);

    CViewProperties* m_pViewProperties;  // owned
    CFireOrderDlg* m_pFireOrderDlg;      // owned; the modeless Fire Order window
    std::unique_ptr<CStaticLayers> m_pStaticLayers;
};
