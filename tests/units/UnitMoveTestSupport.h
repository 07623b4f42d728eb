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
#include "battlefield/KDRObstacles.h"
#include "shell/MissionService.h"
#include "units/Unit.h"

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

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
    kBreacher,  // a plough: breach speed 20, lanes 8 m wide, mines and wire
    kEngineer,  // lanes 80 x 8 m in 60 s, two breaches, mines and wire
    kBurstSmoker,   // three bursts
    kStreamSmoker,  // a release every 30 s, ten smokes
    kMineLayer,     // 90 s; 100 (flag set) to 500 m; fields 200 x 40 m, density 60; two fields
    kHelicopter,    // 60 m, sprint 90 m, lands when stopped
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
    case kBreacher:
    {
        auto* pPlough = new CVCapBreacher;
        pPlough->m_fBreachSpeed = 20.0f;
        pPlough->m_nBreachWidth = 8;
        pPlough->m_nObstacleTypes = OBSTACLE_MINES | OBSTACLE_WIRE;
        pVehicle = MakeVehicleWith({pPlough});
        break;
    }
    case kEngineer:
    {
        auto* pEngineer = new CVCapEngineer;
        pEngineer->m_nBreachLength = 80;
        pEngineer->m_nBreachWidth = 8;
        pEngineer->m_nTimeToBreach = 60;
        pEngineer->m_nNumberOfBreaches = 2;
        pEngineer->m_nObstacleTypes = OBSTACLE_MINES | OBSTACLE_WIRE;
        pEngineer->m_strBreachSound = "Breach";
        pVehicle = MakeVehicleWith({pEngineer});
        break;
    }
    case kBurstSmoker:
    case kStreamSmoker:
    {
        auto* pSmoker = new CVCapSmoker;
        pSmoker->m_fRadius = 60.0f;
        pSmoker->m_nTimeToLive = 240;
        pSmoker->m_nPercentIR = 70;
        pSmoker->m_bBurstRelease = type == kBurstSmoker;
        pSmoker->m_nNumberOfSmoke = type == kBurstSmoker ? 3 : 10;
        pSmoker->m_nTimeToRelease = type == kBurstSmoker ? 0 : 30;
        pVehicle = MakeVehicleWith({pSmoker});
        break;
    }
    case kMineLayer:
    {
        auto* pLayer = new CVCapMineLayer;
        pLayer->m_nTimeToDeploy = 90;
        pLayer->m_bUseMinRange = TRUE;
        pLayer->m_nSpare = 100;
        pLayer->m_nMaxRange = 500;
        pLayer->m_nLength = 200;
        pLayer->m_nWidth = 40;
        pLayer->m_nDensity = 60;
        pLayer->m_nNumberOfMines = 2;
        pVehicle = MakeVehicleWith({pLayer});
        break;
    }
    case kHelicopter:
    {
        auto* pRotor = new CVCapRotaryWing;
        pRotor->m_nAltitude = 60;
        pRotor->m_nSprintAltitude = 90;
        pRotor->m_bLandWhenStopped = TRUE;
        pVehicle = MakeVehicleWith({pRotor});
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

// The mission's side of the capabilities while it lives: the obstacles
// of the test (a real component, minefields placed in it as the document
// places them) and the clouds asked for, noted (the clouds themselves are
// the battlefield's and are tested there).
class CTestMission : public CMissionService
{
public:
    struct Cloud
    {
        float x, y, fRadius;
        int nDuration, nStrength;
    };

    explicit CTestMission(CKDRObstacles* pObstacles, CKDRGameMap* pMap = nullptr)
        : m_pObstacles(pObstacles), m_pMap(pMap), m_pPrevious(SetMissionService(this))
    {
    }
    ~CTestMission() override { SetMissionService(m_pPrevious); }
    CTestMission(const CTestMission&) = delete;
    CTestMission& operator=(const CTestMission&) = delete;

    CKDRObstacles* GetMissionObstacles() override { return m_pObstacles; }
    int AddSmokeAndSend(float fX, float fY, float fRadius, int nDuration, int nStrength) override
    {
        m_clouds.push_back({fX, fY, fRadius, nDuration, nStrength});
        return 1;
    }
    int PlaceObstacleAndSend(float fWidth, float fLength, int nDensity, float fX, float fY, float fAttitude,
                             int nSide, int, int) override
    {
        int nIndex = kUnset;
        int nFoundSide = kUnset;
        return m_pObstacles != nullptr ? m_pObstacles->PlaceObstacle(fWidth, fLength, nDensity, fX, fY, fAttitude,
                                                                     nSide, m_pMap, nIndex, nFoundSide)
                                       : 0;
    }

    std::vector<Cloud> m_clouds;

private:
    CKDRObstacles* m_pObstacles;
    CKDRGameMap* m_pMap;
    CMissionService* m_pPrevious;
};

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
