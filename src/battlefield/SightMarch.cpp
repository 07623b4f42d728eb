#include "battlefield/SightMarch.h"

namespace
{
inline bool NearEdge(long long position, std::uint32_t margin)
{
    return static_cast<std::uint32_t>(static_cast<std::uint32_t>(position) + margin) < 2 * margin;
}

template <bool kFeatures>
bool Unsettled(const SightMarch& m, int i)
{
    const long long u = m.u0 + i * m.du;
    const long long v = m.v0 + i * m.dv;
    const unsigned long long cell =
        (static_cast<unsigned long long>(u) >> 32) * static_cast<unsigned long long>(m.rows) +
        (static_cast<unsigned long long>(v) >> 32);
    const long long e = m.samples[cell];
    bool unsettled = NearEdge(u, m.edgeMargin) || NearEdge(v, m.edgeMargin) || e * (1LL << 32) >= m.line0 + i * m.dLine;
    if constexpr (kFeatures)
        unsettled |= ((m.tall[cell >> 6] >> (cell & 63)) & 1u) != 0;
    return unsettled;
}

template <bool kFeatures>
int March(const SightMarch& m, int first, int last, unsigned* unsettled)
{
    for (int i = first; i <= last; ++i)
        if (Unsettled<kFeatures>(m, i))
        {
            // The block starts here.
            unsigned bits = 1;
            for (int k = 1; k < kSightBlock && i + k <= last; ++k)
                bits |= Unsettled<kFeatures>(m, i + k) ? 1u << k : 0u;
            *unsettled = bits;
            return i;
        }
    *unsettled = 0;
    return last + 1;
}

using Kernel = int (*)(const SightMarch&, int, int, unsigned*);

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

int NextUnsettledBlockPlain(const SightMarch& march, int first, int last, unsigned* unsettled)
{
    return march.tall != nullptr ? March<true>(march, first, last, unsettled)
                                 : March<false>(march, first, last, unsettled);
}

#if !defined(KDR_SIGHT_WIDE)
int NextUnsettledBlockWide(const SightMarch& march, int first, int last, unsigned* unsettled)
{
    return NextUnsettledBlockPlain(march, first, last, unsettled);
}
#endif

int NextUnsettledBlock(const SightMarch& march, int first, int last, unsigned* unsettled)
{
    return g_kernel(march, first, last, unsettled);
}

void PrepareSightMarchLanes(SightMarch& m)
{
    for (int k = 0; k < kSightBlock; ++k)
    {
        m.laneU[k] = static_cast<int>((k * m.du) >> (32 - kSightLanePositionBits));
        m.laneV[k] = static_cast<int>((k * m.dv) >> (32 - kSightLanePositionBits));
        m.laneLine[k] = static_cast<int>((k * m.dLine) >> (32 - kSightLaneLineBits));
    }
}

bool HasWideSightMarch() { return g_wideAvailable; }

void UsePlainSightMarch(bool plain)
{
    g_kernel = plain || !g_wideAvailable ? NextUnsettledBlockPlain : NextUnsettledBlockWide;
}
