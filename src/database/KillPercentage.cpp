#include "database/KillPercentage.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "database/Weapon.h"

IMPLEMENT_SERIAL(CWeaponPercentages, CObject, 1)
IMPLEMENT_SERIAL(CKillPercentageArray, CObArray, 1)

namespace
{
const char* const NO_PERCENTAGES_PARAGRAPH =
    "<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\"><B>No Direct Fire Percentages "
    "Available</B></FONT></FONT>\r\n</P>\r\n";
const char* const CELL_OPEN = "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n"
                              "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const CELL_CLOSE = "</FONT></FONT></TD>\r\n";
}  // namespace

void CWeaponPercentages::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nFront);
        StoreWord(ar, m_nBack);
        StoreWord(ar, m_nRight);
        StoreWord(ar, m_nLeft);
        StoreWord(ar, m_nTop);
    }
    else
    {
        m_nFront = LoadWord(ar);
        m_nBack = LoadWord(ar);
        m_nRight = LoadWord(ar);
        m_nLeft = LoadWord(ar);
        m_nTop = LoadWord(ar);
    }
}

BOOL CWeaponPercentages::IsAllZero() const
{
    return m_nFront == 0 && m_nBack == 0 && m_nRight == 0 && m_nLeft == 0 && m_nTop == 0;
}

CString CWeaponPercentages::WriteHTMLRow(const CWeapon* pWeapon) const
{
    if (pWeapon == nullptr)
        return CString();
    CString strRow = "<TR>\r\n<TD WIDTH=\"30%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<A HREF=\"";
    strRow += CHTMLPage::MakePageName(pWeapon->m_strName);
    strRow += "\"><FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">*name*</FONT></FONT></A></TD>\r\n";
    for (const char* tag : {"*front*", "*back*", "*right*", "*left*", "*top*"})
        strRow += CString(CELL_OPEN) + tag + CELL_CLOSE;
    strRow += "</TR>\r\n";

    CHTMLPage row;
    row.SetText(strRow);
    row.ReplaceTag("*name*", pWeapon->m_strName);
    row.ReplaceTagInt("*front*", m_nFront);
    row.ReplaceTagInt("*back*", m_nBack);
    row.ReplaceTagInt("*right*", m_nRight);
    row.ReplaceTagInt("*left*", m_nLeft);
    row.ReplaceTagInt("*top*", m_nTop);
    return row.GetText();
}

CString CKillPercentageArray::WriteHTML(CKDRDatabase* pDatabase) const
{
    CWeaponArray* pWeapons = pDatabase != nullptr ? pDatabase->GetWeaponArray() : nullptr;
    if (pWeapons == nullptr || GetSize() == 0)
        return NO_PERCENTAGES_PARAGRAPH;
    MakeDataDirectoryCurrent(pDatabase);
    CHTMLPage page;
    if (!page.LoadTemplate("percentKillArray.htm"))
        return NO_PERCENTAGES_PARAGRAPH;
    page.ExtractBody();
    CString strRows;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CWeaponPercentages* pRecord = GetAt(i);
        if (pRecord == nullptr || pRecord->IsAllZero())
            continue;
        if (const CWeapon* pWeapon = pWeapons->GetAt(i))
            strRows += pRecord->WriteHTMLRow(pWeapon);
    }
    if (strRows.IsEmpty())
        return NO_PERCENTAGES_PARAGRAPH;
    page.ReplaceTag("*weapons*", strRows);
    return page.GetText();
}
