// A vehicle list laid out by hand with every capability kind and every
// munition kind: it reads, answers what its fields say and writes back the
// same bytes; a bad count, an unknown class or a too-deep nest of turrets
// is refused with the archive's message and the loaded list stays.
#include "EquipmentTestSupport.h"

#include "database/IFAmmo.h"
#include "database/IFAmmoCapability.h"
#include "database/KDRDatabase.h"
#include "database/VCapIndirectFire.h"
#include "database/VCapKinds.h"
#include "database/VCapTurret.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{
const char* const WARNING = "Warning!";
constexpr unsigned UNSET_WORD = 0xFF9D;  // -99
constexpr unsigned MINUS_ONE_WORD = 0xFFFF;

// Writes class tags as the archive numbers them: a class met for the first
// time takes one index and its object the next; a later object of the
// class takes one index.
class CTagged
{
public:
    explicit CTagged(CScenarioBytes& b) : m_b(b) {}
    CScenarioBytes& Object(const char* className)
    {
        auto it = m_classes.find(className);
        if (it == m_classes.end())
        {
            m_classes[className] = m_next;
            m_next += 2;
            return NewClass(m_b, className);
        }
        ++m_next;
        return OldClass(m_b, it->second);
    }

private:
    CScenarioBytes& m_b;
    std::map<std::string, unsigned> m_classes;
    unsigned m_next = 1;
};

// What a fixture may carry in place of its good values.
struct Faults
{
    unsigned indirectFireCount = 2;
    unsigned dfCarrierCount = 1;
    unsigned ifCarrierCount = 2;
    bool hugeGunTypeCount = false;
    const char* munitionClass = "CIFAmmo";
};

void Capabilities(CScenarioBytes& b, CTagged& tag, const Faults& f)
{
    b.Word(13);
    tag.Object("CVCapIndirectFire");
    b.Word(0).Word(800).Word(5).Word(10).Word(3).Word(20);
    b.Str("Flash 1").Str("").Str("Flash 3").Str("mortar");
    b.Word(4).Word(30).Float(0.85f).Word(7).Word(1).Word(50).Word(0);
    b.Word(f.indirectFireCount).Word(0).Word(40).Word(1).Word(10);

    tag.Object("CVCapTurret");
    b.Word(1);
    tag.Object("CVehicleWeapon");
    // ammo, c, left, IR, NV, right, weapon, s, spare B, spare A, suppression
    b.Word(40).Word(0).Word(UNSET_WORD).Word(50).Word(30).Word(UNSET_WORD).Word(0).Word(0).Word(0).Word(0).Word(20);
    b.Word(1);
    tag.Object("CWeaponPercentages");
    b.Word(60).Word(90).Word(80).Word(80).Word(95);
    b.Word(2);
    tag.Object("CVCapObserver");
    b.Word(300).Word(150).Str("Laser").Word(1).Word(2).Word(40).Word(60).Word(1);
    tag.Object("CVCapDismount");
    b.Word(40).Word(UNSET_WORD).Word(0xFC18);  // turn speed, right none, left -1000
    b.Float(0.9f).Float(2.0f).Float(3.0f).Str("Turret piece").Word(1);

    tag.Object("CVCapPersonnelCarrier");
    b.Word(10).Word(12).Word(8).Word(4).Word(5).Str("Ramp open");
    tag.Object("CVCapEmplace");
    b.Word(60).Word(30).Word(0).Str("Dug in");
    tag.Object("CVCapBreacher");
    b.Float(1.5f).Word(2).Word(0xF).Word(10);
    tag.Object("CVCapEngineer");
    b.Word(5).Word(1).Word(3).Word(120).Word(4).Str("dig").Str("Breaching").Str("No breaches");
    tag.Object("CVCapFDC");
    if (f.hugeGunTypeCount)
        b.Word(0xFFFF).DWord(0xFFFFFFFF);
    else
        b.Word(2).Str("Mosk mortar carrier").Str("Heavy gun");
    b.Word(2).Word(0);
    tag.Object("CVCapDFAmmoCarrier");
    b.Word(f.dfCarrierCount).Word(0).Word(300);
    tag.Object("CVCapIFAmmoCarrier");
    b.Word(f.ifCarrierCount).Word(0).Word(60).Word(2).Word(20);
    tag.Object("CVCapSmoker");
    b.Float(5.0f).Word(120).Word(50).Word(45).Word(10).Word(0);
    tag.Object("CVCapFixedWing");
    b.Word(300).Word(500).Word(1).Str("jet").Str("");
    tag.Object("CVCapRotaryWing");
    b.Word(100).Word(200).Word(20).Word(1).Word(0).Str("heli");
    tag.Object("CVCapMineLayer");
    b.Word(60).Word(1).Word(40).Word(30).Word(10).Word(5).Word(0).Word(3).Word(200);
}

void Munition(CScenarioBytes& b, CTagged& tag, const char* name, const char* qualifier, unsigned type,
              const char* munitionClass)
{
    tag.Object(munitionClass);
    b.Word(0);
    b.Str(name).Str(qualifier).Str("boom").Str("Burst");
    b.Word(250).Word(5).Float(0.35f).Word(type);
}

void MunitionWith(CScenarioBytes& b, CTagged& tag, const char* name, unsigned type, const char* capClass,
                  const CScenarioBytes& fields)
{
    tag.Object("CIFAmmo");
    b.Word(1);
    tag.Object(capClass);
    b.Append(fields);
    b.Str(name).Str("120mm").Str("").Str("");
    b.Word(600).Word(3).Float(0.1f).Word(type);
}

CScenarioBytes VehicleListBytes(const Faults& f = {})
{
    CScenarioBytes b;
    CTagged tag(b);
    b.Word(1);
    tag.Object("CVehicle");
    b.Word(0).Word(0);  // no kill record, no chassis mount
    Capabilities(b, tag, f);
    b.Float(60.0f).Float(65.0f).Float(15.0f);
    b.Word(35).Word(0).Word(200);
    b.Str("Everything");
    b.Word(10);
    b.Float(2.5f).Float(3.0f).Float(6.5f);
    b.Word(24).Word(0).Word(20);
    b.Str("").Str("").Str("").Str("").Str("").Str("");
    for (unsigned value = 1; value <= 8; ++value)
        b.Word(value);
    b.Str("");
    b.Float(1.0f);
    b.Word(2).Word(0);

    b.Word(6);
    Munition(b, tag, "M1", "105mm", 0x1, f.munitionClass);
    MunitionWith(b, tag, "Veil", 0x10, "CIFCapSmoke", CScenarioBytes().Float(50.0f).Word(120).Word(30));
    MunitionWith(b, tag, "Flare", 0x80, "CIFCapIllum", CScenarioBytes().Float(300.0f).Word(60).Word(0));
    MunitionWith(b, tag, "Scatter", 0x100, "CIFCapFASCAM",
                 CScenarioBytes().Word(3).Word(300).Word(20).Word(10).Word(0));
    MunitionWith(b, tag, "Blister", 0x20, "CIFCapChem", CScenarioBytes().Word(10).Word(25).Word(119));
    MunitionWith(b, tag, "Seeker", 0x200, "CIFCapPGM", CScenarioBytes().Word(5).Word(10).Word(MINUS_ONE_WORD));
    b.Str("all.veh").Str("all.wep");
    return b;
}

void WriteBytes(CDatabaseTestApp& t, const char* fileName, const CScenarioBytes& b)
{
    t.WriteText(t.DataDir() / fileName, std::string(b.Get().begin(), b.Get().end()));
}

template <class T>
T* Find(CVehicleCapArray* pCaps, int type)
{
    return dynamic_cast<T*>(pCaps->FindByType(type));
}
}  // namespace

TEST(CapabilityFile, EveryKindReadsItsFieldsAndWritesBackTheSameBytes)
{
    CDatabaseTestApp t;
    const CScenarioBytes b = VehicleListBytes();
    WriteBytes(t, "all.veh", b);
    CVehicleArray vehicles;
    CString name = "all.veh";
    ASSERT_TRUE(vehicles.LoadFromFile(name, t.App().m_strDataDir));
    ASSERT_EQ(vehicles.GetSize(), 1);
    CVehicle* pVehicle = vehicles.GetAt(0);
    CVehicleCapArray* pCaps = pVehicle->GetCapabilities();
    ASSERT_EQ(pCaps->GetSize(), 13);
    EXPECT_EQ(pCaps->GetTypeMask(), 0x7FFF);

    auto* pFire = Find<CVCapIndirectFire>(pCaps, VCAP_INDIRECT_FIRE);
    ASSERT_NE(pFire, nullptr);
    EXPECT_EQ(pFire->m_nRightLimit, 800);
    EXPECT_EQ(pFire->m_strMuzzleFlash[2], "Flash 3");
    EXPECT_EQ(pFire->m_strShotSound, "mortar");
    EXPECT_FLOAT_EQ(pFire->m_fAccuracy, 0.85f);
    EXPECT_TRUE(pFire->m_bHighAngle);
    EXPECT_EQ(pFire->m_nMinRange, 50);
    ASSERT_EQ(pFire->m_ammo.size(), 2u);
    EXPECT_EQ(pFire->m_ammo[1].m_nIndex, 1);
    EXPECT_EQ(pFire->m_ammo[1].m_nNumber, 10);

    auto* pTurret = Find<CVCapTurret>(pCaps, VCAP_TURRET);
    ASSERT_NE(pTurret, nullptr);
    EXPECT_EQ(pTurret->m_nLeftLimit, -1000);
    EXPECT_EQ(pTurret->m_nRightLimit, kUnset);
    EXPECT_EQ(pTurret->m_strPiece, "Turret piece");
    EXPECT_EQ(pTurret->GetMounts()->GetSize(), 1);
    EXPECT_EQ(pTurret->GetKillPercentages()->GetAt(0)->m_nTop, 95);
    EXPECT_EQ(pTurret->GetTypeMask(), VCAP_TURRET | VCAP_OBSERVER | VCAP_DISMOUNT);
    // The observer is found through the turret, by the vehicle too.
    auto* pObserver = dynamic_cast<CVCapObserver*>(pVehicle->FindCapability(VCAP_OBSERVER));
    ASSERT_NE(pObserver, nullptr);
    EXPECT_EQ(pObserver->m_strLaserSpotGraphic, "Laser");
    EXPECT_EQ(pObserver->m_nPercentNightVision, 60);
    EXPECT_TRUE(pObserver->m_bCoaxial);
    EXPECT_FLOAT_EQ(pVehicle->GetTotalHeight(), 2.5f + 0.9f);

    auto* pFdc = Find<CVCapFDC>(pCaps, VCAP_FDC);
    ASSERT_NE(pFdc, nullptr);
    EXPECT_EQ(pFdc->m_gunTypes.GetTail(), "Heavy gun");
    auto* pCarrier = Find<CVCapIFAmmoCarrier>(pCaps, VCAP_IF_AMMO_CARRIER);
    ASSERT_NE(pCarrier, nullptr);
    EXPECT_EQ(pCarrier->m_ammo.size(), 2u);
    auto* pMines = Find<CVCapMineLayer>(pCaps, VCAP_MINE_LAYER);
    ASSERT_NE(pMines, nullptr);
    EXPECT_EQ(pMines->m_nNumberOfMines, 200);
    EXPECT_EQ(pMines->m_nSpare, 3);
    EXPECT_EQ(Find<CVCapEngineer>(pCaps, VCAP_ENGINEER)->m_strNoBreachesGraphic, "No breaches");
    EXPECT_FLOAT_EQ(Find<CVCapSmoker>(pCaps, VCAP_SMOKER)->m_fRadius, 5.0f);
    EXPECT_EQ(Find<CVCapRotaryWing>(pCaps, VCAP_ROTARY_WING)->m_strName, "heli");

    CIFAmmoArray* pAmmo = vehicles.GetAmmo();
    ASSERT_EQ(pAmmo->GetSize(), 6);
    EXPECT_EQ(pAmmo->GetAt(0)->GetDisplayName(), "M1 (105mm)");
    EXPECT_EQ(pAmmo->GetAt(0)->m_nRange, 250);
    EXPECT_FLOAT_EQ(pAmmo->GetAt(0)->m_fLethality, 0.35f);
    EXPECT_EQ(pAmmo->GetAt(3)->GetMunitionTypeText(), "FASCAM");
    auto* pScatter = dynamic_cast<CIFCapFASCAM*>(pAmmo->GetAt(3)->GetCapabilities()->FindByType(IFCAP_FASCAM));
    ASSERT_NE(pScatter, nullptr);
    EXPECT_EQ(pScatter->m_nDuration, 300);
    EXPECT_EQ(pScatter->m_nLength, 20);
    int nFootPrint = 0;
    EXPECT_TRUE(pAmmo->GetAt(5)->GetPGMFootPrint(&nFootPrint));
    EXPECT_EQ(nFootPrint, 5);

    EXPECT_EQ(StoreBytes(vehicles), b.Get());
}

TEST(CapabilityFile, ABadCountOrUnknownClassIsRefusedAndTheLoadedListStays)
{
    CDatabaseTestApp t;
    WriteWeaponList(t, "all.wep", {"Gun", "Mg"});
    WriteBytes(t, "all.veh", VehicleListBytes());
    CKDRDatabase database;
    database.m_strWeaponList = "all.wep";
    database.m_strVehicleList = "all.veh";
    ASSERT_TRUE(database.ReloadLists());
    ASSERT_NE(database.GetIFAmmo(5), nullptr);

    struct Case
    {
        const char* what;
        Faults faults;
        const char* message;
    };
    const char* const BAD_FORMAT = "Invalid file format";
    const char* const SHORT = "Reached the end of the file while reading an object";
    const Case cases[] = {
        {"indirect fire entries -1", Faults{.indirectFireCount = MINUS_ONE_WORD}, BAD_FORMAT},
        {"DF carrier entries -1", Faults{.dfCarrierCount = MINUS_ONE_WORD}, BAD_FORMAT},
        {"IF carrier entries -1", Faults{.ifCarrierCount = MINUS_ONE_WORD}, BAD_FORMAT},
        {"IF carrier entries past the end", Faults{.ifCarrierCount = 30000}, SHORT},
        {"gun types 0xFFFFFFFF", Faults{.hugeGunTypeCount = true}, SHORT},
        {"unknown munition class", Faults{.munitionClass = "CIFRound"}, "Unexpected object found while reading"},
    };
    const CString path = JoinPath(t.App().m_strDataDir, "bad.veh");
    for (const Case& c : cases)
    {
        WriteBytes(t, "bad.veh", VehicleListBytes(c.faults));
        t.Ui().ExpectMessage(WARNING, "This will destroy the current vehicle list.", IDOK);
        t.Ui().ExpectMessage(GetMessageBoxCaption(), CString(c.message) + " in '" + path + "'.", IDOK);
        EXPECT_FALSE(database.LoadVehicleList("bad.veh")) << c.what;
        EXPECT_EQ(database.m_strVehicleList, "all.veh") << c.what;
        ASSERT_EQ(database.GetVehicleCount(), 1) << c.what;
        EXPECT_EQ(database.GetVehicle(0)->GetCapabilities()->GetSize(), 13) << c.what;
        EXPECT_EQ(database.GetIFAmmo(0)->GetDisplayName(), "M1 (105mm)") << c.what;
    }
    EXPECT_EQ(database.GetIFAmmo(6), nullptr);
    EXPECT_EQ(database.GetIFAmmo(-1), nullptr);
}

TEST(CapabilityFile, TurretsNestedPastEightDeepAreRefused)
{
    // A capability array holding one turret that holds the rest.
    auto nested = [](int depth)
    {
        CScenarioBytes b;
        CTagged tag(b);
        b.Word(1);
        for (int i = 0; i < depth; ++i)
        {
            tag.Object("CVCapTurret");
            b.Word(0).Word(0).Word(i + 1 < depth ? 1 : 0);
        }
        for (int i = 0; i < depth; ++i)
            b.Word(0).Word(UNSET_WORD).Word(UNSET_WORD).Float(1.0f).Float(1.0f).Float(1.0f).Str("").Word(0);
        return b;
    };
    for (int depth : {1, CVCapTurret::kMaxNesting, CVCapTurret::kMaxNesting + 1, 5000})
    {
        const CScenarioBytes b = nested(depth);
        CMemFile in(b.Get());
        CArchive ar(&in, CArchive::load);
        CVehicleCapArray caps;
        if (depth <= CVCapTurret::kMaxNesting)
        {
            caps.Serialize(ar);
            EXPECT_EQ(caps.GetSize(), 1) << depth;
            EXPECT_EQ(StoreBytes(caps), b.Get()) << depth;
            continue;
        }
        try
        {
            caps.Serialize(ar);
            ADD_FAILURE() << depth << ": no error";
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, CArchiveException::badIndex) << depth;
        }
    }
}
