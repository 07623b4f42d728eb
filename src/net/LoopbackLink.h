#pragma once
// A link between two message layers of one program, for the tests and the
// benchmarks: what one end sends lands in the other end's ring, from which
// that end reads as a session link reads its own. Raw bytes may be put in
// an end's ring directly to play a peer that sends anything at all.
//
// Sends block while the far ring is full, as a session link's receive
// thread does: a single thread must read between sends that large.

#include "net/ByteRing.h"
#include "net/CommLink.h"

class CLoopbackLink : public CCommLink
{
public:
    // Joins two ends; both are connected from then on.
    static void Join(CLoopbackLink& first, CLoopbackLink& second);

    int Send(const void* pData, int nSize, DWORD dwSelector, const CString& strName) override;
    BOOL DataAvailable() override { return !m_ring.IsEmpty(); }
    int Read(BYTE* pDestination, int nHeld) override;
    int Poll() override;
    int Hangup() override;
    int Close() override { return Hangup(); }

    CByteRing& GetRing() { return m_ring; }
    DWORD GetLastSelector() const { return m_dwLastSelector; }
    const CString& GetLastName() const { return m_strLastName; }

private:
    CLoopbackLink* m_pPeer = nullptr;
    CByteRing m_ring;
    DWORD m_dwLastSelector = 0;
    CString m_strLastName;
};
