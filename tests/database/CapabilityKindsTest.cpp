// What the capability kinds and the munitions answer: traverse steps of an
// indirect-fire gun, what a turret sees, holds and links, the kinds' and
// the munitions' page sections, and the munition capability look-ups.
#include "EquipmentTestSupport.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/KDRDatabase.h"
#include "database/VCapIndirectFire.h"
#include "database/VCapKinds.h"
#include "database/VCapTurret.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{
constexpr float PI = 3.14159265f;
const CString FONT = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";

CString Link(const char* target, const char* label)
{
    return FONT + "<A HREF=\"" + target + "\">" + label + "</A></FONT></FONT><BR>\r\n";
}

// One-line templates, each showing every tag of its section.
void WriteKindTemplates(CDatabaseTestApp& t)
{
    WriteTemplates(t);
    const char* const templates[][2] = {
        {"FDC.htm", "[fdc *highAngle*|*maxNumberOfGuns*|*gunTypes*]"},
        {"smoker.htm", "[smoker *radius*|*timeToLive*|*percentIR*|*burstRelease*|*numberOfSmoke*|*timeToRelease*|"
                       "*totalTime*]"},
        {"breacher.htm", "[breacher *breachSpeed*|*breachWidth*|*disableOdds*|*obstacleList*]"},
        {"turret.htm", "[turret *turnSpeed*|*leftLimit*|*rightLimit*|*height*|*length*|*width*]"
                       "*turretWeapons**percentKillArray*"},
        {"observer.htm", "[observer *range*|*movingRange*|*percentIR*|*percentNightVision*|*coaxial*]"},
        {"indirectFire.htm", "[if *accuracy*|*leftLimit*|*rightLimit*|*minRange*|*haYesNo*]<TABLE>*ifAmmo*</TABLE>"},
        {"ifAmmoCarry.htm", "[carry]<TABLE>*ifAmmo*</TABLE>"},
        {"ifAmmo.htm", "<HTML><BODY>[ammo *name*|*range*|*munitionType*|*blastRadius*|*lethality*]"
                       "*attributeList**attributes*</BODY></HTML>"},
        {"ifChem.htm", "[chem *radius*|*density*|*duration*]"},
        {"ifFASCAM.htm", "[fascam *density*|*length*|*width*|*limitedDuration*|*duration*]"},
        {"ifSmoke.htm", "[smoke *radius*|*duration*|*percentIR*]"},
        {"ifIllum.htm", "[illum *radius*|*duration*|*percentIR*]"},
        {"ifPGM.htm", "[pgm *footPrint*|*laserTime*|*maxAngleT*]"},
    };
    for (const auto& entry : templates)
    {
        const std::string section = entry[1];
        t.WriteText(t.DataDir() / entry[0],
                    section.rfind("<HTML>", 0) == 0 ? section : "<HTML><BODY>" + section + "</BODY></HTML>");
    }
}

// A database with a weapon list of two and a vehicle list whose munitions
// are the given ones.
std::unique_ptr<CKDRDatabase> LoadDatabase(CDatabaseTestApp& t, std::initializer_list<CIFAmmo*> munitions)
{
    WriteWeaponList(t, "two.wep", {"Gun", "Mg"});
    CVehicleArray vehicles;
    vehicles.m_strWeaponListName = "two.wep";
    vehicles.Add(MakeVehicle("Tank", {0}, {50, 0}));
    for (CIFAmmo* pAmmo : munitions)
        vehicles.GetAmmo()->Add(pAmmo);
    WriteList(t, "two.veh", vehicles);
    auto pDatabase = std::make_unique<CKDRDatabase>();
    t.HandDirectories(*pDatabase);
    pDatabase->m_strVehicleList = "two.veh";
    EXPECT_TRUE(pDatabase->ReloadLists());
    return pDatabase;
}

CIFAmmo* MakeAmmo(const char* name, const char* qualifier, int type)
{
    auto* pAmmo = new CIFAmmo;
    pAmmo->m_strName = name;
    pAmmo->m_strQualifier = qualifier;
    pAmmo->m_nMunitionType = type;
    return pAmmo;
}
}  // namespace

TEST(CapabilityKinds, TraverseStepsCountHundredsOfMilsOutsideTheArc)
{
    CVCapIndirectFire gun;
    gun.m_nLeftLimit = 0;
    gun.m_nRightLimit = 800;
    struct Case
    {
        float heading;
        int direction;
        int steps;
    };
    const Case plain[] = {
        {0.0f, 400, 0},     {0.0f, 1000, 3},    {0.0f, 800, 0},
        {0.0f, 0, 0},       {0.0f, 801, 1},     {PI / 2, 1000, 7},  // the arc is 1600..2400
        {PI / 2, 2500, 2},  {-PI / 2, 4600, 3},                     // -1600 mils folds to 4800
        {-PI / 2, 5000, 0}, {2 * PI, 900, 2},   {4 * PI, 900, 2},   // whole circles fold away
        {97.0f, 3704, 2},                                           // 15 circles and 2803 mils: the arc is 2803..3603
    };
    for (const Case& c : plain)
        EXPECT_EQ(gun.GetTraverseSteps(c.heading, c.direction), c.steps) << c.heading << " " << c.direction;
    // A heading of 10^30 radians folds at once instead of looping for ever;
    // whatever heading it lands on, the answer is a count around the circle.
    const int huge = gun.GetTraverseSteps(1.0e30f, 900);
    EXPECT_GE(huge, 0);
    EXPECT_LE(huge, 64);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
        EXPECT_EQ(gun.GetTraverseSteps(bad, 3000), 0);

    CVCapIndirectFire unlimited;
    unlimited.m_nRightLimit = 800;  // left stays unset
    EXPECT_EQ(unlimited.GetTraverseSteps(0.0f, 3000), 0);
    gun.m_bAllRound = TRUE;
    EXPECT_EQ(gun.GetTraverseSteps(0.0f, 3000), 0);

    // Across north: left -1600 (4800) to right +1600.
    CVCapIndirectFire north;
    north.m_nLeftLimit = -1600;
    north.m_nRightLimit = 1600;
    const Case across[] = {
        {0.0f, 6000, 0}, {0.0f, 4800, 0}, {0.0f, 0, 0},     {0.0f, 1600, 0},
        {0.0f, 1700, 2}, {0.0f, 4700, 2}, {0.0f, 3200, 17}, {0.0f, 4000, 9},
    };
    for (const Case& c : across)
        EXPECT_EQ(north.GetTraverseSteps(c.heading, c.direction), c.steps) << c.direction;
}

TEST(CapabilityKinds, ATurretSeesHoldsAndLinksWhatItCarries)
{
    auto* pTurret = new CVCapTurret;
    auto* pObserver = new CVCapObserver;
    pObserver->m_nPercentIR = 40;
    pObserver->m_nPercentNightVision = 60;
    pTurret->GetCapabilities()->Add(pObserver);
    auto* pInfrared = MakeMount(0);
    pInfrared->m_nPercentIR = 50;
    auto* pNight = MakeMount(1);
    pNight->m_nPercentNV = 30;
    pTurret->GetMounts()->Add(pInfrared);
    pTurret->GetMounts()->Add(pNight);
    EXPECT_EQ(pTurret->GetSightPercent(TRUE), 50);
    EXPECT_EQ(pTurret->GetSightPercent(FALSE), 60);
    EXPECT_EQ(pTurret->WriteHTMLLink(nullptr), Link("#turret", "Turret") + Link("#observer", "Laser Observer"));

    CVehicle tank;
    tank.m_fHeight = 2.0f;
    pTurret->m_fHeight = 0.75f;
    tank.GetCapabilities()->Add(pTurret);
    EXPECT_EQ(tank.GetMaxSightPercent(false), 60);
    EXPECT_FLOAT_EQ(tank.GetTotalHeight(), 2.75f);
    // Only the top-level kinds name an unidentified vehicle.
    EXPECT_EQ(tank.GetIdentifiedName(), "Unidentified vehicle");
    EXPECT_EQ(tank.FindCapability(VCAP_OBSERVER), pObserver);

    // A turret holding a dismount does not make the vehicle a dismount.
    CVehicle carrier;
    auto* pHolder = new CVCapTurret;
    pHolder->GetCapabilities()->Add(new CVCapDismount);
    carrier.GetCapabilities()->Add(pHolder);
    EXPECT_NE(carrier.GetIdentifiedName(), "Unidentified dismount");
    EXPECT_EQ(pHolder->GetTypeMask(), 0x3);
    EXPECT_EQ(carrier.GetKindCode(), CVehicle::kKindDismount);  // the mask sees inside

    CVCapTurret empty;
    EXPECT_EQ(empty.WriteHTMLLink(nullptr), Link("#turret", "Turret"));
    EXPECT_EQ(empty.GetTypeMask(), VCAP_TURRET);
    EXPECT_FLOAT_EQ(empty.GetVolume(), 1.0f);
}

TEST(CapabilityKinds, KindSectionsFillTheirTemplates)
{
    CDatabaseTestApp t;
    WriteKindTemplates(t);
    std::unique_ptr<CKDRDatabase> pDatabase = LoadDatabase(t, {MakeAmmo("M1", "105mm", MUNITION_HE)});

    CVCapFDC fdc;
    fdc.m_nFireAngle = 2;
    fdc.m_gunTypes.AddTail("Mosk mortar carrier");
    EXPECT_EQ(fdc.WriteHTMLPage(pDatabase.get()),
              "[fdc Both|No Maximum|" + Link("Mosk mortar carrier.htm", "Mosk mortar carrier") + "]");
    fdc.m_nFireAngle = 1;
    fdc.m_nMaxNumberOfGuns = 4;
    EXPECT_EQ(fdc.WriteHTMLPage(pDatabase.get()).Left(25), "[fdc High Angle Fire|4|<F");

    CVCapSmoker smoker;
    smoker.m_fRadius = 2.5f;
    smoker.m_nNumberOfSmoke = 10;
    smoker.m_nTimeToRelease = 45;
    EXPECT_EQ(smoker.WriteHTMLPage(pDatabase.get()), "[smoker 25.00|0|0|NO|N/A|45|8]");
    smoker.m_bBurstRelease = TRUE;
    EXPECT_EQ(smoker.WriteHTMLPage(pDatabase.get()), "[smoker 25.00|0|0|YES|10|N/A|N/A]");

    CVCapBreacher breacher;
    breacher.m_nObstacleTypes = 0xF;
    breacher.m_nBreachWidth = 3;
    breacher.m_fBreachSpeed = 1.5f;
    EXPECT_EQ(breacher.WriteHTMLPage(pDatabase.get()),
              "[breacher 1.50|30|0|" + FONT + "Mines</FONT></FONT><BR>\r\n" + FONT + "Wire</FONT></FONT><BR>\r\n" +
                  FONT + "Tank Ditches</FONT></FONT><BR>\r\n" + FONT + "Road Craters</FONT></FONT><BR>\r\n]");
    EXPECT_EQ(MakeObstacleList(0), "");

    CVCapIndirectFire gun;
    gun.m_nRightLimit = 800;
    gun.m_ammo = {{0, 40}, {7, 5}};  // the second names no munition
    const CString gunPage = gun.WriteHTMLPage(pDatabase.get());
    EXPECT_EQ(gunPage.Find("[if 100.00|none|800|none|No]<TABLE><TR>"), 0) << gunPage.GetString();
    EXPECT_NE(gunPage.Find("<A HREF=\"M1 (105mm).htm\">M1 (105mm)</A>"), -1) << gunPage.GetString();
    EXPECT_NE(gunPage.Find(">40</FONT>"), -1);
    EXPECT_EQ(gunPage.Find(">5</FONT>"), -1);
    EXPECT_EQ(gun.WriteHTMLPage(nullptr), "");

    CVCapIFAmmoCarrier carrier;
    carrier.m_ammo = {{0, 60}};
    EXPECT_NE(carrier.WriteHTMLPage(pDatabase.get()).Find(">60</FONT>"), -1);
    CKDRDatabase none;
    EXPECT_EQ(carrier.WriteHTMLPage(&none), "");

    // A turret's section: its figures, weapons and kill table, then what it holds.
    CVCapTurret turret;
    turret.GetMounts()->Add(MakeMount(1, 500));
    turret.GetKillPercentages()->Add(new CWeaponPercentages(0, 0, 0, 0, 0));
    turret.GetKillPercentages()->Add(new CWeaponPercentages(30, 0, 0, 0, 0));
    auto* pObserver = new CVCapObserver;
    pObserver->m_nRange = 300;
    turret.GetCapabilities()->Add(pObserver);
    const CString turretPage = turret.WriteHTMLPage(pDatabase.get());
    EXPECT_EQ(turretPage.Find("[turret 0|none|none|1.00|1.00|1.00]<TABLE>"), 0) << turretPage.GetString();
    EXPECT_NE(turretPage.Find("Mg.htm"), -1);
    EXPECT_NE(turretPage.Find(">30</FONT>"), -1);
    EXPECT_NE(turretPage.Find("[observer 3000|0|0|0|NO]"), -1) << turretPage.GetString();
}

TEST(CapabilityKinds, MunitionPagesAndTheirCapabilities)
{
    CDatabaseTestApp t;
    WriteKindTemplates(t);
    CIFAmmo* pHE = MakeAmmo("M1", "105mm", MUNITION_HE);
    pHE->m_nRange = 250;
    pHE->m_nBlastRadius = 4;
    pHE->m_fLethality = 0.35f;
    CIFAmmo* pOdd = MakeAmmo("Odd", "x", 0x30);
    CIFAmmo* pMixed = MakeAmmo("Mixed", "155mm", MUNITION_FASCAM);
    pMixed->GetCapabilities()->Add(new CIFCapSmoke);
    auto* pScatter = new CIFCapFASCAM;
    pScatter->m_nDuration = 300;
    pScatter->m_nLength = 20;
    pMixed->GetCapabilities()->Add(pScatter);
    CIFAmmo* pGas = MakeAmmo("Gas", "155mm", MUNITION_CHEMICAL);
    auto* pChem = new CIFCapChem;
    pChem->m_nDuration = 119;
    pChem->m_nDensity = 25;
    pChem->m_nRadius = 10;
    pGas->GetCapabilities()->Add(pChem);
    CIFAmmo* pFlare = MakeAmmo("Flare", "81mm", MUNITION_ILLUM);
    pFlare->GetCapabilities()->Add(new CIFCapIllum);
    std::unique_ptr<CKDRDatabase> pDatabase = LoadDatabase(t, {pHE, pOdd, pMixed, pGas, pFlare});

    CIFAmmo* pLoaded = pDatabase->GetIFAmmo(0);
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_EQ(pLoaded->GetDisplayName(), "M1 (105mm)");
    EXPECT_EQ(pLoaded->WritePage(pDatabase.get()), Link("M1 (105mm).htm", "M1 (105mm)"));
    const std::string page = CDatabaseTestApp::ReadText(t.SavegameDir() / "M1 (105mm).htm");
    EXPECT_EQ(page.find("[ammo M1 (105mm)|2500|HE|40|35.00]<P ALIGN"), 0u) << page;
    EXPECT_NE(page.find("<B>None</B>"), std::string::npos);  // no capability
    EXPECT_EQ(pDatabase->GetIFAmmo(1)->GetMunitionTypeText(), "");

    pDatabase->GetIFAmmo(2)->WritePage(pDatabase.get());
    const std::string mixed = CDatabaseTestApp::ReadText(t.SavegameDir() / "Mixed (155mm).htm");
    EXPECT_NE(mixed.find("[fascam 0|200|0|NO|N/A]"), std::string::npos) << mixed;
    EXPECT_NE(mixed.find("<A HREF=\"#smoke\">Smoke</A>"), std::string::npos);
    pDatabase->GetIFAmmo(3)->WritePage(pDatabase.get());
    const std::string gas = CDatabaseTestApp::ReadText(t.SavegameDir() / "Gas (155mm).htm");
    EXPECT_NE(gas.find("[chem 100|2.50|1]"), std::string::npos) << gas;
    EXPECT_NE(gas.find("<A HREF=\"#chem\">Chemical Agent</A>"), std::string::npos);

    // Look-ups by capability type.
    const CIFAmmoCapArray* pCaps = pDatabase->GetIFAmmo(2)->GetCapabilities();
    EXPECT_EQ(pCaps->FindByType(IFCAP_PGM), nullptr);
    int nFootPrint = 0;
    EXPECT_FALSE(pDatabase->GetIFAmmo(2)->GetPGMFootPrint(&nFootPrint));
    EXPECT_EQ(nFootPrint, kUnset);
    const CIFAmmoCapArray* pFlareCaps = pDatabase->GetIFAmmo(4)->GetCapabilities();
    ASSERT_NE(pFlareCaps->FindByType(IFCAP_ILLUM), nullptr);
    EXPECT_EQ(pFlareCaps->FindByType(IFCAP_SMOKE), nullptr);
    EXPECT_EQ(pFlareCaps->FindByType(IFCAP_ILLUM)->GetName(), "Illum");
}

TEST(CapabilityKinds, MunitionChecksReportUnknownSoundsAndBursts)
{
    CIFAmmoArray ammo;
    ammo.Add(MakeAmmo("Quiet", "a", MUNITION_HE));
    CString report = "before";
    EXPECT_FALSE(ammo.CheckGraphics(report, nullptr));
    EXPECT_FALSE(ammo.CheckSounds(report));
    EXPECT_EQ(report, "before");

    CIFAmmo* pLoud = MakeAmmo("Loud", "b", MUNITION_HE);
    pLoud->m_strBurstGraphic = "Burst";
    pLoud->m_strSplashSound = "boom";
    ammo.Add(pLoud);
    report.Empty();
    EXPECT_TRUE(ammo.CheckGraphics(report, nullptr));
    EXPECT_EQ(report, "UNDEFINED PIECES FOUND IN INDIRECT FIRE AMMO ARRAY!\r\n\r\n"
                      "The burstGraphic for the ammunition, Loud (b), is undefined\r\n\r\n");
    report.Empty();
    EXPECT_TRUE(ammo.CheckSounds(report));
    EXPECT_EQ(report, "The Indirect Fire Ammo Splash Sound, boom, is undefined\r\n");

    // The kinds' own opening words.
    CVCapEngineer engineer;
    engineer.m_strBreachingGraphic = "Dig";
    engineer.m_strBreachSound = "dig";
    report.Empty();
    EXPECT_TRUE(engineer.CheckGraphics(report, nullptr));
    EXPECT_TRUE(engineer.CheckSounds(report));
    EXPECT_EQ(report, "The Engineer Breaching Graphic , Dig, is undefined\r\n"
                      "The Engineer Breach Sound, dig, is undefined\r\n");
    CVCapIndirectFire gun;
    gun.m_strMuzzleFlash[1] = "Flash";
    report.Empty();
    EXPECT_TRUE(gun.CheckGraphics(report, nullptr));
    EXPECT_EQ(report, "The Indirect Fire Muzzle Flash Graphic 2, Flash, is undefined\r\n");
}
