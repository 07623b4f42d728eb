#include "hierarchy/GlobalMap.h"

IMPLEMENT_SERIAL(CGlobalMap, CObject, 1)

CGlobalMap::CGlobalMap() = default;

void CGlobalMap::AddUnits(int n, int nGroup, int nKind, int nNewGroup, int nNewKind)
{
    for (int i = 0; i < n; ++i)
        m_entries.push_back({i, nGroup, nKind, i, nNewGroup, nNewKind});
}

bool CGlobalMap::Matches(int index, int group, int kind, int wantIndex, int wantGroup, int wantKind)
{
    return index == wantIndex && (wantGroup < 0 || group == wantGroup) && (wantKind == 0 || kind == wantKind);
}

CGlobalMapEntry* CGlobalMap::FindByFirst(int nIndex, int nGroup, int nKind)
{
    for (CGlobalMapEntry& e : m_entries)
        if (Matches(e.nFirstIndex, e.nFirstGroup, e.nFirstKind, nIndex, nGroup, nKind))
            return &e;
    return nullptr;
}

CGlobalMapEntry* CGlobalMap::FindByCurrent(int nIndex, int nGroup, int nKind)
{
    for (CGlobalMapEntry& e : m_entries)
        if (Matches(e.nIndex, e.nGroup, e.nKind, nIndex, nGroup, nKind))
            return &e;
    return nullptr;
}

void CGlobalMap::MoveGroup(int, int, int, int, int, BOOL) {}

void CGlobalMap::CloseGap(int nIndex, int nGroup, int nKind)
{
    for (CGlobalMapEntry& e : m_entries)
        if (e.nGroup == nGroup && e.nKind == nKind && e.nIndex > nIndex)
            --e.nIndex;
}
