#pragma once
// The "Unit Hierarchy" window of one side's hierarchy, owned by that
// hierarchy. While one of its items is dragged it sets the application's
// tree-drag state, and the application's idle step lets it scroll its tree
// at the cursor. Least form: a window object that remembers whether it is
// shown and for whom, but shows no tree, has no selected item and scrolls
// nothing; the hierarchy's operations on its selected item therefore find
// nothing.

#include "platform/core/CString.h"

class CHierarchyArray;
class CKDRUnits;
class CTreeCtrl;
class CWnd;

class CHierarchyDlg
{
public:
    explicit CHierarchyDlg(CHierarchyArray* pOwner = nullptr) : m_pOwner(pOwner) {}
    virtual ~CHierarchyDlg() = default;
    CHierarchyDlg(const CHierarchyDlg&) = delete;
    CHierarchyDlg& operator=(const CHierarchyDlg&) = delete;

    // Shown for the owner window with the hierarchy and the units component.
    void Show(CWnd* pOwner, CHierarchyArray* pHierarchy, CKDRUnits* pUnits)
    {
        m_pParent = pOwner;
        m_pOwner = pHierarchy;
        m_pUnits = pUnits;
        m_bShown = TRUE;
    }
    void Hide() { m_bShown = FALSE; }
    BOOL IsShown() const { return m_bShown; }
    // Whether a tree window can appear on the screen (least form: no).
    virtual BOOL CanShowWindow() const { return FALSE; }

    // Scrolls the tree by one line when the screen point is near an edge.
    void AutoScrollTree(int nScreenX, int nScreenY);
    // The tree while the window is open; null otherwise.
    CTreeCtrl* GetTreeCtrl() const { return nullptr; }
    // The text of the item the last right click in the tree hit; empty
    // when it hit none.
    CString GetRightClickedText() const { return CString(); }

    CHierarchyArray* m_pOwner;  // not owned
    CWnd* m_pParent = nullptr;     // not owned
    CKDRUnits* m_pUnits = nullptr;  // not owned
    BOOL m_bShown = FALSE;
};
