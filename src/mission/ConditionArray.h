#pragma once
// The condition model. A condition tests the battlefield: the five mission
// conditions (category 2) decide victory and loss, the fifteen order
// conditions (category 4) when an order may start, ends or fails. Each kind
// answers one type bit, so a test can OR the kinds that fired.
//
// CConditionArray owns its conditions and tests them together: Test for
// mission conditions (all, or any), TestOrderConditions for order
// conditions (fired one-shot conditions are deleted at once).
//
// Contexts. The mission context is the units component, six values the
// document keeps with a saved game (no condition reads them) and the
// elapsed game time. The order context is the AI order's data items, the
// array that owns the condition, the element that holds the order, the
// units, obstacles, database and game map.
//
// Record: the condition count, then each condition as a class-tagged object
// (one-shot word first, then its kind's fields). Lists nested deeper than
// CRecordNesting::MAX_DEPTH are refused with the archive error.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Time.h"

class CHierarchyPlatoon;
class CKDRDatabase;
class CKDRGameMap;
class CKDRObstacles;
class CKDRUnits;
class CUOrdAIOrderData;
class CUOrdAIOrderDataArray;
class CConditionArray;

// Categories.
constexpr int CONDITION_MISSION = 2;
constexpr int CONDITION_ORDER = 4;
// Flags of CCondition::Tick's answer.
constexpr DWORD CONDITION_TICK_REMOVE = 0x100000;
constexpr DWORD CONDITION_TICK_ALL = 0x200000;
// The count of the document values of the mission context.
constexpr int CONDITION_DOC_VALUES = 6;

class CCondition : public CObject
{
    DECLARE_SERIAL(CCondition)
public:
    CCondition() = default;
    CCondition(const CCondition& other) = default;

    // The one-shot word.
    void Serialize(CArchive& ar) override;

    // ---- Order conditions ----
    // Binds the condition to the data items it names; 1.
    virtual int Update(CUOrdAIOrderDataArray* pItems, CConditionArray* pOwner, CHierarchyPlatoon* pElement,
                       CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // Nonzero when the condition fired; the base binds and never fires.
    virtual int Evaluate(CUOrdAIOrderDataArray* pItems, CConditionArray* pOwner, CHierarchyPlatoon* pElement,
                         CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    virtual void GetDescription(CString& text, CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase,
                                CKDRGameMap* pMap);
    // Takes values from one data item; the base takes nothing and answers 1.
    virtual int SetFromDataItem(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement,
                                CKDRUnits* pUnits, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    // ---- Mission conditions ----
    virtual void GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart);
    // The per-pass hook; CONDITION_TICK_REMOVE asks to be removed.
    virtual DWORD Tick(CTimeSpan tsTime, int nValue);
    virtual int IsMet(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed);
    virtual void GetStatusSentence(CString& text, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                                   CTimeSpan tsElapsed, CTime tStart, BOOL bLossEvent);
    // ---- Kind ----
    virtual DWORD GetType() const { return 0; }
    virtual int GetUsage() const { return 0; }
    // A unit event (mask, then unit identifiers and context); the base: met.
    virtual int OnUnitEvent(DWORD dwMask, DWORD e1, DWORD e2, DWORD e3, DWORD e4, DWORD e5, DWORD e6);
    virtual void GetTypeName(CString& text) const;

    // The data-item names the binding walk uses for this kind; null when
    // the kind binds nothing.
    const CStringArray* GetBindingNames() const;
    // A copy of the class that the condition's type names, as the array's
    // copy carries it; a plain condition for an unknown type.
    static CCondition* CopyCondition(const CCondition* pSource);

    BOOL m_bOneShot = FALSE;

protected:
    // The base binding walk of Update and Evaluate.
    void BindDataItems(CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                       CKDRDatabase* pDatabase, CKDRGameMap* pMap);
};

class CConditionArray : public TypedObArray<CCondition>
{
    DECLARE_SERIAL(CConditionArray)
public:
    CConditionArray();
    // Each condition copied into a new object of its type's class.
    CConditionArray(const CConditionArray& other);
    CConditionArray& operator=(const CConditionArray&) = delete;

    void Serialize(CArchive& ar) override;

    // Mission test: all conditions met (bAny clear) or any one (bAny set).
    BOOL Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed, BOOL bAny);
    // Order test: the OR of the fired conditions' type bits. With a list,
    // it receives the descriptions of the fired conditions, or with
    // bDescribeUnfired of those that did not fire.
    DWORD TestOrderConditions(CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                              CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap,
                              CStringArray* pDescriptions, BOOL bDescribeUnfired);
    BOOL AnyUnitEventMet(DWORD dwMask, DWORD e1, DWORD e2, DWORD e3, DWORD e4, DWORD e5, DWORD e6);
    int UpdateAll(CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                  CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap);
    DWORD TickAll(CTimeSpan tsTime, int nValue);
    // HTML lines of the sentences, numbered on from nCounter.
    void GetObjectiveLines(CString& html, BOOL bLossEvent, CTime tStart, int& nCounter);
    void GetStatusLines(CString& html, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                        CTimeSpan tsElapsed, CTime tStart, int& nCounter, BOOL bLossEvent);
    // The failure message of an AI order; empty without descriptions.
    static CString DescribeFailure(const CStringArray* pDescriptions, BOOL bCanceled, BOOL bUnfired, BOOL bAborted);
    // The first Event Box condition of that area name; null.
    CCondition* FindEventBox(const CString& name) const;

    CStringArray m_astrOrderTypeNames;
    CStringArray m_astrMissionTypeNames;
    CStringArray m_astrOtherNames;
};
