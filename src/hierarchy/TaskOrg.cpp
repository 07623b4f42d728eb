#include "hierarchy/TaskOrg.h"

#include "platform/core/Archive.h"

IMPLEMENT_SERIAL(CTaskOrg, CObject, 1)
IMPLEMENT_SERIAL(CHierarchyTaskOrg, CTaskOrg, 1)
IMPLEMENT_SERIAL(CTaskOrgArray, CObArray, 1)
IMPLEMENT_SERIAL(CTaskOrgArrayArray, CObArray, 1)

namespace
{
CTaskOrg* CopyEntry(const CTaskOrg* pSource)
{
    if (pSource->GetType() == 1)
    {
        auto* pNamed = new CHierarchyTaskOrg;
        pNamed->m_nUnit = pSource->m_nUnit;
        pNamed->m_nArray = pSource->m_nArray;
        pNamed->m_strName = static_cast<const CHierarchyTaskOrg*>(pSource)->m_strName;
        return pNamed;
    }
    return new CTaskOrg(pSource->m_nUnit, pSource->m_nArray);
}
}  // namespace

CTaskOrg::CTaskOrg() : m_nUnit(0), m_nArray(0) {}
CTaskOrg::CTaskOrg(int nUnit, int nArray) : m_nUnit(nUnit), m_nArray(nArray) {}
CTaskOrg::CTaskOrg(const CTaskOrg& other) : CObject(), m_nUnit(other.m_nUnit), m_nArray(other.m_nArray) {}

void CTaskOrg::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nUnit) << static_cast<WORD>(m_nArray);
    }
    else
    {
        short unit = 0, array = 0;
        ar >> unit >> array;
        m_nUnit = unit;
        m_nArray = array;
    }
}

CHierarchyTaskOrg::CHierarchyTaskOrg() = default;

void CHierarchyTaskOrg::Serialize(CArchive& ar)
{
    CTaskOrg::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strName;
    else
        ar >> m_strName;
}

CTaskOrgArray::CTaskOrgArray() : m_nId(TASKORG_NO_GROUP), m_nSide(0) {}

CTaskOrgArray::CTaskOrgArray(const CTaskOrgArray& other)
    : TypedObArray<CTaskOrg>(), m_nId(other.m_nId), m_nSide(other.m_nSide)
{
    AppendCopies(other);
}

CTaskOrgArray::~CTaskOrgArray() = default;

int CTaskOrgArray::FindTaskOrg(int nUnit, int nArray) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CTaskOrg* p = GetAt(i);
        if (p && p->GetType() == 0 && p->m_nUnit == nUnit && p->m_nArray == nArray)
            return i;
    }
    return kUnset;
}

int CTaskOrgArray::FindHierarchyTaskOrg(const CString& strName) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CTaskOrg* p = GetAt(i);
        if (p && p->GetType() == 1 && static_cast<const CHierarchyTaskOrg*>(p)->m_strName == strName)
            return i;
    }
    return kUnset;
}

int CTaskOrgArray::AddUnique(CTaskOrg* pEntry)
{
    if (pEntry == nullptr)
        return kUnset;
    const int found = pEntry->GetType() == 1 ? FindHierarchyTaskOrg(static_cast<CHierarchyTaskOrg*>(pEntry)->m_strName)
                                             : FindTaskOrg(pEntry->m_nUnit, pEntry->m_nArray);
    if (found != kUnset)
        return kUnset;
    return Add(pEntry);
}

void CTaskOrgArray::AppendCopies(const CTaskOrgArray& source)
{
    for (int i = 0; i < source.GetSize(); ++i)
    {
        const CTaskOrg* p = source.GetAt(i);
        if (p == nullptr)
            continue;
        CTaskOrg* pCopy = CopyEntry(p);
        if (AddUnique(pCopy) == kUnset)
            delete pCopy;
    }
}

void CTaskOrgArray::Serialize(CArchive& ar)
{
    CObArray::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nId);
    }
    else
    {
        short id = 0;
        ar >> id;
        m_nId = id;
    }
}

void CTaskOrgArrayArray::SetList(CTaskOrgArray* pList)
{
    if (pList == nullptr)
        return;
    const int index = FindById(pList->m_nId);
    if (index >= 0)
        SetAt(index, pList);
    else
        Add(pList);
}

int CTaskOrgArrayArray::FindById(int nId) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CTaskOrgArray* p = GetAt(i);
        if (p && p->m_nId == nId)
            return i;
    }
    return -1;
}

void CTaskOrgArrayArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        // Only the player's own side's groups are kept in files.
        for (int i = GetSize() - 1; i >= 0; --i)
        {
            const CTaskOrgArray* p = GetAt(i);
            if (p && p->m_nSide != 0)
                RemoveAt(i);
        }
    }
    CObArray::Serialize(ar);
}
