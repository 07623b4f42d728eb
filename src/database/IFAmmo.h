#pragma once
// CIFAmmo: an indirect-fire munition, a round that artillery and mortars
// fire at a map point: its names, range, blast radius, lethality, one
// munition type bit, its splash sound and burst graphic, and the
// capabilities that carry its special effects (CIFAmmoCapArray). All of a
// mission's munitions live in one CIFAmmoArray that the vehicle list owns
// and stores after its vehicles; everything else names a munition by its
// index there (CKDRDatabase::GetIFAmmo).
//
// Units: the range is in metres, as the fire missions compare it with map
// distances; the page shows it, and the blast radius, times ten as
// written. Lethality is a fraction (the page shows it times 100).
//
// Stored form: the capabilities (an object array), name, qualifier,
// splash sound, burst graphic (texts), range, blast radius (words),
// lethality (float), munition type (word).

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CIFAmmoCapArray;
class CKDRDatabase;
class CPieceArray;

// Munition type bits: exactly one per munition.
constexpr int MUNITION_HE = 0x1;
constexpr int MUNITION_HERAP = 0x2;
constexpr int MUNITION_DPICM = 0x4;
constexpr int MUNITION_BBDPICM = 0x8;
constexpr int MUNITION_SMOKE = 0x10;
constexpr int MUNITION_CHEMICAL = 0x20;
constexpr int MUNITION_NUCLEAR = 0x40;
constexpr int MUNITION_ILLUM = 0x80;
constexpr int MUNITION_FASCAM = 0x100;
constexpr int MUNITION_PGM = 0x200;

class CIFAmmo : public CObject
{
    DECLARE_SERIAL(CIFAmmo)
public:
    CIFAmmo();
    ~CIFAmmo() override;
    CIFAmmo(const CIFAmmo&) = delete;
    CIFAmmo& operator=(const CIFAmmo&) = delete;

    void Serialize(CArchive& ar) override;

    // Name + " (" + qualifier + ")": the munition's title everywhere; its
    // page is this name followed by ".htm".
    CString GetDisplayName() const;
    // "HE" ... "PGM" for the one bit of the munition type; empty for any
    // other value.
    CString GetMunitionTypeText() const;
    // The precision-guidance foot print (stored value) and TRUE; kUnset
    // and FALSE for a munition without precision guidance.
    BOOL GetPGMFootPrint(int* pFootPrint) const;
    // Writes the munition's page into the saved-game directory and answers
    // its link line; empty, and no page, without the template "ifAmmo.htm".
    CString WritePage(CKDRDatabase* pDatabase);
    // Appends the line of an undefined splash sound; TRUE when it did.
    BOOL CheckSound(CString& report) const;

    CIFAmmoCapArray* GetCapabilities() const { return m_pCapabilities; }

    CString m_strName;
    CString m_strQualifier;     // shown in brackets after the name
    CString m_strSplashSound;   // an artillery sound
    CString m_strBurstGraphic;  // a piece
    int m_nRange = 0;           // metres
    int m_nBlastRadius = 0;
    float m_fLethality = 0.0f;  // fraction killed inside the blast radius
    int m_nMunitionType = 0;

private:
    CIFAmmoCapArray* m_pCapabilities;  // owned
};

class CIFAmmoArray : public TypedObArray<CIFAmmo>
{
    DECLARE_SERIAL(CIFAmmoArray)
public:
    CIFAmmoArray() = default;

    // Writes every munition's page; their link lines, in order, for the
    // index page's ammunition list.
    CString WritePages(CKDRDatabase* pDatabase);
    // Deletes the munitions' pages from the current directory.
    void DeletePages();
    // Undefined splash sounds, and burst graphics under the header "UNDEFINED
    // PIECES FOUND IN INDIRECT FIRE AMMO ARRAY!"; TRUE when any, and the
    // report untouched when none.
    BOOL CheckSounds(CString& report);
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces);
};
