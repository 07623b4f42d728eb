#pragma once
// What the obstacle and breach tests share: a flat map, with or without a
// display to draw on, and obstacles made in a line.

#include "BattlefieldTestSupport.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "platform/core/File.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace obstest
{
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A flat map of width x height metres; with a display of 200 x 200 pixels
// it is drawn at zoom 1 from its upper left corner.
struct Scene
{
    CDisplay display;
    std::unique_ptr<CMapPicture> picture;
    CKDRGameMap map;

    explicit Scene(int width = 400, int height = 400, bool withDisplay = true)
    {
        auto* ground = new CElevationMap;
        bftest::MakeFlat(*ground, width, height, 1000);
        map.SetElevationMap(ground);
        if (!withDisplay)
            return;
        display.Init(nullptr, 200, 200);
        picture = std::make_unique<CMapPicture>(nullptr, &display);
        map.m_strTileGrid = "scene.map";
        map.SetMapPicture(picture.get());
        map.SetDisplay(&display);
        Clear();
    }

    void Clear()
    {
        display.GetSurfaceDC()->FillSolidRect(0, 0, 200, 200, kWhite);
        display.ReleaseSurfaceDC();
    }
    // The view pixel of a map point.
    CPoint ViewOf(float x, float y) const
    {
        int px = 0, py = 0, vx = 0, vy = 0;
        map.GetElevationMap()->MapToPixel(x, y, &px, &py);
        map.PictureToView(px, py, &vx, &vy);
        return CPoint(vx, vy);
    }
    COLORREF At(int x, int y) const { return display.GetBackSurface()->GetPixel(x, y); }
    COLORREF At(CPoint p) const { return At(p.x, p.y); }
};

// A data directory of its own, made current while it lives.
class SmallFolder
{
public:
    SmallFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kdr-obstacles-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        m_oldDir = GetCurrentDir();
        SetCurrentDir(m_path.string().c_str());
    }
    ~SmallFolder()
    {
        SetCurrentDir(m_oldDir);
        std::filesystem::remove_all(m_path);
    }
    SmallFolder(const SmallFolder&) = delete;
    SmallFolder& operator=(const SmallFolder&) = delete;

    CString Path() const { return CString(m_path.string().c_str()); }
    void Write(const char* name, const std::vector<BYTE>& bytes) const
    {
        std::FILE* f = std::fopen((m_path / name).string().c_str(), "wb");
        if (f == nullptr)
            return;
        if (!bytes.empty())
            std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

private:
    std::filesystem::path m_path;
    CString m_oldDir;
};

inline void Shape(CObstacle& o, float x, float y, int attitude, int length, int width, int type, int density = 50)
{
    o.m_fX = x;
    o.m_fY = y;
    o.m_nAttitude = attitude;
    o.m_nLength = length;
    o.m_nWidth = width;
    o.m_nType = type;
    o.m_nDensity = density;
}

template <class T = CObstacle>
T* Make(float x, float y, int attitude, int length, int width, int type, int density = 50)
{
    auto* o = new T;
    Shape(*o, x, y, attitude, length, width, type, density);
    return o;
}

template <class T = CChem>
T* MakeChem(float x, float y, int radius, LONG endsAt, int density = 100)
{
    auto* c = new T;
    c->m_fX = x;
    c->m_fY = y;
    c->m_nWidth = radius;
    c->m_nDensity = density;
    c->m_tsTime = CTimeSpan(endsAt);
    return c;
}
}  // namespace obstest
