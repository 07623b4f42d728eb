#pragma once
// A mission file laid out by hand from its layout: variant lists, a victory
// event (objective ellipse, enemy numbers, time limit) and a loss event
// (friendly numbers, penetration box), the five texts, the flag words, the
// value once, and three pair lists, the third of two pairs. Class tags are
// numbered as the archive numbers them: a class met first takes one index
// and its object the next; a class met again is named by its index.

#include "app/ScenarioBytes.h"

#include <cstring>

namespace mission_bytes
{
// The class a condition is written as, which a test may misspell.
struct Names
{
    const char* enemyNumbers = "CConditionEnemyNumbers";
};

inline CScenarioBytes& NewClass(CScenarioBytes& b, const char* name)
{
    return b.Word(0xFFFF).Word(1).Word(static_cast<unsigned>(std::strlen(name))).Chars(name);
}

inline CScenarioBytes Build(const Names& names = Names())
{
    CScenarioBytes b;
    // Variant lists: side-1 units, side-2 units, side-1 dug positions,
    // side-2 dug positions, side-1 obstacles, side-2 obstacles, side-1
    // hierarchies, side-2 hierarchies.
    b.Word(2).Str("Red A.unt").Str("Red B.unt");
    b.Word(1).Str("Blue A.unt");
    b.Word(1).Str("Red A.hol");
    b.Word(0);
    b.Word(2).Str("Red A.fob").Str("Red B.fob");
    b.Word(0);
    b.Word(1).Str("Red A.hra");
    b.Word(0);
    // Two events. Indexes: victory class 1, event 2, ellipse class 3 and 4,
    // enemy numbers 5 and 6, time limit 7 and 8, loss class 9 and 10,
    // friendly numbers 11 and 12, box 13 and 14.
    b.Word(2);
    NewClass(b, "CEventPlayerVictory").Word(3);
    NewClass(b, "CConditionObjectiveEllipse").Word(0);
    b.Word(100).Word(900).Word(700).Word(0xFFF6);  // x1, y1, x2, y2 = -10
    b.Word(2).Word(1).Word(1).Word(0).Str("Hill 112");
    NewClass(b, names.enemyNumbers).Word(1).Word(3).Word(1);
    NewClass(b, "CConditionTimeLimit").Word(0).DWord(5400);
    NewClass(b, "CEventPlayerLoss").Word(2);
    NewClass(b, "CConditionFriendlyNumbers").Word(0).Word(6).Word(0);
    NewClass(b, "CConditionPreventPenetrationBox").Word(0);
    b.Word(2000).Word(0).Word(2500).Word(3000).Word(4).Word(1).Str("");
    // Texts, flags, the value, the pair lists.
    b.Str("stale.msn").Str("Ridge").Str("Take the ridge.").Str("Won.").Str("Lost.");
    b.Word(1).Word(0).Word(1);
    b.Word(4800);
    b.Word(0);
    b.Word(1).Word(0xFFFB).Word(7);
    b.Word(2).Word(10).Word(20).Word(0x8000).Word(0x7FFF);
    return b;
}
}  // namespace mission_bytes
