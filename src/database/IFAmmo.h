#pragma once
// CIFAmmoArray: the indirect-fire munitions a vehicle list carries after
// its vehicles, named by index by the indirect-fire capabilities, the
// carriers, the fire missions and the units.
//
// Least form: the munition records are not built yet, so the array is
// always empty. It stores itself as an empty object array, and a list file
// that carries any munition fails with the archive's class error rather
// than be half read. Its page, sound and graphics answers are those of an
// empty array.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

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

// The munition record's base: no factory until the records are built, so
// a list that names one is refused before anything is made.
class CIFAmmo : public CObject
{
    DECLARE_DYNAMIC(CIFAmmo)
};

class CIFAmmoArray : public TypedObArray<CIFAmmo>
{
    DECLARE_SERIAL(CIFAmmoArray)
public:
    CIFAmmoArray() = default;

    void Serialize(CArchive& ar) override;

    // The munitions' link lines for the index page (their pages written).
    CString WritePages(CKDRDatabase* pDatabase);
    // Deletes the munitions' pages from the current directory.
    void DeletePages();
    BOOL CheckSounds(CString& report);
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces);
};
