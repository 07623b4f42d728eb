// The game loop on the demo, in a 1920 x 1080 map view on the offscreen
// platform.
//
// empty_mission_5_game_s: the clock running on the empty demo mission (the
// demo's map without its units and missions), at compression 1, for five
// game seconds: nothing on the map changes, so the loop should cost next
// to nothing. Reported: the process's processor time over the wall time
// of the run, in per cent (every thread of the process counts, Qt's
// included), against the wall time itself as the reference. Budget: at
// most 5 %; a run over it is also written to standard error. Time/Start
// runs the loop in place until the clock stops; a timer served by the
// loop's own message handling stops it once five game seconds have
// passed.
//
// demo_battle_8x: the demo's battle with the application object, at 8/1,
// from the end of the deployment phase for 60 game seconds: the loop's
// own passes (what Time/Start runs, redraws and served messages included)
// on the real millisecond counter. Reported: the process's processor time
// per game second, beside the processor time per game second of the same
// battle run headless (a document on the headless services, no window)
// in as many passes over the same game seconds, in the same run; and
// their ratio (goal: at most 1.5).
#include "DemoSession.h"

#include "app/GameClock.h"
#include "app/GamePass.h"
#include "battlefield/KDRHoles.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "shell/HeadlessShell.h"

#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace
{
constexpr LONG kGameSeconds = 5;
constexpr double kBudgetPercent = 5.0;
// How often the stop timer looks at the clock.
constexpr int kWatchMs = 20;

const char* const kDeploymentWarning =
    "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to "
    "drag move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";

double ProcessCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void RunEmptyMission(benchmark::State& state, CDemoSession& session)
{
    CKDRApp& app = session.App();
    CGameClock* pClock = app.GetGameClock();
    pClock->SetRate(1.0f);
    double cpuPercent = 0.0;
    double wallSeconds = 0.0;
    for (auto _ : state)
    {
        // The first start ends the deployment phase after a warning.
        if (app.IsDeploymentPhase())
            session.Prompts().ExpectMessage("Warning!", kDeploymentWarning, IDYES);
        const LONG lStop = pClock->m_tsElapsed.GetTotalSeconds() + kGameSeconds;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout,
                         [&]
                         {
                             if (pClock->m_tsElapsed.GetTotalSeconds() >= lStop)
                                 app.StopClock();
                         });
        watch.start(kWatchMs);
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        session.View().OnTimeStart();
        const auto wall1 = std::chrono::steady_clock::now();
        const double cpu1 = ProcessCpuSeconds();
        watch.stop();
        wallSeconds = std::chrono::duration<double>(wall1 - wall0).count();
        cpuPercent = 100.0 * (cpu1 - cpu0) / wallSeconds;
        state.SetIterationTime(wallSeconds);
    }
    state.counters["cpu_percent"] = cpuPercent;
    state.counters["budget_percent"] = kBudgetPercent;
    state.counters["wall_s"] = wallSeconds;
    if (cpuPercent > kBudgetPercent)
        std::fprintf(stderr, "game_loop: %.2f %% of a processor is over the budget of %.0f %%\n", cpuPercent,
                     kBudgetPercent);
}
// Processor time of this thread alone, seconds.
double ThreadCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

constexpr LONG kBattleGameSeconds = 60;
constexpr float kBattleRate = 8.0f;
constexpr double kBattleGoal = 1.5;
// The loop redraws at most this often; its first pass may.
constexpr DWORD kLoopFrameMs = 40;

// The same battle on a document of its own on the headless services, in
// nPasses passes of dwPassMs hand-driven milliseconds: the processor time
// of the passes, seconds, and the game seconds they made.
void RunHeadless(const CString& strDataDir, int nPasses, DWORD dwPassMs, double& cpuSeconds, LONG& gameSeconds)
{
    CHeadlessShell shell;
    CKDRDoc doc;
    doc.SetDirectories(strDataDir, strDataDir);
    if (!doc.OnOpenDocument(JoinPath(strDataDir, "demo.asc")))
        return;
    shell.m_pDatabase = doc.GetDatabase();
    SRand(43);
    SetManualTime(1000000);
    shell.GetGameClock()->SetRate(kBattleRate);
    if (doc.GetHoles() != nullptr && doc.GetUnits() != nullptr)
        doc.GetHoles()->AssignOccupants(doc.GetUnits(), doc.GetGameMap());
    DWORD dwTick = shell.StartClock();
    doc.PrepareRun(dwTick);
    CGamePass pass(doc, shell, shell);
    int nRemainder = 0;
    int nCountdown = 0;
    BOOL bMissionOver = FALSE;
    const double cpu0 = ThreadCpuSeconds();
    for (int i = 0; i < nPasses; ++i)
    {
        AdvanceManualTime(dwPassMs);
        if (!pass.Run(dwTick, nRemainder, nCountdown, bMissionOver))
            break;
    }
    cpuSeconds = ThreadCpuSeconds() - cpu0;
    gameSeconds = shell.GetGameClock()->m_tsElapsed.GetTotalSeconds();
    shell.StopClock();
    UseRealTime();
}

void RunDemoBattle(benchmark::State& state, CDemoSession& session)
{
    CKDRApp& app = session.App();
    CKDRView& view = session.View();
    CKDRDoc* pDoc = app.GetActiveDocument();
    CGameClock* pClock = app.GetGameClock();
    double appPerGameSecond = 0.0;
    double headlessPerGameSecond = 0.0;
    double passesPerGameSecond = 0.0;
    for (auto _ : state)
    {
        // What Time/Start does before its loop; then its loop, counted.
        pClock->SetRate(kBattleRate);
        if (pDoc->GetHoles() != nullptr && pDoc->GetUnits() != nullptr)
            pDoc->GetHoles()->AssignOccupants(pDoc->GetUnits(), pDoc->GetGameMap());
        const LONG lStart = pClock->m_tsElapsed.GetTotalSeconds();
        const DWORD dwTick = app.StartClock();
        pDoc->PrepareRun(dwTick);
        view.m_dwLoopTick = dwTick;
        view.m_nLoopRemainder = 0;
        view.m_nEndTestCountdown = 0;
        view.m_bMissionOver = FALSE;
        view.m_dwLoopLastRedraw = dwTick - kLoopFrameMs;
        view.m_bLoopRedrawDue = TRUE;
        int nPasses = 0;
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        while (app.IsClockRunning() && pClock->m_tsElapsed.GetTotalSeconds() - lStart < kBattleGameSeconds)
        {
            ++nPasses;
            if (!view.RunGamePass())
                break;
        }
        const double cpu1 = ProcessCpuSeconds();
        const auto wall1 = std::chrono::steady_clock::now();
        app.StopClock();
        const LONG lGameSeconds = pClock->m_tsElapsed.GetTotalSeconds() - lStart;
        const double wallSeconds = std::chrono::duration<double>(wall1 - wall0).count();
        state.SetIterationTime(wallSeconds);

        double headlessCpu = 0.0;
        LONG lHeadlessSeconds = 0;
        const DWORD dwPassMs =
            nPasses > 0 ? static_cast<DWORD>(wallSeconds * 1000.0 / static_cast<double>(nPasses) + 0.5) : 0;
        RunHeadless(app.m_strDataDir, nPasses, dwPassMs > 0 ? dwPassMs : 1, headlessCpu, lHeadlessSeconds);
        appPerGameSecond = lGameSeconds > 0 ? (cpu1 - cpu0) / static_cast<double>(lGameSeconds) : 0.0;
        headlessPerGameSecond = lHeadlessSeconds > 0 ? headlessCpu / static_cast<double>(lHeadlessSeconds) : 0.0;
        passesPerGameSecond = lGameSeconds > 0 ? static_cast<double>(nPasses) / static_cast<double>(lGameSeconds) : 0.0;
    }
    state.counters["app_cpu_ms_per_game_s"] = appPerGameSecond * 1000.0;
    state.counters["headless_cpu_ms_per_game_s"] = headlessPerGameSecond * 1000.0;
    state.counters["app_over_headless"] = headlessPerGameSecond > 0.0 ? appPerGameSecond / headlessPerGameSecond : 0.0;
    state.counters["goal"] = kBattleGoal;
    state.counters["passes_per_game_s"] = passesPerGameSecond;
    double load[1] = {0.0};
    state.counters["load_average_1min"] = getloadavg(load, 1) == 1 ? load[0] : -1.0;
}
}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    // Each case starts the game afresh on its own mission, and ends it.
    const char* argv0 = argv[0];
    bool bReady = true;
    auto run = [argv0, &bReady](benchmark::State& state, CDemoSession::Mission mission,
                                void (*body)(benchmark::State&, CDemoSession&))
    {
        CDemoSession session(argv0, mission);
        if (!session.IsReady())
        {
            bReady = false;
            state.SkipWithError("the game did not open the demo");
            return;
        }
        body(state, session);
    };
    benchmark::RegisterBenchmark("GameLoop/empty_mission_5_game_s",
                                 [run](benchmark::State& s) { run(s, CDemoSession::Mission::kEmpty, RunEmptyMission); })
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("GameLoop/demo_battle_8x_60_game_s",
                                 [run](benchmark::State& s) { run(s, CDemoSession::Mission::kDemo, RunDemoBattle); })
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kSecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return bReady ? 0 : 1;
}
