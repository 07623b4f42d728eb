#pragma once
// The demo map's picture and its game map file. The picture is drawn from
// the demo ground itself (demo_terrain.h), pixel by pixel at the game's 2 m
// per pixel, so what the map shows is what the elevation and terrain
// queries answer: a colour picture (elevation tints with hill shading,
// woods, the lake and the road) and a contour picture (5 m contours, every
// fifth one heavier, on the contour key colour that the game keys out when
// it lays the contours over the colour map).
//
// Both pictures are cut into 50 x 50 pixel tiles kept in square tile sheets
// of 50 x 50 tiles, so the game map's tile columns and rows (50) are both
// the sheet's tiles across and down and the tile size in pixels. The
// picture of 2000 x 1500 pixels is 40 x 30 tiles; tile k of the grid's
// cell (c, r) is 1 + r x 40 + c (tile 0 means "no tile" to the picture).
// The sheets are 8-bit bitmaps, the tile grid a "*.map" file and the game
// map's part a "*.gmp" file written through CKDRGameMap::Serialize; the
// game map's help map comes from demo_helpmap.h.
//
// Everything is computed from fixed formulas, so the files are the same on
// every run.

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/Terrain.h"
#include "battlefield/TerrainArray.h"
#include "demo_helpmap.h"
#include "demo_terrain.h"
#include "platform/core/Core.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace demo_map
{
constexpr int kTileSize = 50;                            // pixels; also tiles across and down a sheet
constexpr int kSheetTiles = kTileSize * kTileSize;       // tiles in a sheet
constexpr int kPictureWidth = demo_terrain::kWidth / 2;  // 2 m per pixel
constexpr int kPictureHeight = demo_terrain::kHeight / 2;
constexpr int kGridColumns = (kPictureWidth + kTileSize - 1) / kTileSize;
constexpr int kGridRows = (kPictureHeight + kTileSize - 1) / kTileSize;
static_assert(kGridColumns * kGridRows < kSheetTiles, "every cell needs a tile of its own");

constexpr int kContourInterval = 50;  // tenths of a metre
constexpr int kIndexContourInterval = 250;

const char* const kColourTilesFile = "DemoColour.bmp";
const char* const kContourTilesFile = "DemoContour.bmp";
const char* const kTileGridFile = "Demo.map";
const char* const kGameMapFile = "demo.gmp";

// The tile of grid cell (column, row).
constexpr int TileOf(int column, int row) { return 1 + row * kGridColumns + column; }

// Names the demo's map files in a game map's scenario part.
inline void NameDemoMapFiles(CKDRGameMap& map, const CString& elevationFile)
{
    map.m_nTileColumns = kTileSize;
    map.m_nTileRows = kTileSize;
    map.m_nTileCount = kSheetTiles;
    map.m_strColorTiles = kColourTilesFile;
    map.m_strTileGrid = kTileGridFile;
    map.m_strElevation = elevationFile;
    map.m_strContourTiles = kContourTilesFile;
    map.m_strSpare = "";
    map.m_strHelpMap = demo_helpmap::kHelpMapFile;
    map.m_strFileName = kGameMapFile;
}

// A colour table that grows as colours are asked for (at most 256).
class Palette
{
public:
    Palette() { Index(qRgb(0, 0, 0)); }  // index 0: the unused parts of a sheet
    int Index(QRgb colour)
    {
        const auto it = m_indexes.find(colour);
        if (it != m_indexes.end())
            return it->second;
        const int index = static_cast<int>(m_colours.size());
        m_colours.push_back(colour);
        m_indexes[colour] = index;
        return index;
    }
    const QList<QRgb>& Colours() const { return m_colours; }
    bool Fits() const { return m_colours.size() <= 256; }

private:
    QList<QRgb> m_colours;
    std::map<QRgb, int> m_indexes;
};

// Ground height in tenths of a metre at every picture pixel, interpolated
// between the 10 m samples of the elevation map.
class HeightField
{
public:
    explicit HeightField(const CElevationMap& map) : m_heights(static_cast<size_t>(kPictureWidth) * kPictureHeight)
    {
        const std::vector<short>& samples = map.GetSamples();
        const int columns = map.GetColumns();
        const int rows = map.GetRows();
        for (int py = 0; py < kPictureHeight; ++py)
        {
            for (int px = 0; px < kPictureWidth; ++px)
            {
                float x = 0.0f;
                float y = 0.0f;
                map.PixelToMap(px, py, &x, &y);
                const double cx = std::clamp(x / 10.0, 0.0, columns - 1.0);
                const double cy = std::clamp(y / 10.0, 0.0, rows - 1.0);
                const int c0 = std::min(static_cast<int>(cx), columns - 2);
                const int r0 = std::min(static_cast<int>(cy), rows - 2);
                const double fx = cx - c0;
                const double fy = cy - r0;
                auto at = [&](int c, int r) { return static_cast<double>(samples[static_cast<size_t>(c) * rows + r]); };
                const double h = at(c0, r0) * (1 - fx) * (1 - fy) + at(c0 + 1, r0) * fx * (1 - fy) +
                                 at(c0, r0 + 1) * (1 - fx) * fy + at(c0 + 1, r0 + 1) * fx * fy;
                m_heights[static_cast<size_t>(py) * kPictureWidth + px] = static_cast<float>(h);
            }
        }
    }
    float At(int px, int py) const
    {
        px = std::clamp(px, 0, kPictureWidth - 1);
        py = std::clamp(py, 0, kPictureHeight - 1);
        return m_heights[static_cast<size_t>(py) * kPictureWidth + px];
    }

private:
    std::vector<float> m_heights;
};

// The terrain type drawn at each pixel (-1 for open ground): the last
// feature in list order that contains the pixel's map point, as the game
// draws them.
inline std::vector<int> TerrainTypes(const CElevationMap& map)
{
    std::vector<int> types(static_cast<size_t>(kPictureWidth) * kPictureHeight, -1);
    const CTerrainArray* terrain = map.GetTerrain();
    for (int i = 0; i < terrain->GetFeatureCount(); ++i)
    {
        const CTerrain* feature = terrain->GetFeature(i);
        const CRect& bounds = feature->GetBounds();
        int ax = 0, ay = 0, bx = 0, by = 0;
        map.MapToPixel(static_cast<float>(bounds.left), static_cast<float>(bounds.top), &ax, &ay);
        map.MapToPixel(static_cast<float>(bounds.right), static_cast<float>(bounds.bottom), &bx, &by);
        const int left = std::min(ax, bx), right = std::max(ax, bx);
        const int top = std::min(ay, by), bottom = std::max(ay, by);
        for (int py = std::max(0, top - 1); py <= std::min(kPictureHeight - 1, bottom + 1); ++py)
        {
            for (int px = std::max(0, left - 1); px <= std::min(kPictureWidth - 1, right + 1); ++px)
            {
                // The map point the game's own conversion draws into this
                // pixel (its rows are centred two metres below their top edge),
                // so the painted features sit under the drawn outlines.
                float x = 0.0f;
                float y = 0.0f;
                map.PixelToMap(px, py, &x, &y);
                y -= 2.0f;
                if (feature->ContainsPoint(x, y))
                    types[static_cast<size_t>(py) * kPictureWidth + px] = feature->GetTypeIndex();
            }
        }
    }
    return types;
}

inline QRgb Scale(QRgb c, double k)
{
    auto channel = [k](int v) { return std::clamp(static_cast<int>(std::lround(v * k)), 0, 255); };
    return qRgb(channel(qRed(c)), channel(qGreen(c)), channel(qBlue(c)));
}

inline QRgb Mix(QRgb a, QRgb b, double t)
{
    auto channel = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
    return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)), channel(qBlue(a), qBlue(b)));
}

// The colour picture as an 8-bit image.
inline QImage RenderColourPicture(const CElevationMap& map)
{
    const HeightField heights(map);
    const std::vector<int> types = TerrainTypes(map);
    const double low = map.GetMinElevation();
    const double span = std::max(1.0, static_cast<double>(map.GetMaxElevation() - map.GetMinElevation()));
    constexpr int kBands = 8;
    constexpr int kShades = 8;
    const QRgb lowland = qRgb(178, 208, 132);
    const QRgb upland = qRgb(216, 192, 142);
    const QRgb woods = qRgb(62, 132, 62);
    const QRgb treeTop = qRgb(34, 96, 34);
    const QRgb water = qRgb(86, 146, 222);
    const QRgb road = qRgb(176, 124, 72);

    Palette palette;
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_Indexed8);
    std::vector<uchar> indexes(static_cast<size_t>(kPictureWidth) * kPictureHeight);
    // Light from the north-west, the hills drawn three times as steep.
    const double lx = -0.5, ly = 0.5, lz = 0.7071;
    for (int py = 0; py < kPictureHeight; ++py)
    {
        for (int px = 0; px < kPictureWidth; ++px)
        {
            const double h = heights.At(px, py);
            const double east = (heights.At(px + 1, py) - heights.At(px - 1, py)) / 40.0 * 3.0;
            const double north = (heights.At(px, py - 1) - heights.At(px, py + 1)) / 40.0 * 3.0;
            const double norm = std::sqrt(east * east + north * north + 1.0);
            const double lit = std::clamp((-east * lx - north * ly + lz) / norm, 0.0, 1.0);
            const int shade = std::min(kShades - 1, static_cast<int>(lit * kShades));
            const double shadeFactor = 0.74 + 0.05 * shade;
            QRgb colour;
            switch (types[static_cast<size_t>(py) * kPictureWidth + px])
            {
            case demo_terrain::kWoods:
                colour = (px * 7 + py * 13) % 11 == 0 ? treeTop : Scale(woods, shadeFactor);
                break;
            case demo_terrain::kWater: colour = water; break;
            case demo_terrain::kRoad: colour = road; break;
            default:
            {
                const int band = std::clamp(static_cast<int>((h - low) / span * kBands), 0, kBands - 1);
                colour = Scale(Mix(lowland, upland, band / (kBands - 1.0)), shadeFactor);
                break;
            }
            }
            indexes[static_cast<size_t>(py) * kPictureWidth + px] = static_cast<uchar>(palette.Index(colour));
        }
    }
    image.setColorTable(palette.Colours());
    for (int py = 0; py < kPictureHeight; ++py)
        std::copy_n(indexes.data() + static_cast<size_t>(py) * kPictureWidth, kPictureWidth, image.scanLine(py));
    return image;
}

// The contour picture as an 8-bit image: contour lines on the key colour.
inline QImage RenderContourPicture(const CElevationMap& map)
{
    const HeightField heights(map);
    Palette palette;
    const int background = palette.Index(qRgb(GetRValue(CKDRGameMap::kContourKey), GetGValue(CKDRGameMap::kContourKey),
                                              GetBValue(CKDRGameMap::kContourKey)));
    const int contour = palette.Index(qRgb(150, 96, 40));
    const int indexContour = palette.Index(qRgb(96, 56, 16));
    std::vector<uchar> indexes(static_cast<size_t>(kPictureWidth) * kPictureHeight, static_cast<uchar>(background));
    auto band = [](double h) { return static_cast<int>(std::floor(h / kContourInterval)); };
    auto mark = [&](int px, int py, int colour)
    {
        if (px < 0 || py < 0 || px >= kPictureWidth || py >= kPictureHeight)
            return;
        uchar& cell = indexes[static_cast<size_t>(py) * kPictureWidth + px];
        if (cell != static_cast<uchar>(indexContour))
            cell = static_cast<uchar>(colour);
    };
    for (int py = 0; py < kPictureHeight; ++py)
    {
        for (int px = 0; px < kPictureWidth; ++px)
        {
            const int here = band(heights.At(px, py));
            for (const auto& [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}})
            {
                if (px + dx >= kPictureWidth || py + dy >= kPictureHeight)
                    continue;
                const int there = band(heights.At(px + dx, py + dy));
                if (there == here)
                    continue;
                const int level = std::max(here, there) * kContourInterval;
                if (level % kIndexContourInterval == 0)
                {
                    mark(px, py, indexContour);
                    mark(px + dx, py + dy, indexContour);
                }
                else
                {
                    mark(px, py, contour);
                }
            }
        }
    }
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_Indexed8);
    image.setColorTable(palette.Colours());
    for (int py = 0; py < kPictureHeight; ++py)
        std::copy_n(indexes.data() + static_cast<size_t>(py) * kPictureWidth, kPictureWidth, image.scanLine(py));
    return image;
}

// The picture cut into tiles: cell (c, r) becomes tile TileOf(c, r) of a
// square sheet of kTileSize x kTileSize tiles.
inline QImage CutIntoTileSheet(const QImage& picture)
{
    QImage sheet(kTileSize * kTileSize, kTileSize * kTileSize, QImage::Format_Indexed8);
    sheet.setColorTable(picture.colorTable());
    sheet.fill(0);
    for (int r = 0; r < kGridRows; ++r)
    {
        for (int c = 0; c < kGridColumns; ++c)
        {
            const int tile = TileOf(c, r);
            const int sx = (tile % kTileSize) * kTileSize;
            const int sy = (tile / kTileSize) * kTileSize;
            for (int y = 0; y < kTileSize; ++y)
            {
                const int py = r * kTileSize + y;
                if (py >= picture.height())
                    break;
                const int width = std::min(kTileSize, picture.width() - c * kTileSize);
                std::copy_n(picture.constScanLine(py) + c * kTileSize, width, sheet.scanLine(sy + y) + sx);
            }
        }
    }
    return sheet;
}

// The tile grid file: columns, rows, then one tile index per cell, row by
// row, each a little-endian 32-bit integer.
inline BOOL WriteTileGrid(const char* path, CString& errorText)
{
    std::vector<BYTE> bytes;
    auto put = [&bytes](LONG v)
    {
        const DWORD u = static_cast<DWORD>(v);
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<BYTE>((u >> shift) & 0xFF));
    };
    put(kGridColumns);
    put(kGridRows);
    for (int r = 0; r < kGridRows; ++r)
        for (int c = 0; c < kGridColumns; ++c)
            put(TileOf(c, r));
    try
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        file.Close();
    }
    catch (const CException& e)
    {
        errorText = e.GetErrorText();
        return FALSE;
    }
    return TRUE;
}

inline BOOL WriteGameMapFile(const char* path, const CString& elevationFile, CString& errorText)
{
    CKDRGameMap map;
    NameDemoMapFiles(map, elevationFile);
    try
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        CArchive ar(&file, CArchive::store);
        map.Serialize(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        errorText = e.GetErrorText();
        return FALSE;
    }
    return TRUE;
}

inline BOOL SaveBitmap(const QImage& image, const CString& path, CString& errorText)
{
    if (image.save(QString::fromLocal8Bit(path.GetString()), "BMP"))
        return TRUE;
    errorText = "the bitmap could not be written";
    return FALSE;
}

// Writes the two tile sheets, the tile grid, the AI help map and the game map
// file into the data directory; the elevation map is named, not written.
inline BOOL WriteDemoMapFiles(const CString& dataDir, const CString& elevationFile, CString& errorText)
{
    const std::unique_ptr<CElevationMap> map = demo_terrain::BuildDemoElevationMap(elevationFile);
    return SaveBitmap(CutIntoTileSheet(RenderColourPicture(*map)), JoinPath(dataDir, kColourTilesFile), errorText) &&
           SaveBitmap(CutIntoTileSheet(RenderContourPicture(*map)), JoinPath(dataDir, kContourTilesFile), errorText) &&
           WriteTileGrid(JoinPath(dataDir, kTileGridFile), errorText) &&
           demo_helpmap::WriteDemoHelpMap(JoinPath(dataDir, demo_helpmap::kHelpMapFile), errorText) &&
           WriteGameMapFile(JoinPath(dataDir, kGameMapFile), elevationFile, errorText);
}
}  // namespace demo_map
