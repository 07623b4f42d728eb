// The equipment pages: a vehicle's page with its weapon tables (ordered by
// penetration) and kill table, the rows the tables are made of, and the
// names the pages are written and linked under.
#include "EquipmentTestSupport.h"

#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"

#include <gtest/gtest.h>

namespace
{
// A database holding the weapons, loaded from a list file.
void LoadWeapons(CDatabaseTestApp& t, CKDRDatabase& database, std::initializer_list<CWeapon*> weapons)
{
    CWeaponArray list;
    list.m_strFileName = "pages.wep";
    for (CWeapon* pWeapon : weapons)
        list.Add(pWeapon);
    WriteList(t, "pages.wep", list);
    ASSERT_TRUE(database.LoadWeaponList("pages.wep"));
}

std::string PageOf(CDatabaseTestApp& t, const char* fileName)
{
    return CDatabaseTestApp::ReadText(t.SavegameDir() / fileName);
}

int Find(const std::string& text, const char* what)
{
    const size_t at = text.find(what);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}
}  // namespace

TEST(EquipmentPages, ARowOfTheWeaponTableAsTheLayoutGivesIt)
{
    CWeapon weapon;
    weapon.m_strName = "Gun/2";
    CVehicleWeapon mount;
    EXPECT_EQ(mount.WriteTableRow(nullptr), "");
    // A new mount: no traverse limits, suppression radius 20, no flags.
    const CString expected =
        "<TR>\r\n<TD WIDTH=\"30%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<A HREF=\"Gun_2.htm\">"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">Gun/2</FONT></FONT></A></TD>"
        "\r\n<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n"
        "<P ALIGN=CENTER><FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">0</FONT></FONT></TD>"
        "\r\n<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">0</FONT></FONT></TD>"
        "<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">0</FONT></FONT></TD>"
        "\r\n<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">none</FONT></FONT></TD>\r\n"
        "<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">none</FONT></FONT></TD>\r\n"
        "<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">20</FONT></FONT></TD>\r\n"
        "<TD WIDTH=\"5%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><B> </B></FONT></FONT></TD>\r\n"
        "<TD WIDTH=\"5%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
        "<FONT SIZE=\"2\"><FONT FACE=\"Arial,Helvetica,Monaco\"><B> </B></FONT></FONT></TD>\r\n"
        "</TR>\r\n";
    EXPECT_EQ(mount.WriteTableRow(&weapon), expected);

    mount.m_nLeftLimit = -1600;
    mount.m_nRightLimit = 0;
    mount.m_bC = TRUE;
    mount.m_bS = TRUE;
    const CString row = mount.WriteTableRow(&weapon);
    EXPECT_NE(row.Find(">-1600<"), -1);
    EXPECT_NE(row.Find("\"2\">0</FONT></FONT></TD>\r\n<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
                       "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">20<"),
              -1);
    EXPECT_EQ(row.Find("<B> </B>"), -1);
    EXPECT_NE(row.Find("<B>X</B></FONT></FONT></TD>\r\n<TD WIDTH=\"5%\""), -1);
}

TEST(EquipmentPages, KillTablesShowTheRecordsThatCanKill)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    CKDRDatabase database;
    t.HandDirectories(database);
    CKillPercentageArray kills;
    EXPECT_NE(kills.WriteHTML(nullptr).Find("No Direct Fire Percentages Available"), -1);
    LoadWeapons(t, database, {MakeWeapon("Gun A", 5), MakeWeapon("Gun B", 9)});

    const CString none = "<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><B>No Direct "
                         "Fire Percentages Available</B></FONT></FONT>\r\n</P>\r\n";
    EXPECT_EQ(kills.WriteHTML(&database), none);
    kills.Add(new CWeaponPercentages(0, 0, 0, 0, 0));
    EXPECT_EQ(kills.WriteHTML(&database), none);
    kills.Add(new CWeaponPercentages(70, 10, 30, 30, 5));
    const CString table = kills.WriteHTML(&database);
    const CString row = "<TR>\r\n<TD WIDTH=\"30%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<A HREF=\"Gun B.htm\">"
                        "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">Gun B</FONT></FONT></A></TD>\r\n"
                        "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\">"
                        "<FONT SIZE=\"2\">70</FONT></FONT></TD>\r\n"
                        "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\">"
                        "<FONT SIZE=\"2\">10</FONT></FONT></TD>\r\n"
                        "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\">"
                        "<FONT SIZE=\"2\">30</FONT></FONT></TD>\r\n"
                        "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\">"
                        "<FONT SIZE=\"2\">30</FONT></FONT></TD>\r\n"
                        "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\">"
                        "<FONT SIZE=\"2\">5</FONT></FONT></TD>\r\n"
                        "</TR>\r\n";
    EXPECT_EQ(table, "<TABLE>" + row + "</TABLE>");

    // Only the top counts too; a record past the weapon list stays unshown.
    kills.GetAt(0)->m_nTop = 20;
    kills.Add(new CWeaponPercentages(99, 99, 99, 99, 99));
    const CString three = kills.WriteHTML(&database);
    EXPECT_NE(three.Find("Gun A</FONT>"), -1);
    EXPECT_NE(three.Find(row), -1);
    EXPECT_EQ(three.Find(">99<"), -1);
    EXPECT_EQ(kills.GetSize(), 3);

    // Without its template the table is the notice.
    std::filesystem::remove(t.DataDir() / "percentKillArray.htm");
    EXPECT_EQ(kills.WriteHTML(&database), none);
}

TEST(EquipmentPages, MountsAreListedByPenetrationHighestFirst)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    CKDRDatabase database;
    t.HandDirectories(database);
    LoadWeapons(t, database, {MakeWeapon("Five A", 5), MakeWeapon("Nine", 9), MakeWeapon("Five B", 5)});

    CVehicleWeaponArray mounts;
    mounts.Add(MakeMount(0, 1));
    mounts.Add(MakeMount(1, 2));
    mounts.Add(MakeMount(2, 3));
    mounts.Add(MakeMount(7, 4));  // names no weapon: left out
    {
        CVehicleWeaponArray list(FALSE);
        mounts.AddToWeaponList(&list, &database);
        ASSERT_EQ(list.GetSize(), 3);
        EXPECT_EQ(list.GetAt(0), mounts.GetAt(1));
        EXPECT_EQ(list.GetAt(1), mounts.GetAt(0));
        EXPECT_EQ(list.GetAt(2), mounts.GetAt(2));
        // The borrowed list lets its mounts go without deleting them.
    }
    ASSERT_EQ(mounts.GetSize(), 4);
    EXPECT_EQ(mounts.GetAt(1)->m_nAmmo, 2);

    const std::string table = mounts.WriteWeaponTable(&database).GetString();
    EXPECT_LT(Find(table, "Five A</FONT>"), Find(table, "Nine</FONT>"));  // the mount table keeps its own order
    EXPECT_LT(Find(table, "Nine</FONT>"), Find(table, "Five B</FONT>"));

    CVehicleWeaponArray beyond;
    beyond.Add(MakeMount(3));
    EXPECT_EQ(beyond.WriteWeaponTable(&database), DB_NONE_PARAGRAPH);
    EXPECT_EQ(CVehicleWeaponArray().WriteWeaponTable(&database), DB_NONE_PARAGRAPH);
    EXPECT_EQ(mounts.WriteWeaponTable(nullptr), DB_NONE_PARAGRAPH);
}

TEST(EquipmentPages, AVehiclePageShowsItsFiguresTablesAndLogo)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    CKDRDatabase database;
    t.HandDirectories(database);
    LoadWeapons(t, database, {MakeWeapon("Five A", 5), MakeWeapon("Nine", 9), MakeWeapon("Five B", 5)});

    CVehicle vehicle;
    vehicle.m_strName = "Tarn/Mk 2";
    vehicle.m_nViewRange = 25;
    vehicle.m_fSpeed = 12.5f;
    vehicle.m_fSprint = 0.5f;
    vehicle.GetChassisMounts()->Add(MakeMount(0, 11));
    vehicle.GetChassisMounts()->Add(MakeMount(1, 22));
    vehicle.GetChassisMounts()->Add(MakeMount(2, 33));
    vehicle.GetKillPercentages()->Add(new CWeaponPercentages(0, 0, 0, 0, 0));
    vehicle.GetKillPercentages()->Add(new CWeaponPercentages(70, 10, 30, 30, 5));

    const CString link = vehicle.WriteHTMLPage(&database);
    EXPECT_EQ(link, "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><A HREF=\"Tarn_Mk 2.htm\">Tarn/Mk 2</A>"
                    "</FONT></FONT><BR>\r\n");
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
    const std::string page = PageOf(t, "Tarn_Mk 2.htm");
    ASSERT_FALSE(page.empty());
    EXPECT_NE(Find(page, "view 250 "), -1) << page;
    EXPECT_NE(Find(page, "speed 12.50 sprint .50 "), -1) << page;
    EXPECT_NE(Find(page, "move 999 "), -1) << page;
    EXPECT_NE(Find(page, "size 1.00 1.00 1.00"), -1) << page;
    const std::string logo = "<IMG SRC=\"" + std::string(JoinPath(t.App().m_strDataDir, "kdr_logo.jpg")) + "\">";
    EXPECT_NE(Find(page, logo.c_str()), -1) << page;

    // All weapons by penetration, then the chassis table in mount order.
    const int all = Find(page, "<H2>All</H2>");
    const int chassis = Find(page, "<H2>Chassis</H2>");
    const int kills = Find(page, "<H2>Kills</H2>");
    ASSERT_TRUE(all >= 0 && chassis > all && kills > chassis);
    const std::string allTable = page.substr(all, chassis - all);
    EXPECT_LT(Find(allTable, ">22<"), Find(allTable, ">11<"));
    EXPECT_LT(Find(allTable, ">11<"), Find(allTable, ">33<"));
    const std::string chassisTable = page.substr(chassis, kills - chassis);
    EXPECT_LT(Find(chassisTable, ">11<"), Find(chassisTable, ">22<"));
    const std::string killTable = page.substr(kills);
    EXPECT_NE(Find(killTable, "Nine</FONT>"), -1);
    EXPECT_EQ(Find(killTable, "Five A</FONT>"), -1);
    EXPECT_NE(Find(page, (std::string("<H2>Capabilities</H2>") + DB_NONE_PARAGRAPH + "</BODY>").c_str()), -1);
    EXPECT_NE(Find(page, "Chassis"), -1);

    // A picture of its own replaces the logo; a dismount's chassis is its people.
    vehicle.m_strPicture = "tarn.jpg";
    vehicle.GetCapabilities()->Add(new CTestCapability(VCAP_DISMOUNT));
    vehicle.WriteHTMLPage(&database);
    const std::string team = PageOf(t, "Tarn_Mk 2.htm");
    EXPECT_NE(Find(team, "<IMG SRC=\"tarn.jpg\">"), -1);
    EXPECT_EQ(Find(team, "Chassis"), -1);
    EXPECT_NE(Find(team, "<H2>Personnel</H2>"), -1);

    // Without its template nothing is written and the link is empty.
    std::filesystem::remove(t.DataDir() / "vehicle.htm");
    EXPECT_EQ(vehicle.WriteHTMLPage(&database), "");
}
