#include "battlefield/Breach.h"

#include "platform/core/Archive.h"

IMPLEMENT_SERIAL(CBreach, CObject, 1)
IMPLEMENT_SERIAL(CBreachArray, CObArray, 1)

CBreach::CBreach(float x1, float y1, float x2, float y2, float width, float direction, BOOL flag)
    : m_fX1(x1), m_fX2(x2), m_fY1(y1), m_fY2(y2), m_fWidth(width), m_fDirection(direction), m_bFlag(flag)
{
}

void CBreach::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << m_fX1 << m_fY1 << m_fX2 << m_fY2 << m_fWidth << m_fDirection;
        ar << static_cast<WORD>(m_bFlag ? 1 : 0);
    }
    else
    {
        WORD flag = 0;
        ar >> m_fX1 >> m_fY1 >> m_fX2 >> m_fY2 >> m_fWidth >> m_fDirection;
        ar >> flag;
        m_bFlag = flag == 1 ? TRUE : FALSE;
    }
}

int CBreachArray::FindBreachAt(float, float) const
{
    // Lanes are not cut during play yet, so no point lies in one.
    return kUnset;
}

void CBreachArray::Draw(CDC*, const CKDRGameMap*) const
{
    // Nothing to draw until lanes are cut during play.
}
