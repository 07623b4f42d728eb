#pragma once
// A fire-support host for tests: it hands out scripted clock steps and a
// game time, and records the sounds played and the splash effects asked
// for, in order. It installs itself while it lives and puts back the host
// it replaced.

#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/FireSupportHost.h"

#include <string>
#include <vector>

class CFireTestHost : public CFireSupportHost
{
public:
    CFireTestHost() : m_pOld(SetFireSupportHost(this)) {}
    ~CFireTestHost() override { SetFireSupportHost(m_pOld); }
    CFireTestHost(const CFireTestHost&) = delete;
    CFireTestHost& operator=(const CFireTestHost&) = delete;

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
        m_tsElapsed += CTimeSpan(m_nSeconds);
        tsElapsed = m_tsElapsed;
        nGameMs = m_nGameMs;
        nWholeSeconds = m_nSeconds;
        (void)nRemainder;
        (void)dwStamp;
    }
    CTime GetGameTime() override { return m_tNow; }
    void PlayArtillerySound(const CString& strName) override { m_events.push_back("sound " + std::string(strName)); }
    BOOL IsLinkUp() override { return FALSE; }
    CFireMissionArray* GetRoundsInFlight() override { return &m_rounds; }
    int AddSmokeFromImpact(CFireMission*) override { return Note("smoke"); }
    int AddIllumFromImpact(CFireMission*) override { return Note("illum"); }
    int ApplyFASCAMImpact(CFireMission*) override { return Note("fascam"); }
    int ApplyChemicalImpact(CFireMission*) override { return Note("chemical"); }

    CTime m_tNow = CTime(1024050600);
    CTimeSpan m_tsElapsed;
    std::vector<std::string> m_events;
    CFireMissionArray m_rounds;

private:
    int Note(const char* what)
    {
        m_events.emplace_back(what);
        return 1;
    }

    CFireSupportHost* m_pOld;
    int m_nGameMs = 0;
    int m_nSeconds = 0;
};
