#pragma once
// CFireMissionArray: a list of indirect-fire missions in one of two roles.
// Each battery's indirect-fire capability owns one as its queue: the first
// mission is the current one, stepped by ProcessFirst once per step of the
// battery. The document owns one as its list of rounds in flight, stepped
// by StepRoundsInFlight once per pass of the game loop; for that role it
// keeps its own game-clock stamp and millisecond carry, so each step gets
// the game time since its own previous step.
//
// Stored form: a plain object array of CFireMission (the stamps are not
// stored).

#include "battlefield/FireMission.h"
#include "platform/core/Core.h"

class CKDRDatabase;
class CKDRGameMap;
class CKDRUnits;
class CUCapIndirectFire;
class CUnit;
class CVCapIndirectFire;

class CFireMissionArray : public TypedObArray<CFireMission>
{
    DECLARE_SERIAL(CFireMissionArray)
public:
    CFireMissionArray() = default;

    // Queues a mission (taking it): Immediate goes to the front, ahead even
    // of one being laid; any other to the back. Its index.
    int AddMission(CFireMission* pMission);
    // Steps the first mission and removes it when it is over. Result: 1
    // busy, 2 waiting, 5 a volley laid or the mission ended, 0xD the first
    // volley laid (fAzimuth set, radians), each with 0x10 when the queue
    // is then empty; 0x10 alone for an empty queue.
    int ProcessFirst(int nElapsed, CTime tNow, float fHeading, float fUnitX, float fUnitY,
                     CUCapIndirectFire* pUnitCap, CVCapIndirectFire* pVehicleCap, CKDRDatabase* pDatabase,
                     BOOL bReady, float& fAzimuth, int nSide, CUnit* pUnit, int nPass1, int nPass2, int nPass3);
    // 1 when the first mission's munition cannot reach its target from the
    // point (range not greater than the distance); 0 for an empty queue or
    // an unknown munition.
    int IsFirstOutOfRange(float fUnitX, float fUnitY, CKDRDatabase* pDatabase) const;
    // The mission under a map point, last first; kUnset when none.
    int FindMissionAt(float fX, float fY, CKDRGameMap* pMap) const;
    // Deletes the mission under the point; its former index or kUnset.
    int CancelMission(float fX, float fY, CKDRGameMap* pMap);

    // Appends a round (taking it) and prepares its impact picture; its index.
    int AddRoundInFlight(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap = nullptr);
    // One step of every round in flight (once per pass of the game loop);
    // 1 when a round splashed or was removed. The three values pass through
    // to the effects on units.
    virtual int StepRoundsInFlight(int nPass1, int nPass2, int nPass3, CKDRDatabase* pDatabase, CKDRUnits* pUnits);

    // The queue's markers and lines from the unit, the first highlighted.
    void DrawMissions(float fUnitX, float fUnitY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawImpacts(CKDRGameMap* pMap, CKDRDatabase* pDatabase = nullptr);
    // The log lines and position records of the side's rounds.
    void FormatLog(int nSide, CKDRGameMap* pMap, CStringList& lines, std::vector<SFireLogRecord>& records) const;
    // A fire-mission record received from the other player; 0 when ignored.
    int ApplyFireRecord(const BYTE* pData, int nLength, CKDRDatabase* pDatabase);

    DWORD m_dwStamp = 0;   // millisecond counter at the last step
    int m_nRemainder = 0;  // game milliseconds short of a whole second
};
