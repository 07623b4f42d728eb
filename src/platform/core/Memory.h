#pragma once
// The heap's free memory handed back to the system.
//
// The allocator keeps what the program frees for its own reuse. After a
// mission closes that is tens of megabytes (the map's surfaces, the units,
// the paths), which the process would otherwise hold until it ends, while
// the player sits at the start menu. Costs a walk of the heap's free lists:
// call it where a large structure has just gone, not in a loop.
void ReleaseFreeMemory();
