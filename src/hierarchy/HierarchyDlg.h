#pragma once
// The hierarchy tree window. While one of its items is dragged it sets the
// application's tree-drag state, and the application's idle step lets it
// scroll its tree at the cursor. Least form: a window object that is never
// open and scrolls nothing.

class CHierarchyDlg
{
public:
    virtual ~CHierarchyDlg() = default;
    // Scrolls the tree by one line when the screen point is near an edge.
    void AutoScrollTree(int nScreenX, int nScreenY);
};
