// The markers the dismount, carrier, breacher, engineer, smoker and mine
// layer show come from the application's symbol catalogue, each at its own
// frame of the unit markers.
#include "app/KDRApp.h"
#include "app/StartDirTestSupport.h"
#include "battlefield/KDRGameMap.h"
#include "database/PieceArray.h"
#include "platform/ui/Display.h"
#include "units/UCapKinds.h"

#include "../../../tools/demo_sounds.h"
#include "../../../tools/demo_symbols.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class UCapMarkerTest : public StartDirTest
{
protected:
    UCapMarkerTest() : StartDirTest("kdr-ucap-markers-") {}
    void SetUp() override
    {
        StartDirTest::SetUp();
        if (HasFatalFailure())
            return;
        CString errorText;
        ASSERT_TRUE(demo_symbols::WriteDemoSymbols((m_root / "Data").string().c_str(), errorText))
            << errorText.GetString();
        ASSERT_TRUE(demo_sounds::WriteDemoSounds((m_root / "Data").string().c_str(), errorText))
            << errorText.GetString();
    }
};
}  // namespace

TEST_F(UCapMarkerTest, EachKindShowsItsCatalogueMarker)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(app.m_pSymbolCatalogue, nullptr);

    struct Case
    {
        const char* marker;
        std::unique_ptr<CUCapMarked> pCap;
    };
    Case cases[] = {
        {"Dismount Mounting Grey", std::make_unique<CUCapDismount>()},
        {"Carrier Dismounting Grey", std::make_unique<CUCapPersonnelCarrier>()},
        {"Breaching Grey", std::make_unique<CUCapBreacher>()},
        {"Breaching Grey", std::make_unique<CUCapEngineer>()},
        {"Smoke Grey", std::make_unique<CUCapSmoker>()},
        {"Deploy Mines Green", std::make_unique<CUCapMineLayer>()},
    };
    for (const Case& c : cases)
    {
        int nFrame = -1;
        const int nList = app.m_pSymbolCatalogue->FindInLists(c.marker, &nFrame);
        ASSERT_GE(nList, 0) << c.marker;
        ASSERT_TRUE(c.pCap->IsMarkerLoaded()) << c.marker;
        CSprite* pMarker = c.pCap->GetMarker();
        ASSERT_NE(pMarker, nullptr) << c.marker;
        EXPECT_EQ(pMarker->GetFrame(), nFrame) << c.marker;
        EXPECT_EQ(pMarker->GetSheet(), app.m_pSymbolCatalogue->GetPiece(nList)->GetSurface()) << c.marker;
    }
}

// The riding markers take their frame width times the zoom as their scale,
// at least 0.5; above 1.25 they fall back to 0.25, as they always have.
TEST_F(UCapMarkerTest, TheRidingMarkersScaleWithTheZoomAndFallBackAbove125)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    CKDRGameMap map;
    CUCapDismount team;
    CUCapPersonnelCarrier carrier;
    for (CUCapMarked* pCap : {static_cast<CUCapMarked*>(&team), static_cast<CUCapMarked*>(&carrier)})
    {
        ASSERT_NE(pCap->GetMarker(), nullptr);
        const float fWidth = static_cast<float>(pCap->GetMarker()->GetSheet()->GetFrameWidth());
        // The zoom that gives the wanted raw scale for this marker.
        auto zoomFor = [fWidth](float fRaw) { return fRaw / (fWidth * 0.006666667f); };
        const struct
        {
            float raw;
            float shown;
        } cases[] = {{0.2f, 0.5f}, {0.8f, 0.8f}, {1.25f, 1.25f}, {2.0f, 0.25f}};
        for (const auto& c : cases)
        {
            pCap->UpdateSprite(0, nullptr, &map, 100.0f, 100.0f, 0.0f, zoomFor(c.raw));
            EXPECT_NEAR(pCap->GetMarker()->GetScale(), c.shown, 1e-4) << c.raw;
        }
    }
}
