#include "battlefield/ElevationMap.h"

#include "battlefield/TerrainArray.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

IMPLEMENT_SERIAL(CElevationMap, CObject, 1)

namespace
{
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
    m_grid[static_cast<size_t>(column) * static_cast<size_t>(m_nRows) + static_cast<size_t>(row)] = value;
}

void CElevationMap::AllocateGrid()
{
    m_nColumns = m_nWidth > 0 ? m_nWidth / 10 : 0;
    m_nRows = m_nHeight > 0 ? m_nHeight / 10 : 0;
    m_grid.assign(static_cast<size_t>(m_nColumns) * static_cast<size_t>(m_nRows), 0);
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
}

// ---------------------------------------------------------------------------
// Line of sight

namespace
{
// Whether atan2(a, r) > angle, where angle = atan2(b, d) and r, d > 0. The
// two slopes are compared by cross-multiplying when they are clearly apart,
// and through the angles themselves when they are within the tolerance, so
// the answer is always that of the angle comparison at a fraction of its
// cost. An infinite tolerance always takes the angles.
inline bool AngleAbove(double a, double r, double b, double d, double angle, double tolerance)
{
    const double lhs = a * d;
    const double rhs = b * r;
    const double diff = lhs - rhs;
    const double margin = tolerance * (std::fabs(lhs) + std::fabs(rhs));
    if (diff > margin)
        return true;
    if (diff < -margin)
        return false;
    return std::atan2(a, r) > angle;
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
    const double direction = std::atan2(dx, dy);
    if (bearing != nullptr)
        *bearing = static_cast<float>(direction);
    const double d = std::sqrt(dy * dy + dx * dx);
    const double targetAngle = std::atan2(static_cast<double>(dh), d);

    const int steps = TruncToInt(d * 0.01);
    if (steps > 1)
    {
        const double sinB = std::sin(direction);
        const double cosB = std::cos(direction);
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
        // Features are looked at only when one with a height lies near the line.
        const bool features = m_pTerrain->MayHaveFeatureHeightWithin(std::min(x1, x2), std::min(y1, y2),
                                                                     std::max(x1, x2), std::max(y1, y2));
        const GridView grid = View();
        const double eyeAbove = static_cast<double>(eye + 1);
        // One sample after the ground test: false when it masks the target.
        // Features are looked at only where one with a height may stand.
        const auto passes = [&](double r, float sx, float sy, long long e)
        {
            const double a = static_cast<double>(e - eye - 1);
            const double diff = a * d - dhd * r;
            if (diff > margin || (!(diff < -margin) && std::atan2(a, r) > targetAngle))
                return false;
            if (features && m_pTerrain->MayHaveFeatureHeightAt(sx, sy))
            {
                const int t = m_pTerrain->GetFeatureHeightAt(sx, sy);
                if (t != 0 && AngleAbove(static_cast<double>(e + 2LL * t - eye), r, dhd, d, targetAngle, tolerance))
                    seen *= m_pTerrain->GetObscurationAt(sx, sy);
            }
            return true;
        };
        const auto sampleX = [&](double r) { return static_cast<float>((sinB * r + originX) * 0.1); };
        const auto sampleY = [&](double r) { return static_cast<float>((cosB * r + originY) * 0.1); };
        const auto onMap = [&](int i)
        {
            const double r = i * 100.0;
            return Inside(grid, static_cast<double>(sampleX(r)) + 0.5, static_cast<double>(sampleY(r)) + 0.5);
        };

        // The samples go in blocks. One at a time, each sample's arithmetic
        // waits on the previous sample's branch and its load, which misses
        // the first-level cache as the line crosses a grid column every
        // 10 m. A block computes all its positions and cells first
        // (independent work the compiler puts into vector registers), then
        // has all its loads in flight at once, then weighs all its ground
        // against the margin. Only a block with a sample near or above the
        // line (or with features about) goes through its samples one by
        // one, in order, so the first masking sample and the visibility
        // before it are those of the plain walk. The positions are monotonic
        // along the line (every rounding is), so a block whose first and
        // last samples lie on the map lies on it whole; blocks reaching off
        // the map take the per-sample look-up.
        constexpr int kBlock = 32;
        double rs[kBlock];
        float xs[kBlock];
        float ys[kBlock];
        int cx[kBlock];
        int cy[kBlock];
        int cells[kBlock];
        double es[kBlock];
        double diffs[kBlock];
        // Cell offsets go in an int.
        const bool blocked =
            static_cast<long long>(grid.rows) * (grid.lastColumn + 1LL) <= std::numeric_limits<int>::max();
        int n = 0;
        for (int first = 1; first < steps; first += n)  // first + n <= steps never overflows
        {
            n = std::min(kBlock, steps - first);
            if (!blocked || !onMap(first) || !onMap(first + n - 1))
            {
                for (int k = 0; k < n; ++k)
                {
                    const double r = (first + k) * 100.0;
                    const float sx = sampleX(r);
                    const float sy = sampleY(r);
                    if (!passes(r, sx, sy, ElevationIn(grid, sx, sy)))
                    {
                        if (visibility != nullptr)
                            *visibility = seen;
                        return 0;
                    }
                }
                continue;
            }
            for (int k = 0; k < n; ++k)
            {
                rs[k] = (first + k) * 100.0;  // i x 10 m in tenths, exact
                xs[k] = sampleX(rs[k]);
                ys[k] = sampleY(rs[k]);
            }
            // CellOffset in 32-bit lanes: the whole metres are at least 0 on
            // the map, and the offsets fit.
            for (int k = 0; k < n; ++k)
            {
                cx[k] = static_cast<int>(static_cast<double>(xs[k]) + 0.5);
                cy[k] = static_cast<int>(static_cast<double>(ys[k]) + 0.5);
            }
            for (int k = 0; k < n; ++k)
            {
                const int c = static_cast<int>((static_cast<unsigned>(cx[k]) + 5u) / 10u);
                const int row = static_cast<int>((static_cast<unsigned>(cy[k]) + 5u) / 10u);
                cells[k] = std::min(c, grid.lastColumn) * grid.rows + std::min(row, grid.lastRow);
            }
            for (int k = 0; k < n; ++k)
                es[k] = grid.samples[cells[k]];
            // e - eye - 1 is exact in double, so this is the plain test's diff.
            for (int k = 0; k < n; ++k)
                diffs[k] = (es[k] - eyeAbove) * d - dhd * rs[k];
            bool near = false;
            for (int k = 0; k < n; ++k)
                near |= !(diffs[k] < -margin);
            if (!near && !features)
                continue;
            for (int k = 0; k < n; ++k)
            {
                if (!passes(rs[k], xs[k], ys[k], static_cast<long long>(es[k])))
                {
                    if (visibility != nullptr)
                        *visibility = seen;
                    return 0;
                }
            }
        }
    }

    // Concealment of whoever stands inside a feature at least as tall as he is.
    if (lookUpTarget)
    {
        const float f = m_pTerrain->GetObscurationAt(x2, y2);
        if (m_pTerrain->GetFeatureHeightAt(x2, y2) >= targetHeight)
            seen = Concealed(seen, f);
    }
    if (lookUpObserver)
    {
        const float f = m_pTerrain->GetObscurationAt(x1, y1);
        if (m_pTerrain->GetFeatureHeightAt(x1, y1) >= observerHeight)
            seen = Concealed(seen, f);
    }
    if (visibility != nullptr)
        *visibility = seen;
    if (slantRange != nullptr)
        *slantRange = static_cast<float>(std::sqrt(d * d + static_cast<double>(dh) * static_cast<double>(dh)));
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
