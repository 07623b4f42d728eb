#include "battlefield/KDRGameMap.h"

#include "battlefield/ElevationMap.h"

IMPLEMENT_SERIAL(CKDRGameMap, CObject, 1)

CKDRGameMap::CKDRGameMap() : m_strFileName("*.gmp") {}

CKDRGameMap::~CKDRGameMap()
{
    delete m_pElevationMap;
}

void CKDRGameMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nTileColumns);
        ar << static_cast<WORD>(m_nTileRows);
        ar << static_cast<WORD>(m_nTileCount);
        ar << m_strColorTiles;
        ar << m_strTileGrid;
        ar << m_strElevation;
        ar << m_strContourTiles;
        ar << m_strSpare;
        ar << m_strHelpMap;
        ar << m_strFileName;
    }
    else
    {
        short nColumns = 0, nRows = 0, nCount = 0;
        ar >> nColumns;
        ar >> nRows;
        ar >> nCount;
        m_nTileColumns = nColumns;
        m_nTileRows = nRows;
        m_nTileCount = nCount;
        ar >> m_strColorTiles;
        ar >> m_strTileGrid;
        ar >> m_strElevation;
        ar >> m_strContourTiles;
        ar >> m_strSpare;
        ar >> m_strHelpMap;
        ar >> m_strFileName;
    }
}

BOOL CKDRGameMap::LoadMapFiles(CDisplay* /*pDisplay*/)
{
    return TRUE;
}

BOOL CKDRGameMap::HasMapFiles() const
{
    return !m_strTileGrid.IsEmpty() || !m_strElevation.IsEmpty() || !m_strHelpMap.IsEmpty();
}
