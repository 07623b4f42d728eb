// The five mission conditions: when each is met, and the objective and
// status sentences of each, from the player's side and, in a multiplayer
// game, from the enemy side's.
#include "database/DatabaseTestSupport.h"
#include "units/HeldUnits.h"

#include "mission/ConditionKinds.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{
const int kNoValues[CONDITION_DOC_VALUES] = {0, 0, 0, 0, 0, 0};
constexpr int FRIENDLY = 0;
constexpr int ENEMY = 1;

// Dawn on 14 June 2002; an hour later is written "140630JUN02".
CTime Start() { return CTime(2002, 6, 14, 5, 30, 0); }

int Met(CCondition& c, CKDRUnits* pUnits, LONG nElapsed = 0)
{
    return c.IsMet(pUnits, kNoValues, CTimeSpan(nElapsed));
}

CConditionObjectiveEllipse* Ellipse(int nFriendly, int nEnemy, const char* name = "")
{
    auto* p = new CConditionObjectiveEllipse;
    p->m_nX1 = 0;
    p->m_nY1 = 100;
    p->m_nX2 = 200;
    p->m_nY2 = 0;
    p->m_nFriendlyThreshold = nFriendly;
    p->m_nEnemyThreshold = nEnemy;
    p->m_strName = name;
    return p;
}

template <class T>
T* Numbers(int nThreshold, BOOL bManeuver = FALSE)
{
    auto* p = new T;
    p->m_nThreshold = nThreshold;
    p->m_bManeuver = bManeuver;
    return p;
}

CConditionPreventPenetrationBox* Box(int nThreshold, const char* name = "")
{
    auto* p = new CConditionPreventPenetrationBox;
    p->m_nX1 = 1000;
    p->m_nY1 = 1000;
    p->m_nX2 = 2000;
    p->m_nY2 = 0;
    p->m_nThreshold = nThreshold;
    p->m_strName = name;
    return p;
}

CConditionTimeLimit* TimeLimit(LONG nSeconds)
{
    auto* p = new CConditionTimeLimit;
    p->m_tsLimit = CTimeSpan(nSeconds);
    return p;
}

struct SentenceCase
{
    const char* what;
    std::function<CCondition*()> make;
    std::function<void(CHeldUnits&)> place;
    BOOL bLossEvent;
    LONG nElapsed;
    const char* objective;
    const char* status;
};

void CheckSentences(const SentenceCase& c)
{
    SCOPED_TRACE(c.what);
    std::unique_ptr<CCondition> pCondition(c.make());
    CHeldUnits units;
    if (c.place)
        c.place(units);
    CString objective;
    pCondition->GetObjectiveSentence(objective, c.bLossEvent, Start());
    EXPECT_EQ(objective, c.objective);
    CString status;
    pCondition->GetStatusSentence(status, &units, kNoValues, CTimeSpan(c.nElapsed), Start(), c.bLossEvent);
    EXPECT_EQ(status, c.status);
}
}  // namespace

TEST(MissionConditions, ObjectiveEllipseTakesTheEnemyCountFirst)
{
    std::unique_ptr<CCondition> pEasy(Ellipse(0, 0));
    CHeldUnits units;
    EXPECT_EQ(Met(*pEasy, &units), 0);
    units.Place(FRIENDLY, 0, 100.0f, 50.0f);
    units.Place(FRIENDLY, 0, 500.0f, 50.0f);  // outside
    EXPECT_EQ(Met(*pEasy, &units), 1);
    // One enemy inside at enemy threshold 0: not met, however many friends.
    units.Place(FRIENDLY, 0, 110.0f, 50.0f);
    units.Place(ENEMY, 0, 120.0f, 50.0f);
    EXPECT_EQ(Met(*pEasy, &units), 0);
    std::unique_ptr<CCondition> pOneEnemyLeft(Ellipse(1, 1));
    EXPECT_EQ(Met(*pOneEnemyLeft, &units), 1);
    // The friendly count must pass its threshold.
    std::unique_ptr<CCondition> pThree(Ellipse(2, 1));
    EXPECT_EQ(Met(*pThree, &units), 0);
}

TEST(MissionConditions, NumbersBoxesAndTimeLimitsAreMetAtTheirThresholds)
{
    CHeldUnits units;
    std::unique_ptr<CCondition> pFriendlyNone(Numbers<CConditionFriendlyNumbers>(0));
    std::unique_ptr<CCondition> pFriendlyTwo(Numbers<CConditionFriendlyNumbers>(2));
    std::unique_ptr<CCondition> pEnemyNone(Numbers<CConditionEnemyNumbers>(0));
    std::unique_ptr<CCondition> pBox(Box(1));

    // Friendly Numbers 0 is never met, not even with no unit at all.
    EXPECT_EQ(Met(*pFriendlyNone, &units), 0);
    EXPECT_EQ(Met(*pFriendlyNone, nullptr), 0);
    EXPECT_EQ(Met(*pFriendlyTwo, &units), 1);
    units.Place(FRIENDLY, 0, 0.0f, 0.0f);
    units.Place(FRIENDLY, 0, 0.0f, 0.0f);
    EXPECT_EQ(Met(*pFriendlyTwo, &units), 0);
    units.KillAllBut(FRIENDLY, 1);
    EXPECT_EQ(Met(*pFriendlyTwo, &units), 1);

    // Enemy Numbers 0: met once no live enemy is left.
    CUnit* pEnemy = units.Place(ENEMY, 0, 1500.0f, 500.0f);
    EXPECT_EQ(Met(*pEnemyNone, &units), 0);
    // The box: the first enemy inside does not pass threshold 1, the second does.
    EXPECT_EQ(Met(*pBox, &units), 0);
    units.Place(ENEMY, 1, 1999.4f, 0.0f);
    EXPECT_EQ(Met(*pBox, &units), 1);
    pEnemy->m_bDestroyed = TRUE;
    EXPECT_EQ(Met(*pBox, &units), 0);
    units.KillAllBut(ENEMY, 0);
    EXPECT_EQ(Met(*pEnemyNone, &units), 1);

    std::unique_ptr<CCondition> pHour(TimeLimit(3600));
    EXPECT_EQ(Met(*pHour, &units, 3600), 0);
    EXPECT_EQ(Met(*pHour, &units, 3601), 1);
}

TEST(MissionConditions, SentencesOfThePlayersSide)
{
    auto oneEnemyInside = [](CHeldUnits& u) { u.Place(ENEMY, 0, 100.0f, 50.0f); };
    const SentenceCase cases[] = {
        {"enemy numbers 0, maneuver", [] { return Numbers<CConditionEnemyNumbers>(0, TRUE); }, {}, FALSE, 0,
         "Destroy all enemy maneuver vehicles or teams.\r\n", "The enemy has no maneuver vehicles or teams remaining.\r\n"},
        {"enemy numbers 2", [] { return Numbers<CConditionEnemyNumbers>(2); }, oneEnemyInside, FALSE, 0,
         "Attrit the enemy to 2 enemy vehicles or teams.\r\n", "The enemy has 1 vehicle or team remaining.\r\n"},
        {"enemy numbers 1", [] { return Numbers<CConditionEnemyNumbers>(1); }, {}, FALSE, 0,
         "Attrit the enemy to 1 enemy vehicle or team.\r\n", "The enemy has no vehicles or teams remaining.\r\n"},
        {"friendly numbers 1", [] { return Numbers<CConditionFriendlyNumbers>(1); },
         [](CHeldUnits& u) { u.Place(FRIENDLY, 0, 0.0f, 0.0f); }, FALSE, 0,
         "Maintain at least 1 friendly vehicle or team in tact.\r\n",
         "Friendly forces have 1 vehicle or team remaining.\r\n"},
        {"friendly numbers 12, maneuver", [] { return Numbers<CConditionFriendlyNumbers>(12, TRUE); }, {}, TRUE, 0,
         "Maintain at least 12 friendly maneuver vehicles or teams in tact.\r\n",
         "Friendly forces have no maneuver vehicles or teams remaining.\r\n"},
        {"unnamed box", [] { return Box(1); }, {}, FALSE, 0,
         "Prevent penetration of the 'No Penetration' line by 1 or more enemy vehicles or teams.\r\n",
         "The enemy has penetrated the 'No Penetration' line with no vehicles or teams.\r\n"},
        {"named box", [] { return Box(3, "Phase Line Gold"); },
         [](CHeldUnits& u) { u.Place(ENEMY, 0, 1500.0f, 500.0f); }, FALSE, 0,
         "Prevent penetration of Phase Line Gold by 3 or more enemy vehicles or teams.\r\n",
         "The enemy has penetrated Phase Line Gold with 1 vehicle or team.\r\n"},
        {"named ellipse", [] { return Ellipse(1, 0, "Hill 112"); }, oneEnemyInside, FALSE, 0,
         "Eliminate all vehicles or teams in Hill 112 and occupy it with at least 1 friendly vehicle or team.\r\n",
         "1 enemy vehicle or team remains in the objective, Hill 112.  The objective is not occupied by any friendly "
         "vehicles or teams.\r\n"},
        {"ellipse, maneuver both sides",
         []
         {
             CConditionObjectiveEllipse* p = Ellipse(3, 2);
             p->m_bEnemyManeuver = TRUE;
             p->m_bFriendlyManeuver = TRUE;
             return p;
         },
         [](CHeldUnits& u) { u.Place(FRIENDLY, 0, 100.0f, 50.0f); }, FALSE, 0,
         "Eliminate all but 2 of the maneuver vehicles or teams in the objective and occupy it with at least 3 "
         "friendly maneuver vehicles or teams.\r\n",
         "No enemy maneuver vehicles or teams remain in the objective.  The objective is occupied by 1 friendly "
         "vehicle or team.\r\n"},
        {"ellipse, no friendly threshold", [] { return Ellipse(0, 0); }, {}, FALSE, 0,
         "Eliminate all vehicles or teams in the objective.\r\n",
         "No enemy vehicles or teams remain in the objective.  The objective is not occupied by any friendly "
         "vehicles or teams.\r\n"},
        {"time limit, victory, at the limit", [] { return TimeLimit(3600); }, {}, FALSE, 3600,
         "Maintain mission objectives until 140630JUN02.\r\n",
         "Mission objectives were not maintained beyond 140630JUN02.\r\n"},
        {"time limit, victory, passed", [] { return TimeLimit(3600); }, {}, FALSE, 3601,
         "Maintain mission objectives until 140630JUN02.\r\n",
         "Mission objectives were maintained beyond 140630JUN02.\r\n"},
        {"time limit, loss", [] { return TimeLimit(3600); }, {}, TRUE, 60,
         "Achieve mission objectives no later than 140630JUN02.\r\n",
         "The 'No Later Than' time of 140630JUN02 has not yet elapsed.\r\n"},
        {"time limit, loss, passed", [] { return TimeLimit(3600); }, {}, TRUE, 3700,
         "Achieve mission objectives no later than 140630JUN02.\r\n",
         "The 'No Later Than' time of 140630JUN02 elapsed without mission objectives having been achieved.\r\n"},
    };
    CDatabaseTestApp app;  // a single-player game
    for (const SentenceCase& c : cases)
        CheckSentences(c);
}

TEST(MissionConditions, SentencesOfTheEnemySideInAMultiplayerGameWithTheSameTests)
{
    CDatabaseTestApp app;
    app.App().m_bMultiplayer = TRUE;
    app.App().m_bPlayEnemySide = TRUE;
    auto twoOwn = [](CHeldUnits& u)
    {
        u.Place(FRIENDLY, 0, 100.0f, 50.0f);
        u.Place(FRIENDLY, 0, 1500.0f, 500.0f);
    };
    const SentenceCase cases[] = {
        {"enemy numbers 0", [] { return Numbers<CConditionEnemyNumbers>(0); }, twoOwn, FALSE, 0,
         "Maintain at least one vehicle or team.\r\n", "You have 2 vehicles or teams remaining.\r\n"},
        {"enemy numbers 3", [] { return Numbers<CConditionEnemyNumbers>(3, TRUE); }, {}, FALSE, 0,
         "Maintain at least 3 maneuver vehicles or teams.\r\n", "You have no maneuver vehicles or teams remaining.\r\n"},
        {"friendly numbers 0", [] { return Numbers<CConditionFriendlyNumbers>(0); }, twoOwn, FALSE, 0,
         "Destroy all opponent vehicles or teams.\r\n", "Your opponent has no vehicles or teams remaining.\r\n"},
        {"friendly numbers 1", [] { return Numbers<CConditionFriendlyNumbers>(1); }, {}, FALSE, 0,
         "Attrit your opponent to 1 vehicle or team.\r\n", "Your opponent has no vehicles or teams remaining.\r\n"},
        {"unnamed box", [] { return Box(1); }, twoOwn, FALSE, 0,
         "Penetrate your opponent's 'No Penetration' line with at least 1 vehicle or team.\r\n",
         "Your forces have penetrated the 'No Penetration' line with 1 vehicle or team.\r\n"},
        {"ellipse", [] { return Ellipse(1, 0); }, twoOwn, FALSE, 0,
         "Maintain at least one vehicle or team in the objective and prevent it from being occupied with 1 or more "
         "vehicles or teams.\r\n",
         "1 of your vehicles or teams remain in the objective.  The objective is not occupied by any of your "
         "opponent's vehicles or teams.\r\n"},
        {"ellipse, none left", [] { return Ellipse(2, 3, "Hill 112"); }, {}, FALSE, 0,
         "Maintain at least 3 vehicles or teams in Hill 112 and prevent it from being occupied with 2 or more "
         "vehicles or teams.\r\n",
         "None of your vehicles or teams remain in the objective, Hill 112.  The objective is not occupied by any of "
         "your opponent's vehicles or teams.\r\n"},
        {"time limit, victory event", [] { return TimeLimit(3600); }, {}, FALSE, 0,
         "Achieve mission objectives no later than 140630JUN02.\r\n",
         "The 'No Later Than' time of 140630JUN02 has not yet elapsed.\r\n"},
        {"time limit, loss event", [] { return TimeLimit(3600); }, {}, TRUE, 0,
         "Maintain mission objectives until 140630JUN02.\r\n",
         "Mission objectives were not maintained beyond 140630JUN02.\r\n"},
    };
    for (const SentenceCase& c : cases)
        CheckSentences(c);

    // The tests do not change sides: one own unit in the ellipse still
    // occupies it for side 0.
    std::unique_ptr<CCondition> pEllipse(Ellipse(0, 0));
    CHeldUnits units;
    units.Place(FRIENDLY, 0, 100.0f, 50.0f);
    EXPECT_EQ(Met(*pEllipse, &units), 1);
}
