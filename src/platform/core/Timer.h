#pragma once
// The millisecond counter behind the game clock. It wraps at 32 bits like
// the system counter it replaces, so consumers subtract stamps as DWORDs.
// By default it follows a monotonic real clock; tests switch it to a hand-
// driven value so a run is deterministic.

#include "platform/core/Types.h"

DWORD timeGetTime();

void SetManualTime(DWORD milliseconds);      // switches to manual time at this value
void AdvanceManualTime(DWORD milliseconds);  // wraps; switches to manual time if needed
void UseRealTime();
BOOL IsManualTime();
