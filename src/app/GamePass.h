#pragma once
// CGamePass: one pass of the game loop over a document, everything from the
// clock's step to the session's arrived messages: the clock, the session's
// request flags, the arena-post withdrawal, the light, the simulation step,
// the contact lists, detection, direct fire, indirect fire, the pending spot
// report and the end-of-mission test, in that fixed order.
//
// The loop itself lives in the map view's Time/Start, which owns the loop's
// fields (its clock stamp and carry, the end-test countdown and the
// mission-over flag) and hands them to Run by reference; after the pass the
// view redraws when the document reports that the pass changed the map
// (CKDRDoc::TakeMapChanged) and serves the window messages. What the view shows between
// two steps (the selected path, the contact display, a selection whose unit
// is gone) it does in the observer's calls, made at their places in the
// pass. Without an observer nothing is selected and no window is touched,
// so a test runs passes on a document alone under the hand-driven counter.
//
// The only prompt is the end-of-mission message, which goes through the UI
// service.

#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CKDRApp;
class CKDRDoc;
class CPlayService;
class CReportService;
class CUnitRefArray;
class CWnd;

// What the view does between the steps of a pass.
class CGamePassObserver
{
public:
    virtual ~CGamePassObserver() = default;
    // The unit whose path is shown (kUnset each when none): the simulation
    // step reports whether that unit's path changed.
    virtual void GetSelectedUnit(int& nUnit, int& nArray, int& nKind) const = 0;
    // After the simulation step, with its result.
    virtual void OnSimulationStepped(int nChanged) = 0;
    // The units' first two contact lists, after they were rebuilt.
    virtual void OnContactsUpdated(CUnitRefArray* pFirst, CUnitRefArray* pSecond) = 0;
    // After direct fire, which may have destroyed the selected unit.
    virtual void OnDirectFireDone() = 0;
    // The window that owns the end-of-mission message.
    virtual CWnd* GetPromptOwner() = 0;
};

class CGamePass
{
public:
    // After a single player chooses to go on at the end of the mission, the
    // end is tested again this many game seconds later.
    static constexpr int kEndTestPauseSeconds = 300;

    CGamePass(CKDRDoc& doc, CKDRApp& app, CGamePassObserver* pObserver = nullptr);
    // Over the shell services alone (a headless shell): without the
    // application there is no arena post to withdraw or to post results to.
    CGamePass(CKDRDoc& doc, CPlayService& play, CReportService& reports, CGamePassObserver* pObserver = nullptr);
    CGamePass(const CGamePass&) = delete;
    CGamePass& operator=(const CGamePass&) = delete;

    // One pass with the loop's fields. FALSE when the loop must end at once
    // (the end of a multiplayer mission, or the opponent gone), before the
    // redraw; the mission-over flag then tells whether the mission ended.
    // A single player's "No" at the end of the mission stops the clock and
    // answers TRUE: the loop ends when it sees the stopped clock.
    BOOL Run(DWORD& dwLoopTick, int& nLoopRemainder, int& nEndTestCountdown, BOOL& bMissionOver);

    // The game milliseconds of the last pass (kUnset when no real
    // millisecond passed) and its whole game seconds.
    int GetGameMs() const { return m_nGameMs; }
    int GetWholeSeconds() const { return m_nWholeSeconds; }

private:
    void WithdrawArenaPost();
    // The end-of-mission test; FALSE when the loop must end at once.
    BOOL TestMissionEnd(const CTimeSpan& tsElapsed, int& nEndTestCountdown, BOOL& bMissionOver);

    CKDRDoc& m_doc;
    CPlayService& m_play;
    CReportService& m_reports;
    CKDRApp* m_pApp;  // null over a headless shell
    CGamePassObserver* m_pObserver;
    int m_nGameMs = 0;
    int m_nWholeSeconds = 0;
};
