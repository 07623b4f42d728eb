// The Fire Order and Fire Mission Log windows as the player meets them in
// the running shell: what each choice greys out, what OK stores and
// refuses, and how the log fills, keeps its selection and names its side.
#include "DocTestSupport.h"

#include "app/FireMissionLogDlg.h"
#include "app/FireOrderDlg.h"
#include "database/IFAmmo.h"
#include "platform/ui/UiService.h"
#include "view/ViewProperties.h"

#include <gtest/gtest.h>

namespace
{
bool IsEnabled(CDialog& d, UINT id) { return d.GetDlgItem(id)->IsWindowEnabled() != FALSE; }
bool IsChecked(CDialog& d, UINT id) { return dynamic_cast<CButton*>(d.GetDlgItem(id))->GetCheck() != 0; }

// The shell with its view, and the view's Fire Order window opened on the
// application's settings as they stand.
struct FireOrderShell
{
    CDocShell shell;
    CKDRView* pView = nullptr;
    CFireOrderDlg* pDlg = nullptr;

    FireOrderShell()
    {
        pView = shell.App().GetActiveView();
        if (pView != nullptr)
            pDlg = pView->GetFireOrderDlg();
    }
    int* Settings() { return shell.App().m_anDisplaySettings; }
    CFireOrderDlg& Open()
    {
        EXPECT_TRUE(pDlg->CreateModeless(pView));
        EXPECT_TRUE(pDlg->IsOpen());
        return *pDlg;
    }
};
}  // namespace

TEST(FireOrderWindow, OpensOnTheApplicationsSettingsAndCountsAsAModelessWindow)
{
    FireOrderShell s;
    ASSERT_NE(s.pDlg, nullptr);
    EXPECT_EQ(s.Settings()[APP_FIRE_MUNITION], MUNITION_HE);
    EXPECT_EQ(s.Settings()[APP_FIRE_ATTITUDE], 1600);
    EXPECT_EQ(s.Settings()[APP_FIRE_LENGTH], 1000);
    EXPECT_EQ(s.Settings()[APP_FIRE_VOLLEYS], 1);
    const int holdBefore = s.shell.App().m_nAutoScrollHold;
    CFireOrderDlg& d = s.Open();
    EXPECT_EQ(d.GetWindowText(), "Fire Order");
    EXPECT_EQ(s.shell.App().m_nAutoScrollHold, holdBefore + 1);
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_HE));
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_CONVERGED));
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_WHEN_READY));
    EXPECT_EQ(d.GetDlgItemText(IDC_FIRE_VOLLEYS), "1");
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_DAY));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_LENGTH));
    // A second open changes nothing; Cancel closes and lowers the count.
    EXPECT_TRUE(d.CreateModeless(s.pView));
    EXPECT_EQ(s.shell.App().m_nAutoScrollHold, holdBefore + 1);
    d.PressButton(IDCANCEL);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(s.shell.App().m_nAutoScrollHold, holdBefore);
}

TEST(FireOrderWindow, ChemicalFiresConvergedAndFASCAMLinearWithItsLengthFixed)
{
    FireOrderShell s;
    s.Settings()[APP_FIRE_SHEAF] = 1;  // Linear
    CFireOrderDlg& d = s.Open();
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_LINEAR));
    EXPECT_TRUE(IsEnabled(d, IDC_FIRE_LENGTH));
    ASSERT_TRUE(d.PressButton(IDC_FIRE_CHEMICAL));
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_CONVERGED));
    EXPECT_FALSE(IsChecked(d, IDC_FIRE_LINEAR));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_LINEAR));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_OPEN));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_ATTITUDE));

    ASSERT_TRUE(d.PressButton(IDC_FIRE_FASCAM));
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_LINEAR));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_CONVERGED));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_OPEN));
    EXPECT_TRUE(IsEnabled(d, IDC_FIRE_ATTITUDE));
    EXPECT_FALSE(IsEnabled(d, IDC_FIRE_LENGTH));
    d.PressButton(IDOK);
    EXPECT_EQ(s.Settings()[APP_FIRE_MUNITION], MUNITION_FASCAM);
    EXPECT_EQ(s.Settings()[APP_FIRE_SHEAF], 1);

    // Opened again on FASCAM with a Linear sheaf, the length is open until
    // the first click.
    CFireOrderDlg& again = s.Open();
    EXPECT_TRUE(IsEnabled(again, IDC_FIRE_LENGTH));
    EXPECT_FALSE(IsEnabled(again, IDC_FIRE_CONVERGED));
    ASSERT_TRUE(again.PressButton(IDC_FIRE_TOT));
    EXPECT_FALSE(IsEnabled(again, IDC_FIRE_LENGTH));
    EXPECT_TRUE(IsEnabled(again, IDC_FIRE_DAY));
    again.PressButton(IDCANCEL);
}

TEST(FireOrderWindow, AnUnknownMunitionOpensOnHE)
{
    FireOrderShell s;
    s.Settings()[APP_FIRE_MUNITION] = 0x30;
    CFireOrderDlg& d = s.Open();
    EXPECT_TRUE(IsChecked(d, IDC_FIRE_HE));
    EXPECT_FALSE(IsChecked(d, IDC_FIRE_SMOKE));
    d.PressButton(IDCANCEL);
}

TEST(FireOrderWindow, OKStoresATimeOnTargetAndRefusesOnePastTheLastSecond)
{
    FireOrderShell s;
    CFireOrderDlg& d = s.Open();
    ASSERT_TRUE(d.PressButton(IDC_FIRE_TOT));
    ASSERT_TRUE(d.PressButton(IDC_FIRE_SMOKE));
    d.SetDlgItemText(IDC_FIRE_DAY, "0");
    d.SetDlgItemText(IDC_FIRE_HOUR, "0");
    d.SetDlgItemText(IDC_FIRE_MINUTE, "60");
    d.SetDlgItemText(IDC_FIRE_SECOND, "60");
    d.SetDlgItemText(IDC_FIRE_VOLLEYS, "3");
    d.PressButton(IDOK);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(s.Settings()[APP_FIRE_TOT], 3660);
    EXPECT_EQ(s.Settings()[APP_FIRE_METHOD], 2);
    EXPECT_EQ(s.Settings()[APP_FIRE_MUNITION], MUNITION_SMOKE);
    EXPECT_EQ(s.Settings()[APP_FIRE_VOLLEYS], 3);

    s.Open();
    EXPECT_EQ(d.GetDlgItemText(IDC_FIRE_MINUTE), "1");
    EXPECT_EQ(d.GetDlgItemText(IDC_FIRE_SECOND), "0");
    d.SetDlgItemText(IDC_FIRE_DAY, "11852");
    d.SetDlgItemText(IDC_FIRE_HOUR, "10");
    d.SetDlgItemText(IDC_FIRE_MINUTE, "30");
    d.SetDlgItemText(IDC_FIRE_SECOND, "0");
    d.PressButton(IDOK);
    EXPECT_EQ(s.Settings()[APP_FIRE_TOT], 1024050600);
    // The view's settings hold it too, so a change of zoom keeps it.
    EXPECT_EQ(s.pView->GetViewProperties()->m_tsAppTime.GetTotalSeconds(), 1024050600);
    s.Settings()[APP_FIRE_TOT] = 0;
    s.pView->ApplyViewProperties();
    EXPECT_EQ(s.Settings()[APP_FIRE_TOT], 1024050600);
    EXPECT_EQ(s.Settings()[APP_FIRE_MUNITION], MUNITION_SMOKE);

    // Day 24856 lies past 2^31 - 1 seconds: refused, and the window stays.
    s.Open();
    d.SetDlgItemText(IDC_FIRE_DAY, "24856");
    s.shell.Ui().ExpectMessage(GetMessageBoxCaption(),
                               "Please enter a time on target no later than day 24855, 03:14:07.", IDOK);
    d.PressButton(IDOK);
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(s.Settings()[APP_FIRE_TOT], 1024050600);
    // A field out of its range keeps it open too.
    d.SetDlgItemText(IDC_FIRE_DAY, "1");
    d.SetDlgItemText(IDC_FIRE_LENGTH, "1001");
    s.shell.Ui().ExpectMessage(GetMessageBoxCaption(), "Please enter an integer between 1 and 1000.", IDOK);
    d.PressButton(IDOK);
    EXPECT_TRUE(d.IsOpen());
    d.PressButton(IDCANCEL);
}

TEST(FireMissionLogWindow, FillsForItsSideAndKeepsTheSelectionOnlyWithTheFocus)
{
    CDocShell shell;
    CFireMissionLogDlg log;
    CStringList lines;
    std::vector<SFireLogRecord> records;
    for (int i = 0; i < 5; ++i)
    {
        CString line;
        line.Format("In the air...       \t\tHE      \t\t0, 00:00:0%d", i);
        lines.AddTail(line);
        records.push_back({100 * i, 200, -1, -1});
    }
    // Filled while closed, it keeps the lines for when it opens.
    log.FillList(1, lines, records);
    EXPECT_FALSE(log.IsOpen());
    ASSERT_TRUE(log.Open());
    log.FillList(1, lines, records);
    EXPECT_EQ(log.GetWindowText(), "Enemy Fire Mission Log");
    ASSERT_EQ(log.GetList().GetCount(), 5);
    EXPECT_EQ(log.GetList().GetCurSel(), 0);

    log.GetList().SetCurSel(3);
    log.GetList().SetFocus();
    const bool bFocused = CWnd::GetFocus() == &log.GetList();
    log.FillList(1, lines, records);
    // The offscreen platform may give no window the focus.
    EXPECT_EQ(log.GetList().GetCurSel(), bFocused ? 3 : 0);
    if (bFocused)
        log.SetFocus();
    log.GetList().SetCurSel(3);
    if (CWnd::GetFocus() != &log.GetList())
    {
        log.FillList(0, lines, records);
        EXPECT_EQ(log.GetList().GetCurSel(), 0);
    }
    log.FillList(0, lines, records);
    EXPECT_EQ(log.GetWindowText(), "Friendly Fire Mission Log");
    log.FillList(7, lines, records);
    EXPECT_EQ(log.GetWindowText(), "Friendly Fire Mission Log");

    // A double click with no mission loaded moves nothing and breaks nothing.
    log.OnDoubleClick();
    log.OnClose();
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(log.IsWindow());
}
