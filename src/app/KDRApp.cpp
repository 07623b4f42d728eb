#include "app/KDRApp.h"

#include "app/AboutDlg.h"
#include "app/GameClock.h"
#include "app/KDRDoc.h"
#include "app/LinkFile.h"
#include "app/LoadGameDlg.h"
#include "app/MainFrame.h"
#include "app/MissionSelectDlg.h"
#include "app/ReportDlg.h"
#include "app/SaveGameDlg.h"
#include "app/StartMenuDlg.h"
#include "battlefield/KDRGameMap.h"
#include "database/IFAmmo.h"
#include "database/PieceArray.h"
#include "hierarchy/HierarchyDlg.h"
#include "net/MultiplayerSession.h"
#include "platform/core/File.h"
#include "platform/core/Random.h"
#include "platform/ui/Command.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Frame.h"
#include "platform/ui/UiService.h"
#include "platform/ui/View.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "view/KDRView.h"
#include "view/Sound.h"

#include <memory>

namespace
{
const char* const APP_NAME = "Kedravin";
// The settings live under the program's own organisation and name.
const char* const PROFILE_KEY = "Kedravin";
const char* const DOC_STRING = "Kedravin\n\nKDR\nKDR Scenarios (*.asc)\n.asc\nKDR.Scenario\nKDR Scenario";
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT RECENT_FILE_COUNT = 4;

// The start-up values of the current display settings; they stand until
// the view first applies a view-properties entry.
const int DISPLAY_SETTINGS_AT_START[APP_DISPLAY_SETTING_COUNT] = {1600, 0, 4, 0, 0, 1, 0, 1, 0, 1600, 1000, 0, 0, 0, 0};
const char* const DISPLAY_LABEL_AT_START = "AA0000";

// Colour depths above this get the warning.
constexpr int MAX_DESIGNED_COLOR_DEPTH = 24;

// How often start-up asks the frame for its view before it gives up; the
// view is made with the frame, so it is there at the first or second ask.
constexpr int VIEW_WAIT_ATTEMPTS = 1000;

// Edge auto-scroll: distances from the frame's client edges in pixels.
constexpr int SCROLL_EDGE = 10;
constexpr int SCROLL_TOP_EDGE = -35;

// Two spot reports of no greater priority within this many game seconds:
// only the first is shown.

constexpr double RADIANS_PER_MIL = 0.0009817478;
constexpr double HALF_TURN = 3.14159;
constexpr double FULL_TURN = 6.283185;
}  // namespace

CKDRApp* GetKDRApp() { return dynamic_cast<CKDRApp*>(AfxGetApp()); }

CKDRApp::CKDRApp()
    : CWinApp(APP_NAME),
      m_pSoundManager(nullptr),
      m_pDisplay(new CDisplay),
      m_pGameClock(new CGameClock),
      m_pSymbolCatalogue(nullptr),
      m_pSession(nullptr),
      m_anDisplaySettings{},
      m_bWithdrawArenaPost(FALSE),
      m_nWithdrawPasses(0),
      m_bMultiplayer(FALSE),
      m_bPlayEnemySide(FALSE),
      m_bEnemySideChosen(FALSE),
      m_bEnemySideInSession(FALSE),
      m_bMultiplayerWon(FALSE),
      m_bPiecesShown(FALSE),
      m_nObstacleAttitude(1600),
      m_tsObstacleTimeToFire(14400),
      m_bDocumentOpened(FALSE),
      m_bAutoScroll(TRUE),
      m_nAutoScrollHold(0),
      m_bSurfaceDCLent(FALSE),
      m_pSurfaceDC(nullptr),
      m_bDisplayReady(FALSE),
      m_nHScrollMin(0),
      m_nHScrollMax(0),
      m_nVScrollMin(0),
      m_nVScrollMax(0),
      m_nHScrollDecision(kUnset),
      m_nVScrollDecision(kUnset),
      m_pHierarchyDlg(nullptr),
      m_bTreeDragging(FALSE),
      m_anDirection{0, 0, 0},
      m_fAILeft(-99.0f),
      m_fAITop(-99.0f),
      m_fAIRight(-99.0f),
      m_fAIBottom(-99.0f),
      m_bAIEditing(FALSE),
      m_bAIUnitPicked(FALSE),
      m_bAIRectPicked(FALSE),
      m_nAIKind(kUnset)
{
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapUpdate(ID_APP_ABOUT, [this](CCmdUI* pCmdUI) { OnUpdateAppAbout(pCmdUI); });
    RegisterMissionCommands();
    RegisterSpotReportCommands();
    // The fire order and the other settings hold their start-up values
    // from the first moment, before start-up or any view applies its own.
    for (int i = 0; i < APP_DISPLAY_SETTING_COUNT; ++i)
        m_anDisplaySettings[i] = DISPLAY_SETTINGS_AT_START[i];
    m_strDisplayLabel = DISPLAY_LABEL_AT_START;
    InstallServices();
}

void CKDRApp::InstallServices() { m_previousServices = InstallServiceSet({this, this, this, this}); }

// Only what is still ours goes back to what was there before.
void CKDRApp::RemoveServices() { RestoreServiceSet({this, this, this, this}, m_previousServices); }

CKDRApp::~CKDRApp()
{
    RemoveServices();
    delete m_pSoundManager;
    CSoundManager::SetReportHandler(nullptr);
    delete m_pGameClock;
    delete m_pShownSpotReport;
    m_pShownSpotReport = nullptr;
    // Report windows still open go before the catalogue and the main window.
    CReportDlg::CloseAll();
    delete m_pSymbolCatalogue;
    m_pSymbolCatalogue = nullptr;
    delete m_pSpotReports;
    m_pSpotReports = nullptr;
    if (m_pDisplay != nullptr)
        m_pDisplay->Release();
    delete m_pDisplay;
    delete m_pSession;
}

// ---------------------------------------------------------------------------
// Start-up

BOOL CKDRApp::InitInstance()
{
    // Sockets need no start-up of their own here: the network layer opens
    // its connections when a multiplayer game is set up.
    Enable3dControls();

    SetRegistryKey(PROFILE_KEY);
    LoadStdProfileSettings(RECENT_FILE_COUNT);

    SRand(static_cast<unsigned int>(CTime::GetCurrentTime().GetTime()));

    auto* pTemplate = new CSingleDocTemplate(
        IDR_MAINFRAME, [] { return static_cast<CDocument*>(new CKDRDoc); },
        [] { return static_cast<CFrameWnd*>(new CMainFrame); }, [] { return static_cast<CView*>(new CKDRView); });
    pTemplate->SetDocString(DOC_STRING);
    AddDocTemplate(pTemplate);
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;
    if (m_pMainWnd == nullptr)
        m_pMainWnd = GetMainFrame();
    if (m_pMainWnd == nullptr)
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->UpdateWindow();
    m_pMainWnd->DragAcceptFiles();

    CView* pView = WaitForActiveView();
    if (pView == nullptr)
        return FALSE;

    for (int i = 0; i < APP_DISPLAY_SETTING_COUNT; ++i)
        m_anDisplaySettings[i] = DISPLAY_SETTINGS_AT_START[i];
    m_strDisplayLabel = DISPLAY_LABEL_AT_START;
    m_bSpotReportPending = FALSE;
    CString* const apLinks[LINK_KEY_COUNT] = {
        &m_strAboutIconLink,       &m_strAboutTextLink,           &m_strArenaPostResultsLink, &m_strArenaChatPostLink,
        &m_strArenaTalkPostLink,   &m_strArenaPostGameLink,       &m_strArenaDeletePostLink,  &m_strArenaGetListLink,
        &m_strArenaDeleteTalkLink, &m_strArenaCommandersListLink, &m_strVersionMessage};
    for (CString* pLink : apLinks)
        pLink->Empty();

    CRect rcClient;
    pView->GetClientRect(&rcClient);
    if (!m_pDisplay->Init(pView, rcClient.Width(), rcClient.Height()))
    {
        pView->MessageBox("stop2", "", MB_OK);
        return FALSE;
    }
    m_bDisplayReady = TRUE;

    const CString strStartDir = GetCurrentDir();
    if (strStartDir.IsEmpty())
        return FALSE;
    m_strDataDir = strStartDir;
    m_strSavegameDir = JoinPath(strStartDir, "Savegame");
    SetCurrentDir(strStartDir);
    CreateDir("Savegame");
    m_strDataDir = JoinPath(m_strDataDir, "Data");
    if (CKDRDoc* pDoc = GetActiveDocument())
    {
        pDoc->SetDirectories(m_strDataDir, m_strSavegameDir);
        pDoc->SetDisplay(m_pDisplay);
    }

    ReadLinkFile();

    if (!BuildPieceCatalogue())
        return FALSE;

    CSoundManager::SetDataDirectory(m_strDataDir);
    CSoundManager::SetReportHandler([](const CString& report) { new CReportDlg(report, AfxGetMainWnd()); });
    m_pSoundManager = new CSoundManager;

    if (CKDRView* pMapView = GetActiveView())
    {
        pMapView->InitViewProperties();
        pMapView->ApplyViewProperties();
    }
    return TRUE;
}

CView* CKDRApp::WaitForActiveView()
{
    for (int i = 0; i < VIEW_WAIT_ATTEMPTS; ++i)
    {
        CFrameWnd* pFrame = GetMainFrame();
        CView* pView = pFrame != nullptr ? pFrame->GetActiveView() : nullptr;
        if (pView != nullptr && pView->IsWindow())
        {
            // The maximised size reaches the view with the window system's
            // next events; the display takes the view's size at this moment.
            CRect rc;
            pView->GetClientRect(&rc);
            if (!rc.IsRectEmpty() || i + 1 == VIEW_WAIT_ATTEMPTS)
                return pView;
        }
        PumpWaitingMessage();
    }
    return nullptr;
}

void CKDRApp::ReadLinkFile()
{
    CString* const apLinks[LINK_KEY_COUNT] = {
        &m_strAboutIconLink,       &m_strAboutTextLink,           &m_strArenaPostResultsLink, &m_strArenaChatPostLink,
        &m_strArenaTalkPostLink,   &m_strArenaPostGameLink,       &m_strArenaDeletePostLink,  &m_strArenaGetListLink,
        &m_strArenaDeleteTalkLink, &m_strArenaCommandersListLink, &m_strVersionMessage};
    ::ReadLinkFile(m_strDataDir, apLinks);
}

void CKDRApp::ShowSplash() { ShowAboutBox(); }

void CKDRApp::OnAppAbout() { ShowAboutBox(); }

int CKDRApp::RunStartMenu() { return ::RunStartMenu(*this); }

// ---------------------------------------------------------------------------
// Message loop

int CKDRApp::Run()
{
    if (m_pMainWnd == nullptr)
        PostQuitMessage(0);

    CheckColorDepth();
    ShowSplash();
    if (RunStartMenu() == 0 && m_pMainWnd != nullptr)
    {
        CWnd* pMain = m_pMainWnd;
        PostWork(this, [pMain] { pMain->OnClose(); });
    }

    for (;;)
    {
        LONG lIdleCount = 0;
        while (!IsMessageWaiting())
        {
            if (!OnIdle(lIdleCount++))
                break;
            if (!IdleStep())
                break;
        }
        if (!PumpMessage())
            return ExitInstance();
    }
}

void CKDRApp::CheckColorDepth()
{
    if (m_pMainWnd == nullptr || !m_pMainWnd->IsWindow())
        return;
    CClientDC dc(m_pMainWnd);
    WarnColorDepth(dc.GetDeviceCaps(BITSPIXEL));
}

void CKDRApp::WarnColorDepth(int nBitsPerPixel)
{
    if (nBitsPerPixel <= MAX_DESIGNED_COLOR_DEPTH)
        return;
    CString strText;
    strText.Format("Kedravin is designed for use with displays set to 24-bit color\r\nor below.  Your display is "
                   "currently set to %d-bit color.  For best\r\ngame play, reduce your color depth before playing "
                   "Kedravin.\r\n",
                   nBitsPerPixel);
    strText += "To do so, exit Kedravin, right-clicking on the Desktop, select\r\n'Properties' and the 'Settings' "
               "tab, and change the setting in 'Color\r\n";
    strText += "Quality' to 24-bit or less.";
    if (m_pMainWnd != nullptr)
        m_pMainWnd->MessageBox(strText, "Warning!", MB_OK | MB_ICONEXCLAMATION);
    else
        GetUiService().MessageBox(nullptr, strText, "Warning!", MB_OK | MB_ICONEXCLAMATION);
}

BOOL CKDRApp::IdleStep()
{
    CFrameWnd* pFrame = GetMainFrame();
    CScrollView* pView = pFrame != nullptr ? dynamic_cast<CScrollView*>(pFrame->GetActiveView()) : nullptr;
    if (pView != nullptr)
    {
        pView->GetScrollRange(SB_HORZ, &m_nHScrollMin, &m_nHScrollMax);
        pView->GetScrollRange(SB_VERT, &m_nVScrollMin, &m_nVScrollMax);
    }
    if (m_nAutoScrollHold < 0)
        m_nAutoScrollHold = 0;
    if (pView == nullptr || !pView->IsWindow() || !pView->IsWindowEnabled())
        return TRUE;

    CKDRGameMap* pMap = GetGameMap();
    const BOOL bMapNamed = pMap != nullptr && pMap->HasMapFiles();
    const BOOL bOurWindowActive = CWnd::GetActiveWindow() != nullptr;
    if ((m_bAutoScroll || m_bTreeDragging) && bMapNamed && m_nAutoScrollHold == 0 && bOurWindowActive)
    {
        // The cursor is where the last mouse event left it, in screen
        // coordinates, so the mouse need not be captured to follow it past
        // the window's edges. Asking the window system instead would cost
        // a round trip every time the loop serves its messages.
        if (!GetLastCursorPos(&m_ptCursor))
            return TRUE;
        m_ptScroll = pView->GetScrollPosition();

        const std::vector<CControlBar*>& bars = pFrame->GetControlBars();
        CWnd* pFirstBar = bars.empty() ? nullptr : bars.front();
        if (pFirstBar != nullptr && pFirstBar->IsWindow() && pFirstBar->IsWindowVisible())
        {
            CRect rcBar;
            pFirstBar->GetWindowRect(&rcBar);
            if (rcBar.PtInRect(m_ptCursor))
                return TRUE;
        }

        CPoint ptClient = m_ptCursor;
        pFrame->ScreenToClient(&ptClient);
        pFrame->GetClientRect(&m_rcFrameClient);
        m_nHScrollDecision = kUnset;
        m_nVScrollDecision = kUnset;
        // The scroll bars are for the hand: resting on one scrolls nothing,
        // and the right and bottom zones lie on the map beside them.
        CRect rcMap;
        pView->GetClientRect(&rcMap);
        pView->ClientToScreen(&rcMap);
        CRect rcViewWindow;
        pView->GetWindowRect(&rcViewWindow);
        const BOOL bOnScrollBar = rcViewWindow.PtInRect(m_ptCursor) && !rcMap.PtInRect(m_ptCursor);
        CRect rcEdges = rcMap;
        pFrame->ScreenToClient(&rcEdges);
        if (m_bAutoScroll && !bOnScrollBar)
        {
            if (ptClient.y <= SCROLL_TOP_EDGE && m_ptScroll.y > 0)
                m_nVScrollDecision = static_cast<int>(SB_LINEUP);
            if (ptClient.y >= rcEdges.bottom - SCROLL_EDGE && m_ptScroll.y < pView->GetScrollLimit(SB_VERT))
                m_nVScrollDecision = static_cast<int>(SB_LINEDOWN);
            if (ptClient.x <= SCROLL_EDGE && m_ptScroll.x > 0)
                m_nHScrollDecision = static_cast<int>(SB_LINELEFT);
            if (ptClient.x >= rcEdges.right - SCROLL_EDGE && m_ptScroll.x < pView->GetScrollLimit(SB_HORZ))
                m_nHScrollDecision = static_cast<int>(SB_LINERIGHT);
            if (m_nVScrollDecision != kUnset)
                pView->OnVScroll(static_cast<UINT>(m_nVScrollDecision), 0, nullptr);
            if (m_nHScrollDecision != kUnset)
                pView->OnHScroll(static_cast<UINT>(m_nHScrollDecision), 0, nullptr);
        }

        if (m_bTreeDragging && m_pHierarchyDlg != nullptr)
            m_pHierarchyDlg->AutoScrollTree(m_ptCursor.x, m_ptCursor.y);
    }

    if (m_bMultiplayer && m_pSession != nullptr && !IsClockRunning())
    {
        if (!m_pSession->ProcessMessages())
            return FALSE;
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Clock services

BOOL CKDRApp::IsDeploymentPhase() const { return m_pGameClock->IsDeploymentPhase(); }

BOOL CKDRApp::IsClockRunning() const { return m_pGameClock->IsRunning(); }

DWORD CKDRApp::StartClock() { return m_pGameClock->Start(); }

void CKDRApp::StopClock() { m_pGameClock->Stop(); }

void CKDRApp::AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp, int& nWholeSeconds)
{
    m_pGameClock->AdvanceIfRunning(tsElapsed, nGameMs, nRemainder, dwStamp, nWholeSeconds);
}

// ---------------------------------------------------------------------------
// Back-surface device context

CDC* CKDRApp::GetSurfaceDC()
{
    if (m_pDisplay == nullptr)
        return nullptr;
    // The display gives back a context still lent before it lends a new one.
    m_pSurfaceDC = m_pDisplay->GetSurfaceDC();
    m_bSurfaceDCLent = m_pSurfaceDC != nullptr;
    return m_pSurfaceDC;
}

BOOL CKDRApp::ReleaseSurfaceDC()
{
    if (!m_bSurfaceDCLent || m_pDisplay == nullptr)
        return FALSE;
    m_pDisplay->ReleaseSurfaceDC();
    m_pSurfaceDC = nullptr;
    m_bSurfaceDCLent = FALSE;
    return TRUE;
}

CWnd* CKDRApp::GetMapViewWnd() const { return GetActiveView(); }

// ---------------------------------------------------------------------------
// Sounds

BOOL CKDRApp::IsSoundDefined(int nKind, const CString& strName) const
{
    return m_pSoundManager != nullptr && m_pSoundManager->FindSound(nKind, strName) != -1;
}

void CKDRApp::PlayWeaponSound(const CString& strName)
{
    if (m_pSoundManager != nullptr)
        m_pSoundManager->PlayWeaponSound(strName);
}

void CKDRApp::PlayVehicleSound(const CString& strName)
{
    if (m_pSoundManager != nullptr)
        m_pSoundManager->PlayVehicleSound(strName);
}

void CKDRApp::PlayArtillerySound(const CString& strName)
{
    if (m_pSoundManager != nullptr && !strName.IsEmpty())
        m_pSoundManager->PlayArtillerySound(strName);
}

BOOL CKDRApp::LoadSoundList(const CString& strName, CString& strFileName)
{
    auto pNew = std::make_unique<CSoundManager>();
    if (!pNew->OpenSoundFile(strName))
        return FALSE;
    delete m_pSoundManager;
    m_pSoundManager = pNew.release();
    strFileName = m_pSoundManager->GetFileName();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Sides and session

BOOL CKDRApp::IsPlayingEnemySide() const
{
    if (m_bEnemySideChosen && m_bEnemySideInSession)
        return TRUE;
    return m_bMultiplayer && m_bPlayEnemySide;
}

BOOL CKDRApp::IsSessionStarted() const { return m_bMultiplayer && m_pSession != nullptr && m_pSession->m_bStarted; }

// ---------------------------------------------------------------------------
// Spot reports

// PostSpotReport, ShowPendingSpotReport and the report operations: KDRAppReports.cpp.

// ---------------------------------------------------------------------------
// AI-order directions

double CKDRApp::GetDirectionRadians(int nIndex) const
{
    if (nIndex < 0 || nIndex > 2)
        return kUnsetFloat;
    double dRadians = m_anDirection[nIndex] * RADIANS_PER_MIL;
    while (dRadians < -HALF_TURN)
        dRadians += FULL_TURN;
    while (dRadians > HALF_TURN)
        dRadians -= FULL_TURN;
    return dRadians;
}

void CKDRApp::SetDirectionMils(int nIndex, int nMils)
{
    if (nIndex >= 0 && nIndex <= 2)
        m_anDirection[nIndex] = nMils;
}

// ---------------------------------------------------------------------------
// Forwarders

CFrameWnd* CKDRApp::GetMainFrame() const { return dynamic_cast<CFrameWnd*>(m_pMainWnd); }

CKDRView* CKDRApp::GetActiveView() const
{
    CFrameWnd* pFrame = GetMainFrame();
    return pFrame != nullptr ? dynamic_cast<CKDRView*>(pFrame->GetActiveView()) : nullptr;
}

CKDRDoc* CKDRApp::GetActiveDocument() const
{
    CFrameWnd* pFrame = GetMainFrame();
    return pFrame != nullptr ? dynamic_cast<CKDRDoc*>(pFrame->GetActiveDocument()) : nullptr;
}

BOOL CKDRApp::ShowMessageBoxDlg(const CString& strTitle, const CString& strText, int nX, int nY)
{
    CKDRView* pView = GetActiveView();
    CKDRDoc* pDoc = pView != nullptr ? pView->GetDocument() : nullptr;
    if (pDoc == nullptr)
        return FALSE;
    return pDoc->ShowMessageBoxDlg(strTitle, strText, static_cast<float>(nX), static_cast<float>(nY)) != 0;
}

BOOL CKDRApp::ShowMissionList(CString& strScenario) { return RunMissionSelect(m_strDataDir, m_pMainWnd, strScenario); }

BOOL CKDRApp::ChooseSavedGame(CString& strName, int nMode)
{
    CKDRDoc* pDoc = GetActiveDocument();
    const CString strScenario = pDoc != nullptr ? pDoc->GetPathName() : CString();
    BOOL bChosen = FALSE;
    if (nMode != 0)
    {
        CLoadGameDlg dialog(m_pMainWnd);
        dialog.SetUp(*this, strScenario);
        bChosen = dialog.DoModal() == IDOK;
        if (bChosen)
            strName = dialog.m_strResult;
    }
    else
    {
        CSaveGameDlg dialog(m_pMainWnd);
        dialog.SetUp(*this, strScenario);
        bChosen = dialog.DoModal() == IDOK;
        if (bChosen)
            strName = dialog.m_strResult;
    }
    SetCurrentDir(m_strDataDir);
    return bChosen;
}

CKDRGameMap* CKDRApp::GetGameMap() const
{
    CKDRDoc* pDoc = GetActiveDocument();
    return pDoc != nullptr ? pDoc->GetGameMap() : nullptr;
}

CKDRDatabase* CKDRApp::GetDatabase() const
{
    CKDRDoc* pDoc = GetActiveDocument();
    return pDoc != nullptr ? pDoc->GetDatabase() : nullptr;
}

CFireMissionArray* CKDRApp::GetRoundsInFlight() const
{
    CKDRDoc* pDoc = GetActiveDocument();
    return pDoc != nullptr ? pDoc->GetFireMissions() : nullptr;
}

SFireOrder CKDRApp::GetFireOrder() const
{
    SFireOrder order;
    order.nMunition = m_anDisplaySettings[APP_FIRE_MUNITION];
    order.nTOT = m_anDisplaySettings[APP_FIRE_TOT];
    order.nVolleys = m_anDisplaySettings[APP_FIRE_VOLLEYS];
    order.nSheaf = m_anDisplaySettings[APP_FIRE_SHEAF];
    order.nAttitude = m_anDisplaySettings[APP_FIRE_ATTITUDE];
    order.nLength = m_anDisplaySettings[APP_FIRE_LENGTH];
    order.nOption = m_anDisplaySettings[APP_FIRE_OPTION];
    order.nMethod = m_anDisplaySettings[APP_FIRE_METHOD];
    order.strLabel = m_strDisplayLabel;
    return order;
}

int CKDRApp::LeaveSplashEffect(int nMunition, CFireMission* pRound)
{
    CKDRDoc* pDoc = GetActiveDocument();
    if (pDoc == nullptr || pRound == nullptr)
        return 0;
    switch (nMunition)
    {
    case MUNITION_SMOKE: return pDoc->AddSmokeFromImpact(pRound);
    case MUNITION_ILLUM: return pDoc->AddIllumFromImpact(pRound);
    case MUNITION_FASCAM: return pDoc->ApplyFASCAMImpact(pRound);
    case MUNITION_CHEMICAL: return pDoc->ApplyChemicalImpact(pRound);
    default: return 0;
    }
}

CKDRObstacles* CKDRApp::GetObstacleArray() const
{
    CKDRDoc* pDoc = GetActiveDocument();
    return pDoc != nullptr ? pDoc->GetObstacles() : nullptr;
}

CKDRHoles* CKDRApp::GetHoleArray() const
{
    CKDRDoc* pDoc = GetActiveDocument();
    return pDoc != nullptr ? pDoc->GetHoles() : nullptr;
}

void CKDRApp::RedrawView()
{
    if (CKDRView* pView = GetActiveView())
        pView->RedrawMap(FALSE);
}

void CKDRApp::OnUpdateAppAbout(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsClockRunning()); }

void CKDRApp::StoreViewSettings()
{
    if (CKDRView* pView = GetActiveView())
        pView->StoreViewProperties(FALSE);
}

void CKDRApp::RefreshViewForAIOrder()
{
    if (CKDRView* pView = GetActiveView())
        pView->RedrawMap(FALSE);
}
