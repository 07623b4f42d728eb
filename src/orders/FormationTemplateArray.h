#pragma once
// The formation templates of a mission ("*.frm"). Least form: no templates;
// loading a file succeeds with nothing loaded.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

class CFormationTemplateArray : public CObArray
{
    DECLARE_SERIAL(CFormationTemplateArray)
public:
    int LoadFile(const CString& strFile);  // nonzero on success

    CString m_strFileName;
};
