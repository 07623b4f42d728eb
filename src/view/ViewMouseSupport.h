#pragma once
// What the map view's mouse handlers share across their files.

#include "view/KDRView.h"

namespace view_mouse
{
// The own side, searched first by the hit tests of symbols.
constexpr int kOwnSide = 0;
// The side of the look-ups of obstacles and dug positions that search all.
constexpr int kAnySide = -1;

// The modes whose click needs a point or a chosen unit first: they never
// give their bit to the clicked unit at once.
inline BOOL IsPointMode(DWORD dwMode)
{
    return dwMode == 0 || dwMode == CKDRView::kModeMaxRange || dwMode == CKDRView::kModeFieldOfFire ||
           dwMode == CKDRView::kModeMarchSpeed || dwMode == CKDRView::kModeSuppress;
}
}  // namespace view_mouse
