// Painting the map view on the demo mission in a 1920 x 1080 window (so a
// back surface of that size), at the smallest zoom, the normal one and the
// greatest: every layer onto the back surface, the present into the
// window's image, and the window putting that image on screen.
//
// The reference, timed in the same run: one plain copy of the back surface,
// its rows copied with memcpy into another image of the same size, run
// back to back so that both images stay in the processor's cache (the
// cheapest such copy can be); each case times it before and after its
// paints and takes the smaller median. Budgets, as multiples of that copy:
//   repaint    with the static layers (picture, terrain, contour overlay,
//              grid) kept from the paint before: at most 4 copies;
//   after_zoom the first paint after a step of zoom to this level from the
//              next one (the scroll bars stay as they are), which draws the
//              static layers again: at most 15 copies. Qt's own repaint of
//              the scroll bars, whose ranges the zoom changed, is done
//              before the paint and not counted.
// A paint's own copies run through more memory than the cache holds (the
// kept layers, the back surface, the window's image and Qt's backing
// store), so each case also reports the same plain copy made right after
// each of its paints, when the cache holds what the paint left:
// cold_copy_ms and cold_copies, for comparison only.
// Each case reports the median paint (paint_ms), copy_ms, copies (their
// ratio) and the budget; a case whose measured run is over its budget is
// also written to standard error once all have run (the library's runs
// that only choose the iteration count are not reported). The machine's other work shows in single paints, hence
// medians.
#include "DemoSession.h"

#include "platform/ui/Display.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr double kRepaintBudget = 4.0;
constexpr double kAfterZoomBudget = 15.0;
constexpr int kReferenceRuns = 31;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Plain copies of the back surface into an image of its size.
class CPlainCopy
{
public:
    explicit CPlainCopy(CDisplay* pDisplay)
        : m_back(pDisplay->GetBackSurface()->GetImage()), m_copy(m_back.size(), m_back.format())
    {
    }
    // The median of several copies in a row.
    double MedianMs()
    {
        std::vector<double> runs;
        for (int run = 0; run < kReferenceRuns; ++run)
            runs.push_back(Run());
        return Median(runs);
    }

    double Run()
    {
        const Clock::time_point start = Clock::now();
        const size_t rowBytes = static_cast<size_t>(m_back.width()) * sizeof(QRgb);
        for (int y = 0; y < m_back.height(); ++y)
            std::memcpy(m_copy.scanLine(y), m_back.constScanLine(y), rowBytes);
        benchmark::DoNotOptimize(m_copy.constBits());
        benchmark::ClobberMemory();
        return MillisecondsSince(start);
    }

private:
    const QImage& m_back;
    QImage m_copy;
};

void PaintNow(CKDRView* pView)
{
    pView->RedrawMap(FALSE);
    pView->UpdateWindow();
}

// Per case, what its last run found over the budget (empty: nothing).
std::map<std::string, std::string>& OverBudget()
{
    static std::map<std::string, std::string> verdicts;
    return verdicts;
}

void Report(benchmark::State& state, const char* name, double paintMs, double copyMs, double coldCopyMs, double budget,
            CKDRView* pView)
{
    const double copies = paintMs / copyMs;
    state.counters["paint_ms"] = paintMs;
    state.counters["copy_ms"] = copyMs;
    state.counters["copies"] = copies;
    state.counters["cold_copy_ms"] = coldCopyMs;
    state.counters["cold_copies"] = paintMs / coldCopyMs;
    state.counters["budget"] = budget;
    state.counters["zoom"] = pView->GetZoom();
    // The library runs a case a few times to choose its iterations and
    // measures the last run; each run overwrites the verdict of the one
    // before, so only the measured run's is written.
    std::string& verdict = OverBudget()[std::string(name) + " " + std::to_string(pView->GetZoom())];
    verdict.clear();
    if (copies > budget)
    {
        char line[200];
        std::snprintf(line, sizeof(line), "view_paint: %s at zoom %g costs %.2f copies, over the budget of %.0f\n",
                      name, static_cast<double>(pView->GetZoom()), copies, budget);
        verdict = line;
    }
}

// Times one paint as the case's iteration.
double TimedPaint(benchmark::State& state, CKDRView* pView)
{
    const Clock::time_point start = Clock::now();
    PaintNow(pView);
    const double ms = MillisecondsSince(start);
    state.SetIterationTime(ms / 1000.0);
    return ms;
}

// Paints with the static layers kept from the paint before.
void Repaint(benchmark::State& state, CDemoSession* pSession, int nZoomCode)
{
    CKDRView* pView = &pSession->View();
    pView->SetZoom(nZoomCode, FALSE);
    // Somewhere inside the map rather than at its corner.
    pView->CenterOnMapPoint(1000, 750);
    PaintNow(pView);
    CPlainCopy reference(pSession->App().m_pDisplay);
    const double copyBefore = reference.MedianMs();
    std::vector<double> paints;
    std::vector<double> coldCopies;
    for (auto _ : state)
    {
        paints.push_back(TimedPaint(state, pView));
        coldCopies.push_back(reference.Run());
    }
    const double copyMs = std::min(copyBefore, reference.MedianMs());
    Report(state, "a repaint", Median(paints), copyMs, Median(coldCopies), kRepaintBudget, pView);
}

// Changes the zoom and lets Qt repaint what the change touched besides the
// map view (the scroll bars), holding the view's own paint back.
void ZoomWithoutPaint(CKDRView* pView, int nZoomCode)
{
    QWidget* pWidget = pView->GetWidget();
    pWidget->setUpdatesEnabled(false);
    pView->SetZoom(nZoomCode, FALSE);
    QApplication::processEvents();
    pWidget->setUpdatesEnabled(true);
}

// The first paint at a zoom after a paint at the next level.
void PaintAfterZoom(benchmark::State& state, CDemoSession* pSession, int nZoomCode)
{
    CKDRView* pView = &pSession->View();
    // One step out from the greatest zoom, one step in from the others.
    const int nStep = nZoomCode == CKDRGameMap::kZoomToMaximum ? -1 : 1;
    pView->SetZoom(nZoomCode, FALSE);
    pView->CenterOnMapPoint(1000, 750);
    PaintNow(pView);
    CPlainCopy reference(pSession->App().m_pDisplay);
    const double copyBefore = reference.MedianMs();
    std::vector<double> paints;
    std::vector<double> coldCopies;
    for (auto _ : state)
    {
        ZoomWithoutPaint(pView, nStep);
        PaintNow(pView);
        ZoomWithoutPaint(pView, nZoomCode);
        paints.push_back(TimedPaint(state, pView));
        coldCopies.push_back(reference.Run());
    }
    const double copyMs = std::min(copyBefore, reference.MedianMs());
    Report(state, "the first paint after a zoom change", Median(paints), copyMs, Median(coldCopies), kAfterZoomBudget,
           pView);
}

void CopyBackSurface(benchmark::State& state, CDemoSession* pSession)
{
    CDisplay* pDisplay = pSession->App().m_pDisplay;
    const QImage& back = pDisplay->GetBackSurface()->GetImage();
    QImage copy(back.size(), back.format());
    const size_t rowBytes = static_cast<size_t>(back.width()) * sizeof(QRgb);
    for (auto _ : state)
    {
        for (int y = 0; y < back.height(); ++y)
            std::memcpy(copy.scanLine(y), back.constScanLine(y), rowBytes);
        benchmark::DoNotOptimize(copy.constBits());
        benchmark::ClobberMemory();
    }
    state.counters["back_width"] = back.width();
    state.counters["back_height"] = back.height();
}
}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    int result = 1;
    {
        CDemoSession session(argv[0]);
        if (session.IsReady())
        {
            CDemoSession* pSession = &session;
            benchmark::RegisterBenchmark("ViewPaint/copy_back_surface",
                                         [pSession](benchmark::State& s) { CopyBackSurface(s, pSession); })
                ->Unit(benchmark::kMillisecond);
            const struct
            {
                const char* name;
                int nCode;
            } zooms[] = {{"zoom_0.25", CKDRGameMap::kZoomToMinimum},
                         {"zoom_1", CKDRGameMap::kZoomToNormal},
                         {"zoom_8", CKDRGameMap::kZoomToMaximum}};
            for (const auto& zoom : zooms)
            {
                const int nCode = zoom.nCode;
                benchmark::RegisterBenchmark((std::string("ViewPaint/repaint/") + zoom.name).c_str(),
                                             [pSession, nCode](benchmark::State& s) { Repaint(s, pSession, nCode); })
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark((std::string("ViewPaint/after_zoom/") + zoom.name).c_str(),
                                             [pSession, nCode](benchmark::State& s)
                                             { PaintAfterZoom(s, pSession, nCode); })
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
            }
            benchmark::RunSpecifiedBenchmarks();
            for (const auto& [name, verdict] : OverBudget())
                std::fputs(verdict.c_str(), stderr);
            result = 0;
        }
    }
    benchmark::Shutdown();
    return result;
}
