#include "units/UnitRefArray.h"

#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "units/KDRUnits.h"
#include "units/UnitArea.h"
#include "units/Unit.h"

#include <algorithm>

namespace
{
// Whether a new reference names the unit of a listed entry.
bool IsSameUnit(const CUnitRef& entry, const CUnitRef& ref)
{
    if (entry.m_nUnit != ref.m_nUnit || entry.m_nSide != ref.m_nSide)
        return false;
    return entry.m_nArray == ref.m_nArray || entry.m_nArray < 0 || ref.m_nArray < 0 || ref.m_nSide == 0;
}

bool HasIds(const CUnitRef& entry, int nUnit, int nArray, int nSide)
{
    return entry.m_nUnit == nUnit && entry.m_nArray == nArray && entry.m_nSide == nSide;
}

// The unit a reference names when it is on the map: alive and in no carrier.
CUnit* FindStandingUnit(const CUnitRef& ref, CKDRUnits* pUnits)
{
    CUnit* pUnit = pUnits->GetUnit(ref.m_nUnit, ref.m_nArray, ref.m_nSide);
    if (pUnit == nullptr || pUnit->m_bDestroyed || pUnit->IsCarried())
        return nullptr;
    return pUnit;
}

// Whether the vehicle type at that index exists and has a role of the mask
// (a mask below 1 takes every role).
bool HasRole(int nVehicle, int nRoleMask, CKDRDatabase* pDatabase)
{
    const CVehicle* pVehicle = pDatabase->GetVehicle(nVehicle);
    if (pVehicle == nullptr)
        return false;
    return nRoleMask < 1 || (pVehicle->m_nRoleMask & nRoleMask) != 0;
}
}  // namespace

CUnitRefArray::~CUnitRefArray() = default;

CUnitRef* CUnitRefArray::GetAt(int index) const
{
    return index >= 0 && index < GetSize() ? const_cast<CUnitRef*>(&m_refs[static_cast<size_t>(index)]) : nullptr;
}

int CUnitRefArray::Add(const CUnitRef& ref)
{
    m_refs.push_back(ref);
    return GetSize() - 1;
}

void CUnitRefArray::RemoveAll() { m_refs.clear(); }

void CUnitRefArray::CopyFrom(const CUnitRefArray& other)
{
    if (&other == this)
        return;
    m_refs = other.m_refs;
}

int CUnitRefArray::InsertSorted(const CUnitRef& ref)
{
    int nInsertAt = -1;
    for (size_t i = 0; i < m_refs.size(); ++i)
    {
        CUnitRef& entry = m_refs[i];
        if (IsSameUnit(entry, ref))
        {
            // Known already: it keeps its place and learns what is new.
            if (entry.m_nRange > ref.m_nRange)
                entry.m_nRange = ref.m_nRange;
            if (entry.m_bUnidentified && !ref.m_bUnidentified)
                entry.m_bUnidentified = FALSE;
            return 0;
        }
        const bool bBefore = ref.m_nTargetValue > entry.m_nTargetValue ||
                             (ref.m_nTargetValue == entry.m_nTargetValue && entry.m_nRange >= ref.m_nRange);
        if (nInsertAt < 0 && bBefore)
            nInsertAt = static_cast<int>(i);
    }
    if (nInsertAt < 0)
        m_refs.push_back(ref);
    else
        m_refs.insert(m_refs.begin() + nInsertAt, ref);
    return 1;
}

int CUnitRefArray::Merge(const CUnitRefArray* pOther)
{
    if (pOther == nullptr || pOther == this)
        return 0;
    int nAdded = 0;
    for (const CUnitRef& entry : pOther->m_refs)
        nAdded += InsertSorted(entry);
    return nAdded;
}

BOOL CUnitRefArray::Find(int nUnit, int nArray, int nSide, BOOL* pUnidentified) const
{
    const CUnitRef* pRef = Get(nUnit, nArray, nSide);
    if (pRef == nullptr)
        return FALSE;
    if (pUnidentified != nullptr)
        *pUnidentified = pRef->m_bUnidentified;
    return TRUE;
}

CUnitRef* CUnitRefArray::Get(int nUnit, int nArray, int nSide) const
{
    for (const CUnitRef& entry : m_refs)
    {
        if (HasIds(entry, nUnit, nArray, nSide))
            return const_cast<CUnitRef*>(&entry);
    }
    return nullptr;
}

BOOL CUnitRefArray::CentroidInEllipse(int nLeft, int nTop, int nRight, int nBottom, int nRoleMask,
                                      CKDRDatabase* pDatabase, CKDRUnits* pUnits, float& fX, float& fY, int& nCount,
                                      BOOL bUnidentifiedOnly) const
{
    if (pDatabase == nullptr || pUnits == nullptr || nLeft == nRight || nTop == nBottom)
        return FALSE;
    fX = 0.0f;
    fY = 0.0f;
    nCount = 0;
    for (const CUnitRef& entry : m_refs)
    {
        const CUnitRef* p = &entry;
        if (bUnidentifiedOnly && !p->m_bUnidentified)
            continue;
        if (!HasRole(p->m_nVehicle, nRoleMask >= 1 ? nRoleMask : 0, pDatabase))
            continue;
        const CUnit* pUnit = pUnits->GetUnit(p->m_nUnit, p->m_nArray, p->m_nSide);
        if (pUnit == nullptr)
            continue;
        if (!unit_area::InEllipse(unit_area::WholeMetres(pUnit->m_fX), unit_area::WholeMetres(pUnit->m_fY), nLeft,
                                  nTop, nRight, nBottom))
            continue;
        fX += pUnit->m_fX;
        fY += pUnit->m_fY;
        ++nCount;
    }
    if (fX > 0.0f && fY > 0.0f && nCount >= 1)
    {
        fX /= static_cast<float>(nCount);
        fY /= static_cast<float>(nCount);
        return TRUE;
    }
    return FALSE;
}

BOOL CUnitRefArray::CollectInRange(CUnitRefArray* pOut, float fX, float fY, float fRange, CKDRUnits* pUnits,
                                   BOOL bEnable) const
{
    if (!bEnable || pUnits == nullptr || pOut == nullptr || fX < 0.0f || fY < 0.0f || fRange < 0.0f || pOut == this)
        return FALSE;
    for (const CUnitRef& entry : m_refs)
    {
        const CUnitRef* p = &entry;
        if (p->m_bUnidentified)
            continue;
        const CUnit* pUnit = FindStandingUnit(*p, pUnits);
        if (pUnit != nullptr && CKDRGameMap::Distance(fX, fY, pUnit->m_fX, pUnit->m_fY) <= fRange)
            pOut->Add(*p);
    }
    return TRUE;
}

BOOL CUnitRefArray::CollectByRole(CUnitRefArray* pOut, BOOL bEnable, CKDRUnits* pUnits, int nRoleMask, BOOL /*bFlag*/,
                                  CKDRDatabase* pDatabase) const
{
    if (pDatabase == nullptr || pUnits == nullptr || pOut == nullptr || !bEnable || pOut == this)
        return FALSE;
    for (const CUnitRef& entry : m_refs)
    {
        const CUnitRef* p = &entry;
        if (p->m_bUnidentified)
            continue;
        // The unit's own vehicle type: the reference's is what the observer
        // took it for.
        const CUnit* pUnit = FindStandingUnit(*p, pUnits);
        if (pUnit != nullptr && HasRole(pUnit->m_nVehicle, nRoleMask, pDatabase))
            pOut->Add(*p);
    }
    return TRUE;
}
