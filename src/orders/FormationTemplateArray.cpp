#include "orders/FormationTemplateArray.h"

IMPLEMENT_SERIAL(CFormationTemplateArray, CObArray, 1)

int CFormationTemplateArray::LoadFile(const CString& strFile)
{
    m_strFileName = strFile;
    return 1;
}
