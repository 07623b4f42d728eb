// The demo's carriers through the document's Actions commands in the
// deployment phase: Dismount puts a carrier's teams on the ring around it
// at once, Mount (a carrier, then a team) puts a team aboard at once, and
// the elements of the hierarchy follow.
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/TaskOrg.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"

#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
int OwnIndexNamed(CKDRUnits& units, const char* name)
{
    for (int i = 0; CUnit* pUnit = units.GetUnit(i, 0, UNIT_KIND_OWN); ++i)
    {
        if (pUnit->m_strName == name)
            return i;
    }
    return kUnset;
}

std::unique_ptr<CTaskOrgArray> OneUnit(int nUnit)
{
    auto pList = std::make_unique<CTaskOrgArray>();
    pList->m_nSide = UNIT_KIND_OWN;
    pList->Add(new CTaskOrg(nUnit, 0));
    return pList;
}
}  // namespace

TEST(MountDemo, InTheDeploymentPhaseTheActionsDismountAndMountAtOnce)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("mount-demo");
    ASSERT_TRUE(demo.Write());
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile(demo.Scenario().string().c_str()), nullptr);
        ASSERT_TRUE(app.IsDeploymentPhase());
        CKDRDoc* pDoc = app.GetActiveDocument();
        CKDRUnits* pUnits = pDoc->GetUnits();
        ASSERT_NE(pUnits, nullptr);
        const int nCarrier = OwnIndexNamed(*pUnits, "Carrier 31");
        const int nRifle = OwnIndexNamed(*pUnits, "Rifle Team 31");
        const int nAntiTank = OwnIndexNamed(*pUnits, "AT Team 31");
        ASSERT_NE(nCarrier, kUnset);
        CUnit* pCarrier = pUnits->GetUnit(nCarrier, 0, UNIT_KIND_OWN);
        CUnit* pRifle = pUnits->GetUnit(nRifle, 0, UNIT_KIND_OWN);
        CUnit* pAntiTank = pUnits->GetUnit(nAntiTank, 0, UNIT_KIND_OWN);
        ASSERT_TRUE(pRifle->IsCarried());

        // Dismount: both teams on the ring, the first due north, the other
        // half a turn on; their elements no longer mounted.
        EXPECT_TRUE(pDoc->DismountUnits(OneUnit(nCarrier).get()));
        EXPECT_FALSE(pRifle->IsCarried());
        EXPECT_FALSE(pAntiTank->IsCarried());
        EXPECT_NEAR(pRifle->m_fX, pCarrier->m_fX, 1e-3);
        EXPECT_NEAR(pRifle->m_fY, pCarrier->m_fY + 30.0f, 1e-3);
        EXPECT_NEAR(std::hypot(pAntiTank->m_fX - pCarrier->m_fX, pAntiTank->m_fY - pCarrier->m_fY), 30.0f, 1e-2);
        EXPECT_LT(pAntiTank->m_fY, pCarrier->m_fY);
        CHierarchyElement* pElement = pUnits->FindUnitElement(nRifle, 0, UNIT_KIND_OWN);
        ASSERT_NE(pElement, nullptr);
        EXPECT_FALSE(pElement->m_bMounted);

        // Mount: a carrier, then a team; aboard at once, the carrier closed.
        EXPECT_TRUE(pDoc->MountSelectionOnCarrier(OneUnit(nRifle).get(), OneUnit(nCarrier).get()));
        EXPECT_TRUE(pRifle->IsCarried());
        EXPECT_TRUE(pElement->m_bMounted);
        EXPECT_EQ(pCarrier->GetCarrierStatusText(pDoc->GetDatabase(), pUnits),
                  "- Carrier contains personnel\r\n- Carrier is closed\r\n");
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}
