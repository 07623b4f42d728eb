#pragma once
// The game started on the demo mission for a benchmark, as a player starts
// it: the demo generator (kdrdemo, built beside the benchmark programs)
// writes the mission into a temporary run directory, the application starts
// there on the offscreen platform with a profile of its own in that
// directory, opens the mission and has its map view's client area made
// 1920 x 1080, so the back surface has that size. Nobody answers a prompt:
// one that is not scripted takes its most cautious answer and is written to
// standard error. The run directory goes when the session does.
//
// An empty session opens the demo's scenario with its units and missions
// taken out: the map, the database, the obstacles and dug positions, and
// nothing that moves or ends the game.
// A session at the start menu opens nothing: the application stands as the
// player first sees it, its view made 1920 x 1080 all the same.
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/KDRMissions.h"
#include "app/KDRScenario.h"
#include "battlefield/KDRGameMap.h"
#include "platform/core/Core.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "units/KDRUnits.h"
#include "view/KDRView.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

class CDemoSession
{
public:
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1080;

    enum class Mission
    {
        kDemo,
        kEmpty,
        kStartMenu,
    };

    // argv0: the benchmark program's own path, beside which kdrdemo lies.
    explicit CDemoSession(const char* argv0, Mission mission = Mission::kDemo)
    {
        namespace fs = std::filesystem;
        const fs::path demo = fs::absolute(fs::path(argv0)).parent_path() / "kdrdemo";
        std::string pattern = (fs::temp_directory_path() / "kdr-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            return;
        m_runDir = pattern;
        CString command;
        command.Format("\"%s\" \"%s\"", demo.string().c_str(), m_runDir.string().c_str());
        if (std::system(command) != 0)
        {
            std::fprintf(stderr, "cannot write the demo mission with %s\n", demo.string().c_str());
            return;
        }
        SetCurrentDir(m_runDir.string().c_str());
        // The scenario goes into a recent-file list of the run directory,
        // not the user's.
        CProfile::SetStorageDirectory((m_runDir / "profile").string().c_str());
        m_prompts.SetFailureHandler([](const CString& message) { std::fprintf(stderr, "%s\n", message.GetString()); });
        m_pPromptScope = std::make_unique<CUiServiceScope>(&m_prompts);
        m_pApp = std::make_unique<CKDRApp>();
        const char* scenario = mission == Mission::kEmpty ? "empty.asc" : "demo.asc";
        if (mission == Mission::kStartMenu)
        {
            if (m_pApp->InitInstance() && (m_pView = m_pApp->GetActiveView()) != nullptr && SizeView())
                m_bReady = true;
            else
                std::fprintf(stderr, "the game did not start\n");
            return;
        }
        if (m_pApp->InitInstance() && (m_pView = m_pApp->GetActiveView()) != nullptr &&
            (mission == Mission::kDemo || WriteEmptyScenario(scenario)) &&
            m_pApp->OpenDocumentFile(JoinPath(m_pApp->m_strDataDir, scenario)) != nullptr && SizeView() &&
            m_pApp->GetActiveDocument()->GetGameMap()->GetMapPicture() != nullptr)
            m_bReady = true;
        else
            std::fprintf(stderr, "the demo mission did not open with its map picture\n");
    }

    ~CDemoSession()
    {
        m_pApp.reset();
        m_pPromptScope.reset();
        if (!m_runDir.empty())
        {
            std::error_code ec;
            std::filesystem::remove_all(m_runDir, ec);
        }
    }

    CDemoSession(const CDemoSession&) = delete;
    CDemoSession& operator=(const CDemoSession&) = delete;

    bool IsReady() const { return m_bReady; }
    CKDRApp& App() { return *m_pApp; }
    CKDRView& View() { return *m_pView; }
    CScriptedUi& Prompts() { return m_prompts; }

private:
    // The demo's scenario without units or missions, written beside it
    // through the scenario's own Serialize.
    bool WriteEmptyScenario(const char* name)
    {
        try
        {
            CKDRScenario scenario;
            {
                CFile file(JoinPath(m_pApp->m_strDataDir, "demo.asc"), CFile::modeRead | CFile::typeBinary);
                CArchive ar(&file, CArchive::load);
                scenario.SerializeScenario(ar);
            }
            scenario.SetUnits(new CKDRUnits);
            scenario.SetMissions(new CKDRMissions);
            CFile file(JoinPath(m_pApp->m_strDataDir, name), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            CArchive ar(&file, CArchive::store);
            scenario.SerializeScenario(ar);
            ar.Close();
            return true;
        }
        catch (const CException& e)
        {
            std::fprintf(stderr, "cannot write the empty mission: %s\n", e.GetErrorText().GetString());
            return false;
        }
    }

    // Makes the view's client area kWidth x kHeight.
    bool SizeView()
    {
        QWidget* pFrame = m_pApp->GetMainFrame()->GetOuterWidget();
        pFrame->showNormal();
        for (int attempt = 0; attempt < 8; ++attempt)
        {
            QApplication::processEvents();
            CRect rc;
            m_pView->GetClientRect(&rc);
            if (rc.Width() == kWidth && rc.Height() == kHeight)
                return true;
            pFrame->resize(pFrame->width() + kWidth - rc.Width(), pFrame->height() + kHeight - rc.Height());
        }
        return false;
    }

    std::filesystem::path m_runDir;
    CScriptedUi m_prompts;
    std::unique_ptr<CUiServiceScope> m_pPromptScope;
    std::unique_ptr<CKDRApp> m_pApp;
    CKDRView* m_pView = nullptr;
    bool m_bReady = false;
};
