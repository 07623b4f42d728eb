#pragma once
// The "Unit Hierarchy" window of one side's hierarchy, owned by that
// hierarchy. While one of its items is dragged it sets the application's
// tree-drag state, and the application's idle step lets it scroll its tree
// at the cursor. Least form: a window object that is never open, shows no
// tree and scrolls nothing; the hierarchy's operations on its selected item
// therefore find nothing.

#include "platform/core/CString.h"

class CHierarchyArray;
class CTreeCtrl;

class CHierarchyDlg
{
public:
    explicit CHierarchyDlg(CHierarchyArray* pOwner = nullptr) : m_pOwner(pOwner) {}
    virtual ~CHierarchyDlg() = default;
    CHierarchyDlg(const CHierarchyDlg&) = delete;
    CHierarchyDlg& operator=(const CHierarchyDlg&) = delete;

    // Scrolls the tree by one line when the screen point is near an edge.
    void AutoScrollTree(int nScreenX, int nScreenY);
    // The tree while the window is open; null otherwise.
    CTreeCtrl* GetTreeCtrl() const { return nullptr; }
    // The text of the item the last right click in the tree hit; empty
    // when it hit none.
    CString GetRightClickedText() const { return CString(); }

    CHierarchyArray* m_pOwner;  // not owned
};
