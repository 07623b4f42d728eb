#include "view/GraphicArray.h"

IMPLEMENT_SERIAL(CGraphicArray, CObArray, 1)

CGraphicArray::CGraphicArray() : m_strFileName("*.gra") {}

CGraphicArray::~CGraphicArray() = default;

int CGraphicArray::Open(const CString& strFile)
{
    m_strFileName = strFile;
    return 1;
}

void CGraphicArray::DrawAll(CKDRGameMap*) {}
