#pragma once
// The standing orders of a platoon or company: one family rooted in
// CUnitOrder. Each class answers a 32-bit type code in which one bit names
// the class; toggle and cancel-toggle orders add the toggle bits they switch
// (order-side bits: the unit's Do Not Emplace bit 16384 equals the toggle
// class bit 0x4000 and is carried in orders as 0x40000). The order set
// (CUnitOrderArray) keeps, finds, replaces and deletes orders by these codes.
//
// Every order owns its condition list (created by every constructor, copied
// deeply). Records start with the conditions, except the suppress order's.
//
// The toggle record keeps the toggles in one 16-bit word: Do Not Emplace
// (0x40000) does not fit, so it is written as 0x4000 and 0x4000 read back is
// Do Not Emplace again; 0x4000 is never a toggle of its own.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

class CConditionArray;
class CHierarchyPlatoon;
class CKDRDatabase;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CKDRUnits;
class CUOrdAIOrderData;
class CUOrdAIOrderDataArray;
class CWnd;

// Class bits of the type codes, in the order the set tests them.
constexpr DWORD UORD_TOGGLE = 0x4000;
constexpr DWORD UORD_PLATOON_FORMATION = 0x8000;
constexpr DWORD UORD_COMPANY_FORMATION = 0x10000;
constexpr DWORD UORD_CONDITIONAL_START = 0x20000;
constexpr DWORD UORD_AI_ORDER = 0x80000;
constexpr DWORD UORD_AI_PHASE = 0x100000;
constexpr DWORD UORD_AI_PHASE_ORDER = 0x200000;
constexpr DWORD UORD_AI_HIERARCHY = 0x400000;
constexpr DWORD UORD_CANCEL_TOGGLE = 0x800000;
constexpr DWORD UORD_MOUNT = 0x1000000;
constexpr DWORD UORD_DISMOUNT = 0x2000000;
constexpr DWORD UORD_ORIENT = 0x4000000;
constexpr DWORD UORD_DETACH = 0x8000000;
constexpr DWORD UORD_RECALCULATE = 0x10000000;
constexpr DWORD UORD_ASSIGN_PATH = 0x20000000;
constexpr DWORD UORD_SUPPRESS = 0x40000000;
constexpr DWORD UORD_CLASS_BITS[] = {UORD_TOGGLE,
                                     UORD_PLATOON_FORMATION,
                                     UORD_COMPANY_FORMATION,
                                     UORD_CONDITIONAL_START,
                                     UORD_AI_ORDER,
                                     UORD_AI_PHASE,
                                     UORD_AI_PHASE_ORDER,
                                     UORD_AI_HIERARCHY,
                                     UORD_CANCEL_TOGGLE,
                                     UORD_MOUNT,
                                     UORD_DISMOUNT,
                                     UORD_ORIENT,
                                     UORD_DETACH,
                                     UORD_RECALCULATE,
                                     UORD_ASSIGN_PATH,
                                     UORD_SUPPRESS};

// Unit toggle bits that differ between units and orders.
constexpr DWORD UNIT_DO_NOT_EMPLACE = 16384;
constexpr DWORD ORDER_DO_NOT_EMPLACE = 0x40000;
constexpr DWORD UNIT_SUPPRESS = 0x10000;

// The two special formations: support by fire or defence, and a position area.
constexpr int FORMATION_SBF_DEFENSE = kUnset;
constexpr int FORMATION_POSITION_AREA = -88;
extern const char* const SBF_DEFENSE_NAME;    // ".SBF/Defense."
extern const char* const POSITION_AREA_NAME;  // ".Position Area."

class CUnitOrder : public CObject
{
    DECLARE_SERIAL(CUnitOrder)
public:
    CUnitOrder();
    CUnitOrder(const CUnitOrder& other);
    CUnitOrder& operator=(const CUnitOrder&) = delete;
    ~CUnitOrder() override;

    // The record: the condition list.
    void Serialize(CArchive& ar) override;

    // A unit event (its mask and six identifiers) offered to the conditions;
    // 1 when one of them reports it met.
    virtual int CheckConditions(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5, DWORD id6);
    // Nine values passed through from the set's DrawOrders; the base draws nothing.
    virtual void Draw(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                      CWnd* pView, DWORD dwOverlay, int nFlag, BOOL bPlatoonOverlays, BOOL bCompanyOverlays);
    // The per-tick step; 0 when the order is finished. The base stays.
    virtual int Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                       CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    // Asked by an AI phase before it starts the order; 0: it cannot begin.
    virtual int Prepare(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                        CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // Carries the order out on the acting element; 0 when finished or impossible.
    virtual int Execute(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                        CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                        CKDRGameMap* pMap);
    // Hands one AI order data item to the order; the base ignores it.
    virtual int AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement,
                        CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // The text of the hierarchy display's order list; empty texts are skipped.
    virtual CString GetDescription(int nValue1, int nValue2);
    virtual int SpareQuery(int nValue1, int nValue2);
    virtual void SpareNotify(int nValue);
    virtual DWORD GetOrderType() const;
    virtual CString GetOrderName() const;

    // The toggle order code of a unit toggle bit; the suppress code for
    // UNIT_SUPPRESS; 0 for anything else.
    static DWORD ToggleToOrderCode(DWORD dwUnitBit);
    // The unit toggle bit of a toggle order code; -1 for anything else.
    static int OrderCodeToToggle(DWORD dwCode);
    // SBF_DEFENSE_NAME, POSITION_AREA_NAME or empty.
    static CString SpecialFormationName(int nIndex);

    // The first class bit of a code in the set's order; 0 when none.
    static DWORD FirstClassBit(DWORD dwCode);
    // A new default order of the class the first class bit names (a plain
    // CUnitOrder when none).
    static CUnitOrder* CreateForCode(DWORD dwCode);
    // A deep copy in a new object of the class the source's code names.
    static CUnitOrder* CopyOrder(const CUnitOrder* pSource);

    CConditionArray* m_pConditions;
};

// Switches toggle bits (order-side encoding) on for the element's units.
class CUOrdToggleOrder : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdToggleOrder)
public:
    CUOrdToggleOrder() = default;
    explicit CUOrdToggleOrder(DWORD dwToggles) : m_dwToggles(dwToggles) {}
    CUOrdToggleOrder(const CUOrdToggleOrder& other) = default;

    void Serialize(CArchive& ar) override;
    int Update(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
               CKDRObstacles* pObstacles, CKDRHoles* pHoles) override;
    int Execute(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner, CKDRUnits* pUnits,
                CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase, CKDRGameMap* pMap) override;
    CString GetDescription(int nValue1, int nValue2) override;
    DWORD GetOrderType() const override { return m_dwToggles | UORD_TOGGLE; }
    CString GetOrderName() const override { return "Toggle Order"; }

    // The description text of one order-side toggle bit; empty otherwise.
    static CString ToggleDescription(DWORD dwToggles);

    DWORD m_dwToggles = 0;
};

// Switches the same bits off.
class CUOrdCancelToggleOrder : public CUOrdToggleOrder
{
    DECLARE_SERIAL(CUOrdCancelToggleOrder)
public:
    CUOrdCancelToggleOrder() = default;
    explicit CUOrdCancelToggleOrder(DWORD dwToggles) : CUOrdToggleOrder(dwToggles) {}
    CUOrdCancelToggleOrder(const CUOrdCancelToggleOrder& other) = default;

    DWORD GetOrderType() const override { return m_dwToggles | UORD_CANCEL_TOGGLE; }
    CString GetOrderName() const override { return "Cancel Toggle Order"; }
};
