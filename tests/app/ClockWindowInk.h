#pragma once
// Reads the Clock window as it is painted: the dark pixels of its light
// text, the value column of the third line (where the light condition
// stands beside the compression). The window must be open.
#include "app/ClockDlg.h"

#include <QCoreApplication>
#include <QImage>

inline int LightTextInk(CClockDlg& dlg)
{
    // The window's layout: an 8-pixel margin, 20-pixel lines, the values
    // from x 110; a little slack either side.
    constexpr int kThirdLineTop = 8 + 2 * 20 - 2;
    constexpr int kValueLeft = 110 - 2;
    dlg.Invalidate(FALSE);
    QCoreApplication::processEvents();
    const QImage* image = dlg.GetBackImage();
    if (image == nullptr)
        return -1;
    int ink = 0;
    for (int y = kThirdLineTop; y < image->height(); ++y)
        for (int x = kValueLeft; x < image->width(); ++x)
        {
            const QRgb pixel = image->pixel(x, y);
            if (qRed(pixel) < 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128)
                ++ink;
        }
    return ink;
}
