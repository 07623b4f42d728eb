#pragma once
// CSmokeArray: the document's smoke and illumination clouds. The document
// creates an empty one for every mission and deletes it with the mission's
// contents; the clouds themselves are added by impacts during play.
//
// It keeps its own game-clock stamp and millisecond carry, so that each
// step receives the game time since its own previous step. Least form: no
// cloud is ever added, so a step changes nothing and nothing is drawn.

#include "platform/core/Core.h"

class CFireMission;
class CKDRDatabase;
class CKDRGameMap;

class CSmokeArray : public CObArray
{
    DECLARE_SERIAL(CSmokeArray)
public:
    CSmokeArray() = default;

    // One step of every cloud with the wind (direction in radians, speed);
    // once per pass of the game loop. TRUE when a cloud moved, grew, faded
    // or went: the map then shows something new.
    virtual BOOL Step(float fWindDirection, float fWindSpeed);
    // Nonzero when a cloud was added.
    int AddSmoke(float fX, float fY, float fRadius, int nTimeLeft, int nStrength, CKDRGameMap* pMap);
    int AddIllum(float fX, float fY, float fRadius, int nTimeLeft, int nStrength, CKDRGameMap* pMap);
    int AddSmokeFromImpact(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    int AddIllumFromImpact(CFireMission* pRound, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    void DrawAll(CKDRGameMap* pMap);
    // The illumination cloud over the point: its index and, through
    // fIntensity, its light (1.0 daylight); kUnset and the intensity
    // untouched when none covers it.
    int FindIllumAt(float fX, float fY, float& fIntensity) const;
    // The summed obscuration (percent) of the smoke on the line from the
    // point along the bearing (radians) over the range (tens of metres).
    float GetObscurationOnBearing(float fX, float fY, float fBearing, float fRange) const;
    void PrepareAll(CKDRGameMap* pMap);

    DWORD m_dwStamp = 0;   // millisecond counter at the last step
    int m_nRemainder = 0;  // game milliseconds short of a whole second
};
