#pragma once
// The global index map: for each object of a component (a unit, an
// obstacle, a dug position) the address it had when the game began (its
// first triple: index, group, kind) beside the address it has now (its
// current triple). Network records name objects by their first triple, so
// both players still name the same object after hand-overs, side swaps and
// removals have moved it; hand-over and deletion keep the current triples up
// to date. The units component owns one for its units (group = array
// index), the obstacle and dug-position components one each.
//
// Matching rule of every search: a triple matches (index, group, kind) when
// its index and kind are equal, and the groups are equal unless either
// group is negative or the kind is 0 (kind 0 has a single group). A search
// takes the first matching entry in list order.
//
// Entry record: the six values in declaration order, each as a 16-bit word,
// sign-extended when read. The map owns its entries.

#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Unset.h"

class CGlobalIndex : public CObject
{
    DECLARE_SERIAL(CGlobalIndex)
public:
    CGlobalIndex() = default;
    CGlobalIndex(int nFirstIndex, int nFirstGroup, int nFirstKind, int nIndex, int nGroup, int nKind)
        : m_nFirstIndex(nFirstIndex),
          m_nFirstGroup(nFirstGroup),
          m_nFirstKind(nFirstKind),
          m_nIndex(nIndex),
          m_nGroup(nGroup),
          m_nKind(nKind)
    {
    }

    void Serialize(CArchive& ar) override;

    // The matching rule on the first and on the current triple.
    BOOL MatchesFirst(int nIndex, int nGroup, int nKind) const;
    BOOL MatchesCurrent(int nIndex, int nGroup, int nKind) const;
    // The current triple becomes (index, group, kind).
    void SetCurrent(int nIndex, int nGroup, int nKind);

    int m_nFirstIndex = kUnset;
    int m_nFirstGroup = kUnset;
    int m_nFirstKind = kUnset;
    int m_nIndex = kUnset;
    int m_nGroup = kUnset;
    int m_nKind = kUnset;
};

class CGlobalMap : public TypedObArray<CGlobalIndex>
{
    DECLARE_SERIAL(CGlobalMap)
public:
    CGlobalMap() = default;

    // Appends n entries: first (i, group, kind), current (i, currentGroup,
    // currentKind) for i = 0 .. n - 1. A count below 1 adds nothing.
    void AddUnits(int n, int nGroup, int nKind, int nCurrentGroup, int nCurrentKind);
    // The first entry matching on its first (current) triple; null when none.
    CGlobalIndex* FindByFirst(int nIndex, int nGroup, int nKind) const;
    CGlobalIndex* FindByCurrent(int nIndex, int nGroup, int nKind) const;
    // For i = 0 .. n - 1: the first entry matching (i, group, kind) on its
    // current triple (bByCurrent) or on its first triple takes the current
    // triple (i, newGroup, newKind). Indices absent from the map are skipped.
    void MoveGroup(int n, int nGroup, int nKind, int nNewGroup, int nNewKind, BOOL bByCurrent);
    // An object left its group at removedIndex: every entry now of that kind
    // and of that group (or of the unset group, or of any group for kind 0)
    // whose index is removedIndex or more moves down by one.
    void CloseGap(int nRemovedIndex, int nGroup, int nKind);
};
