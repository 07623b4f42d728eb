#include "battlefield/SightMarch.h"

namespace
{
inline bool NearEdge(long long position, std::uint32_t margin)
{
    return static_cast<std::uint32_t>(static_cast<std::uint32_t>(position) + margin) < 2 * margin;
}

enum class Sample
{
    kSettled,
    kUnsettled,
    kObscured,
};

enum class Read
{
    kGround,
    kGroundAndMarks,
    kWords,
};

template <Read kRead>
Sample Classify(const SightMarch& m, int i)
{
    const long long u = m.u0 + i * m.du;
    const long long v = m.v0 + i * m.dv;
    const unsigned long long cell =
        (static_cast<unsigned long long>(u) >> 32) * static_cast<unsigned long long>(m.rows) +
        (static_cast<unsigned long long>(v) >> 32);
    if (NearEdge(u, m.edgeMargin) || NearEdge(v, m.edgeMargin))
        return Sample::kUnsettled;
    const long long line = m.line0 + i * m.dLine;
    if constexpr (kRead == Read::kWords)
    {
        const std::int32_t word = m.words[cell];
        const long long e = static_cast<short>(word & 0xFFFF);
        const long long top = e + m.classTop[static_cast<std::uint32_t>(word) >> 16];
        if (top * (1LL << 32) < line)
            return Sample::kSettled;
        if (top != e && e * (1LL << 32) < line && top * (1LL << 32) > m.upper0 + i * m.dLine)
            return Sample::kObscured;
        return Sample::kUnsettled;
    }
    else
    {
        const long long e = m.samples[cell];
        bool unsettled = e * (1LL << 32) >= line;
        if constexpr (kRead == Read::kGroundAndMarks)
            unsettled |= ((m.tall[cell >> 6] >> (cell & 63)) & 1u) != 0;
        return unsettled ? Sample::kUnsettled : Sample::kSettled;
    }
}

template <Read kRead>
int March(const SightMarch& m, int first, int last, unsigned* unsettled, unsigned* obscured)
{
    for (int i = first; i <= last; ++i)
        if (Classify<kRead>(m, i) != Sample::kSettled)
        {
            // The block starts here.
            unsigned open = 0;
            unsigned dark = 0;
            for (int k = 0; k < kSightBlock && i + k <= last; ++k)
            {
                const Sample sample = Classify<kRead>(m, i + k);
                open |= sample == Sample::kUnsettled ? 1u << k : 0u;
                dark |= sample == Sample::kObscured ? 1u << k : 0u;
            }
            *unsettled = open;
            *obscured = dark;
            return i;
        }
    *unsettled = 0;
    *obscured = 0;
    return last + 1;
}

using Kernel = int (*)(const SightMarch&, int, int, unsigned*, unsigned*);

bool g_wideAvailable = false;

// The plain kernel from the start, so that a sight line asked for while
// the program is still starting has one; the wide one once it is known.
Kernel g_kernel = NextUnsettledBlockPlain;

bool PickKernel()
{
#if defined(KDR_SIGHT_WIDE)
    __builtin_cpu_init();
    g_wideAvailable = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("fma");
#endif
    UsePlainSightMarch(false);
    return true;
}

const bool g_picked = PickKernel();
}  // namespace

int NextUnsettledBlockPlain(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured)
{
    if (march.words != nullptr)
        return March<Read::kWords>(march, first, last, unsettled, obscured);
    return march.tall != nullptr ? March<Read::kGroundAndMarks>(march, first, last, unsettled, obscured)
                                 : March<Read::kGround>(march, first, last, unsettled, obscured);
}

#if !defined(KDR_SIGHT_WIDE)
int NextUnsettledBlockWide(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured)
{
    return NextUnsettledBlockPlain(march, first, last, unsettled, obscured);
}
#endif

int NextUnsettledBlock(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured)
{
    return g_kernel(march, first, last, unsettled, obscured);
}

bool HasWideSightMarch() { return g_wideAvailable; }

void UsePlainSightMarch(bool plain)
{
    g_kernel = plain || !g_wideAvailable ? NextUnsettledBlockPlain : NextUnsettledBlockWide;
}
