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
// The application owns one clock for the whole run; only the user-interface
// thread calls it. The clock owns its small Clock window object; the window
// itself exists only while it is shown.

#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CClockDlg;

class CGameClock
{
public:
    CGameClock();
    virtual ~CGameClock();
    CGameClock(const CGameClock&) = delete;
    CGameClock& operator=(const CGameClock&) = delete;

    // Compression factor 1.0, 2.0, 4.0 or 8.0; the window shows it.
    void SetRate(float fRate);
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

    // Back to the deployment phase (a new document).
    void Reset();
    // Shows the current times in the Clock window object (and its window when open).
    void Refresh();
    // The game time of day in UTC; always answers 1.
    int GetTimeOfDay(int& nHour, int& nMinute, int& nSecond);
    // "DDHHMMmmmYY", e.g. "091430JAN02" for 14:30 on 9 January 2002.
    static CString FormatDateTime(const CTime& time);

    void ShowClockWindow();
    BOOL HideClockWindow();
    // Opens the window when closed (TRUE) or closes it when open (FALSE).
    BOOL ToggleClockWindow();
    BOOL IsClockWindowShown() const;

    BOOL IsRunning() const { return m_bRunning; }
    CClockDlg* GetClockDlg() const { return m_pClockDlg; }

    // The compression text the window shows for a rate: "" for 1.0, "2X",
    // "4X", "8X"; any other rate leaves the previous text (answered FALSE).
    static BOOL CompressionText(float fRate, CString& text);
    // The elapsed text the window shows: "Day %D, %H:%M:%S".
    static CString ElapsedText(const CTimeSpan& tsElapsed);

    float m_fRate;           // compression factor
    CTimeSpan m_tsElapsed;   // game seconds since the mission's start; 0 = deployment phase
    CTime m_tCurrent;        // start time plus elapsed span, made with the time text
    CClockDlg* m_pClockDlg;  // the Clock window object, owned
    int m_nRemainder;        // the clock's own game milliseconds short of a whole second
    DWORD m_dwLastTick;      // millisecond counter at the clock's last step
    BOOL m_bRunning;
    CTime m_tStart;  // the mission's start time, set by the document
};
