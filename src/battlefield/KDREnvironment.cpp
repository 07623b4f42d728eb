#include "battlefield/KDREnvironment.h"

#include "mission/EventArray.h"
#include "mission/GameTime.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"

#include <utility>

IMPLEMENT_SERIAL(CKDREnvironment, CObject, 1)

namespace
{
constexpr int MINUTES_PER_HOUR = 60;
constexpr UINT ENV_READ_BUFFER = 4096;

const char* const LABEL_NIGHT = "NIGHT";
const char* const LABEL_MORNING_TWILIGHT = "BMNT";
const char* const LABEL_DAY = "";
const char* const LABEL_EVENING_TWILIGHT = "EENT";

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

// The name a scenario keeps for a chosen file: bare when it lies in the
// data directory (the current one while loading), else its full path, so
// that the next open finds it too.
CString NameToKeep(const CFileDialog& dialog)
{
    CString strFolder;
    SplitPath(ResolvePath(dialog.GetPathName()), &strFolder, nullptr, nullptr);
    if (ResolvePath(strFolder) == ResolvePath(GetCurrentDir()))
        return dialog.GetFileName();
    return dialog.GetPathName();
}
}  // namespace

CKDREnvironment::CKDREnvironment() : m_pEvents(new CEventArray) {}

CKDREnvironment::~CKDREnvironment() { delete m_pEvents; }

void CKDREnvironment::Swap(CKDREnvironment& other)
{
    std::swap(m_strFileName, other.m_strFileName);
    std::swap(m_strNote, other.m_strNote);
    std::swap(m_bNight, other.m_bNight);
    std::swap(m_nSetting1, other.m_nSetting1);
    std::swap(m_nSetting2, other.m_nSetting2);
    std::swap(m_fWindSpeed, other.m_fWindSpeed);
    std::swap(m_fWindDirection, other.m_fWindDirection);
    std::swap(m_bFlag, other.m_bFlag);
    std::swap(m_nTwilight, other.m_nTwilight);
    std::swap(m_nBMNTHour, other.m_nBMNTHour);
    std::swap(m_nBMNTMinute, other.m_nBMNTMinute);
    std::swap(m_nSunriseHour, other.m_nSunriseHour);
    std::swap(m_nSunriseMinute, other.m_nSunriseMinute);
    std::swap(m_nSunsetHour, other.m_nSunsetHour);
    std::swap(m_nSunsetMinute, other.m_nSunsetMinute);
    std::swap(m_nEENTHour, other.m_nEENTHour);
    std::swap(m_nEENTMinute, other.m_nEENTMinute);
    std::swap(m_pEvents, other.m_pEvents);
}

void CKDREnvironment::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        m_pEvents->Serialize(ar);
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
        // A zero flag word keeps the flag, so the read starts from ours.
        CKDREnvironment read;
        read.m_bNight = m_bNight;
        read.m_bFlag = m_bFlag;
        read.m_pEvents->Serialize(ar);
        ar >> read.m_strFileName;
        ar >> read.m_strNote;
        ReadFlag(ar, read.m_bNight);
        ReadSigned(ar, read.m_nSetting1);
        ReadSigned(ar, read.m_nSetting2);
        ar >> read.m_fWindSpeed;
        ar >> read.m_fWindDirection;
        ReadFlag(ar, read.m_bFlag);
        ReadSigned(ar, read.m_nTwilight);
        ReadSigned(ar, read.m_nBMNTHour);
        ReadSigned(ar, read.m_nSunriseHour);
        ReadSigned(ar, read.m_nSunsetHour);
        ReadSigned(ar, read.m_nEENTHour);
        ReadSigned(ar, read.m_nBMNTMinute);
        ReadSigned(ar, read.m_nSunriseMinute);
        ReadSigned(ar, read.m_nSunsetMinute);
        ReadSigned(ar, read.m_nEENTMinute);
        Swap(read);
    }
}

BOOL CKDREnvironment::LoadFromFile(CString strName, const CString& strDataDir)
{
    SetCurrentDir(strDataDir);
    CFile file;
    while (!file.Open(strName, CFile::modeRead | CFile::typeBinary))
    {
        // Cancel always ends the load: the user is never held in the dialog
        // by a name that will not open.
        SetCurrentDir(strDataDir);
        CFileDialog dialog(TRUE, "env", "*.env", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        dialog.SetMissingFile(strName);
        if (dialog.DoModal() != IDOK)
            return FALSE;
        strName = NameToKeep(dialog);
    }
    try
    {
        CArchive ar(&file, CArchive::load, ENV_READ_BUFFER);
        Serialize(ar);
        ar.Close();
    }
    catch (...)
    {
        file.Abort();
        throw;
    }
    file.Close();
    m_strFileName = strName;
    return TRUE;
}

BOOL CKDREnvironment::UpdateLightCondition(CGameTime& clock)
{
    int nHour = 0;
    int nMinute = 0;
    int nSecond = 0;
    clock.GetTimeOfDay(nHour, nMinute, nSecond);
    const int nNow = nHour * MINUTES_PER_HOUR + nMinute;

    const char* pszLabel = LABEL_NIGHT;
    if (nNow < m_nBMNTHour * MINUTES_PER_HOUR + m_nBMNTMinute)
    {
        m_bNight = TRUE;
        m_nTwilight = 0;
        pszLabel = LABEL_NIGHT;
    }
    else if (nNow < m_nSunriseHour * MINUTES_PER_HOUR + m_nSunriseMinute)
    {
        m_bNight = TRUE;
        m_nTwilight = kTwilightMark;
        pszLabel = LABEL_MORNING_TWILIGHT;
    }
    else if (nNow < m_nSunsetHour * MINUTES_PER_HOUR + m_nSunsetMinute)
    {
        m_bNight = FALSE;
        m_nTwilight = 0;
        pszLabel = LABEL_DAY;
    }
    else if (nNow < m_nEENTHour * MINUTES_PER_HOUR + m_nEENTMinute)
    {
        m_bNight = TRUE;
        m_nTwilight = kTwilightMark;
        pszLabel = LABEL_EVENING_TWILIGHT;
    }
    else
    {
        m_bNight = TRUE;
        m_nTwilight = 0;
        pszLabel = LABEL_NIGHT;
    }

    clock.ShowLightText(pszLabel);
    return TRUE;
}

float CKDREnvironment::GetLightFactor() const
{
    if (!m_bNight)
        return 1.0f;
    return m_nTwilight == kTwilightMark ? 0.5f : 0.1f;
}
