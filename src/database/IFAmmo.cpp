#include "database/IFAmmo.h"

#include "platform/core/Archive.h"
#include "platform/core/File.h"

IMPLEMENT_DYNAMIC(CIFAmmo, CObject)
IMPLEMENT_SERIAL(CIFAmmoArray, CObArray, 1)

void CIFAmmoArray::Serialize(CArchive& ar)
{
    CObArray::Serialize(ar);
    if (ar.IsLoading() && GetSize() > 0)
    {
        // Only null records get this far: no munition class exists yet.
        RemoveAll();
        ar.ThrowArchiveException(CArchiveException::badClass);
    }
}

CString CIFAmmoArray::WritePages(CKDRDatabase*) { return CString(); }

void CIFAmmoArray::DeletePages() {}

BOOL CIFAmmoArray::CheckSounds(CString&) { return FALSE; }

BOOL CIFAmmoArray::CheckGraphics(CString&, CPieceArray*) { return FALSE; }
