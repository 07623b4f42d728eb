// The main window as the program starts it, with real windows on the
// offscreen screen: its style and place, its menus, the keys that reach
// the document's commands, and the screen saver held off over a private
// session bus that the test starts with a stand-in screen-saver service.
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/MainFrame.h"
#include "platform/ui/Frame.h"
#include "units/SpotReportArray.h"
#include "units/SpotReportLogDlg.h"
#include "view/KDRView.h"
#include "view/Sound.h"

#include "StartDirTestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace
{
class MainFrameTest : public StartDirTest
{
protected:
    MainFrameTest() : StartDirTest("kdr-frame-") {}
};

// Delivers events until the condition holds or five seconds have passed.
bool PumpUntil(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done())
    {
        if (timer.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

void PressKey(QWidget* pWidget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(pWidget, &release);
}

std::vector<std::string> ItemTexts(const CMenu* pMenu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < static_cast<int>(pMenu->GetMenuItemCount()); ++i)
    {
        const CMenu::Item* pItem = pMenu->GetItem(i);
        texts.push_back(pItem->separator ? "-" : pItem->text.GetString());
    }
    return texts;
}
}  // namespace

TEST_F(MainFrameTest, MaximisedOverTheAvailableScreenWithoutAMaximiseButton)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(pFrame, nullptr);
    QWidget* pWindow = pFrame->GetWidget();
    const Qt::WindowFlags flags = pWindow->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint) << "the title shows the mission";
    EXPECT_FALSE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(pFrame->IsZoomed());
    const QRect available = pWindow->screen()->availableGeometry();
    EXPECT_TRUE(PumpUntil([&] { return pWindow->frameGeometry().contains(available); }))
        << "frame " << pWindow->frameGeometry().width() << "x" << pWindow->frameGeometry().height() << ", screen "
        << available.width() << "x" << available.height();
}

TEST_F(MainFrameTest, FileAndMultiplayerMenusInTheirOrder)
{
    const CMenuDesc menu = CMainFrame::MainMenu();
    CMenu::RegisterMenuResource(7400, menu);
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(7400));
    EXPECT_EQ(ItemTexts(&bar), (std::vector<std::string>{"&File", "&View", "&Edit", "&Actions", "&Orders", "&SOP",
                                                         "&Time", "&Multiplayer", "&Help"}));
    EXPECT_EQ(ItemTexts(bar.GetSubMenu(0)),
              (std::vector<std::string>{"&Open...", "Open Sa&ved Game...", "&Restart Mission", "-", "&Save Game...",
                                        "-", "&Quit Mission"}));
    const CMenu* pMultiplayer = bar.GetSubMenu(7);
    EXPECT_EQ(ItemTexts(pMultiplayer), (std::vector<std::string>{"&Chat Log", "&Pass Units", "&Surrender..."}));
    ASSERT_NE(pMultiplayer->GetSubMenu(1), nullptr);
    EXPECT_EQ(pMultiplayer->GetSubMenu(1)->GetMenuItemCount(), 0u) << "the session fills it";
    const std::vector<std::string> view = ItemTexts(bar.GetSubMenu(1));
    for (const char* pszItem : {"Or&der", "&Hierarchy Tree\tH", "&Auto Scroll", "&Sound"})
        EXPECT_NE(std::find(view.begin(), view.end(), pszItem), view.end()) << pszItem;
}

TEST_F(MainFrameTest, SingleGameMenusAndTheSoundSwitch)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(pFrame, nullptr);
    CMenu* pMenu = pFrame->GetMenu();
    pFrame->UpdateMenuPopup(7);
    for (UINT nId : {ID_MULTIPLAYER_CHAT_LOG, ID_MULTIPLAYER_SURRENDER})
        EXPECT_EQ(pMenu->GetMenuState(nId, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED) << nId;

    ASSERT_NE(app.m_pSoundManager, nullptr);
    const BOOL bOn = app.m_pSoundManager->IsSoundOn();
    pFrame->UpdateMenuPopup(1);
    EXPECT_EQ((pMenu->GetMenuState(ID_VIEW_SOUND, MF_BYCOMMAND) & MF_CHECKED) != 0, bOn != FALSE);
    pFrame->ExecuteCommand(ID_VIEW_SOUND);
    EXPECT_EQ(app.m_pSoundManager->IsSoundOn(), !bOn);
    pFrame->UpdateMenuPopup(1);
    EXPECT_EQ((pMenu->GetMenuState(ID_VIEW_SOUND, MF_BYCOMMAND) & MF_CHECKED) != 0, bOn == FALSE);
}

TEST_F(MainFrameTest, HAndLReachTheirCommandsFromTheMapAndFromAModelessWindow)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    CKDRDoc* pDoc = app.GetActiveDocument();
    CKDRView* pView = app.GetActiveView();
    ASSERT_NE(pDoc, nullptr);
    ASSERT_NE(pView, nullptr);
    // The newest handler of a command is the one that runs: these count.
    int nTree = 0;
    int nLog = 0;
    pDoc->MapCommand(ID_VIEW_HIERARCHY_TREE, [&] { ++nTree; });
    pDoc->MapCommand(ID_ACTIONS_FM_LOG, [&] { ++nLog; });

    PressKey(pView->GetWidget(), Qt::Key_H);
    PressKey(pView->GetWidget(), Qt::Key_L);
    EXPECT_TRUE(PumpUntil(
        [&]
        {
            app.PumpWaitingMessage();
            return nTree == 1 && nLog == 1;
        }))
        << nTree << " " << nLog;

    // The spot report log, a modeless window, hands the keys on.
    app.OnSpotReportLog();
    ASSERT_NE(app.m_pSpotReports, nullptr);
    CSpotReportLogDlg* pLog = app.m_pSpotReports->GetLogWindow();
    ASSERT_NE(pLog, nullptr);
    ASSERT_TRUE(pLog->IsWindow());
    PressKey(pLog->GetWidget(), Qt::Key_H);
    PressKey(pLog->GetWidget(), Qt::Key_L);
    EXPECT_TRUE(PumpUntil(
        [&]
        {
            app.PumpWaitingMessage();
            return nTree == 2 && nLog == 2;
        }))
        << nTree << " " << nLog;
    app.OnSpotReportLog();
}

namespace
{
// The desktop's screen-saver service as far as the program uses it: it
// counts the inhibitions asked for and given back, and answers from the
// bus's own thread, so it answers while the test's thread waits.
class CStubScreenSaver : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override
    {
        return "<interface name=\"org.freedesktop.ScreenSaver\">"
               "<method name=\"Inhibit\"><arg type=\"s\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/>"
               "<arg type=\"u\" direction=\"out\"/></method>"
               "<method name=\"UnInhibit\"><arg type=\"u\" direction=\"in\"/></method></interface>";
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != "org.freedesktop.ScreenSaver")
            return false;
        const QList<QVariant> args = message.arguments();
        if (message.member() == "Inhibit" && args.size() == 2 && !args[0].toString().isEmpty() &&
            !args[1].toString().isEmpty())
        {
            const uint cookie = static_cast<uint>(++m_nInhibits) + 100;
            return connection.send(message.createReply(QVariant::fromValue(cookie)));
        }
        if (message.member() == "UnInhibit" && args.size() == 1)
        {
            m_nLastReleased = args[0].toUInt();
            ++m_nReleases;
            return connection.send(message.createReply());
        }
        return false;
    }

    std::atomic<int> m_nInhibits{0};
    std::atomic<int> m_nReleases{0};
    std::atomic<uint> m_nLastReleased{0};
};

// A private session bus for the test's lifetime, named by the environment
// while it runs.
class CPrivateSessionBus
{
public:
    CPrivateSessionBus()
    {
        const char* pszOld = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        m_bHadOld = pszOld != nullptr;
        if (m_bHadOld)
            m_strOld = pszOld;
        m_daemon.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
            return;
        m_strAddress = QString::fromUtf8(m_daemon.readLine()).trimmed();
        ::setenv("DBUS_SESSION_BUS_ADDRESS", m_strAddress.toUtf8().constData(), 1);
    }
    ~CPrivateSessionBus()
    {
        if (m_bHadOld)
            ::setenv("DBUS_SESSION_BUS_ADDRESS", m_strOld.c_str(), 1);
        else
            ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    const QString& Address() const { return m_strAddress; }

private:
    QProcess m_daemon;
    QString m_strAddress;
    bool m_bHadOld = false;
    std::string m_strOld;
};
}  // namespace

TEST_F(MainFrameTest, TheScreenSaverIsHeldOffWhileTheWindowIsActiveAndReleasedOnClose)
{
    CPrivateSessionBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";

    QThread serviceThread;
    serviceThread.start();
    auto* pStub = new CStubScreenSaver;
    pStub->moveToThread(&serviceThread);
    QDBusConnection service = QDBusConnection::connectToBus(bus.Address(), "kdr-test-screensaver-service");
    ASSERT_TRUE(service.isConnected());
    ASSERT_TRUE(service.registerService("org.freedesktop.ScreenSaver"));
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/ScreenSaver", pStub));

    {
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        QWidget* pWindow = app.m_pMainWnd->GetWidget();
        pWindow->activateWindow();
        ASSERT_TRUE(PumpUntil([&] { return pStub->m_nInhibits == 1; })) << "no Inhibit while the window is active";
        EXPECT_EQ(pStub->m_nReleases, 0);

        // Another program's window in front: the screen saver may run.
        QWidget other;
        other.show();
        other.activateWindow();
        EXPECT_TRUE(PumpUntil([&] { return pStub->m_nReleases == 1; })) << "no UnInhibit when deactivated";
        EXPECT_EQ(pStub->m_nLastReleased, 101u) << "the cookie Inhibit gave";
        other.hide();
        pWindow->activateWindow();
        ASSERT_TRUE(PumpUntil([&] { return pStub->m_nInhibits == 2; })) << "no Inhibit when active again";

        // The cookie is given back on close whether or not it has come yet.
        app.m_pMainWnd->OnClose();
        EXPECT_TRUE(PumpUntil([&] { return pStub->m_nReleases == 2; })) << "no UnInhibit on close";
        EXPECT_EQ(pStub->m_nLastReleased, 102u);
        EXPECT_EQ(pStub->m_nInhibits, 2);
    }

    service.unregisterObject("/org/freedesktop/ScreenSaver");
    QDBusConnection::disconnectFromBus("kdr-test-screensaver-service");
    serviceThread.quit();
    serviceThread.wait();
    delete pStub;
}
