#pragma once
// Recording stand-ins for the components the game loop steps, and a shell
// that installs them in a document. Every stand-in appends the name of its
// step to one shared log, so a test can read the order of a pass; the units'
// movement step runs a hook, which is where a test drives the millisecond
// counter, posts commands or stops the clock.

#include "DocTestSupport.h"

#include "app/ClockDlg.h"
#include "app/GameClock.h"
#include "app/KDRCommandIds.h"
#include "app/KDRMissions.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "hierarchy/TaskOrg.h"
#include "net/MultiplayerSession.h"
#include "orders/NodeArray.h"
#include "platform/core/Timer.h"
#include "units/KDRUnits.h"
#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/Unit.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using StepLog = std::vector<std::string>;

class CRecordingUnits : public CKDRUnits
{
public:
    explicit CRecordingUnits(StepLog& log) : m_log(log) {}

    int MoveAll(CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*, int, int, int, CFireMissionArray*) override
    {
        m_log.push_back("units");
        ++m_nPasses;
        if (m_onMove)
            m_onMove(m_nPasses);
        return m_nMoveResult;
    }
    void PrepareUnits(DWORD dwTick, CKDRGameMap*, CKDRDatabase*) override
    {
        m_dwPrepared = dwTick;
        ++m_nPrepared;
    }
    void ResetContactLists(CUnitRefArray*& pFirst, CUnitRefArray*& pSecond) override
    {
        m_log.push_back("contacts");
        pFirst = nullptr;
        pSecond = nullptr;
    }
    void DetectAll(CKDRGameMap*, CKDRDatabase*, CSmokeArray*, float fLight) override
    {
        m_log.push_back("detection");
        m_fLight = fLight;
    }
    void DirectFirePass(CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*) override
    {
        m_log.push_back("direct fire");
    }
    void ProcessIndirectFire(CKDRDatabase*) override { m_log.push_back("indirect fire"); }
    BOOL TakeMapChanged() override
    {
        const BOOL bChanged = m_bMapChanged;
        m_bMapChanged = FALSE;
        return bChanged;
    }
    CUnit* GetUnit(int nUnit, int nArray, int nKind) const override
    {
        m_log.push_back("selected unit");
        return nUnit == 0 && nArray == 0 && nKind == 0 ? m_pUnit : nullptr;
    }
    CNodeArray* GetUnitPath(int nUnit, int nArray, int nKind) const override
    {
        m_log.push_back("path");
        return nUnit == 0 && nArray == 0 && nKind == 0 ? m_pPath : nullptr;
    }
    void ValidateTaskOrg(CTaskOrgArray* pList) override
    {
        if (m_bUnitsGone)
            pList->RemoveAll();
    }
    int SetSelectionTACSOP(int, CKDRGameMap*, CKDRDatabase*) override { return m_nOrderResult; }
    BOOL DragUnit(int, int, int, float, float, CKDRGameMap*, CKDRDatabase*) override
    {
        m_log.push_back("drag");
        return m_nOrderResult;
    }

    StepLog& m_log;
    std::function<void(int)> m_onMove;
    int m_nPasses = 0;
    int m_nMoveResult = 0;
    int m_nOrderResult = 0;
    DWORD m_dwPrepared = 0;
    int m_nPrepared = 0;
    float m_fLight = -1.0f;
    CUnit* m_pUnit = nullptr;       // unit (0, 0, 0), not owned
    CNodeArray* m_pPath = nullptr;  // its path, not owned
    BOOL m_bUnitsGone = FALSE;
    BOOL m_bMapChanged = FALSE;  // answered once by TakeMapChanged
};

class CRecordingObstacles : public CKDRObstacles
{
public:
    explicit CRecordingObstacles(StepLog& log) : m_log(log) {}
    BOOL Step(CTimeSpan) override
    {
        m_log.push_back("obstacles");
        return m_bChanged;
    }
    int ApplyStateRecord(const BYTE*, int nLength) override
    {
        m_log.push_back("obstacle state record " + std::to_string(nLength));
        return 1;
    }
    int ApplyBreachRecord(const BYTE*, int nLength) override
    {
        m_log.push_back("obstacle breach record " + std::to_string(nLength));
        return 1;
    }
    CString GetObstacleName(float, float, CKDRGameMap*) override { return "Wire"; }
    StepLog& m_log;
    BOOL m_bChanged = FALSE;  // what each step answers
};

class CRecordingHoles : public CKDRHoles
{
public:
    explicit CRecordingHoles(StepLog& log) : m_log(log) {}
    void AssignOccupants(CKDRUnits*, CKDRGameMap*) override { m_log.push_back("occupants"); }
    StepLog& m_log;
};

class CRecordingRounds : public CFireMissionArray
{
public:
    explicit CRecordingRounds(StepLog& log) : m_log(log) {}
    int StepRoundsInFlight(int, int, int, CKDRDatabase*, CKDRUnits*) override
    {
        m_log.push_back("rounds");
        return m_nResult;
    }
    StepLog& m_log;
    int m_nResult = 0;  // what each step answers
};

class CRecordingSmoke : public CSmokeArray
{
public:
    explicit CRecordingSmoke(StepLog& log) : m_log(log) {}
    BOOL Step(float fDirection, float fSpeed) override
    {
        m_log.push_back("smoke");
        m_fDirection = fDirection;
        m_fSpeed = fSpeed;
        return m_bChanged;
    }
    StepLog& m_log;
    BOOL m_bChanged = FALSE;  // what each step answers
    float m_fDirection = 0;
    float m_fSpeed = 0;
};

class CRecordingEnvironment : public CKDREnvironment
{
public:
    explicit CRecordingEnvironment(StepLog& log) : m_log(log) {}
    BOOL UpdateLightCondition(CGameTime& clock) override
    {
        m_log.push_back("light");
        m_elapsedAtLight.push_back(clock.m_tsElapsed.GetTotalSeconds());
        return TRUE;
    }
    StepLog& m_log;
    std::vector<LONG> m_elapsedAtLight;  // the clock as each pass's light step saw it
};

// What the main mission was asked; kept outside the mission, which goes
// with the document when a finished mission is quit.
struct CMissionRecord
{
    int bEnds = 0;
    int bWon = 0;
    std::vector<LONG> tests;    // elapsed game seconds of each end test
    std::vector<LONG> results;  // elapsed game seconds of each results page
    CTime tResultsStart;
    int anTotals[6] = {};
    int anTestTotals[6] = {};  // the saved-game words of the last end test
};

// The main mission's stand-in: ends as the record says and records its
// tests and the results it is asked to show.
class CRecordingMissions : public CKDRMissions
{
public:
    CRecordingMissions(StepLog& log, CMissionRecord& record) : m_log(log), m_record(record) {}
    int TestMissionEnd(CKDRUnits*, const int anTotals[6], CTimeSpan tsElapsed, int& bWon) override
    {
        m_log.push_back("end test");
        m_record.tests.push_back(tsElapsed.GetTotalSeconds());
        std::copy(anTotals, anTotals + 6, m_record.anTestTotals);
        bWon = m_record.bWon;
        return m_record.bEnds;
    }
    void ShowResults(CKDRUnits*, CKDRDatabase*, const int anTotals[6], const int* [3], CTime tStart,
                     CTimeSpan tsElapsed) override
    {
        m_log.push_back("results");
        m_record.results.push_back(tsElapsed.GetTotalSeconds());
        m_record.tResultsStart = tStart;
        for (int i = 0; i < 6; ++i)
            m_record.anTotals[i] = anTotals[i];
    }
    StepLog& m_log;
    CMissionRecord& m_record;
};

class CRecordingSession : public CMultiplayerSession
{
public:
    explicit CRecordingSession(StepLog& log) : m_log(log) { m_strScreenName = "Ulan"; }
    void BeginWaitForPlayers() override
    {
        m_log.push_back("start request");
        if (m_onBeginWait)
            m_onBeginWait();
    }
    void ClearRequestFlags() override { m_log.push_back("request flags"); }
    BOOL IsOpponentConnected() const override
    {
        m_log.push_back("connection");
        return m_bConnected;
    }
    void DeleteArenaPost() override { m_log.push_back("arena post"); }
    BOOL ProcessMessages() override
    {
        m_log.push_back("messages");
        return TRUE;
    }
    void LeaveGame() override { m_log.push_back("leave game"); }
    int SendGameMessage(const void* pPayload, int nLength, DWORD dwType, DWORD, const CString&) override
    {
        const BYTE* p = static_cast<const BYTE*>(pPayload);
        m_sent.push_back({dwType, std::vector<BYTE>(p, p + nLength)});
        return 1;
    }

    struct Sent
    {
        DWORD dwType;
        std::vector<BYTE> payload;
    };
    StepLog& m_log;
    BOOL m_bConnected = TRUE;
    std::function<void()> m_onBeginWait;
    std::vector<Sent> m_sent;
};

class CRecordingSpotReports : public CSpotReportArray
{
public:
    explicit CRecordingSpotReports(StepLog& log) : m_log(log) {}
    int Add(CSpotReport* pReport) override
    {
        m_log.push_back("spot report");
        return CSpotReportArray::Add(pReport);
    }
    StepLog& m_log;
};

class CRecordingView : public CKDRView
{
public:
    void RedrawMap(BOOL bErase) override
    {
        if (m_pLog != nullptr)
            m_pLog->push_back("redraw");
        CKDRView::RedrawMap(bErase);
    }
    StepLog* m_pLog = nullptr;
};

// Hand-driven milliseconds for the lifetime of the object.
class CManualClock
{
public:
    explicit CManualClock(DWORD dwStart = 50000) { SetManualTime(dwStart); }
    ~CManualClock() { UseRealTime(); }
    CManualClock(const CManualClock&) = delete;
    CManualClock& operator=(const CManualClock&) = delete;
};

// A document shell whose mission is made of recording stand-ins: units,
// game map, database, obstacles, dug positions, light conditions, missions,
// rounds in flight and smoke, all present.
class CLoopShell
{
public:
    CLoopShell() : m_shell([] { return new CKDRDoc; }, [] { return new CRecordingView; })
    {
        CKDRDoc& doc = Doc();
        m_pUnits = new CRecordingUnits(m_log);
        doc.SetGameMap(new CKDRGameMap);
        doc.SetDatabase(new CKDRDatabase);
        doc.SetUnits(m_pUnits);
        m_pObstacles = new CRecordingObstacles(m_log);
        doc.SetObstacles(m_pObstacles);
        m_pHoles = new CRecordingHoles(m_log);
        doc.SetHoles(m_pHoles);
        m_pEnvironment = new CRecordingEnvironment(m_log);
        doc.SetEnvironment(m_pEnvironment);
        doc.SetMissions(new CRecordingMissions(m_log, m_mission));
        delete doc.m_pFireMissions;
        m_pRounds = new CRecordingRounds(m_log);
        doc.m_pFireMissions = m_pRounds;
        doc.m_bFireMissions = 1;
        delete doc.m_pSmoke;
        m_pSmoke = new CRecordingSmoke(m_log);
        doc.m_pSmoke = m_pSmoke;
        delete App().m_pSpotReports;
        App().m_pSpotReports = new CRecordingSpotReports(m_log);
        View().m_pLog = &m_log;
    }

    CKDRApp& App() { return m_shell.App(); }
    CKDRDoc& Doc() { return m_shell.Doc(); }
    CScriptedUi& Ui() { return m_shell.Ui(); }
    CRecordingView& View() { return dynamic_cast<CRecordingView&>(*App().GetActiveView()); }
    CGameClock& Clock() { return *App().GetGameClock(); }
    CDocShell& Shell() { return m_shell; }

    // A multiplayer game with a recording session.
    CRecordingSession& StartMultiplayer()
    {
        auto* pSession = new CRecordingSession(m_log);
        delete App().m_pSession;
        App().m_pSession = pSession;
        App().m_bMultiplayer = TRUE;
        return *pSession;
    }

    // The steps logged since the last call.
    StepLog TakeLog()
    {
        StepLog taken;
        taken.swap(m_log);
        return taken;
    }

    StepLog m_log;
    CMissionRecord m_mission;
    // The stand-ins, owned by the document (gone once the mission is quit).
    CRecordingUnits* m_pUnits = nullptr;
    CRecordingObstacles* m_pObstacles = nullptr;
    CRecordingHoles* m_pHoles = nullptr;
    CRecordingEnvironment* m_pEnvironment = nullptr;
    CRecordingRounds* m_pRounds = nullptr;
    CRecordingSmoke* m_pSmoke = nullptr;

private:
    CManualClock m_time;
    CDocShell m_shell;
};
