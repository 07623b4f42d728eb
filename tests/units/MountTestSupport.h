#pragma once
// What the mounting tests share: carriers and dismounted teams of chosen
// protection and target values on flat open ground, a units component
// holding them (own array, and opposing arrays on demand) with an optional
// hierarchy, and the hand-driven clock that ends the deployment phase.

#include "UnitCapTestSupport.h"
#include "UnitTestSupport.h"
#include "battlefield/BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KillPercentage.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "platform/core/Timer.h"
#include "units/CarriedUnit.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <initializer_list>
#include <memory>
#include <utility>

namespace mounttest
{
// The vehicle types, by index.
enum VehicleType
{
    kCarrier,       // three places, protection 30
    kArmoured,      // three places, protection 50
    kPairCarrier,   // two places, protection 30
    kTeam,          // target value 5
    kValuableTeam,  // target value 9
    kCheapTeam,     // target value 1
    kTank,          // nothing to do with riding
    kTypeCount
};

// The carriers' times (seconds), as the demo's infantry carrier has them.
constexpr int kTimeToMount = 20;
constexpr int kTimeToDismount = 15;
constexpr int kTimeToOpen = 5;
constexpr int kTimeToClose = 5;
constexpr int kMapSize = 2000;  // metres, both ways
constexpr short kGround = 1000;

inline CVehicle* MakeType(VehicleType type)
{
    CVehicle* pVehicle = nullptr;
    auto carrier = [](int nPlaces)
    {
        auto* pCarrier = new CVCapPersonnelCarrier;
        pCarrier->m_nNumberOfDismounts = nPlaces;
        pCarrier->m_nTimeToMount = kTimeToMount;
        pCarrier->m_nTimeToDismount = kTimeToDismount;
        pCarrier->m_nTimeToOpen = kTimeToOpen;
        pCarrier->m_nTimeToClose = kTimeToClose;
        return MakeVehicleWith({pCarrier});
    };
    switch (type)
    {
    case kCarrier: pVehicle = carrier(3); pVehicle->m_nProtectionValue = 30; break;
    case kArmoured: pVehicle = carrier(3); pVehicle->m_nProtectionValue = 50; break;
    case kPairCarrier: pVehicle = carrier(2); pVehicle->m_nProtectionValue = 30; break;
    case kTeam: pVehicle = MakeVehicleWith({new CVCapDismount}); pVehicle->m_nTargetValue = 5; break;
    case kValuableTeam: pVehicle = MakeVehicleWith({new CVCapDismount}); pVehicle->m_nTargetValue = 9; break;
    case kCheapTeam: pVehicle = MakeVehicleWith({new CVCapDismount}); pVehicle->m_nTargetValue = 1; break;
    default: pVehicle = MakeVehicleWith({}); break;
    }
    pVehicle->m_strName = "Type";
    pVehicle->GetChassisMounts()->Add(MakeMount(0, 30));
    pVehicle->GetKillPercentages()->Add(new CWeaponPercentages(50, 0, 0, 0, 0));
    pVehicle->m_fSpeed = 40.0f;
    pVehicle->m_fSprint = 40.0f;
    pVehicle->m_nTimeToMove = 0;
    return pVehicle;
}

class CMountWorld
{
public:
    CMountWorld()
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
    ~CMountWorld() { UseRealTime(); }
    CMountWorld(const CMountWorld&) = delete;
    CMountWorld& operator=(const CMountWorld&) = delete;

    CKDRDatabase* Db() { return m_db.Db(); }
    CKDRGameMap* Map() { return &m_map; }
    CTestShell& App() { return m_db.App().App(); }
    CKDRUnits& Units() { return m_units; }

    // A unit of the type halted on its one stopped node at (x, y), added
    // to the kind's array (kind 1: its first array); its unit index.
    int Add(VehicleType type, float x, float y, int nKind = 0, const char* name = "Unit")
    {
        CUnitArray* pArray = ArrayOf(nKind);
        auto* pUnit = new CUnit(Db(), type);
        pUnit->m_strName = name;
        pUnit->SetSide(nKind);
        pUnit->AssignPath(x, y, Db(), Map(), FALSE, 0);
        pUnit->m_bStopped = TRUE;
        pArray->Add(pUnit);
        return pArray->GetSize() - 1;
    }
    CUnit* Unit(int nUnit, int nKind = 0) { return m_units.GetUnit(nUnit, 0, nKind); }

    // The team rides in the carrier as a unit file holds it.
    void Aboard(int nTeam, int nCarrier, int nKind = 0)
    {
        auto* pTeam = dynamic_cast<CUCapDismount*>(Unit(nTeam, nKind)->FindCapability(VCAP_DISMOUNT));
        auto* pCarrier =
            dynamic_cast<CUCapPersonnelCarrier*>(Unit(nCarrier, nKind)->FindCapability(VCAP_PERSONNEL_CARRIER));
        ASSERT_NE(pTeam, nullptr);
        ASSERT_NE(pCarrier, nullptr);
        pTeam->m_nCarrierUnit = nCarrier;
        pTeam->m_nCarrierArray = 0;
        pTeam->m_nCarrierKind = nKind;
        pTeam->m_bDismounted = FALSE;
        pCarrier->m_pPassengers->Add(new CCarriedUnit(nTeam, 0, nKind));
    }

    // A side-0 hierarchy of one platoon holding an element per own unit.
    CHierarchyArray* MakeHierarchy()
    {
        auto* pPlatoon = new CHierarchyPlatoon;
        pPlatoon->m_strName = "1st Platoon";
        for (int i = 0; i < ArrayOf(0)->GetSize(); ++i)
        {
            auto* pElement = new CHierarchyElement;
            pElement->m_strName.Format("Element %d", i);
            pElement->m_nUnit = i;
            pElement->m_nArray = 0;
            pPlatoon->Add(pElement);
        }
        auto* pHierarchy = new CHierarchyArray;
        pHierarchy->Add(pPlatoon);
        delete m_units.m_pHierarchy[0];
        m_units.m_pHierarchy[0] = pHierarchy;
        m_units.m_bHierarchy[0] = TRUE;
        return pHierarchy;
    }

    // The game clock starts: the deployment phase is over.
    void StartClock()
    {
        const DWORD dwTick = App().StartClock();
        m_units.PrepareUnits(dwTick, Map(), Db());
    }

    // One pass of movement after nMs more of the counter.
    void Pass(DWORD dwMs = 1000)
    {
        AdvanceManualTime(dwMs);
        BOOL bChanged = FALSE;
        for (int nKind : {0, 1})
        {
            if (CUnitArray* pArray = m_units.GetUnitArray(0, nKind))
                m_units.MoveUnitArray(0, nKind, pArray, Map(), Db(), nullptr, nullptr, kUnset, bChanged);
        }
    }

    CUnitArray* ArrayOf(int nKind)
    {
        CUnitArray* pArray = m_units.GetUnitArray(0, nKind);
        if (pArray != nullptr)
            return pArray;
        pArray = new CUnitArray;
        pArray->SetSide(nKind);
        if (nKind == 0)
        {
            m_units.m_pOwnUnits = pArray;
            m_units.m_bOwnUnits = TRUE;
        }
        else
        {
            m_units.m_pOpposingArrays = new TypedObArray<CUnitArray>;
            m_units.m_pOpposingArrays->Add(pArray);
            m_units.m_bOpposingUnits = TRUE;
        }
        return pArray;
    }

private:
    CUnitTestDatabase m_db;
    CKDRGameMap m_map;
    CKDRUnits m_units;
};

inline CUCapPersonnelCarrier* CarrierCap(CUnit* pUnit)
{
    return dynamic_cast<CUCapPersonnelCarrier*>(pUnit->FindCapability(VCAP_PERSONNEL_CARRIER));
}

inline CUCapDismount* TeamCap(CUnit* pUnit)
{
    return dynamic_cast<CUCapDismount*>(pUnit->FindCapability(VCAP_DISMOUNT));
}

// The carrier the team names; -99 for a free team.
inline int CarrierOfTeam(CMountWorld& w, int nTeam, int nKind = 0)
{
    return TeamCap(w.Unit(nTeam, nKind))->m_nCarrierUnit;
}

// A selection of the kind's units by index.
inline std::unique_ptr<CTaskOrgArray> Selection(std::initializer_list<int> units, int nKind = 0)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    pList->m_nSide = nKind;
    for (int nUnit : units)
        pList->Add(new CTaskOrg(nUnit, 0));
    return pList;
}
}  // namespace mounttest
