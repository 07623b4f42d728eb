#pragma once
// CKDRDatabase: the document's equipment database component. The scenario
// stores only its five names (weapon list, vehicle list, piece array, sound
// list, and a spare fifth name); the lists come from their own files when
// the document opens the mission.
//
// The lists themselves are not held here yet: ReloadLists keeps the names
// and loads nothing, so no vehicle list is ever loaded and the lookups give
// their empty answers. The stored form is complete.

#include "platform/core/Core.h"

class CKDRDatabase : public CObject
{
    DECLARE_SERIAL(CKDRDatabase)
public:
    CKDRDatabase();
    ~CKDRDatabase() override;

    // Five archive strings: weapon, vehicle, piece and sound list names,
    // then the spare name.
    void Serialize(CArchive& ar) override;

    // Loads the named lists; 0 stops the document's open.
    BOOL ReloadLists();

    // Writes the equipment pages and their index once a mission is open.
    void WriteIndexPage();

    // Whether a vehicle list is loaded, and its number of vehicle types (0
    // without one); the force counts are kept per vehicle type.
    BOOL HasVehicleList() const { return m_bVehiclesLoaded; }
    int GetVehicleCount() const { return 0; }

    CString m_strSpare;
    CString m_strWeaponList;   // "*.wep"
    CString m_strVehicleList;  // "*.veh"
    CString m_strPieceList;    // "*.pca"
    CString m_strSoundList;    // "*.smg"

    BOOL m_bWeaponsLoaded = FALSE;
    BOOL m_bVehiclesLoaded = FALSE;
    BOOL m_bPiecesLoaded = FALSE;
    BOOL m_bSoundsLoaded = FALSE;
    BOOL m_bPagesWritten = FALSE;
};
