#include "ai/UOrdAIOrder.h"

#include "ai/UOrdAIOrderData.h"
#include "mission/ConditionArray.h"
#include "orders/RecordIO.h"
#include "orders/UnitOrderArray.h"
#include "platform/ui/Display.h"

IMPLEMENT_SERIAL(CUOrdAIOrder, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderPhase, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdAIOrderPhaseOrder, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdAIHierarchyOrder, CUnitOrder, 1)

namespace
{
template <class T>
void Io(CArchive& ar, T& value)
{
    if (ar.IsStoring())
        ar << value;
    else
        ar >> value;
}
}  // namespace

// ---------------------------------------------------------------------------
// CUOrdAIOrder

CUOrdAIOrder::CUOrdAIOrder()
    : m_pData(new CUOrdAIOrderDataArray),
      m_pPhases(new CUnitOrderArray),
      m_pFailureConditions(new CConditionArray),
      m_pFailureOrders(new CUnitOrderArray)
{
}

CUOrdAIOrder::CUOrdAIOrder(const CUOrdAIOrder& other)
    : CUnitOrder(other),
      m_strName(other.m_strName),
      m_strText2(other.m_strText2),
      m_strGraphic(other.m_strGraphic),
      m_pData(new CUOrdAIOrderDataArray(*other.m_pData)),
      m_pPhases(new CUnitOrderArray(*other.m_pPhases)),
      m_pFailureConditions(new CConditionArray(*other.m_pFailureConditions)),
      m_pFailureOrders(new CUnitOrderArray(*other.m_pFailureOrders)),
      m_nEchelonMask(other.m_nEchelonMask),
      m_nCategoryMask(other.m_nCategoryMask),
      m_nTypeMask(other.m_nTypeMask),
      m_strText3(other.m_strText3),
      m_bNoReport(other.m_bNoReport),
      m_nExcludedTypeMask(other.m_nExcludedTypeMask),
      m_bRestart(other.m_bRestart)
{
}

CUOrdAIOrder::~CUOrdAIOrder()
{
    delete m_pData;
    delete m_pPhases;
    delete m_pFailureConditions;
    delete m_pFailureOrders;
    delete m_pGraphic;
}

void CUOrdAIOrder::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    m_pData->Serialize(ar);
    m_pPhases->Serialize(ar);
    m_pFailureConditions->Serialize(ar);
    m_pFailureOrders->Serialize(ar);
    Io(ar, m_strName);
    Io(ar, m_strText2);
    Io(ar, m_strGraphic);
    record::SerializeWord(ar, m_nEchelonMask);
    record::SerializeWord(ar, m_nCategoryMask);
    record::SerializeWord(ar, m_nTypeMask);
    Io(ar, m_strText3);
    record::SerializeFlag(ar, m_bNoReport);
    record::SerializeWord(ar, m_nExcludedTypeMask);
}

// ---------------------------------------------------------------------------
// CUOrdAIOrderPhase

CUOrdAIOrderPhase::CUOrdAIOrderPhase() : m_pStartOrders(new CUnitOrderArray), m_pStepOrders(new CUnitOrderArray) {}

CUOrdAIOrderPhase::CUOrdAIOrderPhase(const CUOrdAIOrderPhase& other)
    : CUnitOrder(other),
      m_strName(other.m_strName),
      m_strText(other.m_strText),
      m_pStartOrders(new CUnitOrderArray(*other.m_pStartOrders)),
      m_pStepOrders(new CUnitOrderArray(*other.m_pStepOrders))
{
}

CUOrdAIOrderPhase::~CUOrdAIOrderPhase()
{
    delete m_pStartOrders;
    delete m_pStepOrders;
}

void CUOrdAIOrderPhase::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    m_pStartOrders->Serialize(ar);
    m_pStepOrders->Serialize(ar);
    Io(ar, m_strName);
    Io(ar, m_strText);
}

// ---------------------------------------------------------------------------
// CUOrdAIOrderPhaseOrder

CUOrdAIOrderPhaseOrder::CUOrdAIOrderPhaseOrder() : m_pOrders(new CUnitOrderArray) {}

CUOrdAIOrderPhaseOrder::CUOrdAIOrderPhaseOrder(const CUOrdAIOrderPhaseOrder& other)
    : CUnitOrder(other),
      m_pOrders(new CUnitOrderArray(*other.m_pOrders)),
      m_bOnce(other.m_bOnce),
      m_strName(other.m_strName)
{
}

CUOrdAIOrderPhaseOrder::~CUOrdAIOrderPhaseOrder() { delete m_pOrders; }

void CUOrdAIOrderPhaseOrder::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    m_pOrders->Serialize(ar);
    record::SerializeFlag(ar, m_bOnce);
    Io(ar, m_strName);
}

// ---------------------------------------------------------------------------
// CUOrdAIHierarchyOrder

CUOrdAIHierarchyOrder::CUOrdAIHierarchyOrder() : m_pContained(new CUnitOrder) {}

CUOrdAIHierarchyOrder::CUOrdAIHierarchyOrder(const CUOrdAIHierarchyOrder& other)
    : CUnitOrder(other),
      m_astrDataNames(other.m_astrDataNames),
      m_strForceName(other.m_strForceName),
      m_pContained(other.m_pContained != nullptr ? CUnitOrder::CopyOrder(other.m_pContained) : new CUnitOrder),
      m_dwContainedType(m_pContained->GetOrderType()),
      m_nForceType(other.m_nForceType)
{
}

CUOrdAIHierarchyOrder::~CUOrdAIHierarchyOrder() { delete m_pContained; }

void CUOrdAIHierarchyOrder::Serialize(CArchive& ar)
{
    // A contained order may itself be a hierarchy order, without any order
    // set between them: this chain counts as nesting too.
    CRecordNesting nesting(ar);
    CUnitOrder::Serialize(ar);
    m_astrDataNames.Serialize(ar);
    Io(ar, m_strForceName);
    if (ar.IsStoring())
    {
        if (m_pContained == nullptr)
            m_pContained = new CUnitOrder;
        m_dwContainedType = m_pContained->GetOrderType();
        ar << m_dwContainedType;
        record::WriteWord(ar, m_nForceType);
        m_pContained->Serialize(ar);
    }
    else
    {
        ar >> m_dwContainedType;
        m_nForceType = record::ReadWord(ar);
        delete m_pContained;
        m_pContained = CUnitOrder::CreateForCode(m_dwContainedType);
        m_pContained->Serialize(ar);
    }
}
