// The map view's mouse and keyboard. Every button, move and key handler
// tries its cases in a fixed order and the first case that applies acts
// and ends the handling: the completion of a pending mode comes before a
// drag, a drag before the rubber band. There is no movement threshold: a
// drag is set up at button-down and follows every move.
//
// Clicks find units by their pictures (picture pixels), platoons and
// companies by their symbols and path nodes by map metres. Dragging units,
// obstacles and dug positions is for the deployment phase only, and only
// while nothing else is in progress ("free for dragging").

#include "view/KDRView.h"

#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/Hole.h"
#include "battlefield/KDRHoles.h"
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

#include <cmath>
#include <memory>

using view_mouse::IsPointMode;

namespace
{
// The message pane with nothing under the cursor and no mode pending.
const char* const kIdleStatus = "Ready";
}  // namespace
using view_mouse::kAnySide;
using view_mouse::kOwnSide;

namespace
{
// CUnit::CanMountOrDismount: whether the unit can take passengers (1) or
// has passengers to unload (0).
constexpr int kCanTakePassengers = 1;
constexpr int kHasPassengers = 0;

// A new list naming one unit of a side.
CTaskOrgArray* OneUnitList(int nUnit, int nArray, int nSide)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nSide = nSide;
    pList->Add(new CTaskOrg(nUnit, nArray));
    return pList;
}
}  // namespace

// ---------------------------------------------------------------------------
// The common parts

void CKDRView::DefaultMouse(MouseEvent eEvent, UINT nFlags, CPoint point)
{
    switch (eEvent)
    {
    case MouseEvent::kLeftDown: CScrollView::OnLButtonDown(nFlags, point); break;
    case MouseEvent::kLeftUp: CScrollView::OnLButtonUp(nFlags, point); break;
    case MouseEvent::kLeftDouble: CScrollView::OnLButtonDblClk(nFlags, point); break;
    case MouseEvent::kMove: CScrollView::OnMouseMove(nFlags, point); break;
    case MouseEvent::kRightDown: CScrollView::OnRButtonDown(nFlags, point); break;
    case MouseEvent::kRightUp: CScrollView::OnRButtonUp(nFlags, point); break;
    }
}

BOOL CKDRView::PrepareMousePoint(UINT nFlags, CPoint point, MouseEvent eEvent, CPoint& ptPicture, float& fX, float& fY)
{
    CKDRGameMap* pMap = GetGameMap();
    CRect rcClient;
    GetClientRect(&rcClient);
    if (pMap == nullptr || !rcClient.PtInRect(point))
    {
        DefaultMouse(eEvent, nFlags, point);
        return FALSE;
    }
    CMapPicture* pPicture = pMap->GetMapPicture();
    CElevationMap* pElevation = pMap->GetElevationMap();
    if (!HasMapPictures() || pElevation == nullptr)
        return FALSE;
    int px = 0;
    int py = 0;
    ClientToPicture(point.x, point.y, &px, &py);
    m_ptMouseSurface = CPoint(static_cast<int>(std::floor(point.x / GetClientFactorX())),
                              static_cast<int>(std::floor(point.y / GetClientFactorY())));
    ptPicture = CPoint(px + pPicture->GetScrollX(), py + pPicture->GetScrollY());
    // Zoomed in, a client pixel is a fraction of a picture pixel: the map
    // point keeps that fraction, so that what is placed or dragged lies
    // exactly under the cursor.
    const double zoom = GetZoom();
    const double dPictureX = pPicture->GetScrollX() + point.x / zoom / GetClientFactorX();
    const double dPictureY = pPicture->GetScrollY() + point.y / zoom / GetClientFactorY();
    float fX0 = 0.0f;
    float fY0 = 0.0f;
    float fX1 = 0.0f;
    float fY1 = 0.0f;
    pElevation->PixelToMap(0, 0, &fX0, &fY0);
    pElevation->PixelToMap(1, 1, &fX1, &fY1);
    fX = static_cast<float>(fX0 + (fX1 - fX0) * dPictureX);
    fY = static_cast<float>(fY0 + (fY1 - fY0) * dPictureY);
    return TRUE;
}

int CKDRView::HitTestUnit(CPoint, int& nArray, int& nSide)
{
    nArray = nSide = kUnset;
    CKDRDoc* pDoc = GetDocument();
    CKDRUnits* pUnits = pDoc != nullptr ? pDoc->GetUnits() : nullptr;
    if (pUnits == nullptr || !m_bShowVehicles)
        return kUnset;
    int nFoundArray = kUnset;
    int nKind = -1;
    const int nUnit = pUnits->HitTestOwnUnit(m_ptMouseSurface.x, m_ptMouseSurface.y, 0, nFoundArray, nKind, TRUE,
                                             pDoc->GetDatabase());
    if (nUnit != kUnset)
    {
        nArray = nFoundArray;
        nSide = nKind;
    }
    return nUnit;
}

CHierarchyPlatoon* CKDRView::HitTestElement(CPoint ptPicture, int& nSide)
{
    CKDRDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->HitTestElements(ptPicture.x, ptPicture.y, nSide, m_bShowPlatoons, m_bShowCompanies)
                           : nullptr;
}

int CKDRView::HitTestNode(float fX, float fY)
{
    return m_pShownPath != nullptr ? m_pShownPath->HitTest(fX, fY, GetGameMap()) : kUnset;
}

BOOL CKDRView::IsFreeForDragging()
{
    CKDRApp* pApp = GetKDRApp();
    CKDRDoc* pDoc = GetDocument();
    return pApp != nullptr && pDoc != nullptr && pApp->IsDeploymentPhase() && !IsDragInProgress() &&
           !IsInteractionActive() && GetInteractionMode() == 0 && !pDoc->HasUnitSelection();
}

BOOL CKDRView::IsPathEdited() const
{
    return m_pShownPath != nullptr && (m_nSelUnit != kUnset || !m_strElementPath.IsEmpty());
}

BOOL CKDRView::ApplyEditedPath()
{
    CKDRApp* pApp = GetKDRApp();
    CKDRDoc* pDoc = GetDocument();
    if (pApp == nullptr || pDoc == nullptr || !pApp->IsClockRunning() || m_pShownPath == nullptr)
        return TRUE;
    BOOL bDone = TRUE;
    if (m_nSelUnit != kUnset && !pDoc->PasteOrdersToUnit(m_pShownPath, m_nSelUnit, m_nSelArray, m_nSelKind, TRUE))
        bDone = FALSE;
    if (!m_strElementPath.IsEmpty() && !pDoc->ApplyElementPathEdit(m_strElementPath, m_pShownPath, TRUE))
        bDone = FALSE;
    if (!bDone)
        CancelInteraction();
    return bDone;
}

BOOL CKDRView::IsUnitDrawnAt(int nUnit, int nArray, int nSide)
{
    CKDRDoc* pDoc = GetDocument();
    CUnit* pUnit = pDoc != nullptr ? pDoc->GetUnitForPopup(nUnit, nArray, nSide) : nullptr;
    return pUnit != nullptr && pUnit->HitTestDrawn(m_ptMouseSurface.x, m_ptMouseSurface.y);
}

BOOL CKDRView::IsOtherThingAt(float fX, float fY)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return FALSE;
    int nObstacleSide = kAnySide;
    if (pDoc->FindObstacleAt(fX, fY, nObstacleSide) != kUnset)
        return TRUE;
    int nHoleSide = kAnySide;
    const int nHole = pDoc->FindHoleAt(fX, fY, nHoleSide);
    CKDRHoles* pHoles = pDoc->GetHoles();
    const CHole* pHole = nHole != kUnset && pHoles != nullptr ? pHoles->GetHole(nHole, nHoleSide) : nullptr;
    // Only a marker drawn under the cursor shows through: the unit's own
    // position lies under its centre, within the pick distance.
    return pHole != nullptr && pHole->MarkerContains(m_ptMouseSurface.x, m_ptMouseSurface.y);
}

void CKDRView::ShowStatusText(const CString& strText)
{
    m_strHoverText = strText;
    ShowModeInStatus();
}

void CKDRView::ShowModeInStatus()
{
    CFrameWnd* pFrame = GetParentFrame();
    auto* pBar = pFrame != nullptr ? dynamic_cast<CStatusBar*>(pFrame->GetControlBar(AFX_IDW_STATUS_BAR)) : nullptr;
    if (pBar == nullptr)
        return;
    const CString strMode = GetPendingModeText();
    if (strMode.IsEmpty())
        pBar->SetPaneText(0, m_strHoverText.IsEmpty() ? CString(kIdleStatus) : m_strHoverText, TRUE);
    else if (m_strHoverText.IsEmpty())
        pBar->SetPaneText(0, strMode, TRUE);
    else
        pBar->SetPaneText(0, strMode + "   " + m_strHoverText, TRUE);
}

BOOL CKDRView::IsOnMap(float fX, float fY) const
{
    CKDRGameMap* pMap = GetGameMap();
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation == nullptr)
        return FALSE;
    const int x = TruncToInt(fX + 0.5f);
    const int y = TruncToInt(fY + 0.5f);
    return x >= 0 && x < pElevation->GetWidth() && y >= 0 && y < pElevation->GetHeight();
}

BOOL CKDRView::GetObstaclePoint(int nIndex, int nSide, float& fX, float& fY)
{
    CKDRDoc* pDoc = GetDocument();
    CKDRObstacles* pObstacles = pDoc != nullptr ? pDoc->GetObstacles() : nullptr;
    const CObstacleArray* pArray = pObstacles != nullptr ? pObstacles->GetSideArray(nSide) : nullptr;
    if (pArray == nullptr || nIndex < 0 || nIndex >= pArray->GetSize() || pArray->GetAt(nIndex) == nullptr)
        return FALSE;
    fX = pArray->GetAt(nIndex)->m_fX;
    fY = pArray->GetAt(nIndex)->m_fY;
    return TRUE;
}

void CKDRView::StartSelectionDrag(BOOL CKDRView::*pFlag, float fX, float fY)
{
    this->*pFlag = TRUE;
    m_fDragFirstX = m_fDragLastX = fX;
    m_fDragFirstY = m_fDragLastY = fY;
}

BOOL CKDRView::StepSelectionDrag(float fX, float fY, BOOL bFinal)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return FALSE;
    if (m_bDragHoles)
        pDoc->PlaceHolesOfSelection(m_pSelection, m_fDragLastX, m_fDragLastY, fX, fY);
    else if (m_bDragObstacles)
        pDoc->HandleObstacleSelection(m_pSelection, m_fDragLastX, m_fDragLastY, fX, fY);
    else if (m_bDragUnits)
        pDoc->EndUnitDrag(m_pSelection, m_fDragLastX, m_fDragLastY, fX, fY, bFinal);
    else
        return FALSE;
    m_fDragLastX = fX;
    m_fDragLastY = fY;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Left button

void CKDRView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CPoint ptPicture;
    float fX = 0.0f;
    float fY = 0.0f;
    if (!PrepareMousePoint(nFlags, point, MouseEvent::kLeftDown, ptPicture, fX, fY))
        return;
    CKDRDoc* pDoc = GetDocument();
    const DWORD dwMode = GetInteractionMode();
    const BOOL bUnitSelection = m_bSelectUnits && m_pSelection != nullptr;
    const BOOL bEdited = IsPathEdited();
    int nArray = kUnset;
    int nSide = kUnset;
    int nUnit = kUnset;

    // 2. Shift adds to the selection, and does nothing else.
    if ((nFlags & MK_SHIFT) != 0 && !m_bRubberBand && !m_bNodeMark1 && !m_bNodeMark2 && !m_bDragUnit &&
        !m_bDragObstacle && !m_bDragHole && !m_bDragObstacles && !m_bDragHoles && pDoc->GetUnits() != nullptr)
    {
        int nSearch = bUnitSelection ? m_pSelection->m_nSide : kOwnSide;
        CHierarchyPlatoon* pElement = HitTestElement(ptPicture, nSearch);
        BOOL bAdded = FALSE;
        if (pElement != nullptr)
            bAdded = AddElementToSelection(pElement);
        else if ((nUnit = HitTestUnit(ptPicture, nArray, nSide)) != kUnset)
            bAdded = AddUnitToSelection(nUnit, nArray, nSide);
        if (bAdded)
        {
            SetInteractionMode(pElement);
            PlayPick();
            RedrawMap(FALSE);
        }
        return;
    }

    // 3, 4. Fire mission: the first click chooses the firing unit, the next
    // ones the targets.
    BOOL bSkipToElements = FALSE;
    if (m_bFireMissionPlanning && m_nFireUnit == kUnset)
    {
        nUnit = HitTestUnit(ptPicture, nArray, nSide);
        if (nUnit != kUnset)
        {
            m_nFireUnit = nUnit;
            m_nFireArray = nArray;
            m_nFireKind = nSide;
            PlayPick();
            RedrawMap(FALSE);
            return;
        }
    }
    else if (m_bFireMissionPlanning)
    {
        const int nDone = bUnitSelection
                              ? pDoc->AssignFireMissionAtPoint(m_pSelection, fX, fY)
                              : pDoc->AssignFireMissionTarget(m_nFireUnit, m_nFireArray, m_nFireKind, fX, fY);
        if (nDone)
        {
            PlayPick();
            RedrawMap(FALSE);
        }
        return;
    }

    // 5. Delete-nodes: the first node resets the path to it, any other goes.
    if (!bSkipToElements && m_bPathEdit && m_bDeleteNodes && bEdited)
    {
        const int nNode = HitTestNode(fX, fY);
        if (nNode != kUnset)
        {
            if (nNode == 0)
            {
                const CNode* pFirst = m_pShownPath->GetAt(0);
                m_pShownPath->ResetToPoint(pFirst->m_fX, pFirst->m_fY, m_nSelKind != kOwnSide);
            }
            else
                m_pShownPath->RemoveNode(nNode);
            if (ApplyEditedPath())
                pDoc->SetModifiedFlag(TRUE);
            PlayPick();
            RedrawMap(FALSE);
            return;
        }
        bSkipToElements = TRUE;
    }

    // 6. Path editing: pressing the last node appends a node that follows
    // the mouse; pressing any other but the first drags it.
    if (!bSkipToElements && m_bPathEdit && bEdited && !m_bNodeMark1 && !m_bNodeMark2 && !m_bDeleteNodes)
    {
        const int nNode = HitTestNode(fX, fY);
        if (nNode != kUnset)
        {
            if (nNode == m_pShownPath->GetSize() - 1)
            {
                m_bNodeMark2 = TRUE;
                m_nNodeMark2 = m_pShownPath->Add(new CNode(fX, fY));
                m_pShownPath->m_bAdding = TRUE;
                if (!ApplyEditedPath())
                {
                    RedrawMap(FALSE);
                    return;
                }
            }
            else if (nNode > 0)
            {
                m_bNodeMark1 = TRUE;
                m_nNodeMark1 = nNode;
                m_pShownPath->m_bMoving = TRUE;
            }
            RedrawMap(FALSE);
            return;
        }
    }

    // 7. A platoon or company symbol: its units become the selection, or
    // the selection it belongs to is dragged.
    {
        int nElementSide = kOwnSide;
        if (CHierarchyPlatoon* pElement = HitTestElement(ptPicture, nElementSide))
        {
            if (bUnitSelection && IsFreeForDragging())
            {
                if (m_pSelection->FindHierarchyTaskOrg(pElement->m_strName) != kUnset && dwMode == 0)
                {
                    StartSelectionDrag(&CKDRView::m_bDragUnits, fX, fY);
                    RedrawMap(FALSE);
                    return;
                }
            }
            auto pList = std::make_unique<CTaskOrgArray>();
            pElement->FillUnitList(pList.get(), TRUE);
            BOOL bAnyUnit = FALSE;
            for (int i = 0; i < pList->GetSize(); ++i)
                bAnyUnit = bAnyUnit || (pList->GetAt(i) != nullptr && pList->GetAt(i)->GetType() == TASKORG_KIND_UNIT);
            if (bAnyUnit)
            {
                DWORD dwBefore = 0;
                IssueOrderToSelection(pElement, pList.release(), dwBefore, FALSE, FALSE);
                PlayPick();
                if (IsFreeForDragging() && pElement->GetLeaderElement() != nullptr)
                {
                    StartSelectionDrag(&CKDRView::m_bDragUnits, fX, fY);
                    pDoc->ResetElementPath(pElement->m_strName);
                    RedrawMap(FALSE);
                }
                return;
            }
        }
    }

    nUnit = HitTestUnit(ptPicture, nArray, nSide);
    CUnit* pHit = nUnit != kUnset ? pDoc->GetUnitForPopup(nUnit, nArray, nSide) : nullptr;
    CKDRDatabase* pDatabase = pDoc->GetDatabase();

    // 8. Mount: the carrier, then the passengers.
    if (m_bMountMode)
    {
        if (m_bMountAwaitCarrier && pHit != nullptr && pHit->CanMountOrDismount(pDatabase, kCanTakePassengers, FALSE))
        {
            m_nMountCarrier = nUnit;
            m_nMountArray = nArray;
            m_nMountSide = nSide;
            m_bMountAwaitCarrier = FALSE;
            PlayPick();
            RedrawMap(FALSE);
            return;
        }
        if (m_nMountCarrier != kUnset && pHit != nullptr && pHit->CanBoard(FALSE))
        {
            std::unique_ptr<CTaskOrgArray> pPassenger(OneUnitList(nUnit, nArray, nSide));
            std::unique_ptr<CTaskOrgArray> pCarrier(OneUnitList(m_nMountCarrier, m_nMountArray, m_nMountSide));
            if (pDoc->MountSelectionOnCarrier(pPassenger.get(), pCarrier.get()))
            {
                m_nMountCarrier = kUnset;
                m_bMountAwaitCarrier = TRUE;
                delete m_pMountCarriers;
                m_pMountCarriers = nullptr;
                PlayPick();
                RedrawMap(FALSE);
                return;
            }
        }
    }

    // 9. Upload: the ammunition carrier, then the receivers.
    if (m_bUploadMode)
    {
        if (m_bUploadAwaitCarrier && pHit != nullptr && pHit->CanUpload())
        {
            m_nUploadCarrier = nUnit;
            m_nUploadArray = nArray;
            m_nUploadSide = nSide;
            m_bUploadAwaitCarrier = FALSE;
            PlayPick();
            RedrawMap(FALSE);
            return;
        }
        if (m_nUploadCarrier != kUnset && pHit != nullptr)
        {
            std::unique_ptr<CTaskOrgArray> pCarrier(OneUnitList(m_nUploadCarrier, m_nUploadArray, m_nUploadSide));
            if (pDoc->UploadAtPoint(pCarrier.get(), pHit->m_fX, pHit->m_fY))
            {
                RedrawMap(FALSE);
                return;
            }
        }
    }

    // 10. Deploy mines: the layer, then the minefield's place; the click
    // goes on.
    if (m_bMinesMode)
    {
        if (m_bMinesAwaitLayer && pHit != nullptr && pHit->CanDeployMines())
        {
            m_nMinesLayer = nUnit;
            m_nMinesArray = nArray;
            m_nMinesSide = nSide;
            m_bMinesAwaitLayer = FALSE;
            PlayPick();
            RedrawMap(FALSE);
            return;
        }
        std::unique_ptr<CTaskOrgArray> pLayer(
            m_nMinesLayer != kUnset ? OneUnitList(m_nMinesLayer, m_nMinesArray, m_nMinesSide) : nullptr);
        CTaskOrgArray* pLayers = pLayer != nullptr ? pLayer.get() : m_pMinesList;
        if (pLayers != nullptr && pDoc->DeployMinesAtPoint(pLayers, fX, fY))
            PlayPick();
        m_bMinesAwaitLayer = TRUE;
        m_nMinesLayer = m_nMinesArray = m_nMinesSide = kUnset;
        delete m_pMinesList;
        m_pMinesList = nullptr;
        RedrawMap(FALSE);
    }

    // 11. Dismount: a carrier with passengers unloads them.
    // A carrier already letting its teams out stops its cycle instead.
    if (IsModePending(kModeDismount) && pHit != nullptr &&
        (pHit->CanMountOrDismount(pDatabase, kHasPassengers, FALSE) || pHit->IsDisembarking()))
    {
        std::unique_ptr<CTaskOrgArray> pList(OneUnitList(nUnit, nArray, nSide));
        pDoc->DismountUnits(pList.get());
        PlayPick();
        RedrawMap(FALSE);
        return;
    }

    // 12. The line-of-sight fan from a unit or a point.
    if (m_bLOSFan && !m_bDragUnit && !m_bDragObstacle && !m_bDragHole && !m_bNodeMark1 && !m_bNodeMark2)
    {
        PlayPick();
        if (nUnit != kUnset && pDoc->GetUnits() != nullptr)
        {
            m_nLOSUnit = nUnit;
            m_nLOSArray = nArray;
            m_nLOSKind = nSide;
            m_fLOSX = m_fLOSY = kUnsetFloat;
        }
        else
        {
            m_nLOSUnit = m_nLOSArray = m_nLOSKind = kUnset;
            m_fLOSX = fX;
            m_fLOSY = fY;
        }
        RedrawMap(FALSE);
        return;
    }

    // 13. A pending order: the clicked unit takes it.
    if (!IsPointMode(dwMode) && nUnit != kUnset)
    {
        if (pDoc->ApplyOrderToSelection(nUnit, nArray, nSide, dwMode))
        {
            PlayPick();
            RedrawMap(FALSE);
        }
        return;
    }

    // 14, 15. Suppress and Max Range: the first click chooses the unit.
    const BOOL bSuppress = IsModePending(kModeSuppress);
    const BOOL bChosen = m_nModeUnit != kUnset;
    if (((bSuppress && !bUnitSelection) || m_bMaxRangeMode) && !bChosen && nUnit != kUnset)
    {
        m_nModeUnit = nUnit;
        m_nModeArray = nArray;
        m_nModeKind = nSide;
        PlayPick();
        RedrawMap(FALSE);
        return;
    }
    // 16. Suppress for the selection: the point.
    if (bSuppress && bUnitSelection)
    {
        if (pDoc->ToggleOrderBitForList(m_pSelection, kModeSuppress, fX, fY))
            RedrawMap(FALSE);
        return;
    }
    // 17. Max Range: the point of the chosen unit's range.
    if (m_bMaxRangeMode && bChosen)
    {
        if (pDoc->SetUnitPathFromClick(fX, fY, m_nModeUnit, m_nModeArray, m_nModeKind, 1))
        {
            PlayPick();
            RedrawMap(FALSE);
        }
        return;
    }
    // 18. Suppress: the chosen unit's area.
    if (bSuppress && bChosen)
    {
        if (pDoc->SetSuppressAreaAt(fX, fY, m_nModeUnit, m_nModeArray, m_nModeKind))
            RedrawMap(FALSE);
        return;
    }
    // 19. Field of fire: the unit, then the point.
    if (m_bFieldOfFireMode)
    {
        if (!bChosen && nUnit != kUnset)
        {
            m_nModeUnit = nUnit;
            m_nModeArray = nArray;
            m_nModeKind = nSide;
            PlayPick();
            RedrawMap(FALSE);
            return;
        }
        if (bChosen)
        {
            if (pDoc->SetUnitPathFromClick(fX, fY, m_nModeUnit, m_nModeArray, m_nModeKind, 0))
            {
                PlayPick();
                RedrawMap(FALSE);
            }
            return;
        }
    }

    // 20. Deployment drags: a unit (the whole selection when it belongs to
    // it), an obstacle, a dug position.
    if (IsFreeForDragging())
    {
        // A press inside a symbol's box but on an obstacle or another dug
        // position than the unit's own, showing through the box, takes what
        // the player sees there.
        if (nUnit != kUnset && !IsUnitDrawnAt(nUnit, nArray, nSide) && IsOtherThingAt(fX, fY))
            nUnit = kUnset;
        if (nUnit != kUnset)
        {
            if (bUnitSelection && m_pSelection->m_nSide == nSide && m_pSelection->FindTaskOrg(nUnit, nArray) != kUnset)
            {
                StartSelectionDrag(&CKDRView::m_bDragUnits, fX, fY);
                RedrawMap(FALSE);
                return;
            }
            m_bDragUnit = TRUE;
            m_nDragUnit = nUnit;
            m_nDragArray = nArray;
            m_nDragSide = nSide;
            m_fDragStartX = pHit != nullptr ? pHit->m_fX : fX;
            m_fDragStartY = pHit != nullptr ? pHit->m_fY : fY;
            return;
        }
        int nObstacleSide = kAnySide;
        const int nObstacle = pDoc->FindObstacleAt(fX, fY, nObstacleSide);
        if (nObstacle != kUnset)
        {
            float fOwnX = fX;
            float fOwnY = fY;
            GetObstaclePoint(nObstacle, nObstacleSide, fOwnX, fOwnY);
            if (m_bSelectObstacles && m_pSelection != nullptr && m_pSelection->m_nSide == nObstacleSide &&
                m_pSelection->FindTaskOrg(nObstacle, 0) != kUnset)
            {
                StartSelectionDrag(&CKDRView::m_bDragObstacles, fOwnX, fOwnY);
                pDoc->HandleObstacleSelection(m_pSelection, fOwnX, fOwnY, fX, fY);
                m_fDragLastX = fX;
                m_fDragLastY = fY;
                RedrawMap(FALSE);
                return;
            }
            m_bDragObstacle = TRUE;
            m_nDragIndex = nObstacle;
            m_nDragSide = nObstacleSide;
            m_fDragStartX = fOwnX;
            m_fDragStartY = fOwnY;
            return;
        }
        // Dug positions are found by the map point: near the position
        // itself or on its drawn markers.
        int nHoleSide = kAnySide;
        const int nHole = pDoc->FindHoleAt(fX, fY, nHoleSide);
        if (nHole != kUnset)
        {
            if (m_bSelectHoles && m_pSelection != nullptr && m_pSelection->m_nSide == nHoleSide &&
                m_pSelection->FindTaskOrg(nHole, 0) != kUnset)
            {
                StartSelectionDrag(&CKDRView::m_bDragHoles, fX, fY);
                RedrawMap(FALSE);
                return;
            }
            m_bDragHole = TRUE;
            m_nDragIndex = nHole;
            m_nDragSide = nHoleSide;
            m_fDragStartX = fX;
            m_fDragStartY = fY;
            return;
        }
    }

    // 21, 22. Anything else drops the selection and starts a rubber band.
    ClearSelection();
    if (!m_bRubberBand && !m_bDragUnits && !m_bDragHoles && !m_bDragObstacles && !m_bDragUnit &&
        !(m_bPathEdit && bEdited))
    {
        m_bRubberBand = TRUE;
        m_ptRubberStart = m_ptRubberEnd = ptPicture;
        return;
    }
    CScrollView::OnLButtonDown(nFlags, point);
}

void CKDRView::OnMouseMove(UINT nFlags, CPoint point)
{
    CPoint ptPicture;
    float fX = 0.0f;
    float fY = 0.0f;
    if (!PrepareMousePoint(nFlags, point, MouseEvent::kMove, ptPicture, fX, fY))
        return;
    CKDRDoc* pDoc = GetDocument();

    // 1. What lies under the cursor, in the status bar.
    COLORREF crTip = 0;
    CString strText = pDoc->GetHoverText(ptPicture.x, ptPicture.y, m_bShowVehicles, m_bShowPlatoons, m_bShowCompanies, crTip);
    if (strText.IsEmpty())
        strText = pDoc->GetHoverUnitText(ptPicture.x, ptPicture.y, crTip);
    if (strText.IsEmpty())
        strText = pDoc->GetObstacleName(fX, fY);
    if (strText.IsEmpty())
        strText = GetGameMap()->GetPositionText(ptPicture.x, ptPicture.y);
    ShowStatusText(strText);

    // 4. The dragged or added node follows the mouse.
    if (IsPathEdited() && (m_bNodeMark1 || m_bNodeMark2))
    {
        const int nNode = m_bNodeMark1 ? m_nNodeMark1 : m_nNodeMark2;
        if (nNode >= 0 && nNode < m_pShownPath->GetSize() && m_pShownPath->GetAt(nNode) != nullptr)
        {
            m_pShownPath->GetAt(nNode)->m_fX = fX;
            m_pShownPath->GetAt(nNode)->m_fY = fY;
            ApplyEditedPath();
        }
        RedrawMap(FALSE);
        return;
    }
    // 5 to 10. Drags.
    if (m_bDragHole)
    {
        pDoc->MoveHole(m_nDragIndex, m_nDragSide, fX, fY);
        RedrawMap(FALSE);
        return;
    }
    if (m_bDragObstacle)
    {
        pDoc->MoveObstacle(m_nDragIndex, m_nDragSide, fX, fY);
        RedrawMap(FALSE);
        return;
    }
    // A selection follows only while the cursor is on the map.
    if (m_bDragHoles || m_bDragObstacles || m_bDragUnits)
    {
        if (IsOnMap(fX, fY) && StepSelectionDrag(fX, fY, FALSE))
            RedrawMap(FALSE);
        return;
    }
    if (m_bDragUnit)
    {
        pDoc->DragUnit(m_nDragUnit, m_nDragArray, m_nDragSide, fX, fY, TRUE);
        RedrawMap(FALSE);
        return;
    }
    // 11. The rubber band's second corner follows the mouse.
    if (m_bRubberBand)
    {
        m_ptRubberEnd = ptPicture;
        RedrawMap(FALSE);
        return;
    }
    CScrollView::OnMouseMove(nFlags, point);
}

void CKDRView::OnLButtonUp(UINT nFlags, CPoint point)
{
    CPoint ptPicture;
    float fX = 0.0f;
    float fY = 0.0f;
    if (!PrepareMousePoint(nFlags, point, MouseEvent::kLeftUp, ptPicture, fX, fY))
        return;
    CKDRDoc* pDoc = GetDocument();
    CKDRApp* pApp = GetKDRApp();

    // 2. Any drag ends the line-of-sight fan it may have shown.
    const BOOL bNodeDrag = IsPathEdited() && (m_bNodeMark1 || m_bNodeMark2);
    if (m_bDragUnit || m_bDragObstacle || m_bDragHole || bNodeDrag || m_bDragUnits || m_bDragObstacles || m_bDragHoles)
    {
        m_bLOSFan = FALSE;
        m_nLOSUnit = m_nLOSArray = m_nLOSKind = kUnset;
        m_fLOSX = m_fLOSY = kUnsetFloat;
    }
    // A dragged selection takes the last step to the release point.
    if (StepSelectionDrag(fX, fY, TRUE))
    {
        m_bDragUnits = m_bDragObstacles = m_bDragHoles = FALSE;
        RedrawMap(FALSE);
        return;
    }
    // 3 to 7. The other drags put their object at the release point.
    if (m_bDragObstacle)
    {
        pDoc->MoveObstacle(m_nDragIndex, m_nDragSide, fX, fY);
        m_bDragObstacle = FALSE;
        m_nDragIndex = kUnset;
        m_nDragSide = -1;
        RedrawMap(FALSE);
        return;
    }
    if (m_bDragHole)
    {
        pDoc->MoveHole(m_nDragIndex, m_nDragSide, fX, fY);
        m_bDragHole = FALSE;
        m_nDragIndex = kUnset;
        m_nDragSide = -1;
        RedrawMap(FALSE);
        return;
    }
    if (m_bDragUnit)
    {
        pDoc->DragUnit(m_nDragUnit, m_nDragArray, m_nDragSide, fX, fY, FALSE);
        m_bDragUnit = FALSE;
        m_nDragUnit = m_nDragArray = kUnset;
        m_nDragSide = -1;
        RedrawMap(FALSE);
        return;
    }
    // 8. The dragged or added node takes the release point.
    if (bNodeDrag)
    {
        const int nNode = m_bNodeMark1 ? m_nNodeMark1 : m_nNodeMark2;
        if (nNode >= 0 && nNode < m_pShownPath->GetSize() && m_pShownPath->GetAt(nNode) != nullptr)
        {
            m_pShownPath->GetAt(nNode)->m_fX = fX;
            m_pShownPath->GetAt(nNode)->m_fY = fY;
        }
        m_pShownPath->m_bMoving = m_pShownPath->m_bAdding = FALSE;
        m_bNodeMark1 = m_bNodeMark2 = FALSE;
        m_nNodeMark1 = m_nNodeMark2 = kUnset;
        ApplyEditedPath();
        RedrawMap(FALSE);
        return;
    }
    // 9. The rubber band selects the own units inside it; in the deployment
    // phase, without units, the obstacles or dug positions.
    if (m_bRubberBand)
    {
        m_ptRubberEnd = ptPicture;
        m_bRubberBand = FALSE;
        ClearSelection();
        CRect rcBand(m_ptRubberStart, m_ptRubberEnd);
        rcBand.NormalizeRect();
        std::unique_ptr<CTaskOrgArray> pList(pDoc->SelectUnitsInRect(rcBand, m_bShowVehicles, m_bShowPlatoons, m_bShowCompanies));
        if (pList != nullptr && pList->GetSize() > 0)
        {
            m_pSelection = pList.release();
            m_bSelectUnits = TRUE;
            PlayPick();
            SetInteractionMode(nullptr);
            RedrawMap(FALSE);
            return;
        }
        if (pApp != nullptr && pApp->IsDeploymentPhase())
        {
            pList.reset(pDoc->SelectObstaclesInRect(rcBand));
            if (pList != nullptr && pList->GetSize() > 0)
            {
                m_pSelection = pList.release();
                m_bSelectObstacles = TRUE;
                pDoc->HighlightSelectedObstacles(m_pSelection);
                PlayPick();
                RedrawMap(FALSE);
                return;
            }
            pList.reset(pDoc->SelectHolesInRect(rcBand));
            if (pList != nullptr && pList->GetSize() > 0)
            {
                m_pSelection = pList.release();
                m_bSelectHoles = TRUE;
                pDoc->HighlightSelectedHoles(m_pSelection);
                PlayPick();
                RedrawMap(FALSE);
                return;
            }
        }
        RedrawMap(FALSE);
        return;
    }
    CScrollView::OnLButtonUp(nFlags, point);
}

void CKDRView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CPoint ptPicture;
    float fX = 0.0f;
    float fY = 0.0f;
    if (!PrepareMousePoint(nFlags, point, MouseEvent::kLeftDouble, ptPicture, fX, fY))
        return;
    if (!m_bPathEdit)
    {
        CScrollView::OnLButtonDblClk(nFlags, point);
        return;
    }
    CKDRDoc* pDoc = GetDocument();
    // 1. The edit in progress ends: its path goes to its unit or element.
    m_bNodeMark1 = m_bNodeMark2 = FALSE;
    m_nNodeMark1 = m_nNodeMark2 = kUnset;
    EndPathEdit();
    // 2, 3. The element or unit under the cursor is edited next.
    int nSide = kOwnSide;
    if (CHierarchyPlatoon* pElement = HitTestElement(ptPicture, nSide))
    {
        CNodeArray* pPath = pDoc->ResetElementPath(pElement->m_strName);
        if (pPath != nullptr)
        {
            ClearSelection();
            m_strElementPath = pElement->m_strName;
            m_nSelKind = nSide;
            m_pShownPath = new CNodeArray(*pPath);
            m_bPathShown = TRUE;
        }
    }
    else
    {
        int nArray = kUnset;
        const int nUnit = HitTestUnit(ptPicture, nArray, nSide);
        CNodeArray* pPath = nUnit != kUnset ? pDoc->GetUnitPath(nUnit, nArray, nSide) : nullptr;
        if (pPath != nullptr)
        {
            m_nSelUnit = nUnit;
            m_nSelArray = nArray;
            m_nSelKind = nSide;
            m_pShownPath = new CNodeArray(*pPath);
            m_bPathShown = TRUE;
        }
    }
    PlayPick();
    RedrawMap(FALSE);
}

// ---------------------------------------------------------------------------
// Keys and wheel

int CKDRView::DigitOfKey(UINT nChar)
{
    if (nChar >= '0' && nChar <= '9')
        return static_cast<int>(nChar - '0');
    if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD0 + 9)
        return static_cast<int>(nChar - VK_NUMPAD0);
    return -1;
}

BOOL CKDRView::OnDigitKey(int nDigit)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return FALSE;
    const BOOL bShift = (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
    if (bShift)
    {
        if (!m_bSelectUnits || m_pSelection == nullptr)
            return FALSE;
        PlayPick();
        pDoc->StoreTaskOrgGroup(nDigit, m_pSelection);
        return TRUE;
    }
    if (m_bSelectUnits)
        ClearSelection();
    CTaskOrgArray* pList = nullptr;
    if (!pDoc->RecallTaskOrgGroup(nDigit, pList) || pList == nullptr)
    {
        delete pList;
        return FALSE;
    }
    ClearSelection();
    m_pSelection = pList;
    m_bSelectUnits = TRUE;
    SetInteractionMode(nullptr);
    PlayPick();
    RedrawMap(FALSE);
    return TRUE;
}

void CKDRView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar)
    {
    case VK_PRIOR: OnVScroll(SB_PAGEUP, 0, nullptr); return;
    case VK_NEXT: OnVScroll(SB_PAGEDOWN, 0, nullptr); return;
    case VK_END:
        OnVScroll(SB_BOTTOM, 0, nullptr);
        OnHScroll(SB_RIGHT, 0, nullptr);
        return;
    case VK_HOME:
        OnVScroll(SB_TOP, 0, nullptr);
        OnHScroll(SB_LEFT, 0, nullptr);
        return;
    case VK_LEFT: OnHScroll(SB_LINELEFT, 0, nullptr); return;
    case VK_UP: OnVScroll(SB_LINEUP, 0, nullptr); return;
    case VK_RIGHT: OnHScroll(SB_LINERIGHT, 0, nullptr); return;
    case VK_DOWN: OnVScroll(SB_LINEDOWN, 0, nullptr); return;
    default: break;
    }
    const int nDigit = DigitOfKey(nChar);
    if (nDigit >= 0 && OnDigitKey(nDigit))
        return;
    CScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CKDRView::HandleKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { OnKeyDown(nChar, nRepCnt, nFlags); }

BOOL CKDRView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (zDelta == 0)
        return CScrollView::OnMouseWheel(nFlags, zDelta, pt);
    OnVScroll(zDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0, nullptr);
    return TRUE;
}

BOOL CKDRView::PreTranslateMessage(MSG* pMsg)
{
    if (CFrameWnd* pFrame = GetParentFrame(); pFrame != nullptr && pFrame->TranslateAccelerator(pMsg))
        return TRUE;
    return CScrollView::PreTranslateMessage(pMsg);
}
