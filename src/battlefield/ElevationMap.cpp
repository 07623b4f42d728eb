#include "battlefield/ElevationMap.h"

#include "battlefield/SightBearing.h"
#include "battlefield/SightMarch.h"
#include "battlefield/TerrainArray.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

IMPLEMENT_SERIAL(CElevationMap, CObject, 1)

namespace
{
// What the sight line's copy of the ground holds where a tall feature may
// stand: above every line the march takes, so it never settles there.
constexpr short kTallGround = 32767;
// 20 degrees in radians, compared with the gradient itself.
constexpr double kSteepGradient = 0.34907;
// Metres between two samples of a walk, and the gradient per sample
// difference over that step (tenths of a metre over 10 m).
constexpr double kStepMetres = 10.0;
constexpr double kGradientPerTenth = 0.01;

int ReadSignedWord(CArchive& ar)
{
    short value = 0;
    ar >> value;
    return value;
}
}  // namespace

CElevationMap::CElevationMap() : m_strFileName("*.emp"), m_pTerrain(new CTerrainArray)
{
    m_pTerrain->SetMarksChanged(&CElevationMap::OnTallMarksChanged, this);
    m_pens[kPenRays] = new CPen(PS_SOLID, 3, RGB(255, 255, 0));
    m_pens[kPenRangeOuter] = new CPen(PS_SOLID, 5, RGB(128, 0, 128));
    m_pens[kPenRangeMiddle] = new CPen(PS_SOLID, 3, RGB(255, 0, 255));
    m_pens[kPenRangeInner] = new CPen(PS_SOLID, 1, RGB(255, 128, 255));
}

CElevationMap::~CElevationMap()
{
    for (CPen*& pPen : m_pens)
    {
        delete pPen;
        pPen = nullptr;
    }
    delete m_pTerrain;
}

CPen* CElevationMap::GetPen(int which) const { return which >= 0 && which < kPenCount ? m_pens[which] : nullptr; }

// ---------------------------------------------------------------------------
// The grid

short CElevationMap::GetElevation(float x, float y) const { return ElevationIn(View(), x, y); }

void CElevationMap::SetElevation(int column, int row, short value)
{
    if (column < 0 || column >= m_nColumns || row < 0 || row >= m_nRows)
        return;
    const size_t cell = static_cast<size_t>(column) * static_cast<size_t>(m_nRows) + static_cast<size_t>(row);
    m_grid[cell] = value;
    m_nSightGeneration = NewSightGeneration();
    if (cell < m_sightGround.size())
        m_sightGround[cell] = SightWord(cell, value);
}

std::int32_t CElevationMap::SightWord(size_t cell, short value) const
{
    const std::uint64_t* marks = m_pTerrain->GetTallMarks(m_nColumns, m_nRows);
    if (marks == nullptr || ((marks[cell >> 6] >> (cell & 63)) & 1u) == 0)
        return value;
    const int feature = m_pTerrain->GetWholeFeature(cell);
    const size_t kind = static_cast<size_t>(feature) + 1;
    if (feature < 0 || kind >= m_sightClassTop.size() || m_sightClassTop[kind] == 0)
        return kTallGround;
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(kind) << 16) | static_cast<std::uint16_t>(value));
}

std::uint64_t CElevationMap::NewSightGeneration()
{
    static std::atomic<std::uint64_t> s_nLast{0};
    return ++s_nLast;
}

void CElevationMap::OnTallMarksChanged(void* map) { static_cast<CElevationMap*>(map)->RebuildSightGround(); }

void CElevationMap::RebuildSightGround()
{
    m_nSightGeneration = NewSightGeneration();
    const std::uint64_t* marks = m_pTerrain->GetTallMarks(m_nColumns, m_nRows);
    m_bSightGroundMarked = marks != nullptr || !m_pTerrain->HasTallFeatures();
    // A class for every feature the word's high half can name whose top
    // stays within the march's reach; the others keep the plain mark.
    const size_t classes = std::min<size_t>(static_cast<size_t>(m_pTerrain->GetFeatureCount()), 0xFFFE) + 1;
    m_sightClassTop.assign(classes, 0);
    m_sightClassObscuration.assign(classes, 1.0f);
    m_nSightClassTopMax = 0;
    m_sightGround.resize(m_grid.size());
    for (size_t cell = 0; cell < m_grid.size(); ++cell)
    {
        const int feature = marks != nullptr ? m_pTerrain->GetWholeFeature(cell) : -1;
        const size_t kind = static_cast<size_t>(feature) + 1;
        int height = 0;
        float obscuration = 1.0f;
        if (feature >= 0 && kind < classes && m_sightClassTop[kind] == 0 &&
            m_pTerrain->GetWholeCell(cell, &height, &obscuration) && height > 0 && height < (1 << 19))
        {
            m_sightClassTop[kind] = 2 * height + 1;
            m_sightClassObscuration[kind] = obscuration;
            m_nSightClassTopMax = std::max(m_nSightClassTopMax, 2 * height + 1);
        }
        m_sightGround[cell] = SightWord(cell, m_grid[cell]);
    }

    const int tileColumns = (m_nColumns + kSightTile - 1) / kSightTile;
    m_nSightTileRows = (m_nRows + kSightTile - 1) / kSightTile;
    m_sightNearTall.assign(static_cast<size_t>(tileColumns) * static_cast<size_t>(m_nSightTileRows), 0);
    if (marks == nullptr)
        return;
    const size_t words = (m_grid.size() + 63) / 64;
    for (size_t w = 0; w < words; ++w)
        for (std::uint64_t bits = marks[w]; bits != 0; bits &= bits - 1)
        {
            const size_t cell = w * 64 + static_cast<size_t>(std::countr_zero(bits));
            if (cell >= m_grid.size())
                break;
            const int column = static_cast<int>(cell / static_cast<size_t>(m_nRows)) / kSightTile;
            const int row = static_cast<int>(cell % static_cast<size_t>(m_nRows)) / kSightTile;
            for (int c = std::max(column - 1, 0); c <= std::min(column + 1, tileColumns - 1); ++c)
                for (int r = std::max(row - 1, 0); r <= std::min(row + 1, m_nSightTileRows - 1); ++r)
                    m_sightNearTall[static_cast<size_t>(c) * static_cast<size_t>(m_nSightTileRows) +
                                    static_cast<size_t>(r)] = 1;
        }
}

void CElevationMap::AllocateGrid()
{
    m_nColumns = m_nWidth > 0 ? m_nWidth / 10 : 0;
    m_nRows = m_nHeight > 0 ? m_nHeight / 10 : 0;
    m_grid.assign(static_cast<size_t>(m_nColumns) * static_cast<size_t>(m_nRows), 0);
    m_nSightGeneration = NewSightGeneration();
    // The terrain's tall-feature index lies over the same cells.
    m_pTerrain->SetGrid(m_nColumns, m_nRows);
}

void CElevationMap::SetGeometry(int width, int height, int eastingOffset, int northingOffset, int mapType)
{
    m_nWidth = width;
    m_nHeight = height;
    m_nEastingOffset = eastingOffset;
    m_nNorthingOffset = northingOffset;
    m_nMapType = mapType;
    AllocateGrid();
    ComputeGridLines();
}

void CElevationMap::SetSquareDesignators(const CString& base, const CString& northingWrapped,
                                         const CString& eastingWrapped, const CString& bothWrapped)
{
    m_strSquareBase = base;
    m_strSquareNorthingWrapped = northingWrapped;
    m_strSquareEastingWrapped = eastingWrapped;
    m_strSquareBothWrapped = bothWrapped;
}

void CElevationMap::UpdateElevationRange()
{
    if (m_grid.empty())
    {
        m_nMinElevation = m_nMaxElevation = 0;
        return;
    }
    const auto [lo, hi] = std::minmax_element(m_grid.begin(), m_grid.end());
    m_nMinElevation = *lo;
    m_nMaxElevation = *hi;
}

// ---------------------------------------------------------------------------
// Conversions

int CElevationMap::MapToPixel(float x, float y, int* px, int* py) const
{
    const int ix = TruncToInt(static_cast<double>(x) * 0.5 + 0.5);
    const int iy = TruncToInt(m_nHeight * 0.5 - (static_cast<double>(y) * 0.5 + 0.5));
    if (px != nullptr)
        *px = ix;
    if (py != nullptr)
        *py = iy;
    return ix >= 0 && ix <= TruncToInt(m_nWidth * 0.5) && iy >= 0 && iy <= TruncToInt(m_nHeight * 0.5) ? 1 : 0;
}

int CElevationMap::PixelToMap(int px, int py, float* x, float* y) const
{
    const double mx = 2.0 * px;
    const double my = m_nHeight - 2.0 * py;
    if (x != nullptr)
        *x = static_cast<float>(mx);
    if (y != nullptr)
        *y = static_cast<float>(my);
    return mx >= 0.0 && mx <= m_nWidth && my >= 0.0 && my <= m_nHeight ? 1 : 0;
}

CString CElevationMap::GetGridReference(float x, float y) const
{
    const int xi = RoundHalfUpTrunc(x);
    const int yi = RoundHalfUpTrunc(y);
    // The upper edges belong to the map here, unlike in the elevation look-up.
    if (xi > m_nWidth || yi > m_nHeight || xi < 0 || yi < 0)
        return CString("Off of map");
    int easting = xi + m_nEastingOffset;
    int northing = yi + m_nNorthingOffset;
    const BOOL eastingWrapped = easting > 9999;
    const BOOL northingWrapped = northing > 9999;
    if (eastingWrapped)
        easting -= 10000;
    if (northingWrapped)
        northing -= 10000;
    const CString* pSquare = &m_strSquareBase;
    if (eastingWrapped && northingWrapped)
        pSquare = &m_strSquareBothWrapped;
    else if (northingWrapped)
        pSquare = &m_strSquareNorthingWrapped;
    else if (eastingWrapped)
        pSquare = &m_strSquareEastingWrapped;
    CString text;
    text.Format("%s%04d%04d", pSquare->GetString(), easting, northing);
    return text;
}

void CElevationMap::ComputeGridLines()
{
    const int e = m_nEastingOffset;
    const int n = m_nNorthingOffset;
    // An offset on a whole 100 m puts the first line a full 100 m in.
    m_fFirstLineOffsetX = static_cast<float>((e / 100 + 1) * 100 - e);
    m_fFirstLineOffsetY = static_cast<float>((n / 100 + 1) * 100 - n);
    m_nKmLineIndexX = (e / 1000) * 10 - e / 100 + 9;
    m_nKmLineIndexY = (n / 1000) * 10 - n / 100 + 9;
}

// ---------------------------------------------------------------------------
// The file

void CElevationMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strFileName << m_strSquareNorthingWrapped << m_strSquareBase << m_strSquareBothWrapped
           << m_strSquareEastingWrapped;
        ar << static_cast<short>(m_nEastingOffset) << static_cast<short>(m_nNorthingOffset);
        ar << m_nMinElevation << m_nMaxElevation;
        ar << static_cast<short>(m_nWidth) << static_cast<short>(m_nHeight) << static_cast<short>(m_nMapType);
        for (int c = 0; c < m_nColumns; ++c)
            for (int r = 0; r < m_nRows; ++r)
                ar << GetElevation(10.0f * c, 10.0f * r);
        m_pTerrain->Serialize(ar);
        return;
    }

    // Everything is read aside first so that a bad file leaves the map as it was.
    CString fileName, northingWrapped, base, bothWrapped, eastingWrapped;
    ar >> fileName >> northingWrapped >> base >> bothWrapped >> eastingWrapped;
    const int eastingOffset = ReadSignedWord(ar);
    const int northingOffset = ReadSignedWord(ar);
    short minElevation = 0;
    short maxElevation = 0;
    ar >> minElevation >> maxElevation;
    const int width = ReadSignedWord(ar);
    const int height = ReadSignedWord(ar);
    const int mapType = ReadSignedWord(ar);
    const int columns = width / 10;
    const int rows = height / 10;
    if (columns <= 0 || rows <= 0)
    {
        CString reason;
        reason.Format("its map of %d x %d m holds no 10 m elevation cell", width, height);
        ar.ThrowArchiveException(CArchiveException::badIndex, reason);
    }
    const ULONGLONG samples = static_cast<ULONGLONG>(columns) * static_cast<ULONGLONG>(rows);
    ar.EnsureBytesLeft(samples * sizeof(short));
    std::vector<short> grid(static_cast<size_t>(samples));
    for (short& sample : grid)
        ar >> sample;
    std::vector<std::int32_t> sightGround(grid.size());
    CTerrainArray* pTerrain = new CTerrainArray;
    try
    {
        pTerrain->SetGrid(columns, rows);
        pTerrain->Serialize(ar);
    }
    catch (...)
    {
        delete pTerrain;
        throw;
    }

    m_strFileName = fileName;
    m_strSquareNorthingWrapped = northingWrapped;
    m_strSquareBase = base;
    m_strSquareBothWrapped = bothWrapped;
    m_strSquareEastingWrapped = eastingWrapped;
    m_nEastingOffset = eastingOffset;
    m_nNorthingOffset = northingOffset;
    m_nMinElevation = minElevation;
    m_nMaxElevation = maxElevation;
    m_nWidth = width;
    m_nHeight = height;
    m_nMapType = mapType;
    m_nColumns = columns;
    m_nRows = rows;
    m_grid.swap(grid);
    ComputeGridLines();
    delete m_pTerrain;
    m_pTerrain = pTerrain;
    m_sightGround.swap(sightGround);
    m_pTerrain->SetMarksChanged(&CElevationMap::OnTallMarksChanged, this);
    RebuildSightGround();
}

// ---------------------------------------------------------------------------
// Line of sight

namespace
{
// Whether atan2(a, r) > atan2(b, d), where r, d > 0. The two slopes are
// compared by cross-multiplying when they are clearly apart, and through the
// angles themselves when they are within the tolerance, so the answer is
// always that of the angle comparison at a fraction of its cost. An
// infinite tolerance always takes the angles.
inline bool AngleAbove(double a, double r, double b, double d, double tolerance)
{
    const double lhs = a * d;
    const double rhs = b * r;
    const double diff = lhs - rhs;
    const double margin = tolerance * (std::fabs(lhs) + std::fabs(rhs));
    if (diff > margin)
        return true;
    if (diff < -margin)
        return false;
    return std::atan2(a, r) > std::atan2(b, d);
}

// Slopes apart by more than this relative amount differ by thousands of
// units in the last place of their angles, far beyond atan2's error.
constexpr double kSlopeTolerance = 1e-9;
// Beyond these slopes the angles crowd against a right angle and only
// the angles themselves can be trusted.
constexpr double kSteepSlope = 1e4;

// The concealment a feature gives whoever stands in it: half of what it
// lets through is taken away.
inline float Concealed(float visibility, float obscuration)
{
    return static_cast<float>(visibility * ((1.0 - obscuration) * 0.5 + obscuration));
}

// The march of the sight line in fixed point, 32 fractional bits.
constexpr double kFixedOne = 4294967296.0;
// The march's fixed point holds the positions of lines within this many
// metres of the origin (the samples it takes lie on the map, below 32 768 m).
constexpr double kMarchReach = 1048576.0;
// Eyes and rises within this many tenths of a metre keep the march's line
// within its fixed point.
constexpr long long kMarchHeightReach = 1LL << 19;
// The line is marched this much (tenths of a metre) below the one the rule
// compares with, so that ground the march lets through lies clearly below
// it whatever the roundings.
constexpr double kLineMargin = 1.0 / 64.0;

// A real number in the march's fixed point. Truncation is as good as
// rounding here: the margins allow for a unit either way.
inline long long ToFixed(double value) { return static_cast<long long>(value * kFixedOne); }

// Whether a fixed-point value lies within `margin` of a whole number.
inline bool NearWhole(long long value, long long margin)
{
    const long long fraction = value & 0xFFFFFFFFLL;
    return fraction < margin || fraction > 0x100000000LL - margin;
}

// Narrows [lo, hi] to the samples i whose p0 + i * step lies within
// [least, most]; the positions are linear in i, so they are an interval.
// The bounds come from a division in doubles, set right by the exact
// integer test (no integer division: this is part of every query's set-up).
void ClipMarch(long long p0, long long step, long long least, long long most, int& lo, int& hi)
{
    if (lo > hi)
        return;
    const auto inside = [&](long long i)
    {
        const long long p = p0 + i * step;
        return p >= least && p <= most;
    };
    long long a = lo;
    long long b = hi;
    if (step == 0)
    {
        if (!inside(a))
            hi = lo - 1;
        return;
    }
    {
        // Where the line enters and leaves the band, near enough.
        const double perStep = 1.0 / static_cast<double>(step);
        const double enter = static_cast<double>((step > 0 ? least : most) - p0) * perStep;
        const double leave = static_cast<double>((step > 0 ? most : least) - p0) * perStep;
        a = std::max<long long>(a, static_cast<long long>(std::clamp(enter, -1.0, static_cast<double>(hi) + 1.0)));
        b = std::min<long long>(b, static_cast<long long>(std::clamp(leave, -1.0, static_cast<double>(hi) + 1.0)));
        a = std::max<long long>(a - 1, lo);
        b = std::min<long long>(b + 1, hi);
    }
    while (a <= b && !inside(a))
        ++a;
    while (b >= a && !inside(b))
        --b;
    lo = static_cast<int>(a);
    hi = static_cast<int>(a <= b ? b : a - 1);
}
}  // namespace

int CElevationMap::HasLineOfSight(float x1, float y1, float x2, float y2, float observerHeight, float targetHeight,
                                  float* bearing, float* slantRange, float* visibility) const
{
    return HasLineOfSightEx(x1, y1, kElevationLookUp, x2, y2, kElevationLookUp, observerHeight, targetHeight, bearing,
                            slantRange, visibility);
}

int CElevationMap::HasLineOfSightEx(float x1, float y1, int observerGround, float x2, float y2, int targetGround,
                                    float observerHeight, float targetHeight, float* bearing, float* slantRange,
                                    float* visibility) const
{
    float seen = 1.0f;
    if (visibility != nullptr)
        *visibility = seen;

    const bool lookUpObserver = observerGround == kElevationLookUp;
    const bool lookUpTarget = targetGround == kElevationLookUp;
    const long long observerZ = lookUpObserver ? GetElevation(x1, y1) : observerGround;
    const long long targetZ = lookUpTarget ? GetElevation(x2, y2) : targetGround;
    // Everything vertical and horizontal in tenths of a metre. The target is
    // raised by one unit (and each sample lowered by one below) so that
    // ground exactly on the line from the eye to the target does not mask.
    const long long eye = observerZ + RoundHalfUpTrunc(observerHeight);
    const long long dh = RoundHalfUpTrunc(targetHeight) + targetZ - eye + 1;
    const double dx = (static_cast<double>(x2) - static_cast<double>(x1)) * 10.0;
    const double dy = (static_cast<double>(y2) - static_cast<double>(y1)) * 10.0;
    const double d = std::sqrt(dy * dy + dx * dx);

    // Features are looked at only when one with a height lies near the line.
    const bool features =
        m_pTerrain->MayHaveFeatureHeightWithin(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    // A line to a point at no finite place has no sample on the map, none
    // that could mask the target; counting its samples up to the largest
    // int would only hang the caller.
    const int steps = std::isfinite(d) ? TruncToInt(d * 0.01) : 0;
    float slant = 0.0f;
    if (steps > 1)
    {
        const double originX = 10.0 * x1;
        const double originY = 10.0 * y1;
        const double dhd = static_cast<double>(dh);
        // The ground test compares the slopes by cross-multiplying; within
        // this margin of a tie it asks the angles (see AngleAbove). One
        // margin serves every sample: it covers the largest |e - eye - 1|.
        const bool steep = std::fabs(static_cast<double>(eye)) > 9e5 || std::fabs(dhd) > kSteepSlope * d;
        const double tolerance = steep ? std::numeric_limits<double>::infinity() : kSlopeTolerance;
        const double margin =
            tolerance * ((std::fabs(static_cast<double>(eye)) + 32770.0) * d + std::fabs(dhd) * steps * 100.0);
        const GridView grid = View();

        // The samples the march takes: those on the map and clear of its
        // last column and its last two rows (where positions beyond the edge
        // round in), when the numbers fit its fixed point. The samples
        // before and after them, and every sample of a line too steep for
        // slopes, go by the rule alone.
        int lo = steps;
        int hi = steps - 1;
        // Only what the march reads is set: zeroing the whole of it costs a
        // short line more than its set-up.
        SightMarch march;
        march.samples = nullptr;
        march.words = nullptr;
        march.classTop = nullptr;
        march.tall = nullptr;
        march.nearTall = nullptr;
        march.tileRows = 0;
        march.u0 = march.v0 = march.du = march.dv = 0;
        long long metreMargin = 0;
        const bool fits = std::fabs(x1) < kMarchReach && std::fabs(y1) < kMarchReach && std::fabs(x2) < kMarchReach &&
                          std::fabs(y2) < kMarchReach && std::llabs(eye) < kMarchHeightReach &&
                          std::llabs(dh) < kMarchHeightReach;
        // With features about, the march reads the copy of the ground that
        // marks their cells, when the line stays below its mark all along;
        // else the ground and the marks apart.
        march.samples = m_grid.data();
        if (features)
        {
            if (m_bSightGroundMarked && m_sightGround.size() == m_grid.size() &&
                m_nSightTileRows == (m_nRows + kSightTile - 1) / kSightTile &&
                m_sightNearTall.size() ==
                    static_cast<size_t>((m_nColumns + kSightTile - 1) / kSightTile) *
                        static_cast<size_t>(m_nSightTileRows) &&
                eye + 1 + std::max(dh, 0LL) < kTallGround)
            {
                march.words = m_sightGround.data();
                march.classTop = m_sightClassTop.data();
                march.nearTall = m_sightNearTall.data();
                march.tileRows = m_nSightTileRows;
            }
            else
                march.tall = m_pTerrain->GetTallMarks(m_nColumns, m_nRows);
        }
        if (!steep && fits && !m_grid.empty() && (!features || march.words != nullptr || march.tall != nullptr))
        {
            march.rows = m_nRows;
            // One division for all the march's rates: its margins take a
            // unit or two in the last place.
            const double perLength = 1.0 / d;
            march.du = ToFixed(dx * perLength);
            march.dv = ToFixed(dy * perLength);
            march.u0 = ToFixed((static_cast<double>(x1) + 5.5) * 0.1);
            march.v0 = ToFixed((static_cast<double>(y1) + 5.5) * 0.1);
            march.line0 = ToFixed(static_cast<double>(eye + 1) - margin * perLength - kLineMargin);
            march.dLine = ToFixed(dhd * 100.0 * perLength);
            // A feature's top is clearly above the line where its angle
            // beats the target's beyond the tolerance (see AngleAbove),
            // whatever the roundings; the top is taken one unit up. Only
            // the words have tops.
            march.upper0 = 0;
            if (march.words != nullptr)
            {
                const double upperMargin =
                    tolerance * ((std::fabs(static_cast<double>(eye)) + 32770.0 + m_nSightClassTopMax) * d +
                                 std::fabs(dhd) * steps * 100.0);
                march.upper0 = ToFixed(static_cast<double>(eye + 1) + upperMargin * perLength + kLineMargin);
            }
            // Twice the largest gap between a marched position and the
            // rule's: a float's unit in the last place on this map, the
            // fractions the step gathers, and the doubles' rounding.
            const int sizeBits = std::bit_width(static_cast<unsigned>(std::max(m_nWidth, m_nHeight)));  // at most 15
            const double gap = (0.1 / 16777216.0) * static_cast<double>(1 << sizeBits) + (steps + 2.0) / kFixedOne +
                               1.0 / static_cast<double>(1 << 30);
            march.edgeMargin = static_cast<std::uint32_t>(2.0 * gap * kFixedOne) + 1;
            metreMargin = 10LL * march.edgeMargin;
            constexpr long long kHalf = 1LL << 31;
            lo = 1;
            const long long mostU = (static_cast<long long>(m_nColumns) << 32) - kHalf;
            const long long mostV = (static_cast<long long>(m_nRows) << 32) - 3 * kHalf;
            // Most lines lie wholly inside: both ends tell.
            const long long u1 = march.u0 + march.du;
            const long long v1 = march.v0 + march.dv;
            const long long uN = march.u0 + hi * march.du;
            const long long vN = march.v0 + hi * march.dv;
            if (lo > hi || std::min(std::min(u1, uN), std::min(v1, vN)) < kHalf || std::max(u1, uN) > mostU ||
                std::max(v1, vN) > mostV)
            {
                ClipMarch(march.u0, march.du, kHalf, mostU, lo, hi);
                ClipMarch(march.v0, march.dv, kHalf, mostV, lo, hi);
            }
            march.lowest = lo;
        }

        // The slant range, should the target be seen: asked of the divider
        // after the march's rates, while the march runs.
        slant = static_cast<float>(std::sqrt(d * d + static_cast<double>(dh) * static_cast<double>(dh)));

        // Where sample i lies. The march knows its whole metres (which are
        // all that the look-ups take of a position) unless it lies near a
        // metre's edge; elsewhere the rule's own arithmetic, with the
        // bearing's sine and cosine, decides.
        double sinB = 0.0;
        double cosB = 0.0;
        bool haveSines = false;
        const auto position = [&](int i, float& sx, float& sy)
        {
            if (i >= lo && i <= hi)
            {
                // 10 u is the position plus 5.5 m: its whole part less 5 is
                // the whole metre the position rounds into.
                const long long mx = 10 * (march.u0 + i * march.du);
                const long long my = 10 * (march.v0 + i * march.dv);
                if (!NearWhole(mx, metreMargin) && !NearWhole(my, metreMargin))
                {
                    sx = static_cast<float>((mx >> 32) - 5);
                    sy = static_cast<float>((my >> 32) - 5);
                    return;
                }
            }
            if (!haveSines)
            {
                const double direction = std::atan2(dx, dy);
                sinB = std::sin(direction);
                cosB = std::cos(direction);
                haveSines = true;
            }
            const double r = i * 100.0;
            sx = static_cast<float>((sinB * r + originX) * 0.1);
            sy = static_cast<float>((cosB * r + originY) * 0.1);
        };

        // One sample by the rule itself: false when it masks the target.
        // Features are looked at only where one with a height may stand.
        // Where the march knows the sample's cell for sure, the ground and
        // the marks are read there, and a cell wholly inside one feature
        // answers for it without a search.
        const std::uint64_t* marks = features ? m_pTerrain->GetTallMarks(m_nColumns, m_nRows) : nullptr;
        const auto passes = [&](int i)
        {
            const double r = i * 100.0;  // i x 10 m in tenths, exact
            float sx = 0.0f;
            float sy = 0.0f;
            size_t cell = 0;
            bool inCell = false;
            if (i >= lo && i <= hi && (!features || marks != nullptr))
            {
                const long long u = march.u0 + i * march.du;
                const long long v = march.v0 + i * march.dv;
                inCell = !NearWhole(u, march.edgeMargin) && !NearWhole(v, march.edgeMargin);
                cell = static_cast<size_t>(u >> 32) * static_cast<size_t>(m_nRows) + static_cast<size_t>(v >> 32);
            }
            long long e = 0;
            if (inCell)
                e = m_grid[cell];
            else
            {
                position(i, sx, sy);
                e = ElevationIn(grid, sx, sy);
            }
            const double a = static_cast<double>(e - eye - 1);
            const double diff = a * d - dhd * r;
            if (diff > margin || (!(diff < -margin) && std::atan2(a, r) > std::atan2(dhd, d)))
                return false;
            if (!features)
                return true;
            int t = 0;
            float obscuration = 1.0f;
            if (inCell)
            {
                if (((marks[cell >> 6] >> (cell & 63)) & 1u) == 0)
                    return true;
                if (!m_pTerrain->GetWholeCell(cell, &t, &obscuration))
                {
                    position(i, sx, sy);
                    m_pTerrain->GetFeatureHeightAndObscurationAt(sx, sy, &t, &obscuration);
                }
            }
            else
            {
                if (!m_pTerrain->MayHaveFeatureHeightAt(sx, sy))
                    return true;
                m_pTerrain->GetFeatureHeightAndObscurationAt(sx, sy, &t, &obscuration);
            }
            if (t != 0 && AngleAbove(static_cast<double>(e + 2LL * t - eye), r, dhd, d, tolerance))
                seen *= obscuration;
            return true;
        };

        // A masked target: what the line gathered up to there, and the
        // bearing, which comes last so that its arithmetic overlaps the
        // march's loads rather than holding up the set-up.
        const auto masked = [&]
        {
            if (visibility != nullptr)
                *visibility = seen;
            if (bearing != nullptr)
                *bearing = SightBearing(dx, dy);
            return 0;
        };
        int i = 1;
        for (; i < lo; ++i)
            if (!passes(i))
            {
                return masked();
            }
        while (i <= hi)
        {
            unsigned unsettled = 0;
            unsigned obscured = 0;
            const int block = NextUnsettledBlock(march, i, hi, &unsettled, &obscured);
            for (unsigned open = unsettled | obscured; open != 0; open &= open - 1)
            {
                const int k = std::countr_zero(open);
                const int at = block + k;
                if ((obscured >> k) & 1u)
                {
                    // Ground clearly below, the feature's top clearly above:
                    // its obscuration is all the sample does.
                    const long long u = march.u0 + at * march.du;
                    const long long v = march.v0 + at * march.dv;
                    const size_t cell =
                        static_cast<size_t>(u >> 32) * static_cast<size_t>(m_nRows) + static_cast<size_t>(v >> 32);
                    seen *= m_sightClassObscuration[static_cast<std::uint32_t>(m_sightGround[cell]) >> 16];
                }
                else if (!passes(at))
                {
                    return masked();
                }
            }
            i = block + kSightBlock;
        }
        i = hi + 1;
        for (; i < steps; ++i)
            if (!passes(i))
            {
                return masked();
            }
    }

    // Concealment of whoever stands inside a feature at least as tall as he is.
    // With no feature with a height near the line, neither end stands in
    // one: the look-ups would find none and leave the visibility as it is.
    // Nor does an end whose cell no such feature reaches.
    if (lookUpTarget || lookUpObserver)
        m_pTerrain->ForgetSearch();
    if (features)
    {
        int t = 0;
        float f = 1.0f;
        if (lookUpTarget && m_pTerrain->MayHaveFeatureHeightAt(x2, y2))
        {
            m_pTerrain->GetFeatureHeightAndObscurationAt(x2, y2, &t, &f);
            if (t >= targetHeight)
                seen = Concealed(seen, f);
        }
        if (lookUpObserver && m_pTerrain->MayHaveFeatureHeightAt(x1, y1))
        {
            m_pTerrain->GetFeatureHeightAndObscurationAt(x1, y1, &t, &f);
            if (t >= observerHeight)
                seen = Concealed(seen, f);
        }
    }
    if (visibility != nullptr)
        *visibility = seen;
    if (slantRange != nullptr)
        *slantRange = steps > 1 ? slant
                                : static_cast<float>(std::sqrt(d * d + static_cast<double>(dh) * static_cast<double>(dh)));
    if (bearing != nullptr)
        *bearing = SightBearing(dx, dy);
    return 1;
}

// ---------------------------------------------------------------------------
// Movement

float CElevationMap::GetSlopeFactor(float x1, float y1, float x2, float y2, int* terrainZero, int ignoreTerrain) const
{
    int zero = 0;
    float f = 1.0f;
    if (!ignoreTerrain)
    {
        f = m_pTerrain->GetSpeedFactor(x2, y2, 0);
        if (f == 0.0f)
            zero = 1;
    }
    const double s = (GetElevation(x2, y2) - GetElevation(x1, y1)) * kGradientPerTenth;
    float result = f;
    if (s > kSteepGradient || s <= -kSteepGradient)
    {
        result = 0.0f;
        zero = 0;
    }
    else if (s > 0.2)
        result = f * 0.25f;
    else if (s > 0.13)
        result = f * 0.5f;
    else if (s <= -0.2)
        result = f * 1.25f;
    if (terrainZero != nullptr)
        *terrainZero = zero;
    return result;
}

int CElevationMap::FindBlockedPoint(int x1, int y1, int x2, int y2, int* blockedX, int* blockedY) const
{
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    if (std::fabs(dx) < kStepMetres && std::fabs(dy) < kStepMetres)
        return 0;
    const double direction = std::atan2(dx, dy);
    const long long steps = 1 + static_cast<long long>(std::floor(std::sqrt(dx * dx + dy * dy) * 0.1));
    const double stepX = std::sin(direction) * kStepMetres;
    const double stepY = std::cos(direction) * kStepMetres;
    double curX = x1;
    double curY = y1;
    for (long long i = 0; i < steps; ++i)
    {
        const double nextX = curX + stepX;
        const double nextY = curY + stepY;
        const int fromX = RoundHalfUpTrunc(curX);
        const int fromY = RoundHalfUpTrunc(curY);
        int terrainZero = 0;
        const float factor = GetSlopeFactor(static_cast<float>(fromX), static_cast<float>(fromY),
                                            static_cast<float>(RoundHalfUpTrunc(nextX)),
                                            static_cast<float>(RoundHalfUpTrunc(nextY)), &terrainZero, 0);
        // Ground of speed factor 0 does not stop this walk; a slope or a
        // negative factor does.
        if (factor <= 0.0f && !terrainZero)
        {
            if (blockedX != nullptr)
                *blockedX = fromX;
            if (blockedY != nullptr)
                *blockedY = fromY;
            return 1;
        }
        curX = nextX;
        curY = nextY;
    }
    return 0;
}

int CElevationMap::FindSegmentBlock(float x1, float y1, float x2, float y2, float* blockedX, float* blockedY,
                                    CTerrain** feature, int moverFlags) const
{
    const int flags = moverFlags & 0xFF;
    if (flags & kMoverIgnoresTerrain)
        return 0;
    if (feature != nullptr)
        *feature = nullptr;
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    if (std::fabs(dx) < kStepMetres && std::fabs(dy) < kStepMetres)
        return 0;
    const double direction = std::atan2(dx, dy);
    const long long steps = static_cast<long long>(TruncToInt(std::sqrt(dy * dy + dx * dx) * 0.1 + 0.75));
    if (steps <= 0)
        return 0;
    const double stepX = std::sin(direction) * kStepMetres;
    const double stepY = std::cos(direction) * kStepMetres;
    double curX = x1;
    double curY = y1;
    for (long long i = 0; i < steps; ++i)
    {
        const double nextX = curX + stepX;
        const double nextY = curY + stepY;
        const float nx = static_cast<float>(nextX);
        const float ny = static_cast<float>(nextY);
        const double s = (GetElevation(nx, ny) - GetElevation(static_cast<float>(curX), static_cast<float>(curY))) *
                         kGradientPerTenth;
        CTerrain* pBlocking = nullptr;
        if (!(flags & kMoverClimbs) && (s > kSteepGradient || s <= -kSteepGradient))
            pBlocking = nullptr;
        else if (!m_pTerrain->FindBlockingFeature(nx, ny, &pBlocking, flags))
        {
            curX = nextX;
            curY = nextY;
            continue;
        }
        if (blockedX != nullptr)
            *blockedX = nx;
        if (blockedY != nullptr)
            *blockedY = ny;
        if (feature != nullptr)
            *feature = pBlocking;
        return 1;
    }
    return 0;
}

int CElevationMap::IsImpassable(float x, float y, int moverFlags) const
{
    const int flags = moverFlags & 0xFF;
    if ((flags & kMoverIgnoresTerrain) || m_pTerrain == nullptr)
        return 0;
    const float f = m_pTerrain->GetSpeedFactor(x, y, 0);
    if (f < 0.0f)
        return 1;
    if (f == 0.0f)
        return (flags & kMoverClimbs) ? 0 : 1;
    return 0;
}
