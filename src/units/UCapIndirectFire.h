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

    CAmmoEntryList m_load;  // weapon index and rounds
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
};
