#pragma once
// The main window around the map view: the main menu with its accelerators,
// and the close that winds a mission up. It refuses to close while the game
// clock runs, because the game loop runs inside a command of the view that
// the close would destroy.
//
// Least form of the menu: File/Save Game... and Quit Mission, the Time menu (Start, Stop,
// Compression) and Help (Vehicle Specs, About); no toolbar or status bar
// yet.

#include "platform/ui/Frame.h"

class CMainFrame : public CFrameWnd
{
public:
    CMainFrame();
    ~CMainFrame() override;

    // Registers the main menu and accelerators under the resource id (first
    // time only), then builds the frame from them.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, CWnd* parent = nullptr,
                   CCreateContext* context = nullptr) override;
    void OnClose() override;

    // The main menu and its accelerator keys.
    static CMenuDesc MainMenu();
    static std::vector<ACCEL> MainAccelerators();
};
