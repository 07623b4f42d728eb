// The light conditions file ("*.env", the same part as inside a scenario),
// read as the game reads it when a mission opens: by name from the data
// directory into the component the scenario made. Events, texts, the times
// of day and the wind; then the light state at a few times of day from the
// times read, and the part written back.

#include "FuzzSupport.h"
#include "app/GameClock.h"
#include "battlefield/KDREnvironment.h"
#include "mission/EventArray.h"

namespace
{
const char* const FILE_NAME = "Fuzz.env";

// A component that failed to load must be the one it was before.
bool IsUntouched(const CKDREnvironment& environment)
{
    CKDREnvironment fresh;
    return environment.m_strFileName == fresh.m_strFileName && environment.m_strNote == fresh.m_strNote &&
           environment.m_bNight == fresh.m_bNight && environment.m_nBMNTHour == fresh.m_nBMNTHour &&
           environment.m_nEENTMinute == fresh.m_nEENTMinute && environment.m_pEvents->GetSize() == 0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CString& dir = fuzz::Setup();
    fuzz::WriteInput(FILE_NAME, data, size);
    CKDREnvironment environment;
    try
    {
        if (!environment.LoadFromFile(FILE_NAME, dir))
            std::abort();  // the file is there: no dialog may be needed
    }
    catch (const CException&)
    {
        if (!IsUntouched(environment))
            std::abort();
        return 0;
    }

    CGameClock clock;
    clock.m_tStart = CTime(2002, 6, 14, 0, 0, 0);
    for (int nHour : {0, 5, 6, 12, 18, 19, 23})
    {
        clock.m_tsElapsed = CTimeSpan(0, nHour, 30, 0);
        environment.UpdateLightCondition(clock);
        const float fFactor = environment.GetLightFactor();
        if (fFactor != 1.0f && fFactor != 0.5f && fFactor != 0.1f)
            std::abort();
    }
    fuzz::WriteBack(environment);
    return 0;
}
