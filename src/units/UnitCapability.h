#pragma once
// A unit's run-time capabilities: one object per capability of its vehicle
// type, in the same order and answering the same type code (VCAP_TURRET ...
// VCAP_MINE_LAYER), so that member i always belongs to vehicle capability i.
// The unit never names a capability class: it calls one operation on all of
// them through CUnitCapArray, asks for the OR of their type codes, or finds
// the one with a type code and calls it.
//
// CUnitCapability is the base of the fifteen kinds (UCapTurret.h,
// UCapKinds.h, UCapIndirectFire.h). Each operation's base answer is the one
// a kind gives when it has nothing to do with it; a kind overrides what
// concerns it. A plain CUnitCapability stands in for a vehicle capability
// of a type this program does not know, so the indexes stay aligned, and
// stores nothing.
//
// CUnitCapArray owns its members. It stores itself as a plain object array
// (a count, then each member class-tagged with its own fields); its list of
// kind names is built, not stored. A file may hold empty slots: every
// operation of the array skips them.

#include "database/VehicleCapability.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/core/Unset.h"

class CBreach;
class CBreachArray;
class CKDRDatabase;
class CKDRGameMap;
class CKDRObstacles;
class CKDRUnits;
class CMenu;
class CUnit;
class CUnitWeaponArray;
class CVehicle;

// Where the unit's context menu keeps its submenus: the popup at position 0
// of the menu, and in it the Actions, SOP and Orders submenus.
constexpr int UNIT_MENU_POPUP = 0;
constexpr int UNIT_MENU_ACTIONS = 7;
constexpr int UNIT_MENU_SOP = 8;
constexpr int UNIT_MENU_ORDERS = 6;

// The kinds that add commands to the Actions submenu; a unit with none of
// them shows no Actions submenu at all.
constexpr DWORD UCAP_ACTIONS_MASK =
    VCAP_PERSONNEL_CARRIER | VCAP_INDIRECT_FIRE | VCAP_DF_AMMO_CARRIER | VCAP_IF_AMMO_CARRIER | VCAP_MINE_LAYER;

// The unidentified-contact icon of a unit no capability names (frame name in
// the unidentified icon piece, and the symbol's piece), and of a dismounted
// team, which wins over every capability.
extern const char* const UCAP_UNIDENTIFIED_VEHICLE;
extern const char* const UCAP_UNKNOWN_VEHICLE_BITMAP;
extern const char* const UCAP_UNIDENTIFIED_DISMOUNT;
extern const char* const UCAP_UNKNOWN_DISMOUNT_BITMAP;

// The side a breach records for an obstacle region of the map's terrain
// (an obstacle of the obstacles component records its own side).
constexpr int BREACH_SIDE_TERRAIN = kUnset;

// The obstacle a breach works through, as the move step hands it to a
// breaching capability: an obstacle of the obstacles component (its index
// and side) or an obstacle region of the terrain (its index in the terrain
// list, side BREACH_SIDE_TERRAIN), its lane list, and the lane met (kUnset:
// none yet).
struct BreachTarget
{
    CObject* pObstacle = nullptr;  // a CObstacle or a CTerrain
    CBreachArray* pLanes = nullptr;
    int nObstacle = kUnset;
    int nSide = kUnset;
    int nLane = kUnset;

    BOOL IsTerrain() const { return nSide == BREACH_SIDE_TERRAIN; }
};

class CUnitCapability : public CObject
{
    DECLARE_SERIAL(CUnitCapability)
public:
    CUnitCapability() = default;
    ~CUnitCapability() override = default;
    CUnitCapability(const CUnitCapability&) = delete;
    CUnitCapability& operator=(const CUnitCapability&) = delete;

    // The operations in their fixed order. Values described as passed
    // through are handed on untouched to the kinds that use them.

    // 1. Takes rounds from another unit's carrier capability; TRUE when
    // anything was taken. Base: FALSE.
    virtual BOOL ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase);
    // 2. Appends the ammunition lines of the information sheet.
    virtual void GetAmmunitionLines(CStringList& lines, CKDRDatabase* pDatabase);
    // 3. Appends the weapon lines of the information sheet.
    virtual void GetWeaponLines(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase);
    // 4. Adds the capability's weapons to an engagement list; nDepth marks
    // how deep inside turrets the capability sits.
    virtual void AddWeaponsToList(int nVehicle, CUnitWeaponArray* pList, CKDRDatabase* pDatabase, int nDepth);
    // 5. The unit was destroyed (the values of its destruction pass through).
    virtual void OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nCause1, int nCause2, int nCause3);
    // 6. Lays the capability on a bearing (radians) from the hull heading.
    virtual void AimAt(CVehicle* pVehicle, float fHullHeading, float fBearing, BOOL bReset);
    // 7. The frame name of the unidentified-contact icon; empty: no opinion.
    virtual CString GetUnidentifiedName() const;
    // 8. The piece name of the unidentified-contact symbol; empty: no opinion.
    virtual CString GetUnidentifiedBitmap() const;
    // 9. The mission's deployment is (re)started.
    virtual void ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit);
    // 10. Draws the capability's marker at the map point.
    virtual void DrawMarker(CKDRGameMap* pMap, float x, float y);
    // 11. Ends a breach in progress. Base: 0.
    virtual int CancelBreach();
    // 12. A capability contained in this one whose type is dwType; null when
    // none. Base: null.
    virtual CUnitCapability* FindCapability(DWORD dwType);
    // 13. One pass of the game loop: dt whole game seconds, the current game
    // time; answers a word of event flags for the unit. Base: 0.
    virtual DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                         int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5);
    // 14. Adds the capability's commands to the unit's context menu.
    virtual void AddMenuItems(CMenu* pMenu);
    // 15. The unit moves off.
    virtual void OnMove(CKDRDatabase* pDatabase, int nVehicle);
    // 16. The view's icon scale changed.
    virtual void ApplyViewSetting(float fScale);
    // 17. Further type codes the unit shows besides GetType (a container's
    // contents). Base: 0.
    virtual DWORD GetFlagMask() const;
    // 18. The unit halts.
    virtual void OnStop(CKDRDatabase* pDatabase, int nVehicle);
    // 19. The hull heading changed; the field-of-fire arc in mils, -99 and
    // -99 when none.
    virtual void OnHeadingChanged(CVehicle* pVehicle, float fHeading, CKDRDatabase* pDatabase, int nArcFrom,
                                  int nArcTo);
    // 20. and 21. The unit meets an obstacle, or goes on through one of
    // its lanes. (x, y) comes in as the unit's position and goes out as
    // the goal point of the breach; (fPrevX, fPrevY) comes in as the
    // unit's previous position and goes out as its new position. dt: the
    // move step's game seconds. fBearingHint: the lane's direction, or
    // negative when there is no lane yet. Nonzero when the capability took
    // the breach over. Base: 0.
    virtual int StartBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                            CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                            float fBearingHint);
    virtual int ContinueBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                               CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                               float fBearingHint);
    // 22. Whether the capability's picture covers the screen point. Base: 0.
    virtual BOOL HitTest(int x, int y);
    // 23. The capability's type code. Base: 0.
    virtual DWORD GetType() const;
    // 24. Places the capability's pictures at the unit's map point.
    virtual void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y,
                              float fHeading, float fZoom);
    // 25. Draws the capability with the unit's drawing values.
    virtual void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                      BOOL bVisible, BOOL bSecondPicture, float fHeading);
    // 26. The unit was given a new path at (x, y); FALSE vetoes. Base: TRUE.
    virtual BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn);
    // 27. Binds the capability to its vehicle capability. Base: TRUE.
    virtual BOOL AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase, CVehicle* pVehicle);
    // 28. The unit changed sides. Base: 1.
    virtual int OnSideChanged(int nSide);
    // 29. The unit reached a formation node.
    virtual void OnFormationNode(int nValue);
    // 30. The unit returns to its starting state.
    virtual void Reset(float fHeading, int nValue1, int nValue2);
    // 31. Forgets every mount and dismount in progress.
    virtual void ResetMountState();
    // 32. An obstacle of a side was deleted.
    virtual void OnObstacleDeleted(int nSide, int nIndex);
    // 33. The record a breach in progress works on (the obstacle, or the
    // terrain feature); null when none, and a breach whose obstacle or
    // lane has gone is cancelled.
    virtual CObject* GetBreachTarget(CKDRObstacles* pObstacles);
    // 34. Rebuilds the capability's weapons for its vehicle type.
    virtual void RebuildWeapons(CVehicle* pVehicle, CKDRDatabase* pDatabase);
    // 35. A unit (nUnit, -99: its whole array) of an array was deleted.
    virtual void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit);
    // 36. Checks the capability against its vehicle capability, appending
    // to the report; TRUE on an error. Base: FALSE.
    virtual BOOL Validate(CVehicle* pVehicle, CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                          CString& report);
    // 37. The kind's name ("Turret" ...). Base: empty.
    virtual CString GetName() const;
};

class CUnitCapArray : public TypedObArray<CUnitCapability>
{
    DECLARE_SERIAL(CUnitCapArray)
public:
    // Empty, with the kind names.
    CUnitCapArray();
    // One member per vehicle capability, in the same order, each built from
    // its vehicle capability (a full load, idle state); a null or unknown
    // vehicle capability gives a plain CUnitCapability.
    CUnitCapArray(CVehicleCapArray* pVehicleCaps, CKDRDatabase* pDatabase);
    CUnitCapArray(const CUnitCapArray&) = delete;
    CUnitCapArray& operator=(const CUnitCapArray&) = delete;

    // The same build in place, from a vehicle type's capabilities (replacing
    // the members); FALSE without a vehicle type.
    BOOL BuildFromVehicle(CVehicle* pVehicle, CKDRDatabase* pDatabase);

    // Binds every member to its vehicle capability: the vehicle type's list,
    // or with bTurretOnly the own list of its turret (an empty list when it
    // has none). Each vehicle capability binds the first member of its type
    // (inside turrets too); FALSE at once when none has it, and FALSE when a
    // member refuses, though the others are still bound. FALSE without a
    // vehicle type.
    BOOL AttachToVehicle(CVehicle* pVehicle, CKDRDatabase* pDatabase, BOOL bTurretOnly);
    // TRUE on a mismatch with the vehicle capability list (size, or type at
    // an index) or when a member's Validate fails; the mismatch texts are
    // appended to the report as they stand.
    BOOL CheckAlignment(CVehicle* pVehicle, CVehicleCapArray* pVehicleCaps, CKDRDatabase* pDatabase, CString& report);

    // The OR of every member's GetType and GetFlagMask; 0 when empty.
    DWORD GetTypeMask() const;
    // The member of the type, or failing that the first non-null answer of
    // a member's own FindCapability, in index order; null when none.
    CUnitCapability* FindCapability(DWORD dwType) const;

    // The unit's unidentified-contact icon: a dismounted team's, else the
    // first member's that has one, else the plain vehicle's.
    CString GetUnidentifiedName() const;
    CString GetUnidentifiedBitmap() const;
    // The first member's non-empty answer; empty when none has one.
    CString FindUnidentifiedName() const;
    CString FindUnidentifiedBitmap() const;

    // Shows the Actions submenu (without its placeholder) only when a member
    // offers actions, then lets every member add its commands.
    void AddMenuItems(CMenu* pMenu);

    // The operations on every member in index order.
    // AND of the answers, every member asked; TRUE when empty.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn);
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale, BOOL bVisible,
              BOOL bSecondPicture, float fHeading);
    void OnSideChanged(int nSide);
    // TRUE at the first member that answers TRUE.
    BOOL HitTest(int x, int y);
    void OnHeadingChanged(CVehicle* pVehicle, float fHeading, CKDRDatabase* pDatabase, int nArcFrom, int nArcTo);
    void OnStop(CKDRDatabase* pDatabase, int nVehicle);
    // OR of the members' flag words.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nPass1,
                 int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5);
    void ApplyViewSetting(float fScale);
    void OnMove(CKDRDatabase* pDatabase, int nVehicle);
    void ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit);
    void GetWeaponLines(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase);
    // The members sit one level deeper than the caller: they get nDepth + 1.
    void AddWeaponsToList(int nVehicle, CUnitWeaponArray* pList, CKDRDatabase* pDatabase, int nDepth);
    void OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nCause1, int nCause2, int nCause3);
    void AimAt(CVehicle* pVehicle, float fHullHeading, float fBearing, BOOL bReset);
    // Only when the flags ask for capability markers (DRAW_CAPABILITY_MARKERS).
    void DrawMarker(CKDRGameMap* pMap, int nFlags, float x, float y);
    void OnFormationNode(int nValue);
    // TRUE when any member took something; every member is asked.
    BOOL ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase);
    void Reset(float fHeading, int nValue1, int nValue2);
    void ResetMountState();
    void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit);
    void GetBreachTarget(CKDRObstacles* pObstacles);
    void OnObstacleDeleted(int nSide, int nIndex);

    // The bit of DrawMarker's flags that asks for capability markers.
    static constexpr int DRAW_CAPABILITY_MARKERS = 0x2;

    CStringArray m_typeNames;

private:
    void FillTypeNames();
    void Build(CVehicleCapArray* pVehicleCaps, CKDRDatabase* pDatabase);
};
