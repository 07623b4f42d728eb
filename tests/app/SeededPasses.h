#pragma once
// The clock started on a document as Time/Start starts it, and passes of the
// game loop (CGamePass) run on it without a window, under the hand-driven
// millisecond counter and with the random numbers seeded, then the clock
// stopped again; so a battle on the demo runs the same every time.

#include "app/GameClock.h"
#include "app/GamePass.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "platform/core/Random.h"
#include "platform/core/Timer.h"

#include <gtest/gtest.h>

// nPasses passes of dwPassMs real milliseconds each at compression fRate.
inline void RunSeededPasses(CKDRApp& app, CKDRDoc& doc, unsigned seed, float fRate, int nPasses, DWORD dwPassMs)
{
    SRand(seed);
    SetManualTime(1000000);
    app.GetGameClock()->SetRate(fRate);
    DWORD dwTick = app.StartClock();
    doc.PrepareRun(dwTick);
    CGamePass pass(doc, app);
    int nRemainder = 0;
    int nCountdown = 0;
    BOOL bMissionOver = FALSE;
    for (int i = 0; i < nPasses; ++i)
    {
        AdvanceManualTime(dwPassMs);
        ASSERT_TRUE(pass.Run(dwTick, nRemainder, nCountdown, bMissionOver)) << "pass " << i;
    }
    app.StopClock();
    UseRealTime();
}
