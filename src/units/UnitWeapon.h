#pragma once
// The run-time state of a unit's weapons: one CUnitWeapon per weapon mount
// of the vehicle type (or of its turret), holding the rounds on hand and
// the fire and reload countdowns. CUnitWeaponArray is index-aligned with
// the mount list it was built from: record i belongs to mount i. The unit
// keeps one list for its vehicle's own mounts; a turret capability keeps a
// second one for the turret's mounts.
//
// Record: four signed 16-bit words (rounds, fire countdown, reload
// countdown, rounds before reload), read back sign-extended. The weapon
// index, mount index and in-turret fields are working values that the
// engagement order writes each time; they are not stored and read back as
// kUnset. The list is stored as a plain object array of class-tagged
// records.
//
// The list owns its records. The engagement order borrows records of
// other lists into a list of this class; whoever makes such a list empties
// it with RemoveAllNoDelete before it goes.
//
// A mount whose weapon the database does not know (an index outside the
// weapon list) still gets its record, so that the records stay aligned
// with the mounts; every operation that needs the weapon passes over it.
// A missing operand (database, vehicle type, list) makes an operation do
// nothing, or answer 0 or null; none reports an error.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"
#include "platform/core/Unset.h"

class CKDRDatabase;
class CUnitCapability;
class CVCapTurret;
class CVehicle;
class CVehicleWeapon;
class CVehicleWeaponArray;
class CWeapon;
class CWeaponArray;

class CUnitWeapon : public CObject
{
    DECLARE_SERIAL(CUnitWeapon)
public:
    CUnitWeapon() = default;
    CUnitWeapon(int nRounds, int nRoundsBeforeReload) : m_nRounds(nRounds), m_nRoundsBeforeReload(nRoundsBeforeReload)
    {
    }

    void Serialize(CArchive& ar) override;

    int m_nRounds = 0;
    int m_nFireCountdown = 0;    // ticks until it may fire again
    int m_nReloadCountdown = 0;  // ticks until the reload in progress ends
    int m_nRoundsBeforeReload = 0;
    // Working values of the engagement order, not stored.
    int m_nWeapon = kUnset;
    int m_nMount = kUnset;
    int m_bInTurret = kUnset;  // 1 turret, 0 the vehicle's own mounts
};

class CUnitWeaponArray : public TypedObArray<CUnitWeapon>
{
    DECLARE_SERIAL(CUnitWeaponArray)
public:
    CUnitWeaponArray() = default;
    // The records BuildFromVehicle makes, for this mount list and weapon
    // list (a copied unit or turret starts with full loads).
    CUnitWeaponArray(const CVehicleWeaponArray* pMounts, const CWeaponArray* pWeapons);

    // The turret whose mounts a vehicle type's turret list is built from:
    // the first capability of type Turret, else the first that contains
    // one; null when none.
    static CVCapTurret* FindVehicleTurret(CVehicle* pVehicle);
    // The vehicle type's own mounts (bFromTurret FALSE) or its turret's;
    // null without a vehicle type or turret.
    static CVehicleWeaponArray* GetMountList(CVehicle* pVehicle, BOOL bFromTurret);
    // The mount at that index of the chosen list of the vehicle type at
    // nVehicle; null when the database, its vehicles or the index is not
    // there.
    static CVehicleWeapon* GetMount(int nVehicle, int nMount, BOOL bFromTurret, CKDRDatabase* pDatabase);

    // Deletes every record and makes one full record per mount of the
    // chosen list, in mount order. Nothing happens without a database with
    // vehicles and weapons or without that vehicle type. A null mount entry
    // is passed over.
    void BuildFromVehicle(int nVehicle, CKDRDatabase* pDatabase, BOOL bFromTurret);
    // Keeps the records (rounds and timers) when there are as many as the
    // vehicle type has own mounts; otherwise builds them anew from those.
    void RebuildIfChanged(CVehicle* pVehicle, CKDRDatabase* pDatabase);

    // One tick: a reload in progress counts down; only when none is, the
    // fire countdown does. Neither goes below 0. The elapsed time is not
    // used: the countdowns count calls.
    void CountDown(int nElapsed);
    // Both countdowns and the rounds before reload to 0; rounds stay.
    void ResetTimers();

    // Takes rounds from a DF ammunition carrier (type VCAP_DF_AMMO_CARRIER
    // only) into the records whose mount (of pMounts, the list this one was
    // built from) fires the weapon of a load entry: each takes what it
    // lacks of its mount's load, as far as the entry has rounds, and the
    // entry gives them up. TRUE when any such record was not above its
    // load, even if nothing moved. Entries of a negative weapon index or
    // without rounds give nothing.
    BOOL ResupplyFrom(CUnitCapability* pCarrier, const CVehicleWeaponArray* pMounts, CKDRDatabase* pDatabase);

    // Appends one line per record whose mount is in the chosen list: the
    // weapon's name (cut to ten characters and "..." when longer than
    // thirteen), a tab more when that is shorter than eight characters, a
    // tab and the rounds on hand. The list is not cleared first.
    void ListWeapons(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase, BOOL bFromTurret) const;

    // Writes each record's working values and inserts it into the ordered
    // list (which borrows it) before the first position j whose mount j of
    // the same chosen list has a weapon of higher penetration; at the end
    // when there is none. Records without a mount or weapon are left out.
    void AddInEngagementOrder(int nVehicle, CUnitWeaponArray* pOrdered, CKDRDatabase* pDatabase, BOOL bFromTurret);

private:
    // Appends one record per mount (see BuildFromVehicle).
    void AppendFromMounts(const CVehicleWeaponArray* pMounts, const CWeaponArray* pWeapons);
};

// The mount's weapon when the weapon list has one at the mount's index;
// null otherwise (no mount, no list, an index outside it).
CWeapon* FindMountWeapon(const CVehicleWeapon* pMount, const CWeaponArray* pWeapons);
