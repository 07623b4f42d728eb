#pragma once
// CSideFilesComponent: the scenario part shared by the document's per-side
// components (dug positions, obstacles). Each keeps one array per side
// (0 the local player's own, 1 the opposing, 2 neutral), named in the
// scenario by the file it is loaded from when the mission opens.
//
// The scenario part is the file pattern, then the file names of side 2,
// side 1 and side 0; the components add nothing to it.

#include "platform/core/Core.h"

class CSideFilesComponent : public CObject
{
    DECLARE_DYNAMIC(CSideFilesComponent)
public:
    ~CSideFilesComponent() override;

    void Serialize(CArchive& ar) override;

    CString m_strFilter;
    CString m_strSide2Name;
    CString m_strSide1Name;
    CString m_strSide0Name;

protected:
    explicit CSideFilesComponent(const char* pszFilter);
    // The file name of side 0, 1 or 2 (side 2's for any other value).
    CString& SideName(int nSide);
};
