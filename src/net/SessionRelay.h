#pragma once
// The host's relay: every player of a session, the host's own included,
// is connected to it and sends it records (SessionRecord.h); it keeps the
// roster and passes data on to the players it is meant for.
//
// CSessionRelay is the relay's rules alone, fed with the bytes each peer
// sends and answering through two callbacks, so it runs without sockets
// (the fuzz target feeds it directly). CRelayServer puts it on a TCP port;
// all of it runs on the network thread.
//
// A player is refused when the application id differs, the password is
// wrong, the session is full or a live player has its name. A closed
// connection leaves its player as a ghost in the roster until a player
// removes it; a Bye removes the player at once. A peer that sends a bad
// record, or a record it may not send yet, is disconnected with a log line.

#include "net/SessionRecord.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <functional>
#include <map>
#include <memory>

class CTcpConnection;
class CTcpListener;

struct CSessionSettings
{
    BYTE appId[SessionRecord::kAppIdSize] = {};
    CString name;
    CString password;
    int maxPlayers = 2;
};

class CSessionRelay
{
public:
    using SendHandler = std::function<void(int peer, const std::vector<BYTE>& record)>;
    using DropHandler = std::function<void(int peer)>;

    CSessionRelay(const CSessionSettings& settings, SendHandler send, DropHandler drop);

    void OnConnected(int peer);
    void OnBytes(int peer, const BYTE* data, int size);
    void OnClosed(int peer);
    const CSessionRoster& GetRoster() const { return m_roster; }

private:
    struct Peer
    {
        CRecordStream stream;
        DWORD player = 0;  // 0 until welcomed
    };

    // FALSE when the record was bad.
    BOOL OnRecord(int peer, Peer& state, BYTE kind, const BYTE* body, int size);
    void OnHello(int peer, Peer& state, CRecordParser& in);
    void Forward(Peer& state, BYTE target, DWORD targetId, const BYTE* data, int size);
    void RemovePlayer(DWORD id);
    void BroadcastRoster();
    void Drop(int peer, const char* reason);
    int PeerOfPlayer(DWORD id) const;

    CSessionSettings m_settings;
    SendHandler m_send;
    DropHandler m_drop;
    std::map<int, Peer> m_peers;
    CSessionRoster m_roster;
    DWORD m_nNextId = 1;
    CRecordWriter m_out;
};

// The relay on a TCP port of every IPv4 address of this machine.
class CRelayServer
{
public:
    ~CRelayServer();
    // Port 0: a free port. Null, with the reason, when the port cannot be had.
    static std::unique_ptr<CRelayServer> Start(const CSessionSettings& settings, int port, CString* error);
    int GetPort() const;
    void Stop();

private:
    CRelayServer() = default;
    struct State;
    std::shared_ptr<State> m_p;
    std::unique_ptr<CTcpListener> m_pListener;
};
