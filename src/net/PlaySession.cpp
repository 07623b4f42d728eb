#include "net/PlaySession.h"

#include "net/NetShell.h"
#include "net/SessionRelay.h"
#include "platform/net/NetLog.h"
#include "platform/net/NetThread.h"
#include "platform/net/TcpSocket.h"
#include "platform/ui/UiService.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

using namespace SessionRecord;

const BYTE kSessionAppId[kAppIdSize] = {0x94, 0x9A, 0x21, 0xE1, 0x61, 0x79, 0x11, 0xCF,
                                        0x95, 0x4F, 0x00, 0xAA, 0x00, 0x6C, 0x26, 0x57};

namespace
{
using Clock = std::chrono::steady_clock;

constexpr int kConnectAttemptMs = 1000;
constexpr int kConnectRetryMs = 250;
constexpr int kAnswerTimeoutMs = 5000;
constexpr const char* kErrorCaption = "Error";

int MillisecondsLeft(Clock::time_point deadline)
{
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
}
}  // namespace

BOOL ParseSessionAddress(const CString& text, CString& host, int& port)
{
    port = NetProfileInt("Multiplayer", "Port", CPlaySession::kDefaultPort);
    const int colon = text.Find(':');
    host = colon < 0 ? text : text.Left(colon);
    if (colon >= 0)
    {
        const CString digits = text.Mid(colon + 1);
        if (digits.IsEmpty() || digits.GetLength() > 5)
            return FALSE;
        int value = 0;
        for (int i = 0; i < digits.GetLength(); ++i)
        {
            if (digits[i] < '0' || digits[i] > '9')
                return FALSE;
            value = value * 10 + (digits[i] - '0');
        }
        if (value > 65535)
            return FALSE;
        port = value;
    }
    return TRUE;
}

CPlaySession& CPlaySession::Default()
{
    static CPlaySession session;
    return session;
}

// The network thread must outlive every session, the process-wide one too.
CPlaySession::CPlaySession() { StartNetThread(); }

CPlaySession::~CPlaySession() { Close(); }

void CPlaySession::Fail(const char* text) { NetShowMessage(text, kErrorCaption, MB_OK | MB_ICONSTOP); }

void CPlaySession::ResetState()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_stream.Clear();
    m_roster = CSessionRoster();
    m_nLocalId = 0;
    m_nDefaultTarget = 0;
    m_answer = Answer::None;
    m_nRefusal = 0;
    m_queue.clear();
    m_bConnected = FALSE;
    m_bLost = FALSE;
    m_bRelayGone = FALSE;
    m_bClosing = FALSE;
    m_bHadOthers = FALSE;
    m_bLostNoticed = FALSE;
}

int CPlaySession::GetHostPort() const { return m_nHostPort; }

void CPlaySession::CancelJoin() { m_bCancelJoin = true; }

BOOL CPlaySession::IsOpen() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bConnected;
}

BOOL CPlaySession::ConnectByAddress()
{
    if (m_bHost)
    {
        m_strSessionName = kAddressSessionName;
        return HostSession(kAddressMaxPlayers);
    }
    return JoinSession();
}

BOOL CPlaySession::HostSession(int nMaxPlayers)
{
    Close();
    ResetState();
    CString host;
    int port = 0;
    if (!ParseSessionAddress(m_strHostAddress, host, port))
    {
        Fail("Could not create session.");
        return FALSE;
    }
    CSessionSettings settings;
    std::memcpy(settings.appId, kSessionAppId, kAppIdSize);
    settings.name = m_strSessionName;
    settings.password = m_strPassword;
    settings.maxPlayers = nMaxPlayers;
    CString error;
    m_pRelay = CRelayServer::Start(settings, port, &error);
    if (!m_pRelay)
    {
        NetLog("no session on port %d: %s", port, error.GetString());
        Fail("Could not create session.");
        return FALSE;
    }
    m_nHostPort = m_pRelay->GetPort();
    if (!Connect("127.0.0.1", m_nHostPort, kAnswerTimeoutMs, FALSE) || !SayHello(kAnswerTimeoutMs))
    {
        Close();
        Fail("Could not create player.");
        return FALSE;
    }
    return TRUE;
}

BOOL CPlaySession::JoinSession()
{
    Close();
    ResetState();
    m_bCancelJoin = false;
    CString host;
    int port = 0;
    if (!ParseSessionAddress(m_strHostAddress, host, port) || host.IsEmpty())
    {
        Fail("Could not join session.");
        return FALSE;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(m_nJoinTimeoutMs);
    // The host may not be listening yet: try again until the time is up.
    while (!Connect(host, port, std::min(kConnectAttemptMs, std::max(MillisecondsLeft(deadline), 1)), FALSE))
    {
        if (m_bCancelJoin)
            return FALSE;
        if (MillisecondsLeft(deadline) <= 0)
        {
            Fail("Could not join session.");
            return FALSE;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kConnectRetryMs));
    }
    if (!SayHello(std::max(MillisecondsLeft(deadline), kAnswerTimeoutMs)))
    {
        BYTE refusal = 0;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            refusal = m_answer == Answer::Refused ? m_nRefusal : 0;
        }
        Close();
        if (!m_bCancelJoin)
            Fail(refusal == NameTaken ? "Could not create player." : "Could not join session.");
        return FALSE;
    }
    return TRUE;
}

BOOL CPlaySession::Connect(const CString& host, int port, int timeoutMs, BOOL bShowFailure)
{
    CString error;
    std::unique_ptr<CTcpConnection> connection = CTcpConnection::Connect(host, port, timeoutMs, &error);
    if (!connection)
    {
        NetLog("no connection to %s:%d: %s", host.GetString(), port, error.GetString());
        if (bShowFailure)
            Fail("Could not join session.");
        return FALSE;
    }
    std::shared_ptr<CTcpConnection> shared(std::move(connection));
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_pConnection = shared;
        m_stream.Clear();
    }
    CTcpConnection::Handlers handlers;
    handlers.onData = [this](const BYTE* data, int size) { OnRelayBytes(data, size); };
    handlers.onClosed = [this] { OnRelayClosed(); };
    shared->Start(std::move(handlers));
    return TRUE;
}

BOOL CPlaySession::SayHello(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_answer = Answer::None;
    m_out.Begin(Hello).Bytes(kSessionAppId, kAppIdSize).Text(m_strPassword).Text(m_strPlayerName);
    if (m_pConnection)
        m_pConnection->Send(m_out.Finish().data(), static_cast<int>(m_out.Finish().size()));
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                       [&] { return m_answer != Answer::None || m_bLost || m_bCancelJoin; });
    if (m_answer == Answer::Welcome)
        m_bConnected = TRUE;
    return m_answer == Answer::Welcome;
}

BOOL CPlaySession::QuerySession(const CString& address, SessionInfo& info)
{
    Close();
    ResetState();
    CString host;
    int port = 0;
    if (!ParseSessionAddress(address, host, port) || host.IsEmpty() ||
        !Connect(host, port, std::min(kConnectAttemptMs * 3, m_nJoinTimeoutMs), FALSE))
    {
        return FALSE;
    }
    BOOL found = FALSE;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_out.Begin(Query).Bytes(kSessionAppId, kAppIdSize);
        m_pConnection->Send(m_out.Finish().data(), static_cast<int>(m_out.Finish().size()));
        m_changed.wait_for(lock, std::chrono::milliseconds(kAnswerTimeoutMs),
                           [&] { return m_answer == Answer::Info || m_bLost; });
        found = m_answer == Answer::Info && m_info.maxPlayers > 0;
        info = m_info;
    }
    Close();
    return found;
}

void CPlaySession::SendRecord(const std::vector<BYTE>& record)
{
    if (m_pConnection)
        m_pConnection->Send(record.data(), static_cast<int>(record.size()));
}

void CPlaySession::Close()
{
    std::shared_ptr<CTcpConnection> connection;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bClosing = TRUE;
        if (m_pConnection && m_bConnected)
            SendRecord(m_out.Begin(Bye).Finish());
        connection = std::move(m_pConnection);
        m_bConnected = FALSE;
        m_changed.notify_all();
    }
    if (connection)
        connection->Close();
    if (m_pRelay)
    {
        m_pRelay->Stop();
        m_pRelay.reset();
    }
}

void CPlaySession::OnRelayClosed()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bClosing)
        NetLog("the connection to the session's host ended");
    m_bLost = TRUE;
    m_bRelayGone = TRUE;
    m_changed.notify_all();
}

void CPlaySession::OnRelayBytes(const BYTE* data, int size)
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_stream.Feed(data, size);
    BYTE kind = 0;
    const BYTE* body = nullptr;
    int bodySize = 0;
    BOOL bad = FALSE;
    for (;;)
    {
        const int got = m_stream.Next(kind, body, bodySize);
        if (got == 0)
            break;
        if (got < 0)
        {
            bad = TRUE;
            break;
        }
        CRecordParser in(body, bodySize);
        if (kind == Welcome && m_answer == Answer::None)
        {
            const DWORD id = in.U32();
            CSessionRoster roster;
            if (!in.Roster(roster) || !in.AtEnd())
            {
                bad = TRUE;
                break;
            }
            m_nLocalId = id;
            TakeRoster(roster);
            m_answer = Answer::Welcome;
        }
        else if (kind == Refuse && m_answer == Answer::None)
        {
            m_nRefusal = in.U8();
            if (!in.AtEnd())
            {
                bad = TRUE;
                break;
            }
            m_answer = Answer::Refused;
        }
        else if (kind == Info && m_answer == Answer::None)
        {
            m_info.name = in.Text();
            m_info.players = in.U8();
            m_info.maxPlayers = in.U8();
            m_info.passwordRequired = in.U8() != 0;
            if (!in.AtEnd())
            {
                bad = TRUE;
                break;
            }
            m_answer = Answer::Info;
        }
        else if (kind == Roster && m_answer == Answer::Welcome)
        {
            CSessionRoster roster;
            if (!in.Roster(roster) || !in.AtEnd())
            {
                bad = TRUE;
                break;
            }
            TakeRoster(roster);
        }
        else if (kind == Data && m_answer == Answer::Welcome)
        {
            in.U32();  // the sender
            int dataSize = 0;
            const BYTE* bytes = in.Rest(dataSize);
            if (!in.Ok())
            {
                bad = TRUE;
                break;
            }
            m_queue.emplace_back(bytes, bytes + dataSize);
        }
        else
        {
            bad = TRUE;
            break;
        }
    }
    if (bad)
    {
        NetLog("the session's host sent a bad record (kind %d); disconnected", kind);
        m_stream.Clear();
        m_bLost = TRUE;
        m_bRelayGone = TRUE;
        std::shared_ptr<CTcpConnection> connection = m_pConnection;
        lock.unlock();
        if (connection)
            connection->Close();
        lock.lock();
    }
    m_changed.notify_all();
}

void CPlaySession::TakeRoster(const CSessionRoster& roster)
{
    m_roster = roster;
    const int live = m_roster.CountLive();
    if (live >= 2)
        m_bHadOthers = TRUE;
    else if (m_bHadOthers)
        m_bLost = TRUE;  // everyone else has gone
}

BOOL CPlaySession::CountPlayers(int* pCount)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (pCount)
        *pCount = 0;
    if (!m_bConnected || m_bRelayGone)
        return FALSE;
    if (pCount)
        *pCount = m_roster.CountLive();
    return TRUE;
}

BOOL CPlaySession::RemoveGhostPlayers(int* pCount)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bConnected)
        return FALSE;
    for (const CSessionRoster::Player& p : m_roster.players)
        if (p.ghost)
            SendRecord(m_out.Begin(DestroyPlayer).U32(p.id).Finish());
    if (pCount)
        *pCount = m_roster.CountLive();
    return TRUE;
}

int CPlaySession::Receive()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_changed.wait(lock, [&] { return !m_queue.empty() || m_bLost || m_bClosing || !m_pConnection; });
    if (!m_queue.empty())
    {
        m_received.swap(m_queue.front());
        m_queue.pop_front();
        m_nReceivedSize = static_cast<int>(m_received.size());
        return 1;
    }
    if (m_bLost && !m_bClosing && !m_bLostNoticed)
    {
        m_bLostNoticed = TRUE;
        NetPostMessage("Opponent disconnected", "DirectPlay Error", MB_OK | MB_ICONSTOP);
    }
    return 0;
}

BOOL CPlaySession::SendToPlayer(const void* pData, int nSize, BOOL bToTeam, const CString& strName)
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bConnected || !m_pConnection || nSize < 0)
        return FALSE;
    BYTE target = ToAll;
    DWORD targetId = 0;
    const CSessionRoster::Player* named = strName.IsEmpty() ? nullptr : m_roster.FindLivePlayer(strName);
    if (named)
    {
        target = ToPlayer;
        targetId = named->id;
    }
    else if (bToTeam && m_nDefaultTarget != 0)
    {
        target = ToGroup;
        targetId = m_nDefaultTarget;
    }
    m_out.Begin(Send).U8(target).U32(targetId).Bytes(pData, nSize);
    const std::vector<BYTE>& record = m_out.Finish();
    return m_pConnection->Send(record.data(), static_cast<int>(record.size()));
}

int CPlaySession::CreateTeam()
{
    std::unique_lock<std::mutex> lock(m_lock);
    if (!m_bConnected || m_strTeamName.IsEmpty())
    {
        lock.unlock();
        Fail("Could not create team.");
        return 0;
    }
    if (const CSessionRoster::Group* group = m_roster.FindGroup(m_strTeamName))
    {
        m_nDefaultTarget = group->id;
        return 1;
    }
    if (m_roster.groups.size() >= 2)
        return 1;
    SendRecord(m_out.Begin(CreateGroup).Text(m_strTeamName).Finish());
    const CString team = m_strTeamName;
    m_changed.wait_for(lock, std::chrono::milliseconds(kAnswerTimeoutMs),
                       [&] { return m_roster.FindGroup(team) != nullptr || m_bLost; });
    if (const CSessionRoster::Group* group = m_roster.FindGroup(team))
    {
        m_nDefaultTarget = group->id;
        return 1;
    }
    lock.unlock();
    Fail("Could not create team.");
    return 0;
}

int CPlaySession::JoinTeam()
{
    DWORD groupId = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (const CSessionRoster::Group* group = m_roster.FindGroup(m_strTeamName))
            groupId = group->id;
    }
    if (groupId == 0)
    {
        if (!CreateTeam())
            return 0;
        std::lock_guard<std::mutex> lock(m_lock);
        if (const CSessionRoster::Group* group = m_roster.FindGroup(m_strTeamName))
            groupId = group->id;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    if (groupId == 0 || !m_bConnected)
    {
        lock.unlock();
        Fail("Could not join team.");
        return 0;
    }
    m_nDefaultTarget = groupId;
    SendRecord(m_out.Begin(JoinGroup).U32(groupId).Finish());
    const DWORD self = m_nLocalId;
    auto joined = [&] {
        const CSessionRoster::Group* group = m_roster.FindGroup(groupId);
        return group && std::find(group->members.begin(), group->members.end(), self) != group->members.end();
    };
    m_changed.wait_for(lock, std::chrono::milliseconds(kAnswerTimeoutMs), [&] { return joined() || m_bLost; });
    if (joined())
        return 1;
    lock.unlock();
    Fail("Could not join team.");
    return 0;
}

int CPlaySession::ListGroupPlayers(CStringArray& names)
{
    names.RemoveAll();
    RemoveGhostPlayers(nullptr);
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bConnected)
        return 0;
    const CSessionRoster::Group* group = m_roster.FindGroup(m_strTeamName);
    if (!group)
        return 0;
    for (DWORD member : group->members)
    {
        const CSessionRoster::Player* p = m_roster.FindPlayer(member);
        if (!p || p->ghost || member == m_nLocalId)
            continue;
        BOOL listed = FALSE;
        for (int i = 0; i < names.GetSize(); ++i)
            listed = listed || names[i] == p->name;
        if (!listed)
            names.Add(p->name);
    }
    return 1;
}

int CPlaySession::ListGamePlayers(CStringArray& names)
{
    names.RemoveAll();
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bConnected)
        return 0;
    for (const CSessionRoster::Player& p : m_roster.players)
        if (!p.ghost && p.id != m_nLocalId)
            names.Add(p.name);
    return 1;
}

DWORD CPlaySession::GetLocalPlayerId() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nLocalId;
}

DWORD CPlaySession::GetDefaultTarget() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_nDefaultTarget;
}
