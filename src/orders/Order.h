#pragma once
// The written operations order ("*.ord") and its window. Least form: an
// order with a name and no text, which has no window to open.

#include "platform/core/CString.h"
#include "platform/core/Object.h"

class COrder : public CObject
{
    DECLARE_SERIAL(COrder)
public:
    COrder();
    ~COrder() override;

    int LoadFile(const CString& strFile);  // nonzero on success
    // Copies the two texts into the window and opens it (or refreshes it).
    virtual void ApplyToDialog();
    // Closes the order window when it is open.
    virtual void CloseOrderWindow();
    virtual BOOL IsWindowOpen() const { return FALSE; }
    // Whether the order has a window that can be shown (least form: no).
    virtual BOOL CanShowWindow() const { return FALSE; }

    CString m_strName;
};
