#include "battlefield/KDRObstacles.h"

IMPLEMENT_SERIAL(CKDRObstacles, CObject, 1)

CKDRObstacles::CKDRObstacles() : m_strFilter("*.obs") {}

CKDRObstacles::~CKDRObstacles() = default;

void CKDRObstacles::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strFilter;
        ar << m_strSide2Name;
        ar << m_strSide1Name;
        ar << m_strSide0Name;
    }
    else
    {
        ar >> m_strFilter;
        ar >> m_strSide2Name;
        ar >> m_strSide1Name;
        ar >> m_strSide0Name;
    }
}

BOOL CKDRObstacles::LoadByName(CKDRGameMap* /*pMap*/)
{
    return TRUE;
}

BOOL CKDRObstacles::LoadObstacleArray(int /*nSide*/, const CString& /*strName*/, CKDRGameMap* /*pMap*/)
{
    return TRUE;
}

void CKDRObstacles::FixUpAfterLoad(CKDRGameMap* /*pMap*/) {}
