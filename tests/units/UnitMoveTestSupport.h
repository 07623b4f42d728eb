#pragma once
// What the movement, path and order tests share: a database of vehicle
// types with the speeds and capabilities the tests need, flat open ground
// with features of chosen speed factors, units placed on it with routes,
// and the hand-driven millisecond counter behind the game clock.

#include "UnitCapTestSupport.h"
#include "battlefield/BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "platform/core/Timer.h"
#include "units/Unit.h"

#include <initializer_list>
#include <memory>
#include <utility>

namespace movetest
{
// The vehicle types, by index.
enum VehicleType
{
    kTank,      // speed 40, sprint 60, time to move 5, to defilade 3, chemical value 50
    kTeam,      // a dismounted team, speed 40
    kJet,       // a fixed-wing aircraft (not VTOL), speed 40
    kSmoker,    // a tank that makes smoke, two releases
    kEmplacer,  // a gun that digs in
    kCarrier,   // a personnel carrier for two
    kTypeCount
};

constexpr float kSpeed = 40.0f;
constexpr float kSprint = 60.0f;
constexpr int kTimeToMove = 5;
constexpr int kTimeToDefilade = 3;
constexpr int kChemicalValue = 50;
constexpr short kGround = 1000;  // 100 m
constexpr int kMapSize = 2000;   // metres, both ways

inline CVehicle* MakeType(VehicleType type)
{
    CVehicle* pVehicle = nullptr;
    switch (type)
    {
    case kTeam: pVehicle = MakeVehicleWith({new CVCapDismount}); break;
    case kJet: pVehicle = MakeVehicleWith({new CVCapFixedWing}); break;
    case kSmoker:
    {
        auto* pSmoker = new CVCapSmoker;
        pSmoker->m_nNumberOfSmoke = 2;
        pVehicle = MakeVehicleWith({pSmoker});
        break;
    }
    case kEmplacer:
    {
        auto* pEmplace = new CVCapEmplace;
        pEmplace->m_nTimeToEmplace = 30;
        pEmplace->m_nTimeToDisplace = 20;
        pVehicle = MakeVehicleWith({pEmplace});
        break;
    }
    case kCarrier:
    {
        auto* pCarrier = new CVCapPersonnelCarrier;
        pCarrier->m_nNumberOfDismounts = 2;
        pVehicle = MakeVehicleWith({pCarrier});
        break;
    }
    default: pVehicle = MakeVehicleWith({}); break;
    }
    pVehicle->m_strName = "Type";
    pVehicle->GetChassisMounts()->Add(MakeMount(0, 30));
    pVehicle->GetKillPercentages()->Add(new CWeaponPercentages(50, 0, 0, 0, 0));
    pVehicle->m_fSpeed = kSpeed;
    pVehicle->m_fSprint = kSprint;
    pVehicle->m_nTimeToMove = kTimeToMove;
    pVehicle->m_nTimeToDefilade = kTimeToDefilade;
    pVehicle->m_nChemicalValue = kChemicalValue;
    return pVehicle;
}

// The database, the ground and the clock of one test. The clock runs at
// compression 1 on the hand-driven counter, started once the test asks.
class CMoveWorld
{
public:
    CMoveWorld()
    {
        auto* pWeapons = new CWeaponArray;
        pWeapons->Add(MakeWeapon("Gun", 5));
        auto* pVehicles = new CVehicleArray;
        for (int i = 0; i < kTypeCount; ++i)
            pVehicles->Add(MakeType(static_cast<VehicleType>(i)));
        m_db.Load(pWeapons, pVehicles, true);
        auto* pElevation = new CElevationMap;
        bftest::MakeFlat(*pElevation, kMapSize, kMapSize, kGround);
        m_map.SetElevationMap(pElevation);
        SetManualTime(100000);
    }
    ~CMoveWorld() { UseRealTime(); }
    CMoveWorld(const CMoveWorld&) = delete;
    CMoveWorld& operator=(const CMoveWorld&) = delete;

    CKDRDatabase* Db() { return m_db.Db(); }
    CVehicle* Vehicle(int i) { return m_db.Vehicle(i); }
    CKDRGameMap* Map() { return &m_map; }
    CTestShell& App() { return m_db.App().App(); }
    CDatabaseTestApp& TestApp() { return m_db.App(); }
    CElevationMap* Elevation() { return m_map.GetElevationMap(); }

    // A feature of that speed factor over a box of map metres.
    void AddGround(float fFactor, int left, int bottom, int right, int top)
    {
        const int nType = Elevation()->GetTerrain()->AddType(bftest::MakeType("ground", fFactor));
        Elevation()->GetTerrain()->AddFeature(new CTerrain(nType, bftest::Box(left, bottom, right, top)));
    }

    // Starts the game clock at compression fRate; the units' clocks start
    // with it.
    DWORD StartClock(float fRate = 1.0f)
    {
        App().GetGameClock()->SetRate(fRate);
        return App().StartClock();
    }

    // A unit of the type standing at (x, y), halted on its one stopped
    // node as it is built, on side nSide.
    std::unique_ptr<CUnit> MakeUnit(VehicleType type, float x, float y, int nSide = 0)
    {
        auto pUnit = std::make_unique<CUnit>(Db(), type);
        pUnit->SetSide(nSide);
        pUnit->AssignPath(x, y, Db(), Map(), FALSE, 0);
        return pUnit;
    }

    // The unit's path becomes its position and then the points, the last
    // one a stop; the unit is released at once and its clock starts now.
    void GiveRoute(CUnit& unit, std::initializer_list<std::pair<float, float>> points, DWORD dwTick)
    {
        CNodeArray route;
        route.AddNode(unit.m_fX, unit.m_fY);
        for (const auto& [x, y] : points)
            route.AddNode(x, y);
        route.GetAt(route.GetSize() - 1)->AddOrder(NORD_STOP);
        unit.SetPath(&route, Db());
        unit.m_bStopped = FALSE;
        unit.m_nMoveDelay = 0;
        unit.StartClock(dwTick, Db());
    }

    // Lets the counter run on by nMs and takes one move step.
    DWORD Step(CUnit& unit, DWORD dwMs, DWORD* pEvents = nullptr, BOOL bSelected = FALSE, BOOL* pArrived = nullptr,
               CKDRObstacles* pObstacles = nullptr)
    {
        AdvanceManualTime(dwMs);
        BOOL bArrived = FALSE;
        DWORD dwEvents = 0;
        const DWORD dwResult = unit.MoveStep(Map(), Db(), pObstacles, nullptr, bSelected, bArrived, dwEvents, 0, 0, 0);
        if (pEvents != nullptr)
            *pEvents = dwEvents;
        if (pArrived != nullptr)
            *pArrived = bArrived;
        return dwResult;
    }

private:
    CUnitTestDatabase m_db;
    CKDRGameMap m_map;
};
}  // namespace movetest
