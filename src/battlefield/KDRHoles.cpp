#include "battlefield/KDRHoles.h"

IMPLEMENT_SERIAL(CKDRHoles, CObject, 1)

CKDRHoles::CKDRHoles() : m_strFilter("*.hol") {}

CKDRHoles::~CKDRHoles() = default;

void CKDRHoles::Serialize(CArchive& ar)
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

BOOL CKDRHoles::LoadByName(CKDRGameMap* /*pMap*/)
{
    return TRUE;
}

BOOL CKDRHoles::LoadHoleArray(int /*nSide*/, const CString& /*strName*/, CKDRGameMap* /*pMap*/)
{
    return TRUE;
}

void CKDRHoles::FixUpAfterLoad(CKDRGameMap* /*pMap*/) {}

void CKDRHoles::AssignOccupants(CKDRUnits* /*pUnits*/, CKDRGameMap* /*pMap*/) {}
