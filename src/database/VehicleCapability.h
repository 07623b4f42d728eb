#pragma once
// CVehicleCapability: the base of what a vehicle type can do beyond moving
// and firing its chassis weapons: a turret, a troop compartment, an
// indirect-fire weapon, a mine layer and the other kinds. Each kind answers
// one single-bit type code; codes are OR-ed into masks wherever abilities
// are asked for. A turret holds capabilities of its own, so every search
// by type looks inside a turret too (CVehicleCapArray::FindByType).
//
// Each unit builds one runtime capability per vehicle capability, in the
// same order and chosen by the type code; the two lists must keep lining
// up, so the array is only ever read, never edited, by the game.
//
// CVehicleCapArray stores itself as a plain object array of class-tagged
// capabilities; a file naming a kind this program does not know fails with
// the archive's class error. Its list of kind names is built, not stored.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CHTMLPage;
class CKDRDatabase;
class CKDRGameMap;
class CPieceArray;
class CVehicleWeaponArray;

// Capability type codes.
constexpr int VCAP_TURRET = 0x1;
constexpr int VCAP_DISMOUNT = 0x2;
constexpr int VCAP_PERSONNEL_CARRIER = 0x4;
constexpr int VCAP_INDIRECT_FIRE = 0x8;
constexpr int VCAP_EMPLACE = 0x10;
constexpr int VCAP_BREACHER = 0x20;
constexpr int VCAP_ENGINEER = 0x40;
constexpr int VCAP_OBSERVER = 0x80;
constexpr int VCAP_FDC = 0x100;
constexpr int VCAP_DF_AMMO_CARRIER = 0x200;
constexpr int VCAP_IF_AMMO_CARRIER = 0x400;
constexpr int VCAP_SMOKER = 0x800;
constexpr int VCAP_FIXED_WING = 0x1000;
constexpr int VCAP_ROTARY_WING = 0x2000;
constexpr int VCAP_MINE_LAYER = 0x4000;

class CVehicleCapability : public CObject
{
    DECLARE_SERIAL(CVehicleCapability)
public:
    CVehicleCapability() = default;

    // The capability's line in the vehicle page's capability list.
    virtual CString WriteHTMLLink(CKDRDatabase* pDatabase);
    // The capability's section of the vehicle page.
    virtual CString WriteHTMLPage(CKDRDatabase* pDatabase);
    // The name a sighted but unidentified vehicle of this ability shows.
    virtual CString GetUnidentifiedName();
    // Adds the weapons the capability carries to a borrowed weapon list.
    virtual void AddWeapons(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase);
    // The range circles of the weapons it carries, around the map point.
    virtual void DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // A capability it contains whose GetType is the type; null when none.
    virtual CVehicleCapability* FindCapability(int type);
    virtual int GetType() { return 0; }
    // The code together with the codes of everything it contains. The
    // answer is a mask of type codes, not of roles (GetRoleFlags).
    virtual int GetTypeMask() { return GetType(); }
    int GetRoleFlags() { return GetTypeMask(); }
    // The volume it adds to the vehicle's target size.
    virtual float GetVolume() { return 0.0f; }
    // The best sight aid in percent, infrared or night vision.
    virtual int GetSightPercent(BOOL bInfrared);
    // Append one line per graphic or sound name the pieces or the sound
    // list lack (an empty name never counts); TRUE when any was appended.
    virtual BOOL CheckGraphics(CString& report, CPieceArray* pPieces);
    virtual CString GetName() { return CString(); }
    virtual BOOL CheckSounds(CString& report);

protected:
    // Loads a kind's template from the data directory, cut to its body;
    // FALSE when it cannot be read.
    static BOOL LoadSection(CHTMLPage& page, const char* templateName, const CKDRDatabase* pDatabase);
    // The kind's link line: "#" + anchor, labelled.
    static CString MakeAnchorLink(const char* anchor, const char* label);
    // Appends the check line of a graphic the pieces lack (an empty name is
    // never reported); TRUE when it did.
    static BOOL CheckPiece(CString& report, CPieceArray* pPieces, const char* what, const CString& name);
    // Likewise for a sound of the kind (SOUND_KIND_ARTILLERY ...).
    static BOOL CheckSound(CString& report, int kind, const char* what, const CString& name);
};

class CVehicleCapArray : public TypedObArray<CVehicleCapability>
{
    DECLARE_SERIAL(CVehicleCapArray)
public:
    // The names of the fifteen kinds, in the order of the kind list (not
    // the order of their codes: "Indirect Fire" comes first).
    CVehicleCapArray();

    void DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The best answer of the elements, never below 0.
    int GetMaxSightPercent(BOOL bInfrared);
    float GetTotalVolume();
    // "Unidentified dismount" when an element is a dismount; else the first
    // element's name that is not empty; else empty.
    CString GetUnidentifiedName();
    void AddWeapons(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase);
    // The elements' link lines; the None paragraph when there are none.
    CString WriteHTMLLinks(CKDRDatabase* pDatabase);
    // The elements' page sections; empty when there are none.
    CString WriteHTMLPages(CKDRDatabase* pDatabase);
    // Every element is asked; TRUE when any appended a line.
    BOOL CheckGraphics(CString& report, CPieceArray* pPieces);
    BOOL CheckSounds(CString& report);

    // The OR of the elements' GetType (top level only) and of their
    // GetTypeMask (contents included).
    int GetTypeBits();
    int GetTypeMask();
    // The first element of the type, looking inside each element that is
    // not of it; null when none.
    CVehicleCapability* FindByType(int type);

    CStringArray m_typeNames;
};
