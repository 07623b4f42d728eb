#include "net/DirectPlay.h"

int DPRunSessionDialog() { return CPlaySession::Default().RunSessionDialog(); }
BOOL DPConnectByAddress() { return CPlaySession::Default().ConnectByAddress(); }
void DPClose() { CPlaySession::Default().Close(); }
BOOL DPCountPlayers(int* pCount) { return CPlaySession::Default().CountPlayers(pCount); }
BOOL DPRemoveGhostPlayers(int* pCount) { return CPlaySession::Default().RemoveGhostPlayers(pCount); }
int DPReceive() { return CPlaySession::Default().Receive(); }
const BYTE* DPGetReceivedData() { return CPlaySession::Default().GetReceivedData(); }
int DPGetReceivedSize() { return CPlaySession::Default().GetReceivedSize(); }
BOOL DPSendToPlayer(const void* pData, int nSize, BOOL bToTeam, const CString& strName)
{
    return CPlaySession::Default().SendToPlayer(pData, nSize, bToTeam, strName);
}
int DPCreateTeam() { return CPlaySession::Default().CreateTeam(); }
int DPJoinTeam() { return CPlaySession::Default().JoinTeam(); }
int DPListGroupPlayers(CStringArray& names) { return CPlaySession::Default().ListGroupPlayers(names); }
int DPListGamePlayers(CStringArray& names) { return CPlaySession::Default().ListGamePlayers(names); }
void DPSetHost(BOOL bHost) { CPlaySession::Default().SetHost(bHost); }
CString& DPHostAddress() { return CPlaySession::Default().HostAddress(); }
CString& DPPlayerName() { return CPlaySession::Default().PlayerName(); }
CString& DPTeamName() { return CPlaySession::Default().TeamName(); }
CString& DPPassword() { return CPlaySession::Default().Password(); }
