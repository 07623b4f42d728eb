#include "app/KDRMissions.h"

#include "app/KDRApp.h"
#include "mission/Mission.h"

#include <memory>

IMPLEMENT_SERIAL(CKDRMissions, CObject, 1)

CKDRMissions::CKDRMissions() = default;

CKDRMissions::~CKDRMissions()
{
    if (m_bSlot0)
        delete m_pSlot0;
    if (m_bSlot2)
        delete m_pSlot2;
    if (m_bSlot1)
        delete m_pSlot1;
}

void CKDRMissions::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strFileName;
        ar << m_strSlot0File;
        ar << m_strSlot2File;
        ar << m_strSlot1File;
    }
    else
    {
        ar >> m_strFileName;
        ar >> m_strSlot0File;
        ar >> m_strSlot2File;
        ar >> m_strSlot1File;
    }
}

void CKDRMissions::GetSlot(int nSlot, int*& pFlag, CMission**& ppMission, CString*& pFile)
{
    switch (nSlot)
    {
    case 0:
        pFlag = &m_bSlot0;
        ppMission = &m_pSlot0;
        pFile = &m_strSlot0File;
        break;
    case 1:
        pFlag = &m_bSlot1;
        ppMission = &m_pSlot1;
        pFile = &m_strSlot1File;
        break;
    case 2:
        pFlag = &m_bSlot2;
        ppMission = &m_pSlot2;
        pFile = &m_strSlot2File;
        break;
    default:
        pFlag = nullptr;
        ppMission = nullptr;
        pFile = nullptr;
        break;
    }
}

BOOL CKDRMissions::LoadMissionFiles(const CString& strDataDir)
{
    // LoadMission rewrites the slot's name, so each name is copied first.
    if (!m_strSlot0File.IsEmpty() && !LoadMission(0, CString(m_strSlot0File), strDataDir))
        return FALSE;
    if (!m_strSlot1File.IsEmpty() && !LoadMission(1, CString(m_strSlot1File), strDataDir))
        return FALSE;
    if (!m_strSlot2File.IsEmpty() && !LoadMission(2, CString(m_strSlot2File), strDataDir))
        return FALSE;
    return TRUE;
}

BOOL CKDRMissions::LoadMission(int nSlot, const CString& strFile, const CString& strDataDir)
{
    int* pFlag = nullptr;
    CMission** ppMission = nullptr;
    CString* pFile = nullptr;
    GetSlot(nSlot, pFlag, ppMission, pFile);
    // A slot outside the three is refused before any file is asked for.
    if (pFlag == nullptr)
        return FALSE;

    // A malformed file raises the archive exception; the mission goes with it.
    auto pNew = std::make_unique<CMission>();
    if (!pNew->LoadFile(strFile, strDataDir))
        return FALSE;
    CMission* pMission = pNew.release();
    if (*pFlag)
        delete *ppMission;
    *ppMission = pMission;
    *pFlag = 1;
    *pFile = pMission->m_strFileName;
    if (CKDRApp* pApp = GetKDRApp())
        pApp->SetDirectionMils(nSlot, pMission->m_nDirection);
    return TRUE;
}

CMission* CKDRMissions::GetMission(int nSlot) const
{
    switch (nSlot)
    {
    case 0: return m_bSlot0 ? m_pSlot0 : nullptr;
    case 1: return m_bSlot1 ? m_pSlot1 : nullptr;
    case 2: return m_bSlot2 ? m_pSlot2 : nullptr;
    default: return nullptr;
    }
}

void CKDRMissions::GetForceVariant(int nSide, CString& strUnits, CString& strHoles, CString& strObstacles,
                                   CString& strHierarchy)
{
    strUnits.Empty();
    strHoles.Empty();
    strObstacles.Empty();
    if (CMission* pMain = GetMission(0))
        pMain->PickRandomVariant(nSide, strUnits, strHoles, strObstacles, strHierarchy);
}

int CKDRMissions::TestMissionEnd(CKDRUnits* pUnits, const int anTotals[6], CTimeSpan tsElapsed, int& bWon)
{
    CMission* pMain = GetMission(0);
    if (pMain == nullptr)
        return 0;
    return pMain->EvaluateEvents(bWon, pUnits, anTotals, tsElapsed);
}

void CKDRMissions::ShowResults(CKDRUnits* pUnits, CKDRDatabase* pDatabase, const int anTotals[6],
                               const int* apCounts[3], CTime tStart, CTimeSpan tsElapsed)
{
    if (CMission* pMain = GetMission(0))
        pMain->WriteResultsPage(pUnits, pDatabase, anTotals, apCounts, tsElapsed, tStart);
}

CString CKDRMissions::GetMainMissionName() const
{
    if (CMission* pMain = GetMission(0))
        return pMain->m_strName;
    return CString();
}
