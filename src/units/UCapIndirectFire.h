#pragma once
// The unit capability kinds that carry munitions: a gun or mortar battery
// (CUCapIndirectFire) with its mission queue and firing cycle, and the two
// ammunition carriers that hand rounds to other units. Their loads are
// entries of an item index and a number of rounds, as in the vehicle
// capabilities they are built from (a full load): munitions of the vehicle
// list's ammunition array for the battery and the IF carrier, weapons of the
// weapon list for the DF carrier.
//
// Stored forms ("word": a signed 16-bit word read back sign-extended;
// "flag": a 0/1 word of which only a nonzero word read sets the flag):
//   Indirect Fire   the mission queue (a plain object array of
//                   CFireMission); traversing (flag), traverse left (word),
//                   computing (flag), compute left (word), loading (flag),
//                   load left (word), shot (flag), shot stage (word), volley
//                   report (flag), volley size, volley count, stored value 1
//                   (words), unloading (flag), stored values 2 and 3
//                   (words), stored flags 2 and 1 (flags); the munitions
//   both carriers   the load
// Munitions and loads: a word count, then per entry its index and its
// rounds (two words); a negative count, or one the bytes left cannot hold,
// raises the archive exception before anything is read.

#include "database/VCapIndirectFire.h"
#include "units/UnitCapability.h"

class CFireMissionArray;
class CSprite;
class CStringList;

// The unit's commands the battery and the carriers add to its Actions menu.
constexpr UINT ID_UNIT_FIRE_MISSION = 33019;
constexpr UINT ID_UNIT_UPLOAD = 33339;

// The events of the battery's Update, which the unit acts on.
constexpr DWORD UCAP_EVENT_VOLLEY_DONE = 0x20;       // a reported volley ended: alone
constexpr DWORD UCAP_EVENT_VOLLEY_LAID = 0x80;       // the queue laid or fired a volley, or ended a mission
constexpr DWORD UCAP_EVENT_FIRING_DIRECTION = 0x100; // turn to m_fAzimuth
constexpr DWORD UCAP_EVENT_REAIM = 0x200;            // back to the route heading

class CUCapIndirectFire : public CUnitCapability
{
    DECLARE_SERIAL(CUCapIndirectFire)
public:
    CUCapIndirectFire();
    explicit CUCapIndirectFire(const CVCapIndirectFire* pVehicleCap);
    ~CUCapIndirectFire() override;

    void Serialize(CArchive& ar) override;
    CString GetUnidentifiedName() const override { return "Unidentified Artillery"; }
    CString GetUnidentifiedBitmap() const override { return "Unknown Artillery Green"; }
    DWORD GetType() const override { return VCAP_INDIRECT_FIRE; }
    CString GetName() const override { return "Indirect Fire"; }

    // The firing cycle of one pass (dt whole game seconds): the queue's
    // step, then one phase at a time while the battery is ready, the shot
    // stage last. A suppressed battery, or one without its vehicle
    // capability, changes nothing and answers 0. Answers UCAP_EVENT_ bits.
    DWORD Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                 int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5) override;
    // "&Fire Mission" in the Actions submenu.
    void AddMenuItems(CMenu* pMenu) override;
    // Outside the deployment phase, a route that takes the current target
    // out of range stops the laying; answers 1.
    BOOL OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn) override;
    // The flash picture from the vehicle capability's first flash piece.
    BOOL AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                                 CVehicle* pVehicle) override;
    void UpdateSprite(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fHeading,
                      float fZoom) override;
    void Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
              BOOL bVisible, BOOL bSecondPicture, float fHeading) override;
    // Tops the load up to the vehicle's full loads from an IF ammunition
    // carrier; TRUE when a round moved.
    BOOL ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase) override;
    // "name\trounds" per munition the database knows.
    void GetAmmunitionLines(CStringList& lines, CKDRDatabase* pDatabase) override;
    // An empty queue and an idle cycle; the load stays.
    void Reset(float fHeading, int nValue1, int nValue2) override;
    // A full load again in the deployment phase, or when the list no longer
    // matches the vehicle capability's in length; answers FALSE.
    BOOL Validate(CVehicle* pVehicle, CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                  CString& report) override;

    // The player's mission on a point from the unit's position, by the
    // current fire order; TRUE when queued.
    BOOL AddFireMission(float fX, float fY, const CUnit* pUnit, CKDRDatabase* pDatabase);
    // A mission of the battery's own choice on a target at the point:
    // only with an empty queue, the first munition type (DPICM, BBDPICM,
    // HE, HERAP, PGM) held with rounds that reaches the target and can hurt
    // its vehicle type. TRUE when queued.
    BOOL AddAIFireMission(float fFromX, float fFromY, float fTargetX, float fTargetY, CVehicle* pTargetVehicle,
                          CKDRDatabase* pDatabase);
    // Removes the mission under the point. Cancelling the current one while
    // loading (outside deployment) unloads for twice the shot time, else
    // the cycle stops. FALSE when none is there or no vehicle capability.
    BOOL CancelFireMission(float fX, float fY, CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nVehicle);
    BOOL IsIdle() const { return !m_bTraversing && !m_bComputing && !m_bLoading && !m_bUnloading; }
    // Rounds of the first munition of the type; 0 when none.
    int GetRoundsOfType(int nMunitionType, CKDRDatabase* pDatabase) const;
    // The munition index of the first munition of the type; -1 when none.
    int GetMunitionOfType(int nMunitionType, CKDRDatabase* pDatabase) const;
    // The information sheet's lines (the last without a line break).
    void GetStatusText(CString& strText, const CUnit* pUnit, CKDRDatabase* pDatabase) const;
    // The mean range (metres) of the HE, DPICM and smoke munitions held
    // with rounds, and in fEffect the mean of their blast or smoke radius;
    // -99.0 without a vehicle or database.
    float GetAverageEffect(CKDRDatabase* pDatabase, CVehicle* pVehicle, float& fEffect) const;
    // One row per queued mission: name (20 columns; a mission without one,
    // as the computer's are, shows the unit's), grid, rounds and munition,
    // time or method.
    void GetMissionRows(CStringList& lines, CKDRGameMap* pMap, const CString& strUnitName) const;
    // Ready to fire: halted at a stop node, dug in when it digs in, no
    // passengers, not riding, not dismounted, alive.
    static BOOL IsBatteryReady(CUnit* pUnit);

    // What a fire mission's step asks of the battery and does to it.
    // The list position of the first munition of the type (a munition type
    // bit); -1 when none or without a database.
    int GetPositionOfType(int nMunitionType, CKDRDatabase* pDatabase) const;
    // Rounds left at a list position; 0 outside the list.
    int GetRoundsAt(int nPosition) const;
    // Plays the gun's shot sound and takes one round off the first entry of
    // the munition; nothing is taken when no entry holds it.
    void FireRound(int nMunitionIndex, const CVCapIndirectFire* pVehicleCap);
    // Stops the laying: traversing, computing, loading and unloading end
    // and their times are cleared; a shot just fired runs out as it would,
    // so its flash still shows. Answers 0.
    int ClearCycle();

    CAmmoEntryList m_ammo;  // munition index and rounds left
    BOOL m_bTraversing = FALSE;
    int m_nTraverseLeft = 0;
    BOOL m_bComputing = FALSE;
    int m_nComputeLeft = 0;
    BOOL m_bLoading = FALSE;
    int m_nLoadLeft = 0;  // loading, or unloading after a cancel
    BOOL m_bShot = FALSE;
    CFireMissionArray* m_pMissions;  // owned; the first is the current one
    int m_nShotStage = 0;
    BOOL m_bVolleyReport = FALSE;
    int m_nVolleySize = 0;
    int m_nVolleyCount = 0;
    int m_nStoredValue1 = 0;
    BOOL m_bUnloading = FALSE;
    int m_nStoredValue2 = -99;
    int m_nStoredValue3 = -99;
    BOOL m_bStoredFlag1 = FALSE;
    BOOL m_bStoredFlag2 = FALSE;
    CSprite* m_pFlashSprite;  // owned; its picture is set when attached
    float m_fAzimuth = 0.0f;  // radians
    BOOL m_bFlashLoaded = FALSE;
};

class CUCapDFAmmoCarrier : public CUnitCapability
{
    DECLARE_SERIAL(CUCapDFAmmoCarrier)
public:
    CUCapDFAmmoCarrier() = default;
    explicit CUCapDFAmmoCarrier(const CVCapDFAmmoCarrier* pVehicleCap);

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return VCAP_DF_AMMO_CARRIER; }
    CString GetName() const override { return "DF Ammo Carrier"; }

    // "&Upload" in the Actions submenu, once.
    void AddMenuItems(CMenu* pMenu) override;
    // Some entry names an item and holds rounds.
    BOOL HasAmmunition() const;
    // "name\t\trounds" per entry whose item the database knows.
    void GetAmmunitionLines(CStringList& lines, CKDRDatabase* pDatabase) override;
    // Tops this carrier up from another of the same type; TRUE when a
    // round moved.
    BOOL ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase) override;
    // A full load again in the deployment phase, or when the load no
    // longer matches the vehicle capability's in length (a saved game
    // reopened mid-battle keeps what was spent); answers FALSE.
    BOOL Validate(CVehicle* pVehicle, CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                  CString& report) override;

    CAmmoEntryList m_load;  // weapon index and rounds

protected:
    // The name of an item of the load; empty when the database lacks it.
    virtual CString GetItemName(int nIndex, CKDRDatabase* pDatabase) const;
};

class CUCapIFAmmoCarrier : public CUCapDFAmmoCarrier
{
    DECLARE_SERIAL(CUCapIFAmmoCarrier)
public:
    CUCapIFAmmoCarrier() = default;
    explicit CUCapIFAmmoCarrier(const CVCapIFAmmoCarrier* pVehicleCap);

    DWORD GetType() const override { return VCAP_IF_AMMO_CARRIER; }
    CString GetName() const override { return "IF Ammo Carrier"; }
    // m_load names munitions of the vehicle list's ammunition array.

protected:
    CString GetItemName(int nIndex, CKDRDatabase* pDatabase) const override;
};

// Moves rounds into the entries of a load from a supplier's, up to the full
// loads of the vehicle's list: entry i takes only when its item is the
// vehicle's entry i, and only when both lists are as long (and not empty).
// TRUE when a round moved.
BOOL TopUpLoad(CAmmoEntryList& load, const CAmmoEntryList& full, CAmmoEntryList& supply);
