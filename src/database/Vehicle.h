#pragma once
// CVehicle: a vehicle type (or dismounted team): mobility, size, sight, the
// values the fire and target logic weigh, the names of its map graphics and
// sounds, its chassis weapon mounts, its capabilities and its kill
// percentages against every weapon of the weapon list. Units name their
// type by its index in the vehicle list (CKDRDatabase::GetVehicle).
//
// Distances: the view range is in tens of metres; the page shows it x 10.
//
// Vehicle record ("word": signed 16-bit, read back sign-extended): the kill
// percentages, the chassis mounts and the capabilities (each array in its
// own form); speed, sprint, reverse (floats); turn speed, turn radius,
// view range (words); name; time to move (word); height, width, length
// (floats); weight (word); the flag (a 0/1 word: a zero word read leaves it
// as it was); time to defilade (word); NATO piece, piece, hit and destroyed
// graphics, vehicle and destroyed sounds (six texts); target, threat,
// protection, PGM, DPICM, HE, nuclear and chemical values (eight words);
// picture (text); NBC detect value (float); role mask, spare word (words).

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CKDRDatabase;
class CKDRGameMap;
class CKillPercentageArray;
class CPieceArray;
class CVehicleCapability;
class CVehicleCapArray;
class CVehicleWeaponArray;

// Role flags of a vehicle type, used when platoons and companies are formed.
constexpr int ROLE_ATTACK = 0x1;
constexpr int ROLE_ARTILLERY = 0x2;
constexpr int ROLE_ANTI_TANK = 0x4;
constexpr int ROLE_DISMOUNT = 0x8;
constexpr int ROLE_INTEL = 0x10;
constexpr int ROLE_RECON = 0x20;
constexpr int ROLE_AIR_DEFENSE = 0x40;
constexpr int ROLE_FIXED_WING = 0x80;
constexpr int ROLE_ROTARY_WING = 0x100;
constexpr int ROLE_TROOP_CARRIER = 0x200;
constexpr int ROLE_ENGINEER = 0x400;
constexpr int ROLE_SERVICE_SUPPORT = 0x800;
constexpr int ROLE_C2 = 0x1000;
constexpr int ROLE_OBSERVER = 0x2000;

class CVehicle : public CObject
{
    DECLARE_SERIAL(CVehicle)
public:
    // Kind codes of GetKindCode, OR-ed by the units over a list of them.
    static constexpr int kKindGround = 1;
    static constexpr int kKindDismount = 2;
    static constexpr int kKindRotaryWing = 4;
    static constexpr int kKindFixedWing = 8;

    // Platoon and company categories of RoleFlagsToCategory.
    static constexpr int kCategoryNone = 0;
    static constexpr int kCategoryDismount = 1;
    static constexpr int kCategoryAntiTank = 2;
    static constexpr int kCategoryAttack = 3;
    static constexpr int kCategoryRecon = 4;

    // Cubic metres of the vehicle's box to its target size.
    static constexpr float kTargetSizePerVolume = 0.018066194f;

    CVehicle();
    ~CVehicle() override;
    CVehicle(const CVehicle&) = delete;
    CVehicle& operator=(const CVehicle&) = delete;

    void Serialize(CArchive& ar) override;

    // Writes the type's page into the saved-game directory and answers its
    // link line; empty when the template "vehicle.htm" cannot be read.
    CString WriteHTMLPage(CKDRDatabase* pDatabase);
    // The range circles of the chassis weapons, then of the capabilities'.
    void DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap);

    // ---- Queries of the units, hierarchy and conditions ----
    // The height, plus the first turret's height when the type has one.
    float GetTotalHeight();
    // The best sight aid of the capabilities and the chassis mounts.
    int GetMaxSightPercent(bool bInfrared);
    float GetTargetSize();
    // What a detected but unidentified unit of this type is called.
    CString GetIdentifiedName();
    // A new list of every mount of the type (chassis first, then the
    // capabilities'), ordered by penetration; it borrows the mounts and
    // the caller deletes it.
    CVehicleWeaponArray* BuildWeaponList(CKDRDatabase* pDatabase);
    // kKindDismount, kKindFixedWing, kKindRotaryWing or kKindGround by the
    // capabilities; 0 without a capability array.
    int GetKindCode();
    // The value against one munition type bit; kUnset for a bit that has none.
    int GetMunitionValue(int munitionBit) const;
    // The first capability of the type, inside a turret too; null when none.
    CVehicleCapability* FindCapability(int type);

    static int RoleFlagsToCategory(int roleMask);
    // The role words of the mask joined by ", "; two words by " and ", and
    // with three or more "and" follows the last comma directly.
    static CString RoleFlagsToText(int roleMask);

    CVehicleWeaponArray* GetChassisMounts() const { return m_pChassisMounts; }
    CVehicleCapArray* GetCapabilities() const { return m_pCapabilities; }
    CKillPercentageArray* GetKillPercentages() const { return m_pKillPercentages; }

    float m_fSpeed = 0.0f;
    float m_fSprint = 0.0f;
    float m_fReverse = 0.0f;
    int m_nTurnSpeed = 0;
    int m_nTurnRadius = 0;
    int m_nViewRange = 1;  // tens of metres
    CString m_strName;
    int m_nTimeToMove = 999;
    float m_fHeight = 1.0f;  // metres
    float m_fWidth = 1.0f;
    float m_fLength = 1.0f;
    int m_nWeight = 0;
    BOOL m_bFlag = FALSE;  // stored and kept; nothing reads it
    int m_nTimeToDefilade = 0;
    CString m_strNatoPiece;         // a piece list member
    CString m_strPiece;             // a single piece
    CString m_strHitGraphic;        // a single piece
    CString m_strDestroyedGraphic;  // a single piece
    CString m_strVehicleSound;
    CString m_strDestroyedSound;
    int m_nTargetValue = 0;
    int m_nThreatValue = 0;
    int m_nProtectionValue = 0;
    int m_nPGMValue = 0;
    int m_nDPICMValue = 0;
    int m_nHEValue = 0;
    int m_nNuclearValue = 0;
    int m_nChemicalValue = 0;
    CString m_strPicture;
    float m_fNBCDetectValue = 1.0f;
    int m_nRoleMask = 0;
    int m_nSpareWord = 0;  // stored and kept; nothing reads it

private:
    CVehicleWeaponArray* m_pChassisMounts;     // owned
    CVehicleCapArray* m_pCapabilities;         // owned
    CKillPercentageArray* m_pKillPercentages;  // owned
};
