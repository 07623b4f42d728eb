#pragma once
// CLoadGameDlg: the modal "Load Saved Game" dialog. It lists the saved
// games, or the friendly or enemy set-ups of the open scenario
// (SavedGameListDlg.h), and answers the one chosen (OK or a double click).
// Set-ups of a scenario that has no set-up folder are not offered: a
// message says so and the dialog ends as cancelled.

#include "app/SavedGameListDlg.h"

constexpr UINT IDD_LOAD_GAME = 257;

class CLoadGameDlg : public CSavedGameListDlg
{
public:
    explicit CLoadGameDlg(CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
