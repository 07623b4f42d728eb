#pragma once
// Files and the program's current directory.
//
// The current directory is the platform's own, process-wide setting
// (GetCurrentDir/SetCurrentDir); the process's working directory never
// changes, so tests can run side by side. Relative names resolve against it.
// Names are code-page text (platform/core/CodePage.h) and are written to
// disk as UTF-8: "caf\xE9" names the file "café" in any file manager.
// Names may use "\" or "/" alike. When a name does not exist exactly, each
// component is matched without regard to ASCII case against its directory
// (the data files name each other in any case); an existing file is reused
// under its real name when it is written again in another case.

#include "platform/core/CString.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

#include <cstdio>
#include <string>
#include <vector>

class CFileException : public CException
{
public:
    enum
    {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, const CString& fileName = CString());

    // The cause as a clause about the file ("it is not a regular file"), for
    // messages that name the file themselves.
    CString GetReason() const;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CFile
{
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };

    CFile() = default;
    CFile(const char* fileName, UINT openFlags);  // throws CFileException
    virtual ~CFile();                             // closes, never throws
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Answers FALSE and fills *error (when given) when the file cannot be
    // opened. Files are always binary; the share flags are accepted and
    // ignored. modeCreate truncates unless modeNoTruncate is given.
    virtual BOOL Open(const char* fileName, UINT openFlags, CFileException* error = nullptr);
    virtual UINT Read(void* buffer, UINT count);         // bytes read; 0 at the end
    virtual void Write(const void* buffer, UINT count);  // throws CFileException
    virtual LONG Seek(LONG offset, UINT from);           // new position; throws badSeek
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return static_cast<DWORD>(Seek(0, end)); }
    virtual DWORD GetLength() const;
    virtual DWORD GetPosition() const;
    virtual void Flush();
    virtual void Close();  // throws on a failed final write
    virtual void Abort();  // closes, never throws
    virtual BOOL IsOpen() const { return m_pStream != nullptr; }

    CString GetFileName() const;   // the name part, e.g. "units.unt"
    CString GetFileTitle() const;  // the name without extension
    CString GetFilePath() const;   // the full path the file was opened under

protected:
    std::FILE* m_pStream = nullptr;
    CString m_strFilePath;

private:
    // The C library needs a seek between a read and a write on one stream.
    enum class LastOp
    {
        none,
        read,
        write
    };
    void SwitchTo(LastOp op);
    LastOp m_lastOp = LastOp::none;
};

// A file in memory: for reading bytes received or built elsewhere and for
// writing an archive into a byte block.
class CMemFile : public CFile
{
public:
    CMemFile() = default;
    CMemFile(const BYTE* data, UINT size);
    explicit CMemFile(std::vector<BYTE> data);

    BOOL Open(const char*, UINT, CFileException* error = nullptr) override;  // not used: FALSE
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    LONG Seek(LONG offset, UINT from) override;
    DWORD GetLength() const override { return static_cast<DWORD>(m_data.size()); }
    DWORD GetPosition() const override { return static_cast<DWORD>(m_position); }
    void Flush() override {}
    void Close() override;  // keeps the data; positions at the start
    void Abort() override { Close(); }
    BOOL IsOpen() const override { return TRUE; }

    const std::vector<BYTE>& GetData() const { return m_data; }
    std::vector<BYTE> Detach();  // hands the bytes over and empties the file

private:
    std::vector<BYTE> m_data;
    size_t m_position = 0;
};

// The current directory (absolute, "/" separators, no trailing separator
// except for the root). It starts as the process's working directory.
CString GetCurrentDir();
// Answers FALSE (and keeps the old one) when the directory does not exist.
BOOL SetCurrentDir(const char* path);

// The absolute path a name stands for: resolved against the current
// directory, separators made "/", "." and ".." removed, and each component
// matched case-blind to an existing entry where the exact one is missing.
CString ResolvePath(const char* name);
// The same path as the system names it (UTF-8), for the platform's readers
// that open files themselves: exact even where a directory's name is one
// the code page cannot hold.
std::string ResolveSystemPath(const char* name);
// dir + "/" + name, without doubling separators; name alone when absolute.
CString JoinPath(const char* dir, const char* name);
// The parts of a path: directory (with its trailing separator), base name
// and extension (with its dot). Any output may be null.
void SplitPath(const char* path, CString* dir, CString* baseName, CString* extension);

BOOL FileExists(const char* name);  // an existing regular file
BOOL DirectoryExists(const char* name);
// Creates the directory and any missing parents; TRUE when it exists afterwards.
BOOL CreateDir(const char* path);
BOOL DeleteFile(const char* name);  // TRUE when a file was removed
// Removes an empty directory; FALSE when it is missing or not empty.
BOOL RemoveDir(const char* path);
// Puts the file `from` in the place of `to` in one step (an existing `to`
// is replaced); FALSE when that cannot be done, both files then unchanged.
BOOL ReplaceFile(const char* from, const char* to);
// Regular files whose names match the pattern ("*" and "?" wildcards, ASCII
// case-blind). The pattern may carry a directory ("Savegame\*.asg"); names
// come back without it, sorted by name.
std::vector<CString> ListFiles(const char* pattern);
std::vector<CString> ListFiles(const char* directory, const char* pattern);

// Opens the file, lets the object read itself through a loading archive
// (4096-byte buffer) and closes it. Answers FALSE with the open error's text
// when the file cannot be opened. Archive exceptions raised while the object
// reads pass to the caller.
BOOL LoadObjectFromFile(const char* fileName, CObject& object, CString& errorText);
BOOL LoadObjectFromFile(CObject* object, const CString& fileName);
