// What a player sees of an order and of the toolbar on the demo mission:
// the pending mode named in the status bar until Escape ends it, the
// order's icon on the unit that holds it, the menu item ticked for a
// selection that holds it, and each toolbar button's tooltip and prompt.
#include "ViewDemoMap.h"

#include "app/MainFrame.h"
#include "hierarchy/TaskOrg.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"
#include "view/ViewProperties.h"

#include <QToolBar>

namespace
{
// The colour the demo's "... Purple" pieces are drawn in.
const QRgb kPurple = qRgb(140, 40, 170);
constexpr int kPictureLevel = 3;  // zoom 2.0, the unit pictures

class CFeedbackMap : public CDemoMap
{
public:
    using CDemoMap::CDemoMap;

    void ShowVehiclesAt(float fX, float fY)
    {
        CKDRView& view = View();
        ASSERT_TRUE(view.SetZoom(CKDRGameMap::kZoomToMinimum, FALSE) || view.GetZoom() == 0.25f);
        for (int i = 0; i < kPictureLevel; ++i)
            ASSERT_TRUE(view.SetZoom(1, FALSE));
        if (!view.m_bShowVehicles)
            Command(ID_VIEW_ECHELON_VEHICLES);
        if (view.m_bShowPlatoons)
            Command(ID_VIEW_ECHELON_PLATOONS);
        if (view.m_bShowCompanies)
            Command(ID_VIEW_ECHELON_COMPANIES);
        CentreOn(fX, fY);
    }
    QImage Paint()
    {
        View().RedrawMap(FALSE);
        Widget()->repaint();
        const QImage* image = View().GetBackImage();
        return image != nullptr ? image->copy() : QImage();
    }
    // Pixels of a colour within a square round a client point.
    static int CountAround(const QImage& image, QPointF centre, int radius, QRgb colour)
    {
        int n = 0;
        for (int y = static_cast<int>(centre.y()) - radius; y <= static_cast<int>(centre.y()) + radius; ++y)
            for (int x = static_cast<int>(centre.x()) - radius; x <= static_cast<int>(centre.x()) + radius; ++x)
                if (image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                    ++n;
        return n;
    }
    // A client pixel on the unit's drawn picture, nearest its centre.
    QPointF OnPicture(CUnit* pUnit)
    {
        const QPointF centre = ClientOf(pUnit->m_fX, pUnit->m_fY);
        const int x = static_cast<int>(centre.x());
        const int y = static_cast<int>(centre.y());
        for (int r = 0; r < 20; ++r)
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx)
                    if ((std::abs(dx) == r || std::abs(dy) == r) && pUnit->HitTest(x + dx, y + dy))
                        return QPointF(x + dx, y + dy);
        return centre;
    }
    // Whether an own unit's picture covers the client pixel.
    bool AnyOwnUnitAt(QPointF pt)
    {
        CKDRUnits* pUnits = Doc().GetUnits();
        const int x = static_cast<int>(pt.x());
        const int y = static_cast<int>(pt.y());
        for (int i = 0; pUnits != nullptr; ++i)
        {
            CUnit* pUnit = pUnits->GetUnit(i, 0, 0);
            if (pUnit == nullptr)
                return false;
            if (pUnit->HitTest(x, y))
                return true;
        }
        return false;
    }
    CString StatusText() { return Frame().GetStatusBar()->GetPaneText(0); }
    CUnit* OwnUnit(const char* name)
    {
        CKDRUnits* pUnits = Doc().GetUnits();
        for (int i = 0; pUnits != nullptr; ++i)
        {
            CUnit* pUnit = pUnits->GetUnit(i, 0, 0);
            if (pUnit == nullptr || pUnit->m_strName == name)
                return pUnit;
        }
        return nullptr;
    }
};
}  // namespace

TEST(ViewOrderFeedback, SprintPendingNamedIconDrawnAndTheMenuTickedForTheSelection)
{
    CFeedbackMap map("view-order-feedback");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    CUnit* pTank = map.OwnUnit("Tank 12");
    ASSERT_NE(pTank, nullptr);
    map.ShowVehiclesAt(pTank->m_fX, pTank->m_fY);
    ASSERT_FALSE(pTank->m_bSprint);

    // The mode is named in the status bar, also while the cursor moves.
    map.Command(ID_ORDERS_SPRINT);
    EXPECT_EQ(view.GetInteractionMode(), static_cast<DWORD>(CKDRView::kModeSprint));
    EXPECT_GE(map.StatusText().Find("Sprint pending"), 0) << map.StatusText().GetString();
    EXPECT_EQ(map.Update(ID_ORDERS_SPRINT).m_nCheck, 1);
    const QImage before = map.Paint();
    const QPointF at = map.ClientOf(pTank->m_fX, pTank->m_fY);
    EXPECT_EQ(CFeedbackMap::CountAround(before, at, 24, kPurple), 0) << "no icon before the order";

    // A click on the tank gives it the order: its Sprint icon is drawn.
    const QPointF onTank = map.OnPicture(pTank);
    map.Press(onTank);
    map.Release(onTank);
    EXPECT_TRUE(pTank->m_bSprint);
    EXPECT_EQ(view.GetInteractionMode(), static_cast<DWORD>(CKDRView::kModeSprint)) << "the mode stays for more";
    const QImage after = map.Paint();
    EXPECT_GT(CFeedbackMap::CountAround(after, at, 24, kPurple), 0) << "the Sprint icon is drawn";
    map.MoveTo(at + QPointF(40, 40));
    EXPECT_GE(map.StatusText().Find("Sprint pending"), 0) << map.StatusText().GetString();

    // Escape ends the mode and its name.
    map.Click(Qt::Key_Escape);
    EXPECT_EQ(view.GetInteractionMode(), 0u);
    EXPECT_LT(map.StatusText().Find("pending"), 0) << map.StatusText().GetString();
    EXPECT_EQ(map.Update(ID_ORDERS_SPRINT).m_nCheck, 0) << "nothing selected, no mode";
    EXPECT_EQ(CFeedbackMap::CountAround(map.Paint(), at, 24, kPurple), 0) << "the icon goes with the mode";

    // A band round the tank alone selects it: Sprint is ticked, Hold Fire
    // (which it does not hold) is not. The band starts just off the tank's
    // picture (a press on it would take the tank).
    double d = 6.0;
    while (d < 60.0 && map.AnyOwnUnitAt(at + QPointF(-d, -d)))
        d += 1.0;
    map.Press(at + QPointF(-d, -d));
    map.MoveTo(at);
    map.Release(at + QPointF(d, d));
    ASSERT_TRUE(view.m_bSelectUnits);
    ASSERT_NE(view.m_pSelection, nullptr);
    ASSERT_EQ(view.m_pSelection->GetSize(), 1);
    EXPECT_EQ(map.Update(ID_ORDERS_SPRINT).m_nCheck, 1);
    EXPECT_EQ(map.Update(ID_ORDERS_HOLD_FIRE).m_nCheck, 0);
}

TEST(ViewOrderFeedback, EveryToolbarButtonHasATooltipAndItsPromptWhileHovered)
{
    CFeedbackMap map("view-toolbar-tips");
    START_DEMO(map, true);
    CToolBar* pBar = map.Frame().GetToolBar();
    ASSERT_NE(pBar, nullptr);

    // Hovering Zoom In shows its prompt in the message pane; leaving the
    // bar brings back the idle message.
    ASSERT_TRUE(pBar->HoverButton(ID_VIEW_ZOOM_IN));
    EXPECT_EQ(map.StatusText(), "Show the map at twice the scale");
    EXPECT_EQ(pBar->GetButtonShownTooltip(ID_VIEW_ZOOM_IN), "Zoom In");
    pBar->LeaveBar();
    EXPECT_EQ(map.StatusText(), "Ready");

    // Every button of every mode's toolbar says something.
    for (int nMode : {CKDRView::kToolbarNormal, CKDRView::kToolbarPathEdit, CKDRView::kToolbarFireMission,
                      CKDRView::kToolbarOrders})
    {
        ASSERT_TRUE(map.Frame().SetToolbarForMode(nMode));
        for (int i = 0; i < pBar->GetCount(); ++i)
        {
            const UINT nId = pBar->GetItemID(i);
            if (nId == ID_SEPARATOR)
                continue;
            EXPECT_FALSE(pBar->GetButtonShownTooltip(nId).IsEmpty()) << "mode " << nMode << " button " << nId;
            ASSERT_TRUE(pBar->HoverButton(nId));
            const CString prompt = map.StatusText();
            EXPECT_FALSE(prompt.IsEmpty()) << "mode " << nMode << " button " << nId;
            EXPECT_NE(prompt, "Ready") << "mode " << nMode << " button " << nId;
            pBar->LeaveBar();
        }
    }
}
