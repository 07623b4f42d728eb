#pragma once
// CUnit: one vehicle or dismounted team on the map. It names its vehicle
// type by index into the mission database's vehicle list and holds its
// position, heading and speed, its path, two standing-order sets, its
// weapons (one record per mount), its run-time capabilities (member i
// belongs to the vehicle type's capability i), its damage records, its
// contacts, the orders the player toggles on it and the pictures that draw
// it. The unit owns every one of these objects.
//
// Record (the unit part of a unit file and of a saved game): the weapons,
// the capabilities, the damage records, the path and the two order sets,
// each in its own form and in that order, then 45 fields (see Serialize).
// Integers kept in a word keep their low 16 bits and come back
// sign-extended; a flag goes as a 0/1 word, and a zero word read leaves
// the flag as constructed. A record cut short raises the archive error;
// whatever was read so far belongs to the unit and goes with it.
//
// The pictures, the contacts, the previous position, the clock stamps and
// the working values are not stored: AttachVehicle makes the picture again
// after a load. A unit whose vehicle type, piece or database is missing
// stays unattached, without a picture: it is neither drawn nor hit.

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/core/Unset.h"

class CDamageArray;
class CFireMission;
class CKDRDatabase;
class CKDRGameMap;
class CKDRUnits;
class CMenu;
class CNode;
class CNodeArray;
class CSmokeArray;
class CSprite;
class CStringList;
class CTaskOrg;
class CTaskOrgArray;
class CUnitCapArray;
class CUnitCapability;
class CUnitOrderArray;
class CUnitRef;
class CUnitRefArray;
class CUnitWeapon;
class CUnitWeaponArray;
class CVehicle;
class CVehicleWeapon;
class CWeapon;

// 1 when a fresh percentile roll (0..100) is at most the percentage.
BOOL RollPercentile(double dPercent);

class CUnit : public CObject
{
    DECLARE_SERIAL(CUnit)
public:
    // The picture's frame is taken from the heading turned on by this much
    // (5 degrees), so that frame 0 starts 5 degrees left of north.
    static constexpr double kFrameHeadingOffset = 0.087266;

    CUnit();
    // A unit of the vehicle type at nVehicle (none outside the list): its
    // weapons and capabilities from the type, its move delay and defilade
    // time, halted, attached, with a one-node path at its position for its
    // side. Without vehicles, weapons and pieces in the database only the
    // default unit is made; callers check the database first.
    CUnit(CKDRDatabase* pDatabase, int nVehicle);
    ~CUnit() override;
    CUnit(const CUnit&) = delete;
    CUnit& operator=(const CUnit&) = delete;

    void Serialize(CArchive& ar) override;

    // Makes the picture from the vehicle type's map piece (keyed on
    // magenta, at the scale) and binds the capabilities to the vehicle
    // type; TRUE when both succeeded. Without a database holding vehicles,
    // weapons and pieces, a vehicle index, a loaded piece or the vehicle
    // type the unit is left unattached and without a picture.
    BOOL AttachVehicle(CKDRDatabase* pDatabase, float fScale);

    // The capability of that type, also inside a turret; null when none.
    CUnitCapability* FindCapability(DWORD dwType) const;
    // The OR of the capabilities' type codes and flag masks: the unit's
    // abilities (0x2 dismounted team, 0x1000 fixed wing ...).
    DWORD GetCapabilityMask() const;

    // Puts the unit at the point, brought onto the map (between 0 and the
    // map's width and height; only negatives are raised without a map).
    // With bPositionOnly that is all (TRUE). Otherwise the path starts
    // again at the point (a copy with node 0 moved there, or one stopped
    // node for the unit's side), the suppression is lifted, the heading
    // re-aimed and the capabilities told; FALSE when one of them refuses.
    BOOL AssignPath(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bPositionOnly, int nPassOn);
    BOOL MoveTo(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bPositionOnly, int nPassOn)
    {
        return AssignPath(x, y, pDatabase, pMap, bPositionOnly, nPassOn);
    }
    // The side of the array that holds the unit (0 own, 1 opposing, 2
    // neutral); the stops of sides 1 and 2 carry start times, side 0's not.
    void SetSide(int nSide);

    // Whether the screen point falls on the unit's picture or on one of its
    // capabilities'; never for an unattached unit.
    BOOL HitTest(int x, int y);
    // Moves the pictures to the unit's screen position and, unless the
    // second picture is shown, turns the first to the heading.
    void PlaceSprite(CKDRGameMap* pMap);
    // The frame of a sheet of nFrames frames that shows the heading.
    static int FrameForHeading(double dHeading, int nFrames);

    // The unit takes the dug position at that index of its side's list.
    void ClaimDugPosition(int nPosition);

    // TRUE while the unit rides in a carrier.
    BOOL IsCarried() const;
    BOOL IsStoppedByOrder() const;
    BOOL HasDismounted() const;
    // Nonzero when the unit may start firing the munition now; 0 ends the fire mission.
    int CanFireMunition(int nPass1, int nPass2, int nPass3, DWORD dwMunitionType, CKDRDatabase* pDatabase,
                        CTaskOrgArray* pUnits);
    // Points the heading along the unit's path again. Not yet: nothing.
    void UpdateHeading();
    // The heading (radians); the capabilities follow it with the field of
    // fire's arc (-99 and -99 while that control is off) when the vehicle
    // type exists.
    void SetHeading(float fHeading, CKDRDatabase* pDatabase);
    // Sets (bKeepSet) or clears (bKeepClear) one order bit. Not yet: 0.
    BOOL SetOrderState(DWORD dwBit, CKDRDatabase* pDatabase, BOOL bKeepSet, BOOL bKeepClear);
    // The unit's formation step at a leader's node (a follower's path, also
    // called AppendFormationNode). Not yet: nothing.
    void InsertFormationNode(const CNode* pLeaderNode, CKDRDatabase* pDatabase);

    // Drawing and fire-control operations the document forwards to; until
    // they are built they draw nothing and answer 0.
    void DrawFunctionCircle(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawFireMissionLinks(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawCarrierLinks(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawRangeCircles(double dRadius, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawFieldOfView(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Nonzero when the unit can take an indirect-fire mission.
    int CanFireMission(CKDRDatabase* pDatabase);
    int AssignFireMissionTarget(float fX, float fY, CKDRDatabase* pDatabase);
    // Switches both fire controls off; answers 1.
    int DeleteFireControl();
    int PasteFireControl(CKDRDatabase* pDatabase);
    int SetSuppressAreaAt(float fX, float fY, CKDRDatabase* pDatabase);
    int ClearSuppressArea();
    // Control 1 switches the maximum-range control off, 0 the field of fire.
    int ClearFireControl(int nControl);

    // ---- Checks against the database and state resets (UnitRebuild.cpp) ----
    // 0 when the unit fits its vehicle type. Otherwise 1, with the reason
    // appended to the report without separators: the database is not
    // complete, its vehicle list is empty (the index becomes -1), the index
    // names no vehicle type (it becomes the last one, or 0 when it was
    // negative), or the capabilities do not line up with the type's (their
    // own texts). A unit that fits gets its weapons rebuilt when the mount
    // count changed, its move delay and defilade time from the type, is
    // halted and attached again.
    BOOL ValidateVehicle(CKDRDatabase* pDatabase, CString& report);
    // Back to the starting state: every order and combat value to its
    // default, new damage, order, contact lists and a one-node path at the
    // unit's position; weapons and capabilities reset (the two values are
    // handed to the capabilities). Name, destroyed flag, side, vehicle type
    // and position stay.
    void ResetState(CKDRDatabase* pDatabase, int nValue1, int nValue2);
    // Every capability forgets its mounting and dismounting in progress.
    void ResetMountStates();
    // Brings x and y above the map's width and height back to the edge;
    // lower bounds are left alone. Nothing without a map of known size.
    void ClampToMap(CKDRGameMap* pMap);
    // The enemy-colour flag of the vehicle type's map piece; 0 without one.
    BOOL HasEnemyPiece(CKDRDatabase* pDatabase) const;
    // A unit (or, for -99, a whole array) of a kind was deleted, or an
    // obstacle of a side: the capabilities drop or renumber their links.
    void OnUnitDeleted(int nKind, int nArray, int nUnit);
    void OnObstacleDeleted(int nSide, int nIndex);
    // The pictures and the capabilities take the view's icon scale; nothing
    // without a picture.
    void SetIconScale(float fScale);
    // The capabilities fill the unit's context menu.
    void AddMenuItems(CMenu* pMenu);

    // ---- Work of the unit's other parts, in its least form until built ----
    // The unit takes the tick as both of its clock stamps before a run.
    void Prepare(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Drawing: nothing yet.
    void Draw(CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder, int nFlags, const CString& strName,
              BOOL bUnidentified);
    // The symbol-style pictures labelled with the name, or the plain picture.
    void SetSymbolStyle(BOOL bSymbolStyle, CKDRDatabase* pDatabase, const CString& strName);
    void DrawShotLine(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawDestroyed(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawPath(CKDRGameMap* pMap);
    void DrawTaskOrgMark(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CTaskOrg* pMarker);
    void DrawFunctionMark(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CSprite* pMarker);
    void DrawFireRangeCircle(int nMunitionType, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The tests of the functions in progress: 0 until built.
    BOOL CanMountOrDismount(CKDRDatabase* pDatabase, int nMode, BOOL bIgnoreBusy);
    BOOL CanBoard(BOOL bIgnoreBusy);
    BOOL CanTakeFireMission(int nArrayIndex, int nUnitIndex, int nMunitionType, CKDRDatabase* pDatabase,
                            CKDRUnits* pUnits);
    BOOL CanUpload();
    BOOL CanDeployMines();
    BOOL CanSmoke();
    // Whether the unit takes part in the action in progress: 0 until built.
    BOOL AcceptsAction(DWORD dwAction, CKDRDatabase* pDatabase);
    // The route to the path's goal: nothing yet.
    void AssignRoute(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The unit's share of a burst; 1 when it was affected. 0 until built.
    BOOL TakeArtilleryHit(CFireMission* pImpact, CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nUnitIndex,
                          int nArrayIndex, CTimeSpan tsGameTime);
    // Whether the unit can take an indirect-fire target now. Least form:
    // halted at a stop node with an indirect-fire capability.
    BOOL IsReadyForFireMission(CKDRDatabase* pDatabase) const;
    // Offers a contact (and its unit) as the unit's indirect-fire target;
    // 0 ends the scan of that list. Least form: no target is taken (0).
    int PickIndirectFireTarget(const CUnitRef& contact, CUnit* pTarget, CKDRDatabase* pDatabase, CKDRUnits* pUnits);
    // A remote unit's shot line counts down one; below 1 its target goes.
    void CountDownShotLine();
    // The unit's step after a scenario or saved game opens: nothing yet.
    void AfterOpen(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The unit's rows of the fire-mission log: none yet.
    void GetFireMissionRows(CStringList& lines, int nKind, CKDRGameMap* pMap);

    // ---- Detection (UnitDetection.cpp) ----
    // This unit looks at one target (its address given) under the light
    // (1.0 daylight): when the target lies within twice the view range
    // after light, cover, motion, protection and size, the sight line is
    // clear and the smoke does not hide it from the thermal sights, the
    // contact is added to this unit's list, or updated there, identified
    // within the view range; an own unit reports it. Nothing for a
    // destroyed or carried observer or target, or a missing vehicle type.
    void DetectPair(CUnit* pTarget, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CSmokeArray* pSmoke, float fLightFactor,
                    int nTargetUnit, int nTargetArray, int nTargetKind);
    // The distance (whole metres) at which the target at fDistance metres
    // counts for this observer: more in poor light, for a target in
    // defilade or dug in, for an observer on the move or sprinting or in
    // protection, for a small target; less for a target that moves or has
    // just fired.
    int GetEffectiveDetectionRange(const CUnit* pTarget, CVehicle* pTargetVehicle, CVehicle* pObserverVehicle,
                                   float fDistance, float fLight) const;
    // A fixed- or rotary-wing unit.
    BOOL IsAircraft() const;

    // ---- Direct fire (UnitFire.cpp) ----
    // Aspects of a target as seen by the shooter: which of the kill
    // table's percentages applies.
    enum FireAspect
    {
        ASPECT_FRONT = 0,
        ASPECT_BACK = 1,
        ASPECT_RIGHT = 2,
        ASPECT_LEFT = 3
    };
    // One engagement of this unit (at nUnit, nArray of its kind) for this
    // pass: its contacts in order until one is fired on or it may not fire.
    void Engage(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase);
    // Fires on one target: 1 when the scan is to stop (rounds went out, or
    // this unit may not fire at all), 0 when the next contact is to be
    // tried. nWholeSeconds since the last engagement sets the rounds.
    int FireAt(int nUnit, int nArray, CUnit* pTarget, const CUnitRef& contact, CKDRDatabase* pDatabase,
               CKDRUnits* pUnits, int nWholeSeconds);
    // The kill percentage of the weapon record against the target type
    // from the aspect at the range (tens of metres) and bearing; 0 when it
    // cannot fire now. pWeapon receives the weapon type.
    int SelectWeapon(CUnitWeapon* pRecord, CVehicle* pTargetVehicle, CKDRDatabase* pDatabase, int nAspect, int nRange,
                     float fBearing, CWeapon*& pWeapon);
    // The aspect of the target that a shooter on the bearing (radians,
    // from the shooter) sees, taken from the target towards the shooter:
    // front within 30 degrees of the target's heading, back from 150.
    static int GetAspectOf(const CUnit& target, float fBearing);
    // The hit chance (percent) of one round of the weapon on the mount at
    // nRange (tens of metres, at least 1 counts); -1 for an unidentified
    // contact, which can never hit.
    float GetHitChance(const CUnit* pTarget, CVehicle* pTargetVehicle, CVehicle* pOwnVehicle, CWeapon* pWeapon,
                       CVehicleWeapon* pMount, int nRange, float fBearing, BOOL bUnidentified,
                       CKDRDatabase* pDatabase) const;
    // One round: ammunition, sound, report, the hit and the kill rolls.
    // 1 when a round was fired; bHit is set only for a hit in a network
    // game, where the target's owner decides the kill.
    int ResolveShot(int nUnit, int nArray, const CUnitRef& contact, CUnitWeapon* pRecord, int nRange,
                    CVehicle* pTargetVehicle, CUnit* pTarget, CVehicle* pOwnVehicle, CKDRDatabase* pDatabase,
                    CKDRUnits* pUnits, int nKill, float fBearing, BOOL bAreaFire, BOOL bUnidentified, BOOL& bHit);
    // This unit (at nUnit, nArray of its kind) is destroyed.
    void Destroy(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase);
    // This unit was fired on from nRange (tens of metres) by a unit of the
    // shooter's vehicle type: it hides, engages, dismounts or halts as its
    // orders say.
    void ReactToFire(CVehicle* pShooterVehicle, CVehicle* pOwnVehicle, CKDRDatabase* pDatabase, int nKill, int nRange);
    // Whether one of this unit's weapons kills the vehicle type from the
    // back at nRange (tens of metres) and, unless bAnyState, is ready now.
    BOOL CanEngageVehicle(CVehicle* pVehicle, CKDRDatabase* pDatabase, int nRange, BOOL bAnyState);
    // A fixed-wing aircraft of a type that is not VTOL, outside the
    // deployment phase: with bForMarchSpeed always; otherwise only while it
    // is away from its station point (both coordinates above 0).
    BOOL IsFixedWingRestricted(CKDRDatabase* pDatabase, BOOL bForMarchSpeed) const;
    // Fills the list (emptied first without deleting) with the unit's own
    // weapon records and then the turret's, in engagement order; the list
    // borrows them and the caller empties it with RemoveAllNoDelete.
    void BuildWeaponList(CKDRDatabase* pDatabase, CUnitWeaponArray& list);

    // ---- The record, in declaration order ----
    CUnitWeaponArray* m_pWeapons;    // owned; one record per mount
    CUnitCapArray* m_pCapabilities;  // owned; aligned with the vehicle type's
    CDamageArray* m_pDamage;         // owned
    CUnitOrderArray* m_pOrders;      // owned; first standing-order set
    CUnitOrderArray* m_pOrders2;     // owned; second standing-order set
    float m_fSpeed = 0.0f;           // reached in the last move step
    BOOL m_bSprint = FALSE;          // Sprint order (0x8)
    BOOL m_bStoredFlag1 = FALSE;     // stored and kept for the file's layout
    int m_nStoredValue1 = 0;         // stored as 32 bits and kept
    CString m_strName;
    int m_nMoveDelay = 0;                // game seconds before a released unit moves
    BOOL m_bDefilade = FALSE;            // Defilade order (0x4)
    int m_nStoredValue2 = kUnset;        // stored and kept
    int m_nStoredValue3 = 0;             // stored and kept; a dug-position claim clears it
    int m_nDefiladeTime = 0;             // game seconds until a stopped unit is in defilade
    BOOL m_bStoredFlag2 = FALSE;         // stored and kept; a dug-position claim sets it
    int m_nSuppression = 0;              // 0 none; 100 and more: cannot fire
    BOOL m_bDugIn = FALSE;               // in a dug position
    int m_nDugPosition = kUnset;         // its index in the side's list
    float m_fStoredValue = kUnsetFloat;  // stored and kept
    int m_nStoredValue4 = kUnset;        // stored and kept
    BOOL m_bFieldOfFire = FALSE;         // FC Field of Fire (0x100)
    int m_nFieldOfFireTo = kUnset;       // end of the arc, mils clockwise from north
    int m_nFieldOfFireFrom = kUnset;     // start of the arc, mils
    BOOL m_bMarchSpeed = FALSE;          // March Speed order (0x200)
    int m_nMaxRange = kUnset;            // tens of metres
    BOOL m_bMaxRange = FALSE;            // FC Max Range (0x80)
    BOOL m_bHideOnContact = FALSE;       // 0x400
    float m_fMarchSpeed = kUnsetFloat;   // metres per second
    BOOL m_bBypassObstacles = FALSE;     // 0x1000
    BOOL m_bEngageOnContact = FALSE;     // 0x800
    int m_nSuppressUnit = kUnset;        // the unit to suppress, as CKDRUnits::GetUnit takes it
    int m_nSuppressArray = kUnset;
    int m_nSuppressKind = kUnset;
    BOOL m_bSuppressUnit = FALSE;
    float m_fSuppressRadius = kUnsetFloat;  // the area to suppress, metres
    float m_fSuppressY = kUnsetFloat;
    float m_fSuppressX = kUnsetFloat;
    BOOL m_bSuppressArea = FALSE;  // Suppress order (0x10000)
    BOOL m_bDestroyed = FALSE;
    int m_nSide = 0;           // 0 own, 1 opposing, 2 neutral
    int m_nVehicle = kUnset;   // index into the database's vehicle list
    float m_fX = 0.0f;         // metres east
    float m_fY = 0.0f;         // metres north
    CNodeArray* m_pPath;       // owned; node 0 is the unit's own position
    BOOL m_bHoldFire = FALSE;  // Hold Fire order (0x2)
    BOOL m_bStopped = FALSE;   // Stop (0x1): halted
    float m_fHeading = 0.0f;   // radians clockwise from north
    BOOL m_bMOPP4 = FALSE;     // full chemical protection
    CTimeSpan m_timeMOPP;
    float m_fMOPPDegradation = 0.0f;  // 0 to 1
    CUnitRefArray* m_pContacts;       // owned; targets this unit has detected
    float m_fPrevX = 0.0f;            // position before the last move step
    float m_fPrevY = 0.0f;
    CSprite* m_pSprite;      // owned; the vehicle piece once attached, none after a failed attach
    int m_moveLastTick = 0;  // the unit's own clock for movement
    int m_moveRemainderMs = 0;
    int m_fireLastTick = 0;  // and for direct fire
    int m_fireRemainderMs = 0;
    int m_nCarrierState = 0;
    int m_nWork1 = 0;               // working values
    CSprite* m_pSprite2 = nullptr;  // owned; drawn when m_bSprite2 is set
    BOOL m_bSprite2 = FALSE;
    int m_nPieceValue = 0;  // the flag of the vehicle's map piece
    int m_nWork2 = 0;
    BOOL m_bAttached = FALSE;  // picture made and capabilities bound
    int m_nWork3 = 0;
    int m_nWork4 = 0;
    int m_nWork5 = 0;
    int m_nWork6 = 0;
    CSprite* m_pSprite3 = nullptr;  // owned; drawn when both flags below are set
    BOOL m_bSprite3 = FALSE;
    BOOL m_bSprite3Shown = FALSE;
    int m_nShotUnit = kUnset;  // the target of the last shot, for its line
    int m_nShotArray = kUnset;
    int m_nShotKind = kUnset;
    int m_nShotLineTime = 0;  // game seconds the shot line is still drawn
    BOOL m_bHullArrowLoaded = FALSE;
    CSprite* m_pSprite4 = nullptr;  // owned; the hull-direction arrow
};
