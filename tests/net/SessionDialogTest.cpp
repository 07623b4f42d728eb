// The session dialogs: a host names its session, a player finds it by the
// host's address, sees it listed and joins.
#include "net/PlaySession.h"
#include "net/SessionDialogs.h"
#include "platform/ui/ListBox.h"
#include "support/NetLogCapture.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

TEST(SessionDialogs, AHostNamesTheSessionAndAPlayerFindsAndJoinsIt)
{
    CNetLogCapture log;
    ScopedScriptedUi ui;
    CPlaySession host;
    host.SetHost(TRUE);
    host.PlayerName() = "Alice";
    host.HostAddress() = ":0";
    ui->ExpectDialog(IDD_DP_HOST_SESSION, IDOK,
                     [](CDialog& d) { d.SetDlgItemText(IDC_DP_SESSION_NAME, "Evening battle, second of three tonight"); });
    ASSERT_EQ(1, host.RunSessionDialog());
    EXPECT_EQ(CString("Evening battle, second of thre"), host.SessionName()) << "30 characters at most";

    CPlaySession player;
    player.PlayerName() = "Bob";
    const CString address = CString("127.0.0.1:") + CString(std::to_string(host.GetHostPort()));
    CString listed;
    ui->ExpectDialog(IDD_DP_JOIN_SESSION, IDOK, [&](CDialog& d) {
        d.SetDlgItemText(IDC_DP_HOST_ADDRESS, "127.0.0.1:1");
        d.PressButton(IDC_DP_FIND);
        CListBox* sessions = d.GetDlgControl<CListBox>(IDC_DP_SESSIONS);
        ASSERT_NE(nullptr, sessions);
        EXPECT_EQ(CString("No session found at this address."), sessions->GetText(0));
        d.SetDlgItemText(IDC_DP_HOST_ADDRESS, address);
        d.PressButton(IDC_DP_FIND);
        listed = sessions->GetText(0);
    });
    ASSERT_EQ(1, player.RunSessionDialog());
    EXPECT_EQ(CString("Evening battle, second of thre (1 of 10 players)"), listed);
    int count = 0;
    EXPECT_TRUE(player.CountPlayers(&count));
    EXPECT_EQ(2, count);
}
