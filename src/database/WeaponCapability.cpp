#include "database/WeaponCapability.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"

IMPLEMENT_SERIAL(CWeaponCapability, CObject, 1)
IMPLEMENT_SERIAL(CWCapTimeOfFlight, CWeaponCapability, 1)
IMPLEMENT_SERIAL(CWCapMinRange, CWeaponCapability, 1)
IMPLEMENT_SERIAL(CWCapADA, CWeaponCapability, 1)
IMPLEMENT_SERIAL(CWeaponCapArray, CObArray, 1)

// ---------------------------------------------------------------------------
// Base

CString CWeaponCapability::WriteHTMLLink(CKDRDatabase*) { return CString(); }

CString CWeaponCapability::WriteHTMLPage(CKDRDatabase*) { return CString(); }

BOOL CWeaponCapability::CheckGraphics(CString&, CPieceArray*) { return FALSE; }

CString CWeaponCapability::WriteSection(CKDRDatabase* pDatabase, const char* templateName)
{
    if (pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr)
        return CString();
    MakeDataDirectoryCurrent(pDatabase);
    CHTMLPage page;
    if (!page.LoadTemplate(templateName))
        return CString();
    page.ExtractBody();
    FillSection(page);
    return page.GetText();
}

// ---------------------------------------------------------------------------
// Discrete time of flight

void CWCapTimeOfFlight::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nSpeed);
        for (int value : m_anFurther)
            StoreWord(ar, value);
        StoreWord(ar, m_bSeek ? 1 : 0);
    }
    else
    {
        m_nSpeed = LoadWord(ar);
        for (int& value : m_anFurther)
            value = LoadWord(ar);
        m_bSeek = LoadWord(ar) != 0;
    }
}

CString CWCapTimeOfFlight::WriteHTMLLink(CKDRDatabase*) { return MakeLinkLine("#timeOfFlight", "Time Of Flight"); }

CString CWCapTimeOfFlight::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    return WriteSection(pDatabase, "timeOfFlight.htm");
}

void CWCapTimeOfFlight::FillSection(CHTMLPage& page)
{
    page.ReplaceTagInt("*speed*", m_nSpeed);
    page.ReplaceTag("*seekYesNo*", m_bSeek ? "Yes" : "No");
}

// ---------------------------------------------------------------------------
// Minimum range

void CWCapMinRange::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        StoreWord(ar, m_nMinRange);
    else
        m_nMinRange = LoadWord(ar);
}

CString CWCapMinRange::WriteHTMLLink(CKDRDatabase*) { return MakeLinkLine("#minRange", "Minimum Range"); }

CString CWCapMinRange::WriteHTMLPage(CKDRDatabase* pDatabase) { return WriteSection(pDatabase, "minRange.htm"); }

void CWCapMinRange::FillSection(CHTMLPage& page)
{
    if (m_nMinRange > 0)
        page.ReplaceTagInt("*minRange*", m_nMinRange);
    else
        page.ReplaceTag("*minRange*", "none");
}

// ---------------------------------------------------------------------------
// Air defence

void CWCapADA::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nRotaryWingBonus);
        StoreWord(ar, m_nFixedWingBonus);
    }
    else
    {
        m_nRotaryWingBonus = LoadWord(ar);
        m_nFixedWingBonus = LoadWord(ar);
    }
}

CString CWCapADA::WriteHTMLLink(CKDRDatabase*) { return MakeLinkLine("#ADA", "Air Defense"); }

CString CWCapADA::WriteHTMLPage(CKDRDatabase* pDatabase) { return WriteSection(pDatabase, "ada.htm"); }

void CWCapADA::FillSection(CHTMLPage& page)
{
    page.ReplaceTagInt("*rotaryWingBonus*", m_nRotaryWingBonus);
    page.ReplaceTagInt("*fixedWingBonus*", m_nFixedWingBonus);
}

// ---------------------------------------------------------------------------
// The list

CWeaponCapArray::CWeaponCapArray()
{
    m_typeNames.Add("Discreet Time Of Flight");
    m_typeNames.Add("Minimum Range");
    m_typeNames.Add("ADA");
}

CString CWeaponCapArray::WriteHTMLLinks(CKDRDatabase* pDatabase)
{
    CString strLinks;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CWeaponCapability* pCap = GetAt(i))
            strLinks += pCap->WriteHTMLLink(pDatabase);
    }
    return strLinks.IsEmpty() ? CString(DB_NONE_PARAGRAPH) : strLinks;
}

CString CWeaponCapArray::WriteHTMLPages(CKDRDatabase* pDatabase)
{
    CString strPages;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CWeaponCapability* pCap = GetAt(i))
            strPages += pCap->WriteHTMLPage(pDatabase);
    }
    return strPages;
}

BOOL CWeaponCapArray::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CWeaponCapability* pCap = GetAt(i); pCap != nullptr && pCap->CheckGraphics(report, pPieces))
            bFound = TRUE;
    }
    return bFound;
}
