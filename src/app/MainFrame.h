#pragma once
// The main window around the map view: the main menu with its accelerators,
// and the close that winds a mission up. It refuses to close while the game
// clock runs, because the game loop runs inside a command of the view that
// the close would destroy.
//
// The menu: File (Open..., Open Saved Game..., Restart Mission, Save
// Game..., Quit Mission); the map view's View, Edit, Actions, Orders and SOP
// menus; the Time menu (Start, Stop, Compression), Multiplayer (Chat Log,
// Pass Units, Surrender...) and Help (Vehicle Specs, About). The keys G, S,
// R, H and L reach their commands from the map and from the modeless
// windows; Escape ends whatever interaction is in progress on the map.
//
// The toolbar's buttons follow the map view's mode: path editing, fire
// mission planning, a pending order or standing order, or none of them
// (SetToolbarForMode). The status bar's first pane shows what lies under
// the cursor; the other three are the Caps, Num and Scroll Lock indicators.

#include "platform/ui/Command.h"
#include "platform/ui/Frame.h"

#include <memory>

class CScreenSaverInhibitor;

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
    // Makes the toolbar (in the normal mode) and the status bar; -1 when
    // either cannot be made. From then on the desktop's screen saver is
    // held off while the window is active.
    int OnCreate() override;
    void OnDestroy() override;
    // Maximised over the desktop's available area, with a minimise box and
    // no maximise box; the title shows the document's.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // The toolbar of a mode of the map view (CKDRView::kToolbar...);
    // FALSE, the buttons kept, when its images cannot be made.
    BOOL SetToolbarForMode(int nMode);
    // The mode of the buttons shown.
    int GetToolbarMode() const { return m_nToolbarMode; }
    CToolBar* GetToolBar() const { return m_pToolBar.get(); }
    CStatusBar* GetStatusBar() const { return m_pStatusBar.get(); }

    // The main menu and its accelerator keys.
    static CMenuDesc MainMenu();
    static std::vector<ACCEL> MainAccelerators();
    // The buttons of a mode's toolbar, separators included, and the
    // resource number of its images.
    static std::vector<UINT> ToolbarButtons(int nMode);
    static UINT ToolbarBitmap(int nMode);

private:
    std::unique_ptr<CToolBar> m_pToolBar;
    std::unique_ptr<CStatusBar> m_pStatusBar;
    std::unique_ptr<CScreenSaverInhibitor> m_pScreenSaver;
    int m_nToolbarMode = -1;
};
