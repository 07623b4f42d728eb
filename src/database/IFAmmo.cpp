#include "database/IFAmmo.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/IFAmmoCapability.h"
#include "database/PieceArray.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "shell/SoundService.h"

IMPLEMENT_SERIAL(CIFAmmo, CObject, 1)
IMPLEMENT_SERIAL(CIFAmmoArray, CObArray, 1)

namespace
{
// The page shows the range and blast radius times ten, lethality in percent.
constexpr int PAGE_DISTANCE_SCALE = 10;
constexpr float PERCENT = 100.0f;

struct MunitionText
{
    int bit;
    const char* text;
};
const MunitionText MUNITION_TEXTS[] = {
    {MUNITION_HE, "HE"},           {MUNITION_HERAP, "HERAP"}, {MUNITION_DPICM, "DPICM"},
    {MUNITION_BBDPICM, "BBDPICM"}, {MUNITION_SMOKE, "Smoke"}, {MUNITION_CHEMICAL, "Chemical"},
    {MUNITION_NUCLEAR, "Nuclear"}, {MUNITION_ILLUM, "Illum"}, {MUNITION_FASCAM, "FASCAM"},
    {MUNITION_PGM, "PGM"},
};
}  // namespace

CIFAmmo::CIFAmmo() : m_pCapabilities(new CIFAmmoCapArray) {}

CIFAmmo::~CIFAmmo() { delete m_pCapabilities; }

void CIFAmmo::Serialize(CArchive& ar)
{
    m_pCapabilities->Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strName << m_strQualifier << m_strSplashSound << m_strBurstGraphic;
        StoreWord(ar, m_nRange);
        StoreWord(ar, m_nBlastRadius);
        ar << m_fLethality;
        StoreWord(ar, m_nMunitionType);
    }
    else
    {
        ar >> m_strName >> m_strQualifier >> m_strSplashSound >> m_strBurstGraphic;
        m_nRange = LoadWord(ar);
        m_nBlastRadius = LoadWord(ar);
        ar >> m_fLethality;
        m_nMunitionType = LoadWord(ar);
    }
}

CString CIFAmmo::GetDisplayName() const { return m_strName + " (" + m_strQualifier + ")"; }

CString CIFAmmo::GetMunitionTypeText() const
{
    for (const MunitionText& munition : MUNITION_TEXTS)
    {
        if (m_nMunitionType == munition.bit)
            return munition.text;
    }
    return CString();
}

BOOL CIFAmmo::GetPGMFootPrint(int* pFootPrint) const
{
    const auto* pGuidance = static_cast<const CIFCapPGM*>(m_pCapabilities->FindByType(IFCAP_PGM));
    if (pFootPrint != nullptr)
        *pFootPrint = pGuidance != nullptr ? pGuidance->m_nFootPrint : kUnset;
    return pGuidance != nullptr;
}

CString CIFAmmo::WritePage(CKDRDatabase* pDatabase)
{
    MakeDataDirectoryCurrent(pDatabase);
    CHTMLPage page;
    if (!page.LoadTemplate("ifAmmo.htm"))
        return CString();
    page.ExtractBody();
    const CString strName = GetDisplayName();
    page.ReplaceTag("*name*", strName);
    page.ReplaceTagInt("*range*", m_nRange * PAGE_DISTANCE_SCALE);
    page.ReplaceTag("*munitionType*", GetMunitionTypeText());
    page.ReplaceTagInt("*blastRadius*", m_nBlastRadius * PAGE_DISTANCE_SCALE);
    page.ReplaceTagFloat("*lethality*", m_fLethality * PERCENT);
    page.ReplaceTag("*attributeList*", m_pCapabilities->WriteHTMLLinks(pDatabase));
    page.ReplaceTag("*attributes*", m_pCapabilities->WriteHTMLPages(pDatabase));

    const CString strPageName = CHTMLPage::MakePageName(strName);
    MakeSavegameDirectoryCurrent(pDatabase);
    page.WritePage(strPageName);
    MakeDataDirectoryCurrent(pDatabase);
    return MakeLinkLine(strPageName, strName);
}

BOOL CIFAmmo::CheckSound(CString& report) const
{
    if (m_strSplashSound.IsEmpty() || IsSoundDefined(SOUND_KIND_ARTILLERY, m_strSplashSound))
        return FALSE;
    report += MakeUndefinedLine("Indirect Fire Ammo Splash Sound", m_strSplashSound);
    return TRUE;
}

// ---------------------------------------------------------------------------
// The list

CString CIFAmmoArray::WritePages(CKDRDatabase* pDatabase)
{
    CString strLinks;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CIFAmmo* pAmmo = GetAt(i))
            strLinks += pAmmo->WritePage(pDatabase);
    }
    return strLinks;
}

void CIFAmmoArray::DeletePages()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CIFAmmo* pAmmo = GetAt(i))
            DeleteFile(CHTMLPage::MakePageName(pAmmo->GetDisplayName()));
    }
}

BOOL CIFAmmoArray::CheckSounds(CString& report)
{
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CIFAmmo* pAmmo = GetAt(i); pAmmo != nullptr && pAmmo->CheckSound(report))
            bFound = TRUE;
    }
    return bFound;
}

BOOL CIFAmmoArray::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    CString strBlock = "UNDEFINED PIECES FOUND IN INDIRECT FIRE AMMO ARRAY!\r\n\r\n";
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CIFAmmo* pAmmo = GetAt(i);
        if (pAmmo == nullptr || pAmmo->m_strBurstGraphic.IsEmpty())
            continue;
        const CString& graphic = pAmmo->m_strBurstGraphic;
        if (pPieces != nullptr && (pPieces->FindGraphic(CPieceArray::kSinglePiece, graphic) != PIECE_NOT_FOUND ||
                                   pPieces->FindGraphic(CPieceArray::kListMember, graphic) != PIECE_NOT_FOUND))
            continue;
        strBlock += MakeUndefinedLine("burstGraphic for the ammunition", pAmmo->GetDisplayName());
        bFound = TRUE;
    }
    if (bFound)
        report += strBlock + "\r\n";
    return bFound;
}
