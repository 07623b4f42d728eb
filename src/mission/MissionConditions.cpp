// The tests and sentences of the five mission conditions.

#include "mission/ConditionKinds.h"
#include "mission/GameTime.h"
#include "shell/PlayService.h"
#include "units/KDRUnits.h"

namespace
{
constexpr int SIDE_FRIENDLY = 0;
constexpr int SIDE_ENEMY = 1;

// Whether the local player plays the enemy side of a multiplayer game: the
// sentences are then written from that player's view.
BOOL IsEnemySidePlayed()
{
    const CPlayService* pPlay = GetPlayService();
    return pPlay != nullptr && pPlay->IsMultiplayer() && pPlay->IsPlayingEnemySide();
}

CString Number(int nValue)
{
    CString text;
    text.Format("%d", nValue);
    return text;
}

int CountLive(const CKDRUnits* pUnits, int nSide) { return pUnits != nullptr ? pUnits->CountLiveUnits(nSide) : 0; }

// The ellipse is given by the corners (x1, y2) and (x2, y1).
int CountInEllipse(const CKDRUnits* pUnits, int nSide, const CConditionObjectiveEllipse& c)
{
    return pUnits != nullptr ? pUnits->CountUnitsInRegion(nSide, CRect(c.m_nX1, c.m_nY2, c.m_nX2, c.m_nY1)) : 0;
}

int CountInBox(const CKDRUnits* pUnits, int nSide, const CConditionPreventPenetrationBox& c)
{
    return pUnits != nullptr ? pUnits->CountUnitsInBox(nSide, c.m_nX1, c.m_nY2, c.m_nX2, c.m_nY1) : 0;
}

// "no" for none, else the number.
CString NoneOr(int nCount) { return nCount == 0 ? CString("no") : Number(nCount); }

// The rest of the numbers' status sentence after the side's opening.
CString RemainingTail(int nCount, BOOL bManeuver)
{
    CString text = NoneOr(nCount);
    if (bManeuver)
        text += " maneuver";
    text += nCount == 1 ? " vehicle or team " : " vehicles or teams ";
    text += "remaining.\r\n";
    return text;
}

CString BoxName(const CString& strName, const char* pszUnnamed)
{
    return strName.IsEmpty() ? CString(pszUnnamed) : strName;
}

// The time limit's deadline and which of its wordings applies: the
// victory event's (maintain) or the loss event's (achieve), from the local
// player's view.
CString Deadline(CTime tStart, CTimeSpan tsLimit) { return CGameTime::FormatDateTime(tStart + tsLimit); }
BOOL IsAchieveWording(BOOL bLossEvent) { return (bLossEvent != 0) != (IsEnemySidePlayed() != 0); }
}  // namespace

// ---------------------------------------------------------------------------
// Objective Ellipse

int CConditionObjectiveEllipse::IsMet(CKDRUnits* pUnits, const int*, CTimeSpan)
{
    // Enemy first: while too many enemy hold it, the friendly count does not matter.
    if (CountInEllipse(pUnits, SIDE_ENEMY, *this) > m_nEnemyThreshold)
        return 0;
    return CountInEllipse(pUnits, SIDE_FRIENDLY, *this) > m_nFriendlyThreshold ? 1 : 0;
}

void CConditionObjectiveEllipse::GetObjectiveSentence(CString& text, BOOL, CTime)
{
    const BOOL bPlayed = IsEnemySidePlayed();
    const int nEnemy = m_nEnemyThreshold;
    const int nFriendly = m_nFriendlyThreshold;
    if (!bPlayed)
        text = nEnemy == 0 ? CString("Eliminate all") : "Eliminate all but " + Number(nEnemy) + " of the";
    else
        text = nEnemy == 0 ? CString("Maintain at least one") : "Maintain at least " + Number(nEnemy);
    if (m_bEnemyManeuver)
        text += " maneuver";
    text += nEnemy == 0 && bPlayed ? " vehicle or team in " : " vehicles or teams in ";
    text += m_strName.IsEmpty() ? CString("the objective") : m_strName;
    if (nFriendly == 0)
    {
        text += ".\r\n";
        return;
    }
    text += bPlayed ? " and prevent it from being occupied with " : " and occupy it with at least ";
    text += Number(nFriendly);
    text += bPlayed ? " or more " : " friendly ";
    if (m_bFriendlyManeuver)
        text += "maneuver ";
    text += nFriendly <= 1 && !bPlayed ? "vehicle or team.\r\n" : "vehicles or teams.\r\n";
}

void CConditionObjectiveEllipse::GetStatusSentence(CString& text, CKDRUnits* pUnits, const int*, CTimeSpan, CTime,
                                                   BOOL)
{
    const BOOL bPlayed = IsEnemySidePlayed();
    const int nEnemy = CountInEllipse(pUnits, bPlayed ? SIDE_FRIENDLY : SIDE_ENEMY, *this);
    const int nFriendly = CountInEllipse(pUnits, bPlayed ? SIDE_ENEMY : SIDE_FRIENDLY, *this);
    text = nEnemy == 0 ? CString(bPlayed ? "None" : "No") : Number(nEnemy);
    text += bPlayed ? " of your" : " enemy";
    if (m_bEnemyManeuver)
        text += " maneuver";
    text += nEnemy == 1 && !bPlayed ? " vehicle or team remains" : " vehicles or teams remain";
    text += " in the objective";
    if (!m_strName.IsEmpty())
        text += ", " + m_strName;
    text += ".  The objective";
    text += nFriendly == 0 ? CString(" is not occupied by any") : " is occupied by " + Number(nFriendly);
    text += bPlayed ? " of your opponent's" : " friendly";
    text += nFriendly == 1 && !bPlayed ? " vehicle or team.\r\n" : " vehicles or teams.\r\n";
}

// ---------------------------------------------------------------------------
// Enemy Numbers

int CConditionEnemyNumbers::IsMet(CKDRUnits* pUnits, const int*, CTimeSpan)
{
    return CountLive(pUnits, SIDE_ENEMY) <= m_nThreshold ? 1 : 0;
}

void CConditionEnemyNumbers::GetObjectiveSentence(CString& text, BOOL, CTime)
{
    const BOOL bPlayed = IsEnemySidePlayed();
    const int n = m_nThreshold;
    if (!bPlayed)
        text = n == 0 ? CString("Destroy all enemy ") : "Attrit the enemy to " + Number(n) + " enemy ";
    else
        text = n == 0 ? CString("Maintain at least one ") : "Maintain at least " + Number(n) + " ";
    if (m_bManeuver)
        text += "maneuver ";
    text += n == 1 || (bPlayed && n <= 1) ? "vehicle or team.\r\n" : "vehicles or teams.\r\n";
}

void CConditionEnemyNumbers::GetStatusSentence(CString& text, CKDRUnits* pUnits, const int*, CTimeSpan, CTime, BOOL)
{
    if (IsEnemySidePlayed())
        text = "You have " + RemainingTail(CountLive(pUnits, SIDE_FRIENDLY), m_bManeuver);
    else
        text = "The enemy has " + RemainingTail(CountLive(pUnits, SIDE_ENEMY), m_bManeuver);
}

// ---------------------------------------------------------------------------
// Friendly Numbers

int CConditionFriendlyNumbers::IsMet(CKDRUnits* pUnits, const int*, CTimeSpan)
{
    return CountLive(pUnits, SIDE_FRIENDLY) < m_nThreshold ? 1 : 0;
}

void CConditionFriendlyNumbers::GetObjectiveSentence(CString& text, BOOL, CTime)
{
    const BOOL bPlayed = IsEnemySidePlayed();
    const int n = m_nThreshold;
    if (!bPlayed)
        text = "Maintain at least " + Number(n) + " friendly ";
    else
        text = n == 0 ? CString("Destroy all opponent ") : "Attrit your opponent to " + Number(n) + " ";
    if (m_bManeuver)
        text += "maneuver ";
    text += n == 1 ? "vehicle or team" : "vehicles or teams";
    text += bPlayed ? ".\r\n" : " in tact.\r\n";
}

void CConditionFriendlyNumbers::GetStatusSentence(CString& text, CKDRUnits* pUnits, const int*, CTimeSpan, CTime,
                                                  BOOL)
{
    if (IsEnemySidePlayed())
        text = "Your opponent has " + RemainingTail(CountLive(pUnits, SIDE_ENEMY), m_bManeuver);
    else
        text = "Friendly forces have " + RemainingTail(CountLive(pUnits, SIDE_FRIENDLY), m_bManeuver);
}

// ---------------------------------------------------------------------------
// Prevent Penetration Box

int CConditionPreventPenetrationBox::IsMet(CKDRUnits* pUnits, const int*, CTimeSpan)
{
    return CountInBox(pUnits, SIDE_ENEMY, *this) > m_nThreshold ? 1 : 0;
}

void CConditionPreventPenetrationBox::GetObjectiveSentence(CString& text, BOOL, CTime)
{
    const BOOL bPlayed = IsEnemySidePlayed();
    const int n = m_nThreshold;
    if (!bPlayed)
        text = "Prevent penetration of " + BoxName(m_strName, "the 'No Penetration' line") + " by " + Number(n) +
               " or more enemy ";
    else
        text = "Penetrate " + BoxName(m_strName, "your opponent's 'No Penetration' line") + " with at least " +
               Number(n) + " ";
    if (m_bManeuver)
        text += "maneuver ";
    text += bPlayed && n <= 1 ? "vehicle or team.\r\n" : "vehicles or teams.\r\n";
}

void CConditionPreventPenetrationBox::GetStatusSentence(CString& text, CKDRUnits* pUnits, const int*, CTimeSpan,
                                                        CTime, BOOL)
{
    const BOOL bPlayed = IsEnemySidePlayed();
    const int nCount = CountInBox(pUnits, bPlayed ? SIDE_FRIENDLY : SIDE_ENEMY, *this);
    text = bPlayed ? "Your forces have penetrated " : "The enemy has penetrated ";
    text += BoxName(m_strName, "the 'No Penetration' line");
    text += " with ";
    text += NoneOr(nCount);
    if (m_bManeuver)
        text += " maneuver";
    text += nCount == 1 ? " vehicle or team.\r\n" : " vehicles or teams.\r\n";
}

// ---------------------------------------------------------------------------
// Time Limit

int CConditionTimeLimit::IsMet(CKDRUnits*, const int*, CTimeSpan tsElapsed) { return tsElapsed > m_tsLimit ? 1 : 0; }

void CConditionTimeLimit::GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart)
{
    const CString deadline = Deadline(tStart, m_tsLimit);
    if (IsAchieveWording(bLossEvent))
        text = "Achieve mission objectives no later than " + deadline + ".\r\n";
    else
        text = "Maintain mission objectives until " + deadline + ".\r\n";
}

void CConditionTimeLimit::GetStatusSentence(CString& text, CKDRUnits*, const int*, CTimeSpan tsElapsed, CTime tStart,
                                            BOOL bLossEvent)
{
    const CString deadline = Deadline(tStart, m_tsLimit);
    const BOOL bPassed = tsElapsed > m_tsLimit;
    if (!IsAchieveWording(bLossEvent))
        text = bPassed ? "Mission objectives were maintained beyond " + deadline + ".\r\n"
                       : "Mission objectives were not maintained beyond " + deadline + ".\r\n";
    else
        text = bPassed ? "The 'No Later Than' time of " + deadline +
                             " elapsed without mission objectives having been achieved.\r\n"
                       : "The 'No Later Than' time of " + deadline + " has not yet elapsed.\r\n";
}
