#pragma once
// The shell's side of CFireSupportHost: the application's clock, sounds
// and session, and the active document's rounds in flight and splash
// effects. The application installs it while it lives.

class CFireSupportHost;

// The one shell host; it asks the current application object and its
// active document at each call, so it holds no state of its own.
CFireSupportHost* GetAppFireSupportHost();
