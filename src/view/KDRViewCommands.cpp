// The map view's commands: the gate that allows or refuses them, the
// pending interaction modes that the next clicks on the map complete, the
// cancelling of whatever is in progress, the multiple selection, and the
// handlers of the View, Edit, Actions, Orders and SOP menus.
//
// A command that only shows something acts at once. An order or SOP command
// leaves its mode pending (the toolbar shows the orders' buttons): the next
// click on a unit gives it the order, and choosing the command again leaves
// the mode. Every command that starts something new first ends what was in
// progress (CancelInteraction).

#include "view/KDRView.h"

#include "app/FireOrderDlg.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/MainFrame.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "platform/ui/Display.h"
#include "platform/ui/UiService.h"
#include "units/KDRUnits.h"
#include "units/SpotReport.h"
#include "units/Unit.h"
#include "view/Sound.h"
#include "view/ViewProperties.h"

#include <iterator>
#include <memory>

namespace
{
// The interaction-mode bits in their order of test.
constexpr DWORD kModeOrder[] = {
    CKDRView::kModeStop,
    CKDRView::kModeHoldFire,
    CKDRView::kModeDefilade,
    CKDRView::kModeSprint,
    CKDRView::kModeSmoke,
    CKDRView::kModeMaxRange,
    CKDRView::kModeFieldOfFire,
    CKDRView::kModeMarchSpeed,
    CKDRView::kModeHideOnContact,
    CKDRView::kModeEngageOnContact,
    CKDRView::kModeBypassObstacles,
    CKDRView::kModeDismountOnContact,
    CKDRView::kModeDoNotEmplace,
    CKDRView::kModeDismount,
    CKDRView::kModeSuppress,
};

// The order and SOP commands that toggle a mode.
struct ModeCommand
{
    UINT nId;
    DWORD dwBit;
};
constexpr ModeCommand kModeCommands[] = {
    {ID_ORDERS_STOP, CKDRView::kModeStop},
    {ID_ORDERS_HOLD_FIRE, CKDRView::kModeHoldFire},
    {ID_ORDERS_DEFILADE, CKDRView::kModeDefilade},
    {ID_ORDERS_SPRINT, CKDRView::kModeSprint},
    {ID_ORDERS_SMOKE, CKDRView::kModeSmoke},
    {ID_SOP_MAX_RANGE, CKDRView::kModeMaxRange},
    {ID_SOP_FIELD_OF_FIRE, CKDRView::kModeFieldOfFire},
    {ID_SOP_MARCH_SPEED, CKDRView::kModeMarchSpeed},
    {ID_SOP_HIDE_ON_CONTACT, CKDRView::kModeHideOnContact},
    {ID_SOP_ENGAGE_ON_CONTACT, CKDRView::kModeEngageOnContact},
    {ID_SOP_BYPASS_OBSTACLES, CKDRView::kModeBypassObstacles},
    {ID_SOP_DISMOUNT_ON_CONTACT, CKDRView::kModeDismountOnContact},
    {ID_SOP_DO_NOT_EMPLACE, CKDRView::kModeDoNotEmplace},
    {ID_ACTIONS_DISMOUNT, CKDRView::kModeDismount},
    {ID_SOP_SUPPRESS, CKDRView::kModeSuppress},
};

// Any unit at all (the units component asked with -1).
constexpr int kAnyKind = -1;
constexpr int kOwnSide = 0;

// The map's display modes behind View/Map.
struct MapStyleCommand
{
    UINT nId;
    int nMode;
};
constexpr MapStyleCommand kMapStyleCommands[] = {
    {ID_VIEW_MAP_COLOR, CKDRGameMap::kModeColor},
    {ID_VIEW_MAP_CONTOUR, CKDRGameMap::kModeContour},
    {ID_VIEW_MAP_CONTOUR_OVER_COLOR, CKDRGameMap::kModeContourOverColor},
};
}  // namespace

// ---------------------------------------------------------------------------
// Modes, the gate and the interaction state

BOOL CKDRView::IsModePending(DWORD dwBit) const
{
    switch (dwBit)
    {
    case kModeMaxRange: return m_bMaxRangeMode;
    case kModeFieldOfFire: return m_bFieldOfFireMode;
    case kModeSuppress: return m_nSuppressMode > 0;
    default: return (m_dwPendingModes & dwBit) != 0;
    }
}

void CKDRView::SetModePending(DWORD dwBit, BOOL bOn)
{
    switch (dwBit)
    {
    case kModeMaxRange: m_bMaxRangeMode = bOn; break;
    case kModeFieldOfFire: m_bFieldOfFireMode = bOn; break;
    case kModeSuppress: m_nSuppressMode = bOn ? 1 : 0; break;
    default:
        if (bOn)
            m_dwPendingModes |= dwBit;
        else
            m_dwPendingModes &= ~dwBit;
        break;
    }
}

DWORD CKDRView::GetInteractionMode() const
{
    for (DWORD dwBit : kModeOrder)
    {
        if (IsModePending(dwBit))
            return dwBit;
    }
    return 0;
}

BOOL CKDRView::IsViewDragging() const
{
    return m_bRubberBand || m_bDragUnit || !m_strDragElement.IsEmpty() || m_bDragObstacle || m_bDragHole ||
           m_bDragUnits || m_bDragObstacles || m_bDragHoles || (IsPathEdited() && (m_bNodeMark1 || m_bNodeMark2));
}

BOOL CKDRView::IsDragInProgress() const
{
    CKDRApp* pApp = GetKDRApp();
    return IsViewDragging() || (pApp != nullptr && pApp->m_bTreeDragging);
}

BOOL CKDRView::IsInteractionActive() const
{
    CKDRApp* pApp = GetKDRApp();
    return GetInteractionMode() != 0 || m_bPathEdit || m_bPathShown || m_nSelUnit != kUnset ||
           !m_strElementPath.IsEmpty() || m_bFireMissionPlanning || m_bLOSFan || m_bMountMode || m_bUploadMode ||
           m_bMinesMode || IsViewDragging() || (pApp != nullptr && pApp->m_bAIEditing);
}

BOOL CKDRView::IsCommandAllowed(UINT nCommand)
{
    CKDRDoc* pDoc = GetDocument();
    CKDRApp* pApp = GetKDRApp();
    CKDRGameMap* pMap = GetGameMap();
    CKDRUnits* pUnits = pDoc != nullptr ? pDoc->GetUnits() : nullptr;
    const BOOL bDrag = IsViewDragging();
    const BOOL bClock = pApp != nullptr && pApp->GetGameClock() != nullptr;
    const BOOL bRunning = bClock && pApp->IsClockRunning();
    const BOOL bUnitSelected = m_bPathShown && (m_nSelUnit != kUnset || !m_strElementPath.IsEmpty());
    switch (nCommand)
    {
    case ID_VIEW_ZOOM_IN: return pMap != nullptr && GetZoom() < CKDRGameMap::kMaxZoom;
    case ID_VIEW_ZOOM_OUT: return pMap != nullptr && GetZoom() > CKDRGameMap::kMinZoom;
    case ID_ACTIONS_FIRE_MISSION:
    case ID_EDIT_SHOW_PATH:
    case ID_ACTIONS_FM_LOG: return pUnits != nullptr && pDoc->HasUnitsOfKind(kAnyKind) && !bDrag;
    case ID_EDIT_PASTE_IN_LINE:
    case ID_EDIT_PASTE:
        return m_bPathCopied && m_pCopiedPath != nullptr &&
               ((m_bPathShown && m_nSelUnit != kUnset) || !m_strElementPath.IsEmpty() ||
                (m_bSelectUnits && m_pSelection != nullptr)) &&
               !bDrag;
    case ID_TIME_START: return bClock && !bRunning && !bDrag;
    case ID_TIME_STOP: return bClock && bRunning;
    case ID_VIEW_OPTIONS: return !bRunning;
    case ID_VIEW_OVERVIEW_MAP: return HasMapPictures();
    case ID_VIEW_SPOT_REPORT_LOG: return pApp != nullptr && pApp->m_pSpotReports != nullptr;
    case ID_VIEW_HIERARCHY_TREE:
        return pUnits != nullptr && pDoc->GetDatabase() != nullptr && pDoc->HasUnitsOfKind(kOwnSide) &&
               pUnits->m_bHierarchy[kOwnSide] && pUnits->m_pHierarchy[kOwnSide] != nullptr &&
               pUnits->m_pHierarchy[kOwnSide]->m_pDialog != nullptr;
    case ID_CANCEL_INTERACTION: return pUnits != nullptr && !pDoc->HasUnitSelection();
    case ID_EDIT_COPY:
    case ID_EDIT_CUT: return bUnitSelected && !bDrag;
    default: return FALSE;
    }
}

void CKDRView::ClearSelection()
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc != nullptr && m_pSelection != nullptr)
    {
        if (m_bSelectObstacles)
            pDoc->DrawSelectedObstacles(m_pSelection);
        if (m_bSelectHoles)
            pDoc->DrawSelectedHoles(m_pSelection);
    }
    m_bSelectUnits = m_bSelectHoles = m_bSelectObstacles = FALSE;
    delete m_pSelection;
    m_pSelection = nullptr;
}

void CKDRView::HandOverEditedPath()
{
    CKDRDoc* pDoc = GetDocument();
    if (m_pShownPath == nullptr || pDoc == nullptr)
        return;
    if (m_nSelUnit != kUnset)
        pDoc->CancelPathEdit(m_nSelUnit, m_nSelArray, m_nSelKind, m_pShownPath);
    if (!m_strElementPath.IsEmpty())
        pDoc->ToggleUnitOverlay(m_strElementPath, m_pShownPath);
}

void CKDRView::EndPathEdit()
{
    HandOverEditedPath();
    DiscardShownPath();
}

void CKDRView::CancelInteraction()
{
    ResetInteraction(FALSE);
    RedrawMap(FALSE);
}

void CKDRView::ResetInteraction(BOOL bForStart)
{
    CKDRDoc* pDoc = GetDocument();
    // 1. The selection, with the document's highlights.
    ClearSelection();
    // 2. The toolbar of no mode.
    SetToolbarMode(bForStart && m_bPathEdit ? kToolbarPathEdit : kToolbarNormal);
    // 3. Path editing: the edited path goes to its unit or element. At
    // Time/Start the edit goes on: from then on each change reaches the
    // unit at once.
    m_bRubberBand = FALSE;
    if (bForStart)
        HandOverEditedPath();
    else
    {
        if (m_pShownPath != nullptr)
            m_pShownPath->m_bMoving = m_pShownPath->m_bAdding = FALSE;
        m_bNodeMark1 = m_bNodeMark2 = FALSE;
        m_nNodeMark1 = m_nNodeMark2 = kUnset;
        EndPathEdit();
        m_bPathEdit = FALSE;
        m_bDeleteNodes = FALSE;
    }
    // 4. An element drag.
    m_strDragElement.Empty();
    // 5. The two-step modes and what they chose.
    m_bMountMode = m_bMountAwaitCarrier = FALSE;
    m_nMountCarrier = m_nMountArray = m_nMountSide = kUnset;
    delete m_pMountCarriers;
    m_pMountCarriers = nullptr;
    m_bUploadMode = m_bUploadAwaitCarrier = FALSE;
    m_nUploadCarrier = m_nUploadArray = m_nUploadSide = kUnset;
    delete m_pUploadList;
    m_pUploadList = nullptr;
    m_bMinesMode = m_bMinesAwaitLayer = FALSE;
    m_nMinesLayer = m_nMinesArray = m_nMinesSide = kUnset;
    delete m_pMinesList;
    m_pMinesList = nullptr;
    // 6. A dragged object goes back where it started.
    if (pDoc != nullptr)
    {
        if (m_bDragUnit)
            pDoc->DragUnit(m_nDragUnit, m_nDragArray, m_nDragSide, m_fDragStartX, m_fDragStartY, FALSE);
        if (m_bDragObstacle)
            pDoc->MoveObstacle(m_nDragIndex, m_nDragSide, m_fDragStartX, m_fDragStartY);
        if (m_bDragHole)
            pDoc->MoveHole(m_nDragIndex, m_nDragSide, m_fDragStartX, m_fDragStartY);
    }
    m_bDragUnit = m_bDragObstacle = m_bDragHole = FALSE;
    m_bDragUnits = m_bDragObstacles = m_bDragHoles = FALSE;
    m_nDragUnit = m_nDragArray = m_nDragIndex = kUnset;
    m_nDragSide = -1;
    // 7. Every pending mode, with what it chose and placed.
    m_bFireMissionPlanning = FALSE;
    m_nFireUnit = m_nFireArray = m_nFireKind = kUnset;
    m_bLOSFan = FALSE;
    m_nLOSUnit = m_nLOSArray = m_nLOSKind = kUnset;
    m_fLOSX = m_fLOSY = kUnsetFloat;
    m_fMaxRangeX = m_fMaxRangeY = kUnsetFloat;
    m_fFieldOfFireX = m_fFieldOfFireY = kUnsetFloat;
    m_dwPendingModes = 0;
    m_bMaxRangeMode = m_bFieldOfFireMode = FALSE;
    m_nSuppressMode = 0;
    m_nModeUnit = m_nModeArray = m_nModeKind = kUnset;
    m_bFCValid = FALSE;
}

void CKDRView::SetToolbarMode(int nMode)
{
    if (auto* pFrame = dynamic_cast<CMainFrame*>(GetParentFrame()))
        pFrame->SetToolbarForMode(nMode);
}

void CKDRView::PlayPick()
{
    if (CKDRApp* pApp = GetKDRApp(); pApp != nullptr && pApp->m_pSoundManager != nullptr)
        pApp->m_pSoundManager->PlayPickSound();
}

// ---------------------------------------------------------------------------
// The multiple selection

int CKDRView::IssueOrderToSelection(CHierarchyPlatoon* pElement, CTaskOrgArray* pList, DWORD& dwMode, BOOL bCentre,
                                    BOOL bNoApply)
{
    if (pList == nullptr)
        return 0;
    if (pList != m_pSelection)
        ClearSelection();
    dwMode = GetInteractionMode();
    m_pSelection = pList;
    m_bSelectUnits = TRUE;
    if (!bNoApply)
        SetInteractionMode(pElement);
    CKDRDoc* pDoc = GetDocument();
    if (bCentre && pElement != nullptr && pDoc != nullptr && pDoc->GetUnits() != nullptr)
    {
        float fX = kUnsetFloat;
        float fY = kUnsetFloat;
        CKDRGameMap* pMap = GetGameMap();
        CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
        if (pElement->GetLeaderPosition(fX, fY, pDoc->GetUnits()) && fX > 0 && fY > 0 && pElevation != nullptr)
        {
            int px = 0;
            int py = 0;
            pElevation->MapToPixel(fX, fY, &px, &py);
            CenterOnMapPoint(px, py);
        }
    }
    RedrawMap(FALSE);
    return 1;
}

void CKDRView::SetInteractionMode(CHierarchyPlatoon*)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr || m_pSelection == nullptr || m_pSelection->GetSize() == 0)
        return;
    if (IsModePending(kModeDismount))
    {
        if (pDoc->DismountUnits(m_pSelection))
            RedrawMap(FALSE);
        return;
    }
    if (m_bFireMissionPlanning && m_nFireUnit == kUnset)
    {
        // The selection is the firing group.
        RedrawMap(FALSE);
        return;
    }
    if (m_bMountMode)
    {
        if (m_bMountAwaitCarrier)
        {
            delete m_pMountCarriers;
            m_pMountCarriers = m_pSelection;
            m_pSelection = nullptr;
            m_bSelectUnits = FALSE;
            m_bMountAwaitCarrier = FALSE;
        }
        else if (m_pMountCarriers != nullptr && pDoc->MountSelectionOnCarrier(m_pSelection, m_pMountCarriers))
        {
            m_bMountAwaitCarrier = TRUE;
            delete m_pMountCarriers;
            m_pMountCarriers = nullptr;
        }
        RedrawMap(FALSE);
        return;
    }
    if (m_bUploadMode)
    {
        if (m_bUploadAwaitCarrier)
        {
            delete m_pUploadList;
            m_pUploadList = m_pSelection;
            m_pSelection = nullptr;
            m_bSelectUnits = FALSE;
            m_bUploadAwaitCarrier = FALSE;
        }
        RedrawMap(FALSE);
        return;
    }
    if (m_bMinesMode)
    {
        delete m_pMinesList;
        m_pMinesList = new CTaskOrgArray(*m_pSelection);
        m_pMinesList->m_nSide = m_pSelection->m_nSide;
        RedrawMap(FALSE);
    }
}

BOOL CKDRView::AddElementToSelection(CHierarchyPlatoon* pElement)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetUnits() == nullptr || pElement == nullptr)
        return FALSE;
    CTaskOrgArray units;
    pElement->FillUnitList(&units, FALSE);
    if (m_pSelection == nullptr)
    {
        ClearSelection();
        m_pSelection = new CTaskOrgArray;
        m_pSelection->m_nSide = units.m_nSide;
        m_bSelectUnits = TRUE;
    }
    BOOL bAdded = FALSE;
    if (m_bSelectUnits && units.m_nSide == m_pSelection->m_nSide)
    {
        const int nBefore = m_pSelection->GetSize();
        m_pSelection->AppendCopies(units);
        bAdded = m_pSelection->GetSize() > nBefore;
    }
    if (m_pSelection->GetSize() == 0)
        ClearSelection();
    return bAdded;
}

BOOL CKDRView::AddUnitToSelection(int nUnit, int nArray, int nSide)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetUnits() == nullptr || nUnit == kUnset)
        return FALSE;
    if (m_pSelection == nullptr)
    {
        ClearSelection();
        m_pSelection = new CTaskOrgArray;
        m_pSelection->m_nSide = nSide;
        m_bSelectUnits = TRUE;
    }
    BOOL bAdded = FALSE;
    if (m_bSelectUnits && nSide == m_pSelection->m_nSide)
    {
        auto* pEntry = new CTaskOrg(nUnit, nArray);
        if (m_pSelection->AddUnique(pEntry) == kUnset)
            delete pEntry;
        else
            bAdded = TRUE;
    }
    if (m_pSelection->GetSize() == 0)
        ClearSelection();
    return bAdded;
}

// ---------------------------------------------------------------------------
// Small services

void CKDRView::ShowSpotReport(const CSpotReport* pReport)
{
    CancelInteraction();
    ClearSelection();
    CKDRDoc* pDoc = GetDocument();
    if (pReport == nullptr || pDoc == nullptr)
        return;
    float fX = kUnsetFloat;
    float fY = kUnsetFloat;
    if (pReport->m_nSide == -1)
    {
        fX = static_cast<float>(pReport->m_nUnit);
        fY = static_cast<float>(pReport->m_nArray);
    }
    else
    {
        CUnit* pUnit = pDoc->GetUnitForPopup(pReport->m_nUnit, pReport->m_nArray, pReport->m_nSide);
        if (pUnit == nullptr || pUnit->IsCarried())
            return;
        if (pReport->m_nSide == kOwnSide && !pUnit->m_bDestroyed)
        {
            auto* pList = new CTaskOrgArray;
            pList->m_nSide = pReport->m_nSide;
            pList->Add(new CTaskOrg(pReport->m_nUnit, pReport->m_nArray));
            m_pSelection = pList;
            m_bSelectUnits = TRUE;
            SetInteractionMode(nullptr);
        }
        fX = pUnit->m_fX;
        fY = pUnit->m_fY;
    }
    CKDRGameMap* pMap = GetGameMap();
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation != nullptr && pMap->GetMapPicture() != nullptr)
    {
        int px = 0;
        int py = 0;
        pElevation->MapToPixel(fX, fY, &px, &py);
        CenterOnMapPoint(px, py);
    }
    RedrawMap(FALSE);
}

void CKDRView::CancelDragOfUnit(const CString& strName)
{
    if (!m_strElementPath.IsEmpty() && m_strElementPath == strName && m_strDragElement == strName)
        m_strDragElement.Empty();
}

// ---------------------------------------------------------------------------
// Command handlers

void CKDRView::ToggleOrderMode(DWORD dwBit)
{
    const BOOL bWasSet = IsModePending(dwBit);
    CancelInteraction();
    if (!bWasSet)
    {
        SetModePending(dwBit, TRUE);
        SetToolbarMode(kToolbarOrders);
        ClearSelection();
    }
    RedrawMap(FALSE);
}

void CKDRView::RegisterViewCommands()
{
    auto enableIf = [this](UINT nId, std::function<BOOL()> test)
    { MapUpdate(nId, [test](CCmdUI* pCmdUI) { pCmdUI->Enable(test()); }); };
    auto gated = [this](UINT nId, std::function<void()> fn)
    {
        MapCommand(nId,
                   [this, nId, fn]
                   {
                       if (IsCommandAllowed(nId))
                           fn();
                   });
        MapUpdate(nId, [this, nId](CCmdUI* pCmdUI) { pCmdUI->Enable(IsCommandAllowed(nId)); });
    };
    auto unitsOfAllKinds = [this]
    {
        CKDRDoc* pDoc = GetDocument();
        return pDoc != nullptr && pDoc->GetUnits() != nullptr && pDoc->HasUnitsOfKind(kAnyKind);
    };
    auto unitsLoaded = [this]
    {
        CKDRDoc* pDoc = GetDocument();
        return pDoc != nullptr && pDoc->GetUnits() != nullptr;
    };

    // ---- View/Echelon ----
    struct Echelon
    {
        UINT nId;
        BOOL CKDRView::*pFlag;
        BOOL bNeedsElements;
    };
    for (const Echelon& e : {Echelon{ID_VIEW_ECHELON_COMPANIES, &CKDRView::m_bShowCompanies, TRUE},
                             Echelon{ID_VIEW_ECHELON_PLATOONS, &CKDRView::m_bShowPlatoons, TRUE},
                             Echelon{ID_VIEW_ECHELON_VEHICLES, &CKDRView::m_bShowVehicles, FALSE}})
    {
        BOOL CKDRView::*pFlag = e.pFlag;
        MapCommand(e.nId,
                   [this, pFlag]
                   {
                       this->*pFlag = !(this->*pFlag);
                       PlayPick();
                       RedrawMap(FALSE);
                       StoreViewProperties(FALSE);
                   });
        const BOOL bNeedsElements = e.bNeedsElements;
        MapUpdate(e.nId,
                  [this, pFlag, bNeedsElements, unitsOfAllKinds](CCmdUI* pCmdUI)
                  {
                      BOOL bEnable = unitsOfAllKinds();
                      if (bEnable && bNeedsElements)
                      {
                          CKDRUnits* pUnits = GetDocument()->GetUnits();
                          CHierarchyArray* pOwn = pUnits->m_pHierarchy[kOwnSide];
                          bEnable = pUnits->m_bHierarchy[kOwnSide] && pOwn != nullptr && pOwn->GetSize() > 0;
                      }
                      pCmdUI->Enable(bEnable);
                      pCmdUI->SetCheck(this->*pFlag ? 1 : 0);
                  });
    }

    // ---- View/Map ----
    for (const MapStyleCommand& c : kMapStyleCommands)
    {
        const int nMode = c.nMode;
        MapCommand(c.nId,
                   [this, nMode]
                   {
                       CKDRGameMap* pMap = GetGameMap();
                       if (pMap == nullptr)
                           return;
                       pMap->SetMapDisplayMode(nMode, GetDisplay());
                       m_pViewProperties->SetMapStyle(nMode, GetZoom());
                       RedrawMap(FALSE);
                   });
        MapUpdate(c.nId,
                  [this, nMode](CCmdUI* pCmdUI)
                  {
                      CKDRGameMap* pMap = GetGameMap();
                      const BOOL bColor = pMap != nullptr && !pMap->m_strColorTiles.IsEmpty();
                      const BOOL bContour = pMap != nullptr && !pMap->m_strContourTiles.IsEmpty();
                      BOOL bEnable = FALSE;
                      switch (nMode)
                      {
                      case CKDRGameMap::kModeColor: bEnable = bColor; break;
                      case CKDRGameMap::kModeContour: bEnable = bContour; break;
                      default: bEnable = bColor && bContour; break;
                      }
                      pCmdUI->Enable(bEnable);
                      pCmdUI->SetCheck(pMap != nullptr && pMap->GetMapDisplayMode() == nMode ? 1 : 0);
                  });
    }

    // ---- View/Zoom ----
    MapCommand(ID_VIEW_ZOOM_MAX_IN, [this] { SetZoom(CKDRGameMap::kZoomToMaximum, FALSE); });
    MapCommand(ID_VIEW_ZOOM_MAX_OUT, [this] { SetZoom(CKDRGameMap::kZoomToMinimum, FALSE); });
    MapCommand(ID_VIEW_ZOOM_NORMAL, [this] { SetZoom(CKDRGameMap::kZoomToNormal, FALSE); });
    enableIf(ID_VIEW_ZOOM_MAX_IN, [this] { return GetGameMap() != nullptr && GetZoom() < CKDRGameMap::kMaxZoom; });
    enableIf(ID_VIEW_ZOOM_MAX_OUT, [this] { return GetGameMap() != nullptr && GetZoom() > CKDRGameMap::kMinZoom; });
    enableIf(ID_VIEW_ZOOM_NORMAL, [this] { return GetGameMap() != nullptr && GetZoom() != 1.0f; });
    gated(ID_VIEW_ZOOM_IN, [this] { SetZoom(1, FALSE); });
    gated(ID_VIEW_ZOOM_OUT, [this] { SetZoom(-1, FALSE); });

    // ---- View/Overview Map ----
    gated(ID_VIEW_OVERVIEW_MAP,
          [this]
          {
              if (m_bOverviewMapOpen)
                  CloseOverviewMap();
              else if (HasMapPictures())
              {
                  OpenOverviewMap();
                  m_bOverviewMapOpen = TRUE;
              }
              RefreshOverviewMap();
              StoreViewProperties(FALSE);
          });
    MapUpdate(ID_VIEW_OVERVIEW_MAP,
              [this](CCmdUI* pCmdUI)
              {
                  pCmdUI->Enable(IsCommandAllowed(ID_VIEW_OVERVIEW_MAP));
                  pCmdUI->SetCheck(m_bOverviewMapOpen ? 1 : 0);
              });

    // ---- View/LOS ----
    auto groupLOSPossible = [this, unitsOfAllKinds] { return HasMapPictures() && unitsOfAllKinds(); };
    MapCommand(ID_VIEW_GROUP_LOS,
               [this, groupLOSPossible]
               {
                   if (!groupLOSPossible())
                       return;
                   m_bGroupLOS = !m_bGroupLOS;
                   RedrawMap(FALSE);
               });
    MapUpdate(ID_VIEW_GROUP_LOS,
              [this, groupLOSPossible](CCmdUI* pCmdUI)
              {
                  pCmdUI->Enable(groupLOSPossible());
                  pCmdUI->SetCheck(m_bGroupLOS ? 1 : 0);
              });
    MapCommand(ID_VIEW_LOS_FAN,
               [this]
               {
                   const BOOL bWasOn = m_bLOSFan;
                   CancelInteraction();
                   m_bLOSFan = !bWasOn;
                   m_fLOSX = m_fLOSY = kUnsetFloat;
                   m_nLOSUnit = m_nLOSArray = m_nLOSKind = kUnset;
                   RedrawMap(FALSE);
               });
    MapUpdate(ID_VIEW_LOS_FAN,
              [this](CCmdUI* pCmdUI)
              {
                  pCmdUI->Enable(HasMapPictures());
                  pCmdUI->SetCheck(m_bLOSFan ? 1 : 0);
              });

    // ---- View/Options ----
    gated(ID_VIEW_OPTIONS,
          [this]
          {
              const float fScale = GetGameMap() != nullptr ? GetZoom() : 1.0f;
              const int nLevel = CViewProperties::GetZoomLevel(fScale);
              CViewPropertiesDlg dlg(*m_pViewProperties, nLevel == kUnset ? 2 : nLevel, this);
              if (dlg.DoModal() != IDOK)
                  return;
              *m_pViewProperties = dlg.m_props;
              ApplyViewProperties();
              RedrawMap(FALSE);
          });

    // ---- Edit ----
    gated(ID_EDIT_COPY,
          [this]
          {
              delete m_pCopiedPath;
              m_pCopiedPath = m_pShownPath != nullptr ? new CNodeArray(*m_pShownPath) : nullptr;
              m_bPathCopied = m_pCopiedPath != nullptr;
              PlayPick();
          });
    gated(ID_EDIT_CUT,
          [this]
          {
              CKDRDoc* pDoc = GetDocument();
              if (pDoc == nullptr || pDoc->GetUnits() == nullptr)
                  return;
              float fX = kUnsetFloat;
              float fY = kUnsetFloat;
              if (!m_strElementPath.IsEmpty())
                  pDoc->GetElementPoint(m_strElementPath, fX, fY);
              else if (CUnit* pUnit = pDoc->GetUnitForPopup(m_nSelUnit, m_nSelArray, m_nSelKind))
              {
                  fX = pUnit->m_fX;
                  fY = pUnit->m_fY;
              }
              if (fX >= 0 && fY >= 0)
              {
                  delete m_pShownPath;
                  m_pShownPath = new CNodeArray;
                  m_pShownPath->AddNode(fX, fY);
              }
              PlayPick();
              RedrawMap(FALSE);
          });
    MapCommand(ID_EDIT_DELETE_NODES,
               [this]
               {
                   m_bDeleteNodes = !m_bDeleteNodes;
                   if (m_pShownPath != nullptr)
                       m_pShownPath->m_bMoving = m_pShownPath->m_bAdding = FALSE;
                   m_bNodeMark1 = m_bNodeMark2 = FALSE;
                   m_nNodeMark1 = m_nNodeMark2 = kUnset;
                   m_bLOSFan = FALSE;
                   m_nLOSUnit = m_nLOSArray = m_nLOSKind = kUnset;
                   m_fLOSX = m_fLOSY = kUnsetFloat;
                   RedrawMap(FALSE);
               });
    MapUpdate(ID_EDIT_DELETE_NODES,
              [this](CCmdUI* pCmdUI)
              {
                  pCmdUI->Enable(m_bPathShown && !IsViewDragging());
                  pCmdUI->SetCheck(m_bDeleteNodes ? 1 : 0);
              });
    for (UINT nId : {ID_EDIT_PASTE, ID_EDIT_PASTE_IN_LINE})
    {
        const BOOL bInColumn = nId == ID_EDIT_PASTE_IN_LINE;
        gated(nId,
              [this, bInColumn]
              {
                  CKDRDoc* pDoc = GetDocument();
                  if (pDoc == nullptr || m_pCopiedPath == nullptr)
                      return;
                  if (m_bSelectUnits && m_pSelection != nullptr)
                  {
                      for (int i = 0; i < m_pSelection->GetSize(); ++i)
                      {
                          const CTaskOrg* pEntry = m_pSelection->GetAt(i);
                          if (pEntry != nullptr && pEntry->GetType() == TASKORG_KIND_UNIT)
                              pDoc->PastePathToUnit(pEntry->m_nUnit, pEntry->m_nArray, m_pSelection->m_nSide,
                                                    *m_pCopiedPath, bInColumn);
                      }
                  }
                  else if (m_nSelUnit != kUnset)
                  {
                      pDoc->PastePathToUnit(m_nSelUnit, m_nSelArray, m_nSelKind, *m_pCopiedPath, bInColumn);
                      if (CNodeArray* pPath = pDoc->GetUnitPath(m_nSelUnit, m_nSelArray, m_nSelKind))
                      {
                          delete m_pShownPath;
                          m_pShownPath = new CNodeArray(*pPath);
                      }
                  }
                  PlayPick();
                  RedrawMap(FALSE);
              });
    }
    gated(ID_EDIT_SHOW_PATH,
          [this]
          {
              CancelInteraction();
              m_bPathEdit = TRUE;
              SetToolbarMode(kToolbarPathEdit);
              RedrawMap(FALSE);
          });
    MapUpdate(ID_EDIT_SHOW_PATH,
              [this](CCmdUI* pCmdUI)
              {
                  pCmdUI->Enable(IsCommandAllowed(ID_EDIT_SHOW_PATH));
                  pCmdUI->SetCheck(m_bPathEdit ? 1 : 0);
              });
    MapCommand(ID_EDIT_UNDO,
               [this]
               {
                   CKDRDoc* pDoc = GetDocument();
                   if (pDoc == nullptr || (m_nSelUnit == kUnset && m_strElementPath.IsEmpty()))
                       return;
                   CNodeArray* pSource = nullptr;
                   if (!m_strElementPath.IsEmpty())
                   {
                       if (CHierarchyPlatoon* pElement = pDoc->GetSelectedElement(m_strElementPath))
                           pSource = pElement->m_pPath;
                   }
                   else
                       pSource = pDoc->GetUnitPath(m_nSelUnit, m_nSelArray, m_nSelKind);
                   delete m_pShownPath;
                   m_pShownPath = pSource != nullptr ? new CNodeArray(*pSource) : nullptr;
                   PlayPick();
                   RedrawMap(FALSE);
               });
    enableIf(ID_EDIT_UNDO, [this]
             { return m_bPathShown && (m_nSelUnit != kUnset || !m_strElementPath.IsEmpty()) && !IsViewDragging(); });

    // ---- Actions ----
    gated(ID_ACTIONS_FIRE_MISSION,
          [this]
          {
              CancelInteraction();
              m_bFireMissionPlanning = TRUE;
              SetInteractionMode(nullptr);
              SetToolbarMode(kToolbarFireMission);
              RedrawMap(FALSE);
          });
    MapUpdate(ID_ACTIONS_FIRE_MISSION,
              [this](CCmdUI* pCmdUI)
              {
                  pCmdUI->Enable(IsCommandAllowed(ID_ACTIONS_FIRE_MISSION));
                  pCmdUI->SetCheck(m_bFireMissionPlanning ? 1 : 0);
              });
    MapCommand(ID_ACTIONS_FIRE_ORDER, [this] { m_pFireOrderDlg->CreateModeless(this); });
    MapUpdate(ID_ACTIONS_FIRE_ORDER, [this](CCmdUI* pCmdUI) { pCmdUI->Enable(!m_pFireOrderDlg->IsOpen()); });
    struct TwoStep
    {
        UINT nId;
        BOOL CKDRView::*pMode;
        BOOL CKDRView::*pAwait;
        BOOL bAfterDeployment;
    };
    for (const TwoStep& t :
         {TwoStep{ID_ACTIONS_MOUNT, &CKDRView::m_bMountMode, &CKDRView::m_bMountAwaitCarrier, FALSE},
          TwoStep{ID_ACTIONS_UPLOAD, &CKDRView::m_bUploadMode, &CKDRView::m_bUploadAwaitCarrier, TRUE},
          TwoStep{ID_ACTIONS_DEPLOY_MINES, &CKDRView::m_bMinesMode, &CKDRView::m_bMinesAwaitLayer, FALSE}})
    {
        BOOL CKDRView::*pMode = t.pMode;
        BOOL CKDRView::*pAwait = t.pAwait;
        const BOOL bAfterDeployment = t.bAfterDeployment;
        auto possible = [this, unitsOfAllKinds, bAfterDeployment]
        {
            CKDRApp* pApp = GetKDRApp();
            return unitsOfAllKinds() && !IsViewDragging() &&
                   (!bAfterDeployment || (pApp != nullptr && !pApp->IsDeploymentPhase()));
        };
        MapCommand(t.nId,
                   [this, pMode, pAwait, possible]
                   {
                       if (!possible())
                           return;
                       const BOOL bWasOn = this->*pMode;
                       CancelInteraction();
                       this->*pMode = !bWasOn;
                       this->*pAwait = !bWasOn;
                       RedrawMap(FALSE);
                   });
        MapUpdate(t.nId,
                  [this, pMode, possible](CCmdUI* pCmdUI)
                  {
                      pCmdUI->Enable(possible());
                      pCmdUI->SetCheck(this->*pMode ? 1 : 0);
                  });
    }

    // ---- Orders and SOP ----
    for (const ModeCommand& c : kModeCommands)
    {
        const DWORD dwBit = c.dwBit;
        const BOOL bAllKinds = dwBit == kModeDismount;
        MapCommand(c.nId, [this, dwBit] { ToggleOrderMode(dwBit); });
        MapUpdate(c.nId,
                  [this, dwBit, bAllKinds, unitsLoaded, unitsOfAllKinds](CCmdUI* pCmdUI)
                  {
                      pCmdUI->Enable((bAllKinds ? unitsOfAllKinds() : unitsLoaded()) && !IsViewDragging());
                      pCmdUI->SetCheck(IsModePending(dwBit) ? 1 : 0);
                  });
    }
    enableIf(ID_ORDERS_CREEP, [] { return FALSE; });

    MapCommand(ID_SOP_FC_COPY,
               [this]
               {
                   // The field-of-fire mode's unit wins when both modes are set.
                   CKDRDoc* pDoc = GetDocument();
                   CUnit* pUnit = pDoc != nullptr && (m_bFieldOfFireMode || m_bMaxRangeMode)
                                      ? pDoc->GetUnitForPopup(m_nModeUnit, m_nModeArray, m_nModeKind)
                                      : nullptr;
                   if (pUnit == nullptr || (!pUnit->m_bMaxRange && !pUnit->m_bFieldOfFire))
                       return;
                   m_bFCMaxRangeSet = pUnit->m_bMaxRange;
                   m_nFCMaxRange = pUnit->m_nMaxRange;
                   m_bFCFieldOfFireSet = pUnit->m_bFieldOfFire;
                   m_nFCRightLimit = pUnit->m_nFieldOfFireTo;
                   m_nFCLeftLimit = pUnit->m_nFieldOfFireFrom;
                   m_bFCValid = TRUE;
               });
    enableIf(ID_SOP_FC_COPY,
             [this]
             {
                 CKDRDoc* pDoc = GetDocument();
                 CUnit* pUnit = pDoc != nullptr && (m_bFieldOfFireMode || m_bMaxRangeMode)
                                    ? pDoc->GetUnitForPopup(m_nModeUnit, m_nModeArray, m_nModeKind)
                                    : nullptr;
                 return pUnit != nullptr && (pUnit->m_bMaxRange || pUnit->m_bFieldOfFire);
             });
    auto unitOrGroup = [this] { return m_nSelUnit != kUnset || (m_bSelectUnits && m_pSelection != nullptr); };
    MapCommand(ID_SOP_FC_PASTE,
               [this]
               {
                   CKDRDoc* pDoc = GetDocument();
                   if (pDoc == nullptr || !m_bFCValid)
                       return;
                   auto paste = [&](int nUnit, int nArray, int nKind)
                   {
                       pDoc->PasteFireControl(nUnit, nArray, nKind, m_bFCMaxRangeSet, m_nFCMaxRange,
                                              m_bFCFieldOfFireSet, m_nFCRightLimit, m_nFCLeftLimit);
                   };
                   if (m_bSelectUnits && m_pSelection != nullptr)
                   {
                       for (int i = 0; i < m_pSelection->GetSize(); ++i)
                       {
                           const CTaskOrg* pEntry = m_pSelection->GetAt(i);
                           if (pEntry != nullptr && pEntry->GetType() == TASKORG_KIND_UNIT)
                               paste(pEntry->m_nUnit, pEntry->m_nArray, m_pSelection->m_nSide);
                       }
                   }
                   else if (m_nSelUnit != kUnset)
                       paste(m_nSelUnit, m_nSelArray, m_nSelKind);
                   PlayPick();
                   RedrawMap(FALSE);
               });
    enableIf(ID_SOP_FC_PASTE, [this, unitOrGroup] { return m_bFCValid && unitOrGroup() && !IsViewDragging(); });
    MapCommand(ID_SOP_FC_DELETE,
               [this]
               {
                   CKDRDoc* pDoc = GetDocument();
                   if (pDoc == nullptr)
                       return;
                   if (m_bSelectUnits && m_pSelection != nullptr)
                       pDoc->DeleteFireControlOfSelection(m_pSelection);
                   else if (m_nSelUnit != kUnset)
                       pDoc->DeleteFireControl(m_nSelUnit, m_nSelArray, m_nSelKind);
                   PlayPick();
                   RedrawMap(FALSE);
               });
    enableIf(ID_SOP_FC_DELETE, [this, unitOrGroup] { return unitOrGroup() && !IsViewDragging(); });

    // ---- Escape ----
    gated(ID_CANCEL_INTERACTION,
          [this]
          {
              CancelInteraction();
              ClearSelection();
              PlayPick();
              RedrawMap(FALSE);
          });
}
