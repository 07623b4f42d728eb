#pragma once
// What the detection, fire and pass tests share: a flat 4 x 3 km map, a
// database of a gun, a tank that carries it and a dismounted team, units
// of it placed on the map, and a units component holding arrays of them.

#include "UnitTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KillPercentage.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "database/VehicleWeapon.h"
#include "database/Weapon.h"
#include "orders/NodeArray.h"
#include "units/KDRUnits.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <cmath>
#include <numbers>

namespace combat
{
constexpr int kGun = 0;
constexpr int kTank = 0;
constexpr int kTeam = 1;
// A tank whose gun sits on a turret that traverses 800 mils each way.
constexpr int kTurretTank = 2;
constexpr int kTurretLimit = 800;
// The tank's kill table against the gun: front, back, right, left.
constexpr int kFront = 40;
constexpr int kBack = 90;
constexpr int kRight = 60;
constexpr int kLeft = 70;
constexpr double kPi = std::numbers::pi;

// A gun of 3 km, magnification 1, one round per fire, no reloads.
inline CWeapon* MakeGun()
{
    CWeapon* pGun = MakeWeapon("Gun", 10, 300);
    pGun->m_nMagnification = 1;
    pGun->m_nTimeToFire = 3;
    pGun->m_nRoundsPerFire = 1;
    pGun->m_nRoundsToReload = 0;
    pGun->m_nTimeToReload = 0;
    pGun->m_strWeaponSound = "Gun";
    return pGun;
}

// A vehicle type of the view range (tens of metres) whose box gives the
// target size 1 and whose total height 2.2 m gives the size factor 1.
inline CVehicle* MakeCombatVehicle(const char* name, float fHeight)
{
    auto* pVehicle = new CVehicle;
    pVehicle->m_strName = name;
    pVehicle->m_nViewRange = 200;
    pVehicle->m_fHeight = fHeight;
    pVehicle->m_fWidth = 1.0f;
    // A hair over 1, so that float rounding never takes a hit chance of 20
    // below 20.
    pVehicle->m_fLength = 1.0001f / (fHeight * CVehicle::kTargetSizePerVolume);
    pVehicle->m_nTargetValue = 5;
    pVehicle->m_nThreatValue = 3;
    CVehicleWeapon* pMount = MakeMount(kGun, 40);
    pMount->m_bS = TRUE;
    pVehicle->GetChassisMounts()->Add(pMount);
    pVehicle->GetKillPercentages()->Add(new CWeaponPercentages(kFront, kBack, kRight, kLeft, 0));
    return pVehicle;
}

class CCombatWorld
{
public:
    CCombatWorld()
    {
        auto* pWeapons = new CWeaponArray;
        pWeapons->Add(MakeGun());
        auto* pVehicles = new CVehicleArray;
        pVehicles->Add(MakeCombatVehicle("Tank", 2.2f));
        CVehicle* pTeam = MakeCombatVehicle("Team", 1.1f);
        pTeam->GetCapabilities()->Add(new CVCapDismount);
        pVehicles->Add(pTeam);
        CVehicle* pTurretTank = MakeCombatVehicle("Turret Tank", 2.2f);
        pTurretTank->GetChassisMounts()->RemoveAll();
        auto* pTurret = new CVCapTurret;
        pTurret->m_nLeftLimit = kTurretLimit;
        pTurret->m_nRightLimit = kTurretLimit;
        pTurret->m_fHeight = 0.0f;
        CVehicleWeapon* pMount = MakeMount(kGun, 40);
        pMount->m_bS = TRUE;
        pMount->m_bC = TRUE;
        pTurret->GetMounts()->Add(pMount);
        pTurretTank->GetCapabilities()->Add(pTurret);
        pVehicles->Add(pTurretTank);
        m_db.Load(pWeapons, pVehicles, true);
        auto* pElevation = new CElevationMap;
        pElevation->SetGeometry(4000, 3000, 0, 0, 1);
        m_map.SetElevationMap(pElevation);
    }

    CKDRDatabase* Db() { return m_db.Db(); }
    CKDRGameMap* Map() { return &m_map; }
    CTestShell& App() { return m_db.App().App(); }
    CVehicle* Vehicle(int nType) { return m_db.Vehicle(nType); }

    // A unit of the type halted at a stop node at the point.
    CUnit* NewUnit(int nType, int nSide, float x, float y, const char* name = "Unit")
    {
        auto* pUnit = new CUnit(Db(), nType);
        pUnit->m_strName = name;
        pUnit->SetSide(nSide);
        pUnit->m_fX = x;
        pUnit->m_fY = y;
        pUnit->m_pPath->ResetToPoint(x, y, nSide != 0);
        return pUnit;
    }

    // An array of the kind added to the component (the component owns it).
    CUnitArray* AddArray(int nKind)
    {
        auto* pArray = new CUnitArray;
        pArray->SetSide(nKind);
        if (nKind == 0)
        {
            delete m_units.m_pOwnUnits;
            m_units.m_pOwnUnits = pArray;
            m_units.m_bOwnUnits = TRUE;
        }
        else
        {
            auto*& pList = nKind == 1 ? m_units.m_pOpposingArrays : m_units.m_pNeutralArrays;
            if (pList == nullptr)
                pList = new TypedObArray<CUnitArray>;
            pList->Add(pArray);
            (nKind == 1 ? m_units.m_bOpposingUnits : m_units.m_bNeutralUnits) = TRUE;
        }
        return pArray;
    }

    CKDRUnits& Units() { return m_units; }

private:
    CUnitTestDatabase m_db;
    CKDRGameMap m_map;
    CKDRUnits m_units;
};

// A contact as detection writes it.
inline CUnitRef Contact(int nUnit, int nArray, int nKind, float fBearing, int nRange, BOOL bUnidentified = FALSE)
{
    CUnitRef ref;
    ref.m_nUnit = nUnit;
    ref.m_nArray = nArray;
    ref.m_nSide = nKind;
    ref.m_nVehicle = kTank;
    ref.m_nTargetValue = bUnidentified ? 0 : 5;
    ref.m_fBearing = fBearing;
    ref.m_nRange = nRange;
    ref.m_bUnidentified = bUnidentified;
    return ref;
}

// A seed whose first two percentile rolls are the ones asked for.
inline unsigned SeedForRolls(int nFirst, int nSecond)
{
    for (unsigned seed = 1; seed < 2000000; ++seed)
    {
        SRand(seed);
        if (PercentileRoll() != nFirst)
            continue;
        if (nSecond < 0 || PercentileRoll() == nSecond)
            return seed;
    }
    ADD_FAILURE() << "no seed gives the rolls " << nFirst << ", " << nSecond;
    return 1;
}
}  // namespace combat
