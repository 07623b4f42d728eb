#pragma once
// CFireSupportHost: what the smoke clouds and the fire missions need of the
// program around them, and nothing more: the game clock's step for one
// consumer and the game time, the artillery sounds, whether the other
// player's link is up, and the document's hand (its rounds in flight, the
// clouds, mines and chemical areas a splash leaves, the fire-mission log).
//
// The shell installs one at start-up and removes it when it goes; with none
// installed (a headless tool, a test that does not care) no game time
// passes, nothing sounds and a splash leaves nothing behind, so the battle
// code never reaches up into the application for these.

#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CFireMission;
class CFireMissionArray;

class CFireSupportHost
{
public:
    virtual ~CFireSupportHost() = default;

    // The clock's step for one consumer: the span elapsed, the game
    // milliseconds since its stamp (-99 when no real millisecond passed)
    // and the whole seconds; the carry and the stamp are updated in place.
    virtual void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                              int& nWholeSeconds) = 0;
    // The current game date and time.
    virtual CTime GetGameTime() = 0;
    virtual void PlayArtillerySound(const CString& strName) = 0;
    // A network game whose link to the other player is up.
    virtual BOOL IsLinkUp() = 0;

    // The document's list of rounds in flight; null without a mission.
    virtual CFireMissionArray* GetRoundsInFlight() = 0;
    // What a splash leaves behind, by its munition; nonzero when something
    // was added.
    virtual int AddSmokeFromImpact(CFireMission* pRound) = 0;
    virtual int AddIllumFromImpact(CFireMission* pRound) = 0;
    virtual int ApplyFASCAMImpact(CFireMission* pRound) = 0;
    virtual int ApplyChemicalImpact(CFireMission* pRound) = 0;
};

// The installed host, or null.
CFireSupportHost* GetFireSupportHost();
// Installs a host (null removes it); the caller keeps it alive while it is
// installed. Answers the one it replaced.
CFireSupportHost* SetFireSupportHost(CFireSupportHost* pHost);
