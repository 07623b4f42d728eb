#pragma once
// A side's unit hierarchy (battalion, companies, platoons) and its
// elements. Least form: a hierarchy without elements; loading a hierarchy
// file succeeds with nothing loaded.

#include "hierarchy/TaskOrg.h"

class CKDRDatabase;
class CKDRUnits;
class CNodeArray;

// One element of a hierarchy; fills a list with the units it commands.
class CHierarchyElement : public CTaskOrg
{
    DECLARE_SERIAL(CHierarchyElement)
public:
    virtual void FillTaskOrg(CTaskOrgArray& list) const;
    // The element's path (null when it has none) and its point; GetPoint
    // answers FALSE and -99.0 when the element has no position.
    virtual CNodeArray* GetPath() const { return nullptr; }
    virtual void ResetPathToPosition() {}
    virtual BOOL GetPoint(float& fX, float& fY) const;

    CString m_strName;
    BOOL m_bPathSet = FALSE;  // the element moves along a path of its own
};

class CHierarchyPlatoon : public CHierarchyElement
{
    DECLARE_SERIAL(CHierarchyPlatoon)
public:
    // Resets the platoon's path to its position.
    void ResetPath();
    // Applies the platoon's formation again after a mount.
    void ReapplyFormation();
    // The live vehicles of the role mask (0: any); with bAll the destroyed
    // ones too. The least form knows no vehicles: 0.
    virtual int CountLiveVehicles(DWORD dwMask, CKDRUnits* pUnits, CKDRDatabase* pDatabase, BOOL bAll = FALSE) const;
};

class CHierarchyArray : public TypedObArray<CHierarchyElement>
{
    DECLARE_SERIAL(CHierarchyArray)
public:
    CHierarchyArray();
    CHierarchyArray(const CTaskOrgArray& list, CKDRUnits* pUnits);
    // Reads a "*.hra" file; nonzero on success.
    int LoadHierarchyFile(const CString& strFile);
    // Sets or clears one order bit of every element; nonzero on success.
    int ToggleOrderBit(DWORD dwBit);
    // The units of every element, appended to the list.
    void FillTaskOrg(CTaskOrgArray& list) const;
};
