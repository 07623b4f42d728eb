#include "units/UnitCapability.h"

IMPLEMENT_SERIAL(CUnitCapability, CObject, 1)
IMPLEMENT_SERIAL(CUnitCapArray, CObArray, 1)
IMPLEMENT_SERIAL(CUCapBreacher, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapEngineer, CUnitCapability, 1)
IMPLEMENT_SERIAL(CUCapIndirectFire, CUnitCapability, 1)

namespace
{
constexpr DWORD CAP_BREACHER = 0x20;
constexpr DWORD CAP_ENGINEER = 0x40;
constexpr DWORD CAP_INDIRECT_FIRE = 0x8;
}  // namespace

CUnitCapability::CUnitCapability() : m_dwType(0) {}
CUnitCapability::CUnitCapability(DWORD dwType) : m_dwType(dwType) {}
CUnitCapability::~CUnitCapability() = default;

BOOL CUnitCapArray::BuildFromVehicle(CVehicleType*)
{
    RemoveAll();
    return TRUE;
}

BOOL CUnitCapArray::CheckAlignment(CVehicleType*) { return TRUE; }

CUCapBreacher::CUCapBreacher() : CUnitCapability(CAP_BREACHER) {}
int CUCapBreacher::StartBreach(CObstacle*, float, float, float, BOOL) { return 0; }

CUCapEngineer::CUCapEngineer() : CUnitCapability(CAP_ENGINEER) {}
int CUCapEngineer::StartBreach(CObstacle*, float, float, float, BOOL) { return 0; }

CUCapIndirectFire::CUCapIndirectFire()
    : CUnitCapability(CAP_INDIRECT_FIRE),
      m_pMissions(nullptr),
      m_bTraverse(FALSE),
      m_nTraverseTimer(0),
      m_bCompute(FALSE),
      m_nComputeTimer(0),
      m_bShot(FALSE),
      m_nShotTimer(0),
      m_bReadyToFire(FALSE),
      m_nReadySteps(0),
      m_dLaidAzimuth(0.0)
{
}

CUCapIndirectFire::~CUCapIndirectFire() = default;

int CUCapIndirectFire::FindAmmo(DWORD, CKDRDatabase*) const { return -1; }
int CUCapIndirectFire::GetRoundsLeft(int) const { return 0; }
void CUCapIndirectFire::TakeRound(int, CVCapIndirectFire*) {}

int CUCapIndirectFire::ResetLayingState()
{
    m_bTraverse = m_bCompute = m_bShot = FALSE;
    m_nTraverseTimer = m_nComputeTimer = m_nShotTimer = 0;
    m_bReadyToFire = FALSE;
    m_nReadySteps = 0;
    return 0;
}
