#include "net/SessionRelay.h"

#include "platform/net/NetLog.h"
#include "platform/net/NetThread.h"
#include "platform/net/TcpSocket.h"

#include <algorithm>
#include <cstring>

using namespace SessionRecord;

CSessionRelay::CSessionRelay(const CSessionSettings& settings, SendHandler send, DropHandler drop)
    : m_settings(settings), m_send(std::move(send)), m_drop(std::move(drop))
{
}

void CSessionRelay::OnConnected(int peer) { m_peers[peer]; }

void CSessionRelay::OnBytes(int peer, const BYTE* data, int size)
{
    auto it = m_peers.find(peer);
    if (it == m_peers.end())
        return;
    Peer& state = it->second;
    state.stream.Feed(data, size);
    BYTE kind = 0;
    const BYTE* body = nullptr;
    int bodySize = 0;
    for (;;)
    {
        const int got = state.stream.Next(kind, body, bodySize);
        if (got == 0)
            return;
        if (got < 0)
        {
            Drop(peer, "a record of a bad size");
            return;
        }
        if (!OnRecord(peer, state, kind, body, bodySize))
            return;  // the peer is gone
    }
}

void CSessionRelay::OnClosed(int peer)
{
    auto it = m_peers.find(peer);
    if (it == m_peers.end())
        return;
    const DWORD player = it->second.player;
    m_peers.erase(it);
    for (CSessionRoster::Player& p : m_roster.players)
        if (p.id == player)
            p.ghost = TRUE;
    if (player != 0)
        BroadcastRoster();
}

BOOL CSessionRelay::OnRecord(int peer, Peer& state, BYTE kind, const BYTE* body, int size)
{
    CRecordParser in(body, size);
    if (state.player == 0)
    {
        if (kind == Hello)
        {
            OnHello(peer, state, in);
            return m_peers.count(peer) != 0;
        }
        if (kind == Query)
        {
            BYTE appId[kAppIdSize];
            in.Bytes(appId, kAppIdSize);
            if (!in.AtEnd())
            {
                Drop(peer, "a bad query");
                return FALSE;
            }
            const BOOL same = std::memcmp(appId, m_settings.appId, kAppIdSize) == 0;
            m_out.Begin(Info)
                .Text(same ? m_settings.name : CString())
                .U8(static_cast<BYTE>(m_roster.CountLive()))
                .U8(static_cast<BYTE>(same ? m_settings.maxPlayers : 0))
                .U8(m_settings.password.IsEmpty() ? 0 : 1);
            m_send(peer, m_out.Finish());
            return TRUE;
        }
        Drop(peer, "a record before its hello");
        return FALSE;
    }
    switch (kind)
    {
    case CreateGroup:
    {
        const CString name = in.Text();
        if (!in.AtEnd() || name.IsEmpty())
            break;
        if (!m_roster.FindGroup(name))
        {
            CSessionRoster::Group group;
            group.id = m_nNextId++;
            group.name = name;
            m_roster.groups.push_back(group);
        }
        BroadcastRoster();
        return TRUE;
    }
    case JoinGroup:
    {
        const DWORD id = in.U32();
        if (!in.AtEnd())
            break;
        for (CSessionRoster::Group& group : m_roster.groups)
            if (group.id == id &&
                std::find(group.members.begin(), group.members.end(), state.player) == group.members.end())
                group.members.push_back(state.player);
        BroadcastRoster();
        return TRUE;
    }
    case Send:
    {
        const BYTE target = in.U8();
        const DWORD targetId = in.U32();
        int dataSize = 0;
        const BYTE* data = in.Rest(dataSize);
        if (!in.Ok() || target > ToPlayer)
            break;
        Forward(state, target, targetId, data, dataSize);
        return TRUE;
    }
    case DestroyPlayer:
    {
        const DWORD id = in.U32();
        if (!in.AtEnd())
            break;
        const CSessionRoster::Player* p = m_roster.FindPlayer(id);
        // Only a ghost may be removed by another player.
        if (p && p->ghost)
        {
            RemovePlayer(id);
            BroadcastRoster();
        }
        return TRUE;
    }
    case Bye:
    {
        const DWORD player = state.player;
        m_peers.erase(peer);
        m_drop(peer);
        RemovePlayer(player);
        BroadcastRoster();
        return FALSE;
    }
    default:
        break;
    }
    Drop(peer, "a bad record");
    return FALSE;
}

void CSessionRelay::OnHello(int peer, Peer& state, CRecordParser& in)
{
    BYTE appId[kAppIdSize];
    in.Bytes(appId, kAppIdSize);
    const CString password = in.Text();
    const CString name = in.Text();
    if (!in.AtEnd() || name.IsEmpty())
    {
        Drop(peer, "a bad hello");
        return;
    }
    BYTE refusal = 0;
    if (std::memcmp(appId, m_settings.appId, kAppIdSize) != 0)
        refusal = NoSession;
    else if (password != m_settings.password)
        refusal = BadPassword;
    else if (m_roster.FindLivePlayer(name))
        refusal = NameTaken;
    else if (m_roster.CountLive() >= m_settings.maxPlayers)
        refusal = SessionFull;
    if (refusal != 0)
    {
        NetLog("relay: player \"%s\" refused (%d)", name.GetString(), refusal);
        m_out.Begin(Refuse).U8(refusal);
        m_send(peer, m_out.Finish());
        return;
    }
    // A ghost of the same name makes way for the player coming back.
    for (const CSessionRoster::Player& p : m_roster.players)
        if (p.ghost && p.name == name)
        {
            RemovePlayer(p.id);
            break;
        }
    CSessionRoster::Player player;
    player.id = m_nNextId++;
    player.name = name;
    m_roster.players.push_back(player);
    state.player = player.id;
    m_out.Begin(Welcome).U32(player.id).Roster(m_roster);
    m_send(peer, m_out.Finish());
    for (const auto& [other, otherState] : m_peers)
        if (other != peer && otherState.player != 0)
        {
            m_out.Begin(Roster).Roster(m_roster);
            m_send(other, m_out.Finish());
        }
}

int CSessionRelay::PeerOfPlayer(DWORD id) const
{
    for (const auto& [peer, state] : m_peers)
        if (state.player == id)
            return peer;
    return -1;
}

void CSessionRelay::Forward(Peer& state, BYTE target, DWORD targetId, const BYTE* data, int size)
{
    m_out.Begin(Data).U32(state.player).Bytes(data, size);
    const std::vector<BYTE>& record = m_out.Finish();
    if (target == ToPlayer)
    {
        const int peer = PeerOfPlayer(targetId);
        if (peer >= 0 && targetId != state.player)
            m_send(peer, record);
        return;
    }
    const CSessionRoster::Group* group = target == ToGroup ? m_roster.FindGroup(targetId) : nullptr;
    if (target == ToGroup && !group)
        return;
    for (const auto& [peer, other] : m_peers)
    {
        if (other.player == 0 || other.player == state.player)
            continue;
        if (group && std::find(group->members.begin(), group->members.end(), other.player) == group->members.end())
            continue;
        m_send(peer, record);
    }
}

void CSessionRelay::RemovePlayer(DWORD id)
{
    auto& players = m_roster.players;
    players.erase(std::remove_if(players.begin(), players.end(), [id](const auto& p) { return p.id == id; }),
                  players.end());
    for (CSessionRoster::Group& group : m_roster.groups)
        group.members.erase(std::remove(group.members.begin(), group.members.end(), id), group.members.end());
}

void CSessionRelay::BroadcastRoster()
{
    m_out.Begin(Roster).Roster(m_roster);
    const std::vector<BYTE>& record = m_out.Finish();
    for (const auto& [peer, state] : m_peers)
        if (state.player != 0)
            m_send(peer, record);
}

void CSessionRelay::Drop(int peer, const char* reason)
{
    NetLog("relay: peer %d disconnected after %s", peer, reason);
    auto it = m_peers.find(peer);
    if (it == m_peers.end())
        return;
    const DWORD player = it->second.player;
    m_peers.erase(it);
    m_drop(peer);
    for (CSessionRoster::Player& p : m_roster.players)
        if (p.id == player)
            p.ghost = TRUE;
    if (player != 0)
        BroadcastRoster();
}

// ---- The relay on a TCP port ----

struct CRelayServer::State
{
    std::unique_ptr<CSessionRelay> relay;
    std::map<int, std::unique_ptr<CTcpConnection>> connections;
    int nextPeer = 1;
    bool stopped = false;
};

CRelayServer::~CRelayServer() { Stop(); }

std::unique_ptr<CRelayServer> CRelayServer::Start(const CSessionSettings& settings, int port, CString* error)
{
    std::unique_ptr<CRelayServer> server(new CRelayServer());
    auto state = std::make_shared<State>();
    State* raw = state.get();
    state->relay = std::make_unique<CSessionRelay>(
        settings,
        [raw](int peer, const std::vector<BYTE>& record) {
            auto it = raw->connections.find(peer);
            if (it != raw->connections.end())
                it->second->Send(record.data(), static_cast<int>(record.size()));
        },
        [raw](int peer) {
            auto it = raw->connections.find(peer);
            if (it == raw->connections.end())
                return;
            it->second->Close();
            raw->connections.erase(it);
        });
    std::weak_ptr<State> weak = state;
    server->m_pListener = CTcpListener::Listen(
        port,
        [weak](std::unique_ptr<CTcpConnection> connection) {
            std::shared_ptr<State> s = weak.lock();
            if (!s || s->stopped)
                return;
            const int peer = s->nextPeer++;
            CTcpConnection* c = connection.get();
            s->connections[peer] = std::move(connection);
            s->relay->OnConnected(peer);
            CTcpConnection::Handlers handlers;
            handlers.onData = [weak, peer](const BYTE* data, int size) {
                if (std::shared_ptr<State> s = weak.lock())
                    s->relay->OnBytes(peer, data, size);
            };
            handlers.onClosed = [weak, peer] {
                if (std::shared_ptr<State> s = weak.lock())
                {
                    s->relay->OnClosed(peer);
                    s->connections.erase(peer);
                }
            };
            c->Start(std::move(handlers));
        },
        error);
    if (!server->m_pListener)
        return nullptr;
    server->m_p = state;
    return server;
}

int CRelayServer::GetPort() const { return m_pListener ? m_pListener->GetPort() : 0; }

void CRelayServer::Stop()
{
    if (m_pListener)
        m_pListener->Close();
    if (!m_p)
        return;
    std::shared_ptr<State> state = m_p;
    CallOnNetThread([state] {
        state->stopped = true;
        for (auto& [peer, connection] : state->connections)
            connection->Close();
        state->connections.clear();
    });
    m_p.reset();
}
