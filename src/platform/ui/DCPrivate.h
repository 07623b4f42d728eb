#pragma once
// Internals shared by the drawing objects and the DC.

#include "platform/core/Types.h"

#include <QRegion>

#include <vector>

struct StockBrush
{
    int style;
    COLORREF color;
};

// The style and colour of a stock brush (BS_NULL for the null brush).
StockBrush StockBrushOf(int index);

// The on/off runs of a one-pixel styled pen, in pixels (empty: solid).
std::vector<int> DashesOf(int style);

// The kind of a region: NULLREGION, SIMPLEREGION or COMPLEXREGION.
int KindOf(const QRegion& region);
