#pragma once
// CVehicleArray: a mission's vehicle list ("*.veh"): every vehicle type,
// the indirect-fire munitions, and the name of the weapon list whose
// indices its mounts and kill tables use. The database fits it to the
// weapon list it actually holds (FitToWeaponList) whenever either changes.
//
// "*.veh": the vehicles as an object array, the munitions' own form, the
// list's own file name, the weapon list's name. A file that turns out bad
// raises the archive exception and leaves the list as it was.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include "database/Vehicle.h"

class CIFAmmoArray;
class CKDRDatabase;
class CPieceArray;

class CVehicleArray : public TypedObArray<CVehicle>
{
    DECLARE_SERIAL(CVehicleArray)
public:
    CVehicleArray();
    ~CVehicleArray() override;

    void Serialize(CArchive& ar) override;

    // Reads the named list from the data directory (see OpenListFile for
    // the file dialog); on success the name is the one that opened. FALSE
    // when the user gives up; a bad file raises the archive exception.
    BOOL LoadFromFile(CString& name, const CString& strDataDir);

    CString GetWeaponListName() const { return m_strWeaponListName; }
    // Every vehicle to a weapon list of that many weapons: mounts of a
    // weapon past its end are removed, and each kill table cut or padded
    // with all-zero records to exactly one record per weapon.
    void FitToWeaponList(int weaponCount);

    // Each vehicle's page; their link lines in list order.
    CString WritePages(CKDRDatabase* pDatabase);
    // Deletes each vehicle's page from the current directory.
    void DeletePages();
    // The reports of undefined sound and graphic names (vehicles, their
    // capabilities, then the munitions); empty and FALSE when none.
    BOOL CheckSounds(CString& report);
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces);

    CIFAmmoArray* GetAmmo() const { return m_pAmmo; }

    CString m_strWeaponListName = "*.wep";
    CString m_strVehicleListName = "*.veh";

private:
    CIFAmmoArray* m_pAmmo;  // owned
};
