#include "orders/Order.h"

IMPLEMENT_SERIAL(COrder, CObject, 1)

COrder::COrder() = default;
COrder::~COrder() = default;

int COrder::LoadFile(const CString& strFile)
{
    m_strName = strFile;
    return 1;
}

void COrder::ApplyToDialog() {}
void COrder::CloseOrderWindow() {}
