#pragma once
// What the battle benchmarks share around their battles: writing the demo's
// lists into the battle's folder through the game's own Serialize, and the
// upkeep that keeps every pass firing as the first did.
#include "../tools/demo_equipment.h"

#include "database/KDRDatabase.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "units/UnitWeapon.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

template <class T>
void WriteObject(const std::filesystem::path& path, T& object)
{
    CFile file;
    if (!file.Open(path.string().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return;
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    file.Close();
}

// Every weapon of the list loaded and ready to fire at once.
inline void MakeReady(CUnitWeaponArray* pWeapons)
{
    for (int i = 0; pWeapons != nullptr && i < pWeapons->GetSize(); ++i)
    {
        CUnitWeapon* pWeapon = pWeapons->GetAt(i);
        pWeapon->m_nFireCountdown = 0;
        pWeapon->m_nReloadCountdown = 0;
        pWeapon->m_nRounds = 1000;
    }
}

// A fresh folder under the system's temporary one, named from the prefix,
// holding the demo's weapon and vehicle lists, and the database loaded from
// it. The folder, or an empty path when it could not be made; the database
// is loaded only when the answer is true.
inline bool WriteAndLoadDemoLists(const char* prefix, std::filesystem::path& dir, CKDRDatabase& db)
{
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    dir = pattern;
    std::unique_ptr<CWeaponArray> weapons(demo_equipment::BuildWeapons());
    std::unique_ptr<CVehicleArray> vehicles(demo_equipment::BuildVehicles());
    WriteObject(dir / demo_equipment::kWeaponFile, *weapons);
    WriteObject(dir / demo_equipment::kVehicleFile, *vehicles);
    db.SetDirectories(dir.string().c_str(), dir.string().c_str());
    return db.LoadVehicleList(demo_equipment::kVehicleFile) && db.HasWeaponList();
}
