// The global index map: the matching rule (kind 0 and negative groups match
// any group), moving a group by where its objects are now, closing the gap
// a removed object leaves, and the entry record laid out by hand.
#include "app/ScenarioBytes.h"
#include "hierarchy/GlobalMap.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<int> CurrentIndices(const CGlobalMap& map)
{
    std::vector<int> indices;
    for (int i = 0; i < map.GetSize(); ++i)
        indices.push_back(map.GetAt(i)->m_nIndex);
    return indices;
}
}  // namespace

TEST(GlobalMap, SearchesFollowTheMatchingRule)
{
    CGlobalMap map;
    map.AddUnits(3, 0, 1, 0, 1);
    map.AddUnits(2, 4, 0, 4, 0);
    map.AddUnits(0, 9, 2, 9, 2);  // adds nothing
    map.AddUnits(-1, 9, 2, 9, 2);
    ASSERT_EQ(map.GetSize(), 5);
    const struct
    {
        int nIndex, nGroup, nKind, nExpected;
    } cases[] = {
        {2, 0, 1, 2},     // the third entry
        {2, -1, 1, 2},    // a negative group matches any
        {2, 5, 1, -1},    // another group does not
        {2, 0, 2, -1},    // nor another kind
        {1, 77, 0, 4},    // kind 0 ignores the group
        {1, -99, 0, 4},
        {3, 0, 1, -1},    // no such index
    };
    for (const auto& c : cases)
    {
        const CGlobalIndex* pFound = map.FindByFirst(c.nIndex, c.nGroup, c.nKind);
        const CGlobalIndex* pExpected = c.nExpected >= 0 ? map.GetAt(c.nExpected) : nullptr;
        EXPECT_EQ(pFound, pExpected) << c.nIndex << "," << c.nGroup << "," << c.nKind;
        EXPECT_EQ(map.FindByCurrent(c.nIndex, c.nGroup, c.nKind), pExpected);
    }
    // An entry's unset group matches any group asked for.
    map.GetAt(0)->m_nFirstGroup = -99;
    EXPECT_EQ(map.FindByFirst(0, 3, 1), map.GetAt(0));

    CGlobalMap empty;
    EXPECT_EQ(empty.FindByFirst(0, 0, 0), nullptr);
    empty.CloseGap(0, 0, 0);
    EXPECT_EQ(empty.GetSize(), 0);
}

TEST(GlobalMap, MovingAGroupTwiceByCurrentFollowsTheObjects)
{
    CGlobalMap map;
    map.AddUnits(2, 0, 1, 0, 1);
    map.MoveGroup(2, 0, 1, 3, 2, TRUE);
    map.MoveGroup(3, 3, 2, 0, 0, TRUE);  // index 2 is absent: skipped
    for (int i = 0; i < 2; ++i)
    {
        const CGlobalIndex* pEntry = map.FindByFirst(i, 0, 1);
        ASSERT_NE(pEntry, nullptr);
        EXPECT_EQ(pEntry->m_nIndex, i);
        EXPECT_EQ(pEntry->m_nGroup, 0);
        EXPECT_EQ(pEntry->m_nKind, 0);
    }
    // By first triple the objects are still found where they began.
    map.MoveGroup(1, 0, 1, 5, 2, FALSE);
    EXPECT_EQ(map.GetAt(0)->m_nGroup, 5);
    EXPECT_EQ(map.GetAt(1)->m_nKind, 0);
}

TEST(GlobalMap, ClosingTheGapMovesTheRemovedIndexAndThoseAboveDown)
{
    CGlobalMap map;
    map.AddUnits(3, 0, 1, 0, 1);
    map.AddUnits(2, 1, 1, 1, 1);  // another group of the kind stays
    map.AddUnits(2, 0, 2, 0, 2);  // another kind stays
    map.CloseGap(1, 0, 1);
    EXPECT_EQ(CurrentIndices(map), (std::vector<int>{0, 0, 1, 0, 1, 0, 1}));

    // The unset group counts as the group; kind 0 closes across groups.
    CGlobalMap own;
    own.AddUnits(2, 0, 0, 0, 0);
    own.AddUnits(2, 3, 0, 3, 0);
    own.GetAt(0)->m_nGroup = -99;
    own.CloseGap(0, 8, 0);
    EXPECT_EQ(CurrentIndices(own), (std::vector<int>{-1, 0, -1, 0}));
}

TEST(GlobalMap, AnEntryIsSixWordsReadBackSignExtended)
{
    CScenarioBytes b;
    b.Word(2).Word(0xFFFF).Word(1).Word(3).Word(0xFF9D).Word(0);
    CGlobalIndex entry;
    {
        const std::vector<BYTE> bytes = b.Get();
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        entry.Serialize(ar);
    }
    EXPECT_EQ(entry.m_nFirstIndex, 2);
    EXPECT_EQ(entry.m_nFirstGroup, -1);
    EXPECT_EQ(entry.m_nFirstKind, 1);
    EXPECT_EQ(entry.m_nIndex, 3);
    EXPECT_EQ(entry.m_nGroup, -99);
    EXPECT_EQ(entry.m_nKind, 0);
    CMemFile out;
    CArchive ar(&out, CArchive::store);
    entry.Serialize(ar);
    ar.Close();
    EXPECT_EQ(out.GetData(), b.Get());

    const CGlobalIndex fresh;
    EXPECT_EQ(fresh.m_nFirstIndex, -99);
    EXPECT_EQ(fresh.m_nKind, -99);
}
