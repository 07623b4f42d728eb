#pragma once
// The written operations order ("*.ord") and its window. Least form: an
// order with a name and no text whose window never opens.

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
    void ApplyToDialog();
    // Closes the order window when it is open.
    void CloseOrderWindow();
    BOOL IsWindowOpen() const { return FALSE; }

    CString m_strName;
};
