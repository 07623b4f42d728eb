// The road of an order through the hierarchy: toggles given to the
// battalion, a company or a platoon reach their standing orders, paths and
// units; orders for selections; a platoon's path handed to its units; its
// menus, formations, node orders and AI orders; and the element queries
// that find nothing while no hierarchy window is shown.

#include "MountTestSupport.h"

#include "ai/UOrdAIOrder.h"
#include "hierarchy/HierarchyCompany.h"
#include "hierarchy/HierarchyDlg.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "orders/UnitOrderKinds.h"
#include "platform/ui/Command.h"

#include <gtest/gtest.h>

using namespace mounttest;

namespace
{
constexpr DWORD kStop = 0x1;
constexpr DWORD kHoldFire = 0x2;
constexpr DWORD kSprint = 0x8;
constexpr DWORD kMaxRange = 0x80;
constexpr DWORD kMarchSpeed = 0x200;
constexpr DWORD kDismount = 0x8000;
constexpr DWORD kSuppress = 0x10000;

CHierarchyElement* Element(const char* name, int nUnit, BOOL bLeader)
{
    auto* pElement = new CHierarchyElement;
    pElement->m_strName = name;
    pElement->m_nUnit = nUnit;
    pElement->m_nArray = 0;
    pElement->m_bLeader = bLeader;
    pElement->m_bPlatoonLeader = TRUE;
    pElement->m_bCompanyLeader = TRUE;
    pElement->m_nIndex = bLeader ? 0 : 1;
    return pElement;
}

// "Line": members side by side, one interval apart.
CFormationPlatoonTemplate* LineTemplate(const char* name = "Line")
{
    auto* pTemplate = new CFormationPlatoonTemplate;
    pTemplate->m_strName = name;
    for (int s = 0; s < FORMATION_SLOTS; ++s)
    {
        pTemplate->m_afSet0X[s] = static_cast<float>(s);
        pTemplate->m_afSet1X[s] = static_cast<float>(s);
        pTemplate->m_afSet1Y[s] = -1.0f;
    }
    return pTemplate;
}

// Four tanks in two platoons of two: "1st" (units 0, 1) and "2nd" (units 2,
// 3), the first in company "A", the second directly under the battalion;
// each platoon has a one-node path at its leader.
struct CPlatoonWorld
{
    CMountWorld w;
    CHierarchyArray* pBattalion = nullptr;
    CHierarchyCompany* pCompany = nullptr;
    CHierarchyPlatoon* pFirst = nullptr;
    CHierarchyPlatoon* pSecond = nullptr;

    CPlatoonWorld()
    {
        for (int i = 0; i < 4; ++i)
            w.Add(kTank, 500.0f + 50.0f * static_cast<float>(i), 500.0f);
        pFirst = Platoon("1st", 0);
        pSecond = Platoon("2nd", 2);
        pCompany = new CHierarchyCompany;
        pCompany->m_strName = "A";
        pCompany->Add(pFirst);
        pBattalion = new CHierarchyArray;
        pBattalion->Add(pCompany);
        pBattalion->Add(pSecond);
        w.Units().m_pHierarchy[0] = pBattalion;
        w.Units().m_bHierarchy[0] = TRUE;
        auto* pTemplates = new CFormationTemplateArray;
        pTemplates->Add(LineTemplate());
        w.Units().m_pFormations = pTemplates;
        w.Units().m_bFormations = TRUE;
    }
    CHierarchyPlatoon* Platoon(const char* name, int nFirstUnit)
    {
        auto* pPlatoon = new CHierarchyPlatoon;
        pPlatoon->m_strName = name;
        pPlatoon->m_bActive = TRUE;
        pPlatoon->Add(Element(CString(name) + " a", nFirstUnit, TRUE));
        pPlatoon->Add(Element(CString(name) + " b", nFirstUnit + 1, FALSE));
        const CUnit* pLeader = w.Unit(nFirstUnit);
        pPlatoon->m_pPath->ResetToPoint(pLeader->m_fX, pLeader->m_fY, FALSE);
        return pPlatoon;
    }
    CKDRUnits& Units() { return w.Units(); }
    int Apply(DWORD dwBit, CHierarchyPlatoon* pElement, int nExplicit, int nOn, float x = kUnsetFloat,
              float y = kUnsetFloat, float r = kUnsetFloat)
    {
        CTaskOrgArray reached;
        return Units().ApplyOrderBitToElement(dwBit, &reached, pElement, w.Db(), w.Map(), nullptr, nullptr, nExplicit,
                                              nOn, x, y, r);
    }
    CTaskOrgArray* List(std::initializer_list<int> units)
    {
        auto* pList = new CTaskOrgArray;
        pList->m_nSide = 0;
        for (int n : units)
        {
            auto* pEntry = new CTaskOrg;
            pEntry->m_nUnit = n;
            pEntry->m_nArray = 0;
            pList->AddUnique(pEntry);
        }
        return pList;
    }
};

int CountOfType(const CHierarchyPlatoon* pLevel, DWORD dwCode)
{
    int n = 0;
    for (int i = 0; i < pLevel->m_pOrders->GetSize(); ++i)
        n += pLevel->m_pOrders->GetAt(i) != nullptr && pLevel->m_pOrders->GetAt(i)->GetOrderType() == dwCode ? 1 : 0;
    return n;
}

DWORD ToggleCode(DWORD dwBit) { return CUnitOrder::ToggleToOrderCode(dwBit); }
}  // namespace

TEST(OrderRoad, StopToTheBattalionReachesEachChildByNameAndToggleBack)
{
    CPlatoonWorld p;
    // The second platoon's path leads on, so its release is seen.
    p.pSecond->m_pPath->AddNode(900.0f, 900.0f);
    EXPECT_EQ(p.Apply(kStop, p.pBattalion, 1, 1), 1);
    EXPECT_EQ(CountOfType(p.pBattalion, ToggleCode(kStop)), 0) << "the battalion itself takes no order";
    EXPECT_EQ(CountOfType(p.pCompany, ToggleCode(kStop)), 1);
    EXPECT_EQ(CountOfType(p.pSecond, ToggleCode(kStop)), 1);
    EXPECT_TRUE(p.pSecond->m_pPath->GetAt(0)->HasStop());
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(p.w.Unit(i)->HasOrder(kStop)) << i;

    // Off again: the toggle goes, the first node is released and the
    // second platoon's units take its path from their own places.
    EXPECT_EQ(p.Apply(kStop, p.pSecond, 1, 0), 1);
    EXPECT_EQ(CountOfType(p.pSecond, ToggleCode(kStop)), 0);
    EXPECT_FALSE(p.pSecond->m_pPath->GetAt(0)->HasStop());
    for (int i : {2, 3})
    {
        const CUnit* pUnit = p.w.Unit(i);
        EXPECT_FALSE(pUnit->HasOrder(kStop)) << i;
        ASSERT_EQ(pUnit->m_pPath->GetSize(), 2) << i;
        EXPECT_FLOAT_EQ(pUnit->m_pPath->GetAt(1)->m_fX, 900.0f + (pUnit->m_fX - 600.0f)) << i;
        EXPECT_TRUE(pUnit->m_bMarchSpeed) << "a path that leads on sets the march speed";
    }
}

TEST(OrderRoad, StopReachesTheUnitsOfAPlatoonWithoutPath)
{
    CPlatoonWorld p;
    p.pFirst->m_pPath->RemoveAll();
    EXPECT_EQ(p.Apply(kStop, p.pFirst, 1, 1), 1);
    EXPECT_EQ(CountOfType(p.pFirst, ToggleCode(kStop)), 1);
    EXPECT_TRUE(p.w.Unit(0)->HasOrder(kStop));
    EXPECT_TRUE(p.w.Unit(1)->HasOrder(kStop));
    EXPECT_EQ(p.pFirst->m_pPath->GetSize(), 0);
}

TEST(OrderRoad, AOneNodePathWithAStopStopsAllWithoutMarchSpeed)
{
    CPlatoonWorld p;
    p.pFirst->m_pPath->GetAt(0)->AddOrder(NORD_STOP);
    EXPECT_EQ(p.pFirst->ExecutePath(&p.Units(), p.w.Map(), p.w.Db(), kUnsetFloat, kUnsetFloat, FALSE), 1);
    for (int i : {0, 1})
    {
        EXPECT_TRUE(p.w.Unit(i)->HasOrder(kStop)) << i;
        EXPECT_FALSE(p.w.Unit(i)->m_bMarchSpeed) << i;
    }
    EXPECT_EQ(CountOfType(p.pFirst, ToggleCode(kMarchSpeed)), 0);
}

TEST(OrderRoad, SuppressOnACompanyCopiesToItsPlatoonsAndNeedsAPoint)
{
    CPlatoonWorld p;
    // No point: nothing changes and the answer is 0.
    EXPECT_EQ(p.Apply(kSuppress, p.pCompany, 1, 1, 0.0f, 800.0f, 50.0f), 0);
    EXPECT_EQ(CountOfType(p.pCompany, UORD_SUPPRESS), 0);
    EXPECT_FALSE(p.w.Unit(0)->m_bSuppressArea);

    EXPECT_EQ(p.Apply(kSuppress, p.pCompany, 1, 1, 800.0f, 800.0f, 50.0f), 1);
    ASSERT_EQ(CountOfType(p.pCompany, UORD_SUPPRESS), 1);
    EXPECT_EQ(CountOfType(p.pFirst, UORD_SUPPRESS), 1);
    const auto* pOrder = dynamic_cast<const CUOrdSuppress*>(p.pFirst->m_pOrders->GetAt(0));
    ASSERT_NE(pOrder, nullptr);
    EXPECT_EQ(pOrder->m_fTargetX, 800.0f);
    EXPECT_GE(pOrder->m_fRange, 50.0f);
    EXPECT_TRUE(p.w.Unit(0)->m_bSuppressArea);

    // Off: only the company's own order goes.
    EXPECT_EQ(p.Apply(kSuppress, p.pCompany, 1, 0), 1);
    EXPECT_EQ(CountOfType(p.pCompany, UORD_SUPPRESS), 0);
    EXPECT_EQ(CountOfType(p.pFirst, UORD_SUPPRESS), 1);
}

TEST(OrderRoad, DismountInDeploymentUnloadsAndAddsNoOrder)
{
    CMountWorld w;
    const int nCarrier = w.Add(kCarrier, 500.0f, 500.0f);
    const int nTeam = w.Add(kTeam, 500.0f, 500.0f);
    w.Aboard(nTeam, nCarrier);
    CHierarchyArray* pHierarchy = w.MakeHierarchy();
    auto* pPlatoon = dynamic_cast<CHierarchyPlatoon*>(pHierarchy->GetChild(0));
    ASSERT_NE(pPlatoon, nullptr);
    pPlatoon->GetElement(nCarrier)->m_bLeader = TRUE;
    pPlatoon->GetElement(nCarrier)->m_bPlatoonLeader = TRUE;
    pPlatoon->GetElement(nTeam)->m_bMounted = TRUE;
    CTaskOrgArray reached;
    EXPECT_EQ(w.Units().ApplyOrderBitToElement(kDismount, &reached, pPlatoon, w.Db(), w.Map(), nullptr, nullptr, 1, 1,
                                               kUnsetFloat, kUnsetFloat, kUnsetFloat),
              1);
    EXPECT_EQ(CountOfType(pPlatoon, UORD_DISMOUNT), 0);
    EXPECT_FALSE(w.Unit(nCarrier)->HasPassengers());
    EXPECT_FALSE(w.Unit(nTeam)->IsCarried());
}

TEST(SelectionOrders, TogglesFireControlsAndMarchSpeed)
{
    CPlatoonWorld p;
    std::unique_ptr<CTaskOrgArray> pAll(p.List({0, 1, 2}));
    auto toggle = [&](DWORD dwBit, BOOL bExplicit = FALSE, int nValue = 0)
    { return p.Units().ToggleOrderForSelection(pAll.get(), dwBit, p.w.Db(), p.w.Map(), bExplicit, nValue, 0, 0, 0); };

    // Some hold fire: all do; all hold fire: none does.
    p.w.Unit(0)->SetOrderState(kHoldFire, p.w.Db(), TRUE, FALSE);
    EXPECT_EQ(toggle(kHoldFire), 1);
    for (int i : {0, 1, 2})
        EXPECT_TRUE(p.w.Unit(i)->HasOrder(kHoldFire)) << i;
    EXPECT_EQ(p.Units().AllUnitsHaveToggle(pAll.get(), kHoldFire), 1);
    EXPECT_EQ(toggle(kHoldFire), 1);
    for (int i : {0, 1, 2})
        EXPECT_FALSE(p.w.Unit(i)->HasOrder(kHoldFire)) << i;

    // A fire control is cleared, never set, for a selection.
    EXPECT_EQ(toggle(kMaxRange), 0);
    EXPECT_EQ(toggle(kMaxRange, TRUE, 1), 0);
    EXPECT_EQ(toggle(kMaxRange, TRUE, 0), 1);

    // The slowest speed of live, uncarried units; none: nothing changes.
    EXPECT_EQ(p.Units().GetSlowestSpeed(pAll.get(), p.w.Db()), 40.0f);
    for (int i : {0, 1, 2})
        p.w.Unit(i)->m_bDestroyed = TRUE;
    EXPECT_EQ(p.Units().GetSlowestSpeed(pAll.get(), p.w.Db()), 10000.0f);
    EXPECT_EQ(toggle(kMarchSpeed), 0);
    EXPECT_FALSE(p.w.Unit(0)->m_bMarchSpeed);

    std::unique_ptr<CTaskOrgArray> pEmpty(p.List({}));
    EXPECT_EQ(p.Units().AllUnitsHaveToggle(pEmpty.get(), kHoldFire), 0);
}

TEST(PlatoonPaths, PlanAndReceiveRefuseWhatTheyCannotPlace)
{
    CPlatoonWorld p;
    p.pFirst->m_pPath->AddNode(900.0f, 900.0f);
    const CNodeArray empty;
    EXPECT_EQ(p.pFirst->PlanPath(&empty, &p.Units(), p.w.Map(), p.w.Db(), 0, 0), 0);
    EXPECT_EQ(p.pFirst->m_pPath->GetSize(), 2);

    // Without a live leader the position is unknown.
    p.w.Unit(0)->m_bDestroyed = TRUE;
    CNodeArray route;
    route.AddNode(100.0f, 100.0f);
    route.AddNode(300.0f, 100.0f);
    EXPECT_EQ(p.pFirst->ReceivePath(&route, &p.Units(), p.w.Map(), p.w.Db(), 0, 0, FALSE), 0);
    ASSERT_EQ(p.pFirst->m_pPath->GetSize(), 2);
    EXPECT_EQ(p.pFirst->m_pPath->GetAt(1)->m_fX, 900.0f);
}

TEST(PlatoonPaths, APureTranslationRestartsTheAIOrder)
{
    CPlatoonWorld p;
    auto* pOrder = new CUOrdAIOrder;
    pOrder->m_strName = "Seize";
    p.pFirst->m_pOrders->Add(pOrder);
    // The path starts 100 m west of the leader: shifted onto it, unclamped.
    p.pFirst->m_pPath->RemoveAll();
    p.pFirst->m_pPath->AddNode(400.0f, 500.0f);
    p.pFirst->m_pPath->AddNode(400.0f, 900.0f);
    EXPECT_EQ(p.pFirst->ShiftPath(&p.Units(), p.w.Map(), p.w.Db(), 0, 0, FALSE), 1);
    EXPECT_TRUE(pOrder->m_bRestart);
    EXPECT_EQ(p.pFirst->m_pPath->GetAt(1)->m_fX, 500.0f);
    // The units were not handed the path.
    EXPECT_EQ(p.w.Unit(1)->m_pPath->GetSize(), 1);
}

TEST(PlatoonPaths, FormationNodeOrdersAndLeavingTheFormation)
{
    CPlatoonWorld p;
    EXPECT_EQ(p.pFirst->SetFormationByIndex(5, &p.Units(), p.w.Map(), p.w.Db()), 0) << "past the names";
    EXPECT_EQ(p.pFirst->SetFormationByIndex(-7, &p.Units(), p.w.Map(), p.w.Db()), 0);
    EXPECT_EQ(p.pFirst->SetFormationByIndex(0, &p.Units(), p.w.Map(), p.w.Db()), 1);
    ASSERT_NE(p.pFirst->m_pOrders->GetFormationOrder(), nullptr);
    EXPECT_EQ(p.pFirst->m_pOrders->GetFormationOrder()->m_strTemplate, "Line");

    // A node's toggle order reaches every unit of the platoon and leaves
    // the node.
    CNode node(600.0f, 600.0f);
    auto* pToggle = new CNOrdToggleOrder;
    pToggle->m_dwToggle = kSprint;
    pToggle->m_bOn = TRUE;
    node.m_pOrders->Add(pToggle);
    EXPECT_EQ(p.pFirst->ApplyNodeOrders(&node, &p.Units(), p.w.Map(), p.w.Db()), 1);
    EXPECT_TRUE(p.w.Unit(0)->HasOrder(kSprint));
    EXPECT_TRUE(p.w.Unit(1)->HasOrder(kSprint));
    EXPECT_FALSE(p.w.Unit(2)->HasOrder(kSprint));
    EXPECT_EQ(node.m_pOrders->GetSize(), 0);

    // A unit given its own route leaves its platoon in formation; one of a
    // platoon without formation or AI order stays.
    EXPECT_EQ(p.Units().UpdateElementOrders(1, 0, 0, p.w.Map(), p.w.Db()), 1);
    EXPECT_TRUE(p.pFirst->GetElement(1)->m_bDetached);
    EXPECT_EQ(p.Units().UpdateElementOrders(3, 0, 0, p.w.Map(), p.w.Db()), 0);
    EXPECT_FALSE(p.pSecond->GetElement(1)->m_bDetached);
    // It comes home by its name.
    EXPECT_EQ(p.Units().RejoinUnit(1, 0, 0, p.w.Map(), p.w.Db()), 1);
    EXPECT_FALSE(p.pFirst->GetElement(1)->m_bDetached);
}

TEST(PlatoonPaths, APlatoonWithoutLiveVehiclesLosesItsOrdersNextPass)
{
    CPlatoonWorld p;
    ASSERT_EQ(p.pFirst->SetFormationByName("Line", &p.Units(), p.w.Map(), p.w.Db()), 1);
    auto* pOrder = new CUOrdAIOrder;
    pOrder->m_strName = "Seize";
    p.pFirst->m_pOrders->Add(pOrder);
    p.w.Unit(0)->m_bDestroyed = TRUE;
    p.w.Unit(1)->m_bDestroyed = TRUE;
    p.pFirst->UpdateOrders(&p.Units(), p.w.Map(), p.w.Db(), nullptr, nullptr);
    EXPECT_EQ(p.pFirst->m_pOrders->GetFormationOrder(), nullptr);
    EXPECT_EQ(p.pFirst->m_pOrders->GetAIOrder(), nullptr);
}

namespace
{
// The popup of a platoon's map menu: seven items, then the formation
// submenu ("&None" and a separator), then the mission submenu (a
// separator, which stays before the names).
void BuildMapMenu(CMenu& menu)
{
    menu.CreateMenu();
    CMenu* pPopup = menu.AppendPopup("Platoon");
    for (UINT i = 0; i < 7; ++i)
        pPopup->AppendMenu(MF_STRING, 100 + i, "Item");
    CMenu* pFormation = pPopup->AppendPopup("Formation");
    pFormation->AppendMenu(MF_STRING, 1, "&None");
    pFormation->AppendMenu(MF_SEPARATOR);
    CMenu* pMission = pPopup->AppendPopup("Mission");
    pMission->AppendMenu(MF_SEPARATOR);
}

std::vector<CString> Items(const CMenu* pMenu)
{
    std::vector<CString> texts;
    for (int i = 0; i < static_cast<int>(pMenu->GetMenuItemCount()); ++i)
        texts.push_back(pMenu->GetMenuString(static_cast<UINT>(i), MF_BYPOSITION));
    return texts;
}
}  // namespace

TEST(PlatoonMenus, FormationAndMissionLists)
{
    CPlatoonWorld p;
    for (int i = 1; i <= 20; ++i)
    {
        CString name;
        name.Format("T%d", i);
        p.Units().m_pFormations->Add(LineTemplate(name));
    }
    auto* pSOP = new CUnitOrderArray;
    auto* pOrder = new CUOrdAIOrder;
    pOrder->m_strName = "Seize";
    pOrder->m_nEchelonMask = HIERARCHY_PLATOON;
    pOrder->m_nCategoryMask = -1;
    pSOP->Add(pOrder);
    p.Units().m_pSOP = pSOP;
    p.Units().m_bSOP = TRUE;

    struct Case
    {
        BOOL bActive;
        DWORD dwRoles;
        const char* first;  // the formation list's first item
        size_t nFormations;
        size_t nMissions;
        const char* what;
    } cases[] = {
        {FALSE, 0x1, "&None", 1, 0, "inactive: only None, no missions"},
        {TRUE, 0x0, "&None", 22, 2, "21 templates: 20 offered after None and its separator"},
        {TRUE, 0x1, "&SBF/Defense", 23, 2, "attack"},
        {TRUE, 0x2, "&Position Area", 23, 2, "artillery"},
    };
    for (const Case& c : cases)
    {
        p.pFirst->m_bActive = c.bActive;
        p.pFirst->m_dwRoleFlags = c.dwRoles;
        CMenu menu;
        BuildMapMenu(menu);
        EXPECT_EQ(p.pFirst->FillMapMenu(&menu, &p.Units()), 1) << c.what;
        const std::vector<CString> formations = Items(menu.GetSubMenu(0)->GetSubMenu(7));
        const std::vector<CString> missions = Items(menu.GetSubMenu(0)->GetSubMenu(8));
        ASSERT_EQ(formations.size(), c.nFormations) << c.what;
        EXPECT_EQ(formations.front(), c.first) << c.what;
        // "Line" and T1 to T19: the 21st template is not offered.
        EXPECT_EQ(formations.back() == "T19", c.nFormations > 1) << c.what;
        EXPECT_EQ(missions.size(), c.nMissions) << c.what;
    }
    // Artillery is not offered support by fire.
    CMenu menu;
    BuildMapMenu(menu);
    p.pFirst->m_dwRoleFlags = 0x2;
    p.pFirst->FillMapMenu(&menu, &p.Units());
    for (const CString& text : Items(menu.GetSubMenu(0)->GetSubMenu(7)))
        EXPECT_NE(text, "&SBF/Defense");
    // A menu without its submenus is left alone.
    CMenu bare;
    bare.CreateMenu();
    EXPECT_EQ(p.pFirst->FillMapMenu(&bare, &p.Units()), 0);
}

TEST(TreeSelection, NothingAnswersWithoutAShownHierarchyWindow)
{
    CPlatoonWorld p;
    int nValue = 7;
    EXPECT_EQ(p.Units().GetTreeHierarchy(), nullptr);
    EXPECT_FALSE(p.Units().IsSOPSetForPlatoon(kStop, nValue));
    EXPECT_EQ(nValue, 0);
    nValue = 7;
    EXPECT_FALSE(p.Units().GetPlatoonFormation(0, nValue));
    EXPECT_EQ(nValue, 0);
    EXPECT_EQ(p.Units().SetPlatoonFormation(0, p.w.Map(), p.w.Db()), 0);
    EXPECT_EQ(p.Units().SetSelectionMission(0, p.w.Map(), p.w.Db()), 0);
    EXPECT_EQ(p.Units().SetSelectionTACSOP(0, p.w.Map(), p.w.Db()), 0);
    EXPECT_EQ(p.Units().GetSelectedInfo(), "");
    EXPECT_EQ(p.Units().GetSelectedSOP(), "");
    EXPECT_FALSE(p.Units().CanDetachElement());
    EXPECT_FALSE(p.Units().CanRecallDetached());
    EXPECT_FALSE(p.Units().DetachElement(p.w.Db(), p.w.Map(), nullptr, nullptr));

    // Shown: the queries are asked (the tree selects nothing yet).
    p.pBattalion->m_pDialog->Show(nullptr, p.pBattalion, &p.Units());
    p.Units().m_bTreeShown = TRUE;
    p.Units().m_nTreeSide = 0;
    EXPECT_EQ(p.Units().GetTreeHierarchy(), p.pBattalion);
    EXPECT_TRUE(p.Units().IsSOPSetForPlatoon(kStop, nValue));
}

TEST(UnitLookups, KindsGroundAnswersAndAIOrderNames)
{
    CPlatoonWorld p;
    std::unique_ptr<CTaskOrgArray> pAll(p.List({0, 1}));
    EXPECT_EQ(p.Units().GetUnitListVehicleValue(pAll.get(), p.w.Db()), CVehicle::kKindGround);
    EXPECT_EQ(p.Units().IsGroundVehicleOrElement("", 0, 0, 0), 1);
    p.pFirst->m_dwRoleFlags = 0x100;  // rotary wing
    EXPECT_EQ(p.Units().IsGroundVehicleOrElement("1st", kUnset, kUnset, kUnset), 0);
    EXPECT_EQ(p.Units().IsGroundVehicleOrElement("nobody", kUnset, kUnset, kUnset), 1);

    CUnitOrderArray orders;
    auto* pOrder = new CUOrdAIOrder;
    pOrder->m_strName = "Seize";
    orders.Add(pOrder);
    EXPECT_EQ(CKDRUnits::FindAIOrderByName(&orders, "Seize"), pOrder);
    EXPECT_EQ(CKDRUnits::FindAIOrderByName(&orders, "seize"), nullptr);

    int nRange = 0;
    int nA = 0;
    int nB = 0;
    float fArea = 0.0f;
    DWORD dwRoles = 1;
    EXPECT_EQ(p.Units().LookupAIOrderUnit("nobody", p.w.Db(), nRange, nA, nB, fArea, dwRoles), 0);
    EXPECT_EQ(nRange, kUnset);
    EXPECT_EQ(fArea, kUnsetFloat);
    EXPECT_EQ(dwRoles, 0u);
}
