// The unit counts of the mission conditions and the count tables of the
// results page: which units count, the edges of boxes and ellipses, the
// per-type block and the rows of each kind's table.
#include "HeldUnits.h"
#include "UnitTestSupport.h"

#include "database/HTMLPage.h"
#include "platform/core/Geometry.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
// Three vehicle types: "Tank", "Carrier", "Truck".
void LoadThreeTypes(CUnitTestDatabase& db)
{
    auto* pWeapons = new CWeaponArray;
    pWeapons->Add(MakeWeapon("Gun", 5));
    auto* pVehicles = new CVehicleArray;
    for (const char* name : {"Tank", "Carrier", "Truck"})
        pVehicles->Add(MakeVehicle(name, {0}, {50}));
    db.Load(pWeapons, pVehicles);
}

void WriteCountsTemplate(CUnitTestDatabase& db)
{
    std::FILE* f = std::fopen((db.App().DataDir() / "counts.htm").string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("<HTML><BODY>F[*friendly*]E[*enemy*]N[*neutral*]</BODY></HTML>", f);
    std::fclose(f);
}

// One row as the page lays it out, built from its pieces.
CString Row(const char* name, int nStart, int nLive)
{
    auto cell = [](int n)
    {
        CString text;
        text.Format("<TD WIDTH=\"14%%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
                    "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">%d</FONT></FONT></TD>\r\n",
                    n);
        return text;
    };
    return CString("<TR>\r\n<TD WIDTH=\"30%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<A HREF=\"") +
           CHTMLPage::MakePageName(name) + "\"><FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">" + name +
           "</FONT></FONT></A></TD>\r\n" + cell(nStart) + cell(nLive) + "</TR>\r\n";
}
}  // namespace

TEST(UnitCounts, LiveUncarriedUnitsOfOneKindOverAllItsArrays)
{
    CHeldUnits units;
    units.Place(0, 0, 10.0f, 10.0f);
    units.Place(0, 0, 20.0f, 10.0f)->m_bDestroyed = TRUE;
    units.Place(0, 0, 30.0f, 10.0f);
    units.Place(1, 0, 10.0f, 10.0f);
    units.Place(1, 0, 10.0f, 20.0f)->m_bDestroyed = TRUE;
    units.Place(1, 1, 10.0f, 30.0f);
    units.Place(1, 1, 10.0f, 40.0f);

    const struct
    {
        int nKind;
        int nLive;
    } cases[] = {{0, 2}, {1, 3}, {2, 0}, {3, 0}, {-1, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nKind);
        EXPECT_EQ(units.CountLiveUnits(c.nKind), c.nLive);
        // A box and an ellipse over the whole ground count the same units.
        EXPECT_EQ(units.CountUnitsInBox(c.nKind, 0, 0, 1000, 1000), c.nLive);
        EXPECT_EQ(units.CountUnitsInRegion(c.nKind, CRect(-1000, -1000, 1000, 1000)), c.nLive);
    }
    // The least form holds no arrays: nothing counts.
    CKDRUnits empty;
    EXPECT_EQ(empty.CountLiveUnits(0), 0);
    EXPECT_EQ(empty.CountUnitsInBox(1, 0, 0, 1000, 1000), 0);
}

TEST(UnitCounts, BoxAndEllipseEdgesAfterRoundingToWholeMetres)
{
    const struct
    {
        float fX;
        float fY;
        bool bInBox;      // box (100, 100) - (200, 200), given the wrong way round
        bool bInEllipse;  // ellipse in (0, 0) - (200, 100)
    } cases[] = {
        {100.0f, 100.0f, true, true},   // left and top edges: inside; the ellipse's bottom rim
        {199.4f, 150.0f, true, false},  // 199
        {199.5f, 150.0f, false, false}, // 200: the right edge is outside
        {150.0f, 200.0f, false, false}, // the bottom edge is outside
        {99.5f, 150.0f, true, false},   // 100
        {99.4f, 150.0f, false, false},  // 99
        {200.0f, 50.0f, false, true},   // the ellipse's right rim
        {-0.4f, 50.0f, false, true},    // 0: its left rim
        {190.0f, 90.0f, false, false},  // beyond the ellipse, inside its rectangle
        {100.0f, 50.0f, false, true},   // its centre
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.fX << ", " << c.fY);
        CHeldUnits units;
        units.Place(1, 0, c.fX, c.fY);
        EXPECT_EQ(units.CountUnitsInBox(1, 200, 200, 100, 100), c.bInBox ? 1 : 0);
        EXPECT_EQ(units.CountUnitsInRegion(1, CRect(200, 0, 0, 100)), c.bInEllipse ? 1 : 0);
        EXPECT_EQ(units.CountUnitsInBox(0, 200, 200, 100, 100), 0);
    }
    // A rectangle without width holds nobody.
    CHeldUnits units;
    units.Place(1, 0, 100.0f, 50.0f);
    EXPECT_EQ(units.CountUnitsInRegion(1, CRect(100, 0, 100, 100)), 0);
}

TEST(UnitCounts, CountUnitsFillsANewPerTypeBlockOfAPresentKind)
{
    CUnitTestDatabase db;
    CHeldUnits units;
    units.Place(1, 0, 0.0f, 0.0f, 0);
    units.Place(1, 0, 0.0f, 0.0f, 2);
    units.Place(1, 1, 0.0f, 0.0f, 2);
    units.Place(1, 1, 0.0f, 0.0f, 1)->m_bDestroyed = TRUE;
    int nAlive = 7;
    int nTotal = 7;
    int nStale = 0;
    int* pBlock = &nStale;

    // Without the vehicle list nothing is counted.
    EXPECT_EQ(units.CountUnits(1, db.Db(), nAlive, nTotal, pBlock), 0);
    EXPECT_EQ(pBlock, nullptr);

    LoadThreeTypes(db);
    EXPECT_EQ(units.CountUnits(2, db.Db(), nAlive, nTotal, pBlock), 0);  // no neutral units
    EXPECT_EQ(pBlock, nullptr);
    ASSERT_EQ(units.CountUnits(1, db.Db(), nAlive, nTotal, pBlock), 1);
    ASSERT_NE(pBlock, nullptr);
    EXPECT_EQ(nAlive, 3);
    EXPECT_EQ(nTotal, 3);
    EXPECT_EQ(pBlock[0], 1);
    EXPECT_EQ(pBlock[1], 0);
    EXPECT_EQ(pBlock[2], 2);
    for (int i = 3; i < 6; ++i)
        EXPECT_EQ(pBlock[i], 0);
    delete[] pBlock;
}

TEST(UnitCounts, CountsPageListsEachStartedTypeWithItsStartAndLiveCounts)
{
    CUnitTestDatabase db;
    CHeldUnits units;
    units.Place(0, 0, 0.0f, 0.0f, 0);
    units.Place(0, 0, 0.0f, 0.0f, 0)->m_bDestroyed = TRUE;
    units.Place(0, 0, 0.0f, 0.0f, 2);
    units.Place(1, 0, 0.0f, 0.0f, 1)->m_bDestroyed = TRUE;

    // Without the vehicle list, then without the template: an empty text.
    const int anOwnStart[3] = {2, 0, 1};
    const int anEnemyStart[3] = {0, 1, 0};
    EXPECT_EQ(units.WriteCountsPage(db.Db(), anEnemyStart, anOwnStart, nullptr), "");
    LoadThreeTypes(db);
    EXPECT_EQ(units.WriteCountsPage(db.Db(), anEnemyStart, anOwnStart, nullptr), "");

    WriteCountsTemplate(db);
    // The neutral side has neither start counts nor units: no rows.
    EXPECT_EQ(units.WriteCountsPage(db.Db(), anEnemyStart, anOwnStart, nullptr),
              "F[" + Row("Tank", 2, 1) + Row("Truck", 1, 1) + "]E[" + Row("Carrier", 1, 0) + "]N[]");
    // Types that were not there at the start have no row, whatever is left.
    const int anNone[3] = {0, 0, 0};
    EXPECT_EQ(units.WriteCountsPage(db.Db(), anNone, anNone, anNone), "F[]E[]N[]");
}

TEST(UnitCounts, EachTablesLiveColumnSumsToItsSidesSentenceCount)
{
    // A team riding in its carrier is in no sentence's count ("vehicles or
    // teams remaining"), so it is not live in the table either: the page
    // once said 13 while its friendly table summed to 21.
    CUnitTestDatabase db;
    LoadThreeTypes(db);
    WriteCountsTemplate(db);
    CHeldUnits units;
    units.Place(0, 0, 0.0f, 0.0f, 1);
    CUnit* pTeam = units.Place(0, 0, 0.0f, 0.0f, 2);
    auto* pDismount = new CUCapDismount;
    pDismount->m_nCarrierUnit = 0;
    pDismount->m_bDismounted = FALSE;
    pTeam->m_pCapabilities->Add(pDismount);
    ASSERT_TRUE(pTeam->IsCarried());
    units.Place(1, 0, 0.0f, 0.0f, 0);
    units.Place(1, 1, 0.0f, 0.0f, 0);

    const int anOwnStart[3] = {0, 1, 1};
    const int anEnemyStart[3] = {2, 0, 0};
    EXPECT_EQ(units.CountLiveUnits(0), 1);
    EXPECT_EQ(units.CountLiveUnits(1), 2);
    EXPECT_EQ(units.WriteCountsPage(db.Db(), anEnemyStart, anOwnStart, nullptr),
              "F[" + Row("Carrier", 1, 1) + Row("Truck", 1, 0) + "]E[" + Row("Tank", 2, 2) + "]N[]");
}
