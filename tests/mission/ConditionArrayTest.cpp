// The condition model: the mission and order tests of a condition list, the
// failure message, and every kind's copy and record.
#include "ai/UOrdAIOrderData.h"
#include "mission/ConditionKinds.h"
#include "orders/NodeArray.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
const int kNoValues[CONDITION_DOC_VALUES] = {0, 0, 0, 0, 0, 0};

// A condition with a fixed answer that counts how often it was asked.
class CScriptedCondition : public CCondition
{
public:
    CScriptedCondition(DWORD dwType, int nAnswer, BOOL bOneShot, std::vector<DWORD>* pLog)
        : m_dwType(dwType), m_nAnswer(nAnswer), m_pLog(pLog)
    {
        m_bOneShot = bOneShot;
    }
    int IsMet(CKDRUnits*, const int*, CTimeSpan) override
    {
        m_pLog->push_back(m_dwType);
        return m_nAnswer;
    }
    int Evaluate(CUOrdAIOrderDataArray*, CConditionArray*, CHierarchyPlatoon*, CKDRUnits*, CKDRObstacles*,
                 CKDRDatabase*, CKDRGameMap*) override
    {
        m_pLog->push_back(m_dwType);
        return m_nAnswer;
    }
    void GetDescription(CString& text, CHierarchyPlatoon*, CKDRUnits*, CKDRDatabase*, CKDRGameMap*) override
    {
        text.Format("condition %u", static_cast<unsigned>(m_dwType));
    }
    DWORD GetType() const override { return m_dwType; }

    DWORD m_dwType;
    int m_nAnswer;
    std::vector<DWORD>* m_pLog;
};

std::vector<BYTE> Store(CConditionArray& array)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        array.Serialize(ar);
        ar.Close();
    }
    return file.GetData();
}

void Load(CConditionArray& array, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    array.Serialize(ar);
}

// One of every kind, with fields away from their defaults.
void FillEveryKind(CConditionArray& array)
{
    auto* pEllipse = new CConditionObjectiveEllipse;
    pEllipse->m_nX1 = 10;
    pEllipse->m_nY2 = -20;
    pEllipse->m_bEnemyManeuver = TRUE;
    pEllipse->m_strName = "Hill 112";
    array.Add(pEllipse);
    auto* pEnemy = new CConditionEnemyNumbers;
    pEnemy->m_nThreshold = 3;
    array.Add(pEnemy);
    auto* pFriendly = new CConditionFriendlyNumbers;
    pFriendly->m_bManeuver = TRUE;
    array.Add(pFriendly);
    auto* pBox = new CConditionPreventPenetrationBox;
    pBox->m_nX2 = 500;
    pBox->m_strName = "Phase line";
    array.Add(pBox);
    auto* pTime = new CConditionTimeLimit;
    pTime->m_tsLimit = CTimeSpan(3600);
    array.Add(pTime);
    auto* pCallBack = new CConditionCallBack;
    pCallBack->m_nFirstWord = kUnset;
    pCallBack->m_nSecondWord = 100;
    pCallBack->m_dwEventMask = 0x200;
    auto* pRecord = new CConditionCallBackUnit;
    pRecord->m_nUnit = 4;
    pRecord->m_bDone = TRUE;
    pCallBack->m_records.Add(pRecord);
    pCallBack->m_astrDataNames.Add("Route");
    array.Add(pCallBack);
    auto* pCount = new CConditionVehicleCount;
    pCount->m_strForceName = "2nd Platoon";
    pCount->m_dwRoleMask = 0x4;
    pCount->m_nThreshold = 2;
    array.Add(pCount);
    auto* pHierarchy = new CConditionHierarchyCount;
    pHierarchy->m_nValue = 7;
    array.Add(pHierarchy);
    auto* pDistance = new CConditionDistance;
    pDistance->m_dwRelation = 3;
    pDistance->m_fX = 1.5f;
    pDistance->m_fDistance = 100.0f;
    array.Add(pDistance);
    auto* pPercent = new CConditionForcePercentage;
    pPercent->m_nPercent = 50;
    array.Add(pPercent);
    auto* pStatus = new CConditionUnitStatus;
    pStatus->m_nStatusCode = 2;
    pStatus->m_bWanted = TRUE;
    array.Add(pStatus);
    auto* pCallBackCount = new CConditionCallBackCount;
    pCallBackCount->m_nRequiredCount = 5;
    array.Add(pCallBackCount);
    auto* pTargets = new CConditionNumberOfTargets;
    pTargets->m_dwRelation = 4;
    array.Add(pTargets);
    auto* pBreachers = new CConditionNumberOfBreachers;
    pBreachers->m_nFurther = 9;
    array.Add(pBreachers);
    auto* pSnapShot = new CConditionCallBackSnapShot;
    pSnapShot->m_nRequiredCount = 1;
    array.Add(pSnapShot);
    auto* pBreaches = new CConditionBreachesComplete;
    pBreaches->m_nValue2 = 1;
    array.Add(pBreaches);
    auto* pPath = new CConditionPathIntersectsLine;
    pPath->m_anValues[3] = 77;
    pPath->m_pPath->AddNode(5, 6);
    array.Add(pPath);
    auto* pAITime = new CConditionAITimeLimit;
    pAITime->m_tsLimit = CTimeSpan(90);
    pAITime->m_astrDataNames.Add("H-Hour");
    array.Add(pAITime);
    auto* pEventBox = new CConditionEventBox;
    pEventBox->m_strAreaName = "North";
    pEventBox->m_nY2 = 400;
    pEventBox->m_bEllipse = TRUE;
    array.Add(pEventBox);
    auto* pCompare = new CConditionCompareEventBoxes;
    pCompare->m_strReference = "North";
    pCompare->m_pBoxes->Add(new CConditionEventBox);
    array.Add(pCompare);
    for (int i = 0; i < array.GetSize(); i += 3)
        array.GetAt(i)->m_bOneShot = TRUE;
}
}  // namespace

TEST(ConditionArray, MissionTestIsAllOrAnyAndStopsAtTheDecidingCondition)
{
    std::vector<DWORD> log;
    CConditionArray empty;
    EXPECT_TRUE(empty.Test(nullptr, kNoValues, CTimeSpan(0), FALSE));
    EXPECT_FALSE(empty.Test(nullptr, kNoValues, CTimeSpan(0), TRUE));

    CConditionArray array;
    array.Add(new CScriptedCondition(1, 1, FALSE, &log));
    array.Add(new CScriptedCondition(2, 0, FALSE, &log));
    array.Add(new CScriptedCondition(4, 1, FALSE, &log));
    EXPECT_FALSE(array.Test(nullptr, kNoValues, CTimeSpan(0), FALSE));
    EXPECT_EQ(log, (std::vector<DWORD>{1, 2}));
    log.clear();
    EXPECT_TRUE(array.Test(nullptr, kNoValues, CTimeSpan(0), TRUE));
    EXPECT_EQ(log, (std::vector<DWORD>{1}));
    EXPECT_EQ(array.GetSize(), 3);
}

TEST(ConditionArray, OrderTestOrsFiredTypesAndRemovesFiredOneShots)
{
    std::vector<DWORD> log;
    CConditionArray array;
    CStringArray descriptions;
    descriptions.Add("stale");
    EXPECT_EQ(array.TestOrderConditions(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &descriptions, FALSE),
              0u);
    EXPECT_EQ(descriptions.GetSize(), 0);

    array.Add(new CScriptedCondition(0x20, 1, TRUE, &log));
    array.Add(new CScriptedCondition(0x40, 1, TRUE, &log));
    array.Add(new CScriptedCondition(0x100, 0, TRUE, &log));
    array.Add(new CScriptedCondition(0x400, 1, FALSE, &log));
    EXPECT_EQ(array.TestOrderConditions(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &descriptions, FALSE),
              0x20u | 0x40u | 0x400u);
    EXPECT_EQ(log, (std::vector<DWORD>{0x20, 0x40, 0x100, 0x400}));
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array.GetAt(0)->GetType(), 0x100u);
    ASSERT_EQ(descriptions.GetSize(), 3);
    EXPECT_EQ(descriptions[0], "condition 32");

    // Describing the unfired ones.
    array.Add(new CScriptedCondition(0x800, 1, TRUE, &log));
    EXPECT_EQ(array.TestOrderConditions(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &descriptions, TRUE),
              0x400u | 0x800u);
    ASSERT_EQ(descriptions.GetSize(), 1);
    EXPECT_EQ(descriptions[0], "condition 256");
    EXPECT_EQ(array.GetSize(), 2);
}

TEST(ConditionArray, UnitEventsAndTicksReachEveryCondition)
{
    CConditionArray array;
    EXPECT_FALSE(array.AnyUnitEventMet(2, 0, 0, 0, 0, 0, 0));
    array.Add(new CConditionVehicleCount);
    EXPECT_TRUE(array.AnyUnitEventMet(2, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(array.TickAll(CTimeSpan(5), 0), 0u);
    EXPECT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array.UpdateAll(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 1);

    auto* pEventBox = new CConditionEventBox;
    pEventBox->m_strAreaName = "East";
    array.Add(pEventBox);
    EXPECT_EQ(array.FindEventBox("East"), pEventBox);
    EXPECT_EQ(array.FindEventBox("east"), nullptr);
}

TEST(ConditionArray, DescribeFailure)
{
    CStringArray one;
    one.Add("Distance to Crossing is 100.00 m or less.");
    EXPECT_EQ(CConditionArray::DescribeFailure(&one, FALSE, FALSE, FALSE),
              "Could not execute mission because following condition was met:\r\n\r\n"
              "\tDistance to Crossing is 100.00 m or less.\r\n");
    CStringArray two;
    two.Add("A");
    two.Add("B");
    EXPECT_EQ(CConditionArray::DescribeFailure(&two, FALSE, TRUE, TRUE),
              "Mission aborted because following conditions were not met:\r\n\r\n\t1. A\r\n\t2. B\r\n");
    EXPECT_EQ(CConditionArray::DescribeFailure(&two, TRUE, FALSE, FALSE).Left(16), "Mission canceled");
    EXPECT_EQ(CConditionArray::DescribeFailure(nullptr, FALSE, FALSE, FALSE), "");
    CStringArray none;
    EXPECT_EQ(CConditionArray::DescribeFailure(&none, FALSE, FALSE, TRUE), "");
}

TEST(ConditionArray, ObjectiveLinesAreNumberedOnFromTheCounter)
{
    CConditionArray array;
    array.Add(new CConditionTimeLimit);
    array.Add(new CConditionEnemyNumbers);
    CString html;
    int nCounter = 4;
    array.GetObjectiveLines(html, FALSE, CTime(), nCounter);
    EXPECT_EQ(nCounter, 6);
    EXPECT_EQ(html, "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">4.  "
                    "Maintain mission objectives until 010000JAN70.\r\n</FONT></FONT><BR>\r\n"
                    "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">5.  "
                    "Destroy all enemy vehicles or teams.\r\n</FONT></FONT><BR>\r\n");
}

TEST(ConditionArray, EveryKindCopiesAndRoundTripsEqual)
{
    CConditionArray array;
    FillEveryKind(array);
    ASSERT_EQ(array.GetSize(), 20);
    const std::vector<BYTE> bytes = Store(array);

    // Kinds, categories and names.
    DWORD dwSeen = 0;
    for (int i = 0; i < array.GetSize(); ++i)
    {
        const CCondition* pCondition = array.GetAt(i);
        dwSeen |= pCondition->GetType();
        EXPECT_EQ(pCondition->GetUsage(), pCondition->GetType() <= COND_TIME_LIMIT ? 2 : 4);
        CString name;
        pCondition->GetTypeName(name);
        EXPECT_FALSE(name.IsEmpty());
    }
    EXPECT_EQ(dwSeen, 0xFFFFFu);

    const CConditionArray copy(array);
    ASSERT_EQ(copy.GetSize(), array.GetSize());
    for (int i = 0; i < copy.GetSize(); ++i)
    {
        EXPECT_NE(copy.GetAt(i), array.GetAt(i));
        EXPECT_EQ(copy.GetAt(i)->GetRuntimeClass(), array.GetAt(i)->GetRuntimeClass());
    }
    CConditionArray& copyRef = const_cast<CConditionArray&>(copy);
    EXPECT_EQ(Store(copyRef), bytes);

    CConditionArray loaded;
    Load(loaded, bytes);
    ASSERT_EQ(loaded.GetSize(), 20);
    EXPECT_EQ(Store(loaded), bytes);
    EXPECT_EQ(static_cast<CConditionObjectiveEllipse*>(loaded.GetAt(0))->m_nY2, -20);
    EXPECT_EQ(static_cast<CConditionCallBack*>(loaded.GetAt(5))->m_records.GetAt(0)->m_nUnit, 4);
    EXPECT_EQ(static_cast<CConditionPathIntersectsLine*>(loaded.GetAt(16))->m_pPath->GetSize(), 1);
}

TEST(ConditionArray, BindingWalkTakesValuesOnlyFromCalculatedItems)
{
    class CBindingCount : public CConditionVehicleCount
    {
    public:
        int SetFromDataItem(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CKDRUnits*,
                            CKDRDatabase*, CKDRGameMap*) override
        {
            m_taken.Add(pItem->m_strName);
            return 1;
        }
        CStringArray m_taken;
    };
    CUOrdAIOrderDataArray items;
    for (const char* pszName : {"A", "B", "C"})
    {
        auto* pItem = new CUOrdAIOrderData;
        pItem->m_strName = pszName;
        pItem->m_bCalculated = CString(pszName) != "B";
        items.Add(pItem);
    }
    CBindingCount condition;
    for (const char* pszName : {"C", "", "B", "Missing", "A"})
        condition.m_astrDataNames.Add(pszName);
    EXPECT_EQ(condition.Evaluate(&items, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(condition.m_taken.GetSize(), 2);
    EXPECT_EQ(condition.m_taken[0], "C");
    EXPECT_EQ(condition.m_taken[1], "A");
}

TEST(ConditionArray, ListsNestedPastThirtyTwoDeepAreRefused)
{
    // Compare Event Boxes each holding the next one's list, n deep.
    const auto nested = [](int nDepth)
    {
        std::vector<BYTE> bytes;
        const auto word = [&](int w)
        {
            bytes.push_back(static_cast<BYTE>(w & 0xFF));
            bytes.push_back(static_cast<BYTE>((w >> 8) & 0xFF));
        };
        const std::string name = "CConditionCompareEventBoxes";
        for (int i = 0; i < nDepth; ++i)
        {
            word(1);  // one condition in this list
            if (i == 0)
            {
                word(0xFFFF);
                word(1);
                word(static_cast<int>(name.size()));
                bytes.insert(bytes.end(), name.begin(), name.end());
            }
            else
            {
                word(0x8001);
            }
            word(0);  // one-shot
            word(0);  // no names
        }
        word(0);  // the innermost list is empty
        for (int i = 0; i < nDepth; ++i)
        {
            bytes.push_back(0);  // reference text
            word(0);             // relation
        }
        return bytes;
    };
    CConditionArray fine;
    Load(fine, nested(31));
    ASSERT_EQ(fine.GetSize(), 1);
    EXPECT_EQ(Store(fine), nested(31));

    CConditionArray deep;
    try
    {
        Load(deep, nested(40));
        FAIL() << "a list nested 40 deep was read";
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
}

TEST(AIOrderData, CalculatingWalksNamedItemsInputsFirstAndBreaksCycles)
{
    class CLoggingItem : public CUOrdAIOrderData
    {
    public:
        CLoggingItem(const char* pszName, std::vector<CString>* pLog) : m_pLog(pLog) { m_strName = pszName; }
        BOOL ApplyReference(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CKDRUnits*,
                            CKDRDatabase*, CKDRGameMap*, BOOL) override
        {
            m_pLog->push_back(m_strName + "<" + pItem->m_strName);
            return TRUE;
        }
        std::vector<CString>* m_pLog;
    };
    std::vector<CString> log;
    CUOrdAIOrderDataArray items;
    auto* pRoute = new CLoggingItem("Route", &log);
    pRoute->m_bCalculate = TRUE;
    pRoute->m_astrReferencedNames.Add("Objective");
    pRoute->m_astrReferencedNames.Add("Route");
    auto* pObjective = new CLoggingItem("Objective", &log);
    pObjective->m_astrReferencedNames.Add("Route");  // a cycle
    items.Add(pRoute);
    items.Add(pObjective);

    EXPECT_TRUE(items.CalculateAll(nullptr, nullptr, nullptr, nullptr, nullptr, FALSE, FALSE));
    EXPECT_EQ(log, (std::vector<CString>{"Objective<Route", "Route<Objective", "Route<Route"}));
    EXPECT_TRUE(pRoute->m_bCalculated);
    EXPECT_TRUE(pObjective->m_bCalculated);

    // Calculated items are left alone unless recalculating.
    log.clear();
    items.CalculateAll(nullptr, nullptr, nullptr, nullptr, nullptr, FALSE, FALSE);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(pRoute->Calculate(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FALSE));
}
