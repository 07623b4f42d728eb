#pragma once
// The message layer of a multiplayer game: owns one link, frames each
// outgoing message (a type code and a payload) and cuts the frames out of
// the link's byte stream, checks them, drops duplicates and holds up to 20
// until the session takes them one at a time in sequence order. Used on the
// user-interface thread only.
//
// Wire frame (N payload bytes make N + 36):
//     02 02 02 | "LLLLL " length | "CCCCC " sum of the payload bytes mod
//     65536 | "SSSSS " sequence 2..14999 | "TTTTT " type | "00000 " |
//     payload | 03 03 03
//
// A frame is cut where its length field says it ends when three end bytes
// stand there, so a payload may hold the end marker; otherwise at the first
// end marker. A frame whose header fields are not five digits and a space,
// whose sequence is outside 2..14999, whose type is 0, whose body is
// shorter than the header, whose length exceeds its body or the largest
// payload, or whose sum is wrong is dropped with a log line, and the frames
// behind it are read as usual. A sequence that stands in a slot in use or
// was among the last 20 handed out is a duplicate; an older one is a new
// message (the sender has wrapped or restarted). Messages leave in the
// order that follows the expected sequence round the wrap, so a wrap that
// falls among the queued messages keeps their order. When the buffer fills
// without a complete frame, the bytes before the next start marker go.
//
// Nothing is allocated per message once each slot has held its largest
// payload: frames are built in a buffer of the layer's own.

#include "net/CommLink.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <memory>
#include <vector>

class CMessage
{
public:
    static constexpr int kBufferSize = CCommLink::kBufferSize;
    static constexpr int kSlotCount = 20;
    static constexpr int kHeaderSize = 30;
    static constexpr int kFrameOverhead = 36;
    static constexpr int kMaxPayload = kBufferSize - kFrameOverhead;  // 14964
    static constexpr int kFirstSequence = 2;
    static constexpr int kSequenceLimit = 15000;  // sequences run below it
    // Link kinds.
    static constexpr int kSerialLink = 1;
    static constexpr int kSessionLink = 2;
    static constexpr int kAddressLink = 3;

    // Makes the layer with a link of the kind; null when the kind is unknown
    // or memory runs out (callers report "Could not create CMessage").
    static std::unique_ptr<CMessage> Create(int nLinkKind);
    // Makes the layer over a link made elsewhere (a link in the same process).
    static std::unique_ptr<CMessage> Create(std::unique_ptr<CCommLink> link, int nLinkKind);
    ~CMessage();
    CMessage(const CMessage&) = delete;
    CMessage& operator=(const CMessage&) = delete;

    BOOL CreateLink(int nLinkKind);
    int GetLinkKind() const { return m_nLinkKind; }
    CCommLink* GetLink() const { return m_pLink.get(); }

    // Resets every sequence and slot, then opens the link.
    int Open(int nArgument);
    int Close();
    int StartJoin(int nArgument);
    int StartHost(int nArgument);
    int Hangup();
    int IsConnected();

    // Frames and sends one message: 1 when sent, 0 when not ("You are not
    // connected!" when the link refused it; a log line for a payload above
    // kMaxPayload).
    int SendLinkMessage(const void* pPayload, int nLength, DWORD dwType, DWORD dwSelector, const CString& strName);
    // Moves what waits on the link into the buffer and queues every whole
    // frame while a slot is free.
    void Poll();
    // Polls, then hands out the next message: its payload into the
    // destination (capacity bytes), its length, its type; 0 when nothing is
    // queued. A payload above the capacity is dropped with a log line.
    DWORD GetNextMessage(void* pDestination, int nCapacity, int* pLength);
    int CountMessages(BOOL bNoPoll);

    // The receive cutter, used by Poll.
    BOOL FindFrame(int nFill, int& nStart, int& nEnd) const;
    void ExtractFrame(int nStart, int nEnd);

    int GetFill() const { return m_nFill; }
    int GetExpectedSequence() const { return m_nExpectedSequence; }
    int GetSendSequence() const { return m_nSendSequence; }
    void SetSendSequence(int nSequence) { m_nSendSequence = nSequence; }

private:
    struct Slot
    {
        char header[kHeaderSize] = {};
        int length = 0;
        int sequence = 0;
        DWORD type = 0;
        BOOL inUse = FALSE;
        std::unique_ptr<BYTE[]> payload;  // keeps its room between messages
        int room = 0;
    };

    explicit CMessage(int nLinkKind);
    void ResetReceiving();
    void QueueFrame(const BYTE* pBody, int nSize);
    BOOL IsDuplicate(int nSequence) const;
    int SlotsInUse() const;
    void DropToNextStart();

    std::unique_ptr<CCommLink> m_pLink;
    int m_nLinkKind;
    int m_nFill = 0;
    std::unique_ptr<BYTE[]> m_pBuffer;
    Slot m_slots[kSlotCount];
    int m_nSendSequence = kFirstSequence;
    int m_nExpectedSequence = 0;
    // The last sequences handed out, newest at m_nHandedNext - 1.
    int m_handedOut[kSlotCount] = {};
    int m_nHandedNext = 0;
    std::unique_ptr<BYTE[]> m_pSendFrame;
};
