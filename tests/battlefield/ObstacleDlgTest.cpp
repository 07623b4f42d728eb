// The Obstacle dialog as the player sees it, for one obstacle and for a
// selection, answered through the scripted UI service.
#include "ObstacleTestSupport.h"

#include "battlefield/ObstacleDlg.h"
#include "hierarchy/TaskOrg.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <memory>

using namespace obstest;

namespace
{
const UINT kTimeControls[] = {IDC_OBSTACLE_DAYS_LABEL,    IDC_OBSTACLE_DAYS,          IDC_OBSTACLE_HOURS_LABEL,
                              IDC_OBSTACLE_HOURS,         IDC_OBSTACLE_MINUTES_LABEL, IDC_OBSTACLE_MINUTES,
                              IDC_OBSTACLE_SECONDS_LABEL, IDC_OBSTACLE_SECONDS};

bool IsEnabled(CDialog& d, UINT id) { return d.GetDlgItem(id)->IsWindowEnabled() != FALSE; }
}  // namespace

TEST(ObstacleDialog, ACratersTimeToFireIsShownInDaysHoursMinutesAndSeconds)
{
    CObstacleArray own;
    CObstacle* pCrater = Make(100, 100, 1600, 20, 12, CObstacle::kRoadCrater, 90);
    pCrater->m_tsTime = CTimeSpan(90061);  // 1 day, 1 hour, 1 minute, 1 second
    own.Add(pCrater);

    ScopedScriptedUi ui;
    ui->ExpectDialog(IDD_OBSTACLE, IDOK,
                     [](CDialog& d)
                     {
                         EXPECT_EQ(d.GetWindowText(), "Obstacle");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_DAYS), "1");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_HOURS), "1");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_MINUTES), "1");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_SECONDS), "1");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_TYPE), "Road Crater");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_LENGTH), "20");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_WIDTH), "12");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_DENSITY), "90");
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_ATTITUDE), "1600");
                         for (UINT id : kTimeControls)
                             EXPECT_TRUE(IsEnabled(d, id)) << id;
                     });
    EXPECT_TRUE(own.EditObstacle(pCrater));
    EXPECT_EQ(pCrater->m_tsTime.GetTotalSeconds(), 90061);

    // A new attitude and time to fire are taken on OK, not on Cancel.
    ui->ExpectDialog(IDD_OBSTACLE, IDOK,
                     [](CDialog& d)
                     {
                         d.SetDlgItemText(IDC_OBSTACLE_ATTITUDE, "3200");
                         d.SetDlgItemText(IDC_OBSTACLE_DAYS, "0");
                         d.SetDlgItemText(IDC_OBSTACLE_HOURS, "2");
                         d.SetDlgItemText(IDC_OBSTACLE_MINUTES, "30");
                         d.SetDlgItemText(IDC_OBSTACLE_SECONDS, "0");
                     });
    EXPECT_TRUE(own.EditObstacle(pCrater));
    EXPECT_EQ(pCrater->m_nAttitude, 3200);
    EXPECT_EQ(pCrater->m_tsTime.GetTotalSeconds(), 9000);
    ui->ExpectDialog(IDD_OBSTACLE, IDCANCEL, [](CDialog& d) { d.SetDlgItemText(IDC_OBSTACLE_ATTITUDE, "100"); });
    EXPECT_FALSE(own.EditObstacle(pCrater));
    EXPECT_EQ(pCrater->m_nAttitude, 3200);
}

TEST(ObstacleDialog, AnAttitudeOutOfRangeKeepsTheDialogOpen)
{
    CObstacleArray own;
    CObstacle* pField = Make(100, 100, 1600, 200, 40, CObstacle::kMineField, 70);
    own.Add(pField);
    ScopedScriptedUi ui;
    ui->ExpectDialog(IDD_OBSTACLE, IDCANCEL,
                     [](CDialog& d)
                     {
                         d.SetDlgItemText(IDC_OBSTACLE_ATTITUDE, "6401");
                         EXPECT_TRUE(d.PressButton(IDOK));
                         EXPECT_FALSE(d.IsModalEnded());
                     });
    ui->ExpectMessage("Kedravin", "Please enter an integer between 0 and 6400.", IDOK);
    EXPECT_FALSE(own.EditObstacle(pField));
    EXPECT_EQ(pField->m_nAttitude, 1600);
}

TEST(ObstacleDialog, AMineFieldsTimeToFireCannotBeChanged)
{
    CObstacleArray own;
    CObstacle* pField = Make(100, 100, 1600, 200, 40, CObstacle::kMineField, 70);
    own.Add(pField);
    ScopedScriptedUi ui;
    ui->ExpectDialog(IDD_OBSTACLE, IDOK,
                     [](CDialog& d)
                     {
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_TYPE), "Mine Field");
                         for (UINT id : kTimeControls)
                             EXPECT_FALSE(IsEnabled(d, id)) << id;
                         EXPECT_TRUE(IsEnabled(d, IDC_OBSTACLE_ATTITUDE));
                         EXPECT_TRUE(IsEnabled(d, IDC_OBSTACLE_LENGTH));
                     });
    EXPECT_TRUE(own.EditObstacle(pField));
    EXPECT_EQ(pField->m_tsTime.GetTotalSeconds(), 0);
}

TEST(ObstacleDialog, ASelectionTakesTheAttitudeOnly)
{
    Scene scene(400, 400, false);
    CObstacleArray own;
    own.Add(MakeChem(50, 50, 20, 100));
    CObstacle* pWire = Make(100, 100, 1600, 200, 10, CObstacle::kWire);
    CObstacle* pCrater = Make(300, 300, 1600, 20, 12, CObstacle::kRoadCrater);
    pCrater->m_tsTime = CTimeSpan(1800);
    own.Add(pWire);
    own.Add(pCrater);

    // A selection that starts with a chemical area opens nothing.
    ScopedScriptedUi ui;
    CTaskOrgArray chemFirst;
    chemFirst.Add(new CTaskOrg(0, 0));
    chemFirst.Add(new CTaskOrg(1, 0));
    EXPECT_FALSE(own.EditSelected(&chemFirst, &scene.map));
    EXPECT_TRUE(ui->GetShown().empty());

    CTaskOrgArray selection;
    for (int i : {1, 0, 2})
        selection.Add(new CTaskOrg(i, 0));
    ui->ExpectDialog(IDD_OBSTACLE, IDOK,
                     [](CDialog& d)
                     {
                         EXPECT_EQ(d.GetDlgItemText(IDC_OBSTACLE_TYPE), "");
                         for (UINT id : {IDC_OBSTACLE_TYPE, IDC_OBSTACLE_DENSITY, IDC_OBSTACLE_LENGTH,
                                         IDC_OBSTACLE_WIDTH, IDC_OBSTACLE_DAYS})
                             EXPECT_FALSE(IsEnabled(d, id)) << id;
                         EXPECT_TRUE(IsEnabled(d, IDC_OBSTACLE_ATTITUDE));
                         d.SetDlgItemText(IDC_OBSTACLE_ATTITUDE, "800");
                     });
    EXPECT_TRUE(own.EditSelected(&selection, &scene.map));
    EXPECT_EQ(pWire->m_nAttitude, 800);
    EXPECT_EQ(pCrater->m_nAttitude, 800);
    EXPECT_EQ(pCrater->m_tsTime.GetTotalSeconds(), 1800);
    EXPECT_TRUE(pWire->m_bHighlight);
    EXPECT_EQ(own.GetAt(0)->m_nAttitude, 1600);
}
