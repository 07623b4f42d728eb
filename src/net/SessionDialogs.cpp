#include "net/SessionDialogs.h"

#include "net/PlaySession.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/ListBox.h"

#include <cstdio>

namespace
{
// The one connection this system has.
constexpr const char* kTcpConnection = "Internet TCP/IP Connection";
}  // namespace

int CPlaySession::RunSessionDialog()
{
    if (m_bHost)
    {
        CDPHostSessionDlg dialog(*this);
        return dialog.DoModal() == IDOK ? 1 : 0;
    }
    CDPJoinSessionDlg dialog(*this);
    return dialog.DoModal() == IDOK ? 1 : 0;
}

CDPHostSessionDlg::CDPHostSessionDlg(CPlaySession& session) : CDialog(IDD_DP_HOST_SESSION), m_session(session) {}

void CDPHostSessionDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Host Session").Size(300, 150);
    t.Static(IDC_STATIC, "Connection:", 10, 12, 90, 20);
    t.ComboBox(IDC_DP_CONNECTION, 100, 10, 190, 24);
    t.Static(IDC_STATIC, "Session name:", 10, 46, 90, 20);
    t.Edit(IDC_DP_SESSION_NAME, 100, 44, 190, 24);
    t.DefPushButton(IDOK, "OK", 60, 110, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 160, 110, 80, 26);
}

BOOL CDPHostSessionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CComboBox* connections = GetDlgControl<CComboBox>(IDC_DP_CONNECTION))
    {
        connections->AddString(kTcpConnection);
        connections->SetCurSel(0);
    }
    SetDlgItemText(IDC_DP_SESSION_NAME, m_session.PlayerName());
    return TRUE;
}

void CDPHostSessionDlg::OnOK()
{
    m_session.SessionName() = GetDlgItemText(IDC_DP_SESSION_NAME).Left(kMaxSessionName);
    if (m_session.HostSession(CPlaySession::kDialogMaxPlayers))
        EndDialog(IDOK);
}

CDPJoinSessionDlg::CDPJoinSessionDlg(CPlaySession& session) : CDialog(IDD_DP_JOIN_SESSION), m_session(session)
{
    MapCommand(IDC_DP_FIND, [this] { OnFind(); });
}

void CDPJoinSessionDlg::BuildTemplate(CDialogTemplate& t)
{
    t.Caption("Join Session").Size(320, 230);
    t.Static(IDC_STATIC, "Host address:", 10, 12, 90, 20);
    t.Edit(IDC_DP_HOST_ADDRESS, 100, 10, 120, 24);
    t.PushButton(IDC_DP_FIND, "Find", 230, 10, 80, 24);
    t.ListBox(IDC_DP_SESSIONS, 10, 44, 300, 100);
    t.Static(IDC_STATIC, "Password:", 10, 154, 90, 20);
    t.Edit(IDC_DP_PASSWORD, 100, 152, 120, 24, ES_AUTOHSCROLL | ES_PASSWORD);
    t.DefPushButton(IDOK, "Join", 70, 190, 80, 26);
    t.PushButton(IDCANCEL, "Cancel", 170, 190, 80, 26);
}

BOOL CDPJoinSessionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_DP_HOST_ADDRESS, m_session.HostAddress());
    SetDlgItemText(IDC_DP_PASSWORD, m_session.Password());
    return TRUE;
}

void CDPJoinSessionDlg::OnFind()
{
    CListBox* sessions = GetDlgControl<CListBox>(IDC_DP_SESSIONS);
    if (!sessions)
        return;
    sessions->ResetContent();
    m_strFoundAddress.Empty();
    const CString address = GetDlgItemText(IDC_DP_HOST_ADDRESS);
    CPlaySession::SessionInfo info;
    if (!m_session.QuerySession(address, info))
    {
        sessions->AddString("No session found at this address.");
        return;
    }
    char line[128];
    std::snprintf(line, sizeof line, "%s (%d of %d players)%s", info.name.GetString(), info.players, info.maxPlayers,
                  info.passwordRequired ? ", password" : "");
    sessions->AddString(line);
    sessions->SetCurSel(0);
    m_strFoundAddress = address;
}

void CDPJoinSessionDlg::OnOK()
{
    if (m_strFoundAddress.IsEmpty())
    {
        OnFind();
        if (m_strFoundAddress.IsEmpty())
            return;
    }
    m_session.HostAddress() = m_strFoundAddress;
    m_session.Password() = GetDlgItemText(IDC_DP_PASSWORD);
    if (m_session.JoinSession())
        EndDialog(IDOK);
}
