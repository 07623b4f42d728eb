#pragma once
// CKDRGameMap: the document's game map component. Its scenario part names
// the map's files: three words (tile columns, rows and count of the tile
// bitmaps) and seven names (colour tiles, tile grid, elevation map, contour
// tiles, a spare name, AI help map, its own name).
//
// The elevation map it owns carries the ground and terrain. Besides the
// files it answers what the terrain and movement code needs of it: the
// conversion of picture pixels to view pixels through the map picture's
// zoom and scroll, and the movement blocking tests built on the elevation
// map. The help map and obstacle tests join the blocking tests when those
// components exist; until then no help map is present and a given obstacle
// component blocks nothing.

#include "platform/Core.h"

class CDisplay;
class CElevationMap;
class CKDRObstacles;
class CMapPicture;
class CTerrain;

class CKDRGameMap : public CObject
{
    DECLARE_SERIAL(CKDRGameMap)
public:
    CKDRGameMap();
    ~CKDRGameMap() override;
    CKDRGameMap(const CKDRGameMap&) = delete;
    CKDRGameMap& operator=(const CKDRGameMap&) = delete;

    void Serialize(CArchive& ar) override;

    // Loads the files the scenario part names; 1 on success.
    BOOL LoadMapFiles(CDisplay* pDisplay);
    BOOL HasMapFiles() const;

    // --- Elevation map and view conversion ------------------------------
    // Takes ownership (null removes the map) and sets the presence flag.
    void SetElevationMap(CElevationMap* pMap);
    CElevationMap* GetElevationMap() const { return m_bElevationPresent ? m_pElevationMap : nullptr; }
    BOOL HasElevationMap() const { return m_bElevationPresent && m_pElevationMap != nullptr; }

    // The map picture whose zoom and scroll the view conversion uses (not
    // owned here).
    void SetMapPicture(CMapPicture* pPicture) { m_pPicture = pPicture; }
    CMapPicture* GetMapPicture() const { return m_pPicture; }

    // Picture pixels to view pixels: ((p - scroll) * zoom) rounded; the
    // scroll counts as (-99, -99) when the map names no tile grid. Answers 1.
    int PictureToView(int px, int py, int* vx, int* vy) const;
    // The visible part of the view in view pixels (0 x 0 without a picture).
    CSize GetVisibleViewSize() const;

    // --- Movement tests ----------------------------------------------------
    // 1 when a mover of these class bits may not stand at the point; a and b
    // go unchanged to the obstacle test.
    int IsPointBlocked(float x, float y, CKDRObstacles* obstacles, int moverFlags, int a, int b) const;
    // Walks a corridor of parallel lines 10 m apart (the centre line, then
    // +10, -10, +20, -20 m ...) of the given width, each as long as the move
    // plus extraLength; 1 with the first blocked point and feature.
    // a, b, c and out1 to out3 belong to the help map's segment test.
    int FindSegmentBlock(int a, float x1, float y1, float x2, float y2, float* blockedX, float* blockedY, float width,
                         float extraLength, int moverFlags, int b, int* out1, CTerrain** feature, int* out2,
                         int* out3, int c) const;
    static float Distance(float x1, float y1, float x2, float y2);

    int m_nTileColumns = 0;
    int m_nTileRows = 0;
    int m_nTileCount = 0;
    CString m_strFileName;
    CString m_strColorTiles;
    CString m_strTileGrid;
    CString m_strElevation;
    CString m_strContourTiles;
    CString m_strSpare;
    CString m_strHelpMap;

private:
    CElevationMap* m_pElevationMap = nullptr;
    BOOL m_bElevationPresent = FALSE;
    CMapPicture* m_pPicture = nullptr;
};
