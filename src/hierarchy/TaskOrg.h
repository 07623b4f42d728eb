#pragma once
// Task organisation: an entry names one unit (unit index and array index of
// the list's side) or, as a named entry, a whole platoon or company. A list
// of entries without duplicates is the system's general way of passing a
// set of units around (selections, order groups, the ten keyboard groups).
//
// Least form: the entries, lists and the list of lists with their lookups
// and archive forms; the selection markers are not drawn.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"

// Group id of a list that is not one of the ten keyboard groups.
constexpr int TASKORG_NO_GROUP = 11;
// Answer of the lookups when nothing matches.

class CTaskOrg : public CObject
{
    DECLARE_SERIAL(CTaskOrg)
public:
    CTaskOrg();
    CTaskOrg(int nUnit, int nArray);
    CTaskOrg(const CTaskOrg& other);

    // 0 for a plain entry, 1 for a named (hierarchy) entry.
    virtual int GetType() const { return 0; }
    void Serialize(CArchive& ar) override;

    int m_nUnit;
    int m_nArray;
};

class CHierarchyTaskOrg : public CTaskOrg
{
    DECLARE_SERIAL(CHierarchyTaskOrg)
public:
    CHierarchyTaskOrg();
    int GetType() const override { return 1; }
    void Serialize(CArchive& ar) override;

    CString m_strName;
};

class CTaskOrgArray : public TypedObArray<CTaskOrg>
{
    DECLARE_SERIAL(CTaskOrgArray)
public:
    CTaskOrgArray();
    CTaskOrgArray(const CTaskOrgArray& other);  // deep copy
    ~CTaskOrgArray() override;

    virtual int FindTaskOrg(int nUnit, int nArray) const;
    virtual int FindHierarchyTaskOrg(const CString& strName) const;
    // Appends the entry (taking it) unless an equal one is present; answers
    // its index, or -99 when refused (the caller keeps and deletes it).
    int AddUnique(CTaskOrg* pEntry);
    void AppendCopies(const CTaskOrgArray& source);

    void Serialize(CArchive& ar) override;

    int m_nId;    // 0..9 for a keyboard group, 11 otherwise
    int m_nSide;  // side of every unit in the list
};

class CTaskOrgArrayArray : public TypedObArray<CTaskOrgArray>
{
    DECLARE_SERIAL(CTaskOrgArrayArray)
public:
    // Replaces the list with the same id or appends it (taking it).
    void SetList(CTaskOrgArray* pList);
    // Index of group n, or a negative value.
    int FindById(int nId) const;

    void Serialize(CArchive& ar) override;
};
