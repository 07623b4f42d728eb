#pragma once
// What the equipment records share: the value that marks an unset field,
// the fixed texts of the equipment pages, the two directories their
// templates come from and their pages go to, the opening of a list file
// with its file-dialog loop, and the look-up of a sound by kind.

#include "platform/core/Archive.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

class CFile;
class CKDRDatabase;

// An unset index, limit or value of the equipment records.

// The records store most integers as signed 16-bit words and read them
// back sign-extended; flags go as a 0/1 word, and on reading a non-zero
// word sets the flag while a zero word leaves it as it was.
inline void StoreWord(CArchive& ar, int value) { ar << static_cast<short>(value); }
inline int LoadWord(CArchive& ar)
{
    short value = 0;
    ar >> value;
    return value;
}
inline void StoreFlag(CArchive& ar, BOOL flag) { ar << static_cast<short>(flag ? 1 : 0); }
inline void LoadFlag(CArchive& ar, BOOL& flag)
{
    if (LoadWord(ar) != 0)
        flag = TRUE;
}

// Refuses a record whose stored values cannot be right (a negative count,
// nesting past its limit) with the archive's "Invalid file format" error.
[[noreturn]] void ThrowBadFormat(const CArchive& ar);

// The paragraph a page shows where a list has nothing to show.
extern const char* const DB_NONE_PARAGRAPH;
// The opening and closing of every link line of the pages.
extern const char* const DB_LINK_OPEN;
extern const char* const DB_LINK_CLOSE;

// A link line to a page: the link opening, target, "\">", label and the
// closing. The target is a page name (CHTMLPage::MakePageName) or, for a
// section of the same page, "#" and its anchor.
CString MakeLinkLine(const CString& target, const CString& label);

// The database's data directory holds the templates, its saved-game
// directory the written pages (CKDRDatabase::SetDirectories); without a
// database, or before it was handed its directories, the current directory
// stays.
void MakeDataDirectoryCurrent(const CKDRDatabase* pDatabase);
void MakeSavegameDirectoryCurrent(const CKDRDatabase* pDatabase);
// The data directory, or the current directory when none is known.
CString GetDataDirectory(const CKDRDatabase* pDatabase);

// Opens a list file by name in the data directory, which it makes current.
// While the file does not open a file dialog (default extension ext,
// initial name "*." + ext) offers another; Cancel fails the open (FALSE),
// so a user is never held in the dialog by a name that will not open. A
// file chosen in the data directory is named without its folder, as a
// scenario names it; one chosen elsewhere keeps its full path.
BOOL OpenListFile(CFile& file, CString& name, const char* ext, const CString& strDataDir);

// Reads the object from the named file of the data directory, which it
// makes current. While the file does not open a file dialog (default
// extension, initial name, flags and filter as given) offers another;
// Cancel fails the load (FALSE). The name becomes the file read. A file
// that cannot be read throws the archive's exception once it is let go.
BOOL ReadFileAskingForAnother(CObject& object, CString& name, const CString& strDataDir, const char* pszExt,
                              const char* pszInitialName, DWORD dwFlags, const char* pszFilter = nullptr);

// Whether the sound service knows the sound in the list of that kind
// (SOUND_KIND_WEAPON ...); FALSE without one.
BOOL IsSoundDefined(int kind, const CString& name);

// The line of a definition check: "The " + what + ", " + name + ", is
// undefined\r\n".
CString MakeUndefinedLine(const CString& what, const CString& name);
