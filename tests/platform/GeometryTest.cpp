#include "platform/core/Geometry.h"

#include <gtest/gtest.h>

TEST(Geometry, RectsIncludeTopLeftAndExcludeBottomRight)
{
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 60)));

    CRect i;
    EXPECT_TRUE(i.IntersectRect(r, CRect(25, 0, 100, 30)));
    EXPECT_EQ(i, CRect(25, 20, 30, 30));
    EXPECT_FALSE(i.IntersectRect(r, CRect(30, 0, 40, 10)));
    EXPECT_TRUE(i.IsRectNull());
    CRect u;
    EXPECT_TRUE(u.UnionRect(r, CRect(0, 0, 5, 5)));
    EXPECT_EQ(u, CRect(0, 0, 30, 60));

    CRect n(5, 5, 1, 1);
    n.NormalizeRect();
    EXPECT_EQ(n, CRect(1, 1, 5, 5));
    n.InflateRect(1, 2);
    EXPECT_EQ(n, CRect(0, -1, 6, 7));
    n.OffsetRect(CPoint(1, 1));
    EXPECT_EQ(n.TopLeft(), CPoint(1, 0));
    EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
}

TEST(Geometry, ColourRefHasRedInTheLowByte)
{
    COLORREF magenta = RGB(255, 0, 255);
    EXPECT_EQ(magenta, 0xFF00FFu);
    COLORREF c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
}
