#pragma once
// Counts what a drawing puts near a map point: the point is brought to the
// middle of the view, the back surface cleared to white, draw() run, and
// the pixels no longer white within `reach` pixels of the point counted.

#include "app/KDRDoc.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/ui/Display.h"

template <class FDraw>
int CountDrawnAround(CKDRDoc& doc, float x, float y, int reach, FDraw draw)
{
    constexpr COLORREF kWhite = RGB(255, 255, 255);
    CKDRGameMap* pMap = doc.GetGameMap();
    CMapPicture* pPicture = pMap->GetMapPicture();
    CDisplay* pDisplay = pMap->GetDisplay();
    int px = 0, py = 0;
    pMap->GetElevationMap()->MapToPixel(x, y, &px, &py);
    pPicture->SetScroll(px - pPicture->GetDisplayWidth() / 2, py - pPicture->GetDisplayHeight() / 2);
    CSurface* pBack = pDisplay->GetBackSurface();
    CDC* pDC = pDisplay->GetSurfaceDC();
    pDC->FillSolidRect(0, 0, pBack->GetWidth(), pBack->GetHeight(), kWhite);
    pDisplay->ReleaseSurfaceDC();
    draw();
    int vx = 0, vy = 0;
    pMap->PictureToView(px, py, &vx, &vy);
    int drawn = 0;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            drawn += pBack->GetPixel(vx + dx, vy + dy) != kWhite ? 1 : 0;
    return drawn;
}
