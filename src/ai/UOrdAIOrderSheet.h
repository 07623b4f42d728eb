#pragma once
// The AI-order editor window, held by the document. Least form: a window
// object that is never created.

#include "platform/core/Types.h"

class CUOrdAIOrderSheet
{
public:
    virtual ~CUOrdAIOrderSheet() = default;

    BOOL IsCreated() const { return m_bCreated; }
    // The apply button that the application enables while a placement is complete.
    void EnableApplyButton(BOOL bEnable) { m_bApplyEnabled = bEnable; }
    BOOL IsApplyEnabled() const { return m_bApplyEnabled; }

    BOOL m_bCreated = FALSE;

private:
    BOOL m_bApplyEnabled = FALSE;
};
