#pragma once
// CHierarchyCompany: the level above the platoon. It is itself a platoon
// (its own name, standing orders, AI orders and path, the same record) and
// its array holds its own vehicles (elements) and whole platoons side by
// side, told apart by run-time class name: GetElement answers only element
// children and GetPlatoon only platoon children, both by index over the one
// array.
//
// An overriding operation does the platoon's work on the company itself
// (its own elements, orders and path) and then asks every platoon child in
// array order: finders stop at the first hit, counts and sums add, flags OR,
// actions apply to all.

#include "hierarchy/HierarchyPlatoon.h"

class CHierarchyCompany : public CHierarchyPlatoon
{
    DECLARE_SERIAL(CHierarchyCompany)
public:
    CHierarchyCompany();
    // The company's own fields as the platoon copies them, then a copy of
    // each child by kind, with the same flag.
    CHierarchyCompany(const CHierarchyCompany& source, BOOL bStructureOnly);
    CHierarchyCompany(const CHierarchyCompany&) = delete;
    CHierarchyCompany& operator=(const CHierarchyCompany&) = delete;
    ~CHierarchyCompany() override;

    // ---- Overrides of the shared table ----
    void RenumberAfterRemoval(int nUnit, int nArray, int nSide) override;
    CHierarchyPlatoon* FindPlatoonOfElement(const CString& strName, int& nIndex) override;
    int CollectTaskOrgNames(CStringArray& names, CDWordArray& counts, int nPosition, int& nInsert, int& nRemoved,
                            CTaskOrgArray* pList) override;
    void SetSide(int nSide) override;
    void ResetOrders() override;
    int RestartAIOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                       CKDRHoles* pHoles) override;
    int UpdateToggleOrder(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                          CKDRHoles* pHoles) override;
    int SetSuppressRadius(float fX, float fY, float fRadius, CKDRUnits* pUnits) override;
    DWORD GetRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const override;
    void RemoveFromTaskOrg(CTaskOrgArray* pList) const override;
    int TestInArea(DWORD dwStatus, BOOL bStopAtFirstMet, BOOL bStopWhenShort, CKDRUnits* pUnits,
                   CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int& nCounted, float fRadius,
                   float fX, float fY, const CRect& area, BOOL bElliptic) override;
    int DetachDismounts(BOOL bDetach, CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                        BOOL bMarkStates) override;
    int AllElementsSatisfy(BOOL (CUnit::*pfnTest)() const, CKDRUnits* pUnits) const override;
    int UpdateOrders(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                     CKDRHoles* pHoles) override;
    int CollectDismountElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const override;
    int CollectCarrierElements(CTaskOrgArray* pList, CKDRUnits* pUnits) const override;
    int CountBreachers(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nObstacleType) const override;
    CUnitRefArray* CollectContacts(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nRoleMask,
                                   const CRect& area) const override;
    // The company ends empty: its platoons are deleted once emptied.
    void MoveAllElementsTo(CTaskOrgArray& target) override;
    void RemoveElementsWithoutRole(int nRoleMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase) override;
    float SumWeaponValue(int nRoleMask, int nMinPenetration, CKDRUnits* pUnits, CKDRDatabase* pDatabase, float& fSum,
                         int& nCount) const override;
    int CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                          BOOL bIncludeDead = FALSE) const override;
    float SumDefaultSuppressRadius(CKDRUnits* pUnits, CKDRDatabase* pDatabase, float fX, float fY) const override;
    int RateValue(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const override;
    // Records the order; each platoon's AI orders go, and running the
    // order belongs to the platoon orders.
    int SetAIOrder(const CUOrdAIOrder* pOrder, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                   CKDRObstacles* pObstacles, CKDRHoles* pHoles) override;
    void RemoveAIOrders() override;
    int FillUnitList(CTaskOrgArray* pList, BOOL bWithName) const override;
    CHierarchyElement* GetElement(int i) const override;
    CHierarchyElement* FindElementByName(const CString& strName, BOOL bRemove) override;
    HTREEITEM InsertTreeItems(CTreeCtrl* pTree, const CStringArray& names, HTREEITEM hParent) override;
    void CollectSymbolNames(CStringArray& names) const override;
    int GetAveragePosition(float& fX, float& fY, int& nCount, CKDRDatabase* pDatabase,
                           CKDRUnits* pUnits) const override;
    int ResetFormation(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, BOOL bKeepPath) override;
    int IndexOfElementByName(const CString& strName) const override;
    float GetHeading(CKDRUnits* pUnits) override;
    int RecallDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                       int nLevel) override;
    int RecallAllDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                          int nLevel) override;
    int RecallDetachedByName(const CString& strName, CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap,
                             CKDRDatabase* pDatabase, int nLevel) override;
    BOOL HasDetachedAliveElement() const override;
    int ApplyNodeFormations(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                            CKDRHoles* pHoles) override;
    void DrawPath(CKDRGameMap* pMap, BOOL bSelected) override;
    int ClearStops(CKDRUnits* pUnits) override;
    int CheckConditionalStarts(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5, DWORD id6,
                               CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase) override;
    int AttachCallBackUnits(CCallBackUnitArray* pRecords, int nFirstWord, CKDRUnits* pUnits,
                            CKDRDatabase* pDatabase) const override;
    int ShiftPath(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX2, float fY2,
                  BOOL bSkip) override;
    int ReceivePath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX,
                    float fY, BOOL bFromStart) override;
    int PlanPath(const CNodeArray* pPath, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, float fX,
                 float fY) override;
    CTaskOrgArray* SelectInRectangle(float fX1, float fY1, float fX2, float fY2, BOOL bWanted,
                                     CKDRUnits* pUnits) override;
    void GetElementLabels(CStringArray& labels, CKDRDatabase* pDatabase, CKDRUnits* pUnits) const override;
    // Symbols: its platoons are drawn first, so the company's own symbol is
    // on top and is hit first.
    void DrawSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nStyle, float fScale,
                    BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle, DWORD dwFlags) override;
    void DrawTaskOrgMarker(CKDRGameMap* pMap, CKDRUnits* pUnits, BOOL bPlatoons, BOOL bCompanies) override;
    CHierarchyPlatoon* HitTestSymbol(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, int nSide,
                                     CKDRUnits* pUnits) override;
    int CollectHitSymbols(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, CHierarchyArray* pHits,
                          CKDRUnits* pUnits) override;
    void DrawUnitSymbol(DWORD dwOptions, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                        CKDRUnits* pUnits) override;
    void DrawCircleSymbol(BOOL bPlatoons, BOOL bCompanies, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                          CKDRGameMap* pMap, DWORD dwOptions) override;
    BOOL HasFireDirectionFor(int nUnit, int nArray, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                             BOOL bFlag) const override;
    int GetLevel() const override { return HIERARCHY_COMPANY; }
    int GetMapMenuId() const override { return COMPANY_MAP_MENU; }
    int GetTreeMenuId() const override { return COMPANY_TREE_MENU; }

    int SetTreeItemHandle(HTREEITEM hOld, HTREEITEM hNew) override;
    void PickLeader(CHierarchyArray* pHierarchy) override;
    void ClearLeaders(CHierarchyArray* pHierarchy) override;
    BOOL NameExists(const CString& strName) const override;
    const char* GetSymbolSuffix() const override { return SYMBOL_SUFFIX_COMPANY; }

    // ---- Company-only slots, 95 to 101 ----
    // 95. The element's index within the first platoon holding the unit,
    //     with the platoon's index; else (platoon index kUnset) the index of
    //     the company's own element with both words, or kUnset.
    virtual int FindElementAnywhere(int nUnit, int nArray, int& nPlatoon) const;
    // 96, 97. Moving and taking items in the hierarchy tree belong to the
    //     tree dialog: 0.
    virtual int AcceptDroppedItem(CObject* pItem, int nKind);
    virtual int TakeDraggedItem(const CString& strName, int nKind);
    // 98. Child i when it is a platoon, else null.
    virtual CHierarchyPlatoon* GetPlatoon(int i) const;
    // 99. The first platoon of that name, taken out of the array (not
    //     deleted) with bRemove; null when none.
    virtual CHierarchyPlatoon* TakePlatoonByName(const CString& strName, BOOL bRemove);
    // 100. The first platoon of that name, or null.
    virtual CHierarchyPlatoon* FindPlatoonByName(const CString& strName) const;
    // 101.
    virtual int SpareCompanyOperation() { return 0; }

    // ---- Company operations ----
    // A direct element of that name, else the element of that name in a
    // platoon (that platoon to pPlatoon); a platoon of that name gives null
    // with the platoon in pPlatoon.
    CHierarchyElement* FindElementInCompany(const CString& strName, CHierarchyPlatoon*& pPlatoon);
    // Each platoon is emptied without deleting its elements and deleted;
    // then the company's array is emptied without deleting anything. For
    // companies built over elements owned elsewhere.
    void RemoveAllPlatoons();
    // The position of the first platoon that reports one; kUnsetFloat in
    // both and FALSE when none.
    BOOL FindPlatoonPosition(float& fX, float& fY, CKDRUnits* pUnits) const;
    // Platoons with live engineers first (most engineers first), then the
    // other platoons by average vehicle value, highest first (their number
    // into nOthers), then the company's own elements; ties keep their order.
    void OrderPlatoons(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int& nOthers);

protected:
    CHierarchyCompany(const CHierarchyCompany& source, BOOL bStructureOnly, FieldsOnly);
    CArchive::ClassTest GetChildTest() const override;
    // Appends copies of the source's children by kind.
    void CopyChildren(const CHierarchyPlatoon& source, BOOL bStructureOnly);
};
