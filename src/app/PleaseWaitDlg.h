#pragma once
// CPleaseWaitDlg: the modeless "Please Wait..." window shown while a long
// job runs. It is created and shown as it is made; its owner sets the
// reason and destroys it when the job is done. Cancel closes it and marks
// it cancelled, which the owner may ask.

#include "platform/ui/Dialog.h"

constexpr UINT IDD_PLEASE_WAIT = 103;
constexpr UINT IDC_PLEASE_WAIT_REASON = 1016;

class CPleaseWaitDlg : public CDialog
{
public:
    explicit CPleaseWaitDlg(CWnd* pOwner);
    ~CPleaseWaitDlg() override;

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    void SetReason(const CString& strReason);
    BOOL IsCancelled() const { return m_bCancelled; }

    CString m_strReason = "Please Wait...";

private:
    BOOL m_bCancelled = FALSE;
};
