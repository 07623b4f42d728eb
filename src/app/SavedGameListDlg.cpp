#include "app/SavedGameListDlg.h"

#include "app/KDRApp.h"
#include "platform/core/File.h"
#include "platform/ui/ListBox.h"

CSavedGameListDlg::CSavedGameListDlg(UINT nTemplateId, CWnd* pParent) : CDialog(nTemplateId, pParent) {}

void CSavedGameListDlg::SetUp(const CKDRApp& app, const CString& strScenarioPath)
{
    m_bEnemy = FALSE;
    m_bFriendly = FALSE;
    // Outside a multiplayer game the side chosen at the start decides;
    // inside one, the side played.
    if (app.m_bEnemySideChosen)
    {
        m_bEnemy = app.m_bEnemySideInSession;
        m_bFriendly = !app.m_bEnemySideInSession;
    }
    else if (app.m_bMultiplayer)
    {
        m_bEnemy = app.m_bPlayEnemySide;
        m_bFriendly = !app.m_bPlayEnemySide;
    }
    m_strSavegameDir = app.m_strSavegameDir;
    SplitPath(strScenarioPath, nullptr, &m_strBaseName, nullptr);
}

CString CSavedGameListDlg::GetListDirectory() const
{
    return IsSetUp() ? m_strSavegameDir + "\\" + m_strBaseName : m_strSavegameDir;
}

CString CSavedGameListDlg::GetExtension() const
{
    if (m_bFriendly)
        return ".set";
    return m_bEnemy ? ".est" : ".asg";
}

CString CSavedGameListDlg::MakeResultName(const CString& strName) const
{
    return IsSetUp() ? m_strBaseName + "\\" + strName + GetExtension() : strName + GetExtension();
}

void CSavedGameListDlg::FillList()
{
    CListBox* pList = GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
    if (pList == nullptr)
        return;
    pList->ResetContent();
    const CString strDir = GetListDirectory();
    SetCurrentDir(strDir);
    for (const CString& strFile : ListFiles(strDir, "*" + GetExtension()))
    {
        CString strBase;
        SplitPath(strFile, nullptr, &strBase, nullptr);
        pList->AddString(strBase);
    }
}
