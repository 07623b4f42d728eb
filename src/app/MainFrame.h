#pragma once
// The main window around the map view. Least form until the frame and its
// commands are built: a plain frame without menu, toolbar or status bar.

#include "platform/Frame.h"

class CMainFrame : public CFrameWnd
{
public:
    CMainFrame();
    ~CMainFrame() override;
};
