// One full paint of the map view on the demo mission, in a 1920 x 1080
// window (so a back surface of that size), at the normal zoom and at the
// smallest: every layer onto the back surface, the present, and the window
// putting its image on screen. The game loop asks for one paint per pass,
// so a paint must stay well under the 40 ms of 25 passes a second.
//
// The demo mission is written by the demo generator (kdrdemo, built beside
// this program) into a temporary run directory; the game starts there as it
// does for a player, on the offscreen platform, with a profile of its own
// in that directory.
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/KDRGameMap.h"
#include "platform/core/Core.h"
#include "platform/ui/Display.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "view/KDRView.h"

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void Paint(benchmark::State& state, CKDRView* pView, int nZoomCode)
{
    pView->SetZoom(nZoomCode, FALSE);
    // Somewhere inside the map rather than at its corner.
    pView->CenterOnMapPoint(1000, 750);
    pView->UpdateWindow();
    for (auto _ : state)
    {
        pView->RedrawMap(FALSE);
        pView->UpdateWindow();
    }
    state.counters["zoom"] = pView->GetZoom();
    CDisplay* pDisplay = GetKDRApp()->m_pDisplay;
    state.counters["back_width"] = pDisplay->GetWidth();
    state.counters["back_height"] = pDisplay->GetHeight();
}

// Makes the view's client area kWidth x kHeight.
BOOL SizeView(CKDRApp& app, CKDRView* pView)
{
    QWidget* pFrame = app.GetMainFrame()->GetOuterWidget();
    pFrame->showNormal();
    for (int attempt = 0; attempt < 8; ++attempt)
    {
        QApplication::processEvents();
        CRect rc;
        pView->GetClientRect(&rc);
        if (rc.Width() == kWidth && rc.Height() == kHeight)
            return TRUE;
        pFrame->resize(pFrame->width() + kWidth - rc.Width(), pFrame->height() + kHeight - rc.Height());
    }
    return FALSE;
}
}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);

    namespace fs = std::filesystem;
    const fs::path demo = fs::absolute(fs::path(argv[0])).parent_path() / "kdrdemo";
    std::string pattern = (fs::temp_directory_path() / "kdr-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return 1;
    const fs::path runDir = pattern;
    CString command;
    command.Format("\"%s\" \"%s\"", demo.string().c_str(), runDir.string().c_str());
    if (std::system(command) != 0)
    {
        std::fprintf(stderr, "view_paint: cannot write the demo mission with %s\n", demo.string().c_str());
        return 1;
    }

    int result = 1;
    {
        SetCurrentDir(runDir.string().c_str());
        // The scenario the benchmark opens goes into a recent-file list of
        // the run directory, not the user's.
        CProfile::SetStorageDirectory((runDir / "profile").string().c_str());
        // Nobody answers a prompt here: each takes its most cautious answer
        // and is written to standard error.
        CScriptedUi prompts;
        prompts.SetFailureHandler([](const CString& message)
                                  { std::fprintf(stderr, "view_paint: %s\n", message.GetString()); });
        CUiServiceScope promptScope(&prompts);
        CKDRApp app;
        CKDRView* pView = nullptr;
        if (app.InitInstance() && (pView = app.GetActiveView()) != nullptr &&
            app.OpenDocumentFile(JoinPath(app.m_strDataDir, "demo.asc")) != nullptr && SizeView(app, pView) &&
            app.GetActiveDocument()->GetGameMap()->GetMapPicture() != nullptr)
        {
            benchmark::RegisterBenchmark("ViewPaint/zoom_1",
                                         [pView](benchmark::State& s) { Paint(s, pView, CKDRGameMap::kZoomToNormal); })
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark("ViewPaint/zoom_0.25",
                                         [pView](benchmark::State& s) { Paint(s, pView, CKDRGameMap::kZoomToMinimum); })
                ->Unit(benchmark::kMillisecond);
            benchmark::RunSpecifiedBenchmarks();
            result = 0;
        }
        else
        {
            std::fprintf(stderr, "view_paint: the demo mission did not open with its map picture\n");
        }
    }
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(runDir, ec);
    return result;
}
