#pragma once
// A side's unit hierarchy (battalion, companies, platoons) and its
// elements. Least form: a hierarchy without elements; loading a hierarchy
// file succeeds with nothing loaded.

#include "hierarchy/TaskOrg.h"

class CKDRUnits;

// One element of a hierarchy; fills a list with the units it commands.
class CHierarchyElement : public CTaskOrg
{
    DECLARE_SERIAL(CHierarchyElement)
public:
    virtual void FillTaskOrg(CTaskOrgArray& list) const;

    CString m_strName;
};

class CHierarchyPlatoon : public CHierarchyElement
{
    DECLARE_SERIAL(CHierarchyPlatoon)
public:
    // Resets the platoon's path to its position.
    void ResetPath();
    // Applies the platoon's formation again after a mount.
    void ReapplyFormation();
};

class CHierarchyArray : public TypedObArray<CHierarchyElement>
{
    DECLARE_SERIAL(CHierarchyArray)
public:
    CHierarchyArray();
    CHierarchyArray(const CTaskOrgArray& list, CKDRUnits* pUnits);
    // Reads a "*.hra" file; nonzero on success.
    int LoadHierarchyFile(const CString& strFile);
};
