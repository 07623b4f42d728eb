#pragma once
// The events of a mission: the player's victory, met when all of its
// conditions are met, and the player's loss, met when any one is. The event
// array decides once per pass of the game loop whether the mission has
// ended, victory tested first, and gives the objective and results lines of
// the results page.
//
// Only the first victory event and the first loss event of an array count;
// further ones are kept, read and written, never tested. An empty victory
// event is met at once (all of nothing), an empty loss event never.
//
// Record of an event: its condition list and nothing else. The array is an
// object array of class-tagged events; it reads only CEvent and its kinds,
// so a mission file cannot have the loader build an object of any other
// class.

#include "mission/ConditionArray.h"
#include "platform/core/Collections.h"
#include "platform/core/Time.h"

class CKDRUnits;

// What an event decides (GetStatus).
constexpr int EVENT_PLAYER_VICTORY = 1;
constexpr int EVENT_PLAYER_LOSS = 2;

class CEvent : public CObject
{
    DECLARE_SERIAL(CEvent)
public:
    CEvent();
    ~CEvent() override;
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    void Serialize(CArchive& ar) override;

    // The per-pass hook of the conditions; answers 0.
    virtual int Update(CTimeSpan tsTime, int nValue);
    // The conditions tested together: all, or any with bAny.
    virtual BOOL Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed, BOOL bAny);
    // The numbered status lines of the conditions, from nCounter on.
    virtual void GetResultsLine(CString& html, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                                CTimeSpan tsElapsed, CTime tStart, int& nCounter, BOOL bLossEvent);
    // 0, EVENT_PLAYER_VICTORY or EVENT_PLAYER_LOSS.
    virtual int GetStatus() const { return 0; }
    virtual int GetUsage() const { return 0; }
    virtual void GetName(CString& text) const { text.Empty(); }

    // The numbered objective lines of the conditions, from nCounter on.
    void GetObjectiveLines(CString& html, BOOL bLossEvent, CTime tStart, int& nCounter);

    CConditionArray* GetConditions() const { return m_pConditions; }

private:
    CConditionArray* m_pConditions;  // owned, never null
};

class CEventPlayerVictory : public CEvent
{
    DECLARE_SERIAL(CEventPlayerVictory)
public:
    BOOL Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed, BOOL bAny) override;
    int GetStatus() const override { return EVENT_PLAYER_VICTORY; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetName(CString& text) const override { text = "Player Victory"; }
};

class CEventPlayerLoss : public CEvent
{
    DECLARE_SERIAL(CEventPlayerLoss)
public:
    BOOL Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed, BOOL bAny) override;
    int GetStatus() const override { return EVENT_PLAYER_LOSS; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetName(CString& text) const override { text = "Player Loss"; }
};

class CEventArray : public TypedObArray<CEvent>
{
    DECLARE_SERIAL(CEventArray)
public:
    CEventArray();

    // 1 when the mission has ended, with bVictory 1 won or 0 lost; 0 while
    // it goes on (bVictory untouched).
    int Evaluate(int& bVictory, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed);
    // The status lines of the victory event's conditions, then the loss
    // event's, numbered 1, 2, 3 ... across both.
    void GetResultsText(CString& html, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTime tStart,
                        CTimeSpan tsElapsed);
    // The objective lines, numbered likewise.
    void GetObjectiveText(CString& html, CTime tStart);

    // The first event that decides that outcome; null when none.
    CEvent* FindFirst(int nStatus) const;

    CStringArray m_astrEventTypeNames;  // "Player Victory", "Player Loss"
    CStringArray m_astrOtherNames;      // empty
};
