#include "UnitTestSupport.h"

#include "units/SpotReport.h"
#include "units/SpotReportArray.h"
#include "units/SpotReportLogDlg.h"

#include <gtest/gtest.h>

namespace
{
CSpotReport* Numbered(int i)
{
    auto* pReport = new CSpotReport;
    pReport->m_strText.Format("Report %d.", i);
    pReport->m_nCode = 5;
    pReport->m_time = CTimeSpan(i);
    return pReport;
}
}  // namespace

TEST(SpotReportLog, TheWindowListsTheLogAndFollowsItsNewestLineUnlessScrolledInFocus)
{
    CUnitTestDatabase db;  // an application to own the window
    CSpotReportArray log;
    for (int i = 0; i < 40; ++i)
        log.Add(Numbered(i));
    EXPECT_FALSE(log.IsLogShown());

    log.ToggleLog();
    ASSERT_TRUE(log.IsLogShown());
    CSpotReportLogDlg* pLog = log.GetLogWindow();
    ASSERT_TRUE(pLog->IsWindow());
    CExtentListBox& list = pLog->GetList();
    ASSERT_EQ(list.GetCount(), 40);
    EXPECT_STREQ(list.GetText(0).GetString(), "0, 00:00:00        Report 0.");
    EXPECT_STREQ(list.GetText(39).GetString(), "0, 00:00:39        Report 39.");

    // A new report shows at the end, and the list moves to it.
    log.Add(Numbered(40));
    ASSERT_EQ(list.GetCount(), 41);
    const int nFollowing = list.GetTopIndex();
    EXPECT_GT(nFollowing, 0);

    // Scrolled back by the player with the focus in the list, it stays.
    list.SetFocus();
    const BOOL bFocused = CWnd::GetFocus() == &list;
    list.SetTopIndex(3);
    log.Add(Numbered(41));
    // The offscreen platform may give no window the focus.
    EXPECT_EQ(list.GetTopIndex() == 3, bFocused);

    // A double click on a line hands it on; nothing breaks with no line.
    list.SetCurSel(2);
    pLog->OnDoubleClick();
    list.SetCurSel(-1);
    pLog->OnDoubleClick();

    log.ToggleLog();
    EXPECT_FALSE(log.IsLogShown());
    EXPECT_FALSE(pLog->IsWindow());
    // Shown again, it is filled again.
    log.ToggleLog();
    EXPECT_EQ(pLog->GetList().GetCount(), 42);
    // The close box closes it.
    pLog->OnClose();
    EXPECT_FALSE(log.IsLogShown());
    CWnd::FlushDeferredDeletes();
}
