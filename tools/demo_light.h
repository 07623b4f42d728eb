#pragma once
// The demo's light conditions ("Demo.env"): morning twilight from 05:00 and
// sunrise at 06:00, so the mission's 05:30 start opens in twilight and day
// breaks half an hour into the game; dusk at the usual 18:00 and 19:00. No
// wind, no events.

#include "battlefield/KDREnvironment.h"

namespace demo_light
{
inline const char* const ENVIRONMENT_FILE = "Demo.env";

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
    // The state of the 05:30 start, which the opening update sets again:
    // the freshly opened mission saves to the same bytes.
    pEnvironment->m_bNight = TRUE;
    pEnvironment->m_nTwilight = CKDREnvironment::kTwilightMark;
    return pEnvironment;
}
}  // namespace demo_light
