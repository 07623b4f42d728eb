#pragma once
// State-update records that carry game state between the programs of a
// multiplayer game. Least form: records that pack nothing, send nothing
// (there is no link) and apply nothing they receive.

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CFireMission;
class CFireMissionArray;
class CGlobalMap;
class CKDRDatabase;
class CKDRGameMap;
class CKDRHoles;
class CKDRObstacles;
class CHoleArray;
class CObstacleArray;
class CTaskOrgArray;

// Record types.
constexpr DWORD NETUPDATE_DOCUMENT = 9;
constexpr DWORD NETUPDATE_HANDOVER = 11;
constexpr DWORD NETUPDATE_OBSTACLES = 0x40;
constexpr DWORD NETUPDATE_HOLES = 0x80;
constexpr DWORD NETUPDATE_BREACH = 0x1000;
constexpr DWORD NETUPDATE_FIRE_MISSION = 0x2000;
// Received breach and state records shorter than this are ignored.
constexpr int NETUPDATE_MIN_RECORD_BYTES = 36;

class CNetUpdate : public CObject
{
public:
    explicit CNetUpdate(DWORD dwType) : m_dwType(dwType) {}
    DWORD GetType() const { return m_dwType; }
    // The component a received record belongs to: 2 obstacles, 4 dug
    // positions, anything else the units.
    virtual WORD GetKind() const { return 0; }
    // Applies a received record to its component; nonzero when applied.
    virtual int ApplyTo(CObject* /*pTarget*/) { return 0; }

protected:
    DWORD m_dwType;
};

class CNetUpdateDocument : public CNetUpdate
{
public:
    CNetUpdateDocument() : CNetUpdate(NETUPDATE_DOCUMENT) {}
    int Send();
    int Receive(const BYTE* pData, int nLength, CObject* pTarget, CGlobalMap* pIndexMap);
};

class CNetUpdateBreach : public CNetUpdate
{
public:
    CNetUpdateBreach() : CNetUpdate(NETUPDATE_BREACH) {}
    int Apply(const BYTE* pData, int nLength, CKDRGameMap* pMap);
};

class CNetUpdateObstacles : public CNetUpdate
{
public:
    CNetUpdateObstacles() : CNetUpdate(NETUPDATE_OBSTACLES) {}
    // Sends the whole array when both indices are -99.
    int Send(CObstacleArray* pSide, int nIndex, int nSecond, int nFlag, CGlobalMap* pIndexMap);
    int Receive(const BYTE* pData, int nLength, CKDRObstacles* pObstacles, CGlobalMap* pIndexMap);
};

class CNetUpdateHandOver : public CNetUpdate
{
public:
    CNetUpdateHandOver(const CTaskOrgArray* pSelection, int nPlayer);
    int Send(const CTaskOrgArray* pSelection, int n1, int n2, int n3);
    WORD GetKind() const override { return m_wKind; }

    WORD m_wPlayer;  // the receiving player
    WORD m_wKind;    // 2 obstacles, 4 dug positions
};

class CNetUpdateFireMission : public CNetUpdate
{
public:
    CNetUpdateFireMission() : CNetUpdate(NETUPDATE_FIRE_MISSION) {}
    int Send(CFireMission* pRound, int n1, int n2, int n3, int nFlag);
    int Receive(const BYTE* pData, int nLength, CFireMissionArray* pRoundsInFlight, CKDRDatabase* pDatabase);

    CString m_strFiringSound;
};

class CNetUpdateHoles : public CNetUpdate
{
public:
    CNetUpdateHoles() : CNetUpdate(NETUPDATE_HOLES) {}
    int Send(CHoleArray* pSide, int nIndex, int nSecond, int nFlag, CGlobalMap* pIndexMap);
    int Receive(const BYTE* pData, int nLength, CKDRHoles* pHoles, CGlobalMap* pIndexMap);
};
