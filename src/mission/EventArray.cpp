#include "mission/EventArray.h"

#include "platform/core/Archive.h"

IMPLEMENT_SERIAL(CEvent, CObject, 1)
IMPLEMENT_SERIAL(CEventPlayerVictory, CEvent, 1)
IMPLEMENT_SERIAL(CEventPlayerLoss, CEvent, 1)
IMPLEMENT_SERIAL(CEventArray, CObArray, 1)

// ---------------------------------------------------------------------------
// CEvent

CEvent::CEvent() : m_pConditions(new CConditionArray) {}

CEvent::~CEvent() { delete m_pConditions; }

void CEvent::Serialize(CArchive& ar) { m_pConditions->Serialize(ar); }

int CEvent::Update(CTimeSpan tsTime, int nValue)
{
    m_pConditions->TickAll(tsTime, nValue);
    return 0;
}

BOOL CEvent::Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed, BOOL bAny)
{
    return m_pConditions->Test(pUnits, anDocValues, tsElapsed, bAny);
}

void CEvent::GetResultsLine(CString& html, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                            CTimeSpan tsElapsed, CTime tStart, int& nCounter, BOOL bLossEvent)
{
    m_pConditions->GetStatusLines(html, pUnits, anDocValues, tsElapsed, tStart, nCounter, bLossEvent);
}

void CEvent::GetObjectiveLines(CString& html, BOOL bLossEvent, CTime tStart, int& nCounter)
{
    m_pConditions->GetObjectiveLines(html, bLossEvent, tStart, nCounter);
}

BOOL CEventPlayerVictory::Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed,
                               BOOL)
{
    return CEvent::Test(pUnits, anDocValues, tsElapsed, FALSE);
}

BOOL CEventPlayerLoss::Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed, BOOL)
{
    return CEvent::Test(pUnits, anDocValues, tsElapsed, TRUE);
}

// ---------------------------------------------------------------------------
// CEventArray

CEventArray::CEventArray()
{
    m_astrEventTypeNames.Add("Player Victory");
    m_astrEventTypeNames.Add("Player Loss");
}

CEvent* CEventArray::FindFirst(int nStatus) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CEvent* pEvent = GetAt(i);
        if (pEvent != nullptr && pEvent->GetStatus() == nStatus)
            return pEvent;
    }
    return nullptr;
}

int CEventArray::Evaluate(int& bVictory, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                          CTimeSpan tsElapsed)
{
    // Victory first: when both would be met in one pass, the mission is won.
    if (CEvent* pVictory = FindFirst(EVENT_PLAYER_VICTORY);
        pVictory != nullptr && pVictory->Test(pUnits, anDocValues, tsElapsed, FALSE))
    {
        bVictory = 1;
        return 1;
    }
    if (CEvent* pLoss = FindFirst(EVENT_PLAYER_LOSS);
        pLoss != nullptr && pLoss->Test(pUnits, anDocValues, tsElapsed, TRUE))
    {
        bVictory = 0;
        return 1;
    }
    return 0;
}

void CEventArray::GetResultsText(CString& html, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                                 CTime tStart, CTimeSpan tsElapsed)
{
    html.Empty();
    int nCounter = 1;
    if (CEvent* pVictory = FindFirst(EVENT_PLAYER_VICTORY))
        pVictory->GetResultsLine(html, pUnits, anDocValues, tsElapsed, tStart, nCounter, FALSE);
    if (CEvent* pLoss = FindFirst(EVENT_PLAYER_LOSS))
        pLoss->GetResultsLine(html, pUnits, anDocValues, tsElapsed, tStart, nCounter, TRUE);
}

void CEventArray::GetObjectiveText(CString& html, CTime tStart)
{
    html.Empty();
    int nCounter = 1;
    if (CEvent* pVictory = FindFirst(EVENT_PLAYER_VICTORY))
        pVictory->GetObjectiveLines(html, FALSE, tStart, nCounter);
    if (CEvent* pLoss = FindFirst(EVENT_PLAYER_LOSS))
        pLoss->GetObjectiveLines(html, TRUE, tStart, nCounter);
}
