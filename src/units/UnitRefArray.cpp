#include "units/UnitRefArray.h"

#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "units/KDRUnits.h"
#include "units/UnitArea.h"
#include "units/Unit.h"

#include <algorithm>
#include <bit>
#include <cstdint>

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

namespace
{
// The lookup table's reach; references beyond it are found by walking.
constexpr int LOOKUP_KINDS = 3;
constexpr int MAX_LOOKUP_ARRAYS = 64;
constexpr int MAX_LOOKUP_UNITS = 4096;

// Whether a listed entry comes no later than a reference in the sorted
// order: higher value first, within one value nearer first.
bool NotAfter(const CUnitRef& entry, const CUnitRef& ref)
{
    return entry.m_nTargetValue > ref.m_nTargetValue ||
           (entry.m_nTargetValue == ref.m_nTargetValue && entry.m_nRange <= ref.m_nRange);
}

// Whether a new reference goes before a listed entry.
bool GoesBefore(const CUnitRef& ref, const CUnitRef& entry)
{
    return ref.m_nTargetValue > entry.m_nTargetValue ||
           (ref.m_nTargetValue == entry.m_nTargetValue && entry.m_nRange >= ref.m_nRange);
}

// The array a reference is looked up under: kind 0 has one array.
int LookupArray(const CUnitRef& ref) { return ref.m_nSide == 0 ? 0 : ref.m_nArray; }

bool HasLooseArray(const CUnitRef& ref) { return ref.m_nSide != 0 && ref.m_nArray < 0; }

// The same reference to the bit.
bool IsSameRef(const CUnitRef& a, const CUnitRef& b)
{
    return a.m_nUnit == b.m_nUnit && a.m_nArray == b.m_nArray && a.m_nSide == b.m_nSide &&
           a.m_nVehicle == b.m_nVehicle && a.m_nTargetValue == b.m_nTargetValue &&
           a.m_nThreatValue == b.m_nThreatValue &&
           std::bit_cast<std::uint32_t>(a.m_fBearing) == std::bit_cast<std::uint32_t>(b.m_fBearing) &&
           a.m_nRange == b.m_nRange && a.m_bUnidentified == b.m_bUnidentified;
}

bool IsWithinLookupReach(const CUnitRef& ref)
{
    const int nArray = LookupArray(ref);
    return ref.m_nSide >= 0 && ref.m_nSide < LOOKUP_KINDS && nArray >= 0 && nArray < MAX_LOOKUP_ARRAYS &&
           ref.m_nUnit >= 0 && ref.m_nUnit < MAX_LOOKUP_UNITS;
}
}  // namespace

CUnitRef* CUnitRefArray::GetAt(int index) const
{
    SettleConst();
    return index >= 0 && index < GetSize() ? const_cast<CUnitRef*>(&At(static_cast<size_t>(index))) : nullptr;
}

int CUnitRefArray::Add(const CUnitRef& ref)
{
    Settle();
    m_bAllNew = false;
    if (m_bOrdered && !m_order.empty() && !NotAfter(At(m_order.size() - 1), ref))
        m_bOrdered = false;
    Append(ref, m_order.size());
    return GetSize() - 1;
}

void CUnitRefArray::RemoveAll()
{
    Settle();
    m_nRefill = m_bAllNew ? m_nSlots : 0;
    m_nRefilled = 0;
    m_bAllNew = true;
    if (m_nRefill > 0)
        return;  // the entries stay until the refill differs
    m_nSlots = 0;
    m_order.clear();
    m_groups.clear();
    m_nIndexed = 0;
    m_nLooseArrays = 0;
    m_bOrdered = true;
    StampOn();
}

void CUnitRefArray::StampOn()
{
    if (++m_nStamp == 0)
    {
        for (SLookupCell& cell : m_lookup)
            cell.nStamp = 0;
        m_nStamp = 1;
    }
}

void CUnitRefArray::Settle()
{
    if (m_nRefill == 0)
        return;
    const int nKept = m_nRefilled;
    m_nRefill = 0;
    m_nRefilled = 0;
    // The entries met again were all new when first added, into a list kept
    // in order; the others go, and the lookup is built anew.
    m_nSlots = nKept;
    std::erase_if(m_order, [nKept](const SPlace& place) { return place.nSlot >= nKept; });
    m_groups.clear();
    m_nLooseArrays = 0;
    for (int i = 0; i < nKept; ++i)
        Count(m_slots[static_cast<size_t>(i)]);
    m_nIndexed = 0;
    m_bOrdered = true;
    StampOn();
}

void CUnitRefArray::CopyFrom(const CUnitRefArray& other)
{
    if (&other == this)
        return;
    other.SettleConst();
    Settle();
    m_bAllNew = other.m_bAllNew;
    m_slots.assign(other.m_slots.begin(), other.m_slots.begin() + other.m_nSlots);
    m_nSlots = other.m_nSlots;
    m_order = other.m_order;
    m_lookup = other.m_lookup;
    m_groups = other.m_groups;
    m_nIndexed = other.m_nIndexed;
    m_nLookupArrays = other.m_nLookupArrays;
    m_nLookupUnits = other.m_nLookupUnits;
    m_nStamp = other.m_nStamp;
    m_nLooseArrays = other.m_nLooseArrays;
    m_bOrdered = other.m_bOrdered;
}

CUnitRefArray::SLookupCell* CUnitRefArray::Cell(const CUnitRef& ref)
{
    if (!IsWithinLookupReach(ref))
        return nullptr;
    const int nArray = LookupArray(ref);
    if (nArray >= m_nLookupArrays || ref.m_nUnit >= m_nLookupUnits)
        return nullptr;
    const size_t index =
        (static_cast<size_t>(ref.m_nSide) * static_cast<size_t>(m_nLookupArrays) + static_cast<size_t>(nArray)) *
            static_cast<size_t>(m_nLookupUnits) +
        static_cast<size_t>(ref.m_nUnit);
    return &m_lookup[index];
}

CUnitRefArray::SGroup* CUnitRefArray::FindGroup(const CUnitRef& ref)
{
    const int nArray = LookupArray(ref);
    for (SGroup& group : m_groups)
    {
        if (group.nSide == ref.m_nSide && group.nArray == nArray)
            return &group;
    }
    return nullptr;
}

void CUnitRefArray::Index(int nSlot)
{
    const CUnitRef& ref = m_slots[static_cast<size_t>(nSlot)];
    if (!IsWithinLookupReach(ref))
        return;
    if (Cell(ref) == nullptr)
    {
        // Grown by half again beyond the need, so a list that meets its
        // units one by one does not rebuild the table at every one; the
        // slots indexed before go in again.
        const int nArrays = LookupArray(ref) + 1;
        const int nUnits = ref.m_nUnit + 1;
        if (nArrays > m_nLookupArrays)
            m_nLookupArrays = std::min(MAX_LOOKUP_ARRAYS, nArrays + nArrays / 2);
        if (nUnits > m_nLookupUnits)
            m_nLookupUnits = std::min(MAX_LOOKUP_UNITS, nUnits + nUnits / 2);
        m_lookup.assign(static_cast<size_t>(LOOKUP_KINDS) * static_cast<size_t>(m_nLookupArrays) *
                            static_cast<size_t>(m_nLookupUnits),
                        SLookupCell{});
        m_nStamp = 1;
        for (int i = 0; i < nSlot; ++i)
            Index(i);
    }
    SLookupCell* pCell = Cell(ref);
    if (pCell->nStamp != m_nStamp)
    {
        pCell->nStamp = m_nStamp;
        pCell->nCount = 0;
    }
    if (pCell->nCount++ == 0)
        pCell->nSlot = nSlot;
}

void CUnitRefArray::CatchUpLookup()
{
    for (; m_nIndexed < m_nSlots; ++m_nIndexed)
        Index(m_nIndexed);
}

void CUnitRefArray::Append(const CUnitRef& ref, size_t position)
{
    const int nSlot = m_nSlots++;
    if (nSlot < static_cast<int>(m_slots.size()))
        m_slots[static_cast<size_t>(nSlot)] = ref;
    else
        m_slots.push_back(ref);
    m_order.insert(m_order.begin() + static_cast<std::ptrdiff_t>(position),
                   SPlace{nSlot, ref.m_nTargetValue, ref.m_nRange});
    Count(ref);
}

void CUnitRefArray::Count(const CUnitRef& ref)
{
    if (HasLooseArray(ref))
        ++m_nLooseArrays;
    if (IsWithinLookupReach(ref))
    {
        if (SGroup* pGroup = FindGroup(ref))
            pGroup->nTopUnit = std::max(pGroup->nTopUnit, ref.m_nUnit);
        else
            m_groups.push_back({ref.m_nSide, LookupArray(ref), ref.m_nUnit});
    }
}

CUnitRef* CUnitRefArray::FindSameUnit(const CUnitRef& ref)
{
    if (IsWithinLookupReach(ref) && !(ref.m_nSide != 0 && m_nLooseArrays > 0))
    {
        const SGroup* pGroup = FindGroup(ref);
        if (pGroup == nullptr || ref.m_nUnit > pGroup->nTopUnit)
            return nullptr;
        CatchUpLookup();
        const SLookupCell* pCell = Cell(ref);
        if (pCell == nullptr || pCell->nStamp != m_nStamp || pCell->nCount == 0)
            return nullptr;
        if (pCell->nCount == 1)
            return &m_slots[static_cast<size_t>(pCell->nSlot)];
    }
    // Several entries could be the one (the first in the list is), or the
    // ids are beyond the table.
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        if (IsSameUnit(At(i), ref))
            return &At(i);
    }
    return nullptr;
}

size_t CUnitRefArray::InsertPosition(const CUnitRef& ref) const
{
    if (m_bOrdered)
    {
        // Sorted throughout: the entries a reference goes before are all
        // at the end. Halved without branching on the entries, since which
        // way each step goes cannot be predicted.
        const SPlace* pFirst = m_order.data();
        size_t n = m_order.size();
        if (n == 0)
            return 0;
        const auto goesBefore = [&ref](const SPlace& place) {
            return (ref.m_nTargetValue > place.nTargetValue) |
                   ((ref.m_nTargetValue == place.nTargetValue) & (place.nRange >= ref.m_nRange));
        };
        while (n > 1)
        {
            const size_t half = n / 2;
            pFirst = goesBefore(pFirst[half - 1]) ? pFirst : pFirst + half;
            n -= half;
        }
        return static_cast<size_t>(pFirst - m_order.data()) + (goesBefore(*pFirst) ? 0 : 1);
    }
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        if (GoesBefore(ref, At(i)))
            return i;
    }
    return m_order.size();
}

int CUnitRefArray::InsertSorted(const CUnitRef& ref)
{
    if (m_nRefill > 0)
    {
        if (IsSameRef(m_slots[static_cast<size_t>(m_nRefilled)], ref))
        {
            if (++m_nRefilled == m_nRefill)
            {
                // Met all again: the list is as it was.
                m_nRefill = 0;
                m_nRefilled = 0;
            }
            return 1;
        }
        Settle();
    }
    if (CUnitRef* pEntry = FindSameUnit(ref))
    {
        m_bAllNew = false;
        // Known already: it keeps its place and learns what is new.
        if (pEntry->m_nRange > ref.m_nRange)
        {
            pEntry->m_nRange = ref.m_nRange;
            if (m_order.size() > 1)
                m_bOrdered = false;
        }
        if (pEntry->m_bUnidentified && !ref.m_bUnidentified)
            pEntry->m_bUnidentified = FALSE;
        return 0;
    }
    Append(ref, InsertPosition(ref));
    return 1;
}

int CUnitRefArray::Merge(const CUnitRefArray* pOther)
{
    if (pOther == nullptr || pOther == this)
        return 0;
    pOther->SettleConst();
    int nAdded = 0;
    for (size_t i = 0; i < pOther->m_order.size(); ++i)
        nAdded += InsertSorted(pOther->At(i));
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
    SettleConst();
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        if (HasIds(At(i), nUnit, nArray, nSide))
            return const_cast<CUnitRef*>(&At(i));
    }
    return nullptr;
}

BOOL CUnitRefArray::CentroidInEllipse(int nLeft, int nTop, int nRight, int nBottom, int nRoleMask,
                                      CKDRDatabase* pDatabase, CKDRUnits* pUnits, float& fX, float& fY, int& nCount,
                                      BOOL bUnidentifiedOnly) const
{
    SettleConst();
    if (pDatabase == nullptr || pUnits == nullptr || nLeft == nRight || nTop == nBottom)
        return FALSE;
    fX = 0.0f;
    fY = 0.0f;
    nCount = 0;
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        const CUnitRef* p = &At(i);
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
    SettleConst();
    if (!bEnable || pUnits == nullptr || pOut == nullptr || fX < 0.0f || fY < 0.0f || fRange < 0.0f || pOut == this)
        return FALSE;
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        const CUnitRef* p = &At(i);
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
    SettleConst();
    if (pDatabase == nullptr || pUnits == nullptr || pOut == nullptr || !bEnable || pOut == this)
        return FALSE;
    for (size_t i = 0; i < m_order.size(); ++i)
    {
        const CUnitRef* p = &At(i);
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
