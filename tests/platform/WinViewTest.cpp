// Views: painting through OnDraw and client DCs, scroll sizes and
// positions, mouse and keys reaching the view's handlers.
#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/View.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWidget>

namespace
{
class MapView : public CScrollView
{
public:
    int draws = 0;
    std::vector<CPoint> clicks;
    std::vector<UINT> keys;
    std::vector<UINT> chars;
    void OnInitialUpdate() override
    {
        SetScrollSizes(MM_TEXT, CSize(2500, 2500), CSize(625, 312), CSize(25, 25));
        CScrollView::OnInitialUpdate();
    }
    void OnDraw(CDC* pDC) override
    {
        ++draws;
        pDC->FillSolidRect(0, 0, 200, 200, RGB(255, 0, 0));  // map picture pixels (0,0)-(200,200)
    }
    BOOL OnEraseBkgnd(CDC* pDC) override
    {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, RGB(0, 0, 0));
        return TRUE;
    }
    void OnLButtonDown(UINT, CPoint point) override { clicks.push_back(point); }
    void OnKeyDown(UINT vk, UINT, UINT) override { keys.push_back(vk); }
    void OnChar(UINT ch, UINT, UINT) override { chars.push_back(ch); }
};

struct Fixture
{
    Fixture()
    {
        CCreateContext context;
        context.m_newView = [] { return new MapView; };
        EXPECT_TRUE(frame.LoadFrame(300, WS_OVERLAPPEDWINDOW, nullptr, &context));
        frame.GetWidget()->resize(500, 400);
        frame.ShowWindow(SW_SHOW);
        view = static_cast<MapView*>(frame.GetActiveView());
        view->OnInitialUpdate();
        QCoreApplication::processEvents();
    }
    ~Fixture() { CWnd::FlushDeferredDeletes(); }
    CWinApp app{"Kedravin"};
    CFrameWnd frame;
    MapView* view = nullptr;
};
}  // namespace

TEST(WinViewTest, ScrollSizesAndPositions)
{
    Fixture f;
    MapView& v = *f.view;
    int mode = 0;
    CSize total;
    CSize page;
    CSize line;
    v.GetDeviceScrollSizes(mode, total, page, line);
    EXPECT_EQ(mode, MM_TEXT);
    EXPECT_EQ(total, CSize(2500, 2500));
    EXPECT_EQ(page, CSize(625, 312));
    EXPECT_EQ(line, CSize(25, 25));

    v.ScrollToPosition(CPoint(100, 50));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(100, 50));
    EXPECT_EQ(v.GetScrollBarWidget(SB_HORZ)->value(), 100);
    v.OnVScroll(SB_LINEDOWN, 0, nullptr);
    EXPECT_EQ(v.GetScrollPosition(), CPoint(100, 75));
    v.OnHScroll(SB_PAGEUP, 0, nullptr);
    EXPECT_EQ(v.GetScrollPosition(), CPoint(0, 75));  // not below 0
    v.OnVScroll(SB_THUMBTRACK, 400, nullptr);
    EXPECT_EQ(v.GetScrollPos(SB_VERT), 400);
    CRect client;
    v.GetClientRect(&client);
    v.ScrollToPosition(CPoint(99999, 99999));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(2500 - client.Width(), 2500 - client.Height()));
    EXPECT_EQ(v.GetScrollLimit(SB_HORZ), 2500 - client.Width());
    int lo = -1;
    int hi = -1;
    v.GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 2500);

    // A user's click on the bar arrives at the handler with its code.
    v.ScrollToPosition(CPoint(0, 0));
    v.GetScrollBarWidget(SB_VERT)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(v.GetScrollPosition(), CPoint(0, 25));

    // Everything fits: no bars unless asked to show them.
    v.SetScrollSizes(MM_TEXT, CSize(10, 10));
    EXPECT_EQ(v.GetScrollPosition(), CPoint(0, 0));
    EXPECT_FALSE(v.GetScrollBarWidget(SB_HORZ)->isVisible());
    v.ShowScrollBar(SB_BOTH, TRUE);
    EXPECT_TRUE(v.GetScrollBarWidget(SB_HORZ)->isVisible());
    EXPECT_TRUE(v.GetScrollBarWidget(SB_VERT)->isVisible());
}

TEST(WinViewTest, PaintDrawsAtTheScrollPositionAndClientDCsShowWithoutRedraw)
{
    Fixture f;
    MapView& v = *f.view;
    v.ScrollToPosition(CPoint(150, 150));
    v.Invalidate();
    v.Invalidate();
    v.Invalidate();
    const int before = v.draws;
    QCoreApplication::processEvents();
    EXPECT_EQ(v.draws, before + 1);  // many requests, one paint
    QImage* image = v.GetBackImage();
    ASSERT_NE(image, nullptr);
    // The red square (0,0)-(200,200) scrolled by 150: client (0,0)-(50,50).
    EXPECT_EQ(QColor(image->pixel(10, 10)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image->pixel(49, 49)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image->pixel(60, 60)), QColor(0, 0, 0));  // erased black

    {
        CClientDC dc(&v);
        dc.FillSolidRect(100, 100, 5, 5, RGB(0, 0, 255));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(v.draws, before + 1);  // shown as drawn, not painted again
    EXPECT_EQ(QColor(image->pixel(102, 102)), QColor(0, 0, 255));
    const QImage shown = v.GetWidget()->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(102, 102)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(shown.pixel(10, 10)), QColor(255, 0, 0));
}

TEST(WinViewTest, AClientDrawAfterAnInvalidateDoesNotSwallowThePaint)
{
    Fixture f;
    MapView& v = *f.view;
    QCoreApplication::processEvents();
    const int before = v.draws;
    // The window is asked to repaint, and before the paint comes a client
    // DC draws on it: the paint must still come, with the client drawing
    // shown until then.
    v.Invalidate();
    {
        CClientDC dc(&v);
        dc.FillSolidRect(300, 200, 5, 5, RGB(0, 0, 255));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(v.draws, before + 1);
    // The paint erased the window: the client drawing is gone.
    EXPECT_EQ(QColor(v.GetBackImage()->pixel(302, 202)), QColor(0, 0, 0));

    // The other order too, and a present between two asks.
    {
        CClientDC dc(&v);
        dc.FillSolidRect(300, 200, 5, 5, RGB(0, 0, 255));
    }
    v.Invalidate(FALSE);
    {
        CClientDC dc(&v);
        dc.FillSolidRect(310, 200, 5, 5, RGB(0, 0, 255));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(v.draws, before + 2);

    // A present alone still shows without painting.
    {
        CClientDC dc(&v);
        dc.FillSolidRect(320, 200, 5, 5, RGB(0, 0, 255));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(v.draws, before + 2);
}

TEST(WinViewTest, MouseAndKeysReachTheView)
{
    Fixture f;
    MapView& v = *f.view;
    QWidget* w = v.GetWidget();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(30, 40), QPointF(w->mapToGlobal(QPoint(30, 40))),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    ASSERT_EQ(v.clicks.size(), 1u);
    EXPECT_EQ(v.clicks[0], CPoint(30, 40));

    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &left);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(w, &a);
    EXPECT_EQ(v.keys, std::vector<UINT>({VK_LEFT, 'A'}));
    EXPECT_EQ(v.chars, std::vector<UINT>({'a'}));
    EXPECT_EQ(GetAsyncKeyState('A') & 0x8000, 0x8000);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(w, &up);
    EXPECT_EQ(GetAsyncKeyState('A'), 0);

    // Client and screen coordinates agree.
    CPoint p(10, 20);
    v.ClientToScreen(&p);
    v.ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(10, 20));
}
