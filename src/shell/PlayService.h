#pragma once
// What the simulation asks of the shell about the game being played: the
// game clock and its phase, the player's choices (the side played, a
// network game and its session), the mission's database and directories,
// and the message service that long steps call to keep the program
// answering.
//
// The application object (CKDRApp) installs itself as the play service
// while it lives; tests, tools and benchmarks install a CHeadlessShell
// (shell/HeadlessShell.h). With none installed the simulation runs as it
// would before a mission starts: the clock stopped, no network game, no
// database, no rounds in flight, no message served. Only the user-interface thread calls it.

#include "platform/core/CString.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"

class CFireMission;
class CFireMissionArray;
class CGameTime;
class CKDRDatabase;
class CMultiplayerSession;

// The player's current fire order, which every fire mission ordered on the
// map takes (the Fire Order window edits it).
struct SFireOrder
{
    int nMunition = 0x1;  // one munition type bit; HE at first
    LONG nTOT = 0;        // time on target, calendar seconds (method 2)
    int nVolleys = 1;
    int nSheaf = 0;     // 0 Converged, 1 Linear, 2 Open
    int nAttitude = 0;  // mils
    int nLength = 1000; // metres
    int nOption = 0;
    int nMethod = 0;  // 0 When Ready, 1 AMC, 2 TOT, 4 Immediate
    CString strLabel;
};

class CPlayService
{
public:
    virtual ~CPlayService() = default;

    // ---- The clock and its phase ----
    // Null only before the shell made its clock.
    virtual CGameTime* GetGameClock() const = 0;
    // The clock stopped and no game second has passed yet.
    virtual BOOL IsDeploymentPhase() const = 0;
    virtual BOOL IsClockRunning() const = 0;
    virtual DWORD StartClock() = 0;
    virtual void StopClock() = 0;
    // The clock's step for one consumer (CGameTime::Advance); while the
    // clock is stopped the span, the game milliseconds and the whole
    // seconds are 0 and the consumer's carry and stamp stay as they were.
    virtual void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                              int& nWholeSeconds) = 0;

    // ---- The player's choices ----
    // Multiplayer was chosen at the start menu (the session may not exist yet).
    virtual BOOL IsMultiplayer() const = 0;
    // The session of a multiplayer game; null in single play.
    virtual CMultiplayerSession* GetSession() const = 0;
    // A network game: multiplayer was chosen and the session exists.
    virtual BOOL IsNetworkGame() const = 0;
    virtual BOOL IsPlayingEnemySide() const = 0;
    // The player won the multiplayer game (what the peers agreed on).
    virtual BOOL IsMultiplayerWon() const = 0;

    // ---- The mission ----
    // The open mission's equipment database; null when none is open.
    virtual CKDRDatabase* GetDatabase() const = 0;
    virtual CString GetDataDir() const = 0;
    virtual CString GetSavegameDir() const = 0;
    // The open mission's rounds in flight, where a gun's shot goes; null
    // when none is open.
    virtual CFireMissionArray* GetRoundsInFlight() const = 0;
    // What a round's splash leaves on the open mission for one of its
    // munition bits (MUNITION_SMOKE, MUNITION_ILLUM, MUNITION_FASCAM,
    // MUNITION_CHEMICAL): a smoke cloud, a flare, a minefield, a chemical
    // area. Nonzero when something was added.
    virtual int LeaveSplashEffect(int nMunition, CFireMission* pRound) = 0;
    // The current fire order; a service that keeps none answers the first
    // order of a new game.
    virtual SFireOrder GetFireOrder() const { return SFireOrder(); }

    // ---- Staying responsive ----
    // Serves one waiting message from the event queue (or the idle work,
    // which while the clock runs comes at most once per screen refresh);
    // it asks the window system nothing. FALSE when the session's link
    // failed.
    virtual BOOL ServeWaitingMessage() = 0;
};

// The installed service; null when none is.
CPlayService* GetPlayService();
// Installs a service (null: none) and answers the one it replaces.
CPlayService* SetPlayService(CPlayService* pService);
