#pragma once
// CUCapTurret: a unit's turret. It owns the weapons on the turret's mounts,
// its own damage list, its direction within the traverse limits, its
// pictures, and the capabilities mounted on it (an observer's sight, a
// smoke discharger ...) in a capability array of its own that mirrors the
// vehicle turret's own capability list. The unit sees one capability:
// searches by type, the type mask and the unidentified icon reach the
// mounted capabilities through it.
//
// Stored form: the weapons, the mounted capabilities and the damage list
// (each in its own form); direction (float); target unit, array, kind and
// the stored value (signed 16-bit words, read back sign-extended); offset
// (float). Pictures are not stored. A turret may carry a turret, but a file
// nesting them more than MAX_NESTING deep is refused with the archive
// exception, so a crafted file cannot exhaust the stack.

#include "units/UnitCapability.h"

class CDamageArray;
class CSprite;
class CVCapTurret;

class CUCapTurret : public CUnitCapability
{
    DECLARE_SERIAL(CUCapTurret)
public:
    // The deepest turret-in-turret nesting a file may hold.
    static constexpr int MAX_NESTING = 8;
    // The offset of a turret that follows the hull.
    static constexpr float NO_OFFSET = -99.0f;

    CUCapTurret();
    // Weapons on the vehicle turret's mounts (full loads), and one mounted
    // capability per entry of its own capability list.
    CUCapTurret(CVCapTurret* pVehicleCap, CKDRDatabase* pDatabase);
    ~CUCapTurret() override;

    void Serialize(CArchive& ar) override;

    // The mounted capabilities answer for the turret.
    CString GetUnidentifiedName() const override;
    CString GetUnidentifiedBitmap() const override;
    CUnitCapability* FindCapability(DWORD dwType) override;
    DWORD GetFlagMask() const override;
    DWORD GetType() const override { return VCAP_TURRET; }
    CString GetName() const override { return "Turret"; }

    CUnitWeaponArray* GetWeapons() const { return m_pWeapons; }
    CUnitCapArray* GetSubCapabilities() const { return m_pSubCaps; }
    CDamageArray* GetDamage() const { return m_pDamage; }

    float m_fDirection = 0.0f;  // radians, as the unit's heading
    int m_nTargetUnit = -99;    // -99 none; -88 laid on a fire-mission bearing
    int m_nTargetArray = -99;
    int m_nTargetKind = -99;
    int m_nStoredValue = 0;
    float m_fOffset = NO_OFFSET;  // radians from the hull

    CSprite* m_pSprite = nullptr;  // owned
    BOOL m_bSpriteLoaded = FALSE;
    BOOL m_bArrowLoaded = FALSE;
    CSprite* m_pArrow = nullptr;  // owned

private:
    CUnitWeaponArray* m_pWeapons;  // owned
    CUnitCapArray* m_pSubCaps;     // owned
    CDamageArray* m_pDamage;       // owned
};
