#include "battlefield/ObstacleArray.h"

#include "battlefield/AITerrain.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/ListedMove.h"
#include "battlefield/MoverInfo.h"
#include "battlefield/ObstacleDlg.h"
#include "database/DatabaseSupport.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"

#include <algorithm>
#include <cmath>
#include <memory>

IMPLEMENT_SERIAL(CObstacleArray, CObArray, 1)

namespace
{
const char* const kDefaultName = "*.fob";
const char* const kFileFilter = "Friendly Obstacle Array (*.fob)|*.fob|Enemy or Neutral Obstacle Array (*.eob)|*.eob||";
constexpr float kNoBest = 99999.0f;

// The dialog starts from the obstacle's own values.
void ShowInDialog(const CObstacle& obstacle, CObstacleDlg& dialog)
{
    dialog.m_nAttitude = obstacle.m_nAttitude;
    dialog.m_nTimeToFire = static_cast<int>(obstacle.m_tsTime.GetTotalSeconds());
    dialog.m_nDensity = obstacle.m_nDensity;
    dialog.m_nLength = obstacle.m_nLength;
    dialog.m_nWidth = obstacle.m_nWidth;
    dialog.m_nType = obstacle.m_nType;
}
}  // namespace

CObstacleArray::CObstacleArray() : m_strName(kDefaultName) {}

void CObstacleArray::Serialize(CArchive& ar)
{
    CObArray::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strName;
    else
        ar >> m_strName;
}

BOOL CObstacleArray::LoadFromFile(CString name, CKDRGameMap* pMap, const CString& strDataDir)
{
    if (!ReadFileAskingForAnother(*this, name, strDataDir, "fob", kDefaultName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                  kFileFilter))
        return FALSE;
    m_strName = name;

    for (int i = 0; i < GetSize(); ++i)
    {
        if (CObstacle* pObstacle = GetAt(i))
        {
            pObstacle->ClampToMap(pMap);
            pObstacle->DrawOnMapSurface(pMap, FALSE);
        }
    }
    return TRUE;
}

CObstacle* CObstacleArray::GetObstacle(int i) const
{
    CObstacle* pObstacle = GetAt(i);
    return pObstacle != nullptr && !pObstacle->IsChemArea() ? pObstacle : nullptr;
}

CChem* CObstacleArray::GetChemArea(int i) const
{
    CObstacle* pObstacle = GetAt(i);
    return pObstacle != nullptr && pObstacle->IsChemArea() ? static_cast<CChem*>(pObstacle) : nullptr;
}

int CObstacleArray::FindObstacleAt(float x, float y, const CKDRGameMap* pMap, BOOL ignoreSprite) const
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CObstacle* pObstacle = GetObstacle(i);
        if (pObstacle != nullptr && pObstacle->HitTest(x, y, pMap, ignoreSprite) != kUnset)
            return i;
    }
    return kUnset;
}

int CObstacleArray::FindChemAt(float x, float y) const
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        const CChem* pChem = GetChemArea(i);
        if (pChem != nullptr && pChem->IsActive() && pChem->ContainsInCircle(x, y))
            return i;
    }
    return kUnset;
}

CTaskOrgArray* CObstacleArray::SelectInRect(float x1, float y1, float x2, float y2) const
{
    return SelectIndicesInRect(GetSize(), x1, y1, x2, y2,
                               [this](int i, float& x, float& y)
                               {
                                   const CObstacle* pObstacle = GetObstacle(i);
                                   if (pObstacle == nullptr)
                                       return false;
                                   x = pObstacle->m_fX;
                                   y = pObstacle->m_fY;
                                   return true;
                               });
}

void CObstacleArray::UpdateAll(CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        CObstacle* pObstacle = GetAt(i);
        if (pObstacle == nullptr)
            continue;
        if (const CChem* pChem = GetChemArea(i); pChem != nullptr && !pChem->IsActive())
            continue;
        pObstacle->Update(pMap);
    }
}

BOOL CObstacleArray::StepAll(CTimeSpan tsNow)
{
    BOOL bChanged = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CObstacle* pObstacle = GetAt(i); pObstacle != nullptr && pObstacle->Step(tsNow))
            bChanged = TRUE;
    }
    return bChanged;
}

void CObstacleArray::DrawAllOnMapSurface(CKDRGameMap* pMap)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CObstacle* pObstacle = GetAt(i))
            pObstacle->DrawOnMapSurface(pMap, FALSE);
    }
}

CString CObstacleArray::GetTypeName(const CObstacle* pObstacle)
{
    if (pObstacle == nullptr || pObstacle->IsChemArea())
        return CString();
    const char* pszName = CObstacleDlg::TypeName(pObstacle->GetObstacleType());
    return pszName != nullptr ? CString(pszName) : CString();
}

void CObstacleArray::DrawSelected(const CTaskOrgArray* pList, CKDRGameMap* pMap, BOOL highlight)
{
    if (pList == nullptr)
        return;
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const CTaskOrg* pEntry = pList->GetAt(k);
        CObstacle* pObstacle = pEntry != nullptr ? GetObstacle(pEntry->m_nUnit) : nullptr;
        if (pObstacle == nullptr)
            continue;
        pObstacle->m_bHighlight = highlight;
        pObstacle->DrawOnMapSurface(pMap, highlight);
    }
}

BOOL CObstacleArray::EditSelected(const CTaskOrgArray* pList, CKDRGameMap* pMap)
{
    const CTaskOrg* pFirstEntry = pList != nullptr ? pList->GetAt(0) : nullptr;
    const CObstacle* pFirst = pFirstEntry != nullptr ? GetObstacle(pFirstEntry->m_nUnit) : nullptr;
    if (pFirst == nullptr)
        return FALSE;
    CObstacleDlg dialog;
    ShowInDialog(*pFirst, dialog);
    dialog.m_bReadOnly = TRUE;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    for (int k = 0; k < pList->GetSize(); ++k)
    {
        const CTaskOrg* pEntry = pList->GetAt(k);
        CObstacle* pObstacle = pEntry != nullptr ? GetObstacle(pEntry->m_nUnit) : nullptr;
        if (pObstacle == nullptr)
            continue;
        pObstacle->m_nAttitude = dialog.m_nAttitude;
        pObstacle->DrawOnMapSurface(pMap, TRUE);
    }
    return TRUE;
}

BOOL CObstacleArray::EditObstacle(CObstacle* pObstacle)
{
    if (pObstacle == nullptr || pObstacle->IsChemArea())
        return FALSE;
    CObstacleDlg dialog;
    ShowInDialog(*pObstacle, dialog);
    dialog.m_bReadOnly = FALSE;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    pObstacle->m_nAttitude = dialog.m_nAttitude;
    pObstacle->m_tsTime = CTimeSpan(dialog.m_nTimeToFire);
    return TRUE;
}

void CObstacleArray::MoveSelected(const CTaskOrgArray* pList, float fromX, float fromY, float toX, float toY,
                                  const CKDRGameMap* pMap)
{
    MoveListedBy(pList, fromX, fromY, toX, toY, pMap, [this](int i) { return GetObstacle(i); });
}

int CObstacleArray::IsBlocked(float x, float y, const CKDRGameMap* pMap, int moverMask, CObstacle** ppObstacle,
                              BOOL otherSide, int abilityMask) const
{
    if (ppObstacle != nullptr)
        *ppObstacle = nullptr;
    if ((moverMask & 0x3) == 0)
        return 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        CObstacle* pObstacle = GetAt(i);
        if (pObstacle == nullptr)
            continue;
        if (abilityMask > 0 && (pObstacle->GetObstacleType() & abilityMask) != 0)
            continue;
        if (pObstacle->IsBlockingAt(x, y, pMap, otherSide))
        {
            if (ppObstacle != nullptr)
                *ppObstacle = pObstacle;
            return 1;
        }
    }
    return 0;
}

int CObstacleArray::FindCrossing(const MoverInfo& mover, BOOL useContacts, const CKDRGameMap* pMap, float* entryX,
                                 float* entryY, CAITerrainRoute** ppRoute) const
{
    float bestX = kUnsetFloat;
    float bestY = kUnsetFloat;
    float best = kNoBest;
    CAITerrainRoute* pBest = nullptr;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CObstacle* pObstacle = GetAt(i);
        if (pObstacle == nullptr)
            continue;
        float x = 0, y = 0;
        CAITerrainRoute* pRoute = nullptr;
        if (!pObstacle->FindCrossing(mover, useContacts, pMap, &x, &y, &pRoute))
            continue;
        const float d = CKDRGameMap::Distance(mover.x, mover.y, x, y);
        if (d < best)
        {
            best = d;
            bestX = x;
            bestY = y;
            delete pBest;
            pBest = pRoute;
        }
        else
        {
            delete pRoute;
        }
    }
    if (entryX != nullptr)
        *entryX = bestX;
    if (entryY != nullptr)
        *entryY = bestY;
    const BOOL found = pBest != nullptr;
    if (ppRoute != nullptr)
        *ppRoute = pBest;
    else
        delete pBest;
    return found ? 1 : 0;
}

CObstacle* CObstacleArray::AddObstacle(float x, float y, int attitude, int width, int length, int density, int side,
                                       CKDRGameMap* pMap)
{
    CObstacle* pObstacle = side == 0 ? new CObstacle : new CEnemyObstacle;
    pObstacle->m_fX = x;
    pObstacle->m_fY = y;
    pObstacle->m_nAttitude = attitude;
    pObstacle->m_nWidth = width;
    pObstacle->m_nLength = length;
    pObstacle->m_nDensity = density;
    pObstacle->m_nType = CObstacle::kMineField;
    pObstacle->m_tsTime = CTimeSpan(0);
    Add(pObstacle);
    pObstacle->DrawOnMapSurface(pMap, FALSE);
    return pObstacle;
}

CChem* CObstacleArray::AddChemArea(float x, float y, int radius, int density, int duration, int side, CTimeSpan tsNow,
                                   CKDRGameMap* pMap)
{
    CChem* pChem = side == 0 ? new CChem : new CEnemyChem;
    pChem->m_fX = x;
    pChem->m_fY = y;
    pChem->m_nWidth = radius;
    pChem->m_nDensity = density;
    pChem->m_tsTime = tsNow + CTimeSpan(duration);
    Add(pChem);
    pChem->DrawOnMapSurface(pMap, FALSE);
    return pChem;
}

CObstacleArray* CObstacleArray::ConvertClass(BOOL toEnemy, CKDRGameMap* pMap) const
{
    auto* pConverted = new CObstacleArray;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CObstacle* pObstacle = GetAt(i))
        {
            CObstacle* pCopy = pObstacle->CopyAs(toEnemy);
            pConverted->Add(pCopy);
            pCopy->DrawOnMapSurface(pMap, FALSE);
        }
    }
    return pConverted;
}
