#pragma once
// A headless shell for the fire tests: it hands out scripted clock steps,
// keeps the game time they make, serves its own list of rounds in flight,
// and records the artillery sounds played and the splash effects asked
// for, in order. It installs itself while it lives and puts back the
// services it replaced.

#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "database/IFAmmo.h"
#include "shell/HeadlessShell.h"

#include <string>
#include <vector>

class CFireTestHost : public CHeadlessShell
{
public:
    CFireTestHost()
    {
        GetGameClock()->m_tStart = m_tNow;
        m_pRoundsInFlight = &m_rounds;
    }

    // The next clock step: game milliseconds (-99: no real millisecond)
    // and whole seconds; the game time moves on by the seconds.
    void NextStep(int nGameMs, int nSeconds)
    {
        m_nGameMs = nGameMs;
        m_nSeconds = nSeconds;
    }

    void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                      int& nWholeSeconds) override
    {
        m_tNow += CTimeSpan(m_nSeconds);
        GetGameClock()->m_tsElapsed += CTimeSpan(m_nSeconds);
        tsElapsed = GetGameClock()->m_tsElapsed;
        nGameMs = m_nGameMs;
        nWholeSeconds = m_nSeconds;
        (void)nRemainder;
        (void)dwStamp;
    }
    void PlayArtillerySound(const CString& strName) override { m_events.push_back("sound " + std::string(strName)); }
    int LeaveSplashEffect(int nMunition, CFireMission*) override
    {
        switch (nMunition)
        {
        case MUNITION_SMOKE: return Note("smoke");
        case MUNITION_ILLUM: return Note("illum");
        case MUNITION_FASCAM: return Note("fascam");
        case MUNITION_CHEMICAL: return Note("chemical");
        default: return Note("other");
        }
    }

    CTime m_tNow = CTime(1024050600);  // the game time: the clock's start and its elapsed span
    std::vector<std::string> m_events;
    CFireMissionArray m_rounds;

private:
    int Note(const char* what)
    {
        m_events.emplace_back(what);
        return 1;
    }

    int m_nGameMs = 0;
    int m_nSeconds = 0;
};
