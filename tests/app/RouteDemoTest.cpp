// The path builders and formations on the demo mission: member paths laid
// straight through the lake and the ridge woods are led round them or
// along the lake's crossing, the 1st Tank platoon in Wedge facing east
// stands at its turned slots, and the enemy's ".SBF/Defense." on the saddle
// fills its dug positions, then the help map's positions behind the crest,
// leaving the help map as it was.

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "orders/FormationOrder.h"
#include "orders/NodeArray.h"
#include "platform/ui/ScriptedUi.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include "../../tools/demo_helpmap.h"
#include "../../tools/demo_terrain.h"
#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr double kPi = 3.14159265358979;
constexpr int kVehicle = 0x1;

bool LegsAreFree(const CNodeArray& path, CKDRGameMap& map)
{
    for (int i = 1; i < path.GetSize(); ++i)
    {
        const CNode* pA = path.GetAt(i - 1);
        const CNode* pB = path.GetAt(i);
        if (map.FindSegmentBlock(nullptr, pA->m_fX, pA->m_fY, pB->m_fX, pB->m_fY, nullptr, nullptr, 0.0f, 0.0f,
                                 kVehicle, 0, nullptr, nullptr, nullptr, nullptr, kUnset))
            return false;
    }
    return true;
}
}  // namespace

TEST(RouteDemo, PathsBendRoundLakeAndWoodsAndFormationsTakeTheirPlaces)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("route-demo");
    ASSERT_TRUE(demo.Write());
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    CUiServiceScope scope(&ui);
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.OpenDocumentFile((demo.Root() / "Data" / "demo.asc").string().c_str()), nullptr);
    CKDRDoc* pDoc = app.GetActiveDocument();
    ASSERT_NE(pDoc, nullptr);
    CKDRGameMap* pMap = pDoc->GetGameMap();
    CKDRUnits* pUnits = pDoc->GetUnits();
    ASSERT_NE(pMap, nullptr);
    ASSERT_NE(pUnits, nullptr);

    // Member paths laid straight through the lake and through the woods.
    const float lakeY = static_cast<float>(demo_helpmap::LakeY());
    struct Crossing
    {
        float x1, y1, x2, y2;
        const char* what;
    } crossings[] = {
        {800.0f, lakeY, 1700.0f, lakeY, "west to east over the lake"},
        {2200.0f, 2350.0f, 3050.0f, 2350.0f, "west to east through the ridge woods"},
    };
    for (const Crossing& c : crossings)
    {
        CNodeArray path;
        path.AddNode(c.x1, c.y1);
        path.AddNode(c.x2, c.y2);
        ASSERT_FALSE(LegsAreFree(path, *pMap)) << c.what;
        float x = 0.0f;
        float y = 0.0f;
        path.BuildRoute(kUnset, 0.0f, 0.0f, &x, &y, pUnits, nullptr, nullptr, nullptr, pMap, nullptr, CString(),
                        kVehicle, kUnset, FALSE, kUnsetFloat, FALSE);
        EXPECT_GT(path.GetSize(), 2) << c.what;
        EXPECT_TRUE(LegsAreFree(path, *pMap)) << c.what;
        EXPECT_EQ(x, c.x2) << c.what;
    }

    FormationContext context;
    context.pUnits = pUnits;
    context.pMap = pMap;
    context.pDatabase = app.GetDatabase();
    context.pHoles = pDoc->GetHoles();

    // The 1st Tank platoon in Wedge, facing east.
    CHierarchyPlatoon* pPlatoon = pUnits->FindElementByName("1st Tank");
    ASSERT_NE(pPlatoon, nullptr);
    FormationMembers set0;
    FormationMembers set1;
    CUOrdPlatoonFormation::CollectMembers(pPlatoon, pUnits, set0, set1);
    ASSERT_EQ(set0.size(), 4u);
    CUOrdPlatoonFormation unturned("Wedge");
    ASSERT_TRUE(unturned.BuildPlaces(set0, set1, nullptr, pPlatoon, pUnits));
    float meanY = 0.0f;
    for (int i = 0; i < unturned.m_places.GetSize(); ++i)
        meanY += unturned.m_places.GetAt(i)->m_fY / static_cast<float>(unturned.m_places.GetSize());
    const float ax = 1200.0f;
    const float ay = 1500.0f;
    // The demo's platoon has a path of its own that its members would
    // follow to their slots; here the wedge is placed where it stands.
    pPlatoon->m_pPath->ResetToPoint(ax, ay, FALSE);
    CUOrdPlatoonFormation wedge("Wedge");
    ASSERT_TRUE(wedge.Place(set0, set1, 0.0f, 0.0f, pPlatoon, context, FALSE, ax, ay, static_cast<float>(kPi / 2)));
    ASSERT_EQ(wedge.m_places.GetSize(), 4);
    for (int i = 0; i < 4; ++i)
    {
        const CUOrdPlatoonFormationPlace* pFlat = unturned.m_places.GetAt(i);
        const CUOrdPlatoonFormationPlace* pTurned = wedge.m_places.GetAt(i);
        // Facing east, ahead is east and right is south.
        EXPECT_NEAR(pTurned->m_fX, pFlat->m_fY - meanY, 0.01) << i;
        EXPECT_NEAR(pTurned->m_fY, -pFlat->m_fX, 0.01) << i;
        const CUnit* pUnit = set0[static_cast<size_t>(i)].pUnit;
        const CNode* pSlot = pUnit->m_pPath->GetAt(pUnit->m_pPath->GetSize() - 1);
        EXPECT_NEAR(pSlot->m_fX, ax + pTurned->m_fX, 0.01) << i;
        EXPECT_NEAR(pSlot->m_fY, ay + pTurned->m_fY, 0.01) << i;
        EXPECT_TRUE(LegsAreFree(*pUnit->m_pPath, *pMap)) << i;
    }

    // The enemy's Red Tank platoon in support by fire on the saddle, facing
    // west: the dug positions first, then the help map's positions.
    CHierarchyPlatoon* pRed = pUnits->FindElementByName("Red Tank");
    ASSERT_NE(pRed, nullptr);
    FormationMembers red0;
    FormationMembers red1;
    CUOrdPlatoonFormation::CollectMembers(pRed, pUnits, red0, red1);
    ASSERT_EQ(red0.size(), 4u);
    const CAITerrainArray* pHelpMap = pMap->GetHelpMap();
    ASSERT_NE(pHelpMap, nullptr);
    const auto* pGroup = dynamic_cast<const CAITerrainSBF*>(pHelpMap->GetAt(4));
    ASSERT_NE(pGroup, nullptr);
    const std::vector<AISBFPosition> before = pGroup->GetPositions();
    const CHoleArray* pDug = context.pHoles->GetSideArray(1);
    ASSERT_NE(pDug, nullptr);
    const float saddleX = static_cast<float>(demo_terrain::RidgeCrestX(demo_terrain::kSaddleY) - 10.0);
    const float saddleY = static_cast<float>(demo_terrain::kSaddleY);
    CUOrdPlatoonFormation sbf(SBF_DEFENSE_NAME);
    ASSERT_TRUE(sbf.Place(red0, red1, 0.0f, 0.0f, pRed, context, FALSE, saddleX, saddleY, static_cast<float>(kPi)));
    ASSERT_EQ(sbf.m_places.GetSize(), 4);
    int onDug = 0;
    int onHelpMap = 0;
    for (int i = 0; i < 4; ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = sbf.m_places.GetAt(i);
        for (int k = 0; k < pDug->GetSize(); ++k)
            onDug += pDug->GetAt(k)->m_fX == pPlace->m_fX && pDug->GetAt(k)->m_fY == pPlace->m_fY;
        for (const AISBFPosition& p : before)
            onHelpMap += p.x == pPlace->m_fX && p.y == pPlace->m_fY;
    }
    EXPECT_GE(onDug, 1);
    EXPECT_GE(onHelpMap, 1);
    EXPECT_EQ(onDug + onHelpMap, 4);
    ASSERT_EQ(pGroup->GetPositions().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i)
    {
        EXPECT_EQ(pGroup->GetPositions()[i].x, before[i].x) << i;
        EXPECT_EQ(pGroup->GetPositions()[i].y, before[i].y) << i;
    }
}
