// Presenting on a real window: the display's primary surface is the
// window's client image.
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{

// A window whose paint draws the map the way the map view does: on the back
// surface, then presented.
class PaintingWindow : public CWnd
{
public:
    CDisplay* display = nullptr;
    int paints = 0;
    void OnPaint() override
    {
        ++paints;
        display->GetBackSurface()->GetImage().fill(qRgb(0, 128, 0));
        display->Present();
    }
};

TEST(DisplayWindow, PresentStretchesTheBackSurfaceOverTheWindow)
{
    PaintingWindow window;
    ASSERT_TRUE(window.CreateEx(0, "Map", WS_OVERLAPPEDWINDOW, CRect(0, 0, 80, 60), nullptr, 0));
    window.GetWidget()->resize(80, 60);
    CDisplay display;
    window.display = &display;
    ASSERT_TRUE(display.Init(&window, 40, 30));

    QImage& back = display.GetBackSurface()->GetImage();
    back.fill(qRgb(10, 20, 30));
    back.setPixel(5, 7, qRgb(250, 0, 0));
    display.Present();
    const QImage* shown = window.GetBackImage();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->size(), QSize(80, 60));
    EXPECT_EQ(shown->pixel(10, 14), qRgb(250, 0, 0));
    EXPECT_EQ(shown->pixel(11, 15), qRgb(250, 0, 0));
    EXPECT_EQ(shown->pixel(12, 14), qRgb(10, 20, 30));
    EXPECT_EQ(shown->pixel(79, 59), qRgb(10, 20, 30));

    // Presenting from the window's own paint shows the frame and asks for
    // no further paint.
    window.ShowWindow(SW_SHOW);
    QCoreApplication::processEvents();
    window.Invalidate(FALSE);
    window.UpdateWindow();
    QCoreApplication::processEvents();
    const int paints = window.paints;
    EXPECT_GE(paints, 1);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(window.paints, paints);
    EXPECT_EQ(window.GetBackImage()->pixel(40, 30), qRgb(0, 128, 0));
    const QImage onScreen = window.GetWidget()->grab().toImage();
    EXPECT_EQ(onScreen.pixel(40, 30) & 0xFFFFFF, 0x008000u);
    window.DestroyWindow();
}

// At the window's own size the frame goes on by a flip: each frame presented
// is shown exactly, the plain form's copy and the flip alike.
TEST(DisplayWindow, PresentAtTheWindowsSizeShowsEachFrameExactly)
{
    PaintingWindow window;
    ASSERT_TRUE(window.CreateEx(0, "Map", WS_OVERLAPPEDWINDOW, CRect(0, 0, 40, 30), nullptr, 0));
    window.GetWidget()->resize(40, 30);
    CDisplay display;
    window.display = &display;
    ASSERT_TRUE(display.Init(&window, 40, 30));
    ASSERT_EQ(window.GetBackImage()->size(), QSize(40, 30));

    for (const BOOL bPlain : {FALSE, TRUE})
        for (int frame = 0; frame < 3; ++frame)
        {
            SetPlainDrawing(bPlain);
            QImage& back = display.GetBackSurface()->GetImage();
            for (int y = 0; y < back.height(); ++y)
                for (int x = 0; x < back.width(); ++x)
                    back.setPixel(x, y, qRgb(x * 6, y * 8, 40 * frame + (bPlain ? 1 : 0)));
            const QImage drawn = back.copy();
            display.Present();
            SetPlainDrawing(FALSE);
            EXPECT_EQ(*window.GetBackImage(), drawn) << "frame " << frame << (bPlain ? ", plain" : "");
            EXPECT_EQ(display.GetBackSurface()->GetImage().size(), QSize(40, 30));
        }
    window.DestroyWindow();
}

}  // namespace
