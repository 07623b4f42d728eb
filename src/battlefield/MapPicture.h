#pragma once
// The map picture: a large picture built from square tiles of a tile sheet,
// placed by a grid of tile indices read from a map grid file, drawn at a
// zoom and scroll position onto the display's back surface.
//
// Map grid file (little-endian): grid columns (int32), grid rows (int32),
// then columns x rows tile indices (int32), row by row. A tile index of 0
// draws nothing (the picture below shows through an overlay sheet), -99
// marks ground outside the map and is drawn black, any other k is tile k of
// the sheet counted row by row. A grid whose counts do not fit the file is
// refused; a cell outside the grid and an index outside the sheet are drawn
// as -99. Nothing is read outside the grid or the sheet.

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/ui/Display.h"

#include <vector>

class CMapPicture
{
public:
    // The tile index of a cell off the map, drawn black.
    // The tile index of a cell that leaves what lies below.
    static constexpr LONG kNoTile = 0;

    // The tile size comes from the sheet's column and row values, the
    // visible size from the display.
    CMapPicture(CFrameSurface* tileSheet, CDisplay* display);

    // FALSE for a null path, a file that does not open, counts that the
    // file's size does not hold or a picture whose pixel size an int cannot
    // hold; the grid is then left as it was, and GetLoadError says why a
    // file that is there could not be read (empty when it is missing).
    BOOL LoadGrid(const char* path);
    const CString& GetLoadError() const { return m_strLoadError; }
    // Clamped so that the visible part stays on the picture.
    void SetScroll(int x, int y);
    // Added without clamping.
    void ScrollX(int dx) { m_scrollX += dx; }
    void ScrollY(int dy) { m_scrollY += dy; }
    void SetTileSheet(CFrameSurface* sheet) { m_pSheet = sheet; }
    CFrameSurface* GetTileSheet() const { return m_pSheet; }
    // Unscaled; keyed for an overlay sheet.
    DDRESULT Draw(CSurface* target, BOOL keyed);
    // At the zoom (used when it is not 1.0).
    DDRESULT DrawScaled(CSurface* target, BOOL keyed);

    // The display's back surface was made again at another size.
    void SetDisplaySize(int width, int height);
    void SetZoom(float zoom) { m_zoom = zoom; }
    float GetZoom() const { return m_zoom; }
    void SetOrigin(int x, int y)
    {
        m_originX = x;
        m_originY = y;
    }
    int GetOriginX() const { return m_originX; }
    int GetOriginY() const { return m_originY; }
    int GetScrollX() const { return m_scrollX; }
    int GetScrollY() const { return m_scrollY; }
    int GetGridColumns() const { return m_columns; }
    int GetGridRows() const { return m_rows; }
    int GetTileWidth() const { return m_tileWidth; }
    int GetTileHeight() const { return m_tileHeight; }
    int GetMapWidth() const { return m_mapWidth; }
    int GetMapHeight() const { return m_mapHeight; }
    int GetDisplayWidth() const { return m_displayWidth; }
    int GetDisplayHeight() const { return m_displayHeight; }
    int GetTilesAcross() const { return m_tilesAcross; }
    int GetTilesDown() const { return m_tilesDown; }

    // The tile drawn at a grid cell: kNoTile, kUnset (also outside the grid
    // and for an index the current sheet does not hold) or a tile index.
    LONG GetTile(int column, int row) const;
    // The tiles the grid names: the highest number, and how many of the
    // tile sheet's size it holds. A sheet that holds fewer than the highest
    // number plus one cannot draw the map (its missing tiles would be
    // black): the map refuses it.
    LONG GetHighestTile() const;
    LONG GetTilesOnSheet() const;

private:
    void DrawTileScaled(CSurface* target, int px, int py, int w, int h, int sx, int sy, int scrollX, int scrollY,
                        BOOL keyed);
    LONG TileAtPixel(int x, int y) const;
    CRect TileRect(LONG tile) const;

    int m_originX = 0;
    int m_originY = 0;
    float m_zoom = 1.0f;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_columns = 0;
    int m_rows = 0;
    int m_tileWidth = 0;
    int m_tileHeight = 0;
    int m_mapWidth = 0;
    int m_mapHeight = 0;
    int m_tilesAcross = 0;
    int m_tilesDown = 0;
    int m_displayWidth = 0;
    int m_displayHeight = 0;
    int m_cellCount = 0;
    std::vector<LONG> m_grid;
    CFrameSurface* m_pSheet = nullptr;  // not owned
    CString m_strLoadError;
};
