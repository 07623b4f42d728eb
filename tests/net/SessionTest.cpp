// Sessions on loopback in one program: teams, refusals, time-outs and
// addresses (the programs-apart cases are in SessionProcessTest.cpp).
#include "net/PlaySession.h"
#include "support/NetLogCapture.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

CString AddressOf(const CPlaySession& host) { return CString("127.0.0.1:") + CString(std::to_string(host.GetHostPort())); }

void Join(CPlaySession& session, const char* name, const CString& address)
{
    session.PlayerName() = name;
    session.HostAddress() = address;
    session.SetHost(FALSE);
    ASSERT_TRUE(session.ConnectByAddress()) << name;
}
}  // namespace

TEST(PlaySession, TheOwnGroupIsTheTargetAlsoWhenBothGroupsExist)
{
    CNetLogCapture log;
    CPlaySession host;
    host.PlayerName() = "Alice";
    host.HostAddress() = ":0";
    ASSERT_TRUE(host.HostSession(CPlaySession::kDialogMaxPlayers));
    CPlaySession bob;
    Join(bob, "Bob", AddressOf(host));
    host.TeamName() = "friend";
    ASSERT_TRUE(host.CreateTeam());
    bob.TeamName() = "enemy";
    ASSERT_TRUE(bob.CreateTeam());
    CPlaySession carol;
    Join(carol, "Carol", AddressOf(host));
    carol.TeamName() = "enemy";
    ASSERT_TRUE(carol.CreateTeam());
    EXPECT_EQ(bob.GetDefaultTarget(), carol.GetDefaultTarget());
    EXPECT_NE(0u, carol.GetDefaultTarget());
}

TEST(PlaySession, AJoinRefusedOrTimedOutSaysWhyAndEnds)
{
    CNetLogCapture log;
    CPlaySession host;
    host.PlayerName() = "Alice";
    host.Password() = "secret";
    host.HostAddress() = ":0";
    ASSERT_TRUE(host.HostSession(CPlaySession::kAddressMaxPlayers));
    {
        ScopedScriptedUi ui;
        ui->ExpectMessage("Error", "Could not join session.", IDOK);
        CPlaySession wrong;
        wrong.Password() = "guess";
        wrong.PlayerName() = "Bob";
        wrong.HostAddress() = AddressOf(host);
        EXPECT_FALSE(wrong.ConnectByAddress());
    }
    CPlaySession bob;
    bob.Password() = "secret";
    Join(bob, "Bob", AddressOf(host));
    {
        // The by-address session takes two players.
        ScopedScriptedUi ui;
        ui->ExpectMessage("Error", "Could not join session.", IDOK);
        CPlaySession carol;
        carol.Password() = "secret";
        carol.PlayerName() = "Carol";
        carol.HostAddress() = AddressOf(host);
        EXPECT_FALSE(carol.ConnectByAddress());
    }
    const int port = host.GetHostPort();
    host.Close();
    {
        // Nobody listens any more: the join gives up at its time-out.
        ScopedScriptedUi ui;
        ui->ExpectMessage("Error", "Could not join session.", IDOK);
        CPlaySession late;
        late.PlayerName() = "Dan";
        late.HostAddress() = CString("127.0.0.1:") + CString(std::to_string(port));
        late.SetJoinTimeout(600);
        const Clock::time_point start = Clock::now();
        EXPECT_FALSE(late.ConnectByAddress());
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    }
}

TEST(PlaySession, AddressesWithAndWithoutAPort)
{
    struct Case
    {
        const char* text;
        BOOL ok;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {"10.0.0.7", TRUE, "10.0.0.7", CPlaySession::kDefaultPort},
        {"10.0.0.7:4000", TRUE, "10.0.0.7", 4000},
        {":0", TRUE, "", 0},
        {"10.0.0.7:", FALSE, "", 0},
        {"10.0.0.7:65536", FALSE, "", 0},
        {"10.0.0.7:4x", FALSE, "", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        CString host;
        int port = -1;
        EXPECT_EQ(c.ok, ParseSessionAddress(c.text, host, port));
        if (c.ok)
        {
            EXPECT_EQ(CString(c.host), host);
            EXPECT_EQ(c.port, port);
        }
    }
}
