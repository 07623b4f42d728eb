// The hierarchy levels at work: finding a unit's element and its level,
// picking leaders after a loss, renumbering after a unit leaves its array,
// the tree pictures, ratings, emptying containers, detaching carriers with
// what they carry, the units component's finders and groupings built from
// a task organisation.
#include "HierarchyTestSupport.h"

#include "database/VCapKinds.h"
#include "units/CarriedUnit.h"
#include "units/UCapKinds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hierarchytest;

namespace
{
// Side 0: "A Company" [Commander (unit 0), "1st Tank" [units 1, 2]],
// "2nd Tank" [unit 3], and unit 4 under the battalion.
CHierarchyArray* OwnSide()
{
    auto* pHierarchy = new CHierarchyArray;
    pHierarchy->m_nSide = 0;
    pHierarchy->Add(Holding<CHierarchyCompany>(
        "A Company", 0,
        {Element("Commander", 0, 0, 0, FALSE, TRUE),
         Holding<CHierarchyPlatoon>("1st Tank", 0,
                                    {Element("Tank 11", 1, 0, 0, TRUE), Element("Tank 12", 2, 0, 1, TRUE)})}));
    pHierarchy->Add(Holding<CHierarchyPlatoon>("2nd Tank", 0, {Element("Tank 21", 3, 0, 0, TRUE)}));
    pHierarchy->Add(Element("Mortar", 4));
    return pHierarchy;
}

std::vector<std::string> UnitsOf(const CTaskOrgArray& list)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetSize(); ++i)
    {
        const CTaskOrg* p = list.GetAt(i);
        entries.push_back(p->GetType() == TASKORG_KIND_NAMED
                              ? std::string("named ") + static_cast<const CHierarchyTaskOrg*>(p)->m_strName.GetString()
                              : std::to_string(p->m_nUnit) + "/" + std::to_string(p->m_nArray));
    }
    return entries;
}
}  // namespace

TEST(HierarchyLevels, AUnitsElementIsFoundWithTheLevelOfItsContainer)
{
    std::unique_ptr<CHierarchyArray> pOwn(OwnSide());
    // Side 1: unit 0 of array 2 held by a platoon, unit 0 of array 1 by the battalion.
    CHierarchyArray enemy;
    enemy.m_nSide = 1;
    enemy.Add(Holding<CHierarchyPlatoon>("Red Tank", 1, {Element("Red 1", 0, 2)}));
    enemy.Add(Element("Red 2", 0, 1));

    struct Case
    {
        CHierarchyArray* pHierarchy;
        int nUnit, nArray, nSide;
        const char* name;  // null: none
        int nLevel;
    };
    const Case cases[] = {
        {pOwn.get(), 0, 0, 0, "Commander", HIERARCHY_COMPANY},
        {pOwn.get(), 2, 0, 0, "Tank 12", HIERARCHY_PLATOON},
        {pOwn.get(), 3, 0, 0, "Tank 21", HIERARCHY_PLATOON},
        {pOwn.get(), 4, 0, 0, "Mortar", HIERARCHY_BATTALION},
        // On side 0 any array index finds the element.
        {pOwn.get(), 2, 7, 0, "Tank 12", HIERARCHY_PLATOON},
        {pOwn.get(), 4, -99, 0, "Mortar", HIERARCHY_BATTALION},
        {pOwn.get(), 5, 0, 0, nullptr, 0},
        // Another side than the hierarchy's finds nothing.
        {pOwn.get(), 0, 0, 1, nullptr, 0},
        // On the other sides the array index must match.
        {&enemy, 0, 2, 1, "Red 1", HIERARCHY_PLATOON},
        {&enemy, 0, 1, 1, "Red 2", HIERARCHY_BATTALION},
        {&enemy, 0, 0, 1, nullptr, 0},
        {&enemy, 0, 2, 2, nullptr, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.nUnit) + "/" + std::to_string(c.nArray) + "/" + std::to_string(c.nSide));
        int nLevel = -1;
        const CHierarchyElement* pElement = c.pHierarchy->FindElementOfUnit(c.nUnit, c.nArray, c.nSide, nLevel);
        if (c.name == nullptr)
        {
            EXPECT_EQ(pElement, nullptr);
            continue;
        }
        ASSERT_NE(pElement, nullptr);
        EXPECT_EQ(pElement->m_strName, c.name);
        EXPECT_EQ(nLevel, c.nLevel);
    }

    // The company's own search reports the platoon, or -99 for its own element.
    int nPlatoon = 0;
    const CHierarchyCompany* pCompany = pOwn->GetCompany(0);
    EXPECT_EQ(pCompany->FindElementAnywhere(2, 0, nPlatoon), 1);
    EXPECT_EQ(nPlatoon, 1);
    EXPECT_EQ(pCompany->FindElementAnywhere(0, 0, nPlatoon), 0);
    EXPECT_EQ(nPlatoon, -99);
    EXPECT_EQ(pCompany->GetElement(-1), nullptr);
    EXPECT_EQ(pCompany->GetPlatoon(2), nullptr);

    // Names: the platoon of an element, the containers, the battalion's own.
    int nIndex = 0;
    EXPECT_EQ(pOwn->FindPlatoonOfElement("Tank 12", nIndex), pCompany->GetPlatoon(1));
    EXPECT_EQ(nIndex, 1);
    EXPECT_EQ(pOwn->FindPlatoonOfElement("Mortar", nIndex), pOwn.get());
    EXPECT_EQ(pOwn->FindContainerByName("1st Tank"), pCompany->GetPlatoon(1));
    EXPECT_EQ(pOwn->FindContainerByName("A Company"), pCompany);
    EXPECT_EQ(pOwn->FindContainerByName("Tank 11"), nullptr);
    EXPECT_EQ(pOwn->IndexOfElementByName("2nd Tank"), 1);
    EXPECT_EQ(pOwn->IndexOfElementByName("Mortar"), 2);
    EXPECT_EQ(pOwn->IndexOfElementByName("Tank 11"), -99);
    EXPECT_EQ(pOwn->FindElementByName("Tank 11", FALSE)->m_nUnit, 1);
}

TEST(HierarchyLevels, LeadersArePickedByIndexAndPickedAgainOnlyWhenALeaderIsLost)
{
    CHierarchyArray hierarchy;
    // Index 2, two of index 1 (the earlier wins), one of -99 that never
    // leads, and one of index 0 that does not qualify for a platoon.
    hierarchy.Add(Holding<CHierarchyPlatoon>("1st", 0,
                                             {Element("A", 0, 0, 2, TRUE), Element("B", 1, 0, 1, TRUE),
                                              Element("C", 2, 0, 1, TRUE), Element("D", 3, 0, kUnset, TRUE),
                                              Element("E", 4, 0, 0, FALSE, TRUE)}));
    hierarchy.Add(Holding<CHierarchyPlatoon>("2nd", 0, {Element("F", 5, 0, 0, TRUE)}));
    CHierarchyPlatoon* pFirst = hierarchy.GetPlatoon(0);
    CHierarchyPlatoon* pSecond = hierarchy.GetPlatoon(1);
    auto leaders = [&]()
    {
        std::string text;
        for (CHierarchyPlatoon* pPlatoon : {pFirst, pSecond})
            for (int i = 0; i < pPlatoon->GetSize(); ++i)
                if (pPlatoon->GetElement(i)->m_bLeader)
                    text += pPlatoon->GetElement(i)->m_strName.GetString();
        return text;
    };

    hierarchy.RepickLeaders(FALSE, nullptr, nullptr);
    EXPECT_EQ(leaders(), "BF");
    EXPECT_TRUE(pFirst->m_bActive && pSecond->m_bActive);

    // A lost follower changes its own mark only.
    pSecond->GetElement(0)->m_bLeader = FALSE;  // a mark the next re-pick restores
    EXPECT_EQ(hierarchy.SetElementDestroyed(2, 0, 0, FALSE, nullptr, nullptr), 1);
    EXPECT_TRUE(pFirst->GetElement(2)->m_bDestroyed);
    EXPECT_EQ(leaders(), "B");

    // A lost leader: every mark of the side is cleared and picked again.
    EXPECT_EQ(hierarchy.SetElementDestroyed(1, 0, 0, FALSE, nullptr, nullptr), 1);
    EXPECT_EQ(leaders(), "AF");

    // With no candidate left the platoon has no leader and is not active.
    pFirst->GetElement(0)->m_bDetached = TRUE;
    hierarchy.RepickLeaders(FALSE, nullptr, nullptr);
    EXPECT_EQ(leaders(), "F");
    EXPECT_FALSE(pFirst->m_bActive);
    EXPECT_EQ(pFirst->GetLeaderElement(), nullptr);

    // Unknown units and other sides change nothing.
    EXPECT_EQ(hierarchy.SetElementDestroyed(9, 0, 0, FALSE, nullptr, nullptr), 0);
    EXPECT_EQ(hierarchy.SetElementMounted(5, 0, 1), 0);
    EXPECT_EQ(hierarchy.SetElementMounted(5, 0, 0), 1);
    EXPECT_TRUE(pSecond->GetElement(0)->m_bMounted);
    EXPECT_EQ(hierarchy.ClearElementMounted(5, 0, 0), 1);
    EXPECT_FALSE(pSecond->GetElement(0)->m_bMounted);
}

TEST(HierarchyLevels, RemovingAUnitRenumbersItsSideAndOnlyItsArray)
{
    // Side 1: units 2, 3, 4 of array 0, units 3 and 4 of array 1, and an
    // element of unit 5 that names no array, spread over the levels.
    CHierarchyArray hierarchy;
    hierarchy.m_nSide = 1;
    hierarchy.Add(Holding<CHierarchyCompany>(
        "C", 1, {Element("a2", 2, 0), Holding<CHierarchyPlatoon>("P", 1, {Element("a3", 3, 0), Element("b3", 3, 1)})}));
    hierarchy.Add(Element("a4", 4, 0));
    hierarchy.Add(Element("b4", 4, 1));
    hierarchy.Add(Element("x5", 5, kUnset));

    hierarchy.RemoveUnitElement(3, 0, 1, FALSE);
    EXPECT_EQ(hierarchy.FindElementByName("a3", FALSE), nullptr);
    struct Expect
    {
        const char* name;
        int nUnit;
    };
    for (const Expect& e : {Expect{"a2", 2}, Expect{"b3", 3}, Expect{"a4", 3}, Expect{"b4", 4}, Expect{"x5", 4}})
        EXPECT_EQ(hierarchy.FindElementByName(e.name, FALSE)->m_nUnit, e.nUnit) << e.name;

    // A removal on another side changes nothing here; on side 0 every
    // array index counts.
    hierarchy.RenumberAfterRemoval(0, 0, 0);
    EXPECT_EQ(hierarchy.FindElementByName("a2", FALSE)->m_nUnit, 2);
    std::unique_ptr<CHierarchyArray> pOwn(OwnSide());
    pOwn->GetCompany(0)->GetPlatoon(1)->GetElement(1)->m_nArray = 6;
    pOwn->RenumberAfterRemoval(1, 0, 0);
    EXPECT_EQ(pOwn->FindElementByName("Commander", FALSE)->m_nUnit, 0);
    EXPECT_EQ(pOwn->FindElementByName("Tank 12", FALSE)->m_nUnit, 1);
    EXPECT_EQ(pOwn->FindElementByName("Mortar", FALSE)->m_nUnit, 3);
}

TEST(HierarchyLevels, TreePicturesCountInGroupsOfEight)
{
    CStringArray names;
    names.Add("Tarn Tank NATO vehicle");
    names.Add("Kell Carrier NATO vehicle");
    names.Add("Tarn Tank NATO platoon");
    // n = 3: the mounted group starts at 24, the destroyed picture is 32.
    struct Case
    {
        const char* type;
        BOOL leader, destroyed, mounted, detached, marked;
        int nLevel, nImage;
    };
    const Case cases[] = {
        {"Kell Carrier NATO", 0, 0, 0, 0, 0, HIERARCHY_PLATOON, 8},
        {"Kell Carrier NATO", 1, 0, 0, 0, 0, HIERARCHY_PLATOON, 9},
        {"Kell Carrier NATO", 1, 0, 0, 0, 0, HIERARCHY_COMPANY, 10},
        {"Kell Carrier NATO", 1, 0, 0, 0, 0, HIERARCHY_BATTALION, 8},
        {"Kell Carrier NATO", 1, 0, 0, 1, 0, HIERARCHY_COMPANY, 11},  // detachment wins
        {"Kell Carrier NATO", 0, 0, 0, 0, 1, HIERARCHY_PLATOON, 12},
        {"Unknown", 1, 0, 0, 0, 0, HIERARCHY_PLATOON, 1},
        {"Kell Carrier NATO", 1, 0, 1, 0, 0, HIERARCHY_COMPANY, 26},
        {"Kell Carrier NATO", 1, 0, 1, 1, 0, HIERARCHY_PLATOON, 27},
        {"Tarn Tank NATO", 1, 1, 1, 1, 0, HIERARCHY_PLATOON, 32},
        {"Unknown", 0, 1, 0, 0, 1, HIERARCHY_PLATOON, 36},
    };
    for (const Case& c : cases)
    {
        CHierarchyElement element;
        element.m_strSymbolType = c.type;
        element.m_bLeader = c.leader;
        element.m_bDestroyed = c.destroyed;
        element.m_bMounted = c.mounted;
        element.m_bDetached = c.detached;
        element.m_bMarked = c.marked;
        EXPECT_EQ(element.GetTreeImage(names, c.nLevel), c.nImage) << c.nImage;
    }

    // A platoon: its group, 3 more without a leader, 4 more when marked.
    CHierarchyPlatoon platoon;
    platoon.m_strSymbolType = "Tarn Tank NATO";
    platoon.m_bActive = TRUE;
    EXPECT_EQ(platoon.GetTreeImage(names), 16);
    platoon.m_bActive = FALSE;
    platoon.m_bMarked = TRUE;
    EXPECT_EQ(platoon.GetTreeImage(names), 23);
    CHierarchyCompany company;
    company.m_strSymbolType = "Tarn Tank NATO";
    company.m_bActive = TRUE;
    EXPECT_EQ(company.GetTreeImage(names), 0);  // no " company" entry

    // The names a company's tree needs, each once, in the order met.
    std::unique_ptr<CHierarchyArray> pOwn(OwnSide());
    CHierarchyCompany* pCompany = pOwn->GetCompany(0);
    pCompany->m_strSymbolType = "Tarn Tank NATO";
    pCompany->GetPlatoon(1)->m_strSymbolType = "Tarn Tank NATO";
    for (int i = 0; i < 2; ++i)
        pCompany->GetPlatoon(1)->GetElement(i)->m_strSymbolType = "Tarn Tank NATO";
    pCompany->GetElement(0)->m_strSymbolType = "Tarn Tank NATO";
    CStringArray collected;
    pCompany->CollectSymbolNames(collected);
    ASSERT_EQ(collected.GetSize(), 3);
    EXPECT_EQ(collected.GetAt(0), "Tarn Tank NATO company");
    EXPECT_EQ(collected.GetAt(1), "Tarn Tank NATO vehicle");
    EXPECT_EQ(collected.GetAt(2), "Tarn Tank NATO platoon");
}

TEST(HierarchyLevels, RatingsScaleWithAZeroRatingCountingAsOne)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);  // a unit is built only from a complete database
    CArrayUnits units;
    units.AddUnit(db.Db(), 0, 0, kTank);
    units.AddUnit(db.Db(), 0, 0, kInfantryCarrier);
    const CVehicle* pTank = db.Vehicle(kTank);
    const CVehicle* pCarrier = db.Vehicle(kInfantryCarrier);

    CHierarchyPlatoon empty;
    EXPECT_EQ(empty.RateValue(&units, db.Db()), 0);
    EXPECT_FLOAT_EQ(empty.GetScaledRate(&units, db.Db()), 0.000290023f);

    CHierarchyPlatoon platoon;
    platoon.Add(Element("Tank", 0));
    platoon.Add(Element("Carrier", 1));
    platoon.m_nWeight = 3;
    auto atLeastOne = [](int v) { return v == 0 ? 1 : v; };
    const int nExpected = 3 * (atLeastOne(pTank->m_nTargetValue) * atLeastOne(pTank->m_nThreatValue) +
                               atLeastOne(pCarrier->m_nTargetValue) * atLeastOne(pCarrier->m_nThreatValue));
    EXPECT_EQ(platoon.RateValue(&units, db.Db()), nExpected);
    EXPECT_FLOAT_EQ(platoon.GetScaledRate(&units, db.Db()), static_cast<float>(nExpected) * 0.000290023f);
    // A detached or destroyed element does not count.
    platoon.GetElement(1)->m_bDetached = TRUE;
    EXPECT_EQ(platoon.RateValue(&units, db.Db()),
              3 * atLeastOne(pTank->m_nTargetValue) * atLeastOne(pTank->m_nThreatValue));
    EXPECT_EQ(platoon.CountLiveVehicles(0, &units, db.Db()), 1);
    EXPECT_EQ(platoon.GetRoleFlags(&units, db.Db()), static_cast<DWORD>(pTank->m_nRoleMask));
}

TEST(HierarchyLevels, EmptyingAContainerKeepsTheElementsAndFreesOnlyTheContainers)
{
    // Moving everything out: the company ends empty, its platoons are gone
    // and every element lives on in the target, the company's own first.
    std::unique_ptr<CHierarchyArray> pOwn(OwnSide());
    CTaskOrgArray target;
    pOwn->GetCompany(0)->MoveAllElementsTo(target);
    EXPECT_EQ(pOwn->GetCompany(0)->GetSize(), 0);
    EXPECT_EQ(UnitsOf(target), (std::vector<std::string>{"0/0", "1/0", "2/0"}));
    pOwn->MoveAllElementsTo(target);
    EXPECT_EQ(pOwn->GetSize(), 0);
    EXPECT_EQ(UnitsOf(target), (std::vector<std::string>{"0/0", "1/0", "2/0", "4/0", "3/0"}));

    // A company built over elements owned elsewhere lets its platoons go
    // without touching them.
    CTaskOrgArray owner;
    for (int i = 0; i < 3; ++i)
        owner.Add(Element("e", i));
    {
        CHierarchyCompany temporary;
        auto* pPlatoon = new CHierarchyPlatoon;
        pPlatoon->Add(owner.GetAt(0));
        pPlatoon->Add(owner.GetAt(1));
        temporary.Add(owner.GetAt(2));
        temporary.Add(pPlatoon);
        temporary.RemoveAllPlatoons();
        EXPECT_EQ(temporary.GetSize(), 0);
    }
    ASSERT_EQ(owner.GetSize(), 3);
    EXPECT_EQ(owner.GetAt(2)->m_nUnit, 2);  // still alive, still owned here
}

TEST(HierarchyLevels, DetachingACarrierDetachesWhatItCarriesAndEndsOnCarriersCarryingEachOther)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);  // a unit is built only from a complete database
    CArrayUnits units;
    CUnit* pFirst = units.AddUnit(db.Db(), 0, 0, kInfantryCarrier);
    CUnit* pSecond = units.AddUnit(db.Db(), 0, 0, kInfantryCarrier);
    units.AddUnit(db.Db(), 0, 0, kRifleTeam);
    units.AddUnit(db.Db(), 0, 0, kTank);
    auto passengers = [](CUnit* pUnit)
    { return static_cast<CUCapPersonnelCarrier*>(pUnit->FindCapability(VCAP_PERSONNEL_CARRIER))->m_pPassengers; };
    // The first carries the team and the second; the second the first.
    passengers(pFirst)->Add(new CCarriedUnit(2, 0, 0));
    passengers(pFirst)->Add(new CCarriedUnit(1, 0, 0));
    passengers(pSecond)->Add(new CCarriedUnit(0, 0, 0));
    pFirst->m_bMarchSpeed = TRUE;

    auto* pHierarchy = new CHierarchyArray;
    pHierarchy->Add(
        Holding<CHierarchyPlatoon>("Mech", 0,
                                   {Element("Carrier 1", 0, 0, 0, TRUE), Element("Carrier 2", 1, 0, 1, TRUE),
                                    Element("Team", 2), Element("Tank", 3, 0, 2, TRUE)}));
    units.SetHierarchy(0, pHierarchy);
    pHierarchy->RepickLeaders(FALSE, &units, db.Db());
    CHierarchyPlatoon* pPlatoon = pHierarchy->GetPlatoon(0);
    ASSERT_TRUE(pPlatoon->GetElement(0)->m_bLeader);

    pPlatoon->GetElement(0)->Detach(pHierarchy, &units, db.Db(), FALSE);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(pPlatoon->GetElement(i)->m_bDetached) << i;
        EXPECT_TRUE(pPlatoon->GetElement(i)->IsDetachedAlive()) << i;
    }
    EXPECT_FALSE(pPlatoon->GetElement(3)->m_bDetached);
    EXPECT_FALSE(pFirst->m_bMarchSpeed);
    // The lost leader made the tank lead.
    EXPECT_TRUE(pPlatoon->GetElement(3)->m_bLeader);
    EXPECT_FALSE(pPlatoon->GetElement(0)->m_bLeader);
    EXPECT_TRUE(pPlatoon->HasDetachedAliveElement());

    // Re-attaching: an attached element answers 1 at once; a detached one
    // takes its unit's state back.
    EXPECT_EQ(pPlatoon->GetElement(3)->Refresh(nullptr, nullptr, HIERARCHY_PLATOON), 1);
    pSecond->m_bDestroyed = TRUE;
    EXPECT_EQ(pPlatoon->GetElement(1)->Refresh(pHierarchy, &units, HIERARCHY_PLATOON), 1);
    EXPECT_TRUE(pPlatoon->GetElement(1)->m_bDestroyed);
    EXPECT_FALSE(pPlatoon->GetElement(1)->m_bDetached);
    EXPECT_EQ(pPlatoon->GetElement(1)->Refresh(pHierarchy, &units, HIERARCHY_PLATOON), 0);
    EXPECT_EQ(pPlatoon->RecallDetached(pHierarchy, &units, nullptr, db.Db(), HIERARCHY_PLATOON), 1);
    EXPECT_FALSE(pPlatoon->HasDetachedAliveElement());

    // Labels: the unit's name and type, what it is doing; nothing once lost.
    pPlatoon->GetElement(2)->m_bMounted = TRUE;
    pPlatoon->GetElement(2)->m_bDetached = TRUE;
    units.GetUnit(2, 0, 0)->m_strName = "Rifle 1";
    EXPECT_EQ(pPlatoon->GetElement(2)->GetLabel(db.Db(), &units, 0),
              CString("Rifle 1\t\t(") + db.Vehicle(kRifleTeam)->m_strName + ", mounted, detached)");
    EXPECT_EQ(pPlatoon->GetElement(1)->GetLabel(db.Db(), &units, 0), "");
    EXPECT_EQ(pPlatoon->GetLabel(db.Db(), &units), "Mech\t\t(Platoon)");
}

TEST(HierarchyLevels, TheUnitsComponentFindsContainersByNameOwnSideFirstAndAUnitsElement)
{
    CArrayUnits units;
    units.SetHierarchy(0, OwnSide());
    auto* pEnemy = new CHierarchyArray;
    pEnemy->m_nSide = 1;
    pEnemy->Add(Holding<CHierarchyPlatoon>("2nd Tank", 1, {Element("Red", 0, 0)}));
    pEnemy->Add(Holding<CHierarchyPlatoon>("Red Mech", 1, {Element("Red 2", 1, 0)}));
    units.SetHierarchy(1, pEnemy);

    CHierarchyPlatoon* pFound = units.FindElementByName("2nd Tank");
    ASSERT_NE(pFound, nullptr);
    EXPECT_EQ(pFound->m_nSide, 0);
    ASSERT_NE(units.FindElementByName("Red Mech"), nullptr);
    EXPECT_EQ(units.FindElementByName("Red Mech")->m_nSide, 1);
    EXPECT_EQ(units.FindElementByName("Nobody"), nullptr);

    ASSERT_NE(units.FindUnitElement(1, 0, 1), nullptr);
    EXPECT_EQ(units.FindUnitElement(1, 0, 1)->m_strName, "Red 2");
    EXPECT_EQ(units.FindUnitElement(1, 0, 0)->m_strName, "Tank 11");
    EXPECT_EQ(units.FindUnitElement(1, 0, 2), nullptr);
    EXPECT_EQ(units.FindUnitElement(1, 0, 3), nullptr);
}

TEST(HierarchyLevels, AGroupingFromATaskOrganisationTakesNamedContainersThenUnits)
{
    CArrayUnits units;
    units.SetHierarchy(0, OwnSide());
    auto* pEnemy = new CHierarchyArray;
    pEnemy->m_nSide = 1;
    pEnemy->Add(Holding<CHierarchyPlatoon>("Red Tank", 1, {Element("Red", 0, 0)}));
    units.SetHierarchy(1, pEnemy);

    // The company by name (which covers the commander's own entry), a unit,
    // and a platoon of the other side by name: its entry goes once taken,
    // so the scan ends.
    CTaskOrgArray list;
    list.Add(new CTaskOrg(0, 0));
    auto named = [](const char* name)
    {
        auto* p = new CHierarchyTaskOrg;
        p->m_strName = name;
        return p;
    };
    list.Add(named("Red Tank"));
    list.Add(new CTaskOrg(3, 0));
    list.Add(named("A Company"));
    list.Add(new CTaskOrg(9, 0));  // a unit without element
    CHierarchyArray grouping(&list, &units);

    EXPECT_EQ(grouping.m_pDialog, nullptr);
    EXPECT_EQ(grouping.m_pOrders, nullptr);
    ASSERT_EQ(grouping.GetSize(), 3);
    ASSERT_NE(grouping.GetCompany(0), nullptr);
    EXPECT_EQ(grouping.GetCompany(0)->m_strName, "A Company");
    EXPECT_EQ(grouping.GetCompany(0)->GetPlatoon(1)->GetElement(1)->m_strName, "Tank 12");
    ASSERT_NE(grouping.GetPlatoon(1), nullptr);
    EXPECT_EQ(grouping.GetPlatoon(1)->m_strName, "Red Tank");
    EXPECT_EQ(grouping.GetPlatoon(1)->m_nSide, 0);
    ASSERT_NE(grouping.GetElement(2), nullptr);
    EXPECT_EQ(grouping.GetElement(2)->m_strName, "Tank 21");

    // A company's units: its name first when asked, its own, then each
    // platoon's; a team aboard is not among them.
    grouping.GetCompany(0)->GetPlatoon(1)->GetElement(0)->m_bMounted = TRUE;
    CTaskOrgArray filled;
    grouping.GetCompany(0)->FillUnitList(&filled, TRUE);
    EXPECT_EQ(UnitsOf(filled), (std::vector<std::string>{"named A Company", "0/0", "named 1st Tank", "2/0"}));

    // Nothing without a list or units.
    CHierarchyArray none(nullptr, &units);
    EXPECT_EQ(none.GetSize(), 0);
}

TEST(HierarchyLevels, HandOverAndTaskOrgNamesFollowTheNamesOfTheSide)
{
    std::unique_ptr<CHierarchyArray> pOwn(OwnSide());
    CTaskOrgArray list;
    auto* pNamed = new CHierarchyTaskOrg;
    pNamed->m_strName = "1st Tank";
    list.Add(pNamed);
    list.Add(new CTaskOrg(1, 0));
    auto* pMortar = new CHierarchyTaskOrg;
    pMortar->m_strName = "Mortar";
    list.Add(pMortar);
    CStringArray names;
    CDWordArray counts;
    pOwn->ApplyTaskOrgNames(&list, &names, &counts);
    ASSERT_EQ(names.GetSize(), 3);
    EXPECT_EQ(names.GetAt(0), "1st Tank");
    EXPECT_EQ(counts.GetAt(0), 1u);
    EXPECT_EQ(names.GetAt(1), "Tank 11");
    EXPECT_EQ(names.GetAt(2), "Mortar");
    EXPECT_EQ(list.FindHierarchyTaskOrg("1st Tank"), -99);

    // A handed-over element leaves the platoon of the source and joins the
    // top level here.
    CHierarchyArray receiver;
    CHierarchyElement* pTank = pOwn->FindElementByName("Tank 12", FALSE);
    receiver.HandOverElement(pTank, pOwn.get());
    EXPECT_EQ(pOwn->FindElementByName("Tank 12", FALSE), nullptr);
    EXPECT_EQ(receiver.GetElement(0), pTank);

    // Copying the structure: containers take this side, elements keep theirs.
    CHierarchyArray copy;
    copy.m_nSide = 2;
    copy.CopyStructure(pOwn.get());
    ASSERT_EQ(copy.GetSize(), 3);
    EXPECT_EQ(copy.GetCompany(0)->m_nSide, 2);
    EXPECT_EQ(copy.GetPlatoon(1)->m_nSide, 2);
    EXPECT_EQ(copy.GetElement(2)->m_strName, "Mortar");
}

TEST(HierarchyLevels, AMountingElementJoinsTheCarrierWithRoomNearestFirst)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);  // a unit is built only from a complete database
    CArrayUnits units;
    units.AddUnit(db.Db(), 0, 0, kInfantryCarrier, 100.0f, 100.0f);  // 0: the carrier
    units.AddUnit(db.Db(), 0, 0, kRifleTeam, 130.0f, 100.0f);        // 1: 30 m off
    units.AddUnit(db.Db(), 0, 0, kRifleTeam, 110.0f, 100.0f);        // 2: 10 m off, mounting
    const int nRoom =
        static_cast<CVCapPersonnelCarrier*>(db.Vehicle(kInfantryCarrier)->FindCapability(VCAP_PERSONNEL_CARRIER))
            ->m_nNumberOfDismounts;
    ASSERT_GE(nRoom, 2);

    CHierarchyArray group;
    group.Add(Holding<CHierarchyCompany>(
        "Mount", 0, {Element("Carrier", 0), Holding<CHierarchyPlatoon>("Aboard", 0, {Element("Far team", 1)})}));
    CHierarchyElement* pMounting = Element("Near team", 2);
    ASSERT_EQ(group.InsertUnitsInOrder(pMounting, nullptr, &units, db.Db()), 1);
    const CHierarchyPlatoon* pAboard = group.GetCompany(0)->GetPlatoon(1);
    ASSERT_EQ(pAboard->GetSize(), 2);
    EXPECT_EQ(pAboard->GetElement(0), pMounting);

    // Without units or a carrier the element stays the caller's.
    CHierarchyElement other;
    EXPECT_EQ(group.InsertUnitsInOrder(&other, nullptr, nullptr, db.Db()), 0);
    CHierarchyArray noCarrier;
    EXPECT_EQ(noCarrier.InsertUnitsInOrder(&other, nullptr, &units, db.Db()), 0);
}

TEST(HierarchyLevels, ElementsAFireDirectionCentreServesAreMarkedWhenAskedAfterLeadersArePicked)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CArrayUnits units;
    units.AddUnit(db.Db(), 0, 0, kObserverVehicle);  // 0: the centre, which leads
    units.AddUnit(db.Db(), 0, 0, kMortarCarrier);    // 1
    units.AddUnit(db.Db(), 0, 0, kMortarCarrier);    // 2: detached
    units.AddUnit(db.Db(), 0, 0, kTank);             // 3: no gun to direct
    units.AddUnit(db.Db(), 0, 0, kMortarCarrier);    // 4: in a platoon of its own
    auto* pHierarchy = new CHierarchyArray;
    pHierarchy->Add(Holding<CHierarchyPlatoon>(
        "Fires", 0,
        {Element("Observer", 0, 0, 0, TRUE), Element("Mortar 1", 1), Element("Mortar 2", 2), Element("Tank", 3)}));
    pHierarchy->Add(Holding<CHierarchyPlatoon>("Alone", 0, {Element("Mortar 3", 4, 0, 0, TRUE)}));
    pHierarchy->GetPlatoon(0)->GetElement(2)->m_bDetached = TRUE;
    units.SetHierarchy(0, pHierarchy);

    pHierarchy->RepickLeaders(FALSE, &units, db.Db());
    EXPECT_EQ(pHierarchy->GetElementState(1, 0, 0), 0);

    pHierarchy->RepickLeaders(TRUE, &units, db.Db());
    struct Expect
    {
        int nUnit;
        int nState;
    };
    for (const Expect& e : {Expect{0, 0}, Expect{1, 1}, Expect{2, 0}, Expect{3, 0}, Expect{4, 0}})
        EXPECT_EQ(pHierarchy->GetElementState(e.nUnit, 0, 0), e.nState) << e.nUnit;
    EXPECT_TRUE(pHierarchy->GetPlatoon(0)->HasFireDirectionFor(1, 0, &units, db.Db(), TRUE));
    EXPECT_FALSE(pHierarchy->GetPlatoon(1)->HasFireDirectionFor(4, 0, &units, db.Db(), TRUE));

    // A lost centre takes the marks with it on the next pick.
    units.GetUnit(0, 0, 0)->m_bDestroyed = TRUE;
    EXPECT_EQ(pHierarchy->SetElementDestroyed(0, 0, 0, TRUE, &units, db.Db()), 1);
    EXPECT_EQ(pHierarchy->GetElementState(1, 0, 0), 0);
}
