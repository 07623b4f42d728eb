#include "net/SerialLink.h"

#include "net/NetShell.h"
#include "platform/net/NetLog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

namespace
{
constexpr char kConnect[] = "CONNECT";
constexpr char kGreeting[] = "ZIVOVIDIRADU";
constexpr char kNoCarrier[] = "NO CARRIER";
// What a full handshake buffer keeps: all but the last byte of the longest text.
constexpr int kKeepWhenFull = sizeof kGreeting - 2;
constexpr int kGreetingEveryMs = 500;
constexpr int kClosingGreetings = 3;
constexpr int kByteWriteTimeoutMs = 1000;
}  // namespace

CSerialLink::CSerialLink() = default;

CSerialLink::~CSerialLink() { Close(); }

CString CSerialLink::GetDeviceName(int nPort)
{
    char entry[32];
    std::snprintf(entry, sizeof entry, "Serial Port %d", nPort);
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "/dev/ttyS%d", nPort - 1);
    return NetProfileString("Multiplayer", entry, fallback);
}

int CSerialLink::Open(int nArgument)
{
    if (m_bOpen)
        return 1;
    const int port = nArgument & 0xFFFF;
    int baud = (nArgument >> 16) & 0xFFFF;
    if (baud == 0)
        baud = kDefaultBaudRate;
    CString error;
    const CString device = GetDeviceName(port);
    if (!m_port.Open(device, baud, &error))
    {
        NetLog("COM%d (%s) cannot be opened: %s", port, device.GetString(), error.GetString());
        return 0;
    }
    m_port.SetDtr(FALSE);
    m_port.SetDtr(TRUE);
    m_bConnectSeen = FALSE;
    m_nHandshakeFill = 0;
    m_bOpen = TRUE;
    m_bConnected = FALSE;
    m_bReady = FALSE;
    m_bCarrierLost = FALSE;
    return 1;
}

int CSerialLink::Close()
{
    if (m_bOpen)
    {
        Hangup();
        m_port.Close();
        m_bOpen = FALSE;
    }
    return 1;
}

void CSerialLink::WriteText(const char* text) { m_port.Write(text, static_cast<int>(std::strlen(text)), kByteWriteTimeoutMs); }

int CSerialLink::SendString(const char* text)
{
    if (!m_bOpen)
        return 0;
    m_port.Purge();
    m_port.SetDtr(TRUE);
    WriteText(text);
    return 1;
}

int CSerialLink::StartJoin(int) { return SendString("ATD\r"); }
int CSerialLink::StartHost(int) { return SendString("ATA\r"); }

int CSerialLink::Hangup()
{
    if (!m_bOpen)
        return 0;
    m_port.Purge();
    m_port.SetDtr(FALSE);
    return 1;
}

BOOL CSerialLink::IsLineLost() { return m_bCarrierLost || m_port.IsHungUp(); }

int CSerialLink::Send(const void* pData, int nSize, DWORD, const CString&)
{
    if (!m_bOpen || IsLineLost())
        return 0;
    if (nSize <= 0)
        return nSize == 0 ? 1 : 0;
    const int written = m_port.Write(pData, nSize, kByteWriteTimeoutMs + nSize);
    if (written != nSize)
    {
        NetLog("serial send: %d of %d bytes written", written, nSize);
        return 0;
    }
    return nSize;
}

BOOL CSerialLink::DataAvailable()
{
    if (!m_bOpen)
        return FALSE;
    return (m_bConnected && m_nHandshakeFill > 0) || m_port.BytesWaiting() > 0;
}

int CSerialLink::Read(BYTE* pDestination, int nHeld)
{
    if (!m_bOpen)
        return 0;
    if (nHeld >= kBufferSize)
        return -1;
    const int room = kBufferSize - nHeld;
    // What came behind the peer's greeting goes first.
    if (m_bConnected && m_nHandshakeFill > 0 && m_pInBuffer)
    {
        const int n = std::min(room, m_nHandshakeFill);
        std::memcpy(pDestination, m_pInBuffer.get(), static_cast<size_t>(n));
        RemoveThrough(n);
        return n;
    }
    return m_port.Read(pDestination, room, 0);
}

void CSerialLink::ReadBlock()
{
    if (!m_pInBuffer || m_port.BytesWaiting() <= 0)
        return;
    if (m_nHandshakeFill >= kBufferSize)
    {
        std::memmove(m_pInBuffer.get(), m_pInBuffer.get() + m_nHandshakeFill - kKeepWhenFull, kKeepWhenFull);
        m_nHandshakeFill = kKeepWhenFull;
    }
    m_nHandshakeFill += m_port.Read(m_pInBuffer.get() + m_nHandshakeFill, kBufferSize - m_nHandshakeFill, 0);
}

int CSerialLink::FindText(const char* text) const
{
    if (!m_pInBuffer)
        return -1;
    const int size = static_cast<int>(std::strlen(text));
    const BYTE* bytes = m_pInBuffer.get();
    for (int i = 0; i + size <= m_nHandshakeFill; ++i)
        if (std::memcmp(bytes + i, text, static_cast<size_t>(size)) == 0)
            return i + size;
    return -1;
}

void CSerialLink::RemoveThrough(int nEnd)
{
    const int rest = m_nHandshakeFill - nEnd;
    if (rest > 0)
        std::memmove(m_pInBuffer.get(), m_pInBuffer.get() + nEnd, static_cast<size_t>(rest));
    m_nHandshakeFill = std::max(rest, 0);
}

int CSerialLink::Poll()
{
    if (!m_bOpen || IsLineLost())
        return 0;
    if (m_bConnected)
        return 1;
    if (m_bReady)
        return 0;
    ReadBlock();
    if (FindText(kNoCarrier) >= 0)
    {
        m_bCarrierLost = TRUE;
        return 0;
    }
    if (!m_bConnectSeen)
    {
        const int end = FindText(kConnect);
        if (end < 0)
            return 0;
        RemoveThrough(end);
        m_bConnectSeen = TRUE;
        WriteText(kGreeting);
        m_nMilliseconds = 0;
        m_lastClock = Clock::now();
        return 0;
    }
    const Clock::time_point now = Clock::now();
    m_nMilliseconds += static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastClock).count());
    m_lastClock = now;
    if (m_nMilliseconds >= kGreetingEveryMs)
    {
        WriteText(kGreeting);
        m_nMilliseconds = 0;
    }
    const int end = FindText(kGreeting);
    if (end < 0)
        return 0;
    RemoveThrough(end);
    for (int i = 0; i < kClosingGreetings; ++i)
    {
        WriteText(kGreeting);
        std::this_thread::sleep_for(std::chrono::milliseconds(kGreetingEveryMs));
    }
    m_bConnected = TRUE;
    m_bReady = TRUE;
    WriteText(kGreeting);
    return 1;
}
