#include "CombatTestSupport.h"

#include "platform/core/Timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace combat;

namespace
{
// Every hit kills from every side, and every round hits within 1 km.
void MakeDeadly(CCombatWorld& world)
{
    world.Db()->GetWeapon(kGun)->m_nMagnification = 10;
    CWeaponPercentages* pKill = world.Vehicle(kTank)->GetKillPercentages()->GetAt(kGun);
    pKill->m_nFront = pKill->m_nBack = pKill->m_nRight = pKill->m_nLeft = 100;
}

void RunPass(CCombatWorld& world, float fLight = 1.0f)
{
    CUnitRefArray* pFirst = nullptr;
    CUnitRefArray* pSecond = nullptr;
    world.Units().ResetContactLists(pFirst, pSecond);
    world.Units().DetectAll(world.Map(), world.Db(), nullptr, fLight);
    world.Units().DirectFirePass(world.Map(), world.Db(), nullptr, nullptr);
    world.Units().ProcessIndirectFire(world.Db());
    world.App().ShowPendingSpotReport();
}

CSpotReport* Report(const char* text, int nCode, LONG nSeconds)
{
    auto* pReport = new CSpotReport;
    pReport->m_strText = text;
    pReport->m_nCode = nCode;
    pReport->m_time = CTimeSpan(nSeconds);
    return pReport;
}
}  // namespace

TEST(UnitPasses, TheSidesFireInTurnsOwnThenNeutralThenOpposing)
{
    // One own tank and three opposing ones, all within sight and certain
    // kills. The own tank kills the first opposing tank, which never gets
    // its turn; the second kills the own tank, and the third finds nobody.
    CCombatWorld world;
    MakeDeadly(world);
    CUnitArray* pOwn = world.AddArray(0);
    CUnitArray* pOpposing = world.AddArray(1);
    world.AddArray(2);  // a kind present without units takes no turns
    pOwn->Add(world.NewUnit(kTank, 0, 2000.0f, 500.0f, "Alpha 1"));
    pOpposing->Add(world.NewUnit(kTank, 1, 2000.0f, 1000.0f));
    pOpposing->Add(world.NewUnit(kTank, 1, 1900.0f, 1100.0f));
    pOpposing->Add(world.NewUnit(kTank, 1, 2100.0f, 1200.0f));

    RunPass(world);
    EXPECT_TRUE(pOwn->GetAt(0)->m_bDestroyed);
    EXPECT_TRUE(pOpposing->GetAt(0)->m_bDestroyed);
    EXPECT_FALSE(pOpposing->GetAt(1)->m_bDestroyed);
    EXPECT_FALSE(pOpposing->GetAt(2)->m_bDestroyed);
    EXPECT_EQ(pOwn->GetAt(0)->m_nShotUnit, -99);  // cleared by its destruction
    EXPECT_EQ(pOpposing->GetAt(1)->m_nShotKind, 0);
    EXPECT_EQ(pOpposing->GetAt(2)->m_nShotUnit, -99);

    // Both kills concern the own side; the loss came within the same
    // second as the own kill and is not more urgent, so the kill stands.
    CTestShell& app = world.App();
    ASSERT_NE(app.m_pShownSpotReport, nullptr);
    EXPECT_STREQ(app.m_pShownSpotReport->m_strText.GetString(), "Alpha 1 has destroyed an enemy Tank with Gun.");
    EXPECT_EQ(app.m_pShownSpotReport->m_nCode, 5 + 512);
    EXPECT_EQ(app.m_pShownSpotReport->m_nSide, 0);
}

TEST(UnitPasses, TheContactListsAreFilledByPairOfSidesAndEmptiedInPlace)
{
    CCombatWorld world;
    world.Db()->GetWeapon(kGun)->m_nMagnification = 0;
    world.AddArray(0)->Add(world.NewUnit(kTank, 0, 2000.0f, 500.0f));
    world.AddArray(1)->Add(world.NewUnit(kTank, 1, 2000.0f, 1500.0f));
    world.AddArray(2)->Add(world.NewUnit(kTank, 2, 1500.0f, 1000.0f));
    CUnitRefArray* pFirst = nullptr;
    CUnitRefArray* pSecond = nullptr;
    world.Units().ResetContactLists(pFirst, pSecond);
    EXPECT_EQ(pFirst, world.Units().m_pContacts[0]);
    EXPECT_EQ(pSecond, world.Units().m_pContacts[1]);
    world.Units().DetectAll(world.Map(), world.Db(), nullptr, 1.0f);
    const int expected[CONTACT_LIST_COUNT] = {1, 1, 1, 1, 1, 0};
    for (int i = 0; i < CONTACT_LIST_COUNT; ++i)
        EXPECT_EQ(world.Units().m_pContacts[i]->GetSize(), expected[i]) << i;
    EXPECT_EQ(world.Units().m_pContacts[2]->GetAt(0)->m_nSide, 0);
    EXPECT_EQ(world.Units().m_pContacts[4]->GetAt(0)->m_nSide, 1);

    CUnitRefArray* pFirstAgain = nullptr;
    CUnitRefArray* pSecondAgain = nullptr;
    world.Units().ResetContactLists(pFirstAgain, pSecondAgain);
    EXPECT_EQ(pFirstAgain, pFirst);
    EXPECT_EQ(pFirst->GetSize(), 0);
}

TEST(UnitPasses, ADuelOfTheOtherSidesMakesNoReport)
{
    CCombatWorld world;
    MakeDeadly(world);
    world.AddArray(1)->Add(world.NewUnit(kTank, 1, 2000.0f, 500.0f));
    world.AddArray(2)->Add(world.NewUnit(kTank, 2, 2000.0f, 1000.0f));
    RunPass(world);
    EXPECT_TRUE(world.Units().GetUnit(0, 0, 1)->m_bDestroyed || world.Units().GetUnit(0, 0, 2)->m_bDestroyed);
    EXPECT_EQ(world.App().m_pShownSpotReport, nullptr);
    EXPECT_EQ(world.App().m_pSpotReports->GetSize(), 0);
}

TEST(UnitPasses, TheUnitAddressesResolveOnlyInsideTheArrays)
{
    CCombatWorld world;
    CUnitArray* pOwn = world.AddArray(0);
    pOwn->Add(world.NewUnit(kTank, 0, 100.0f, 100.0f));
    world.AddArray(1);
    CUnitArray* pSecond = world.AddArray(1);
    pSecond->Add(world.NewUnit(kTank, 1, 100.0f, 100.0f));
    CKDRUnits& units = world.Units();
    EXPECT_EQ(units.GetUnit(0, 7, 0), pOwn->GetAt(0));  // the array index is ignored for kind 0
    EXPECT_EQ(units.GetUnit(0, 1, 1), pSecond->GetAt(0));
    const int absent[][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 2, 1}, {0, -1, 1}, {0, 0, 2}, {0, 0, 3}};
    for (const auto& a : absent)
        EXPECT_EQ(units.GetUnit(a[0], a[1], a[2]), nullptr) << a[0] << " " << a[1] << " " << a[2];
}

TEST(SpotReports, TheLogKeepsTheNewest256)
{
    CSpotReportArray log;
    for (int i = 0; i < 257; ++i)
    {
        CString text;
        text.Format("Report %d", i);
        log.Add(Report(text, 1, i));
    }
    ASSERT_EQ(log.GetSize(), 256);
    EXPECT_STREQ(log.GetAt(0)->m_strText.GetString(), "Report 1");
    EXPECT_STREQ(log.GetAt(255)->m_strText.GetString(), "Report 256");
    const std::unique_ptr<CSpotReport> pSeen(Report("Seen.", 1, 90061));
    EXPECT_STREQ(CSpotReportArray::FormatLine(*pSeen).GetString(), "1, 01:01:01        Seen.");
}

TEST(SpotReports, TheBuildersWordEachCaseAndLeaveOtherSidesAlone)
{
    CCombatWorld world;
    std::unique_ptr<CUnit> pOwn(world.NewUnit(kTank, 0, 100.4f, 200.6f, "Alpha 1"));
    std::unique_ptr<CUnit> pEnemy(world.NewUnit(kTank, 1, 300.0f, 400.0f, "Enemy 1"));
    std::unique_ptr<CUnit> pNeutral(world.NewUnit(kTank, 2, 300.0f, 400.0f, "Neutral 1"));
    CVehicle* pTank = world.Vehicle(kTank);
    CWeapon* pGun = world.Db()->GetWeapon(kGun);
    const CTimeSpan t(61);
    struct CCase
    {
        std::unique_ptr<CSpotReport> pReport;
        const char* text;
        int nCode;
        int nUnit, nArray, nSide;
    } cases[] = {
        {std::unique_ptr<CSpotReport>(CSpotReportArray::AddFireReport(pOwn.get(), pTank, 3, 0, pEnemy.get(), pTank,
                                                                      pGun, t)),
         "Alpha 1 is firing on an enemy Tank with Gun.", 261, 3, 0, 0},
        {std::unique_ptr<CSpotReport>(CSpotReportArray::AddFireReport(pEnemy.get(), pTank, 0, 0, pOwn.get(), pTank,
                                                                      pGun, t)),
         "Alpha 1 is taking fire from an enemy Tank.", 261, 100, 201, -1},
        {std::unique_ptr<CSpotReport>(CSpotReportArray::AddDestroyedReport(pOwn.get(), pTank, 3, 0, pEnemy.get(),
                                                                           pTank, pGun, t)),
         "Alpha 1 has destroyed an enemy Tank with Gun.", 517, 3, 0, 0},
        {std::unique_ptr<CSpotReport>(CSpotReportArray::AddDestroyedReport(pEnemy.get(), pTank, 0, 0, pOwn.get(),
                                                                           pTank, pGun, t)),
         "Alpha 1 was destroyed by an enemy Tank.", 517, 100, 201, -1},
        {std::unique_ptr<CSpotReport>(CSpotReportArray::AddChemicalReport(pOwn.get(), pTank, t)),
         "Alpha 1 (Tank) was destroyed by chemical agents.", 517, 100, 201, -1},
        {std::unique_ptr<CSpotReport>(CSpotReportArray::AddDetectionReport(FALSE, pOwn.get(), pEnemy.get(), pTank, t)),
         "Alpha 1 has detected an enemy Tank.", 5, 300, 400, -1},
    };
    for (const CCase& c : cases)
    {
        ASSERT_NE(c.pReport, nullptr) << c.text;
        EXPECT_STREQ(c.pReport->m_strText.GetString(), c.text);
        EXPECT_EQ(c.pReport->m_nCode, c.nCode) << c.text;
        EXPECT_EQ(c.pReport->m_nUnit, c.nUnit) << c.text;
        EXPECT_EQ(c.pReport->m_nArray, c.nArray) << c.text;
        EXPECT_EQ(c.pReport->m_nSide, c.nSide) << c.text;
        EXPECT_EQ(c.pReport->m_time.GetTotalSeconds(), 61);
    }
    EXPECT_EQ(CSpotReportArray::AddFireReport(pEnemy.get(), pTank, 0, 0, pNeutral.get(), pTank, pGun, t), nullptr);
    EXPECT_EQ(CSpotReportArray::AddDestroyedReport(pNeutral.get(), pTank, 0, 0, pEnemy.get(), pTank, pGun, t),
              nullptr);
    EXPECT_EQ(CSpotReportArray::AddDetectionReport(TRUE, pEnemy.get(), pOwn.get(), pTank, t), nullptr);
    EXPECT_EQ(CSpotReportArray::AddChemicalReport(pEnemy.get(), pTank, t), nullptr);
}

TEST(SpotReports, ALogCutShortFailsWithTheArchiveErrorAndLeavesTheLogAsItWas)
{
    CSpotReportArray written;
    written.Add(Report("First.", 5, 10));
    written.Add(Report("Second.", 261, 12));
    const std::vector<BYTE> bytes = StoreBytes(written);

    CSpotReportArray log;
    log.Add(Report("Kept.", 7, 3));
    for (size_t cut = 1; cut < bytes.size(); ++cut)
    {
        std::vector<BYTE> shorter(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        EXPECT_THROW(LoadFromBytes(log, shorter), CArchiveException) << cut;
        ASSERT_EQ(log.GetSize(), 1);
        EXPECT_STREQ(log.GetAt(0)->m_strText.GetString(), "Kept.");
    }
    LoadFromBytes(log, bytes);
    ASSERT_EQ(log.GetSize(), 2);
    EXPECT_STREQ(log.GetAt(1)->m_strText.GetString(), "Second.");
    EXPECT_EQ(log.GetAt(1)->m_nCode, 261);
    EXPECT_EQ(StoreBytes(log), bytes);
}

TEST(SpotReports, ADoubleClickedLineFindsItsReports)
{
    CSpotReportArray log;
    log.Add(Report("Same.", 5, 10));
    log.Add(Report("Other.", 5, 10));
    log.Add(Report("Same.", 6, 10));
    EXPECT_EQ(log.ShowReportWithLine("0, 00:00:10        Same."), 2);
    EXPECT_EQ(log.ShowReportWithLine(""), 0);
    EXPECT_EQ(log.ShowReportWithLine("0, 00:00:11        Same."), 0);
}

namespace
{
// A seeded battle of three tanks a side under the hand-driven counter:
// the bytes of its report log and which units died.
std::pair<std::vector<BYTE>, std::string> RunBattle(unsigned seed)
{
    CCombatWorld world;
    CTestShell& app = world.App();
    CUnitArray* pOwn = world.AddArray(0);
    CUnitArray* pOpposing = world.AddArray(1);
    for (int i = 0; i < 3; ++i)
    {
        CString name;
        name.Format("Alpha %d", i + 1);
        pOwn->Add(world.NewUnit(kTank, 0, 1500.0f + 300.0f * i, 500.0f, name));
        pOpposing->Add(world.NewUnit(kTank, 1, 1600.0f + 250.0f * i, 2300.0f));
        pOpposing->GetAt(i)->m_fHeading = static_cast<float>(kPi);
    }
    SetManualTime(1000);
    SRand(seed);
    app.StartClock();
    pOwn->PrepareUnits(timeGetTime(), world.Map(), world.Db());
    pOpposing->PrepareUnits(timeGetTime(), world.Map(), world.Db());
    DWORD dwStamp = timeGetTime();
    int nRemainder = 0;
    for (int nPass = 0; nPass < 120; ++nPass)
    {
        AdvanceManualTime(500);
        CTimeSpan tsNow;
        int nGameMs = 0;
        int nWhole = 0;
        app.AdvanceClock(tsNow, nGameMs, nRemainder, dwStamp, nWhole);
        // The weapons come ready again as the move step would count them.
        for (CUnitArray* pArray : {pOwn, pOpposing})
            for (int i = 0; i < pArray->GetSize(); ++i)
                for (int k = 0; k < nWhole; ++k)
                    pArray->GetAt(i)->m_pWeapons->CountDown(1);
        RunPass(world);
    }
    app.StopClock();
    UseRealTime();
    std::string dead;
    for (CUnitArray* pArray : {pOwn, pOpposing})
        for (int i = 0; i < pArray->GetSize(); ++i)
            dead += pArray->GetAt(i)->m_bDestroyed ? 'X' : '-';
    return {StoreBytes(*app.m_pSpotReports), dead};
}
}  // namespace

TEST(UnitPasses, ASeededBattleRunsTheSameTwice)
{
    const auto first = RunBattle(4242);
    const auto second = RunBattle(4242);
    EXPECT_EQ(first.first, second.first);
    EXPECT_EQ(first.second, second.second);
    EXPECT_NE(first.second, "------");  // somebody was hit
    EXPECT_GT(first.first.size(), 40u);  // and the log holds reports
}
