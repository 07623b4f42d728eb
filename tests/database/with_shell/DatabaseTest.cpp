// The equipment database: loading and replacing its lists with their
// questions, keeping the vehicles fitted to the weapons, failed loads that
// change nothing, the definition reports, the look-ups, and the pages it
// writes and takes away again.
#include "database/EquipmentTestSupport.h"

#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "database/PieceArray.h"
#include "database/VehicleSpecsDlg.h"
#include "platform/ui/PageView.h"
#include "view/Sound.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
const char* const WARNING = "Warning!";

// A vehicle list naming its weapon list, each vehicle with mounts of
// weapons 0 to 2 and the given number of kill records.
void WriteVehicleList(CDatabaseTestApp& t, const char* fileName, const char* weaponList,
                      std::initializer_list<const char*> names, int killRecords = 0)
{
    CVehicleArray vehicles;
    vehicles.m_strVehicleListName = fileName;
    vehicles.m_strWeaponListName = weaponList;
    for (const char* name : names)
    {
        CVehicle* pVehicle = MakeVehicle(name, {0, 1, 2, 2}, {});
        for (int i = 0; i < killRecords; ++i)
            pVehicle->GetKillPercentages()->Add(new CWeaponPercentages(10 + i, 0, 0, 0, 0));
        vehicles.Add(pVehicle);
    }
    WriteList(t, fileName, vehicles);
}

void ExpectFitted(const CKDRDatabase& database, int weapons)
{
    ASSERT_NE(database.GetVehicleArray(), nullptr);
    for (int i = 0; i < database.GetVehicleCount(); ++i)
    {
        const CVehicle* pVehicle = database.GetVehicle(i);
        EXPECT_EQ(pVehicle->GetKillPercentages()->GetSize(), weapons) << pVehicle->m_strName;
        for (int j = 0; j < pVehicle->GetChassisMounts()->GetSize(); ++j)
            EXPECT_LT(pVehicle->GetChassisMounts()->GetAt(j)->m_nWeapon, weapons) << pVehicle->m_strName;
    }
}

// A sound list as its file lays it out: one vehicle sound, one weapon sound.
std::vector<BYTE> SoundListBytes(const char* fileName)
{
    CScenarioBytes b;
    b.Word(1);
    NewClass(b, "CSound");
    b.Str("engine");
    b.Word(0);
    b.Word(1);
    OldClass(b, 1);
    b.Str("gun");
    b.Str(fileName);
    return b.Get();
}
}  // namespace

TEST(Database, AScenarioNamingNoListLoadsNone)
{
    CDatabaseTestApp t;
    CKDRDatabase database;
    t.HandDirectories(database);
    EXPECT_TRUE(database.ReloadLists());
    EXPECT_FALSE(database.HasVehicleList());
    EXPECT_FALSE(database.HasWeaponList());
    EXPECT_EQ(database.GetPieceArray(), nullptr);
    EXPECT_EQ(database.GetVehicleCount(), 0);
    EXPECT_EQ(database.GetVehicle(0), nullptr);
    EXPECT_TRUE(t.Ui().GetShown().empty());
}

TEST(Database, TheVehiclesFollowTheWeaponListHeld)
{
    CDatabaseTestApp t;
    WriteWeaponList(t, "three.wep", {"A", "B", "C"});
    WriteWeaponList(t, "two.wep", {"A", "B"});
    WriteVehicleList(t, "list.veh", "three.wep", {"Tank", "Carrier"}, 1);

    // Names set as a scenario gives them: the vehicles load against the
    // three weapons without a question.
    CKDRDatabase database;
    t.HandDirectories(database);
    database.m_strWeaponList = "three.wep";
    database.m_strVehicleList = "list.veh";
    ASSERT_TRUE(database.ReloadLists());
    EXPECT_TRUE(t.Ui().GetShown().empty());
    EXPECT_EQ(database.GetVehicleCount(), 2);
    ExpectFitted(database, 3);
    EXPECT_EQ(database.GetVehicle(0)->GetKillPercentages()->GetAt(0)->m_nFront, 10);
    EXPECT_EQ(database.GetVehicle(0)->GetChassisMounts()->GetSize(), 4);

    // Two weapons: every third record and every mount of weapon 2 go.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current weapon list.", IDOK);
    ASSERT_TRUE(database.LoadWeaponList("two.wep"));
    ExpectFitted(database, 2);
    EXPECT_EQ(database.GetVehicle(1)->GetChassisMounts()->GetSize(), 2);
    EXPECT_EQ(database.m_strWeaponList, "two.wep");
    EXPECT_EQ(database.GetVehicleArray()->GetWeaponListName(), "two.wep");
    EXPECT_EQ(t.Ui().GetShown().back().type, static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));

    // Declined, the weapons stay.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current weapon list.", IDCANCEL);
    EXPECT_FALSE(database.LoadWeaponList("three.wep"));
    EXPECT_EQ(database.GetWeaponArray()->GetSize(), 2);
    EXPECT_EQ(database.m_strWeaponList, "two.wep");
}

TEST(Database, AVehicleListNamingOtherWeaponsAsksWhetherToLoadThem)
{
    CDatabaseTestApp t;
    WriteWeaponList(t, "three.wep", {"A", "B", "C"});
    WriteWeaponList(t, "two.wep", {"A", "B"});
    WriteVehicleList(t, "three.veh", "three.wep", {"Tank"});
    WriteVehicleList(t, "two.veh", "two.wep", {"Scout"});

    // With no weapons held, the list's own weapons load, unasked.
    CKDRDatabase database;
    t.HandDirectories(database);
    ASSERT_TRUE(database.LoadVehicleList("three.veh"));
    EXPECT_TRUE(t.Ui().GetShown().empty());
    EXPECT_EQ(database.m_strWeaponList, "three.wep");
    EXPECT_EQ(database.m_strVehicleList, "three.veh");
    ExpectFitted(database, 3);

    // Another weapon list answered No: the weapons stay and the vehicles fit them.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current vehicle list.", IDOK);
    t.Ui().ExpectMessage(WARNING, "Do you want to reload the weapon list.", IDNO);
    ASSERT_TRUE(database.LoadVehicleList("two.veh"));
    EXPECT_EQ(t.Ui().GetShown().back().type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(database.m_strWeaponList, "three.wep");
    EXPECT_EQ(database.GetWeaponArray()->GetSize(), 3);
    EXPECT_EQ(database.GetVehicle(0)->m_strName, "Scout");
    ExpectFitted(database, 3);

    // Answered Yes: they load (after their own question).
    t.Ui().ExpectMessage(WARNING, "This will destroy the current vehicle list.", IDOK);
    t.Ui().ExpectMessage(WARNING, "Do you want to reload the weapon list.", IDYES);
    t.Ui().ExpectMessage(WARNING, "This will destroy the current weapon list.", IDOK);
    ASSERT_TRUE(database.LoadVehicleList("two.veh"));
    EXPECT_EQ(database.m_strWeaponList, "two.wep");
    ExpectFitted(database, 2);

    // Naming the weapons held asks nothing about them.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current vehicle list.", IDOK);
    ASSERT_TRUE(database.LoadVehicleList("two.veh"));
    EXPECT_TRUE(t.Ui().IsScriptDone());
}

TEST(Database, CancelInAFileDialogFailsTheLoadAndKeepsTheOldList)
{
    CDatabaseTestApp t;
    WriteWeaponList(t, "three.wep", {"A", "B", "C"});
    WriteVehicleList(t, "three.veh", "three.wep", {"Tank"});
    CKDRDatabase database;
    t.HandDirectories(database);

    // Nothing held: the dialog of each kind, cancelled, fails the load.
    t.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(database.LoadWeaponList("gone.wep"));
    EXPECT_EQ(t.Ui().GetShown().back().file.defaultExt, "wep");
    EXPECT_EQ(t.Ui().GetShown().back().file.fileName, "*.wep");
    t.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(database.LoadVehicleList("gone.veh"));
    EXPECT_EQ(t.Ui().GetShown().back().file.defaultExt, "veh");
    EXPECT_TRUE(t.Ui().GetShown().back().file.flags & OFN_HIDEREADONLY);
    EXPECT_FALSE(database.HasWeaponList());
    EXPECT_FALSE(database.HasVehicleList());

    // A chosen file that does not open either: asked again, and a cancel
    // then still ends the load rather than retrying the failed name.
    ASSERT_TRUE(database.LoadVehicleList("three.veh"));
    t.Ui().ExpectMessage(WARNING, "This will destroy the current vehicle list.", IDOK);
    t.Ui().ExpectFileDialog(TRUE, (t.DataDir() / "nothere.veh").string().c_str());
    t.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(database.LoadVehicleList("gone.veh"));
    EXPECT_EQ(database.m_strVehicleList, "three.veh");
    EXPECT_EQ(database.GetVehicle(0)->m_strName, "Tank");

    // A file chosen in the data directory is named as a scenario names it.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current weapon list.", IDOK);
    t.Ui().ExpectFileDialog(TRUE, (t.DataDir() / "three.wep").string().c_str());
    ASSERT_TRUE(database.LoadWeaponList("gone.wep"));
    EXPECT_EQ(database.m_strWeaponList, "three.wep");
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
}

TEST(Database, AListThatFailsWhileReadIsDroppedWhole)
{
    CDatabaseTestApp t;
    WriteWeaponList(t, "three.wep", {"A", "B", "C"});
    WriteVehicleList(t, "three.veh", "three.wep", {"Tank"});
    CKDRDatabase database;
    t.HandDirectories(database);
    database.m_strWeaponList = "three.wep";
    database.m_strVehicleList = "three.veh";
    ASSERT_TRUE(database.ReloadLists());
    const CWeaponArray* pWeapons = database.GetWeaponArray();
    const CVehicleArray* pVehicles = database.GetVehicleArray();

    const std::string weapons = CDatabaseTestApp::ReadText(t.DataDir() / "three.wep");
    t.WriteText(t.DataDir() / "cut.wep", weapons.substr(0, weapons.size() - 5));
    const std::string vehicles = CDatabaseTestApp::ReadText(t.DataDir() / "three.veh");
    t.WriteText(t.DataDir() / "cut.veh", vehicles.substr(0, vehicles.size() / 2));
    const CString cutWeapons = JoinPath(t.App().m_strDataDir, "cut.wep");
    const CString cutVehicles = JoinPath(t.App().m_strDataDir, "cut.veh");

    t.Ui().ExpectMessage(WARNING, "This will destroy the current weapon list.", IDOK);
    t.Ui().ExpectMessage(GetMessageBoxCaption(),
                         "Reached the end of the file while reading an object in '" + cutWeapons + "'.", IDOK);
    EXPECT_FALSE(database.LoadWeaponList("cut.wep"));
    t.Ui().ExpectMessage(WARNING, "This will destroy the current vehicle list.", IDOK);
    t.Ui().ExpectMessage(GetMessageBoxCaption(),
                         "Reached the end of the file while reading an object in '" + cutVehicles + "'.", IDOK);
    EXPECT_FALSE(database.LoadVehicleList("cut.veh"));

    // The old lists, their flags and their names stay.
    EXPECT_EQ(database.GetWeaponArray(), pWeapons);
    EXPECT_EQ(database.GetVehicleArray(), pVehicles);
    EXPECT_EQ(database.m_strWeaponList, "three.wep");
    EXPECT_EQ(database.m_strVehicleList, "three.veh");
    EXPECT_EQ(pWeapons->GetSize(), 3);
    ExpectFitted(database, 3);
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);

    // In a scenario the failed list stops the load.
    CKDRDatabase fresh;
    t.HandDirectories(fresh);
    fresh.m_strWeaponList = "cut.wep";
    fresh.m_strVehicleList = "three.veh";
    t.Ui().ExpectMessage(GetMessageBoxCaption(),
                         "Reached the end of the file while reading an object in '" + cutWeapons + "'.", IDOK);
    EXPECT_FALSE(fresh.ReloadLists());
    EXPECT_FALSE(fresh.HasWeaponList());
    EXPECT_FALSE(fresh.HasVehicleList());
}

TEST(Database, ASoundListChangeAsksOnlyWhatItMust)
{
    CDatabaseTestApp t;
    const std::vector<BYTE> bytes = SoundListBytes("list.smg");
    t.WriteText(t.DataDir() / "list.smg", std::string(bytes.begin(), bytes.end()));
    CKDRDatabase database;
    t.HandDirectories(database);
    delete t.App().m_pSoundManager;
    t.App().m_pSoundManager = nullptr;

    ASSERT_TRUE(database.LoadSoundList("list.smg"));
    EXPECT_TRUE(t.Ui().GetShown().empty());
    ASSERT_NE(t.App().m_pSoundManager, nullptr);
    EXPECT_EQ(database.m_strSoundList, "list.smg");
    EXPECT_EQ(t.App().m_pSoundManager->FindSound(CSoundManager::kindVehicle, "engine"), 0);

    // Neither vehicles nor weapons: one question only.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current sound list.", IDOK);
    ASSERT_TRUE(database.LoadSoundList("list.smg"));
    EXPECT_EQ(t.Ui().GetShown().size(), 1u);

    // With weapons held, the second question comes too; Cancel keeps all.
    WriteWeaponList(t, "one.wep", {"A"});
    ASSERT_TRUE(database.LoadWeaponList("one.wep"));
    CSoundManager* pBefore = t.App().m_pSoundManager;
    t.Ui().ExpectMessage(WARNING, "This will destroy the current sound list.", IDOK);
    t.Ui().ExpectMessage(WARNING,
                         "You are about to change your the database Sound List.\nUndefined sounds will not be erased.",
                         IDCANCEL);
    EXPECT_FALSE(database.LoadSoundList("list.smg"));
    EXPECT_EQ(t.App().m_pSoundManager, pBefore);
}

TEST(Database, UndefinedSoundsAndGraphicsAreReportedOnceEach)
{
    CDatabaseTestApp t;
    CWeaponArray weapons;
    weapons.m_strFileName = "one.wep";
    weapons.Add(MakeWeapon("Gun", 3));
    weapons.Add(MakeWeapon("Quiet", 1));
    weapons.GetAt(0)->m_strWeaponSound = "bang";
    weapons.GetAt(1)->m_strWeaponSound = "gun";
    WriteList(t, "one.wep", weapons);
    CVehicleArray vehicles;
    vehicles.m_strWeaponListName = "one.wep";
    CVehicle* pTank = MakeVehicle("Tarn", {0}, {});
    pTank->m_strPiece = "Tank";
    pTank->m_strHitGraphic = "Tank Hit";
    pTank->m_strDestroyedGraphic = "";
    pTank->m_strNatoPiece = "Armour";
    pTank->m_strVehicleSound = "engine";
    pTank->m_strDestroyedSound = "crash";
    vehicles.Add(pTank);
    WriteList(t, "one.veh", vehicles);
    const std::vector<BYTE> sounds = SoundListBytes("list.smg");
    t.WriteText(t.DataDir() / "list.smg", std::string(sounds.begin(), sounds.end()));
    t.WriteSheet("tank.bmp", 1, 1);
    t.WriteSheet("nato.bmp", 2, 1);
    {
        CPieceArray pieces;
        pieces.SetFileName("units.pca");
        pieces.Add(new CPiece("tank.bmp", "Tank", 1, 1, 1, 0));
        CStringArray members;
        members.Add("Armour");
        members.Add("Tank Hit");  // a member only: not a single piece
        pieces.Add(new CPieceList("nato.bmp", "NATO", 1, 2, 2, 0, &members));
        WriteList(t, "units.pca", pieces);
    }

    CKDRDatabase database;

    t.HandDirectories(database);
    ASSERT_TRUE(database.LoadVehicleList("one.veh"));
    t.Ui().ExpectMessage(
        WARNING, "You are about to change your the database Sound List.\nUndefined sounds will not be erased.", IDOK);
    ASSERT_TRUE(database.LoadSoundList("list.smg"));
    ASSERT_EQ(CReportDlg::GetOpenReports().size(), 1u);
    EXPECT_EQ(CReportDlg::GetOpenReports().back()->GetText(),
              "UNDEFINED SOUNDS FOUND IN VEHICLE ARRAY!\r\n\r\n"
              "The Destroyed Sound for the vehicle, Tarn, is undefined\r\n\r\n"
              "UNDEFINED SOUNDS FOUND IN WEAPON ARRAY!\r\n\r\n"
              "The Weapon Sound for the weapon, Gun, is undefined\r\n\r\n");

    t.Ui().ExpectMessage(WARNING, "You are about to change the Piece Array.\nUndefined peices will not be erased.",
                         IDOK);
    ASSERT_TRUE(database.LoadPieceArray("units.pca"));
    EXPECT_EQ(database.m_strPieceList, "units.pca");
    ASSERT_EQ(CReportDlg::GetOpenReports().size(), 2u);
    EXPECT_EQ(CReportDlg::GetOpenReports().back()->GetText(),
              "UNDEFINED PIECES FOUND IN VEHICLE ARRAY!\r\n\r\n"
              "The Hit Graphic for the vehicle, Tarn, is undefined\r\n\r\n");

    // Look-ups of the pieces by vehicle.
    ASSERT_NE(database.GetVehiclePiece(0), nullptr);
    EXPECT_EQ(database.GetVehiclePiece(0)->GetName(), "Tank");
    EXPECT_EQ(database.GetPieceOfVehicle(nullptr), nullptr);
    EXPECT_EQ(database.GetVehicle(-1), nullptr);
    EXPECT_EQ(database.GetVehicle(1), nullptr);
    EXPECT_EQ(database.GetVehiclePiece(1), nullptr);
    pTank = database.GetVehicle(0);
    pTank->m_strPiece = "Armour";  // a list member, not a piece
    EXPECT_EQ(database.GetVehiclePiece(0), nullptr);

    // Nothing undefined: no report and no window.
    pTank->m_strHitGraphic = "Tank";
    pTank->m_strPiece = "Tank";
    EXPECT_EQ(database.BuildGraphicsReport(), "");
    EXPECT_FALSE(database.CheckGraphics());
    EXPECT_EQ(CReportDlg::GetOpenReports().size(), 2u);

    // Replacing the pieces asks first.
    t.Ui().ExpectMessage(WARNING, "This will destroy the current piece array.", IDCANCEL);
    EXPECT_FALSE(database.LoadPieceArray("units.pca"));
}

TEST(Database, PagesAreWrittenUnderSafeNamesAndDeletedWithTheDatabase)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    CWeaponArray weapons;
    weapons.m_strFileName = "w.wep";
    weapons.Add(MakeWeapon("../Gun", 3));
    WriteList(t, "w.wep", weapons);
    CVehicleArray vehicles;
    vehicles.m_strWeaponListName = "w.wep";
    vehicles.Add(MakeVehicle("Tarn/Mk 2", {0}, {40}));
    vehicles.Add(MakeVehicle("Kell", {0}, {60}));
    WriteList(t, "v.veh", vehicles);
    // A page the mission never wrote stays.
    t.WriteText(t.SavegameDir() / "Tarn.htm", "keep");

    auto pDatabase = std::make_unique<CKDRDatabase>();

    t.HandDirectories(*pDatabase);
    pDatabase->m_strVehicleList = "v.veh";
    ASSERT_TRUE(pDatabase->ReloadLists());

    // Before the pages exist the window is not opened.
    pDatabase->ShowVehiclePage(-1);
    EXPECT_FALSE(pDatabase->IsSpecsWindowOpen());

    pDatabase->WriteIndexPage();
    EXPECT_TRUE(pDatabase->ArePagesWritten());
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
    const std::string index = CDatabaseTestApp::ReadText(t.SavegameDir() / "index.htm");
    EXPECT_NE(index.find("<A HREF=\"Tarn_Mk 2.htm\">Tarn/Mk 2</A>"), std::string::npos) << index;
    EXPECT_NE(index.find("<A HREF=\"Kell.htm\">Kell</A>"), std::string::npos) << index;
    EXPECT_NE(index.find("<A HREF=\"_._Gun.htm\">../Gun</A>"), std::string::npos) << index;
    EXPECT_NE(index.find("<H2>Ammunition</H2><H2>Weapons</H2>"), std::string::npos) << index;
    for (const char* page : {"Tarn_Mk 2.htm", "Kell.htm", "_._Gun.htm"})
        EXPECT_TRUE(std::filesystem::exists(t.SavegameDir() / page)) << page;
    const std::string tank = CDatabaseTestApp::ReadText(t.SavegameDir() / "Tarn_Mk 2.htm");
    EXPECT_NE(tank.find("<A HREF=\"_._Gun.htm\">"), std::string::npos);

    // The window opens on the index, or on a vehicle's page.
    pDatabase->ShowVehiclePage(-1);
    ASSERT_TRUE(pDatabase->IsSpecsWindowOpen());
    CPageView* pBrowser = pDatabase->GetSpecsWindow()->GetBrowser();
    EXPECT_EQ(pBrowser->GetLocationName(), "index.htm");
    pDatabase->ShowVehiclePage(0);
    EXPECT_EQ(pBrowser->GetLocationName(), "Tarn_Mk 2.htm");
    pDatabase->ShowVehiclePage(2);
    EXPECT_EQ(pBrowser->GetLocationName(), "index.htm");
    EXPECT_EQ(t.App().m_nAutoScrollHold, 1);

    // The database goes with its window and its pages; nothing else goes.
    pDatabase.reset();
    EXPECT_EQ(t.App().m_nAutoScrollHold, 0);
    for (const char* page : {"index.htm", "Tarn_Mk 2.htm", "Kell.htm", "_._Gun.htm"})
        EXPECT_FALSE(std::filesystem::exists(t.SavegameDir() / page)) << page;
    EXPECT_TRUE(std::filesystem::exists(t.SavegameDir() / "Tarn.htm"));
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
}

TEST(Database, AReplacedListTakesItsPagesAlong)
{
    CDatabaseTestApp t;
    WriteTemplates(t);
    WriteWeaponList(t, "old.wep", {"Old gun"});
    WriteWeaponList(t, "new.wep", {"New gun"});
    CKDRDatabase database;
    t.HandDirectories(database);
    ASSERT_TRUE(database.LoadWeaponList("old.wep"));
    database.WriteIndexPage();
    ASSERT_TRUE(std::filesystem::exists(t.SavegameDir() / "Old gun.htm"));

    t.Ui().ExpectMessage(WARNING, "This will destroy the current weapon list.", IDOK);
    ASSERT_TRUE(database.LoadWeaponList("new.wep"));
    EXPECT_FALSE(std::filesystem::exists(t.SavegameDir() / "Old gun.htm"));

    // Without the index template nothing is written.
    std::filesystem::remove(t.DataDir() / "index.htm");
    CKDRDatabase other;
    t.HandDirectories(other);
    other.WriteIndexPage();
    EXPECT_FALSE(other.ArePagesWritten());
}
