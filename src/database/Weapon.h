#pragma once
// CWeapon: a direct-fire weapon type: range, penetration, rate of fire,
// optics, reload, its sound and its optional attributes. CWeaponArray is a
// mission's weapon list ("*.wep"); weapon mounts and kill-percentage tables
// name a weapon by its index in it.
//
// Distances: the range is kept in tens of metres, as every reader takes
// it; the page shows it times 10 and the range circle has a radius of
// range x 10 metres.
//
// Weapon record (signed 16-bit words, read back sign-extended): range,
// penetration, time to fire, rounds per fire; name; magnification, time to
// reload, rounds to reload; weapon sound, second text; the attribute list.
//
// "*.wep": the weapons as an object array, the file name, the largest
// penetration of the list (a word, recomputed whenever the list is
// stored). A file that turns out bad raises the archive exception and
// leaves the list as it was.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CKDRDatabase;
class CKDRGameMap;
class CPieceArray;
class CWeaponCapArray;

class CWeapon : public CObject
{
    DECLARE_SERIAL(CWeapon)
public:
    // The label of a range circle: names longer than this are cut.
    static constexpr int kLabelLength = 10;
    static constexpr int kLabelKept = 8;

    CWeapon();
    ~CWeapon() override;
    CWeapon(const CWeapon&) = delete;
    CWeapon& operator=(const CWeapon&) = delete;

    void Serialize(CArchive& ar) override;

    // Writes the weapon's page into the saved-game directory and answers
    // its link line; empty when the template "weapon.htm" cannot be read.
    CString WriteHTMLPage(CKDRDatabase* pDatabase);
    // The range circle around the map point (metres) with the weapon's
    // label on top, on the application's back surface; nothing when the
    // circle lies off the view or the map has no elevation map.
    void DrawRangeArc(float x, float y, CKDRGameMap* pMap);
    // The label the range circle carries: the name, or its first eight
    // characters and "..." when it is longer than ten.
    static CString MakeRangeLabel(const CString& name);

    CWeaponCapArray* GetAttributes() const { return m_pAttributes; }

    int m_nRange = 200;  // tens of metres
    int m_nPenetration = 1;
    int m_nTimeToFire = 10;
    int m_nRoundsPerFire = 1;
    CString m_strName = "120mm smooth bore";
    int m_nMagnification = 11;
    int m_nTimeToReload = 5;
    int m_nRoundsToReload = 1;
    CString m_strWeaponSound;
    // Stored and kept; nothing reads it.
    CString m_strSecondText;

private:
    CWeaponCapArray* m_pAttributes;  // owned
};

class CWeaponArray : public TypedObArray<CWeapon>
{
    DECLARE_SERIAL(CWeaponArray)
public:
    CWeaponArray() = default;

    void Serialize(CArchive& ar) override;

    // Reads the named list from the data directory (see OpenListFile for
    // the file dialog); the name that opened becomes the file name. FALSE
    // when the user gives up; a bad file raises the archive exception and
    // leaves the list as it was.
    BOOL LoadFromFile(const CString& name, const CString& strDataDir);

    // Each weapon's page, in list order; their link lines.
    CString WritePages(CKDRDatabase* pDatabase);
    // Deletes each weapon's page from the current directory.
    void DeletePages();
    // The report of weapon sounds the sound list lacks; empty and FALSE when
    // every one is defined.
    BOOL CheckSounds(CString& report);
    // The report of the attributes' undefined graphics (none can have any).
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces);

    // The largest penetration of the weapons, 0 when none is above 0.
    int ComputeMaxPenetration() const;

    CString m_strFileName = "*.wep";
    int m_nMaxPenetration = 0;
};
