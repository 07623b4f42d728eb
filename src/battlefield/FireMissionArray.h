#pragma once
// CFireMissionArray: a list of indirect-fire missions. The document keeps
// one as its list of rounds in flight, created empty for every mission and
// deleted with the mission's contents.
//
// As the list of rounds in flight it keeps its own game-clock stamp and
// millisecond carry, so that each step receives the game time since its own
// previous step. Least form: no round is ever added, so a step changes
// nothing.

#include "battlefield/FireMission.h"
#include "platform/core/Core.h"

class CKDRDatabase;
class CKDRGameMap;
class CKDRUnits;

class CFireMissionArray : public TypedObArray<CFireMission>
{
    DECLARE_SERIAL(CFireMissionArray)
public:
    CFireMissionArray() = default;

    // One step of every round in flight (once per pass of the game loop);
    // 1 when a round splashed or was removed. The three values pass through
    // to the effects on units.
    virtual int StepRoundsInFlight(int nPass1, int nPass2, int nPass3, CKDRDatabase* pDatabase, CKDRUnits* pUnits);
    void DrawImpacts(CKDRGameMap* pMap);
    // A fire-mission record received from the other player; 0 when ignored.
    int ApplyFireRecord(const BYTE* pData, int nLength, CKDRDatabase* pDatabase);

    DWORD m_dwStamp = 0;   // millisecond counter at the last step
    int m_nRemainder = 0;  // game milliseconds short of a whole second
};
