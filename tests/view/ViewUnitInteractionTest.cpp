// The map view's mouse and keys on the demo mission's units, driven through
// the real windows by scripted events: the rubber band and Shift clicks
// selecting own units, the deployment drags of one unit and of a unit
// selection, path editing on the map and the unit driving the edited path
// once the clock runs, the pending modes completed by clicks on units, and
// the number-key groups of units that are gone.
#include "ViewDemoMap.h"

#include "app/GameClock.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "platform/core/Timer.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "view/Sound.h"

#include <cmath>
#include <functional>
#include <memory>

namespace
{
constexpr int kOwnSide = 0;
constexpr int kEnemySide = 1;

const char* const kDeploymentWarning = "Starting the clock will end\r\nthe deployment phase.\r\nYou will not be able to "
                                       "drag move\r\nunits, obstacles, or dug positions.\r\nDo you wish to continue?";

// The demo map with the units as a player sees them: the vehicles shown,
// the platoon and company symbols hidden, so that a click names a vehicle.
class CUnitMap : public CDemoMap
{
public:
    using CDemoMap::CDemoMap;

    void ShowVehiclesOnly()
    {
        CKDRView& view = View();
        if (!view.m_bShowVehicles)
            Command(ID_VIEW_ECHELON_VEHICLES);
        if (view.m_bShowPlatoons)
            Command(ID_VIEW_ECHELON_PLATOONS);
        if (view.m_bShowCompanies)
            Command(ID_VIEW_ECHELON_COMPANIES);
        RedrawMap();
    }
    // The units' pictures take their places when the map is drawn, as it
    // is before any click of a user.
    void CentreOn(float fX, float fY)
    {
        CDemoMap::CentreOn(fX, fY);
        RedrawMap();
    }
    void RedrawMap()
    {
        View().RedrawMap(FALSE);
        CViewShell::Spin();
    }
    // The same at once, for a step inside the game loop, where spinning
    // the event loop would serve the next steps too.
    void PaintNow()
    {
        View().RedrawMap(FALSE);
        Widget()->repaint();
    }

    // The index of a unit of a side by its name, kUnset when there is none.
    int UnitIndex(const char* name, int nSide = kOwnSide)
    {
        CKDRUnits* pUnits = Doc().GetUnits();
        for (int i = 0; pUnits != nullptr; ++i)
        {
            CUnit* pUnit = pUnits->GetUnit(i, 0, nSide);
            if (pUnit == nullptr)
                break;
            if (pUnit->m_strName == name)
                return i;
        }
        return kUnset;
    }
    CUnit* Unit(const char* name, int nSide = kOwnSide)
    {
        const int nIndex = UnitIndex(name, nSide);
        return nIndex != kUnset ? Doc().GetUnits()->GetUnit(nIndex, 0, nSide) : nullptr;
    }
    QPointF At(const CUnit* pUnit) { return ClientOf(pUnit->m_fX, pUnit->m_fY); }
    // Where a user clicks to hit the unit: the point of its picture
    // nearest to its position that is not transparent (some pictures are
    // open in the middle). The view's pixels are the client pixels.
    QPointF OnPicture(CUnit* pUnit)
    {
        const QPointF centre = At(pUnit);
        const int x = static_cast<int>(std::lround(centre.x()));
        const int y = static_cast<int>(std::lround(centre.y()));
        for (int r = 0; r < 12; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if ((std::abs(dx) == r || std::abs(dy) == r) && pUnit->HitTest(x + dx, y + dy))
                        return QPointF(x + dx, y + dy);
        return centre;
    }

    // A press and release at one point, and the double click that a second
    // one makes of it.
    void ClickAt(QPointF pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Press(pt, mods);
        Release(pt);
    }
    void DoubleClickAt(QPointF pt)
    {
        ClickAt(pt);
        Mouse(QEvent::MouseButtonDblClick, pt);
        Release(pt);
    }
    void RightClickAt(QPointF pt)
    {
        Mouse(QEvent::MouseButtonPress, pt, Qt::RightButton);
        Mouse(QEvent::MouseButtonRelease, pt, Qt::RightButton);
    }
    // Press, a move half-way and the release at the end point.
    void DragFromTo(QPointF from, QPointF to)
    {
        Press(from);
        MoveTo((from + to) / 2);
        Release(to);
    }

    // Whether the pick sound started since ForgetPick; answers true where
    // there is no sound output to play it on (nothing can be heard there).
    void ForgetPick()
    {
        if (CAudioBuffer* pBuffer = PickBuffer())
            pBuffer->Stop();
    }
    bool PickHeardOrNoOutput()
    {
        CAudioBuffer* pBuffer = PickBuffer();
        return pBuffer == nullptr || pBuffer->IsPlaying();
    }
    bool PickHeard()
    {
        CAudioBuffer* pBuffer = PickBuffer();
        return pBuffer != nullptr && pBuffer->IsPlaying();
    }

    // Time/Start on the main frame, the deployment warning answered, then
    // the steps one by one while the clock runs, each after the millisecond
    // counter moved on by a step's time, then Time/Stop. Every unit's move
    // step serves a waiting message, and so may a sound started before the
    // loop: each step waits for the running clock and posts the next.
    void RunClock(const std::vector<std::function<void()>>& steps)
    {
        SetManualTime(1000000);
        m_steps = steps;
        m_nNextStep = 0;
        m_nWaits = 0;
        App().PostCommand(&Frame(), ID_TIME_START);
        App().PostWork(&App(), [this] { ServeStep(); });
        if (App().IsDeploymentPhase())
            m_ui.ExpectMessage("Warning!", kDeploymentWarning, IDYES);
        while (m_nNextStep <= m_steps.size() || App().IsClockRunning())
        {
            if (!App().PumpWaitingMessage())
                break;
        }
        UseRealTime();
    }
    static std::vector<std::function<void()>> Seconds(int n)
    {
        return std::vector<std::function<void()>>(static_cast<size_t>(n) * 1000 / kStepMs, [] {});
    }
    // The milliseconds of a step; each unit moves by the time that passed
    // since its own last move step.
    static constexpr DWORD kStepMs = 20;

private:
    void ServeStep()
    {
        if (!App().IsClockRunning() && m_nNextStep == 0)
        {
            // A clock that never starts ends the run (the test then fails
            // on what did not happen).
            if (++m_nWaits < 10000)
                App().PostWork(&App(), [this] { ServeStep(); });
            else
                m_nNextStep = m_steps.size() + 1;
            return;
        }
        if (m_nNextStep < m_steps.size())
        {
            AdvanceManualTime(kStepMs);
            m_steps[m_nNextStep++]();
            App().PostWork(&App(), [this] { ServeStep(); });
            return;
        }
        ++m_nNextStep;
        App().PostCommand(&Frame(), ID_TIME_STOP);
    }
    CAudioBuffer* PickBuffer()
    {
        CSoundManager* pSound = App().m_pSoundManager;
        if (pSound == nullptr || !pSound->IsSoundOn() || pSound->GetPickBuffer() == nullptr)
            return nullptr;
        return pSound->GetPickBuffer()->GetAudioBuffer();
    }

    std::vector<std::function<void()>> m_steps;
    size_t m_nNextStep = 0;
    int m_nWaits = 0;
};

float Distance(float x1, float y1, float x2, float y2) { return std::hypot(x1 - x2, y1 - y2); }
}  // namespace

// A band round the first tank platoon selects its four tanks with the pick
// sound; a Shift click adds an own carrier, but neither an enemy unit nor
// empty ground adds anything.
TEST(ViewUnitInteraction, TheRubberBandAndShiftClicksSelectOnlyOwnUnits)
{
    CUnitMap map("view-unit-band");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.ShowVehiclesOnly();
    map.CentreOn(700.0f, 1800.0f);

    map.ForgetPick();
    const QPointF corner1 = map.ClientOf(700.0f, 1910.0f);
    const QPointF corner2 = map.ClientOf(800.0f, 1700.0f);
    map.Press(corner1);
    ASSERT_TRUE(view.m_bRubberBand);
    map.MoveTo(QPointF(corner2.x(), corner1.y()));
    map.MoveTo(corner2);
    map.Release(corner2);
    EXPECT_FALSE(view.m_bRubberBand);
    ASSERT_TRUE(view.m_bSelectUnits);
    ASSERT_NE(view.m_pSelection, nullptr);
    EXPECT_EQ(view.m_pSelection->m_nSide, kOwnSide);
    EXPECT_EQ(view.m_pSelection->GetSize(), 4);
    for (const char* name : {"Tank 11", "Tank 12", "Tank 13", "Tank 14"})
        EXPECT_NE(view.m_pSelection->FindTaskOrg(map.UnitIndex(name), 0), kUnset) << name;
    EXPECT_TRUE(map.PickHeardOrNoOutput());

    // Shift adds an own carrier.
    map.ForgetPick();
    CUnit* pCarrier = map.Unit("Carrier 31");
    ASSERT_NE(pCarrier, nullptr);
    map.ClickAt(map.At(pCarrier), Qt::ShiftModifier);
    ASSERT_NE(view.m_pSelection, nullptr);
    EXPECT_EQ(view.m_pSelection->GetSize(), 5);
    EXPECT_NE(view.m_pSelection->FindTaskOrg(map.UnitIndex("Carrier 31"), 0), kUnset);
    EXPECT_TRUE(map.PickHeardOrNoOutput());

    // An enemy tank and empty ground add nothing; no sound.
    CUnit* pEnemy = map.Unit("Enemy Tank 1", kEnemySide);
    ASSERT_NE(pEnemy, nullptr);
    map.CentreOn(pEnemy->m_fX, pEnemy->m_fY);
    map.ForgetPick();
    for (QPointF pt : {map.At(pEnemy), map.ClientOf(pEnemy->m_fX - 150.0f, pEnemy->m_fY)})
    {
        map.ClickAt(pt, Qt::ShiftModifier);
        EXPECT_FALSE(view.m_bRubberBand);
        ASSERT_NE(view.m_pSelection, nullptr);
        EXPECT_EQ(view.m_pSelection->GetSize(), 5);
        EXPECT_EQ(view.m_pSelection->m_nSide, kOwnSide);
    }
    EXPECT_FALSE(map.PickHeard());
}

// Deployment: a unit outside the selection is dragged alone to the release
// point, and stays on the map when released beyond its edge; a selected
// unit drags the whole selection, which after a hundred half-metre moves
// at zoom 4 ends exactly the cursor's offset away.
TEST(ViewUnitInteraction, DeploymentDragsMoveOneUnitOrTheWholeSelection)
{
    CUnitMap map("view-unit-drag");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.ShowVehiclesOnly();
    CUnit* pCarrier = map.Unit("Carrier 31");
    CUnit* pOther = map.Unit("Carrier 32");
    ASSERT_NE(pCarrier, nullptr);
    ASSERT_NE(pOther, nullptr);
    const float fOtherX = pOther->m_fX;
    const float fOtherY = pOther->m_fY;
    map.CentreOn(pCarrier->m_fX, pCarrier->m_fY);

    // Alone, to the release point.
    const float fToX = pCarrier->m_fX - 60.0f;
    const float fToY = pCarrier->m_fY + 30.0f;
    map.Press(map.OnPicture(pCarrier));
    ASSERT_TRUE(view.m_bDragUnit);
    map.MoveTo(map.ClientOf(fToX + 20.0f, fToY));
    EXPECT_NEAR(pCarrier->m_fX, fToX + 20.0f, 0.5f) << "it follows the cursor";
    map.Release(map.ClientOf(fToX, fToY));
    EXPECT_FALSE(view.m_bDragUnit);
    EXPECT_NEAR(pCarrier->m_fX, fToX, 0.5f);
    EXPECT_NEAR(pCarrier->m_fY, fToY, 0.5f);
    ASSERT_GT(pCarrier->m_pPath->GetSize(), 0);
    EXPECT_EQ(pCarrier->m_pPath->GetAt(0)->m_fX, pCarrier->m_fX) << "its path starts where it stands";
    EXPECT_EQ(pOther->m_fX, fOtherX);
    EXPECT_EQ(pOther->m_fY, fOtherY);
    EXPECT_TRUE(map.Doc().IsModified());

    // At the least zoom the whole map shows with room beside it: released
    // there, east of the map's edge, the unit stays on the map's edge.
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToMinimum, FALSE));
    map.ShowVehiclesOnly();
    const float fMapWidth = static_cast<float>(map.Doc().GetGameMap()->GetElevationMap()->GetWidth());
    const QPointF beyond = map.ClientOf(fMapWidth + 100.0f, pCarrier->m_fY);
    ASSERT_LT(beyond.x(), map.Widget()->width()) << "no room east of the map";
    map.Press(map.OnPicture(pCarrier));
    ASSERT_TRUE(view.m_bDragUnit);
    map.Release(beyond);
    EXPECT_FALSE(view.m_bDragUnit);
    EXPECT_GT(pCarrier->m_fX, fMapWidth - 1.0f);
    EXPECT_LE(pCarrier->m_fX, fMapWidth);
    EXPECT_NEAR(pCarrier->m_fY, fToY, 8.0f);

    // Two tanks selected by a band at zoom 4.
    ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToNormal, FALSE));
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    ASSERT_TRUE(view.SetZoom(1, FALSE));
    ASSERT_EQ(view.GetZoom(), 4.0f);
    map.ShowVehiclesOnly();
    CUnit* pTank11 = map.Unit("Tank 11");
    CUnit* pTank12 = map.Unit("Tank 12");
    CUnit* pTank13 = map.Unit("Tank 13");
    const float afStart[3][2] = {{pTank11->m_fX, pTank11->m_fY},
                                 {pTank12->m_fX, pTank12->m_fY},
                                 {pTank13->m_fX, pTank13->m_fY}};
    map.CentreOn(750.0f, 1760.0f);
    map.RedrawMap();
    map.Press(map.ClientOf(720.0f, 1800.0f));
    map.Release(map.ClientOf(780.0f, 1715.0f));
    ASSERT_TRUE(view.m_bSelectUnits);
    ASSERT_EQ(view.m_pSelection->GetSize(), 2);

    // Press on the second tank half a metre off its centre and move.
    const float fPressX = pTank12->m_fX + 0.5f;
    const float fPressY = pTank12->m_fY + 0.5f;
    map.Press(map.ClientOf(fPressX, fPressY));
    ASSERT_TRUE(view.m_bDragUnits);
    float fX = fPressX;
    float fY = fPressY;
    map.MoveHalfMetresAndRelease(fX, fY);
    EXPECT_FALSE(view.m_bDragUnits);
    EXPECT_FLOAT_EQ(pTank11->m_fX, afStart[0][0] + 50.0f);
    EXPECT_FLOAT_EQ(pTank11->m_fY, afStart[0][1] - 50.0f);
    EXPECT_FLOAT_EQ(pTank12->m_fX, afStart[1][0] + 50.0f);
    EXPECT_FLOAT_EQ(pTank12->m_fY, afStart[1][1] - 50.0f);
    EXPECT_EQ(pTank13->m_fX, afStart[2][0]) << "not selected";
    EXPECT_EQ(pTank13->m_fY, afStart[2][1]);
}

// Path editing: a double click on a unit shows its path; pressing the last
// node and dragging adds a node at the release point, twice; pressing the
// first node only redraws; a right click on it takes its stop away; the
// next double click hands the path to the unit, which drives it once the
// clock runs.
TEST(ViewUnitInteraction, NodesDrawnOnTheMapBecomeTheUnitsPathAndItDrivesThem)
{
    CUnitMap map("view-unit-path");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.ShowVehiclesOnly();
    const int nCarrier = map.UnitIndex("Carrier 31");
    CUnit* pCarrier = map.Unit("Carrier 31");
    ASSERT_NE(pCarrier, nullptr);
    const float fStartX = pCarrier->m_fX;
    const float fStartY = pCarrier->m_fY;
    map.CentreOn(fStartX, fStartY);

    map.Command(ID_EDIT_SHOW_PATH);
    ASSERT_TRUE(view.m_bPathEdit);
    map.DoubleClickAt(map.At(pCarrier));
    ASSERT_EQ(view.m_nSelUnit, nCarrier);
    EXPECT_EQ(view.m_nSelKind, kOwnSide);
    ASSERT_NE(view.m_pShownPath, nullptr);
    ASSERT_EQ(view.m_pShownPath->GetSize(), 1);

    const float afNodes[2][2] = {{fStartX - 60.0f, fStartY + 20.0f}, {fStartX - 120.0f, fStartY + 20.0f}};
    float fLastX = fStartX;
    float fLastY = fStartY;
    for (const auto& node : afNodes)
    {
        const int nBefore = view.m_pShownPath->GetSize();
        map.Press(map.ClientOf(fLastX, fLastY));
        EXPECT_TRUE(view.m_bNodeMark2);
        map.MoveTo(map.ClientOf((fLastX + node[0]) / 2.0f, (fLastY + node[1]) / 2.0f));
        map.Release(map.ClientOf(node[0], node[1]));
        EXPECT_FALSE(view.m_bNodeMark2);
        ASSERT_EQ(view.m_pShownPath->GetSize(), nBefore + 1);
        const CNode* pAdded = view.m_pShownPath->GetAt(nBefore);
        EXPECT_NEAR(pAdded->m_fX, node[0], 1.0f);
        EXPECT_NEAR(pAdded->m_fY, node[1], 1.0f);
        fLastX = pAdded->m_fX;
        fLastY = pAdded->m_fY;
    }
    EXPECT_EQ(pCarrier->m_pPath->GetSize(), 1) << "the unit's own path waits for the end of the edit";

    // The first node: nothing starts, nothing moves.
    map.DragFromTo(map.At(pCarrier), map.ClientOf(fStartX + 40.0f, fStartY));
    EXPECT_FALSE(view.m_bNodeMark1);
    EXPECT_FALSE(view.m_bNodeMark2);
    ASSERT_EQ(view.m_pShownPath->GetSize(), 3);
    EXPECT_EQ(view.m_pShownPath->GetAt(0)->m_fX, fStartX);
    EXPECT_EQ(view.m_pShownPath->GetAt(0)->m_fY, fStartY);

    // The deployed unit's stop on the first node goes, so that it drives on.
    ASSERT_TRUE(view.m_pShownPath->GetAt(0)->HasStop());
    map.RightClickAt(map.At(pCarrier));
    EXPECT_FALSE(view.m_pShownPath->GetAt(0)->HasStop());

    // A double click away from the units ends the edit.
    map.DoubleClickAt(map.ClientOf(fStartX + 100.0f, fStartY - 100.0f));
    EXPECT_EQ(view.m_nSelUnit, kUnset);
    EXPECT_EQ(view.m_pShownPath, nullptr);
    ASSERT_EQ(pCarrier->m_pPath->GetSize(), 3);
    EXPECT_FALSE(pCarrier->m_pPath->GetAt(0)->HasStop());
    EXPECT_FLOAT_EQ(pCarrier->m_pPath->GetAt(2)->m_fX, fLastX);
    EXPECT_FLOAT_EQ(pCarrier->m_pPath->GetAt(2)->m_fY, fLastY);

    map.RunClock(CUnitMap::Seconds(60));
    EXPECT_FALSE(map.App().IsClockRunning());
    EXPECT_FALSE(pCarrier->m_bDestroyed);
    EXPECT_LT(Distance(pCarrier->m_fX, pCarrier->m_fY, fLastX, fLastY), 2.0f)
        << pCarrier->m_fX << ", " << pCarrier->m_fY;
}

// On a path of each side: a right click on a node switches its stop, and
// switching it off takes the start time too on the other side's path only;
// in delete mode a node goes, and the first node resets the path to itself.
TEST(ViewUnitInteraction, StopTogglesAndDeleteModeEditTheShownPath)
{
    CUnitMap map("view-unit-nodes");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.ShowVehiclesOnly();
    const struct
    {
        const char* name;
        int nSide;
    } units[] = {{"Carrier 31", kOwnSide}, {"Enemy Carrier 1", kEnemySide}};
    for (const auto& u : units)
    {
        SCOPED_TRACE(u.name);
        const int nUnit = map.UnitIndex(u.name, u.nSide);
        CUnit* pUnit = map.Unit(u.name, u.nSide);
        ASSERT_NE(pUnit, nullptr);
        const float fX = pUnit->m_fX;
        const float fY = pUnit->m_fY;
        map.CentreOn(fX, fY);
        // Path edit of the unit, as its menu's Path Edit starts it.
        map.Command(ID_EDIT_SHOW_PATH);
        view.m_nSelUnit = nUnit;
        view.m_nSelArray = 0;
        view.m_nSelKind = u.nSide;
        view.m_pShownPath = new CNodeArray(*map.Doc().GetUnitPath(nUnit, 0, u.nSide));
        view.m_bPathShown = TRUE;
        CNode* pFirst = view.m_pShownPath->GetAt(0);
        ASSERT_TRUE(pFirst->HasStop());
        if (pFirst->m_pOrders->FindOfType(NORD_START_TIME) == nullptr)
            pFirst->AddOrder(NORD_START_TIME);

        map.RightClickAt(map.ClientOf(fX, fY));
        EXPECT_FALSE(view.m_bRightConsumed);
        EXPECT_FALSE(pFirst->HasStop());
        EXPECT_EQ(pFirst->m_pOrders->FindOfType(NORD_START_TIME) != nullptr, u.nSide == kOwnSide);
        map.RightClickAt(map.ClientOf(fX, fY));
        EXPECT_TRUE(pFirst->HasStop());

        // Two nodes, then delete mode: the middle one goes, then the first
        // node leaves only itself.
        map.DragFromTo(map.ClientOf(fX, fY), map.ClientOf(fX + 60.0f, fY));
        map.DragFromTo(map.ClientOf(fX + 60.0f, fY), map.ClientOf(fX + 60.0f, fY + 60.0f));
        ASSERT_EQ(view.m_pShownPath->GetSize(), 3);
        map.Command(ID_EDIT_DELETE_NODES);
        ASSERT_TRUE(view.m_bDeleteNodes);
        map.ClickAt(map.ClientOf(fX + 60.0f, fY));
        ASSERT_EQ(view.m_pShownPath->GetSize(), 2);
        EXPECT_NEAR(view.m_pShownPath->GetAt(1)->m_fY, fY + 60.0f, 1.0f);
        map.ClickAt(map.ClientOf(fX, fY));
        ASSERT_EQ(view.m_pShownPath->GetSize(), 1);
        pFirst = view.m_pShownPath->GetAt(0);
        EXPECT_EQ(pFirst->m_fX, fX);
        EXPECT_EQ(pFirst->m_fY, fY);
        EXPECT_EQ(pFirst->m_pOrders->FindOfType(NORD_START_TIME) != nullptr, u.nSide != kOwnSide);

        // Escape ends the edit and hands the path to the unit.
        map.Click(Qt::Key_Escape);
        EXPECT_FALSE(view.m_bPathEdit);
        EXPECT_EQ(view.m_pShownPath, nullptr);
        EXPECT_EQ(pUnit->m_pPath->GetSize(), 1);
    }
}

// The pending modes completed by clicks on units: Max Range takes a unit,
// then the point 500 m away as its range; Stop halts a unit on the move;
// during a rubber band Fire Mission is refused.
TEST(ViewUnitInteraction, PendingModesTakeTheClickedUnit)
{
    CUnitMap map("view-unit-modes");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.ShowVehiclesOnly();
    CUnit* pObserver = map.Unit("Observer 19");
    ASSERT_NE(pObserver, nullptr);
    ASSERT_FALSE(pObserver->m_bMaxRange);
    map.CentreOn(pObserver->m_fX + 250.0f, pObserver->m_fY);

    map.Command(ID_SOP_MAX_RANGE);
    map.ClickAt(map.OnPicture(pObserver));
    EXPECT_EQ(view.m_nModeUnit, map.UnitIndex("Observer 19"));
    EXPECT_FALSE(pObserver->m_bMaxRange) << "the first click only chooses the unit";
    map.ClickAt(map.ClientOf(pObserver->m_fX + 500.0f, pObserver->m_fY));
    EXPECT_TRUE(pObserver->m_bMaxRange);
    EXPECT_EQ(pObserver->m_nMaxRange, 50);
    EXPECT_TRUE(map.Doc().IsModified());
    map.Click(Qt::Key_Escape);
    ASSERT_EQ(view.GetInteractionMode(), 0u);

    // Fire Mission is refused while a band is drawn, allowed after it.
    const QPointF empty = map.ClientOf(pObserver->m_fX + 200.0f, pObserver->m_fY + 200.0f);
    map.Press(empty);
    ASSERT_TRUE(view.m_bRubberBand);
    EXPECT_FALSE(view.IsCommandAllowed(ID_ACTIONS_FIRE_MISSION));
    EXPECT_FALSE(map.Update(ID_ACTIONS_FIRE_MISSION).m_bEnabled);
    map.Command(ID_ACTIONS_FIRE_MISSION);
    EXPECT_FALSE(view.m_bFireMissionPlanning);
    map.Release(empty);
    EXPECT_TRUE(view.IsCommandAllowed(ID_ACTIONS_FIRE_MISSION));

    // Stop: a tank on the move (the one of the first platoon farthest
    // along) halts where the click finds it, while the clock runs on.
    CUnit* apTanks[] = {map.Unit("Tank 11"), map.Unit("Tank 12"), map.Unit("Tank 13"), map.Unit("Tank 14")};
    for (CUnit* pTank : apTanks)
        ASSERT_NE(pTank, nullptr);
    const float fStartX = apTanks[0]->m_fX;
    map.CentreOn(fStartX + 100.0f, 1800.0f);
    CUnit* pHalted = nullptr;
    float fHaltX = 0.0f;
    float fHaltY = 0.0f;
    LONG nHaltSeconds = 0;
    auto steps = CUnitMap::Seconds(10);
    steps.push_back(
        [&]
        {
            for (CUnit* pTank : apTanks)
                pHalted = pHalted == nullptr || pTank->m_fX > pHalted->m_fX ? pTank : pHalted;
            map.PaintNow();
            map.Frame().SendCommand(ID_ORDERS_STOP);
            map.ClickAt(map.OnPicture(pHalted));
            fHaltX = pHalted->m_fX;
            fHaltY = pHalted->m_fY;
            nHaltSeconds = map.App().GetGameClock()->m_tsElapsed.GetTotalSeconds();
        });
    const auto after = CUnitMap::Seconds(10);
    steps.insert(steps.end(), after.begin(), after.end());
    map.RunClock(steps);
    ASSERT_NE(pHalted, nullptr);
    EXPECT_GT(fHaltX, fStartX + 20.0f) << "it was on the move";
    EXPECT_TRUE(pHalted->m_bStopped);
    EXPECT_NEAR(pHalted->m_fX, fHaltX, 3.0f);
    EXPECT_NEAR(pHalted->m_fY, fHaltY, 3.0f);
    EXPECT_GE(map.App().GetGameClock()->m_tsElapsed.GetTotalSeconds(), nHaltSeconds + 8);
}

// A group whose units were destroyed recalls nothing and is forgotten; a
// group with a unit left recalls that unit.
TEST(ViewUnitInteraction, AGroupRecallsOnlyTheUnitsThatAreLeft)
{
    CUnitMap map("view-unit-groups");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    map.ShowVehiclesOnly();
    map.CentreOn(700.0f, 1800.0f);
    CUnit* pTank13 = map.Unit("Tank 13");
    CUnit* pTank14 = map.Unit("Tank 14");
    ASSERT_NE(pTank13, nullptr);
    ASSERT_NE(pTank14, nullptr);
    auto storeBand = [&](float fTop, float fBottom, Qt::Key key)
    {
        map.Press(map.ClientOf(700.0f, fTop));
        map.Release(map.ClientOf(800.0f, fBottom));
        ASSERT_NE(view.m_pSelection, nullptr);
        map.Key(Qt::Key_Shift, QEvent::KeyPress, Qt::ShiftModifier);
        map.Click(key, Qt::ShiftModifier);
        map.Key(Qt::Key_Shift, QEvent::KeyRelease);
    };
    storeBand(1910.0f, 1810.0f, Qt::Key_1);  // Tanks 13 and 14
    storeBand(1850.0f, 1810.0f, Qt::Key_2);  // Tank 13
    map.Click(Qt::Key_Escape);

    pTank13->Destroy(map.UnitIndex("Tank 13"), 0, map.Doc().GetUnits(), map.Doc().GetDatabase());
    map.Click(Qt::Key_2);
    EXPECT_EQ(view.m_pSelection, nullptr);
    EXPECT_FALSE(view.m_bSelectUnits);
    CTaskOrgArray* pRecalled = nullptr;
    EXPECT_EQ(map.Doc().RecallTaskOrgGroup(2, pRecalled), 0) << "the empty group is gone";
    delete pRecalled;

    map.Click(Qt::Key_1);
    ASSERT_NE(view.m_pSelection, nullptr);
    EXPECT_EQ(view.m_pSelection->GetSize(), 1);
    EXPECT_NE(view.m_pSelection->FindTaskOrg(map.UnitIndex("Tank 14"), 0), kUnset);
}
