// The Vehicle Specs window: pages written by the page writer shown in the
// page view, with Back and Forward following the history.
#include "DatabaseTestSupport.h"

#include "database/HTMLPage.h"
#include "database/VehicleSpecsDlg.h"
#include "platform/ui/PageView.h"

#include <gtest/gtest.h>

namespace
{
// Writes a page from a template of the data directory, as the database does.
void WritePage(CDatabaseTestApp& t, const char* record, const char* link)
{
    SetCurrentDir(t.App().m_strDataDir);
    CHTMLPage page;
    ASSERT_TRUE(page.LoadTemplate("vehicle.htm"));
    page.ReplaceTag("*name*", record);
    page.ReplaceTag("*link*", CHTMLPage::MakePageName(link));
    page.ReplaceTagFloat("*speed*", 12.5f);
    SetCurrentDir(t.App().m_strSavegameDir);
    ASSERT_TRUE(page.WritePage(CHTMLPage::MakePageName(record)));
    SetCurrentDir(t.App().m_strDataDir);
}

BOOL Enabled(CVehicleSpecsDlg& dialog, UINT id) { return dialog.GetDlgItem(id)->IsWindowEnabled(); }
}  // namespace

TEST(VehicleSpecsDlg, ShowsPagesWithBackAndForward)
{
    CDatabaseTestApp t;
    t.WriteText(t.DataDir() / "vehicle.htm", "<HTML><HEAD><TITLE>*name*</TITLE></HEAD><BODY><P>Speed *speed*</P>"
                                             "<A HREF=\"*link*\">next</A></BODY></HTML>");
    WritePage(t, "M1A1/Abrams", "T-72");
    WritePage(t, "T-72", "M1A1/Abrams");

    CVehicleSpecsDlg dialog;
    EXPECT_FALSE(dialog.IsCreated());
    dialog.ShowPage(CHTMLPage::MakePageName("M1A1/Abrams"), t.App().m_strSavegameDir, t.App().m_strDataDir);
    ASSERT_TRUE(dialog.IsCreated());
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(t.App().m_nAutoScrollHold, 1);
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
    CPageView* pBrowser = dialog.GetBrowser();
    ASSERT_NE(pBrowser, nullptr);
    EXPECT_EQ(pBrowser->GetLocationName(), "M1A1_Abrams.htm");
    EXPECT_NE(pBrowser->GetPlainText().Find("Speed 12.50"), -1) << pBrowser->GetPlainText().GetString();
    // The caption is the page's file name without ".htm".
    EXPECT_EQ(dialog.GetWindowText(), "M1A1_Abrams");
    EXPECT_FALSE(Enabled(dialog, IDC_SPECS_BACK));
    EXPECT_FALSE(Enabled(dialog, IDC_SPECS_FORWARD));

    dialog.ShowPage("T-72.htm", t.App().m_strSavegameDir, t.App().m_strDataDir);
    EXPECT_EQ(dialog.GetPageName(), "T-72.htm");
    EXPECT_EQ(dialog.GetWindowText(), "T-72");
    EXPECT_TRUE(Enabled(dialog, IDC_SPECS_BACK));
    EXPECT_FALSE(Enabled(dialog, IDC_SPECS_FORWARD));

    ASSERT_TRUE(dialog.PressButton(IDC_SPECS_BACK));
    EXPECT_EQ(pBrowser->GetLocationName(), "M1A1_Abrams.htm");
    EXPECT_EQ(dialog.GetWindowText(), "M1A1_Abrams");
    EXPECT_FALSE(Enabled(dialog, IDC_SPECS_BACK));
    EXPECT_TRUE(Enabled(dialog, IDC_SPECS_FORWARD));

    ASSERT_TRUE(dialog.PressButton(IDC_SPECS_FORWARD));
    EXPECT_EQ(pBrowser->GetLocationName(), "T-72.htm");
    EXPECT_TRUE(Enabled(dialog, IDC_SPECS_BACK));
    EXPECT_FALSE(Enabled(dialog, IDC_SPECS_FORWARD));

    // Closed by the user, the window comes back with the next page; it is
    // made once only.
    dialog.PressEscape();
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.ShowPage(CHTMLPage::MakePageName("M1A1/Abrams"), t.App().m_strSavegameDir, t.App().m_strDataDir);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(pBrowser, dialog.GetBrowser());
    EXPECT_EQ(t.App().m_nAutoScrollHold, 1);
    EXPECT_EQ(dialog.GetWindowText(), "M1A1_Abrams");
}

TEST(VehicleSpecsDlg, DestructionGivesTheScrollHoldBack)
{
    CDatabaseTestApp t;
    t.WriteText(t.SavegameDir() / "index.htm", "<HTML><BODY>index</BODY></HTML>");
    {
        CVehicleSpecsDlg dialog;
        dialog.ShowPage("index.htm", t.App().m_strSavegameDir, t.App().m_strDataDir);
        EXPECT_EQ(t.App().m_nAutoScrollHold, 1);
        // A page that is not there shows a notice, not a crash.
        dialog.ShowPage("nothing.htm", t.App().m_strSavegameDir, t.App().m_strDataDir);
        EXPECT_TRUE(dialog.IsWindowVisible());
    }
    EXPECT_EQ(t.App().m_nAutoScrollHold, 0);
    {
        CVehicleSpecsDlg never;  // never shown: nothing to give back
    }
    EXPECT_EQ(t.App().m_nAutoScrollHold, 0);
}
