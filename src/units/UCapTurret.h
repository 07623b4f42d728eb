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
//
// Aiming: the turret follows the hull (no offset), holds an offset from
// it, or lies on the middle of the unit's field of fire, always within the
// vehicle turret's traverse limits (mils; a negative limit means none on
// that side). Every operation the unit sends is passed on to the mounted
// capabilities, which aim with the turret's direction.

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
    // The target of a turret laid on a fire mission's bearing.
    static constexpr int FIRE_MISSION_TARGET = -88;
    // Update flags of mounted capabilities: a firing bearing was laid; the
    // turret may follow the hull again.
    static constexpr DWORD FLAG_FIRING_BEARING = 0x100;
    static constexpr DWORD FLAG_RELEASE = 0x200;

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

    // Operations passed on to the mounted capabilities, some with work of
    // the turret's own.
    void AddMenuItems(CMenu* pMenu) override;
    void OnMove(CKDRDatabase* pDatabase, int nVehicle) override;
    void OnStop(CKDRDatabase* pDatabase, int nVehicle) override;
    void OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nCause1, int nCause2, int nCause3) override;
    int OnSideChanged(int nSide) override;
    CObject* GetBreachTarget(CKDRObstacles* pObstacles) override;
    void OnObstacleDeleted(int nSide, int nIndex) override;
    // A new path: the turret drops its target.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn) override;
    // At a formation node the turret follows the hull again.
    void OnFormationNode(int nValue) override;
    void ApplyViewSetting(float fScale) override;
    BOOL HitTest(int x, int y) override;
    // The mounted capabilities' lines, then the turret weapons'.
    void GetWeaponLines(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase) override;
    // The mounted capabilities' weapons, then the turret's, marked with
    // the depth as turret weapons.
    void AddWeaponsToList(int nVehicle, CUnitWeaponArray* pList, CKDRDatabase* pDatabase, int nDepth) override;
    void ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    BOOL ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase) override;
    // The turret picture from the vehicle turret's piece; TRUE when made,
    // or when the vehicle turret names no piece; FALSE when its piece is
    // not in the database (the turret then works without a picture).
    BOOL AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                                 CVehicle* pVehicle) override;
    BOOL Validate(CVehicle* pVehicle, CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                  CString& report) override;
    void RebuildWeapons(CVehicle* pVehicle, CKDRDatabase* pDatabase) override;
    // The target is forgotten or renumbered as a dismount's carrier is.
    void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit) override;

    // Lays the turret on the bearing within the limits (see above); with
    // bReset, or a bearing on the hull's heading, it follows the hull.
    // Without a vehicle turret the direction and offset stay.
    void AimAt(CVehicle* pVehicle, float fHullHeading, float fBearing, BOOL bReset) override;
    // While the turret has no target it keeps its offset from the new
    // heading, or lies on the middle of the field of fire when an arc is
    // given (both ends not -99).
    void OnHeadingChanged(CVehicle* pVehicle, float fHeading, CKDRDatabase* pDatabase, int nArcFrom,
                          int nArcTo) override;
    // The turret weapons count down; a mounted indirect-fire capability
    // that lays a firing bearing (0x100) turns the turret to it, and 0x200
    // frees it to follow the hull. Answers the remaining flags.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;
    // The direction arrow "Turret Direction Arrow Green" at the map point.
    void DrawMarker(CKDRGameMap* pMap, float x, float y) override;

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
