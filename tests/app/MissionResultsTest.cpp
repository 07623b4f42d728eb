// The results page of the main mission: the outcome and debriefing chosen
// by the events, the objective and results lines, the unit counts, the
// modal "Mission Results" window showing it, and the page removed again.
#include "DocTestSupport.h"

#include "app/KDRMissions.h"
#include "app/MissionResultsDlg.h"
#include "mission/ConditionKinds.h"
#include "mission/EventArray.h"
#include "mission/Mission.h"
#include "net/MultiplayerSession.h"
#include "platform/ui/PageView.h"
#include "units/HeldUnits.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
const int kNoValues[6] = {0, 0, 0, 0, 0, 0};
const char* const kTemplate =
    "<HTML><BODY>[*picture*][*name*][*completeStatus*][*completeMessage*][*victoryLoss*][*objectives*]"
    "[*results*][*counts*]</BODY></HTML>";
const char* const kLine = "<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">";
const char* const kLineEnd = "</FONT></FONT><BR>\r\n";

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const char* text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A mission named "Ridge" with its debriefing texts; its events are the
// test's.
std::unique_ptr<CMission> Ridge()
{
    auto pMission = std::make_unique<CMission>();
    pMission->m_strName = "Ridge";
    pMission->m_strVictoryText = "The ridge is ours.";
    pMission->m_strLossText = "The ridge was lost.";
    return pMission;
}

struct Shown
{
    std::string page;      // results.htm as written, read while the window is open
    CString location;      // the page the window's view shows
    bool bShown = false;
};

// Writes the page of the mission and answers the results window with OK,
// noting what it showed.
Shown WriteAndShow(CDocShell& shell, CMission& mission, CKDRUnits* pUnits, LONG nElapsed)
{
    Shown shown;
    const fs::path page = fs::path(shell.App().m_strSavegameDir.GetString()) / "results.htm";
    shell.Ui().ExpectDialog(IDD_MISSION_RESULTS, IDOK,
                            [&](CDialog& dialog)
                            {
                                shown.bShown = true;
                                shown.page = ReadText(page);
                                auto& results = static_cast<CMissionResultsDlg&>(dialog);
                                if (CPageView* pView = results.GetBrowser())
                                    shown.location = pView->GetLocationName();
                            });
    const int* apCounts[3] = {nullptr, nullptr, nullptr};
    mission.WriteResultsPage(pUnits, nullptr, kNoValues, apCounts, CTimeSpan(nElapsed),
                             CTime(2002, 6, 14, 5, 30, 0));
    EXPECT_FALSE(fs::exists(page)) << "the page outlived its window";
    return shown;
}

std::string Expected(const CDocShell& shell, const char* status, const char* message, const char* debriefing,
                     const std::string& objectives, const std::string& results)
{
    return "<HTML><BODY>[" + (fs::path(shell.DataDir()) / "kdr_logo.jpg").string() + "][Ridge][" + status + "][" +
           message + "][" + debriefing + "][" + objectives + "][" + results + "][]</BODY></HTML>";
}
}  // namespace

TEST(MissionResults, OutcomeDebriefingObjectivesAndResultsOfTheEvents)
{
    CDocShell shell;
    WriteText(shell.DataDir() / "results.htm", kTemplate);
    CHeldUnits units;
    units.Place(1, 0, 0.0f, 0.0f);

    const std::string enemyObjective = std::string(kLine) + "1.  Destroy all enemy vehicles or teams.\r\n" + kLineEnd;
    const std::string timeObjective =
        std::string(kLine) + "2.  Achieve mission objectives no later than 140630JUN02.\r\n" + kLineEnd;
    const std::string objectives = enemyObjective + timeObjective;

    struct Case
    {
        const char* what;
        LONG nElapsed;
        BOOL bEnemyLeft;
        const char* status;
        const char* message;
        const char* debriefing;
        const char* enemyStatus;
        const char* timeStatus;
    };
    const Case cases[] = {
        {"won", 60, FALSE, "<FONT COLOR=\"BLUE\">MISSION COMPLETE</FONT>", "All mission objectives completed.",
         "The ridge is ours.", "The enemy has no vehicles or teams remaining.\r\n",
         "The 'No Later Than' time of 140630JUN02 has not yet elapsed.\r\n"},
        {"lost", 3601, TRUE, "<FONT COLOR=\"RED\">MISSION FAILED</FONT>", "All mission objectives were not completed.",
         "The ridge was lost.", "The enemy has 1 vehicle or team remaining.\r\n",
         "The 'No Later Than' time of 140630JUN02 elapsed without mission objectives having been achieved.\r\n"},
        {"going on", 60, TRUE, "<FONT COLOR=\"GREEN\">MISSION NOT COMPLETE</FONT>",
         "Mission ended prior to mission completion.", "", "The enemy has 1 vehicle or team remaining.\r\n",
         "The 'No Later Than' time of 140630JUN02 has not yet elapsed.\r\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CMission> pMission = Ridge();
        pMission->m_pEvents->GetAt(0)->GetConditions()->Add(new CConditionEnemyNumbers);
        auto* pTime = new CConditionTimeLimit;
        pTime->m_tsLimit = CTimeSpan(3600);
        pMission->m_pEvents->GetAt(1)->GetConditions()->Add(pTime);
        units.GetUnit(0, 0, 1)->m_bDestroyed = !c.bEnemyLeft;

        const Shown shown = WriteAndShow(shell, *pMission, &units, c.nElapsed);
        ASSERT_TRUE(shown.bShown);
        const std::string results = std::string(kLine) + "1.  " + c.enemyStatus + kLineEnd + kLine + "2.  " +
                                    c.timeStatus + kLineEnd;
        EXPECT_EQ(shown.page, Expected(shell, c.status, c.message, c.debriefing, objectives, results));
        EXPECT_EQ(shown.location, "results.htm");
    }
}

TEST(MissionResults, WithoutEventsTheMissionIsNotCompleteAndItsPlaceholdersStay)
{
    CDocShell shell;
    WriteText(shell.DataDir() / "results.htm", kTemplate);
    std::unique_ptr<CMission> pMission = Ridge();
    delete pMission->m_pEvents;
    pMission->m_pEvents = nullptr;
    const Shown shown = WriteAndShow(shell, *pMission, nullptr, 60);
    EXPECT_EQ(shown.page, Expected(shell, "<FONT COLOR=\"GREEN\">MISSION NOT COMPLETE</FONT>",
                                   "Mission ended prior to mission completion.", "", "*objectives*", "*results*"));
}

TEST(MissionResults, WithoutTheTemplateNothingIsWrittenOrShown)
{
    CDocShell shell;
    std::unique_ptr<CMission> pMission = Ridge();
    const int* apCounts[3] = {nullptr, nullptr, nullptr};
    pMission->WriteResultsPage(nullptr, nullptr, kNoValues, apCounts, CTimeSpan(0), CTime());
    EXPECT_TRUE(shell.Ui().GetShown().empty());
    EXPECT_FALSE(fs::exists(fs::path(shell.App().m_strSavegameDir.GetString()) / "results.htm"));
}

TEST(MissionResults, SurrenderInAMultiplayerGameComesBeforeTheEvents)
{
    CDocShell shell;
    WriteText(shell.DataDir() / "results.htm", kTemplate);
    CMultiplayerSession session;
    shell.App().m_bMultiplayer = TRUE;
    shell.App().m_pSession = &session;
    session.m_bSurrendered = TRUE;
    std::unique_ptr<CMission> pMission = Ridge();
    const Shown shown = WriteAndShow(shell, *pMission, nullptr, 60);
    shell.App().m_pSession = nullptr;
    shell.App().m_bMultiplayer = FALSE;
    EXPECT_NE(shown.page.find("[<FONT COLOR=\"RED\">You Surrendered!</FONT>][You surrendered to your opponent prior to "
                              "mission completion.][The ridge is ours.]"),
              std::string::npos)
        << shown.page;
}
