// Line of sight over a 10 x 10 km map at 10 m (1000 x 1000 samples), the
// inner loop of every detection pass. Reports elevation samples examined
// per nanosecond and the heap allocations per query (which must be 0).
//
// Each range runs a fixed set of observer-target pairs at that distance, in
// random directions over rolling ground. The samples a query examines are
// counted beforehand by a plain walk of the same rule, so the timed loop
// runs the real query and nothing else.
#include "battlefield/ElevationMap.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "battlefield/TerrainType.h"
#include "AllocationCount.h"
#include "SightSamples.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
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

void RunLineOfSight(benchmark::State& state, bool woods)
{
    static const std::unique_ptr<CElevationMap> bare = MakeMap(false);
    static const std::unique_ptr<CElevationMap> wooded = MakeMap(true);
    const CElevationMap& map = woods ? *wooded : *bare;
    const std::vector<Query> queries = MakeQueries(static_cast<double>(state.range(0)));
    long long samplesPerRound = 0;
    for (const Query& q : queries)
        samplesPerRound += SamplesExamined(map, q.x1, q.y1, q.x2, q.y2, kEyeHeight, kEyeHeight);

    long long seen = 0;
    long long rounds = 0;
    const long long allocationsBefore = g_allocations.load();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
    {
        for (const Query& q : queries)
        {
            float bearing, slant, visibility;
            seen += map.HasLineOfSight(q.x1, q.y1, q.x2, q.y2, kEyeHeight, kEyeHeight, &bearing, &slant, &visibility);
            benchmark::DoNotOptimize(visibility);
        }
        ++rounds;
    }
    const double elapsedNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    const long long allocations = g_allocations.load() - allocationsBefore;

    const double queriesRun = static_cast<double>(rounds) * static_cast<double>(queries.size());
    state.SetItemsProcessed(static_cast<int64_t>(queriesRun));
    state.counters["samples_per_ns"] =
        elapsedNs > 0.0 ? static_cast<double>(samplesPerRound) * static_cast<double>(rounds) / elapsedNs : 0.0;
    state.counters["samples_per_query"] = static_cast<double>(samplesPerRound) / static_cast<double>(queries.size());
    state.counters["seen_fraction"] = queriesRun > 0 ? static_cast<double>(seen) / queriesRun : 0.0;
    state.counters["allocs_per_query"] = queriesRun > 0 ? static_cast<double>(allocations) / queriesRun : 0.0;
}

void BM_LineOfSight(benchmark::State& state) { RunLineOfSight(state, false); }

void BM_LineOfSightThroughWoods(benchmark::State& state) { RunLineOfSight(state, true); }
}  // namespace

BENCHMARK(BM_LineOfSight)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000);
BENCHMARK(BM_LineOfSightThroughWoods)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000);
