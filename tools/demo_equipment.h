#pragma once
// The demo mission's equipment: a weapon list ("demo.wep") and a vehicle
// list ("demo.veh") of our own invented types, written through the lists'
// own Serialize. Weapons are named by calibre and kind; ranges are stored
// in tens of metres and view ranges too (a 3000 m gun stores 300). Every
// vehicle carries a kill record for every weapon, in weapon-list order.
// Each weapon's shot sound and each type's wreck sound is named after it
// (demo_sounds.h).
// The enemy fields types of its own: twins of the own tank, carrier and
// teams, alike in every value but their names and their pictures, which
// wear the enemy's colours and carry the piece flag that gives them the
// enemy's frame in the symbol style. The own types come first in the list,
// so their indices are those of a list without the enemy's.
// The types' capabilities and the list's indirect-fire munitions are in
// demo_capabilities.h. Every graphic the lists name is drawn into the piece
// array "Demo.pca" by demo_pieces.h.

#include "database/KillPercentage.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "database/VehicleWeapon.h"
#include "database/Weapon.h"
#include "database/WeaponCapability.h"
#include "platform/core/Core.h"
#include "demo_sounds.h"

namespace demo_equipment
{
const char* const kWeaponFile = "demo.wep";
const char* const kVehicleFile = "demo.veh";

// Weapon indices of the list, in its order.
enum Weapon
{
    kGun120,
    kMissile130,
    kCannon30,
    kHeavyMg,
    kMg,
    kRifle,
    kRecoilless84,
    kWeaponCount
};

struct WeaponRow
{
    const char* name;
    int range;  // tens of metres
    int penetration;
    int timeToFire;
    int roundsPerFire;
    int magnification;
    int timeToReload;
    int roundsToReload;
};

const WeaponRow kWeapons[kWeaponCount] = {
    {"120mm smooth bore gun", 300, 9, 8, 1, 10, 6, 1}, {"130mm anti-tank missile", 400, 10, 20, 1, 12, 30, 1},
    {"30mm autocannon", 200, 4, 4, 3, 8, 10, 3},       {"12.7mm heavy machine gun", 180, 2, 3, 10, 4, 8, 10},
    {"7.62mm machine gun", 110, 1, 2, 20, 1, 6, 20},   {"5.56mm rifle", 50, 0, 2, 3, 1, 4, 3},
    {"84mm recoilless rifle", 70, 6, 12, 1, 3, 15, 1},
};

inline CWeaponArray* BuildWeapons()
{
    auto* pWeapons = new CWeaponArray;
    pWeapons->m_strFileName = kWeaponFile;
    for (const WeaponRow& row : kWeapons)
    {
        auto* pWeapon = new CWeapon;
        pWeapon->m_strName = row.name;
        pWeapon->m_nRange = row.range;
        pWeapon->m_nPenetration = row.penetration;
        pWeapon->m_nTimeToFire = row.timeToFire;
        pWeapon->m_nRoundsPerFire = row.roundsPerFire;
        pWeapon->m_nMagnification = row.magnification;
        pWeapon->m_nTimeToReload = row.timeToReload;
        pWeapon->m_nRoundsToReload = row.roundsToReload;
        pWeapon->m_strWeaponSound = demo_sounds::WeaponSoundName(row.name);
        pWeapons->Add(pWeapon);
    }
    auto* pGunFlight = new CWCapTimeOfFlight;
    pGunFlight->m_nSpeed = 1650;
    pWeapons->GetAt(kGun120)->GetAttributes()->Add(pGunFlight);

    auto* pMissileFlight = new CWCapTimeOfFlight;
    pMissileFlight->m_nSpeed = 200;
    pMissileFlight->m_bSeek = TRUE;
    auto* pMissileMinimum = new CWCapMinRange;
    pMissileMinimum->m_nMinRange = 65;
    pWeapons->GetAt(kMissile130)->GetAttributes()->Add(pMissileFlight);
    pWeapons->GetAt(kMissile130)->GetAttributes()->Add(pMissileMinimum);

    auto* pAirDefence = new CWCapADA;
    pAirDefence->m_nRotaryWingBonus = 15;
    pAirDefence->m_nFixedWingBonus = 5;
    pWeapons->GetAt(kHeavyMg)->GetAttributes()->Add(pAirDefence);

    auto* pRecoillessMinimum = new CWCapMinRange;
    pRecoillessMinimum->m_nMinRange = 20;
    pWeapons->GetAt(kRecoilless84)->GetAttributes()->Add(pRecoillessMinimum);
    return pWeapons;
}

struct MountRow
{
    int weapon;
    int ammo;
    int percentIR;
    int percentNV;
    int suppressionRadius;
};

struct Kill
{
    int front, back, right, left, top;
};

struct VehicleRow
{
    const char* name;
    float speed, sprint, reverse;
    int turnSpeed, turnRadius, viewRange;  // view range in tens of metres
    int timeToMove;
    float height, width, length;
    int weight, timeToDefilade;
    int target, threat, protection, pgm, dpicm, he, nuclear, chemical;
    int roleMask;
    int mountCount;
    MountRow mounts[3];
    Kill kills[kWeaponCount];
};

// Kill percentages by weapon, in weapon-list order: 120mm gun, 130mm
// missile, 30mm cannon, 12.7mm, 7.62mm, 5.56mm rifle, 84mm recoilless.
constexpr VehicleRow kOwnVehicles[] = {
    {"Tarn main battle tank",
     65.0f,
     70.0f,
     20.0f,
     30,
     0,
     300,
     5,
     2.4f,
     3.7f,
     7.9f,
     55,
     20,
     90,
     90,
     90,
     80,
     30,
     10,
     50,
     5,
     ROLE_ATTACK,
     1,
     {{kHeavyMg, 900, 0, 40, 30}},  // the main and coaxial guns sit in the turret
     {{45, 95, 80, 80, 90},
      {60, 95, 85, 85, 95},
      {0, 10, 5, 5, 15},
      {0, 0, 0, 0, 2},
      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
      {10, 70, 40, 40, 50}}},
    {"Kell infantry carrier",
     70.0f,
     75.0f,
     20.0f,
     40,
     0,
     250,
     5,
     2.6f,
     3.2f,
     6.8f,
     28,
     15,
     70,
     60,
     50,
     60,
     50,
     30,
     40,
     20,
     ROLE_ATTACK | ROLE_TROOP_CARRIER,
     2,
     {{kCannon30, 500, 60, 60, 30}, {kMg, 2000, 60, 60, 20}},
     {{95, 99, 98, 98, 99},
      {95, 99, 98, 98, 99},
      {40, 80, 70, 70, 80},
      {5, 30, 20, 20, 30},
      {0, 5, 2, 2, 5},
      {0, 0, 0, 0, 0},
      {80, 95, 90, 90, 95}}},
    {"Rifle team",
     5.0f,
     8.0f,
     3.0f,
     90,
     0,
     150,
     2,
     1.0f,
     2.0f,
     2.0f,
     1,
     5,
     40,
     30,
     5,
     5,
     70,
     60,
     95,
     60,
     ROLE_DISMOUNT,
     2,
     {{kRifle, 1200, 0, 30, 10}, {kMg, 800, 0, 30, 20}},
     {{40, 40, 40, 40, 40},
      {20, 20, 20, 20, 20},
      {60, 60, 60, 60, 60},
      {50, 50, 50, 50, 50},
      {40, 40, 40, 40, 40},
      {25, 25, 25, 25, 25},
      {30, 30, 30, 30, 30}}},
    {"Anti-tank team",
     5.0f,
     8.0f,
     3.0f,
     90,
     0,
     200,
     2,
     1.0f,
     2.0f,
     2.0f,
     1,
     5,
     60,
     70,
     5,
     5,
     70,
     60,
     95,
     60,
     ROLE_DISMOUNT | ROLE_ANTI_TANK,
     2,
     {{kMissile130, 4, 70, 70, 20}, {kRecoilless84, 8, 0, 30, 20}},
     {{40, 40, 40, 40, 40},
      {20, 20, 20, 20, 20},
      {60, 60, 60, 60, 60},
      {50, 50, 50, 50, 50},
      {40, 40, 40, 40, 40},
      {25, 25, 25, 25, 25},
      {30, 30, 30, 30, 30}}},
    {"Mosk mortar carrier",
     60.0f,
     65.0f,
     15.0f,
     35,
     0,
     200,
     10,
     2.5f,
     3.1f,
     6.5f,
     24,
     20,
     60,
     50,
     40,
     60,
     50,
     30,
     40,
     20,
     ROLE_ARTILLERY,
     1,
     {{kMg, 1500, 0, 40, 20}},
     {{95, 99, 98, 98, 99},
      {95, 99, 98, 98, 99},
      {50, 85, 75, 75, 85},
      {8, 35, 25, 25, 35},
      {0, 5, 2, 2, 5},
      {0, 0, 0, 0, 0},
      {85, 95, 90, 90, 95}}},
    {"Vigil observer vehicle",
     80.0f,
     90.0f,
     25.0f,
     45,
     0,
     400,
     5,
     2.2f,
     2.6f,
     5.5f,
     14,
     10,
     50,
     20,
     20,
     50,
     60,
     40,
     40,
     30,
     ROLE_OBSERVER | ROLE_RECON,
     1,
     {{kHeavyMg, 600, 90, 90, 30}},
     {{98, 99, 99, 99, 99},
      {98, 99, 99, 99, 99},
      {70, 90, 85, 85, 90},
      {20, 50, 40, 40, 50},
      {2, 10, 5, 5, 10},
      {0, 2, 1, 1, 2},
      {90, 98, 95, 95, 98}}},
    {"Haul ammunition carrier",
     65.0f,
     70.0f,
     15.0f,
     35,
     0,
     150,
     10,
     2.6f,
     2.9f,
     6.9f,
     22,
     25,
     70,
     10,
     30,
     60,
     50,
     30,
     40,
     20,
     ROLE_SERVICE_SUPPORT,
     1,
     {{kMg, 1000, 0, 30, 20}},
     {{95, 99, 98, 98, 99},
      {95, 99, 98, 98, 99},
      {50, 85, 75, 75, 85},
      {8, 35, 25, 25, 35},
      {0, 5, 2, 2, 5},
      {0, 0, 0, 0, 0},
      {85, 95, 90, 90, 95}}},
    {"Breck engineer vehicle",
     55.0f,
     60.0f,
     15.0f,
     30,
     0,
     200,
     5,
     2.8f,
     3.6f,
     7.6f,
     50,
     20,
     70,
     40,
     80,
     70,
     60,
     40,
     50,
     30,
     ROLE_ENGINEER,
     1,
     {{kHeavyMg, 600, 0, 40, 30}},
     {{50, 95, 85, 85, 92},
      {65, 95, 88, 88, 95},
      {0, 15, 8, 8, 20},
      {0, 0, 0, 0, 3},
      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
      {15, 75, 45, 45, 55}}},
    {"Fume smoke generator",
     65.0f,
     70.0f,
     15.0f,
     35,
     0,
     150,
     5,
     2.5f,
     2.9f,
     6.6f,
     20,
     15,
     40,
     10,
     40,
     60,
     50,
     30,
     40,
     20,
     ROLE_SERVICE_SUPPORT,
     1,
     {{kMg, 1000, 0, 30, 20}},
     {{95, 99, 98, 98, 99},
      {95, 99, 98, 98, 99},
      {50, 85, 75, 75, 85},
      {8, 35, 25, 25, 35},
      {0, 5, 2, 2, 5},
      {0, 0, 0, 0, 0},
      {85, 95, 90, 90, 95}}},
    {"Sower mine layer",
     55.0f,
     60.0f,
     15.0f,
     30,
     0,
     150,
     10,
     2.7f,
     3.0f,
     7.2f,
     26,
     20,
     60,
     30,
     40,
     60,
     50,
     30,
     40,
     20,
     ROLE_ENGINEER,
     1,
     {{kMg, 1000, 0, 30, 20}},
     {{95, 99, 98, 98, 99},
      {95, 99, 98, 98, 99},
      {50, 85, 75, 75, 85},
      {8, 35, 25, 25, 35},
      {0, 5, 2, 2, 5},
      {0, 0, 0, 0, 0},
      {85, 95, 90, 90, 95}}},
    {"Kite scout helicopter",
     180.0f,
     220.0f,
     30.0f,
     90,
     0,
     500,
     2,
     3.0f,
     2.5f,
     10.5f,
     5,
     5,
     80,
     40,
     10,
     30,
     40,
     20,
     30,
     10,
     ROLE_ROTARY_WING | ROLE_RECON,
     1,
     {{kMg, 2000, 60, 60, 20}},
     {{90, 90, 90, 90, 90},
      {95, 95, 95, 95, 95},
      {80, 80, 80, 80, 80},
      {60, 60, 60, 60, 60},
      {20, 20, 20, 20, 20},
      {5, 5, 5, 5, 5},
      {50, 50, 50, 50, 50}}},
};

// Vehicle indices of the list, in its order: the own types, then the
// enemy's.
enum Vehicle
{
    kTank,
    kInfantryCarrier,
    kRifleTeam,
    kAntiTankTeam,
    kMortarCarrier,
    kObserverVehicle,
    kAmmunitionCarrier,
    kEngineerVehicle,
    kSmokeGenerator,
    kMineLayer,
    kScoutHelicopter,
    kOwnTypeCount,
    kEnemyTank = kOwnTypeCount,
    kEnemyCarrier,
    kEnemyRifleTeam,
    kEnemyAntiTankTeam,
    kEnemyMineLayer,
    kEnemyMortarCarrier,
    kVehicleCount
};

// The own type each type is a twin of: itself for an own type.
constexpr int kTwinOf[kVehicleCount] = {
    kTank,           kInfantryCarrier, kRifleTeam, kAntiTankTeam, kMortarCarrier,   kObserverVehicle,
    kAmmunitionCarrier, kEngineerVehicle, kSmokeGenerator, kMineLayer, kScoutHelicopter,
    kTank,           kInfantryCarrier, kRifleTeam, kAntiTankTeam, kMineLayer, kMortarCarrier};

inline constexpr bool IsEnemyType(int type) { return type >= kOwnTypeCount; }

// An own type's row under another name.
constexpr VehicleRow Renamed(VehicleRow row, const char* name)
{
    row.name = name;
    return row;
}

// Every type's row, in list order.
constexpr VehicleRow kVehicles[kVehicleCount] = {
    kOwnVehicles[kTank],
    kOwnVehicles[kInfantryCarrier],
    kOwnVehicles[kRifleTeam],
    kOwnVehicles[kAntiTankTeam],
    kOwnVehicles[kMortarCarrier],
    kOwnVehicles[kObserverVehicle],
    kOwnVehicles[kAmmunitionCarrier],
    kOwnVehicles[kEngineerVehicle],
    kOwnVehicles[kSmokeGenerator],
    kOwnVehicles[kMineLayer],
    kOwnVehicles[kScoutHelicopter],
    Renamed(kOwnVehicles[kTank], "Drask main battle tank"),
    Renamed(kOwnVehicles[kInfantryCarrier], "Oska infantry carrier"),
    Renamed(kOwnVehicles[kRifleTeam], "Grenadier team"),
    Renamed(kOwnVehicles[kAntiTankTeam], "Missile team"),
    Renamed(kOwnVehicles[kMineLayer], "Harrow mine layer"),
    Renamed(kOwnVehicles[kMortarCarrier], "Varg mortar carrier"),
};

// The map graphics a vehicle type names: its picture (turned to 36
// headings), its NATO symbol (a member of the piece array's symbol list),
// and its pictures when hit and when destroyed. A scorched or burnt-out
// hull keeps no paint to tell the sides by (frames and wreck markers do
// that), so an enemy type names its twin's hit and destroyed pictures.
struct VehicleGraphics
{
    const char* piece;
    const char* nato;
    const char* hit;
    const char* destroyed;
};

const VehicleGraphics kGraphics[kVehicleCount] = {
    {"Tarn Tank", "Tarn Tank NATO", "Tarn Tank Hit", "Tarn Tank Destroyed"},
    {"Kell Carrier", "Kell Carrier NATO", "Kell Carrier Hit", "Kell Carrier Destroyed"},
    {"Rifle Team", "Rifle Team NATO", "Rifle Team Hit", "Rifle Team Destroyed"},
    {"Anti-tank Team", "Anti-tank Team NATO", "Anti-tank Team Hit", "Anti-tank Team Destroyed"},
    {"Mosk Mortar", "Mosk Mortar NATO", "Mosk Mortar Hit", "Mosk Mortar Destroyed"},
    {"Vigil Observer", "Vigil Observer NATO", "Vigil Observer Hit", "Vigil Observer Destroyed"},
    {"Haul Carrier", "Haul Carrier NATO", "Haul Carrier Hit", "Haul Carrier Destroyed"},
    {"Breck Engineer", "Breck Engineer NATO", "Breck Engineer Hit", "Breck Engineer Destroyed"},
    {"Fume Smoker", "Fume Smoker NATO", "Fume Smoker Hit", "Fume Smoker Destroyed"},
    {"Sower Mine Layer", "Sower Mine Layer NATO", "Sower Mine Layer Hit", "Sower Mine Layer Destroyed"},
    {"Kite Helicopter", "Kite Helicopter NATO", "Kite Helicopter Hit", "Kite Helicopter Destroyed"},
    {"Drask Tank", "Drask Tank NATO", "Tarn Tank Hit", "Tarn Tank Destroyed"},
    {"Oska Carrier", "Oska Carrier NATO", "Kell Carrier Hit", "Kell Carrier Destroyed"},
    {"Grenadier Team", "Grenadier Team NATO", "Rifle Team Hit", "Rifle Team Destroyed"},
    {"Missile Team", "Missile Team NATO", "Anti-tank Team Hit", "Anti-tank Team Destroyed"},
    {"Harrow Mine Layer", "Harrow Mine Layer NATO", "Sower Mine Layer Hit", "Sower Mine Layer Destroyed"},
    {"Varg Mortar", "Varg Mortar NATO", "Mosk Mortar Hit", "Mosk Mortar Destroyed"},
};

// How soon each type's crew notices a chemical area it is in: the chance
// a second (0 never, 1 at once), by type; the engineers and the
// reconnaissance carry detectors.
// An enemy type's crew is as quick as its twin's.
const float kOwnNBCDetect[kOwnTypeCount] = {0.2f, 0.3f, 0.5f, 0.5f, 0.2f, 0.8f, 0.2f, 0.9f, 0.2f, 0.3f, 0.6f};

// The types' capabilities and the list's munitions (demo_capabilities.h).
inline void AddCapabilities(CVehicleArray& vehicles);
inline void AddMunitions(CIFAmmoArray& ammo);

inline CVehicleArray* BuildVehicles()
{
    auto* pVehicles = new CVehicleArray;
    pVehicles->m_strVehicleListName = kVehicleFile;
    pVehicles->m_strWeaponListName = kWeaponFile;
    for (int nType = 0; nType < kVehicleCount; ++nType)
    {
        const VehicleRow& row = kVehicles[nType];
        auto* pVehicle = new CVehicle;
        pVehicle->m_strName = row.name;
        pVehicle->m_fSpeed = row.speed;
        pVehicle->m_fSprint = row.sprint;
        pVehicle->m_fReverse = row.reverse;
        pVehicle->m_nTurnSpeed = row.turnSpeed;
        pVehicle->m_nTurnRadius = row.turnRadius;
        pVehicle->m_nViewRange = row.viewRange;
        pVehicle->m_nTimeToMove = row.timeToMove;
        pVehicle->m_fHeight = row.height;
        pVehicle->m_fWidth = row.width;
        pVehicle->m_fLength = row.length;
        pVehicle->m_nWeight = row.weight;
        pVehicle->m_nTimeToDefilade = row.timeToDefilade;
        pVehicle->m_nTargetValue = row.target;
        pVehicle->m_nThreatValue = row.threat;
        pVehicle->m_nProtectionValue = row.protection;
        pVehicle->m_nPGMValue = row.pgm;
        pVehicle->m_nDPICMValue = row.dpicm;
        pVehicle->m_nHEValue = row.he;
        pVehicle->m_nNuclearValue = row.nuclear;
        pVehicle->m_nChemicalValue = row.chemical;
        pVehicle->m_fNBCDetectValue = kOwnNBCDetect[kTwinOf[nType]];
        pVehicle->m_nRoleMask = row.roleMask;
        pVehicle->m_strPiece = kGraphics[nType].piece;
        pVehicle->m_strNatoPiece = kGraphics[nType].nato;
        pVehicle->m_strHitGraphic = kGraphics[nType].hit;
        pVehicle->m_strDestroyedGraphic = kGraphics[nType].destroyed;
        pVehicle->m_strDestroyedSound = demo_sounds::WreckSoundName(row.name);
        for (int i = 0; i < row.mountCount; ++i)
        {
            const MountRow& m = row.mounts[i];
            auto* pMount = new CVehicleWeapon;
            pMount->m_nWeapon = m.weapon;
            pMount->m_nAmmo = m.ammo;
            pMount->m_nPercentIR = m.percentIR;
            pMount->m_nPercentNV = m.percentNV;
            pMount->m_nSuppressionRadius = m.suppressionRadius;
            pVehicle->GetChassisMounts()->Add(pMount);
        }
        for (const Kill& k : row.kills)
            pVehicle->GetKillPercentages()->Add(new CWeaponPercentages(k.front, k.back, k.right, k.left, k.top));
        pVehicles->Add(pVehicle);
    }
    AddCapabilities(*pVehicles);
    AddMunitions(*pVehicles->GetAmmo());
    return pVehicles;
}
}  // namespace demo_equipment

#include "demo_capabilities.h"
