#pragma once
// A list box whose horizontal scroll extent follows its widest item, so that
// the box shows a horizontal scroll bar exactly when an item is wider than
// the box. Used by the spot report log, the hierarchy information page, the
// Select dialog and the multiplayer persona dialog.
//
// Items are measured in the control's own font, with tab expansion when the
// box has LBS_USETABSTOPS. Adding, inserting and deleting items and setting
// the tab stops go through this class (the base's functions are hidden,
// not virtual: hold the box as a CExtentListBox).

#include "platform/core/Collections.h"
#include "platform/core/Object.h"
#include "platform/core/Types.h"
#include "platform/ui/Dialog.h"

#include <vector>

// The measured width of one item, in pixels.
class CItemExtent : public CObject
{
public:
    explicit CItemExtent(int width = 0) : m_width(width) {}
    int m_width;
};

class CExtentListBox : public CListBox
{
public:
    CExtentListBox() = default;
    ~CExtentListBox() override;

    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    // Stops in dialog units; kept in pixels of the control's font.
    BOOL SetTabStops(int count, const int* stops);
    BOOL SetTabStops(int stop) { return SetTabStops(1, &stop); }
    BOOL SetTabStops();  // the list box's default: one stop of 2 dialog units
    // Emptying the box forgets every width too.
    void ResetContent();

    // Measures every item anew.
    void RecalcExtents();

    // While set, items are added and deleted without being measured; set
    // the tab stops or call RecalcExtents afterwards.
    void SetSuspended(BOOL suspended) { m_bSuspended = suspended; }
    BOOL IsSuspended() const { return m_bSuspended; }

    int GetWidestExtent() const { return m_nWidest; }
    const std::vector<int>& GetTabStopPixels() const { return m_tabStops; }
    int GetItemExtentCount() const { return m_widths.GetSize(); }

    // Width of a text in the control's font, tabs expanded to the kept stops.
    int MeasureText(const CString& text) const;

private:
    // Before the first item is measured the box gets the default stop.
    void EnsureTabStops();
    void KeepTabStops(int count, const int* stops);
    void MeasureItem(int index, const CString& text);
    int AverageCharWidth() const;

    BOOL m_bSuspended = FALSE;
    TypedObArray<CItemExtent> m_widths;  // one per item, in item order
    int m_nWidest = 0;
    std::vector<int> m_tabStops;  // pixels
};
