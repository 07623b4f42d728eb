// The demo opened by the game, drawn offscreen: the own units and their
// platoon and company symbols draw; an enemy unit shows only while contact
// list 0 holds it, unidentified as the unidentified symbol without arrow;
// wreck markers follow side and swap; swapped, the own platoons wear the
// enemy frame one echelon up; a platoon whose leader is destroyed has no
// symbol and no hit. The data tips say what the player may know.
#include "units/UnitTestSupport.h"

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyArray.h"
#include "platform/ui/Display.h"
#include "platform/ui/Wnd.h"
#include "support/DemoInstall.h"
#include "support/ScriptedUi.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/UCapTurret.h"
#include "units/Unit.h"
#include "units/UnitArray.h"
#include "units/UnitRefArray.h"

#include <gtest/gtest.h>

namespace
{
// The demo open in a game, its map scrolled so that a unit stands in the
// middle of the back surface.
class DemoDrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CDemoInstall::WriterBuilt())
            GTEST_SKIP() << "the demo writer is not built";
        ASSERT_TRUE(m_demo.Write());
        ASSERT_TRUE(m_app.InitInstance());
        ASSERT_NE(m_app.OpenDocumentFile(m_demo.Scenario().string().c_str()), nullptr);
        m_pDoc = m_app.GetActiveDocument();
        ASSERT_NE(m_pDoc, nullptr);
        m_pUnits = m_pDoc->GetUnits();
        m_pMap = m_pDoc->GetGameMap();
        m_pDb = m_pDoc->GetDatabase();
        ASSERT_NE(m_pUnits, nullptr);
        ASSERT_NE(m_pMap, nullptr);
        m_pBack = m_app.m_pDisplay->GetBackSurface();
        ASSERT_NE(m_pBack, nullptr);
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != nullptr)
            m_app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }

    void CentreOn(const CUnit* pUnit)
    {
        int px = 0, py = 0;
        m_pMap->GetElevationMap()->MapToPixel(pUnit->m_fX, pUnit->m_fY, &px, &py);
        m_pMap->GetMapPicture()->SetScroll(px - m_pBack->GetWidth() / 2, py - m_pBack->GetHeight() / 2);
    }
    void ClearBack() { m_pBack->ColorFill(CRect(0, 0, m_pBack->GetWidth(), m_pBack->GetHeight()), 0); }
    // The pixels that are not black in the unit picture's rectangle.
    int DrawnPixels(const CUnit* pUnit) const
    {
        const CSprite* pSprite = pUnit->m_pSprite;
        int n = 0;
        for (int y = pSprite->GetY(); y < pSprite->GetY() + pSprite->GetHeight(); ++y)
            for (int x = pSprite->GetX(); x < pSprite->GetX() + pSprite->GetWidth(); ++x)
                if (x >= 0 && y >= 0 && x < m_pBack->GetWidth() && y < m_pBack->GetHeight() &&
                    m_pBack->GetPixel(x, y) != RGB(0, 0, 0))
                    ++n;
        return n;
    }
    // The sheet and frame of a catalogue piece.
    std::pair<CFrameSurface*, int> CataloguePicture(const char* name) const
    {
        int nFrame = 0;
        const int nList = m_app.m_pSymbolCatalogue->FindInLists(name, &nFrame);
        CPiece* pPiece = m_app.m_pSymbolCatalogue->GetPiece(nList);
        return {pPiece != nullptr ? pPiece->GetSurface() : nullptr, nFrame};
    }
    static std::pair<CFrameSurface*, int> PictureOf(const CSprite* pSprite)
    {
        return {pSprite != nullptr ? pSprite->GetSheet() : nullptr, pSprite != nullptr ? pSprite->GetFrame() : -1};
    }
    CPoint Centre(const CSprite* pSprite) const
    {
        return CPoint(pSprite->GetX() + pSprite->GetWidth() / 2, pSprite->GetY() + pSprite->GetHeight() / 2);
    }
    // A point of the picture that is not transparent.
    static BOOL SolidPoint(const CSprite* pSprite, CPoint& pt)
    {
        for (int y = pSprite->GetY(); y < pSprite->GetY() + pSprite->GetHeight(); ++y)
            for (int x = pSprite->GetX(); x < pSprite->GetX() + pSprite->GetWidth(); ++x)
                if (pSprite->HitTest(x, y))
                {
                    pt = CPoint(x, y);
                    return TRUE;
                }
        return FALSE;
    }
    void SeeEnemy(int nUnit, BOOL bUnidentified)
    {
        CUnitRef ref;
        ref.m_nUnit = nUnit;
        ref.m_nArray = 0;
        ref.m_nSide = 1;
        ref.m_nVehicle = m_pUnits->GetUnit(nUnit, 0, 1)->m_nVehicle;
        ref.m_bUnidentified = bUnidentified;
        m_pUnits->m_pContacts[CONTACTS_OWN_OF_OPPOSING]->RemoveAll();
        m_pUnits->m_pContacts[CONTACTS_OWN_OF_OPPOSING]->Add(ref);
    }

    CDemoInstall m_demo{"unit-draw"};
    ScopedScriptedUi m_ui;
    CKDRApp m_app;
    CKDRDoc* m_pDoc = nullptr;
    CKDRUnits* m_pUnits = nullptr;
    CKDRGameMap* m_pMap = nullptr;
    CKDRDatabase* m_pDb = nullptr;
    CSurface* m_pBack = nullptr;
};
}  // namespace

TEST_F(DemoDrawTest, OwnUnitsDrawAndTheEnemyOnlyAsTheContactListSeesIt)
{
    // The demo's arrays and hierarchies are loaded.
    EXPECT_EQ(m_pUnits->GetArrayCount(0), 1);
    EXPECT_EQ(m_pUnits->GetArrayCount(1), 1);
    EXPECT_EQ(m_pUnits->GetArrayCount(2), 0);
    EXPECT_NE(m_pUnits->GetPresentHierarchy(0), nullptr);
    EXPECT_NE(m_pUnits->GetPresentHierarchy(1), nullptr);
    EXPECT_TRUE(m_app.m_bPiecesShown);

    // Pictures at the icon size of the first level zoomed in (a quarter of
    // their full size), at which the tanks' pictures do not overlap here.
    ASSERT_TRUE(m_pDoc->ApplyIconStyle(ICON_STYLE_PICTURES));
    ASSERT_TRUE(m_pDoc->ApplyIconSize(0.25f));
    CUnit* pOwn = m_pUnits->GetUnit(1, 0, 0);
    ASSERT_NE(pOwn, nullptr);
    CentreOn(pOwn);
    ClearBack();
    ASSERT_TRUE(m_pDoc->DrawUnits(0, UNIT_DRAW_HULL_ARROW, TRUE));
    EXPECT_GT(DrawnPixels(pOwn), 20);
    EXPECT_TRUE(pOwn->m_bHullArrowLoaded);
    CPoint pt;
    ASSERT_TRUE(SolidPoint(pOwn->m_pSprite, pt));
    int nArray = 0, nKind = -1;
    EXPECT_EQ(m_pUnits->HitTestContact(pt.x, pt.y, nArray, nKind, TRUE, FALSE), 1);
    EXPECT_EQ(nKind, 0);
    COLORREF crTip = 1;
    EXPECT_EQ(m_pUnits->GetHoverText(pt.x, pt.y, m_pDb, FALSE, FALSE, FALSE, crTip),
              pOwn->m_strName + ", " + m_pDb->GetVehicle(pOwn->m_nVehicle)->m_strName);
    EXPECT_EQ(crTip, 0xff8080u);
    // A carried team is neither drawn nor hit.
    for (int i = 0; i < m_pUnits->m_pOwnUnits->GetSize(); ++i)
    {
        CUnit* pUnit = m_pUnits->m_pOwnUnits->GetAt(i);
        if (pUnit->IsCarried())
        {
            EXPECT_FALSE(pUnit->HitTest(pt.x, pt.y)) << i;
        }
    }

    // The enemy in NATO symbols, as when zoomed out.
    ASSERT_TRUE(m_pDoc->ApplyIconStyle(ICON_STYLE_NATO));
    CUnit* pEnemy = m_pUnits->GetUnit(0, 0, 1);
    ASSERT_NE(pEnemy, nullptr);
    CentreOn(pEnemy);
    ClearBack();
    m_pDoc->DrawUnits(0, UNIT_DRAW_HULL_ARROW, TRUE);
    pEnemy->PlaceSprite(m_pMap);
    EXPECT_EQ(DrawnPixels(pEnemy), 0);  // nobody sees it
    ASSERT_TRUE(SolidPoint(pEnemy->m_pSprite, pt));
    nKind = -1;
    EXPECT_EQ(m_pUnits->HitTestContact(pt.x, pt.y, nArray, nKind, TRUE, TRUE), -99);
    EXPECT_TRUE(m_pUnits->GetHoverText(pt.x, pt.y, m_pDb, TRUE, FALSE, FALSE, crTip).IsEmpty());

    // Seen but not identified: the unidentified symbol, no arrow.
    SeeEnemy(0, TRUE);
    ClearBack();
    m_pDoc->DrawUnits(0, UNIT_DRAW_HULL_ARROW, TRUE);
    EXPECT_GT(DrawnPixels(pEnemy), 20);
    EXPECT_TRUE(pEnemy->m_bUnidentifiedShown);
    EXPECT_EQ(PictureOf(pEnemy->m_pSprite), CataloguePicture("Unidentified Vehicle"));
    EXPECT_FALSE(pEnemy->m_bHullArrowLoaded);
    ASSERT_TRUE(SolidPoint(pEnemy->m_pSprite, pt));
    nKind = -1;
    EXPECT_EQ(m_pUnits->HitTestContact(pt.x, pt.y, nArray, nKind, FALSE, FALSE), -99);
    nKind = -1;
    EXPECT_EQ(m_pUnits->HitTestContact(pt.x, pt.y, nArray, nKind, FALSE, TRUE), 0);
    EXPECT_EQ(nKind, 1);
    crTip = 7;
    EXPECT_EQ(m_pUnits->GetHoverText(pt.x, pt.y, m_pDb, TRUE, FALSE, FALSE, crTip),
              m_pDb->GetVehicle(pEnemy->m_nVehicle)->GetIdentifiedName());
    EXPECT_EQ(crTip, 7u);  // an unknown contact has no side's colour

    // Identified: its own symbol in the enemy's frame (its type's picture
    // carries the enemy-colour flag), its type's name in red.
    SeeEnemy(0, FALSE);
    m_pDoc->DrawUnits(0, UNIT_DRAW_HULL_ARROW, TRUE);
    ASSERT_TRUE(SolidPoint(pEnemy->m_pSprite, pt));
    EXPECT_FALSE(pEnemy->m_bUnidentifiedShown);
    EXPECT_TRUE(pEnemy->m_bSprite2);
    EXPECT_TRUE(pEnemy->HasEnemyPiece(m_pDb));
    EXPECT_EQ(PictureOf(pEnemy->m_pSprite2), CataloguePicture("Enemy Vehicle"));
    EXPECT_FALSE(pOwn->HasEnemyPiece(m_pDb));
    EXPECT_EQ(PictureOf(pOwn->m_pSprite2), CataloguePicture("Friendly Vehicle"));
    EXPECT_TRUE(pEnemy->m_bHullArrowLoaded);
    const CString strType = m_pDb->GetVehicle(pEnemy->m_nVehicle)->m_strName;
    EXPECT_EQ(m_pUnits->GetHoverText(pt.x, pt.y, m_pDb, TRUE, FALSE, FALSE, crTip), strType);
    EXPECT_EQ(crTip, 0x8080ffu);
    m_app.m_bAlternateColors = TRUE;
    m_pUnits->GetHoverText(pt.x, pt.y, m_pDb, TRUE, FALSE, FALSE, crTip);
    EXPECT_EQ(crTip, 0xff8080u);
}

// The pictures that replace each other during play keep the size the view
// gave them: an enemy tank identified after it was seen as an unknown
// shape, its turret with it, and a carrier that closed its ramp again.
TEST_F(DemoDrawTest, PicturesChangedInPlayKeepTheViewsIconSize)
{
    constexpr float kIconSize = 0.25f;
    ASSERT_TRUE(m_pDoc->ApplyIconStyle(ICON_STYLE_PICTURES));
    ASSERT_TRUE(m_pDoc->ApplyIconSize(kIconSize));
    const auto turretScale = [](const CUnit* pUnit)
    {
        const auto* pTurret = static_cast<const CUCapTurret*>(pUnit->FindCapability(VCAP_TURRET));
        return pTurret != nullptr && pTurret->m_pSprite != nullptr ? pTurret->m_pSprite->GetScale() : -1.0f;
    };

    CUnit* pEnemy = m_pUnits->GetUnit(0, 0, 1);
    ASSERT_NE(pEnemy, nullptr);
    CentreOn(pEnemy);
    SeeEnemy(0, TRUE);
    m_pDoc->DrawUnits(0, 0, TRUE);
    ASSERT_TRUE(pEnemy->m_bUnidentifiedShown);
    EXPECT_FLOAT_EQ(pEnemy->m_pSprite->GetScale(), kIconSize);
    SeeEnemy(0, FALSE);
    m_pDoc->DrawUnits(0, 0, TRUE);
    EXPECT_FALSE(pEnemy->m_bUnidentifiedShown);
    EXPECT_EQ(PictureOf(pEnemy->m_pSprite).first, m_pDb->GetVehiclePiece(pEnemy->m_nVehicle)->GetSurface());
    EXPECT_FLOAT_EQ(pEnemy->m_pSprite->GetScale(), kIconSize);
    EXPECT_FLOAT_EQ(turretScale(pEnemy), kIconSize);

    CUnit* pCarrier = nullptr;
    for (int i = 0; pCarrier == nullptr && m_pUnits->GetUnit(i, 0, 0) != nullptr; ++i)
        if (m_pUnits->GetUnit(i, 0, 0)->FindCapability(VCAP_PERSONNEL_CARRIER) != nullptr)
            pCarrier = m_pUnits->GetUnit(i, 0, 0);
    ASSERT_NE(pCarrier, nullptr);
    auto* pRamp = static_cast<CUCapPersonnelCarrier*>(pCarrier->FindCapability(VCAP_PERSONNEL_CARRIER));
    CentreOn(pCarrier);
    pRamp->m_bOpen = TRUE;
    m_pDoc->DrawUnits(0, 0, TRUE);
    ASSERT_TRUE(pCarrier->m_bCarrierOpenShown);
    EXPECT_FLOAT_EQ(pCarrier->m_pSprite->GetScale(), kIconSize);
    pRamp->m_bOpen = FALSE;
    m_pDoc->DrawUnits(0, 0, TRUE);
    EXPECT_FALSE(pCarrier->m_bCarrierOpenShown);
    EXPECT_FLOAT_EQ(pCarrier->m_pSprite->GetScale(), kIconSize);
}

TEST_F(DemoDrawTest, WreckMarkersFollowSideAndSwap)
{
    const struct
    {
        int nKind;
        BOOL bSwapped;
        BOOL bAlternate;
        const char* marker;
        COLORREF tip;
    } cases[] = {
        {0, FALSE, FALSE, "Destroyed Unit Blue", 0xff8080},
        {1, FALSE, FALSE, "Destroyed Unit Red", 0x8080ff},
        {0, TRUE, TRUE, "Destroyed Unit Red", 0x8080ff},
        {1, TRUE, TRUE, "Destroyed Unit Blue", 0xff8080},
    };
    int nUnit = 1;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.marker);
        m_app.m_bSideSwapDisplay = c.bSwapped;
        m_app.m_bAlternateColors = c.bAlternate;
        CUnit* pUnit = m_pUnits->GetUnit(nUnit++, 0, c.nKind);
        ASSERT_NE(pUnit, nullptr);
        pUnit->m_bDestroyed = TRUE;
        CentreOn(pUnit);
        ClearBack();
        ASSERT_TRUE(m_pDoc->DrawDestroyedUnits(ICON_STYLE_PICTURES, 1.0f));
        EXPECT_EQ(PictureOf(pUnit->m_pSprite), CataloguePicture(c.marker));
        EXPECT_GT(DrawnPixels(pUnit), 10);
        CPoint pt;
        ASSERT_TRUE(SolidPoint(pUnit->m_pSprite, pt));
        COLORREF crTip = 0;
        EXPECT_EQ(m_pDoc->GetUnits()->GetHoverUnitText(pt.x, pt.y, m_pDb, crTip),
                  "Destroyed " + m_pDb->GetVehicle(pUnit->m_nVehicle)->m_strName);
        EXPECT_EQ(crTip, c.tip);
        // A wreck is no live contact.
        int nArray = 0, nKind = -1;
        EXPECT_EQ(m_pUnits->HitTestContact(pt.x, pt.y, nArray, nKind, TRUE, TRUE), -99);
    }
}

TEST_F(DemoDrawTest, PlatoonSymbolsDrawAtTheirLeadersWithTheFrameOfSideAndSwap)
{
    CHierarchyArray* pOwn = m_pUnits->GetPresentHierarchy(0);
    ASSERT_NE(pOwn, nullptr);
    CHierarchyPlatoon* pPlatoon = pOwn->FindContainerByName("1st Tank");
    CHierarchyPlatoon* pCompany = pOwn->FindContainerByName("A Company");
    ASSERT_NE(pPlatoon, nullptr);
    ASSERT_NE(pCompany, nullptr);
    CUnit* pLeader = pPlatoon->GetLiveLeaderUnit(m_pUnits);
    ASSERT_NE(pLeader, nullptr);
    CentreOn(pLeader);
    ClearBack();
    ASSERT_TRUE(m_pDoc->DrawHierarchySymbols(FALSE, TRUE, TRUE, ICON_STYLE_NATO, 1.0f, 0, UNIT_DRAW_HULL_ARROW));
    EXPECT_EQ(PictureOf(pPlatoon->m_apSprites[0]), CataloguePicture("Friendly Platoon"));
    EXPECT_EQ(PictureOf(pCompany->m_apSprites[0]), CataloguePicture("Friendly Company"));
    CRect rc;
    ASSERT_TRUE(pPlatoon->GetSymbolRect(rc));
    int nDrawn = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            nDrawn += m_pBack->GetPixel(x, y) != RGB(0, 0, 0) ? 1 : 0;
    EXPECT_GT(nDrawn, 20);
    CPoint pt;
    ASSERT_TRUE(SolidPoint(pPlatoon->m_apSprites[1], pt));
    int nSide = -1;
    CHierarchyPlatoon* pHit = m_pUnits->HitTestElements(pt.x, pt.y, nSide, TRUE, FALSE);
    EXPECT_EQ(pHit, pPlatoon);
    EXPECT_EQ(nSide, 0);
    nSide = 1;  // only the opposing hierarchy asked
    EXPECT_EQ(m_pUnits->HitTestElements(pt.x, pt.y, nSide, TRUE, FALSE), nullptr);
    std::unique_ptr<CHierarchyArray> pAt(m_pUnits->GetElementsAtPoint(pt.x, pt.y, TRUE, FALSE));
    ASSERT_EQ(pAt->GetSize(), 1);
    EXPECT_EQ(static_cast<CHierarchyPlatoon*>(pAt->GetChild(0))->m_strName, "1st Tank");

    // The picture icons take the alternative pictures at twice the scale.
    ASSERT_TRUE(m_pDoc->DrawHierarchySymbols(FALSE, TRUE, TRUE, ICON_STYLE_PICTURES, 0.5f, 0, 0));
    EXPECT_TRUE(pPlatoon->m_bAltStyleLoaded);
    EXPECT_FLOAT_EQ(pPlatoon->m_apSprites[1]->GetScale(), 1.0f);

    // Swapped, the own side wears the enemy frames, one echelon up.
    m_app.m_bSideSwapDisplay = TRUE;
    EXPECT_EQ(CHierarchyPlatoon::GetSymbolName(0, 2), "Enemy Company");
    EXPECT_EQ(CHierarchyPlatoon::GetSymbolName(1, 2), "Friendly Platoon");
    EXPECT_EQ(CHierarchyPlatoon::GetSymbolName(2, 4), "Enemy Neutral Battalion");
    EXPECT_EQ(CHierarchyPlatoon::GetSymbolName(3, 2), "");
    ASSERT_TRUE(m_pDoc->DrawHierarchySymbols(FALSE, TRUE, TRUE, ICON_STYLE_NATO, 1.0f, 0, 0));
    EXPECT_EQ(PictureOf(pPlatoon->m_apSprites[0]), CataloguePicture("Enemy Company"));
    EXPECT_EQ(PictureOf(pCompany->m_apSprites[0]), CataloguePicture("Enemy Battalion"));
    m_app.m_bSideSwapDisplay = FALSE;

    // The leader destroyed: no symbol, no hit.
    pLeader->m_bDestroyed = TRUE;
    EXPECT_EQ(pPlatoon->GetLiveLeaderUnit(m_pUnits), nullptr);
    nSide = -1;
    EXPECT_EQ(m_pUnits->HitTestElements(pt.x, pt.y, nSide, TRUE, FALSE), nullptr);
    ClearBack();
    pPlatoon->DrawSymbol(m_pMap, m_pUnits, m_pDb, 0, 1.0f, TRUE, FALSE, 0, 0);
    int nLeft = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            nLeft += m_pBack->GetPixel(x, y) != RGB(0, 0, 0) ? 1 : 0;
    EXPECT_EQ(nLeft, 0);
}
