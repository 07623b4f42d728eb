#include "units/CarriedUnit.h"

#include "orders/RecordIO.h"

IMPLEMENT_SERIAL(CCarriedUnit, CObject, 1)

void CCarriedUnit::Serialize(CArchive& ar)
{
    record::SerializeWord(ar, m_nUnit);
    record::SerializeWord(ar, m_nArray);
    record::SerializeWord(ar, m_nKind);
}
