#pragma once
// The demo mission's forces, as the two unit files the scenario names:
// - "Friendly.unt": a company team in the west, facing east: the company
//   commander's tank, two tank platoons of four, a mechanised platoon of
//   four infantry carriers each with a rifle team and an anti-tank team
//   aboard, two mortar carriers, the observer vehicle, an ammunition
//   carrier, the engineer vehicle, the smoke generator, the mine layer and
//   the scout helicopter;
// - "Enemy.unt": a tank platoon and a mechanised platoon of the enemy's own
//   types (demo_equipment.h) holding the ridge saddle that the road
//   crosses, facing west, their teams aboard: those of the first two
//   carriers get out eight minutes into the battle, the others have a mount
//   time the clock never reaches and stay aboard; and a mine layer behind
//   the saddle that lays a field across the road ten minutes into the
//   battle, and two mortar carriers dug in behind it, which shell what the
//   enemy sees of the own side.
// Every unit is built from its vehicle type through the game's own unit
// constructor (weapons, capabilities, move delay and defilade time from the
// type), named, and placed on ground its class can stand on with a path of
// one node that holds a stop. The commander and the second and fourth
// tanks of each tank platoon are the exception: each has a route of two
// legs east over open ground, ending in a stop, and is released, so that
// they drive off when the clock starts (at speed 65 a tank covers a
// kilometre in about three game minutes, slower up the slopes). The first
// and third tanks of each platoon hold where they stand, on the own side's
// vehicle positions, and give the advance its base of fire. Carriers 33
// and 34 follow the southern tanks with their teams aboard, told at their
// first node to dismount on contact; Carrier 33's route ends in the
// chemical area, where its crew dons protection. A carrier and the teams
// aboard name each other. Tank 22 leads "2nd Tank" (demo_hierarchy.h): the
// first node of its route tells the platoon to form a line, so that when
// it gets there Tank 24 comes up abreast of it; Tanks 21 and 23, detached
// from the platoon, cover the move from their dug positions. The arrays
// are written through CUnitArray::Serialize.

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/VehicleCapability.h"
#include "demo_equipment.h"
#include "demo_helpmap.h"
#include "demo_terrain.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "platform/core/Core.h"
#include "units/CarriedUnit.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <cstring>
#include <vector>

namespace demo_units
{
const char* const kFriendlyFile = "Friendly.unt";
const char* const kEnemyFile = "Enemy.unt";
const char* const kFriendlyName = "Team Kedravin";
const char* const kEnemyName = "Saddle Detachment";

constexpr int kFriendlySide = 0;
constexpr int kEnemySide = 1;
// Each side's file is the first (and only) array of its kind.
constexpr int kArrayIndex = 0;

constexpr float kFacingEast = 1.5707964f;
constexpr float kFacingWest = -1.5707964f;

// The mover classes a placement must be able to stand on (wheels and
// tracks alike).
constexpr int kGroundMoverFlags = 0x3;

// No carrier: the unit is not a team aboard one.
constexpr int kOnFoot = -1;

// One unit of a side's table: its name, vehicle type and place; a team
// names the row of the carrier it rides in (whose place it shares).
struct Placement
{
    const char* name;
    int vehicle;
    float x;
    float y;
    int carrier;
};

using namespace demo_equipment;

// The company team: the commander just behind the centre, the 1st tank
// platoon north of the road, the 2nd south of it, the mechanised platoon
// between them, the mortars beside the ammunition carrier at the rear
// (within the 60 m an upload reaches), the observer forward on the road.
const Placement kFriendly[] = {
    {"Commander 66", kTank, 560.0f, 1640.0f, kOnFoot},
    {"Tank 11", kTank, 760.0f, 1730.0f, kOnFoot},
    {"Tank 12", kTank, 740.0f, 1780.0f, kOnFoot},
    {"Tank 13", kTank, 760.0f, 1830.0f, kOnFoot},
    {"Tank 14", kTank, 740.0f, 1880.0f, kOnFoot},
    {"Tank 21", kTank, 760.0f, 1520.0f, kOnFoot},
    {"Tank 22", kTank, 740.0f, 1470.0f, kOnFoot},
    {"Tank 23", kTank, 760.0f, 1420.0f, kOnFoot},
    {"Tank 24", kTank, 740.0f, 1370.0f, kOnFoot},
    {"Carrier 31", kInfantryCarrier, 640.0f, 1740.0f, kOnFoot},
    {"Carrier 32", kInfantryCarrier, 620.0f, 1790.0f, kOnFoot},
    {"Carrier 33", kInfantryCarrier, 640.0f, 1510.0f, kOnFoot},
    {"Carrier 34", kInfantryCarrier, 620.0f, 1460.0f, kOnFoot},
    {"Rifle Team 31", kRifleTeam, 0.0f, 0.0f, 9},
    {"AT Team 31", kAntiTankTeam, 0.0f, 0.0f, 9},
    {"Rifle Team 32", kRifleTeam, 0.0f, 0.0f, 10},
    {"AT Team 32", kAntiTankTeam, 0.0f, 0.0f, 10},
    {"Rifle Team 33", kRifleTeam, 0.0f, 0.0f, 11},
    {"AT Team 33", kAntiTankTeam, 0.0f, 0.0f, 11},
    {"Rifle Team 34", kRifleTeam, 0.0f, 0.0f, 12},
    {"AT Team 34", kAntiTankTeam, 0.0f, 0.0f, 12},
    {"Mortar 41", kMortarCarrier, 380.0f, 1560.0f, kOnFoot},
    {"Mortar 42", kMortarCarrier, 350.0f, 1660.0f, kOnFoot},
    {"Observer 19", kObserverVehicle, 880.0f, 1640.0f, kOnFoot},
    {"Ammunition 91", kAmmunitionCarrier, 360.0f, 1610.0f, kOnFoot},
    {"Engineer 51", kEngineerVehicle, 1760.0f, 1000.0f, kOnFoot},
    {"Smoke 61", kSmokeGenerator, 300.0f, 1600.0f, kOnFoot},
    {"Mine Layer 71", kMineLayer, 480.0f, 1380.0f, kOnFoot},
    {"Kite 81", kScoutHelicopter, 200.0f, 690.0f, kOnFoot},
};

// On the saddle where the road crosses the ridge: the tanks on the crest
// either side of the road, the carriers just behind them on the east slope.
const Placement kEnemy[] = {
    {"Enemy Tank 1", kEnemyTank, 2950.0f, 1700.0f, kOnFoot},
    {"Enemy Tank 2", kEnemyTank, 2960.0f, 1750.0f, kOnFoot},
    {"Enemy Tank 3", kEnemyTank, 2980.0f, 1860.0f, kOnFoot},
    {"Enemy Tank 4", kEnemyTank, 2990.0f, 1910.0f, kOnFoot},
    {"Enemy Carrier 1", kEnemyCarrier, 3040.0f, 1710.0f, kOnFoot},
    {"Enemy Carrier 2", kEnemyCarrier, 3050.0f, 1760.0f, kOnFoot},
    {"Enemy Carrier 3", kEnemyCarrier, 3070.0f, 1880.0f, kOnFoot},
    {"Enemy Carrier 4", kEnemyCarrier, 3080.0f, 1930.0f, kOnFoot},
    {"Enemy Rifle Team 1", kEnemyRifleTeam, 0.0f, 0.0f, 4},
    {"Enemy AT Team 1", kEnemyAntiTankTeam, 0.0f, 0.0f, 4},
    {"Enemy Rifle Team 2", kEnemyRifleTeam, 0.0f, 0.0f, 5},
    {"Enemy AT Team 2", kEnemyAntiTankTeam, 0.0f, 0.0f, 5},
    {"Enemy Rifle Team 3", kEnemyRifleTeam, 0.0f, 0.0f, 6},
    {"Enemy AT Team 3", kEnemyAntiTankTeam, 0.0f, 0.0f, 6},
    {"Enemy Rifle Team 4", kEnemyRifleTeam, 0.0f, 0.0f, 7},
    {"Enemy AT Team 4", kEnemyAntiTankTeam, 0.0f, 0.0f, 7},
    {"Enemy Mine Layer", kEnemyMineLayer, 3150.0f, 1850.0f, kOnFoot},
    {"Enemy Mortar 1", kEnemyMortarCarrier, 3250.0f, 1760.0f, kOnFoot},
    {"Enemy Mortar 2", kEnemyMortarCarrier, 3250.0f, 1840.0f, kOnFoot},
};

// The enemy mine layer's field: laid across the road west of the saddle
// once the battle is ten minutes old.
constexpr float kEnemyMinesX = 2800.0f;
constexpr float kEnemyMinesY = 1790.0f;
constexpr LONG kEnemyMinesSeconds = 600;

// A route of one unit of the friendly table, by name: two points east of
// it, the second a stop.
struct Route
{
    const char* name;
    float x1, y1;
    float x2, y2;
};

// Half of each tank platoon advances towards the ridge while the other
// half covers it from the dug positions; the commander follows the road
// behind them.
const Route kFriendlyRoutes[] = {
    {"Commander 66", 900.0f, 1660.0f, 1250.0f, 1730.0f},
    {"Tank 12", 1080.0f, 1790.0f, 1480.0f, 1810.0f},
    {"Tank 14", 1080.0f, 1890.0f, 1480.0f, 1910.0f},
    {"Tank 22", 1080.0f, 1460.0f, 1480.0f, 1450.0f},
    {"Tank 24", 1080.0f, 1360.0f, 1480.0f, 1350.0f},
};

// The lead of "2nd Tank" and the formation its route's first node gives
// the platoon; the platoon's tanks are rows 5 to 8.
const char* const kLineLead = "Tank 22";
constexpr int kLineNode = 1;
const char* const kLineFormation = "Line";
const char* const kLineFormationIcon = "Formation Line Red";
constexpr int kLinePlatoonFirst = 5;
constexpr int kLinePlatoonLast = 8;

// Whether the named unit is one of the tanks of that platoon.
inline bool IsInLinePlatoon(const char* name)
{
    for (int i = kLinePlatoonFirst; i <= kLinePlatoonLast; ++i)
    {
        if (std::strcmp(name, kFriendly[i].name) == 0)
            return true;
    }
    return false;
}

// The working vehicles' routes: the engineer drives north through the wire
// and the mine field beside their lane, breaching each; the smoke
// generator follows the road; the helicopter flies the valley over the
// lake and lands at its stop; the second mortar moves up and digs in again.
const Route kWorkRoutes[] = {
    {"Engineer 51", 1760.0f, 1100.0f, 1760.0f, 1480.0f},
    {"Smoke 61", 1000.0f, 1680.0f, 1500.0f, 1800.0f},
    {"Kite 81", 1250.0f, 760.0f, 2000.0f, 720.0f},
    {"Mortar 42", 430.0f, 1740.0f, 480.0f, 1780.0f},
};

// Two carriers of the mechanised platoon follow the southern tanks with
// their teams aboard; on reaching their first node they are told to
// dismount on contact, so that fire from the ridge puts their teams out.
const Route kCarrierRoutes[] = {
    {"Carrier 33", 900.0f, 1540.0f, 1300.0f, 1560.0f},
    {"Carrier 34", 900.0f, 1440.0f, 1300.0f, 1420.0f},
};

// The enemy carriers whose teams get out once the battle is eight minutes
// old; the others' teams stay aboard.
const char* const kEarlyDismountCarriers[] = {"Enemy Carrier 1", "Enemy Carrier 2"};
constexpr LONG kEnemyDismountSeconds = 480;

// Whether the named unit is one of the working vehicles with a route.
inline bool IsWorkRoute(const char* name)
{
    for (const Route& route : kWorkRoutes)
    {
        if (std::strcmp(name, route.name) == 0)
            return true;
    }
    return false;
}

inline const Route* FindRoute(const char* name);

// Whether the named unit is a tank of that platoon that holds its dug
// position, detached, while the others form the line.
inline bool IsLineCover(const char* name) { return IsInLinePlatoon(name) && FindRoute(name) == nullptr; }

// The route of the friendly unit of that name; null for a unit that holds.
inline const Route* FindRoute(const char* name)
{
    for (const Route& route : kWorkRoutes)
    {
        if (std::strcmp(name, route.name) == 0)
            return &route;
    }
    for (const Route& route : kFriendlyRoutes)
    {
        if (std::strcmp(name, route.name) == 0)
            return &route;
    }
    for (const Route& route : kCarrierRoutes)
    {
        if (std::strcmp(name, route.name) == 0)
            return &route;
    }
    return nullptr;
}

// The demo ground with its help map, for the placements' checks.
inline void LoadDemoGround(CKDRGameMap& map)
{
    map.SetElevationMap(demo_terrain::BuildDemoElevationMap().release());
    map.SetHelpMap(demo_helpmap::BuildDemoHelpMap().release());
}

// Fills the array from a table for a side; FALSE with the reason when a
// unit cannot be built as the table says (a database without the vehicle
// type, a place no ground mover can stand on, a carrier that is none).
inline BOOL BuildArray(CUnitArray& array, const Placement* rows, int count, int side, float heading,
                       CTimeSpan mountTime, CKDRDatabase& database, CKDRGameMap& map, CString& errorText)
{
    array.RemoveAll();
    array.m_nSide = side;
    for (int i = 0; i < count; ++i)
    {
        const Placement& row = rows[i];
        if (database.GetVehicle(row.vehicle) == nullptr)
        {
            errorText.Format("the vehicle type of %s is not in the database", row.name);
            return FALSE;
        }
        float x = row.x;
        float y = row.y;
        if (row.carrier != kOnFoot)
        {
            const CUnit* pCarrier = array.GetAt(row.carrier);
            if (pCarrier == nullptr || row.carrier >= i)
            {
                errorText.Format("%s names no carrier before it", row.name);
                return FALSE;
            }
            x = pCarrier->m_fX;
            y = pCarrier->m_fY;
        }
        if (map.IsPointBlocked(x, y, nullptr, kGroundMoverFlags, side, 0))
        {
            errorText.Format("%s stands where no ground mover can", row.name);
            return FALSE;
        }
        auto* pUnit = new CUnit(&database, row.vehicle);
        array.Add(pUnit);
        pUnit->m_strName = row.name;
        pUnit->SetSide(side);
        pUnit->AssignPath(x, y, &database, &map, FALSE, 0);
        pUnit->SetHeading(heading, &database);
        // The other sides' stops carry start times: these hold their ground.
        if (side != kFriendlySide)
            pUnit->m_pPath->GetAt(0)->SetStartTimeValue(CTimeSpan(START_TIME_NEVER));
        if (pUnit->m_pPath->GetSize() != 1 || !pUnit->m_pPath->GetAt(0)->HasStop())
        {
            errorText.Format("%s has no one-node path with a stop", row.name);
            return FALSE;
        }
    }
    // The teams go aboard their carriers, each naming the other.
    for (int i = 0; i < count; ++i)
    {
        if (rows[i].carrier == kOnFoot)
            continue;
        auto* pTeam = dynamic_cast<CUCapDismount*>(array.GetAt(i)->FindCapability(VCAP_DISMOUNT));
        auto* pCarrier =
            dynamic_cast<CUCapPersonnelCarrier*>(array.GetAt(rows[i].carrier)->FindCapability(VCAP_PERSONNEL_CARRIER));
        if (pTeam == nullptr || pCarrier == nullptr)
        {
            errorText.Format("%s cannot ride in %s", rows[i].name, rows[rows[i].carrier].name);
            return FALSE;
        }
        pTeam->m_nCarrierUnit = rows[i].carrier;
        pTeam->m_nCarrierArray = kArrayIndex;
        pTeam->m_nCarrierKind = side;
        pTeam->m_bDismounted = FALSE;
        pTeam->m_timeMount = mountTime;
        pCarrier->m_pPassengers->Add(new CCarriedUnit(i, kArrayIndex, side));
    }
    array.SetSide(side);
    return TRUE;
}

// Gives the named units their routes and releases them; FALSE with the
// reason when a unit is missing or a node or leg is on ground that stops
// ground movers.
inline BOOL GiveRoutes(CUnitArray& array, const Route* routes, int count, CKDRDatabase& database, CKDRGameMap& map,
                       CString& errorText)
{
    CElevationMap* pElevation = map.GetElevationMap();
    for (int r = 0; r < count; ++r)
    {
        const Route& route = routes[r];
        CUnit* pUnit = nullptr;
        for (int i = 0; i < array.GetSize() && pUnit == nullptr; ++i)
        {
            if (array.GetAt(i) != nullptr && array.GetAt(i)->m_strName == route.name)
                pUnit = array.GetAt(i);
        }
        if (pUnit == nullptr)
        {
            errorText.Format("no unit named %s to take a route", route.name);
            return FALSE;
        }
        CNodeArray path;
        path.AddNode(pUnit->m_fX, pUnit->m_fY);
        path.AddNode(route.x1, route.y1);
        path.AddNode(route.x2, route.y2);
        path.GetAt(2)->AddOrder(NORD_STOP);
        for (int n = 0; n < path.GetSize(); ++n)
        {
            const CNode* pNode = path.GetAt(n);
            int bx = 0;
            int by = 0;
            const BOOL bLegBlocked =
                n > 0 && pElevation != nullptr &&
                pElevation->FindBlockedPoint(static_cast<int>(path.GetAt(n - 1)->m_fX),
                                             static_cast<int>(path.GetAt(n - 1)->m_fY), static_cast<int>(pNode->m_fX),
                                             static_cast<int>(pNode->m_fY), &bx, &by);
            // Aircraft fly over ground that stops the others.
            if (!pUnit->IsAircraft() &&
                (bLegBlocked || map.IsPointBlocked(pNode->m_fX, pNode->m_fY, nullptr, kGroundMoverFlags, 0, 0)))
            {
                errorText.Format("the route of %s crosses ground no ground mover can", route.name);
                return FALSE;
            }
        }
        pUnit->SetPath(&path, &database);
        pUnit->ClearStop(&database, TRUE);
    }
    return TRUE;
}

// The carriers' routes, with the Dismount On Contact toggle at each
// route's first node.
inline BOOL GiveCarrierRoutes(CUnitArray& array, CKDRDatabase& database, CKDRGameMap& map, CString& errorText)
{
    if (!GiveRoutes(array, kCarrierRoutes, static_cast<int>(std::size(kCarrierRoutes)), database, map, errorText))
        return FALSE;
    for (int i = 0; i < array.GetSize(); ++i)
    {
        CUnit* pUnit = array.GetAt(i);
        bool bRouted = false;
        for (const Route& route : kCarrierRoutes)
            bRouted = bRouted || pUnit->m_strName == route.name;
        if (!bRouted)
            continue;
        auto* pToggle = new CNOrdToggleOrder;
        pToggle->SetToggle(UNIT_ORDER_DISMOUNT_ON_CONTACT, TRUE);
        pUnit->m_pPath->GetAt(1)->m_pOrders->Add(pToggle);
    }
    return TRUE;
}

// The Line formation order at the line lead's route node.
inline BOOL GiveLineFormation(CUnitArray& array, CString& errorText)
{
    for (int i = 0; i < array.GetSize(); ++i)
    {
        CUnit* pUnit = array.GetAt(i);
        if (pUnit == nullptr || pUnit->m_strName != kLineLead)
            continue;
        CNode* pNode = pUnit->m_pPath->GetAt(kLineNode);
        if (pNode == nullptr)
            break;
        auto* pLine = new CNOrdFormationOrder;
        pLine->m_strFormation = kLineFormation;
        pLine->m_strIcon = kLineFormationIcon;
        pNode->m_pOrders->Add(pLine);
        return TRUE;
    }
    errorText.Format("%s has no route to carry the line", kLineLead);
    return FALSE;
}

// The teams aboard the named carriers get out at that game time.
inline void SetDismountTimes(CUnitArray& array, const char* const* carriers, int count, CTimeSpan mountTime)
{
    for (int i = 0; i < array.GetSize(); ++i)
    {
        auto* pTeam = dynamic_cast<CUCapDismount*>(array.GetAt(i)->FindCapability(VCAP_DISMOUNT));
        const CUnit* pCarrier = pTeam != nullptr ? array.GetAt(pTeam->m_nCarrierUnit) : nullptr;
        for (int k = 0; pCarrier != nullptr && k < count; ++k)
        {
            if (pCarrier->m_strName == carriers[k])
                pTeam->m_timeMount = mountTime;
        }
    }
}

inline BOOL BuildFriendlyUnits(CUnitArray& array, CKDRDatabase& database, CKDRGameMap& map, CString& errorText)
{
    array.m_strFileName = kFriendlyFile;
    array.m_strName = kFriendlyName;
    return BuildArray(array, kFriendly, static_cast<int>(std::size(kFriendly)), kFriendlySide, kFacingEast,
                      CTimeSpan(0), database, map, errorText) &&
           GiveRoutes(array, kFriendlyRoutes, static_cast<int>(std::size(kFriendlyRoutes)), database, map,
                      errorText) &&
           GiveRoutes(array, kWorkRoutes, static_cast<int>(std::size(kWorkRoutes)), database, map, errorText) &&
           GiveCarrierRoutes(array, database, map, errorText) && GiveLineFormation(array, errorText);
}

inline BOOL BuildEnemyUnits(CUnitArray& array, CKDRDatabase& database, CKDRGameMap& map, CString& errorText)
{
    array.m_strFileName = kEnemyFile;
    array.m_strName = kEnemyName;
    if (!BuildArray(array, kEnemy, static_cast<int>(std::size(kEnemy)), kEnemySide, kFacingWest,
                    CTimeSpan(START_TIME_NEVER), database, map, errorText))
        return FALSE;
    SetDismountTimes(array, kEarlyDismountCarriers, static_cast<int>(std::size(kEarlyDismountCarriers)),
                     CTimeSpan(kEnemyDismountSeconds));
    for (int i = 0; i < array.GetSize(); ++i)
    {
        if (auto* pLayer = dynamic_cast<CUCapMineLayer*>(array.GetAt(i)->FindCapability(VCAP_MINE_LAYER)))
        {
            pLayer->m_fTargetX = kEnemyMinesX;
            pLayer->m_fTargetY = kEnemyMinesY;
            pLayer->m_timeDeploy = CTimeSpan(kEnemyMinesSeconds);
        }
    }
    return TRUE;
}
}  // namespace demo_units
