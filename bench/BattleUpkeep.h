#pragma once
// What the battle benchmarks share around their battles: writing the demo's
// lists into the battle's folder through the game's own Serialize, and the
// upkeep that keeps every pass firing as the first did.
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "units/UnitWeapon.h"

#include <filesystem>

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
