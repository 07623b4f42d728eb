#include "hierarchy/GlobalMap.h"

#include "orders/RecordIO.h"

IMPLEMENT_SERIAL(CGlobalIndex, CObject, 1)
IMPLEMENT_SERIAL(CGlobalMap, CObArray, 1)

namespace
{
BOOL TripleMatches(int nIndex, int nGroup, int nKind, int nWantIndex, int nWantGroup, int nWantKind)
{
    if (nIndex != nWantIndex || nKind != nWantKind)
        return FALSE;
    return nWantGroup < 0 || nGroup < 0 || nWantKind == 0 || nGroup == nWantGroup;
}
}  // namespace

void CGlobalIndex::Serialize(CArchive& ar)
{
    record::SerializeWord(ar, m_nFirstIndex);
    record::SerializeWord(ar, m_nFirstGroup);
    record::SerializeWord(ar, m_nFirstKind);
    record::SerializeWord(ar, m_nIndex);
    record::SerializeWord(ar, m_nGroup);
    record::SerializeWord(ar, m_nKind);
}

BOOL CGlobalIndex::MatchesFirst(int nIndex, int nGroup, int nKind) const
{
    return TripleMatches(m_nFirstIndex, m_nFirstGroup, m_nFirstKind, nIndex, nGroup, nKind);
}

BOOL CGlobalIndex::MatchesCurrent(int nIndex, int nGroup, int nKind) const
{
    return TripleMatches(m_nIndex, m_nGroup, m_nKind, nIndex, nGroup, nKind);
}

void CGlobalIndex::SetCurrent(int nIndex, int nGroup, int nKind)
{
    m_nIndex = nIndex;
    m_nGroup = nGroup;
    m_nKind = nKind;
}

void CGlobalMap::AddUnits(int n, int nGroup, int nKind, int nCurrentGroup, int nCurrentKind)
{
    for (int i = 0; i < n; ++i)
        Add(new CGlobalIndex(i, nGroup, nKind, i, nCurrentGroup, nCurrentKind));
}

CGlobalIndex* CGlobalMap::FindByFirst(int nIndex, int nGroup, int nKind) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CGlobalIndex* pEntry = GetAt(i);
        if (pEntry != nullptr && pEntry->MatchesFirst(nIndex, nGroup, nKind))
            return pEntry;
    }
    return nullptr;
}

CGlobalIndex* CGlobalMap::FindByCurrent(int nIndex, int nGroup, int nKind) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CGlobalIndex* pEntry = GetAt(i);
        if (pEntry != nullptr && pEntry->MatchesCurrent(nIndex, nGroup, nKind))
            return pEntry;
    }
    return nullptr;
}

void CGlobalMap::MoveGroup(int n, int nGroup, int nKind, int nNewGroup, int nNewKind, BOOL bByCurrent)
{
    for (int i = 0; i < n; ++i)
    {
        CGlobalIndex* pEntry = bByCurrent ? FindByCurrent(i, nGroup, nKind) : FindByFirst(i, nGroup, nKind);
        if (pEntry != nullptr)
            pEntry->SetCurrent(i, nNewGroup, nNewKind);
    }
}

void CGlobalMap::CloseGap(int nRemovedIndex, int nGroup, int nKind)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CGlobalIndex* pEntry = GetAt(i);
        if (pEntry == nullptr || pEntry->m_nKind != nKind)
            continue;
        const BOOL bGroup = nKind == 0 || pEntry->m_nGroup == nGroup || pEntry->m_nGroup == kUnset;
        if (bGroup && pEntry->m_nIndex >= nRemovedIndex)
            --pEntry->m_nIndex;
    }
}
