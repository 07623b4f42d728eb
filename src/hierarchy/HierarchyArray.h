#pragma once
// CHierarchyArray: the battalion, top level (code 8) of one side's unit
// hierarchy, and the object through which the rest of the system reaches
// that side's organisation. The units component keeps one per side (own,
// opposing, neutral). It finds the element that holds a unit, keeps the
// elements' mounted and destroyed marks in step with the units, picks the
// leaders again after a loss, runs every standing order of the side once
// per pass of the game loop, renumbers elements when a unit leaves its
// array, builds temporary groupings from a task organisation, and loads a
// whole hierarchy from a "*.hra" file (the record of CHierarchyPlatoon).
//
// Its children are elements, platoons and companies side by side. A
// battalion operation does the company's work on itself (its own elements
// and platoon children) and then asks each company child.
//
// Elements name their units by unit index and array index only; a unit of
// another side than the hierarchy's, or one without an element, makes the
// look-ups and the mark setters answer null or 0 and change nothing.
//
// The tree window of the hierarchy (the "Unit Hierarchy" dialog, owned
// here) refreshes items through RefreshElementItem and
// RefreshContainerItem; until the dialog shows a tree they change nothing.

#include "hierarchy/HierarchyCompany.h"

class CHierarchyDlg;

class CHierarchyArray : public CHierarchyCompany
{
    DECLARE_SERIAL(CHierarchyArray)
public:
    // Empty, side 0, group id kUnset, with its (hidden) dialog.
    CHierarchyArray();
    // Side, name, weight, category, role flags, word 7, marked and the text;
    // a full copy also symbol type, texts 2 to 5, capacity, active, group id,
    // a dialog of its own and deep copies of both order sets and the path. A
    // structure-only copy has no dialog, no order sets and no path. Then a
    // copy of each child by kind, with the same flag.
    CHierarchyArray(const CHierarchyArray& source, BOOL bStructureOnly);
    // A temporary grouping of the list's units and named groups (no dialog,
    // no order sets); empty for a null list or units component.
    CHierarchyArray(const CTaskOrgArray* pList, CKDRUnits* pUnits);
    CHierarchyArray(const CHierarchyArray&) = delete;
    CHierarchyArray& operator=(const CHierarchyArray&) = delete;
    ~CHierarchyArray() override;

    // ---- The hierarchy file ----
    // Reads a "*.hra" file from the data directory, which it makes current.
    // While the name does not open, a file dialog ("hra") offers another;
    // Cancel ends the load at once. A file that opens but is cut short or
    // corrupt is reported with its name. 1 when the hierarchy now holds the
    // file's contents; 0 leaves it as it was.
    int LoadHierarchyFile(const CString& strFile, const CString& strDataDir);

    // ---- Finding a unit's element ----
    // The element holding the unit and the level of its direct container
    // (8 battalion, 4 company, 2 platoon); null when the side is not this
    // hierarchy's or no element holds it. On side 0 the array index is
    // ignored.
    CHierarchyElement* FindElementOfUnit(int nUnit, int nArray, int nSide, int& nLevel);
    // The element's index inside its direct container, with the platoon and
    // company indices (kUnset when not inside one); kUnset when none.
    virtual int FindElementIndex(int nUnit, int nArray, int& nPlatoon, int& nCompany);
    // The platoon or company child of that name, looking inside companies
    // too; null when none.
    CHierarchyPlatoon* FindContainerByName(const CString& strName) const;
    virtual CHierarchyCompany* GetCompany(int i) const;
    // The first company child of that name, taken out with bRemove.
    CHierarchyCompany* GetCompanyByName(const CString& strName, BOOL bRemove);
    // The platoon child of that name, else the platoon of that name inside a
    // company child (that company to pCompany); null when none.
    CHierarchyPlatoon* FindPlatoonByName(const CString& strName, CHierarchyCompany*& pCompany) const;
    using CHierarchyCompany::FindPlatoonByName;

    // ---- Marks kept in step with the units ----
    int SetElementMounted(int nUnit, int nArray, int nSide);
    int ClearElementMounted(int nUnit, int nArray, int nSide);
    // Marks the element destroyed; a leader makes the hierarchy pick its
    // leaders again.
    int SetElementDestroyed(int nUnit, int nArray, int nSide, BOOL bMarkStates, CKDRUnits* pUnits,
                            CKDRDatabase* pDatabase);
    // The state word of a live, attached element of that unit, else 0.
    int GetElementState(int nUnit, int nArray, int nSide);
    // Takes the unit's element out of its container (deleted unless bKeep),
    // then renumbers the side.
    void RemoveUnitElement(int nUnit, int nArray, int nSide, BOOL bKeep);
    // Clears every leader mark, lets every platoon and company pick its
    // leader, then marks the elements a fire-direction centre serves.
    virtual void RepickLeaders(BOOL bMarkStates, CKDRUnits* pUnits, CKDRDatabase* pDatabase);
    // With bMarkStates: the element of each unit of the side that has a
    // live, attached element in a container with a live, attached leader
    // gets state 1 when the container has a fire-direction centre for it.
    void UpdateElementStates(BOOL bMarkStates, CKDRUnits* pUnits, CKDRDatabase* pDatabase);

    // ---- Tree items (the dialog's) ----
    void RefreshElementItem(CHierarchyElement* pElement, int nLevel, const CString& strText);
    void RefreshContainerItem(CHierarchyPlatoon* pContainer, const CString& strText);

    // ---- Building and handing over ----
    // Full copies of every child of the other hierarchy appended here; its
    // platoons and companies take this side, its elements keep theirs.
    void CopyStructure(const CHierarchyArray* pOther);
    // Each platoon or company child is handed to the container of its name
    // in any side's hierarchy (its subunits through ReceivePath), then
    // deleted. 0 without units, map or database, else 1.
    int TransferSubunits(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    // Puts a mounting element into the passenger platoon of the company
    // whose first element is a carrier with room, nearest to the carrier
    // first; the platoon takes the element. 1 when placed.
    int InsertUnitsInOrder(CHierarchyElement* pElement, CHierarchyPlatoon* pMountingSide, CKDRUnits* pUnits,
                           CKDRDatabase* pDatabase);
    // The plan of a mount order, made in this (empty) passenger hierarchy:
    // one company per carrier of the element with room, holding a copy of
    // the carrier's element and an empty passenger platoon; then a copy of
    // each dismount element of the group (alive, neither carried nor
    // mounting) placed through InsertUnitsInOrder, the side's hierarchy
    // saying which teams belong with which carriers. 0 when nobody was
    // placed (HierarchyMount.cpp).
    int PlanMount(CHierarchyPlatoon* pElement, CHierarchyPlatoon* pGroup, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                  CKDRGameMap* pMap);
    // The names of the platoons, companies and elements a hand-over list
    // names, with their counts.
    void ApplyTaskOrgNames(CTaskOrgArray* pList, CStringArray* pNames, CDWordArray* pCounts);
    // Takes the element of that name out of the source hierarchy and adds
    // this element to this hierarchy's top level.
    void HandOverElement(CHierarchyElement* pElement, CHierarchyArray* pSource);

    // ---- The item selected in the tree window ----
    // The tree window's selection belongs to the tree dialog: least form,
    // no item is selected, so these find nothing and answer 0, null or an
    // empty text.
    CHierarchyElement* GetSelectedElement() const;
    CHierarchyPlatoon* GetSelectedContainer() const;
    CUnit* GetSelectedUnit(CKDRUnits* pUnits) const;
    CString GetSelectedItemText() const;
    int SelectedHasToggle(DWORD dwToggle) const;
    int SelectedIsInSpecialFormation() const;
    int IsSelectedFormation(int nIndex) const;
    int SetFormationOfSelected(int nFormation, int nSide, CKDRUnits* pUnits, CKDRGameMap* pMap,
                               CKDRDatabase* pDatabase);
    int AssignAIOrderToSelected(int nMission, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);
    int IssueAIOrderToSelected(int nItem, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase);

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
    DWORD GetRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase) const override;
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
    void MoveAllElementsTo(CTaskOrgArray& target) override;
    void RemoveElementsWithoutRole(int nRoleMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase) override;
    float SumWeaponValue(int nRoleMask, int nMinPenetration, CKDRUnits* pUnits, CKDRDatabase* pDatabase, float& fSum,
                         int& nCount) const override;
    int CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                          BOOL bIncludeDead = FALSE) const override;
    int FillUnitList(CTaskOrgArray* pList, BOOL bWithName) const override;
    CHierarchyElement* FindElementByName(const CString& strName, BOOL bRemove) override;
    int RecallAllDetached(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                          int nLevel) override;
    BOOL HasDetachedAliveElement() const override;
    int ApplyNodeFormations(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase, CKDRObstacles* pObstacles,
                            CKDRHoles* pHoles) override;
    void DrawPath(CKDRGameMap* pMap, BOOL bSelected) override;
    int CheckConditionalStarts(DWORD dwEvent, DWORD id1, DWORD id2, DWORD id3, DWORD id4, DWORD id5, DWORD id6,
                               CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase) override;
    CTaskOrgArray* SelectInRectangle(float fX1, float fY1, float fX2, float fY2, BOOL bWanted,
                                     CKDRUnits* pUnits) override;
    // Symbols: its platoons, then its companies; the battalion has none of
    // its own.
    void DrawSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nStyle, float fScale,
                    BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle, DWORD dwFlags) override;
    void DrawTaskOrgMarker(CKDRGameMap* pMap, CKDRUnits* pUnits, BOOL bPlatoons, BOOL bCompanies) override;
    CHierarchyPlatoon* HitTestSymbol(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, int nSide,
                                     CKDRUnits* pUnits) override;
    int CollectHitSymbols(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, CHierarchyArray* pHits,
                          CKDRUnits* pUnits) override;
    void DrawUnitSymbol(DWORD dwOptions, BOOL bPlatoons, BOOL bCompanies, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                        CKDRUnits* pUnits) override;
    int GetLevel() const override { return HIERARCHY_BATTALION; }

    void ClearLeaders(CHierarchyArray* pHierarchy) override;

    CHierarchyDlg* m_pDialog;        // owned; null in structure-only copies and groupings
    CStringArray m_astrSymbolNames;  // one per distinct tree picture
    CString m_strText;
    int m_nWord;
    int m_nHeldKind;  // level code of the held item
    BOOL m_bHeld;
    CObject* m_pHeld;  // owned while held

protected:
    CArchive::ClassTest GetChildTest() const override;

private:
    // The children, fields and held item exchanged with the other's; the
    // dialogs stay where they are.
    void SwapContents(CHierarchyArray& other);
};
