#pragma once
// What the "Load Saved Game" and "Save Game" dialogs share: the kind of
// file they list, chosen from the application's side flags, and the folder
// it lies in.
//
// Saved games ("*.asg") lie in the saved-game directory; friendly set-ups
// ("*.set") and enemy set-ups ("*.est") in the set-up folder of the
// scenario, a folder named after the scenario's base name inside it. A
// chosen name comes back relative to the saved-game directory with its
// extension: "name.asg", or "base\name.set" / "base\name.est".

#include "platform/ui/Dialog.h"

class CKDRApp;

constexpr UINT IDC_SAVED_GAME_LIST = 1026;

class CSavedGameListDlg : public CDialog
{
public:
    // Takes the kind from the application's side flags, the saved-game
    // directory and the base name of the scenario at strScenarioPath.
    void SetUp(const CKDRApp& app, const CString& strScenarioPath);

    BOOL IsSetUp() const { return m_bEnemy || m_bFriendly; }
    // The directory listed: the saved-game directory or the set-up folder.
    CString GetListDirectory() const;
    // ".asg", ".set" or ".est".
    CString GetExtension() const;
    // The name relative to the saved-game directory, extension added.
    CString MakeResultName(const CString& strName) const;

    BOOL m_bEnemy = FALSE;
    BOOL m_bFriendly = FALSE;
    CString m_strBaseName;
    CString m_strSavegameDir;
    CString m_strResult;  // the chosen name, on OK

protected:
    CSavedGameListDlg(UINT nTemplateId, CWnd* pParent);
    // Every file of the kind in the directory, without extension, in name
    // order.
    void FillList();
};
