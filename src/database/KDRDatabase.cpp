#include "database/KDRDatabase.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/IFAmmo.h"
#include "database/PieceArray.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "database/VehicleSpecsDlg.h"
#include "database/Weapon.h"
#include "platform/core/File.h"
#include "platform/ui/App.h"
#include "platform/ui/UiService.h"
#include "shell/ReportService.h"
#include "shell/SoundService.h"

#include <memory>

IMPLEMENT_SERIAL(CKDRDatabase, CObject, 1)

namespace
{
const char* const INDEX_PAGE = "index.htm";
const char* const WARNING_CAPTION = "Warning!";

// Deletes the pages a replaced list wrote, while the saved-game directory is current.
template <class List>
void DeleteListPages(const CKDRDatabase* pDatabase, List* pList)
{
    if (pList == nullptr)
        return;
    MakeSavegameDirectoryCurrent(pDatabase);
    pList->DeletePages();
    MakeDataDirectoryCurrent(pDatabase);
}

// Runs a loader's steps: a list file that turns out short or corrupt is
// reported with the archive's own message, and the load fails having
// changed nothing.
template <class Load>
BOOL GuardedLoad(const CKDRDatabase* pDatabase, Load load)
{
    try
    {
        return load();
    }
    catch (const CException& e)
    {
        AfxMessageBox(e.GetErrorText(), MB_OK | MB_ICONEXCLAMATION);
        MakeDataDirectoryCurrent(pDatabase);
        return FALSE;
    }
}
}  // namespace

CKDRDatabase::CKDRDatabase() : m_pPieces(new CPieceArray), m_pSpecsDlg(new CVehicleSpecsDlg) {}

void CKDRDatabase::SetDirectories(const CString& strDataDir, const CString& strSavegameDir)
{
    m_strDataDir = strDataDir;
    m_strSavegameDir = strSavegameDir;
}

CKDRDatabase::~CKDRDatabase()
{
    // Without its saved-game directory nothing is deleted from wherever the
    // current directory happens to be.
    if (m_bPagesWritten && !m_strSavegameDir.IsEmpty())
        DeletePages();
    if (m_bWeaponsLoaded)
        delete m_pWeapons;
    if (m_bVehiclesLoaded)
        delete m_pVehicles;
    delete m_pPieces;
    delete m_pSpecsDlg;
}

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

// ---------------------------------------------------------------------------
// Loading the lists

BOOL CKDRDatabase::ReloadLists()
{
    if (!m_strSoundList.IsEmpty() && !LoadSoundList(m_strSoundList))
        return FALSE;
    if (!m_strPieceList.IsEmpty() && !LoadPieceArray(m_strPieceList))
        return FALSE;
    if (!m_strWeaponList.IsEmpty() && !LoadWeaponList(m_strWeaponList))
        return FALSE;
    if (!m_strVehicleList.IsEmpty() && !LoadVehicleList(m_strVehicleList))
        return FALSE;
    return TRUE;
}

BOOL CKDRDatabase::Confirm(const char* text)
{
    return GetUiService().MessageBox(AfxGetMainWnd(), text, WARNING_CAPTION, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

BOOL CKDRDatabase::LoadWeaponList(const CString& name)
{
    return GuardedLoad(this, [&] { return LoadWeaponListFrom(name); });
}

BOOL CKDRDatabase::LoadVehicleList(const CString& name)
{
    return GuardedLoad(this, [&] { return LoadVehicleListFrom(name); });
}

BOOL CKDRDatabase::LoadSoundList(const CString& name)
{
    return GuardedLoad(this, [&] { return LoadSoundListFrom(name); });
}

BOOL CKDRDatabase::LoadPieceArray(const CString& name)
{
    return GuardedLoad(this, [&] { return LoadPieceArrayFrom(name); });
}

BOOL CKDRDatabase::LoadWeaponListFrom(const CString& name)
{
    if (m_bWeaponsLoaded && !Confirm("This will destroy the current weapon list."))
        return FALSE;
    auto pNew = std::make_unique<CWeaponArray>();
    if (!pNew->LoadFromFile(name, m_strDataDir))
        return FALSE;
    const CString strLoaded = pNew->m_strFileName;
    if (m_bVehiclesLoaded)
    {
        m_pVehicles->FitToWeaponList(pNew->GetSize());
        m_pVehicles->m_strWeaponListName = strLoaded;
    }
    if (m_bWeaponsLoaded)
    {
        if (m_bPagesWritten)
            DeleteListPages(this, m_pWeapons);
        delete m_pWeapons;
    }
    m_pWeapons = pNew.release();
    m_bWeaponsLoaded = TRUE;
    m_strWeaponList = strLoaded;
    return TRUE;
}

BOOL CKDRDatabase::LoadVehicleListFrom(const CString& name)
{
    if (m_bVehiclesLoaded && !Confirm("This will destroy the current vehicle list."))
        return FALSE;
    auto pNew = std::make_unique<CVehicleArray>();
    CString strName = name;
    if (!pNew->LoadFromFile(strName, m_strDataDir))
        return FALSE;

    // The vehicles' mounts and kill tables index the weapon list they name.
    const CString strWeapons = pNew->GetWeaponListName();
    if (m_bWeaponsLoaded)
    {
        if (strWeapons != m_pWeapons->m_strFileName &&
            GetUiService().MessageBox(AfxGetMainWnd(), "Do you want to reload the weapon list.", WARNING_CAPTION,
                                      MB_YESNO | MB_ICONQUESTION) == IDYES &&
            !LoadWeaponList(strWeapons))
            return FALSE;
    }
    else if (!LoadWeaponList(strWeapons))
    {
        return FALSE;
    }
    pNew->FitToWeaponList(m_pWeapons->GetSize());

    if (m_bVehiclesLoaded)
    {
        if (m_bPagesWritten)
        {
            DeleteListPages(this, m_pVehicles);
            DeleteListPages(this, m_pVehicles->GetAmmo());
        }
        delete m_pVehicles;
    }
    m_pVehicles = pNew.release();
    m_bVehiclesLoaded = TRUE;
    m_strVehicleList = strName;
    return TRUE;
}

BOOL CKDRDatabase::LoadSoundListFrom(const CString& name)
{
    CSoundService* pSound = GetSoundService();
    if (pSound == nullptr)
        return FALSE;
    if (m_bSoundsLoaded && !Confirm("This will destroy the current sound list."))
        return FALSE;
    if ((m_bVehiclesLoaded || m_bWeaponsLoaded) &&
        !Confirm("You are about to change your the database Sound List.\nUndefined sounds will not be erased."))
        return FALSE;
    CString strFileName;
    if (!pSound->LoadSoundList(name, strFileName))
        return FALSE;
    m_bSoundsLoaded = TRUE;
    m_strSoundList = strFileName;
    CheckSounds();
    return TRUE;
}

BOOL CKDRDatabase::LoadPieceArrayFrom(const CString& name)
{
    if (m_bPiecesLoaded && !Confirm("This will destroy the current piece array."))
        return FALSE;
    if ((m_bVehiclesLoaded || m_bWeaponsLoaded) &&
        !Confirm("You are about to change the Piece Array.\nUndefined peices will not be erased."))
        return FALSE;
    auto pNew = std::make_unique<CPieceArray>();
    if (!pNew->LoadFromFile(name, m_strDataDir))
        return FALSE;
    delete m_pPieces;
    m_pPieces = pNew.release();
    m_bPiecesLoaded = TRUE;
    m_strPieceList = m_pPieces->GetFileName();
    CheckGraphics();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Definition checks

CString CKDRDatabase::BuildSoundsReport()
{
    CString strVehicles;
    CString strWeapons;
    BOOL bFound = FALSE;
    if (m_bVehiclesLoaded)
        bFound |= m_pVehicles->CheckSounds(strVehicles);
    if (m_bWeaponsLoaded)
        bFound |= m_pWeapons->CheckSounds(strWeapons);
    return bFound ? strVehicles + strWeapons : CString();
}

CString CKDRDatabase::BuildGraphicsReport()
{
    CString strVehicles;
    CString strWeapons;
    BOOL bFound = FALSE;
    if (m_bVehiclesLoaded)
        bFound |= m_pVehicles->CheckGraphics(strVehicles, m_pPieces);
    if (m_bWeaponsLoaded)
        bFound |= m_pWeapons->CheckGraphics(strWeapons, m_pPieces);
    return bFound ? strVehicles + strWeapons : CString();
}

BOOL CKDRDatabase::CheckSounds()
{
    const CString strReport = BuildSoundsReport();
    if (strReport.IsEmpty())
        return FALSE;
    if (CReportService* pReports = GetReportService())
        pReports->ShowReport(strReport);
    return TRUE;
}

BOOL CKDRDatabase::CheckGraphics()
{
    const CString strReport = BuildGraphicsReport();
    if (strReport.IsEmpty())
        return FALSE;
    if (CReportService* pReports = GetReportService())
        pReports->ShowReport(strReport);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Look-ups

CVehicle* CKDRDatabase::GetVehicle(int index) const
{
    return m_bVehiclesLoaded && m_pVehicles != nullptr ? m_pVehicles->GetAt(index) : nullptr;
}

CWeapon* CKDRDatabase::GetWeapon(int index) const
{
    return m_bWeaponsLoaded && m_pWeapons != nullptr ? m_pWeapons->GetAt(index) : nullptr;
}

CIFAmmo* CKDRDatabase::GetIFAmmo(int index) const
{
    return IsIFAmmoLoaded() ? m_pVehicles->GetAmmo()->GetAt(index) : nullptr;
}

BOOL CKDRDatabase::IsIFAmmoLoaded() const
{
    return m_bVehiclesLoaded && m_pVehicles != nullptr && m_pVehicles->GetAmmo() != nullptr;
}

int CKDRDatabase::GetVehicleCount() const
{
    return m_bVehiclesLoaded && m_pVehicles != nullptr ? m_pVehicles->GetSize() : 0;
}

CPiece* CKDRDatabase::GetVehiclePiece(int index) const
{
    if (!m_bPiecesLoaded)
        return nullptr;
    return GetPieceOfVehicle(GetVehicle(index));
}

CPiece* CKDRDatabase::GetPieceOfVehicle(const CVehicle* pVehicle) const
{
    if (pVehicle == nullptr || m_pPieces == nullptr)
        return nullptr;
    const int nIndex = m_pPieces->FindPiece(pVehicle->m_strPiece);
    return nIndex == PIECE_NOT_FOUND ? nullptr : m_pPieces->GetPiece(nIndex);
}

// ---------------------------------------------------------------------------
// Pages

void CKDRDatabase::WriteIndexPage()
{
    MakeDataDirectoryCurrent(this);
    CHTMLPage page;
    if (!page.LoadTemplate(INDEX_PAGE))
        return;
    if (m_bVehiclesLoaded)
    {
        page.ReplaceTag("*vehicleList*", m_pVehicles->WritePages(this));
        if (CIFAmmoArray* pAmmo = m_pVehicles->GetAmmo())
            page.ReplaceTag("*ammoList*", pAmmo->WritePages(this));
    }
    if (m_bWeaponsLoaded)
        page.ReplaceTag("*weaponList*", m_pWeapons->WritePages(this));
    MakeSavegameDirectoryCurrent(this);
    page.WritePage(INDEX_PAGE);
    MakeDataDirectoryCurrent(this);
    m_bPagesWritten = TRUE;
}

void CKDRDatabase::DeletePages()
{
    MakeSavegameDirectoryCurrent(this);
    if (m_bVehiclesLoaded)
    {
        m_pVehicles->DeletePages();
        if (CIFAmmoArray* pAmmo = m_pVehicles->GetAmmo())
            pAmmo->DeletePages();
    }
    if (m_bWeaponsLoaded)
        m_pWeapons->DeletePages();
    DeleteFile(INDEX_PAGE);
    MakeDataDirectoryCurrent(this);
    m_bPagesWritten = FALSE;
}

void CKDRDatabase::ShowVehiclePage(int index)
{
    if (m_pSpecsDlg == nullptr || !m_bPagesWritten)
        return;
    const CVehicle* pVehicle = GetVehicle(index);
    m_pSpecsDlg->ShowPage(pVehicle != nullptr ? CHTMLPage::MakePageName(pVehicle->m_strName) : CString(INDEX_PAGE),
                          m_strSavegameDir, m_strDataDir);
}

BOOL CKDRDatabase::IsSpecsWindowOpen() const
{
    return m_pSpecsDlg != nullptr && m_pSpecsDlg->IsCreated() && m_pSpecsDlg->IsWindow() &&
           m_pSpecsDlg->IsWindowVisible();
}
