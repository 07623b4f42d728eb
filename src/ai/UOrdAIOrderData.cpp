#include "ai/UOrdAIOrderData.h"

IMPLEMENT_SERIAL(CUOrdAIOrderData, CObject, 1)

CUOrdAIOrderData::CUOrdAIOrderData() : m_dwKind(0) {}

void CUOrdAIOrderData::Draw(CKDRGameMap*) {}
