#pragma once
// A shell with a ready display (offscreen, no window), a data directory and
// a saved-game directory in a fresh temporary folder, and a scripted UI
// service: what pieces, page writer and specs window need of the shell.
//
// A simulation folder's tests get the headless shell services with a plain
// application object beside them for the message queue (CTestShell); the
// tests built with the shell (KDR_TEST_WITH_SHELL: tests/app, tests/view and
// the with_shell/ folders) get the real application object.

#ifdef KDR_TEST_WITH_SHELL
#include "app/KDRApp.h"
#include "app/ReportDlg.h"
#else
#include "platform/ui/App.h"
#include "shell/HeadlessShell.h"
#endif
#include "database/KDRDatabase.h"
#include "platform/core/Core.h"
#include "platform/ui/Display.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <string>

#ifdef KDR_TEST_WITH_SHELL
using CTestShell = CKDRApp;
#else
// The headless services, and the message queue that the simulation's long
// steps serve through them.
class CTestShell : public CWinApp, public CHeadlessShell
{
public:
    CTestShell() : CWinApp("Kedravin") {}
};
#endif

class CDatabaseTestApp
{
public:
    CDatabaseTestApp() : m_scope(&m_ui)
    {
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
        std::string pattern = (std::filesystem::temp_directory_path() / "kdr-db-XXXXXX").string();
        m_root = mkdtemp(pattern.data());
        std::filesystem::create_directories(m_root / "Data");
        std::filesystem::create_directories(m_root / "Savegame");
        m_oldDir = GetCurrentDir();
        m_app.m_strDataDir = DataDir().string().c_str();
        m_app.m_strSavegameDir = SavegameDir().string().c_str();
#ifndef KDR_TEST_WITH_SHELL
        m_app.m_pDisplay = &m_display;
#endif
        m_app.m_pDisplay->Init(nullptr, 320, 240);
        m_app.m_bDisplayReady = TRUE;
        SetCurrentDir(m_app.m_strDataDir);
    }
    ~CDatabaseTestApp()
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString();
#ifdef KDR_TEST_WITH_SHELL
        CReportDlg::CloseAll();
#endif
        CWnd::FlushDeferredDeletes();
        SetCurrentDir(m_oldDir);
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    CDatabaseTestApp(const CDatabaseTestApp&) = delete;
    CDatabaseTestApp& operator=(const CDatabaseTestApp&) = delete;

    CTestShell& App() { return m_app; }
    CScriptedUi& Ui() { return m_ui; }
    std::filesystem::path DataDir() const { return m_root / "Data"; }
    std::filesystem::path SavegameDir() const { return m_root / "Savegame"; }

    // A sheet of columns x rows frames of size x size pixels on magenta,
    // frame k filled with a grey of value 10 + k in its middle.
    void WriteSheet(const char* name, int columns, int rows, int size = 8) const
    {
        QImage image(columns * size, rows * size, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        for (int k = 0; k < columns * rows; ++k)
        {
            const int x = (k % columns) * size;
            const int y = (k / columns) * size;
            for (int dy = 2; dy < size - 2; ++dy)
                for (int dx = 2; dx < size - 2; ++dx)
                    image.setPixelColor(x + dx, y + dy, QColor(10 + k, 10 + k, 10 + k));
        }
        ASSERT_TRUE(image.save(QString::fromStdString((DataDir() / name).string()), "BMP"));
    }

    void WriteText(const std::filesystem::path& path, const std::string& text) const
    {
        std::FILE* f = std::fopen(path.string().c_str(), "wb");
        ASSERT_NE(f, nullptr) << path;
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }

    // Hands a database the two directories, as the document does.
    void HandDirectories(CKDRDatabase& database) const
    {
        database.SetDirectories(DataDir().string().c_str(), SavegameDir().string().c_str());
    }

    static std::string ReadText(const std::filesystem::path& path)
    {
        std::string text;
        std::FILE* f = std::fopen(path.string().c_str(), "rb");
        if (f == nullptr)
            return text;
        int c;
        while ((c = std::fgetc(f)) != EOF)
            text.push_back(static_cast<char>(c));
        std::fclose(f);
        return text;
    }

private:
    CScriptedUi m_ui;
    CUiServiceScope m_scope;
    CDisplay m_display;  // the headless shell's; the application has its own
    CTestShell m_app;
    std::filesystem::path m_root;
    CString m_oldDir;
};
