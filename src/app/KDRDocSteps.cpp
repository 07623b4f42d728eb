// The document's game-loop steps: guarded forwarders that the pass
// (CGamePass) calls in its fixed order, and the dug positions' occupants
// taken again after units moved.

#include "app/KDRDocFacade.h"

#include "app/GameClock.h"
#include "app/KDRMissions.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "shell/PlayService.h"

using namespace doc_facade;

// ---------------------------------------------------------------------------
// After-effects

void CKDRDoc::ReassignOccupants()
{
    CKDRHoles* pHoles = GetHoles();
    CKDRUnits* pUnits = GetUnits();
    if (pHoles != nullptr && pUnits != nullptr && GetDatabase() != nullptr)
        pHoles->AssignOccupants(pUnits, GetGameMap());
}

// ---------------------------------------------------------------------------
// Game-loop steps

void CKDRDoc::PrepareRun(DWORD dwTick)
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return;
    CKDRApp* pApp = GetKDRApp();
    const CPlayService* pPlay = GetPlayService();
    const CGameTime* pClock = pPlay != nullptr ? pPlay->GetGameClock() : nullptr;
    // The first start of a mission: the units leave the positions they
    // held while deployed as their clocks start, and only then are the
    // positions taken, so that every unit starts the battle dug in where it
    // stands; in a multiplayer game both sides learn each other's positions
    // and obstacles once.
    const BOOL bFirstStart = pClock == nullptr || pClock->m_tsElapsed.GetTotalSeconds() == 0;
    pUnits->PrepareUnits(dwTick, GetGameMap(), GetDatabase());
    if (bFirstStart)
    {
        if (CKDRHoles* pHoles = GetHoles(); pHoles != nullptr && GetDatabase() != nullptr)
            pHoles->AssignOccupants(pUnits, GetGameMap());
        if (IsMultiplayerWithSession(pApp))
        {
            if (CKDRHoles* pHoles = GetHoles())
                pHoles->SendAllHoles();
            if (CKDRObstacles* pObstacles = GetObstacles())
                pObstacles->SendAllObstacles();
        }
    }
    if (CFireMissionArray* pRounds = GetFireMissions())
        pRounds->m_dwStamp = dwTick;
    if (m_pSmoke != nullptr)
    {
        m_pSmoke->m_dwStamp = dwTick;
        m_pSmoke->m_nRemainder = 0;
    }
    SetModifiedFlag(TRUE);
}

BOOL CKDRDoc::UpdateLightCondition()
{
    CKDREnvironment* pEnvironment = GetEnvironment();
    const CPlayService* pPlay = GetPlayService();
    if (pEnvironment == nullptr || pPlay == nullptr || pPlay->GetGameClock() == nullptr)
        return FALSE;
    return pEnvironment->UpdateLightCondition(*pPlay->GetGameClock());
}

int CKDRDoc::StepSimulation(int nUnit, int nArray, int nKind)
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    CFireMissionArray* pRounds = GetFireMissions();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr || pRounds == nullptr)
        return 0;

    CKDRObstacles* pObstacles = GetObstacles();
    if (pObstacles != nullptr && pObstacles->Step(GameTimeElapsed()))
        NoteMapChanged();

    // Units serve window messages while they move: a handler run there may
    // have changed the mission, so the components are asked for again.
    const int nResult = pUnits->MoveAll(pMap, pDatabase, GetObstacles(), GetHoles(), nUnit, nArray, nKind, pRounds);
    if (nResult != 0)
        NoteMapChanged();

    pUnits = GetUnits();
    pRounds = GetFireMissions();
    if (pUnits == nullptr || pRounds == nullptr)
        return nResult;
    if (pRounds->StepRoundsInFlight(nUnit, nArray, nKind, GetDatabase(), pUnits))
    {
        NoteMapChanged();
        if (pUnits->IsFireMissionLogOpen())
            pUnits->RefreshFireMissionLog(GetGameMap(), pRounds);
    }

    if (CKDREnvironment* pEnvironment = GetEnvironment();
        pEnvironment != nullptr && m_pSmoke != nullptr &&
        m_pSmoke->Step(pEnvironment->m_fWindDirection, pEnvironment->m_fWindSpeed))
        NoteMapChanged();

    if (CKDRHoles* pHoles = GetHoles())
        pHoles->AssignOccupants(pUnits, GetGameMap());
    return nResult;
}

BOOL CKDRDoc::UpdateContacts(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond)
{
    pFirst = nullptr;
    pSecond = nullptr;
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return FALSE;
    pUnits->ResetContactLists(pFirst, pSecond);
    return TRUE;
}

BOOL CKDRDoc::DetectAll()
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    CKDREnvironment* pEnvironment = GetEnvironment();
    // Without light conditions nobody sees anything.
    if (pUnits == nullptr || pMap == nullptr || !pMap->HasElevationMap() || pDatabase == nullptr ||
        pEnvironment == nullptr)
        return FALSE;
    pUnits->DetectAll(pMap, pDatabase, m_pSmoke, pEnvironment->GetLightFactor());
    return TRUE;
}

BOOL CKDRDoc::DirectFire()
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pUnits == nullptr || pMap == nullptr || pDatabase == nullptr)
        return FALSE;
    pUnits->DirectFirePass(pMap, pDatabase, GetObstacles(), GetHoles());
    return TRUE;
}

BOOL CKDRDoc::ProcessIndirectFire()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr || GetGameMap() == nullptr || GetDatabase() == nullptr)
        return FALSE;
    pUnits->ProcessIndirectFire(GetDatabase());
    return TRUE;
}

BOOL CKDRDoc::TakeMapChanged()
{
    BOOL bChanged = m_bMapChanged;
    m_bMapChanged = FALSE;
    if (CKDRUnits* pUnits = GetUnits(); pUnits != nullptr && pUnits->TakeMapChanged())
        bChanged = TRUE;
    return bChanged;
}

BOOL CKDRDoc::TestMissionEnd(CTimeSpan tsElapsed, int& bWon)
{
    bWon = 0;
    CKDRMissions* pMissions = GetMissions();
    CKDRUnits* pUnits = GetUnits();
    if (pMissions == nullptr || pUnits == nullptr)
        return FALSE;
    int anTotals[6];
    GetForceTotals(anTotals);
    return pMissions->TestMissionEnd(pUnits, anTotals, tsElapsed, bWon) != 0;
}
