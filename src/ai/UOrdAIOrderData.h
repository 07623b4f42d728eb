#pragma once
// One named, typed parameter of an AI order (an objective, a route, a
// position ...). The data items draw themselves through the application's
// DrawAIOrderGraphic and set its AI-order placement state while the player
// places them on the map. Least form: a named item of a kind that draws
// nothing.

#include "platform/core/CString.h"
#include "platform/core/Object.h"

class CKDRGameMap;

class CUOrdAIOrderData : public CObject
{
    DECLARE_SERIAL(CUOrdAIOrderData)
public:
    CUOrdAIOrderData();

    virtual void Draw(CKDRGameMap* pMap);

    CString m_strName;
    DWORD m_dwKind;  // kind bit 1 .. 16384
};
