// The demo's forces under way: the company team's routed tanks, moved pass
// after pass by the movement pass under the hand-driven counter, drive
// their routes over the demo ground and halt at their last nodes; a
// Time/Stop freezes them, and after the next start they carry on. Every
// other unit stays where it was placed.
#include "UnitCapTestSupport.h"

#include "../../tools/demo_units.h"
#include "battlefield/KDRGameMap.h"
#include "platform/core/Timer.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>

namespace
{
using Position = std::pair<float, float>;

std::map<std::string, Position> Positions(const CUnitArray& array)
{
    std::map<std::string, Position> positions;
    for (int i = 0; i < array.GetSize(); ++i)
        positions[array.GetAt(i)->m_strName.GetString()] = {array.GetAt(i)->m_fX, array.GetAt(i)->m_fY};
    return positions;
}

}  // namespace

TEST(UnitDemoMove, TheRoutedTanksDriveTheirRoutesAndHaltAtTheirLastNodes)
{
    CUnitTestDatabase db;
    db.LoadDemo(true);
    CKDRGameMap map;
    demo_units::LoadDemoGround(map);
    CString errorText;
    CUnitArray friendly;
    ASSERT_TRUE(demo_units::BuildFriendlyUnits(friendly, *db.Db(), map, errorText)) << errorText.GetString();
    const std::map<std::string, Position> start = Positions(friendly);

    CTestShell& app = db.App().App();
    SetManualTime(500000);
    app.GetGameClock()->SetRate(4.0f);
    friendly.PrepareUnits(app.StartClock(), &map, db.Db());
    CKDRUnits units;
    BOOL bChanged = FALSE;
    auto pass = [&] {
        AdvanceManualTime(1000);
        units.MoveUnitArray(0, 0, &friendly, &map, db.Db(), nullptr, nullptr, kUnset, bChanged);
    };

    // A minute of game time: under way, not there yet.
    for (int i = 0; i < 15; ++i)
        pass();
    const std::map<std::string, Position> underWay = Positions(friendly);
    for (const auto& [name, position] : underWay)
    {
        const demo_units::Route* pRoute = demo_units::FindRoute(name.c_str());
        SCOPED_TRACE(name);
        if (pRoute == nullptr)
        {
            EXPECT_EQ(position, start.at(name));
            continue;
        }
        // The working vehicles' routes are short or run other ways: only
        // their ends are checked.
        if (demo_units::IsWorkRoute(name.c_str()))
            continue;
        EXPECT_GT(position.first, start.at(name).first + 100.0f);
        EXPECT_LT(position.first, pRoute->x2 - 50.0f);
    }

    // Time/Stop: nothing moves while the clock stands.
    app.StopClock();
    for (int i = 0; i < 5; ++i)
        pass();
    EXPECT_EQ(Positions(friendly), underWay);

    // Started again they carry on and halt at their last nodes, within six
    // game minutes of the start.
    friendly.PrepareUnits(app.StartClock(), &map, db.Db());
    for (int i = 0; i < 75; ++i)
        pass();
    EXPECT_LE(app.GetGameClock()->m_tsElapsed.GetTotalSeconds(), 360);
    for (int i = 0; i < friendly.GetSize(); ++i)
    {
        const CUnit* pUnit = friendly.GetAt(i);
        const std::string name = pUnit->m_strName.GetString();
        SCOPED_TRACE(name);
        const demo_units::Route* pRoute = demo_units::FindRoute(name.c_str());
        EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
        EXPECT_EQ(pUnit->m_pPath->GetSize(), 1);
        if (pRoute == nullptr)
        {
            EXPECT_EQ(Position(pUnit->m_fX, pUnit->m_fY), start.at(name));
            continue;
        }
        EXPECT_FLOAT_EQ(pUnit->m_fX, pRoute->x2);
        EXPECT_FLOAT_EQ(pUnit->m_fY, pRoute->y2);
    }
    UseRealTime();
}
