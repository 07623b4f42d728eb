// Task-organisation lists: no duplicates (plain entries by their two words,
// named entries by name, through the list's own finders), copies, the
// keyboard-group store and the archive forms, laid out here by hand.
#include "hierarchy/TaskOrg.h"
#include "../app/ScenarioBytes.h"
#include "hierarchy/HierarchyArray.h"
#include "platform/core/Core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
CHierarchyTaskOrg* Named(const char* name, int nUnit = 0, int nArray = 0)
{
    auto* p = new CHierarchyTaskOrg;
    p->m_strName = name;
    p->m_nUnit = nUnit;
    p->m_nArray = nArray;
    return p;
}

// "kind:unit:array[:name]" for each entry, in list order.
std::vector<std::string> Describe(const CTaskOrgArray& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetSize(); ++i)
    {
        const CTaskOrg* p = list.GetAt(i);
        std::string text =
            std::to_string(p->GetType()) + ":" + std::to_string(p->m_nUnit) + ":" + std::to_string(p->m_nArray);
        if (p->GetType() == TASKORG_KIND_NAMED)
            text += std::string(":") + static_cast<const CHierarchyTaskOrg*>(p)->m_strName.GetString();
        entries.push_back(text);
    }
    return entries;
}

std::vector<BYTE> Store(CObject& object)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
    return file.Detach();
}

void Load(CObject& object, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
    ar.Close();
}

// One stored group: the list (group id 3) holding unit 5 of array 0, the
// platoon "1st Platoon" and unit -2 of array 1.
CScenarioBytes GroupsFileBytes()
{
    CScenarioBytes b;
    b.Word(1);                                               // one list
    b.Word(0xFFFF).Word(1).Word(13).Chars("CTaskOrgArray");  // class 1, list 2
    b.Word(3);                                               // three entries
    b.Word(0xFFFF).Word(1).Word(8).Chars("CTaskOrg");        // class 3, entry 4
    b.Word(5).Word(0);
    b.Word(0xFFFF).Word(1).Word(17).Chars("CHierarchyTaskOrg");  // class 5, entry 6
    b.Word(0).Word(0).Str("1st Platoon");
    b.Word(0x8003);  // a further CTaskOrg
    b.Word(0xFFFE).Word(1);
    b.Word(3);  // the group id
    return b;
}

CTaskOrgArray* MakeGroup(int nId, int nSide)
{
    auto* pList = new CTaskOrgArray;
    pList->m_nId = nId;
    pList->m_nSide = nSide;
    return pList;
}

// A level that names units by unit index alone, as a list over one array.
class CUnitIndexList : public CTaskOrgArray
{
public:
    int FindTaskOrg(int nUnit, int) const override
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            if (GetAt(i)->GetType() == TASKORG_KIND_UNIT && GetAt(i)->m_nUnit == nUnit)
                return i;
        }
        return kUnset;
    }
    int FindHierarchyTaskOrg(const CString& strName) const override
    {
        return strName == "Reserved" ? 0 : CTaskOrgArray::FindHierarchyTaskOrg(strName);
    }
};
}  // namespace

TEST(TaskOrg, AddUniqueRefusesDuplicatesWithUnset)
{
    CTaskOrgArray list;
    EXPECT_EQ(list.m_nId, TASKORG_NO_GROUP);
    EXPECT_EQ(list.m_nSide, 0);

    struct Case
    {
        CTaskOrg* pEntry;
        int nAnswer;
    };
    CTaskOrg* pSecondUnit = new CTaskOrg(2, 0);
    CTaskOrg* pSameUnit = new CTaskOrg(2, 0);
    CTaskOrg* pOtherArray = new CTaskOrg(2, 1);
    CHierarchyTaskOrg* pSameWords = Named("2nd Platoon", 2, 0);
    CHierarchyTaskOrg* pSameName = Named("2nd Platoon", 7, 7);
    CHierarchyTaskOrg* pOtherCase = Named("2ND PLATOON");
    const Case cases[] = {
        {new CTaskOrg(1, 0), 0}, {pSecondUnit, 1}, {pSameUnit, kUnset},
        {pOtherArray, 2},        {pSameWords, 3},  // a named and a plain entry never collide
        {pSameName, kUnset},     {pOtherCase, 4},  // names compare exactly
        {nullptr, kUnset},
    };
    for (const Case& c : cases)
    {
        const int answer = list.AddUnique(c.pEntry);
        EXPECT_EQ(answer, c.nAnswer) << (c.pEntry ? Describe(list).size() : 0);
        if (answer == kUnset)
            delete c.pEntry;  // the caller keeps a refused entry
    }
    EXPECT_EQ(Describe(list),
              (std::vector<std::string>{"0:1:0", "0:2:0", "0:2:1", "1:2:0:2nd Platoon", "1:0:0:2ND PLATOON"}));
    EXPECT_EQ(list.FindTaskOrg(2, 1), 2);
    EXPECT_EQ(list.FindTaskOrg(3, 0), kUnset);
    EXPECT_EQ(list.FindHierarchyTaskOrg("2nd Platoon"), 3);
    EXPECT_EQ(list.FindHierarchyTaskOrg("3rd Platoon"), kUnset);
}

TEST(TaskOrg, AddUniqueAsksTheListsOwnFinders)
{
    CUnitIndexList list;
    ASSERT_EQ(list.AddUnique(new CTaskOrg(5, 0)), 0);
    CTaskOrg* pOtherArray = new CTaskOrg(5, 3);
    EXPECT_EQ(list.AddUnique(pOtherArray), kUnset);
    delete pOtherArray;
    CHierarchyTaskOrg* pReserved = Named("Reserved");
    EXPECT_EQ(list.AddUnique(pReserved), kUnset);
    delete pReserved;
    EXPECT_EQ(list.AddUnique(Named("A Company")), 1);
}

TEST(TaskOrg, CopiesAreFreshEntriesInOrderWithoutDuplicates)
{
    CTaskOrgArray source;
    source.m_nId = 4;
    source.m_nSide = 2;
    source.Add(new CTaskOrg(3, 1));
    source.Add(Named("Recon"));
    source.Add(new CTaskOrg(3, 1));  // a duplicate that bypassed AddUnique
    auto* pElement = new CHierarchyElement;
    pElement->m_nUnit = 8;
    pElement->m_strName = "Tank 8";
    source.Add(pElement);
    source.Add(Named("Recon", 9, 9));

    const CTaskOrgArray copy(source);
    EXPECT_EQ(copy.m_nId, 4);
    EXPECT_EQ(copy.m_nSide, 2);
    // An element counts as a plain entry and is copied as one.
    EXPECT_EQ(Describe(copy), (std::vector<std::string>{"0:3:1", "1:0:0:Recon", "0:8:0"}));
    for (int i = 0; i < copy.GetSize(); ++i)
    {
        EXPECT_NE(copy.GetAt(i), source.GetAt(i));
        EXPECT_FALSE(copy.GetAt(i)->IsKindOf(RUNTIME_CLASS(CHierarchyElement)));
    }

    CTaskOrgArray target;
    target.AddUnique(new CTaskOrg(8, 0));
    target.AppendCopies(source);
    EXPECT_EQ(Describe(target), (std::vector<std::string>{"0:8:0", "0:3:1", "1:0:0:Recon"}));
}

TEST(TaskOrg, GroupStoreReplacesByIdAndFindsByIdWithUnset)
{
    CTaskOrgArrayArray groups;
    EXPECT_EQ(groups.FindById(1), kUnset);
    EXPECT_EQ(groups.SetList(MakeGroup(1, 0)), 0);
    EXPECT_EQ(groups.SetList(MakeGroup(2, 0)), 1);
    CTaskOrgArray* pNew = MakeGroup(1, 0);
    pNew->AddUnique(new CTaskOrg(6, 0));
    // The old group 1 goes; the new one comes last.
    EXPECT_EQ(groups.SetList(pNew), 1);
    ASSERT_EQ(groups.GetSize(), 2);
    EXPECT_EQ(groups.GetAt(0)->m_nId, 2);
    EXPECT_EQ(groups.FindById(1), 1);
    EXPECT_EQ(groups.GetAt(1), pNew);
    // Handing in the list already held keeps it.
    EXPECT_EQ(groups.SetList(pNew), 1);
    EXPECT_EQ(groups.GetAt(1)->GetSize(), 1);
    EXPECT_EQ(groups.SetList(nullptr), kUnset);
    EXPECT_EQ(groups.FindById(TASKORG_NO_GROUP), kUnset);
}

TEST(TaskOrg, StoringTheGroupsWritesTheOwnSideOnlyAndKeepsTheOthers)
{
    CTaskOrgArrayArray groups;
    CTaskOrgArray* pEnemy = MakeGroup(4, 1);
    pEnemy->AddUnique(new CTaskOrg(1, 1));
    groups.Add(pEnemy);
    CTaskOrgArray* pOwn = MakeGroup(3, 0);
    pOwn->AddUnique(new CTaskOrg(5, 0));
    pOwn->AddUnique(Named("1st Platoon"));
    pOwn->AddUnique(new CTaskOrg(-2, 1));
    groups.Add(pOwn);

    EXPECT_EQ(Store(groups), GroupsFileBytes().Get());
    // Both groups are still there, as they were.
    ASSERT_EQ(groups.GetSize(), 2);
    EXPECT_EQ(groups.GetAt(0), pEnemy);
    EXPECT_EQ(groups.GetAt(0)->m_nSide, 1);
    EXPECT_EQ(groups.GetAt(1), pOwn);
    // And stored again, the same bytes.
    EXPECT_EQ(Store(groups), GroupsFileBytes().Get());
}

TEST(TaskOrg, GroupsReadBackFromTheirBytes)
{
    CTaskOrgArrayArray groups;
    Load(groups, GroupsFileBytes().Get());
    ASSERT_EQ(groups.GetSize(), 1);
    const CTaskOrgArray* pList = groups.GetAt(0);
    EXPECT_EQ(pList->m_nId, 3);
    EXPECT_EQ(pList->m_nSide, 0);
    EXPECT_EQ(Describe(*pList), (std::vector<std::string>{"0:5:0", "1:0:0:1st Platoon", "0:-2:1"}));
    EXPECT_EQ(Store(groups), GroupsFileBytes().Get());
}

TEST(TaskOrg, ACutFileLeavesTheGroupsAsTheyWere)
{
    const std::vector<BYTE> whole = GroupsFileBytes().Get();
    for (size_t cut : {size_t(1), size_t(10), whole.size() / 2, whole.size() - 1})
    {
        CTaskOrgArrayArray groups;
        groups.SetList(MakeGroup(7, 0));
        groups.GetAt(0)->AddUnique(new CTaskOrg(1, 0));
        const std::vector<BYTE> bytes(whole.begin(), whole.begin() + static_cast<long>(cut));
        EXPECT_THROW(Load(groups, bytes), CArchiveException) << cut;
        ASSERT_EQ(groups.GetSize(), 1) << cut;
        EXPECT_EQ(groups.GetAt(0)->m_nId, 7);
        EXPECT_EQ(groups.GetAt(0)->GetSize(), 1);
    }

    // A list on its own: the group id missing at the end.
    CScenarioBytes list;
    list.Word(1).Word(0xFFFF).Word(1).Word(8).Chars("CTaskOrg").Word(4).Word(0);
    CTaskOrgArray kept;
    kept.m_nId = 2;
    kept.AddUnique(new CTaskOrg(9, 0));
    EXPECT_THROW(Load(kept, list.Get()), CArchiveException);
    EXPECT_EQ(kept.m_nId, 2);
    EXPECT_EQ(Describe(kept), (std::vector<std::string>{"0:9:0"}));
}
