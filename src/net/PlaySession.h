#pragma once
// The session layer under the session links: one session of up to ten
// players, hosted by one program and joined by the others, with two teams
// as groups ("friend" and "enemy"), guaranteed sends to a player, a group or
// everybody, and a blocking receive for a link's receive thread.
//
// The host runs a relay (SessionRelay.h) and every player, the host
// included, is connected to it over TCP. Replies of the relay arrive on the
// network thread and are kept here under a lock; the calls below may come
// from the user-interface thread and from one receive thread at once.
//
// The session is lost when the connection to the relay ends, or when the
// other players have all gone (their connections ended): a blocked Receive
// then answers 0 after "Opponent disconnected" has been posted to the
// user-interface thread, once per session. Closing the session ourselves
// shows nothing.
//
// Failures are shown in a message box with the caption "Error" and the call
// answers failure. A join ends at its time-out or when CancelJoin is called.
//
// Addresses: "A.B.C.D" or "A.B.C.D:PORT"; without a port the profile's
// Multiplayer/Port (28740). A host may give ":PORT"; port 0 takes a free
// port, which GetHostPort then tells.

#include "net/SessionRecord.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Types.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

class CRelayServer;
class CTcpConnection;

// The session's application identifier, {949A21E1-6179-11CF-954F-00AA006C2657}.
extern const BYTE kSessionAppId[SessionRecord::kAppIdSize];

// Splits an address into host and port; FALSE when it is not one.
BOOL ParseSessionAddress(const CString& text, CString& host, int& port);

class CPlaySession
{
public:
    static constexpr int kDefaultPort = 28740;
    static constexpr int kDialogMaxPlayers = 10;
    static constexpr int kAddressMaxPlayers = 2;
    static constexpr int kDefaultJoinTimeoutMs = 10000;
    static constexpr const char* kAddressSessionName = "KDR";

    struct SessionInfo
    {
        CString name;
        int players = 0;
        int maxPlayers = 0;
        BOOL passwordRequired = FALSE;
    };

    // The process-wide session behind the DP functions.
    static CPlaySession& Default();

    CPlaySession();
    ~CPlaySession();
    CPlaySession(const CPlaySession&) = delete;
    CPlaySession& operator=(const CPlaySession&) = delete;

    void SetHost(BOOL bHost) { m_bHost = bHost; }
    BOOL IsHost() const { return m_bHost; }
    CString& HostAddress() { return m_strHostAddress; }
    CString& SessionName() { return m_strSessionName; }
    CString& Password() { return m_strPassword; }
    CString& PlayerName() { return m_strPlayerName; }
    CString& TeamName() { return m_strTeamName; }

    // The host dialog or the join dialog; 1 when a session was opened.
    int RunSessionDialog();
    // Hosts (at the host address's port) or joins the host address.
    BOOL ConnectByAddress();
    // The two roads under the dialogs and the address.
    BOOL HostSession(int nMaxPlayers);
    BOOL JoinSession();
    // Asks the host at an address which session it holds.
    BOOL QuerySession(const CString& address, SessionInfo& info);
    void SetJoinTimeout(int nMilliseconds) { m_nJoinTimeoutMs = nMilliseconds; }
    void CancelJoin();
    int GetHostPort() const;

    void Close();
    BOOL IsOpen() const;
    BOOL CountPlayers(int* pCount);
    BOOL RemoveGhostPlayers(int* pCount);
    int Receive();
    const BYTE* GetReceivedData() const { return m_received.data(); }
    int GetReceivedSize() const { return m_nReceivedSize; }
    BOOL SendToPlayer(const void* pData, int nSize, BOOL bToTeam, const CString& strName);
    int CreateTeam();
    int JoinTeam();
    int ListGroupPlayers(CStringArray& names);
    int ListGamePlayers(CStringArray& names);
    DWORD GetLocalPlayerId() const;
    DWORD GetDefaultTarget() const;

    // The bytes of the relay's records, as they arrive (network thread).
    void OnRelayBytes(const BYTE* data, int size);

private:
    enum class Answer
    {
        None,
        Welcome,
        Refused,
        Info
    };

    BOOL Connect(const CString& host, int port, int timeoutMs, BOOL bShowFailure);
    BOOL SayHello(int timeoutMs);
    void SendRecord(const std::vector<BYTE>& record);
    void OnRelayClosed();
    void TakeRoster(const CSessionRoster& roster);
    void Fail(const char* text);
    void ResetState();

    BOOL m_bHost = FALSE;
    CString m_strHostAddress;
    CString m_strSessionName;
    CString m_strPassword;
    CString m_strPlayerName;
    CString m_strTeamName;
    int m_nJoinTimeoutMs = kDefaultJoinTimeoutMs;
    std::atomic<bool> m_bCancelJoin{false};

    std::unique_ptr<CRelayServer> m_pRelay;
    int m_nHostPort = 0;

    mutable std::mutex m_lock;  // guards everything below
    std::condition_variable m_changed;
    std::shared_ptr<CTcpConnection> m_pConnection;
    CRecordStream m_stream;  // network thread only
    CRecordWriter m_out;
    CSessionRoster m_roster;
    DWORD m_nLocalId = 0;
    DWORD m_nDefaultTarget = 0;
    Answer m_answer = Answer::None;
    BYTE m_nRefusal = 0;
    SessionInfo m_info;
    std::deque<std::vector<BYTE>> m_queue;
    BOOL m_bConnected = FALSE;
    BOOL m_bLost = FALSE;
    BOOL m_bRelayGone = FALSE;  // our connection to the relay ended
    BOOL m_bClosing = FALSE;
    BOOL m_bHadOthers = FALSE;
    BOOL m_bLostNoticed = FALSE;

    // Receive thread only.
    std::vector<BYTE> m_received;
    int m_nReceivedSize = 0;
};
