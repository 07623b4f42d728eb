#pragma once
// CKDRDatabase: the document's equipment database component. It names the
// mission's four list files (weapons "*.wep", vehicles "*.veh", map pieces
// "*.pca", sounds "*.smg"), owns the loaded weapon, vehicle and piece
// lists, answers the look-ups of the rest of the program by index, writes
// the equipment pages with their index into the saved-game directory
// and owns the "Vehicle Specs" window that shows them. The sound list
// itself goes to the application's sound manager; the database only names
// it, loads it and checks the records against it.
//
// The scenario stores only the five names (weapon, vehicle, piece and sound
// list, then a spare name); ReloadLists reads the lists when the document
// opens the mission, and the names follow the files that really loaded.
//
// Replacing a loaded list asks first. A load that the user declines or
// gives up, or whose file turns out short or corrupt (its archive message
// is shown), changes nothing: the old list, its flag and its name stay.
// The vehicles are kept fitted to the weapon list held: one kill record per
// weapon and no mount of a weapon past its end.
//
// The pages are deleted from the saved-game directory when the database
// goes; every page name comes from CHTMLPage::MakePageName.

#include "platform/core/Core.h"

class CIFAmmo;
class CPiece;
class CPieceArray;
class CVehicle;
class CVehicleArray;
class CVehicleSpecsDlg;
class CWeapon;
class CWeaponArray;

class CKDRDatabase : public CObject
{
    DECLARE_SERIAL(CKDRDatabase)
public:
    CKDRDatabase();
    ~CKDRDatabase() override;
    CKDRDatabase(const CKDRDatabase&) = delete;
    CKDRDatabase& operator=(const CKDRDatabase&) = delete;

    // Five archive strings: weapon, vehicle, piece and sound list names,
    // then the spare name.
    void Serialize(CArchive& ar) override;

    // The data directory the lists and templates are read from and the
    // saved-game directory the pages go to; the document hands both over
    // before it loads the lists. Until then no directory is made current
    // and no page is deleted.
    void SetDirectories(const CString& strDataDir, const CString& strSavegameDir);
    const CString& GetDataDir() const { return m_strDataDir; }
    const CString& GetSavegameDir() const { return m_strSavegameDir; }

    // Loads the sound list, the pieces, the weapons and the vehicles whose
    // names are set, in that order; 0 at the first that fails, which stops
    // the document's open. A scenario that names none loads none.
    BOOL ReloadLists();

    // Load or replace one list (see the header comment); 1 on success.
    BOOL LoadWeaponList(const CString& name);
    BOOL LoadVehicleList(const CString& name);
    BOOL LoadSoundList(const CString& name);
    BOOL LoadPieceArray(const CString& name);

    // Shows the undefined sounds, or graphics, of the vehicles and weapons
    // in one report window; TRUE when anything was undefined.
    BOOL CheckSounds();
    BOOL CheckGraphics();
    // The text those windows show (empty when nothing is undefined).
    CString BuildSoundsReport();
    CString BuildGraphicsReport();

    // ---- Look-ups: null outside the list or when it is not loaded ----
    CVehicle* GetVehicle(int index) const;
    CWeapon* GetWeapon(int index) const;
    // A munition of the vehicle list's ammunition array.
    CIFAmmo* GetIFAmmo(int index) const;
    // The map piece of the vehicle type at the index (vehicles and pieces loaded).
    CPiece* GetVehiclePiece(int index) const;
    // The single piece the vehicle names as its piece graphic.
    CPiece* GetPieceOfVehicle(const CVehicle* pVehicle) const;
    CWeaponArray* GetWeaponArray() const { return m_bWeaponsLoaded ? m_pWeapons : nullptr; }
    CVehicleArray* GetVehicleArray() const { return m_bVehiclesLoaded ? m_pVehicles : nullptr; }
    CPieceArray* GetPieceArray() const { return m_bPiecesLoaded ? m_pPieces : nullptr; }

    // Whether a vehicle list is loaded, and its number of vehicle types (0
    // without one); the force counts are kept per vehicle type.
    BOOL HasVehicleList() const { return m_bVehiclesLoaded; }
    BOOL HasWeaponList() const { return m_bWeaponsLoaded; }
    // Whether the indirect-fire munitions are there: a vehicle list is
    // loaded with its ammunition array.
    BOOL IsIFAmmoLoaded() const;
    int GetVehicleCount() const;

    // ---- Pages ----
    // Every record's page and "index.htm", into the saved-game directory.
    // Nothing is written when the template "index.htm" cannot be read.
    void WriteIndexPage();
    BOOL ArePagesWritten() const { return m_bPagesWritten; }
    // Opens the Vehicle Specs window on the page of the vehicle type at the
    // index, or on "index.htm" when the index names none; nothing before
    // the pages are written.
    void ShowVehiclePage(int index);
    // Whether the Vehicle Specs window is on the screen.
    BOOL IsSpecsWindowOpen() const;
    CVehicleSpecsDlg* GetSpecsWindow() const { return m_pSpecsDlg; }

    CString m_strSpare;
    CString m_strWeaponList;   // "*.wep"
    CString m_strVehicleList;  // "*.veh"
    CString m_strPieceList;    // "*.pca"
    CString m_strSoundList;    // "*.smg"

private:
    BOOL LoadWeaponListFrom(const CString& name);
    BOOL LoadVehicleListFrom(const CString& name);
    BOOL LoadSoundListFrom(const CString& name);
    BOOL LoadPieceArrayFrom(const CString& name);
    // Asks before a list is replaced; TRUE for the answer OK.
    static BOOL Confirm(const char* text);
    // Deletes all the pages written from the lists held and the index.
    void DeletePages();

    CWeaponArray* m_pWeapons = nullptr;    // owned while its flag is set
    CVehicleArray* m_pVehicles = nullptr;  // owned while its flag is set
    CPieceArray* m_pPieces;                // owned
    BOOL m_bWeaponsLoaded = FALSE;
    BOOL m_bVehiclesLoaded = FALSE;
    BOOL m_bPiecesLoaded = FALSE;
    BOOL m_bSoundsLoaded = FALSE;
    BOOL m_bPagesWritten = FALSE;
    CVehicleSpecsDlg* m_pSpecsDlg;  // owned
    CString m_strDataDir;
    CString m_strSavegameDir;
};
