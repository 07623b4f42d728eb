#include "platform/ui/Shell.h"

#include "platform/core/File.h"
#include "platform/ui/QtBridge.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace
{
bool IsAddress(const CString& file)
{
    const CString lower = [&]
    {
        CString s = file;
        s.MakeLower();
        return s;
    }();
    return lower.Find("http://") == 0 || lower.Find("https://") == 0 || lower.Find("mailto:") == 0 ||
           lower.Find("ftp://") == 0 || lower.Find("www.") == 0;
}
}  // namespace

HINSTANCE ShellExecute(HWND, const char* verb, const char* file, const char* parameters, const char* directory, int)
{
    CString name(file);
    name.Trim();
    if (name.IsEmpty())
        return SE_ERR_FNF;
    const CString action(verb ? verb : "open");
    if (!action.IsEmpty() && action.CompareNoCase("open") != 0)
        return SE_ERR_NOASSOC;

    if (IsAddress(name))
    {
        QUrl url = QUrl::fromUserInput(ToQString(name));
        if (!url.isValid())
            return SE_ERR_FNF;
        return QDesktopServices::openUrl(url) ? SE_SUCCESS : SE_ERR_NOASSOC;
    }
    if (name.Left(5).CompareNoCase("file:") == 0)
    {
        name = name.Mid(5);
        name.Replace('\\', '/');
        while (name.Left(2) == "//")
            name = name.Mid(1);
    }

    CString dir(directory);
    CString path = dir.IsEmpty() ? ResolvePath(name) : ResolvePath(JoinPath(ResolvePath(dir), name));
    if (!FileExists(path) && path.GetLength() > 4 && path.Right(4).CompareNoCase(".exe") == 0)
    {
        const CString bare = path.Left(path.GetLength() - 4);
        if (FileExists(bare))
            path = bare;
    }
    if (!FileExists(path))
    {
        CString parent;
        SplitPath(path, &parent, nullptr, nullptr);
        return DirectoryExists(parent) ? SE_ERR_FNF : SE_ERR_PNF;
    }
    const QFileInfo info(ToQString(path));
    if (info.isExecutable())
    {
        QStringList args;
        const CString params(parameters);
        if (!params.IsEmpty())
            args = QProcess::splitCommand(ToQString(params));
        const QString workDir = dir.IsEmpty() ? info.absolutePath() : ToQString(ResolvePath(dir));
        if (!QProcess::startDetached(info.absoluteFilePath(), args, workDir))
            return SE_ERR_ACCESSDENIED;
        return SE_SUCCESS;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? SE_SUCCESS : SE_ERR_NOASSOC;
}
