// The game loop with the clock running on the empty demo mission (the
// demo's map without its units and missions), at compression 1, for five
// game seconds in a 1920 x 1080 map view: nothing on the map changes, so
// the loop should cost next to nothing.
//
// Reported: the process's processor time over the wall time of the run, in
// per cent (every thread of the process counts, Qt's included), against
// the wall time itself as the reference. Budget: at most 5 %; a run over
// it is also written to standard error.
//
// Time/Start runs the loop in place until the clock stops; a timer served
// by the loop's own message handling stops it once five game seconds have
// passed.
#include "DemoSession.h"

#include "app/GameClock.h"

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
}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    int result = 1;
    {
        CDemoSession session(argv[0], CDemoSession::Mission::kEmpty);
        if (session.IsReady())
        {
            benchmark::RegisterBenchmark("GameLoop/empty_mission_5_game_s",
                                         [&session](benchmark::State& s) { RunEmptyMission(s, session); })
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kSecond);
            benchmark::RunSpecifiedBenchmarks();
            result = 0;
        }
    }
    benchmark::Shutdown();
    return result;
}
