// Weapons, their attributes and the weapon list: the "*.wep" layout, the
// largest penetration kept with it, the weapon page and the range circle's
// label.
#include "EquipmentTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "database/WeaponCapability.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include "../../tools/demo_map.h"
#include "../../tools/demo_terrain.h"

#include <gtest/gtest.h>

namespace
{
// Two weapons as the list file lays them out: the first with its three
// attributes, the second (its class met before) with one; then the file
// name and the largest penetration. Both penetrations are at most 0.
CScenarioBytes WeaponListBytes()
{
    CScenarioBytes b;
    b.Word(2);
    NewClass(b, "CWeapon");  // class 1, weapon 2
    b.Word(250).Word(0).Word(8).Word(1).Str("120mm smooth bore").Word(10).Word(6).Word(1);
    b.Str("gun").Str("spare");
    b.Word(3);
    NewClass(b, "CWCapTimeOfFlight");  // class 3, object 4
    b.Word(1650).Word(1).Word(0).Word(0).Word(7).Word(1);
    NewClass(b, "CWCapMinRange");  // class 5, object 6
    b.Word(65);
    NewClass(b, "CWCapADA");  // class 7, object 8
    b.Word(15).Word(0xFFFB);
    OldClass(b, 1);  // weapon 9
    b.Word(100).Word(0xFFFD).Word(2).Word(20).Str("7.62mm machine gun").Word(1).Word(6).Word(20);
    b.Str("").Str("");
    b.Word(1);
    OldClass(b, 5);
    b.Word(0);
    b.Str("demo.wep").Word(0);
    return b;
}
}  // namespace

TEST(WeaponList, FileLayoutReadsAndWritesBackTheSameBytes)
{
    CDatabaseTestApp t;
    const CScenarioBytes b = WeaponListBytes();
    t.WriteText(t.DataDir() / "demo.wep", std::string(b.Get().begin(), b.Get().end()));

    CWeaponArray weapons;
    ASSERT_TRUE(weapons.LoadFromFile("demo.wep", t.App().m_strDataDir));
    ASSERT_EQ(weapons.GetSize(), 2);
    EXPECT_EQ(weapons.m_strFileName, "demo.wep");
    EXPECT_EQ(weapons.m_nMaxPenetration, 0);

    const CWeapon* pGun = weapons.GetAt(0);
    EXPECT_EQ(pGun->m_nRange, 250);
    EXPECT_EQ(pGun->m_nPenetration, 0);
    EXPECT_EQ(pGun->m_nTimeToFire, 8);
    EXPECT_EQ(pGun->m_nRoundsPerFire, 1);
    EXPECT_EQ(pGun->m_strName, "120mm smooth bore");
    EXPECT_EQ(pGun->m_nMagnification, 10);
    EXPECT_EQ(pGun->m_nTimeToReload, 6);
    EXPECT_EQ(pGun->m_nRoundsToReload, 1);
    EXPECT_EQ(pGun->m_strWeaponSound, "gun");
    EXPECT_EQ(pGun->m_strSecondText, "spare");
    ASSERT_EQ(pGun->GetAttributes()->GetSize(), 3);
    auto* pFlight = dynamic_cast<CWCapTimeOfFlight*>(pGun->GetAttributes()->GetAt(0));
    ASSERT_NE(pFlight, nullptr);
    EXPECT_EQ(pFlight->m_nSpeed, 1650);
    EXPECT_EQ(pFlight->m_anFurther[3], 7);
    EXPECT_TRUE(pFlight->m_bSeek);
    auto* pAda = dynamic_cast<CWCapADA*>(pGun->GetAttributes()->GetAt(2));
    ASSERT_NE(pAda, nullptr);
    EXPECT_EQ(pAda->m_nRotaryWingBonus, 15);
    EXPECT_EQ(pAda->m_nFixedWingBonus, -5);  // sign-extended
    EXPECT_EQ(weapons.GetAt(1)->m_nPenetration, -3);
    EXPECT_EQ(weapons.GetAt(1)->GetAttributes()->GetAt(0)->GetType(), WCAP_MIN_RANGE);

    // Penetrations 0 and -3 keep a largest penetration of 0.
    EXPECT_EQ(StoreBytes(weapons), b.Get());

    // The largest penetration is worked out again whenever the list is stored.
    weapons.GetAt(1)->m_nPenetration = 7;
    const std::vector<BYTE> stored = StoreBytes(weapons);
    ASSERT_GE(stored.size(), 2u);
    EXPECT_EQ(stored[stored.size() - 2], 7);
    EXPECT_EQ(stored[stored.size() - 1], 0);
}

TEST(WeaponList, ACutOrCorruptFileRaisesTheArchiveErrorAndKeepsTheList)
{
    CDatabaseTestApp t;
    const std::vector<BYTE> whole = WeaponListBytes().Get();
    t.WriteText(t.DataDir() / "demo.wep", std::string(whole.begin(), whole.end()));
    CWeaponArray weapons;
    ASSERT_TRUE(weapons.LoadFromFile("demo.wep", t.App().m_strDataDir));

    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        int cause;
    };
    CScenarioBytes unknown;
    unknown.Word(1);
    NewClass(unknown, "CMortar");
    CScenarioBytes huge;
    huge.Word(0xFFFF).DWord(0x7FFFFFFF);
    const Case cases[] = {
        {"cut inside the attributes", std::vector<BYTE>(whole.begin(), whole.begin() + 120),
         CArchiveException::endOfFile},
        {"cut before the largest penetration", std::vector<BYTE>(whole.begin(), whole.end() - 1),
         CArchiveException::endOfFile},
        {"a class this program does not know", unknown.Get(), CArchiveException::badClass},
        {"a count larger than the file", huge.Get(), CArchiveException::endOfFile},
    };
    for (const Case& c : cases)
    {
        t.WriteText(t.DataDir() / "bad.wep", std::string(c.bytes.begin(), c.bytes.end()));
        try
        {
            weapons.LoadFromFile("bad.wep", t.App().m_strDataDir);
            ADD_FAILURE() << c.what << ": no error";
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, c.cause) << c.what;
        }
        EXPECT_EQ(weapons.GetSize(), 2) << c.what;
        EXPECT_EQ(weapons.m_strFileName, "demo.wep") << c.what;
        EXPECT_EQ(weapons.GetAt(0)->m_strName, "120mm smooth bore") << c.what;
    }
}

TEST(WeaponList, AFreshWeaponAndItsPage)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    CWeapon weapon;
    EXPECT_EQ(weapon.m_strName, "120mm smooth bore");
    CKDRDatabase database;
    t.HandDirectories(database);

    const CString link = weapon.WriteHTMLPage(&database);
    EXPECT_EQ(link, "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><A HREF=\"120mm smooth bore.htm\">"
                    "120mm smooth bore</A></FONT></FONT><BR>\r\n");
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
    const std::string page = CDatabaseTestApp::ReadText(t.SavegameDir() / "120mm smooth bore.htm");
    // Range 200 (tens of metres) shows as 2000; no attribute shows the None paragraph.
    EXPECT_NE(page.find("range 2000 penetration 1 fire 10/1 reload 5/1 magnification 11"), std::string::npos) << page;
    EXPECT_NE(page.find(std::string(DB_NONE_PARAGRAPH) + "</BODY>"), std::string::npos) << page;
}

TEST(WeaponList, AttributesWriteTheirLinksAndSections)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    CKDRDatabase database;
    t.HandDirectories(database);
    WriteWeaponList(t, "one.wep", {"Gun"});
    ASSERT_TRUE(database.LoadWeaponList("one.wep"));

    CWeaponCapArray attributes;
    EXPECT_EQ(attributes.m_typeNames.GetSize(), 3);
    EXPECT_EQ(attributes.m_typeNames[0], "Discreet Time Of Flight");
    auto* pFlight = new CWCapTimeOfFlight;
    auto* pMinimum = new CWCapMinRange;
    auto* pAda = new CWCapADA;
    pAda->m_nRotaryWingBonus = 12;
    pAda->m_nFixedWingBonus = 3;
    attributes.Add(pFlight);
    attributes.Add(pMinimum);
    attributes.Add(pAda);
    EXPECT_EQ(attributes.WriteHTMLLinks(&database),
              "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><A HREF=\"#timeOfFlight\">Time Of Flight</A>"
              "</FONT></FONT><BR>\r\n"
              "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><A HREF=\"#minRange\">Minimum Range</A>"
              "</FONT></FONT><BR>\r\n"
              "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><A HREF=\"#ADA\">Air Defense</A>"
              "</FONT></FONT><BR>\r\n");
    // A minimum range of 0 shows "none"; a clear seek flag "No".
    EXPECT_EQ(attributes.WriteHTMLPages(&database), "[flight 1 seeks No][minimum none][ada 12 3]");
    pFlight->m_bSeek = TRUE;
    pMinimum->m_nMinRange = 40;
    EXPECT_EQ(attributes.WriteHTMLPages(&database), "[flight 1 seeks Yes][minimum 40][ada 12 3]");

    // Without a weapon list the sections are empty; the links stay.
    EXPECT_EQ(attributes.WriteHTMLPages(nullptr), "");
    CString report = "kept";
    EXPECT_FALSE(attributes.CheckGraphics(report, nullptr));
    EXPECT_EQ(report, "kept");
}

TEST(WeaponList, RangeLabelsAreCutAfterTenCharacters)
{
    struct Case
    {
        const char* name;
        const char* label;
    } cases[] = {
        {"120mm smooth bore", "120mm sm..."},
        {"30mm gun A", "30mm gun A"},    // exactly ten: whole
        {"30mm gun AB", "30mm gun..."},  // eleven: cut
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CWeapon::MakeRangeLabel(c.name), c.label) << c.name;
}

TEST(WeaponList, TheRangeCircleHasARadiusOfTheRangeTimesTenMetres)
{
    CDatabaseTestApp t;
    CString errorText;
    const CString dataDir = t.App().m_strDataDir;
    ASSERT_TRUE(demo_terrain::WriteDemoElevationMap(JoinPath(dataDir, "Demo.emp"), errorText)) << errorText.GetString();
    ASSERT_TRUE(demo_map::WriteDemoMapFiles(dataDir, "Demo.emp", errorText)) << errorText.GetString();
    CKDRGameMap map;
    ASSERT_TRUE(LoadObjectFromFile("demo.gmp", map, errorText)) << errorText.GetString();
    ASSERT_TRUE(map.LoadMapFiles(t.App().m_pDisplay, t.App().m_strDataDir));
    const CSize view = map.GetVisibleViewSize();
    ASSERT_GE(view.cx, 300);
    ASSERT_GE(view.cy, 220);
    CSurface* pBack = t.App().m_pDisplay->GetBackSurface();
    const COLORREF white = RGB(255, 255, 255);
    auto clear = [&]
    {
        CDC* pDC = t.App().GetSurfaceDC();
        pDC->FillSolidRect(0, 0, view.cx, view.cy, white);
        t.App().ReleaseSurfaceDC();
    };
    auto count = [&](const CRect& area, auto test)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += test(pBack->GetPixel(x, y)) ? 1 : 0;
        return n;
    };

    // The map point under the middle of the view; 2 m a picture pixel at zoom 1.
    const CPoint centre(view.cx / 2, view.cy / 2);
    float x = 0.0f, y = 0.0f;
    int px = 0, py = 0;
    map.ViewToPicture(centre.x, centre.y, &px, &py);
    map.GetElevationMap()->PixelToMap(px, py, &x, &y);
    CWeapon weapon;
    weapon.m_strName = "120mm smooth bore";
    weapon.m_nRange = 16;  // 160 m: 80 pixels

    clear();
    weapon.DrawRangeArc(x, y, &map);
    const COLORREF outer = RGB(128, 0, 0);
    const COLORREF inner = RGB(255, 128, 128);
    // Along each axis the thin light pen lies on the dark wide one, 80
    // pixels out (within the rounding of the conversions and the edge);
    // the top carries the label.
    const CPoint axes[] = {CPoint(1, 0), CPoint(-1, 0), CPoint(0, 1)};
    for (const CPoint& axis : axes)
    {
        std::vector<int> light;
        std::vector<int> dark;
        for (int d = 0; d <= 100; ++d)
        {
            const COLORREF c = pBack->GetPixel(centre.x + axis.x * d, centre.y + axis.y * d);
            if (c == inner)
                light.push_back(d);
            else if (c == outer)
                dark.push_back(d);
        }
        ASSERT_EQ(light.size(), 1u) << axis.x << "," << axis.y;
        EXPECT_NEAR(light[0], 80, 3) << axis.x << "," << axis.y;
        ASSERT_FALSE(dark.empty());
        EXPECT_GE(dark.front(), light[0] - 2);
        EXPECT_LE(dark.back(), light[0] + 2);
    }
    EXPECT_EQ(count(CRect(centre.x - 40, centre.y - 40, centre.x + 40, centre.y + 40),
                    [&](COLORREF c) { return c != white; }),
              0);  // not filled
    // The label sits on the top of the circle, in neither pen's colour.
    const auto text = [&](COLORREF c) { return c != white && c != outer && c != inner; };
    EXPECT_GT(count(CRect(centre.x - 40, centre.y - 80 - 10, centre.x + 40, centre.y - 80 + 10), text), 0);
    EXPECT_EQ(count(CRect(centre.x - 40, centre.y + 80 - 10, centre.x + 40, centre.y + 80 + 10), text), 0);

    // A circle wholly off the view draws nothing, its label neither.
    clear();
    map.GetElevationMap()->PixelToMap(px + 600, py, &x, &y);
    weapon.DrawRangeArc(x, y, &map);
    EXPECT_EQ(count(CRect(0, 0, view.cx, view.cy), [&](COLORREF c) { return c != white; }), 0);
}
