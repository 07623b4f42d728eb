#include "app/MissionSelectDlg.h"

#include "app/KDRDoc.h"
#include "platform/core/File.h"

namespace
{
const char* const NO_DESCRIPTION = "No description Available.";
}

CMissionSelectDlg::CMissionSelectDlg(const CString& strDirectory, CWnd* pParent)
    : CDialog(IDD_MISSION_SELECT, pParent), m_strDirectory(strDirectory), m_strFileName("*.asc")
{
    MapNotify(IDC_MISSION_LIST, LBN_SELCHANGE, [this] { OnSelChange(); });
    MapNotify(IDC_MISSION_LIST, LBN_DBLCLK, [this] { OnOK(); });
}

void CMissionSelectDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Select a Mission").Size(460, 300);
    t.Static(IDC_STATIC, "Missions", 10, 10, 180, 16);
    t.ListBox(IDC_MISSION_LIST, 10, 30, 180, 220, LBS_NOTIFY | WS_VSCROLL | WS_BORDER);
    t.Static(IDC_STATIC, "Mission Name", 205, 10, 245, 16);
    t.Static(IDC_MISSION_NAME, "", 205, 30, 245, 20, SS_LEFT | SS_SUNKEN);
    t.Static(IDC_STATIC, "Mission Description", 205, 60, 245, 16);
    t.Edit(IDC_MISSION_DESCRIPTION, 205, 80, 245, 170, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL);
    t.DefPushButton(IDOK, "OK", 280, 262, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 370, 262, 80, 26);
}

void CMissionSelectDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_MISSION_DESCRIPTION, m_strDescription);
    DDX_Text(pDX, IDC_MISSION_NAME, m_strMissionName);
}

BOOL CMissionSelectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    SetCurrentDir(m_strDirectory);

    m_astrDescriptions.RemoveAll();
    m_astrMissionNames.RemoveAll();
    m_astrFileNames.RemoveAll();
    for (const CString& strFile : ListFiles("*.asc"))
        m_astrFileNames.Add(strFile);

    for (const CString& strFile : m_astrFileNames)
    {
        CString strName, strText;
        if (CKDRDoc::ReadMissionInfo(m_strDirectory, strFile, strName, strText))
        {
            m_astrDescriptions.Add(strText);
            m_astrMissionNames.Add(strName);
        }
        else
        {
            m_astrDescriptions.Add(NO_DESCRIPTION);
            m_astrMissionNames.Add(strFile);
        }
    }

    if (CListBox* pList = GetDlgControl<CListBox>(IDC_MISSION_LIST))
    {
        for (const CString& strName : m_astrMissionNames)
        {
            if (!strName.IsEmpty())
                pList->AddString(strName);
        }
    }
    return TRUE;
}

int CMissionSelectDlg::FindSelectedEntry() const
{
    CListBox* pList = GetDlgControl<CListBox>(IDC_MISSION_LIST);
    if (pList == nullptr)
        return -1;
    const int nSel = pList->GetCurSel();
    if (nSel == LB_ERR)
        return -1;
    const CString strSelected = pList->GetText(nSel);
    for (int i = 0; i < m_astrMissionNames.GetSize(); ++i)
    {
        if (m_astrMissionNames[i] == strSelected)
            return i;
    }
    return -1;
}

void CMissionSelectDlg::OnSelChange()
{
    const int nEntry = FindSelectedEntry();
    if (nEntry < 0)
        return;
    m_strFileName = m_astrFileNames[nEntry];
    m_strMissionName = m_astrMissionNames[nEntry];
    m_strDescription = m_astrDescriptions[nEntry];
    UpdateData(FALSE);
}

void CMissionSelectDlg::OnOK()
{
    const int nEntry = FindSelectedEntry();
    if (nEntry < 0)
        return;
    m_strFileName = m_astrFileNames[nEntry];
    EndDialog(IDOK);
}

BOOL RunMissionSelect(const CString& strDirectory, CWnd* pOwner, CString& strFileName)
{
    CMissionSelectDlg dialog(strDirectory, pOwner);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    strFileName = dialog.m_strFileName;
    return TRUE;
}
