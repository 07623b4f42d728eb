#pragma once
// CVehicleWeapon: one weapon mount of a vehicle type's chassis (or of a
// turret): which weapon of the weapon list, the rounds carried, how well
// its sights see by infrared and night vision, its traverse limits and the
// radius of the suppression it causes. CVehicleWeaponArray holds the
// mounts: as a vehicle's or a turret's own array it owns them; as the
// weapon list a vehicle builds for its page and its units it only borrows
// them, and lets them go without deleting them when it goes.
//
// Mount record: eleven signed 16-bit words in this order: ammo, c flag,
// left limit, percent IR, percent NV, right limit, weapon index, s flag,
// spare B, spare A, suppression radius. The flags go as 0/1 words; a zero
// word read leaves a flag as it was.

#include "database/DatabaseSupport.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CKDRDatabase;
class CKDRGameMap;
class CWeapon;

class CVehicleWeapon : public CObject
{
    DECLARE_SERIAL(CVehicleWeapon)
public:
    CVehicleWeapon() = default;

    void Serialize(CArchive& ar) override;

    // The mounted weapon; null without a loaded weapon list (index then
    // left unwritten) or when the index is outside it.
    CWeapon* GetWeapon(CKDRDatabase* pDatabase, int* pIndex) const;
    // The weapon's range circle around the map point.
    void DrawRangeArc(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap) const;
    // One row of a page's weapon table; empty for a null weapon.
    CString WriteTableRow(const CWeapon* pWeapon) const;

    int m_nPercentIR = 0;
    int m_nPercentNV = 0;
    BOOL m_bS = FALSE;
    int m_nAmmo = 0;
    int m_nWeapon = 0;
    BOOL m_bC = FALSE;
    int m_nLeftLimit = kUnset;  // kUnset: none
    int m_nRightLimit = kUnset;
    int m_nSuppressionRadius = 20;
    // Stored and kept; nothing reads them.
    int m_nSpareA = 0;
    int m_nSpareB = 0;
};

class CVehicleWeaponArray : public TypedObArray<CVehicleWeapon>
{
    DECLARE_SERIAL(CVehicleWeaponArray)
public:
    CVehicleWeaponArray() = default;
    // A list that borrows its mounts (bOwnsMounts FALSE) never deletes them.
    explicit CVehicleWeaponArray(BOOL bOwnsMounts) : m_bOwnsMounts(bOwnsMounts) {}
    ~CVehicleWeaponArray() override;

    BOOL OwnsMounts() const { return m_bOwnsMounts; }

    void DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap) const;
    // The best percent IR (infrared) or percent NV of the mounts; 0 when empty.
    int GetMaxSightPercent(bool bInfrared) const;
    // Puts this array's mounts that name a weapon into the list, before the
    // first entry whose weapon has a lower penetration: the list runs from
    // the highest penetration down, equal ones in the order they came. The
    // list borrows the mounts. Nothing without a loaded weapon list.
    void AddToWeaponList(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase) const;
    // The weapon table of a page from "vehicleWeaponArray.htm"; the None
    // paragraph when there is no weapon list, template or row.
    CString WriteWeaponTable(CKDRDatabase* pDatabase) const;

private:
    BOOL m_bOwnsMounts = TRUE;
};
