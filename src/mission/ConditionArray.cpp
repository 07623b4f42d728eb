#include "mission/ConditionArray.h"

#include "ai/UOrdAIOrderData.h"
#include "mission/ConditionKinds.h"
#include "orders/RecordIO.h"

#include <cstdio>

IMPLEMENT_SERIAL(CCondition, CObject, 1)
IMPLEMENT_SERIAL(CConditionArray, CObArray, 1)

namespace
{
const char* const ORDER_TYPE_NAMES[] = {
    "Call Back",           "Vehicle Count",       "Hierarchy Count",    "Distance",
    "Force Percentage",    "Unit Status",         "Call Back Count",    "Number Of Targets",
    "Number Of Breachers", "Call Back Snap Shot", "Breaches Complete",  "Path Intersects Line",
    "AI Time Limit",       "Event Box",           "Compare Event Boxes"};
const char* const MISSION_TYPE_NAMES[] = {"Objective Ellipse", "Enemy Numbers", "Friendly Numbers",
                                          "Prevent Penetration Box", "Time Limit"};

const char* const LINE_START = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const LINE_END = "</FONT></FONT><BR>\r\n";

template <class T>
CCondition* CopyAs(const CCondition* pSource)
{
    if (const auto* pTyped = dynamic_cast<const T*>(pSource))
        return new T(*pTyped);
    auto* pCopy = new T;
    pCopy->m_bOneShot = pSource->m_bOneShot;
    return pCopy;
}
}  // namespace

// ---------------------------------------------------------------------------
// CCondition

void CCondition::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        record::WriteFlag(ar, m_bOneShot);
    else
        record::ReadFlag(ar, m_bOneShot);
}

const CStringArray* CCondition::GetBindingNames() const
{
    switch (GetType())
    {
    case COND_CALL_BACK:
    case COND_CALL_BACK_COUNT:
    case COND_CALL_BACK_SNAP_SHOT: return &static_cast<const CConditionCallBack*>(this)->m_astrDataNames;
    case COND_VEHICLE_COUNT:
    case COND_FORCE_PERCENTAGE:
    case COND_NUMBER_OF_TARGETS:
    case COND_NUMBER_OF_BREACHERS: return &static_cast<const CConditionVehicleCount*>(this)->m_astrDataNames;
    case COND_UNIT_STATUS: return &static_cast<const CConditionUnitStatus*>(this)->m_astrDataNames;
    case COND_HIERARCHY_COUNT: return &static_cast<const CConditionHierarchyCount*>(this)->m_astrDataNames;
    case COND_DISTANCE: return &static_cast<const CConditionDistance*>(this)->m_astrDataNames;
    case COND_BREACHES_COMPLETE: return &static_cast<const CConditionBreachesComplete*>(this)->m_astrDataNames;
    case COND_AI_TIME_LIMIT: return &static_cast<const CConditionAITimeLimit*>(this)->m_astrDataNames;
    case COND_EVENT_BOX: return &static_cast<const CConditionEventBox*>(this)->m_astrDataNames;
    default: return nullptr;
    }
}

void CCondition::BindDataItems(CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                               CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    const CStringArray* pNames = pItems != nullptr ? GetBindingNames() : nullptr;
    if (pNames == nullptr)
        return;
    // A copy: taking values may not change the list being walked.
    const CStringArray names(*pNames);
    for (const CString& name : names)
    {
        if (name.IsEmpty())
            continue;
        CUOrdAIOrderData* pItem = pItems->FindByName(name);
        if (pItem != nullptr && pItem->m_bCalculated)
            SetFromDataItem(pItem, pItems, pElement, pUnits, pDatabase, pMap);
    }
}

int CCondition::Update(CUOrdAIOrderDataArray* pItems, CConditionArray*, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                       CKDRObstacles*, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    BindDataItems(pItems, pElement, pUnits, pDatabase, pMap);
    return 1;
}

int CCondition::Evaluate(CUOrdAIOrderDataArray* pItems, CConditionArray*, CHierarchyPlatoon* pElement,
                         CKDRUnits* pUnits, CKDRObstacles*, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    BindDataItems(pItems, pElement, pUnits, pDatabase, pMap);
    return 0;
}

void CCondition::GetDescription(CString& text, CHierarchyPlatoon*, CKDRUnits*, CKDRDatabase*, CKDRGameMap*)
{
    text.Empty();
}

int CCondition::SetFromDataItem(CUOrdAIOrderData*, CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CKDRUnits*,
                                CKDRDatabase*, CKDRGameMap*)
{
    return 1;
}

void CCondition::GetObjectiveSentence(CString& text, BOOL, CTime) { text.Empty(); }

DWORD CCondition::Tick(CTimeSpan, int) { return 0; }

int CCondition::IsMet(CKDRUnits*, const int*, CTimeSpan) { return 0; }

void CCondition::GetStatusSentence(CString& text, CKDRUnits*, const int*, CTimeSpan, CTime, BOOL) { text.Empty(); }

int CCondition::OnUnitEvent(DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD) { return 1; }

void CCondition::GetTypeName(CString& text) const { text.Empty(); }

CCondition* CCondition::CopyCondition(const CCondition* pSource)
{
    if (pSource == nullptr)
        return nullptr;
    switch (pSource->GetType())
    {
    case COND_OBJECTIVE_ELLIPSE: return CopyAs<CConditionObjectiveEllipse>(pSource);
    case COND_ENEMY_NUMBERS: return CopyAs<CConditionEnemyNumbers>(pSource);
    case COND_FRIENDLY_NUMBERS: return CopyAs<CConditionFriendlyNumbers>(pSource);
    case COND_PREVENT_PENETRATION_BOX: return CopyAs<CConditionPreventPenetrationBox>(pSource);
    case COND_TIME_LIMIT: return CopyAs<CConditionTimeLimit>(pSource);
    case COND_CALL_BACK: return CopyAs<CConditionCallBack>(pSource);
    case COND_VEHICLE_COUNT: return CopyAs<CConditionVehicleCount>(pSource);
    case COND_HIERARCHY_COUNT: return CopyAs<CConditionHierarchyCount>(pSource);
    case COND_DISTANCE: return CopyAs<CConditionDistance>(pSource);
    case COND_FORCE_PERCENTAGE: return CopyAs<CConditionForcePercentage>(pSource);
    case COND_UNIT_STATUS: return CopyAs<CConditionUnitStatus>(pSource);
    case COND_CALL_BACK_COUNT: return CopyAs<CConditionCallBackCount>(pSource);
    case COND_NUMBER_OF_TARGETS: return CopyAs<CConditionNumberOfTargets>(pSource);
    case COND_NUMBER_OF_BREACHERS: return CopyAs<CConditionNumberOfBreachers>(pSource);
    case COND_CALL_BACK_SNAP_SHOT: return CopyAs<CConditionCallBackSnapShot>(pSource);
    case COND_BREACHES_COMPLETE: return CopyAs<CConditionBreachesComplete>(pSource);
    case COND_PATH_INTERSECTS_LINE: return CopyAs<CConditionPathIntersectsLine>(pSource);
    case COND_AI_TIME_LIMIT: return CopyAs<CConditionAITimeLimit>(pSource);
    case COND_EVENT_BOX: return CopyAs<CConditionEventBox>(pSource);
    case COND_COMPARE_EVENT_BOXES: return CopyAs<CConditionCompareEventBoxes>(pSource);
    default:
    {
        auto* pCopy = new CCondition;
        pCopy->m_bOneShot = pSource->m_bOneShot;
        return pCopy;
    }
    }
}

// ---------------------------------------------------------------------------
// CConditionArray

CConditionArray::CConditionArray()
{
    for (const char* pszName : ORDER_TYPE_NAMES)
        m_astrOrderTypeNames.Add(pszName);
    for (const char* pszName : MISSION_TYPE_NAMES)
        m_astrMissionTypeNames.Add(pszName);
}

CConditionArray::CConditionArray(const CConditionArray& other) : CConditionArray()
{
    for (int i = 0; i < other.GetSize(); ++i)
    {
        if (const CCondition* pCondition = other.GetAt(i))
            Add(CCondition::CopyCondition(pCondition));
    }
}

void CConditionArray::Serialize(CArchive& ar)
{
    CRecordNesting nesting(ar);
    TypedObArray<CCondition>::Serialize(ar);
}

BOOL CConditionArray::Test(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed,
                           BOOL bAny)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition == nullptr)
            continue;
        const BOOL bMet = pCondition->IsMet(pUnits, anDocValues, tsElapsed) != 0;
        if (bAny && bMet)
            return TRUE;
        if (!bAny && !bMet)
            return FALSE;
    }
    return !bAny;
}

DWORD CConditionArray::TestOrderConditions(CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement,
                                           CKDRUnits* pUnits, CKDRObstacles* pObstacles, CKDRDatabase* pDatabase,
                                           CKDRGameMap* pMap, CStringArray* pDescriptions, BOOL bDescribeUnfired)
{
    if (pDescriptions != nullptr)
        pDescriptions->RemoveAll();
    DWORD dwFired = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition == nullptr)
            continue;
        const BOOL bFired = pCondition->Evaluate(pItems, this, pElement, pUnits, pObstacles, pDatabase, pMap) != 0;
        if (bFired)
            dwFired |= pCondition->GetType();
        if (pDescriptions != nullptr && (bFired != bDescribeUnfired))
        {
            CString text;
            pCondition->GetDescription(text, pElement, pUnits, pDatabase, pMap);
            pDescriptions->Add(text);
        }
        if (bFired && pCondition->m_bOneShot)
        {
            // The next condition moves into this place and is evaluated next.
            const int nNow = Find(pCondition);
            if (nNow >= 0)
            {
                RemoveAt(nNow);
                i = nNow - 1;
            }
        }
    }
    return dwFired;
}

BOOL CConditionArray::AnyUnitEventMet(DWORD dwMask, DWORD e1, DWORD e2, DWORD e3, DWORD e4, DWORD e5, DWORD e6)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition != nullptr && pCondition->OnUnitEvent(dwMask, e1, e2, e3, e4, e5, e6) != 0)
            return TRUE;
    }
    return FALSE;
}

int CConditionArray::UpdateAll(CUOrdAIOrderDataArray* pItems, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                               CKDRObstacles* pObstacles, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CCondition* pCondition = GetAt(i))
            pCondition->Update(pItems, this, pElement, pUnits, pObstacles, pDatabase, pMap);
    }
    return 1;
}

DWORD CConditionArray::TickAll(CTimeSpan tsTime, int nValue)
{
    DWORD dwTypes = 0;
    DWORD dwResult = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition == nullptr)
            continue;
        dwTypes |= pCondition->GetType();
        DWORD dwTick = pCondition->Tick(tsTime, nValue);
        if ((dwTick & CONDITION_TICK_REMOVE) != 0)
        {
            RemoveAt(i);
            --i;
            dwTick &= ~CONDITION_TICK_REMOVE;
        }
        dwResult |= dwTick;
    }
    return dwResult == dwTypes ? dwResult : (dwResult & CONDITION_TICK_ALL);
}

void CConditionArray::GetObjectiveLines(CString& html, BOOL bLossEvent, CTime tStart, int& nCounter)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition == nullptr)
            continue;
        CString sentence;
        pCondition->GetObjectiveSentence(sentence, bLossEvent, tStart);
        char number[16];
        std::snprintf(number, sizeof number, "%d", nCounter);
        html += CString(LINE_START) + number + ".  " + sentence + LINE_END;
        ++nCounter;
    }
}

void CConditionArray::GetStatusLines(CString& html, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                                     CTimeSpan tsElapsed, CTime tStart, int& nCounter, BOOL bLossEvent)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition == nullptr)
            continue;
        CString sentence;
        pCondition->GetStatusSentence(sentence, pUnits, anDocValues, tsElapsed, tStart, bLossEvent);
        char number[16];
        std::snprintf(number, sizeof number, "%d", nCounter);
        html += CString(LINE_START) + number + ".  " + sentence + LINE_END;
        ++nCounter;
    }
}

CString CConditionArray::DescribeFailure(const CStringArray* pDescriptions, BOOL bCanceled, BOOL bUnfired,
                                         BOOL bAborted)
{
    if (pDescriptions == nullptr || pDescriptions->GetSize() == 0)
        return CString();
    const int nCount = pDescriptions->GetSize();
    CString text = bAborted ? "Mission aborted" : bCanceled ? "Mission canceled" : "Could not execute mission";
    text += " because following condition";
    text += nCount == 1 ? " was" : "s were";
    text += bUnfired ? " not met:" : " met:";
    text += "\r\n\r\n";
    for (int i = 0; i < nCount; ++i)
    {
        text += "\t";
        if (nCount >= 2)
        {
            char number[16];
            std::snprintf(number, sizeof number, "%d. ", i + 1);
            text += number;
        }
        text += pDescriptions->GetAt(i) + "\r\n";
    }
    return text;
}

CCondition* CConditionArray::FindEventBox(const CString& name) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CCondition* pCondition = GetAt(i);
        if (pCondition != nullptr && pCondition->GetType() == COND_EVENT_BOX &&
            static_cast<CConditionEventBox*>(pCondition)->m_strAreaName == name)
            return pCondition;
    }
    return nullptr;
}
