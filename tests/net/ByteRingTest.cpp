// The receive ring: order across the wrap, a writer that waits while the
// ring is full, and reads that take only the room given.
#include "net/ByteRing.h"
#include "net/NetLink.h"
#include "platform/net/HostLookup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace
{
std::vector<BYTE> Pattern(int size, int seed)
{
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        bytes[static_cast<size_t>(i)] = static_cast<BYTE>((i * 31 + seed) & 0xFF);
    return bytes;
}
}  // namespace

TEST(ByteRing, BytesAcrossTheWrapComeOutInArrivalOrder)
{
    CByteRing ring;
    ring.SetIndices(14990);
    const std::vector<BYTE> in = Pattern(100, 7);
    ASSERT_TRUE(ring.Write(in.data(), 40));
    ASSERT_TRUE(ring.Write(in.data() + 40, 60));
    EXPECT_EQ(100, ring.GetHeld());
    EXPECT_EQ(90, ring.GetWriteIndex());
    std::vector<BYTE> out(100);
    EXPECT_EQ(100, ring.Read(out.data(), 100));
    EXPECT_EQ(in, out);
    EXPECT_TRUE(ring.IsEmpty());
}

TEST(ByteRing, AReadTakesOnlyTheRoomGivenAndLeavesTheRest)
{
    CByteRing ring;
    const std::vector<BYTE> in = Pattern(500, 3);
    ring.Write(in.data(), 500);
    std::vector<BYTE> out(500);
    EXPECT_EQ(120, ring.Read(out.data(), 120));
    EXPECT_EQ(380, ring.GetHeld());
    EXPECT_EQ(380, ring.Read(out.data() + 120, 1000));
    EXPECT_EQ(in, out);
}

TEST(ByteRing, AWriterWaitsWhileTheRingIsFullInsteadOfOverwriting)
{
    CByteRing ring;
    const std::vector<BYTE> in = Pattern(3 * CByteRing::kSize, 11);
    std::thread writer([&] { EXPECT_TRUE(ring.Write(in.data(), static_cast<int>(in.size()))); });
    // The reader is busy for a while (a question on the screen).
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(CByteRing::kSize - 1, ring.GetHeld());
    std::vector<BYTE> out;
    std::vector<BYTE> chunk(4096);
    while (out.size() < in.size())
    {
        const int n = ring.Read(chunk.data(), static_cast<int>(chunk.size()));
        out.insert(out.end(), chunk.begin(), chunk.begin() + n);
        if (n == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    writer.join();
    EXPECT_EQ(in, out);
}

TEST(ByteRing, StopReleasesAWaitingWriter)
{
    CByteRing ring;
    const std::vector<BYTE> in = Pattern(CByteRing::kSize + 10, 1);
    BOOL written = TRUE;
    std::thread writer([&] { written = ring.Write(in.data(), static_cast<int>(in.size())); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ring.Stop();
    writer.join();
    EXPECT_FALSE(written);
}

TEST(NetLink, ALinkWithoutAPeerIsNotReadyAndSendsNothing)
{
    CNetLink link;
    EXPECT_EQ(0, link.Poll());
    EXPECT_EQ(0, link.Send("x", 1, 0, CString()));
    BYTE buffer[8];
    EXPECT_EQ(0, link.Read(buffer, 0));
    EXPECT_EQ(0, link.HasUserListDll());
    EXPECT_EQ(5, link.SetMode(5));
}

TEST(NetLink, TheLocalAddressIsAnIpv4Text)
{
    ASSERT_TRUE(GetLocalIpAddress());
    const CString text = GetLocalIpText();
    DWORD address = 0;
    EXPECT_TRUE(ParseIpv4(text, address)) << text.GetString();
    EXPECT_TRUE(StopWinSock());
    EXPECT_FALSE(StopWinSock());
}
