#pragma once
// The shell services without a shell: what tests, tools and benchmarks
// install so that the simulation opens, runs and reports a battle with no
// application object, no window and no sound device.
//
// It keeps a game clock of its own (no Clock window), the spot reports and
// their log (the same posting rule as the application's), and records every
// window it is asked for (report windows, the positioned message box, the
// results) instead of showing it. A display and a symbol catalogue may be
// handed to it for drawing tests; without them nothing is lent. No sound is
// defined and nothing plays; the session is never there.
//
//     CHeadlessShell shell;               // installed while it lives
//     shell.GetGameClock()->SetRate(4.0f);
//     DWORD dwTick = shell.StartClock();
//
// Installing one replaces whatever services were installed; they come back
// when it goes.

#include "mission/GameTime.h"
#include "platform/core/CString.h"
#include "shell/DrawService.h"
#include "shell/PlayService.h"
#include "shell/ServiceSet.h"
#include "shell/SoundService.h"
#include "units/SpotReporter.h"

#include <vector>

class CHeadlessShell : public CPlayService, public CSpotReporter, public CDrawService, public CSoundService
{
public:
    CHeadlessShell();
    ~CHeadlessShell() override;

    // ---- CPlayService ----
    CGameTime* GetGameClock() const override { return &m_clock; }
    BOOL IsDeploymentPhase() const override { return m_clock.IsDeploymentPhase(); }
    BOOL IsClockRunning() const override { return m_clock.IsRunning(); }
    DWORD StartClock() override { return m_clock.Start(); }
    void StopClock() override { m_clock.Stop(); }
    void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                      int& nWholeSeconds) override;
    BOOL IsMultiplayer() const override { return m_bMultiplayer; }
    CMultiplayerSession* GetSession() const override { return nullptr; }
    BOOL IsNetworkGame() const override { return FALSE; }
    // As the application answers it: the opposing side of a multiplayer game.
    BOOL IsPlayingEnemySide() const override { return m_bMultiplayer && m_bPlayEnemySide; }
    BOOL IsMultiplayerWon() const override { return m_bMultiplayerWon; }
    CKDRDatabase* GetDatabase() const override { return m_pDatabase; }
    CString GetDataDir() const override { return m_strDataDir; }
    CString GetSavegameDir() const override { return m_strSavegameDir; }
    CFireMissionArray* GetRoundsInFlight() const override { return m_pRoundsInFlight; }
    // Leaves nothing on the ground; the munition bits asked for are kept.
    int LeaveSplashEffect(int nMunition, CFireMission* pRound) override;
    SFireOrder GetFireOrder() const override { return m_fireOrder; }
    // Serves one command posted to the application object, when there is one.
    BOOL ServeWaitingMessage() override;

    // ---- CReportService (the spot reports are CSpotReporter's) ----
    void ShowSpotReportInView(const CSpotReport* pReport) override;
    void OnToolWindowClosed(int nKind) override;
    // None: the units keep the log's lines without a window.
    CFireMissionLogWindow* NewFireMissionLogWindow() override { return nullptr; }
    BOOL ShowMessageBoxDlg(const CString& strTitle, const CString& strText, int nX, int nY) override;
    void ShowReport(const CString& strReport) override;
    void ShowMissionResults(const CString& strSavegameDir, const CString& strDataDir) override;

    // ---- CDrawService ----
    CDisplay* GetDisplay() const override { return m_pDisplay; }
    BOOL IsDisplayReady() const override { return m_bDisplayReady; }
    CDC* GetSurfaceDC() override;
    BOOL ReleaseSurfaceDC() override;
    CPieceArray* GetSymbolCatalogue() const override { return m_pSymbolCatalogue; }
    BOOL ArePiecesShown() const override { return m_bPiecesShown; }
    void SetPiecesShown(BOOL bShown) override { m_bPiecesShown = bShown; }
    BOOL IsSideSwapDisplay() const override { return m_bSideSwapDisplay; }
    void SetSideSwapDisplay(BOOL bSwapped) override { m_bSideSwapDisplay = bSwapped; }
    BOOL IsAlternateColors() const override { return m_bAlternateColors; }
    void RedrawView() override { ++m_nRedraws; }
    CWnd* GetMapViewWnd() const override { return nullptr; }
    void HoldAutoScroll(int nDelta) override { m_nAutoScrollHold += nDelta; }

    // ---- CSoundService: no sound is defined, nothing plays ----
    BOOL IsSoundDefined(int nKind, const CString& strName) const override;
    void PlayWeaponSound(const CString& strName) override;
    void PlayVehicleSound(const CString& strName) override;
    void PlayArtillerySound(const CString& strName) override;
    // Takes any list by its name, with no sounds in it.
    BOOL LoadSoundList(const CString& strName, CString& strFileName) override;

    // What the services were handed and what they were asked. The
    // multiplayer choices may be set to try the sentences and rules that
    // follow them; there is never a session.
    BOOL m_bMultiplayer = FALSE;
    BOOL m_bPlayEnemySide = FALSE;
    BOOL m_bMultiplayerWon = FALSE;
    SFireOrder m_fireOrder;  // what a test orders on the map
    CKDRDatabase* m_pDatabase = nullptr;      // not owned
    CString m_strDataDir;
    CString m_strSavegameDir;
    CFireMissionArray* m_pRoundsInFlight = nullptr;  // not owned
    std::vector<int> m_splashEffects;   // munition bits of splash effects asked for, in order
    CDisplay* m_pDisplay = nullptr;           // not owned
    BOOL m_bDisplayReady = FALSE;
    CPieceArray* m_pSymbolCatalogue = nullptr;  // owned
    BOOL m_bPiecesShown = FALSE;
    BOOL m_bSideSwapDisplay = FALSE;
    BOOL m_bAlternateColors = FALSE;
    int m_nAutoScrollHold = 0;
    int m_nRedraws = 0;
    std::vector<CString> m_shownReports;   // report windows' texts, in order
    std::vector<CString> m_shownMessages;  // positioned message boxes: title, a newline, text
    int m_nResultsShown = 0;

private:
    mutable CGameTime m_clock;
    CDC* m_pSurfaceDC = nullptr;
    CServiceSet m_previousServices;
};
