#include "app/LoadGameDlg.h"

#include "platform/core/File.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/UiService.h"

CLoadGameDlg::CLoadGameDlg(CWnd* pParent) : CSavedGameListDlg(IDD_LOAD_GAME, pParent)
{
    MapNotify(IDC_SAVED_GAME_LIST, LBN_DBLCLK, [this] { OnOK(); });
}

void CLoadGameDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Load Saved Game").Size(300, 260);
    t.Static(IDC_STATIC, "Select saved game from the list below.", 10, 10, 280, 16);
    t.ListBox(IDC_SAVED_GAME_LIST, 10, 32, 280, 180, LBS_NOTIFY | LBS_SORT);
    t.DefPushButton(IDOK, "OK", 120, 222, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 210, 222, 80, 26);
}

BOOL CLoadGameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (IsSetUp() && !DirectoryExists(GetListDirectory()))
    {
        const CString strText =
            CString("There are no saved ") + (m_bEnemy ? "enemy " : "") + "setups\r\navailable for this scenario.";
        GetUiService().MessageBox(this, strText, "Error", MB_OK | MB_ICONSTOP);
        EndDialog(IDCANCEL);
        return TRUE;
    }
    CenterWindow();
    FillList();
    return TRUE;
}

void CLoadGameDlg::OnOK()
{
    CListBox* pList = GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
    const int nSelected = pList != nullptr ? pList->GetCurSel() : LB_ERR;
    if (nSelected == LB_ERR)
        return;
    m_strResult = MakeResultName(pList->GetText(nSelected));
    EndDialog(IDOK);
}
