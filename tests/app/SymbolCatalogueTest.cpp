// The symbol catalogue that start-up builds from the demo's twenty bitmaps.
#include "app/SymbolCatalogue.h"
#include "app/KDRApp.h"
#include "app/ReportDlg.h"
#include "database/PieceArray.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "platform/ui/Profile.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include "../../tools/demo_sounds.h"
#include "../../tools/demo_symbols.h"

#include "StartDirTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class SymbolCatalogueTest : public StartDirTest
{
protected:
    SymbolCatalogueTest() : StartDirTest("kdr-symbols-") {}
    void SetUp() override
    {
        StartDirTest::SetUp();
        if (HasFatalFailure())
            return;
        CString errorText;
        ASSERT_TRUE(demo_symbols::WriteDemoSymbols((m_root / "Data").string().c_str(), errorText))
            << errorText.GetString();
        // The sounds too, so that the only report is the catalogue's.
        ASSERT_TRUE(demo_sounds::WriteDemoSounds((m_root / "Data").string().c_str(), errorText))
            << errorText.GetString();
    }
};

class CCatalogueApp : public CKDRApp
{
public:
    using CKDRApp::BuildPieceCatalogue;
};
}  // namespace

TEST_F(SymbolCatalogueTest, BuildsFromTheDemoBitmapsWithoutAReport)
{
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(CReportDlg::GetOpenReports().empty());
    EXPECT_EQ(app.m_nAutoScrollHold, 0);

    const CPieceArray* pCatalogue = app.m_pSymbolCatalogue;
    ASSERT_NE(pCatalogue, nullptr);
    ASSERT_EQ(pCatalogue->GetSize(), SYMBOL_CATALOGUE_SIZE);
    const SymbolCatalogueEntry* table = GetSymbolCatalogueTable();
    for (int i = 0; i < SYMBOL_CATALOGUE_SIZE; ++i)
    {
        SCOPED_TRACE(table[i].pszName);
        CPiece* pPiece = pCatalogue->GetPiece(i);
        ASSERT_NE(pPiece, nullptr);
        EXPECT_EQ(pPiece->GetName(), table[i].pszName);
        EXPECT_EQ(pPiece->GetBitmapFile(), table[i].pszBitmapFile);
        EXPECT_EQ(pPiece->GetMemberNames() != nullptr, i < SYMBOL_LIST_COUNT);
        ASSERT_TRUE(pPiece->IsLoaded());
        // Every frame the piece claims lies on its sheet, and the sheet's
        // corner is the transparent magenta.
        EXPECT_TRUE(pPiece->HasFrame(pPiece->GetFrameCount() - 1));
        EXPECT_EQ(pPiece->GetSurface()->GetFrameWidth(), demo_symbols::FrameSizeOf(table[i]));
        EXPECT_EQ(pPiece->GetSurface()->GetFrameHeight(), demo_symbols::FrameSizeOf(table[i]));
        EXPECT_EQ(pPiece->GetSurface()->GetPixel(0, 0), SPRITE_COLOR_KEY);
    }

    // Lists take their layout from their number of members.
    struct Layout
    {
        int index, rows, columns, frames;
    } layouts[] = {{0, 10, 5, 47}, {1, 12, 5, 60}, {2, 4, 5, 18}, {3, 2, 5, 6}, {13, 4, 9, 36}, {18, 12, 3, 36}};
    for (const Layout& l : layouts)
    {
        const CPiece* pPiece = pCatalogue->GetPiece(l.index);
        EXPECT_EQ(pPiece->GetRows(), l.rows) << l.index;
        EXPECT_EQ(pPiece->GetColumns(), l.columns) << l.index;
        EXPECT_EQ(pPiece->GetFrameCount(), l.frames) << l.index;
    }
    EXPECT_FALSE(pCatalogue->GetPiece(9)->GetFlag());
    EXPECT_TRUE(pCatalogue->GetPiece(10)->GetFlag());
    EXPECT_TRUE(pCatalogue->GetPiece(19)->GetFlag());

    struct Member
    {
        const char* name;
        int list;
        int position;
    } members[] = {
        {"Echelon Locked Yellow", 1, 59},   {"Unidentified Fixed Wing", 3, 5},       {"Smoke Grey", 0, 45},
        {"Bypass Obastacles Green", 0, 19}, {"Node Bypass Obastacles Green", 1, 40}, {"Enemy Neutral Battalion", 2, 17},
        {"TaskOrg Marker Green", 0, 0},     {"Bypass Obstacles Green", kUnset, -99}};
    for (const Member& m : members)
    {
        int position = 0;
        EXPECT_EQ(pCatalogue->FindInLists(m.name, &position), m.list) << m.name;
        EXPECT_EQ(position, m.position) << m.name;
    }
    EXPECT_EQ(pCatalogue->FindPiece("Smoke Grey"), 5);
    EXPECT_EQ(pCatalogue->FindGraphic(CPieceArray::kSinglePiece, "Smoke Grey"), 5);
    EXPECT_EQ(pCatalogue->FindGraphic(CPieceArray::kListMember, "Smoke Grey"), 0);
    EXPECT_EQ(pCatalogue->FindPiece("Unknown Fixed Wing Green"), 19);
    EXPECT_EQ(pCatalogue->FindPiece("Fire Mission Red"), PIECE_NOT_FOUND);
    int frame = -1;
    EXPECT_EQ(pCatalogue->FindListFrame("Fire Mission Red", 0, &frame), pCatalogue->GetPiece(1));
    EXPECT_EQ(frame, 10);
}

TEST_F(SymbolCatalogueTest, AMissingBitmapIsReportedAndStartUpGoesOn)
{
    ASSERT_TRUE(fs::remove(m_root / "Data" / "admin_Chem.bmp"));
    ASSERT_TRUE(fs::remove(m_root / "Data" / "admin_PathMarker.bmp"));
    CKDRApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_NE(app.m_pSoundManager, nullptr);  // start-up went on past the catalogue

    ASSERT_EQ(CReportDlg::GetOpenReports().size(), 1u);
    const CReportDlg* pReport = CReportDlg::GetOpenReports().front();
    EXPECT_EQ(pReport->GetText(),
              "FILES NAMED IN PIECE ARRAY NOT FOUND!\r\n\r\n"
              "The file, 'admin_PathMarker.bmp', named in the piece, 'Path Markers', was not found.\r\n"
              "The file, 'admin_Chem.bmp', named in the piece, 'Chem Purple', was not found.\r\n");
    EXPECT_TRUE(pReport->IsWindowVisible());
    EXPECT_EQ(app.m_nAutoScrollHold, 1);

    // The pieces stay, not loaded; their names are still found.
    ASSERT_EQ(app.m_pSymbolCatalogue->GetSize(), SYMBOL_CATALOGUE_SIZE);
    EXPECT_FALSE(app.m_pSymbolCatalogue->GetPiece(7)->IsLoaded());
    int position = 0;
    EXPECT_EQ(app.m_pSymbolCatalogue->FindInLists("Go Node Red", &position), 1);
    int frame = 0;
    EXPECT_EQ(app.m_pSymbolCatalogue->FindListFrame("Go Node Red", 0, &frame), nullptr);
    EXPECT_TRUE(app.m_pSymbolCatalogue->GetPiece(0)->IsLoaded());
}

TEST_F(SymbolCatalogueTest, AnInvalidDataDirectoryEndsStartUp)
{
    CCatalogueApp app;
    app.m_strDataDir = (m_root / "NoSuchData").string().c_str();
    m_ui.ExpectMessage("Kedravin", "Invalid Directory", IDOK);
    EXPECT_FALSE(app.BuildPieceCatalogue());
    EXPECT_TRUE(CReportDlg::GetOpenReports().empty());
    // Built again from a good directory, the catalogue replaces the empty one.
    app.m_strDataDir = (m_root / "Data").string().c_str();
    app.m_pDisplay->Init(nullptr, 64, 64);
    app.m_bDisplayReady = TRUE;
    EXPECT_TRUE(app.BuildPieceCatalogue());
    EXPECT_EQ(app.m_pSymbolCatalogue->GetSize(), SYMBOL_CATALOGUE_SIZE);
    EXPECT_TRUE(app.m_pSymbolCatalogue->GetPiece(19)->IsLoaded());
}
