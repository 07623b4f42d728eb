#include "mission/ConditionKinds.h"

#include "hierarchy/HierarchyArray.h"
#include "orders/NodeArray.h"
#include "orders/RecordIO.h"
#include "orders/UnitOrderKinds.h"

IMPLEMENT_SERIAL(CConditionObjectiveEllipse, CCondition, 1)
IMPLEMENT_SERIAL(CConditionEnemyNumbers, CCondition, 1)
IMPLEMENT_SERIAL(CConditionFriendlyNumbers, CCondition, 1)
IMPLEMENT_SERIAL(CConditionPreventPenetrationBox, CCondition, 1)
IMPLEMENT_SERIAL(CConditionTimeLimit, CCondition, 1)
IMPLEMENT_SERIAL(CConditionCallBackUnit, CObject, 1)
IMPLEMENT_SERIAL(CConditionCallBack, CCondition, 1)
IMPLEMENT_SERIAL(CConditionCallBackCount, CConditionCallBack, 1)
IMPLEMENT_SERIAL(CConditionCallBackSnapShot, CConditionCallBackCount, 1)
IMPLEMENT_SERIAL(CConditionVehicleCount, CCondition, 1)
IMPLEMENT_SERIAL(CConditionForcePercentage, CConditionVehicleCount, 1)
IMPLEMENT_SERIAL(CConditionNumberOfTargets, CConditionVehicleCount, 1)
IMPLEMENT_SERIAL(CConditionNumberOfBreachers, CConditionNumberOfTargets, 1)
IMPLEMENT_SERIAL(CConditionUnitStatus, CCondition, 1)
IMPLEMENT_SERIAL(CConditionHierarchyCount, CCondition, 1)
IMPLEMENT_SERIAL(CConditionDistance, CCondition, 1)
IMPLEMENT_SERIAL(CConditionBreachesComplete, CCondition, 1)
IMPLEMENT_SERIAL(CConditionPathIntersectsLine, CCondition, 1)
IMPLEMENT_SERIAL(CConditionAITimeLimit, CConditionTimeLimit, 1)
IMPLEMENT_SERIAL(CConditionEventBox, CCondition, 1)
IMPLEMENT_SERIAL(CConditionCompareEventBoxes, CCondition, 1)

using record::ReadFlag;
using record::ReadWord;
using record::WriteFlag;
using record::WriteWord;

namespace
{
void SerializeText(CArchive& ar, CString& text)
{
    if (ar.IsStoring())
        ar << text;
    else
        ar >> text;
}

void DeleteGroup(CHierarchyArray*& pGroup, BOOL& bOwns)
{
    if (bOwns)
        delete pGroup;
    pGroup = nullptr;
    bOwns = FALSE;
}
}  // namespace

// ---------------------------------------------------------------------------
// Mission conditions

void CConditionObjectiveEllipse::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    record::SerializeWord(ar, m_nX1);
    record::SerializeWord(ar, m_nY1);
    record::SerializeWord(ar, m_nX2);
    record::SerializeWord(ar, m_nY2);
    record::SerializeWord(ar, m_nFriendlyThreshold);
    record::SerializeWord(ar, m_nEnemyThreshold);
    record::SerializeFlag(ar, m_bFriendlyManeuver);
    record::SerializeFlag(ar, m_bEnemyManeuver);
    SerializeText(ar, m_strName);
}

void CConditionEnemyNumbers::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    record::SerializeWord(ar, m_nThreshold);
    record::SerializeFlag(ar, m_bManeuver);
}

void CConditionFriendlyNumbers::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    record::SerializeWord(ar, m_nThreshold);
    record::SerializeFlag(ar, m_bManeuver);
}

void CConditionPreventPenetrationBox::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    record::SerializeWord(ar, m_nX1);
    record::SerializeWord(ar, m_nY1);
    record::SerializeWord(ar, m_nX2);
    record::SerializeWord(ar, m_nY2);
    record::SerializeWord(ar, m_nThreshold);
    record::SerializeFlag(ar, m_bManeuver);
    SerializeText(ar, m_strName);
}

void CConditionTimeLimit::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    if (ar.IsStoring())
        ar << m_tsLimit;
    else
        ar >> m_tsLimit;
}

// ---------------------------------------------------------------------------
// Call-back family

void CConditionCallBackUnit::Serialize(CArchive& ar)
{
    record::SerializeWord(ar, m_nUnit);
    record::SerializeWord(ar, m_nGroup);
    record::SerializeWord(ar, m_nSide);
    record::SerializeFlag(ar, m_bDone);
}

CConditionCallBack::CConditionCallBack(const CConditionCallBack& other)
    : CCondition(other),
      m_nFirstWord(other.m_nFirstWord),
      m_nSecondWord(other.m_nSecondWord),
      m_dwEventMask(other.m_dwEventMask),
      m_dwForceKinds(other.m_dwForceKinds),
      m_strForceName(other.m_strForceName),
      m_astrDataNames(other.m_astrDataNames)
{
    for (int i = 0; i < other.m_records.GetSize(); ++i)
    {
        if (const CConditionCallBackUnit* pRecord = other.m_records.GetAt(i))
            m_records.Add(new CConditionCallBackUnit(*pRecord));
    }
}

CConditionCallBack::~CConditionCallBack() { DeleteGroup(m_pGroup, m_bOwnsGroup); }

void CConditionCallBack::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_records.Serialize(ar);
    m_astrDataNames.Serialize(ar);
    record::SerializeWord(ar, m_nFirstWord);
    record::SerializeWord(ar, m_nSecondWord);
    record::SerializeWord(ar, m_dwEventMask);
    record::SerializeWord(ar, m_dwForceKinds);
    SerializeText(ar, m_strForceName);
}

void CConditionCallBackCount::Serialize(CArchive& ar)
{
    CConditionCallBack::Serialize(ar);
    record::SerializeWord(ar, m_nRequiredCount);
}

// ---------------------------------------------------------------------------
// Vehicle-count family

CConditionVehicleCount::CConditionVehicleCount(const CConditionVehicleCount& other)
    : CCondition(other),
      m_dwForceKinds(other.m_dwForceKinds),
      m_strForceName(other.m_strForceName),
      m_dwRoleMask(other.m_dwRoleMask),
      m_nThreshold(other.m_nThreshold),
      m_astrDataNames(other.m_astrDataNames),
      m_pGroup(other.m_bOwnsGroup ? CopyHierarchyGroup(other.m_pGroup) : nullptr),
      m_bOwnsGroup(m_pGroup != nullptr)
{
}

CConditionVehicleCount::~CConditionVehicleCount() { DeleteGroup(m_pGroup, m_bOwnsGroup); }

void CConditionVehicleCount::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    record::SerializeWord(ar, m_dwForceKinds);
    SerializeText(ar, m_strForceName);
    record::SerializeWord(ar, m_dwRoleMask);
    record::SerializeWord(ar, m_nThreshold);
}

void CConditionForcePercentage::Serialize(CArchive& ar)
{
    CConditionVehicleCount::Serialize(ar);
    record::SerializeWord(ar, m_nPercent);
}

CConditionNumberOfTargets::CConditionNumberOfTargets(const CConditionNumberOfTargets& other)
    : CConditionVehicleCount(other), m_dwRelation(other.m_dwRelation)
{
}

void CConditionNumberOfTargets::Serialize(CArchive& ar)
{
    CConditionVehicleCount::Serialize(ar);
    record::SerializeWord(ar, m_dwRelation);
}

void CConditionNumberOfBreachers::Serialize(CArchive& ar)
{
    CConditionNumberOfTargets::Serialize(ar);
    record::SerializeWord(ar, m_nFurther);
}

// ---------------------------------------------------------------------------
// The other order conditions

CConditionUnitStatus::CConditionUnitStatus(const CConditionUnitStatus& other)
    : CCondition(other),
      m_dwForceKinds(other.m_dwForceKinds),
      m_strForceName(other.m_strForceName),
      m_nStatusCode(other.m_nStatusCode),
      m_bWanted(other.m_bWanted),
      m_astrDataNames(other.m_astrDataNames),
      m_bFired(other.m_bFired)
{
}

CConditionUnitStatus::~CConditionUnitStatus() { DeleteGroup(m_pGroup, m_bOwnsGroup); }

void CConditionUnitStatus::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    record::SerializeWord(ar, m_dwForceKinds);
    SerializeText(ar, m_strForceName);
    record::SerializeWord(ar, m_nStatusCode);
    record::SerializeFlag(ar, m_bWanted);
    if (ar.IsStoring())
    {
        WriteFlag(ar, m_bFired);
    }
    else
    {
        // Only a data item sets the fired flag; the stored word is not used.
        WORD wUnused = 0;
        ar >> wUnused;
    }
}

void CConditionHierarchyCount::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    record::SerializeWord(ar, m_dwForceKinds);
    SerializeText(ar, m_strForceName);
    record::SerializeWord(ar, m_nValue);
}

CConditionDistance::CConditionDistance(const CConditionDistance& other)
    : CCondition(other),
      m_dwForceKinds(other.m_dwForceKinds),
      m_strForceName(other.m_strForceName),
      m_dwRelation(other.m_dwRelation),
      m_astrDataNames(other.m_astrDataNames),
      m_fX(other.m_fX),
      m_fY(other.m_fY),
      m_fDistance(other.m_fDistance)
{
}

CConditionDistance::~CConditionDistance() { DeleteGroup(m_pGroup, m_bOwnsGroup); }

void CConditionDistance::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    record::SerializeWord(ar, m_dwForceKinds);
    SerializeText(ar, m_strForceName);
    record::SerializeWord(ar, m_dwRelation);
    if (ar.IsStoring())
        ar << m_fX << m_fY << m_fDistance;
    else
        ar >> m_fX >> m_fY >> m_fDistance;
}

void CConditionBreachesComplete::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    record::SerializeWord(ar, m_nValue1);
    record::SerializeWord(ar, m_nValue2);
}

CConditionPathIntersectsLine::CConditionPathIntersectsLine() : m_pPath(new CNodeArray) {}

CConditionPathIntersectsLine::CConditionPathIntersectsLine(const CConditionPathIntersectsLine& other)
    : CCondition(other), m_pPath(new CNodeArray(*other.m_pPath)), m_astrDataNames(other.m_astrDataNames)
{
    for (int i = 0; i < 4; ++i)
        m_anValues[i] = other.m_anValues[i];
}

CConditionPathIntersectsLine::~CConditionPathIntersectsLine() { delete m_pPath; }

void CConditionPathIntersectsLine::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    m_pPath->Serialize(ar);
    for (int& nValue : m_anValues)
    {
        if (ar.IsStoring())
            ar << nValue;
        else
            ar >> nValue;
    }
}

void CConditionAITimeLimit::Serialize(CArchive& ar)
{
    CConditionTimeLimit::Serialize(ar);
    m_astrDataNames.Serialize(ar);
}

CConditionEventBox::CConditionEventBox(const CConditionEventBox& other)
    : CCondition(other),
      m_nX1(other.m_nX1),
      m_nY1(other.m_nY1),
      m_nX2(other.m_nX2),
      m_nY2(other.m_nY2),
      m_strAreaName(other.m_strAreaName),
      m_bDetect(other.m_bDetect),
      m_nThreshold(other.m_nThreshold),
      m_bEllipse(other.m_bEllipse),
      m_bSelection(other.m_bSelection),
      m_dwForceKinds(other.m_dwForceKinds),
      m_strForceName(other.m_strForceName),
      m_nValue(other.m_nValue),
      m_dwRelation(other.m_dwRelation),
      m_astrDataNames(other.m_astrDataNames),
      m_nLastCount(other.m_nLastCount)
{
}

CConditionEventBox::~CConditionEventBox() { DeleteGroup(m_pGroup, m_bOwnsGroup); }

void CConditionEventBox::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    if (ar.IsStoring())
        ar << m_nX1 << m_nY1 << m_nX2 << m_nY2;
    else
        ar >> m_nX1 >> m_nY1 >> m_nX2 >> m_nY2;
    SerializeText(ar, m_strAreaName);
    record::SerializeFlag(ar, m_bDetect);
    record::SerializeWord(ar, m_nThreshold);
    record::SerializeFlag(ar, m_bEllipse);
    record::SerializeFlag(ar, m_bSelection);
    record::SerializeWord(ar, m_dwForceKinds);
    SerializeText(ar, m_strForceName);
    record::SerializeWord(ar, m_nValue);
    record::SerializeWord(ar, m_dwRelation);
}

CConditionCompareEventBoxes::CConditionCompareEventBoxes() : m_pBoxes(new CConditionArray) {}

CConditionCompareEventBoxes::CConditionCompareEventBoxes(const CConditionCompareEventBoxes& other)
    : CCondition(other),
      m_pBoxes(new CConditionArray(*other.m_pBoxes)),
      m_strReference(other.m_strReference),
      m_dwRelation(other.m_dwRelation),
      m_astrDataNames(other.m_astrDataNames)
{
}

CConditionCompareEventBoxes::~CConditionCompareEventBoxes() { delete m_pBoxes; }

void CConditionCompareEventBoxes::Serialize(CArchive& ar)
{
    CCondition::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    m_pBoxes->Serialize(ar);
    SerializeText(ar, m_strReference);
    record::SerializeWord(ar, m_dwRelation);
}
