#include "app/KDRScenario.h"

#include "app/KDRMissions.h"
#include "app/KDROpord.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "database/KDRDatabase.h"
#include "units/KDRUnits.h"

CKDRScenario::CKDRScenario()
    : m_pGameMap(nullptr),
      m_pDatabase(nullptr),
      m_pUnits(nullptr),
      m_pObstacles(nullptr),
      m_pHoles(nullptr),
      m_pOpord(nullptr),
      m_pEnvironment(nullptr),
      m_pMissions(nullptr),
      m_tMissionStart(0),
      m_bGameMap(0),
      m_bDatabase(0),
      m_bUnits(0),
      m_bObstacles(0),
      m_bHoles(0),
      m_bOpord(0),
      m_bEnvironment(0),
      m_bMissions(0)
{
}

CKDRScenario::~CKDRScenario() { DeleteComponents(); }

int& CKDRScenario::PresenceFlag(int nComponent)
{
    switch (nComponent)
    {
    case KDR_GAME_MAP: return m_bGameMap;
    case KDR_DATABASE: return m_bDatabase;
    case KDR_UNITS: return m_bUnits;
    case KDR_OBSTACLES: return m_bObstacles;
    case KDR_HOLES: return m_bHoles;
    case KDR_OPORD: return m_bOpord;
    case KDR_ENVIRONMENT: return m_bEnvironment;
    default: return m_bMissions;
    }
}

CObject* CKDRScenario::GetComponent(int nComponent) const
{
    switch (nComponent)
    {
    case KDR_GAME_MAP: return GetGameMap();
    case KDR_DATABASE: return GetDatabase();
    case KDR_UNITS: return GetUnits();
    case KDR_OBSTACLES: return GetObstacles();
    case KDR_HOLES: return GetHoles();
    case KDR_OPORD: return GetOpord();
    case KDR_ENVIRONMENT: return GetEnvironment();
    case KDR_MISSIONS: return GetMissions();
    default: return nullptr;
    }
}

BOOL CKDRScenario::IsPresent(int nComponent) const { return GetComponent(nComponent) != nullptr; }

namespace
{
template <class T>
void Replace(T*& pSlot, int& bFlag, T* pNew)
{
    delete pSlot;
    pSlot = pNew;
    bFlag = pNew != nullptr ? 1 : 0;
}
}  // namespace

void CKDRScenario::SetGameMap(CKDRGameMap* p) { Replace(m_pGameMap, m_bGameMap, p); }
void CKDRScenario::SetDatabase(CKDRDatabase* p) { Replace(m_pDatabase, m_bDatabase, p); }
void CKDRScenario::SetUnits(CKDRUnits* p) { Replace(m_pUnits, m_bUnits, p); }
void CKDRScenario::SetObstacles(CKDRObstacles* p) { Replace(m_pObstacles, m_bObstacles, p); }
void CKDRScenario::SetHoles(CKDRHoles* p) { Replace(m_pHoles, m_bHoles, p); }
void CKDRScenario::SetOpord(CKDROpord* p) { Replace(m_pOpord, m_bOpord, p); }
void CKDRScenario::SetEnvironment(CKDREnvironment* p) { Replace(m_pEnvironment, m_bEnvironment, p); }
void CKDRScenario::SetMissions(CKDRMissions* p) { Replace(m_pMissions, m_bMissions, p); }

void CKDRScenario::CreateComponent(int nComponent)
{
    switch (nComponent)
    {
    case KDR_GAME_MAP: SetGameMap(new CKDRGameMap); break;
    case KDR_DATABASE: SetDatabase(new CKDRDatabase); break;
    case KDR_UNITS: SetUnits(new CKDRUnits); break;
    case KDR_OBSTACLES: SetObstacles(new CKDRObstacles); break;
    case KDR_HOLES: SetHoles(new CKDRHoles); break;
    case KDR_OPORD: SetOpord(new CKDROpord); break;
    case KDR_ENVIRONMENT: SetEnvironment(new CKDREnvironment); break;
    case KDR_MISSIONS: SetMissions(new CKDRMissions); break;
    default: break;
    }
}

CKDRMissions* CKDRScenario::DetachMissions()
{
    CKDRMissions* p = GetMissions();
    m_pMissions = nullptr;
    m_bMissions = 0;
    return p;
}

void CKDRScenario::DeleteComponents()
{
    for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        PresenceFlag(i) = 0;
    delete m_pGameMap;
    m_pGameMap = nullptr;
    delete m_pDatabase;
    m_pDatabase = nullptr;
    delete m_pUnits;
    m_pUnits = nullptr;
    delete m_pObstacles;
    m_pObstacles = nullptr;
    delete m_pHoles;
    m_pHoles = nullptr;
    delete m_pOpord;
    m_pOpord = nullptr;
    delete m_pEnvironment;
    m_pEnvironment = nullptr;
    delete m_pMissions;
    m_pMissions = nullptr;
}

void CKDRScenario::SerializeScenario(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
            ar << static_cast<WORD>(IsPresent(i) ? 1 : 0);
        ar << m_tMissionStart;
        for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        {
            if (CObject* pComponent = GetComponent(i))
                pComponent->Serialize(ar);
        }
    }
    else
    {
        WORD awPresent[KDR_COMPONENT_COUNT] = {};
        for (WORD& w : awPresent)
            ar >> w;
        ar >> m_tMissionStart;
        for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        {
            if (awPresent[i] != 0)
                CreateComponent(i);
        }
        // Only the components this file names read a part: a flag left set
        // from before has no part in this file.
        for (int i = 0; i < KDR_COMPONENT_COUNT; ++i)
        {
            if (awPresent[i] != 0)
                GetComponent(i)->Serialize(ar);
        }
    }
}
