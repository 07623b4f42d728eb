#include "database/Piece.h"

#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"

IMPLEMENT_SERIAL(CPiece, CObject, 1)
IMPLEMENT_SERIAL(CPieceList, CPiece, 1)

// ---------------------------------------------------------------------------
// CPiece

CPiece::CPiece() = default;

CPiece::CPiece(const CString& bitmapFile, const CString& name, int rows, int columns, int frameCount, int flag)
{
    // Without a display the piece stays empty, as one that was never made.
    if (GetDisplay() == nullptr)
        return;
    m_strBitmapFile = bitmapFile;
    m_strName = name;
    m_nRows = rows;
    m_nColumns = columns;
    m_nFrameCount = frameCount;
    m_bFlag = flag != 0;
    LoadSurface();
}

CPiece::~CPiece() { FreeSurface(); }

CDisplay* CPiece::GetDisplay()
{
    const CDrawService* pDraw = GetDrawService();
    if (pDraw == nullptr || !pDraw->IsDisplayReady())
        return nullptr;
    return pDraw->GetDisplay();
}

CStringArray* CPiece::GetMemberNames() { return nullptr; }

void CPiece::AppendMemberNames(CStringArray& /*names*/) {}

void CPiece::FreeSurface()
{
    delete m_pSurface;
    m_pSurface = nullptr;
    m_bLoaded = FALSE;
}

void CPiece::LoadSurface()
{
    FreeSurface();
    CDisplay* pDisplay = GetDisplay();
    if (pDisplay == nullptr)
        return;
    m_pSurface = new CFrameSurface(pDisplay, m_strBitmapFile, m_nColumns, m_nRows, m_nFrameCount);
    m_bLoaded = m_pSurface->IsLoaded();
}

CString CPiece::GetLoadError() const
{
    return m_pSurface != nullptr && !m_bLoaded ? m_pSurface->GetLoadError() : CString();
}

BOOL CPiece::HasFrame(int frame) const
{
    if (!IsLoaded() || frame < 0 || frame >= m_nFrameCount)
        return FALSE;
    // The sheet itself may hold fewer frames than the record claims.
    return frame < m_pSurface->GetColumns() * m_pSurface->GetRows() && !m_pSurface->GetFrameRect(frame).IsRectEmpty();
}

void CPiece::RestoreIfLost(const CString& strDataDir)
{
    if (!IsLoaded() || !m_pSurface->IsLost())
        return;
    SetCurrentDir(strDataDir);
    m_pSurface->Restore();
}

void CPiece::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strBitmapFile;
        ar << m_strName;
        ar << static_cast<short>(m_nRows);
        ar << static_cast<short>(m_nColumns);
        ar << static_cast<short>(m_nFrameCount);
        ar << static_cast<short>(m_bFlag ? 1 : 0);
    }
    else
    {
        short nRows = 0;
        short nColumns = 0;
        short nFrames = 0;
        short nFlag = 0;
        ar >> m_strBitmapFile;
        ar >> m_strName;
        ar >> nRows;
        ar >> nColumns;
        ar >> nFrames;
        ar >> nFlag;
        m_nRows = nRows;
        m_nColumns = nColumns;
        m_nFrameCount = nFrames;
        m_bFlag = nFlag != 0;
        LoadSurface();
    }
}

// ---------------------------------------------------------------------------
// CPieceList

CPieceList::CPieceList(const CString& bitmapFile, const CString& name, int rows, int columns, int frameCount, int flag,
                       const CStringArray* memberNames)
    : CPiece(bitmapFile, name, rows, columns, frameCount, flag)
{
    if (memberNames != nullptr)
        m_memberNames.Copy(*memberNames);
}

void CPieceList::AppendMemberNames(CStringArray& names) { names.Append(m_memberNames); }

int CPieceList::FindName(const CString& name) const
{
    for (int i = 0; i < m_memberNames.GetSize(); ++i)
    {
        if (m_memberNames[i] == name)
            return i;
    }
    return kUnset;
}

void CPieceList::Serialize(CArchive& ar)
{
    CPiece::Serialize(ar);
    m_memberNames.Serialize(ar);
}
