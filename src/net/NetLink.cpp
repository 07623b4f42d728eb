#include "net/NetLink.h"

#include "net/NetShell.h"
#include "net/PlaySession.h"
#include "platform/net/HostLookup.h"
#include "platform/net/NetLog.h"
#include "platform/ui/UiService.h"

#include <chrono>
#include <mutex>

namespace
{
// How often the waiting thread counts the players.
constexpr auto kCountEvery = std::chrono::milliseconds(50);

std::mutex g_localIpLock;
char g_localIp[16] = "";
bool g_networkStarted = false;
}  // namespace

CNetLink::CNetLink(CPlaySession* pSession) : m_pSession(pSession ? pSession : &CPlaySession::Default()) {}

CNetLink::~CNetLink() { Hangup(); }

int CNetLink::OpenSession()
{
    m_pSession->PlayerName() = m_strPlayerName;
    m_pSession->Password() = m_strPassword;
    return m_pSession->RunSessionDialog();
}

int CNetAddressLink::OpenSession()
{
    m_pSession->PlayerName() = m_strPlayerName;
    m_pSession->Password() = m_strPassword;
    m_pSession->HostAddress() = m_strHostAddress;
    return m_pSession->ConnectByAddress() ? 1 : 0;
}

int CNetLink::Open(int nArgument)
{
    if (m_bOpen)
        return 1;
    m_pSession->SetHost(nArgument != 1);
    m_bOpen = OpenSession() == 1;
    return m_bOpen ? 1 : 0;
}

int CNetLink::Start(int nJoin, BOOL& bStarted)
{
    if (bStarted)
        return 1;
    if (!Open(nJoin))
        return 0;
    m_bStop = false;
    m_ring.Reset();
    m_waitThread = std::thread([this] { WaitForPlayers(); });
    bStarted = TRUE;
    return 1;
}

int CNetLink::StartJoin(int) { return Start(1, m_bJoinStarted); }
int CNetLink::StartHost(int) { return Start(0, m_bHostStarted); }

void CNetLink::WaitForPlayers()
{
    while (!m_bStop)
    {
        int count = 0;
        if (!m_pSession->CountPlayers(&count))
            return;
        if (count >= 2)
        {
            m_bConnected = TRUE;
            m_receiveThread = std::thread([this] { ReceiveMessages(); });
            return;
        }
        std::this_thread::sleep_for(kCountEvery);
    }
}

void CNetLink::ReceiveMessages()
{
    while (!m_bStop && m_pSession->Receive())
    {
        if (!m_ring.Write(m_pSession->GetReceivedData(), m_pSession->GetReceivedSize()))
            return;
    }
}

int CNetLink::Hangup()
{
    if (!m_bOpen)
        return 1;
    m_bStop = true;
    m_ring.Stop();
    m_pSession->Close();
    if (m_waitThread.joinable())
        m_waitThread.join();
    // The waiting thread has ended, so it no longer starts the receive thread.
    if (m_receiveThread.joinable())
        m_receiveThread.join();
    m_bConnected = FALSE;
    m_bReady = FALSE;
    m_bOpen = FALSE;
    m_bJoinStarted = FALSE;
    m_bHostStarted = FALSE;
    return 1;
}

int CNetLink::Close() { return Hangup(); }

int CNetLink::Send(const void* pData, int nSize, DWORD dwSelector, const CString& strName)
{
    if (!m_bReady)
        return 0;
    return m_pSession->SendToPlayer(pData, nSize, dwSelector != 0, strName) ? 1 : 0;
}

BOOL CNetLink::DataAvailable() { return !m_ring.IsEmpty(); }

int CNetLink::Read(BYTE* pDestination, int nHeld)
{
    if (!m_bReady || m_ring.IsEmpty())
        return 0;
    if (nHeld >= kBufferSize)
        return -1;
    return m_ring.Read(pDestination, kBufferSize - nHeld);
}

int CNetLink::Poll()
{
    int count = 0;
    if (m_bConnected && m_pSession->CountPlayers(&count) && count >= 2)
    {
        m_bReady = TRUE;
        return 1;
    }
    return 0;
}

int CNetLink::SetMode(int nMode)
{
    if (m_bJoinStarted)
        return m_bJoinStarted;
    if (m_bHostStarted)
        return m_bHostStarted;
    m_nMode = nMode;
    return nMode;
}

CString CNetAddressLink::GetLocalAddress()
{
    const CString name = GetLocalHostName();
    if (name.IsEmpty())
        return CString();
    const std::vector<DWORD> addresses = LookUpIpv4Addresses(name);
    if (addresses.empty())
    {
        NetShowMessage("Bad Host Lookup", nullptr, MB_OK | MB_ICONSTOP);
        return CString();
    }
    return FormatIpv4(addresses.back());
}

BOOL GetLocalIpAddress()
{
    const std::vector<DWORD> addresses = LookUpIpv4Addresses(GetLocalHostName());
    std::lock_guard<std::mutex> lock(g_localIpLock);
    if (addresses.empty())
    {
        NetLog("the local host name has no IPv4 address");
        return g_networkStarted;
    }
    DWORD chosen = addresses.front();
    for (DWORD address : addresses)
        if ((address >> 24) != 127)
        {
            chosen = address;
            break;
        }
    const CString text = FormatIpv4(chosen);
    std::snprintf(g_localIp, sizeof g_localIp, "%s", text.GetString());
    g_networkStarted = true;
    return TRUE;
}

const char* GetLocalIpText() { return g_localIp; }

BOOL StopWinSock()
{
    std::lock_guard<std::mutex> lock(g_localIpLock);
    const BOOL was = g_networkStarted;
    g_networkStarted = false;
    return was;
}
