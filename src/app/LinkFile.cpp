#include "app/LinkFile.h"

#include "platform/core/File.h"

#include <vector>

const char* const LINK_KEYS[LINK_KEY_COUNT] = {
    "[about icon link]",         "[about text link]",
    "[arena post results link]", "[arena chat post link]",
    "[arena talk post link]",    "[arena post game link]",
    "[arena delete post link]",  "[arena get list link]",
    "[arena delete talk link]",  "[arena commanders list link]",
    "[version message]",
};

namespace
{
// A text file of addresses is small; a larger one is not a link file and is
// read only this far.
constexpr DWORD MAX_LINK_FILE_BYTES = 1 << 20;

// The parent of a directory path ("/run/Data" -> "/run").
CString ParentDirectory(const CString& dir)
{
    CString parent;
    CString trimmed = dir;
    trimmed.TrimRight("\\/");
    SplitPath(trimmed, &parent, nullptr, nullptr);
    if (parent.GetLength() > 1)
        parent.TrimRight("\\/");
    return parent;
}
}  // namespace

void ApplyLinkLine(CString line, CString* const apTargets[LINK_KEY_COUNT])
{
    for (int i = 0; i < LINK_KEY_COUNT; ++i)
    {
        if (line.Replace(LINK_KEYS[i], "") > 0 && apTargets[i] != nullptr)
            *apTargets[i] = line;
    }
}

void ReadLinkFile(const CString& strDataDir, CString* const apTargets[LINK_KEY_COUNT])
{
    // The start directory is taken from the data directory's path, so a
    // missing "Data" folder still finds the file beside where it should be.
    SetCurrentDir(strDataDir);
    const CString startDir = ParentDirectory(strDataDir);
    if (!startDir.IsEmpty())
        SetCurrentDir(startDir);

    CFile file;
    if (file.Open("link.txt", CFile::modeRead | CFile::typeText))
    {
        DWORD length = file.GetLength();
        if (length > MAX_LINK_FILE_BYTES)
            length = MAX_LINK_FILE_BYTES;
        std::vector<char> bytes(length);
        const UINT got = length == 0 ? 0 : file.Read(bytes.data(), length);
        file.Abort();

        UINT start = 0;
        while (start < got)
        {
            UINT end = start;
            while (end < got && bytes[end] != '\n')
                ++end;
            CString line(bytes.data() + start, static_cast<int>(end - start));
            line.Remove('\r');
            line.Remove('\n');
            if (line.IsEmpty())
                break;
            ApplyLinkLine(line, apTargets);
            start = end + 1;
        }
    }

    SetCurrentDir(strDataDir);
}
