#include "database/VehicleArray.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/IFAmmo.h"
#include "database/KillPercentage.h"
#include "database/PieceArray.h"
#include "database/VehicleCapability.h"
#include "database/VehicleWeapon.h"
#include "platform/core/File.h"
#include "shell/SoundService.h"

#include <utility>

IMPLEMENT_SERIAL(CVehicleArray, CObArray, 1)

namespace
{
const char* const UNDEFINED_SOUNDS_HEADER = "UNDEFINED SOUNDS FOUND IN VEHICLE ARRAY!\r\n\r\n";
const char* const UNDEFINED_PIECES_HEADER = "UNDEFINED PIECES FOUND IN VEHICLE ARRAY!\r\n\r\n";

// Appends the line when the name is set and the check finds it undefined.
BOOL CheckName(CString& report, const CString& name, BOOL bDefined, const char* what, const CString& vehicleName)
{
    if (name.IsEmpty() || bDefined)
        return FALSE;
    report += MakeUndefinedLine(what, vehicleName);
    return TRUE;
}
}  // namespace

CVehicleArray::CVehicleArray() : m_pAmmo(new CIFAmmoArray) {}

CVehicleArray::~CVehicleArray() { delete m_pAmmo; }

void CVehicleArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        TypedObArray<CVehicle>::Serialize(ar);
        m_pAmmo->Serialize(ar);
        ar << m_strVehicleListName;
        ar << m_strWeaponListName;
        return;
    }
    // Read aside first, so that a bad file leaves the list as it was.
    CVehicleArray loaded;
    loaded.TypedObArray<CVehicle>::Serialize(ar);
    loaded.m_pAmmo->Serialize(ar);
    ar >> loaded.m_strVehicleListName;
    ar >> loaded.m_strWeaponListName;
    // The old vehicles go with the local list.
    Swap(loaded);
    std::swap(m_pAmmo, loaded.m_pAmmo);
    m_strVehicleListName = loaded.m_strVehicleListName;
    m_strWeaponListName = loaded.m_strWeaponListName;
}

BOOL CVehicleArray::LoadFromFile(CString& name, const CString& strDataDir)
{
    CString strName = name;
    CFile file;
    if (!OpenListFile(file, strName, "veh", strDataDir))
        return FALSE;
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        Serialize(ar);
        ar.Close();
    }
    catch (...)
    {
        file.Abort();
        throw;
    }
    file.Close();
    m_strVehicleListName = strName;
    name = strName;
    return TRUE;
}

void CVehicleArray::FitToWeaponList(int weaponCount)
{
    const int nCount = weaponCount > 0 ? weaponCount : 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        CVehicle* pVehicle = GetAt(i);
        if (pVehicle == nullptr)
            continue;
        CVehicleWeaponArray* pMounts = pVehicle->GetChassisMounts();
        for (int j = pMounts->GetSize() - 1; j >= 0; --j)
        {
            const CVehicleWeapon* pMount = pMounts->GetAt(j);
            if (pMount == nullptr || pMount->m_nWeapon >= nCount)
                pMounts->RemoveAt(j);
        }
        CKillPercentageArray* pKills = pVehicle->GetKillPercentages();
        if (pKills->GetSize() > nCount)
            pKills->RemoveAt(nCount, pKills->GetSize() - nCount);
        while (pKills->GetSize() < nCount)
            pKills->Add(new CWeaponPercentages);
    }
}

CString CVehicleArray::WritePages(CKDRDatabase* pDatabase)
{
    CString strLinks;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CVehicle* pVehicle = GetAt(i))
            strLinks += pVehicle->WriteHTMLPage(pDatabase);
    }
    return strLinks;
}

void CVehicleArray::DeletePages()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CVehicle* pVehicle = GetAt(i))
            DeleteFile(CHTMLPage::MakePageName(pVehicle->m_strName));
    }
}

BOOL CVehicleArray::CheckSounds(CString& report)
{
    report = UNDEFINED_SOUNDS_HEADER;
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        CVehicle* pVehicle = GetAt(i);
        if (pVehicle == nullptr)
            continue;
        const CString& name = pVehicle->m_strName;
        const CString& destroyed = pVehicle->m_strDestroyedSound;
        const CString& sound = pVehicle->m_strVehicleSound;
        bFound |= CheckName(report, destroyed, IsSoundDefined(SOUND_KIND_VEHICLE, destroyed),
                            "Destroyed Sound for the vehicle", name);
        bFound |= CheckName(report, sound, IsSoundDefined(SOUND_KIND_VEHICLE, sound),
                            "Vehicle Sound for the vehicle", name);
        bFound |= pVehicle->GetCapabilities()->CheckSounds(report);
    }
    bFound |= m_pAmmo->CheckSounds(report);
    report += "\r\n";
    if (!bFound)
        report.Empty();
    return bFound;
}

BOOL CVehicleArray::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    report = UNDEFINED_PIECES_HEADER;
    BOOL bFound = FALSE;
    auto defined = [pPieces](int kind, const CString& graphic)
    { return pPieces != nullptr && pPieces->FindGraphic(kind, graphic) != PIECE_NOT_FOUND; };
    for (int i = 0; i < GetSize(); ++i)
    {
        CVehicle* pVehicle = GetAt(i);
        if (pVehicle == nullptr)
            continue;
        const CString& name = pVehicle->m_strName;
        const int single = CPieceArray::kSinglePiece;
        const int member = CPieceArray::kListMember;
        bFound |= CheckName(report, pVehicle->m_strDestroyedGraphic, defined(single, pVehicle->m_strDestroyedGraphic),
                            "Destroyed Graphic for the vehicle", name);
        bFound |= CheckName(report, pVehicle->m_strHitGraphic, defined(single, pVehicle->m_strHitGraphic),
                            "Hit Graphic for the vehicle", name);
        bFound |= CheckName(report, pVehicle->m_strPiece, defined(single, pVehicle->m_strPiece),
                            "Piece Graphic for the vehicle", name);
        bFound |= CheckName(report, pVehicle->m_strNatoPiece, defined(member, pVehicle->m_strNatoPiece),
                            "NATO Piece Graphic for the vehicle", name);
        bFound |= pVehicle->GetCapabilities()->CheckGraphics(report, pPieces);
    }
    bFound |= m_pAmmo->CheckGraphics(report, pPieces);
    report += "\r\n";
    if (!bFound)
        report.Empty();
    return bFound;
}
