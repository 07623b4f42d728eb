#pragma once
// CKDREnvironment: the document's light-condition component: the four
// times of day that divide night, twilight and day, the wind that drifts
// smoke, a few values stored for the scenario, and an event list carried
// with them.
//
// Its archive part is the same in its own "*.env" file, in a scenario and
// in a saved game: the event list first, then the two texts, then the
// words and floats. The light state is not derived here yet: LoadFromFile
// keeps the stored values and reads no file, and UpdateLightCondition
// changes nothing.

#include "platform/core/Core.h"

class CEventArray;

class CKDREnvironment : public CObject
{
    DECLARE_SERIAL(CKDREnvironment)
public:
    CKDREnvironment();
    ~CKDREnvironment() override;
    CKDREnvironment(const CKDREnvironment&) = delete;
    CKDREnvironment& operator=(const CKDREnvironment&) = delete;

    // Reading widens each signed word with its sign; a non-zero flag word
    // sets its flag and a zero one leaves it as it was.
    void Serialize(CArchive& ar) override;

    BOOL LoadFromFile(CString strName);
    // Called once per pass of the game loop, before the simulation step.
    virtual BOOL UpdateLightCondition();
    // The detection pass's visibility factor: 1.0 by day, 0.5 in either
    // twilight, 0.1 at night.
    float GetLightFactor() const;

    CString m_strFileName;
    CString m_strNote;
    BOOL m_bNight = FALSE;
    int m_nSetting1 = 70;
    int m_nSetting2 = 50;
    float m_fWindSpeed = 0.0f;
    float m_fWindDirection = 0.0f;
    BOOL m_bFlag = FALSE;
    int m_nTwilight = 0;
    int m_nBMNTHour = 6;
    int m_nBMNTMinute = 0;
    int m_nSunriseHour = 7;
    int m_nSunriseMinute = 0;
    int m_nSunsetHour = 18;
    int m_nSunsetMinute = 0;
    int m_nEENTHour = 19;
    int m_nEENTMinute = 0;
    CEventArray* m_pEvents;
};
