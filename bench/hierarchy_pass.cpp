// A whole pass of the 2 x 150 tank battle of combat_pass.cpp with each side
// organised: platoons of four under companies of three (the six tanks
// left over stand directly under the battalion), every platoon on a path
// of three legs towards the other side. Half the platoons drive it in
// Wedge, whose placement gives their tanks conditional starts at the leg
// ends; the other half keep no formation and follow their lead tank, each
// tank on the path from its own place. Every third platoon's second node carries a
// Sprint toggle, every fifth's third node a Hold Fire toggle.
//
// An iteration is one pass on a hand-driven counter: the movement pass
// (each unit's step and events, the conditional starts they meet, every
// platoon's standing orders, the node formations of the platoons that
// follow a lead), then the detection sweep and the direct-fire pass. The
// reference, timed in the same run one round of each in turn, is the same
// pass over a twin battle without hierarchies whose units were given the
// very paths the platoons handed to theirs. Both are timed in the thread's
// processor time. The pass with hierarchies should cost at most 1.10 times
// the reference and, while no lead path changes, allocate nothing after
// its first run; allocations per pass of both and the machine's load
// average are reported beside the ratio.
//
// Between iterations every unit is made whole and ready again (alive,
// unsuppressed, loaded and ready) and so is every element's mark, so each
// pass fires as the first did and no platoon loses its leader for good.
#include "AllocationCount.h"
#include "BattleUpkeep.h"

#include "../tools/demo_equipment.h"
#include "../tools/demo_orders.h"
#include "../tools/demo_terrain.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyCompany.h"
#include "hierarchy/HierarchyElement.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Core.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "platform/core/Unset.h"
#include "shell/HeadlessShell.h"
#include "units/KDRUnits.h"
#include "units/UCapTurret.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
constexpr int kUnitsPerSide = 150;
constexpr int kTankType = 0;  // the demo's main battle tank: a turret and kill tables
constexpr int kPlatoonSize = 4;
constexpr int kPlatoonsPerCompany = 3;
constexpr float kMapWidth = 4000.0f;
constexpr float kMapHeight = 3000.0f;
constexpr DWORD kSprint = 0x8;
constexpr DWORD kHoldFire = 0x2;

// A unit, the weapon list of its turret and its element (none in the
// reference), found once: the upkeep between passes is then only stores.
struct SReadyUnit
{
    CUnit* pUnit;
    CUnitWeaponArray* pTurretWeapons;
    CHierarchyElement* pElement;
};

void MakeReady(const SReadyUnit& ready)
{
    CUnit& unit = *ready.pUnit;
    unit.m_bDestroyed = FALSE;
    unit.m_nSuppression = 0;
    unit.m_bHoldFire = FALSE;
    MakeReady(unit.m_pWeapons);
    MakeReady(ready.pTurretWeapons);
    if (ready.pElement != nullptr)
        ready.pElement->m_bDestroyed = FALSE;
}

CNodeOrder* NewToggle(DWORD dwToggle)
{
    auto* pToggle = new CNOrdToggleOrder;
    pToggle->m_dwToggle = dwToggle;
    pToggle->m_bOn = TRUE;
    return pToggle;
}

// The shared ground and equipment, and the shell whose game clock runs.
class CGround
{
public:
    CGround()
    {
        if (!WriteAndLoadDemoLists("kdr-hierarchy", m_dir, m_db))
            return;
        m_map.SetElevationMap(demo_terrain::BuildDemoElevationMap().release());
        m_bReady = true;
    }
    ~CGround()
    {
        std::error_code ec;
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir, ec);
    }
    CGround(const CGround&) = delete;
    CGround& operator=(const CGround&) = delete;

    std::filesystem::path m_dir;
    CHeadlessShell m_shell;
    CKDRDatabase m_db;
    CKDRGameMap m_map;
    bool m_bReady = false;
};

// One platoon's place and path: its four tanks stand in a loose row
// across the way they go.
struct SPlatoonPlan
{
    float x, y;
    std::vector<float> pathX, pathY;
};

class CBattle
{
public:
    // The twin battles are drawn from the same plans.
    CBattle(CGround& ground, const std::vector<SPlatoonPlan> (&plans)[2], const std::vector<float> (&loose)[2])
        : m_ground(ground)
    {
        m_units.m_pOwnUnits = new CUnitArray;
        m_units.m_bOwnUnits = TRUE;
        m_units.m_pOpposingArrays = new TypedObArray<CUnitArray>;
        m_units.m_pOpposingArrays->Add(new CUnitArray);
        m_units.m_bOpposingUnits = TRUE;
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            CUnitArray* pArray = Array(nSide);
            const float fHeading = nSide == 0 ? 1.5708f : -1.5708f;
            for (const SPlatoonPlan& plan : plans[nSide])
            {
                for (int k = 0; k < kPlatoonSize; ++k)
                    pArray->Add(NewTank(nSide, plan.x, plan.y + 40.0f * static_cast<float>(k), fHeading));
            }
            for (size_t k = 0; k + 1 < loose[nSide].size(); k += 2)
                pArray->Add(NewTank(nSide, loose[nSide][k], loose[nSide][k + 1], fHeading));
        }
    }
    CBattle(const CBattle&) = delete;
    CBattle& operator=(const CBattle&) = delete;

    CUnitArray* Array(int nSide) { return nSide == 0 ? m_units.m_pOwnUnits : m_units.m_pOpposingArrays->GetAt(0); }

    // Each side's battalion: companies of three platoons of four, the
    // loose tanks directly under it. Even platoons take Wedge, odd ones
    // follow their lead; both hand their paths to their units.
    void Organise(const std::vector<SPlatoonPlan> (&plans)[2])
    {
        auto* pTemplates = new CFormationTemplateArray;
        demo_orders::BuildTemplates(*pTemplates);
        m_units.m_pFormations = pTemplates;
        m_units.m_bFormations = TRUE;
        CKDRDatabase* pDb = &m_ground.m_db;
        CKDRGameMap* pMap = &m_ground.m_map;
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            auto* pBattalion = new CHierarchyArray;
            pBattalion->m_nSide = nSide;
            pBattalion->m_strName = nSide == 0 ? "Blue" : "Red";
            m_units.m_pHierarchy[nSide] = pBattalion;
            m_units.m_bHierarchy[nSide] = TRUE;
            CHierarchyCompany* pCompany = nullptr;
            int nUnit = 0;
            for (size_t p = 0; p < plans[nSide].size(); ++p)
            {
                if (p % kPlatoonsPerCompany == 0)
                {
                    pCompany = new CHierarchyCompany;
                    pCompany->m_strName.Format("Company %d-%d", nSide, static_cast<int>(p) / kPlatoonsPerCompany);
                    pCompany->m_nSide = nSide;
                    pCompany->m_bActive = TRUE;
                    pBattalion->Add(pCompany);
                }
                auto* pPlatoon = new CHierarchyPlatoon;
                pPlatoon->m_strName.Format("Platoon %d-%d", nSide, static_cast<int>(p));
                pPlatoon->m_nSide = nSide;
                pPlatoon->m_bActive = TRUE;
                for (int k = 0; k < kPlatoonSize; ++k)
                    pPlatoon->Add(NewElement(nSide, nUnit + k, k));
                pCompany->Add(pPlatoon);
                const SPlatoonPlan& plan = plans[nSide][p];
                CNodeArray path;
                for (size_t n = 0; n < plan.pathX.size(); ++n)
                    path.AddNode(plan.pathX[n], plan.pathY[n]);
                if (p % 3 == 0)
                    path.GetAt(1)->m_pOrders->Add(NewToggle(kSprint));
                if (p % 5 == 0)
                    path.GetAt(2)->m_pOrders->Add(NewToggle(kHoldFire));
                pPlatoon->m_pPath->RemoveAll();
                pPlatoon->m_pPath->AppendFrom(path);
                if (p % 2 == 0)
                {
                    pPlatoon->SetFormationByName("Wedge", &m_units, pMap, pDb);
                }
                else
                {
                    // Each tank, the lead too, takes the path from its own
                    // place; the platoon follows its lead's nodes.
                    pPlatoon->ExecutePath(&m_units, pMap, pDb, kUnsetFloat, kUnsetFloat, FALSE);
                }
                nUnit += kPlatoonSize;
            }
            for (; nUnit < Array(nSide)->GetSize(); ++nUnit)
                pBattalion->Add(NewElement(nSide, nUnit, kUnset));
        }
    }

    // The units take the paths and states of the twin's units.
    void TakePathsOf(CBattle& twin)
    {
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            CUnitArray* pOwn = Array(nSide);
            CUnitArray* pTwin = twin.Array(nSide);
            for (int i = 0; i < pOwn->GetSize() && i < pTwin->GetSize(); ++i)
            {
                CUnit* pUnit = pOwn->GetAt(i);
                const CUnit* pOther = pTwin->GetAt(i);
                pUnit->m_pPath->RemoveAll();
                pUnit->m_pPath->AppendFrom(*pOther->m_pPath);
                pUnit->m_bStopped = pOther->m_bStopped;
                pUnit->m_fHeading = pOther->m_fHeading;
            }
        }
    }

    // The clock runs for every unit from now on.
    void Start(DWORD dwTick)
    {
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            CUnitArray* pArray = Array(nSide);
            for (int i = 0; i < pArray->GetSize(); ++i)
            {
                CUnit* pUnit = pArray->GetAt(i);
                pUnit->m_nMoveDelay = 0;
                pUnit->StartClock(dwTick, &m_ground.m_db);
                auto* pTurret = dynamic_cast<CUCapTurret*>(pUnit->FindCapability(VCAP_TURRET));
                m_ready.push_back({pUnit, pTurret != nullptr ? pTurret->GetWeapons() : nullptr, ElementOf(nSide, i)});
            }
        }
    }

    void Pass()
    {
        for (const SReadyUnit& ready : m_ready)
            MakeReady(ready);
        m_units.MoveAll(&m_ground.m_map, &m_ground.m_db, nullptr, nullptr, kUnset, kUnset, kUnset, nullptr);
        CUnitRefArray* pFirst = nullptr;
        CUnitRefArray* pSecond = nullptr;
        m_units.ResetContactLists(pFirst, pSecond);
        m_units.DetectAll(&m_ground.m_map, &m_ground.m_db, nullptr, 1.0f);
        m_units.DirectFirePass(&m_ground.m_map, &m_ground.m_db, nullptr, nullptr);
    }

    // What the set-up gave: units with a path that leads on, conditional
    // starts in the platoons' standing orders.
    int CountMoving() const
    {
        int n = 0;
        for (const SReadyUnit& ready : m_ready)
            n += ready.pUnit->m_pPath->GetSize() > 1 ? 1 : 0;
        return n;
    }

private:
    CUnit* NewTank(int nSide, float x, float y, float fHeading)
    {
        CKDRDatabase* pDb = &m_ground.m_db;
        auto* pUnit = new CUnit;
        pUnit->m_nVehicle = kTankType;
        pUnit->m_pWeapons->BuildFromVehicle(kTankType, pDb, FALSE);
        pUnit->m_pCapabilities->BuildFromVehicle(pDb->GetVehicle(kTankType), pDb);
        pUnit->SetSide(nSide);
        pUnit->m_fX = x;
        pUnit->m_fY = y;
        pUnit->m_fHeading = fHeading;
        pUnit->m_bStopped = TRUE;
        pUnit->m_pPath->ResetToPoint(x, y, FALSE);
        return pUnit;
    }

    CHierarchyElement* NewElement(int nSide, int nUnit, int nIndex)
    {
        auto* pElement = new CHierarchyElement;
        pElement->m_nUnit = nUnit;
        pElement->m_nArray = 0;
        pElement->m_strName.Format("Tank %d-%d", nSide, nUnit);
        pElement->m_nIndex = nIndex;
        pElement->m_bPlatoonLeader = nIndex >= 0;
        pElement->m_bLeader = nIndex == 0;
        m_elements[nSide].resize(static_cast<size_t>(std::max(nUnit + 1, static_cast<int>(m_elements[nSide].size()))));
        m_elements[nSide][static_cast<size_t>(nUnit)] = pElement;
        return pElement;
    }

    CHierarchyElement* ElementOf(int nSide, int nUnit) const
    {
        const auto& elements = m_elements[nSide];
        return static_cast<size_t>(nUnit) < elements.size() ? elements[static_cast<size_t>(nUnit)] : nullptr;
    }

    CGround& m_ground;
    CKDRUnits m_units;
    std::vector<SReadyUnit> m_ready;
    std::vector<CHierarchyElement*> m_elements[2];
};

// Processor time of this thread, in nanoseconds.
double ThreadNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

float Clamp(float v, float fMax) { return std::min(std::max(v, 10.0f), fMax - 10.0f); }

// The own side in the west third heading east, the other in the east third
// heading west, in loose rows as in the combat pass; each platoon's path
// goes three legs of 300 m towards the other side, the middle one slanting.
struct SPlans
{
    std::vector<SPlatoonPlan> platoons[2];
    std::vector<float> loose[2];

    SPlans()
    {
        std::mt19937 rng(26);
        std::uniform_real_distribution<float> west(700.0f, 1500.0f);
        std::uniform_real_distribution<float> east(2500.0f, 3300.0f);
        std::uniform_real_distribution<float> north(600.0f, 2280.0f);
        const int nPlatoons = kUnitsPerSide / (kPlatoonSize * kPlatoonsPerCompany) * kPlatoonsPerCompany;
        for (int nSide = 0; nSide < 2; ++nSide)
        {
            const float fAhead = nSide == 0 ? 300.0f : -300.0f;
            for (int p = 0; p < nPlatoons; ++p)
            {
                SPlatoonPlan plan;
                plan.x = nSide == 0 ? west(rng) : east(rng);
                plan.y = north(rng);
                const float fSlant = (p % 2 == 0 ? 1.0f : -1.0f) * 100.0f;
                const float dx[] = {0.0f, fAhead, 2.0f * fAhead, 3.0f * fAhead};
                const float dy[] = {0.0f, 0.0f, fSlant, fSlant};
                for (int n = 0; n < 4; ++n)
                {
                    plan.pathX.push_back(Clamp(plan.x + dx[n], kMapWidth));
                    plan.pathY.push_back(Clamp(plan.y + dy[n], kMapHeight));
                }
                platoons[nSide].push_back(plan);
            }
            for (int k = nPlatoons * kPlatoonSize; k < kUnitsPerSide; ++k)
            {
                loose[nSide].push_back(nSide == 0 ? west(rng) : east(rng));
                loose[nSide].push_back(north(rng));
            }
        }
    }
};

struct SWorld
{
    CGround ground;
    SPlans plans;
    std::unique_ptr<CBattle> pOrganised;
    std::unique_ptr<CBattle> pReference;
    bool bReady = false;

    SWorld()
    {
        if (!ground.m_bReady)
            return;
        SetManualTime(1000);
        SRand(26);
        // Out of deployment first, so the formations send the tanks on
        // their way rather than putting them down at their places.
        const DWORD dwTick = ground.m_shell.StartClock();
        pOrganised = std::make_unique<CBattle>(ground, plans.platoons, plans.loose);
        pOrganised->Organise(plans.platoons);
        pReference = std::make_unique<CBattle>(ground, plans.platoons, plans.loose);
        pReference->TakePathsOf(*pOrganised);
        pOrganised->Start(dwTick);
        pReference->Start(dwTick);
        bReady = pOrganised->CountMoving() > kUnitsPerSide;
    }
};

SWorld& World()
{
    static SWorld world;
    return world;
}

void BM_HierarchyPass(benchmark::State& state)
{
    SWorld& world = World();
    if (!world.bReady)
    {
        state.SkipWithError("the demo equipment did not load or the platoons did not move off");
        return;
    }
    CBattle& organised = *world.pOrganised;
    CBattle& reference = *world.pReference;
    SetManualTime(1000);
    SRand(26);
    // The first passes grow the lists.
    AdvanceManualTime(100);
    reference.Pass();
    organised.Pass();

    long long passes = 0;
    double referenceNs = 0.0;
    double organisedNs = 0.0;
    long long referenceAllocations = 0;
    long long organisedAllocations = 0;
    for (auto _ : state)
    {
        AdvanceManualTime(100);
        const long long a0 = g_allocations.load();
        const double t0 = ThreadNs();
        reference.Pass();
        const double t1 = ThreadNs();
        const long long a1 = g_allocations.load();
        organised.Pass();
        const double t2 = ThreadNs();
        const long long a2 = g_allocations.load();
        referenceNs += t1 - t0;
        organisedNs += t2 - t1;
        referenceAllocations += a1 - a0;
        organisedAllocations += a2 - a1;
        ++passes;
    }
    UseRealTime();

    const double n = passes > 0 ? static_cast<double>(passes) : 1.0;
    const double nsPerPass = organisedNs / n;
    const double referenceNsPerPass = referenceNs / n;
    state.counters["passes_per_s"] = nsPerPass > 0.0 ? 1e9 / nsPerPass : 0.0;
    state.counters["reference_passes_per_s"] = referenceNsPerPass > 0.0 ? 1e9 / referenceNsPerPass : 0.0;
    state.counters["pass_over_reference"] = referenceNsPerPass > 0.0 ? nsPerPass / referenceNsPerPass : 0.0;
    state.counters["allocs_per_pass"] = static_cast<double>(organisedAllocations) / n;
    state.counters["reference_allocs_per_pass"] = static_cast<double>(referenceAllocations) / n;
    double load[1] = {0.0};
    state.counters["load_average_1min"] = getloadavg(load, 1) == 1 ? load[0] : -1.0;
}
}  // namespace

BENCHMARK(BM_HierarchyPass)->Unit(benchmark::kMillisecond);
