#include "database/PieceArray.h"

#include "database/DatabaseSupport.h"
#include "platform/core/File.h"
#include "platform/ui/App.h"
#include "platform/ui/UiService.h"
#include "shell/ReportService.h"

IMPLEMENT_SERIAL(CPieceArray, CObject, 1)

namespace
{
const char* const MISSING_FILES_HEADER = "FILES NAMED IN PIECE ARRAY NOT FOUND!\r\n\r\n";
}  // namespace

void CPieceArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        m_pieces.Serialize(ar);
        ar << m_strFileName;
        return;
    }
    // Read aside first, so that a bad file leaves the array as it was.
    TypedObArray<CPiece> loaded;
    loaded.Serialize(ar);
    CString strFileName;
    ar >> strFileName;
    // The old pieces go with the local array.
    m_pieces.Swap(loaded);
    m_strFileName = strFileName;
}

BOOL CPieceArray::LoadFromFile(const CString& name, const CString& strDataDir)
{
    m_strDataDir = strDataDir;
    CString strName = name;
    // Cancel always ends the load: asking again for a name that already
    // failed would leave the user no way out but a file that opens.
    if (!ReadFileAskingForAnother(*this, strName, m_strDataDir, "pca", "*.pca", OFN_HIDEREADONLY))
        return FALSE;
    m_strFileName = strName;
    return TRUE;
}

CPiece* CPieceArray::GetPiece(int index) const
{
    CPiece* pPiece = m_pieces.GetAt(index);
    if (pPiece != nullptr)
        pPiece->RestoreIfLost(m_strDataDir);
    return pPiece;
}

int CPieceArray::FindPiece(const CString& name) const
{
    for (int i = 0; i < m_pieces.GetSize(); ++i)
    {
        const CPiece* pPiece = m_pieces.GetAt(i);
        if (pPiece != nullptr && pPiece->GetName() == name)
            return i;
    }
    return PIECE_NOT_FOUND;
}

int CPieceArray::FindGraphic(int kind, const CString& name) const
{
    for (int i = 0; i < m_pieces.GetSize(); ++i)
    {
        CPiece* pPiece = m_pieces.GetAt(i);
        if (pPiece == nullptr)
            continue;
        auto* pList = dynamic_cast<CPieceList*>(pPiece);
        if (kind == kSinglePiece)
        {
            if (pList == nullptr && pPiece->GetName() == name)
                return i;
        }
        else if (pList != nullptr && pList->FindName(name) != kUnset)
        {
            return i;
        }
    }
    return PIECE_NOT_FOUND;
}

int CPieceArray::FindInLists(const CString& name, int* position) const
{
    for (int i = 0; i < m_pieces.GetSize(); ++i)
    {
        CPiece* pPiece = m_pieces.GetAt(i);
        auto* pList = dynamic_cast<CPieceList*>(pPiece);
        if (pList == nullptr)
            continue;
        pList->RestoreIfLost(m_strDataDir);
        const int found = pList->FindName(name);
        if (position != nullptr)
            *position = found;
        if (found != kUnset)
            return i;
    }
    return kUnset;
}

CPiece* CPieceArray::FindNamedPicture(const CString& name, int* frame) const
{
    int position = 0;
    int index = FindInLists(name, &position);
    if (index == kUnset)
    {
        position = 0;
        index = FindPiece(name);
    }
    if (frame != nullptr)
        *frame = position;
    return GetPiece(index);
}

CPiece* CPieceArray::FindListFrame(const CString& name, int offset, int* frame) const
{
    int position = kUnset;
    const int index = FindInLists(name, &position);
    if (index == kUnset)
        return nullptr;
    CPiece* pList = GetPiece(index);
    const long long wanted = static_cast<long long>(position) + offset;
    if (pList == nullptr || wanted < 0 || wanted >= pList->GetFrameCount() ||
        !pList->HasFrame(static_cast<int>(wanted)))
        return nullptr;
    if (frame != nullptr)
        *frame = static_cast<int>(wanted);
    return pList;
}

CString CPieceArray::BuildMissingFilesReport() const
{
    CString strLines;
    for (int i = 0; i < m_pieces.GetSize(); ++i)
    {
        CPiece* pPiece = m_pieces.GetAt(i);
        if (pPiece == nullptr)
            continue;
        if (pPiece->IsLoaded())
        {
            pPiece->RestoreIfLost(m_strDataDir);
            continue;
        }
        // A bitmap that is there but does not read is not called missing.
        const CString strError = pPiece->GetLoadError();
        strLines +=
            "The file, '" + pPiece->GetBitmapFile() + "', named in the piece, '" + pPiece->GetName() +
            (strError.IsEmpty() ? CString("', was not found.\r\n") : "', could not be read: " + strError + ".\r\n");
    }
    if (strLines.IsEmpty())
        return strLines;
    return CString(MISSING_FILES_HEADER) + strLines;
}

BOOL CPieceArray::ReportMissingFiles() const
{
    const CString strReport = BuildMissingFilesReport();
    if (strReport.IsEmpty())
        return FALSE;
    if (CReportService* pReports = GetReportService())
        pReports->ShowReport(strReport);
    return TRUE;
}
