#pragma once
// How many events and posted messages the program has dispatched so far.
// Code that serves the window messages between two steps of its own work
// compares the count before and after: when it has not grown, nothing ran
// that could have changed what the work was looking at, and what it took
// beforehand still holds. Counts conservatively (every event to any
// object, paints and timers included).
unsigned long ServedEventCount();
