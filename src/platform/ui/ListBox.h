#pragma once
// The list box and the combo box of a dialog, and the base that keeps the
// entries both of them hold.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

class QAbstractItemModel;

// What the list box and the combo box share: a column of entries, each a
// text with a number of data, found by text and chosen one at a time. A bad
// index, or a box with no window yet, answers LB_ERR (the same as CB_ERR).
// Nothing done through these calls notifies the parent: only the user's
// choices do. Each box supplies its widget's entries and how an entry goes
// in and how one is chosen.
class CListBoxBase : public CWnd
{
public:
    int AddString(const char* text);                // the index it got (sorted boxes sort it in)
    int InsertString(int index, const char* text);  // -1: at the end
    int DeleteString(int index);                    // count left, LB_ERR for a bad index
    void ResetContent();
    int GetCount() const;
    virtual int GetCurSel() const = 0;  // LB_ERR when none
    virtual int SetCurSel(int index) = 0;
    // First entry from after start (wrapping) beginning with / equal to the
    // text, ignoring case; LB_ERR when none. start -1 searches all.
    int FindString(int start, const char* prefix) const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);  // chooses what FindString finds
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;

protected:
    // sortStyle: the style bit that keeps the box sorted (LBS_SORT, CBS_SORT).
    explicit CListBoxBase(DWORD sortStyle) : m_dwSortStyle(sortStyle) {}
    // The entry's text and its length; an empty text and LB_ERR for a bad index.
    int GetItemText(int index, CString& text) const;
    CString GetItemText(int index) const;
    int GetItemTextLen(int index) const;

    // The widget's entries; null while there is no widget.
    virtual QAbstractItemModel* Items() const = 0;
    // Puts an entry in at index (0 to the count), leaving the choice and what
    // the user typed as they were. Called with a widget, its signals blocked.
    virtual void InsertItem(int index, const char* text) = 0;
    // Empties the widget. Called with a widget, its signals blocked.
    virtual void RemoveAllItems() = 0;

    DWORD m_dwStyle = 0;

private:
    DWORD m_dwSortStyle;
};

class CListBox : public CListBoxBase
{
public:
    CListBox() : CListBoxBase(LBS_SORT) {}
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int GetCurSel() const override;     // LB_ERR when none
    int SetCurSel(int index) override;  // -1 clears
    // The text and its length; LB_ERR for a bad index.
    int GetText(int index, CString& text) const { return GetItemText(index, text); }
    CString GetText(int index) const { return GetItemText(index); }
    int GetTextLen(int index) const { return GetItemTextLen(index); }
    // Tab stops in dialog units (a quarter of the average character width).
    BOOL SetTabStops(int count, const int* stops);
    BOOL SetTabStops(int stop) { return SetTabStops(1, &stop); }
    void SetHorizontalExtent(int pixels);
    int GetHorizontalExtent() const;
    int GetTopIndex() const;
    int SetTopIndex(int index);
    int GetSelCount() const;
    int GetSel(int index) const;
    int SetSel(int index, BOOL select = TRUE);
    DWORD GetStyle() const { return m_dwStyle; }
    // As the user would: a click selecting an entry, a double click.
    void ClickItem(int index);
    void DoubleClickItem(int index);
    void TakeOverFrom(CWnd& old) override;

protected:
    QAbstractItemModel* Items() const override;
    void InsertItem(int index, const char* text) override;
    void RemoveAllItems() override;
};

class CComboBox : public CListBoxBase
{
public:
    CComboBox() : CListBoxBase(CBS_SORT) {}
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void TakeOverFrom(CWnd& old) override;
    int GetCurSel() const override;
    int SetCurSel(int index) override;  // CB_ERR when it clears
    int GetLBText(int index, CString& text) const { return GetItemText(index, text); }
    CString GetLBText(int index) const { return GetItemText(index); }
    int GetLBTextLen(int index) const { return GetItemTextLen(index); }
    BOOL LimitText(int maxChars);
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    // Chooses an entry as the user would.
    void SelectItem(int index);

protected:
    QAbstractItemModel* Items() const override;
    void InsertItem(int index, const char* text) override;
    void RemoveAllItems() override;
};
