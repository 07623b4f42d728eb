#pragma once
// CHierarchyElement: the lowest level of a side's unit hierarchy, one
// vehicle or dismounted team. It is a task-organisation entry (it names its
// unit by unit index and array index; the side is its hierarchy's) and adds
// its names, its leader marks and its condition in the organisation:
// destroyed, mounted in a carrier, or detached from its platoon. An element
// is available while it is neither destroyed, nor mounted, nor detached;
// most operations of the levels above act on available elements only.
//
// Record, after the entry's two words: symbol type, text 2, text 3, text 4,
// name (archive strings), then nine 16-bit words: leader, platoon leader,
// company leader, value, index, destroyed, mounted, detached, marked. A flag
// goes as 1 or 0; a nonzero word read sets it to 1 and a zero word leaves it
// as constructed. Value and index keep their low 16 bits and come back
// sign-extended. The state word and the tree item are not stored.
//
// A unit the element cannot find (index out of range, unit deleted), a
// missing vehicle type or database table make every operation that needs it
// answer its neutral value (0, empty text) and change nothing; nothing is
// reported to the user.

#include "hierarchy/HierarchyLevels.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Collections.h"
#include "platform/ui/TreeCtrl.h"

#include <vector>

class CHierarchyArray;
class CKDRDatabase;
class CKDRUnits;
class CUnit;
class CVehicle;

class CHierarchyElement : public CTaskOrg
{
    DECLARE_SERIAL(CHierarchyElement)
public:
    CHierarchyElement();
    // The unit's words, leader, name, index and the destroyed, mounted,
    // detached and marked flags; a full copy (bStructureOnly clear) also the
    // symbol type, texts 2 to 4, platoon and company leader and the value.
    // The copy starts with state 0 and no tree item.
    CHierarchyElement(const CHierarchyElement& source, BOOL bStructureOnly);
    CHierarchyElement(const CHierarchyElement&) = delete;
    CHierarchyElement& operator=(const CHierarchyElement&) = delete;
    ~CHierarchyElement() override;

    void Serialize(CArchive& ar) override;

    // ---- Virtual operations, in slot order after the entry's ----
    // A new plain entry for the element's unit, added with AddUnique; 0
    // without a list, else 1.
    virtual int AddToTaskOrg(CTaskOrgArray* pList) const;
    // Inserts the element's item as the parent's last child, named after
    // the element, with the picture of GetTreeImage; stores and answers it.
    virtual HTREEITEM InsertTreeItem(CTreeCtrl* pTree, const CStringArray& names, HTREEITEM hParent, int nLevel);
    // The unit's name, two tabs and "(vehicle type[, mounted][, detached])";
    // empty when destroyed or when the database, the units, the unit or
    // its vehicle type is missing.
    virtual CString GetLabel(CKDRDatabase* pDatabase, CKDRUnits* pUnits, int nSide) const;
    // Re-attaches a detached element, taking mounted and destroyed from the
    // unit on the hierarchy's side; nLevel is the level code of the
    // element's container (its tree picture). 1 when it re-attached or was
    // attached, 0 when destroyed or its unit is gone.
    virtual int Refresh(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, int nLevel);
    // Detached and not destroyed.
    virtual BOOL IsDetachedAlive() const;
    virtual int GetValue() const { return m_nValue; }

    // ---- Non-virtual operations ----
    // Detaches the element and, when its unit carries passengers, the
    // elements of the units it carries (through carriers carried in turn).
    // Each element is walked at most once per call, so carriers that carry
    // each other end. A newly detached or destroyed leader makes the
    // hierarchy pick its leaders again (bMarkStates passed on).
    void Detach(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRDatabase* pDatabase, BOOL bMarkStates);
    // Adds the range of every weapon of the unit's vehicle type whose
    // penetration reaches nMinPenetration to fSum and 1 to nCount, when the
    // role mask is 0 or less or the type's role flags share a bit with it.
    // 0 only when the units, the database or its vehicle or weapon list is
    // missing or empty, else 1.
    int SumWeaponValue(int nRoleMask, int nMinPenetration, int nSide, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                       float& fSum, int& nCount) const;
    // The role flags of the unit's vehicle type; 0 when any part is missing.
    int GetVehicleRoleFlags(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nSide) const;

    // The picture index in a tree whose list holds eight pictures per name
    // of the names (see HierarchyLevels.h); nLevel is the container's level.
    int GetTreeImage(const CStringArray& names, int nLevel) const;
    // Neither destroyed, nor mounted, nor detached.
    BOOL IsAvailable() const { return !m_bDestroyed && !m_bMounted && !m_bDetached; }
    // The element's unit on that side, or null.
    CUnit* GetUnit(CKDRUnits* pUnits, int nSide) const;
    // Its vehicle type, or null.
    CVehicle* GetVehicle(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nSide) const;

    CString m_strSymbolType;  // tree picture: this word followed by " vehicle"
    CString m_strText2;
    CString m_strText3;
    CString m_strText4;
    CString m_strName;  // the tree item's text and the key of lookups by name
    BOOL m_bLeader;
    BOOL m_bPlatoonLeader;  // qualifies to lead a platoon
    BOOL m_bCompanyLeader;  // qualifies to lead a company
    int m_nValue;
    BOOL m_bDestroyed;
    BOOL m_bMounted;
    BOOL m_bMarked;  // shifts the tree picture to its marked variant
    int m_nState;    // not stored; 1 while a fire-direction centre serves it
    BOOL m_bDetached;
    HTREEITEM m_hTreeItem;  // not stored
    int m_nIndex;           // leader order: the smallest index of 0 or more leads; kUnset never

private:
    void DetachOnce(CHierarchyArray* pHierarchy, CKDRUnits* pUnits, CKDRDatabase* pDatabase, BOOL bMarkStates,
                    std::vector<const CHierarchyElement*>& walked);
};
