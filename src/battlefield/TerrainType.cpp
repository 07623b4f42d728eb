#include "battlefield/TerrainType.h"

#include "platform/core/Archive.h"
#include "platform/ui/DC.h"

IMPLEMENT_SERIAL(CTerrainType, CObject, 1)

namespace
{
// Words in the file are signed 16-bit values widened to int.
int ReadSignedWord(CArchive& ar)
{
    short value = 0;
    ar >> value;
    return value;
}

void ReadColourSet(CArchive& ar, TerrainColourSet& set)
{
    set.red = ReadSignedWord(ar);
    set.green = ReadSignedWord(ar);
    set.blue = ReadSignedWord(ar);
    set.fillStyle = ReadSignedWord(ar);
    set.hideOutline = ReadSignedWord(ar) != 0 ? TRUE : FALSE;
}

void WriteColourSet(CArchive& ar, const TerrainColourSet& set)
{
    ar << static_cast<short>(set.red) << static_cast<short>(set.green) << static_cast<short>(set.blue);
    ar << static_cast<short>(set.fillStyle) << static_cast<short>(set.hideOutline ? 1 : 0);
}
}  // namespace

CTerrainType::CTerrainType() { SetColourSet(TRUE); }

CTerrainType::CTerrainType(const CString& name, float obscuration, int auxCode, int height, float speedFactor,
                           const TerrainColourSet& set1, const TerrainColourSet& set2)
    : m_strName(name),
      m_fObscuration(obscuration),
      m_nAuxCode(auxCode),
      m_nHeight(height),
      m_fSpeedFactor(speedFactor),
      m_set1(set1),
      m_set2(set2)
{
    SetColourSet(TRUE);
}

CTerrainType::~CTerrainType() { DeleteDrawingObjects(); }

void CTerrainType::DeleteDrawingObjects()
{
    delete m_pPen;
    m_pPen = nullptr;
    delete m_pBrush;
    m_pBrush = nullptr;
}

void CTerrainType::Serialize(CArchive& ar)
{
    m_capabilities.Serialize(ar);
    if (ar.IsStoring())
    {
        ar << static_cast<short>(m_nAuxCode) << static_cast<short>(m_nHeight);
        ar << m_fObscuration << m_fSpeedFactor;
        WriteColourSet(ar, m_set1);
        WriteColourSet(ar, m_set2);
        ar << m_strName;
    }
    else
    {
        m_nAuxCode = ReadSignedWord(ar);
        m_nHeight = ReadSignedWord(ar);
        ar >> m_fObscuration >> m_fSpeedFactor;
        ReadColourSet(ar, m_set1);
        ReadColourSet(ar, m_set2);
        ar >> m_strName;
        SetColourSet(TRUE);
    }
}

COLORREF CTerrainType::GetColour() const
{
    const TerrainColourSet& set = GetActiveColourSet();
    return RGB(set.red, set.green, set.blue);
}

void CTerrainType::SetColourSet(int useSet1)
{
    m_bSet1Active = useSet1 ? TRUE : FALSE;
    const TerrainColourSet& set = GetActiveColourSet();
    const COLORREF colour = RGB(set.red, set.green, set.blue);
    DeleteDrawingObjects();
    m_pPen = new CPen(PS_SOLID, 1, colour);
    if (set.fillStyle == kTerrainFillSolid)
        m_pBrush = new CBrush(colour);
    else if (set.fillStyle >= kTerrainFillHorizontal && set.fillStyle <= kTerrainFillLastHatch)
        m_pBrush = new CBrush(set.fillStyle, colour);
    // Any other style (a damaged file) fills nothing rather than guess.
}
