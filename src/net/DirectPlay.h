#pragma once
// The session layer's plain functions: each works on the process-wide
// session (PlaySession.h), so there is one session per program as the
// links expect; tests that run several players in one process make
// sessions of their own.

#include "net/PlaySession.h"

int DPRunSessionDialog();
BOOL DPConnectByAddress();
void DPClose();
BOOL DPCountPlayers(int* pCount);
BOOL DPRemoveGhostPlayers(int* pCount);
int DPReceive();
const BYTE* DPGetReceivedData();
int DPGetReceivedSize();
BOOL DPSendToPlayer(const void* pData, int nSize, BOOL bToTeam, const CString& strName);
int DPCreateTeam();
int DPJoinTeam();
int DPListGroupPlayers(CStringArray& names);
int DPListGamePlayers(CStringArray& names);
void DPSetHost(BOOL bHost);
CString& DPHostAddress();
CString& DPPlayerName();
CString& DPTeamName();
CString& DPPassword();
