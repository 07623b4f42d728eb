// The page view in place of the browser control, and shell execution.
#include "platform/core/File.h"
#include "platform/ui/PageView.h"
#include "platform/ui/Shell.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QThread>

namespace
{
void Write(const QString& path, const char* text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}
}  // namespace

TEST(WinPageViewTest, NavigatesBackAndForwardAndReportsIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QDir().mkpath(dir.path() + "/Savegame");
    Write(dir.path() + "/Savegame/index.htm",
          "<html><head><title>Vehicle Specs</title></head><body><a href=\"m1a1.htm\">M1A1</a></body></html>");
    Write(dir.path() + "/Savegame/m1a1.htm", "<html><body><p>Speed *speed*</p></body></html>");

    CPageView page;
    ASSERT_TRUE(page.Create(CRect(0, 0, 300, 200), nullptr, 1255));
    std::vector<std::pair<long, BOOL>> states;
    std::vector<CString> titles;
    page.m_onCommandStateChange = [&](long command, BOOL enable) { states.emplace_back(command, enable); };
    std::vector<CString> locationsAtTitle;  // what a listener reads when told
    page.m_onTitleChange = [&](const CString& title)
    {
        titles.push_back(title);
        locationsAtTitle.push_back(page.GetLocationName());
    };
    EXPECT_EQ(page.GetLocationName(), "");

    // The address as the game builds it: "file:\\" + directory + "\name".
    const CString start = dir.path().toUtf8().constData();
    ASSERT_TRUE(page.Navigate("file:\\\\" + start + "\\SAVEGAME\\index.htm"));
    EXPECT_EQ(page.GetLocationName(), "index.htm");
    EXPECT_EQ(page.GetTitle(), "Vehicle Specs");
    EXPECT_FALSE(page.CanGoBack());
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(titles.back(), "Vehicle Specs");

    ASSERT_TRUE(page.Navigate("file:///" + start + "/Savegame/m1a1.htm"));
    EXPECT_EQ(page.GetLocationName(), "m1a1.htm");
    EXPECT_EQ(page.GetTitle(), "m1a1.htm");  // no title: the file name
    EXPECT_TRUE(page.CanGoBack());
    EXPECT_EQ(locationsAtTitle.back(), "m1a1.htm");
    EXPECT_NE(page.GetPlainText().Find("Speed *speed*"), -1);
    EXPECT_NE(std::find(states.begin(), states.end(), std::make_pair(CSC_NAVIGATEBACK, TRUE)), states.end());
    states.clear();

    page.GoBack();
    EXPECT_EQ(page.GetLocationName(), "index.htm");
    EXPECT_EQ(locationsAtTitle.back(), "index.htm");
    EXPECT_TRUE(page.CanGoForward());
    EXPECT_NE(std::find(states.begin(), states.end(), std::make_pair(CSC_NAVIGATEFORWARD, TRUE)), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), std::make_pair(CSC_NAVIGATEBACK, FALSE)), states.end());
    page.GoForward();
    EXPECT_EQ(page.GetLocationName(), "m1a1.htm");

    // A page that is not there: refused, with a notice.
    EXPECT_FALSE(page.Navigate("file:\\\\" + start + "\\Savegame\\results.htm"));
    EXPECT_NE(page.GetPlainText().Find("cannot be shown"), -1);
    EXPECT_EQ(PathFromFileAddress("http://example.invalid/"), "");
}

TEST(WinShellTest, OpenStartsProgramsAndSendsAddressesToTheBrowser)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CString old = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.path().toUtf8().constData()));

    // Not there: file not found, which is 32 or less.
    EXPECT_EQ(ShellExecute(nullptr, "open", "kdrbuild.exe", nullptr, nullptr, SW_SHOWNORMAL), SE_ERR_FNF);
    EXPECT_LE(ShellExecute(nullptr, "open", "", nullptr, nullptr, SW_SHOWNORMAL), 32);

    // A program named as the game names it starts and runs.
    const QString marker = dir.path() + "/started";
    Write(dir.path() + "/kdrbuild", QString("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8().constData());
    QFile::setPermissions(dir.path() + "/kdrbuild", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_GT(ShellExecute(nullptr, "open", "kdrbuild.exe", nullptr, nullptr, SW_SHOWNORMAL), 32);
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(marker) && waited.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_TRUE(QFileInfo::exists(marker));

    // An address goes to the desktop's URL handler.
    QTextBrowser handler;
    QDesktopServices::setUrlHandler("http", &handler, "setSource");
    EXPECT_GT(ShellExecute(nullptr, "open", "http://example.invalid/about", nullptr, nullptr, SW_SHOWNORMAL), 32);
    EXPECT_EQ(handler.source().toString(), "http://example.invalid/about");
    QDesktopServices::unsetUrlHandler("http");
    EXPECT_EQ(ShellExecute(nullptr, "print", "http://example.invalid/", nullptr, nullptr, SW_SHOWNORMAL),
              SE_ERR_NOASSOC);
    SetCurrentDir(old);
}
