// Formation placement on the flat test ground: the places a template
// gives, their turn to the heading, the deployment phase's differences, and
// the special placement that takes help-map positions without using them up.

#include "UnitMoveTestSupport.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "hierarchy/HierarchyCompany.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/UnitOrderArray.h"
#include "units/KDRUnits.h"
#include "units/UnitArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace movetest;

namespace
{
constexpr double kPi = 3.14159265358979;
constexpr float kAnchorX = 1000.0f;
constexpr float kAnchorY = 1000.0f;
// The default interval a template factor stands for.
constexpr float kInterval = 50.0f;

// "Line": slot 0 at the reference point, slot 1 one interval ahead, slot 2
// one to the right, every further slot further right; set 1 stands behind.
CFormationPlatoonTemplate* MakeLine()
{
    auto* pTemplate = new CFormationPlatoonTemplate;
    pTemplate->m_strName = "Line";
    for (int s = 0; s < FORMATION_SLOTS; ++s)
    {
        pTemplate->m_afSet0X[s] = static_cast<float>(s >= 2 ? s - 1 : 0);
        pTemplate->m_afSet0Y[s] = s == 1 ? 1.0f : 0.0f;
        pTemplate->m_anSet0Slot[s] = 100 + s;
        pTemplate->m_afSet1X[s] = static_cast<float>(s);
        pTemplate->m_afSet1Y[s] = -2.0f;
        pTemplate->m_anSet1Slot[s] = 200 + s;
    }
    return pTemplate;
}

struct FormationWorld
{
    CMoveWorld world;
    CKDRUnits units;
    CHierarchyPlatoon element;
    std::vector<std::unique_ptr<CUnit>> owned;

    FormationWorld()
    {
        units.m_pFormations = new CFormationTemplateArray;
        units.m_pFormations->Add(MakeLine());
        element.m_strName = "1st Platoon";
    }
    FormationMembers Members(int n, VehicleType type = kTank)
    {
        FormationMembers members;
        for (int i = 0; i < n; ++i)
        {
            owned.push_back(world.MakeUnit(type, 400.0f + 10.0f * static_cast<float>(owned.size()), 400.0f));
            CString name;
            name.Format("Member %d", static_cast<int>(owned.size()));
            members.push_back({owned.back().get(), name, i == 0});
        }
        return members;
    }
    FormationContext Context(BOOL bDeployment = FALSE)
    {
        FormationContext context;
        context.pUnits = &units;
        context.pMap = world.Map();
        context.pDatabase = world.Db();
        context.bDeployment = bDeployment;
        return context;
    }
};

const CNode* LastNode(const CUnit& unit) { return unit.m_pPath->GetAt(unit.m_pPath->GetSize() - 1); }

// A company of platoons of three tanks, each platoon holding "Line", with
// its tanks in the own side's unit array.
struct CompanyWorld : FormationWorld
{
    CHierarchyCompany company;

    explicit CompanyWorld(int nPlatoons)
    {
        auto* pArray = new CUnitArray;
        pArray->SetSide(0);
        units.m_pOwnUnits = pArray;
        units.m_bOwnUnits = TRUE;
        company.m_strName = "A Company";
        company.m_nSide = 0;
        for (int p = 0; p < nPlatoons; ++p)
        {
            auto* pPlatoon = new CHierarchyPlatoon;
            pPlatoon->m_strName.Format("Platoon %d", p + 1);
            pPlatoon->m_nSide = 0;
            for (int i = 0; i < 3; ++i)
            {
                pArray->Add(
                    world.MakeUnit(kTank, 400.0f + 10.0f * static_cast<float>(pArray->GetSize()), 400.0f).release());
                auto* pElement = new CHierarchyElement;
                pElement->m_strName.Format("Tank %d%d", p + 1, i + 1);
                pElement->m_nUnit = pArray->GetSize() - 1;
                pElement->m_nArray = 0;
                pElement->m_bLeader = i == 0;
                pPlatoon->Add(pElement);
            }
            pPlatoon->m_pOrders->AddOrder(new CUOrdPlatoonFormation("Line"));
            company.Add(pPlatoon);
        }
    }

    // The company template "Stack": slots 0, 1 and 3 at position 0 (the
    // reference point, at angle fAngle), slot 2 at position 1, four
    // intervals left and behind, clear of the stack.
    void AddTemplate(float fAngle)
    {
        auto* pTemplate = new CFormationCompanyTemplate;
        pTemplate->m_strName = "Stack";
        pTemplate->m_set0Positions[0].fThird = fAngle;
        pTemplate->m_set0Positions[1].fX = -4.0f;
        pTemplate->m_set0Positions[1].fY = -4.0f;
        const int positions[] = {0, 0, 1, 0};
        for (int s = 0; s < 4; ++s)
        {
            pTemplate->m_anSet0Position[s] = positions[s];
            pTemplate->m_astrSet0Formation[s] = "Line";
        }
        units.m_pFormations->Add(pTemplate);
    }
};

std::vector<int> ConditionalStarts(const CHierarchyPlatoon& element)
{
    std::vector<int> numbers;
    for (int i = 0; i < element.m_pOrders->GetSize(); ++i)
    {
        const CUnitOrder* pOrder = element.m_pOrders->GetAt(i);
        if (pOrder != nullptr && pOrder->GetOrderType() == UORD_CONDITIONAL_START)
            numbers.push_back(static_cast<const CUOrdConditionalStart*>(pOrder)->m_nNumber);
    }
    return numbers;
}
}  // namespace

TEST(FormationPlaces, TwentySlotsAndAnEmptyFirstSet)
{
    FormationWorld w;
    CUOrdPlatoonFormation order("Line");
    const FormationMembers many = w.Members(21);
    ASSERT_TRUE(order.BuildPlaces(many, {}, nullptr, &w.element, &w.units));
    ASSERT_EQ(order.m_places.GetSize(), 21);
    // Member 20 shares slot 0 with member 0.
    EXPECT_EQ(order.m_places.GetAt(20)->m_nSlotCode, 100);
    EXPECT_EQ(order.m_places.GetAt(20)->m_fX, order.m_places.GetAt(0)->m_fX);
    EXPECT_EQ(order.m_places.GetAt(19)->m_fX, 18.0f * kInterval);

    // No units in the first set: the second is placed with set 0's slots.
    const FormationMembers second = w.Members(2, kTeam);
    ASSERT_TRUE(order.BuildPlaces({}, second, nullptr, &w.element, &w.units));
    ASSERT_EQ(order.m_places.GetSize(), 2);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_FALSE(order.m_places.GetAt(i)->m_bSet1);
        EXPECT_EQ(order.m_places.GetAt(i)->m_nSlotCode, 100 + i);
    }
    EXPECT_EQ(order.m_places.GetAt(1)->m_fY, kInterval);

    // An unknown template builds nothing.
    CUOrdPlatoonFormation unknown("Nowhere");
    EXPECT_FALSE(unknown.BuildPlaces(many, {}, nullptr, &w.element, &w.units));
}

TEST(FormationPlace, PlacesAreTurnedToTheHeading)
{
    // Three members: the leader at the reference point, one ahead, one to
    // the right; the mean y (one third of an interval) is taken off first.
    const float m = kInterval / 3.0f;
    struct Case
    {
        float heading;
        float offsets[3][2];  // turned offsets
        const char* what;
    } cases[] = {
        {0.0f, {{0.0f, -m}, {0.0f, kInterval - m}, {kInterval, -m}}, "north keeps x east and y north"},
        {static_cast<float>(kPi / 2.0), {{-m, 0.0f}, {kInterval - m, 0.0f}, {-m, -kInterval}}, "east: ahead is east"},
        {kUnsetFloat, {{0.0f, -m}, {0.0f, kInterval - m}, {kInterval, -m}}, "-99 on an element at -99: north"},
    };
    for (const Case& c : cases)
    {
        FormationWorld w;
        w.element.m_pPath->AddNode(kAnchorX, kAnchorY);
        CUOrdPlatoonFormation order("Line");
        const FormationMembers members = w.Members(3);
        ASSERT_TRUE(order.Place(members, {}, 0.0f, 0.0f, &w.element, w.Context(), FALSE, kAnchorX, kAnchorY, c.heading))
            << c.what;
        for (int i = 0; i < 3; ++i)
        {
            const CNode* pSlot = LastNode(*members[static_cast<size_t>(i)].pUnit);
            EXPECT_NEAR(pSlot->m_fX, kAnchorX + c.offsets[i][0], 0.01) << c.what << " member " << i;
            EXPECT_NEAR(pSlot->m_fY, kAnchorY + c.offsets[i][1], 0.01) << c.what << " member " << i;
            EXPECT_TRUE(pSlot->HasStop()) << c.what;
        }
        // The reference point seen from the leader's slot.
        EXPECT_NEAR(order.m_fReferenceX, -c.offsets[0][0], 0.01) << c.what;
        EXPECT_NEAR(order.m_fReferenceY, -c.offsets[0][1], 0.01) << c.what;
        // A one-node element path waits with a stop.
        EXPECT_TRUE(w.element.m_pPath->GetAt(0)->HasStop()) << c.what;
    }
}

TEST(FormationPlace, DeploymentPlacesAtOnceWithoutALeadAndOnlyTheSecondStart)
{
    struct Case
    {
        BOOL deployment;
        float lead;
        std::vector<int> starts;
    } cases[] = {
        {FALSE, 2.0f * kInterval, {0, 1}},  // lead = min(500 / 2, 2 x depth 50)
        {TRUE, 0.0f, {1}},
    };
    for (const Case& c : cases)
    {
        FormationWorld w;
        w.element.m_pPath->AddNode(kAnchorX, kAnchorY);
        w.element.m_pPath->AddNode(kAnchorX, kAnchorY + 500.0f);
        CUOrdPlatoonFormation order("Line");
        const FormationMembers members = w.Members(3);
        ASSERT_TRUE(
            order.Place(members, {}, 0.0f, 0.0f, &w.element, w.Context(c.deployment), FALSE, kAnchorX, kAnchorY, 0.0f));
        const CUnit& leader = *members[0].pUnit;
        const float slotY = kAnchorY + c.lead - kInterval / 3.0f;
        if (c.deployment)
        {
            // Put at its slot at once.
            EXPECT_NEAR(leader.m_fX, kAnchorX, 0.01);
            EXPECT_NEAR(leader.m_fY, slotY, 0.01);
        }
        else
        {
            EXPECT_NEAR(leader.m_fY, 400.0f, 0.01);
            ASSERT_GE(leader.m_pPath->GetSize(), 3);
            EXPECT_NEAR(leader.m_pPath->GetAt(1)->m_fY, slotY, 0.01);
        }
        // Then along the element's path at its place.
        EXPECT_NEAR(LastNode(leader)->m_fY, kAnchorY + 500.0f - kInterval / 3.0f, 0.01);
        EXPECT_EQ(ConditionalStarts(w.element), c.starts);
    }
}

TEST(FormationPlace, MissingInputsPlaceNothing)
{
    FormationWorld w;
    CUOrdPlatoonFormation order("Line");
    const FormationMembers members = w.Members(2);
    FormationContext noUnits = w.Context();
    noUnits.pUnits = nullptr;
    EXPECT_FALSE(order.Place(members, {}, 0, 0, nullptr, w.Context(), FALSE, kAnchorX, kAnchorY, 0.0f));
    EXPECT_FALSE(order.Place(members, {}, 0, 0, &w.element, noUnits, FALSE, kAnchorX, kAnchorY, 0.0f));
    EXPECT_FALSE(order.Place({}, {}, 0, 0, &w.element, w.Context(), FALSE, kAnchorX, kAnchorY, 0.0f));
    // No anchor: the first member is not the leader.
    FormationMembers led = members;
    led[0].bLeader = FALSE;
    EXPECT_FALSE(order.Place(led, {}, 0, 0, &w.element, w.Context(), FALSE, kUnsetFloat, kUnsetFloat, 0.0f));
}

TEST(FormationSpecial, SupportByFireTakesHelpMapPositionsAndLeavesThemInTheMap)
{
    FormationWorld w;
    auto* pHelpMap = new CAITerrainArray;
    auto* pGroup = new CAITerrainSBF;
    const float west = -static_cast<float>(kPi / 2.0);
    pGroup->SetPositions({{990.0f, 1020.0f, west, 0}, {990.0f, 980.0f, west, 0}});
    pGroup->Rebuild();
    pHelpMap->Add(pGroup);
    w.world.Map()->SetHelpMap(pHelpMap);
    const std::vector<AISBFPosition> before = pGroup->GetPositions();

    // Facing west is the heading south turned a quarter right.
    for (int round = 0; round < 2; ++round)
    {
        CUOrdPlatoonFormation order(SBF_DEFENSE_NAME);
        const FormationMembers members = w.Members(3);
        ASSERT_TRUE(
            order.Place(members, {}, 0, 0, &w.element, w.Context(), FALSE, kAnchorX, kAnchorY, static_cast<float>(kPi)))
            << round;
        // The first two stand on the positions, the third on the circle.
        EXPECT_EQ(order.m_places.GetAt(0)->m_fY, 1020.0f) << round;
        EXPECT_EQ(order.m_places.GetAt(1)->m_fY, 980.0f) << round;
        EXPECT_NE(order.m_places.GetAt(2)->m_fX, 990.0f) << round;
        // Each drives there and turns west with a node 10 m beyond.
        const CUnit& first = *members[0].pUnit;
        const CNode* pTurn = LastNode(first);
        EXPECT_NEAR(pTurn->m_fX, 980.0f, 0.01) << round;
        EXPECT_NEAR(pTurn->m_fY, 1020.0f, 0.01) << round;
        ASSERT_EQ(pGroup->GetPositions().size(), before.size());
        for (size_t i = 0; i < before.size(); ++i)
        {
            EXPECT_EQ(pGroup->GetPositions()[i].x, before[i].x) << round;
            EXPECT_EQ(pGroup->GetPositions()[i].y, before[i].y) << round;
        }
    }
}

TEST(CompanyFormation, PlatoonsSharingAPositionStackOutwardAlongItsAngle)
{
    // A platoon of three in "Line", centred: places (0, -50/3), (0, 100/3),
    // (50, -50/3); radius 52.70 m, width 50 m, depth 100/3 m. Along a
    // position ahead or behind a platoon steps half its depth, to a side
    // half its width. The second platoon at a position lies two steps out,
    // which is still within the first's radius of the first's own step
    // point, so it goes out by that radius: every platoon of the stack lies
    // radius + 2 steps beyond the one before. The platoon at the other
    // position is not moved.
    const double radius = std::hypot(50.0, 50.0 / 3.0);
    const double halfDepth = 50.0 / 3.0;
    const double halfWidth = 25.0;
    struct Case
    {
        float angle;
        double dirX, dirY;  // the stacking direction
        double step;
        const char* what;
    } cases[] = {
        {0.0f, 0.0, 1.0, halfDepth, "ahead"},
        {static_cast<float>(kPi / 2.0), 1.0, 0.0, halfWidth, "right"},
        {static_cast<float>(-kPi / 2.0), -1.0, 0.0, halfWidth, "left"},
        {static_cast<float>(kPi), 0.0, -1.0, halfDepth, "behind"},
        {static_cast<float>(2.5 * kPi), 1.0, 0.0, halfWidth, "right, given one turn over"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CompanyWorld w(4);
        w.AddTemplate(c.angle);
        CUOrdCompanyFormation order("Stack");
        std::vector<FormationMembers> perPlatoon;
        ASSERT_TRUE(order.BuildCompanyPlaces(&w.company, &w.units, perPlatoon));
        ASSERT_EQ(order.m_places.GetSize(), 4);
        ASSERT_EQ(perPlatoon.size(), 4u);

        const double gap = radius + 2.0 * c.step;
        const struct
        {
            const char* name;
            double x, y;
            int position;
        } expected[] = {
            {"Platoon 1", 0.0, 0.0, 0},
            {"Platoon 2", gap * c.dirX, gap * c.dirY, 0},
            {"Platoon 3", -4.0 * kInterval, -4.0 * kInterval, 1},
            {"Platoon 4", 2.0 * gap * c.dirX, 2.0 * gap * c.dirY, 0},
        };
        for (int i = 0; i < 4; ++i)
        {
            const auto* pPlace = static_cast<const CUOrdCompanyFormationPlace*>(order.m_places.GetAt(i));
            EXPECT_EQ(pPlace->m_strMember, expected[i].name);
            EXPECT_NEAR(pPlace->m_fX, expected[i].x, 0.01) << expected[i].name;
            EXPECT_NEAR(pPlace->m_fY, expected[i].y, 0.01) << expected[i].name;
            EXPECT_EQ(pPlace->m_nPosition, expected[i].position);
            EXPECT_NEAR(pPlace->m_fRadius, radius, 0.01);
            EXPECT_NEAR(pPlace->m_fExtentX, 50.0, 0.01);
            EXPECT_NEAR(pPlace->m_fExtentY, 100.0 / 3.0, 0.01);
            EXPECT_EQ(pPlace->m_strPlatoonFormation, "Line");
            // Each platoon's members go with its place, leader first.
            ASSERT_EQ(perPlatoon[static_cast<size_t>(i)].size(), 3u);
            CString leader;
            leader.Format("Tank %d1", i + 1);
            EXPECT_EQ(perPlatoon[static_cast<size_t>(i)][0].strName, leader);
        }
    }
}
