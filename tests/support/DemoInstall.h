#pragma once
// The demo mission written afresh by the demo writer into a directory of the
// test's own, made the current directory with a profile store beside it, as
// a user's first `make run` leaves it. Everything is put back, and the
// directory removed, when the object goes, also when a test stops early.

#include "platform/core/File.h"
#include "platform/ui/Profile.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class CDemoInstall
{
public:
    // `tag` names the directory, so tests that run at once stay apart.
    explicit CDemoInstall(const char* tag)
        : m_oldDir(GetCurrentDir()),
          m_oldProfileDir(CProfile::GetStorageDirectory()),
          m_root(std::filesystem::temp_directory_path() /
                 (std::string("kdr-") + tag + "-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "profile");
        CProfile::SetStorageDirectory((m_root / "profile").string().c_str());
    }
    ~CDemoInstall()
    {
        SetCurrentDir(m_oldDir);
        CProfile::SetStorageDirectory(m_oldProfileDir);
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    CDemoInstall(const CDemoInstall&) = delete;
    CDemoInstall& operator=(const CDemoInstall&) = delete;

    static bool WriterBuilt() { return std::filesystem::exists(Writer()); }

    // Runs the demo writer into the directory and makes it current.
    bool Write() const
    {
        const std::string command = "\"" + Writer().string() + "\" \"" + m_root.string() + "\" >/dev/null";
        return std::system(command.c_str()) == 0 && SetCurrentDir(m_root.string().c_str());
    }

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path Scenario() const { return m_root / "Data" / "demo.asc"; }

private:
    static std::filesystem::path Writer() { return std::filesystem::path(KDR_BINARY_DIR) / "kdrdemo"; }

    CString m_oldDir;
    CString m_oldProfileDir;
    std::filesystem::path m_root;
};
