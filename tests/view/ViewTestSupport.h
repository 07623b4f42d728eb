#pragma once
// A running application shell for map-view tests: the application object
// with its document template (main frame, map view that counts its paints,
// document), the display created on the view as start-up creates it, a
// start directory of its own with "Data" and "Savegame", and a scripted UI
// service. MakeTestMap writes a small mission whose map picture has one
// colour per tile, so that a pixel on screen tells which map cell it shows.

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/KDRScenario.h"
#include "app/MainFrame.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/core/Core.h"
#include "platform/ui/Display.h"
#include "platform/ui/DocTemplate.h"
#include "platform/ui/ScriptedUi.h"
#include "view/KDRView.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class CCountingView : public CKDRView
{
public:
    void OnDraw(CDC* pDC) override
    {
        ++m_nPaints;
        CKDRView::OnDraw(pDC);
    }
    int m_nPaints = 0;
};

// The test map: square tiles of kTile pixels, tile k (1..63) filled with
// TileColor(k); cell (c, r) of the grid shows tile TileAt(c, r).
namespace test_map
{
constexpr int kTile = 32;
constexpr int kSheetTiles = 8;  // 8 x 8 tiles on the sheet; tile 0 is never used
constexpr int kColumns = 60;
constexpr int kRows = 40;
constexpr int kWidth = kColumns * kTile;  // 1920 picture pixels
constexpr int kHeight = kRows * kTile;    // 1280
inline int TileAt(int c, int r) { return 1 + (c * 7 + r * 13) % 63; }
inline QRgb TileColor(int k) { return qRgb(k * 4, 255 - k * 4, (k * 37) % 256); }
// The colour shown at a picture pixel.
inline QRgb ColorAt(int px, int py)
{
    if (px < 0 || py < 0 || px >= kWidth || py >= kHeight)
        return qRgb(0, 0, 0);
    return TileColor(TileAt(px / kTile, py / kTile));
}

inline void WriteFiles(const std::filesystem::path& dataDir)
{
    QImage sheet(kTile * kSheetTiles, kTile * kSheetTiles, QImage::Format_RGB32);
    sheet.fill(qRgb(255, 0, 255));
    for (int k = 1; k < kSheetTiles * kSheetTiles; ++k)
    {
        const int x0 = (k % kSheetTiles) * kTile;
        const int y0 = (k / kSheetTiles) * kTile;
        for (int y = 0; y < kTile; ++y)
            for (int x = 0; x < kTile; ++x)
                sheet.setPixel(x0 + x, y0 + y, TileColor(k));
    }
    ASSERT_TRUE(sheet.save(QString::fromStdString((dataDir / "tiles.bmp").string()), "BMP"));

    std::vector<int> grid = {kColumns, kRows};
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            grid.push_back(TileAt(c, r));
    std::FILE* f = std::fopen((dataDir / "test.map").string().c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(grid.data(), sizeof(int), grid.size(), f);  // little-endian host
    std::fclose(f);

    CKDRScenario scenario;
    scenario.m_tMissionStart = CTime(2002, 6, 14, 5, 30, 0);
    auto* pMap = new CKDRGameMap;
    pMap->m_nTileColumns = kTile;
    pMap->m_nTileRows = kTile;
    pMap->m_nTileCount = kSheetTiles * kSheetTiles;
    pMap->m_strColorTiles = "tiles.bmp";
    pMap->m_strTileGrid = "test.map";
    pMap->m_strFileName = "test.gmp";
    scenario.SetGameMap(pMap);
    CFile file((dataDir / "test.asc").string().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    CArchive ar(&file, CArchive::store);
    scenario.SerializeScenario(ar);
    ar.Close();
    file.Close();
}
}  // namespace test_map

class CViewShell
{
public:
    // The view's client area is made clientWidth x clientHeight before the
    // display is created on it.
    CViewShell(const std::filesystem::path& startDir, int clientWidth = 640, int clientHeight = 480)
        : m_startDir(startDir), m_scope(&m_ui)
    {
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
        std::filesystem::create_directories(startDir / "Data");
        std::filesystem::create_directories(startDir / "Savegame");
        m_pApp = std::make_unique<CKDRApp>();
        m_pApp->m_strDataDir = (startDir / "Data").string().c_str();
        m_pApp->m_strSavegameDir = (startDir / "Savegame").string().c_str();
        auto* pTemplate = new CSingleDocTemplate(
            128, [] { return static_cast<CDocument*>(new CKDRDoc); },
            [] { return static_cast<CFrameWnd*>(new CMainFrame); },
            [] { return static_cast<CView*>(new CCountingView); });
        m_pApp->AddDocTemplate(pTemplate);
        m_pDoc = dynamic_cast<CKDRDoc*>(pTemplate->OpenDocumentFile(nullptr));
        m_pApp->m_pMainWnd = pTemplate->GetFrame();
        m_pApp->m_pMainWnd->ShowWindow(SW_SHOW);
        ResizeClient(clientWidth, clientHeight);

        CRect rc;
        View().GetClientRect(&rc);
        EXPECT_TRUE(m_pApp->m_pDisplay->Init(&View(), rc.Width(), rc.Height()));
        m_pApp->m_bDisplayReady = TRUE;
        m_pDoc->SetDirectories(m_pApp->m_strDataDir, m_pApp->m_strSavegameDir);
        m_pDoc->SetDisplay(m_pApp->m_pDisplay);
        SetCurrentDir(m_pApp->m_strDataDir);
        View().InitViewProperties();
        View().ApplyViewProperties();
    }
    ~CViewShell()
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << m_ui.DescribeRemaining().GetString();
        m_pApp.reset();
        CWnd::FlushDeferredDeletes();
    }

    CKDRApp& App() { return *m_pApp; }
    CKDRDoc& Doc() { return *m_pDoc; }
    CScriptedUi& Ui() { return m_ui; }
    CCountingView& View() { return *dynamic_cast<CCountingView*>(m_pApp->GetActiveView()); }
    CDisplay& Display() { return *m_pApp->m_pDisplay; }
    std::filesystem::path DataDir() const { return m_startDir / "Data"; }
    std::filesystem::path SavegameDir() const { return m_startDir / "Savegame"; }

    // Makes the view's client area this size (the frame grows around it).
    void ResizeClient(int width, int height)
    {
        QWidget* pFrame = m_pApp->GetMainFrame()->GetOuterWidget();
        for (int attempt = 0; attempt < 8; ++attempt)
        {
            CRect rcView;
            View().GetClientRect(&rcView);
            const int dx = width - rcView.Width();
            const int dy = height - rcView.Height();
            if (dx == 0 && dy == 0)
                break;
            pFrame->resize(pFrame->width() + dx, pFrame->height() + dy);
            Spin();
        }
    }

    // Opens the test mission through the framework, as the start menu does.
    BOOL OpenTestMap()
    {
        test_map::WriteFiles(DataDir());
        return m_pApp->GetDocTemplate()->OpenDocumentFile((DataDir() / "test.asc").string().c_str()) != nullptr;
    }

    // Paints the view now and answers what the window shows.
    QImage Paint()
    {
        View().RedrawMap(FALSE);
        View().UpdateWindow();
        QCoreApplication::processEvents();
        const QImage* image = View().GetBackImage();
        return image != nullptr ? image->copy() : QImage();
    }

    // Runs the event loop a little, as between two turns of the game.
    static void Spin()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

private:
    std::filesystem::path m_startDir;
    CScriptedUi m_ui;
    CUiServiceScope m_scope;
    std::unique_ptr<CKDRApp> m_pApp;
    CKDRDoc* m_pDoc = nullptr;
};

// A start directory that exists for the lifetime of the object.
class CStartDir
{
public:
    CStartDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kdr-view-XXXXXX").string();
        char* made = mkdtemp(pattern.data());
        m_path = made != nullptr ? made : pattern;
        m_oldDir = GetCurrentDir();
    }
    ~CStartDir()
    {
        SetCurrentDir(m_oldDir);
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CStartDir(const CStartDir&) = delete;
    CStartDir& operator=(const CStartDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    CString m_oldDir;
};
