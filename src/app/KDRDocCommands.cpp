// The menu commands the document serves itself: Restart Mission, the
// operations order's and the hierarchy tree's windows, Detach and Recall
// Detached on the tree's selection, and the states of the tree's twenty
// TACSOP items.
//
// View/Order and View/Hierarchy Tree also ask whether the window object can
// show a window at all: a window that cannot appear would otherwise leave
// its item ticked with nothing on the screen, and the hierarchy's commands
// acting on a selection nobody can make.

#include "app/KDRDoc.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDROpord.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyDlg.h"
#include "orders/Order.h"
#include "platform/ui/CmdTarget.h"
#include "units/KDRUnits.h"
#include "view/KDRView.h"
#include "view/Sound.h"

void CKDRDoc::RegisterDocumentCommands()
{
    MapCommand(ID_FILE_RESTART_MISSION, [this] { OnFileRestartMission(); });
    MapUpdate(ID_FILE_RESTART_MISSION, [this](CCmdUI* pCmdUI) { OnUpdateFileRestartMission(pCmdUI); });
    MapCommand(ID_VIEW_ORDER, [this] { OnViewOrder(); });
    MapUpdate(ID_VIEW_ORDER, [this](CCmdUI* pCmdUI) { OnUpdateViewOrder(pCmdUI); });
    MapCommand(ID_VIEW_HIERARCHY_TREE, [this] { OnViewHierarchyTree(); });
    MapUpdate(ID_VIEW_HIERARCHY_TREE, [this](CCmdUI* pCmdUI) { OnUpdateViewHierarchyTree(pCmdUI); });
    MapCommand(ID_HIERARCHY_DETACH, [this] { OnDetach(); });
    MapUpdate(ID_HIERARCHY_DETACH, [this](CCmdUI* pCmdUI) { OnUpdateDetach(pCmdUI); });
    MapCommand(ID_HIERARCHY_RECALL_DETACHED, [this] { OnRecallDetached(); });
    MapUpdate(ID_HIERARCHY_RECALL_DETACHED, [this](CCmdUI* pCmdUI) { OnUpdateRecallDetached(pCmdUI); });
    MapUpdateRange(ID_TACSOP_FIRST, ID_TACSOP_LAST, [this](CCmdUI* pCmdUI) { OnUpdateTacSop(pCmdUI); });
}

// ---------------------------------------------------------------------------
// File/Restart Mission

void CKDRDoc::OnUpdateFileRestartMission(CCmdUI* pCmdUI)
{
    const CKDRApp* pApp = GetKDRApp();
    pCmdUI->Enable(pApp != nullptr && (m_bOpenedFromSavedGame || IsModified()) && !pApp->IsClockRunning() &&
                   !pApp->m_bMultiplayer && !pApp->m_bEnemySideChosen);
}

void CKDRDoc::OnFileRestartMission()
{
    CKDRApp* pApp = GetKDRApp();
    if (pApp == nullptr || pApp->IsClockRunning() || pApp->m_bMultiplayer || pApp->m_bEnemySideChosen)
        return;
    const CString strPath = GetPathName();
    pApp->OnFileNew();
    if (IsModified())
    {
        pApp->FocusMapView();
        return;  // the player cancelled "Save Game?"
    }

    SetPathName(strPath, TRUE);
    if (strPath.IsEmpty() || !OnOpenDocument(strPath))
    {
        pApp->OnFileNew();
        pApp->ReturnToStartMenu();
        return;
    }
    pApp->RefreshPiecesShown();
    SetTitle(GetMissionTitle());
    pApp->FocusMapView();
}

// ---------------------------------------------------------------------------
// View/Order and View/Hierarchy Tree

BOOL CKDRDoc::CanShowOrder()
{
    const CKDRApp* pApp = GetKDRApp();
    CKDROpord* pOpord = GetOpord();
    return pOpord != nullptr && pOpord->m_bOrder && pOpord->m_pOrder != nullptr &&
           pOpord->m_pOrder->CanShowWindow() && (pApp == nullptr || !pApp->IsPlayingEnemySide());
}

void CKDRDoc::OnViewOrder()
{
    if (!CanShowOrder())
        return;
    CKDROpord* pOpord = GetOpord();
    if (pOpord->m_pOrder->IsWindowOpen())
        pOpord->CloseOrderWindow();
    else
        pOpord->ShowOrder();
}

void CKDRDoc::OnUpdateViewOrder(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanShowOrder());
    pCmdUI->SetCheck(IsOrderWindowOpen() ? 1 : 0);
}

BOOL CKDRDoc::CanShowHierarchyTree()
{
    CKDRApp* pApp = GetKDRApp();
    CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr;
    if (pView == nullptr || !pView->IsCommandAllowed(ID_VIEW_HIERARCHY_TREE))
        return FALSE;
    // The view's gate has checked that the own hierarchy and its window
    // object are there.
    const CHierarchyDlg* pDialog = GetUnits()->m_pHierarchy[UNIT_KIND_OWN]->m_pDialog;
    return pDialog->CanShowWindow();
}

void CKDRDoc::OnViewHierarchyTree()
{
    if (!CanShowHierarchyTree())
        return;
    CKDRApp* pApp = GetKDRApp();
    GetUnits()->FillHierarchyTree(UNIT_KIND_OWN, pApp->m_pMainWnd);
    pApp->GetActiveView()->SetHierarchyTreeShown(IsHierarchyTreeOpen());
}

void CKDRDoc::OnUpdateViewHierarchyTree(CCmdUI* pCmdUI)
{
    const BOOL bAllowed = CanShowHierarchyTree();
    pCmdUI->Enable(bAllowed);
    pCmdUI->SetCheck(bAllowed && IsHierarchyTreeOpen() ? 1 : 0);
}

// ---------------------------------------------------------------------------
// The hierarchy tree's element commands

void CKDRDoc::ApplyTreeElementCommand(BOOL bDetach)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRDatabase* pDatabase = GetDatabase();
    CKDRGameMap* pMap = GetGameMap();
    if (pUnits == nullptr || pDatabase == nullptr || pMap == nullptr)
        return;
    const BOOL bDone = bDetach ? pUnits->DetachElement(pDatabase, pMap, GetObstacles(), GetHoles())
                               : pUnits->RecallDetached(pDatabase, pMap, GetObstacles(), GetHoles());
    if (!bDone)
        return;
    ReassignOccupants();
    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr && pApp->m_pSoundManager != nullptr)
        pApp->m_pSoundManager->PlayPickSound();
    if (pApp != nullptr)
        pApp->RedrawView();
    SetModifiedFlag(TRUE);
}

void CKDRDoc::OnDetach() { ApplyTreeElementCommand(TRUE); }

void CKDRDoc::OnUpdateDetach(CCmdUI* pCmdUI)
{
    const CKDRUnits* pUnits = GetUnits();
    pCmdUI->Enable(pUnits != nullptr && pUnits->CanDetachElement());
}

void CKDRDoc::OnRecallDetached() { ApplyTreeElementCommand(FALSE); }

void CKDRDoc::OnUpdateRecallDetached(CCmdUI* pCmdUI)
{
    const CKDRUnits* pUnits = GetUnits();
    pCmdUI->Enable(pUnits != nullptr && pUnits->CanRecallDetached());
}

void CKDRDoc::OnUpdateTacSop(CCmdUI* pCmdUI)
{
    const CKDRUnits* pUnits = GetUnits();
    int nValue = 0;
    if (pUnits != nullptr)
        pUnits->IsOrderItemChecked(static_cast<int>(pCmdUI->m_nID - ID_TACSOP_FIRST), nValue);
    pCmdUI->Enable(pUnits != nullptr && nValue != 0);
}
