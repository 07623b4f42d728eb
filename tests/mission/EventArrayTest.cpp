// The victory and loss events: which event decides, victory first, only the
// first of each kind, and the numbering of the objective and results lines.
#include "mission/EventArray.h"

#include "mission/ConditionKinds.h"
#include "units/HeldUnits.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace
{
const int kNoValues[CONDITION_DOC_VALUES] = {0, 0, 0, 0, 0, 0};

// A time limit: met once more than nSeconds have elapsed.
CCondition* After(LONG nSeconds)
{
    auto* p = new CConditionTimeLimit;
    p->m_tsLimit = CTimeSpan(nSeconds);
    return p;
}

template <class TEvent>
TEvent* EventOf(std::initializer_list<CCondition*> conditions)
{
    auto* pEvent = new TEvent;
    for (CCondition* pCondition : conditions)
        pEvent->GetConditions()->Add(pCondition);
    return pEvent;
}

struct Outcome
{
    int nEnded;
    int bVictory;
};

Outcome Evaluate(CEventArray& events, LONG nElapsed)
{
    Outcome outcome{0, 7};
    outcome.nEnded = events.Evaluate(outcome.bVictory, nullptr, kNoValues, CTimeSpan(nElapsed));
    return outcome;
}
}  // namespace

TEST(EventArray, VictoryNeedsAllItsConditionsLossAnyAndVictoryIsTestedFirst)
{
    struct Case
    {
        const char* what;
        std::function<void(CEventArray&)> fill;
        LONG nElapsed;
        int nEnded;
        int bVictory;  // 7: untouched
    };
    const Case cases[] = {
        {"empty victory: met at once",
         [](CEventArray& e)
         {
             e.Add(new CEventPlayerVictory);
             e.Add(new CEventPlayerLoss);
         },
         0, 1, 1},
        {"empty loss alone: never met", [](CEventArray& e) { e.Add(new CEventPlayerLoss); }, 99999, 0, 7},
        {"no events", [](CEventArray&) {}, 99999, 0, 7},
        {"victory needs all",
         [](CEventArray& e) { e.Add(EventOf<CEventPlayerVictory>({After(10), After(20)})); }, 15, 0, 7},
        {"all victory conditions met",
         [](CEventArray& e) { e.Add(EventOf<CEventPlayerVictory>({After(10), After(20)})); }, 21, 1, 1},
        {"loss needs any",
         [](CEventArray& e)
         {
             e.Add(EventOf<CEventPlayerVictory>({After(100)}));
             e.Add(EventOf<CEventPlayerLoss>({After(50), After(10)}));
         },
         11, 1, 0},
        {"both met: won",
         [](CEventArray& e)
         {
             e.Add(EventOf<CEventPlayerLoss>({After(10)}));
             e.Add(EventOf<CEventPlayerVictory>({After(10)}));
         },
         11, 1, 1},
        {"only the first victory event counts",
         [](CEventArray& e)
         {
             e.Add(EventOf<CEventPlayerVictory>({After(100)}));
             e.Add(new CEventPlayerVictory);
             e.Add(EventOf<CEventPlayerLoss>({After(100)}));
             e.Add(EventOf<CEventPlayerLoss>({After(0)}));
         },
         50, 0, 7},
        {"a plain event decides nothing", [](CEventArray& e) { e.Add(new CEvent); }, 50, 0, 7},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CEventArray events;
        c.fill(events);
        const Outcome outcome = Evaluate(events, c.nElapsed);
        EXPECT_EQ(outcome.nEnded, c.nEnded);
        EXPECT_EQ(outcome.bVictory, c.bVictory);
    }
}

TEST(EventArray, ObjectiveAndResultsLinesNumberOnFromVictoryToLoss)
{
    CEventArray events;
    auto* pEnemy = new CConditionEnemyNumbers;
    pEnemy->m_nThreshold = 2;
    events.Add(EventOf<CEventPlayerVictory>({pEnemy, After(3600)}));
    auto* pFriendly = new CConditionFriendlyNumbers;
    pFriendly->m_nThreshold = 1;
    events.Add(EventOf<CEventPlayerLoss>({pFriendly}));
    events.Add(EventOf<CEventPlayerLoss>({After(10)}));  // never read

    CHeldUnits units;
    units.Place(1, 0, 0.0f, 0.0f);
    const CTime tStart(2002, 6, 14, 5, 30, 0);
    const CString start = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
    const CString end = "</FONT></FONT><BR>\r\n";

    CString objectives("stale");
    events.GetObjectiveText(objectives, tStart);
    EXPECT_EQ(objectives, start + "1.  Attrit the enemy to 2 enemy vehicles or teams.\r\n" + end + start +
                              "2.  Maintain mission objectives until 140630JUN02.\r\n" + end + start +
                              "3.  Maintain at least 1 friendly vehicle or team in tact.\r\n" + end);

    CString results("stale");
    events.GetResultsText(results, &units, kNoValues, tStart, CTimeSpan(4000));
    EXPECT_EQ(results, start + "1.  The enemy has 1 vehicle or team remaining.\r\n" + end + start +
                           "2.  Mission objectives were maintained beyond 140630JUN02.\r\n" + end + start +
                           "3.  Friendly forces have no vehicles or teams remaining.\r\n" + end);

    // Each kind's events answer for themselves.
    CString name;
    events.GetAt(0)->GetName(name);
    EXPECT_EQ(name, "Player Victory");
    events.GetAt(1)->GetName(name);
    EXPECT_EQ(name, "Player Loss");
    EXPECT_EQ(events.GetAt(1)->GetUsage(), CONDITION_MISSION);
    EXPECT_EQ(events.m_astrEventTypeNames.GetSize(), 2);
    EXPECT_EQ(events.m_astrOtherNames.GetSize(), 0);
}
