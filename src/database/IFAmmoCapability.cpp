#include "database/IFAmmoCapability.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"

IMPLEMENT_SERIAL(CIFAmmoCapability, CObject, 1)
IMPLEMENT_SERIAL(CIFCapSmoke, CIFAmmoCapability, 1)
IMPLEMENT_SERIAL(CIFCapIllum, CIFCapSmoke, 1)
IMPLEMENT_SERIAL(CIFCapFASCAM, CIFAmmoCapability, 1)
IMPLEMENT_SERIAL(CIFCapChem, CIFAmmoCapability, 1)
IMPLEMENT_SERIAL(CIFCapPGM, CIFAmmoCapability, 1)
IMPLEMENT_SERIAL(CIFAmmoCapArray, CObArray, 1)

namespace
{
// Distances the pages show in metres are stored in tens of metres.
constexpr int PAGE_DISTANCE_SCALE = 10;
constexpr float CHEM_DENSITY_SCALE = 0.1f;
constexpr int SECONDS_PER_MINUTE = 60;

CString AnchorLink(const char* anchor, const char* label) { return MakeLinkLine(CString("#") + anchor, label); }
}  // namespace

CString CIFAmmoCapability::WriteHTMLLink(CKDRDatabase*) { return CString(); }

CString CIFAmmoCapability::WriteHTMLPage(CKDRDatabase*) { return CString(); }

BOOL CIFAmmoCapability::LoadSection(CHTMLPage& page, const char* templateName, const CKDRDatabase* pDatabase)
{
    MakeDataDirectoryCurrent(pDatabase);
    if (!page.LoadTemplate(templateName))
        return FALSE;
    page.ExtractBody();
    return TRUE;
}

// ---------------------------------------------------------------------------
// Smoke and illumination

void CIFCapSmoke::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fRadius;
        StoreWord(ar, m_nDuration);
        StoreWord(ar, m_nPercentIR);
    }
    else
    {
        ar >> m_fRadius;
        m_nDuration = LoadWord(ar);
        m_nPercentIR = LoadWord(ar);
    }
}

CString CIFCapSmoke::WriteHTMLLink(CKDRDatabase*) { return AnchorLink("smoke", "Smoke"); }

CString CIFCapSmoke::WriteHTMLPage(CKDRDatabase* pDatabase) { return WriteCloudSection("ifSmoke.htm", pDatabase); }

CString CIFCapSmoke::WriteCloudSection(const char* templateName, const CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (!LoadSection(page, templateName, pDatabase))
        return CString();
    page.ReplaceTagInt("*percentIR*", m_nPercentIR);
    page.ReplaceTagFloat("*radius*", m_fRadius * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*duration*", m_nDuration);
    return page.GetText();
}

CString CIFCapIllum::WriteHTMLLink(CKDRDatabase*) { return AnchorLink("illum", "Illumination"); }

CString CIFCapIllum::WriteHTMLPage(CKDRDatabase* pDatabase) { return WriteCloudSection("ifIllum.htm", pDatabase); }

// ---------------------------------------------------------------------------
// Scatterable mines

void CIFCapFASCAM::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int value : {m_nDensity, m_nDuration, m_nLength, m_nWidth})
            StoreWord(ar, value);
        StoreFlag(ar, m_bLimitedDuration);
    }
    else
    {
        for (int* pValue : {&m_nDensity, &m_nDuration, &m_nLength, &m_nWidth})
            *pValue = LoadWord(ar);
        m_bLimitedDuration = LoadWord(ar) != 0;
    }
}

CString CIFCapFASCAM::WriteHTMLLink(CKDRDatabase*) { return AnchorLink("FASCAM", "FASCAM"); }

CString CIFCapFASCAM::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (!LoadSection(page, "ifFASCAM.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*density*", m_nDensity);
    page.ReplaceTagInt("*length*", m_nLength * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*width*", m_nWidth * PAGE_DISTANCE_SCALE);
    if (m_bLimitedDuration)
    {
        CString strDuration;
        strDuration.Format("%d s", m_nDuration);
        page.ReplaceTag("*limitedDuration*", "YES");
        page.ReplaceTag("*duration*", strDuration);
    }
    else
    {
        page.ReplaceTag("*limitedDuration*", "NO");
        page.ReplaceTag("*duration*", "N/A");
    }
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Chemical agent

void CIFCapChem::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nRadius);
        StoreWord(ar, m_nDensity);
        StoreWord(ar, m_nDuration);
    }
    else
    {
        m_nRadius = LoadWord(ar);
        m_nDensity = LoadWord(ar);
        m_nDuration = LoadWord(ar);
    }
}

CString CIFCapChem::WriteHTMLLink(CKDRDatabase*) { return AnchorLink("chem", "Chemical Agent"); }

CString CIFCapChem::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (!LoadSection(page, "ifChem.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*radius*", m_nRadius * PAGE_DISTANCE_SCALE);
    page.ReplaceTagFloat("*density*", static_cast<float>(m_nDensity) * CHEM_DENSITY_SCALE);
    page.ReplaceTagInt("*duration*", m_nDuration / SECONDS_PER_MINUTE);
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Precision guidance

void CIFCapPGM::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nFootPrint);
        StoreWord(ar, m_nLaserTime);
        StoreWord(ar, m_nMaxAngle);
    }
    else
    {
        m_nFootPrint = LoadWord(ar);
        m_nLaserTime = LoadWord(ar);
        m_nMaxAngle = LoadWord(ar);
    }
}

CString CIFCapPGM::WriteHTMLLink(CKDRDatabase*) { return AnchorLink("PGM", "Precision Guided Munition"); }

CString CIFCapPGM::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    CHTMLPage page;
    if (!LoadSection(page, "ifPGM.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*footPrint*", m_nFootPrint * PAGE_DISTANCE_SCALE);
    page.ReplaceTagInt("*laserTime*", m_nLaserTime);
    if (m_nMaxAngle < 0)
        page.ReplaceTag("*maxAngleT*", "None");
    else
        page.ReplaceTagInt("*maxAngleT*", m_nMaxAngle);
    return page.GetText();
}

// ---------------------------------------------------------------------------
// The list

CIFAmmoCapArray::CIFAmmoCapArray()
{
    for (const char* name : {"Smoke", "FASCAM", "Illum", "Chem", "Precision Guided Munition"})
        m_typeNames.Add(name);
}

CIFAmmoCapability* CIFAmmoCapArray::FindByType(int type) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CIFAmmoCapability* pCap = GetAt(i);
        if (pCap != nullptr && pCap->GetType() == type)
            return pCap;
    }
    return nullptr;
}

CString CIFAmmoCapArray::WriteHTMLLinks(CKDRDatabase* pDatabase)
{
    CString strLinks;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CIFAmmoCapability* pCap = GetAt(i))
            strLinks += pCap->WriteHTMLLink(pDatabase);
    }
    return strLinks.IsEmpty() ? CString(DB_NONE_PARAGRAPH) : strLinks;
}

CString CIFAmmoCapArray::WriteHTMLPages(CKDRDatabase* pDatabase)
{
    CString strPages;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CIFAmmoCapability* pCap = GetAt(i))
            strPages += pCap->WriteHTMLPage(pDatabase);
    }
    return strPages;
}
