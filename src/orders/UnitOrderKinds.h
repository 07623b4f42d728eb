#pragma once
// The orders an AI phase or a map command gives a platoon or company besides
// toggles and formations: mount, dismount, orient, detach, recalculate AI
// data, assign a path, suppress an area. Here they carry their fields, their
// copies, codes, names and records, so that every order-set, unit and
// hierarchy file that holds them loads and writes back; their per-tick work
// is the base order's until the units and hierarchy they drive exist.
//
// A record holding a unit group writes it through CHierarchyArray::Serialize.

#include "orders/UnitOrder.h"

class CHierarchyArray;
class CNodeArray;
class CSprite;
class CUOrdAIOrderDataSBFLocation;

// Makes the dismounted teams of the element board carriers.
class CUOrdMount : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdMount)
public:
    CUOrdMount();
    CUOrdMount(const CUOrdMount& other);
    CUOrdMount& operator=(const CUOrdMount&) = delete;
    ~CUOrdMount() override;

    // Conditions, the passenger groups, a word (1: a force follows), the force.
    void Serialize(CArchive& ar) override;
    CString GetDescription(int nValue1, int nValue2) override;
    DWORD GetOrderType() const override { return UORD_MOUNT; }
    CString GetOrderName() const override { return "Mount"; }

    // The order's icon at the element's leader (UnitOrderMount.cpp).
    void Draw(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
              CWnd* pView, DWORD dwOverlay, int nFlag, BOOL bPlatoonOverlays, BOOL bCompanyOverlays) override;
    // Each pass: every carrier of the plan, once halted at a stop node,
    // takes its next passenger within 60 m; one farther off is sent
    // towards it. A carrier that is full or gone hands its passengers on
    // to another. 0 once every passenger group is empty.
    int Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
               CKDRObstacles* pObstacles, CKDRHoles* pHoles) override;
    // In the deployment phase the teams board at once; afterwards the
    // mount is planned over the element's carriers and a copy of the order
    // replaces the mount orders of each of its platoons. 0 when nothing
    // could be planned.
    int Execute(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                CKDRGameMap* pMap) override;
    int AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                CKDRDatabase* pDatabase, CKDRGameMap* pMap) override;
    // Execute's planning alone (steps before the copies): the boarding at
    // once in the deployment phase, else the plan and the toggles. 0 when
    // nothing could be planned.
    int Plan(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles,
             CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The mount orders of the container give way to a copy of this one.
    void ReplaceMountOrders(CHierarchyPlatoon* pContainer) const;

    CHierarchyArray* m_pCarriedUnits;  // owned, never null
    CHierarchyArray* m_pForce;         // the specified force, or null
    BOOL m_bOwnsForce;
    BOOL m_bSkipByTravelMode;  // not stored
    BOOL m_bOwnsIcon;          // not stored
    CSprite* m_pIcon;          // loaded when first drawn
};

// Makes mounted personnel get out; adds the path it leaves by.
class CUOrdDismount : public CUOrdMount
{
    DECLARE_SERIAL(CUOrdDismount)
public:
    CUOrdDismount();
    CUOrdDismount(const CUOrdDismount& other);
    ~CUOrdDismount() override;

    void Serialize(CArchive& ar) override;
    CString GetDescription(int nValue1, int nValue2) override;
    DWORD GetOrderType() const override { return UORD_DISMOUNT; }
    CString GetOrderName() const override { return "Dismount"; }

    // Stays while the element's carriers still let their teams out; then
    // the formation stands again and the order ends.
    int Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
               CKDRObstacles* pObstacles, CKDRHoles* pHoles) override;
    // A battalion-level element hands the dismount bit to each child.
    int Execute(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                CKDRGameMap* pMap) override;

    CNodeArray* m_pPath;  // owned, never null
};

// Turns the element to face a point or a direction.
class CUOrdOrientDirection : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdOrientDirection)
public:
    CUOrdOrientDirection() = default;
    CUOrdOrientDirection(const CUOrdOrientDirection& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_ORIENT; }
    CString GetOrderName() const override { return "Orient Direction"; }

    float m_fDirection = kUnsetFloat;  // radians; -99.0 none
    BOOL m_bUseSideDirection = FALSE;
    float m_fTargetX = kUnsetFloat;
    float m_fTargetY = kUnsetFloat;
};

class CUOrdDetachUnits : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdDetachUnits)
public:
    CUOrdDetachUnits() = default;
    CUOrdDetachUnits(const CUOrdDetachUnits& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_DETACH; }
    CString GetOrderName() const override { return "Detach Units"; }

    int m_nDetachCount = 0;
    BOOL m_bDetachFlag = FALSE;
    BOOL m_bSkip = FALSE;  // not stored
};

// Recalculates named AI data items. Its record is the base's: a copy and a
// loaded order start without names.
class CUOrdRecalculateData : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdRecalculateData)
public:
    CUOrdRecalculateData() = default;
    CUOrdRecalculateData(const CUOrdRecalculateData& other) : CUnitOrder(other) {}

    DWORD GetOrderType() const override { return UORD_RECALCULATE; }
    CString GetOrderName() const override { return "Recalculate Data"; }

    CStringArray m_astrDataNames;
};

class CUOrdAssignPath : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdAssignPath)
public:
    CUOrdAssignPath();
    CUOrdAssignPath(const CUOrdAssignPath& other);
    CUOrdAssignPath& operator=(const CUOrdAssignPath&) = delete;
    ~CUOrdAssignPath() override;

    // Conditions and the path; the location is not stored.
    void Serialize(CArchive& ar) override;
    DWORD GetOrderType() const override { return UORD_ASSIGN_PATH; }
    CString GetOrderName() const override { return "Assign Path"; }

    CNodeArray* m_pPath;            // owned, never null
    CUOrdAIOrderData* m_pLocation;  // owned, or null
};

// Suppresses an area with direct fire. Its record does not start with the
// conditions: target x, y, range, a word (1: an owned location follows), the
// location's record.
class CUOrdSuppress : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdSuppress)
public:
    CUOrdSuppress() = default;
    CUOrdSuppress(const CUOrdSuppress& other);
    CUOrdSuppress& operator=(const CUOrdSuppress&) = delete;
    ~CUOrdSuppress() override;

    void Serialize(CArchive& ar) override;
    CString GetDescription(int nValue1, int nValue2) override;
    DWORD GetOrderType() const override { return UORD_SUPPRESS; }
    CString GetOrderName() const override { return "Suppress"; }

    float m_fTargetX = kUnsetFloat;
    float m_fTargetY = kUnsetFloat;
    float m_fRange = kUnsetFloat;
    CUOrdAIOrderDataSBFLocation* m_pLocation = nullptr;
    BOOL m_bOwnsLocation = FALSE;
};

// Deep copy of a unit group through its own record; null for null.
CHierarchyArray* CopyHierarchyGroup(const CHierarchyArray* pGroup);
