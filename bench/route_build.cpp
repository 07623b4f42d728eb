// The path builders on the demo map and its help map: a company's 13 member
// paths from the assembly area in the west to the saddle, laid straight
// through the lake and the ridge woods and made drivable by BuildRoute; the
// same starts and ends built afresh by BuildRouteTo; and a detour round the
// lake region by BuildPolygonDetour.
//
// A recording wrapper keeps every terrain question a build asks (point,
// segment and movement tests with their arguments); the same run replays
// them bare against the map and times a bare plain 100 m segment test on
// open ground. Each case reports the median of its rounds:
//   vs_replay          build time / its questions replayed bare (goal <= 1.15:
//                      the builder's own work stays small beside the terrain's)
//   segment_tests_per_route  the replayed questions in bare 100 m segment
//                      tests per route (goal <= 2000)
//   queries_per_route  the questions a route asks
//   allocs_per_route   heap allocations of a build from the second round on
//                      (nodes, their order lists and icons, scratch paths,
//                      routes the movement test hands over)
//   load_1min          the machine's load average while it ran
// A case short of a goal is also written to standard error.
#include "AllocationCount.h"

#include "../tools/demo_helpmap.h"
#include "../tools/demo_terrain.h"
#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MoverInfo.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "orders/RouteQueries.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
constexpr int kRoutes = 13;
constexpr int kRounds = 21;
constexpr int kVehicle = 0x1;
constexpr double kReplayGoal = 1.15;
constexpr double kSegmentGoal = 2000.0;
constexpr int kBareSegmentRepeats = 2000;

using Clock = std::chrono::steady_clock;

double NanosecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

CKDRGameMap& DemoMap()
{
    static CKDRGameMap* pMap = []
    {
        auto* map = new CKDRGameMap;
        map->SetElevationMap(demo_terrain::BuildDemoElevationMap().release());
        map->SetHelpMap(demo_helpmap::BuildDemoHelpMap().release());
        return map;
    }();
    return *pMap;
}

// One recorded question.
struct Question
{
    enum Kind
    {
        kPoint,
        kSegment,
        kMove
    } kind;
    float x1, y1, x2, y2, width, extra;
    int flags, side, ability;
    MoverInfo mover;
    CObstacle* pCurrent;
};

class CRecordingQueries : public CRouteQueries
{
public:
    explicit CRecordingQueries(CKDRGameMap* pMap) : CRouteQueries(pMap) { m_questions.reserve(1 << 20); }

    int IsPointBlocked(float x, float y, CKDRObstacles* obstacles, int moverFlags, int moverSide,
                       int abilityMask) const override
    {
        if (m_bRecording)
            m_questions.push_back({Question::kPoint, x, y, 0, 0, 0, 0, moverFlags, moverSide, abilityMask, {}, nullptr});
        return CRouteQueries::IsPointBlocked(x, y, obstacles, moverFlags, moverSide, abilityMask);
    }
    int FindSegmentBlock(CKDRObstacles* obstacles, float x1, float y1, float x2, float y2, float* blockedX,
                         float* blockedY, float width, float extraLength, int moverFlags, int moverSide,
                         CAITerrainRegion** region, CTerrain** feature, CObstacle** obstacle, int* marker,
                         int abilityMask) const override
    {
        if (m_bRecording)
            m_questions.push_back({Question::kSegment, x1, y1, x2, y2, width, extraLength, moverFlags, moverSide,
                                   abilityMask, {}, nullptr});
        return CRouteQueries::FindSegmentBlock(obstacles, x1, y1, x2, y2, blockedX, blockedY, width, extraLength,
                                               moverFlags, moverSide, region, feature, obstacle, marker, abilityMask);
    }
    int TestMoveBlocked(const MoverInfo& mover, CObstacle* pCurrent, float* crossX, float* crossY,
                        CAITerrainRoute** ppRoute, int* pRouteCreated, int* pReverse,
                        int* pEntryIndex) const override
    {
        if (m_bRecording)
            m_questions.push_back({Question::kMove, 0, 0, 0, 0, 0, 0, 0, 0, 0, mover, pCurrent});
        return CRouteQueries::TestMoveBlocked(mover, pCurrent, crossX, crossY, ppRoute, pRouteCreated, pReverse,
                                              pEntryIndex);
    }

    mutable std::vector<Question> m_questions;
    bool m_bRecording = false;
};

// The questions asked again, bare.
long long Replay(const std::vector<Question>& questions, CKDRGameMap& map)
{
    long long sink = 0;
    for (const Question& q : questions)
    {
        switch (q.kind)
        {
        case Question::kPoint: sink += map.IsPointBlocked(q.x1, q.y1, nullptr, q.flags, q.side, q.ability); break;
        case Question::kSegment:
        {
            float bx = 0.0f;
            float by = 0.0f;
            CAITerrainRegion* pRegion = nullptr;
            CTerrain* pFeature = nullptr;
            CObstacle* pObstacle = nullptr;
            int marker = 0;
            sink += map.FindSegmentBlock(nullptr, q.x1, q.y1, q.x2, q.y2, &bx, &by, q.width, q.extra, q.flags, q.side,
                                         &pRegion, &pFeature, &pObstacle, &marker, q.ability);
            break;
        }
        case Question::kMove:
        {
            float cx = 0.0f;
            float cy = 0.0f;
            CAITerrainRoute* pRoute = nullptr;
            int created = 0;
            int reverse = 0;
            int entry = 0;
            sink += map.TestMoveBlocked(q.mover, nullptr, q.pCurrent, nullptr, FALSE, &cx, &cy, &pRoute, &created,
                                        &reverse, &entry);
            if (created)
                delete pRoute;
            break;
        }
        }
    }
    return sink;
}

// The bare plain 100 m segment test on open ground, in nanoseconds.
double BareSegmentNs(CKDRGameMap& map)
{
    std::vector<double> times;
    for (int round = 0; round < 9; ++round)
    {
        long long sink = 0;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kBareSegmentRepeats; ++i)
            sink += map.FindSegmentBlock(nullptr, 200.0f, 2800.0f, 300.0f, 2800.0f, nullptr, nullptr, 0.0f, 0.0f,
                                         kVehicle, 0, nullptr, nullptr, nullptr, nullptr, kUnset);
        times.push_back(NanosecondsSince(start) / kBareSegmentRepeats);
        benchmark::DoNotOptimize(sink);
    }
    return Median(times);
}

// The company's member paths: through the lake, past the ridge woods' west
// edge, through the woods to the saddle.
std::vector<std::unique_ptr<CNodeArray>> MemberPaths()
{
    std::vector<std::unique_ptr<CNodeArray>> paths;
    for (int i = 0; i < kRoutes; ++i)
    {
        const float f = static_cast<float>(i);
        auto path = std::make_unique<CNodeArray>();
        path->AddNode(400.0f, 700.0f + 10.0f * f);
        path->AddNode(1800.0f, 700.0f + 10.0f * f);
        path->AddNode(2200.0f, 2300.0f + 10.0f * f);
        path->AddNode(2950.0f, 1750.0f + 10.0f * f);
        paths.push_back(std::move(path));
    }
    return paths;
}

enum class Builder
{
    kRoute,
    kRouteTo,
    kDetour
};

CAITerrainRegion* LakeRegion(CKDRGameMap& map) { return static_cast<CAITerrainRegion*>(map.GetHelpMap()->GetAt(0)); }

void Build(Builder builder, CNodeArray& path, const CRouteQueries& queries, CTaskOrgArray& element)
{
    CKDRGameMap& map = DemoMap();
    float x = 0.0f;
    float y = 0.0f;
    switch (builder)
    {
    case Builder::kRoute:
        path.BuildRoute(kUnset, 0.0f, 0.0f, &x, &y, nullptr, nullptr, nullptr, nullptr, &map, nullptr, CString(),
                        kVehicle, kUnset, FALSE, kUnsetFloat, FALSE, &queries);
        break;
    case Builder::kRouteTo:
    {
        const CNode* pStart = path.GetAt(0);
        const CNode* pEnd = path.GetAt(path.GetSize() - 1);
        const float sx = pStart->m_fX, sy = pStart->m_fY, ex = pEnd->m_fX, ey = pEnd->m_fY;
        path.BuildRouteTo(2, 0.0f, 0.0f, sx, sy, ex, ey, ex + 100.0f, ey, &map, nullptr, nullptr, &element, nullptr,
                          CString(), kVehicle, &queries);
        break;
    }
    case Builder::kDetour:
    {
        const float lakeY = static_cast<float>(demo_helpmap::LakeY());
        path.RemoveAll();
        path.BuildPolygonDetour(LakeRegion(map), nullptr, 0.0f, 0.0f, 800.0f, lakeY, 1700.0f, lakeY, 0, nullptr,
                                nullptr, nullptr, nullptr, &map, CString(), CString(), kVehicle, kUnset, &queries);
        break;
    }
    }
}

void RunBuilder(benchmark::State& state, Builder builder)
{
    CKDRGameMap& map = DemoMap();
    CRecordingQueries recorder(&map);
    const CRouteQueries plain(&map);
    CTaskOrgArray element;
    element.m_nSide = 0;
    const int nRoutes = builder == Builder::kDetour ? 1 : kRoutes;

    // The questions of one whole build, recorded once.
    {
        std::vector<std::unique_ptr<CNodeArray>> paths = MemberPaths();
        recorder.m_bRecording = true;
        for (int i = 0; i < nRoutes; ++i)
            Build(builder, *paths[static_cast<size_t>(i)], recorder, element);
        recorder.m_bRecording = false;
    }
    const std::vector<Question> questions = recorder.m_questions;
    const double bareSegment = BareSegmentNs(map);

    std::vector<double> buildTimes;
    std::vector<double> replayTimes;
    long long allocations = 0;
    long long counted = 0;
    long long sink = 0;
    int round = 0;
    for (auto _ : state)
    {
        std::vector<std::unique_ptr<CNodeArray>> paths = MemberPaths();
        const long long before = g_allocations.load();
        Clock::time_point start = Clock::now();
        for (int i = 0; i < nRoutes; ++i)
            Build(builder, *paths[static_cast<size_t>(i)], plain, element);
        const double buildNs = NanosecondsSince(start);
        if (round++ > 0)
        {
            allocations += g_allocations.load() - before;
            ++counted;
        }
        start = Clock::now();
        sink += Replay(questions, map);
        const double replayNs = NanosecondsSince(start);
        buildTimes.push_back(buildNs);
        replayTimes.push_back(replayNs);
        state.SetIterationTime(buildNs * 1e-9);
    }
    benchmark::DoNotOptimize(sink);

    double load[1] = {0.0};
    getloadavg(load, 1);
    const double vsReplay = Median(buildTimes) / Median(replayTimes);
    const double segmentsPerRoute = Median(replayTimes) / bareSegment / nRoutes;
    state.counters["vs_replay"] = vsReplay;
    state.counters["segment_tests_per_route"] = segmentsPerRoute;
    state.counters["queries_per_route"] = static_cast<double>(questions.size()) / nRoutes;
    state.counters["allocs_per_route"] =
        counted > 0 ? static_cast<double>(allocations) / static_cast<double>(counted * nRoutes) : 0.0;
    state.counters["bare_100m_segment_ns"] = bareSegment;
    state.counters["load_1min"] = load[0];
    if (vsReplay > kReplayGoal || segmentsPerRoute > kSegmentGoal)
        std::fprintf(stderr, "route_build: case %d: %.2f x its replayed questions (goal %.2f), %.0f segment tests "
                             "per route (goal %.0f), %zu questions\n",
                     static_cast<int>(builder), vsReplay, kReplayGoal, segmentsPerRoute, kSegmentGoal,
                     questions.size());
}

void BM_BuildRouteCompanyToSaddle(benchmark::State& state) { RunBuilder(state, Builder::kRoute); }
void BM_BuildRouteToCompanyToSaddle(benchmark::State& state) { RunBuilder(state, Builder::kRouteTo); }
void BM_PolygonDetourRoundLake(benchmark::State& state) { RunBuilder(state, Builder::kDetour); }
}  // namespace

BENCHMARK(BM_BuildRouteCompanyToSaddle)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_BuildRouteToCompanyToSaddle)->UseManualTime()->Iterations(kRounds);
BENCHMARK(BM_PolygonDetourRoundLake)->UseManualTime()->Iterations(kRounds);
