#include "units/SpotReport.h"

IMPLEMENT_SERIAL(CSpotReport, CObject, 1)

CSpotReport::CSpotReport() : m_nUnit(-99), m_nArray(-99), m_nSide(-99), m_nCode(-99), m_time(0) {}

CSpotReport::CSpotReport(const CSpotReport& other)
    : CObject(),
      m_nUnit(other.m_nUnit),
      m_nArray(other.m_nArray),
      m_nSide(other.m_nSide),
      m_strText(other.m_strText),
      m_nCode(other.m_nCode),
      m_time(other.m_time)
{
}

CSpotReport& CSpotReport::operator=(const CSpotReport& other)
{
    m_nUnit = other.m_nUnit;
    m_nArray = other.m_nArray;
    m_nSide = other.m_nSide;
    m_strText = other.m_strText;
    m_nCode = other.m_nCode;
    m_time = other.m_time;
    return *this;
}

void CSpotReport::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nUnit) << static_cast<WORD>(m_nArray) << static_cast<WORD>(m_nSide);
        ar << m_strText;
        ar << static_cast<WORD>(m_nCode);
        ar << m_time;
    }
    else
    {
        short unit = 0, array = 0, side = 0, code = 0;
        ar >> unit >> array >> side;
        ar >> m_strText;
        ar >> code;
        ar >> m_time;
        m_nUnit = unit;
        m_nArray = array;
        m_nSide = side;
        m_nCode = code;
    }
}
