// One pass of combat on the demo's 4 x 3 km ground: N tanks a side (the
// benchmark's argument: 50, 150, 300 or 600) with turrets and kill tables,
// mostly within sight of each other, so that the sight lines are most of
// the work. An iteration empties the contact lists, runs the detection
// sweep and the direct-fire pass (the moving cases the movement pass
// first) under a hand-driven counter. The same run times the pass's sight
// lines bare and brute force: every observer and target pair that the
// sweep would look along, as the units stand at that moment, straight to
// HasLineOfSight. Both are timed in the thread's processor time, so other
// work on a shared machine counts against neither; the ratio of the two
// is the figure, beside the passes per second and the load average.
//
// The sweep keeps each pair's sight line while neither end moves, so a
// battle that stands still costs little more than its effective-distance
// tests. In the moving cases a tenth (or a third) of each side's tanks
// drive toward the other side on 300 m legs under a running game clock,
// so their sight lines, ranges and contacts change every pass (sorted
// inserts and removals taken); a tank at the end of its leg is put back at
// its start between passes. Goals at 2 x 150: a tenth moving at most 0.25
// times the brute-force bare sight lines, a third at most 0.7.
//
// Between iterations every unit is made whole and ready again (alive,
// unsuppressed, weapons loaded and ready), so each pass fires as the first
// did; that upkeep is a few thousand stores and is timed with the pass.
//
// The smoke case lays 24 smoke clouds and 4 flares over the ground between
// the forces, where most sight lines cross them. The mine-field case moves:
// the own side's tanks drive east on legs across 40 mine fields, each with
// a lane; every iteration puts them back where they started, so the legs
// cross the fields and lanes each pass. Each pass ends where the one before
// did, so their sight lines are kept: the case weighs the movement over the
// fields. The fields' density is 0: a tank that meets one rolls and passes,
// and no lane is laid and no obstacle marked.
//
// The battery case adds 20 dug-in mortar carriers a side behind the tanks:
// the computer's pick targets from the full contact lists, the own side's
// are given the player's missions, and each pass moves every unit under a
// running clock (the batteries' firing cycle runs in the per-second work),
// detects, fires directly, runs the indirect-fire pass and steps the rounds
// in flight to their splashes. It should cost at most 1.30 times its bare
// sight lines (the batteries' counted with the tanks'), and a pass that
// queues and fires nothing should allocate nothing.
//
// Allocations are counted over every pass of a battle from its second on,
// whichever of the library's runs it falls in: none is the goal.
#include "AllocationCount.h"
#include "BattleUpkeep.h"

#include "../tools/demo_equipment.h"
#include "../tools/demo_terrain.h"

#include "battlefield/Breach.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "platform/core/Core.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "shell/HeadlessShell.h"
#include "units/KDRUnits.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <random>
#include <vector>

namespace
{
constexpr int kTankType = 0;  // the demo's main battle tank: a turret and kill tables
constexpr int kSmokeClouds = 24;
constexpr int kFlares = 4;
constexpr int kBatteriesPerSide = 20;
// How far a moving tank drives before it is put back, metres.
constexpr float kLegMetres = 300.0f;

struct SightPair
{
    float x1, y1, x2, y2, h1, h2;
};

// A unit and the weapon list of its turret, found once: the upkeep between
// passes is then only stores.
struct SReadyUnit
{
    CUnit* pUnit;
    CUnitWeaponArray* pTurretWeapons;
};

void MakeReady(const SReadyUnit& ready)
{
    CUnit& unit = *ready.pUnit;
    unit.m_bDestroyed = FALSE;
    unit.m_nSuppression = 0;
    unit.m_bHoldFire = FALSE;
    MakeReady(unit.m_pWeapons);
    MakeReady(ready.pTurretWeapons);
}

class CBattle
{
public:
    explicit CBattle(int nUnitsPerSide)
    {
        if (!WriteAndLoadDemoLists("kdr-combat", m_dir, m_db))
            return;
        m_map.SetElevationMap(demo_terrain::BuildDemoElevationMap().release());

        // The own side in the west third, the other in the east third, in
        // loose rows; nearly every pair lies within the tanks' 3 km sight.
        std::mt19937 rng(26);
        std::uniform_real_distribution<float> west(700.0f, 1500.0f);
        std::uniform_real_distribution<float> east(2500.0f, 3300.0f);
        std::uniform_real_distribution<float> north(600.0f, 2400.0f);
        m_units.m_pOwnUnits = new CUnitArray;
        m_units.m_bOwnUnits = TRUE;
        m_units.m_pOpposingArrays = new TypedObArray<CUnitArray>;
        m_units.m_pOpposingArrays->Add(new CUnitArray);
        m_units.m_bOpposingUnits = TRUE;
        for (int i = 0; i < nUnitsPerSide; ++i)
        {
            m_units.m_pOwnUnits->Add(NewTank(0, west(rng), north(rng), 1.5708f));
            m_units.m_pOpposingArrays->GetAt(0)->Add(NewTank(1, east(rng), north(rng), -1.5708f));
        }
        for (CUnitArray* pArray : {m_units.m_pOwnUnits, m_units.m_pOpposingArrays->GetAt(0)})
        {
            for (int i = 0; i < pArray->GetSize(); ++i)
            {
                CUnit* pUnit = pArray->GetAt(i);
                auto* pTurret = dynamic_cast<CUCapTurret*>(pUnit->FindCapability(VCAP_TURRET));
                m_ready.push_back({pUnit, pTurret != nullptr ? pTurret->GetWeapons() : nullptr});
            }
        }
        m_before.resize(m_ready.size());
        // The clouds lie between the two sides, where the lines cross them.
        std::uniform_real_distribution<float> between(1600.0f, 2400.0f);
        std::uniform_real_distribution<float> radius(20.0f, 80.0f);
        for (int i = 0; i < kSmokeClouds; ++i)
            m_smoke.Add(new CSmoke(between(rng), north(rng), radius(rng), 3600, 30));
        for (int i = 0; i < kFlares; ++i)
            m_smoke.Add(new CIllum(between(rng), north(rng), 400.0f, 3600, 80));
        m_bReady = true;
    }
    ~CBattle()
    {
        std::error_code ec;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ec);
    }
    CBattle(const CBattle&) = delete;
    CBattle& operator=(const CBattle&) = delete;

    bool IsReady() const { return m_bReady; }

    // The mine fields and the own side's legs across them; the game clock
    // runs from now on.
    void SetUpMineFields()
    {
        if (m_bMineFields)
            return;
        m_bMineFields = true;
        CObstacleArray* pFields = m_obstacles.CreateSideArray(0);
        // Five columns of eight fields over the own side's area, each 150 m
        // north to south and 30 m deep, a lane 8 m wide east through its
        // middle.
        for (int c = 0; c < 5; ++c)
        {
            for (int r = 0; r < 8; ++r)
            {
                auto* pField = new CObstacle;
                pField->m_fX = 760.0f + 170.0f * static_cast<float>(c);
                pField->m_fY = 700.0f + 220.0f * static_cast<float>(r);
                pField->m_nAttitude = 0;
                pField->m_nLength = 150;
                pField->m_nWidth = 30;
                pField->m_nDensity = 0;
                pField->m_nType = CObstacle::kMineField;
                pField->m_lanes.Add(new CBreach(pField->m_fX - 25.0f, pField->m_fY, pField->m_fX + 25.0f,
                                                pField->m_fY, 8.0f, 1600.0f, FALSE));
                pFields->Add(pField);
            }
        }
        CUnitArray* pOwn = m_units.m_pOwnUnits;
        const DWORD dwTick = m_shell.StartClock();
        for (int i = 0; i < pOwn->GetSize(); ++i)
        {
            CUnit* pUnit = pOwn->GetAt(i);
            m_starts.push_back({pUnit->m_fX, pUnit->m_fY});
            CNodeArray path;
            path.AddNode(pUnit->m_fX, pUnit->m_fY);
            path.AddNode(pUnit->m_fX + 400.0f, pUnit->m_fY);
            pUnit->SetPath(&path, &m_db);
            pUnit->m_bStopped = FALSE;
            pUnit->m_nMoveDelay = 0;
            pUnit->StartClock(dwTick, &m_db);
        }
    }

    // Every nEvery-th tank of each side on a leg toward the other side;
    // the game clock runs from now on.
    void SetUpMovers(int nEvery)
    {
        const DWORD dwTick = m_shell.StartClock();
        for (CUnitArray* pArray : {m_units.m_pOwnUnits, m_units.m_pOpposingArrays->GetAt(0)})
        {
            for (int i = 0; i < pArray->GetSize(); i += nEvery)
            {
                CUnit* pUnit = pArray->GetAt(i);
                const float fDirection = pUnit->m_nSide == 0 ? 1.0f : -1.0f;
                m_movers.push_back({pUnit, pUnit->m_fX, pUnit->m_fY, pUnit->m_fX + fDirection * kLegMetres,
                                    pUnit->m_fHeading});
                CNodeArray path;
                path.AddNode(pUnit->m_fX, pUnit->m_fY);
                path.AddNode(pUnit->m_fX + fDirection * kLegMetres, pUnit->m_fY);
                pUnit->SetPath(&path, &m_db);
                pUnit->m_bStopped = FALSE;
                pUnit->m_nMoveDelay = 0;
                pUnit->StartClock(dwTick, &m_db);
            }
        }
    }

    // Movers at the end of their legs back at the start: stores only.
    void PutBackArrivedMovers()
    {
        for (const SMover& mover : m_movers)
        {
            CUnit* pUnit = mover.pUnit;
            if (std::fabs(pUnit->m_fX - mover.fEndX) > 1.0f && !pUnit->m_bStopped)
                continue;
            pUnit->m_fX = mover.fX;
            pUnit->m_fY = mover.fY;
            pUnit->m_bStopped = FALSE;
            pUnit->m_fHeading = mover.fHeading;
            if (CNode* pFirst = pUnit->m_pPath->GetAt(0))
            {
                pFirst->m_fX = mover.fX;
                pFirst->m_fY = mover.fY;
            }
        }
    }

    // How many tanks changed place in the last pass.
    int MovedLastPass() const { return m_nMoved; }
    size_t MoverCount() const { return m_movers.size(); }

    // The own side back at the start of its legs, on the move.
    void PutBack()
    {
        CUnitArray* pOwn = m_units.m_pOwnUnits;
        for (int i = 0; i < pOwn->GetSize(); ++i)
        {
            CUnit* pUnit = pOwn->GetAt(i);
            pUnit->m_fX = m_starts[i].x;
            pUnit->m_fY = m_starts[i].y;
            pUnit->m_bStopped = FALSE;
            pUnit->m_fHeading = 1.5708f;
            if (CNode* pFirst = pUnit->m_pPath->GetAt(0))
            {
                pFirst->m_fX = m_starts[i].x;
                pFirst->m_fY = m_starts[i].y;
            }
        }
    }

    void Pass(bool bMove, bool bSmoke, bool bMineFields = false)
    {
        const long long nAllocations = g_allocations.load();
        for (size_t i = 0; i < m_ready.size(); ++i)
            m_before[i] = {m_ready[i].pUnit->m_fX, m_ready[i].pUnit->m_fY};
        AdvanceManualTime(100);
        for (const SReadyUnit& ready : m_ready)
            MakeReady(ready);
        if (bMineFields)
        {
            PutBack();
            m_units.MoveAll(&m_map, &m_db, &m_obstacles, nullptr, kUnset, kUnset, kUnset, nullptr);
        }
        else if (bMove)
        {
            m_units.MoveAll(&m_map, &m_db, nullptr, nullptr, kUnset, kUnset, kUnset, nullptr);
        }
        CUnitRefArray* pFirst = nullptr;
        CUnitRefArray* pSecond = nullptr;
        m_units.ResetContactLists(pFirst, pSecond);
        m_units.DetectAll(&m_map, &m_db, bSmoke ? &m_smoke : nullptr, 1.0f);
        m_units.DirectFirePass(&m_map, &m_db, nullptr, nullptr);
        m_nMoved = 0;
        for (size_t i = 0; i < m_ready.size(); ++i)
            m_nMoved += m_before[i].x != m_ready[i].pUnit->m_fX || m_before[i].y != m_ready[i].pUnit->m_fY ? 1 : 0;
        if (m_nPasses++ > 0)
            m_nAllocationsAfterFirst += g_allocations.load() - nAllocations;
    }

    // Allocations per pass over every pass after the battle's first.
    double AllocationsPerPass() const
    {
        return m_nPasses > 1 ? static_cast<double>(m_nAllocationsAfterFirst) / static_cast<double>(m_nPasses - 1)
                             : 0.0;
    }

    // The batteries of both sides, dug in behind their tanks, and the
    // rounds' list; the game clock runs from now on.
    void SetUpBatteries()
    {
        if (m_bBatteries)
            return;
        m_bBatteries = true;
        m_shell.m_pRoundsInFlight = &m_rounds;
        m_shell.m_fireOrder.nVolleys = 8;
        std::mt19937 rng(41);
        std::uniform_real_distribution<float> west(350.0f, 650.0f);
        std::uniform_real_distribution<float> east(3350.0f, 3650.0f);
        std::uniform_real_distribution<float> north(800.0f, 2200.0f);
        const DWORD dwTick = m_shell.StartClock();
        for (int i = 0; i < kBatteriesPerSide; ++i)
        {
            CUnit* pOwn = NewBattery(0, west(rng), north(rng), 1.5708f);
            m_units.m_pOwnUnits->Add(pOwn);
            CUnit* pOther = NewBattery(1, east(rng), north(rng), -1.5708f);
            m_units.m_pOpposingArrays->GetAt(0)->Add(pOther);
            for (CUnit* pUnit : {pOwn, pOther})
            {
                pUnit->StartClock(dwTick, &m_db);
                m_batteries.push_back(dynamic_cast<CUCapIndirectFire*>(pUnit->FindCapability(VCAP_INDIRECT_FIRE)));
                m_ready.push_back({pUnit, nullptr});
            }
            // The player's mission: eight volleys on the enemy's centre.
            pOwn->AssignFireMissionTarget(3000.0f, 1500.0f, &m_db);
        }
        CollectSightPairs();
    }

    // One pass with the batteries: move, detect, fire, the indirect-fire
    // pass and the rounds in flight.
    void BatteryPass()
    {
        AdvanceManualTime(100);
        for (const SReadyUnit& ready : m_ready)
            MakeReady(ready);
        m_units.MoveAll(&m_map, &m_db, nullptr, nullptr, kUnset, kUnset, kUnset, nullptr);
        CUnitRefArray* pFirst = nullptr;
        CUnitRefArray* pSecond = nullptr;
        m_units.ResetContactLists(pFirst, pSecond);
        m_units.DetectAll(&m_map, &m_db, nullptr, 1.0f);
        m_units.DirectFirePass(&m_map, &m_db, nullptr, nullptr);
        m_units.ProcessIndirectFire(&m_db);
        m_rounds.StepRoundsInFlight(kUnset, kUnset, kUnset, &m_db, &m_units);
    }

    // What the batteries and the rounds hold: a pass that changes it queued,
    // fired or splashed something.
    long long FireState() const
    {
        long long state = m_rounds.GetSize();
        for (const CUCapIndirectFire* pBattery : m_batteries)
            state = state * 3 + (pBattery != nullptr ? pBattery->m_pMissions->GetSize() : 0) +
                    (pBattery != nullptr ? pBattery->GetRoundsAt(0) : 0) * 7;
        return state;
    }

    // The pass's sight lines, bare.
    long long SightLines() const
    {
        const CElevationMap& map = *m_map.GetElevationMap();
        long long seen = 0;
        for (const SightPair& p : m_pairs)
        {
            float bearing, slant, visibility;
            seen += map.HasLineOfSight(p.x1, p.y1, p.x2, p.y2, p.h1, p.h2, &bearing, &slant, &visibility);
        }
        return seen;
    }

    size_t PairsPerPass() const { return m_pairs.size(); }

private:
    CUnit* NewBattery(int nSide, float x, float y, float fHeading)
    {
        auto* pUnit = new CUnit;
        pUnit->m_nVehicle = demo_equipment::kMortarCarrier;
        pUnit->m_pWeapons->BuildFromVehicle(pUnit->m_nVehicle, &m_db, FALSE);
        pUnit->m_pCapabilities->BuildFromVehicle(m_db.GetVehicle(pUnit->m_nVehicle), &m_db);
        pUnit->SetSide(nSide);
        pUnit->m_fX = x;
        pUnit->m_fY = y;
        pUnit->m_fHeading = fHeading;
        pUnit->m_bStopped = TRUE;
        pUnit->m_pPath->ResetToPoint(x, y, nSide != 0);
        if (auto* pEmplace = dynamic_cast<CUCapEmplace*>(pUnit->FindCapability(VCAP_EMPLACE)))
            pEmplace->SetEmplaced(TRUE);
        return pUnit;
    }

    CUnit* NewTank(int nSide, float x, float y, float fHeading)
    {
        auto* pUnit = new CUnit;
        pUnit->m_nVehicle = kTankType;
        pUnit->m_pWeapons->BuildFromVehicle(kTankType, &m_db, FALSE);
        pUnit->m_pCapabilities->BuildFromVehicle(m_db.GetVehicle(kTankType), &m_db);
        pUnit->SetSide(nSide);
        pUnit->m_fX = x;
        pUnit->m_fY = y;
        pUnit->m_fHeading = fHeading;
        pUnit->m_bStopped = TRUE;
        pUnit->m_pPath->ResetToPoint(x, y, nSide != 0);
        return pUnit;
    }

public:
    // The observer and target pairs whose effective distance lets the
    // sweep ask the sight line, as the units stand now, in the sweep's
    // order: the own side looks at the other, then the other at the own
    // side.
    void CollectSightPairs()
    {
        m_pairs.clear();
        CUnitArray* pOwn = m_units.m_pOwnUnits;
        CUnitArray* pOther = m_units.m_pOpposingArrays->GetAt(0);
        for (const auto& [pObservers, pTargets] : {std::pair{pOwn, pOther}, std::pair{pOther, pOwn}})
        {
            for (int i = 0; i < pObservers->GetSize(); ++i)
            {
                CUnit* pObserver = pObservers->GetAt(i);
                CVehicle* pSeer = m_db.GetVehicle(pObserver->m_nVehicle);
                const float fView = static_cast<float>(pSeer->m_nViewRange) * 10.0f;
                const float h1 = pSeer->GetTotalHeight() * 10.0f;
                for (int j = 0; j < pTargets->GetSize(); ++j)
                {
                    CUnit* pTarget = pTargets->GetAt(j);
                    CVehicle* pSeen = m_db.GetVehicle(pTarget->m_nVehicle);
                    const float h2 = pSeen->GetTotalHeight() * 10.0f;
                    const float d = CKDRGameMap::Distance(pObserver->m_fX, pObserver->m_fY, pTarget->m_fX, pTarget->m_fY);
                    if (2.0f * fView < pObserver->GetEffectiveDetectionRange(pTarget, pSeen, pSeer, d, 1.0f))
                        continue;
                    m_pairs.push_back({pObserver->m_fX, pObserver->m_fY, pTarget->m_fX, pTarget->m_fY, h1, h2});
                }
            }
        }
    }

private:
    struct Start
    {
        float x, y;
    };
    struct SMover
    {
        CUnit* pUnit;
        float fX, fY;
        float fEndX;
        float fHeading;
    };

    std::filesystem::path m_dir;
    CHeadlessShell m_shell;
    CKDRObstacles m_obstacles;
    std::vector<Start> m_starts;
    bool m_bMineFields = false;
    CKDRDatabase m_db;
    CKDRGameMap m_map;
    CKDRUnits m_units;
    CSmokeArray m_smoke;
    std::vector<SightPair> m_pairs;
    std::vector<SReadyUnit> m_ready;
    std::vector<Start> m_before;
    std::vector<SMover> m_movers;
    int m_nMoved = 0;
    long long m_nPasses = 0;
    long long m_nAllocationsAfterFirst = 0;
    bool m_bBatteries = false;
    CFireMissionArray m_rounds;
    std::vector<CUCapIndirectFire*> m_batteries;
    bool m_bReady = false;
};

// Processor time of this thread, in nanoseconds: the other work of a
// shared machine does not count against either run.
double ThreadNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

enum class Case
{
    kStill,
    kTenthMoves,
    kThirdMoves,
    kSmoke,
    kMineFields,
    kBatteries,
};

// The battle of the case being run, kept over the library's runs of one
// benchmark and made afresh for the next.
CBattle* BattleFor(Case c, int nUnitsPerSide)
{
    static std::unique_ptr<CBattle> s_pBattle;
    static Case s_case = Case::kStill;
    static int s_nUnits = 0;
    if (s_pBattle == nullptr || s_case != c || s_nUnits != nUnitsPerSide)
    {
        s_pBattle.reset();
        s_pBattle = std::make_unique<CBattle>(nUnitsPerSide);
        s_case = c;
        s_nUnits = nUnitsPerSide;
        if (!s_pBattle->IsReady())
            return s_pBattle.get();
        SetManualTime(1000);
        SRand(26);
        if (c == Case::kTenthMoves)
            s_pBattle->SetUpMovers(10);
        else if (c == Case::kThirdMoves)
            s_pBattle->SetUpMovers(3);
        else if (c == Case::kMineFields)
            s_pBattle->SetUpMineFields();
        if (c == Case::kBatteries)
        {
            // Its own first pass, with the batteries.
            SRand(41);
            s_pBattle->SetUpBatteries();
            s_pBattle->BatteryPass();
            return s_pBattle.get();
        }
        // The first pass grows the lists and works out every sight line.
        const bool bMineFields = c == Case::kMineFields;
        s_pBattle->Pass(c == Case::kTenthMoves || c == Case::kThirdMoves || bMineFields, c == Case::kSmoke,
                        bMineFields);
        s_pBattle->CollectSightPairs();
    }
    return s_pBattle.get();
}

// Times the bare sight lines and the passes in the same run, one round of
// each in turn, so that a change in the machine's load falls on both, and
// reports both and their ratio.
void RunCombatPass(benchmark::State& state, Case c)
{
    CBattle* pBattle = BattleFor(c, static_cast<int>(state.range(0)));
    if (!pBattle->IsReady())
    {
        state.SkipWithError("the demo equipment did not load");
        return;
    }
    CBattle& battle = *pBattle;
    const bool bMoving = c == Case::kTenthMoves || c == Case::kThirdMoves;
    const bool bMove = bMoving || c == Case::kMineFields;
    const bool bSmoke = c == Case::kSmoke;
    const bool bMineFields = c == Case::kMineFields;
    if (!IsManualTime())
        SetManualTime(1000);

    long long passes = 0;
    long long moved = 0;
    double bareNs = 0.0;
    double passNs = 0.0;
    for (auto _ : state)
    {
        if (bMoving)
        {
            battle.PutBackArrivedMovers();
            battle.CollectSightPairs();
        }
        const double t0 = ThreadNs();
        benchmark::DoNotOptimize(battle.SightLines());
        const double t1 = ThreadNs();
        battle.Pass(bMove, bSmoke, bMineFields);
        const double t2 = ThreadNs();
        bareNs += t1 - t0;
        passNs += t2 - t1;
        moved += battle.MovedLastPass();
        ++passes;
    }

    const double nsPerPass = passes > 0 ? passNs / static_cast<double>(passes) : 0.0;
    const double bareNsPerPass = passes > 0 ? bareNs / static_cast<double>(passes) : 0.0;
    state.counters["passes_per_s"] = nsPerPass > 0.0 ? 1e9 / nsPerPass : 0.0;
    state.counters["pass_ms"] = nsPerPass * 1e-6;
    state.counters["sight_lines_per_pass"] = static_cast<double>(battle.PairsPerPass());
    state.counters["moved_per_pass"] = passes > 0 ? static_cast<double>(moved) / static_cast<double>(passes) : 0.0;
    state.counters["pass_over_bare_sight"] = bareNsPerPass > 0.0 ? nsPerPass / bareNsPerPass : 0.0;
    double load[1] = {0.0};
    state.counters["load_average_1min"] = getloadavg(load, 1) == 1 ? load[0] : -1.0;
    state.counters["allocs_per_pass"] = battle.AllocationsPerPass();
}

// The battery case: the pass with the batteries against the bare sight
// lines of every pair, and the allocations of the passes that queued,
// fired and splashed nothing apart from the others.
void RunBatteryPass(benchmark::State& state)
{
    CBattle* pBattle = BattleFor(Case::kBatteries, static_cast<int>(state.range(0)));
    if (!pBattle->IsReady())
    {
        state.SkipWithError("the demo equipment did not load");
        return;
    }
    CBattle& battle = *pBattle;
    if (!IsManualTime())
        SetManualTime(1000);

    long long passes = 0;
    long long quietPasses = 0;
    long long quietAllocations = 0;
    double bareNs = 0.0;
    double passNs = 0.0;
    for (auto _ : state)
    {
        const double t0 = ThreadNs();
        benchmark::DoNotOptimize(battle.SightLines());
        const long long before = battle.FireState();
        const long long allocationsBefore = g_allocations.load();
        const double t1 = ThreadNs();
        battle.BatteryPass();
        const double t2 = ThreadNs();
        const long long allocations = g_allocations.load() - allocationsBefore;
        if (battle.FireState() == before)
        {
            ++quietPasses;
            quietAllocations += allocations;
        }
        bareNs += t1 - t0;
        passNs += t2 - t1;
        ++passes;
    }

    const double nsPerPass = passes > 0 ? passNs / static_cast<double>(passes) : 0.0;
    const double bareNsPerPass = passes > 0 ? bareNs / static_cast<double>(passes) : 0.0;
    state.counters["passes_per_s"] = nsPerPass > 0.0 ? 1e9 / nsPerPass : 0.0;
    state.counters["sight_lines_per_pass"] = static_cast<double>(battle.PairsPerPass());
    state.counters["pass_over_bare_sight"] = bareNsPerPass > 0.0 ? nsPerPass / bareNsPerPass : 0.0;
    double load[1] = {0.0};
    state.counters["load_average_1min"] = getloadavg(load, 1) == 1 ? load[0] : -1.0;
    state.counters["quiet_passes"] = static_cast<double>(quietPasses);
    state.counters["allocs_per_quiet_pass"] =
        quietPasses > 0 ? static_cast<double>(quietAllocations) / static_cast<double>(quietPasses) : 0.0;
}

void BM_DetectAndFire(benchmark::State& state) { RunCombatPass(state, Case::kStill); }
void BM_TenthMoveDetectAndFire(benchmark::State& state) { RunCombatPass(state, Case::kTenthMoves); }
void BM_ThirdMoveDetectAndFire(benchmark::State& state) { RunCombatPass(state, Case::kThirdMoves); }
void BM_DetectAndFireInSmoke(benchmark::State& state) { RunCombatPass(state, Case::kSmoke); }
void BM_MoveAcrossMineFieldsDetectAndFire(benchmark::State& state) { RunCombatPass(state, Case::kMineFields); }
void BM_MoveDetectFireAndShellWithBatteries(benchmark::State& state) { RunBatteryPass(state); }
}  // namespace

// Units per side.
BENCHMARK(BM_DetectAndFire)->Arg(50)->Arg(150)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenthMoveDetectAndFire)->Arg(50)->Arg(150)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThirdMoveDetectAndFire)->Arg(50)->Arg(150)->Arg(300)->Arg(600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectAndFireInSmoke)->Arg(150)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveAcrossMineFieldsDetectAndFire)->Arg(150)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveDetectFireAndShellWithBatteries)->Arg(150)->Unit(benchmark::kMillisecond);
