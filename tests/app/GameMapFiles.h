#pragma once
// Small map files for document tests whose scenarios name a game map: the
// tile sheets, tile grid and elevation map that GameMapPart-style parts
// name ("tiles.bmp", "demo.map", "demo.emp", "contour.bmp"; tiles of 4 x 3
// pixels), so that the map loads without asking for files.

#include "battlefield/ElevationMap.h"
#include "platform/core/Core.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <string>

inline void WriteSmallMapFiles(const std::filesystem::path& dataDir)
{
    QImage tiles(16, 12, QImage::Format_RGB32);
    tiles.fill(qRgb(120, 180, 90));
    ASSERT_TRUE(tiles.save(QString::fromStdString((dataDir / "tiles.bmp").string()), "BMP"));
    tiles.fill(qRgb(165, 165, 115));
    ASSERT_TRUE(tiles.save(QString::fromStdString((dataDir / "contour.bmp").string()), "BMP"));

    // A grid of 2 x 2 cells: columns, rows, then tiles 1 to 4 (little-endian).
    const BYTE grid[] = {2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0};
    CFile gridFile((dataDir / "demo.map").string().c_str(), CFile::modeCreate | CFile::modeWrite);
    gridFile.Write(grid, sizeof grid);
    gridFile.Close();

    CElevationMap elevation;
    elevation.SetFileName("demo.emp");
    elevation.SetSquareDesignators("AA", "AB", "BA", "BB");
    elevation.SetGeometry(100, 100, 0, 0, 1);
    CFile empFile((dataDir / "demo.emp").string().c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&empFile, CArchive::store);
    elevation.Serialize(ar);
    ar.Close();
    empFile.Close();
}
