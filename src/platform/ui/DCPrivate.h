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

// The painter's pattern for a hatch index (HS_HORIZONTAL to HS_DIAGCROSS),
// and its pixels as the painter lays it out from the device's origin: bit
// x of row y set where the pattern covers device pixel (x, y), both taken
// modulo 8. No rows (null) for a pattern that does not repeat every 8
// pixels.
Qt::BrushStyle HatchStyle(int hatch);
const unsigned char* HatchRows(int hatch);

// The on/off runs of a one-pixel styled pen, in pixels (empty: solid).
std::vector<int> DashesOf(int style);

// The kind of a region: NULLREGION, SIMPLEREGION or COMPLEXREGION.
int KindOf(const QRegion& region);
