// The message layer's receiver over any bytes: the input is cut into
// chunks of sizes it chooses itself, with modem texts put between them,
// and each chunk goes through a link's ring into the layer, which is
// drained with a caller's buffer of a size the input also chooses.

#include "FuzzSupport.h"
#include "net/LoopbackLink.h"
#include "net/Message.h"
#include "platform/net/NetLog.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace
{
const char* const kModemTexts[] = {"CONNECT 9600\r\n", "NO CARRIER\r\n", "OK\r\n", "RING\r\n", "ZIVOVIDIRADU"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Setup();
    static const bool quiet = [] {
        SetNetLogSink([](const CString&) {});
        return true;
    }();
    (void)quiet;
    auto link = std::make_unique<CLoopbackLink>();
    CLoopbackLink* ring = link.get();
    std::unique_ptr<CMessage> message = CMessage::Create(std::move(link), CMessage::kSessionLink);
    std::vector<BYTE> out(20000);
    size_t at = 0;
    while (at < size)
    {
        // A control byte: chunk size, modem text, caller's room.
        const uint8_t control = data[at++];
        if ((control & 0xE0) == 0xE0)
        {
            const char* text = kModemTexts[control % (sizeof kModemTexts / sizeof *kModemTexts)];
            const int length = static_cast<int>(std::strlen(text));
            if (length < CByteRing::kSize - 1 - ring->GetRing().GetHeld())
                ring->GetRing().Write(reinterpret_cast<const BYTE*>(text), length);
        }
        const size_t chunk = std::min<size_t>({size - at, static_cast<size_t>(1 + (control & 0x1F) * 97),
                                               static_cast<size_t>(CByteRing::kSize - 1 - ring->GetRing().GetHeld())});
        ring->GetRing().Write(data + at, static_cast<int>(chunk));
        at += chunk;
        const int room = (control & 0x80) ? 20000 : 1 + control * 64;
        // Drain everything, so the ring has room for the next chunk.
        for (int round = 0; round < 64 && (!ring->GetRing().IsEmpty() || message->CountMessages(TRUE) > 0); ++round)
        {
            int length = 0;
            while (message->GetNextMessage(out.data(), room, &length) != 0)
                if (length < 0 || length > room)
                    std::abort();
        }
        if (message->GetFill() < 0 || message->GetFill() > CMessage::kBufferSize)
            std::abort();
    }
    return 0;
}
