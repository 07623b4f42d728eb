#pragma once
// CPiece: a named map graphic, a bitmap cut into a sheet of animation frames
// (columns x rows, frame k at column k % columns and row k / columns) and
// loaded into a frame surface of the application's display. CPieceList is a
// sheet whose frames carry names, one member name per frame, so that one
// bitmap holds many small symbols.
//
// A piece loads its bitmap when it is made or read, relative to the current
// directory (the callers make the data directory current), and only while
// the application's display is ready. A bitmap that does not load leaves the
// piece in place, not loaded: it is found by name but nothing is drawn.
//
// Frame numbers come from names and counters of other code; HasFrame is the
// one test that a frame lies inside the sheet, against both the stated frame
// count and the grid of the loaded surface.
//
// Archive form (one record): bitmap file, name (strings), rows, columns,
// frame count, flag (signed 16-bit words); a piece list adds its member
// names as a string array.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"

class CDisplay;
class CFrameSurface;

class CPiece : public CObject
{
    DECLARE_SERIAL(CPiece)
public:
    CPiece();
    CPiece(const CString& bitmapFile, const CString& name, int rows, int columns, int frameCount, int flag);
    ~CPiece() override;
    CPiece(const CPiece&) = delete;
    CPiece& operator=(const CPiece&) = delete;

    // Null for a single piece; a piece list answers its member names. Code
    // tells lists from single pieces by this answer.
    virtual CStringArray* GetMemberNames();
    // A piece list appends its member names in order; a single piece nothing.
    virtual void AppendMemberNames(CStringArray& names);

    void Serialize(CArchive& ar) override;

    const CString& GetBitmapFile() const { return m_strBitmapFile; }
    const CString& GetName() const { return m_strName; }
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    int GetFrameCount() const { return m_nFrameCount; }
    BOOL GetFlag() const { return m_bFlag; }
    BOOL IsLoaded() const { return m_bLoaded && m_pSurface != nullptr; }
    // The sheet to draw from; null until the bitmap loaded.
    CFrameSurface* GetSurface() const { return IsLoaded() ? m_pSurface : nullptr; }
    // Why a bitmap that is there did not load; empty when it loaded or is missing.
    CString GetLoadError() const;

    // TRUE when the piece is loaded and frame is one of its frames.
    BOOL HasFrame(int frame) const;
    // When the display reports the surface lost: the data directory is made
    // current and the surface reloads its bitmap.
    void RestoreIfLost(const CString& strDataDir);

    // The display pieces load into: the application's, once it is ready.
    static CDisplay* GetDisplay();

protected:
    // (Re)creates the surface from the display with the stored values.
    void LoadSurface();
    void FreeSurface();

    CString m_strBitmapFile;
    CString m_strName;
    int m_nRows = 0;
    int m_nColumns = 0;
    int m_nFrameCount = 0;
    BOOL m_bFlag = FALSE;
    CFrameSurface* m_pSurface = nullptr;  // owned
    BOOL m_bLoaded = FALSE;
};

class CPieceList : public CPiece
{
    DECLARE_SERIAL(CPieceList)
public:
    // The position of a name that is not a member.

    CPieceList() = default;
    // Copies the member names (null: none).
    CPieceList(const CString& bitmapFile, const CString& name, int rows, int columns, int frameCount, int flag,
               const CStringArray* memberNames);

    CStringArray* GetMemberNames() override { return &m_memberNames; }
    void AppendMemberNames(CStringArray& names) override;
    // The member's position (its frame), kUnset when absent.
    int FindName(const CString& name) const;

    void Serialize(CArchive& ar) override;

private:
    CStringArray m_memberNames;
};
