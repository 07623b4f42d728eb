#pragma once
// The application's game clock: the mission's game time (CGameTime) with
// its small Clock window. The clock owns the window object for the whole
// run and keeps its texts current; the window itself exists only while it
// is shown.
//
// The application owns one clock for the whole run; only the user-interface
// thread calls it.

#include "mission/GameTime.h"
#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CClockDlg;

class CGameClock : public CGameTime
{
public:
    CGameClock();
    ~CGameClock() override;

    // The window shows the rate.
    void SetRate(float fRate) override;
    void Reset() override;
    // Shows the current times in the Clock window object (and its window when open).
    void Refresh() override;
    void ShowLightText(const CString& strLight) override;

    void ShowClockWindow();
    BOOL HideClockWindow();
    // Opens the window when closed (TRUE) or closes it when open (FALSE).
    BOOL ToggleClockWindow();
    BOOL IsClockWindowShown() const;

    CClockDlg* GetClockDlg() const { return m_pClockDlg; }

    // The compression text the window shows for a rate: "" for 1.0, "2X",
    // "4X", "8X"; any other rate leaves the previous text (answered FALSE).
    static BOOL CompressionText(float fRate, CString& text);
    // The elapsed text the window shows: "Day %D, %H:%M:%S".
    static CString ElapsedText(const CTimeSpan& tsElapsed);

    CClockDlg* m_pClockDlg;  // the Clock window object, owned
};
