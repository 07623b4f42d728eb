#include "battlefield/KDREnvironment.h"

#include "mission/EventArray.h"

IMPLEMENT_SERIAL(CKDREnvironment, CObject, 1)

CKDREnvironment::CKDREnvironment() : m_pEvents(new CEventArray) {}

CKDREnvironment::~CKDREnvironment() { delete m_pEvents; }

namespace
{
void ReadSigned(CArchive& ar, int& value)
{
    short word = 0;
    ar >> word;
    value = word;
}

void ReadFlag(CArchive& ar, BOOL& flag)
{
    WORD word = 0;
    ar >> word;
    if (word != 0)
        flag = TRUE;
}
}  // namespace

void CKDREnvironment::Serialize(CArchive& ar)
{
    m_pEvents->Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strFileName;
        ar << m_strNote;
        ar << static_cast<WORD>(m_bNight ? 1 : 0);
        ar << static_cast<WORD>(m_nSetting1);
        ar << static_cast<WORD>(m_nSetting2);
        ar << m_fWindSpeed;
        ar << m_fWindDirection;
        ar << static_cast<WORD>(m_bFlag ? 1 : 0);
        ar << static_cast<WORD>(m_nTwilight);
        ar << static_cast<WORD>(m_nBMNTHour);
        ar << static_cast<WORD>(m_nSunriseHour);
        ar << static_cast<WORD>(m_nSunsetHour);
        ar << static_cast<WORD>(m_nEENTHour);
        ar << static_cast<WORD>(m_nBMNTMinute);
        ar << static_cast<WORD>(m_nSunriseMinute);
        ar << static_cast<WORD>(m_nSunsetMinute);
        ar << static_cast<WORD>(m_nEENTMinute);
    }
    else
    {
        ar >> m_strFileName;
        ar >> m_strNote;
        ReadFlag(ar, m_bNight);
        ReadSigned(ar, m_nSetting1);
        ReadSigned(ar, m_nSetting2);
        ar >> m_fWindSpeed;
        ar >> m_fWindDirection;
        ReadFlag(ar, m_bFlag);
        ReadSigned(ar, m_nTwilight);
        ReadSigned(ar, m_nBMNTHour);
        ReadSigned(ar, m_nSunriseHour);
        ReadSigned(ar, m_nSunsetHour);
        ReadSigned(ar, m_nEENTHour);
        ReadSigned(ar, m_nBMNTMinute);
        ReadSigned(ar, m_nSunriseMinute);
        ReadSigned(ar, m_nSunsetMinute);
        ReadSigned(ar, m_nEENTMinute);
    }
}

BOOL CKDREnvironment::LoadFromFile(CString /*strName*/) { return TRUE; }

BOOL CKDREnvironment::UpdateLightCondition() { return TRUE; }

float CKDREnvironment::GetLightFactor() const
{
    // Twilight is marked by the value 200; any other night value is night.
    constexpr int TWILIGHT_MARK = 200;
    if (!m_bNight)
        return 1.0f;
    return m_nTwilight == TWILIGHT_MARK ? 0.5f : 0.1f;
}
