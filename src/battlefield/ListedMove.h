#pragma once
// Moves every item a selection list names by the drag's offset; each item
// keeps itself on the map through its own SetPosition.

#include "hierarchy/TaskOrg.h"

class CKDRGameMap;

// itemAt(i) gives the array's item i, null when there is none.
template <class FItemAt>
void MoveListedBy(const CTaskOrgArray* pList, float fromX, float fromY, float toX, float toY, const CKDRGameMap* pMap,
                  FItemAt itemAt)
{
    if (pList == nullptr)
        return;
    const float dx = toX - fromX;
    const float dy = toY - fromY;
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const CTaskOrg* pEntry = pList->GetAt(k);
        auto* pItem = pEntry != nullptr ? itemAt(pEntry->m_nUnit) : nullptr;
        if (pItem != nullptr)
            pItem->SetPosition(pItem->m_fX + dx, pItem->m_fY + dy, pMap);
    }
}
