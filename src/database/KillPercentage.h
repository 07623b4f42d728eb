#pragma once
// Direct-fire kill percentages. A CKillPercentageArray belongs to a vehicle
// type (or a turret): its entry i is the CWeaponPercentages record for
// weapon i of the mission's weapon list, the percent chance that a hit of
// that weapon on the front, back, right side, left side or top kills. An
// aspect whose entry is 0 cannot be killed by that weapon.
//
// The vehicle list keeps a vehicle's own table at exactly one record per
// weapon (CVehicleArray::FitToWeaponList); a turret's table is not fitted
// and may run past the weapon list: its extra records are kept, not shown.
//
// Record: five signed 16-bit words, front, back, right, left, top.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"

class CKDRDatabase;
class CWeapon;

class CWeaponPercentages : public CObject
{
    DECLARE_SERIAL(CWeaponPercentages)
public:
    CWeaponPercentages() = default;
    CWeaponPercentages(int front, int back, int right, int left, int top)
        : m_nFront(front), m_nBack(back), m_nRight(right), m_nLeft(left), m_nTop(top)
    {
    }

    void Serialize(CArchive& ar) override;

    // One row of the page's table, naming and linking the weapon; empty
    // without a weapon.
    CString WriteHTMLRow(const CWeapon* pWeapon) const;
    BOOL IsAllZero() const;

    int m_nFront = 0;
    int m_nBack = 0;
    int m_nRight = 0;
    int m_nLeft = 0;
    int m_nTop = 0;
};

class CKillPercentageArray : public TypedObArray<CWeaponPercentages>
{
    DECLARE_SERIAL(CKillPercentageArray)
public:
    CKillPercentageArray() = default;

    // The table the vehicle and turret pages show for "*percentKillArray*":
    // one row per record that is not all zero and names a weapon of the
    // loaded list; "No Direct Fire Percentages Available" when there is no
    // row, weapon list or template.
    CString WriteHTML(CKDRDatabase* pDatabase) const;
};
