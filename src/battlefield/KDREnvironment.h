#pragma once
// CKDREnvironment: the document's light-condition component: the four
// times of day that divide night, twilight and day, the wind that drifts
// smoke, a few values stored for the scenario, and an event list carried
// with them.
//
// Its archive part is the same in its own "*.env" file, in a scenario and
// in a saved game: the event list first, then the two texts, then the
// words and floats, the four hours before the four minutes.
//
// The light state is the pair (m_bNight, m_nTwilight): day (0, 0), either
// twilight (1, 200), night (1, 0). It is derived from the game clock's
// time of day on every pass of the game loop; until the first update the
// stored (or default, daylight) state stands. A day runs from 00:00 to
// 23:59 with no wrap past midnight, and seconds do not count. Times out of
// their natural order are not refused: the tests run from BMNT to EENT and
// the first one the time has not reached decides, so a sunset later than
// EENT goes from day straight to night.
//
// A part that fails to read (short, corrupt, a foreign class in the event
// list) raises the archive exception and leaves the component as it was.

#include "platform/core/Core.h"

class CEventArray;
class CGameTime;

class CKDREnvironment : public CObject
{
    DECLARE_SERIAL(CKDREnvironment)
public:
    // Twilight's marker in m_nTwilight.
    static constexpr int kTwilightMark = 200;

    CKDREnvironment();
    ~CKDREnvironment() override;
    CKDREnvironment(const CKDREnvironment&) = delete;
    CKDREnvironment& operator=(const CKDREnvironment&) = delete;

    // Reading widens each signed word with its sign; a non-zero flag word
    // sets its flag and a zero one leaves it as it was.
    void Serialize(CArchive& ar) override;

    // Reads the component from a file in the data directory. While the file
    // does not open, an open-file dialog offers another; Cancel answers
    // FALSE and changes nothing. The name opened becomes m_strFileName,
    // whatever name the file itself holds: without its folder when the file
    // lies in the data directory, as a scenario names it. A malformed file
    // raises the archive exception and changes nothing.
    BOOL LoadFromFile(CString strName, const CString& strDataDir);

    // Sets the light state from the clock's time of day and stores its
    // label ("NIGHT", "BMNT", "" by day, "EENT") as the Clock window's
    // light text, which the window shows the next time it is painted.
    // Called once per pass of the game loop, before the simulation step,
    // and when a mission opens.
    virtual BOOL UpdateLightCondition(CGameTime& clock);

    // The detection pass's visibility factor: 1.0 by day, 0.5 in either
    // twilight, 0.1 at night.
    float GetLightFactor() const;

    CString m_strFileName;
    CString m_strNote;
    BOOL m_bNight = FALSE;
    int m_nSetting1 = 70;
    int m_nSetting2 = 50;
    float m_fWindSpeed = 0.0f;      // a smoke cloud drifts speed x 0.1 m per game second
    float m_fWindDirection = 0.0f;  // radians, 0 toward north
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

private:
    // Exchanges every field with another component: a load reads into a
    // fresh one and takes it over only when the whole part was read.
    void Swap(CKDREnvironment& other);
};
