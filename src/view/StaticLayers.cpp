#include "view/StaticLayers.h"

#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/ui/Display.h"

CStaticLayers::CStaticLayers() = default;

CStaticLayers::~CStaticLayers() = default;

CStaticLayers::Key CStaticLayers::KeyOf(const CKDRGameMap* pMap, const CSurface* pBack, BOOL bGrid)
{
    Key key;
    key.pMap = pMap;
    key.dwLook = pMap->GetLookRevision();
    key.pBack = pBack;
    key.nBackWidth = pBack->GetWidth();
    key.nBackHeight = pBack->GetHeight();
    key.nMode = pMap->GetMapDisplayMode();
    key.pTiles = pMap->GetTileSurface();
    key.pOverlay = pMap->GetOverlaySurface();
    key.bGrid = bGrid;
    if (const CMapPicture* pPicture = pMap->GetMapPicture())
    {
        key.fZoom = pPicture->GetZoom();
        key.nScrollX = pPicture->GetScrollX();
        key.nScrollY = pPicture->GetScrollY();
        key.nOriginX = pPicture->GetOriginX();
        key.nOriginY = pPicture->GetOriginY();
        key.nDisplayWidth = pPicture->GetDisplayWidth();
        key.nDisplayHeight = pPicture->GetDisplayHeight();
    }
    return key;
}

void CStaticLayers::Drop() { m_bKept = FALSE; }

void CStaticLayers::Draw(CKDRGameMap* pMap, CSurface* pBack, BOOL bGrid)
{
    if (pMap == nullptr || pBack == nullptr)
        return;
    const int nFlags = bGrid ? CKDRGameMap::kDrawGrid : 0;
    const CMapPicture* pPicture = pMap->GetMapPicture();
    if (pPicture == nullptr)
    {
        pMap->DrawMap(pBack, nFlags);
        return;
    }
    const CRect rcWhole(0, 0, pBack->GetWidth(), pBack->GetHeight());
    const Key key = KeyOf(pMap, pBack, bGrid);
    if (m_bKept && key == m_key && !m_pKept->IsLost() && !pBack->IsLost() &&
        m_pKept->Blt(rcWhole, pBack, rcWhole, FALSE) == DD_OK)
        return;

    // Lost surfaces restore themselves while they are drawn, but what is
    // drawn then misses them: such a drawing is shown once and not kept.
    const CSurface* pTiles = pPicture->GetTileSheet();
    const CSurface* pOverlay = pMap->GetOverlaySurface();
    const BOOL bWhole =
        !pBack->IsLost() && (pTiles == nullptr || !pTiles->IsLost()) && (pOverlay == nullptr || !pOverlay->IsLost());
    m_bKept = FALSE;
    pMap->DrawMap(pBack, nFlags);
    if (!bWhole || rcWhole.IsRectEmpty())
        return;
    if (m_pKept == nullptr || m_pKept->GetDisplay() != pBack->GetDisplay() || m_pKept->GetWidth() != rcWhole.right ||
        m_pKept->GetHeight() != rcWhole.bottom)
    {
        m_pKept = std::make_unique<CSurface>();
        if (!m_pKept->Create(pBack->GetDisplay(), rcWhole.right, rcWhole.bottom))
        {
            m_pKept.reset();
            return;
        }
    }
    if (pBack->Blt(rcWhole, m_pKept.get(), rcWhole, FALSE) != DD_OK)
        return;
    m_key = key;
    m_bKept = TRUE;
}
