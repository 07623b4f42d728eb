// The demo's forces in the real program, with the millisecond counter
// driven by hand and the random numbers seeded: after Time/Start the routed
// tanks drive east while their covering tanks take the dug positions they
// stand on; Time/Stop freezes everything however long the player waits;
// after the next start they carry on from where they stood and halt at the
// ends of their routes, still facing the way they came after a further
// start, but for those of "2nd Tank", whose lead's route tells it to form
// a line, which halt in line beyond that node. On the way the forces see each other and
// fight: the own side's contact list fills, shots are reported in the
// spot-report log and vehicles are destroyed.

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDRHoles.h"
#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "orders/NodeArray.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"
#include "platform/ui/Frame.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/Wnd.h"
#include "units/KDRUnits.h"
#include "units/SpotReportArray.h"
#include "units/SpotReportLogDlg.h"
#include "units/Unit.h"
#include "units/UnitRefArray.h"

#include "support/DemoInstall.h"

#include "../../tools/demo_holes.h"
#include "../../tools/demo_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace
{
const char* const START_WARNING =
    "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to drag "
    "move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";

// Real milliseconds that pass with every window message the game serves.
// The units serve one each while they move, so at 4/1 a pass of the loop
// over the demo's forty-odd units takes about two game seconds.
constexpr DWORD kTickMs = 10;

struct Place
{
    float x = 0.0f;
    float y = 0.0f;
    bool operator==(const Place&) const = default;
};

std::map<std::string, Place> OwnPlaces(CKDRUnits& units)
{
    std::map<std::string, Place> places;
    for (int i = 0; CUnit* pUnit = units.GetUnit(i, 0, UNIT_KIND_OWN); ++i)
        places[pUnit->m_strName.GetString()] = {pUnit->m_fX, pUnit->m_fY};
    return places;
}

CUnit* OwnUnitNamed(CKDRUnits& units, const char* name)
{
    for (int i = 0; CUnit* pUnit = units.GetUnit(i, 0, UNIT_KIND_OWN); ++i)
    {
        if (pUnit->m_strName == name)
            return pUnit;
    }
    return nullptr;
}

// The most enemy contacts the own side held at one time, read as the
// clock runs (a pass empties the lists before it fills them again).
int g_nMostContacts = 0;

// A bound on the ticks of one run, far above what it needs: a run that
// never reaches its time (a prompt nobody scripted, say) still ends.
constexpr int kMostTicks = 20000;

// Posts one tick: time passes as it is served, and the next tick is posted,
// until the game clock has reached `until` game seconds; then Time/Stop.
void PostTicks(CKDRApp& app, CFrameWnd* pFrame, LONG until, int nTicksLeft)
{
    app.PostWork(&app,
                 [&app, pFrame, until, nTicksLeft]
                 {
                     if (const CUnitRefArray* pContacts =
                             app.GetActiveDocument()->GetUnits()->m_pContacts[CONTACTS_OWN_OF_OPPOSING])
                         g_nMostContacts = std::max(g_nMostContacts, pContacts->GetSize());
                     if (app.GetGameClock()->m_tsElapsed.GetTotalSeconds() >= until || nTicksLeft == 0)
                     {
                         app.PostCommand(pFrame, ID_TIME_STOP);
                         return;
                     }
                     AdvanceManualTime(kTickMs);
                     PostTicks(app, pFrame, until, nTicksLeft - 1);
                 });
}

// Time/Start (the loop it runs serves everything posted after it), a
// further command such as a compression, the clock run to `until` game
// seconds, Time/Stop.
void RunClockTo(CKDRApp& app, LONG until, UINT nCommand = 0)
{
    CFrameWnd* pFrame = app.GetMainFrame();
    app.PostCommand(pFrame, ID_TIME_START);
    if (nCommand != 0)
        app.PostCommand(pFrame, nCommand);
    PostTicks(app, pFrame, until, kMostTicks);
    app.PumpWaitingMessage();
    EXPECT_FALSE(app.IsClockRunning());
    EXPECT_GE(app.GetGameClock()->m_tsElapsed.GetTotalSeconds(), until);
}

// A team that started aboard one of the carriers the demo routes with
// Dismount On Contact (it shares that carrier's starting place).
bool RodeDismountingCarrier(const CUnit* pUnit, const std::map<std::string, Place>& start)
{
    if ((pUnit->GetCapabilityMask() & VCAP_DISMOUNT) == 0)
        return false;
    const Place own = start.at(pUnit->m_strName.GetString());
    for (const demo_units::Route& route : demo_units::kCarrierRoutes)
    {
        if (start.at(route.name) == own)
            return true;
    }
    return false;
}

// Above every report code.
constexpr int kNoCode = 1 << 30;

int CountReports(const CSpotReportArray& log, int nFromCode, int nToCode)
{
    int n = 0;
    for (int i = 0; i < log.GetSize(); ++i)
        n += log.GetAt(i)->m_nCode >= nFromCode && log.GetAt(i)->m_nCode < nToCode ? 1 : 0;
    return n;
}
}  // namespace

TEST(BattleDemo, TheForcesDriveFightAndHaltWhereTheirRoutesEnd)
{
    if (!CDemoInstall::WriterBuilt())
        GTEST_SKIP() << "the demo writer is not built";
    const CDemoInstall demo("battle-demo");
    ASSERT_TRUE(demo.Write());
    CScriptedUi ui;
    ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    {
        CUiServiceScope scope(&ui);
        CKDRApp app;
        ASSERT_TRUE(app.InitInstance());
        ASSERT_NE(app.OpenDocumentFile(demo.Scenario().string().c_str()), nullptr);
        CKDRDoc* pDoc = app.GetActiveDocument();
        CKDRUnits* pUnits = pDoc->GetUnits();
        ASSERT_NE(pUnits, nullptr);
        CKDRDatabase* pDatabase = pDoc->GetDatabase();
        ASSERT_NE(pDatabase, nullptr);
        const std::map<std::string, Place> start = OwnPlaces(*pUnits);
        ASSERT_EQ(start.size(), std::size(demo_units::kFriendly));
        SRand(2602);
        g_nMostContacts = 0;
        SetManualTime(1000000);
        ui.ExpectMessage("Warning!", START_WARNING, IDYES);

        // Forty game seconds: the advancing tanks are under way, the
        // covering ones took the vehicle positions they stand on.
        RunClockTo(app, 40, ID_TIME_COMPRESSION_4);
        const CHoleArray* pHoles = pDoc->GetHoles()->GetSideArray(0);
        ASSERT_NE(pHoles, nullptr);
        const char* const occupants[] = {"Tank 11", "Tank 13", "Tank 21", "Tank 23"};
        for (int i = 0; i < 4; ++i)
        {
            SCOPED_TRACE(occupants[i]);
            const CHole* pHole = pHoles->GetAt(i);
            ASSERT_EQ(pHole->m_nKind, CHole::kVehicle);
            ASSERT_TRUE(pHole->m_bOccupied);
            CUnit* pOccupant = pUnits->GetUnit(pHole->m_nOccupant, 0, UNIT_KIND_OWN);
            ASSERT_NE(pOccupant, nullptr);
            EXPECT_EQ(pOccupant->m_strName, occupants[i]);
            EXPECT_TRUE(pOccupant->m_bDugIn);
            EXPECT_EQ(pOccupant->m_nDugPosition, i);
            EXPECT_FLOAT_EQ(pOccupant->m_fHeading, demo_holes::kFacingCrossing);
        }
        // The teams are still aboard: nobody is in the dismount positions.
        EXPECT_FALSE(pHoles->GetAt(4)->m_bOccupied);
        EXPECT_FALSE(pHoles->GetAt(5)->m_bOccupied);

        const std::map<std::string, Place> underWay = OwnPlaces(*pUnits);
        int nUnderWay = 0;
        for (const auto& [name, place] : underWay)
        {
            SCOPED_TRACE(name);
            const demo_units::Route* pRoute = demo_units::FindRoute(name.c_str());
            if (pRoute == nullptr)
            {
                EXPECT_EQ(place, start.at(name));
                continue;
            }
            if (demo_units::IsWorkRoute(name.c_str()))
                continue;
            EXPECT_LT(place.x, pRoute->x2 - 100.0f);
            nUnderWay += place.x > start.at(name).x + 50.0f ? 1 : 0;
        }
        EXPECT_GE(nUnderWay, 3);

        // Stopped, nothing moves, however long the player waits.
        AdvanceManualTime(600000);
        app.PostWork(&app, [] {});
        app.PumpWaitingMessage();
        EXPECT_EQ(OwnPlaces(*pUnits), underWay);
        const LONG nStopped = app.GetGameClock()->m_tsElapsed.GetTotalSeconds();

        // Started again they carry on from where they stood: in the few
        // seconds of the next run none goes farther than its top speed
        // allows, as if the wait had not been.
        RunClockTo(app, nStopped + 4);
        const LONG nRun = app.GetGameClock()->m_tsElapsed.GetTotalSeconds() - nStopped;
        int nCarriedOn = 0;
        for (const auto& [name, place] : OwnPlaces(*pUnits))
        {
            SCOPED_TRACE(name);
            const Place before = underWay.at(name);
            const float moved = std::hypot(place.x - before.x, place.y - before.y);
            const CUnit* pUnit = OwnUnitNamed(*pUnits, name.c_str());
            const float fTop = pDatabase->GetVehicle(pUnit->m_nVehicle)->m_fSprint * 0.1f * (nRun + 3);
            EXPECT_LE(moved, fTop);
            nCarriedOn += demo_units::FindRoute(name.c_str()) != nullptr && moved > 1.0f ? 1 : 0;
        }
        EXPECT_GE(nCarriedOn, 3);

        // Five game minutes after the first start every advancing tank that
        // lives stands on its last node, halted by its stop and facing the
        // way it came; started once more, they stay so. The player opened
        // the spot-report log on the way.
        RunClockTo(app, 300, ID_VIEW_SPOT_REPORT_LOG);
        for (LONG until : {300, 320})
        {
            if (until > 300)
                RunClockTo(app, until);
            int nArrived = 0;
            for (const auto& [name, place] : OwnPlaces(*pUnits))
            {
                SCOPED_TRACE(name + " at " + std::to_string(until));
                const CUnit* pUnit = OwnUnitNamed(*pUnits, name.c_str());
                const demo_units::Route* pRoute = demo_units::FindRoute(name.c_str());
                // The teams of the carriers told to dismount on contact
                // got out under fire from the ridge.
                if (RodeDismountingCarrier(pUnit, start))
                {
                    EXPECT_TRUE(pUnit->m_bDestroyed || !pUnit->IsCarried());
                    continue;
                }
                // "2nd Tank" took up its line when its lead reached the
                // node that says so: its routed tanks halt abreast of the
                // lead beyond that node (PlatoonOrdersDemoTest checks the
                // line itself); its covering tanks held their positions.
                if (demo_units::IsInLinePlatoon(name.c_str()) && !demo_units::IsLineCover(name.c_str()))
                {
                    const CUnit* pLead = OwnUnitNamed(*pUnits, demo_units::kLineLead);
                    const demo_units::Route* pLeadRoute = demo_units::FindRoute(demo_units::kLineLead);
                    ASSERT_NE(pLeadRoute, nullptr);
                    if (pUnit->m_bDestroyed || pLead->m_bDestroyed)
                        continue;
                    EXPECT_GT(place.x, pLeadRoute->x1);
                    EXPECT_NEAR(place.x, pLead->m_fX, 5.0f);
                    EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
                    EXPECT_EQ(pUnit->m_pPath->GetSize(), 1);
                    continue;
                }
                if (pRoute == nullptr)
                {
                    EXPECT_EQ(place, start.at(name));
                    continue;
                }
                // The working vehicles halt on their way to breach or dig
                // in: their drives are checked on their own
                // (UnitDemoWorkTest).
                if (pUnit->m_bDestroyed || demo_units::IsWorkRoute(name.c_str()))
                    continue;
                EXPECT_FLOAT_EQ(place.x, pRoute->x2);
                EXPECT_FLOAT_EQ(place.y, pRoute->y2);
                EXPECT_TRUE(pUnit->IsStoppedAtStopNode());
                EXPECT_EQ(pUnit->m_pPath->GetSize(), 1);
                EXPECT_NEAR(pUnit->m_fHeading, std::atan2(pRoute->x2 - pRoute->x1, pRoute->y2 - pRoute->y1), 1e-3);
                ++nArrived;
            }
            EXPECT_GE(nArrived, 2);
        }

        // And the forces met: the own side saw the enemy, sightings, shots
        // and kills are in the log, which lists them all, and vehicles were
        // destroyed.
        EXPECT_GT(g_nMostContacts, 0);
        const CSpotReportArray& log = *app.m_pSpotReports;
        ASSERT_TRUE(log.IsLogShown());
        EXPECT_EQ(log.GetLogWindow()->GetList().GetCount(), log.GetSize());
        EXPECT_GT(CountReports(log, 0, CSpotReportArray::CODE_ENGAGEMENT), 0);        // sightings
        EXPECT_GT(CountReports(log, CSpotReportArray::CODE_ENGAGEMENT, kNoCode), 0);  // shots, some fatal
        EXPECT_GT(CountReports(log, CSpotReportArray::CODE_KILL, kNoCode), 0);
        int anDestroyed[2] = {};
        for (int nKind : {UNIT_KIND_OWN, UNIT_KIND_OPPOSING})
            for (int i = 0; CUnit* pUnit = pUnits->GetUnit(i, 0, nKind); ++i)
                anDestroyed[nKind] += pUnit->m_bDestroyed ? 1 : 0;
        EXPECT_GT(anDestroyed[UNIT_KIND_OWN] + anDestroyed[UNIT_KIND_OPPOSING], 0);

        UseRealTime();
        app.m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
    }
    EXPECT_TRUE(ui.IsScriptDone()) << ui.DescribeRemaining().GetString();
}
