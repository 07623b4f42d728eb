#pragma once
// CMissionSelectDlg: lists every scenario file ("*.asc") of a directory by
// its main mission's name and shows the selected one's name and
// description. A scenario whose mission cannot be read is still listed,
// under its file name, with "No description Available.". OK with a
// selection chooses the first scenario whose mission carries the selected
// name.

#include "platform/core/Collections.h"
#include "platform/ui/Dialog.h"

constexpr UINT IDD_MISSION_SELECT = 256;
constexpr UINT IDC_MISSION_LIST = 1026;
constexpr UINT IDC_MISSION_NAME = 1041;
constexpr UINT IDC_MISSION_DESCRIPTION = 1094;

class CMissionSelectDlg : public CDialog
{
public:
    explicit CMissionSelectDlg(const CString& strDirectory, CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    // One entry per scenario file, in the three parallel arrays.
    CStringArray m_astrDescriptions;
    CStringArray m_astrMissionNames;
    CStringArray m_astrFileNames;
    CString m_strDescription;  // shown
    CString m_strMissionName;  // shown
    CString m_strDirectory;
    CString m_strFileName;  // the chosen scenario

private:
    void OnSelChange();
    // The first entry whose mission name is the selected text, or -1.
    int FindSelectedEntry() const;
};

// Runs the mission selection on a directory; TRUE and the chosen
// scenario's file name on OK.
BOOL RunMissionSelect(const CString& strDirectory, CWnd* pOwner, CString& strFileName);
