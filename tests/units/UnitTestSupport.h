#pragma once
// What the unit tests share: a database loaded from weapon and vehicle
// lists written into a fresh data directory (the demo's, or a test's own),
// and loading an object from hand-laid bytes.

#include "database/DatabaseTestSupport.h"
#include "database/EquipmentTestSupport.h"

#include "../../tools/demo_equipment.h"

#include "database/KDRDatabase.h"
#include "database/VCapTurret.h"
#include "database/VehicleArray.h"
#include "database/Weapon.h"
#include "platform/core/Core.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Reads an object from bytes; the archive error passes to the caller.
inline void LoadFromBytes(CObject& object, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
    ar.Close();
}

// An application with a data directory and a database whose weapon and
// vehicle lists were read from files there, as a mission loads them.
class CUnitTestDatabase
{
public:
    CUnitTestDatabase() { m_app.HandDirectories(m_database); }

    // Takes both lists, writes them and loads them.
    void Load(CWeaponArray* pWeapons, CVehicleArray* pVehicles)
    {
        std::unique_ptr<CWeaponArray> weapons(pWeapons);
        std::unique_ptr<CVehicleArray> vehicles(pVehicles);
        weapons->m_strFileName = "unit.wep";
        vehicles->m_strWeaponListName = "unit.wep";
        vehicles->m_strVehicleListName = "unit.veh";
        WriteList(m_app, "unit.wep", *weapons);
        WriteList(m_app, "unit.veh", *vehicles);
        ASSERT_TRUE(m_database.LoadVehicleList("unit.veh"));
        ASSERT_TRUE(m_database.HasWeaponList());
    }
    void LoadDemo() { Load(demo_equipment::BuildWeapons(), demo_equipment::BuildVehicles()); }

    CKDRDatabase* Db() { return &m_database; }
    CVehicle* Vehicle(int index) { return m_database.GetVehicle(index); }
    CDatabaseTestApp& App() { return m_app; }

private:
    CDatabaseTestApp m_app;
    CKDRDatabase m_database;
};

// A turret holding the mounts given as (weapon, ammunition) pairs.
inline CVCapTurret* MakeTurret(std::initializer_list<std::pair<int, int>> mounts)
{
    auto* pTurret = new CVCapTurret;
    for (const auto& [weapon, ammo] : mounts)
        pTurret->GetMounts()->Add(MakeMount(weapon, ammo));
    return pTurret;
}
