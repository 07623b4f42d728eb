#pragma once
// A start directory of its own for each test: a fresh temporary folder with
// Data/ and profile/, made the current directory and the profile store, and
// a scripted UI service whose whole script the test must use up. All is
// put back and removed afterwards.
#include "platform/core/File.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

class StartDirTest : public ::testing::Test
{
protected:
    // The folder's name starts with the prefix, then the process and test.
    explicit StartDirTest(const char* pszPrefix) : m_prefix(pszPrefix) {}

    void SetUp() override
    {
        m_oldDir = GetCurrentDir();
        m_oldProfileDir = CProfile::GetStorageDirectory();
        m_root =
            std::filesystem::temp_directory_path() / (m_prefix + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "Data");
        std::filesystem::create_directories(m_root / "profile");
        CProfile::SetStorageDirectory((m_root / "profile").string().c_str());
        ASSERT_TRUE(SetCurrentDir(m_root.string().c_str()));
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    }
    void TearDown() override
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString();
        CWnd::FlushDeferredDeletes();
        SetCurrentDir(m_oldDir);
        CProfile::SetStorageDirectory(m_oldProfileDir);
        std::filesystem::remove_all(m_root);
    }

    std::string m_prefix;
    CString m_oldDir;
    CString m_oldProfileDir;
    std::filesystem::path m_root;
    CScriptedUi m_ui;
    CUiServiceScope m_scope{&m_ui};
};
