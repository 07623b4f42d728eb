#include "net/LoopbackLink.h"

void CLoopbackLink::Join(CLoopbackLink& first, CLoopbackLink& second)
{
    first.m_pPeer = &second;
    second.m_pPeer = &first;
    first.m_bOpen = second.m_bOpen = TRUE;
    first.m_bConnected = second.m_bConnected = TRUE;
}

int CLoopbackLink::Send(const void* pData, int nSize, DWORD dwSelector, const CString& strName)
{
    if (!m_pPeer || !m_bConnected || m_bCarrierLost)
        return 0;
    m_dwLastSelector = dwSelector;
    m_strLastName = strName;
    return m_pPeer->m_ring.Write(static_cast<const BYTE*>(pData), nSize) ? 1 : 0;
}

int CLoopbackLink::Read(BYTE* pDestination, int nHeld)
{
    if (nHeld >= kBufferSize)
        return -1;
    return m_ring.Read(pDestination, kBufferSize - nHeld);
}

int CLoopbackLink::Poll()
{
    if (!m_bConnected || m_bCarrierLost)
        return 0;
    m_bReady = TRUE;
    return 1;
}

int CLoopbackLink::Hangup()
{
    m_bConnected = FALSE;
    m_bReady = FALSE;
    if (m_pPeer)
    {
        m_pPeer->m_bConnected = FALSE;
        m_pPeer->m_pPeer = nullptr;
        m_pPeer = nullptr;
    }
    return 1;
}
