#pragma once
// What the demo's vehicle types can do beyond their hull weapons, and the
// indirect-fire munitions of the demo's vehicle list: the tank's turret
// with its main and coaxial guns and its own kill table, the infantry
// carrier's troop compartment, the teams on foot, the mortar carrier's
// mortar and emplacing, the observer's laser and fire direction centre,
// the ammunition carrier's loads, the engineer's breaching kit, the smoke
// generator, the mine layer and the helicopter's flight. Munition ranges are in metres;
// the distances of the older capabilities in tens of metres, as the pages
// show them times ten; the engineer's lane, the smoke radius and the mine
// layer's ranges and fields in metres, as the battle reads them. Included at the end of demo_equipment.h.

#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/KillPercentage.h"
#include "database/VCapIndirectFire.h"
#include "database/VCapKinds.h"
#include "database/VCapTurret.h"
#include "database/VehicleArray.h"
#include "database/VehicleWeapon.h"

namespace demo_equipment
{
// Munition indices of the list, in its order.
enum Munition
{
    kMortarHE,
    kMortarSmoke,
    kMortarIllum,
    kMortarMines,
    kMortarChemical,
    kMortarPGM,
    kMunitionCount
};

// The capabilities' own pictures: the tank's turret, the carrier with its
// ramp down (each side's in its colours), the mortar carrier emplaced, the
// three stages of the mortar's flash, and the observer's laser spot.
const char* const kTurretPiece = "Tarn Tank Turret";
const char* const kCarrierOpenPiece = "Kell Carrier Open";
const char* const kEnemyTurretPiece = "Drask Tank Turret";
const char* const kEnemyCarrierOpenPiece = "Oska Carrier Open";
const char* const kMortarEmplacedPiece = "Mosk Mortar Emplaced";
const char* const kEnemyMortarEmplacedPiece = "Varg Mortar Emplaced";
const char* const kMortarFlashPieces[3] = {"Mortar Flash 1", "Mortar Flash 2", "Mortar Flash 3"};
const char* const kLaserSpotPiece = "Laser Spot Red";
// The scout helicopter's rotor, turning through its frames.
const char* const kRotorPiece = "Kite Rotor";
constexpr int kRotorFrames = 12;

// Each munition's impact: three members of the burst list in a row, shown
// one after the other as the round lands; the munition names the first.
const char* const kBurstGraphics[kMunitionCount][3] = {
    {"HE Burst 1", "HE Burst 2", "HE Burst 3"},
    {"Smoke Burst 1", "Smoke Burst 2", "Smoke Burst 3"},
    {"Illumination Burst 1", "Illumination Burst 2", "Illumination Burst 3"},
    {"Mines Burst 1", "Mines Burst 2", "Mines Burst 3"},
    {"Chemical Burst 1", "Chemical Burst 2", "Chemical Burst 3"},
    {"Guided Burst 1", "Guided Burst 2", "Guided Burst 3"},
};

inline CVehicleWeapon* MakeDemoMount(int weapon, int ammo, int percentIR, int percentNV, BOOL bCoaxial)
{
    auto* pMount = new CVehicleWeapon;
    pMount->m_nWeapon = weapon;
    pMount->m_nAmmo = ammo;
    pMount->m_nPercentIR = percentIR;
    pMount->m_nPercentNV = percentNV;
    pMount->m_bC = bCoaxial;
    return pMount;
}

// The tank's turret: the main gun and the coaxial machine gun, a harder
// front than the hull's, and a commander's sight.
inline CVCapTurret* MakeDemoTurret(const char* piece)
{
    auto* pTurret = new CVCapTurret;
    pTurret->m_nTurnSpeed = 40;
    pTurret->m_fHeight = 0.9f;
    pTurret->m_fWidth = 2.2f;
    pTurret->m_fLength = 3.1f;
    pTurret->m_strPiece = piece;
    pTurret->GetMounts()->Add(MakeDemoMount(kGun120, 40, 80, 60, FALSE));
    pTurret->GetMounts()->Add(MakeDemoMount(kMg, 6000, 80, 60, TRUE));
    const Kill turretKills[kWeaponCount] = {{35, 90, 75, 75, 85}, {55, 95, 85, 85, 95}, {0, 5, 2, 2, 10},
                                            {0, 0, 0, 0, 0},      {0, 0, 0, 0, 0},      {0, 0, 0, 0, 0},
                                            {5, 60, 35, 35, 40}};
    for (const Kill& k : turretKills)
        pTurret->GetKillPercentages()->Add(new CWeaponPercentages(k.front, k.back, k.right, k.left, k.top));
    return pTurret;
}

inline CVCapPersonnelCarrier* MakeDemoTroops(const char* openPiece)
{
    auto* pTroops = new CVCapPersonnelCarrier;
    pTroops->m_nTimeToMount = 20;
    pTroops->m_nTimeToDismount = 15;
    pTroops->m_nNumberOfDismounts = 3;
    pTroops->m_nTimeToOpen = 5;
    pTroops->m_nTimeToClose = 5;
    pTroops->m_strOpenGraphic = openPiece;
    return pTroops;
}

// A type's capabilities, those of its twin; an enemy type's pictures are
// its own.
inline void AddCapabilitiesOf(CVehicle& vehicle, int type)
{
    const bool bEnemy = IsEnemyType(type);
    CVehicleCapArray* pCaps = vehicle.GetCapabilities();
    switch (kTwinOf[type])
    {
    case kTank: pCaps->Add(MakeDemoTurret(bEnemy ? kEnemyTurretPiece : kTurretPiece)); break;
    case kInfantryCarrier: pCaps->Add(MakeDemoTroops(bEnemy ? kEnemyCarrierOpenPiece : kCarrierOpenPiece)); break;
    case kRifleTeam:
    case kAntiTankTeam: pCaps->Add(new CVCapDismount); break;
    case kMortarCarrier:
    {
        // The mortar fires over the rear deck through a 1600-mil arc.
        auto* pMortar = new CVCapIndirectFire;
        pMortar->m_nLeftLimit = -800;
        pMortar->m_nRightLimit = 800;
        pMortar->m_nTraverseTime = 6;
        pMortar->m_nComputeTime = 30;
        pMortar->m_nShotTime = 5;
        pMortar->m_nTimeOfFlight = 25;
        pMortar->m_nSmokeRadius = 3;
        pMortar->m_nSmokeDuration = 10;
        pMortar->m_fAccuracy = 0.9f;
        pMortar->m_bHighAngle = TRUE;
        pMortar->m_nMinRange = 20;
        for (int stage = 0; stage < 3; ++stage)
            pMortar->m_strMuzzleFlash[stage] = kMortarFlashPieces[stage];
        // Eight bombs of HE to a carrier: the ammunition carrier keeps a
        // battery firing.
        pMortar->m_ammo = {{kMortarHE, 8},     {kMortarSmoke, 12},   {kMortarIllum, 8},
                           {kMortarMines, 4},  {kMortarChemical, 4}, {kMortarPGM, 4}};
        auto* pEmplace = new CVCapEmplace;
        pEmplace->m_nTimeToEmplace = 60;
        pEmplace->m_nTimeToDisplace = 30;
        pEmplace->m_strGraphic = bEnemy ? kEnemyMortarEmplacedPiece : kMortarEmplacedPiece;
        pCaps->Add(pMortar);
        pCaps->Add(pEmplace);
        break;
    }
    case kObserverVehicle:
    {
        // The laser holds a target 3000 m away, a halted one 2500 m.
        auto* pLaser = new CVCapObserver;
        pLaser->m_nRange = 3000;
        pLaser->m_nMovingRange = 2500;
        pLaser->m_nPercentIR = 90;
        pLaser->m_nPercentNightVision = 80;
        pLaser->m_strLaserSpotGraphic = kLaserSpotPiece;
        auto* pFdc = new CVCapFDC;
        pFdc->m_gunTypes.AddTail(kVehicles[kMortarCarrier].name);
        pFdc->m_nFireAngle = 2;
        pFdc->m_nMaxNumberOfGuns = 6;
        pCaps->Add(pLaser);
        pCaps->Add(pFdc);
        break;
    }
    case kAmmunitionCarrier:
    {
        auto* pRounds = new CVCapIFAmmoCarrier;
        pRounds->m_ammo = {{kMortarHE, 120}, {kMortarSmoke, 40}, {kMortarIllum, 20}, {kMortarMines, 12},
                           {kMortarPGM, 8}};
        auto* pShells = new CVCapDFAmmoCarrier;
        pShells->m_ammo = {{kGun120, 60}, {kCannon30, 600}, {kMg, 8000}};
        pCaps->Add(pRounds);
        pCaps->Add(pShells);
        break;
    }
    case kEngineerVehicle:
    {
        // A lane 80 m long and 8 m wide through mines or wire in a minute,
        // twice.
        auto* pEngineer = new CVCapEngineer;
        pEngineer->m_nBreachLength = 80;
        pEngineer->m_nBreachWidth = 8;
        pEngineer->m_nObstacleTypes = OBSTACLE_MINES | OBSTACLE_WIRE;
        pEngineer->m_nTimeToBreach = 60;
        pEngineer->m_nNumberOfBreaches = 2;
        pEngineer->m_strBreachSound = demo_sounds::kBreachSound;
        pCaps->Add(pEngineer);
        break;
    }
    case kSmokeGenerator:
    {
        // A cloud of 60 m every 20 s, twelve in all.
        auto* pSmoker = new CVCapSmoker;
        pSmoker->m_fRadius = 60.0f;
        pSmoker->m_nTimeToLive = 240;
        pSmoker->m_nPercentIR = 70;
        pSmoker->m_nTimeToRelease = 20;
        pSmoker->m_nNumberOfSmoke = 12;
        pCaps->Add(pSmoker);
        break;
    }
    case kMineLayer:
    {
        // Two fields of 200 x 40 m, 100 to 500 m away, each laid in a
        // minute and a half.
        auto* pLayer = new CVCapMineLayer;
        pLayer->m_nTimeToDeploy = 90;
        pLayer->m_bUseMinRange = TRUE;
        pLayer->m_nSpare = 100;  // the minimum range
        pLayer->m_nMaxRange = 500;
        pLayer->m_nLength = 200;
        pLayer->m_nWidth = 40;
        pLayer->m_nDensity = 60;
        pLayer->m_nNumberOfMines = 2;
        pCaps->Add(pLayer);
        break;
    }
    case kScoutHelicopter:
    {
        // 60 m up, 90 m sprinting, on the ground when it halts.
        auto* pRotor = new CVCapRotaryWing;
        pRotor->m_nAltitude = 60;
        pRotor->m_nSprintAltitude = 90;
        pRotor->m_nDefiladeAltitude = 10;
        pRotor->m_bLandWhenStopped = TRUE;
        pRotor->m_strName = kRotorPiece;
        pCaps->Add(pRotor);
        break;
    }
    default: break;
    }
}

inline void AddCapabilities(CVehicleArray& vehicles)
{
    for (int type = 0; type < kVehicleCount && type < vehicles.GetSize(); ++type)
        AddCapabilitiesOf(*vehicles.GetAt(type), type);
}

inline CIFAmmo* MakeDemoMunition(const char* name, int type, int range, int blastRadius, float lethality)
{
    auto* pAmmo = new CIFAmmo;
    pAmmo->m_strName = name;
    pAmmo->m_strQualifier = "120mm mortar";
    pAmmo->m_nMunitionType = type;
    pAmmo->m_nRange = range;
    pAmmo->m_nBlastRadius = blastRadius;
    pAmmo->m_fLethality = lethality;
    return pAmmo;
}

inline void AddMunitions(CIFAmmoArray& ammo)
{
    ammo.Add(MakeDemoMunition("HE", MUNITION_HE, 7000, 50, 0.3f));

    CIFAmmo* pSmoke = MakeDemoMunition("Smoke", MUNITION_SMOKE, 7000, 1, 0.0f);
    auto* pScreen = new CIFCapSmoke;
    pScreen->m_fRadius = 40.0f;
    pScreen->m_nDuration = 180;
    // Thicker than the tanks' thermal sights can see through.
    pScreen->m_nPercentIR = 90;
    pSmoke->GetCapabilities()->Add(pScreen);
    ammo.Add(pSmoke);

    CIFAmmo* pIllum = MakeDemoMunition("Illumination", MUNITION_ILLUM, 6500, 0, 0.0f);
    auto* pFlare = new CIFCapIllum;
    pFlare->m_fRadius = 400.0f;
    pFlare->m_nDuration = 60;
    pFlare->m_nPercentIR = 80;  // 0.8 of daylight beneath it
    pIllum->GetCapabilities()->Add(pFlare);
    ammo.Add(pIllum);

    CIFAmmo* pMines = MakeDemoMunition("Scatterable mines", MUNITION_FASCAM, 5000, 0, 0.0f);
    auto* pField = new CIFCapFASCAM;
    pField->m_nLength = 200;
    pField->m_nWidth = 60;
    pField->m_nDensity = 3;
    pField->m_bLimitedDuration = TRUE;
    pField->m_nDuration = 14400;
    pMines->GetCapabilities()->Add(pField);
    ammo.Add(pMines);

    CIFAmmo* pChemical = MakeDemoMunition("Chemical", MUNITION_CHEMICAL, 6000, 2, 0.05f);
    auto* pAgent = new CIFCapChem;
    pAgent->m_nRadius = 100;
    pAgent->m_nDensity = 25;
    pAgent->m_nDuration = 1800;
    pChemical->GetCapabilities()->Add(pAgent);
    ammo.Add(pChemical);

    // A laser-guided bomb: it strikes what an observer of its side holds
    // within 150 m of its aim point.
    CIFAmmo* pGuided = MakeDemoMunition("Guided", MUNITION_PGM, 6000, 10, 0.9f);
    auto* pSeeker = new CIFCapPGM;
    pSeeker->m_nFootPrint = 150;
    pSeeker->m_nLaserTime = 20;
    pSeeker->m_nMaxAngle = -1;
    pGuided->GetCapabilities()->Add(pSeeker);
    ammo.Add(pGuided);

    for (int i = 0; i < ammo.GetSize() && i < kMunitionCount; ++i)
        ammo.GetAt(i)->m_strBurstGraphic = kBurstGraphics[i][0];
}
}  // namespace demo_equipment
