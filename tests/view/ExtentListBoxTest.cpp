// The list box whose horizontal extent follows its widest item.
#include "platform/ui/ExtentListBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/QtBridge.h"

#include <QFontMetrics>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{

class ExtentListBoxTest : public ::testing::Test
{
protected:
    void Make(DWORD style)
    {
        ASSERT_TRUE(m_parent.CreateEx(0, "Owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_box.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(10, 10, 110, 110), &m_parent, 1026));
    }

    void TearDown() override
    {
        m_box.DestroyWindow();
        m_parent.DestroyWindow();
    }

    int Width(const char* text) const
    {
        return QFontMetrics(m_box.GetWidget()->font()).horizontalAdvance(ToQString(text));
    }

    // The average character width that dialog units are counted in: half of
    // the width of the 52 letters / 26, rounded up.
    int AverageChar() const
    {
        const int a = Width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26;
        return (a + 1) / 2;
    }

    int DialogUnits(int d) const { return (d * AverageChar() + 2) / 4; }

    CWnd m_parent;
    CExtentListBox m_box;
};

TEST_F(ExtentListBoxTest, ExtentFollowsTheWidestItem)
{
    Make(LBS_NOTIFY);
    const char* shortText = "ab";
    const char* wide = "a much wider item than the box itself shows";
    const char* middle = "a middle one";

    m_box.AddString(shortText);
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width(shortText) + 6);
    m_box.AddString(wide);
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width(wide) + 6);
    m_box.InsertString(0, middle);
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width(wide) + 6);
    EXPECT_EQ(m_box.GetItemExtentCount(), 3);

    // Deleting a narrower item leaves the extent; deleting the widest
    // shrinks it to the next widest.
    EXPECT_EQ(m_box.DeleteString(1), 2);  // "ab"
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width(wide) + 6);
    EXPECT_EQ(m_box.DeleteString(1), 1);  // the wide one
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width(middle) + 6);
    EXPECT_EQ(m_box.DeleteString(5), LB_ERR);
    EXPECT_EQ(m_box.DeleteString(0), 0);
    EXPECT_EQ(m_box.GetHorizontalExtent(), 0);
    EXPECT_EQ(m_box.GetItemExtentCount(), 0);
}

TEST_F(ExtentListBoxTest, WidthsFollowTheItemsOfASortedBox)
{
    Make(LBS_NOTIFY | LBS_SORT);
    const char* wide = "zz a wide item sorted last";
    m_box.AddString(wide);
    EXPECT_EQ(m_box.AddString("aa"), 0);
    EXPECT_EQ(m_box.AddString("mm"), 1);
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width(wide) + 6);
    EXPECT_EQ(m_box.DeleteString(2), 2);
    EXPECT_EQ(m_box.GetHorizontalExtent(), std::max(Width("aa"), Width("mm")) + 6);
}

TEST_F(ExtentListBoxTest, FirstItemSetsTheDefaultTabStop)
{
    Make(LBS_NOTIFY | LBS_USETABSTOPS);
    EXPECT_TRUE(m_box.GetTabStopPixels().empty());
    m_box.AddString("one");
    ASSERT_EQ(m_box.GetTabStopPixels().size(), 1u);
    EXPECT_EQ(m_box.GetTabStopPixels()[0], DialogUnits(2));
    EXPECT_EQ(m_box.GetItemExtentCount(), 1) << "the item is measured once";
}

TEST_F(ExtentListBoxTest, TabsExpandToTheKeptStops)
{
    Make(LBS_NOTIFY | LBS_USETABSTOPS);
    const int stops[] = {60, 120};
    ASSERT_TRUE(m_box.SetTabStops(2, stops));
    ASSERT_EQ(m_box.GetTabStopPixels().size(), 2u);
    EXPECT_EQ(m_box.GetTabStopPixels()[1], DialogUnits(120));

    m_box.AddString("a\tb");
    EXPECT_EQ(m_box.GetHorizontalExtent(), DialogUnits(60) + Width("b") + 6);
    m_box.AddString("a\tb\tlast");
    EXPECT_EQ(m_box.GetHorizontalExtent(), DialogUnits(120) + Width("last") + 6);

    // New stops measure every item again; one stop repeats.
    const int every = 16;
    ASSERT_TRUE(m_box.SetTabStops(1, &every));
    EXPECT_EQ(m_box.GetHorizontalExtent(), 2 * DialogUnits(16) + Width("last") + 6);
    EXPECT_EQ(m_box.GetItemExtentCount(), 2);
}

TEST_F(ExtentListBoxTest, WithoutTheTabStyleTabsAreNotExpanded)
{
    Make(LBS_NOTIFY);
    const int stops[] = {200};
    m_box.SetTabStops(1, stops);
    m_box.AddString("a\tb");
    EXPECT_LT(m_box.GetHorizontalExtent(), DialogUnits(200));
}

TEST_F(ExtentListBoxTest, SuspendedChangesAreMeasuredLater)
{
    Make(LBS_NOTIFY);
    m_box.SetSuspended(TRUE);
    m_box.AddString("a fairly wide item");
    m_box.AddString("x");
    EXPECT_EQ(m_box.GetItemExtentCount(), 0);
    EXPECT_EQ(m_box.GetHorizontalExtent(), 0);
    m_box.SetSuspended(FALSE);
    m_box.RecalcExtents();
    EXPECT_EQ(m_box.GetItemExtentCount(), 2);
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width("a fairly wide item") + 6);

    m_box.ResetContent();
    EXPECT_EQ(m_box.GetHorizontalExtent(), 0);
    EXPECT_EQ(m_box.GetItemExtentCount(), 0);
    m_box.AddString("x");
    EXPECT_EQ(m_box.GetHorizontalExtent(), Width("x") + 6);
}

}  // namespace
