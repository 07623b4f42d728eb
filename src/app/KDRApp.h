#pragma once
// CKDRApp: the one application object of the process. It starts the
// program, owns the services that live for the whole run (the display, the
// game clock, the sound manager, the spot-report log, the multiplayer
// session, the strings of "link.txt", the start and data directories), runs
// its own message loop whose idle step scrolls the map while the mouse
// rests at a window edge, and offers the small services every subsystem
// calls: the deployment-phase test, the clock, the lent back-surface device
// context, spot-report posting and forwarders to the document and view.
// It offers them to the simulation as the shell services (shell/), and
// installs itself as every one of them while it lives.
//
// The application never reaches into a mission's collections: it asks the
// active document. Everything here runs on the user-interface thread.

#include "app/GameClock.h"
#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/ui/App.h"
#include "shell/DrawService.h"
#include "shell/PlayService.h"
#include "shell/ServiceSet.h"
#include "shell/SoundService.h"
#include "units/SpotReporter.h"

class CDC;
class CDisplay;
class CFireMission;
class CFireMissionArray;
class CFireMissionLogWindow;
struct SFireLogRecord;
class CFrameWnd;
class CHierarchyDlg;
class CKDRDatabase;
class CKDRDoc;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CKDRView;
class CMultiplayerSession;
class CPieceArray;
class CSoundManager;
class CSpotReport;
class CSpotReportArray;
class CUnit;
class CVehicle;
class CView;
class CWeapon;

// Number of the current display settings carried by the view properties.
constexpr int APP_DISPLAY_SETTING_COUNT = 15;
// The current fire order among them: every fire mission ordered on the map
// takes these, and the Fire Order window edits them (the label is the
// display label).
constexpr int APP_FIRE_MUNITION = 5;  // one munition type bit
constexpr int APP_FIRE_TOT = 6;       // time on target, calendar seconds
constexpr int APP_FIRE_VOLLEYS = 7;
constexpr int APP_FIRE_SHEAF = 8;     // 0 Converged, 1 Linear, 2 Open
constexpr int APP_FIRE_ATTITUDE = 9;  // mils
constexpr int APP_FIRE_LENGTH = 10;   // metres
constexpr int APP_FIRE_OPTION = 11;   // 0, 1, 2 or 4
constexpr int APP_FIRE_METHOD = 12;   // 0 When Ready, 1 AMC, 2 TOT, 4 Immediate

class CKDRApp : public CWinApp,
                public CPlayService,
                public CSpotReporter,
                public CDrawService,
                public CSoundService
{
public:
    CKDRApp();
    ~CKDRApp() override;

    // ---- Start-up and message loop ----
    BOOL InitInstance() override;
    int Run() override;
    // The idle step: edge auto-scroll of the map (from where the last mouse
    // event left the cursor; nothing before the first) and, while the clock
    // is stopped in a multiplayer game, the session's arrived messages.
    // Answers whether more idle time is wanted.
    BOOL IdleStep();
    // Reads "link.txt" from the start directory into the eleven link strings.
    void ReadLinkFile();
    // Warns once when the main window's screen shows more than 24 bits per pixel.
    void CheckColorDepth();
    void WarnColorDepth(int nBitsPerPixel);

    // ---- Clock services (CPlayService) ----
    BOOL IsDeploymentPhase() const override;
    BOOL IsClockRunning() const override;
    DWORD StartClock() override;
    void StopClock() override;
    // The clock's step for one consumer; while the clock is stopped the span
    // is 0 and so are the game milliseconds and the whole seconds, and the
    // consumer's carry and stamp stay as they were.
    void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                      int& nWholeSeconds) override;
    CGameClock* GetGameClock() const override { return m_pGameClock; }

    // ---- Back-surface device context (CDrawService) ----
    // Lends a device context on the display's back surface; one still lent
    // is released first.
    CDC* GetSurfaceDC() override;
    // FALSE when none was lent.
    BOOL ReleaseSurfaceDC() override;
    CDisplay* GetDisplay() const override { return m_pDisplay; }
    BOOL IsDisplayReady() const override { return m_bDisplayReady; }
    CPieceArray* GetSymbolCatalogue() const override { return m_pSymbolCatalogue; }
    BOOL ArePiecesShown() const override { return m_bPiecesShown; }
    void SetPiecesShown(BOOL bShown) override { m_bPiecesShown = bShown; }
    BOOL IsSideSwapDisplay() const override { return m_bSideSwapDisplay; }
    void SetSideSwapDisplay(BOOL bSwapped) override { m_bSideSwapDisplay = bSwapped; }
    BOOL IsAlternateColors() const override { return m_bAlternateColors; }
    CWnd* GetMapViewWnd() const override;
    void HoldAutoScroll(int nDelta) override { m_nAutoScrollHold += nDelta; }

    // ---- Sides and session (CPlayService) ----
    BOOL IsPlayingEnemySide() const override;
    BOOL IsSessionStarted() const;
    // A network game: the multiplayer flag is set and the session exists.
    BOOL IsNetworkGame() const override { return m_bMultiplayer && m_pSession != nullptr; }
    BOOL IsMultiplayer() const override { return m_bMultiplayer; }
    CMultiplayerSession* GetSession() const override { return m_pSession; }
    BOOL IsMultiplayerWon() const override { return m_bMultiplayerWon; }
    CString GetDataDir() const override { return m_strDataDir; }
    CString GetSavegameDir() const override { return m_strSavegameDir; }

    // ---- Sounds (CSoundService), served by the sound manager ----
    BOOL IsSoundDefined(int nKind, const CString& strName) const override;
    void PlayWeaponSound(const CString& strName) override;
    void PlayVehicleSound(const CString& strName) override;
    void PlayArtillerySound(const CString& strName) override;
    BOOL LoadSoundList(const CString& strName, CString& strFileName) override;

    // ---- Spot reports (CReportService; the posting rule is CSpotReporter's) ----
    // View/Spot Reports/Last Spot Report and a double click in the log:
    // the map moves to the report's unit or position.
    void ShowSpotReportInView(const CSpotReport* pReport) override;
    // View/Spot Reports/Spot Report Log (R): shows or closes the log when
    // the view allows the command, and keeps the state in the view's
    // properties of the zoom level.
    void OnSpotReportLog();
    // A modeless tool window closed (the spot report log passes 16): the
    // view records that it is no longer shown.
    void OnToolWindowClosed(int nKind) override;
    // A report window over the main window, which owns itself.
    void ShowReport(const CString& strReport) override;
    // The results page, modally.
    void ShowMissionResults(const CString& strSavegameDir, const CString& strDataDir) override;
    // The fire-mission log's window (CFireMissionLogDlg).
    CFireMissionLogWindow* NewFireMissionLogWindow() override;
    // A double click in the fire-mission log: the map centres on the
    // record's unit of the side (unit -1: on its point); nothing for a unit
    // that is gone or rides in a carrier.
    void SelectUnitInView(const SFireLogRecord& record, int nSide);

    // ---- AI-order directions ----
    // One of the three directions (whole mils) in radians, folded towards
    // (-pi, pi]; -99.0 for any other index.
    double GetDirectionRadians(int nIndex) const;
    void SetDirectionMils(int nIndex, int nMils);

    // ---- Forwarders ----
    BOOL ShowMessageBoxDlg(const CString& strTitle, const CString& strText, int nX, int nY) override;
    BOOL ShowMissionList(CString& strScenario);
    BOOL ChooseSavedGame(CString& strName, int nMode);
    CKDRGameMap* GetGameMap() const;
    CKDRDatabase* GetDatabase() const override;
    // The active document's rounds in flight and splash effects.
    CFireMissionArray* GetRoundsInFlight() const override;
    // From the fire-order settings and the display label.
    SFireOrder GetFireOrder() const override;
    int LeaveSplashEffect(int nMunition, CFireMission* pRound) override;
    CKDRObstacles* GetObstacleArray() const;
    CKDRHoles* GetHoleArray() const;
    void RedrawView() override;
    void OnUpdateAppAbout(CCmdUI* pCmdUI);
    // Help/About: the About box, modally.
    void OnAppAbout();
    void StoreViewSettings();
    void RefreshViewForAIOrder();

    // ---- Mission commands and the game loop's message service ----
    // Menus work inside the running game loop, so every command that
    // replaces or closes the mission is refused (and disabled) while the
    // clock runs: the mission would go under the loop's pass.
    // The framework's New (no menu item; Restart Mission and Quit Mission
    // run it): offers to save a modified game, then an empty document.
    void OnFileNew();
    void OnUpdateFileNew(CCmdUI* pCmdUI);
    // File/Open...: the mission selection on the data directory, then the
    // chosen scenario (after "Save Game?" for a modified game); on success
    // m_bDocumentOpened is set and the document takes the mission's title.
    void OnFileOpen();
    void OnUpdateFileOpen(CCmdUI* pCmdUI);
    // File/Open Saved Game...: the load dialog, then the chosen saved game.
    // Enabled while the clock is stopped and its window open; in a
    // multiplayer game of two players only in the deployment phase, with
    // units and the map's pictures.
    void OnFileOpenSavedGame();
    void OnUpdateFileOpenSavedGame(CCmdUI* pCmdUI);
    // File/Quit Mission: refused while the clock runs; offers to save and
    // the results, closes the mission and shows the start menu again.
    void OnQuitMission();
    void OnUpdateQuitMission(CCmdUI* pCmdUI);
    // View/Auto Scroll and View/Sound: switches, checked while on.
    void OnViewAutoScroll();
    void OnUpdateViewAutoScroll(CCmdUI* pCmdUI);
    void OnViewSound();
    void OnUpdateViewSound(CCmdUI* pCmdUI);
    // Multiplayer/Chat Log: shows or hides the session's chat window;
    // enabled in a multiplayer game, checked while the window is shown.
    void OnChatLog();
    void OnUpdateChatLog(CCmdUI* pCmdUI);
    // Multiplayer/Surrender...: asks, then asks the own side's players and
    // waits, serving messages, until the session has their answer or the
    // opponent or the link is lost; an agreed surrender is told to the
    // other players and recorded as a loss, and the mission ends.
    void OnSurrender();
    void OnUpdateSurrender(CCmdUI* pCmdUI);
    // The scenario through the framework's open; on success
    // m_bDocumentOpened is set and the document takes the mission's title.
    BOOL OpenScenarioFile(const CString& strFile);
    // After a mission opened: whether the own units are drawn as pictures
    // (most of them have a loaded map piece), and the overview map.
    void RefreshPiecesShown();
    // The start menu again; Exit closes the main window.
    void ReturnToStartMenu();
    // The map view takes the keyboard, so its keys work without a click.
    void FocusMapView();
    // Time/Compression: 1/1, 2/1, 4/1 and 8/1, not in a multiplayer game.
    void OnTimeCompression(UINT nId);
    void OnUpdateTimeCompression(CCmdUI* pCmdUI);
    // Records the end of a multiplayer game for the player and the arena.
    virtual void PostArenaResults(BOOL bWon);
    // Serves one waiting message; when none waits, runs the idle handler
    // until it wants no more, then the idle step. Long steps of the game
    // loop call it so that menus, dialogs and Time/Stop keep working.
    // FALSE when the idle step reports that the session's link failed.
    BOOL ServeWaitingMessage() override;

    CFrameWnd* GetMainFrame() const;
    CKDRView* GetActiveView() const;
    CKDRDoc* GetActiveDocument() const;

    // ---- Owned services ----
    CSoundManager* m_pSoundManager;
    CDisplay* m_pDisplay;
    CGameClock* m_pGameClock;
    CPieceArray* m_pSymbolCatalogue;
    CMultiplayerSession* m_pSession;

    // A copy of the current zoom level's view-properties entry.
    int m_anDisplaySettings[APP_DISPLAY_SETTING_COUNT];
    CString m_strDisplayLabel;

    BOOL m_bWithdrawArenaPost;
    int m_nWithdrawPasses;
    BOOL m_bMultiplayer;
    BOOL m_bPlayEnemySide;
    BOOL m_bEnemySideChosen;
    BOOL m_bEnemySideInSession;
    BOOL m_bMultiplayerWon;
    BOOL m_bPiecesShown;
    // Set by the units while they load when the player plays the opposing
    // side: the friendly and enemy echelon frames and wreck markers change
    // places.
    BOOL m_bSideSwapDisplay = FALSE;
    // The other colour scheme of the map's data tips: the own and enemy
    // colours change places, the neutral side turns yellow.
    BOOL m_bAlternateColors = FALSE;
    // The attitude (mils) and time to fire last confirmed in the Obstacle
    // dialog for one obstacle.
    int m_nObstacleAttitude;
    CTimeSpan m_tsObstacleTimeToFire;

    // The values of "link.txt".
    CString m_strAboutIconLink;
    CString m_strAboutTextLink;
    CString m_strArenaPostResultsLink;
    CString m_strArenaChatPostLink;
    CString m_strArenaTalkPostLink;
    CString m_strArenaPostGameLink;
    CString m_strArenaDeletePostLink;
    CString m_strArenaGetListLink;
    CString m_strArenaDeleteTalkLink;
    CString m_strArenaCommandersListLink;
    CString m_strVersionMessage;

    BOOL m_bDocumentOpened;
    // Set when a mission is left without the "Save Game?" question; the
    // document clears it when it skips the question.
    BOOL m_bSkipSavePrompt = FALSE;
    CString m_strSavegameDir;
    BOOL m_bAutoScroll;
    CString m_strDataDir;
    // While non-zero the idle step does not scroll; open modeless tool windows raise it.
    int m_nAutoScrollHold;
    BOOL m_bSurfaceDCLent;
    CDC* m_pSurfaceDC;
    BOOL m_bDisplayReady;

    // Scroll state of the last idle step.
    int m_nHScrollMin, m_nHScrollMax;
    int m_nVScrollMin, m_nVScrollMax;
    CPoint m_ptScroll;
    CPoint m_ptCursor;
    CRect m_rcFrameClient;
    // When ServeWaitingMessage last ran the idle work (command states, edge
    // scroll), on the game's millisecond counter.
    BOOL m_bIdleRefreshed = FALSE;
    DWORD m_dwIdleRefreshTick = 0;
    int m_nHScrollDecision;  // SB_LINELEFT, SB_LINERIGHT or -99
    int m_nVScrollDecision;  // SB_LINEUP, SB_LINEDOWN or -99

    // Tree-drag state, set by the hierarchy tree window.
    CHierarchyDlg* m_pHierarchyDlg;
    BOOL m_bTreeDragging;

    // AI-order editing state.
    int m_anDirection[3];  // mils, one per side 0, 1, 2
    float m_fAILeft, m_fAITop, m_fAIRight, m_fAIBottom;
    BOOL m_bAIEditing;
    BOOL m_bAIUnitPicked;
    BOOL m_bAIRectPicked;
    int m_nAIKind;
    CString m_strAIUnitName;
    CString m_strAIItemName;

protected:
    // Start-up steps that later parts of the program fill in.
    virtual BOOL BuildPieceCatalogue();
    virtual void ShowSplash();
    // 0 when the player chose Exit.
    virtual int RunStartMenu();

    // Maps the File, View, Time/Compression and Multiplayer commands of the
    // application (the constructor calls it).
    void RegisterMissionCommands();
    // Maps View/Spot Reports/Last Spot Report and Spot Report Log.
    void RegisterSpotReportCommands();

private:
    CView* WaitForActiveView();
    // The application is every shell service while it lives; the ones it
    // replaced come back when it goes.
    void InstallServices();
    void RemoveServices();

    CServiceSet m_previousServices;
};

// The application object, or null when none exists.
CKDRApp* GetKDRApp();
