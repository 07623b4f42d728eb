// The results page of the demo mission at a scripted end, read while its
// window is open: each side's count in the results sentences is the sum of
// that side's "Remaining" column, with teams riding in their carriers and
// units destroyed on both sides.
#include "ViewDemoMap.h"

#include "app/GameClock.h"
#include "app/MissionResultsDlg.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace
{
std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The number a sentence gives after its opening ("no" is 0); -1 when the
// sentence is missing.
int SentenceCount(const std::string& page, const std::string& opening)
{
    const std::regex pattern(opening + " (no|[0-9]+) vehicles? or teams? remaining");
    std::smatch match;
    if (!std::regex_search(page, match, pattern))
        return -1;
    return match[1] == "no" ? 0 : std::stoi(match[1]);
}

// The sum of the "Remaining" cells (the second count of each row) of the
// table that follows a heading, up to the table's end.
int RemainingSum(const std::string& page, const std::string& heading)
{
    const size_t from = page.find(heading);
    if (from == std::string::npos)
        return -1;
    const size_t to = page.find("</TABLE>", from);
    const std::string table = page.substr(from, to - from);
    const std::regex cell("<TD WIDTH=\"14%\"[^>]*>\\s*<P ALIGN=CENTER>\\s*<FONT[^>]*><FONT SIZE=\"2\">([0-9]+)</FONT>");
    int sum = 0;
    int n = 0;
    for (auto it = std::sregex_iterator(table.begin(), table.end(), cell); it != std::sregex_iterator(); ++it, ++n)
        if (n % 2 == 1)
            sum += std::stoi((*it)[1]);
    return sum;
}

CUnit* UnitNamed(CKDRUnits& units, int nSide, const char* name)
{
    for (int i = 0; CUnit* pUnit = units.GetUnit(i, 0, nSide); ++i)
        if (pUnit->m_strName == name)
            return pUnit;
    return nullptr;
}
}  // namespace

TEST(ResultsPageDemo, EachSidesSentenceCountIsItsTablesRemainingSum)
{
    CDemoMap map("results-page");
    START_DEMO(map, true);
    CKDRUnits* pUnits = map.Doc().GetUnits();
    ASSERT_NE(pUnits, nullptr);
    // A minute of play in which a tank of each side and an enemy carrier
    // with its teams still aboard were lost.
    for (const auto& [nSide, name] : {std::pair{0, "Tank 11"}, std::pair{1, "Enemy Tank 1"},
                                      std::pair{1, "Enemy Carrier 1"}})
    {
        CUnit* pUnit = UnitNamed(*pUnits, nSide, name);
        ASSERT_NE(pUnit, nullptr) << name;
        pUnit->m_bDestroyed = TRUE;
    }
    map.App().GetGameClock()->m_tsElapsed = CTimeSpan(60);

    const std::filesystem::path page = std::filesystem::path(map.App().m_strSavegameDir.GetString()) / "results.htm";
    std::string shown;
    map.m_ui.ExpectDialog(IDD_MISSION_RESULTS, IDOK, [&](CDialog&) { shown = ReadText(page); });
    ASSERT_EQ(map.Doc().OfferResults(CTimeSpan(60), 1), 1);
    ASSERT_FALSE(shown.empty()) << "the results window was not shown";

    const int nFriendly = SentenceCount(shown, "Friendly forces have");
    const int nEnemy = SentenceCount(shown, "The enemy has");
    ASSERT_GE(nFriendly, 0) << shown;
    ASSERT_GE(nEnemy, 0) << shown;
    EXPECT_EQ(nFriendly, RemainingSum(shown, "<H3>Friendly</H3>"));
    EXPECT_EQ(nEnemy, RemainingSum(shown, "<H3>Enemy</H3>"));
    EXPECT_EQ(nFriendly, pUnits->CountLiveUnits(0));
    EXPECT_EQ(nEnemy, pUnits->CountLiveUnits(1));
}
