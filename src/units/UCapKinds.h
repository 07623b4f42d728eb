#pragma once
// The unit capability kinds that keep plain state: a dismounted team's link
// to its carrier, a troop compartment, digging in, breaching, engineering,
// a laser observer, a fire direction centre, a smoke generator, fixed and
// rotary wing flight and mine laying. The turret (UCapTurret.h) and the
// kinds that carry munitions (UCapIndirectFire.h) live apart.
//
// Each is built either from its vehicle capability (full stocks, idle) or
// empty, to be read from a file. The markers some of them show are taken
// from the application's symbol catalogue when they are built; without a
// catalogue they have none and draw nothing.
//
// Stored forms, in order ("word": a signed 16-bit word read back
// sign-extended; "flag": a 0/1 word of which only a nonzero word read sets
// the flag, a zero word leaving it as built; "float": 4 bytes):
//   Dismount            mount time (time span); carrier unit, array, kind
//                       (words); dismounted (flag)
//   Personnel Carrier   the passengers (an object array of CCarriedUnit);
//                       dismounting, mounting, open (flags); dismount, mount
//                       and ramp time left, mounting unit, array, kind
//                       (words); place angle, place step (floats); dismount
//                       on contact (flag)
//   Emplace             emplaced (flag), emplace time left (word), emplacing
//                       (flag), displace time left (word), displacing, do
//                       not emplace (flags)
//   Breacher            lane, obstacle, obstacle side (words); direction
//                       (float); breaching (flag)
//   Engineer            the breacher's form; whole obstacle (flag); breaches
//                       left, breach time left (words)
//   Observer            target unit, array, kind (words); target x, y
//                       (4 bytes each); observing, point target, stored flag
//                       (flags); stored value (word)
//   FDC                 nothing
//   Smoker              release time left, smokes left (words); smoking
//                       (flag)
//   Fixed Wing          altitude, height (words); station x, y (floats)
//   Rotary Wing         altitude, height, rotor frame (words)
//   Mine Layer          deploy time left, minefields left (words); target x,
//                       y (floats); deploying (flag); deploy time (time span)

#include "platform/core/Unset.h"
#include "units/UnitCapability.h"

class CCarriedUnit;
class CKDRUnits;
class CStringList;
class CSprite;
class CKDRDatabase;
class CUnit;
class CVCapEmplace;
class CVCapBreacher;
class CVCapEngineer;
class CVCapMineLayer;
class CVCapSmoker;

// A kind that shows a marker from the symbol catalogue.
class CUCapMarked : public CUnitCapability
{
public:
    ~CUCapMarked() override;
    CSprite* GetMarker() const { return m_pMarker; }
    BOOL IsMarkerLoaded() const { return m_bMarkerLoaded; }

protected:
    explicit CUCapMarked(const char* markerName);
    // The marker at the unit's map point, at the marker's own scale (its
    // frame width times the zoom, at least 0.5 and, above 1.25, back to
    // 0.25), and its drawing on the back surface.
    void PlaceMarker(CKDRGameMap* pMap, float x, float y, float fZoom);
    void BlitMarker(CKDRGameMap* pMap) const;

    CSprite* m_pMarker = nullptr;  // owned
    BOOL m_bMarkerLoaded = FALSE;
};

// The events the two kinds' Update answers, which the units component
// acts on after the unit's move step (CKDRUnits::HandleMoveEvents).
constexpr DWORD UCAP_EVENT_BOARDED = 0x1;          // a team's boarding is over
constexpr DWORD UCAP_EVENT_PASSENGER_OUT = 0x2;    // the next team may get out
constexpr DWORD UCAP_EVENT_TEAM_IN = 0x4;          // the boarding team is in
constexpr DWORD UCAP_EVENT_MOUNT_TIME = 0x8;       // a team's mount time has come
constexpr DWORD UCAP_EVENT_FREE_BOARDING = 0x10;   // the boarding team is to be freed

// The carrier's commands in the unit's context menu.
constexpr UINT ID_UNIT_MOUNT = 33016;
constexpr UINT ID_UNIT_DISMOUNT = 33018;
constexpr UINT ID_UNIT_DISMOUNT_ON_CONTACT = 33020;

// A dismounted team's side of riding: the carrier it belongs to and
// whether it is on foot. Free: no carrier; mounting: carrier named and on
// foot; carried: carrier named and aboard.
class CUCapDismount : public CUCapMarked
{
    DECLARE_SERIAL(CUCapDismount)
public:
    CUCapDismount();
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_DISMOUNT; }
    CString GetName() const override { return "Dismount"; }

    // With a carrier, UCAP_EVENT_MOUNT_TIME once the game time has passed
    // the mount time.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    // A new path forgets the carrier unless nKeepCarrier.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nKeepCarrier) override;
    int OnSideChanged(int nSide) override;
    void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    void ResetMountState() override;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    BOOL HitTest(int x, int y) override;
    // The marker, while bVisible, for a team on foot from its carrier.
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;
    // Free, on foot; answers kUnset.
    int DetachFromCarrier();
    BOOL HasCarrier() const { return m_nCarrierUnit != kUnset; }

    CTimeSpan m_timeMount;     // game time at which the mount falls due
    int m_nCarrierUnit = -99;  // -99: no carrier
    BOOL m_bDismounted = FALSE;
    int m_nCarrierArray = -99;
    int m_nCarrierKind = -99;
};

// A personnel carrier's passengers and its ramp cycle: closed, opening,
// one team getting in or every team getting out, closing.
class CUCapPersonnelCarrier : public CUCapMarked
{
    DECLARE_SERIAL(CUCapPersonnelCarrier)
public:
    CUCapPersonnelCarrier();
    ~CUCapPersonnelCarrier() override;
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_PERSONNEL_CARRIER; }
    CString GetName() const override { return "Personnel Carrier"; }

    // The ramp cycle, for a unit halted (and dug in, when it can dig in)
    // with its ramp open: UCAP_EVENT_PASSENGER_OUT or UCAP_EVENT_TEAM_IN
    // when that step's time has run; UCAP_EVENT_FREE_BOARDING (in any
    // state) after a new path dropped a boarding.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    // "&Mount" and "&Dismount" in the Actions submenu, "&Dismount On
    // Contact" in the SOP submenu (in Actions without one).
    void AddMenuItems(CMenu* pMenu) override;
    // A new path drops the cycle unless nKeepState.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nKeepState) override;
    // The passengers die with the carrier, each at its own address; one
    // already destroyed is passed over.
    void OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nUnit, int nArray, int nSide) override;
    void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    void ResetMountState() override;
    // The marker for the step in progress (mounting or dismounting).
    virtual void DrawStateMarker();
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    BOOL HitTest(int x, int y) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;
    // Ends the step in progress and starts the ramp closing; the unit index
    // of the team that boarded, or kUnset.
    int FinishMountStep(CKDRDatabase* pDatabase, int nVehicle);
    void ClearCycle();
    // The names of the passengers that exist, in boarding order.
    void GetPassengerNames(CStringList& names, CKDRUnits* pUnits) const;
    // The information sheet's lines, each ending in "\r\n"; empty without
    // the vehicle type's carrier capability.
    void GetStatusText(CString& strText, int nVehicle, CKDRDatabase* pDatabase, CKDRUnits* pUnits) const;

    TypedObArray<CCarriedUnit>* m_pPassengers;  // owned; in boarding order
    BOOL m_bDismounting = FALSE;
    BOOL m_bMounting = FALSE;
    BOOL m_bOpen = FALSE;  // the ramp is open or moving
    int m_nDismountLeft = 0;
    int m_nMountLeft = 0;
    int m_nRampLeft = 0;
    int m_nMountingUnit = 0;  // the team boarding; -99 once it is in
    int m_nMountingArray = 0;
    int m_nMountingKind = 0;
    float m_fPlaceAngle = 0.0f;  // radians
    float m_fPlaceStep = 0.0f;
    BOOL m_bDismountOnContact = FALSE;
    // Not stored: a new path dropped a boarding, whose team is still to
    // be freed.
    BOOL m_bFreeBoarding = FALSE;
};

// The unit's commands that the capabilities add to its context menu.
constexpr UINT ID_UNIT_DO_NOT_EMPLACE = 33221;
constexpr UINT ID_UNIT_SMOKE = 33023;
constexpr UINT ID_UNIT_DEPLOY_MINES = 33342;

// The event an engineer's Update answers when its breach is complete: the
// unit is released from its halt (CUnit::UpdatePerSecond).
constexpr DWORD UCAP_EVENT_BREACH_DONE = 0x400;

// Digging in and out. Outside the deployment phase a halt starts digging in
// (the vehicle's time to emplace) and a move starts digging out (its time
// to displace); in the deployment phase both happen at once. The SOP "Do
// Not Emplace" keeps the unit out of the ground.
class CUCapEmplace : public CUnitCapability
{
    DECLARE_SERIAL(CUCapEmplace)
public:
    CUCapEmplace() = default;
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_EMPLACE; }
    CString GetName() const override { return "Emplace"; }

    // The two timers, by the whole seconds passed; answers 0.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    void OnStop(CKDRDatabase* pDatabase, int nVehicle) override;
    void OnMove(CKDRDatabase* pDatabase, int nVehicle) override;
    // In the ground at once when the unit stands at a stop (and may dig
    // in), else out.
    void ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit) override;
    // "D&o Not Emplace" in the SOP submenu (in Actions without one).
    void AddMenuItems(CMenu* pMenu) override;
    // Emplaced, everything else cleared (the SOP too).
    void Reset(float fHeading, int nValue1, int nValue2) override;

    // Digging in (bToEmplace, unless do-not-emplace is set) or out starts,
    // taking the vehicle's time; out of the position the unit is no longer
    // emplaced. Nothing without the vehicle capability.
    void StartTransition(const CVCapEmplace* pVehicleCap, BOOL bToEmplace);
    // Out of the ground at once, or (unless do-not-emplace is set) in.
    void SetEmplaced(BOOL bEmplaced);

    BOOL m_bEmplaced = FALSE;
    int m_nEmplaceLeft = 0;
    BOOL m_bEmplacing = FALSE;
    int m_nDisplaceLeft = 0;
    BOOL m_bDisplacing = FALSE;
    BOOL m_bDoNotEmplace = FALSE;

private:
    // Every field but the SOP cleared.
    void Clear();
};

// A plough or roller: it drives a lane through an obstacle while it moves,
// the lane growing with the vehicle until it comes out of the far side. A
// new path, a halt, a turn of more than 45 degrees off the lane or the
// obstacle's deletion ends the breach.
class CUCapBreacher : public CUCapMarked
{
    DECLARE_SERIAL(CUCapBreacher)
public:
    CUCapBreacher();
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_BREACHER; }
    CString GetName() const override { return "Breacher"; }

    // Lane, obstacle and side forgotten, not breaching; answers 0.
    int CancelBreach() override;
    // Takes the breach over when the kit can breach the obstacle's type: a
    // new lane when there is none, the unit put on it and moved one step
    // at breach speed; 1 when taken.
    int StartBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                    CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                    float fBearingHint) override;
    int ContinueBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                       CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                       float fBearingHint) override;
    // One pass of the breach: (fGoalX, fGoalY) becomes the point 5 m ahead
    // of the unit, (x, y) the unit's next point and fSpeed its speed; the
    // lane follows the unit, and the breach ends once the unit is out of
    // the obstacle (or the terrain region, with bTerrain). 1 when it moved
    // the unit.
    virtual int MoveAlongLane(float& fGoalX, float& fGoalY, float& x, float& y, CKDRGameMap* pMap,
                              CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt, BOOL bTerrain,
                              float& fSpeed);
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn) override;
    void OnStop(CKDRDatabase* pDatabase, int nVehicle) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    void OnHeadingChanged(CVehicle* pVehicle, float fHeading, CKDRDatabase* pDatabase, int nArcFrom,
                          int nArcTo) override;
    // While breaching an obstacle of the obstacles component, the obstacle
    // when the lane is still in its list; otherwise the breach is
    // cancelled. A terrain region's breach is the map's to check: null.
    CObject* GetBreachTarget(CKDRObstacles* pObstacles) override;
    void OnObstacleDeleted(int nSide, int nIndex) override;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    BOOL HitTest(int x, int y) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;

    int m_nLane = -99;  // index in the obstacle's lane list
    int m_nObstacle = -99;
    int m_nObstacleSide = -99;  // BREACH_SIDE_TERRAIN: a terrain region
    float m_fBreachDirection = 0.0f;  // radians, clockwise from north
    BOOL m_bBreaching = FALSE;

protected:
    explicit CUCapBreacher(const char* markerName) : CUCapMarked(markerName) {}
    // The shared take-over of StartBreach and ContinueBreach.
    int TakeOverLane(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                     CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt, float fBearingHint);
};

// An engineer breaches standing still: after its time to breach the lane
// appears at once, and it has a limited number of breaches.
class CUCapEngineer : public CUCapBreacher
{
    DECLARE_SERIAL(CUCapEngineer)
public:
    CUCapEngineer() = default;
    explicit CUCapEngineer(const CVCapEngineer* pVehicleCap);
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_ENGINEER; }
    CString GetName() const override { return "Engineer"; }

    int CancelBreach() override;
    // Any breach is cancelled; then, when the kit can breach the
    // obstacle's type and breaches remain, the breach starts its timer
    // and (x, y) becomes the point the breach length plus 1 m ahead. The
    // unit is not moved. 1 when started.
    int StartBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                    CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                    float fBearingHint) override;
    int ContinueBreach(float& x, float& y, float& fPrevX, float& fPrevY, CKDRGameMap* pMap,
                       CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt,
                       float fBearingHint) override;
    // The engineer stands while it breaches: 1, nothing moved.
    int MoveAlongLane(float& fGoalX, float& fGoalY, float& x, float& y, CKDRGameMap* pMap,
                      CVehicleCapability* pVehicleCap, const BreachTarget& target, double dt, BOOL bTerrain,
                      float& fSpeed) override;
    // The timed breach; UCAP_EVENT_BREACH_DONE when the lane is made.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    void OnMove(CKDRDatabase* pDatabase, int nVehicle) override;
    void OnStop(CKDRDatabase* pDatabase, int nVehicle) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    CObject* GetBreachTarget(CKDRObstacles* pObstacles) override;
    // The information sheet's lines, each ending in "\r\n".
    void GetStatusText(CString& strText) const;

    BOOL m_bWholeObstacle = FALSE;  // no lane yet: the breach makes one
    int m_nBreachLeft = 0;          // seconds
    int m_nBreachesLeft = 0;
};
// A laser observer's link to what it observes; the guided rounds of its
// side strike what it holds (CKDRUnits::FindDesignatedTarget).
class CUCapObserver : public CUnitCapability
{
    DECLARE_SERIAL(CUCapObserver)
public:
    CUCapObserver() = default;
    void Serialize(CArchive& ar) override;
    CString GetUnidentifiedName() const override { return "Unidentified Observer"; }
    CString GetUnidentifiedBitmap() const override { return "Unknown Observer Green"; }
    DWORD GetType() const override { return VCAP_OBSERVER; }
    CString GetName() const override { return "Observer"; }

    // The laser lies on a unit (its address), observing.
    void Observe(int nUnit, int nArray, int nKind);
    // No target: unit, array and kind -99, everything else 0.
    void DropTarget();
    // A new path, a move and a reset drop the target; answers 1.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn) override;
    void OnMove(CKDRDatabase* pDatabase, int nVehicle) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    // The observer turning to the target's side drops it; answers 1.
    int OnSideChanged(int nSide) override;
    // The target's deletion (or its whole array's) drops it; a deletion
    // lower in its array moves its index down.
    void OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit) override;

    int m_nTargetUnit = -99;
    int m_nTargetArray = -99;
    int m_nTargetKind = -99;
    DWORD m_dwTargetX = 0;
    DWORD m_dwTargetY = 0;
    BOOL m_bObserving = FALSE;
    BOOL m_bPointTarget = FALSE;
    BOOL m_bStoredFlag = FALSE;
    int m_nStoredValue = 0;
};

class CUCapFDC : public CUnitCapability
{
    DECLARE_SERIAL(CUCapFDC)
public:
    CUCapFDC() = default;
    DWORD GetType() const override { return VCAP_FDC; }
    CString GetName() const override { return "Fire Direction Center"; }
};

// A smoke generator: a stream of clouds, one each time to release, or a
// burst on each Smoke order.
class CUCapSmoker : public CUCapMarked
{
    DECLARE_SERIAL(CUCapSmoker)
public:
    CUCapSmoker();
    explicit CUCapSmoker(const CVCapSmoker* pVehicleCap);
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_SMOKER; }
    CString GetName() const override { return "Smoker"; }

    // "S&moke" in the Orders submenu.
    void AddMenuItems(CMenu* pMenu) override;
    // The Smoke order on (the release timer at the time to release, at 0
    // for a burst) or off.
    void SetSmoke(BOOL bOn, const CVCapSmoker* pVehicleCap);
    // The releases due in dt whole seconds, each a cloud at the unit;
    // answers 0.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    // Timer and order off; the smokes left are kept.
    void Reset(float fHeading, int nValue1, int nValue2) override;
    // "Smoke bursts remaining: n" or "Smoke remaining: n min"; empty
    // without the vehicle's smoker capability.
    void GetStatusText(CString& strText, CKDRDatabase* pDatabase, int nVehicle) const;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    BOOL HitTest(int x, int y) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;

    // How many releases a pass counts when its dt took the timer from its
    // value to fRemainder (0 or less, after the first release) with a time
    // to release of nPeriod seconds, capped at nCap.
    static int CountReleases(int nRemainder, int nPeriod, int nCap);

    int m_nReleaseLeft = 0;  // seconds to the next release
    int m_nSmokeLeft = 0;
    BOOL m_bSmoking = FALSE;
};

// A fixed-wing aircraft: its flying height over the ground and its station,
// which it keeps flying back to.
class CUCapFixedWing : public CUnitCapability
{
    DECLARE_SERIAL(CUCapFixedWing)
public:
    // The station coordinate of an aircraft that has none.
    static constexpr float NO_STATION = -99.0f;

    CUCapFixedWing() = default;
    void Serialize(CArchive& ar) override;
    CString GetUnidentifiedName() const override { return "Unidentified Fixed Wing"; }
    CString GetUnidentifiedBitmap() const override { return "Unknown Fixed Wing Green"; }
    DWORD GetType() const override { return VCAP_FIXED_WING; }
    CString GetName() const override { return "Fixed Wing"; }

    // The station becomes the path's start; answers 1.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn) override;
    void ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit) override;
    // Station keeping and the heights; answers 0.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;

    int m_nAltitude = 0;  // metres above the map datum
    int m_nHeight = 0;    // metres above the ground
    float m_fStationX = NO_STATION;
    float m_fStationY = NO_STATION;

private:
    void UpdateHeights(CUnit* pUnit, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
};

// A helicopter: its flying height (landed, in defilade, flying) and its
// turning rotor.
class CUCapRotaryWing : public CUnitCapability
{
    DECLARE_SERIAL(CUCapRotaryWing)
public:
    // Frames the rotor turns on per pass.
    static constexpr int ROTOR_FRAMES_PER_PASS = 3;

    CUCapRotaryWing() = default;
    ~CUCapRotaryWing() override;
    void Serialize(CArchive& ar) override;
    CString GetUnidentifiedName() const override { return "Unidentified Rotary Wing"; }
    CString GetUnidentifiedBitmap() const override { return "Unknown Rotary Wing Green"; }
    DWORD GetType() const override { return VCAP_ROTARY_WING; }
    CString GetName() const override { return "Rotary Wing"; }

    // The rotor picture from the vehicle's rotor piece, keeping its scale.
    BOOL AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                                 CVehicle* pVehicle) override;
    // The rotor and the heights; answers 0.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    BOOL HitTest(int x, int y) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;

    int m_nAltitude = 0;
    int m_nHeight = 0;
    int m_nRotorFrame = 0;
    CSprite* m_pRotor = nullptr;  // owned; made when the vehicle is attached
    BOOL m_bRotorLoaded = FALSE;
};

// A mine layer: minefields laid at a point within its ranges, on the
// player's command for side 0 and at a scheduled time for the others.
class CUCapMineLayer : public CUCapMarked
{
    DECLARE_SERIAL(CUCapMineLayer)
public:
    CUCapMineLayer();
    explicit CUCapMineLayer(const CVCapMineLayer* pVehicleCap);
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_MINE_LAYER; }
    CString GetName() const override { return "Mine Layer"; }

    // "D&eploy Mines" in the Actions submenu.
    void AddMenuItems(CMenu* pMenu) override;
    // Aims the laying at a map point within the vehicle's ranges (refused,
    // the old target kept, outside them) and, with bStart, starts laying
    // there (1); 0 when refused or not started. A point with a negative
    // coordinate stops the laying.
    BOOL SetTarget(CKDRDatabase* pDatabase, const CUnit* pUnit, BOOL bStart, float x, float y);
    void StopDeploying() { m_bDeploying = FALSE; }
    // The laying timer and the scheduled laying; answers 0.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    void Reset(float fHeading, int nValue1, int nValue2) override;
    void GetStatusText(CString& strText) const;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    BOOL HitTest(int x, int y) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;

    int m_nDeployLeft = 0;
    int m_nMinefieldsLeft = 0;
    float m_fTargetX = 0.0f;
    float m_fTargetY = 0.0f;
    BOOL m_bDeploying = FALSE;
    CTimeSpan m_timeDeploy;  // from when a unit not of side 0 lays; START_TIME_NEVER: never
};
