// The demo's platoons through the document's order commands, as the view
// gives them for a clicked platoon symbol (its units and its name): Stop on
// "1st Tank" halts it and, given again, releases it along its path in
// wedge; Dismount on "3rd Mech" unloads its carriers at once in the
// deployment phase. And the battle run headless: "2nd Tank" follows its
// lead and forms its line when the lead reaches the node that says so.
#include "app/GamePass.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "hierarchy/TaskOrg.h"
#include "orders/FormationOrder.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include "platform/core/Random.h"
#include "platform/core/Timer.h"

#include "support/DemoInstall.h"

#include "../../tools/demo_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace
{
constexpr DWORD kStop = 0x1;
constexpr DWORD kSprint = 0x8;

// What a click on the platoon's symbol selects.
std::unique_ptr<CTaskOrgArray> SymbolSelection(const CHierarchyPlatoon& platoon)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    platoon.FillUnitList(pList.get(), TRUE);
    return pList;
}

std::vector<CUnit*> UnitsOf(const CTaskOrgArray& list, CKDRUnits& units)
{
    std::vector<CUnit*> found;
    for (int i = 0; i < list.GetSize(); ++i)
    {
        const CTaskOrg* pEntry = list.GetAt(i);
        if (pEntry != nullptr && pEntry->GetType() == TASKORG_KIND_UNIT)
            found.push_back(units.GetUnit(pEntry->m_nUnit, pEntry->m_nArray, list.m_nSide));
    }
    return found;
}
CUnit* OwnUnitNamed(CKDRUnits& units, const char* name)
{
    for (int i = 0; CUnit* pUnit = units.GetUnit(i, 0, UNIT_KIND_OWN); ++i)
    {
        if (pUnit->m_strName == name)
            return pUnit;
    }
    return nullptr;
}
}  // namespace

TEST(PlatoonOrdersDemo, StopHaltsAndReleasesTheWedgeAndDismountUnloads)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("platoon-orders-demo");
    ASSERT_TRUE(demo.Write());
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile(demo.Scenario().string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        CKDRUnits* pUnits = pDoc->GetUnits();
        ASSERT_NE(pUnits, nullptr);
        CHierarchyPlatoon* pFirst = pUnits->FindElementByName("1st Tank");
        ASSERT_NE(pFirst, nullptr);
        ASSERT_NE(pFirst->m_pOrders->GetFormationOrder(), nullptr);
        EXPECT_EQ(pFirst->m_pOrders->GetFormationOrder()->m_strTemplate, "Wedge");
        ASSERT_EQ(pFirst->m_pPath->GetSize(), 4);
        EXPECT_NE(pFirst->m_pPath->GetAt(1)->m_pOrders->FindToggle(kSprint), kUnset);

        std::unique_ptr<CTaskOrgArray> pSelection = SymbolSelection(*pFirst);
        const std::vector<CUnit*> tanks = UnitsOf(*pSelection, *pUnits);
        ASSERT_EQ(tanks.size(), 4u);
        // Two of the tanks drive their own routes: Stop halts them all.
        EXPECT_TRUE(pDoc->ToggleOrderBitForList(pSelection.get(), kStop, kUnsetFloat, kUnsetFloat));
        for (const CUnit* pTank : tanks)
            EXPECT_TRUE(pTank->HasOrder(kStop)) << pTank->m_strName.GetString();
        EXPECT_TRUE(pFirst->m_pPath->GetAt(0)->HasStop());

        // Again: released along the platoon's path, each tank to its own
        // place of the wedge near the path's end.
        EXPECT_TRUE(pDoc->ToggleOrderBitForList(pSelection.get(), kStop, kUnsetFloat, kUnsetFloat));
        EXPECT_FALSE(pFirst->m_pPath->GetAt(0)->HasStop());
        EXPECT_NE(pFirst->m_pOrders->GetFormationOrder(), nullptr);
        const CNode* pEnd = pFirst->m_pPath->GetAt(pFirst->m_pPath->GetSize() - 1);
        for (const CUnit* pTank : tanks)
        {
            EXPECT_FALSE(pTank->HasOrder(kStop)) << pTank->m_strName.GetString();
            ASSERT_GT(pTank->m_pPath->GetSize(), 1) << pTank->m_strName.GetString();
            const CNode* pLast = pTank->m_pPath->GetAt(pTank->m_pPath->GetSize() - 1);
            EXPECT_LT(std::hypot(pLast->m_fX - pEnd->m_fX, pLast->m_fY - pEnd->m_fY), 300.0f)
                << pTank->m_strName.GetString();
        }

        // Dismount on the mechanised platoon: its carriers let their teams out.
        CHierarchyPlatoon* pMech = pUnits->FindElementByName("3rd Mech");
        ASSERT_NE(pMech, nullptr);
        std::unique_ptr<CTaskOrgArray> pMechSelection = SymbolSelection(*pMech);
        EXPECT_TRUE(pDoc->ToggleDismountForList(pMechSelection.get()));
        for (const CUnit* pUnit : UnitsOf(*pMechSelection, *pUnits))
            EXPECT_FALSE(pUnit->HasPassengers()) << pUnit->m_strName.GetString();
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}

TEST(PlatoonOrdersDemo, SecondTankFormsItsLineWhenItsLeadReachesTheNode)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("line-demo");
    ASSERT_TRUE(demo.Write());
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile(demo.Scenario().string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        CKDRUnits* pUnits = pDoc->GetUnits();
        ASSERT_NE(pUnits, nullptr);
        CHierarchyPlatoon* pSecond = pUnits->FindElementByName("2nd Tank");
        ASSERT_NE(pSecond, nullptr);
        EXPECT_EQ(pSecond->m_pOrders->GetFormationOrder(), nullptr);
        CUnit* pLead = OwnUnitNamed(*pUnits, demo_units::kLineLead);
        ASSERT_NE(pLead, nullptr);
        EXPECT_EQ(pSecond->GetLeadUnit(pUnits), pLead);
        ASSERT_GT(pLead->m_pPath->GetSize(), demo_units::kLineNode);
        const CNode* pLineNode = pLead->m_pPath->GetAt(demo_units::kLineNode);
        const auto* pLine = dynamic_cast<const CNOrdFormationOrder*>(pLineNode->m_pOrders->FindOfType(NORD_FORMATION));
        ASSERT_NE(pLine, nullptr);
        EXPECT_EQ(pLine->m_strFormation, demo_units::kLineFormation);
        const float fNodeX = pLineNode->m_fX;
        const float fNodeY = pLineNode->m_fY;
        const CNode* pEnd = pLead->m_pPath->GetAt(pLead->m_pPath->GetSize() - 1);
        const float fHeading = std::atan2(pEnd->m_fX - fNodeX, pEnd->m_fY - fNodeY);
        std::vector<CUnit*> tanks;
        for (int i = demo_units::kLinePlatoonFirst; i <= demo_units::kLinePlatoonLast; ++i)
            tanks.push_back(OwnUnitNamed(*pUnits, demo_units::kFriendly[i].name));
        ASSERT_EQ(std::count(tanks.begin(), tanks.end(), nullptr), 0);
        for (int i = 0; i < pSecond->GetSize(); ++i)
        {
            const CHierarchyElement* pElement = pSecond->GetElement(i);
            EXPECT_EQ(pElement->m_bDetached != FALSE, demo_units::IsLineCover(pElement->m_strName))
                << pElement->m_strName.GetString();
        }

        // Two game seconds a pass, seeded, the millisecond counter by hand.
        SRand(2605);
        SetManualTime(1000000);
        app.GetGameClock()->SetRate(4.0f);
        DWORD dwTick = app.StartClock();
        pDoc->PrepareRun(dwTick);
        CGamePass pass(*pDoc, app);
        int nRemainder = 0;
        int nCountdown = 0;
        BOOL bMissionOver = FALSE;
        // Until the lead gets to the node the platoon keeps no formation;
        // on the pass it gets there the platoon takes up the line.
        int nFormedAt = kUnset;
        for (int i = 0; i < 150 && nFormedAt == kUnset; ++i)
        {
            AdvanceManualTime(500);
            ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << "pass " << i;
            if (pSecond->m_pOrders->GetFormationOrder() != nullptr)
                nFormedAt = i;
        }
        ASSERT_NE(nFormedAt, kUnset) << "no line";
        EXPECT_GT(nFormedAt, 10);
        EXPECT_EQ(pSecond->m_pOrders->GetFormationOrder()->m_strTemplate, demo_units::kLineFormation);
        EXPECT_LT(std::hypot(pLead->m_fX - fNodeX, pLead->m_fY - fNodeY), 25.0f);
        // The node's order was taken up once: the lead's path holds it no more.
        for (int n = 0; n < pLead->m_pPath->GetSize(); ++n)
            EXPECT_EQ(pLead->m_pPath->GetAt(n)->m_pOrders->FindOfType(NORD_FORMATION), nullptr) << n;

        // On: the tanks of the line halt at their stops abreast of the
        // lead, an interval apart across the heading; the detached ones
        // still hold their dug positions.
        for (int i = 0; i < 200; ++i)
        {
            AdvanceManualTime(500);
            ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << "pass " << i;
        }
        app.StopClock();
        UseRealTime();
        ASSERT_FALSE(pLead->m_bDestroyed);
        std::vector<float> across;
        for (size_t k = 0; k < tanks.size(); ++k)
        {
            const CUnit* pTank = tanks[k];
            SCOPED_TRACE(pTank->m_strName.GetString());
            if (pTank->m_bDestroyed)
                continue;
            if (demo_units::IsLineCover(pTank->m_strName))
            {
                const demo_units::Placement& row = demo_units::kFriendly[demo_units::kLinePlatoonFirst + k];
                EXPECT_EQ(pTank->m_fX, row.x);
                EXPECT_EQ(pTank->m_fY, row.y);
                EXPECT_TRUE(pTank->m_bDugIn);
                continue;
            }
            EXPECT_TRUE(pTank->IsStoppedAtStopNode());
            EXPECT_EQ(pTank->m_pPath->GetSize(), 1);
            const float dx = pTank->m_fX - pLead->m_fX;
            const float dy = pTank->m_fY - pLead->m_fY;
            // Ahead along the heading, and to the right of it.
            EXPECT_NEAR(dx * std::sin(fHeading) + dy * std::cos(fHeading), 0.0f, 5.0f);
            across.push_back(dx * std::cos(fHeading) - dy * std::sin(fHeading));
        }
        ASSERT_EQ(across.size(), 2u);
        EXPECT_GT(std::fabs(across[1] - across[0]), 10.0f);
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}
