// Line of sight over a 10 x 10 km map at 10 m (1000 x 1000 samples), the
// inner loop of every detection pass, on bare rolling ground and with
// forty woods of the demo's kind (15 m trees that let half the light
// through) scattered over it, at 500 m, 1, 2 and 4 km.
//
// Two references run in the same program over the same grid and the same
// observer-target pairs: a plain float march (a float position and a float
// line height stepped 10 m at a time) and a plain fixed-point march (the
// same with one integer add a step), each reading the elevation samples as
// the map keeps them, column after column. They test the ground only, as a
// sight line without features would. Each counts the samples it looks at
// before it decides; the query's samples are counted by a plain walk of
// its own rule beforehand, so every timed loop runs its march and nothing
// else.
//
// Each case runs rounds of the query and of both references in turn, so
// the machine's other work falls on all three alike, and reports the
// median samples per nanosecond of each, the query's ratio to each
// reference (vs_fixed, vs_float) and the heap allocations per query. The
// query is asked for all it answers (bearing, slant range, visibility);
// no_bearing_vs_fixed is the same query without the bearing, whose arc
// tangent a caller that does not need it is spared.
// Goals: at least 1.0 times the fixed-point march on bare ground at every
// range, at least 0.7 times it through the woods, no allocation per query;
// a case short of its goal is also written to standard error.
#include "AllocationCount.h"
#include "SightSamples.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "battlefield/TerrainType.h"
#include "platform/core/Rounding.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <vector>

namespace
{
constexpr int kSide = 10000;         // metres
constexpr float kEyeHeight = 20.0f;  // 2 m, in tenths
constexpr int kQueriesPerRange = 512;
constexpr int kRounds = 301;
constexpr double kBareGoal = 1.0;
constexpr double kWoodsGoal = 0.7;

using Clock = std::chrono::steady_clock;

// Rolling ground with ridges and valleys a few kilometres apart and smaller
// folds on them, 60 to 140 m high (tenths of a metre).
short Ground(double x, double y)
{
    double h = 1000.0;
    h += 250.0 * std::sin(x / 1300.0) * std::cos(y / 1700.0);
    h += 120.0 * std::sin((x + 2.0 * y) / 2300.0);
    h += 40.0 * std::sin(x / 310.0 + 1.0) * std::sin(y / 270.0);
    return static_cast<short>(std::lround(h));
}

std::unique_ptr<CElevationMap> MakeMap(bool woods)
{
    auto map = std::make_unique<CElevationMap>();
    map->SetGeometry(kSide, kSide, 0, 0, 1);
    for (int c = 0; c < map->GetColumns(); ++c)
        for (int r = 0; r < map->GetRows(); ++r)
            map->SetElevation(c, r, Ground(10.0 * c, 10.0 * r));
    map->UpdateElevationRange();
    if (woods)
    {
        // Forty woods of 15 m trees scattered over the map.
        CTerrainArray* terrain = map->GetTerrain();
        const TerrainColourSet green{0, 110, 0, kTerrainFillSolid, FALSE};
        terrain->AddType(new CTerrainType("Woods", 0.5f, kUnset, 150, 0.5f, green, green));
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> at(300, kSide - 300);
        std::uniform_int_distribution<int> size(60, 250);
        for (int i = 0; i < 40; ++i)
        {
            const int cx = at(rng), cy = at(rng), rx = size(rng), ry = size(rng);
            std::vector<CPoint> points;
            for (int k = 0; k < 10; ++k)
            {
                const double a = 6.283185307179586 * k / 10;
                points.emplace_back(cx + static_cast<int>(rx * std::cos(a)), cy + static_cast<int>(ry * std::sin(a)));
            }
            terrain->AddFeature(new CTerrain(0, points));
        }
    }
    return map;
}

struct Query
{
    float x1, y1, x2, y2;
};

std::vector<Query> MakeQueries(double range)
{
    std::mt19937 rng(static_cast<unsigned>(range));
    std::uniform_real_distribution<double> pos(0.0, kSide);
    std::uniform_real_distribution<double> dir(-3.141592653589793, 3.141592653589793);
    std::vector<Query> queries;
    while (queries.size() < kQueriesPerRange)
    {
        const double x1 = pos(rng), y1 = pos(rng), b = dir(rng);
        const double x2 = x1 + range * std::sin(b), y2 = y1 + range * std::cos(b);
        if (x2 < 0.0 || y2 < 0.0 || x2 >= kSide || y2 >= kSide)
            continue;
        queries.push_back(
            {static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2)});
    }
    return queries;
}

// The grid as the references read it.
struct Grid
{
    const short* samples;
    unsigned columns;
    unsigned rows;
};

Grid GridOf(const CElevationMap& map)
{
    return Grid{map.GetSamples().data(), static_cast<unsigned>(map.GetColumns()), static_cast<unsigned>(map.GetRows())};
}

// The two ends of a sight line as the references set them up (in the
// timed loop, as the query does), in tenths of a metre: the eye and the
// line's rise to the target's top.
struct Ends
{
    long long eye;
    long long dh;
    double d;  // horizontal length, tenths
    int steps;
};

Ends EndsOf(const CElevationMap& map, const Query& q)
{
    Ends e;
    e.eye = map.GetElevation(q.x1, q.y1) + RoundHalfUpTrunc(kEyeHeight);
    e.dh = RoundHalfUpTrunc(kEyeHeight) + map.GetElevation(q.x2, q.y2) - e.eye + 1;
    const double dx = (static_cast<double>(q.x2) - q.x1) * 10.0;
    const double dy = (static_cast<double>(q.y2) - q.y1) * 10.0;
    e.d = std::sqrt(dx * dx + dy * dy);
    e.steps = TruncToInt(e.d * 0.01);
    return e;
}

// The plain float march: 1 when the target is seen, and the samples looked at.
int FloatMarch(const Grid& grid, const Ends& ends, const Query& q, long long* examined)
{
    const float stepX = static_cast<float>((static_cast<double>(q.x2) - q.x1) * 100.0 / ends.d);
    const float stepY = static_cast<float>((static_cast<double>(q.y2) - q.y1) * 100.0 / ends.d);
    const float stepH = static_cast<float>(static_cast<double>(ends.dh) * 100.0 / ends.d);
    float x = q.x1;
    float y = q.y1;
    float h = static_cast<float>(ends.eye + 1);
    for (int i = 1; i < ends.steps; ++i)
    {
        x += stepX;
        y += stepY;
        h += stepH;
        const unsigned c = static_cast<unsigned>(static_cast<int>(x * 0.1f + 0.5f));
        const unsigned r = static_cast<unsigned>(static_cast<int>(y * 0.1f + 0.5f));
        if (c < grid.columns && r < grid.rows && grid.samples[c * grid.rows + r] > h)
        {
            *examined += i;
            return 0;
        }
    }
    *examined += ends.steps > 1 ? ends.steps - 1 : 0;
    return 1;
}

// The plain fixed-point march: positions in cells and the line's height in
// tenths, each with 32 fractional bits.
int FixedMarch(const Grid& grid, const Ends& ends, const Query& q, long long* examined)
{
    constexpr double kOne = 4294967296.0;
    const long long stepU = std::llround((static_cast<double>(q.x2) - q.x1) * 10.0 / ends.d * kOne);
    const long long stepV = std::llround((static_cast<double>(q.y2) - q.y1) * 10.0 / ends.d * kOne);
    const long long stepH = std::llround(static_cast<double>(ends.dh) * 100.0 / ends.d * kOne);
    long long u = std::llround((q.x1 * 0.1 + 0.5) * kOne);
    long long v = std::llround((q.y1 * 0.1 + 0.5) * kOne);
    long long h = (ends.eye + 1) * (1LL << 32);
    for (int i = 1; i < ends.steps; ++i)
    {
        u += stepU;
        v += stepV;
        h += stepH;
        const unsigned c = static_cast<unsigned>(u >> 32);
        const unsigned r = static_cast<unsigned>(v >> 32);
        const long long ground = c < grid.columns && r < grid.rows ? grid.samples[c * grid.rows + r] : -32768;
        if (ground * (1LL << 32) > h)
        {
            *examined += i;
            return 0;
        }
    }
    *examined += ends.steps > 1 ? ends.steps - 1 : 0;
    return 1;
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double NanosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

void RunLineOfSight(benchmark::State& state, bool woods)
{
    static const std::unique_ptr<CElevationMap> bare = MakeMap(false);
    static const std::unique_ptr<CElevationMap> wooded = MakeMap(true);
    const CElevationMap& map = woods ? *wooded : *bare;
    const Grid grid = GridOf(map);
    const std::vector<Query> queries = MakeQueries(static_cast<double>(state.range(0)));
    long long querySamples = 0;
    long long floatSamples = 0;
    long long fixedSamples = 0;
    for (const Query& q : queries)
    {
        querySamples += SamplesExamined(map, q.x1, q.y1, q.x2, q.y2, kEyeHeight, kEyeHeight);
        FloatMarch(grid, EndsOf(map, q), q, &floatSamples);
        FixedMarch(grid, EndsOf(map, q), q, &fixedSamples);
    }

    std::vector<double> queryRates;
    std::vector<double> unbearedRates;
    std::vector<double> floatRates;
    std::vector<double> fixedRates;
    long long seen = 0;
    long long rounds = 0;
    long long allocations = 0;
    long long sink = 0;
    for (auto _ : state)
    {
        const long long allocationsBefore = g_allocations.load();
        Clock::time_point start = Clock::now();
        for (const Query& q : queries)
        {
            float bearing, slant, visibility;
            seen += map.HasLineOfSight(q.x1, q.y1, q.x2, q.y2, kEyeHeight, kEyeHeight, &bearing, &slant, &visibility);
            benchmark::DoNotOptimize(visibility);
        }
        const double queryNs = NanosecondsSince(start);
        allocations += g_allocations.load() - allocationsBefore;
        state.SetIterationTime(queryNs * 1e-9);

        start = Clock::now();
        for (const Query& q : queries)
        {
            float slant, visibility;
            seen += map.HasLineOfSight(q.x1, q.y1, q.x2, q.y2, kEyeHeight, kEyeHeight, nullptr, &slant, &visibility);
            benchmark::DoNotOptimize(visibility);
        }
        const double unbearedNs = NanosecondsSince(start);

        long long examined = 0;
        start = Clock::now();
        for (const Query& q : queries)
            sink += FixedMarch(grid, EndsOf(map, q), q, &examined);
        const double fixedNs = NanosecondsSince(start);
        start = Clock::now();
        for (const Query& q : queries)
            sink += FloatMarch(grid, EndsOf(map, q), q, &examined);
        const double floatNs = NanosecondsSince(start);
        benchmark::DoNotOptimize(examined);

        queryRates.push_back(static_cast<double>(querySamples) / queryNs);
        unbearedRates.push_back(static_cast<double>(querySamples) / unbearedNs);
        fixedRates.push_back(static_cast<double>(fixedSamples) / fixedNs);
        floatRates.push_back(static_cast<double>(floatSamples) / floatNs);
        ++rounds;
    }
    benchmark::DoNotOptimize(sink);

    const double queriesRun = 2.0 * static_cast<double>(rounds) * static_cast<double>(queries.size());
    const double queryRate = Median(queryRates);
    const double fixedRate = Median(fixedRates);
    const double floatRate = Median(floatRates);
    const double goal = woods ? kWoodsGoal : kBareGoal;
    state.SetItemsProcessed(static_cast<int64_t>(queriesRun / 2.0));
    state.counters["samples_per_ns"] = queryRate;
    state.counters["fixed_samples_per_ns"] = fixedRate;
    state.counters["float_samples_per_ns"] = floatRate;
    state.counters["vs_fixed"] = queryRate / fixedRate;
    state.counters["vs_float"] = queryRate / floatRate;
    state.counters["no_bearing_vs_fixed"] = Median(unbearedRates) / fixedRate;
    state.counters["goal_vs_fixed"] = goal;
    state.counters["samples_per_query"] = static_cast<double>(querySamples) / static_cast<double>(queries.size());
    state.counters["seen_fraction"] = static_cast<double>(seen) / queriesRun;
    state.counters["allocs_per_query"] = static_cast<double>(allocations) / (queriesRun / 2.0);
    if (queryRate / fixedRate < goal || allocations != 0)
        std::fprintf(stderr, "los: %s at %lld m: %.2f x the fixed-point march (goal %.1f), %lld allocations\n",
                     woods ? "through woods" : "bare ground", static_cast<long long>(state.range(0)),
                     queryRate / fixedRate, goal, allocations);
}

void BM_LineOfSight(benchmark::State& state) { RunLineOfSight(state, false); }

void BM_LineOfSightThroughWoods(benchmark::State& state) { RunLineOfSight(state, true); }
}  // namespace

// A fixed number of rounds, so that each case runs (and reports) once.
BENCHMARK(BM_LineOfSight)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_LineOfSightThroughWoods)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->UseManualTime()->Iterations(kRounds);
