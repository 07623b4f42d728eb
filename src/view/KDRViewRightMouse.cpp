// The map view's right button: the line-of-sight fan, a look during a
// drag, the pending modes' cancel and clears, node stops, the edits of
// obstacles and dug positions, and the context menus. Like the left
// button's, each handler tries its cases in order and the first that
// applies ends the handling.

#include "view/KDRView.h"

#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/MapPicture.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "platform/core/Rounding.h"
#include "platform/ui/Command.h"
#include "platform/ui/Frame.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "view/ViewMouseSupport.h"

#include <memory>

using view_mouse::IsPointMode;
using view_mouse::kAnySide;
using view_mouse::kOwnSide;

// ---------------------------------------------------------------------------
// Right button

void CKDRView::OnRButtonDown(UINT nFlags, CPoint point)
{
    CPoint ptPicture;
    float fX = 0.0f;
    float fY = 0.0f;
    if (!PrepareMousePoint(nFlags, point, MouseEvent::kRightDown, ptPicture, fX, fY))
        return;
    CKDRDoc* pDoc = GetDocument();
    CKDRApp* pApp = GetKDRApp();
    const DWORD dwMode = GetInteractionMode();
    const BOOL bUnitSelection = m_bSelectUnits && m_pSelection != nullptr;
    const BOOL bEdited = IsPathEdited();
    const BOOL bNodeDrag = bEdited && (m_bNodeMark1 || m_bNodeMark2);
    const BOOL bObjectDrag =
        m_bDragUnit || m_bDragObstacle || m_bDragHole || m_bDragUnits || m_bDragObstacles || m_bDragHoles;
    auto consumed = [this]
    {
        m_bRightConsumed = TRUE;
        RedrawMap(FALSE);
    };

    // 1. A right click ends the line-of-sight fan tool.
    if (m_bLOSFan && !bObjectDrag && !bNodeDrag)
    {
        CancelInteraction();
        PlayPick();
        consumed();
        return;
    }
    // 2. Fire mission: the point goes to the fire-mission log.
    if (m_bFireMissionPlanning && m_nFireUnit != kUnset)
    {
        const BOOL bDone = bUnitSelection ? pDoc->CanSelectionFireMission(m_pSelection)
                                          : pDoc->CanUnitFireMission(m_nFireUnit, m_nFireArray, m_nFireKind);
        if (bDone)
        {
            pDoc->RefreshFireMissionLog();
            PlayPick();
            consumed();
        }
        return;
    }
    // 3. During a drag: a line-of-sight fan from the cursor for a look.
    if (bObjectDrag || bNodeDrag)
    {
        m_bLOSFan = TRUE;
        m_nLOSUnit = m_nLOSArray = m_nLOSKind = kUnset;
        m_fLOSX = fX;
        m_fLOSY = fY;
        consumed();
        return;
    }
    // 4. Path editing: a node's stop is switched.
    if (m_bPathEdit && bEdited)
    {
        const int nNode = HitTestNode(fX, fY);
        if (nNode != kUnset && m_pShownPath->GetAt(nNode) != nullptr)
        {
            CNode* pNode = m_pShownPath->GetAt(nNode);
            if (pNode->HasStop())
            {
                pNode->RemoveOrdersOfType(NORD_STOP);
                if (m_nSelKind != kOwnSide)
                    pNode->RemoveOrdersOfType(NORD_START_TIME);
            }
            else
                pNode->AddOrder(NORD_STOP);
            if (ApplyEditedPath())
                pDoc->SetModifiedFlag(TRUE);
            consumed();
            return;
        }
    }
    // 5. A pending order or Deploy Mines: the right click leaves it.
    if (!IsPointMode(dwMode) || m_bMinesMode)
    {
        CancelInteraction();
        PlayPick();
        consumed();
        return;
    }
    int nElementSide = kOwnSide;
    CHierarchyPlatoon* pElement = HitTestElement(ptPicture, nElementSide);
    int nArray = kUnset;
    int nSide = kUnset;
    const int nUnit = pElement == nullptr ? HitTestUnit(ptPicture, nArray, nSide) : kUnset;
    auto selectElement = [&](BOOL bApply)
    {
        auto pList = std::make_unique<CTaskOrgArray>();
        pElement->FillUnitList(pList.get(), TRUE);
        DWORD dwBefore = 0;
        IssueOrderToSelection(pElement, pList.release(), dwBefore, FALSE, !bApply);
    };

    // 6, 7. Field of fire and max range: forget the unit, or clear the
    // control of an element or a unit.
    if (m_bFieldOfFireMode || m_bMaxRangeMode)
    {
        const int nControl = m_bFieldOfFireMode ? 0 : 1;
        if (m_nModeUnit != kUnset)
        {
            m_nModeUnit = m_nModeArray = m_nModeKind = kUnset;
            PlayPick();
        }
        else if (pElement != nullptr)
        {
            if (pDoc->ToggleFireControlForElement(pElement, nControl == 0))
            {
                selectElement(TRUE);
                PlayPick();
            }
        }
        else if (nUnit != kUnset && pDoc->ResetUnitPath(nUnit, nArray, nSide, nControl))
            PlayPick();
        consumed();
        return;
    }
    // 8. Suppress: an element's or a unit's suppress area goes; otherwise
    // the chosen unit and the selection are forgotten.
    if (IsModePending(kModeSuppress))
    {
        if (pElement != nullptr && pDoc->ToggleSuppressForElement(pElement))
        {
            selectElement(FALSE);
            PlayPick();
            consumed();
            return;
        }
        if (nUnit != kUnset && pDoc->ClearSuppressArea(nUnit, nArray, nSide))
        {
            PlayPick();
            consumed();
            return;
        }
        if (m_nModeUnit != kUnset || m_pSelection != nullptr)
        {
            m_nModeUnit = m_nModeArray = m_nModeKind = kUnset;
            ClearSelection();
            PlayPick();
            consumed();
            return;
        }
    }
    // 9. March speed: an element's units take it, a unit loses it.
    if (IsModePending(kModeMarchSpeed))
    {
        if (pElement != nullptr && pDoc->ApplyCompanyOrderFromElement(pElement))
        {
            selectElement(TRUE);
            PlayPick();
            consumed();
            return;
        }
        if (pElement == nullptr)
        {
            if (nUnit != kUnset && pDoc->ClearUnitMarchSpeed(nUnit, nArray, nSide))
                PlayPick();
            consumed();
            return;
        }
    }
    // 10. A unit or symbol under the cursor: its menu opens on release.
    if (pElement != nullptr || nUnit != kUnset)
    {
        CScrollView::OnRButtonDown(nFlags, point);
        return;
    }
    // 11. Deployment: an obstacle or dug position is edited.
    if (!m_bDragUnit && !m_bPathEdit && !bObjectDrag && pApp != nullptr && pApp->IsDeploymentPhase())
    {
        int nObstacleSide = kAnySide;
        const int nObstacle = pDoc->FindObstacleAt(fX, fY, nObstacleSide);
        if (nObstacle != kUnset)
        {
            PlayPick();
            const BOOL bSelected = m_bSelectObstacles && m_pSelection != nullptr &&
                                   m_pSelection->m_nSide == nObstacleSide &&
                                   m_pSelection->FindTaskOrg(nObstacle, 0) != kUnset;
            if (bSelected ? pDoc->EditSelectedObstacle(m_pSelection) : pDoc->EditObstacle(nObstacle, nObstacleSide))
                RedrawMap(FALSE);
            m_bRightConsumed = TRUE;
            return;
        }
        // Dug positions are found by the map point: near the position
        // itself or on its drawn markers.
        int nHoleSide = kAnySide;
        const int nHole = pDoc->FindHoleAt(fX, fY, nHoleSide);
        if (nHole != kUnset)
        {
            PlayPick();
            const BOOL bSelected = m_bSelectHoles && m_pSelection != nullptr && m_pSelection->m_nSide == nHoleSide &&
                                   m_pSelection->FindTaskOrg(nHole, 0) != kUnset;
            if (bSelected ? pDoc->EditSelectedHole(m_pSelection) : pDoc->EditHole(nHole, nHoleSide))
                RedrawMap(FALSE);
            m_bRightConsumed = TRUE;
            return;
        }
    }
    CScrollView::OnRButtonDown(nFlags, point);
}

void CKDRView::OnRButtonUp(UINT nFlags, CPoint point)
{
    if (m_bRightConsumed)
    {
        m_bRightConsumed = FALSE;
        return;
    }
    CPoint ptPicture;
    float fX = 0.0f;
    float fY = 0.0f;
    if (!PrepareMousePoint(nFlags, point, MouseEvent::kRightUp, ptPicture, fX, fY))
        return;
    CKDRDoc* pDoc = GetDocument();
    if (m_bLOSFan || pDoc->HasUnitSelection())
        return;
    // The menus of what lies under the cursor: the platoons and companies
    // first, then the units.
    if (m_bShowPlatoons || m_bShowCompanies)
    {
        std::unique_ptr<CHierarchyArray> pElements(pDoc->GetElementsAtPoint(ptPicture.x, ptPicture.y, m_bShowPlatoons, m_bShowCompanies));
        if (pElements != nullptr && pElements->GetSize() > 0 && ShowLevelPopup(pElements.get(), ptPicture))
            return;
        int nSide = kOwnSide;
        if (CHierarchyPlatoon* pElement = HitTestElement(ptPicture, nSide))
        {
            ShowUnitPopup(pElement, ptPicture);
            return;
        }
    }
    std::unique_ptr<CTaskOrgArray> pUnits(pDoc->GetUnitsAtPoint(ptPicture.x, ptPicture.y));
    if (pUnits != nullptr && pUnits->GetSize() > 0)
    {
        ShowUnitPickPopup(pUnits.get(), ptPicture);
        return;
    }
    int nArray = kUnset;
    int nSide = kUnset;
    const int nUnit = HitTestUnit(ptPicture, nArray, nSide);
    if (nUnit != kUnset)
        ShowVehiclePopup(nUnit, nArray, nSide, point);
}

void CKDRView::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    m_bRightConsumed = TRUE;
    CScrollView::OnRButtonDblClk(nFlags, point);
}

// The context menus are not built yet: nothing is shown.
BOOL CKDRView::ShowLevelPopup(CHierarchyArray*, CPoint) { return FALSE; }
BOOL CKDRView::ShowUnitPopup(CHierarchyPlatoon*, CPoint) { return FALSE; }
BOOL CKDRView::ShowUnitPickPopup(CTaskOrgArray*, CPoint) { return FALSE; }
BOOL CKDRView::ShowVehiclePopup(int, int, int, CPoint) { return FALSE; }
