#pragma once
// Unit orders and the owning order set ("*.sop", the standing orders and the
// library of AI orders). Least form: orders that finish at once and a set
// that loads nothing.

#include "platform/core/CString.h"
#include "platform/core/Collections.h"

class CUnitOrder : public CObject
{
    DECLARE_SERIAL(CUnitOrder)
public:
    CUnitOrder();
    explicit CUnitOrder(DWORD dwType);

    DWORD GetType() const { return m_dwType; }

protected:
    DWORD m_dwType;
};

// The mount order issued when a selection boards a carrier after the deployment phase.
class CUOrdMount : public CUnitOrder
{
    DECLARE_SERIAL(CUOrdMount)
public:
    CUOrdMount();
};

class CUnitOrderArray : public TypedObArray<CUnitOrder>
{
    DECLARE_SERIAL(CUnitOrderArray)
public:
    int LoadSOP(const CString& strFile);  // nonzero on success

    CString m_strName;
};
