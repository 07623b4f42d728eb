#pragma once
// CUnitOrderArray: an owning, ordered set of unit orders kept by type code.
// Every platoon and company holds one as its standing orders and one for
// its AI orders; AI orders and phases hold further sets; a "*.sop" file is
// one set, the library of AI orders the context menus offer.
//
// Invariants kept by the operations (not by the container): at most one
// formation order, at most one active AI order in a platoon's standing
// orders, at most one toggle order per toggle. Entries may be null; every
// walk skips them.
//
// Record (and the whole "*.sop" file): the count, then each order as a
// class-tagged object. Sets nested more than CRecordNesting::MAX_DEPTH deep
// are refused with the archive error. LoadSOP reads into a fresh set and
// takes it over only when the whole file was read, so a cut-short, corrupt
// or unknown-class file leaves the set as it was, with a message saying why.

#include "orders/UnitOrder.h"

class CFormationPlatoonTemplate;
class CFormationTemplateArray;
class CUOrdAIOrder;
class CUOrdConditionalStart;
class CUOrdPlatoonFormation;

class CUnitOrderArray : public TypedObArray<CUnitOrder>
{
    DECLARE_SERIAL(CUnitOrderArray)
public:
    CUnitOrderArray();
    // New objects of the same classes in the same order; empty file name.
    CUnitOrderArray(const CUnitOrderArray& other);
    CUnitOrderArray& operator=(const CUnitOrderArray&) = delete;

    void Serialize(CArchive& ar) override;

    // ---- Adding and removing ----
    // Deletes the orders of the same code, then appends (null: nothing).
    // Orders that only share a bit with it stay: toggle orders for other
    // toggles all carry 0x4000.
    void AddOrder(CUnitOrder* pOrder);
    // A default order of that code, unless an order present already carries
    // the toggle's order-side bit (code XOR 0x4000).
    void AddOrderOfType(DWORD dwCode);
    void RemoveOrdersOfType(DWORD dwCode);
    // Mode 0 flips the unit toggle's order; other modes set it to *pState.
    DWORD SetToggle(DWORD dwUnitBit, int* pState, int nMode);
    // The index of an order in the set; -1 when it is not there.
    int FindOrder(const CUnitOrder* pOrder) const;

    // ---- Formation orders ----
    CUOrdPlatoonFormation* GetFormationOrder() const;
    int ClearFormation();
    CUOrdPlatoonFormation* SetFormation(const CFormationPlatoonTemplate* pTemplate);
    CUOrdPlatoonFormation* SetFormationByName(const CString& name);
    BOOL HasFormationNamed(const CString& name) const;
    CString GetFormationIconName(const CFormationTemplateArray* pTemplates, int nLevel) const;

    // ---- Conditional starts ----
    BOOL RemoveConditionalStarts(int nNumber);  // -99: all
    CUOrdConditionalStart* GetLowestConditionalStart(int& nNumber) const;
    CUOrdConditionalStart* CheckConditionalStart(DWORD dwFlags, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5,
                                                 DWORD id6);

    // ---- AI orders ----
    // The names of the AI orders offered to an echelon (level code), side and
    // type; a mask of 0 or less (or a negative argument) restricts nothing.
    BOOL ListAIOrders(CStringArray& names, int nEchelon, int nSide, int nType) const;
    BOOL HasAIOrderNamed(const CString& name) const;
    CUOrdAIOrder* GetAIOrder() const;
    CUOrdAIOrder* SetAIOrder(const CUOrdAIOrder* pOrder);
    void RemoveAIOrders();
    void AddAIOrderIfNew(const CUOrdAIOrder* pOrder);

    // ---- Running and presenting ----
    int UpdateOrders(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                     CKDRObstacles* pObstacles, CKDRHoles* pHoles);
    virtual int ExecuteOrders(CUOrdAIOrderDataArray* pData, CHierarchyPlatoon* pElement, CHierarchyPlatoon* pOwner,
                              CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRHoles* pHoles, CKDRDatabase* pDatabase,
                              CKDRGameMap* pMap, BOOL bDeleteFinished);
    void DrawOrders(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                    CWnd* pView, DWORD dwOverlay, int nFlag, BOOL bPlatoonOverlays, BOOL bCompanyOverlays);
    virtual void GetDescriptions(CStringArray& texts, int nValue1, int nValue2);

    // Reads a "*.sop" file from the data directory, which it makes current;
    // while it does not open, a file dialog offers another, and Cancel gives
    // up. 1 when read, else 0.
    int LoadSOP(const CString& fileName, const CString& strDataDir);

    // The sixteen order names in code order; not stored.
    CStringArray m_astrOrderNames;
    CString m_strSOPFileName;  // not stored

private:
    void DeleteOrdersWhere(bool (*test)(const CUnitOrder&, DWORD), DWORD dwValue);
};
