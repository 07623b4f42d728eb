// A mission with no window at all: the demo scenario, written by the demo
// writer, opened into a document that has no frame, view or display, run
// pass by pass under the hand-driven millisecond counter, and saved. The
// application object is there (it owns the game clock) but never started.

#include "SeededPasses.h"
#include "StartDirTestSupport.h"

#include "app/GameClock.h"
#include "app/GamePass.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "platform/ui/App.h"
#include "shell/HeadlessShell.h"
#include "units/KDRUnits.h"
#include "units/SpotReportArray.h"
#include "units/Unit.h"

#include <QApplication>
#include <QSet>
#include <QWidget>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace
{
std::vector<char> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QSet<QWidget*> LiveWidgets()
{
    const QList<QWidget*> widgets = QApplication::allWidgets();
    return QSet<QWidget*>(widgets.begin(), widgets.end());
}

// The demo's start: 05:30 on 14 June 2002, as the Clock window writes it.
const char* const kDemoStartText = "140530JUN02";
}  // namespace

class HeadlessMission : public StartDirTest
{
protected:
    HeadlessMission() : StartDirTest("kdr-headless-") {}

    void SetUp() override
    {
        StartDirTest::SetUp();
        const fs::path tool = fs::path(KDR_BINARY_DIR) / "kdrdemo";
        if (!fs::exists(tool))
            GTEST_SKIP() << "the demo writer is not built";
        const std::string command = "\"" + tool.string() + "\" \"" + m_root.string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0);
        fs::create_directories(m_root / "Savegame");
        m_widgetsBefore = LiveWidgets();
    }

    void TearDown() override
    {
        UseRealTime();
        StartDirTest::TearDown();
    }

    // Opens a scenario into a document of its own, as nothing but the
    // document would: no template, no frame, no view.
    BOOL Open(CKDRDoc& doc, const fs::path& scenario)
    {
        doc.SetDirectories((m_root / "Data").string().c_str(), (m_root / "Savegame").string().c_str());
        return doc.OnOpenDocument(scenario.string().c_str());
    }

    // No window was made, shown or changed.
    void ExpectNoWindow(const CKDRApp& app, const CKDRDoc& doc)
    {
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_FALSE(app.m_bDisplayReady);
        EXPECT_TRUE(doc.GetViews().empty());
        EXPECT_FALSE(app.GetGameClock()->IsClockWindowShown());
        EXPECT_EQ(LiveWidgets(), m_widgetsBefore);
        EXPECT_TRUE(m_ui.GetShown().empty());
    }

    QSet<QWidget*> m_widgetsBefore;
};

TEST_F(HeadlessMission, DemoOpensAndTenPassesAdvanceTheClockWithoutAWindow)
{
    CKDRApp app;
    auto pDoc = std::make_unique<CKDRDoc>();
    CKDRDoc& doc = *pDoc;
    ASSERT_TRUE(Open(doc, m_root / "Data" / "demo.asc"));
    EXPECT_EQ(doc.GetMainMissionName(), "Crossing at Kedravin");
    ASSERT_NE(doc.GetGameMap(), nullptr);
    EXPECT_TRUE(doc.GetGameMap()->HasPicture());
    EXPECT_NE(doc.GetGameMap()->GetElevationMap(), nullptr);
    // The equipment comes from the data directory and its pages go to the
    // saved-game directory the document was handed, not to where the
    // current directory happens to be.
    ASSERT_NE(doc.GetDatabase(), nullptr);
    EXPECT_TRUE(doc.GetDatabase()->HasVehicleList());
    EXPECT_TRUE(doc.GetDatabase()->ArePagesWritten());
    const char* const tankPage = "Tarn main battle tank.htm";
    EXPECT_TRUE(fs::exists(m_root / "Savegame" / tankPage));
    EXPECT_TRUE(fs::exists(m_root / "Savegame" / "index.htm"));
    EXPECT_FALSE(fs::exists(m_root / "Data" / tankPage));
    CGameClock& clock = *app.GetGameClock();
    EXPECT_TRUE(app.IsDeploymentPhase());
    EXPECT_EQ(clock.FormatDateTime(clock.m_tStart), kDemoStartText);
    EXPECT_FALSE(doc.IsModified());

    // At 2/1, 750 real milliseconds a pass are a game second and a half.
    SetManualTime(1000000);
    clock.SetRate(2.0f);
    DWORD dwTick = app.StartClock();
    doc.PrepareRun(dwTick);
    int nRemainder = 0;
    int nCountdown = 0;
    BOOL bMissionOver = FALSE;
    CGamePass pass(doc, app);

    std::vector<LONG> elapsed;
    std::vector<int> wholeSeconds;
    for (int i = 0; i < 10; ++i)
    {
        AdvanceManualTime(750);
        ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << "pass " << i;
        elapsed.push_back(clock.m_tsElapsed.GetTotalSeconds());
        wholeSeconds.push_back(pass.GetWholeSeconds());
        EXPECT_EQ(pass.GetGameMs(), 1500);
        EXPECT_EQ(dwTick, timeGetTime());
    }
    EXPECT_EQ(elapsed, (std::vector<LONG>{1, 3, 4, 6, 7, 9, 10, 12, 13, 15}));
    // The loop's own carry gives it the same seconds as the clock.
    EXPECT_EQ(wholeSeconds, (std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2, 1, 2}));
    EXPECT_EQ(nRemainder, 0);

    // A pass in which no real millisecond passed gives no game time.
    ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver));
    EXPECT_EQ(pass.GetGameMs(), kUnset);
    EXPECT_EQ(pass.GetWholeSeconds(), 0);
    EXPECT_EQ(clock.m_tsElapsed.GetTotalSeconds(), 15);

    EXPECT_TRUE(app.IsClockRunning());
    EXPECT_FALSE(bMissionOver);
    EXPECT_EQ(nCountdown, 0);
    EXPECT_EQ(clock.m_tCurrent.GetTime() - clock.m_tStart.GetTime(), 15);
    app.StopClock();
    EXPECT_FALSE(app.IsDeploymentPhase());
    ExpectNoWindow(app, doc);

    // The pages go with the mission.
    pDoc.reset();
    EXPECT_FALSE(fs::exists(m_root / "Savegame" / tankPage));
    EXPECT_FALSE(fs::exists(m_root / "Savegame" / "index.htm"));
}

TEST_F(HeadlessMission, DemoScenarioIsSavedByteForByteAndReadsBack)
{
    const fs::path original = m_root / "Data" / "demo.asc";
    const fs::path saved = m_root / "saved.asc";
    const fs::path again = m_root / "again.asc";
    CKDRApp app;
    {
        CKDRDoc doc;
        ASSERT_TRUE(Open(doc, original));
        // The framework's own save writes the scenario through Serialize
        // (the document's OnSaveDocument writes saved games).
        ASSERT_TRUE(doc.CDocument::OnSaveDocument(saved.string().c_str()));
        EXPECT_FALSE(doc.IsModified());
        ExpectNoWindow(app, doc);
    }
    EXPECT_EQ(FileBytes(saved), FileBytes(original));

    CKDRDoc doc;
    ASSERT_TRUE(Open(doc, saved));
    EXPECT_EQ(doc.GetMainMissionName(), "Crossing at Kedravin");
    EXPECT_TRUE(doc.IsPresent(KDR_GAME_MAP));
    ASSERT_TRUE(doc.CDocument::OnSaveDocument(again.string().c_str()));
    EXPECT_EQ(FileBytes(again), FileBytes(original));
    ExpectNoWindow(app, doc);
}

TEST_F(HeadlessMission, ASeededDemoBattleRunsTheSameTwice)
{
    // Two game minutes of the demo's battle from the first start: the
    // bytes of the spot-report log and which units were destroyed.
    auto battle = [this]
    {
        CKDRApp app;
        CKDRDoc doc;
        EXPECT_TRUE(Open(doc, m_root / "Data" / "demo.asc"));
        RunSeededPasses(app, doc, 2604, 4.0f, 120, 250);
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        app.m_pSpotReports->Serialize(ar);
        ar.Close();
        std::string destroyed;
        for (int nKind : {UNIT_KIND_OWN, UNIT_KIND_OPPOSING})
            for (int i = 0; CUnit* pUnit = doc.GetUnits()->GetUnit(i, 0, nKind); ++i)
                destroyed += pUnit->m_bDestroyed ? 'X' : '-';
        return std::make_pair(file.GetData(), destroyed);
    };
    const auto first = battle();
    const auto second = battle();
    EXPECT_EQ(first.first, second.first);
    EXPECT_EQ(first.second, second.second);
    EXPECT_NE(first.second.find('X'), std::string::npos);  // the forces fought
    EXPECT_GT(first.first.size(), 200u);                   // and reported it
}

TEST_F(HeadlessMission, AFiveMinuteDemoBattleRunsTheSameTwiceOnTheHeadlessServices)
{
    // No application object at all: the headless shell serves the clock,
    // the reports and the drawing, and the document and the game loop's
    // passes run on it alone.
    auto battle = [this]
    {
        EXPECT_EQ(AfxGetApp(), nullptr);
        CHeadlessShell shell;
        CKDRDoc doc;
        EXPECT_TRUE(Open(doc, m_root / "Data" / "demo.asc"));
        shell.m_pDatabase = doc.GetDatabase();
        SRand(2604);
        SetManualTime(1000000);
        // 150 passes of 250 real milliseconds at 8/1: five game minutes.
        shell.GetGameClock()->SetRate(8.0f);
        DWORD dwTick = shell.StartClock();
        doc.PrepareRun(dwTick);
        CGamePass pass(doc, shell, shell);
        int nRemainder = 0;
        int nCountdown = 0;
        BOOL bMissionOver = FALSE;
        for (int i = 0; i < 150; ++i)
        {
            AdvanceManualTime(250);
            EXPECT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << "pass " << i;
        }
        shell.StopClock();
        UseRealTime();
        EXPECT_EQ(shell.GetGameClock()->m_tsElapsed.GetTotalSeconds(), 300);
        EXPECT_FALSE(bMissionOver);
        CMemFile file;
        CArchive ar(&file, CArchive::store);
        shell.m_pSpotReports->Serialize(ar);
        ar.Close();
        std::string destroyed;
        for (int nKind : {UNIT_KIND_OWN, UNIT_KIND_OPPOSING})
            for (int i = 0; CUnit* pUnit = doc.GetUnits()->GetUnit(i, 0, nKind); ++i)
                destroyed += pUnit->m_bDestroyed ? 'X' : '-';
        return std::make_pair(file.GetData(), destroyed);
    };
    const auto first = battle();
    const auto second = battle();
    EXPECT_EQ(first.first, second.first);
    EXPECT_EQ(first.second, second.second);
    EXPECT_NE(first.second.find('X'), std::string::npos);  // the forces fought
    EXPECT_GT(first.first.size(), 200u);                   // and reported it
}
