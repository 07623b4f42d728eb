#pragma once
// The march of a sight line: its samples stepped in fixed point, one
// integer addition a sample, over the elevation grid as the map keeps it
// (column after column). CElevationMap::HasLineOfSightEx sets it up and
// hands the rule itself only the samples the march cannot settle, so the
// answers stay those of the rule to the last bit.
//
// A settled sample is one whose position lies clearly inside its cell,
// whose ground lies clearly below the line to the target, and in whose
// cell no feature with a height can stand: it neither masks the target nor
// obscures it. Every other sample is unsettled: the rule decides it.
//
// With features about, the march may read a word per cell instead: the
// ground (or a mark above every line) in its low half and, in a cell
// wholly inside one tall feature, that feature's class in its high half.
// A sample there whose ground lies clearly below the line and the top of
// whose feature clearly above it is obscured by the feature and nothing
// else: the caller takes the feature's obscuration without the rule.
//
// Two kernels give that answer: a plain one, and one for processors with
// AVX2 (x86-64-v3), built in a file of its own for that level and chosen
// at run time when the processor has it. Both allocate nothing.

#include <cstdint>

// The samples go in blocks of this many (the wide kernel's lanes).
constexpr int kSightBlock = 8;
// The side of the tiles, in cells, of SightMarch::nearTall: a block's
// samples lie within a tile of its first one's.
constexpr int kSightTile = 8;
constexpr int kSightTileShift = 3;
static_assert(1 << kSightTileShift == kSightTile && kSightBlock <= kSightTile);
// The fractional bits of the wide kernel's lanes: positions, the line.
constexpr int kSightLanePositionBits = 20;
constexpr int kSightLaneLineBits = 8;

struct SightMarch
{
    const short* samples;       // the grid, column after column
    // The ground and class words, column after column, and per class one
    // more than twice its feature's height (0 for class 0, no feature).
    const std::int32_t* words;
    const int* classTop;
    const std::uint64_t* tall;  // the tall-feature marks per cell, null when features are not looked at
    long long rows;             // the grid's rows (cells per column)
    // With the words: per tile of kSightTile x kSightTile cells, column
    // after column, nonzero where a tall feature may stand in the tile or
    // in one next to it, and the tiles per column. The words of the cells
    // round a clear tile hold the ground and nothing else.
    const std::uint8_t* nearTall;
    long long tileRows;
    // Positions in cells plus one half (so that the whole part is the cell
    // a position rounds into), 32 fractional bits: at sample 0 and per sample.
    long long u0;
    long long v0;
    long long du;
    long long dv;
    // Ground e is clearly below the line where e * 2^32 < line; at sample 0
    // and per sample, in tenths of a metre with 32 fractional bits.
    long long line0;
    long long dLine;
    // A feature's top plus one lies clearly above the line where
    // (ground + classTop) * 2^32 > upper; at sample 0 (steps of dLine).
    long long upper0;
    // A position nearer than this to a cell's edge (in the 32 fractional
    // bits) is unsettled: at least twice the gap between the marched
    // position and the rule's own, and below 2^31.
    std::uint32_t edgeMargin;
    // The first sample the march takes: a kernel may look again at any
    // sample from there to the last one it is asked about.
    int lowest;
};

// NextUnsettledBlock looks from `first` to `last` for samples the march
// cannot settle and answers the first sample of the block in which it
// finds one (last + 1 when it settles them all), with the block's
// unsettled samples in *unsettled, one bit each (bit k for the block's
// first sample + k), none before `first` or after `last`, and those a
// feature alone obscures in *obscured (always none without words). The
// caller resumes at the block's first sample + kSightBlock.
//
// Every sample from `lowest` to `last` must lie on the grid: 0.5 <= u <=
// columns - 0.5 and 0.5 <= v <= rows - 1.5 in cells (the wide kernel reads
// one sample past the cell it wants). The eye and the rise to the target
// must lie within 2^19 tenths of a metre over a line at least 20 m long
// (so |line| < 2^51 and |dLine| < 2^50).
int NextUnsettledBlock(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured);

// The kernels, for the tests that run the sight line over each of them.
int NextUnsettledBlockPlain(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured);
int NextUnsettledBlockWide(const SightMarch& march, int first, int last, unsigned* unsettled, unsigned* obscured);
// Whether this build and this processor have the wide kernel, and which
// kernel NextUnsettledBlock uses: the wide one when it can, unless told to
// take the plain one.
bool HasWideSightMarch();
void UsePlainSightMarch(bool plain);
