#pragma once
// CSaveGameDlg: the modal "Save Game" dialog. It lists the saved games, or
// the set-ups of the open scenario (SavedGameListDlg.h), creating the
// set-up folder when it is missing, and takes a name typed or picked from
// the list. A name holding '.', '\', '/', '?', '*' or ':' is refused with a
// message naming the character; a name already listed (whatever its case)
// is replaced only when the player says so. Cancelled, the dialog removes
// a set-up folder it made, when that is still empty.

#include "app/SavedGameListDlg.h"

constexpr UINT IDD_SAVE_GAME = 258;
constexpr UINT IDC_SAVE_NAME = 1040;
constexpr int SAVE_NAME_LIMIT = 248;

class CSaveGameDlg : public CSavedGameListDlg
{
public:
    explicit CSaveGameDlg(CWnd* pParent = nullptr);
    ~CSaveGameDlg() override;

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BOOL m_bFolderCreated = FALSE;
    BOOL m_bChosen = FALSE;
    CString m_strName;

private:
    void OnSelChange();
    // Removes the set-up folder this dialog made, unless a name was chosen.
    void RemoveMadeFolder();
};
