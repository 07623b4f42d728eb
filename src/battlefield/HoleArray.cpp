#include "battlefield/HoleArray.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/HoleDlg.h"
#include "battlefield/HoleUnits.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/ListedMove.h"
#include "database/DatabaseSupport.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/core/Rounding.h"
#include "platform/ui/UiService.h"
#include "shell/PlayService.h"
#include "units/UnitArray.h"
#include "units/UnitCapability.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CHoleArray, CObArray, 1)

namespace
{
const char* const kDefaultName = "*.fho";
const char* const kOfferedName = "*.hoa";
const char* const kOfferedExt = "hoa";
const char* const kFileFilter = "Hole Array (*.hoa)|*.hoa|Hole Array (*.fho)|*.fho||";

constexpr float kPickTolerance = 13.0f;  // metres at zoom 1
constexpr float kOccupyReach = 8.0f;     // metres on each axis
constexpr float kNoBest = 99999.0f;
constexpr double kPi = 3.14159265358979323846;
constexpr double kFacingWindow = 1.0471976;  // 60 degrees

constexpr DWORD kDismountAbility = 0x2;
constexpr DWORD kAircraftAbilities = 0x1000 | 0x2000;

// The difference folded into -pi..pi.
double FoldHalfTurn(double d)
{
    if (!std::isfinite(d))
        return d;
    d = std::fmod(d, 2.0 * kPi);
    if (d < -kPi)
        d += 2.0 * kPi;
    else if (d > kPi)
        d -= 2.0 * kPi;
    return d;
}

BOOL FitsKind(const CUnit& unit, const CHole& hole)
{
    const BOOL bDismount = (unit.GetCapabilityMask() & kDismountAbility) != 0;
    return bDismount ? hole.m_nKind == CHole::kDismount : hole.m_nKind != CHole::kDismount;
}
}  // namespace

CHoleArray::CHoleArray() : m_strName(kDefaultName) {}

CHoleArray::CHoleArray(const CHoleArray& other) : TypedObArray<CHole>(), m_strName(other.m_strName)
{
    for (int i = 0; i < other.GetSize(); ++i)
    {
        if (const CHole* pHole = other.GetAt(i))
            Add(new CHole(*pHole));
    }
}

void CHoleArray::Serialize(CArchive& ar)
{
    CObArray::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strName;
    else
        ar >> m_strName;
}

BOOL CHoleArray::Load(CString name, CKDRGameMap* pMap, const CString& strDataDir, int nSide)
{
    if (!ReadFileAskingForAnother(*this, name, strDataDir, kOfferedExt, kOfferedName,
                                  OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFileFilter))
        return FALSE;
    m_strName = name;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHole* pHole = GetAt(i))
            pHole->ClampToMap(pMap);
    }
    PrepareMarkers(nSide, pMap);
    return TRUE;
}

int CHoleArray::FindHoleAtViewPoint(float x, float y, const CKDRGameMap* pMap) const
{
    const float zoom = pMap != nullptr ? pMap->GetZoom() : 1.0f;
    const float tolerance = zoom > 0.0f ? kPickTolerance / zoom : kPickTolerance;
    int nViewX = kUnset, nViewY = kUnset;
    BOOL bView = FALSE;
    if (pMap != nullptr && pMap->GetElevationMap() != nullptr)
    {
        int px = 0, py = 0;
        pMap->GetElevationMap()->MapToPixel(x, y, &px, &py);
        bView = pMap->PictureToView(px, py, &nViewX, &nViewY) != 0;
    }
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CHole* pHole = GetAt(i);
        if (pHole == nullptr)
            continue;
        const float dx = std::fabs(std::trunc(pHole->m_fX - x));
        const float dy = std::fabs(std::trunc(pHole->m_fY - y));
        if (dx < tolerance && dy < tolerance)
            return i;
        if (bView && pHole->MarkerContains(nViewX, nViewY))
            return i;
    }
    return kUnset;
}

CTaskOrgArray* CHoleArray::SelectHolesInRect(float x1, float y1, float x2, float y2) const
{
    return SelectIndicesInRect(GetSize(), x1, y1, x2, y2,
                               [this](int i, float& x, float& y)
                               {
                                   const CHole* pHole = GetAt(i);
                                   if (pHole == nullptr)
                                       return false;
                                   x = pHole->m_fX;
                                   y = pHole->m_fY;
                                   return true;
                               });
}

void CHoleArray::MoveSelected(const CTaskOrgArray* pList, float fromX, float fromY, float toX, float toY,
                              const CKDRGameMap* pMap)
{
    MoveListedBy(pList, fromX, fromY, toX, toY, pMap, [this](int i) { return GetAt(i); });
}

void CHoleArray::ClearOccupants()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHole* pHole = GetAt(i))
        {
            pHole->m_bOccupied = FALSE;
            pHole->m_nOccupant = kUnset;
        }
    }
}

void CHoleArray::AssignOccupants(CUnitArray* pUnits, CKDRGameMap* /*pMap*/, int nArrayIndex)
{
    if (pUnits == nullptr)
        return;
    // The units' capabilities follow a new heading through the vehicle types.
    const CPlayService* pPlay = GetPlayService();
    CKDRDatabase* pDatabase = pPlay != nullptr ? pPlay->GetDatabase() : nullptr;
    // Everyone leaves first: a unit that held a position turns back to its path.
    for (int u = 0; u < pUnits->GetSize(); ++u)
    {
        CUnit* pUnit = pUnits->GetAt(u);
        if (pUnit == nullptr)
            continue;
        if (pUnit->m_bDugIn && pUnit->m_nDugPosition != kUnset)
            pUnit->UpdateHeading();
        pUnit->m_bDugIn = FALSE;
        pUnit->m_nDugPosition = kUnset;
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        CHole* pHole = GetAt(i);
        if (pHole == nullptr)
            continue;
        for (int u = 0; u < pUnits->GetSize(); ++u)
        {
            CUnit* pUnit = pUnits->GetAt(u);
            if (pUnit == nullptr || !pUnit->IsStoppedByOrder() || pUnit->IsCarried() || pUnit->HasDismounted())
                continue;
            if ((pUnit->GetCapabilityMask() & kAircraftAbilities) != 0)
                continue;
            if (!(std::fabs(pUnit->m_fX - pHole->m_fX) < kOccupyReach) ||
                !(std::fabs(pUnit->m_fY - pHole->m_fY) < kOccupyReach) || !FitsKind(*pUnit, *pHole))
                continue;
            pUnit->ClaimDugPosition(i);
            pHole->m_bOccupied = TRUE;
            pHole->m_nOccupant = u;
            pHole->m_nOccupantArray = nArrayIndex;
            pUnit->SetHeading(pHole->m_fFacing, pDatabase);
            break;
        }
    }
}

int CHoleArray::FindNearestHole(float x, float y, float heading, float maxDistance, BOOL bDismount,
                                BOOL bEnabled) const
{
    if (!bEnabled || GetSize() == 0)
        return kUnset;
    const int nWantedKind = bDismount ? CHole::kDismount : CHole::kVehicle;
    float best = kNoBest;
    int nBest = kUnset;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CHole* pHole = GetAt(i);
        if (pHole == nullptr || pHole->m_nKind != nWantedKind)
            continue;
        const float d = CKDRGameMap::Distance(x, y, pHole->m_fX, pHole->m_fY);
        if (!(d <= maxDistance) || !(d <= best))
            continue;
        const double dTurn = FoldHalfTurn(static_cast<double>(pHole->m_fFacing) - heading);
        if (std::fabs(dTurn) <= kFacingWindow)
        {
            best = d;
            nBest = i;
        }
    }
    return nBest;
}

void CHoleArray::DrawHoles(CKDRUnits* pUnits, CKDRGameMap* pMap, int nSide)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CHole* pHole = GetAt(i);
        if (pHole == nullptr)
            continue;
        // The other sides' positions show only where the player sees their occupant.
        if (nSide != 0 &&
            !hole_units::IsInContacts(pUnits, nSide, pHole->m_nOccupant, pHole->m_nOccupantArray))
            continue;
        pHole->Draw(pMap, nSide);
    }
}

void CHoleArray::DrawSelected(const CTaskOrgArray* pList, CKDRGameMap* pMap, int nSide, BOOL bHighlight)
{
    if (pList == nullptr)
        return;
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const CTaskOrg* pEntry = pList->GetAt(k);
        if (CHole* pHole = pEntry != nullptr ? GetAt(pEntry->m_nUnit) : nullptr)
            pHole->PrepareMarker(nSide, pMap, bHighlight);
    }
}

void CHoleArray::PrepareMarkers(int nSide, const CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHole* pHole = GetAt(i))
            pHole->PrepareMarker(nSide, pMap, FALSE);
    }
}

BOOL CHoleArray::EditSelected(const CTaskOrgArray* pList)
{
    const CTaskOrg* pFirstEntry = pList != nullptr ? pList->GetAt(0) : nullptr;
    const CHole* pFirst = pFirstEntry != nullptr ? GetAt(pFirstEntry->m_nUnit) : nullptr;
    if (pFirst == nullptr)
        return FALSE;
    CHoleDlg dialog;
    dialog.m_fFacing = pFirst->m_fFacing;
    dialog.m_nKind = pFirst->m_nKind;
    dialog.m_bSeveral = TRUE;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const CTaskOrg* pEntry = pList->GetAt(k);
        if (CHole* pHole = pEntry != nullptr ? GetAt(pEntry->m_nUnit) : nullptr)
            pHole->m_fFacing = dialog.m_fFacing;
    }
    return TRUE;
}
