#pragma once
// Buttons (push buttons, check boxes, radio buttons, group boxes) and
// static texts and pictures of a dialog.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

class CBitmap;
class CFont;

class CButton : public CWnd
{
public:
    BOOL Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    DWORD GetButtonStyle() const { return m_dwStyle; }
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    // Clicks the button as the user would (nothing when disabled).
    void Click();
    // Radio buttons of one group (set by the dialog when it builds them).
    void SetGroup(class QButtonGroup* group);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};

class CStatic : public CWnd
{
public:
    BOOL Create(const char* text, DWORD style, const CRect& rect, CWnd* parent, UINT id = IDC_STATIC);
    void SetWindowText(const char* text) override;
    CString GetWindowText() const override;
    DWORD GetStyle() const { return m_dwStyle; }
    // How a link shows itself: colour, underline, hand cursor.
    void SetTextColor(COLORREF color);
    void SetUnderline(BOOL underline);
    void SetHandCursor(BOOL hand);
    void SetFont(CFont* font);
    void SetBitmap(CBitmap* bitmap);
    // A click on a static with SS_NOTIFY. The base tells the parent (STN_CLICKED).
    virtual void OnClicked();
    // Clicks the control as the user would.
    void Click();
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};
