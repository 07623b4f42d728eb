// The units component's movement pass: every unit of the own array, then
// of the opposing and the neutral arrays, takes its move step, each side's
// hierarchy runs its orders after its units moved, and last every
// hierarchy applies the formations held at its path nodes. Each move step
// serves one window message, so a command (Time/Stop, a dialog) may run
// between two units: the arrays are looked up again for every unit.
//
// In a network game only the own units move here; the peer's change
// through the records it sends, and only their shot lines count down.

#include "units/KDRUnits.h"

#include "hierarchy/HierarchyArray.h"
#include "net/MultiplayerSession.h"
#include "shell/PlayService.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitMoveSupport.h"

#include <vector>

namespace
{
// The arrays of one kind, as the component holds them now. The usual few
// are held in place, so a pass allocates nothing for them.
class CArraysOfKind
{
public:
    CArraysOfKind(const CKDRUnits& units, int nKind) : m_nCount(units.GetArrayCount(nKind))
    {
        if (m_nCount > IN_PLACE)
            m_more.resize(static_cast<size_t>(m_nCount));
        for (int i = 0; i < m_nCount; ++i)
        {
            int nArray = i;
            Slot(i) = units.GetArrayOfKind(nKind, nArray);
        }
    }
    int GetSize() const { return m_nCount; }
    CUnitArray* operator[](int i) { return Slot(i); }

private:
    static constexpr int IN_PLACE = 8;
    CUnitArray*& Slot(int i) { return m_nCount > IN_PLACE ? m_more[static_cast<size_t>(i)] : m_inPlace[i]; }

    int m_nCount;
    CUnitArray* m_inPlace[IN_PLACE] = {};
    std::vector<CUnitArray*> m_more;
};
}  // namespace

int CKDRUnits::MoveAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                       int nUnit, int nArray, int nKind, CFireMissionArray*)
{
    BOOL bChanged = FALSE;
    const BOOL bNetwork = unit_move::IsNetworkGame();
    for (int nSide : {0, 1, 2})
    {
        CArraysOfKind arrays(*this, nSide);
        for (int i = 0; i < arrays.GetSize(); ++i)
        {
            CUnitArray* pArray = arrays[i];
            if (pArray == nullptr)
                continue;
            if (bNetwork && nSide != 0)
            {
                pArray->CountDownShotLines();
                continue;
            }
            const int nSelected = nKind == nSide && (nSide == 0 || nArray == i) ? nUnit : kUnset;
            MoveUnitArray(nSide == 0 ? 0 : i, nSide, pArray, pMap, pDatabase, pObstacles, pHoles, nSelected, bChanged);
        }
        if (nSide == 0 || !bNetwork)
        {
            if (CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide))
                pHierarchy->UpdateOrders(this, pMap, pDatabase, pObstacles, pHoles);
        }
        if (nSide == 0 && bNetwork)
        {
            const CPlayService* pPlay = GetPlayService();
            if (pPlay != nullptr && pPlay->GetSession() != nullptr)
                pPlay->GetSession()->ProcessMessages();
            SendUnitsUpdate();
        }
    }
    for (int nSide : {0, 1, 2})
    {
        if (CHierarchyArray* pHierarchy = GetPresentHierarchy(nSide))
            pHierarchy->ApplyNodeFormations(this, pMap, pDatabase, pObstacles, pHoles);
    }
    return bChanged ? 1 : 0;
}

void CKDRUnits::MoveUnitArray(int nArrayIndex, int nKind, CUnitArray* pArray, CKDRGameMap* pMap,
                              CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles, int nSelectedUnit,
                              BOOL& bChanged)
{
    if (pArray == nullptr)
        return;
    const int nCount = pArray->GetSize();
    for (int i = 0; i < nCount; ++i)
    {
        // A message served by the step before may have emptied the array.
        CUnit* pUnit = i < pArray->GetSize() ? pArray->GetAt(i) : nullptr;
        if (pUnit == nullptr)
            continue;
        const float fX = pUnit->m_fX;
        const float fY = pUnit->m_fY;
        const float fHeading = pUnit->m_fHeading;
        BOOL bArrived = FALSE;
        DWORD dwEvents = 0;
        const DWORD dwMask = pUnit->MoveStep(pMap, pDatabase, pObstacles, pHoles, i == nSelectedUnit, bArrived,
                                             dwEvents, i, nArrayIndex, nKind, this);
        // The unit is not read again after its step: the message it served
        // may have deleted it.
        if (bArrived || dwEvents != 0)
            bChanged = TRUE;
        CUnit* pAfter = i < pArray->GetSize() ? pArray->GetAt(i) : nullptr;
        if (pAfter == pUnit && (pAfter->m_fX != fX || pAfter->m_fY != fY || pAfter->m_fHeading != fHeading))
            bChanged = TRUE;
        if (dwMask != 0)
            HandleMoveEvents(dwMask, i, nArrayIndex, nKind, pMap, pDatabase);
        if (dwEvents != 0 && nKind >= 0 && nKind < 3 && GetUnit(i, nArrayIndex, nKind) != nullptr)
        {
            if (CHierarchyArray* pHierarchy = GetPresentHierarchy(nKind))
                pHierarchy->CheckConditionalStarts(dwEvents, static_cast<DWORD>(i), static_cast<DWORD>(nArrayIndex),
                                                   static_cast<DWORD>(nKind), 0, 0, 0, this, pMap, pDatabase);
        }
    }
}
