#include "battlefield/SideFilesComponent.h"

#include "battlefield/SideArrayComponent.h"
#include "platform/ui/App.h"
#include "platform/ui/UiService.h"

IMPLEMENT_DYNAMIC(CSideFilesComponent, CObject)

CSideFilesComponent::CSideFilesComponent(const char* pszFilter) : m_strFilter(pszFilter) {}

CSideFilesComponent::~CSideFilesComponent() = default;

void CSideFilesComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_strFilter;
        ar << m_strSide2Name;
        ar << m_strSide1Name;
        ar << m_strSide0Name;
    }
    else
    {
        ar >> m_strFilter;
        ar >> m_strSide2Name;
        ar >> m_strSide1Name;
        ar >> m_strSide0Name;
    }
}

CString& CSideFilesComponent::SideName(int nSide)
{
    switch (nSide)
    {
    case 0: return m_strSide0Name;
    case 1: return m_strSide1Name;
    default: return m_strSide2Name;
    }
}

void ReportUnreadableSideArray(const char* pszWhat, const CString& strName, const CException& e)
{
    CString text;
    text.Format("The %s, %s, could not be read.\n%s", pszWhat, strName.GetString(), e.GetErrorText().GetString());
    GetUiService().MessageBox(AfxGetMainWnd(), text, "Error", MB_OK | MB_ICONEXCLAMATION);
}
