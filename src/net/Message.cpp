#include "net/Message.h"

#include "net/NetLink.h"
#include "net/NetShell.h"
#include "net/SerialLink.h"
#include "platform/net/NetLog.h"
#include "platform/ui/UiService.h"

#include <cstring>
#include <new>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace
{
constexpr BYTE kStartByte = 0x02;
constexpr BYTE kEndByte = 0x03;
constexpr int kMarkerSize = 3;
constexpr int kFieldSize = 6;
constexpr int kLengthField = 0;
constexpr int kChecksumField = 6;
constexpr int kSequenceField = 12;
constexpr int kTypeField = 18;
constexpr int kStatusField = 24;
constexpr char kNoCarrier[] = "NO CARRIER";
constexpr int kNoCarrierSize = sizeof kNoCarrier - 1;

// Five decimal digits and a space; -1 for anything else.
int ReadField(const BYTE* field)
{
    int value = 0;
    for (int i = 0; i < kFieldSize - 1; ++i)
    {
        if (field[i] < '0' || field[i] > '9')
            return -1;
        value = value * 10 + (field[i] - '0');
    }
    return field[kFieldSize - 1] == ' ' ? value : -1;
}

void WriteField(BYTE* field, unsigned value)
{
    for (int i = kFieldSize - 2; i >= 0; --i)
    {
        field[i] = static_cast<BYTE>('0' + value % 10);
        value /= 10;
    }
    field[kFieldSize - 1] = ' ';
}

// The frame's checksum of the bytes, copying them to destination on the way
// when one is given: one pass for both, as every byte is summed at both ends.
// The wide form is picked at run time where the processor has AVX2.
template <bool kCopy>
unsigned long long SumTail(BYTE* destination, const BYTE* source, int from, int size)
{
    unsigned long long sum = 0;
    for (int i = from; i < size; ++i)
    {
        if constexpr (kCopy)
            destination[i] = source[i];
        sum += source[i];
    }
    return sum;
}

#if defined(__x86_64__)
template <bool kCopy>
__attribute__((target("avx2"))) unsigned SumBytesWide(BYTE* destination, const BYTE* source, int size)
{
    const __m256i zero = _mm256_setzero_si256();
    __m256i low = zero;
    __m256i high = zero;
    int i = 0;
    for (; i + 64 <= size; i += 64)
    {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i + 32));
        if constexpr (kCopy)
        {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + i), a);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + i + 32), b);
        }
        low = _mm256_add_epi64(low, _mm256_sad_epu8(a, zero));
        high = _mm256_add_epi64(high, _mm256_sad_epu8(b, zero));
    }
    alignas(32) unsigned long long lanes[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), _mm256_add_epi64(low, high));
    const unsigned long long sum = lanes[0] + lanes[1] + lanes[2] + lanes[3] + SumTail<kCopy>(destination, source, i, size);
    return static_cast<unsigned>(sum & 0xFFFF);
}

const bool g_wideSums = __builtin_cpu_supports("avx2");
#endif

template <bool kCopy>
unsigned SumBytes(BYTE* destination, const BYTE* source, int size)
{
#if defined(__x86_64__)
    if (g_wideSums)
        return SumBytesWide<kCopy>(destination, source, size);
#endif
    unsigned long long sum = 0;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    __m128i low = zero;
    __m128i high = zero;
    for (; i + 32 <= size; i += 32)
    {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i + 16));
        if constexpr (kCopy)
        {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), a);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i + 16), b);
        }
        low = _mm_add_epi64(low, _mm_sad_epu8(a, zero));
        high = _mm_add_epi64(high, _mm_sad_epu8(b, zero));
    }
    const __m128i both = _mm_add_epi64(low, high);
    sum = static_cast<unsigned long long>(_mm_cvtsi128_si64(both)) +
          static_cast<unsigned long long>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(both, both)));
#endif
    sum += SumTail<kCopy>(destination, source, i, size);
    return static_cast<unsigned>(sum & 0xFFFF);
}

// The first position at or after from where three marker bytes lie wholly
// before limit; -1 when none does.
int FindTriple(const BYTE* bytes, int from, int limit, BYTE marker)
{
    int i = from;
    while (i + kMarkerSize <= limit)
    {
        const void* hit = std::memchr(bytes + i, marker, static_cast<size_t>(limit - kMarkerSize + 1 - i));
        if (!hit)
            return -1;
        i = static_cast<int>(static_cast<const BYTE*>(hit) - bytes);
        if (bytes[i + 1] == marker && bytes[i + 2] == marker)
            return i;
        ++i;
    }
    return -1;
}
}  // namespace

CMessage::CMessage(int nLinkKind) : m_nLinkKind(nLinkKind)
{
    m_pBuffer.reset(new (std::nothrow) BYTE[kBufferSize]());
    if (!m_pBuffer)
        NetShowMessage("Error allocating pucBuffer", nullptr, MB_OK);
    m_pSendFrame.reset(new (std::nothrow) BYTE[kBufferSize]);
}

CMessage::~CMessage() = default;

std::unique_ptr<CMessage> CMessage::Create(int nLinkKind)
{
    std::unique_ptr<CMessage> message(new (std::nothrow) CMessage(nLinkKind));
    if (!message || !message->m_pBuffer || !message->m_pSendFrame || !message->CreateLink(nLinkKind))
    {
        NetLog("no message layer of link kind %d", nLinkKind);
        return nullptr;
    }
    return message;
}

std::unique_ptr<CMessage> CMessage::Create(std::unique_ptr<CCommLink> link, int nLinkKind)
{
    std::unique_ptr<CMessage> message(new (std::nothrow) CMessage(nLinkKind));
    if (!message || !message->m_pBuffer || !message->m_pSendFrame || !link)
        return nullptr;
    message->m_pLink = std::move(link);
    return message;
}

BOOL CMessage::CreateLink(int nLinkKind)
{
    if (m_pLink)
        return TRUE;
    switch (nLinkKind)
    {
    case kSerialLink:
        m_pLink.reset(new (std::nothrow) CSerialLink());
        break;
    case kSessionLink:
        m_pLink.reset(new (std::nothrow) CNetLink());
        break;
    case kAddressLink:
        m_pLink.reset(new (std::nothrow) CNetAddressLink());
        break;
    default:
        break;
    }
    return m_pLink != nullptr;
}

void CMessage::ResetReceiving()
{
    m_nFill = 0;
    m_nExpectedSequence = 0;
    m_nSendSequence = kFirstSequence;
    std::memset(m_pBuffer.get(), 0, kBufferSize);
    for (Slot& slot : m_slots)
    {
        std::memset(slot.header, 0, sizeof slot.header);
        slot.length = 0;
        slot.sequence = 0;
        slot.type = 0;
        slot.inUse = FALSE;
    }
    std::memset(m_handedOut, 0, sizeof m_handedOut);
    m_nHandedNext = 0;
}

int CMessage::Open(int nArgument)
{
    ResetReceiving();
    return m_pLink->Open(nArgument);
}

int CMessage::Close() { return m_pLink->Close(); }
int CMessage::StartJoin(int nArgument) { return m_pLink->StartJoin(nArgument); }
int CMessage::StartHost(int nArgument) { return m_pLink->StartHost(nArgument); }
int CMessage::Hangup() { return m_pLink->Hangup(); }
int CMessage::IsConnected() { return m_pLink->Poll(); }

int CMessage::SendLinkMessage(const void* pPayload, int nLength, DWORD dwType, DWORD dwSelector,
                              const CString& strName)
{
    if (nLength < 0 || nLength > kMaxPayload || (nLength > 0 && !pPayload))
    {
        NetLog("message of type %u not sent: its %d bytes do not fit in a frame", dwType, nLength);
        return 0;
    }
    BYTE* frame = m_pSendFrame.get();
    const BYTE* payload = static_cast<const BYTE*>(pPayload);
    std::memset(frame, kStartByte, kMarkerSize);
    BYTE* header = frame + kMarkerSize;
    WriteField(header + kLengthField, static_cast<unsigned>(nLength));
    WriteField(header + kChecksumField, SumBytes<true>(header + kHeaderSize, payload, nLength));
    WriteField(header + kSequenceField, static_cast<unsigned>(m_nSendSequence));
    WriteField(header + kTypeField, dwType % 100000);
    WriteField(header + kStatusField, 0);
    std::memset(header + kHeaderSize + nLength, kEndByte, kMarkerSize);
    if (++m_nSendSequence >= kSequenceLimit)
        m_nSendSequence = kFirstSequence;
    if (!m_pLink->Send(frame, nLength + kFrameOverhead, dwSelector, strName))
    {
        NetShowMessage("You are not connected!", nullptr, MB_ICONSTOP);
        return 0;
    }
    return 1;
}

BOOL CMessage::FindFrame(int nFill, int& nStart, int& nEnd) const
{
    const BYTE* bytes = m_pBuffer.get();
    const int start = FindTriple(bytes, 0, nFill, kStartByte);
    if (start < 0)
        return FALSE;
    int body = start;
    while (body < nFill && bytes[body] == kStartByte)
        ++body;
    // A sound header says where its frame ends; an end marker before that
    // lies inside the payload.
    if (body + kHeaderSize <= nFill)
    {
        const BYTE* header = bytes + body;
        const int length = ReadField(header + kLengthField);
        const bool sound = length >= 0 && length <= kMaxPayload && ReadField(header + kChecksumField) >= 0 &&
                           ReadField(header + kSequenceField) >= 0 && ReadField(header + kTypeField) >= 0 &&
                           ReadField(header + kStatusField) >= 0;
        if (sound)
        {
            const int end = body + kHeaderSize + length;
            if (end + kMarkerSize <= nFill)
            {
                if (bytes[end] == kEndByte && bytes[end + 1] == kEndByte && bytes[end + 2] == kEndByte)
                {
                    nStart = start;
                    nEnd = end;
                    return TRUE;
                }
            }
            else if (nFill < kBufferSize)
            {
                return FALSE;  // the rest is still to come
            }
        }
    }
    const int early = FindTriple(bytes, body, nFill, kEndByte);
    if (early < 0)
        return FALSE;
    nStart = start;
    nEnd = early;
    return TRUE;
}

void CMessage::ExtractFrame(int nStart, int nEnd)
{
    BYTE* bytes = m_pBuffer.get();
    int body = nStart;
    while (body < nEnd && bytes[body] == kStartByte)
        ++body;
    QueueFrame(bytes + body, nEnd - body);
    int removed = nEnd;
    while (removed < m_nFill && bytes[removed] == kEndByte)
        ++removed;
    if (removed >= m_nFill)
    {
        m_nFill = 0;
        return;
    }
    std::memmove(bytes, bytes + removed, static_cast<size_t>(m_nFill - removed));
    m_nFill -= removed;
}

void CMessage::QueueFrame(const BYTE* pBody, int nSize)
{
    if (nSize < kHeaderSize)
    {
        NetLog("frame dropped: its body of %d bytes is shorter than the header", nSize);
        return;
    }
    const int length = ReadField(pBody + kLengthField);
    const int checksum = ReadField(pBody + kChecksumField);
    const int sequence = ReadField(pBody + kSequenceField);
    const int type = ReadField(pBody + kTypeField);
    const int status = ReadField(pBody + kStatusField);
    if (length < 0 || checksum < 0 || sequence < 0 || type < 0 || status < 0)
    {
        NetLog("frame dropped: a header field is not five digits and a space");
        return;
    }
    if (length > nSize - kHeaderSize || length > kMaxPayload)
    {
        NetLog("frame dropped: its length %d exceeds its body of %d bytes", length, nSize - kHeaderSize);
        return;
    }
    if (sequence < kFirstSequence || sequence >= kSequenceLimit)
    {
        NetLog("frame dropped: sequence %d is outside %d..%d", sequence, kFirstSequence, kSequenceLimit - 1);
        return;
    }
    if (type == 0)
    {
        NetLog("frame dropped: type 0");
        return;
    }
    const BYTE* payload = pBody + kHeaderSize;
    if (IsDuplicate(sequence))
    {
        NetLog("frame dropped: sequence %d arrived before", sequence);
        return;
    }
    for (Slot& slot : m_slots)
    {
        if (slot.inUse)
            continue;
        if (slot.room < length)
        {
            slot.payload.reset(new (std::nothrow) BYTE[static_cast<size_t>(length)]);
            slot.room = slot.payload ? length : 0;
            if (!slot.payload)
            {
                NetShowMessage("inMessage malloc failed", nullptr, MB_OK);
                return;
            }
        }
        // The payload is checked as it is copied; a bad one leaves the slot free.
        if (static_cast<int>(SumBytes<true>(slot.payload.get(), payload, length)) != checksum % 65536)
        {
            NetLog("frame dropped: sequence %d fails its checksum", sequence);
            return;
        }
        std::memcpy(slot.header, pBody, kHeaderSize);
        slot.length = length;
        slot.sequence = sequence;
        slot.type = static_cast<DWORD>(type);
        std::memcpy(slot.header + kStatusField, "00001 ", kFieldSize);
        slot.inUse = TRUE;
        return;
    }
}

BOOL CMessage::IsDuplicate(int nSequence) const
{
    for (const Slot& slot : m_slots)
        if (slot.inUse && slot.sequence == nSequence)
            return TRUE;
    for (int handed : m_handedOut)
        if (handed == nSequence)
            return TRUE;
    return FALSE;
}

int CMessage::SlotsInUse() const
{
    int n = 0;
    for (const Slot& slot : m_slots)
        n += slot.inUse ? 1 : 0;
    return n;
}

void CMessage::DropToNextStart()
{
    BYTE* bytes = m_pBuffer.get();
    int from = FindTriple(bytes, 0, m_nFill, kStartByte);
    from = from < 0 ? 0 : from;
    while (from < m_nFill && bytes[from] == kStartByte)
        ++from;
    const int next = FindTriple(bytes, from, m_nFill, kStartByte);
    const int keep = next < 0 ? 0 : m_nFill - next;
    NetLog("receive buffer full without a whole frame: %d bytes dropped", m_nFill - keep);
    if (keep > 0)
        std::memmove(bytes, bytes + next, static_cast<size_t>(keep));
    m_nFill = keep;
}

void CMessage::Poll()
{
    if (!m_pLink || !m_pBuffer)
        return;
    for (;;)
    {
        int got = 0;
        if (m_nFill < kBufferSize && m_pLink->DataAvailable())
        {
            got = m_pLink->Read(m_pBuffer.get() + m_nFill, m_nFill);
            if (got < 0)
            {
                NetLog("receive buffer overflow: %d bytes dropped", m_nFill);
                m_nFill = 0;
                got = 0;
            }
            else
            {
                m_nFill += got;
            }
        }
        int start = 0;
        int end = 0;
        while (m_nFill > 0 && SlotsInUse() < kSlotCount && FindFrame(m_nFill, start, end))
            ExtractFrame(start, end);
        if (m_nFill >= kBufferSize && !FindFrame(m_nFill, start, end))
            DropToNextStart();
        if (got == 0 || SlotsInUse() >= kSlotCount)
            break;
    }
    if (m_nFill >= kNoCarrierSize)
    {
        const BYTE* bytes = m_pBuffer.get();
        for (int i = 0; i + kNoCarrierSize <= m_nFill;)
        {
            const void* hit = std::memchr(bytes + i, 'N', static_cast<size_t>(m_nFill - kNoCarrierSize + 1 - i));
            if (!hit)
                break;
            i = static_cast<int>(static_cast<const BYTE*>(hit) - bytes);
            if (std::memcmp(bytes + i, kNoCarrier, kNoCarrierSize) == 0)
            {
                m_pLink->SetCarrierLost(TRUE);
                break;
            }
            ++i;
        }
    }
}

DWORD CMessage::GetNextMessage(void* pDestination, int nCapacity, int* pLength)
{
    Poll();
    constexpr int kSpan = kSequenceLimit - kFirstSequence;
    for (;;)
    {
        // Before anything was handed out the lowest sequence goes first;
        // afterwards the one that follows the expected sequence most
        // closely, counting round the wrap, so that messages on both sides
        // of the wrap leave in the order they were sent and a sender that
        // starts again at 2 is followed.
        Slot* taken = nullptr;
        int best = 0;
        for (Slot& slot : m_slots)
        {
            if (!slot.inUse || slot.sequence == 0)
                continue;
            const int rank = m_nExpectedSequence < kFirstSequence
                                 ? slot.sequence
                                 : (slot.sequence - m_nExpectedSequence + kSpan) % kSpan;
            if (!taken || rank < best)
            {
                taken = &slot;
                best = rank;
            }
        }
        if (!taken)
        {
            if (pLength)
                *pLength = 0;
            return 0;
        }
        m_nExpectedSequence = taken->sequence + 1;
        if (m_nExpectedSequence >= kSequenceLimit)
            m_nExpectedSequence = kFirstSequence;
        taken->inUse = FALSE;
        std::memcpy(taken->header + kStatusField, "00000 ", kFieldSize);
        m_handedOut[m_nHandedNext] = taken->sequence;
        m_nHandedNext = (m_nHandedNext + 1) % kSlotCount;
        if (taken->length > nCapacity || (taken->length > 0 && !pDestination))
        {
            NetLog("message of type %u dropped: its %d bytes do not fit the %d given", taken->type, taken->length,
                   nCapacity);
            continue;
        }
        if (taken->length > 0)
            std::memcpy(pDestination, taken->payload.get(), static_cast<size_t>(taken->length));
        if (pLength)
            *pLength = taken->length;
        return taken->type;
    }
}

int CMessage::CountMessages(BOOL bNoPoll)
{
    if (!bNoPoll)
        Poll();
    return SlotsInUse();
}
