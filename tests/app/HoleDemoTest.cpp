// The demo mission's dug positions in the real program: "Demo.fho" loads
// as the own side's, every position draws its two markers where it lies,
// the base marker turning with the facing, and a message box the document
// opens at a map point stays on the screen.

#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/MessageBoxDlg.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/HoleDlg.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/MapPicture.h"
#include "platform/core/File.h"
#include "platform/ui/Display.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"

#include "DrawnAround.h"
#include "support/DemoInstall.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace
{
// The pixels the document's dug positions draw around the map point.
int DrawnAround(CKDRDoc& doc, float x, float y, int reach)
{
    return CountDrawnAround(doc, x, y, reach, [&] { doc.DrawHoles(); });
}
}  // namespace

TEST(HoleDemo, ThePositionsLoadAndDrawWithTheirMarkers)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("hole-demo");
    ASSERT_TRUE(demo.Write());
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile((demo.Root() / "Data" / "demo.asc").string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        CKDRHoles* pHoles = pDoc->GetHoles();
        ASSERT_NE(pHoles, nullptr);
        EXPECT_EQ(pHoles->m_strSide0Name, "Demo.fho");
        const CHoleArray* pOwn = pHoles->GetSideArray(0);
        ASSERT_NE(pOwn, nullptr);
        ASSERT_EQ(pOwn->GetSize(), 6);
        // The enemy's positions across the saddle, facing west.
        ASSERT_TRUE(pHoles->IsSidePresent(1));
        EXPECT_EQ(pHoles->m_strSide1Name, "Demo.eho");
        EXPECT_EQ(pHoles->GetSideArray(1)->GetSize(), 3);
        for (int i = 0; i < pOwn->GetSize(); ++i)
        {
            const CHole* pHole = pOwn->GetAt(i);
            EXPECT_TRUE(pHole->m_bBaseMarkerReady && pHole->m_bKindMarkerReady) << i;
            EXPECT_GT(DrawnAround(*pDoc, pHole->m_fX, pHole->m_fY, 6), 10) << i;
        }
        // The facing east shows the base marker's frame for east.
        const CHole* pFirst = pOwn->GetAt(0);
        EXPECT_EQ(pFirst->m_pBaseMarker->GetFrame(), CHole::FrameForFacing(pFirst->m_fFacing, 36));

        // A new facing through the dialog turns the marker.
        ui.ExpectDialog(IDD_HOLE_PROPERTIES, IDOK, [](CDialog& d) { d.SetDlgItemText(IDC_HOLE_DIRECTION, "3200"); });
        EXPECT_EQ(pDoc->EditHole(0, 0), 1);
        DrawnAround(*pDoc, pFirst->m_fX, pFirst->m_fY, 6);
        EXPECT_EQ(pFirst->m_pBaseMarker->GetFrame(), 18);
        EXPECT_TRUE(pDoc->IsModified());

        // A message at a map point opens once and clears the document's
        // pointer when it goes.
        ASSERT_EQ(pDoc->ShowMessageBoxDlg("Holes Received", "Passed", pFirst->m_fX, pFirst->m_fY), 1);
        CMessageBoxDlg* pBox = pDoc->m_pMessageBox;
        ASSERT_NE(pBox, nullptr);
        EXPECT_EQ(pBox->GetWindowText(), "Holes Received");
        EXPECT_FALSE(pBox->GetDlgItem(IDCANCEL)->IsWindowVisible());
        CRect rc;
        pBox->GetWindowRect(&rc);
        EXPECT_GE(rc.left, 0);
        EXPECT_LE(rc.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_TRUE(pBox->PressButton(IDOK));
        CWnd::FlushDeferredDeletes();
        EXPECT_EQ(pDoc->m_pMessageBox, nullptr);

        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}
