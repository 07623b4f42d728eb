#include "platform/ui/ExtentListBox.h"

#include "platform/ui/QtBridge.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace
{

// Room for the item's margins beside its text.
constexpr int kItemMargin = 6;
// The stop a list box with tab stops starts with, in dialog units.
constexpr int kDefaultTabStop = 2;
// Beyond the last of several stops, tabs fall every eight average characters.
constexpr int kDefaultTabChars = 8;
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

}  // namespace

CExtentListBox::~CExtentListBox() = default;

int CExtentListBox::AverageCharWidth() const
{
    const QWidget* widget = GetWidget();
    const QFontMetrics metrics(widget ? widget->font() : QApplication::font());
    const int a = metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)) / 26;
    return (a + 1) / 2;
}

int CExtentListBox::MeasureText(const CString& text) const
{
    const QWidget* widget = GetWidget();
    const QFontMetrics metrics(widget ? widget->font() : QApplication::font());
    if (!(GetStyle() & LBS_USETABSTOPS))
        return metrics.horizontalAdvance(ToQString(text));

    // Tabs move to the next kept stop; a single stop is the distance
    // between all stops.
    const int fallback = std::max(1, kDefaultTabChars * AverageCharWidth());
    int x = 0;
    int start = 0;
    for (;;)
    {
        const int tab = text.Find('\t', start);
        const CString part = tab < 0 ? text.Mid(start) : text.Mid(start, tab - start);
        x += metrics.horizontalAdvance(ToQString(part));
        if (tab < 0)
            break;
        int next = -1;
        if (m_tabStops.size() == 1)
        {
            const int every = m_tabStops[0] > 0 ? m_tabStops[0] : fallback;
            next = (x / every + 1) * every;
        }
        else
        {
            for (int stop : m_tabStops)
                if (stop > x)
                {
                    next = stop;
                    break;
                }
            if (next < 0)
                next = (x / fallback + 1) * fallback;
        }
        x = next;
        start = tab + 1;
    }
    return x;
}

void CExtentListBox::MeasureItem(int index, const CString& text)
{
    const int width = MeasureText(text) + kItemMargin;
    m_widths.InsertAt(std::clamp(index, 0, m_widths.GetSize()), new CItemExtent(width));
    if (width > m_nWidest)
        m_nWidest = width;
}

void CExtentListBox::KeepTabStops(int count, const int* stops)
{
    m_tabStops.clear();
    if (count <= 0 || !stops)
        return;
    const int w = AverageCharWidth();
    for (int i = 0; i < count; ++i)
        m_tabStops.push_back((stops[i] * w + 2) / 4);
}

void CExtentListBox::EnsureTabStops()
{
    if (!m_tabStops.empty())
        return;
    const int stop = kDefaultTabStop;
    if (CListBox::SetTabStops(1, &stop))
        KeepTabStops(1, &stop);
}

int CExtentListBox::AddString(const char* text)
{
    const int index = CListBox::AddString(text);
    if (index >= 0 && !m_bSuspended)
    {
        EnsureTabStops();
        MeasureItem(index, text);
        SetHorizontalExtent(m_nWidest);
    }
    return index;
}

int CExtentListBox::InsertString(int index, const char* text)
{
    const int at = CListBox::InsertString(index, text);
    if (at >= 0 && !m_bSuspended)
    {
        EnsureTabStops();
        MeasureItem(at, text);
        SetHorizontalExtent(m_nWidest);
    }
    return at;
}

int CExtentListBox::DeleteString(int index)
{
    const int left = CListBox::DeleteString(index);
    if (left == LB_ERR || m_bSuspended)
        return left;
    CItemExtent* record = m_widths.GetAt(index);
    if (!record)
        return left;
    const int width = record->m_width;
    m_widths.RemoveAt(index);
    if (width >= m_nWidest)
    {
        m_nWidest = 0;
        for (int i = 0; i < m_widths.GetSize(); ++i)
            m_nWidest = std::max(m_nWidest, m_widths.GetAt(i)->m_width);
    }
    SetHorizontalExtent(m_nWidest);
    return left;
}

BOOL CExtentListBox::SetTabStops(int count, const int* stops)
{
    if (!CListBox::SetTabStops(count, stops))
        return FALSE;
    KeepTabStops(count, stops);
    if (!m_bSuspended)
        RecalcExtents();
    return TRUE;
}

BOOL CExtentListBox::SetTabStops()
{
    const int stop = kDefaultTabStop;
    return SetTabStops(1, &stop);
}

void CExtentListBox::ResetContent()
{
    CListBox::ResetContent();
    m_widths.RemoveAll();
    m_nWidest = 0;
    SetHorizontalExtent(0);
}

void CExtentListBox::RecalcExtents()
{
    m_widths.RemoveAll();
    m_nWidest = 0;
    const int count = GetCount();
    if (count > 0)
        EnsureTabStops();
    for (int i = 0; i < count; ++i)
        MeasureItem(i, GetText(i));
    SetHorizontalExtent(m_nWidest);
}
