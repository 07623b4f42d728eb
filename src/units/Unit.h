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
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
#include "platform/core/Unset.h"

class CCarriedUnit;
class CChem;
class CObstacle;
class CDamageArray;
class CFireMission;
class CKDRDatabase;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CKDRUnits;
struct SSightEntry;
class CMenu;
class CNode;
class CNodeArray;
class CSmokeArray;
class CSmokeSight;
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

// The unit drawing's flags: hull direction arrows, turret arrows (the
// capabilities' markers).
constexpr DWORD UNIT_DRAW_HULL_ARROW = 0x1;
constexpr DWORD UNIT_DRAW_TURRET_ARROW = 0x2;

// The order bits of one unit (SetOrderState, HasOrder, the menus and the
// selection commands); where each is held is told at HasOrder.
constexpr DWORD UNIT_ORDER_STOP = 0x1;
constexpr DWORD UNIT_ORDER_HOLD_FIRE = 0x2;
constexpr DWORD UNIT_ORDER_DEFILADE = 0x4;
constexpr DWORD UNIT_ORDER_SPRINT = 0x8;
constexpr DWORD UNIT_ORDER_SMOKE = 0x20;
constexpr DWORD UNIT_ORDER_MAX_RANGE = 0x80;
constexpr DWORD UNIT_ORDER_FIELD_OF_FIRE = 0x100;
constexpr DWORD UNIT_ORDER_MARCH_SPEED = 0x200;
constexpr DWORD UNIT_ORDER_HIDE_ON_CONTACT = 0x400;
constexpr DWORD UNIT_ORDER_ENGAGE_ON_CONTACT = 0x800;
constexpr DWORD UNIT_ORDER_BYPASS_OBSTACLES = 0x1000;
constexpr DWORD UNIT_ORDER_DISMOUNT_ON_CONTACT = 0x2000;
constexpr DWORD UNIT_ORDER_DO_NOT_EMPLACE = 0x4000;
constexpr DWORD UNIT_ORDER_DISMOUNT = 0x8000;
constexpr DWORD UNIT_ORDER_SUPPRESS = 0x10000;

// The events a move step reports to its caller (MoveStep's out mask).
constexpr DWORD UNIT_EVENT_STOP_NODE = 0x1;  // arrived at a node with a stop
constexpr DWORD UNIT_EVENT_BLOCKED = 0x400;  // impassable ahead; the bypass was started
constexpr DWORD UNIT_EVENT_OBSTACLE = 0x800;
constexpr DWORD UNIT_EVENT_BREACH = 0x4000;

// The statuses MeetsStatus tests, as the hierarchy selects and counts by them.
constexpr int UNIT_STATUS_MOUNTED = 1;
constexpr int UNIT_STATUS_DISMOUNTED = 2;
constexpr int UNIT_STATUS_CARRIER_FULL = 4;
constexpr int UNIT_STATUS_EMPLACED = 8;
constexpr int UNIT_STATUS_BREACHING = 16;
constexpr int UNIT_STATUS_BREACHES_USED = 32;
constexpr int UNIT_STATUS_CARRIER_EMPTY = 64;

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
    // capabilities'; never for an unattached unit. A symbol counts with
    // the whole box it is drawn in.
    BOOL HitTest(int x, int y);
    // Only on a pixel the unit paints (no symbol box): what the player sees
    // there is the unit, not something drawn beneath showing through.
    BOOL HitTestDrawn(int x, int y);
    // Moves the pictures to the unit's screen position and, unless the
    // second picture is shown, turns the first to the heading.
    void PlaceSprite(CKDRGameMap* pMap);
    // The frame of a sheet of nFrames frames that shows the heading.
    static int FrameForHeading(double dHeading, int nFrames);

    // The unit takes the dug position at that index of its side's list.
    void ClaimDugPosition(int nPosition);

    BOOL IsStoppedByOrder() const;

    // ---- Riding in carriers (UnitCarried.cpp) ----
    // A team is free (no carrier), mounting (its carrier named, still on
    // foot) or carried (aboard); a carrier is closed, opening, letting one
    // team in or every team out, or closing. Every operation answers 0 (or
    // kUnset) and changes nothing when a capability it needs is missing.
    //
    // TRUE while the unit rides in a carrier.
    BOOL IsCarried() const;
    // A team on its way into its carrier, or a carrier taking one in.
    BOOL IsMounting() const;
    // A carrier letting its teams out.
    BOOL IsDisembarking() const;
    // A team assigned to a carrier but on foot, or a carrier letting its
    // teams out.
    BOOL HasDismounted() const;
    BOOL HasPassengers() const;
    // Room for one more team (and, with bEmptyOnly, nobody aboard).
    BOOL CanCarry(CKDRDatabase* pDatabase, BOOL bEmptyOnly) const;
    // The carrier's Mount (nMode 1: room for one more) and Dismount (0:
    // someone aboard) commands; after the deployment phase only for a
    // carrier halted at a stop node that is not busy (unless bIgnoreBusy).
    BOOL CanMountOrDismount(CKDRDatabase* pDatabase, int nMode, BOOL bIgnoreBusy);
    // A team's Mount command: a free team, or one on foot from its carrier.
    BOOL CanBoard(BOOL bIgnoreBusy);
    BOOL IsAvailableToMount() const;
    // Places left aboard, a team still boarding counted as aboard.
    int GetRoomInCarrier(CKDRDatabase* pDatabase) const;
    BOOL IsDismountOnContact() const;
    // The team takes the carrier: aboard at once in the deployment phase or
    // with bImmediate, else on its way in. FALSE without a dismount
    // capability.
    BOOL AssignToCarrier(int nCarrierUnit, int nCarrierArray, int nCarrierKind, BOOL bImmediate);
    // The carrier takes the team: at once in the deployment phase; with
    // bComplete the team that was boarding goes aboard and the ramp starts
    // closing; otherwise a timed boarding starts (the ramp opening first).
    BOOL LoadPassenger(int nTeamUnit, int nTeamArray, int nTeamKind, CKDRDatabase* pDatabase, BOOL bComplete);
    // The carrier lets teams out into pReleased (the caller deletes them):
    // everybody at once in the deployment phase, the last to board with
    // bOneOnly, else a timed unload starts and nobody leaves yet. TRUE with
    // nothing released for an empty carrier.
    BOOL UnloadPassengers(CKDRDatabase* pDatabase, TypedObArray<CCarriedUnit>* pReleased, BOOL bOneOnly);
    // A released team stands on the 30 m ring around the carrier, each
    // team a step further clockwise from north, kept on the map.
    BOOL PlaceAfterDismount(CUnit* pCarrier, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The carrier's ramp cycle stops where it is.
    void CancelCarrierCycle();
    // Ends a boarding: the unit index of the team that was boarding (or
    // kUnset); the ramp starts closing.
    int CompleteMount(CKDRDatabase* pDatabase);
    // The carrier capability's lines of the information sheet.
    CString GetCarrierStatusText(CKDRDatabase* pDatabase, CKDRUnits* pUnits);
    // The heading (radians); the capabilities follow it with the field of
    // fire's arc (-99 and -99 while that control is off) when the vehicle
    // type exists.
    void SetHeading(float fHeading, CKDRDatabase* pDatabase);
    // The unit's formation step at a leader's node (a follower's path, also
    // called AppendFormationNode). Not yet: nothing.
    void InsertFormationNode(const CNode* pLeaderNode, CKDRDatabase* pDatabase);

    // ---- Fire missions, fields of fire and sight (UnitFireMissions.cpp,
    // UnitFireDraw.cpp) ----
    // A live, uncarried battery's queue: its target marks and lines.
    void DrawFireMissionLinks(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // No carrier link is drawn yet: nothing.
    void DrawCarrierLinks(CKDRUnits* pUnits, CKDRGameMap* pMap);
    // The view fan with the sight rays, as the selected unit shows it.
    void DrawFieldOfView(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The terrain seen (cell by cell within the field of fire and maximum
    // range with bDrawFan and either control on, else rays), with
    // bRangeArcs the weapons' range arcs, with bSightRays the fan outline.
    // Ranges are kept in tens of metres and drawn in metres. Nothing for a
    // destroyed or carried unit.
    void DrawFieldOfView(CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bDrawFan, BOOL bRangeArcs,
                         BOOL bSightRays);
    // Red lines to identified contacts, yellow to unidentified ones, each
    // drawn when both ends touch the view.
    void DrawContactLines(CKDRUnits* pUnits, CKDRGameMap* pMap);
    // The fan's radius in metres: the maximum range when on, else twice the
    // view range (both kept in tens of metres); 0 without a vehicle type.
    float GetFanRadius(CKDRDatabase* pDatabase) const;
    // The middle of an arc of fire (mils): from + half the way to to, folded
    // back by a circle only above 6400.
    static int GetFanMiddle(int nFrom, int nTo);
    // 1 when the unit can fire the current fire order now: halted at a stop
    // node with rounds of its munition.
    int CanFireMission(CKDRDatabase* pDatabase);
    // The player's mission on a point: a battery that stands (halted, dug
    // in or digging, or waiting out its move delay), whole, not riding nor
    // mounting, queues it by the current fire order. TRUE when queued.
    int AssignFireMissionTarget(float fX, float fY, CKDRDatabase* pDatabase);
    // Removes the mission under the point from the battery's queue.
    BOOL CancelFireMission(float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The target point of the queue's mission at nIndex; FALSE outside it.
    BOOL GetFireMissionPoint(int nIndex, float& fX, float& fY) const;
    // The mean range (metres) of the battery's munitions and in fEffect
    // their mean effect radius; -99.0 for a unit that is no battery.
    float GetIndirectFireRange(CKDRDatabase* pDatabase, float& fEffect) const;
    // Switches both fire controls off; answers 1.
    int DeleteFireControl();
    int PasteFireControl(CKDRDatabase* pDatabase);
    int SetSuppressAreaAt(float fX, float fY, CKDRDatabase* pDatabase);

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
    // Before a run: StartClock with the tick.
    void Prepare(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // ---- Pictures and markers (UnitDraw.cpp) ----
    // Draws a live unit: its picture for its state (unidentified, open
    // carrier, emplaced, engineer without breaches, or plain; the framed
    // symbol in symbol style), then, while its picture meets the view, its
    // markers. nOrder is the order whose icon the view shows, nFlags the
    // drawing flags, strName the label of the symbol style. An
    // unidentified unit shows its unidentified picture only: no capability
    // drawing, no markers of its own, no arrow. Nothing for a unit without
    // a picture, unattached, carried or destroyed.
    void Draw(CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder, int nFlags, const CString& strName,
              BOOL bUnidentified);
    // The symbol-style pictures labelled with the name, or the plain picture.
    void SetSymbolStyle(BOOL bSymbolStyle, CKDRDatabase* pDatabase, const CString& strName);
    // The vehicle type's symbol as the picture, in the side's vehicle frame.
    void BuildSymbolPictures(CKDRDatabase* pDatabase, const CString& strName);
    // The state pictures; each falls back to the plain picture when its
    // piece is missing.
    void UseUnidentifiedPicture(CKDRDatabase* pDatabase);
    void UseCarrierOpenPicture(CKDRDatabase* pDatabase);
    void UseEmplacedPicture(CKDRDatabase* pDatabase);
    void UseEngineerPicture(CKDRDatabase* pDatabase);
    // The marker on the target of the unit's last shot.
    void DrawShotLine(CKDRUnits* pUnits, CKDRGameMap* pMap);
    // A destroyed unit's picture becomes, once, the wreck marker of its
    // side (the sides' colours exchanged while the sides show swapped).
    void DrawDestroyed(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawTaskOrgMark(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CTaskOrg* pMarker);
    void DrawFunctionMark(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CSprite* pMarker);
    void DrawFireRangeCircle(int nMunitionType, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // Up to two circles around the unit: the radius (metres), or with flag
    // 0x4000 the mine layer's deploy radius. Nothing for a radius not above 0.
    void DrawRangeCircles(DWORD dwFlags, CKDRGameMap* pMap, CKDRDatabase* pDatabase, double dRadius);
    // The function circle of a battery able to fire the current fire order.
    void DrawFunctionCircle(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawSuppressionMarker(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The purple protection marker of an own unit in MOPP 4, its frame
    // growing with the degradation.
    void DrawMOPPMarker(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawUnitDisk(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    BOOL DrawDugInRing(CKDRGameMap* pMap);
    void DrawSuppressArea(int nOrder, CKDRGameMap* pMap);
    void DrawHullArrow(CKDRGameMap* pMap);
    // The hull arrow from a map point (metres): a line along the heading,
    // 10 pixels plus 0.833333 per metre a second of speed, and the arrow
    // picture at its end.
    void DrawHullArrowFrom(CKDRGameMap* pMap, float fX, float fY);
    // The catalogue list and frame of a toggle bit's order icon; -1 for a
    // bit without one (or without the catalogue).
    static int GetOrderIconIndex(DWORD dwBit, int& nPosition);
    // The catalogue's piece name of a toggle bit's order icon; empty for
    // a bit without one.
    static CString GetOrderIconName(DWORD dwBit);
    // Whether the unit can fire a munition type: a battery holding rounds of
    // it, halted at a stop node, not carried, alive, and (with the units
    // component) its hierarchy element neither destroyed nor detached.
    BOOL CanTakeFireMission(int nArrayIndex, int nUnitIndex, int nMunitionType, CKDRDatabase* pDatabase,
                            CKDRUnits* pUnits);
    // A fire mission's permission to start firing the munition (a type
    // bit): CanTakeFireMission with the unit's index and array, which
    // come through from the mission's step; the unit list may be null.
    BOOL CanFireMunition(int nPass1, int nPass2, int nPass3, int nMunitionType, CKDRDatabase* pDatabase,
                         CKDRUnits* pUnits);
    // Whether a click of the action in progress (0: none, else an order
    // bit) may pick the unit.
    BOOL AcceptsAction(DWORD dwAction, CKDRDatabase* pDatabase);
    // The route to the path's goal: nothing yet.
    void AssignRoute(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // The unit's share of a burst (UnitArtillery.cpp): suppression by its
    // protection, a kill roll by its vulnerability (halved dug in), the
    // owner told for side 0. 1 when it was affected: alive, not riding, on
    // the ground (or a landed troop aircraft) and within the blast radius
    // (a guided round's target wherever it lies).
    BOOL TakeArtilleryHit(CFireMission* pImpact, CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nUnitIndex,
                          int nArrayIndex, CTimeSpan tsGameTime);
    // A shelled unit of sides 1 and 2 waiting at its stop, not dug in, with
    // more than ten minutes to its start time, leaves its defilade and
    // takes its position again (a new node 1 on the same spot).
    void ReactToArtillery(CFireMission* pImpact, CKDRDatabase* pDatabase, CTimeSpan tsGameTime);
    // Whether the unit can take an indirect-fire target now: an idle
    // battery, dug in when it digs in, halted at a stop node.
    BOOL IsReadyForFireMission(CKDRDatabase* pDatabase) const;
    // Offers a contact (and its unit) as the unit's indirect-fire target
    // for the computer's side nKind; 0 ends the scan of that list.
    int PickIndirectFireTarget(const CUnitRef& contact, CUnit* pTarget, CKDRDatabase* pDatabase, CKDRUnits* pUnits,
                               int nKind);
    // A remote unit's shot line counts down one; below 1 its target goes.
    void CountDownShotLine();
    // The unit's step after a scenario or saved game opens: nothing yet.
    void AfterOpen(CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The unit's rows of the fire-mission log: none yet.
    void GetFireMissionRows(CStringList& lines, int nKind, CKDRGameMap* pMap);

    // ---- Movement (UnitMovement.cpp) ----
    // One move step on the unit's own movement clock: the per-second work
    // when whole game seconds gathered, then a step along the first leg at
    // the terrain's factor probed 10 m ahead, arrival, chemical areas, and
    // last one waiting window message served. bArrived is set for the
    // selected unit when it reached node 1; dwEvents gets UNIT_EVENT_...
    // bits. A step without game time (the clock stopped or no millisecond
    // passed) moves nothing and keeps m_fSpeed. The three values are handed
    // on to the capabilities' per-second work (the unit's index, array and
    // kind); pUnits, the unit's component, names a chemical kill. Answers
    // the per-second mask.
    DWORD MoveStep(CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
                   BOOL bSelected, BOOL& bArrived, DWORD& dwEvents, int nPass1, int nPass2, int nPass3,
                   CKDRUnits* pUnits = nullptr);
    // The countdowns of nSeconds whole game seconds: shot line, defilade,
    // start times, move delay, suppression, protection, weapons and the
    // capabilities. Answers the capability events not handled here.
    DWORD UpdatePerSecond(int nSeconds, CTimeSpan tsNow, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPass1,
                          int nPass2, int nPass3);
    // Halts the unit at its position (a stop on node 0); a fixed-wing
    // aircraft that may not halt flies on instead.
    void Stop(CKDRDatabase* pDatabase);
    // Lifts the halt: node 0 loses its stop. The unit moves after its move
    // delay, at once in the deployment phase or with bUnconditional.
    void ClearStop(CKDRDatabase* pDatabase, BOOL bUnconditional);
    // Node 1 reached: the unit stands on it, takes its orders and node 0
    // goes. 1 when the new node 0 has a stop.
    BOOL Arrive(CKDRDatabase* pDatabase);
    // Points the heading along the first leg (dropping nodes that lie on
    // the unit), else at the middle of the field of fire, else north; the
    // capabilities follow. Nothing without the vehicle type.
    void UpdateHeading(CKDRDatabase* pDatabase = nullptr);
    // A new path from the unit's position through the nodes: moved so that
    // the first lands on the unit, or with bInLine the unit as node 0 and
    // the others where they lie. FALSE for an empty list.
    BOOL SetRoute(const CNodeArray* pNodes, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bInLine);
    // A copy of the nodes as the path; kUnset and no change when empty.
    int SetPath(const CNodeArray* pNodes, CKDRDatabase* pDatabase);
    // The clock starts: both stamps take the tick. In the deployment phase
    // the unit also leaves its dug position and protection and reloads.
    void StartClock(DWORD dwTick, CKDRDatabase* pDatabase);
    // ---- Obstacles and breaching on the way (UnitObstacles.cpp) ----
    // The move step met an obstacle of the obstacles component on the way
    // to (x, y), or to node 1 with bUseNextNode: a unit that can breach is
    // led into a lane, any other is stopped or passes by the obstacle's
    // density. A leg that runs only through lanes is free (0). dt: the
    // step's game seconds. 1 when the unit's movement for this step was
    // taken care of.
    BOOL ObstacleAtPoint(float x, float y, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                         BOOL bUseNextNode, double dt, DWORD& dwEvents);
    // The terrain probe found an obstacle region fStep x fFactor x 0.1
    // metres ahead; the same contract.
    BOOL ObstacleAhead(float fStep, float fFactor, CKDRGameMap* pMap, CKDRObstacles* pObstacles,
                       CKDRDatabase* pDatabase, double dt, DWORD& dwEvents);
    // One pass of a breach in progress; 1 when it moved the unit.
    BOOL BreachStep(double dt, CKDRGameMap* pMap, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                    DWORD& dwEvents);
    // The unit met pObstacle (null: terrain) at (x, y): a mine field may
    // let it pass (0); otherwise it halts, side 0 marks an enemy obstacle
    // it found (bMarkFound), and a unit of another side, or of side 0 with
    // Bypass Obstacles, takes a 70 m detour. 1 when halted.
    BOOL Blocked(CKDRGameMap* pMap, float x, float y, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                 CObstacle* pObstacle, BOOL bMarkFound);
    // The unit noticed the chemical area it stands in: unless its crew
    // wears MOPP 4 already, the agent may kill it (the unit at nUnit,
    // nArray of pUnits) or it dons MOPP 4.
    void ChemicalExposure(CChem* pArea, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles, int nChemicalValue,
                          int nUnit = kUnset, int nArray = kUnset, CKDRUnits* pUnits = nullptr);

    // ---- Path operations (UnitPaths.cpp) ----
    // Re-aims, then makes the halt agree with node 0's stop.
    void SyncStopWithPath(CKDRDatabase* pDatabase);
    // The orders of a node reached: stops halt; toggles act once and go.
    void ApplyNodeOrders(CNode* pNode, CKDRDatabase* pDatabase);
    void FormationStep(CNodeArray* pPath, CNode* pNode, CObject* pUnitRecord, CKDRDatabase* pDatabase, BOOL bPassed,
                       BOOL bApplyHere);
    void AppendPathNode(const CNode* pNode, CKDRDatabase* pDatabase);
    // Every toggle order of the list clears its bits on the unit.
    void ClearToggledOrders(const CUnitOrderArray* pOrders, CKDRDatabase* pDatabase);
    void TurnCapabilities(float fDelta, CKDRDatabase* pDatabase);
    void ApplyFormationNode(int nValue, CKDRDatabase* pDatabase);
    // A path from the unit to the point (taken onto the map), ending in a
    // stop that waits for a new order. FALSE without database, map or path.
    BOOL RouteTo(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bReleaseStop, BOOL bBypass);
    // The mover class of the blocking tests: 8 fixed wing, 4 rotary wing,
    // 2 dismount team, 1 otherwise.
    int GetMoverClass() const;
    // The obstacle types the unit can breach: its breacher's, else its
    // engineer's while breaches are left; kUnset (no type) without either.
    int GetBreachMask(CKDRDatabase* pDatabase) const;
    // The unit follows its leader: the follower path from the leader's,
    // then made drivable. 0 when no follower path could be made.
    int FollowFormation(const CNodeArray* pLeaderPath, CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                        BOOL bKeepPositions, float fSpacing);
    // ---- Formation steps of member placement (UnitFormation.cpp) ----
    // Appends the element's path nodes after its first, shifted by the
    // member's turned offset (taken onto the map), with their orders.
    void PlaceInFormation(const CNodeArray* pElementPath, float fOffsetX, float fOffsetY, CKDRGameMap* pMap);
    // Moves every start time on the path later by the seconds (earlier for
    // a negative number).
    void OffsetPathTime(LONG nSeconds);
    // Whether the unit may dig in where it halts: it has an emplace
    // capability and no Do Not Emplace order.
    BOOL CanEmplace() const;
    // Whether an obstacle lies at a quarter, half, three quarters or the
    // end of the way to the point (or to node 1 with bUseNextNode); its
    // index and side come back. Aircraft and an empty path: FALSE.
    BOOL IsObstacleOnFirstLeg(float x, float y, CKDRObstacles* pObstacles, int& nIndex, int& nSide,
                              BOOL bUseNextNode, CKDRGameMap* pMap = nullptr);
    BOOL CanBreachType(CKDRDatabase* pDatabase, int nObstacleTypes);
    int HasDismountCapability() const;
    // The path with its node icons (none for aircraft and teams) while the
    // view shows paths; nothing for a destroyed or carried unit.
    void DrawPath(CKDRGameMap* pMap);

    // ---- Order toggles and command tests (UnitOrderToggles.cpp) ----
    // Sets or clears one UNIT_ORDER_ bit with its side effects; bKeepSet
    // forbids clearing, bKeepClear forbids setting. 1 when handled, 0 for
    // a bit set through its own setter and without a vehicle type.
    BOOL SetOrderState(DWORD dwBit, CKDRDatabase* pDatabase, BOOL bKeepSet, BOOL bKeepClear);
    BOOL HasOrder(DWORD dwBit) const;
    BOOL CanExecuteOrder(DWORD dwBit, CKDRDatabase* pDatabase);
    // The catalogue list of the bit's icon when the unit holds the bit
    // (nPosition its frame), else -1.
    int GetOrderIcon(DWORD dwBit, int* pPosition) const;
    static int GetOrderIconIndex(DWORD dwBit, int* pPosition);
    void UpdateOrderIcon(DWORD dwBit, BOOL& bShown);
    int SetFireControls(BOOL bMaxRangeOn, int nMaxRange, BOOL bFieldOfFireOn, int nFrom, int nTo);
    BOOL SetFireControlAtPoint(float x, float y, BOOL bMaxRangeMode, CKDRDatabase* pDatabase);
    // Control 1 switches the maximum-range control off, 0 the field of fire
    // (re-aiming); 1 when it was on.
    int ClearFireControl(int nControl, CKDRDatabase* pDatabase = nullptr);
    BOOL SetMarchSpeed(float fSpeed, CKDRDatabase* pDatabase);
    void ClearMarchSpeed();
    void SetSuppressArea(CKDRDatabase* pDatabase, float x, float y, float fRadius);
    // Answers 1.
    int ClearSuppressArea();
    float GetDefaultSuppressRadius(CKDRDatabase* pDatabase) const;
    BOOL IsEmplaced(BOOL bAnyState) const;
    BOOL IsDoNotEmplace() const;
    void AllowEmplace(CKDRDatabase* pDatabase, BOOL bAllow);
    BOOL IsSmoking() const;
    BOOL CanSmoke();
    BOOL IsLayingMines() const;
    BOOL CanDeployMines();
    BOOL DeployMinesAt(float x, float y, CKDRDatabase* pDatabase);
    void StartMineLaying();
    BOOL CanUpload();
    BOOL Upload(CUnit* pReceiver, CKDRDatabase* pDatabase);
    BOOL IsBreaching() const;
    BOOL MeetsStatus(CKDRDatabase* pDatabase, int nStatus);
    // m_bStopped and a stop on node 0.
    BOOL IsStoppedAtStopNode() const;
    BOOL IsReadyAtNode() const;
    BOOL IsGroundVehicle() const;
    void GetFlightValues(int& nHeight, int& nAltitude) const;
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
    // What a look needs of a unit, as observer or as target, that does not
    // depend on the other unit: a sweep takes it once per unit instead of
    // asking the vehicle type and the capabilities again for every pair.
    // It holds while the unit, its orders and its vehicle type are as
    // they were when it was taken.
    struct SSightView
    {
        BOOL bLooks = FALSE;  // alive, not carried, its vehicle type known
        float fX = 0.0f;
        float fY = 0.0f;
        int nVehicle = 0;
        CVehicle* pVehicle = nullptr;
        float fTotalHeight = 0.0f;  // metres
        float fNightSight = 0.0f;   // the night sights' factor
        int nThermalSight = 0;      // percent
        float fViewRange = 0.0f;    // metres
        BOOL bAircraft = FALSE;
        double fSizeDivisor = 1.0;  // what its size divides a look's distance by
        BOOL bStoppedByOrder = FALSE;
        BOOL bInDefilade = FALSE;  // settled in defilade, on the ground
        BOOL bDugIn = FALSE;
        BOOL bHasFired = FALSE;  // its shot still shows
        float fIllumLight = -99.0f;  // the light of a flare over it; -99: none
    };
    // The view, and the light of the first flare over the unit.
    void TakeSightView(SSightView& view, CKDRDatabase* pDatabase, const CSmokeArray* pSmoke = nullptr) const;
    // DetectPair with both units' views and the observer's sight of the
    // smoke (null: none) taken beforehand.
    // pSight: the pair's remembered sight line (SightCache.h); null works
    // it out afresh.
    void DetectPair(const SSightView& self, CUnit* pTarget, const SSightView& target, CKDRGameMap* pMap,
                    const CSmokeSight* pSmokeSight, float fLightFactor, int nTargetUnit, int nTargetArray,
                    int nTargetKind, SSightEntry* pSight = nullptr);
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
    // Which state picture is shown (at most one; cleared when the vehicle
    // is attached).
    BOOL m_bCarrierOpenShown = FALSE;
    BOOL m_bEmplacedShown = FALSE;
    BOOL m_bEngineerShown = FALSE;
    BOOL m_bUnidentifiedShown = FALSE;
    CSprite* m_pSprite3 = nullptr;  // owned; drawn when both flags below are set
    BOOL m_bSprite3 = FALSE;
    BOOL m_bSprite3Shown = FALSE;
    int m_nShotUnit = kUnset;  // the target of the last shot, for its line
    int m_nShotArray = kUnset;
    int m_nShotKind = kUnset;
    int m_nShotLineTime = 0;  // game seconds the shot line is still drawn
    BOOL m_bHullArrowLoaded = FALSE;
    CSprite* m_pSprite4 = nullptr;  // owned; the hull-direction arrow
    // The picture was replaced by the wreck marker (not stored).
    BOOL m_bWreckShown = FALSE;

    CSprite* m_pOrderIcon = nullptr;  // owned; the icon of the order bit shown
    DWORD m_dwOrderIconBit = 0;

private:
    // Sets one state flag and clears the other three.
    void SetStateFlags(BOOL bCarrierOpen, BOOL bEmplaced, BOOL bEngineer, BOOL bUnidentified);
    // The picture from a piece of the database with the old picture's
    // scale; the plain picture when anything is missing.
    void UseStatePicture(CKDRDatabase* pDatabase, DWORD dwCapability, int nState);
};
