// The unit's steps in a formation's member placement: its path laid along
// the element's path at its own place, start times moved to match, and
// whether it may dig in where it halts.

#include "units/Unit.h"

#include "database/VehicleCapability.h"
#include "orders/NodeArray.h"

#include <algorithm>

void CUnit::PlaceInFormation(const CNodeArray* pElementPath, float fOffsetX, float fOffsetY, CKDRGameMap* pMap)
{
    if (pElementPath == nullptr || pElementPath == m_pPath)
        return;
    float w = 0.0f;
    float h = 0.0f;
    const BOOL bSized = CNodeArray::GetMapSize(pMap, w, h);
    for (int i = 1; i < pElementPath->GetSize(); ++i)
    {
        const CNode* pSource = pElementPath->GetAt(i);
        if (pSource == nullptr)
            continue;
        float x = pSource->m_fX + fOffsetX;
        float y = pSource->m_fY + fOffsetY;
        if (bSized)
        {
            x = std::clamp(x, 0.0f, w);
            y = std::clamp(y, 0.0f, h);
        }
        m_pPath->Add(new CNode(x, y, pSource->m_pOrders));
    }
}

void CUnit::OffsetPathTime(LONG nSeconds)
{
    if (nSeconds > 0)
        m_pPath->ShiftStartTimesLater(nSeconds);
    else if (nSeconds < 0)
        m_pPath->ShiftStartTimesEarlier(-nSeconds);
}

BOOL CUnit::CanEmplace() const { return FindCapability(VCAP_EMPLACE) != nullptr && !IsDoNotEmplace(); }
