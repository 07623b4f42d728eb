#include "orders/UnitOrderKinds.h"

#include "ai/UOrdAIOrderDataKinds.h"
#include "hierarchy/HierarchyArray.h"
#include "mission/ConditionArray.h"
#include "orders/NodeArray.h"
#include "orders/RecordIO.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"

IMPLEMENT_SERIAL(CUOrdMount, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdDismount, CUOrdMount, 1)
IMPLEMENT_SERIAL(CUOrdOrientDirection, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdDetachUnits, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdRecalculateData, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdAssignPath, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUOrdSuppress, CUnitOrder, 1)

CHierarchyArray* CopyHierarchyGroup(const CHierarchyArray* pGroup)
{
    if (pGroup == nullptr)
        return nullptr;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        const_cast<CHierarchyArray*>(pGroup)->Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    auto* pCopy = new CHierarchyArray;
    try
    {
        CArchive ar(&file, CArchive::load);
        pCopy->Serialize(ar);
        ar.Close();
    }
    catch (const CException&)
    {
        delete pCopy;
        throw;
    }
    return pCopy;
}

// ---------------------------------------------------------------------------
// Mount and dismount

CUOrdMount::CUOrdMount()
    : m_pCarriedUnits(new CHierarchyArray),
      m_pForce(nullptr),
      m_bOwnsForce(FALSE),
      m_bSkipByTravelMode(FALSE),
      m_bOwnsIcon(FALSE),
      m_pIcon(nullptr)
{
}

CUOrdMount::CUOrdMount(const CUOrdMount& other)
    : CUnitOrder(other),
      m_pCarriedUnits(CopyHierarchyGroup(other.m_pCarriedUnits)),
      m_pForce(other.m_bOwnsForce ? CopyHierarchyGroup(other.m_pForce) : nullptr),
      m_bOwnsForce(m_pForce != nullptr),
      m_bSkipByTravelMode(other.m_bSkipByTravelMode),
      m_bOwnsIcon(FALSE),
      m_pIcon(nullptr)
{
    if (m_pCarriedUnits == nullptr)
        m_pCarriedUnits = new CHierarchyArray;
}

CUOrdMount::~CUOrdMount()
{
    delete m_pCarriedUnits;
    if (m_bOwnsForce)
        delete m_pForce;
    if (m_bOwnsIcon)
        delete m_pIcon;
}

void CUOrdMount::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    m_pCarriedUnits->Serialize(ar);
    if (ar.IsStoring())
    {
        const BOOL bForce = m_pForce != nullptr;
        ar << static_cast<WORD>(bForce ? 1 : 0);
        if (bForce)
            m_pForce->Serialize(ar);
    }
    else
    {
        WORD wForce = 0;
        ar >> wForce;
        if (wForce != 0)
        {
            if (m_bOwnsForce)
                delete m_pForce;
            m_pForce = new CHierarchyArray;
            m_bOwnsForce = TRUE;
            m_pForce->Serialize(ar);
        }
    }
}

CString CUOrdMount::GetDescription(int, int) { return "Mount Dismounts"; }

CUOrdDismount::CUOrdDismount() : m_pPath(new CNodeArray) {}

CUOrdDismount::CUOrdDismount(const CUOrdDismount& other) : CUOrdMount(other), m_pPath(new CNodeArray(*other.m_pPath)) {}

CUOrdDismount::~CUOrdDismount() { delete m_pPath; }

void CUOrdDismount::Serialize(CArchive& ar)
{
    CUOrdMount::Serialize(ar);
    m_pPath->Serialize(ar);
}

CString CUOrdDismount::GetDescription(int, int) { return "Dismount Mounted Personnel"; }

// ---------------------------------------------------------------------------
// Orient, detach, assign path, suppress

void CUOrdOrientDirection::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_fDirection << static_cast<WORD>(m_bUseSideDirection ? 1 : 0) << m_fTargetX << m_fTargetY;
    }
    else
    {
        ar >> m_fDirection;
        record::ReadFlag(ar, m_bUseSideDirection);
        ar >> m_fTargetX >> m_fTargetY;
    }
}

void CUOrdDetachUnits::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nDetachCount) << static_cast<WORD>(m_bDetachFlag ? 1 : 0);
    }
    else
    {
        short nCount = 0;
        ar >> nCount;
        m_nDetachCount = nCount;
        record::ReadFlag(ar, m_bDetachFlag);
    }
}

CUOrdAssignPath::CUOrdAssignPath() : m_pPath(new CNodeArray), m_pLocation(nullptr) {}

CUOrdAssignPath::CUOrdAssignPath(const CUOrdAssignPath& other)
    : CUnitOrder(other),
      m_pPath(new CNodeArray(*other.m_pPath)),
      m_pLocation(CUOrdAIOrderData::CopyItem(other.m_pLocation))
{
}

CUOrdAssignPath::~CUOrdAssignPath()
{
    delete m_pPath;
    delete m_pLocation;
}

void CUOrdAssignPath::Serialize(CArchive& ar)
{
    CUnitOrder::Serialize(ar);
    m_pPath->Serialize(ar);
}

CUOrdSuppress::CUOrdSuppress(const CUOrdSuppress& other)
    : CUnitOrder(other),
      m_fTargetX(other.m_fTargetX),
      m_fTargetY(other.m_fTargetY),
      m_fRange(other.m_fRange),
      m_pLocation(other.m_pLocation != nullptr ? new CUOrdAIOrderDataSBFLocation(*other.m_pLocation) : nullptr),
      m_bOwnsLocation(m_pLocation != nullptr)
{
}

CUOrdSuppress::~CUOrdSuppress()
{
    if (m_bOwnsLocation)
        delete m_pLocation;
}

void CUOrdSuppress::Serialize(CArchive& ar)
{
    // The suppress record alone does not begin with the conditions.
    if (ar.IsStoring())
    {
        const BOOL bLocation = m_pLocation != nullptr && m_bOwnsLocation;
        ar << m_fTargetX << m_fTargetY << m_fRange << static_cast<WORD>(bLocation ? 1 : 0);
        if (bLocation)
            m_pLocation->Serialize(ar);
    }
    else
    {
        WORD wLocation = 0;
        ar >> m_fTargetX >> m_fTargetY >> m_fRange >> wLocation;
        if (wLocation != 0)
        {
            if (m_bOwnsLocation)
                delete m_pLocation;
            m_pLocation = new CUOrdAIOrderDataSBFLocation;
            m_bOwnsLocation = TRUE;
            m_pLocation->Serialize(ar);
        }
    }
}

CString CUOrdSuppress::GetDescription(int, int) { return "Suppress with Direct Fire"; }
