#include "battlefield/FireMissionArray.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "net/NetUpdate.h"
#include "platform/core/Unset.h"
#include "mission/GameTime.h"
#include "platform/ui/Display.h"
#include "shell/PlayService.h"
#include "shell/SoundService.h"

#include <cmath>

IMPLEMENT_SERIAL(CFireMissionArray, CObArray, 1)

namespace
{
// A mission lies under a click this close to its target (metres).
constexpr float kPickDistance = 6.0f;
// A fire-mission record is at least this long.
constexpr int kMinFireRecordBytes = 32;
}  // namespace

int CFireMissionArray::AddMission(CFireMission* pMission)
{
    if (pMission == nullptr)
        return kUnset;
    if (pMission->m_nMethod == FIRE_IMMEDIATE)
    {
        InsertAt(0, pMission);
        return 0;
    }
    return Add(pMission);
}

int CFireMissionArray::ProcessFirst(int /*nElapsed*/, CTime tNow, float fHeading, float fUnitX, float fUnitY,
                                    CUCapIndirectFire* pUnitCap, CVCapIndirectFire* pVehicleCap,
                                    CKDRDatabase* pDatabase, BOOL bReady, float& fAzimuth, int nSide, CUnit* pUnit,
                                    int nPass1, int nPass2, int nPass3)
{
    if (IsEmpty())
        return FIRE_STEP_QUEUE_EMPTY;
    CFireMission* pFirst = GetAt(0);
    float fLaid = 0.0f;
    int nResult = pFirst != nullptr ? pFirst->Step(tNow, fHeading, fUnitX, fUnitY, pUnitCap, pVehicleCap, pDatabase,
                                                   bReady, fLaid, nSide, pUnit, nPass1, nPass2, nPass3)
                                    : FIRE_STEP_DONE;
    if (nResult == FIRE_STEP_DONE)
    {
        RemoveAt(0);
        nResult = FIRE_STEP_LAID;
    }
    if (nResult & FIRE_STEP_AZIMUTH)
        fAzimuth = fLaid;
    if (IsEmpty())
        nResult |= FIRE_STEP_QUEUE_EMPTY;
    return nResult;
}

int CFireMissionArray::IsFirstOutOfRange(float fUnitX, float fUnitY, CKDRDatabase* pDatabase) const
{
    const CFireMission* pFirst = GetAt(0);
    const CIFAmmo* pAmmo =
        pFirst != nullptr && pDatabase != nullptr ? pDatabase->GetIFAmmo(pFirst->m_nMunitionIndex) : nullptr;
    if (pAmmo == nullptr)
        return 0;
    double dDistance = 0.0;
    int nAzimuth = 0;
    pFirst->GetRangeAndAzimuth(fUnitX, fUnitY, dDistance, nAzimuth);
    return pAmmo->m_nRange > dDistance ? 0 : 1;
}

int CFireMissionArray::FindMissionAt(float fX, float fY, CKDRGameMap* pMap) const
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CFireMission* pMission = GetAt(i);
        if (pMission == nullptr)
            continue;
        const double dY = std::trunc(static_cast<double>(pMission->m_fY) - fY);
        if (std::fabs(pMission->m_fX - fX) < kPickDistance && std::fabs(dY) < kPickDistance)
            return i;
        const CSprite* pSprite = pMission->GetSprite();
        if (pSprite != nullptr && pMap != nullptr && pMap->HasElevationMap())
        {
            int vx = 0, vy = 0;
            pMap->MapToView(fX, fY, &vx, &vy);
            if (pSprite->HitTest(vx, vy))
                return i;
        }
    }
    return kUnset;
}

int CFireMissionArray::CancelMission(float fX, float fY, CKDRGameMap* pMap)
{
    const int nIndex = FindMissionAt(fX, fY, pMap);
    if (nIndex != kUnset)
        RemoveAt(nIndex);
    return nIndex;
}

int CFireMissionArray::AddRoundInFlight(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    if (pRound == nullptr)
        return kUnset;
    pRound->PrepareSprite(pDatabase, pMap, FIRE_SPRITE_IMPACT);
    return Add(pRound);
}

int CFireMissionArray::StepRoundsInFlight(int nPass1, int nPass2, int nPass3, CKDRDatabase* pDatabase,
                                          CKDRUnits* pUnits)
{
    CPlayService* pPlay = GetPlayService();
    const CGameTime* pClock = pPlay != nullptr ? pPlay->GetGameClock() : nullptr;
    if (pClock == nullptr)
        return 0;
    CTimeSpan tsElapsed;
    int nGameMs = 0;
    int nSeconds = 0;
    pPlay->AdvanceClock(tsElapsed, nGameMs, m_nRemainder, m_dwStamp, nSeconds);
    if (nSeconds <= 0)
        return 0;
    const CTime tNow = pClock->m_tStart + pClock->m_tsElapsed;
    int nResult = 0;
    for (int i = 0; i < GetSize();)
    {
        CFireMission* pRound = GetAt(i);
        BOOL bSplashed = FALSE;
        const int nKeep =
            pRound != nullptr ? pRound->AdvanceInFlight(nPass1, nPass2, nPass3, pDatabase, pUnits, tNow, bSplashed,
                                                        tsElapsed)
                              : 0;
        if (bSplashed)
            nResult = 1;
        if (nKeep == 0)
        {
            // The round may have left the list while its splash ran; it is
            // removed only when it is still where it was.
            if (GetAt(i) == pRound)
                RemoveAt(i);
            continue;
        }
        ++i;
    }
    return nResult;
}

void CFireMissionArray::DrawMissions(float fUnitX, float fUnitY, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CFireMission* pMission = GetAt(i))
            pMission->DrawMarker(fUnitX, fUnitY, pMap, pDatabase, i == 0);
    }
}

void CFireMissionArray::DrawImpacts(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CFireMission* pRound = GetAt(i))
            pRound->DrawImpact(pMap, pDatabase);
    }
}

void CFireMissionArray::FormatLog(int nSide, CKDRGameMap* pMap, CStringList& lines,
                                  std::vector<SFireLogRecord>& records) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CFireMission* pRound = GetAt(i))
            pRound->FormatLogLine(nSide, pMap, lines, records);
    }
}

int CFireMissionArray::ApplyFireRecord(const BYTE* pData, int nLength, CKDRDatabase* pDatabase)
{
    if (pData == nullptr || nLength < kMinFireRecordBytes)
        return 0;
    CNetUpdateFireMission record;
    const int nResult = record.Receive(pData, nLength, this, pDatabase);
    if (CSoundService* pSound = GetSoundService(); pSound != nullptr && !record.m_strFiringSound.IsEmpty())
        pSound->PlayArtillerySound(record.m_strFiringSound);
    return nResult;
}
