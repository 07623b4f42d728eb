#include "units/KDRUnits.h"

#include "platform/Archive.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/TaskOrg.h"

IMPLEMENT_SERIAL(CKDRUnits, CObject, 1)

CKDRUnits::CKDRUnits()
    : m_pNeutralFileNames(new CStringList),
      m_pOpposingFileNames(new CStringList),
      m_pFormationTemplates(nullptr),
      m_bFormationTemplates(FALSE),
      m_pStandingOrders(nullptr),
      m_bStandingOrders(FALSE),
      m_apHierarchies{nullptr, nullptr, nullptr},
      m_abHierarchies{FALSE, FALSE, FALSE},
      m_pTaskOrgs(new CTaskOrgArrayArray),
      m_pContactsSide1(nullptr),
      m_pContactsSide2(nullptr)
{
}

CKDRUnits::~CKDRUnits()
{
    for (CHierarchyArray*& pHierarchy : m_apHierarchies)
    {
        delete pHierarchy;
        pHierarchy = nullptr;
    }
    delete m_pTaskOrgs;
    delete m_pOpposingFileNames;
    delete m_pNeutralFileNames;
}

void CKDRUnits::Serialize(CArchive& ar)
{
    m_pNeutralFileNames->Serialize(ar);
    m_pOpposingFileNames->Serialize(ar);
    m_pTaskOrgs->Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strUnitFile;
        ar << m_strFormationFile;
        ar << m_strSOPFile;
        ar << m_strName;
        for (const CString& strFile : m_strHierarchyFile)
            ar << strFile;
    }
    else
    {
        ar >> m_strUnitFile;
        ar >> m_strFormationFile;
        ar >> m_strSOPFile;
        ar >> m_strName;
        for (CString& strFile : m_strHierarchyFile)
            ar >> strFile;
    }
}

int CKDRUnits::MoveAll(CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*, int, int, int, CFireMissionArray*)
{
    return 0;
}

void CKDRUnits::PrepareUnits(DWORD, CKDRGameMap*, CKDRDatabase*) {}

void CKDRUnits::ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond)
{
    pFirst = nullptr;
    pSecond = nullptr;
}

void CKDRUnits::DetectAll(CKDRGameMap*, CKDRDatabase*, CSmokeArray*, float) {}
void CKDRUnits::DirectFire(CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*) {}
void CKDRUnits::ProcessIndirectFire(CKDRDatabase*) {}

CUnit* CKDRUnits::GetUnit(int, int, int) const { return nullptr; }
CNodeArray* CKDRUnits::GetUnitPath(int, int, int) const { return nullptr; }
BOOL CKDRUnits::OwnUnitsHavePieces(CKDRDatabase*) const { return FALSE; }
BOOL CKDRUnits::HasUnitsOfKind(int) const { return FALSE; }

int CKDRUnits::IsOrderItemChecked(int, int& nValue) const
{
    nValue = 0;
    return 0;
}

CHierarchyElement* CKDRUnits::FindElementByName(const CString&) const { return nullptr; }

BOOL CKDRUnits::DetachElement(CKDRDatabase*, CKDRGameMap*, CKDRObstacles*, CKDRHoles*) { return FALSE; }
BOOL CKDRUnits::RecallDetached(CKDRDatabase*, CKDRGameMap*, CKDRObstacles*, CKDRHoles*) { return FALSE; }
BOOL CKDRUnits::CanDetachElement() const { return FALSE; }
BOOL CKDRUnits::CanRecallDetached() const { return FALSE; }

void CKDRUnits::FillHierarchyTree(int, const CString&) {}
void CKDRUnits::ShowFireMissionLog(int, CKDRGameMap*, CFireMissionArray*) {}
void CKDRUnits::RefreshFireMissionLog() {}
void CKDRUnits::FillFireMissionLog(int, CKDRGameMap*, CFireMissionArray*) {}

int CKDRUnits::LoadUnitFiles() { return 1; }
void CKDRUnits::ResolveUnitTypes(CKDRDatabase*, CKDRGameMap*) {}
void CKDRUnits::SetArrayNames(CKDRDatabase*) {}
void CKDRUnits::UpdateAllHeadings(CKDRDatabase*) {}
void CKDRUnits::AfterOpenUnits(CKDRDatabase*, CKDRGameMap*) {}
void CKDRUnits::FixUpAfterOpen(CKDRDatabase*, CKDRGameMap*) {}

int CKDRUnits::CountUnits(int, CKDRDatabase*, int& nTotalA, int& nTotalB, int*& pBlock)
{
    // No database vehicle list is known here: nothing counted.
    nTotalA = 0;
    nTotalB = 0;
    pBlock = nullptr;
    return 0;
}

int CKDRUnits::MergeUnitFile(const CString&) { return 1; }
void CKDRUnits::SerializeState(CArchive&) {}
void CKDRUnits::ValidateTaskOrgs(CTaskOrgArrayArray*) {}
void CKDRUnits::ValidateTaskOrg(CTaskOrgArray*) {}

void CKDRUnits::ApplyArtilleryImpact(CFireMission*, CKDRDatabase*, int, int, int, CTimeSpan) {}
void CKDRUnits::ApplyFireMissionToUnits(CFireMission*, CKDRDatabase*, int, int, int, CTimeSpan) {}
