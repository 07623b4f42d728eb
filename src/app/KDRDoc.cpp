#include "app/KDRDoc.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRMissions.h"
#include "app/MessageBoxDlg.h"
#include "app/KDROpord.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"
#include "mission/Mission.h"
#include "net/MultiplayerSession.h"
#include "shell/DrawService.h"
#include "shell/PlayService.h"
#include "orders/Order.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"
#include "platform/ui/View.h"
#include "units/KDRUnits.h"
#include "units/SpotReportArray.h"
#include "view/KDRView.h"

#include <memory>

namespace
{
// Sides of the units component's counting: the player's own side, the
// opposing side and the third side (own and opposing swap when the local
// player plays the enemy side).
constexpr int UNIT_SIDE_OPPOSING = 0;
constexpr int UNIT_SIDE_OWN = 1;
constexpr int UNIT_SIDE_THIRD = 2;

// The hierarchy of a force variant goes to the units' side-1 hierarchy.
constexpr int VARIANT_HIERARCHY_SIDE = 1;

// Side of the obstacle and dug-position arrays a force variant of mission
// side 1 or 2 fills: side 1 is the friendly force (array side 0), side 2
// the enemy (array side 1).
int ArraySideOfVariant(int nSide) { return nSide == 1 ? 0 : 1; }

// Archive buffer of the mission list's scenario reads.
constexpr int SCENARIO_READ_BUFFER = 4096;
}  // namespace

CKDRDoc::CKDRDoc()
    : m_pSmoke(nullptr),
      m_nOwnTotalA(0),
      m_nOwnTotalB(0),
      m_nThirdTotalA(0),
      m_nThirdTotalB(0),
      m_nOpposingTotalA(0),
      m_nOpposingTotalB(0),
      m_tsElapsed(0),
      m_pOwnCounts(nullptr),
      m_pOpposingCounts(nullptr),
      m_pThirdCounts(nullptr),
      m_bOwnCounts(0),
      m_bOpposingCounts(0),
      m_bThirdCounts(0),
      m_nVehicleTypeCount(0),
      m_bOpenedFromSavedGame(0),
      m_bFireMissions(0),
      m_pFireMissions(nullptr),
      m_pTaskOrgGroups(nullptr),
      m_pMessageBox(nullptr),
      m_bFreshOpen(1)
{
    m_pPreviousMission = SetMissionService(this);
    MapCommand(ID_HELP_VEHICLE_SPECS, [this] { OnHelpVehicleSpecs(); });
    MapCommand(ID_FILE_SAVE_GAME, [this] { DoSave(nullptr, TRUE); });
    MapUpdate(ID_FILE_SAVE_GAME, [this](CCmdUI* pCmdUI) { OnUpdateFileSaveGame(pCmdUI); });
    MapUpdate(ID_HELP_VEHICLE_SPECS, [this](CCmdUI* pCmdUI) { OnUpdateHelpVehicleSpecs(pCmdUI); });
    MapCommand(ID_ACTIONS_FM_LOG, [this] { OnFireMissionLog(); });
    MapUpdate(ID_ACTIONS_FM_LOG, [this](CCmdUI* pCmdUI) { OnUpdateFireMissionLog(pCmdUI); });
    RegisterDocumentCommands();
}

CKDRDoc::~CKDRDoc()
{
    if (GetMissionService() == this)
        SetMissionService(m_pPreviousMission);
    // The windows and the application may already be gone: only the
    // document's own data is freed here.
    if (m_pMessageBox != nullptr)
    {
        if (m_pMessageBox->IsWindow())
            m_pMessageBox->DestroyWindow();
        else
            delete m_pMessageBox;
        m_pMessageBox = nullptr;
    }
    DeleteComponents();
    DeleteRunTimeArrays();
    FreeCountBlocks();
}

// ---------------------------------------------------------------------------
// Run-time arrays and count blocks

void CKDRDoc::CreateRunTimeArrays()
{
    delete m_pTaskOrgGroups;
    m_pTaskOrgGroups = new CTaskOrgArrayArray;
    delete m_pFireMissions;
    m_pFireMissions = new CFireMissionArray;
    m_bFireMissions = 1;
    delete m_pSmoke;
    m_pSmoke = new CSmokeArray;
}

void CKDRDoc::DeleteRunTimeArrays()
{
    delete m_pTaskOrgGroups;
    m_pTaskOrgGroups = nullptr;
    delete m_pFireMissions;
    m_pFireMissions = nullptr;
    m_bFireMissions = 0;
    delete m_pSmoke;
    m_pSmoke = nullptr;
}

void CKDRDoc::FreeCountBlocks()
{
    delete[] m_pOwnCounts;
    m_pOwnCounts = nullptr;
    m_bOwnCounts = 0;
    delete[] m_pOpposingCounts;
    m_pOpposingCounts = nullptr;
    m_bOpposingCounts = 0;
    delete[] m_pThirdCounts;
    m_pThirdCounts = nullptr;
    m_bThirdCounts = 0;
    m_nVehicleTypeCount = 0;
}

// ---------------------------------------------------------------------------
// Framework steps

BOOL CKDRDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;

    m_bFreshOpen = 1;
    m_strVariantUnits1.Empty();
    m_strVariantUnits2.Empty();
    m_strVariantHoles1.Empty();
    m_strVariantHoles2.Empty();
    m_strVariantObstacles1.Empty();
    m_strVariantObstacles2.Empty();
    m_nOwnTotalA = m_nOwnTotalB = 0;
    m_nThirdTotalA = m_nThirdTotalB = 0;
    m_nOpposingTotalA = m_nOpposingTotalB = 0;
    m_bGameMap = m_bDatabase = m_bUnits = m_bObstacles = 0;
    m_bHoles = m_bOpord = m_bEnvironment = m_bMissions = 0;
    m_tMissionStart = CTime(0);
    m_bOpenedFromSavedGame = 0;
    CreateRunTimeArrays();

    if (CKDRApp* pApp = GetKDRApp())
    {
        if (CGameClock* pClock = pApp->GetGameClock())
        {
            pClock->m_tStart = CTime(0);
            pClock->Reset();
        }
        pApp->m_bWithdrawArenaPost = FALSE;
        pApp->m_nWithdrawPasses = 0;
        pApp->m_bPiecesShown = FALSE;
        if (pApp->m_bMultiplayer && pApp->m_pSession != nullptr)
            pApp->m_pSession->ClearGameFields();
    }
    UpdateAllViews(nullptr, KDR_HINT_DOCUMENT_EMPTIED);
    return TRUE;
}

void CKDRDoc::DeleteContents()
{
    UpdateAllViews(nullptr, KDR_HINT_CONTENTS_DELETED);
    CKDRApp* pApp = GetKDRApp();

    DeleteComponents();
    DeleteRunTimeArrays();

    m_tMissionStart = CTime(0);
    if (pApp != nullptr)
    {
        if (CGameClock* pClock = pApp->GetGameClock())
            pClock->m_tStart = CTime(0);
        delete pApp->m_pSpotReports;
        pApp->m_pSpotReports = new CSpotReportArray;
        pApp->m_bWithdrawArenaPost = FALSE;
        pApp->m_nWithdrawPasses = 0;
    }

    FreeCountBlocks();
    m_bOpenedFromSavedGame = 0;
    CDocument::DeleteContents();
}

void CKDRDoc::Serialize(CArchive& ar) { SerializeScenario(ar); }

BOOL CKDRDoc::OnOpenDocument(const char* path)
{
    UpdateAllViews(nullptr, KDR_HINT_OPENING);
    const BOOL bResult = OpenScenario(path);
    UpdateAllViews(nullptr, KDR_HINT_OPEN_ENDED);
    return bResult;
}

BOOL CKDRDoc::OpenScenario(const char* path)
{
    if (!m_strDataDir.IsEmpty())
        SetCurrentDir(m_strDataDir);

    // The framework's open empties the document, reads the scenario and
    // reports a file it cannot open or read; a failed read leaves it empty.
    if (!CDocument::OnOpenDocument(path))
        return FALSE;

    if (m_bFreshOpen)
        CreateRunTimeArrays();

    // The game clock is the play service's, the sides' choices the
    // application's (a headless shell plays one side alone).
    CPlayService* pPlay = GetPlayService();
    if (pPlay == nullptr)
        return FALSE;
    CKDRApp* pApp = GetKDRApp();
    UpdateAllViews(nullptr, KDR_HINT_LOADING_COMPONENTS);

    const BOOL bResult = LoadComponents();

    if (!bResult || !m_bFreshOpen)
    {
        m_bFreshOpen = 1;
    }
    else
    {
        ApplySideFixUps(pApp);

        if (CGameTime* pClock = pPlay->GetGameClock())
        {
            pClock->m_tStart = m_tMissionStart;
            pClock->m_tsElapsed = CTimeSpan(0);
            if (CKDREnvironment* pEnvironment = GetEnvironment())
                pEnvironment->UpdateLightCondition(*pClock);
        }
        UpdateAllViews(nullptr, KDR_HINT_MISSION_OPENED);
    }

    SetModifiedFlag(FALSE);
    return bResult;
}

BOOL CKDRDoc::LoadComponents()
{
    for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
    {
        if (!IsPresent(i))
            continue;
        BOOL bPrerequisites = TRUE;
        if (i == KDR_UNITS)
            bPrerequisites = IsPresent(KDR_GAME_MAP) && IsPresent(KDR_DATABASE);
        else if (i == KDR_OBSTACLES || i == KDR_HOLES)
            bPrerequisites = IsPresent(KDR_GAME_MAP);
        if (!bPrerequisites)
            return FALSE;
        try
        {
            if (!LoadComponent(i))
                return FALSE;
        }
        catch (const CException& e)
        {
            // A component file that is short or malformed fails the open
            // like any other load; the message says what went wrong.
            AfxMessageBox(e.GetErrorText(), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CKDRDoc::LoadComponent(int nComponent)
{
    switch (nComponent)
    {
    case KDR_GAME_MAP:
        UpdateAllViews(nullptr, KDR_HINT_OBJECTS_REPLACED);
        if (!m_pGameMap->LoadMapFiles(m_pDisplay, m_strDataDir))
            return FALSE;
        SetModifiedFlag(TRUE);
        return TRUE;
    case KDR_DATABASE:
    {
        m_pDatabase->SetDirectories(m_strDataDir, m_strSavegameDir);
        return m_pDatabase->ReloadLists();
    }
    case KDR_UNITS:
        if (!m_pUnits->LoadUnitFiles(m_strDataDir))
            return FALSE;
        m_pUnits->PrepareUnits(0, m_pGameMap, m_pDatabase);
        m_pUnits->CheckUnitsAgainstDatabase(m_pDatabase, m_pGameMap);
        m_pUnits->SetArrayNames(m_pDatabase);
        m_pUnits->UpdateAllHeadings(m_pDatabase);
        CopyTaskOrgGroupsFromUnits();
        return TRUE;
    case KDR_OBSTACLES: return m_pObstacles->LoadByName(m_pGameMap, m_strDataDir);
    case KDR_HOLES: return m_pHoles->LoadByName(m_pGameMap, m_strDataDir);
    case KDR_OPORD: return m_pOpord->LoadFiles();
    case KDR_ENVIRONMENT: return m_pEnvironment->LoadFromFile(m_pEnvironment->m_strFileName, m_strDataDir);
    case KDR_MISSIONS: return m_pMissions->LoadMissionFiles(m_strDataDir);
    default: return FALSE;
    }
}

void CKDRDoc::ApplySideFixUps(CKDRApp* pApp)
{
    m_bOpenedFromSavedGame = 0;
    CKDRDatabase* pDatabase = GetDatabase();
    CKDRGameMap* pMap = GetGameMap();
    // The scenario's sides are turned round only when the side was chosen
    // in the multiplayer set-up.
    const BOOL bSideChosen = pApp != nullptr && (pApp->m_bMultiplayer || pApp->m_bEnemySideChosen);

    if (CKDRUnits* pUnits = GetUnits())
    {
        if (pApp != nullptr && pApp->m_bMultiplayer)
            pUnits->AfterOpenUnits(pDatabase, pMap);
        if (bSideChosen)
            pUnits->FixUpAfterOpen(pDatabase, pMap);
        if (CDrawService* pDraw = GetDrawService())
            pDraw->SetPiecesShown(pUnits->OwnUnitsHavePieces(pDatabase));
    }
    if (CKDRObstacles* pObstacles = GetObstacles(); pObstacles != nullptr && bSideChosen)
        pObstacles->FixUpAfterLoad(pMap, pApp->IsPlayingEnemySide(),
                                   !pApp->IsSessionStarted() && !pApp->m_bEnemySideChosen);
    if (CKDRHoles* pHoles = GetHoles(); pHoles != nullptr && bSideChosen)
        pHoles->FixUpAfterLoad(pMap, pApp->IsPlayingEnemySide(),
                               !pApp->IsSessionStarted() && !pApp->m_bEnemySideChosen);
    if (CKDROpord* pOpord = GetOpord(); pOpord != nullptr && bSideChosen)
        pOpord->SwapSidesForPlayer();
    if (GetMissions() != nullptr)
        CountForces(0);
    if (CKDRUnits* pUnits = GetUnits())
    {
        if (pDatabase != nullptr && pMap != nullptr)
        {
            pUnits->CheckUnitsAgainstDatabase(pDatabase, pMap);
            pUnits->PrepareUnits(0, pMap, pDatabase);
        }
        if (CKDRHoles* pHoles = GetHoles(); pHoles != nullptr && pDatabase != nullptr)
            pHoles->AssignOccupants(pUnits, pMap);
    }
}

BOOL CKDRDoc::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr && (pApp->m_bMultiplayer || pApp->m_bSkipSavePrompt))
    {
        pApp->m_bSkipSavePrompt = FALSE;
        return TRUE;
    }
    const int nAnswer = GetUiService().MessageBox(AfxGetMainWnd(), "Do you wish to save your game before exiting?",
                                                  "Save Game?", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (nAnswer == IDCANCEL)
        return FALSE;
    if (nAnswer == IDNO)
    {
        SetModifiedFlag(FALSE);
        return TRUE;
    }
    CString strName;
    if (pApp == nullptr || !pApp->ChooseSavedGame(strName, 0))
        return FALSE;
    return OnSaveDocument(strName);
}

// ---------------------------------------------------------------------------
// Force variants and counts

void CKDRDoc::CountForces(int keepOpposing)
{
    const CPlayService* pPlay = GetPlayService();
    CKDRUnits* pUnits = GetUnits();
    CKDRDatabase* pDatabase = GetDatabase();
    if (pPlay == nullptr || pUnits == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return;

    if (!pPlay->IsNetworkGame())
    {
        MergeForceVariant(1);
        MergeForceVariant(2);
    }

    int nOwnSide = UNIT_SIDE_OWN;
    int nOpposingSide = UNIT_SIDE_OPPOSING;
    if (pPlay->IsPlayingEnemySide())
        std::swap(nOwnSide, nOpposingSide);

    auto count = [&](int nSide, int& nTotalA, int& nTotalB, int*& pBlock, int& bPresent)
    {
        delete[] pBlock;
        pBlock = nullptr;
        bPresent = 0;
        int* pNew = nullptr;
        if (pUnits->CountUnits(nSide, pDatabase, nTotalA, nTotalB, pNew))
        {
            pBlock = pNew;
            bPresent = 1;
        }
        else
        {
            delete[] pNew;
        }
    };

    count(nOwnSide, m_nOwnTotalA, m_nOwnTotalB, m_pOwnCounts, m_bOwnCounts);
    if (keepOpposing == 0)
    {
        m_nVehicleTypeCount = 0;
        count(nOpposingSide, m_nOpposingTotalA, m_nOpposingTotalB, m_pOpposingCounts, m_bOpposingCounts);
        m_nVehicleTypeCount = pDatabase->GetVehicleCount();
    }
    count(UNIT_SIDE_THIRD, m_nThirdTotalA, m_nThirdTotalB, m_pThirdCounts, m_bThirdCounts);
    if (keepOpposing == 0)
        pDatabase->WriteIndexPage();
}

void CKDRDoc::MergeForceVariant(int nSide)
{
    const CPlayService* pPlay = GetPlayService();
    const CKDRApp* pApp = GetKDRApp();
    if (pPlay == nullptr || pPlay->IsMultiplayer() || (pApp != nullptr && pApp->m_bEnemySideChosen))
        return;
    if (nSide != 1 && nSide != 2)
        return;
    CKDRMissions* pMissions = GetMissions();
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    if (pMissions == nullptr || pUnits == nullptr || pMap == nullptr)
        return;

    CString& strUnitsOut = nSide == 1 ? m_strVariantUnits1 : m_strVariantUnits2;
    CString& strHolesOut = nSide == 1 ? m_strVariantHoles1 : m_strVariantHoles2;
    CString& strObstaclesOut = nSide == 1 ? m_strVariantObstacles1 : m_strVariantObstacles2;
    strUnitsOut.Empty();
    strHolesOut.Empty();
    strObstaclesOut.Empty();

    CString strUnits, strHoles, strObstacles, strHierarchy;
    pMissions->GetForceVariant(nSide, strUnits, strHoles, strObstacles, strHierarchy);

    if (!strUnits.IsEmpty() && pUnits->MergeUnitFile(strUnits))
        strUnitsOut = strUnits;

    if (!strHoles.IsEmpty())
    {
        const BOOL bCreated = GetHoles() == nullptr;
        if (bCreated)
            SetHoles(new CKDRHoles);
        if (m_pHoles->LoadHoleArray(ArraySideOfVariant(nSide), strHoles, pMap, m_strDataDir))
            strHolesOut = strHoles;
        else if (bCreated)
            SetHoles(nullptr);
    }

    if (!strObstacles.IsEmpty())
    {
        const BOOL bCreated = GetObstacles() == nullptr;
        if (bCreated)
            SetObstacles(new CKDRObstacles);
        if (m_pObstacles->LoadObstacleArray(ArraySideOfVariant(nSide), strObstacles, pMap, m_strDataDir))
            strObstaclesOut = strObstacles;
        else if (bCreated)
            SetObstacles(nullptr);
    }

    if (!strHierarchy.IsEmpty())
    {
        auto pHierarchy = std::make_unique<CHierarchyArray>();
        if (pHierarchy->LoadHierarchyFile(strHierarchy, m_strDataDir))
        {
            delete pUnits->m_pHierarchy[VARIANT_HIERARCHY_SIDE];
            pUnits->m_pHierarchy[VARIANT_HIERARCHY_SIDE] = pHierarchy.release();
            pUnits->m_bHierarchy[VARIANT_HIERARCHY_SIDE] = TRUE;
        }
    }
}

// ---------------------------------------------------------------------------
// Task-organisation groups

namespace
{
// A new list of deep copies of the source's lists, after the units dropped
// the entries whose units are gone.
CTaskOrgArrayArray* CopyGroups(CKDRUnits* pUnits, CTaskOrgArrayArray* pSource)
{
    auto* pCopy = new CTaskOrgArrayArray;
    if (pSource == nullptr)
        return pCopy;
    pUnits->ValidateTaskOrgs(pSource);
    for (int i = 0; i < pSource->GetSize(); ++i)
    {
        if (const CTaskOrgArray* pList = pSource->GetAt(i))
            pCopy->SetList(new CTaskOrgArray(*pList));
    }
    return pCopy;
}
}  // namespace

void CKDRDoc::CopyTaskOrgGroupsFromUnits()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return;
    delete m_pTaskOrgGroups;
    m_pTaskOrgGroups = nullptr;
    m_pTaskOrgGroups = CopyGroups(pUnits, pUnits->m_pTaskOrgLists);
}

void CKDRDoc::CopyTaskOrgGroupsToUnits()
{
    CKDRUnits* pUnits = GetUnits();
    if (pUnits == nullptr)
        return;
    delete pUnits->m_pTaskOrgLists;
    pUnits->m_pTaskOrgLists = nullptr;
    pUnits->m_pTaskOrgLists = CopyGroups(pUnits, m_pTaskOrgGroups);
}

// ---------------------------------------------------------------------------
// The missions slot of a scenario

CKDRMissions* CKDRDoc::ReadScenarioMissions(CArchive& ar)
{
    CKDRScenario scenario;
    scenario.SerializeScenario(ar);
    return scenario.DetachMissions();
}

BOOL CKDRDoc::ReadMissionInfo(const CString& strDataDir, const CString& strPath, CString& strName, CString& strText)
{
    SetCurrentDir(strDataDir);
    try
    {
        std::unique_ptr<CKDRMissions> pMissions;
        {
            CFile file;
            if (!file.Open(strPath, CFile::modeRead | CFile::typeBinary))
                return FALSE;
            CArchive ar(&file, CArchive::load, SCENARIO_READ_BUFFER);
            pMissions.reset(ReadScenarioMissions(ar));
        }
        if (pMissions == nullptr)
            return FALSE;
        // A missing mission file would make the mission offer a file dialog
        // for every scenario listed: it is checked first.
        {
            CFile check;
            if (pMissions->m_strSlot0File.IsEmpty() ||
                !check.Open(pMissions->m_strSlot0File, CFile::modeRead | CFile::typeBinary))
                return FALSE;
        }
        if (!pMissions->LoadMission(0, CString(pMissions->m_strSlot0File), strDataDir))
            return FALSE;
        CMission* pMain = pMissions->GetMission(0);
        if (pMain == nullptr)
            return FALSE;
        strName = pMain->m_strName;
        strText = pMain->m_strDescription;
        return TRUE;
    }
    catch (const CException&)
    {
        return FALSE;
    }
}

CString CKDRDoc::GetMissionTitle() const
{
    CString strTitle;
    if (CKDRMissions* pMissions = GetMissions())
        strTitle = pMissions->GetMainMissionName();
    if (strTitle.IsEmpty())
    {
        if (CKDROpord* pOpord = GetOpord(); pOpord != nullptr && pOpord->m_bOrder && pOpord->m_pOrder != nullptr)
            strTitle = pOpord->m_pOrder->m_strName;
    }
    return strTitle;
}

void CKDRDoc::OnUpdateFileSaveGame(CCmdUI* pCmdUI)
{
    const CKDRApp* pApp = GetKDRApp();
    const CGameClock* pClock = pApp != nullptr ? pApp->GetGameClock() : nullptr;
    pCmdUI->Enable(pApp != nullptr && !pApp->IsClockRunning() && pClock != nullptr && pClock->IsClockWindowShown() &&
                   IsModified() && !pApp->m_bMultiplayer);
}

void CKDRDoc::OnHelpVehicleSpecs()
{
    if (CKDRDatabase* pDatabase = GetDatabase(); pDatabase != nullptr && pDatabase->GetSpecsWindow() != nullptr)
        pDatabase->ShowVehiclePage(-1);
}

void CKDRDoc::OnUpdateHelpVehicleSpecs(CCmdUI* pCmdUI)
{
    CKDRDatabase* pDatabase = GetDatabase();
    pCmdUI->Enable(pDatabase != nullptr && pDatabase->HasVehicleList());
    pCmdUI->SetCheck(pDatabase != nullptr && pDatabase->IsSpecsWindowOpen() ? 1 : 0);
}

BOOL CKDRDoc::ToggleFireMissionLog()
{
    CKDRUnits* pUnits = GetUnits();
    CKDRGameMap* pMap = GetGameMap();
    CFireMissionArray* pRounds = GetFireMissions();
    if (pUnits == nullptr || pMap == nullptr || pRounds == nullptr)
        return FALSE;
    pUnits->ShowFireMissionLog(0, pMap, pRounds);
    return TRUE;
}

void CKDRDoc::OnFireMissionLog()
{
    CKDRApp* pApp = GetKDRApp();
    CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr;
    if (pView == nullptr || !pView->IsCommandAllowed(ID_ACTIONS_FM_LOG) || !ToggleFireMissionLog())
        return;
    pView->StoreFMLogShown();
}

void CKDRDoc::OnUpdateFireMissionLog(CCmdUI* pCmdUI)
{
    CKDRApp* pApp = GetKDRApp();
    CKDRView* pView = pApp != nullptr ? pApp->GetActiveView() : nullptr;
    pCmdUI->Enable(pView != nullptr && pView->IsCommandAllowed(ID_ACTIONS_FM_LOG));
    pCmdUI->SetCheck(IsFireMissionLogOpen() ? 1 : 0);
}

int CKDRDoc::ShowMessageBoxDlg(const CString& strTitle, const CString& strText, float fX, float fY)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return 0;
    // One box at a time: a new message replaces the one still open.
    if (m_pMessageBox != nullptr && m_pMessageBox->IsWindow())
        m_pMessageBox->DestroyWindow();
    delete m_pMessageBox;
    m_pMessageBox = nullptr;

    CView* pOwner = GetFirstView();
    auto* pBox = new CMessageBoxDlg(pOwner != nullptr ? static_cast<CWnd*>(pOwner) : AfxGetMainWnd(), &m_pMessageBox);
    pBox->m_strCaption = strTitle;
    pBox->m_strText = strText;
    // Without a map picture the point cannot be placed: the box is centred.
    if (pMap->GetMapPicture() != nullptr && pMap->GetElevationMap() != nullptr)
    {
        int px = 0, py = 0;
        pMap->GetElevationMap()->MapToPixel(fX, fY, &px, &py);
        pMap->PictureToView(px, py, &pBox->m_nX, &pBox->m_nY);
    }
    m_pMessageBox = pBox;
    if (!pBox->CreateBox())
    {
        delete pBox;
        return 0;
    }
    if (CWnd* pCancel = pBox->GetDlgItem(IDCANCEL))
        pCancel->ShowWindow(SW_HIDE);
    return 1;
}
