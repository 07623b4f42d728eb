#pragma once
// The session links: CNetLink opens a session through the session dialog,
// CNetAddressLink by the host's address (the road of games found in the
// lobby). Both use a session layer (PlaySession.h), the process-wide one
// unless given another.
//
// StartHost and StartJoin open the session and start a waiting thread that
// counts the players; once two are there it sets the connected flag and
// starts the receive thread, which writes every message received into the
// link's ring (ByteRing.h) and ends when the session is lost or the link
// hangs up. The user-interface thread reads the ring. Hangup stops both
// threads and waits for them.

#include "net/ByteRing.h"
#include "net/CommLink.h"

#include <atomic>
#include <thread>

class CPlaySession;

class CNetLink : public CCommLink
{
public:
    explicit CNetLink(CPlaySession* pSession = nullptr);
    ~CNetLink() override;

    int Open(int nArgument) override;  // 1: join, else host
    int Close() override;
    int StartJoin(int nArgument) override;
    int StartHost(int nArgument) override;
    int Hangup() override;
    int Send(const void* pData, int nSize, DWORD dwSelector, const CString& strName) override;
    BOOL DataAvailable() override;
    int Read(BYTE* pDestination, int nHeld) override;
    int Poll() override;
    int SetMode(int nMode) override;
    // Whether the user-list library is there: never, on this system.
    int HasUserListDll() { return 0; }

    CPlaySession& GetSession() { return *m_pSession; }
    CByteRing& GetRing() { return m_ring; }
    BOOL IsConnected() const { return m_bConnected; }

protected:
    // Copies the names into the layer and opens the session by the road
    // of this link kind.
    virtual int OpenSession();
    int Start(int nJoin, BOOL& bStarted);
    void WaitForPlayers();
    void ReceiveMessages();

    CPlaySession* m_pSession;
    int m_nMode = 0;
    CByteRing m_ring;
    std::atomic<bool> m_bStop{false};
    std::thread m_waitThread;
    std::thread m_receiveThread;
};

class CNetAddressLink : public CNetLink
{
public:
    explicit CNetAddressLink(CPlaySession* pSession = nullptr) : CNetLink(pSession) {}
    // The local IPv4 address: the last address of the host name; "Bad Host
    // Lookup" and empty when the lookup fails.
    CString GetLocalAddress() override;

protected:
    int OpenSession() override;
};

// Looks the local machine's address up into the process-wide text that
// GetLocalIpText answers: the first address outside 127.0.0.0/8, else the
// first. Answers whether the network is started (after a lookup that worked).
BOOL GetLocalIpAddress();
const char* GetLocalIpText();
// Nothing to stop on this system; answers whether it was started.
BOOL StopWinSock();
