#pragma once
// The global index map of mission objects: each entry pairs the triple an
// object had first (index, group, kind) with the triple it has now, so that
// records from the other player can be matched after sides were swapped or
// objects removed.

#include "platform/core/Object.h"

#include <vector>

struct CGlobalMapEntry
{
    int nFirstIndex, nFirstGroup, nFirstKind;
    int nIndex, nGroup, nKind;
};

class CGlobalMap : public CObject
{
    DECLARE_SERIAL(CGlobalMap)
public:
    CGlobalMap();

    // Appends (i, group, kind) -> (i, newGroup, newKind) for i = 0 .. n - 1.
    void AddUnits(int n, int nGroup, int nKind, int nNewGroup, int nNewKind);
    // A group below 0 or a kind 0 matches any; null when none matches.
    CGlobalMapEntry* FindByFirst(int nIndex, int nGroup, int nKind);
    CGlobalMapEntry* FindByCurrent(int nIndex, int nGroup, int nKind);
    // Re-points a side's entries after a swap of sides (nothing to swap in the least form).
    void MoveGroup(int n, int nGroup, int nKind, int nNewGroup, int nNewKind, BOOL bFlag);
    // Closes the gap that a removed object leaves in its group.
    void CloseGap(int nIndex, int nGroup, int nKind);

    int GetSize() const { return static_cast<int>(m_entries.size()); }

private:
    static bool Matches(int index, int group, int kind, int wantIndex, int wantGroup, int wantKind);
    std::vector<CGlobalMapEntry> m_entries;
};
