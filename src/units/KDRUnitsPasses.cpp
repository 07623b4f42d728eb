// The units component's passes of one game-loop pass after movement: the
// contact lists, the detection sweep, the direct-fire pass and the
// indirect-fire choices of the computer's sides, and the work a unit's move
// step hands back in its event mask.
//
// In a network game only the own side (kind 0) detects and fires here; the
// peer's units change through the records it sends, and lists 2 to 4 stay
// empty.

#include "net/MultiplayerSession.h"
#include "shell/PlayService.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

namespace
{
// A kind's array by its place in the list (kind 0: the own array).
CUnitArray* ArrayAt(const CKDRUnits& units, int nKind, int nArray) { return units.GetArrayOfKind(nKind, nArray); }

// The contact lists by pair of observing and target kind.
enum ContactList
{
    OWN_SEES_OPPOSING = 0,
    OWN_SEES_NEUTRAL = 1,
    OPPOSING_SEES_OWN = 2,
    OPPOSING_SEES_NEUTRAL = 3,
    NEUTRAL_SEES_OPPOSING = 4
};


BOOL IsNetworkGame()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsNetworkGame();
}

// One side's place in the direct-fire pass: the array and unit whose turn
// is next.
struct CFireCursor
{
    int nKind;
    int nArray = 0;
    int nUnit = 0;
    BOOL bDone = FALSE;
};
}  // namespace

void CKDRUnits::ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond)
{
    for (CUnitRefArray* pList : m_pContacts)
        pList->RemoveAll();
    pFirst = m_pContacts[OWN_SEES_OPPOSING];
    pSecond = m_pContacts[OWN_SEES_NEUTRAL];
}

void CKDRUnits::DetectAll(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor)
{
    // The arrays are asked for again before each use: a message served
    // between observers may have changed them.
    auto detect = [&](CUnitArray* pObservers, int nTargetKind, int nList) {
        for (int j = 0; pObservers != nullptr && j < GetArrayCount(nTargetKind); ++j)
            pObservers->DetectAgainst(j, ArrayAt(*this, nTargetKind, j), m_pContacts[nList], pMap, pDatabase, pSmoke,
                                      fLightFactor, nTargetKind);
    };
    if (CUnitArray* pOwn = ArrayAt(*this, 0, 0))
    {
        pOwn->ResetContacts();
        detect(pOwn, 1, OWN_SEES_OPPOSING);
        detect(ArrayAt(*this, 0, 0), 2, OWN_SEES_NEUTRAL);
    }
    if (IsNetworkGame())
        return;
    for (int i = 0; i < GetArrayCount(2); ++i)
    {
        CUnitArray* pNeutral = ArrayAt(*this, 2, i);
        if (pNeutral == nullptr)
            continue;
        pNeutral->ResetContacts();
        detect(pNeutral, 1, NEUTRAL_SEES_OPPOSING);
    }
    for (int i = 0; i < GetArrayCount(1); ++i)
    {
        CUnitArray* pOpposing = ArrayAt(*this, 1, i);
        if (pOpposing == nullptr)
            continue;
        pOpposing->ResetContacts();
        detect(pOpposing, 2, OPPOSING_SEES_NEUTRAL);
        if (CUnitArray* pOwn = ArrayAt(*this, 0, 0); pOwn != nullptr && ArrayAt(*this, 1, i) != nullptr)
            ArrayAt(*this, 1, i)->DetectAgainst(0, pOwn, m_pContacts[OPPOSING_SEES_OWN], pMap, pDatabase, pSmoke,
                                                fLightFactor, 0);
    }
}

void CKDRUnits::DirectFirePass(CKDRGameMap* /*pMap*/, CKDRDatabase* pDatabase, CKDRObstacles* /*pObstacles*/,
                               CKDRHoles* /*pHoles*/)
{
    const BOOL bNetwork = IsNetworkGame();
    CFireCursor cursors[3] = {{0}, {2}, {1}};
    cursors[1].bDone = bNetwork;
    cursors[2].bDone = bNetwork;

    // One turn of a side: its next unit engages. Empty arrays and empty
    // slots take no turn; a side past its last unit is done.
    auto takeTurn = [&](CFireCursor& cursor) {
        while (!cursor.bDone)
        {
            CUnitArray* pArray = ArrayAt(*this, cursor.nKind, cursor.nArray);
            if (pArray == nullptr)
            {
                cursor.bDone = TRUE;
                return;
            }
            if (cursor.nUnit >= pArray->GetSize())
            {
                if (cursor.nKind == 0)
                    cursor.bDone = TRUE;
                ++cursor.nArray;
                cursor.nUnit = 0;
                continue;
            }
            const int nUnit = cursor.nUnit++;
            if (CUnit* pUnit = pArray->GetAt(nUnit))
            {
                pUnit->Engage(nUnit, cursor.nKind == 0 ? 0 : cursor.nArray, this, pDatabase);
                return;
            }
        }
    };
    while (!cursors[0].bDone || !cursors[1].bDone || !cursors[2].bDone)
    {
        for (CFireCursor& cursor : cursors)
            takeTurn(cursor);
    }

    CPlayService* pPlay = GetPlayService();
    if (bNetwork && pPlay->IsPlayingEnemySide())
        pPlay->GetSession()->ProcessMessages();
}

void CKDRUnits::ProcessIndirectFire(CKDRDatabase* pDatabase)
{
    for (const int nKind : {2, 1})
    {
        for (int i = 0; i < GetArrayCount(nKind); ++i)
        {
            CUnitArray* pArray = ArrayAt(*this, nKind, i);
            for (int j = 0; pArray != nullptr && j < pArray->GetSize(); ++j)
            {
                if (CUnit* pUnit = pArray->GetAt(j))
                    ProcessUnitIndirectFire(nKind, pUnit, pDatabase);
            }
        }
    }
}

void CKDRUnits::ProcessUnitIndirectFire(int nKind, CUnit* pUnit, CKDRDatabase* pDatabase)
{
    if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried() || !pUnit->IsReadyForFireMission(pDatabase))
        return;
    auto scan = [&](const CUnitRefArray* pList) {
        for (int i = 0; i < pList->GetSize(); ++i)
        {
            const CUnitRef* pRef = pList->GetAt(i);
            CUnit* pTarget = GetUnit(pRef->m_nUnit, pRef->m_nArray, pRef->m_nSide);
            if (pTarget != nullptr && !pUnit->PickIndirectFireTarget(*pRef, pTarget, pDatabase, this, nKind))
                return;
        }
    };
    if (nKind == 1)
    {
        scan(m_pContacts[OPPOSING_SEES_OWN]);
        scan(m_pContacts[OPPOSING_SEES_NEUTRAL]);
    }
    else if (nKind == 2)
    {
        scan(m_pContacts[NEUTRAL_SEES_OPPOSING]);
    }
}
