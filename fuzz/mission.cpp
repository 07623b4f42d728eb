// The mission file ("*.msn"): variant lists, events with their conditions,
// texts, flags and pairs. What was read is also put to work: the end test,
// the objective and results lines of every condition read, and a variant
// drawn for each side.

#include "mission/EventArray.h"
#include "mission/Mission.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMission mission;
    bool loaded = false;
    fuzz::ReadArchive(data, size,
                      [&](CArchive& ar)
                      {
                          mission.Serialize(ar);
                          loaded = true;
                      });
    if (!loaded)
        return 0;
    const int anValues[6] = {0, 0, 0, 0, 0, 0};
    int bVictory = 0;
    mission.EvaluateEvents(bVictory, nullptr, anValues, CTimeSpan(3600));
    CString text;
    mission.m_pEvents->GetObjectiveText(text, CTime(2002, 6, 14, 5, 30, 0));
    mission.m_pEvents->GetResultsText(text, nullptr, anValues, CTime(2002, 6, 14, 5, 30, 0), CTimeSpan(3600));
    for (int nSide = 1; nSide <= 2; ++nSide)
    {
        CString units, holes, obstacles, hierarchy;
        mission.PickRandomVariant(nSide, units, holes, obstacles, hierarchy);
    }
    fuzz::WriteBack(mission);
    return 0;
}
