#include "app/SaveGameDlg.h"

#include "platform/core/CodePage.h"
#include "platform/core/File.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/UiService.h"

#include <cstring>
#include <string>

namespace
{
// Characters a save name may not hold: they would name another directory
// or another kind of file.
const char* const kRefusedCharacters = ".\\/?*:";
const char* const kInvalidNameText = "This is not a valid save name\n The character ";
const char* const kNotAllowedText = " is not allowed";
}  // namespace

CSaveGameDlg::CSaveGameDlg(CWnd* pParent) : CSavedGameListDlg(IDD_SAVE_GAME, pParent)
{
    MapNotify(IDC_SAVED_GAME_LIST, LBN_SELCHANGE, [this] { OnSelChange(); });
    MapNotify(IDC_SAVED_GAME_LIST, LBN_DBLCLK,
              [this]
              {
                  OnSelChange();
                  OnOK();
              });
}

CSaveGameDlg::~CSaveGameDlg() { RemoveMadeFolder(); }

void CSaveGameDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Save Game").Size(300, 260);
    t.Static(IDC_STATIC, "Save Name:", 10, 10, 200, 16);
    t.Edit(IDC_SAVE_NAME, 10, 30, 280, 22);
    t.ListBox(IDC_SAVED_GAME_LIST, 10, 60, 280, 152, LBS_NOTIFY | LBS_SORT);
    t.DefPushButton(IDOK, "OK", 120, 222, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 210, 222, 80, 26);
}

BOOL CSaveGameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CEdit* pEdit = GetDlgControl<CEdit>(IDC_SAVE_NAME))
        pEdit->LimitText(SAVE_NAME_LIMIT);
    if (IsSetUp() && !DirectoryExists(GetListDirectory()))
        m_bFolderCreated = CreateDir(GetListDirectory());
    CenterWindow();
    FillList();
    return TRUE;
}

void CSaveGameDlg::OnSelChange()
{
    CListBox* pList = GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
    const int nSelected = pList != nullptr ? pList->GetCurSel() : LB_ERR;
    if (nSelected != LB_ERR)
        SetDlgItemText(IDC_SAVE_NAME, pList->GetText(nSelected));
}

void CSaveGameDlg::OnOK()
{
    m_strName = GetDlgItemText(IDC_SAVE_NAME);
    // The name is stored in the game in the code page, so a character the
    // page lacks is refused by name rather than saved as '?'.
    std::string strUnencodable;
    if (const CEdit* pEdit = GetDlgControl<CEdit>(IDC_SAVE_NAME);
        pEdit != nullptr && !Utf8ToCodePage(pEdit->GetTextUtf8(), m_strName, &strUnencodable))
    {
        const std::string strText =
            std::string(kInvalidNameText) + "'" + strUnencodable + "'" + kNotAllowedText;
        GetUiService().MessageBox(this, CString(strText), "Error", MB_OK | MB_ICONSTOP | MB_TEXT_UTF8);
        return;
    }
    for (int i = 0; i < m_strName.GetLength(); ++i)
    {
        const char ch = m_strName[i];
        if (std::strchr(kRefusedCharacters, ch) == nullptr)
            continue;
        const CString strText = CString(kInvalidNameText) + "'" + CString(ch) + "'" + kNotAllowedText;
        GetUiService().MessageBox(this, strText, "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    CListBox* pList = GetDlgControl<CListBox>(IDC_SAVED_GAME_LIST);
    if (pList != nullptr && pList->FindStringExact(-1, m_strName) != LB_ERR)
    {
        const CString strText = "The file '" + m_strName + "' already exists.\nDo you want to replace it?";
        if (GetUiService().MessageBox(this, strText, "Warning", MB_YESNO | MB_ICONEXCLAMATION | MB_SYSTEMMODAL) !=
            IDYES)
            return;
    }
    if (m_strName.IsEmpty())
        return;
    m_bChosen = TRUE;
    m_strResult = MakeResultName(m_strName);
    EndDialog(IDOK);
}

void CSaveGameDlg::OnCancel()
{
    RemoveMadeFolder();
    CDialog::OnCancel();
}

void CSaveGameDlg::RemoveMadeFolder()
{
    if (!m_bFolderCreated || m_bChosen)
        return;
    m_bFolderCreated = FALSE;
    RemoveDir(GetListDirectory());
}
