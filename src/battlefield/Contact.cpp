#include "battlefield/Contact.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/Obstacle.h"
#include "database/PieceArray.h"
#include "platform/core/Archive.h"
#include "platform/core/Rounding.h"
#include "platform/ui/Display.h"

#include <cmath>

IMPLEMENT_SERIAL(CContact, CObject, 1)
IMPLEMENT_SERIAL(CContactArray, CObArray, 1)

void CContact::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_fX << m_fY;
    else
        ar >> m_fX >> m_fY;
}

const char* CContact::MarkerName(int nObstacleType)
{
    switch (nObstacleType)
    {
    case CObstacle::kMineField: return "Mine Contact Green";
    case CObstacle::kTankDitch: return "Tank Ditch Contact Green";
    case CObstacle::kRoadCrater: return "Road Crater Contact Grey";
    case CObstacle::kWire: return "Wire Contact Grey";
    case CObstacle::kChemArea: return "Chem Contact Purple";
    default: return nullptr;
    }
}

void CContact::DrawOnSprite(int nObstacleType, const CRect& rcSprite, CSurface* pTarget, const CKDRGameMap* pMap) const
{
    const char* pszName = MarkerName(nObstacleType);
    const CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pszName == nullptr || pTarget == nullptr || pElevation == nullptr)
        return;
    int frame = 0;
    CFrameSurface* pSheet = FindSymbolSheet(pMap->GetSymbolCatalogue(), pszName, &frame);
    if (pSheet == nullptr)
        return;
    int px = 0, py = 0;
    pElevation->MapToPixel(m_fX, m_fY, &px, &py);
    const double zoom = pMap->GetZoom();
    CSprite marker(pSheet);
    marker.SetFrame(frame);
    marker.SetPosition(RoundHalfUp(px * zoom) - rcSprite.left - pSheet->GetFrameWidth() / 2,
                       RoundHalfUp(py * zoom) - rcSprite.top - pSheet->GetFrameHeight() / 2);
    marker.DrawOnSurface(pTarget);
}

void CContactArray::GetMeanPosition(float& x, float& y) const
{
    double sumX = 0.0;
    double sumY = 0.0;
    int n = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CContact* pContact = GetAt(i))
        {
            sumX += pContact->m_fX;
            sumY += pContact->m_fY;
            ++n;
        }
    }
    if (n == 0)
    {
        x = kUnsetFloat;
        y = kUnsetFloat;
        return;
    }
    x = static_cast<float>(sumX / n);
    y = static_cast<float>(sumY / n);
}

BOOL CContactArray::HasContactWithin(float x, float y, float distance) const
{
    for (int i = 0; i < GetSize(); ++i)
    {
        const CContact* pContact = GetAt(i);
        if (pContact != nullptr &&
            std::hypot(static_cast<double>(pContact->m_fX) - x, static_cast<double>(pContact->m_fY) - y) <= distance)
            return TRUE;
    }
    return FALSE;
}
