// Programs on loopback: the host here, the other players in children of
// this test program that join by "127.0.0.1:PORT".
#include "net/Message.h"
#include "net/NetLink.h"
#include "net/PlaySession.h"
#include "support/ChildRun.h"
#include "support/NetLogCapture.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr const char* kRoleVariable = "KDR_NET_ROLE";
constexpr const char* kAddressVariable = "KDR_NET_ADDRESS";

std::string Role() { return qEnvironmentVariable(kRoleVariable).toStdString(); }
CString Address() { return CString(qEnvironmentVariable(kAddressVariable).toUtf8().constData()); }
QString LoopbackAddress(int port) { return QStringLiteral("127.0.0.1:%1").arg(port); }

void Say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done())
    {
        if (Clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

int Players(CPlaySession& session)
{
    int count = 0;
    return session.CountPlayers(&count) ? count : -1;
}

std::string Sorted(const CStringArray& names)
{
    std::vector<std::string> list;
    for (int i = 0; i < names.GetSize(); ++i)
        list.push_back(names[i].GetString());
    std::sort(list.begin(), list.end());
    std::string out;
    for (const std::string& name : list)
        out += (out.empty() ? "" : ",") + name;
    return out;
}

std::string Received(CPlaySession& session)
{
    if (!session.Receive())
        return "<lost>";
    return std::string(reinterpret_cast<const char*>(session.GetReceivedData()),
                       static_cast<size_t>(session.GetReceivedSize()));
}

void Send(CPlaySession& session, const std::string& text, BOOL team, const char* name)
{
    EXPECT_TRUE(session.SendToPlayer(text.data(), static_cast<int>(text.size()), team, name)) << text;
}

// The other player's part of the three-player test.
void PlayTeamMate()
{
    CNetLogCapture log;
    const std::string me = Role();
    CPlaySession session;
    session.PlayerName() = me.c_str();
    session.HostAddress() = Address();
    ASSERT_TRUE(session.ConnectByAddress());
    ASSERT_TRUE(WaitFor([&] { return Players(session) == 3; }, 10000));
    CStringArray names;
    ASSERT_TRUE(session.ListGamePlayers(names));
    EXPECT_EQ(me == "Bob" ? "Alice,Carol" : "Alice,Bob", Sorted(names));
    session.TeamName() = me == "Bob" ? "friend" : "enemy";
    ASSERT_TRUE(session.JoinTeam());
    Say("ready " + me);
    if (me == "Bob")
    {
        EXPECT_EQ("to the team", Received(session));
        EXPECT_EQ("to all", Received(session));
    }
    else
    {
        EXPECT_EQ("to Carol", Received(session));
        EXPECT_EQ("to all", Received(session));
    }
    Send(session, "done " + me, FALSE, "Alice");
    EXPECT_EQ("end", Received(session));
}
}  // namespace

TEST(NetProcesses, ThreePlayersListEachOtherAndSendsReachOnlyTheirTargets)
{
    if (IsTestChild())
    {
        PlayTeamMate();
        return;
    }
    CNetLogCapture log;
    CPlaySession host;
    host.PlayerName() = "Alice";
    host.SessionName() = "Test";
    host.HostAddress() = ":0";
    ASSERT_TRUE(host.HostSession(CPlaySession::kDialogMaxPlayers));
    const QString address = LoopbackAddress(host.GetHostPort());
    CChildProcess bob;
    CChildProcess carol;
    ASSERT_TRUE(bob.Start({{kRoleVariable, "Bob"}, {kAddressVariable, address}}));
    ASSERT_TRUE(carol.Start({{kRoleVariable, "Carol"}, {kAddressVariable, address}}));
    ASSERT_TRUE(bob.WaitForOutput("ready Bob", 20000)) << bob.Output();
    ASSERT_TRUE(carol.WaitForOutput("ready Carol", 20000)) << carol.Output();

    CStringArray names;
    host.ListGamePlayers(names);
    EXPECT_EQ("Bob,Carol", Sorted(names));
    host.TeamName() = "friend";
    ASSERT_TRUE(host.JoinTeam());
    host.ListGroupPlayers(names);
    EXPECT_EQ("Bob", Sorted(names));

    Send(host, "to the team", TRUE, "");
    Send(host, "to Carol", FALSE, "Carol");
    Send(host, "to all", FALSE, "");
    // Had the host's own "to all" come back, it would stand first here.
    std::vector<std::string> done = {Received(host), Received(host)};
    std::sort(done.begin(), done.end());
    EXPECT_EQ((std::vector<std::string>{"done Bob", "done Carol"}), done);

    {
        ScopedScriptedUi ui;
        ui->ExpectMessage("Error", "Could not create player.", IDOK);
        CPlaySession secondBob;
        secondBob.PlayerName() = "Bob";
        secondBob.HostAddress() = address.toUtf8().constData();
        EXPECT_FALSE(secondBob.ConnectByAddress());
    }
    host.ListGamePlayers(names);
    EXPECT_EQ("Bob,Carol", Sorted(names)) << "the first Bob stays";

    Send(host, "end", FALSE, "");
    const CChildRun bobRun = bob.Finish(20000);
    const CChildRun carolRun = carol.Finish(20000);
    EXPECT_TRUE(bobRun.Passed()) << bobRun.output;
    EXPECT_TRUE(carolRun.Passed()) << carolRun.output;
}

namespace
{
constexpr int kSoakMessages = 20000;

// Mostly game-sized messages, every 97th up to the largest, and both ends
// of the range.
int SoakSize(int i)
{
    if (i == 100)
        return CMessage::kMaxPayload;
    if (i == 101)
        return 1;
    if (i % 97 == 0)
        return 1 + (i * 7919) % CMessage::kMaxPayload;
    return 1 + (i * 31) % 700;
}

void SoakPayload(int i, std::vector<BYTE>& payload)
{
    payload.resize(static_cast<size_t>(SoakSize(i)));
    for (size_t k = 0; k < payload.size(); ++k)
        payload[k] = static_cast<BYTE>((i * 131 + static_cast<int>(k) * 7 + (i >> 8)) & 0xFF);
    // Now and then the end marker inside, and at the very end.
    if (i % 5 == 0 && payload.size() >= 4)
        payload[payload.size() - 1] = payload[payload.size() - 2] = payload[payload.size() - 3] = 0x03;
}

DWORD SoakType(int i) { return static_cast<DWORD>(1 + i % 500); }

// One side of the soak: sends its messages while it takes the other's,
// checking each, and stops reading for 2 s once, when it has sent pauseAt.
void Soak(CMessage& message, int pauseAt)
{
    std::vector<BYTE> payload;
    std::vector<BYTE> got(20000);
    int sent = 0;
    int received = 0;
    bool paused = false;
    Clock::time_point resume;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(90);
    while ((sent < kSoakMessages || received < kSoakMessages) && Clock::now() < deadline)
    {
        for (int burst = 0; burst < 16 && sent < kSoakMessages; ++burst, ++sent)
        {
            SoakPayload(sent, payload);
            ASSERT_EQ(1, message.SendLinkMessage(payload.data(), static_cast<int>(payload.size()), SoakType(sent), 0,
                                                 CString()))
                << "message " << sent;
            if (sent == pauseAt)
            {
                paused = true;
                resume = Clock::now() + std::chrono::seconds(2);
            }
        }
        if (paused)
        {
            if (Clock::now() < resume)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            paused = false;
        }
        int length = 0;
        bool any = false;
        for (DWORD type = 0; received < kSoakMessages &&
                             (type = message.GetNextMessage(got.data(), static_cast<int>(got.size()), &length)) != 0;)
        {
            any = true;
            SoakPayload(received, payload);
            ASSERT_EQ(SoakType(received), type) << "message " << received;
            ASSERT_EQ(payload.size(), static_cast<size_t>(length)) << "message " << received;
            ASSERT_EQ(0, std::memcmp(payload.data(), got.data(), payload.size())) << "message " << received;
            ++received;
        }
        if (!any && sent >= kSoakMessages)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(kSoakMessages, sent);
    EXPECT_EQ(kSoakMessages, received);
}

std::unique_ptr<CMessage> OpenAddressLink(const char* name, const CString& address, bool host)
{
    std::unique_ptr<CMessage> message = CMessage::Create(CMessage::kAddressLink);
    if (!message)
        return nullptr;
    message->GetLink()->SetAddress(name, "", address);
    if (message->Open(host ? 0 : 1) != 1)
        return nullptr;
    if ((host ? message->StartHost(0) : message->StartJoin(0)) != 1)
        return nullptr;
    return message;
}
}  // namespace

TEST(NetProcesses, SoakTwentyThousandMessagesEachWayAcrossTheWrap)
{
    CNetLogCapture log;
    if (IsTestChild())
    {
        std::unique_ptr<CMessage> message = OpenAddressLink("Joiner", Address(), false);
        ASSERT_TRUE(message);
        ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 10000));
        Soak(*message, 12000);
        // Stay until the host has all of ours.
        int length = 0;
        BYTE end[4];
        WaitFor([&] { return message->GetNextMessage(end, sizeof end, &length) == 0xFFFF; }, 30000);
        message->Hangup();
        return;
    }
    std::unique_ptr<CMessage> message = OpenAddressLink("Host", ":0", true);
    ASSERT_TRUE(message);
    CChildProcess joiner;
    ASSERT_TRUE(joiner.Start({{kAddressVariable, LoopbackAddress(CPlaySession::Default().GetHostPort())}}));
    ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 20000)) << joiner.Output();
    Soak(*message, 5000);
    ScopedScriptedUi ui;
    ui->ExpectMessage("DirectPlay Error", "Opponent disconnected", IDOK);
    message->SendLinkMessage(nullptr, 0, 0xFFFF, 0, CString());
    const CChildRun run = joiner.Finish(60000);
    EXPECT_TRUE(run.Passed()) << run.output;
    // The joiner has left: the host is told so.
    EXPECT_TRUE(WaitFor([&] { return ui->IsScriptDone(); }, 5000));
    message->Hangup();
}

namespace
{
double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
}  // namespace

TEST(NetProcesses, APeerKilledMidStreamIsReportedOnceWithinFiveSeconds)
{
    CNetLogCapture log;
    if (IsTestChild())
    {
        std::unique_ptr<CMessage> message = OpenAddressLink("Doomed", Address(), false);
        ASSERT_TRUE(message);
        ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 10000));
        const std::vector<BYTE> payload(1000, 0x41);
        Say("streaming");
        for (;;)
        {
            message->SendLinkMessage(payload.data(), static_cast<int>(payload.size()), 7, 0, CString());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    std::unique_ptr<CMessage> message = OpenAddressLink("Survivor", ":0", true);
    ASSERT_TRUE(message);
    CChildProcess peer;
    ASSERT_TRUE(peer.Start({{kAddressVariable, LoopbackAddress(CPlaySession::Default().GetHostPort())}}));
    ASSERT_TRUE(WaitFor([&] { return message->IsConnected() != 0; }, 20000)) << peer.Output();
    std::vector<BYTE> got(20000);
    int length = 0;
    int taken = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            while (message->GetNextMessage(got.data(), static_cast<int>(got.size()), &length) != 0)
                ++taken;
            return taken >= 50;
        },
        10000));

    ScopedScriptedUi ui;
    ui->ExpectMessage("DirectPlay Error", "Opponent disconnected", IDOK);
    peer.Kill();
    const Clock::time_point killed = Clock::now();
    EXPECT_TRUE(WaitFor(
        [&] {
            while (message->GetNextMessage(got.data(), static_cast<int>(got.size()), &length) != 0)
                ++taken;
            return ui->IsScriptDone() && message->IsConnected() == 0;
        },
        5000));
    EXPECT_LT(Clock::now() - killed, std::chrono::seconds(5));
    // Nothing keeps working once the peer is gone: no thread spins, and the
    // notice is not shown again.
    const double before = CpuSeconds();
    WaitFor([] { return false; }, 500);
    EXPECT_LT(CpuSeconds() - before, 0.25);
    EXPECT_EQ(0, message->IsConnected());
    message->Hangup();
}
