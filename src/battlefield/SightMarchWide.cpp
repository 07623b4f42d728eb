// The sight line's march for processors with AVX2 (x86-64-v3): eight
// samples at a time, their ground and tall-feature marks gathered in two
// loads. This file alone is built for that level; SightMarch.cpp calls it
// only when the processor has it. It includes nothing that defines inline
// functions shared with the rest of the program, whose copies built here
// the linker could otherwise pick for everyone.
#include "battlefield/SightMarch.h"

#if defined(KDR_SIGHT_WIDE) && defined(__AVX2__)

#include <cstddef>
#include <immintrin.h>

namespace
{
constexpr int kLanes = kSightBlock;
// The lanes hold positions in cells with 20 fractional bits (a map has
// fewer than 4096 columns and rows) and the line in tenths with 8, each the
// block's start (a floor of the march's fixed point) plus the lane's step
// (another floor, LaneSteps): at most 2 units below the march, never above.
constexpr int kPositionShift = kSightLanePositionBits;
constexpr int kLineShift = 32 - kSightLaneLineBits;

enum class Read
{
    kGround,
    kGroundAndMarks,
    kWords,
};

// The steps from a block's first sample to each of its samples, k * step
// shifted down to the lanes' fractional bits for k = 0 to 7: the low 32
// bits of each 64-bit shift, which hold the whole of it. They are worked
// out here from the march's steps rather than handed over in memory:
// scalar stores read back as one wide load cannot be forwarded, and the
// march would wait for the whole set-up to retire first.
template <int kShift>
__m256i LaneSteps(long long step)
{
    const __m256i first = _mm256_setr_epi64x(0, step, 2 * step, 3 * step);
    const __m256i second = _mm256_add_epi64(first, _mm256_set1_epi64x(4 * step));
    const __m256i pick = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    const __m256i low = _mm256_permutevar8x32_epi32(_mm256_srli_epi64(first, kShift), pick);
    const __m256i high = _mm256_permutevar8x32_epi32(_mm256_srli_epi64(second, kShift), pick);
    return _mm256_inserti128_si256(low, _mm256_castsi256_si128(high), 1);
}

// One kernel per way of reading the grid, so that the plain ground's loop
// carries nothing for the marks or the words.
template <Read kRead>
int March(const SightMarch& m, int first, int last, unsigned* unsettled, unsigned* obscured)
{
    const __m256i laneU = LaneSteps<32 - kPositionShift>(m.du);
    const __m256i laneV = LaneSteps<32 - kPositionShift>(m.dv);
    const __m256i laneLine = LaneSteps<kLineShift>(m.dLine);
    const __m256i rows = _mm256_set1_epi32(static_cast<int>(m.rows));
    // The march's margin at a cell's edge, widened by the lanes' 2 units and
    // one more for the margin's own floor.
    const int edgeMargin = static_cast<int>(m.edgeMargin >> (32 - kPositionShift)) + 3;
    const __m256i margin = _mm256_set1_epi32(edgeMargin);
    const __m256i twoMargins = _mm256_set1_epi32(2 * edgeMargin);
    const __m256i fraction = _mm256_set1_epi32((1 << kPositionShift) - 1);

    // One bit per lane of the block from sample i, set where it is settled,
    // and in *dark where a feature alone obscures it.
    const auto settledFrom = [&](int i, unsigned* dark)
    {
        const long long u = m.u0 + i * m.du;
        const long long v = m.v0 + i * m.dv;
        const long long line = m.line0 + i * m.dLine;
        const __m256i pu = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(u >> (32 - kPositionShift))), laneU);
        const __m256i pv = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(v >> (32 - kPositionShift))), laneV);
        const __m256i cell = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(pu, kPositionShift), rows),
                                              _mm256_srli_epi32(pv, kPositionShift));
        const __m256i limit = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(line >> kLineShift)), laneLine);
        const __m256i nearU = _mm256_cmpgt_epi32(twoMargins, _mm256_and_si256(_mm256_add_epi32(pu, margin), fraction));
        const __m256i nearV = _mm256_cmpgt_epi32(twoMargins, _mm256_and_si256(_mm256_add_epi32(pv, margin), fraction));
        const __m256i near = _mm256_or_si256(nearU, nearV);
        // The ground of each lane's cell, and which lie clearly below the line.
        const auto groundBelow = [&]
        {
            // Each lane reads its sample and the next; the low half is its own.
            const __m256i pair = _mm256_i32gather_epi32(reinterpret_cast<const int*>(m.samples), cell, 2);
            const __m256i ground = _mm256_srai_epi32(_mm256_slli_epi32(pair, 16), 16);
            return _mm256_cmpgt_epi32(limit, _mm256_slli_epi32(ground, 32 - kLineShift));
        };
        if constexpr (kRead == Read::kWords)
        {
            *dark = 0;
            // The block's cells lie within a tile of its first sample's
            // (a lane's cell may be one short of the march's): round a clear
            // tile the words are the ground, which is half the size and
            // which the look-ups of the ground keep in the cache.
            const size_t tile = static_cast<size_t>(u >> (32 + kSightTileShift)) * static_cast<size_t>(m.tileRows) +
                                static_cast<size_t>(v >> (32 + kSightTileShift));
            if (m.nearTall[tile] == 0)
                return static_cast<unsigned>(
                    _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_andnot_si256(near, groundBelow()))));
            const __m256i word = _mm256_i32gather_epi32(reinterpret_cast<const int*>(m.words), cell, 4);
            const __m256i ground = _mm256_srai_epi32(_mm256_slli_epi32(word, 16), 16);
            const __m256i kind = _mm256_srli_epi32(word, 16);
            if (_mm256_testz_si256(kind, kind))
            {
                const __m256i settled = _mm256_cmpgt_epi32(limit, _mm256_slli_epi32(ground, 32 - kLineShift));
                return static_cast<unsigned>(
                    _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_andnot_si256(near, settled))));
            }
            // The upper line's lanes may lie 2 units below the march: it is
            // taken one unit higher still for its floor (the lower one errs
            // downwards).
            const long long upperGap = m.upper0 - m.line0;
            const __m256i top = _mm256_add_epi32(ground, _mm256_i32gather_epi32(m.classTop, kind, 4));
            const __m256i shiftedTop = _mm256_slli_epi32(top, 32 - kLineShift);
            const __m256i settled = _mm256_andnot_si256(near, _mm256_cmpgt_epi32(limit, shiftedTop));
            const __m256i upper =
                _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>((line + upperGap) >> kLineShift) + 3), laneLine);
            __m256i clear = _mm256_cmpgt_epi32(limit, _mm256_slli_epi32(ground, 32 - kLineShift));
            clear = _mm256_and_si256(clear, _mm256_cmpgt_epi32(shiftedTop, upper));
            clear = _mm256_andnot_si256(_mm256_or_si256(near, _mm256_cmpeq_epi32(kind, _mm256_setzero_si256())), clear);
            *dark = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(clear)));
            return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(settled)));
        }
        else
        {
            (void)dark;
            __m256i settled = _mm256_andnot_si256(near, groundBelow());
            if constexpr (kRead == Read::kGroundAndMarks)
            {
                const __m256i word =
                    _mm256_i32gather_epi32(reinterpret_cast<const int*>(m.tall), _mm256_srli_epi32(cell, 5), 4);
                const __m256i mark = _mm256_and_si256(
                    _mm256_srlv_epi32(word, _mm256_and_si256(cell, _mm256_set1_epi32(31))), _mm256_set1_epi32(1));
                settled = _mm256_and_si256(settled, _mm256_cmpeq_epi32(mark, _mm256_setzero_si256()));
            }
            return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(settled)));
        }
    };

    constexpr unsigned kAll = (1u << kLanes) - 1;
    unsigned dark = 0;
    for (; first + kLanes - 1 <= last; first += kLanes)
    {
        const unsigned settled = settledFrom(first, &dark);
        if (settled != kAll)
        {
            *unsettled = ~(settled | dark) & kAll;
            *obscured = dark;
            return first;
        }
    }
    *unsettled = 0;
    *obscured = 0;
    if (first > last)
        return last + 1;
    // The last few samples: a block ending at the last one, its lanes
    // before `first` (looked at already) left out, when it stays within
    // the march. One or two are looked at one by one: a whole block's
    // gather costs more than their loads.
    const int start = last - (kLanes - 1);
    if (start < m.lowest || last - first < 2)
        return NextUnsettledBlockPlain(m, first, last, unsettled, obscured);
    const unsigned ignored = (1u << (first - start)) - 1;
    const unsigned settled = settledFrom(start, &dark) | ignored;
    if (settled == kAll)
        return last + 1;
    *unsettled = ~(settled | dark) & kAll;
    *obscured = dark & ~ignored;
    return start;
}
}  // namespace

int NextUnsettledBlockWide(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured)
{
    if (march.words != nullptr)
        return March<Read::kWords>(march, first, last, unsettled, obscured);
    return march.tall != nullptr ? March<Read::kGroundAndMarks>(march, first, last, unsettled, obscured)
                                 : March<Read::kGround>(march, first, last, unsettled, obscured);
}

#endif
