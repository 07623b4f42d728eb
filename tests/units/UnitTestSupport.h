#pragma once
// What the unit tests share: a database loaded from weapon and vehicle
// lists written into a fresh data directory (the demo's, or a test's own),
// and loading an object from hand-laid bytes.

#include "database/DatabaseTestSupport.h"
#include "database/EquipmentTestSupport.h"

#include "../../tools/demo_equipment.h"
#include "../../tools/demo_pieces.h"

#include "database/KDRDatabase.h"
#include "database/PieceArray.h"
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
// vehicle lists were read from files there, as a mission loads them. With
// pieces, a test's own vehicle type i shows the piece "Piece i" (flag
// i + 1), a sheet of kPieceFrames frames of kPieceSize pixels in one row,
// unless it names a piece already; the demo's types show the demo's own.
class CUnitTestDatabase
{
public:
    static constexpr int kPieceFrames = 9;
    static constexpr int kPieceSize = 8;

    CUnitTestDatabase() { m_app.HandDirectories(m_database); }

    // Takes both lists, writes them and loads them.
    void Load(CWeaponArray* pWeapons, CVehicleArray* pVehicles, bool bPieces = false)
    {
        std::unique_ptr<CWeaponArray> weapons(pWeapons);
        std::unique_ptr<CVehicleArray> vehicles(pVehicles);
        if (bPieces)
            WritePieces(*vehicles);
        weapons->m_strFileName = "unit.wep";
        vehicles->m_strWeaponListName = "unit.wep";
        vehicles->m_strVehicleListName = "unit.veh";
        WriteList(m_app, "unit.wep", *weapons);
        WriteList(m_app, "unit.veh", *vehicles);
        ASSERT_TRUE(m_database.LoadVehicleList("unit.veh"));
        ASSERT_TRUE(m_database.HasWeaponList());
    }
    // The demo's lists; with pieces, the demo's own piece array.
    void LoadDemo(bool bPieces = false)
    {
        if (bPieces)
            WriteDemoPieces();
        Load(demo_equipment::BuildWeapons(), demo_equipment::BuildVehicles());
    }

    CKDRDatabase* Db() { return &m_database; }
    CVehicle* Vehicle(int index) { return m_database.GetVehicle(index); }
    CDatabaseTestApp& App() { return m_app; }

private:
    void WriteDemoPieces()
    {
        CPieceArray pieces;
        CString errorText;
        ASSERT_TRUE(demo_pieces::WriteDemoPieces(m_app.DataDir().string().c_str(), pieces, errorText))
            << errorText.GetString();
        WriteList(m_app, demo_pieces::kPieceFile, pieces);
        ASSERT_TRUE(m_database.LoadPieceArray(demo_pieces::kPieceFile));
    }

    void WritePieces(CVehicleArray& vehicles)
    {
        m_app.WriteSheet("unit.bmp", kPieceFrames, 1, kPieceSize);
        CPieceArray pieces;
        pieces.SetFileName("unit.pca");
        for (int i = 0; i < vehicles.GetSize(); ++i)
        {
            CString name;
            name.Format("Piece %d", i);
            if (vehicles.GetAt(i)->m_strPiece.IsEmpty())
                vehicles.GetAt(i)->m_strPiece = name;
            pieces.Add(new CPiece("unit.bmp", name, 1, kPieceFrames, kPieceFrames, i + 1));
        }
        WriteList(m_app, "unit.pca", pieces);
        ASSERT_TRUE(m_database.LoadPieceArray("unit.pca"));
    }

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
