#pragma once
// A unit on the map, as far as the application shell, the database and the
// battlefield need it. This is the least form of the unit record: a unit
// that stands still, carries nothing and fires nothing; the units subsystem
// replaces it with the full record.

#include "platform/Object.h"
#include "platform/Types.h"

class CKDRDatabase;
class CKDRGameMap;
class CTaskOrgArray;

class CUnit : public CObject
{
    DECLARE_SERIAL(CUnit)
public:
    CUnit();
    ~CUnit() override;

    // TRUE while the unit rides in a carrier.
    BOOL IsCarried() const;
    BOOL IsStoppedByOrder() const;
    BOOL HasDismounted() const;
    // The OR of the unit's capability type bits.
    DWORD GetCapabilityMask() const;
    // Nonzero when the unit may start firing the munition now; 0 ends the fire mission.
    int CanFireMunition(int nPass1, int nPass2, int nPass3, DWORD dwMunitionType, CKDRDatabase* pDatabase,
                        CTaskOrgArray* pUnits);
    // Points the heading along the unit's path again.
    void UpdateHeading();
    void SetHeading(float fHeading, CKDRGameMap* pMap);

    BOOL m_bDestroyed;
    float m_fX;            // metres east
    float m_fY;            // metres north
    float m_fHeading;      // radians clockwise from north
    // Dug-position occupancy, written when the unit takes a position.
    BOOL m_bInPosition;
    int m_nPositionIndex;  // -99: none
    BOOL m_bPositionFlag1;
    BOOL m_bPositionFlag2;
};
