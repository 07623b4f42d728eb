#include "ai/UOrdAIOrderDataKinds.h"

#include "hierarchy/HierarchyArray.h"
#include "orders/NodeArray.h"
#include "orders/RecordIO.h"
#include "orders/UnitOrderKinds.h"

IMPLEMENT_SERIAL(CUOrdAIOrderDataObjective, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataModeOfTravel, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataFormation, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataORP, CUOrdAIOrderDataFormation, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataRoute, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataTime, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataDivideForce, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataForcePercentage, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataNumberOfVehicles, CUOrdAIOrderDataForcePercentage, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataSpecifiedForce, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataCommonWeaponRange, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataSBFLocation, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataIFPositionArea, CUOrdAIOrderDataSBFLocation, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataObstacleLine, CUOrdAIOrderData, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderDataBreachLane, CUOrdAIOrderData, 1)

namespace
{
// Bytes of one unit's stored position: six floats.
constexpr ULONGLONG UNIT_POSITION_BYTES = 24;

template <class T>
void Io(CArchive& ar, T& value)
{
    if (ar.IsStoring())
        ar << value;
    else
        ar >> value;
}

// A group that follows a "has group" word: written when held, read into a
// new group (any old one deleted) when the word is set.
void IoGroup(CArchive& ar, CHierarchyArray*& pGroup, BOOL& bHasGroup)
{
    if (ar.IsStoring())
    {
        const BOOL bWrite = bHasGroup && pGroup != nullptr;
        record::WriteFlag(ar, bWrite);
        if (bWrite)
            pGroup->Serialize(ar);
        return;
    }
    WORD wHas = 0;
    ar >> wHas;
    if (wHas == 0)
        return;
    delete pGroup;
    pGroup = new CHierarchyArray;
    bHasGroup = TRUE;
    pGroup->Serialize(ar);
}

CHierarchyArray* CopyHeldGroup(const CHierarchyArray* pGroup, BOOL bHasGroup)
{
    return bHasGroup ? CopyHierarchyGroup(pGroup) : nullptr;
}
}  // namespace

void CUOrdAIOrderDataObjective::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    record::SerializeWord(ar, m_nAreaWidth);
    record::SerializeWord(ar, m_nAreaHeight);
    Io(ar, m_strObjectiveText);
    Io(ar, m_nLeft);
    Io(ar, m_nTop);
    Io(ar, m_nRight);
    Io(ar, m_nBottom);
}

void CUOrdAIOrderDataModeOfTravel::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    record::SerializeWord(ar, m_nTravelMode);
    record::SerializeWord(ar, m_dwTravelKinds);
    record::SerializeFlag(ar, m_bMoveDismounted);
}

void CUOrdAIOrderDataFormation::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    Io(ar, m_strPlatoonFormation);
    Io(ar, m_strCompanyFormation);
}

void CUOrdAIOrderDataORP::Serialize(CArchive& ar)
{
    CUOrdAIOrderDataFormation::Serialize(ar);
    Io(ar, m_fPointX);
    Io(ar, m_fPointY);
    record::SerializeWord(ar, m_nFirstWord);
    Io(ar, m_fStandoff);
    Io(ar, m_fObjectiveX);
    Io(ar, m_fObjectiveY);
    record::SerializeWord(ar, m_nOrpParam);
}

CUOrdAIOrderDataRoute::CUOrdAIOrderDataRoute() : m_pPath(new CNodeArray) {}

CUOrdAIOrderDataRoute::CUOrdAIOrderDataRoute(const CUOrdAIOrderDataRoute& other)
    : CUOrdAIOrderData(other),
      m_pPath(new CNodeArray(*other.m_pPath)),
      m_fEndX(other.m_fEndX),
      m_fEndY(other.m_fEndY),
      m_fFaceX(other.m_fFaceX),
      m_fFaceY(other.m_fFaceY),
      m_strFormationName(other.m_strFormationName),
      m_nTravelKinds(other.m_nTravelKinds),
      m_bUseCurrentPath(other.m_bUseCurrentPath),
      m_bEndFromORP(other.m_bEndFromORP)
{
}

CUOrdAIOrderDataRoute::~CUOrdAIOrderDataRoute() { delete m_pPath; }

void CUOrdAIOrderDataRoute::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    m_pPath->Serialize(ar);
    m_astrFormationNames.Serialize(ar);
    record::SerializeFlag(ar, m_bUseCurrentPath);
    Io(ar, m_fEndX);
    Io(ar, m_fEndY);
    Io(ar, m_fFaceX);
    Io(ar, m_fFaceY);
    Io(ar, m_strFormationName);
    record::SerializeWord(ar, m_nTravelKinds);
}

void CUOrdAIOrderDataTime::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    Io(ar, m_tsTime);
}

// ---------------------------------------------------------------------------
// Forces

CUOrdAIOrderDataDivideForce::CUOrdAIOrderDataDivideForce()
{
    for (CHierarchyArray*& pGroup : m_apGroups)
        pGroup = new CHierarchyArray;
}

CUOrdAIOrderDataDivideForce::CUOrdAIOrderDataDivideForce(const CUOrdAIOrderDataDivideForce& other)
    : CUOrdAIOrderData(other), m_nDivisionMode(other.m_nDivisionMode)
{
    for (int i = 0; i < 4; ++i)
    {
        m_abNoGroup[i] = other.m_abNoGroup[i];
        m_apGroups[i] = CopyHierarchyGroup(other.m_apGroups[i]);
    }
}

CUOrdAIOrderDataDivideForce::~CUOrdAIOrderDataDivideForce()
{
    for (CHierarchyArray* pGroup : m_apGroups)
        delete pGroup;
}

void CUOrdAIOrderDataDivideForce::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    for (CHierarchyArray* pGroup : m_apGroups)
        pGroup->Serialize(ar);
    for (BOOL& bNoGroup : m_abNoGroup)
        record::SerializeFlag(ar, bNoGroup);
    record::SerializeWord(ar, m_nDivisionMode);
}

CUOrdAIOrderDataForcePercentage::CUOrdAIOrderDataForcePercentage(const CUOrdAIOrderDataForcePercentage& other)
    : CUOrdAIOrderData(other),
      m_nPercentage(other.m_nPercentage),
      m_dwForceMask(other.m_dwForceMask),
      m_dwUnitTypes(other.m_dwUnitTypes),
      m_strForceName(other.m_strForceName),
      m_nVehicleCount(other.m_nVehicleCount),
      m_nPercentCount(other.m_nPercentCount),
      m_pGroup(CopyHeldGroup(other.m_pGroup, other.m_bHasGroup)),
      m_bHasGroup(m_pGroup != nullptr)
{
}

CUOrdAIOrderDataForcePercentage::~CUOrdAIOrderDataForcePercentage() { delete m_pGroup; }

void CUOrdAIOrderDataForcePercentage::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    record::SerializeWord(ar, m_nPercentage);
    record::SerializeWord(ar, m_dwForceMask);
    Io(ar, m_strForceName);
    record::SerializeWord(ar, m_nVehicleCount);
    record::SerializeWord(ar, m_nPercentCount);
    record::SerializeWord(ar, m_dwUnitTypes);
    IoGroup(ar, m_pGroup, m_bHasGroup);
}

void CUOrdAIOrderDataNumberOfVehicles::Serialize(CArchive& ar)
{
    CUOrdAIOrderDataForcePercentage::Serialize(ar);
    record::SerializeWord(ar, m_nVehicleNumber);
}

CUOrdAIOrderDataSpecifiedForce::CUOrdAIOrderDataSpecifiedForce(const CUOrdAIOrderDataSpecifiedForce& other)
    : CUOrdAIOrderData(other),
      m_dwForceMask(other.m_dwForceMask),
      m_dwUnitTypes(other.m_dwUnitTypes),
      m_strUnitName(other.m_strUnitName),
      m_pGroup(CopyHeldGroup(other.m_pGroup, other.m_bHasGroup)),
      m_bHasGroup(m_pGroup != nullptr)
{
}

CUOrdAIOrderDataSpecifiedForce::~CUOrdAIOrderDataSpecifiedForce() { delete m_pGroup; }

void CUOrdAIOrderDataSpecifiedForce::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    record::SerializeWord(ar, m_dwForceMask);
    Io(ar, m_strUnitName);
    record::SerializeWord(ar, m_dwUnitTypes);
    IoGroup(ar, m_pGroup, m_bHasGroup);
}

CUOrdAIOrderDataCommonWeaponRange::CUOrdAIOrderDataCommonWeaponRange(const CUOrdAIOrderDataCommonWeaponRange& other)
    : CUOrdAIOrderData(other),
      m_nSide(other.m_nSide),
      m_nWeaponKind(other.m_nWeaponKind),
      m_fRangeFactor(other.m_fRangeFactor),
      m_nForceMask(other.m_nForceMask),
      m_nUnitTypes(other.m_nUnitTypes),
      m_strForceName(other.m_strForceName),
      m_fCommonRange(other.m_fCommonRange),
      m_pGroup(CopyHeldGroup(other.m_pGroup, other.m_bHasGroup)),
      m_bHasGroup(m_pGroup != nullptr)
{
}

CUOrdAIOrderDataCommonWeaponRange::~CUOrdAIOrderDataCommonWeaponRange() { delete m_pGroup; }

void CUOrdAIOrderDataCommonWeaponRange::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    record::SerializeWord(ar, m_nSide);
    record::SerializeWord(ar, m_nWeaponKind);
    Io(ar, m_fRangeFactor);
    record::SerializeWord(ar, m_nForceMask);
    record::SerializeWord(ar, m_nUnitTypes);
    Io(ar, m_strForceName);
    Io(ar, m_fCommonRange);
    IoGroup(ar, m_pGroup, m_bHasGroup);
}

// ---------------------------------------------------------------------------
// Fire positions

CUOrdAIOrderDataSBFLocation::CUOrdAIOrderDataSBFLocation(const CUOrdAIOrderDataSBFLocation& other)
    : CUOrdAIOrderData(other),
      m_astrUnitNames(other.m_astrUnitNames),
      m_astrSecondNames(other.m_astrSecondNames),
      m_positions(other.m_positions),
      m_strSbfText(other.m_strSbfText),
      m_nSbfValue(other.m_nSbfValue),
      m_fSbfStartX(other.m_fSbfStartX),
      m_fSbfStartY(other.m_fSbfStartY),
      m_nSbfTravelMode(other.m_nSbfTravelMode),
      m_fSbfTargetX(other.m_fSbfTargetX),
      m_fSbfTargetY(other.m_fSbfTargetY),
      m_bPlacedStage(FALSE)
{
    for (int i = 0; i < 3; ++i)
    {
        m_afPlacedPoint[i] = other.m_afPlacedPoint[i];
        m_afPlacedArea[i] = other.m_afPlacedArea[i];
    }
}

void CUOrdAIOrderDataSBFLocation::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    m_astrUnitNames.Serialize(ar);
    m_astrSecondNames.Serialize(ar);
    for (float& f : m_afPlacedPoint)
        Io(ar, f);
    for (float& f : m_afPlacedArea)
        Io(ar, f);
    Io(ar, m_nSbfValue);
    Io(ar, m_strSbfText);
    Io(ar, m_fSbfStartX);
    Io(ar, m_fSbfStartY);
    record::SerializeWord(ar, m_nSbfTravelMode);
    Io(ar, m_fSbfTargetX);
    Io(ar, m_fSbfTargetY);
    if (ar.IsLoading())
    {
        const int nCount = m_astrUnitNames.GetSize();
        ar.EnsureBytesLeft(static_cast<ULONGLONG>(nCount) * UNIT_POSITION_BYTES);
        m_positions.assign(static_cast<size_t>(nCount), UnitPosition{});
    }
    else if (m_positions.size() != static_cast<size_t>(m_astrUnitNames.GetSize()))
    {
        // One position per name, as the reader expects.
        m_positions.resize(static_cast<size_t>(m_astrUnitNames.GetSize()));
    }
    for (UnitPosition& p : m_positions)
    {
        Io(ar, p.fFireX);
        Io(ar, p.fFireY);
        Io(ar, p.fFireFacing);
        Io(ar, p.fPosX);
        Io(ar, p.fPosY);
        Io(ar, p.fPosZ);
    }
}

void CUOrdAIOrderDataIFPositionArea::Serialize(CArchive& ar)
{
    CUOrdAIOrderDataSBFLocation::Serialize(ar);
    Io(ar, m_strPlatoonFormation);
    Io(ar, m_strCompanyFormation);
    Io(ar, m_fFireCentreX);
    Io(ar, m_fFireCentreY);
}

// ---------------------------------------------------------------------------
// Obstacle work

void CUOrdAIOrderDataObstacleLine::Serialize(CArchive& ar)
{
    CUOrdAIOrderData::Serialize(ar);
    Io(ar, m_nX1);
    Io(ar, m_nY1);
    Io(ar, m_nX2);
    Io(ar, m_nY2);
    record::SerializeWord(ar, m_dwObstacleTypes);
    Io(ar, m_fObjectiveY);
    Io(ar, m_fObjectiveX);
    Io(ar, m_fOrpY);
    Io(ar, m_fOrpX);
    Io(ar, m_fLineRange);
    record::SerializeWord(ar, m_nRangeValue);
}

void CUOrdAIOrderDataBreachLane::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        // Lanes cannot be read back without their count: an item that holds
        // lanes goes out uncalculated and works them out again when loaded.
        const BOOL bCalculated = m_bCalculated;
        if (!m_lanes.empty() || m_astrBreacherNames.GetSize() > 0)
            m_bCalculated = FALSE;
        CUOrdAIOrderData::Serialize(ar);
        m_bCalculated = bCalculated;
    }
    else
    {
        CUOrdAIOrderData::Serialize(ar);
        m_astrBreacherNames.RemoveAll();
        m_lanes.clear();
    }
    for (float& f : m_afBreachPoint)
        Io(ar, f);
    Io(ar, m_fStartX);
    Io(ar, m_fStartY);
    Io(ar, m_fBreachTargetX);
    Io(ar, m_fBreachTargetY);
    Io(ar, m_fLaneAngle);
    Io(ar, m_fLaneHeading);
    record::SerializeWord(ar, m_nLaneTravelMode);
}
