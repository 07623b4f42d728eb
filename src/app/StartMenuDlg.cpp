#include "app/StartMenuDlg.h"

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/MissionSelectDlg.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "net/MultiplayerSession.h"
#include "platform/ui/Command.h"
#include "platform/ui/Shell.h"
#include "units/KDRUnits.h"
#include "view/KDRView.h"

const char* const SCENARIO_BUILDER_PROGRAM = "kdrbuild.exe";

namespace
{
// A shell result above this is success.
constexpr HINSTANCE SHELL_FAILURE_LIMIT = 32;
}  // namespace

CStartMenuDlg::CStartMenuDlg(CWnd* pParent) : CDialog(IDD_START_MENU, pParent)
{
    MapCommand(IDC_START_NEW_MISSION, [this] { Choose(START_NEW_MISSION); });
    MapCommand(IDC_START_LOAD_MISSION, [this] { Choose(START_LOAD_MISSION); });
    MapCommand(IDC_START_MULTIPLAYER, [this] { Choose(START_MULTIPLAYER); });
    MapCommand(IDC_START_EXIT, [this] { Choose(START_EXIT); });
    MapCommand(IDC_START_BUILDER, [this] { OnScenarioBuilder(); });
}

void CStartMenuDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("").Style(DS_MODALFRAME).Size(240, 236);
    t.DefPushButton(IDC_START_NEW_MISSION, "Begin a New Mission", 20, 16, 200, 32);
    t.PushButton(IDC_START_LOAD_MISSION, "Load a Saved Mission", 20, 58, 200, 32);
    t.PushButton(IDC_START_BUILDER, "Scenario Builder...", 20, 100, 200, 32);
    t.PushButton(IDC_START_MULTIPLAYER, "Multiplayer...", 20, 142, 200, 32);
    t.PushButton(IDC_START_EXIT, "Exit", 20, 184, 200, 32);
}

void CStartMenuDlg::Choose(int nChoice)
{
    m_nChoice = nChoice;
    EndDialog(IDOK);
}

void CStartMenuDlg::OnScenarioBuilder()
{
    const HINSTANCE result = ShellExecute(nullptr, "open", SCENARIO_BUILDER_PROGRAM, nullptr, nullptr, SW_SHOWNORMAL);
    if (result <= SHELL_FAILURE_LIMIT)
        return;
    // The builder runs on its own: the mission is quit (the framework's
    // exit command).
    if (CWinApp* pApp = AfxGetApp())
        pApp->OnCmdMsg(ID_APP_EXIT, nullptr);
}

namespace
{
// The mission selection on the data directory, then the chosen scenario.
void SelectAndOpenScenario(CKDRApp& app)
{
    CString strFile;
    if (RunMissionSelect(app.m_strDataDir, app.m_pMainWnd, strFile))
        app.OpenScenarioFile(strFile);
}
}  // namespace

BOOL StartMultiplayer(CKDRApp& app)
{
    delete app.m_pSession;
    app.m_pSession = new CMultiplayerSession;
    CMultiplayerSession& session = *app.m_pSession;
    while (session.GetState() != CMultiplayerSession::STATE_GIVEN_UP &&
           session.GetState() != CMultiplayerSession::STATE_SINGLE_ENEMY_SIDE &&
           session.RunSetup(app.m_strDataDir) == 0)
    {
    }
    const int nState = session.GetState();
    if (nState == CMultiplayerSession::STATE_SINGLE_ENEMY_SIDE)
    {
        app.m_bMultiplayer = FALSE;
        app.m_bEnemySideChosen = TRUE;
        return TRUE;
    }
    if (nState == CMultiplayerSession::STATE_GIVEN_UP)
    {
        delete app.m_pSession;
        app.m_pSession = nullptr;
        app.m_bMultiplayer = FALSE;
        app.m_bEnemySideChosen = FALSE;
        return FALSE;
    }
    app.m_bEnemySideChosen = FALSE;
    app.m_bMultiplayer = TRUE;
    app.m_bPlayEnemySide = session.m_bEnemySide;
    return TRUE;
}

int RunStartMenu(CKDRApp& app)
{
    CStartMenuDlg dialog(app.m_pMainWnd);
    app.m_bMultiplayer = FALSE;

    for (;;)
    {
        if (dialog.DoModal() != IDOK)
            continue;

        if (dialog.m_nChoice == START_NEW_MISSION)
        {
            app.m_bDocumentOpened = FALSE;
            SelectAndOpenScenario(app);
            if (app.m_bDocumentOpened)
                break;
        }
        else if (dialog.m_nChoice == START_LOAD_MISSION)
        {
            app.m_bDocumentOpened = FALSE;
            CString strName;
            CKDRDoc* pDoc = app.GetActiveDocument();
            if (app.ChooseSavedGame(strName, 1) && pDoc != nullptr && pDoc->OpenSavedGame(strName))
                app.m_bDocumentOpened = TRUE;
            if (app.m_bDocumentOpened)
                break;
        }
        else if (dialog.m_nChoice == START_MULTIPLAYER)
        {
            if (!StartMultiplayer(app))
                continue;
            if (app.m_bMultiplayer && app.m_pSession != nullptr)
            {
                CKDRDoc* pDoc = dynamic_cast<CKDRDoc*>(app.OpenDocumentFile(app.m_pSession->m_strScenarioFile));
                if (pDoc != nullptr)
                    app.m_bDocumentOpened = TRUE;
            }
            if (app.m_bEnemySideChosen && !app.m_bMultiplayer)
                SelectAndOpenScenario(app);
            break;
        }
        else if (dialog.m_nChoice == START_EXIT)
        {
            return 0;
        }
    }

    app.RefreshPiecesShown();
    return 1;
}
