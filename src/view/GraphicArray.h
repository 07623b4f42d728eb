#pragma once
// The overlay drawings of one side of the operations order ("*.gra").
// Least form: an array without drawings; opening a file keeps its name and
// loads nothing.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

class CKDRGameMap;

class CGraphicArray : public CObArray
{
    DECLARE_SERIAL(CGraphicArray)
public:
    CGraphicArray();
    ~CGraphicArray() override;

    // Nonzero on success; keeps the file name.
    int Open(const CString& strFile);
    // Draws every drawing on the lent back-surface context (none in the
    // least form).
    void DrawAll(CKDRGameMap* pMap);

    CString m_strFileName;
};
