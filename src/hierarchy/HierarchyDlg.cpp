#include "hierarchy/HierarchyDlg.h"

void CHierarchyDlg::AutoScrollTree(int, int) {}
