#pragma once
// The picture the map view shows while no mission is open: the game's
// title over a stylised map sheet, 800 x 600 pixels, the program's bitmap
// resource IDB_START_PICTURE. The program draws it itself the first time
// it is asked for, so no file has to lie beside the program for it, and it
// is the same on every run (it draws with no random numbers, so the
// game's seeded sequence is left alone).

#include "platform/core/Types.h"
#include "platform/core/Geometry.h"

class CDC;

constexpr UINT IDB_START_PICTURE = 146;
constexpr int START_PICTURE_WIDTH = 800;
constexpr int START_PICTURE_HEIGHT = 600;

// Draws the picture with its top-left corner at (0, 0) of the DC.
void DrawStartPicture(CDC* pDC);
// Where the picture goes in a window's client rectangle: as large as fits,
// its proportions kept, centred; empty for an empty rectangle.
CRect FitStartPicture(const CRect& client);
// Makes the resource on the first call; FALSE when it cannot be made.
BOOL RegisterStartPicture();
