// The unit counts of the mission conditions and the unit-count tables of the
// results page.

#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "platform/core/File.h"
#include "platform/core/Geometry.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitArea.h"
#include "units/UnitArray.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace
{
const char* const COUNTS_TEMPLATE = "counts.htm";

const char* const ROW_START = "<TR>\r\n<TD WIDTH=\"30%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<A HREF=\"";
const char* const ROW_NAME_START = "\"><FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const ROW_NAME_END = "</FONT></FONT></A></TD>\r\n";
const char* const COUNT_CELL_START =
    "<TD WIDTH=\"14%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const COUNT_CELL_END = "</FONT></FONT></TD>\r\n";
const char* const ROW_END = "</TR>\r\n";

// Every live unit of the kind that rides in no carrier, array by array.
void ForEachStandingUnit(const CKDRUnits& units, int nKind, const std::function<void(const CUnit&)>& visit)
{
    for (int nArray = 0; const CUnitArray* pArray = units.GetUnitArray(nArray, nKind); ++nArray)
    {
        for (int i = 0; i < pArray->GetSize(); ++i)
        {
            const CUnit* pUnit = pArray->GetAt(i);
            if (pUnit != nullptr && !pUnit->m_bDestroyed && !pUnit->IsCarried())
                visit(*pUnit);
        }
        // Kind 0 has one array; it answers every array index.
        if (nKind == 0)
            break;
    }
}

CString CountCell(int nCount)
{
    CString text;
    text.Format("%s%d%s", COUNT_CELL_START, nCount, COUNT_CELL_END);
    return text;
}

// The rows of one kind's table.
CString CountRows(CKDRDatabase& database, const int* pStartCounts, const int* pLiveCounts, int nTypes)
{
    CString rows;
    if (pStartCounts == nullptr || pLiveCounts == nullptr)
        return rows;
    for (int nType = 0; nType < nTypes; ++nType)
    {
        const CVehicle* pVehicle = database.GetVehicle(nType);
        if (pStartCounts[nType] == 0 || pVehicle == nullptr)
            continue;
        rows += ROW_START;
        rows += CHTMLPage::MakePageName(pVehicle->m_strName);
        rows += ROW_NAME_START;
        rows += pVehicle->m_strName;
        rows += ROW_NAME_END;
        rows += CountCell(pStartCounts[nType]);
        rows += CountCell(pLiveCounts[nType]);
        rows += ROW_END;
    }
    return rows;
}
}  // namespace

CUnitArray* CKDRUnits::GetUnitArray(int nArray, int nKind) const
{
    // The own side has its one array at index 0 only: the walks over a
    // kind's arrays stop at the first index that answers null.
    if (nArray < 0 || (nKind == UNIT_KIND_OWN && nArray != 0))
        return nullptr;
    return GetArrayOfKind(nKind, nArray);
}

int CKDRUnits::CountLiveUnits(int nKind) const
{
    int nCount = 0;
    ForEachStandingUnit(*this, nKind, [&](const CUnit&) { ++nCount; });
    return nCount;
}

int CKDRUnits::CountUnitsInRegion(int nKind, const CRect& ellipseBounds) const
{
    int nCount = 0;
    ForEachStandingUnit(*this, nKind,
                        [&](const CUnit& unit)
                        {
                            if (unit_area::InEllipse(unit_area::WholeMetres(unit.m_fX),
                                                     unit_area::WholeMetres(unit.m_fY), ellipseBounds.left,
                                                     ellipseBounds.top, ellipseBounds.right, ellipseBounds.bottom))
                                ++nCount;
                        });
    return nCount;
}

int CKDRUnits::CountUnitsInBox(int nKind, int nLeft, int nTop, int nRight, int nBottom) const
{
    CRect box(nLeft, nTop, nRight, nBottom);
    box.NormalizeRect();
    int nCount = 0;
    ForEachStandingUnit(*this, nKind,
                        [&](const CUnit& unit)
                        {
                            if (box.PtInRect(CPoint(unit_area::WholeMetres(unit.m_fX),
                                                    unit_area::WholeMetres(unit.m_fY))))
                                ++nCount;
                        });
    return nCount;
}

int CKDRUnits::CountUnits(int nKind, CKDRDatabase* pDatabase, int& nAlive, int& nTotal, int*& pBlock)
{
    pBlock = nullptr;
    if (pDatabase == nullptr || !pDatabase->HasVehicleList() || GetUnitArray(0, nKind) == nullptr)
        return 0;
    nAlive = 0;
    nTotal = 0;
    const int nTypes = std::max(pDatabase->GetVehicleCount(), 0);
    pBlock = new int[2 * static_cast<size_t>(nTypes) + 1]();
    for (int nArray = 0; const CUnitArray* pArray = GetUnitArray(nArray, nKind); ++nArray)
    {
        pArray->CountUnits(nAlive, nTotal, pBlock, nTypes);
        if (nKind == 0)
            break;
    }
    return 1;
}

CString CKDRUnits::WriteCountsPage(CKDRDatabase* pDatabase, const int* pStartCounts1, const int* pStartCounts0,
                                   const int* pStartCounts2)
{
    if (pDatabase == nullptr || !pDatabase->HasVehicleList())
        return CString();
    CHTMLPage page;
    SetCurrentDir(pDatabase->GetDataDir());
    if (!page.LoadTemplate(COUNTS_TEMPLATE))
        return CString();
    page.ExtractBody();

    struct Table
    {
        int nKind;
        const char* pszTag;
        const int* pStartCounts;
    };
    const Table tables[] = {{1, "*enemy*", pStartCounts1}, {0, "*friendly*", pStartCounts0},
                            {2, "*neutral*", pStartCounts2}};
    const int nTypes = std::max(pDatabase->GetVehicleCount(), 0);
    for (const Table& table : tables)
    {
        // The live column counts as the objectives' sentences do (live
        // units that ride in no carrier), so that a table's sum is the
        // number its side's sentence gives.
        std::vector<int> live(static_cast<size_t>(nTypes), 0);
        const BOOL bPresent = GetUnitArray(0, table.nKind) != nullptr;
        ForEachStandingUnit(*this, table.nKind,
                            [&](const CUnit& unit)
                            {
                                if (unit.m_nVehicle >= 0 && unit.m_nVehicle < nTypes)
                                    ++live[static_cast<size_t>(unit.m_nVehicle)];
                            });
        page.ReplaceTag(table.pszTag,
                        CountRows(*pDatabase, table.pStartCounts, bPresent ? live.data() : nullptr, nTypes));
    }
    return page.GetText();
}
