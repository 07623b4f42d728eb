#include "platform/core/File.h"

#include "platform/core/Archive.h"
#include "platform/core/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace
{
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Names cross to the system as UTF-8 and come back from it as code-page
// text. Everything between (the current directory, resolved paths) stays
// in the system's own bytes, so a directory whose name the code page
// cannot hold still serves the relative names beneath it.
std::string ToSystemName(const char* name) { return CodePageToUtf8(name ? name : ""); }

CString FromSystemName(const std::string& name)
{
    CString text;
    Utf8ToCodePage(name, text);
    return text;
}

struct CurrentDirectory
{
    std::mutex mutex;
    std::string path;
};

CurrentDirectory& GetCurrentDirectoryState()
{
    static CurrentDirectory state;
    return state;
}

std::string CurrentDirString()
{
    CurrentDirectory& state = GetCurrentDirectoryState();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.path.empty())
    {
        std::error_code ec;
        fs::path cwd = fs::current_path(ec);
        state.path = ec ? std::string("/") : cwd.generic_string();
    }
    return state.path;
}

// The name's components as an absolute path: separators unified, "." and
// ".." applied, relative names placed under the current directory.
std::vector<std::string> AbsoluteComponents(const std::string& name)
{
    std::string full = name;
    std::replace(full.begin(), full.end(), '\\', '/');
    if (full.empty() || full[0] != '/')
        full = CurrentDirString() + "/" + full;
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= full.size())
    {
        size_t next = full.find('/', pos);
        if (next == std::string::npos)
            next = full.size();
        std::string part = full.substr(pos, next - pos);
        if (part == "..")
        {
            if (!parts.empty())
                parts.pop_back();
        }
        else if (!part.empty() && part != ".")
        {
            parts.push_back(part);
        }
        pos = next + 1;
    }
    return parts;
}

// The entry of dir whose name equals part without regard to case, both
// read as code-page text (so a name written in the code page's own bytes
// before names were UTF-8 is found too); the smallest such name when
// several do, empty when none.
std::string FindNoCase(const std::string& dir, const std::string& part)
{
    std::error_code ec;
    std::string best;
    fs::directory_iterator it(dir.empty() ? std::string("/") : dir, ec);
    if (ec)
        return best;
    const std::string wanted = FromSystemName(part).str();
    for (const fs::directory_entry& entry : it)
    {
        std::string entryName = entry.path().filename().string();
        if (EqualNoCase(FromSystemName(entryName).str(), wanted) && (best.empty() || entryName < best))
            best = entryName;
    }
    return best;
}

// The system's path for a code-page name.
std::string Resolve(const char* name)
{
    std::vector<std::string> parts = AbsoluteComponents(ToSystemName(name));
    std::string current;
    bool matching = true;
    for (const std::string& part : parts)
    {
        std::string candidate = current + "/" + part;
        if (matching)
        {
            std::error_code ec;
            if (!fs::exists(fs::symlink_status(candidate, ec)))
            {
                std::string real = FindNoCase(current, part);
                if (real.empty())
                    matching = false;  // nothing below can exist; keep the rest as given
                else
                    candidate = current + "/" + real;
            }
        }
        current = candidate;
    }
    return current.empty() ? std::string("/") : current;
}

bool WildcardMatch(const char* pattern, const char* text)
{
    // Iterative match with backtracking to the last '*'.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*text)
    {
        if (*pattern == '*')
        {
            star = pattern++;
            resume = text;
        }
        else if (*pattern == '?' || (*pattern && AsciiLower(*pattern) == AsciiLower(*text)))
        {
            ++pattern;
            ++text;
        }
        else if (star)
        {
            pattern = star + 1;
            text = ++resume;
        }
        else
        {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

const char* FileCauseText(int cause)
{
    switch (cause)
    {
    case CFileException::none: return "No error occurred";
    case CFileException::fileNotFound: return "was not found";
    case CFileException::badPath: return "has a path that is invalid";
    case CFileException::tooManyOpenFiles: return "could not be opened because too many files are open";
    case CFileException::accessDenied: return "could not be accessed";
    case CFileException::invalidFile: return "is not an open file";
    case CFileException::removeCurrentDir: return "is the current directory and cannot be removed";
    case CFileException::directoryFull: return "could not be created because the directory is full";
    case CFileException::badSeek: return "could not be positioned";
    case CFileException::hardIO: return "could not be read or written";
    case CFileException::sharingViolation: return "is in use";
    case CFileException::lockViolation: return "is locked";
    case CFileException::diskFull: return "could not be written because the disk is full";
    case CFileException::endOfFile: return "ended before all data was read";
    default: return "could not be accessed because of an unexpected error";
    }
}

CString CauseClause(int cause, LONG osError)
{
    if (cause == CFileException::accessDenied && osError == ENODEV)
        return CString("is not a regular file");
    return CString(FileCauseText(cause));
}

CString FileText(int cause, LONG osError, const CString& fileName)
{
    if (cause == CFileException::none)
        return CString("No error occurred.");
    CString name = fileName.IsEmpty() ? CString("The file") : CString("'") + fileName + "'";
    return name + " " + CauseClause(cause, osError) + ".";
}

int CauseFromErrno(int error, const std::string& path)
{
    switch (error)
    {
    case ENOENT:
    {
        std::error_code ec;
        fs::path parent = fs::path(path).parent_path();
        return fs::is_directory(parent, ec) ? CFileException::fileNotFound : CFileException::badPath;
    }
    case ENOTDIR:
    case ENAMETOOLONG: return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return CFileException::accessDenied;
    case EMFILE:
    case ENFILE: return CFileException::tooManyOpenFiles;
    case ENOSPC: return CFileException::diskFull;
    case EIO: return CFileException::hardIO;
    default: return CFileException::generic;
    }
}
}  // namespace

CFileException::CFileException(int cause, LONG osError, const CString& fileName)
    : CException(FileText(cause, osError, fileName)), m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

CString CFileException::GetReason() const { return CString("it ") + CauseClause(m_cause, m_lOsError); }

// ---------------------------------------------------------------- CFile

CFile::CFile(const char* fileName, UINT openFlags)
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        throw error;
}

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error)
{
    Abort();
    CString given = fileName ? fileName : "";
    std::string path = Resolve(fileName);
    auto fail = [&](int cause, int osError)
    {
        if (error)
            *error = CFileException(cause, osError, given);
        return FALSE;
    };
    if (given.IsEmpty())
        return fail(CFileException::badPath, 0);

    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    bool exists = fs::exists(status);
    if (fs::is_directory(status))
        return fail(CFileException::accessDenied, EISDIR);
    // Only regular files: opening a FIFO a file names would wait for a
    // writer for ever, and a device is no data file.
    if (exists && !fs::is_regular_file(status))
        return fail(CFileException::accessDenied, ENODEV);

    UINT access = openFlags & 3;
    bool create = (openFlags & modeCreate) != 0;
    bool truncate = create && !((openFlags & modeNoTruncate) && exists);
    const char* mode;
    if (access == modeRead)
        mode = create && truncate ? "w+b" : (create && !exists ? "w+b" : "rb");
    else if (truncate)
        mode = access == modeWrite ? "wb" : "w+b";
    else if (create && !exists)
        mode = "w+b";
    else
        mode = "r+b";

    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f)
        return fail(CauseFromErrno(errno, path), errno);
    struct stat opened;
    if (fstat(fileno(f), &opened) != 0 || !S_ISREG(opened.st_mode))
    {
        std::fclose(f);
        return fail(CFileException::accessDenied, ENODEV);
    }
    m_pStream = f;
    m_strFilePath = FromSystemName(path);
    m_lastOp = LastOp::none;
    return TRUE;
}

void CFile::SwitchTo(LastOp op)
{
    if (m_lastOp != LastOp::none && m_lastOp != op)
        std::fseek(m_pStream, 0, SEEK_CUR);
    m_lastOp = op;
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (!m_pStream)
        throw CFileException(CFileException::invalidFile, -1, m_strFilePath);
    if (count == 0)
        return 0;
    SwitchTo(LastOp::read);
    size_t got = std::fread(buffer, 1, count, m_pStream);
    if (got < count && std::ferror(m_pStream))
    {
        std::clearerr(m_pStream);
        throw CFileException(CFileException::hardIO, -1, m_strFilePath);
    }
    return static_cast<UINT>(got);
}

void CFile::Write(const void* buffer, UINT count)
{
    if (!m_pStream)
        throw CFileException(CFileException::invalidFile, -1, m_strFilePath);
    if (count == 0)
        return;
    SwitchTo(LastOp::write);
    errno = 0;
    size_t put = std::fwrite(buffer, 1, count, m_pStream);
    if (put != count)
    {
        int error = errno;
        std::clearerr(m_pStream);
        throw CFileException(error == ENOSPC ? CFileException::diskFull : CFileException::accessDenied, error,
                             m_strFilePath);
    }
}

LONG CFile::Seek(LONG offset, UINT from)
{
    if (!m_pStream)
        throw CFileException(CFileException::invalidFile, -1, m_strFilePath);
    int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
    long long base = whence == SEEK_SET ? 0
                                        : (whence == SEEK_CUR ? static_cast<long long>(GetPosition())
                                                              : static_cast<long long>(GetLength()));
    long long target = base + offset;
    if (target < 0 || target > 0x7FFFFFFFLL || std::fseek(m_pStream, static_cast<long>(target), SEEK_SET) != 0)
        throw CFileException(CFileException::badSeek, -1, m_strFilePath);
    m_lastOp = LastOp::none;
    return static_cast<LONG>(target);
}

DWORD CFile::GetLength() const
{
    if (!m_pStream)
        return 0;
    long here = std::ftell(m_pStream);
    std::fseek(m_pStream, 0, SEEK_END);
    long length = std::ftell(m_pStream);
    std::fseek(m_pStream, here, SEEK_SET);
    return length < 0 ? 0 : static_cast<DWORD>(length);
}

DWORD CFile::GetPosition() const
{
    if (!m_pStream)
        return 0;
    long here = std::ftell(m_pStream);
    return here < 0 ? 0 : static_cast<DWORD>(here);
}

void CFile::Flush()
{
    if (m_pStream && std::fflush(m_pStream) != 0)
        throw CFileException(CFileException::hardIO, errno, m_strFilePath);
}

void CFile::Close()
{
    if (!m_pStream)
        return;
    std::FILE* f = m_pStream;
    m_pStream = nullptr;
    m_lastOp = LastOp::none;
    if (std::fclose(f) != 0)
        throw CFileException(errno == ENOSPC ? CFileException::diskFull : CFileException::hardIO, errno, m_strFilePath);
}

void CFile::Abort()
{
    if (!m_pStream)
        return;
    std::fclose(m_pStream);
    m_pStream = nullptr;
    m_lastOp = LastOp::none;
}

CString CFile::GetFileName() const
{
    CString dir, base, ext;
    SplitPath(m_strFilePath, &dir, &base, &ext);
    return base + ext;
}

CString CFile::GetFileTitle() const
{
    CString base;
    SplitPath(m_strFilePath, nullptr, &base, nullptr);
    return base;
}

CString CFile::GetFilePath() const { return m_strFilePath; }

// ---------------------------------------------------------------- CMemFile

CMemFile::CMemFile(const BYTE* data, UINT size)
{
    if (data && size > 0)
        m_data.assign(data, data + size);
}

CMemFile::CMemFile(std::vector<BYTE> data) : m_data(std::move(data)) {}

BOOL CMemFile::Open(const char*, UINT, CFileException* error)
{
    if (error)
        *error = CFileException(CFileException::generic);
    return FALSE;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (m_position >= m_data.size() || count == 0)
        return 0;
    size_t n = std::min<size_t>(count, m_data.size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, n);
    m_position += n;
    return static_cast<UINT>(n);
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (m_position + count > 0xFFFFFFFFull)
        throw CFileException(CFileException::diskFull);
    if (m_position + count > m_data.size())
        m_data.resize(m_position + count);
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position += count;
}

LONG CMemFile::Seek(LONG offset, UINT from)
{
    long long base = from == current ? static_cast<long long>(m_position)
                                     : (from == end ? static_cast<long long>(m_data.size()) : 0);
    long long target = base + offset;
    if (target < 0 || target > 0x7FFFFFFFLL)
        throw CFileException(CFileException::badSeek);
    m_position = static_cast<size_t>(target);
    return static_cast<LONG>(target);
}

void CMemFile::Close() { m_position = 0; }

std::vector<BYTE> CMemFile::Detach()
{
    std::vector<BYTE> out;
    out.swap(m_data);
    m_position = 0;
    return out;
}

// ---------------------------------------------------------------- directories

CString GetCurrentDir() { return FromSystemName(CurrentDirString()); }

BOOL SetCurrentDir(const char* path)
{
    if (!path || !*path)
        return FALSE;
    std::string resolved = Resolve(path);
    std::error_code ec;
    if (!fs::is_directory(resolved, ec))
        return FALSE;
    CurrentDirectory& state = GetCurrentDirectoryState();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.path = resolved;
    return TRUE;
}

CString ResolvePath(const char* name) { return FromSystemName(Resolve(name)); }

std::string ResolveSystemPath(const char* name) { return Resolve(name); }

CString JoinPath(const char* dir, const char* name)
{
    CString d = dir ? dir : "";
    CString n = name ? name : "";
    if (n.IsEmpty())
        return d;
    if (d.IsEmpty() || IsSeparator(n[0]))
        return n;
    if (IsSeparator(d[d.GetLength() - 1]))
        return d + n;
    return d + "/" + n;
}

void SplitPath(const char* path, CString* dir, CString* baseName, CString* extension)
{
    CString p = path ? path : "";
    int cut = -1;
    for (int i = p.GetLength() - 1; i >= 0; --i)
    {
        if (IsSeparator(p[i]))
        {
            cut = i;
            break;
        }
    }
    CString name = p.Mid(cut + 1);
    int dot = name.ReverseFind('.');
    if (dir)
        *dir = p.Left(cut + 1);
    if (baseName)
        *baseName = dot < 0 ? name : name.Left(dot);
    if (extension)
        *extension = dot < 0 ? CString() : name.Mid(dot);
}

BOOL FileExists(const char* name)
{
    std::error_code ec;
    return name && *name && fs::is_regular_file(Resolve(name), ec);
}

BOOL DirectoryExists(const char* name)
{
    std::error_code ec;
    return name && *name && fs::is_directory(Resolve(name), ec);
}

BOOL CreateDir(const char* path)
{
    if (!path || !*path)
        return FALSE;
    std::string resolved = Resolve(path);
    std::error_code ec;
    fs::create_directories(resolved, ec);
    return fs::is_directory(resolved, ec);
}

BOOL DeleteFile(const char* name)
{
    if (!name || !*name)
        return FALSE;
    std::string resolved = Resolve(name);
    std::error_code ec;
    if (!fs::is_regular_file(resolved, ec))
        return FALSE;
    return fs::remove(resolved, ec) && !ec;
}

BOOL RemoveDir(const char* path)
{
    if (!path || !*path)
        return FALSE;
    std::string resolved = Resolve(path);
    std::error_code ec;
    if (!fs::is_directory(resolved, ec) || !fs::is_empty(resolved, ec) || ec)
        return FALSE;
    return fs::remove(resolved, ec) && !ec;
}

BOOL ReplaceFile(const char* from, const char* to)
{
    if (!from || !*from || !to || !*to)
        return FALSE;
    std::error_code ec;
    fs::rename(Resolve(from), Resolve(to), ec);
    return !ec;
}

std::vector<CString> ListFiles(const char* directory, const char* pattern)
{
    std::vector<CString> names;
    std::string dir = Resolve(directory && *directory ? directory : ".");
    std::string filePattern = pattern && *pattern ? pattern : "*";
    if (filePattern == "*.*")
        filePattern = "*";
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec)
        return names;
    for (const fs::directory_entry& entry : it)
    {
        std::error_code entryError;
        if (!entry.is_regular_file(entryError))
            continue;
        // A name the code page cannot hold could not be opened again by
        // the name the list would give, so it is not listed.
        CString entryName;
        if (!Utf8ToCodePage(entry.path().filename().string(), entryName))
            continue;
        if (WildcardMatch(filePattern.c_str(), entryName))
            names.push_back(std::move(entryName));
    }
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) { return a.str() < b.str(); });
    return names;
}

std::vector<CString> ListFiles(const char* pattern)
{
    CString dir, base, ext;
    SplitPath(pattern, &dir, &base, &ext);
    return ListFiles(dir.IsEmpty() ? "." : dir.GetString(), base + ext);
}

// ---------------------------------------------------------------- loading

BOOL LoadObjectFromFile(const char* fileName, CObject& object, CString& errorText)
{
    CFile file;
    CFileException error;
    if (!file.Open(fileName, CFile::modeRead | CFile::shareDenyWrite, &error))
    {
        errorText = error.GetErrorText();
        return FALSE;
    }
    CArchive ar(&file, CArchive::load, 4096);
    object.Serialize(ar);
    ar.Close();
    file.Close();
    errorText.Empty();
    return TRUE;
}

BOOL LoadObjectFromFile(CObject* object, const CString& fileName)
{
    if (!object)
        return FALSE;
    CString ignored;
    return LoadObjectFromFile(fileName, *object, ignored);
}
