// Drawing a path: its legs with the two pens of its table row, each node's
// icon and, when asked, the first blocked point of each leg.
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "database/PieceArray.h"
#include "orders/NodeArray.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"

namespace
{
// The hierarchy level of a platoon, whose paths are drawn in yellow.
constexpr int PLATOON_LEVEL = 2;

// One row of the drawing table: the game map's numbered pens and the node icons.
struct PathStyle
{
    int nWidePen;
    int nNarrowPen;
    const char* pszStopIcon;
    const char* pszGoIcon;
};

PathStyle StyleFor(BOOL bSelected, BOOL bForElement, int nLevel)
{
    if (bSelected)
    {
        if (!bForElement)
            return {1, 2, "Stop Node Red", "Go Node Red"};
        if (nLevel == PLATOON_LEVEL)
            return {15, 14, "Stop Node Yellow", "Go Node Yellow"};
        return {7, 8, "Stop Node Blue", "Go Node Blue"};
    }
    if (!bForElement)
        return {3, 4, "Stop Node Grey", "Go Node Grey"};
    if (nLevel == PLATOON_LEVEL)
        return {13, 14, "Stop Node Light Yellow", "Go Node Light Yellow"};
    return {12, 14, "Stop Node Light Blue", "Go Node Light Blue"};
}

void MapToView(const CKDRGameMap* pMap, float x, float y, int& vx, int& vy)
{
    int px = 0;
    int py = 0;
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    pMap->PictureToView(px, py, &vx, &vy);
}

// The back surface's device context, lent by the draw service when the map
// draws on its display.
CDC* LendDC(const CKDRGameMap* pMap)
{
    CDisplay* pDisplay = pMap->GetDisplay();
    CDrawService* pDraw = GetDrawService();
    if (pDraw != nullptr && pDisplay != nullptr && pDraw->GetDisplay() == pDisplay)
        return pDraw->GetSurfaceDC();
    return pDisplay != nullptr ? pDisplay->GetSurfaceDC() : nullptr;
}

void ReturnDC(const CKDRGameMap* pMap)
{
    CDisplay* pDisplay = pMap->GetDisplay();
    CDrawService* pDraw = GetDrawService();
    if (pDraw != nullptr && pDisplay != nullptr && pDraw->GetDisplay() == pDisplay)
        pDraw->ReleaseSurfaceDC();
    else if (pDisplay != nullptr)
        pDisplay->ReleaseSurfaceDC();
}

// Places the sprite on the map point and draws it when it meets the picture.
void DrawClipped(CSprite* pSprite, float x, float y, CKDRGameMap* pMap)
{
    CDisplay* pDisplay = pMap->GetDisplay();
    CRect picture;
    if (pDisplay == nullptr || pDisplay->GetBackSurface() == nullptr || !pMap->GetPictureRect(&picture))
        return;
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    pSprite->SetMapPosition(px, py, pMap->GetMapPicture());
    const CRect sprite(pSprite->GetX(), pSprite->GetY(),
                       pSprite->GetX() + static_cast<int>(pSprite->GetWidth() * pSprite->GetScale()),
                       pSprite->GetY() + static_cast<int>(pSprite->GetHeight() * pSprite->GetScale()));
    CRect visible;
    if (!visible.IntersectRect(sprite, picture) || visible.IsRectEmpty())
        return;
    pSprite->Draw(pDisplay->GetBackSurface());
}
}  // namespace

void CNode::Draw(CKDRGameMap* pMap, BOOL bSelected, BOOL bForElement, int nLevel)
{
    if (!m_bIconLoaded || m_pIcon == nullptr || pMap == nullptr)
        return;
    const CDrawService* pDraw = GetDrawService();
    CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
    if (pCatalogue == nullptr)
        return;
    const PathStyle style = StyleFor(bSelected, bForElement, nLevel);
    int nFrame = 0;
    const int nList = pCatalogue->FindInLists(HasStop() ? style.pszStopIcon : style.pszGoIcon, &nFrame);
    if (nList == kUnset)
        return;
    CPiece* pPiece = pCatalogue->GetPiece(nList);
    if (pPiece == nullptr || pPiece->GetSurface() == nullptr)
        return;
    if (m_pIcon->GetSheet() != pPiece->GetSurface())
        m_pIcon->SetSheet(pPiece->GetSurface());
    m_pIcon->SetFrame(nFrame);
    DrawClipped(m_pIcon, m_fX, m_fY, pMap);
}

void CNodeArray::Draw(CKDRGameMap* pMap, BOOL bCheckBlocked, BOOL bSelected, BOOL bForElement, int nLevel)
{
    if (GetSize() == 0 || pMap == nullptr)
        return;
    const PathStyle style = StyleFor(bSelected, bForElement, nLevel);
    CRect picture;
    pMap->GetPictureRect(&picture);

    if (CDC* pDC = LendDC(pMap))
    {
        CPen* pOldPen = pDC->GetCurrentPen();
        for (int i = 0; i < GetSize(); ++i)
        {
            const CNode* pNode = GetAt(i);
            const CNode* pPrevious = GetAt(i > 0 ? i - 1 : 0);
            if (pNode == nullptr || pPrevious == nullptr)
                continue;
            int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            MapToView(pMap, pPrevious->m_fX, pPrevious->m_fY, x1, y1);
            MapToView(pMap, pNode->m_fX, pNode->m_fY, x2, y2);
            if ((x1 < 0 && x2 < 0) || (x1 >= picture.right && x2 >= picture.right) || (y1 < 0 && y2 < 0) ||
                (y1 >= picture.bottom && y2 >= picture.bottom))
                continue;
            for (int nPen : {style.nWidePen, style.nNarrowPen})
            {
                pDC->SelectObject(pMap->GetNumberedPen(nPen));
                pDC->MoveTo(x1, y1);
                pDC->LineTo(x2, y2);
            }
        }
        pDC->SelectObject(pOldPen);
        ReturnDC(pMap);
    }

    const int nDrawn = m_bAdding ? GetSize() - 1 : GetSize();
    CSprite* pBlocked = nullptr;
    CElevationMap* pElevation = pMap->GetElevationMap();
    for (int i = 0; i < nDrawn; ++i)
    {
        CNode* pNode = GetAt(i);
        if (pNode == nullptr)
            continue;
        const CNode* pPrevious = GetAt(i - 1);
        if (bCheckBlocked && i > 0 && pPrevious != nullptr && pElevation != nullptr)
        {
            int bx = 0;
            int by = 0;
            if (pElevation->FindBlockedPoint(
                    static_cast<int>(pPrevious->m_fX + 0.5f), static_cast<int>(pPrevious->m_fY + 0.5f),
                    static_cast<int>(pNode->m_fX + 0.5f), static_cast<int>(pNode->m_fY + 0.5f), &bx, &by))
            {
                if (pBlocked == nullptr)
                    pBlocked = LoadCatalogueSprite("Blocked Path Green");
                if (pBlocked != nullptr)
                    DrawClipped(pBlocked, static_cast<float>(bx), static_cast<float>(by), pMap);
            }
        }
        pNode->Draw(pMap, bSelected, bForElement, nLevel);
    }
    delete pBlocked;
}
