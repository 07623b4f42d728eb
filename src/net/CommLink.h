#pragma once
// A communication link: moves raw bytes between the game programs of a
// multiplayer game. The message layer (Message.h) owns one and sees only
// this base; the serial link (SerialLink.h) and the session links
// (NetLink.h) do the work.
//
// Read contract, for every link: the count given is the number of bytes
// the destination already holds (its capacity is kBufferSize); the link
// copies at most the space left and leaves the rest for the next read, and
// answers the number copied (-1 only when the destination is already full).

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <atomic>
#include <memory>

class CCommLink
{
public:
    static constexpr int kBufferSize = 15000;

    CCommLink();
    virtual ~CCommLink();
    CCommLink(const CCommLink&) = delete;
    CCommLink& operator=(const CCommLink&) = delete;

    virtual int Open(int nArgument);
    virtual int Close();
    virtual int StartJoin(int nArgument);
    virtual int StartHost(int nArgument);
    virtual int Hangup();
    virtual CString GetLocalAddress();
    // Nonzero when sent. The selector and name choose the recipients on the
    // session links: a player by name, else the team (nonzero) or all (0).
    virtual int Send(const void* pData, int nSize, DWORD dwSelector, const CString& strName);
    virtual BOOL DataAvailable();
    virtual int Read(BYTE* pDestination, int nHeld);
    // Nonzero once the peer is there and the link is ready for data.
    virtual int Poll();
    virtual int SetMode(int nMode);

    void SetAddress(const CString& strPlayerName, const CString& strPassword);
    void SetAddress(const CString& strPlayerName, const CString& strPassword, const CString& strHostAddress);
    // The message layer saw the modem's "NO CARRIER".
    void SetCarrierLost(BOOL bLost) { m_bCarrierLost = bLost; }
    BOOL IsCarrierLost() const { return m_bCarrierLost; }
    BOOL IsOpen() const { return m_bOpen; }
    BOOL IsReady() const { return m_bReady; }

protected:
    CString m_strHostAddress;
    CString m_strPassword;
    CString m_strPlayerName;
    std::atomic<BOOL> m_bConnected{FALSE};  // written by a waiting thread
    BOOL m_bReady = FALSE;
    BOOL m_bCarrierLost = FALSE;
    BOOL m_bOpen = FALSE;
    BOOL m_bJoinStarted = FALSE;
    BOOL m_bHostStarted = FALSE;
    // The serial link's handshake buffer; the session links use their ring.
    std::unique_ptr<BYTE[]> m_pInBuffer;
};
