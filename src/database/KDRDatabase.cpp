#include "database/KDRDatabase.h"

IMPLEMENT_SERIAL(CKDRDatabase, CObject, 1)

CKDRDatabase::CKDRDatabase() = default;

CKDRDatabase::~CKDRDatabase() = default;

void CKDRDatabase::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strWeaponList;
        ar << m_strVehicleList;
        ar << m_strPieceList;
        ar << m_strSoundList;
        ar << m_strSpare;
    }
    else
    {
        ar >> m_strWeaponList;
        ar >> m_strVehicleList;
        ar >> m_strPieceList;
        ar >> m_strSoundList;
        ar >> m_strSpare;
    }
}

BOOL CKDRDatabase::ReloadLists() { return TRUE; }

void CKDRDatabase::WriteIndexPage() {}
