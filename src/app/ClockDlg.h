#pragma once
// The small modeless Clock window: game date and time, elapsed game time,
// compression and light condition. The game clock owns the object for the
// whole run and keeps its texts current; the window exists only while shown
// and sits at the lower-right corner of the map view, on top.

#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/ui/Wnd.h"

class CClockDlg : public CWnd
{
public:
    CClockDlg();
    ~CClockDlg() override;

    // Takes the game time text, derives the elapsed and compression texts
    // from the span and rate held here, and refreshes the controls when the
    // window exists.
    void ShowTimes(const CString& strGameTime);
    // Keeps the light condition's label ("" by day); the window shows it
    // the next time it is painted.
    void SetLightText(const CString& strLight);
    void UpdateControls();

    BOOL IsCreated() const { return m_bCreated; }
    void CreateClockWindow();
    void DestroyClockWindow();

    void OnPaint() override;
    void OnDestroy() override;

    CString m_strLight;  // light condition: "NIGHT" until the light component first sets it
    CString m_strElapsed;
    CString m_strGameTime;
    CString m_strCompression;
    float m_fRate;
    BOOL m_bCreated;
    CTimeSpan m_tsElapsed;

private:
    void PlaceAtViewCorner();
};
