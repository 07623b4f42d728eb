#pragma once
// The mission's game time: a calendar start time plus an elapsed span of
// whole game seconds that grows only while the clock runs, by the real
// milliseconds that passed times an integer compression factor.
//
// Every time-stepped consumer (the view's game loop, each unit, each fire
// mission, each smoke cloud) keeps its own millisecond stamp and its own
// sub-second carry and hands both to Advance, so each one receives the game
// time since its own previous call rather than since the clock's last step.
//
// The shell owns one clock for the whole run and hands it out through the
// play service (shell/PlayService.h); only the user-interface thread calls
// it. The application's clock (CGameClock) adds the Clock window, which the
// hooks Refresh and ShowLightText keep current; a headless clock shows
// nothing.

#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CGameTime
{
public:
    CGameTime();
    virtual ~CGameTime();
    CGameTime(const CGameTime&) = delete;
    CGameTime& operator=(const CGameTime&) = delete;

    // Compression factor 1.0, 2.0, 4.0 or 8.0.
    virtual void SetRate(float fRate);
    // Starts the clock and answers the millisecond counter value it started at.
    DWORD Start();
    void Stop();

    // One step for one consumer. Outputs: the elapsed span, the game
    // milliseconds since the consumer's previous call (-99 when no real
    // millisecond passed) and the whole game seconds those make together
    // with the consumer's carry. The consumer's carry and stamp are updated
    // in place. Every output is written on every path: when no real
    // millisecond passed the whole seconds are 0.
    void Advance(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp, int& nWholeSeconds);
    // Advance while the clock runs; a stopped clock gives no game time to
    // anyone: the span, the game milliseconds and the whole seconds are 0
    // and the consumer's carry and stamp stay as they were.
    void AdvanceIfRunning(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp, int& nWholeSeconds);

    // Back to the deployment phase (a new document).
    virtual void Reset();
    // Makes the current time from the start and the elapsed span (and, for
    // the application's clock, shows it in the Clock window).
    virtual void Refresh();
    // The light condition's label ("" by day) for whoever shows the clock.
    virtual void ShowLightText(const CString& strLight);
    // The game time of day in UTC; always answers 1.
    int GetTimeOfDay(int& nHour, int& nMinute, int& nSecond);
    // "DDHHMMmmmYY", e.g. "091430JAN02" for 14:30 on 9 January 2002.
    static CString FormatDateTime(const CTime& time);

    BOOL IsRunning() const { return m_bRunning; }
    // The clock stopped and no game second has passed yet.
    BOOL IsDeploymentPhase() const { return !m_bRunning && m_tsElapsed.GetTotalSeconds() == 0; }

    float m_fRate;          // compression factor
    CTimeSpan m_tsElapsed;  // game seconds since the mission's start; 0 = deployment phase
    CTime m_tCurrent;       // start time plus elapsed span, made with the time text
    int m_nRemainder;       // the clock's own game milliseconds short of a whole second
    DWORD m_dwLastTick;     // millisecond counter at the clock's last step
    BOOL m_bRunning;
    CTime m_tStart;  // the mission's start time, set by the document
};
