// Five open-play-quit cycles of the demo mission, as a player makes them:
// from the start menu New Mission opens the demo, the clock runs for
// kGameSeconds game seconds at the greatest compression, Quit Mission is
// answered No to saving and No to the results, and the start menu comes
// back. The view is 1920 x 1080 throughout.
//
// Reported: the process's resident memory at the first start menu (the
// reference) and its growth over that reference back at the start menu
// after the first cycle and after the fifth, in MB; beside them the same
// for the heap the program holds in use (what the allocator has handed
// out and not had back), which tells memory the program keeps from pages
// the allocator keeps for reuse. Budget: the fifth cycle ends within 15 MB
// of the first start menu; a run over it is also written to standard
// error. The load average is reported beside.
#include "DemoSession.h"

#include "app/GameClock.h"
#include "app/MissionSelectDlg.h"
#include "app/StartMenuDlg.h"
#include "platform/ui/ListBox.h"

#include <QTimer>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
constexpr int kCycles = 5;
constexpr LONG kGameSeconds = 60;
constexpr float kCompression = 8.0f;
constexpr double kBudgetMb = 15.0;
constexpr int kWatchMs = 20;
constexpr double kMb = 1024.0 * 1024.0;

const char* const kDeploymentWarning =
    "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to "
    "drag move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";

struct Sample
{
    double residentMb = 0.0;
    double heapMb = 0.0;
};

Sample Measure()
{
    Sample sample;
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) == 2)
            sample.residentMb = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / kMb;
        std::fclose(statm);
    }
    sample.heapMb = static_cast<double>(mallinfo2().uordblks) / kMb;
    return sample;
}

// The start menu's next showing: it is measured as it stands, then New
// Mission picks the demo (or, after the last cycle, Exit ends the menu).
void ExpectStartMenu(CScriptedUi& prompts, std::vector<Sample>& samples, bool bOpen)
{
    prompts.ExpectDialog(IDD_START_MENU, IDCANCEL,
                         [&samples, bOpen](CDialog& menu)
                         {
                             samples.push_back(Measure());
                             menu.PressButton(bOpen ? IDC_START_NEW_MISSION : IDC_START_EXIT);
                         });
    if (!bOpen)
        return;
    prompts.ExpectDialog(IDD_MISSION_SELECT, IDOK,
                         [](CDialog& select)
                         {
                             if (CListBox* pList = select.GetDlgControl<CListBox>(IDC_MISSION_LIST))
                                 pList->ClickItem(0);
                         });
}

// The clock runs until kGameSeconds more have passed.
void Play(CDemoSession& session)
{
    CKDRApp& app = session.App();
    CGameClock* pClock = app.GetGameClock();
    pClock->SetRate(kCompression);
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
    session.View().OnTimeStart();
    watch.stop();
}

void RunCycles(benchmark::State& state, CDemoSession& session)
{
    CKDRApp& app = session.App();
    CScriptedUi& prompts = session.Prompts();
    std::vector<Sample> samples;
    for (auto _ : state)
    {
        ExpectStartMenu(prompts, samples, true);
        if (RunStartMenu(app) != 1)
        {
            state.SkipWithError("the demo mission did not open from the start menu");
            return;
        }
        for (int nCycle = 1; nCycle <= kCycles; ++nCycle)
        {
            Play(session);
            if (CKDRDoc* pDoc = app.GetActiveDocument(); pDoc != nullptr && pDoc->IsModified())
                prompts.ExpectMessage("Save Game?", "Do you wish to save your game before exiting?", IDNO);
            prompts.ExpectMessage("Question", "This mission is not complete\nDo you want to view the results?", IDNO);
            ExpectStartMenu(prompts, samples, nCycle < kCycles);
            app.OnQuitMission();
        }
    }
    if (samples.size() != static_cast<size_t>(kCycles + 1) || !prompts.IsScriptDone())
    {
        std::fprintf(stderr, "memory_cycles: the cycles did not run as scripted: %s\n",
                     prompts.DescribeRemaining().GetString());
        state.SkipWithError("the cycles did not run as scripted");
        return;
    }
    double load[1] = {0.0};
    getloadavg(load, 1);
    const Sample& first = samples.front();
    const double growth = samples.back().residentMb - first.residentMb;
    state.counters["start_menu_rss_mb"] = first.residentMb;
    state.counters["growth_cycle1_mb"] = samples[1].residentMb - first.residentMb;
    state.counters["growth_cycle5_mb"] = growth;
    state.counters["budget_mb"] = kBudgetMb;
    state.counters["start_menu_heap_mb"] = first.heapMb;
    state.counters["heap_growth_cycle1_mb"] = samples[1].heapMb - first.heapMb;
    state.counters["heap_growth_cycle5_mb"] = samples.back().heapMb - first.heapMb;
    state.counters["load_avg_1min"] = load[0];
    for (size_t i = 0; i < samples.size(); ++i)
        std::fprintf(stderr, "memory_cycles: start menu %zu: %.1f MB resident, %.1f MB heap in use\n", i,
                     samples[i].residentMb, samples[i].heapMb);
    if (growth > kBudgetMb)
        std::fprintf(stderr, "memory_cycles: %.1f MB more after %d cycles is over the budget of %.0f MB\n", growth,
                     kCycles, kBudgetMb);
}
}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    int result = 1;
    {
        CDemoSession session(argv[0], CDemoSession::Mission::kStartMenu);
        if (session.IsReady())
        {
            benchmark::RegisterBenchmark("MemoryCycles/demo_open_play_quit_x5",
                                         [&session](benchmark::State& s) { RunCycles(s, session); })
                ->Iterations(1)
                ->Unit(benchmark::kSecond);
            benchmark::RunSpecifiedBenchmarks();
            result = 0;
        }
    }
    benchmark::Shutdown();
    return result;
}
