#pragma once
// A unit on the map, as far as the application shell, the database and the
// battlefield need it. This is the least form of the unit record: a unit
// that stands still, carries nothing and fires nothing; the units subsystem
// replaces it with the full record.

#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CKDRDatabase;
class CKDRGameMap;
class CKDRUnits;
class CNode;
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
    // Sets (bKeepSet) or clears (bKeepClear) one order bit. Least form: 0.
    BOOL SetOrderState(DWORD dwBit, CKDRDatabase* pDatabase, BOOL bKeepSet, BOOL bKeepClear);
    // The unit's formation step at a leader's node (a follower's path, also
    // called AppendFormationNode). Least form: nothing.
    void InsertFormationNode(const CNode* pLeaderNode, CKDRDatabase* pDatabase);

    // Drawing and fire-control operations the document forwards to; the
    // least form draws nothing and answers 0.
    void DrawFunctionCircle(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawFireMissionLinks(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawCarrierLinks(CKDRUnits* pUnits, CKDRGameMap* pMap);
    void DrawRangeCircles(double dRadius, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    void DrawFieldOfView(CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Nonzero when the unit can take an indirect-fire mission.
    int CanFireMission(CKDRDatabase* pDatabase);
    int AssignFireMissionTarget(float fX, float fY, CKDRDatabase* pDatabase);
    // Clears both fire-control fields; answers 1.
    int DeleteFireControl();
    int PasteFireControl(CKDRDatabase* pDatabase);
    int SetSuppressAreaAt(float fX, float fY, CKDRDatabase* pDatabase);
    int ClearSuppressArea();
    // Control 1 the maximum-range control, 0 the field-of-fire control.
    int ClearFireControl(int nControl);

    BOOL m_bDestroyed;
    float m_fX;        // metres east
    float m_fY;        // metres north
    float m_fHeading;  // radians clockwise from north
    // Dug-position occupancy, written when the unit takes a position.
    BOOL m_bInPosition;
    int m_nPositionIndex;  // -99: none
    BOOL m_bPositionFlag1;
    BOOL m_bPositionFlag2;
    // The two fire controls (-99: none).
    int m_nFieldOfFireControl;
    int m_nMaxRangeControl;
};
