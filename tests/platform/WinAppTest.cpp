// The application object: message pump, idle handler, modal loops, exit
// code, the document template and the profile.
#include "platform/ui/App.h"
#include "platform/ui/Audio.h"
#include "platform/ui/Command.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/Document.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/View.h"
#include "support/ModalAnswer.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QWidget>

namespace
{
constexpr UINT kResource = 128;
constexpr UINT ID_TIME_START = 32868;
constexpr UINT ID_TIME_STOP = 32869;
constexpr UINT ID_PING = 40001;

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Kedravin") {}
    std::vector<LONG> idleCounts;
    LONG quitAt = -1;
    BOOL OnIdle(LONG count) override
    {
        idleCounts.push_back(count);
        if (count == quitAt)
            PostQuitMessage(7);
        return quitAt >= 0 ? TRUE : CWinApp::OnIdle(count);
    }
};

class TestDoc : public CDocument
{
public:
    std::vector<CString> opened;
    int newCount = 0;
    BOOL OnNewDocument() override
    {
        ++newCount;
        return CDocument::OnNewDocument();
    }
    BOOL OnOpenDocument(const char* path) override
    {
        opened.emplace_back(path);
        return CString(path).Find("bad") < 0;
    }
};

class TestView : public CView
{
public:
    int updates = 0;
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
};

// The menu and keys of the test frame.
void RegisterTestResources()
{
    CMenu::RegisterMenuResource(
        kResource,
        {
            MenuPopup("&File", {MenuItem("&New", ID_FILE_NEW), MenuSeparator(), MenuItem("E&xit", ID_APP_EXIT)}),
            MenuPopup("&Time", {MenuItem("&Start\tG", ID_TIME_START), MenuItem("S&top\tS", ID_TIME_STOP)}),
        });
    CAcceleratorTable::RegisterResource(kResource, {{FVIRTKEY, 'G', ID_TIME_START}, {FVIRTKEY, 'S', ID_TIME_STOP}});
}

// A running application with one document, frame and view.
struct Program
{
    Program()
    {
        RegisterTestResources();
        auto* t = new CSingleDocTemplate(
            kResource, [] { return new TestDoc; }, [] { return new CFrameWnd; }, [] { return new TestView; });
        t->SetDocString("Kedravin\n\nKDR\nKDR Scenarios (*.asc)\n.asc\nKDR.Scenario\nKDR Scenario");
        app.AddDocTemplate(t);
    }
    ~Program() { CWnd::FlushDeferredDeletes(); }
    TestDoc* Doc() { return static_cast<TestDoc*>(app.GetDocTemplate()->GetDocument()); }
    CFrameWnd* Frame() { return app.GetDocTemplate()->GetFrame(); }
    TestView* View() { return static_cast<TestView*>(Frame()->GetActiveView()); }

    TestApp app;
};

}  // namespace

TEST(WinAppTest, LongLoopStopsAtTheStepAfterStopIsPosted)
{
    Program p;
    ASSERT_TRUE(p.app.ProcessShellCommand(*std::make_unique<CCommandLineInfo>()));
    CView* view = p.View();
    ASSERT_NE(view, nullptr);
    bool running = true;
    int stepsAfterStop = -1;
    view->MapCommand(ID_TIME_STOP, [&] { running = false; });

    // The loop of the game: a step, then one waiting message served.
    int steps = 0;
    while (running && steps < 1000)
    {
        ++steps;
        if (steps == 5)
        {
            // The player presses S (the Stop accelerator) while the loop runs.
            QCoreApplication::postEvent(view->GetWidget(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, "s"));
        }
        p.app.PumpWaitingMessage();
        if (!running && stepsAfterStop < 0)
            stepsAfterStop = steps;
    }
    EXPECT_FALSE(running);
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(stepsAfterStop, 5);
}

TEST(WinAppTest, PumpServesOnePostedMessageAtATime)
{
    Program p;
    p.app.OnFileNew();
    std::vector<int> served;
    CView* view = p.View();
    view->MapCommandRange(ID_PING, ID_PING + 2, [&](UINT id) { served.push_back(static_cast<int>(id - ID_PING)); });
    view->PostCommand(ID_PING);
    view->PostCommand(ID_PING + 1);
    view->PostCommand(ID_PING + 2);
    EXPECT_TRUE(p.app.IsMessageWaiting());
    EXPECT_TRUE(p.app.PumpWaitingMessage());
    EXPECT_EQ(served, std::vector<int>({0}));
    EXPECT_TRUE(p.app.PumpMessage());
    EXPECT_EQ(served, std::vector<int>({0, 1}));
    EXPECT_TRUE(p.app.PumpWaitingMessage());
    EXPECT_EQ(served, std::vector<int>({0, 1, 2}));
    EXPECT_FALSE(p.app.IsMessageWaiting());

    // A command queued for a window that goes away is dropped.
    {
        CWnd gone;
        gone.CreateEx(0, "gone", 0, CRect(0, 0, 10, 10), nullptr, 0);
        gone.MapCommand(ID_PING, [&] { served.push_back(99); });
        gone.PostCommand(ID_PING);
        gone.DestroyWindow();
    }
    p.app.PumpWaitingMessage();
    EXPECT_EQ(served.size(), 3u);
}

TEST(WinAppTest, IdleCountGrowsUntilAMessageWaitsAndRunGivesTheExitCode)
{
    Program p;
    p.app.OnFileNew();
    p.app.quitAt = 3;
    EXPECT_EQ(p.app.Run(), 7);
    EXPECT_EQ(p.app.idleCounts, std::vector<LONG>({0, 1, 2, 3}));
    EXPECT_EQ(p.app.GetExitCode(), 7);
    EXPECT_FALSE(p.app.PumpMessage());
}

TEST(WinAppTest, ClosingTheMainFrameEndsRun)
{
    Program p;
    p.app.OnFileNew();
    ScopedScriptedUi ui;
    p.Doc()->SetModifiedFlag(TRUE);
    // Cancel keeps the window; No closes it without saving.
    ui->ExpectMessage("Kedravin", "Save changes to KDR?", IDCANCEL)
        .ExpectMessage("Kedravin", "Save changes to KDR?", IDNO);
    p.Frame()->PostCommand(ID_APP_EXIT);
    p.app.MapCommand(ID_APP_EXIT, [&] { p.app.OnAppExit(); });
    p.app.PumpWaitingMessage();
    EXPECT_TRUE(p.Frame()->IsWindow());
    EXPECT_FALSE(p.app.IsQuitPosted());
    p.Frame()->PostCommand(ID_APP_EXIT);
    EXPECT_EQ(p.app.Run(), 0);
    EXPECT_FALSE(p.Frame()->IsWindow());
}

TEST(WinAppTest, NestedModalLoopServesCommandsPostedWhileItRuns)
{
    Program p;
    p.app.OnFileNew();
    ASSERT_EQ(SetUiService(nullptr), nullptr);  // the real, Qt service
    bool pinged = false;
    p.View()->MapCommand(ID_PING, [&] { pinged = true; });

    CDialog::RegisterTemplate(7001,
                              [](CDialogTemplate& t)
                              {
                                  t.Caption("Nested").Size(200, 80);
                                  t.DefPushButton(IDOK, "OK", 10, 40, 80, 26);
                              });
    CDialog dialog(7001);
    bool pingedBeforeClose = false;
    bool posted = false;
    // First the command is posted while the dialog runs; once it was
    // served, the dialog is closed.
    CModalAnswer answer(
        [&](QWidget* modal)
        {
            if (modal != dialog.GetWidget())
                return false;
            if (!posted)
            {
                posted = true;
                p.View()->PostCommand(ID_PING);
                return false;
            }
            if (!pinged)
                return false;
            pingedBeforeClose = pinged;
            dialog.PressButton(IDOK);
            return true;
        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(pingedBeforeClose);
}

// A library that turns the event loop inside one of its calls (the audio
// sink's teardown does, waiting for the sound server) must not run the
// program's posted messages there: they would run in the middle of the
// caller, a game pass, as many as fit in the server's time. They wait for
// the pump; a wake-up that came meanwhile is given back when the call ends.
TEST(WinAppTest, ALibrarysOwnEventLoopServesNoPostedMessage)
{
    Program p;
    p.app.OnFileNew();
    int pings = 0;
    p.View()->MapCommand(ID_PING, [&] { ++pings; });
    for (const bool nested : {false, true})
    {
        SCOPED_TRACE(nested ? "scopes nested" : "one scope");
        pings = 0;
        {
            const CForeignLoopScope library;
            p.View()->PostCommand(ID_PING);
            {
                std::unique_ptr<CForeignLoopScope> inner(nested ? new CForeignLoopScope : nullptr);
                for (int i = 0; i < 5; ++i)
                    QCoreApplication::processEvents();
            }
            for (int i = 0; i < 5; ++i)
                QCoreApplication::processEvents();
            EXPECT_EQ(pings, 0);
            EXPECT_TRUE(p.app.IsMessageWaiting());
        }
        // Out of the library's call the wake-up serves it, as in any loop.
        QCoreApplication::processEvents();
        EXPECT_EQ(pings, 1);
        EXPECT_FALSE(p.app.IsMessageWaiting());
    }
}

// The same with a real sound replayed on the default output: the sink of
// its last playing is torn down before the new one starts.
TEST(WinAppTest, ReplayingASoundServesNoPostedMessage)
{
    Program p;
    p.app.OnFileNew();
    std::unique_ptr<CAudioOutput> output = CAudioOutput::OpenDefault();
    if (output == nullptr)
        GTEST_SKIP() << "no audio output device";
    AudioFormat format;
    format.channels = 1;
    format.sampleRate = 22050;
    std::unique_ptr<CAudioBuffer> buffer = output->CreateBuffer(format, 441 * 2);  // 20 ms of silence
    ASSERT_NE(buffer, nullptr);
    int pings = 0;
    p.View()->MapCommand(ID_PING, [&] { ++pings; });
    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE(round);
        // Played out, so that the next Play starts a new sink.
        QElapsedTimer waited;
        waited.start();
        while (buffer->IsPlaying() && waited.elapsed() < 10000)
        {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        ASSERT_FALSE(buffer->IsPlaying());
        p.View()->PostCommand(ID_PING);
        EXPECT_EQ(buffer->Play(false), AUDIO_OK);
        EXPECT_EQ(pings, 0);
        EXPECT_TRUE(p.app.PumpWaitingMessage());
        EXPECT_EQ(pings, 1);
        pings = 0;
    }
}

TEST(WinAppTest, FileOnTheCommandLineOrDroppedOpensThroughTheTemplate)
{
    Program p;
    char prog[] = "kedravin";
    char file[] = "/games/alpha.asc";
    char* argv[] = {prog, file};
    p.app.SetCommandLine(2, argv);
    CCommandLineInfo info;
    p.app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "/games/alpha.asc");
    ASSERT_TRUE(p.app.ProcessShellCommand(info));
    TestDoc* doc = p.Doc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->opened, std::vector<CString>({"/games/alpha.asc"}));
    EXPECT_EQ(doc->GetPathName(), "/games/alpha.asc");
    EXPECT_EQ(doc->GetTitle(), "alpha.asc");
    EXPECT_EQ(p.Frame()->GetWidget()->windowTitle(), "alpha.asc - Kedravin");
    EXPECT_EQ(p.View()->GetDocument(), doc);
    EXPECT_GE(p.View()->updates, 1);
    EXPECT_EQ(AfxGetMainWnd(), p.Frame());

    // A file dropped on the window (Qt hands a drop only to a real drag, so
    // the test starts where the window's drop handling ends).
    p.Frame()->DragAcceptFiles(TRUE);
    EXPECT_TRUE(p.Frame()->GetWidget()->acceptDrops());
    p.Frame()->OnDropFiles({"/games/bravo.asc", "/games/charlie.asc"});
    EXPECT_EQ(doc->opened.back(), "/games/bravo.asc");
    EXPECT_EQ(doc->GetTitle(), "bravo.asc");

    // A file that does not open leaves a fresh document.
    const int news = doc->newCount;
    EXPECT_EQ(p.app.OpenDocumentFile("/games/bad.asc"), nullptr);
    EXPECT_EQ(doc->newCount, news + 1);
}

TEST(WinAppTest, ProfileKeepsNamedValuesAndFourRecentFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CString oldProfileDir = CProfile::GetStorageDirectory();
    EXPECT_FALSE(oldProfileDir.IsEmpty()) << "a test program keeps its profile apart from the user's";
    CProfile::SetStorageDirectory(dir.path().toUtf8().constData());
    {
        TestApp app;
        app.SetRegistryKey("Local AppWizard-Generated Applications");
        app.LoadStdProfileSettings(4);
        EXPECT_EQ(app.GetProfileString("Multiplayer", "Screen Name", "nobody"), "nobody");
        EXPECT_TRUE(app.WriteProfileString("Multiplayer", "Screen Name", "Red Baron"));
        EXPECT_TRUE(app.WriteProfileInt("Settings", "Zoom", -3));
        for (const char* f : {"a.asc", "b.asc", "c.asc", "d.asc", "e.asc", "C.ASC"})
            app.AddToRecentFileList(f);
        EXPECT_TRUE(app.GetProfile().GetFileName().Find("Local AppWizard-Generated Applications") >= 0);
        app.ExitInstance();
    }
    {
        TestApp app;
        app.SetRegistryKey("Local AppWizard-Generated Applications");
        app.LoadStdProfileSettings(4);
        EXPECT_EQ(app.GetProfileString("Multiplayer", "Screen Name"), "Red Baron");
        EXPECT_EQ(static_cast<int>(app.GetProfileInt("Settings", "Zoom", 0)), -3);
        EXPECT_EQ(static_cast<int>(app.GetProfileInt("Settings", "Missing", 42)), 42);
        CRecentFileList* mru = app.GetRecentFileList();
        ASSERT_NE(mru, nullptr);
        ASSERT_EQ(mru->GetCount(), 4);
        EXPECT_EQ((*mru)[0], "C.ASC");  // moved to the front, not repeated
        EXPECT_EQ((*mru)[1], "e.asc");
        EXPECT_EQ((*mru)[3], "b.asc");
        CCmdUI ui(ID_FILE_MRU_FILE1 + 1);
        mru->UpdateMenu(&ui);
        EXPECT_EQ(ui.m_strText, "&2 e.asc");
        // A Windows-style name is kept with "/".
        app.AddToRecentFileList("Data\\demo.asc");
        EXPECT_EQ((*mru)[0], "Data/demo.asc");
    }
    CProfile::SetStorageDirectory(oldProfileDir);
}
