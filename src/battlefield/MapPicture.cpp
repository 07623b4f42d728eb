#include "battlefield/MapPicture.h"

#include "platform/core/File.h"
#include "platform/core/Rounding.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

constexpr DWORD kBlack = 0;
constexpr float kMinZoom = 1.0f / 64;

// The remainder in 0..m-1 also for negative scroll positions.
int FloorMod(int v, int m)
{
    const int r = v % m;
    return r < 0 ? r + m : r;
}

LONG ReadLe32(const BYTE* p)
{
    return static_cast<LONG>(DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24));
}

}  // namespace

CMapPicture::CMapPicture(CFrameSurface* tileSheet, CDisplay* display) : m_pSheet(tileSheet)
{
    if (tileSheet)
    {
        m_tileWidth = tileSheet->GetColumns();
        m_tileHeight = tileSheet->GetRows();
    }
    if (display)
    {
        m_displayWidth = display->GetWidth();
        m_displayHeight = display->GetHeight();
    }
    if (m_tileWidth > 0 && m_tileHeight > 0)
    {
        m_tilesAcross = m_displayWidth / m_tileWidth;
        m_tilesDown = m_displayHeight / m_tileHeight;
    }
}

void CMapPicture::SetDisplaySize(int width, int height)
{
    m_displayWidth = std::max(0, width);
    m_displayHeight = std::max(0, height);
    if (m_tileWidth > 0 && m_tileHeight > 0)
    {
        m_tilesAcross = m_displayWidth / m_tileWidth;
        m_tilesDown = m_displayHeight / m_tileHeight;
    }
}

BOOL CMapPicture::LoadGrid(const char* path)
{
    m_strLoadError.Empty();
    if (!path)
        return FALSE;
    CFile file;
    CFileException error;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary, &error))
    {
        if (error.m_cause != CFileException::fileNotFound && error.m_cause != CFileException::badPath)
            m_strLoadError = error.GetReason();
        return FALSE;
    }
    auto refuse = [this, &file](const char* reason)
    {
        file.Abort();
        m_strLoadError = reason;
        return FALSE;
    };
    try
    {
        const DWORD length = file.GetLength();
        BYTE head[8];
        if (length < sizeof head || file.Read(head, sizeof head) != sizeof head)
            return refuse("it is too short to hold the grid's size");
        const LONG columns = ReadLe32(head);
        const LONG rows = ReadLe32(head + 4);
        if (columns <= 0 || rows <= 0)
            return refuse("its grid has no cell");
        // The counts must be held by the file before anything is allocated,
        // and the picture they make must have a size an int holds.
        const unsigned long long cells = static_cast<unsigned long long>(columns) * rows;
        if (cells > (length - sizeof head) / 4)
            return refuse("its grid has more cells than the file holds");
        const long long width = static_cast<long long>(m_tileWidth) * columns;
        const long long height = static_cast<long long>(m_tileHeight) * rows;
        if (width > INT_MAX || height > INT_MAX)
            return refuse("its grid makes a picture too large to draw");
        std::vector<BYTE> bytes(static_cast<size_t>(cells) * 4);
        if (file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size())
            return refuse("it ended before all its cells were read");
        file.Close();

        std::vector<LONG> grid(static_cast<size_t>(cells));
        for (size_t i = 0; i < grid.size(); ++i)
            grid[i] = ReadLe32(bytes.data() + 4 * i);
        m_grid = std::move(grid);
        m_columns = columns;
        m_rows = rows;
        m_cellCount = static_cast<int>(cells);
        m_mapWidth = static_cast<int>(width);
        m_mapHeight = static_cast<int>(height);
    }
    catch (const CFileException& e)
    {
        file.Abort();
        m_strLoadError = e.GetReason();
        return FALSE;
    }
    return TRUE;
}

LONG CMapPicture::GetHighestTile() const
{
    LONG highest = kNoTile;
    for (LONG tile : m_grid)
        highest = std::max(highest, tile);
    return highest;
}

LONG CMapPicture::GetTilesOnSheet() const
{
    if (!m_pSheet || m_tileWidth <= 0 || m_tileHeight <= 0)
        return 0;
    return static_cast<LONG>(m_pSheet->GetWidth() / m_tileWidth) * (m_pSheet->GetHeight() / m_tileHeight);
}

void CMapPicture::SetScroll(int x, int y)
{
    if (!(m_zoom >= kMinZoom))
        return;
    const int visibleWidth = static_cast<int>(m_displayWidth / double(m_zoom) + 1);
    const int visibleHeight = static_cast<int>(m_displayHeight / double(m_zoom) + 1);
    const int maxX = m_mapWidth - visibleWidth;
    const int maxY = m_mapHeight - visibleHeight;
    if (x < 0)
        x = 0;
    if (maxX < 1)
        x = 0;
    else if (x > maxX)
        x = maxX;
    if (y < 0)
        y = 0;
    if (maxY < 1)
        y = 0;
    else if (y > maxY)
        y = maxY;
    m_scrollX = x;
    m_scrollY = y;
}

LONG CMapPicture::GetTile(int column, int row) const
{
    if (column < 0 || row < 0 || column >= m_columns || row >= m_rows)
        return kUnset;
    const size_t index = static_cast<size_t>(row) * m_columns + column;
    if (index >= m_grid.size())
        return kUnset;
    const LONG tile = m_grid[index];
    if (tile == kNoTile || tile == kUnset)
        return tile;
    // An index the sheet does not hold is drawn as ground off the map.
    if (!m_pSheet || m_tileWidth <= 0 || m_tileHeight <= 0)
        return kUnset;
    const long long perRow = m_pSheet->GetWidth() / m_tileWidth;
    const long long sheetRows = m_pSheet->GetHeight() / m_tileHeight;
    if (tile < 0 || tile >= perRow * sheetRows)
        return kUnset;
    return tile;
}

LONG CMapPicture::TileAtPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_mapWidth || y >= m_mapHeight)
        return kUnset;
    return GetTile(x / m_tileWidth, y / m_tileHeight);
}

CRect CMapPicture::TileRect(LONG tile) const
{
    const int perRow = m_pSheet->GetWidth() / m_tileWidth;
    const int column = static_cast<int>(tile % perRow);
    const int row = static_cast<int>(tile / perRow);
    return CRect(column * m_tileWidth, row * m_tileHeight, (column + 1) * m_tileWidth, (row + 1) * m_tileHeight);
}

DDRESULT CMapPicture::Draw(CSurface* target, BOOL keyed)
{
    if (!target || m_tileWidth <= 0 || m_tileHeight <= 0)
        return DDERR_INVALIDPARAMS;
    // First column and row are what is left of the tile the scroll position
    // falls in, inner pieces whole tiles, the last ones what remains. The
    // pieces of one row of tiles go to the sheet together and ground off the
    // map is filled black piece by piece: the pieces do not overlap, so the
    // order does not change what is drawn.
    const int ox = FloorMod(m_scrollX, m_tileWidth);
    const int oy = FloorMod(m_scrollY, m_tileHeight);
    std::vector<CSurface::BandPiece> pieces;
    for (int dy = 0; dy < m_displayHeight;)
    {
        const int sy = dy == 0 ? oy : 0;
        const int h = std::min(m_tileHeight - sy, m_displayHeight - dy);
        pieces.clear();
        for (int dx = 0; dx < m_displayWidth;)
        {
            const int sx = dx == 0 ? ox : 0;
            const int w = std::min(m_tileWidth - sx, m_displayWidth - dx);
            const LONG tile = TileAtPixel(m_scrollX + dx, m_scrollY + dy);
            if (tile == kUnset)
            {
                CRect fill(m_originX + dx, m_originY + dy, m_originX + dx + w, m_originY + dy + h);
                if (fill.IntersectRect(fill, CRect(0, 0, m_displayWidth, m_displayHeight)))
                    target->ColorFill(fill, kBlack);
            }
            else if (tile != kNoTile)
            {
                const CRect rect = TileRect(tile);
                pieces.push_back({rect.left + sx, rect.top + sy, w, m_originX + dx});
            }
            dx += w;
        }
        if (!pieces.empty())
            m_pSheet->BltBand(pieces, m_originY + dy, h, target, keyed);
        dy += h;
    }
    return DD_OK;
}

void CMapPicture::DrawTileScaled(CSurface* target, int px, int py, int w, int h, int sx, int sy, int scrollX,
                                 int scrollY, BOOL keyed)
{
    const double zoom = m_zoom;
    const int screenX = RoundHalfUp(px * zoom);
    const int screenY = RoundHalfUp(py * zoom);
    if (screenX < 0 || screenY < 0 || screenX >= m_displayWidth || screenY >= m_displayHeight)
        return;
    const LONG tile = TileAtPixel(scrollX + px, scrollY + py);
    if (tile == kNoTile)
        return;

    // One pixel more each way, so that neighbouring pieces overlap and no
    // seam shows.
    CRect dest(m_originX + screenX, m_originY + screenY, m_originX + screenX + RoundHalfUp(w * zoom) + 1,
               m_originY + screenY + RoundHalfUp(h * zoom) + 1);
    CRect src;
    if (tile != kUnset)
    {
        const CRect rect = TileRect(tile);
        src = CRect(rect.left + sx, rect.top + sy, rect.left + sx + w, rect.top + sy + h);
    }
    if (dest.right > m_displayWidth)
    {
        const int e = dest.right - m_displayWidth;
        dest.right = m_displayWidth;
        src.right -= RoundHalfUp(e / zoom);
    }
    if (dest.bottom > m_displayHeight)
    {
        const int e = dest.bottom - m_displayHeight;
        dest.bottom = m_displayHeight;
        src.bottom -= RoundHalfUp(e / zoom);
    }
    if (dest.IsRectEmpty())
        return;
    if (tile == kUnset)
    {
        target->ColorFill(dest, kBlack);
        return;
    }
    if (src.IsRectEmpty())
        return;
    m_pSheet->Blt(dest, target, src, keyed);
}

DDRESULT CMapPicture::DrawScaled(CSurface* target, BOOL keyed)
{
    // The walk covers the display at the zoom; a zoom near 0 would have it
    // cover the whole picture many times over.
    if (!target || m_tileWidth <= 0 || m_tileHeight <= 0 || !(m_zoom >= kMinZoom))
        return DDERR_INVALIDPARAMS;
    const int scrollX = std::max(m_scrollX, 0);
    const int scrollY = std::max(m_scrollY, 0);
    const int ox = scrollX % m_tileWidth;
    const int oy = scrollY % m_tileHeight;
    // The walk is in picture pixels over what the display shows at the zoom.
    const int visibleWidth = static_cast<int>(m_displayWidth / double(m_zoom) + 1);
    const int visibleHeight = static_cast<int>(m_displayHeight / double(m_zoom) + 1);
    for (int py = 0; py < visibleHeight;)
    {
        const int sy = py == 0 ? oy : 0;
        const int h = std::min(m_tileHeight - sy, visibleHeight - py);
        for (int px = 0; px < visibleWidth;)
        {
            const int sx = px == 0 ? ox : 0;
            const int w = std::min(m_tileWidth - sx, visibleWidth - px);
            DrawTileScaled(target, px, py, w, h, sx, sy, scrollX, scrollY, keyed);
            px += w;
        }
        py += h;
    }
    return DD_OK;
}

// A sprite placed at a picture point: the sprite lives in the platform, which
// knows nothing of map pictures, so the placement is defined here.
void CSprite::SetMapPosition(int& x, int& y, const CMapPicture* picture)
{
    const double zoom = picture ? picture->GetZoom() : 1.0;
    const int fw = m_pSheet ? m_pSheet->GetFrameWidth() : 0;
    const int fh = m_pSheet ? m_pSheet->GetFrameHeight() : 0;
    x = RoundHalfUp(x * zoom);
    y = RoundHalfUp(y * zoom);
    x -= RoundHalfUp((fw / 2) * double(m_scale));
    y -= RoundHalfUp((fh / 2) * double(m_scale));
    if (picture)
    {
        x -= RoundHalfUp(picture->GetScrollX() * zoom);
        y -= RoundHalfUp(picture->GetScrollY() * zoom);
    }
    m_x = x;
    m_y = y;
}
