#pragma once
// The edit control of a dialog: one line, or several with ES_MULTILINE.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Wnd.h"

#include <string>

class CEdit : public CWnd
{
public:
    BOOL Create(DWORD style, const CRect& rect, CWnd* parent, UINT id);
    void SetWindowText(const char* text) override;  // "\r\n" line breaks
    CString GetWindowText() const override;
    // The text as typed, in UTF-8: a character the code page lacks is kept
    // (GetWindowText has '?' for it), so a caller can refuse it by name.
    std::string GetTextUtf8() const;
    void LimitText(int maxChars = 0);  // 0: no limit
    void SetLimitText(int maxChars) { LimitText(maxChars); }
    int GetLimitText() const;
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    BOOL IsReadOnly() const;
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    int GetLineCount() const;
    void LineScroll(int lines, int chars = 0);
    DWORD GetStyle() const { return m_dwStyle; }
    // Types text at the caret as the user would (limits and number-only apply).
    void TypeText(const char* text);
    void TakeOverFrom(CWnd& old) override;

protected:
    DWORD m_dwStyle = 0;
};
