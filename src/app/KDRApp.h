#pragma once
// CKDRApp: the one application object of the process. It starts the
// program, owns the services that live for the whole run (the display, the
// game clock, the sound manager, the spot-report log, the multiplayer
// session, the strings of "link.txt", the start and data directories), runs
// its own message loop whose idle step scrolls the map while the mouse
// rests at a window edge, and offers the small services every subsystem
// calls: the deployment-phase test, the clock, the lent back-surface device
// context, spot-report posting and forwarders to the document and view.
//
// The application never reaches into a mission's collections: it asks the
// active document. Everything here runs on the user-interface thread.

#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/ui/App.h"

class CDC;
class CDisplay;
class CFireMission;
struct SFireLogRecord;
class CFrameWnd;
class CGameClock;
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

class CKDRApp : public CWinApp
{
public:
    CKDRApp();
    ~CKDRApp() override;

    // ---- Start-up and message loop ----
    BOOL InitInstance() override;
    int Run() override;
    // The idle step: edge auto-scroll of the map and, while the clock is
    // stopped in a multiplayer game, the session's arrived messages.
    // Answers whether more idle time is wanted.
    BOOL IdleStep();
    // Reads "link.txt" from the start directory into the eleven link strings.
    void ReadLinkFile();
    // Warns once when the main window's screen shows more than 24 bits per pixel.
    void CheckColorDepth();
    void WarnColorDepth(int nBitsPerPixel);

    // ---- Clock services ----
    BOOL IsDeploymentPhase() const;
    BOOL IsClockRunning() const;
    DWORD StartClock();
    void StopClock();
    // The clock's step for one consumer; while the clock is stopped the span
    // is 0 and so are the game milliseconds and the whole seconds, and the
    // consumer's carry and stamp stay as they were.
    void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp, int& nWholeSeconds);
    CGameClock* GetGameClock() const { return m_pGameClock; }

    // ---- Back-surface device context ----
    // Lends a device context on the display's back surface; one still lent
    // is released first.
    CDC* GetSurfaceDC();
    // FALSE when none was lent.
    BOOL ReleaseSurfaceDC();

    // ---- Sides and session ----
    BOOL IsPlayingEnemySide() const;
    BOOL IsSessionStarted() const;
    // A network game: the multiplayer flag is set and the session exists.
    BOOL IsNetworkGame() const { return m_bMultiplayer && m_pSession != nullptr; }

    // ---- Spot reports ----
    // Offers a report; the application owns it from here on in every case.
    void PostSpotReport(CSpotReport* pReport);
    // Game-loop step: a copy of the pending report goes to the log.
    void ShowPendingSpotReport();
    // Whether PostSpotReport would take a report of that priority now: the
    // report operations build a report only then.
    BOOL WillAcceptSpotReport(int nPriority) const;
    // What units see and suffer, built into reports at the present game
    // time and posted. Reports are made only where an own unit is involved
    // (the artillery impact excepted).
    void ReportDetection(BOOL bUnidentified, CUnit* pObserver, CUnit* pTarget, CVehicle* pTargetVehicle);
    void ReportEngagement(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray,
                          CUnit* pTarget, CVehicle* pTargetVehicle, CWeapon* pWeapon);
    void ReportKill(CUnit* pShooter, CVehicle* pShooterVehicle, int nShooterUnit, int nShooterArray, CUnit* pTarget,
                    CVehicle* pTargetVehicle, CWeapon* pWeapon);
    void ReportArtilleryImpact(CFireMission* pImpact);
    void ReportArtilleryEffect(BOOL bDestroyed, CUnit* pUnit, int nUnit, int nArray, CFireMission* pImpact);
    void ReportChemicalKill(CUnit* pUnit, CVehicle* pVehicle);
    // View/Spot Reports/Last Spot Report and a double click in the log:
    // the map moves to the report's unit or position.
    void ShowSpotReportInView(const CSpotReport* pReport);
    // View/Spot Reports/Spot Report Log (R): shows or closes the log when
    // the view allows the command, and keeps the state in the view's
    // properties of the zoom level.
    void OnSpotReportLog();
    // A modeless tool window closed (the spot report log passes 16): the
    // view records that it is no longer shown.
    void OnToolWindowClosed(int nKind);
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
    BOOL ShowMessageBoxDlg(const CString& strTitle, const CString& strText, int nX, int nY);
    BOOL ShowMissionList(CString& strScenario);
    BOOL ChooseSavedGame(CString& strName, int nMode);
    CKDRGameMap* GetGameMap() const;
    CKDRDatabase* GetDatabase() const;
    CKDRObstacles* GetObstacleArray() const;
    CKDRHoles* GetHoleArray() const;
    void RedrawView();
    void OnUpdateAppAbout(CCmdUI* pCmdUI);
    // Help/About: the About box, modally.
    void OnAppAbout();
    void StoreViewSettings();
    void RefreshViewForAIOrder();

    // ---- Mission commands and the game loop's message service ----
    // File/Quit Mission: refused while the clock runs; offers to save and
    // the results, closes the mission and shows the start menu again.
    void OnQuitMission();
    void OnUpdateQuitMission(CCmdUI* pCmdUI);
    // Time/Compression: 1/1, 2/1, 4/1 and 8/1, not in a multiplayer game.
    void OnTimeCompression(UINT nId);
    void OnUpdateTimeCompression(CCmdUI* pCmdUI);
    // Records the end of a multiplayer game for the player and the arena.
    virtual void PostArenaResults(BOOL bWon);
    // Serves one waiting message; when none waits, runs the idle handler
    // until it wants no more, then the idle step. Long steps of the game
    // loop call it so that menus, dialogs and Time/Stop keep working.
    // FALSE when the idle step reports that the session's link failed.
    BOOL ServeWaitingMessage();

    CFrameWnd* GetMainFrame() const;
    CKDRView* GetActiveView() const;
    CKDRDoc* GetActiveDocument() const;

    // ---- Owned services ----
    CSoundManager* m_pSoundManager;
    CDisplay* m_pDisplay;
    CGameClock* m_pGameClock;
    CSpotReportArray* m_pSpotReports;
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

    CSpotReport* m_pShownSpotReport;  // copy of the last accepted report
    BOOL m_bSpotReportPending;
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

    // Maps Quit Mission and Time/Compression (the constructor calls it).
    void RegisterMissionCommands();
    // Maps View/Spot Reports/Last Spot Report and Spot Report Log.
    void RegisterSpotReportCommands();

private:
    CView* WaitForActiveView();
};

// The application object, or null when none exists.
CKDRApp* GetKDRApp();
