// A unit's capability list laid out by hand with every kind, an empty slot
// and a plain stand-in: it reads, answers what the bytes say and writes the
// same bytes back. Cut short anywhere, it raises the archive exception and
// leaks nothing; flag words other than 0 and 1 read as set.
#include "UnitCapTestSupport.h"

#include "battlefield/FireMissionArray.h"
#include "units/CarriedUnit.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"

#include <gtest/gtest.h>

namespace
{
CScenarioBytes KindsBytes()
{
    CScenarioBytes b;
    CTagWriter tag(b);
    b.Word(16);

    tag.Object("CUCapDismount");
    b.DWord(1234).Word(7).Word(2).Word(1).Word(1);

    tag.Object("CUCapPersonnelCarrier");
    b.Word(2);
    tag.Object("CCarriedUnit");
    b.Word(4).Word(UNSET_WORD).Word(0);
    tag.Object("CCarriedUnit");
    b.Word(0x9C40).Word(1).Word(2);  // 40000 comes back as -25536
    b.Word(1).Word(0).Word(1).Word(12).Word(0).Word(4).Word(UNSET_WORD).Word(UNSET_WORD).Word(0);
    b.Float(-2.0f).Float(2.0f).Word(1);

    tag.Object("CUCapIndirectFire");
    b.Word(1);
    tag.Object("CFireMission");
    // target, munition type and index, fire and impact times, volleys,
    // sheaf, attitude, option, method, label
    b.Float(2950.0f).Float(1800.0f).Word(1).Word(0).DWord(0).DWord(1024050600);
    b.Word(2).Word(1).Word(1600).Word(0).Word(4).Str("AA0000");
    // traversing, left, computing, left, loading, left, shot, stage
    b.Word(1).Word(20).Word(0).Word(0).Word(0).Word(0).Word(0).Word(3);
    // volley report, size, count, stored 1, unloading, stored 2 and 3, flags 2 and 1
    b.Word(1).Word(3).Word(2).Word(11).Word(0).Word(UNSET_WORD).Word(6).Word(1).Word(0);
    b.Word(2).Word(0).Word(40).Word(3).Word(12);

    tag.Object("CUCapEmplace");
    b.Word(0).Word(30).Word(1).Word(0).Word(0).Word(1);

    tag.Object("CUCapBreacher");
    b.Word(2).Word(5).Word(UNSET_WORD).Float(1.5f).Word(1);

    tag.Object("CUCapEngineer");
    b.Word(UNSET_WORD).Word(9).Word(1).Float(0.25f).Word(1).Word(1).Word(3).Word(45);

    tag.Object("CUCapObserver");
    b.Word(9).Word(1).Word(2).DWord(123456).DWord(654321).Word(1).Word(1).Word(0).Word(7);

    tag.Object("CUCapFDC");

    tag.Object("CUCapDFAmmoCarrier");
    b.Word(1).Word(2).Word(300);

    tag.Object("CUCapIFAmmoCarrier");
    b.Word(2).Word(0).Word(60).Word(1).Word(30);

    tag.Object("CUCapSmoker");
    b.Word(15).Word(4).Word(1);

    tag.Object("CUCapFixedWing");
    b.Word(350).Word(300).Float(1200.5f).Float(800.25f);

    tag.Object("CUCapRotaryWing");
    b.Word(120).Word(100).Word(6);

    tag.Object("CUCapMineLayer");
    b.Word(30).Word(0xFFFE).Float(500.0f).Float(600.0f).Word(1).DWord(86313600);

    tag.Object("CUnitCapability");
    tag.Null();
    return b;
}
}  // namespace

TEST(UnitCapFile, EveryKindReadsItsFieldsAndWritesTheSameBytes)
{
    const CScenarioBytes b = KindsBytes();
    CUnitCapArray caps;
    LoadFromBytes(caps, b.Get());
    ASSERT_EQ(caps.GetSize(), 16);

    auto* pTeam = dynamic_cast<CUCapDismount*>(caps[0]);
    ASSERT_NE(pTeam, nullptr);
    EXPECT_EQ(pTeam->m_timeMount.GetTotalSeconds(), 1234);
    EXPECT_EQ(pTeam->m_nCarrierUnit, 7);
    EXPECT_EQ(pTeam->m_nCarrierArray, 2);
    EXPECT_EQ(pTeam->m_nCarrierKind, 1);
    EXPECT_TRUE(pTeam->m_bDismounted);

    auto* pCarrier = dynamic_cast<CUCapPersonnelCarrier*>(caps[1]);
    ASSERT_NE(pCarrier, nullptr);
    ASSERT_EQ(pCarrier->m_pPassengers->GetSize(), 2);
    EXPECT_EQ(pCarrier->m_pPassengers->GetAt(0)->m_nUnit, 4);
    EXPECT_EQ(pCarrier->m_pPassengers->GetAt(0)->m_nArray, -99);
    EXPECT_EQ(pCarrier->m_pPassengers->GetAt(1)->m_nUnit, -25536);
    EXPECT_EQ(pCarrier->m_pPassengers->GetAt(1)->m_nKind, 2);
    EXPECT_TRUE(pCarrier->m_bDismounting);
    EXPECT_FALSE(pCarrier->m_bMounting);
    EXPECT_TRUE(pCarrier->m_bOpen);
    EXPECT_EQ(pCarrier->m_nDismountLeft, 12);
    EXPECT_EQ(pCarrier->m_nRampLeft, 4);
    EXPECT_EQ(pCarrier->m_nMountingUnit, -99);
    EXPECT_EQ(pCarrier->m_fPlaceAngle, -2.0f);
    EXPECT_EQ(pCarrier->m_fPlaceStep, 2.0f);
    EXPECT_TRUE(pCarrier->m_bDismountOnContact);

    auto* pBattery = dynamic_cast<CUCapIndirectFire*>(caps[2]);
    ASSERT_NE(pBattery, nullptr);
    EXPECT_EQ(pBattery->m_pMissions->GetSize(), 1);
    EXPECT_EQ(pBattery->m_pMissions->GetAt(0)->m_nMethod, 4);
    EXPECT_EQ(pBattery->m_pMissions->GetAt(0)->m_tImpactTime.GetTime(), 1024050600);
    EXPECT_TRUE(pBattery->m_bTraversing);
    EXPECT_EQ(pBattery->m_nTraverseLeft, 20);
    EXPECT_EQ(pBattery->m_nShotStage, 3);
    EXPECT_TRUE(pBattery->m_bVolleyReport);
    EXPECT_EQ(pBattery->m_nVolleySize, 3);
    EXPECT_EQ(pBattery->m_nVolleyCount, 2);
    EXPECT_EQ(pBattery->m_nStoredValue1, 11);
    EXPECT_EQ(pBattery->m_nStoredValue2, -99);
    EXPECT_EQ(pBattery->m_nStoredValue3, 6);
    EXPECT_TRUE(pBattery->m_bStoredFlag2);
    EXPECT_FALSE(pBattery->m_bStoredFlag1);
    ASSERT_EQ(pBattery->m_ammo.size(), 2u);
    EXPECT_EQ(pBattery->m_ammo[1].m_nIndex, 3);
    EXPECT_EQ(pBattery->m_ammo[1].m_nNumber, 12);

    auto* pDigger = dynamic_cast<CUCapEmplace*>(caps[3]);
    ASSERT_NE(pDigger, nullptr);
    EXPECT_FALSE(pDigger->m_bEmplaced);
    EXPECT_EQ(pDigger->m_nEmplaceLeft, 30);
    EXPECT_TRUE(pDigger->m_bEmplacing);
    EXPECT_TRUE(pDigger->m_bDoNotEmplace);

    auto* pPlough = dynamic_cast<CUCapBreacher*>(caps[4]);
    ASSERT_NE(pPlough, nullptr);
    EXPECT_EQ(pPlough->GetType(), static_cast<DWORD>(VCAP_BREACHER));
    EXPECT_EQ(pPlough->m_nLane, 2);
    EXPECT_EQ(pPlough->m_nObstacle, 5);
    EXPECT_EQ(pPlough->m_nObstacleSide, -99);
    EXPECT_EQ(pPlough->m_fBreachDirection, 1.5f);
    EXPECT_TRUE(pPlough->m_bBreaching);

    auto* pSappers = dynamic_cast<CUCapEngineer*>(caps[5]);
    ASSERT_NE(pSappers, nullptr);
    EXPECT_EQ(pSappers->m_nLane, -99);
    EXPECT_EQ(pSappers->m_nObstacle, 9);
    EXPECT_TRUE(pSappers->m_bWholeObstacle);
    EXPECT_EQ(pSappers->m_nBreachesLeft, 3);
    EXPECT_EQ(pSappers->m_nBreachLeft, 45);

    auto* pObserver = dynamic_cast<CUCapObserver*>(caps[6]);
    ASSERT_NE(pObserver, nullptr);
    EXPECT_EQ(pObserver->m_nTargetUnit, 9);
    EXPECT_EQ(pObserver->m_dwTargetX, 123456u);
    EXPECT_EQ(pObserver->m_dwTargetY, 654321u);
    EXPECT_TRUE(pObserver->m_bObserving);
    EXPECT_TRUE(pObserver->m_bPointTarget);
    EXPECT_FALSE(pObserver->m_bStoredFlag);
    EXPECT_EQ(pObserver->m_nStoredValue, 7);

    EXPECT_NE(dynamic_cast<CUCapFDC*>(caps[7]), nullptr);
    auto* pDFCarrier = dynamic_cast<CUCapDFAmmoCarrier*>(caps[8]);
    ASSERT_NE(pDFCarrier, nullptr);
    ASSERT_EQ(pDFCarrier->m_load.size(), 1u);
    EXPECT_EQ(pDFCarrier->m_load[0].m_nIndex, 2);
    EXPECT_EQ(pDFCarrier->m_load[0].m_nNumber, 300);
    auto* pIFCarrier = dynamic_cast<CUCapIFAmmoCarrier*>(caps[9]);
    ASSERT_NE(pIFCarrier, nullptr);
    EXPECT_EQ(pIFCarrier->m_load.size(), 2u);

    auto* pSmoker = dynamic_cast<CUCapSmoker*>(caps[10]);
    ASSERT_NE(pSmoker, nullptr);
    EXPECT_EQ(pSmoker->m_nReleaseLeft, 15);
    EXPECT_EQ(pSmoker->m_nSmokeLeft, 4);
    EXPECT_TRUE(pSmoker->m_bSmoking);

    auto* pJet = dynamic_cast<CUCapFixedWing*>(caps[11]);
    ASSERT_NE(pJet, nullptr);
    EXPECT_EQ(pJet->m_nAltitude, 350);
    EXPECT_EQ(pJet->m_nHeight, 300);
    EXPECT_EQ(pJet->m_fStationX, 1200.5f);
    EXPECT_EQ(pJet->m_fStationY, 800.25f);

    auto* pHelicopter = dynamic_cast<CUCapRotaryWing*>(caps[12]);
    ASSERT_NE(pHelicopter, nullptr);
    EXPECT_EQ(pHelicopter->m_nAltitude, 120);
    EXPECT_EQ(pHelicopter->m_nRotorFrame, 6);

    auto* pMines = dynamic_cast<CUCapMineLayer*>(caps[13]);
    ASSERT_NE(pMines, nullptr);
    EXPECT_EQ(pMines->m_nDeployLeft, 30);
    EXPECT_EQ(pMines->m_nMinefieldsLeft, -2);
    EXPECT_EQ(pMines->m_fTargetX, 500.0f);
    EXPECT_TRUE(pMines->m_bDeploying);
    EXPECT_EQ(pMines->m_timeDeploy.GetTotalSeconds(), 86313600);

    EXPECT_EQ(caps[14]->GetRuntimeClass(), RUNTIME_CLASS(CUnitCapability));
    EXPECT_EQ(caps[15], nullptr);

    EXPECT_EQ(StoreBytes(caps), b.Get());
}

TEST(UnitCapFile, AFlagWordOfAnyNonzeroValueReadsAsSet)
{
    // Emplace: emplaced 5, emplacing 0xFFFF, displacing 0x8000.
    CScenarioBytes b;
    b.Word(5).Word(0).Word(0xFFFF).Word(0).Word(0x8000).Word(0);
    CUCapEmplace digger;
    LoadFromBytes(digger, b.Get());
    EXPECT_EQ(digger.m_bEmplaced, 1);
    EXPECT_EQ(digger.m_bEmplacing, 1);
    EXPECT_EQ(digger.m_bDisplacing, 1);
    EXPECT_EQ(digger.m_bDoNotEmplace, 0);
    CScenarioBytes written;
    written.Word(1).Word(0).Word(1).Word(0).Word(1).Word(0);
    EXPECT_EQ(StoreBytes(digger), written.Get());
}

TEST(UnitCapFile, AListCutShortAnywhereRaisesTheArchiveErrorAndLeaksNothing)
{
    const std::vector<BYTE> whole = KindsBytes().Get();
    for (size_t n = 0; n < whole.size(); ++n)
    {
        const std::vector<BYTE> cut(whole.begin(), whole.begin() + static_cast<long>(n));
        CUnitCapArray caps;
        try
        {
            LoadFromBytes(caps, cut);
            ADD_FAILURE() << "no error at " << n;
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
        }
    }
}

TEST(UnitCapFile, BadCountsAndForeignClassesAreRefused)
{
    struct Case
    {
        const char* what;
        CScenarioBytes bytes;
        int cause;
    };
    CScenarioBytes negativeAmmo;
    {
        CTagWriter tag(negativeAmmo);
        negativeAmmo.Word(1);
        tag.Object("CUCapDFAmmoCarrier");
        negativeAmmo.Word(0xFFFF);
    }
    CScenarioBytes hugeLoad;
    {
        CTagWriter tag(hugeLoad);
        hugeLoad.Word(1);
        tag.Object("CUCapIFAmmoCarrier");
        hugeLoad.Word(0x7FFF).Word(0).Word(1);
    }
    CScenarioBytes foreignMember;
    {
        CTagWriter tag(foreignMember);
        foreignMember.Word(1);
        tag.Object("CCarriedUnit");
        foreignMember.Word(1).Word(2).Word(3);
    }
    CScenarioBytes foreignPassenger;
    {
        CTagWriter tag(foreignPassenger);
        foreignPassenger.Word(1);
        tag.Object("CUCapPersonnelCarrier");
        foreignPassenger.Word(1);
        tag.Object("CUCapFDC");
    }
    const Case cases[] = {
        {"negative load count", negativeAmmo, CArchiveException::badIndex},
        {"load count past the end", hugeLoad, CArchiveException::endOfFile},
        {"a member that is no capability", foreignMember, CArchiveException::badClass},
        {"a passenger that is no carried unit", foreignPassenger, CArchiveException::badClass},
    };
    for (const Case& c : cases)
    {
        CUnitCapArray caps;
        try
        {
            LoadFromBytes(caps, c.bytes.Get());
            ADD_FAILURE() << c.what << ": no error";
        }
        catch (const CArchiveException& e)
        {
            EXPECT_EQ(e.m_cause, c.cause) << c.what;
        }
    }
}

TEST(UnitCapFile, ACarriedUnitCopiesAndStoresItsThreeWords)
{
    CCarriedUnit team(12, -99, 2);
    CCarriedUnit copy(team);
    EXPECT_EQ(copy.m_nUnit, 12);
    EXPECT_EQ(copy.m_nArray, -99);
    EXPECT_EQ(copy.m_nKind, 2);
    CScenarioBytes b;
    b.Word(12).Word(UNSET_WORD).Word(2);
    EXPECT_EQ(StoreBytes(copy), b.Get());
    CCarriedUnit read;
    LoadFromBytes(read, b.Get());
    EXPECT_EQ(read.m_nArray, -99);
}
