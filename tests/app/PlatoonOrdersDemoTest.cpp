// The demo's platoons through the document's order commands, as the view
// gives them for a clicked platoon symbol (its units and its name): Stop on
// "1st Tank" halts it and, given again, releases it along its path in
// wedge; Dismount on "3rd Mech" unloads its carriers at once in the
// deployment phase.
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
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

#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

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
