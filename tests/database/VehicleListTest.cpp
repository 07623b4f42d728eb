// Vehicle types and the vehicle list: the "*.veh" layout with its kill
// table, mounts and capabilities first, the fit to a weapon list, and the
// queries the units, hierarchy and conditions ask of a type.
#include "EquipmentTestSupport.h"

#include "database/IFAmmo.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// One vehicle record without its class tag. The classes it meets first are
// numbered from firstIndex on: the kill record's class, its two objects,
// the mount's class and its object.
CScenarioBytes VehicleRecord(unsigned firstIndex, unsigned flag)
{
    CScenarioBytes b;
    b.Word(2);
    NewClass(b, "CWeaponPercentages");
    b.Word(70).Word(10).Word(30).Word(30).Word(5);
    OldClass(b, firstIndex);
    b.Word(0).Word(0).Word(0).Word(0).Word(0);
    b.Word(1);
    NewClass(b, "CVehicleWeapon");
    // ammo, c, left, IR, NV, right, weapon, s, spare B, spare A, suppression
    b.Word(40).Word(1).Word(0xFF9D).Word(80).Word(60).Word(0xFF9D).Word(1).Word(0).Word(3).Word(4).Word(40);
    b.Word(0);  // no capability
    b.Float(65.0f).Float(70.5f).Float(20.25f);
    b.Word(30).Word(12).Word(25);
    b.Str("Tarn main battle tank");
    b.Word(5);
    b.Float(2.4f).Float(3.5f).Float(7.75f);
    b.Word(55).Word(flag).Word(20);
    b.Str("Tank NATO").Str("Tank").Str("Tank Hit").Str("Tank Dead").Str("engine").Str("boom");
    for (unsigned value = 1; value <= 8; ++value)
        b.Word(value);
    b.Str("");
    b.Float(1.5f);
    b.Word(1).Word(0xFFFF);
    return b;
}

CScenarioBytes VehicleListBytes()
{
    CScenarioBytes b;
    b.Word(1);
    NewClass(b, "CVehicle");  // class 1, vehicle 2; the record's classes from 3
    b.Append(VehicleRecord(3, 0));
    b.Word(0);  // no munition
    b.Str("demo.veh").Str("demo.wep");
    return b;
}

std::unique_ptr<CVehicle> ReadRecord(const CScenarioBytes& b, BOOL bFlagBefore)
{
    auto pVehicle = std::make_unique<CVehicle>();
    pVehicle->m_bFlag = bFlagBefore;
    CMemFile in(b.Get());
    CArchive ar(&in, CArchive::load);
    pVehicle->Serialize(ar);
    return pVehicle;
}
}  // namespace

TEST(VehicleList, FileLayoutReadsAndWritesBackTheSameBytes)
{
    CDatabaseTestApp t;
    const CScenarioBytes b = VehicleListBytes();
    t.WriteText(t.DataDir() / "demo.veh", std::string(b.Get().begin(), b.Get().end()));

    CVehicleArray vehicles;
    EXPECT_EQ(vehicles.m_strWeaponListName, "*.wep");
    EXPECT_EQ(vehicles.m_strVehicleListName, "*.veh");
    CString name = "demo.veh";
    ASSERT_TRUE(vehicles.LoadFromFile(name, t.App().m_strDataDir));
    EXPECT_EQ(name, "demo.veh");
    ASSERT_EQ(vehicles.GetSize(), 1);
    EXPECT_EQ(vehicles.GetWeaponListName(), "demo.wep");
    EXPECT_EQ(vehicles.m_strVehicleListName, "demo.veh");
    EXPECT_EQ(vehicles.GetAmmo()->GetSize(), 0);

    const CVehicle* pTank = vehicles.GetAt(0);
    EXPECT_EQ(pTank->m_strName, "Tarn main battle tank");
    EXPECT_FLOAT_EQ(pTank->m_fSprint, 70.5f);
    EXPECT_EQ(pTank->m_nViewRange, 25);
    EXPECT_FLOAT_EQ(pTank->m_fLength, 7.75f);
    EXPECT_FALSE(pTank->m_bFlag);
    EXPECT_EQ(pTank->m_strNatoPiece, "Tank NATO");
    EXPECT_EQ(pTank->m_strDestroyedSound, "boom");
    EXPECT_EQ(pTank->m_nTargetValue, 1);
    EXPECT_EQ(pTank->m_nChemicalValue, 8);
    EXPECT_FLOAT_EQ(pTank->m_fNBCDetectValue, 1.5f);
    EXPECT_EQ(pTank->m_nRoleMask, ROLE_ATTACK);
    EXPECT_EQ(pTank->m_nSpareWord, -1);
    ASSERT_EQ(pTank->GetKillPercentages()->GetSize(), 2);
    EXPECT_EQ(pTank->GetKillPercentages()->GetAt(0)->m_nTop, 5);
    ASSERT_EQ(pTank->GetChassisMounts()->GetSize(), 1);
    const CVehicleWeapon* pMount = pTank->GetChassisMounts()->GetAt(0);
    EXPECT_EQ(pMount->m_nAmmo, 40);
    EXPECT_TRUE(pMount->m_bC);
    EXPECT_FALSE(pMount->m_bS);
    EXPECT_EQ(pMount->m_nLeftLimit, kUnset);
    EXPECT_EQ(pMount->m_nPercentIR, 80);
    EXPECT_EQ(pMount->m_nWeapon, 1);
    EXPECT_EQ(pMount->m_nSpareB, 3);
    EXPECT_EQ(pMount->m_nSpareA, 4);
    EXPECT_EQ(pMount->m_nSuppressionRadius, 40);

    EXPECT_EQ(StoreBytes(vehicles), b.Get());
}

TEST(VehicleList, AZeroFlagWordLeavesTheFlagAsItWas)
{
    EXPECT_FALSE(ReadRecord(VehicleRecord(1, 0), FALSE)->m_bFlag);
    EXPECT_TRUE(ReadRecord(VehicleRecord(1, 0), TRUE)->m_bFlag);
    EXPECT_TRUE(ReadRecord(VehicleRecord(1, 5), FALSE)->m_bFlag);
    // Written back, a set flag is the word 1.
    std::unique_ptr<CVehicle> pSet = ReadRecord(VehicleRecord(1, 5), FALSE);
    EXPECT_EQ(StoreBytes(*pSet), VehicleRecord(1, 1).Get());
}

TEST(VehicleList, ACutOrUnknownFileRaisesTheArchiveErrorAndKeepsTheList)
{
    CDatabaseTestApp t;
    const std::vector<BYTE> whole = VehicleListBytes().Get();
    t.WriteText(t.DataDir() / "demo.veh", std::string(whole.begin(), whole.end()));
    CVehicleArray vehicles;
    CString name = "demo.veh";
    ASSERT_TRUE(vehicles.LoadFromFile(name, t.App().m_strDataDir));

    // A capability kind or a munition this program does not build.
    CScenarioBytes capability;
    capability.Word(1);
    NewClass(capability, "CVehicle");
    capability.Word(0).Word(0).Word(1);
    NewClass(capability, "CVCapHovercraft");
    CScenarioBytes munition;
    munition.Word(0).Word(1);
    NewClass(munition, "CIFRound");
    CScenarioBytes mortar;  // a class the program knows, where a munition belongs
    mortar.Word(0).Word(1);
    NewClass(mortar, "CWeapon");
    mortar.Word(1).Word(1).Word(1).Word(1).Str("x").Word(1).Word(1).Word(1).Str("").Str("").Word(0);
    mortar.Str("m.veh").Str("m.wep");
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        int cause;
    };
    const Case cases[] = {
        {"cut in the middle", std::vector<BYTE>(whole.begin(), whole.begin() + whole.size() / 2),
         CArchiveException::endOfFile},
        {"cut before the weapon list name", std::vector<BYTE>(whole.begin(), whole.end() - 3),
         CArchiveException::endOfFile},
        {"an unknown capability", capability.Get(), CArchiveException::badClass},
        {"an unknown munition", munition.Get(), CArchiveException::badClass},
        {"a weapon among the munitions", mortar.Get(), CArchiveException::badClass},
    };
    for (const Case& c : cases)
    {
        t.WriteText(t.DataDir() / "bad.veh", std::string(c.bytes.begin(), c.bytes.end()));
        CString badName = "bad.veh";
        try
        {
            vehicles.LoadFromFile(badName, t.App().m_strDataDir);
            ADD_FAILURE() << c.what << ": no error";
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, c.cause) << c.what;
        }
        ASSERT_EQ(vehicles.GetSize(), 1) << c.what;
        EXPECT_EQ(vehicles.GetAt(0)->m_strName, "Tarn main battle tank") << c.what;
        EXPECT_EQ(vehicles.m_strVehicleListName, "demo.veh") << c.what;
        EXPECT_EQ(vehicles.GetWeaponListName(), "demo.wep") << c.what;
    }
}

TEST(VehicleList, FittingToAWeaponListCutsMountsAndSizesKillTables)
{
    CVehicleArray vehicles;
    vehicles.Add(MakeVehicle("A", {0, 2, -1, 1, 2}, {10}));
    vehicles.Add(MakeVehicle("B", {}, {10, 20, 30, 40}));

    vehicles.FitToWeaponList(3);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(vehicles.GetAt(i)->GetKillPercentages()->GetSize(), 3);
    EXPECT_EQ(vehicles.GetAt(0)->GetKillPercentages()->GetAt(0)->m_nFront, 10);
    EXPECT_TRUE(vehicles.GetAt(0)->GetKillPercentages()->GetAt(2)->IsAllZero());
    EXPECT_EQ(vehicles.GetAt(1)->GetKillPercentages()->GetAt(2)->m_nFront, 30);

    vehicles.FitToWeaponList(2);
    const CVehicleWeaponArray* pMounts = vehicles.GetAt(0)->GetChassisMounts();
    ASSERT_EQ(pMounts->GetSize(), 3);  // weapon 2 gone twice; -1 stays
    EXPECT_EQ(pMounts->GetAt(0)->m_nWeapon, 0);
    EXPECT_EQ(pMounts->GetAt(1)->m_nWeapon, -1);
    EXPECT_EQ(pMounts->GetAt(2)->m_nWeapon, 1);
    EXPECT_EQ(vehicles.GetAt(1)->GetKillPercentages()->GetSize(), 2);
    EXPECT_EQ(vehicles.GetAt(1)->GetKillPercentages()->GetAt(1)->m_nFront, 20);

    vehicles.FitToWeaponList(0);
    EXPECT_EQ(vehicles.GetAt(0)->GetChassisMounts()->GetSize(), 1);  // only -1
    EXPECT_EQ(vehicles.GetAt(0)->GetKillPercentages()->GetSize(), 0);
}

TEST(VehicleQueries, RoleFlagsMunitionValuesAndKinds)
{
    struct Category
    {
        int mask;
        int category;
    } categories[] = {
        {ROLE_DISMOUNT, CVehicle::kCategoryDismount},
        {ROLE_DISMOUNT | ROLE_TROOP_CARRIER, CVehicle::kCategoryNone},
        {ROLE_RECON | ROLE_ANTI_TANK, CVehicle::kCategoryRecon},
        {ROLE_ANTI_TANK | ROLE_ATTACK, CVehicle::kCategoryAntiTank},
        {ROLE_ATTACK | ROLE_TROOP_CARRIER, CVehicle::kCategoryAttack},
        {0, CVehicle::kCategoryNone},
    };
    for (const Category& c : categories)
        EXPECT_EQ(CVehicle::RoleFlagsToCategory(c.mask), c.category) << c.mask;
    EXPECT_EQ(CVehicle::RoleFlagsToCategory(8), 1);
    EXPECT_EQ(CVehicle::RoleFlagsToCategory(8 | 0x200), 0);
    EXPECT_EQ(CVehicle::RoleFlagsToCategory(32 | 4), 4);

    struct Text
    {
        int mask;
        const char* text;
    } texts[] = {
        {0, ""},
        {ROLE_RECON, "recon"},
        {1 | 2, "attack and artillery"},
        {1 | 2 | 4, "attack, artillery,and anti-tank"},
        {ROLE_C2 | ROLE_OBSERVER | ROLE_SERVICE_SUPPORT | ROLE_INTEL,
         "intel collection, Service Support, C2,and observer"},
        {ROLE_AIR_DEFENSE | ROLE_FIXED_WING, "air defense and fixed wing aircraft"},
    };
    for (const Text& c : texts)
        EXPECT_EQ(CVehicle::RoleFlagsToText(c.mask), c.text) << c.mask;

    CVehicle vehicle;
    vehicle.m_nHEValue = 1;
    vehicle.m_nDPICMValue = 2;
    vehicle.m_nChemicalValue = 3;
    vehicle.m_nNuclearValue = 4;
    vehicle.m_nPGMValue = 5;
    struct Value
    {
        int bit;
        int value;
    } values[] = {{MUNITION_HE, 1},       {MUNITION_HERAP, 1},    {MUNITION_DPICM, 2}, {MUNITION_BBDPICM, 2},
                  {MUNITION_CHEMICAL, 3}, {MUNITION_NUCLEAR, 4},  {MUNITION_PGM, 5},   {MUNITION_SMOKE, -99},
                  {MUNITION_ILLUM, -99},  {MUNITION_FASCAM, -99}, {0x3, -99}};
    for (const Value& c : values)
        EXPECT_EQ(vehicle.GetMunitionValue(c.bit), c.value) << c.bit;
}

TEST(VehicleQueries, CapabilitiesGiveKindNamesSightAndSize)
{
    CVehicle vehicle;
    vehicle.m_fHeight = 2.0f;
    vehicle.m_fWidth = 3.0f;
    vehicle.m_fLength = 5.0f;
    EXPECT_EQ(vehicle.GetKindCode(), CVehicle::kKindGround);
    EXPECT_EQ(vehicle.GetIdentifiedName(), "Unidentified vehicle");
    EXPECT_FLOAT_EQ(vehicle.GetTargetSize(), 30.0f * CVehicle::kTargetSizePerVolume);
    EXPECT_FLOAT_EQ(vehicle.GetTotalHeight(), 2.0f);
    EXPECT_EQ(vehicle.GetMaxSightPercent(true), 0);
    EXPECT_EQ(vehicle.GetCapabilities()->WriteHTMLLinks(nullptr), DB_NONE_PARAGRAPH);
    EXPECT_EQ(vehicle.GetCapabilities()->WriteHTMLPages(nullptr), "");

    // A turret carrying a dismount: the top level is a turret, not a dismount.
    CVehicleCapArray* pCaps = vehicle.GetCapabilities();
    auto* pTurret = new CTestCapability(VCAP_TURRET, "", -20, 4.0f);
    auto* pInside = new CTestCapability(VCAP_DISMOUNT);
    pTurret->Contain(pInside);
    pCaps->Add(pTurret);
    EXPECT_EQ(pTurret->GetTypeMask(), 0x3);
    EXPECT_EQ(pTurret->GetRoleFlags(), 0x3);
    EXPECT_EQ(pCaps->GetTypeBits(), VCAP_TURRET);
    EXPECT_EQ(pCaps->GetUnidentifiedName(), "");
    EXPECT_EQ(vehicle.GetKindCode(), CVehicle::kKindDismount);  // by the mask, contents included
    EXPECT_EQ(vehicle.FindCapability(VCAP_DISMOUNT), pInside);
    EXPECT_EQ(vehicle.FindCapability(VCAP_TURRET), pTurret);
    EXPECT_EQ(vehicle.FindCapability(VCAP_SMOKER), nullptr);
    EXPECT_EQ(pCaps->GetMaxSightPercent(TRUE), 0);  // a negative answer never lowers it below 0
    EXPECT_FLOAT_EQ(vehicle.GetTargetSize(), 34.0f * CVehicle::kTargetSizePerVolume);

    pCaps->Add(new CTestCapability(VCAP_INDIRECT_FIRE, "Unidentified indirect fire vehicle", 45));
    pCaps->Add(new CTestCapability(VCAP_OBSERVER, "Unidentified observer", 30));
    EXPECT_EQ(vehicle.GetIdentifiedName(), "Unidentified indirect fire vehicle");
    vehicle.GetChassisMounts()->Add(MakeMount(0));
    vehicle.GetChassisMounts()->GetAt(0)->m_nPercentIR = 60;
    vehicle.GetChassisMounts()->Add(MakeMount(0));
    vehicle.GetChassisMounts()->GetAt(1)->m_nPercentIR = 30;
    EXPECT_EQ(vehicle.GetChassisMounts()->GetMaxSightPercent(true), 60);
    EXPECT_EQ(vehicle.GetMaxSightPercent(true), 60);
    EXPECT_EQ(vehicle.GetMaxSightPercent(false), 45);

    pCaps->Add(new CTestCapability(VCAP_DISMOUNT));
    EXPECT_EQ(vehicle.GetIdentifiedName(), "Unidentified dismount");
    pCaps->RemoveAll();
    pCaps->Add(new CTestCapability(VCAP_FIXED_WING));
    pCaps->Add(new CTestCapability(VCAP_ROTARY_WING));
    EXPECT_EQ(vehicle.GetKindCode(), CVehicle::kKindFixedWing);
    pCaps->RemoveAt(0);
    EXPECT_EQ(vehicle.GetKindCode(), CVehicle::kKindRotaryWing);
}

TEST(VehicleQueries, EveryCapabilityIsAskedForItsUndefinedNames)
{
    CVehicleCapArray caps;
    EXPECT_EQ(caps.m_typeNames.GetSize(), 15);
    EXPECT_EQ(caps.m_typeNames[0], "Indirect Fire");
    EXPECT_EQ(caps.m_typeNames[1], "Turret");
    EXPECT_EQ(caps.m_typeNames[14], "Mine Layer");
    auto* pFirst = new CTestCapability(VCAP_ENGINEER);
    pFirst->m_strGraphicLine = "The first, a, is undefined\r\n";
    auto* pSecond = new CTestCapability(VCAP_EMPLACE);
    pSecond->m_strGraphicLine = "The second, b, is undefined\r\n";
    caps.Add(pFirst);
    caps.Add(new CTestCapability(VCAP_SMOKER));
    caps.Add(pSecond);
    CString report;
    EXPECT_TRUE(caps.CheckGraphics(report, nullptr));
    EXPECT_EQ(report, "The first, a, is undefined\r\nThe second, b, is undefined\r\n");
    CString sounds;
    EXPECT_FALSE(caps.CheckSounds(sounds));
    EXPECT_EQ(sounds, "");
}
