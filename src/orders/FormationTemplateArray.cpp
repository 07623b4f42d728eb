#include "orders/FormationTemplateArray.h"

#include "orders/NodeOrder.h"
#include "orders/RecordIO.h"
#include "platform/ui/UiService.h"

IMPLEMENT_SERIAL(CFormationPlatoonTemplate, CObject, 1)
IMPLEMENT_SERIAL(CFormationCompanyTemplate, CFormationPlatoonTemplate, 1)
IMPLEMENT_SERIAL(CFormationTemplateArray, CObArray, 1)

namespace
{
// Archive buffer of a template file read.
constexpr int FRM_READ_BUFFER = 4096;
// Bytes of the fixed tables, checked before they are read.
constexpr ULONGLONG SLOT_TABLE_BYTES = FORMATION_SLOTS * 24;
constexpr ULONGLONG POSITION_TABLE_BYTES = FORMATION_POSITIONS * 36;

void SerializePosition(CArchive& ar, CFormationCompanyTemplate::Position& p)
{
    if (ar.IsStoring())
    {
        ar << p.fX << p.fY << p.fThird << p.fFourth;
        record::WriteFlag(ar, p.bFlag);
    }
    else
    {
        ar >> p.fX >> p.fY >> p.fThird >> p.fFourth;
        record::ReadFlag(ar, p.bFlag);
    }
}
}  // namespace

void CFormationPlatoonTemplate::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int i = 0; i < FORMATION_SLOTS; ++i)
            ar << m_afSet1X[i] << m_afSet1Y[i] << m_anSet1Slot[i] << m_afSet0X[i] << m_afSet0Y[i] << m_anSet0Slot[i];
        ar << m_strName << static_cast<WORD>(m_dwTypeMask) << m_strIconName;
    }
    else
    {
        ar.EnsureBytesLeft(SLOT_TABLE_BYTES);
        for (int i = 0; i < FORMATION_SLOTS; ++i)
            ar >> m_afSet1X[i] >> m_afSet1Y[i] >> m_anSet1Slot[i] >> m_afSet0X[i] >> m_afSet0Y[i] >> m_anSet0Slot[i];
        WORD wMask = 0;
        ar >> m_strName >> wMask >> m_strIconName;
        m_dwTypeMask = wMask;
    }
}

void CFormationPlatoonTemplate::CopyFrom(const CFormationPlatoonTemplate& other)
{
    for (int i = 0; i < FORMATION_SLOTS; ++i)
    {
        m_afSet1X[i] = other.m_afSet1X[i];
        m_afSet1Y[i] = other.m_afSet1Y[i];
        m_anSet1Slot[i] = other.m_anSet1Slot[i];
        m_afSet0X[i] = other.m_afSet0X[i];
        m_afSet0Y[i] = other.m_afSet0Y[i];
        m_anSet0Slot[i] = other.m_anSet0Slot[i];
    }
    m_strName = other.m_strName;
    m_dwTypeMask = other.m_dwTypeMask;
    m_strIconName = other.m_strIconName;
}

void CFormationCompanyTemplate::Serialize(CArchive& ar)
{
    CFormationPlatoonTemplate::Serialize(ar);
    if (ar.IsLoading())
        ar.EnsureBytesLeft(POSITION_TABLE_BYTES);
    for (int k = 0; k < FORMATION_POSITIONS; ++k)
    {
        SerializePosition(ar, m_set1Positions[k]);
        SerializePosition(ar, m_set0Positions[k]);
    }
    for (int i = 0; i < FORMATION_SLOTS; ++i)
    {
        if (ar.IsStoring())
        {
            record::WriteWord(ar, m_anSet1Position[i]);
            ar << m_astrSet1Formation[i];
            record::WriteWord(ar, m_anSet0Position[i]);
            ar << m_astrSet0Formation[i];
        }
        else
        {
            m_anSet1Position[i] = record::ReadWord(ar);
            ar >> m_astrSet1Formation[i];
            m_anSet0Position[i] = record::ReadWord(ar);
            ar >> m_astrSet0Formation[i];
        }
    }
}

void CFormationCompanyTemplate::CopyFrom(const CFormationPlatoonTemplate& other)
{
    CFormationPlatoonTemplate::CopyFrom(other);
    const auto* pCompany = dynamic_cast<const CFormationCompanyTemplate*>(&other);
    if (pCompany == nullptr)
        return;
    for (int k = 0; k < FORMATION_POSITIONS; ++k)
    {
        m_set1Positions[k] = pCompany->m_set1Positions[k];
        m_set0Positions[k] = pCompany->m_set0Positions[k];
    }
    for (int i = 0; i < FORMATION_SLOTS; ++i)
    {
        m_anSet1Position[i] = pCompany->m_anSet1Position[i];
        m_astrSet1Formation[i] = pCompany->m_astrSet1Formation[i];
        m_anSet0Position[i] = pCompany->m_anSet0Position[i];
        m_astrSet0Formation[i] = pCompany->m_astrSet0Formation[i];
    }
}

void CFormationTemplateArray::Serialize(CArchive& ar)
{
    TypedObArray<CFormationPlatoonTemplate>::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strFileName;
    else
        ar >> m_strFileName;
}

int CFormationTemplateArray::LoadFile(const CString& fileName, const CString& strDataDir)
{
    CString name = fileName;
    SetCurrentDir(strDataDir);
    CFile file;
    while (name.IsEmpty() || !file.Open(name, CFile::modeRead | CFile::typeBinary))
    {
        SetCurrentDir(strDataDir);
        // Cancelling gives up, whether or not a file was chosen before.
        CFileDialog dialog(TRUE, "frm", "*.frm", OFN_HIDEREADONLY);
        dialog.SetMissingFile(name);
        if (dialog.DoModal() != IDOK)
            return 0;
        name = dialog.GetPathName();
    }
    CFormationTemplateArray loaded;
    try
    {
        CArchive ar(&file, CArchive::load, FRM_READ_BUFFER);
        loaded.Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        AfxMessageBox(CString("The formation templates \"") + name + "\" could not be read. " + e.GetErrorText(),
                      MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    RemoveAll();
    for (int i = 0; i < loaded.GetSize(); ++i)
        Add(loaded.GetAt(i));
    loaded.RemoveAllNoDelete();
    m_strFileName = name;
    return 1;
}

CFormationPlatoonTemplate* CFormationTemplateArray::FindByName(const CString& name) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (GetAt(i) != nullptr && GetAt(i)->m_strName == name)
            return GetAt(i);
    }
    return nullptr;
}

BOOL CFormationTemplateArray::GetNamesForLevel(int nLevel, CStringArray& names, int nMask) const
{
    if (nLevel != FORMATION_LEVEL_PLATOON && nLevel != FORMATION_LEVEL_COMPANY)
        return TRUE;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CFormationPlatoonTemplate* pTemplate = GetAt(i);
        if (pTemplate == nullptr || pTemplate->GetLevel() != nLevel)
            continue;
        const int nTypeMask = static_cast<int>(pTemplate->m_dwTypeMask);
        if ((nTypeMask & nMask) != 0 || (nMask <= 0 && nTypeMask <= 0))
            names.Add(pTemplate->m_strName);
    }
    return TRUE;
}

int CFormationTemplateArray::GetFormationIndex(const CString& name, int nLevel, int nMask) const
{
    if (name.IsEmpty())
        return -1;
    if (name == SUPPORT_BY_FIRE_NAME)
        return kUnset;
    CStringArray names;
    GetNamesForLevel(nLevel, names, nMask);
    for (int i = 0; i < names.GetSize(); ++i)
    {
        if (names[i] == name)
            return i;
    }
    return -1;
}

int CFormationTemplateArray::FindByNameAndLevel(const CString& name, int& nLevel) const
{
    if (name.IsEmpty())
        return kUnset;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CFormationPlatoonTemplate* pTemplate = GetAt(i);
        if (pTemplate == nullptr || pTemplate->m_strName != name)
            continue;
        const int nFound = pTemplate->GetLevel();
        if (nFound == FORMATION_LEVEL_PLATOON || nFound == FORMATION_LEVEL_COMPANY)
        {
            nLevel = nFound;
            return i;
        }
    }
    return -1;
}
