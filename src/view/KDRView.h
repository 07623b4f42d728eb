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
class CNodeArray;
class CStaticLayers;
class CTaskOrgArray;
class CViewProperties;

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

    // False while an interaction or mode forbids the command.
    virtual BOOL IsCommandAllowed(UINT nCommand);
    virtual void CancelInteraction();
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
    void SetSpotReportLogShown(BOOL bShown);
    void RefreshOverviewMap();
    void CloseOverviewMap();
    void UpdateOverviewMap();
    // A titled modeless message at a map point (-99, -99: no particular point).
    void ShowMessageAtPoint(const CString& strTitle, const CString& strText, float fX, float fY);
    void HandleKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;

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

    // ---- Selection and interaction state the paint reads ----
    // Set by the map's commands and mouse handling; all off at construction.
    DWORD m_dwInteractionMode;    // the pending order or SOP command, one bit
    BOOL m_bSelectUnits;          // a multiple selection of units ...
    BOOL m_bSelectHoles;          // ... of dug positions ...
    BOOL m_bSelectObstacles;      // ... or of obstacles, in m_pSelection
    CTaskOrgArray* m_pSelection;  // owned
    BOOL m_bFireMissionPlanning;
    int m_nFireUnit;  // the firing unit, -99 while none is chosen
    int m_nFireArray;
    int m_nFireKind;
    BOOL m_bRubberBand;
    CPoint m_ptRubberStart;  // client pixels
    CPoint m_ptRubberEnd;
    BOOL m_bLOSFan;  // the line-of-sight fan is shown ...
    float m_fLOSX;   // ... from this point (-99.0: none)
    float m_fLOSY;
    int m_nLOSUnit;
    int m_nLOSArray;
    int m_nLOSKind;
    BOOL m_bMaxRangeMode;  // placing a maximum-range fire control ...
    float m_fMaxRangeX;    // ... toward this point (-99.0: none)
    float m_fMaxRangeY;
    BOOL m_bFieldOfFireMode;  // placing a field of fire ...
    float m_fFieldOfFireX;    // ... from this first point (-99.0: none)
    float m_fFieldOfFireY;
    int m_nModeUnit;  // the unit of the pending fire-control mode
    int m_nModeArray;
    int m_nModeKind;
    // The two-step modes of the Actions commands and the unit each has
    // chosen (-99 while awaited): dismount, mount (the carrier), upload
    // (the ammunition source), deploy mines (the layer).
    BOOL m_bDismountMode = FALSE;
    BOOL m_bMountMode = FALSE;
    int m_nMountUnit = kUnset;
    int m_nMountArray = kUnset;
    int m_nMountKind = kUnset;
    BOOL m_bUploadMode = FALSE;
    int m_nUploadUnit = kUnset;
    int m_nUploadArray = kUnset;
    int m_nUploadKind = kUnset;
    BOOL m_bDeployMinesMode = FALSE;
    int m_nMineLayerUnit = kUnset;
    int m_nMineLayerArray = kUnset;
    int m_nMineLayerKind = kUnset;

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
    // Pending drags and the dragged selection.
    BOOL m_bDragUnits;
    BOOL m_bDragObstacles;
    BOOL m_bDragHoles;
    CTaskOrgArray* m_pDragSelection;
    // Selected path state.
    int m_nSelUnit;  // -99: none
    int m_nSelArray;
    int m_nSelKind;
    CNodeArray* m_pShownPath;
    BOOL m_bPathShown;
    CString m_strElementPath;
    BOOL m_bNodeMark1;
    int m_nNodeMark1;  // -99: none
    BOOL m_bNodeMark2;
    int m_nNodeMark2;
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

    CViewProperties* m_pViewProperties;  // owned
    std::unique_ptr<CStaticLayers> m_pStaticLayers;
};
