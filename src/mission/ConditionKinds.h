#pragma once
// The twenty condition kinds with their fields, defaults, records, type
// bits, categories and names. The mission conditions test and describe the
// battlefield; each order condition answers as the base condition: Evaluate
// the binding walk then 0, OnUnitEvent 1, empty sentences. Records write
// flags as 1/0 words (a nonzero word sets the flag, a zero word leaves it)
// and integers as words read back sign-extended. A resolved force group is
// never stored.

#include "mission/ConditionArray.h"
#include "platform/core/Geometry.h"

class CHierarchyArray;
class CNodeArray;

// Type bits.
constexpr DWORD COND_OBJECTIVE_ELLIPSE = 0x1;
constexpr DWORD COND_ENEMY_NUMBERS = 0x2;
constexpr DWORD COND_FRIENDLY_NUMBERS = 0x4;
constexpr DWORD COND_PREVENT_PENETRATION_BOX = 0x8;
constexpr DWORD COND_TIME_LIMIT = 0x10;
constexpr DWORD COND_CALL_BACK = 0x20;
constexpr DWORD COND_VEHICLE_COUNT = 0x40;
constexpr DWORD COND_HIERARCHY_COUNT = 0x80;
constexpr DWORD COND_DISTANCE = 0x100;
constexpr DWORD COND_FORCE_PERCENTAGE = 0x200;
constexpr DWORD COND_UNIT_STATUS = 0x400;
constexpr DWORD COND_CALL_BACK_COUNT = 0x800;
constexpr DWORD COND_NUMBER_OF_TARGETS = 0x1000;
constexpr DWORD COND_NUMBER_OF_BREACHERS = 0x2000;
constexpr DWORD COND_CALL_BACK_SNAP_SHOT = 0x4000;
constexpr DWORD COND_BREACHES_COMPLETE = 0x8000;
constexpr DWORD COND_PATH_INTERSECTS_LINE = 0x10000;
constexpr DWORD COND_AI_TIME_LIMIT = 0x20000;
constexpr DWORD COND_EVENT_BOX = 0x40000;
constexpr DWORD COND_COMPARE_EVENT_BOXES = 0x80000;

// ---------------------------------------------------------------------------
// Mission conditions
//
// They test side 0 (the player's) and side 1 (the enemy), counting live
// units that ride in no carrier through the units component; without one
// every count is 0. Their sentences (MissionConditions.cpp) are written for
// the local player: when that player plays the enemy side of a multiplayer
// game the friendly and enemy wordings change places, the tests do not.

class CConditionObjectiveEllipse : public CCondition
{
    DECLARE_SERIAL(CConditionObjectiveEllipse)
public:
    void Serialize(CArchive& ar) override;
    int IsMet(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed) override;
    void GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart) override;
    void GetStatusSentence(CString& text, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                           CTimeSpan tsElapsed, CTime tStart, BOOL bLossEvent) override;
    DWORD GetType() const override { return COND_OBJECTIVE_ELLIPSE; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetTypeName(CString& text) const override { text = "Objective Ellipse"; }

    int m_nX1 = 0, m_nY1 = 0, m_nX2 = 0, m_nY2 = 0;
    int m_nFriendlyThreshold = 1;
    int m_nEnemyThreshold = 0;
    BOOL m_bFriendlyManeuver = FALSE;
    BOOL m_bEnemyManeuver = FALSE;
    CString m_strName;
};

class CConditionEnemyNumbers : public CCondition
{
    DECLARE_SERIAL(CConditionEnemyNumbers)
public:
    void Serialize(CArchive& ar) override;
    int IsMet(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed) override;
    void GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart) override;
    void GetStatusSentence(CString& text, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                           CTimeSpan tsElapsed, CTime tStart, BOOL bLossEvent) override;
    DWORD GetType() const override { return COND_ENEMY_NUMBERS; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetTypeName(CString& text) const override { text = "Enemy Numbers"; }

    int m_nThreshold = 0;
    BOOL m_bManeuver = FALSE;
};

class CConditionFriendlyNumbers : public CCondition
{
    DECLARE_SERIAL(CConditionFriendlyNumbers)
public:
    void Serialize(CArchive& ar) override;
    int IsMet(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed) override;
    void GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart) override;
    void GetStatusSentence(CString& text, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                           CTimeSpan tsElapsed, CTime tStart, BOOL bLossEvent) override;
    DWORD GetType() const override { return COND_FRIENDLY_NUMBERS; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetTypeName(CString& text) const override { text = "Friendly Numbers"; }

    int m_nThreshold = 0;
    BOOL m_bManeuver = FALSE;
};

class CConditionPreventPenetrationBox : public CCondition
{
    DECLARE_SERIAL(CConditionPreventPenetrationBox)
public:
    void Serialize(CArchive& ar) override;
    int IsMet(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed) override;
    void GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart) override;
    void GetStatusSentence(CString& text, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                           CTimeSpan tsElapsed, CTime tStart, BOOL bLossEvent) override;
    DWORD GetType() const override { return COND_PREVENT_PENETRATION_BOX; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetTypeName(CString& text) const override { text = "Prevent Penetration Box"; }

    int m_nX1 = 0, m_nY1 = 0, m_nX2 = 0, m_nY2 = 0;
    int m_nThreshold = 1;
    BOOL m_bManeuver = FALSE;
    CString m_strName;
};

class CConditionTimeLimit : public CCondition
{
    DECLARE_SERIAL(CConditionTimeLimit)
public:
    void Serialize(CArchive& ar) override;
    int IsMet(CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES], CTimeSpan tsElapsed) override;
    void GetObjectiveSentence(CString& text, BOOL bLossEvent, CTime tStart) override;
    void GetStatusSentence(CString& text, CKDRUnits* pUnits, const int anDocValues[CONDITION_DOC_VALUES],
                           CTimeSpan tsElapsed, CTime tStart, BOOL bLossEvent) override;
    DWORD GetType() const override { return COND_TIME_LIMIT; }
    int GetUsage() const override { return CONDITION_MISSION; }
    void GetTypeName(CString& text) const override { text = "Time Limit"; }

    CTimeSpan m_tsLimit;
};

// ---------------------------------------------------------------------------
// Order conditions

// One watched unit of a call-back condition: its address, the side word of
// the platoon that made it, and whether its event came.
class CConditionCallBackUnit : public CObject
{
    DECLARE_SERIAL(CConditionCallBackUnit)
public:
    CConditionCallBackUnit() = default;
    CConditionCallBackUnit(const CConditionCallBackUnit& other) = default;

    // Index, group and side as words, then the done flag.
    void Serialize(CArchive& ar) override;

    int m_nUnit = 0;
    int m_nGroup = 0;
    int m_nSide = 0;
    BOOL m_bDone = FALSE;
};

class CConditionCallBack : public CCondition
{
    DECLARE_SERIAL(CConditionCallBack)
public:
    CConditionCallBack() = default;
    CConditionCallBack(const CConditionCallBack& other);
    CConditionCallBack& operator=(const CConditionCallBack&) = delete;
    ~CConditionCallBack() override;

    // Records, names, words (first, second, event mask, force kinds), force name.
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_CALL_BACK; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Call Back"; }

    int m_nFirstWord = 0;
    int m_nSecondWord = 0;
    DWORD m_dwEventMask = 0;
    TypedObArray<CConditionCallBackUnit> m_records;
    DWORD m_dwForceKinds = 0;
    CString m_strForceName;
    CStringArray m_astrDataNames;
    CHierarchyArray* m_pGroup = nullptr;  // not stored; a copy starts without
    BOOL m_bOwnsGroup = FALSE;
};

class CConditionCallBackCount : public CConditionCallBack
{
    DECLARE_SERIAL(CConditionCallBackCount)
public:
    CConditionCallBackCount() = default;
    CConditionCallBackCount(const CConditionCallBackCount& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_CALL_BACK_COUNT; }
    void GetTypeName(CString& text) const override { text = "Call Back Count"; }

    int m_nRequiredCount = 0;
    float m_fX1 = kUnsetFloat, m_fY1 = kUnsetFloat, m_fX2 = kUnsetFloat, m_fY2 = kUnsetFloat;  // not stored
};

class CConditionCallBackSnapShot : public CConditionCallBackCount
{
    DECLARE_SERIAL(CConditionCallBackSnapShot)
public:
    CConditionCallBackSnapShot() = default;
    CConditionCallBackSnapShot(const CConditionCallBackSnapShot& other) = default;

    DWORD GetType() const override { return COND_CALL_BACK_SNAP_SHOT; }
    void GetTypeName(CString& text) const override { text = "Call Back Snap Shot"; }
};

class CConditionVehicleCount : public CCondition
{
    DECLARE_SERIAL(CConditionVehicleCount)
public:
    CConditionVehicleCount() = default;
    // A deep copy of the group when the source owns one.
    CConditionVehicleCount(const CConditionVehicleCount& other);
    CConditionVehicleCount& operator=(const CConditionVehicleCount&) = delete;
    ~CConditionVehicleCount() override;

    // Names, force kinds (word), force name, role mask, threshold (words).
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_VEHICLE_COUNT; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Vehicle Count"; }

    DWORD m_dwForceKinds = 0;
    CString m_strForceName;
    DWORD m_dwRoleMask = 0;
    int m_nThreshold = 0;
    CStringArray m_astrDataNames;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bOwnsGroup = FALSE;
};

class CConditionForcePercentage : public CConditionVehicleCount
{
    DECLARE_SERIAL(CConditionForcePercentage)
public:
    CConditionForcePercentage() = default;
    CConditionForcePercentage(const CConditionForcePercentage& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_FORCE_PERCENTAGE; }
    void GetTypeName(CString& text) const override { text = "Force Percentage"; }

    int m_nPercent = 0;
    int m_nCountThreshold = kUnset;  // set at each evaluation; not stored
};

class CConditionNumberOfTargets : public CConditionVehicleCount
{
    DECLARE_SERIAL(CConditionNumberOfTargets)
public:
    CConditionNumberOfTargets() = default;
    CConditionNumberOfTargets(const CConditionNumberOfTargets& other);

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_NUMBER_OF_TARGETS; }
    void GetTypeName(CString& text) const override { text = "Number Of Targets"; }

    DWORD m_dwRelation = 0;
    CRect m_area;  // the counting area; not stored, empty in a copy
};

class CConditionNumberOfBreachers : public CConditionNumberOfTargets
{
    DECLARE_SERIAL(CConditionNumberOfBreachers)
public:
    CConditionNumberOfBreachers() = default;
    CConditionNumberOfBreachers(const CConditionNumberOfBreachers& other) = default;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_NUMBER_OF_BREACHERS; }
    void GetTypeName(CString& text) const override { text = "Number Of Breachers"; }

    int m_nFurther = 0;
};

class CConditionUnitStatus : public CCondition
{
    DECLARE_SERIAL(CConditionUnitStatus)
public:
    CConditionUnitStatus() = default;
    CConditionUnitStatus(const CConditionUnitStatus& other);
    CConditionUnitStatus& operator=(const CConditionUnitStatus&) = delete;
    ~CConditionUnitStatus() override;

    // Names, force kinds, force name, status code, wanted, fired (the fired
    // word is read and not used).
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_UNIT_STATUS; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Unit Status"; }

    DWORD m_dwForceKinds = 0;
    CString m_strForceName;
    int m_nStatusCode = 0;
    BOOL m_bWanted = FALSE;
    CStringArray m_astrDataNames;
    BOOL m_bFired = FALSE;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bOwnsGroup = FALSE;
};

class CConditionHierarchyCount : public CCondition
{
    DECLARE_SERIAL(CConditionHierarchyCount)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_HIERARCHY_COUNT; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Hierarchy Count"; }

    DWORD m_dwForceKinds = 0;
    CString m_strForceName;
    int m_nValue = 0;
    CStringArray m_astrDataNames;
};

class CConditionDistance : public CCondition
{
    DECLARE_SERIAL(CConditionDistance)
public:
    CConditionDistance() = default;
    CConditionDistance(const CConditionDistance& other);
    CConditionDistance& operator=(const CConditionDistance&) = delete;
    ~CConditionDistance() override;

    // Names, force kinds, force name, relation (words), x, y, distance.
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_DISTANCE; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Distance"; }

    DWORD m_dwForceKinds = 0;
    CString m_strForceName;
    DWORD m_dwRelation = 0;
    CStringArray m_astrDataNames;
    float m_fX = 0.0f;
    float m_fY = 0.0f;
    float m_fDistance = 0.0f;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bOwnsGroup = FALSE;
    CString m_strSourceItem;  // not stored; empty in a copy
};

class CConditionBreachesComplete : public CCondition
{
    DECLARE_SERIAL(CConditionBreachesComplete)
public:
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_BREACHES_COMPLETE; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Breaches Complete"; }

    int m_nValue1 = 0;
    int m_nValue2 = 0;
    CStringArray m_astrDataNames;
};

class CConditionPathIntersectsLine : public CCondition
{
    DECLARE_SERIAL(CConditionPathIntersectsLine)
public:
    CConditionPathIntersectsLine();
    CConditionPathIntersectsLine(const CConditionPathIntersectsLine& other);
    CConditionPathIntersectsLine& operator=(const CConditionPathIntersectsLine&) = delete;
    ~CConditionPathIntersectsLine() override;

    // Names, path, the four values.
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_PATH_INTERSECTS_LINE; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Path Intersects Line"; }

    int m_anValues[4] = {0, 0, 0, 0};
    CNodeArray* m_pPath;  // owned, never null
    CStringArray m_astrDataNames;
};

class CConditionAITimeLimit : public CConditionTimeLimit
{
    DECLARE_SERIAL(CConditionAITimeLimit)
public:
    // The limit, then the names.
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_AI_TIME_LIMIT; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "AI Time Limit"; }

    CStringArray m_astrDataNames;
};

class CConditionEventBox : public CCondition
{
    DECLARE_SERIAL(CConditionEventBox)
public:
    CConditionEventBox() = default;
    CConditionEventBox(const CConditionEventBox& other);
    CConditionEventBox& operator=(const CConditionEventBox&) = delete;
    ~CConditionEventBox() override;

    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_EVENT_BOX; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Event Box"; }

    int m_nX1 = 0, m_nY1 = 0, m_nX2 = 0, m_nY2 = 0;
    CString m_strAreaName;
    BOOL m_bDetect = FALSE;
    int m_nThreshold = 0;
    BOOL m_bEllipse = FALSE;
    BOOL m_bSelection = FALSE;
    DWORD m_dwForceKinds = 0;
    CString m_strForceName;
    int m_nValue = 0;
    DWORD m_dwRelation = 0;
    CStringArray m_astrDataNames;
    CHierarchyArray* m_pGroup = nullptr;
    BOOL m_bOwnsGroup = FALSE;
    int m_nLastCount = 0;
};

class CConditionCompareEventBoxes : public CCondition
{
    DECLARE_SERIAL(CConditionCompareEventBoxes)
public:
    CConditionCompareEventBoxes();
    CConditionCompareEventBoxes(const CConditionCompareEventBoxes& other);
    CConditionCompareEventBoxes& operator=(const CConditionCompareEventBoxes&) = delete;
    ~CConditionCompareEventBoxes() override;

    // Names, the box list, the reference text, relation (word).
    void Serialize(CArchive& ar) override;
    DWORD GetType() const override { return COND_COMPARE_EVENT_BOXES; }
    int GetUsage() const override { return CONDITION_ORDER; }
    void GetTypeName(CString& text) const override { text = "Compare Event Boxes"; }

    CConditionArray* m_pBoxes;  // owned, never null
    CString m_strReference;
    DWORD m_dwRelation = 0;
    CStringArray m_astrDataNames;
};
