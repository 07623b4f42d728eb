#pragma once
// The area tests that count or gather units by position: a unit's position
// is taken rounded half up to whole metres, and an objective area is the
// ellipse inscribed in a rectangle of map metres, its rim inside. One test
// for every caller, so a unit that one count finds in an area every other
// finds there too.

namespace unit_area
{
// Map metres rounded half up to whole metres.
inline int WholeMetres(float value) { return static_cast<int>(value + 0.5f); }

// Whether the point lies in the ellipse inscribed in the rectangle (corners
// in any order). A rectangle without width or height holds no point.
inline bool InEllipse(int x, int y, int nLeft, int nTop, int nRight, int nBottom)
{
    if (nLeft == nRight || nTop == nBottom)
        return false;
    const double left = nLeft < nRight ? nLeft : nRight;
    const double right = nLeft < nRight ? nRight : nLeft;
    const double top = nTop < nBottom ? nTop : nBottom;
    const double bottom = nTop < nBottom ? nBottom : nTop;
    const double dx = (x - (left + right) / 2.0) / ((right - left) / 2.0);
    const double dy = (y - (top + bottom) / 2.0) / ((bottom - top) / 2.0);
    return dx * dx + dy * dy <= 1.0;
}
}  // namespace unit_area
