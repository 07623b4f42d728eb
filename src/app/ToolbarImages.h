#pragma once
// The main toolbar's button images, drawn by the program itself: each
// command gets a small coloured plate with a short mark, its colour telling
// the command's family (files, the map's display, paths, actions, orders,
// standing orders, the clock, help). RegisterToolbarImages makes the strip
// of one toolbar's buttons in their order (separators take no image) and
// registers it as the bitmap resource; it answers FALSE when the strip
// cannot be made.

#include "platform/core/Types.h"

// One button image's size on the strip.
constexpr int TOOLBAR_IMAGE_WIDTH = 16;
constexpr int TOOLBAR_IMAGE_HEIGHT = 15;

BOOL RegisterToolbarImages(UINT nBitmap, const UINT* pIds, int nCount);
