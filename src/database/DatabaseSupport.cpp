#include "database/DatabaseSupport.h"

#include "database/KDRDatabase.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"
#include "shell/SoundService.h"

const char* const DB_NONE_PARAGRAPH =
    "<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><B>None</B></FONT></FONT>\r\n</P>\r\n";
const char* const DB_LINK_OPEN = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><A HREF=\"";
const char* const DB_LINK_CLOSE = "</A></FONT></FONT><BR>\r\n";

void ThrowBadFormat(const CArchive& ar)
{
    throw CArchiveException(CArchiveException::badIndex,
                            ar.GetFile() != nullptr ? ar.GetFile()->GetFilePath() : CString());
}

CString MakeLinkLine(const CString& target, const CString& label)
{
    return CString(DB_LINK_OPEN) + target + "\">" + label + DB_LINK_CLOSE;
}

void MakeDataDirectoryCurrent(const CKDRDatabase* pDatabase)
{
    if (pDatabase != nullptr)
        SetCurrentDir(pDatabase->GetDataDir());
}

void MakeSavegameDirectoryCurrent(const CKDRDatabase* pDatabase)
{
    if (pDatabase != nullptr)
        SetCurrentDir(pDatabase->GetSavegameDir());
}

CString GetDataDirectory(const CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || pDatabase->GetDataDir().IsEmpty())
        return GetCurrentDir();
    return pDatabase->GetDataDir();
}

BOOL OpenListFile(CFile& file, CString& name, const char* ext, const CString& strDataDir)
{
    SetCurrentDir(strDataDir);
    const CString strPattern = CString("*.") + ext;
    CString strName = name;
    while (!file.Open(strName, CFile::modeRead))
    {
        CFileDialog dialog(TRUE, ext, strPattern, OFN_HIDEREADONLY);
        dialog.SetMissingFile(strName);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        CString strFolder;
        SplitPath(ResolvePath(dialog.GetPathName()), &strFolder, nullptr, nullptr);
        if (ResolvePath(strFolder) == ResolvePath(GetCurrentDir()))
            strName = dialog.GetFileName();
        else
            strName = dialog.GetPathName();
    }
    name = strName;
    return TRUE;
}

BOOL ReadFileAskingForAnother(CObject& object, CString& name, const CString& strDataDir, const char* pszExt,
                              const char* pszInitialName, DWORD dwFlags, const char* pszFilter)
{
    SetCurrentDir(strDataDir);
    CString strName = name;
    CFile file;
    while (!file.Open(strName, CFile::modeRead))
    {
        SetCurrentDir(strDataDir);
        CFileDialog dialog(TRUE, pszExt, pszInitialName, dwFlags, pszFilter);
        dialog.SetMissingFile(strName);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        strName = dialog.GetPathName();
    }
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        object.Serialize(ar);
        ar.Close();
    }
    catch (...)
    {
        file.Abort();
        throw;
    }
    file.Close();
    name = strName;
    return TRUE;
}

BOOL IsSoundDefined(int kind, const CString& name)
{
    const CSoundService* pSound = GetSoundService();
    return pSound != nullptr && pSound->IsSoundDefined(kind, name);
}

CString MakeUndefinedLine(const CString& what, const CString& name)
{
    return "The " + what + ", " + name + ", is undefined\r\n";
}
