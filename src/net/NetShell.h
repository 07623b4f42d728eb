#pragma once
// Everything the multiplayer layer asks of the program around it, in one
// place: showing a message, showing one from a thread that is not the
// user-interface thread, and reading the profile's multiplayer settings.
// Nothing else under net/ reaches outside the simulation.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

// Shows a message box at once; call on the user-interface thread. A null
// caption is the application's name.
int NetShowMessage(const char* text, const char* caption, UINT type);
// Shows a message box on the user-interface thread from any thread.
void NetPostMessage(const char* text, const char* caption, UINT type);
// A profile value; the default when no application runs.
int NetProfileInt(const char* section, const char* entry, int defaultValue);
CString NetProfileString(const char* section, const char* entry, const char* defaultValue);
