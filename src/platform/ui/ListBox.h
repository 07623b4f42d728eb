#pragma once
// The list box and the combo box of a dialog.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

class CListBox : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int AddString(const char* text);                // the index it got (sorted lists sort it in)
    int InsertString(int index, const char* text);  // -1: at the end
    int DeleteString(int index);                    // count left, LB_ERR for a bad index
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;                        // LB_ERR when none
    int SetCurSel(int index);                     // -1 clears
    int GetText(int index, CString& text) const;  // length, LB_ERR for a bad index
    CString GetText(int index) const;
    int GetTextLen(int index) const;
    // First entry from after start (wrapping) beginning with / equal to the
    // text, ignoring case; LB_ERR when none. start -1 searches all.
    int FindString(int start, const char* prefix) const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
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
    DWORD m_dwStyle = 0;
};

class CComboBox : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBText(int index, CString& text) const;
    CString GetLBText(int index) const;
    int GetLBTextLen(int index) const;
    int FindString(int start, const char* prefix) const;
    int FindStringExact(int start, const char* text) const;
    int SelectString(int start, const char* prefix);
    int SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    BOOL LimitText(int maxChars);
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    // Chooses an entry as the user would.
    void SelectItem(int index);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};
