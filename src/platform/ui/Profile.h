#pragma once
// The profile: named values by section and entry, and the recent-file list,
// kept with QSettings in the user's configuration directory under the
// registry key (as organisation) and the application name. Tests point the
// storage at a temporary directory with SetStorageDirectory.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <memory>
#include <vector>

class CCmdUI;

class CProfile
{
public:
    CProfile(const CString& registryKey, const CString& appName);
    ~CProfile();
    CProfile(const CProfile&) = delete;
    CProfile& operator=(const CProfile&) = delete;

    // Where every profile is stored from now on (empty: the user's
    // configuration directory).
    static void SetStorageDirectory(const CString& directory);
    static CString GetStorageDirectory();

    CString GetString(const char* section, const char* entry, const char* defaultValue = nullptr) const;
    BOOL WriteString(const char* section, const char* entry, const char* value);  // null value removes the entry
    int GetInt(const char* section, const char* entry, int defaultValue) const;
    BOOL WriteInt(const char* section, const char* entry, int value);
    void Sync();
    // The file the values are kept in.
    CString GetFileName() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_p;
};

// The most recently opened files, newest first, kept in the profile under
// section "Recent File List", entries "File1", "File2", ...
class CRecentFileList
{
public:
    CRecentFileList(CProfile* profile, UINT firstCommandId, int size);

    void Add(const char* path);  // moves an existing entry (same path ignoring case) to the front
    void Remove(int index);
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    CString operator[](int index) const;  // empty outside the list
    void ReadList();
    void WriteList();
    // Menu text for the entry of a command id: "&1 name", or hides nothing
    // and disables the item when the entry is empty.
    void UpdateMenu(CCmdUI* pCmdUI) const;
    UINT GetFirstCommandId() const { return m_nFirstId; }

private:
    CProfile* m_pProfile;
    UINT m_nFirstId;
    int m_nSize;
    std::vector<CString> m_files;
};
