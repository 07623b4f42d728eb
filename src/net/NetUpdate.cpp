#include "net/NetUpdate.h"

int CNetUpdateDocument::Send() { return 0; }
int CNetUpdateDocument::Receive(const BYTE*, int, CObject*, CGlobalMap*) { return 0; }

int CNetUpdateBreach::Apply(const BYTE*, int, CKDRGameMap*) { return 0; }

int CNetUpdateObstacles::Send(CObstacleArray*, int, int, int, CGlobalMap*) { return 0; }
int CNetUpdateObstacles::Receive(const BYTE*, int, CKDRObstacles*, CGlobalMap*) { return 0; }

CNetUpdateHandOver::CNetUpdateHandOver(const CTaskOrgArray*, int nPlayer)
    : CNetUpdate(NETUPDATE_HANDOVER), m_wPlayer(static_cast<WORD>(nPlayer)), m_wKind(0)
{
}

int CNetUpdateHandOver::Send(const CTaskOrgArray*, int, int, int) { return 0; }

int CNetUpdateFireMission::Send(CFireMission*, int, int, int, int) { return 0; }
int CNetUpdateFireMission::Receive(const BYTE*, int, CFireMissionArray*, CKDRDatabase*) { return 0; }

int CNetUpdateHoles::Send(CHoleArray*, int, int, int, CGlobalMap*) { return 0; }
int CNetUpdateHoles::Receive(const BYTE*, int, CKDRHoles*, CGlobalMap*) { return 0; }
