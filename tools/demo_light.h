#pragma once
// The demo's light conditions ("Demo.env"): morning twilight from 05:00 and
// sunrise at 06:00, so the mission's 05:30 start opens in twilight and day
// breaks half an hour into the game; dusk at the usual 18:00 and 19:00. A
// breeze toward east-north-east carries smoke 2 m a game second. No events.

#include "battlefield/KDREnvironment.h"

namespace demo_light
{
inline const char* const ENVIRONMENT_FILE = "Demo.env";
// The breeze: speed 20 (a cloud drifts speed x 0.1 m a second) toward
// east-north-east, 67.5 degrees clockwise from north.
constexpr float WIND_SPEED = 20.0f;
constexpr float WIND_DIRECTION = 1.1780972f;

// A new component with the demo's times, naming its own file; the scenario
// holds it as its light part and the game then reads the file it names.
inline CKDREnvironment* BuildEnvironment()
{
    auto* pEnvironment = new CKDREnvironment;
    pEnvironment->m_strFileName = ENVIRONMENT_FILE;
    pEnvironment->m_nBMNTHour = 5;
    pEnvironment->m_nBMNTMinute = 0;
    pEnvironment->m_nSunriseHour = 6;
    pEnvironment->m_nSunriseMinute = 0;
    pEnvironment->m_fWindSpeed = WIND_SPEED;
    pEnvironment->m_fWindDirection = WIND_DIRECTION;
    // The state of the 05:30 start, which the opening update sets again:
    // the freshly opened mission saves to the same bytes.
    pEnvironment->m_bNight = TRUE;
    pEnvironment->m_nTwilight = CKDREnvironment::kTwilightMark;
    return pEnvironment;
}
}  // namespace demo_light
