#pragma once
// A running application shell for document tests: the application object,
// its document template with the main frame and map view (offscreen), a
// data directory in a fresh temporary folder and a scripted UI service.
// Prompts nobody scripted are test failures unless a test collects them.

#include "ScenarioBytes.h"

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/MainFrame.h"
#include "platform/core/Core.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/ScriptedUi.h"
#include "view/KDRView.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

// A folder that exists for the lifetime of the object.
class CTempFolder
{
public:
    CTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kdr-doc-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        m_path = made != nullptr ? made : pattern;
    }
    ~CTempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& path, const std::vector<BYTE>& bytes)
{
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::vector<BYTE> ReadBytes(const std::filesystem::path& path)
{
    std::vector<BYTE> bytes;
    std::FILE* f = std::fopen(path.string().c_str(), "rb");
    if (f == nullptr)
        return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        bytes.push_back(static_cast<BYTE>(c));
    std::fclose(f);
    return bytes;
}

// A mission file ("*.msn") as its layout gives it: eight empty file-name
// lists, an empty event list, five texts, three flag words, the direction
// word and three empty pair lists.
inline CScenarioBytes MissionFileBytes(const char* name, const char* description, unsigned direction = 0)
{
    CScenarioBytes b;
    for (int i = 0; i < 8; ++i)
        b.Word(0);
    b.Word(0);
    b.Str("").Str(name).Str(description).Str("Well done.").Str("Try again.");
    b.Word(0).Word(0).Word(0);
    b.Word(direction);
    b.Word(0).Word(0).Word(0);
    return b;
}

// Eight presence words and a start time; the caller appends the parts.
inline CScenarioBytes ScenarioHeader(std::initializer_list<int> present, unsigned long start)
{
    CScenarioBytes b;
    for (int word : present)
        b.Word(static_cast<unsigned>(word));
    b.DWord(start);
    return b;
}

inline CScenarioBytes MissionsPartNaming(const char* mainFile)
{
    CScenarioBytes b;
    b.Str("").Str(mainFile).Str("").Str("");
    return b;
}

class CDocShell
{
public:
    using DocFactory = std::function<CKDRDoc*()>;
    using ViewFactory = std::function<CKDRView*()>;

    explicit CDocShell(
        DocFactory factory = [] { return new CKDRDoc; }, ViewFactory viewFactory = [] { return new CKDRView; })
        : m_scope(&m_ui)
    {
        m_ui.SetFailureHandler(
            [this](const CString& message)
            {
                if (m_bCollectUnscripted)
                    m_unscripted.push_back(message);
                else
                    ADD_FAILURE() << message.GetString();
            });
        m_pApp = std::make_unique<CKDRApp>();
        m_dataDir = m_folder.Path() / "Data";
        std::filesystem::create_directories(m_dataDir);
        std::filesystem::create_directories(m_folder.Path() / "Savegame");
        m_pApp->m_strDataDir = m_dataDir.string().c_str();
        m_pApp->m_strSavegameDir = (m_folder.Path() / "Savegame").string().c_str();
        auto* pTemplate = new CSingleDocTemplate(
            128, [factory] { return static_cast<CDocument*>(factory()); },
            [] { return static_cast<CFrameWnd*>(new CMainFrame); },
            [viewFactory] { return static_cast<CView*>(viewFactory()); });
        m_pApp->AddDocTemplate(pTemplate);
        m_pDoc = dynamic_cast<CKDRDoc*>(pTemplate->OpenDocumentFile(nullptr));
        m_pApp->m_pMainWnd = pTemplate->GetFrame();
        m_pApp->m_bDisplayReady = TRUE;
        m_pDoc->SetDirectories(m_pApp->m_strDataDir, m_pApp->m_strSavegameDir);
        m_pDoc->SetDisplay(m_pApp->m_pDisplay);
        SetCurrentDir(m_pApp->m_strDataDir);
    }
    ~CDocShell()
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString();
        m_pApp.reset();
    }

    CKDRApp& App() { return *m_pApp; }
    CKDRDoc& Doc() { return *m_pDoc; }
    CScriptedUi& Ui() { return m_ui; }
    const std::filesystem::path& DataDir() const { return m_dataDir; }
    const std::filesystem::path& StartDir() const { return m_folder.Path(); }

    void WriteData(const char* name, const CScenarioBytes& bytes) { WriteBytes(m_dataDir / name, bytes.Get()); }

    // Opens a scenario of the data directory as the framework does.
    BOOL Open(const char* name)
    {
        return m_pApp->GetDocTemplate()->OpenDocumentFile((m_dataDir / name).string().c_str()) != nullptr;
    }

    // Unscripted prompts are collected instead of failing the test.
    void CollectUnscripted() { m_bCollectUnscripted = true; }
    const std::vector<CString>& Unscripted() const { return m_unscripted; }

private:
    CTempFolder m_folder;
    std::filesystem::path m_dataDir;
    CScriptedUi m_ui;
    CUiServiceScope m_scope;
    std::unique_ptr<CKDRApp> m_pApp;
    CKDRDoc* m_pDoc = nullptr;
    bool m_bCollectUnscripted = false;
    std::vector<CString> m_unscripted;
};
