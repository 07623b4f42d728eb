#include "database/VehicleWeapon.h"

#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "database/Weapon.h"

IMPLEMENT_SERIAL(CVehicleWeapon, CObject, 1)
IMPLEMENT_SERIAL(CVehicleWeaponArray, CObArray, 1)

namespace
{
const char* const FONT_OPEN = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const CELL_10 = "<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n";
const char* const CELL_5 = "<TD WIDTH=\"5%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n";

CString LimitText(int limit)
{
    if (limit == kUnset)
        return "none";
    CString text;
    text.Format("%d", limit);
    return text;
}
}  // namespace

// ---------------------------------------------------------------------------
// CVehicleWeapon

void CVehicleWeapon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nAmmo);
        StoreFlag(ar, m_bC);
        StoreWord(ar, m_nLeftLimit);
        StoreWord(ar, m_nPercentIR);
        StoreWord(ar, m_nPercentNV);
        StoreWord(ar, m_nRightLimit);
        StoreWord(ar, m_nWeapon);
        StoreFlag(ar, m_bS);
        StoreWord(ar, m_nSpareB);
        StoreWord(ar, m_nSpareA);
        StoreWord(ar, m_nSuppressionRadius);
    }
    else
    {
        m_nAmmo = LoadWord(ar);
        LoadFlag(ar, m_bC);
        m_nLeftLimit = LoadWord(ar);
        m_nPercentIR = LoadWord(ar);
        m_nPercentNV = LoadWord(ar);
        m_nRightLimit = LoadWord(ar);
        m_nWeapon = LoadWord(ar);
        LoadFlag(ar, m_bS);
        m_nSpareB = LoadWord(ar);
        m_nSpareA = LoadWord(ar);
        m_nSuppressionRadius = LoadWord(ar);
    }
}

CWeapon* CVehicleWeapon::GetWeapon(CKDRDatabase* pDatabase, int* pIndex) const
{
    CWeaponArray* pWeapons = pDatabase != nullptr ? pDatabase->GetWeaponArray() : nullptr;
    if (pWeapons == nullptr)
        return nullptr;
    if (pIndex != nullptr)
        *pIndex = m_nWeapon;
    return pWeapons->GetAt(m_nWeapon);
}

void CVehicleWeapon::DrawRangeArc(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap) const
{
    if (CWeapon* pWeapon = GetWeapon(pDatabase, nullptr))
        pWeapon->DrawRangeArc(x, y, pMap);
}

CString CVehicleWeapon::WriteTableRow(const CWeapon* pWeapon) const
{
    if (pWeapon == nullptr)
        return CString();
    CString strRow = "<TR>\r\n<TD WIDTH=\"30%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<A HREF=\"";
    strRow += CHTMLPage::MakePageName(pWeapon->m_strName);
    strRow += CString("\">") + FONT_OPEN + "*name*</FONT></FONT></A></TD>";
    strRow += "\r\n<TD WIDTH=\"10%\" VALIGN=CENTER>\r\n";
    strRow += CString("<P ALIGN=CENTER>") + FONT_OPEN + "*ammo*</FONT></FONT></TD>";
    strRow += CString("\r\n") + CELL_10 + FONT_OPEN + "*percentIR*</FONT></FONT></TD>";
    strRow += CString(CELL_10) + FONT_OPEN + "*percentNV*</FONT></FONT></TD>";
    strRow += CString("\r\n") + CELL_10 + FONT_OPEN + "*leftLimit*</FONT></FONT></TD>\r\n";
    strRow += CString(CELL_10) + FONT_OPEN + "*rightLimit*</FONT></FONT></TD>\r\n";
    strRow += CString(CELL_10) + FONT_OPEN + "*suppressRad*</FONT></FONT></TD>\r\n";
    strRow += CString(CELL_5) + FONT_OPEN + "<B>*cX*</B></FONT></FONT></TD>\r\n";
    strRow +=
        CString(CELL_5) + "<FONT SIZE=\"2\"><FONT FACE=\"Arial,Helvetica,Monaco\"><B>*sX*</B></FONT></FONT></TD>\r\n";
    strRow += "</TR>\r\n";

    CHTMLPage row;
    row.SetText(strRow);
    row.ReplaceTag("*name*", pWeapon->m_strName);
    row.ReplaceTagInt("*ammo*", m_nAmmo);
    row.ReplaceTagInt("*percentIR*", m_nPercentIR);
    row.ReplaceTagInt("*percentNV*", m_nPercentNV);
    row.ReplaceTagInt("*suppressRad*", m_nSuppressionRadius);
    row.ReplaceTag("*leftLimit*", LimitText(m_nLeftLimit));
    row.ReplaceTag("*rightLimit*", LimitText(m_nRightLimit));
    row.ReplaceTag("*cX*", m_bC ? "X" : " ");
    row.ReplaceTag("*sX*", m_bS ? "X" : " ");
    return row.GetText();
}

// ---------------------------------------------------------------------------
// CVehicleWeaponArray

CVehicleWeaponArray::~CVehicleWeaponArray()
{
    if (!m_bOwnsMounts)
        RemoveAllNoDelete();
}

void CVehicleWeaponArray::DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CVehicleWeapon* pMount = GetAt(i))
            pMount->DrawRangeArc(x, y, pDatabase, pMap);
    }
}

int CVehicleWeaponArray::GetMaxSightPercent(bool bInfrared) const
{
    int nBest = 0;
    bool bAny = false;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CVehicleWeapon* pMount = GetAt(i);
        if (pMount == nullptr)
            continue;
        const int nPercent = bInfrared ? pMount->m_nPercentIR : pMount->m_nPercentNV;
        if (!bAny || nPercent > nBest)
            nBest = nPercent;
        bAny = true;
    }
    return nBest;
}

void CVehicleWeaponArray::AddToWeaponList(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase) const
{
    if (pList == nullptr || pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        CVehicleWeapon* pMount = GetAt(i);
        const CWeapon* pWeapon = pMount != nullptr ? pMount->GetWeapon(pDatabase, nullptr) : nullptr;
        if (pWeapon == nullptr)
            continue;
        int nAt = pList->GetSize();
        for (int j = 0; j < pList->GetSize(); ++j)
        {
            const CVehicleWeapon* pEntry = pList->GetAt(j);
            const CWeapon* pEntryWeapon = pEntry != nullptr ? pEntry->GetWeapon(pDatabase, nullptr) : nullptr;
            if (pEntryWeapon != nullptr && pEntryWeapon->m_nPenetration < pWeapon->m_nPenetration)
            {
                nAt = j;
                break;
            }
        }
        pList->InsertAt(nAt, pMount);
    }
}

CString CVehicleWeaponArray::WriteWeaponTable(CKDRDatabase* pDatabase) const
{
    if (pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr || GetSize() == 0)
        return DB_NONE_PARAGRAPH;
    MakeDataDirectoryCurrent(pDatabase);
    CHTMLPage page;
    if (!page.LoadTemplate("vehicleWeaponArray.htm"))
        return DB_NONE_PARAGRAPH;
    page.ExtractBody();
    CString strRows;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CVehicleWeapon* pMount = GetAt(i);
        if (pMount == nullptr)
            continue;
        if (const CWeapon* pWeapon = pMount->GetWeapon(pDatabase, nullptr))
            strRows += pMount->WriteTableRow(pWeapon);
    }
    if (strRows.IsEmpty())
        return DB_NONE_PARAGRAPH;
    page.ReplaceTag("*weapons*", strRows);
    return page.GetText();
}
