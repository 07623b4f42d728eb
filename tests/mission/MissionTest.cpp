// The mission object: a new mission's events, the "*.msn" record laid out by
// hand read and written back byte for byte, the random force variants and
// the end test behind the events.
#include "MissionBytes.h"

#include "mission/ConditionKinds.h"
#include "mission/EventArray.h"
#include "mission/Mission.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/core/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
const int kNoValues[6] = {0, 0, 0, 0, 0, 0};

void Load(CMission& mission, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    mission.Serialize(ar);
    ar.Close();
}

std::vector<BYTE> Store(CMission& mission)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    mission.Serialize(ar);
    ar.Close();
    return file.GetData();
}

template <class T>
T* ConditionAt(CEvent* pEvent, int i)
{
    return dynamic_cast<T*>(pEvent->GetConditions()->GetAt(i));
}
}  // namespace

TEST(Mission, ANewMissionHoldsAnEmptyVictoryAndLossAndIsWonAtOnce)
{
    CMission mission;
    ASSERT_NE(mission.m_pEvents, nullptr);
    ASSERT_EQ(mission.m_pEvents->GetSize(), 2);
    EXPECT_EQ(mission.m_pEvents->GetAt(0)->GetStatus(), EVENT_PLAYER_VICTORY);
    EXPECT_EQ(mission.m_pEvents->GetAt(1)->GetStatus(), EVENT_PLAYER_LOSS);
    EXPECT_EQ(mission.m_pEvents->GetAt(0)->GetConditions()->GetSize(), 0);
    int bVictory = 7;
    EXPECT_EQ(mission.EvaluateEvents(bVictory, nullptr, kNoValues, CTimeSpan(0)), 1);
    EXPECT_EQ(bVictory, 1);

    // Without an event array the mission never ends.
    delete mission.m_pEvents;
    mission.m_pEvents = nullptr;
    bVictory = 7;
    EXPECT_EQ(mission.EvaluateEvents(bVictory, nullptr, kNoValues, CTimeSpan(0)), 0);
    EXPECT_EQ(bVictory, 7);
}

TEST(Mission, FileOfEveryMissionConditionReadsAndWritesBackTheSameBytes)
{
    const std::vector<BYTE> bytes = mission_bytes::Build().Get();
    CMission mission;
    Load(mission, bytes);

    EXPECT_EQ(mission.m_astrVariantFiles[0].GetCount(), 2);
    EXPECT_EQ(mission.m_astrVariantFiles[0].GetAt(1), "Red B.unt");
    EXPECT_EQ(mission.m_astrVariantFiles[6].GetAt(0), "Red A.hra");
    EXPECT_EQ(mission.m_strName, "Ridge");
    EXPECT_EQ(mission.m_strVictoryText, "Won.");
    EXPECT_EQ(mission.m_strLossText, "Lost.");
    EXPECT_TRUE(mission.m_abFlags[0]);
    EXPECT_FALSE(mission.m_abFlags[1]);
    EXPECT_EQ(mission.m_nDirection, 4800);
    EXPECT_TRUE(mission.m_aPairs[0].empty());
    EXPECT_EQ(mission.m_aPairs[1], (std::vector<std::pair<int, int>>{{-5, 7}}));
    EXPECT_EQ(mission.m_aPairs[2], (std::vector<std::pair<int, int>>{{10, 20}, {-32768, 32767}}));

    ASSERT_EQ(mission.m_pEvents->GetSize(), 2);
    CEvent* pVictory = mission.m_pEvents->GetAt(0);
    CEvent* pLoss = mission.m_pEvents->GetAt(1);
    EXPECT_EQ(pVictory->GetStatus(), EVENT_PLAYER_VICTORY);
    EXPECT_EQ(pLoss->GetStatus(), EVENT_PLAYER_LOSS);
    ASSERT_EQ(pVictory->GetConditions()->GetSize(), 3);
    ASSERT_EQ(pLoss->GetConditions()->GetSize(), 2);
    auto* pEllipse = ConditionAt<CConditionObjectiveEllipse>(pVictory, 0);
    ASSERT_NE(pEllipse, nullptr);
    EXPECT_EQ(pEllipse->m_nY2, -10);
    EXPECT_EQ(pEllipse->m_nFriendlyThreshold, 2);
    EXPECT_EQ(pEllipse->m_nEnemyThreshold, 1);
    EXPECT_TRUE(pEllipse->m_bFriendlyManeuver);
    EXPECT_FALSE(pEllipse->m_bEnemyManeuver);
    EXPECT_EQ(pEllipse->m_strName, "Hill 112");
    auto* pEnemy = ConditionAt<CConditionEnemyNumbers>(pVictory, 1);
    ASSERT_NE(pEnemy, nullptr);
    EXPECT_TRUE(pEnemy->m_bOneShot);
    EXPECT_EQ(pEnemy->m_nThreshold, 3);
    auto* pTime = ConditionAt<CConditionTimeLimit>(pVictory, 2);
    ASSERT_NE(pTime, nullptr);
    EXPECT_EQ(pTime->m_tsLimit.GetTotalSeconds(), 5400);
    auto* pFriendly = ConditionAt<CConditionFriendlyNumbers>(pLoss, 0);
    ASSERT_NE(pFriendly, nullptr);
    EXPECT_EQ(pFriendly->m_nThreshold, 6);
    auto* pBox = ConditionAt<CConditionPreventPenetrationBox>(pLoss, 1);
    ASSERT_NE(pBox, nullptr);
    EXPECT_EQ(pBox->m_nY2, 3000);
    EXPECT_EQ(pBox->m_nThreshold, 4);
    EXPECT_TRUE(pBox->m_bManeuver);
    EXPECT_EQ(pBox->m_strName, "");

    EXPECT_EQ(Store(mission), bytes);
}

TEST(Mission, AMissionWithoutEventsWritesAnEmptyEventList)
{
    CMission mission;
    delete mission.m_pEvents;
    mission.m_pEvents = nullptr;
    CMission back;
    Load(back, Store(mission));
    ASSERT_NE(back.m_pEvents, nullptr);
    EXPECT_EQ(back.m_pEvents->GetSize(), 0);
}

TEST(Mission, OneListedVariantIsDrawnAboutHalfTheTime)
{
    CMission mission;
    mission.m_astrVariantFiles[0].AddTail("Red.unt");
    mission.m_astrVariantFiles[2].AddTail("Red.hol");
    mission.m_astrVariantFiles[4].AddTail("Red.fob");
    mission.m_astrVariantFiles[6].AddTail("Red.hra");
    SRand(28);
    int nDrawn = 0;
    const int nDraws = 2000;
    for (int k = 0; k < nDraws; ++k)
    {
        CString units("stale"), holes("stale"), obstacles("stale"), hierarchy("stale");
        mission.PickRandomVariant(1, units, holes, obstacles, hierarchy);
        if (units.IsEmpty())
        {
            // No variant: all four names are empty, the hierarchy too.
            EXPECT_EQ(holes + obstacles + hierarchy, "");
            continue;
        }
        ++nDrawn;
        EXPECT_EQ(units, "Red.unt");
        EXPECT_EQ(holes, "Red.hol");
        EXPECT_EQ(obstacles, "Red.fob");
        EXPECT_EQ(hierarchy, "Red.hra");
    }
    EXPECT_GT(nDrawn, nDraws * 45 / 100);
    EXPECT_LT(nDrawn, nDraws * 55 / 100);

    // Side 2 lists nothing; no side 3.
    for (int nSide : {2, 3, 0})
    {
        CString units("stale"), holes("stale"), obstacles("stale"), hierarchy("stale");
        mission.PickRandomVariant(nSide, units, holes, obstacles, hierarchy);
        EXPECT_EQ(units + holes + obstacles + hierarchy, "");
    }
}

TEST(Mission, AShorterVariantListGivesAnEmptyName)
{
    CMission mission;
    mission.m_astrVariantFiles[1].AddTail("Blue A.unt");
    mission.m_astrVariantFiles[1].AddTail("Blue B.unt");
    mission.m_astrVariantFiles[3].AddTail("Blue A.hol");
    mission.m_astrVariantFiles[3].AddTail("Blue B.hol");
    mission.m_astrVariantFiles[5].AddTail("Blue A.fob");
    mission.m_astrVariantFiles[7].AddTail("Blue A.hra");
    SRand(5);
    int nSecond = 0;
    for (int k = 0; k < 300; ++k)
    {
        CString units, holes, obstacles, hierarchy("stale");
        mission.PickRandomVariant(2, units, holes, obstacles, hierarchy);
        if (units != "Blue B.unt")
            continue;
        ++nSecond;
        EXPECT_EQ(holes, "Blue B.hol");
        EXPECT_EQ(obstacles, "");
        EXPECT_EQ(hierarchy, "");
    }
    EXPECT_GT(nSecond, 0);
}
