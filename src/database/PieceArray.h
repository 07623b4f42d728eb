#pragma once
// CPieceArray: an ordered, owning collection of pieces and piece lists, the
// form of both the equipment database's piece array file ("*.pca") and the
// application's symbol catalogue. Drawing code finds a graphic by its name
// (FindPiece, FindGraphic) or by a member name (FindInLists) and takes it
// with GetPiece, which first brings back a surface the display lost.
//
// Archive form ("*.pca"): the object array (class-tagged CPiece and
// CPieceList records), then the array's file name. A file that turns out
// bad leaves the array as it was and raises the archive exception.

#include "database/Piece.h"
#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"

// The answer of the look-ups that found nothing.
constexpr int PIECE_NOT_FOUND = -1;

class CPieceArray : public CObject
{
    DECLARE_SERIAL(CPieceArray)
public:
    // The kinds of FindGraphic.
    static constexpr int kSinglePiece = 0;
    static constexpr int kListMember = 1;

    CPieceArray() = default;
    CPieceArray(const CPieceArray&) = delete;
    CPieceArray& operator=(const CPieceArray&) = delete;

    void Serialize(CArchive& ar) override;

    // Reads a "*.pca" file, named relative to the data directory, which it
    // makes current and keeps for restoring lost surfaces. While the file
    // does not open, a file dialog offers another; Cancel fails the load
    // (0). The name that opened becomes the array's file name.
    BOOL LoadFromFile(const CString& name, const CString& strDataDir);
    // The directory the pieces' bitmaps are read from again when the
    // display loses their surfaces.
    void SetDataDir(const CString& strDataDir) { m_strDataDir = strDataDir; }

    // Takes ownership; answers the index.
    int Add(CPiece* pPiece) { return m_pieces.Add(pPiece); }
    int GetSize() const { return m_pieces.GetSize(); }
    const CString& GetFileName() const { return m_strFileName; }
    void SetFileName(const CString& name) { m_strFileName = name; }

    // Null outside the array; a lost surface is restored first.
    CPiece* GetPiece(int index) const;
    // The first element (single piece or list) of that name; PIECE_NOT_FOUND.
    int FindPiece(const CString& name) const;
    // kSinglePiece: the first single piece of that name; any other kind: the
    // first list with that member. PIECE_NOT_FOUND when none.
    int FindGraphic(int kind, const CString& name) const;
    // The first list with that member, its position (frame) written to
    // *position; kUnset when none (*position then holds
    // kUnset when any list was searched).
    int FindInLists(const CString& name, int* position) const;
    // The piece a drawing names: the list that carries the member (its
    // position to *frame), else the single piece of that name (frame 0);
    // null when neither exists.
    CPiece* FindNamedPicture(const CString& name, int* frame) const;
    // The list that carries the member and its frame moved on by offset, for
    // animations that step from a named frame. Null when no list has the
    // member or the frame falls outside the sheet.
    CPiece* FindListFrame(const CString& name, int offset, int* frame) const;

    // Lists the bitmaps that did not load in a report window owned by the
    // main window; answers whether any was missing.
    BOOL ReportMissingFiles() const;
    // The text ReportMissingFiles shows (empty when every bitmap loaded).
    CString BuildMissingFilesReport() const;

private:
    TypedObArray<CPiece> m_pieces;
    CString m_strFileName;
    CString m_strDataDir;
};
