#include "ArchiveTestSupport.h"

IMPLEMENT_SERIAL(CTestAlpha, CObject, 1)
IMPLEMENT_SERIAL(CTestBeta, CObject, 1)
IMPLEMENT_SERIAL(CTestAlphaChild, CTestAlpha, 1)
IMPLEMENT_SERIAL(CTestEmpty, CObject, 1)
IMPLEMENT_SERIAL(CTestCounted, CObject, 1)
IMPLEMENT_SERIAL(CTestAlphaArray, CObArray, 1)

int CTestCounted::s_live = 0;
int CTestCounted::s_made = 0;

void CTestAlpha::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_value << m_name;
    else
        ar >> m_value >> m_name;
}

void CTestBeta::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_x;
    else
        ar >> m_x;
}

void CTestCounted::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
}
