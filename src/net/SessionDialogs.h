#pragma once
// The session dialogs of the session link (CNetLink): the host dialog
// chooses the connection and names the session; the join dialog takes a
// host address, lists the session found there and joins it. Each ends with
// 1 once its session is open; a failure is shown by the session layer and
// leaves the dialog open for another try or Cancel.

#include "platform/ui/Dialog.h"

class CPlaySession;

constexpr UINT IDD_DP_HOST_SESSION = 30746;
constexpr UINT IDD_DP_JOIN_SESSION = 101;
constexpr UINT IDC_DP_CONNECTION = 1000;
constexpr UINT IDC_DP_SESSION_NAME = 1001;
constexpr UINT IDC_DP_HOST_ADDRESS = 1002;
constexpr UINT IDC_DP_FIND = 1003;
constexpr UINT IDC_DP_SESSIONS = 1004;
constexpr UINT IDC_DP_PASSWORD = 1005;

class CDPHostSessionDlg : public CDialog
{
public:
    static constexpr int kMaxSessionName = 30;
    explicit CDPHostSessionDlg(CPlaySession& session);
    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CPlaySession& m_session;
};

class CDPJoinSessionDlg : public CDialog
{
public:
    explicit CDPJoinSessionDlg(CPlaySession& session);
    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnFind();

private:
    CPlaySession& m_session;
    CString m_strFoundAddress;  // where the listed session is
};
