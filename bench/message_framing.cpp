// One game message of 10,802 bytes (the size of a units record of 150
// units) framed, sent through an in-process link into the receiver's ring,
// cut out of the stream, checked and handed to the caller's buffer: the
// whole road of a message through the message layer, both ends, less the
// socket. The plain reference, in the same run and in turn with it, is a
// memcpy of the same bytes into a buffer of the same size.
//
// Reports the median nanoseconds of each, the message's ratio to the copy
// (goal: at most 8) and the heap allocations per message from the second
// pass on (goal: none), beside the machine's load average. A case short of
// a goal is also written to standard error.
#include "AllocationCount.h"

#include "net/LoopbackLink.h"
#include "net/Message.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
constexpr int kPayload = 10802;
constexpr DWORD kUnitsRecordType = 0x10;
constexpr double kRatioGoal = 8.0;
constexpr int kRounds = 201;
constexpr int kPerRound = 16;

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void BM_UnitsRecordThroughTheMessageLayer(benchmark::State& state)
{
    auto sendLink = std::make_unique<CLoopbackLink>();
    auto receiveLink = std::make_unique<CLoopbackLink>();
    CLoopbackLink::Join(*sendLink, *receiveLink);
    std::unique_ptr<CMessage> sender = CMessage::Create(std::move(sendLink), CMessage::kSessionLink);
    std::unique_ptr<CMessage> receiver = CMessage::Create(std::move(receiveLink), CMessage::kSessionLink);
    std::vector<BYTE> payload(kPayload);
    for (int i = 0; i < kPayload; ++i)
        payload[static_cast<size_t>(i)] = static_cast<BYTE>((i * 37 + (i >> 7)) & 0xFF);
    std::vector<BYTE> destination(20000);
    std::vector<BYTE> copy(kPayload);

    auto oneMessage = [&] {
        sender->SendLinkMessage(payload.data(), kPayload, kUnitsRecordType, 0, CString());
        int length = 0;
        const DWORD type = receiver->GetNextMessage(destination.data(), static_cast<int>(destination.size()), &length);
        if (type != kUnitsRecordType || length != kPayload)
            std::abort();
    };
    // The first pass lets every buffer and slot reach its size.
    for (int i = 0; i < 2 * CMessage::kSlotCount; ++i)
        oneMessage();

    long long messages = 0;
    long long allocations = 0;
    std::vector<double> messageNs;
    std::vector<double> copyNs;
    for (auto _ : state)
    {
        messageNs.clear();
        copyNs.clear();
        for (int round = 0; round < kRounds; ++round)
        {
            const long long before = g_allocations.load();
            const Clock::time_point t0 = Clock::now();
            for (int i = 0; i < kPerRound; ++i)
                oneMessage();
            const Clock::time_point t1 = Clock::now();
            allocations += g_allocations.load() - before;
            for (int i = 0; i < kPerRound; ++i)
            {
                std::memcpy(copy.data(), payload.data(), kPayload);
                benchmark::ClobberMemory();
            }
            const Clock::time_point t2 = Clock::now();
            messageNs.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count() / kPerRound);
            copyNs.push_back(std::chrono::duration<double, std::nano>(t2 - t1).count() / kPerRound);
            messages += kPerRound;
        }
    }
    const double message = Median(messageNs);
    const double reference = Median(copyNs);
    const double ratio = reference > 0.0 ? message / reference : 0.0;
    const double allocsPerMessage = messages > 0 ? static_cast<double>(allocations) / static_cast<double>(messages) : 0.0;
    double load[1] = {0.0};
    getloadavg(load, 1);
    state.counters["message_ns"] = message;
    state.counters["memcpy_ns"] = reference;
    state.counters["vs_memcpy"] = ratio;
    state.counters["allocs_per_message"] = allocsPerMessage;
    state.counters["load_avg_1min"] = load[0];
    if (ratio > kRatioGoal || allocsPerMessage > 0.0)
        std::fprintf(stderr, "message_framing: %.2f times the copy (goal %.0f), %.3f allocations a message (goal 0)\n",
                     ratio, kRatioGoal, allocsPerMessage);
}
}  // namespace

BENCHMARK(BM_UnitsRecordThroughTheMessageLayer)->Iterations(1)->Unit(benchmark::kMillisecond);
