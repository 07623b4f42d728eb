#pragma once
// The map's static layers (the map picture, the terrain features, the
// contour overlay and the grid lines) as they were last drawn, kept in one
// surface of the back surface's size so that a paint copies them instead of
// drawing them again.
//
// What the game map's DrawMap puts on the back surface depends only on the
// map's look (its revision, which every change of picture, tile sheet,
// display mode, elevation map or terrain moves on), the zoom, the scroll
// position, the display size and whether grid lines are shown. Draw keeps
// those with the layers and draws them again when any differs, so the
// pixels on the back surface are always the ones DrawMap itself would put
// there; Drop forces the next Draw to draw. A layer drawn while a surface
// was lost is not kept: the next paint draws again, as it does without the
// kept copy.
//
// The view owns one; the kept surface belongs to the display it was made
// on and is made again when the back surface changes.

#include "platform/core/Types.h"

#include <memory>

class CKDRGameMap;
class CSurface;

class CStaticLayers
{
public:
    CStaticLayers();
    ~CStaticLayers();
    CStaticLayers(const CStaticLayers&) = delete;
    CStaticLayers& operator=(const CStaticLayers&) = delete;

    // Puts the static layers of the map on the back surface, with the grid
    // lines when bGrid is set.
    void Draw(CKDRGameMap* pMap, CSurface* pBack, BOOL bGrid);
    // The next Draw draws the layers again.
    void Drop();

private:
    // Everything the drawn layers depend on.
    struct Key
    {
        const CKDRGameMap* pMap = nullptr;
        DWORD dwLook = 0;
        const CSurface* pBack = nullptr;
        int nBackWidth = 0;
        int nBackHeight = 0;
        float fZoom = 0.0f;
        int nScrollX = 0;
        int nScrollY = 0;
        int nOriginX = 0;
        int nOriginY = 0;
        int nDisplayWidth = 0;
        int nDisplayHeight = 0;
        int nMode = 0;
        const CSurface* pTiles = nullptr;
        const CSurface* pOverlay = nullptr;
        BOOL bGrid = FALSE;
        bool operator==(const Key&) const = default;
    };
    static Key KeyOf(const CKDRGameMap* pMap, const CSurface* pBack, BOOL bGrid);

    std::unique_ptr<CSurface> m_pKept;
    Key m_key;
    BOOL m_bKept = FALSE;
};
