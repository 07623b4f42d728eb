#include "orders/UnitOrderArray.h"

IMPLEMENT_SERIAL(CUnitOrder, CObject, 1)
IMPLEMENT_SERIAL(CUOrdMount, CUnitOrder, 1)
IMPLEMENT_SERIAL(CUnitOrderArray, CObArray, 1)

CUnitOrder::CUnitOrder() : m_dwType(0) {}
CUnitOrder::CUnitOrder(DWORD dwType) : m_dwType(dwType) {}

CUOrdMount::CUOrdMount() = default;

int CUnitOrderArray::LoadSOP(const CString& strFile)
{
    m_strName = strFile;
    return 1;
}
