#pragma once
// CFireMissionLogWindow: what the units component asks of its modeless
// fire-mission log window. The window itself belongs to the shell, which
// makes it through the report service; without one (a headless run) the
// units keep a plain stand-in that holds the lines and the side shown, so
// the log's contents can still be asked for.

#include "battlefield/FireMission.h"
#include "platform/core/Collections.h"

#include <vector>

class CFireMissionLogWindow
{
public:
    virtual ~CFireMissionLogWindow() = default;

    // Opens the window (once; an open window stays as it is).
    virtual BOOL Open() = 0;
    // Destroys the window when it is open.
    virtual void CloseWindow() = 0;
    virtual BOOL IsOpen() const = 0;
    // Replaces the lines and their position records for the side, and
    // shows them while the window is open.
    virtual void FillList(int nSide, const CStringList& lines, const std::vector<SFireLogRecord>& records) = 0;
    virtual int GetSide() const = 0;
    virtual const CStringList& GetLines() const = 0;
};

// A new window from the report service, or the stand-in when the service
// shows none; the caller owns it.
CFireMissionLogWindow* NewFireMissionLogWindow();
