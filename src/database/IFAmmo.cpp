#include "database/IFAmmo.h"

#include "platform/core/Archive.h"
#include "platform/core/File.h"

IMPLEMENT_SERIAL(CIFAmmoArray, CObArray, 1)

void CIFAmmoArray::Serialize(CArchive& ar)
{
    CObArray::Serialize(ar);
    if (ar.IsLoading() && GetSize() > 0)
    {
        // No munition class exists to take the records.
        RemoveAll();
        throw CArchiveException(CArchiveException::badClass,
                                ar.GetFile() != nullptr ? ar.GetFile()->GetFilePath() : CString());
    }
}

CString CIFAmmoArray::WritePages(CKDRDatabase*) { return CString(); }

void CIFAmmoArray::DeletePages() {}

BOOL CIFAmmoArray::CheckSounds(CString&) { return FALSE; }

BOOL CIFAmmoArray::CheckGraphics(CString&, CPieceArray*) { return FALSE; }
