// The group a force stands for: a division's groups, a named platoon or
// company, a side's hierarchy, the fallback element; the role filter; and
// that the units component's own hierarchies never change.

#include "ai/UOrdAIOrderData.h"
#include "ai/UOrdAIOrderDataKinds.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyCompany.h"
#include "hierarchy/HierarchyElement.h"
#include "units/KDRUnits.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
CHierarchyPlatoon* MakePlatoon(const char* name, int nElements, int nSide)
{
    auto* pPlatoon = new CHierarchyPlatoon;
    pPlatoon->m_strName = name;
    pPlatoon->m_nSide = nSide;
    for (int i = 0; i < nElements; ++i)
    {
        auto* pElement = new CHierarchyElement;
        pElement->m_strName.Format("%s %d", name, i + 1);
        pElement->m_nUnit = i;
        pPlatoon->Add(pElement);
    }
    return pPlatoon;
}

// Side 1: "Saddle Company" with two platoons of three vehicles.
struct ForceWorld
{
    CKDRUnits units;
    CHierarchyCompany* pCompany = new CHierarchyCompany;

    ForceWorld()
    {
        pCompany->m_strName = "Saddle Company";
        pCompany->m_nSide = 1;
        pCompany->Add(MakePlatoon("1st Platoon", 3, 1));
        pCompany->Add(MakePlatoon("2nd Platoon", 3, 1));
        auto* pSide = new CHierarchyArray;
        pSide->m_nSide = 1;
        pSide->Add(pCompany);
        units.m_pHierarchy[1] = pSide;
        units.m_bHierarchy[1] = TRUE;
    }
};

int CountElements(const CHierarchyPlatoon& container)
{
    int n = 0;
    for (int i = 0; i < container.GetSize(); ++i)
    {
        CObject* pChild = container.GetChild(i);
        if (auto* pInner = dynamic_cast<CHierarchyPlatoon*>(pChild))
            n += CountElements(*pInner);
        else if (dynamic_cast<CHierarchyElement*>(pChild) != nullptr)
            ++n;
    }
    return n;
}
}  // namespace

TEST(ResolveForce, EachSourceInTurn)
{
    ForceWorld w;
    CUOrdAIOrderDataDivideForce divide;
    divide.m_apGroups[1]->m_nSide = 1;
    divide.m_apGroups[1]->Add(MakePlatoon("Breach Group", 2, 1));
    std::unique_ptr<CHierarchyPlatoon> fallback(MakePlatoon("Lone Platoon", 4, 2));

    struct Case
    {
        CUOrdAIOrderDataDivideForce* pDivide;
        bool bUnits;
        CHierarchyPlatoon* pFallback;
        int nMask;
        const char* name;
        int nSide;
        int nElements;  // -1: no group
        int nGroupSide;
        const char* what;
    } cases[] = {
        {&divide, true, nullptr, 0x2, "", 0, 2, 1, "the division's group 1"},
        {&divide, true, nullptr, 0x1, "2nd Platoon", 0, 3, 1, "an empty division group: the named platoon"},
        {&divide, true, nullptr, -1, "Saddle Company", 0, 6, 1, "no group asked: the named company"},
        {nullptr, true, nullptr, 0, "Nobody", 0, -1, 0, "an unknown name"},
        {nullptr, true, nullptr, 0, "", 1, 6, 1, "the side's hierarchy"},
        {nullptr, true, fallback.get(), 0, "", 2, 4, 2, "no hierarchy of side 2: the fallback"},
        {nullptr, true, nullptr, 0, "", 2, -1, 0, "neither"},
        {nullptr, false, fallback.get(), 0, "", 1, -1, 0, "no units component"},
        {&divide, false, nullptr, 0x2, "", 0, 2, 1, "the division needs no units"},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CHierarchyArray> group(CUOrdAIOrderData::ResolveForce(
            c.pDivide, c.bUnits ? &w.units : nullptr, nullptr, c.pFallback, c.nMask, 0, c.name, c.nSide));
        if (c.nElements < 0)
        {
            EXPECT_EQ(group, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(group, nullptr) << c.what;
        EXPECT_EQ(CountElements(*group), c.nElements) << c.what;
        EXPECT_EQ(group->m_nSide, c.nGroupSide) << c.what;
        EXPECT_NE(group.get(), w.units.m_pHierarchy[1]) << c.what;
    }
    // A named platoon comes as a platoon, a company as a company.
    std::unique_ptr<CHierarchyArray> platoon(
        CUOrdAIOrderData::ResolveForce(nullptr, &w.units, nullptr, nullptr, 0, 0, "1st Platoon", 0));
    std::unique_ptr<CHierarchyArray> company(
        CUOrdAIOrderData::ResolveForce(nullptr, &w.units, nullptr, nullptr, 0, 0, "Saddle Company", 0));
    ASSERT_EQ(platoon->GetSize(), 1);
    ASSERT_EQ(company->GetSize(), 1);
    EXPECT_EQ(static_cast<CHierarchyPlatoon*>(platoon->GetChild(0))->GetLevel(), HIERARCHY_PLATOON);
    EXPECT_EQ(static_cast<CHierarchyPlatoon*>(company->GetChild(0))->GetLevel(), HIERARCHY_COMPANY);
}

TEST(ResolveForce, TheRoleFilterWorksOnTheCopyOnly)
{
    ForceWorld w;
    // None of these elements' units exists, so no vehicle has the role: the
    // filter leaves an empty, flat group.
    std::unique_ptr<CHierarchyArray> group(
        CUOrdAIOrderData::ResolveForce(nullptr, &w.units, nullptr, nullptr, 0, 0x8, "Saddle Company", 0));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetSize(), 0);
    std::unique_ptr<CHierarchyArray> side(
        CUOrdAIOrderData::ResolveForce(nullptr, &w.units, nullptr, nullptr, 0, 0x8, "", 1));
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->GetSize(), 0);
    // The units component's hierarchy is as it was.
    EXPECT_EQ(w.units.m_pHierarchy[1]->GetSize(), 1);
    EXPECT_EQ(CountElements(*w.units.m_pHierarchy[1]), 6);
    EXPECT_EQ(w.pCompany->GetSize(), 2);
}

TEST(AIOrderDataArray, MapEditingGoesToTheNamedItem)
{
    CUOrdAIOrderDataArray items;
    auto* pItem = new CUOrdAIOrderData;
    pItem->m_strName = "Objective";
    items.Add(pItem);
    BOOL bAgain = 7;
    BOOL bEnd = 7;
    EXPECT_TRUE(items.EditOnMap("Objective", nullptr, nullptr, 0, nullptr, 0, 0));
    EXPECT_FALSE(items.EditOnMap("Route", nullptr, nullptr, 0, nullptr, 0, 0));
    EXPECT_FALSE(items.FinishEditOnMap("Route", nullptr, nullptr, 0, nullptr, 0, 0, &bAgain, &bEnd));
    EXPECT_EQ(bAgain, 7);  // untouched
    EXPECT_TRUE(items.FinishEditOnMap("Objective", nullptr, nullptr, 0, nullptr, 0, 0, &bAgain, &bEnd));
    EXPECT_EQ(bAgain, FALSE);
    EXPECT_EQ(bEnd, FALSE);
    items.Notify("Route", nullptr, nullptr, 0, nullptr, 0, 0);  // nothing to tell
}
