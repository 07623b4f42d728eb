#include "battlefield/SideFilesComponent.h"

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
