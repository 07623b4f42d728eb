// The message layer over an in-process link: frames byte for byte, the
// receiver's cases, the frames it must drop and the sends it must refuse.
#include "net/LoopbackLink.h"
#include "net/Message.h"
#include "support/NetLogCapture.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace
{
using Bytes = std::string;

const Bytes kStart = "\x02\x02\x02";
const Bytes kEnd = "\x03\x03\x03";

// A frame laid out by hand: the five header fields as given, then the payload.
Bytes RawFrame(const char* length, const char* checksum, const char* sequence, const char* type,
               const Bytes& payload, const char* status = "00000 ")
{
    return kStart + length + checksum + sequence + type + status + payload + kEnd;
}

Bytes Field(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%05u ", value);
    return text;
}

unsigned Sum(const Bytes& payload)
{
    unsigned sum = 0;
    for (unsigned char c : payload)
        sum += c;
    return sum % 65536;
}

// A sound frame of the sequence, type and payload.
Bytes GoodFrame(unsigned sequence, unsigned type, const Bytes& payload)
{
    return RawFrame(Field(static_cast<unsigned>(payload.size())).c_str(), Field(Sum(payload)).c_str(),
                    Field(sequence).c_str(), Field(type).c_str(), payload);
}

struct Pair
{
    Pair()
    {
        auto a = std::make_unique<CLoopbackLink>();
        auto b = std::make_unique<CLoopbackLink>();
        CLoopbackLink::Join(*a, *b);
        sendLink = a.get();
        receiveLink = b.get();
        sender = CMessage::Create(std::move(a), CMessage::kSessionLink);
        receiver = CMessage::Create(std::move(b), CMessage::kSessionLink);
    }
    // Puts bytes on the wire to the receiver, as a peer would.
    void Wire(const Bytes& bytes)
    {
        receiveLink->GetRing().Write(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    }
    // The bytes the sender's last sends put on the wire.
    Bytes Sent()
    {
        Bytes out(CMessage::kBufferSize, '\0');
        const int n = receiveLink->GetRing().Read(reinterpret_cast<BYTE*>(out.data()), CMessage::kBufferSize);
        out.resize(static_cast<size_t>(n));
        return out;
    }
    struct Got
    {
        DWORD type;
        Bytes payload;
    };
    Got Next(int capacity = 20000)
    {
        std::vector<char> buffer(20000);
        int length = -1;
        const DWORD type = receiver->GetNextMessage(buffer.data(), capacity, &length);
        return {type, Bytes(buffer.data(), static_cast<size_t>(type ? length : 0))};
    }
    std::vector<DWORD> Drain()
    {
        std::vector<DWORD> types;
        for (Got got = Next(); got.type != 0; got = Next())
            types.push_back(got.type);
        return types;
    }

    CLoopbackLink* sendLink;
    CLoopbackLink* receiveLink;
    std::unique_ptr<CMessage> sender;
    std::unique_ptr<CMessage> receiver;
};
}  // namespace

TEST(MessageFraming, AChatLineIsFramedByteForByte)
{
    Pair pair;
    const Bytes chat("Bob->hi\r\n\0", 10);
    ASSERT_EQ(1, pair.sender->SendLinkMessage(chat.data(), 10, 0x100, 0, CString()));
    const Bytes wire = pair.Sent();
    EXPECT_EQ(46u, wire.size());
    EXPECT_EQ(kStart + "00010 00614 00002 00256 00000 " + chat + kEnd, wire);
    EXPECT_EQ(3, pair.sender->GetSendSequence());

    pair.Wire(wire);
    const Pair::Got got = pair.Next();
    EXPECT_EQ(0x100u, got.type);
    EXPECT_EQ(chat, got.payload);
}

TEST(MessageFraming, AnEmptyMessageIsThirtySixBytesAndArrivesWithLengthZero)
{
    Pair pair;
    ASSERT_EQ(1, pair.sender->SendLinkMessage(nullptr, 0, 0x8000, 0, CString()));
    const Bytes wire = pair.Sent();
    EXPECT_EQ(kStart + "00000 00000 00002 32768 00000 " + kEnd, wire);
    pair.Wire(wire);
    const Pair::Got got = pair.Next();
    EXPECT_EQ(0x8000u, got.type);
    EXPECT_TRUE(got.payload.empty());
}

TEST(MessageFraming, SelectorAndNameReachTheLink)
{
    Pair pair;
    pair.sender->SendLinkMessage("x", 1, 7, 1, "Carol");
    EXPECT_EQ(1u, pair.sendLink->GetLastSelector());
    EXPECT_EQ(CString("Carol"), pair.sendLink->GetLastName());
}

TEST(MessageFraming, TheSendSequenceWrapsFrom14999ToTwo)
{
    Pair pair;
    pair.sender->SetSendSequence(14999);
    pair.sender->SendLinkMessage("a", 1, 5, 0, CString());
    pair.sender->SendLinkMessage("b", 1, 5, 0, CString());
    const Bytes wire = pair.Sent();
    EXPECT_EQ(GoodFrame(14999, 5, "a") + GoodFrame(2, 5, "b"), wire);
}

TEST(MessageFraming, PayloadsAboveTheLargestAreRefusedWithALogLine)
{
    Pair pair;
    CNetLogCapture log;
    const Bytes largest(CMessage::kMaxPayload, 'z');
    EXPECT_EQ(0, pair.sender->SendLinkMessage(largest.data(), CMessage::kMaxPayload + 1, 9, 0, CString()));
    EXPECT_TRUE(log.Has("do not fit"));
    EXPECT_EQ(0, pair.sender->SendLinkMessage(largest.data(), -1, 9, 0, CString()));
    EXPECT_EQ(2, pair.sender->GetSendSequence()) << "a refused payload takes no sequence";

    // The largest frame fills the receiver's buffer but not the ring, which
    // holds one byte less: the send waits for the reader.
    int sent = 0;
    std::thread sender([&] { sent = pair.sender->SendLinkMessage(largest.data(), CMessage::kMaxPayload, 9, 0, CString()); });
    Bytes wire;
    while (wire.size() < static_cast<size_t>(CMessage::kBufferSize))
        wire += pair.Sent();
    sender.join();
    ASSERT_EQ(1, sent);
    EXPECT_EQ(static_cast<size_t>(CMessage::kBufferSize), wire.size());
    std::thread wire_([&] { pair.Wire(wire); });
    Pair::Got got;
    do
        got = pair.Next();
    while (got.type == 0);
    wire_.join();
    EXPECT_EQ(largest, got.payload);
}

TEST(MessageFraming, ASendTheLinkRefusesSaysYouAreNotConnected)
{
    Pair pair;
    pair.sendLink->Hangup();
    ScopedScriptedUi ui;
    ui->ExpectMessage(GetMessageBoxCaption(), "You are not connected!", IDOK);
    EXPECT_EQ(0, pair.sender->SendLinkMessage("x", 1, 3, 0, CString()));
}

// Each bad frame is dropped with a log line while the good one behind it
// is delivered.
TEST(MessageFraming, BadFramesAreDroppedAndTheNextIsDelivered)
{
    struct Case
    {
        const char* name;
        Bytes frame;
        const char* logged;
    };
    const Bytes p = "hello";
    const Case cases[] = {
        {"letter in the length", RawFrame("0000x ", "00532 ", "00002 ", "00001 ", p), "five digits"},
        {"no space after the type", RawFrame("00005 ", "00532 ", "00002 ", "000011", p), "five digits"},
        {"sign in the checksum", RawFrame("00005 ", "-0532 ", "00002 ", "00001 ", p), "five digits"},
        {"status not digits", RawFrame("00005 ", "00532 ", "00002 ", "00001 ", p, "abcde "), "five digits"},
        {"sequence 0", RawFrame("00005 ", "00532 ", "00000 ", "00001 ", p), "sequence 0 is outside"},
        {"sequence 1", RawFrame("00005 ", "00532 ", "00001 ", "00001 ", p), "sequence 1 is outside"},
        {"sequence 15000", RawFrame("00005 ", "00532 ", "15000 ", "00001 ", p), "outside"},
        {"type 0", RawFrame("00005 ", "00532 ", "00002 ", "00000 ", p), "type 0"},
        {"body shorter than the header", kStart + "00000 00000 0" + kEnd, "shorter than the header"},
        {"length beyond the body", RawFrame("00009 ", "00532 ", "00002 ", "00001 ", p), "exceeds"},
        {"length beyond the largest", RawFrame("14965 ", "00532 ", "00002 ", "00001 ", p), "exceeds"},
        {"wrong checksum", RawFrame("00005 ", "00533 ", "00002 ", "00001 ", p), "checksum"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Pair pair;
        CNetLogCapture log;
        pair.Wire(c.frame + GoodFrame(3, 77, "next"));
        const Pair::Got got = pair.Next();
        EXPECT_EQ(77u, got.type);
        EXPECT_EQ("next", got.payload);
        EXPECT_EQ(0u, pair.Next().type);
        EXPECT_TRUE(log.Has(c.logged)) << (log.Lines().empty() ? "no log line" : log.Lines().front());
        EXPECT_EQ(0, pair.receiver->GetFill());
    }
}

// The receiver's cases: what arrives, and the order in which it is handed out.
TEST(MessageFraming, TheReceiverHandsOutInSequenceOrder)
{
    struct Case
    {
        const char* name;
        int expectedBefore;  // a message handed out first sets the expected sequence
        Bytes wire;
        std::vector<DWORD> types;
        int expectedAfter;
    };
    Bytes many;
    std::vector<DWORD> manyTypes;
    for (unsigned s = 14990; s <= 14999; ++s)
        many += GoodFrame(s, s - 14000, "w");
    for (unsigned s = 2; s <= 11; ++s)
        many += GoodFrame(s, s + 1000, "w");
    for (unsigned s = 14990; s <= 14999; ++s)
        manyTypes.push_back(s - 14000);
    for (unsigned s = 2; s <= 11; ++s)
        manyTypes.push_back(s + 1000);
    const Case cases[] = {
        {"two frames in one read, lowest first", 0, GoodFrame(3, 30, "b") + GoodFrame(2, 20, "a"), {20, 30}, 4},
        {"14999 then 2", 14999, GoodFrame(2, 2, "y") + GoodFrame(14999, 1, "x"), {1, 2}, 3},
        {"a restart at 2 is followed", 500, GoodFrame(2, 9, "r"), {9}, 3},
        {"ten before and ten after the wrap, in order", 14990, many, manyTypes, 12},
        {"modem text before the frame is discarded", 0, "RING\r\nCONNECT 9600\r\n" + GoodFrame(2, 4, "m"), {4}, 3},
        {"a duplicate is delivered once", 0, GoodFrame(2, 4, "d") + GoodFrame(2, 4, "d"), {4}, 3},
        {"end markers inside the payload", 0, GoodFrame(2, 6, Bytes("a\x03\x03\x03z\x03", 6)), {6}, 3},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Pair pair;
        CNetLogCapture log;
        if (c.expectedBefore > 0)
        {
            pair.Wire(GoodFrame(static_cast<unsigned>(c.expectedBefore - 1), 999, "p"));
            ASSERT_EQ(999u, pair.Next().type);
            ASSERT_EQ(c.expectedBefore, pair.receiver->GetExpectedSequence());
        }
        pair.Wire(c.wire);
        EXPECT_EQ(c.types, pair.Drain());
        EXPECT_EQ(c.expectedAfter, pair.receiver->GetExpectedSequence());
        EXPECT_EQ(0, pair.receiver->GetFill());
    }
}

TEST(MessageFraming, TheTwentyFirstFrameWaitsForASlot)
{
    Pair pair;
    Bytes wire;
    for (unsigned s = 2; s <= 22; ++s)
        wire += GoodFrame(s, s, "q");
    pair.Wire(wire);
    EXPECT_EQ(20, pair.receiver->CountMessages(FALSE));
    EXPECT_EQ(36 + 1, pair.receiver->GetFill()) << "the 21st stays in the buffer";
    EXPECT_EQ(2u, pair.Next().type);
    EXPECT_EQ(20, pair.receiver->CountMessages(FALSE)) << "the poll after a take queues it";
    EXPECT_EQ(0, pair.receiver->GetFill());
    std::vector<DWORD> expected;
    for (DWORD s = 3; s <= 22; ++s)
        expected.push_back(s);
    EXPECT_EQ(expected, pair.Drain());
}

TEST(MessageFraming, OnlyRecentSequencesCountAsDuplicates)
{
    Pair pair;
    Bytes wire;
    for (unsigned s = 2; s <= 31; ++s)
        wire += GoodFrame(s, s, "q");
    pair.Wire(wire);
    EXPECT_EQ(30u, pair.Drain().size());
    // 2 was handed out 30 messages ago: its slot is stale, so it is new again.
    pair.Wire(GoodFrame(31, 1, "dup") + GoodFrame(2, 2, "again"));
    EXPECT_EQ(std::vector<DWORD>{2}, pair.Drain());
}

TEST(MessageFraming, APayloadAboveTheCallersRoomIsDroppedWithALogLine)
{
    Pair pair;
    CNetLogCapture log;
    pair.Wire(GoodFrame(2, 1, Bytes(100, 'L')) + GoodFrame(3, 2, "small"));
    const Pair::Got got = pair.Next(50);
    EXPECT_EQ(2u, got.type);
    EXPECT_EQ("small", got.payload);
    EXPECT_TRUE(log.Has("do not fit the 50 given"));
}

TEST(MessageFraming, NoCarrierAnywhereInTheBufferMarksTheCarrierLost)
{
    Pair pair;
    // After a zero byte, where a text search would stop.
    pair.Wire(Bytes("\0junk\r\nNO CARRIER\r\n", 19));
    EXPECT_EQ(0, pair.receiver->CountMessages(FALSE));
    EXPECT_TRUE(pair.receiveLink->IsCarrierLost());
    EXPECT_EQ(0, pair.receiver->IsConnected());
}

TEST(MessageFraming, AFullBufferWithoutAFrameDropsUpToTheNextStart)
{
    Pair pair;
    CNetLogCapture log;
    // A frame that says it is as long as frames get but never ends, and a
    // good frame that begins inside the buffer and ends beyond it.
    Bytes wire = kStart + "14964 00000 00002 00001 00000 ";
    wire += Bytes(14980 - wire.size(), 'n');
    wire += GoodFrame(3, 8, "after");
    pair.Wire(wire.substr(0, 14999));
    EXPECT_EQ(0, pair.receiver->CountMessages(FALSE)) << "the long frame may still come whole";
    EXPECT_FALSE(log.Has("receive buffer full"));
    pair.Wire(wire.substr(14999));
    EXPECT_EQ(std::vector<DWORD>{8}, pair.Drain());
    EXPECT_TRUE(log.Has("receive buffer full"));
}

TEST(MessageFraming, AFrameSplitAcrossReadsWaitsForItsRest)
{
    Pair pair;
    const Bytes frame = GoodFrame(2, 12, Bytes("\x03\x03\x03 inside", 10));
    for (size_t cut = 1; cut < frame.size(); cut += 7)
    {
        Pair p;
        p.Wire(frame.substr(0, cut));
        EXPECT_EQ(0, p.receiver->CountMessages(FALSE)) << "cut at " << cut;
        p.Wire(frame.substr(cut));
        EXPECT_EQ(std::vector<DWORD>{12}, p.Drain()) << "cut at " << cut;
    }
}

TEST(MessageFraming, OpenStartsBothSidesAgainAtTwo)
{
    Pair pair;
    pair.sender->SendLinkMessage("a", 1, 5, 0, CString());
    pair.Wire(pair.Sent());
    EXPECT_EQ(5u, pair.Next().type);
    EXPECT_EQ(1, pair.sender->Open(0));
    EXPECT_EQ(1, pair.receiver->Open(0));
    EXPECT_EQ(2, pair.sender->GetSendSequence());
    EXPECT_EQ(0, pair.receiver->GetExpectedSequence());
    pair.sender->SendLinkMessage("b", 1, 6, 0, CString());
    pair.Wire(pair.Sent());
    EXPECT_EQ(6u, pair.Next().type) << "sequence 2 again is new after Open";
}

TEST(MessageFraming, AnUnknownLinkKindMakesNoLayer)
{
    CNetLogCapture log;
    EXPECT_EQ(nullptr, CMessage::Create(0));
    EXPECT_EQ(nullptr, CMessage::Create(4));
    EXPECT_NE(nullptr, CMessage::Create(CMessage::kAddressLink));
}
